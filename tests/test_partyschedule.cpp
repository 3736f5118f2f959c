// The bridal party page (Menu5) with its dialog frmParty, and the event schedule page (Menu6)
// with its dialog frmActivity, driven through their real widgets on a real event database.
// The plain walk with answers and a restart is the road test's; these are the edges.
#include "PageTest.h"

#include "pages/Menu5.h"
#include "pages/ScheduleModel.h"
#include "platform/OleDate.h"
#include "store/EventItems.h"
#include "store/KeyedItemStore.h"

#include <QAbstractItemModelTester>
#include <QTableView>

using namespace PageTest;

namespace
{

// The texts of the party member dialog: member name, role, pronunciation, then the escort's.
const QStringList kMemberBoxes{"txtName1", "txtRole1", "txtPronoun1",
                               "txtName2", "txtRole2", "txtPronoun2"};

QList<QStringList> activityRows()
{
    return storedRows("SELECT dtScheduled, Name, SongKey, SongTitle, SongArtist, Who, MoreInfo "
                      "FROM Activities ORDER BY dbKey");
}

// The schedule page of a started wizard whose event starts at 6 PM on 15 June 2024, with
// the song pictures in the data folder.
struct Schedule : Started {
    WizardPage* page = nullptr;
    QTableView* grid = nullptr;

    Schedule() : Started({"cd.bmp", "nocd.bmp"})
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
        child<QDateTimeEdit>(dlg, "Time1")->setTime(time);
        type(dlg, "txtName", name);
        type(dlg, "txtWho", who);
        type(dlg, "txtHotNotes", notes);
        click(dlg, "cmdOK");
        QCOMPARE(std::pair(dlg->isVisible(), page->isVisible()), std::pair(false, true));
    }

    QStringList shownColumn(int column) const
    {
        QStringList t;
        for (int r = 0; r < grid->model()->rowCount(); ++r)
            t << grid->model()->index(r, column).data().toString();
        return t;
    }

    void selectRow(int row) { grid->setCurrentIndex(grid->model()->index(row, 0)); }
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
    void partyDialogRulesRemoveAndLimit();
    void activitiesInTimeOrderTipsAndRefusals();
    void activityDialogRulesLifeCycleAndSongs();
    void partyEditUndoAndTyping();
    void scheduleEditAndUndo();
};

