// The bride-and-groom and time-and-place pages where the whole road (test_road) does not
// reach: completeness, odd records, the shared dialog, a refusing database, the time rules.

#include "TestSupport.h"

#include "app/ZelWizard.h"
#include "platform/OleDate.h"
#include "platform/PathMap.h"
#include "store/KeyedItemStore.h"
#include "store/SqlConnection.h"
#include "wizard/Wizard.h"
#include "wizard/WizardPage.h"

#include <QDateTimeEdit>
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

// Runs statements on the real event database through a connection of its own.
bool execAll(const QStringList& statements)
{
    SqlConnection conn(PathMap::eventDatabase(), SqlConnection::ReadWrite);
    QSqlQuery q(conn.database());
    for (const QString& s : statements)
        if (!q.exec(s))
            return false;
    return true;
}

// Replaces the text of a box as a user does (a multi-line box is set whole).
void setBox(QWidget* form, const QString& name, const QString& value)
{
    if (auto* memo = form->findChild<QPlainTextEdit*>(name)) {
        memo->setPlainText(value);
        return;
    }
    auto* edit = child<QLineEdit>(form, name);
    edit->selectAll();
    QTest::keyClick(edit, Qt::Key_Backspace);
    QTest::keyClicks(edit, value);
}

QString boxText(QWidget* form, const QString& name)
{
    if (auto* memo = form->findChild<QPlainTextEdit*>(name))
        return memo->toPlainText();
    return child<QLineEdit>(form, name)->text();
}

// The boxes of the person dialog, and a person as their values.
const QStringList kPersonBoxes{"txtName",    "txtAge",         "txtPronounce", "txtAddress",
                               "txtPhone_0", "txtPhoneInfo_0", "txtPhone_1",   "txtPhoneInfo_1",
                               "txtPhone_2", "txtPhoneInfo_2", "txtEmail"};
using Person = QStringList;
const Person kBride{"Anna Lee", "29", "AH-na", "12 Elm St\nSpringfield", "", "work", "555-0102",
                    "cell",     "",   "other", "anna@example.com"};
const Person kGroom{"Ben Ross", "", "", "", "555-0201", "", "", "home", "555-0203", "pager", ""};

// Clicks `button` on `form` and runs `act` in the modal dialog `dialog` it opens (closing it
// afterwards should `act` fail half way); false when that dialog did not open.
bool inDialog(QWidget* form, const char* button, const char* dialog,
              const std::function<void(QWidget*)>& act)
{
    bool seen = false;
    whenModal(QString::fromLatin1(dialog), [&](QWidget* dlg) {
        seen = true;
        act(dlg);
        if (dlg->isVisible())
            dlg->close();
    });
    click(form, button);
    if (!seen)
        cancelModalWaits();
    return seen;
}

// Opens the person dialog with `button`, types `p` and saves; returns the dialog's caption.
QString enterPerson(QWidget* page, const char* button, const Person& p)
{
    QString caption;
    inDialog(page, button, "frmBGInfo", [&](QWidget* dlg) {
        caption = dlg->windowTitle();
        for (qsizetype i = 0; i < kPersonBoxes.size(); ++i)
            setBox(dlg, kPersonBoxes[i], p[i]);
        click(dlg, "cmdOK");
    });
    return caption;
}

// What the person dialog shows when opened with `button`, left with Cancel.
Person personShown(QWidget* page, const char* button)
{
    Person p;
    inDialog(page, button, "frmBGInfo", [&](QWidget* dlg) {
        for (const QString& box : kPersonBoxes)
            p << boxText(dlg, box);
        click(dlg, "cmdCancel");
    });
    return p;
}

// The start, end and setup times a page shows, and as stored (EST, EET, ERT).
QStringList shownTimes(QWidget* page)
{
    QStringList times;
    for (const char* t : {"Time1", "Time2", "Time3"})
        times << child<QDateTimeEdit>(page, t)->text();
    return times;
}

QStringList storedTimes()
{
    const auto strs = stored("Strs");
    return {strs["EST"], strs["EET"], strs["ERT"]};
}

