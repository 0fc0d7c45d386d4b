#pragma once

#include <QObject>
#include <QPointer>

class PDFThumbnailView;
class PFBasePDFView;
class QWidget;

// The Edit commands of one document window (cut, copy, paste, delete, select all), whichever
// way they are given: menu, keys or the owner's buttons. Each acts on what has the keyboard:
// the text field being typed in, the selected thumbnails, or else the page view, where it
// acts on the selected annotation (copy also on selected text). pfCanPerform answers whether
// a command can act now, for the menu items' enabling, and stateChanged says when that
// answer may have changed.
class PFEditCommands : public QObject {
    Q_OBJECT
public:
    enum Command { Cut = 0, Copy = 1, Paste = 2, Delete = 3, SelectAll = 4 };
    enum class Target { TextField, Thumbnails, PageView };

    PFEditCommands(PFBasePDFView *view, PDFThumbnailView *thumbnails, QObject *parent = nullptr);

    Target target() const;
    bool pfCanPerform(Command command) const;
    void pfPerform(Command command);

signals:
    void stateChanged();

private:
    void focusChanged(QWidget *now);
    bool canPerformOnField(Command command) const;
    void performOnField(Command command);
    bool canPerformOnPages(Command command) const;
    void performOnPages(Command command);
    bool canPerformOnView(Command command) const;
    void performOnView(Command command);
    bool selectionIsCopyable() const;

    PFBasePDFView *m_view;
    PDFThumbnailView *m_thumbnails;
    QPointer<QWidget> m_focus;      // the last widget of this window that had the keyboard
    QPointer<QObject> m_watchedField; // the text field whose selection changes are followed
};
