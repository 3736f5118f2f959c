// The two song list pages and the custom song dialog where the whole road (test_road) does
// not reach: stored order, images, the 50-song limit, removal, a failing save, frmOddSong.

#include "TestSupport.h"

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

struct Row {
    int key;
    QString title, artist, length;
};

QString describe(const QList<Row>& rows)
{
    QStringList out;
    for (const Row& r : rows)
        out << QStringLiteral("%1|%2|%3|%4").arg(r.key).arg(r.title, r.artist, r.length);
    return out.join(QLatin1String("; "));
}

const Row kFirstDance{101, "At Last", "Etta James", "3:02"};
const Row kShout{202, "Shout", "The Isley Brothers", "4:30"};
const Row kOwnCd{-3, "Our Own CD", "Cousin Ben", "4:00"};
const Row kWaltz{-2, "Grandma's Waltz", "", ""};

// Runs statements on the real event database through a connection of its own.
void execAll(const QStringList& statements)
{
    SqlConnection conn(PathMap::eventDatabase(), SqlConnection::ReadWrite);
    QSqlQuery q(conn.database());
    for (const QString& s : statements)
        QVERIFY2(q.exec(s), qPrintable(s + ": " + q.lastError().text()));
}

void storeRows(const QString& table, const QList<Row>& rows)
{
    QStringList statements;
    for (const Row& r : rows)
        statements << QStringLiteral("INSERT INTO %1 (SongKey, SongTitle, SongArtist, SongTime) "
                                     "VALUES (%2, '%3', '%4', '%5')")
                          .arg(table)
                          .arg(r.key)
                          .arg(QString(r.title).replace("'", "''"),
                               QString(r.artist).replace("'", "''"), r.length);
    execAll(statements);
}

// The stored rows in dbKey order, with their dbKeys when asked.
QList<Row> storedRows(const QString& table, QList<int>* keys = nullptr)
{
    QList<Row> rows;
    SqlConnection conn(PathMap::eventDatabase(), SqlConnection::ReadOnly);
    QSqlQuery q(conn.database());
    if (!q.exec(QStringLiteral("SELECT dbKey, SongKey, SongTitle, SongArtist, SongTime FROM %1 "
                               "ORDER BY dbKey")
                    .arg(table)))
        qWarning("%s", qPrintable(q.lastError().text()));
    while (q.next()) {
        rows.append({q.value(1).toInt(), q.value(2).toString(), q.value(3).toString(),
                     q.value(4).toString()});
        if (keys)
            keys->append(q.value(0).toInt());
    }
    return rows;
}

QTreeWidget* listOf(QWidget* page)
{
    return child<QTreeWidget>(page, "lvListView");
}

QList<Row> shownRows(QWidget* page)
{
    QList<Row> rows;
    QTreeWidget* lv = listOf(page);
    for (int i = 0; i < lv->topLevelItemCount(); ++i) {
        const QTreeWidgetItem* it = lv->topLevelItem(i);
        rows.append(
            {it->data(0, SongListPage::kKeyRole).toInt(), it->text(0), it->text(1), it->text(2)});
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
        QCOMPARE(it->icon(0).pixmap(16, 16).toImage().convertToFormat(QImage::Format_ARGB32),
                 QImage(":/songs/" + expected + ".png").convertToFormat(QImage::Format_ARGB32));
        QCOMPARE(it->toolTip(0), it->text(0));
    }
}

void click(QWidget* form, const char* name)
{
    child<QPushButton>(form, name)->click();
}

// Fills the custom song dialog with `song` (the box ticked for -3) and presses OK.
void fillOddSong(QWidget* dlg, const Row& song)
{
    child<QLineEdit>(dlg, "txtName")->setText(song.title);
    child<QLineEdit>(dlg, "txtArtist")->setText(song.artist);
    child<QLineEdit>(dlg, "txtLength")->setText(song.length);
    child<QCheckBox>(dlg, "chkHaveMusic")->setChecked(song.key == -3);
    click(dlg, "cmdOK");
}

QString picked(const WizardState& state)
{
    const auto& p = state.PickedSong;
    return describe({{p.Key, p.Title, p.Artist, p.Length}});
}

// A started wizard with a catalogue and the custom song text in the data folder.
std::unique_ptr<Wizard> startWizard(TestRoot& root)
{
    root.writeCatalogue();
    QFile::copy(qEnvironmentVariable("ZEL_SOURCE_DIR") + "/data/song.rtf",
                root.mediaFolder() + "song.rtf");
    auto w = std::make_unique<Wizard>();
    if (!w->start())
        return nullptr;
    return w;
}

