// The bridal party page (Menu5) with its dialog frmParty, and the event schedule page (Menu6)
// with its dialog frmActivity, driven through their real widgets on a real event database.
// The plain walk with answers and a restart is the road test's; these are the edges.
#include "TestSupport.h"

#include "app/ZelWizard.h"
#include "pages/Menu5.h"
#include "pages/ScheduleModel.h"
#include "platform/OleDate.h"
#include "platform/PathMap.h"
#include "store/KeyedItemStore.h"
#include "store/SqlConnection.h"
#include "wizard/Wizard.h"

#include <QAbstractItemModelTester>
#include <QCheckBox>
#include <QComboBox>
#include <QDateTimeEdit>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QTableView>
#include <QTreeWidget>
#include <QtTest>

namespace
{

// The keyed items of one party member, in the column order of the list.
const char* const kPartyKeys[6] = {"BPN", "BPNR", "BPEN", "BPENR", "BPNP", "BPENP"};

// A started wizard on a fresh root, with the song pictures in the data folder.
struct Started {
    TestRoot root;
    ZelWizard w;

    Started()
    {
        root.writeCatalogue();
        const QString data = qEnvironmentVariable("ZEL_SOURCE_DIR") + "/data/";
        for (const char* f : {"cd.bmp", "nocd.bmp"})
            QFile::copy(data + f, root.mediaFolder() + f);
        if (!w.start())
            qFatal("the wizard did not start");
    }
    WizardPage* show(int index)
    {
        WizardPage* p = w.page(index);
        p->show();
        return p;
    }
    // Stores a bridal party of `rows` members (each item "<key> of <row>") under `count`.
    void storeParty(const QString& count, int rows)
    {
        KeyedItemStore& s = w.items();
        s.SaveStrItem("BPCOUNT", count);
        for (int i = 1; i <= rows; ++i)
            for (const char* k : kPartyKeys)
                s.SaveStrItem(QString("%1%2").arg(k).arg(i), QString("%1 of %2").arg(k).arg(i));
    }
};

void typeInto(QWidget* dlg, const char* box, const QString& text)
{
    auto* e = child<QLineEdit>(dlg, box);
    e->setFocus();
    e->selectAll();
    QTest::keyClicks(e, text);
}

void click(QWidget* parent, const char* button)
{
    child<QPushButton>(parent, button)->click();
}

// Answers the custom song dialog, when it next opens, with a song typed by hand.
void enterCustomSong(QWidget* opener, const QString& name, const QString& artist, bool haveMusic)
{
    whenModal("frmOddSong", [=](QWidget* odd) {
        QCOMPARE(odd->parentWidget(), opener);
        child<QLineEdit>(odd, "txtName")->setText(name);
        child<QLineEdit>(odd, "txtArtist")->setText(artist);
        child<QLineEdit>(odd, "txtLength")->setText("4:00");
        child<QCheckBox>(odd, "chkHaveMusic")->setChecked(haveMusic);
        click(odd, "cmdOK");
    });
}

// Opens the party member dialog from the page and runs `fill` on it.
void addMember(QWidget* page, const std::function<void(QWidget*)>& fill)
{
    bool ran = false;
    whenModal("frmParty", [&](QWidget* dlg) {
        ran = true;
        fill(dlg);
    });
    click(page, "cmdAdd");
    QVERIFY2(ran, "the party member dialog was not shown");
}

// The texts of the party member dialog: member name, role, pronunciation, then the escort's.
QStringList fields(QWidget* dlg)
{
    QStringList t;
    for (const char* box :
         {"txtName1", "txtRole1", "txtPronoun1", "txtName2", "txtRole2", "txtPronoun2"})
        t << child<QLineEdit>(dlg, box)->text();
    return t;
}

QStringList rowTexts(QTreeWidget* list, int row)
{
    QStringList t;
    for (int c = 0; c < 6; ++c)
        t << list->topLevelItem(row)->text(c);
    return t;
}

QString strItem(const QString& key)
{
    const auto rows = storedRows(QString("SELECT Usage FROM Strs WHERE Item = '%1'").arg(key));
    return rows.isEmpty() ? QStringLiteral("<missing>") : rows[0][0];
}

QList<QStringList> activityRows()
{
    return storedRows("SELECT dtScheduled, Name, SongKey, SongTitle, SongArtist, Who, MoreInfo "
                      "FROM Activities ORDER BY dbKey");
}

// The schedule page of a started wizard whose event starts at 6 PM on 15 June 2024.
struct Schedule : Started {
    WizardPage* page = nullptr;
    QTableView* grid = nullptr;

