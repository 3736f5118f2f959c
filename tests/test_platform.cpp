#include "TestSupport.h"

#include "platform/OleDate.h"
#include "platform/PathMap.h"
#include "platform/VbConvert.h"
#include "ui/ProgramEnd.h"

#include <QDir>
#include <QtTest>

#include <limits>

class TestPlatform : public QObject
{
    Q_OBJECT
  private slots:
    void leadingNumber_data();
    void leadingNumber();
    void int16Rounding();
    void yesNo();
    void strOf();
    void dayCountText();
    void generalText();
    void readsForms_data();
    void readsForms();
    void pathMapping();
    void messageAndEndSeams();
};

void TestPlatform::leadingNumber_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<double>("value");
    QTest::newRow("plain") << "42" << 42.0;
    QTest::newRow("trailing letters") << "1abc" << 1.0;
    QTest::newRow("leading blank") << " 3" << 3.0;
    QTest::newRow("tab and sign") << "\t-2.5x" << -2.5;
    QTest::newRow("plus sign") << "+7" << 7.0;
    QTest::newRow("decimals only") << ".5" << 0.5;
    QTest::newRow("exponent") << "2e3" << 2000.0;
    QTest::newRow("dangling exponent") << "2e" << 2.0;
    QTest::newRow("no number") << "abc" << 0.0;
    QTest::newRow("empty") << "" << 0.0;
    QTest::newRow("sign alone") << "-" << 0.0;
    QTest::newRow("point alone") << "." << 0.0;
    QTest::newRow("blank inside stops") << "1 2" << 1.0;
    QTest::newRow("huge") << "1e400" << std::numeric_limits<double>::max();
}

void TestPlatform::leadingNumber()
{
    QFETCH(QString, text);
    QFETCH(double, value);
    QCOMPARE(VbConvert::leadingNumber(text), value);
}

void TestPlatform::int16Rounding()
{
    using VbConvert::toInt16;
    QCOMPARE(toInt16(1.5), qint16(2));
    QCOMPARE(toInt16(2.5), qint16(2));
    QCOMPARE(toInt16(-1.5), qint16(-2));
    QCOMPARE(toInt16(-2.5), qint16(-2));
    QCOMPARE(toInt16(1.6), qint16(2));
    QCOMPARE(toInt16(0.49), qint16(0));
    QCOMPARE(toInt16(32767.4), qint16(32767));
    QCOMPARE(toInt16(32768), qint16(32767));
    QCOMPARE(toInt16(-32768.6), qint16(-32768));
    QCOMPARE(toInt16(1e300), qint16(32767));
    QCOMPARE(toInt16(-1e300), qint16(-32768));
    QCOMPARE(toInt16(std::nan("")), qint16(0));
    QCOMPARE(VbConvert::leadingInt16("1.6"), qint16(2));
    QCOMPARE(VbConvert::leadingInt16("99999"), qint16(32767));
}

void TestPlatform::yesNo()
{
    using VbConvert::toBool;
    QCOMPARE(toBool("True"), std::optional<bool>(true));
    QCOMPARE(toBool("tRUE"), std::optional<bool>(true));
    QCOMPARE(toBool("FALSE"), std::optional<bool>(false));
    QCOMPARE(toBool("-1"), std::optional<bool>(true));
    QCOMPARE(toBool("0"), std::optional<bool>(false));
    QCOMPARE(toBool("0.0"), std::optional<bool>(false));
    QCOMPARE(toBool("yes"), std::nullopt);
    QCOMPARE(toBool(""), std::nullopt);
    QCOMPARE(toBool("1abc"), std::nullopt);
    QCOMPARE(VbConvert::fromBool(true), QString("True"));
    QCOMPARE(VbConvert::fromBool(false), QString("False"));
}

void TestPlatform::strOf()
{
    QCOMPARE(VbConvert::strOf(3), QString(" 3"));
    QCOMPARE(VbConvert::strOf(0), QString(" 0"));
    QCOMPARE(VbConvert::strOf(-1), QString("-1"));
}

void TestPlatform::dayCountText()
{
    const double d = OleDate::fromDateTime(QDate(2002, 4, 20));
    QCOMPARE(d, 37366.0);
    QCOMPARE(OleDate::toDayCountText(d), QString("37366"));
    QCOMPARE(OleDate::toDayCountText(37366.75), QString("37366.75"));
    QCOMPARE(OleDate::toDayCountText(0), QString("0"));
    QCOMPARE(OleDate::fromText("37366"), std::optional<double>(37366.0));
    QCOMPARE(OleDate::fromText("37366.75"), std::optional<double>(37366.75));
    QCOMPARE(OleDate::datePart(37366.75), QDate(2002, 4, 20));
    QCOMPARE(OleDate::timePart(37366.75), QTime(18, 0));
    // Before the epoch the fraction still counts forwards from midnight.
    QCOMPARE(OleDate::toDateTime(-1.25), QDateTime(QDate(1899, 12, 29), QTime(6, 0)));
    QCOMPARE(OleDate::fromDateTime(QDate(1899, 12, 29), QTime(6, 0)), -1.25);
    // A damaged file can hold any number: one beyond every date has no date.
    for (double bad : {1e300, -1e300, std::numeric_limits<double>::infinity(),
                       std::numeric_limits<double>::quiet_NaN()}) {
        QVERIFY(!OleDate::datePart(bad).isValid());
        QCOMPARE(OleDate::timePart(bad), QTime(0, 0));
    }
}

