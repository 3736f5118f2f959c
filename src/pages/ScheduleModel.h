#pragma once

#include "store/ScheduleStore.h"

#include <QAbstractTableModel>
#include <QPixmap>
#include <QVariant>
#include <QVector>

// The rows of the event schedule for its grid, in the schedule's order (time, then name)
// and the eight columns of the table (dbKey, dtScheduled, Name, SongKey, SongTitle,
// SongArtist, Who, MoreInfo).
//
// A refresh copies the rows from the schedule store, which ends its read at once, so the
// grid never holds a read open on the database while it is shown.
// The time column shows the medium time ("06:30 PM"), centred; the song column shows the
// picture of a song entered by hand (-2 "nocd", -3 "cd"); every cell offers its full text
// as its tip.
class ScheduleModel : public QAbstractTableModel
{
    Q_OBJECT
  public:
    enum Column {
        DbKey,
        DtScheduled,
        Name,
        SongKey,
        SongTitle,
        SongArtist,
        Who,
        MoreInfo,
        ColumnCount
    };

    explicit ScheduleModel(QObject* parent = nullptr);

    // Where the rows come from; it must outlive the model.
    void setStore(ScheduleStore* store) { m_store = store; }
    // The pictures shown beside the title of a song whose music the couple provides (cd)
    // and of one they do not (nocd); a null picture shows none.
    void setSongPictures(const QPixmap& cd, const QPixmap& nocd);

    // Runs the statement again. On failure the rows shown stay as they were and
    // errorString() tells why.
    bool refresh();
    QString errorString() const { return m_error; }

    // The dbKey of a row, or no value.
    QVariant keyOf(int row) const;
    // A row as it is stored, all eight columns (no value where the field has none).
    ScheduleStore::Row storedRow(int row) const;
    // A row as the activity dialog shows it.
    ActivityRecord activityOf(int row) const;
    // The row of a dbKey, or -1.
    int rowOf(qint64 key) const;

    // The medium time form of a day-count value: "06:30 PM".
    static QString mediumTime(double dayCount);

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

  private:
    QString displayText(int row, int column) const;

    ScheduleStore* m_store = nullptr;
    QVector<QVector<QVariant>> m_rows;
    QPixmap m_cd;
    QPixmap m_nocd;
    QString m_error;
};
