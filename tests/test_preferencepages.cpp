// The entertainer guidelines page (Menu4) and the music preferences page (Menu7) with its
// dialog frmSongPref, driven through their real widgets on a real event database.
#include "TestSupport.h"

#include "pages/Menu4.h"
#include "pages/Menu7.h"
#include "pages/frmSongPref.h"
#include "platform/PathMap.h"
#include "store/KeyedItemStore.h"
#include "store/SqlConnection.h"
#include "wizard/Wizard.h"

#include <QGroupBox>
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

const QString kAllPlay =
    QStringLiteral("PLAY THESE TYPES OF MUSIC:\r\nPopular 50's\r\nPopular 60's\r\nPopular 70's\r\n"
                   "Popular 80's\r\nPopular 90's\r\nJazz/Big Band\r\nCountry\r\nHip Hop/Rap\r\n"
                   "Pop/Top 40\r\nEthnic");
const QString kAllAvoid =
    QStringLiteral("AVOID THESE TYPES OF MUSIC:\r\nPopular 50's\r\nPopular 60's\r\nPopular 70's\r\n"
                   "Popular 80's\r\nPopular 90's\r\nJazz/Big Band\r\nCountry\r\nHip Hop/Rap\r\n"
                   "Pop/Top 40\r\nEthnic");
const QString kNonePlay = QStringLiteral("PLAY THESE TYPES OF MUSIC:\r\n\r\n(none)");
const QString kNoneAvoid = QStringLiteral("AVOID THESE TYPES OF MUSIC:\r\n\r\n(none)");

// Copies the dress pictures of the sample medium into the root's data folder.
void copyDressPictures(const TestRoot& root,
                       const QStringList& files = {"dress1.jpg", "dress2.jpg", "dress3.jpg"})
{
    const QString source = qEnvironmentVariable("ZEL_SOURCE_DIR") + QStringLiteral("/data/");
    for (const QString& f : files)
        QVERIFY2(QFile::copy(source + f, root.mediaFolder() + f), qPrintable(source + f));
}

// A keyed item as the event database file holds it, read on a connection of its own.
// Null when there is no row.
QString storedItem(const QString& table, const QString& key)
{
    SqlConnection conn(PathMap::eventDatabase(), SqlConnection::ReadOnly);
    if (!conn.isOpen())
        return QStringLiteral("<cannot open>");
    QSqlQuery q(conn.database());
    q.prepare(QStringLiteral("SELECT Usage FROM %1 WHERE Item = ?").arg(table));
    q.addBindValue(key);
    if (!q.exec() || !q.next())
        return QString();
    return q.value(0).toString();
}

int rowCount(const QString& table, const QString& key)
{
    SqlConnection conn(PathMap::eventDatabase(), SqlConnection::ReadOnly);
    QSqlQuery q(conn.database());
    q.prepare(QStringLiteral("SELECT COUNT(*) FROM %1 WHERE Item = ?").arg(table));
    q.addBindValue(key);
    return q.exec() && q.next() ? q.value(0).toInt() : -1;
}

// Clicks an option button on its indicator, as a user does.
void clickOption(QRadioButton* button)
{
    QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(8, button->height() / 2));
}

void clickNext(QWidget* page)
{
    child<QPushButton>(page, "cmdNext")->click();
}
void clickBack(QWidget* page)
{
    child<QPushButton>(page, "cmdBack")->click();
}

QRadioButton* looks(QWidget* p, int i)
{
    return child<QRadioButton>(p, QStringLiteral("opLooks_%1").arg(i));
}
QRadioButton* attitude(QWidget* p, int i)
{
    return child<QRadioButton>(p, QStringLiteral("opAttitude_%1").arg(i));
}
int checkedIndex(QWidget* p, const QString& group)
{
    int found = -1;
    for (int i = 0; i < 3; ++i) {
        if (child<QRadioButton>(p, QStringLiteral("%1_%2").arg(group).arg(i))->isChecked()) {
            if (found != -1)
                return -2; // two at once: the group is broken
            found = i;
        }
    }
    return found;
}
QString shownPicture(QWidget* p)
{
    return child<QLabel>(p, "imgLooks")->property("pictureFile").toString();
}
// Acts on the dialog when it comes up; a failed check inside `action` returns early, so the
// dialog is then cancelled here rather than left waiting for an answer.
void onDialog(const QString& name, std::function<void(QWidget*)> action)
{
    whenModal(name, [action](QWidget* dlg) {
        action(dlg);
        if (dlg->isVisible())
            QMetaObject::invokeMethod(dlg, "reject", Qt::QueuedConnection);
    });
}

