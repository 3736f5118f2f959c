#include "TestSupport.h"

#include "platform/OleDate.h"
#include "platform/PathMap.h"
#include "store/KeyedItemStore.h"
#include "store/SqlConnection.h"
#include "wizard/Wizard.h"
#include "wizard/WizardPage.h"

#include <QDateTimeEdit>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QSqlQuery>
#include <QTextEdit>
#include <QtTest>

namespace
{

QString text(QWidget* parent, const char* name)
{
    return child<QLabel>(parent, name)->text();
}

void click(QWidget* parent, const char* name)
{
    child<QPushButton>(parent, name)->click();
}

// Every row of Strs or Mems in the real event database, read on a connection of its own.
QMap<QString, QString> stored(const QString& table)
{
    QMap<QString, QString> rows;
    SqlConnection conn(PathMap::eventDatabase(), SqlConnection::ReadOnly);
    QSqlQuery q(conn.database());
    if (!q.exec(QStringLiteral("SELECT Item, Usage FROM %1").arg(table)))
        qWarning("cannot read %s", qPrintable(table));
    while (q.next())
        rows.insert(q.value(0).toString(), q.value(1).toString());
    return rows;
}

// The boxes of the person dialog as a user types into them.
struct Person {
    QString name, age, pronounce, address, phone[3], kind[3], email;
};

void type(QLineEdit* edit, const QString& value)
{
    edit->selectAll();
    QTest::keyClick(edit, Qt::Key_Backspace);
    QTest::keyClicks(edit, value);
}

void typePerson(QWidget* dlg, const Person& p)
{
    type(child<QLineEdit>(dlg, "txtName"), p.name);
    type(child<QLineEdit>(dlg, "txtAge"), p.age);
    type(child<QLineEdit>(dlg, "txtPronounce"), p.pronounce);
    child<QPlainTextEdit>(dlg, "txtAddress")->setPlainText(p.address);
    for (int i = 0; i < 3; ++i) {
        type(dlg->findChild<QLineEdit*>(QStringLiteral("txtPhone_%1").arg(i)), p.phone[i]);
        type(dlg->findChild<QLineEdit*>(QStringLiteral("txtPhoneInfo_%1").arg(i)), p.kind[i]);
    }
    type(child<QLineEdit>(dlg, "txtEmail"), p.email);
}

Person dialogValues(QWidget* dlg)
{
    Person p;
    p.name = child<QLineEdit>(dlg, "txtName")->text();
    p.age = child<QLineEdit>(dlg, "txtAge")->text();
    p.pronounce = child<QLineEdit>(dlg, "txtPronounce")->text();
    p.address = child<QPlainTextEdit>(dlg, "txtAddress")->toPlainText();
    for (int i = 0; i < 3; ++i) {
        p.phone[i] = dlg->findChild<QLineEdit*>(QStringLiteral("txtPhone_%1").arg(i))->text();
        p.kind[i] = dlg->findChild<QLineEdit*>(QStringLiteral("txtPhoneInfo_%1").arg(i))->text();
    }
    p.email = child<QLineEdit>(dlg, "txtEmail")->text();
    return p;
}

const Person kBride{"Anna Lee",
                    "29",
                    "AH-na",
                    "12 Elm St\nSpringfield",
                    {"", "555-0102", ""},
                    {"work", "cell", "other"},
                    "anna@example.com"};
const Person kGroom{"Ben Ross", "", "", "", {"555-0201", "", "555-0203"}, {"", "home", "pager"},
                    ""};

// Opens the person dialog with `button`, checks its caption, types `p` and presses `answer`.
void enterPerson(QWidget* page, const char* button, const QString& caption, const Person& p,
                 const char* answer = "cmdOK")
{
    bool seen = false;
    whenModal(QStringLiteral("frmBGInfo"), [&](QWidget* dlg) {
        seen = dlg->windowTitle() == caption;
        typePerson(dlg, p);
        click(dlg, answer);
    });
    click(page, button);
    QVERIFY2(seen, qPrintable(caption));
}

struct Started {
    TestRoot root;
    std::unique_ptr<Wizard> wizard;
    Started()
    {
        root.writeCatalogue();
        wizard = std::make_unique<Wizard>();
        if (!wizard->start())
            qWarning("start-up failed");
    }
    WizardPage* show(int index)
    {
        WizardPage* p = wizard->page(index);
        p->show();
        QApplication::setActiveWindow(p);
        return p;
    }
};

} // namespace

