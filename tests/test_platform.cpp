// Number, yes/no and date-time texts as the stored answers hold them, the mapping of the
// fixed folders, and the message and program-end seams.

#include "TestSupport.h"

#include "platform/OleDate.h"
#include "platform/PathMap.h"
#include "platform/SafeReplace.h"
#include "platform/VbConvert.h"
#include "ui/ProgramEnd.h"

#include <QDir>
#include <QTemporaryDir>
#include <QtTest>

#include <limits>

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

class TestPlatform : public QObject
{
    Q_OBJECT
  private slots:
    void numbersAndYesNo();
    void dayCounts();
    void readsForms_data();
    void readsForms();
    void pathMapping();
    void messageAndEndSeams();
    void killedReplaceLeavesAWholeFile_data();
    void killedReplaceLeavesAWholeFile();
};

void TestPlatform::numbersAndYesNo()
{
    // A text's leading number, as the first-run flag and the stored counts are read.
    const std::pair<const char*, double> leading[] = {
        {"42", 42},    {"1abc", 1},
        {" 3", 3},     {"\t-2.5x", -2.5},
        {"+7", 7},     {".5", 0.5},
        {"2e3", 2000}, {"2e", 2},
        {"abc", 0},    {"", 0},
        {"-", 0},      {".", 0},
        {"1 2", 1},    {"1e400", std::numeric_limits<double>::max()}};
    for (const auto& [text, value] : leading)
        QCOMPARE(std::pair(text, VbConvert::leadingNumber(text)), std::pair(text, value));

    // Halves round to even; beyond 16 bits the number is held at the limit.
    const std::pair<double, qint16> rounded[] = {
        {1.5, 2},           {2.5, 2},       {-1.5, -2},       {-2.5, -2},
        {1.6, 2},           {0.49, 0},      {32767.4, 32767}, {32768, 32767},
        {-32768.6, -32768}, {1e300, 32767}, {-1e300, -32768}, {std::nan(""), 0}};
    for (const auto& [value, whole] : rounded)
        QCOMPARE(std::pair(QString::number(value), VbConvert::toInt16(value)),
                 std::pair(QString::number(value), whole));
    QCOMPARE(VbConvert::leadingInt16("1.6"), qint16(2));
    QCOMPARE(VbConvert::leadingInt16("99999"), qint16(32767));

    const std::pair<const char*, std::optional<bool>> yesNo[] = {
        {"True", true}, {"tRUE", true}, {"FALSE", false}, {"-1", true}, {"0", false},
        {"0.0", false}, {"yes", {}},    {"", {}},         {"1abc", {}}};
    const auto word = [](std::optional<bool> b) { return QString(b ? *b ? "yes" : "no" : "-"); };
    for (const auto& [text, value] : yesNo)
        QCOMPARE(std::pair(text, word(VbConvert::toBool(text))), std::pair(text, word(value)));
    QCOMPARE(VbConvert::fromBool(true) + VbConvert::fromBool(false), QString("TrueFalse"));
    // Whole numbers are written with a blank where a minus sign would be.
    QCOMPARE(VbConvert::strOf(3) + VbConvert::strOf(0) + VbConvert::strOf(-1), QString(" 3 0-1"));
}

void TestPlatform::dayCounts()
{
    const double evening = OleDate::fromDateTime(QDate(2002, 4, 20), QTime(18, 30));
    QCOMPARE(OleDate::fromDateTime(QDate(2002, 4, 20)), 37366.0);
    QCOMPARE(OleDate::toDayCountText(37366) + OleDate::toDayCountText(37366.75) +
                 OleDate::toDayCountText(0),
             QString("3736637366.750"));
    QCOMPARE(OleDate::fromText("37366.75"), std::optional<double>(37366.75));
    // Before the epoch the fraction still counts forwards from midnight.
    QCOMPARE(OleDate::toDateTime(-1.25), QDateTime(QDate(1899, 12, 29), QTime(6, 0)));
    QCOMPARE(OleDate::fromDateTime(QDate(1899, 12, 29), QTime(6, 0)), -1.25);
    // A damaged file can hold any number: one beyond every date has no date.
    for (double bad : {1e300, -1e300, std::numeric_limits<double>::infinity(),
                       std::numeric_limits<double>::quiet_NaN()}) {
        QVERIFY(!OleDate::datePart(bad).isValid());
        QCOMPARE(OleDate::timePart(bad), QTime(0, 0));
    }

    // The general form, whatever the machine's locale; a midnight reached by rounding is
    // the next day.
    const auto restoreLocale = qScopeGuard([before = QLocale()] { QLocale::setDefault(before); });
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    const std::pair<double, const char*> general[] = {
        {evening, "4/20/2002 6:30:00 PM"},
        {OleDate::fromTime(QTime(0, 0, 5)), "12:00:05 AM"},
        {OleDate::fromTime(QTime(12, 0)), "12:00:00 PM"},
        {37366, "4/20/2002"},
        {37366.9999999, "4/21/2002"}};
    for (const auto& [value, text] : general)
        QCOMPARE(OleDate::toGeneralText(value), QString(text));
    QCOMPARE(OleDate::fromText("4/20/2002 6:30:00 PM"), std::optional<double>(evening));
}

