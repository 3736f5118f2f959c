#pragma once

#include "store/EventPlan.h"
#include "store/ScheduleStore.h"
#include "ui/MessageBox.h"

#include <QFile>
#include <QList>
#include <QMap>
#include <QString>
#include <QTemporaryDir>
#include <QTest>
#include <QVariant>
#include <QWidget>

#include <functional>
#include <memory>

class Wizard;
class WizardPage;

// A fresh temporary root for the fixed folders (ZEL_ROOT) and the settings hive
// (HIVELET_HIVE), and fresh message-box and program-end recorders. Create one per test
// case; everything is restored when it goes out of scope.
class TestRoot
{
  public:
    enum Hive { DataInstalled, EmptyHive };
    explicit TestRoot(Hive hive = DataInstalled);
    ~TestRoot();
    TestRoot(const TestRoot&) = delete;
    TestRoot& operator=(const TestRoot&) = delete;

    QString path() const { return m_dir.path(); }
    QString dbFolder() const;    // the mapped c:\orba\zel\ (created)
    QString mediaFolder() const; // the mapped data folder (created)

    // Message boxes shown since the root was made, oldest first.
    QList<MessageBox::Request> messages;
    // The answer the next message boxes give.
    QMessageBox::StandardButton answer = QMessageBox::Ok;
    // Called with each request before answering (a test may act, e.g. check state).
    std::function<void(const MessageBox::Request&)> onMessage;

    // The root starts with the data files counted as installed (the settings value "Ready"
    // is "1"), so start-up goes straight to the welcome page. A first-run test clears it.
    void setReadyFlag(const QString& value) const;
    void clearReadyFlag() const;
    QString readyFlagFile() const;

    bool programEnded() const;
    int exitCode = -1;

    // Writes a small catalogue with a Config table of `settings` and a MUSIC table of
    // `songs` (each a map of column to value) to the mapped songlist.mdb.
    void writeCatalogue(const QMap<QString, QString>& settings = {},
                        const QList<QMap<QString, QVariant>>& songs = {}) const;
    // Copies the built sample medium (pictures, texts) into the data folder when present.
    void copySampleMedia() const;

  private:
    QTemporaryDir m_dir;
    QByteArray m_oldRoot;
    QByteArray m_oldHive;
};

// The control named `name` (its object name) inside `parent`; a missing control ends the
// test program with its name, since every later step would be meaningless.
template <class T> T* child(const QWidget* parent, const QString& name)
{
    T* w = parent->findChild<T*>(name);
    if (!w)
        qFatal("no control named %s in %s", qPrintable(name), qPrintable(parent->objectName()));
    return w;
}

// The page now on the screen; null when none or several are visible (exactly one page is
// visible at a time).
WizardPage* visiblePage(const Wizard& wizard);

// A keyed item as the event database file holds it ("Strs" or "Mems"); a null text when
// there is no row.
QString storedItem(const QString& table, const QString& key);

// The rows of a statement on the event database file as texts, NULL written as "<null>".
QList<QStringList> storedRows(const QString& statement);

// Starts `wizard` and shows its welcome page, failing the check when the data loader
// appears on the way (the data count as installed).
bool startWithoutLoader(Wizard& wizard);

// Waits (processing events, without sleeping) for a modal widget named `objectName` to
// become active, then runs `action` on it. Call before the code that opens the dialog;
// the action runs from the event loop of the dialog's exec(). Returns at once.
void whenModal(const QString& objectName, std::function<void(QWidget*)> action);

// Cancels every whenModal() wait that has not acted yet (after checking that a dialog
// did not open).
void cancelModalWaits();

// Processes events until `condition` holds or `timeoutMs` passes; returns the condition.
bool waitUntil(const std::function<bool()>& condition, int timeoutMs = 5000);

// The bytes of a file; none when it cannot be read.
QByteArray fileBytes(const QString& path);
// Writes `data` to `path`, making its folder; `extra` permissions are added to the owner's.
bool writeFile(const QString& path, const QByteArray& data, QFile::Permissions extra = {});

// Readable forms of the store's records for QCOMPARE: a failed comparison prints every field
// of the expected and the actual record. Found by argument-dependent lookup.
char* toString(const PersonRecord& r);
char* toString(const FacilityRecord& r);
char* toString(const PickedSongRecord& r);
char* toString(const PartyMember& r);
char* toString(const ScheduledActivity& r);
char* toString(const ActivityRecord& r);
// A plan value as a failed comparison prints it: "7:30 PM (given)".
template <typename T>
char* toString(const PlanValue<T>& v)
{
    static const char* const states[] = {"not given", "given", "unreadable"};
    return QTest::toString(QStringLiteral("%1 (%2)").arg(QVariant::fromValue(v.value).toString(),
                                                          QLatin1String(states[v.state])));
}
