#pragma once

#include "plan/PlanFinding.h"
#include "store/EventPlan.h"

#include <QDate>
#include <QList>

// The checks of a plan: what would trouble the entertainer on the evening, found before it.
// Pure: the same plan and day give the same findings, problems first, each group in the
// order of the wizard's pages.
namespace PlanChecks
{

// The wizard pages a finding points to.
enum Page {
    BrideAndGroom = 1,
    Event = 2,
    Entertainer = 3,
    Party = 4,
    Schedule = 5,
    Music = 6,
    Include = 7,
    Exclude = 8
};

// Whom the findings speak to: the couple in the wizard ("your songs"), the entertainer on
// the plan and the run sheet ("the couple's must-play list").
enum Audience { ForCouple, ForEntertainer };

QList<PlanFinding> run(const EventPlan& plan, const QDate& today, Audience audience = ForCouple);

bool hasProblem(const QList<PlanFinding>& findings);

// The page's name as the progress list shows it ("Bride & Groom").
QString pageName(int page);
// "Problem" or "Advice".
QString severityName(PlanFinding::Severity severity);

} // namespace PlanChecks
