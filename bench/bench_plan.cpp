// Prints how long the plan of a full event takes: the PDF (document, timeline and pages) and
// the checks, and what changed between two versions of it, in memory and as `zelplan --diff`
// does it from two event files; and the plan and run sheet of the largest schedule, 10,000
// activities. A full event: 30 party members, 40 activities, 50 songs on each list.
//   build/bench/bench_plan [keep.pdf]
#include "plan/PlanChecks.h"
#include "plan/PlanDiff.h"
#include "plan/PlanDocument.h"
#include "plan/PlanFacts.h"
#include "platform/OleDate.h"
#include "platform/PathMap.h"
#include "store/EventItems.h"
#include "store/EventSnapshot.h"
#include "store/StoreSession.h"
#include "store/frmData.h"

#include <QElapsedTimer>
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QTemporaryDir>
#include <QAbstractTextDocumentLayout>
#include <QTextDocument>

#include <algorithm>
#include <cstdio>
#include <ctime>
#include <vector>

namespace
{
EventPlan fullEvent()
{
    EventPlan p;
    p.Bride = {true,
               "Annabel Whitcombe-Ortiz",
               "29",
               "AN-uh-bel WIT-cum or-TEEZ",
               "1200 Lakeview Terrace, Apt 4\r\nEvanston, IL 60201",
               "847-555-0101",
               "",
               "",
               "cell",
               "work",
               "other",
               "annabel@example.org"};
    p.Groom = {true,    "Benedikt Oyelaran",
               "31",    "BEN-eh-dikt oh-yeh-LAH-ran",
               "",      "847-555-0102",
               "",      "",
               "cell",  "home",
               "other", ""};
    const QDate day = QDate::currentDate().addDays(120);
    using T = PlanValue<QTime>;
    p.Times = {PlanValue<QDate>::given(day), T::given(QTime(17, 0)), T::given(QTime(23, 30)),
               T::given(QTime(15, 0))};
    p.Facility = {"The Conservatory at Hollis Gardens",
                  "88 Garden Walk\r\nWinnetka, IL 60093",
                  "Dolores Fairbanks",
                  "847-555-0190",
                  "office",
                  "From I-94 take exit 31, east on Tower Road.\r\nLoading dock behind the "
                  "greenhouse; park in lot C."};
    p.Guests = PlanValue<QString>::given("180-200");
    p.Looks = p.Attitude = PlanValue<qint16>::given(1);
    p.GuidanceNotes = "Please keep the volume moderate during dinner.\r\nNo chicken dance.";
    static const char* roles[] = {"Maid of Honor", "Bridesmaid", "Flower Girl", "Usher"};
    for (int i = 0; i < 30; ++i)
        p.Party.append({QStringLiteral("Member %1 Kowalczyk-Lindqvist").arg(i + 1),
                        QLatin1String(roles[i % 4]),
                        i % 3 ? QStringLiteral("Escort %1 Featherstone").arg(i + 1) : QString(),
                        i % 3 ? QStringLiteral("Groomsman") : QString(),
                        QStringLiteral("MEM-ber %1 koh-VAHL-chick").arg(i + 1),
                        i % 3 ? QStringLiteral("ES-cort FEATH-er-stone") : QString()});
    static const char* names[] = {"Guests arrive", "Grand entrance", "Blessing",    "Dinner",
                                  "Toast",         "Cake cutting",   "First dance", "Bouquet toss",
                                  "Garter toss",   "Open dancing"};
    for (int i = 0; i < 40; ++i) {
        const QTime t = QTime(17, 0).addSecs(i * 6 * 60 + (i % 4) * 60);
        p.Schedule.append(
            {i + 1, T::given(t),
             QStringLiteral("%1 %2").arg(QLatin1String(names[i % 10])).arg(i / 10 + 1),
             i % 2 ? std::optional<qint16>(qint16(i + 1)) : std::nullopt,
             i % 2 ? QStringLiteral("Song %1").arg(i + 1) : QString(),
             i % 2 ? QStringLiteral("Artist %1").arg(i + 1) : QString(),
             QStringLiteral("Wedding party"),
             i % 5 ? QString() : QStringLiteral("Cue the lights; announce slowly.")});
    }
    for (int i = 0; i < 50; ++i) {
        p.Include.append({qint16(i + 1), QStringLiteral("Song %1").arg(i + 1),
                          QStringLiteral("Artist %1").arg(i + 1),
                          PlanValue<int>::given((3 + i % 3) * 60 + 10 + i % 50)});
        p.Exclude.append({qint16(i + 100), QStringLiteral("Unwanted %1").arg(i + 1),
                          QStringLiteral("Band %1").arg(i + 1), PlanValue<int>::given(245)});
    }
    return p;
}

// Writes `p`, a version of the event `first`, into a new event file in `folder` as the pages
// store it: the schedule is `first`'s, then edited and removed by key, as the schedule page
// keeps the keys of the activities left. The file's path, empty when it could not be written.
QString writeEvent(const QString& folder, const EventPlan& first, const EventPlan& p)
{
    if (!QDir().mkpath(folder) || !frmData().MakeZELdatabase(folder))
        return {};
    const QString file = QDir(folder).filePath(QStringLiteral("event.mdb"));
    StoreSession s(file, QString());
    const QDate day = p.Times.Date.value;
    const EventTimes times{OleDate::fromDateTime(day), OleDate::fromTime(p.Times.Start.value),
                           OleDate::fromTime(p.Times.End.value),
                           OleDate::fromTime(p.Times.Setup.value), true};
    const auto stored = [](const QList<PlanSong>& songs) {
        QList<PickedSongRecord> out;
        for (const PlanSong& song : songs)
            out.append({song.Key, song.Title, song.Artist, PlanFacts::lengthText(song.Length)});
        return out;
    };
    bool ok =
        s.isOpen() && EventItems::savePerson(s.items(), p.Bride, 'B', nullptr) &&
        EventItems::savePerson(s.items(), p.Groom, 'G', nullptr) &&
        EventItems::saveTimesAndPlace(s.items(), times, p.Facility, p.Guests.value, nullptr) &&
        EventItems::saveParty(s.items(), p.Party, nullptr) &&
        s.songLists().rewrite(SongListStore::Include, stored(p.Include)) &&
        s.songLists().rewrite(SongListStore::Exclude, stored(p.Exclude));
    const auto record = [&](const ScheduledActivity& a) {
        return ActivityRecord{OleDate::fromDateTime(day, a.Time.value),
                              a.Name,
                              a.SongKey,
                              a.SongTitle,
                              a.SongArtist,
                              a.Who,
                              a.MoreInfo};
    };
    for (const ScheduledActivity& a : first.Schedule) {
        if (!ok)
            return {};
        const std::optional<qint64> key = s.schedule().insert(record(a));
        if (!key)
            return {};
        const auto now = std::find_if(p.Schedule.begin(), p.Schedule.end(),
                                      [&](const ScheduledActivity& b) { return b.Key == a.Key; });
        ok = now == p.Schedule.end() ? s.schedule().remove(*key)
                                     : s.schedule().update(*key, record(*now));
    }
    return ok ? file : QString();
}

// CPU time of this thread: on a machine shared with other work the wall time says more
// about the others than about the plan.
double cpuMs()
{
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return t.tv_sec * 1e3 + t.tv_nsec / 1e6;
}

double median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}
} // namespace

