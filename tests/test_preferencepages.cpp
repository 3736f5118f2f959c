// The entertainer guidelines page (Menu4) and the music preferences page (Menu7) with its
// dialog frmSongPref, driven through their real widgets on a real event database. The plain
// walk with answers, Back/Next and a restart is the road test's; these are the edges.
#include "TestSupport.h"

#include "app/ZelWizard.h"
#include "pages/Menu7.h"
#include "pages/frmSongPref.h"
#include "platform/PathMap.h"
#include "store/KeyedItemStore.h"
#include "store/SqlConnection.h"
#include "wizard/Wizard.h"

#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QSqlQuery>
#include <QtTest>

namespace
{

const QString kTypes = QStringLiteral("\r\nPopular 50's\r\nPopular 60's\r\nPopular 70's\r\n"
                                      "Popular 80's\r\nPopular 90's\r\nJazz/Big Band\r\nCountry\r\n"
                                      "Hip Hop/Rap\r\nPop/Top 40\r\nEthnic");
const QString kPlayHead = QStringLiteral("PLAY THESE TYPES OF MUSIC:");
const QString kAvoidHead = QStringLiteral("AVOID THESE TYPES OF MUSIC:");
const QString kNone = QStringLiteral("\r\n\r\n(none)");

// A started wizard on a fresh root with the page `index` shown; `pictures` are copied from
// the sample medium into the data folder first.
struct Page {
    TestRoot root;
    ZelWizard w;
    QWidget* p = nullptr;

    explicit Page(int index, const QStringList& pictures = {})
    {
        root.writeCatalogue();
        const QString source = qEnvironmentVariable("ZEL_SOURCE_DIR") + QStringLiteral("/data/");
        for (const QString& f : pictures)
            if (!QFile::copy(source + f, root.mediaFolder() + f))
                qFatal("cannot copy %s", qPrintable(source + f));
        if (!w.start())
            qFatal("the wizard did not start");
        m_index = index;
    }
    // Shows the page (after the test has put what it needs into the store).
    QWidget* show()
    {
        p = w.page(m_index);
        p->show();
        return p;
    }
    void next() { child<QPushButton>(p, "cmdNext")->click(); }

  private:
    int m_index = 0;
};

const QStringList kDresses{"dress1.jpg", "dress2.jpg", "dress3.jpg"};

// Clicks an option button on its indicator, as a user does.
void clickOption(QRadioButton* button)
{
    QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(8, button->height() / 2));
}

QRadioButton* option(QWidget* p, const QString& group, int i)
{
    return child<QRadioButton>(p, QStringLiteral("%1_%2").arg(group).arg(i));
}

// The checked option of a group of three; -2 when two are checked at once.
int checkedIndex(QWidget* p, const QString& group)
{
    int found = -1;
    for (int i = 0; i < 3; ++i)
        if (option(p, group, i)->isChecked())
            found = found == -1 ? i : -2;
    return found;
}

QString shownPicture(QWidget* p)
{
    return child<QLabel>(p, "imgLooks")->property("pictureFile").toString();
}

bool pictureVisible(QWidget* p)
{
    return !child<QLabel>(p, "imgLooks")->pixmap().isNull();
}

// The Play (0) or Avoid (1) button of music type `n` (1 to 10) in the dialog.
QRadioButton* musicOption(QWidget* dlg, int n, int avoid)
{
    return child<QRadioButton>(dlg, QStringLiteral("Option%1_%2").arg(n).arg(avoid));
}

QString playList(QWidget* p)
{
    return child<QLabel>(p, "lblPlayit1")->text();
}
QString avoidList(QWidget* p)
{
    return child<QLabel>(p, "lblPlayit2")->text();
}