    Schedule()
    {
        w.state().StartTime = OleDate::fromDateTime(QDate(2024, 6, 15), QTime(18, 0));
        page = show(5);
        grid = child<QTableView>(page, "dbgEvents");
    }

    // The activity dialog now on the screen (opened with Add), or null.
    QDialog* openActivity()
    {
        click(page, "cmdAdd");
        for (QDialog* d : page->findChildren<QDialog*>("frmActivity"))
            if (d->isVisible())
                return d;
        return nullptr;
    }

    // Adds one activity through the dialog.
    void add(const QString& name, QTime time, const QString& who = {}, const QString& notes = {})
    {
        QDialog* dlg = openActivity();
        QVERIFY(dlg);
        child<QDateTimeEdit>(dlg, "Time1")->setTime(time);
        typeInto(dlg, "txtName", name);
        child<QLineEdit>(dlg, "txtWho")->setText(who);
        child<QPlainTextEdit>(dlg, "txtHotNotes")->setPlainText(notes);
        click(dlg, "cmdOK");
        QVERIFY(!dlg->isVisible());
        QVERIFY(page->isVisible());
    }

    QStringList shownColumn(int column) const
    {
        QStringList t;
        for (int r = 0; r < grid->model()->rowCount(); ++r)
            t << grid->model()->index(r, column).data().toString();
        return t;
    }

    void selectRow(int row) { grid->setCurrentIndex(grid->model()->index(row, 0)); }

    // Installs a song picker that answers `answer`; 1 picks catalogue song 7.
    void pickFromCatalogue(qint16 answer)
    {
        w.setSongPicker([this, answer](QWidget* opener) {
            QVERIFY(opener && opener->objectName() == "frmActivity");
            if (answer == 1)
                w.state().PickedSong = {7, "Celebration", "Kool & the Gang", "3:38"};
            w.state().QueryAnswer = answer;
        });
    }
};

// Records the texts of the tip windows that show.
class TipCatcher : public QObject
{
  public:
    QStringList shown;
    bool eventFilter(QObject* o, QEvent* e) override
    {
        if (e->type() == QEvent::Show && o->inherits("QTipLabel"))
            shown << static_cast<QLabel*>(o)->text();
        return false;
    }
};

} // namespace

class TestPartySchedule : public QObject
{
    Q_OBJECT
  private slots:
    // Bridal party page and party member dialog
    void partyDialogRulesAndLifeCycle();
    void removeAndAddThenSaveRenumbersRows();
    void rowCountIsBoundedByStoredRows();
    void refusesAddsAtTheRowLimit();

    // Event schedule page and activity dialog
    void activitiesAreStoredInTimeOrder();
    void activityDialogRulesAndLifeCycle();
    void songsFromCatalogueAndByHand();
    void removeAndRefusedChanges();
    void gridReadNeverBlocksSaves();
    void cellTipsAfterOneSecond();
};

