#include "CatalogueFormat.h"

#include "store/SqlConnection.h"
#include "store/StoreError.h"

#include <QSqlError>
#include <QSqlQuery>

QString CatalogueFormat::musicColumn(int column)
{
    static const char* const names[] = {"dbKey",  "Name", "Type",  "SType1",
                                        "SType2", "Time", "Matrix"};
    if (column >= UserField1)
        return QStringLiteral("UDF%1").arg(column - UserField1 + 1, 2, 10, QLatin1Char('0'));
    return QLatin1String(names[column]);
}

QStringList CatalogueFormat::musicColumns()
{
    QStringList names;
    for (int c = 0; c < kMusicColumns; ++c)
        names << musicColumn(c);
    return names;
}

QStringList CatalogueFormat::tables()
{
    return {QLatin1String(kMusic), QLatin1String(kConfig)};
}

bool CatalogueFormat::isKnown(const SqlConnection& catalogue, QString* reason)
{
    // The version is read first: a file that is no database says so here.
    QSqlQuery q(catalogue.database());
    if (!q.exec(QStringLiteral("PRAGMA user_version")) || !q.next()) {
        *reason = StoreError::plain(q.lastError());
        return false;
    }
    const int version = q.value(0).toInt();
    QString missing;
    if (!catalogue.hasTables(tables(), &missing)) {
        *reason = QStringLiteral("it has no %1 table").arg(missing);
        return false;
    }
    // A later format may hold what this release would not keep or could not read.
    if (version > kVersion) {
        *reason = QStringLiteral("it was written by a later release of this program (format "
                                 "version %1; this program updates versions up to %2)")
                      .arg(version)
                      .arg(kVersion);
        return false;
    }
    return true;
}

QStringList CatalogueFormat::createTables(KeyRange range)
{
    QStringList columns{
        range == SixteenBit
            ? QStringLiteral("dbKey INTEGER PRIMARY KEY CHECK (dbKey BETWEEN 1 AND %1)")
                  .arg(kMaxKey)
            : QStringLiteral("dbKey INTEGER PRIMARY KEY CHECK (dbKey >= 1)"),
        QStringLiteral("Name TEXT COLLATE NOCASE NOT NULL CHECK (length(Name) BETWEEN 1 AND 255)"),
        QStringLiteral("Type TEXT COLLATE NOCASE"),
        QStringLiteral("SType1 TEXT COLLATE NOCASE"),
        QStringLiteral("SType2 TEXT COLLATE NOCASE"),
        QStringLiteral("Time TEXT"),
        QStringLiteral("Matrix TEXT")};
    for (int c = UserField1; c < kMusicColumns; ++c)
        columns << QStringLiteral("%1 TEXT COLLATE NOCASE CHECK (length(%1) <= 255)")
                       .arg(musicColumn(c));
    return {QStringLiteral("CREATE TABLE MUSIC (%1)").arg(columns.join(QStringLiteral(", "))),
            QStringLiteral("CREATE TABLE Config (Item TEXT NOT NULL COLLATE NOCASE UNIQUE "
                           "CHECK (length(Item) >= 1), Usage TEXT)")};
}

QStringList CatalogueFormat::createIndexes()
{
    // The search sorts by title and scans it; searching by artist sorts by the first user
    // field and then the title.
    return {QStringLiteral("CREATE INDEX MusicName ON MUSIC (Name COLLATE NOCASE)"),
            QStringLiteral(
                "CREATE INDEX MusicArtist ON MUSIC (UDF01 COLLATE NOCASE, Name COLLATE NOCASE)")};
}

QString CatalogueFormat::createImportKeys()
{
    return QStringLiteral("CREATE TABLE IF NOT EXISTS ImportKeys (dbKey INTEGER PRIMARY KEY "
                          "CHECK (dbKey BETWEEN 1 AND %1), Retired INTEGER NOT NULL DEFAULT 0, "
                          "Path TEXT UNIQUE, Size INTEGER, MTime INTEGER, Genre TEXT, Bpm REAL, "
                          "Name TEXT, Artist TEXT, Time TEXT)")
        .arg(kMaxKey);
}

QString CatalogueFormat::createImportFailed()
{
    return QStringLiteral("CREATE TABLE IF NOT EXISTS ImportFailed (Path TEXT PRIMARY KEY, Size "
                          "INTEGER, MTime INTEGER, Reason TEXT)");
}
