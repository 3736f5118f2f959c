#include "AudioFixture.h"

#include <QFile>
#include <QFileInfo>
#include <QtEndian>

#include <taglib/fileref.h>
#include <taglib/tag.h>
#include <taglib/tpropertymap.h>

namespace
{
template <class T> QByteArray le(T v)
{
    QByteArray b(sizeof(T), '\0');
    qToLittleEndian(v, b.data());
    return b;
}
template <class T> QByteArray be(T v)
{
    QByteArray b(sizeof(T), '\0');
    qToBigEndian(v, b.data());
    return b;
}

// An MPEG-1 layer III stream, 32 kbit/s at 32 kHz mono: four frames, the first carrying a
// frame count that gives the playing time.
QByteArray mp3(int seconds)
{
    QByteArray frame("\xFF\xFB\x18\xC0", 4);
    frame.resize(144, '\0');
    QByteArray first = frame;
    const QByteArray count =
        "Xing" + be<quint32>(3) + be<quint32>(seconds * 32000 / 1152) + be<quint32>(seconds * 4000);
    first.replace(4 + 17, count.size(), count);
    return first + frame + frame + frame;
}

QByteArray flac(int seconds)
{
    const quint64 rate = 44100, bitsLess1 = 15, samples = quint64(seconds) * rate;
    const QByteArray info = be<quint16>(4096) + be<quint16>(4096) + QByteArray(6, '\0') +
                            be<quint64>(rate << 44 | bitsLess1 << 36 | samples) +
                            QByteArray(16, '\0');
    return "fLaC" + QByteArray("\x80\x00\x00\x22", 4) + info + QByteArray("\xFF\xF8\x69\x08", 4) +
           QByteArray(32, '\0');
}

quint32 oggCrc(const QByteArray& d)
{
    quint32 crc = 0;
    for (const char c : d) {
        crc ^= quint32(quint8(c)) << 24;
        for (int b = 0; b < 8; ++b)
            crc = crc & 0x80000000u ? (crc << 1) ^ 0x04C11DB7u : crc << 1;
    }
    return crc;
}

QByteArray oggPage(const QList<QByteArray>& packets, char type, qint64 granule, quint32 seq)
{
    QByteArray p = "OggS" + QByteArray(1, '\0') + QByteArray(1, type) + le<qint64>(granule) +
                   le<quint32>(7) + le<quint32>(seq) + le<quint32>(0) +
                   QByteArray(1, char(packets.size()));
    for (const QByteArray& k : packets)
        p += char(k.size());
    for (const QByteArray& k : packets)
        p += k;
    p.replace(22, 4, le<quint32>(oggCrc(p)));
    return p;
}

// Identification page, comment (and setup) page, one audio page ending at `granule`.
QByteArray ogg(const QByteArray& id, const QList<QByteArray>& headers, qint64 granule)
{
    return oggPage({id}, 2, 0, 0) + oggPage(headers, 0, 0, 1) +
           oggPage({QByteArray(20, '\0')}, 4, granule, 2);
}

QByteArray vorbis(int seconds)
{
    const QByteArray id = "\x01vorbis" + le<quint32>(0) + char(1) + le<quint32>(44100) +
                          le<quint32>(0) + le<quint32>(128000) + le<quint32>(0) + char(0xB8) +
                          char(1);
    const QByteArray comment = "\x03vorbis" + le<quint32>(0) + le<quint32>(0) + char(1);
    return ogg(id, {comment, "\x05vorbis" + QByteArray(8, '\0')}, qint64(seconds) * 44100);
}

QByteArray opus(int seconds)
{
    const QByteArray id = "OpusHead" + QByteArray("\x01\x01", 2) + le<quint16>(0) +
                          le<quint32>(48000) + le<quint16>(0) + char(0);
    return ogg(id, {"OpusTags" + le<quint32>(0) + le<quint32>(0)}, qint64(seconds) * 48000);
}

QByteArray atom(const char* type, const QByteArray& body)
{
    return be<quint32>(8 + body.size()) + QByteArray(type, 4) + body;
}

QByteArray m4a(int seconds)
{
    const QByteArray mdhd = QByteArray(12, '\0') + be<quint32>(1000) + be<quint32>(seconds * 1000) +
                            QByteArray(4, '\0');
    const QByteArray hdlr = QByteArray(8, '\0') + "soun" + QByteArray(13, '\0');
    return atom("ftyp", QByteArray("M4A \0\0\0\0M4A isom", 16)) +
           atom("moov", atom("mvhd", QByteArray(100, '\0')) +
                            atom("trak", atom("mdia", atom("mdhd", mdhd) + atom("hdlr", hdlr)))) +
           atom("mdat", QByteArray(16, '\0'));
}

// 8 kHz, 8-bit mono PCM: the samples are really there, 8000 bytes a second.
QByteArray wav(int seconds)
{
    const quint32 n = 8000 * quint32(seconds);
    const QByteArray body = "WAVEfmt " + le<quint32>(16) + le<quint16>(1) + le<quint16>(1) +
                            le<quint32>(8000) + le<quint32>(8000) + le<quint16>(1) +
                            le<quint16>(8) + "data" + le<quint32>(n) + QByteArray(n, '\x80');
    return "RIFF" + le<quint32>(body.size()) + body;
}

QByteArray aiff(int seconds)
{
    // The sample rate 8000 as an 80-bit extended number.
    const QByteArray comm = be<quint16>(1) + be<quint32>(seconds * 8000) + be<quint16>(8) +
                            QByteArray("\x40\x0B\xFA\x00\x00\x00\x00\x00\x00\x00", 10);
    const QByteArray ssnd = QByteArray(24, '\0');
    const QByteArray body =
        "AIFFCOMM" + be<quint32>(comm.size()) + comm + "SSND" + be<quint32>(ssnd.size()) + ssnd;
    return "FORM" + be<quint32>(body.size()) + body;
}

QByteArray guid(quint32 a, quint16 b, quint16 c, const char* rest)
{
    return le(a) + le(b) + le(c) + QByteArray(rest, 8);
}

QByteArray asfObject(const QByteArray& id, const QByteArray& body)
{
    return id + le<quint64>(24 + body.size()) + body;
}

// An ASF header with the two objects a reader needs: file properties (the playing time)
// and one audio stream.
QByteArray wma(int seconds)
{
    const quint64 duration = quint64(seconds) * 10000000;
    const QByteArray file = QByteArray(16, '\0') + le<quint64>(0) + le<quint64>(0) +
                            le<quint64>(0) + le(duration) + le(duration) + le<quint64>(0) +
                            le<quint32>(2) + le<quint32>(0) + le<quint32>(0) + le<quint32>(0);
    const QByteArray stream =
        guid(0xF8699E40, 0x5B4D, 0x11CF, "\xA8\xFD\x00\x80\x5F\x5C\x44\x2B") +
        QByteArray(16, '\0') + le<quint64>(0) + le<quint32>(18) + le<quint32>(0) + le<quint16>(1) +
        le<quint32>(0) + le<quint16>(0x161) + le<quint16>(1) + le<quint32>(44100) +
        le<quint32>(16000) + le<quint16>(1) + le<quint16>(16) + le<quint16>(0);
    const QByteArray objects =
        asfObject(guid(0x8CABDCA1, 0xA947, 0x11CF, "\x8E\xE4\x00\xC0\x0C\x20\x53\x65"), file) +
        asfObject(guid(0xB7DC0791, 0xA9B7, 0x11CF, "\x8E\xE6\x00\xC0\x0C\x20\x53\x65"), stream);
    return guid(0x75B22630, 0x668E, 0x11CF, "\xA6\xD9\x00\xAA\x00\x62\xCE\x6C") +
           le<quint64>(30 + objects.size()) + le<quint32>(2) + QByteArray("\x01\x02", 2) + objects;
}

TagLib::String tagText(const QString& s)
{
    return TagLib::String(s.toStdString(), TagLib::String::UTF8);
}
} // namespace

