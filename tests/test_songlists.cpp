#include "TestSupport.h"

#include "platform/PathMap.h"
#include "songs/SongListPage.h"
#include "songs/frmOddSong.h"
#include "store/SqlConnection.h"
#include "wizard/Wizard.h"

#include <QCheckBox>
#include <QLabel>
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
    QString title;
    QString artist;
    QString length;
    bool operator==(const Row&) const = default;
};

QString describe(const QList<Row>& rows)
{
    QStringList out;
    for (const Row& r : rows)
        out << QStringLiteral("%1|%2|%3|%4").arg(r.key).arg(r.title, r.artist, r.length);
    return out.join(QLatin1String("; "));
}

// Runs statements on the real event database through a connection of its own.
void execAll(const QStringList& statements)
{
    SqlConnection conn(PathMap::eventDatabase(), SqlConnection::ReadWrite);
    QVERIFY2(conn.isOpen(), qPrintable(conn.errorString()));
    QSqlQuery q(conn.database());
    for (const QString& s : statements)
        QVERIFY2(q.exec(s), qPrintable(s + ": " + q.lastError().text()));
}

void storeRows(const QString& table, const QList<Row>& rows)
{
    SqlConnection conn(PathMap::eventDatabase(), SqlConnection::ReadWrite);
    QVERIFY(conn.isOpen());
    QSqlQuery q(conn.database());
    QVERIFY(q.prepare(QStringLiteral("INSERT INTO %1 (SongKey, SongTitle, SongArtist, SongTime) "
                                     "VALUES (?, ?, ?, ?)")
                          .arg(table)));
    for (const Row& r : rows) {
        q.bindValue(0, r.key);
        q.bindValue(1, r.title);
        q.bindValue(2, r.artist);
        q.bindValue(3, r.length);
        QVERIFY2(q.exec(), qPrintable(q.lastError().text()));
    }
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
    return page->findChild<QTreeWidget*>("lvListView");
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

QImage normalised(const QImage& image)
{
    return image.convertToFormat(QImage::Format_ARGB32);
}

// Checks that every row shows the image its key calls for, both by name and by the very
// pixels of the built-in image, and carries its title as tooltip.
void verifyImages(QWidget* page)
{
    QTreeWidget* lv = listOf(page);
    for (int i = 0; i < lv->topLevelItemCount(); ++i) {
        const QTreeWidgetItem* it = lv->topLevelItem(i);
        const int key = it->data(0, SongListPage::kKeyRole).toInt();
        const QString expected = key == -3 ? "cd" : key == -2 ? "nocd" : "hd";
        QCOMPARE(it->data(0, SongListPage::kIconRole).toString(), expected);
        const QImage shown = normalised(it->icon(0).pixmap(16, 16).toImage());
        QCOMPARE(shown, normalised(QImage(":/songs/" + expected + ".png")));
        QCOMPARE(it->toolTip(0), it->text(0));
    }
}

void clickAdd(QWidget* page)
{
    page->findChild<QPushButton*>("cmdAdd")->click();
}
void clickNext(QWidget* page)
{
    page->findChild<QPushButton*>("cmdNext")->click();
}

// Fills and confirms the custom song dialog when it opens.
void answerOddSong(const QString& name, const QString& artist, const QString& length, bool have)
{
    whenModal("frmOddSong", [=](QWidget* dlg) {
        dlg->findChild<QLineEdit*>("txtName")->setText(name);
        dlg->findChild<QLineEdit*>("txtArtist")->setText(artist);
        dlg->findChild<QLineEdit*>("txtLength")->setText(length);
        dlg->findChild<QCheckBox*>("chkHaveMusic")->setChecked(have);
        dlg->findChild<QPushButton*>("cmdOK")->click();
    });
}

const Row kFirstDance{101, "At Last", "Etta James", "3:02"};
const Row kShout{202, "Shout", "The Isley Brothers", "4:30"};

} // namespace

class TestSongLists : public QObject
{
    Q_OBJECT
  private slots:
    void imagesAreBuiltIn();
    void readsInDbKeyOrderWithImages();
    void addSavesAndReloadsWithSameImages();
    void fiftySongLimit();
    void removeAndEmptyList();
    void failedSaveLeavesStoredListAsItWas();
    void includeAndExcludeDiffer();
    void unreadableTableIsReported();
    void oddSongNameRequiredAndKeys();
    void oddSongKeepsTextAndCloseBoxStartsAfresh();
    void oddSongLimitsAndText();

  private:
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
};

