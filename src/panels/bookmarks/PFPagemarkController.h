#pragma once

#include "PFPagemarkEditController.h"
#include "PFPagemarkModel.h"

#include <QMenu>
#include <QPointer>
#include <QVector>
#include <QWidget>

class PFBasePDFView;
class PFPagemarkTableView;

// The Bookmarks tab: the document's bookmarks in page order, read from the preference store,
// with go to (click), rename (double click or menu) and delete (menu). A bookmark of a page
// the document no longer has is listed and leads nowhere.
class PFPagemarkController : public QWidget {
    Q_OBJECT
public:
    enum Tag { RenameTag = 1, DeleteTag = 2 };

    explicit PFPagemarkController(PFBasePDFView *view, QWidget *parent = nullptr);

    PFPagemarkTableView *pfTableView() const { return m_table; }
    const QVector<PFPagemarkModel> &pfMarkArray() const { return m_rows; }
    int pfSelectRow() const { return m_selectRow; }
    QMenu *editMenu() const { return m_menu; }
    PFPagemarkEditController *editPopover() const { return m_popover; }

    // Rebuilds the rows from the store; selects the row of `pageKey` when given.
    void pfRefreshData(const QString &pageKey = {});
    void pfEditMarkMenuClick(int tag);
    void pfDoubleClickEdit();
    void setDark(bool dark);

private:
    QString storeKey() const;
    void rowChosen(int row);
    void rightClicked(int row, QPoint point);
    void deleteRow(int row);
    void pfSaveMarks(int row);

    PFBasePDFView *m_view;
    PFPagemarkTableView *m_table;
    QVector<PFPagemarkModel> m_rows;
    int m_selectRow = -1;
    QPointer<QMenu> m_menu;
    QPointer<PFPagemarkEditController> m_popover;
};
