// The entertainer's desk over a real folder of event files, driven offscreen through its window.
#include "TestSupport.h"

#include "desk/DeskEventView.h"
#include "desk/DeskWindow.h"
#include "plan/PlanChecks.h"
#include "platform/OleDate.h"
#include "platform/PathMap.h"
#include "store/EventCopy.h"
#include "store/EventItems.h"
#include "store/EventSnapshot.h"
#include "store/StoreSession.h"
#include "store/frmData.h"

#include <QApplication>
#include <QDir>
#include <QDropEvent>
#include <QLabel>
#include <QMimeData>
#include <QSqlQuery>
#include <QTreeWidget>

namespace
{
// A couple's file as the finish page sends it: made by the wizard's store (or from the file
// `from`), with the couple, a date `days` from today and a place.
QString sentFile(const QString& path, const QString& bride, int days, const QString& place,
                 const QString& from = {}, bool withoutId = false)
{
    QTemporaryDir made;
    const QString file = made.filePath("event.mdb");
    if (from.isEmpty() ? !frmData().MakeZELdatabase(made.path()) : !QFile::copy(from, file))
        qFatal("no event file");
    {
        StoreSession s(file, QString());
        QString failure;
        const QDate day = QDate::currentDate().addDays(days);
        PersonRecord b, g;
        FacilityRecord f;
        std::tie(b.Name, g.Name, f.Name) = std::tuple(bride, "Ben Okafor", place);
        EventItems::savePerson(s.items(), b, 'B', &failure);
        EventItems::savePerson(s.items(), g, 'G', &failure);
        EventItems::saveTimesAndPlace(
            s.items(), {OleDate::fromDateTime(day), 0.75, 0.95, 0.7, true}, f, "100", &failure);
        if (withoutId)
            QSqlQuery(s.eventConnection()).exec("DELETE FROM Strs WHERE Item = 'EventId'");
    }
    QString error;
    if (!QDir().mkpath(QFileInfo(path).path()) || !EventCopy::save(file, path, &error))
        qFatal("%s", qPrintable(error));
    return path;
}

QStringList rows(const DeskWindow& w)
{
    QStringList out;
    const auto* list = child<QTreeWidget>(&w, "tblEvents");
    for (int r = 0; r < list->topLevelItemCount(); ++r) {
        QStringList cells;
        for (int c = 1; c < list->columnCount(); ++c)
            cells << (c == 6 ? QString() : list->topLevelItem(r)->text(c));
        out << cells.join('|');
    }
    return out;
}

QString counts(const QString& file)
{
    QString error;
    const QList<PlanFinding> f = PlanChecks::run(EventSnapshot::read(file, &error).value(),
                                                 QDate::currentDate(), PlanChecks::ForEntertainer);
    const auto problems = std::count_if(f.begin(), f.end(),
                                        [](auto& x) { return x.severity == PlanFinding::Problem; });
    return QString("%1|%2").arg(problems).arg(f.size() - problems);
}
} // namespace

class TestDesk : public QObject
{
    Q_OBJECT
  private slots:
    void listsEventsInDateOrder();
    void newerCopyBecomesCurrent_data();
    void newerCopyBecomesCurrent();
    void refusesBadFiles_data();
    void refusesBadFiles();
};

void TestDesk::listsEventsInDateOrder()
{
    TestRoot root;
    const QDir dir(root.path() + "/Events");
    dir.mkpath(".");
    root.writeCatalogue({{"FinalDays", "30"}});
    QFile::copy(PathMap::catalogue(), dir.filePath("songlist.mdb"));
    const QString past = sentFile(dir.filePath("a.feteplan"), "Ada Past", -30, "Hall A");
    const QString far = sentFile(dir.filePath("b.mdb"), "Bea Far", 200, "Hall B");
    const QString near = sentFile(dir.filePath("c.feteplan"), "Cleo Near", 10, "Hall C");
    writeFile(dir.filePath("notes.feteplan"), "not an event");
    DeskWindow w(dir.path(), DeskFolder::defaultCatalogue(dir.path()));
    QCOMPARE(
        rows(w),
        QStringList({"Cleo Near & Ben Okafor|Hall C|10 days|" + counts(near) + "||New, Late",
                     "Bea Far & Ben Okafor|Hall B|200 days|" + counts(far) + "||New",
                     "Ada Past & Ben Okafor|Hall A|30 days ago|" + counts(past) + "||New, Late"}));
    QString error;
    EventSnapshot::read(dir.filePath("notes.feteplan"), &error);
    QCOMPARE(
        child<QLabel>(&w, "lblStatus")->text(),
        QString("3 events in %1. 1 file is not a readable event file: %2").arg(dir.path(), error));
    QCOMPARE(child<QTreeWidget>(&w, "tblEvents")->topLevelItem(2)->foreground(0).color(),
             w.palette().color(QPalette::Disabled, QPalette::Text));
    QVERIFY(w.writeCalendar(dir.filePath("upcoming.ics")));
    QCOMPARE(fileBytes(dir.filePath("upcoming.ics")).count("SUMMARY:Reception of"), 2);
}

