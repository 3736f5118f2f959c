#include "TestSupport.h"

#include "platform/OleDate.h"
#include "store/EventFormat.h"
#include "store/EventItems.h"
#include "store/KeyedItemStore.h"
#include "store/SqlConnection.h"
#include "store/StoreSession.h"
#include "store/StoreTransaction.h"
#include "store/frmData.h"

#include <QCryptographicHash>
#include <QDir>
#include <QProcess>
#include <QRandomGenerator>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QThread>
#include <QtTest>

class TestStore : public QObject
{
    Q_OBJECT
  private slots:
    void init();
    void cleanup();
    void creationMakesEmptyTables();
    void creationIsAtomic();
    void schemaRefusesWhatTheFormatRefuses();
    void keyedItems();
    void pageSaveIsAllOrNothing();
    void formatVersions_data();
    void formatVersions();
    void upgradeStepsFromEveryVersion_data();
    void upgradeStepsFromEveryVersion();
    void eventPlanReadsWithThePagesRules();
    void storedValuesAreRangeChecked_data();
    void storedValuesAreRangeChecked();
    void storedTextIsValidUtf8();
    void unusableFilesFoundAtOpen();
    void killedSaveLeavesWholePage();
    void fullDiskLeavesWholePage();
    void killedUpgradeLeavesWholeFile();

  private:
    QString makeEventDatabase();
    std::unique_ptr<TestRoot> m_root;
    std::unique_ptr<StoreSession> m_session;
};

void TestStore::init()
{
    m_root = std::make_unique<TestRoot>();
}

void TestStore::cleanup()
{
    m_session.reset();
    m_root.reset();
}

QString TestStore::makeEventDatabase()
{
    frmData data;
    if (!data.MakeZELdatabase(m_root->dbFolder()))
        qWarning() << data.errorString();
    return m_root->dbFolder() + "event.mdb";
}

void TestStore::creationMakesEmptyTables()
{
    const QString file = makeEventDatabase();
    // Only the finished file is left behind.
    QCOMPARE(QDir(m_root->dbFolder()).entryList(QDir::Files), QStringList{"event.mdb"});
    // Tables in their order, no rows but the event's identity; their columns are what a
    // session checks at open.
    QCOMPARE(storedRows("SELECT name FROM sqlite_master WHERE type = 'table' AND name NOT LIKE "
                        "'sqlite_%' ORDER BY rowid"),
             (QList<QStringList>{
                 {"Strs"}, {"Mems"}, {"Activities"}, {"MusicIn"}, {"MusicOut"}, {"NameVoices"}}));
    QCOMPARE(storedRows("SELECT (SELECT count(*) FROM Strs WHERE Item <> 'EventId') + "
                        "(SELECT count(*) FROM Mems) + (SELECT count(*) FROM Activities) + "
                        "(SELECT count(*) FROM MusicIn) + (SELECT count(*) FROM MusicOut) + (SELECT count(*) FROM NameVoices)"),
             QList<QStringList>{{"0"}});
    QCOMPARE(storedRows("SELECT length(Usage) FROM Strs WHERE Item = 'EventId'"),
             QList<QStringList>{{"36"}});
    QVERIFY(StoreSession(file, QString()).isOpen());
}

