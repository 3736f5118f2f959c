// The wizard shell: start-up and its failures, the page frame and its navigation, the quit
// question, the fold of the finish page, the external modules and the first-run data loader.

#include "TestSupport.h"

#include "app/ZelWizard.h"
#include "platform/PathMap.h"
#include "store/KeyedItemStore.h"
#include "ui/ProgramEnd.h"
#include "wizard/FoldPlan.h"
#include "wizard/Menu1.h"
#include "wizard/MenuFinal.h"
#include "wizard/WizardPage.h"
#include "wizard/frmLoadData.h"

#include <QApplication>
#include <QCalendarWidget>
#include <QDateTimeEdit>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QSysInfo>
#include <QtTest>

namespace
{
const auto button = [](const QWidget* form, const char* name) {
    return child<QPushButton>(form, QString::fromLatin1(name));
};

// Answers the quit question when it opens: "Yes", "No" or its close box; counts the asks.
// The question opens centred on the page that asks it.
void answerQuit(const char* how, int* asked = nullptr)
{
    whenModal("FrmQuery", [=](QWidget* dlg) {
        for (QWidget* page : QApplication::topLevelWidgets())
            if (qobject_cast<WizardPage*>(page) && page->isVisible())
                QVERIFY((page->geometry().center() - dlg->geometry().center()).manhattanLength() <
                        3);
        if (asked)
            ++*asked;
        QCOMPARE(button(dlg, "cmdOK")->text() + button(dlg, "cmdCancel")->text(),
                 QString("&Yes&No"));
        if (QByteArray(how) == "close")
            dlg->close();
        else
            button(dlg, how)->click();
    });
}

// A copy of the built sample medium in a folder of its own, for the loader to read.
QString makeMedium(const TestRoot& root)
{
    const QString folder = root.path() + "/medium";
    const QDir built(qEnvironmentVariable("ZEL_BUILD_DIR") + "/medium");
    QDir().mkpath(folder);
    for (const QString& f : built.entryList(QDir::Files))
        QFile::copy(built.filePath(f), folder + "/" + f);
    return folder;
}

// Picks `medium` in the loader when it opens and presses Load; records whether it opened
// and how many pages had been loaded by then.
void loadFrom(const QString& medium, Wizard& w, int* pagesLoadedBefore = nullptr)
{
    whenModal("frmLoadData", [=, &w](QWidget* dlg) {
        if (pagesLoadedBefore)
            *pagesLoadedBefore = w.pageLoads();
        static_cast<frmLoadData*>(dlg)->addSource(medium, "Test medium", true);
        button(dlg, "cmdOK")->click();
    });
}
} // namespace

class TestWizard : public QObject
{
    Q_OBJECT
  private slots:
    void startUp_data();
    void startUp();
    void oneWizardPerEventFolder();
    void pagesNavigationAndQuit();
    void foldArithmetic();
    void externalModules();
    void loadingAgainKeepsTheEvent();
    void firstRunFlag_data();
    void firstRunFlag();
    void loaderFailures_data();
    void loaderFailures();
};

void TestWizard::startUp_data()
{
    QTest::addColumn<QString>("setup");
    QTest::addColumn<QString>("message"); // part of the message that ends the start; empty: none
    const std::tuple<const char*, const char*, const char*> rows[] = {
        {"event database created", "catalogue", ""},
        {"catalogue missing", "", "Missing data files"},
        {"event database damaged", "catalogue damaged", "event.mdb"},
        {"folder cannot be made", "blocked", "cannot be created"}};
    for (const auto& [tag, setup, message] : rows)
        QTest::newRow(tag) << QString(setup) << QString(message);
}