void TestPlatform::generalText()
{
    const double evening = OleDate::fromDateTime(QDate(2002, 4, 20), QTime(18, 30));
    QCOMPARE(OleDate::toGeneralText(evening), QString("4/20/2002 6:30:00 PM"));
    QCOMPARE(OleDate::toGeneralText(OleDate::fromTime(QTime(18, 0))), QString("6:00:00 PM"));
    QCOMPARE(OleDate::toGeneralText(OleDate::fromTime(QTime(0, 0, 5))), QString("12:00:05 AM"));
    QCOMPARE(OleDate::toGeneralText(OleDate::fromTime(QTime(12, 0))), QString("12:00:00 PM"));
    QCOMPARE(OleDate::toGeneralText(37366), QString("4/20/2002"));
    // The next day's midnight reached by rounding stays exact.
    QCOMPARE(OleDate::toGeneralText(37366.9999999), QString("4/21/2002"));
    // Independent of the machine's locale.
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    QCOMPARE(OleDate::toGeneralText(evening), QString("4/20/2002 6:30:00 PM"));
    QCOMPARE(OleDate::fromText("4/20/2002 6:30:00 PM"), std::optional<double>(evening));
    QLocale::setDefault(QLocale::c());
}

void TestPlatform::readsForms_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QDate>("date"); // invalid: no value expected
    QTest::addColumn<QTime>("time");
    const QDate zero(1899, 12, 30);
    QTest::newRow("general") << "4/20/2002 6:30:00 PM" << QDate(2002, 4, 20) << QTime(18, 30);
    QTest::newRow("short pm") << "6:00 PM" << zero << QTime(18, 0);
    QTest::newRow("short ten pm") << "10:00 PM" << zero << QTime(22, 0);
    QTest::newRow("midnight am") << "12:15 AM" << zero << QTime(0, 15);
    QTest::newRow("noon") << "12:00 pm" << zero << QTime(12, 0);
    QTest::newRow("24 hour") << "18:30" << zero << QTime(18, 30);
    QTest::newRow("date alone") << "12/31/1999" << QDate(1999, 12, 31) << QTime(0, 0);
    QTest::newRow("time alone with seconds") << "6:00:00 PM" << zero << QTime(18, 0);
    QTest::newRow("garbage") << "soon" << QDate() << QTime();
    QTest::newRow("empty") << "" << QDate() << QTime();
    QTest::newRow("bad month") << "13/1/2002" << QDate() << QTime();
    QTest::newRow("bad hour") << "13:00 PM" << QDate() << QTime();
    QTest::newRow("bad minute") << "6:75 PM" << QDate() << QTime();
    QTest::newRow("huge count") << "1e400" << QDate() << QTime();
}

void TestPlatform::readsForms()
{
    QFETCH(QString, text);
    QFETCH(QDate, date);
    QFETCH(QTime, time);
    const auto value = OleDate::fromText(text);
    if (!date.isValid()) {
        QVERIFY(!value.has_value());
        return;
    }
    QVERIFY(value.has_value());
    QCOMPARE(OleDate::datePart(*value), date);
    QCOMPARE(OleDate::timePart(*value), time);
}

void TestPlatform::pathMapping()
{
    TestRoot root;
    const QString base = QDir::cleanPath(root.path());
    QCOMPARE(PathMap::root(), base);
    QCOMPARE(PathMap::eventDatabase(), base + "/orba/zel/event.mdb");
    QCOMPARE(PathMap::dbFolder(), base + "/orba/zel/");
    QCOMPARE(PathMap::mediaFolder(), base + "/orba/zel/data/");
    // Drive and folders compare without regard to case; file names stay as given.
    QCOMPARE(PathMap::map("C:\\ORBA\\Zel\\songlist.mdb"), base + "/orba/zel/songlist.mdb");
    QCOMPARE(PathMap::musicDatabase(), base + "/orba/database/vastm.mdb");
    // An existing folder in another letter case is found and used.
    QVERIFY(QDir().mkpath(base + "/Orba/Program"));
    QCOMPARE(PathMap::databaseModule(), base + "/Orba/Program/vessk.exe");
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
        QCOMPARE(root.messages[0].text, QString("Text"));
        QCOMPARE(root.messages[0].title, QString("Title"));
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

QTEST_MAIN(TestPlatform)
#include "test_platform.moc"
