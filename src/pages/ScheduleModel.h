#pragma once

#include <QAbstractTableModel>
#include <QPixmap>
#include <QSqlDatabase>
#include <QVariant>
#include <QVector>

// The rows of the event schedule for its grid: "SELECT * FROM activities ORDER BY
// dtscheduled,name" on the schedule's own connection, in the eight columns of the table
// (dbKey, dtScheduled, Name, SongKey, SongTitle, SongArtist, Who, MoreInfo).
//
// A refresh reads every row into memory and finishes the statement at once, so the grid
// never holds a read open on the database while it is shown (schedules are small).
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

    static const QString kStatement;

    explicit ScheduleModel(QObject* parent = nullptr);

    // The connection the statement runs on.
    void setDatabase(const QSqlDatabase& db) { m_db = db; }
    // The pictures shown beside the title of a song whose music the couple provides (cd)
    // and of one they do not (nocd); a null picture shows none.
    void setSongPictures(const QPixmap& cd, const QPixmap& nocd);

    // Runs the statement again. On failure the rows shown stay as they were and
    // errorString() tells why.
    bool refresh();
    QString errorString() const { return m_error; }

    // The dbKey of a row, or no value.
    QVariant keyOf(int row) const;
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

    QSqlDatabase m_db;
    QVector<QVector<QVariant>> m_rows;
    QPixmap m_cd;
    QPixmap m_nocd;
    QString m_error;
};
