#include "PlanExport.h"

#include "plan/PlanFacts.h"
#include "platform/CsvText.h"

#include <QCryptographicHash>
#include <QDir>
#include <QRegularExpression>
#include <QSaveFile>
#include <QTimeZone>

#include <libical/ical.h>

#include <algorithm>

namespace PlanExport
{
namespace
{

// A wall-clock time of the night (kept in a UTC QDateTime only so that adding seconds never
// meets a daylight-saving change) as a calendar time: in `zone`, or converted from the
// computer's local time to UTC when the zone is unknown to the calendar library.
icaltimetype calendarTime(const QDateTime& wall, icaltimezone* zone)
{
    if (!zone) {
        const QDateTime utc = QDateTime(wall.date(), wall.time(), Qt::LocalTime).toUTC();
        return icaltime_from_timet_with_zone(utc.toSecsSinceEpoch(), 0,
                                             icaltimezone_get_utc_timezone());
    }
    icaltimetype t = icaltime_null_time();
    t.year = wall.date().year();
    t.month = wall.date().month();
    t.day = wall.date().day();
    t.hour = wall.time().hour();
    t.minute = wall.time().minute();
    t.second = wall.time().second();
    return t; // its zone is named by the property's TZID
}

// The computer's time zone as the calendar library knows it from the system's zone data;
// null for UTC and for a zone it does not know, whose times are then written in UTC.
icaltimezone* systemZone()
{
    const QByteArray id = QTimeZone::systemTimeZoneId();
    icaltimezone* zone = id.isEmpty() ? nullptr : icaltimezone_get_builtin_timezone(id.constData());
    return zone && zone != icaltimezone_get_utc_timezone() && icaltimezone_get_component(zone)
               ? zone
               : nullptr;
}

// A VTIMEZONE for UTC itself: the one component a calendar without any event can hold when
// the computer's zone is unknown.
icalcomponent* utcZoneComponent()
{
    icalcomponent* standard = icalcomponent_new(ICAL_XSTANDARD_COMPONENT);
    icaltimetype epoch = icaltime_null_time();
    epoch.year = 1970;
    epoch.month = epoch.day = 1;
    icalcomponent_add_property(standard, icalproperty_new_dtstart(epoch));
    icalcomponent_add_property(standard, icalproperty_new_tzoffsetfrom(0));
    icalcomponent_add_property(standard, icalproperty_new_tzoffsetto(0));
    icalcomponent* zone = icalcomponent_new(ICAL_VTIMEZONE_COMPONENT);
    icalcomponent_add_property(zone, icalproperty_new_tzid("UTC"));
    icalcomponent_add_component(zone, standard);
    return zone;
}

struct CalendarEvent {
    QString uid, summary, location, description;
    QDateTime start, end; // wall clock
};

icalcomponent* eventComponent(const CalendarEvent& e, icaltimetype stamp, icaltimezone* zone)
{
    icalcomponent* c = icalcomponent_new(ICAL_VEVENT_COMPONENT);
    icalcomponent_set_uid(c, e.uid.toUtf8().constData());
    icalcomponent_set_dtstamp(c, stamp);
    // Times in the zone carry its plain name ("Europe/Berlin") as TZID, which calendar
    // programs also map to their own zones.
    for (auto [property, wall] : {std::pair{&icalproperty_new_dtstart, e.start},
                                  std::pair{&icalproperty_new_dtend, e.end}}) {
        icalproperty* p = property(calendarTime(wall, zone));
        if (zone)
            icalproperty_add_parameter(p, icalparameter_new_tzid(icaltimezone_get_location(zone)));
        icalcomponent_add_property(c, p);
    }
    icalcomponent_set_summary(c, e.summary.toUtf8().constData());
    if (!e.location.trimmed().isEmpty())
        icalcomponent_set_location(c, e.location.trimmed().toUtf8().constData());
    if (!e.description.isEmpty())
        icalcomponent_set_description(c, e.description.toUtf8().constData());
    return c;
}

bool save(const QString& file, const QByteArray& bytes, QString* error)
{
    QSaveFile out(file);
    if (out.open(QIODevice::WriteOnly) && out.write(bytes) == bytes.size() && out.commit())
        return true;
    *error = QStringLiteral("%1: cannot be written: %2").arg(file, out.errorString());
    return false;
}

} // namespace

QList<RecordedName> recordedNames(const EventPlan& plan);

namespace
{
bool writeNames(const EventPlan& plan, const QDir& dir, QString* error)
{
    const QList<RecordedName> names = recordedNames(plan);
    const QDir folder(dir.filePath(QStringLiteral("names")));
    if (names.isEmpty() && !folder.exists())
        return true;
    if (!QDir().mkpath(folder.path())) {
        *error = QStringLiteral("%1: the folder cannot be made").arg(folder.path());
        return false;
    }
    QStringList written;
    for (const RecordedName& n : names) {
        if (!save(folder.filePath(n.FileName), n.Recording, error))
            return false;
        written << n.FileName;
    }
    // A file an earlier export wrote for a name no longer recorded (or now numbered
    // otherwise) goes; anything else in the folder is not the export's and stays.
    static const QRegularExpression exported(
        QStringLiteral("^[0-9]{2,} .+\\.%1$").arg(QLatin1String(NameVoice::kFileSuffix)));
    for (const QString& name : folder.entryList(QDir::Files))
        if (exported.match(name).hasMatch() && !written.contains(name) &&
            !QFile::remove(folder.filePath(name))) {
            *error = QStringLiteral("%1: cannot be removed").arg(folder.filePath(name));
            return false;
        }
    if (names.isEmpty())
        dir.rmdir(QStringLiteral("names")); // only when nothing else is in it
    return true;
}
} // namespace

QByteArray csv(const QList<PlanSong>& songs)
{
    // A byte-order mark, so that spreadsheets read the file as UTF-8 on their own; lengths as
    // formulas giving text, so that "3:43" stays a song length instead of a time of day. A
    // title or artist that a spreadsheet would take for a formula ("=...", "+...", "-...",
    // "@...") is written the same way, so it shows as the text it is and never runs.
    const auto asText = [](const QString& value) {
        return QStringLiteral("=\"%1\"").arg(QString(value).replace(u'"', QStringLiteral("\"\"")));
    };
    const auto cell = [&](const QString& value) {
        const bool formula = !value.isEmpty() && QStringLiteral("=+-@").contains(value.front());
        return CsvText::field(formula ? asText(value) : value);
    };
    QString out =
        QChar(0xFEFF) + QStringLiteral("Title,Artist,Length,Catalogue key,Music provided\r\n");
    for (const PlanSong& s : songs)
        out += QStringList{cell(s.Title), cell(s.Artist),
                           CsvText::field(s.Length.isGiven()
                                              ? asText(PlanFacts::lengthText(s.Length))
                                              : QString()),
                           s.Key > 0 ? QString::number(s.Key) : QString(),
                           s.musicProvided() ? QStringLiteral("yes") : QStringLiteral("no")}
                   .join(QLatin1Char(',')) +
               QStringLiteral("\r\n");
    return out.toUtf8();
}

namespace
{
// The reception, its setup and each timed activity of one event with a date.
void addEvents(icalcomponent* cal, const EventPlan& plan, icaltimetype made, icaltimezone* zone)
{
    const QString couple = PlanFacts::coupleNames(plan);
    const QString uidPart = QString::fromLatin1(
        QCryptographicHash::hash(couple.toLower().toUtf8(), QCryptographicHash::Sha1)
            .toHex()
            .left(12));
    const QString place = plan.Facility.Name;
    const PlanFacts::Evening evening = PlanFacts::eveningOf(plan.Times);
    const QDateTime eveningStart(plan.Times.Date.value, QTime(0, 0).addSecs(evening.start),
                                 Qt::UTC);
    const QDateTime eveningEnd = eveningStart.addSecs(evening.length);
    const QString of = couple.isEmpty() ? QString() : QStringLiteral(" of ") + couple;
    const auto add = [&](const CalendarEvent& e) {
        icalcomponent_add_component(cal, eventComponent(e, made, zone));
    };
    add({QStringLiteral("reception-%1@feteplan").arg(uidPart), QStringLiteral("Reception") + of,
         place, QString(), eveningStart, eveningEnd});
    // The setup runs up to the start, from up to half a day before it (the evening's
    // eve when the setup time is later in the day than the start); a setup time after
    // the start is a fault the checks report, and has no span to show.
    const int setupLead =
        (evening.start - (QTime(0, 0).secsTo(plan.Times.Setup.value)) + 86400) % 86400;
    if (plan.Times.Setup.isGiven() && setupLead > 0 && setupLead <= 12 * 3600)
        add({QStringLiteral("setup-%1@feteplan").arg(uidPart),
             QStringLiteral("Setup for the reception") + of, place, QString(),
             eveningStart.addSecs(-setupLead), eveningStart});

    const QList<ScheduledActivity> ordered = PlanFacts::eveningOrder(plan.Schedule, evening);
    const QList<std::optional<int>> lengths = PlanFacts::slotLengths(ordered, evening);
    for (qsizetype i = 0; i < ordered.size(); ++i) {
        const ScheduledActivity& a = ordered[i];
        if (!a.Time.isGiven())
            continue;
        const QDateTime start = eveningStart.addSecs(PlanFacts::evenSecond(evening, a.Time.value));
        QStringList description;
        if (!a.Who.trimmed().isEmpty())
            description.append(QStringLiteral("Who: ") + a.Who.trimmed());
        if (!a.SongTitle.trimmed().isEmpty())
            description.append(
                QStringLiteral("Song: ") + PlanFacts::songLabel(a.SongTitle, a.SongArtist) +
                (a.SongKey == PlanSong::kMusicProvided ? QStringLiteral(" (music provided)")
                                                       : QString()));
        if (!a.MoreInfo.trimmed().isEmpty())
            description.append(QStringLiteral("Notes: ") + PlanFacts::lines(a.MoreInfo));
        add({QStringLiteral("activity-%1-%2@feteplan").arg(a.Key).arg(uidPart),
             PlanFacts::lines(a.Name), place, description.join(QLatin1Char('\n')), start,
             start.addSecs(*lengths[i] > 0 ? *lengths[i] : 15 * 60)});
    }
}
} // namespace

QByteArray ics(const EventPlan& plan, const QDateTime& stamp)
{
    return ics(QList<EventPlan>{plan}, stamp);
}

QByteArray ics(const QList<EventPlan>& plans, const QDateTime& stamp)
{
    icaltimezone* zone = systemZone();
    icalcomponent* cal = icalcomponent_new(ICAL_VCALENDAR_COMPONENT);
    icalcomponent_add_property(cal, icalproperty_new_version("2.0"));
    icalcomponent_add_property(cal, icalproperty_new_prodid("-//Feteplan//zelplan//EN"));
    icalcomponent_add_property(cal, icalproperty_new_calscale("GREGORIAN"));
    const bool anyDate = std::any_of(plans.begin(), plans.end(),
                                     [](const EventPlan& p) { return p.Times.Date.isGiven(); });
    // Every timed event carries its zone's rules; a calendar with no event (no date chosen
    // yet, so nothing can be placed on a day) still holds one component, the zone, which is
    // valid and imports as nothing rather than as a made-up date.
    if (zone) {
        icalcomponent* rules = icalcomponent_new_clone(icaltimezone_get_component(zone));
        icalproperty_set_tzid(icalcomponent_get_first_property(rules, ICAL_TZID_PROPERTY),
                              icaltimezone_get_location(zone));
        icalcomponent_add_component(cal, rules);
    } else if (!anyDate)
        icalcomponent_add_component(cal, utcZoneComponent());

    const icaltimetype made =
        icaltime_from_timet_with_zone(stamp.toSecsSinceEpoch(), 0, icaltimezone_get_utc_timezone());
    for (const EventPlan& plan : plans)
        if (plan.Times.Date.isGiven())
            addEvents(cal, plan, made, zone);
    char* text = icalcomponent_as_ical_string_r(cal);
    const QByteArray out(text);
    icalmemory_free_buffer(text);
    icalcomponent_free(cal);
    return out;
}

QList<RecordedName> recordedNames(const EventPlan& plan)
{
    QList<std::pair<QString, NameVoice>> named{{plan.Bride.Name, plan.Bride.Voice},
                                               {plan.Groom.Name, plan.Groom.Voice}};
    for (const PartyMember& m : plan.Party)
        named << std::pair{m.Name, m.MemberVoice} << std::pair{m.Escort, m.EscortVoice};
    QList<RecordedName> recorded;
    for (const auto& [name, voice] : named) {
        if (voice.Recording.isEmpty())
            continue;
        QString shown = name.simplified().left(80);
        const QString kNotInNames = QStringLiteral("/\\:*?\"<>|");
        for (QChar& c : shown)
            if (c.category() == QChar::Other_Control || kNotInNames.contains(c))
                c = QLatin1Char('_');
        recorded.append({QStringLiteral("%1 %2.%3")
                             .arg(recorded.size() + 1, 2, 10, QLatin1Char('0'))
                             .arg(shown.isEmpty() ? QStringLiteral("name") : shown,
                                  QLatin1String(NameVoice::kFileSuffix)),
                         voice.Recording});
    }
    return recorded;
}

bool writeAll(const EventPlan& plan, const QString& folder, const QDateTime& stamp, QString* error)
{
    if (!QDir().mkpath(folder)) {
        *error = QStringLiteral("%1: the folder cannot be made").arg(folder);
        return false;
    }
    const QDir dir(folder);
    return save(dir.filePath(QStringLiteral("include.csv")), csv(plan.Include), error) &&
           save(dir.filePath(QStringLiteral("exclude.csv")), csv(plan.Exclude), error) &&
           save(dir.filePath(QStringLiteral("schedule.ics")), ics(plan, stamp), error) &&
           writeNames(plan, dir, error);
}

} // namespace PlanExport