void TestPartySchedule::partyDialogRulesAndLifeCycle()
{
    Started s;
    QWidget* page = s.show(4);
    auto* list = child<QTreeWidget>(page, "lvListView");
    QCOMPARE(list->topLevelItemCount(), 0);

    // First use: the preset roles, escorted, Save disabled until both names are there.
    addMember(page, [](QWidget* dlg) {
        auto* role1 = child<QLineEdit>(dlg, "txtRole1");
        auto* role2 = child<QLineEdit>(dlg, "txtRole2");
        auto* cb1 = child<QComboBox>(dlg, "cbRole1");
        auto* cb2 = child<QComboBox>(dlg, "cbRole2");
        QCOMPARE(fields(dlg), QStringList({"", "Maid of Honor", "", "", "Best Man", ""}));
        QVERIFY(child<QRadioButton>(dlg, "opEscort_0")->isChecked());
        auto* save = child<QPushButton>(dlg, "cmdOK");
        QVERIFY(!save->isEnabled());
        typeInto(dlg, "txtName1", "Anna Lee");
        QVERIFY(!save->isEnabled());
        typeInto(dlg, "txtName2", " "); // a single blank counts as a name
        QVERIFY(save->isEnabled());

        // The picker rule drops the parenthesised remark.
        cb1->setCurrentIndex(1);
        QCOMPARE(role1->text(), QString("Matron of Honor"));
        cb2->setCurrentIndex(9);
        QCOMPARE(role2->text(), QString("Jr. Groomsman"));
        // Typing into a role box keeps the typed text and clears the picker's selection.
        role1->setFocus();
        role1->end(false);
        QTest::keyClicks(role1, " Emeritus");
        QCOMPARE(role1->text(), QString("Matron of Honor Emeritus"));
        QCOMPARE(cb1->currentIndex(), -1);

        // Not Escorted empties and hides the escort block; a member name alone will do.
        child<QRadioButton>(dlg, "opEscort_1")->click();
        QVERIFY(!child<QLineEdit>(dlg, "txtName2")->isVisible());
        QCOMPARE(role2->text(), QString());
        QCOMPARE(cb2->currentIndex(), -1);
        QVERIFY(save->isEnabled());
        // Back to escorted: the block is empty and Save waits for an escort name again.
        child<QRadioButton>(dlg, "opEscort_0")->click();
        QVERIFY(child<QLineEdit>(dlg, "txtName2")->isVisible());
        QCOMPARE(child<QLineEdit>(dlg, "txtName2")->text(), QString());
        QVERIFY(!save->isEnabled());
        typeInto(dlg, "txtPronoun1", "AH-na");
        click(dlg, "cmdCancel");
    });
    QCOMPARE(s.w.state().QueryAnswer, std::optional<qint16>(0));
    QCOMPARE(list->topLevelItemCount(), 0);

    // Cancel kept what was typed; Escape cancels as well and keeps it too.
    addMember(page, [](QWidget* dlg) {
        QCOMPARE(fields(dlg),
                 QStringList({"Anna Lee", "Matron of Honor Emeritus", "AH-na", "", "", ""}));
        QTest::keyClick(dlg, Qt::Key_Escape);
    });
    QCOMPARE(list->topLevelItemCount(), 0);

    // Save: the row is added as typed; the opener empties the fields but keeps the escort
    // choice, so Save starts disabled.
    addMember(page, [](QWidget* dlg) {
        child<QRadioButton>(dlg, "opEscort_1")->click();
        click(dlg, "cmdOK");
    });
    QCOMPARE(s.w.state().QueryAnswer, std::optional<qint16>(1));
    QCOMPARE(list->topLevelItemCount(), 1);
    QCOMPARE(rowTexts(list, 0),
             QStringList({"Anna Lee", "Matron of Honor Emeritus", "", "", "AH-na", ""}));
    addMember(page, [](QWidget* dlg) {
        QCOMPARE(fields(dlg), QStringList({"", "", "", "", "", ""}));
        QCOMPARE(child<QComboBox>(dlg, "cbRole1")->currentIndex(), -1);
        QVERIFY(child<QRadioButton>(dlg, "opEscort_1")->isChecked());
        QVERIFY(!child<QLineEdit>(dlg, "txtName2")->isVisible());
        QVERIFY(!child<QPushButton>(dlg, "cmdOK")->isEnabled());
        typeInto(dlg, "txtName1", "Not kept");
        dlg->close(); // the close box: nothing added, the next use starts afresh
    });
    QCOMPARE(s.w.state().QueryAnswer, std::optional<qint16>(0));
    QCOMPARE(list->topLevelItemCount(), 1);
    addMember(page, [](QWidget* dlg) {
        QCOMPARE(fields(dlg), QStringList({"", "Maid of Honor", "", "", "Best Man", ""}));
        QVERIFY(child<QRadioButton>(dlg, "opEscort_0")->isChecked());
        click(dlg, "cmdCancel");
    });

    // Remove with no selection does nothing; with one, removes that row.
    list->clearSelection();
    click(page, "cmdRemove");
    QCOMPARE(list->topLevelItemCount(), 1);
    list->topLevelItem(0)->setSelected(true);
    click(page, "cmdRemove");
    QCOMPARE(list->topLevelItemCount(), 0);
}