void TestStore::keyedItems()
{
    makeEventDatabase();
    m_root->writeCatalogue({{"TotalTypes", "4"}});
    m_session = std::make_unique<StoreSession>(m_root->dbFolder() + "event.mdb",
                                               m_root->dbFolder() + "songlist.mdb");
    QVERIFY2(m_session->isOpen(), qPrintable(m_session->errorString()));
    KeyedItemStore& items = m_session->items();
    // Reads fall back to the default; the catalogue compares keys without regard to case.
    QCOMPARE(items.GetStrItem("BN", "dflt"), QString("dflt"));
    QCOMPARE(items.GetMemItem("BA", "dflt"), QString("dflt"));
    QCOMPARE(items.GetConfigItem("totaltypes", "1"), QString("4"));
    QCOMPARE(items.GetConfigItem("T01", "Type 1"), QString("Type 1"));
    // An empty value is returned as stored, not as the default.
    QVERIFY(items.SaveStrItem("BN", ""));
    QVERIFY(items.SaveMemItem("BA", QString()));
    QCOMPARE(items.GetStrItem("BN", "dflt"), QString(""));
    QCOMPARE(items.GetMemItem("BA", "dflt"), QString(""));
    // One row per key whatever its letter case, keeping the key as first written; quotes and
    // statement text are values like any other; Strs and Mems are separate tables.
    const QString hostile = "x'); DROP TABLE Strs; --";
    QVERIFY(items.SaveStrItem("BN", "Anna"));
    QVERIFY(items.SaveStrItem("bn", hostile));
    QCOMPARE(items.GetStrItem("Bn", "?"), hostile);
    QCOMPARE(storedRows("SELECT Item, Usage FROM Strs WHERE Item = 'BN' COLLATE NOCASE"),
             (QList<QStringList>{{"BN", hostile}}));
    QCOMPARE(items.GetMemItem("BN", "none"), QString("none"));
    // What the format refuses is not stored, and a refused update keeps the old value.
    const QString long300(300, 'a');
    QVERIFY(!items.SaveStrItem("EDIR", long300));
    QVERIFY(!items.lastError().isEmpty());
    QCOMPARE(items.GetStrItem("EDIR", "dflt"), QString("dflt"));
    QVERIFY(items.SaveMemItem("EDIR", long300));
    QVERIFY(items.lastError().isEmpty());
    QVERIFY(!items.SaveStrItem("KEYTOOLONG1", "x"));
    QVERIFY(!items.SaveStrItem("BN", long300));
    QCOMPARE(items.GetStrItem("BN", "?"), hostile);
    // A row whose value holds nothing at all reads as the default.
    QSqlQuery(m_session->eventConnection())
        .exec("INSERT INTO Strs (Item, Usage) VALUES ('NUL', NULL)");
    QCOMPARE(items.GetStrItem("NUL", "dflt"), QString("dflt"));
    // The catalogue is only read.
    SqlConnection ro(m_root->dbFolder() + "songlist.mdb", SqlConnection::ReadOnly);
    QVERIFY(!QSqlQuery(ro.database()).exec("INSERT INTO Config (Item, Usage) VALUES ('X', 'Y')"));
}

void TestStore::creationIsAtomic()
{
    // An unwritable folder: nothing is created and the reason is given.
    frmData data;
    QVERIFY(!data.MakeZELdatabase(m_root->path() + "/no/such/folder"));
    QVERIFY(!data.errorString().isEmpty());

    // A folder where the final name is taken by a folder: no temporary file is left behind.
    const QString folder = m_root->dbFolder();
    QVERIFY(QDir(folder).mkdir("event.mdb"));
    QVERIFY(!data.MakeZELdatabase(folder));
    QCOMPARE(QDir(folder).entryList(QDir::Files), QStringList{});
}

