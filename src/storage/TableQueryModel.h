#pragma once

#include <QAbstractTableModel>
#include <QPointer>
#include <QStringList>

class TableQuery;

/// Feeds a grid from a TableQuery's open result, as a data source does: the given fields, in the given order, under
/// the given titles, read-only. It follows the query when it is re-run or closed.
class TableQueryModel : public QAbstractTableModel
{
    Q_OBJECT
public:
    TableQueryModel(TableQuery* query, QStringList fields, QStringList titles, QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

    const QStringList& fields() const { return m_fields; }

private:
    QPointer<TableQuery> m_query;
    QStringList m_fields;
    QStringList m_titles;
};
