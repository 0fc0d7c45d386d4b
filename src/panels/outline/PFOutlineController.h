#pragma once

#include "PFOutlineEditController.h"

#include "platform/pdf/PDFDocument.h"
#include "platform/pdf/PDFOutline.h"

#include <QMenu>
#include <QObject>
#include <QPointer>
#include <functional>

class PFBaseOutlineView;
class PFBasePDFView;
class PFOutlineModel;
class QToolButton;
class QWidget;

// The Contents tab: the document's outline as a tree that leads to its destinations, and the
// commands that edit it (add after, add a child, add at the parent's level, point at the page
// shown, rename and renumber, delete). Edits change the document's own outline, so the next
// save writes them.
//
// While pages inserted or removed are unsaved, every edit first asks to save; the save
// itself belongs to the window (pfSaveEditCatalogFile).
class PFOutlineController : public QObject {
    Q_OBJECT
public:
    // Menu tags of the editing menu.
    enum Tag { AddEntry = 1, AddChild = 2, AddAbove = 3, SetDestination = 4, Rename = 5, Delete = 6 };
    // Where an added entry goes: after the selection (the add button), after the entry that
    // was right-clicked, or after that entry's parent.
    enum AddMode { AfterSelection, AfterClicked, AtParentLevel };

    explicit PFOutlineController(PFBasePDFView *view, QObject *parent = nullptr);
    ~PFOutlineController() override;

    // The page of the side panel; the panel takes it over.
    QWidget *page() const { return m_page; }
    PFBaseOutlineView *pfOutlineView() const { return m_tree; }
    PFOutlineModel *model() const { return m_model; }
    QToolButton *pfAddCatalogButton() const { return m_addButton; }
    // The editing menu while it is open.
    QMenu *editMenu() const { return m_menu; }
    PFOutlineEditController *editPopover() const { return m_popover; }

    PDFOutline pfSelectOutline() const { return m_selected; }
    bool isShowOutlineEditView() const { return m_popover != nullptr; }
    void setDark(bool dark);

    void pfEditCatelogMenuClick(int tag);
    void pfAddCatelog(AddMode mode);
    void pfAddChildOutline();
    void pfAddCurrentPageOutline();
    void pfDoubleClickOutline();
    void pfDeleteCatelog();

    // Saves the document to its file and opens it again; set by the window.
    std::function<void()> pfSaveEditCatalogFile;

private:
    void documentMaybeReplaced();
    void rightClicked(QPoint point);
    void currentChanged(const QModelIndex &index);
    void rowClicked(const QModelIndex &index);
    void goTo(const PDFOutline &item);
    // True when the question was asked (pages inserted or removed are unsaved); the edit stops.
    bool askSaveFirst(const char *message);
    // Selects an entry by identity, expanding the levels above it.
    void selectItem(const PDFOutline &item);
    // The top of a page (its crop box's top left corner).
    PDFDestination topOf(const PDFPage &page) const;
    QString pageTitle(const QString &pageLabel) const;

    PFBasePDFView *m_view;
    PDFDocument m_document;
    QPointer<QWidget> m_page; // owned by the side panel once placed there
    PFBaseOutlineView *m_tree;
    PFOutlineModel *m_model;
    QToolButton *m_addButton;
    QPointer<QMenu> m_menu;
    QPointer<PFOutlineEditController> m_popover;
    PDFOutline m_selected;
    PDFOutline m_clicked;           // the entry last right-clicked
    PDFOutline m_navigatedOnPress;  // the press that made it current already went there
    bool m_selecting = false;       // the selection is being set by the program
};