void TestDesk::newerCopyBecomesCurrent_data()
{
    QTest::addColumn<bool>("oldFileWithoutId");
    QTest::newRow("same id") << false;
    QTest::newRow("old file matched by names") << true;
}

void TestDesk::newerCopyBecomesCurrent()
{
    QFETCH(bool, oldFileWithoutId);
    TestRoot root;
    const QString first = sentFile(root.path() + "/mail/first.feteplan", "Anna Smith", 90,
                                   "Old Mill", {}, oldFileWithoutId);
    const QString second = sentFile(root.path() + "/mail/second.feteplan", "Anna Smith", 90,
                                    "Rose Barn", oldFileWithoutId ? QString() : first);
    const QByteArray sentBytes = fileBytes(second);
    QDir().mkpath(root.path() + "/Events");
    DeskWindow w(root.path() + "/Events", {});
    w.addFiles({first});
    w.openEvent(0);
    QVERIFY(w.findChild<DeskEventView*>()->isReadable());
    QCOMPARE(rows(w).value(0).section('|', -1), QString());
    w.addFiles({second});
    w.addFiles({second}); // the same file again files nothing
    QVERIFY2(child<QLabel>(&w, "lblStatus")->text().startsWith(second + " is already on the desk"),
             qPrintable(child<QLabel>(&w, "lblStatus")->text()));
    QCOMPARE(rows(w).size(), 1);
    QCOMPARE(rows(w)[0].section('|', 1, 1) + rows(w)[0].section('|', -1),
             QString("Rose BarnChanged"));
    QString error;
    QCOMPARE(EventSnapshot::read(w.folder().events()[0].previous, &error)
                 .value_or(EventPlan())
                 .Facility.Name,
             QString("Old Mill"));
    QCOMPARE(QDir(root.path() + "/Events/Previous versions").entryList(QDir::Files).size(), 1);
    QCOMPARE(fileBytes(second), sentBytes);
    QCOMPARE(root.messages.size(), 0);
}

void TestDesk::refusesBadFiles_data()
{
    QTest::addColumn<QString>("statement");
    QTest::addColumn<QString>("words");
    QTest::newRow("damaged") << ""
                             << "damaged";
    QTest::newRow("foreign") << "DROP TABLE Strs"
                             << "not an event";
    QTest::newRow("newer") << "PRAGMA user_version = 999"
                           << "later release";
}

void TestDesk::refusesBadFiles()
{
    QFETCH(QString, statement);
    QFETCH(QString, words);
    TestRoot root;
    const QString file = sentFile(root.path() + "/bad.feteplan", "Anna Smith", 90, "Old Mill");
    if (statement.isEmpty()) {
        QByteArray bytes = fileBytes(file);
        writeFile(file, bytes.replace(4096, 2048, QByteArray(2048, '\x7f')));
    } else {
        StoreSession s(file, QString());
        QSqlQuery(s.eventConnection()).exec(statement);
    }
    const QByteArray before = fileBytes(file);
    QDir().mkpath(root.path() + "/Events");
    DeskWindow w(root.path() + "/Events", {});
    QMimeData dropped; // dropped on the window, as from a file manager
    dropped.setUrls({QUrl::fromLocalFile(file)});
    QDragEnterEvent enter(QPoint(5, 5), Qt::CopyAction, &dropped, Qt::LeftButton, {});
    QDropEvent drop(QPointF(5, 5), Qt::CopyAction, &dropped, Qt::LeftButton, {});
    QApplication::sendEvent(w.centralWidget(), &enter);
    QApplication::sendEvent(w.centralWidget(), &drop);
    QCOMPARE(fileBytes(file), before);
    QCOMPARE(rows(w), QStringList());
    QCOMPARE(root.messages.size(), 1);
    QVERIFY2(root.messages[0].text.contains(words), qPrintable(root.messages[0].text));
    QCOMPARE(QDir(root.path() + "/Events").entryList(QDir::Files | QDir::Hidden), QStringList());
}

QTEST_MAIN(TestDesk)
#include "test_desk.moc"
