// The two song list pages and the custom song dialog where the whole road (test_road) does
// not reach: stored order, images, the 50-song limit, removal, a failing save, frmOddSong.

#include "PageTest.h"

#include "songs/SongListPage.h"

#include <QPointer>
#include <QTextBrowser>

using namespace PageTest;

namespace
{

// A song as "key|title|artist|length".
const QString kFirstDance = "101|At Last|Etta James|3:02";
const QString kShout = "202|Shout|The Isley Brothers|4:30";
const QString kOwnCd = "-3|Our Own CD|Cousin Ben|4:00";
const QString kWaltz = "-2|Grandma's Waltz||";
const QString kPoison = "7|Poison|Alice Cooper|4:29";

PickedSongRecord songOf(const QString& song)
{
    const QStringList f = song.split('|');
    return {qint16(f[0].toInt()), f[1], f[2], f[3]};
}

// The stored songs in dbKey order.
QStringList storedSongs(const QString& table)
{
    QStringList songs;
    for (const QStringList& r : storedRows("SELECT SongKey, SongTitle, SongArtist, SongTime FROM " +
                                           table + " ORDER BY dbKey"))
        songs << r.join('|').replace("<null>", "");
    return songs;
}

// The rows a list shows; each row's image must be the one its key calls for (cd for -3,
// nocd for -2, hd for a catalogue song), by name and by the very pixels of the built-in
// image, and its tooltip its title.
QStringList shownRows(QWidget* page)
{
    QStringList rows;
    auto* lv = child<QTreeWidget>(page, "lvListView");
    for (int i = 0; i < lv->topLevelItemCount(); ++i) {
        const QTreeWidgetItem* it = lv->topLevelItem(i);
        const int key = it->data(0, SongListPage::kKeyRole).toInt();
        const QString image = key == -3 ? "cd" : key == -2 ? "nocd" : "hd";
        if (it->data(0, SongListPage::kIconRole).toString() != image ||
            it->icon(0).pixmap(16, 16).toImage() !=
                QIcon(":/songs/" + image + ".png").pixmap(16, 16).toImage() ||
            it->toolTip(0) != it->text(0))
            rows << "wrong image or tooltip:";
        rows
            << QStringList({QString::number(key), it->text(0), it->text(1), it->text(2)}).join('|');
    }
    return rows;
}

// Installs a song picker that gives `answers` in turn ("-2" for "I can't find the song",
// "0" for nothing, else a song) and records the captions it was given.
void answerPicks(Started& l, QStringList& answers, QStringList& captions)
{
    l.w.setSongPicker([&](QWidget*, const QString& caption) {
        captions << caption;
        const QString a = answers.takeFirst();
        return a == "-2"  ? SongPick::cantFind()
               : a == "0" ? SongPick{}
                          : SongPick::picked(songOf(a));
    });
}

// Fills the custom song dialog with `song` (the box ticked for -3) and presses OK.
void fillOddSong(QWidget* dlg, const QString& song)
{
    const PickedSongRecord s = songOf(song);
    type(dlg, "txtName", s.Title);
    type(dlg, "txtArtist", s.Artist);
    type(dlg, "txtLength", s.Length);
    child<QCheckBox>(dlg, "chkHaveMusic")->setChecked(s.Key == -3);
    click(dlg, "cmdOK");
}

} // namespace

class TestSongLists : public QObject
{
    Q_OBJECT
  private slots:
    void addSavesReloadsAndRemoves();
    void fiftySongLimit();
    void failingTableIsReported();
};

