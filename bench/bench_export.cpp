// Prints how long zelplan's DJ exports of a full event take with a large library: a
// generated catalogue of 30,000 songs, each with a file, and an event of 50 songs to include
// (half of them entered by hand, so missing.csv looks for their closest matches), 50 to
// exclude and 20 scheduled songs.
//   build/bench/bench_export [songs]
#include "catalogue/LibrarySongs.h"
#include "plan/DjExport.h"

#include "BenchLibrary.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>

#include <cstdio>

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const int count = argc > 1 ? std::atoi(argv[1]) : 30000;
    QTemporaryDir dir;
    const QString catalogue = dir.filePath(QStringLiteral("songlist.mdb"));
    QString error;
    if (!makeBenchLibrary(catalogue, count, &error)) {
        std::fprintf(stderr, "%s\n", qPrintable(error));
        return 1;
    }

    QElapsedTimer timer;
    timer.start();
    LibrarySongs library;
    if (!library.read(catalogue, &error))
        return 1;
    const qint64 read = timer.elapsed();
    EventPlan plan;
    plan.Times.Start = PlanValue<QTime>::given(QTime(18, 0));
    for (int i = 0; i < 50; ++i) {
        const LibrarySong& s = library.songs()[i * 97 % library.songs().size()];
        const bool byHand = i % 2 == 1;
        plan.Include.append(
            {byHand ? PlanSong::kEnteredByHand : qint16(s.key),
             byHand ? s.title.left(s.title.size() - 1) + QStringLiteral("x") : s.title, s.artist,
             PlanValue<int>::given(200)});
        plan.Exclude.append({qint16(s.key), s.title, s.artist, PlanValue<int>::given(200)});
        if (i < 20) {
            ScheduledActivity a;
            a.Time = PlanValue<QTime>::given(QTime(18 + i / 4, i % 4 * 15));
            a.SongKey = qint16(s.key);
            a.SongTitle = s.title;
            plan.Schedule.append(a);
        }
    }
    const qint64 planned = timer.elapsed();
    const DjExport exports(plan, library);
    const qint64 matched = timer.elapsed();
    if (!exports.writeAll(dir.filePath(QStringLiteral("out")), &error)) {
        std::fprintf(stderr, "%s\n", qPrintable(error));
        return 1;
    }
    std::printf("%d songs: catalogue read %lld ms, songs matched and indexed %lld ms, files "
                "written (25 missing songs with their closest matches) %lld ms; %lld ms in all\n",
                int(library.songs().size()), read, matched - planned, timer.elapsed() - matched,
                timer.elapsed() - (planned - read));
    return 0;
}
