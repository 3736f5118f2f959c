#include "EventCopy.h"

#include "platform/SafeReplace.h"

#include <QFileInfo>
#include <QThread>

#include <sqlite3.h>

namespace
{
// A connection of the engine's own, closed when it goes.
struct Handle {
    sqlite3* db = nullptr;
    ~Handle() { sqlite3_close_v2(db); }
    QString error() const { return QString::fromUtf8(sqlite3_errmsg(db)); }
};

bool run(sqlite3* db, const char* sql)
{
    return sqlite3_exec(db, sql, nullptr, nullptr, nullptr) == SQLITE_OK;
}

// The copy's pages and indexes are whole.
bool isWhole(sqlite3* db)
{
    sqlite3_stmt* check = nullptr;
    bool ok = sqlite3_prepare_v2(db, "PRAGMA quick_check", -1, &check, nullptr) == SQLITE_OK &&
              sqlite3_step(check) == SQLITE_ROW &&
              QByteArray(reinterpret_cast<const char*>(sqlite3_column_text(check, 0))) == "ok";
    sqlite3_finalize(check);
    return ok;
}
} // namespace

bool EventCopy::save(const QString& source, const QString& target, QString* error)
{
    const auto fail = [&](const QString& reason) {
        *error = QStringLiteral("%1 could not be copied: %2").arg(QFileInfo(source).fileName(), reason);
        return false;
    };
    if (!QFileInfo(source).isFile())
        return fail(QStringLiteral("there is no such file"));
    SafeReplace replace(target);
    if (!replace.isReady())
        return fail(replace.errorString());
    {
        Handle from;
        Handle to;
        if (sqlite3_open_v2(QFile::encodeName(source).constData(), &from.db, SQLITE_OPEN_READONLY,
                            nullptr) != SQLITE_OK)
            return fail(from.error());
        if (sqlite3_open_v2(QFile::encodeName(replace.temporaryName()).constData(), &to.db,
                            SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr) != SQLITE_OK)
            return fail(to.error());
        sqlite3_busy_timeout(from.db, 5000);
        sqlite3_backup* backup = sqlite3_backup_init(to.db, "main", from.db, "main");
        if (!backup)
            return fail(to.error());
        // All pages in one step: one read transaction on the source, so one committed state.
        // A writer holding the file locked (a file without write-ahead log) is waited for.
        int rc = SQLITE_OK;
        for (int attempt = 0; attempt < 100; ++attempt) {
            rc = sqlite3_backup_step(backup, -1);
            if (rc != SQLITE_BUSY && rc != SQLITE_LOCKED)
                break;
            QThread::msleep(50);
        }
        sqlite3_backup_finish(backup);
        if (rc != SQLITE_DONE)
            return fail(QString::fromUtf8(sqlite3_errstr(rc)));
        // The copy stands alone: no write-ahead log the receiver would need beside it.
        if (!run(to.db, "PRAGMA journal_mode = DELETE") || !isWhole(to.db))
            return fail(QStringLiteral("the copy is not whole"));
    }
    if (!replace.commit())
        return fail(replace.errorString());
    return true;
}
