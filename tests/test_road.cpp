// The whole road as a couple walks it: every page answered through its real controls and
// dialogs, the real catalogue searched in the real song-pick dialog, Finish, then the
// program started again on the same files to see every answer come back, and the stored
// forms read straight from the event database.

#include "TestSupport.h"

#include "app/ZelWizard.h"
#include "catalogue/SongGridModel.h"
#include "pages/ScheduleModel.h"
#include "platform/OleDate.h"
#include "platform/PathMap.h"
#include "songs/SongListPage.h"
#include "store/SqlConnection.h"
#include "ui/ProgramEnd.h"
#include "wizard/Wizard.h"
#include "wizard/WizardPage.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDateTimeEdit>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QTableView>
#include <QTextEdit>
#include <QTreeWidget>
#include <QtTest>

namespace
{

// ---- what the couple answers -------------------------------------------------------------

struct Person {
    QString name, age, pronounce, address, phone[3], kind[3], email;
};
const Person kBride{"Anna Lee",
                    "29",
                    "AH-na",
                    "12 Elm St\nSpringfield",
                    {"555-0101", "555-0102", ""},
                    {"home", "cell", "other"},
                    "anna@example.com"};
const Person kGroom{"Ben Ross",
                    "31",
                    "",
                    "7 Oak Ave\nShelbyville",
                    {"", "555-0202", "555-0203"},
                    {"home", "cell", "work"},
                    "ben@example.com"};

struct Facility {
    QString name, address, contact, phone, kind, directions;
};
const Facility kFacility{"Lakeside Inn", "4 Shore Road\nLakeside",
                         "Dana Park",    "555-0400",
                         "events",       "Take exit 12.\nSecond left after the bridge."};
const QString kGuests = QStringLiteral("about 120");
const QTime kStart(17, 30);
const QTime kEnd(23, 0);

const QString kHotNotes = QStringLiteral("No line dances, please.\nAnnounce the cake cutting.");

// A row of the bridal party list, in its column order.
const QStringList kMember1{"Carla Diaz", "Matron of Honor", "Evan Diaz",
                           "Best Man",   "CAR-la",          "EH-van"};
const QStringList kMember2{"Lily Ross", "Niece & Flower Girl", "", "", "LIL-ee", ""};

// A song as a list shows it, with its key.
struct Song {
    QString title, artist, length;
    qint16 key = 0; // a catalogue key is read from the catalogue itself
};

// The activities, in the time order the schedule shows them.
struct Activity {
    QTime time;
    QString name, who, notes;
    Song song;
};
const Activity kEntrance{QTime(18, 45), "Bridal Party Introduction", "", "Cue the march.",
                         Song{"Our Family March", "Uncle Tom", "2:50", -3}};
const Activity kFirstDance{QTime(19, 15), "Bridal Dance", "Anna & Ben", "Dim the lights.",
                           Song{"At Last", "Etta James", "3:02"}};

// Music types to avoid (rows of the preference dialog, 0-based) and the radio stations.
const QList<int> kAvoidRows{6, 7, 9}; // Country, Hip Hop/Rap, Ethnic
const QStringList kRadio{"WXYZ 101", "KQRS", "Jazz 88.5"};

const Song kIncludeCustom{"Grandma's Waltz", "Local Band", "3:15", -2};

// ---- finding and working controls ---------------------------------------------------------

void click(QWidget* form, const QString& button)
{
    child<QAbstractButton>(form, button)->click();
}

// Clicks an option button on its indicator (a wide button takes clicks only on its indicator
// and caption).
void choose(QRadioButton* option)
{
    QTest::mouseClick(option, Qt::LeftButton, {}, QPoint(6, option->height() / 2));
}

// Replaces the text of a box by typing, as a user does.
void type(QLineEdit* box, const QString& text)
{
    box->setFocus();
    box->selectAll();
    QTest::keyClick(box, Qt::Key_Backspace);
    QTest::keyClicks(box, text);
}

void type(QWidget* form, const QString& box, const QString& text)
{
    type(child<QLineEdit>(form, box), text);
}

// Compares what the program shows or stored with what the couple entered; a mismatch
// names the page and the answer that was lost.
#define EXPECT_ANSWER(what, shown, entered)                                                        \
    do {                                                                                           \
        if (!QTest::qCompare(QString(shown), QString(entered), qPrintable(what), "entered",        \
                             __FILE__, __LINE__))                                                  \
            return;                                                                                \
    } while (false)

#define EXPECT_COUNT(what, shown, entered)                                                         \
    do {                                                                                           \
        if (!QTest::qCompare(int(shown), int(entered), qPrintable(what), "entered", __FILE__,      \
                             __LINE__))                                                            \
            return;                                                                                \
    } while (false)

// Runs `act` on the modal dialog `name` when it opens; whatever `act` does or fails, the
// dialog is closed afterwards with `closeButton` so the walk never hangs in it.
void onDialog(const QString& name, const char* closeButton, std::function<void(QWidget*)> act,
              bool* seen = nullptr)
{
    if (seen)
        *seen = false;
    whenModal(name, [=](QWidget* dlg) {
        if (seen)
            *seen = true;
        act(dlg);
        if (dlg->isVisible())
            child<QAbstractButton>(dlg, QString::fromLatin1(closeButton))->click();
    });
}

// Presses Next on `page`; returns the page shown then, or null with `why` naming the page
// on which the road stopped.
WizardPage* next(Wizard& w, WizardPage* page, TestRoot& root, QString* why)
{
    const qsizetype messages = root.messages.size();
    click(page, "cmdNext");
    if (root.messages.size() != messages) {
        *why = QStringLiteral("Next on %1 showed \"%2\" (%3)")
                   .arg(page->objectName(), root.messages.last().text, root.messages.last().title);
        return nullptr;
    }
    WizardPage* shown = visiblePage(w);
    if (!shown || shown->index() != page->index() + 1) {
        *why = QStringLiteral("Next on %1 did not show the next page").arg(page->objectName());
        return nullptr;
    }
    QApplication::setActiveWindow(shown);
    return shown;
}

// Next on the page in `page` (a variable), which then holds the next page.
#define NEXT(page)                                                                                 \
    do {                                                                                           \
        QString why_;                                                                              \
        WizardPage* shown_ = next(w, page, root, &why_);                                           \
        QVERIFY2(shown_, qPrintable(why_));                                                        \
        page = shown_;                                                                             \
    } while (false)

// ---- the catalogue -------------------------------------------------------------------------

// The catalogue key of a song, read from the real catalogue the road runs on.
qint16 catalogueKey(const QString& title, const QString& artist)
{
    SqlConnection conn(PathMap::catalogue(), SqlConnection::ReadOnly);
    QSqlQuery q(conn.database());
    q.prepare("SELECT dbKey FROM MUSIC WHERE Name = ? AND UDF01 = ?");
    q.addBindValue(title);
    q.addBindValue(artist);
    if (!q.exec() || !q.next())
        return 0;
    return qint16(q.value(0).toInt());
}

// In the real song-pick dialog: types `find` into the search box, clicks the row of
// `song` (title and artist) in the grid and presses Pick.
void pickInCatalogue(QWidget* dlg, const QString& find, const Song& song)
{
    click(dlg, "cmdClear");
    auto* box = child<QLineEdit>(dlg, "txtFind");
    QTest::keyClicks(box, find);
    auto* grid = child<QTableView>(dlg, "dbgSongList");
    QAbstractItemModel* m = grid->model();
    int row = -1;
    for (int r = 0; r < m->rowCount() && row < 0; ++r)
        if (m->index(r, SongGridModel::ColName).data().toString() == song.title &&
            m->index(r, SongGridModel::ColUDF01).data().toString() == song.artist)
            row = r;
    QVERIFY2(row >= 0, qPrintable(QStringLiteral("\"%1\" by %2 is not found by typing \"%3\" (%4)")
                                      .arg(song.title, song.artist, find,
                                           child<QLabel>(dlg, "lblCount")->text())));
    const QModelIndex cell = m->index(row, SongGridModel::ColName);
    grid->scrollTo(cell);
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, grid->visualRect(cell).center());
    QCOMPARE(child<QLabel>(dlg, "lblSelect1")->text(), song.title);
    click(dlg, "cmdPickIt");
}

