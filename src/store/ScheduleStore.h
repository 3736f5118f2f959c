#pragma once

#include <QSqlDatabase>
#include <QString>
#include <QVariant>
#include <QVector>

#include <optional>

// One activity of the event schedule as the activity dialog hands it to the store.
struct ActivityRecord {
    double Scheduled = 0; // day count: the event's date with the activity's time of day
    QString Name;
    std::optional<qint16> SongKey; // no value: the song has no key (or there is no song)
    QString SongTitle;             // empty: no song
    QString SongArtist;
    QString Who;
    QString MoreInfo;
    bool operator==(const ActivityRecord&) const = default;
};

// The rows of table Activities. Reads copy every row and end the statement at once, so
// no read stays open while the schedule is shown.
class ScheduleStore
{
  public:
    // The columns of a row as stored, in the table's order.
    enum Column { DbKey, DtScheduled, Name, SongKey, SongTitle, SongArtist, Who, MoreInfo };
    static constexpr int kColumnCount = 8;
    using Row = QVector<QVariant>;

    explicit ScheduleStore(const QSqlDatabase& db) : m_db(db) {}

    // Every row in the schedule's order (time, then name). False with errorString() set
    // when the table cannot be read.
    bool rows(QVector<Row>* rows);
    // Stores one activity with only the fields it has (the song's fields when it has a
    // song, Who and MoreInfo when not empty); returns its new dbKey, or no value.
    std::optional<qint64> insert(const ActivityRecord& activity);
    // Writes `activity` over the row of `key` with the same rule as insert (fields the
    // activity lacks lose their value); the key stays.
    bool update(qint64 key, const ActivityRecord& activity);
    bool remove(qint64 key);
    // Puts a removed row back as it was read by rows(), its key included.
    bool restore(const Row& row);

    QString errorString() const { return m_error; }

  private:
    // The fields an activity writes and their values; the others get no value on update.
    static void fieldsOf(const ActivityRecord& a, QStringList* fields, QVariantList* values);
    bool run(const QString& statement, const QVariantList& values);

    QSqlDatabase m_db;
    QString m_error;
    QVariant m_lastId; // the key of the row the last statement inserted
};
