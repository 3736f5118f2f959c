#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

// Writes small but valid audio files of every format the importer reads (no real sound;
// just the headers and frames a player needs to know the format and the playing time) and
// tags them with TagLib, as the files of an entertainer's collection would be tagged.
class AudioFixture
{
  public:
    struct Tags {
        QString title, artist, genre;
        int year = 0;
        int bpm = 0;
    };

    // The name endings written: mp3 flac ogg opus m4a wav aiff wma.
    static const QStringList& formats();
    // The bytes of an untagged file of `format` playing `seconds` (WAV: at most a few).
    static QByteArray audio(const QString& format, int seconds);
    // Writes an untagged file, then tags it; false when either fails.
    static bool write(const QString& path, int seconds, const Tags& tags);
};
