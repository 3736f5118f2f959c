// The settings library through its C interface, against a file hive in a temporary root.

#include "TestSupport.h"
#include "hivelet.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QProcess>
#include <QTest>

#include <dlfcn.h>
#include <memory>

namespace
{

// One control, destroyed at the end of the scope.
struct Control {
    std::unique_ptr<void, void (*)(void*)> control{hivelet_create("Hivelet"), hivelet_destroy};
    // Get, with "<null>" standing for a NULL result.
    QByteArray get(const char* mainKey, const char* subKey, const char* name,
                   const char* defaultValue) const
    {
        char* result = hivelet_get(control.get(), mainKey, subKey, name, defaultValue);
        const QByteArray text = result ? QByteArray(result) : QByteArray("<null>");
        hivelet_free(result);
        return text;
    }
    bool save(const char* mainKey, const char* subKey, const char* name, const char* setting) const
    {
        return hivelet_save(control.get(), mainKey, subKey, name, setting) == 1;
    }
};

const auto tarn = [] { return qEnvironmentVariable("HIVELET_HIVE") + "/SOFTWARE/TARN"; };

// The names in a folder, hidden ones included, the lock file left out.
QStringList entries(const QString& folder)
{
    QStringList names = QDir(folder).entryList(
        QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDir::Name);
    names.removeAll(QStringLiteral(".lock"));
    return names;
}

const auto fileText = [](const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
};

// "<null>" stands for a NULL argument.
const auto arg = [](const QByteArray& t) { return t == "<null>" ? nullptr : t.constData(); };

} // namespace

class TestHivelet : public QObject
{
    Q_OBJECT

  private slots:
    void saveAndGet_data();
    void saveAndGet();
    void namesStayApartAndInsideTheHive();
    void concurrentWritersNeverTear();
    void loadsByNameAndCreatesOnlyItsClass();
};

void TestHivelet::saveAndGet_data()
{
    // Each row: what the hive holds first, a Save (unless the setting is "<none>") and its
    // result, then what a Get with the default "d" returns.
    QTest::addColumn<QString>("before");
    QTest::addColumn<QByteArray>("mainKey");
    QTest::addColumn<QByteArray>("subKey");
    QTest::addColumn<QByteArray>("setting");
    QTest::addColumn<bool>("saved");
    QTest::addColumn<QByteArray>("got");

    const QByteArray x30(30, 'x'), y31(31, 'y');
    const QByteArray e30 = QString(30, QChar(0xE9)).toUtf8(),
                     e31 = QString(31, QChar(0xE9)).toUtf8();
    const QByteArray m42(42, 'M'), s42(42, 'S'), e42 = QString(42, QChar(0xE9)).toUtf8();
    const std::tuple<const char*, const char*, QByteArray, QByteArray, QByteArray, bool, QByteArray>
        rows[] = {
            {"30 characters", "", "ZEL", "Data", x30, true, x30},
            {"31 characters read as the default", "", "ZEL", "Data", y31, true, "d"},
            {"30 two-byte characters", "", "ZEL", "Data", e30, true, e30},
            {"31 two-byte characters", "", "ZEL", "Data", e31, true, "d"},
            {"empty setting", "", "ZEL", "Data", "", true, ""},
            {"null setting", "", "ZEL", "Data", "<null>", true, ""},
            {"empty over a longer value", "stored", "ZEL", "Data", "", true, ""},
            {"letters beyond ASCII", "", "\xC3\x89t\xC3\xA9", "Data", "summer", true, "summer"},
            {"null main key", "", "<null>", "Data", "1", false, ""},
            {"key path of 99", "", m42, s42, "ok", true, "ok"},
            {"key path of 99 two-byte", "", e42, s42, "ok", true, "ok"},
            {"key path of 100", "", m42 + "N", s42, "no", false, "d"},
            {"backslash opens a deeper key", "", "ZEL\\Sub", "Data", "deep", true, "deep"},
            {"empty main key", "", "", "Data", "no", false, "d"},
            {"empty sub-key", "", "ZEL", "", "no", false, "d"},
            {"null sub-key", "", "ZEL", "<null>", "no", false, "d"},
            {"trailing backslash", "", "ZEL\\", "Data", "no", false, "d"},
            {"leading backslash", "", "\\ZEL", "Data", "no", false, "d"},
            {"double backslash", "", "ZEL\\\\X", "Data", "no", false, "d"},
            {"hive is a file", "hive file", "ZEL", "Data", "1", false, "d"},
            {"key is a file", "key file", "ZEL", "Data", "1", false, "d"},
            {"key is a link", "key link", "ZEL", "Data", "1", false, "d"},
            {"value is a folder", "value folder", "ZEL", "Data", "1", false, "d"},
            {"value not UTF-8", "value bad", "ZEL", "Data", "<none>", false, "d"},
            {"value holds NUL", "value nul", "ZEL", "Data", "<none>", false, "d"},
            {"setting not UTF-8 keeps the value", "stored", "ZEL", "Data", "\xC3(", false,
             "longer text"},
            {"linked value replaced by its own", "value link", "ZEL", "Data", "mine", true, "mine"},
        };
    for (const auto& [tag, before, main, sub, setting, saved, got] : rows)
        QTest::newRow(tag) << QString(before) << main << sub << setting << saved << got;
}

