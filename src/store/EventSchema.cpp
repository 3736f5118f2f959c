#include "EventSchema.h"

#include "store/SqlConnection.h"
#include "store/StoreError.h"

#include <QSqlError>
#include <QSqlQuery>

#include <array>

namespace
{
struct TableColumns {
    const char* table;
    std::array<const char*, 8> columns; // in the table's order; unused places are null
};

// The tables and their columns as the creation routine makes them.
constexpr std::array<TableColumns, 5> kTables{{
    {"Strs", {"dbKey", "Item", "Usage"}},
    {"Mems", {"dbKey", "Item", "Usage"}},
    {"Activities",
     {"dbKey", "dtScheduled", "Name", "SongKey", "SongTitle", "SongArtist", "Who", "MoreInfo"}},
    {"MusicIn", {"dbKey", "SongKey", "SongTitle", "SongArtist", "SongTime"}},
    {"MusicOut", {"dbKey", "SongKey", "SongTitle", "SongArtist", "SongTime"}},
}};

// The columns a table really has, in order; empty when there is no such table.
QStringList columnsOf(QSqlQuery& q, const QString& table)
{
    QStringList names;
    q.prepare(QStringLiteral("SELECT name FROM pragma_table_info(?)"));
    q.addBindValue(table);
    if (q.exec())
        while (q.next())
            names << q.value(0).toString();
    q.finish();
    return names;
}
} // namespace

EventSchema::Verdict EventSchema::inspect(const SqlConnection& conn, int* version, QString* reason)
{
    QSqlQuery q(conn.database());
    q.setForwardOnly(true);
    if (!q.exec(QStringLiteral("PRAGMA user_version")) || !q.next()) {
        *reason =
            QStringLiteral("its format cannot be read (%1)").arg(StoreError::plain(q.lastError()));
        return Failed;
    }
    *version = q.value(0).toInt();
    q.finish();
    if (*version > kCurrentVersion) {
        *reason = QStringLiteral("it was written by a later release of this program (format "
                                 "version %1; this program reads versions up to %2)")
                      .arg(*version)
                      .arg(kCurrentVersion);
        return Newer;
    }
    for (const TableColumns& t : kTables) {
        const QString table = QLatin1String(t.table);
        const QStringList present = columnsOf(q, table);
        if (present.isEmpty()) {
            *reason = QStringLiteral("the table %1 is missing, so the file is not an event "
                                     "database of this program")
                          .arg(table);
            return Foreign;
        }
        for (const char* column : t.columns) {
            if (column && !present.contains(QLatin1String(column), Qt::CaseInsensitive)) {
                *reason = QStringLiteral("the table %1 has no column %2, so the file is not an "
                                         "event database of this program")
                              .arg(table, QLatin1String(column));
                return Foreign;
            }
        }
    }
    return Ours;
}

bool EventSchema::isWhole(const SqlConnection& conn, QString* reason)
{
    QSqlQuery q(conn.database());
    q.setForwardOnly(true);
    if (q.exec(QStringLiteral("PRAGMA quick_check")) && q.next() &&
        q.value(0).toString() == QLatin1String("ok")) {
        q.finish();
        return true;
    }
    *reason = QStringLiteral("the file is damaged (%1). Restore it from a copy, or move it away "
                             "so that the Feteplan starts a new, empty one")
                  .arg(q.lastError().isValid() ? StoreError::plain(q.lastError())
                                               : QStringLiteral("its pages do not add up"));
    return false;
}

bool EventSchema::upgrade(const SqlConnection& conn, int fromVersion, QString* reason)
{
    if (fromVersion >= kCurrentVersion)
        return true;
    QSqlDatabase db = conn.database();
    QSqlQuery q(db);
    if (!db.transaction()) {
        *reason = StoreError::plain(db.lastError());
        return false;
    }
    // One step per version. Version 0 is a file of an unversioned release: its tables are
    // those of version 1 (inspect() checked them), so the step only records the version.
    for (int v = fromVersion; v < kCurrentVersion; ++v) {
        const bool stepped = q.exec(QStringLiteral("PRAGMA user_version = %1").arg(v + 1));
        if (!stepped) {
            *reason = StoreError::plain(q.lastError());
            db.rollback();
            return false;
        }
    }
    if (!db.commit()) {
        *reason = StoreError::plain(db.lastError());
        db.rollback();
        return false;
    }
    return true;
}
