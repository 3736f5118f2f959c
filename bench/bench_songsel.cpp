// Prints the speed of the song-pick dialog on synthetic catalogues: creating the dialog
// (settings, lists, buttons, search index, first search) and every keystroke in the search
// box until the grid and the count are updated, at 32,767 and at 100,000 songs. Beside each
// figure, the same searches run bare on SQLite in the same run (one COUNT(*) and the first
// 128 rows of the search's statement), as a yardstick for a machine shared with others. The
// end repeats each figure the song search is held to, with its bare figure and its target.
// Times are wall times; processor times are those of the user-interface thread.
//   build/bench/bench_songsel            (BENCH_SONGS=32767 runs one size only)
#include "BenchRoot.h"
#include "app/ZelWizard.h"
#include "catalogue/SongGridModel.h"
#include "catalogue/SongIndex.h"
#include "catalogue/SongQuery.h"
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
#include <QFileInfo>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QTableView>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <ctime>
#include <map>
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
    double median = 0, p95 = 0, max = 0;
};

Stats stats(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return {v[v.size() / 2], v[std::min(v.size() - 1, size_t(v.size() * 0.95))], v.back()};
}

// Wall time, and the processor time of this thread: on a machine shared with other work the
// wall time includes waiting for a processor, the thread's time does not.
struct Clock {
    QElapsedTimer wall;
    double cpu0 = 0;
    static double cpuNow()
    {
        timespec ts{};
        clock_gettime(CLOCK_THREAD_CPUTIME_ID, &ts);
        return ts.tv_sec * 1e3 + ts.tv_nsec / 1e6;
    }
    Clock()
    {
        wall.start();
        cpu0 = cpuNow();
    }
    double ms() const { return wall.nsecsElapsed() / 1e6; }
    double cpu() const { return cpuNow() - cpu0; }
};

// Wall and processor times of a series of inputs.
struct Series {
    std::vector<double> wall, cpu;
    void add(const Clock& c)
    {
        const double w = c.ms(), p = c.cpu();
        wall.push_back(w);
        cpu.push_back(p);
    }
    size_t size() const { return wall.size(); }
    // "median a ms, p95 b ms, max c ms (processor: median d ms, p95 e ms, max f ms)"
    QByteArray text() const
    {
        const Stats w = stats(wall), p = stats(cpu);
        return QStringLiteral("median %1 ms, p95 %2 ms, max %3 ms (processor time: median %4 ms, "
                              "p95 %5 ms, max %6 ms)")
            .arg(w.median, 0, 'f', 2)
            .arg(w.p95, 0, 'f', 2)
            .arg(w.max, 0, 'f', 2)
            .arg(p.median, 0, 'f', 2)
            .arg(p.p95, 0, 'f', 2)
            .arg(p.max, 0, 'f', 2)
            .toUtf8();
    }
};

void key(QWidget* w, int code, const QString& text = {})
{
    QKeyEvent press(QEvent::KeyPress, code, Qt::NoModifier, text);
    QApplication::sendEvent(w, &press);
    QKeyEvent release(QEvent::KeyRelease, code, Qt::NoModifier, text);
    QApplication::sendEvent(w, &release);
}

// Times one input: from the event until the grid has painted its rows and the count is set.
void timed(Series& into, frmSongSel& dlg, const std::function<void()>& input)
{
    auto* grid = dlg.findChild<QTableView*>("dbgSongList");
    const Clock t;
    input();
    grid->viewport()->repaint();
    into.add(t);
}

// The same search bare on SQLite, on a connection of its own: its count and its first 128
// rows read, with the statement the dialog would run.
void bare(Series& into, const QSqlDatabase& db, const SongSearch& search)
{
    const SongQuery::Bound b = SongQuery::bound(search);
    const Clock t;
    QSqlQuery count(db);
    count.prepare(b.countText());
    for (int i = 0; i < b.values.size(); ++i)
        count.bindValue(i, b.values[i]);
    if (!count.exec() || !count.next())
        qFatal("bare count failed: %s", qPrintable(count.lastError().text()));
    QSqlQuery rows(db);
    rows.setForwardOnly(true);
    rows.prepare(b.windowText());
    int i = 0;
    for (; i < b.values.size(); ++i)
        rows.bindValue(i, b.values[i]);
    rows.bindValue(i++, 128);
    rows.bindValue(i, 0);
    if (!rows.exec())
        qFatal("bare rows failed: %s", qPrintable(rows.lastError().text()));
    const int columns = rows.record().count();
    while (rows.next())
        for (int c = 0; c < columns; ++c)
            rows.value(c);
    into.add(t);
}

// The figures of one catalogue size, each with the same searches bare on SQLite.
struct Figures {
    Stats create, bareFirst;
    double memoryMB = 0, fileMB = 0;
    Stats keys, bareKeys, firstRound, bareFirstRound;
    Stats other, bareOther;
    double longest = 0, bareLongest = 0;
};

