#include "PDFOutline.h"

#include "PDFDestinationCodec.h"
#include "PDFDocument.h"
#include "PDFDocumentPrivate.h"

#include <set>

namespace {

constexpr int kMaxItems = 1 << 20; // guards against cycles in damaged files
constexpr int kMaxDepth = 1000;

int objectOf(fz_context *ctx, pdf_obj *ref) { return pdf_is_indirect(ctx, ref) ? pdf_to_num(ctx, ref) : 0; }

// Rewrites /Count below `item`: the number of items visible when it is open, negative when the
// item is closed. Returns the number of visible items it contributes to its parent. A chain that
// leads back to an item already in the tree (a loop in a damaged file) is cut there, so the
// edited outline is one that every reader can walk.
int recount(fz_context *ctx, pdf_obj *item, std::set<int> &seen, int depth)
{
    int visible = 0;
    if (depth > kMaxDepth)
        return 0;
    pdf_obj *previous = nullptr;
    for (pdf_obj *child = pdf_dict_get(ctx, item, PDF_NAME(First)); child && seen.size() < kMaxItems;
         previous = child, child = pdf_dict_get(ctx, child, PDF_NAME(Next))) {
        if (!seen.insert(pdf_to_num(ctx, child)).second) {
            if (previous) {
                pdf_dict_del(ctx, previous, PDF_NAME(Next));
                pdf_dict_put(ctx, item, PDF_NAME(Last), previous);
            } else {
                pdf_dict_del(ctx, item, PDF_NAME(First));
                pdf_dict_del(ctx, item, PDF_NAME(Last));
            }
            break;
        }
        visible += 1 + recount(ctx, child, seen, depth + 1);
    }
    const bool closed = pdf_dict_get_int(ctx, item, PDF_NAME(Count)) < 0;
    if (visible == 0)
        pdf_dict_del(ctx, item, PDF_NAME(Count));
    else
        pdf_dict_put_int(ctx, item, PDF_NAME(Count), closed ? -visible : visible);
    return closed ? 0 : visible;
}

void recountFromTop(fz_context *ctx, pdf_obj *item)
{
    pdf_obj *top = item;
    for (int depth = 0; pdf_dict_get(ctx, top, PDF_NAME(Parent)) && depth < kMaxDepth; ++depth)
        top = pdf_dict_get(ctx, top, PDF_NAME(Parent));
    std::set<int> seen{objectOf(ctx, top)};
    fz_try(ctx) recount(ctx, top, seen, 0);
    fz_catch(ctx) {}
}

} // namespace

PDFOutline PDFOutline::create(const PDFDocument &document)
{
    if (document.isNull())
        return {};
    PDFLock lock(document.d->mutex);
    fz_context *ctx = MuPDF::context();
    pdf_obj *dict = nullptr;
    int object = 0;
    fz_try(ctx)
    {
        dict = pdf_add_new_dict(ctx, document.d->doc, 4);
        object = pdf_to_num(ctx, dict);
    }
    fz_always(ctx) pdf_drop_obj(ctx, dict);
    fz_catch(ctx) object = 0;
    return object ? PDFOutline(document.d, object) : PDFOutline();
}

QString PDFOutline::label() const
{
    if (!d)
        return {};
    PDFLock lock(d->mutex);
    fz_context *ctx = MuPDF::context();
    return QString::fromUtf8(pdf_to_text_string(ctx, pdf_dict_get(ctx, d->resolve(m_object), PDF_NAME(Title))));
}

void PDFOutline::setLabel(const QString &label)
{
    if (!d)
        return;
    PDFLock lock(d->mutex);
    fz_context *ctx = MuPDF::context();
    const QByteArray utf8 = label.toUtf8();
    pdf_obj *dict = d->resolve(m_object);
    fz_try(ctx) pdf_dict_put_text_string(ctx, dict, PDF_NAME(Title), utf8.constData());
    fz_catch(ctx) {}
}

