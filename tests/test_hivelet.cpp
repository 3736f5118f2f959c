// The settings library through its C interface, against a file hive in a temporary root.

#include "TestSupport.h"
#include "hivelet.h"

#include <QDir>
#include <QFile>
#include <QSet>
#include <QTest>

#include <dlfcn.h>
#include <spawn.h>
#include <sys/wait.h>

extern char** environ;

namespace
{

// One control, destroyed at the end of the scope.
class Control
{
  public:
    Control() : m_control(hivelet_create("Hivelet")) {}
    ~Control() { hivelet_destroy(m_control); }
    Control(const Control&) = delete;
    Control& operator=(const Control&) = delete;

    // Get, with "<null>" standing for a NULL result.
    QByteArray get(const char* mainKey, const char* subKey, const char* name,
                   const char* defaultValue) const
    {
        char* result = hivelet_get(m_control, mainKey, subKey, name, defaultValue);
        const QByteArray text = result ? QByteArray(result) : QByteArray("<null>");
        hivelet_free(result);
        return text;
    }
    bool save(const char* mainKey, const char* subKey, const char* name, const char* setting) const
    {
        return hivelet_save(m_control, mainKey, subKey, name, setting) == 1;
    }

  private:
    void* m_control;
};

QString hive()
{
    return QString::fromUtf8(qgetenv("HIVELET_HIVE"));
}
QString tarn()
{
    return hive() + QStringLiteral("/SOFTWARE/TARN");
}

// The names in a folder, hidden ones included, the lock file left out.
QStringList entries(const QString& folder)
{
    QStringList names = QDir(folder).entryList(
        QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDir::Name);
    names.removeAll(QStringLiteral(".lock"));
    return names;
}

QByteArray fileText(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

bool writeFile(const QString& path, const QByteArray& text)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(text) == text.size();
}

} // namespace

class TestHivelet : public QObject
{
    Q_OBJECT

  private slots:
    void createsOnlyItsClass();
    void firstRunFlag();
    void nullMainKey();
    void thirtyCharacterLimit();
    void emptySetting();
    void keyPathLimit();
    void namesIgnoreLetterCase();
    void hiveCannotBeOpened();
    void unreadableAndUnwritableValues();
    void namesNeverLeaveTheHive();
    void concurrentWritersNeverTear();
    void loadsByName();
};

void TestHivelet::createsOnlyItsClass()
{
    for (const char* name : {"Hivelet", "HIVELET", "hiveLET"}) {
        void* control = hivelet_create(name);
        QVERIFY2(control, name);
        hivelet_destroy(control);
    }
    for (const char* name : {"", "Hivelets", "Hive", "HIVELET.HiveletCtrl.1"})
        QVERIFY2(!hivelet_create(name), name);
    QVERIFY(!hivelet_create(nullptr));
    hivelet_destroy(nullptr);
    QVERIFY(!hivelet_get(nullptr, "ZEL", "Data", "Ready", "0"));
    QCOMPARE(hivelet_save(nullptr, "ZEL", "Data", "Ready", "1"), 0);
    QCOMPARE(QByteArray(hivelet_version()), QByteArray("1.0.0.2"));
    QVERIFY(QByteArray(hivelet_description()).contains("Hivelet"));
}

void TestHivelet::firstRunFlag()
{
    TestRoot root(TestRoot::EmptyHive);
    Control control;
    // A fresh machine: the default, and the empty key is left behind.
    QCOMPARE(control.get("ZEL", "Data", "Ready", "0"), QByteArray("0"));
    QVERIFY(QFileInfo(tarn() + "/ZEL/Data").isDir());
    QCOMPARE(entries(tarn() + "/ZEL/Data"), QStringList());

    QVERIFY(control.save("ZEL", "Data", "Ready", "1"));
    QCOMPARE(control.get("ZEL", "Data", "Ready", "0"), QByteArray("1"));
    QCOMPARE(control.get("ZEL", "Data", "Ready", "anything"), QByteArray("1"));
    // The hive is readable text: the value's file holds exactly the setting.
    QCOMPARE(fileText(tarn() + "/ZEL/Data/Ready.value"), QByteArray("1"));
    // Another value of the same key is still missing; a NULL default reads as empty.
    QCOMPARE(control.get("ZEL", "Data", "Other", "dflt"), QByteArray("dflt"));
    QCOMPARE(control.get("ZEL", "Data", "Other", nullptr), QByteArray(""));
}

