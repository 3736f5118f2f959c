#include "TestSupport.h"

#include "pages/Menu5.h"
#include "pages/Menu6.h"
#include "pages/ScheduleModel.h"
#include "pages/frmActivity.h"
#include "platform/OleDate.h"
#include "platform/PathMap.h"
#include "store/KeyedItemStore.h"
#include "store/SqlConnection.h"
#include "wizard/Wizard.h"

#include <QAbstractItemModelTester>
#include <QCheckBox>
#include <QComboBox>
#include <QDateTimeEdit>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSqlQuery>
#include <QTableView>
#include <QToolTip>
#include <QTreeWidget>
#include <QtTest>

namespace
{

// Answers the custom song dialog, when it next opens, with a song typed by hand.
void enterCustomSong(QWidget* opener, const QString& name, const QString& artist,
                     const QString& length, bool haveMusic)
{
    whenModal("frmOddSong", [=](QWidget* odd) {
        QCOMPARE(odd->parentWidget(), opener);
        child<QLineEdit>(odd, "txtName")->setText(name);
        child<QLineEdit>(odd, "txtArtist")->setText(artist);
        child<QLineEdit>(odd, "txtLength")->setText(length);
        child<QCheckBox>(odd, "chkHaveMusic")->setChecked(haveMusic);
        child<QPushButton>(odd, "cmdOK")->click();
    });
}

// Opens the party member dialog from the page, runs `fill` on it and returns.
void addMember(QWidget* page, const std::function<void(QWidget*)>& fill)
{
    bool ran = false;
    whenModal("frmParty", [&](QWidget* dlg) {
        ran = true;
        fill(dlg);
    });
    child<QPushButton>(page, "cmdAdd")->click();
    QVERIFY2(ran, "the party member dialog was not shown");
}

void typeInto(QWidget* dlg, const char* box, const QString& text)
{
    auto* e = child<QLineEdit>(dlg, box);
    e->setFocus();
    e->selectAll();
    QTest::keyClicks(e, text);
}

QStringList rowTexts(QTreeWidget* list, int row)
{
    QStringList t;
    for (int c = 0; c < 6; ++c)
        t << list->topLevelItem(row)->text(c);
    return t;
}

// The keyed items of Strs in the order they were first written.
QStringList strKeysInWriteOrder()
{
    SqlConnection conn(PathMap::eventDatabase(), SqlConnection::ReadOnly);
    QSqlQuery q(conn.database());
    QStringList keys;
    if (!q.exec("SELECT Item FROM Strs ORDER BY dbKey"))
        return keys;
    while (q.next())
        keys << q.value(0).toString();
    return keys;
}

QString strItem(const QString& key)
{
    SqlConnection conn(PathMap::eventDatabase(), SqlConnection::ReadOnly);
    QSqlQuery q(conn.database());
    q.prepare("SELECT Usage FROM Strs WHERE Item = ?");
    q.addBindValue(key);
    if (!q.exec() || !q.next())
        return QStringLiteral("<missing>");
    return q.value(0).toString();
}

} // namespace

class TestPartySchedule : public QObject
{
    Q_OBJECT
  private slots:
    // Bridal party page and party member dialog
    void partyDialogRulesAndLifeCycle();
    void addedMembersAreSavedInOrder();
    void removeThenSaveRenumbersRows();
    void rowCountIsBoundedByStoredRows();
    void refusesAddsAtTheRowLimit();

    // Event schedule page and activity dialog
    void activitiesAreStoredInTimeOrder();
    void activityDialogRulesAndLifeCycle();
    void songsFromCatalogueAndByHand();
    void removeAndRefusedChanges();
    void gridReadNeverBlocksSaves();
    void cellTipsAfterOneSecond();

    // Pictures of both pages and both dialogs for looking at (ZEL_SCREENSHOT_DIR).
    void screenshots();
};

