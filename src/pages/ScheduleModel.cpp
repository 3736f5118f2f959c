#include "ScheduleModel.h"

#include "platform/OleDate.h"

#include <QLocale>

ScheduleModel::ScheduleModel(QObject* parent) : QAbstractTableModel(parent) {}

void ScheduleModel::setSongPictures(const QPixmap& cd, const QPixmap& nocd)
{
    m_cd = cd;
    m_nocd = nocd;
    if (!m_rows.isEmpty())
        emit dataChanged(index(0, SongTitle), index(int(m_rows.size()) - 1, SongTitle),
                         {Qt::DecorationRole});
}

bool ScheduleModel::refresh()
{
    m_error.clear();
    QVector<ScheduleStore::Row> rows;
    if (!m_store || !m_store->rows(&rows)) {
        m_error = m_store ? m_store->errorString() : QStringLiteral("the schedule is not open");
        return false;
    }
    beginResetModel();
    m_rows = std::move(rows);
    endResetModel();
    return true;
}

QVariant ScheduleModel::keyOf(int row) const
{
    if (row < 0 || row >= m_rows.size())
        return {};
    return m_rows[row][DbKey];
}

ScheduleStore::Row ScheduleModel::storedRow(int row) const
{
    return row >= 0 && row < m_rows.size() ? m_rows[row] : ScheduleStore::Row();
}

ActivityRecord ScheduleModel::activityOf(int row) const
{
    const ScheduleStore::Row r = storedRow(row);
    if (r.isEmpty())
        return {};
    return {r[DtScheduled].toDouble(),
            r[Name].toString(),
            r[SongKey].isNull() ? std::nullopt : std::optional<qint16>(qint16(r[SongKey].toInt())),
            r[SongTitle].toString(),
            r[SongArtist].toString(),
            r[Who].toString(),
            r[MoreInfo].toString()};
}

int ScheduleModel::rowOf(qint64 key) const
{
    for (int r = 0; r < m_rows.size(); ++r)
        if (!m_rows[r][DbKey].isNull() && m_rows[r][DbKey].toLongLong() == key)
            return r;
    return -1;
}

QString ScheduleModel::mediumTime(double dayCount)
{
    return QLocale(QLocale::English, QLocale::UnitedStates)
        .toString(OleDate::timePart(dayCount), QStringLiteral("hh:mm AP"));
}

int ScheduleModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : int(m_rows.size());
}

int ScheduleModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : ColumnCount;
}

QString ScheduleModel::displayText(int row, int column) const
{
    const QVariant& v = m_rows[row][column];
    if (v.isNull())
        return {};
    if (column == DtScheduled) {
        bool ok = false;
        const double d = v.toDouble(&ok);
        return ok ? mediumTime(d) : v.toString();
    }
    return v.toString();
}

QVariant ScheduleModel::data(const QModelIndex& index, int role) const
{
    if (!checkIndex(index, CheckIndexOption::IndexIsValid | CheckIndexOption::ParentIsInvalid))
        return {};
    const int r = index.row();
    const int c = index.column();
    switch (role) {
    case Qt::DisplayRole:
        return displayText(r, c);
    case Qt::ToolTipRole: {
        // The full text of the cell; a time shows its day as well, so an activity after
        // midnight can be told from one in the evening.
        if (c == DtScheduled && !m_rows[r][c].isNull())
            return OleDate::toGeneralText(m_rows[r][c].toDouble());
        const QString text = displayText(r, c);
        return text.isEmpty() ? QVariant() : QVariant(text);
    }
    case Qt::TextAlignmentRole:
        if (c == DtScheduled)
            return int(Qt::AlignCenter);
        return int(Qt::AlignLeft | Qt::AlignVCenter);
    case Qt::DecorationRole:
        if (c == SongTitle && !m_rows[r][SongKey].isNull()) {
            const int key = m_rows[r][SongKey].toInt();
            if (key == -2 && !m_nocd.isNull())
                return m_nocd;
            if (key == -3 && !m_cd.isNull())
                return m_cd;
        }
        return {};
    case Qt::EditRole:
        return m_rows[r][c];
    default:
        return {};
    }
}

QVariant ScheduleModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || section < 0 || section >= ColumnCount)
        return QAbstractTableModel::headerData(section, orientation, role);
    if (role == Qt::DisplayRole) {
        switch (section) {
        case DtScheduled:
            return QStringLiteral("Est. Time");
        case Name:
            return QStringLiteral("Activity");
        case SongTitle:
            return QStringLiteral("Song");
        case Who:
            return QStringLiteral("Who is involved");
        case MoreInfo:
            return QStringLiteral("Notes");
        default:
            return QString();
        }
    }
    if (role == Qt::TextAlignmentRole)
        return int(section == DtScheduled ? Qt::AlignCenter : Qt::AlignLeft | Qt::AlignVCenter);
    return {};
}

Qt::ItemFlags ScheduleModel::flags(const QModelIndex& index) const
{
    if (!index.isValid())
        return Qt::NoItemFlags;
    return Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemNeverHasChildren;
}
