// The song-pick dialog over small catalogues: its settings, statement, search index, grid,
// picks and reopening, and the user field picker.

#include "TestSupport.h"

#include "app/ZelWizard.h"
#include "catalogue/CatalogueSettings.h"
#include "catalogue/SongGridModel.h"
#include "catalogue/SongIndex.h"
#include "catalogue/SongQuery.h"
#include "platform/PathMap.h"
#include "songs/FrmInput.h"
#include "songs/SongGridDelegate.h"
#include "songs/frmSongSel.h"
#include "store/SqlConnection.h"

#include <QAbstractItemModelTester>
#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSqlError>
#include <QSqlQuery>
#include <QStyledItemDelegate>
#include <QTableView>
#include <QToolButton>
#include <QtTest>

#include <random>

using Song = QMap<QString, QVariant>;

namespace
{
// Runs statements on a database file through a plain connection of its own.
void execOn(const QString& file, const QStringList& statements)
{
    {
        QSqlDatabase db = QSqlDatabase::addDatabase("QSQLITE", "test-raw");
        db.setDatabaseName(file);
        QVERIFY(db.open());
        QSqlQuery q(db);
        for (const QString& st : statements)
            QVERIFY2(q.exec(st), qPrintable(q.lastError().text()));
    }
    QSqlDatabase::removeDatabase("test-raw");
}

Song song(int key, const QString& name, const QString& type = "1", const QString& stype = "",
          const QString& matrix = "", const QString& artist = "", const QString& time = "3:00")
{
    return {{"dbKey", key},     {"Name", name},    {"Type", type}, {"SType1", stype},
            {"Matrix", matrix}, {"UDF01", artist}, {"Time", time}, {"UDF02", name + " LP"}};
}

const QMap<QString, QString> kSettings{
    {"TotalTypes", "3"}, {"T02", "Rock"},        {"SType1", "True"},      {"SType1Count", "2"},
    {"SType11", "Slow"}, {"SType12", "Fast"},    {"UDFCount", "2"},       {"UDF01", "Artist"},
    {"UDF02", "Album"},  {"MATRIX00", "+Dance"}, {"MATRIX02", "+Oldies"}, {"MATRIX10", "xOff"}};

// Twelve songs; types and sub-types given by number, by name, or by neither.
const QList<Song> kSongs{song(1, "Love Me Tender", "2", "1", "0", "Elvis Presley", "2:41"),
                         song(2, "All You Need Is Love", "Rock", "Slow", "02", "The Beatles"),
                         song(3, "Crazy Little Thing", "1", "2", "2", "Queen"),
                         song(4, "Endless Love", "2", "5", "0", "Diana Ross"),
                         song(5, "Unchained Melody", "12", "", "02", "Righteous Brothers"),
                         song(6, "Jazz Standard", "Jazz", "", "A", "Nobody"),
                         song(7, "Perfect", "3", "", "", "Ed Sheeran"),
                         song(8, "Thinking Out Loud", "3", "", "0", "Ed Sheeran"),
                         song(9, "What a Wonderful World", "1", "", "2", "Louis Armstrong"),
                         song(10, "Shout", "2", "2", "2", "Isley Brothers"),
                         song(11, "Yeah 100% \"live\" | [mix] -- it's; on", "1", "", "", "Odd"),
                         song(12, "Under_score", "1", "", "", "Odd")};

struct Fixture {
    TestRoot root;
    std::unique_ptr<ZelWizard> wizard;
    std::unique_ptr<frmSongSel> dlg;
    explicit Fixture(const QMap<QString, QString>& settings = kSettings,
                     const QList<Song>& songs = kSongs)
    {
        root.writeCatalogue(settings, songs);
        wizard = std::make_unique<ZelWizard>();
        if (!wizard->start())
            qFatal("the wizard did not start");
        dlg = std::make_unique<frmSongSel>(wizard->state(), wizard->items(), PathMap::catalogue());
    }
    template <class T> T* get(const QString& name) { return child<T>(dlg.get(), name); }
    QLineEdit* find() { return get<QLineEdit>("txtFind"); }
    QTableView* grid() { return get<QTableView>("dbgSongList"); }
    QComboBox* combo(const QString& name) { return get<QComboBox>(name); }
    QPushButton* cat(int i) { return get<QPushButton>(QStringLiteral("cmdCat_%1").arg(i)); }
    void click(const QString& name) { get<QAbstractButton>(name)->click(); }
    const SongPick& outcome() { return dlg->outcome(); }
    // The dbKeys of the grid's rows, in order.
    QList<int> keys()
    {
        QList<int> k;
        for (int r = 0; r < dlg->model()->rowCount(); ++r)
            k << dlg->model()->field(r, SongGridModel::ColKey).toInt();
        return k;
    }
};

// Pieces of generated values: letter case variants, letters beyond ASCII (which the
// catalogue compares exactly), pattern characters, quotes and blanks.
const QStringList kPieces{"love", "Love", "LOVE",   "lOvE",    "me",   "the",  "a",    "A",   "Ça",
                          "ça",   "ÇA",   "straße", "STRASSE", "é",    "É",    "日本", "😀",   "%",
                          "_",    "'",    "\"",     "|",       " ",    "-",    "50%",  "a_b", "x",
                          "X",    "1",    "2",      "Rock",    "ROCK", "Jazz", "ß",    "K",   "\t"};

// A generated catalogue for comparing the search index with the statement: `songs` songs
// with random keys, titles often repeated, every column at times empty or without a
// value. `quirks` declares Type with a collation that ignores trailing blanks and stores
// binary data in some UDF03 values: the index must leave those searches to the statement.
void writeRandomCatalogue(const QString& file, std::mt19937& random, int songs, bool nocase,
                          bool quirks)
{
    auto below = [&](int n) { return int(random() % quint32(n)); };
    auto pick = [&](const QStringList& from) { return from[below(int(from.size()))]; };
    auto text = [&](int pieces) {
        QString t;
        for (int n = below(pieces + 1); n > 0; --n)
            t += pick(kPieces);
        return below(12) ? QVariant(t) : QVariant(QMetaType(QMetaType::QString));
    };
    const QString collate = nocase ? " TEXT COLLATE NOCASE" : " TEXT";
    QString cols = "dbKey INTEGER PRIMARY KEY, Name" + collate + ", Type" +
                   (quirks ? " TEXT COLLATE RTRIM" : collate) + ", SType1" + collate +
                   ", SType2 TEXT, Time TEXT, Matrix TEXT";
    for (int i = 1; i <= 9; ++i)
        cols += QStringLiteral(", UDF%1").arg(i, 2, 10, QLatin1Char('0')) + collate;
    execOn(file, {"CREATE TABLE MUSIC (" + cols + ")",
                  "CREATE INDEX MusicName ON MUSIC (Name COLLATE NOCASE)"});
    QSqlDatabase db = QSqlDatabase::addDatabase("QSQLITE", "test-random");
    db.setDatabaseName(file);
    QVERIFY(db.open());
    QVERIFY(db.transaction());
    QSqlQuery q(db);
    QVERIFY(q.prepare("INSERT INTO MUSIC VALUES (?" + QString(",?").repeated(15) + ")"));
    QList<int> keys(songs);
    std::iota(keys.begin(), keys.end(), 1);
    std::shuffle(keys.begin(), keys.end(), random);
    QVariantList names;
    const QStringList types{"1", "2", "3", "Rock", "rock", "ROCK", "12", "", " 2", "2 ", "Slow"};
    for (int k : keys) {
        names << (!names.isEmpty() && below(6) == 0 ? names[below(int(names.size()))] : text(4));
        QString matrix;
        for (int n = below(4); n > 0; --n)
            matrix += QString("0123456789ABCDEabcdeZ%")[below(22)];
        QVariantList row{k, names.last()};
        row << (below(10) ? pick(types) : QVariant()) << (below(3) ? pick(types) : QVariant())
            << text(1) << text(2) << (below(8) ? matrix : QVariant());
        for (int i = 1; i <= 9; ++i)
            row << (quirks && i == 3 && below(5) == 0 ? QByteArray("Love\xff") : text(3));
        for (int i = 0; i < row.size(); ++i)
            q.bindValue(i, row[i]);
        QVERIFY2(q.exec(), qPrintable(q.lastError().text()));
    }
    QVERIFY(db.commit());
}

SongSearch randomSearch(std::mt19937& random)
{
    auto below = [&](int n) { return int(random() % quint32(n)); };
    const QStringList names{"Rock", "rock", "Slow", "", QString(), "2 ", "Jazz"};
    SongSearch s;
    s.lookIndex = below(14) - 1;
    for (int n = below(4); n > 0; --n)
        s.findText += below(3) ? kPieces[below(int(kPieces.size()))]
                               : kPieces[below(int(kPieces.size()))].left(1 + below(2));
    // Now and then a NUL (the engine's text ends there), a pattern beyond the engine's limit
    // or a lone surrogate.
    if (const int odd = below(40); odd == 0)
        s.findText += QChar(0);
    else if (odd == 1)
        s.findText = QString(below(2) ? 60000 : 2000, '%') + "x";
    else if (odd == 2)
        s.findText += QChar(0xD800);
    if (below(3) == 0) {
        s.typeIndex = 1 + below(12);
        s.typeName = names[below(int(names.size()))];
    }
    if (below(4) == 0) {
        s.subTypeIndex = 1 + below(4);
        s.subTypeText = names[below(int(names.size()))];
    }
    const QStringList codes{"0", "1", "2", "A", "B", "E", "a", "Z", "", "AB"};
    for (int n = below(3) ? 0 : 1 + below(2); n > 0; --n)
        s.categoryCodes << codes[below(int(codes.size()))];
    return s;
}

// A search as the dialog's controls give it over kSettings (type 2 is "Rock").
SongSearch search(const QString& find, int type = 0, const QStringList& codes = {}, int subType = 0,
                  int look = 0)
{
    return {look,    find,
            type,    type == 2 ? "Rock" : QString("Type %1").arg(type),
            subType, QStringList{"", "Slow", "Fast"}.value(subType),
            codes};
}
} // namespace

