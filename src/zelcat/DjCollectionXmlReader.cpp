#include "DjCollectionXmlReader.h"

#include "AudioTagReader.h"
#include "PlaylistReader.h"

#include <QFileInfo>
#include <QXmlStreamReader>

#include <cmath>

void DjCollectionXmlReader::readDocument(QXmlStreamReader& xml, const QString& fileName)
{
    const QString folder = QFileInfo(fileName).absolutePath(); // what relative locations start from
    readCollection(xml, QLatin1String("DJ_PLAYLISTS"), QStringLiteral("a DJ collection"),
                   QLatin1String("TRACK"), [&] { readTrack(xml, fileName, folder); });
}

void DjCollectionXmlReader::readTrack(QXmlStreamReader& xml, const QString& fileName,
                                      const QString& folder)
{
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
        keep(xml, song);
}
