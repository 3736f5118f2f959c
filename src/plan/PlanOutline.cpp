#include "PlanOutline.h"

#include "plan/PlanChecks.h"
#include "plan/PlanFacts.h"

namespace PlanOutline
{
namespace
{

using PlanFacts::lines;

// Drops the pairs without a value.
PlanBlock fields(const QList<QPair<QString, QString>>& pairs, const QString& title = {})
{
    PlanBlock b;
    b.kind = PlanBlock::Fields;
    b.title = title;
    for (const auto& [label, value] : pairs)
        if (!value.trimmed().isEmpty())
            b.pairs.append({label, value.trimmed()});
    return b;
}

void addIfAny(PlanSection& s, const PlanBlock& b)
{
    if (!b.pairs.isEmpty() || !b.rows.isEmpty())
        s.blocks.append(b);
}

QString phoneLine(const QString& number, const QString& kind)
{
    if (number.trimmed().isEmpty())
        return {};
    return kind.trimmed().isEmpty()
               ? number.trimmed()
               : QStringLiteral("%1 (%2)").arg(number.trimmed(), kind.trimmed());
}

PlanBlock personContacts(const PersonRecord& p, const QString& role)
{
    return fields(
        {{QStringLiteral("Address"), lines(p.Address)},
         {QStringLiteral("Phone"), phoneLine(p.Phone1, p.PhoneKind1)},
         {QStringLiteral("Phone"), phoneLine(p.Phone2, p.PhoneKind2)},
         {QStringLiteral("Phone"), phoneLine(p.Phone3, p.PhoneKind3)},
         {QStringLiteral("E-mail"), p.Email}},
        p.Name.trimmed().isEmpty() ? role : QStringLiteral("%1, %2").arg(p.Name.trimmed(), role));
}

PlanSection namesSection(const EventPlan& plan)
{
    PlanBlock names;
    names.kind = PlanBlock::Names;
    // The fourth text of a row is the name's recording (base 64), empty when it has none.
    auto add = [&](const QString& name, const QString& role, const QString& saying,
                   const NameVoice& voice) {
        if (!name.trimmed().isEmpty())
            names.rows.append({name.trimmed(), role.trimmed(), saying.trimmed(),
                               QString::fromLatin1(voice.Recording.toBase64())});
    };
    add(plan.Bride.Name, QStringLiteral("Bride"), plan.Bride.Pronunciation, plan.Bride.Voice);
    add(plan.Groom.Name, QStringLiteral("Groom"), plan.Groom.Pronunciation, plan.Groom.Voice);
    for (const PartyMember& m : plan.Party) {
        add(m.Name, m.Role, m.Pronunciation, m.MemberVoice);
        add(m.Escort, m.EscortRole, m.EscortPronunciation, m.EscortVoice);
    }
    PlanSection s{QStringLiteral("Names and How to Say Them"), {}};
    addIfAny(s, names);
    return s;
}

PlanSection eventSection(const EventPlan& plan)
{
    const EventTimes& t = plan.Times;
    const FacilityRecord& f = plan.Facility;
    PlanSection s{QStringLiteral("The Event"), {}};
    addIfAny(s, fields({{QStringLiteral("Date"), PlanFacts::dateText(t.EventDate)},
                        {QStringLiteral("Start"), PlanFacts::timeText(t.StartTime)},
                        {QStringLiteral("End"), PlanFacts::timeText(t.EndTime)},
                        {QStringLiteral("Setup from"), PlanFacts::timeText(t.SetupTime)},
                        {QStringLiteral("Guests"), plan.Guests}}));
    addIfAny(s, fields({{QStringLiteral("Place"), f.Name},
                        {QStringLiteral("Address"), lines(f.Address)},
                        {QStringLiteral("Contact"), f.Contact},
                        {QStringLiteral("Phone"), phoneLine(f.Number, f.NumberKind)},
                        {QStringLiteral("Directions"), lines(f.Directions)}},
                       QStringLiteral("Reception")));
    return s;
}

PlanSection entertainerSection(const EventPlan& plan, bool dressPicture)
{
    const Guidelines& g = plan.Guidance;
    const QString looks = g.Looks >= 0 && g.Looks < 3 ? Guidelines::kLooks[g.Looks] : QString();
    const QString manner =
        g.Attitude >= 0 && g.Attitude < 3 ? Guidelines::kAttitude[g.Attitude] : QString();
    PlanSection s{QStringLiteral("The Entertainer"), {}};
    addIfAny(s, fields({{QStringLiteral("Dress"), looks},
                        {QStringLiteral("Manner"), manner},
                        {QStringLiteral("Comments"), lines(g.Notes)}}));
    if (dressPicture && !looks.isEmpty()) {
        PlanBlock picture;
        picture.kind = PlanBlock::Picture;
        picture.picture = QStringLiteral("dress");
        picture.text = looks;
        s.blocks.append(picture);
    }
    return s;
}

PlanSection partySection(const EventPlan& plan)
{
    PlanBlock t;
    t.kind = PlanBlock::Table;
    t.header = {QStringLiteral("#"), QStringLiteral("Member"), QStringLiteral("Role"),
                QStringLiteral("Escort"), QStringLiteral("Escort's role")};
    int n = 0;
    for (const PartyMember& m : plan.Party)
        t.rows.append({QString::number(++n), m.Name.trimmed(), m.Role.trimmed(), m.Escort.trimmed(),
                       m.EscortRole.trimmed()});
    PlanSection s{QStringLiteral("The Bridal Party"), {}};
    addIfAny(s, t);
    return s;
}

PlanSection scheduleSection(const EventPlan& plan)
{
    PlanBlock t;
    t.kind = PlanBlock::Table;
    t.header = {QStringLiteral("#"),   QStringLiteral("Time"), QStringLiteral("Activity"),
                QStringLiteral("Who"), QStringLiteral("Song"), QStringLiteral("Notes")};
    const auto evening = PlanFacts::eveningOf(plan.Times);
    int n = 0;
    for (const ScheduledActivity& a : PlanFacts::eveningOrder(plan.Schedule, evening)) {
        QString song;
        if (!a.SongTitle.trimmed().isEmpty()) {
            song = PlanFacts::songLabel(a.SongTitle, a.SongArtist);
            if (a.SongKey && *a.SongKey > 0) {
                // The catalogue's length is not stored with the activity: take it from a list.
                for (const PickedSongRecord& s : plan.Include + plan.Exclude)
                    if (PlanFacts::sameSong(a, s) && !s.Length.isEmpty()) {
                        song += QStringLiteral(" (%1)").arg(s.Length);
                        break;
                    }
            }
            if (a.SongKey == qint16(-3))
                song += QStringLiteral(" - music provided");
        }
        t.rows.append({QString::number(++n),
                       a.Scheduled ? PlanFacts::timeText(*a.Scheduled) : QStringLiteral("-"),
                       a.Name.trimmed(), a.Who.trimmed(), song, lines(a.MoreInfo)});
    }
    PlanSection s{QStringLiteral("The Schedule"), {}};
    addIfAny(s, t);
    if (!s.blocks.isEmpty()) {
        PlanBlock picture;
        picture.kind = PlanBlock::Picture;
        picture.picture = QStringLiteral("timeline");
        picture.text = QStringLiteral("The evening from %1 to %2; the numbers are those of the "
                                      "schedule.")
                           .arg(PlanFacts::timeText(plan.Times.StartTime),
                                PlanFacts::timeText(plan.Times.EndTime));
        s.blocks.append(picture);
    }
    return s;
}

PlanSection musicSection(const EventPlan& plan)
{
    QStringList play, avoid;
    for (int i = 0; i < MusicPreferences::kTypeCount; ++i)
        (plan.Music.Play[i] ? play : avoid).append(MusicPreferences::kTypeNames[i]);
    QStringList radio;
    for (const QString& r : plan.Music.Radio)
        if (!r.trimmed().isEmpty())
            radio.append(r.trimmed());
    PlanSection s{QStringLiteral("Music"), {}};
    addIfAny(s, fields({{QStringLiteral("Play"), play.join(QStringLiteral(", "))},
                        {QStringLiteral("Avoid"), avoid.join(QStringLiteral(", "))},
                        {QStringLiteral("Radio stations"), radio.join(QStringLiteral(", "))}}));
    return s;
}

PlanSection songsSection(const QString& title, const QList<PickedSongRecord>& songs, bool total)
{
    PlanBlock t;
    t.kind = PlanBlock::Table;
    t.header = {QStringLiteral("#"), QStringLiteral("Title"), QStringLiteral("Artist"),
                QStringLiteral("Length")};
    int n = 0;
    for (const PickedSongRecord& s : songs)
        t.rows.append({QString::number(++n),
                       s.Key == -3 ? s.Title.trimmed() + QStringLiteral(" (music provided)")
                                   : s.Title.trimmed(),
                       s.Artist.trimmed(), s.Length.trimmed()});
    PlanSection s{title, {}};
    addIfAny(s, t);
    if (total && !songs.isEmpty()) {
        int unknown = 0;
        const int seconds = PlanFacts::totalSeconds(songs, &unknown);
        PlanBlock note;
        note.kind = PlanBlock::Note;
        note.text = QStringLiteral("Total playing time: %1").arg(PlanFacts::durationText(seconds));
        if (unknown > 0)
            note.text += QStringLiteral(" (%1 without a length)").arg(unknown);
        s.blocks.append(note);
    }
    return s;
}

} // namespace

TitleBlock titleOf(const EventPlan& plan)
{
    const EventTimes& t = plan.Times;
    return {PlanFacts::coupleNames(plan), PlanFacts::dateText(t.EventDate),
            plan.Facility.Name.trimmed(),
            QStringLiteral("%1 to %2 (setup from %3)")
                .arg(PlanFacts::timeText(t.StartTime), PlanFacts::timeText(t.EndTime),
                     PlanFacts::timeText(t.SetupTime))};
}

QList<PlanSection> build(const EventPlan& plan, const QList<PlanFinding>& findings,
                         bool dressPicture)
{
    QList<PlanSection> sections;
    PlanSection checks{QStringLiteral("Checks"), {}};
    PlanBlock f;
    f.kind = PlanBlock::Findings;
    for (const PlanFinding& finding : findings)
        f.rows.append({PlanChecks::severityName(finding.severity), finding.text,
                       PlanChecks::pageName(finding.page)});
    addIfAny(checks, f);
    PlanSection contacts{QStringLiteral("Contacts"), {}};
    addIfAny(contacts, personContacts(plan.Bride, QStringLiteral("bride")));
    addIfAny(contacts, personContacts(plan.Groom, QStringLiteral("groom")));

    for (const PlanSection& s :
         {checks, namesSection(plan), contacts, eventSection(plan),
          entertainerSection(plan, dressPicture), partySection(plan), scheduleSection(plan),
          musicSection(plan), songsSection(QStringLiteral("Songs to Play"), plan.Include, true),
          songsSection(QStringLiteral("Songs Not to Play"), plan.Exclude, false)})
        if (!s.blocks.isEmpty())
            sections.append(s);
    return sections;
}

} // namespace PlanOutline
