#include "PFHighlightListModel.h"

#include <QSize>

void PFHighlightListModel::setRows(QVector<PFHighlightModel> rows)
{
    beginResetModel();
    m_rows = std::move(rows);
    endResetModel();
}

int PFHighlightListModel::rowOf(const PDFAnnotation &annotation) const
{
    if (annotation.isNull())
        return -1;
    for (int i = 0; i < m_rows.size(); ++i)
        if (m_rows[i].annotationTemp == annotation)
            return i;
    return -1;
}

int PFHighlightListModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_rows.size());
}

QVariant PFHighlightListModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() >= m_rows.size())
        return {};
    const PFHighlightModel &row = m_rows[index.row()];
    switch (role) {
    case Qt::DisplayRole:
        return row.isHeader() ? row.headerStr : row.contents.value_or(QString());
    case Qt::SizeHintRole:
        return QSize(0, int(row.rowHeight));
    default:
        return {};
    }
}