void TestWizard::startUp()
{
    QFETCH(QString, setup);
    QFETCH(QString, message);
    TestRoot root;
    if (setup.contains("catalogue"))
        root.writeCatalogue({{"TotalTypes", "3"}});
    const QString file = setup == "blocked" ? root.path() + "/orba" : PathMap::eventDatabase();
    if (setup.contains("damaged") || setup == "blocked")
        QVERIFY(writeFile(file, QByteArray(8192, '\x7f')));
    // Twice: a failure repeats on every start; answers stay for the next start.
    for (int run = 1; run <= 2; ++run) {
        ProgramEnd::reset();
        ZelWizard w;
        QCOMPARE(w.start(), message.isEmpty());
        QCOMPARE(root.programEnded(), !message.isEmpty());
        if (message.isEmpty()) {
            QCOMPARE(std::pair(root.messages.size(), QDir(PathMap::mediaFolder()).exists()),
                     std::pair(qsizetype(0), true));
            QCOMPARE(w.items().GetConfigItem("TotalTypes", "1"), QString("3"));
            QCOMPARE(w.items().GetStrItem("BN", ""), QString(run == 1 ? "" : "Anna"));
            QVERIFY(w.items().SaveStrItem("BN", "Anna"));
            continue;
        }
        QCOMPARE(root.messages.size(), run);
        const MessageBox::Request& m = root.messages.last();
        QVERIFY2(m.text.contains(message), qPrintable(m.text));
        QCOMPARE(m.title, QString("Unable to continue"));
        QCOMPARE(m.buttons, QMessageBox::StandardButtons(QMessageBox::Ok));
        QCOMPARE(w.pageLoads(), 0);
    }
    // A missing event database is made before the catalogue is looked for; a damaged one is
    // never replaced.
    if (setup != "blocked") {
        QVERIFY(QFile::exists(PathMap::eventDatabase()));
        QCOMPARE(QFileInfo(file).size() == 8192, setup.contains("damaged"));
    }
}

void TestWizard::oneWizardPerEventFolder()
{
    TestRoot root;
    root.writeCatalogue();
    // A lock left by a wizard that crashed (its process is gone) is taken over.
    qint64 pid = 0;
    QVERIFY(QProcess::startDetached("true", {}, {}, &pid));
    QVERIFY(waitUntil([pid] { return !QFile::exists(QString("/proc/%1").arg(pid)); }));
    const QByteArray lock =
        QByteArray::number(pid) + "\nzel\n" + QSysInfo::machineHostName().toUtf8();
    QVERIFY(writeFile(PathMap::eventDatabase() + ".lock", lock + "\n"));
    ZelWizard first;
    QVERIFY(first.start());
    QVERIFY(root.messages.isEmpty());

    // A second wizard on the same folder says so and ends without touching the files.
    const QByteArray before = fileBytes(PathMap::eventDatabase());
    ZelWizard second;
    QVERIFY(!second.start());
    QCOMPARE(std::pair(root.programEnded(), second.pageLoads()), std::pair(true, 0));
    QCOMPARE(root.messages.size(), 1);
    QVERIFY(root.messages[0].text.contains("already open for the event"));
    QCOMPARE(fileBytes(PathMap::eventDatabase()), before);
}

