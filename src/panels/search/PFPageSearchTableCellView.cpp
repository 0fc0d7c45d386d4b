#include "PFPageSearchTableCellView.h"

#include "platform/store/Localization.h"

#include <QLabel>
#include <QVBoxLayout>

namespace {
// Line breaks of the page text would make the one-line preview jump; a space reads the same.
QString flattened(QString text) { return text.replace(QLatin1Char('\n'), QLatin1Char(' ')); }
} // namespace

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

void PFPageSearchTableCellView::pfSetMatch(const PDFSelection &match)
{
    m_pageNum->setText(pageText(match));
    m_content->setText(contentText(match));
}

QString PFPageSearchTableCellView::pageText(const PDFSelection &match)
{
    // The number the title bar and Go to Page use; the printed label beside it when it differs.
    const QVector<PDFPage> pages = match.pages();
    if (pages.isEmpty() || pages.first().index() < 0)
        return pfLocalized("页面");
    const QString number = QString::number(pages.first().index() + 1);
    const QString label = pages.first().label();
    if (label.isEmpty() || label == number)
        return QStringLiteral("%1 %2").arg(pfLocalized("页面"), number);
    return QStringLiteral("%1 %2 (%3)").arg(pfLocalized("页面"), number, label);
}

QString PFPageSearchTableCellView::contentText(const PDFSelection &match)
{
    PDFSelection extended = match;
    extended.extendAtEnd(kContextLength);
    const QString text = flattened(extended.string());
    const QString found = flattened(match.string());
    const qsizetype at = found.isEmpty() ? -1 : text.indexOf(found, 0, Qt::CaseInsensitive);
    if (at < 0)
        return text.toHtmlEscaped();
    return text.left(at).toHtmlEscaped() + QStringLiteral("<span style=\"color:#ff0000\">")
        + text.mid(at, found.size()).toHtmlEscaped() + QStringLiteral("</span>")
        + text.mid(at + found.size()).toHtmlEscaped();
}
