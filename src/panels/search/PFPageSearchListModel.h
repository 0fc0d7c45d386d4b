#pragma once

#include "platform/pdf/PDFSelection.h"
#include "platform/pdf/PDFTextSearch.h"

#include <QAbstractListModel>

// The matches of the last search, in the order they were reported, one row each, with the
// previews the search read for them: showing a row never reads the document.
class PFPageSearchListModel : public QAbstractListModel {
    Q_OBJECT
public:
    static constexpr int MatchRole = Qt::UserRole + 1;
    static constexpr int PreviewRole = Qt::UserRole + 2;

    using QAbstractListModel::QAbstractListModel;

    const QVector<PDFSelection> &matches() const { return m_matches; }
    void clear();
    // False when the match is already listed.
    bool append(const PDFSelection &match, const PDFSearchPreview &preview);

    int rowCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role) const override;

private:
    QVector<PDFSelection> m_matches;
    QVector<PDFSearchPreview> m_previews; // by row, as m_matches
};