void TestPartySchedule::partyDialogRulesAndLifeCycle()
{
    TestRoot root;
    root.writeCatalogue();
    Wizard w;
    QVERIFY(w.start());
    QWidget* page = w.page(4);
    page->show();
    auto* list = child<QTreeWidget>(page, "lvListView");
    QCOMPARE(list->topLevelItemCount(), 0);
    QCOMPARE(list->columnCount(), 6);
    QCOMPARE(list->headerItem()->text(2), QString("Escorted by"));
    QCOMPARE(list->headerItem()->text(5), QString("Pronounced"));

    // First use: the preset roles, escorted, Save disabled until both names are there.
    addMember(page, [](QWidget* dlg) {
        QCOMPARE(dlg->windowTitle(), QString("Bridal Party"));
        QVERIFY(!child<QLabel>(dlg, "lblField_0")->isVisible());
        QVERIFY(child<QLabel>(dlg, "lblField_2")->font().italic());
        QCOMPARE(child<QLabel>(dlg, "lblField_1")->buddy(), child<QLineEdit>(dlg, "txtName1"));
        QCOMPARE(child<QLineEdit>(dlg, "txtRole1")->text(), QString("Maid of Honor"));
        QCOMPARE(child<QLineEdit>(dlg, "txtRole2")->text(), QString("Best Man"));
        QCOMPARE(child<QComboBox>(dlg, "cbRole1")->count(), 15);
        QCOMPARE(child<QComboBox>(dlg, "cbRole2")->count(), 18);
        QCOMPARE(child<QComboBox>(dlg, "cbRole2")->itemText(9), QString("Jr. Groomsman"));
        QVERIFY(child<QRadioButton>(dlg, "opEscort_0")->isChecked());
        auto* save = child<QPushButton>(dlg, "cmdOK");
        QVERIFY(!save->isEnabled());
        typeInto(dlg, "txtName1", "Anna Lee");
        QVERIFY(!save->isEnabled());
        typeInto(dlg, "txtName2", " "); // a single blank counts as a name
        QVERIFY(save->isEnabled());

        // The picker rule drops the parenthesised remark.
        auto* cb1 = child<QComboBox>(dlg, "cbRole1");
        cb1->setCurrentIndex(1);
        QCOMPARE(child<QLineEdit>(dlg, "txtRole1")->text(), QString("Matron of Honor"));
        child<QComboBox>(dlg, "cbRole2")->setCurrentIndex(9);
        QCOMPARE(child<QLineEdit>(dlg, "txtRole2")->text(), QString("Jr. Groomsman"));
        // Typing into a role box keeps the typed text and clears the picker's selection.
        auto* role1 = child<QLineEdit>(dlg, "txtRole1");
        role1->setFocus();
        role1->end(false);
        QTest::keyClicks(role1, " Emeritus");
        QCOMPARE(role1->text(), QString("Matron of Honor Emeritus"));
        QCOMPARE(cb1->currentIndex(), -1);

        // Not Escorted empties and hides the escort block; a member name alone will do.
        child<QRadioButton>(dlg, "opEscort_1")->click();
        QVERIFY(!child<QLineEdit>(dlg, "txtName2")->isVisible());
        QVERIFY(!child<QLabel>(dlg, "lblField_6")->isVisible());
        QCOMPARE(child<QLineEdit>(dlg, "txtRole2")->text(), QString());
        QCOMPARE(child<QComboBox>(dlg, "cbRole2")->currentIndex(), -1);
        QVERIFY(save->isEnabled());
        // Back to escorted: the block is empty and Save waits for an escort name again.
        child<QRadioButton>(dlg, "opEscort_0")->click();
        QVERIFY(child<QLineEdit>(dlg, "txtName2")->isVisible());
        QCOMPARE(child<QLineEdit>(dlg, "txtName2")->text(), QString());
        QVERIFY(!save->isEnabled());
        typeInto(dlg, "txtPronoun1", "AH-na");
        child<QPushButton>(dlg, "cmdCancel")->click();
    });
    QCOMPARE(w.state().QueryAnswer, std::optional<qint16>(0));
    QCOMPARE(list->topLevelItemCount(), 0);

    // Cancel kept what was typed; Escape cancels as well and keeps it too.
    addMember(page, [](QWidget* dlg) {
        QCOMPARE(child<QLineEdit>(dlg, "txtName1")->text(), QString("Anna Lee"));
        QCOMPARE(child<QLineEdit>(dlg, "txtPronoun1")->text(), QString("AH-na"));
        QCOMPARE(child<QLineEdit>(dlg, "txtRole1")->text(), QString("Matron of Honor Emeritus"));
        QTest::keyClick(dlg, Qt::Key_Escape);
    });
    QCOMPARE(list->topLevelItemCount(), 0);

    // Save: the row is added as typed; the opener empties the fields but keeps the escort
    // choice, so Save starts disabled.
    addMember(page, [](QWidget* dlg) {
        QCOMPARE(child<QLineEdit>(dlg, "txtName1")->text(), QString("Anna Lee"));
        child<QRadioButton>(dlg, "opEscort_1")->click();
        child<QPushButton>(dlg, "cmdOK")->click();
    });
    QCOMPARE(w.state().QueryAnswer, std::optional<qint16>(1));
    QCOMPARE(list->topLevelItemCount(), 1);
    QCOMPARE(rowTexts(list, 0),
             QStringList({"Anna Lee", "Matron of Honor Emeritus", "", "", "AH-na", ""}));
    addMember(page, [](QWidget* dlg) {
        QCOMPARE(child<QLineEdit>(dlg, "txtName1")->text(), QString());
        QCOMPARE(child<QLineEdit>(dlg, "txtRole1")->text(), QString());
        QCOMPARE(child<QComboBox>(dlg, "cbRole1")->currentIndex(), -1);
        QVERIFY(child<QRadioButton>(dlg, "opEscort_1")->isChecked());
        QVERIFY(!child<QLineEdit>(dlg, "txtName2")->isVisible());
        QVERIFY(!child<QPushButton>(dlg, "cmdOK")->isEnabled());
        typeInto(dlg, "txtName1", "Not kept");
        dlg->close(); // the close box: nothing added, the next use starts afresh
    });
    QCOMPARE(w.state().QueryAnswer, std::optional<qint16>(0));
    QCOMPARE(list->topLevelItemCount(), 1);
    addMember(page, [](QWidget* dlg) {
        QCOMPARE(child<QLineEdit>(dlg, "txtName1")->text(), QString());
        QCOMPARE(child<QLineEdit>(dlg, "txtRole1")->text(), QString("Maid of Honor"));
        QCOMPARE(child<QLineEdit>(dlg, "txtRole2")->text(), QString("Best Man"));
        QVERIFY(child<QRadioButton>(dlg, "opEscort_0")->isChecked());
        child<QPushButton>(dlg, "cmdCancel")->click();
    });

    // Remove with no selection does nothing; with one, removes that row.
    list->clearSelection();
    child<QPushButton>(page, "cmdRemove")->click();
    QCOMPARE(list->topLevelItemCount(), 1);
    list->topLevelItem(0)->setSelected(true);
    child<QPushButton>(page, "cmdRemove")->click();
    QCOMPARE(list->topLevelItemCount(), 0);
}

