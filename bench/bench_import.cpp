// Prints the speed of importing an entertainer's music: 10,000 tagged audio files of every
// format in a generated folder tree, scanned into a new catalogue (warm disk cache), the
// same folder imported again unchanged, and again after 100 files were retagged; then the
// song-pick dialog searching the imported catalogue.
//   build/bench/bench_import [files]
#include "BenchRoot.h"
#include "platform/PathMap.h"
#include "songs/frmSongSel.h"
#include "wizard/Wizard.h"

#include "AudioFixture.h"
#include "CatalogueGenerator.h"
#include "CatalogueImport.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QKeyEvent>
#include <QLineEdit>
#include <QTableView>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <vector>

#include <sys/resource.h>

namespace
{
long maxRssMb()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss / 1024;
}

// Imports `folder` into `out` and prints the time and what the import did.
void timedImport(const char* what, const QString& folder, const QString& out)
{
    CatalogueImport import;
    CatalogueImport::Options o;
    o.out = out;
    o.sources = {folder};
    QElapsedTimer t;
    t.start();
    if (!import.run(o))
        qFatal("import failed: %s", qPrintable(import.errorString()));
    const ImportSummary& s = import.summary();
    std::printf("%-34s %8.2f s  (added %d, updated %d, unchanged %d, skipped %lld; "
                "max RSS %ld MB)\n",
                what, t.nsecsElapsed() / 1e9, s.added, s.updated, s.unchanged,
                qint64(s.skippedCount()), maxRssMb());
}

void key(QWidget* w, int code, const QString& text = {})
{
    QKeyEvent press(QEvent::KeyPress, code, Qt::NoModifier, text);
    QApplication::sendEvent(w, &press);
    QKeyEvent release(QEvent::KeyRelease, code, Qt::NoModifier, text);
    QApplication::sendEvent(w, &release);
}

// The song-pick dialog over the imported catalogue: its creation and each keystroke in
// the search box until the grid has painted.
void searchCatalogue(const QString& catalogue, const QString& root)
{
    qputenv("ZEL_ROOT", root.toUtf8());
    QDir().mkpath(PathMap::dbFolder());
    QFile::copy(catalogue, PathMap::catalogue());
    Wizard w;
    if (!w.start())
        qFatal("the wizard does not start on the imported catalogue");
    QElapsedTimer t;
    t.start();
    frmSongSel dlg(w.state(), w.items(), PathMap::catalogue());
    const double create = t.nsecsElapsed() / 1e6;
    dlg.resize(800, 600);
    dlg.show();
    QApplication::processEvents();
    auto* find = dlg.findChild<QLineEdit*>("txtFind");
    auto* grid = dlg.findChild<QTableView*>("dbgSongList");
    std::vector<double> keys;
    const QStringList words{"love", "night", "the", "zqx", "dance", "e", "sweet h"};
    for (const QString& word : words) {
        for (int i = 0; i < word.size() * 2; ++i) {
            t.start();
            if (i < word.size())
                key(find, word[i].toUpper().unicode(), QString(word[i]));
            else
                key(find, Qt::Key_Backspace);
            grid->viewport()->repaint();
            keys.push_back(t.nsecsElapsed() / 1e6);
        }
    }
    std::sort(keys.begin(), keys.end());
    std::printf("song-pick dialog on the imported catalogue: created in %.1f ms; keystroke -> "
                "grid (%zu): median %.2f ms, max %.2f ms\n",
                create, keys.size(), keys[keys.size() / 2], keys.back());
}
} // namespace

int main(int argc, char* argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const int files = argc > 1 ? std::max(1, std::atoi(argv[1])) : 10000;
    QTemporaryDir dir;
    const QString music = dir.filePath("music");
    const QString out = dir.filePath("songlist.mdb");

    // Realistic titles, artists, years and lengths from the catalogue generator; one folder
    // per artist, formats in turn, genres and BPM spread over the catalogue's.
    QElapsedTimer t;
    t.start();
    const QStringList genres{"Pop",  "Rock",  "Soul",    "Country",    "Disco",
                             "Jazz", "Swing", "Hip-Hop", "Latin",      "Polka",
                             "Funk", "Blues", "House",   "Electronica"};
    const QList<CatalogueSong> songs =
        CatalogueGenerator(4242).generate(files, SettingsSheet::synthetic());
    for (int i = 0; i < files; ++i) {
        const CatalogueSong& s = songs[i];
        const QString format = AudioFixture::formats()[i % AudioFixture::formats().size()];
        const QString folder = music + "/" + s.artist.left(1) + "/" + s.artist;
        QDir().mkpath(folder);
        const int seconds = format == "wav" ? 1
                                            : s.length.section(':', 0, 0).toInt() * 60 +
                                                  s.length.section(':', 1).toInt();
        const QString path = QString("%1/%2 %3.%4").arg(folder).arg(i).arg(s.title, format);
        if (!AudioFixture::write(
                path, seconds,
                {s.title, s.artist, genres[i % genres.size()], s.year.toInt(), 60 + i % 120}))
            qFatal("cannot write %s", qPrintable(path));
    }
    std::printf("%d tagged files of %lld formats written in %.1f s\n", files,
                qint64(AudioFixture::formats().size()), t.nsecsElapsed() / 1e9);

    timedImport("import into a new catalogue", music, out);
    timedImport("import again, unchanged", music, out);
    for (int i = 0; i < files; i += std::max(1, files / 100)) {
        const CatalogueSong& s = songs[i];
        const QString format = AudioFixture::formats()[i % AudioFixture::formats().size()];
        const QString path = QString("%1/%2/%3/%4 %5.%6")
                                 .arg(music, s.artist.left(1), s.artist)
                                 .arg(i)
                                 .arg(s.title, format);
        AudioFixture::write(path, format == "wav" ? 1 : 200,
                            {s.title + " (Live)", s.artist, QString(), 0, 0});
    }
    timedImport("import again, 100 files retagged", music, out);

    // A settings hive of its own with the data marked installed: the start-up neither shows
    // the data loader nor touches the user's settings.
    const BenchRoot hive;
    QTemporaryDir root;
    if (!hive.isReady())
        return 1;
    searchCatalogue(out, root.path());
    return 0;
}
