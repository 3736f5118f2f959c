#include "PlaylistReader.h"

#include "AudioTagReader.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QStringDecoder>
#include <QUrl>

#include <sys/stat.h>

QString PlaylistReader::resolve(const QString& entry, const QString& folder)
{
    QString path = entry;
    static const QRegularExpression scheme(QStringLiteral("^[A-Za-z][A-Za-z0-9+.-]+:"));
    if (path.startsWith(QLatin1String("file:"), Qt::CaseInsensitive)) {
        QUrl url(path);
        // file://localhost/... is a local path; file://NAS/share/... a share of another
        // computer, kept as the network path it is.
        if (url.host().compare(QLatin1String("localhost"), Qt::CaseInsensitive) == 0)
            url.setHost(QString());
        path = url.toLocalFile();
        if (!url.host().isEmpty())
            return path.replace(QLatin1Char('\\'), QLatin1Char('/'));
    } else if (scheme.match(path).hasMatch()) {
        return QString(); // a stream or other address
    }
    // A path of a system with drive letters ("C:\Music\...", "/C:/Music/...") cannot be
    // reached from here; it stays as the text it is, to find the song again by it.
    // Nor can a network path ("\\NAS\Music\..."), kept as "//NAS/Music/...".
    static const QRegularExpression drive(
        QStringLiteral("^/?([A-Za-z]:[/\\\\].*|[/\\\\]{2}[^/\\\\]+[/\\\\].*)$"));
    const QRegularExpressionMatch m = drive.match(path);
    if (m.hasMatch())
        return m.captured(1).replace(QLatin1Char('\\'), QLatin1Char('/'));
    if (path.isEmpty())
        return QString();
    // Playlists made on another system separate folders with backslashes.
    if (path.contains(QLatin1Char('\\')) && !QFileInfo::exists(path))
        path.replace(QLatin1Char('\\'), QLatin1Char('/'));
    const QFileInfo info(QDir(folder), path);
    const QString canonical = info.canonicalFilePath();
    return canonical.isEmpty() ? QDir::cleanPath(info.absoluteFilePath()) : canonical;
}

bool PlaylistReader::read(const QString& fileName, qsizetype room)
{
    m_songs.clear();
    m_overflowLine = 0;
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly)) {
        m_summary.skip(fileName, 0,
                       QStringLiteral("the playlist cannot be read: %1").arg(file.errorString()));
        return false;
    }
    const QString folder = QFileInfo(fileName).absolutePath();
    static const QRegularExpression extinf(QStringLiteral("^#EXTINF:\\s*(-?\\d+)[^,]*,(.*)$"));
    ImportedSong pending;
    int line = 0;
    while (!file.atEnd()) {
        QByteArray bytes = file.readLine();
        ++line;
        if (line == 1 && bytes.startsWith("\xEF\xBB\xBF"))
            bytes.remove(0, 3);
        QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
        QString text = utf8.decode(bytes);
        if (utf8.hasError())
            text = QString::fromLatin1(bytes);
        text = text.trimmed();
        if (text.isEmpty())
            continue;
        if (text.startsWith(QLatin1Char('#'))) {
            const QRegularExpressionMatch m = extinf.match(text);
            if (m.hasMatch()) {
                pending = ImportedSong();
                pending.seconds = qMax(0, m.captured(1).toInt());
                const QString name = m.captured(2).trimmed();
                const qsizetype dash = name.indexOf(QStringLiteral(" - "));
                if (dash > 0) {
                    pending.artist = name.left(dash).trimmed();
                    pending.title = name.mid(dash + 3).trimmed();
                } else {
                    pending.title = name;
                }
            }
            continue;
        }
        if (m_songs.size() >= room) {
            m_overflowLine = line;
            m_songs.clear();
            return false;
        }
        ImportedSong song = pending;
        pending = ImportedSong();
        song.origin = QStringLiteral("%1:%2").arg(fileName).arg(line);
        song.path = resolve(text, folder);
        if (song.path.isEmpty()) {
            m_summary.skip(
                fileName, line,
                QStringLiteral("\"%1\" is a stream or web address, not a file").arg(text));
            continue;
        }
        struct stat st {
        };
        const bool exists = ::stat(QFile::encodeName(song.path).constData(), &st) == 0;
        if (exists && S_ISDIR(st.st_mode)) {
            m_summary.skip(fileName, line,
                           QStringLiteral("\"%1\" is a folder, not a song file").arg(text));
            continue;
        }
        if (exists && !S_ISREG(st.st_mode)) {
            m_summary.skip(fileName, line,
                           QStringLiteral("\"%1\" is not a regular file (a pipe, device or "
                                          "socket); not opened")
                               .arg(text));
            continue;
        }
        song.readTags = exists;
        AudioTagReader::fillFromFileName(&song);
        m_songs.append(song);
    }
    return true;
}
