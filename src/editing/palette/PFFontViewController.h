#pragma once

#include "PFPopover.h"

#include "PFRecentFonts.h"

#include <functional>

class QButtonGroup;
class QComboBox;

// The font popover: a font menu (recent fonts, then every family of the system), a size box
// and an alignment control. Each change is reported through pfDoneEndEdit as
// (font name, size, alignment, which): which 1 a font, 2 a size, 3 an alignment.
class PFFontViewController : public PFPopover {
    Q_OBJECT
public:
    // Alignment values as the view takes them.
    enum Alignment { Left = 0, Right = 1, Centered = 2 };
    // The size reported with a font or an alignment change.
    static constexpr int kReportedSize = 16;

    explicit PFFontViewController(UserDefaults &defaults, QWidget *parent = nullptr);

    std::function<void(const QString &name, int size, int alignment, int which)> pfDoneEndEdit;

    // Presets the controls from the view's current font, size and alignment.
    void pfSetFont(const QString &name, int size, int alignment);

    QComboBox *fontMenu() const { return m_fontMenu; }
    QComboBox *sizeBox() const { return m_sizeBox; }
    QButtonGroup *alignmentControl() const { return m_alignment; }
    // The names listed before the separator.
    QStringList recentNames() const { return m_recent; }

private:
    void fillFontMenu(const QString &current);
    void fontPicked(int item);
    void sizeEntered(const QString &text);
    void report(const QString &name, int size, int which);

    PFRecentFonts m_recentFonts;
    QStringList m_recent;
    QComboBox *m_fontMenu;
    QComboBox *m_sizeBox;
    QButtonGroup *m_alignment;
    int m_currentAlignment = Left;
    int m_currentSize = 0;
};
