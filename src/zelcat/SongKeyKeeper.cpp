#include "SongKeyKeeper.h"

#include <QFileInfo>
#include <QRegularExpression>

#include <algorithm>

SongKeyKeeper::SongKeyKeeper(const QMap<int, StoredSong>& songs,
                             const QMap<int, StoredSong>& retired)
{
    int highest = 0;
    for (const QMap<int, StoredSong>* map : {&retired, &songs})
        for (auto it = map->cbegin(); it != map->cend(); ++it) {
            remember(it.key(), it->path, it->title, it->artist, secondsOf(it->time));
            highest = std::max(highest, it.key());
        }
    for (auto it = retired.cbegin(); it != retired.cend(); ++it)
        m_retired.insert(it.key());
    m_next = highest + 1;
}

QString SongKeyKeeper::normalised(const QString& text)
{
    static const QRegularExpression bracketed(
        QStringLiteral("[(\\[]\\s*(feat\\.?|ft\\.?|featuring)\\s[^)\\]]*[)\\]]"));
    static const QRegularExpression trailing(
        QStringLiteral("\\s(feat\\.?|ft\\.?|featuring)\\s.*$"));
    QString s = text.toCaseFolded();
    s.remove(bracketed);
    s.remove(trailing);
    s = s.simplified();
    if (s.startsWith(QLatin1String("the ")))
        s.remove(0, 4);
    return s;
}

int SongKeyKeeper::secondsOf(const QString& time)
{
    constexpr qint64 kLongest = 100 * 3600;
    qint64 seconds = 0;
    for (const QString& part : time.split(QLatin1Char(':'))) {
        bool ok = false;
        const qint64 n = part.trimmed().toLongLong(&ok);
        if (!ok || n < 0 || n > kLongest)
            return 0;
        seconds = seconds * 60 + n;
        if (seconds > kLongest)
            return 0;
    }
    return int(seconds);
}

QString SongKeyKeeper::identity(const QString& title, const QString& artist)
{
    return normalised(title) + QChar(0x1f) + normalised(artist);
}

int SongKeyKeeper::byIdentity(const QString& title, const QString& artist, int seconds,
                              bool forFile, const QSet<int>& claimed) const
{
    int found = 0;
    const auto range = m_byIdentity.equal_range(identity(title, artist));
    for (auto it = range.first; it != range.second; ++it) {
        const int key = *it;
        const Known& k = m_known[key];
        if (seconds > 0 && k.seconds > 0 && std::abs(seconds - k.seconds) > 2)
            continue;
        if (forFile && (claimed.contains(key) || (!k.path.isEmpty() && QFileInfo::exists(k.path))))
            continue;
        if (found == 0 || key < found)
            found = key;
    }
    return found;
}

void SongKeyKeeper::remember(int key, const QString& path, const QString& title,
                             const QString& artist, int seconds)
{
    Known& k = m_known[key];
    if (!k.path.isEmpty() && k.path != path)
        m_byPath.remove(k.path);
    const QString id = identity(title, artist);
    if (!title.isEmpty() && !m_byIdentity.contains(id, key))
        m_byIdentity.insert(id, key);
    k.path = path;
    if (seconds > 0)
        k.seconds = seconds;
    if (!path.isEmpty())
        m_byPath.insert(path, key);
}

int SongKeyKeeper::takeKey()
{
    int key = 0;
    if (m_next <= ImportCatalogue::kMaxKey) {
        key = m_next++;
    } else {
        while (m_gap <= ImportCatalogue::kMaxKey &&
               (m_known.contains(m_gap) || m_retired.contains(m_gap)))
            ++m_gap;
        if (m_gap > ImportCatalogue::kMaxKey)
            return 0;
        key = m_gap++;
    }
    m_known.insert(key, Known());
    return key;
}