class TestDetailPages : public QObject
{
    Q_OBJECT
  private slots:
    void brideAndGroomFromEmptyStore();
    void summaryTexts();
    void sharedDialogDoesNotLeak();
    void dialogLifeCycle();
    void backAndNextDoNotReload();
    void failedSaveStaysOnPage();
    void timeAndPlaceDefaults();
    void startTimeRuleAcrossMidnight();
    void storedDatesAndOddValues();
    void facilitySummaryAndDialog();
    void restartShowsEveryAnswer();
    void inputsLabelledAndInTabOrder();
};

void TestDetailPages::brideAndGroomFromEmptyStore()
{
    Started s;
    WizardPage* page = s.show(1);
    QCOMPARE(page->windowTitle(), QString("Bride and Groom"));
    QCOMPARE(text(page, "lblBride"), QString("\r\n\r\n"));
    QCOMPARE(text(page, "lblGroom"), QString("\r\n\r\n"));

    // Next reports the bride first, then the groom.
    click(page, "cmdNext");
    QCOMPARE(s.root.messages.size(), 1);
    QCOMPARE(s.root.messages[0].text,
             QString("Please complete Bride Information before going on..."));
    QCOMPARE(s.root.messages[0].title, QString("Bride Data Incomplete"));
    QCOMPARE(s.root.messages[0].buttons, QMessageBox::StandardButtons(QMessageBox::Ok));
    QCOMPARE(s.root.messages[0].icon, QMessageBox::NoIcon);

    // Save is available only with a name; a name of one blank counts.
    bool saveStates[3] = {};
    whenModal("frmBGInfo", [&](QWidget* dlg) {
        auto* save = child<QPushButton>(dlg, "cmdOK");
        saveStates[0] = save->isEnabled();
        QTest::keyClicks(child<QLineEdit>(dlg, "txtName"), " ");
        saveStates[1] = save->isEnabled();
        QTest::keyClick(child<QLineEdit>(dlg, "txtName"), Qt::Key_Backspace);
        saveStates[2] = save->isEnabled();
        QTest::keyClicks(child<QLineEdit>(dlg, "txtName"), " ");
        save->click();
    });
    click(page, "cmdBride");
    QCOMPARE(saveStates[0], false);
    QCOMPARE(saveStates[1], true);
    QCOMPARE(saveStates[2], false);
    QCOMPARE(text(page, "lblBride"), QString(" \r\n\r\n"));
    QCOMPARE(page->focusWidget(), child<QWidget>(page, "cmdGroom"));

    click(page, "cmdNext");
    QCOMPARE(s.root.messages.size(), 2);
    QCOMPARE(s.root.messages[1].text,
             QString("Please complete Groom Information before going on..."));
    QCOMPARE(s.root.messages[1].title, QString("Groom Data Incomplete"));

    // Escape on this page opens the groom's dialog, not the quit question.
    QString caption;
    whenModal("frmBGInfo", [&](QWidget* dlg) {
        caption = dlg->windowTitle();
        type(child<QLineEdit>(dlg, "txtName"), "Ben");
        type(child<QLineEdit>(dlg, "txtPhoneInfo_0"), ""); // a cleared kind is stored empty
        click(dlg, "cmdOK");
    });
    QApplication::setActiveWindow(page); // as the window manager does when the dialog hides
    QTest::keyClick(page, Qt::Key_Escape);
    QCOMPARE(caption, QString("Groom Personal Info"));
    QCOMPARE(s.root.messages.size(), 2);
    QCOMPARE(page->focusWidget(), child<QWidget>(page, "cmdNext"));

    click(page, "cmdNext");
    QCOMPARE(s.root.messages.size(), 2);
    QVERIFY(!page->isVisible());
    QVERIFY(s.wizard->loadedPage(2)->isVisible());

    // All 22 items reach the real file, with their defaults and the cleared kind.
    const auto strs = stored("Strs");
    const auto mems = stored("Mems");
    const QStringList strKeys{"N", "AG", "PR", "P1", "P2", "P3", "P4", "P5", "P6", "EM"};
    for (const QString prefix : {"B", "G"}) {
        for (const QString& k : strKeys)
            QVERIFY2(strs.contains(prefix + k), qPrintable(prefix + k));
        QVERIFY(mems.contains(prefix + "A"));
    }
    QCOMPARE(strs["BN"], QString(" "));
    QCOMPARE(strs["GN"], QString("Ben"));
    QCOMPARE(strs["BP4"], QString("work"));
    QCOMPARE(strs["BP6"], QString("other"));
    QCOMPARE(strs["GP4"], QString(""));
    QCOMPARE(strs["GP5"], QString("home"));
    QCOMPARE(mems["BA"], QString(""));
}

