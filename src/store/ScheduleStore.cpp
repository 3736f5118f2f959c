#include "ScheduleStore.h"

#include "store/StoreError.h"
#include "store/StoredText.h"

#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>

namespace
{
const char* const kFields[ScheduleStore::kColumnCount] = {
    "dbKey", "dtScheduled", "Name", "SongKey", "SongTitle", "SongArtist", "Who", "MoreInfo"};
}

bool ScheduleStore::rows(QVector<Row>* rows)
{
    m_error.clear();
    QSqlQuery q(m_db);
    q.setForwardOnly(true);
    if (!q.exec(QStringLiteral("SELECT * FROM activities ORDER BY dtscheduled,name"))) {
        m_error = StoreError::plain(q.lastError());
        return false;
    }
    const QSqlRecord rec = q.record();
    int fieldAt[kColumnCount];
    for (int c = 0; c < kColumnCount; ++c)
        fieldAt[c] = rec.indexOf(QLatin1String(kFields[c]));
    QVector<Row> read;
    while (q.next()) {
        Row row(kColumnCount);
        for (int c = 0; c < kColumnCount; ++c)
            if (fieldAt[c] >= 0)
                row[c] = q.value(fieldAt[c]);
        read.append(row);
    }
    if (q.lastError().isValid()) {
        m_error = StoreError::plain(q.lastError());
        return false;
    }
    q.finish();
    *rows = std::move(read);
    return true;
}

std::optional<qint64> ScheduleStore::insert(const ActivityRecord& a)
{
    QStringList fields{QStringLiteral("dtScheduled"), QStringLiteral("Name")};
    QVariantList values{a.Scheduled, a.Name};
    if (!a.SongTitle.isEmpty()) {
        fields << QStringLiteral("SongKey") << QStringLiteral("SongTitle")
               << QStringLiteral("SongArtist");
        values << (a.SongKey ? QVariant(int(*a.SongKey)) : QVariant()) << a.SongTitle
               << a.SongArtist;
    }
    if (!a.Who.isEmpty()) {
        fields << QStringLiteral("Who");
        values << a.Who;
    }
    if (!a.MoreInfo.isEmpty()) {
        fields << QStringLiteral("MoreInfo");
        values << a.MoreInfo;
    }
    QStringList marks;
    for (qsizetype i = 0; i < fields.size(); ++i)
        marks << QStringLiteral("?");
    QSqlQuery q(m_db);
    if (!q.prepare(QStringLiteral("INSERT INTO Activities (%1) VALUES (%2)")
                       .arg(fields.join(QStringLiteral(", ")), marks.join(QStringLiteral(", "))))) {
        m_error = StoreError::plain(q.lastError());
        return std::nullopt;
    }
    for (const QVariant& v : values)
        q.addBindValue(v.typeId() == QMetaType::QString ? StoredText::whole(v.toString()) : v);
    if (!q.exec()) {
        m_error = StoreError::plain(q.lastError());
        return std::nullopt;
    }
    return q.lastInsertId().toLongLong();
}

bool ScheduleStore::remove(qint64 key)
{
    QSqlQuery q(m_db);
    if (!q.prepare(QStringLiteral("DELETE FROM Activities WHERE dbKey = ?"))) {
        m_error = StoreError::plain(q.lastError());
        return false;
    }
    q.addBindValue(key);
    if (!q.exec()) {
        m_error = StoreError::plain(q.lastError());
        return false;
    }
    return true;
}
