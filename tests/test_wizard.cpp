#include "TestSupport.h"

#include "platform/PathMap.h"
#include "platform/ProgramEnd.h"
#include "store/KeyedItemStore.h"
#include "store/frmData.h"
#include "wizard/Wizard.h"

#include <QDir>
#include <QtTest>

class TestWizard : public QObject {
    Q_OBJECT
private slots:
    void startCreatesFoldersAndEventDatabase();
    void missingCatalogueEndsProgram();
    void damagedFilesEndInOrder();
    void unwritableRootEndsInOrder();
};

void TestWizard::startCreatesFoldersAndEventDatabase()
{
    TestRoot root;
    root.writeCatalogue({{"TotalTypes", "3"}});
    QVERIFY(!QFile::exists(PathMap::eventDatabase()));
    {
        Wizard w;
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
    Wizard again;
    QVERIFY(again.start());
    QCOMPARE(again.items().GetStrItem("BN", ""), QString("Anna"));
}

void TestWizard::missingCatalogueEndsProgram()
{
    TestRoot root;
    for (int run = 0; run < 2; ++run) { // on every start until the file is back
        Wizard w;
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
    Wizard w;
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
    Wizard w;
    QVERIFY(!w.start());
    QVERIFY(root.programEnded());
    QCOMPARE(root.messages.size(), 1);
    QVERIFY(root.messages[0].text.contains("cannot be created"));
}

QTEST_MAIN(TestWizard)
#include "test_wizard.moc"
