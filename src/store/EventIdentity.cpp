#include "EventIdentity.h"

#include "store/EventItems.h"
#include "store/StoreSession.h"

#include <QUuid>

const QString EventIdentity::kItem = QStringLiteral("EventId");

QString EventIdentity::newId()
{
    return QUuid::createUuid().toString(QUuid::WithoutBraces);
}

EventIdentity EventIdentity::of(StoreSession& store)
{
    return {store.items().GetStrItem(kItem, QString()).trimmed(),
            EventItems::readPerson(store.items(), 'B').Name.trimmed(),
            EventItems::readPerson(store.items(), 'G').Name.trimmed()};
}

std::optional<EventIdentity> EventIdentity::ofFile(const QString& file, QString* error)
{
    StoreSession store(file, QString(), StoreSession::ReadOnly);
    if (!store.isOpen()) {
        *error = store.errorString();
        return std::nullopt;
    }
    return of(store);
}

bool EventIdentity::sameEvent(const EventIdentity& other) const
{
    if (!id.isEmpty() && !other.id.isEmpty())
        return id == other.id;
    const auto same = [](const QString& a, const QString& b) {
        return a.toCaseFolded() == b.toCaseFolded();
    };
    return !(bride.isEmpty() && groom.isEmpty()) && same(bride, other.bride) &&
           same(groom, other.groom);
}
