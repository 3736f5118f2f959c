#include "AudioTagReader.h"

#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>

#include <sys/stat.h>

#include <taglib/audioproperties.h>
#include <taglib/fileref.h>
#include <taglib/tag.h>
#include <taglib/tpropertymap.h>

namespace
{
QString text(const TagLib::String& s)
{
    // Tags may carry control characters (a damaged or odd tag); they never belong in a title.
    QString t = QString::fromStdWString(s.toWString());
    for (QChar& c : t)
        if (c.category() == QChar::Other_Control)
            c = QLatin1Char(' ');
    return t.simplified();
}

// The size an ID3v2 tag at the start of the file claims, or -1 when there is none.
qint64 id3v2Size(QFile& file)
{
    file.seek(0);
    const QByteArray h = file.read(10);
    if (h.size() < 10 || !h.startsWith("ID3"))
        return -1;
    qint64 size = 10;
    for (int i = 6; i < 10; ++i)
        size += qint64(quint8(h[i]) & 0x7f) << (7 * (9 - i));
    return size;
}
} // namespace

const QStringList& AudioTagReader::extensions()
{
    static const QStringList list = [] {
        QStringList l;
        for (const TagLib::String& e : TagLib::FileRef::defaultFileExtensions())
            l << QString::fromStdString(e.to8Bit(true)).toLower();
        return l;
    }();
    return list;
}

bool AudioTagReader::isAudioFile(const QString& fileName)
{
    const qsizetype dot = fileName.lastIndexOf(QLatin1Char('.'));
    return dot > 0 && extensions().contains(fileName.mid(dot + 1).toLower());
}

bool AudioTagReader::read(ImportedSong* song, QString* reason)
{
    // Only a regular file is opened: a pipe would wait for a writer for ever.
    struct stat st {
    };
    if (::stat(QFile::encodeName(song->path).constData(), &st) == 0 && !S_ISREG(st.st_mode)) {
        *reason = QStringLiteral("not a regular file (a pipe, device or socket); not opened");
        return false;
    }
    QFile file(song->path);
    if (!file.open(QIODevice::ReadOnly)) {
        *reason = QStringLiteral("cannot be read: %1").arg(file.errorString());
        return false;
    }
    if (file.size() == 0) {
        *reason = QStringLiteral("the file is empty");
        return false;
    }
    const TagLib::FileRef ref(QFile::encodeName(song->path).constData(), true,
                              TagLib::AudioProperties::Fast);
    const TagLib::AudioProperties* audio = ref.isNull() ? nullptr : ref.audioProperties();
    if (!audio || audio->lengthInMilliseconds() <= 0) {
        const qint64 tagSize = id3v2Size(file);
        if (tagSize > file.size())
            *reason = QStringLiteral("the tag is damaged: it claims %1 bytes, but the file has "
                                     "only %2")
                          .arg(tagSize)
                          .arg(file.size());
        else if (ref.isNull())
            *reason = QStringLiteral("not readable as audio: the file is damaged, truncated or "
                                     "not of the kind its name says");
        else
            *reason = QStringLiteral("no audio found: the file is truncated or not audio");
        return false;
    }
    song->seconds = int((audio->lengthInMilliseconds() + 500) / 1000);
    if (song->seconds == 0)
        song->seconds = 1;

    if (const TagLib::Tag* tag = ref.tag()) {
        auto set = [](QString& field, const QString& value) {
            if (!value.isEmpty())
                field = value;
        };
        set(song->title, text(tag->title()));
        set(song->artist, text(tag->artist()));
        set(song->genre, text(tag->genre()));
        set(song->album, text(tag->album()));
        if (tag->year() >= 1000 && tag->year() <= 9999)
            song->year = int(tag->year());
    }
    const TagLib::PropertyMap props = ref.file()->properties();
    const auto key = props.find("INITIALKEY");
    if (key != props.end() && !key->second.isEmpty())
        song->musicalKey = text(key->second.front()).left(8);
    // A tag may name several artists; they are listed, not run together.
    const auto artists = props.find("ARTIST");
    if (artists != props.end() && artists->second.size() > 1) {
        QStringList names;
        for (const TagLib::String& a : artists->second)
            if (const QString name = text(a); !name.isEmpty() && !names.contains(name))
                names << name;
        song->artist = names.join(QStringLiteral(", "));
    }
    const auto bpm = props.find("BPM");
    if (bpm != props.end() && !bpm->second.isEmpty()) {
        bool ok = false;
        const double v =
            text(bpm->second.front()).replace(QLatin1Char(','), QLatin1Char('.')).toDouble(&ok);
        if (ok && v > 0 && v < 1000)
            song->bpm = v;
    }
    fillFromFileName(song);
    return true;
}

void AudioTagReader::fillFromFileName(ImportedSong* song)
{
    if (!song->title.isEmpty() || song->path.isEmpty())
        return;
    QString base = QFileInfo(song->path).completeBaseName();
    base.replace(QLatin1Char('_'), QLatin1Char(' '));
    QStringList parts = base.split(QStringLiteral(" - "));
    static const QRegularExpression trackNumber(QStringLiteral("^\\d{1,3}\\.?$"));
    if (parts.size() > 1 && trackNumber.match(parts.first().trimmed()).hasMatch())
        parts.removeFirst();
    song->title = parts.last().simplified();
    if (parts.size() > 1 && song->artist.isEmpty())
        song->artist = parts.mid(0, parts.size() - 1).join(QStringLiteral(" - ")).simplified();
}