void TestDetailPages::summaryTexts()
{
    Started s;
    // Stored values as another run left them; the page builds its summaries on load.
    KeyedItemStore& st = s.wizard->items();
    st.SaveStrItem("BN", "Anna");
    st.SaveMemItem("BA", "12 Elm St\r\nSpringfield");
    st.SaveStrItem("BAG", "29");
    st.SaveStrItem("BP1", "555-0101");
    st.SaveStrItem("BP4", "");
    st.SaveStrItem("GN", "<b>Ben</b>");
    st.SaveStrItem("GPR", "ben");
    st.SaveStrItem("GP5", "cell"); // a kind without a number is left out
    st.SaveStrItem("GP3", "555-0303");
    st.SaveStrItem("GEM", "ben@example.com");
    WizardPage* page = s.show(1);
    QCOMPARE(text(page, "lblBride"),
             QString("Anna\r\n12 Elm St\r\nSpringfield\r\n\r\nAge = 29\r\n\r\n555-0101  ()"));
    QCOMPARE(text(page, "lblGroom"), QString("<b>Ben</b>\r\n\r\n(pronounced ben)\r\n\r\n"
                                             "555-0303  (other)\r\n\r\nEmail: ben@example.com"));
    // Names are shown as typed, never as markup.
    QCOMPARE(child<QLabel>(page, "lblGroom")->textFormat(), Qt::PlainText);

    // A person with only a name: the name followed by empty lines.
    enterPerson(page, "cmdBride", "Bride Personal Info", Person{"Cara", "", "", "", {}, {}, ""});
    QCOMPARE(text(page, "lblBride"), QString("Cara\r\n\r\n"));
    // Phone 2 alone shows only its own line; the address keeps CR LF between its lines.
    enterPerson(page, "cmdBride", "Bride Personal Info", kBride);
    QCOMPARE(text(page, "lblBride"),
             QString("Anna Lee\r\n12 Elm St\r\nSpringfield\r\n\r\n(pronounced AH-na)\r\nAge = 29"
                     "\r\n\r\n555-0102  (cell)\r\n\r\nEmail: anna@example.com"));
}

void TestDetailPages::sharedDialogDoesNotLeak()
{
    Started s;
    WizardPage* page = s.show(1);
    enterPerson(page, "cmdBride", "Bride Personal Info", kBride);

    // The groom's dialog right after the bride's shows only the groom's values, including
    // where they are empty.
    Person seen;
    whenModal("frmBGInfo", [&](QWidget* dlg) {
        seen = dialogValues(dlg);
        click(dlg, "cmdCancel");
    });
    click(page, "cmdGroom");
    QCOMPARE(seen.name, QString());
    QCOMPARE(seen.age, QString());
    QCOMPARE(seen.pronounce, QString());
    QCOMPARE(seen.address, QString());
    QCOMPARE(seen.phone[1], QString());
    QCOMPARE(seen.kind[1], QString("home"));
    QCOMPARE(seen.email, QString());
    QCOMPARE(s.wizard->state().Groom.Complete, false);

    // Back to the bride: her values, address lines as typed.
    whenModal("frmBGInfo", [&](QWidget* dlg) {
        seen = dialogValues(dlg);
        click(dlg, "cmdCancel");
    });
    click(page, "cmdBride");
    QCOMPARE(seen.name, kBride.name);
    QCOMPARE(seen.address, kBride.address);
    QCOMPARE(seen.kind[1], QString("cell"));
    QCOMPARE(s.wizard->state().Bride.Address, QString("12 Elm St\r\nSpringfield"));
}

void TestDetailPages::dialogLifeCycle()
{
    Started s;
    WizardPage* page = s.show(1);
    enterPerson(page, "cmdBride", "Bride Personal Info", kBride);
    const QString summary = text(page, "lblBride");

    // Cancel leaves the record untouched even after typing; the dialog stays (hidden).
    QPointer<QWidget> first;
    whenModal("frmBGInfo", [&](QWidget* dlg) {
        first = dlg;
        type(child<QLineEdit>(dlg, "txtName"), "Someone Else");
        QTest::keyClick(dlg, Qt::Key_Escape);
    });
    click(page, "cmdBride");
    QCOMPARE(s.wizard->state().QueryAnswer, std::optional<qint16>(0));
    QCOMPARE(s.wizard->state().Bride.Name, kBride.name);
    QCOMPARE(text(page, "lblBride"), summary);
    QVERIFY(first && !first->isVisible());

    // The close box discards the dialog and answers 0; the next opening builds a new one
    // whose kinds start from the defaults again before the record fills them.
    whenModal("frmBGInfo", [&](QWidget* dlg) {
        QCOMPARE(dlg, first.data()); // Save and Cancel keep the same dialog
        type(child<QLineEdit>(dlg, "txtName"), "Someone Else");
        dlg->close();
    });
    click(page, "cmdBride");
    QCOMPARE(s.wizard->state().QueryAnswer, std::optional<qint16>(0));
    QCOMPARE(s.wizard->state().Bride.Name, kBride.name);
    QPointer<QWidget> second;
    bool saveEnabled = false;
    whenModal("frmBGInfo", [&](QWidget* dlg) {
        second = dlg;
        saveEnabled = child<QPushButton>(dlg, "cmdOK")->isEnabled();
        click(dlg, "cmdOK");
    });
    click(page, "cmdBride");
    QVERIFY(second);
    QVERIFY(first.isNull());
    QVERIFY(saveEnabled); // the bride's name is in the box
    QCOMPARE(s.wizard->state().Bride.Name, kBride.name);
}

