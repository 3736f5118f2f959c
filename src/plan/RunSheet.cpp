#include "RunSheet.h"

#include "plan/PlanChecks.h"
#include "plan/PlanFacts.h"

namespace RunSheet
{
namespace
{
using PlanFacts::isolated;

// After a name the couple recorded (a beamed pair of notes).
const QString kRecordedMark = QStringLiteral(" \u266B");

// "Name (SAY-ing)", or the name alone; either with the mark of a name recorded in the
// person's own voice.
QString said(const QString& name, const QString& saying, const NameVoice& voice = {})
{
    const QString n = isolated(name.trimmed());
    const QString mark = voice.Recording.isEmpty() ? QString() : QString(kRecordedMark);
    return saying.trimmed().isEmpty() ? n + mark
                                      : QStringLiteral("%1 (%2)%3").arg(n, saying.trimmed(), mark);
}

// The recorded names among `people` (name, voice), for the HTML file's players.
QList<QPair<QString, QString>> recorded(const QList<QPair<QString, NameVoice>>& people)
{
    QList<QPair<QString, QString>> out;
    for (const auto& [name, voice] : people)
        if (!voice.Recording.isEmpty() && !name.trimmed().isEmpty())
            out.append({name.trimmed(), QString::fromLatin1(voice.Recording.toBase64())});
    return out;
}

QString joinedLines(const QString& stored)
{
    return PlanFacts::lines(stored).replace(QLatin1Char('\n'), QStringLiteral(", "));
}

QString phones(const PersonRecord& p)
{
    QStringList out;
    const QString numbers[3] = {p.Phone1, p.Phone2, p.Phone3};
    const QString kinds[3] = {p.PhoneKind1, p.PhoneKind2, p.PhoneKind3};
    for (int i = 0; i < 3; ++i)
        if (!numbers[i].trimmed().isEmpty())
            out.append(kinds[i].trimmed().isEmpty()
                           ? numbers[i].trimmed()
                           : QStringLiteral("%1 (%2)").arg(numbers[i].trimmed(), kinds[i].trimmed()));
    return out.join(QStringLiteral(", "));
}

PlanBlock headBlock(const EventPlan& plan)
{
    using PlanFacts::answerText;
    const PlanTimes& t = plan.Times;
    const FacilityRecord& f = plan.Facility;
    PlanBlock b;
    b.kind = PlanBlock::Fields;
    QString place = f.Name.trimmed().isEmpty() ? PlanFacts::kNotChosen : f.Name.trimmed();
    if (!PlanFacts::lines(f.Address).isEmpty())
        place += QStringLiteral(", ") + joinedLines(f.Address);
    QString contact = f.Contact.trimmed();
    if (!f.Number.trimmed().isEmpty())
        contact += (contact.isEmpty() ? QString() : QStringLiteral(", ")) + f.Number.trimmed() +
                   (f.NumberKind.trimmed().isEmpty()
                        ? QString()
                        : QStringLiteral(" (%1)").arg(f.NumberKind.trimmed()));
    const QList<QPair<QString, QString>> pairs = {
        {QStringLiteral("Date"), answerText(t.Date)},
        {QStringLiteral("Place"), place},
        {QStringLiteral("Times"),
         QStringLiteral("Start %1, end %2, setup from %3")
             .arg(answerText(t.Start), answerText(t.End), answerText(t.Setup))},
        {QStringLiteral("Guests"), answerText(plan.Guests)},
        {QStringLiteral("Bride"),
         said(plan.Bride.Name, plan.Bride.Pronunciation, plan.Bride.Voice) +
             (phones(plan.Bride).isEmpty() ? QString()
                                           : QStringLiteral(": ") + phones(plan.Bride))},
        {QStringLiteral("Groom"),
         said(plan.Groom.Name, plan.Groom.Pronunciation, plan.Groom.Voice) +
             (phones(plan.Groom).isEmpty() ? QString()
                                           : QStringLiteral(": ") + phones(plan.Groom))},
        {QStringLiteral("Place's contact"), contact}};
    for (const auto& [label, value] : pairs)
        if (!value.trimmed().isEmpty() && value != QStringLiteral(": "))
            b.pairs.append({label, value});
    return b;
}

PlanBlock scheduleBlock(const EventPlan& plan)
{
    PlanBlock t;
    t.kind = PlanBlock::Table;
    t.header = {QStringLiteral("Time"), QStringLiteral("Length"), QStringLiteral("Activity"),
                QStringLiteral("Who"), QStringLiteral("Song"), QStringLiteral("Notes")};
    t.widths = {8, 10, 16, 15, 24, 27};
    const PlanFacts::Evening evening = PlanFacts::eveningOf(plan.Times);
    const QList<ScheduledActivity> ordered = PlanFacts::eveningOrder(plan.Schedule, evening);
    const QList<std::optional<int>> lengths = PlanFacts::slotLengths(ordered, evening);
    const PlanSongIndex include(plan.Include), exclude(plan.Exclude);
    for (qsizetype i = 0; i < ordered.size(); ++i) {
        const ScheduledActivity& a = ordered[i];
        t.rows.append({PlanOutline::activityTime(a.Time),
                       lengths[i] ? PlanFacts::hoursText(*lengths[i]) : QString(),
                       a.Name.trimmed(), whoWithSayings(plan, a.Who),
                       PlanOutline::activitySong(a, include, exclude), PlanFacts::lines(a.MoreInfo)});
    }
    return t;
}

PlanBlock entranceBlock(const EventPlan& plan)
{
    PlanBlock t;
    t.kind = PlanBlock::Table;
    t.header = {QStringLiteral("#"), QStringLiteral("Announce")};
    t.widths = {3, 97};
    for (const PartyMember& m : plan.Party)
        if (!(m.Name.trimmed().isEmpty() && m.Escort.trimmed().isEmpty())) {
            t.rows.append({QString::number(t.rows.size() + 1), entranceLine(m)});
            t.sounds.append(recorded({{m.Name, m.MemberVoice}, {m.Escort, m.EscortVoice}}));
        }
    QStringList couple;
    if (!plan.Bride.Name.trimmed().isEmpty())
        couple.append(said(plan.Bride.Name, plan.Bride.Pronunciation, plan.Bride.Voice) +
                      QStringLiteral(", Bride"));
    if (!plan.Groom.Name.trimmed().isEmpty())
        couple.append(said(plan.Groom.Name, plan.Groom.Pronunciation, plan.Groom.Voice) +
                      QStringLiteral(", Groom"));
    if (!couple.isEmpty()) {
        t.rows.append({QString::number(t.rows.size() + 1), couple.join(QStringLiteral(", and "))});
        t.sounds.append(
            recorded({{plan.Bride.Name, plan.Bride.Voice}, {plan.Groom.Name, plan.Groom.Voice}}));
    }
    return t;
}

// What the mark after a name means, when a name has one.
PlanBlock recordedLegend(const PlanBlock& entrance)
{
    PlanBlock b;
    b.kind = PlanBlock::Text;
    for (const auto& row : entrance.sounds)
        if (!row.isEmpty())
            b.text = QStringLiteral("%1: recorded in their own voice").arg(kRecordedMark.trimmed());
    return b;
}

// The songs flowing one after another, each after a box to tick.
PlanBlock checklist(const QList<PlanSong>& songs, bool boxes)
{
    QStringList items;
    for (const PlanSong& s : songs) {
        QString item = s.Artist.trimmed().isEmpty()
                           ? s.Title.trimmed()
                           : QStringLiteral("%1 - %2").arg(s.Title.trimmed(), s.Artist.trimmed());
        const QString length = PlanFacts::lengthText(s.Length);
        if (!length.isEmpty())
            item += QStringLiteral(" (%1)").arg(length);
        if (s.musicProvided())
            item += QStringLiteral(" [music provided]");
        items.append(boxes ? QStringLiteral("\u2610 ") + item : item);
    }
    PlanBlock b;
    b.kind = PlanBlock::Text;
    b.text = items.join(boxes ? QStringLiteral("   ") : QStringLiteral("; "));
    return b;
}

void addSection(QList<PlanSection>& out, const QString& title, const QList<PlanBlock>& blocks)
{
    PlanSection s{title, {}};
    for (const PlanBlock& b : blocks)
        if (!b.pairs.isEmpty() || !b.rows.isEmpty() || !b.text.isEmpty())
            s.blocks.append(b);
    if (!s.blocks.isEmpty())
        out.append(s);
}
} // namespace

QString entranceLine(const PartyMember& m)
{
    QStringList parts;
    if (!m.Name.trimmed().isEmpty())
        parts.append(said(m.Name, m.Pronunciation, m.MemberVoice));
    if (!m.Role.trimmed().isEmpty())
        parts.append(m.Role.trimmed());
    if (!m.Escort.trimmed().isEmpty()) {
        parts.append(QStringLiteral("escorted by ") +
                     said(m.Escort, m.EscortPronunciation, m.EscortVoice));
        if (!m.EscortRole.trimmed().isEmpty())
            parts.append(m.EscortRole.trimmed());
    }
    return parts.join(QStringLiteral(", "));
}

QString whoWithSayings(const EventPlan& plan, const QString& who)
{
    QString out = who.trimmed();
    if (out.isEmpty())
        return out;
    QList<QPair<QString, QString>> people = {{plan.Bride.Name, plan.Bride.Pronunciation},
                                             {plan.Groom.Name, plan.Groom.Pronunciation}};
    for (const PartyMember& m : plan.Party)
        people += {{m.Name, m.Pronunciation}, {m.Escort, m.EscortPronunciation}};
    for (const auto& [name, saying] : people) {
        const QString n = name.trimmed();
        if (n.isEmpty() || saying.trimmed().isEmpty())
            continue;
        const qsizetype at = out.indexOf(n, 0, Qt::CaseInsensitive);
        if (at < 0 || out.mid(at + n.size()).startsWith(QStringLiteral(" (")))
            continue;
        out.replace(at, n.size(), said(out.mid(at, n.size()), saying));
    }
    return out;
}

QList<PlanSection> build(const EventPlan& plan, const QList<PlanFinding>& findings)
{
    QList<PlanSection> out;
    addSection(out, QString(), {headBlock(plan)});
    addSection(out, QStringLiteral("Schedule"), {scheduleBlock(plan)});
    const PlanBlock entrance = entranceBlock(plan);
    addSection(out, QStringLiteral("Grand Entrance"), {entrance, recordedLegend(entrance)});

    PlanBlock total;
    total.kind = PlanBlock::Note;
    if (!plan.Include.isEmpty()) {
        int unknown = 0;
        const qint64 seconds = PlanFacts::totalSeconds(plan.Include, &unknown);
        total.text = QStringLiteral("%1 songs, %2 in all").arg(plan.Include.size()).arg(
            PlanFacts::hoursText(seconds));
        if (unknown > 0)
            total.text += QStringLiteral(" (%1 without a length)").arg(unknown);
    }
    addSection(out, QStringLiteral("Must Play"), {checklist(plan.Include, true), total});
    addSection(out, QStringLiteral("Do Not Play"), {checklist(plan.Exclude, false)});

    QStringList avoid;
    for (int i = 0; i < MusicPreferences::kTypeCount; ++i)
        if (!plan.Music.Play[i])
            avoid.append(MusicPreferences::kTypeNames[i]);
    PlanBlock music;
    music.kind = PlanBlock::Text;
    music.text = avoid.join(QStringLiteral(", "));
    addSection(out, QStringLiteral("Music to Avoid"), {music});

    PlanBlock checks;
    checks.kind = PlanBlock::Findings;
    for (const PlanFinding& f : findings)
        checks.rows.append({PlanChecks::severityName(f.severity), f.text,
                            PlanChecks::pageName(f.page)});
    addSection(out, QStringLiteral("Checks"), {checks});
    return out;
}

} // namespace RunSheet
