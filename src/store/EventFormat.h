#pragma once

#include <QString>
#include <QStringList>
#include <QtGlobal>

#include <span>

class SqlConnection;

// The format of the event database event.mdb, written down once: its tables in their order,
// each table's columns with their types and sizes, its indexes, the format version kept in
// PRAGMA user_version, and the steps that bring a file of an earlier version up to the
// current one. Creating a file (frmData), checking a file at open and upgrading it
// (StoreSession) all read this one definition.
//
// Every table begins with the auto-numbered key dbKey. The database itself enforces the
// sizes, the 16-bit song keys and the case-insensitive unique keys of Strs and Mems.
//
// A file of a later version is refused untouched. A file of an earlier version (a file with
// the five tables and no version counts as version 0) is upgraded step by step in one
// transaction, so it is either wholly of the current version or as it was.
class EventFormat
{
  public:
    // The engine's field type codes, as the creation routine's field routines take them.
    enum Type : qint32 { Integer = 3, Date = 8, Text = 10, Binary = 11, Memo = 12 };

    struct Column {
        const char* name;
        Type type;
        int size = 0;  // the most characters a Text column holds, bytes a Binary one
        int since = 1; // the format version that added the column
    };
    struct Table {
        const char* name;
        std::span<const Column> columns; // after dbKey, in the table's order
        int since = 1;                   // the format version that added the table
    };
    // A unique index on one column, compared without regard to case.
    struct Index {
        const char* name;
        const char* table;
        const char* column;
        int since = 1;
    };

    static std::span<const Table> tables();
    static std::span<const Index> indexes();
    // The format version this program writes and reads: one more than the last upgrade step.
    static int currentVersion();

    // The SQL of a column, of a table of such columns (dbKey first), and of a table's indexes
    // as of `version`.
    static QString columnDefinition(const QString& name, Type type, int size, bool allowEmpty);
    static QString createTable(const QString& table, const QStringList& columns);
    static QStringList createIndexes(const QString& table, int version);

    enum Verdict { Ours, Foreign, Newer, Failed };

    // Reads the tables, columns and version of the open connection without writing.
    // `reason` tells a refusal in words a user understands.
    static Verdict inspect(const SqlConnection& conn, int* version, QString* reason);

    // A quick check of the file's pages and indexes, reading only. False with `reason` set
    // for a damaged file.
    static bool isWhole(const SqlConnection& conn, QString* reason);

    // Brings a file of an earlier version up to the current one. Returns false with
    // `reason` set when a step fails; the file is then as it was.
    static bool upgrade(const SqlConnection& conn, int fromVersion, QString* reason);
};
