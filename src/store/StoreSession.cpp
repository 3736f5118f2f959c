#include "StoreSession.h"

#include <QDir>
#include <QFileInfo>

StoreSession::StoreSession(const QString& eventDatabase, const QString& catalogue)
    : m_eventFile(eventDatabase), m_catalogueFile(catalogue)
{
    const QStringList eventTables{QStringLiteral("Strs"), QStringLiteral("Mems")};
    // A missing event database is never created behind the caller's back.
    if (!QFileInfo::exists(eventDatabase)) {
        m_error = QStringLiteral("The event database %1 cannot be opened: the file does not exist.")
                      .arg(QDir::toNativeSeparators(eventDatabase));
        return;
    }
    m_config = std::make_unique<SqlConnection>(catalogue, SqlConnection::ReadOnly);
    if (!check(*m_config, catalogue, QStringLiteral("song catalogue"), {QStringLiteral("Config")}))
        return;
    m_strs = std::make_unique<SqlConnection>(eventDatabase, SqlConnection::ReadWrite);
    if (!check(*m_strs, eventDatabase, QStringLiteral("event database"), eventTables))
        return;
    m_mems = std::make_unique<SqlConnection>(eventDatabase, SqlConnection::ReadWrite);
    if (!check(*m_mems, eventDatabase, QStringLiteral("event database"), eventTables))
        return;
    m_items = std::make_unique<KeyedItemStore>(*m_config, *m_strs, *m_mems);
}

StoreSession::~StoreSession() = default;

bool StoreSession::check(const SqlConnection& conn, const QString& file, const QString& what,
                         const QStringList& tables)
{
    QString reason;
    QString missing;
    if (!conn.isOpen())
        reason = conn.errorString();
    else if (!conn.hasTables(tables, &missing))
        reason = QStringLiteral("the table %1 is missing, so the file is not a %2 of this program")
                     .arg(missing, what);
    if (reason.isEmpty())
        return true;
    m_error = QStringLiteral("The %1 %2 cannot be opened: %3.")
                  .arg(what, QDir::toNativeSeparators(file), reason);
    return false;
}
