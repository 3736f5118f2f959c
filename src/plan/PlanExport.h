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
// One calendar holding the events of several plans (those with a date), each as above.
QByteArray ics(const QList<EventPlan>& plans, const QDateTime& stamp);

// The names recorded in the couple's own voices, in the plan's order (the bride, the groom,
// then each member of the party and the escort), each with the file name it is exported
// under: "01 Anna Smith.opus", numbered from 01, characters no file name may hold replaced.
struct RecordedName {
    QString FileName;
    QByteArray Recording;
};
QList<RecordedName> recordedNames(const EventPlan& plan);

// Writes include.csv, exclude.csv and schedule.ics into `folder` (made when missing), and
// the recorded names into its sub-folder names/, where the files an earlier export wrote
// for names no longer recorded are removed (files of other names are left alone). Each file
// is replaced only when complete. False with `error` naming the file and the reason.
bool writeAll(const EventPlan& plan, const QString& folder, const QDateTime& stamp, QString* error);

} // namespace PlanExport
