#pragma once

#include "plan/PlanFinding.h"
#include "plan/PlanOutline.h"
#include "store/EventPlan.h"

// The entertainer's run sheet: what is needed on the night, on at most two pages for a full
// event. A head with the couple, the date, the place and whom to call; the schedule as the
// spine (time, length until the next activity, who with each name's pronunciation, the song
// with its length); the grand entrance as lines to read aloud, in the party's order with the
// couple last; the must-play songs as a checklist with their total; the do-not-play songs;
// the music to avoid; the checks. A name recorded in the person's own voice is marked with a
// note wherever it stands, and the HTML file plays it beside the entrance line.
namespace RunSheet
{

QList<PlanSection> build(const EventPlan& plan, const QList<PlanFinding>& findings);

// One line of the grand entrance: "Carla Diaz (CAR-lah DEE-ahs), Maid of Honor, escorted by
// Dmitri Evans (DMEE-tree), Best Man". Names are set apart by direction; a recorded one is
// marked.
QString entranceLine(const PartyMember& member);
// A schedule's "who" with the pronunciation of every known name in it beside the name.
QString whoWithSayings(const EventPlan& plan, const QString& who);

} // namespace RunSheet