class TestSongSel : public QObject
{
    Q_OBJECT
  private slots:
    void settings();
    void statementText();
    void indexAnswersAsTheStatement();
    void controlsAndReopening();
    void picks();
    void severalSongsForAList_data();
    void severalSongsForAList();
    void manyRowsCloseBoxAndBrokenCatalogue();
};

void TestSongSel::settings()
{
    // TotalTypes, SType1, SType1Count and UDFCount as given, and the numbers of types,
    // sub-types and user fields read from them; the first gives none of them.
    const QList<std::pair<QStringList, QList<int>>> cases{
        {{}, {1, 0, 0}},
        {{"4", "True", "3", "2"}, {4, 3, 2}},
        {{"12", "true", "40", "99"}, {9, 9, 9}},
        {{"-3", "1", "-1", "-7"}, {0, 0, 0}},
        {{"2.5 types", "-1", "3.6", " 1x"}, {2, 4, 1}}, // leading number, rounded
        {{"many", "yes", "3", ""}, {0, 0, 0}},          // the flag neither word nor number
        {{"1e9", "True", "99999999", "32768"}, {9, 9, 9}}};
    const QStringList keys{"TotalTypes", "SType1", "SType1Count", "UDFCount"};
    for (const auto& [given, counts] : cases) {
        QMap<QString, QString> settings{{"SType11", "Waltz"}, {"SType12", "Tango"}};
        for (int i = 0; i < given.size(); ++i)
            settings[keys[i]] = given[i];
        Fixture f(settings, {});
        const CatalogueSettings& s = f.dlg->settings();
        QCOMPARE(QList<int>({s.TypeCount, s.SubTypeCount, s.UserFieldCount,
                             int(f.combo("cbTypes")->count() - 1),
                             int(f.combo("cbSubTypes")->count() - 1),
                             int(f.combo("cbLook")->count() - 1)}),
                 counts + counts);
        if (counts[1] >= 3) // the third sub-type has no name: its default
            QCOMPARE(f.combo("cbSubTypes")->itemText(3), QString("-"));
        for (int n = counts[1] + 1; n <= 9; ++n) // read only as far as the count goes
            QVERIFY(s.SubTypeNames[n].isEmpty());
        if (!given.isEmpty())
            continue;
        QString names = s.TypeNames[0] + s.TypeNames[1] + s.TypeNames[9] + s.UserFieldNames[1] +
                        s.UserFieldNames[9];
        for (const CatalogueCategory& c : s.Categories)
            names += c.Code + (c.On ? "+" : "") + c.Name.right(2);
        QCOMPARE(
            names,
            QString("AllType 1Type 9User 1User 90 11 22 33 44 55 66 77 88 9910A11B12C13D14E15"));
        QCOMPARE(f.get<QLabel>("lblCount")->text(), QString("NO SONGS FOUND"));
    }
}

