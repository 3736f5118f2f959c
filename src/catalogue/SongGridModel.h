#pragma once

#include "catalogue/SongIndex.h"
#include "catalogue/SongQuery.h"

#include <QAbstractTableModel>
#include <QHash>
#include <QList>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QVariant>
#include <QVector>

#include <array>
#include <future>

struct CatalogueSettings;

// The rows of one catalogue search for the song grid. The catalogue's search index
// (SongIndex) is built in the background from buildIndex() on (or at the first search), and
// the first search waits for it; it then answers every search it can: the rows
// in order at once, their fields served from memory when the grid shows them (the few the
// index does not hold read from the catalogue by rowid). A search the index declines runs
// its statement: the number of rows from a COUNT(*) of its condition, the rows read lazily
// a window at a time (LIMIT/OFFSET on the search's total order). A few windows are kept;
// statements are prepared once and reused.
//
// Sixteen columns, in the catalogue's order: dbKey, Name, Type, SType1, SType2, Time,
// Matrix, UDF01..UDF09. Headers are the field names, user fields headed by their names
// from the catalogue settings. Type and SType1 show the type or sub-type name for a number
// 1..9. The grid is for display and selection only.
class SongGridModel : public QAbstractTableModel
{
    Q_OBJECT
  public:
    enum Column { ColKey, ColName, ColType, ColSType1, ColSType2, ColTime, ColMatrix, ColUDF01 };
    static constexpr int kColumnCount = 16;
    static constexpr int kWindowRows = 128;

    explicit SongGridModel(QObject* parent = nullptr);

    // The catalogue to read and the lists that name types, sub-types and user fields. The
    // settings must outlive the model.
    void setCatalogue(const QSqlDatabase& db, const CatalogueSettings* settings);

    // Starts building the search index with the user fields 1..userFields searchable, in
    // the background while the caller goes on; once per catalogue.
    void buildIndex(int userFields);
    // Runs a search: counts its rows and reads the first window. Returns false (with an
    // empty result and errorString() set) when the catalogue refused the statement.
    bool run(const SongSearch& search);
    QString errorString() const { return m_error; }
    // Whether the last search was answered by the index rather than its statement.
    bool answeredByIndex() const { return m_byIndex; }
    // Whether the index answers `search` at once (the statement takes longer).
    bool answersAtOnce(const SongSearch& search) const { return searchIndex().answers(search); }
    // The index, once built (this waits for it).
    const SongIndex& searchIndex() const;

    // The `count` longest texts of `field` ("Name", "UDF01", ...) in the whole catalogue,
    // longest first; empty when they cannot be read.
    QStringList longestTexts(const QString& field, int count) const;

    // The stored value of a field of `row` ("Name", "UDF01", ...); invalid when out of range.
    QVariant field(int row, int column) const;
    static QString fieldName(int column);

    // How many times the catalogue was searched (counted statements), for tests and figures.
    int searches() const { return m_searches; }

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

  private:
    using Row = QVector<QVariant>;
    const QVector<Row>* window(int index) const;
    QSqlQuery& prepared(const QString& text) const;
    QString displayed(int row, int column) const;
    // Runs `q` and appends its rows to `rows`.
    bool readWindow(QSqlQuery& q, QVector<Row>& rows) const;
    // A field the index does not hold, read from the catalogue's row.
    QVariant storedField(qint64 rowId, int column) const;
    qint64 totalSongs() const; // rows of the whole catalogue, read once

    QSqlDatabase m_db;
    const CatalogueSettings* m_settings = nullptr;
    SongQuery::Bound m_query;
    SongIndex m_index;
    bool m_indexTried = false;
    mutable std::future<void> m_indexBuilt; // valid while the index is being built
    bool m_byIndex = false;
    std::vector<quint32> m_found; // the index's rows of the last search, in order
    int m_rows = 0;
    int m_searches = 0;
    mutable qint64 m_total = -1;
    QString m_error;

    mutable QHash<QString, QSqlQuery> m_statements;
    mutable QHash<int, QVector<Row>> m_windows;
    mutable QList<int> m_windowOrder; // least recently read first
    mutable qint64 m_storedRowId = -1;
    mutable Row m_storedRow;
};
