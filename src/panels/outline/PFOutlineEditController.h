#pragma once

#include <QWidget>
#include <functional>

class QLabel;
class QLineEdit;

// The popover that renames an outline entry and changes its page number. Return in either
// field, or closing the popover, ends the editing; Escape closes it without a change.
class PFOutlineEditController : public QWidget {
    Q_OBJECT
public:
    explicit PFOutlineEditController(QWidget *parent = nullptr);

    // Presets: the title, the page (the destination's page label, "1" without one) and the
    // document's page count.
    void setValues(const QString &title, const QString &page, int pageCount);
    QLineEdit *titleField() const { return m_title; }
    QLineEdit *pageField() const { return m_page; }
    QLabel *totalLabel() const { return m_total; }

    // The title when editing ends, and whether it differs from the preset.
    std::function<void(const QString &title, bool changed)> pfTitleEndEdit;
    // The page field, when it was typed into and holds a number of at least 1.
    std::function<void(const QString &page)> pfPageEndEdit;
    // Sent once when the popover closes, however it was closed.
    std::function<void()> pfDidClose;

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void hideEvent(QHideEvent *event) override;

private:
    void commit();

    QLineEdit *m_title;
    QLineEdit *m_page;
    QLabel *m_total;
    QString m_startTitle;
    bool m_pageTyped = false;
    bool m_done = false;
};
