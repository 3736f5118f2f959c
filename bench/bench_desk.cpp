// The desk's folder: how long 500 events take to be read and listed in the window.
//   bench_desk [FOLDER]   FOLDER (made when missing) keeps the events; default: a temporary one
#include "desk/DeskWindow.h"
#include "platform/OleDate.h"
#include "store/EventCopy.h"
#include "store/EventItems.h"
#include "store/StoreSession.h"
#include "store/frmData.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QTextStream>

#include <sys/resource.h>

int main(int argc, char* argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QTemporaryDir temporary;
    const QString folder = argc > 1 ? QString::fromLocal8Bit(argv[1]) : temporary.path();
    QDir().mkpath(folder);
    QTemporaryDir made;
    frmData().MakeZELdatabase(made.path());
    const QString source = made.filePath(QStringLiteral("event.mdb"));
    constexpr int kEvents = 500;
    QString error;
    for (int i = 0; i < kEvents; ++i) {
        {
            // Each event its own couple, date, place and id, as couples' files are.
            StoreSession s(source, QString());
            PersonRecord bride, groom;
            FacilityRecord place;
            bride.Name = QStringLiteral("Bride %1").arg(i);
            groom.Name = QStringLiteral("Groom %1").arg(i);
            place.Name = QStringLiteral("Hall %1").arg(i);
            const double day = OleDate::fromDateTime(QDate::currentDate().addDays(i * 3 - 300));
            EventItems::savePerson(s.items(), bride, 'B', &error);
            EventItems::savePerson(s.items(), groom, 'G', &error);
            EventItems::saveTimesAndPlace(s.items(), {day, 0.75, 0.95, 0.7, true}, place,
                                          QStringLiteral("120"), &error);
            s.items().SaveStrItem(QStringLiteral("EventId"), QStringLiteral("bench-%1").arg(i));
        }
        if (!EventCopy::save(source, QDir(folder).filePath(QStringLiteral("%1.feteplan").arg(i)),
                             &error)) {
            QTextStream(stderr) << error << Qt::endl;
            return 1;
        }
    }
    // The processor time too: on a machine busy with other work the wall clock says little.
    const auto cpuMs = [] {
        rusage use{};
        getrusage(RUSAGE_SELF, &use);
        return (use.ru_utime.tv_sec + use.ru_stime.tv_sec) * 1000 +
               (use.ru_utime.tv_usec + use.ru_stime.tv_usec) / 1000;
    };
    QElapsedTimer timer;
    timer.start();
    const long cpuBefore = cpuMs();
    DeskFolder(folder, QString()).scan(QDate::currentDate());
    const long readCpu = cpuMs() - cpuBefore;
    const qint64 read = timer.restart();
    const long windowCpuBefore = cpuMs();
    DeskWindow window(folder, QString());
    const long windowCpu = cpuMs() - windowCpuBefore;
    const qint64 shown = timer.elapsed();
    timer.restart();
    window.refresh();
    const qint64 again = timer.elapsed();
    QTextStream out(stdout);
    out << "desk: reading the " << window.folder().events().size() << " event files alone (first read): "
        << read << " ms, " << readCpu << " ms of processor time" << Qt::endl;
    out << "desk: " << window.folder().events().size() << " events listed in a new window in "
        << shown << " ms, " << windowCpu << " ms of processor time (goal: under 1000 ms)"
        << Qt::endl;
    out << "desk: the same folder read again and shown (F5) in " << again << " ms" << Qt::endl;
    return 0;
}