const QStringList& AudioFixture::formats()
{
    static const QStringList list{"mp3", "flac", "ogg", "opus", "m4a", "wav", "aiff", "wma"};
    return list;
}

QByteArray AudioFixture::audio(const QString& format, int seconds)
{
    using Maker = QByteArray (*)(int);
    static const QHash<QString, Maker> makers{{"mp3", mp3},   {"flac", flac}, {"ogg", vorbis},
                                              {"opus", opus}, {"m4a", m4a},   {"wav", wav},
                                              {"aiff", aiff}, {"wma", wma}};
    const Maker make = makers.value(format);
    return make ? make(seconds) : QByteArray();
}

bool AudioFixture::write(const QString& path, int seconds, const Tags& tags)
{
    QFile file(path);
    const QByteArray data = audio(QFileInfo(path).suffix().toLower(), seconds);
    if (data.isEmpty() || !file.open(QIODevice::WriteOnly) || file.write(data) != data.size())
        return false;
    file.close();
    TagLib::FileRef ref(QFile::encodeName(path).constData());
    if (ref.isNull())
        return false;
    ref.tag()->setTitle(tagText(tags.title));
    ref.tag()->setArtist(tagText(tags.artist));
    ref.tag()->setGenre(tagText(tags.genre));
    ref.tag()->setYear(unsigned(tags.year));
    if (tags.bpm > 0) {
        TagLib::PropertyMap props = ref.file()->properties();
        props.replace("BPM", TagLib::StringList(TagLib::String::number(tags.bpm)));
        ref.file()->setProperties(props);
    }
    return ref.save();
}