// Opens the preference dialog from the page and runs `action` on it; a failed check inside
// `action` returns early, so the dialog is then cancelled here rather than left waiting.
// Returns whether the dialog opened.
bool inSongPref(QWidget* page, std::function<void(QWidget*)> action)
{
    bool opened = false;
    whenModal("frmSongPref", [&opened, action](QWidget* dlg) {
        opened = true;
        action(dlg);
        if (dlg->isVisible())
            QMetaObject::invokeMethod(dlg, "reject", Qt::QueuedConnection);
    });
    child<QPushButton>(page, "cmdPlayIt")->click();
    return opened;
}

} // namespace

class TestPreferencePages : public QObject
{
    Q_OBJECT
  private slots:
    // Menu4
    void guidelinesDefaultsPictureAndSave();
    void guidelinesStoredIndexes_data();
    void guidelinesStoredIndexes();
    void guidelinesMissingPictures();
    void guidelinesFailedSaveStays();
    // Menu7 and frmSongPref
    void musicEmptyStoreAndAllAvoided();
    void musicCancelLeavesFlags();
    void musicCloseBoxRebuildsDialog();
    void musicStoredFlags_data();
    void musicStoredFlags();
};

// ---- Entertainer guidelines page ----

void TestPreferencePages::guidelinesDefaultsPictureAndSave()
{
    Page g(3, kDresses);
    QWidget* p = g.show();
    QVERIFY(QTest::qWaitForWindowExposed(p));
    QCOMPARE(checkedIndex(p, "opLooks"), 0);
    QCOMPARE(checkedIndex(p, "opAttitude"), 1);
    QCOMPARE(shownPicture(p), QString("dress1.jpg"));
    QVERIFY(waitUntil([&] { return pictureVisible(p); }));
    // The picture is scaled without distortion: 180 x 240 keeps its 3:4 shape.
    const QPixmap casual = child<QLabel>(p, "imgLooks")->pixmap();
    const QSizeF logical = QSizeF(casual.size()) / casual.devicePixelRatio();
    QVERIFY(logical.width() > 20);
    QVERIFY(qAbs(logical.width() / logical.height() - 0.75) < 0.02);

    // Selecting an option by mouse shows its picture at once; nothing is written before Next.
    clickOption(option(p, "opLooks", 2));
    QCOMPARE(checkedIndex(p, "opLooks"), 2);
    QCOMPARE(shownPicture(p), QString("dress3.jpg"));
    QVERIFY(pictureVisible(p));
    QVERIFY(child<QLabel>(p, "imgLooks")->pixmap().cacheKey() != casual.cacheKey());
    QVERIFY(storedItem("Strs", "DL").isNull());

    // Next writes all three items, the untouched ones in their default forms (an empty
    // comment is an empty text, not a missing item).
    g.next();
    QVERIFY(g.root.messages.isEmpty());
    QCOMPARE(storedItem("Strs", "DL"), QString("2"));
    QCOMPARE(storedItem("Strs", "DA"), QString("1"));
    QVERIFY(!storedItem("Mems", "DN").isNull());
    QCOMPARE(storedItem("Mems", "DN"), QString(""));

    // Back shows the page as it was left: the store is not read again.
    QVERIFY(g.w.items().SaveStrItem("DL", "1"));
    child<QPushButton>(g.w.page(4), "cmdBack")->click();
    QVERIFY(p->isVisible());
    QCOMPARE(checkedIndex(p, "opLooks"), 2);
    QCOMPARE(shownPicture(p), QString("dress3.jpg"));
}

