#include "trends/trendstable.h"

void TrendsTableModel::setTable(TrendsTable table)
{
    beginResetModel();
    m_table = std::move(table);
    endResetModel();
}

int TrendsTableModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(m_table.rows.size());
}

int TrendsTableModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(m_table.headers.size());
}

QVariant TrendsTableModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() >= m_table.rows.size())
        return {};
    const QStringList &row = m_table.rows.at(index.row());
    if (role == Qt::DisplayRole)
        return index.column() < row.size() ? row.at(index.column()) : QString();
    return {};
}

QVariant TrendsTableModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (role != Qt::DisplayRole)
        return {};
    if (orientation == Qt::Horizontal)
        return section < m_table.headers.size() ? m_table.headers.at(section) : QString();
    return section + 1;
}