struct Started {
    TestRoot root;
    std::unique_ptr<ZelWizard> wizard;
    Started()
    {
        root.writeCatalogue();
        wizard = std::make_unique<ZelWizard>();
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
    KeyedItemStore& items() { return wizard->items(); }
    // Stores text items as another run left them.
    void strs(std::initializer_list<std::pair<const char*, QString>> items)
    {
        for (const auto& [item, value] : items)
            wizard->items().SaveStrItem(item, value);
    }
};

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

} // namespace

class TestDetailPages : public QObject
{
    Q_OBJECT
  private slots:
    void completenessAndNameRule();
    void summaryTexts();
    void sharedDialogDoesNotLeak();
    void dialogLifeCycle();
    void failedSaveStaysOnPage();
    void defaultsAndUnreadableValues_data();
    void defaultsAndUnreadableValues();
    void startTimeRuleAcrossMidnight();
    void storedDatesAndOddValues();
    void facilitySummaryAndDialog();
    void inputsLabelled();
};

void TestDetailPages::completenessAndNameRule()
{
    Started s;
    WizardPage* page = s.show(1);
    QCOMPARE(text(page, "lblBride"), QString("\r\n\r\n"));
    QCOMPARE(text(page, "lblGroom"), QString("\r\n\r\n"));

    // Next reports the bride first, then the groom.
    click(page, "cmdNext");
    QCOMPARE(s.root.messages.size(), 1);
    QCOMPARE(s.root.messages[0].text,
             QString("Please complete Bride Information before going on..."));
    QCOMPARE(s.root.messages[0].title, QString("Bride Data Incomplete"));

    // Save is available only with a name; a name of one blank counts.
    QList<bool> saveStates;
    QString caption;
    QVERIFY(inDialog(page, "cmdBride", "frmBGInfo", [&](QWidget* dlg) {
        caption = dlg->windowTitle();
        auto* save = child<QPushButton>(dlg, "cmdOK");
        auto* name = child<QLineEdit>(dlg, "txtName");
        saveStates << save->isEnabled();
        QTest::keyClicks(name, " ");
        saveStates << save->isEnabled();
        QTest::keyClick(name, Qt::Key_Backspace);
        saveStates << save->isEnabled();
        QTest::keyClicks(name, " ");
        save->click();
    }));
    QCOMPARE(caption, QString("Bride Personal Info"));
    QCOMPARE(saveStates, (QList<bool>{false, true, false}));
    QCOMPARE(text(page, "lblBride"), QString(" \r\n\r\n"));
    QCOMPARE(page->focusWidget(), child<QWidget>(page, "cmdGroom"));

    click(page, "cmdNext");
    QCOMPARE(s.root.messages.size(), 2);
    QCOMPARE(s.root.messages[1].text,
             QString("Please complete Groom Information before going on..."));
    QCOMPARE(s.root.messages[1].title, QString("Groom Data Incomplete"));

    // Escape on this page opens the groom's dialog, not the quit question.
    whenModal("frmBGInfo", [&](QWidget* dlg) {
        caption = dlg->windowTitle();
        setBox(dlg, "txtName", "Ben");
        setBox(dlg, "txtPhoneInfo_0", ""); // a cleared kind is stored empty
        click(dlg, "cmdOK");
    });
    QApplication::setActiveWindow(page); // as the window manager does when the dialog hides
    QTest::keyClick(page, Qt::Key_Escape);
    QCOMPARE(caption, QString("Groom Personal Info"));
    QCOMPARE(page->focusWidget(), child<QWidget>(page, "cmdNext"));

    click(page, "cmdNext");
    QCOMPARE(s.root.messages.size(), 2);
    QVERIFY(s.wizard->loadedPage(2)->isVisible());

    // All 22 items reach the real file, even the empty ones; untouched kinds keep defaults.
    const auto strs = stored("Strs");
    for (const char* k : {"N", "AG", "PR", "P1", "P2", "P3", "P4", "P5", "P6", "EM"})
        QVERIFY2(strs.contains(QString("B") + k) && strs.contains(QString("G") + k), k);
    QVERIFY(stored("Mems").contains("BA") && stored("Mems").contains("GA"));
    QCOMPARE(
        QStringList({strs["BN"], strs["GN"], strs["BP4"], strs["BP5"], strs["BP6"], strs["GP4"]}),
        QStringList({" ", "Ben", "work", "home", "other", ""}));
}