void TestPreferencePages::guidelinesStoredIndexes_data()
{
    QTest::addColumn<QString>("dl");
    QTest::addColumn<QString>("da");
    QTest::addColumn<int>("looksIndex");
    QTest::addColumn<int>("attitudeIndex");
    QTest::addColumn<QString>("picture");
    QTest::newRow("1.6 rounds up to Formal, no number is 0") << "1.6"
                                                             << "lots" << 2 << 0 << "dress3.jpg";
    QTest::newRow("halves go to the even neighbour") << "0.5"
                                                     << "2.5" << 0 << 2 << "dress1.jpg";
    QTest::newRow("1.5 goes up to 2") << "1.5"
                                      << " 1.5x" << 2 << 2 << "dress3.jpg";
    QTest::newRow("leading blanks and trailing text") << "  1 (semi)"
                                                      << "\t0" << 1 << 0 << "dress2.jpg";
    QTest::newRow("out of range gives the defaults") << "3"
                                                     << "-1" << 0 << 1 << "dress1.jpg";
    QTest::newRow("2.5 rounds to 2, 2.6 to 3 which names none") << "2.5"
                                                                << "2.6" << 2 << 1 << "dress3.jpg";
    QTest::newRow("huge numbers give the defaults") << "1e9"
                                                    << "-99999" << 0 << 1 << "dress1.jpg";
    QTest::newRow("empty texts read as 0") << ""
                                           << "" << 0 << 0 << "dress1.jpg";
}

void TestPreferencePages::guidelinesStoredIndexes()
{
    QFETCH(QString, dl);
    QFETCH(QString, da);
    QFETCH(int, looksIndex);
    QFETCH(int, attitudeIndex);
    QFETCH(QString, picture);
    Page g(3, kDresses);
    QVERIFY(g.w.items().SaveStrItem("DL", dl));
    QVERIFY(g.w.items().SaveStrItem("DA", da));
    QWidget* p = g.show();
    QCOMPARE(checkedIndex(p, "opLooks"), looksIndex);
    QCOMPARE(checkedIndex(p, "opAttitude"), attitudeIndex);
    QCOMPARE(shownPicture(p), picture);
    QVERIFY(g.root.messages.isEmpty());
    QVERIFY(!g.root.programEnded());
    // Next writes the index that is shown, never the odd stored text.
    g.next();
    QCOMPARE(storedItem("Strs", "DL"), QString::number(looksIndex));
    QCOMPARE(storedItem("Strs", "DA"), QString::number(attitudeIndex));
}

void TestPreferencePages::guidelinesMissingPictures()
{
    Page g(3, {"dress2.jpg"});
    // An unreadable picture counts as missing.
    QFile bad(g.root.mediaFolder() + "dress3.jpg");
    QVERIFY(bad.open(QIODevice::WriteOnly));
    bad.write("not a picture");
    bad.close();
    QWidget* p = g.show();
    QVERIFY(QTest::qWaitForWindowExposed(p));
    QCOMPARE(checkedIndex(p, "opLooks"), 0);
    QCOMPARE(shownPicture(p), QString());
    QVERIFY(!pictureVisible(p));
    option(p, "opLooks", 1)->click();
    QCOMPARE(shownPicture(p), QString("dress2.jpg"));
    QVERIFY(pictureVisible(p));
    // Going from a picture to a missing one takes the old picture away.
    option(p, "opLooks", 2)->click();
    QCOMPARE(shownPicture(p), QString());
    QVERIFY(!pictureVisible(p));
    QVERIFY(g.root.messages.isEmpty());
    g.next();
    QCOMPARE(storedItem("Strs", "DL"), QString("2"));
    QVERIFY(!g.root.programEnded());
}

void TestPreferencePages::guidelinesFailedSaveStays()
{
    Page g(3);
    {
        SqlConnection conn(PathMap::eventDatabase(), SqlConnection::ReadWrite);
        QSqlQuery q(conn.database());
        QVERIFY(q.exec("CREATE TRIGGER full_disk BEFORE INSERT ON Mems "
                       "BEGIN SELECT RAISE(ABORT, 'disk full'); END"));
    }
    QWidget* p = g.show();
    child<QPlainTextEdit>(p, "txtHotNotes")->setPlainText("keep me");
    g.next();
    QCOMPARE(g.root.messages.size(), 1);
    QCOMPARE(g.root.messages[0].title, QString("Unable to save"));
    QVERIFY(p->isVisible());
    QVERIFY(!g.w.loadedPage(4));
    QCOMPARE(child<QPlainTextEdit>(p, "txtHotNotes")->toPlainText(), QString("keep me"));
}