bool pictureVisible(QWidget* p)
{
    return !child<QLabel>(p, "imgLooks")->pixmap().isNull();
}

// The names of the widgets that Tab visits after `from`, `count` of them.
QStringList tabOrder(QWidget* from, int count)
{
    QStringList names;
    for (QWidget* w = from->nextInFocusChain(); w != from && names.size() < count;
         w = w->nextInFocusChain()) {
        if ((w->focusPolicy() & Qt::TabFocus) && w->isVisibleTo(from->window()) && w->isEnabled())
            names << w->objectName();
    }
    return names;
}

QString playList(QWidget* p)
{
    return child<QLabel>(p, "lblPlayit1")->text();
}
QString avoidList(QWidget* p)
{
    return child<QLabel>(p, "lblPlayit2")->text();
}

} // namespace

class TestPreferencePages : public QObject
{
    Q_OBJECT
  private slots:
    // Menu4
    void guidelinesEmptyStore();
    void guidelinesSelectionSavedAndKeptOverBackNext();
    void guidelinesStoredIndexes_data();
    void guidelinesStoredIndexes();
    void guidelinesMissingPictures();
    void guidelinesCommentsAndRestart();
    void guidelinesFailedSaveStays();
    // Menu7 and frmSongPref
    void musicEmptyStore();
    void musicAllAvoidSavedToStore();
    void musicCancelLeavesFlags();
    void musicCloseBoxRebuildsDialog();
    void musicStoredFlags_data();
    void musicStoredFlags();
    void musicRestartAndBackNext();
};

// ---- Entertainer guidelines page ----

void TestPreferencePages::guidelinesEmptyStore()
{
    TestRoot root;
    root.writeCatalogue();
    copyDressPictures(root);
    Wizard w;
    QVERIFY(w.start());
    auto* p = qobject_cast<Menu4*>(w.page(3));
    QVERIFY(p);
    p->show();
    QCOMPARE(p->windowTitle(), QString("Your EmCee"));
    QCOMPARE(w.state().CurrentStep, qint16(3));
    QCOMPARE(child<QGroupBox>(p, "frameLooks")->title(), QString("Appearance"));
    QCOMPARE(child<QGroupBox>(p, "frameAttitude")->title(), QString("Behavior"));
    const QStringList looksCaptions{"Casual", "Semi-Formal", "Formal"};
    const QStringList attitudeCaptions{"Non-Interactive", "Moderately Interactive", "High Energy"};
    for (int i = 0; i < 3; ++i) {
        QCOMPARE(looks(p, i)->text(), looksCaptions[i]);
        QCOMPARE(attitude(p, i)->text(), attitudeCaptions[i]);
    }
    auto* notesLabel = child<QLabel>(p, "lblHotNotes");
    auto* notes = child<QPlainTextEdit>(p, "txtHotNotes");
    QCOMPARE(notesLabel->text(), QString("Any special comments or instructions:"));
    QCOMPARE(notesLabel->buddy(), notes);
    QCOMPARE(tabOrder(looks(p, 2), 5), QStringList({"opAttitude_0", "opAttitude_1", "opAttitude_2",
                                                    "txtHotNotes", "cmdBack"}));

    QCOMPARE(checkedIndex(p, "opLooks"), 0);
    QCOMPARE(checkedIndex(p, "opAttitude"), 1);
    QCOMPARE(shownPicture(p), QString("dress1.jpg"));
    QVERIFY(waitUntil([&] { return pictureVisible(p); }));
    QCOMPARE(notes->toPlainText(), QString());
    QVERIFY(root.messages.isEmpty());

    // The picture is scaled without distortion: 180 x 240 keeps its 3:4 shape.
    const QPixmap shown = child<QLabel>(p, "imgLooks")->pixmap();
    const QSizeF logical = QSizeF(shown.size()) / shown.devicePixelRatio();
    QVERIFY(logical.width() > 20);
    QVERIFY(qAbs(logical.width() / logical.height() - 0.75) < 0.02);

    // Next with nothing touched writes all three items in their stored forms.
    clickNext(p);
    QVERIFY(root.messages.isEmpty());
    QCOMPARE(storedItem("Strs", "DL"), QString("0"));
    QCOMPARE(storedItem("Strs", "DA"), QString("1"));
    QVERIFY(!storedItem("Mems", "DN").isNull());
    QCOMPARE(storedItem("Mems", "DN"), QString(""));
}

