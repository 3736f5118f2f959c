#include "ImportLock.h"

#include <QDir>
#include <QFileInfo>

ImportLock::ImportLock(const QString& catalogue)
    : m_catalogue(catalogue),
      m_lock(QFileInfo(catalogue).absoluteFilePath() + QStringLiteral(".lock"))
{
    m_lock.setStaleLockTime(0); // only a lock whose process is gone is taken over
}

bool ImportLock::take(int waitMs, QString* error)
{
    const QString folder = QFileInfo(m_catalogue).absolutePath();
    if (!QDir().mkpath(folder)) {
        *error = QStringLiteral("%1: cannot write in the folder %2").arg(m_catalogue, folder);
        return false;
    }
    if (m_lock.tryLock(waitMs))
        return true;
    qint64 pid = 0;
    QString host, program;
    if (m_lock.error() == QLockFile::LockFailedError) {
        m_lock.getLockInfo(&pid, &host, &program);
        *error = QStringLiteral("%1: another import into this catalogue is running (%2, process "
                                "%3 on %4); nothing was read or written. Run this import again "
                                "when it has finished.")
                     .arg(m_catalogue, program.isEmpty() ? QStringLiteral("zelcat") : program)
                     .arg(pid)
                     .arg(host);
    } else {
        *error = QStringLiteral("%1: cannot write in the folder %2 (the lock file %3 cannot be "
                                "made)")
                     .arg(m_catalogue, folder,
                          QFileInfo(m_catalogue).fileName() + QStringLiteral(".lock"));
    }
    return false;
}
