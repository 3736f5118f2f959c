// The song catalogue: the real catalogue built from its CSV sources, the builder's refusals
// of bad input, the CSV reading, the synthetic generator, the command-line tool and the
// data medium gathered in the build tree.

#include "TestSupport.h"

#include "CatalogueBuilder.h"
#include "CsvReader.h"
#include "SettingsSheet.h"
#include "store/StoreSession.h"
#include "store/frmData.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QtTest>

namespace
{

QString sourceDir()
{
    return qEnvironmentVariable("ZEL_SOURCE_DIR");
}
QString realSongs()
{
    return sourceDir() + "/data/catalogue/songs.csv";
}
QString realSettings()
{
    return sourceDir() + "/data/catalogue/settings.csv";
}

void writeFile(const QString& path, const QByteArray& data)
{
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(data);
}

QByteArray readFile(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// A connection of its own to a catalogue file, removed when it goes out of scope.
class Catalogue
{
  public:
    explicit Catalogue(const QString& file) : m_name(QString("test-catalogue-%1").arg(++s_count))
    {
        QSqlDatabase db = QSqlDatabase::addDatabase("QSQLITE", m_name);
        db.setDatabaseName(file);
        m_open = db.open();
    }
    ~Catalogue()
    {
        QSqlDatabase::database(m_name, false).close();
        QSqlDatabase::removeDatabase(m_name);
    }
    bool isOpen() const { return m_open; }
    QSqlQuery query() const { return QSqlQuery(QSqlDatabase::database(m_name, false)); }
    // The first column of every row the statement selects, its values bound in order.
    QVariantList column(const QString& sql, const QVariantList& binds = {}) const
    {
        QSqlQuery q = query();
        QVariantList out;
        q.prepare(sql);
        for (const QVariant& b : binds)
            q.addBindValue(b);
        if (q.exec())
            while (q.next())
                out << q.value(0);
        return out;
    }
    QVariant value(const QString& sql, const QVariantList& binds = {}) const
    {
        return column(sql, binds).value(0);
    }
    int count(const QString& where = "1") const
    {
        return value("SELECT count(*) FROM MUSIC WHERE " + where).toInt();
    }

  private:
    static inline int s_count = 0;
    QString m_name;
    bool m_open = false;
};

const QByteArray kHeader = "key,title,artist,year,length,type,subtype,categories\n";
const QByteArray kSettings = "Item,Usage\nTotalTypes,3\nSType1,True\nSType1Count,2\n"
                             "MATRIX00,+First Dance\nMATRIX02,+Line Dance\nMATRIX05,0Unused\n";
const QByteArray kAtLast = "1,At Last,Etta James,1960,3:02,3,1,0\n";

// Songs and settings files in a temporary folder, and the catalogue built from them.
struct Sources {
    QTemporaryDir dir;
    QString songs = dir.filePath("songs.csv");
    QString settings = dir.filePath("settings.csv");
    QString out = dir.filePath("songlist.mdb");
    CatalogueBuilder builder;
    bool build(const QByteArray& songRows, const QByteArray& settingsText = kSettings)
    {
        writeFile(songs, songRows.startsWith("key,") ? songRows : kHeader + songRows);
        writeFile(settings, settingsText);
        return builder.build(songs, settings, out);
    }
};

} // namespace

class TestCatalogue : public QObject
{
    Q_OBJECT

