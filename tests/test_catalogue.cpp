// The song catalogue: the real catalogue built from its CSV sources, the builder's refusals
// of bad input, the CSV reading, the synthetic generator and the 16-bit key range, the
// command-line tool and the import of an entertainer's music.

#include "AudioFixture.h"
#include "TestSupport.h"

#include "CatalogueBuilder.h"
#include "CatalogueImport.h"
#include "CsvReader.h"
#include "GenreTypeMapper.h"
#include "app/ZelWizard.h"
#include "catalogue/SongGridModel.h"
#include "platform/PathMap.h"
#include "plan/DjExport.h"
#include "songs/frmSongSel.h"
#include "store/KeyedItemStore.h"
#include "wizard/frmLoadData.h"

#include <taglib/fileref.h>
#include <taglib/tpropertymap.h>

#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QLockFile>
#include <QProcess>
#include <QPushButton>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QtTest>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace
{

const QString kSource = qEnvironmentVariable("ZEL_SOURCE_DIR");
const QString kRealSongs = kSource + "/data/catalogue/songs.csv";
const QString kRealSettings = kSource + "/data/catalogue/settings.csv";
const QString kTool = QStringLiteral(ZELCAT);

// Runs `sql` on a database file through a connection of its own: column `col` of every row.
QVariantList column(const QString& file, const QString& sql, int col = 0)
{
    QVariantList out;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase("QSQLITE", "test-catalogue");
        db.setDatabaseName(file);
        QSqlQuery q(db);
        if (db.open() && q.exec(sql))
            while (q.next())
                out << q.value(col);
    }
    QSqlDatabase::removeDatabase("test-catalogue");
    return out;
}
QVariant value(const QString& file, const QString& sql)
{
    return column(file, sql).value(0);
}
void says(const QString& message, const QString& part)
{
    QVERIFY2(message.contains(part), qPrintable(part + " / " + message));
}
int count(const QString& file, const QString& where = "1")
{
    return value(file, "SELECT count(*) FROM MUSIC WHERE " + where).toInt();
}

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
        return writeFile(songs, songRows.startsWith("key,") ? songRows : kHeader + songRows) &&
               writeFile(settings, settingsText) && builder.build(songs, settings, out);
    }
};

// A music library in a temporary folder (tagged audio files, playlists, exports, CSVs) and
// the catalogue imported from it.
struct Library {
    QTemporaryDir dir;
    QString out = dir.filePath("songlist.mdb");
    CatalogueImport import;
    CatalogueImport::Options options;

    QString path(const QString& name) const { return dir.filePath(name); }
    void song(const QString& name, int seconds, const AudioFixture::Tags& tags) const
    {
        QDir().mkpath(QFileInfo(path(name)).path());
        QVERIFY2(AudioFixture::write(path(name), seconds, tags), qPrintable(name));
    }
    void text(const QString& name, const QByteArray& data) const
    {
        QVERIFY(writeFile(path(name), data));
    }
    bool run(const QStringList& sources)
    {
        options.out = out;
        options.sources.clear();
        for (const QString& s : sources)
            options.sources << path(s);
        return import.run(options);
    }
    // Each song's title with `what` of it.
    QMap<QString, QString> songs(const QString& what) const
    {
        QMap<QString, QString> r;
        for (const QVariant& v : column(out, "SELECT Name || char(9) || " + what + " FROM MUSIC"))
            r.insert(v.toString().section('\t', 0, 0), v.toString().section('\t', 1));
        return r;
    }
    QMap<QString, QString> keys() const { return songs("dbKey"); }
};

} // namespace

class TestCatalogue : public QObject
{
    Q_OBJECT

  private slots:
    void realCatalogue();
    void refusals();
    void buildAndRebuild();
    void commands_data();
    void commands();
    void generatorAndKeyRange();
    void importEveryField();
    void importKeepsKeys();
    void importBadInput();
    void importRefusedKeepsFile_data();
    void importRefusedKeepsFile();
    void importPassesOver_data();
    void importPassesOver();
    void prunedSongsComeBack();
    void oneImportAtATime();
    void spreadsheetCsv_data();
    void spreadsheetCsv();
    void genreSpellings_data();
    void genreSpellings();
    void importRemembersFiles();
    void exportsPlay();
    void mediumForTheCouple();
};

void TestCatalogue::realCatalogue()
{
    QTemporaryDir dir;
    const QString out = dir.filePath("songlist.mdb");
    CatalogueBuilder builder;
    QVERIFY2(builder.build(kRealSongs, kRealSettings, out), qPrintable(builder.errorString()));
    const int songs = int(builder.songCount());

    // Every row fits what the wizard reads.
    QCOMPARE_GE(songs, 400);
    QCOMPARE(count(out), songs);
    const int types = value(out, "SELECT Usage FROM Config WHERE Item = 'TotalTypes'").toInt();
    QCOMPARE_GE(types, 2);
    QCOMPARE_LE(types, 9);
    QCOMPARE(count(out, QString("dbKey NOT BETWEEN 1 AND 32767 OR Name IS NULL OR trim(Name) = ''"
                                " OR UDF01 IS NULL OR CAST(Type AS INTEGER) NOT BETWEEN 1 AND %1")
                            .arg(types)),
             0);

    // The search's title order is served by the title index, without a sort of its own, and
    // lists every song in title order without regard to case.
    const QString all = "SELECT Name FROM MUSIC WHERE Name LIKE '%%' ORDER BY name";
    const QString plan =
        QVariant(column(out, "EXPLAIN QUERY PLAN " + all, 3)).toStringList().join('\n');
    QVERIFY2(plan.contains("MusicName"), qPrintable(plan));
    QVERIFY2(!plan.contains("TEMP B-TREE"), qPrintable(plan));
    QStringList names = QVariant(column(out, all)).toStringList(), sorted = names;
    std::stable_sort(sorted.begin(), sorted.end(), [](const QString& a, const QString& b) {
        return a.compare(b, Qt::CaseInsensitive) < 0;
    });
    QCOMPARE(names, sorted);
    // The wizard opens the catalogue read only: a plain journal leaves no files beside it.
    QCOMPARE(value(out, "PRAGMA journal_mode").toString(), QString("delete"));
    QVERIFY(!QFile::exists(out + "-wal"));
}