void TestDetailPages::summaryTexts()
{
    Started s;
    // Stored values as another run left them; the page builds its summaries on load.
    // A kind without a number (GP5) is left out.
    s.strs({{"BN", "Anna"},
            {"BAG", "29"},
            {"BP1", "555-0101"},
            {"BP4", ""},
            {"GN", "<b>Ben</b>"},
            {"GPR", "ben"},
            {"GP5", "cell"},
            {"GP3", "555-0303"},
            {"GEM", "ben@example.com"}});
    s.items().SaveMemItem("BA", "12 Elm St\r\nSpringfield");
    WizardPage* page = s.show(1);
    QCOMPARE(text(page, "lblBride"),
             QString("Anna\r\n12 Elm St\r\nSpringfield\r\n\r\nAge = 29\r\n\r\n555-0101  ()"));
    QCOMPARE(text(page, "lblGroom"), QString("<b>Ben</b>\r\n\r\n(pronounced ben)\r\n\r\n"
                                             "555-0303  (other)\r\n\r\nEmail: ben@example.com"));
    // Names are shown as typed, never as markup.
    QCOMPARE(child<QLabel>(page, "lblGroom")->textFormat(), Qt::PlainText);

    // Phone 2 alone shows only its own line; the address keeps CR LF between its lines.
    enterPerson(page, "cmdBride", kBride);
    QCOMPARE(text(page, "lblBride"),
             QString("Anna Lee\r\n12 Elm St\r\nSpringfield\r\n\r\n(pronounced AH-na)\r\nAge = 29"
                     "\r\n\r\n555-0102  (cell)\r\n\r\nEmail: anna@example.com"));
}

void TestDetailPages::sharedDialogDoesNotLeak()
{
    Started s;
    WizardPage* page = s.show(1);
    QCOMPARE(enterPerson(page, "cmdBride", kBride), QString("Bride Personal Info"));

    // The one dialog, opened for the groom right after the bride, shows only the groom's
    // values, down to the empty boxes and the default kinds.
    QCOMPARE(personShown(page, "cmdGroom"),
             (Person{"", "", "", "", "", "work", "", "home", "", "other", ""}));
    QCOMPARE(s.wizard->state().Groom.Complete, false);
    QCOMPARE(enterPerson(page, "cmdGroom", kGroom), QString("Groom Personal Info"));

    // And back: each sees exactly their own, the address lines as typed.
    QCOMPARE(personShown(page, "cmdBride"), kBride);
    QCOMPARE(personShown(page, "cmdGroom"), kGroom);
    QCOMPARE(s.wizard->state().Bride.Address, QString("12 Elm St\r\nSpringfield"));
}