void TestStore::schemaRefusesWhatTheFormatRefuses()
{
    SqlConnection conn(makeEventDatabase(), SqlConnection::ReadWrite);
    QSqlQuery q(conn.database());
    const QString s255(255, 'x'), s256(256, 'x');
    // Each row: table, columns, values, whether the format takes them.
    const std::tuple<QString, QString, QVariantList, bool> rows[] = {
        {"Strs", "Item, Usage", {"BN", s255}, true},
        {"Strs", "Item, Usage", {"X1", s256}, false},
        {"Strs", "Item, Usage", {"bn", "dup"}, false}, // keys compare without regard to case
        {"Strs", "Item, Usage", {"EMPTY", ""}, true},
        {"Mems", "Item, Usage", {"ELEVENCHARS", "x"}, false},
        {"Mems", "Item, Usage", {"EFD", QString(100000, 'm')}, true},
        {"Activities", "Name, Who, SongKey", {s255, s255, 32767}, true},
        {"Activities", "Name", {s256}, false},
        {"Activities", "Who", {s256}, false},
        {"Activities", "SongKey", {32768}, false},
        {"Activities", "SongKey", {-32769}, false},
        {"Activities", "SongKey", {"abc"}, false},
        {"Activities", "SongKey", {1.5}, false},
        {"Activities", "dtScheduled", {"tomorrow"}, false},
        {"Activities", "dtScheduled, SongKey", {37366.75, -3}, true},
        {"MusicIn", "SongKey, SongTitle, SongTime", {-32768, s255, QString(15, '9')}, true},
        {"MusicOut", "SongKey, SongTitle, SongTime", {-32768, s255, QString(15, '9')}, true},
        {"MusicIn", "SongTime", {QString(16, '9')}, false},
        {"MusicOut", "SongTime", {QString(16, '9')}, false},
        {"MusicIn", "SongArtist", {s256}, false},
        {"MusicOut", "SongKey", {32768}, false}};
    for (const auto& [table, columns, values, takes] : rows) {
        q.prepare(QString("INSERT INTO %1 (%2) VALUES (?%3)")
                      .arg(table, columns, QString(", ?").repeated(values.size() - 1)));
        for (const QVariant& v : values)
            q.addBindValue(v);
        QCOMPARE(std::tuple(table, columns, q.exec()), std::tuple(table, columns, takes));
    }
    // Row keys are given in increasing order and never again, even after a delete.
    for (const char* statement :
         {"DELETE FROM Activities", "INSERT INTO Activities (Name) VALUES ('c')"})
        QVERIFY(q.exec(statement));
    QCOMPARE(storedRows("SELECT dbKey FROM Activities"), QList<QStringList>{{"3"}});
}
namespace
{
QByteArray digest(const QString& file)
{
    QFile f(file);
    return f.open(QIODevice::ReadOnly)
               ? QCryptographicHash::hash(f.readAll(), QCryptographicHash::Sha256)
               : QByteArray();
}

// Starts the page saver on `file`. A saver killed or starved of disk must not write the
// build's own coverage counts, so any it writes go to a folder beside the file.
void startSaver(QProcess& p, const QString& file, const QStringList& args)
{
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("GCOV_PREFIX", QFileInfo(file).path() + "/counts");
    p.setProcessEnvironment(env);
    p.start(PAGE_SAVER, QStringList{file} + args);
}

// Runs the page saver; its standard output (for "print": which page is stored, "A", "B" or
// "mixed") or, for the other modes, its exit code as text.
QString runSaver(const QString& file, const QString& variant, const QString& mode)
{
    QProcess p;
    startSaver(p, file, {variant, mode});
    p.waitForFinished();
    return mode == "print" ? QString::fromLatin1(p.readAllStandardOutput()).trimmed()
                           : QString::number(p.exitCode());
}

QString storedVariant(const QString& file)
{
    return runSaver(file, "-", "print");
}

int versionOf(const QString& file)
{
    SqlConnection conn(file, SqlConnection::ReadOnly);
    QSqlQuery q(conn.database());
    return q.exec("PRAGMA user_version") && q.next() ? q.value(0).toInt() : -1;
}
} // namespace

void TestStore::pageSaveIsAllOrNothing()
{
    makeEventDatabase();
    m_session = std::make_unique<StoreSession>(m_root->dbFolder() + "event.mdb", QString());
    QVERIFY2(m_session->isOpen(), qPrintable(m_session->errorString()));
    KeyedItemStore& items = m_session->items();
    PersonRecord bride;
    bride.Name = "Anna";
    bride.Age = "29";
    QString failure;
    QVERIFY(EventItems::savePerson(items, bride, 'B', &failure));
    QVERIFY(m_session->songLists().rewrite(SongListStore::Include,
                                           {{101, "At Last", "Etta James", "3:02"}}));

    // A page whose last item is refused leaves every item of the page as it was, a list
    // rewritten within the same save included.
    {
        StoreTransaction page(m_session->eventConnection());
        PersonRecord changed = bride;
        changed.Name = "Anne";
        changed.Email = QString(300, 'e'); // over the 255 characters of Strs
        QVERIFY(m_session->songLists().rewrite(SongListStore::Include, {}));
        QVERIFY(!EventItems::savePerson(items, changed, 'B', &failure));
        QVERIFY2(failure.startsWith("BEM: "), qPrintable(failure));
    }
    QCOMPARE(storedItem("Strs", "BN"), QString("Anna"));
    QList<PickedSongRecord> songs;
    QVERIFY(m_session->songLists().read(SongListStore::Include, &songs));
    QCOMPARE(songs.size(), 1);

    // A committed page is there as a whole.
    StoreTransaction page(m_session->eventConnection());
    bride.Name = "Anne";
    QVERIFY(EventItems::savePerson(items, bride, 'B', &failure));
    QVERIFY(page.commit());
    QCOMPARE(storedItem("Strs", "BN"), QString("Anne"));
}