void TestCatalogue::refusals()
{
    // Which file is wrong (songs or settings), its rows after the header, and the line and
    // reason the refusal names.
    const QByteArray ok = kAtLast, two = kAtLast + "2,", aretha = ",Aretha Franklin,";
    const QByteArray respect = "Respect,Aretha Franklin,1967,2:27,2";
    const QList<std::tuple<bool, QByteArray, QString, QString>> cases{
        {false, two + "Shout,x,,,1,,\n1," + respect + ",,\n", ":4:", "the key 1 is already used"},
        {false, "0," + respect + ",,\n", ":2:", "the key 0 is outside 1..32767"},
        {false, ok + "32768," + respect + ",,\n", ":3:", "the key 32768 is outside 1..32767"},
        {false, ok + "12a," + respect + ",,\n", ":3:", "the key \"12a\" is not a whole number"},
        {false, two + "  " + aretha + "1967,2:27,2,,\n", ":3:", "the title is missing"},
        {false, two + "\"Respect\" now" + aretha + ",,2,,\n", ":3:", "text follows the closing"},
        {false, two + "Say \"Hi\"" + aretha + ",,2,,\n", ":3:", "a quote inside field 2"},
        {false, two + "Hold On, I'm Comin'" + aretha + ",,2,,\n",
         ":3:", "expected 8 fields, found 9"},
        {false, two + "Respect" + aretha + "1967,2.27,2,,\n", ":3:", "the length \"2.27\" is not"},
        {false, two + "Respect" + aretha + "67,2:27,2,,\n", ":3:", "the year \"67\""},
        {false, ok + "\r\n2,\"Two\nlines\",x,,,2,,\r\n3,,x,,,1,,\n", ":6:", "the title is missing"},
        {false, two + "\"open\nmore\n", ":3:", "a quoted field is not closed"},
        {false, two + "\xff\xfe,x,,,1,,\n", ":3:", "the line is not UTF-8 text"},
        {false, two + "Respect" + aretha + ",,4,,\n", ":3:", "the type \"4\" is not a music type"},
        {false, two + respect + ",3,\n", ":3:", "the sub-type \"3\" is not a sub-type number"},
        {false, two + respect + ",,5\n",
         ":3:", "\"5\" is not the code of a special category in use (in use: 02)"},
        {false, "key,name\n", ":1:", "the header must be"},
        {true, "UDF01,Artist\nudf01,Singer\n", ":3:", "the setting \"udf01\" is already given"},
        {true, "MATRIX04,+Cutting of the Cake\n", ":2:", "longer than 14 characters"},
        {true, "MATRIX04,+\n", ":2:", "has no caption"},
        {true, "TotalTypes,12\n", ":2:", "TotalTypes must be a whole number from 1 to 9"},
        {true, "SType1,Yes\n", ":2:", "SType1 must be True, False or a number"},
        {true, "!\xEF\xBB\xBFItem,Usage\r\nT01,Pop,Rock\r\n",
         ":2:", "expected 2 fields (Item,Usage)"},
        {true, "!T01,Pop\n", ":1:", "the header must be Item,Usage"}};
    for (const auto& [inSettings, text, where, reason] : cases) {
        Sources s;
        const QByteArray settings = text.startsWith('!') ? text.mid(1) : "Item,Usage\n" + text;
        QVERIFY(!(inSettings ? s.build("1,At Last,Etta James,1960,3:02,1,,\n", settings)
                             : s.build(text)));
        const QString message = s.builder.errorString();
        QVERIFY2(message.startsWith((inSettings ? s.settings : s.songs) + where),
                 qPrintable(message));
        QVERIFY2(message.contains(reason), qPrintable(reason + " / " + message));
        QVERIFY(!QFile::exists(s.out));
    }
}

void TestCatalogue::buildAndRebuild()
{
    // Each field in its column, quoted texts with commas and quotes included; empty optional
    // fields hold no value, so the user field picker skips them.
    Sources s;
    QVERIFY2(s.build("7,\"Theme from \"\"Love, Actually\"\"\",\"Craig Armstrong, Orchestra\","
                     "2003,3:15,2,1,20\n8,Plain,Nobody,,,1,,\n"),
             qPrintable(s.builder.errorString()));
    QCOMPARE(column(s.out, "SELECT Name || '|' || UDF01 || '|' || ifnull(UDF02, '-') || "
                           "ifnull(Time, '-') || Type || ifnull(SType1, '-') || ifnull(Matrix, "
                           "'-') FROM MUSIC ORDER BY dbKey"),
             QVariantList({"Theme from \"Love, Actually\"|Craig Armstrong, Orchestra|20033:152120",
                           "Plain|Nobody|--1--"}));

    // A refused build keeps the catalogue there was; a rebuild replaces the file whole, and
    // no temporary file is left behind.
    const QByteArray before = fileBytes(s.out);
    QVERIFY(!s.build(kAtLast + "1,Again,x,,,1,,\n"));
    QCOMPARE(fileBytes(s.out), before);
    // The command-line tool reports the refusal on its error stream with exit code 1.
    QProcess p;
    auto run = [&](const QStringList& args) {
        p.start(kTool, args);
        return p.waitForFinished(60000) ? p.exitCode() : -1;
    };
    QCOMPARE(run({"build", "--songs", s.songs, "--settings", s.settings, "--out", s.out}), 1);
    const QString err = QString::fromUtf8(p.readAllStandardError());
    QVERIFY2(err.contains(s.songs + ":3: the key 1 is already used on line 2"), qPrintable(err));
    QCOMPARE(fileBytes(s.out), before);
    QVERIFY(s.build(kAtLast + "2,Respect,Aretha Franklin,1967,2:27,2,,2\n"));
    QCOMPARE(count(s.out), 2);
    QCOMPARE(QDir(s.dir.path()).entryList(QDir::Files | QDir::Hidden).size(), 3);
    QCOMPARE(run({"generate", "--count", "50", "--out", s.dir.filePath("g.mdb")}), 0);
    QCOMPARE(count(s.dir.filePath("g.mdb")), 50);
    QCOMPARE(run({"generate", "--count", "40000", "--out", s.dir.filePath("h.mdb")}), 1);
}

void TestCatalogue::commands_data()
{
    // Each command has its own options and help; options before the command still count.
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("absent");
    QTest::newRow("commands") << QStringList{"--help"} << 0 << "import "
                              << "--songs";
    QTest::newRow("help of import")
        << QStringList{"help", "import"} << 0 << "Usage: zelcat import [options] SOURCE..."
        << "--songs";
    QTest::newRow("import --help") << QStringList{"import", "--help"} << 0 << "--dry-run"
                                   << "--count";
    QTest::newRow("generate --help") << QStringList{"generate", "-h"} << 0 << "--seed"
                                     << "--prune";
    QTest::newRow("options before the command")
        << QStringList{"--out", "OUT", "--count", "3", "generate"} << 0 << "wrote 3 songs"
        << "";
    QTest::newRow("an option of another command")
        << QStringList{"build", "--prune", "--out", "OUT"} << 1 << "Unknown option 'prune'"
        << "";
    QTest::newRow("no command") << QStringList{"--out", "OUT"} << 1 << "give a command"
                                << "";
    QTest::newRow("unknown command") << QStringList{"bild"} << 1 << "unknown command \"bild\""
                                     << "";
    QTest::newRow("file names to build")
        << QStringList{"build", "x.csv"} << 1 << "build takes no file names"
        << "";
}

void TestCatalogue::commands()
{
    QFETCH(QStringList, args);
    QFETCH(int, exitCode);
    QFETCH(QString, text);
    QFETCH(QString, absent);
    QTemporaryDir dir;
    args.replaceInStrings("OUT", dir.filePath("out.mdb"));
    QProcess p;
    p.start(kTool, args);
    QVERIFY(p.waitForFinished(60000));
    const QString output = p.readAllStandardOutput() + p.readAllStandardError();
    QCOMPARE(p.exitCode(), exitCode);
    says(output, text);
    if (!absent.isEmpty())
        QVERIFY2(!output.contains(absent), qPrintable(output));
}

