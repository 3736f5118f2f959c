#pragma once

#include "ImportSummary.h"
#include "ImportedSong.h"

#include <QList>
#include <QString>

// Reads an M3U or M3U8 playlist: one file path or file:// address per line, relative paths
// taken from the playlist's folder, with the playing time and "Artist - Title" of the
// #EXTINF line before it. An entry whose file exists is read for its tags later (the
// #EXTINF values fill in what its tags lack); an entry whose file is missing keeps its
// path and the #EXTINF values. Lines that are not UTF-8 are read as Latin-1 (older M3U).
// Stream addresses (http:// and the like) are no songs of the collection and are reported.
class PlaylistReader
{
  public:
    explicit PlaylistReader(ImportSummary& summary) : m_summary(summary) {}

    // False (reported in the summary) when the playlist cannot be read at all, and when it
    // names more than `room` songs: then it stops at that entry (overflowLine()).
    bool read(const QString& fileName, qsizetype room = ImportedSong::kMaxPerImport);
    const QList<ImportedSong>& songs() const { return m_songs; }
    // The line of the first entry beyond the room given to read(); 0 when all fitted.
    int overflowLine() const { return m_overflowLine; }

    // The absolute, canonical when it exists, path of `entry` relative to `folder`; a
    // file:// address is turned into its path first. Empty for other addresses.
    static QString resolve(const QString& entry, const QString& folder);

  private:
    ImportSummary& m_summary;
    QList<ImportedSong> m_songs;
    int m_overflowLine = 0;
};
