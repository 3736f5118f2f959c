#pragma once

#include "XmlSongReader.h"

// Reads the collection of a DJ library exported as XML: <DJ_PLAYLISTS> with a <COLLECTION>
// of <TRACK> elements whose attributes give Name, Artist, Genre, Year, AverageBpm,
// TotalTime in seconds and Location as a file:// address. The <PLAYLISTS> part only refers
// to tracks of the collection and is not read. A track without a name or location, or with
// a value that is not a number, is reported with its line; a file that is not well-formed
// XML is passed over whole, with the line of the fault.
class DjCollectionXmlReader : public XmlSongReader
{
  public:
    using XmlSongReader::XmlSongReader;

  private:
    void readDocument(QXmlStreamReader& xml, const QString& fileName) override;
    void readTrack(QXmlStreamReader& xml, const QString& fileName, const QString& folder);
};
