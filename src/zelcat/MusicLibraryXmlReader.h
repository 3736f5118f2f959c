#pragma once

#include "XmlSongReader.h"

// Reads the track list of a music library exported as a property list ("Library.xml": a
// <plist> whose top <dict> holds "Tracks", a <dict> of one <dict> per track with Name,
// Artist, Genre, Year, BPM, Total Time in milliseconds and Location as a file:// address).
// Videos and podcast episodes are reported and passed over, as are tracks without a name
// or location and values that are not numbers, each with its line. A file that is not
// well-formed XML is passed over whole, with the line of the fault.
class MusicLibraryXmlReader : public XmlSongReader
{
  public:
    using XmlSongReader::XmlSongReader;

  private:
    void readDocument(QXmlStreamReader& xml, const QString& fileName) override;
    void readTracks(QXmlStreamReader& xml, const QString& fileName);
    void readTrack(QXmlStreamReader& xml, const QString& fileName);
};