void TestDetailPages::dialogLifeCycle()
{
    Started s;
    WizardPage* page = s.show(1);
    enterPerson(page, "cmdBride", kBride);
    const QString summary = text(page, "lblBride");

    // Cancel (Escape) leaves the record untouched even after typing; the dialog stays hidden.
    QPointer<QWidget> first;
    QVERIFY(inDialog(page, "cmdBride", "frmBGInfo", [&](QWidget* dlg) {
        first = dlg;
        setBox(dlg, "txtName", "Someone Else");
        QTest::keyClick(dlg, Qt::Key_Escape);
    }));
    QCOMPARE(s.wizard->state().QueryAnswer, std::optional<qint16>(0));
    QCOMPARE(s.wizard->state().Bride.Name, kBride[0]);
    QCOMPARE(text(page, "lblBride"), summary);
    QVERIFY(first && !first->isVisible());

    // The close box discards the dialog and answers 0; the next opening builds a new one
    // whose Save is ready, since the record fills the name again.
    bool sameDialog = false; // Save and Cancel keep the same dialog
    QVERIFY(inDialog(page, "cmdBride", "frmBGInfo", [&](QWidget* dlg) {
        sameDialog = dlg == first.data();
        setBox(dlg, "txtName", "Someone Else");
        dlg->close();
    }));
    QVERIFY(sameDialog);
    QCOMPARE(s.wizard->state().QueryAnswer, std::optional<qint16>(0));
    QCOMPARE(s.wizard->state().Bride.Name, kBride[0]);
    QPointer<QWidget> second;
    bool saveEnabled = false;
    QVERIFY(inDialog(page, "cmdBride", "frmBGInfo", [&](QWidget* dlg) {
        second = dlg;
        saveEnabled = child<QPushButton>(dlg, "cmdOK")->isEnabled();
        click(dlg, "cmdOK");
    }));
    QVERIFY(second);
    QVERIFY(first.isNull());
    QVERIFY(saveEnabled);
    QCOMPARE(s.wizard->state().Bride.Name, kBride[0]);
}

void TestDetailPages::failedSaveStaysOnPage()
{
    Started s;
    WizardPage* page = s.show(1);
    enterPerson(page, "cmdBride", kBride);
    enterPerson(page, "cmdGroom", kGroom);
    QVERIFY(execAll({"CREATE TRIGGER full_i BEFORE INSERT ON Strs BEGIN "
                     "SELECT RAISE(ABORT, 'disk full'); END",
                     "CREATE TRIGGER full_u BEFORE UPDATE ON Strs BEGIN "
                     "SELECT RAISE(ABORT, 'disk full'); END"}));
    click(page, "cmdNext");
    QCOMPARE(s.root.messages.size(), 1);
    QCOMPARE(s.root.messages[0].title, QString("Unable to save"));
    QVERIFY(s.root.messages[0].text.contains("the disk is full"));
    QVERIFY(page->isVisible());
    QVERIFY(!s.wizard->loadedPage(2));
    QVERIFY(stored("Strs").isEmpty());
    // The answers are still there for the next try.
    QCOMPARE(s.wizard->state().Groom.Name, kGroom[0]);
    QVERIFY(execAll({"DROP TRIGGER full_i", "DROP TRIGGER full_u"}));
    click(page, "cmdNext");
    QCOMPARE(s.root.messages.size(), 1);
    QVERIFY(s.wizard->loadedPage(2)->isVisible());
    QCOMPARE(stored("Strs")["GN"], kGroom[0]);
}

void TestDetailPages::defaultsAndUnreadableValues_data()
{
    QTest::addColumn<QStringList>("storedItems"); // item, value, item, value ...
    QTest::addColumn<QString>("guests");
    QTest::newRow("nothing stored") << QStringList() << "50-60";
    // Values the pickers cannot take fall back to the defaults instead of failing; a guest
    // count longer than the box is kept whole.
    QTest::newRow("unreadable") << QStringList{"ED",  "not a date", "EST", "25:99",
                                               "EET", "9999999",    "NG",  QString(40, '9')}
                                << QString(40, '9');
}

