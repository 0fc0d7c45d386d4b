#include "PFSignImageViewController.h"

#include "app/PFModalSeam.h"
#include "platform/store/Localization.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPixmap>
#include <QPointer>
#include <QPushButton>
#include <QVBoxLayout>

PFSignImageViewController::PFSignImageViewController(QWidget *parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("PFSignImageViewController"));
    m_preview = new QLabel;
    m_preview->setObjectName(QStringLiteral("pfImageView"));
    m_preview->setAlignment(Qt::AlignCenter);
    m_preview->setMinimumHeight(150);
    m_choose = new QPushButton(pfLocalized("选择"));
    m_clear = new QPushButton(pfLocalized("清除"));
    m_done = new QPushButton(pfLocalized("完成"));
    m_close = new QPushButton(pfLocalized("关闭"));

    auto *buttons = new QHBoxLayout;
    buttons->addWidget(m_clear);
    buttons->addStretch();
    buttons->addWidget(m_close);
    buttons->addWidget(m_done);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_preview, 1);
    layout->addWidget(m_choose, 0, Qt::AlignCenter);
    layout->addLayout(buttons);

    connect(m_choose, &QPushButton::clicked, this, &PFSignImageViewController::pfSelectClick);
    connect(m_clear, &QPushButton::clicked, this, &PFSignImageViewController::pfClearClick);
    connect(m_done, &QPushButton::clicked, this, [this] {
        if (pfDoneEndEdit)
            pfDoneEndEdit(m_picture, m_picture.isNull());
    });
    connect(m_close, &QPushButton::clicked, this, [this] {
        if (pfDoneEndEdit)
            pfDoneEndEdit(PFPicture(), true);
    });
}

void PFSignImageViewController::pfSelectClick()
{
    // The file panel takes the focus from the signature tab, which as a pop-up then closes;
    // it must survive that and come back, with the picture chosen.
    const QPointer<QWidget> tab = window();
    const QPointer<PFSignImageViewController> self(this);
    const bool deletesOnClose = tab->testAttribute(Qt::WA_DeleteOnClose);
    tab->setAttribute(Qt::WA_DeleteOnClose, false);
    const QString path = PFModalSeam::current().openImagePath(tab);
    if (!self || !tab)
        return;
    tab->setAttribute(Qt::WA_DeleteOnClose, deletesOnClose);
    if (!tab->isVisible())
        tab->show();
    if (path.isEmpty())
        return;
    QString message;
    const PFPicture picture = PFPicture::fromFile(path, &message);
    if (picture.isNull()) {
        if (pfShowMessage)
            pfShowMessage(message);
        return;
    }
    m_picture = picture;
    showPreview();
}

void PFSignImageViewController::pfClearClick()
{
    m_picture = PFPicture();
    showPreview();
}

void PFSignImageViewController::showPreview()
{
    if (m_picture.isNull()) {
        m_preview->clear();
        m_choose->show();
        return;
    }
    // A preview of the preview's size, never the full picture on screen.
    const QSize room = m_preview->size().expandedTo(QSize(200, 150));
    m_preview->setPixmap(QPixmap::fromImage(m_picture.image().scaled(room, Qt::KeepAspectRatio, Qt::SmoothTransformation)));
    m_choose->hide();
}
