#include "SongGridModel.h"

#include "catalogue/CatalogueFormat.h"
#include "catalogue/CatalogueSettings.h"
#include "platform/VbConvert.h"
#include "store/StoreError.h"

#include <QSqlError>
#include <QSqlRecord>

#include <algorithm>
#include <limits>

namespace
{
constexpr int kKeptWindows = 8;
constexpr int kKeptStatements = 64;
static_assert(SongGridModel::kColumnCount == CatalogueFormat::kMusicColumns,
              "the grid has a column for each column of MUSIC");
} // namespace

SongGridModel::SongGridModel(QObject* parent) : QAbstractTableModel(parent) {}

void SongGridModel::setCatalogue(const QSqlDatabase& db, const CatalogueSettings* settings)
{
    searchIndex(); // a build in progress reads the catalogue given before
    beginResetModel();
    m_db = db;
    m_settings = settings;
    m_statements.clear();
    m_windows.clear();
    m_windowOrder.clear();
    m_rows = 0;
    m_total = -1;
    m_index = SongIndex();
    m_indexTried = false;
    m_byIndex = false;
    m_found.clear();
    m_storedRowId = -1;
    endResetModel();
}

QString SongGridModel::fieldName(int column)
{
    return column >= 0 && column < CatalogueFormat::kMusicColumns
               ? CatalogueFormat::musicColumn(column)
               : QString();
}

QSqlQuery& SongGridModel::prepared(const QString& text) const
{
    auto it = m_statements.find(text);
    if (it != m_statements.end())
        return *it;
    if (m_statements.size() >= kKeptStatements)
        m_statements.clear();
    QSqlQuery q(m_db);
    q.setForwardOnly(true);
    if (!q.prepare(text))
        q = QSqlQuery(m_db); // an unprepared query fails at exec() with the reason
    return *m_statements.insert(text, q);
}

void SongGridModel::buildIndex(int userFields)
{
    if (m_indexTried || !m_db.isOpen())
        return;
    m_indexTried = true;
    m_indexBuilt = std::async(std::launch::async, [this, file = m_db.databaseName(), userFields] {
        m_index.build(file, userFields);
    });
}

const SongIndex& SongGridModel::searchIndex() const
{
    if (m_indexBuilt.valid())
        m_indexBuilt.get();
    return m_index;
}

bool SongGridModel::run(const SongSearch& search)
{
    // At the latest the first search builds the index, which the dialog runs while it is made.
    buildIndex(m_settings ? m_settings->UserFieldCount : 0);
    searchIndex();
    beginResetModel();
    m_windows.clear();
    m_windowOrder.clear();
    m_found.clear();
    m_rows = 0;
    m_error.clear();
    ++m_searches;

    if (!m_db.isOpen()) {
        m_error = QStringLiteral("The song catalogue cannot be opened.");
        m_byIndex = false;
        endResetModel();
        return false;
    }
    bool ok = true;
    m_byIndex = m_index.search(search, m_found);
    if (m_byIndex) {
        m_rows = int(m_found.size());
    } else {
        m_query = SongQuery::bound(search);
        QSqlQuery& count = prepared(m_query.countText());
        for (int i = 0; i < m_query.values.size(); ++i)
            count.bindValue(i, m_query.values.at(i));
        ok = count.exec() && count.next();
        if (ok)
            m_rows = int(std::clamp<qint64>(count.value(0).toLongLong(), 0,
                                            std::numeric_limits<int>::max()));
        else
            m_error = count.lastError().text().isEmpty()
                          ? QStringLiteral("the catalogue cannot be read")
                          : StoreError::plain(count.lastError());
        count.finish();
    }
    // The statement's first window is read now, so the grid shows its rows without another
    // trip.
    if (ok && !m_byIndex && m_rows > 0 && !window(0)) {
        ok = false;
        m_rows = 0;
    }
    endResetModel();
    return ok;
}

const QVector<SongGridModel::Row>* SongGridModel::window(int index) const
{
    auto it = m_windows.find(index);
    if (it != m_windows.end()) {
        m_windowOrder.removeOne(index);
        m_windowOrder.append(index);
        return &*it;
    }
    // Walking the index in result order finds a window quickly when matches are common;
    // when they are rare it would look up most of the catalogue row by row, so then the
    // table is read through once and the few matches are sorted.
    const qint64 reach = qint64(index + 1) * kWindowRows;
    const bool scan = reach * 4 > m_rows && qint64(m_rows) * 2 < totalSongs();
    QSqlQuery& q = prepared(m_query.windowText(scan));
    int i = 0;
    for (; i < m_query.values.size(); ++i)
        q.bindValue(i, m_query.values.at(i));
    q.bindValue(i++, kWindowRows);
    q.bindValue(i, index * kWindowRows);
    QVector<Row> rows;
    rows.reserve(kWindowRows);
    if (!readWindow(q, rows))
        return nullptr;
    if (m_windows.size() >= kKeptWindows && !m_windowOrder.isEmpty())
        m_windows.remove(m_windowOrder.takeFirst());
    m_windowOrder.append(index);
    return &*m_windows.insert(index, std::move(rows));
}