PDFDestination PDFOutline::destination() const
{
    if (!d)
        return {};
    PDFLock lock(d->mutex);
    return PDFDestinationCodec::readFrom(d, d->resolve(m_object));
}

void PDFOutline::setDestination(const PDFDestination &destination)
{
    if (!d)
        return;
    PDFLock lock(d->mutex);
    fz_context *ctx = MuPDF::context();
    pdf_obj *dict = d->resolve(m_object);
    const PDFPage page = destination.page();
    const int target = page.isNull() || !(page.document() == PDFDocument(d)) ? 0 : page.m_object;
    const QPointF point = destination.point();
    fz_try(ctx)
    {
        pdf_dict_del(ctx, dict, PDF_NAME(A));
        pdf_dict_del(ctx, dict, PDF_NAME(Dest));
        if (target)
            pdf_dict_put_drop(ctx, dict, PDF_NAME(Dest), PDFDestinationCodec::make(ctx, d->doc, target, point));
    }
    fz_catch(ctx) {}
}

int PDFOutline::numberOfChildren() const { return int(children().size()); }

bool PDFOutline::hasChildren() const
{
    if (!d)
        return false;
    PDFLock lock(d->mutex);
    fz_context *ctx = MuPDF::context();
    return objectOf(ctx, pdf_dict_get(ctx, d->resolve(m_object), PDF_NAME(First))) != 0;
}

QVector<PDFOutline> PDFOutline::children() const
{
    QVector<PDFOutline> items;
    if (!d)
        return items;
    PDFLock lock(d->mutex);
    fz_context *ctx = MuPDF::context();
    // A damaged chain may lead back to this item or to one above it; it ends there.
    std::set<int> seen{m_object};
    pdf_obj *up = pdf_dict_get(ctx, d->resolve(m_object), PDF_NAME(Parent));
    for (int depth = 0; up && depth < kMaxDepth; ++depth, up = pdf_dict_get(ctx, up, PDF_NAME(Parent)))
        if (!seen.insert(objectOf(ctx, up)).second)
            break;
    for (pdf_obj *child = pdf_dict_get(ctx, d->resolve(m_object), PDF_NAME(First));
         child && items.size() < kMaxItems; child = pdf_dict_get(ctx, child, PDF_NAME(Next))) {
        const int object = objectOf(ctx, child);
        if (!object || !seen.insert(object).second)
            break;
        items.append(PDFOutline(d, object));
    }
    return items;
}

PDFOutline::Entry PDFOutline::entry() const
{
    if (!d)
        return {};
    PDFLock lock(d->mutex);
    const PDFPage page = destination().page();
    return {*this, label(), page.isNull() ? QString() : page.label(), hasChildren()};
}

QVector<PDFOutline::Entry> PDFOutline::childEntries() const
{
    QVector<Entry> entries;
    if (!d)
        return entries;
    PDFLock lock(d->mutex);
    const QVector<PDFOutline> items = children();
    entries.reserve(items.size());
    for (const PDFOutline &item : items)
        entries.append(item.entry());
    return entries;
}

PDFOutline PDFOutline::childAtIndex(int index) const
{
    const QVector<PDFOutline> items = children();
    return index >= 0 && index < items.size() ? items[index] : PDFOutline();
}

PDFOutline PDFOutline::parent() const
{
    if (!d)
        return {};
    PDFLock lock(d->mutex);
    fz_context *ctx = MuPDF::context();
    const int object = objectOf(ctx, pdf_dict_get(ctx, d->resolve(m_object), PDF_NAME(Parent)));
    return object ? PDFOutline(d, object) : PDFOutline();
}

int PDFOutline::index() const
{
    const PDFOutline up = parent();
    if (up.isNull())
        return -1;
    return int(up.children().indexOf(*this));
}

