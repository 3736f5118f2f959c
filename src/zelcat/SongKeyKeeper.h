#pragma once

#include "ImportCatalogue.h"

#include <QHash>
#include <QMultiHash>
#include <QSet>
#include <QString>

// Finds the catalogue key of a song an import names, so that a song keeps its key on every
// import, and gives out keys for new songs.
//
// A song is found by its file path; failing that, by its title and artist normalised
// (letter case, blanks, a leading "The ", feat. credits) and a playing time within two
// seconds (or not known on either side). A song with a file is matched this way only to a
// catalogue song whose file is gone or was never known, so two copies of a song in two
// files stay two songs.
//
// A removed song is found the same way, by the file or the identity it had, so a song that
// comes back takes its old key again.
//
// New keys are the free keys of 1..32767: first above every key ever given, then the gaps.
// A key in use or retired (its song removed) is never given to another song, since an older
// catalogue and the song lists made with it may still refer to it.
class SongKeyKeeper
{
  public:
    SongKeyKeeper(const QMap<int, StoredSong>& songs, const QMap<int, StoredSong>& retired);

    // The text as it is compared: case-folded, blanks collapsed, feat. credits and a leading
    // "The " dropped.
    static QString normalised(const QString& text);
    // Playing time of "m:ss" or "h:mm:ss"; 0 when unknown or beyond 100 hours.
    static int secondsOf(const QString& time);

    int byPath(const QString& path) const { return m_byPath.value(path); }
    // A key whose song has this title, artist and time; 0 when there is none. With
    // `forFile`, only songs not yet `claimed` whose file is gone or unknown are taken.
    int byIdentity(const QString& title, const QString& artist, int seconds, bool forFile,
                   const QSet<int>& claimed) const;
    // Records what is now known of the song under `key` (a new song, or a new path).
    void remember(int key, const QString& path, const QString& title, const QString& artist,
                  int seconds);

    // Takes the next free key; 0 when there is none.
    int takeKey();

  private:
    struct Known {
        QString path;
        int seconds = 0;
    };
    static QString identity(const QString& title, const QString& artist);

    QHash<QString, int> m_byPath;
    QMultiHash<QString, int> m_byIdentity;
    QHash<int, Known> m_known;
    QSet<int> m_retired;
    int m_next = 1;
    int m_gap = 1;
};
