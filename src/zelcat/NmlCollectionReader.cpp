#include "NmlCollectionReader.h"

#include "AudioTagReader.h"
#include "PlaylistReader.h"

#include <QFileInfo>
#include <QXmlStreamReader>

#include <cmath>

void NmlCollectionReader::readDocument(QXmlStreamReader& xml, const QString& fileName)
{
    readCollection(xml, QLatin1String("NML"), QStringLiteral("an NML collection"),
                   QLatin1String("ENTRY"), [&] { readEntry(xml, fileName); });
}

void NmlCollectionReader::readEntry(QXmlStreamReader& xml, const QString& fileName)
{
    const int line = int(xml.lineNumber());
    ImportedSong song;
    song.origin = QStringLiteral("%1:%2").arg(fileName).arg(line);
    song.title = xml.attributes().value(QLatin1String("TITLE")).toString().simplified();
    song.artist = xml.attributes().value(QLatin1String("ARTIST")).toString().simplified();
    QString bad;
    // A number of an attribute, checked against its range; 0 when it is absent.
    auto number = [&](const QXmlStreamAttributes& a, const char* name, double high) {
        const QString text = a.value(QLatin1String(name)).toString();
        bool ok = true;
        const double v = text.isEmpty() ? 0 : text.toDouble(&ok);
        if (!ok || !std::isfinite(v) || v < 0 || v >= high) {
            if (bad.isEmpty())
                bad = QStringLiteral("the %1 \"%2\" is not a number from 0 to %3")
                          .arg(QLatin1String(name), text)
                          .arg(high);
            return 0.0;
        }
        return v;
    };
    while (xml.readNextStartElement()) {
        const QXmlStreamAttributes a = xml.attributes();
        if (xml.name() == QLatin1String("LOCATION")) {
            const QString volume = a.value(QLatin1String("VOLUME")).toString();
            const QString dir = a.value(QLatin1String("DIR"))
                                    .toString()
                                    .replace(QLatin1String("/:"), QLatin1String("/"));
            const QString file = a.value(QLatin1String("FILE")).toString();
            const bool drive = volume.size() == 2 && volume[1] == QLatin1Char(':');
            if (!file.isEmpty())
                song.path = PlaylistReader::resolve((drive ? volume : QString()) + dir + file,
                                                    QFileInfo(fileName).absolutePath());
        } else if (xml.name() == QLatin1String("INFO")) {
            song.genre = a.value(QLatin1String("GENRE")).toString().simplified();
            song.musicalKey = a.value(QLatin1String("KEY")).toString().simplified().left(8);
            song.seconds = int(number(a, "PLAYTIME", 360000) + 0.5);
            const int year = a.value(QLatin1String("RELEASE_DATE")).toString().left(4).toInt();
            song.year = year >= 1000 && year <= 9999 ? year : 0;
        } else if (xml.name() == QLatin1String("ALBUM")) {
            song.album = a.value(QLatin1String("TITLE")).toString().simplified();
        } else if (xml.name() == QLatin1String("TEMPO")) {
            song.bpm = number(a, "BPM", 1000);
        }
        xml.skipCurrentElement();
    }
    AudioTagReader::fillFromFileName(&song);
    if (bad.isEmpty() && song.title.isEmpty())
        bad = QStringLiteral("the entry has no title and no file");
    if (!bad.isEmpty())
        m_summary.skip(fileName, line, bad);
    else
        keep(xml, song);
}