void TestCatalogue::generatorAndKeyRange()
{
    // The largest catalogue the 16-bit keys allow: keys 1 up, every type used, only the
    // categories that the settings put in use, the settings with the songs; its table refuses
    // keys beyond the range.
    Library lib;
    CatalogueBuilder builder;
    QVERIFY2(builder.generate(32767, 1, false, kRealSettings, lib.out),
             qPrintable(builder.errorString()));
    for (int key : {32768, 0})
        column(lib.out, QString("INSERT INTO MUSIC (dbKey, Name) VALUES (%1, 'x')").arg(key));
    QCOMPARE(value(lib.out, "SELECT count(*) || ' ' || min(dbKey) || '-' || max(dbKey) || ' ' || "
                            "count(DISTINCT Type) || ' ' || (SELECT Usage FROM Config WHERE Item = "
                            "'MATRIX00') FROM MUSIC")
                 .toString(),
             QString("32767 1-32767 9 +First Dance"));
    QCOMPARE(count(lib.out, "Matrix GLOB '*[DE]*'"), 0);

    // An import that would pass 32,767 songs stops before writing.
    QByteArray csv = "title,artist\n";
    for (int i = 0; i < 8; ++i)
        csv += "New Song " + QByteArray::number(i) + ",Someone\n";
    lib.text("new.csv", csv);
    const QByteArray before = fileBytes(lib.out);
    QVERIFY(!lib.run({"new.csv"}));
    says(lib.import.errorString(), "it holds 32767, 0 keys of removed songs are kept "
                                   "from reuse, and this import adds 8 new songs, so "
                                   "8 would not fit; nothing was written");
    QCOMPARE(fileBytes(lib.out), before);
    QCOMPARE(QDir(lib.dir.path()).entryList(QDir::Files | QDir::Hidden).size(), 2);
    // Above the highest key there is no room: the free keys between are taken.
    Sources s;
    QVERIFY(s.build("1,At Last,Etta James,1960,3:02,1,,\n32767,Shout,x,,,1,,\n"));
    lib.out = s.out;
    QVERIFY(lib.run({"new.csv"}));
    QCOMPARE(lib.keys().value("New Song 7"), "9");

    // One more than the 16-bit keys allow needs the stress flag; a stress catalogue is no
    // catalogue to import into.
    const QString beyond = lib.path("beyond.mdb");
    QVERIFY(!builder.generate(32768, 1, false, QString(), beyond));
    says(builder.errorString(), "--allow-beyond-16-bit");
    QVERIFY(!QFile::exists(beyond));
    QVERIFY(!builder.generate(0, 1, false, QString(), beyond));
    QVERIFY2(builder.generate(40000, 1, true, QString(), beyond),
             qPrintable(builder.errorString()));
    QCOMPARE(count(beyond, "dbKey > 32767"), 40000 - 32767);
    lib.out = beyond;
    QVERIFY(!lib.run({"new.csv"}));
    says(lib.import.errorString(), "it holds the key 32768, outside 1..32767");

    // The same seed gives the same catalogue, another seed another.
    const QString dump = "SELECT group_concat(dbKey || '|' || Name || '|' || UDF01 || '|' || "
                         "ifnull(Matrix, ''), '\n') FROM (SELECT * FROM MUSIC ORDER BY dbKey)";
    QStringList dumps;
    for (const auto& [file, seed] :
         QList<std::pair<QString, int>>{{"a.mdb", 7}, {"b.mdb", 7}, {"c.mdb", 8}}) {
        QVERIFY2(builder.generate(2000, seed, false, kRealSettings, lib.path(file)),
                 qPrintable(builder.errorString()));
        QCOMPARE(builder.songCount(), qint64(2000));
        dumps << value(lib.path(file), dump).toString();
    }
    QCOMPARE(dumps[1], dumps[0]);
    QVERIFY(dumps[2] != dumps[0]);
}

void TestCatalogue::importEveryField()
{
    // One tagged file of each format; genres by type name, by a word of a type name, by the
    // mapping file and by the default; BPM on both sides of each tempo bound.
    Library lib;
    const QStringList genres{"rock", "Soul", "Electronica", "Vaporwave", "Jazz", "Hip-Hop", "", "POP"};
    const QList<int> bpms{70, 0, 100, 128, 89, 90, 119, 120};
    QMap<QString, QString> expected;
    for (int i = 0; i < AudioFixture::formats().size(); ++i) {
        const QString f = AudioFixture::formats()[i];
        const int seconds = f == "wav" ? 2 : 180 + i;
        lib.song("music/" + f + "/a." + f, seconds,
                 {"Song " + f, "Band " + f, genres[i], 1990 + i, bpms[i]});
        expected.insert("Song " + f,
                        QString::asprintf("Band %s|%d|%d:%02d|%d|%s", qPrintable(f), 1990 + i,
                                          seconds / 60, seconds % 60,
                                          QList{2, 3, 5, 9, 6, 7, 9, 1}[i],
                                          QList{"1", "", "2", "3", "1", "2", "2", "3"}[i]));
    }
    lib.song("music/Queen - Don't Stop Me Now.mp3", 209, {});
    expected.insert("Don't Stop Me Now", "Queen||3:29|9|");
    // A playlist as written on another system (Latin-1, backslashes) names a file of the
    // folder again (its tags win), a file elsewhere, missing files, a stream and a folder.
    lib.song("lists/bonus/01 - Bonus Band - Bonus.mp3", 7, {});
    expected.insert("Bonus", "Bonus Band||0:07|9|");
    lib.text("lists/party.m3u8", "\xEF\xBB\xBF#EXTM3U\n#EXTINF:200,ABBA - Dancing Queen\n"
                                 "../gone/Dancing Queen.mp3\n#EXTINF:999,Wrong - Wrong\n"
                                 "../music/mp3/a.mp3\nhttp://radio.example/stream\n"
                                 "bonus/01 - Bonus Band - Bonus.mp3\n#EXTINF:100,Caf\xE9\n"
                                 "..\\gone\\cafe.mp3\n../music\n");
    expected.insert("Dancing Queen", "ABBA||3:20|9|");
    expected.insert("Caf\u00e9", "||1:40|9|");
    lib.text("Library.xml",
             "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<plist version=\"1.0\"><dict>\n"
             "<key>Major Version</key><integer>1</integer><key>Tracks</key><dict>\n"
             "<key>7</key><dict><key>Name</key><string>Crazy in Love</string>\n"
             "<key>Artist</key><string>Beyonc\xC3\xA9 feat. Jay-Z</string><key>Genre</key>"
             "<string>R&amp;B</string><key>Year</key><integer>2003</integer><key>BPM</key>"
             "<integer>99</integer><key>Total Time</key><integer>236100</integer>"
             "<key>Location</key><string>file://localhost/srv/m/Crazy%20in%20Love.m4a</string>"
             "</dict>\n<key>8</key><dict><key>Name</key><string>Episode 1</string>\n"
             "<key>Podcast</key><true/></dict></dict>\n<key>Playlists</key><array/></dict>"
             "</plist>\n");
    expected.insert("Crazy in Love", "Beyonc\u00e9 feat. Jay-Z|2003|3:56|3|2");
    lib.text("collection.xml",
             "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<DJ_PLAYLISTS Version=\"1.0.0\">\n"
             "<COLLECTION Entries=\"1\">\n<TRACK TrackID=\"1\" Name=\"September\" "
             "Artist=\"Earth, Wind &amp; Fire\" Genre=\"Disco\" Year=\"1978\" "
             "AverageBpm=\"126.00\" TotalTime=\"215\" "
             "Location=\"file://localhost/C:/Music/September.mp3\"><TEMPO Bpm=\"126\"/>"
             "</TRACK>\n</COLLECTION>\n<PLAYLISTS><NODE Name=\"ROOT\"><TRACK Key=\"1\"/>"
             "</NODE></PLAYLISTS>\n</DJ_PLAYLISTS>\n");
    expected.insert("September", "Earth, Wind & Fire|1978|3:35|5|3");
    lib.text("songs.csv", "Song,Performer,Duration,Genre,Year,BPM\n"
                          "\"Shout\",The Isley Brothers,4:27,Soul,1959-08-03,130\n");
    expected.insert("Shout", "The Isley Brothers|1959|4:27|3|3");
    lib.text("genres.csv", "Genre,Type\nElectronica,Dance / Disco\n");

    lib.options.genresFile = lib.path("genres.csv");
    lib.options.defaultType = "traditional";
    lib.options.csvMap = "title=Song,artist=Performer,length=Duration";
    std::FILE* progress = lib.options.progress = std::tmpfile();
    lib.options.progressOnTerminal = true;
    QVERIFY2(lib.run({"music", "lists/party.m3u8", "lists/bonus/01 - Bonus Band - Bonus.mp3",
                      "Library.xml", "collection.xml", "songs.csv"}),
             qPrintable(lib.import.errorString()));
    QCOMPARE(lib.songs("ifnull(UDF01, '') || '|' || ifnull(UDF02, '') || '|' || ifnull(Time, '') "
                       "|| '|' || Type || '|' || ifnull(SType1, '')"),
             expected);
    const ImportSummary& sum = lib.import.summary();
    QCOMPARE(QList<int>({sum.added, sum.songsInCatalogue}), QList<int>(2, int(expected.size())));
    QStringList skipped;
    for (const ImportSkip& skip : sum.skipped)
        skipped << skip.where().mid(lib.dir.path().size() + 1) + " " + skip.reason.left(12);
    QCOMPARE(skipped,
             QStringList({"lists/party.m3u8:6 \"http://radi", "lists/party.m3u8:10 \"../music\" i",
                          "Library.xml:6 a podcast ep"}));
    says(sum.notes.join('\n'), "1 songs have a genre that names no type and is not in "
                               "the mapping file, and took type 9 (Traditional): "
                               "Vaporwave (1)");
    // Keys from 1 up; the files' paths are remembered for the next import.
    QCOMPARE(value(lib.out, "SELECT min(dbKey) || '-' || max(dbKey) FROM MUSIC").toString(),
             QString("1-%1").arg(expected.size()));
    QCOMPARE(value(lib.out, "SELECT count(*) FROM ImportKeys WHERE Path IN "
                            "('C:/Music/September.mp3', '/srv/m/Crazy in Love.m4a')")
                 .toInt(),
             2);
    // The progress line is redrawn in place on a terminal.
    std::rewind(progress);
    char buffer[4096] = {};
    const size_t n = std::fread(buffer, 1, sizeof buffer - 1, progress);
    std::fclose(progress);
    QVERIFY2(QByteArray(buffer, int(n)).contains("\rreading tags: 10 of 10 files"), buffer);
}

