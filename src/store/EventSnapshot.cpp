#include "store/EventSnapshot.h"

#include "store/StoreSession.h"

#include <QDateTime>
#include <QFileInfo>

namespace
{
// What tells whether a file was written: its size and time, and a write-ahead log beside it.
struct Stamp {
    qint64 size = 0;
    QDateTime modified;
    bool log = false;
    bool operator==(const Stamp&) const = default;
};

Stamp stampOf(const QString& file)
{
    const QFileInfo info(file);
    return {info.size(), info.lastModified(), QFileInfo::exists(file + QStringLiteral("-wal"))};
}
} // namespace

std::optional<EventPlan> EventSnapshot::read(const QString& file, QString* error)
{
    for (int attempt = 0; attempt < 10; ++attempt) {
        const Stamp before = stampOf(file);
        std::optional<EventPlan> plan;
        {
            StoreSession store(file, QString(), StoreSession::ReadOnly);
            if (!store.isOpen()) {
                *error = store.errorString();
                return std::nullopt;
            }
            QString reason;
            plan = EventPlan::read(store, &reason);
            if (!plan) {
                *error = QStringLiteral("%1: cannot be read: %2").arg(file, reason);
                return std::nullopt;
            }
        }
        if (before.log || stampOf(file) == before)
            return plan;
    }
    *error = QStringLiteral("%1: cannot be read: it kept changing while being read").arg(file);
    return std::nullopt;
}
