#include "TableQueryModel.h"

#include "TableQuery.h"

TableQueryModel::TableQueryModel(TableQuery* query, QStringList fields, QStringList titles, QObject* parent)
    : QAbstractTableModel(parent)
    , m_query(query)
    , m_fields(std::move(fields))
    , m_titles(std::move(titles))
{
    connect(query, &TableQuery::resultChanged, this, [this] {
        beginResetModel();
        endResetModel();
    });
}

int TableQueryModel::rowCount(const QModelIndex& parent) const
{
    return (parent.isValid() || !m_query) ? 0 : m_query->recordCount();
}

int TableQueryModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : int(m_fields.size());
}

QVariant TableQueryModel::data(const QModelIndex& index, int role) const
{
    if (!m_query || !index.isValid() || (role != Qt::DisplayRole && role != Qt::ToolTipRole))
        return {};
    // The view asks while it paints, where no error may be thrown: a column the result lacks shows empty (the
    // window's own handlers read it and report it).
    const QString& field = m_fields.at(index.column());
    if (!m_query->fieldNames().contains(field, Qt::CaseInsensitive))
        return {};
    return m_query->displayText(index.row(), field);
}

QVariant TableQueryModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (role != Qt::DisplayRole)
        return {};
    if (orientation == Qt::Horizontal)
        return section < m_titles.size() ? m_titles.at(section) : QVariant();
    return {};
}

Qt::ItemFlags TableQueryModel::flags(const QModelIndex& index) const
{
    return index.isValid() ? (Qt::ItemIsEnabled | Qt::ItemIsSelectable) : Qt::NoItemFlags;
}
