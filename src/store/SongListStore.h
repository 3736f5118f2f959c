#pragma once

#include "store/PickedSongRecord.h"

#include <QList>
#include <QSqlDatabase>
#include <QString>

// The two song lists: songs to include (table MusicIn) and songs not to play (MusicOut),
// each in the order the couple put them.
class SongListStore
{
  public:
    enum List { Include, Exclude };
    static QString tableOf(List list);

    explicit SongListStore(const QSqlDatabase& db) : m_db(db) {}

    // The stored songs in their order. False with errorString() set when the table cannot
    // be read.
    bool read(List list, QList<PickedSongRecord>* songs);
    // Replaces the stored list with `songs`, in one transaction: on failure the stored
    // list is as it was and errorString() tells which song was refused and why.
    bool rewrite(List list, const QList<PickedSongRecord>& songs);

    QString errorString() const { return m_error; }

  private:
    QSqlDatabase m_db;
    QString m_error;
};
