#include "EventFormat.h"

#include "store/SqlConnection.h"
#include "store/StoreError.h"

#include <QSqlError>
#include <QSqlQuery>

#include <algorithm>
#include <iterator>

namespace
{
using Column = EventFormat::Column;
using enum EventFormat::Type;

// The columns of each table after dbKey, one a line; a column added by a later version
// names that version.
// clang-format off
constexpr Column kStrs[] = {
    {"Item", Text, 10},
    {"Usage", Text, 255},
};
constexpr Column kMems[] = {
    {"Item", Text, 10},
    {"Usage", Memo},
};
constexpr Column kActivities[] = {
    {"dtScheduled", Date},
    {"Name", Text, 255},
    {"SongKey", Integer},
    {"SongTitle", Text, 255},
    {"SongArtist", Text, 255},
    {"Who", Text, 255},
    {"MoreInfo", Memo},
};
constexpr Column kSongList[] = {
    {"SongKey", Integer},
    {"SongTitle", Text, 255},
    {"SongArtist", Text, 255},
    {"SongTime", Text, 15},
};
// How each name of the couple and the party is said (format 2): keyed by the keyed item
// that holds the name ("BN", "GN", "BPN3", "BPEN3"), the speech engine's language, and the
// couple's own recording, compressed, with the choice whether it is played.
constexpr Column kNameVoices[] = {
    {"Item", Text, 10},
    {"Language", Text, 35},
    {"Recording", Binary, 128 * 1024},
    {"UseRecording", Integer},
};

// The tables in the order the file is made in.
constexpr EventFormat::Table kTables[] = {
    {"Strs", kStrs},
    {"Mems", kMems},
    {"Activities", kActivities},
    {"MusicIn", kSongList},
    {"MusicOut", kSongList},
    {"NameVoices", kNameVoices, 2},
};

constexpr EventFormat::Index kIndexes[] = {
    {"Strs_Item", "Strs", "Item"},
    {"Mems_Item", "Mems", "Item"},
    {"NameVoices_Item", "NameVoices", "Item", 2},
};
// clang-format on

// The upgrade steps, in order: the step at place n turns a file of version n into one of
// version n + 1. Each runs inside the upgrade's one transaction, after the columns and
// indexes marked as added in version n + 1 are in place; false stops the upgrade.
using Step = bool (*)(QSqlQuery& q);

// Version 0 is a file of an unversioned release: its tables are those of version 1
// (inspect() checked them), so the step has nothing to change.
bool fromUnversioned(QSqlQuery&)
{
    return true;
}

// Version 2 adds the table NameVoices (made before the step runs); the answers of
// version 1 stay as they are.
bool toNameVoices(QSqlQuery&)
{
    return true;
}

constexpr Step kSteps[] = {
    fromUnversioned,
    toNameVoices,
};

QString indexStatement(const EventFormat::Index& i)
{
    return QStringLiteral("CREATE UNIQUE INDEX %1 ON %2 (%3 COLLATE NOCASE)")
        .arg(QLatin1String(i.name), QLatin1String(i.table), QLatin1String(i.column));
}

// The definitions of a table's columns as of `version`.
QStringList columnsAsOf(const EventFormat::Table& t, int version)
{
    QStringList definitions;
    for (const Column& c : t.columns)
        if (c.since <= version)
            definitions << EventFormat::columnDefinition(QLatin1String(c.name), c.type, c.size,
                                                         true);
    return definitions;
}

// Adds what the format gained in `version`: the tables, columns and indexes marked as added
// then. Version 1 is the base format, which every file of version 0 already has.
bool addColumnsAndIndexes(QSqlQuery& q, int version)
{
    if (version <= 1)
        return true;
    for (const EventFormat::Table& t : kTables) {
        if (t.since == version) {
            if (!q.exec(EventFormat::createTable(QLatin1String(t.name), columnsAsOf(t, version))))
                return false;
            continue;
        }
        for (const Column& c : t.columns)
            if (c.since == version &&
                !q.exec(QStringLiteral("ALTER TABLE %1 ADD COLUMN %2")
                            .arg(QLatin1String(t.name),
                                 EventFormat::columnDefinition(QLatin1String(c.name), c.type,
                                                               c.size, true))))
                return false;
    }
    for (const EventFormat::Index& i : kIndexes)
        if (i.since == version && !q.exec(indexStatement(i)))
            return false;
    return true;
}

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

std::span<const EventFormat::Table> EventFormat::tables()
{
    return kTables;
}

std::span<const EventFormat::Index> EventFormat::indexes()
{
    return kIndexes;
}

int EventFormat::currentVersion()
{
    return int(std::size(kSteps));
}

QString EventFormat::columnDefinition(const QString& name, Type type, int size, bool allowEmpty)
{
    switch (type) {
    case Text: {
        QString def =
            QStringLiteral("%1 TEXT COLLATE NOCASE CHECK (length(%1) <= %2)").arg(name).arg(size);
        if (!allowEmpty)
            def += QStringLiteral(" CHECK (%1 <> '')").arg(name);
        return def;
    }
    case Binary:
        return QStringLiteral("%1 BLOB CHECK (%1 IS NULL OR (typeof(%1) = 'blob' AND "
                              "length(%1) <= %2))")
            .arg(name)
            .arg(size);
    case Integer:
        // A signed 16-bit integer, as the format's song keys are.
        return QStringLiteral("%1 INTEGER CHECK (typeof(%1) IN ('integer', 'null') AND "
                              "%1 BETWEEN -32768 AND 32767)")
            .arg(name);
    case Date:
        // The day count since 30 December 1899; the fraction is the time of day.
        return QStringLiteral("%1 REAL CHECK (typeof(%1) IN ('real', 'integer', 'null'))")
            .arg(name);
    case Memo:
        break;
    }
    return QStringLiteral("%1 TEXT").arg(name);
}

QString EventFormat::createTable(const QString& table, const QStringList& columns)
{
    return QStringLiteral("CREATE TABLE %1 (dbKey INTEGER PRIMARY KEY AUTOINCREMENT, %2)")
        .arg(table, columns.join(QStringLiteral(", ")));
}

QStringList EventFormat::createIndexes(const QString& table, int version)
{
    QStringList statements;
    for (const Index& i : kIndexes)
        if (table == QLatin1String(i.table) && i.since <= version)
            statements << indexStatement(i);
    return statements;
}

EventFormat::Verdict EventFormat::inspect(const SqlConnection& conn, int* version, QString* reason)
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
    if (*version > currentVersion()) {
        *reason = QStringLiteral("it was written by a later release of this program (format "
                                 "version %1; this program reads versions up to %2)")
                      .arg(*version)
                      .arg(currentVersion());
        return Newer;
    }
    if (*version < 0) {
        *reason = QStringLiteral("its format version %1 is none of this program's, so the file "
                                 "is not an event database of this program")
                      .arg(*version);
        return Foreign;
    }
    // The columns a file of its version has; an unversioned file has those of version 1.
    const int asOf = std::max(*version, 1);
    for (const Table& t : kTables) {
        if (t.since > asOf)
            continue;
        const QString table = QLatin1String(t.name);
        const QStringList present = columnsOf(q, table);
        if (present.isEmpty()) {
            *reason = QStringLiteral("the table %1 is missing, so the file is not an event "
                                     "database of this program")
                          .arg(table);
            return Foreign;
        }
        for (const Column& c : t.columns) {
            if (c.since <= asOf && !present.contains(QLatin1String(c.name), Qt::CaseInsensitive)) {
                *reason = QStringLiteral("the table %1 has no column %2, so the file is not an "
                                         "event database of this program")
                              .arg(table, QLatin1String(c.name));
                return Foreign;
            }
        }
    }
    return Ours;
}

bool EventFormat::isWhole(const SqlConnection& conn, QString* reason)
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

bool EventFormat::upgrade(const SqlConnection& conn, int fromVersion, QString* reason)
{
    if (fromVersion >= currentVersion())
        return true;
    QSqlDatabase db = conn.database();
    if (!db.transaction()) {
        *reason = StoreError::plain(db.lastError());
        return false;
    }
    QSqlQuery q(db);
    for (int v = fromVersion; v < currentVersion(); ++v) {
        const bool stepped = addColumnsAndIndexes(q, v + 1) && kSteps[v](q) &&
                             q.exec(QStringLiteral("PRAGMA user_version = %1").arg(v + 1));
        if (!stepped) {
            *reason = StoreError::plain(q.lastError());
            q.finish();
            db.rollback();
            return false;
        }
    }
    q.finish();
    if (!db.commit()) {
        *reason = StoreError::plain(db.lastError());
        db.rollback();
        return false;
    }
    return true;
}
