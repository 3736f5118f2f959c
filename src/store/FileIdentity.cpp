#include "FileIdentity.h"

#include <QFile>
#include <QFileInfo>

#ifdef Q_OS_WIN
#include <QDateTime>
#else
#include <sys/stat.h>
#endif

FileIdentity FileIdentity::of(const QString& fileName)
{
    FileIdentity id;
#ifdef Q_OS_WIN
    // Without file numbers, the birth time stands for the file.
    const QFileInfo info(fileName);
    id.exists = info.exists();
    id.inode = id.exists ? quint64(info.birthTime().toMSecsSinceEpoch()) : 0;
#else
    struct stat st {
    };
    if (::stat(QFile::encodeName(fileName).constData(), &st) == 0) {
        id.exists = true;
        id.device = quint64(st.st_dev);
        id.inode = quint64(st.st_ino);
    }
#endif
    return id;
}