Figures run(int songs, const QString& root)
{
    Figures fig;
    qputenv("ZEL_ROOT", root.toUtf8());
    QDir().mkpath(PathMap::dbFolder());
    QElapsedTimer t;
    t.start();
    writeCatalogue(PathMap::catalogue(), songs);
    std::printf("\n== %d songs (catalogue written in %.0f ms)\n", songs, t.nsecsElapsed() / 1e6);

    ZelWizard w;
    if (!w.start())
        qFatal("start failed");

    SqlConnection bareConnection(PathMap::catalogue(), SqlConnection::ReadOnly);
    const QSqlDatabase bareDb = bareConnection.database();

    Series create, build, bareFirst;
    size_t memory = 0;
    for (int i = 0; i < 7; ++i) {
        const Clock made;
        frmSongSel dlg(w.state(), w.items(), PathMap::catalogue());
        create.add(made);
        memory = dlg.model()->searchIndex().memoryBytes();
        if (!dlg.model()->answeredByIndex())
            qFatal("the index did not answer the first search");
        SongIndex index;
        const Clock built;
        index.build(bareDb.databaseName(), dlg.settings().UserFieldCount);
        build.add(built);
        bare(bareFirst, bareDb, dlg.currentSearch());
    }
    std::printf("create frmSongSel (settings, lists, buttons, index, first search): %s\n",
                create.text().constData());
    std::printf("  the index alone: %s; its memory: %.2f MB\n", build.text().constData(),
                memory / 1048576.0);
    std::printf("  bare SQLite, the first search: %s\n", bareFirst.text().constData());
    fig.create = stats(create.wall);
    fig.bareFirst = stats(bareFirst.wall);
    fig.memoryMB = memory / 1048576.0;
    fig.fileMB = QFileInfo(PathMap::catalogue()).size() / 1048576.0;

    frmSongSel dlg(w.state(), w.items(), PathMap::catalogue());
    dlg.resize(800, 600);
    dlg.show();
    QApplication::processEvents();
    auto* find = dlg.findChild<QLineEdit*>("txtFind");
    auto* grid = dlg.findChild<QTableView*>("dbgSongList");
    find->setFocus();

    // Each input is timed, then the same search bare; inputs the index declined are counted.
    int declined = 0;
    auto measure = [&](Series& into, Series& bareInto, const std::function<void()>& input) {
        timed(into, dlg, input);
        declined += dlg.model()->answeredByIndex() ? 0 : 1;
        bare(bareInto, bareDb, dlg.currentSearch());
    };
    Series keys, bareKeys;
    auto type = [&](const QString& text) {
        for (QChar ch : text)
            measure(keys, bareKeys, [&] { key(find, ch.toUpper().unicode(), QString(ch)); });
    };
    auto erase = [&](int n) {
        for (int i = 0; i < n; ++i)
            measure(keys, bareKeys, [&] { key(find, Qt::Key_Backspace); });
    };
    const QStringList words{"love",   "dance", "night", "you",  "forever", "zqx", "heart",
                            "the",    "a",     "mo",    "rose", "e",       "ing", "sweet h",
                            "wild r", "%o%e",  "l_ve",  "qqq",  "summer",  "t"};
    for (int round = 0; round < 3; ++round)
        for (const QString& word : words) {
            type(word);
            erase(int(word.size()));
        }
    std::printf("keystroke -> grid and count (%zu keystrokes): %s\n", keys.size(),
                keys.text().constData());
    std::printf("  bare SQLite, the same searches: %s\n", bareKeys.text().constData());
    // The first of the three rounds: no word typed before, so no cell of the grid has been
    // painted before either.
    const auto firstThird = [](const std::vector<double>& v) {
        return stats(std::vector<double>(v.begin(), v.begin() + qsizetype(v.size() / 3)));
    };
    fig.keys = stats(keys.wall);
    fig.bareKeys = stats(bareKeys.wall);
    fig.firstRound = firstThird(keys.wall);
    fig.bareFirstRound = firstThird(bareKeys.wall);

    // Other inputs: lists, categories, searching a user field, scrolling to the end.
    Series other, bareOther;
    auto* types = dlg.findChild<QComboBox*>("cbTypes");
    auto* subs = dlg.findChild<QComboBox*>("cbSubTypes");
    auto* look = dlg.findChild<QComboBox*>("cbLook");
    for (int i = 0; i <= 6; ++i)
        measure(other, bareOther, [&] { types->setCurrentIndex(i); });
    for (int i = 0; i <= 3; ++i)
        measure(other, bareOther, [&] { subs->setCurrentIndex(i); });
    types->setCurrentIndex(0);
    subs->setCurrentIndex(0);
    auto cat = [&](int i) {
        return dlg.findChild<QPushButton*>(QStringLiteral("cmdCat_%1").arg(i));
    };
    for (int round = 0; round < 2; ++round)
        for (int i = 1; i <= 6; ++i)
            measure(other, bareOther, [&] { cat(i)->click(); });
    measure(other, bareOther, [&] { look->setCurrentIndex(1); });
    for (QChar ch : QStringLiteral("ed sh"))
        measure(other, bareOther, [&] { key(find, ch.toUpper().unicode(), QString(ch)); });
    for (int i = 0; i < 5; ++i)
        measure(other, bareOther, [&] { key(find, Qt::Key_Backspace); });
    measure(other, bareOther, [&] { look->setCurrentIndex(0); });
    measure(other, bareOther, [&] { grid->scrollToBottom(); });
    measure(other, bareOther, [&] { grid->verticalScrollBar()->setValue(songs / 2); });
    measure(other, bareOther, [&] { grid->scrollToTop(); });
    const QString pasted = QString(2000, QLatin1Char('%')) + QStringLiteral("x");
    measure(other, bareOther, [&] { find->setText(pasted); });
    measure(other, bareOther, [&] { find->clear(); });
    if (qEnvironmentVariableIsSet("BENCH_VERBOSE"))
        for (size_t i = 0; i < other.size(); ++i)
            std::printf("  input %zu: %.2f ms (bare %.2f ms)\n", i, other.wall[i],
                        bareOther.wall[i]);
    std::printf("other inputs (lists, categories, user field, scrolling, pasted pattern; %zu): "
                "%s\n",
                other.size(), other.text().constData());
    std::printf("  bare SQLite, the same searches: %s\n", bareOther.text().constData());
    std::printf("longest stall of any input: %.2f ms, processor time %.2f ms (%d searches run, "
                "%d of the inputs answered by the statement)\n",
                std::max(stats(keys.wall).max, stats(other.wall).max),
                std::max(stats(keys.cpu).max, stats(other.cpu).max), dlg.model()->searches(),
                declined);
    fig.other = stats(other.wall);
    fig.bareOther = stats(bareOther.wall);
    fig.longest = std::max(fig.keys.max, fig.other.max);
    fig.bareLongest = std::max(fig.bareKeys.max, fig.bareOther.max);
    return fig;
}

