#include "CatalogueImport.h"

#include "AudioTagReader.h"
#include "CsvReader.h"
#include "DjCollectionXmlReader.h"
#include "FolderScanner.h"
#include "ImportCatalogue.h"
#include "ImportLock.h"
#include "ImportProgress.h"
#include "MappedCsvReader.h"
#include "MusicLibraryXmlReader.h"
#include "NmlCollectionReader.h"
#include "PlaylistReader.h"
#include "SongKeyKeeper.h"

#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QMap>
#include <QStringDecoder>
#include <QXmlStreamReader>

#include <algorithm>
#include <optional>

#include <sys/stat.h>

namespace
{
constexpr int kMaxText = 255;
const QString kSampleSettings = QStringLiteral(":/catalogue/settings.csv");

QString lengthText(int seconds)
{
    return QStringLiteral("%1:%2").arg(seconds / 60).arg(seconds % 60, 2, 10, QLatin1Char('0'));
}

// Size and modification time (ns) of a file, as the folder scanner takes them.
void stamp(ImportedSong* song)
{
    struct stat st {
    };
    if (::stat(QFile::encodeName(song->path).constData(), &st) == 0) {
        song->size = st.st_size;
        song->mtime = qint64(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec;
    }
}
} // namespace

bool CatalogueImport::fail(const QString& message)
{
    // The report lists what was passed over however the import ends.
    m_error = message;
    QString error;
    if (!m_reportFile.isEmpty() && !m_summary.writeReport(m_reportFile, &error))
        m_error += QStringLiteral("; ") + error;
    return false;
}

CatalogueImport::SourceKind CatalogueImport::kindOf(const QString& path, QString* why)
{
    const QFileInfo info(path);
    if (!info.exists()) {
        *why = QStringLiteral("does not exist");
        return SourceKind::None;
    }
    if (info.isDir())
        return SourceKind::Folder;
    // Only a regular file is opened: a pipe or a device would wait for ever or never end.
    struct stat st {
    };
    QFile file(path);
    if (::stat(QFile::encodeName(path).constData(), &st) != 0 || !S_ISREG(st.st_mode) ||
        !file.open(QIODevice::ReadOnly)) {
        *why = QStringLiteral("not a readable file or folder");
        return SourceKind::None;
    }
    QByteArray head = file.read(4096);
    if (head.startsWith("\xEF\xBB\xBF"))
        head.remove(0, 3);
    const QByteArray start = head.trimmed();
    if (start.startsWith('<')) {
        QXmlStreamReader xml(head);
        while (!xml.atEnd() && !xml.isStartElement())
            xml.readNext();
        if (xml.isStartElement() && xml.name() == QLatin1String("plist"))
            return SourceKind::LibraryXml;
        if (xml.isStartElement() && xml.name() == QLatin1String("DJ_PLAYLISTS"))
            return SourceKind::DjCollectionXml;
        if (xml.isStartElement() && xml.name() == QLatin1String("NML"))
            return SourceKind::NmlCollection;
        *why = xml.isStartElement()
                   ? QStringLiteral("an XML file of an unknown kind (its root element is <%1>, "
                                    "not <plist>, <DJ_PLAYLISTS> or <NML>)")
                         .arg(xml.name())
                   : QStringLiteral("an XML file whose beginning cannot be read: %1")
                         .arg(xml.errorString());
        return SourceKind::None;
    }
    const QString suffix = info.suffix().toLower();
    if (start.startsWith("#EXTM3U") || suffix == QLatin1String("m3u") ||
        suffix == QLatin1String("m3u8"))
        return SourceKind::Playlist;
    if (AudioTagReader::isAudioFile(info.fileName()))
        return SourceKind::AudioFile;
    const QByteArray firstLine = head.left(head.indexOf('\n'));
    if (suffix == QLatin1String("csv") || suffix == QLatin1String("tsv") ||
        firstLine.contains(',') || firstLine.contains(';') || firstLine.contains('\t'))
        return SourceKind::Csv;
    *why = QStringLiteral("not a folder, audio file, playlist, library XML or CSV file");
    return SourceKind::None;
}

bool CatalogueImport::openCatalogue(const Options& o, ImportCatalogue* catalogue)
{
    if (QFileInfo::exists(o.out)) {
        if (!catalogue->load(o.out))
            return fail(catalogue->errorString());
        if (!o.settingsFile.isEmpty())
            m_summary.notes << QStringLiteral("the settings of the existing catalogue are kept; "
                                              "--settings is used only for a new catalogue");
        return true;
    }
    const QString file = o.settingsFile.isEmpty() ? kSampleSettings : o.settingsFile;
    CsvReader csv;
    SettingsSheet settings;
    if (!csv.readFile(file))
        return fail(csv.errorString());
    if (!settings.load(csv, file))
        return fail(settings.errorString());
    catalogue->create(settings);
    return true;
}

bool CatalogueImport::readSources(const Options& o, QList<ImportedSong>* songs)
{
    MappedCsvReader csv(m_summary);
    QString error;
    if (!csv.setMapping(o.csvMap, &error))
        return fail(error);
    // A file named by several sources is one song; the first source that gives a value wins
    // (the file's own tags, read later, win over all of them).
    QHash<QString, qsizetype> atPath;
    qsizetype named = 0; // songs the current source names
    const auto take = [&](const QList<ImportedSong>& list) {
        named += list.size();
        for (const ImportedSong& s : list) {
            const auto it = s.path.isEmpty() ? atPath.cend() : atPath.constFind(s.path);
            if (it != atPath.cend()) {
                (*songs)[*it].fillFrom(s);
                continue;
            }
            if (!s.path.isEmpty())
                atPath.insert(s.path, songs->size());
            songs->append(s);
        }
    };
    const auto tooMany = [&](const QString& where) {
        return fail(QStringLiteral("%1: the sources name more than %2 songs, and a catalogue "
                                   "holds at most %3; nothing was written. Import the "
                                   "collection in parts that fit, or a playlist of the songs "
                                   "for weddings.")
                        .arg(where)
                        .arg(ImportedSong::kMaxPerImport)
                        .arg(ImportCatalogue::kMaxKey));
    };
    for (const QString& source : o.sources) {
        // An XML source of any kind: its songs (none when it was not read whole) are taken.
        const auto readXml = [&](XmlSongReader&& reader) {
            const bool whole = reader.read(source, ImportedSong::kMaxPerImport - songs->size());
            take(reader.songs());
            return reader.overflowed() ? std::optional<bool>() : whole;
        };
        QString why;
        bool ok = true;
        named = 0;
        const SourceKind kind = kindOf(source, &why);
        switch (kind) {
        case SourceKind::Folder:
        case SourceKind::AudioFile: {
            FolderScanner scanner(m_summary);
            ok = QFileInfo(source).isDir() ? scanner.scan(source) : scanner.addFile(source);
            if (ok && !scanner.whole())
                why = QStringLiteral("a folder in it cannot be read");
            ok = ok && scanner.whole();
            take(scanner.files());
            break;
        }
        case SourceKind::Playlist: {
            // Read with the room that is left, so that a playlist of a million lines stops
            // early instead of being held whole.
            PlaylistReader reader(m_summary);
            ok = reader.read(source, ImportedSong::kMaxPerImport - songs->size());
            if (reader.overflowLine() > 0)
                return tooMany(QStringLiteral("%1:%2").arg(source).arg(reader.overflowLine()));
            take(reader.songs());
            break;
        }
        case SourceKind::LibraryXml:
        case SourceKind::DjCollectionXml:
        case SourceKind::NmlCollection: {
            const std::optional<bool> whole =
                kind == SourceKind::LibraryXml        ? readXml(MusicLibraryXmlReader(m_summary))
                : kind == SourceKind::DjCollectionXml ? readXml(DjCollectionXmlReader(m_summary))
                                                      : readXml(NmlCollectionReader(m_summary));
            if (!whole)
                return tooMany(source);
            ok = *whole;
            break;
        }
        case SourceKind::Csv:
            ok = csv.read(source, ImportedSong::kMaxPerImport - songs->size());
            if (csv.overflowed())
                return tooMany(source);
            take(csv.songs());
            break;
        case SourceKind::None:
            m_summary.skip(source, 0, why);
            ok = false;
            break;
        }
        if (songs->size() > ImportedSong::kMaxPerImport)
            return tooMany(source);
        if (!ok)
            m_notWhole << QStringLiteral("%1 (%2)").arg(
                source, why.isEmpty() ? QStringLiteral("it cannot be read whole") : why);
        else if (named == 0)
            m_notWhole << QStringLiteral("%1 (it holds no songs)").arg(source);
    }
    return true;
}

bool CatalogueImport::checkPrune(const Options& o)
{
    if (!o.prune || m_notWhole.isEmpty())
        return true;
    return fail(QStringLiteral("--prune: nothing was removed and nothing written, because %1 "
                               "not read whole: %2. Connect the drive or mend the source and "
                               "import again, or import without --prune.")
                    .arg(m_notWhole.size() == 1
                             ? QStringLiteral("a source was")
                             : QStringLiteral("%1 sources were").arg(m_notWhole.size()),
                         m_notWhole.join(QStringLiteral("; "))));
}

void CatalogueImport::keepTitles(QList<ImportedSong>* songs)
{
    // A song without a usable title takes its file's name; one without either is passed over.
    for (ImportedSong& s : *songs) {
        s.title = s.title.simplified();
        if (s.title.isEmpty())
            s.title = QFileInfo(s.path).fileName().simplified();
        if (s.title.isEmpty())
            m_summary.skipAt(s.origin, QStringLiteral("the song has no title and no file name to "
                                                      "take one from"));
    }
    songs->removeIf([](const ImportedSong& s) { return s.title.isEmpty(); });
}

void CatalogueImport::readTags(const Options& o, ImportCatalogue& catalogue,
                               QList<ImportedSong>* songs)
{
    QHash<QString, int> keyOfPath;
    for (auto it = catalogue.songs().cbegin(); it != catalogue.songs().cend(); ++it)
        if (!it->path.isEmpty())
            keyOfPath.insert(it->path, it.key());

    qint64 total = 0;
    for (const ImportedSong& s : *songs)
        total += s.readTags ? 1 : 0;
    ImportProgress progress(o.progress, o.progressOnTerminal);
    progress.start(QStringLiteral("reading tags"), total);
    qint64 done = 0;
    QList<bool> unreadable(songs->size(), false);
    QHash<QString, FailedFile> failed; // the files that fail now, remembered for the next import
    for (qsizetype i = 0; i < songs->size(); ++i) {
        ImportedSong& s = (*songs)[i];
        if (!s.readTags)
            continue;
        progress.advance(done++);
        if (s.size < 0)
            stamp(&s);
        const int key = keyOfPath.value(s.path);
        const StoredSong* stored = key ? &catalogue.songs()[key] : nullptr;
        if (!o.rescan && stored && stored->size >= 0 && stored->size == s.size &&
            stored->mtime == s.mtime) {
            // The file is as it was at the last import: its tags are what the catalogue holds.
            auto take = [](QString& field, const QString& value) {
                if (!value.isEmpty())
                    field = value;
            };
            take(s.title, stored->title);
            take(s.artist, stored->artist);
            take(s.genre, stored->genre);
            s.year = stored->year.isEmpty() ? s.year : stored->year.toInt();
            s.seconds = stored->time.isEmpty() ? s.seconds : SongKeyKeeper::secondsOf(stored->time);
            s.bpm = stored->bpm > 0 ? stored->bpm : s.bpm;
            continue;
        }
        QString reason;
        const FailedFile before = catalogue.failedFiles().value(s.path);
        const bool failedBefore = !o.rescan && !before.reason.isEmpty() && before.size == s.size &&
                                  before.mtime == s.mtime;
        if (failedBefore)
            reason =
                before.reason + QStringLiteral(" (found at an earlier import; the file is "
                                               "read again when it changes, or with --rescan)");
        if (failedBefore || !AudioTagReader::read(&s, &reason)) {
            if (s.size >= 0)
                failed.insert(s.path, failedBefore ? before : FailedFile{s.size, s.mtime, reason});
            m_summary.skip(s.path, 0, reason);
            if (key)
                m_seen.insert(key); // the file is there: its song is not missing
            unreadable[i] = true;
        }
    }
    progress.advance(done);
    progress.finish();
    catalogue.failedFiles() = failed;
    qsizetype i = 0;
    songs->removeIf([&](const ImportedSong&) { return unreadable[i++]; });
}

bool CatalogueImport::matchAndMerge(const Options& o, ImportCatalogue& catalogue,
                                    const GenreTypeMapper& mapper, QList<ImportedSong>& songs)
{
    QMap<int, StoredSong>& stored = catalogue.songs();
    QMap<int, StoredSong>& retired = catalogue.retired();
    SongKeyKeeper keeper(stored, retired);
    // Songs whose files are here first, then those that name a file that is not here (a
    // playlist entry of a missing file, a library export of another computer), then those
    // without a file: a file claims its song before a mere mention of it does.
    QList<ImportedSong> ordered[3];
    for (ImportedSong& s : songs) {
        const bool here = s.readTags || (!s.path.isEmpty() && QFileInfo::exists(s.path));
        ordered[here ? 0 : s.path.isEmpty() ? 2 : 1].append(std::move(s));
    }
    songs = ordered[0] + ordered[1] + ordered[2];
    const qsizetype filesHere = ordered[0].size();

    QHash<int, ImportedSong> incoming; // by key; negative keys: songs beyond the last free key
    QSet<int> claimed;
    QList<int> order;
    int added = 0;
    int overflow = 0;
    for (qsizetype i = 0; i < songs.size(); ++i) {
        ImportedSong& s = songs[i];
        const bool fileHere = i < filesHere;
        const StoredSong* old = nullptr;
        int key = s.path.isEmpty() ? 0 : keeper.byPath(s.path);
        if (key == 0)
            key = keeper.byIdentity(s.title, s.artist, s.seconds, fileHere, claimed);
        if (key > 0 && stored.contains(key))
            old = &stored[key];
        if (old && !fileHere && !old->path.isEmpty() && QFileInfo::exists(old->path))
            s.path = old->path; // the file the catalogue knows is here: it stays the song's

        if (key != 0 && claimed.contains(key)) {
            incoming[key].fillFrom(s); // named again, by another source
            continue;
        }
        if (key == 0) {
            ++added;
            if ((key = keeper.takeKey()) == 0)
                key = -++overflow;
        } else if (retired.remove(key) > 0) {
            ++m_summary.returned; // a removed song is back: its key is its own again
        }
        incoming.insert(key, s);
        claimed.insert(key);
        order.append(key);
        keeper.remember(key, s.path.isEmpty() && old ? old->path : s.path, s.title, s.artist,
                        s.seconds);
    }
    if (overflow > 0)
        return fail(QStringLiteral("the catalogue can hold %1 songs: it holds %2, %3 keys of "
                                   "removed songs are kept from reuse, and this import adds %4 "
                                   "new songs, so %5 would not fit; nothing was written")
                        .arg(ImportCatalogue::kMaxKey)
                        .arg(stored.size())
                        .arg(retired.size())
                        .arg(added)
                        .arg(overflow));

    QMap<QString, int> unmatchedGenres;
    bool bpmWithoutSubTypes = false;
    for (const int key : order) {
        const ImportedSong& s = incoming[key];
        const bool isNew = !stored.contains(key);
        const StoredSong old = stored.value(key);
        StoredSong n = old;
        n.title = s.title.left(kMaxText);
        if (!s.artist.isEmpty())
            n.artist = s.artist.left(kMaxText);
        if (s.year > 0)
            n.year = QString::number(s.year);
        if (s.seconds > 0)
            n.time = lengthText(s.seconds);
        if (!s.genre.isEmpty())
            n.genre = s.genre;
        if (s.bpm > 0)
            n.bpm = s.bpm;
        if (!s.path.isEmpty() && (s.readTags || s.path != n.path)) {
            n.path = s.path;
            n.size = s.readTags ? s.size : -1;
            n.mtime = s.readTags ? s.mtime : -1;
        }
        if (!n.genre.isEmpty() || isNew) {
            bool matched = false;
            n.type = QString::number(mapper.typeFor(n.genre, &matched));
            if (!matched && !n.genre.isEmpty())
                ++unmatchedGenres[n.genre];
        }
        // What a DJ knows of the song, in the user fields the catalogue leaves to the import.
        const QString bpmText = n.bpm > 0 ? QString::number(qRound(n.bpm)) : QString();
        const QString folder = n.path.isEmpty() ? QString() : QFileInfo(n.path).path();
        int field = 0;
        for (const auto& [column, value] :
             {std::pair{&n.album, s.album}, std::pair{&n.genreShown, n.genre},
              std::pair{&n.bpmShown, bpmText}, std::pair{&n.musicalKey, s.musicalKey},
              std::pair{&n.folder, folder}})
            if (catalogue.ownsDjField(field++) && !value.isEmpty())
                *column = value.left(kMaxText);
        if (const int sub = mapper.subTypeFor(n.bpm))
            n.subType = QString::number(sub);
        bpmWithoutSubTypes = bpmWithoutSubTypes || (n.bpm > 0 && !mapper.hasTempoSubTypes());
        if (isNew)
            ++m_summary.added;
        else if (old.sameRow(n))
            ++m_summary.unchanged;
        else
            ++m_summary.updated;
        stored.insert(key, n);
    }

    for (const int key : stored.keys()) {
        if (incoming.contains(key))
            continue;
        if (o.prune && !m_seen.contains(key)) {
            retired.insert(key, stored.take(key));
            ++m_summary.pruned;
        } else {
            ++m_summary.keptMissing;
        }
    }

    if (!unmatchedGenres.isEmpty()) {
        QList<std::pair<int, QString>> byCount;
        int songsUnmatched = 0;
        for (auto it = unmatchedGenres.cbegin(); it != unmatchedGenres.cend(); ++it) {
            byCount.append({-it.value(), it.key()});
            songsUnmatched += it.value();
        }
        std::sort(byCount.begin(), byCount.end());
        QStringList named;
        for (qsizetype i = 0; i < byCount.size() && i < 8; ++i)
            named << QStringLiteral("%1 (%2)").arg(byCount[i].second).arg(-byCount[i].first);
        if (byCount.size() > 8)
            named << QStringLiteral("%1 more").arg(byCount.size() - 8);
        m_summary.notes << QStringLiteral("%1 songs have a genre that names no type and is not in "
                                          "the mapping file, and took type %2 (%3): %4")
                               .arg(songsUnmatched)
                               .arg(mapper.defaultType())
                               .arg(mapper.typeName(mapper.defaultType()),
                                    named.join(QStringLiteral(", ")));
    }
    if (bpmWithoutSubTypes)
        m_summary.notes << QStringLiteral("BPM values give no sub-types: the catalogue has no "
                                          "sub-types named Slow, Mid-Tempo and Up-Tempo");
    return true;
}

bool CatalogueImport::run(const Options& o)
{
    m_summary = ImportSummary();
    m_error.clear();
    QString error;
    m_wrote = false;
    m_notWhole.clear();
    m_reportFile = o.reportFile;
    m_seen.clear();
    if (o.sources.isEmpty())
        return fail(QStringLiteral("give at least one source: a music folder, playlist, library "
                                   "XML or CSV file"));

    // Held until the new catalogue is in place, so a second import reads what this one wrote.
    ImportLock lock(o.out);
    if (!o.dryRun && !lock.take(0, &error))
        return fail(error);
    ImportCatalogue catalogue;
    if (!openCatalogue(o, &catalogue))
        return false;
    GenreTypeMapper mapper(catalogue.settings());
    if ((!o.genresFile.isEmpty() && !mapper.loadMappingFile(o.genresFile, &error)) ||
        !mapper.setDefaultType(o.defaultType, &error) ||
        !mapper.setTempoBounds(o.slowBelow, o.upTempoFrom, &error))
        return fail(error);

    QList<ImportedSong> unique; // one for each file named, and the songs without a file
    if (!readSources(o, &unique) || !checkPrune(o))
        return false;
    readTags(o, catalogue, &unique);
    keepTitles(&unique);
    if (!matchAndMerge(o, catalogue, mapper, unique))
        return false;

    m_summary.songsInCatalogue = int(catalogue.songs().size());
    if (catalogue.isNew() && catalogue.songs().isEmpty())
        return fail(QStringLiteral("no songs were found in the sources; no catalogue is written"));
    if (!o.reportFile.isEmpty() && !m_summary.writeReport(o.reportFile, &error))
        return fail(error);
    if (o.dryRun) {
        m_summary.notes << QStringLiteral("dry run: nothing was written");
        return true;
    }
    if (!catalogue.hasChanges()) {
        m_summary.notes << QStringLiteral("the catalogue is up to date; it was not written");
        return true;
    }
    if (!catalogue.save(o.out))
        return fail(catalogue.errorString());
    m_wrote = true;
    return true;
}
