#include "DjCollectionXmlReader.h"

#include "AudioTagReader.h"
#include "PlaylistReader.h"

#include <QFile>
#include <QFileInfo>
#include <QXmlStreamReader>

#include <cmath>

bool DjCollectionXmlReader::read(const QString& fileName)
{
    m_songs.clear();
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly)) {
        m_summary.skip(fileName, 0, QStringLiteral("cannot be read: %1").arg(file.errorString()));
        return false;
    }
    const QString folder = QFileInfo(fileName).absolutePath();
    const qsizetype skippedBefore = m_summary.skipped.size();
    QXmlStreamReader xml(&file);
    if (!xml.readNextStartElement() || xml.name() != QLatin1String("DJ_PLAYLISTS")) {
        if (!xml.hasError())
            xml.raiseError(QStringLiteral("not a DJ collection (no <DJ_PLAYLISTS>)"));
    }
    while (!xml.hasError() && xml.readNextStartElement()) {
        if (xml.name() != QLatin1String("COLLECTION")) {
            xml.skipCurrentElement();
            continue;
        }
        while (xml.readNextStartElement()) {
            if (xml.name() != QLatin1String("TRACK")) {
                xml.skipCurrentElement();
                continue;
            }
            const int line = int(xml.lineNumber());
            const QXmlStreamAttributes a = xml.attributes();
            xml.skipCurrentElement(); // its tempo and cue marks
            ImportedSong song;
            song.origin = QStringLiteral("%1:%2").arg(fileName).arg(line);
            song.title = a.value(QLatin1String("Name")).toString().simplified();
            song.artist = a.value(QLatin1String("Artist")).toString().simplified();
            song.genre = a.value(QLatin1String("Genre")).toString().simplified();
            song.album = a.value(QLatin1String("Album")).toString().simplified();
            song.musicalKey = a.value(QLatin1String("Tonality")).toString().simplified().left(8);
            const QString location = a.value(QLatin1String("Location")).toString();
            if (!location.isEmpty())
                song.path = PlaylistReader::resolve(location, folder);

            QString bad;
            bool ok = true;
            const QString year = a.value(QLatin1String("Year")).toString();
            if (!year.isEmpty() && year != QLatin1String("0")) {
                song.year = year.toInt(&ok);
                if (!ok || song.year < 1000 || song.year > 9999)
                    bad = QStringLiteral("the Year \"%1\" is not a year").arg(year);
            }
            const QString time = a.value(QLatin1String("TotalTime")).toString();
            if (bad.isEmpty() && !time.isEmpty()) {
                const double seconds = time.toDouble(&ok);
                ok = ok && std::isfinite(seconds) && seconds >= 0 && seconds < 360000;
                song.seconds = ok ? int(seconds + 0.5) : 0;
                if (!ok)
                    bad =
                        QStringLiteral("the TotalTime \"%1\" is not a number of seconds").arg(time);
            }
            const QString bpm = a.value(QLatin1String("AverageBpm")).toString();
            if (bad.isEmpty() && !bpm.isEmpty()) {
                song.bpm = bpm.toDouble(&ok);
                ok = ok && std::isfinite(song.bpm) && song.bpm >= 0 && song.bpm < 1000;
                if (!ok)
                    bad = QStringLiteral("the AverageBpm \"%1\" is not a number").arg(bpm);
            }
            AudioTagReader::fillFromFileName(&song);
            if (bad.isEmpty() && song.title.isEmpty())
                bad = QStringLiteral("the track has no name and no file");
            if (!bad.isEmpty())
                m_summary.skip(fileName, line, bad);
            else
                m_songs.append(song);
        }
    }
    if (xml.hasError()) {
        m_songs.clear();
        m_summary.passOver(fileName, skippedBefore, int(xml.lineNumber()), xml.errorString());
        return false;
    }
    return true;
}
