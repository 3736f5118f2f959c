#pragma once

#include <QDate>
#include <QDateTime>
#include <QString>
#include <QTime>

#include <optional>

// Date-time values as the stored files hold them: a day count since 30 December 1899,
// the fraction being the time of day. All texts are in fixed US English forms whatever
// the machine's locale, so a file written on one machine reads the same on another.
namespace OleDate
{

// The day-count value of a date and a time of day (seconds precision).
double fromDateTime(const QDate& date, const QTime& time = QTime(0, 0));
double fromDateTime(const QDateTime& dateTime);
double fromTime(const QTime& time); // a time alone: date part zero

QDate datePart(double value);
QTime timePart(double value); // rounded to the second
QDateTime toDateTime(double value);

// Decimal day-count text: "37366" for 20 April 2002, fractions kept ("37366.75").
QString toDayCountText(double value);

// General date-time text: "4/20/2002 6:30:00 PM"; a value with no time of day is the
// date alone ("4/20/2002"); a value whose date part is zero is the time alone with
// seconds ("6:00:00 PM").
QString toGeneralText(double value);

// Reads the day-count text, the general text and the short forms users and defaults give
// ("6:00 PM", "10:00 PM", "18:30", "4/20/2002"). Anything else has no value.
std::optional<double> fromText(const QString& text);

} // namespace OleDate
