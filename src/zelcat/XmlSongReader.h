#pragma once

#include "ImportSummary.h"
#include "ImportedSong.h"

#include <QLatin1String>
#include <QList>
#include <QString>

#include <functional>

class QXmlStreamReader;

// What the importer's XML sources share: the file is opened and read as XML by the kind's
// own walk; a file that cannot be opened is reported, and one that is not well-formed XML,
// or not of its kind, is passed over whole with the line of the fault: the songs before the
// fault are not taken, nor are the reports of its single entries.
class XmlSongReader
{
  public:
    explicit XmlSongReader(ImportSummary& summary) : m_summary(summary) {}
    virtual ~XmlSongReader() = default;

    // False when the file is passed over, and when it holds more than `room` songs: then it
    // is read only that far and none are taken (overflowed()).
    bool read(const QString& fileName, qsizetype room = ImportedSong::kMaxPerImport);
    const QList<ImportedSong>& songs() const { return m_songs; }
    bool overflowed() const { return m_overflowed; }

  protected:
    // Reads the document from its start; raises an error on `xml` when it is not of its kind.
    virtual void readDocument(QXmlStreamReader& xml, const QString& fileName) = 0;

    // The walk of a collection: the root element `root` (else the error "not `what`"), its
    // <COLLECTION> elements and, in them, each `entry` element handed to `readEntry`, which
    // reads it to its end. Everything else is skipped.
    static void readCollection(QXmlStreamReader& xml, QLatin1String root, const QString& what,
                               QLatin1String entry, const std::function<void()>& readEntry);

    // Takes a song read; beyond the room, stops the reading with an error on `xml`.
    void keep(QXmlStreamReader& xml, const ImportedSong& song);

    ImportSummary& m_summary;
    QList<ImportedSong> m_songs;

  private:
    qsizetype m_room = 0;
    bool m_overflowed = false;
};
