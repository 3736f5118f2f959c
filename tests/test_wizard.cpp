#include "TestSupport.h"

#include "app/ZelWizard.h"
#include "platform/PathMap.h"
#include "store/KeyedItemStore.h"
#include "store/frmData.h"
#include "ui/ProgramEnd.h"
#include "wizard/FoldPlan.h"
#include "wizard/Menu1.h"
#include "wizard/MenuFinal.h"
#include "wizard/Wizard.h"
#include "wizard/WizardPage.h"
#include "wizard/frmLoadData.h"

#include <QLabel>
#include <QPushButton>

#include <QDir>
#include <QtTest>

class TestWizard : public QObject
{
    Q_OBJECT
  private slots:
    void startCreatesFoldersAndEventDatabase();
    void missingCatalogueEndsProgram();
    void damagedFilesEndInOrder();
    void unwritableRootEndsInOrder();
    void walkTheRoad();
    void progressList();
    void positionHandOver();
    void quitQuestion();
    void closeBoxAsksOnEveryPage();
    void finishFoldsAndEnds();
    void foldArithmetic();
    void externalModules();
    void firstRunLoadsTheData();
    void firstRunFlagReading();
    void loaderRefusesAndFails();
    void withoutSettingsLibrary();
};

namespace
{
QPushButton* button(QWidget* page, const char* name)
{
    return page->findChild<QPushButton*>(QString::fromLatin1(name));
}

// Starts the wizard with the bride's and groom's names already stored, so that the
// bride and groom page lets the road go on.
bool startWithCouple(Wizard& w)
{
    if (!w.startAndShow())
        return false;
    return w.items().SaveStrItem("BN", "Anna") && w.items().SaveStrItem("GN", "Ben");
}

// Moves on from the visible page with Next, answering what the page asks where needed.
void next(Wizard& w)
{
    button(visiblePage(w), "cmdNext")->click();
}
} // namespace

void TestWizard::startCreatesFoldersAndEventDatabase()
{
    TestRoot root;
    root.writeCatalogue({{"TotalTypes", "3"}});
    QVERIFY(!QFile::exists(PathMap::eventDatabase()));
    {
        ZelWizard w;
        QVERIFY(w.start());
        QVERIFY(root.messages.isEmpty());
        QVERIFY(!root.programEnded());
        QVERIFY(QDir(PathMap::mediaFolder()).exists());
        QVERIFY(QFile::exists(PathMap::eventDatabase()));
        QCOMPARE(w.state().CurrentStep, qint16(1));
        QCOMPARE(w.state().ProgressCaptions.size(), 15);
        QCOMPARE(w.state().ProgressCaptions[1], QString("Bride && Groom"));
        QCOMPARE(w.state().ProgressCaptions[7], QString(" Include"));
        QCOMPARE(w.items().GetConfigItem("TotalTypes", "1"), QString("3"));
        QVERIFY(w.items().SaveStrItem("BN", "Anna"));
    }
    // The next start keeps the existing event database and its answers.
    ZelWizard again;
    QVERIFY(again.start());
    QCOMPARE(again.items().GetStrItem("BN", ""), QString("Anna"));
}

void TestWizard::missingCatalogueEndsProgram()
{
    TestRoot root;
    for (int run = 0; run < 2; ++run) { // on every start until the file is back
        ZelWizard w;
        QVERIFY(!w.start());
        QVERIFY(root.programEnded());
        QCOMPARE(root.messages.size(), run + 1);
        QCOMPARE(root.messages.last().text, QString("Missing data files"));
        QCOMPARE(root.messages.last().title, QString("Unable to continue"));
        QCOMPARE(root.messages.last().buttons, QMessageBox::StandardButtons(QMessageBox::Ok));
        QCOMPARE(root.messages.last().icon, QMessageBox::NoIcon);
        // The empty event database was still created first.
        QVERIFY(QFile::exists(PathMap::eventDatabase()));
        ProgramEnd::reset();
    }
}

