#pragma once

#include <QWidget>
#include <functional>

class QMenu;
class QPlainTextEdit;
class QPushButton;

// The note popover: the note's text and a menu of its seven icons. It reports through
// pfTitleEndEdit: (current text, position + 100) when an icon is chosen, and (text, chosen
// position) when the text editing ends, which is when the popover closes.
class PFTextAnnotationController : public QWidget {
    Q_OBJECT
public:
    explicit PFTextAnnotationController(QWidget *parent = nullptr);

    std::function<void(const QString &text, int index)> pfTitleEndEdit;

    // Chooses the menu item for a note icon type.
    void pfSelectIndex(int iconType);
    // Fills the text area; an empty text leaves it as it is.
    void pfSetText(const QString &text);
    int selectedPosition() const { return m_position; }
    QString text() const;
    QMenu *iconMenu() const { return m_menu; }
    QPlainTextEdit *textArea() const { return m_text; }

    // Shows the popover above a rectangle given in global coordinates.
    void showAbove(const QRect &anchor);

protected:
    void hideEvent(QHideEvent *event) override;

private:
    void choose(int position);

    QPlainTextEdit *m_text;
    QPushButton *m_iconButton;
    QMenu *m_menu;
    int m_position = 0;
    bool m_reported = false;
};
