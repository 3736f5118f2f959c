#include "TestSupport.h"

#include "store/KeyedItemStore.h"
#include "store/SqlConnection.h"
#include "store/StoreSession.h"
#include "store/frmData.h"

#include <QDir>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QtTest>

class TestStore : public QObject
{
    Q_OBJECT
  private slots:
    void init();
    void cleanup();
    void creationMakesFiveEmptyTables();
    void creationIsAtomic();
    void schemaRefusesWhatTheFormatRefuses();
    void dbKeyNeverReused();
    void readsFallBackToDefault();
    void writesInsertOrUpdate();
    void refusedWriteStoresNothing();
    void catalogueIsReadOnlyAndCaseBlind();
    void sessionReportsDamagedFiles();

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

void TestStore::creationMakesFiveEmptyTables()
{
    const QString file = makeEventDatabase();
    QVERIFY(QFile::exists(file));
    // Only the finished file is left behind.
    QCOMPARE(QDir(m_root->dbFolder()).entryList(QDir::Files), QStringList{"event.mdb"});

    SqlConnection conn(file, SqlConnection::ReadOnly);
    QVERIFY(conn.isOpen());
    QSqlQuery q(conn.database());
    QVERIFY(q.exec("SELECT name FROM sqlite_master WHERE type = 'table' AND name NOT LIKE "
                   "'sqlite_%' ORDER BY rowid"));
    QStringList tables;
    while (q.next())
        tables << q.value(0).toString();
    QCOMPARE(tables, (QStringList{"Strs", "Mems", "Activities", "MusicIn", "MusicOut"}));

    const QMap<QString, QStringList> fields{
        {"Strs", {"dbKey", "Item", "Usage"}},
        {"Mems", {"dbKey", "Item", "Usage"}},
        {"Activities",
         {"dbKey", "dtScheduled", "Name", "SongKey", "SongTitle", "SongArtist", "Who", "MoreInfo"}},
        {"MusicIn", {"dbKey", "SongKey", "SongTitle", "SongArtist", "SongTime"}},
        {"MusicOut", {"dbKey", "SongKey", "SongTitle", "SongArtist", "SongTime"}}};
    for (auto it = fields.begin(); it != fields.end(); ++it) {
        const QSqlRecord rec = conn.database().record(it.key());
        QStringList names;
        for (int i = 0; i < rec.count(); ++i)
            names << rec.fieldName(i);
        QCOMPARE(names, it.value());
        QVERIFY(q.exec("SELECT count(*) FROM " + it.key()) && q.next());
        QCOMPARE(q.value(0).toInt(), 0);
    }
    QVERIFY(q.exec("PRAGMA journal_mode") && q.next());
    QCOMPARE(q.value(0).toString(), QString("wal"));
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
    auto insert = [&](const QString& sql, const QVariantList& values) {
        q.prepare(sql);
        for (const auto& v : values)
            q.addBindValue(v);
        return q.exec();
    };
    const QString s255(255, 'x'), s256(256, 'x');
    QVERIFY(insert("INSERT INTO Strs (Item, Usage) VALUES (?, ?)", {"BN", s255}));
    QVERIFY(!insert("INSERT INTO Strs (Item, Usage) VALUES (?, ?)", {"X1", s256}));
    QVERIFY(!insert("INSERT INTO Strs (Item, Usage) VALUES (?, ?)", {"bn", "dup"}));
    QVERIFY(!insert("INSERT INTO Mems (Item, Usage) VALUES (?, ?)", {"ELEVENCHARS", "x"}));
    QVERIFY(insert("INSERT INTO Mems (Item, Usage) VALUES (?, ?)", {"EFD", QString(100000, 'm')}));
    QVERIFY(insert("INSERT INTO Strs (Item, Usage) VALUES (?, ?)", {"EMPTY", ""}));

    QVERIFY(insert("INSERT INTO Activities (Name, Who, SongKey) VALUES (?, ?, ?)",
                   {s255, s255, 32767}));
    QVERIFY(!insert("INSERT INTO Activities (Name) VALUES (?)", {s256}));
    QVERIFY(!insert("INSERT INTO Activities (Who) VALUES (?)", {s256}));
    QVERIFY(!insert("INSERT INTO Activities (SongKey) VALUES (?)", {32768}));
    QVERIFY(!insert("INSERT INTO Activities (SongKey) VALUES (?)", {-32769}));
    QVERIFY(!insert("INSERT INTO Activities (SongKey) VALUES (?)", {"abc"}));
    QVERIFY(!insert("INSERT INTO Activities (SongKey) VALUES (?)", {1.5}));
    QVERIFY(!insert("INSERT INTO Activities (dtScheduled) VALUES (?)", {"tomorrow"}));
    QVERIFY(insert("INSERT INTO Activities (dtScheduled, SongKey) VALUES (?, ?)", {37366.75, -3}));
    for (const QString table : {"MusicIn", "MusicOut"}) {
        QVERIFY(insert("INSERT INTO " + table + " (SongKey, SongTitle, SongTime) VALUES (?, ?, ?)",
                       {-32768, s255, QString(15, '9')}));
        QVERIFY(!insert("INSERT INTO " + table + " (SongTime) VALUES (?)", {QString(16, '9')}));
        QVERIFY(!insert("INSERT INTO " + table + " (SongArtist) VALUES (?)", {s256}));
        QVERIFY(!insert("INSERT INTO " + table + " (SongKey) VALUES (?)", {32768}));
    }
}

void TestStore::dbKeyNeverReused()
{
    SqlConnection conn(makeEventDatabase(), SqlConnection::ReadWrite);
    QSqlQuery q(conn.database());
    QVERIFY(q.exec("INSERT INTO Activities (Name) VALUES ('a')"));
    QVERIFY(q.exec("INSERT INTO Activities (Name) VALUES ('b')"));
    QVERIFY(q.exec("DELETE FROM Activities WHERE Name = 'b'"));
    QVERIFY(q.exec("INSERT INTO Activities (Name) VALUES ('c')"));
    QVERIFY(q.exec("SELECT dbKey FROM Activities ORDER BY dbKey"));
    QList<int> keys;
    while (q.next())
        keys << q.value(0).toInt();
    QCOMPARE(keys, (QList<int>{1, 3}));
}

void TestStore::readsFallBackToDefault()
{
    makeEventDatabase();
    m_root->writeCatalogue();
    m_session = std::make_unique<StoreSession>(m_root->dbFolder() + "event.mdb",
                                               m_root->dbFolder() + "songlist.mdb");
    QVERIFY2(m_session->isOpen(), qPrintable(m_session->errorString()));
    KeyedItemStore& items = m_session->items();
    QCOMPARE(items.GetStrItem("BN", "dflt"), QString("dflt"));
    QCOMPARE(items.GetMemItem("BA", "dflt"), QString("dflt"));
    QCOMPARE(items.GetConfigItem("TotalTypes", "1"), QString("1"));

    // An empty value is returned as stored, not as the default.
    QVERIFY(items.SaveStrItem("BN", ""));
    QCOMPARE(items.GetStrItem("BN", "dflt"), QString(""));
    QVERIFY(items.SaveMemItem("BA", QString()));
    QCOMPARE(items.GetMemItem("BA", "dflt"), QString(""));

    // A row whose value holds nothing at all reads as the default.
    SqlConnection raw(m_root->dbFolder() + "event.mdb", SqlConnection::ReadWrite);
    QSqlQuery q(raw.database());
    QVERIFY(q.exec("INSERT INTO Strs (Item, Usage) VALUES ('NUL', NULL)"));
    QCOMPARE(items.GetStrItem("NUL", "dflt"), QString("dflt"));
}

void TestStore::writesInsertOrUpdate()
{
    makeEventDatabase();
    m_root->writeCatalogue();
    m_session = std::make_unique<StoreSession>(m_root->dbFolder() + "event.mdb",
                                               m_root->dbFolder() + "songlist.mdb");
    KeyedItemStore& items = m_session->items();
    QVERIFY(items.SaveStrItem("BN", "Anna"));
    QVERIFY(items.SaveStrItem("BN", "Anne"));
    QVERIFY(items.SaveStrItem("bn", "Annie"));
    QCOMPARE(items.GetStrItem("Bn", "?"), QString("Annie"));
    // Quotes and statement text are values like any other.
    const QString hostile = "x'); DROP TABLE Strs; --";
    QVERIFY(items.SaveStrItem("GN", hostile));
    QCOMPARE(items.GetStrItem("GN", "?"), hostile);
    // A number-like value is kept as text.
    QVERIFY(items.SaveStrItem("BPCOUNT", " 3"));
    QCOMPARE(items.GetStrItem("BPCOUNT", "?"), QString(" 3"));

    // One row per key, whatever its letter case, and the key as first written.
    SqlConnection raw(m_root->dbFolder() + "event.mdb", SqlConnection::ReadOnly);
    QSqlQuery q(raw.database());
    QVERIFY(q.exec("SELECT Item, Usage FROM Strs WHERE Item = 'BN' COLLATE NOCASE"));
    QVERIFY(q.next());
    QCOMPARE(q.value(0).toString(), QString("BN"));
    QCOMPARE(q.value(1).toString(), QString("Annie"));
    QVERIFY(!q.next());
    // Strs and Mems are separate tables.
    QCOMPARE(items.GetMemItem("BN", "none"), QString("none"));
}

void TestStore::refusedWriteStoresNothing()
{
    makeEventDatabase();
    m_root->writeCatalogue();
    m_session = std::make_unique<StoreSession>(m_root->dbFolder() + "event.mdb",
                                               m_root->dbFolder() + "songlist.mdb");
    KeyedItemStore& items = m_session->items();
    const QString long300(300, 'a');
    QVERIFY(!items.SaveStrItem("EDIR", long300));
    QVERIFY(!items.lastError().isEmpty());
    QCOMPARE(items.GetStrItem("EDIR", "dflt"), QString("dflt"));
    QVERIFY(items.SaveMemItem("EDIR", long300));
    QCOMPARE(items.GetMemItem("EDIR", "dflt"), long300);
    QVERIFY(items.lastError().isEmpty());

    QVERIFY(!items.SaveStrItem("KEYTOOLONG1", "x"));
    QCOMPARE(items.GetStrItem("KEYTOOLONG1", "dflt"), QString("dflt"));
    // An update that is refused keeps the old value.
    QVERIFY(items.SaveStrItem("BN", "Anna"));
    QVERIFY(!items.SaveStrItem("BN", long300));
    QCOMPARE(items.GetStrItem("BN", "?"), QString("Anna"));
}

void TestStore::catalogueIsReadOnlyAndCaseBlind()
{
    makeEventDatabase();
    m_root->writeCatalogue({{"TotalTypes", "4"}, {"udfcount", "2"}});
    m_session = std::make_unique<StoreSession>(m_root->dbFolder() + "event.mdb",
                                               m_root->dbFolder() + "songlist.mdb");
    QVERIFY(m_session->isOpen());
    QCOMPARE(m_session->items().GetConfigItem("totaltypes", "1"), QString("4"));
    QCOMPARE(m_session->items().GetConfigItem("UDFCount", "0"), QString("2"));
    QCOMPARE(m_session->items().GetConfigItem("T01", "Type 1"), QString("Type 1"));

    SqlConnection ro(m_root->dbFolder() + "songlist.mdb", SqlConnection::ReadOnly);
    QSqlQuery q(ro.database());
    QVERIFY(!q.exec("INSERT INTO Config (Item, Usage) VALUES ('X', 'Y')"));
}

void TestStore::sessionReportsDamagedFiles()
{
    const QString event = makeEventDatabase();
    const QString catalogue = m_root->dbFolder() + "songlist.mdb";

    // A catalogue that is no database: named in the reason, nothing changed.
    QFile junk(catalogue);
    QVERIFY(junk.open(QIODevice::WriteOnly));
    junk.write(QByteArray(4096, 'z'));
    junk.close();
    {
        StoreSession s(event, catalogue);
        QVERIFY(!s.isOpen());
        QVERIFY(s.errorString().contains("songlist.mdb"));
        QVERIFY(s.errorString().contains("damaged"));
    }
    QCOMPARE(QFileInfo(catalogue).size(), 4096);

    // An event database that is no database is never repaired or replaced.
    m_root->writeCatalogue();
    QFile::remove(event);
    QFile bad(event);
    QVERIFY(bad.open(QIODevice::WriteOnly));
    bad.write("this is a letter, not a database\n");
    bad.close();
    {
        StoreSession s(event, catalogue);
        QVERIFY(!s.isOpen());
        QVERIFY(s.errorString().contains("event.mdb"));
    }
    QFile check(event);
    QVERIFY(check.open(QIODevice::ReadOnly));
    QCOMPARE(check.readAll(), QByteArray("this is a letter, not a database\n"));

    // A database of another program (no Strs table).
    QFile::remove(event);
    {
        SqlConnection other(event, SqlConnection::Create);
        QSqlQuery q(other.database());
        QVERIFY(q.exec("CREATE TABLE Invoices (id INTEGER)"));
    }
    StoreSession s(event, catalogue);
    QVERIFY(!s.isOpen());
    QVERIFY(s.errorString().contains("Strs"));
}

QTEST_MAIN(TestStore)
#include "test_store.moc"
