#pragma once

#include "platform/pdf/PDFTextSearch.h"

#include <QWidget>

class PFPageSearchCellDelegate;
class PFPageSearchListModel;
class QListView;

// The search page of the side panel: the list of matches. Choosing a row reports its match
// through pfPageSearchSelect; rows selected by the list itself (after each append) do not.
class PFPageSearchController : public QWidget {
    Q_OBJECT
public:
    explicit PFPageSearchController(QWidget *parent = nullptr);

    const QVector<PDFSelection> &pfSearchArray() const;
    // The row the user chose last; 0 at start, kept across searches.
    int pfSelectRow() const { return m_selectRow; }
    QListView *pfTableView() const { return m_table; }
    PFPageSearchCellDelegate *cellDelegate() const { return m_delegate; }

    void pfClearAllData();
    // Appends a match that is not listed yet, shown as its preview reads, and selects row
    // pfSelectRow.
    void pfAddSelection(const PDFSelection &match, const PDFSearchPreview &preview);
    // Chooses the next (step 1) or previous (step -1) match, wrapping at the ends; the first
    // step after new results chooses the selected row itself. False when the list is empty.
    bool pfChooseNext(int step);

signals:
    void pfPageSearchSelect(const PDFSelection &match);

private:
    void chooseRow(int row);
    void selectRememberedRow();

    PFPageSearchListModel *m_model;
    PFPageSearchCellDelegate *m_delegate;
    QListView *m_table;
    int m_selectRow = 0;
    bool m_selecting = false; // the list itself is moving the current row
    bool m_chosenSinceClear = false;
};
