#pragma once

#include "PFHighlightModel.h"

#include <QAbstractListModel>
#include <QVector>

// The rows of the highlights-and-notes list for its view.
class PFHighlightListModel : public QAbstractListModel {
    Q_OBJECT
public:
    using QAbstractListModel::QAbstractListModel;

    void setRows(QVector<PFHighlightModel> rows);
    const QVector<PFHighlightModel> &rows() const { return m_rows; }
    const PFHighlightModel &row(int index) const { return m_rows.at(index); }
    // The row of an annotation, or -1.
    int rowOf(const PDFAnnotation &annotation) const;

    int rowCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;

private:
    QVector<PFHighlightModel> m_rows;
};
