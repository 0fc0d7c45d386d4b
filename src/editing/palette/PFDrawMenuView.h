#pragma once

#include <QStringList>
#include <QWidget>
#include <functional>

class PFDrawButton;

// The annotation bar: fifteen tool buttons and the width, colour and font buttons, tags 1 to
// 18 for palette indices 0 to 17. A click reports the index through pfToolClick; a tool button
// also becomes the one chosen button.
class PFDrawMenuView : public QWidget {
    Q_OBJECT
public:
    static constexpr int kButtonCount = 18;
    static constexpr int kHeight = 34;

    explicit PFDrawMenuView(QWidget *parent = nullptr);

    // Image names per palette index: normal and chosen.
    const QStringList &titles() const { return m_titles; }
    const QStringList &titlesSelect() const { return m_titlesSelect; }
    // Localisation keys of the tooltips per palette index.
    static const QStringList &tooltipKeys();

    // Called with the palette index of the clicked button.
    std::function<void(int)> pfToolClick;

    void pfOnToolClick(PFDrawButton *button);
    // The frame of the button with that tag, in this view; null for an unknown tag.
    QRect pfRectAtIndex(int tag) const;
    PFDrawButton *buttonWithTag(int tag) const;

private:
    void pfAddAllView();

    QStringList m_titles;
    QStringList m_titlesSelect;
    QList<PFDrawButton *> m_buttons;
};
