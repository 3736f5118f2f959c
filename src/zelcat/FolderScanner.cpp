#include "FolderScanner.h"

#include "AudioTagReader.h"

#include <QFile>
#include <QStringDecoder>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <memory>

#include <dirent.h>
#include <sys/stat.h>

namespace
{
// The name as text, or a null string when its bytes are not UTF-8.
QString decodedName(const QByteArray& bytes)
{
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString name = decoder.decode(bytes);
    return decoder.hasError() ? QString() : name;
}

QByteArray canonical(const QByteArray& path)
{
    std::unique_ptr<char, decltype(&std::free)> real(::realpath(path.constData(), nullptr),
                                                     &std::free);
    return real ? QByteArray(real.get()) : QByteArray();
}

qint64 mtimeOf(const struct stat& st)
{
    return qint64(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec;
}
} // namespace

bool FolderScanner::scan(const QString& folder)
{
    const QByteArray path = canonical(QFile::encodeName(folder));
    if (path.isEmpty()) {
        m_summary.skip(folder, 0,
                       QStringLiteral("the folder cannot be read: %1")
                           .arg(QString::fromLocal8Bit(std::strerror(errno))));
        return false;
    }
    QList<Node> chain;
    return scanFolder(path, chain);
}

bool FolderScanner::addFile(const QString& path)
{
    const QByteArray bytes = canonical(QFile::encodeName(path));
    struct stat st {
    };
    if (bytes.isEmpty() || ::stat(bytes.constData(), &st) != 0 || !S_ISREG(st.st_mode)) {
        m_summary.skip(path, 0, QStringLiteral("not a readable file"));
        return false;
    }
    return addRegularFile(bytes, path, st.st_size, mtimeOf(st));
}

bool FolderScanner::addRegularFile(const QByteArray& path, const QString& shown, qint64 size,
                                   qint64 mtime)
{
    const QString text = decodedName(path);
    if (text.isNull()) {
        m_summary.skip(shown, 0,
                       QStringLiteral("the name is not valid UTF-8 text; rename the file"));
        return false;
    }
    if (m_known.contains(text))
        return true;
    m_known.insert(text);
    ImportedSong song;
    song.path = text;
    song.size = size;
    song.mtime = mtime;
    song.readTags = true;
    song.origin = text;
    m_files.append(song);
    return true;
}

bool FolderScanner::scanFolder(const QByteArray& path, QList<Node>& chain)
{
    DIR* dir = ::opendir(path.constData());
    struct stat self {
    };
    if (!dir || ::fstat(::dirfd(dir), &self) != 0) {
        m_summary.skip(QString::fromUtf8(path), 0,
                       QStringLiteral("the folder cannot be read: %1")
                           .arg(QString::fromLocal8Bit(std::strerror(errno))));
        if (dir)
            ::closedir(dir);
        m_whole = false;
        return false;
    }
    const Node node{quint64(self.st_dev), quint64(self.st_ino)};
    m_scanned.insert(node);
    chain.append(node);
    QList<QByteArray> names;
    while (const dirent* e = ::readdir(dir))
        if (e->d_name[0] != '.')
            names.append(QByteArray(e->d_name));
    ::closedir(dir);
    std::sort(names.begin(), names.end());

    for (const QByteArray& name : names) {
        const QByteArray full = path + '/' + name;
        const QString shown = QString::fromUtf8(full); // invalid bytes shown as marks
        struct stat link {
        };
        struct stat st {
        };
        if (::lstat(full.constData(), &link) != 0)
            continue; // removed while scanning
        const bool isLink = S_ISLNK(link.st_mode);
        if (::stat(full.constData(), &st) != 0) {
            if (isLink)
                m_summary.skip(shown, 0,
                               QStringLiteral("a symbolic link to something that does not exist"));
            continue;
        }
        if (S_ISDIR(st.st_mode)) {
            const Node target{quint64(st.st_dev), quint64(st.st_ino)};
            if (decodedName(name).isNull()) {
                m_summary.skip(shown, 0,
                               QStringLiteral("the folder name is not valid UTF-8 text; rename "
                                              "the folder to have its files imported (its files "
                                              "cannot be read)"));
                m_whole = false;
            } else if (chain.contains(target))
                m_summary.skip(shown, 0,
                               QStringLiteral("a symbolic link to a folder that contains it (a "
                                              "loop); not followed"));
            else if (m_scanned.contains(target))
                m_summary.skip(shown, 0,
                               QStringLiteral("the folder is already scanned under another "
                                              "name; not scanned again"));
            else
                scanFolder(isLink ? canonical(full) : full, chain);
            continue;
        }
        if (!AudioTagReader::isAudioFile(QString::fromUtf8(name)))
            continue;
        if (!S_ISREG(st.st_mode)) {
            m_summary.skip(shown, 0, QStringLiteral("not a regular file"));
            continue;
        }
        addRegularFile(isLink ? canonical(full) : full, shown, st.st_size, mtimeOf(st));
    }
    chain.removeLast();
    return true;
}
