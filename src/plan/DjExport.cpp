#include "DjExport.h"

#include "platform/CsvText.h"

#include <QDir>
#include <QFileInfo>
#include <QSaveFile>
#include <QSet>
#include <QtConcurrent/QtConcurrentMap>
#include <QUrl>
#include <QXmlStreamWriter>

#include <algorithm>
#include <iterator>

namespace
{
// A text as it is compared: letters and digits, case-folded, single blanks.
QString folded(const QString& text)
{
    QString s = text.toCaseFolded();
    for (QChar& c : s)
        if (!c.isLetterOrNumber())
            c = QLatin1Char(' ');
    return s.simplified();
}

// The distinct pairs of neighbouring characters of the folded text, blank-padded, sorted.
QList<quint32> bigrams(const QString& text)
{
    const QString s = QLatin1Char(' ') + folded(text) + QLatin1Char(' ');
    QList<quint32> out;
    out.reserve(s.size());
    for (qsizetype i = 0; i + 1 < s.size(); ++i)
        out.append(quint32(s[i].unicode()) << 16 | s[i + 1].unicode());
    std::sort(out.begin(), out.end());
    out.erase(std::unique(out.begin(), out.end()), out.end());
    return out;
}

// The length of the titles and artists compared for the closest matches (the exact match
// takes them whole): few titles are longer, their start tells them apart, and a very long
// text typed into a list is looked up in a bounded time.
constexpr qsizetype kCompared = 100;

double dice(const QList<quint32>& a, const QList<quint32>& b)
{
    if (a.isEmpty() && b.isEmpty())
        return 1;
    QList<quint32> common;
    std::set_intersection(a.cbegin(), a.cend(), b.cbegin(), b.cend(), std::back_inserter(common));
    return 2.0 * double(common.size()) / double(a.size() + b.size());
}

// The file's location as a URI of the DJ-collection formats: file://localhost/ and the path,
// or file://HOST/ for a network path.
QString uriOf(const QString& path)
{
    QString rest = path;
    QString host = QStringLiteral("localhost");
    if (rest.startsWith(QLatin1String("//"))) {
        host = rest.section(QLatin1Char('/'), 2, 2);
        rest = rest.section(QLatin1Char('/'), 3);
    }
    while (rest.startsWith(QLatin1Char('/')))
        rest.remove(0, 1);
    return QStringLiteral("file://%1/%2")
        .arg(host, QString::fromLatin1(QUrl::toPercentEncoding(rest, "/:")));
}
} // namespace

DjExport::DjExport(const EventPlan& plan, const LibrarySongs& library, const QString& relativeTo)
    : m_library(library), m_relativeTo(relativeTo)
{
    QHash<QString, const LibrarySong*> byName;
    const QList<LibrarySong>& songs = library.songs();
    for (qsizetype i = 0; i < songs.size(); ++i) {
        const LibrarySong& s = songs[i];
        const QString name = folded(s.title) + QChar(0x1f) + folded(s.artist);
        if (!s.path.isEmpty() && !byName.contains(name))
            byName.insert(name, &s);
    }
    auto entry = [&](int key, const QString& title, const QString& artist, int seconds) {
        Entry e{title, artist, seconds, nullptr};
        const LibrarySong* s = key > 0 ? library.byKey(key) : nullptr;
        const QString name = folded(title);
        if (!s || folded(s->title) != name || s->path.isEmpty())
            s = byName.value(name + QChar(0x1f) + folded(artist));
        e.song = s && !s->path.isEmpty() ? s : nullptr;
        if (e.song && e.seconds <= 0)
            e.seconds = e.song->seconds;
        return e;
    };
    for (const auto& [name, list] : {std::pair{QStringLiteral("include"), &plan.Include},
                                     std::pair{QStringLiteral("exclude"), &plan.Exclude}}) {
        Playlist p{name, {}};
        for (const PlanSong& s : *list)
            p.entries.append(
                entry(s.Key, s.Title, s.Artist, s.Length.isGiven() ? s.Length.value : 0));
        m_lists.append(p);
    }
    // The schedule's songs in the evening's order: times before the start belong to the
    // hours after midnight.
    QList<const ScheduledActivity*> timed;
    for (const ScheduledActivity& a : plan.Schedule)
        if (!a.SongTitle.trimmed().isEmpty())
            timed.append(&a);
    const QTime start = plan.Times.Start.value;
    auto order = [&](const ScheduledActivity* a) {
        const int t = a->Time.value.isValid() ? a->Time.value.msecsSinceStartOfDay() : 0;
        return t < start.msecsSinceStartOfDay() ? t + 86400000 : t;
    };
    std::stable_sort(timed.begin(), timed.end(),
                     [&](auto* a, auto* b) { return order(a) < order(b); });
    Playlist schedule{QStringLiteral("schedule"), {}};
    for (const ScheduledActivity* a : timed)
        schedule.entries.append(entry(a->SongKey.value_or(0), a->SongTitle, a->SongArtist, 0));
    m_lists.append(schedule);

    // The index of the closest matches, needed only when a song has no file.
    bool missing = false;
    for (const Playlist& p : m_lists)
        for (const Entry& e : p.entries)
            missing = missing || !e.song;
    if (!missing)
        return;
    m_bigramCount.resize(songs.size());
    for (qsizetype i = 0; i < songs.size(); ++i) {
        const QList<quint32> grams = bigrams(songs[i].title.left(kCompared));
        m_bigramCount[i] = int(grams.size());
        for (const quint32 g : grams)
            m_bigramSongs[g].push_back(int(i));
    }
}