// The song-pick dialog's "I can't find the song", then the custom song dialog.
void enterCustomSong(const Song& song)
{
    onDialog("frmSongSel", "cmdQuit", [](QWidget* dlg) { click(dlg, "cmdCustom"); });
    onDialog("frmOddSong", "cmdCancel", [song](QWidget* dlg) {
        type(dlg, "txtName", song.title);
        type(dlg, "txtArtist", song.artist);
        type(dlg, "txtLength", song.length);
        child<QCheckBox>(dlg, "chkHaveMusic")->setChecked(song.key == -3);
        click(dlg, "cmdOK");
    });
}

// ---- the detail pages ---------------------------------------------------------------------

void typePerson(QWidget* dlg, const Person& p)
{
    type(dlg, "txtName", p.name);
    type(dlg, "txtAge", p.age);
    type(dlg, "txtPronounce", p.pronounce);
    child<QPlainTextEdit>(dlg, "txtAddress")->setPlainText(p.address);
    for (int i = 0; i < 3; ++i) {
        type(dlg, QStringLiteral("txtPhone_%1").arg(i), p.phone[i]);
        type(dlg, QStringLiteral("txtPhoneInfo_%1").arg(i), p.kind[i]);
    }
    type(dlg, "txtEmail", p.email);
}

void expectPerson(QWidget* dlg, const QString& who, const Person& p)
{
    auto box = [&](const QString& name) { return child<QLineEdit>(dlg, name)->text(); };
    EXPECT_ANSWER("Menu2 " + who + " name", box("txtName"), p.name);
    EXPECT_ANSWER("Menu2 " + who + " age", box("txtAge"), p.age);
    EXPECT_ANSWER("Menu2 " + who + " pronunciation", box("txtPronounce"), p.pronounce);
    EXPECT_ANSWER("Menu2 " + who + " address",
                  child<QPlainTextEdit>(dlg, "txtAddress")->toPlainText(), p.address);
    for (int i = 0; i < 3; ++i) {
        EXPECT_ANSWER(QStringLiteral("Menu2 %1 phone %2").arg(who).arg(i + 1),
                      box(QStringLiteral("txtPhone_%1").arg(i)), p.phone[i]);
        EXPECT_ANSWER(QStringLiteral("Menu2 %1 phone kind %2").arg(who).arg(i + 1),
                      box(QStringLiteral("txtPhoneInfo_%1").arg(i)), p.kind[i]);
    }
    EXPECT_ANSWER("Menu2 " + who + " e-mail", box("txtEmail"), p.email);
}