void TestStore::formatVersions_data()
{
    QTest::addColumn<QString>("change");
    QTest::addColumn<bool>("opens");
    QTest::addColumn<QString>("reason");
    QTest::newRow("current") << "" << true << "";
    QTest::newRow("unversioned, upgraded")
        << "PRAGMA user_version = 0; DROP TABLE NameVoices" << true << "";
    QTest::newRow("later release")
        << "PRAGMA user_version = 7" << false
        << QString("format version 7; this program reads versions up to %1")
               .arg(EventFormat::currentVersion());
    QTest::newRow("our table names, other columns")
        << "DROP TABLE MusicOut; CREATE TABLE MusicOut (dbKey INTEGER, Title TEXT)" << false
        << "the table MusicOut has no column SongKey";
    QTest::newRow("a table missing")
        << "DROP TABLE Activities" << false << "the table Activities is missing";
    QTest::newRow("another program's database")
        << "DROP TABLE Strs; CREATE TABLE Invoices (id)" << false << "the table Strs is missing";
    QTest::newRow("a file of no bytes") << "EMPTY" << false << "the table Strs is missing";
}

void TestStore::formatVersions()
{
    QFETCH(QString, change);
    QFETCH(bool, opens);
    QFETCH(QString, reason);
    const QString file = makeEventDatabase();
    {
        // The fixture as another release or program left it: not in the write-ahead journal.
        SqlConnection raw(file, SqlConnection::ReadWrite);
        QSqlQuery q(raw.database());
        QVERIFY(q.exec("PRAGMA journal_mode = DELETE"));
        for (const QString& statement :
             change == "EMPTY" ? QStringList() : change.split("; ", Qt::SkipEmptyParts))
            QVERIFY2(q.exec(statement), qPrintable(q.lastError().text()));
    }
    if (change == "EMPTY")
        QVERIFY(QFile(file).resize(0));
    const QByteArray before = digest(file);
    StoreSession session(file, QString());
    QCOMPARE(session.isOpen(), opens);
    if (!opens) {
        QVERIFY2(session.errorString().contains(reason), qPrintable(session.errorString()));
        QVERIFY(session.errorString().contains("event.mdb"));
        // Refused untouched: the same bytes, no journal beside it.
        QCOMPARE(digest(file), before);
        QVERIFY(!QFile::exists(file + "-wal"));
        return;
    }
    QSqlQuery q(session.eventConnection());
    QVERIFY(q.exec("PRAGMA user_version"));
    QVERIFY(q.next());
    QCOMPARE(q.value(0).toInt(), EventFormat::currentVersion());
}

void TestStore::upgradeStepsFromEveryVersion_data()
{
    QTest::addColumn<int>("version");
    for (int v = 0; v < EventFormat::currentVersion(); ++v)
        QTest::addRow("from version %d", v) << v;
}

void TestStore::upgradeStepsFromEveryVersion()
{
    // A file made as an earlier version is, once opened, the same as a new file: the same
    // columns with the same types, the same indexes, the current version.
    QFETCH(int, version);
    const QString schema =
        "SELECT m.name, p.name, p.type FROM sqlite_master m, "
        "pragma_table_info(m.name) p WHERE m.type = 'table' UNION ALL SELECT "
        "name, tbl_name, '' FROM sqlite_master WHERE type = 'index' ORDER BY 1, 2";
    makeEventDatabase();
    const QList<QStringList> expected = storedRows(schema);
    frmData data;
    QVERIFY2(data.MakeZELdatabase(m_root->dbFolder(), version), qPrintable(data.errorString()));
    StoreSession session(m_root->dbFolder() + "event.mdb", QString());
    QVERIFY2(session.isOpen(), qPrintable(session.errorString()));
    QCOMPARE(storedRows(schema), expected);
    QCOMPARE(storedRows("PRAGMA user_version"),
             QList<QStringList>{{QString::number(EventFormat::currentVersion())}});
}