void TestPartySchedule::removeAndAddThenSaveRenumbersRows()
{
    Started s;
    s.storeParty(" 3", 3);
    QWidget* page = s.show(4);
    auto* list = child<QTreeWidget>(page, "lvListView");
    QCOMPARE(list->topLevelItemCount(), 3);
    QCOMPARE(rowTexts(list, 2), QStringList({"BPN of 3", "BPNR of 3", "BPEN of 3", "BPENR of 3",
                                             "BPNP of 3", "BPENP of 3"}));
    list->topLevelItem(1)->setSelected(true);
    click(page, "cmdRemove");
    addMember(page, [](QWidget* dlg) { // the preset roles, as they come
        typeInto(dlg, "txtName1", "Carla Ruiz");
        typeInto(dlg, "txtName2", "Dan Ruiz");
        click(dlg, "cmdOK");
    });
    click(page, "cmdNext");
    QVERIFY(s.root.messages.isEmpty());
    QCOMPARE(strItem("BPCOUNT"), QString(" 3"));
    QCOMPARE(strItem("BPN1"), QString("BPN of 1"));
    QCOMPARE(strItem("BPN2"), QString("BPN of 3"));
    QCOMPARE(strItem("BPENP2"), QString("BPENP of 3"));
    QCOMPARE(strItem("BPN3"), QString("Carla Ruiz"));
    QCOMPARE(strItem("BPNR3"), QString("Maid of Honor"));
    QCOMPARE(strItem("BPENR3"), QString("Best Man"));
    QCOMPARE(strItem("BPNP3"), QString(""));
}

void TestPartySchedule::rowCountIsBoundedByStoredRows()
{
    struct Case {
        const char* count;
        int expectedRows;
    };
    // Rows 1 and 2 are stored whole, row 4 only by its escort's role.
    for (const Case& c : {Case{"abc", 0}, Case{"", 0}, Case{"-3", 0}, Case{" 1", 1}, Case{" 5", 4},
                          Case{"99999", 4}, Case{" 32767", 4}}) {
        Started s;
        s.storeParty(c.count, 2);
        s.w.items().SaveStrItem("BPENR4", "Usher");
        s.w.items().SaveStrItem("BPNX9", "not a row item");
        auto* list = child<QTreeWidget>(s.w.page(4), "lvListView");
        QVERIFY2(list->topLevelItemCount() == c.expectedRows, c.count);
        if (c.expectedRows == 4) {
            // Missing items show a single blank, which the next save writes back.
            QCOMPARE(rowTexts(list, 2), QStringList({" ", " ", " ", " ", " ", " "}));
            QCOMPARE(rowTexts(list, 3), QStringList({" ", " ", " ", "Usher", " ", " "}));
        }
    }
}

