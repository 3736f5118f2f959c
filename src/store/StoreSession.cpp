#include "StoreSession.h"

#include "store/EventSchema.h"

#include <QDir>
#include <QSqlQuery>

StoreSession::StoreSession(const QString& eventDatabase, const QString& catalogue, Access access)
    : m_eventFile(eventDatabase), m_catalogueFile(catalogue), m_access(access)
{
    if (catalogue.isEmpty()) {
        if (openEvent())
            makeStores();
        return;
    }
    m_config = std::make_unique<SqlConnection>(catalogue, SqlConnection::ReadOnly);
    QString missing;
    if (!m_config->isOpen()) {
        fail(QStringLiteral("song catalogue"), catalogue, m_config->errorString());
        return;
    }
    if (!m_config->hasTables({QStringLiteral("Config")}, &missing)) {
        fail(QStringLiteral("song catalogue"), catalogue,
             QStringLiteral("the table %1 is missing, so the file is not a song catalogue of "
                            "this program")
                 .arg(missing));
        return;
    }
    if (openEvent())
        makeStores();
}

void StoreSession::makeStores()
{
    m_schedule = std::make_unique<ScheduleStore>(m_event->database());
    m_songLists = std::make_unique<SongListStore>(m_event->database());
    m_items = std::make_unique<KeyedItemStore>(m_config.get(), *m_event);
}

StoreSession::~StoreSession() = default;

bool StoreSession::openEvent()
{
    const QString what = QStringLiteral("event database");
    m_event = std::make_unique<SqlConnection>(
        m_eventFile, m_access == ReadOnly ? SqlConnection::ReadOnly : SqlConnection::ReadWrite);
    if (!m_event->isOpen())
        return fail(what, m_eventFile, m_event->errorString());
    int version = 0;
    QString reason;
    if (EventSchema::inspect(*m_event, &version, &reason) != EventSchema::Ours)
        return fail(what, m_eventFile, reason);
    if (m_access == ReadOnly)
        return true;
    if (!EventSchema::upgrade(*m_event, version, &reason))
        return fail(
            what, m_eventFile,
            QStringLiteral("it could not be brought up to this program's format (%1)").arg(reason));
    if (!m_event->enableJournal())
        return fail(what, m_eventFile, m_event->errorString());
    return true;
}

bool StoreSession::fail(const QString& what, const QString& file, const QString& reason)
{
    m_error = QStringLiteral("The %1 %2 cannot be opened: %3.")
                  .arg(what, QDir::toNativeSeparators(file), reason);
    m_config.reset();
    m_event.reset();
    return false;
}