void TestSongSel::statementText()
{
    const QList<std::pair<SongSearch, QString>> cases{
        {search("love", 2, {"0", "2"}),
         "Name LIKE \"%love%\" AND (1 AND  (matrix LIKE '%0%')  AND  (matrix LIKE '%2%') )  AND "
         "(TYPE =\"Rock\" OR type=\"2\")  ORDER BY name"},
        {{}, "Name LIKE \"%%\" ORDER BY name"},
        {search("x", 0, {}, 0, 3), "UDF03 LIKE \"%x%\" ORDER BY UDF03 , name"},
        {search("", 0, {}, 1), // a sub-type with the type "All"
         "Name LIKE \"%%\" AND (Stype1 =\"Slow\" OR Stype1=\"1\")  ORDER BY name"}};
    for (const auto& [s, where] : cases)
        QCOMPARE(SongQuery::statementText(s), "SELECT * from MUSIC WHERE " + where);
}

void TestSongSel::indexAnswersAsTheStatement()
{
    // Plain text columns; columns and a title index that ignore case; binary values and a
    // collation that ignores trailing blanks.
    for (const auto& [seed, songs, nocase, quirks] : QList<std::tuple<int, int, bool, bool>>{
             {1, 300, false, false}, {2, 1500, true, false}, {3, 600, false, true}}) {
        TestRoot root;
        const QString file = root.path() + "/random.mdb";
        std::mt19937 random{quint32(seed)};
        writeRandomCatalogue(file, random, songs, nocase, quirks);
        SqlConnection conn(file, SqlConnection::ReadOnly);
        SongIndex index;
        QVERIFY(index.build(file, 9));
        QCOMPARE(index.songCount(), songs);

        int answered = 0, differing = 0; // fields of a first song the index holds otherwise
        for (int i = 0; i < 1200; ++i) {
            const SongSearch s = randomSearch(random);
            std::vector<quint32> rows;
            const bool byIndex = index.search(s, rows);
            const SongQuery::Bound b = SongQuery::bound(s);
            QSqlQuery q(conn.database());
            QVERIFY(q.prepare(b.selectText()));
            for (int v = 0; v < b.values.size(); ++v)
                q.bindValue(v, b.values[v]);
            const bool ran = q.exec();
            QList<qint64> expected, got;
            for (QVariant v; q.next(); expected << q.value("dbKey").toLongLong())
                for (int c = 0; c < 16 && expected.isEmpty() && byIndex && !rows.empty(); ++c)
                    differing +=
                        index.field(rows[0], c, v) && v.toString() != q.value(c).toString();
            for (quint32 r : rows)
                got << index.rowId(r);
            // What fails is left to the statement; a failure names the search.
            const auto tell = qScopeGuard([&] {
                if (QTest::currentTestFailed())
                    qWarning("seed %d: %s", seed,
                             qPrintable(SongQuery::statementText(s).left(300)));
            });
            if (byIndex) {
                QVERIFY(ran);
                QCOMPARE(got, expected);
            }
            QCOMPARE(differing, 0);
            if (quirks && (s.typeIndex >= 1 || s.lookIndex == 3))
                QVERIFY(!byIndex);
            answered += byIndex;
        }
        // Only the rare inputs the index cannot compare go to the statement.
        QVERIFY2(answered > 1200 * (quirks ? 0.4 : 0.9), qPrintable(QString::number(answered)));
    }
}

