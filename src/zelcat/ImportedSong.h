#pragma once

#include <QString>
#include <QtGlobal>

// One song as a source of an import names it: a tagged file, a playlist entry, a track of
// a library export or a line of a CSV file. Empty texts and zero numbers mean "not given",
// so that another source naming the same song can fill them in.
struct ImportedSong {
    // The most songs one import takes from its sources (after a file named twice counts
    // once): twice what a catalogue holds, which leaves room for songs named under two files.
    // More are refused while reading, so that a huge listing never fills the memory.
    static constexpr qsizetype kMaxPerImport = 2 * 32767;

    QString path; // absolute path of the song's file; empty when the source names none
    QString title;
    QString artist;
    QString genre;
    QString album;
    QString musicalKey;    // as the source writes it ("8A", "Am", "F#m")
    int year = 0;          // 0: not given
    int seconds = 0;       // playing time; 0: not given
    double bpm = 0;        // beats per minute; 0: not given
    qint64 size = -1;      // of the file when it was read; -1: not known
    qint64 mtime = -1;     // modification time of the file (ns since the epoch); -1: not known
    bool readTags = false; // the file is to be read for its tags
    QString origin;        // where the song was named, for messages: "file" or "file:line"

    // Fills in what this song lacks from `other`.
    void fillFrom(const ImportedSong& other)
    {
        auto fill = [](QString& a, const QString& b) {
            if (a.isEmpty())
                a = b;
        };
        fill(path, other.path);
        fill(title, other.title);
        fill(artist, other.artist);
        fill(genre, other.genre);
        fill(album, other.album);
        fill(musicalKey, other.musicalKey);
        if (year == 0)
            year = other.year;
        if (seconds == 0)
            seconds = other.seconds;
        if (bpm <= 0)
            bpm = other.bpm;
        readTags = readTags || other.readTags;
    }
};