void TestPreferencePages::guidelinesSelectionSavedAndKeptOverBackNext()
{
    TestRoot root;
    root.writeCatalogue();
    copyDressPictures(root);
    Wizard w;
    QVERIFY(w.start());
    QWidget* p = w.page(3);
    p->show();
    QVERIFY(QTest::qWaitForWindowExposed(p));
    QVERIFY(waitUntil([&] { return pictureVisible(p); }));
    const qint64 casualPicture = child<QLabel>(p, "imgLooks")->pixmap().cacheKey();

    // Selecting an option by mouse shows its picture at once.
    clickOption(looks(p, 2));
    QCOMPARE(checkedIndex(p, "opLooks"), 2);
    QCOMPARE(shownPicture(p), QString("dress3.jpg"));
    QVERIFY(pictureVisible(p));
    QVERIFY(child<QLabel>(p, "imgLooks")->pixmap().cacheKey() != casualPicture);
    clickOption(attitude(p, 2));
    QCOMPARE(checkedIndex(p, "opAttitude"), 2);

    // Nothing is written before Next.
    QVERIFY(storedItem("Strs", "DL").isNull());
    clickNext(p);
    QCOMPARE(storedItem("Strs", "DL"), QString("2"));
    QCOMPARE(storedItem("Strs", "DA"), QString("2"));
    QWidget* next = w.page(4);
    QVERIFY(next->isVisible());
    QVERIFY(!p->isVisible());
    const int loads = w.pageLoads();

    // Back shows the page as it was left, without reloading; the store is not read again.
    QVERIFY(w.items().SaveStrItem("DL", "1"));
    clickBack(next);
    QVERIFY(p->isVisible());
    QCOMPARE(w.pageLoads(), loads);
    QCOMPARE(checkedIndex(p, "opLooks"), 2);
    QCOMPARE(checkedIndex(p, "opAttitude"), 2);
    QCOMPARE(shownPicture(p), QString("dress3.jpg"));

    // A change after Back is saved by the next Next, every item again.
    clickOption(looks(p, 1));
    QCOMPARE(shownPicture(p), QString("dress2.jpg"));
    clickNext(p);
    QCOMPARE(w.pageLoads(), loads);
    QCOMPARE(storedItem("Strs", "DL"), QString("1"));
    QCOMPARE(storedItem("Strs", "DA"), QString("2"));
    QCOMPARE(rowCount("Strs", "DL"), 1);
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
    TestRoot root;
    root.writeCatalogue();
    copyDressPictures(root);
    Wizard w;
    QVERIFY(w.start());
    QVERIFY(w.items().SaveStrItem("DL", dl));
    QVERIFY(w.items().SaveStrItem("DA", da));
    QWidget* p = w.page(3);
    p->show();
    QCOMPARE(checkedIndex(p, "opLooks"), looksIndex);
    QCOMPARE(checkedIndex(p, "opAttitude"), attitudeIndex);
    QCOMPARE(shownPicture(p), picture);
    QVERIFY(root.messages.isEmpty());
    QVERIFY(!root.programEnded());
    // Next writes the index that is shown, never the odd stored text.
    clickNext(p);
    QCOMPARE(storedItem("Strs", "DL"), QString::number(looksIndex));
    QCOMPARE(storedItem("Strs", "DA"), QString::number(attitudeIndex));
}

void TestPreferencePages::guidelinesMissingPictures()
{
    TestRoot root;
    root.writeCatalogue();
    copyDressPictures(root, {"dress2.jpg"});
    // An unreadable picture counts as missing.
    QFile bad(root.mediaFolder() + "dress3.jpg");
    QVERIFY(bad.open(QIODevice::WriteOnly));
    bad.write("not a picture");
    bad.close();
    Wizard w;
    QVERIFY(w.start());
    QWidget* p = w.page(3);
    p->show();
    QVERIFY(QTest::qWaitForWindowExposed(p));
    QCOMPARE(checkedIndex(p, "opLooks"), 0);
    QCOMPARE(shownPicture(p), QString());
    QVERIFY(!pictureVisible(p));
    looks(p, 1)->click();
    QCOMPARE(shownPicture(p), QString("dress2.jpg"));
    QVERIFY(pictureVisible(p));
    // Going from a picture to a missing one takes the old picture away.
    looks(p, 2)->click();
    QCOMPARE(shownPicture(p), QString());
    QVERIFY(!pictureVisible(p));
    QVERIFY(root.messages.isEmpty());
    clickNext(p);
    QCOMPARE(storedItem("Strs", "DL"), QString("2"));
    QVERIFY(!root.programEnded());
}