// ---- Music preferences page ----

void TestPreferencePages::musicEmptyStoreAndAllAvoided()
{
    Page g(6);
    auto* p = qobject_cast<Menu7*>(g.show());
    QVERIFY(p);
    QCOMPARE(playList(p), kPlayHead + kTypes);
    QCOMPARE(avoidList(p), kAvoidHead + kNone);
    // The summary boxes grow with their text: all eleven lines fit.
    auto* play = child<QLabel>(p, "lblPlayit1");
    QVERIFY(play->height() >= play->sizeHint().height());
    // More than 10 characters cannot be typed into a station box.
    auto* station = child<QLineEdit>(p, "txtRadio_0");
    station->setFocus();
    QTest::keyClicks(station, "KISS-FM 101.5");
    QCOMPARE(station->text(), QString("KISS-FM 10"));
    QVERIFY(!p->songPrefDialog()); // created on first use only

    QVERIFY(inSongPref(p, [](QWidget* dlg) {
        for (int n = 1; n <= 10; ++n)
            QVERIFY(musicOption(dlg, n, 0)->isChecked() && !musicOption(dlg, n, 1)->isChecked());
        // A pair excludes within its own row only.
        clickOption(musicOption(dlg, 1, 1));
        QVERIFY(!musicOption(dlg, 1, 0)->isChecked());
        QVERIFY(musicOption(dlg, 2, 0)->isChecked());
        for (int n = 2; n <= 10; ++n)
            clickOption(musicOption(dlg, n, 1));
        child<QPushButton>(dlg, "cmdOK")->click();
    }));
    QCOMPARE(g.w.state().QueryAnswer, std::optional<qint16>(1));
    QCOMPARE(playList(p), kPlayHead + kNone);
    QCOMPARE(avoidList(p), kAvoidHead + kTypes);
    // Save hides the dialog and keeps it; nothing is written before Next.
    QPointer<frmSongPref> dialog = p->songPrefDialog();
    QVERIFY(dialog && !dialog->isVisible());
    QVERIFY(storedItem("Strs", "MTP1").isNull());

    g.next();
    QVERIFY(g.root.messages.isEmpty());
    for (int n = 1; n <= 10; ++n)
        QCOMPARE(storedItem("Strs", QStringLiteral("MTP%1").arg(n)), QString("False"));
    // An empty station is stored as an empty text, not left out.
    QVERIFY(!storedItem("Strs", "FRS2").isNull());
    QCOMPARE(storedItem("Strs", "FRS2"), QString(""));

    // The next opening reuses the hidden dialog and shows the saved choices.
    child<QPushButton>(g.w.loadedPage(7), "cmdBack")->click();
    QVERIFY(inSongPref(p, [&](QWidget* dlg) {
        QCOMPARE(dlg, static_cast<QWidget*>(dialog.data()));
        for (int n = 1; n <= 10; ++n)
            QVERIFY(musicOption(dlg, n, 1)->isChecked());
        clickOption(musicOption(dlg, 7, 0));
        child<QPushButton>(dlg, "cmdOK")->click();
    }));
    QCOMPARE(playList(p), kPlayHead + "\r\nCountry");
    QCOMPARE(avoidList(p), kAvoidHead + QString(kTypes).remove("\r\nCountry"));
}