void TestStore::eventPlanReadsWithThePagesRules()
{
    makeEventDatabase();
    m_session = std::make_unique<StoreSession>(m_root->dbFolder() + "event.mdb", QString());
    KeyedItemStore& items = m_session->items();
    // As older runs and other programs may have left them: a count beyond the stored rows,
    // a flag in another letter case, a date as day count, a time as text, an index out of range.
    for (const auto& [key, value] :
         std::initializer_list<std::pair<const char*, const char*>>{{"BPCOUNT", " 3 members"},
                                                                    {"BPN1", "Carla"},
                                                                    {"BPEN2", "Dan"},
                                                                    {"bpnr2", "Usher"},
                                                                    {"BPN03", "not a row"},
                                                                    {"BPX3", "not an item"},
                                                                    {"MTP3", "false"},
                                                                    {"MTP4", "no"},
                                                                    {"ED", "46000"},
                                                                    {"EST", "7:30 PM"},
                                                                    {"EET", "1e300"},
                                                                    {"ERT", "soon"},
                                                                    {"DL", "2.5"},
                                                                    {"DA", "9"},
                                                                    {"GN", "Ben"}})
        QVERIFY(items.SaveStrItem(key, value));
    QVERIFY(items.SaveMemItem("DN", "one\r\ntwo"));
    ActivityRecord first{46000.8125, "First dance", qint16(101), "At Last", "Etta James", "", ""};
    QVERIFY(m_session->schedule().insert({46000.75, "Entrance", {}, "", "", "DJ", "loud"}));
    QVERIFY(m_session->schedule().insert(first));
    QVERIFY(
        m_session->songLists().rewrite(SongListStore::Exclude, {{-3, "Our CD", "Ben", "4:00"}}));

    QString error;
    const std::optional<EventPlan> plan = EventPlan::read(*m_session, &error);
    QVERIFY2(plan, qPrintable(error));
    QCOMPARE(plan->Schedule.size(), 2);
    QCOMPARE(plan->Schedule[0].SongKey, std::nullopt);
    QCOMPARE(plan->Bride.Complete, false);
    // The party is believed only as far as rows were stored; a missing item reads as a blank.
    QCOMPARE(plan->Party, (QList<PartyMember>{{"Carla", " ", " ", " ", " ", " "},
                                              {" ", "Usher", "Dan", " ", " ", " "}}));
    QCOMPARE(plan->Music.Play,
             (std::array<bool, 10>{true, true, false, true, true, true, true, true, true, true}));
    QCOMPARE((QStringList{plan->Groom.Name, plan->Groom.PhoneKind2, plan->GuidanceNotes,
                          plan->Schedule[0].Name}),
             (QStringList{"Ben", "home", "one\r\ntwo", "Entrance"}));
    // Answers never given are told from stored ones; the page's default stays beside them.
    using T = PlanValue<QTime>;
    QCOMPARE(plan->Times, (PlanTimes{PlanValue<QDate>::given(QDate(2025, 12, 9)),
                                     T::given(QTime(19, 30)), {T::Unreadable, QTime(22, 0)},
                                     {T::Unreadable, QTime(16, 0)}}));
    QCOMPARE(plan->Guests, (PlanValue<QString>{PlanValue<QString>::NotGiven, "50-60"}));
    QCOMPARE(plan->Looks, PlanValue<qint16>::given(2));
    QCOMPARE(plan->Attitude, (PlanValue<qint16>{PlanValue<qint16>::Unreadable, 1}));
    QCOMPARE(plan->Schedule[1].SongKey, std::optional<qint16>(101));
    QCOMPARE(plan->Schedule[1].Time, T::given(QTime(19, 30)));
    QCOMPARE(plan->Exclude, (QList<PlanSong>{{-3, "Our CD", "Ben", PlanValue<int>::given(240)}}));
    QVERIFY(plan->Include.isEmpty());
}

void TestStore::storedValuesAreRangeChecked_data()
{
    QTest::addColumn<QString>("stored");
    QTest::addColumn<int>("state");
    QTest::addColumn<int>("seconds");
    const int given = PlanValue<int>::Given, bad = PlanValue<int>::Unreadable;
    QTest::newRow("m:ss") << "3:02" << given << 182;
    QTest::newRow("h:mm:ss") << " 1:02:05 " << given << 3725;
    QTest::newRow("seconds") << "185" << given << 185;
    QTest::newRow("empty") << "" << int(PlanValue<int>::NotGiven) << 0;
    QTest::newRow("beyond 32 bits") << "35791394:08" << bad << 0;
    QTest::newRow("beyond a day") << "24:00:01" << bad << 0;
    QTest::newRow("one-digit seconds") << "3:2" << bad << 0;
    QTest::newRow("minutes of 60") << "1:60:00" << bad << 0;
}