void TestPreferencePages::guidelinesCommentsAndRestart()
{
    TestRoot root;
    root.writeCatalogue();
    copyDressPictures(root);
    const QString typed = QStringLiteral("No jokes about the in-laws.\n\n  Bring the  \"Y.M.C.A.\" "
                                         "lights & the fog;\nend at 11:30 sharp. ");
    {
        Wizard w;
        QVERIFY(w.start());
        QWidget* p = w.page(3);
        p->show();
        looks(p, 1)->click();
        attitude(p, 0)->click();
        auto* notes = child<QPlainTextEdit>(p, "txtHotNotes");
        notes->setFocus();
        QTest::keyClicks(notes, "No jokes about the in-laws.");
        QTest::keyClick(notes, Qt::Key_Return);
        QTest::keyClick(notes, Qt::Key_Return);
        QTest::keyClicks(notes, "  Bring the  \"Y.M.C.A.\" lights & the fog;");
        QTest::keyClick(notes, Qt::Key_Return);
        QTest::keyClicks(notes, "end at 11:30 sharp. ");
        QCOMPARE(notes->toPlainText(), typed);
        clickNext(p);
        QVERIFY(root.messages.isEmpty());
    }
    // The comments are stored with Windows line breaks, text otherwise unchanged.
    QString stored = typed;
    stored.replace("\n", "\r\n");
    QCOMPARE(storedItem("Mems", "DN"), stored);
    QCOMPARE(storedItem("Strs", "DL"), QString("1"));
    QCOMPARE(storedItem("Strs", "DA"), QString("0"));

    // A new run on the same files shows every answer again.
    Wizard again;
    QVERIFY(again.start());
    QWidget* p = again.page(3);
    p->show();
    QCOMPARE(checkedIndex(p, "opLooks"), 1);
    QCOMPARE(checkedIndex(p, "opAttitude"), 0);
    QCOMPARE(shownPicture(p), QString("dress2.jpg"));
    QCOMPARE(child<QPlainTextEdit>(p, "txtHotNotes")->toPlainText(), typed);
    // Saved again unchanged: no line break is doubled by the round trip.
    clickNext(p);
    QCOMPARE(storedItem("Mems", "DN"), stored);
}

void TestPreferencePages::guidelinesFailedSaveStays()
{
    TestRoot root;
    root.writeCatalogue();
    Wizard w;
    QVERIFY(w.start());
    {
        SqlConnection conn(PathMap::eventDatabase(), SqlConnection::ReadWrite);
        QSqlQuery q(conn.database());
        QVERIFY(q.exec("CREATE TRIGGER full_disk BEFORE INSERT ON Mems "
                       "BEGIN SELECT RAISE(ABORT, 'disk full'); END"));
    }
    QWidget* p = w.page(3);
    p->show();
    child<QPlainTextEdit>(p, "txtHotNotes")->setPlainText("keep me");
    clickNext(p);
    QCOMPARE(root.messages.size(), 1);
    QCOMPARE(root.messages[0].title, QString("Unable to save"));
    QVERIFY(p->isVisible());
    QVERIFY(!w.loadedPage(4));
    QCOMPARE(child<QPlainTextEdit>(p, "txtHotNotes")->toPlainText(), QString("keep me"));
}

// ---- Music preferences page ----

