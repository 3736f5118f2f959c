#pragma once

#include <QSqlQuery>
#include <QString>

#include <functional>

class SqlConnection;

// The keyed items: a short key (Item, compared without regard to letter case) and a text
// value (Usage). Strs holds short values, Mems long ones, both in the event database;
// Config holds the catalogue's settings and is only read.
//
// Reads fall back to the caller's default on a missing key, an empty table or any database
// error. Writes insert or update one row, committed at once; they return false when the
// database refuses the value, and lastError() then tells why. A write is committed at once
// unless a StoreTransaction on the event connection is open, which then holds it. Values are
// always bound as parameters.
class KeyedItemStore
{
  public:
    // The connections must outlive the store. Without a catalogue (config null), every
    // GetConfigItem gives its default.
    KeyedItemStore(const SqlConnection* config, const SqlConnection& event);

    QString GetConfigItem(const QString& key, const QString& defaultValue);
    QString GetStrItem(const QString& key, const QString& defaultValue);
    bool SaveStrItem(const QString& key, const QString& value);
    QString GetMemItem(const QString& key, const QString& defaultValue);
    bool SaveMemItem(const QString& key, const QString& value);

    // Hands each item of Strs whose key begins with `prefix` (without regard to letter case)
    // to `take`, its value null when it holds nothing at all: one query for many items, in no
    // particular order. False when the table cannot be read.
    bool strItemsStartingWith(const QString& prefix,
                              const std::function<void(const QString& key, const QString& value)>& take);

    // The reason the last failed write was refused; empty after a successful one.
    QString lastError() const { return m_lastError; }

  private:
    struct Table {
        QSqlQuery read;
        QSqlQuery write; // empty for the read-only catalogue
    };
    static Table prepare(const QSqlDatabase& db, const QString& table, bool writable);
    static QString read(Table& table, const QString& key, const QString& defaultValue);
    bool save(Table& table, const QString& key, const QString& value);

    Table m_config;
    Table m_strs;
    Table m_mems;
    QSqlQuery m_strKeys;
    QString m_lastError;
};