void TestPartySchedule::addedMembersAreSavedInOrder()
{
    TestRoot root;
    root.writeCatalogue();
    {
        Wizard w;
        QVERIFY(w.start());
        QWidget* page = w.page(4);
        page->show();
        addMember(page, [](QWidget* dlg) {
            typeInto(dlg, "txtName1", "Carla Ruiz");
            typeInto(dlg, "txtPronoun1", "CAR-la");
            typeInto(dlg, "txtName2", "Dan Ruiz");
            typeInto(dlg, "txtPronoun2", "dan");
            child<QPushButton>(dlg, "cmdOK")->click();
        });
        addMember(page, [](QWidget* dlg) {
            child<QComboBox>(dlg, "cbRole1")->setCurrentIndex(4);
            typeInto(dlg, "txtName1", "Eve");
            child<QRadioButton>(dlg, "opEscort_1")->click();
            child<QPushButton>(dlg, "cmdOK")->click();
        });
        child<QPushButton>(page, "cmdNext")->click();
        QVERIFY(root.messages.isEmpty());
        QVERIFY(!page->isVisible());
    }
    QCOMPARE(strKeysInWriteOrder(),
             QStringList({"BPCOUNT", "BPN1", "BPNP1", "BPNR1", "BPEN1", "BPENP1", "BPENR1", "BPN2",
                          "BPNP2", "BPNR2", "BPEN2", "BPENP2", "BPENR2"}));
    QCOMPARE(strItem("BPCOUNT"), QString(" 2"));
    QCOMPARE(strItem("BPNR1"), QString("Maid of Honor"));
    QCOMPARE(strItem("BPENR1"), QString("Best Man"));
    QCOMPARE(strItem("BPENP1"), QString("dan"));
    QCOMPARE(strItem("BPNR2"), QString("Flower Girl"));
    // The unescorted member stores empty escort texts.
    QCOMPARE(strItem("BPEN2"), QString(""));
    QCOMPARE(strItem("BPENR2"), QString(""));
    QCOMPARE(strItem("BPENP2"), QString(""));

    // A fresh run reads the list back as it was saved.
    Wizard again;
    QVERIFY(again.start());
    auto* list = child<QTreeWidget>(again.page(4), "lvListView");
    QCOMPARE(list->topLevelItemCount(), 2);
    QCOMPARE(rowTexts(list, 0),
             QStringList({"Carla Ruiz", "Maid of Honor", "Dan Ruiz", "Best Man", "CAR-la", "dan"}));
    QCOMPARE(rowTexts(list, 1), QStringList({"Eve", "Flower Girl", "", "", "", ""}));
}

void TestPartySchedule::removeThenSaveRenumbersRows()
{
    TestRoot root;
    root.writeCatalogue();
    {
        Wizard w;
        QVERIFY(w.start());
        KeyedItemStore& s = w.items();
        s.SaveStrItem("BPCOUNT", " 3");
        for (int i = 1; i <= 3; ++i)
            for (const char* k : {"BPN", "BPNR", "BPEN", "BPENR", "BPNP", "BPENP"})
                s.SaveStrItem(QString("%1%2").arg(k).arg(i), QString("%1 of %2").arg(k).arg(i));
        QWidget* page = w.page(4);
        page->show();
        auto* list = child<QTreeWidget>(page, "lvListView");
        QCOMPARE(list->topLevelItemCount(), 3);
        QCOMPARE(rowTexts(list, 2), QStringList({"BPN of 3", "BPNR of 3", "BPEN of 3", "BPENR of 3",
                                                 "BPNP of 3", "BPENP of 3"}));
        list->topLevelItem(1)->setSelected(true);
        child<QPushButton>(page, "cmdRemove")->click();
        QCOMPARE(list->topLevelItemCount(), 2);
        child<QPushButton>(page, "cmdNext")->click();
        QVERIFY(root.messages.isEmpty());
    }
    QCOMPARE(strItem("BPCOUNT"), QString(" 2"));
    QCOMPARE(strItem("BPN1"), QString("BPN of 1"));
    QCOMPARE(strItem("BPN2"), QString("BPN of 3"));
    QCOMPARE(strItem("BPENP2"), QString("BPENP of 3"));
    // The old third row stays in the store, unread.
    QCOMPARE(strItem("BPN3"), QString("BPN of 3"));
    Wizard again;
    QVERIFY(again.start());
    QCOMPARE(child<QTreeWidget>(again.page(4), "lvListView")->topLevelItemCount(), 2);
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
        TestRoot root;
        root.writeCatalogue();
        Wizard w;
        QVERIFY(w.start());
        KeyedItemStore& s = w.items();
        s.SaveStrItem("BPCOUNT", c.count);
        for (int i = 1; i <= 2; ++i)
            for (const char* k : {"BPN", "BPNR", "BPEN", "BPENR", "BPNP", "BPENP"})
                s.SaveStrItem(QString("%1%2").arg(k).arg(i), QString("x"));
        s.SaveStrItem("BPENR4", "Usher");
        s.SaveStrItem("BPNX9", "not a row item");
        auto* list = child<QTreeWidget>(w.page(4), "lvListView");
        QCOMPARE(list->topLevelItemCount(), c.expectedRows);
        if (c.expectedRows == 4) {
            // Missing items show a single blank, which the next save writes back.
            QCOMPARE(rowTexts(list, 2), QStringList({" ", " ", " ", " ", " ", " "}));
            QCOMPARE(rowTexts(list, 3), QStringList({" ", " ", " ", "Usher", " ", " "}));
        }
    }
}