void PDFOutline::insertChild(const PDFOutline &child, int index)
{
    if (!d || child.isNull() || child.d != d || child == *this)
        return;
    PDFLock lock(d->mutex);
    // An item cannot become a child of its own descendant. A damaged /Parent chain that loops
    // is followed no further than any real outline is deep.
    int depth = 0;
    for (PDFOutline up = parent(); !up.isNull(); up = up.parent())
        if (up == child || ++depth > kMaxDepth)
            return;
    PDFOutline(child).removeFromParent();
    fz_context *ctx = MuPDF::context();
    pdf_obj *self = d->resolve(m_object);
    pdf_obj *item = d->resolve(child.m_object);
    const int count = numberOfChildren();
    const int at = std::clamp(index, 0, count);
    const PDFOutline before = at > 0 ? childAtIndex(at - 1) : PDFOutline();
    const PDFOutline after = at < count ? childAtIndex(at) : PDFOutline();
    pdf_obj *prev = before.isNull() ? nullptr : d->resolve(before.m_object);
    pdf_obj *next = after.isNull() ? nullptr : d->resolve(after.m_object);
    pdf_document *doc = d->doc;
    fz_try(ctx)
    {
        pdf_dict_put_drop(ctx, item, PDF_NAME(Parent), pdf_new_indirect(ctx, doc, m_object, 0));
        if (prev) {
            pdf_dict_put_drop(ctx, item, PDF_NAME(Prev), pdf_new_indirect(ctx, doc, before.m_object, 0));
            pdf_dict_put_drop(ctx, prev, PDF_NAME(Next), pdf_new_indirect(ctx, doc, child.m_object, 0));
        } else {
            pdf_dict_put_drop(ctx, self, PDF_NAME(First), pdf_new_indirect(ctx, doc, child.m_object, 0));
        }
        if (next) {
            pdf_dict_put_drop(ctx, item, PDF_NAME(Next), pdf_new_indirect(ctx, doc, after.m_object, 0));
            pdf_dict_put_drop(ctx, next, PDF_NAME(Prev), pdf_new_indirect(ctx, doc, child.m_object, 0));
        } else {
            pdf_dict_put_drop(ctx, self, PDF_NAME(Last), pdf_new_indirect(ctx, doc, child.m_object, 0));
        }
    }
    fz_catch(ctx) {}
    recountFromTop(ctx, self);
}

void PDFOutline::removeFromParent()
{
    if (!d)
        return;
    PDFLock lock(d->mutex);
    fz_context *ctx = MuPDF::context();
    pdf_obj *item = d->resolve(m_object);
    pdf_obj *up = pdf_dict_get(ctx, item, PDF_NAME(Parent));
    if (!up)
        return;
    pdf_obj *prev = pdf_dict_get(ctx, item, PDF_NAME(Prev));
    pdf_obj *next = pdf_dict_get(ctx, item, PDF_NAME(Next));
    pdf_obj *upRef = nullptr;
    fz_try(ctx)
    {
        upRef = pdf_keep_obj(ctx, up);
        if (prev && next)
            pdf_dict_put(ctx, prev, PDF_NAME(Next), next);
        else if (prev)
            pdf_dict_del(ctx, prev, PDF_NAME(Next));
        else if (next)
            pdf_dict_put(ctx, up, PDF_NAME(First), next);
        else
            pdf_dict_del(ctx, up, PDF_NAME(First));
        if (next && prev)
            pdf_dict_put(ctx, next, PDF_NAME(Prev), prev);
        else if (next)
            pdf_dict_del(ctx, next, PDF_NAME(Prev));
        else if (prev)
            pdf_dict_put(ctx, up, PDF_NAME(Last), prev);
        else
            pdf_dict_del(ctx, up, PDF_NAME(Last));
        pdf_dict_del(ctx, item, PDF_NAME(Parent));
        pdf_dict_del(ctx, item, PDF_NAME(Prev));
        pdf_dict_del(ctx, item, PDF_NAME(Next));
    }
    fz_catch(ctx) {}
    recountFromTop(ctx, upRef);
    pdf_drop_obj(ctx, upRef);
}
