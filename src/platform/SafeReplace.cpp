#include "SafeReplace.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QTemporaryFile>

#include <cerrno>
#include <cstdio>
#include <cstring>

#include <fcntl.h>
#include <unistd.h>

namespace
{
// Puts a file's or a folder's contents on the disk.
bool sync(const QString& path, int flags)
{
    const int fd = ::open(QFile::encodeName(path).constData(), flags | O_CLOEXEC);
    if (fd < 0)
        return false;
    const bool ok = ::fsync(fd) == 0;
    ::close(fd);
    return ok;
}

void reached(SafeReplace::Step step)
{
    if (SafeReplace::afterStep)
        SafeReplace::afterStep(step);
}
} // namespace

SafeReplace::SafeReplace(const QString& target, QFileDevice::Permissions permissions)
    : m_target(QFileInfo(target).absoluteFilePath())
{
    const QFileInfo info(m_target);
    QTemporaryFile temporary(info.absolutePath() + QStringLiteral("/.") + info.fileName() +
                             QStringLiteral(".XXXXXX"));
    temporary.setAutoRemove(false);
    if (!temporary.open()) {
        m_error = QStringLiteral("cannot write in the folder %1: %2")
                      .arg(QDir::toNativeSeparators(info.absolutePath()), temporary.errorString());
        return;
    }
    m_temporary = temporary.fileName();
    temporary.setPermissions(permissions);
}

SafeReplace::~SafeReplace()
{
    if (m_temporary.isEmpty())
        return;
    for (const char* suffix : {"", "-journal", "-wal", "-shm"})
        QFile::remove(m_temporary + QLatin1String(suffix));
}

void SafeReplace::removeLeftovers(const QString& target)
{
    const QFileInfo info(target);
    QDir folder = info.absoluteDir();
    // The temporary names: "." + the target's name + "." + six letters or digits.
    const QRegularExpression ours(QStringLiteral("^\\.%1\\.[A-Za-z0-9]{6}(-journal|-wal|-shm)?$")
                                      .arg(QRegularExpression::escape(info.fileName())));
    for (const QString& name : folder.entryList({QStringLiteral(".*")}, QDir::Files | QDir::Hidden))
        if (ours.match(name).hasMatch())
            folder.remove(name);
}

bool SafeReplace::commit()
{
    if (!isReady())
        return false;
    if (!sync(m_temporary, O_RDONLY)) {
        m_error = QStringLiteral("the new file cannot be written to the disk: %1")
                      .arg(QString::fromLocal8Bit(std::strerror(errno)));
        return false;
    }
    reached(Synced);
    if (std::rename(QFile::encodeName(m_temporary).constData(),
                    QFile::encodeName(m_target).constData()) != 0) {
        m_error = QStringLiteral("%1 cannot be replaced: %2")
                      .arg(QDir::toNativeSeparators(m_target),
                           QString::fromLocal8Bit(std::strerror(errno)));
        return false;
    }
    m_temporary.clear();
    reached(Renamed);
    // The rename is done; a folder that cannot be synced (some file systems do not offer
    // it) still holds the new file.
    sync(QFileInfo(m_target).absolutePath(), O_RDONLY | O_DIRECTORY);
    reached(FolderSynced);
    return true;
}

bool SafeReplace::write(const QString& target, const QByteArray& contents, QString* error)
{
    SafeReplace replace(target);
    QFile file(replace.temporaryName());
    if (replace.isReady() && file.open(QIODevice::WriteOnly) &&
        file.write(contents) == contents.size() && file.flush()) {
        file.close();
        if (replace.commit())
            return true;
    }
    *error = !replace.errorString().isEmpty() ? replace.errorString() : file.errorString();
    return false;
}