void TestStore::storedValuesAreRangeChecked()
{
    QFETCH(QString, stored);
    QFETCH(int, state);
    QFETCH(int, seconds);
    QCOMPARE(EventPlan::lengthOf(stored), (PlanValue<int>{PlanValue<int>::State(state), seconds}));
}

void TestStore::storedTextIsValidUtf8()
{
    makeEventDatabase();
    m_session = std::make_unique<StoreSession>(m_root->dbFolder() + "event.mdb", QString());
    const QString heart = QString::fromUtf8("\xF0\x9F\x92\x96");
    const QString kept = "A\u00A0B\u2028C" + heart; // no-break space, line separator, a pair
    const struct {
        QString value;
        QString stored;
    } cases[] = {{kept, kept},
                 {QString(199, 'x') + heart.front(), QString(199, 'x')}, // a pair cut in two
                 {heart.back() + QString("y"), "y"}};
    for (const auto& c : cases) {
        QVERIFY(m_session->items().SaveStrItem("GN", c.value));
        QVERIFY(
            m_session->songLists().rewrite(SongListStore::Include, {{1, c.value, c.value, ""}}));
        QVERIFY(m_session->schedule().insert({1.5, c.value, {}, "", "", c.value, c.value}));
        // The bytes in the file are the UTF-8 of the whole characters.
        const QString hex = QString::fromLatin1(c.stored.toUtf8().toHex().toUpper());
        QCOMPARE(storedRows("SELECT hex(Usage) FROM Strs WHERE Item = 'GN'"),
                 QList<QStringList>{{hex}});
        QCOMPARE(storedRows("SELECT hex(SongTitle) FROM MusicIn"), QList<QStringList>{{hex}});
        QCOMPARE(storedRows("SELECT hex(Who) FROM Activities ORDER BY dbKey DESC LIMIT 1"),
                 QList<QStringList>{{hex}});
    }
}

void TestStore::unusableFilesFoundAtOpen()
{
    const QString file = makeEventDatabase();
    const QString catalogue = m_root->dbFolder() + "songlist.mdb";
    m_root->writeCatalogue();
    {
        StoreSession s(file, catalogue);
        for (int i = 0; i < 400; ++i)
            QVERIFY(
                s.items().SaveMemItem(QString("M%1").arg(i), QString(500, QChar('a' + i % 26))));
        // The file at the name must stay the file opened: moved away or replaced, no write
        // may go to a file the couple can no longer find.
        QString reason;
        QVERIFY(s.checkInPlace(&reason));
        QVERIFY(QFile::rename(file, file + ".moved"));
        QVERIFY(!s.checkInPlace(&reason));
        QVERIFY(reason.contains("moved, replaced or deleted"));
        QVERIFY(QFile::copy(file + ".moved", file));
        QVERIFY(!s.checkInPlace(&reason));
        QVERIFY(QFile::remove(file));
        QVERIFY(QFile::rename(file + ".moved", file));
        QVERIFY(s.checkInPlace(&reason));
    }
    // A damaged page inside the file is found before anything is written, and the file is
    // left as it was.
    {
        QFile f(file);
        QVERIFY(f.open(QIODevice::ReadWrite));
        f.seek(f.size() / 2);
        f.write(QByteArray(4096, '\xA5'));
    }
    const QByteArray damaged = digest(file);
    StoreSession broken(file, catalogue);
    QVERIFY(!broken.isOpen());
    QVERIFY2(broken.errorString().contains("damaged"), qPrintable(broken.errorString()));
    QCOMPARE(digest(file), damaged);

    // A catalogue that is no database, or one without its song table, is refused by name.
    QVERIFY(writeFile(catalogue + ".junk", QByteArray(4096, 'z')));
    QVERIFY(StoreSession(file, catalogue + ".junk").errorString().contains("songlist.mdb.junk"));
    QCOMPARE(QFileInfo(catalogue + ".junk").size(), 4096);
    QFile::remove(file);
    makeEventDatabase();
    SqlConnection(catalogue, SqlConnection::ReadWrite).database().exec("DROP TABLE MUSIC");
    StoreSession noSongs(file, catalogue);
    QVERIFY(!noSongs.isOpen());
    QVERIFY(noSongs.errorString().contains("the table MUSIC is missing"));
}

