#include "SongListStore.h"

#include "store/StoreError.h"
#include "store/StoreTransaction.h"
#include "store/StoredText.h"

#include <QSqlError>
#include <QSqlQuery>

QString SongListStore::tableOf(List list)
{
    return list == Include ? QStringLiteral("MusicIn") : QStringLiteral("MusicOut");
}

bool SongListStore::read(List list, QList<PickedSongRecord>* songs)
{
    m_error.clear();
    QSqlQuery q(m_db);
    q.setForwardOnly(true);
    if (!q.exec(QStringLiteral("SELECT SongKey, SongTitle, SongArtist, SongTime FROM %1 "
                               "ORDER BY dbKey")
                    .arg(tableOf(list)))) {
        m_error = StoreError::plain(q.lastError());
        return false;
    }
    QList<PickedSongRecord> read;
    while (q.next())
        read.append({qint16(q.value(0).toInt()), q.value(1).toString(), q.value(2).toString(),
                     q.value(3).toString()});
    if (q.lastError().isValid()) {
        m_error = StoreError::plain(q.lastError());
        return false;
    }
    *songs = std::move(read);
    return true;
}

bool SongListStore::rewrite(List list, const QList<PickedSongRecord>& songs)
{
    m_error.clear();
    const QString table = tableOf(list);
    StoreTransaction transaction(m_db);
    if (!transaction.isActive()) {
        m_error = transaction.errorString();
        return false;
    }
    QSqlQuery q(m_db);
    if (!q.exec(QStringLiteral("DELETE from %1 WHERE dbkey > 0").arg(table))) {
        m_error = StoreError::plain(q.lastError());
        return false;
    }
    // The four fields after dbKey, by their place in the table: SongKey, SongTitle,
    // SongArtist, SongTime; the database numbers the rows anew.
    if (!q.prepare(QStringLiteral("INSERT INTO %1 VALUES (NULL, ?, ?, ?, ?)").arg(table))) {
        m_error = StoreError::plain(q.lastError());
        return false;
    }
    for (qsizetype i = 0; i < songs.size(); ++i) {
        const PickedSongRecord& song = songs[i];
        q.bindValue(0, int(song.Key));
        q.bindValue(1, StoredText::whole(song.Title));
        q.bindValue(2, StoredText::whole(song.Artist));
        q.bindValue(3, StoredText::whole(song.Length));
        if (!q.exec()) {
            m_error = QStringLiteral("song %1, \"%2\": %3")
                          .arg(i + 1)
                          .arg(song.Title, StoreError::plain(q.lastError()));
            return false;
        }
    }
    q.finish();
    if (!transaction.commit()) {
        m_error = transaction.errorString();
        return false;
    }
    return true;
}