void TestHivelet::saveAndGet()
{
    QFETCH(QString, before);
    QFETCH(QByteArray, mainKey);
    QFETCH(QByteArray, subKey);
    QFETCH(QByteArray, setting);
    QFETCH(bool, saved);
    QFETCH(QByteArray, got);
    TestRoot root(TestRoot::EmptyHive);
    Control control;
    const QString outside = root.path() + "/outside", value = tarn() + "/ZEL/Data/V.value";
    QVERIFY(writeFile(outside + "/secret.value", "secret"));
    if (before == "hive file")
        QVERIFY(writeFile(qEnvironmentVariable("HIVELET_HIVE"), "not a folder"));
    else if (before == "key file")
        QVERIFY(writeFile(tarn() + "/ZEL", "file"));
    else if (before == "key link") {
        QVERIFY(QDir().mkpath(tarn()));
        QVERIFY(QFile::link(outside, tarn() + "/ZEL"));
    } else if (before == "value folder")
        QVERIFY(QDir().mkpath(value));
    else if (before == "value link") {
        QVERIFY(QDir().mkpath(tarn() + "/ZEL/Data"));
        QVERIFY(QFile::link(outside + "/secret.value", value));
    } else if (before == "stored")
        QVERIFY(control.save("ZEL", "Data", "V", "longer text"));
    else if (before.startsWith("value "))
        QVERIFY(writeFile(value, before == "value nul" ? QByteArray("a\0b", 3) : "\xFF\xFE"));

    if (setting != "<none>")
        QCOMPARE(control.save(arg(mainKey), arg(subKey), "V", arg(setting)), saved);
    QCOMPARE(control.get(arg(mainKey), arg(subKey), "V", "d"), got);
    if (saved && got.size() == setting.size()) // the value's file holds exactly the setting
        QCOMPARE(fileText(tarn() + "/" + QString(mainKey).replace('\\', '/') + "/" + subKey +
                          "/V.value"),
                 got);

    // Whatever happened: nothing outside the hive changed, no temporary file stayed, and a
    // refused key was not created.
    QStringList names = entries(root.path());
    names.removeAll("hive");
    QCOMPARE(names, QStringList({"outside"}));
    QCOMPARE(entries(outside) + QStringList(fileText(outside + "/secret.value")),
             QStringList({"secret.value", "secret"}));
    for (QDirIterator it(root.path() + "/hive",
                         QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot,
                         QDirIterator::Subdirectories);
         it.hasNext();)
        QVERIFY2(!it.next().contains("/.tmp"), qPrintable(it.filePath()));
    if (!saved && before.isEmpty())
        QVERIFY(!QFileInfo::exists(mainKey == "<null>" ? root.path() + "/hive"
                                                       : tarn() + "/" + mainKey));
}

void TestHivelet::namesStayApartAndInsideTheHive()
{
    TestRoot root(TestRoot::EmptyHive);
    Control control;
    // A fresh machine: the default, and the empty key is left behind.
    QCOMPARE(control.get("ZEL", "Data", "Ready", "0"), QByteArray("0"));
    QVERIFY(QFileInfo(tarn() + "/ZEL/Data").isDir());
    QCOMPARE(entries(tarn() + "/ZEL/Data"), QStringList());
    QVERIFY(control.save("ZEL", "Data", "Ready", "1"));
    QCOMPARE(control.get("ZEL", "Data", "Ready", "anything") + "|" +
                 control.get("ZEL", "Data", "Other", nullptr),
             QByteArray("1|"));
    // Names are one key and one value whatever their letter case, keeping their first
    // spelling; the value's file holds exactly the setting.
    QVERIFY(control.save("zel", "data", "READY", "2"));
    QCOMPARE(control.get("Zel", "DATA", "rEADY", "0"), QByteArray("2"));
    QCOMPARE(entries(tarn()) + entries(tarn() + "/ZEL") + entries(tarn() + "/ZEL/Data"),
             QStringList({"ZEL", "Data", "Ready.value"}));
    QCOMPARE(fileText(tarn() + "/ZEL/Data/Ready.value"), QByteArray("2"));
    // Names that look like paths, folder links, the library's own files or each other's
    // files: each is a key or value of its own, all inside the maker's key.
    const char* names[][3] = {{"..", "..", "../../../escaped"},
                              {"ZEL", "a/../../b", "/tmp/x"},
                              {".", "Data", "."},
                              {"%2F", ".lock", ".tmp-1-0"},
                              {"ZEL", "Keys.value", "Keys"},
                              {"ZEL", "Data", "Keys.value"},
                              {"ZEL", "Keys", "value"}};
    for (const auto& name : names)
        QVERIFY2(control.save(name[0], name[1], name[2], name[2]), name[2]);
    for (const auto& name : names)
        QCOMPARE(control.get(name[0], name[1], name[2], "d"), QByteArray(name[2]));
    QCOMPARE(entries(root.path()), QStringList({"hive"}));
    QCOMPARE(entries(qEnvironmentVariable("HIVELET_HIVE")), QStringList({"SOFTWARE"}));
}