void TestCatalogue::importKeepsKeys()
{
    Library lib;
    lib.song("music/a.mp3", 182, {"At Last", "Etta James", "Soul", 1960, 0});
    lib.song("music/b.flac", 147, {"Respect", "Aretha Franklin", "Soul", 1967, 115});
    lib.song("music/c.ogg", 267, {"Shout", "The Isley Brothers", "", 0, 0});
    lib.song("music/d.m4a", 431, {"Hey Jude", "The Beatles", "Rock", 1968, 74});
    lib.text("extra.csv", "title,artist,length\nPerfect,Ed Sheeran,4:23\n"
                          "Crazy in Love,Beyonc\xC3\xA9,3:56\n");
    // The DJ software of another computer lists one of the songs of the folder.
    lib.text("dj.xml", "<DJ_PLAYLISTS><COLLECTION><TRACK Name=\"At Last\" Artist=\"Etta "
                       "James\" Location=\"file://localhost/D:/At%20Last.mp3\"/></COLLECTION>"
                       "</DJ_PLAYLISTS>");
    QVERIFY2(lib.run({"dj.xml", "music", "extra.csv"}), qPrintable(lib.import.errorString()));
    const QMap<QString, QString> first = lib.keys();
    QCOMPARE(first.size(), 6);

    // The library changes: a file moves, one is retagged, one is deleted, one is added, and
    // the CSV writes its songs differently.
    QVERIFY(QDir().mkpath(lib.path("music/moved")));
    QVERIFY(QFile::rename(lib.path("music/a.mp3"), lib.path("music/moved/At Last.mp3")));
    lib.song("music/b.flac", 147, {"Respect (Live)", "Aretha Franklin", "Soul", 1967, 115});
    QVERIFY(QFile::remove(lib.path("music/c.ogg")));
    lib.song("music/e.wma", 215, {"September", "Earth, Wind & Fire", "Disco", 1978, 126});
    lib.text("extra.csv", "title,artist,length\nperfect,ED SHEERAN,4:24\n"
                          "Crazy in Love (feat. Jay-Z),Beyonc\xC3\xA9 ft. Jay-Z,3:56\n");
    lib.options.settingsFile = kRealSettings; // only for a new catalogue
    QVERIFY2(lib.run({"music", "extra.csv"}), qPrintable(lib.import.errorString()));
    const ImportSummary& sum = lib.import.summary();
    QVERIFY(sum.notes.first().startsWith("the settings of the existing catalogue are kept"));
    QCOMPARE(QList<int>({sum.added, sum.updated, sum.unchanged, sum.keptMissing, sum.pruned}),
             QList<int>({1, 4, 1, 1, 0})); // the moved file's folder is shown
    const QMap<QString, QString> second = lib.keys(); // Shout kept although its file is gone
    const QStringList nowBefore{"At Last",      "At Last", "Respect (Live)",
                                "Respect",      "Shout",   "Shout",
                                "perfect",      "Perfect", "Crazy in Love (feat. Jay-Z)",
                                "Crazy in Love"};
    for (int i = 0; i < nowBefore.size(); i += 2)
        QCOMPARE(second.value(nowBefore[i]), first.value(nowBefore[i + 1]));
    QCOMPARE(second.value("September"), "7");

    // Nothing changed: the catalogue is not written again.
    const QByteArray before = fileBytes(lib.out);
    QVERIFY(lib.run({"music", "extra.csv"}));
    QVERIFY(!lib.import.wrote());
    QCOMPARE(sum.unchanged, 6);
    QCOMPARE(fileBytes(lib.out), before);

    // Pruning removes the songs that are gone, not those whose files are there but cannot
    // be read; their keys are never given out again, not even the highest.
    QVERIFY(QFile::remove(lib.path("music/e.wma")));
    lib.text("music/d.m4a", "damaged");
    lib.options.prune = true;
    QVERIFY(lib.run({"music", "extra.csv"}));
    QCOMPARE(sum.pruned, 2);
    lib.song("music/f.opus", 200, {"Tequila", "The Champs", "Latin", 1958, 0});
    QVERIFY(lib.run({"music", "extra.csv"}));
    QCOMPARE(lib.keys().value("Tequila"), "8");
    QVERIFY(!lib.keys().contains("Shout"));
    QCOMPARE(lib.keys().value("Hey Jude"), first.value("Hey Jude"));
}

