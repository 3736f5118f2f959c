#pragma once

#include "store/EventPlan.h"

#include <QByteArray>
#include <QDateTime>
#include <QString>

// The event's lists in the forms other programs read: the song lists as CSV (RFC 4180,
// UTF-8 with a byte-order mark, a header row), the schedule as an iCalendar file (RFC 5545):
// the reception, its setup and one event per timed activity, in the computer's time zone. The
// playlists of the songs' files are DjExport's.
namespace PlanExport
{

QByteArray csv(const QList<PlanSong>& songs);
// `stamp` is when the calendar was made (its DTSTAMP, in UTC). Each event keeps its UID from
// one export to the next: the couple's names and the activity's row key.
QByteArray ics(const EventPlan& plan, const QDateTime& stamp);

// Writes include.csv, exclude.csv and schedule.ics into
// `folder` (made when missing). Each file is replaced only when complete. False with
// `error` naming the file and the reason.
bool writeAll(const EventPlan& plan, const QString& folder, const QDateTime& stamp, QString* error);

} // namespace PlanExport
