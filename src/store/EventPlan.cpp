#include "EventPlan.h"

#include "store/EventItems.h"
#include "store/NameVoiceStore.h"
#include "store/StoreSession.h"

#include <QDateTime>

#include "platform/OleDate.h"

namespace
{
ScheduledActivity activityOf(const ScheduleStore::Row& row)
{
    ScheduledActivity a;
    a.Key = row[ScheduleStore::DbKey].toLongLong();
    bool ok = false;
    const double time = row[ScheduleStore::DtScheduled].toDouble(&ok);
    if (ok && !row[ScheduleStore::DtScheduled].isNull())
        a.Scheduled = time;
    a.Name = row[ScheduleStore::Name].toString();
    if (!row[ScheduleStore::SongKey].isNull())
        a.SongKey = qint16(row[ScheduleStore::SongKey].toInt());
    a.SongTitle = row[ScheduleStore::SongTitle].toString();
    a.SongArtist = row[ScheduleStore::SongArtist].toString();
    a.Who = row[ScheduleStore::Who].toString();
    a.MoreInfo = row[ScheduleStore::MoreInfo].toString();
    return a;
}
} // namespace

std::optional<EventPlan> EventPlan::read(StoreSession& store, QString* error)
{
    KeyedItemStore& items = store.items();
    EventPlan plan;
    plan.Bride = EventItems::readPerson(items, QLatin1Char('B'));
    plan.Groom = EventItems::readPerson(items, QLatin1Char('G'));
    const QDateTime now = QDateTime::currentDateTime();
    plan.Times = EventItems::readTimes(items, OleDate::fromDateTime(now.date(), now.time()));
    plan.Facility = EventItems::readFacility(items);
    plan.Guests = EventItems::readGuests(items);
    plan.Guidance = EventItems::readGuidelines(items);
    plan.Party = EventItems::readParty(items);
    plan.Music = EventItems::readMusic(items);
    if (!store.voices().readPerson(plan.Bride, QLatin1Char('B')) ||
        !store.voices().readPerson(plan.Groom, QLatin1Char('G')) ||
        !store.voices().readParty(plan.Party)) {
        *error = store.voices().errorString();
        return std::nullopt;
    }

    QVector<ScheduleStore::Row> rows;
    if (!store.schedule().rows(&rows)) {
        *error = store.schedule().errorString();
        return std::nullopt;
    }
    for (const ScheduleStore::Row& row : rows)
        plan.Schedule.append(activityOf(row));
    if (!store.songLists().read(SongListStore::Include, &plan.Include) ||
        !store.songLists().read(SongListStore::Exclude, &plan.Exclude)) {
        *error = store.songLists().errorString();
        return std::nullopt;
    }
    return plan;
}