void TestSongSel::controlsAndReopening()
{
    Fixture f;
    QCOMPARE(f.dlg->model()->searches(), 1); // the load's search, once
    // The grid's columns, and what its type and sub-type columns show.
    SongGridModel* m = f.dlg->model();
    auto columns = [&] {
        QStringList s;
        for (int c = 0; c < 16; ++c)
            if (!f.grid()->isColumnHidden(c))
                s << m->headerData(c, Qt::Horizontal).toString();
        return s.join(',');
    };
    QCOMPARE(columns(), QString("Name,Type,SType1,Time,Artist,Album"));
    f.find()->setText("e");
    f.find()->setText("");
    QCOMPARE(columns(), QString("Name,Type,SType1,Time,Artist,Album")); // kept as set up
    // A number within the loaded names shows the name; anything else shows as stored.
    const QMap<int, QString> shownAs{{1, "Rock/Slow"}, {2, "Rock/Slow"}, {3, "Type 1/Fast"},
                                     {4, "Rock/"},     {5, "12/"},       {6, "Jazz/"},
                                     {7, "Type 3/"}};
    const QList<int> keys = f.keys();
    for (int r = 0; r < keys.size(); ++r)
        if (shownAs.contains(keys[r]))
            QCOMPARE(m->index(r, SongGridModel::ColType).data().toString() + '/' +
                         m->index(r, SongGridModel::ColSType1).data().toString(),
                     shownAs[keys[r]]);
    QCOMPARE(m->index(0, SongGridModel::ColTime).data(Qt::TextAlignmentRole).toInt(),
             int(Qt::AlignCenter));
    QVERIFY(f.cat(0)->isHidden());
    QCOMPARE(f.cat(1)->text() + f.cat(1)->property("code").toString(), QString("Dance0"));
    QCOMPARE(f.cat(3)->text() + f.cat(3)->property("code").toString(), QString("Oldies2"));
    for (int i : {2, 4, 11, 15}) // off, or switched off with a letter other than +
        QCOMPARE(std::tuple(f.cat(i)->isEnabled(), f.cat(i)->text(), f.cat(i)->isHidden()),
                 std::tuple(false, QString(), true));
    f.dlg->show(); // five buttons a row, in order
    QCOMPARE_GT(f.cat(2)->x(), f.cat(1)->x());
    QCOMPARE_GT(f.cat(6)->y(), f.cat(5)->y());
    // Pressed categories all match; pressing one again searches again without it.
    const QList<std::pair<int, QList<int>>> presses{{1, {2, 4, 1, 8, 5}},
                                                    {3, {2, 5}},
                                                    {1, {2, 3, 10, 5, 9}},
                                                    {3, {2, 3, 4, 6, 1, 7, 10, 8, 5, 12, 9, 11}}};
    for (const auto& [button, keys] : presses) {
        f.cat(button)->click();
        QCOMPARE(f.keys(), keys);
    }
    // Rock by name or number; Slow by name or 1; a sub-type alone; a user field's order; quotes
    // and bars set (not typed) searched as they are; % and _ as patterns, letter case ignored.
    for (const auto& [type, subType, look, text, keys] :
         QList<std::tuple<int, int, int, QString, QList<int>>>{{2, 0, 0, "", {2, 4, 1, 10}},
                                                               {2, 1, 0, "", {2, 1}},
                                                               {0, 2, 0, "", {3, 10}},
                                                               {0, 0, 1, "ed sh", {7, 8}},
                                                               {0, 0, 0, "100% \"live\" |", {11}},
                                                               {0, 0, 0, "o_e", {2, 4, 1, 12}}}) {
        f.combo("cbTypes")->setCurrentIndex(type);
        f.combo("cbSubTypes")->setCurrentIndex(subType);
        f.combo("cbLook")->setCurrentIndex(look);
        f.find()->setText(text);
        QCOMPARE(f.keys(), keys);
        if (look)
            QVERIFY2(f.dlg->LastQuery().endsWith(" ORDER BY UDF01 , name"),
                     qPrintable(f.dlg->LastQuery()));
    }
    // The search box: counts and the first title.
    QLabel* count = f.get<QLabel>("lblCount");
    for (const auto& [text, shown] :
         QList<std::pair<QString, QString>>{{"", "12 songs found. #000000 All You Need Is Love"},
                                            {"zzz", "NO SONGS FOUND #ff0000 "},
                                            {"shout", "1 song found. #000000 Shout"}}) {
        f.find()->setText(text);
        QCOMPARE(count->text() + ' ' + count->palette().color(QPalette::WindowText).name() + ' ' +
                     f.get<QLabel>("lblSelect1")->text(),
                 shown);
    }

    // Typed quotes and bars are dropped; Escape in the box clears it and the search, but
    // not the lists, and does not quit; the clear button puts the focus in the box.
    f.find()->clear();
    f.dlg->show();
    QVERIFY(QTest::qWaitForWindowExposed(f.dlg.get()));
    // Cells copied from the pictures the grid keeps look exactly as painted ones.
    QImage copied(f.grid()->viewport()->size(), QImage::Format_RGB32), painted = copied;
    for (int pass = 0; pass < 2; ++pass) // the second pass copies
        f.grid()->viewport()->render(&copied);
    f.grid()->setItemDelegate(new QStyledItemDelegate(f.grid())); // for the rest of this test
    f.grid()->viewport()->render(&painted);
    QCOMPARE(copied, painted);
    f.find()->setFocus();
    QTest::keyClicks(f.find(), "lo\"v|e");
    QCOMPARE(f.find()->text(), QString("love"));
    QCOMPARE(f.dlg->resultRows(), 3);
    f.combo("cbTypes")->setCurrentIndex(2);
    QTest::keyClick(f.find(), Qt::Key_Escape);
    QCOMPARE(f.find()->text(), QString());
    QVERIFY(f.dlg->isVisible());
    QCOMPARE(f.combo("cbTypes")->currentIndex(), 2);
    QCOMPARE(f.dlg->LastQuery(), SongQuery::statementText(f.dlg->currentSearch()));
    f.find()->setText("abc");
    f.click("cmdClear");
    QCOMPARE(f.find()->text(), QString());
    QVERIFY(f.find()->hasFocus());

    // Reopening shows the dialog as it was left, without searching again.
    f.find()->setText("love");
    f.cat(1)->click();
    const int searches = f.dlg->model()->searches();
    const QString last = f.dlg->LastQuery();
    f.grid()->setCurrentIndex(f.dlg->model()->index(1, SongGridModel::ColName));
    f.click("cmdQuit");
    f.dlg->show();
    QCOMPARE(std::tuple(f.dlg->model()->searches(), f.dlg->LastQuery(), f.find()->text(),
                        f.cat(1)->isChecked(), f.grid()->currentIndex().row()),
             std::tuple(searches, last, QString("love"), true, 1));
    // The same statement again is not sent either.
    for (const QString& text : QStringList{"love!", "love", "love"})
        f.find()->setText(text);
    QCOMPARE(f.dlg->model()->searches(), searches + 2);

    // The user field picker.
    QToolButton* pickValue = f.get<QToolButton>("cmdPickValue");
    f.dlg->show();
    QVERIFY(!pickValue->isVisible()); // only for a user field
    f.combo("cbLook")->setCurrentIndex(1);
    QVERIFY(pickValue->isVisible());
    QVERIFY(!pickValue->isEnabled()); // no music database yet

    // A music database whose user field 3 holds these values: each value once, blanks left out, in
    // order; a field beyond nine lists nothing.
    const QString file = PathMap::musicDatabase();
    QDir().mkpath(QFileInfo(file).path());
    execOn(file, {"CREATE TABLE music (id INTEGER PRIMARY KEY, udf01 TEXT, udf02 TEXT, udf03 TEXT,"
                  " udf04 TEXT, udf05 TEXT, udf06 TEXT, udf07 TEXT, udf08 TEXT, udf09 TEXT)",
                  "INSERT INTO music (udf01, udf03) VALUES ('x', 'beta'), ('x', 'Alpha'), "
                  "('x', 'beta'), ('x', ''), ('x', '   '), ('x', NULL), ('x', 'gamma'), "
                  "('x', 'alpha')"});
    WizardState state;
    FrmInput input(state);
    for (const auto& [field, values] : QList<std::pair<qint16, QStringList>>{
             {12, {}}, {3, {"Alpha", "alpha", "beta", "gamma"}}}) {
        qint16 asked = field;
        input.FillDropDowns(asked);
        QCOMPARE(input.values(), values);
    }
    input.show();
    child<QPushButton>(&input, "CmdCancel")->click();
    QVERIFY(!input.wasSaved());
    QVERIFY(input.isHidden());

    // From the song dialog the values of udf01 go into the search box, and the song
    // dialog's opener still finds the answer it set.
    f.combo("cbLook")->setCurrentIndex(0);
    f.combo("cbLook")->setCurrentIndex(1);
    QVERIFY(pickValue->isEnabled());
    whenModal("FrmInput", [](QWidget* dlg) {
        QCOMPARE(child<QComboBox>(dlg, "ComboUser1")->count(), 1);
        child<QPushButton>(dlg, "CmdOK")->click();
    });
    pickValue->click();
    QCOMPARE(f.find()->text(), QString("x"));
    QVERIFY(f.dlg->isVisible());
}

