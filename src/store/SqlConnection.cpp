#include "SqlConnection.h"

#include "store/StoreError.h"

#include <QAtomicInteger>
#include <QDir>
#include <QFileInfo>
#include <QSqlError>
#include <QSqlQuery>
#include <QUrl>

namespace
{
QString nextName()
{
    static QAtomicInteger<quint64> counter;
    return QStringLiteral("zel-%1").arg(++counter);
}

QString reasonOf(const QSqlError& error)
{
    return StoreError::plain(error);
}
} // namespace

SqlConnection::SqlConnection(const QString& fileName, Mode mode) : m_name(nextName())
{
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), m_name);
    // Only Create may make a new file: the others open the file as a URI whose mode
    // refuses to create one, so a file that vanished is reported, never re-made empty.
    if (mode == Create) {
        db.setDatabaseName(fileName);
        db.setConnectOptions(QStringLiteral("QSQLITE_BUSY_TIMEOUT=5000"));
    } else {
        QUrl uri = QUrl::fromLocalFile(QFileInfo(fileName).absoluteFilePath());
        // A file with no write-ahead log (nor rollback journal, left by a program ended
        // half way) beside it is open in no program: it is read as it stands, which makes no
        // -wal and -shm files beside it and needs no right to write the folder. Whoever reads
        // it that way and cares must see that the file did not change meanwhile (its size
        // and time).
        const bool asItStands = mode == ReadOnly &&
                                !QFileInfo::exists(fileName + QStringLiteral("-wal")) &&
                                !QFileInfo::exists(fileName + QStringLiteral("-journal"));
        uri.setQuery(mode == ReadOnly ? (asItStands ? QStringLiteral("mode=ro&immutable=1")
                                                    : QStringLiteral("mode=ro"))
                                      : QStringLiteral("mode=rw"));
        db.setDatabaseName(uri.toString(QUrl::FullyEncoded));
        db.setConnectOptions(
            mode == ReadOnly
                ? QStringLiteral("QSQLITE_OPEN_URI;QSQLITE_OPEN_READONLY;QSQLITE_BUSY_TIMEOUT=5000")
                : QStringLiteral("QSQLITE_OPEN_URI;QSQLITE_BUSY_TIMEOUT=5000"));
        if (!QFileInfo::exists(fileName)) {
            m_error = QStringLiteral("the file does not exist");
            return;
        }
    }
    if (!db.open()) {
        m_error = reasonOf(db.lastError());
        return;
    }
    QSqlQuery q(db);
    // Reading the schema is the first real access: it fails for a file that is no database.
    if (!q.exec(QStringLiteral("SELECT count(*) FROM sqlite_master"))) {
        m_error = reasonOf(q.lastError());
        return;
    }
    q.finish();
    if (mode == Create && !enableJournal())
        return;
    m_open = true;
}

bool SqlConnection::enableJournal()
{
    QSqlQuery q(database());
    if (!q.exec(QStringLiteral("PRAGMA journal_mode = WAL")) ||
        !q.exec(QStringLiteral("PRAGMA synchronous = FULL"))) {
        m_error = reasonOf(q.lastError());
        return false;
    }
    return true;
}

SqlConnection::~SqlConnection()
{
    {
        QSqlDatabase db = QSqlDatabase::database(m_name, false);
        if (db.isOpen())
            db.close();
    }
    QSqlDatabase::removeDatabase(m_name);
}

QSqlDatabase SqlConnection::database() const
{
    return QSqlDatabase::database(m_name, false);
}

bool SqlConnection::hasTables(const QStringList& tables, QString* missing) const
{
    const QStringList present = database().tables();
    for (const QString& t : tables) {
        const bool found = std::any_of(present.begin(), present.end(), [&](const QString& p) {
            return p.compare(t, Qt::CaseInsensitive) == 0;
        });
        if (!found) {
            if (missing)
                *missing = t;
            return false;
        }
    }
    return true;
}
