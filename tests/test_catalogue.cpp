// The song catalogue: the real catalogue built from its CSV sources, the builder's refusals
// of bad input, the CSV reading, the synthetic generator, the command-line tool and the
// data medium gathered in the build tree.

#include "TestSupport.h"

#include "CatalogueBuilder.h"
#include "CsvReader.h"
#include "SettingsSheet.h"
#include "store/StoreSession.h"
#include "store/frmData.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QtTest>

namespace
{

QString sourceDir()
{
    return qEnvironmentVariable("ZEL_SOURCE_DIR");
}
QString buildDir()
{
    return qEnvironmentVariable("ZEL_BUILD_DIR");
}
QString realSongs()
{
    return sourceDir() + QStringLiteral("/data/catalogue/songs.csv");
}
QString realSettings()
{
    return sourceDir() + QStringLiteral("/data/catalogue/settings.csv");
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
    explicit Catalogue(const QString& file)
    {
        static int counter = 0;
        m_name = QStringLiteral("test-catalogue-%1").arg(++counter);
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), m_name);
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
    QVariant value(const QString& sql, const QVariantList& binds = {}) const
    {
        QSqlQuery q = query();
        q.prepare(sql);
        for (const QVariant& b : binds)
            q.addBindValue(b);
        if (!q.exec() || !q.next())
            return QVariant();
        return q.value(0);
    }
    QStringList column(const QString& sql) const
    {
        QSqlQuery q = query();
        QStringList out;
        if (q.exec(sql))
            while (q.next())
                out << q.value(0).toString();
        return out;
    }

  private:
    QString m_name;
    bool m_open = false;
};

const QByteArray kHeader = "key,title,artist,year,length,type,subtype,categories\n";
const QByteArray kSettings = "Item,Usage\nTotalTypes,3\nSType1,True\nSType1Count,2\n"
                             "MATRIX00,+First Dance\nMATRIX02,+Line Dance\nMATRIX05,0Unused\n";

} // namespace

class TestCatalogue : public QObject
{
    Q_OBJECT

  private slots:
    void realCatalogueRoundTrip();
    void realCatalogueServesTheSearch();
    void refusals_data();
    void refusals();
    void refusedBuildKeepsTheOldCatalogue();
    void settingsRefusals_data();
    void settingsRefusals();
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
    const QString out = root.dbFolder() + QStringLiteral("songlist.mdb");
    CatalogueBuilder builder;
    QVERIFY2(builder.build(realSongs(), realSettings(), out), qPrintable(builder.errorString()));
    QVERIFY(builder.songCount() >= 400);

