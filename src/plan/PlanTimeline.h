#pragma once

#include "store/EventPlan.h"

#include <QImage>

// The picture of the evening: a line from the start time to the end time drawn to scale,
// hour marks along it, and each timed activity marked where it falls with its number in the
// schedule and its name. Labels that would overlap move down to a free row.
namespace PlanTimeline
{

// `width` in logical pixels; the picture is drawn `scale` times finer for print.
QImage draw(const EventPlan& plan, int width, qreal scale = 3.0);

} // namespace PlanTimeline
