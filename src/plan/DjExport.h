#pragma once

#include "catalogue/LibrarySongs.h"
#include "store/EventPlan.h"

#include <QByteArray>
#include <QList>
#include <QString>

#include <vector>

// The couple's songs as the entertainer's DJ software takes them: the two lists and the
// schedule's songs (in the evening's order) as M3U8 playlists of the songs' files, a
// DJ-collection XML (DJ_PLAYLISTS) and an NML collection each holding the three playlists,
// and missing.csv with every song the library has no file for and its closest matches.
//
// A song of the lists is the library's song when its key names a song of the same title,
// else when a song of the library has its title and artist; it plays when that song has a
// file. Songs without a file never give a playlist entry.
class DjExport
{
  public:
    struct Entry {
        QString title;
        QString artist;
        int seconds = 0;
        const LibrarySong* song = nullptr; // the library's song with a file, if any
    };
    struct Playlist {
        QString name; // include, exclude, schedule
        QList<Entry> entries;
    };
    struct Match {
        const LibrarySong* song = nullptr;
        int similarity = 0; // percent
    };

    // `relativeTo`: when not empty, the M3U8 entries are paths relative to this folder.
    DjExport(const EventPlan& plan, const LibrarySongs& library, const QString& relativeTo = {});

    const QList<Playlist>& playlists() const { return m_lists; }
    QByteArray m3u8(const Playlist& list) const;
    QByteArray collectionXml() const;
    QByteArray nml() const;
    QByteArray missingCsv() const;

    // Writes include.m3u8, exclude.m3u8, schedule.m3u8, collection.xml, collection.nml and
    // missing.csv into `folder`; each file is replaced only when complete.
    bool writeAll(const QString& folder, QString* error) const;

  private:
    QList<const LibrarySong*> withFiles() const;
    // Up to three songs of the library whose title and artist come closest, best first.
    // `common`: one zero for each song of the library, zero again on return.
    QList<Match> closest(const Entry& entry, std::vector<int>& common) const;

    const LibrarySongs& m_library;
    QString m_relativeTo;
    QList<Playlist> m_lists;
    // Title bigrams of the library's songs: which songs hold each, for the closest matches.
    QHash<quint32, std::vector<int>> m_bigramSongs;
    std::vector<int> m_bigramCount;
};