    // Settings as the wizard reads them, through the keyed item store.
    frmData maker;
    QVERIFY(maker.MakeZELdatabase(root.dbFolder()));
    {
        StoreSession session(root.dbFolder() + QStringLiteral("event.mdb"), out);
        QVERIFY2(session.isOpen(), qPrintable(session.errorString()));
        KeyedItemStore& items = session.items();
        QCOMPARE(items.GetConfigItem(QStringLiteral("UDFCount"), QStringLiteral("0")),
                 QStringLiteral("2"));
        QCOMPARE(items.GetConfigItem(QStringLiteral("UDF01"), QString()), QStringLiteral("Artist"));
        QCOMPARE(items.GetConfigItem(QStringLiteral("udf02"), QString()), QStringLiteral("Year"));
        QCOMPARE(items.GetConfigItem(QStringLiteral("SType1"), QStringLiteral("False")),
                 QStringLiteral("True"));
        QCOMPARE(items.GetConfigItem(QStringLiteral("MATRIX00"), QString()),
                 QStringLiteral("+First Dance"));
        const int types =
            items.GetConfigItem(QStringLiteral("TotalTypes"), QStringLiteral("1")).toInt();
        QVERIFY(types >= 2 && types <= 9);
        for (int t = 1; t <= types; ++t)
            QVERIFY(!items
                         .GetConfigItem(QStringLiteral("T%1").arg(t, 2, 10, QLatin1Char('0')),
                                        QString())
                         .isEmpty());

        // At least eight categories in use, each with a short caption and songs marked in it.
        int used = 0;
        Catalogue cat(out);
        QVERIFY(cat.isOpen());
        for (int j = 0; j < 15; ++j) {
            const QString v =
                items.GetConfigItem(SettingsSheet::categoryKey(j), QStringLiteral("0"));
            if (!v.startsWith(QLatin1Char('+')))
                continue;
            ++used;
            QVERIFY2(v.size() - 1 <= SettingsSheet::kMaxCaptionLength, qPrintable(v));
            const int songs =
                cat.value(
                       QStringLiteral("SELECT count(*) FROM MUSIC WHERE Matrix LIKE ?"),
                       {QStringLiteral("%") + SettingsSheet::categoryCode(j) + QStringLiteral("%")})
                    .toInt();
            QVERIFY2(songs >= 5, qPrintable(v));
        }
        QVERIFY(used >= 8);

        // Every row fits what the wizard reads.
        QCOMPARE(cat.value(QStringLiteral("SELECT count(*) FROM MUSIC")).toLongLong(),
                 builder.songCount());
        QCOMPARE(cat.value(QStringLiteral(
                               "SELECT count(*) FROM MUSIC WHERE dbKey NOT BETWEEN 1 AND 32767 "
                               "OR Name IS NULL OR trim(Name) = '' OR UDF01 IS NULL "
                               "OR CAST(Type AS INTEGER) NOT BETWEEN 1 AND ?"),
                           {types})
                     .toInt(),
                 0);
        QCOMPARE(cat.value(QStringLiteral("SELECT count(DISTINCT Type) FROM MUSIC")).toInt(),
                 types);
        QVERIFY(cat.value(QStringLiteral("SELECT count(DISTINCT substr(UDF02, 1, 3)) FROM MUSIC"))
                    .toInt() >= 7);

        // A few known rows, including texts with commas that the CSV quotes.
        QSqlQuery q = cat.query();
        QVERIFY(q.exec(QStringLiteral(
            "SELECT UDF01, UDF02, Time, Matrix, Type FROM MUSIC WHERE Name = 'At Last'")));
        QVERIFY(q.next());
        QCOMPARE(q.value(0).toString(), QStringLiteral("Etta James"));
        QCOMPARE(q.value(1).toString(), QStringLiteral("1960"));
        QCOMPARE(q.value(2).toString(), QStringLiteral("3:02"));
        QVERIFY(q.value(3).toString().contains(QLatin1Char('0')));
        QCOMPARE(q.value(4).toString(), QStringLiteral("3"));
        QCOMPARE(cat.value(QStringLiteral("SELECT UDF01 FROM MUSIC WHERE Name = ?"),
                           {QStringLiteral("Signed, Sealed, Delivered I'm Yours")})
                     .toString(),
                 QStringLiteral("Stevie Wonder"));
        QCOMPARE(cat.value(QStringLiteral(
                               "SELECT count(*) FROM MUSIC WHERE UDF01 = 'Earth, Wind & Fire'"))
                     .toInt(),
                 2);
        QCOMPARE(
            cat
                .value(QStringLiteral(
                    "SELECT Name FROM MUSIC WHERE UDF01 = 'Kool & the Gang' AND Matrix LIKE '%3%'"))
                .toString(),
            QStringLiteral("Celebration"));
    }

    // The wizard opens the catalogue read only: a plain journal leaves no files beside it.
    QCOMPARE(Catalogue(out).value(QStringLiteral("PRAGMA journal_mode")).toString(),
             QStringLiteral("delete"));
    QVERIFY(!QFile::exists(out + QStringLiteral("-wal")));
}

