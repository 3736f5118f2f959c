// The two song list pages and the custom song dialog where the whole road (test_road) does
// not reach: stored order, images, the 50-song limit, removal, a failing save, frmOddSong.

#include "TestSupport.h"

#include "app/ZelWizard.h"
#include "platform/PathMap.h"
#include "songs/SongListPage.h"
#include "songs/frmOddSong.h"
#include "store/SqlConnection.h"
#include "wizard/Wizard.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QSqlError>
#include <QSqlQuery>
#include <QTextBrowser>
#include <QTreeWidget>
#include <QtTest>

namespace
{

// A song as "key|title|artist|length".
const QString kFirstDance = "101|At Last|Etta James|3:02";
const QString kShout = "202|Shout|The Isley Brothers|4:30";
const QString kOwnCd = "-3|Our Own CD|Cousin Ben|4:00";
const QString kWaltz = "-2|Grandma's Waltz||";
const QString kPoison = "7|Poison|Alice Cooper|4:29";

// Runs statements on the real event database through a connection of its own.
void execAll(const QStringList& statements)
{
    SqlConnection conn(PathMap::eventDatabase(), SqlConnection::ReadWrite);
    QSqlQuery q(conn.database());
    for (const QString& s : statements)
        QVERIFY2(q.exec(s), qPrintable(s + ": " + q.lastError().text()));
}

void storeRows(const QString& table, const QStringList& songs)
{
    QStringList statements;
    for (QString song : songs) {
        const QStringList f = song.replace("'", "''").split('|');
        statements << QStringLiteral("INSERT INTO %1 (SongKey, SongTitle, SongArtist, SongTime) "
                                     "VALUES (%2, '%3', '%4', '%5')")
                          .arg(table, f[0], f[1], f[2], f[3]);
    }
    execAll(statements);
}

// The stored songs in dbKey order, each led by its dbKey ("dbKey:song") when asked.
QStringList storedSongs(const QString& table, bool withDbKey = false)
{
    QStringList songs;
    for (const QStringList& r :
         storedRows("SELECT dbKey, SongKey, SongTitle, SongArtist, SongTime FROM " + table +
                    " ORDER BY dbKey")) {
        const QString song = r.mid(1).join('|').replace("<null>", "");
        songs << (withDbKey ? r[0] + ":" + song : song);
    }
    return songs;
}

QTreeWidget* listOf(QWidget* page)
{
    return child<QTreeWidget>(page, "lvListView");
}

QStringList shownRows(QWidget* page)
{
    QStringList rows;
    QTreeWidget* lv = listOf(page);
    for (int i = 0; i < lv->topLevelItemCount(); ++i) {
        const QTreeWidgetItem* it = lv->topLevelItem(i);
        rows << QStringList({it->data(0, SongListPage::kKeyRole).toString(), it->text(0),
                             it->text(1), it->text(2)})
                    .join('|');
    }
    return rows;
}

// Checks that every row shows the image its key calls for (cd for -3, nocd for -2, hd for a
// catalogue song), both by name and by the very pixels of the built-in image, and carries
// its title as tooltip.
void verifyImages(QWidget* page)
{
    QTreeWidget* lv = listOf(page);
    for (int i = 0; i < lv->topLevelItemCount(); ++i) {
        const QTreeWidgetItem* it = lv->topLevelItem(i);
        const int key = it->data(0, SongListPage::kKeyRole).toInt();
        const QString expected = key == -3 ? "cd" : key == -2 ? "nocd" : "hd";
        QCOMPARE(it->data(0, SongListPage::kIconRole).toString(), expected);
        QCOMPARE(it->icon(0).pixmap(16, 16).toImage(),
                 QIcon(":/songs/" + expected + ".png").pixmap(16, 16).toImage());
        QCOMPARE(it->toolTip(0), it->text(0));
    }
}

void click(QWidget* form, const char* name)
{
    child<QPushButton>(form, name)->click();
}

// Fills the custom song dialog with `song` (the box ticked for -3) and presses OK.
void fillOddSong(QWidget* dlg, const QString& song)
{
    const QStringList f = song.split('|');
    child<QLineEdit>(dlg, "txtName")->setText(f[1]);
    child<QLineEdit>(dlg, "txtArtist")->setText(f[2]);
    child<QLineEdit>(dlg, "txtLength")->setText(f[3]);
    child<QCheckBox>(dlg, "chkHaveMusic")->setChecked(f[0] == "-3");
    click(dlg, "cmdOK");
}

QString picked(const WizardState& state)
{
    const auto& p = state.PickedSong;
    return QStringList({QString::number(p.Key), p.Title, p.Artist, p.Length}).join('|');
}

// Answers as the song-pick dialog does when a song is picked.
void pick(WizardState& state, const QString& song)
{
    const QStringList f = song.split('|');
    state.PickedSong = {qint16(f[0].toInt()), f[1], f[2], f[3]};
    state.QueryAnswer = 1;
}

// A started wizard with a catalogue and the custom song text in the data folder.
struct Lists {
    TestRoot root;
    std::unique_ptr<ZelWizard> w;
    Lists()
    {
        root.writeCatalogue();
        QFile::copy(qEnvironmentVariable("ZEL_SOURCE_DIR") + "/data/song.rtf",
                    root.mediaFolder() + "song.rtf");
        w = std::make_unique<ZelWizard>();
        if (!w->start())
            qWarning("start-up failed");
    }
    WizardPage* show(int index)
    {
        w->page(index)->show();
        return w->page(index);
    }
};

// The custom song dialog on its own, opened as the song-pick dialog opens it.
struct OddSong {
    TestRoot root;
    WizardState state;
    QWidget opener;
    DialogSlot<frmOddSong> slot;
    OddSong() { state.MediaFolder = root.mediaFolder(); }
    // Opens the dialog and runs `act` in it (closing it should `act` fail half way);
    // returns the answer it gave.
    qint16 ask(const std::function<void(QWidget*)>& act)
    {
        whenModal("frmOddSong", [act](QWidget* dlg) {
            act(dlg);
            if (dlg->isVisible())
                dlg->close();
        });
        state.QueryAnswer = -2;
        frmOddSong::ask(slot, state, &opener);
        return state.QueryAnswer.value_or(-99);
    }
};

} // namespace

