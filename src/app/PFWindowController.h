#pragma once

#include <QMainWindow>
#include <QStringList>
#include <functional>

class QAction;
class QComboBox;
class QLineEdit;
class QShortcut;
class QToolBar;
class QToolButton;
class ViewController;

// The document window: its toolbar (zoom, annotate, tools, sidebar, search, combine, images to
// PDF, new tab), the zoom pop-up and the title. It keeps no document state and passes every
// command on to its content controller.
class PFWindowController : public QMainWindow {
    Q_OBJECT
public:
    explicit PFWindowController(ViewController *content, QWidget *parent = nullptr);

    ViewController *contentViewController() const { return m_content; }
    const QStringList &titlesArray() const { return m_titles; }
    QComboBox *pfWidthItem() const { return m_zoom; }
    QToolButton *pfEditBtn() const { return m_editBtn; }
    QToolButton *pfToolBtn() const { return m_toolBtn; }
    QToolButton *pfExtentBtn() const { return m_extentBtn; }
    QLineEdit *pfSearchField() const { return m_search; }
    QToolBar *toolbar() const { return m_toolbar; }
    bool pfEditBtnStatus() const { return m_editStatus; }
    bool pfToolBtnStatus() const { return m_toolStatus; }
    bool pfExtented() const { return m_extented; }
    // The image name each paired button shows now.
    QString imageNameOf(QToolButton *button) const;

    void pfHideAllMenuItem();
    void pfShowAllMenuItem();
    // The title from the represented content: "name (Page: n/total)", or "new tab".
    QString windowTitleForDocumentDisplayName() const;
    void updateTitle();
    void pfScaleFacterClick(int index);
    void pfZhuShiClick();
    void pfToolClick();
    void pdfExtentClick();
    void pfResignSearchBar();
    // Full screen shows the pages alone; Escape (or F11) brings the window back as it was.
    void setFullScreen(bool on);

    // Asked before the window closes; false keeps it open (the document may ask first).
    std::function<bool()> shouldClose;

signals:
    void pfShowCombineView();
    void pfShowImageToPDFView();
    void pfAddPDFClick();
    void becameMain();
    void minimised();

protected:
    void closeEvent(QCloseEvent *event) override;
    void changeEvent(QEvent *event) override;

private:
    QToolButton *addButton(const QString &image, const char *label, std::function<void()> action);
    void setImage(QToolButton *button, const QString &image);

    ViewController *m_content;
    QToolBar *m_toolbar;
    QStringList m_titles;
    QComboBox *m_zoom;
    QToolButton *m_smallBtn;
    QToolButton *m_bigBtn;
    QToolButton *m_editBtn;
    QToolButton *m_toolBtn;
    QToolButton *m_extentBtn;
    QLineEdit *m_search;
    QList<QWidget *> m_documentItems;
    bool m_editStatus = false;
    bool m_toolStatus = false;
    bool m_extented = false;
    bool m_toolbarWasVisible = true;
    Qt::WindowStates m_stateBeforeFullScreen;
    QShortcut *m_leaveFullScreen;
};