void TestCatalogue::realCatalogueServesTheSearch()
{
    TestRoot root;
    const QString out = root.dbFolder() + QStringLiteral("songlist.mdb");
    CatalogueBuilder builder;
    QVERIFY2(builder.build(realSongs(), realSettings(), out), qPrintable(builder.errorString()));
    Catalogue cat(out);

    // The search's title order is served by the title index, without a sort of its own.
    QSqlQuery plan = cat.query();
    QVERIFY(plan.exec(QStringLiteral(
        "EXPLAIN QUERY PLAN SELECT * from MUSIC WHERE Name LIKE '%%' ORDER BY name")));
    QString planText;
    while (plan.next())
        planText += plan.value(3).toString() + QLatin1Char('\n');
    QVERIFY2(planText.contains(QLatin1String("MusicName")), qPrintable(planText));
    QVERIFY2(!planText.contains(QLatin1String("TEMP B-TREE")), qPrintable(planText));

    // The default search lists every song, in title order without regard to case.
    const QStringList all =
        cat.column(QStringLiteral("SELECT Name FROM MUSIC WHERE Name LIKE '%%' ORDER BY name"));
    QCOMPARE(all.size(), int(builder.songCount()));
    for (int i = 1; i < all.size(); ++i)
        QVERIFY2(all[i - 1].compare(all[i], Qt::CaseInsensitive) <= 0, qPrintable(all[i]));

    // The worked example: "love" in titles, type 2 by name or number, categories 0 and 2 (the
    // real catalogue keeps its types as numbers).
    QSqlQuery q = cat.query();
    q.prepare(QStringLiteral("SELECT Name FROM MUSIC WHERE Name LIKE ? AND (1 AND (matrix LIKE ?)) "
                             "AND (TYPE = ? OR type = ?) ORDER BY name"));
    q.addBindValue(QStringLiteral("%love%"));
    q.addBindValue(QStringLiteral("%0%"));
    q.addBindValue(QStringLiteral("Rock"));
    q.addBindValue(QStringLiteral("2"));
    QVERIFY(q.exec());
    QStringList found;
    while (q.next())
        found << q.value(0).toString();
    QVERIFY(found.contains(QStringLiteral("Crazy Love")));
    QVERIFY(found.contains(QStringLiteral("Can't Help Falling in Love")));

    // The user field picker's statement lists each artist once, sorted.
    QStringList artists = cat.column(
        QStringLiteral("SELECT udf01 FROM music WHERE udf01 > ' ' GROUP BY udf01 ORDER BY udf01"));
    QVERIFY(artists.size() > 200);
    QCOMPARE(artists.count(QStringLiteral("ABBA")), 1);
    QCOMPARE(artists.removeDuplicates(), qsizetype(0));
}

void TestCatalogue::refusals_data()
{
    QTest::addColumn<QByteArray>("rows");
    QTest::addColumn<QString>("where");
    QTest::addColumn<QString>("reason");

    const QByteArray ok = "1,At Last,Etta James,1960,3:02,3,1,0\n";
    QTest::newRow("duplicate key")
        << ok +
               "2,Shout,The Isley Brothers,1959,4:27,1,,\n1,Respect,Aretha Franklin,1967,2:27,2,,\n"
        << ":4:"
        << "the key 1 is already used on line 2";
    QTest::newRow("key 0") << QByteArray("0,Respect,Aretha Franklin,1967,2:27,2,,\n") << ":2:"
                           << "the key 0 is outside 1..32767";
    QTest::newRow("key -1") << ok + "-1,Respect,Aretha Franklin,1967,2:27,2,,\n"
                            << ":3:"
                            << "the key -1 is outside 1..32767";
    QTest::newRow("key 32768") << ok + "32768,Respect,Aretha Franklin,1967,2:27,2,,\n"
                               << ":3:"
                               << "the key 32768 is outside 1..32767";
    QTest::newRow("key not a number") << ok + "12a,Respect,Aretha Franklin,1967,2:27,2,,\n"
                                      << ":3:"
                                      << "the key \"12a\" is not a whole number";
    QTest::newRow("missing title") << ok + "2,  ,Aretha Franklin,1967,2:27,2,,\n"
                                   << ":3:"
                                   << "the title is missing";
    QTest::newRow("unterminated quote")
        << ok + "2,\"Respect,Aretha Franklin,1967,2:27,2,,\n3,Shout,x,,,1,,\n"
        << ":3:"
        << "a quoted field is not closed";
    QTest::newRow("text after closing quote")
        << ok + "2,\"Respect\" now,Aretha Franklin,1967,2:27,2,,\n"
        << ":3:"
        << "text follows the closing quote";
    QTest::newRow("stray quote") << ok + "2,Say \"Hi\",Aretha Franklin,1967,2:27,2,,\n"
                                 << ":3:"
                                 << "a quote inside field 2";
    QTest::newRow("too few fields") << ok + "2,Respect,Aretha Franklin,1967,2:27,2\n"
                                    << ":3:"
                                    << "expected 8 fields, found 6";
    QTest::newRow("comma in unquoted title")
        << ok + "2,Hold On, I'm Comin',Sam & Dave,1966,2:33,2,,\n"
        << ":3:"
        << "expected 8 fields, found 9";
    QTest::newRow("bad length") << ok + "2,Respect,Aretha Franklin,1967,2.27,2,,\n"
                                << ":3:"
                                << "the length \"2.27\" is not minutes:seconds";
    QTest::newRow("bad year") << ok + "2,Respect,Aretha Franklin,67,2:27,2,,\n"
                              << ":3:"
                              << "the year \"67\"";
    QTest::newRow("type beyond TotalTypes")
        << ok + "2,Respect,Aretha Franklin,1967,2:27,4,,\n"
        << ":3:"
        << "the type \"4\" is not a music type number from 1 to 3";
    QTest::newRow("sub-type beyond count")
        << ok + "2,Respect,Aretha Franklin,1967,2:27,2,3,\n"
        << ":3:"
        << "the sub-type \"3\" is not a sub-type number from 1 to 2";
    QTest::newRow("category not in use")
        << ok + "2,Respect,Aretha Franklin,1967,2:27,2,,5\n"
        << ":3:"
        << "\"5\" is not the code of a special category in use (in use: 02)";
    QTest::newRow("bad header") << QByteArray("key,name\n") << ":1:"
                                << "the header must be";
}