void TestDetailPages::backAndNextDoNotReload()
{
    Started s;
    WizardPage* page = s.show(1);
    enterPerson(page, "cmdBride", "Bride Personal Info", kBride);
    enterPerson(page, "cmdGroom", "Groom Personal Info", kGroom);
    click(page, "cmdNext");
    WizardPage* menu3 = s.wizard->loadedPage(2);
    QVERIFY(menu3 && menu3->isVisible());
    auto* guests = child<QLineEdit>(menu3, "txtGuests");
    guests->setText("120");
    const int loads = s.wizard->pageLoads();

    // Another writer changes the store; going back and forth must not reload either page.
    s.wizard->items().SaveStrItem("BN", "Changed Behind");
    s.wizard->items().SaveStrItem("NG", "7");
    click(menu3, "cmdBack");
    QVERIFY(page->isVisible());
    QCOMPARE(s.wizard->state().Bride.Name, kBride.name);
    enterPerson(page, "cmdGroom", "Groom Personal Info", {"Ben R.", "", "", "", {}, {}, ""});
    click(page, "cmdNext");
    QVERIFY(menu3->isVisible());
    QCOMPARE(guests->text(), QString("120"));
    QCOMPARE(s.wizard->pageLoads(), loads);
    // The second Next wrote every item again.
    QCOMPARE(stored("Strs")["BN"], kBride.name);
    QCOMPARE(stored("Strs")["GN"], QString("Ben R."));
    QCOMPARE(stored("Strs")["GP1"], QString()); // typed empty this time
}

void TestDetailPages::failedSaveStaysOnPage()
{
    Started s;
    WizardPage* page = s.show(1);
    enterPerson(page, "cmdBride", "Bride Personal Info", kBride);
    enterPerson(page, "cmdGroom", "Groom Personal Info", kGroom);
    {
        SqlConnection conn(PathMap::eventDatabase(), SqlConnection::ReadWrite);
        QSqlQuery q(conn.database());
        QVERIFY(q.exec("CREATE TRIGGER full_i BEFORE INSERT ON Strs BEGIN "
                       "SELECT RAISE(ABORT, 'disk full'); END"));
        QVERIFY(q.exec("CREATE TRIGGER full_u BEFORE UPDATE ON Strs BEGIN "
                       "SELECT RAISE(ABORT, 'disk full'); END"));
    }
    click(page, "cmdNext");
    QCOMPARE(s.root.messages.size(), 1);
    QCOMPARE(s.root.messages[0].title, QString("Unable to save"));
    QVERIFY(s.root.messages[0].text.contains("disk full"));
    QVERIFY(page->isVisible());
    QVERIFY(!s.wizard->loadedPage(2));
    QVERIFY(stored("Strs").isEmpty());
    // The answers are still there for the next try.
    QCOMPARE(s.wizard->state().Groom.Name, kGroom.name);
    {
        SqlConnection conn(PathMap::eventDatabase(), SqlConnection::ReadWrite);
        QSqlQuery q(conn.database());
        QVERIFY(q.exec("DROP TRIGGER full_i"));
        QVERIFY(q.exec("DROP TRIGGER full_u"));
    }
    click(page, "cmdNext");
    QCOMPARE(s.root.messages.size(), 1);
    QVERIFY(s.wizard->loadedPage(2)->isVisible());
    QCOMPARE(stored("Strs")["GN"], kGroom.name);
}