void TestSongLists::addSavesReloadsAndRemoves()
{
    // The three built-in images differ, so the pixel check tells them apart.
    const QImage hd(":/songs/hd.png"), cd(":/songs/cd.png"), nocd(":/songs/nocd.png");
    QCOMPARE(hd.size(), QSize(16, 16));
    QCOMPARE(QList<bool>({hd == cd, cd == nocd, hd == nocd}), QList<bool>(3, false));
    const QStringList expected{kFirstDance, kFirstDance, kOwnCd, kWaltz, kShout};
    Started l({"song.rtf"});
    // A song (the same one twice), "I can't find the song" (the custom song dialog follows,
    // owned by the page), nothing picked.
    QStringList answers{kFirstDance, kFirstDance, "-2", "-2", "-2", "-2", "-2", "0", kShout};
    QStringList captions;
    answerPicks(l, answers, captions);
    WizardPage* page = l.show(7);
    // What each opening of the custom song dialog does. OK without a name: the message, and
    // the dialog stays open. Cancel after typing hands nothing back and the text stays for
    // the next opening; so does Escape. The close box hands back nothing either, and the
    // next opening builds a new, empty dialog.
    QPointer<QWidget> odd;
    QStringList opened; // the name each opening showed, "+" when ticked, "*" when new
    for (const QString step : {"", "", "no name", "half", "escape", "close", "waltz", "", ""}) {
        if (!step.isEmpty())
            whenModal("frmOddSong", [&](QWidget* dlg) {
                QCOMPARE(dlg->parentWidget(), static_cast<QWidget*>(page));
                const bool ticked = child<QCheckBox>(dlg, "chkHaveMusic")->isChecked();
                opened << textOf(dlg, "txtName") + (ticked ? "+" : "") + (dlg == odd ? "" : "*");
                odd = dlg;
                if (step == "no name") {
                    click(dlg, "cmdOK");
                    QVERIFY(dlg->isVisible());
                    fillOddSong(dlg, kOwnCd);
                } else if (step == "half") {
                    type(dlg, "txtName", "Half typed");
                    click(dlg, "cmdCancel");
                } else if (step == "waltz") {
                    fillOddSong(dlg, kWaltz);
                } else {
                    leave(dlg, step);
                }
            });
        click(page, "cmdAdd");
    }
    QCOMPARE(opened, QStringList({"*", "Our Own CD+", "Half typed+", "Half typed+", "*"}));
    QCOMPARE(messagesShown(l.root), QStringList{"Name Required: Your song must have a name."});
    QVERIFY(!child<QTextBrowser>(odd, "RichTextBox1")->toPlainText().isEmpty());
    QCOMPARE(captions, QStringList(9, "Select a song to include"));
    QCOMPARE(shownRows(page), expected);
    click(page, "cmdNext");
    QCOMPARE(l.root.messages.size(), 1);
    QVERIFY(!page->isVisible());
    QCOMPARE(storedSongs("MusicIn"), expected);

    // A new run reads the same list back, with the same images. Remove with nothing
    // selected does nothing; Delete on the list removes as Remove does; Back keeps a
    // removal on the page without saving it; Next saves.
    l.endRun();
    ZelWizard again;
    QVERIFY(again.start());
    page = again.page(7);
    QCOMPARE(shownRows(page), expected);
    auto* lv = child<QTreeWidget>(page, "lvListView");
    lv->clearSelection();
    click(page, "cmdRemove");
    lv->setCurrentItem(lv->topLevelItem(1));
    QTest::keyClick(lv, Qt::Key_Delete);
    const QStringList removed{kFirstDance, kOwnCd, kWaltz, kShout};
    QCOMPARE(shownRows(page), removed);
    // Undo puts the song back in its place; Delete takes it again.
    QCOMPARE(textOf(page, "lblUndo"), QString("Removed: \"At Last\" by Etta James"));
    click(page, "cmdUndo");
    QCOMPARE(shownRows(page), expected);
    QTest::keyClick(lv, Qt::Key_Delete);
    click(page, "cmdBack");
    QCOMPARE(storedSongs("MusicIn"), expected);
    click(again.loadedPage(6), "cmdNext");
    QCOMPARE(shownRows(page), removed);
    click(page, "cmdNext");
    QCOMPARE(storedSongs("MusicIn"), removed);
}