// The texts a page shows for its answers, taken after the first walk and compared after
// the restart.
struct Shown {
    QString bride, groom, facility, date, start, end, setup, play, avoid;
};

void answerMenu2(WizardPage* page, Shown& shown)
{
    bool seen = false;
    onDialog(
        "frmBGInfo", "cmdCancel",
        [](QWidget* dlg) {
            typePerson(dlg, kBride);
            click(dlg, "cmdOK");
        },
        &seen);
    click(page, "cmdBride");
    QVERIFY2(seen, "Menu2: the bride's dialog did not open");
    onDialog(
        "frmBGInfo", "cmdCancel",
        [](QWidget* dlg) {
            typePerson(dlg, kGroom);
            click(dlg, "cmdOK");
        },
        &seen);
    click(page, "cmdGroom");
    QVERIFY2(seen, "Menu2: the groom's dialog did not open");
    shown.bride = child<QLabel>(page, "lblBride")->text();
    shown.groom = child<QLabel>(page, "lblGroom")->text();
    QVERIFY2(shown.bride.startsWith(kBride.name), qPrintable(shown.bride));
    QVERIFY2(shown.groom.startsWith(kGroom.name), qPrintable(shown.groom));
}

void answerMenu3(WizardPage* page, Shown& shown)
{
    child<QDateTimeEdit>(page, "Date1")->setDate(QDate::currentDate().addDays(200));
    child<QDateTimeEdit>(page, "Time1")->setTime(kStart);
    child<QDateTimeEdit>(page, "Time2")->setTime(kEnd);
    bool seen = false;
    onDialog(
        "frmFacInfo", "cmdCancel",
        [](QWidget* dlg) {
            type(dlg, "txtName", kFacility.name);
            child<QPlainTextEdit>(dlg, "txtAddress")->setPlainText(kFacility.address);
            type(dlg, "txtContact", kFacility.contact);
            type(dlg, "txtPhone", kFacility.phone);
            type(dlg, "txtPhoneInfo", kFacility.kind);
            child<QPlainTextEdit>(dlg, "txtDirections")->setPlainText(kFacility.directions);
            click(dlg, "cmdOK");
        },
        &seen);
    click(page, "cmdFacility");
    QVERIFY2(seen, "Menu3: the facility dialog did not open");
    type(page, "txtGuests", kGuests);
    shown.facility = child<QLabel>(page, "lblFacility")->text();
    QVERIFY2(shown.facility.startsWith(kFacility.name), qPrintable(shown.facility));
    shown.date = child<QDateTimeEdit>(page, "Date1")->text();
    shown.start = child<QDateTimeEdit>(page, "Time1")->text();
    shown.end = child<QDateTimeEdit>(page, "Time2")->text();
    shown.setup = child<QDateTimeEdit>(page, "Time3")->text();
    QCOMPARE(shown.start, QString("05:30 PM"));
    QCOMPARE(shown.end, QString("11:00 PM"));
    QCOMPARE(shown.setup, QString("03:30 PM")); // two hours before the start, by the rule
}

void answerMenu4(WizardPage* page)
{
    choose(child<QRadioButton>(page, "opLooks_2"));
    choose(child<QRadioButton>(page, "opAttitude_2"));
    QVERIFY(child<QRadioButton>(page, "opLooks_2")->isChecked());
    QVERIFY(child<QRadioButton>(page, "opAttitude_2")->isChecked());
    auto* notes = child<QPlainTextEdit>(page, "txtHotNotes");
    notes->setFocus();
    const QStringList lines = kHotNotes.split(QLatin1Char('\n'));
    for (qsizetype i = 0; i < lines.size(); ++i) {
        if (i > 0)
            QTest::keyClick(notes, Qt::Key_Return);
        QTest::keyClicks(notes, lines[i]);
    }
    QCOMPARE(notes->toPlainText(), kHotNotes);
}

