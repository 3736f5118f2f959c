#include "TestSupport.h"

#include "platform/PathMap.h"
#include "store/SqlConnection.h"
#include "ui/ProgramEnd.h"
#include "wizard/Wizard.h"
#include "wizard/WizardPage.h"

#include <QApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QPointer>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QTest>
#include <QTimer>
#include <QWidget>

namespace
{
// The waits of whenModal() still pending; a test case's root cancels them when it ends so
// that an action never fires in the next test case.
QList<QPointer<QTimer>>& pendingWaits()
{
    static QList<QPointer<QTimer>> waits;
    return waits;
}
} // namespace

TestRoot::TestRoot(Hive hive)
{
    m_oldRoot = qgetenv("ZEL_ROOT");
    m_oldHive = qgetenv("HIVELET_HIVE");
    qputenv("ZEL_ROOT", m_dir.path().toUtf8());
    qputenv("HIVELET_HIVE", (m_dir.path() + QStringLiteral("/hive")).toUtf8());
    ProgramEnd::reset();
    ProgramEnd::setHandler([this](int code) { exitCode = code; });
    if (hive == DataInstalled)
        setReadyFlag(QStringLiteral("1"));
    MessageBox::setHandler([this](const MessageBox::Request& r) {
        messages.append(r);
        if (onMessage)
            onMessage(r);
        return answer;
    });
}

TestRoot::~TestRoot()
{
    cancelModalWaits();
    MessageBox::setHandler({});
    ProgramEnd::setHandler({});
    ProgramEnd::reset();
    for (const auto& [name, old] : {std::pair{"ZEL_ROOT", m_oldRoot}, {"HIVELET_HIVE", m_oldHive}})
        old.isNull() ? qunsetenv(name) : qputenv(name, old);
}

QString TestRoot::dbFolder() const
{
    const QString f = PathMap::dbFolder();
    QDir().mkpath(f);
    return f;
}

QString TestRoot::mediaFolder() const
{
    const QString f = PathMap::mediaFolder();
    QDir().mkpath(f);
    return f;
}

QString TestRoot::readyFlagFile() const
{
    return m_dir.path() + QStringLiteral("/hive/SOFTWARE/TARN/ZEL/Data/Ready.value");
}

void TestRoot::setReadyFlag(const QString& value) const
{
    if (!writeFile(readyFlagFile(), value.toUtf8()))
        qFatal("cannot write the settings hive of the test root");
}

void TestRoot::clearReadyFlag() const
{
    QFile::remove(readyFlagFile());
}

bool TestRoot::programEnded() const
{
    return ProgramEnd::hasEnded();
}

void TestRoot::writeCatalogue(const QMap<QString, QString>& settings,
                              const QList<QMap<QString, QVariant>>& songs) const
{
    const QString file = dbFolder() + QStringLiteral("songlist.mdb");
    QFile::remove(file);
    const QString name = QStringLiteral("test-catalogue");
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
        db.setDatabaseName(file);
        if (!db.open())
            qFatal("cannot write the test catalogue");
        QSqlQuery q(db);
        QStringList cols =
            QStringLiteral("dbKey INTEGER PRIMARY KEY|Name TEXT|Type TEXT|SType1 TEXT|"
                           "SType2 TEXT|Time TEXT|Matrix TEXT")
                .split(QLatin1Char('|'));
        for (int i = 1; i <= 9; ++i)
            cols << QStringLiteral("UDF%1 TEXT").arg(i, 2, 10, QLatin1Char('0'));
        q.exec(QStringLiteral("CREATE TABLE MUSIC (%1)").arg(cols.join(QStringLiteral(", "))));
        q.exec(QStringLiteral("CREATE TABLE Config (Item TEXT UNIQUE COLLATE NOCASE, Usage TEXT)"));
        db.transaction();
        for (auto it = settings.begin(); it != settings.end(); ++it) {
            q.prepare(QStringLiteral("INSERT INTO Config (Item, Usage) VALUES (?, ?)"));
            q.addBindValue(it.key());
            q.addBindValue(it.value());
            q.exec();
        }
        for (const auto& song : songs) {
            QStringList names, marks;
            for (auto it = song.begin(); it != song.end(); ++it) {
                names << it.key();
                marks << QStringLiteral("?");
            }
            q.prepare(QStringLiteral("INSERT INTO MUSIC (%1) VALUES (%2)")
                          .arg(names.join(QLatin1Char(',')), marks.join(QLatin1Char(','))));
            for (const auto& v : song)
                q.addBindValue(v);
            if (!q.exec())
                qFatal("cannot add a test song: %s", qPrintable(q.lastError().text()));
        }
        db.commit();
        db.close();
    }
    QSqlDatabase::removeDatabase(name);
}

void TestRoot::copySampleMedia() const
{
    const QString medium = qEnvironmentVariable("ZEL_BUILD_DIR") + QStringLiteral("/medium");
    const QDir src(medium);
    if (!src.exists())
        return;
    for (const QString& f : src.entryList(QDir::Files)) {
        const QString target =
            f == QLatin1String("songlist.mdb") ? dbFolder() + f : mediaFolder() + f;
        QFile::remove(target);
        QFile::copy(src.filePath(f), target);
    }
}

