#include "PFDrawMenuView.h"

#include "PFDrawButton.h"

#include "platform/store/Localization.h"

namespace {
// The width, colour and font buttons open popovers and never become the chosen tool.
bool opensPopover(int tag) { return tag >= 16; }
} // namespace

PFDrawMenuView::PFDrawMenuView(QWidget *parent)
    : QWidget(parent),
      m_titles{"noneH", "HT", "underLine", "strikeThrough", "curLine", "circleD", "squareD", "arrowD", "lineD",
               "LinkH", "tD", "messageD", "picTW", "stampW", "steelW", "line_weightW", "colorW", "FontW"},
      m_titlesSelect{"noneT", "HTS", "underLineS", "strikeThroughS", "curLineS", "circleDS", "squareDS",
                     "arrowDS", "lineDS", "LinkW", "tDS", "messageDS", "picTH", "stampH", "steelH",
                     "line_weightW", "colorW", "FontW"}
{
    setObjectName(QStringLiteral("PFDrawMenuView"));
    setAutoFillBackground(true);
    QPalette background = palette();
    background.setColor(QPalette::Window, QColor(214, 226, 230));
    setPalette(background);
    setFixedHeight(kHeight);
    setMinimumWidth(pfRectAtIndex(kButtonCount).right() + 12);
    pfAddAllView();
}

const QStringList &PFDrawMenuView::tooltipKeys()
{
    static const QStringList keys{"NoneTo", "HilightTo", "UnderlineTo", "StrikeoutTo", "PenTo", "CircleTo",
                                  "RectangleTo", "ArrowTo", "LineTo", "LinkTo", "TextTo", "NoteTo",
                                  "ImageTo", "StampTo", "SignTo", "WidthTo", "ColorTo", "FontTo"};
    return keys;
}

void PFDrawMenuView::pfAddAllView()
{
    for (int i = 0; i < kButtonCount; ++i) {
        auto *button = new PFDrawButton(i + 1, m_titles[i], m_titlesSelect[i], this);
        button->setGeometry(pfRectAtIndex(i + 1));
        button->setIconSize(QSize(18, 18));
        button->setToolTip(pfLocalized(tooltipKeys()[i].toUtf8().constData()));
        button->setAccessibleName(button->toolTip());
        connect(button, &QToolButton::clicked, this, [this, button] { pfOnToolClick(button); });
        m_buttons.append(button);
    }
    m_buttons.first()->pfSetChosen(true);
}

void PFDrawMenuView::pfOnToolClick(PFDrawButton *button)
{
    if (!opensPopover(button->tag())) {
        for (PFDrawButton *other : std::as_const(m_buttons))
            other->pfSetChosen(false);
        button->pfSetChosen(true);
    }
    if (pfToolClick)
        pfToolClick(button->tag() - 1);
}

QRect PFDrawMenuView::pfRectAtIndex(int tag) const
{
    if (tag < 1 || tag > kButtonCount)
        return {};
    return QRect(12 + 30 * (tag - 1), 8, 18, 18);
}

PFDrawButton *PFDrawMenuView::buttonWithTag(int tag) const
{
    return tag >= 1 && tag <= kButtonCount ? m_buttons[tag - 1] : nullptr;
}