void TestWizard::pagesNavigationAndQuit()
{
    TestRoot root;
    root.writeCatalogue();
    ZelWizard w; // with the couple's names stored, so that the road can go on
    QVERIFY(w.startAndShow());
    QVERIFY(w.items().SaveStrItem("BN", "Anna"));
    QVERIFY(w.items().SaveStrItem("GN", "Ben"));
    QCOMPARE(visiblePage(w), w.loadedPage(0));
    QStringList order{"MenuFinal"};
    for (int i = 9; i >= 1; --i)
        order.prepend("Menu" + QString::number(i));
    // Where the keyboard starts: the page's first input, or Next; never Back (Menu4 was
    // left with Back once below, which leaves its Next with the focus).
    const QStringList firstFocus{"cmdNext", "cmdBride",  "Date1",  "cmdNext", "cmdAdd",
                                 "cmdAdd",  "cmdPlayIt", "cmdAdd", "cmdAdd",  "cmdReview"};
    for (int i = 0; i < order.size(); ++i) {
        WizardPage* page = visiblePage(w);
        // the one page shown, pages loaded
        QCOMPARE(std::pair(page ? page->objectName() : QString(), w.pageLoads()),
                 std::pair(order[i], i + 1));
        QCOMPARE(page->focusWidget()->objectName(), firstFocus[i]);
        // The close box asks the quit question and never closes the page alone.
        int asked = 0;
        answerQuit("cmdCancel", &asked);
        QVERIFY(!page->close());
        QCOMPARE(std::tuple(asked, page->isVisible(), root.programEnded()),
                 std::tuple(1, true, false));

        if (i == 2) { // Next and Back hand on the window's position
            page->move(140, 90);
            button(page, "cmdNext")->click();
            QCOMPARE(visiblePage(w)->pos(), page->pos());
            visiblePage(w)->move(220, 160);
            button(visiblePage(w), "cmdBack")->click();
            QCOMPARE(visiblePage(w), page);
            QCOMPARE(page->pos(), w.loadedPage(3)->pos());
            // A maximised page hands over its state; the next page comes back maximised.
            page->setWindowState(Qt::WindowMaximized);
            button(page, "cmdNext")->click();
            QCOMPARE(visiblePage(w)->isMaximized(), true);
            visiblePage(w)->setWindowState(Qt::WindowNoState);
            button(visiblePage(w), "cmdBack")->click();
            QCOMPARE(page->isMaximized(), false);
            // F4 and Alt+Down open the date box's calendar.
            auto* date = child<QDateTimeEdit>(page, "Date1");
            for (const auto& [key, mods] : {std::pair{Qt::Key_F4, Qt::NoModifier},
                                           std::pair{Qt::Key_Down, Qt::AltModifier}}) {
                QTest::keyClick(date, key, mods);
                auto* calendar = date->findChild<QCalendarWidget*>();
                QVERIFY(calendar);
                QVERIFY(waitUntil([&] { return calendar->isVisible(); }));
                calendar->window()->hide();
            }
        }
        for (int p = 0; i == 4 && p < 15; ++p) { // done and current in black, to come in grey
            auto* label = child<QLabel>(page, QString("lblProgress_%1").arg(p));
            QCOMPARE(label->font().bold(), p == 0 || p == 4);
            QCOMPARE(label->palette().color(QPalette::WindowText),
                     p > 4 ? QColor(128, 128, 128) : QColor(Qt::black));
        }
        if (i + 1 < order.size()) {
            QAbstractButton* next = button(visiblePage(w), "cmdNext");
            if (i == 3) { // Enter presses the focused button
                QCOMPARE(visiblePage(w)->focusWidget(), next);
                QTest::keyClick(next, Qt::Key_Return);
            } else {
                next->click();
            }
        }
    }
    QVERIFY(!child<QLabel>(w.loadedPage(0), "lblProgress_0")->isVisibleTo(w.loadedPage(0)));
    QCOMPARE(w.state().CurrentStep, qint16(10));

    // Back to the welcome page and forward again: nothing loads a second time, and Back
    // leaves the focus on the left page's Next for its next showing.
    for (int i = order.size() - 2; i >= 0; --i) {
        button(visiblePage(w), "cmdBack")->click();
        QCOMPARE(visiblePage(w)->objectName(), order[i]);
        QCOMPARE(w.loadedPage(i + 1)->focusWidget(), button(w.loadedPage(i + 1), "cmdNext"));
    }
    QVERIFY(!button(w.loadedPage(0), "cmdBack")->isEnabled());
    button(visiblePage(w), "cmdNext")->click();
    button(visiblePage(w), "cmdNext")->click();
    WizardPage* menu3 = visiblePage(w);
    const QString guests = storedItem("Strs", "NG");
    child<QLineEdit>(menu3, "txtGuests")->setText("80");
    // Cancel, and Escape as Cancel does, ask the question: "No" and its close box keep the
    // page and unload the question; "Yes" ends the program without saving the visible page.
    for (const char* how : {"cmdCancel", "close", "cmdOK"}) {
        answerQuit(how);
        if (QByteArray(how) == "cmdOK")
            QTest::keyClick(menu3, Qt::Key_Escape);
        else
            button(menu3, "cmdCancel")->click();
        QCOMPARE(visiblePage(w), menu3);
        QVERIFY(!w.welcomePage()->findChild<QDialog*>("FrmQuery"));
        QCOMPARE(root.programEnded(), QByteArray(how) == "cmdOK");
    }
    QVERIFY(guests != "80");
    QCOMPARE(storedItem("Strs", "NG"), guests);
    QCOMPARE(std::pair(w.pageLoads(), root.messages.size()), std::pair(10, qsizetype(0)));
}