void whenModal(const QString& objectName, std::function<void(QWidget*)> action)
{
    auto* timer = new QTimer;
    timer->setInterval(0);
    pendingWaits().append(timer);
    auto deadline = std::make_shared<QDeadlineTimer>(10000);
    QObject::connect(timer, &QTimer::timeout, [=]() {
        QWidget* modal = QApplication::activeModalWidget();
        if (modal && modal->objectName() == objectName && modal->isVisible()) {
            timer->stop();
            timer->deleteLater();
            action(modal);
        } else if (deadline->hasExpired()) {
            timer->stop();
            timer->deleteLater();
            qWarning("whenModal: no modal widget named %s appeared", qPrintable(objectName));
        }
    });
    timer->start();
}

void cancelModalWaits()
{
    for (const QPointer<QTimer>& t : pendingWaits())
        delete t.data();
    pendingWaits().clear();
}

bool waitUntil(const std::function<bool()>& condition, int timeoutMs)
{
    QDeadlineTimer deadline(timeoutMs);
    while (!condition()) {
        if (deadline.hasExpired())
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    }
    return true;
}

WizardPage* visiblePage(const Wizard& wizard)
{
    WizardPage* shown = nullptr;
    for (int i = 0; i < Wizard::kPageCount; ++i) {
        WizardPage* p = wizard.loadedPage(i);
        if (p && p->isVisible()) {
            if (shown)
                return nullptr;
            shown = p;
        }
    }
    return shown;
}

QString storedItem(const QString& table, const QString& key)
{
    SqlConnection conn(PathMap::eventDatabase(), SqlConnection::ReadOnly);
    QSqlQuery q(conn.database());
    q.prepare(QStringLiteral("SELECT Usage FROM %1 WHERE Item = ?").arg(table));
    q.addBindValue(key);
    if (!q.exec() || !q.next())
        return QString();
    return q.value(0).toString();
}

QList<QStringList> storedRows(const QString& statement)
{
    SqlConnection conn(PathMap::eventDatabase(), SqlConnection::ReadOnly);
    QSqlQuery q(conn.database());
    QList<QStringList> rows;
    if (!q.exec(statement))
        return rows;
    while (q.next()) {
        QStringList r;
        for (int c = 0; c < q.record().count(); ++c)
            r << (q.isNull(c) ? QStringLiteral("<null>") : q.value(c).toString());
        rows << r;
    }
    return rows;
}

bool startWithoutLoader(Wizard& wizard)
{
    bool asked = false;
    whenModal(QStringLiteral("frmLoadData"), [&](QWidget* dlg) {
        asked = true;
        dlg->close();
    });
    const bool started = wizard.startAndShow();
    QCoreApplication::processEvents();
    cancelModalWaits();
    return started && !asked;
}

QByteArray fileBytes(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

bool writeFile(const QString& path, const QByteArray& data, QFile::Permissions extra)
{
    QFile f(path);
    return QDir().mkpath(QFileInfo(path).path()) &&
           f.open(QIODevice::WriteOnly, QFile::ReadOwner | QFile::WriteOwner | extra) &&
           f.write(data) == data.size();
}

namespace
{

QString field(const QString& v)
{
    return '"' + QString(v).replace("\r\n", "\\r\\n") + '"';
}
QString field(double v)
{
    return QString::number(v, 'g', 12);
}
QString field(const std::optional<double>& v)
{
    return v ? field(*v) : "none";
}

// "Type{field, field, ...}" with the texts quoted and their line ends shown.
template <class... F> char* fields(const char* type, const F&... values)
{
    return QTest::toString(QString(type) + '{' + QStringList{field(values)...}.join(", ") + '}');
}

} // namespace

char* toString(const PersonRecord& r)
{
    return fields("PersonRecord", double(r.Complete), r.Name, r.Age, r.Pronunciation, r.Address,
                  r.Phone1, r.Phone2, r.Phone3, r.PhoneKind1, r.PhoneKind2, r.PhoneKind3, r.Email);
}
char* toString(const FacilityRecord& r)
{
    return fields("FacilityRecord", r.Name, r.Address, r.Contact, r.Number, r.NumberKind,
                  r.Directions);
}
char* toString(const PickedSongRecord& r)
{
    return fields("PickedSongRecord", double(r.Key), r.Title, r.Artist, r.Length);
}
char* toString(const PartyMember& r)
{
    return fields("PartyMember", r.Name, r.Role, r.Escort, r.EscortRole, r.Pronunciation,
                  r.EscortPronunciation);
}
char* toString(const ScheduledActivity& r)
{
    static const char* const states[] = {" (not given)", "", " (unreadable)"};
    const QString time = r.Time.value.toString("h:mm AP") + states[r.Time.state];
    return fields("ScheduledActivity", double(r.Key), time, r.Name,
                  std::optional<double>(r.SongKey), r.SongTitle, r.SongArtist, r.Who, r.MoreInfo);
}
char* toString(const ActivityRecord& r)
{
    return fields("ActivityRecord", r.Scheduled, r.Name, std::optional<double>(r.SongKey),
                  r.SongTitle, r.SongArtist, r.Who, r.MoreInfo);
}