void TestSongSel::picks()
{
    // Keys that do not fit 16 bits are never another song's key nor a custom song's marker.
    const QList<std::pair<QVariant, int>> keys{{5, 5},          {32767, 32767}, {32768, 0},
                                               {98304 + 5, 0},  {-2, 0},        {0, 0},
                                               {QVariant(), 0}, {"abc", 0}};
    for (const auto& [stored, key] : keys)
        QCOMPARE(frmSongSel::songKeyOf(stored), qint16(key));

    Fixture f(kSettings, kSongs + QList<Song>{song(70000, "Love Big Key")});
    auto closedWith = [&](SongPick::Outcome o) {
        return !f.dlg->isVisible() && f.outcome().outcome == o;
    };
    f.dlg->show();
    QVERIFY(QTest::qWaitForWindowExposed(f.dlg.get()));
    f.find()->setText("love me");
    f.click("cmdPickIt");
    QVERIFY(closedWith(SongPick::Picked));
    QCOMPARE(f.outcome().song.Title + ' ' + QString::number(f.outcome().song.Key) + ' ' +
                 f.outcome().song.Artist + ' ' + f.outcome().song.Length,
             QString("Love Me Tender 1 Elvis Presley 2:41"));
    for (const auto& [button, answer] :
         {std::pair{"cmdQuit", SongPick::NotPicked}, std::pair{"cmdCustom", SongPick::CantFind}}) {
        f.dlg->show();
        f.click(button);
        QVERIFY(closedWith(answer));
    }

    // A double-click picks, unless the press before it was made with the right button.
    f.dlg->show();
    f.find()->setText("love big");
    QWidget* view = f.grid()->viewport();
    const QPoint at = f.grid()->visualRect(f.dlg->model()->index(0, 1)).center();
    QTest::mouseClick(view, Qt::RightButton, {}, at);
    QTest::mouseDClick(view, Qt::LeftButton, {}, at);
    QVERIFY(f.dlg->isVisible());
    QCOMPARE(f.outcome().outcome, SongPick::CantFind); // as left before
    QTest::mouseClick(view, Qt::LeftButton, {}, at);
    QTest::mouseDClick(view, Qt::LeftButton, {}, at);
    QVERIFY(closedWith(SongPick::Picked));
    QCOMPARE(f.outcome().song.Title + ' ' + QString::number(f.outcome().song.Key),
             QString("Love Big Key 0"));

    // Nothing found: Select Song is disabled; Escape outside the search box quits.
    f.dlg->show();
    f.find()->setText("zzz");
    QCOMPARE(f.get<QPushButton>("cmdPickIt")->isEnabled(), false);
    f.click("cmdPickIt");
    QVERIFY(f.dlg->isVisible());
    QCOMPARE(f.outcome().outcome, SongPick::Picked); // as left before
    f.grid()->setFocus();
    QTest::keyClick(f.grid(), Qt::Key_Escape);
    QVERIFY(closedWith(SongPick::NotPicked));
}

