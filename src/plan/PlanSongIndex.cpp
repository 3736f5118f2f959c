#include "PlanSongIndex.h"

PlanSongIndex::PlanSongIndex(const QList<PlanSong>& songs)
    : m_songs(songs), m_taken(songs.size(), false), m_repeated(songs.size(), false)
{
    for (qsizetype i = 0; i < songs.size(); ++i) {
        // Only a catalogue key names a song; a song without a title is matched by its key alone.
        QList<qsizetype>* places[2] = {
            songs[i].Key > 0 ? &m_byKey[songs[i].Key].at : nullptr,
            songs[i].Title.trimmed().isEmpty() ? nullptr : &m_byText[textOf(songs[i])].at};
        for (QList<qsizetype>* at : places)
            if (at) {
                m_repeated[i] = m_repeated[i] || !at->isEmpty();
                at->append(i);
            }
    }
}

PlanSongIndex::Text PlanSongIndex::textOf(const PlanSong& song)
{
    return {song.Title.trimmed().toCaseFolded(), song.Artist.trimmed().toCaseFolded()};
}

std::array<const PlanSongIndex::Places*, 2> PlanSongIndex::placesOf(const PlanSong& song) const
{
    const auto byKey = song.Key > 0 ? m_byKey.constFind(song.Key) : m_byKey.constEnd();
    const auto byText = m_byText.isEmpty() || song.Title.trimmed().isEmpty()
                            ? m_byText.constEnd()
                            : m_byText.constFind(textOf(song));
    return {byKey == m_byKey.constEnd() ? nullptr : &*byKey,
            byText == m_byText.constEnd() ? nullptr : &*byText};
}

qsizetype PlanSongIndex::first(const PlanSong& song) const
{
    qsizetype at = -1;
    for (const Places* places : placesOf(song))
        if (places && (at < 0 || places->at.first() < at))
            at = places->at.first();
    return at;
}

const PlanSong* PlanSongIndex::find(const ScheduledActivity& activity) const
{
    if (activity.SongTitle.trimmed().isEmpty())
        return nullptr;
    const qsizetype at =
        first(PlanSong{activity.SongKey.value_or(0), activity.SongTitle, activity.SongArtist, {}});
    return at < 0 ? nullptr : &m_songs[at];
}

qsizetype PlanSongIndex::take(const PlanSong& song)
{
    qsizetype at = -1;
    for (const Places* places : placesOf(song)) {
        if (!places)
            continue;
        // Each place is passed over once: the taken ones stay behind `next`.
        while (places->next < places->at.size() && m_taken[places->at[places->next]])
            ++places->next;
        if (places->next < places->at.size() && (at < 0 || places->at[places->next] < at))
            at = places->at[places->next];
    }
    if (at >= 0)
        m_taken[at] = true;
    return at;
}
