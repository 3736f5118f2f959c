#include "XmlSongReader.h"

#include <QFile>
#include <QXmlStreamReader>

void XmlSongReader::keep(QXmlStreamReader& xml, const ImportedSong& song)
{
    if (m_songs.size() < m_room) {
        m_songs.append(song);
        return;
    }
    m_overflowed = true;
    xml.raiseError(QStringLiteral("more songs than an import takes"));
}

bool XmlSongReader::read(const QString& fileName, qsizetype room)
{
    m_songs.clear();
    m_room = room;
    m_overflowed = false;
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly)) {
        m_summary.skip(fileName, 0, QStringLiteral("cannot be read: %1").arg(file.errorString()));
        return false;
    }
    const qint64 skippedBefore = m_summary.skippedCount();
    QXmlStreamReader xml(&file);
    readDocument(xml, fileName);
    if (m_overflowed) {
        m_songs.clear();
        return false;
    }
    if (xml.hasError()) {
        m_songs.clear();
        m_summary.passOver(fileName, skippedBefore, int(xml.lineNumber()), xml.errorString());
        return false;
    }
    return true;
}

void XmlSongReader::readCollection(QXmlStreamReader& xml, QLatin1String root, const QString& what,
                                   QLatin1String entry, const std::function<void()>& readEntry)
{
    if (!xml.readNextStartElement() || xml.name() != root) {
        if (!xml.hasError())
            xml.raiseError(QStringLiteral("not %1 (no <%2>)").arg(what, root));
    }
    while (!xml.hasError() && xml.readNextStartElement()) {
        if (xml.name() != QLatin1String("COLLECTION")) {
            xml.skipCurrentElement();
            continue;
        }
        while (xml.readNextStartElement()) {
            if (xml.name() == entry)
                readEntry();
            else
                xml.skipCurrentElement();
        }
    }
}