void TestSongLists::imagesAreBuiltIn()
{
    const QImage hd(":/songs/hd.png"), cd(":/songs/cd.png"), nocd(":/songs/nocd.png");
    QCOMPARE(hd.size(), QSize(16, 16));
    QCOMPARE(cd.size(), QSize(16, 16));
    QCOMPARE(nocd.size(), QSize(16, 16));
    QVERIFY(hd != cd && cd != nocd && hd != nocd);
    QCOMPARE(SongListPage::iconNameFor(-3), QString("cd"));
    QCOMPARE(SongListPage::iconNameFor(-2), QString("nocd"));
    QCOMPARE(SongListPage::iconNameFor(-1), QString("hd"));
    QCOMPARE(SongListPage::iconNameFor(0), QString("hd"));
    QCOMPARE(SongListPage::iconNameFor(32767), QString("hd"));
}

void TestSongLists::readsInDbKeyOrderWithImages()
{
    TestRoot root;
    auto w = startWizard(root);
    QVERIFY(w);
    // Rows stored with dbKeys out of insertion order come back by dbKey.
    execAll({"INSERT INTO MusicIn VALUES (9, -3, 'A Song of Our Own', 'Cousin Ben', '')",
             "INSERT INTO MusicIn VALUES (2, 101, 'At Last', 'Etta James', '3:02')",
             "INSERT INTO MusicIn VALUES (5, -2, 'Grandma''s Waltz', '', '2:10')",
             "INSERT INTO MusicOut VALUES (1, 303, 'Chicken Dance', 'Werner Thomas', '2:45')"});
    auto* page = w->page(7);
    const QList<Row> expected{kFirstDance,
                              {-2, "Grandma's Waltz", "", "2:10"},
                              {-3, "A Song of Our Own", "Cousin Ben", ""}};
    QCOMPARE(describe(shownRows(page)), describe(expected));
    verifyImages(page);
    QVERIFY(root.messages.isEmpty());
    QCOMPARE(describe(shownRows(w->page(8))), QString("303|Chicken Dance|Werner Thomas|2:45"));
}

void TestSongLists::addSavesAndReloadsWithSameImages()
{
    TestRoot root;
    QList<Row> expected;
    {
        auto w = startWizard(root);
        QVERIFY(w);
        QStringList captions;
        Row next = kFirstDance;
        qint16 answer = 1;
        w->setSongPicker([&](QWidget* opener) {
            captions << opener->property("songPickCaption").toString();
            QCOMPARE(w->state().QueryAnswer, std::optional<qint16>(0));
            w->state().QueryAnswer = answer;
            if (answer == 1)
                w->state().PickedSong = {qint16(next.key), next.title, next.artist, next.length};
        });
        auto* page = w->page(7);
        page->show();
        clickAdd(page);
        clickAdd(page); // the same song twice: two rows
        answer = -2;
        answerOddSong("Our Own CD", "Cousin Ben", "4:00", true);
        clickAdd(page);
        answerOddSong("Grandma's Waltz", "", "", false);
        clickAdd(page);
        answer = 0; // nothing picked: the list stays
        clickAdd(page);
        answer = 1;
        next = kShout;
        clickAdd(page);
        QCOMPARE(captions, QStringList(6, "Select a song to include"));

        expected = {kFirstDance,
                    kFirstDance,
                    {-3, "Our Own CD", "Cousin Ben", "4:00"},
                    {-2, "Grandma's Waltz", "", ""},
                    kShout};
        QCOMPARE(describe(shownRows(page)), describe(expected));
        verifyImages(page);

        clickNext(page);
        QVERIFY(root.messages.isEmpty());
        QVERIFY(!page->isVisible());
        QCOMPARE(describe(storedRows("MusicIn")), describe(expected));
        QVERIFY(storedRows("MusicOut").isEmpty());
    }
    // A new run reads the same list back, with the same images.
    auto w = startWizard(root);
    QVERIFY(w);
    auto* page = w->page(7);
    QCOMPARE(describe(shownRows(page)), describe(expected));
    verifyImages(page);
    const QTreeWidgetItem* custom = listOf(page)->topLevelItem(2);
    QCOMPARE(custom->data(0, SongListPage::kIconRole).toString(), QString("cd"));
    QCOMPARE(listOf(page)->topLevelItem(3)->data(0, SongListPage::kIconRole).toString(),
             QString("nocd"));
    QCOMPARE(listOf(page)->topLevelItem(0)->data(0, SongListPage::kIconRole).toString(),
             QString("hd"));
}

