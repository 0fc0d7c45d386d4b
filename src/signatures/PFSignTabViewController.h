#pragma once

#include "PFSignParameterModel.h"

#include "editing/palette/PFPopover.h"

#include <functional>

class PFDataManager;
class PFSignDrawViewController;
class PFSignImageViewController;
class PFSignKeybordViewController;
class PFSignMyViewController;
class QTabWidget;
class UserDefaults;

// The signature tab: a popover with the tabs My signatures, Type, Draw and Image. A new
// signature is kept in the store at once; it, or a kept one chosen, goes to pfSelectSignModel
// and the tab closes: one signature per opening.
class PFSignTabViewController : public PFPopover {
    Q_OBJECT
public:
    static constexpr QSize kSize{450, 300};

    PFSignTabViewController(PFDataManager &store, UserDefaults &defaults, QWidget *parent = nullptr);

    // The window's controller: takes the signature to place next.
    std::function<void(const PFSignParameterModel &)> pfSelectSignModel;
    // A message for the user (a store or file that failed).
    std::function<void(const QString &)> pfShowMessage;

    QTabWidget *tabs() const { return m_tabs; }
    PFSignMyViewController *pfSignMyCon() const { return m_my; }
    PFSignKeybordViewController *pfSignKeybordCon() const { return m_keyboard; }
    PFSignDrawViewController *pfSignDrawCon() const { return m_draw; }
    PFSignImageViewController *pfSignImageCon() const { return m_image; }

    void pfSaveSign(const std::optional<QString> &fontName, const QColor &color, const std::optional<QString> &content);
    void pfSaveSignDraw(const QImage &image, bool cancelled);
    void pfSaveSignImage(const PFPicture &picture, bool cancelled);
    void pfSelectModel(const std::optional<PFSignParameterModel> &model, bool cancelled);

private:
    // Writes a drawn or image signature's picture to the SignImage folder under a new name
    // (the time now); that name, or empty when it could not be written.
    QString writePicture(const QImage &image, const QByteArray &fileBytes);
    void hand(const PFSignParameterModel &model);
    void tell(const QString &message);

    PFDataManager &m_store;
    QTabWidget *m_tabs;
    PFSignMyViewController *m_my;
    PFSignKeybordViewController *m_keyboard;
    PFSignDrawViewController *m_draw;
    PFSignImageViewController *m_image;
};
