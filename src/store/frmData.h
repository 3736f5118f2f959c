#pragma once

#include "store/EventFormat.h"

#include <QString>
#include <QStringList>
#include <QtGlobal>

// Creates the event database as EventFormat defines it: its tables in their order, each
// column added through the two field routines, its indexes and its format version.
//
// The file is built under a temporary name in the same folder and replaces the old one
// whole (SafeReplace), so a failure never leaves a half-made event database.
class frmData
{
  public:
    // The engine's field type codes accepted by AddFieldMisc.
    enum FieldType : qint32 {
        dbInteger = EventFormat::Integer,
        dbDate = EventFormat::Date,
        dbMemo = EventFormat::Memo
    };

    // Creates folder + "event.mdb" (folder defaults to the event database's fixed folder).
    // An existing file is replaced only once the new one is complete. Returns false with
    // errorString() set when the file cannot be made.
    bool MakeZELdatabase();
    bool MakeZELdatabase(const QString& folder);
    // The same as a file of an earlier format `version` (0: a file of an unversioned
    // release), to try the upgrade steps on.
    bool MakeZELdatabase(const QString& folder, int version);

    // Append a field to the table definition being built. `position` is the field's
    // place in the table (dbKey is 0).
    void AddFieldText(qint16 position, const QString& name, qint16 size, bool allowEmpty);
    void AddFieldMisc(qint16 position, const QString& name, qint32 type);

    QString errorString() const { return m_error; }

  private:
    bool createTables(const QString& connectionName, int version);
    void addField(qint16 position, const QString& definition);

    QStringList m_fields; // column definitions after dbKey
    QString m_error;
};