// One figure the song search is held to: its value, its target, and bare SQLite's.
void figure(const char* what, double value, const char* target, double bare, const char* bareWhat)
{
    std::printf("  %-66s %8.2f  (target %-9s  bare SQLite %s: %.2f)\n", what, value, target,
                bareWhat, bare);
}
} // namespace

int main(int argc, char* argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    // A settings hive of its own with the data marked installed: the start-up neither shows
    // the data loader nor touches the user's settings.
    const BenchRoot hive;
    if (!hive.isReady())
        return 1;
    const int only = qEnvironmentVariableIntValue("BENCH_SONGS");
    std::map<int, Figures> figures;
    for (const int songs : {32767, 100000})
        if (!only || only == songs) {
            QTemporaryDir root;
            figures[songs] = run(songs, root.path());
        }

    std::printf("\n== the song search's figures (ms, MB), each beside bare SQLite of this run\n");
    if (figures.count(32767)) {
        const Figures& f = figures[32767];
        figure("keystroke -> grid and count, 32,767 songs, median", f.keys.median, "< 2 ms",
               f.bareKeys.median, "median");
        figure("keystroke -> grid and count, 32,767 songs, p95", f.keys.p95, "< 4 ms",
               f.bareKeys.p95, "p95");
        figure("  the same, first round only (no cell painted before), median", f.firstRound.median,
               "-", f.bareFirstRound.median, "median");
        figure("  the same, first round only (no cell painted before), p95", f.firstRound.p95, "-",
               f.bareFirstRound.p95, "p95");
        figure("creating the dialog, 32,767 songs, index included, median", f.create.median,
               "< 40 ms", f.bareFirst.median, "its first search");
        figure("memory of the index, 32,767 songs (MB)", f.memoryMB, "< 8 MB", f.fileMB,
               "file size (MB)");
    }
    if (figures.count(100000)) {
        const Figures& f = figures[100000];
        figure("keystroke -> grid and count, 100,000 songs, median", f.keys.median, "< 5 ms",
               f.bareKeys.median, "median");
        figure("longest input of any kind, 100,000 songs", f.longest, "<= 16 ms", f.bareLongest,
               "longest");
        figure("other inputs (lists, categories, scrolling), 100,000 songs, median", f.other.median,
               "-", f.bareOther.median, "median");
        figure("other inputs (lists, categories, scrolling), 100,000 songs, max", f.other.max,
               "<= 16 ms", f.bareOther.max, "max");
    }
    return 0;
}