void TestDetailPages::timeAndPlaceDefaults()
{
    Started s;
    WizardPage* page = s.show(2);
    QCOMPARE(page->windowTitle(), QString("Event Information"));
    auto* date = child<QDateTimeEdit>(page, "Date1");
    QCOMPARE(date->date(), QDate::currentDate());
    QCOMPARE(date->displayFormat(), QString("dddd MM/dd/yy"));
    QCOMPARE(date->text(), QLocale(QLocale::English, QLocale::UnitedStates)
                               .toString(QDate::currentDate(), "dddd MM/dd/yy"));
    auto* t1 = child<QDateTimeEdit>(page, "Time1");
    auto* t2 = child<QDateTimeEdit>(page, "Time2");
    auto* t3 = child<QDateTimeEdit>(page, "Time3");
    QCOMPARE(t1->text(), QString("06:00 PM"));
    QCOMPARE(t2->text(), QString("10:00 PM"));
    QCOMPARE(t3->text(), QString("04:00 PM"));
    QCOMPARE(t1->toolTip(), QString("Starting time for your event"));
    QCOMPARE(t2->toolTip(), QString("Estimated ending time for your event"));
    QCOMPARE(t3->toolTip(), QString("Room available for equipment setup"));
    QCOMPARE(child<QLineEdit>(page, "txtGuests")->text(), QString("50-60"));
    QCOMPARE(text(page, "lblFacility"), QString("\r\n"));
    QCOMPARE(child<QTextEdit>(page, "facility2")->toPlainText(), QString());
    QCOMPARE(s.wizard->state().StartTime, 0.75);

    QString kind, caption;
    whenModal("frmFacInfo", [&](QWidget* dlg) {
        kind = child<QLineEdit>(dlg, "txtPhoneInfo")->text();
        caption = dlg->windowTitle();
        click(dlg, "cmdCancel");
    });
    click(page, "cmdFacility");
    QCOMPARE(kind, QString("office"));
    QCOMPARE(caption, QString("Facility Information"));

    // Next without changes writes the defaults in their stored forms.
    click(page, "cmdNext");
    const auto strs = stored("Strs");
    QCOMPARE(strs["EST"], QString("6:00:00 PM"));
    QCOMPARE(strs["EET"], QString("10:00:00 PM"));
    QCOMPARE(strs["ERT"], QString("4:00:00 PM"));
    QCOMPARE(strs["EFN2"], QString("office"));
    QCOMPARE(strs["NG"], QString("50-60"));
    QCOMPARE(strs["EF"], QString());
    QCOMPARE(stored("Mems")["EFD"], QString());
    const std::optional<double> ed = OleDate::fromText(strs["ED"]);
    QVERIFY(ed);
    QVERIFY(!strs["ED"].contains('/')); // a day count, not date text
    QCOMPARE(OleDate::datePart(*ed), QDate::currentDate());
}

void TestDetailPages::startTimeRuleAcrossMidnight()
{
    Started s;
    WizardPage* page = s.show(2);
    auto* t1 = child<QDateTimeEdit>(page, "Time1");
    auto* t2 = child<QDateTimeEdit>(page, "Time2");
    auto* t3 = child<QDateTimeEdit>(page, "Time3");
    const QDate epoch(1899, 12, 30);

    // Stepping the hour with the keyboard runs the rule.
    t1->setFocus();
    t1->setCurrentSection(QDateTimeEdit::HourSection);
    QTest::keyClick(t1, Qt::Key_Up);
    QCOMPARE(t1->text(), QString("07:00 PM"));
    QCOMPARE(t2->text(), QString("11:00 PM"));
    QCOMPARE(t3->text(), QString("05:00 PM"));

    t1->setDateTime(QDateTime(epoch, QTime(23, 0), Qt::UTC));
    QCOMPARE(t2->dateTime(), QDateTime(epoch.addDays(1), QTime(3, 0), Qt::UTC));
    QCOMPARE(t3->dateTime(), QDateTime(epoch, QTime(21, 0), Qt::UTC));
    // Changing the end keeps start and setup.
    t2->setDateTime(QDateTime(epoch.addDays(1), QTime(1, 30), Qt::UTC));
    QCOMPARE(t1->dateTime().time(), QTime(23, 0));
    QCOMPARE(t3->dateTime().time(), QTime(21, 0));
    click(page, "cmdNext");
    auto strs = stored("Strs");
    QCOMPARE(strs["EST"], QString("11:00:00 PM"));
    QCOMPARE(strs["EET"], QString("12/31/1899 1:30:00 AM"));
    QCOMPARE(strs["ERT"], QString("9:00:00 PM"));
    // The schedule page offers the start time chosen here.
    QCOMPARE(OleDate::timePart(s.wizard->state().StartTime), QTime(23, 0));

    // A start just after midnight puts the setup on the evening before.
    click(s.wizard->loadedPage(3), "cmdBack");
    t1->setDateTime(QDateTime(epoch, QTime(1, 0), Qt::UTC));
    QCOMPARE(t3->dateTime(), QDateTime(epoch.addDays(-1), QTime(23, 0), Qt::UTC));
    click(page, "cmdNext");
    strs = stored("Strs");
    QCOMPARE(strs["ERT"], QString("12/29/1899 11:00:00 PM"));
    QCOMPARE(strs["EET"], QString("5:00:00 AM"));
    // ... and reads back as the same moment.
    Wizard again;
    QVERIFY(again.start());
    auto* r3 = child<QDateTimeEdit>(again.page(2), "Time3");
    QCOMPARE(r3->dateTime(), QDateTime(epoch.addDays(-1), QTime(23, 0), Qt::UTC));
}

