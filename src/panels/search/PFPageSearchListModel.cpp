#include "PFPageSearchListModel.h"

#include "PFPageSearchTableCellView.h"

void PFPageSearchListModel::clear()
{
    beginResetModel();
    m_matches.clear();
    m_previews.clear();
    endResetModel();
}

bool PFPageSearchListModel::append(const PDFSelection &match, const PDFSearchPreview &preview)
{
    // Matches arrive in page order, so a repeat can only be among the last ones of its page.
    for (qsizetype i = m_matches.size() - 1; i >= 0; --i) {
        if (m_matches[i] == match)
            return false;
        if (m_matches[i].pages() != match.pages())
            break;
    }
    const int row = int(m_matches.size());
    beginInsertRows({}, row, row);
    m_matches.append(match);
    m_previews.append(preview);
    endInsertRows();
    return true;
}

int PFPageSearchListModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_matches.size());
}

QVariant PFPageSearchListModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() >= m_matches.size())
        return {};
    const PDFSearchPreview &preview = m_previews[index.row()];
    if (role == MatchRole)
        return QVariant::fromValue(m_matches[index.row()]);
    if (role == PreviewRole)
        return QVariant::fromValue(preview);
    if (role == Qt::DisplayRole)
        return preview.text;
    if (role == Qt::AccessibleTextRole) // a screen reader reads the row as the cell shows it
        return PFPageSearchTableCellView::pageText(preview) + QStringLiteral(": ") + preview.text;
    return {};
}