void TestPreferencePages::musicEmptyStore()
{
    TestRoot root;
    root.writeCatalogue();
    Wizard w;
    QVERIFY(w.start());
    auto* p = qobject_cast<Menu7*>(w.page(6));
    QVERIFY(p);
    p->show();
    QCOMPARE(p->windowTitle(), QString("Music"));
    QCOMPARE(w.state().CurrentStep, qint16(6));
    QCOMPARE(child<QPushButton>(p, "cmdPlayIt")->text(), QString("Change Music Preferences"));
    QCOMPARE(playList(p), kAllPlay);
    QCOMPARE(avoidList(p), kNoneAvoid);
    auto* stations = child<QLabel>(p, "lblField_0");
    QCOMPARE(stations->text(), QString("Please list your 3 favorite radio stations:"));
    QCOMPARE(stations->buddy(), child<QLineEdit>(p, "txtRadio_0"));
    for (int i = 0; i < 3; ++i) {
        auto* box = child<QLineEdit>(p, QStringLiteral("txtRadio_%1").arg(i));
        QCOMPARE(box->text(), QString());
        // More than 10 characters cannot be typed.
        box->setFocus();
        QTest::keyClicks(box, "KISS-FM 101.5");
        QCOMPARE(box->text(), QString("KISS-FM 10"));
    }
    QCOMPARE(
        tabOrder(child<QWidget>(p, "cmdPlayIt"), 6),
        QStringList({"txtRadio_0", "txtRadio_1", "txtRadio_2", "cmdBack", "cmdNext", "cmdCancel"}));
    // The summary boxes grow with their text: all eleven lines fit.
    auto* play = child<QLabel>(p, "lblPlayit1");
    QVERIFY(play->height() >= play->sizeHint().height());
    QVERIFY(root.messages.isEmpty());
}

void TestPreferencePages::musicAllAvoidSavedToStore()
{
    TestRoot root;
    root.writeCatalogue();
    Wizard w;
    QVERIFY(w.start());
    auto* p = qobject_cast<Menu7*>(w.page(6));
    p->show();
    QVERIFY(!p->songPrefDialog()); // created on first use only

    bool checked = false;
    onDialog("frmSongPref", [&](QWidget* dlg) {
        checked = true;
        QCOMPARE(dlg->windowTitle(), QString("Music Preferences"));
        QCOMPARE(dlg->parentWidget(), p);
        const QStringList names{"Popular 50's", "Popular 60's",  "Popular 70's", "Popular 80's",
                                "Popular 90's", "Jazz/Big Band", "Country",      "Hip Hop/Rap",
                                "Pop/Top 40",   "Ethnic"};
        for (int row = 0; row < 10; ++row) {
            auto* label = child<QLabel>(dlg, QStringLiteral("lblField_%1").arg(row));
            auto* play = child<QRadioButton>(dlg, QStringLiteral("Option%1_0").arg(row + 1));
            auto* avoid = child<QRadioButton>(dlg, QStringLiteral("Option%1_1").arg(row + 1));
            QCOMPARE(label->text(), names[row]);
            QCOMPARE(label->buddy(), play);
            QCOMPARE(play->text(), QString("Play"));
            QCOMPARE(avoid->text(), QString("Avoid"));
            QVERIFY(play->isChecked());
            QVERIFY(!avoid->isChecked());
            // Even rows are shaded, odd rows are not.
            auto* frame = child<QWidget>(dlg, QStringLiteral("Frame1_%1").arg(row));
            QCOMPARE(frame->autoFillBackground(), row % 2 == 0);
        }
        QVERIFY(child<QWidget>(dlg, "Frame1_0")->palette().color(QPalette::Window) !=
                dlg->palette().color(QPalette::Window));
        // A pair excludes within its own row only.
        clickOption(child<QRadioButton>(dlg, "Option1_1"));
        QVERIFY(!child<QRadioButton>(dlg, "Option1_0")->isChecked());
        QVERIFY(child<QRadioButton>(dlg, "Option2_0")->isChecked());
        for (int n = 2; n <= 10; ++n)
            clickOption(child<QRadioButton>(dlg, QStringLiteral("Option%1_1").arg(n)));
        child<QPushButton>(dlg, "cmdOK")->click();
    });
    child<QPushButton>(p, "cmdPlayIt")->click();
    QVERIFY(checked);
    QCOMPARE(w.state().QueryAnswer, std::optional<qint16>(1));
    QCOMPARE(playList(p), kNonePlay);
    QCOMPARE(avoidList(p), kAllAvoid);
    // Save hides the dialog and keeps it.
    QPointer<frmSongPref> dialog = p->songPrefDialog();
    QVERIFY(dialog);
    QVERIFY(!dialog->isVisible());
    // Nothing is written before Next.
    QVERIFY(storedItem("Strs", "MTP1").isNull());

    child<QLineEdit>(p, "txtRadio_0")->setText("WXYZ 98.1");
    child<QLineEdit>(p, "txtRadio_2")->setText("Jazz 88");
    clickNext(p);
    QVERIFY(root.messages.isEmpty());
    for (int n = 1; n <= 10; ++n)
        QCOMPARE(storedItem("Strs", QStringLiteral("MTP%1").arg(n)), QString("False"));
    QCOMPARE(storedItem("Strs", "FRS1"), QString("WXYZ 98.1"));
    QCOMPARE(storedItem("Strs", "FRS2"), QString(""));
    QVERIFY(!storedItem("Strs", "FRS2").isNull());
    QCOMPARE(storedItem("Strs", "FRS3"), QString("Jazz 88"));
    QVERIFY(w.loadedPage(7) && w.loadedPage(7)->isVisible());

    // The next opening reuses the hidden dialog and shows the saved choices.
    clickBack(w.loadedPage(7));
    bool reopened = false;
    onDialog("frmSongPref", [&](QWidget* dlg) {
        reopened = true;
        QCOMPARE(dlg, static_cast<QWidget*>(dialog.data()));
        for (int n = 1; n <= 10; ++n)
            QVERIFY(child<QRadioButton>(dlg, QStringLiteral("Option%1_1").arg(n))->isChecked());
        clickOption(child<QRadioButton>(dlg, "Option7_0"));
        child<QPushButton>(dlg, "cmdOK")->click();
    });
    child<QPushButton>(p, "cmdPlayIt")->click();
    QVERIFY(reopened);
    QCOMPARE(playList(p), QString("PLAY THESE TYPES OF MUSIC:\r\nCountry"));
    QVERIFY(!avoidList(p).contains("Country"));
    QVERIFY(avoidList(p).endsWith("Hip Hop/Rap\r\nPop/Top 40\r\nEthnic"));
}