void TestSongLists::fiftySongLimit()
{
    TestRoot root;
    auto w = startWizard(root);
    QVERIFY(w);
    QList<Row> rows;
    for (int i = 1; i <= 49; ++i)
        rows.append({i, QStringLiteral("Song %1").arg(i), "Band", "3:00"});
    storeRows("MusicIn", rows);
    int picks = 0;
    w->setSongPicker([&](QWidget*) {
        ++picks;
        w->state().PickedSong = {qint16(50), "Song 50", "Band", "3:00"};
        w->state().QueryAnswer = 1;
    });
    auto* page = w->page(7);
    page->show();
    clickAdd(page); // the 50th song can still be added
    QCOMPARE(picks, 1);
    QCOMPARE(listOf(page)->topLevelItemCount(), 50);
    QVERIFY(root.messages.isEmpty());

    clickAdd(page); // the 51st is refused before the song-pick dialog opens
    QCOMPARE(picks, 1);
    QCOMPARE(listOf(page)->topLevelItemCount(), 50);
    QCOMPARE(root.messages.size(), 1);
    QCOMPARE(root.messages[0].text, QString("The song include list already has 50 songs on it."));
    QCOMPARE(root.messages[0].title, QString("Too many songs selected"));
    QCOMPARE(root.messages[0].buttons, QMessageBox::StandardButtons(QMessageBox::Ok));
    QCOMPARE(w->state().QueryAnswer, std::optional<qint16>(0));

    clickNext(page);
    QCOMPARE(storedRows("MusicIn").size(), 50);
    QCOMPARE(storedRows("MusicIn").last().title, QString("Song 50"));
}

void TestSongLists::removeAndEmptyList()
{
    TestRoot root;
    auto w = startWizard(root);
    QVERIFY(w);
    storeRows("MusicOut", {kFirstDance, kShout, {-2, "Macarena", "", ""}});
    auto* page = w->page(8);
    page->show();
    auto* remove = page->findChild<QPushButton*>("cmdRemove");
    QTreeWidget* lv = listOf(page);
    lv->clearSelection();
    remove->click(); // nothing selected: nothing happens
    QCOMPARE(lv->topLevelItemCount(), 3);

    lv->setCurrentItem(lv->topLevelItem(1));
    QVERIFY(lv->topLevelItem(1)->isSelected());
    remove->click();
    QCOMPARE(describe(shownRows(page)), describe({kFirstDance, {-2, "Macarena", "", ""}}));
    // Back keeps the change on the page without saving it.
    page->findChild<QPushButton*>("cmdBack")->click();
    QCOMPARE(storedRows("MusicOut").size(), 3);
    auto* previous = w->loadedPage(7);
    QVERIFY(previous && previous->isVisible());
    clickNext(previous);
    QVERIFY(page->isVisible());
    QCOMPARE(listOf(page)->topLevelItemCount(), 2);
    clickNext(page);
    QCOMPARE(describe(storedRows("MusicOut")), describe({kFirstDance, {-2, "Macarena", "", ""}}));

    // Saving an empty list empties the table.
    page->show();
    lv->clear();
    clickNext(page);
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
    clickAdd(page); // list: At Last, Poison
    clickNext(page);

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
    clickNext(page);
    QCOMPARE(root.messages.size(), 1);
    QVERIFY(!page->isVisible());
    QCOMPARE(describe(storedRows("MusicIn")),
             describe({kFirstDance, {7, "Poison", "Alice Cooper", "4:29"}}));
}

