// Prints how the schedule and song list pages cope with large stored data: 2,000 stored
// activities (show the page, add one through the activity dialog, remove one) and a list
// of 2,000 stored songs, far above the 50 a page takes (show the page, save it with Next).
//   build/bench/bench_schedule
#include "BenchRoot.h"
#include "app/ZelWizard.h"
#include "store/StoreSession.h"
#include "store/StoreTransaction.h"
#include "wizard/WizardPage.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QLineEdit>
#include <QSqlQuery>
#include <QTableView>
#include <QTemporaryDir>

#include <cstdio>

namespace
{
QAbstractButton* button(QWidget* form, const char* name)
{
    return form->findChild<QAbstractButton*>(QLatin1String(name));
}

double msSince(const QElapsedTimer& t)
{
    return t.nsecsElapsed() / 1e6;
}
} // namespace

int main(int argc, char* argv[])
{
    const BenchRoot root;
    QApplication app(argc, argv);
    if (!root.isReady())
        return 1;
    const QString folder = root.dbFolder();
    if (!QFile::copy(QStringLiteral(ZEL_BUILD_DIR "/medium/songlist.mdb"), folder + "songlist.mdb"))
        return 1;

    ZelWizard w;
    if (!w.start())
        return 1;
    {
        StoreTransaction t(w.store().eventConnection());
        for (int i = 0; i < 2000; ++i) {
            w.store().schedule().insert(
                {45000.75 + i / 20000.0, QStringLiteral("Activity %1").arg(i), std::nullopt,
                 QString(), QString(), QStringLiteral("Guest %1").arg(i), QString()});
        }
        QList<PickedSongRecord> songs;
        for (int i = 0; i < 2000; ++i)
            songs.append({qint16(i + 1), QStringLiteral("Song %1").arg(i), QStringLiteral("Band"),
                          QStringLiteral("3:30")});
        w.store().songLists().rewrite(SongListStore::Include, songs);
        t.commit();
    }

    QElapsedTimer t;
    t.start();
    WizardPage* schedule = w.page(5);
    schedule->show();
    QApplication::processEvents();
    const double show = msSince(t);

    button(schedule, "cmdAdd")->click();
    QWidget* dialog = nullptr;
    for (QWidget* top : QApplication::topLevelWidgets())
        if (top->objectName() == QLatin1String("frmActivity") && top->isVisible())
            dialog = top;
    if (!dialog)
        return 1;
    dialog->findChild<QLineEdit*>(QStringLiteral("txtName"))->setText(QStringLiteral("Cake"));
    t.restart();
    button(dialog, "cmdOK")->click();
    QApplication::processEvents();
    const double add = msSince(t);

    auto* grid = schedule->findChild<QTableView*>(QStringLiteral("dbgEvents"));
    grid->setCurrentIndex(grid->model()->index(1000, 2));
    t.restart();
    button(schedule, "cmdRemove")->click();
    QApplication::processEvents();
    const double remove = msSince(t);

    t.restart();
    WizardPage* list = w.page(7);
    list->show();
    QApplication::processEvents();
    const double listShow = msSince(t);
    t.restart();
    button(list, "cmdNext")->click();
    QApplication::processEvents();
    const double listSave = msSince(t);

    std::printf("Schedule of 2,000 stored activities: page shown %.1f ms, an activity added "
                "%.1f ms, one removed %.1f ms\n",
                show, add, remove);
    std::printf("Include list of 2,000 stored songs: page shown %.1f ms, saved with Next %.1f ms\n",
                listShow, listSave);
    return 0;
}
