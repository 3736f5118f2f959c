#include "OleDate.h"

#include <QRegularExpression>

#include <cmath>

namespace OleDate
{

namespace
{
const QDate kEpoch(1899, 12, 30);
constexpr double kSecondsPerDay = 86400.0;

// Splits a value into whole days and seconds of the day. For values before the epoch the
// fraction still counts forwards from midnight (-1.25 is 29 December 1899, 6:00 AM).
void split(double value, qint64& days, int& seconds)
{
    // A value no date can have (not a number, infinite, or far beyond any calendar, as a
    // damaged file may hold) gets a day count past the last date, so its date part is
    // invalid; converting it to a whole number as it stands would be undefined.
    constexpr double kBeyondAnyDate = 1e15;
    if (!(std::fabs(value) < kBeyondAnyDate)) {
        days = static_cast<qint64>(value < 0 ? -kBeyondAnyDate : kBeyondAnyDate);
        seconds = 0;
        return;
    }
    days = static_cast<qint64>(std::trunc(value));
    double fraction = std::fabs(value - std::trunc(value));
    qint64 secs = std::llround(fraction * kSecondsPerDay);
    if (secs >= 86400) { // rounding reached the next midnight
        secs -= 86400;
        days += value < 0 ? -1 : 1;
    }
    seconds = static_cast<int>(secs);
}

double combine(qint64 days, int seconds)
{
    const double fraction = seconds / kSecondsPerDay;
    return days >= 0 ? double(days) + fraction : double(days) - fraction;
}
} // namespace

double fromDateTime(const QDate& date, const QTime& time)
{
    const qint64 days = kEpoch.daysTo(date);
    const int seconds = time.isValid() ? time.msecsSinceStartOfDay() / 1000 : 0;
    return combine(days, seconds);
}

double fromDateTime(const QDateTime& dateTime)
{
    return fromDateTime(dateTime.date(), dateTime.time());
}

double fromTime(const QTime& time)
{
    return fromDateTime(kEpoch, time);
}

QDate datePart(double value)
{
    qint64 days;
    int seconds;
    split(value, days, seconds);
    return kEpoch.addDays(days);
}

QTime timePart(double value)
{
    qint64 days;
    int seconds;
    split(value, days, seconds);
    return QTime(0, 0).addSecs(seconds);
}

QDateTime toDateTime(double value)
{
    return QDateTime(datePart(value), timePart(value));
}

QString toDayCountText(double value)
{
    // Up to 15 significant digits, no exponent, no trailing zeros.
    QString text = QString::number(value, 'f', 10);
    if (text.contains(QLatin1Char('.'))) {
        while (text.endsWith(QLatin1Char('0')))
            text.chop(1);
        if (text.endsWith(QLatin1Char('.')))
            text.chop(1);
    }
    if (text == QLatin1String("-0"))
        text = QStringLiteral("0");
    return text;
}

static QString timeText(int seconds)
{
    const int h = seconds / 3600, m = (seconds / 60) % 60, s = seconds % 60;
    const int h12 = h % 12 == 0 ? 12 : h % 12;
    return QStringLiteral("%1:%2:%3 %4")
        .arg(h12)
        .arg(m, 2, 10, QLatin1Char('0'))
        .arg(s, 2, 10, QLatin1Char('0'))
        .arg(h < 12 ? QStringLiteral("AM") : QStringLiteral("PM"));
}

QString toGeneralText(double value)
{
    qint64 days;
    int seconds;
    split(value, days, seconds);
    if (days == 0)
        return timeText(seconds);
    const QDate d = kEpoch.addDays(days);
    const QString date = QStringLiteral("%1/%2/%3").arg(d.month()).arg(d.day()).arg(d.year());
    return seconds == 0 ? date : date + QLatin1Char(' ') + timeText(seconds);
}

std::optional<double> fromText(const QString& input)
{
    const QString text = input.trimmed();
    if (text.isEmpty())
        return std::nullopt;

    static const QRegularExpression dayCount(QStringLiteral("^[-+]?(\\d+\\.?\\d*|\\.\\d+)$"));
    if (dayCount.match(text).hasMatch()) {
        bool ok = false;
        const double v = text.toDouble(&ok);
        if (ok && std::isfinite(v) && std::fabs(v) < 3e6)
            return v;
        return std::nullopt;
    }

    // [m/d/yyyy] [h:mm[:ss] [AM|PM]]
    static const QRegularExpression general(
        QStringLiteral("^(?:(\\d{1,2})/(\\d{1,2})/(\\d{2,4}))?\\s*"
                       "(?:(\\d{1,2}):(\\d{2})(?::(\\d{2}))?\\s*([AaPp][Mm])?)?$"));
    const auto m = general.match(text);
    if (!m.hasMatch())
        return std::nullopt;
    const bool hasDate = m.capturedLength(1) > 0;
    const bool hasTime = m.capturedLength(4) > 0;
    if (!hasDate && !hasTime)
        return std::nullopt;

    QDate date = kEpoch;
    if (hasDate) {
        int year = m.captured(3).toInt();
        if (m.capturedLength(3) == 2) // two-digit years: 30..99 are 19xx, 00..29 are 20xx
            year += year < 30 ? 2000 : 1900;
        date = QDate(year, m.captured(1).toInt(), m.captured(2).toInt());
        if (!date.isValid())
            return std::nullopt;
    }
    int seconds = 0;
    if (hasTime) {
        int h = m.captured(4).toInt();
        const int min = m.captured(5).toInt();
        const int sec = m.capturedLength(6) ? m.captured(6).toInt() : 0;
        const QString ampm = m.captured(7).toUpper();
        if (!ampm.isEmpty()) {
            if (h < 1 || h > 12)
                return std::nullopt;
            if (ampm == QLatin1String("AM"))
                h = h == 12 ? 0 : h;
            else
                h = h == 12 ? 12 : h + 12;
        }
        if (h > 23 || min > 59 || sec > 59)
            return std::nullopt;
        seconds = h * 3600 + min * 60 + sec;
    }
    return combine(kEpoch.daysTo(date), seconds);
}

} // namespace OleDate