void TestPreferencePages::musicCancelLeavesFlags()
{
    Page g(6);
    QVERIFY(g.w.items().SaveStrItem("MTP3", "False"));
    QVERIFY(g.w.items().SaveStrItem("MTP8", "false"));
    auto* p = qobject_cast<Menu7*>(g.show());
    const QString play = playList(p);
    QCOMPARE(avoidList(p), kAvoidHead + "\r\nPopular 70's\r\nHip Hop/Rap");

    // Cancel with its button, then with Escape: each after changing several rows.
    for (const bool escape : {false, true}) {
        g.w.state().QueryAnswer = 1; // left over from some other dialog
        QVERIFY(inSongPref(p, [escape](QWidget* dlg) {
            QVERIFY(musicOption(dlg, 3, 1)->isChecked());
            QVERIFY(musicOption(dlg, 8, 1)->isChecked());
            QVERIFY(musicOption(dlg, 1, 0)->isChecked());
            musicOption(dlg, 1, 1)->click();
            musicOption(dlg, 3, 0)->click();
            musicOption(dlg, 10, 1)->click();
            if (escape)
                QTest::keyClick(dlg, Qt::Key_Escape);
            else
                child<QPushButton>(dlg, "cmdCancel")->click();
        }));
        QCOMPARE(g.w.state().QueryAnswer, std::optional<qint16>(0));
        QCOMPARE(playList(p), play);
        QCOMPARE(avoidList(p), kAvoidHead + "\r\nPopular 70's\r\nHip Hop/Rap");
        QVERIFY(p->songPrefDialog() && !p->songPrefDialog()->isVisible());
    }
    g.next();
    QCOMPARE(storedItem("Strs", "MTP1"), QString("True"));
    QCOMPARE(storedItem("Strs", "MTP3"), QString("False"));
    QCOMPARE(storedItem("Strs", "MTP8"), QString("False"));
    QCOMPARE(storedItem("Strs", "MTP10"), QString("True"));
}

void TestPreferencePages::musicCloseBoxRebuildsDialog()
{
    Page g(6);
    QWidget* p = g.show();
    QPointer<QWidget> first;
    QVERIFY(inSongPref(p, [&](QWidget* dlg) {
        first = dlg;
        musicOption(dlg, 5, 1)->click();
        dlg->close();
    }));
    QVERIFY(first);
    QCOMPARE(g.w.state().QueryAnswer, std::optional<qint16>(0));
    QCOMPARE(avoidList(p), kAvoidHead + kNone);

    // The next opening builds a new dialog; the closed one is gone.
    QVERIFY(inSongPref(p, [&](QWidget* dlg) {
        QVERIFY(!first);
        QCOMPARE(child<QLabel>(dlg, "lblField_4")->text(), QString("Popular 90's"));
        QVERIFY(musicOption(dlg, 5, 0)->isChecked());
        musicOption(dlg, 5, 1)->click();
        child<QPushButton>(dlg, "cmdOK")->click();
    }));
    QCOMPARE(avoidList(p), kAvoidHead + "\r\nPopular 90's");
}

void TestPreferencePages::musicStoredFlags_data()
{
    QTest::addColumn<QString>("stored");
    QTest::addColumn<bool>("play");
    QTest::newRow("False") << "False" << false;
    QTest::newRow("upper case") << "FALSE" << false;
    QTest::newRow("lower case") << "true" << true;
    QTest::newRow("empty") << "" << true;
    QTest::newRow("other text") << "maybe" << true;
    QTest::newRow("a number") << "0" << true;
}

void TestPreferencePages::musicStoredFlags()
{
    QFETCH(QString, stored);
    QFETCH(bool, play);
    Page g(6);
    QVERIFY(g.w.items().SaveStrItem("MTP6", stored));
    QWidget* p = g.show();
    QCOMPARE(avoidList(p) == kAvoidHead + "\r\nJazz/Big Band", !play);
    QCOMPARE(playList(p).contains("Jazz/Big Band"), play);
    QVERIFY(g.root.messages.isEmpty());
    g.next();
    QCOMPARE(storedItem("Strs", "MTP6"), QString(play ? "True" : "False"));
}

QTEST_MAIN(TestPreferencePages)
#include "test_preferencepages.moc"
