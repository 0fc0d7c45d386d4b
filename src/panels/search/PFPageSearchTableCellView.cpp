#include "PFPageSearchTableCellView.h"

#include "platform/store/Localization.h"

#include <QLabel>
#include <QVBoxLayout>

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
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(6, 3, 6, 3);
    layout->setSpacing(1);
    layout->addWidget(m_pageNum);
    layout->addWidget(m_content, 1);
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