void TestDetailPages::storedDatesAndOddValues()
{
    {
        // A stored date in the past is shown as stored, and the picker accepts dates back to it.
        Started s;
        s.wizard->items().SaveStrItem("ED", "37366");
        s.wizard->items().SaveStrItem("EST", "7:30 PM");
        WizardPage* page = s.show(2);
        auto* date = child<QDateTimeEdit>(page, "Date1");
        QCOMPARE(date->date(), QDate(2002, 4, 20));
        QCOMPARE(date->text(), QString("Saturday 04/20/02"));
        QCOMPARE(date->minimumDate(), QDate(2002, 4, 20));
        date->setDate(QDate(2002, 4, 19));
        QCOMPARE(date->date(), QDate(2002, 4, 20));
        // The stored start is shown; end and setup keep their own stored values (defaults).
        QCOMPARE(child<QDateTimeEdit>(page, "Time1")->text(), QString("07:30 PM"));
        QCOMPARE(child<QDateTimeEdit>(page, "Time2")->text(), QString("10:00 PM"));
        QCOMPARE(child<QDateTimeEdit>(page, "Time3")->text(), QString("04:00 PM"));
        click(page, "cmdNext");
        QCOMPARE(stored("Strs")["ED"], QString("37366"));

        // A date chosen in the picker comes back as the same date; its time of day stays.
        s.wizard->items().SaveStrItem("ED", "37366.75");
        Wizard second;
        QVERIFY(second.start());
        second.page(2)->show();
        auto* d2 = child<QDateTimeEdit>(second.page(2), "Date1");
        QCOMPARE(d2->dateTime(), QDateTime(QDate(2002, 4, 20), QTime(18, 0), Qt::UTC));
        d2->setDate(QDate::currentDate().addDays(30));
        click(second.page(2), "cmdNext");
        const QString ed = stored("Strs")["ED"];
        QCOMPARE(ed, OleDate::toDayCountText(
                         OleDate::fromDateTime(QDate::currentDate().addDays(30), QTime(18, 0))));
        Wizard third;
        QVERIFY(third.start());
        QCOMPARE(child<QDateTimeEdit>(third.page(2), "Date1")->date(),
                 QDate::currentDate().addDays(30));
    }
    {
        // Values the pickers cannot take fall back to the defaults instead of failing.
        Started s;
        s.wizard->items().SaveStrItem("ED", "not a date");
        s.wizard->items().SaveStrItem("EST", "25:99");
        s.wizard->items().SaveStrItem("EET", "9999999");
        s.wizard->items().SaveStrItem("NG", QString(40, '9')); // longer than the box
        WizardPage* page = s.show(2);
        QCOMPARE(child<QDateTimeEdit>(page, "Date1")->date(), QDate::currentDate());
        QCOMPARE(child<QDateTimeEdit>(page, "Time1")->text(), QString("06:00 PM"));
        QCOMPARE(child<QDateTimeEdit>(page, "Time2")->text(), QString("10:00 PM"));
        QCOMPARE(child<QLineEdit>(page, "txtGuests")->text(), QString(40, '9'));
        click(page, "cmdNext");
        QCOMPARE(stored("Strs")["NG"], QString(40, '9'));
    }
}

