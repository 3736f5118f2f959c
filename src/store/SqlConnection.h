#pragma once

#include <QSqlDatabase>
#include <QString>

// One named connection to an SQLite file, closed and removed when it goes out of scope.
// Opening checks that the file really is a database, so a damaged or foreign file is
// reported here rather than at the first read.
//
// Every connection waits for a busy file for up to five seconds. The event database runs
// with a write-ahead journal (enableJournal), so a reader never makes a save fail, and
// commits synchronously, so a write that returned true survives a crash.
class SqlConnection
{
  public:
    // ReadWrite and ReadOnly open an existing file and never create one; Create makes the
    // file when it is missing and switches it to the write-ahead journal at once.
    enum Mode { ReadWrite, ReadOnly, Create };

    // Opens `fileName`.
    SqlConnection(const QString& fileName, Mode mode);
    ~SqlConnection();
    SqlConnection(const SqlConnection&) = delete;
    SqlConnection& operator=(const SqlConnection&) = delete;

    bool isOpen() const { return m_open; }
    // Why the file could not be opened, in words a user can act on.
    QString errorString() const { return m_error; }
    QString name() const { return m_name; }
    QSqlDatabase database() const;

    // Switches a read-write file to the write-ahead journal with synchronous commits. Run
    // only once the file is known to be ours: it changes the file's header.
    bool enableJournal();

    // True when every table named exists (names compared without regard to case).
    bool hasTables(const QStringList& tables, QString* missing = nullptr) const;

  private:
    QString m_name;
    QString m_error;
    bool m_open = false;
};
