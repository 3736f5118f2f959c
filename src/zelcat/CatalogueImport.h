#pragma once

#include "GenreTypeMapper.h"
#include "ImportSummary.h"
#include "ImportedSong.h"

#include <QList>
#include <QSet>
#include <QString>
#include <QStringList>

#include <cstdio>

class ImportCatalogue;

// One import of an entertainer's music into the catalogue: creates the catalogue, or
// updates it when it exists, from any mix of sources (music folders, single audio files,
// M3U/M3U8 playlists, library and DJ collection XML exports, NML collections, CSV files),
// told apart by what they are.
//
// Every song already in the catalogue keeps its key; new songs take free keys; songs no
// source names any more stay unless pruning is asked for, and a pruned key is never given
// out again to another song (it returns to its own when the song comes back). An import that
// would pass 32,767 songs stops before writing. Files whose size and modification time are
// those of the last import are not read again, nor are files that failed then, unless a
// rescan is asked for. Bad input is reported and passed over; the catalogue is replaced only
// by a complete new file, and only one import at a time writes a catalogue (ImportLock).
//
// Pruning removes songs only when every source was read whole: a source that is missing,
// holds no songs (a drive not plugged in) or could be read only in part stops the import
// before anything is written, naming the source.
class CatalogueImport
{
  public:
    struct Options {
        QString out;
        QStringList sources;
        QString settingsFile; // settings of a new catalogue; empty: the sample's
        QString genresFile;
        QString defaultType = QStringLiteral("1");
        QString csvMap;
        double slowBelow = GenreTypeMapper::kDefaultSlowBelow;
        double upTempoFrom = GenreTypeMapper::kDefaultUpTempoFrom;
        bool prune = false;
        bool dryRun = false;
        bool rescan = false; // read every file's tags, also those unchanged or failed before
        QString reportFile;
        std::FILE* progress = nullptr; // where progress is shown; none when null
        bool progressOnTerminal = false;
    };

    enum class SourceKind {
        Folder,
        AudioFile,
        Playlist,
        LibraryXml,
        DjCollectionXml,
        NmlCollection,
        Csv,
        None
    };
    // What the source at `path` is; for None, `why` says why it is none of them.
    static SourceKind kindOf(const QString& path, QString* why);

    // False when the import is refused (bad options, a catalogue that is not one, too many
    // songs, a failed write); the catalogue is then left as it was.
    bool run(const Options& options);

    const ImportSummary& summary() const { return m_summary; }
    bool wrote() const { return m_wrote; }
    QString errorString() const { return m_error; }

  private:
    bool fail(const QString& message);
    bool checkPrune(const Options& o);
    void keepTitles(QList<ImportedSong>* songs);
    bool openCatalogue(const Options& o, ImportCatalogue* catalogue);
    bool readSources(const Options& o, QList<ImportedSong>* songs);
    void readTags(const Options& o, ImportCatalogue& catalogue, QList<ImportedSong>* songs);
    bool matchAndMerge(const Options& o, ImportCatalogue& catalogue, const GenreTypeMapper& mapper,
                       QList<ImportedSong>& songs);

    ImportSummary m_summary;
    QString m_error;
    bool m_wrote = false;
    QString m_reportFile;
    QStringList m_notWhole; // sources not read whole, each with why
    QSet<int> m_seen;       // keys of songs whose files exist but could not be read
};
