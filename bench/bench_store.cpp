// Prints the speed of the keyed item store and of the start-up's data opening.
//   build/bench/bench_store
#include "BenchRoot.h"
#include "app/ZelWizard.h"
#include "store/KeyedItemStore.h"
#include "store/SqlConnection.h"
#include "store/StoreSession.h"
#include "store/StoreTransaction.h"
#include "store/frmData.h"
#include "wizard/Wizard.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QtGlobal>

#include <algorithm>
#include <cstdio>
#include <vector>

static double median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

static void writeCatalogue(const QString& file, int songs)
{
    SqlConnection conn(file, SqlConnection::Create);
    QSqlQuery q(conn.database());
    q.exec("PRAGMA journal_mode = DELETE");
    q.exec("CREATE TABLE MUSIC (dbKey INTEGER PRIMARY KEY, Name TEXT, Type TEXT, SType1 TEXT, "
           "SType2 TEXT, Time TEXT, Matrix TEXT, UDF01 TEXT, UDF02 TEXT, UDF03 TEXT, UDF04 TEXT, "
           "UDF05 TEXT, UDF06 TEXT, UDF07 TEXT, UDF08 TEXT, UDF09 TEXT)");
    q.exec("CREATE INDEX MUSIC_Name ON MUSIC (Name COLLATE NOCASE)");
    q.exec("CREATE TABLE Config (Item TEXT UNIQUE COLLATE NOCASE, Usage TEXT)");
    conn.database().transaction();
    q.prepare("INSERT INTO MUSIC (dbKey, Name, Type, Time, UDF01) VALUES (?, ?, '1', '3:30', ?)");
    for (int k = 1; k <= songs; ++k) {
        q.addBindValue(k);
        q.addBindValue(QStringLiteral("Song title number %1").arg(k));
        q.addBindValue(QStringLiteral("Artist %1").arg(k % 997));
        q.exec();
    }
    q.exec("INSERT INTO Config (Item, Usage) VALUES ('TotalTypes', '5')");
    conn.database().commit();
}

int main(int argc, char* argv[])
{
    // The start-up builds the (hidden) welcome page, so it needs the widgets' application.
    const BenchRoot root;
    QApplication app(argc, argv);
    if (!root.isReady())
        return 1;
    const QString folder = root.dbFolder();
    writeCatalogue(folder + "songlist.mdb", 32767);

    // Start-up: folders, event database creation on first start, the data open.
    QElapsedTimer t;
    t.start();
    {
        ZelWizard first;
        if (!first.start())
            return 1;
    }
    const double firstStart = t.nsecsElapsed() / 1e6;
    std::vector<double> starts;
    for (int i = 0; i < 15; ++i) {
        t.restart();
        ZelWizard w;
        w.start();
        starts.push_back(t.nsecsElapsed() / 1e6);
    }

    StoreSession session(folder + "event.mdb", folder + "songlist.mdb");
    KeyedItemStore& items = session.items();
    std::vector<double> saves;
    for (int i = 0; i < 200; ++i) {
        const QString key = QStringLiteral("K%1").arg(i % 40);
        t.restart();
        items.SaveStrItem(key, QStringLiteral("value %1").arg(i));
        saves.push_back(t.nsecsElapsed() / 1e6);
    }
    // A page of 22 answers, each committed on its own (as the store once wrote them) or in
    // one transaction (as Next saves a page now).
    auto writePage = [&items](int round) {
        for (int i = 0; i < 22; ++i) {
            const QString key = QStringLiteral("P%1").arg(i);
            if (i % 4 == 3)
                items.SaveMemItem(key, QStringLiteral("a longer text\r\nwith lines %1").arg(round));
            else
                items.SaveStrItem(key, QStringLiteral("answer %1").arg(round));
        }
    };
    std::vector<double> pages;
    std::vector<double> transactions;
    for (int round = 0; round < 15; ++round) {
        t.restart();
        writePage(round);
        pages.push_back(t.nsecsElapsed() / 1e6);
        t.restart();
        StoreTransaction page(session.eventConnection());
        writePage(round);
        page.commit();
        transactions.push_back(t.nsecsElapsed() / 1e6);
    }
    std::sort(saves.begin(), saves.end());
    std::printf(
        "SaveStrItem committed (synchronous): median %.3f ms, p95 %.3f ms over %zu writes\n",
        median(saves), saves[saves.size() * 95 / 100], saves.size());
    std::printf("A page's 22 writes, each committed: median %.3f ms\n", median(pages));
    std::printf("A page's 22 writes in one transaction (as Next saves): median %.3f ms\n",
                median(transactions));
    std::printf("Start-up to the data open, 32,767-song catalogue: first start (creates "
                "event.mdb) %.2f ms, later starts median %.2f ms\n",
                firstStart, median(starts));
    return 0;
}