void answerMenu5(WizardPage* page)
{
    bool seen = false;
    onDialog(
        "frmParty", "cmdCancel",
        [](QWidget* dlg) {
            type(dlg, "txtName1", kMember1[0]);
            type(dlg, "txtPronoun1", kMember1[4]);
            child<QComboBox>(dlg, "cbRole1")->setCurrentIndex(1); // "Matron of Honor (married)"
            type(dlg, "txtName2", kMember1[2]);
            type(dlg, "txtPronoun2", kMember1[5]);
            child<QComboBox>(dlg, "cbRole2")->setCurrentIndex(0); // "Best Man"
            click(dlg, "cmdOK");
        },
        &seen);
    click(page, "cmdAdd");
    QVERIFY2(seen, "Menu5: the party member dialog did not open");
    onDialog(
        "frmParty", "cmdCancel",
        [](QWidget* dlg) {
            type(dlg, "txtName1", kMember2[0]);
            type(dlg, "txtPronoun1", kMember2[4]);
            type(dlg, "txtRole1", kMember2[1]);
            choose(child<QRadioButton>(dlg, "opEscort_1"));
            click(dlg, "cmdOK");
        },
        &seen);
    click(page, "cmdAdd");
    QVERIFY2(seen, "Menu5: the party member dialog did not open the second time");
    EXPECT_COUNT("Menu5 members listed",
                 child<QTreeWidget>(page, "lvListView")->topLevelItemCount(), 2);
}

// Opens the activity dialog (shown without blocking, in the page's place).
QWidget* openActivity(WizardPage* page)
{
    click(page, "cmdAdd");
    for (QWidget* d : page->findChildren<QDialog*>("frmActivity"))
        if (d->isVisible())
            return d;
    return nullptr;
}

void answerMenu6(WizardPage* page)
{
    // The first dance with a song found in the catalogue.
    QWidget* dlg = openActivity(page);
    QVERIFY2(dlg, "Menu6: the activity dialog did not open");
    child<QDateTimeEdit>(dlg, "Time1")->setTime(kFirstDance.time);
    child<QComboBox>(dlg, "cbActivity1")->setCurrentIndex(7);
    QCOMPARE(child<QLineEdit>(dlg, "txtName")->text(), kFirstDance.name);
    bool seen = false;
    onDialog(
        "frmSongSel", "cmdQuit",
        [](QWidget* sel) {
            QCOMPARE(sel->windowTitle(), QString("Select a song for your activity"));
            pickInCatalogue(sel, "at la", kFirstDance.song);
        },
        &seen);
    click(dlg, "cmdPick");
    QVERIFY2(seen, "Menu6: the song-pick dialog did not open from the activity dialog");
    QCOMPARE(child<QLineEdit>(dlg, "txtTitle")->text(), kFirstDance.song.title);
    QCOMPARE(child<QLineEdit>(dlg, "txtArtist")->text(), kFirstDance.song.artist);
    type(dlg, "txtWho", kFirstDance.who);
    child<QPlainTextEdit>(dlg, "txtHotNotes")->setPlainText(kFirstDance.notes);
    click(dlg, "cmdOK");
    QVERIFY2(page->isVisible() && !dlg->isVisible(), "Menu6: Save did not return to the page");

    // The entrance with a song the catalogue lacks, whose music the couple brings.
    dlg = openActivity(page);
    QVERIFY2(dlg, "Menu6: the activity dialog did not open again");
    child<QDateTimeEdit>(dlg, "Time1")->setTime(kEntrance.time);
    child<QComboBox>(dlg, "cbActivity1")->setCurrentIndex(1);
    QCOMPARE(child<QLineEdit>(dlg, "txtName")->text(), kEntrance.name);
    // The dialog keeps the last activity's texts; this one has nobody named.
    child<QLineEdit>(dlg, "txtWho")->clear();
    child<QPlainTextEdit>(dlg, "txtHotNotes")->setPlainText(kEntrance.notes);
    enterCustomSong(kEntrance.song);
    click(dlg, "cmdPick");
    QCOMPARE(child<QLineEdit>(dlg, "txtTitle")->text(), kEntrance.song.title);
    click(dlg, "cmdOK");
    QVERIFY2(page->isVisible() && !dlg->isVisible(), "Menu6: Save did not return to the page");
    EXPECT_COUNT("Menu6 activities in the grid",
                 child<QTableView>(page, "dbgEvents")->model()->rowCount(), 2);
}

void answerMenu7(WizardPage* page, Shown& shown)
{
    bool seen = false;
    onDialog(
        "frmSongPref", "cmdCancel",
        [](QWidget* dlg) {
            for (int row : kAvoidRows)
                choose(child<QRadioButton>(dlg, QStringLiteral("Option%1_1").arg(row + 1)));
            click(dlg, "cmdOK");
        },
        &seen);
    click(page, "cmdPlayIt");
    QVERIFY2(seen, "Menu7: the music preference dialog did not open");
    for (int i = 0; i < 3; ++i)
        type(page, QStringLiteral("txtRadio_%1").arg(i), kRadio[i]);
    shown.play = child<QLabel>(page, "lblPlayit1")->text();
    shown.avoid = child<QLabel>(page, "lblPlayit2")->text();
    QCOMPARE(shown.avoid,
             QString("AVOID THESE TYPES OF MUSIC:\r\nCountry\r\nHip Hop/Rap\r\nEthnic"));
}