void TestHivelet::nullMainKey()
{
    TestRoot root(TestRoot::EmptyHive);
    Control control;
    QVERIFY(!control.save(nullptr, "Data", "Ready", "1"));
    QCOMPARE(control.get(nullptr, "Data", "Ready", "0"), QByteArray(""));
    QVERIFY(!QFileInfo::exists(hive()));
}

void TestHivelet::thirtyCharacterLimit()
{
    TestRoot root(TestRoot::EmptyHive);
    Control control;
    const QByteArray thirty(30, 'x');
    const QByteArray thirtyOne(31, 'y');
    QVERIFY(control.save("ZEL", "Data", "Thirty", thirty.constData()));
    QVERIFY(control.save("ZEL", "Data", "ThirtyOne", thirtyOne.constData()));
    QCOMPARE(control.get("ZEL", "Data", "Thirty", "d"), thirty);
    QCOMPARE(control.get("ZEL", "Data", "ThirtyOne", "d"), QByteArray("d"));
    // The long value is written all the same.
    QCOMPARE(fileText(tarn() + "/ZEL/Data/ThirtyOne.value"), thirtyOne);

    // The limit counts characters, not bytes.
    const QByteArray wide = QString(30, QChar(0xE9)).toUtf8();
    const QByteArray tooWide = QString(31, QChar(0xE9)).toUtf8();
    QVERIFY(control.save("ZEL", "Data", "Wide", wide.constData()));
    QVERIFY(control.save("ZEL", "Data", "TooWide", tooWide.constData()));
    QCOMPARE(control.get("ZEL", "Data", "Wide", "d"), wide);
    QCOMPARE(control.get("ZEL", "Data", "TooWide", "d"), QByteArray("d"));
}

void TestHivelet::emptySetting()
{
    TestRoot root(TestRoot::EmptyHive);
    Control control;
    QVERIFY(control.save("ZEL", "Data", "Empty", ""));
    QCOMPARE(control.get("ZEL", "Data", "Empty", "d"), QByteArray(""));
    QVERIFY(control.save("ZEL", "Data", "Null", nullptr));
    QCOMPARE(control.get("ZEL", "Data", "Null", "d"), QByteArray(""));
    // Overwriting a longer value with an empty one leaves nothing of the old text.
    QVERIFY(control.save("ZEL", "Data", "Shrink", "longer text"));
    QVERIFY(control.save("ZEL", "Data", "Shrink", ""));
    QCOMPARE(fileText(tarn() + "/ZEL/Data/Shrink.value"), QByteArray(""));
}

void TestHivelet::keyPathLimit()
{
    TestRoot root(TestRoot::EmptyHive);
    Control control;
    // "SOFTWARE\TARN\" + 42 + "\" + 42 characters is 99.
    const QByteArray main42(42, 'M');
    const QByteArray sub42(42, 'S');
    QVERIFY(control.save(main42, sub42, "V", "ok"));
    QCOMPARE(control.get(main42, sub42, "V", "d"), QByteArray("ok"));
    // Characters, not bytes: 42 two-byte characters are still 42.
    const QByteArray wideMain = QString(42, QChar(0xE9)).toUtf8();
    QVERIFY(control.save(wideMain, sub42, "V", "wide"));
    QCOMPARE(control.get(wideMain, sub42, "V", "d"), QByteArray("wide"));

    // 100 characters: refused, nothing created.
    const QByteArray main43(43, 'N');
    QVERIFY(!control.save(main43, sub42, "V", "no"));
    QCOMPARE(control.get(main43, sub42, "V", "d"), QByteArray("d"));
    QVERIFY(!QFileInfo::exists(tarn() + u'/' + QString::fromUtf8(main43)));

    // A backslash in a key name opens a deeper key, as in the registry; an empty part would
    // reach another key than the one named and is refused.
    QVERIFY(control.save("ZEL\\Sub", "Data", "V", "deep"));
    QCOMPARE(fileText(tarn() + "/ZEL/Sub/Data/V.value"), QByteArray("deep"));
    const char* emptyParts[][2] = {{"", "Data"},      {"ZEL", ""},          {"ZEL\\", "Data"},
                                   {"\\ZEL", "Data"}, {"ZEL\\\\X", "Data"}, {"ZEL", nullptr}};
    for (const auto& path : emptyParts) {
        QVERIFY2(!control.save(path[0], path[1], "V", "no"), path[0]);
        QCOMPARE(control.get(path[0], path[1], "V", "d"), QByteArray("d"));
    }
    QCOMPARE(entries(tarn() + "/ZEL"), QStringList({"Sub"}));
}

