#include "PFMainHighlightCell.h"

#include "PFHighlightListModel.h"

#include <QIcon>
#include <QPainter>
#include <QTextLayout>

namespace {

constexpr int kIconSize = 16;
constexpr double kTextWidth = 187;

enum Kind { Highlight = 0, StrikeOut = 1, Underline = 2 };

QFont listFont(int pixels)
{
    QFont font;
    font.setPixelSize(pixels);
    return font;
}

} // namespace

QString PFMainHighlightCell::iconName(int kind, bool dark)
{
    static const char *const names[][2] = {
        {"HT", "HTW"},           {"strikeThrough", "strikeThroughW"}, {"underLine", "underlineWW"},
        {"messageD", "messageW"}, {"stampW", "stampWW"},               {"tD", "tDW"},
        {"lineD", "lineW"},       {"circleD", "circleW"},              {"squareD", "squareW"},
    };
    if (kind >= 0 && kind < int(std::size(names)))
        return QString::fromLatin1(names[kind][dark ? 1 : 0]);
    if (kind == 13)
        return dark ? QStringLiteral("curLineW") : QStringLiteral("curLine");
    return QStringLiteral("squareD");
}

QSize PFMainHighlightCell::sizeHint(const QStyleOptionViewItem &, const QModelIndex &index) const
{
    return index.data(Qt::SizeHintRole).toSize();
}

void PFMainHighlightCell::paint(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const
{
    const auto *model = qobject_cast<const PFHighlightListModel *>(index.model());
    if (!model)
        return;
    const PFHighlightModel &row = model->row(index.row());
    const QRect rect = option.rect;
    const QColor textColor = m_dark ? QColor(Qt::white) : QColor(Qt::black);
    painter->save();
    if (option.state & QStyle::State_Selected)
        painter->fillRect(rect, m_dark ? QColor(60, 70, 90) : QColor(220, 232, 252));

    if (row.isHeader()) {
        QFont font = listFont(12);
        font.setBold(true);
        painter->setFont(font);
        painter->setPen(m_dark ? QColor(200, 200, 200) : QColor(90, 90, 90));
        painter->drawText(rect.adjusted(8, 0, -8, 0), Qt::AlignLeft | Qt::AlignVCenter, row.headerStr);
        painter->restore();
        return;
    }

    const QIcon icon(QStringLiteral(":/resources/icons/%1.svg").arg(iconName(row.highlightType, m_dark)));
    icon.paint(painter, QRect(rect.left() + 8, rect.top() + 6, kIconSize, kIconSize));

    // The text, wrapped, in the list font; marked as its annotation marks the page.
    const QString text = row.contents.value_or(QString());
    const QColor fill = row.fontColor.isValid() && row.fontColor.alpha() > 0 ? row.fontColor : textColor;
    const QColor ink = m_dark ? QColor(Qt::white) : fill;
    QTextLayout layout(text, listFont(13));
    layout.beginLayout();
    double y = 0;
    for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
        line.setLineWidth(kTextWidth);
        line.setPosition(QPointF(0, y));
        y += line.height();
    }
    layout.endLayout();
    const QPointF origin(rect.left() + 8 + kIconSize + 6, rect.top() + 5);
    const double textBottom = rect.bottom() - 18;
    for (int i = 0; i < layout.lineCount(); ++i) {
        const QTextLine line = layout.lineAt(i);
        if (origin.y() + line.y() + line.height() > textBottom + 1 && i > 0)
            break; // the row is as tall as the text; a clipped last line is not drawn
        const QRectF box = line.naturalTextRect().translated(origin);
        if (row.highlightType == Highlight && row.highlightColor.alpha() > 0)
            painter->fillRect(box, row.highlightColor);
        if (row.highlightType == StrikeOut || row.highlightType == Underline) {
            const double at = row.highlightType == StrikeOut ? box.center().y() : box.top() + line.ascent() + 2;
            painter->setPen(QPen(row.highlightColor.alpha() > 0 ? row.highlightColor : ink, 1));
            painter->drawLine(QPointF(box.left(), at), QPointF(box.right(), at));
        }
    }
    painter->setPen(ink);
    layout.draw(painter, origin);

    painter->setFont(listFont(11));
    painter->setPen(m_dark ? QColor(180, 180, 180) : QColor(120, 120, 120));
    const QRect footer(rect.left() + 8 + kIconSize + 6, rect.bottom() - 16, rect.width() - kIconSize - 22, 14);
    if (row.highlightType != 5) // a free-text box shows no author
        painter->drawText(footer, Qt::AlignLeft | Qt::AlignVCenter, row.userName);
    painter->drawText(footer, Qt::AlignRight | Qt::AlignVCenter, row.dateStr);
    painter->restore();
}
