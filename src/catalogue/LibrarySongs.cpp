#include "LibrarySongs.h"

#include "store/EventPlan.h"
#include "store/SqlConnection.h"

#include <QSqlError>
#include <QSqlQuery>

bool LibrarySongs::read(const QString& catalogue, QString* error)
{
    m_songs.clear();
    m_byKey.clear();
    SqlConnection c(catalogue, SqlConnection::ReadOnly);
    QString missing;
    if (!c.isOpen() || !c.hasTables({QStringLiteral("MUSIC")}, &missing)) {
        *error =
            c.isOpen()
                ? QStringLiteral("%1: not a song catalogue (no table %2)").arg(catalogue, missing)
                : c.errorString();
        return false;
    }
    const bool files = c.hasTables({QStringLiteral("ImportKeys")});
    QSqlQuery q(c.database());
    const QString sql =
        files ? QStringLiteral("SELECT m.dbKey, m.Name, m.UDF01, m.Time, k.Path FROM MUSIC m "
                               "LEFT JOIN ImportKeys k ON k.dbKey = m.dbKey AND k.Retired = 0 "
                               "ORDER BY m.dbKey")
              : QStringLiteral("SELECT dbKey, Name, UDF01, Time, NULL FROM MUSIC ORDER BY dbKey");
    if (!q.exec(sql)) {
        *error = QStringLiteral("%1: cannot be read: %2").arg(catalogue, q.lastError().text());
        return false;
    }
    while (q.next()) {
        const PlanValue<int> length = EventPlan::lengthOf(q.value(3).toString());
        LibrarySong s{q.value(0).toInt(), q.value(1).toString(), q.value(2).toString(),
                      length.isGiven() ? length.value : 0, q.value(4).toString()};
        m_byKey.insert(s.key, m_songs.size());
        m_songs.append(s);
    }
    return true;
}

const LibrarySong* LibrarySongs::byKey(int key) const
{
    const auto it = m_byKey.constFind(key);
    return it == m_byKey.cend() ? nullptr : &m_songs[*it];
}
