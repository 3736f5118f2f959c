// Prints the speed of the song-pick dialog on synthetic catalogues: creating the dialog
// (settings, lists, buttons, first search) and every keystroke in the search box until
// the grid and the count are updated, at 32,767 and at 100,000 songs.
//   build/bench/bench_songsel
#include "app/ZelWizard.h"
#include "catalogue/SongGridModel.h"
#include "platform/PathMap.h"
#include "songs/frmSongSel.h"
#include "store/SqlConnection.h"
#include "wizard/Wizard.h"

#include "CatalogueGenerator.h"
#include "CatalogueWriter.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QElapsedTimer>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QSqlError>
#include <QSqlQuery>
#include <QTableView>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace
{
// A synthetic catalogue of `songs` songs from the catalogue builder's generator (keys past
// 16 bits only in the stress catalogue).
void writeCatalogue(const QString& file, int songs)
{
    const SettingsSheet settings = SettingsSheet::synthetic();
    CatalogueGenerator generator(12345);
    CatalogueWriter writer;
    if (!writer.write(file, settings, generator.generate(songs, settings),
                      songs > 32767 ? CatalogueWriter::Unbounded : CatalogueWriter::SixteenBit))
        qFatal("cannot write the catalogue: %s", qPrintable(writer.errorString()));
}

struct Stats {
    double median, p95, max;
};

Stats stats(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return {v[v.size() / 2], v[std::min(v.size() - 1, size_t(v.size() * 0.95))], v.back()};
}

void key(QWidget* w, int code, const QString& text = {})
{
    QKeyEvent press(QEvent::KeyPress, code, Qt::NoModifier, text);
    QApplication::sendEvent(w, &press);
    QKeyEvent release(QEvent::KeyRelease, code, Qt::NoModifier, text);
    QApplication::sendEvent(w, &release);
}

// Times one input: from the event until the grid has painted its rows and the count is set.
double timed(frmSongSel& dlg, const std::function<void()>& input)
{
    auto* grid = dlg.findChild<QTableView*>("dbgSongList");
    QElapsedTimer t;
    t.start();
    input();
    grid->viewport()->repaint();
    return t.nsecsElapsed() / 1e6;
}

void run(int songs, const QString& root)
{
    qputenv("ZEL_ROOT", root.toUtf8());
    QDir().mkpath(PathMap::dbFolder());
    QElapsedTimer t;
    t.start();
    writeCatalogue(PathMap::catalogue(), songs);
    std::printf("\n== %d songs (catalogue written in %.0f ms)\n", songs, t.nsecsElapsed() / 1e6);

    ZelWizard w;
    if (!w.start())
        qFatal("start failed");

    std::vector<double> create;
    for (int i = 0; i < 7; ++i) {
        t.start();
        frmSongSel dlg(w.state(), w.items(), PathMap::catalogue());
        create.push_back(t.nsecsElapsed() / 1e6);
    }
    const Stats c = stats(create);
    std::printf("create frmSongSel (settings, lists, buttons, first search): first %.1f ms, "
                "median %.1f ms, max %.1f ms\n",
                create.front(), c.median, c.max);

    frmSongSel dlg(w.state(), w.items(), PathMap::catalogue());
    dlg.resize(800, 600);
    dlg.show();
    QApplication::processEvents();
    auto* find = dlg.findChild<QLineEdit*>("txtFind");
    auto* grid = dlg.findChild<QTableView*>("dbgSongList");
    find->setFocus();

    std::vector<double> keys;
    auto type = [&](const QString& text) {
        for (QChar ch : text)
            keys.push_back(timed(dlg, [&] { key(find, ch.toUpper().unicode(), QString(ch)); }));
    };
    auto erase = [&](int n) {
        for (int i = 0; i < n; ++i)
            keys.push_back(timed(dlg, [&] { key(find, Qt::Key_Backspace); }));
    };
    const QStringList words{"love",   "dance", "night", "you",  "forever", "zqx", "heart",
                            "the",    "a",     "mo",    "rose", "e",       "ing", "sweet h",
                            "wild r", "%o%e",  "l_ve",  "qqq",  "summer",  "t"};
    for (int round = 0; round < 3; ++round)
        for (const QString& word : words) {
            type(word);
            erase(int(word.size()));
        }
    const Stats k = stats(keys);
    std::printf("keystroke -> grid and count (%zu keystrokes): median %.2f ms, p95 %.2f ms, "
                "max %.2f ms\n",
                keys.size(), k.median, k.p95, k.max);

    // Other inputs: lists, categories, searching a user field, scrolling to the end.
    std::vector<double> other;
    auto* types = dlg.findChild<QComboBox*>("cbTypes");
    auto* subs = dlg.findChild<QComboBox*>("cbSubTypes");
    auto* look = dlg.findChild<QComboBox*>("cbLook");
    for (int i = 0; i <= 6; ++i)
        other.push_back(timed(dlg, [&] { types->setCurrentIndex(i); }));
    for (int i = 0; i <= 3; ++i)
        other.push_back(timed(dlg, [&] { subs->setCurrentIndex(i); }));
    types->setCurrentIndex(0);
    subs->setCurrentIndex(0);
    for (int i = 1; i <= 6; ++i)
        other.push_back(timed(dlg, [&] {
            dlg.findChild<QPushButton*>(QStringLiteral("cmdCat_%1").arg(i))->click();
        }));
    for (int i = 1; i <= 6; ++i)
        other.push_back(timed(dlg, [&] {
            dlg.findChild<QPushButton*>(QStringLiteral("cmdCat_%1").arg(i))->click();
        }));
    other.push_back(timed(dlg, [&] { look->setCurrentIndex(1); }));
    type("ed sh");
    erase(5);
    other.push_back(timed(dlg, [&] { look->setCurrentIndex(0); }));
    other.push_back(timed(dlg, [&] { grid->scrollToBottom(); }));
    other.push_back(timed(dlg, [&] { grid->verticalScrollBar()->setValue(songs / 2); }));
    other.push_back(timed(dlg, [&] { grid->scrollToTop(); }));
    const QString pasted = QString(2000, QLatin1Char('%')) + QStringLiteral("x");
    other.push_back(timed(dlg, [&] { find->setText(pasted); }));
    other.push_back(timed(dlg, [&] { find->clear(); }));
    if (qEnvironmentVariableIsSet("BENCH_VERBOSE"))
        for (size_t i = 0; i < other.size(); ++i)
            std::printf("  input %zu: %.2f ms\n", i, other[i]);
    const Stats o = stats(other);
    std::printf("other inputs (lists, categories, user field, scrolling, pasted pattern; %zu): "
                "median %.2f ms, max %.2f ms\n",
                other.size(), o.median, o.max);
    std::printf("longest stall of any input: %.2f ms (%d searches run)\n", std::max(k.max, o.max),
                dlg.model()->searches());
}
} // namespace

int main(int argc, char* argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    // A settings hive of its own with the data marked installed: the start-up neither shows
    // the data loader nor touches the user's settings.
    QTemporaryDir hive;
    qputenv("HIVELET_HIVE", hive.path().toUtf8());
    QDir().mkpath(hive.path() + "/SOFTWARE/TARN/ZEL/Data");
    QFile ready(hive.path() + "/SOFTWARE/TARN/ZEL/Data/Ready.value");
    if (!ready.open(QIODevice::WriteOnly) || ready.write("1") != 1)
        return 1;
    ready.close();
    QTemporaryDir a, b;
    run(32767, a.path());
    run(100000, b.path());
    return 0;
}