void TestCatalogue::importBadInput()
{
    Library lib;
    lib.song("music/good.mp3", 200, {"Good Song", "Good Band", "Pop", 2000, 0});
    lib.text("kept.csv", "title\nKept Song\n");
    QVERIFY(lib.run({"music", "kept.csv"}));
    const QByteArray before = fileBytes(lib.out);

    // Each bad input, where it is reported and why.
    const QByteArray mp3 = AudioFixture::audio("mp3", 100);
    const QByteArray badName = "bad/\xff\xfe.mp3";
    QList<std::tuple<QString, QString>> expected{
        {"bad/empty.mp3", "the file is empty"},
        {"bad/cut.flac", "not readable as audio"},
        {"bad/text.mp3", "no audio found"},
        {"bad/tag.mp3", "the tag is damaged: it claims"},
        {QString::fromUtf8(badName), "the name is not valid UTF-8"},
        {"bad/gone.mp3", "a symbolic link to something that does not exist"},
        {"bad/loop", "a symbolic link to a folder that contains it (a loop)"},
        {"bad/pipe.mp3", "not a regular file"},
        {"broken.xml:4", "the file is passed over"},
        {"tracks.xml:3", "the TotalTime \"long\" is not a number of seconds"},
        {"tracks.xml:4", "the AverageBpm \"fast\" is not a number"},
        {"tracks.xml:5", "the track has no name and no file"},
        {"bad/twin", "the folder is already scanned under another name"},
        {QString::fromUtf8("bad/\xff"), "the folder name is not valid UTF-8"},
        {"lines.csv:3", "expected 3 fields, found 4"},
        {"lines.csv:4", "the length \"soon\" is not minutes:seconds"},
        {"lines.csv:5", "the title is empty"},
        {"lines.csv:6", "the year \"99\" is not a year"},
        {"names.csv:1", "the header has no column \"title\""},
        {"library.xml:2", "the Year \"19x\" is not a number"},
        {"library.xml:3", "the track has no name and no file"},
        {"cover.jpg", "not a folder, audio file, playlist"},
        {"open.csv:2", "a quoted field is not closed"},
        {"other.xml", "an XML file of an unknown kind (its root element is <html>"},
        {"missing.m3u", "does not exist"}};
    lib.text("bad/empty.mp3", "");
    lib.text("bad/cut.flac", AudioFixture::audio("flac", 100).left(30));
    lib.text("bad/text.mp3", "not music at all\n");
    lib.text("bad/tag.mp3", QByteArray("ID3\x03\x00\x00\x7f\x7f\x7f\x7f", 10) + mp3);
    const int fd =
        ::open(QFile::encodeName(lib.dir.path() + "/") + badName, O_CREAT | O_WRONLY, 0644);
    QVERIFY(fd >= 0);
    QCOMPARE(::write(fd, mp3.constData(), mp3.size()), mp3.size());
    QCOMPARE(::close(fd), 0);
    QVERIFY(QFile::link(lib.path("nowhere.mp3"), lib.path("bad/gone.mp3")));
    QVERIFY(QFile::link(".", lib.path("bad/loop")));
    QVERIFY(QDir().mkpath(lib.path("bad/sub")));
    QVERIFY(QFile::link("sub", lib.path("bad/twin")));
    QCOMPARE(::mkdir(QFile::encodeName(lib.dir.path() + "/bad/") + "\xff", 0700), 0);
    QCOMPARE(::mkfifo(QFile::encodeName(lib.path("bad/pipe.mp3")).constData(), 0600), 0);
    if (::geteuid() != 0) { // permissions do not bind the superuser
        lib.text("bad/locked.mp3", mp3);
        QFile(lib.path("bad/locked.mp3")).setPermissions({});
        expected.append(std::make_tuple(QString("bad/locked.mp3"), QString("cannot be read")));
    }
    const QByteArray dj = "<?xml version=\"1.0\"?>\n<DJ_PLAYLISTS><COLLECTION>\n";
    lib.text("broken.xml", dj + "<TRACK Name=\"A\"/>\n<TRACK Name=\"B\" Year=1999/>\n");
    lib.text("tracks.xml", dj + "<TRACK Name=\"A\" TotalTime=\"long\"/>\n<TRACK Name=\"B\" "
                                "AverageBpm=\"fast\"/>\n<TRACK Artist=\"C\"/>\n</COLLECTION>"
                                "</DJ_PLAYLISTS>\n");
    lib.text("lines.csv", "title,length,year\nFine,3:00,1999\nToo,many,fields,x\nLate,soon,\n"
                          ",3:00,\nOdd,1:00,99\n");
    lib.text("names.csv", "name,artist\nShout,The Isley Brothers\n");
    lib.text("library.xml", "<plist><dict><key>Tracks</key><dict>\n<key>1</key><dict>\n"
                            "<key>Name</key><string>A</string><key>Year</key><integer>19x</integer>"
                            "</dict><key>2</key><dict>\n<key>Artist</key><string>B</string>"
                            "</dict></dict></dict></plist>");
    lib.text("cover.jpg", "\xFF\xD8\xFF\xE0");
    lib.text("open.csv", "title,length\n\"Open,3:00\n");
    lib.text("other.xml", "\xEF\xBB\xBF<html><body/></html>\n");

    QStringList args{"import", "--report", lib.path("report.csv"), "--out", lib.out};
    for (const char* s : {"music", "bad", "broken.xml", "tracks.xml", "lines.csv", "open.csv",
                          "other.xml", "missing.m3u", "names.csv", "library.xml", "cover.jpg"})
        args << lib.path(s);
    QProcess p;
    p.start(kTool, args);
    QVERIFY(p.waitForFinished(60000));
    const QString out = QString::fromUtf8(p.readAllStandardOutput());
    QCOMPARE(p.exitCode(), 0);
    QVERIFY2(out.contains("added 3, updated 0, unchanged 1, kept but missing 1, pruned 0, "
                          "skipped " +
                          QString::number(expected.size())),
             qPrintable(out));

    // The report lists every skipped input with its line and reason; the catalogue is as it
    // was but for the lines of lines.csv with a title (a field that cannot be read is empty).
    CsvReader report;
    QVERIFY(report.readFile(lib.path("report.csv")));
    QCOMPARE(report.records().size(), expected.size() + 1);
    for (const auto& [where, reason] : expected) {
        bool found = false;
        for (const CsvRecord& r : report.records())
            found =
                found || ((r.fields[1].isEmpty() ? r.fields[0] : r.fields[0] + ":" + r.fields[1]) ==
                              lib.path(where) &&
                          r.fields[2].contains(reason));
        QVERIFY2(found, qPrintable(where + ": " + reason));
    }
    QCOMPARE(lib.songs("dbKey || ' ' || ifnull(Time, '') || ifnull(UDF02, '')"),
             (QMap<QString, QString>{{"Good Song", "1 3:202000"},
                                     {"Kept Song", "2 "},
                                     {"Fine", "3 3:001999"},
                                     {"Late", "4 "},
                                     {"Odd", "5 1:00"}}));

    // A dry run of the same shows the same and writes nothing.
    const QByteArray after = fileBytes(lib.out);
    lib.options.dryRun = true;
    QVERIFY(lib.run({"lines.csv", "music"}));
    QVERIFY(!lib.import.wrote());
    QCOMPARE(fileBytes(lib.out), after);
    QVERIFY(before != after);
    // Names that are not UTF-8 are unseen by the removal of the temporary folder.
    ::unlink(QFile::encodeName(lib.dir.path() + "/") + badName);
    ::rmdir(QFile::encodeName(lib.dir.path() + "/bad/") + "\xff");

    // Options and files an import refuses before it reads anything; no catalogue is written.
    lib.text("songs.csv", "title\nShout\n");
    lib.text("genres.csv", "genre,type\nPolka,12\n");
    const QString event = lib.path("event.mdb"), fresh = lib.path("fresh.mdb");
    column(event, "CREATE TABLE MusicIn (SongKey INTEGER, SongTitle TEXT)");
    const QByteArray eventBytes = fileBytes(event);
    const QString later = lib.path("later.mdb");
    QVERIFY(QFile::copy(lib.out, later));
    column(later, "PRAGMA user_version = 2");
    const QList<std::tuple<std::function<void(CatalogueImport::Options&)>, QString>> cases{
        {[](auto& o) { o.csvMap = "name=Song"; }, "--map: \"name=Song\" is not field=Column"},
        {[](auto& o) { o.defaultType = "Polka"; }, "--default-type: \"Polka\" is not a type"},
        {[&](auto& o) { o.genresFile = lib.path("genres.csv"); }, "genres.csv:2: expected a genre"},
        {[](auto& o) { o.slowBelow = 130; }, "the tempo bounds must be"},
        {[](auto& o) { o.sources.clear(); }, "give at least one source"},
        {[&](auto& o) { o.out = event; }, "is not a song catalogue that can be updated"},
        {[&](auto& o) { o.out = later; }, "version 2; this program updates versions up to 1"},
        {[&](auto& o) { o.settingsFile = lib.path("songs.csv"); }, "the header must be Item,Usage"},
        {[&](auto& o) { o.out = lib.path("songs.csv/songlist.mdb"); }, "cannot write"},
        {[&](auto& o) { o.sources = {lib.path("genres.csv")}; }, "no songs were found"}};
    for (const auto& [change, reason] : cases) {
        CatalogueImport::Options o;
        o.out = fresh;
        o.sources = {lib.path("songs.csv")};
        change(o);
        QVERIFY2(!lib.import.run(o), qPrintable(reason));
        QVERIFY2(lib.import.errorString().contains(reason), qPrintable(lib.import.errorString()));
        QVERIFY(!QFile::exists(fresh));
    }
    QCOMPARE(fileBytes(event), eventBytes);
}