void TestPartySchedule::refusesAddsAtTheRowLimit()
{
    TestRoot root;
    root.writeCatalogue();
    Wizard w;
    QVERIFY(w.start());
    QWidget* page = w.page(4);
    page->show();
    auto* list = child<QTreeWidget>(page, "lvListView");
    QList<QTreeWidgetItem*> rows;
    for (int i = 0; i < Menu5::kMaxRows; ++i)
        rows << new QTreeWidgetItem(QStringList{QString::number(i)});
    list->addTopLevelItems(rows);
    bool shown = false;
    whenModal("frmParty", [&](QWidget* dlg) {
        shown = true;
        child<QPushButton>(dlg, "cmdCancel")->click();
    });
    child<QPushButton>(page, "cmdAdd")->click();
    QVERIFY(!shown);
    QCOMPARE(root.messages.size(), 1);
    QVERIFY(root.messages[0].text.contains("32767"));
    QCOMPARE(list->topLevelItemCount(), Menu5::kMaxRows);
    // One row fewer and the dialog opens again.
    delete list->topLevelItem(0);
    child<QPushButton>(page, "cmdAdd")->click();
    QVERIFY(shown);
}

namespace
{

// The schedule page of a started wizard, with the song pictures in the data folder.
struct Schedule {
    TestRoot root;
    std::unique_ptr<Wizard> wizard;
    WizardPage* page = nullptr;
    QTableView* grid = nullptr;

    Schedule()
    {
        root.writeCatalogue(
            {}, {{{"dbKey", 7},
                  {"Name", "Celebration"},
                  {"UDF01", "Kool & the Gang"},
                  {"Time", "3:38"}},
                 {{"dbKey", 12}, {"Name", "At Last"}, {"UDF01", "Etta James"}, {"Time", "3:02"}}});
        const QString data = qEnvironmentVariable("ZEL_SOURCE_DIR") + "/data/";
        for (const char* f : {"cd.bmp", "nocd.bmp"})
            QFile::copy(data + f, root.mediaFolder() + f);
        wizard = std::make_unique<Wizard>();
        if (!wizard->start())
            qFatal("the wizard did not start");
        wizard->state().StartTime = OleDate::fromDateTime(QDate(2024, 6, 15), QTime(18, 0));
        page = wizard->page(5);
        page->show();
        grid = child<QTableView>(page, "dbgEvents");
    }