class TestSongLists : public QObject
{
    Q_OBJECT
  private slots:
    void readsInDbKeyOrderWithImages();
    void addSavesAndReloadsWithSameImages();
    void fiftySongLimit_data();
    void fiftySongLimit();
    void removeAndEmptyList();
    void failedSaveLeavesStoredListAsItWas();
    void unreadableTableIsReported();
    void oddSongNameRequiredAndKeys();
    void oddSongKeepsTextAndCloseBoxStartsAfresh();
    void oddSongExplainsItself();
};

void TestSongLists::readsInDbKeyOrderWithImages()
{
    // The three built-in images differ, so the pixel check tells them apart.
    const QImage hd(":/songs/hd.png"), cd(":/songs/cd.png"), nocd(":/songs/nocd.png");
    QVERIFY(hd.size() == QSize(16, 16) && hd != cd && cd != nocd && hd != nocd);

    Lists l;
    // Rows stored with dbKeys out of insertion order come back by dbKey.
    execAll({"INSERT INTO MusicIn VALUES (9, -3, 'A Song of Our Own', 'Cousin Ben', '')",
             "INSERT INTO MusicIn VALUES (2, 101, 'At Last', 'Etta James', '3:02')",
             "INSERT INTO MusicIn VALUES (5, -2, 'Grandma''s Waltz', '', '2:10')",
             "INSERT INTO MusicOut VALUES (1, 303, 'Chicken Dance', 'Werner Thomas', '2:45')"});
    QCOMPARE(shownRows(l.w->page(7)), QStringList({kFirstDance, "-2|Grandma's Waltz||2:10",
                                                   "-3|A Song of Our Own|Cousin Ben|"}));
    verifyImages(l.w->page(7));
    QVERIFY(l.root.messages.isEmpty());
    QCOMPARE(shownRows(l.w->page(8)), QStringList{"303|Chicken Dance|Werner Thomas|2:45"});
}