void TestWizard::damagedFilesEndInOrder()
{
    TestRoot root;
    root.writeCatalogue();
    QFile bad(root.dbFolder() + "event.mdb");
    QVERIFY(bad.open(QIODevice::WriteOnly));
    bad.write(QByteArray(8192, '\x7f'));
    bad.close();
    ZelWizard w;
    QVERIFY(!w.start());
    QVERIFY(root.programEnded());
    QCOMPARE(root.messages.size(), 1);
    QCOMPARE(root.messages[0].title, QString("Unable to continue"));
    QVERIFY(root.messages[0].text.contains("event.mdb"));
    QVERIFY(root.messages[0].text.contains("damaged"));
    QCOMPARE(QFileInfo(bad).size(), 8192); // never replaced or repaired
}

void TestWizard::unwritableRootEndsInOrder()
{
    TestRoot root;
    // The fixed folder's parent is a file: the folder cannot be made.
    QFile blocker(root.path() + "/orba");
    QVERIFY(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    ZelWizard w;
    QVERIFY(!w.start());
    QVERIFY(root.programEnded());
    QCOMPARE(root.messages.size(), 1);
    QVERIFY(root.messages[0].text.contains("cannot be created"));
}

void TestWizard::walkTheRoad()
{
    TestRoot root;
    root.writeCatalogue();
    ZelWizard w;
    QVERIFY(startWithCouple(w));
    QCOMPARE(visiblePage(w), w.loadedPage(0));
    QCOMPARE(w.pageLoads(), 1);
    const QStringList order{"Menu1", "Menu2", "Menu3", "Menu4", "Menu5",
                            "Menu6", "Menu7", "Menu8", "Menu9", "MenuFinal"};
    const QStringList titles{"Welcome to the Feteplan",
                             "Bride and Groom",
                             "Event Information",
                             "Your EmCee",
                             "Bridal Party",
                             "Event Schedule",
                             "Music",
                             "Songs to Include",
                             "Songs to Exclude",
                             "Feteplan Finished"};
    for (int i = 1; i < order.size(); ++i) {
        next(w);
        WizardPage* shown = visiblePage(w);
        QVERIFY2(shown, qPrintable(QString("no single page after Next to %1").arg(order[i])));
        QCOMPARE(shown->objectName(), order[i]);
        QCOMPARE(shown->windowTitle(), titles[i]);
        QCOMPARE(w.pageLoads(), i + 1);
    }
    QCOMPARE(w.state().CurrentStep, qint16(10));
    QCOMPARE(button(visiblePage(w), "cmdNext")->text(), QString("Finish"));

    // Back to the welcome page and forward again: nothing loads a second time.
    for (int i = order.size() - 2; i >= 0; --i) {
        button(visiblePage(w), "cmdBack")->click();
        QCOMPARE(visiblePage(w)->objectName(), order[i]);
        // Back leaves the focus on the left page's Next for its next showing.
        QCOMPARE(w.loadedPage(i + 1)->focusWidget(), button(w.loadedPage(i + 1), "cmdNext"));
    }
    QVERIFY(!button(w.loadedPage(0), "cmdBack")->isEnabled());
    for (int i = 1; i < order.size(); ++i)
        next(w);
    QCOMPARE(visiblePage(w)->objectName(), QString("MenuFinal"));
    QCOMPARE(w.pageLoads(), 10);
    QCOMPARE(w.state().CurrentStep, qint16(10));
    QVERIFY(root.messages.isEmpty());
}

void TestWizard::progressList()
{
    TestRoot root;
    root.writeCatalogue();
    ZelWizard w;
    QVERIFY(startWithCouple(w));
    for (int i = 1; i < 5; ++i)
        next(w);
    WizardPage* menu5 = visiblePage(w);
    QCOMPARE(menu5->objectName(), QString("Menu5"));
    QCOMPARE(w.state().CurrentStep, qint16(4));
    const QStringList captions{"Progress:",
                               "Bride && Groom",
                               "Your Event",
                               "Your EmCee",
                               "Bridal Party",
                               "Event Schedule",
                               "Music",
                               " Include",
                               " Exclude",
                               "",
                               "",
                               "",
                               "",
                               "",
                               ""};
    for (int i = 0; i < 15; ++i) {
        auto* label = menu5->findChild<QLabel*>(QString("lblProgress_%1").arg(i));
        QVERIFY(label);
        QCOMPARE(label->property("caption").toString(), captions[i]);
        QCOMPARE(label->font().bold(), i == 0 || i == 4);
        const QColor expected = i > 4 ? QColor(128, 128, 128) : QColor(Qt::black);
        QCOMPARE(label->palette().color(QPalette::WindowText), expected);
    }
    // The label shows the doubled ampersand as one, and keeps the indent of the list entries.
    QCOMPARE(menu5->findChild<QLabel*>("lblProgress_1")->text(), QString("Bride & Groom"));
    QCOMPARE(menu5->findChild<QLabel*>("lblProgress_7")->text(), QString(" Include"));
    // No progress list on the welcome and finish pages.
    QVERIFY(!w.loadedPage(0)->findChild<QLabel*>("lblProgress_0")->isVisibleTo(w.loadedPage(0)));
    QCOMPARE(w.loadedPage(0)->findChild<QLabel*>("lblTop_0")->text(), QString("Feteplan"));
    QCOMPARE(menu5->findChild<QLabel*>("lblTop_1")->text(),
             QString("Please list all of the attendants and special family members for the "
                     "Bride and Groom."));
}

void TestWizard::positionHandOver()
{
    TestRoot root;
    root.writeCatalogue();
    ZelWizard w;
    QVERIFY(startWithCouple(w));
    next(w);
    next(w);
    WizardPage* menu3 = visiblePage(w);
    QCOMPARE(menu3->objectName(), QString("Menu3"));
    menu3->move(140, 90);
    const QPoint moved = menu3->pos();
    next(w);
    WizardPage* menu4 = visiblePage(w);
    QCOMPARE(menu4->pos(), moved);
    QCOMPARE(menu4->size(), menu3->size());
    menu4->move(220, 160);
    const QPoint moved4 = menu4->pos();
    button(menu4, "cmdBack")->click();
    QCOMPARE(visiblePage(w), menu3);
    QCOMPARE(menu3->pos(), moved4);
}

void TestWizard::quitQuestion()
{
    TestRoot root;
    root.writeCatalogue();
    ZelWizard w;
    QVERIFY(startWithCouple(w));
    next(w);
    WizardPage* menu2 = visiblePage(w);

    // "No": the same page stays, the question is unloaded.
    QString asked;
    whenModal("FrmQuery", [&](QWidget* dlg) {
        asked = dlg->findChild<QLabel*>("Label1")->text();
        QCOMPARE(dlg->findChild<QPushButton*>("cmdOK")->text(), QString("Yes"));
        button(dlg, "cmdCancel")->click();
    });
    button(menu2, "cmdCancel")->click();
    QCOMPARE(asked, QString("Do you want to quit the Feteplan?"));
    QVERIFY(!root.programEnded());
    QCOMPARE(visiblePage(w), menu2);
    QVERIFY(!w.welcomePage()->findChild<QDialog*>("FrmQuery"));

    // Closing the question with its close box counts as "No".
    whenModal("FrmQuery", [](QWidget* dlg) { dlg->close(); });
    button(menu2, "cmdCancel")->click();
    QVERIFY(!root.programEnded());

    // Escape on a page asks as Cancel does; "Yes" ends the program without saving.
    next(w);
    WizardPage* menu3 = visiblePage(w);
    whenModal("FrmQuery", [](QWidget* dlg) { button(dlg, "cmdOK")->click(); });
    QTest::keyClick(menu3, Qt::Key_Escape);
    QVERIFY(root.programEnded());
}

void TestWizard::closeBoxAsksOnEveryPage()
{
    TestRoot root;
    root.writeCatalogue();
    ZelWizard w;
    QVERIFY(startWithCouple(w));
    for (int i = 0; i < Wizard::kPageCount; ++i) {
        WizardPage* page = visiblePage(w);
        int asked = 0;
        whenModal("FrmQuery", [&](QWidget* dlg) {
            ++asked;
            button(dlg, "cmdCancel")->click();
        });
        QVERIFY(!page->close()); // refused
        QCOMPARE(asked, 1);
        QVERIFY(page->isVisible());
        QVERIFY(!root.programEnded());
        if (i + 1 < Wizard::kPageCount)
            next(w);
    }
}

void TestWizard::finishFoldsAndEnds()
{
    TestRoot root;
    root.writeCatalogue();
    ZelWizard w;
    QVERIFY(startWithCouple(w));
    for (int i = 1; i < Wizard::kPageCount; ++i)
        next(w);
    WizardPage* final = visiblePage(w);
    QCOMPARE(final->objectName(), QString("MenuFinal"));
    button(final, "cmdNext")->click();
    QVERIFY(root.programEnded());
    QVERIFY(root.messages.isEmpty());
    QCOMPARE(final->windowTitle(), QString());
    QVERIFY(final->windowFlags() & Qt::FramelessWindowHint);
    QCOMPARE(final->width(), 1); // folded to a point
    // A close request after the end asks nothing.
    int asked = 0;
    whenModal("FrmQuery", [&](QWidget* dlg) {
        ++asked;
        button(dlg, "cmdCancel")->click();
    });
    final->close();
    QCOMPARE(asked, 0);
}

void TestWizard::foldArithmetic()
{
    // 4000 twips high: height 0 after 50 steps of 80, then 1 one step later; centred.
    auto steps = FoldPlan::plan({1000, 2000, 6000, 4000}, 6000, 4000);
    QCOMPARE(steps[49].height, qint16(0));
    QCOMPARE(steps[49].top, 2000 + 2000.0);
    QCOMPARE(steps[50].height, qint16(1));
    QCOMPARE(steps[50].top, 2000 + 3999 / 2.0); // halves are kept
    QCOMPARE(steps[51].height, qint16(10));
    // Width 6000 reaches exactly 0 after 120 steps of 50, then 1 and the fold stops.
    const int h0 = 52;
    QCOMPARE(steps[h0 + 119].width, qint16(0));
    QCOMPARE(steps[h0 + 120].width, qint16(1));
    QCOMPARE(steps[h0 + 120].left, 1000 + 5999 / 2.0);
    QCOMPARE(steps.size(), h0 + 121);

    // A height that lands on exactly 1 stops there; the title removal changes the start.
    steps = FoldPlan::plan({0, 0, 100, 200}, 100, 161);
    QCOMPARE(steps[0].height, qint16(81));
    QCOMPARE(steps[1].height, qint16(1));
    QCOMPARE(steps[2].height, qint16(10));
    QCOMPARE(steps[0].top, (200 - 81) / 2.0);

    // A window too large for 16 bits is held at 32767 instead of wrapping.
    steps = FoldPlan::plan({0, 0, 100000, 100000}, 100000, 100000);
    QCOMPARE(steps[0].height, qint16(32767 - 80));
    QCOMPARE(steps[0].top, 40.0);
    QCOMPARE(steps.last().width, qint16(1));
}

void TestWizard::externalModules()
{
    TestRoot root;
    root.writeCatalogue();
    ZelWizard w;
    QVERIFY(startWithCouple(w));
    auto* final = static_cast<MenuFinal*>(w.page(9));

    // Neither utility program exists: the user is told and the wizard goes on.
    final->startUtilityModule();
    QCOMPARE(root.messages.size(), 1);
    QCOMPARE(root.messages[0].text, QString("Unable to load ORBA Utility module"));
    QCOMPARE(root.messages[0].title, QString("File Not Found"));
    QVERIFY(!root.programEnded());

    // A stand-in second utility program is started and the wizard ends.
    const QString marker = root.path() + "/started";
    QVERIFY(QDir().mkpath(QFileInfo(PathMap::utilityModule2()).path()));
    QFile stand(PathMap::utilityModule2());
    QVERIFY(stand.open(QIODevice::WriteOnly));
    stand.write(QString("#!/bin/sh\necho $0 > '%1'\n").arg(marker).toUtf8());
    stand.close();
    stand.setPermissions(stand.permissions() | QFile::ExeOwner);
    final->startUtilityModule();
    QVERIFY(root.programEnded());
    QVERIFY(waitUntil([&] { return QFileInfo(marker).size() > 0; }));
    ProgramEnd::reset();

    // The database module: missing gives its message, then the end.
    w.welcomePage()->startDatabaseModule();
    QCOMPARE(root.messages.last().text,
             QString("The database module could not be loaded\n\nPlease re-install the software"));
    QCOMPARE(root.messages.last().title, QString("System Error: Unable to load DB Module"));
    QVERIFY(root.programEnded());
}

namespace
{
// A copy of the built sample medium in a folder of its own, for the loader to read.
QString makeMedium(const QString& folder)
{
    const QDir built(qEnvironmentVariable("ZEL_BUILD_DIR") + "/medium");
    QDir().mkpath(folder);
    for (const QString& f : built.entryList(QDir::Files))
        QFile::copy(built.filePath(f), folder + "/" + f);
    return folder;
}

QString readFile(const QString& file)
{
    QFile f(file);
    return f.open(QIODevice::ReadOnly) ? QString::fromUtf8(f.readAll()) : QString("<missing>");
}

// Picks `medium` in the loader when it opens and presses Load; records whether a page had
// been loaded by then.
void loadFrom(const QString& medium, Wizard& w, int* pagesLoadedBefore = nullptr)
{
    whenModal("frmLoadData", [=, &w](QWidget* dlg) {
        if (pagesLoadedBefore)
            *pagesLoadedBefore = w.pageLoads();
        auto* loader = static_cast<frmLoadData*>(dlg);
        QCOMPARE(loader->windowTitle(), QString("Load/Update Data"));
        QCOMPARE(loader->findChild<QLabel*>("lbl1")->text(),
                 QString("Please select the drive where ZEL DATA is located."));
        loader->addSource(medium, "Test medium", true);
        button(loader, "cmdOK")->click();
    });
}
} // namespace

void TestWizard::firstRunLoadsTheData()
{
    TestRoot root(TestRoot::EmptyHive);
    const QString medium = makeMedium(root.path() + "/medium");
    {
        ZelWizard w;
        int pagesBefore = -1;
        loadFrom(medium, w, &pagesBefore);
        QVERIFY(w.startAndShow());
        QCOMPARE(pagesBefore, 0); // the loader comes before any page
        QVERIFY(root.messages.isEmpty());
        for (const QString& f : frmLoadData::dataFiles()) {
            const QString to =
                (f == "songlist.mdb" ? PathMap::dbFolder() : PathMap::mediaFolder()) + f;
            QVERIFY2(QFileInfo(to).size() == QFileInfo(medium + "/" + f).size(), qPrintable(f));
        }
        QVERIFY(QFile::exists(PathMap::mediaFolder() + "cd.bmp"));
        QCOMPARE(readFile(root.readyFlagFile()), QString("1"));
        QVERIFY(w.items().SaveStrItem("BN", "Anna"));
    }
    // The next start goes straight to the welcome page.
    {
        ZelWizard w;
        QVERIFY(startWithoutLoader(w));
        QCOMPARE(visiblePage(w)->objectName(), QString("Menu1"));
    }
    // Loading again over an installation replaces the data but never the event database.
    root.setReadyFlag("0");
    QFile hi(medium + "/hi.rtf");
    QVERIFY(hi.open(QIODevice::Append));
    hi.write("\n");
    hi.close();
    ZelWizard w;
    loadFrom(medium, w);
    QVERIFY(w.start());
    QCOMPARE(QFileInfo(PathMap::mediaFolder() + "hi.rtf").size(),
             QFileInfo(medium + "/hi.rtf").size());
    QCOMPARE(w.items().GetStrItem("BN", ""), QString("Anna"));
}

void TestWizard::firstRunFlagReading()
{
    // "1abc" counts as installed by its leading number; "abc" and "" do not.
    const QList<QPair<QString, bool>> cases{
        {"1abc", true}, {" 2", true}, {"abc", false}, {"", false}, {"0.4", false}};
    for (const auto& [flag, installed] : cases) {
        TestRoot root(TestRoot::EmptyHive);
        const QString medium = makeMedium(root.path() + "/medium");
        root.setReadyFlag(flag);
        root.writeCatalogue();
        ZelWizard w;
        bool asked = false;
        whenModal("frmLoadData", [&](QWidget* dlg) {
            asked = true;
            static_cast<frmLoadData*>(dlg)->addSource(medium, "Test medium", true);
            button(dlg, "cmdOK")->click();
        });
        QVERIFY(w.start());
        QCoreApplication::processEvents();
        QVERIFY2(asked == !installed, qPrintable("flag " + flag));
        cancelModalWaits();
        QCOMPARE(readFile(root.readyFlagFile()), QString("1"));
    }
}

void TestWizard::loaderRefusesAndFails()
{
    // A catalogue in other letters is not the catalogue; the loader stays until closed.
    {
        TestRoot root(TestRoot::EmptyHive);
        const QString medium = makeMedium(root.path() + "/medium");
        QVERIFY(QFile::rename(medium + "/songlist.mdb", medium + "/SONGLIST.MDB"));
        ZelWizard w;
        whenModal("frmLoadData", [&](QWidget* dlg) {
            static_cast<frmLoadData*>(dlg)->addSource(medium, "Test medium", true);
            button(dlg, "cmdOK")->click();
            QVERIFY(dlg->isVisible());
            QVERIFY(button(dlg, "cmdOK")->isVisible());
            dlg->close(); // the close box ends the program
        });
        QVERIFY(!w.start());
        QCOMPARE(root.messages.size(), 1);
        QCOMPARE(root.messages[0].text, QString("Unable to load data from this location"));
        QCOMPARE(root.messages[0].title, QString("Data files not found"));
        QVERIFY(root.programEnded());
        QVERIFY(!QFile::exists(root.readyFlagFile()));
        QVERIFY(!QFile::exists(PathMap::mediaFolder() + "hi.rtf"));
    }
    // A medium without song.rtf: the first two files are copied, then the load fails.
    TestRoot root(TestRoot::EmptyHive);
    const QString medium = makeMedium(root.path() + "/medium");
    QVERIFY(QFile::remove(medium + "/song.rtf"));
    ZelWizard w;
    loadFrom(medium, w);
    QVERIFY(!w.start());
    QCOMPARE(root.messages.size(), 1);
    QCOMPARE(root.messages[0].text, QString("Error during load."));
    QCOMPARE(root.messages[0].title, QString("Data Error"));
    QVERIFY(root.programEnded());
    QVERIFY(QFile::exists(PathMap::mediaFolder() + "hi.rtf"));
    QVERIFY(QFile::exists(PathMap::mediaFolder() + "bye.rtf"));
    QVERIFY(!QFile::exists(PathMap::mediaFolder() + "logo.jpg"));
    QVERIFY(!QFile::exists(PathMap::catalogue()));
    QVERIFY(!QFile::exists(root.readyFlagFile())); // the next start shows the loader again
    // No page was ever loaded and no temporary file was left behind.
    QCOMPARE(w.pageLoads(), 0);
    QCOMPARE(QDir(PathMap::mediaFolder()).entryList(QDir::Files | QDir::Hidden),
             (QStringList{"bye.rtf", "hi.rtf"}));
}

void TestWizard::withoutSettingsLibrary()
{
    // Without the library the flag cannot be read: an installed catalogue counts as the
    // data being installed; without one the loader is shown.
    qputenv("ZEL_HIVELET_LIBRARY", "/nonexistent/libhivelet.so");
    {
        TestRoot root(TestRoot::EmptyHive);
        root.writeCatalogue();
        ZelWizard w;
        QVERIFY(startWithoutLoader(w));
    }
    {
        TestRoot root(TestRoot::EmptyHive);
        const QString medium = makeMedium(root.path() + "/medium");
        ZelWizard w;
        loadFrom(medium, w);
        QVERIFY(w.startAndShow());
        QVERIFY(QFile::exists(PathMap::catalogue()));
    }
    qunsetenv("ZEL_HIVELET_LIBRARY");
}

QTEST_MAIN(TestWizard)
#include "test_wizard.moc"
