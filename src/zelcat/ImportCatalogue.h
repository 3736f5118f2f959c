#pragma once

#include "SettingsSheet.h"
#include "catalogue/CatalogueFormat.h"

#include <QHash>
#include <QList>
#include <QMap>
#include <QSet>
#include <QString>
#include <QStringList>

// A song of the catalogue as the importer keeps it: the MUSIC columns it writes, the
// categories it leaves alone, and what it remembers of the song's source (its file with
// size and modification time, genre and BPM) to match it again and skip unchanged files.
struct StoredSong {
    QString title;   // Name
    QString artist;  // UDF01
    QString year;    // UDF02
    QString time;    // Time, minutes:seconds
    QString type;    // Type
    QString subType; // SType1
    QString matrix;  // Matrix (special categories), never changed by an import
    // What a DJ knows of the song, shown as user fields 3 to 7 (ImportCatalogue::kDjFields).
    QString album, genreShown, bpmShown, musicalKey, folder;
    QString path;
    qint64 size = -1;
    qint64 mtime = -1;
    QString genre;
    double bpm = 0;

    // The columns of MUSIC the importer writes are the same.
    bool sameRow(const StoredSong& o) const
    {
        return title == o.title && artist == o.artist && year == o.year && time == o.time &&
               type == o.type && subType == o.subType && djFields() == o.djFields();
    }
    QStringList djFields() const { return {album, genreShown, bpmShown, musicalKey, folder}; }
    bool sameSource(const StoredSong& o) const
    {
        return path == o.path && size == o.size && mtime == o.mtime && genre == o.genre &&
               bpm == o.bpm;
    }
};

// A file whose tags could not be read, as it was then: it is not read again until its size
// or modification time changes.
struct FailedFile {
    qint64 size = -1;
    qint64 mtime = -1;
    QString reason;
    bool operator==(const FailedFile& o) const
    {
        return size == o.size && mtime == o.mtime && reason == o.reason;
    }
};

// The catalogue an import reads and writes: its settings, its songs by key, and the keys
// of removed songs with what identified them (title, artist, time, file), which are never
// given to another song but return to their own when it comes back. The importer's memory
// lives in tables of its own, ImportKeys (per key) and ImportFailed (files that could not
// be read), beside MUSIC and Config; the wizard reads only MUSIC and Config.
//
// save() writes a copy of the catalogue with the changes beside the file and renames it
// over the file only when it is complete and on disk, so a failure (a full disk, a crash)
// leaves the old catalogue whole. Columns the importer does not write (the categories,
// other user fields) and the settings stay as they are.
class ImportCatalogue
{
  public:
    static constexpr int kMaxKey = CatalogueFormat::kMaxKey;
    // The user fields the import fills beside the artist (UDF01) and the year (UDF02): their
    // columns from UDF03 on, named so in Config, and offered (UDFCount) by the song-pick
    // dialog. A field the catalogue's settings name otherwise is left to its owner.
    static const QStringList& djFieldNames();
    // Whether user field 3 + `i` is the import's (see djFieldNames()).
    bool ownsDjField(int i) const;

    // Reads an existing catalogue; false with errorString() when it is not one.
    bool load(const QString& fileName);
    // Starts a new, empty catalogue with `settings`.
    void create(const SettingsSheet& settings);

    bool isNew() const { return m_new; }
    const SettingsSheet& settings() const { return m_settings; }
    QMap<int, StoredSong>& songs() { return m_songs; }
    // Removed songs by their keys: the columns that identified them, path, size and time.
    QMap<int, StoredSong>& retired() { return m_retired; }
    // Files whose tags could not be read, by path.
    QHash<QString, FailedFile>& failedFiles() { return m_failed; }

    // Whether the songs or the retired keys differ from what load() read.
    bool hasChanges() const;
    bool save(const QString& fileName);
    QString errorString() const { return m_error; }

  private:
    bool apply(const QString& connectionName);

    bool m_new = true;
    QString m_source;
    SettingsSheet m_settings;
    QMap<int, StoredSong> m_songs;
    QMap<int, StoredSong> m_loaded;
    QMap<int, StoredSong> m_retired;
    QList<int> m_loadedRetired;
    QHash<QString, FailedFile> m_failed;
    QHash<QString, FailedFile> m_loadedFailed;
    QString m_error;
};
