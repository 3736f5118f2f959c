// Prints how long the wizard takes from process start to the welcome page painted, and the
// peak memory (VmHWM) at that moment, with the sample catalogue and media of the build's
// medium folder, under the offscreen platform. Then the same for the welcome page's Next
// (the song catalogue's preparation and the bride and groom page painted).
//   build/bench/bench_startup [samples]
//
// Every sample is a fresh process: the benchmark starts itself again with --sample, and that
// process runs what the program's main() runs (application object, Wizard, startAndShow) in
// a root of its own: ZEL_ROOT with the medium installed as the data loader installs it, and
// HIVELET_HIVE with the Ready flag set. "From process start" is measured from the moment
// before the parent starts the child (fork, exec, dynamic linking and static set-up
// included) on the system's monotonic clock, which both processes share.
#include "app/ZelWizard.h"
#include "ui/MessageBox.h"
#include "wizard/Menu1.h"
#include "wizard/Wizard.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QTimer>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <vector>

#ifndef ZEL_BUILD_DIR
#error "ZEL_BUILD_DIR must name the build folder (it holds the sample medium)"
#endif

namespace
{

qint64 nowNs()
{
    return std::chrono::duration_cast<std::chrono::nanoseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

// The process's peak resident memory so far, in kB.
qint64 peakRssKb()
{
    QFile f(QStringLiteral("/proc/self/status"));
    if (!f.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray& line : f.readAll().split('\n')) {
        if (line.startsWith("VmHWM:"))
            return line.mid(6).trimmed().split(' ').value(0).toLongLong();
    }
    return -1;
}

// Calls `done` once, when the first repaint of the window named `windowName` has been
// painted and flushed: the first paint event of the window or of a widget in it marks the
// repaint pass, and a queued call runs after the pass ends. The window need not exist yet.
class FirstPaint : public QObject
{
  public:
    FirstPaint(const QString& windowName, std::function<void()> done)
        : QObject(qApp), m_windowName(windowName), m_done(std::move(done))
    {
        qApp->installEventFilter(this);
    }

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Paint && watched->isWidgetType() &&
            static_cast<QWidget*>(watched)->window()->objectName() == m_windowName) {
            qApp->removeEventFilter(this);
            QTimer::singleShot(0, this, [this] {
                m_done();
                deleteLater();
            });
        }
        return false;
    }

  private:
    QString m_windowName;
    std::function<void()> m_done;
};

struct Sample {
    double processToPaintMs = 0, appToPaintMs = 0, nextToPaintMs = 0;
    double peakMb = 0, peakAfterNextMb = 0;
};

// The child: the program's start-up, timed. Prints one line of figures.
int runSample(int argc, char* argv[])
{
    const qint64 spawned = qEnvironmentVariable("ZEL_BENCH_SPAWN_NS").toLongLong();
    const qint64 appStart = nowNs();
    QApplication app(argc, argv);
    // A message box would wait for an answer nobody gives: report it and stop.
    MessageBox::setHandler([](const MessageBox::Request& r) {
        std::fprintf(stderr, "message box \"%s\": %s\n", qPrintable(r.title), qPrintable(r.text));
        std::exit(2);
        return QMessageBox::Ok;
    });

    ZelWizard wizard;
    Sample s;
    new FirstPaint(QStringLiteral("Menu1"), [&] {
        const qint64 painted = nowNs();
        s.processToPaintMs = (painted - spawned) / 1e6;
        s.appToPaintMs = (painted - appStart) / 1e6;
        s.peakMb = peakRssKb() / 1024.0;
        // The welcome page's Next: the catalogue is prepared and the next page shown.
        const qint64 clicked = nowNs();
        new FirstPaint(QStringLiteral("Menu2"), [&, clicked] {
            s.nextToPaintMs = (nowNs() - clicked) / 1e6;
            s.peakAfterNextMb = peakRssKb() / 1024.0;
            // exit(), not quit(): quit() closes the windows, and closing a page asks the
            // quit question.
            QCoreApplication::exit(0);
        });
        wizard.welcomePage()->findChild<QAbstractButton*>(QStringLiteral("cmdNext"))->click();
    });

    if (!wizard.startAndShow()) {
        std::fprintf(stderr, "the start-up ended the program\n");
        return 1;
    }
    QTimer::singleShot(30000, &app, [] {
        std::fprintf(stderr, "no paint within 30 s\n");
        std::exit(3);
    });
    app.exec();
    std::printf("SAMPLE %.3f %.3f %.3f %.3f %.3f\n", s.processToPaintMs, s.appToPaintMs, s.peakMb,
                s.nextToPaintMs, s.peakAfterNextMb);
    std::fflush(stdout);
    return 0;
}

bool copyFile(const QString& from, const QString& to)
{
    QFile::remove(to);
    return QFile::copy(from, to);
}