void TestDetailPages::defaultsAndUnreadableValues()
{
    QFETCH(QStringList, storedItems);
    QFETCH(QString, guests);
    Started s;
    for (qsizetype i = 0; i + 1 < storedItems.size(); i += 2)
        s.items().SaveStrItem(storedItems[i], storedItems[i + 1]);
    WizardPage* page = s.show(2);
    auto* date = child<QDateTimeEdit>(page, "Date1");
    QCOMPARE(date->date(), QDate::currentDate());
    QCOMPARE(date->text(), QLocale(QLocale::English, QLocale::UnitedStates)
                               .toString(QDate::currentDate(), "dddd MM/dd/yy"));
    QCOMPARE(shownTimes(page), QStringList({"06:00 PM", "10:00 PM", "04:00 PM"}));
    QCOMPARE(child<QLineEdit>(page, "txtGuests")->text(), guests);
    QCOMPARE(text(page, "lblFacility"), QString("\r\n"));
    QCOMPARE(s.wizard->state().StartTime, 0.75);

    // Next writes what is shown in the stored forms; the date as a day count.
    click(page, "cmdNext");
    QCOMPARE(s.root.messages.size(), 0);
    const auto strs = stored("Strs");
    QCOMPARE(storedTimes(), QStringList({"6:00:00 PM", "10:00:00 PM", "4:00:00 PM"}));
    QCOMPARE(QStringList({strs["EFN2"], strs["NG"]}), QStringList({"office", guests}));
    QVERIFY(!strs["ED"].contains('/'));
    const std::optional<double> ed = OleDate::fromText(strs["ED"]);
    QVERIFY(ed);
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
    auto at = [&](int day, int h, int m = 0) {
        return QDateTime(epoch.addDays(day), QTime(h, m), Qt::UTC);
    };

    // Stepping the hour with the keyboard runs the rule: end four hours after, setup two before.
    t1->setFocus();
    t1->setCurrentSection(QDateTimeEdit::HourSection);
    QTest::keyClick(t1, Qt::Key_Up);
    QCOMPARE(shownTimes(page), QStringList({"07:00 PM", "11:00 PM", "05:00 PM"}));

    t1->setDateTime(at(0, 23));
    QCOMPARE(t2->dateTime(), at(1, 3));
    QCOMPARE(t3->dateTime(), at(0, 21));
    // Changing the end keeps start and setup.
    t2->setDateTime(at(1, 1, 30));
    QCOMPARE(t1->dateTime().time(), QTime(23, 0));
    QCOMPARE(t3->dateTime().time(), QTime(21, 0));
    click(page, "cmdNext");
    QCOMPARE(storedTimes(), QStringList({"11:00:00 PM", "12/31/1899 1:30:00 AM", "9:00:00 PM"}));
    // The schedule page offers the start time chosen here.
    QCOMPARE(OleDate::timePart(s.wizard->state().StartTime), QTime(23, 0));

    // A start just after midnight puts the setup on the evening before ...
    click(s.wizard->loadedPage(3), "cmdBack");
    t1->setDateTime(at(0, 1));
    QCOMPARE(t3->dateTime(), at(-1, 23));
    click(page, "cmdNext");
    QCOMPARE(storedTimes(), QStringList({"1:00:00 AM", "5:00:00 AM", "12/29/1899 11:00:00 PM"}));
    // ... and reads back as the same moment, in the next run.
    s.wizard.reset();
    ZelWizard again;
    QVERIFY(again.start());
    QCOMPARE(child<QDateTimeEdit>(again.page(2), "Time3")->dateTime(), at(-1, 23));
}

void TestDetailPages::storedDatesAndOddValues()
{
    // A stored date in the past is shown as stored, and the picker accepts dates back to it.
    Started s;
    s.strs({{"ED", "37366"}, {"EST", "7:30 PM"}});
    WizardPage* page = s.show(2);
    auto* date = child<QDateTimeEdit>(page, "Date1");
    QCOMPARE(date->text(), QString("Saturday 04/20/02"));
    QCOMPARE(date->minimumDate(), QDate(2002, 4, 20));
    date->setDate(QDate(2002, 4, 19));
    QCOMPARE(date->date(), QDate(2002, 4, 20));
    // The stored start is shown; end and setup keep their own stored values (defaults).
    QCOMPARE(shownTimes(page), QStringList({"07:30 PM", "10:00 PM", "04:00 PM"}));
    click(page, "cmdNext");
    QCOMPARE(stored("Strs")["ED"], QString("37366"));

    // A date chosen in the picker comes back as the same date; its time of day stays.
    s.items().SaveStrItem("ED", "37366.75");
    s.wizard.reset();
    {
        ZelWizard second;
        QVERIFY(second.start());
        second.page(2)->show();
        auto* d2 = child<QDateTimeEdit>(second.page(2), "Date1");
        QCOMPARE(d2->dateTime(), QDateTime(QDate(2002, 4, 20), QTime(18, 0), Qt::UTC));
        d2->setDate(QDate::currentDate().addDays(30));
        click(second.page(2), "cmdNext");
        QCOMPARE(stored("Strs")["ED"], OleDate::toDayCountText(OleDate::fromDateTime(
                                           QDate::currentDate().addDays(30), QTime(18, 0))));
    }
    ZelWizard third;
    QVERIFY(third.start());
    QCOMPARE(child<QDateTimeEdit>(third.page(2), "Date1")->date(),
             QDate::currentDate().addDays(30));
}

