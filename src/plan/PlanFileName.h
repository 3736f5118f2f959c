#pragma once

#include "store/EventPlan.h"

#include <QString>

// The name a file of an event goes by outside the wizard's folder: the date of the event and
// the couple, "2027-06-12 Anna Smith & Benedikt Jovanovic.feteplan". Without a date the names
// alone, without date and names "Reception plan". Characters a file system refuses (on any of
// the systems the file may travel to) become "-", and the name stays short enough for every
// one of them.
namespace PlanFileName
{
// `extension` without the dot: "feteplan", "pdf".
QString of(const EventPlan& plan, const QString& extension);
} // namespace PlanFileName