void TestPartySchedule::partyDialogRulesRemoveAndLimit()
{
    Started s;
    const QList<PartyMember> stored{{"Ann", "Bridesmaid", "", "", "an", ""},
                                    {"Bo", "Usher", "Cy", "Groomsman", "", "sy"},
                                    {"Di", "Flower Girl", "", "", "", ""}};
    QVERIFY(EventItems::saveParty(s.items(), stored, nullptr));
    QWidget* page = s.show(4);
    auto* list = child<QTreeWidget>(page, "lvListView");
    const QStringList presets{"", "Maid of Honor", "", "", "Best Man", ""};

    // First use: the preset roles, escorted, Save disabled until both names are there.
    QVERIFY(inDialog(page, "cmdAdd", "frmParty", [&](QWidget* dlg) {
        auto* role1 = child<QLineEdit>(dlg, "txtRole1");
        auto* cb2 = child<QComboBox>(dlg, "cbRole2");
        auto* save = child<QPushButton>(dlg, "cmdOK");
        QCOMPARE(textsOf(dlg, kMemberBoxes), presets);
        // escorted, Save enabled
        QCOMPARE(std::pair(child<QRadioButton>(dlg, "opEscort_0")->isChecked(), save->isEnabled()),
                 std::pair(true, false));
        type(dlg, "txtName1", "Anna Lee");
        QVERIFY(!save->isEnabled());
        type(dlg, "txtName2", " "); // a single blank counts as a name
        QVERIFY(save->isEnabled());

        // The picker rule drops the parenthesised remark; typing into a role box keeps the
        // typed text and clears the picker's selection.
        child<QComboBox>(dlg, "cbRole1")->setCurrentIndex(1);
        cb2->setCurrentIndex(9);
        QCOMPARE(textsOf(dlg, {"txtRole1", "txtRole2"}),
                 QStringList({"Matron of Honor", "Jr. Groomsman"}));
        role1->setFocus();
        role1->end(false);
        QTest::keyClicks(role1, " Emeritus");
        QCOMPARE(std::pair(role1->text(), child<QComboBox>(dlg, "cbRole1")->currentIndex()),
                 std::pair(QString("Matron of Honor Emeritus"), -1));

        // Not Escorted empties and hides the escort block; a member name alone will do.
        // Back to escorted: the block is empty and Save waits for an escort name again.
        child<QRadioButton>(dlg, "opEscort_1")->click();
        auto* escort = child<QLineEdit>(dlg, "txtName2");
        QCOMPARE(std::tuple(escort->isVisible(), save->isEnabled(), cb2->currentIndex()),
                 std::tuple(false, true, -1));
        child<QRadioButton>(dlg, "opEscort_0")->click();
        QCOMPARE(std::pair(escort->isVisible(), save->isEnabled()), std::pair(true, false));
        QCOMPARE(textsOf(dlg, {"txtName2", "txtRole2"}), QStringList({"", ""}));
        type(dlg, "txtPronoun1", "AH-na");
        click(dlg, "cmdCancel");
    }));

    // Cancel kept what was typed; Escape cancels as well and keeps it too. Save adds the row
    // as typed; the opener empties the fields but keeps the escort choice, so Save starts
    // disabled. The close box adds nothing and the next use starts from the form load.
    const QStringList kept{"Anna Lee", "Matron of Honor Emeritus", "AH-na", "", "", ""};
    for (const auto& [how, shown] :
         {std::pair{"escape", kept}, std::pair{"cmdOK", kept},
          std::pair{"close", QStringList(6, "")}, std::pair{"cmdCancel", presets}})
        QVERIFY(inDialog(page, "cmdAdd", "frmParty", [&](QWidget* dlg) {
            QCOMPARE(textsOf(dlg, kMemberBoxes), shown);
            QVERIFY(!child<QPushButton>(dlg, "cmdOK")->isEnabled());
            QCOMPARE(child<QRadioButton>(dlg, "opEscort_1")->isChecked(), QString(how) == "close");
            if (QString(how) == "cmdOK")
                child<QRadioButton>(dlg, "opEscort_1")->click();
            else if (QString(how) == "close")
                type(dlg, "txtName1", "Not kept");
            leave(dlg, how);
        }));
    const PartyMember anna{"Anna Lee", "Matron of Honor Emeritus", "", "", "AH-na", ""};
    QCOMPARE(list->topLevelItemCount(), 4);
    QCOMPARE(rowTexts(list, 3), QStringList({anna.Name, anna.Role, "", "", "AH-na", ""}));
    QCOMPARE(rowTexts(list, 1), QStringList({"Bo", "Usher", "Cy", "Groomsman", "", "sy"}));

    // Remove with no selection does nothing; with one, Delete on the list removes that row
    // as Remove does.
    list->clearSelection();
    click(page, "cmdRemove");
    list->topLevelItem(1)->setSelected(true);
    QTest::keyClick(list, Qt::Key_Delete);
    QVERIFY(inDialog(page, "cmdAdd", "frmParty", [](QWidget* dlg) { // the preset roles as they are
        type(dlg, "txtName1", "Carla Ruiz");
        type(dlg, "txtName2", "Dan Ruiz");
        click(dlg, "cmdOK");
    }));
    // One round trip: the list as shown is what the store holds after Next.
    click(page, "cmdNext");
    QVERIFY(s.root.messages.isEmpty());
    QCOMPARE(EventItems::readParty(s.items()),
             (QList<PartyMember>{stored[0],
                                 stored[2],
                                 anna,
                                 {"Carla Ruiz", "Maid of Honor", "Dan Ruiz", "Best Man", "", ""}}));

    // At the row limit Add refuses with a message before the dialog opens; one row fewer
    // and the dialog opens again.
    QList<QTreeWidgetItem*> rows;
    for (int i = list->topLevelItemCount(); i < Menu5::kMaxRows; ++i)
        rows << new QTreeWidgetItem(QStringList{QString::number(i)});
    list->addTopLevelItems(rows);
    page->show();
    QVERIFY(!inDialog(page, "cmdAdd", "frmParty", [](QWidget* dlg) { click(dlg, "cmdCancel"); }));
    QCOMPARE(s.root.messages.size(), 1);
    QVERIFY2(s.root.messages[0].text.contains("32767"), qPrintable(s.root.messages[0].text));
    QCOMPARE(list->topLevelItemCount(), Menu5::kMaxRows);
    delete list->topLevelItem(0);
    QVERIFY(inDialog(page, "cmdAdd", "frmParty", [](QWidget* dlg) { click(dlg, "cmdCancel"); }));
}

