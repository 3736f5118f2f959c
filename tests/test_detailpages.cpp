// The bride-and-groom and time-and-place pages where the whole road (test_road) does not
// reach: completeness, odd records, the shared dialog, a refusing database, the time rules,
// and what a screen reader is told.

#include "PageTest.h"

#include "platform/OleDate.h"
#include "store/KeyedItemStore.h"
#include "wizard/WizardPage.h"

#include <QPointer>
#include <QTextEdit>

using namespace PageTest;

namespace
{

// The boxes of the person dialog, and a person as their values.
const QStringList kPersonBoxes{"txtName",    "txtAge",         "txtPronounce", "txtAddress",
                               "txtPhone_0", "txtPhoneInfo_0", "txtPhone_1",   "txtPhoneInfo_1",
                               "txtPhone_2", "txtPhoneInfo_2", "txtEmail"};
const QStringList kBride{"Anna Lee", "29",    "AH-na",           "12 Elm St\nSpringfield",
                         "",         "work",  "555-0102",        "cell",
                         "",         "other", "anna@example.com"};
const QStringList kGroom{"Ben Ross", "",     "",         "",      "555-0201", "",
                         "",         "home", "555-0203", "pager", ""};

// Opens the person dialog with `button`, types `p` and saves.
void enterPerson(QWidget* page, const char* button, const QStringList& p)
{
    QVERIFY(inDialog(page, button, "frmBGInfo", [&](QWidget* dlg) {
        for (qsizetype i = 0; i < kPersonBoxes.size(); ++i)
            type(dlg, kPersonBoxes[i], p[i]);
        click(dlg, "cmdOK");
    }));
}

// What the person dialog shows when opened with `button` (and its caption), left with Cancel.
QStringList personShown(QWidget* page, const char* button)
{
    QStringList p;
    inDialog(page, button, "frmBGInfo", [&](QWidget* dlg) {
        p = textsOf(dlg, kPersonBoxes) << dlg->windowTitle();
        click(dlg, "cmdCancel");
    });
    return p;
}

// The start, end and setup times.
const QStringList kTimes{"Time1", "Time2", "Time3"};

// The inputs of a form that neither a label (as buddy) nor an accessible name announces.
QStringList unlabelled(QWidget* form)
{
    QSet<QWidget*> buddies;
    for (QLabel* l : form->findChildren<QLabel*>())
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
    void sharedDialogLifeCycleAndFailedSave();
    void startTimeRuleAcrossMidnight();
    void summariesTimesFacilityAndScreenReaders();
};

void TestDetailPages::completenessAndNameRule()
{
    Started s;
    WizardPage* page = s.show(1);
    QCOMPARE(textsOf(page, {"lblBride", "lblGroom"}), QStringList({"\r\n\r\n", "\r\n\r\n"}));

    // Next reports the bride first, then the groom.
    click(page, "cmdNext");
    // Save is available only with a name; a name of one blank counts.
    QList<bool> saveStates;
    QVERIFY(inDialog(page, "cmdBride", "frmBGInfo", [&](QWidget* dlg) {
        for (const QString name : {"", " ", "", " "}) {
            saveStates << child<QPushButton>(dlg, "cmdOK")->isEnabled();
            type(dlg, "txtName", name);
        }
        click(dlg, "cmdOK");
    }));
    QCOMPARE(saveStates, (QList<bool>{false, false, true, false}));
    QCOMPARE(textOf(page, "lblBride"), QString(" \r\n\r\n"));
    QCOMPARE(page->focusWidget(), child<QWidget>(page, "cmdGroom"));
    click(page, "cmdNext");

    // Escape on this page opens the groom's dialog, not the quit question.
    QString caption;
    whenModal("frmBGInfo", [&](QWidget* dlg) {
        caption = dlg->windowTitle();
        type(dlg, "txtName", "Ben");
        type(dlg, "txtPhoneInfo_0", ""); // a cleared kind is stored empty
        click(dlg, "cmdOK");
    });
    QApplication::setActiveWindow(page); // as the window manager does when the dialog hides
    QTest::keyClick(page, Qt::Key_Escape);
    QCOMPARE(caption, QString("Groom Personal Info"));
    QCOMPARE(page->focusWidget(), child<QWidget>(page, "cmdNext"));

    click(page, "cmdNext");
    QCOMPARE(messagesShown(s.root),
             QStringList(
                 {"Bride Data Incomplete: Please complete Bride Information before going on...",
                  "Groom Data Incomplete: Please complete Groom Information before going on..."}));
    QVERIFY(s.w.loadedPage(2)->isVisible());
    // One round trip: the names and kinds as shown reach the file, untouched kinds too.
    QCOMPARE(storedItems("Strs", {"BN", "GN", "BP6", "GP4"}),
             QStringList({" ", "Ben", "other", ""}));
}

void TestDetailPages::sharedDialogLifeCycleAndFailedSave()
{
    Started s;
    WizardPage* page = s.show(1);
    // Phone 2 alone shows only its own line; the address keeps CR LF between its lines.
    enterPerson(page, "cmdBride", kBride);
    const QString summary = textOf(page, "lblBride");
    QCOMPARE(summary, QString("Anna Lee\r\n12 Elm St\r\nSpringfield\r\n\r\n(pronounced AH-na)\r\n"
                              "Age = 29\r\n\r\n555-0102  (cell)\r\n\r\nEmail: anna@example.com"));

    // The one dialog, opened for the groom right after the bride, shows only the groom's
    // values, down to the empty boxes and the default kinds; and back, each their own.
    QCOMPARE(personShown(page, "cmdGroom"), (QStringList{"", "", "", "", "", "work", "", "home", "",
                                                         "other", "", "Groom Personal Info"}));
    enterPerson(page, "cmdGroom", kGroom);
    QCOMPARE(personShown(page, "cmdBride"), QStringList(kBride) << "Bride Personal Info");
    QCOMPARE(personShown(page, "cmdGroom"), QStringList(kGroom) << "Groom Personal Info");

    // Cancel, Escape and the close box leave the record untouched even after typing; Save
    // and Cancel keep the dialog, the close box discards it and the next opening builds a
    // new one whose Save is ready, since the record fills the name again.
    QPointer<QWidget> first;
    QList<bool> same;
    for (const char* how : {"cmdCancel", "escape", "close", "cmdOK"}) {
        bool saveEnabled = false;
        QVERIFY(inDialog(page, "cmdBride", "frmBGInfo", [&](QWidget* dlg) {
            if (same.isEmpty())
                first = dlg;
            same << (dlg == first.data());
            saveEnabled = child<QPushButton>(dlg, "cmdOK")->isEnabled();
            if (QString(how) != "cmdOK")
                type(dlg, "txtName", "Someone Else");
            leave(dlg, how);
        }));
        QVERIFY2(saveEnabled, how);
        QCOMPARE(textOf(page, "lblBride"), summary);
    }
    QCOMPARE(same, (QList<bool>{true, true, true, false}));
    QVERIFY(first.isNull());

    // A refused save keeps the page and its answers for the next try; it is all or nothing.
    QVERIFY(execEvent({"CREATE TRIGGER full BEFORE UPDATE ON Strs BEGIN "
                       "SELECT RAISE(ABORT, 'disk full'); END",
                       "INSERT INTO Strs (Item, Usage) VALUES ('GN', 'Old')"}));
    click(page, "cmdNext");
    QCOMPARE(s.root.messages.value(0).title, QString("Unable to save"));
    QVERIFY2(s.root.messages[0].text.contains("the disk is full"),
             qPrintable(s.root.messages[0].text));
    QVERIFY(page->isVisible());
    QVERIFY(!s.w.loadedPage(2));
    QVERIFY(execEvent({"DROP TRIGGER full"}));
    click(page, "cmdNext");
    QCOMPARE(s.root.messages.size(), 1);
    QVERIFY(s.w.loadedPage(2)->isVisible());
}

void TestDetailPages::startTimeRuleAcrossMidnight()
{
    Started s;
    WizardPage* page = s.show(2);
    auto* t1 = child<QDateTimeEdit>(page, "Time1");
    auto* t2 = child<QDateTimeEdit>(page, "Time2");
    auto* t3 = child<QDateTimeEdit>(page, "Time3");
    auto at = [](int day, int h, int m = 0) {
        return QDateTime(QDate(1899, 12, 30).addDays(day), QTime(h, m), Qt::UTC);
    };

    // Nothing stored: today and the default times and guest count.
    QCOMPARE(child<QDateTimeEdit>(page, "Date1")->text(),
             QLocale(QLocale::English, QLocale::UnitedStates)
                 .toString(QDate::currentDate(), "dddd MM/dd/yy"));
    QCOMPARE(textsOf(page, kTimes), QStringList({"06:00 PM", "10:00 PM", "04:00 PM"}));
    QCOMPARE(textOf(page, "txtGuests"), QString("50-60"));

    // Stepping the hour with the keyboard runs the rule: end four hours after, setup two before.
    t1->setFocus();
    t1->setCurrentSection(QDateTimeEdit::HourSection);
    QTest::keyClick(t1, Qt::Key_Up);
    QCOMPARE(textsOf(page, kTimes), QStringList({"07:00 PM", "11:00 PM", "05:00 PM"}));

    t1->setDateTime(at(0, 23));
    QCOMPARE(t2->dateTime(), at(1, 3));
    QCOMPARE(t3->dateTime(), at(0, 21));
    // Changing the end keeps start and setup.
    t2->setDateTime(at(1, 1, 30));
    QCOMPARE(textsOf(page, kTimes), QStringList({"11:00 PM", "01:30 AM", "09:00 PM"}));
    click(page, "cmdNext");
    // The schedule page offers the start time chosen here.
    QCOMPARE(OleDate::timePart(s.w.state().StartTime), QTime(23, 0));

    // A start just after midnight puts the setup on the evening before, and reads back as
    // the same moment.
    click(s.w.loadedPage(3), "cmdBack");
    t1->setDateTime(at(0, 1));
    QCOMPARE(t3->dateTime(), at(-1, 23));
    click(page, "cmdNext");
    s.endRun();
    ZelWizard again;
    QVERIFY(again.start());
    QCOMPARE(child<QDateTimeEdit>(again.page(2), "Time3")->dateTime(), at(-1, 23));
}

void TestDetailPages::summariesTimesFacilityAndScreenReaders()
{
    Started s(QStringList{"dress1.jpg"});
    // Stored values as another run left them; a kind without a number (GP5) is left out, and
    // so is a facility number without a contact.
    const QStringList stored{"BN",  "Anna",      "BAG",  "29",         "BP1",  "555-0101",
                             "BP4", "",          "GN",   "<b>Ben</b>", "GPR",  "ben",
                             "GP5", "cell",      "GP3",  "555-0303",   "GEM",  "ben@example.com",
                             "EF",  "Rose Hall", "EFN1", "555-0300",   "MTP2", "False",
                             "ED",  "37366",     "EST",  "7:30 PM",    "NG",   QString(40, '9')};
    for (qsizetype i = 0; i < stored.size(); i += 2)
        QVERIFY(s.items().SaveStrItem(stored[i], stored[i + 1]));
    s.items().SaveMemItem("BA", "12 Elm St\r\nSpringfield");
    s.items().SaveMemItem("EFD", "Exit 4\r\nSecond left");
    const QString bride = "Anna\r\n12 Elm St\r\nSpringfield\r\n\r\nAge = 29\r\n\r\n555-0101  ()";
    const QString groom = "<b>Ben</b>\r\n\r\n(pronounced ben)\r\n\r\n555-0303  (other)\r\n\r\n"
                          "Email: ben@example.com";
    QCOMPARE(textsOf(s.show(1), {"lblBride", "lblGroom"}), QStringList({bride, groom}));
    // Names are shown as typed, never as markup.
    QCOMPARE(child<QLabel>(s.w.page(1), "lblGroom")->textFormat(), Qt::PlainText);

    // Every label that sums up answers keeps a short name and is read with its content.
    struct Case {
        int page;
        const char* label;
        QStringList heard;
    };
    for (const Case& c :
         {Case{1, "lblBride", {"Bride", QString(bride).replace("\r\n", "\n")}},
          Case{1, "lblGroom", {"Groom", QString(groom).replace("\r\n", "\n")}},
          Case{2, "lblFacility", {"Facility", "Rose Hall\n"}},
          Case{3, "imgLooks", {"Appearance picture", "Casual"}},
          Case{6, "lblPlayit2", {"Music to avoid", "AVOID THESE TYPES OF MUSIC:\nPopular 60's"}}})
        QCOMPARE(readOut(child<QWidget>(s.show(c.page), c.label)), c.heard);
    // The summary follows the answers. Every input is announced: a label names it as its
    // buddy, or it carries a name.
    enterPerson(s.w.page(1), "cmdGroom", kGroom);
    QVERIFY(
        readOut(child<QWidget>(s.w.page(1), "lblGroom"))[1].startsWith("Ben Ross\n\n\n555-0201"));
    QStringList missing;
    QVERIFY(inDialog(s.w.page(1), "cmdBride", "frmBGInfo", [&](QWidget* dlg) {
        missing << unlabelled(dlg);
        click(dlg, "cmdCancel");
    }));

    // The times: a stored date in the past is shown as stored and the picker then accepts
    // dates back to it; a guest count longer than the box is kept whole.
    WizardPage* page = s.show(2);
    missing << unlabelled(page);
    auto* date = child<QDateTimeEdit>(page, "Date1");
    date->setDate(date->minimumDate().addDays(-1));
    QCOMPARE(date->text(), QString("Saturday 04/20/02"));
    QCOMPARE(textsOf(page, kTimes), QStringList({"07:30 PM", "10:00 PM", "04:00 PM"}));
    QCOMPARE(textOf(page, "txtGuests"), QString(40, '9'));

    // The facility: directions shown read-only; Cancel rebuilds the summary from the
    // unchanged record.
    auto* directions = child<QTextEdit>(page, "facility2");
    QCOMPARE(directions->toPlainText(), QString("Exit 4\nSecond left"));
    QVERIFY(directions->isReadOnly());
    QVERIFY(inDialog(page, "cmdFacility", "frmFacInfo", [&](QWidget* dlg) {
        missing << unlabelled(dlg);
        type(dlg, "txtContact", "Mr. Park");
        click(dlg, "cmdCancel");
    }));
    QCOMPARE(missing, QStringList());
    QCOMPARE(textOf(page, "lblFacility"), QString("Rose Hall\r\n"));

    // A contact without a number: the contact line and the kind alone in parentheses.
    QStringList seen;
    QVERIFY(inDialog(page, "cmdFacility", "frmFacInfo", [&](QWidget* dlg) {
        seen << dlg->windowTitle() << textOf(dlg, "txtContact"); // filled afresh
        type(dlg, "txtName", "");
        seen << QString::number(child<QPushButton>(dlg, "cmdOK")->isEnabled());
        type(dlg, "txtName", "Rose Hall");
        type(dlg, "txtAddress", "1\u00A0Main St\nTown"); // a no-break space stays one
        type(dlg, "txtContact", "Mr. Park");
        type(dlg, "txtPhone", "");
        auto* kind = child<QLineEdit>(dlg, "txtPhoneInfo");
        kind->setCursorPosition(2);
        QTest::keyClick(kind, Qt::Key_X);
        seen << QString::number(kind->cursorPosition());
        type(dlg, "txtDirections", "Park behind");
        click(dlg, "cmdOK");
    }));
    QCOMPARE(seen, QStringList({"Facility Information", "", "0", "7"}));
    QCOMPARE(textOf(page, "lblFacility"),
             QString("Rose Hall\r\n1\u00A0Main St\r\nTown\r\n\r\nMr. Park\r\n  (ofxfice)"));
    QCOMPARE(directions->toPlainText(), QString("Park behind"));
    click(page, "cmdNext");
    QCOMPARE(storedItems("Strs", {"EFN1", "EFN2"}) << storedItem("Mems", "EFA"),
             QStringList({"", "ofxfice", "1\u00A0Main St\r\nTown"}));
}

QTEST_MAIN(TestDetailPages)
#include "test_detailpages.moc"