void TestCatalogue::refusals()
{
    QFETCH(QByteArray, rows);
    QFETCH(QString, where);
    QFETCH(QString, reason);

    QTemporaryDir dir;
    const QString songs = dir.filePath(QStringLiteral("songs.csv"));
    const QString settings = dir.filePath(QStringLiteral("settings.csv"));
    // A header of its own replaces the standard one.
    writeFile(songs, rows.startsWith("key,name") ? rows : kHeader + rows);
    writeFile(settings, kSettings);

    CatalogueBuilder builder;
    QVERIFY(!builder.build(songs, settings, dir.filePath(QStringLiteral("songlist.mdb"))));
    const QString message = builder.errorString();
    QVERIFY2(message.startsWith(songs + where), qPrintable(message));
    QVERIFY2(message.contains(reason), qPrintable(message));
    QVERIFY(!QFile::exists(dir.filePath(QStringLiteral("songlist.mdb"))));
}

void TestCatalogue::refusedBuildKeepsTheOldCatalogue()
{
    QTemporaryDir dir;
    const QString songs = dir.filePath(QStringLiteral("songs.csv"));
    const QString settings = dir.filePath(QStringLiteral("settings.csv"));
    const QString out = dir.filePath(QStringLiteral("songlist.mdb"));
    writeFile(settings, kSettings);
    writeFile(songs, kHeader + "1,At Last,Etta James,1960,3:02,3,1,0\n");
    CatalogueBuilder builder;
    QVERIFY2(builder.build(songs, settings, out), qPrintable(builder.errorString()));
    const QByteArray before = readFile(out);

    writeFile(songs, kHeader + "1,At Last,Etta James,1960,3:02,3,1,0\n1,Again,x,,,1,,\n");
    QVERIFY(!builder.build(songs, settings, out));
    QCOMPARE(readFile(out), before);

    // A rebuild replaces the file whole, and no temporary file is left behind.
    writeFile(
        songs,
        kHeader +
            "1,At Last,Etta James,1960,3:02,3,1,0\n2,Respect,Aretha Franklin,1967,2:27,2,,2\n");
    QVERIFY(builder.build(songs, settings, out));
    QCOMPARE(Catalogue(out).value(QStringLiteral("SELECT count(*) FROM MUSIC")).toInt(), 2);
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden).size(), 3);
}

void TestCatalogue::settingsRefusals_data()
{
    QTest::addColumn<QByteArray>("settings");
    QTest::addColumn<QString>("where");
    QTest::addColumn<QString>("reason");
    QTest::newRow("duplicate setting")
        << QByteArray("Item,Usage\nUDF01,Artist\nudf01,Singer\n") << ":3:"
        << "the setting \"udf01\" is already given on line 2";
    QTest::newRow("long caption") << QByteArray("Item,Usage\nMATRIX04,+Cutting of the Cake\n")
                                  << ":2:"
                                  << "longer than 14 characters";
    QTest::newRow("empty caption") << QByteArray("Item,Usage\nMATRIX04,+\n") << ":2:"
                                   << "has no caption";
    QTest::newRow("types above nine") << QByteArray("Item,Usage\nTotalTypes,12\n") << ":2:"
                                      << "TotalTypes must be a whole number from 1 to 9";
    QTest::newRow("sub-type flag") << QByteArray("Item,Usage\nSType1,Yes\n") << ":2:"
                                   << "SType1 must be True, False or a number";
    QTest::newRow("three fields") << QByteArray("Item,Usage\nT01,Pop,Rock\n") << ":2:"
                                  << "expected 2 fields (Item,Usage), found 3";
    QTest::newRow("no header") << QByteArray("T01,Pop\n") << ":1:"
                               << "the header must be Item,Usage";
}