void TestSongLists::addSavesAndReloadsWithSameImages()
{
    const QStringList expected{kFirstDance, kFirstDance, kOwnCd, kWaltz, kShout};
    auto l = std::make_unique<Lists>();
    // The picker answers as the song-pick dialog does: a song (the same one twice), -2 for
    // "I can't find the song" (the custom song dialog follows), 0 for nothing picked.
    QStringList answers{kFirstDance, kFirstDance, "-2", "-2", "0", kShout};
    l->w->setSongPicker([&](QWidget*) {
        QCOMPARE(l->w->state().QueryAnswer, std::optional<qint16>(0));
        const QString answer = answers.takeFirst();
        if (answer.contains('|'))
            pick(l->w->state(), answer);
        else
            l->w->state().QueryAnswer = qint16(answer.toInt());
    });
    WizardPage* page = l->show(7);
    QStringList customs{kOwnCd, kWaltz};
    while (!answers.isEmpty()) {
        if (answers.first() == "-2")
            whenModal("frmOddSong",
                      [custom = customs.takeFirst()](QWidget* dlg) { fillOddSong(dlg, custom); });
        click(page, "cmdAdd");
    }
    QVERIFY(answers.isEmpty());
    QCOMPARE(shownRows(page), expected);
    verifyImages(page);
    click(page, "cmdNext");
    QVERIFY(l->root.messages.isEmpty());
    QVERIFY(!page->isVisible());
    QCOMPARE(storedSongs("MusicIn"), expected);
    QVERIFY(storedSongs("MusicOut").isEmpty());

    // A new run reads the same list back, with the same images.
    l->w.reset();
    l->w = std::make_unique<ZelWizard>();
    QVERIFY(l->w->start());
    QCOMPARE(shownRows(l->w->page(7)), expected);
    verifyImages(l->w->page(7));
}

void TestSongLists::fiftySongLimit_data()
{
    QTest::addColumn<int>("index");
    QTest::addColumn<QString>("table");
    QTest::addColumn<QString>("pickCaption");
    QTest::addColumn<QString>("full");
    QTest::newRow("include") << 7 << "MusicIn"
                             << "Select a song to include"
                             << "The song include list already has 50 songs on it.";
    QTest::newRow("exclude") << 8 << "MusicOut"
                             << "Select a song to exclude"
                             << "The song exclude list already has 50 songs on it.";
}

void TestSongLists::fiftySongLimit()
{
    QFETCH(int, index);
    QFETCH(QString, table);
    QFETCH(QString, pickCaption);
    QFETCH(QString, full);
    Lists l;
    QStringList rows;
    for (int i = 1; i <= 49; ++i)
        rows << QStringLiteral("%1|Song %1|Band|3:00").arg(i);
    storeRows(table, rows);
    QStringList captions;
    l.w->setSongPicker([&](QWidget* opener) {
        captions << opener->property("songPickCaption").toString();
        pick(l.w->state(), "50|Song 50|Band|3:00");
    });
    WizardPage* page = l.show(index);
    click(page, "cmdAdd"); // the 50th song can still be added
    QCOMPARE(captions, QStringList{pickCaption});
    QCOMPARE(listOf(page)->topLevelItemCount(), 50);
    QVERIFY(l.root.messages.isEmpty());

    click(page, "cmdAdd"); // the 51st is refused before the song-pick dialog opens
    QCOMPARE(captions.size(), 1);
    QCOMPARE(listOf(page)->topLevelItemCount(), 50);
    QCOMPARE(l.root.messages.size(), 1);
    QCOMPARE(l.root.messages[0].text, full);
    QCOMPARE(l.root.messages[0].title, QString("Too many songs selected"));
    QCOMPARE(l.root.messages[0].buttons, QMessageBox::StandardButtons(QMessageBox::Ok));
    QCOMPARE(l.w->state().QueryAnswer, std::optional<qint16>(0));

    click(page, "cmdNext");
    QCOMPARE(storedSongs(table).size(), 50);
    QCOMPARE(storedSongs(table).last(), QString("50|Song 50|Band|3:00"));
}

