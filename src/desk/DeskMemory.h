#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QMap>
#include <QString>

#include <functional>

// What the desk remembers about its folder, kept in the folder itself (".zeldesk.json"), so
// that it travels with the files and several desks over one shared folder share it: when each
// file arrived, which files are versions of one event, when each event was last opened.
//
// Every change runs under the folder's lock file (".zeldesk.lock"): the memory is read as it
// stands on the disk, changed, and written back whole through SafeReplace, so two desks never
// mix their writes and neither loses the other's.
class DeskMemory
{
  public:
    static const QString kFileName; // ".zeldesk.json"
    static const QString kLockName; // ".zeldesk.lock"

    // One file of the folder (its name relative to the folder).
    struct File {
        QDateTime received;
        QString event; // the key shared by all versions of one event
        QString id;    // the event's identity, as EventIdentity holds it
        QString bride;
        QString groom;
        QByteArray sourceSha; // the couple's file as it was added
    };

    // The memory as it stands on the disk; empty when there is none yet or it is unreadable.
    static DeskMemory load(const QString& folder);

    // Runs `change` on the memory as it stands, under the folder's lock, and writes it back
    // when `change` returns true. False with `error` set when the lock, `change` or the write
    // failed; the memory on the disk is then as it was.
    static bool update(const QString& folder, const std::function<bool(DeskMemory&)>& change,
                       QString* error);

    QMap<QString, File> files;
    QMap<QString, QDateTime> opened; // by event key

  private:
    QByteArray toJson() const;
};
