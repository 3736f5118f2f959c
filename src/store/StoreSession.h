#pragma once

#include "store/KeyedItemStore.h"
#include "store/SqlConnection.h"

#include <QString>

#include <memory>

// The three connections opened at start and kept for the whole run: the catalogue
// (read only, for its Config table) and the event database twice (one for Strs, one for
// Mems), with the keyed item store working on them.
class StoreSession
{
  public:
    // Opens both files. On failure isOpen() is false and errorString() names the file and
    // the reason. Nothing is created, changed or repaired here.
    StoreSession(const QString& eventDatabase, const QString& catalogue);
    ~StoreSession();

    bool isOpen() const { return m_items != nullptr; }
    QString errorString() const { return m_error; }

    KeyedItemStore& items() { return *m_items; }
    const QString& eventDatabase() const { return m_eventFile; }
    const QString& catalogue() const { return m_catalogueFile; }

  private:
    bool check(const SqlConnection& conn, const QString& file, const QString& what,
               const QStringList& tables);

    QString m_eventFile;
    QString m_catalogueFile;
    QString m_error;
    std::unique_ptr<SqlConnection> m_config;
    std::unique_ptr<SqlConnection> m_strs;
    std::unique_ptr<SqlConnection> m_mems;
    std::unique_ptr<KeyedItemStore> m_items; // destroyed first: it holds queries on the connections
};
