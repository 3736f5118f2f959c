#pragma once

#include <QString>
#include <QStringList>
#include <QtGlobal>

// Creates the event database: five tables (Strs, Mems, Activities, MusicIn, MusicOut),
// each beginning with the auto-numbered key dbKey. The database itself enforces the
// sizes, the 16-bit song keys and the case-insensitive unique keys of Strs and Mems.
//
// The file is built under a temporary name in the same folder and renamed when complete,
// so a failure never leaves a half-made event database.
class frmData
{
  public:
    // The engine's field type codes accepted by AddFieldMisc.
    enum FieldType : qint32 { dbInteger = 3, dbDate = 8, dbMemo = 12 };

    // Creates folder + "event.mdb" (folder defaults to the event database's fixed folder).
    // An existing file is replaced only once the new one is complete. Returns false with
    // errorString() set when the file cannot be made.
    bool MakeZELdatabase();
    bool MakeZELdatabase(const QString& folder);

    // Append a field to the table definition being built. `position` is the field's
    // place in the table (dbKey is 0).
    void AddFieldText(qint16 position, const QString& name, qint16 size, bool allowEmpty);
    void AddFieldMisc(qint16 position, const QString& name, qint32 type);

    QString errorString() const { return m_error; }

  private:
    bool createTables(const QString& connectionName);
    void beginTable(const QString& name);
    QString tableStatement() const;

    QString m_table;
    QStringList m_fields; // column definitions, dbKey first
    QString m_error;
};