void TestHivelet::concurrentWritersNeverTear()
{
    TestRoot root(TestRoot::EmptyHive);
    Control control;
    // Three writers of one key, each naming it in its own letter case; each round saves a
    // 30-character value and a 64 KiB value of its letter. Meanwhile this process reads.
    QVERIFY(control.save("Conc", "Test", "Short", QByteArray(30, 'A')));
    QProcess writers[3];
    for (int i = 0; i < 3; ++i) {
        writers[i].start(HIVELET_WRITER,
                         QString("Conc Test A|CONC test B|conc TEST C").split('|')[i].split(' ')
                             << "100");
        QVERIFY(writers[i].waitForStarted());
    }
    const auto isWhole = [](const QByteArray& text, qsizetype size) {
        return text.size() == size && QByteArray("ABC").contains(text.front()) &&
               text.count(text.front()) == size;
    };
    const QString key = tarn() + "/Conc/Test";
    while (std::any_of(std::begin(writers), std::end(writers), [](QProcess& p) {
        p.waitForFinished(0);
        return p.state() != QProcess::NotRunning;
    })) {
        const QByteArray shortValue = control.get("conc", "test", "Short", "none");
        QVERIFY2(isWhole(shortValue, 30), shortValue.constData());
        if (QFileInfo::exists(key + "/Long.value"))
            QVERIFY(isWhole(fileText(key + "/Long.value"), 65536));
    }
    for (const QProcess& p : writers)
        QCOMPARE(std::pair(p.exitStatus(), p.exitCode()), std::pair(QProcess::NormalExit, 0));
    // Afterwards: one key, the two values whole, no temporary file left.
    QCOMPARE(entries(tarn()) + entries(tarn() + "/Conc"), QStringList({"Conc", "Test"}));
    QCOMPARE(entries(key), QStringList({"Long.value", "Short.value"}));
    QVERIFY(isWhole(fileText(key + "/Long.value"), 65536));
}

void TestHivelet::loadsByNameAndCreatesOnlyItsClass()
{
    TestRoot root(TestRoot::EmptyHive);
    // A host that loads the library at run time finds every function by its plain name.
    void* library = dlopen(HIVELET_LIBRARY, RTLD_NOW | RTLD_LOCAL);
    QVERIFY2(library, dlerror());
    const auto fn = [library]<class F>(const char* name, F*) {
        return reinterpret_cast<F*>(dlsym(library, name));
    };
    for (const char* name : {"hivelet_version", "hivelet_description", "hivelet_create",
                             "hivelet_destroy", "hivelet_save", "hivelet_get", "hivelet_free"})
        QVERIFY2(dlsym(library, name), name);
    const auto create = fn("hivelet_create", hivelet_create);
    const auto destroy = fn("hivelet_destroy", hivelet_destroy);
    const auto save = fn("hivelet_save", hivelet_save);
    const auto get = fn("hivelet_get", hivelet_get);
    // Its one class, by name in any letter case, and nothing else.
    for (const char* name : {"", "Hivelets", "Hive", "HIVELET.HiveletCtrl.1"})
        QVERIFY2(!create(name), name);
    QVERIFY(!create(nullptr));
    destroy(nullptr);
    for (const char* name : {"HIVELET", "hiveLET", "Hivelet"}) {
        void* control = create(name);
        QVERIFY2(control, name);
        QCOMPARE(save(control, "ZEL", "Data", "Ready", name), 1);
        char* ready = get(control, "ZEL", "Data", "Ready", "0");
        QCOMPARE(QByteArray(ready), QByteArray(name));
        fn("hivelet_free", hivelet_free)(ready);
        destroy(control);
    }
    // Without a control nothing is read or written.
    QCOMPARE(save(nullptr, "ZEL", "Data", "Ready", "2"), 0);
    QVERIFY(!get(nullptr, "ZEL", "Data", "Ready", "0"));
    QCOMPARE(QByteArray(hivelet_version()), QByteArray("1.0.0.2"));
    QVERIFY(QByteArray(hivelet_description()).contains("Hivelet"));
    dlclose(library);
}

QTEST_GUILESS_MAIN(TestHivelet)
#include "test_hivelet.moc"
