// The whole road as a couple walks it: every page answered through its real controls and
// dialogs, songs searched in the real catalogue through the real song-pick dialog, Finish,
// then the program started again on the same files: every page shows what it showed before,
// and the songs are stored with the keys they were picked with.

#include "TestSoundPort.h"
#include "TestSupport.h"

#include "app/ZelWizard.h"
#include "catalogue/SongGridModel.h"
#include "platform/PathMap.h"
#include "songs/SongListPage.h"
#include "sound/NameSpeaker.h"
#include "store/SqlConnection.h"
#include "ui/ProgramEnd.h"
#include "wizard/WizardPage.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDateTimeEdit>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QSqlQuery>
#include <QTableView>
#include <QtTest>

namespace
{

const auto click = [](QWidget* form, const QString& button) {
    child<QAbstractButton>(form, button)->click();
};

// Clicks an option button on its indicator, as a user does.
void choose(QWidget* form, const QString& option)
{
    auto* o = child<QRadioButton>(form, option);
    QTest::mouseClick(o, Qt::LeftButton, {}, QPoint(6, o->height() / 2));
}

// Fills the boxes named in `answers` (box, text, box, text, ...): one-line boxes by typing
// over their text, several-line boxes at once.
void fill(QWidget* form, const QStringList& answers)
{
    for (qsizetype i = 0; i + 1 < answers.size(); i += 2) {
        if (auto* lines = form->findChild<QPlainTextEdit*>(answers[i])) {
            lines->setPlainText(answers[i + 1]);
        } else {
            auto* line = child<QLineEdit>(form, answers[i]);
            line->selectAll();
            QTest::keyClick(line, Qt::Key_Backspace);
            QTest::keyClicks(line, answers[i + 1]);
        }
    }
}

// What a form shows, control by control: texts, option states, list and grid cells with
// their song keys; the form's own dialogs left out.
QStringList shown(const QWidget* form)
{
    QStringList out;
    for (const QWidget* w : form->findChildren<QWidget*>()) {
        if (w->window() != form || w->objectName().isEmpty())
            continue;
        QString v = w->objectName() + '=';
        for (const char* property : {"text", "plainText", "currentText", "checked"})
            v += w->property(property).toString() + '|';
        if (auto* view = qobject_cast<const QAbstractItemView*>(w); view && view->model())
            for (int r = 0; r < view->model()->rowCount(); ++r)
                for (int c = 0; c < view->model()->columnCount(); ++c)
                    v += view->model()->index(r, c).data().toString() + '|' +
                         view->model()->index(r, c).data(SongListPage::kKeyRole).toString() + '|';
        out << v;
    }
    return out;
}

// Runs `act` on the modal dialog `name` when it opens, then cancels it if `act` left it
// open, so the walk never hangs in it.
void onDialog(const QString& name, std::function<void(QWidget*)> act)
{
    whenModal(name, [=](QWidget* dlg) {
        act(dlg);
        if (dlg->isVisible())
            dlg->close();
    });
}

// Fills the dialog `name` with `answers`, says `sayIt`'s name, presses OK when `button` opens it.
void fillDialog(QWidget* form, const QString& button, const QString& name,
                const QStringList& answers, const QString& sayIt = {})
{
    onDialog(name, [=](QWidget* dlg) {
        fill(dlg, answers);
        if (!sayIt.isEmpty())
            click(child<QWidget>(dlg, sayIt), "cmdSayIt");
        click(dlg, "cmdOK");
    });
    click(form, button);
}

struct Song {
    QString title, artist, length;
    qint16 key = 0;
};

// The catalogue key of a song in the real catalogue the road runs on.
qint16 catalogueKey(const Song& s)
{
    SqlConnection conn(PathMap::catalogue(), SqlConnection::ReadOnly);
    QSqlQuery q(conn.database());
    q.prepare("SELECT dbKey FROM MUSIC WHERE Name = ? AND UDF01 = ?");
    q.addBindValue(s.title);
    q.addBindValue(s.artist);
    return q.exec() && q.next() ? qint16(q.value(0).toInt()) : 0;
}

// In the real song-pick dialog: types `find`, clicks the song's row and presses Pick.
void pickInCatalogue(QWidget* dlg, const QString& find, const Song& song)
{
    click(dlg, "cmdClear");
    QTest::keyClicks(child<QLineEdit>(dlg, "txtFind"), find);
    auto* grid = child<QTableView>(dlg, "dbgSongList");
    const QAbstractItemModel* m = grid->model();
    for (int r = 0; r < m->rowCount(); ++r) {
        const QModelIndex cell = m->index(r, SongGridModel::ColName);
        if (cell.data().toString() == song.title &&
            m->index(r, SongGridModel::ColUDF01).data().toString() == song.artist) {
            grid->scrollTo(cell);
            QTest::mouseClick(grid->viewport(), Qt::LeftButton, {},
                              grid->visualRect(cell).center());
            click(dlg, "cmdPickIt");
            return;
        }
    }
    QFAIL(qPrintable(QStringLiteral("typing \"%1\" does not find \"%2\"").arg(find, song.title)));
}

// Picks `song` from the catalogue when the song-pick dialog opens from `button`.
void pickSong(QWidget* form, const QString& button, const QString& find, const Song& song)
{
    onDialog("frmSongSel", [=](QWidget* sel) { pickInCatalogue(sel, find, song); });
    click(form, button);
}

// "I can't find the song" in the song-pick dialog, then the song typed by hand.
void customSong(QWidget* form, const QString& button, const Song& song)
{
    onDialog("frmSongSel", [](QWidget* sel) { click(sel, "cmdCustom"); });
    onDialog("frmOddSong", [song](QWidget* dlg) {
        fill(dlg, {"txtName", song.title, "txtArtist", song.artist, "txtLength", song.length});
        child<QCheckBox>(dlg, "chkHaveMusic")->setChecked(song.key == -3);
        click(dlg, "cmdOK");
    });
    click(form, button);
}

// Songs of the catalogue; their keys are looked up when the walk starts.
Song atLast{"At Last", "Etta James", ""};
const Song kMarch{"Our Family March", "Uncle Tom", "", -3}; // no length in a schedule
Song celebration{"Celebration", "Kool & the Gang", ""};
Song shout{"Twist and Shout", "The Beatles", ""};
const Song kWaltz{"Grandma's Waltz", "Local Band", "3:15", -2};
Song macarena{"Macarena (Bayside Boys Mix)", "Los del Río", ""};

// Every page answered, in page order, with the dialogs it opens.
void answer(int index, QWidget* page)
{
    switch (index) {
    case 1:
        fillDialog(page, "cmdBride", "frmBGInfo",
                   {"txtName", "Anna Lee", "txtAddress", "12 Elm St\nSpringfield"}, "sayItBox");
        fillDialog(page, "cmdGroom", "frmBGInfo", {"txtName", "Ben Ross"});
        break;
    case 2:
        child<QDateTimeEdit>(page, "Date1")->setDate(QDate::currentDate().addDays(200));
        fillDialog(page, "cmdFacility", "frmFacInfo", {"txtName", "Lakeside Inn"});
        fill(page, {"txtGuests", "about 120"});
        break;
    case 3:
        choose(page, "opAttitude_2");
        fill(page, {"txtHotNotes", "No line dances.\nAnnounce the cake."});
        break;
    case 4:
        fillDialog(page, "cmdAdd", "frmParty", {"txtName1", "Carla Diaz", "txtName2", "Evan Diaz"},
                   "sayItBox_1");
        break;
    case 5: // the first dance from the catalogue, the entrance with the couple's own music
        for (int n : {0, 1}) {
            click(page, "cmdAdd");
            QWidget* dlg = nullptr; // the visible one
            for (QWidget* d : page->findChildren<QDialog*>("frmActivity"))
                dlg = d->isVisible() ? d : dlg;
            QVERIFY2(dlg, "the activity dialog did not open");
            child<QDateTimeEdit>(dlg, "Time1")->setTime(n ? QTime(18, 45) : QTime(19, 15));
            child<QComboBox>(dlg, "cbActivity1")->setCurrentIndex(n ? 1 : 7);
            n ? customSong(dlg, "cmdPick", kMarch) : pickSong(dlg, "cmdPick", "at la", atLast);
            fill(dlg, {"txtWho", n ? "" : "Anna & Ben", "txtHotNotes", n ? "Cue." : "Dim."});
            click(dlg, "cmdOK");
            QVERIFY2(!dlg->isVisible(), "Save did not close the activity dialog");
        }
        break;
    case 6:
        onDialog("frmSongPref", [](QWidget* dlg) {
            choose(dlg, "Option8_1"); // Hip Hop/Rap to avoid
            click(dlg, "cmdOK");
        });
        click(page, "cmdPlayIt");
        fill(page, {"txtRadio_0", "WXYZ 101"});
        break;
    case 7:
        pickSong(page, "cmdAdd", "celebr", celebration);
        pickSong(page, "cmdAdd", "shout", shout);
        customSong(page, "cmdAdd", kWaltz);
        break;
    case 8:
        pickSong(page, "cmdAdd", "macarena", macarena);
        break;
    }
}

// Next on `page`: the next page if it is shown and no message came, else null.
WizardPage* next(const Wizard& w, WizardPage* page, const TestRoot& root)
{
    const qsizetype messages = root.messages.size();
    click(page, "cmdNext");
    WizardPage* shown = visiblePage(w);
    if (root.messages.size() == messages && shown && shown->index() == page->index() + 1) {
        QApplication::setActiveWindow(shown);
        return shown;
    }
    qWarning() << "Next on" << page->objectName() << root.messages.value(messages).text;
    return nullptr;
}

// Everything the event database holds, as text.
QString wholeStore()
{
    QString all;
    for (const char* table : {"Strs", "Mems", "Activities", "MusicIn", "MusicOut"})
        for (const QStringList& row :
             storedRows(QStringLiteral("SELECT * FROM %1 ORDER BY dbKey").arg(table)))
            all += row.join('|') + '\n';
    return all;
}

} // namespace

