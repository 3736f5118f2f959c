#pragma once

#include "XmlSongReader.h"

// Reads an NML collection: <NML> with a <COLLECTION> of <ENTRY> elements whose TITLE and
// ARTIST attributes name the song, with <LOCATION VOLUME DIR FILE> (folders of DIR written
// with "/:" between them; a VOLUME with a drive letter is a drive of another system), <INFO
// GENRE PLAYTIME RELEASE_DATE> and <TEMPO BPM>. The playlists refer only to entries of the
// collection and are not read. An entry without a title or file, or with a value out of its
// range, is reported with its line; a file that is not well-formed XML is passed over whole.
class NmlCollectionReader : public XmlSongReader
{
  public:
    using XmlSongReader::XmlSongReader;

  private:
    void readDocument(QXmlStreamReader& xml, const QString& fileName) override;
    void readEntry(QXmlStreamReader& xml, const QString& fileName);
};