void TestHivelet::namesIgnoreLetterCase()
{
    TestRoot root(TestRoot::EmptyHive);
    Control control;
    QVERIFY(control.save("ZEL", "Data", "Ready", "1"));
    QCOMPARE(control.get("zel", "DATA", "rEADY", "0"), QByteArray("1"));
    QVERIFY(control.save("zel", "data", "READY", "2"));
    QCOMPARE(control.get("Zel", "Data", "Ready", "0"), QByteArray("2"));
    // One key and one value, keeping the names they were created with.
    QCOMPARE(entries(tarn()), QStringList({"ZEL"}));
    QCOMPARE(entries(tarn() + "/ZEL"), QStringList({"Data"}));
    QCOMPARE(entries(tarn() + "/ZEL/Data"), QStringList({"Ready.value"}));
    QCOMPARE(fileText(tarn() + "/ZEL/Data/Ready.value"), QByteArray("2"));
    // Letters beyond ASCII are kept as they are.
    QVERIFY(control.save("ZEL", "Data", "\xC3\x89t\xC3\xA9", "summer"));
    QCOMPARE(control.get("ZEL", "Data", "\xC3\x89t\xC3\xA9", "d"), QByteArray("summer"));
}

void TestHivelet::hiveCannotBeOpened()
{
    TestRoot root(TestRoot::EmptyHive);
    Control control;
    // The hive's top is a plain file: no key can be opened or created.
    QVERIFY(writeFile(hive(), "not a folder"));
    QVERIFY(!control.save("ZEL", "Data", "Ready", "1"));
    QCOMPARE(control.get("ZEL", "Data", "Ready", "0"), QByteArray("0"));

    // A key whose name is taken by a plain file cannot be opened either.
    qputenv("HIVELET_HIVE", (root.path() + "/hive2").toUtf8());
    QVERIFY(QDir().mkpath(tarn()));
    QVERIFY(writeFile(tarn() + "/ZEL", "file"));
    QVERIFY(!control.save("ZEL", "Data", "Ready", "1"));
    QCOMPARE(control.get("zel", "Data", "Ready", "0"), QByteArray("0"));
    QCOMPARE(fileText(tarn() + "/ZEL"), QByteArray("file"));
}

void TestHivelet::unreadableAndUnwritableValues()
{
    TestRoot root(TestRoot::EmptyHive);
    Control control;
    QVERIFY(control.save("ZEL", "Data", "Ready", "1"));
    const QString data = tarn() + "/ZEL/Data";
    // Text that is not UTF-8, or holds a NUL, was not written by the library: the default.
    QVERIFY(writeFile(data + "/Bad.value", "\xFF\xFE"));
    QCOMPARE(control.get("ZEL", "Data", "Bad", "d"), QByteArray("d"));
    QVERIFY(writeFile(data + "/Nul.value", QByteArray("a\0b", 3)));
    QCOMPARE(control.get("ZEL", "Data", "Nul", "d"), QByteArray("d"));
    // A setting that is not UTF-8 is refused and leaves the stored value alone.
    QVERIFY(!control.save("ZEL", "Data", "Ready", "\xC3("));
    QCOMPARE(control.get("ZEL", "Data", "Ready", "d"), QByteArray("1"));
    // A folder in the place of the value: it cannot be read nor replaced.
    QVERIFY(QDir().mkpath(data + "/Blocked.value"));
    QCOMPARE(control.get("ZEL", "Data", "Blocked", "d"), QByteArray("d"));
    QVERIFY(!control.save("ZEL", "Data", "Blocked", "x"));
    // No temporary file is left behind by the failed write.
    QCOMPARE(entries(data),
             QStringList({"Bad.value", "Blocked.value", "Nul.value", "Ready.value"}));
}

