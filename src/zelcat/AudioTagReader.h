#pragma once

#include "ImportedSong.h"

#include <QString>
#include <QStringList>

// Reads the tags and the playing time of one audio file (every format the tag library
// reads: MP3, FLAC, Ogg Vorbis, Opus, MP4/M4A, WAV, AIFF, WMA and more): title, artist,
// genre, year, BPM when present. A file without a title takes it from its name
// ("Artist - Title.mp3"). The file is read only as far as its headers.
class AudioTagReader
{
  public:
    // The lower-case name endings of the files the tag library reads.
    static const QStringList& extensions();
    static bool isAudioFile(const QString& fileName);

    // Reads `song->path` and sets what the tags give over what `song` holds. False with
    // `reason` when the file is empty, cannot be read, or holds no audio.
    static bool read(ImportedSong* song, QString* reason);

    // Title and artist from a file name: "Artist - Title.ext", "01 - Artist - Title.ext" or
    // "Title.ext". Sets only what `song` lacks.
    static void fillFromFileName(ImportedSong* song);
};