    // The activity dialog now on the screen (opened with Add), or null.
    QDialog* openActivity()
    {
        child<QPushButton>(page, "cmdAdd")->click();
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
        child<QPushButton>(dlg, "cmdOK")->click();
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
};

// The rows of Activities as text, NULL written as "<null>", ordered by dbKey.
QList<QStringList> activityRows()
{
    SqlConnection conn(PathMap::eventDatabase(), SqlConnection::ReadOnly);
    QSqlQuery q(conn.database());
    QList<QStringList> rows;
    if (!q.exec("SELECT dtScheduled, Name, SongKey, SongTitle, SongArtist, Who, MoreInfo "
                "FROM Activities ORDER BY dbKey"))
        return rows;
    while (q.next()) {
        QStringList r;
        for (int c = 0; c < 7; ++c)
            r << (q.isNull(c) ? QStringLiteral("<null>") : q.value(c).toString());
        rows << r;
    }
    return rows;
}

// Installs a song picker that answers `answer`, handing back the catalogue row `key` read
// from the catalogue file.
void pickFromCatalogue(Wizard& w, qint16 answer, int key = 0)
{
    w.setSongPicker([&w, answer, key](QWidget* opener) {
        QVERIFY(opener && opener->objectName() == "frmActivity");
        if (answer == 1) {
            SqlConnection cat(PathMap::catalogue(), SqlConnection::ReadOnly);
            QSqlQuery q(cat.database());
            q.prepare("SELECT dbKey, Name, UDF01, Time FROM MUSIC WHERE dbKey = ?");
            q.addBindValue(key);
            QVERIFY(q.exec() && q.next());
            w.state().PickedSong = {qint16(q.value(0).toInt()), q.value(1).toString(),
                                    q.value(2).toString(), q.value(3).toString()};
        }
        w.state().QueryAnswer = answer;
    });
}

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

void TestPartySchedule::activitiesAreStoredInTimeOrder()
{
    Schedule s;
    QCOMPARE(s.page->windowTitle(), QString("Event Schedule"));
    QCOMPARE(s.grid->model()->rowCount(), 0);
    QVERIFY(s.grid->isColumnHidden(ScheduleModel::DbKey));
    QVERIFY(s.grid->isColumnHidden(ScheduleModel::SongKey));
    QVERIFY(s.grid->isColumnHidden(ScheduleModel::SongArtist));
    QStringList captions;
    for (int c : {1, 2, 4, 6, 7})
        captions << s.grid->model()->headerData(c, Qt::Horizontal).toString();
    QCOMPARE(captions, QStringList({"Est. Time", "Activity", "Song", "Who is involved", "Notes"}));
    QVERIFY(s.grid->columnWidth(ScheduleModel::DtScheduled) >= 67);
    QVERIFY(!s.grid->model()->flags(s.grid->model()->index(0, 0)).testFlag(Qt::ItemIsEditable));

    s.add("Dinner", QTime(19, 0));
    s.add("Toast", QTime(17, 0), "Best man", "Keep it short");
    s.add("Cake Cutting", QTime(19, 0));
    s.add("Last Dance", QTime(0, 30)); // after midnight: keeps the start time's date part
    QCOMPARE(s.shownColumn(ScheduleModel::Name),
             QStringList({"Last Dance", "Toast", "Cake Cutting", "Dinner"}));
    QCOMPARE(s.shownColumn(ScheduleModel::DtScheduled),
             QStringList({"12:30 AM", "05:00 PM", "07:00 PM", "07:00 PM"}));
    QCOMPARE(
        s.grid->model()->index(0, ScheduleModel::DtScheduled).data(Qt::TextAlignmentRole).toInt(),
        int(Qt::AlignCenter));
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
    s.grid->setCurrentIndex(s.grid->model()->index(1, ScheduleModel::Name));
    child<QPushButton>(s.page, "cmdRemove")->click();
    QCOMPARE(s.shownColumn(ScheduleModel::Name),
             QStringList({"Last Dance", "Cake Cutting", "Dinner", "Garter/Bouquet Toss"}));
}

void TestPartySchedule::activityDialogRulesAndLifeCycle()
{
    Schedule s;
    QDialog* dlg = s.openActivity();
    QVERIFY(dlg);
    QVERIFY(!s.page->isVisible()); // only the dialog is on the screen
    QVERIFY(!dlg->isModal());
    QCOMPARE(dlg->windowTitle(), QString("Edit an Activity"));
    QCOMPARE(child<QLineEdit>(dlg, "txtName")->text(), QString("Arrival of Guests"));
    QCOMPARE(child<QDateTimeEdit>(dlg, "Time1")->time(), QTime(18, 0));
    QCOMPARE(child<QDateTimeEdit>(dlg, "Time1")->text(), QString("06:00 PM"));
    auto* presets = child<QComboBox>(dlg, "cbActivity1");
    QCOMPARE(presets->count(), 15);
    QCOMPARE(presets->itemText(4), QString("Hors D'oeuvres/Cocktails"));
    auto* title = child<QLineEdit>(dlg, "txtTitle");
    QVERIFY(title->isReadOnly());
    QCOMPARE(title->palette().color(QPalette::Base), QColor(255, 255, 192));
    QVERIFY(child<QLabel>(dlg, "lblTime")->font().italic());
    QCOMPARE(child<QLabel>(dlg, "lblField_3")->buddy(), child<QLineEdit>(dlg, "txtWho"));

    // The preset rule and the typed-name rule.
    presets->setCurrentIndex(14);
    QCOMPARE(child<QLineEdit>(dlg, "txtName")->text(), QString("Other"));
    typeInto(dlg, "txtName", "Sparkler Exit");
    QCOMPARE(child<QLineEdit>(dlg, "txtName")->text(), QString("Sparkler Exit"));
    QCOMPARE(presets->currentIndex(), -1);

    // Escape neither clears nor cancels.
    child<QLineEdit>(dlg, "txtWho")->setText("Everyone");
    QTest::keyClick(child<QLineEdit>(dlg, "txtWho"), Qt::Key_Escape);
    QVERIFY(dlg->isVisible());
    QCOMPARE(child<QLineEdit>(dlg, "txtWho")->text(), QString("Everyone"));

    // An empty name is refused with its message; the dialog stays as it was.
    child<QLineEdit>(dlg, "txtName")->clear();
    child<QPushButton>(dlg, "cmdOK")->click();
    QCOMPARE(s.root.messages.size(), 1);
    QCOMPARE(s.root.messages[0].text, QString("Your activity must have a name."));
    QCOMPARE(s.root.messages[0].title, QString("Name Required"));
    QCOMPARE(s.root.messages[0].icon, QMessageBox::NoIcon);
    QVERIFY(dlg->isVisible());
    QVERIFY(!s.page->isVisible());
    QCOMPARE(child<QLineEdit>(dlg, "txtWho")->text(), QString("Everyone"));

    // Cancel: back to the page, nothing written, the texts kept for the next Add.
    typeInto(dlg, "txtName", " "); // a blank is a name
    child<QPushButton>(dlg, "cmdCancel")->click();
    QCOMPARE(s.wizard->state().QueryAnswer, std::optional<qint16>(0));
    QVERIFY(s.page->isVisible());
    QVERIFY(activityRows().isEmpty());

    QDialog* again = s.openActivity();
    QCOMPARE(again, dlg);
    QCOMPARE(child<QLineEdit>(dlg, "txtName")->text(), QString(" "));
    child<QDateTimeEdit>(dlg, "Time1")->setTime(QTime(20, 15));
    child<QPushButton>(dlg, "cmdOK")->click();
    QCOMPARE(activityRows().size(), 1);
    QCOMPARE(activityRows()[0][1], QString(" "));

    // The second Add shows the previous texts with the time reset to the start time.
    again = s.openActivity();
    QCOMPARE(child<QLineEdit>(again, "txtName")->text(), QString(" "));
    QCOMPARE(child<QLineEdit>(again, "txtWho")->text(), QString("Everyone"));
    QCOMPARE(child<QDateTimeEdit>(again, "Time1")->time(), QTime(18, 0));

    // The close box ends the use like Cancel and the next use starts afresh.
    again->close();
    QCOMPARE(s.wizard->state().QueryAnswer, std::optional<qint16>(0));
    QVERIFY(s.page->isVisible());
    QCOMPARE(activityRows().size(), 1);
    QDialog* fresh = s.openActivity();
    QVERIFY(fresh);
    QCOMPARE(child<QLineEdit>(fresh, "txtName")->text(), QString("Arrival of Guests"));
    QCOMPARE(child<QLineEdit>(fresh, "txtWho")->text(), QString());
    child<QPushButton>(fresh, "cmdCancel")->click();
}

void TestPartySchedule::songsFromCatalogueAndByHand()
{
    Schedule s;
    Wizard& w = *s.wizard;
    QDialog* dlg = s.openActivity();
    auto* title = child<QLineEdit>(dlg, "txtTitle");
    auto* artist = child<QLineEdit>(dlg, "txtArtist");
    auto* pick = child<QPushButton>(dlg, "cmdPick");

    // A song from the catalogue: its key goes into the tag.
    pickFromCatalogue(w, 1, 7);
    pick->click();
    QCOMPARE(title->text(), QString("Celebration"));
    QCOMPARE(artist->text(), QString("Kool & the Gang"));
    QCOMPARE(title->property("tag").toString(), QString("7"));
    // Leaving the picker without a choice keeps the song.
    pickFromCatalogue(w, 0);
    pick->click();
    QCOMPARE(title->text(), QString("Celebration"));
    typeInto(dlg, "txtName", "Grand Entrance");
    child<QPushButton>(dlg, "cmdOK")->click();

    // "I can't find the song" goes on to the custom song entry: music provided (-3).
    dlg = s.openActivity();
    pickFromCatalogue(w, -2);
    enterCustomSong(dlg, "Our Song", "Cousin Joe", "4:00", true);
    pick->click();
    QCOMPARE(child<QLineEdit>(dlg, "txtTitle")->property("tag").toString(), QString("-3"));
    typeInto(dlg, "txtName", "First Dance");
    child<QPushButton>(dlg, "cmdOK")->click();
    // Music not supplied (-2).
    dlg = s.openActivity();
    enterCustomSong(dlg, "Our Song", "Cousin Joe", "4:00", false);
    child<QPushButton>(dlg, "cmdPick")->click();
    QCOMPARE(child<QLineEdit>(dlg, "txtTitle")->property("tag").toString(), QString("-2"));
    typeInto(dlg, "txtName", "Last Dance");
    child<QPushButton>(dlg, "cmdOK")->click();
    // The custom entry left without a song keeps the song; Clear Song then removes it.
    dlg = s.openActivity();
    whenModal("frmOddSong", [](QWidget* odd) { child<QPushButton>(odd, "cmdCancel")->click(); });
    child<QPushButton>(dlg, "cmdPick")->click();
    QCOMPARE(child<QLineEdit>(dlg, "txtTitle")->text(), QString("Our Song"));
    child<QPushButton>(dlg, "cmdClear")->click();
    QCOMPARE(child<QLineEdit>(dlg, "txtTitle")->text(), QString());
    QCOMPARE(child<QLineEdit>(dlg, "txtArtist")->text(), QString());
    QCOMPARE(child<QLineEdit>(dlg, "txtTitle")->property("tag").toString(), QString());
    typeInto(dlg, "txtName", "Dinner");
    child<QPushButton>(dlg, "cmdOK")->click();

    const QList<QStringList> rows = activityRows();
    QCOMPARE(rows.size(), 4);
    QCOMPARE(rows[0].mid(1, 4),
             QStringList({"Grand Entrance", "7", "Celebration", "Kool & the Gang"}));
    QCOMPARE(rows[1].mid(1, 4), QStringList({"First Dance", "-3", "Our Song", "Cousin Joe"}));
    QCOMPARE(rows[2].mid(1, 4), QStringList({"Last Dance", "-2", "Our Song", "Cousin Joe"}));
    QCOMPARE(rows[3].mid(1, 4), QStringList({"Dinner", "<null>", "<null>", "<null>"}));

    // The song pictures by key: cd for -3, nocd for -2, none for a catalogue song or none.
    QMap<QString, qint64> pictureOf;
    for (int r = 0; r < s.grid->model()->rowCount(); ++r) {
        const QVariant pic =
            s.grid->model()->index(r, ScheduleModel::SongTitle).data(Qt::DecorationRole);
        pictureOf[s.grid->model()->index(r, ScheduleModel::Name).data().toString()] =
            pic.isValid() ? pic.value<QPixmap>().toImage().cacheKey() : 0;
    }
    QVERIFY(pictureOf["First Dance"] != 0);
    QVERIFY(pictureOf["Last Dance"] != 0);
    QVERIFY(pictureOf["First Dance"] != pictureOf["Last Dance"]);
    QCOMPARE(pictureOf["Grand Entrance"], 0);
    QCOMPARE(pictureOf["Dinner"], 0);
    const QImage cd(s.root.mediaFolder() + "cd.bmp");
    int firstDance = 0;
    while (s.grid->model()->index(firstDance, ScheduleModel::Name).data().toString() !=
           "First Dance")
        ++firstDance;
    QCOMPARE(s.grid->model()
                 ->index(firstDance, ScheduleModel::SongTitle)
                 .data(Qt::DecorationRole)
                 .value<QPixmap>()
                 .toImage()
                 .convertToFormat(QImage::Format_RGB32),
             cd.convertToFormat(QImage::Format_RGB32));
}

void TestPartySchedule::removeAndRefusedChanges()
{
    Schedule s;
    auto* remove = child<QPushButton>(s.page, "cmdRemove");
    remove->click(); // empty schedule: nothing happens
    QVERIFY(s.root.messages.isEmpty());
    s.add("Toast", QTime(19, 0));
    s.add("Dinner", QTime(19, 30));
    QCOMPARE(activityRows().size(), 2);

    // The database refuses: a message, the schedule as it was.
    {
        SqlConnection conn(PathMap::eventDatabase(), SqlConnection::ReadWrite);
        QSqlQuery q(conn.database());
        QVERIFY(q.exec("CREATE TRIGGER refuseDelete BEFORE DELETE ON Activities "
                       "BEGIN SELECT RAISE(ABORT, 'disk full'); END"));
        QVERIFY(q.exec("CREATE TRIGGER refuseInsert BEFORE INSERT ON Activities "
                       "BEGIN SELECT RAISE(ABORT, 'disk full'); END"));
    }
    s.grid->setCurrentIndex(s.grid->model()->index(0, ScheduleModel::Name));
    remove->click();
    QCOMPARE(s.root.messages.size(), 1);
    QCOMPARE(s.root.messages[0].title, QString("Unable to remove"));
    QVERIFY(s.root.messages[0].text.contains("disk full"));
    QCOMPARE(s.shownColumn(ScheduleModel::Name), QStringList({"Toast", "Dinner"}));
    s.add("Cake Cutting", QTime(20, 0));
    QCOMPARE(s.root.messages.size(), 2);
    QCOMPARE(s.root.messages[1].title, QString("Unable to save"));
    QCOMPARE(activityRows().size(), 2);
    QCOMPARE(s.shownColumn(ScheduleModel::Name), QStringList({"Toast", "Dinner"}));
    // The activity was not lost: the dialog still holds it.
    QDialog* dlg = s.openActivity();
    QCOMPARE(child<QLineEdit>(dlg, "txtName")->text(), QString("Cake Cutting"));
    child<QPushButton>(dlg, "cmdCancel")->click();

    {
        SqlConnection conn(PathMap::eventDatabase(), SqlConnection::ReadWrite);
        QSqlQuery q(conn.database());
        QVERIFY(q.exec("DROP TRIGGER refuseDelete"));
    }
    // Remove deletes the current row at once, with no question.
    s.grid->setCurrentIndex(s.grid->model()->index(0, ScheduleModel::Name));
    remove->click();
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
    s.grid->setCurrentIndex(s.grid->model()->index(3, ScheduleModel::Name));
    // With the grid showing its rows, the keyed items of another page are saved.
    QVERIFY(s.wizard->items().SaveStrItem("BPCOUNT", " 0"));
    QVERIFY(s.wizard->items().SaveMemItem("DIR", QString(5000, 'x')));
    // And through a page: back to the bridal party page, Next saves it.
    child<QPushButton>(s.page, "cmdBack")->click();
    WizardPage* party = s.wizard->loadedPage(4);
    QVERIFY(party && party->isVisible());
    child<QPushButton>(party, "cmdNext")->click();
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
    QVERIFY(timer);
    QCOMPARE(timer->interval(), 1000);
    QVERIFY(timer->isSingleShot());
    QCOMPARE(s.grid->model()->index(0, ScheduleModel::MoreInfo).data(Qt::ToolTipRole).toString(),
             notes);
    QVERIFY(!timer->isActive());
    const QRect cell = s.grid->visualRect(s.grid->model()->index(0, ScheduleModel::MoreInfo));
    QMouseEvent move(QEvent::MouseMove, cell.center(),
                     s.grid->viewport()->mapToGlobal(cell.center()), Qt::NoButton, Qt::NoButton,
                     Qt::NoModifier);
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
    QTest::mousePress(s.grid->viewport(), Qt::LeftButton, {}, cell.center());
    QVERIFY(!timer->isActive());
}

void TestPartySchedule::screenshots()
{
    const QString dir = qEnvironmentVariable("ZEL_SCREENSHOT_DIR");
    if (dir.isEmpty())
        QSKIP("set ZEL_SCREENSHOT_DIR to write the pictures");
    QDir().mkpath(dir);
    Schedule s;
    Wizard& w = *s.wizard;
    KeyedItemStore& items = w.items();
    const QStringList party[] = {
        {"Carla Ruiz", "Maid of Honor", "Daniel Ruiz", "Best Man", "CAR-la ROO-eez", "DAN-yel"},
        {"Emily Chen", "Bridesmaid", "Frank O'Brien", "Groomsman", "EM-i-lee", "frank"},
        {"Grace Hall", "Flower Girl", "", "", "grace", ""},
        {"Margaret Stone", "Mother of Bride", "Robert Stone", "Father of Bride", "", ""},
        {"Sofia Rossi", "Jr. Bridesmaid", "Luca Rossi", "Jr. Groomsman", "SO-fee-a", "LOO-ka"}};
    items.SaveStrItem("BPCOUNT", " 5");
    for (int i = 0; i < 5; ++i) {
        const char* keys[6] = {"BPN", "BPNR", "BPEN", "BPENR", "BPNP", "BPENP"};
        for (int c = 0; c < 6; ++c)
            items.SaveStrItem(QString("%1%2").arg(keys[c]).arg(i + 1), party[i][c]);
    }
    WizardPage* menu5 = w.page(4);
    menu5->show();
    child<QTreeWidget>(menu5, "lvListView")->topLevelItem(1)->setSelected(true);
    QCoreApplication::processEvents();
    menu5->grab().save(dir + "/Menu5.png");
    whenModal("frmParty", [&](QWidget* dlg) {
        typeInto(dlg, "txtName1", "Hannah Weber");
        typeInto(dlg, "txtPronoun1", "HAH-na VAY-ber");
        child<QComboBox>(dlg, "cbRole1")->setCurrentIndex(1);
        typeInto(dlg, "txtName2", "Ian Weber");
        QCoreApplication::processEvents();
        dlg->grab().save(dir + "/frmParty.png");
        child<QRadioButton>(dlg, "opEscort_1")->click();
        QCoreApplication::processEvents();
        dlg->grab().save(dir + "/frmParty-not-escorted.png");
        child<QPushButton>(dlg, "cmdCancel")->click();
    });
    child<QPushButton>(menu5, "cmdAdd")->click();
    menu5->hide();

    s.page->show();
    pickFromCatalogue(w, 1, 12);
    s.add("Arrival of Guests", QTime(17, 30), "Everyone");
    s.add("Bridal Party Introduction", QTime(18, 0), "Bridal party, DJ",
          "Introduce the couple last as Mr. and Mrs. Ruiz; the ushers come in first");
    QDialog* dlg = s.openActivity();
    child<QDateTimeEdit>(dlg, "Time1")->setTime(QTime(20, 0));
    child<QComboBox>(dlg, "cbActivity1")->setCurrentIndex(7);
    child<QPushButton>(dlg, "cmdPick")->click();
    child<QLineEdit>(dlg, "txtWho")->setText("Bride and groom");
    child<QPlainTextEdit>(dlg, "txtHotNotes")->setPlainText("Fade out after the second chorus.");
    QCoreApplication::processEvents();
    dlg->grab().save(dir + "/frmActivity.png");
    child<QPushButton>(dlg, "cmdOK")->click();
    pickFromCatalogue(w, -2);
    dlg = s.openActivity();
    enterCustomSong(dlg, "Our Song", "Cousin Joe", "4:00", true);
    child<QDateTimeEdit>(dlg, "Time1")->setTime(QTime(20, 30));
    child<QComboBox>(dlg, "cbActivity1")->setCurrentIndex(9);
    child<QPushButton>(dlg, "cmdPick")->click();
    child<QLineEdit>(dlg, "txtWho")->clear();
    child<QPlainTextEdit>(dlg, "txtHotNotes")->clear();
    child<QPushButton>(dlg, "cmdOK")->click();
    dlg = s.openActivity();
    child<QDateTimeEdit>(dlg, "Time1")->setTime(QTime(19, 0));
    child<QComboBox>(dlg, "cbActivity1")->setCurrentIndex(5);
    child<QPushButton>(dlg, "cmdClear")->click();
    child<QPushButton>(dlg, "cmdOK")->click();
    dlg = s.openActivity();
    child<QDateTimeEdit>(dlg, "Time1")->setTime(QTime(21, 0));
    child<QComboBox>(dlg, "cbActivity1")->setCurrentIndex(12);
    child<QPushButton>(dlg, "cmdPick")->click();
    child<QPushButton>(dlg, "cmdOK")->click();
    QCoreApplication::processEvents();
    s.page->grab().save(dir + "/Menu6.png");
}

QTEST_MAIN(TestPartySchedule)
#include "test_partyschedule.moc"
