#include "PlanChecks.h"

#include "plan/PlanFacts.h"
#include "platform/OleDate.h"

#include <algorithm>

namespace PlanChecks
{
namespace
{

using PlanFacts::sameSong;
using PlanFacts::songLabel;

QString label(const PickedSongRecord& s)
{
    return songLabel(s.Title, s.Artist);
}

void checkLists(const EventPlan& plan, QList<PlanFinding>& out)
{
    for (qsizetype i = 0; i < plan.Include.size(); ++i)
        for (const PickedSongRecord& ex : plan.Exclude)
            if (sameSong(plan.Include[i], ex)) {
                out.append({PlanFinding::Problem,
                            QStringLiteral("%1 is on both your songs to play and your songs not "
                                           "to play; take it off one of the lists.")
                                .arg(label(plan.Include[i])),
                            Include, i});
                break;
            }
    const struct {
        const QList<PickedSongRecord>& songs;
        const char* name;
        Page page;
    } lists[] = {{plan.Include, "songs to play", Include},
                 {plan.Exclude, "songs not to play", Exclude}};
    for (const auto& list : lists)
        for (qsizetype i = 0; i < list.songs.size(); ++i)
            for (qsizetype j = 0; j < i; ++j)
                if (sameSong(list.songs[i], list.songs[j])) {
                    out.append({PlanFinding::Advice,
                                QStringLiteral("%1 is twice on your %2.")
                                    .arg(label(list.songs[i]), QLatin1String(list.name)),
                                list.page, i});
                    break;
                }
}

void checkSchedule(const EventPlan& plan, QList<PlanFinding>& out)
{
    const PlanFacts::Evening evening = PlanFacts::eveningOf(plan.Times);
    const QList<ScheduledActivity> ordered = PlanFacts::eveningOrder(plan.Schedule, evening);
    for (qsizetype i = 0; i < ordered.size(); ++i) {
        const ScheduledActivity& a = ordered[i];
        for (const PickedSongRecord& ex : plan.Exclude)
            if (sameSong(a, ex)) {
                out.append({PlanFinding::Problem,
                            QStringLiteral("The song for \"%1\", %2, is on your songs not to "
                                           "play.")
                                .arg(a.Name, label(ex)),
                            Schedule, a.Key});
                break;
            }
        if (!a.Scheduled)
            continue;
        const PlanFacts::Place place = PlanFacts::placeInEvening(evening, *a.Scheduled);
        if (place == PlanFacts::Place::Before)
            out.append({PlanFinding::Problem,
                        QStringLiteral("\"%1\" at %2 is before the event starts (%3).")
                            .arg(a.Name, PlanFacts::timeText(*a.Scheduled),
                                 PlanFacts::timeText(plan.Times.StartTime)),
                        Schedule, a.Key});
        else if (place == PlanFacts::Place::After)
            out.append({PlanFinding::Problem,
                        QStringLiteral("\"%1\" at %2 is after the event ends (%3).")
                            .arg(a.Name, PlanFacts::timeText(*a.Scheduled),
                                 PlanFacts::timeText(plan.Times.EndTime)),
                        Schedule, a.Key});
        if (i > 0 && ordered[i - 1].Scheduled &&
            PlanFacts::secondOfDay(*ordered[i - 1].Scheduled) ==
                PlanFacts::secondOfDay(*a.Scheduled))
            out.append({PlanFinding::Advice,
                        QStringLiteral("\"%1\" and \"%2\" are both at %3; the entertainer can "
                                       "only announce one at a time.")
                            .arg(ordered[i - 1].Name, a.Name, PlanFacts::timeText(*a.Scheduled)),
                        Schedule, a.Key});
    }
    int unknown = 0;
    const int total = PlanFacts::totalSeconds(plan.Include, &unknown);
    if (total > evening.length)
        out.append(
            {PlanFinding::Advice,
             QStringLiteral("Your songs to play last %1, longer than the %2 from start to "
                            "end; not all of them can be played.")
                 .arg(PlanFacts::durationText(total), PlanFacts::durationText(evening.length)),
             Include, -1});
}

void checkPeople(const EventPlan& plan, const QDate& today, QList<PlanFinding>& out)
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
                    QStringLiteral("There is no phone number and no e-mail address for either of "
                                   "you, so the entertainer cannot reach you before the event."),
                    BrideAndGroom, -1});
    if (plan.Times.DateStored && OleDate::datePart(plan.Times.EventDate) < today)
        out.append({PlanFinding::Problem,
                    QStringLiteral("The event date, %1, is in the past.")
                        .arg(PlanFacts::dateText(plan.Times.EventDate)),
                    Event, -1});
    if (!plan.Times.DateStored)
        out.append({PlanFinding::Problem,
                    QStringLiteral("The date of the event is not chosen yet."), Event, -1});

    qint64 person = 0;
    for (const auto& [record, role] :
         {std::pair{&plan.Bride, "the bride"}, std::pair{&plan.Groom, "the groom"}}) {
        if (!record->Name.trimmed().isEmpty() && record->Pronunciation.trimmed().isEmpty())
            out.append({PlanFinding::Advice,
                        QStringLiteral("Say how to pronounce the name of %1, %2, so the "
                                       "entertainer says it right.")
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
                    QStringLiteral("Say how to pronounce the names of the bridal party still "
                                   "without one: %1.")
                        .arg(unsaid.join(QStringLiteral(", "))),
                    Party, firstUnsaid});
}

} // namespace

QList<PlanFinding> run(const EventPlan& plan, const QDate& today)
{
    QList<PlanFinding> out;
    checkPeople(plan, today, out);
    checkSchedule(plan, out);
    checkLists(plan, out);
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