void TestSongLists::fiftySongLimit()
{
    for (const auto& [index, table, caption, full] :
         {std::tuple{7, "MusicIn", "Select a song to include",
                     "The song include list already has 50 songs on it."},
          std::tuple{8, "MusicOut", "Select a song to exclude",
                     "The song exclude list already has 50 songs on it."}}) {
        Started l;
        QVERIFY(execEvent({QStringLiteral("WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT "
                                          "i + 1 FROM n WHERE i < 49) INSERT INTO %1 (SongKey, "
                                          "SongTitle, SongArtist, SongTime) SELECT i, 'Song ' || "
                                          "i, 'Band', '3:00' FROM n")
                               .arg(table)}));
        QStringList answers{"50|Song 50|Band|3:00"}, captions;
        answerPicks(l, answers, captions);
        WizardPage* page = l.show(index);
        click(page, "cmdAdd"); // the 50th song can still be added
        click(page, "cmdAdd"); // the 51st is refused before the song-pick dialog opens
        QCOMPARE(captions, QStringList{caption});
        QCOMPARE(child<QTreeWidget>(page, "lvListView")->topLevelItemCount(), 50);
        QCOMPARE(messagesShown(l.root), QStringList{QString("Too many songs selected: ") + full});
    }
}

void TestSongLists::failingTableIsReported()
{
    Started l;
    // The disk "fills up" at the second song written: after the delete and one insert.
    QVERIFY(execEvent({"INSERT INTO MusicIn (SongKey, SongTitle, SongArtist, SongTime) VALUES "
                       "(101, 'At Last', 'Etta James', '3:02'), (202, 'Shout', '', '')",
                       "CREATE TRIGGER fail_half_way BEFORE INSERT ON MusicIn WHEN "
                       "NEW.SongTitle = 'Poison' BEGIN SELECT RAISE(ABORT, 'disk full'); END",
                       "ALTER TABLE MusicOut RENAME TO Elsewhere"}));
    QStringList answers{kPoison}, captions;
    answerPicks(l, answers, captions);
    WizardPage* page = l.show(7);
    delete child<QTreeWidget>(page, "lvListView")->takeTopLevelItem(1);
    click(page, "cmdAdd"); // list: At Last, Poison
    click(page, "cmdNext");
    QCOMPARE(l.root.messages.value(0).title, QString("Unable to save"));
    QVERIFY2(l.root.messages[0].text.contains("the disk is full"),
             qPrintable(l.root.messages[0].text));
    QVERIFY2(l.root.messages[0].text.contains("MusicIn"), qPrintable(l.root.messages[0].text));
    QVERIFY(page->isVisible());
    QVERIFY(!l.w.loadedPage(8)); // the page stays, its list intact
    QCOMPARE(shownRows(page), QStringList({kFirstDance, kPoison}));

    // Once the database accepts writes again, Next saves the list and goes on. The next
    // list cannot be read: a message, an empty list, and no save reported as done.
    QVERIFY(execEvent({"DROP TRIGGER fail_half_way"}));
    click(page, "cmdNext");
    QCOMPARE(storedSongs("MusicIn"), QStringList({kFirstDance, kPoison}));
    QWidget* exclude = l.w.loadedPage(8);
    QVERIFY(exclude);
    QVERIFY(exclude->isVisible());
    QCOMPARE(shownRows(exclude), QStringList());
    click(exclude, "cmdNext");
    QCOMPARE(l.root.messages.size(), 3);
    QCOMPARE(l.root.messages[1].title, QString("Unable to read"));
    QVERIFY2(l.root.messages[1].text.contains("not an event database"),
             qPrintable(l.root.messages[1].text));
    QCOMPARE(l.root.messages[2].title, QString("Unable to save"));
    QVERIFY(exclude->isVisible());
}

QTEST_MAIN(TestSongLists)
#include "test_songlists.moc"