void TestWizard::foldArithmetic()
{
    // 4000 twips high: height 0 after 50 steps of 80, then 1 one step later, centred; then
    // the line 10 high. Width 6000 reaches exactly 0 after 120 steps of 50, then 1.
    auto steps = FoldPlan::plan({1000, 2000, 6000, 4000}, 6000, 4000);
    QCOMPARE(steps.size(), 52 + 121);
    QCOMPARE(QList<qint16>({steps[49].height, steps[50].height, steps[51].height,
                            steps[52 + 119].width, steps[52 + 120].width}),
             QList<qint16>({0, 1, 10, 0, 1}));
    QCOMPARE(QList<double>({steps[49].top, steps[50].top, steps[52 + 120].left}),
             QList<double>({4000, 2000 + 3999 / 2.0, 1000 + 5999 / 2.0})); // halves are kept
    // A height that lands on exactly 1 stops there; the title removal changes the start.
    steps = FoldPlan::plan({0, 0, 100, 200}, 100, 161);
    QCOMPARE(QList<qint16>({steps[0].height, steps[1].height, steps[2].height}),
             QList<qint16>({81, 1, 10}));
    QCOMPARE(steps[0].top, (200 - 81) / 2.0);
    // A window too large for 16 bits is held at 32767 instead of wrapping.
    steps = FoldPlan::plan({0, 0, 100000, 100000}, 100000, 100000);
    QCOMPARE(std::pair(steps[0].height, steps[0].top), std::pair(qint16(32767 - 80), 40.0));
}

void TestWizard::externalModules()
{
    TestRoot root;
    root.writeCatalogue();
    ZelWizard w;
    QVERIFY(w.startAndShow());
    auto* final = static_cast<MenuFinal*>(w.page(9));

    // Neither utility program exists: the user is told and the wizard goes on.
    final->startUtilityModule();
    QCOMPARE(std::pair(root.messages.value(0).text, root.programEnded()),
             std::pair(QString("Unable to load ORBA Utility module"), false));
    QCOMPARE(root.messages.size(), 1);

    // A stand-in second utility program is started and the wizard ends.
    const QString marker = root.path() + "/started";
    QVERIFY(QDir().mkpath(QFileInfo(PathMap::utilityModule2()).path()));
    QVERIFY(writeFile(PathMap::utilityModule2(),
                      QString("#!/bin/sh\necho $0 > '%1'\n").arg(marker).toUtf8(),
                      QFile::ExeOwner));
    final->startUtilityModule();
    QVERIFY(root.programEnded());
    QVERIFY(waitUntil([&] { return QFileInfo(marker).size() > 0; }));
    ProgramEnd::reset();

    // The database module cannot be started: its message, then the end.
    w.welcomePage()->startDatabaseModule();
    QCOMPARE(root.messages.last().title, QString("System Error: Unable to load DB Module"));
    QVERIFY(root.programEnded());
}

void TestWizard::loadingAgainKeepsTheEvent()
{
    // Loading again over an installation replaces the data but never the event database.
    TestRoot root(TestRoot::EmptyHive);
    const QString medium = makeMedium(root);
    root.writeCatalogue();
    for (const QByteArray text : {"{\\rtf1 one}", "{\\rtf1 two}"}) {
        root.setReadyFlag("0");
        QVERIFY(writeFile(medium + "/hi.rtf", text));
        ZelWizard w;
        loadFrom(medium, w);
        QVERIFY(w.start());
        QCOMPARE(fileBytes(PathMap::mediaFolder() + "hi.rtf"), text);
        QCOMPARE(w.items().GetStrItem("BN", ""), QString(text.contains("two") ? "Anna" : ""));
        QVERIFY(w.items().SaveStrItem("BN", "Anna"));
    }
}

void TestWizard::firstRunFlag_data()
{
    // The flag counts as set by its leading number; without the settings library it
    // cannot be read, and an installed catalogue counts as the data being installed. A flag
    // that cannot be written ("<folder>": a folder takes its place) is reported.
    QTest::addColumn<QString>("flag");
    QTest::addColumn<bool>("library");
    QTest::addColumn<bool>("catalogue");
    QTest::addColumn<bool>("loader");
    const std::tuple<const char*, const char*, bool, bool, bool> rows[] = {
        {"1abc", "1abc", true, true, false},
        {"blank 2", " 2", true, true, false},
        {"abc", "abc", true, true, true},
        {"empty", "", true, true, true},
        {"0.4", "0.4", true, true, true},
        {"no library, catalogue", "1", false, true, false},
        {"no library, no catalogue", "1", false, false, true},
        {"flag cannot be written", "<folder>", true, false, true}};
    for (const auto& [tag, flag, library, catalogue, loader] : rows)
        QTest::newRow(tag) << QString(flag) << library << catalogue << loader;
}