void TestStore::killedSaveLeavesWholePage()
{
    const QString file = makeEventDatabase();
    QCOMPARE(runSaver(file, "A", "99999999"), QString("0"));
    // Killed at random moments while it saves the two pages by turns, the file holds one
    // whole page or the other, never a mix.
    QSet<QString> seen;
    for (int run = 0; run < 30; ++run) {
        QProcess saver;
        startSaver(saver, file, {run % 2 ? "A" : "B", "loop"});
        QVERIFY(saver.waitForReadyRead(5000));
        // Read while it saves (in one snapshot): one whole page, never a mix of two saves.
        QCOMPARE(QStringList({"A", "B"}).contains(storedVariant(file)), true);
        QThread::usleep(QRandomGenerator::global()->bounded(20000));
        saver.kill();
        saver.waitForFinished();
        const QString stored = storedVariant(file);
        QVERIFY2(QStringList({"A", "B"}).contains(stored), qPrintable(stored));
        seen.insert(stored);
    }
    QCOMPARE(seen.size(), 2);
}

void TestStore::fullDiskLeavesWholePage()
{
    const QString file = makeEventDatabase();
    QCOMPARE(runSaver(file, "A", "99999999"), QString("0"));
    // The disk fills at every point of the save in turn: each save either reports its
    // failure and leaves page A whole, or succeeds with page B whole.
    int failed = 0;
    for (int limit = 1024; limit <= 96 * 1024; limit += 2048) {
        const int code = runSaver(file, "B", QString::number(limit)).toInt();
        const QString stored = storedVariant(file);
        QCOMPARE(stored, code == 0 ? QString("B") : QString("A"));
        failed += code != 0;
        if (code == 0)
            QCOMPARE(runSaver(file, "A", "99999999"), QString("0"));
    }
    QVERIFY(failed > 0);
}

void TestStore::killedUpgradeLeavesWholeFile()
{
    const QString file = makeEventDatabase(), copy = file + ".format1";
    QCOMPARE(runSaver(file, "A", "99999999"), QString("0"));
    // Page A in a file of the last release's format.
    for (const char* s : {"DROP TABLE NameVoices", "PRAGMA user_version = 1", "VACUUM"})
        QVERIFY(QSqlQuery(SqlConnection(file, SqlConnection::ReadWrite).database()).exec(s));
    const QByteArray older = fileBytes(file);
    // Killed ever later, from before the copy of the old file to after the upgrade.
    QSet<int> seen;
    for (int delay = 0; seen.size() < 2 && delay < 400000; delay += 1500) {
        for (const QString& f : {copy, file + "-wal", file + "-shm"})
            QFile::remove(f);
        QVERIFY(writeFile(file, older));
        QProcess saver;
        startSaver(saver, file, {"-", "upgrade"});
        QVERIFY(saver.waitForReadyRead(5000));
        QThread::usleep(delay);
        saver.kill();
        saver.waitForFinished();
        // Whole at either version with every answer; the copy, when there, whole at version 1.
        const int version = *seen.insert(versionOf(file));
        QCOMPARE(storedVariant(file), QString("A"));
        QCOMPARE(QFile::exists(copy) ? std::pair(versionOf(copy), storedVariant(copy))
                                     : std::pair(version, QString("A")),
                 std::pair(1, QString("A")));
        // Opened again, the upgrade runs to its end, with nothing left by the one cut short.
        if (version == 1)
            QCOMPARE(runSaver(file, "-", "upgrade"), QString("0"));
        QCOMPARE(std::tuple(versionOf(file), versionOf(copy), storedVariant(file)),
                 std::tuple(2, 1, QString("A")));
        QCOMPARE(QDir(QFileInfo(file).path()).entryList({".*mdb*"}, QDir::Files | QDir::Hidden),
                 QStringList());
    }
    QCOMPARE(seen, QSet<int>({1, 2}));
}

QTEST_MAIN(TestStore)
#include "test_store.moc"
