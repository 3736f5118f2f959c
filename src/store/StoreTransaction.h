#pragma once

#include <QSqlDatabase>
#include <QString>

// All writes between its start and commit() reach the event database together, or none
// does. Transactions nest (each is a savepoint), so a list rewritten inside a page's save
// is part of the page's save. Without a commit, the destructor undoes everything.
class StoreTransaction
{
  public:
    explicit StoreTransaction(const QSqlDatabase& db);
    ~StoreTransaction();
    StoreTransaction(const StoreTransaction&) = delete;
    StoreTransaction& operator=(const StoreTransaction&) = delete;

    // False when the transaction could not begin; errorString() tells why.
    bool isActive() const { return m_active; }
    // Makes the writes part of the enclosing transaction, or of the file when there is
    // none. On failure everything is undone and errorString() tells why.
    bool commit();
    void rollback();
    QString errorString() const { return m_error; }

  private:
    bool run(const QString& statement);

    QSqlDatabase m_db;
    QString m_savepoint;
    QString m_error;
    bool m_active = false;
};