void TestSongLists::removeAndEmptyList()
{
    Lists l;
    storeRows("MusicOut", {kFirstDance, kShout, kWaltz});
    WizardPage* page = l.show(8);
    QTreeWidget* lv = listOf(page);
    lv->clearSelection();
    click(page, "cmdRemove"); // nothing selected: nothing happens
    QCOMPARE(lv->topLevelItemCount(), 3);
    lv->setCurrentItem(lv->topLevelItem(1));
    click(page, "cmdRemove");
    QCOMPARE(shownRows(page), QStringList({kFirstDance, kWaltz}));

    // Back keeps the change on the page without saving it; Next saves it.
    click(page, "cmdBack");
    QCOMPARE(storedSongs("MusicOut").size(), 3);
    QVERIFY(l.w->loadedPage(7) && l.w->loadedPage(7)->isVisible());
    click(l.w->loadedPage(7), "cmdNext");
    QCOMPARE(shownRows(page), QStringList({kFirstDance, kWaltz}));
    click(page, "cmdNext");
    QCOMPARE(storedSongs("MusicOut"), QStringList({kFirstDance, kWaltz}));

    // Saving an empty list empties the table.
    page->show();
    lv->clear();
    click(page, "cmdNext");
    QVERIFY(l.root.messages.isEmpty());
    QVERIFY(storedSongs("MusicOut").isEmpty());
}

void TestSongLists::failedSaveLeavesStoredListAsItWas()
{
    Lists l;
    storeRows("MusicIn", {kFirstDance, kShout});
    const QStringList before = storedSongs("MusicIn", true);
    // The disk "fills up" at the second song written: after the delete and one insert.
    execAll({"CREATE TRIGGER fail_half_way BEFORE INSERT ON MusicIn WHEN NEW.SongTitle = "
             "'Poison' BEGIN SELECT RAISE(ABORT, 'disk full'); END"});
    l.w->setSongPicker([&](QWidget*) { pick(l.w->state(), kPoison); });
    WizardPage* page = l.show(7);
    delete listOf(page)->takeTopLevelItem(1);
    click(page, "cmdAdd"); // list: At Last, Poison
    click(page, "cmdNext");

    QCOMPARE(l.root.messages.size(), 1);
    QCOMPARE(l.root.messages[0].title, QString("Unable to save"));
    QVERIFY2(l.root.messages[0].text.contains("the disk is full"),
             qPrintable(l.root.messages[0].text));
    QVERIFY(l.root.messages[0].text.contains("MusicIn"));
    QVERIFY(page->isVisible()); // the page stays, its list intact
    QVERIFY(!l.w->loadedPage(8));
    QCOMPARE(shownRows(page), QStringList({kFirstDance, kPoison}));
    QCOMPARE(storedSongs("MusicIn", true), before); // the same rows under the same dbKeys

    // Once the database accepts writes again, Next saves the list and goes on.
    execAll({"DROP TRIGGER fail_half_way"});
    click(page, "cmdNext");
    QCOMPARE(l.root.messages.size(), 1);
    QVERIFY(!page->isVisible());
    QCOMPARE(storedSongs("MusicIn"), QStringList({kFirstDance, kPoison}));
}

void TestSongLists::unreadableTableIsReported()
{
    Lists l;
    execAll({"ALTER TABLE MusicOut RENAME TO Elsewhere"});
    WizardPage* page = l.show(8);
    QCOMPARE(l.root.messages.size(), 1);
    QCOMPARE(l.root.messages[0].title, QString("Unable to read"));
    QVERIFY(l.root.messages[0].text.contains("not an event database"));
    QCOMPARE(listOf(page)->topLevelItemCount(), 0);
    // Nor is a save reported as done.
    click(page, "cmdNext");
    QCOMPARE(l.root.messages.size(), 2);
    QCOMPARE(l.root.messages[1].title, QString("Unable to save"));
    QVERIFY(page->isVisible());
}

