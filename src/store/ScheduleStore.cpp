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

void ScheduleStore::fieldsOf(const ActivityRecord& a, QStringList* fields, QVariantList* values)
{
    *fields = {QStringLiteral("dtScheduled"), QStringLiteral("Name")};
    *values = {a.Scheduled, a.Name};
    if (!a.SongTitle.isEmpty()) {
        *fields << QStringLiteral("SongKey") << QStringLiteral("SongTitle")
                << QStringLiteral("SongArtist");
        *values << (a.SongKey ? QVariant(int(*a.SongKey)) : QVariant()) << a.SongTitle
                << a.SongArtist;
    }
    if (!a.Who.isEmpty()) {
        *fields << QStringLiteral("Who");
        *values << a.Who;
    }
    if (!a.MoreInfo.isEmpty()) {
        *fields << QStringLiteral("MoreInfo");
        *values << a.MoreInfo;
    }
}

bool ScheduleStore::run(const QString& statement, const QVariantList& values)
{
    m_error.clear();
    QSqlQuery q(m_db);
    if (!q.prepare(statement)) {
        m_error = StoreError::plain(q.lastError());
        return false;
    }
    for (const QVariant& v : values)
        q.addBindValue(!v.isNull() && v.typeId() == QMetaType::QString
                           ? QVariant(StoredText::whole(v.toString()))
                           : v);
    if (!q.exec()) {
        m_error = StoreError::plain(q.lastError());
        return false;
    }
    m_lastId = q.lastInsertId();
    return true;
}

std::optional<qint64> ScheduleStore::insert(const ActivityRecord& a)
{
    QStringList fields;
    QVariantList values;
    fieldsOf(a, &fields, &values);
    QStringList marks;
    for (qsizetype i = 0; i < fields.size(); ++i)
        marks << QStringLiteral("?");
    if (!run(QStringLiteral("INSERT INTO Activities (%1) VALUES (%2)")
                 .arg(fields.join(QStringLiteral(", ")), marks.join(QStringLiteral(", "))),
             values))
        return std::nullopt;
    return m_lastId.toLongLong();
}

bool ScheduleStore::update(qint64 key, const ActivityRecord& a)
{
    QStringList fields;
    QVariantList values;
    fieldsOf(a, &fields, &values);
    QStringList sets;
    QVariantList bound;
    for (int c = DtScheduled; c < kColumnCount; ++c) {
        const QString field = QLatin1String(kFields[c]);
        const qsizetype at = fields.indexOf(field);
        sets << field + QStringLiteral(" = ?");
        bound.append(at >= 0 ? values[at] : QVariant());
    }
    bound << key;
    return run(QStringLiteral("UPDATE Activities SET %1 WHERE dbKey = ?")
                   .arg(sets.join(QStringLiteral(", "))),
               bound);
}

bool ScheduleStore::remove(qint64 key)
{
    return run(QStringLiteral("DELETE FROM Activities WHERE dbKey = ?"), {key});
}

bool ScheduleStore::restore(const Row& row)
{
    QStringList fields, marks;
    for (int c = 0; c < kColumnCount; ++c) {
        fields << QLatin1String(kFields[c]);
        marks << QStringLiteral("?");
    }
    return run(QStringLiteral("INSERT INTO Activities (%1) VALUES (%2)")
                   .arg(fields.join(QStringLiteral(", ")), marks.join(QStringLiteral(", "))),
               QVariantList(row.begin(), row.end()));
}
