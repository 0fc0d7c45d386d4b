#include "PDFPage.h"

#include "PDFAnnotation.h"
#include "PDFAnnotationAppearance.h"
#include "PDFDisplayListPrivate.h"
#include "PDFDocument.h"
#include "PDFDocumentPrivate.h"
#include "PDFPageLabels.h"
#include "PDFSelection.h"

#include <cmath>

namespace {

pdf_obj *boxName(PDFDisplayBox box) { return box == PDFDisplayBox::MediaBox ? PDF_NAME(MediaBox) : PDF_NAME(CropBox); }

} // namespace

PDFDocument PDFPage::document() const { return PDFDocument(d); }

int PDFPage::index() const
{
    if (!d)
        return -1;
    PDFLock lock(d->mutex);
    return d->indexOfPageObject(m_object);
}

int PDFPage::rotation() const
{
    if (!d)
        return 0;
    PDFLock lock(d->mutex);
    fz_context *ctx = MuPDF::context();
    pdf_obj *page = d->resolve(m_object);
    int rotate = 0;
    fz_try(ctx) rotate = pdf_to_int(ctx, pdf_dict_get_inheritable(ctx, page, PDF_NAME(Rotate)));
    fz_catch(ctx) rotate = 0;
    rotate %= 360;
    if (rotate < 0)
        rotate += 360;
    return (rotate / 90) * 90;
}

void PDFPage::setRotation(int degrees)
{
    if (!d)
        return;
    int rotate = ((degrees % 360) + 360) % 360;
    rotate = (rotate / 90) * 90;
    PDFLock lock(d->mutex);
    fz_context *ctx = MuPDF::context();
    pdf_obj *page = d->resolve(m_object);
    fz_try(ctx) pdf_dict_put_int(ctx, page, PDF_NAME(Rotate), rotate);
    fz_catch(ctx) {}
    d->annotationListChanged(m_object); // the loaded page caches its transform
}

QRectF PDFPage::bounds(PDFDisplayBox box) const
{
    if (!d)
        return {};
    PDFLock lock(d->mutex);
    fz_context *ctx = MuPDF::context();
    pdf_obj *page = d->resolve(m_object);
    fz_rect media = fz_empty_rect, crop = fz_empty_rect;
    fz_try(ctx)
    {
        media = pdf_to_rect(ctx, pdf_dict_get_inheritable(ctx, page, PDF_NAME(MediaBox)));
        if (fz_is_empty_rect(media))
            media = fz_make_rect(0, 0, 612, 792); // the PDF default, US Letter
        crop = pdf_to_rect(ctx, pdf_dict_get_inheritable(ctx, page, PDF_NAME(CropBox)));
        crop = fz_is_empty_rect(crop) ? media : fz_intersect_rect(crop, media);
        if (fz_is_empty_rect(crop))
            crop = media;
    }
    fz_catch(ctx) return {};
    return PDFGeometry::toQt(box == PDFDisplayBox::MediaBox ? media : crop);
}

void PDFPage::setBounds(const QRectF &rect, PDFDisplayBox box)
{
    if (!d || rect.isEmpty())
        return;
    PDFLock lock(d->mutex);
    fz_context *ctx = MuPDF::context();
    const fz_rect r = PDFGeometry::toFz(rect);
    pdf_obj *page = d->resolve(m_object);
    fz_try(ctx) pdf_dict_put_rect(ctx, page, boxName(box), r);
    fz_catch(ctx) {}
    d->annotationListChanged(m_object);
}

QSizeF PDFPage::displaySize() const
{
    const QSizeF size = bounds(PDFDisplayBox::CropBox).size();
    return rotation() % 180 == 0 ? size : size.transposed();
}

QTransform PDFPage::pageToDisplay(double scale) const
{
    const QRectF crop = bounds(PDFDisplayBox::CropBox);
    // Move the crop box's top left to the origin with y downwards, then rotate clockwise.
    QTransform flip(1, 0, 0, -1, -crop.left(), crop.bottom());
    QTransform rotate;
    switch (rotation()) {
    case 90: rotate = QTransform(0, 1, -1, 0, crop.height(), 0); break;
    case 180: rotate = QTransform(-1, 0, 0, -1, crop.width(), crop.height()); break;
    case 270: rotate = QTransform(0, -1, 1, 0, 0, crop.width()); break;
    default: break;
    }
    return flip * rotate * QTransform::fromScale(scale, scale);
}

QString PDFPage::label() const
{
    if (!d)
        return {};
    PDFLock lock(d->mutex);
    const int index = d->indexOfPageObject(m_object);
    if (index < 0)
        return {};
    return PDFPageLabels::label(MuPDF::context(), d->doc, index);
}

QString PDFPage::string() const
{
    if (!d)
        return {};
    PDFLock lock(d->mutex);
    auto text = d->textPage(m_object);
    return text ? text->string(0, int(text->chars.size()) - 1) : QString();
}

QString PDFPage::text(const QRectF &rect) const { return selectionForRect(rect).string(); }