void TestCatalogue::importRefusedKeepsFile_data()
{
    QTest::addColumn<QStringList>("options");
    QTest::addColumn<QStringList>("sources");
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QString>("says");
    QTest::addColumn<QString>("reported");
    const QString refused = "--prune: nothing was removed and nothing written, because a "
                            "source was not read whole: ";
    QTest::newRow("prune, empty drive") << QStringList{"--prune"} << QStringList{"empty"} << 1
                                        << refused + "@empty (it holds no songs)" << "";
    QTest::newRow("prune, drive gone") << QStringList{"--prune"} << QStringList{"gone"} << 1
                                       << refused + "@gone (does not exist)" << "does not exist";
    QTest::newRow("prune, part unreadable")
        << QStringList{"--prune"} << QStringList{"music"} << 1
        << refused + "@music (a folder in it cannot be read)" << "cannot be read";
    QTest::newRow("nothing imports") << QStringList{"--out", "@new.mdb"} << QStringList{"junk"}
                                     << 1 << "no songs were found" << "no audio found";
    QTest::newRow("dry run") << QStringList{"--dry-run"} << QStringList{"junk", "music"} << 0
                             << "dry run: nothing was written" << "no audio found";
    for (const char* huge : {"huge.m3u:65535", "huge.csv", "huge.xml"})
        QTest::newRow(huge) << QStringList{} << QStringList{QString(huge).section(':', 0, 0)} << 1
                            << QString("@%1: the sources name more than 65534 songs").arg(huge)
                            << "";
    QTest::newRow("50,001 streams")
        << QStringList{} << QStringList{"streams.m3u"} << 0
        << "skipped 50001; the catalogue holds 2 songs" << "1 more skipped";
}

void TestCatalogue::importRefusedKeepsFile()
{
    QFETCH(QStringList, options);
    QFETCH(QStringList, sources);
    QFETCH(int, exitCode);
    QFETCH(QString, says);
    QFETCH(QString, reported);
    Library lib;
    lib.song("music/a.mp3", 100, {"A", "Band", "", 0, 0});
    lib.song("music/sub/b.mp3", 100, {"B", "Band", "", 0, 0});
    lib.text("junk/bad.mp3", "not music");
    lib.text("huge.m3u", QByteArray("a.mp3\n").repeated(65535));
    lib.text("streams.m3u", QByteArray("http://a.example/\n").repeated(50001));
    lib.text("huge.csv", "title\n" + QByteArray("a\n").repeated(65535));
    lib.text("huge.xml", "<DJ_PLAYLISTS><COLLECTION>" +
                             QByteArray("<TRACK Name=\"a\"/>").repeated(65535) +
                             "</COLLECTION></DJ_PLAYLISTS>");
    QVERIFY(QDir().mkpath(lib.path("empty")));
    QVERIFY(lib.run({"music"}));
    const QByteArray before = fileBytes(lib.out);
    // A folder that cannot be read: locked, or (for the superuser, whom permissions do not
    // bind) one whose name is not text.
    const QByteArray badName = QFile::encodeName(lib.path("music/")) + "\xff";
    if (QTest::currentDataTag() == QLatin1String("prune, part unreadable")) {
        if (::geteuid() == 0)
            QCOMPARE(::mkdir(badName.constData(), 0700), 0);
        else
            QVERIFY(QFile(lib.path("music/sub")).setPermissions({}));
    }
    QStringList args{"import", "--report", lib.path("report.csv"), "--out", lib.out};
    for (const QString& a : options + sources)
        args << (a.startsWith('@') ? lib.path(a.mid(1)) : sources.contains(a) ? lib.path(a) : a);
    QProcess p;
    p.start(kTool, args);
    QVERIFY(p.waitForFinished(60000));
    QFile(lib.path("music/sub")).setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                                                QFileDevice::ExeOwner);
    ::rmdir(badName.constData());
    const QString out = p.readAllStandardOutput() + p.readAllStandardError();
    QCOMPARE(p.exitCode(), exitCode);
    ::says(out, says.replace('@', lib.dir.path() + '/'));
    QCOMPARE(fileBytes(lib.out), before);
    QVERIFY(!QFile::exists(lib.path("new.mdb")));
    // The reasons are printed and the report is written however the import ends.
    const QString report = QString::fromUtf8(fileBytes(lib.path("report.csv")));
    QVERIFY2(report.startsWith("file,line,reason\n"), qPrintable(report));
    ::says(report, reported);
    ::says(out, reported);
}

void TestCatalogue::importPassesOver_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<QString>("where");
    QTest::addColumn<QString>("reason");
    QTest::addColumn<QString>("title"); // the song it gives, if any
    const QByteArray dj = "<DJ_PLAYLISTS><COLLECTION>\n<TRACK Name=\"X\" ";
    QTest::newRow("title from file name") << "list.m3u8" << QByteArray("#EXTM3U\n.mp3\n") << ""
                                          << "" << ".mp3";
    QTest::newRow("untagged, no title") << "music/01 - .wav" << QByteArray() << "" << ""
                                        << "01 - .wav";
    QTest::newRow("pipe in playlist") << "list.m3u8" << QByteArray("#EXTM3U\npipe.mp3\n")
                                      << "list.m3u8:2" << "\"pipe.mp3\" is not a regular file"
                                      << "";
    QTest::newRow("time nan") << "dj.xml" << dj + "TotalTime=\"nan\"/></COLLECTION></DJ_PLAYLISTS>"
                              << "dj.xml:2" << "the TotalTime \"nan\" is not" << "";
    QTest::newRow("time 1e308") << "dj.xml"
                                << dj + "TotalTime=\"1e308\"/></COLLECTION></DJ_PLAYLISTS>"
                                << "dj.xml:2" << "the TotalTime \"1e308\" is not" << "";
    QTest::newRow("bpm inf") << "dj.xml" << dj + "AverageBpm=\"inf\"/></COLLECTION></DJ_PLAYLISTS>"
                             << "dj.xml:2" << "the AverageBpm \"inf\" is not" << "";
    QTest::newRow("csv bpm nan") << "list.csv" << QByteArray("title,bpm\nX,nan\n") << "list.csv:2"
                                 << "the bpm \"nan\" is not a number" << "X";
}

void TestCatalogue::importPassesOver()
{
    QFETCH(QString, file);
    QFETCH(QByteArray, content);
    QFETCH(QString, where);
    QFETCH(QString, reason);
    QFETCH(QString, title);
    Library lib;
    lib.song("music/good.mp3", 100, {"Good", "Band", "", 0, 0});
    QCOMPARE(::mkfifo(QFile::encodeName(lib.path("pipe.mp3")).constData(), 0600), 0);
    lib.text(file, content.isEmpty() ? AudioFixture::audio("wav", 2) : content);
    QVERIFY2(lib.run({"music", file}), qPrintable(lib.import.errorString()));
    QStringList skipped;
    for (const ImportSkip& skip : lib.import.summary().skipped)
        skipped << skip.where().mid(lib.dir.path().size() + 1) + " " + skip.reason;
    QCOMPARE(skipped.size(), where.isEmpty() ? 0 : 1);
    if (!where.isEmpty())
        ::says(skipped.first(), where + " " + reason);
    QStringList titles{"Good"};
    if (!title.isEmpty())
        titles << title;
    titles.sort();
    QCOMPARE(lib.keys().keys(), titles);
}

void TestCatalogue::prunedSongsComeBack()
{
    Library lib;
    lib.song("music/a.mp3", 100, {"A", "Band", "", 0, 0});
    lib.song("music/b.flac", 120, {"B", "Band", "", 0, 0});
    lib.song("music/c.ogg", 140, {"C", "Band", "", 0, 0});
    const QByteArray csv = "title,artist,length\nD,Other,3:00\nE,Other,4:00\n";
    lib.text("extra.csv", csv);
    QVERIFY(lib.run({"music", "extra.csv"}));
    const QMap<QString, QString> first = lib.keys();
    // A length an earlier catalogue holds far out of range is read as none.
    column(lib.out, "UPDATE MUSIC SET Time = '99999999:59' WHERE Name = 'E'");

    QVERIFY(QDir().mkpath(lib.path("away")));
    QVERIFY(QFile::rename(lib.path("music/b.flac"), lib.path("away/b.flac")));
    lib.text("extra.csv", "title,artist,length\nD,Other,3:00\n");
    lib.options.prune = true;
    QVERIFY(lib.run({"music", "extra.csv"}));
    QCOMPARE(lib.import.summary().pruned, 2);
    QCOMPARE(lib.keys().size(), 3);

    // Removed songs come back to their keys, by their file or by title, artist and time.
    QVERIFY(QFile::rename(lib.path("away/b.flac"), lib.path("music/b.flac")));
    lib.text("extra.csv", csv);
    QVERIFY2(lib.run({"music", "extra.csv"}), qPrintable(lib.import.errorString()));
    QCOMPARE(lib.keys(), first);
    QCOMPARE(lib.import.summary().returned, 2);
}