void TestPlatform::readsForms_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QDateTime>("value"); // invalid: no value expected
    const QDate zero(1899, 12, 30);
    const std::tuple<const char*, QDate, QTime> rows[] = {
        {"4/20/2002 6:30:00 PM", QDate(2002, 4, 20), QTime(18, 30)},
        {"6:00 PM", zero, QTime(18, 0)},
        {"10:00 PM", zero, QTime(22, 0)},
        {"12:15 AM", zero, QTime(0, 15)},
        {"12:00 pm", zero, QTime(12, 0)},
        {"18:30", zero, QTime(18, 30)},
        {"12/31/1999", QDate(1999, 12, 31), QTime(0, 0)},
        {"6:00:00 PM", zero, QTime(18, 0)},
        {"37366.75", QDate(2002, 4, 20), QTime(18, 0)},
        {"soon", {}, {}},
        {"", {}, {}},
        {"13/1/2002", {}, {}},
        {"13:00 PM", {}, {}},
        {"6:75 PM", {}, {}},
        {"1e400", {}, {}}};
    for (const auto& [text, date, time] : rows)
        QTest::newRow(text) << QString(text) << QDateTime(date, time);
}

void TestPlatform::readsForms()
{
    QFETCH(QString, text);
    QFETCH(QDateTime, value);
    const auto read = OleDate::fromText(text);
    QCOMPARE(read.has_value(), value.isValid());
    if (read)
        QCOMPARE(QDateTime(OleDate::datePart(*read), OleDate::timePart(*read)), value);
}

void TestPlatform::pathMapping()
{
    TestRoot root;
    const QString base = QDir::cleanPath(root.path());
    QCOMPARE(PathMap::eventDatabase(), base + "/orba/zel/event.mdb");
    QCOMPARE(PathMap::mediaFolder(), base + "/orba/zel/data/");
    // Drive and folders compare without regard to case; file names stay as given.
    QCOMPARE(PathMap::map("C:\\ORBA\\Zel\\songlist.mdb"), base + "/orba/zel/songlist.mdb");
    QCOMPARE(PathMap::musicDatabase(), base + "/orba/database/vastm.mdb");
    // An existing folder or file in another letter case is found and used.
    QVERIFY(QDir().mkpath(base + "/Orba/Program"));
    QCOMPARE(PathMap::map("c:\\orba\\program\\"), base + "/Orba/Program/");
    QVERIFY(QFile(base + "/Orba/Program/VESSK.EXE").open(QIODevice::WriteOnly));
    QCOMPARE(PathMap::databaseModule(), base + "/Orba/Program/VESSK.EXE");
}

void TestPlatform::messageAndEndSeams()
{
    {
        TestRoot root;
        root.answer = QMessageBox::No;
        QCOMPARE(MessageBox::show("Text", "Title", QMessageBox::Yes | QMessageBox::No),
                 QMessageBox::No);
        QCOMPARE(root.messages.size(), 1);
        QCOMPARE(root.messages[0].text + root.messages[0].title, QString("TextTitle"));
        QVERIFY(!root.programEnded());
        ProgramEnd::end(3);
        ProgramEnd::end(4); // a second end does nothing
        QVERIFY(root.programEnded());
        QCOMPARE(root.exitCode, 3);
    }
    // Nothing leaks into the next test case.
    TestRoot fresh;
    QVERIFY(!fresh.programEnded());
    QVERIFY(fresh.messages.isEmpty());
}

namespace
{
// Old and new contents of different sizes, so that any mixture or part is seen.
const QByteArray kOld(1 << 20, 'o');
const QByteArray kNew(3 << 19, 'n');
int g_killAfter = -1;

QByteArray contentsOf(const QString& file)
{
    QFile f(file);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<unreadable>");
}
} // namespace

void TestPlatform::killedReplaceLeavesAWholeFile_data()
{
    // The step of the replacement after which the process is killed (-1: while the new
    // contents are written), and what the target then holds.
    QTest::addColumn<int>("killAfter");
    QTest::addColumn<QByteArray>("expected");
    QTest::newRow("while writing") << -1 << kOld;
    QTest::newRow("after the sync") << int(SafeReplace::Synced) << kOld;
    QTest::newRow("after the rename") << int(SafeReplace::Renamed) << kNew;
    QTest::newRow("after the folder's sync") << int(SafeReplace::FolderSynced) << kNew;
}

void TestPlatform::killedReplaceLeavesAWholeFile()
{
    QFETCH(int, killAfter);
    QFETCH(QByteArray, expected);
    QTemporaryDir dir;
    const QString target = dir.filePath("data.bin");
    {
        QFile f(target);
        QVERIFY(f.open(QIODevice::WriteOnly));
        QCOMPARE(f.write(kOld), kOld.size());
    }
    const pid_t child = ::fork();
    if (child == 0) {
        g_killAfter = killAfter;
        SafeReplace::afterStep = [](SafeReplace::Step step) {
            if (step == g_killAfter)
                ::kill(::getpid(), SIGKILL);
        };
        SafeReplace replace(target);
        QFile f(replace.temporaryName());
        f.open(QIODevice::WriteOnly);
        f.write(kNew.left(kNew.size() / 2));
        f.flush();
        if (killAfter < 0)
            ::kill(::getpid(), SIGKILL);
        f.write(kNew.mid(kNew.size() / 2));
        f.close();
        replace.commit();
        ::_exit(0);
    }
    int status = 0;
    QCOMPARE(::waitpid(child, &status, 0), child);
    QVERIFY(WIFSIGNALED(status));
    QCOMPARE(contentsOf(target), expected);
}

QTEST_MAIN(TestPlatform)
#include "test_platform.moc"
