#include "PlanChecks.h"

#include "plan/PlanFacts.h"
#include "plan/PlanSongIndex.h"

#include <algorithm>

namespace PlanChecks
{
namespace
{

using PlanFacts::songLabel;

QString label(const PlanSong& s)
{
    return songLabel(s.Title, s.Artist);
}

// The text for the audience the checks are made for.
QString sayTo(Audience audience, const char* toCouple, const char* toEntertainer)
{
    return QString::fromUtf8(audience == ForCouple ? toCouple : toEntertainer);
}

void checkLists(const EventPlan& plan, const PlanSongIndex& exclude, Audience audience,
                QList<PlanFinding>& out)
{
    for (qsizetype i = 0; i < plan.Include.size(); ++i)
        if (const PlanSong& in = plan.Include[i]; exclude.first(in) >= 0)
            out.append({PlanFinding::Problem,
                        sayTo(audience, "%1 is on both your songs to play and your songs not to play; take it off one of the lists.",
                            "%1 is on both the couple's must-play and do-not-play lists; ask them which it is.")
                            .arg(label(in)),
                        Include, i});
    const PlanSongIndex include(plan.Include);
    const struct {
        const QList<PlanSong>& songs;
        const PlanSongIndex& index;
        const char* name;
        Page page;
    } lists[] = {{plan.Include, include, audience == ForCouple ? "your songs to play" : "the couple's must-play list", Include},
                 {plan.Exclude, exclude, audience == ForCouple ? "your songs not to play" : "the couple's do-not-play list", Exclude}};
    for (const auto& list : lists)
        for (qsizetype i = 0; i < list.songs.size(); ++i)
            if (list.index.repeated(i))
                out.append({PlanFinding::Advice,
                            QStringLiteral("%1 is twice on %2.")
                                .arg(label(list.songs[i]), QString::fromUtf8(list.name)),
                            list.page, i});
}

void checkSchedule(const EventPlan& plan, const PlanSongIndex& exclude, Audience audience,
                   QList<PlanFinding>& out)
{
    const PlanFacts::Evening evening = PlanFacts::eveningOf(plan.Times);
    const QList<ScheduledActivity> ordered = PlanFacts::eveningOrder(plan.Schedule, evening);
    for (qsizetype i = 0; i < ordered.size(); ++i) {
        const ScheduledActivity& a = ordered[i];
        if (const PlanSong* ex = exclude.find(a))
            out.append({PlanFinding::Problem,
                        sayTo(audience, "The song for \"%1\", %2, is on your songs not to play.",
                            "The song for \"%1\", %2, is on the couple's do-not-play list.")
                            .arg(a.Name, label(*ex)),
                        Schedule, a.Key});
        if (!a.Time.isGiven())
            continue;
        const QTime at = a.Time.value;
        const PlanFacts::Place place = PlanFacts::placeInEvening(evening, at);
        if (place == PlanFacts::Place::Before)
            out.append({PlanFinding::Problem,
                        QStringLiteral("\"%1\" at %2 is before the event starts (%3).")
                            .arg(a.Name, PlanFacts::timeText(at),
                                 PlanFacts::timeText(plan.Times.Start.value)),
                        Schedule, a.Key});
        else if (place == PlanFacts::Place::After)
            out.append({PlanFinding::Problem,
                        QStringLiteral("\"%1\" at %2 is after the event ends (%3).")
                            .arg(a.Name, PlanFacts::timeText(at),
                                 PlanFacts::timeText(plan.Times.End.value)),
                        Schedule, a.Key});
        // Activities at one time: one finding for the whole group, at its second member.
        const auto sameTime = [&](qsizetype j) {
            return j >= 0 && j < ordered.size() && ordered[j].Time.isGiven() &&
                   ordered[j].Time.value == at;
        };
        if (!sameTime(i - 1) || sameTime(i - 2))
            continue;
        qsizetype more = 0;
        while (sameTime(i + 1 + more))
            ++more;
        const QString names =
            more == 0 ? QStringLiteral("\"%1\" and \"%2\" are both").arg(ordered[i - 1].Name, a.Name)
                      : QStringLiteral("\"%1\", \"%2\" and %3 more are all")
                            .arg(ordered[i - 1].Name, a.Name)
                            .arg(more);
        out.append({PlanFinding::Advice,
                    sayTo(audience, "%1 at %2; the entertainer can only announce one at a time.",
                          "%1 at %2; only one can be announced at a time.")
                        .arg(names, PlanFacts::timeText(at)),
                    Schedule, a.Key});
    }
    int unknown = 0;
    const qint64 total = PlanFacts::totalSeconds(plan.Include, &unknown);
    if (total > evening.length)
        out.append(
            {PlanFinding::Advice,
             (audience == ForCouple
                  ? QStringLiteral("Your songs to play last %1, longer than the %2 from start to "
                                   "end; not all of them can be played.")
                        .arg(PlanFacts::durationText(total), PlanFacts::durationText(evening.length))
                  : QStringLiteral("The couple's must-play list holds %1 of music for a %2 "
                                   "evening; not all of it can be played.")
                        .arg(PlanFacts::hoursText(total), PlanFacts::hoursText(evening.length))),
             Include, -1});
}

void checkPeople(const EventPlan& plan, const QDate& today, Audience audience,
                 QList<PlanFinding>& out)
{
    for (qsizetype i = 0; i < plan.Party.size(); ++i)
        if (const PartyMember& m = plan.Party[i];
            m.Escort.trimmed().isEmpty() &&
            !(m.EscortRole.trimmed().isEmpty() && m.EscortPronunciation.trimmed().isEmpty()))
            out.append({PlanFinding::Problem,
                        QStringLiteral("%1 has an escort's role or pronunciation but no escort's "
                                       "name.")
                            .arg(m.Name.trimmed()),
                        Party, i});
    auto reachable = [](const PersonRecord& p) {
        return !(p.Phone1.trimmed().isEmpty() && p.Phone2.trimmed().isEmpty() &&
                 p.Phone3.trimmed().isEmpty() && p.Email.trimmed().isEmpty());
    };
    if (!reachable(plan.Bride) && !reachable(plan.Groom))
        out.append({PlanFinding::Problem,
                    sayTo(audience, "There is no phone number and no e-mail address for either of you, so the entertainer cannot reach you before the event.",
                        "There is no phone number and no e-mail address for the bride or the groom."),
                    BrideAndGroom, -1});
    if (plan.Times.Date.isGiven() && plan.Times.Date.value < today)
        out.append({PlanFinding::Problem,
                    QStringLiteral("The event date, %1, is in the past.")
                        .arg(PlanFacts::dateText(plan.Times.Date.value)),
                    Event, -1});
    if (plan.Times.Date.state == PlanValue<QDate>::NotGiven)
        out.append({PlanFinding::Problem,
                    QStringLiteral("The date of the event is not chosen yet."), Event, -1});
    if (plan.Times.Date.state == PlanValue<QDate>::Unreadable)
        out.append({PlanFinding::Problem,
                    QStringLiteral("The date of the event cannot be read; choose it again."),
                    Event, -1});
    const PlanFacts::Evening evening = PlanFacts::eveningOf(plan.Times);
    const QTime setup = plan.Times.Setup.value;
    if (plan.Times.Setup.isGiven() && setup != plan.Times.Start.value &&
        PlanFacts::placeInEvening(evening, setup) == PlanFacts::Place::Within)
        out.append({PlanFinding::Problem,
                    QStringLiteral("The setup time, %1, is after the start (%2).")
                        .arg(PlanFacts::timeText(setup),
                             PlanFacts::timeText(plan.Times.Start.value)),
                    Event, -1});

    qint64 person = 0; // 0 the bride, 1 the groom
    for (const auto& [record, role] :
         {std::pair{&plan.Bride, "the bride"}, std::pair{&plan.Groom, "the groom"}}) {
        if (!record->Name.trimmed().isEmpty() && record->Pronunciation.trimmed().isEmpty())
            out.append({PlanFinding::Advice,
                        sayTo(audience, "Say how to pronounce the name of %1, %2, so the entertainer says it right.",
                            "No pronunciation is given for %1, %2; ask the couple before the event.")
                            .arg(QLatin1String(role), record->Name.trimmed()),
                        BrideAndGroom, person});
        ++person;
    }
    QStringList unsaid;
    qint64 firstUnsaid = -1;
    for (qsizetype i = 0; i < plan.Party.size(); ++i) {
        const PartyMember& m = plan.Party[i];
        const qsizetype before = unsaid.size();
        if (!m.Name.trimmed().isEmpty() && m.Pronunciation.trimmed().isEmpty())
            unsaid.append(m.Name.trimmed());
        if (!m.Escort.trimmed().isEmpty() && m.EscortPronunciation.trimmed().isEmpty())
            unsaid.append(m.Escort.trimmed());
        if (firstUnsaid < 0 && unsaid.size() > before)
            firstUnsaid = i;
    }
    if (!unsaid.isEmpty())
        out.append({PlanFinding::Advice,
                    sayTo(audience, "Say how to pronounce the names of the bridal party still without one: %1.",
                        "No pronunciation is given for these names of the bridal party: %1.")
                        .arg(unsaid.join(QStringLiteral(", "))),
                    Party, firstUnsaid});
}

} // namespace

QList<PlanFinding> run(const EventPlan& plan, const QDate& today, Audience audience)
{
    QList<PlanFinding> out;
    checkPeople(plan, today, audience, out);
    const PlanSongIndex exclude(plan.Exclude);
    checkSchedule(plan, exclude, audience, out);
    checkLists(plan, exclude, audience, out);
    std::stable_sort(out.begin(), out.end(), [](const PlanFinding& a, const PlanFinding& b) {
        return a.severity != b.severity ? a.severity < b.severity : a.page < b.page;
    });
    return out;
}

bool hasProblem(const QList<PlanFinding>& findings)
{
    return std::any_of(findings.begin(), findings.end(),
                       [](const PlanFinding& f) { return f.severity == PlanFinding::Problem; });
}

QString pageName(int page)
{
    static const char* const names[] = {"Welcome",    "Bride & Groom", "Your Event",
                                        "Your EmCee", "Bridal Party",  "Event Schedule",
                                        "Music",      "Include",       "Exclude"};
    return page >= 0 && page < int(std::size(names)) ? QLatin1String(names[page]) : QString();
}

QString severityName(PlanFinding::Severity severity)
{
    return severity == PlanFinding::Problem ? QStringLiteral("Problem") : QStringLiteral("Advice");
}

} // namespace PlanChecks