void TestSongLists::includeAndExcludeDiffer()
{
    TestRoot root;
    auto w = startWizard(root);
    QVERIFY(w);
    struct Expect {
        int index;
        QString name, caption, heading, text, pickCaption, full, table;
        qint16 step;
    };
    const QList<Expect> pages{
        {7, "Menu8", "Songs to Include", "Suggested Play List",
         "Build a list of up to 50 songs that you would like to hear at your reception.",
         "Select a song to include", "The song include list already has 50 songs on it.", "MusicIn",
         7},
        {8, "Menu9", "Songs to Exclude", "Do-Not-Play List",
         "Please indicate up to 50 songs that you specifically would like to NOT hear at your "
         "reception.",
         "Select a song to exclude", "The song exclude list already has 50 songs on it.",
         "MusicOut", 8}};
    for (const Expect& e : pages) {
        QList<Row> rows;
        for (int i = 0; i < 50; ++i)
            rows.append({i + 1, e.table + QString::number(i), "", ""});
        storeRows(e.table, rows);
        QString caption;
        w->setSongPicker([&](QWidget* opener) {
            caption = opener->property("songPickCaption").toString();
            w->state().QueryAnswer = 0;
        });
        auto* page = qobject_cast<SongListPage*>(w->page(e.index));
        QVERIFY(page);
        QCOMPARE(page->objectName(), e.name);
        QCOMPARE(page->windowTitle(), e.caption);
        QCOMPARE(w->state().CurrentStep, e.step);
        QCOMPARE(page->findChild<QLabel*>("lblTop_0")->text(), e.heading);
        QCOMPARE(page->findChild<QLabel*>("lblTop_1")->text(), e.text);
        QCOMPARE(page->tableName(), e.table);
        QCOMPARE(page->findChild<QPushButton*>("cmdAdd")->text(), QString("Add"));
        QCOMPARE(page->findChild<QPushButton*>("cmdRemove")->text(), QString("Remove"));
        QTreeWidget* lv = listOf(page);
        QCOMPARE(lv->headerItem()->text(0), QString("Title"));
        QCOMPARE(lv->headerItem()->text(1), QString("Artist"));
        QCOMPARE(lv->headerItem()->text(2), QString("Length"));
        QCOMPARE(lv->topLevelItemCount(), 50);
        QCOMPARE(lv->topLevelItem(0)->text(0), e.table + "0");
        page->show();
        clickAdd(page);
        QCOMPARE(root.messages.last().text, e.full);
        delete lv->takeTopLevelItem(0);
        clickAdd(page);
        QCOMPARE(caption, e.pickCaption);
        page->hide();
    }
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
    clickNext(page);
    QCOMPARE(root.messages.size(), 2);
    QCOMPARE(root.messages[1].title, QString("Unable to save"));
    QVERIFY(page->isVisible());
}

void TestSongLists::oddSongNameRequiredAndKeys()
{
    TestRoot root;
    WizardState state;
    state.MediaFolder = root.mediaFolder();
    QWidget opener;
    DialogSlot<frmOddSong> slot;
    state.PickedSong = {55, "Before", "Someone", "1:00"};

    // OK without a name: the message, and the dialog stays open with nothing changed.
    bool stayedOpen = false;
    whenModal("frmOddSong", [&](QWidget* dlg) {
        dlg->findChild<QLineEdit*>("txtArtist")->setText("Nobody");
        dlg->findChild<QPushButton*>("cmdOK")->click();
        stayedOpen = dlg->isVisible();
        QCOMPARE(state.PickedSong.Title, QString("Before"));
        dlg->findChild<QLineEdit*>("txtName")->setText("  "); // blanks count as a name
        dlg->findChild<QPushButton*>("cmdOK")->click();
    });
    state.QueryAnswer = -2;
    frmOddSong::ask(slot, state, &opener);
    QVERIFY(stayedOpen);
    QCOMPARE(root.messages.size(), 1);
    QCOMPARE(root.messages[0].text, QString("Your song must have a name."));
    QCOMPARE(root.messages[0].title, QString("Name Required"));
    QCOMPARE(root.messages[0].buttons, QMessageBox::StandardButtons(QMessageBox::Ok));
    QCOMPARE(state.QueryAnswer, std::optional<qint16>(1));
    QCOMPARE(state.PickedSong.Key, qint16(-2));
    QCOMPARE(state.PickedSong.Title, QString("  "));
    QCOMPARE(state.PickedSong.Artist, QString("Nobody"));
    QCOMPARE(state.PickedSong.Length, QString(""));

    // The same instance opens again; ticking the box gives -3.
    frmOddSong* first = slot.current();
    answerOddSong("Our Own CD", "Cousin Ben", "3:33", true);
    state.QueryAnswer = -2;
    frmOddSong::ask(slot, state, &opener);
    QCOMPARE(slot.current(), first);
    QCOMPARE(first->parentWidget(), &opener);
    QCOMPARE(state.QueryAnswer, std::optional<qint16>(1));
    QCOMPARE(state.PickedSong.Key, qint16(-3));
    QCOMPARE(state.PickedSong.Title, QString("Our Own CD"));
    QCOMPARE(state.PickedSong.Length, QString("3:33"));
}