  private slots:
    void realCatalogueRoundTrip();
    void refusals_data();
    void refusals();
    void refusedBuildKeepsTheOldCatalogue();
    void csvReading();
    void quotedTitlesRoundTrip();
    void generator();
    void generatorKeyRange();
    void commandLine();
    void mediumFolder();
};

void TestCatalogue::realCatalogueRoundTrip()
{
    TestRoot root;
    const QString out = root.dbFolder() + "songlist.mdb";
    CatalogueBuilder builder;
    QVERIFY2(builder.build(realSongs(), realSettings(), out), qPrintable(builder.errorString()));
    QVERIFY(builder.songCount() >= 400);

    // Settings as the wizard reads them, through the keyed item store.
    frmData maker;
    QVERIFY(maker.MakeZELdatabase(root.dbFolder()));
    StoreSession session(root.dbFolder() + "event.mdb", out);
    QVERIFY2(session.isOpen(), qPrintable(session.errorString()));
    KeyedItemStore& items = session.items();
    const QList<std::pair<QString, QString>> settings{{"UDFCount", "2"},
                                                      {"UDF01", "Artist"},
                                                      {"udf02", "Year"},
                                                      {"SType1", "True"},
                                                      {"MATRIX00", "+First Dance"}};
    for (const auto& [item, usage] : settings)
        QCOMPARE(items.GetConfigItem(item, "?"), usage);
    const int types = items.GetConfigItem("TotalTypes", "1").toInt();
    QVERIFY(types >= 2 && types <= 9);
    for (int t = 1; t <= types; ++t)
        QVERIFY(!items.GetConfigItem(QString("T%1").arg(t, 2, 10, QLatin1Char('0')), "").isEmpty());

    // At least eight categories in use, each with a short caption and songs marked in it.
    Catalogue cat(out);
    QVERIFY(cat.isOpen());
    int used = 0;
    for (int j = 0; j < 15; ++j) {
        const QString v = items.GetConfigItem(SettingsSheet::categoryKey(j), "0");
        if (!v.startsWith('+'))
            continue;
        ++used;
        QVERIFY2(v.size() - 1 <= SettingsSheet::kMaxCaptionLength, qPrintable(v));
        QVERIFY2(cat.count(QString("Matrix LIKE '%%1%'").arg(SettingsSheet::categoryCode(j))) >= 5,
                 qPrintable(v));
    }
    QVERIFY(used >= 8);

    // Every row fits what the wizard reads.
    QCOMPARE(cat.count(), int(builder.songCount()));
    QCOMPARE(cat.count(QString("dbKey NOT BETWEEN 1 AND 32767 OR Name IS NULL OR trim(Name) = ''"
                               " OR UDF01 IS NULL OR CAST(Type AS INTEGER) NOT BETWEEN 1 AND %1")
                           .arg(types)),
             0);
    QCOMPARE(cat.value("SELECT count(DISTINCT Type) FROM MUSIC").toInt(), types);
    QVERIFY(cat.value("SELECT count(DISTINCT substr(UDF02, 1, 3)) FROM MUSIC").toInt() >= 7);

    // A few known rows, including texts with commas that the CSV quotes.
    QCOMPARE(cat.column("SELECT UDF01 || '|' || UDF02 || '|' || Time || '|' || Type FROM MUSIC "
                        "WHERE Name = 'At Last' AND Matrix LIKE '%0%'"),
             QVariantList{"Etta James|1960|3:02|3"});
    QCOMPARE(cat.value("SELECT UDF01 FROM MUSIC WHERE Name = ?",
                       {"Signed, Sealed, Delivered I'm Yours"}),
             QVariant("Stevie Wonder"));
    QCOMPARE(cat.count("UDF01 = 'Earth, Wind & Fire'"), 2);
    QCOMPARE(
        cat.value("SELECT Name FROM MUSIC WHERE UDF01 = 'Kool & the Gang' AND Matrix LIKE '%3%'"),
        QVariant("Celebration"));

    // The search's title order is served by the title index, without a sort of its own, and
    // lists every song in title order without regard to case.
    const QString all = "SELECT Name FROM MUSIC WHERE Name LIKE '%%' ORDER BY name";
    QSqlQuery plan = cat.query();
    QVERIFY(plan.exec("EXPLAIN QUERY PLAN " + all));
    QString planText;
    while (plan.next())
        planText += plan.value(3).toString() + '\n';
    QVERIFY2(planText.contains("MusicName") && !planText.contains("TEMP B-TREE"),
             qPrintable(planText));
    const QVariantList names = cat.column(all);
    QCOMPARE(names.size(), int(builder.songCount()));
    for (int i = 1; i < names.size(); ++i)
        QVERIFY2(names[i - 1].toString().compare(names[i].toString(), Qt::CaseInsensitive) <= 0,
                 qPrintable(names[i].toString()));
    // The user field picker's statement lists each artist once.
    const QVariantList artists =
        cat.column("SELECT udf01 FROM music WHERE udf01 > ' ' GROUP BY udf01 ORDER BY udf01");
    QVERIFY(artists.size() > 200);
    QCOMPARE(artists.count("ABBA"), 1);

    // The wizard opens the catalogue read only: a plain journal leaves no files beside it.
    QCOMPARE(cat.value("PRAGMA journal_mode").toString(), QString("delete"));
    QVERIFY(!QFile::exists(out + "-wal"));
}

void TestCatalogue::refusals_data()
{
    // Which file is wrong, its contents, and the line and reason the refusal names.
    QTest::addColumn<bool>("inSettings");
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<QString>("where");
    QTest::addColumn<QString>("reason");
    auto songs = [](const char* name, const QByteArray& rows, const char* where,
                    const char* reason) {
        QTest::newRow(name) << false << rows << QString(where) << QString(reason);
    };
    auto settings = [](const char* name, const QByteArray& text, const char* where,
                       const char* reason) {
        QTest::newRow(name) << true << QByteArray("Item,Usage\n" + text) << QString(where)
                            << QString(reason);
    };
    const QByteArray ok = kAtLast;
    const QByteArray respect = "Respect,Aretha Franklin,1967,2:27,2";
    songs("duplicate key", ok + "2,Shout,x,1959,4:27,1,,\n1," + respect + ",,\n",
          ":4:", "the key 1 is already used on line 2");
    songs("key 0", "0," + respect + ",,\n", ":2:", "the key 0 is outside 1..32767");
    songs("key -1", ok + "-1," + respect + ",,\n", ":3:", "the key -1 is outside 1..32767");
    songs("key 32768", ok + "32768," + respect + ",,\n",
          ":3:", "the key 32768 is outside 1..32767");
    songs("key not a number", ok + "12a," + respect + ",,\n",
          ":3:", "the key \"12a\" is not a whole number");
    songs("missing title", ok + "2,  ,Aretha Franklin,1967,2:27,2,,\n",
          ":3:", "the title is missing");
    songs("unterminated quote", ok + "2,\"" + respect + ",,\n3,Shout,x,,,1,,\n",
          ":3:", "a quoted field is not closed");
    songs("text after closing quote", ok + "2,\"Respect\" now,Aretha Franklin,1967,2:27,2,,\n",
          ":3:", "text follows the closing quote");
    songs("stray quote", ok + "2,Say \"Hi\",Aretha Franklin,1967,2:27,2,,\n",
          ":3:", "a quote inside field 2");
    songs("too few fields", ok + "2," + respect + "\n", ":3:", "expected 8 fields, found 6");
    songs("comma in unquoted title", ok + "2,Hold On, I'm Comin',Sam & Dave,1966,2:33,2,,\n",
          ":3:", "expected 8 fields, found 9");
    songs("bad length", ok + "2,Respect,Aretha Franklin,1967,2.27,2,,\n",
          ":3:", "the length \"2.27\" is not minutes:seconds");
    songs("bad year", ok + "2,Respect,Aretha Franklin,67,2:27,2,,\n", ":3:", "the year \"67\"");
    songs("type beyond TotalTypes", ok + "2,Respect,Aretha Franklin,1967,2:27,4,,\n",
          ":3:", "the type \"4\" is not a music type number from 1 to 3");
    songs("sub-type beyond count", ok + "2," + respect + ",3,\n",
          ":3:", "the sub-type \"3\" is not a sub-type number from 1 to 2");
    songs("category not in use", ok + "2," + respect + ",,5\n",
          ":3:", "\"5\" is not the code of a special category in use (in use: 02)");
    songs("bad header", "key,name\n", ":1:", "the header must be");
    settings("duplicate setting", "UDF01,Artist\nudf01,Singer\n",
             ":3:", "the setting \"udf01\" is already given on line 2");
    settings("long caption", "MATRIX04,+Cutting of the Cake\n", ":2:", "longer than 14 characters");
    settings("empty caption", "MATRIX04,+\n", ":2:", "has no caption");
    settings("types above nine", "TotalTypes,12\n",
             ":2:", "TotalTypes must be a whole number from 1 to 9");
    settings("sub-type flag", "SType1,Yes\n", ":2:", "SType1 must be True, False or a number");
    settings("three fields", "T01,Pop,Rock\n", ":2:", "expected 2 fields (Item,Usage), found 3");
    QTest::newRow("no settings header") << true << QByteArray("T01,Pop\n") << ":1:"
                                        << "the header must be Item,Usage";
}

void TestCatalogue::refusals()
{
    QFETCH(bool, inSettings);
    QFETCH(QByteArray, text);
    QFETCH(QString, where);
    QFETCH(QString, reason);
    Sources s;
    QVERIFY(!(inSettings ? s.build("1,At Last,Etta James,1960,3:02,1,,\n", text) : s.build(text)));
    const QString message = s.builder.errorString();
    QVERIFY2(message.startsWith((inSettings ? s.settings : s.songs) + where), qPrintable(message));
    QVERIFY2(message.contains(reason), qPrintable(message));
    QVERIFY(!QFile::exists(s.out));
}

void TestCatalogue::refusedBuildKeepsTheOldCatalogue()
{
    Sources s;
    QVERIFY2(s.build(kAtLast), qPrintable(s.builder.errorString()));
    const QByteArray before = readFile(s.out);
    QVERIFY(!s.build(kAtLast + "1,Again,x,,,1,,\n"));
    QCOMPARE(readFile(s.out), before);
    // A rebuild replaces the file whole, and no temporary file is left behind.
    QVERIFY(s.build(kAtLast + "2,Respect,Aretha Franklin,1967,2:27,2,,2\n"));
    QCOMPARE(Catalogue(s.out).count(), 2);
    QCOMPARE(QDir(s.dir.path()).entryList(QDir::Files | QDir::Hidden).size(), 3);
}

void TestCatalogue::csvReading()
{
    CsvReader csv;
    QVERIFY2(csv.parse("\xEF\xBB\xBF"
                       "a,\"b, with comma\",\"say \"\"hi\"\"\"\r\n"
                       "\r\n"
                       "\"two\nlines\",,\"\"\n"
                       "last,\"\",x,",
                       "t.csv"),
             qPrintable(csv.errorString()));
    const QList<CsvRecord>& r = csv.records();
    QCOMPARE(r.size(), 3);
    QCOMPARE(r[0].line, 1);
    QCOMPARE(r[0].fields, (QStringList{"a", "b, with comma", "say \"hi\""}));
    QCOMPARE(r[1].line, 3);
    QCOMPARE(r[1].fields, (QStringList{"two\nlines", "", ""}));
    QCOMPARE(r[2].line, 5); // counted after the line break inside the quoted field
    QCOMPARE(r[2].fields, (QStringList{"last", "", "x", ""}));

    // A quoted field left open is reported at the line where it began; bytes that are not
    // UTF-8 with their line.
    for (const QByteArray& bad :
         {QByteArray("a,b\nc,\"open\nmore\nstill\n"), QByteArray("a,b\nc,\xff\xfe\n")}) {
        QVERIFY(!csv.parse(bad, "t.csv"));
        QVERIFY2(csv.errorString().startsWith("t.csv:2: "), qPrintable(csv.errorString()));
        QVERIFY(csv.records().isEmpty());
    }
}

void TestCatalogue::quotedTitlesRoundTrip()
{
    Sources s;
    QVERIFY2(s.build("7,\"Theme from \"\"Love, Actually\"\"\",\"Craig Armstrong, Orchestra\","
                     "2003,,1,,20\n8,Plain,Nobody,,,1,,\n"),
             qPrintable(s.builder.errorString()));
    Catalogue cat(s.out);
    QCOMPARE(cat.column("SELECT Name || '|' || UDF01 || '|' || Matrix FROM MUSIC WHERE dbKey = 7"),
             QVariantList{"Theme from \"Love, Actually\"|Craig Armstrong, Orchestra|20"});
    // Empty optional fields hold no value, so the user field picker skips them.
    QCOMPARE(cat.count("dbKey = 8 AND UDF02 IS NULL AND Time IS NULL AND SType1 IS NULL"), 1);
    QCOMPARE(cat.value("SELECT count(*) FROM music WHERE udf02 > ' '").toInt(), 1);
}

void TestCatalogue::generator()
{
    QTemporaryDir dir;
    CatalogueBuilder builder;
    const QString dump = "SELECT group_concat(dbKey || '|' || Name || '|' || UDF01 || '|' || "
                         "ifnull(Matrix, ''), '\n') FROM (SELECT * FROM MUSIC ORDER BY dbKey)";
    QStringList dumps;
    for (const auto& [file, seed] :
         QList<std::pair<QString, int>>{{"a.mdb", 7}, {"b.mdb", 7}, {"c.mdb", 8}}) {
        QVERIFY2(builder.generate(2000, seed, false, realSettings(), dir.filePath(file)),
                 qPrintable(builder.errorString()));
        QCOMPARE(builder.songCount(), qint64(2000));
        dumps << Catalogue(dir.filePath(file)).value(dump).toString();
    }
    QCOMPARE(dumps[1], dumps[0]); // same seed, same catalogue
    QVERIFY(dumps[2] != dumps[0]);

    Catalogue cat(dir.filePath("a.mdb"));
    QCOMPARE(cat.count(), 2000);
    QCOMPARE(cat.value("SELECT min(dbKey) || '-' || max(dbKey) FROM MUSIC"), QVariant("1-2000"));
    // Lengths like those of real titles and artists.
    const double title = cat.value("SELECT avg(length(Name)) FROM MUSIC").toDouble();
    const double artist = cat.value("SELECT avg(length(UDF01)) FROM MUSIC").toDouble();
    QVERIFY2(title > 8 && title < 30, qPrintable(QString::number(title)));
    QVERIFY2(artist > 8 && artist < 25, qPrintable(QString::number(artist)));
    QVERIFY(cat.value("SELECT max(length(Name)) FROM MUSIC").toInt() <= 255);
    // Every type is used, and only the categories that the settings put in use.
    QCOMPARE(cat.value("SELECT count(DISTINCT Type) FROM MUSIC").toInt(), 9);
    QCOMPARE(cat.count("Matrix GLOB '*[DE]*'"), 0);
    QVERIFY(cat.count("Matrix LIKE '%A%'") > 20);
    QVERIFY(cat.count("Matrix IS NULL") > 500);
    // The settings travel with the songs.
    QCOMPARE(cat.value("SELECT Usage FROM Config WHERE Item = 'MATRIX00'"),
             QVariant("+First Dance"));
}

void TestCatalogue::generatorKeyRange()
{
    QTemporaryDir dir;
    const QString full = dir.filePath("full.mdb");
    const QString beyond = dir.filePath("beyond.mdb");
    CatalogueBuilder builder;

    // The largest catalogue the 16-bit keys allow; one more needs the stress flag.
    QVERIFY2(builder.generate(32767, 1, false, QString(), full), qPrintable(builder.errorString()));
    QCOMPARE(Catalogue(full).value("SELECT max(dbKey) FROM MUSIC").toInt(), 32767);
    QVERIFY(!builder.generate(32768, 1, false, QString(), beyond));
    QVERIFY2(builder.errorString().contains("--allow-beyond-16-bit"),
             qPrintable(builder.errorString()));
    QVERIFY(!QFile::exists(beyond));
    QVERIFY(!builder.generate(0, 1, false, QString(), beyond));
    QVERIFY2(builder.generate(40000, 1, true, QString(), beyond),
             qPrintable(builder.errorString()));
    QCOMPARE(Catalogue(beyond).count("dbKey > 32767"), 40000 - 32767);

    // A 16-bit catalogue refuses keys beyond the range in the table itself.
    Catalogue sixteen(full);
    QSqlQuery insert = sixteen.query();
    for (int key : {32768, 0})
        QVERIFY(!insert.exec(QString("INSERT INTO MUSIC (dbKey, Name) VALUES (%1, 'x')").arg(key)));
}

void TestCatalogue::commandLine()
{
    const QString tool = qEnvironmentVariable("ZEL_BUILD_DIR") + "/data/zelcat";
    if (!QFile::exists(tool))
        QSKIP("the zelcat tool is not built");
    Sources s;
    QVERIFY(!s.build(kAtLast + "2,,Nobody,,,1,,\n")); // writes the files the tool reads
    QProcess p;
    auto run = [&](const QStringList& args) {
        p.start(tool, args);
        return p.waitForFinished(60000) ? p.exitCode() : -1;
    };
    QCOMPARE(run({"build", "--songs", s.songs, "--settings", s.settings, "--out", s.out}), 1);
    const QString err = QString::fromUtf8(p.readAllStandardError());
    QVERIFY2(err.contains(s.songs + ":3: the title is missing"), qPrintable(err));
    QCOMPARE(run({"generate", "--count", "50", "--out", s.dir.filePath("g.mdb")}), 0);
    QCOMPARE(Catalogue(s.dir.filePath("g.mdb")).count(), 50);
    QCOMPARE(run({"generate", "--count", "40000", "--out", s.dir.filePath("h.mdb")}), 1);
}

void TestCatalogue::mediumFolder()
{
    const QDir medium(qEnvironmentVariable("ZEL_BUILD_DIR") + "/medium");
    QVERIFY2(medium.exists(), qPrintable(medium.path()));

    // The catalogue on the medium is the one built from the checked-in songs.
    CsvReader csv;
    QVERIFY(csv.readFile(realSongs()));
    QCOMPARE(Catalogue(medium.filePath("songlist.mdb")).count(), int(csv.records().size() - 1));

    // The seven files the loader copies before the catalogue, and the two song pictures,
    // each the same as its source; nothing else.
    const QStringList media{"hi.rtf",     "bye.rtf",    "song.rtf", "logo.jpg", "dress1.jpg",
                            "dress2.jpg", "dress3.jpg", "cd.bmp",   "nocd.bmp"};
    for (const QString& f : medium.entryList(QDir::Files))
        QVERIFY2(media.contains(f) || f == "songlist.mdb", qPrintable("unexpected file: " + f));
    QStringList missing;
    for (const QString& f : media) {
        const QString source = sourceDir() + "/data/" + f;
        if (!QFile::exists(source)) {
            missing << f;
            continue;
        }
        QVERIFY2(medium.exists(f), qPrintable(f));
        QCOMPARE(readFile(medium.filePath(f)), readFile(source));
    }
    if (!missing.isEmpty())
        QSKIP(qPrintable("texts and pictures not in the checkout yet: " + missing.join(", ")));
}

QTEST_MAIN(TestCatalogue)
#include "test_catalogue.moc"
