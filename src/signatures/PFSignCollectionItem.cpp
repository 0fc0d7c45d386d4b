#include "PFSignCollectionItem.h"

#include <QFontMetricsF>
#include <QImageReader>
#include <QLabel>
#include <QMouseEvent>
#include <QPixmap>
#include <QToolButton>

namespace {
constexpr double kTypedSize = 26;
constexpr int kWrapWidth = 200;
} // namespace

double PFSignCollectionItem::fittedFontSize(const QString &text, const QString &family)
{
    QFont font(family);
    font.setPixelSize(int(kTypedSize));
    const QRectF box = QFontMetricsF(font).boundingRect(QRectF(0, 0, kWrapWidth, 1e6), Qt::TextWordWrap, text);
    return box.height() > kHeight ? kTypedSize * kHeight / box.height() : kTypedSize;
}

PFSignCollectionItem::PFSignCollectionItem(const PFSignParameterModel &entry, int cellIndex, QSize size,
                                           QWidget *parent)
    : QFrame(parent), m_cellIndex(cellIndex)
{
    setFixedSize(size);
    setFrameShape(QFrame::Box);
    setCursor(Qt::PointingHandCursor);
    setAutoFillBackground(true);
    QPalette white = palette();
    white.setColor(QPalette::Window, Qt::white);
    setPalette(white);

    m_content = new QLabel(this);
    m_content->setGeometry(rect().adjusted(4, 2, -4, -2));
    m_content->setAlignment(Qt::AlignCenter);
    if (entry.signType == PFSignParameterModel::Typed) {
        setObjectName(QStringLiteral("PFSignkeyboardItem"));
        const QString text = entry.inputText.value_or(QString());
        const QString family = entry.fontName.value_or(QString());
        QFont font(family);
        font.setPixelSize(std::max(1, int(fittedFontSize(text, family))));
        m_content->setFont(font);
        m_content->setWordWrap(true);
        m_content->setText(text);
        QPalette ink = m_content->palette();
        ink.setColor(QPalette::WindowText, entry.colorT.value_or(QColor(Qt::black)));
        m_content->setPalette(ink);
    } else {
        setObjectName(QStringLiteral("PFSignImageItem"));
        // Read at the item's size: a kept picture may be large.
        QImageReader reader(entry.imagePath.value_or(QString()));
        reader.setDecideFormatFromContent(true);
        const QSize full = reader.size();
        if (full.isValid())
            reader.setScaledSize(full.scaled(m_content->size(), Qt::KeepAspectRatio));
        const QImage image = reader.read();
        if (!image.isNull())
            m_content->setPixmap(QPixmap::fromImage(image));
    }

    m_delete = new QToolButton(this);
    m_delete->setObjectName(QStringLiteral("pfDeleteBtn"));
    m_delete->setText(QStringLiteral("×"));
    m_delete->setAutoRaise(true);
    m_delete->setGeometry(width() - 20, 2, 18, 18);
    connect(m_delete, &QToolButton::clicked, this, [this] { emit pfDeleteClick(m_cellIndex); });
}

void PFSignCollectionItem::mouseReleaseEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()))
        emit chosen(m_cellIndex);
}