QList<const LibrarySong*> DjExport::withFiles() const
{
    QList<const LibrarySong*> out;
    QSet<const LibrarySong*> seen;
    for (const Playlist& p : m_lists)
        for (const Entry& e : p.entries)
            if (e.song && !seen.contains(e.song)) {
                seen.insert(e.song);
                out.append(e.song);
            }
    return out;
}

QByteArray DjExport::m3u8(const Playlist& list) const
{
    QString out = QStringLiteral("#EXTM3U\n");
    const QDir base(m_relativeTo);
    for (const Entry& e : list.entries) {
        if (!e.song)
            continue;
        const QString& path = e.song->path;
        out += QStringLiteral("#EXTINF:%1,%2 - %3\n%4\n")
                   .arg(e.seconds > 0 ? e.seconds : -1)
                   .arg(e.artist, e.title,
                        m_relativeTo.isEmpty() || !QDir::isAbsolutePath(path)
                            ? path
                            : base.relativeFilePath(path));
    }
    return out.toUtf8();
}

QByteArray DjExport::collectionXml() const
{
    QByteArray bytes;
    QXmlStreamWriter w(&bytes);
    w.setAutoFormatting(true);
    w.writeStartDocument();
    w.writeStartElement(QStringLiteral("DJ_PLAYLISTS"));
    w.writeAttribute(QStringLiteral("Version"), QStringLiteral("1.0.0"));
    w.writeEmptyElement(QStringLiteral("PRODUCT"));
    w.writeAttribute(QStringLiteral("Name"), QStringLiteral("zelplan"));
    const QList<const LibrarySong*> songs = withFiles();
    w.writeStartElement(QStringLiteral("COLLECTION"));
    w.writeAttribute(QStringLiteral("Entries"), QString::number(songs.size()));
    for (const LibrarySong* s : songs) {
        w.writeEmptyElement(QStringLiteral("TRACK"));
        w.writeAttribute(QStringLiteral("TrackID"), QString::number(s->key));
        w.writeAttribute(QStringLiteral("Name"), s->title);
        w.writeAttribute(QStringLiteral("Artist"), s->artist);
        if (s->seconds > 0)
            w.writeAttribute(QStringLiteral("TotalTime"), QString::number(s->seconds));
        w.writeAttribute(QStringLiteral("Location"), uriOf(s->path));
    }
    w.writeEndElement();
    w.writeStartElement(QStringLiteral("PLAYLISTS"));
    w.writeStartElement(QStringLiteral("NODE"));
    w.writeAttribute(QStringLiteral("Type"), QStringLiteral("0"));
    w.writeAttribute(QStringLiteral("Name"), QStringLiteral("ROOT"));
    w.writeAttribute(QStringLiteral("Count"), QString::number(m_lists.size()));
    for (const Playlist& p : m_lists) {
        w.writeStartElement(QStringLiteral("NODE"));
        w.writeAttribute(QStringLiteral("Name"), p.name);
        w.writeAttribute(QStringLiteral("Type"), QStringLiteral("1"));
        w.writeAttribute(QStringLiteral("KeyType"), QStringLiteral("0"));
        QList<const Entry*> playing;
        for (const Entry& e : p.entries)
            if (e.song)
                playing.append(&e);
        w.writeAttribute(QStringLiteral("Entries"), QString::number(playing.size()));
        for (const Entry* e : playing) {
            w.writeEmptyElement(QStringLiteral("TRACK"));
            w.writeAttribute(QStringLiteral("Key"), QString::number(e->song->key));
        }
        w.writeEndElement();
    }
    w.writeEndElement();
    w.writeEndElement();
    w.writeEndElement();
    w.writeEndDocument();
    return bytes;
}