void TestHivelet::namesNeverLeaveTheHive()
{
    TestRoot root(TestRoot::EmptyHive);
    Control control;
    const QString outside = root.path() + "/outside";
    QVERIFY(QDir().mkpath(outside));
    QVERIFY(writeFile(outside + "/secret.value", "secret"));

    const char* names[][3] = {{"..", "..", "../../../escaped"},
                              {"ZEL", "a/../../b", "/tmp/x"},
                              {".", "Data", "."},
                              {"%2F", ".lock", ".tmp-1-0"},
                              {"ZEL", "Keys.value", "Keys"}};
    for (const auto& name : names) {
        QVERIFY2(control.save(name[0], name[1], name[2], name[2]), name[2]);
        QCOMPARE(control.get(name[0], name[1], name[2], "d"), QByteArray(name[2]));
    }
    // Everything stays inside the maker's key; each name is its own key or value.
    QCOMPARE(entries(root.path()), QStringList({"hive", "outside"}));
    QCOMPARE(entries(hive()), QStringList({"SOFTWARE"}));
    QCOMPARE(entries(tarn()), QStringList({"%252F", "%2E", "%2E.", "ZEL"}));
    QCOMPARE(entries(tarn() + "/ZEL"), QStringList({"Keys%2Evalue", "a%2F..%2F..%2Fb"}));
    QCOMPARE(entries(tarn() + "/%2E./%2E."), QStringList({"%2E.%2F..%2F..%2Fescaped.value"}));
    QCOMPARE(entries(outside), QStringList({"secret.value"}));

    // Links planted in the hive are not followed: a linked key cannot be opened, and a linked
    // value reads as missing and is replaced by a file of its own.
    QVERIFY(QFile::link(outside, tarn() + "/Linked"));
    QVERIFY(!control.save("Linked", "Data", "V", "x"));
    QCOMPARE(control.get("linked", "Data", "V", "d"), QByteArray("d"));
    const QString data = tarn() + "/ZEL/Data";
    QVERIFY(QDir().mkpath(data));
    QVERIFY(QFile::link(outside + "/secret.value", data + "/Secret.value"));
    QCOMPARE(control.get("ZEL", "Data", "Secret", "d"), QByteArray("d"));
    QVERIFY(control.save("ZEL", "Data", "Secret", "mine"));
    QCOMPARE(control.get("ZEL", "Data", "Secret", "d"), QByteArray("mine"));
    QCOMPARE(fileText(outside + "/secret.value"), QByteArray("secret"));
    QCOMPARE(entries(outside), QStringList({"secret.value"}));
}

