#include "EventPlan.h"

#include "platform/OleDate.h"
#include "platform/VbConvert.h"
#include "store/EventItems.h"
#include "store/NameVoiceStore.h"
#include "store/StoreSession.h"
#include "store/StoreTransaction.h"

#include <QRegularExpression>

#include <cmath>

namespace
{
// A default no stored text can equal: tells an item never saved from a saved one.
const QString kNone = QStringLiteral("\x01none\x01");

constexpr int kLongestSong = 24 * 60 * 60;

PlanSong songOf(const PickedSongRecord& r)
{
    return {r.Key, r.Title, r.Artist, EventPlan::lengthOf(r.Length)};
}

ScheduledActivity activityOf(const ScheduleStore::Row& row)
{
    ScheduledActivity a;
    a.Key = row[ScheduleStore::DbKey].toLongLong();
    const QVariant& when = row[ScheduleStore::DtScheduled];
    bool ok = false;
    const double time = when.toDouble(&ok);
    a.Time = when.isNull() ? PlanValue<QTime>{}
             : ok          ? EventPlan::timeOf(time)
                           : PlanValue<QTime>{PlanValue<QTime>::Unreadable, QTime()};
    a.Name = row[ScheduleStore::Name].toString();
    if (!row[ScheduleStore::SongKey].isNull()) {
        // A key beyond the catalogue's 16 bits names no song of it.
        const qlonglong key = row[ScheduleStore::SongKey].toLongLong();
        if (key >= -32768 && key <= 32767)
            a.SongKey = qint16(key);
    }
    a.SongTitle = row[ScheduleStore::SongTitle].toString();
    a.SongArtist = row[ScheduleStore::SongArtist].toString();
    a.Who = row[ScheduleStore::Who].toString();
    a.MoreInfo = row[ScheduleStore::MoreInfo].toString();
    return a;
}

PlanValue<qint16> choiceOf(KeyedItemStore& items, const QString& key, qint16 fallback)
{
    const QString text = items.GetStrItem(key, kNone);
    if (text == kNone)
        return {PlanValue<qint16>::NotGiven, fallback};
    const qint16 index = VbConvert::leadingInt16(text);
    if (index < 0 || index > 2)
        return {PlanValue<qint16>::Unreadable, fallback};
    return PlanValue<qint16>::given(index);
}

PlanValue<QTime> storedTime(KeyedItemStore& items, const QString& key, const QTime& fallback)
{
    const QString text = items.GetStrItem(key, kNone);
    return text == kNone ? PlanValue<QTime>{PlanValue<QTime>::NotGiven, fallback}
                         : EventPlan::timeOf(text, fallback);
}
} // namespace

PlanValue<int> EventPlan::lengthOf(const QString& stored)
{
    static const QRegularExpression form(
        QStringLiteral("^(?:(?:([0-9]{1,7}):)?([0-9]{1,7}):)?([0-9]{1,7})$"));
    const QString text = stored.trimmed();
    if (text.isEmpty())
        return {};
    const QRegularExpressionMatch m = form.match(text);
    if (!m.hasMatch())
        return {PlanValue<int>::Unreadable, 0};
    // Seven digits at most per part: the sum below stays far from any overflow.
    const qint64 h = m.captured(1).toLongLong(), min = m.captured(2).toLongLong(),
                 s = m.captured(3).toLongLong();
    const bool hasMinutes = m.capturedLength(2) > 0, hasHours = m.capturedLength(1) > 0;
    // Below the first part, minutes and seconds are two digits under 60.
    const bool shaped = (!hasMinutes || (m.capturedLength(3) == 2 && s < 60)) &&
                        (!hasHours || (m.capturedLength(2) == 2 && min < 60));
    const qint64 total = h * 3600 + min * 60 + s;
    if (!shaped || total > kLongestSong)
        return {PlanValue<int>::Unreadable, 0};
    return PlanValue<int>::given(int(total));
}

PlanValue<QDate> EventPlan::dateOf(const QString& stored)
{
    const std::optional<double> value = OleDate::fromText(stored);
    if (!value || !EventItems::isShowableDate(*value))
        return {PlanValue<QDate>::Unreadable, QDate()};
    return PlanValue<QDate>::given(OleDate::datePart(*value));
}

PlanValue<QTime> EventPlan::timeOf(const QString& stored, const QTime& fallback)
{
    const std::optional<double> value = OleDate::fromText(stored);
    if (!value)
        return {PlanValue<QTime>::Unreadable, fallback};
    const PlanValue<QTime> time = timeOf(*value);
    return time.isGiven() ? time : PlanValue<QTime>{PlanValue<QTime>::Unreadable, fallback};
}

PlanValue<QTime> EventPlan::timeOf(const std::optional<double>& stored)
{
    if (!stored)
        return {};
    if (!std::isfinite(*stored) || !EventItems::isShowableDate(*stored))
        return {PlanValue<QTime>::Unreadable, QTime()};
    return PlanValue<QTime>::given(OleDate::timePart(*stored));
}

std::optional<EventPlan> EventPlan::read(StoreSession& store, QString* error)
{
    auto failed = [error](const QString& reason) {
        if (error)
            *error = reason;
        return std::nullopt;
    };
    // Every statement below reads the snapshot the first one takes.
    StoreTransaction snapshot(store.eventConnection());
    if (!snapshot.isActive())
        return failed(snapshot.errorString());
    KeyedItemStore& items = store.items();
    EventPlan plan;
    plan.Bride = EventItems::readPerson(items, QLatin1Char('B'));
    plan.Groom = EventItems::readPerson(items, QLatin1Char('G'));
    const QString date = items.GetStrItem(QStringLiteral("ED"), kNone);
    if (date != kNone)
        plan.Times.Date = dateOf(date);
    plan.Times.Start = storedTime(items, QStringLiteral("EST"), plan.Times.Start.value);
    plan.Times.End = storedTime(items, QStringLiteral("EET"), plan.Times.End.value);
    plan.Times.Setup = storedTime(items, QStringLiteral("ERT"), plan.Times.Setup.value);
    plan.Facility = EventItems::readFacility(items);
    const QString guests = items.GetStrItem(QStringLiteral("NG"), kNone);
    if (guests != kNone)
        plan.Guests = PlanValue<QString>::given(guests);
    plan.Looks = choiceOf(items, QStringLiteral("DL"), plan.Looks.value);
    plan.Attitude = choiceOf(items, QStringLiteral("DA"), plan.Attitude.value);
    plan.GuidanceNotes = EventItems::readGuidelines(items).Notes;
    plan.Party = EventItems::readParty(items);
    plan.Music = EventItems::readMusic(items);
    if (!store.voices().readPerson(plan.Bride, QLatin1Char('B')) ||
        !store.voices().readPerson(plan.Groom, QLatin1Char('G')) ||
        !store.voices().readParty(plan.Party))
        return failed(store.voices().errorString());

    QVector<ScheduleStore::Row> rows;
    if (!store.schedule().rows(&rows))
        return failed(store.schedule().errorString());
    for (const ScheduleStore::Row& row : rows)
        plan.Schedule.append(activityOf(row));
    QList<PickedSongRecord> include, exclude;
    if (!store.songLists().read(SongListStore::Include, &include) ||
        !store.songLists().read(SongListStore::Exclude, &exclude))
        return failed(store.songLists().errorString());
    for (const PickedSongRecord& s : include)
        plan.Include.append(songOf(s));
    for (const PickedSongRecord& s : exclude)
        plan.Exclude.append(songOf(s));
    snapshot.rollback(); // nothing was written
    return plan;
}
