#pragma once

#include "store/PickedSongRecord.h"

#include <QList>
#include <QString>

// How the song-pick dialog was left: a song picked (with the song), nothing picked (Quit,
// Escape or the close box), or "I can't find the song", which sends the opener on to the
// custom song dialog.
struct SongPick {
    enum Outcome { NotPicked, Picked, CantFind };
    Outcome outcome = NotPicked;
    PickedSongRecord song; // the picked song; only meaningful when outcome is Picked
    // For a song list: every song picked, in the grid's order (`song` is the first); empty
    // when the dialog picked one song only.
    QList<PickedSongRecord> songs;

    static SongPick picked(const PickedSongRecord& song) { return {Picked, song, {}}; }
    static SongPick cantFind() { return {CantFind, {}, {}}; }
};

// What a song list asks of the song-pick dialog: several songs at once, as many as the
// list still takes; the songs already on it are marked and not picked again, and a song of
// the other list is picked only when the couple says so.
struct SongListRequest {
    int room = 0;
    QList<PickedSongRecord> onList;
    QList<PickedSongRecord> onOther;
    QString otherList; // "songs not to play"
};