void TestCatalogue::oneImportAtATime()
{
    Library lib;
    for (int i = 0; i < 20; ++i)
        lib.song(QString("music/%1.mp3").arg(i), 100 + i, {QString("Song %1").arg(i), "B", "", 0, 0});
    {
        QLockFile held(lib.out + ".lock");
        QVERIFY(held.tryLock(0));
        QVERIFY(!lib.run({"music"}));
        ::says(lib.import.errorString(), "another import into this catalogue is running");
        QVERIFY(!QFile::exists(lib.out));
    }
    // Two started together: each writes whole or says that the other one runs.
    QProcess a, b;
    const QStringList args{"import", "--out", lib.out, lib.path("music")};
    a.start(kTool, args);
    b.start(kTool, args);
    QVERIFY(a.waitForFinished(60000));
    QVERIFY(b.waitForFinished(60000));
    for (QProcess* p : {&a, &b})
        if (p->exitCode() != 0)
            ::says(p->readAllStandardError(), "another import into this catalogue is running");
    QCOMPARE(std::min(a.exitCode(), b.exitCode()), 0); // at least one of them imported
    QCOMPARE(value(lib.out, "SELECT count(DISTINCT dbKey) || ' ' || max(dbKey) FROM MUSIC")
                 .toString(),
             QString("20 20"));
}

void TestCatalogue::spreadsheetCsv_data()
{
    QTest::addColumn<QByteArray>("csv");
    QTest::addColumn<QStringList>("songs"); // title|artist|time
    QTest::addColumn<QStringList>("skipped");
    QTest::newRow("semicolons, BOM, CRLF, time of day")
        << QByteArray("\xEF\xBB\xBFtitle;artist;length\r\nAt Last;Etta James;03:02:00 AM\r\n"
                      "\"Shout; Part 1\";Isley Brothers;4:27\r\n")
        << QStringList{"At Last|Etta James|3:02", "Shout; Part 1|Isley Brothers|4:27"}
        << QStringList();
    QTest::newRow("tabs, Windows-1252") << QByteArray("title\tartist\nCaf\xE9 \x96 Live\tB\n")
                                        << QStringList{"Caf\u00e9 \u2013 Live|B|"} << QStringList();
    QTest::newRow("afternoon") << QByteArray("title,length\nLong,12:05:00 PM\nLonger,1:10:00 PM\n")
                               << QStringList{"Long||12:05", "Longer||13:10"} << QStringList();
    QTest::newRow("field unreadable")
        << QByteArray("title,length,year\nX,3:02:30 AM,MCMLX\n") << QStringList{"X||"}
        << QStringList{"2 the length \"3:02:30 AM\" is not minutes:seconds or seconds; the song "
                       "is imported without it",
                       "2 the year \"MCMLX\" is not a year; the song is imported without it"};
}

void TestCatalogue::spreadsheetCsv()
{
    QFETCH(QByteArray, csv);
    QFETCH(QStringList, songs);
    QFETCH(QStringList, skipped);
    Library lib;
    lib.text("export.txt", csv);
    QVERIFY2(lib.run({"export.txt"}), qPrintable(lib.import.errorString()));
    QStringList reasons;
    for (const ImportSkip& skip : lib.import.summary().skipped)
        reasons << QString::number(skip.line) + " " + skip.reason;
    QCOMPARE(reasons, skipped);
    QStringList rows;
    for (const QVariant& v : column(lib.out, "SELECT Name || '|' || ifnull(UDF01, '') || '|' || "
                                             "ifnull(Time, '') FROM MUSIC ORDER BY dbKey"))
        rows << v.toString();
    QCOMPARE(rows, songs);
}

void TestCatalogue::genreSpellings_data()
{
    QTest::addColumn<QString>("genre");
    QTest::addColumn<int>("type"); // of the sample catalogue's types; 0: none matched
    const QList<std::pair<const char*, int>> rows{
        {"R&B/Soul", 3},          {"Soul/R&B", 3},         {"Hip-Hop/Rap", 7},
        {"Hip Hop", 7},           {"Dance/Disco", 5},      {"Funk / Soul", 3},
        {"Electronic/Dance", 5},  {"Singer-Songwriter", 1}, {"Latin", 8},
        {"Reggaeton", 8},         {"Country & Folk", 4},   {"Soundtrack, House", 5},
        {"alternative rock", 2},  {"Big Band", 6},         {"Vaporwave", 0}};
    for (const auto& [genre, type] : rows)
        QTest::newRow(genre) << QString(genre) << type;
}

void TestCatalogue::genreSpellings()
{
    QFETCH(QString, genre);
    QFETCH(int, type);
    CsvReader csv;
    QVERIFY(csv.readFile(kRealSettings));
    SettingsSheet settings;
    QVERIFY(settings.load(csv, kRealSettings));
    GenreTypeMapper mapper(settings);
    QString error;
    QVERIFY(mapper.setDefaultType("Traditional", &error));
    bool matched = false;
    QCOMPARE(mapper.typeFor(genre, &matched), type ? type : 9);
    QCOMPARE(matched, type != 0);
    // A mapping file still comes first.
    const QString mapping = QDir::temp().filePath("zel-genres.csv");
    writeFile(mapping, "genre,type\n" + genre.toUtf8().replace(',', ' ') + ",Latin\n");
    QVERIFY(mapper.loadMappingFile(mapping, &error));
    QCOMPARE(mapper.typeFor(QString(genre).replace(',', ' ')), 8);
    QFile::remove(mapping);
}

void TestCatalogue::importRemembersFiles()
{
    Library lib;
    lib.song("music/duo.mp3", 200, {"This Is What You Came For", "X", "", 0, 0});
    {
        TagLib::FileRef f(QFile::encodeName(lib.path("music/duo.mp3")).constData());
        TagLib::PropertyMap props = f.file()->properties();
        props.replace("ARTIST", TagLib::StringList(TagLib::String("Calvin Harris")).append(
                                    TagLib::String("Rihanna")));
        f.file()->setProperties(props);
        QVERIFY(f.save());
    }
    lib.text("music/junk.mp3", QByteArray(5000, 'x'));
    lib.text("nas.m3u8", "#EXTINF:100,Band - On The Share\n\\\\NAS\\Music\\share.mp3\n");
    QVERIFY(lib.run({"music", "nas.m3u8"}));
    QCOMPARE(lib.songs("UDF01").value("This Is What You Came For"), "Calvin Harris, Rihanna");
    QCOMPARE(value(lib.out, "SELECT Path FROM ImportKeys WHERE Path LIKE '%share%'").toString(),
             "//NAS/Music/share.mp3");

    // A retag that keeps the file's size and time is seen with --rescan; a file that failed
    // is not read again until it changes or a rescan asks for it.
    const QString duo = lib.path("music/duo.mp3");
    struct stat before {
    };
    QCOMPARE(::stat(QFile::encodeName(duo).constData(), &before), 0);
    {
        TagLib::FileRef f(QFile::encodeName(duo).constData());
        f.tag()->setTitle("THIS IS WHAT YOU CAME FOR");
        QVERIFY(f.save());
    }
    const timespec times[2] = {before.st_atim, before.st_mtim};
    QCOMPARE(::utimensat(AT_FDCWD, QFile::encodeName(duo).constData(), times, 0), 0);
    QCOMPARE(QFileInfo(duo).size(), qint64(before.st_size));
    const QStringList expected{"(found at an earlier import", "no audio found"};
    for (const bool rescan : {false, true}) {
        lib.options.rescan = rescan;
        QVERIFY(lib.run({"music", "nas.m3u8"}));
        QCOMPARE(lib.keys().contains("THIS IS WHAT YOU CAME FOR"), rescan);
        const QString reason = lib.import.summary().skipped.value(0).reason;
        QCOMPARE(reason.contains(expected[0]), !rescan);
        ::says(reason, expected[1]);
    }
}