void TestCatalogue::settingsRefusals()
{
    QFETCH(QByteArray, settings);
    QFETCH(QString, where);
    QFETCH(QString, reason);
    QTemporaryDir dir;
    const QString songs = dir.filePath(QStringLiteral("songs.csv"));
    const QString settingsFile = dir.filePath(QStringLiteral("settings.csv"));
    writeFile(songs, kHeader + "1,At Last,Etta James,1960,3:02,1,,\n");
    writeFile(settingsFile, settings);
    CatalogueBuilder builder;
    QVERIFY(!builder.build(songs, settingsFile, dir.filePath(QStringLiteral("songlist.mdb"))));
    QVERIFY2(builder.errorString().startsWith(settingsFile + where),
             qPrintable(builder.errorString()));
    QVERIFY2(builder.errorString().contains(reason), qPrintable(builder.errorString()));
}

void TestCatalogue::csvReading()
{
    CsvReader csv;
    const QByteArray text = "\xEF\xBB\xBF"
                            "a,\"b, with comma\",\"say \"\"hi\"\"\"\r\n"
                            "\r\n"
                            "\"two\nlines\",,\"\"\n"
                            "last,\"\",x,";
    QVERIFY2(csv.parse(text, QStringLiteral("t.csv")), qPrintable(csv.errorString()));
    const QList<CsvRecord>& r = csv.records();
    QCOMPARE(r.size(), 3);
    QCOMPARE(r[0].line, 1);
    QCOMPARE(r[0].fields, (QStringList{"a", "b, with comma", "say \"hi\""}));
    QCOMPARE(r[1].line, 3);
    QCOMPARE(r[1].fields, (QStringList{"two\nlines", "", ""}));
    QCOMPARE(r[2].line, 5); // counted after the line break inside the quoted field
    QCOMPARE(r[2].fields, (QStringList{"last", "", "x", ""}));

    // A quoted field left open is reported at the line where it began.
    QVERIFY(!csv.parse("a,b\nc,\"open\nmore\nstill\n", QStringLiteral("t.csv")));
    QVERIFY2(csv.errorString().startsWith(QLatin1String("t.csv:2: ")),
             qPrintable(csv.errorString()));
    QVERIFY(csv.records().isEmpty());

    // Bytes that are not UTF-8 are refused with their line.
    QVERIFY(!csv.parse("a,b\nc,\xff\xfe\n", QStringLiteral("t.csv")));
    QVERIFY2(csv.errorString().startsWith(QLatin1String("t.csv:2: ")),
             qPrintable(csv.errorString()));
}

void TestCatalogue::quotedTitlesRoundTrip()
{
    QTemporaryDir dir;
    const QString songs = dir.filePath(QStringLiteral("songs.csv"));
    const QString settings = dir.filePath(QStringLiteral("settings.csv"));
    const QString out = dir.filePath(QStringLiteral("songlist.mdb"));
    writeFile(settings, kSettings);
    writeFile(
        songs,
        kHeader +
            "7,\"Theme from \"\"Love, Actually\"\"\",\"Craig Armstrong, Orchestra\",2003,,1,,20\n"
            "8,Plain,Nobody,,,1,,\n");
    CatalogueBuilder builder;
    QVERIFY2(builder.build(songs, settings, out), qPrintable(builder.errorString()));
    Catalogue cat(out);
    QSqlQuery q = cat.query();
    QVERIFY(q.exec(QStringLiteral(
        "SELECT Name, UDF01, UDF02, Time, Matrix, SType1 FROM MUSIC ORDER BY dbKey")));
    QVERIFY(q.next());
    QCOMPARE(q.value(0).toString(), QStringLiteral("Theme from \"Love, Actually\""));
    QCOMPARE(q.value(1).toString(), QStringLiteral("Craig Armstrong, Orchestra"));
    QCOMPARE(q.value(4).toString(), QStringLiteral("20"));
    QVERIFY(q.next());
    // Empty optional fields hold no value, so the user field picker skips them.
    QVERIFY(q.value(2).isNull());
    QVERIFY(q.value(3).isNull());
    QVERIFY(q.value(5).isNull());
    QCOMPARE(cat.value(QStringLiteral("SELECT count(*) FROM music WHERE udf02 > ' '")).toInt(), 1);
}

