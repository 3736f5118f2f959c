#pragma once

#include "SettingsSheet.h"
#include "catalogue/CatalogueFormat.h"

#include <QMap>
#include <QSet>
#include <QString>

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
    QString path;
    qint64 size = -1;
    qint64 mtime = -1;
    QString genre;
    double bpm = 0;

    // The columns of MUSIC the importer writes are the same.
    bool sameRow(const StoredSong& o) const
    {
        return title == o.title && artist == o.artist && year == o.year && time == o.time &&
               type == o.type && subType == o.subType;
    }
    bool sameSource(const StoredSong& o) const
    {
        return path == o.path && size == o.size && mtime == o.mtime && genre == o.genre &&
               bpm == o.bpm;
    }
};

// The catalogue an import reads and writes: its settings, its songs by key, and the keys
// of removed songs that are never given out again. The importer's memory lives in a table
// of its own, ImportKeys, beside MUSIC and Config; the wizard reads neither it nor anything
// else but MUSIC and Config.
//
// save() writes a copy of the catalogue with the changes beside the file and renames it
// over the file only when it is complete and on disk, so a failure (a full disk, a crash)
// leaves the old catalogue whole. Columns the importer does not write (the categories,
// other user fields) and the settings stay as they are.
class ImportCatalogue
{
  public:
    static constexpr int kMaxKey = CatalogueFormat::kMaxKey;

    // Reads an existing catalogue; false with errorString() when it is not one.
    bool load(const QString& fileName);
    // Starts a new, empty catalogue with `settings`.
    void create(const SettingsSheet& settings);

    bool isNew() const { return m_new; }
    const SettingsSheet& settings() const { return m_settings; }
    QMap<int, StoredSong>& songs() { return m_songs; }
    QSet<int>& retiredKeys() { return m_retired; }

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
    QSet<int> m_retired;
    QSet<int> m_loadedRetired;
    QString m_error;
};
