#include "XmlSongReader.h"

#include <QFile>
#include <QXmlStreamReader>

bool XmlSongReader::read(const QString& fileName)
{
    m_songs.clear();
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly)) {
        m_summary.skip(fileName, 0, QStringLiteral("cannot be read: %1").arg(file.errorString()));
        return false;
    }
    const qint64 skippedBefore = m_summary.skippedCount();
    QXmlStreamReader xml(&file);
    readDocument(xml, fileName);
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
