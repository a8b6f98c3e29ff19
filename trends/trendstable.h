#pragma once

#include <QAbstractTableModel>
#include <QList>
#include <QStringList>

// A table as the trends window shows it and as it is saved: column titles
// and rows of texts.
struct TrendsTable
{
    QStringList headers;
    QList<QStringList> rows;

    // The titles followed by the rows, as one CSV file holds them.
    QList<QStringList> withHeaders() const
    {
        QList<QStringList> all;
        all.reserve(rows.size() + 1);
        all << headers;
        all << rows;
        return all;
    }
    bool operator==(const TrendsTable &) const = default;
};

// A read-only view of one TrendsTable.
class TrendsTableModel : public QAbstractTableModel
{
    Q_OBJECT
public:
    using QAbstractTableModel::QAbstractTableModel;

    void setTable(TrendsTable table);
    const TrendsTable &table() const { return m_table; }

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

private:
    TrendsTable m_table;
};
