#pragma once

#include <QSqlDatabase>
#include <QString>

// One named connection to an SQLite file, closed and removed when it goes out of scope.
// Opening checks that the file really is a database, so a damaged or foreign file is
// reported here rather than at the first read.
//
// Read-write connections use a write-ahead journal with a busy timeout, so that a grid
// holding a read never makes a save fail, and commit synchronously, so a write that
// returned true survives a crash.
class SqlConnection
{
  public:
    enum Mode { ReadWrite, ReadOnly };

    // Opens `fileName`. ReadWrite creates the file when it does not exist; callers that
    // must not create check first.
    SqlConnection(const QString& fileName, Mode mode);
    ~SqlConnection();
    SqlConnection(const SqlConnection&) = delete;
    SqlConnection& operator=(const SqlConnection&) = delete;

    bool isOpen() const { return m_open; }
    // Why the file could not be opened, in words a user can act on.
    QString errorString() const { return m_error; }
    QString name() const { return m_name; }
    QSqlDatabase database() const;

    // True when every table named exists (names compared without regard to case).
    bool hasTables(const QStringList& tables, QString* missing = nullptr) const;

  private:
    QString m_name;
    QString m_error;
    bool m_open = false;
};
