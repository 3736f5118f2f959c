#include "TestSupport.h"

#include "pages/Menu5.h"
#include "platform/PathMap.h"
#include "store/KeyedItemStore.h"
#include "store/SqlConnection.h"
#include "wizard/Wizard.h"

#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSqlQuery>
#include <QTreeWidget>
#include <QtTest>

namespace
{

template <class T> T* child(QWidget* parent, const char* name)
{
    T* w = parent->findChild<T*>(QString::fromLatin1(name));
    if (!w)
        qFatal("no control %s", name);
    return w;
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

QTEST_MAIN(TestPartySchedule)
#include "test_partyschedule.moc"
