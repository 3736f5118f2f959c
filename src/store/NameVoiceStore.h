#pragma once

#include "store/EventPlan.h"

#include <QHash>
#include <QSqlDatabase>
#include <QString>

// How the names are said, table NameVoices of the event database (format 2): one row per
// name, keyed by the keyed item that holds the name ("BN", "GN", "BPN3" for the party's
// third member, "BPEN3" for that member's escort), with the language and the recording.
//
// The couple's rows are written with their page; the party's rows are written anew with
// the party (after its items), so a voice goes wherever its row goes and is gone with it.
// A file of format 1 has no such table: it reads as having no voices.
class NameVoiceStore
{
  public:
    explicit NameVoiceStore(QSqlDatabase db) : m_db(std::move(db)) {}

    // Fills the voices of the couple or of the party's rows as stored; false with
    // errorString() set when the table cannot be read.
    bool readPerson(PersonRecord& person, QChar prefix);
    bool readParty(QList<PartyMember>& party);

    // Run inside the page's transaction; false with errorString() set stops the save.
    bool savePerson(const PersonRecord& person, QChar prefix);
    bool saveParty(const QList<PartyMember>& party);

    QString errorString() const { return m_error; }

  private:
    bool load();
    bool save(const QString& item, const NameVoice& voice);

    QSqlDatabase m_db;
    QHash<QString, NameVoice> m_read; // by upper-case item key
    QString m_error;
};