// The custom song dialog on its own, opened as the song-pick dialog opens it.
struct OddSong {
    TestRoot root;
    WizardState state;
    QWidget opener;
    DialogSlot<frmOddSong> slot;
    OddSong() { state.MediaFolder = root.mediaFolder(); }
    // Opens the dialog and runs `act` in it (closing it should `act` fail half way).
    void ask(const std::function<void(QWidget*)>& act)
    {
        whenModal("frmOddSong", [act](QWidget* dlg) {
            act(dlg);
            if (dlg->isVisible())
                dlg->close();
        });
        state.QueryAnswer = -2;
        frmOddSong::ask(slot, state, &opener);
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
    // The three built-in images differ, so the pixel check below tells them apart.
    const QImage hd(":/songs/hd.png"), cd(":/songs/cd.png"), nocd(":/songs/nocd.png");
    QVERIFY(hd.size() == QSize(16, 16) && hd != cd && cd != nocd && hd != nocd);

    TestRoot root;
    auto w = startWizard(root);
    QVERIFY(w);
    // Rows stored with dbKeys out of insertion order come back by dbKey.
    execAll({"INSERT INTO MusicIn VALUES (9, -3, 'A Song of Our Own', 'Cousin Ben', '')",
             "INSERT INTO MusicIn VALUES (2, 101, 'At Last', 'Etta James', '3:02')",
             "INSERT INTO MusicIn VALUES (5, -2, 'Grandma''s Waltz', '', '2:10')",
             "INSERT INTO MusicOut VALUES (1, 303, 'Chicken Dance', 'Werner Thomas', '2:45')"});
    auto* page = w->page(7);
    QCOMPARE(describe(shownRows(page)), describe({kFirstDance,
                                                  {-2, "Grandma's Waltz", "", "2:10"},
                                                  {-3, "A Song of Our Own", "Cousin Ben", ""}}));
    verifyImages(page);
    QVERIFY(root.messages.isEmpty());
    QCOMPARE(describe(shownRows(w->page(8))), QString("303|Chicken Dance|Werner Thomas|2:45"));
}

void TestSongLists::addSavesAndReloadsWithSameImages()
{
    TestRoot root;
    const QList<Row> expected{kFirstDance, kFirstDance, kOwnCd, kWaltz, kShout};
    {
        auto w = startWizard(root);
        QVERIFY(w);
        // The picker answers as the song-pick dialog does: 1 with a song, -2 for "I can't
        // find the song" (the custom song dialog follows), 0 for nothing picked.
        Row next = kFirstDance;
        qint16 answer = 1;
        int picks = 0;
        w->setSongPicker([&](QWidget*) {
            ++picks;
            QCOMPARE(w->state().QueryAnswer, std::optional<qint16>(0));
            w->state().QueryAnswer = answer;
            if (answer == 1)
                w->state().PickedSong = {qint16(next.key), next.title, next.artist, next.length};
        });
        auto* page = w->page(7);
        page->show();
        click(page, "cmdAdd");
        click(page, "cmdAdd"); // the same song twice: two rows
        answer = -2;
        for (const Row& custom : {kOwnCd, kWaltz}) {
            whenModal("frmOddSong", [custom](QWidget* dlg) { fillOddSong(dlg, custom); });
            click(page, "cmdAdd");
        }
        answer = 0; // nothing picked: the list stays
        click(page, "cmdAdd");
        answer = 1;
        next = kShout;
        click(page, "cmdAdd");
        QCOMPARE(picks, 6);
        QCOMPARE(describe(shownRows(page)), describe(expected));
        verifyImages(page);

        click(page, "cmdNext");
        QVERIFY(root.messages.isEmpty());
        QVERIFY(!page->isVisible());
        QCOMPARE(describe(storedRows("MusicIn")), describe(expected));
        QVERIFY(storedRows("MusicOut").isEmpty());
    }
    // A new run reads the same list back, with the same images.
    auto w = startWizard(root);
    QVERIFY(w);
    QCOMPARE(describe(shownRows(w->page(7))), describe(expected));
    verifyImages(w->page(7));
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
    TestRoot root;
    auto w = startWizard(root);
    QVERIFY(w);
    QList<Row> rows;
    for (int i = 1; i <= 49; ++i)
        rows.append({i, QStringLiteral("Song %1").arg(i), "Band", "3:00"});
    storeRows(table, rows);
    QStringList captions;
    w->setSongPicker([&](QWidget* opener) {
        captions << opener->property("songPickCaption").toString();
        w->state().PickedSong = {qint16(50), "Song 50", "Band", "3:00"};
        w->state().QueryAnswer = 1;
    });
    auto* page = w->page(index);
    page->show();
    click(page, "cmdAdd"); // the 50th song can still be added
    QCOMPARE(captions, QStringList{pickCaption});
    QCOMPARE(listOf(page)->topLevelItemCount(), 50);
    QVERIFY(root.messages.isEmpty());

    click(page, "cmdAdd"); // the 51st is refused before the song-pick dialog opens
    QCOMPARE(captions.size(), 1);
    QCOMPARE(listOf(page)->topLevelItemCount(), 50);
    QCOMPARE(root.messages.size(), 1);
    QCOMPARE(root.messages[0].text, full);
    QCOMPARE(root.messages[0].title, QString("Too many songs selected"));
    QCOMPARE(root.messages[0].buttons, QMessageBox::StandardButtons(QMessageBox::Ok));
    QCOMPARE(w->state().QueryAnswer, std::optional<qint16>(0));

    click(page, "cmdNext");
    QCOMPARE(storedRows(table).size(), 50);
    QCOMPARE(storedRows(table).last().title, QString("Song 50"));
}

void TestSongLists::removeAndEmptyList()
{
    TestRoot root;
    auto w = startWizard(root);
    QVERIFY(w);
    storeRows("MusicOut", {kFirstDance, kShout, kWaltz});
    auto* page = w->page(8);
    page->show();
    QTreeWidget* lv = listOf(page);
    lv->clearSelection();
    click(page, "cmdRemove"); // nothing selected: nothing happens
    QCOMPARE(lv->topLevelItemCount(), 3);
    lv->setCurrentItem(lv->topLevelItem(1));
    click(page, "cmdRemove");
    QCOMPARE(describe(shownRows(page)), describe({kFirstDance, kWaltz}));

    // Back keeps the change on the page without saving it; Next saves it.
    click(page, "cmdBack");
    QCOMPARE(storedRows("MusicOut").size(), 3);
    QVERIFY(w->loadedPage(7) && w->loadedPage(7)->isVisible());
    click(w->loadedPage(7), "cmdNext");
    QVERIFY(page->isVisible());
    QCOMPARE(lv->topLevelItemCount(), 2);
    click(page, "cmdNext");
    QCOMPARE(describe(storedRows("MusicOut")), describe({kFirstDance, kWaltz}));

    // Saving an empty list empties the table.
    page->show();
    lv->clear();
    click(page, "cmdNext");
    QVERIFY(root.messages.isEmpty());
    QVERIFY(storedRows("MusicOut").isEmpty());
}

void TestSongLists::failedSaveLeavesStoredListAsItWas()
{
    TestRoot root;
    auto w = startWizard(root);
    QVERIFY(w);
    storeRows("MusicIn", {kFirstDance, kShout});
    QList<int> keysBefore;
    const QList<Row> before = storedRows("MusicIn", &keysBefore);
    // The disk "fills up" at the second song written: after the delete and one insert.
    execAll({"CREATE TRIGGER fail_half_way BEFORE INSERT ON MusicIn WHEN NEW.SongTitle = "
             "'Poison' BEGIN SELECT RAISE(ABORT, 'disk full'); END"});
    w->setSongPicker([&](QWidget*) {
        w->state().PickedSong = {qint16(7), "Poison", "Alice Cooper", "4:29"};
        w->state().QueryAnswer = 1;
    });
    auto* page = w->page(7);
    page->show();
    delete listOf(page)->takeTopLevelItem(1);
    click(page, "cmdAdd"); // list: At Last, Poison
    click(page, "cmdNext");

    QCOMPARE(root.messages.size(), 1);
    QCOMPARE(root.messages[0].title, QString("Unable to save"));
    QVERIFY2(root.messages[0].text.contains("disk full"), qPrintable(root.messages[0].text));
    QVERIFY(root.messages[0].text.contains("MusicIn"));
    QVERIFY(page->isVisible()); // the page stays, its list intact
    QVERIFY(!w->loadedPage(8));
    QCOMPARE(listOf(page)->topLevelItemCount(), 2);
    QList<int> keysAfter;
    QCOMPARE(describe(storedRows("MusicIn", &keysAfter)), describe(before));
    QCOMPARE(keysAfter, keysBefore);

    // Once the database accepts writes again, Next saves the list and goes on.
    execAll({"DROP TRIGGER fail_half_way"});
    click(page, "cmdNext");
    QCOMPARE(root.messages.size(), 1);
    QVERIFY(!page->isVisible());
    QCOMPARE(describe(storedRows("MusicIn")),
             describe({kFirstDance, {7, "Poison", "Alice Cooper", "4:29"}}));
}

void TestSongLists::unreadableTableIsReported()
{
    TestRoot root;
    auto w = startWizard(root);
    QVERIFY(w);
    execAll({"ALTER TABLE MusicOut RENAME TO Elsewhere"});
    auto* page = w->page(8);
    QCOMPARE(root.messages.size(), 1);
    QCOMPARE(root.messages[0].title, QString("Unable to read"));
    QVERIFY(root.messages[0].text.contains("MusicOut"));
    QCOMPARE(listOf(page)->topLevelItemCount(), 0);
    // Nor is a save reported as done.
    page->show();
    click(page, "cmdNext");
    QCOMPARE(root.messages.size(), 2);
    QCOMPARE(root.messages[1].title, QString("Unable to save"));
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
    QCOMPARE(picked(o.state), describe({{-2, "  ", "Nobody", ""}}));

    // The same instance opens again; ticking the box gives -3.
    frmOddSong* first = o.slot.current();
    o.ask([](QWidget* dlg) { fillOddSong(dlg, {-3, "Our Own CD", "Cousin Ben", "3:33"}); });
    QCOMPARE(o.slot.current(), first);
    QCOMPARE(first->parentWidget(), &o.opener);
    QCOMPARE(o.state.QueryAnswer, std::optional<qint16>(1));
    QCOMPARE(picked(o.state), describe({{-3, "Our Own CD", "Cousin Ben", "3:33"}}));
}

void TestSongLists::oddSongKeepsTextAndCloseBoxStartsAfresh()
{
    OddSong o;
    o.state.PickedSong = {12, "Kept", "Artist", "2:00"};
    // What the boxes held when the dialog opened: name and tick.
    QStringList opened;
    auto note = [&](QWidget* dlg) {
        opened << child<QLineEdit>(dlg, "txtName")->text() +
                      (child<QCheckBox>(dlg, "chkHaveMusic")->isChecked() ? "+" : "");
    };

    // Cancel after typing hands nothing back; the text stays for the next opening, where
    // Escape acts as Cancel.
    o.ask([&](QWidget* dlg) {
        note(dlg);
        child<QLineEdit>(dlg, "txtName")->setText("Half typed");
        child<QCheckBox>(dlg, "chkHaveMusic")->setChecked(true);
        click(dlg, "cmdCancel");
    });
    QCOMPARE(o.state.QueryAnswer, std::optional<qint16>(0));
    o.ask([&](QWidget* dlg) {
        note(dlg);
        QTest::keyClick(dlg, Qt::Key_Escape);
    });
    QCOMPARE(o.state.QueryAnswer, std::optional<qint16>(0));

    // The close box: answer 0, and the next opening starts with empty boxes.
    o.ask([&](QWidget* dlg) {
        note(dlg);
        dlg->close();
    });
    QCOMPARE(o.state.QueryAnswer, std::optional<qint16>(0));
    o.ask([&](QWidget* dlg) {
        note(dlg);
        click(dlg, "cmdCancel");
    });
    QCOMPARE(opened, QStringList({"", "Half typed+", "Half typed+", ""}));
    QCOMPARE(picked(o.state), describe({{12, "Kept", "Artist", "2:00"}}));
}

void TestSongLists::oddSongExplainsItself()
{
    TestRoot root;
    WizardState state;
    state.MediaFolder = root.mediaFolder();
    {
        // Without song.rtf the dialog still explains itself.
        frmOddSong dlg(state, nullptr);
        QVERIFY(!child<QTextBrowser>(&dlg, "RichTextBox1")->toPlainText().isEmpty());
    }
    QVERIFY(QFile::copy(qEnvironmentVariable("ZEL_SOURCE_DIR") + "/data/song.rtf",
                        root.mediaFolder() + "song.rtf"));
    frmOddSong dlg(state, nullptr);
    const QString text = child<QTextBrowser>(&dlg, "RichTextBox1")->toPlainText();
    QVERIFY(!text.isEmpty());
    QVERIFY(!text.contains("\\rtf")); // read as rich text, not shown as its source
}

QTEST_MAIN(TestSongLists)
#include "test_songlists.moc"