void TestSongSel::severalSongsForAList_data()
{
    QTest::addColumn<QList<int>>("rows"); // grid rows selected with Ctrl, "love" found
    QTest::addColumn<int>("room");
    QTest::addColumn<QMessageBox::StandardButton>("answer");
    QTest::addColumn<QList<int>>("picked"); // keys handed back
    QTest::addColumn<int>("messages");
    // "love" finds 1, 2, 4 (titles in order: All You Need Is Love, Endless Love, Love Me
    // Tender); 1 is on the list already, 4 on the other list.
    QTest::newRow("one new") << QList<int>{0} << 5 << QMessageBox::Yes << QList<int>{2} << 0;
    QTest::newRow("repeat adds none") << QList<int>{2} << 5 << QMessageBox::Yes << QList<int>{} << 1;
    QTest::newRow("other list, yes")
        << QList<int>{0, 1, 2} << 5 << QMessageBox::Yes << QList<int>{2, 4} << 1;
    QTest::newRow("other list, no") << QList<int>{0, 1} << 5 << QMessageBox::No << QList<int>{2} << 1;
    QTest::newRow("up to the limit") << QList<int>{0, 1} << 1 << QMessageBox::Yes << QList<int>{2} << 2;
}

void TestSongSel::severalSongsForAList()
{
    QFETCH(QList<int>, rows);
    QFETCH(int, room);
    QFETCH(QMessageBox::StandardButton, answer);
    Fixture f;
    f.root.answer = answer;
    const SongListRequest request{room, {{1, "Love Me Tender", "Elvis Presley", ""}},
                                  {{4, "Endless Love", "Diana Ross", ""}}, "songs not to play"};
    whenModal("frmSongSel", [&](QWidget*) {
        f.find()->setText("love");
        QCOMPARE(f.keys(), QList<int>({2, 4, 1}));
        // The song on the list is marked; the selection is made with Ctrl.
        auto* grid = f.grid();
        const auto* painter = static_cast<SongGridDelegate*>(grid->itemDelegate());
        QCOMPARE(QList<bool>({painter->isMarked(f.dlg->model()->index(0, 1)),
                              painter->isMarked(f.dlg->model()->index(2, 1))}),
                 QList<bool>({false, true}));
        grid->clearSelection();
        for (int r : rows)
            grid->selectionModel()->select(f.dlg->model()->index(r, 0),
                                           QItemSelectionModel::Select | QItemSelectionModel::Rows);
        QTest::keyClick(f.get<QPushButton>("cmdPickIt"), Qt::Key_Return);
        if (f.dlg->isVisible())
            f.click("cmdQuit");
    });
    const SongPick pick = f.dlg->pickFor(nullptr, "Select a song to include", &request);
    QList<int> keys;
    for (const PickedSongRecord& s : pick.songs)
        keys << s.Key;
    QTEST(keys, "picked");
    QTEST(int(f.root.messages.size()), "messages");
}

