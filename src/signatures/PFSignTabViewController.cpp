#include "PFSignTabViewController.h"

#include "PFDataManager.h"
#include "PFSignDrawViewController.h"
#include "PFSignImageViewController.h"
#include "PFSignKeybordViewController.h"
#include "PFSignMyViewController.h"

#include "platform/store/Localization.h"
#include "settings/PFManager.h"

#include <QBuffer>
#include <QDateTime>
#include <QPointer>
#include <QSaveFile>
#include <QTabWidget>
#include <QVBoxLayout>

PFSignTabViewController::PFSignTabViewController(PFDataManager &store, UserDefaults &defaults, QWidget *parent)
    : PFPopover(kSize, parent), m_store(store)
{
    setObjectName(QStringLiteral("pfSignTab"));
    setAttribute(Qt::WA_DeleteOnClose);
    m_my = new PFSignMyViewController(store);
    m_keyboard = new PFSignKeybordViewController(defaults);
    m_draw = new PFSignDrawViewController(defaults);
    m_image = new PFSignImageViewController;
    m_tabs = new QTabWidget;
    m_tabs->addTab(m_my, pfLocalized("我的签名"));
    m_tabs->addTab(m_keyboard, pfLocalized("键入"));
    m_tabs->addTab(m_draw, pfLocalized("绘制"));
    m_tabs->addTab(m_image, pfLocalized("图片"));
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->addWidget(m_tabs);

    // Each report is handled from the event loop, after the child's own click has finished.
    const QPointer<PFSignTabViewController> self(this);
    m_keyboard->pfDoneEndEdit = [self](std::optional<QString> font, QColor color, std::optional<QString> text) {
        QMetaObject::invokeMethod(self, [=] { if (self) self->pfSaveSign(font, color, text); }, Qt::QueuedConnection);
    };
    m_draw->pfDoneEndEdit = [self](const QImage &image, bool cancelled) {
        QMetaObject::invokeMethod(self, [=] { if (self) self->pfSaveSignDraw(image, cancelled); }, Qt::QueuedConnection);
    };
    m_image->pfDoneEndEdit = [self](const PFPicture &picture, bool cancelled) {
        QMetaObject::invokeMethod(self, [=] { if (self) self->pfSaveSignImage(picture, cancelled); }, Qt::QueuedConnection);
    };
    m_image->pfShowMessage = [self](const QString &message) {
        if (self)
            self->tell(message);
    };
    m_my->pfDoneEndEdit = [self](const std::optional<PFSignParameterModel> &model, bool cancelled) {
        QMetaObject::invokeMethod(self, [=] { if (self) self->pfSelectModel(model, cancelled); }, Qt::QueuedConnection);
    };
}

void PFSignTabViewController::tell(const QString &message)
{
    if (pfShowMessage && !message.isEmpty())
        pfShowMessage(message);
}

void PFSignTabViewController::hand(const PFSignParameterModel &model)
{
    close();
    if (pfSelectSignModel)
        pfSelectSignModel(model);
}

void PFSignTabViewController::pfSaveSign(const std::optional<QString> &fontName, const QColor &color,
                                         const std::optional<QString> &content)
{
    if (!fontName || !content) {
        close();
        return;
    }
    if (!m_store.pfSaveSignFont(*fontName, color, *content))
        tell(m_store.lastError());
    PFSignParameterModel model;
    model.signType = PFSignParameterModel::Typed;
    model.fontName = fontName;
    model.colorT = color;
    model.inputText = content;
    hand(model);
}

QString PFSignTabViewController::writePicture(const QImage &image, const QByteArray &fileBytes)
{
    const QString name = QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMddHHmmss"));
    const QString path = PFManager::pfGetCacheSignImagePathByID(name);
    QByteArray bytes = fileBytes;
    if (bytes.isEmpty()) {
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::WriteOnly);
        if (!image.save(&buffer, "PNG"))
            return {};
    }
    // Written whole and renamed into place; a signature made in the same second replaces it.
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit())
        return {};
    return name;
}

void PFSignTabViewController::pfSaveSignDraw(const QImage &image, bool cancelled)
{
    if (cancelled || image.isNull()) {
        close();
        return;
    }
    const QString name = writePicture(image, {});
    if (name.isEmpty())
        tell(pfLocalized("无法保存签名图片。"));
    else if (!m_store.pfSaveSignDrawImage(name))
        tell(m_store.lastError());
    PFSignParameterModel model;
    model.signType = PFSignParameterModel::Drawn;
    model.imageT = PFPicture(image);
    hand(model);
}

void PFSignTabViewController::pfSaveSignImage(const PFPicture &picture, bool cancelled)
{
    if (cancelled || picture.isNull()) {
        close();
        return;
    }
    // A JPEG is kept as its own bytes, so that placing it from the list passes it through too.
    const QString name = writePicture(picture.image(), picture.jpeg());
    if (name.isEmpty())
        tell(pfLocalized("无法保存签名图片。"));
    else if (!m_store.pfSaveSignImage(name))
        tell(m_store.lastError());
    PFSignParameterModel model;
    model.signType = PFSignParameterModel::Image;
    model.imageT = picture;
    hand(model);
}

void PFSignTabViewController::pfSelectModel(const std::optional<PFSignParameterModel> &model, bool cancelled)
{
    if (cancelled || !model) {
        close();
        return;
    }
    hand(*model);
}
