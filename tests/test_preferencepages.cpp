// The entertainer guidelines page (Menu4) and the music preferences page (Menu7) with its
// dialog frmSongPref, driven through their real widgets on a real event database. The plain
// walk with answers, Back/Next and a restart is the road test's; these are the edges.
#include "PageTest.h"

#include "pages/Menu7.h"
#include "pages/frmSongPref.h"
#include "store/KeyedItemStore.h"

#include <QPointer>

using namespace PageTest;

namespace
{

const QString kTypes = QStringLiteral("\r\nPopular 50's\r\nPopular 60's\r\nPopular 70's\r\n"
                                      "Popular 80's\r\nPopular 90's\r\nJazz/Big Band\r\nCountry\r\n"
                                      "Hip Hop/Rap\r\nPop/Top 40\r\nEthnic");
const QString kPlayHead = QStringLiteral("PLAY THESE TYPES OF MUSIC:");
const QString kAvoidHead = QStringLiteral("AVOID THESE TYPES OF MUSIC:");
const QString kNone = QStringLiteral("\r\n\r\n(none)");

// Clicks an option button on its indicator, as a user does.
void clickOption(QRadioButton* button)
{
    QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(8, button->height() / 2));
}

QRadioButton* option(QWidget* p, const QString& group, int i)
{
    return child<QRadioButton>(p, QStringLiteral("%1_%2").arg(group).arg(i));
}

// The checked options of the two groups of three ("-2" when two of a group are checked),
// and the picture file shown ("" when none, and then no picture is on the screen).
QStringList guidelinesShown(QWidget* p)
{
    QStringList shown;
    for (const char* group : {"opLooks", "opAttitude"}) {
        int found = -1;
        for (int i = 0; i < 3; ++i)
            if (option(p, group, i)->isChecked())
                found = found == -1 ? i : -2;
        shown << QString::number(found);
    }
    const QString file = child<QLabel>(p, "imgLooks")->property("pictureFile").toString();
    if (file.isEmpty() && !child<QLabel>(p, "imgLooks")->pixmap().isNull())
        return {"a picture is left on the screen"};
    return shown << file;
}

// The Play (0) or Avoid (1) button of music type `n` (1 to 10) in the dialog.
QRadioButton* musicOption(QWidget* dlg, int n, int avoid)
{
    return child<QRadioButton>(dlg, QStringLiteral("Option%1_%2").arg(n).arg(avoid));
}

} // namespace

class TestPreferencePages : public QObject
{
    Q_OBJECT
  private slots:
    void guidelinesDefaultsPictureAndSave();
    void musicChoicesDialogAndSave();
};

void TestPreferencePages::guidelinesDefaultsPictureAndSave()
{
    // An unreadable picture counts as missing.
    Started g({"dress1.jpg", "dress2.jpg"});
    QVERIFY(writeFile(g.root.mediaFolder() + "dress3.jpg", "not a picture"));
    QWidget* p = g.show(3);
    QVERIFY(QTest::qWaitForWindowExposed(p));
    QCOMPARE(guidelinesShown(p), QStringList({"0", "1", "dress1.jpg"}));
    QVERIFY(waitUntil([&] { return !child<QLabel>(p, "imgLooks")->pixmap().isNull(); }));
    // The picture is scaled without distortion: 180 x 240 keeps its 3:4 shape.
    const QPixmap casual = child<QLabel>(p, "imgLooks")->pixmap();
    const QSizeF logical = QSizeF(casual.size()) / casual.devicePixelRatio();
    QVERIFY(logical.width() > 20);
    QVERIFY(qAbs(logical.width() / logical.height() - 0.75) < 0.02);

    // Selecting an option by mouse shows its picture at once, and going to a missing one
    // takes the old picture away; nothing is written before Next.
    clickOption(option(p, "opLooks", 1));
    QCOMPARE(guidelinesShown(p), QStringList({"1", "1", "dress2.jpg"}));
    QVERIFY(child<QLabel>(p, "imgLooks")->pixmap().cacheKey() != casual.cacheKey());
    clickOption(option(p, "opLooks", 2));
    QCOMPARE(guidelinesShown(p), QStringList({"2", "1", ""}));
    QVERIFY(storedItem("Strs", "DL").isNull());

    // Next writes all three items, the untouched ones in their default forms (an empty
    // comment is an empty text, not a missing item).
    click(p, "cmdNext");
    QVERIFY(g.root.messages.isEmpty());
    QCOMPARE(storedItems("Strs", {"DL", "DA"}), QStringList({"2", "1"}));
    QVERIFY(!storedItem("Mems", "DN").isNull());
    QCOMPARE(storedItem("Mems", "DN"), QString(""));

    // Back shows the page as it was left: the store is not read again.
    QVERIFY(g.items().SaveStrItem("DL", "1"));
    click(g.w.page(4), "cmdBack");
    QVERIFY(p->isVisible());
    QCOMPARE(guidelinesShown(p), QStringList({"2", "1", ""}));
}