QByteArray DjExport::nml() const
{
    // A location is a volume, a folder written with "/:" between its names, and a file.
    auto location = [](const QString& path, QString* volume, QString* dir, QString* file) {
        QString rest = path;
        *volume = QString();
        if (rest.size() > 1 && rest[1] == QLatin1Char(':'))
            *volume = rest.left(2), rest = rest.mid(2);
        *file = rest.section(QLatin1Char('/'), -1);
        const QString folder = rest.left(rest.size() - file->size());
        *dir = QString(folder).replace(QLatin1Char('/'), QLatin1String("/:"));
    };
    QByteArray bytes;
    QXmlStreamWriter w(&bytes);
    w.setAutoFormatting(true);
    w.writeStartDocument();
    w.writeStartElement(QStringLiteral("NML"));
    w.writeAttribute(QStringLiteral("VERSION"), QStringLiteral("19"));
    w.writeEmptyElement(QStringLiteral("HEAD"));
    w.writeAttribute(QStringLiteral("PROGRAM"), QStringLiteral("zelplan"));
    const QList<const LibrarySong*> songs = withFiles();
    QHash<const LibrarySong*, QString> keyOf;
    w.writeStartElement(QStringLiteral("COLLECTION"));
    w.writeAttribute(QStringLiteral("ENTRIES"), QString::number(songs.size()));
    for (const LibrarySong* s : songs) {
        QString volume, dir, file;
        location(s->path, &volume, &dir, &file);
        keyOf.insert(s, volume + dir + file);
        w.writeStartElement(QStringLiteral("ENTRY"));
        w.writeAttribute(QStringLiteral("TITLE"), s->title);
        w.writeAttribute(QStringLiteral("ARTIST"), s->artist);
        w.writeEmptyElement(QStringLiteral("LOCATION"));
        w.writeAttribute(QStringLiteral("DIR"), dir);
        w.writeAttribute(QStringLiteral("FILE"), file);
        w.writeAttribute(QStringLiteral("VOLUME"), volume);
        w.writeEmptyElement(QStringLiteral("INFO"));
        if (s->seconds > 0)
            w.writeAttribute(QStringLiteral("PLAYTIME"), QString::number(s->seconds));
        w.writeEndElement();
    }
    w.writeEndElement();
    w.writeStartElement(QStringLiteral("PLAYLISTS"));
    w.writeStartElement(QStringLiteral("NODE"));
    w.writeAttribute(QStringLiteral("TYPE"), QStringLiteral("FOLDER"));
    w.writeAttribute(QStringLiteral("NAME"), QStringLiteral("$ROOT"));
    w.writeStartElement(QStringLiteral("SUBNODES"));
    w.writeAttribute(QStringLiteral("COUNT"), QString::number(m_lists.size()));
    for (const Playlist& p : m_lists) {
        w.writeStartElement(QStringLiteral("NODE"));
        w.writeAttribute(QStringLiteral("TYPE"), QStringLiteral("PLAYLIST"));
        w.writeAttribute(QStringLiteral("NAME"), p.name);
        w.writeStartElement(QStringLiteral("PLAYLIST"));
        int n = 0;
        for (const Entry& e : p.entries)
            n += e.song ? 1 : 0;
        w.writeAttribute(QStringLiteral("ENTRIES"), QString::number(n));
        w.writeAttribute(QStringLiteral("TYPE"), QStringLiteral("LIST"));
        for (const Entry& e : p.entries) {
            if (!e.song)
                continue;
            w.writeStartElement(QStringLiteral("ENTRY"));
            w.writeEmptyElement(QStringLiteral("PRIMARYKEY"));
            w.writeAttribute(QStringLiteral("TYPE"), QStringLiteral("TRACK"));
            w.writeAttribute(QStringLiteral("KEY"), keyOf.value(e.song));
            w.writeEndElement();
        }
        w.writeEndElement();
        w.writeEndElement();
    }
    w.writeEndDocument(); // closes every open element
    return bytes;
}