void TestPreferencePages::musicCancelLeavesFlags()
{
    TestRoot root;
    root.writeCatalogue();
    Wizard w;
    QVERIFY(w.start());
    QVERIFY(w.items().SaveStrItem("MTP3", "False"));
    QVERIFY(w.items().SaveStrItem("MTP8", "false"));
    auto* p = qobject_cast<Menu7*>(w.page(6));
    p->show();
    const QString play = playList(p);
    const QString avoid = avoidList(p);
    QCOMPARE(avoid, QString("AVOID THESE TYPES OF MUSIC:\r\nPopular 70's\r\nHip Hop/Rap"));
    QVERIFY(!play.contains("Popular 70's") && play.contains("Popular 80's"));

    // Cancel with its button, then with Escape: each after changing several rows.
    for (int way = 0; way < 2; ++way) {
        w.state().QueryAnswer = 1; // left over from some other dialog
        onDialog("frmSongPref", [&](QWidget* dlg) {
            QVERIFY(child<QRadioButton>(dlg, "Option3_1")->isChecked());
            QVERIFY(child<QRadioButton>(dlg, "Option8_1")->isChecked());
            QVERIFY(child<QRadioButton>(dlg, "Option1_0")->isChecked());
            child<QRadioButton>(dlg, "Option1_1")->click();
            child<QRadioButton>(dlg, "Option3_0")->click();
            child<QRadioButton>(dlg, "Option10_1")->click();
            if (way == 0)
                child<QPushButton>(dlg, "cmdCancel")->click();
            else
                QTest::keyClick(dlg, Qt::Key_Escape);
        });
        child<QPushButton>(p, "cmdPlayIt")->click();
        QCOMPARE(w.state().QueryAnswer, std::optional<qint16>(0));
        QCOMPARE(playList(p), play);
        QCOMPARE(avoidList(p), avoid);
        QVERIFY(p->songPrefDialog() && !p->songPrefDialog()->isVisible());
    }
    clickNext(p);
    QCOMPARE(storedItem("Strs", "MTP1"), QString("True"));
    QCOMPARE(storedItem("Strs", "MTP3"), QString("False"));
    QCOMPARE(storedItem("Strs", "MTP8"), QString("False"));
    QCOMPARE(storedItem("Strs", "MTP10"), QString("True"));
}