void TestPartySchedule::partyEditUndoAndTyping()
{
    Started s;
    const QList<PartyMember> stored{{"Ann", "Bridesmaid", "", "", "an", ""},
                                    {"Bo", "Usher", "Cy", "Groomsman", "", "sy"}};
    QVERIFY(EventItems::saveParty(s.items(), stored, nullptr));
    WizardPage* page = s.show(4);
    auto* list = child<QTreeWidget>(page, "lvListView");

    // Enter on a row opens it in the dialog, the name selected: typing replaces it, and
    // Save changes the row in its place. A double-click opens it too; Cancel changes nothing.
    list->setFocus();
    list->setCurrentItem(list->topLevelItem(1));
    whenModal("frmParty", [&](QWidget* dlg) {
        QCOMPARE(textsOf(dlg, kMemberBoxes), QStringList({"Bo", "Usher", "", "Cy", "Groomsman", "sy"}));
        QCOMPARE(dlg->focusWidget()->objectName(), QString("txtName1"));
        QTest::keyClicks(dlg->focusWidget(), "Bob");
        click(dlg, "cmdOK");
    });
    QTest::keyClick(list, Qt::Key_Return);
    whenModal("frmParty", [&](QWidget* dlg) {
        type(dlg, "txtName1", "Not kept");
        click(dlg, "cmdCancel");
    });
    const QPoint at = list->visualItemRect(list->topLevelItem(0)).center();
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, at);
    QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, at);
    QCOMPARE(rowTexts(list, 1), QStringList({"Bob", "Usher", "Cy", "Groomsman", "", "sy"}));
    QCOMPARE(rowTexts(list, 0), QStringList({"Ann", "Bridesmaid", "", "", "an", ""}));

    // Add after the edits finds the entry Add left (the form load's), and the second Add
    // after a Save types into the member's name at once.
    for (const char* name : {"Cleo", "Dee"})
        QVERIFY(inDialog(page, "cmdAdd", "frmParty", [&](QWidget* dlg) {
            QTest::keyClicks(dlg->focusWidget(), name);
            child<QRadioButton>(dlg, "opEscort_1")->click();
            click(dlg, "cmdOK");
        }));
    QCOMPARE(rowTexts(list, 3).first(), QString("Dee"));

    // Removals come back in their places, last first, by Undo and by Ctrl+Z; Next stores
    // the list as it was.
    auto* undo = child<QWidget>(page, "undoLine");
    list->setCurrentItem(list->topLevelItem(0));
    QTest::keyClick(list, Qt::Key_Delete);
    QTest::keyClick(list, Qt::Key_Delete);
    QCOMPARE(textOf(page, "lblUndo"), QString("Removed: Bob (Usher)"));
    click(page, "cmdUndo");
    QApplication::setActiveWindow(page); // as the desktop does when the dialogs have gone
    QVERIFY(QTest::qWaitForWindowActive(page));
    QTest::keyClick(page, Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(undo->isVisible(), false);
    click(page, "cmdNext");
    QCOMPARE(EventItems::readParty(s.items()).size(), 4);
    QCOMPARE(EventItems::readParty(s.items())[0], stored[0]);
    // Leaving the page forgets what was removed.
    click(s.w.loadedPage(5), "cmdBack");
    QTest::keyClick(list, Qt::Key_Delete);
    click(page, "cmdNext");
    click(s.w.loadedPage(5), "cmdBack");
    QCOMPARE(undo->isVisible(), false);
    QCOMPARE(list->topLevelItemCount(), 3);
}

