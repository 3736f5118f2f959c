#pragma once

#include "store/EventPlan.h"

#include <QList>
#include <QString>

#include <optional>

// Small facts about an event that the document, the checks and the exports share: where an
// activity falls in the evening, how long a song plays, whether two songs are the same, and
// the fixed US English forms of dates, times and lengths.
namespace PlanFacts
{

constexpr int kDay = 24 * 60 * 60;

// Seconds since midnight of a time of day.
int secondOfDay(const QTime& time);

// The evening runs from the start time for `length` seconds; an end time at or before the
// start lies on the next day (an event from 8 PM to 1 AM). Times not given are the page's.
struct Evening {
    int start = 0;
    int length = 0;
};
Evening eveningOf(const PlanTimes& times);

// Seconds from the evening's start to a time of day, 0 .. one day: an activity at 12:30 AM of
// an evening that started at 6 PM lies 6.5 hours in.
int offsetInEvening(const Evening& evening, const QTime& time);

// Where a time falls: inside the evening, or nearer its start or its end when outside.
enum class Place { Before, Within, After };
Place placeInEvening(const Evening& evening, const QTime& time);
// Seconds from the evening's start, negative for an activity before it.
int evenSecond(const Evening& evening, const QTime& time);

// The schedule in the order of the evening (time from the start, then name), activities
// without a readable time last. Sorting keys are worked out once per activity.
QList<ScheduledActivity> eveningOrder(const QList<ScheduledActivity>& schedule,
                                      const Evening& evening);
// For each activity of an ordered schedule, the seconds until the next activity that starts
// later, or until the evening's end; no value for an activity without a readable time.
QList<std::optional<int>> slotLengths(const QList<ScheduledActivity>& ordered,
                                      const Evening& evening);

// The total playing time of a list; songs without a readable length count nothing and are
// counted in `unknown` when given.
qint64 totalSeconds(const QList<PlanSong>& songs, int* unknown = nullptr);

// "At Last" by Etta James.
QString songLabel(const QString& title, const QString& artist);

// "Saturday, April 20, 2002"; "6:30 PM"; "3:02" or "1:02:05"; "3 h 10 min".
QString dateText(const QDate& date);
QString timeText(const QTime& time);
QString timeOfDayText(int secondOfDay);
QString durationText(qint64 seconds);
QString hoursText(qint64 seconds);

// An answer as the plan prints it: "not chosen yet" when never given, "unreadable" when the
// stored text is no such value.
extern const QString kNotChosen;
extern const QString kUnreadable;
QString answerText(const PlanValue<QDate>& date);
QString answerText(const PlanValue<QTime>& time);
QString answerText(const PlanValue<QString>& text);
QString lengthText(const PlanValue<int>& length); // empty when not given

// The couple as the plan names them: "Anna Smith & Ben Jones".
QString coupleNames(const EventPlan& plan);

// A stored multi-line text (CR LF between lines) with plain line feeds, trimmed.
QString lines(const QString& stored);

// A name set apart from the text around it by Unicode's first-strong isolate, so a name in
// a right-to-left script does not reorder the words beside it.
QString isolated(const QString& name);
// HTML with each isolated name as a <bdi> element, as a browser isolates it by direction;
// only from `from` on, what comes before is kept as it is.
QString bdiMarkup(const QString& html, qsizetype from = 0);

// A text as the pages print it: at most `longest` characters, with a break allowed every 60
// characters of a run without spaces, so it wraps instead of running off the page. A text
// over kLongestText characters (damage, or a paste gone wrong, that would bury the plan) ends
// with how many more it holds; one cut shorter ends with an ellipsis.
constexpr qsizetype kLongestText = 4000;
QString printable(const QString& text, qsizetype longest = kLongestText);

} // namespace PlanFacts