// Adds a song from the catalogue to a list page through the real song-pick dialog.
void addFromCatalogue(WizardPage* page, const QString& find, const Song& song,
                      const QString& caption)
{
    bool seen = false;
    onDialog(
        "frmSongSel", "cmdQuit",
        [=](QWidget* sel) {
            QCOMPARE(sel->windowTitle(), caption);
            pickInCatalogue(sel, find, song);
        },
        &seen);
    click(page, "cmdAdd");
    QVERIFY2(seen, qPrintable(page->objectName() + ": the song-pick dialog did not open"));
}

// The rows a song list page shows: title, artist, length and key.
QList<Song> listedSongs(WizardPage* page)
{
    QList<Song> songs;
    auto* list = child<QTreeWidget>(page, "lvListView");
    for (int i = 0; i < list->topLevelItemCount(); ++i) {
        const QTreeWidgetItem* item = list->topLevelItem(i);
        songs << Song{item->text(0), item->text(1), item->text(2),
                      qint16(item->data(0, SongListPage::kKeyRole).toInt())};
    }
    return songs;
}

void expectSongs(const QString& where, const QList<Song>& shown, const QList<Song>& entered)
{
    EXPECT_COUNT(where + " songs", shown.size(), entered.size());
    for (qsizetype i = 0; i < shown.size(); ++i) {
        const QString row = QStringLiteral("%1 song %2 ").arg(where).arg(i + 1);
        EXPECT_ANSWER(row + "title", shown[i].title, entered[i].title);
        EXPECT_ANSWER(row + "artist", shown[i].artist, entered[i].artist);
        EXPECT_ANSWER(row + "length", shown[i].length, entered[i].length);
        EXPECT_COUNT(row + "key", shown[i].key, entered[i].key);
    }
}

// ---- the stored forms ---------------------------------------------------------------------

// Everything the event database holds, as text.
QString wholeStore()
{
    QString all;
    for (const char* statement :
         {"SELECT * FROM Strs ORDER BY dbKey", "SELECT * FROM Mems ORDER BY dbKey",
          "SELECT * FROM Activities ORDER BY dbKey", "SELECT * FROM MusicIn ORDER BY dbKey",
          "SELECT * FROM MusicOut ORDER BY dbKey"})
        for (const QStringList& row : storedRows(QString::fromLatin1(statement)))
            all += row.join(QLatin1Char('|')) + QLatin1Char('\n');
    return all;
}

} // namespace

class TestRoad : public QObject
{
    Q_OBJECT
  private slots:
    void coupleWalksTheRoadAndComesBack();
    void cleanup() { m_root.reset(); } // the root's folders and recorders end with the case

  private:
    void walkAndFinish();
    void restartShowsEveryAnswer();
    void storedForms();

    std::unique_ptr<TestRoot> m_root;
    Shown m_shown;
    QList<Song> m_include;
    QList<Song> m_exclude;
};

void TestRoad::coupleWalksTheRoadAndComesBack()
{
    m_root = std::make_unique<TestRoot>();
    m_root->copySampleMedia();
    // The real medium: the catalogue goes beside the event database, the pictures and texts
    // into the data folder.
    QVERIFY2(QFileInfo::exists(m_root->dbFolder() + "songlist.mdb"),
             "the built medium (ZEL_BUILD_DIR/medium) has no catalogue; build the medium first");
    QVERIFY(!QFileInfo::exists(m_root->mediaFolder() + "songlist.mdb"));
    for (const char* f : {"logo.jpg", "hi.rtf", "bye.rtf", "song.rtf", "dress3.jpg", "cd.bmp"})
        QVERIFY2(QFileInfo::exists(m_root->mediaFolder() + f), f);

    m_include = {Song{"Celebration", "Kool & the Gang", "4:58"},
                 Song{"Twist and Shout", "The Beatles", "2:32"}, kIncludeCustom};
    m_exclude = {Song{"Macarena (Bayside Boys Mix)", "Los del Río", "3:51"}};
    for (Song* s : {&m_include[0], &m_include[1], &m_exclude[0]}) {
        s->key = catalogueKey(s->title, s->artist);
        QVERIFY2(s->key > 0, qPrintable(s->title + " is not in the built catalogue"));
    }

    walkAndFinish();
    if (QTest::currentTestFailed())
        return;
    restartShowsEveryAnswer();
    if (QTest::currentTestFailed())
        return;
    storedForms();
    QCOMPARE(m_root->messages.size(), 0);
}

