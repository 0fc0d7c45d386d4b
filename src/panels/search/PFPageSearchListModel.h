#pragma once

#include "platform/pdf/PDFSelection.h"

#include <QAbstractListModel>

// The matches of the last search, in the order they were reported, one row each.
class PFPageSearchListModel : public QAbstractListModel {
    Q_OBJECT
public:
    static constexpr int MatchRole = Qt::UserRole + 1;

    using QAbstractListModel::QAbstractListModel;

    const QVector<PDFSelection> &matches() const { return m_matches; }
    void clear();
    // False when the match is already listed.
    bool append(const PDFSelection &match);

    int rowCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role) const override;

private:
    QVector<PDFSelection> m_matches;
};

