#pragma once

#include <QHash>
#include <QList>
#include <QString>

// A song of the catalogue with the file an import found for it (empty when none).
struct LibrarySong {
    int key = 0;
    QString title;
    QString artist;
    int seconds = 0; // 0: not known
    QString path;
};

// The songs of a catalogue and their files, as the importer remembers them beside the
// songs: what turns the couple's lists into playlists that play. The catalogue is only read.
class LibrarySongs
{
  public:
    // Reads `catalogue`; false with `error` when it cannot be read as a song catalogue. A
    // catalogue no import wrote has songs without files.
    bool read(const QString& catalogue, QString* error);

    const QList<LibrarySong>& songs() const { return m_songs; }
    // The song with `key`; null when there is none.
    const LibrarySong* byKey(int key) const;

  private:
    QList<LibrarySong> m_songs;
    QHash<int, qsizetype> m_byKey;
};