void TestRoad::walkAndFinish()
{
    TestRoot& root = *m_root;
    ZelWizard w;
    QVERIFY(w.start());
    WizardPage* page = w.page(0);
    page->show();
    QApplication::setActiveWindow(page);

    // Leaving the welcome page builds the one song-pick dialog of the run.
    auto songDialogs = [] {
        int n = 0;
        for (QWidget* t : QApplication::topLevelWidgets())
            n += t->objectName() == "frmSongSel";
        return n;
    };
    QCOMPARE(songDialogs(), 0);
    NEXT(page);
    QCOMPARE(songDialogs(), 1);

    QCOMPARE(page->objectName(), QString("Menu2"));
    answerMenu2(page, m_shown);
    if (QTest::currentTestFailed())
        return;
    NEXT(page);

    answerMenu3(page, m_shown);
    if (QTest::currentTestFailed())
        return;
    NEXT(page);

    answerMenu4(page);
    NEXT(page);

    answerMenu5(page);
    if (QTest::currentTestFailed())
        return;
    NEXT(page);

    answerMenu6(page);
    if (QTest::currentTestFailed())
        return;
    NEXT(page);

    answerMenu7(page, m_shown);
    if (QTest::currentTestFailed())
        return;
    NEXT(page);

    QCOMPARE(page->objectName(), QString("Menu8"));
    addFromCatalogue(page, "celebr", m_include[0], "Select a song to include");
    addFromCatalogue(page, "shout", m_include[1], "Select a song to include");
    enterCustomSong(kIncludeCustom);
    click(page, "cmdAdd");
    if (QTest::currentTestFailed())
        return;
    expectSongs("Menu8 (before Next)", listedSongs(page), m_include);
    if (QTest::currentTestFailed())
        return;
    NEXT(page);

    QCOMPARE(page->objectName(), QString("Menu9"));
    addFromCatalogue(page, "macarena", m_exclude[0], "Select a song to exclude");
    if (QTest::currentTestFailed())
        return;
    NEXT(page);

    QCOMPARE(page->objectName(), QString("MenuFinal"));
    QCOMPARE(child<QAbstractButton>(page, "cmdNext")->text(), QString("Finish"));
    const QString before = wholeStore();
    QVERIFY(before.contains(kFacility.name));
    click(page, "cmdNext");
    QVERIFY2(root.programEnded(), "Finish did not end the program");
    QCOMPARE(root.exitCode, 0);
    // The window folded away (it lost its title and frame for the fold), and Finish wrote
    // nothing: every answer was stored by the Next of its page.
    QVERIFY(page->windowTitle().isEmpty());
    QVERIFY(page->windowFlags().testFlag(Qt::FramelessWindowHint));
    QVERIFY2(wholeStore() == before, "Finish changed the event database");
    QCOMPARE(root.messages.size(), 0);
}