bool SongGridModel::readWindow(QSqlQuery& q, QVector<Row>& rows) const
{
    if (!q.exec()) {
        const_cast<SongGridModel*>(this)->m_error = StoreError::plain(q.lastError());
        return false;
    }
    // Columns are found by name, so a catalogue with its columns in another order, or
    // without one of the optional columns, still shows what it has.
    const QSqlRecord rec = q.record();
    std::array<int, kColumnCount> col{};
    for (int c = 0; c < kColumnCount; ++c)
        col[c] = rec.indexOf(fieldName(c));
    while (q.next()) {
        Row row(kColumnCount);
        for (int c = 0; c < kColumnCount; ++c)
            if (col[c] >= 0)
                row[c] = q.value(col[c]);
        rows.append(std::move(row));
    }
    q.finish();
    return true;
}

qint64 SongGridModel::totalSongs() const
{
    if (m_total < 0) {
        QSqlQuery q(m_db);
        m_total = q.exec(QStringLiteral("SELECT COUNT(*) FROM MUSIC")) && q.next()
                      ? q.value(0).toLongLong()
                      : 0;
    }
    return m_total;
}

QStringList SongGridModel::longestTexts(const QString& field, int count) const
{
    QStringList texts;
    QSqlQuery q(m_db);
    if (q.exec(QStringLiteral("SELECT %1 FROM MUSIC ORDER BY LENGTH(%1) DESC LIMIT %2")
                   .arg(field)
                   .arg(count)))
        while (q.next())
            texts << q.value(0).toString();
    return texts;
}

QVariant SongGridModel::field(int row, int column) const
{
    if (row < 0 || row >= m_rows || column < 0 || column >= kColumnCount)
        return {};
    if (m_byIndex) {
        QVariant value;
        const quint32 song = m_found[size_t(row)];
        return m_index.field(song, column, value) ? value
                                                  : storedField(m_index.rowId(song), column);
    }
    const QVector<Row>* w = window(row / kWindowRows);
    const int at = row % kWindowRows;
    if (!w || at >= w->size())
        return {};
    return w->at(at).at(column);
}

QVariant SongGridModel::storedField(qint64 rowId, int column) const
{
    if (rowId != m_storedRowId) {
        QSqlQuery& q = prepared(QStringLiteral("SELECT * FROM MUSIC WHERE rowid = ?"));
        q.bindValue(0, rowId);
        QVector<Row> rows;
        if (!readWindow(q, rows) || rows.isEmpty())
            return {};
        m_storedRowId = rowId;
        m_storedRow = rows.front();
    }
    return m_storedRow.at(column);
}

QString SongGridModel::displayed(int row, int column) const
{
    const QVariant v = field(row, column);
    const QString text = v.isNull() ? QString() : v.toString();
    if (m_settings && (column == ColType || column == ColSType1)) {
        // A number 1..9 stands for the type (or sub-type) of that number.
        const double n = VbConvert::leadingNumber(text);
        if (n >= 1 && n <= 9) {
            const int i = VbConvert::toInt16(n);
            return column == ColType ? m_settings->TypeNames[i] : m_settings->SubTypeNames[i];
        }
    }
    return text;
}

int SongGridModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : m_rows;
}

int SongGridModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : kColumnCount;
}

QVariant SongGridModel::data(const QModelIndex& index, int role) const
{
    if (!checkIndex(index, CheckIndexOption::IndexIsValid))
        return {};
    switch (role) {
    case Qt::DisplayRole:
    case Qt::ToolTipRole:
        return displayed(index.row(), index.column());
    case Qt::TextAlignmentRole:
        if (index.column() == ColTime)
            return QVariant(Qt::AlignCenter);
        return QVariant(Qt::AlignLeft | Qt::AlignVCenter);
    default:
        return {};
    }
}

QVariant SongGridModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole || section < 0 ||
        section >= kColumnCount)
        return QAbstractTableModel::headerData(section, orientation, role);
    if (section >= ColUDF01 && m_settings)
        return m_settings->UserFieldNames[section - ColUDF01 + 1];
    return fieldName(section);
}

Qt::ItemFlags SongGridModel::flags(const QModelIndex& index) const
{
    if (!index.isValid())
        return Qt::NoItemFlags;
    return Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemNeverHasChildren;
}