void TestDetailPages::facilitySummaryAndDialog()
{
    Started s;
    s.strs({{"EF", "Rose Hall"}, {"EFN1", "555-0300"}}); // a number without a contact
    s.items().SaveMemItem("EFD", "Exit 4\r\nSecond left");
    WizardPage* page = s.show(2);
    QCOMPARE(text(page, "lblFacility"), QString("Rose Hall\r\n"));
    auto* directions = child<QTextEdit>(page, "facility2");
    QCOMPARE(directions->toPlainText(), QString("Exit 4\nSecond left"));
    QVERIFY(directions->isReadOnly());

    // Cancel: the summary is rebuilt from the unchanged record.
    QVERIFY(inDialog(page, "cmdFacility", "frmFacInfo", [](QWidget* dlg) {
        setBox(dlg, "txtContact", "Mr. Park");
        click(dlg, "cmdCancel");
    }));
    QCOMPARE(text(page, "lblFacility"), QString("Rose Hall\r\n"));

    // A contact without a number: the contact line and the kind alone in parentheses.
    QString contactShown = "?";
    bool disabledWithoutName = false;
    bool caretAtEnd = false;
    QVERIFY(inDialog(page, "cmdFacility", "frmFacInfo", [&](QWidget* dlg) {
        contactShown = boxText(dlg, "txtContact"); // filled afresh from the record
        setBox(dlg, "txtName", "");
        disabledWithoutName = !child<QPushButton>(dlg, "cmdOK")->isEnabled();
        setBox(dlg, "txtName", "Rose Hall");
        setBox(dlg, "txtAddress", "1 Main St\nTown");
        setBox(dlg, "txtContact", "Mr. Park");
        setBox(dlg, "txtPhone", "");
        auto* kind = child<QLineEdit>(dlg, "txtPhoneInfo");
        kind->setCursorPosition(2);
        QTest::keyClick(kind, Qt::Key_X);
        caretAtEnd = kind->cursorPosition() == kind->text().size();
        setBox(dlg, "txtDirections", "Park behind");
        click(dlg, "cmdOK");
    }));
    QCOMPARE(contactShown, QString());
    QVERIFY(disabledWithoutName);
    QVERIFY(caretAtEnd);
    QCOMPARE(text(page, "lblFacility"),
             QString("Rose Hall\r\n1 Main St\r\nTown\r\n\r\nMr. Park\r\n  (ofxfice)"));
    QCOMPARE(directions->toPlainText(), QString("Park behind"));
    click(page, "cmdNext");
    const auto strs = stored("Strs");
    QCOMPARE(strs["EFN1"], QString());
    QCOMPARE(strs["EFN2"], QString("ofxfice"));
    QCOMPARE(stored("Mems")["EFA"], QString("1 Main St\r\nTown"));
}

void TestDetailPages::inputsLabelled()
{
    Started s;
    QStringList missing = unlabelled(s.show(2));
    for (const auto& [page, button, dialog] :
         {std::tuple{2, "cmdFacility", "frmFacInfo"}, std::tuple{1, "cmdBride", "frmBGInfo"}})
        QVERIFY(inDialog(s.show(page), button, dialog, [&](QWidget* dlg) {
            missing << unlabelled(dlg);
            click(dlg, "cmdCancel");
        }));
    QCOMPARE(missing, QStringList());
}

QTEST_MAIN(TestDetailPages)
#include "test_detailpages.moc"
