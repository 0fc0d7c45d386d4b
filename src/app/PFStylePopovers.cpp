#include "PFStylePopovers.h"

#include "settings/PFManager.h"
#include "editing/PFBasePDFView.h"
#include "editing/PFFreeTextEditor.h"
#include "editing/PFStyleCommands.h"
#include "editing/palette/PFColorViewController.h"
#include "editing/palette/PFDrawMenuView.h"
#include "editing/palette/PFFontViewController.h"
#include "editing/palette/PFWidthViewController.h"

namespace {
// The font popover numbers its alignments left 0, right 1, centre 2; the view uses its own.
PDFTextAlignment viewAlignment(int popover)
{
    switch (popover) {
    case PFFontViewController::Right: return PDFTextAlignment::Right;
    case PFFontViewController::Centered: return PDFTextAlignment::Center;
    default: return PDFTextAlignment::Left;
    }
}

int popoverAlignment(PDFTextAlignment alignment)
{
    switch (alignment) {
    case PDFTextAlignment::Right: return PFFontViewController::Right;
    case PDFTextAlignment::Center: return PFFontViewController::Centered;
    default: return PFFontViewController::Left;
    }
}
} // namespace

PFStylePopovers::PFStylePopovers(PFBasePDFView *view, UserDefaults &defaults, QObject *parent)
    : QObject(parent), m_view(view), m_defaults(defaults)
{
}

PFStylePopovers::~PFStylePopovers()
{
    delete m_width;
    delete m_color;
    delete m_font;
}

void PFStylePopovers::pfShow(int index, PFDrawMenuView *bar)
{
    PFPopover *popover = nullptr;
    switch (index) {
    case 15: pfShowWidthSelect(); popover = m_width; break;
    case 16: pfShowColorSelect(); popover = m_color; break;
    case 17: pfShowFontSelect(); popover = m_font; break;
    default: return;
    }
    popover->pfShowRelativeTo(bar, bar->pfRectAtIndex(index + 1));
}

void PFStylePopovers::pfShowWidthSelect()
{
    if (!m_width) {
        m_width = new PFWidthViewController;
        m_width->pfDoneEdit = [this](int width) { m_view->pfStyleCommands()->pfChangeCurrentWidth(width); };
    }
    m_width->pfSetLineWidth(m_view->pfLineWidth());
}

void PFStylePopovers::pfShowColorSelect()
{
    if (!m_color) {
        m_color = new PFColorViewController(PFManager::sharedManager());
        m_color->pfDoneEdit = [this](const QColor &color, int type) {
            m_colorType = type;
            m_view->pfStyleCommands()->pfChangeAnoColor(color, type);
        };
    }
}

void PFStylePopovers::pfShowFontSelect()
{
    if (!m_font) {
        m_font = new PFFontViewController(m_defaults);
        m_font->pfDoneEndEdit = [this](const QString &name, int size, int alignment, int which) {
            m_view->pfTextEditor()->pfChangeFontTitle(name, size, viewAlignment(alignment), which);
        };
    }
    const PFFreeTextEditor *editor = m_view->pfTextEditor();
    m_font->pfSetFont(editor->pfGetFontTitle(), editor->pfGetFontSize(), popoverAlignment(editor->pfGetFontAlignment()));
}

PFWidthViewController *PFStylePopovers::widthPopover() const { return m_width; }

PFColorViewController *PFStylePopovers::colorPopover() const { return m_color; }

PFFontViewController *PFStylePopovers::fontPopover() const { return m_font; }
