#include "KeyedItemStore.h"

#include "store/SqlConnection.h"
#include "store/StoreError.h"
#include "store/StoredText.h"

#include <QSqlError>
#include <QStringList>

KeyedItemStore::KeyedItemStore(const SqlConnection* config, const SqlConnection& event)
    : m_config(
          prepare(config ? config->database() : QSqlDatabase(), QStringLiteral("Config"), false)),
      m_strs(prepare(event.database(), QStringLiteral("Strs"), true)),
      m_mems(prepare(event.database(), QStringLiteral("Mems"), true)), m_strKeys(event.database())
{
    // LIKE ignores letter case; the prefix never holds a wildcard of its own (keys are
    // letters and digits). Many items are read faster straight from the table than through
    // the keys' index.
    m_strKeys.prepare(QStringLiteral("SELECT Item, Usage FROM Strs NOT INDEXED WHERE Item LIKE ?"));
    m_strKeys.setForwardOnly(true);
}

bool KeyedItemStore::strItemsStartingWith(
    const QString& prefix, const std::function<void(const QString& key, const QString& value)>& take)
{
    m_strKeys.bindValue(0, prefix + QLatin1Char('%'));
    if (!m_strKeys.exec())
        return false;
    while (m_strKeys.next()) {
        const QVariant value = m_strKeys.value(1);
        take(m_strKeys.value(0).toString(), value.isNull() ? QString() : value.toString());
    }
    const bool ok = !m_strKeys.lastError().isValid();
    m_strKeys.finish();
    return ok;
}

KeyedItemStore::Table KeyedItemStore::prepare(const QSqlDatabase& db, const QString& table,
                                              bool writable)
{
    Table t{QSqlQuery(db), QSqlQuery(db)};
    if (!db.isValid())
        return t; // no catalogue: every read gives its default
    // The first row in key order, as an index seek finds it; COLLATE NOCASE compares keys
    // without regard to letter case also in a catalogue whose column has no such collation.
    t.read.prepare(QStringLiteral("SELECT Usage FROM %1 WHERE Item = ? COLLATE NOCASE "
                                  "ORDER BY Item COLLATE NOCASE LIMIT 1")
                       .arg(table));
    t.read.setForwardOnly(true);
    if (writable)
        t.write.prepare(QStringLiteral("INSERT INTO %1 (Item, Usage) VALUES (?, ?) "
                                       "ON CONFLICT (Item) DO UPDATE SET Usage = excluded.Usage")
                            .arg(table));
    return t;
}

QString KeyedItemStore::read(Table& table, const QString& key, const QString& defaultValue)
{
    table.read.bindValue(0, key);
    QString result = defaultValue;
    if (table.read.exec() && table.read.next()) {
        const QVariant v = table.read.value(0);
        if (!v.isNull()) // a value that holds nothing at all reads as the default
            result = v.toString();
    }
    table.read.finish(); // ends the read so it never holds back another connection's write
    return result;
}

bool KeyedItemStore::save(Table& table, const QString& key, const QString& value)
{
    table.write.bindValue(0, key);
    // An empty text is stored as an empty text, never as "no value".
    table.write.bindValue(1,
                          value.isNull() ? QString(QLatin1String("")) : StoredText::whole(value));
    const bool ok = table.write.exec();
    m_lastError = ok ? QString() : StoreError::plain(table.write.lastError());
    table.write.finish();
    return ok;
}

QString KeyedItemStore::GetConfigItem(const QString& key, const QString& defaultValue)
{
    return read(m_config, key, defaultValue);
}

QString KeyedItemStore::GetStrItem(const QString& key, const QString& defaultValue)
{
    return read(m_strs, key, defaultValue);
}

bool KeyedItemStore::SaveStrItem(const QString& key, const QString& value)
{
    return save(m_strs, key, value);
}

QString KeyedItemStore::GetMemItem(const QString& key, const QString& defaultValue)
{
    return read(m_mems, key, defaultValue);
}

bool KeyedItemStore::SaveMemItem(const QString& key, const QString& value)
{
    return save(m_mems, key, value);
}
