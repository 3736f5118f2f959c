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

// Seconds since midnight of a stored date-time value's time of day.
int secondOfDay(double value);

// The evening runs from the start time's time of day for `length` seconds; an end time at or
// before the start's time of day lies on the next day (an event from 8 PM to 1 AM).
struct Evening {
    int start = 0;
    int length = 0;
};
Evening eveningOf(const EventTimes& times);

// Seconds from the evening's start to a time of day, 0 .. one day: an activity at 12:30 AM of
// an evening that started at 6 PM lies 6.5 hours in.
int offsetInEvening(const Evening& evening, double value);

// Where a time falls: inside the evening, or nearer its start or its end when outside.
enum class Place { Before, Within, After };
Place placeInEvening(const Evening& evening, double value);

// The schedule in the order of the evening (time from the start, then name), activities
// without a time last.
QList<ScheduledActivity> eveningOrder(const QList<ScheduledActivity>& schedule,
                                      const Evening& evening);

// The playing time of a song's length text ("3:02", "1:02:05", "185"); no value when the
// text is not a length.
std::optional<int> lengthSeconds(const QString& length);
// The total playing time of a list; songs without a readable length count nothing and are
// counted in `unknown` when given.
int totalSeconds(const QList<PickedSongRecord>& songs, int* unknown = nullptr);

// The same song: the same catalogue key, or the same title and artist ignoring case and
// surrounding blanks.
bool sameSong(const PickedSongRecord& a, const PickedSongRecord& b);
bool sameSong(const ScheduledActivity& activity, const PickedSongRecord& song);

// "At Last" by Etta James.
QString songLabel(const QString& title, const QString& artist);

// "Saturday, April 20, 2002"; "6:30 PM"; "3:02" or "1:02:05".
QString dateText(double value);
QString timeText(double value);
QString timeOfDayText(int secondOfDay);
QString durationText(int seconds);

// The couple as the plan names them: "Anna Smith & Ben Jones".
QString coupleNames(const EventPlan& plan);

// A stored multi-line text (CR LF between lines) with plain line feeds, trimmed.
QString lines(const QString& stored);

} // namespace PlanFacts