void TestCatalogue::generator()
{
    QTemporaryDir dir;
    const QString a = dir.filePath(QStringLiteral("a.mdb"));
    const QString b = dir.filePath(QStringLiteral("b.mdb"));
    const QString c = dir.filePath(QStringLiteral("c.mdb"));
    CatalogueBuilder builder;
    QVERIFY2(builder.generate(2000, 7, false, realSettings(), a),
             qPrintable(builder.errorString()));
    QCOMPARE(builder.songCount(), qint64(2000));
    QVERIFY(builder.generate(2000, 7, false, realSettings(), b));
    QVERIFY(builder.generate(2000, 8, false, realSettings(), c));

    const QString dump = QStringLiteral("SELECT group_concat(dbKey || '|' || Name || '|' || UDF01 "
                                        "|| '|' || ifnull(Matrix, ''), '\n') "
                                        "FROM (SELECT * FROM MUSIC ORDER BY dbKey)");
    const QString dumpA = Catalogue(a).value(dump).toString();
    QCOMPARE(Catalogue(b).value(dump).toString(), dumpA); // same seed, same catalogue
    QVERIFY(Catalogue(c).value(dump).toString() != dumpA);

    Catalogue cat(a);
    QCOMPARE(cat.value(QStringLiteral("SELECT count(*) FROM MUSIC")).toInt(), 2000);
    QCOMPARE(
        cat.value(QStringLiteral("SELECT min(dbKey) || '-' || max(dbKey) FROM MUSIC")).toString(),
        QStringLiteral("1-2000"));
    // Lengths like those of real titles and artists.
    const double title =
        cat.value(QStringLiteral("SELECT avg(length(Name)) FROM MUSIC")).toDouble();
    const double artist =
        cat.value(QStringLiteral("SELECT avg(length(UDF01)) FROM MUSIC")).toDouble();
    QVERIFY2(title > 8 && title < 30, qPrintable(QString::number(title)));
    QVERIFY2(artist > 8 && artist < 25, qPrintable(QString::number(artist)));
    QVERIFY(cat.value(QStringLiteral("SELECT max(length(Name)) FROM MUSIC")).toInt() <= 255);
    // Every type is used, and only the categories that the settings put in use.
    QCOMPARE(cat.value(QStringLiteral("SELECT count(DISTINCT Type) FROM MUSIC")).toInt(), 9);
    QCOMPARE(
        cat.value(QStringLiteral("SELECT count(*) FROM MUSIC WHERE Matrix GLOB '*[DE]*'")).toInt(),
        0);
    QVERIFY(
        cat.value(QStringLiteral("SELECT count(*) FROM MUSIC WHERE Matrix LIKE '%A%'")).toInt() >
        20);
    QVERIFY(cat.value(QStringLiteral("SELECT count(*) FROM MUSIC WHERE Matrix IS NULL")).toInt() >
            500);
    // The settings travel with the songs.
    QCOMPARE(
        cat.value(QStringLiteral("SELECT Usage FROM Config WHERE Item = 'MATRIX00'")).toString(),
        QStringLiteral("+First Dance"));
}

void TestCatalogue::generatorKeyRange()
{
    QTemporaryDir dir;
    const QString full = dir.filePath(QStringLiteral("full.mdb"));
    const QString beyond = dir.filePath(QStringLiteral("beyond.mdb"));
    CatalogueBuilder builder;

    // The largest catalogue the 16-bit keys allow.
    QVERIFY2(builder.generate(32767, 1, false, QString(), full), qPrintable(builder.errorString()));
    QCOMPARE(Catalogue(full).value(QStringLiteral("SELECT max(dbKey) FROM MUSIC")).toInt(), 32767);

    // One more needs the stress flag.
    QVERIFY(!builder.generate(32768, 1, false, QString(), beyond));
    QVERIFY2(builder.errorString().contains(QLatin1String("--allow-beyond-16-bit")),
             qPrintable(builder.errorString()));
    QVERIFY(!QFile::exists(beyond));
    QVERIFY(!builder.generate(0, 1, false, QString(), beyond));

    QVERIFY2(builder.generate(40000, 1, true, QString(), beyond),
             qPrintable(builder.errorString()));
    Catalogue cat(beyond);
    QCOMPARE(cat.value(QStringLiteral("SELECT count(*) FROM MUSIC WHERE dbKey > 32767")).toInt(),
             40000 - 32767);

    // A 16-bit catalogue refuses keys beyond the range in the table itself.
    Catalogue sixteen(full);
    QSqlQuery q = sixteen.query();
    QVERIFY(!q.exec(QStringLiteral("INSERT INTO MUSIC (dbKey, Name) VALUES (32768, 'x')")));
    QVERIFY(!q.exec(QStringLiteral("INSERT INTO MUSIC (dbKey, Name) VALUES (0, 'x')")));
}