class TestRoad : public QObject
{
    Q_OBJECT
  private slots:
    void coupleWalksTheRoadAndComesBack();
};

void TestRoad::coupleWalksTheRoadAndComesBack()
{
    TestRoot root;
    root.copySampleMedia();
    QVERIFY2(QFileInfo::exists(PathMap::catalogue()), "build the medium (ZEL_BUILD_DIR/medium)");
    for (Song* s : {&atLast, &celebration, &shout, &macarena})
        QVERIFY2((s->key = catalogueKey(*s)) > 0, qPrintable(s->title + " is not catalogued"));
    QList<QStringList> pages(10);
    {
        ZelWizard w;
        QVERIFY(w.startAndShow());
        w.speaker().setPort(std::make_unique<TestSoundPort>());
        WizardPage* page = w.page(0);
        for (int i = 1; i <= 8; ++i) {
            QVERIFY((page = next(w, page, root)));
            answer(i, page);
            if (QTest::currentTestFailed())
                return;
            pages[i] = shown(page);
        }
        // "Say It" spoke the bride's name and the escort's.
        QCOMPARE(static_cast<TestSoundPort&>(w.speaker().port()).played.size(), 2);
        page = next(w, page, root);
        QCOMPARE(page ? page->objectName() : QString(), QString("MenuFinal"));
        // Finish folds the window to a point and ends the program; it writes nothing, and a
        // close request after the end asks nothing.
        const QString before = wholeStore();
        click(page, "cmdNext");
        // ended, exit code, folded width
        QCOMPARE(std::tuple(root.programEnded(), root.exitCode, page->width()),
                 std::tuple(true, 0, 1));
        QCOMPARE(wholeStore(), before);
        bool asked = false;
        whenModal("FrmQuery", [&](QWidget* dlg) { asked = dlg->close(); });
        page->close();
        cancelModalWaits();
        QVERIFY(!asked);
    }

    // The program starts again on the same files: every page shows the same.
    ProgramEnd::reset();
    ZelWizard w;
    QVERIFY(w.startAndShow());
    WizardPage* page = w.page(0);
    for (int i = 1; i <= 8; ++i) {
        QVERIFY((page = next(w, page, root)));
        QCOMPARE(shown(page), pages[i]);
    }

    // The songs are stored with their catalogue keys, or -2 and -3 for songs typed by hand.
    QStringList stored, picked;
    for (const char* table : {"Activities", "MusicIn", "MusicOut"})
        for (const QStringList& r : storedRows(
                 QStringLiteral("SELECT SongKey, SongTitle FROM %1 ORDER BY dbKey").arg(table)))
            stored << r.join('|');
    for (const Song& s : {atLast, kMarch, celebration, shout, kWaltz, macarena})
        picked << QString::number(s.key) + '|' + s.title;
    QCOMPARE(stored, picked);
    QCOMPARE(root.messages.size(), 0);
}

QTEST_MAIN(TestRoad)
#include "test_road.moc"