void TestSongLists::oddSongKeepsTextAndCloseBoxStartsAfresh()
{
    TestRoot root;
    WizardState state;
    state.MediaFolder = root.mediaFolder();
    QWidget opener;
    DialogSlot<frmOddSong> slot;
    state.PickedSong = {12, "Kept", "Artist", "2:00"};

    // Cancel after typing: nothing handed back, the text stays for the next opening.
    whenModal("frmOddSong", [](QWidget* dlg) {
        dlg->findChild<QLineEdit*>("txtName")->setText("Half typed");
        dlg->findChild<QCheckBox*>("chkHaveMusic")->setChecked(true);
        dlg->findChild<QPushButton*>("cmdCancel")->click();
    });
    state.QueryAnswer = -2;
    frmOddSong::ask(slot, state, &opener);
    QCOMPARE(state.QueryAnswer, std::optional<qint16>(0));
    QCOMPARE(state.PickedSong.Title, QString("Kept"));
    QCOMPARE(state.PickedSong.Key, qint16(12));

    // Escape acts as Cancel; the text is still there.
    QString seen;
    whenModal("frmOddSong", [&](QWidget* dlg) {
        seen = dlg->findChild<QLineEdit*>("txtName")->text();
        QVERIFY(dlg->findChild<QCheckBox*>("chkHaveMusic")->isChecked());
        QTest::keyClick(dlg, Qt::Key_Escape);
    });
    state.QueryAnswer = -2;
    frmOddSong::ask(slot, state, &opener);
    QCOMPARE(seen, QString("Half typed"));
    QCOMPARE(state.QueryAnswer, std::optional<qint16>(0));

    // The close box: answer 0, and the next opening starts with empty boxes.
    whenModal("frmOddSong", [](QWidget* dlg) { dlg->close(); });
    state.QueryAnswer = -2;
    frmOddSong::ask(slot, state, &opener);
    QCOMPARE(state.QueryAnswer, std::optional<qint16>(0));
    QCOMPARE(state.PickedSong.Title, QString("Kept"));
    bool empty = false;
    whenModal("frmOddSong", [&](QWidget* dlg) {
        empty = dlg->findChild<QLineEdit*>("txtName")->text().isEmpty() &&
                !dlg->findChild<QCheckBox*>("chkHaveMusic")->isChecked();
        dlg->findChild<QPushButton*>("cmdCancel")->click();
    });
    state.QueryAnswer = -2;
    frmOddSong::ask(slot, state, &opener);
    QVERIFY(empty);
}

void TestSongLists::oddSongLimitsAndText()
{
    TestRoot root;
    WizardState state;
    state.MediaFolder = root.mediaFolder();
    {
        // Without song.rtf the dialog still explains itself.
        frmOddSong dlg(state, nullptr);
        QVERIFY(!dlg.findChild<QTextBrowser*>("RichTextBox1")->toPlainText().isEmpty());
    }
    QVERIFY(QFile::copy(qEnvironmentVariable("ZEL_SOURCE_DIR") + "/data/song.rtf",
                        root.mediaFolder() + "song.rtf"));
    frmOddSong dlg(state, nullptr);
    QCOMPARE(dlg.windowTitle(), QString("Unknown Song"));
    const QString text = dlg.findChild<QTextBrowser*>("RichTextBox1")->toPlainText();
    QVERIFY(!text.isEmpty());
    QVERIFY(!text.contains("\\rtf")); // read as rich text, not shown as its source
    QCOMPARE(dlg.findChild<QLabel*>("lblField_0")->text(), QString("Name:"));
    QCOMPARE(dlg.findChild<QLabel*>("lblField_1")->text(), QString("Artist:"));
    QCOMPARE(dlg.findChild<QLabel*>("lblField_2")->text(), QString("Length:"));
    QCOMPARE(dlg.findChild<QCheckBox*>("chkHaveMusic")->text(),
             QString("I have the music and can provide it."));
    dlg.show();
    auto* length = dlg.findChild<QLineEdit*>("txtLength");
    QTest::keyClicks(length, "1234567890abcdefghij");
    QCOMPARE(length->text(), QString("1234567890abcde"));
    auto* name = dlg.findChild<QLineEdit*>("txtName");
    QTest::keyClicks(name, QString(210, 'n'));
    QCOMPARE(name->text().size(), 200);
    QCOMPARE(dlg.findChild<QLineEdit*>("txtArtist")->maxLength(), 200);
    // Each box is announced by its label.
    QCOMPARE(dlg.findChild<QLabel*>("lblField_0")->buddy(), name);
    QCOMPARE(dlg.findChild<QLabel*>("lblField_2")->buddy(), length);
}

QTEST_MAIN(TestSongLists)
#include "test_songlists.moc"
