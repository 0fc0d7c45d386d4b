#include "PFPageSearchTableCellView.h"

#include "platform/store/Localization.h"

#include <QLabel>

PFPageSearchTableCellView::PFPageSearchTableCellView(QWidget *parent)
    : QWidget(parent), m_pageNum(new QLabel(this)), m_content(new QLabel(this))
{
    setObjectName(QStringLiteral("searchPage"));
    m_pageNum->setObjectName(QStringLiteral("pfPageNum"));
    m_content->setObjectName(QStringLiteral("pfContentLB"));
    QFont small = m_pageNum->font();
    small.setPointSizeF(small.pointSizeF() * 0.85);
    m_pageNum->setFont(small);
    m_content->setTextFormat(Qt::RichText);
    m_content->setWordWrap(true);
    m_content->setAlignment(Qt::AlignLeft | Qt::AlignTop);
}

void PFPageSearchTableCellView::resizeEvent(QResizeEvent *)
{
    // Placed by hand rather than by a layout, which would lay out the rich text for its size
    // hints each time the cell is filled and drawn.
    const QRect inside = rect().marginsRemoved(QMargins(6, 3, 6, 3));
    const int pageHeight = m_pageNum->fontMetrics().height();
    m_pageNum->setGeometry(inside.left(), inside.top(), inside.width(), pageHeight);
    m_content->setGeometry(inside.left(), inside.top() + pageHeight + 1, inside.width(),
                           std::max(inside.height() - pageHeight - 1, 0));
}

void PFPageSearchTableCellView::pfSetPreview(const PDFSearchPreview &preview)
{
    m_pageNum->setText(pageText(preview));
    m_content->setText(contentText(preview));
}

QString PFPageSearchTableCellView::pageText(const PDFSearchPreview &preview)
{
    // The number the title bar and Go to Page use; the printed label beside it when it differs.
    if (preview.pageIndex < 0)
        return pfLocalized("页面");
    const QString number = QString::number(preview.pageIndex + 1);
    if (preview.pageLabel.isEmpty() || preview.pageLabel == number)
        return QStringLiteral("%1 %2").arg(pfLocalized("页面"), number);
    return QStringLiteral("%1 %2 (%3)").arg(pfLocalized("页面"), number, preview.pageLabel);
}

QString PFPageSearchTableCellView::contentText(const PDFSearchPreview &preview)
{
    return QStringLiteral("<span style=\"color:#ff0000\">") + preview.text.toHtmlEscaped() + QStringLiteral("</span>")
        + preview.following.toHtmlEscaped();
}
