#include "PlanFacts.h"

#include "platform/OleDate.h"

#include <QLocale>
#include <QTime>

#include <algorithm>

namespace PlanFacts
{

int secondOfDay(double value)
{
    return OleDate::timePart(value).msecsSinceStartOfDay() / 1000;
}

Evening eveningOf(const EventTimes& times)
{
    const int start = secondOfDay(times.StartTime);
    int length = (secondOfDay(times.EndTime) - start + kDay) % kDay;
    if (length == 0)
        length = kDay; // an end at the start's time of day is the next day's
    return {start, length};
}

int offsetInEvening(const Evening& evening, double value)
{
    return (secondOfDay(value) - evening.start + kDay) % kDay;
}

Place placeInEvening(const Evening& evening, double value)
{
    const int offset = offsetInEvening(evening, value);
    if (offset <= evening.length)
        return Place::Within;
    // Outside: whichever edge of the evening the time is nearer to.
    return offset - evening.length <= kDay - offset ? Place::After : Place::Before;
}

QList<ScheduledActivity> eveningOrder(const QList<ScheduledActivity>& schedule,
                                      const Evening& evening)
{
    QList<ScheduledActivity> ordered = schedule;
    auto rank = [&](const ScheduledActivity& a) {
        if (!a.Scheduled)
            return 2 * kDay;
        // An activity placed before the start is listed first, not after midnight.
        return placeInEvening(evening, *a.Scheduled) == Place::Before
                   ? offsetInEvening(evening, *a.Scheduled) - kDay
                   : offsetInEvening(evening, *a.Scheduled);
    };
    std::stable_sort(ordered.begin(), ordered.end(),
                     [&](const ScheduledActivity& a, const ScheduledActivity& b) {
                         const int ra = rank(a), rb = rank(b);
                         if (ra != rb)
                             return ra < rb;
                         return a.Name.compare(b.Name, Qt::CaseInsensitive) < 0;
                     });
    return ordered;
}

std::optional<int> lengthSeconds(const QString& length)
{
    const QStringList parts = length.trimmed().split(QLatin1Char(':'));
    if (parts.size() > 3)
        return std::nullopt;
    int total = 0;
    for (int i = 0; i < parts.size(); ++i) {
        bool ok = false;
        const int n = parts[i].toInt(&ok);
        if (!ok || n < 0 || (i > 0 && (n > 59 || parts[i].size() != 2)))
            return std::nullopt;
        total = total * 60 + n;
    }
    return total;
}

int totalSeconds(const QList<PickedSongRecord>& songs, int* unknown)
{
    int total = 0;
    int missing = 0;
    for (const PickedSongRecord& s : songs) {
        if (const auto seconds = lengthSeconds(s.Length))
            total += *seconds;
        else
            ++missing;
    }
    if (unknown)
        *unknown = missing;
    return total;
}

namespace
{
bool sameText(const QString& a, const QString& b)
{
    return a.trimmed().compare(b.trimmed(), Qt::CaseInsensitive) == 0;
}
} // namespace

bool sameSong(const PickedSongRecord& a, const PickedSongRecord& b)
{
    if (a.Key > 0 && a.Key == b.Key)
        return true;
    return !a.Title.trimmed().isEmpty() && sameText(a.Title, b.Title) &&
           sameText(a.Artist, b.Artist);
}

bool sameSong(const ScheduledActivity& activity, const PickedSongRecord& song)
{
    if (activity.SongTitle.trimmed().isEmpty())
        return false;
    return sameSong(PickedSongRecord{activity.SongKey.value_or(0), activity.SongTitle,
                                     activity.SongArtist, QString()},
                    song);
}

QString songLabel(const QString& title, const QString& artist)
{
    const QString quoted = QStringLiteral("\"%1\"").arg(title.trimmed());
    return artist.trimmed().isEmpty() ? quoted
                                      : QStringLiteral("%1 by %2").arg(quoted, artist.trimmed());
}

QString dateText(double value)
{
    return QLocale(QLocale::English, QLocale::UnitedStates)
        .toString(OleDate::datePart(value), QStringLiteral("dddd, MMMM d, yyyy"));
}

QString timeOfDayText(int secondOfDay)
{
    return QLocale(QLocale::English, QLocale::UnitedStates)
        .toString(QTime(0, 0).addSecs(secondOfDay), QStringLiteral("h:mm AP"));
}

QString timeText(double value)
{
    return timeOfDayText(secondOfDay(value));
}

QString durationText(int seconds)
{
    const int h = seconds / 3600, m = seconds / 60 % 60, s = seconds % 60;
    if (h > 0)
        return QStringLiteral("%1:%2:%3")
            .arg(h)
            .arg(m, 2, 10, QLatin1Char('0'))
            .arg(s, 2, 10, QLatin1Char('0'));
    return QStringLiteral("%1:%2").arg(m).arg(s, 2, 10, QLatin1Char('0'));
}

QString coupleNames(const EventPlan& plan)
{
    QStringList names;
    for (const QString& n : {plan.Bride.Name.trimmed(), plan.Groom.Name.trimmed()})
        if (!n.isEmpty())
            names.append(n);
    return names.join(QStringLiteral(" & "));
}

QString lines(const QString& stored)
{
    QString text = stored;
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"))
        .replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return text.trimmed();
}

} // namespace PlanFacts
