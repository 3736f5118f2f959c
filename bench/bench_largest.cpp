// Prints how long zelplan takes, from its start to its end, for the largest events an event
// file can hold: the plan's PDF, the run sheet's PDF, the plan as HTML and as text, and the
// exports (calendar, lists and the DJ playlists, with a library of 30,000 songs). Each event
// is made once, each command timed once; the goal is under 2 s for each.
//   build/bench/bench_largest [--keep] [--party N] [--only K]
//   --keep: the events stay, their folder is printed; --party N: a party of N members (32,767
//   unless told); --only K: only the K-th event of the table.
#include "platform/OleDate.h"
#include "store/EventItems.h"
#include "store/StoreSession.h"
#include "store/frmData.h"

#include "BenchLibrary.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QProcess>
#include <QTemporaryDir>

#include <cstdio>
#include <functional>

namespace
{
// A text of words, `length` characters long.
QString words(int length, int seed)
{
    QString text = QStringLiteral("Row %1").arg(seed);
    while (text.size() < length)
        text += QStringLiteral(" lorem ipsum dolor sit amet");
    return text.left(length);
}

using Fill = std::function<bool(StoreSession&)>;

// The party's size; the store holds up to 32,767 members.
int partySize = 32767;

// The number after `option` on the command line, or `otherwise`.
int optionValue(const QStringList& arguments, const QString& option, int otherwise)
{
    const qsizetype at = arguments.indexOf(option);
    return at >= 0 && at + 1 < arguments.size() ? arguments.at(at + 1).toInt() : otherwise;
}

bool schedule(StoreSession& s, int count, int text, int notes, bool unbroken = false)
{
    const double day = OleDate::fromDateTime(QDate(2031, 6, 14));
    for (int i = 0; i < count; ++i) {
        const QString note = unbroken ? QString(notes, QLatin1Char('x')) : words(notes, i);
        if (!s.schedule().insert({day + (19 * 60 + i % 300) / 1440.0, words(text, i), std::nullopt,
                                  words(text, i + 1), words(text, i + 2), words(text, i + 3), note}))
            return false;
    }
    return true;
}
} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const QStringList arguments = app.arguments();
    partySize = optionValue(arguments, QStringLiteral("--party"), partySize);
    const int only = optionValue(arguments, QStringLiteral("--only"), 0);
    QTemporaryDir dir;
    if (arguments.contains(QStringLiteral("--keep"))) {
        dir.setAutoRemove(false);
        std::printf("events in %s\n", qPrintable(dir.path()));
    }
    const QString catalogue = dir.filePath(QStringLiteral("songlist.mdb"));
    QString error;
    if (!makeBenchLibrary(catalogue, 30000, &error)) {
        std::fprintf(stderr, "%s\n", qPrintable(error));
        return 1;
    }
    const QList<std::pair<const char*, Fill>> events = {
        {"10,000 activities, every text 255 characters",
         [](StoreSession& s) { return schedule(s, 10000, 255, 255); }},
        {"10,000 short activities at one time",
         [](StoreSession& s) { return schedule(s, 10000, 12, 0); }},
        {"1,000 activities with notes of 5,000 characters",
         [](StoreSession& s) { return schedule(s, 1000, 40, 5000); }},
        {"unbroken texts of 1 MB (comments, address, directions, notes)",
         [](StoreSession& s) {
             const QString mb(1 << 20, QLatin1Char('x'));
             return s.items().SaveMemItem(QStringLiteral("DN"), mb) &&
                    s.items().SaveMemItem(QStringLiteral("EFA"), mb) &&
                    s.items().SaveMemItem(QStringLiteral("EFD"), mb) &&
                    schedule(s, 3, 40, 1 << 20, true);
         }},
        {"the party (32,767 members unless told), every text 255 characters",
         [](StoreSession& s) {
             QList<PartyMember> party;
             for (int i = 0; i < partySize; ++i)
                 party.append({words(255, i), words(255, i + 1), words(255, i + 2),
                               words(255, i + 3), words(255, i + 4), words(255, i + 5)});
             return EventItems::saveParty(s.items(), party, nullptr);
         }},
        {"10,000 songs on each list, every text 255 characters", [](StoreSession& s) {
             QList<PickedSongRecord> songs;
             for (int i = 0; i < 10000; ++i)
                 songs.append({qint16(i % 30000 + 1), words(200, i), words(200, i + 1),
                               QStringLiteral("3:%1").arg(i % 60, 2, 10, QLatin1Char('0'))});
             return s.songLists().rewrite(SongListStore::Include, songs) &&
                    s.songLists().rewrite(SongListStore::Exclude, songs) && schedule(s, 50, 20, 0);
         }}};
    const QList<std::pair<const char*, QStringList>> commands = {
        {"plan PDF", {"-o", "plan.pdf"}},
        {"run sheet PDF", {"--run-sheet", "-o", "sheet.pdf"}},
        {"plan HTML", {"-o", "plan.html"}},
        {"plan text", {"-o", "plan.txt"}},
        {"exports", {"--export", "out", "--catalogue", catalogue}}};

    std::printf("%-64s", "zelplan, ms from start to end (goal: under 2000)");
    for (const auto& [name, args] : commands)
        std::printf(" %14s", name);
    std::printf("\n");
    int number = 0;
    for (const auto& [name, fill] : events) {
        if (++number != only && only)
            continue;
        const QString folder = dir.filePath(QString::number(number));
        const QString file = QDir(folder).filePath(QStringLiteral("event.mdb"));
        bool made = QDir().mkpath(folder) && frmData().MakeZELdatabase(folder);
        if (made) {
            StoreSession s(file, QString());
            made = s.isOpen() && s.items().SaveStrItem(QStringLiteral("BN"), QStringLiteral("Ana")) &&
                   s.items().SaveStrItem(QStringLiteral("GN"), QStringLiteral("Ben")) && fill(s);
        }
        if (!made) {
            std::fprintf(stderr, "%s: the event could not be written\n", name);
            return 1;
        }
        std::printf("%-64s", name);
        for (const auto& [command, args] : commands) {
            QProcess zelplan;
            zelplan.setWorkingDirectory(folder);
            zelplan.setProcessChannelMode(QProcess::ForwardedErrorChannel);
            QElapsedTimer timer;
            timer.start();
            zelplan.start(QStringLiteral(ZELPLAN), QStringList{file} + args);
            if (!zelplan.waitForFinished(600000) || zelplan.exitCode() != 0) {
                std::printf("\n%s: zelplan failed\n", command);
                return 1;
            }
            std::printf(" %14lld", timer.elapsed());
            std::fflush(stdout);
        }
        std::printf("\n");
    }
    return 0;
}
