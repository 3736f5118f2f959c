#pragma once

#include <QString>
#include <QtGlobal>

// A song as the lists, the schedule and the song-pick dialog hand it on. Key is the
// catalogue's dbKey, or -2 (entered by hand, music not supplied) or -3 (music provided).
struct PickedSongRecord {
    qint16 Key = 0;
    QString Title;
    QString Artist;
    QString Length;

    bool operator==(const PickedSongRecord&) const = default;
};
