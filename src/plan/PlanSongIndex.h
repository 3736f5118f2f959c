#pragma once

#include "store/EventPlan.h"

#include <QHash>
#include <QList>
#include <QPair>
#include <QString>

#include <array>

// The songs of one list, found as the same song by the catalogue's key or by title and artist
// (ignoring case and surrounding blanks), in constant time: the couple's two lists of ten
// thousand songs each are checked against each other, and against the schedule, in moments.
class PlanSongIndex
{
  public:
    explicit PlanSongIndex(const QList<PlanSong>& songs);

    // The first song of the list that is the same song as `song`, or -1.
    qsizetype first(const PlanSong& song) const;
    // Whether the i-th song of the list is the same song as one before it.
    bool repeated(qsizetype i) const { return m_repeated[i]; }
    // The song of the list an activity plays, or none (an activity without a song has none).
    const PlanSong* find(const ScheduledActivity& activity) const;
    // The first song of the list that is the same song as `song` and was not taken before, or
    // -1; it is taken. Matches the songs of two versions of a list one to one.
    qsizetype take(const PlanSong& song);
    bool taken(qsizetype i) const { return m_taken[i]; }

  private:
    // The places of the songs with one key or one title and artist, in the list's order; the
    // ones before `next` are taken (a place taken through the other key is passed over later).
    struct Places {
        QList<qsizetype> at;
        mutable qsizetype next = 0;
    };
    using Text = QPair<QString, QString>;
    static Text textOf(const PlanSong& song);
    // The places of `song` by key and by title and artist; null where there are none.
    std::array<const Places*, 2> placesOf(const PlanSong& song) const;

    QList<PlanSong> m_songs;
    QHash<qint16, Places> m_byKey;
    QHash<Text, Places> m_byText;
    QList<bool> m_taken;
    QList<bool> m_repeated;
};
