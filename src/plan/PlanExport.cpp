#include "PlanExport.h"

#include "plan/PlanFacts.h"
#include "platform/CsvText.h"

#include <QCryptographicHash>
#include <QDir>
#include <QSaveFile>

namespace PlanExport
{
namespace
{

QString entryName(const PlanSong& s)
{
    return s.Artist.trimmed().isEmpty()
               ? s.Title.trimmed()
               : QStringLiteral("%1 - %2").arg(s.Artist.trimmed(), s.Title.trimmed());
}

// TEXT value of RFC 5545: backslash, semicolon, comma and line breaks escaped.
QString icsText(const QString& text)
{
    QString out;
    for (const QChar c : PlanFacts::lines(text)) {
        if (c == QLatin1Char('\\') || c == QLatin1Char(';') || c == QLatin1Char(','))
            out += QLatin1Char('\\') + c;
        else if (c == QLatin1Char('\n'))
            out += QStringLiteral("\\n");
        else
            out += c;
    }
    return out;
}

// One content line, folded at 75 octets without splitting a UTF-8 sequence, CRLF ended.
QByteArray icsLine(const QString& line)
{
    const QByteArray bytes = line.toUtf8();
    QByteArray out;
    int width = 0;
    for (qsizetype i = 0; i < bytes.size();) {
        qsizetype n = 1;
        while (i + n < bytes.size() && (quint8(bytes[i + n]) & 0xC0) == 0x80)
            ++n;
        if (width + n > 75) {
            out += "\r\n ";
            width = 1;
        }
        out += bytes.mid(i, n);
        width += int(n);
        i += n;
    }
    return out + "\r\n";
}

QString icsTime(const QDateTime& t)
{
    return t.toString(QStringLiteral("yyyyMMdd'T'HHmmss"));
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
    if (names.isEmpty())
        return true;
    const QString folder = dir.filePath(QStringLiteral("names"));
    if (!QDir().mkpath(folder)) {
        *error = QStringLiteral("%1: the folder cannot be made").arg(folder);
        return false;
    }
    for (const RecordedName& n : names)
        if (!save(QDir(folder).filePath(n.FileName), n.Recording, error))
            return false;
    return true;
}
} // namespace

QByteArray csv(const QList<PlanSong>& songs)
{
    QString out = QStringLiteral("Title,Artist,Length,Catalogue key,Music provided\r\n");
    for (const PlanSong& s : songs)
        out += QStringList{CsvText::field(s.Title), CsvText::field(s.Artist),
                           CsvText::field(PlanFacts::lengthText(s.Length)),
                           s.Key > 0 ? QString::number(s.Key) : QString(),
                           s.musicProvided() ? QStringLiteral("yes") : QStringLiteral("no")}
                   .join(QLatin1Char(',')) +
               QStringLiteral("\r\n");
    return out.toUtf8();
}

QByteArray ics(const EventPlan& plan, const QDateTime& stamp)
{
    const PlanFacts::Evening evening = PlanFacts::eveningOf(plan.Times);
    const QDateTime eveningStart(plan.Times.Date.isGiven() ? plan.Times.Date.value : stamp.date(),
                                 QTime(0, 0).addSecs(evening.start));
    const QDateTime eveningEnd = eveningStart.addSecs(evening.length);
    const QString couple = QString::fromLatin1(
        QCryptographicHash::hash(PlanFacts::coupleNames(plan).toLower().toUtf8(),
                                 QCryptographicHash::Sha1)
            .toHex()
            .left(12));

    QByteArray out = icsLine(QStringLiteral("BEGIN:VCALENDAR"));
    out += icsLine(QStringLiteral("VERSION:2.0"));
    out += icsLine(QStringLiteral("PRODID:-//Feteplan//zelplan//EN"));
    out += icsLine(QStringLiteral("CALSCALE:GREGORIAN"));
    const QList<ScheduledActivity> ordered = PlanFacts::eveningOrder(plan.Schedule, evening);
    const QList<std::optional<int>> lengths = PlanFacts::slotLengths(ordered, evening);
    for (qsizetype i = 0; i < ordered.size(); ++i) {
        const ScheduledActivity& a = ordered[i];
        if (!a.Time.isGiven())
            continue;
        const QDateTime start = eveningStart.addSecs(PlanFacts::evenSecond(evening, a.Time.value));
        const QDateTime end = start.addSecs(*lengths[i] > 0 ? *lengths[i] : 15 * 60);
        QStringList description;
        if (!a.Who.trimmed().isEmpty())
            description.append(QStringLiteral("Who: ") + a.Who.trimmed());
        if (!a.SongTitle.trimmed().isEmpty())
            description.append(
                QStringLiteral("Song: ") + PlanFacts::songLabel(a.SongTitle, a.SongArtist) +
                (a.SongKey == PlanSong::kMusicProvided ? QStringLiteral(" (music provided)") : QString()));
        if (!a.MoreInfo.trimmed().isEmpty())
            description.append(QStringLiteral("Notes: ") + PlanFacts::lines(a.MoreInfo));

        out += icsLine(QStringLiteral("BEGIN:VEVENT"));
        out += icsLine(QStringLiteral("UID:activity-%1-%2@feteplan").arg(a.Key).arg(couple));
        out += icsLine(QStringLiteral("DTSTAMP:") +
                       stamp.toUTC().toString(QStringLiteral("yyyyMMdd'T'HHmmss'Z'")));
        out += icsLine(QStringLiteral("DTSTART:") + icsTime(start));
        out += icsLine(QStringLiteral("DTEND:") + icsTime(end));
        out += icsLine(QStringLiteral("SUMMARY:") + icsText(a.Name));
        if (!plan.Facility.Name.trimmed().isEmpty())
            out += icsLine(QStringLiteral("LOCATION:") + icsText(plan.Facility.Name));
        if (!description.isEmpty())
            out += icsLine(QStringLiteral("DESCRIPTION:") +
                           icsText(description.join(QLatin1Char('\n'))));
        out += icsLine(QStringLiteral("END:VEVENT"));
    }
    out += icsLine(QStringLiteral("END:VCALENDAR"));
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
