#include "TestSupport.h"

#include "platform/PathMap.h"
#include "songs/CatalogueSettings.h"
#include "songs/FrmInput.h"
#include "songs/SongGridModel.h"
#include "songs/SongQuery.h"
#include "songs/frmSongSel.h"
#include "store/SqlConnection.h"
#include "wizard/Wizard.h"
#include "wizard/WizardPage.h"

#include <QAbstractItemModelTester>
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSqlError>
#include <QSqlQuery>
#include <QTableView>
#include <QToolButton>
#include <QtTest>

using Song = QMap<QString, QVariant>;

namespace
{
// Runs statements on a database file through a plain connection of its own.
void execOn(const QString& file, const QStringList& statements, const QVariantList& values = {})
{
    {
        QSqlDatabase db = QSqlDatabase::addDatabase("QSQLITE", "test-raw");
        db.setDatabaseName(file);
        QVERIFY(db.open());
        QSqlQuery q(db);
        for (const QString& st : statements) {
            QVERIFY(q.prepare(st));
            if (st.contains('?'))
                q.addBindValue(values.value(0));
            QVERIFY2(q.exec(), qPrintable(q.lastError().text()));
        }
        db.close();
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

// Twelve songs, names differing in case only where the test says so.
QList<Song> kSongs()
{
    return {song(1, "Love Me Tender", "2", "1", "0", "Elvis Presley", "2:41"),
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
}

struct Fixture {
    TestRoot root;
    std::unique_ptr<Wizard> wizard;
    std::unique_ptr<frmSongSel> dlg;
    explicit Fixture(const QMap<QString, QString>& settings = kSettings,
                     const QList<Song>& songs = kSongs())
    {
        root.writeCatalogue(settings, songs);
        wizard = std::make_unique<Wizard>();
        if (!wizard->start())
            qFatal("the wizard did not start");
        dlg = std::make_unique<frmSongSel>(wizard->state(), wizard->items(), PathMap::catalogue());
    }
    template <class T> T* get(const QString& name) { return dlg->findChild<T*>(name); }
    QLineEdit* find() { return get<QLineEdit>("txtFind"); }
    QLabel* count() { return get<QLabel>("lblCount"); }
    QTableView* grid() { return get<QTableView>("dbgSongList"); }
    QPushButton* cat(int i) { return get<QPushButton>(QStringLiteral("cmdCat_%1").arg(i)); }
    WizardState& state() { return wizard->state(); }
    // The dbKeys of the grid's rows, in order.
    QList<int> keys()
    {
        QList<int> k;
        for (int r = 0; r < dlg->model()->rowCount(); ++r)
            k << dlg->model()->field(r, SongGridModel::ColKey).toInt();
        return k;
    }
    QString cell(int row, int column) { return dlg->model()->index(row, column).data().toString(); }
};
} // namespace

class TestSongSel : public QObject
{
    Q_OBJECT
  private slots:
    void settingsDefaults();
    void settingsReadingRules_data();
    void settingsReadingRules();
    void categoryButtons();
    void statementText();
    void boundStatementMatchesStatementText();
    void hostileSearchTextIsSearchedLiterally_data();
    void hostileSearchTextIsSearchedLiterally();
    void countsAndColours();
    void keyFilterAndClear();
    void categoriesTypesAndSubTypes();
    void gridColumnsAndDisplayRule();
    void pickQuitAndCustom();
    void doubleClickPicksButNotAfterRightPress();
    void reopeningDoesNotQueryAgain();
    void closeBoxGivesFreshInstance();
    void songKeysThatDoNotFit();
    void manyRowsAreReadLazily();
    void brokenCatalogueNeverStopsTheProgram();
    void welcomeNextBuildsTheDialogOnce();
    void userFieldPicker();
    void userFieldPickerFromTheSearchBox();
};

void TestSongSel::settingsDefaults()
{
    Fixture f({}, {});
    const CatalogueSettings& s = f.dlg->settings();
    QCOMPARE(s.TypeCount, qint16(1));
    QCOMPARE(s.TypeNames[0], QString("All"));
    QCOMPARE(s.TypeNames[1], QString("Type 1"));
    QCOMPARE(s.TypeNames[9], QString("Type 9"));
    QVERIFY(!s.SubTypesOn);
    QCOMPARE(s.SubTypeCount, qint16(0));
    QCOMPARE(s.UserFieldCount, qint16(0));
    QCOMPARE(s.UserFieldNames[1], QString("User 1"));
    QCOMPARE(s.UserFieldNames[9], QString("User 9"));
    QString codes;
    for (int j = 0; j < 15; ++j) {
        QVERIFY(!s.Categories[j].On);
        QCOMPARE(s.Categories[j].Name, QString("Category %1").arg(j + 1));
        codes += s.Categories[j].Code;
    }
    QCOMPARE(codes, QString("0123456789ABCDE"));
    auto* types = f.get<QComboBox>("cbTypes");
    QCOMPARE(types->count(), 2);
    QCOMPARE(types->itemText(1), QString("Type 1"));
    QCOMPARE(f.get<QComboBox>("cbLook")->count(), 1);
    QCOMPARE(f.get<QComboBox>("cbSubTypes")->count(), 1);
    QCOMPARE(f.count()->text(), QString("NO SONGS FOUND"));
}

void TestSongSel::settingsReadingRules_data()
{
    QTest::addColumn<QString>("totalTypes");
    QTest::addColumn<QString>("subTypesOn");
    QTest::addColumn<QString>("subTypeCount");
    QTest::addColumn<QString>("udfCount");
    QTest::addColumn<int>("types");
    QTest::addColumn<int>("subTypes");
    QTest::addColumn<int>("userFields");
    QTest::newRow("plain") << "4"
                           << "True"
                           << "3"
                           << "2" << 4 << 3 << 2;
    QTest::newRow("above nine held to nine") << "12"
                                             << "true"
                                             << "40"
                                             << "99" << 9 << 9 << 9;
    QTest::newRow("negative held to zero") << "-3"
                                           << "1"
                                           << "-1"
                                           << "-7" << 0 << 0 << 0;
    QTest::newRow("leading number, rounded") << "2.5 types"
                                             << "-1"
                                             << "3.6"
                                             << " 1x" << 2 << 4 << 1;
    QTest::newRow("no number") << "many"
                               << "FALSE"
                               << "3"
                               << "" << 0 << 0 << 0;
    QTest::newRow("flag neither word nor number") << "1"
                                                  << "yes"
                                                  << "3"
                                                  << "0" << 1 << 0 << 0;
    QTest::newRow("flag zero") << "1"
                               << "0"
                               << "3"
                               << "0" << 1 << 0 << 0;
    QTest::newRow("huge") << "1e9"
                          << "True"
                          << "99999999"
                          << "32768" << 9 << 9 << 9;
}

void TestSongSel::settingsReadingRules()
{
    QFETCH(QString, totalTypes);
    QFETCH(QString, subTypesOn);
    QFETCH(QString, subTypeCount);
    QFETCH(QString, udfCount);
    QFETCH(int, types);
    QFETCH(int, subTypes);
    QFETCH(int, userFields);
    Fixture f({{"TotalTypes", totalTypes},
               {"SType1", subTypesOn},
               {"SType1Count", subTypeCount},
               {"UDFCount", udfCount},
               {"SType11", "Waltz"},
               {"SType12", "Tango"}},
              {});
    const CatalogueSettings& s = f.dlg->settings();
    QCOMPARE(int(s.TypeCount), types);
    QCOMPARE(int(s.SubTypeCount), subTypes);
    QCOMPARE(int(s.UserFieldCount), userFields);
    QCOMPARE(f.get<QComboBox>("cbTypes")->count(), types + 1);
    QCOMPARE(f.get<QComboBox>("cbSubTypes")->count(), subTypes + 1);
    QCOMPARE(f.get<QComboBox>("cbLook")->count(), userFields + 1);
    if (subTypes >= 3) {
        QCOMPARE(f.get<QComboBox>("cbSubTypes")->itemText(1), QString("Waltz"));
        QCOMPARE(f.get<QComboBox>("cbSubTypes")->itemText(2), QString("Tango"));
        QCOMPARE(f.get<QComboBox>("cbSubTypes")->itemText(3), QString("-")); // its default
    }
    // Sub-type names are read only as far as the count goes.
    for (int n = subTypes + 1; n <= 9; ++n)
        QVERIFY(s.SubTypeNames[n].isEmpty());
}

void TestSongSel::categoryButtons()
{
    Fixture f;
    QVERIFY(f.cat(0));
    QVERIFY(f.cat(0)->isHidden());
    QCOMPARE(f.cat(1)->text(), QString("Dance"));
    QVERIFY(f.cat(1)->isEnabled());
    QVERIFY(f.cat(1)->isCheckable());
    QCOMPARE(f.cat(1)->property("code").toString(), QString("0"));
    QCOMPARE(f.cat(3)->text(), QString("Oldies"));
    QCOMPARE(f.cat(3)->property("code").toString(), QString("2"));
    for (int i : {2, 4, 11, 15}) {
        QVERIFY(!f.cat(i)->isEnabled());
        QVERIFY(f.cat(i)->text().isEmpty());
        QVERIFY(f.cat(i)->property("code").toString().isEmpty());
    }
    // Five buttons a row, three rows, in order.
    f.dlg->show();
    QCOMPARE(f.cat(2)->y(), f.cat(1)->y());
    QVERIFY(f.cat(2)->x() > f.cat(1)->x());
    QVERIFY(f.cat(6)->y() > f.cat(5)->y());
    QCOMPARE(f.cat(6)->x(), f.cat(1)->x());
    QVERIFY(f.cat(11)->y() > f.cat(6)->y());
    // The last category code is E.
    Fixture g({{"MATRIX14", "+Last"}}, {});
    QCOMPARE(g.cat(15)->property("code").toString(), QString("E"));
    QCOMPARE(g.cat(15)->text(), QString("Last"));
}

void TestSongSel::statementText()
{
    SongSearch s;
    s.findText = "love";
    s.typeIndex = 2;
    s.typeName = "Rock";
    s.categoryCodes = {"0", "2"};
    QCOMPARE(SongQuery::statementText(s),
             QString("SELECT * from MUSIC WHERE Name LIKE \"%love%\" AND (1 AND  (matrix LIKE "
                     "'%0%')  AND  (matrix LIKE '%2%') )  AND (TYPE =\"Rock\" OR type=\"2\")  "
                     "ORDER BY name"));

    QCOMPARE(SongQuery::statementText({}),
             QString("SELECT * from MUSIC WHERE Name LIKE \"%%\" ORDER BY name"));

    SongSearch udf;
    udf.lookIndex = 3;
    udf.findText = "x";
    QCOMPARE(SongQuery::statementText(udf),
             QString("SELECT * from MUSIC WHERE UDF03 LIKE \"%x%\" ORDER BY UDF03 , name"));

    SongSearch sub; // a sub-type with type "All"
    sub.subTypeIndex = 1;
    sub.subTypeText = "Slow";
    QCOMPARE(SongQuery::statementText(sub),
             QString("SELECT * from MUSIC WHERE Name LIKE \"%%\" AND (Stype1 =\"Slow\" OR "
                     "Stype1=\"1\")  ORDER BY name"));

    // The dialog builds the same text from its controls.
    Fixture f;
    f.find()->setText("love");
    f.get<QComboBox>("cbTypes")->setCurrentIndex(2);
    f.cat(1)->click();
    f.cat(3)->click();
    QCOMPARE(f.dlg->LastQuery(), SongQuery::statementText(s));
}

void TestSongSel::boundStatementMatchesStatementText()
{
    Fixture f;
    SqlConnection conn(PathMap::catalogue(), SqlConnection::ReadOnly);
    QList<SongSearch> searches;
    SongSearch s;
    searches << s;
    s.findText = "love";
    searches << s;
    s.typeIndex = 2;
    s.typeName = "Rock";
    searches << s;
    s.categoryCodes = {"0"};
    searches << s;
    s = {};
    s.subTypeIndex = 2;
    s.subTypeText = "Fast";
    s.categoryCodes = {"2"};
    searches << s;
    s = {};
    s.lookIndex = 1;
    s.findText = "ed";
    searches << s;
    s.findText = "o_e";
    searches << s;
    for (const SongSearch& search : searches) {
        QSqlQuery text(conn.database());
        QVERIFY2(text.exec(SongQuery::statementText(search)), qPrintable(text.lastError().text()));
        QSet<int> expected;
        while (text.next())
            expected << text.value("dbKey").toInt();
        QSqlQuery bound(conn.database());
        const SongQuery::Bound b = SongQuery::bound(search);
        QVERIFY(bound.prepare(b.selectText()));
        for (int i = 0; i < b.values.size(); ++i)
            bound.bindValue(i, b.values[i]);
        QVERIFY(bound.exec());
        QSet<int> got;
        while (bound.next())
            got << bound.value("dbKey").toInt();
        QCOMPARE(got, expected);
        QVERIFY2(!expected.isEmpty() || search.findText == "o_e",
                 qPrintable(SongQuery::statementText(search)));
    }
}

void TestSongSel::hostileSearchTextIsSearchedLiterally_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("paste");
    for (const char* t :
         {"\"", "|", "--", ";", "' OR 1=1", "\" OR 1=1 --", "'); DROP TABLE MUSIC; --", "[mix]",
          "[a-z]", "it's", "\"live\" |", "\\", "?", ":name"}) {
        QTest::newRow((QByteArray("set ") + t).constData()) << QString(t) << false;
        QTest::newRow((QByteArray("pasted ") + t).constData()) << QString(t) << true;
    }
    QTest::newRow("very long") << QString(5000, QChar('q')) << true;
}

void TestSongSel::hostileSearchTextIsSearchedLiterally()
{
    QFETCH(QString, text);
    QFETCH(bool, paste);
    Fixture f;
    if (paste) {
        QApplication::clipboard()->setText(text);
        f.find()->setFocus();
        f.find()->paste();
    } else {
        f.find()->setText(text);
    }
    const QString searched = f.find()->text();
    QVERIFY(text.startsWith(searched));
    QVERIFY(!searched.isEmpty());
    QVERIFY2(f.count()->toolTip().isEmpty(), qPrintable(f.count()->toolTip())); // no error
    QList<int> expected;
    for (const Song& s : kSongs())
        if (s["Name"].toString().contains(searched, Qt::CaseInsensitive))
            expected << s["dbKey"].toInt();
    QList<int> got = f.keys();
    std::sort(got.begin(), got.end());
    QCOMPARE(got, expected);
    QCOMPARE(f.dlg->LastQuery(), SongQuery::statementText(f.dlg->currentSearch()));
    // The catalogue is untouched.
    f.find()->clear();
    QCOMPARE(f.dlg->resultRows(), kSongs().size());
}

void TestSongSel::countsAndColours()
{
    Fixture f;
    QCOMPARE(f.count()->text(), QString("12 songs found."));
    QCOMPARE(f.count()->palette().color(QPalette::WindowText), QColor(Qt::black));
    f.find()->setText("zzz");
    QCOMPARE(f.count()->text(), QString("NO SONGS FOUND"));
    QCOMPARE(f.count()->palette().color(QPalette::WindowText), QColor(255, 0, 0));
    QVERIFY(f.get<QLabel>("lblSelect1")->text().isEmpty());
    f.find()->setText("shout");
    QCOMPARE(f.count()->text(), QString("1 song found."));
    QCOMPARE(f.count()->palette().color(QPalette::WindowText), QColor(Qt::black));
    QCOMPARE(f.get<QLabel>("lblSelect1")->text(), QString("Shout"));
    // % and _ act as patterns.
    f.find()->setText("%");
    QCOMPARE(f.dlg->resultRows(), 12);
    f.find()->setText("o_e");
    QCOMPARE(f.keys(), QList<int>({2, 4, 1, 12})); // sorted by name, letter case ignored
}

void TestSongSel::keyFilterAndClear()
{
    Fixture f;
    f.dlg->show();
    QVERIFY(QTest::qWaitForWindowExposed(f.dlg.get()));
    f.find()->setFocus();
    QTest::keyClicks(f.find(), "lo\"v|e");
    QCOMPARE(f.find()->text(), QString("love"));
    QCOMPARE(f.dlg->resultRows(), 3);
    f.get<QComboBox>("cbTypes")->setCurrentIndex(2);
    QTest::keyClick(f.find(), Qt::Key_Escape);
    QVERIFY(f.find()->text().isEmpty());
    QVERIFY(f.dlg->isVisible()); // Escape in the box clears, it does not quit
    QCOMPARE(f.get<QComboBox>("cbTypes")->currentIndex(), 2); // lists stay
    QCOMPARE(f.dlg->LastQuery(), SongQuery::statementText(f.dlg->currentSearch()));
    f.find()->setText("abc");
    f.get<QToolButton>("cmdClear")->click();
    QVERIFY(f.find()->text().isEmpty());
    QVERIFY(f.find()->hasFocus());
}

void TestSongSel::categoriesTypesAndSubTypes()
{
    Fixture f;
    f.cat(1)->click(); // code 0
    QCOMPARE(f.keys(), QList<int>({2, 4, 1, 8, 5}));
    const QString one = f.dlg->LastQuery();
    f.cat(3)->click(); // and code 2
    QCOMPARE(f.keys(), QList<int>({2, 5}));
    f.cat(1)->click(); // only code 2 now: a new statement, searched again
    QCOMPARE(f.keys(), QList<int>({2, 3, 10, 5, 9}));
    f.cat(3)->click();
    QCOMPARE(f.dlg->resultRows(), 12);
    QVERIFY(one != f.dlg->LastQuery());

    auto* types = f.get<QComboBox>("cbTypes");
    types->setCurrentIndex(2); // Rock: its name or its number
    QCOMPARE(f.keys(), QList<int>({2, 4, 1, 10}));
    auto* subs = f.get<QComboBox>("cbSubTypes");
    subs->setCurrentIndex(1); // Slow: name or 1
    QCOMPARE(f.keys(), QList<int>({2, 1}));
    types->setCurrentIndex(0); // a sub-type alone
    subs->setCurrentIndex(2);
    QCOMPARE(f.keys(), QList<int>({3, 10}));

    auto* look = f.get<QComboBox>("cbLook");
    subs->setCurrentIndex(0);
    look->setCurrentIndex(1);
    f.find()->setText("ed sh");
    QVERIFY(f.dlg->LastQuery().endsWith(" ORDER BY UDF01 , name"));
    QCOMPARE(f.keys(), QList<int>({7, 8}));
}

void TestSongSel::gridColumnsAndDisplayRule()
{
    Fixture f;
    QTableView* grid = f.grid();
    auto shown = [&] {
        QStringList s;
        for (int c = 0; c < 16; ++c)
            if (!grid->isColumnHidden(c))
                s << f.dlg->model()->headerData(c, Qt::Horizontal).toString();
        return s;
    };
    const QStringList expected{"Name", "Type", "SType1", "Time", "Artist", "Album"};
    QCOMPARE(shown(), expected);
    QCOMPARE(f.dlg->model()->headerData(0, Qt::Horizontal).toString(), QString("dbKey"));
    QCOMPARE(f.dlg->model()->headerData(9, Qt::Horizontal).toString(), QString("User 3"));
    f.find()->setText("e");
    f.find()->setText("");
    QCOMPARE(shown(), expected); // searching keeps the columns as they were set up

    QHash<int, int> rowOf;
    const QList<int> keys = f.keys();
    for (int r = 0; r < keys.size(); ++r)
        rowOf[keys[r]] = r;
    QCOMPARE(f.cell(rowOf[1], SongGridModel::ColType), QString("Rock"));
    QCOMPARE(f.cell(rowOf[1], SongGridModel::ColSType1), QString("Slow"));
    QCOMPARE(f.cell(rowOf[3], SongGridModel::ColSType1), QString("Fast"));
    QCOMPARE(f.cell(rowOf[4], SongGridModel::ColSType1), QString()); // 5: no name loaded
    QCOMPARE(f.cell(rowOf[5], SongGridModel::ColType), QString("12"));
    QCOMPARE(f.cell(rowOf[6], SongGridModel::ColType), QString("Jazz"));
    QCOMPARE(f.cell(rowOf[7], SongGridModel::ColType), QString("Type 3"));
    QCOMPARE(f.cell(rowOf[2], SongGridModel::ColType), QString("Rock"));
    QCOMPARE(f.dlg->model()->index(0, SongGridModel::ColTime).data(Qt::TextAlignmentRole).toInt(),
             int(Qt::AlignCenter));

    QAbstractItemModelTester tester(f.dlg->model(),
                                    QAbstractItemModelTester::FailureReportingMode::QtTest);
    f.find()->setText("love");
    f.find()->setText("zzz");
    f.find()->setText("");
}

void TestSongSel::pickQuitAndCustom()
{
    Fixture f;
    WizardState& st = f.state();
    f.dlg->show();
    f.find()->setText("love me");
    st.QueryAnswer = 0;
    f.get<QPushButton>("cmdPickIt")->click();
    QCOMPARE(st.QueryAnswer, std::optional<qint16>(1));
    QVERIFY(!f.dlg->isVisible());
    QCOMPARE(st.PickedSong.Key, qint16(1));
    QCOMPARE(st.PickedSong.Title, QString("Love Me Tender"));
    QCOMPARE(st.PickedSong.Artist, QString("Elvis Presley"));
    QCOMPARE(st.PickedSong.Length, QString("2:41"));

    f.dlg->show();
    f.get<QPushButton>("cmdQuit")->click();
    QCOMPARE(st.QueryAnswer, std::optional<qint16>(0));
    QCOMPARE(st.PickedSong.Title, QString("Love Me Tender"));

    f.dlg->show();
    f.get<QPushButton>("cmdCustom")->click();
    QCOMPARE(st.QueryAnswer, std::optional<qint16>(-2));
    QVERIFY(!f.dlg->isVisible());

    // Nothing found: Select Song does nothing.
    f.dlg->show();
    f.find()->setText("zzz");
    st.QueryAnswer = 0;
    st.PickedSong = {};
    f.get<QPushButton>("cmdPickIt")->click();
    QVERIFY(f.dlg->isVisible());
    QCOMPARE(st.QueryAnswer, std::optional<qint16>(0));
    QVERIFY(st.PickedSong.Title.isEmpty());
    // Escape outside the search box quits.
    f.grid()->setFocus();
    QTest::keyClick(f.grid(), Qt::Key_Escape);
    QVERIFY(!f.dlg->isVisible());
}

void TestSongSel::doubleClickPicksButNotAfterRightPress()
{
    Fixture f;
    WizardState& st = f.state();
    f.dlg->show();
    QVERIFY(QTest::qWaitForWindowExposed(f.dlg.get()));
    QTableView* grid = f.grid();
    const QPoint third =
        grid->visualRect(f.dlg->model()->index(2, SongGridModel::ColName)).center();
    st.QueryAnswer = 0;
    QTest::mouseClick(grid->viewport(), Qt::RightButton, {}, third);
    QTest::mouseDClick(grid->viewport(), Qt::LeftButton, {}, third);
    QVERIFY(f.dlg->isVisible());
    QCOMPARE(st.QueryAnswer, std::optional<qint16>(0));

    // A double-click whose first press was made with the left button picks.
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, third);
    QTest::mouseDClick(grid->viewport(), Qt::LeftButton, {}, third);
    QVERIFY(!f.dlg->isVisible());
    QCOMPARE(st.QueryAnswer, std::optional<qint16>(1));
    QCOMPARE(st.PickedSong.Title, f.cell(2, SongGridModel::ColName));
    QCOMPARE(f.get<QLabel>("lblSelect1")->text(), st.PickedSong.Title);
}

void TestSongSel::reopeningDoesNotQueryAgain()
{
    Fixture f;
    QCOMPARE(f.dlg->model()->searches(), 1); // the load's search, once
    f.find()->setText("love");
    f.cat(1)->click();
    const int searches = f.dlg->model()->searches();
    const QString last = f.dlg->LastQuery();
    f.grid()->setCurrentIndex(f.dlg->model()->index(1, SongGridModel::ColName));
    f.get<QPushButton>("cmdQuit")->click();
    f.dlg->show();
    QCOMPARE(f.dlg->model()->searches(), searches);
    QCOMPARE(f.dlg->LastQuery(), last);
    QCOMPARE(f.find()->text(), QString("love"));
    QVERIFY(f.cat(1)->isChecked());
    QCOMPARE(f.grid()->currentIndex().row(), 1);
    // The same statement again is not sent either.
    f.find()->setText("love!");
    f.find()->setText("love");
    QCOMPARE(f.dlg->model()->searches(), searches + 2);
    f.find()->setText("love");
    QCOMPARE(f.dlg->model()->searches(), searches + 2);
}

void TestSongSel::closeBoxGivesFreshInstance()
{
    TestRoot root;
    root.writeCatalogue(kSettings, kSongs());
    Wizard w;
    QVERIFY(w.start());
    w.preloadSongCatalogue();
    QWidget opener;
    opener.setObjectName("Menu9");
    w.state().PickedSong.Title = "Kept";
    frmSongSel* first = nullptr;
    whenModal("frmSongSel", [&](QWidget* dlg) {
        first = static_cast<frmSongSel*>(dlg);
        QCOMPARE(dlg->windowTitle(), QString("Select a song to exclude"));
        QCOMPARE(dlg->parentWidget(), &opener);
        dlg->findChild<QLineEdit*>("txtFind")->setText("love");
        dlg->close();
    });
    w.state().QueryAnswer = 5;
    w.pickSong(&opener);
    QCOMPARE(w.state().QueryAnswer, std::optional<qint16>(0)); // as the contract set it
    QCOMPARE(w.state().PickedSong.Title, QString("Kept"));
    QVERIFY(first && first->wasClosed());
    QVERIFY(first->parentWidget() == nullptr);

    opener.setObjectName("frmActivity");
    whenModal("frmSongSel", [&](QWidget* dlg) {
        QCOMPARE(dlg->windowTitle(), QString("Select a song for your activity"));
        QVERIFY(dlg->findChild<QLineEdit*>("txtFind")->text().isEmpty()); // fresh instance
        dlg->findChild<QPushButton*>("cmdCustom")->click();
    });
    w.pickSong(&opener);
    QCOMPARE(w.state().QueryAnswer, std::optional<qint16>(-2));
}

void TestSongSel::songKeysThatDoNotFit()
{
    QCOMPARE(frmSongSel::songKeyOf(5), qint16(5));
    QCOMPARE(frmSongSel::songKeyOf(32767), qint16(32767));
    QCOMPARE(frmSongSel::songKeyOf(32768), qint16(0));
    QCOMPARE(frmSongSel::songKeyOf(98304 + 5), qint16(0)); // never another song's key
    QCOMPARE(frmSongSel::songKeyOf(-2), qint16(0));        // never a custom song's marker
    QCOMPARE(frmSongSel::songKeyOf(0), qint16(0));
    QCOMPARE(frmSongSel::songKeyOf(QVariant()), qint16(0));
    QCOMPARE(frmSongSel::songKeyOf("abc"), qint16(0));

    Fixture f(kSettings, {song(70000, "Big Key"), song(3, "Small Key")});
    f.find()->setText("big");
    f.get<QPushButton>("cmdPickIt")->click();
    QCOMPARE(f.state().QueryAnswer, std::optional<qint16>(1));
    QCOMPARE(f.state().PickedSong.Key, qint16(0));
    QCOMPARE(f.state().PickedSong.Title, QString("Big Key"));
}

void TestSongSel::manyRowsAreReadLazily()
{
    QList<Song> songs;
    for (int k = 1; k <= 1000; ++k)
        songs << song(k, QStringLiteral("Song %1").arg(k, 4, 10, QLatin1Char('0')));
    Fixture f(kSettings, songs);
    QCOMPARE(f.count()->text(), QString("1000 songs found."));
    QAbstractItemModelTester tester(f.dlg->model(),
                                    QAbstractItemModelTester::FailureReportingMode::QtTest);
    // Rows far apart come from different windows, in order, none twice.
    SongGridModel* m = f.dlg->model();
    QCOMPARE(m->field(0, SongGridModel::ColName).toString(), QString("Song 0001"));
    QCOMPARE(m->field(999, SongGridModel::ColName).toString(), QString("Song 1000"));
    QCOMPARE(m->field(500, SongGridModel::ColName).toString(), QString("Song 0501"));
    QSet<int> seen;
    for (int r = 999; r >= 0; --r)
        seen << m->field(r, SongGridModel::ColKey).toInt();
    QCOMPARE(seen.size(), 1000);
    QVERIFY(!m->field(1000, SongGridModel::ColName).isValid());
    f.grid()->scrollToBottom();
    f.grid()->setCurrentIndex(m->index(998, SongGridModel::ColName));
    QCOMPARE(f.get<QLabel>("lblSelect1")->text(), QString("Song 0999"));
    // Rare matches are read by sorting them rather than by walking the index: same rows,
    // same order.
    f.find()->setText("ong 02");
    QCOMPARE(m->rowCount(), 100);
    for (int r = 0; r < 100; ++r)
        QCOMPARE(m->field(r, SongGridModel::ColName).toString(),
                 QStringLiteral("Song %1").arg(200 + r, 4, 10, QLatin1Char('0')));
}

void TestSongSel::brokenCatalogueNeverStopsTheProgram()
{
    Fixture f(kSettings, {song(1, "Only")});
    // A catalogue without the MUSIC table the dialog searches.
    f.dlg.reset();
    execOn(PathMap::catalogue(), {"DROP TABLE MUSIC"});
    frmSongSel dlg(f.state(), f.wizard->items(), PathMap::catalogue());
    QCOMPARE(dlg.findChild<QLabel*>("lblCount")->text(), QString("NO SONGS FOUND"));
    QVERIFY(!dlg.findChild<QLabel*>("lblCount")->toolTip().isEmpty());
    QVERIFY(dlg.LastQuery().isEmpty());
    dlg.findChild<QPushButton*>("cmdPickIt")->click();
    QVERIFY(!f.root.programEnded());
    // A catalogue file that is missing altogether.
    frmSongSel none(f.state(), f.wizard->items(), f.root.path() + "/nowhere.mdb");
    QCOMPARE(none.resultRows(), 0);
    QVERIFY(f.root.messages.isEmpty());
}

void TestSongSel::welcomeNextBuildsTheDialogOnce()
{
    TestRoot root;
    root.writeCatalogue(kSettings, kSongs());
    Wizard w;
    QVERIFY(w.start());
    auto dialogs = [] {
        int n = 0;
        for (QWidget* t : QApplication::topLevelWidgets())
            n += t->objectName() == "frmSongSel";
        return n;
    };
    QCOMPARE(dialogs(), 0);
    w.page(0)->show();
    w.page(0)->findChild<QPushButton*>("cmdNext")->click();
    QCOMPARE(dialogs(), 1);
    w.preloadSongCatalogue();
    QCOMPARE(dialogs(), 1);
    QWidget opener;
    opener.setObjectName("Menu8");
    whenModal("frmSongSel", [](QWidget* dlg) {
        QCOMPARE(dlg->windowTitle(), QString("Select a song to include"));
        QCOMPARE(dlg->findChild<QLabel*>("lblCount")->text(), QString("12 songs found."));
        dlg->findChild<QPushButton*>("cmdPickIt")->click();
    });
    w.pickSong(&opener);
    QCOMPARE(w.state().QueryAnswer, std::optional<qint16>(1));
    QCOMPARE(w.state().PickedSong.Title, QString("All You Need Is Love"));
    QCOMPARE(dialogs(), 1);
}

namespace
{
void writeMusicDatabase(const QStringList& udf03)
{
    QDir().mkpath(QFileInfo(PathMap::musicDatabase()).path());
    QStringList cols{"id INTEGER PRIMARY KEY"};
    for (int i = 1; i <= 9; ++i)
        cols << QStringLiteral("udf%1 TEXT").arg(i, 2, 10, QLatin1Char('0'));
    execOn(PathMap::musicDatabase(), {"CREATE TABLE music (" + cols.join(',') + ")"});
    for (const QString& v : udf03)
        execOn(PathMap::musicDatabase(), {"INSERT INTO music (udf01, udf03) VALUES ('x', ?)"},
               {v.isNull() ? QVariant() : QVariant(v)});
}
} // namespace

void TestSongSel::userFieldPicker()
{
    TestRoot root;
    writeMusicDatabase({"beta", "Alpha", "beta", "", "   ", QString(), "gamma", "alpha"});
    WizardState state;
    FrmInput dlg(state);
    qint16 index = 3;
    dlg.FillDropDowns(index);
    QCOMPARE(dlg.statement(),
             QString("SELECT udf03 FROM music WHERE udf03 > ' ' GROUP BY udf03 ORDER BY udf03"));
    QCOMPARE(dlg.values(), QStringList({"Alpha", "alpha", "beta", "gamma"}));
    index = 1;
    dlg.FillDropDowns(index);
    QCOMPARE(dlg.values(), QStringList({"x"}));
    index = 12;
    dlg.FillDropDowns(index);
    QVERIFY(dlg.values().isEmpty());

    index = 3;
    dlg.FillDropDowns(index);
    dlg.show();
    dlg.findChild<QComboBox*>("ComboUser1")->setCurrentIndex(2);
    dlg.findChild<QPushButton*>("CmdOK")->click();
    QCOMPARE(state.QueryAnswer, std::optional<qint16>(1));
    QCOMPARE(dlg.value(), QString("beta"));
    dlg.show();
    dlg.findChild<QPushButton*>("CmdCancel")->click();
    QCOMPARE(state.QueryAnswer, std::optional<qint16>(0));
}

void TestSongSel::userFieldPickerFromTheSearchBox()
{
    Fixture f;
    auto* pickValue = f.get<QToolButton>("cmdPickValue");
    f.dlg->show();
    QVERIFY(!pickValue->isVisible()); // only for a user field
    f.get<QComboBox>("cbLook")->setCurrentIndex(1);
    QVERIFY(pickValue->isVisible());
    QVERIFY(!pickValue->isEnabled()); // no music database here
    writeMusicDatabase({"Ed Sheeran", "Queen"});
    f.get<QComboBox>("cbLook")->setCurrentIndex(0);
    f.get<QComboBox>("cbLook")->setCurrentIndex(1);
    QVERIFY(pickValue->isEnabled());
    // The values come from column udf01 of the music database.
    f.state().QueryAnswer = 0;
    whenModal("FrmInput", [](QWidget* dlg) {
        QCOMPARE(dlg->findChild<QComboBox*>("ComboUser1")->count(), 1);
        dlg->findChild<QPushButton*>("CmdOK")->click();
    });
    pickValue->click();
    QCOMPARE(f.find()->text(), QString("x"));
    // The song dialog's opener still finds the answer it set.
    QCOMPARE(f.state().QueryAnswer, std::optional<qint16>(0));
    QVERIFY(f.dlg->isVisible());
}

QTEST_MAIN(TestSongSel)
#include "test_songsel.moc"