void TestPartySchedule::refusesAddsAtTheRowLimit()
{
    Started s;
    QWidget* page = s.show(4);
    auto* list = child<QTreeWidget>(page, "lvListView");
    QList<QTreeWidgetItem*> rows;
    for (int i = 0; i < Menu5::kMaxRows; ++i)
        rows << new QTreeWidgetItem(QStringList{QString::number(i)});
    list->addTopLevelItems(rows);
    bool shown = false;
    whenModal("frmParty", [&](QWidget* dlg) {
        shown = true;
        click(dlg, "cmdCancel");
    });
    click(page, "cmdAdd");
    QVERIFY(!shown);
    QCOMPARE(s.root.messages.size(), 1);
    QVERIFY(s.root.messages[0].text.contains("32767"));
    QCOMPARE(list->topLevelItemCount(), Menu5::kMaxRows);
    // One row fewer and the dialog opens again.
    delete list->topLevelItem(0);
    click(page, "cmdAdd");
    QVERIFY(shown);
}

void TestPartySchedule::activitiesAreStoredInTimeOrder()
{
    Schedule s;
    for (int c : {ScheduleModel::DbKey, ScheduleModel::SongKey, ScheduleModel::SongArtist})
        QVERIFY(s.grid->isColumnHidden(c));
    s.add("Dinner", QTime(19, 0));
    s.add("Toast", QTime(17, 0), "Best man", "Keep it short");
    s.add("Cake Cutting", QTime(19, 0));
    s.add("Last Dance", QTime(0, 30)); // after midnight: keeps the start time's date part
    QCOMPARE(s.shownColumn(ScheduleModel::Name),
             QStringList({"Last Dance", "Toast", "Cake Cutting", "Dinner"}));
    QCOMPARE(s.shownColumn(ScheduleModel::DtScheduled),
             QStringList({"12:30 AM", "05:00 PM", "07:00 PM", "07:00 PM"}));
    // The newly saved activity is the current row.
    QCOMPARE(s.grid->currentIndex().row(), 0);

    // Only the fields the activity has are written; the others stay NULL.
    const QList<QStringList> rows = activityRows();
    QCOMPARE(rows.size(), 4);
    QCOMPARE(rows[0].mid(1),
             QStringList({"Dinner", "<null>", "<null>", "<null>", "<null>", "<null>"}));
    QCOMPARE(rows[1].mid(1),
             QStringList({"Toast", "<null>", "<null>", "<null>", "Best man", "Keep it short"}));
    QCOMPARE(rows[0][0].toDouble(), OleDate::fromDateTime(QDate(2024, 6, 15), QTime(19, 0)));
    QCOMPARE(rows[3][0].toDouble(), OleDate::fromDateTime(QDate(2024, 6, 15), QTime(0, 30)));

    // The grid model keeps the item model rules through a refresh, an add and a removal.
    QAbstractItemModelTester tester(s.grid->model(),
                                    QAbstractItemModelTester::FailureReportingMode::QtTest);
    s.add("Garter/Bouquet Toss", QTime(21, 0));
    s.selectRow(1);
    click(s.page, "cmdRemove");
    QCOMPARE(s.shownColumn(ScheduleModel::Name),
             QStringList({"Last Dance", "Cake Cutting", "Dinner", "Garter/Bouquet Toss"}));
}