void TestWizard::firstRunFlag()
{
    QFETCH(QString, flag);
    QFETCH(bool, library);
    QFETCH(bool, catalogue);
    QFETCH(bool, loader);
    if (!library)
        qputenv("ZEL_HIVELET_LIBRARY", "/nonexistent/libhivelet.so");
    const auto restore = qScopeGuard([] { qunsetenv("ZEL_HIVELET_LIBRARY"); });
    TestRoot root(TestRoot::EmptyHive);
    const QString medium = makeMedium(root);
    if (flag == "<folder>")
        QVERIFY(QDir().mkpath(root.readyFlagFile()));
    else
        root.setReadyFlag(flag);
    if (catalogue)
        root.writeCatalogue();
    ZelWizard w;
    int asked = -1;
    loadFrom(medium, w, &asked);
    QVERIFY(w.start());
    QCoreApplication::processEvents();
    cancelModalWaits();
    QVERIFY(QFile::exists(PathMap::catalogue()));
    QCOMPARE(asked, loader ? 0 : -1); // the loader comes before any page
    for (const QString& f : frmLoadData::dataFiles() + QStringList{"cd.bmp"}) {
        const QString to = (f == "songlist.mdb" ? PathMap::dbFolder() : PathMap::mediaFolder()) + f;
        if (loader)
            QVERIFY2(fileBytes(to) == fileBytes(medium + "/" + f), qPrintable(f));
    }
    if (flag == "<folder>") {
        QCOMPARE(root.messages.size(), 1);
        QVERIFY2(root.messages[0].text.contains("ZEL\\Data\\Ready cannot be written"),
                 qPrintable(root.messages[0].text));
    } else
        QCOMPARE(fileBytes(root.readyFlagFile()), library ? "1" : flag.toUtf8());
}

void TestWizard::loaderFailures_data()
{
    QTest::addColumn<QString>("catalogue"); // the catalogue's name on the medium
    QTest::addColumn<QString>("message");
    QTest::addColumn<QStringList>("copied");
    // A catalogue in other letters is not the catalogue: the loader says so and stays until
    // its close box ends the program. Without song.rtf two files are copied, then it fails.
    QTest::newRow("catalogue in other letters")
        << "SONGLIST.MDB"
        << "Unable to load data from this location (Data files not found)" << QStringList();
    QTest::newRow("song.rtf missing")
        << "songlist.mdb"
        << "Error during load. (Data Error)" << QStringList{"bye.rtf", "hi.rtf"};
}

void TestWizard::loaderFailures()
{
    QFETCH(QString, catalogue);
    QFETCH(QString, message);
    QFETCH(QStringList, copied);
    TestRoot root(TestRoot::EmptyHive);
    const QString medium = makeMedium(root);
    QVERIFY(catalogue == "songlist.mdb"
                ? QFile::remove(medium + "/song.rtf")
                : QFile::rename(medium + "/songlist.mdb", medium + "/" + catalogue));
    ZelWizard w;
    bool stayed = false;
    whenModal("frmLoadData", [&](QWidget* dlg) {
        static_cast<frmLoadData*>(dlg)->addSource(medium, "Test medium", true);
        button(dlg, "cmdOK")->click();
        stayed = dlg->isVisible() && button(dlg, "cmdOK")->isVisible();
        if (dlg->isVisible())
            dlg->close();
    });
    QVERIFY(!w.start());
    QCOMPARE(stayed, copied.isEmpty());
    QCOMPARE(std::tuple(root.programEnded(), w.pageLoads(), root.messages.size()),
             std::tuple(true, 0, qsizetype(1)));
    QCOMPARE(root.messages[0].text + " (" + root.messages[0].title + ")", message);
    // The flag stays unset, so the next start shows the loader again; the catalogue was not
    // copied, and no temporary file was left behind.
    QCOMPARE(std::pair(QFile::exists(root.readyFlagFile()), QFile::exists(PathMap::catalogue())),
             std::pair(false, false));
    QCOMPARE(QDir(PathMap::mediaFolder()).entryList(QDir::Files | QDir::Hidden), copied);
}

QTEST_MAIN(TestWizard)
#include "test_wizard.moc"