void TestCatalogue::exportsPlay()
{
    // The entertainer's library, imported; an event that picked from it, with a song the
    // couple entered by hand and one of another catalogue.
    Library lib;
    lib.song("music/a.mp3", 182, {"At Last", "Etta James", "Soul", 1960, 0});
    lib.song("music/b.flac", 147, {"Respect", "Aretha Franklin", "Soul", 1967, 115});
    lib.song("music/c d.ogg", 215, {"September", "Earth, Wind & Fire", "Disco", 1978, 126});
    QVERIFY(lib.run({"music"}));
    const QMap<QString, QString> keys = lib.keys();
    // What a DJ knows is shown in the user fields, named and offered in the settings.
    QCOMPARE(lib.songs("ifnull(UDF03, '') || '|' || UDF04 || '|' || UDF05 || '|' || "
                       "ifnull(UDF06, '') || '|' || UDF07")
                 .value("September"),
             "|Disco|126||" + lib.path("music"));
    QCOMPARE(column(lib.out, "SELECT Usage FROM Config WHERE Item IN ('UDFCount', 'UDF03', "
                             "'UDF07') ORDER BY Item"),
             (QVariantList{"Album", "Folder", "7"}));
    auto song = [&](const char* title, const char* artist, qint16 key) {
        return PlanSong{key, title, artist, PlanValue<int>::given(200)};
    };
    EventPlan plan;
    plan.Times.Start = PlanValue<QTime>::given(QTime(18, 0));
    plan.Include = {song("At Last", "Etta James", keys["At Last"].toShort()),
                    song("At Lats", "Eta James", PlanSong::kEnteredByHand),
                    song("Respect", "Aretha Franklin", 9999)};
    plan.Exclude = {song("Respect", "Aretha Franklin", keys["Respect"].toShort())};
    for (const auto& [time, title] : {std::pair{QTime(1, 0), "At Last"},
                                      std::pair{QTime(20, 0), "September"}}) {
        ScheduledActivity a;
        a.Time = PlanValue<QTime>::given(time);
        a.SongKey = keys[title].toShort();
        a.SongTitle = title;
        plan.Schedule.append(a);
    }
    LibrarySongs library;
    QString error;
    QVERIFY2(library.read(lib.out, &error), qPrintable(error));
    const QString out = lib.path("export");
    QVERIFY2(DjExport(plan, library).writeAll(out, &error), qPrintable(error));

    // Every entry is a file of the library, in the list's order (the schedule's by time).
    const QMap<QString, QStringList> expected{
        {"include", {"a.mp3", "b.flac"}}, {"exclude", {"b.flac"}}, {"schedule", {"c d.ogg", "a.mp3"}}};
    for (auto it = expected.cbegin(); it != expected.cend(); ++it) {
        QStringList files;
        for (const QString& line : QString::fromUtf8(fileBytes(out + "/" + it.key() + ".m3u8")).split('\n'))
            if (!line.isEmpty() && !line.startsWith('#')) {
                QVERIFY2(QFileInfo(line).isFile(), qPrintable(line));
                files << QFileInfo(line).fileName();
            }
        QCOMPARE(files, it.value());
    }
    // The collections read back into the same songs.
    for (const char* collection : {"collection.xml", "collection.nml"}) {
        Library back;
        back.options.out = back.out;
        back.options.sources = {out + "/" + collection};
        QVERIFY2(back.import.run(back.options), qPrintable(back.import.errorString()));
        QCOMPARE(back.songs("UDF01 || ' ' || Time"),
                 (QMap<QString, QString>{{"At Last", "Etta James 3:02"},
                                         {"Respect", "Aretha Franklin 2:27"},
                                         {"September", "Earth, Wind & Fire 3:35"}}));
        QCOMPARE(value(back.out, "SELECT count(*) FROM ImportKeys WHERE Path LIKE '" +
                                     lib.dir.path() + "/music/%'").toInt(), 3);
    }
    // The hand-entered song is missing, with its closest match.
    CsvReader missing;
    QVERIFY(missing.readFile(out + "/missing.csv"));
    QCOMPARE(missing.records().size(), 2);
    const QStringList row = missing.records()[1].fields;
    QCOMPARE(row.mid(0, 5), (QStringList{"include", "At Lats", "Eta James", "3:20",
                                          "At Last - Etta James"}));
    QVERIFY2(row[5].chopped(1).toInt() >= 50, qPrintable(row[5]));
}

void TestCatalogue::mediumForTheCouple()
{
    // The entertainer's catalogue made into a medium, loaded by the wizard's data loader and
    // searched in the song-pick dialog. A file that is no catalogue, and a folder holding
    // other files, are refused and nothing is written.
    Sources s;
    QVERIFY(s.build(kAtLast + "2,Shout,Isley Brothers,1959,4:27,2,2,0\n",
                    kSettings + "EntName,Dana Cole\nFinalDays,14\n"));
    TestRoot root(TestRoot::EmptyHive);
    const QString medium = root.path() + "/stick/medium", from = root.path() + "/own";
    QVERIFY(writeFile(root.path() + "/busy/notes.txt", "mine"));
    QProcess p;
    const auto make = [&](const QString& catalogue, const QString& out, const QString& media) {
        p.start(kTool, {"medium", "--catalogue", catalogue, "--out", out, "--from", media});
        return p.waitForFinished(60000) ? p.exitCode() : -1;
    };
    QCOMPARE(make(s.settings, medium, ""), 1);
    QCOMPARE(make(s.out, root.path() + "/busy", ""), 1);
    QCOMPARE(QDir(root.path() + "/busy").entryList(QDir::Files), QStringList{"notes.txt"});
    QCOMPARE(make(s.out, medium, ""), 0);
    QVERIFY(QDir().mkpath(from));
    for (const QString& f : frmLoadData::dataFiles().mid(1, 6)) // all but hi.rtf and the catalogue
        QVERIFY(QFile::copy(medium + "/" + f, from + "/" + f));
    QVERIFY(writeFile(from + "/hi.rtf", "{\\rtf1 Our welcome}"));
    QCOMPARE(make(s.out, medium, from), 0); // over the medium made before
    QCOMPARE(QDir(root.path() + "/stick").entryList(QDir::AllEntries | QDir::NoDotAndDotDot),
             QStringList{"medium"});

    ZelWizard w;
    whenModal("frmLoadData", [&](QWidget* dlg) {
        static_cast<frmLoadData*>(dlg)->addSource(medium, "Stick", true);
        child<QPushButton>(dlg, "cmdOK")->click();
    });
    QVERIFY(w.start());
    QCOMPARE(fileBytes(PathMap::mediaFolder() + "hi.rtf"), QByteArray("{\\rtf1 Our welcome}"));
    QCOMPARE(w.items().GetConfigItem("EntName", ""), QString("Dana Cole"));
    frmSongSel dlg(w.state(), w.items(), PathMap::catalogue());
    child<QLineEdit>(&dlg, "txtFind")->setText("sh");
    QCOMPARE(std::pair(dlg.model()->rowCount(), dlg.model()->field(0, SongGridModel::ColName)),
             std::pair(1, QVariant("Shout")));
}

QTEST_MAIN(TestCatalogue)
#include "test_catalogue.moc"
