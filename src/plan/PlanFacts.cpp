#include "PlanFacts.h"


#include <QLocale>
#include <QTime>

#include <algorithm>
#include <vector>

namespace PlanFacts
{

const QString kNotChosen = QStringLiteral("not chosen yet");
const QString kUnreadable = QStringLiteral("unreadable");

int secondOfDay(const QTime& time)
{
    return time.isValid() ? time.msecsSinceStartOfDay() / 1000 : 0;
}

Evening eveningOf(const PlanTimes& times)
{
    const int start = secondOfDay(times.Start.value);
    int length = (secondOfDay(times.End.value) - start + kDay) % kDay;
    if (length == 0)
        length = kDay; // an end at the start's time of day is the next day's
    return {start, length};
}

int offsetInEvening(const Evening& evening, const QTime& time)
{
    return (secondOfDay(time) - evening.start + kDay) % kDay;
}

Place placeInEvening(const Evening& evening, const QTime& time)
{
    const int offset = offsetInEvening(evening, time);
    if (offset <= evening.length)
        return Place::Within;
    // Outside: whichever edge of the evening the time is nearer to.
    return offset - evening.length <= kDay - offset ? Place::After : Place::Before;
}

int evenSecond(const Evening& evening, const QTime& time)
{
    const int offset = offsetInEvening(evening, time);
    return placeInEvening(evening, time) == Place::Before ? offset - kDay : offset;
}

QList<ScheduledActivity> eveningOrder(const QList<ScheduledActivity>& schedule,
                                      const Evening& evening)
{
    // An activity placed before the start is listed first, not after midnight.
    std::vector<std::pair<int, qsizetype>> keys;
    keys.reserve(schedule.size());
    for (qsizetype i = 0; i < schedule.size(); ++i)
        keys.emplace_back(schedule[i].Time.isGiven() ? evenSecond(evening, schedule[i].Time.value)
                                                     : 2 * kDay,
                          i);
    std::stable_sort(keys.begin(), keys.end(), [&](const auto& a, const auto& b) {
        if (a.first != b.first)
            return a.first < b.first;
        return schedule[a.second].Name.compare(schedule[b.second].Name, Qt::CaseInsensitive) < 0;
    });
    QList<ScheduledActivity> ordered;
    ordered.reserve(schedule.size());
    for (const auto& k : keys)
        ordered.append(schedule[k.second]);
    return ordered;
}

QList<std::optional<int>> slotLengths(const QList<ScheduledActivity>& ordered,
                                      const Evening& evening)
{
    QList<std::optional<int>> out(ordered.size());
    // From the last activity back: the start of the next later one is carried along, so a
    // run of activities at one time costs no nested search.
    int nextStart = evening.length;
    int sameFrom = evening.length;
    for (qsizetype i = ordered.size() - 1; i >= 0; --i) {
        if (!ordered[i].Time.isGiven())
            continue;
        const int at = evenSecond(evening, ordered[i].Time.value);
        if (at < nextStart) {
            sameFrom = nextStart;
            nextStart = at;
        }
        out[i] = qMax(0, (at == nextStart ? sameFrom : nextStart) - at);
    }
    return out;
}

qint64 totalSeconds(const QList<PlanSong>& songs, int* unknown)
{
    qint64 total = 0;
    int missing = 0;
    for (const PlanSong& s : songs) {
        if (s.Length.isGiven())
            total += s.Length.value;
        else
            ++missing;
    }
    if (unknown)
        *unknown = missing;
    return total;
}

QString songLabel(const QString& title, const QString& artist)
{
    const QString quoted = QStringLiteral("\"%1\"").arg(title.trimmed());
    return artist.trimmed().isEmpty() ? quoted
                                      : QStringLiteral("%1 by %2").arg(quoted, artist.trimmed());
}

QString dateText(const QDate& date)
{
    return QLocale(QLocale::English, QLocale::UnitedStates)
        .toString(date, QStringLiteral("dddd, MMMM d, yyyy"));
}

QString timeOfDayText(int secondOfDay)
{
    return QLocale(QLocale::English, QLocale::UnitedStates)
        .toString(QTime(0, 0).addSecs(secondOfDay), QStringLiteral("h:mm AP"));
}

QString timeText(const QTime& time)
{
    return timeOfDayText(secondOfDay(time));
}

QString durationText(qint64 seconds)
{
    const qint64 h = seconds / 3600, m = seconds / 60 % 60, s = seconds % 60;
    if (h > 0)
        return QStringLiteral("%1:%2:%3")
            .arg(h)
            .arg(m, 2, 10, QLatin1Char('0'))
            .arg(s, 2, 10, QLatin1Char('0'));
    return QStringLiteral("%1:%2").arg(m).arg(s, 2, 10, QLatin1Char('0'));
}

QString hoursText(qint64 seconds)
{
    const qint64 minutes = (seconds + 30) / 60;
    if (minutes < 60)
        return QStringLiteral("%1 min").arg(minutes);
    return minutes % 60 ? QStringLiteral("%1 h %2 min").arg(minutes / 60).arg(minutes % 60)
                        : QStringLiteral("%1 h").arg(minutes / 60);
}

namespace
{
template <typename T, typename F>
QString stateText(const PlanValue<T>& v, F given)
{
    switch (v.state) {
    case PlanValue<T>::Given:
        return given(v.value);
    case PlanValue<T>::Unreadable:
        return kUnreadable;
    case PlanValue<T>::NotGiven:
        break;
    }
    return kNotChosen;
}
} // namespace

QString answerText(const PlanValue<QDate>& date)
{
    return stateText(date, [](const QDate& d) { return dateText(d); });
}

QString answerText(const PlanValue<QTime>& time)
{
    return stateText(time, [](const QTime& t) { return timeText(t); });
}

QString answerText(const PlanValue<QString>& text)
{
    return stateText(text, [](const QString& t) {
        return t.trimmed().isEmpty() ? kNotChosen : t.trimmed();
    });
}

QString lengthText(const PlanValue<int>& length)
{
    return length.state == PlanValue<int>::NotGiven
               ? QString()
               : stateText(length, [](int s) { return durationText(s); });
}

QString isolated(const QString& name)
{
    if (name.isEmpty())
        return name;
    // The name's own direction controls are left out: one could end the isolate early or
    // turn the words beside it around.
    QString inner = name;
    inner.removeIf([](QChar c) {
        return (c.unicode() >= 0x202A && c.unicode() <= 0x202E) ||
               (c.unicode() >= 0x2066 && c.unicode() <= 0x2069);
    });
    return QChar(0x2068) + inner + QChar(0x2069);
}

QString bdiMarkup(const QString& html, qsizetype from)
{
    // An isolate that closes before any tag and before another one opens; one pass, so a page
    // of a hundred megabytes is copied once.
    const QChar open(0x2068), close(0x2069);
    QString out;
    qsizetype copied = 0;
    for (qsizetype at = html.indexOf(open, from); at >= 0; at = html.indexOf(open, at + 1)) {
        qsizetype end = at + 1;
        while (end < html.size() && html[end] != open && html[end] != close &&
               html[end] != QLatin1Char('<'))
            ++end;
        if (end == html.size() || html[end] != close)
            continue;
        if (copied == 0)
            out.reserve(html.size() + html.size() / 8);
        out += QStringView(html).sliced(copied, at - copied);
        out += QLatin1String("<bdi>");
        out += QStringView(html).sliced(at + 1, end - at - 1);
        out += QLatin1String("</bdi>");
        copied = end + 1;
        at = end;
    }
    if (copied == 0)
        return html;
    out += QStringView(html).sliced(copied);
    return out;
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

QString printable(const QString& text, qsizetype longest)
{
    constexpr qsizetype kLongestRun = 60;
    longest = qMin(longest, kLongestText);
    // The text itself while it needs neither a break nor a cut: most texts are shown
    // without a copy.
    QString out;
    bool copying = false;
    const auto copy = [&](qsizetype upTo) {
        out.reserve(qMin(text.size(), longest) + 64);
        out += QStringView(text).left(upTo);
        copying = true;
    };
    if (text.size() > longest)
        copy(0);
    qsizetype run = 0;
    for (qsizetype i = 0; i < text.size() && i < longest; ++i) {
        const QChar c = text[i];
        run = c.isSpace() || c == QLatin1Char('-') ? 0 : run + 1;
        if (run > kLongestRun && !c.isLowSurrogate()) {
            if (!copying)
                copy(i);
            out += QChar(0x200B); // zero width space: a place to break the line
            run = 1;
        }
        if (copying)
            out += c;
    }
    if (!copying)
        return text;
    if (text.size() > longest && !out.isEmpty() && out.back().isHighSurrogate())
        out.chop(1); // never half a character
    if (text.size() > longest)
        out += longest < kLongestText
                   ? QString(QChar(0x2026))
                   : QStringLiteral("... (%1 more characters not shown)").arg(text.size() - longest);
    return out;
}

} // namespace PlanFacts