// Installs the medium into `root` as the data loader does, and sets the Ready flag in the
// hive beside it.
bool prepareRoot(const QString& root)
{
    const QDir medium(QStringLiteral(ZEL_BUILD_DIR "/medium"));
    const QString program = root + QStringLiteral("/orba/zel/");
    const QString data = program + QStringLiteral("data/");
    if (!QDir().mkpath(data))
        return false;
    const QStringList files = medium.entryList(QDir::Files);
    if (!files.contains(QStringLiteral("songlist.mdb")))
        return false;
    for (const QString& f : files) {
        const QString target = (f == QLatin1String("songlist.mdb") ? program : data) + f;
        if (!copyFile(medium.filePath(f), target))
            return false;
    }
    const QString flag = root + QStringLiteral("/hive/SOFTWARE/TARN/ZEL/Data/Ready.value");
    QDir().mkpath(QFileInfo(flag).path());
    QFile f(flag);
    return f.open(QIODevice::WriteOnly) && f.write("1") == 1;
}

bool runChild(const QString& root, Sample& s)
{
    QProcess child;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    env.insert(QStringLiteral("ZEL_ROOT"), root);
    env.insert(QStringLiteral("HIVELET_HIVE"), root + QStringLiteral("/hive"));
    child.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    const qint64 spawn = nowNs();
    env.insert(QStringLiteral("ZEL_BENCH_SPAWN_NS"), QString::number(spawn));
    child.setProcessEnvironment(env);
    child.start(QCoreApplication::applicationFilePath(), {QStringLiteral("--sample")});
    if (!child.waitForFinished(60000) || child.exitStatus() != QProcess::NormalExit ||
        child.exitCode() != 0)
        return false;
    for (const QByteArray& line : child.readAllStandardOutput().split('\n')) {
        if (!line.startsWith("SAMPLE "))
            continue;
        const QList<QByteArray> v = line.mid(7).split(' ');
        if (v.size() != 5)
            return false;
        s = {v[0].toDouble(), v[1].toDouble(), v[3].toDouble(), v[2].toDouble(), v[4].toDouble()};
        return true;
    }
    return false;
}

double median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    const size_t n = v.size();
    return n % 2 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2;
}

double maximum(const std::vector<double>& v)
{
    return *std::max_element(v.begin(), v.end());
}

void report(const char* what, const std::vector<Sample>& samples)
{
    std::vector<double> proc, app, peak, next, peakNext;
    for (const Sample& s : samples) {
        proc.push_back(s.processToPaintMs);
        app.push_back(s.appToPaintMs);
        peak.push_back(s.peakMb);
        next.push_back(s.nextToPaintMs);
        peakNext.push_back(s.peakAfterNextMb);
    }
    std::printf("%s (%zu runs)\n", what, samples.size());
    std::printf("  process start -> welcome page painted    median %7.1f ms   max %7.1f ms\n",
                median(proc), maximum(proc));
    std::printf("  application object -> welcome painted    median %7.1f ms   max %7.1f ms\n",
                median(app), maximum(app));
    std::printf("  peak memory (VmHWM) at welcome painted   median %7.1f MB   max %7.1f MB\n",
                median(peak), maximum(peak));
    std::printf("  welcome Next -> bride & groom painted    median %7.1f ms   max %7.1f ms\n",
                median(next), maximum(next));
    std::printf("  peak memory (VmHWM) after that Next      median %7.1f MB   max %7.1f MB\n",
                median(peakNext), maximum(peakNext));
}

} // namespace

int main(int argc, char* argv[])
{
    if (argc > 1 && qstrcmp(argv[1], "--sample") == 0)
        return runSample(argc, argv);

    QCoreApplication app(argc, argv);
    const int runs = argc > 1 ? std::max(1, QByteArray(argv[1]).toInt()) : 10;
    std::printf("bench_startup: offscreen, sample medium from %s/medium, %d runs per case\n",
                ZEL_BUILD_DIR, runs);
    std::fflush(stdout);

    // Fresh roots: every start creates its event database.
    std::vector<Sample> fresh;
    for (int i = 0; i < runs; ++i) {
        QTemporaryDir root;
        Sample s;
        if (!prepareRoot(root.path()) || !runChild(root.path(), s)) {
            std::fprintf(stderr, "sample %d failed\n", i + 1);
            return 1;
        }
        fresh.push_back(s);
    }
    report("Fresh root (event database created at start)", fresh);

    // One root used again: every start opens the event database of the first run, as a
    // returning user's start does. The first run only makes the database.
    QTemporaryDir root;
    Sample warmUp;
    if (!prepareRoot(root.path()) || !runChild(root.path(), warmUp)) {
        std::fprintf(stderr, "warm-up run failed\n");
        return 1;
    }
    std::vector<Sample> again;
    for (int i = 0; i < runs; ++i) {
        Sample s;
        if (!runChild(root.path(), s)) {
            std::fprintf(stderr, "sample %d failed\n", i + 1);
            return 1;
        }
        again.push_back(s);
    }
    report("Returning user (event database already there)", again);
    std::printf("Targets: under 100 ms wall and under 50 MB peak memory to the welcome page.\n");
    return 0;
}
