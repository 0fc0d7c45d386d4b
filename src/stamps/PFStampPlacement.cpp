#include "PFStampPlacement.h"

#include "PFPicture.h"
#include "PFPlacementGeometry.h"
#include "PFStampAnnotation.h"
#include "PFStampCatalogue.h"
#include "PFStampSelectViewController.h"

#include "app/PFModalSeam.h"
#include "editing/PFBaseImageAnnotation.h"
#include "editing/PFBasePDFView.h"
#include "editing/PFPointerMachine.h"
#include "editing/palette/PFDrawMenuView.h"
#include "widgets/PFHudView.h"

namespace {
// The Stamp button's tag on the annotation bar.
constexpr int kStampButtonTag = 14;
} // namespace

PFStampPlacement::PFStampPlacement(PFBasePDFView *view, QWidget *window)
    : QObject(window), m_view(view), m_window(window)
{
    connect(view->pfPointer(), &PFPointerMachine::stampPlacementRequested, this, &PFStampPlacement::placeStamp);
}

PFStampPlacement::~PFStampPlacement()
{
    delete m_picker;
}

bool PFStampPlacement::choosePicture(PFPicture &picture)
{
    const QString path = PFModalSeam::current().openImagePath(m_window);
    if (path.isEmpty())
        return false;
    QString message;
    picture = PFPicture::fromFile(path, &message);
    if (picture.isNull()) {
        if (m_window)
            PFHudView::showHUDAddedTo(m_window, message);
        return false;
    }
    return true;
}

void PFStampPlacement::pfAddPhotoToPDF()
{
    PFPicture picture;
    if (choosePicture(picture))
        m_view->setPfPhotoImage(picture);
}

void PFStampPlacement::pfAddStampToPDF()
{
    // The file panel takes the focus from the picker, which as a pop-up then closes; a
    // cancelled panel brings it back, with the earlier choice standing.
    const bool pickerShown = m_picker && m_picker->isVisible();
    PFPicture picture;
    if (!choosePicture(picture)) {
        if (pickerShown && m_picker && !m_picker->isVisible())
            m_picker->show();
        return;
    }
    m_view->setSelectStampIndex(100);
    m_view->setPfStampImage(picture);
    if (m_picker)
        m_picker->close();
}

void PFStampPlacement::pfShowSelectStampView(PFDrawMenuView *bar)
{
    if (!m_picker) {
        m_picker = new PFStampSelectViewController;
        const QPointer<PFStampPlacement> self(this);
        m_picker->pfStampSelectClick = [self](int index) {
            if (self) {
                self->m_view->setSelectStampIndex(index);
                self->m_view->setPfStampImage({});
            }
        };
        m_picker->pfStampPickClick = [self] {
            QMetaObject::invokeMethod(self, [self] { if (self) self->pfAddStampToPDF(); }, Qt::QueuedConnection);
        };
    }
    m_picker->pfShowRelativeTo(bar, bar->pfRectAtIndex(kStampButtonTag));
}

void PFStampPlacement::placeStamp(const PDFPage &page, QPointF click)
{
    const int index = m_view->selectStampIndex();
    const PFPicture picture = m_view->pfStampImage();
    m_view->setSelectStampIndex(-1); // one placement per choice
    m_view->setPfStampImage({});
    if (index == 100) {
        const QRectF bounds = PFPlacementGeometry::centredOnPage(
            page, click, PFPlacementGeometry::pictureSize(picture.image().size()));
        PFBaseImageAnnotation stamp(page, picture.drawingImage(), bounds);
        if (!stamp.isNull())
            m_view->pfAddShapeAnnotation(stamp, page.index());
        return;
    }
    if (!PFStampCatalogue::isValid(index))
        return;
    const QSizeF size(PFStampCatalogue::placementWidth(index), PFStampCatalogue::kPlacementHeight);
    PFStampAnnotation stamp(page, index, PFPlacementGeometry::centredOnPage(page, click, size));
    if (!stamp.isNull())
        m_view->pfAddShapeAnnotation(stamp, page.index());
}