void TestCatalogue::commandLine()
{
    const QString tool = buildDir() + QStringLiteral("/data/zelcat");
    if (!QFile::exists(tool))
        QSKIP("the zelcat tool is not built");
    QTemporaryDir dir;
    const QString songs = dir.filePath(QStringLiteral("songs.csv"));
    const QString settings = dir.filePath(QStringLiteral("settings.csv"));
    writeFile(settings, kSettings);
    writeFile(songs, kHeader + "1,At Last,Etta James,1960,3:02,3,1,0\n2,,Nobody,,,1,,\n");

    QProcess p;
    p.start(tool, {QStringLiteral("build"), QStringLiteral("--songs"), songs,
                   QStringLiteral("--settings"), settings, QStringLiteral("--out"),
                   dir.filePath(QStringLiteral("x.mdb"))});
    QVERIFY(p.waitForFinished(60000));
    QCOMPARE(p.exitCode(), 1);
    const QString err = QString::fromUtf8(p.readAllStandardError());
    QVERIFY2(err.contains(songs + QStringLiteral(":3: the title is missing")), qPrintable(err));

    p.start(tool, {QStringLiteral("generate"), QStringLiteral("--count"), QStringLiteral("50"),
                   QStringLiteral("--out"), dir.filePath(QStringLiteral("g.mdb"))});
    QVERIFY(p.waitForFinished(60000));
    QCOMPARE(p.exitCode(), 0);
    QCOMPARE(Catalogue(dir.filePath(QStringLiteral("g.mdb")))
                 .value(QStringLiteral("SELECT count(*) FROM MUSIC"))
                 .toInt(),
             50);

    p.start(tool, {QStringLiteral("generate"), QStringLiteral("--count"), QStringLiteral("40000"),
                   QStringLiteral("--out"), dir.filePath(QStringLiteral("h.mdb"))});
    QVERIFY(p.waitForFinished(60000));
    QCOMPARE(p.exitCode(), 1);
}

void TestCatalogue::mediumFolder()
{
    const QDir medium(buildDir() + QStringLiteral("/medium"));
    QVERIFY2(medium.exists(), qPrintable(medium.path()));

    // The catalogue on the medium is the one built from the checked-in songs.
    const QString catalogue = medium.filePath(QStringLiteral("songlist.mdb"));
    QVERIFY(QFile::exists(catalogue));
    CsvReader csv;
    QVERIFY(csv.readFile(realSongs()));
    QCOMPARE(Catalogue(catalogue).value(QStringLiteral("SELECT count(*) FROM MUSIC")).toInt(),
             int(csv.records().size() - 1));

    // The seven files the loader copies before the catalogue, and the two song pictures.
    const QStringList media{"hi.rtf",     "bye.rtf",    "song.rtf", "logo.jpg", "dress1.jpg",
                            "dress2.jpg", "dress3.jpg", "cd.bmp",   "nocd.bmp"};
    QStringList expected = media;
    expected << QStringLiteral("songlist.mdb");
    for (const QString& f : medium.entryList(QDir::Files))
        QVERIFY2(expected.contains(f),
                 qPrintable(QStringLiteral("unexpected file on the medium: ") + f));

    QStringList missing;
    for (const QString& f : media) {
        const QString source = sourceDir() + QStringLiteral("/data/") + f;
        if (!QFile::exists(source)) {
            missing << f;
            continue;
        }
        QVERIFY2(medium.exists(f), qPrintable(f));
        QCOMPARE(readFile(medium.filePath(f)), readFile(source));
    }
    if (!missing.isEmpty())
        QSKIP(qPrintable(QStringLiteral("texts and pictures not in the checkout yet: ") +
                         missing.join(QStringLiteral(", "))));
}

QTEST_MAIN(TestCatalogue)
#include "test_catalogue.moc"
