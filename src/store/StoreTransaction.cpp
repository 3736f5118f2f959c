#include "StoreTransaction.h"

#include "store/StoreError.h"
#include <QAtomicInteger>
#include <QSqlError>
#include <QSqlQuery>

StoreTransaction::StoreTransaction(const QSqlDatabase& db) : m_db(db)
{
    static QAtomicInteger<quint64> counter;
    m_savepoint = QStringLiteral("zel_save_%1").arg(++counter);
    m_active = run(QStringLiteral("SAVEPOINT ") + m_savepoint);
}

StoreTransaction::~StoreTransaction()
{
    if (m_active)
        rollback();
}

bool StoreTransaction::run(const QString& statement)
{
    QSqlQuery q(m_db);
    if (q.exec(statement))
        return true;
    if (m_error.isEmpty())
        m_error = StoreError::plain(q.lastError());
    return false;
}

bool StoreTransaction::commit()
{
    if (!m_active)
        return false;
    // RELEASE of the outermost savepoint is the commit; when it fails (a full disk, say)
    // the savepoint is still open and is undone below.
    if (run(QStringLiteral("RELEASE ") + m_savepoint)) {
        m_active = false;
        return true;
    }
    rollback();
    return false;
}

void StoreTransaction::rollback()
{
    if (!m_active)
        return;
    m_active = false;
    run(QStringLiteral("ROLLBACK TO ") + m_savepoint);
    run(QStringLiteral("RELEASE ") + m_savepoint);
}
