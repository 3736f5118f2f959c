#pragma once

#include "store/PickedSongRecord.h"

// How the song-pick dialog was left: a song picked (with the song), nothing picked (Quit,
// Escape or the close box), or "I can't find the song", which sends the opener on to the
// custom song dialog.
struct SongPick {
    enum Outcome { NotPicked, Picked, CantFind };
    Outcome outcome = NotPicked;
    PickedSongRecord song; // the picked song; only meaningful when outcome is Picked

    static SongPick picked(const PickedSongRecord& song) { return {Picked, song}; }
    static SongPick cantFind() { return {CantFind, {}}; }
};