void TestDetailPages::facilitySummaryAndDialog()
{
    Started s;
    s.wizard->items().SaveStrItem("EF", "Rose Hall");
    s.wizard->items().SaveStrItem("EFN1", "555-0300"); // a number without a contact
    s.wizard->items().SaveMemItem("EFD", "Exit 4\r\nSecond left");
    WizardPage* page = s.show(2);
    QCOMPARE(text(page, "lblFacility"), QString("Rose Hall\r\n"));
    auto* directions = child<QTextEdit>(page, "facility2");
    QCOMPARE(directions->toPlainText(), QString("Exit 4\nSecond left"));
    QVERIFY(directions->isReadOnly());

    // Cancel: the summary is rebuilt from the unchanged record.
    whenModal("frmFacInfo", [&](QWidget* dlg) {
        type(child<QLineEdit>(dlg, "txtContact"), "Mr. Park");
        click(dlg, "cmdCancel");
    });
    click(page, "cmdFacility");
    QCOMPARE(text(page, "lblFacility"), QString("Rose Hall\r\n"));

    // A contact without a number: the contact line and the kind alone in parentheses.
    bool caretAtEnd = false;
    bool disabledWithoutName = false;
    whenModal("frmFacInfo", [&](QWidget* dlg) {
        QCOMPARE(child<QLineEdit>(dlg, "txtContact")->text(), QString()); // filled afresh
        auto* name = child<QLineEdit>(dlg, "txtName");
        type(name, "");
        disabledWithoutName = !child<QPushButton>(dlg, "cmdOK")->isEnabled();
        type(name, "Rose Hall");
        child<QPlainTextEdit>(dlg, "txtAddress")->setPlainText("1 Main St\nTown");
        type(child<QLineEdit>(dlg, "txtContact"), "Mr. Park");
        type(child<QLineEdit>(dlg, "txtPhone"), "");
        auto* kind = child<QLineEdit>(dlg, "txtPhoneInfo");
        kind->setCursorPosition(2);
        QTest::keyClick(kind, Qt::Key_X);
        caretAtEnd = kind->cursorPosition() == kind->text().size();
        child<QPlainTextEdit>(dlg, "txtDirections")->setPlainText("Park behind");
        click(dlg, "cmdOK");
    });
    click(page, "cmdFacility");
    QVERIFY(disabledWithoutName);
    QVERIFY(caretAtEnd);
    QCOMPARE(text(page, "lblFacility"),
             QString("Rose Hall\r\n1 Main St\r\nTown\r\n\r\nMr. Park\r\n  (ofxfice)"));
    QCOMPARE(directions->toPlainText(), QString("Park behind"));
    click(page, "cmdNext");
    const auto strs = stored("Strs");
    const auto mems = stored("Mems");
    QCOMPARE(strs["EF"], QString("Rose Hall"));
    QCOMPARE(mems["EFA"], QString("1 Main St\r\nTown"));
    QCOMPARE(strs["EFC"], QString("Mr. Park"));
    QCOMPARE(strs["EFN1"], QString());
    QCOMPARE(strs["EFN2"], QString("ofxfice"));
    QCOMPARE(mems["EFD"], QString("Park behind"));
}

void TestDetailPages::restartShowsEveryAnswer()
{
    TestRoot root;
    root.writeCatalogue();
    QString bride, groom, facility, dateText, t1, t2, t3;
    {
        Wizard w;
        QVERIFY(w.start());
        WizardPage* page = w.page(1);
        page->show();
        enterPerson(page, "cmdBride", "Bride Personal Info", kBride);
        enterPerson(page, "cmdGroom", "Groom Personal Info", kGroom);
        bride = text(page, "lblBride");
        groom = text(page, "lblGroom");
        click(page, "cmdNext");
        WizardPage* m3 = w.loadedPage(2);
        QVERIFY(m3 && m3->isVisible());
        child<QDateTimeEdit>(m3, "Date1")->setDate(QDate::currentDate().addDays(200));
        child<QDateTimeEdit>(m3, "Time1")->setTime(QTime(17, 15));
        child<QDateTimeEdit>(m3, "Time3")->setTime(QTime(14, 45));
        whenModal("frmFacInfo", [](QWidget* dlg) {
            type(child<QLineEdit>(dlg, "txtName"), "Lakeside Inn");
            type(child<QLineEdit>(dlg, "txtContact"), "Dana");
            type(child<QLineEdit>(dlg, "txtPhone"), "555-0400");
            click(dlg, "cmdOK");
        });
        click(m3, "cmdFacility");
        type(child<QLineEdit>(m3, "txtGuests"), "about 80");
        facility = text(m3, "lblFacility");
        dateText = child<QDateTimeEdit>(m3, "Date1")->text();
        t1 = child<QDateTimeEdit>(m3, "Time1")->text();
        t2 = child<QDateTimeEdit>(m3, "Time2")->text();
        t3 = child<QDateTimeEdit>(m3, "Time3")->text();
        click(m3, "cmdNext");
        QVERIFY(root.messages.isEmpty());
    }
    Wizard w;
    QVERIFY(w.start());
    WizardPage* page = w.page(1);
    QCOMPARE(text(page, "lblBride"), bride);
    QCOMPARE(text(page, "lblGroom"), groom);
    QVERIFY(w.state().Bride.Complete && w.state().Groom.Complete);
    Person seen;
    whenModal("frmBGInfo", [&](QWidget* dlg) {
        seen = dialogValues(dlg);
        click(dlg, "cmdCancel");
    });
    page->show();
    click(page, "cmdBride");
    QCOMPARE(seen.pronounce, kBride.pronounce);
    QCOMPARE(seen.address, kBride.address);
    QCOMPARE(seen.kind[1], kBride.kind[1]);
    WizardPage* m3 = w.page(2);
    QCOMPARE(text(m3, "lblFacility"), facility);
    QCOMPARE(child<QDateTimeEdit>(m3, "Date1")->text(), dateText);
    QCOMPARE(child<QDateTimeEdit>(m3, "Time1")->text(), t1);
    QCOMPARE(child<QDateTimeEdit>(m3, "Time2")->text(), t2);
    QCOMPARE(child<QDateTimeEdit>(m3, "Time3")->text(), t3);
    QCOMPARE(t2, QString("09:15 PM"));
    QCOMPARE(t3, QString("02:45 PM"));
    QCOMPARE(child<QLineEdit>(m3, "txtGuests")->text(), QString("about 80"));
}