void TestPartySchedule::activityDialogRulesAndLifeCycle()
{
    Schedule s;
    QDialog* dlg = s.openActivity();
    QVERIFY(dlg);
    QVERIFY(!s.page->isVisible()); // only the dialog is on the screen
    auto* name = child<QLineEdit>(dlg, "txtName");
    auto* who = child<QLineEdit>(dlg, "txtWho");
    auto* time = child<QDateTimeEdit>(dlg, "Time1");
    QCOMPARE(name->text(), QString("Arrival of Guests"));
    QCOMPARE(time->time(), QTime(18, 0));

    // The preset rule and the typed-name rule.
    auto* presets = child<QComboBox>(dlg, "cbActivity1");
    presets->setCurrentIndex(14);
    QCOMPARE(name->text(), QString("Other"));
    typeInto(dlg, "txtName", "Sparkler Exit");
    QCOMPARE(name->text(), QString("Sparkler Exit"));
    QCOMPARE(presets->currentIndex(), -1);

    // Escape neither clears nor cancels.
    who->setText("Everyone");
    QTest::keyClick(who, Qt::Key_Escape);
    QVERIFY(dlg->isVisible());
    QCOMPARE(who->text(), QString("Everyone"));

    // An empty name is refused with its message; the dialog stays as it was.
    name->clear();
    click(dlg, "cmdOK");
    QCOMPARE(s.root.messages.size(), 1);
    QCOMPARE(s.root.messages[0].text, QString("Your activity must have a name."));
    QCOMPARE(s.root.messages[0].title, QString("Name Required"));
    QCOMPARE(s.root.messages[0].icon, QMessageBox::NoIcon);
    QVERIFY(dlg->isVisible());
    QVERIFY(!s.page->isVisible());
    QCOMPARE(who->text(), QString("Everyone"));

    // Cancel: back to the page, nothing written, the texts kept for the next Add.
    typeInto(dlg, "txtName", " "); // a blank is a name
    click(dlg, "cmdCancel");
    QCOMPARE(s.w.state().QueryAnswer, std::optional<qint16>(0));
    QVERIFY(s.page->isVisible());
    QVERIFY(activityRows().isEmpty());
    QCOMPARE(s.openActivity(), dlg);
    QCOMPARE(name->text(), QString(" "));
    time->setTime(QTime(20, 15));
    click(dlg, "cmdOK");
    QCOMPARE(activityRows().size(), 1);
    QCOMPARE(activityRows()[0][1], QString(" "));

    // The next Add shows the previous texts with the time reset to the start time.
    QCOMPARE(s.openActivity(), dlg);
    QCOMPARE(name->text(), QString(" "));
    QCOMPARE(who->text(), QString("Everyone"));
    QCOMPARE(time->time(), QTime(18, 0));

    // The close box ends the use like Cancel and the next use starts afresh.
    dlg->close();
    QCOMPARE(s.w.state().QueryAnswer, std::optional<qint16>(0));
    QVERIFY(s.page->isVisible());
    QCOMPARE(activityRows().size(), 1);
    QDialog* fresh = s.openActivity();
    QVERIFY(fresh);
    QCOMPARE(child<QLineEdit>(fresh, "txtName")->text(), QString("Arrival of Guests"));
    QCOMPARE(child<QLineEdit>(fresh, "txtWho")->text(), QString());
    click(fresh, "cmdCancel");
}