void TestSongSel::manyRowsCloseBoxAndBrokenCatalogue()
{
    auto title = [](int n) { return QStringLiteral("Song %1").arg(n, 4, 10, QLatin1Char('0')); };
    QList<Song> songs;
    for (int k = 1; k <= 1000; ++k)
        songs << song(k, title(k));
    QMap<QString, QString> settings = kSettings;
    settings["UDFCount"] = "1"; // the index holds the title and the artist only
    Fixture f(settings, songs);
    QCOMPARE(f.get<QLabel>("lblCount")->text(), QString("1000 songs found."));
    SongGridModel* m = f.dlg->model();
    QAbstractItemModelTester tester(m, QAbstractItemModelTester::FailureReportingMode::QtTest);
    // Answered by the index, then by the statement (album titles, not in the index; rare
    // matches sorted rather than found by walking the index): rows read backwards, window by
    // window, come in order. The tester watches the model through the searches.
    for (const SongSearch& s : {search(""), search("ong 02", 0, {}, 0, 2)}) {
        QVERIFY(m->run(s));
        QCOMPARE(m->answeredByIndex(), s.lookIndex == 0);
        const int first = s.lookIndex == 0 ? 1 : 200;
        QCOMPARE(m->rowCount(), s.lookIndex == 0 ? 1000 : 100);
        for (int r = m->rowCount() - 1; r >= 0; --r) // the album: from the catalogue's row
            QCOMPARE(m->field(r, SongGridModel::ColUDF01 + 1).toString(), title(first + r) + " LP");
        QVERIFY(!m->field(m->rowCount(), SongGridModel::ColName).isValid());
    }

    // The wizard builds the dialog once and gives a fresh one after the close box.
    f.dlg.reset();
    ZelWizard& w = *f.wizard;
    auto songDialogs = [] {
        int n = 0;
        for (QWidget* t : QApplication::topLevelWidgets())
            n += t->objectName() == "frmSongSel";
        return n;
    };
    w.preloadSongCatalogue();
    w.preloadSongCatalogue();
    QCOMPARE(songDialogs(), 1); // built once
    QWidget opener;
    QPointer<frmSongSel> first;
    whenModal("frmSongSel", [&](QWidget* dlg) {
        first = static_cast<frmSongSel*>(dlg);
        QCOMPARE(dlg->parentWidget(), &opener);
        child<QLineEdit>(dlg, "txtFind")->setText("love");
        dlg->close();
    });
    QCOMPARE(w.pickSong(&opener, "Select a song to exclude").outcome, SongPick::NotPicked);
    QVERIFY(first);
    QVERIFY(first->wasClosed());
    QCOMPARE(first->parentWidget(), nullptr);
    whenModal("frmSongSel", [&](QWidget* dlg) {
        QVERIFY(child<QLineEdit>(dlg, "txtFind")->text().isEmpty()); // a fresh instance
        dlg->close();
    });
    w.pickSong(&opener, "Select a song to exclude");
    QCOMPARE(songDialogs(), 1);

    // A catalogue without the MUSIC table the dialog searches, and none at all, never end the
    // program.
    execOn(PathMap::catalogue(), {"DROP TABLE MUSIC"});
    frmSongSel dlg(f.wizard->state(), f.wizard->items(), PathMap::catalogue());
    QCOMPARE(child<QLabel>(&dlg, "lblCount")->text(), QString("NO SONGS FOUND"));
    QVERIFY(!child<QLabel>(&dlg, "lblCount")->toolTip().isEmpty());
    QCOMPARE(dlg.LastQuery(), QString());
    // Searches the catalogue answers wait for the changes already made: only the last runs.
    QTest::keyClicks(child<QLineEdit>(&dlg, "txtFind"), "lo");
    QTRY_COMPARE(dlg.model()->searches(), 2); // at once, each key would have run one
    child<QPushButton>(&dlg, "cmdPickIt")->click();
    frmSongSel none(f.wizard->state(), f.wizard->items(), f.root.path() + "/nowhere.mdb");
    QCOMPARE(none.resultRows(), 0);
    QVERIFY(f.root.messages.isEmpty());
    QVERIFY(!f.root.programEnded());
}

QTEST_MAIN(TestSongSel)
#include "test_songsel.moc"