void TestRoad::restartShowsEveryAnswer()
{
    // The program starts again on the same files.
    TestRoot& root = *m_root;
    ProgramEnd::reset();
    ZelWizard w;
    QVERIFY(w.start());
    WizardPage* page = w.page(0);
    page->show();
    QApplication::setActiveWindow(page);
    NEXT(page);

    // Bride and groom: the summaries, and every box of the dialogs.
    EXPECT_ANSWER("Menu2 bride summary", child<QLabel>(page, "lblBride")->text(), m_shown.bride);
    EXPECT_ANSWER("Menu2 groom summary", child<QLabel>(page, "lblGroom")->text(), m_shown.groom);
    for (const auto& [button, who, person] :
         {std::tuple{"cmdBride", "bride", kBride}, std::tuple{"cmdGroom", "groom", kGroom}}) {
        bool seen = false;
        onDialog(
            "frmBGInfo", "cmdCancel",
            [who = QString(who), person = person](QWidget* dlg) { expectPerson(dlg, who, person); },
            &seen);
        click(page, button);
        QVERIFY(seen);
        if (QTest::currentTestFailed())
            return;
    }
    NEXT(page);

    // Time and place.
    EXPECT_ANSWER("Menu3 event date", child<QDateTimeEdit>(page, "Date1")->text(), m_shown.date);
    EXPECT_ANSWER("Menu3 start time", child<QDateTimeEdit>(page, "Time1")->text(), m_shown.start);
    EXPECT_ANSWER("Menu3 end time", child<QDateTimeEdit>(page, "Time2")->text(), m_shown.end);
    EXPECT_ANSWER("Menu3 setup time", child<QDateTimeEdit>(page, "Time3")->text(), m_shown.setup);
    EXPECT_ANSWER("Menu3 facility summary", child<QLabel>(page, "lblFacility")->text(),
                  m_shown.facility);
    EXPECT_ANSWER("Menu3 directions", child<QTextEdit>(page, "facility2")->toPlainText(),
                  kFacility.directions);
    EXPECT_ANSWER("Menu3 guests", child<QLineEdit>(page, "txtGuests")->text(), kGuests);
    bool seen = false;
    onDialog(
        "frmFacInfo", "cmdCancel",
        [](QWidget* dlg) {
            auto box = [&](const char* name) { return child<QLineEdit>(dlg, name)->text(); };
            EXPECT_ANSWER("Menu3 facility name", box("txtName"), kFacility.name);
            EXPECT_ANSWER("Menu3 facility address",
                          child<QPlainTextEdit>(dlg, "txtAddress")->toPlainText(),
                          kFacility.address);
            EXPECT_ANSWER("Menu3 facility contact", box("txtContact"), kFacility.contact);
            EXPECT_ANSWER("Menu3 facility phone", box("txtPhone"), kFacility.phone);
            EXPECT_ANSWER("Menu3 facility phone kind", box("txtPhoneInfo"), kFacility.kind);
        },
        &seen);
    click(page, "cmdFacility");
    QVERIFY(seen);
    if (QTest::currentTestFailed())
        return;
    NEXT(page);

    // EmCee guidelines.
    QVERIFY2(child<QRadioButton>(page, "opLooks_2")->isChecked(), "Menu4: Formal was lost");
    QVERIFY2(child<QRadioButton>(page, "opAttitude_2")->isChecked(), "Menu4: High Energy was lost");
    EXPECT_ANSWER("Menu4 comments", child<QPlainTextEdit>(page, "txtHotNotes")->toPlainText(),
                  kHotNotes);
    NEXT(page);

    // Bridal party.
    auto* members = child<QTreeWidget>(page, "lvListView");
    EXPECT_COUNT("Menu5 members", members->topLevelItemCount(), 2);
    for (int r = 0; r < 2; ++r) {
        const QStringList& entered = r == 0 ? kMember1 : kMember2;
        for (int c = 0; c < 6; ++c)
            EXPECT_ANSWER(QStringLiteral("Menu5 member %1 column \"%2\"")
                              .arg(r + 1)
                              .arg(members->headerItem()->text(c)),
                          members->topLevelItem(r)->text(c), entered[c]);
    }
    NEXT(page);

    // Schedule, in time order.
    QAbstractItemModel* grid = child<QTableView>(page, "dbgEvents")->model();
    EXPECT_COUNT("Menu6 activities", grid->rowCount(), 2);
    int r = 0;
    for (const Activity& a : {kEntrance, kFirstDance}) {
        const QString row = QStringLiteral("Menu6 activity %1 ").arg(r + 1);
        auto cell = [&](int column) { return grid->index(r, column).data().toString(); };
        EXPECT_ANSWER(row + "time", cell(ScheduleModel::DtScheduled), a.time.toString("hh:mm AP"));
        EXPECT_ANSWER(row + "name", cell(ScheduleModel::Name), a.name);
        EXPECT_ANSWER(row + "song", cell(ScheduleModel::SongTitle), a.song.title);
        EXPECT_ANSWER(row + "artist", cell(ScheduleModel::SongArtist), a.song.artist);
        EXPECT_ANSWER(row + "who", cell(ScheduleModel::Who), a.who);
        EXPECT_ANSWER(row + "notes", cell(ScheduleModel::MoreInfo), a.notes);
        ++r;
    }
    QVERIFY2(grid->index(0, ScheduleModel::SongTitle).data(Qt::DecorationRole).isValid(),
             "Menu6: the song brought by the couple shows no picture");
    NEXT(page);

    // Music preferences.
    EXPECT_ANSWER("Menu7 types to play", child<QLabel>(page, "lblPlayit1")->text(), m_shown.play);
    EXPECT_ANSWER("Menu7 types to avoid", child<QLabel>(page, "lblPlayit2")->text(), m_shown.avoid);
    for (int i = 0; i < 3; ++i)
        EXPECT_ANSWER(QStringLiteral("Menu7 radio station %1").arg(i + 1),
                      child<QLineEdit>(page, QStringLiteral("txtRadio_%1").arg(i))->text(),
                      kRadio[i]);
    onDialog(
        "frmSongPref", "cmdCancel",
        [](QWidget* dlg) {
            for (int row = 0; row < 10; ++row) {
                const bool avoid = kAvoidRows.contains(row);
                QVERIFY2(child<QRadioButton>(
                             dlg, QStringLiteral("Option%1_%2").arg(row + 1).arg(avoid ? 1 : 0))
                             ->isChecked(),
                         qPrintable(
                             QStringLiteral("Menu7: music type %1 lost its choice").arg(row + 1)));
            }
        },
        &seen);
    click(page, "cmdPlayIt");
    QVERIFY(seen);
    if (QTest::currentTestFailed())
        return;
    NEXT(page);

    // The two song lists.
    expectSongs("Menu8", listedSongs(page), m_include);
    if (QTest::currentTestFailed())
        return;
    NEXT(page);
    expectSongs("Menu9", listedSongs(page), m_exclude);
    if (QTest::currentTestFailed())
        return;
    NEXT(page);
    QCOMPARE(page->objectName(), QString("MenuFinal"));

    // Back from the finish page to the first detail page and Next again to the end: every
    // page is shown as it was left and none loads again; each Next stores its answers once
    // more (the stored forms are checked after this).
    const int loads = w.pageLoads();
    while (page->index() > 1) {
        const QString from = page->objectName();
        click(page, "cmdBack");
        WizardPage* shown = visiblePage(w);
        QVERIFY2(shown && shown->index() == page->index() - 1,
                 qPrintable("Back on " + from + " did not show the page before"));
        page = shown;
        QApplication::setActiveWindow(page);
    }
    EXPECT_ANSWER("Menu2 bride summary after going back", child<QLabel>(page, "lblBride")->text(),
                  m_shown.bride);
    while (page->index() < 9)
        NEXT(page);
    QCOMPARE(w.pageLoads(), loads);
}