void TestPartySchedule::songsFromCatalogueAndByHand()
{
    Schedule s;
    // Names the activity and saves it, once its song is settled.
    auto save = [&](QDialog* dlg, const char* name) {
        typeInto(dlg, "txtName", name);
        click(dlg, "cmdOK");
    };
    QDialog* dlg = s.openActivity();
    auto* title = child<QLineEdit>(dlg, "txtTitle");
    auto* artist = child<QLineEdit>(dlg, "txtArtist");

    // A song from the catalogue: its key goes into the tag.
    s.pickFromCatalogue(1);
    click(dlg, "cmdPick");
    QCOMPARE(title->text(), QString("Celebration"));
    QCOMPARE(artist->text(), QString("Kool & the Gang"));
    QCOMPARE(title->property("tag").toString(), QString("7"));
    // Leaving the picker without a choice keeps the song.
    s.pickFromCatalogue(0);
    click(dlg, "cmdPick");
    QCOMPARE(title->text(), QString("Celebration"));
    save(dlg, "Grand Entrance");

    // "I can't find the song" goes on to the custom song entry: music provided (-3), then
    // not supplied (-2).
    s.pickFromCatalogue(-2);
    for (const bool haveMusic : {true, false}) {
        QCOMPARE(s.openActivity(), dlg);
        enterCustomSong(dlg, "Our Song", "Cousin Joe", haveMusic);
        click(dlg, "cmdPick");
        QCOMPARE(title->property("tag").toString(), QString(haveMusic ? "-3" : "-2"));
        save(dlg, haveMusic ? "First Dance" : "Last Dance");
    }
    // The custom entry left without a song keeps the song; Clear Song then removes it.
    QCOMPARE(s.openActivity(), dlg);
    whenModal("frmOddSong", [](QWidget* odd) { click(odd, "cmdCancel"); });
    click(dlg, "cmdPick");
    QCOMPARE(title->text(), QString("Our Song"));
    click(dlg, "cmdClear");
    QCOMPARE(title->text(), QString());
    QCOMPARE(artist->text(), QString());
    QCOMPARE(title->property("tag").toString(), QString());
    save(dlg, "Dinner");

    const QList<QStringList> rows = activityRows();
    QCOMPARE(rows.size(), 4);
    QCOMPARE(rows[0].mid(1, 4),
             QStringList({"Grand Entrance", "7", "Celebration", "Kool & the Gang"}));
    QCOMPARE(rows[1].mid(1, 4), QStringList({"First Dance", "-3", "Our Song", "Cousin Joe"}));
    QCOMPARE(rows[2].mid(1, 4), QStringList({"Last Dance", "-2", "Our Song", "Cousin Joe"}));
    QCOMPARE(rows[3].mid(1, 4), QStringList({"Dinner", "<null>", "<null>", "<null>"}));

    // The song pictures by key: cd for -3, nocd for -2, none for a catalogue song or none
    // (the grid shows the four at the start time, by name).
    auto file = [&](const char* f) {
        return QImage(s.root.mediaFolder() + f).convertToFormat(QImage::Format_RGB32);
    };
    QVERIFY(file("cd.bmp") != file("nocd.bmp"));
    QCOMPARE(s.shownColumn(ScheduleModel::Name),
             QStringList({"Dinner", "First Dance", "Grand Entrance", "Last Dance"}));
    const QList<QImage> pictures{QImage(), file("cd.bmp"), QImage(), file("nocd.bmp")};
    for (int r = 0; r < 4; ++r)
        QCOMPARE(s.grid->model()
                     ->index(r, ScheduleModel::SongTitle)
                     .data(Qt::DecorationRole)
                     .value<QPixmap>()
                     .toImage()
                     .convertToFormat(QImage::Format_RGB32),
                 pictures[r]);
}

void TestPartySchedule::removeAndRefusedChanges()
{
    Schedule s;
    click(s.page, "cmdRemove"); // empty schedule: nothing happens
    QVERIFY(s.root.messages.isEmpty());
    s.add("Toast", QTime(19, 0));
    s.add("Dinner", QTime(19, 30));

    // The database refuses: a message, the schedule as it was.
    auto exec = [](const char* statement) {
        SqlConnection conn(PathMap::eventDatabase(), SqlConnection::ReadWrite);
        return QSqlQuery(conn.database()).exec(statement);
    };
    QVERIFY(exec("CREATE TRIGGER refuseDelete BEFORE DELETE ON Activities "
                 "BEGIN SELECT RAISE(ABORT, 'disk full'); END"));
    QVERIFY(exec("CREATE TRIGGER refuseInsert BEFORE INSERT ON Activities "
                 "BEGIN SELECT RAISE(ABORT, 'disk full'); END"));
    s.selectRow(0);
    click(s.page, "cmdRemove");
    QCOMPARE(s.root.messages.size(), 1);
    QCOMPARE(s.root.messages[0].title, QString("Unable to remove"));
    QVERIFY(s.root.messages[0].text.contains("the disk is full"));
    QCOMPARE(s.shownColumn(ScheduleModel::Name), QStringList({"Toast", "Dinner"}));
    s.add("Cake Cutting", QTime(20, 0));
    QCOMPARE(s.root.messages.size(), 2);
    QCOMPARE(s.root.messages[1].title, QString("Unable to save"));
    QCOMPARE(activityRows().size(), 2);
    QCOMPARE(s.shownColumn(ScheduleModel::Name), QStringList({"Toast", "Dinner"}));
    // The activity was not lost: the dialog still holds it.
    QDialog* dlg = s.openActivity();
    QCOMPARE(child<QLineEdit>(dlg, "txtName")->text(), QString("Cake Cutting"));
    click(dlg, "cmdCancel");

    // Remove deletes the current row at once, with no question.
    QVERIFY(exec("DROP TRIGGER refuseDelete"));
    s.selectRow(0);
    click(s.page, "cmdRemove");
    QCOMPARE(s.root.messages.size(), 2);
    QCOMPARE(s.shownColumn(ScheduleModel::Name), QStringList({"Dinner"}));
    QCOMPARE(activityRows().size(), 1);
    QCOMPARE(activityRows()[0][1], QString("Dinner"));
}