void TestPreferencePages::musicCloseBoxRebuildsDialog()
{
    TestRoot root;
    root.writeCatalogue();
    Wizard w;
    QVERIFY(w.start());
    auto* p = qobject_cast<Menu7*>(w.page(6));
    p->show();
    QPointer<QWidget> first;
    onDialog("frmSongPref", [&](QWidget* dlg) {
        first = dlg;
        child<QRadioButton>(dlg, "Option5_1")->click();
        dlg->close();
    });
    child<QPushButton>(p, "cmdPlayIt")->click();
    QVERIFY(first);
    QCOMPARE(w.state().QueryAnswer, std::optional<qint16>(0));
    QCOMPARE(playList(p), kAllPlay);
    QCOMPARE(avoidList(p), kNoneAvoid);

    // The next opening builds a new dialog; the closed one is gone.
    bool opened = false;
    onDialog("frmSongPref", [&](QWidget* dlg) {
        opened = true;
        QVERIFY(!first);
        QCOMPARE(child<QLabel>(dlg, "lblField_4")->text(), QString("Popular 90's"));
        QVERIFY(child<QRadioButton>(dlg, "Option5_0")->isChecked());
        child<QRadioButton>(dlg, "Option5_1")->click();
        child<QPushButton>(dlg, "cmdOK")->click();
    });
    child<QPushButton>(p, "cmdPlayIt")->click();
    QVERIFY(opened);
    QCOMPARE(avoidList(p), QString("AVOID THESE TYPES OF MUSIC:\r\nPopular 90's"));
}

void TestPreferencePages::musicStoredFlags_data()
{
    QTest::addColumn<QString>("stored");
    QTest::addColumn<bool>("play");
    QTest::newRow("True") << "True" << true;
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
    TestRoot root;
    root.writeCatalogue();
    Wizard w;
    QVERIFY(w.start());
    QVERIFY(w.items().SaveStrItem("MTP6", stored));
    QWidget* p = w.page(6);
    p->show();
    QCOMPARE(avoidList(p) == QString("AVOID THESE TYPES OF MUSIC:\r\nJazz/Big Band"), !play);
    QCOMPARE(playList(p).contains("Jazz/Big Band"), play);
    QVERIFY(root.messages.isEmpty());
    clickNext(p);
    QCOMPARE(storedItem("Strs", "MTP6"), QString(play ? "True" : "False"));
}

void TestPreferencePages::musicRestartAndBackNext()
{
    TestRoot root;
    root.writeCatalogue();
    QString play;
    QString avoid;
    {
        Wizard w;
        QVERIFY(w.start());
        auto* p = qobject_cast<Menu7*>(w.page(6));
        p->show();
        onDialog("frmSongPref", [&](QWidget* dlg) {
            for (int n : {2, 4, 9})
                child<QRadioButton>(dlg, QStringLiteral("Option%1_1").arg(n))->click();
            child<QPushButton>(dlg, "cmdOK")->click();
        });
        child<QPushButton>(p, "cmdPlayIt")->click();
        play = playList(p);
        avoid = avoidList(p);
        QCOMPARE(avoid, QString("AVOID THESE TYPES OF MUSIC:\r\nPopular 60's\r\nPopular 80's"
                                "\r\nPop/Top 40"));
        for (int i = 0; i < 3; ++i)
            child<QLineEdit>(p, QStringLiteral("txtRadio_%1").arg(i))
                ->setText(QStringLiteral("KRST %1").arg(i));
        clickNext(p);
        QVERIFY(root.messages.isEmpty());
        const int loads = w.pageLoads();

        // Back shows the page as it was; a change there is written by the next Next.
        clickBack(w.loadedPage(7));
        QVERIFY(p->isVisible());
        QCOMPARE(w.pageLoads(), loads);
        QCOMPARE(playList(p), play);
        QCOMPARE(child<QLineEdit>(p, "txtRadio_1")->text(), QString("KRST 1"));
        child<QLineEdit>(p, "txtRadio_1")->setText("Oldies");
        QCOMPARE(storedItem("Strs", "FRS2"), QString("KRST 1"));
        clickNext(p);
        QCOMPARE(w.pageLoads(), loads);
        QCOMPARE(storedItem("Strs", "FRS2"), QString("Oldies"));
    }
    Wizard again;
    QVERIFY(again.start());
    QWidget* p = again.page(6);
    p->show();
    QCOMPARE(playList(p), play);
    QCOMPARE(avoidList(p), avoid);
    QCOMPARE(child<QLineEdit>(p, "txtRadio_0")->text(), QString("KRST 0"));
    QCOMPARE(child<QLineEdit>(p, "txtRadio_1")->text(), QString("Oldies"));
    QCOMPARE(child<QLineEdit>(p, "txtRadio_2")->text(), QString("KRST 2"));
}

QTEST_MAIN(TestPreferencePages)
#include "test_preferencepages.moc"