void TestSongLists::oddSongNameRequiredAndKeys()
{
    OddSong o;
    o.state.PickedSong = {55, "Before", "Someone", "1:00"};

    // OK without a name: the message, and the dialog stays open with nothing changed.
    bool stayedOpen = false;
    QString titleMeanwhile;
    o.ask([&](QWidget* dlg) {
        child<QLineEdit>(dlg, "txtArtist")->setText("Nobody");
        click(dlg, "cmdOK");
        stayedOpen = dlg->isVisible();
        titleMeanwhile = o.state.PickedSong.Title;
        child<QLineEdit>(dlg, "txtName")->setText("  "); // blanks count as a name
        click(dlg, "cmdOK");
    });
    QVERIFY(stayedOpen);
    QCOMPARE(titleMeanwhile, QString("Before"));
    QCOMPARE(o.root.messages.size(), 1);
    QCOMPARE(o.root.messages[0].text, QString("Your song must have a name."));
    QCOMPARE(o.root.messages[0].title, QString("Name Required"));
    QCOMPARE(o.root.messages[0].buttons, QMessageBox::StandardButtons(QMessageBox::Ok));
    QCOMPARE(o.state.QueryAnswer, std::optional<qint16>(1));
    QCOMPARE(picked(o.state), QString("-2|  |Nobody|"));

    // The same instance opens again; ticking the box gives -3.
    frmOddSong* first = o.slot.current();
    QCOMPARE(o.ask([](QWidget* dlg) { fillOddSong(dlg, "-3|Our Own CD|Cousin Ben|3:33"); }),
             qint16(1));
    QCOMPARE(o.slot.current(), first);
    QCOMPARE(first->parentWidget(), &o.opener);
    QCOMPARE(picked(o.state), QString("-3|Our Own CD|Cousin Ben|3:33"));
}

void TestSongLists::oddSongKeepsTextAndCloseBoxStartsAfresh()
{
    OddSong o;
    o.state.PickedSong = {12, "Kept", "Artist", "2:00"};
    // What the boxes held at each opening (name, "+" when ticked), and the answers given.
    QStringList opened;
    QList<qint16> answers;
    auto openAnd = [&](const std::function<void(QWidget*)>& act) {
        answers << o.ask([&](QWidget* dlg) {
            opened << child<QLineEdit>(dlg, "txtName")->text() +
                          (child<QCheckBox>(dlg, "chkHaveMusic")->isChecked() ? "+" : "");
            act(dlg);
        });
    };
    // Cancel after typing hands nothing back; the text stays for the next opening, where
    // Escape acts as Cancel. The close box also answers 0, and the next opening starts
    // with empty boxes.
    openAnd([](QWidget* dlg) {
        child<QLineEdit>(dlg, "txtName")->setText("Half typed");
        child<QCheckBox>(dlg, "chkHaveMusic")->setChecked(true);
        click(dlg, "cmdCancel");
    });
    openAnd([](QWidget* dlg) { QTest::keyClick(dlg, Qt::Key_Escape); });
    openAnd([](QWidget* dlg) { dlg->close(); });
    openAnd([](QWidget* dlg) { click(dlg, "cmdCancel"); });
    QCOMPARE(opened, QStringList({"", "Half typed+", "Half typed+", ""}));
    QCOMPARE(answers, QList<qint16>({0, 0, 0, 0}));
    QCOMPARE(picked(o.state), QString("12|Kept|Artist|2:00"));
}

void TestSongLists::oddSongExplainsItself()
{
    OddSong o;
    {
        // Without song.rtf the dialog still explains itself.
        frmOddSong dlg(o.state, nullptr);
        QVERIFY(!child<QTextBrowser>(&dlg, "RichTextBox1")->toPlainText().isEmpty());
    }
    QVERIFY(QFile::copy(qEnvironmentVariable("ZEL_SOURCE_DIR") + "/data/song.rtf",
                        o.root.mediaFolder() + "song.rtf"));
    frmOddSong dlg(o.state, nullptr);
    const QString text = child<QTextBrowser>(&dlg, "RichTextBox1")->toPlainText();
    QVERIFY(!text.isEmpty());
    QVERIFY(!text.contains("\\rtf")); // read as rich text, not shown as its source
}

QTEST_MAIN(TestSongLists)
#include "test_songlists.moc"