void TestPartySchedule::gridReadNeverBlocksSaves()
{
    Schedule s;
    for (int i = 0; i < 5; ++i)
        s.add(QString("Dance %1").arg(i), QTime(19, i));
    QCOMPARE(s.grid->model()->rowCount(), 5);
    s.selectRow(3);
    // With the grid showing its rows, the keyed items of another page are saved.
    QVERIFY(s.w.items().SaveStrItem("BPCOUNT", " 0"));
    QVERIFY(s.w.items().SaveMemItem("DIR", QString(5000, 'x')));
    // And through a page: back to the bridal party page, Next saves it.
    click(s.page, "cmdBack");
    WizardPage* party = s.w.loadedPage(4);
    QVERIFY(party && party->isVisible());
    click(party, "cmdNext");
    QVERIFY(s.root.messages.isEmpty());
    QVERIFY(s.page->isVisible());
    QCOMPARE(strItem("BPCOUNT"), QString(" 0"));
}

void TestPartySchedule::cellTipsAfterOneSecond()
{
    Schedule s;
    const QString notes = "Play the long version and dim the lights before the couple comes in";
    s.add("Bridal Dance", QTime(20, 0), "Bride and groom", notes);
    auto* timer = s.page->findChild<QTimer*>("tipTimer");
    QVERIFY(timer && timer->interval() == 1000 && timer->isSingleShot());
    const QModelIndex cell = s.grid->model()->index(0, ScheduleModel::MoreInfo);
    QCOMPARE(cell.data(Qt::ToolTipRole).toString(), notes);
    QVERIFY(!timer->isActive());
    const QPoint at = s.grid->visualRect(cell).center();
    QMouseEvent move(QEvent::MouseMove, at, s.grid->viewport()->mapToGlobal(at), Qt::NoButton,
                     Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(s.grid->viewport(), &move);
    QVERIFY(timer->isActive());
    // The tip window that comes up is caught as it shows (the headless platform may take it
    // down again at once when it activates windows).
    TipCatcher catcher;
    qApp->installEventFilter(&catcher);
    timer->setInterval(0); // the rest of the second is not waited for here
    timer->start();
    QVERIFY(waitUntil([&] { return !catcher.shown.isEmpty(); }));
    qApp->removeEventFilter(&catcher);
    QCOMPARE(catcher.shown.first(), notes);
    // A press on the grid drops a pending tip.
    QApplication::sendEvent(s.grid->viewport(), &move);
    QVERIFY(timer->isActive());
    QTest::mousePress(s.grid->viewport(), Qt::LeftButton, {}, at);
    QVERIFY(!timer->isActive());
}

QTEST_MAIN(TestPartySchedule)
#include "test_partyschedule.moc"