void TestHivelet::concurrentWritersNeverTear()
{
    TestRoot root(TestRoot::EmptyHive);
    Control control;
    // Three writers of one key, each naming it in its own letter case; each round saves a
    // short value and a 64 KiB value of its letter. Meanwhile this process keeps reading.
    const char* writers[][3] = {
        {"Conc", "Test", "A"}, {"CONC", "test", "B"}, {"conc", "TEST", "C"}};
    const QByteArray rounds = "100";
    QList<pid_t> running;
    for (const auto& writer : writers) {
        const QByteArray program = HIVELET_WRITER;
        char* argv[] = {const_cast<char*>(program.constData()), const_cast<char*>(writer[0]),
                        const_cast<char*>(writer[1]),           const_cast<char*>(writer[2]),
                        const_cast<char*>(rounds.constData()),  nullptr};
        pid_t pid = 0;
        QCOMPARE(posix_spawn(&pid, argv[0], nullptr, nullptr, argv, environ), 0);
        running << pid;
    }

    const auto isWholeValue = [](const QByteArray& text, qsizetype size) {
        return text.size() == size && QByteArray("ABC").contains(text.front()) &&
               text.count(text.front()) == size;
    };
    int reads = 0;
    int changes = 0;
    QByteArray last;
    QList<int> exitCodes;
    while (!running.isEmpty()) {
        for (qsizetype i = running.size() - 1; i >= 0; --i) {
            int status = 0;
            if (waitpid(running[i], &status, WNOHANG) == running[i]) {
                exitCodes << (WIFEXITED(status) ? WEXITSTATUS(status) : -1);
                running.removeAt(i);
            }
        }
        const QByteArray shortValue = control.get("conc", "test", "Short", "none");
        QVERIFY2(shortValue == "none" || isWholeValue(shortValue, 30), shortValue.constData());
        const QStringList keys = entries(tarn());
        if (!keys.isEmpty()) {
            QCOMPARE(keys.size(), 1);
            const QStringList subKeys = entries(tarn() + u'/' + keys.front());
            QVERIFY(subKeys.size() <= 1);
            const QString longPath =
                tarn() + u'/' + keys.front() + u'/' + subKeys.value(0) + "/Long.value";
            if (!subKeys.isEmpty() && QFileInfo::exists(longPath)) {
                const QByteArray longValue = fileText(longPath);
                QVERIFY2(isWholeValue(longValue, 65536), longValue.left(40).constData());
                changes += last.isEmpty() || longValue.front() != last.front();
                last = longValue;
            }
        }
        ++reads;
    }
    QCOMPARE(exitCodes, QList<int>({0, 0, 0}));
    qInfo("%d reads while writing, the long value seen changing writer %d times", reads, changes);

    // Afterwards: one key folder, the two values whole, no temporary file left.
    const QStringList keys = entries(tarn());
    QCOMPARE(keys.size(), 1);
    const QStringList subKeys = entries(tarn() + u'/' + keys.front());
    QCOMPARE(subKeys.size(), 1);
    const QString key = tarn() + u'/' + keys.front() + u'/' + subKeys.front();
    QCOMPARE(entries(key), QStringList({"Long.value", "Short.value"}));
    QVERIFY(isWholeValue(fileText(key + "/Long.value"), 65536));
    QVERIFY(isWholeValue(control.get("CONC", "Test", "Short", "none"), 30));
}

void TestHivelet::loadsByName()
{
    TestRoot root(TestRoot::EmptyHive);
    // A host that loads the library at run time finds every function by its plain name.
    void* library = dlopen(HIVELET_LIBRARY, RTLD_NOW | RTLD_LOCAL);
    QVERIFY2(library, dlerror());
    for (const char* name : {"hivelet_create", "hivelet_destroy", "hivelet_save", "hivelet_get",
                             "hivelet_free", "hivelet_version", "hivelet_description"})
        QVERIFY2(dlsym(library, name), name);
    using Create = void* (*)(const char*);
    using Save = int (*)(void*, const char*, const char*, const char*, const char*);
    using Get = char* (*)(void*, const char*, const char*, const char*, const char*);
    const auto create = reinterpret_cast<Create>(dlsym(library, "hivelet_create"));
    const auto save = reinterpret_cast<Save>(dlsym(library, "hivelet_save"));
    const auto get = reinterpret_cast<Get>(dlsym(library, "hivelet_get"));
    const auto release = reinterpret_cast<void (*)(char*)>(dlsym(library, "hivelet_free"));
    const auto destroy = reinterpret_cast<void (*)(void*)>(dlsym(library, "hivelet_destroy"));
    void* control = create("Hivelet");
    QVERIFY(control);
    QCOMPARE(save(control, "ZEL", "Data", "Ready", "1"), 1);
    char* ready = get(control, "ZEL", "Data", "Ready", "0");
    QCOMPARE(QByteArray(ready), QByteArray("1"));
    release(ready);
    destroy(control);
    dlclose(library);
}

QTEST_GUILESS_MAIN(TestHivelet)
#include "test_hivelet.moc"
