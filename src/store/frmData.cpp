#include "frmData.h"

#include "platform/PathMap.h"
#include "store/EventSchema.h"
#include "store/SqlConnection.h"
#include "store/StoreError.h"

#include <QDir>
#include <QFile>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QTemporaryFile>

bool frmData::MakeZELdatabase()
{
    return MakeZELdatabase(PathMap::dbFolder());
}

bool frmData::MakeZELdatabase(const QString& folder)
{
    m_error.clear();
    const QString fullName = QDir(folder).filePath(QStringLiteral("event.mdb"));

    // Reserve a unique temporary name beside the final file; SQLite writes into it.
    QString tempName;
    {
        QTemporaryFile reserve(QDir(folder).filePath(QStringLiteral("event.mdb.XXXXXX")));
        reserve.setAutoRemove(false);
        if (!reserve.open()) {
            m_error = QStringLiteral("The folder %1 cannot be written: %2")
                          .arg(QDir::toNativeSeparators(folder), reserve.errorString());
            return false;
        }
        tempName = reserve.fileName();
    }

    bool ok = false;
    {
        SqlConnection conn(tempName, SqlConnection::Create);
        ok = conn.isOpen() && createTables(conn.name());
        if (!conn.isOpen())
            m_error = conn.errorString();
    } // closed: the WAL is checkpointed into the file and removed

    if (ok) {
        // rename() does not replace; the start-up creates only when there is no file, so an
        // existing one is only ever replaced here on request of a caller that removed it.
        if (QFile::exists(fullName) && !QFile::remove(fullName)) {
            m_error =
                QStringLiteral("%1 cannot be replaced.").arg(QDir::toNativeSeparators(fullName));
            ok = false;
        } else if (!QFile::rename(tempName, fullName)) {
            m_error =
                QStringLiteral("%1 cannot be created.").arg(QDir::toNativeSeparators(fullName));
            ok = false;
        }
    }
    if (!ok) {
        QFile::remove(tempName);
        QFile::remove(tempName + QStringLiteral("-wal"));
        QFile::remove(tempName + QStringLiteral("-shm"));
    }
    return ok;
}

void frmData::beginTable(const QString& name)
{
    m_table = name;
    m_fields = {QStringLiteral("dbKey INTEGER PRIMARY KEY AUTOINCREMENT")};
}

void frmData::AddFieldText(qint16 position, const QString& name, qint16 size, bool allowEmpty)
{
    QString def =
        QStringLiteral("%1 TEXT COLLATE NOCASE CHECK (length(%1) <= %2)").arg(name).arg(size);
    if (!allowEmpty)
        def += QStringLiteral(" CHECK (%1 <> '')").arg(name);
    // The position addresses the field once appended; keep the table's order exact.
    if (position >= 0 && position <= m_fields.size())
        m_fields.insert(position, def);
    else
        m_fields.append(def);
}

void frmData::AddFieldMisc(qint16 position, const QString& name, qint32 type)
{
    QString def;
    switch (type) {
    case dbInteger:
        def = QStringLiteral("%1 INTEGER CHECK (typeof(%1) IN ('integer', 'null') AND "
                             "%1 BETWEEN -32768 AND 32767)")
                  .arg(name);
        break;
    case dbDate:
        // The day count since 30 December 1899; the fraction is the time of day.
        def = QStringLiteral("%1 REAL CHECK (typeof(%1) IN ('real', 'integer', 'null'))").arg(name);
        break;
    case dbMemo:
    default:
        def = QStringLiteral("%1 TEXT").arg(name);
        break;
    }
    if (position >= 0 && position <= m_fields.size())
        m_fields.insert(position, def);
    else
        m_fields.append(def);
}

QString frmData::tableStatement() const
{
    return QStringLiteral("CREATE TABLE %1 (%2)").arg(m_table, m_fields.join(QStringLiteral(", ")));
}

bool frmData::createTables(const QString& connectionName)
{
    QSqlDatabase db = QSqlDatabase::database(connectionName, false);
    QSqlQuery q(db);
    QStringList statements;

    beginTable(QStringLiteral("Strs"));
    AddFieldText(1, QStringLiteral("Item"), 10, true);
    AddFieldText(2, QStringLiteral("Usage"), 255, true);
    statements << tableStatement()
               << QStringLiteral("CREATE UNIQUE INDEX Strs_Item ON Strs (Item COLLATE NOCASE)");

    beginTable(QStringLiteral("Mems"));
    AddFieldText(1, QStringLiteral("Item"), 10, true);
    AddFieldMisc(2, QStringLiteral("Usage"), dbMemo);
    statements << tableStatement()
               << QStringLiteral("CREATE UNIQUE INDEX Mems_Item ON Mems (Item COLLATE NOCASE)");

    beginTable(QStringLiteral("Activities"));
    AddFieldMisc(1, QStringLiteral("dtScheduled"), dbDate);
    AddFieldText(2, QStringLiteral("Name"), 255, true);
    AddFieldMisc(3, QStringLiteral("SongKey"), dbInteger);
    AddFieldText(4, QStringLiteral("SongTitle"), 255, true);
    AddFieldText(5, QStringLiteral("SongArtist"), 255, true);
    AddFieldText(6, QStringLiteral("Who"), 255, true);
    AddFieldMisc(7, QStringLiteral("MoreInfo"), dbMemo);
    statements << tableStatement();

    for (const QString& list : {QStringLiteral("MusicIn"), QStringLiteral("MusicOut")}) {
        beginTable(list);
        AddFieldMisc(1, QStringLiteral("SongKey"), dbInteger);
        AddFieldText(2, QStringLiteral("SongTitle"), 255, true);
        AddFieldText(3, QStringLiteral("SongArtist"), 255, true);
        AddFieldText(4, QStringLiteral("SongTime"), 15, true);
        statements << tableStatement();
    }
    statements << QStringLiteral("PRAGMA user_version = %1").arg(EventSchema::kCurrentVersion);

    if (!db.transaction()) {
        m_error = StoreError::plain(db.lastError());
        return false;
    }
    for (const QString& s : statements) {
        if (!q.exec(s)) {
            m_error = StoreError::plain(q.lastError());
            db.rollback();
            return false;
        }
    }
    if (!db.commit()) {
        m_error = StoreError::plain(db.lastError());
        return false;
    }
    return true;
}
