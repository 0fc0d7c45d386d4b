#include "PFSignPlacement.h"

#include "PFDataManager.h"
#include "PFSignTabViewController.h"
#include "PFStampTextAnnotation.h"

#include "editing/PFBaseImageAnnotation.h"
#include "editing/PFBasePDFView.h"
#include "editing/PFPointerMachine.h"
#include "editing/palette/PFDrawMenuView.h"
#include "stamps/PFPlacementGeometry.h"
#include "widgets/PFHudView.h"

namespace {
// The Sign button's tag on the annotation bar.
constexpr int kSignButtonTag = 15;
} // namespace

PFSignPlacement::PFSignPlacement(PFBasePDFView *view, PFDataManager &store, UserDefaults &defaults, QWidget *window)
    : QObject(window), m_view(view), m_store(store), m_defaults(defaults), m_window(window)
{
    connect(view->pfPointer(), &PFPointerMachine::signPlacementRequested, this, &PFSignPlacement::placeSignature);
}

PFSignPlacement::~PFSignPlacement()
{
    delete m_tab;
}

void PFSignPlacement::tell(const QString &message)
{
    if (m_window && !message.isEmpty())
        PFHudView::showHUDAddedTo(m_window, message);
}

void PFSignPlacement::pfShowSignTab(PFDrawMenuView *bar)
{
    delete m_tab;
    m_tab = new PFSignTabViewController(m_store, m_defaults);
    const QPointer<PFSignPlacement> self(this);
    m_tab->pfSelectSignModel = [self](const PFSignParameterModel &model) {
        if (self)
            self->pfSelectSignModel(model);
    };
    m_tab->pfShowMessage = [self](const QString &message) {
        if (self)
            self->tell(message);
    };
    m_tab->pfShowRelativeTo(bar, bar->pfRectAtIndex(kSignButtonTag));
    // A store that could not be opened (or was found damaged) is said once per window; the
    // tool goes on without kept signatures.
    if (!m_toldStoreState) {
        m_toldStoreState = true;
        tell(m_store.isAvailable() ? m_store.openingNotice() : m_store.lastError());
    }
}

void PFSignPlacement::pfSelectSignModel(const PFSignParameterModel &model)
{
    m_view->setPfSignModel(model);
}

void PFSignPlacement::placeSignature(const PDFPage &page, QPointF click)
{
    const std::optional<PFSignParameterModel> &pending = m_view->pfSignModel();
    if (!pending)
        return;
    const PFSignParameterModel model = *pending;
    if (model.signType == PFSignParameterModel::Typed) {
        PFStampTextAnnotation signature(page, model, PFStampTextAnnotation::placementBounds(page, click, model));
        if (!signature.isNull())
            m_view->pfAddShapeAnnotation(signature, page.index());
        m_view->setPfSignModel(std::nullopt);
        return;
    }
    PFPicture picture = model.imageT;
    if (picture.isNull() && model.imagePath)
        picture = PFPicture::fromFile(*model.imagePath);
    const QRectF bounds = PFPlacementGeometry::centredOnPage(page, click, PFPlacementGeometry::pictureSize(picture.image().size()));
    if (bounds.isEmpty())
        return; // nothing to place: it stays pending
    PFBaseImageAnnotation signature(page, picture.drawingImage(), bounds);
    if (signature.isNull())
        return;
    m_view->pfAddShapeAnnotation(signature, page.index());
    m_view->setPfSignModel(std::nullopt);
}
