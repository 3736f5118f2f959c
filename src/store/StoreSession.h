#pragma once

#include "store/FileIdentity.h"
#include "store/KeyedItemStore.h"
#include "store/NameVoiceStore.h"
#include "store/ScheduleStore.h"
#include "store/SongListStore.h"
#include "store/SqlConnection.h"

#include <QString>

#include <memory>

// The event database and the catalogue, opened at start and kept for the whole run: the
// catalogue read only (for its Config table), the event database on one connection that
// every table of it is read and written through.
//
// The event database is checked before anything is written to it: its tables and columns,
// its format version (a later one is refused, an earlier one upgraded) and its pages. A file
// that fails is left as it was.
class StoreSession
{
  public:
    // ReadWrite: the wizard's session, writes allowed, an older format upgraded.
    // ReadOnly: the event database only read (a tool over someone's file): nothing in the file
    // changes, an older format is read as it is. A tool may leave the catalogue out (empty
    // name); every catalogue setting then reads as its default.
    enum Access { ReadWrite, ReadOnly };

    // Opens both files. On failure isOpen() is false and errorString() names the file and
    // the reason. Nothing is created here.
    StoreSession(const QString& eventDatabase, const QString& catalogue, Access access = ReadWrite);
    ~StoreSession();

    bool isOpen() const { return m_items != nullptr; }
    QString errorString() const { return m_error; }

    KeyedItemStore& items() { return *m_items; }
    ScheduleStore& schedule() { return *m_schedule; }
    SongListStore& songLists() { return *m_songLists; }
    NameVoiceStore& voices() { return *m_voices; }
    // The event database's connection, for a StoreTransaction around a page's save.
    QSqlDatabase eventConnection() const { return m_event->database(); }

    // True while the file at the event database's name is still the file opened at start;
    // otherwise `reason` tells the user what happened and what to do. Run before a write:
    // a file moved away would otherwise take answers the couple can no longer find.
    bool checkInPlace(QString* reason) const;

    const QString& eventDatabase() const { return m_eventFile; }
    const QString& catalogue() const { return m_catalogueFile; }

  private:
    bool keepCopyBeforeUpgrade(int version, QString* reason);
    bool openEvent();
    void makeStores();
    bool fail(const QString& what, const QString& file, const QString& reason);

    QString m_eventFile;
    QString m_catalogueFile;
    QString m_error;
    Access m_access;
    FileIdentity m_identity;
    std::unique_ptr<SqlConnection> m_config;
    std::unique_ptr<SqlConnection> m_event;
    std::unique_ptr<ScheduleStore> m_schedule;
    std::unique_ptr<NameVoiceStore> m_voices;
    std::unique_ptr<SongListStore> m_songLists;
    std::unique_ptr<KeyedItemStore> m_items; // destroyed first: it holds queries on the connections
};
