#include "MusicLibraryXmlReader.h"

#include "AudioTagReader.h"
#include "PlaylistReader.h"

#include <QFileInfo>
#include <QHash>
#include <QXmlStreamReader>

#include <cmath>

void MusicLibraryXmlReader::readDocument(QXmlStreamReader& xml, const QString& fileName)
{
    if (xml.readNextStartElement() && xml.name() == QLatin1String("plist") &&
        xml.readNextStartElement() && xml.name() == QLatin1String("dict")) {
        QString key;
        while (xml.readNextStartElement()) {
            if (xml.name() == QLatin1String("key")) {
                key = xml.readElementText();
            } else if (key == QLatin1String("Tracks") && xml.name() == QLatin1String("dict")) {
                readTracks(xml, fileName);
            } else {
                xml.skipCurrentElement();
            }
        }
    } else if (!xml.hasError()) {
        xml.raiseError(QStringLiteral("not a library property list (no <plist> with a <dict>)"));
    }
}

void MusicLibraryXmlReader::readTracks(QXmlStreamReader& xml, const QString& fileName)
{
    while (xml.readNextStartElement()) {
        if (xml.name() == QLatin1String("dict"))
            readTrack(xml, fileName);
        else
            xml.skipCurrentElement(); // the <key> with the track's number
    }
}

void MusicLibraryXmlReader::readTrack(QXmlStreamReader& xml, const QString& fileName)
{
    const int line = int(xml.lineNumber());
    QHash<QString, QString> values;
    QString key;
    while (xml.readNextStartElement()) {
        const QStringView kind = xml.name();
        if (kind == QLatin1String("key")) {
            key = xml.readElementText();
        } else if (kind == QLatin1String("true") || kind == QLatin1String("false")) {
            values.insert(key, kind.toString());
            xml.skipCurrentElement();
        } else if (kind == QLatin1String("dict") || kind == QLatin1String("array")) {
            xml.skipCurrentElement();
        } else {
            values.insert(key, xml.readElementText());
        }
    }
    if (xml.hasError())
        return;

    const char* notASong[][2] = {{"Has Video", "a video"},
                                 {"Movie", "a film"},
                                 {"Music Video", "a music video"},
                                 {"TV Show", "a TV show"},
                                 {"Podcast", "a podcast episode"}};
    for (const auto& [flag, what] : notASong)
        if (values.value(QLatin1String(flag)) == QLatin1String("true")) {
            m_summary.skip(fileName, line,
                           QStringLiteral("%1, not a song").arg(QLatin1String(what)));
            return;
        }

    ImportedSong song;
    song.origin = QStringLiteral("%1:%2").arg(fileName).arg(line);
    song.title = values.value(QStringLiteral("Name")).simplified();
    song.artist = values.value(QStringLiteral("Artist")).simplified();
    song.genre = values.value(QStringLiteral("Genre")).simplified();
    song.album = values.value(QStringLiteral("Album")).simplified();
    const QString location = values.value(QStringLiteral("Location"));
    if (!location.isEmpty())
        song.path = PlaylistReader::resolve(location, QFileInfo(fileName).absolutePath());
    const struct {
        const char* key;
        int low, high;
        int* out;
        int scale;
    } numbers[] = {{"Year", 1000, 9999, &song.year, 1},
                   {"Total Time", 1, 360000000, &song.seconds, 1000}};
    for (const auto& n : numbers) {
        const QString v = values.value(QLatin1String(n.key));
        if (v.isEmpty())
            continue;
        bool ok = false;
        const qint64 x = v.toLongLong(&ok);
        if (!ok || x < n.low || x > n.high) {
            m_summary.skip(fileName, line,
                           QStringLiteral("the %1 \"%2\" is not a number from %3 to %4")
                               .arg(QLatin1String(n.key), v)
                               .arg(n.low)
                               .arg(n.high));
            return;
        }
        *n.out = int((x + n.scale / 2) / n.scale);
    }
    const double bpm = values.value(QStringLiteral("BPM")).toDouble();
    song.bpm = std::isfinite(bpm) && bpm > 0 && bpm < 1000 ? bpm : 0;
    AudioTagReader::fillFromFileName(&song);
    if (song.title.isEmpty()) {
        m_summary.skip(fileName, line, QStringLiteral("the track has no name and no file"));
        return;
    }
    keep(xml, song);
}
