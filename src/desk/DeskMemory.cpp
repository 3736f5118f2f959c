#include "desk/DeskMemory.h"

#include "platform/SafeReplace.h"

#include <QDir>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLockFile>

const QString DeskMemory::kFileName = QStringLiteral(".zeldesk.json");
const QString DeskMemory::kLockName = QStringLiteral(".zeldesk.lock");

namespace
{
QDateTime timeOf(const QJsonValue& v)
{
    return QDateTime::fromString(v.toString(), Qt::ISODateWithMs);
}
QString textOf(const QDateTime& t)
{
    return t.toUTC().toString(Qt::ISODateWithMs);
}
} // namespace

DeskMemory DeskMemory::load(const QString& folder)
{
    DeskMemory memory;
    QFile file(QDir(folder).filePath(kFileName));
    if (!file.open(QIODevice::ReadOnly))
        return memory;
    const QJsonObject root = QJsonDocument::fromJson(file.readAll()).object();
    const QJsonObject files = root.value(QStringLiteral("files")).toObject();
    for (auto it = files.begin(); it != files.end(); ++it) {
        const QJsonObject f = it.value().toObject();
        memory.files.insert(
            it.key(),
            {timeOf(f.value(QStringLiteral("received"))),
             f.value(QStringLiteral("event")).toString(), f.value(QStringLiteral("id")).toString(),
             f.value(QStringLiteral("bride")).toString(),
             f.value(QStringLiteral("groom")).toString(),
             QByteArray::fromHex(f.value(QStringLiteral("source")).toString().toLatin1())});
    }
    const QJsonObject opened = root.value(QStringLiteral("opened")).toObject();
    for (auto it = opened.begin(); it != opened.end(); ++it)
        memory.opened.insert(it.key(), timeOf(it.value()));
    return memory;
}

QByteArray DeskMemory::toJson() const
{
    QJsonObject fileObjects;
    for (auto it = files.begin(); it != files.end(); ++it)
        fileObjects.insert(it.key(), QJsonObject{{QStringLiteral("received"), textOf(it->received)},
                                                 {QStringLiteral("event"), it->event},
                                                 {QStringLiteral("id"), it->id},
                                                 {QStringLiteral("bride"), it->bride},
                                                 {QStringLiteral("groom"), it->groom},
                                                 {QStringLiteral("source"),
                                                  QString::fromLatin1(it->sourceSha.toHex())}});
    QJsonObject openedObject;
    for (auto it = opened.begin(); it != opened.end(); ++it)
        openedObject.insert(it.key(), textOf(*it));
    return QJsonDocument(QJsonObject{{QStringLiteral("format"), 1},
                                     {QStringLiteral("files"), fileObjects},
                                     {QStringLiteral("opened"), openedObject}})
        .toJson();
}

bool DeskMemory::update(const QString& folder, const std::function<bool(DeskMemory&)>& change,
                        QString* error)
{
    QLockFile lock(QDir(folder).filePath(kLockName));
    // A desk that died while holding the lock leaves it behind; it is taken over after a
    // while, longer than any one change takes.
    lock.setStaleLockTime(60 * 1000);
    if (!lock.tryLock(10 * 1000)) {
        *error = lock.error() == QLockFile::LockFailedError
                     ? QStringLiteral("The folder %1 is busy: another desk is changing it. Try "
                                      "again in a moment.")
                           .arg(QDir::toNativeSeparators(folder))
                     : QStringLiteral("The folder %1 cannot be written: check that it exists and "
                                      "that you may write in it.")
                           .arg(QDir::toNativeSeparators(folder));
        return false;
    }
    DeskMemory memory = load(folder);
    if (!change(memory))
        return false;
    QString reason;
    if (!SafeReplace::write(QDir(folder).filePath(kFileName), memory.toJson(), &reason)) {
        *error = QStringLiteral("The desk's notes in %1 cannot be written: %2")
                     .arg(QDir::toNativeSeparators(folder), reason);
        return false;
    }
    return true;
}