QList<DjExport::Match> DjExport::closest(const Entry& entry, std::vector<int>& common) const
{
    // Candidates share a bigram of the title; the title weighs three times the artist.
    const QList<quint32> title = bigrams(entry.title.left(kCompared));
    std::vector<int> touched;
    for (const quint32 g : title)
        if (const auto songs = m_bigramSongs.constFind(g); songs != m_bigramSongs.constEnd())
            for (const int i : *songs)
                if (common[i]++ == 0)
                    touched.push_back(i);
    const QList<quint32> artist = bigrams(entry.artist.left(kCompared));
    // The twenty best by title, best first (of equals the first in the library), kept in
    // order as the candidates pass.
    constexpr size_t kKept = 20;
    const auto better = [](const auto& a, const auto& b) {
        return a.first != b.first ? a.first > b.first : a.second < b.second;
    };
    std::vector<std::pair<double, qsizetype>> scored;
    scored.reserve(kKept + 1);
    for (const int i : touched) {
        const std::pair<double, qsizetype> candidate{
            2.0 * common[i] / double(title.size() + m_bigramCount[i]), i};
        common[i] = 0;
        if (scored.size() == kKept && !better(candidate, scored.back()))
            continue;
        scored.insert(std::upper_bound(scored.begin(), scored.end(), candidate, better), candidate);
        if (scored.size() > kKept)
            scored.pop_back();
    }
    for (auto& [score, i] : scored) {
        const QString& other = m_library.songs()[i].artist;
        score = entry.artist.isEmpty()
                    ? score
                    : 0.75 * score + 0.25 * dice(artist, bigrams(other.left(kCompared)));
    }
    std::stable_sort(scored.begin(), scored.end(),
                     [](auto& a, auto& b) { return a.first > b.first; });
    QList<Match> out;
    for (size_t k = 0; k < scored.size() && out.size() < 3; ++k)
        out.append({&m_library.songs()[scored[k].second], int(scored[k].first * 100 + 0.5)});
    return out;
}

QByteArray DjExport::missingCsv() const
{
    QString out = QStringLiteral("List,Title,Artist,Length");
    for (int k = 1; k <= 3; ++k)
        out += QStringLiteral(",Match %1,Similarity %1").arg(k);
    out += QLatin1Char('\n');
    // Each missing song is looked up once, also when it is on several lists; the lookups
    // share the computer's cores, a few hundred at a time.
    QHash<QPair<QString, QString>, qsizetype> lookup;
    QList<const Entry*> missing;
    for (const Playlist& p : m_lists)
        for (const Entry& e : p.entries)
            if (!e.song && !lookup.contains({e.title, e.artist})) {
                lookup.insert({e.title, e.artist}, missing.size());
                missing.append(&e);
            }
    constexpr qsizetype kBatch = 256;
    QList<qsizetype> batches;
    for (qsizetype start = 0; start < missing.size(); start += kBatch)
        batches.append(start);
    std::vector<QList<Match>> matches(missing.size());
    QtConcurrent::blockingMap(batches, [&](qsizetype start) {
        std::vector<int> common(m_bigramCount.size(), 0);
        for (qsizetype i = start; i < std::min(start + kBatch, missing.size()); ++i)
            matches[i] = closest(*missing[i], common);
    });
    for (const Playlist& p : m_lists)
        for (const Entry& e : p.entries) {
            if (e.song)
                continue;
            out += QStringList{p.name, CsvText::field(e.title), CsvText::field(e.artist),
                               e.seconds > 0 ? QStringLiteral("%1:%2")
                                                   .arg(e.seconds / 60)
                                                   .arg(e.seconds % 60, 2, 10, QLatin1Char('0'))
                                             : QString()}
                       .join(QLatin1Char(','));
            for (const Match& m : matches[lookup.value({e.title, e.artist})])
                out +=
                    QLatin1Char(',') +
                    CsvText::field(m.song->artist.isEmpty()
                                       ? m.song->title
                                       : m.song->title + QStringLiteral(" - ") + m.song->artist) +
                    QStringLiteral(",%1%").arg(m.similarity);
            out += QLatin1Char('\n');
        }
    return out.toUtf8();
}

bool DjExport::writeAll(const QString& folder, QString* error) const
{
    if (!QDir().mkpath(folder)) {
        *error = QStringLiteral("%1: the folder cannot be made").arg(folder);
        return false;
    }
    QList<std::pair<QString, QByteArray>> files;
    for (const Playlist& p : m_lists)
        files.append({p.name + QStringLiteral(".m3u8"), m3u8(p)});
    files.append({QStringLiteral("collection.xml"), collectionXml()});
    files.append({QStringLiteral("collection.nml"), nml()});
    files.append({QStringLiteral("missing.csv"), missingCsv()});
    for (const auto& [name, bytes] : files) {
        QSaveFile f(QDir(folder).filePath(name));
        if (!f.open(QIODevice::WriteOnly) || f.write(bytes) != bytes.size() || !f.commit()) {
            *error = QStringLiteral("%1: cannot be written: %2").arg(f.fileName(), f.errorString());
            return false;
        }
    }
    return true;
}
