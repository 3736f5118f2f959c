#pragma once

#include "plan/PlanFinding.h"
#include "plan/PlanSongIndex.h"
#include "store/EventPlan.h"

#include <QList>
#include <QString>
#include <QStringList>

// The plan's content in reading order, independent of its form: sections of labelled
// values, tables, names to pronounce and pictures. The PDF, the HTML file, the window and
// the plain text are all rendered from it, so they cannot say different things.
struct PlanBlock {
    enum Kind {
        Fields,   // label / value pairs (values may hold several lines)
        Names,    // person, role, pronunciation: the pronunciation set large
        Table,    // header and rows; never split across pages
        Findings, // the checks: severity, text, page
        Picture,  // a picture by its resource name, with a caption
        Note,     // one line of text, set bold
        Text      // a paragraph of plain text
    };
    Kind kind = Fields;
    QString title;                        // a sub-heading, may be empty
    QList<QPair<QString, QString>> pairs; // Fields: label, value; Names: role and name, saying
    QStringList header;                   // Table
    QList<int> widths;                    // Table: each column's share of the width in %, or none
    QList<QStringList> rows;              // Table, Findings (severity, text, page name);
                                          // Names (name, role, saying, recording in base 64)
    QList<QList<QPair<QString, QString>>> sounds; // Table: each row's recorded names (name,
                                                  // recording in base 64), played in HTML
    QString picture;                      // Picture: "timeline" or "dress"
    QString text;                         // Note, Text; Picture: caption
};

struct PlanSection {
    QString title;
    QList<PlanBlock> blocks;
};

// The outline of an event. The title block comes first (without a section title), then the
// findings, then each part of the event that holds anything.
namespace PlanOutline
{

struct TitleBlock {
    QString couple; // "Anna Smith & Ben Jones"
    QString date;   // "Saturday, April 20, 2002"
    QString place;  // the facility's name
    QString times;  // "6:00 PM to 10:00 PM (setup from 4:00 PM)"
};
TitleBlock titleOf(const EventPlan& plan);

// An activity's time as the schedule prints it ("-" when none was given), and its song:
// "\"At Last\" by Etta James (3:02)", with "music provided" and a do-not-play mark.
QString activityTime(const PlanValue<QTime>& time);
// `include` and `exclude`: the couple's two lists.
QString activitySong(const ScheduledActivity& activity, const PlanSongIndex& include,
                     const PlanSongIndex& exclude);

QList<PlanSection> build(const EventPlan& plan, const QList<PlanFinding>& findings,
                         bool dressPicture);

} // namespace PlanOutline
