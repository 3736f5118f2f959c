#include "frmData.h"

#include "platform/PathMap.h"
#include "platform/SafeReplace.h"
#include "store/SqlConnection.h"
#include "store/EventIdentity.h"
#include "store/StoreError.h"

#include <QDir>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>

bool frmData::MakeZELdatabase()
{
    return MakeZELdatabase(PathMap::dbFolder());
}

bool frmData::MakeZELdatabase(const QString& folder)
{
    return MakeZELdatabase(folder, EventFormat::currentVersion());
}

bool frmData::MakeZELdatabase(const QString& folder, int version)
{
    m_error.clear();
    // The file is made under a temporary name beside the final one and replaces it whole.
    SafeReplace replace(QDir(folder).filePath(QStringLiteral("event.mdb")), SafeReplace::kPrivate);
    if (!replace.isReady()) {
        m_error = replace.errorString();
        return false;
    }
    {
        SqlConnection conn(replace.temporaryName(), SqlConnection::ReadWrite);
        if (!conn.isOpen() || !conn.enableJournal()) {
            m_error = conn.errorString();
            return false;
        }
        if (!createTables(conn.name(), version))
            return false;
    } // closed: the write-ahead journal is checkpointed into the file and removed
    if (!replace.commit()) {
        m_error = replace.errorString();
        return false;
    }
    return true;
}

void frmData::addField(qint16 position, const QString& definition)
{
    // The position addresses the field once appended (dbKey is 0); keep the table's order.
    const qsizetype at = position - 1;
    if (at >= 0 && at <= m_fields.size())
        m_fields.insert(at, definition);
    else
        m_fields.append(definition);
}

void frmData::AddFieldText(qint16 position, const QString& name, qint16 size, bool allowEmpty)
{
    addField(position, EventFormat::columnDefinition(name, EventFormat::Text, size, allowEmpty));
}

void frmData::AddFieldMisc(qint16 position, const QString& name, qint32 type)
{
    addField(position, EventFormat::columnDefinition(name, EventFormat::Type(type), 0, true));
}

bool frmData::createTables(const QString& connectionName, int version)
{
    QSqlDatabase db = QSqlDatabase::database(connectionName, false);
    QSqlQuery q(db);
    QStringList statements;
    // A file of version 0 has the tables of version 1 and no version.
    const int asOf = std::max(version, 1);
    for (const EventFormat::Table& table : EventFormat::tables()) {
        m_fields.clear();
        qint16 position = 1;
        for (const EventFormat::Column& c : table.columns) {
            if (c.since > asOf)
                continue;
            if (c.type == EventFormat::Text)
                AddFieldText(position, QLatin1String(c.name), qint16(c.size), true);
            else
                AddFieldMisc(position, QLatin1String(c.name), c.type);
            ++position;
        }
        statements << EventFormat::createTable(QLatin1String(table.name), m_fields)
                   << EventFormat::createIndexes(QLatin1String(table.name), asOf);
    }
    statements << QStringLiteral("PRAGMA user_version = %1").arg(version);

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
    // A new file carries its event's identity from the start; no page reads or writes it.
    if (version == EventFormat::currentVersion()) {
        q.prepare(QStringLiteral("INSERT INTO Strs (Item, Usage) VALUES (?, ?)"));
        q.addBindValue(EventIdentity::kItem);
        q.addBindValue(EventIdentity::newId());
        if (!q.exec()) {
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
