#pragma once

#include <QObject>
#include <QPointer>

class PFBasePDFView;
class PFColorViewController;
class PFDrawMenuView;
class PFFontViewController;
class PFWidthViewController;
class UserDefaults;

// The annotation bar's width, colour and font buttons (palette indices 15, 16 and 17): each
// opens its popover at the button, preset from the view, and hands every choice to the view.
class PFStylePopovers : public QObject {
    Q_OBJECT
public:
    PFStylePopovers(PFBasePDFView *view, UserDefaults &defaults, QObject *parent = nullptr);
    ~PFStylePopovers() override;

    // Opens the popover of palette index 15, 16 or 17 below its button in `bar`.
    void pfShow(int index, PFDrawMenuView *bar);

    // The colour kind last chosen (1 text, 2 border, 3 fill); 0 before any.
    int pfColorType() const { return m_colorType; }
    PFWidthViewController *widthPopover() const;
    PFColorViewController *colorPopover() const;
    PFFontViewController *fontPopover() const;

private:
    void pfShowWidthSelect();
    void pfShowColorSelect();
    void pfShowFontSelect();

    PFBasePDFView *m_view;
    UserDefaults &m_defaults;
    // Popovers are top-level windows; they are made on first use and kept.
    QPointer<PFWidthViewController> m_width;
    QPointer<PFColorViewController> m_color;
    QPointer<PFFontViewController> m_font;
    int m_colorType = 0;
};
