#include "StoreSession.h"

#include "catalogue/CatalogueFormat.h"
#include "platform/SafeReplace.h"
#include "store/EventFormat.h"
#include "store/NameVoiceStore.h"
#include "store/StoreError.h"

#include <QFile>
#include <QFileInfo>

#include <QDir>
#include <QSqlError>
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
    if (!m_config->hasTables(CatalogueFormat::tables(), &missing)) {
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
    m_voices = std::make_unique<NameVoiceStore>(m_event->database());
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
    if (EventFormat::inspect(*m_event, &version, &reason) != EventFormat::Ours)
        return fail(what, m_eventFile, reason);
    if (!EventFormat::isWhole(*m_event, &reason))
        return fail(what, m_eventFile, reason);
    m_identity = FileIdentity::of(m_eventFile);
    if (m_access == ReadOnly)
        return true;
    // Everything the wizard saves must be able to reach the file: a file or folder that may
    // only be read is found here, before the couple fills a page, not at its Next.
    const QFileInfo file(m_eventFile);
    if (!file.isWritable() || !QFileInfo(file.absolutePath()).isWritable())
        return fail(
            what, m_eventFile,
            QStringLiteral("the %1 may be read but not written, so no answer could be "
                           "saved. Check the permissions of the file and its folder")
                .arg(file.isWritable() ? QStringLiteral("folder") : QStringLiteral("file")));
    if (version < EventFormat::currentVersion() && !keepCopyBeforeUpgrade(version, &reason))
        return fail(what, m_eventFile,
                    QStringLiteral("no copy of it could be kept before bringing it up to this "
                                   "program's format (%1)")
                        .arg(reason));
    // The upgrade runs in the write-ahead journal as every save does: a program ended during
    // it leaves the log, which readers take for a file in use and read without its unfinished
    // end, instead of a rollback journal that a reader of the file as it stands would pass
    // over.
    if (!m_event->enableJournal())
        return fail(what, m_eventFile, m_event->errorString());
    if (!EventFormat::upgrade(*m_event, version, &reason))
        return fail(
            what, m_eventFile,
            QStringLiteral("it could not be brought up to this program's format (%1)").arg(reason));
    return true;
}

// A file of an earlier format is copied once, whole (with what its journal holds), to
// "event.mdb.format<version>" beside it, so an older release can still be given the event.
bool StoreSession::keepCopyBeforeUpgrade(int version, QString* reason)
{
    const QString copy = m_eventFile + QStringLiteral(".format%1").arg(version);
    if (QFile::exists(copy))
        return true;
    // An earlier copy cut short (the program ended during it) left its temporary file; the
    // wizard alone writes this copy, under the lock of the event's folder.
    SafeReplace::removeLeftovers(copy);
    SafeReplace replace(copy, SafeReplace::kPrivate);
    if (!replace.isReady()) {
        *reason = replace.errorString();
        return false;
    }
    QSqlQuery q(m_event->database());
    q.prepare(QStringLiteral("VACUUM INTO ?"));
    q.addBindValue(replace.temporaryName());
    if (!q.exec()) {
        *reason = StoreError::plain(q.lastError());
        return false;
    }
    q.finish();
    if (!replace.commit()) {
        *reason = replace.errorString();
        return false;
    }
    return true;
}

bool StoreSession::checkInPlace(QString* reason) const
{
    if (FileIdentity::of(m_eventFile) == m_identity)
        return true;
    *reason = QStringLiteral("The event database %1 was moved, replaced or deleted while the "
                             "Feteplan was open. Put the file back where it was (or close the "
                             "Feteplan and start it again); your answers on this page are kept "
                             "until then.")
                  .arg(QDir::toNativeSeparators(m_eventFile));
    return false;
}

bool StoreSession::fail(const QString& what, const QString& file, const QString& reason)
{
    m_error = QStringLiteral("The %1 %2 cannot be opened: %3.")
                  .arg(what, QDir::toNativeSeparators(file), reason);
    m_config.reset();
    m_event.reset();
    return false;
}