void TestPreferencePages::musicChoicesDialogAndSave()
{
    Started g;
    QVERIFY(g.items().SaveStrItem("MTP6", "FALSE")); // any case of "False" avoids
    QVERIFY(g.items().SaveStrItem("MTP7", "maybe")); // anything else plays
    auto* p = qobject_cast<Menu7*>(g.show(6));
    QVERIFY(p);
    const QStringList shown{kPlayHead + QString(kTypes).remove("\r\nJazz/Big Band"),
                            kAvoidHead + "\r\nJazz/Big Band"};
    QCOMPARE(textsOf(p, {"lblPlayit1", "lblPlayit2"}), shown);
    // The summary boxes grow with their text: all eleven lines fit.
    auto* play = child<QLabel>(p, "lblPlayit1");
    QVERIFY(play->height() >= play->sizeHint().height());
    type(p, "txtRadio_0", "KISS-FM");
    QVERIFY(!p->songPrefDialog()); // created on first use only

    // Cancel, Escape and the close box, each after changing rows, change nothing; the first
    // two keep the dialog, the close box discards it and the next opening builds a new one.
    QPointer<QWidget> first;
    QList<bool> same;
    for (const QString how : {"cmdCancel", "escape", "close", "cmdOK"}) {
        QVERIFY(inDialog(p, "cmdPlayIt", "frmSongPref", [&](QWidget* dlg) {
            if (same.isEmpty())
                first = dlg;
            same << (dlg == first.data());
            QVERIFY(musicOption(dlg, 6, 1)->isChecked());
            QVERIFY(musicOption(dlg, 7, 0)->isChecked());
            // A pair excludes within its own row only.
            clickOption(musicOption(dlg, 1, 1));
            QVERIFY(!musicOption(dlg, 1, 0)->isChecked());
            QVERIFY(musicOption(dlg, 2, 0)->isChecked());
            for (int n = 2; n <= 10; ++n)
                clickOption(musicOption(dlg, n, 1));
            leave(dlg, how);
        }));
        if (how != "cmdOK")
            QCOMPARE(textsOf(p, {"lblPlayit1", "lblPlayit2"}), shown);
    }
    QCOMPARE(same, (QList<bool>{true, true, true, false}));
    QVERIFY(first.isNull());
    QCOMPARE(textsOf(p, {"lblPlayit1", "lblPlayit2"}),
             QStringList({kPlayHead + kNone, kAvoidHead + kTypes}));
    // Save hides the dialog and keeps it; nothing is written before Next.
    QPointer<frmSongPref> dialog = p->songPrefDialog();
    QVERIFY(dialog);
    QVERIFY(!dialog->isVisible());
    QVERIFY(storedItem("Strs", "MTP1").isNull());

    // One round trip: every flag and station as shown; an empty station is an empty text.
    click(p, "cmdNext");
    QVERIFY(g.root.messages.isEmpty());
    QCOMPARE(storedItems("Strs", {"MTP1", "MTP5", "MTP10", "FRS1", "FRS2"}),
             QStringList({"False", "False", "False", "KISS-FM", ""}));
    QVERIFY(!storedItem("Strs", "FRS2").isNull());

    // The next opening reuses the hidden dialog and shows the saved choices.
    click(g.w.loadedPage(7), "cmdBack");
    QVERIFY(inDialog(p, "cmdPlayIt", "frmSongPref", [&](QWidget* dlg) {
        QCOMPARE(dlg, static_cast<QWidget*>(dialog.data()));
        for (int n = 1; n <= 10; ++n)
            QVERIFY(musicOption(dlg, n, 1)->isChecked());
        clickOption(musicOption(dlg, 7, 0));
        click(dlg, "cmdOK");
    }));
    QCOMPARE(textOf(p, "lblPlayit1"), kPlayHead + "\r\nCountry");
}

QTEST_MAIN(TestPreferencePages)
#include "test_preferencepages.moc"