void TestPartySchedule::scheduleEditAndUndo()
{
    Schedule s;
    s.add("Dinner", QTime(19, 0), "", "Buffet");
    s.add("Toast", QTime(20, 0), "Best man");
    const QString all = "SELECT * FROM Activities ORDER BY dbKey";
    const QList<QStringList> before = storedRows(all);

    // Enter on the current activity opens it; Save writes over its own row (key kept).
    s.selectRow(1);
    s.grid->setFocus();
    QTest::keyClick(s.grid, Qt::Key_Return);
    QDialog* dlg = nullptr;
    for (QDialog* d : s.page->findChildren<QDialog*>("frmActivity"))
        if (d->isVisible())
            dlg = d;
    QVERIFY(dlg);
    QCOMPARE(textsOf(dlg, {"txtName", "txtWho"}), QStringList({"Toast", "Best man"}));
    type(dlg, "txtName", "Toasts");
    type(dlg, "txtWho", "");
    click(dlg, "cmdOK");
    QList<QStringList> edited = before;
    edited[1][2] = "Toasts";
    edited[1][6] = "<null>";
    QCOMPARE(storedRows(all), edited);
    // Add afterwards shows what Add left in the dialog.
    QCOMPARE(textOf(s.openActivity(), "txtName"), QString("Toast"));
    click(dlg, "cmdCancel");

    // A removed activity is stored again as it was, key and empty fields included.
    s.selectRow(0);
    click(s.page, "cmdRemove");
    click(s.page, "cmdRemove");
    QCOMPARE(textOf(s.page, "lblUndo"), QString("Removed: \"Toasts\" at 08:00 PM"));
    QVERIFY(QTest::qWaitForWindowActive(s.page));
    QTest::keyClick(s.page, Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(storedRows(all).size(), 1);
    click(s.page, "cmdUndo");
    QCOMPARE(storedRows(all), edited);
}

void TestPartySchedule::activitiesInTimeOrderTipsAndRefusals()
{
    Schedule s;
    click(s.page, "cmdRemove"); // empty schedule: nothing happens
    s.add("Dinner", QTime(19, 0));
    s.add("Toast", QTime(17, 0), "Best man", "Keep it short");
    s.add("Cake Cutting", QTime(19, 0));
    s.add("Last Dance", QTime(0, 30)); // after midnight: the start time's date, so first
    QCOMPARE(s.shownColumn(ScheduleModel::Name),
             QStringList({"Last Dance", "Toast", "Cake Cutting", "Dinner"}));
    QCOMPARE(s.shownColumn(ScheduleModel::DtScheduled),
             QStringList({"12:30 AM", "05:00 PM", "07:00 PM", "07:00 PM"}));
    QCOMPARE(s.grid->currentIndex().row(), 0); // the newly saved activity is current

    // The notes show as a tip one second after the pointer comes to rest on their cell; a
    // press on the grid drops a pending tip.
    auto* timer = s.page->findChild<QTimer*>("tipTimer");
    QVERIFY(timer);
    QCOMPARE(std::tuple(timer->interval(), timer->isSingleShot(), timer->isActive()),
             std::tuple(1000, true, false));
    const QModelIndex cell = s.grid->model()->index(1, ScheduleModel::MoreInfo);
    const QPoint at = s.grid->visualRect(cell).center();
    QTest::mouseMove(s.grid->viewport(), at);
    QVERIFY(timer->isActive());
    // The tip window is caught as it shows (the headless platform may take it down again at
    // once when it activates windows); the rest of the second is not waited for here.
    TipCatcher catcher;
    qApp->installEventFilter(&catcher);
    timer->setInterval(0);
    timer->start();
    QVERIFY(waitUntil([&] { return !catcher.shown.isEmpty(); }));
    qApp->removeEventFilter(&catcher);
    QCOMPARE(catcher.shown.first(), QString("Keep it short"));
    QTest::mouseMove(s.grid->viewport(), at + QPoint(1, 0));
    QVERIFY(timer->isActive());
    QTest::mousePress(s.grid->viewport(), Qt::LeftButton, {}, at);
    QVERIFY(!timer->isActive());

    // The grid model keeps the item model rules through an add and a removal, and its
    // read never blocks a save of another page.
    QAbstractItemModelTester tester(s.grid->model(),
                                    QAbstractItemModelTester::FailureReportingMode::QtTest);
    s.add("Garter/Bouquet Toss", QTime(21, 0));
    s.selectRow(1);
    QTest::keyClick(s.grid, Qt::Key_Delete); // as Remove
    QCOMPARE(s.shownColumn(ScheduleModel::Name),
             QStringList({"Last Dance", "Cake Cutting", "Dinner", "Garter/Bouquet Toss"}));
    QVERIFY(s.items().SaveMemItem("DIR", QString(5000, 'x')));

    // The database refuses: a message, the schedule as it was, the activity kept in the
    // dialog for another try.
    QVERIFY(execEvent({"CREATE TRIGGER refuseDelete BEFORE DELETE ON Activities "
                       "BEGIN SELECT RAISE(ABORT, 'disk full'); END",
                       "CREATE TRIGGER refuseInsert BEFORE INSERT ON Activities "
                       "BEGIN SELECT RAISE(ABORT, 'disk full'); END"}));
    s.selectRow(0);
    click(s.page, "cmdRemove");
    s.add("Sparklers", QTime(20, 0));
    QCOMPARE(s.root.messages.size(), 2);
    QVERIFY2(s.root.messages[0].text.contains("the disk is full"),
             qPrintable(s.root.messages[0].text));
    QCOMPARE(std::pair(s.root.messages[0].title, s.root.messages[1].title),
             std::pair(QString("Unable to remove"), QString("Unable to save")));
    QCOMPARE(s.shownColumn(ScheduleModel::Name),
             QStringList({"Last Dance", "Cake Cutting", "Dinner", "Garter/Bouquet Toss"}));
    QCOMPARE(textOf(s.openActivity(), "txtName"), QString("Sparklers"));
}

void TestPartySchedule::activityDialogRulesLifeCycleAndSongs()
{
    Schedule s;
    QDialog* dlg = s.openActivity();
    QVERIFY(dlg);
    QVERIFY(!s.page->isVisible()); // only the dialog is on the screen
    auto* name = child<QLineEdit>(dlg, "txtName");
    auto* time = child<QDateTimeEdit>(dlg, "Time1");
    QCOMPARE(std::pair(name->text(), time->time()),
             std::pair(QString("Arrival of Guests"), QTime(18, 0)));

    // The preset rule and the typed-name rule.
    auto* presets = child<QComboBox>(dlg, "cbActivity1");
    presets->setCurrentIndex(14); // "Other"
    QCOMPARE(name->text(), QString("Other"));
    type(dlg, "txtName", "Sparkler Exit");
    QCOMPARE(presets->currentIndex(), -1);

    // Escape cancels as Cancel does: nothing written, the texts kept for the next Add.
    type(dlg, "txtWho", "Everyone");
    QTest::keyClick(child<QWidget>(dlg, "txtWho"), Qt::Key_Escape);
    QCOMPARE(dlg->isVisible(), false);
    QCOMPARE(s.page->isVisible(), true);
    QCOMPARE(s.openActivity(), dlg);
    QCOMPARE(textsOf(dlg, {"txtName", "txtWho"}), QStringList({"Sparkler Exit", "Everyone"}));

    // An empty name is refused with its message; the dialog stays as it was.
    type(dlg, "txtName", "");
    click(dlg, "cmdOK");
    QCOMPARE(messagesShown(s.root), QStringList{"Name Required: Your activity must have a name."});
    QCOMPARE(std::pair(dlg->isVisible(), s.page->isVisible()), std::pair(true, false));

    // Cancel: back to the page, nothing written, the texts kept for the next Add; the next
    // Add after a Save shows the previous texts with the time reset to the start time.
    type(dlg, "txtName", " "); // a blank is a name
    click(dlg, "cmdCancel");
    QCOMPARE(std::pair(s.page->isVisible(), activityRows().size()), std::pair(true, qsizetype(0)));
    QCOMPARE(s.openActivity(), dlg);
    QCOMPARE(name->text(), QString(" "));
    time->setTime(QTime(20, 15));
    click(dlg, "cmdOK");
    QCOMPARE(activityRows().size(), 1);
    QCOMPARE(s.openActivity(), dlg);
    QCOMPARE(time->time(), QTime(18, 0));
    QCOMPARE(textsOf(dlg, {"txtName", "txtWho"}), QStringList({" ", "Everyone"}));

    // The close box ends the use like Cancel and the next use starts afresh.
    dlg->close();
    QCOMPARE(std::pair(s.page->isVisible(), activityRows().size()), std::pair(true, qsizetype(1)));
    QDialog* old = dlg;
    dlg = s.openActivity();
    QVERIFY(dlg);
    QVERIFY(dlg != old);
    QCOMPARE(textsOf(dlg, {"txtName", "txtWho"}), QStringList({"Arrival of Guests", ""}));

    // Songs: the picker answers as the song-pick dialog does, and records the caption it was given.
    QStringList captions;
    auto answer = [&](SongPick pick) {
        s.w.setSongPicker([&captions, pick](QWidget* opener, const QString& caption) {
            captions << opener->objectName() + ": " + caption;
            return pick;
        });
    };
    const QStringList song{"txtTitle", "txtArtist"};

    // A catalogue song; leaving the picker without a choice keeps it.
    answer(SongPick::picked({7, "Celebration", "Kool & the Gang", "3:38"}));
    click(dlg, "cmdPick");
    answer({});
    click(dlg, "cmdPick");
    QCOMPARE(textsOf(dlg, song), QStringList({"Celebration", "Kool & the Gang"}));
    QCOMPARE(captions.first(), QString("frmActivity: Select a song for your activity"));
    type(dlg, "txtName", "Grand Entrance");
    click(dlg, "cmdOK");

    // "I can't find the song" goes on to the custom song entry, owned by the activity
    // dialog: music provided (-3), then not supplied (-2).
    answer(SongPick::cantFind());
    for (const bool haveMusic : {true, false}) {
        QCOMPARE(s.openActivity(), dlg);
        whenModal("frmOddSong", [=](QWidget* odd) {
            QCOMPARE(odd->parentWidget(), static_cast<QWidget*>(dlg));
            type(odd, "txtName", "Our Song");
            type(odd, "txtArtist", "Cousin Joe");
            child<QCheckBox>(odd, "chkHaveMusic")->setChecked(haveMusic);
            click(odd, "cmdOK");
        });
        click(dlg, "cmdPick");
        type(dlg, "txtName", haveMusic ? "First Dance" : "Last Dance");
        click(dlg, "cmdOK");
    }
    // The custom entry left without a song keeps the song; Clear Song then removes it.
    QCOMPARE(s.openActivity(), dlg);
    whenModal("frmOddSong", [](QWidget* odd) { click(odd, "cmdCancel"); });
    click(dlg, "cmdPick");
    QCOMPARE(textOf(dlg, "txtTitle"), QString("Our Song"));
    click(dlg, "cmdClear");
    QCOMPARE(textsOf(dlg, song), QStringList({"", ""}));
    type(dlg, "txtName", "Dinner");
    click(dlg, "cmdOK");

    // The grid shows the four at the start time, by name, with the song pictures by key: cd
    // for -3, nocd for -2, none for a catalogue song or none.
    QCOMPARE(s.shownColumn(ScheduleModel::SongKey), QStringList({"", "-3", "7", "-2", ""}));
    QCOMPARE(s.shownColumn(ScheduleModel::SongTitle),
             QStringList({"", "Our Song", "Celebration", "Our Song", ""}));
    const QImage cd = QImage(s.root.mediaFolder() + "cd.bmp").convertToFormat(QImage::Format_RGB32),
                 nocd = QImage(s.root.mediaFolder() + "nocd.bmp")
                            .convertToFormat(QImage::Format_RGB32);
    QVERIFY(cd != nocd);
    QCOMPARE(s.shownColumn(ScheduleModel::Name),
             QStringList({"Dinner", "First Dance", "Grand Entrance", "Last Dance", " "}));
    const QList<QImage> pictures{QImage(), cd, QImage(), nocd};
    for (int r = 0; r < 4; ++r)
        QCOMPARE(s.grid->model()
                     ->index(r, ScheduleModel::SongTitle)
                     .data(Qt::DecorationRole)
                     .value<QPixmap>()
                     .toImage()
                     .convertToFormat(QImage::Format_RGB32),
                 pictures[r]);
}

QTEST_MAIN(TestPartySchedule)
#include "test_partyschedule.moc"
