#pragma once

#include "PFHighlightModel.h"

#include "platform/pdf/PDFDocument.h"

#include <QFutureWatcher>
#include <QVector>
#include <QWidget>
#include <atomic>
#include <memory>

class PFBasePDFView;
class PFHighlightListModel;
class PFMainHighlightCell;
class QListView;

// The Highlights tab: every annotation of the document that has a kind in the list, by page,
// with its text, author and date. Clicking a row shows the annotation and selects it.
//
// The list is refilled whenever the view reports an annotation change. The document is walked
// on a worker thread, so a refill of a heavily annotated document never stalls the window;
// a change that arrives during a walk starts one more walk after it.
class PFHighlightController : public QWidget {
    Q_OBJECT
public:
    explicit PFHighlightController(PFBasePDFView *view, QWidget *parent = nullptr);
    ~PFHighlightController() override;

    QListView *pfTableView() const { return m_table; }
    PFHighlightListModel *listModel() const { return m_model; }
    const QVector<PFHighlightModel> &pfHighlightArray() const;
    bool isFilling() const { return m_watcher.isRunning(); }

    // Starts rebuilding the rows from the document.
    void pfFillHighlightTable();
    // Takes the rows (heights already measured) and shows them.
    void pfUpdateData(QVector<PFHighlightModel> rows);
    void setDark(bool dark);
    void pfRefreshDarkColor();

signals:
    // The rows were replaced.
    void rowsFilled();

private:
    void documentMaybeReplaced();
    void rowChosen(const QModelIndex &index);
    void fillFinished();

    PFBasePDFView *m_view;
    PDFDocument m_document;
    QListView *m_table;
    PFHighlightListModel *m_model;
    PFMainHighlightCell *m_cell;
    QFutureWatcher<QVector<PFHighlightModel>> m_watcher;
    std::shared_ptr<std::atomic_bool> m_cancel;
    bool m_fillAgain = false;
};