void TestRoad::storedForms()
{
    // Keyed items in their stored forms.
    EXPECT_ANSWER("Strs BN", storedItem("Strs", "BN"), kBride.name);
    EXPECT_ANSWER("Mems BA", storedItem("Mems", "BA"),
                  QString(kBride.address).replace("\n", "\r\n"));
    EXPECT_ANSWER("Strs GP6", storedItem("Strs", "GP6"), kGroom.kind[2]);
    EXPECT_ANSWER("Strs EST", storedItem("Strs", "EST"), "5:30:00 PM");
    EXPECT_ANSWER("Strs EET", storedItem("Strs", "EET"), "11:00:00 PM");
    EXPECT_ANSWER("Strs ERT", storedItem("Strs", "ERT"), "3:30:00 PM");
    const std::optional<double> date = OleDate::fromText(storedItem("Strs", "ED"));
    QVERIFY2(date && OleDate::datePart(*date) == QDate::currentDate().addDays(200),
             qPrintable("Strs ED: " + storedItem("Strs", "ED")));
    EXPECT_ANSWER("Strs EF", storedItem("Strs", "EF"), kFacility.name);
    EXPECT_ANSWER("Mems EFD", storedItem("Mems", "EFD"),
                  QString(kFacility.directions).replace("\n", "\r\n"));
    EXPECT_ANSWER("Strs NG", storedItem("Strs", "NG"), kGuests);
    EXPECT_ANSWER("Strs DL", storedItem("Strs", "DL"), "2");
    EXPECT_ANSWER("Strs DA", storedItem("Strs", "DA"), "2");
    EXPECT_ANSWER("Mems DN", storedItem("Mems", "DN"), QString(kHotNotes).replace("\n", "\r\n"));
    EXPECT_ANSWER("Strs BPCOUNT", storedItem("Strs", "BPCOUNT"), " 2");
    EXPECT_ANSWER("Strs BPNR1", storedItem("Strs", "BPNR1"), kMember1[1]);
    EXPECT_ANSWER("Strs BPENP1", storedItem("Strs", "BPENP1"), kMember1[5]);
    EXPECT_ANSWER("Strs BPN2", storedItem("Strs", "BPN2"), kMember2[0]);
    EXPECT_ANSWER("Strs BPEN2", storedItem("Strs", "BPEN2"), "");
    for (int n = 1; n <= 10; ++n)
        EXPECT_ANSWER(QStringLiteral("Strs MTP%1").arg(n),
                      storedItem("Strs", QStringLiteral("MTP%1").arg(n)),
                      kAvoidRows.contains(n - 1) ? "False" : "True");
    EXPECT_ANSWER("Strs FRS3", storedItem("Strs", "FRS3"), kRadio[2]);

    // Activities: a catalogue key for the first dance, -3 for the music the couple brings;
    // an empty Who is stored without a value.
    const QList<QStringList> activities =
        storedRows("SELECT Name, SongKey, SongTitle, SongArtist, Who, MoreInfo FROM Activities "
                   "ORDER BY dtScheduled");
    EXPECT_COUNT("Activities rows", activities.size(), 2);
    EXPECT_ANSWER("Activities 1", activities[0].join('|'),
                  QStringList({kEntrance.name, "-3", kEntrance.song.title, kEntrance.song.artist,
                               "<null>", kEntrance.notes})
                      .join('|'));
    EXPECT_ANSWER(
        "Activities 2", activities[1].join('|'),
        QStringList({kFirstDance.name,
                     QString::number(catalogueKey(kFirstDance.song.title, kFirstDance.song.artist)),
                     kFirstDance.song.title, kFirstDance.song.artist, kFirstDance.who,
                     kFirstDance.notes})
            .join('|'));

    // The song lists, in the order the couple added the songs (rewritten whole by the
    // second walk, never doubled).
    auto expectTable = [](const QString& table, const QList<Song>& songs) {
        const QList<QStringList> rows = storedRows(
            QStringLiteral("SELECT SongKey, SongTitle, SongArtist, SongTime FROM %1 ORDER BY dbKey")
                .arg(table));
        EXPECT_COUNT(table + " rows", rows.size(), songs.size());
        for (qsizetype i = 0; i < rows.size(); ++i) {
            const Song& s = songs[i];
            EXPECT_ANSWER(
                QStringLiteral("%1 row %2").arg(table).arg(i + 1), rows[i].join('|'),
                QStringList({QString::number(s.key), s.title, s.artist, s.length}).join('|'));
        }
    };
    expectTable("MusicIn", m_include);
    if (QTest::currentTestFailed())
        return;
    expectTable("MusicOut", m_exclude);
}

QTEST_MAIN(TestRoad)
#include "test_road.moc"