namespace
{
// Every input is announced: a label names it as its buddy, or it carries an accessible name.
QStringList unlabelled(QWidget* form)
{
    QSet<QWidget*> buddies;
    for (QLabel* l : form->findChildren<QLabel*>())
        if (l->buddy())
            buddies.insert(l->buddy());
    QStringList missing;
    for (QWidget* w : form->findChildren<QWidget*>()) {
        const bool input = qobject_cast<QLineEdit*>(w) || qobject_cast<QPlainTextEdit*>(w) ||
                           qobject_cast<QTextEdit*>(w) || qobject_cast<QDateTimeEdit*>(w);
        if (input && !w->objectName().startsWith("qt_") && !buddies.contains(w) &&
            w->accessibleName().isEmpty())
            missing << w->objectName();
    }
    return missing;
}

QStringList tabChain(QWidget* first, int count)
{
    QStringList names;
    QWidget* w = first;
    for (int i = 0; i < count; ++i, w = w->nextInFocusChain()) {
        while (!(w->focusPolicy() & Qt::TabFocus) || w->objectName().isEmpty() ||
               w->objectName().startsWith("qt_"))
            w = w->nextInFocusChain();
        names << w->objectName();
    }
    return names;
}
} // namespace

void TestDetailPages::inputsLabelledAndInTabOrder()
{
    Started s;
    WizardPage* m2 = s.show(1);
    QStringList bgMissing, bgOrder;
    bool caretAtEnd = false;
    whenModal("frmBGInfo", [&](QWidget* dlg) {
        bgMissing = unlabelled(dlg);
        bgOrder = tabChain(child<QWidget>(dlg, "txtName"), 13);
        // Alt+E (the e-mail label's mnemonic) reaches the e-mail box; Tab from a phone
        // enters its kind with the caret at the end and nothing selected.
        QApplication::setActiveWindow(dlg);
        QTest::keyClick(dlg, Qt::Key_E, Qt::AltModifier);
        const bool mnemonic = dlg->focusWidget() == child<QWidget>(dlg, "txtEmail");
        child<QLineEdit>(dlg, "txtPhone_1")->setFocus();
        QTest::keyClick(child<QLineEdit>(dlg, "txtPhone_1"), Qt::Key_Tab);
        auto* kind = child<QLineEdit>(dlg, "txtPhoneInfo_1");
        caretAtEnd = mnemonic && dlg->focusWidget() == kind && !kind->hasSelectedText() &&
                     kind->cursorPosition() == kind->text().size();
        click(dlg, "cmdCancel");
    });
    click(m2, "cmdBride");
    QCOMPARE(bgMissing, QStringList());
    QCOMPARE(bgOrder, (QStringList{"txtName", "txtAge", "txtPronounce", "txtAddress", "txtPhone_0",
                                   "txtPhoneInfo_0", "txtPhone_1", "txtPhoneInfo_1", "txtPhone_2",
                                   "txtPhoneInfo_2", "txtEmail", "cmdOK", "cmdCancel"}));
    QVERIFY(caretAtEnd);

    WizardPage* m3 = s.show(2);
    QCOMPARE(unlabelled(m3), QStringList());
    QCOMPARE(
        tabChain(child<QWidget>(m3, "Date1"), 7),
        (QStringList{"Date1", "Time1", "Time2", "Time3", "cmdFacility", "facility2", "txtGuests"}));
    QStringList facMissing, facOrder;
    whenModal("frmFacInfo", [&](QWidget* dlg) {
        facMissing = unlabelled(dlg);
        facOrder = tabChain(child<QWidget>(dlg, "txtName"), 8);
        click(dlg, "cmdCancel");
    });
    click(m3, "cmdFacility");
    QCOMPARE(facMissing, QStringList());
    QCOMPARE(facOrder, (QStringList{"txtName", "txtAddress", "txtContact", "txtPhone",
                                    "txtPhoneInfo", "txtDirections", "cmdOK", "cmdCancel"}));
}

QTEST_MAIN(TestDetailPages)
#include "test_detailpages.moc"