int main(int argc, char* argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const EventPlan plan = fullEvent();
    const QDate today = QDate::currentDate();
    QTemporaryDir dir;
    const QString out = argc > 1 ? QString::fromLocal8Bit(argv[1]) : dir.filePath("plan.pdf");

    std::vector<double> pdf, pdfCpu, build, layout, checks;
    QElapsedTimer timer;
    for (int run = 0; run < 7; ++run) {
        timer.start();
        double cpu = cpuMs();
        const PlanDocument document(plan, PlanChecks::run(plan, today), PathMap::mediaFolder());
        build.push_back(timer.nsecsElapsed() / 1e6);
        QElapsedTimer part;
        part.start();
        cpu -= cpuMs();
        document.textDocument()->pageCount();
        layout.push_back(part.nsecsElapsed() / 1e6);
        cpu += cpuMs();
        timer.start();
        QString error;
        if (!document.writePdf(out, QPageSize(QPageSize::Letter), &error)) {
            std::fprintf(stderr, "%s\n", qPrintable(error));
            return 1;
        }
        pdf.push_back(timer.nsecsElapsed() / 1e6 + build.back());
        pdfCpu.push_back(cpuMs() - cpu);
    }
    // The run sheet on both papers, Letter last (its file is kept beside the plan's).
    std::vector<double> sheet;
    const QString sheetFile = QFileInfo(out).dir().filePath(QStringLiteral("run sheet.pdf"));
    int sheetPages = 0;
    for (const QPageSize::PageSizeId paper : {QPageSize::A4, QPageSize::Letter})
        for (int run = 0; run < 7; ++run) {
            timer.start();
            const PlanDocument document = PlanDocument::runSheet(
                plan, PlanChecks::run(plan, today, PlanChecks::ForEntertainer));
            QString error;
            if (!document.writePdf(sheetFile, QPageSize(paper), &error)) {
                std::fprintf(stderr, "%s\n", qPrintable(error));
                return 1;
            }
            sheet.push_back(timer.nsecsElapsed() / 1e6);
            if (run == 0)
                sheetPages += document.pageCount(QPageSize(paper)) * (paper == QPageSize::A4 ? 10 : 1);
        }
    int findings = 0;
    for (int run = 0; run < 2001; ++run) {
        timer.start();
        findings = int(PlanChecks::run(plan, today).size());
        checks.push_back(timer.nsecsElapsed() / 1e6);
    }
    // A second version with a change of every kind: a time, a song, a member, list songs.
    EventPlan changed = plan;
    changed.Schedule[6].Time = PlanValue<QTime>::given(QTime(20, 30));
    changed.Schedule[7].SongTitle = QStringLiteral("Perfect");
    changed.Schedule.removeAt(12);
    changed.Party[4].Role = QStringLiteral("Junior Bridesmaid");
    changed.Party.removeLast();
    changed.Include.removeAt(3);
    changed.Include.append({-2, QStringLiteral("Shout"), QStringLiteral("The Isley Brothers"), {}});
    changed.Bride.Email = QStringLiteral("annabel@example.com");
    std::vector<double> diffs;
    int changes = 0;
    for (int run = 0; run < 201; ++run) {
        timer.start();
        const PlanDiff diff(plan, changed);
        changes = int(diff.changes().size()) + int(diff.text().isEmpty());
        diffs.push_back(timer.nsecsElapsed() / 1e6);
    }
    // The same as the tool does it: both files read, then the sentences.
    const QString oldFile = writeEvent(dir.filePath(QStringLiteral("old")), plan, plan);
    const QString newFile = writeEvent(dir.filePath(QStringLiteral("new")), plan, changed);
    if (oldFile.isEmpty() || newFile.isEmpty()) {
        std::fprintf(stderr, "the two event files could not be written\n");
        return 1;
    }
    std::vector<double> toolDiffs;
    int toolChanges = 0;
    for (int run = 0; run < 51; ++run) {
        timer.start();
        QString error;
        const std::optional<EventPlan> before = EventSnapshot::read(oldFile, &error);
        const std::optional<EventPlan> after = EventSnapshot::read(newFile, &error);
        if (!before || !after) {
            std::fprintf(stderr, "%s\n", qPrintable(error));
            return 1;
        }
        const PlanDiff diff(*before, *after);
        toolChanges = int(diff.changes().size()) + int(diff.text().isEmpty());
        toolDiffs.push_back(timer.nsecsElapsed() / 1e6);
    }
    // The largest schedule a file may hold: 10,000 activities at one time.
    EventPlan crowded = plan;
    crowded.Schedule.clear();
    for (int i = 0; i < 10000; ++i)
        crowded.Schedule.append({i + 1, PlanValue<QTime>::given(QTime(19, 0)),
                                 QStringLiteral("Crowd %1").arg(i), std::nullopt, {}, {}, {}, {}});
    std::vector<double> crowdedPlan, crowdedSheet;
    for (int run = 0; run < 3; ++run)
        for (const bool sheetForm : {false, true}) {
            const double start = cpuMs();
            const QList<PlanFinding> found = PlanChecks::run(
                crowded, today, sheetForm ? PlanChecks::ForEntertainer : PlanChecks::ForCouple);
            const PlanDocument document = sheetForm ? PlanDocument::runSheet(crowded, found)
                                                    : PlanDocument(crowded, found, QString());
            QString error;
            if (!document.writePdf(dir.filePath(QStringLiteral("crowded.pdf")),
                                   QPageSize(QPageSize::Letter), &error)) {
                std::fprintf(stderr, "%s\n", qPrintable(error));
                return 1;
            }
            (sheetForm ? crowdedSheet : crowdedPlan).push_back(cpuMs() - start);
        }
    // The review window's text document of the same schedule, laid out at a window's width.
    std::vector<double> crowdedWindow;
    for (int run = 0; run < 3; ++run) {
        const double start = cpuMs();
        const PlanDocument document(crowded, PlanChecks::run(crowded, today, PlanChecks::ForCouple),
                                    QString());
        const auto shown = document.textDocument();
        shown->setTextWidth(800);
        shown->documentLayout()->documentSize();
        crowdedWindow.push_back(cpuMs() - start);
    }
    std::printf("full event (30 members, 40 activities, 50 + 50 songs)\n");
    std::printf("PDF, US Letter, median of 7:   %8.1f ms wall, %6.1f ms CPU  (%lld bytes)\n",
                median(pdf), median(pdfCpu), QFileInfo(out).size());
    std::printf("  of which the outline and pictures %6.1f ms; text layout alone %6.1f ms\n",
                median(build), median(layout));
    std::printf("run sheet PDF, median of 14:   %8.1f ms wall  (%d Letter pages, %d A4 pages)\n",
                median(sheet), sheetPages % 10, sheetPages / 10);
    std::printf("10,000 activities, median of 3: plan PDF %6.0f ms CPU, run sheet PDF %6.0f ms CPU\n",
                median(crowdedPlan), median(crowdedSheet));
    std::printf("10,000 activities, median of 3: review window's document %6.0f ms CPU\n",
                median(crowdedWindow));
    std::printf("checks, median of 2001:        %8.3f ms  (%d findings)\n", median(checks),
                findings);
    std::printf("what changed, median of 201:   %8.3f ms  (%d changes)\n", median(diffs), changes);
    std::printf("zelplan --diff of two files, median of 51: %8.3f ms  (%d changes; limit 20 ms)\n",
                median(toolDiffs), toolChanges);
    return 0;
}
