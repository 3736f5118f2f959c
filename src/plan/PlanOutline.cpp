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
        p.Name.trimmed().isEmpty()
            ? role
            : QStringLiteral("%1, %2").arg(PlanFacts::isolated(p.Name.trimmed()), role));
}

PlanSection namesSection(const EventPlan& plan)
{
    PlanBlock names;
    names.kind = PlanBlock::Names;
    // The fourth text of a row is the name's recording (base 64), empty when it has none.
    auto add = [&](const QString& name, const QString& role, const QString& saying,
                   const NameVoice& voice) {
        if (!name.trimmed().isEmpty())
            names.rows.append({PlanFacts::isolated(name.trimmed()), role.trimmed(), saying.trimmed(),
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
    const PlanTimes& t = plan.Times;
    const FacilityRecord& f = plan.Facility;
    using PlanFacts::answerText;
    PlanSection s{QStringLiteral("The Event"), {}};
    addIfAny(s, fields({{QStringLiteral("Date"), answerText(t.Date)},
                        {QStringLiteral("Start"), answerText(t.Start)},
                        {QStringLiteral("End"), answerText(t.End)},
                        {QStringLiteral("Setup from"), answerText(t.Setup)},
                        {QStringLiteral("Guests"), answerText(plan.Guests)}}));
    addIfAny(s, fields({{QStringLiteral("Place"), f.Name.trimmed().isEmpty() ? PlanFacts::kNotChosen : f.Name},
                        {QStringLiteral("Address"), lines(f.Address)},
                        {QStringLiteral("Contact"), f.Contact},
                        {QStringLiteral("Phone"), phoneLine(f.Number, f.NumberKind)},
                        {QStringLiteral("Directions"), lines(f.Directions)}},
                       QStringLiteral("Reception")));
    return s;
}

QString choiceText(const PlanValue<qint16>& choice, const std::array<QString, 3>& names)
{
    switch (choice.state) {
    case PlanValue<qint16>::Given:
        return names[std::size_t(choice.value)];
    case PlanValue<qint16>::Unreadable:
        return PlanFacts::kUnreadable;
    case PlanValue<qint16>::NotGiven:
        break;
    }
    return PlanFacts::kNotChosen;
}

PlanSection entertainerSection(const EventPlan& plan, bool dressPicture)
{
    const QString looks = choiceText(plan.Looks, Guidelines::kLooks);
    const QString manner = choiceText(plan.Attitude, Guidelines::kAttitude);
    PlanSection s{QStringLiteral("The Entertainer"), {}};
    addIfAny(s, fields({{QStringLiteral("Dress"), looks},
                        {QStringLiteral("Manner"), manner},
                        {QStringLiteral("Comments"), lines(plan.GuidanceNotes)}}));
    if (dressPicture && plan.Looks.isGiven()) {
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
        t.rows.append({QString::number(++n), PlanFacts::isolated(m.Name.trimmed()), m.Role.trimmed(),
                       PlanFacts::isolated(m.Escort.trimmed()), m.EscortRole.trimmed()});
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
    const QList<ScheduledActivity> ordered = PlanFacts::eveningOrder(plan.Schedule, evening);
    const PlanSongIndex include(plan.Include), exclude(plan.Exclude);
    for (qsizetype i = 0; i < ordered.size(); ++i) {
        const ScheduledActivity& a = ordered[i];
        t.rows.append({QString::number(i + 1), activityTime(a.Time), a.Name.trimmed(),
                       a.Who.trimmed(), activitySong(a, include, exclude), lines(a.MoreInfo)});
    }
    PlanSection s{QStringLiteral("The Schedule"), {}};
    addIfAny(s, t);
    if (!s.blocks.isEmpty()) {
        PlanBlock picture;
        picture.kind = PlanBlock::Picture;
        picture.picture = QStringLiteral("timeline");
        picture.text = QStringLiteral("The evening from %1 to %2; the numbers are those of the "
                                      "schedule.")
                           .arg(PlanFacts::timeText(plan.Times.Start.value),
                                PlanFacts::timeText(plan.Times.End.value));
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

PlanSection songsSection(const QString& title, const QList<PlanSong>& songs, bool total)
{
    PlanBlock t;
    t.kind = PlanBlock::Table;
    t.header = {QStringLiteral("#"), QStringLiteral("Title"), QStringLiteral("Artist"),
                QStringLiteral("Length")};
    int n = 0;
    for (const PlanSong& s : songs)
        t.rows.append({QString::number(++n),
                       s.musicProvided() ? s.Title.trimmed() + QStringLiteral(" (music provided)")
                                         : s.Title.trimmed(),
                       s.Artist.trimmed(), PlanFacts::lengthText(s.Length)});
    PlanSection s{title, {}};
    addIfAny(s, t);
    if (total && !songs.isEmpty()) {
        int unknown = 0;
        const qint64 seconds = PlanFacts::totalSeconds(songs, &unknown);
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

QString activityTime(const PlanValue<QTime>& time)
{
    return time.state == PlanValue<QTime>::NotGiven ? QStringLiteral("-")
                                                    : PlanFacts::answerText(time);
}

QString activitySong(const ScheduledActivity& a, const PlanSongIndex& include, const PlanSongIndex& exclude)
{
    if (a.SongTitle.trimmed().isEmpty())
        return {};
    QString song = PlanFacts::songLabel(a.SongTitle, a.SongArtist);
    // The length is not stored with the activity: it is taken from a list.
    const PlanSong* excluded = exclude.find(a);
    const PlanSong* listed = include.find(a);
    if (!listed)
        listed = excluded;
    if (listed && listed->Length.isGiven())
        song += QStringLiteral(" (%1)").arg(PlanFacts::lengthText(listed->Length));
    if (a.SongKey == PlanSong::kMusicProvided)
        song += QStringLiteral(" - music provided");
    if (excluded)
        song += QStringLiteral(" - ON THE DO-NOT-PLAY LIST");
    return song;
}

TitleBlock titleOf(const EventPlan& plan)
{
    const PlanTimes& t = plan.Times;
    using PlanFacts::answerText;
    QStringList names;
    for (const QString& n : {plan.Bride.Name.trimmed(), plan.Groom.Name.trimmed()})
        if (!n.isEmpty())
            names.append(PlanFacts::isolated(n));
    return {names.join(QStringLiteral(" & ")),
            t.Date.isGiven() ? answerText(t.Date)
                             : QStringLiteral("Date %1").arg(answerText(t.Date)),
            plan.Facility.Name.trimmed(),
            t.Start.isGiven() || t.End.isGiven() || t.Setup.isGiven()
                ? QStringLiteral("%1 to %2 (setup from %3)")
                      .arg(answerText(t.Start), answerText(t.End), answerText(t.Setup))
                : QStringLiteral("Times not chosen yet")};
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