PDFSelection PDFPage::selectionForRect(const QRectF &rect) const
{
    PDFSelection selection;
    if (!d)
        return selection;
    PDFLock lock(d->mutex);
    auto text = d->textPage(m_object);
    if (!text)
        return selection;
    const QRectF area = rect.normalized();
    int runStart = -1;
    for (int i = 0; i <= text->chars.size(); ++i) {
        const bool inside = i < text->chars.size() && area.contains(text->chars[i].box.center());
        if (inside && runStart < 0)
            runStart = i;
        if (!inside && runStart >= 0) {
            selection.m_ranges.append({*this, runStart, i - 1});
            runStart = -1;
        }
    }
    return selection;
}

PDFSelection PDFPage::selectionFromPoint(QPointF from, QPointF to) const
{
    return PDFSelection::fromPoints(*this, from, *this, to);
}

QVector<PDFAnnotation> PDFPage::annotations() const
{
    QVector<PDFAnnotation> result;
    if (!d)
        return result;
    PDFLock lock(d->mutex);
    fz_context *ctx = MuPDF::context();
    pdf_obj *annots = pdf_dict_get(ctx, d->resolve(m_object), PDF_NAME(Annots));
    bool changed = false;
    for (int i = 0; i < pdf_array_len(ctx, annots); ++i) {
        pdf_obj *entry = pdf_array_get(ctx, annots, i);
        if (!pdf_is_dict(ctx, entry) || pdf_name_eq(ctx, pdf_dict_get(ctx, entry, PDF_NAME(Subtype)), PDF_NAME(Popup)))
            continue;
        int object = pdf_is_indirect(ctx, entry) ? pdf_to_num(ctx, entry) : 0;
        if (!object) {
            // An annotation written inline gets an object of its own, so it has an identity.
            pdf_obj *ref = nullptr;
            fz_try(ctx)
            {
                ref = pdf_add_object(ctx, d->doc, entry);
                pdf_array_put(ctx, annots, i, ref);
                object = pdf_to_num(ctx, ref);
            }
            fz_always(ctx) pdf_drop_obj(ctx, ref);
            fz_catch(ctx) object = 0;
            changed = true;
        }
        if (object)
            result.append(PDFAnnotation(d, object));
    }
    if (changed)
        d->annotationListChanged(m_object);
    return result;
}

bool PDFPage::addAnnotation(const PDFAnnotation &annotation)
{
    if (!d || annotation.d != d)
        return false;
    if (!annotation.page().isNull())
        return false;
    PDFLock lock(d->mutex);
    fz_context *ctx = MuPDF::context();
    pdf_obj *page = d->resolve(m_object), *ref = nullptr;
    bool ok = page != nullptr;
    fz_try(ctx)
    {
        ref = pdf_new_indirect(ctx, d->doc, annotation.m_object, 0);
        pdf_obj *annots = pdf_dict_get(ctx, page, PDF_NAME(Annots));
        if (!pdf_is_array(ctx, annots))
            annots = pdf_dict_put_array(ctx, page, PDF_NAME(Annots), 1);
        pdf_array_push(ctx, annots, ref);
        pdf_dict_put_drop(ctx, pdf_resolve_indirect(ctx, ref), PDF_NAME(P), pdf_new_indirect(ctx, d->doc, m_object, 0));
    }
    fz_always(ctx) pdf_drop_obj(ctx, ref);
    fz_catch(ctx) ok = false;
    d->annotationListChanged(m_object);
    if (ok)
        PDFAnnotationAppearance::refresh(*d, annotation.m_object, m_object);
    return ok;
}

bool PDFPage::removeAnnotation(const PDFAnnotation &annotation)
{
    if (!d || annotation.d != d)
        return false;
    PDFLock lock(d->mutex);
    fz_context *ctx = MuPDF::context();
    pdf_obj *annots = pdf_dict_get(ctx, d->resolve(m_object), PDF_NAME(Annots));
    pdf_obj *annotationDict = d->resolve(annotation.m_object);
    bool removed = false;
    fz_try(ctx)
    {
        for (int i = pdf_array_len(ctx, annots) - 1; i >= 0; --i)
            if (pdf_to_num(ctx, pdf_array_get(ctx, annots, i)) == annotation.m_object) {
                pdf_array_delete(ctx, annots, i);
                removed = true;
            }
        if (removed)
            pdf_dict_del(ctx, annotationDict, PDF_NAME(P));
    }
    fz_catch(ctx) removed = false;
    if (removed)
        d->noteRemoved(annotation.m_object);
    d->annotationListChanged(m_object);
    return removed;
}

std::shared_ptr<PDFDisplayList> PDFPage::displayList() const
{
    if (!d)
        return nullptr;
    PDFLock lock(d->mutex);
    pdf_page *page = d->loadedPage(m_object);
    if (!page)
        return nullptr;
    auto impl = recordPage(MuPDF::context(), page);
    if (!impl)
        return nullptr;
    const QSizeF size = PDFGeometry::toQt(impl->bounds).size();
    return std::shared_ptr<PDFDisplayList>(new PDFDisplayList(std::move(impl), size));
}

QImage PDFPage::render(double scale) const
{
    auto list = displayList();
    return list ? list->render(scale) : QImage();
}
