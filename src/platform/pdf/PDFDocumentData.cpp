#include "PDFDocumentPrivate.h"

#include "PDFPageTree.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace {
// Enough for every page a two-up view shows at its smallest scale.
constexpr size_t kMaxLoadedPages = 32;
} // namespace

PDFDocumentData::~PDFDocumentData()
{
    PDFLock lock(mutex);
    dropLoadedPages();
    m_text.clear();
    if (doc)
        pdf_drop_document(MuPDF::context(), doc);
}

pdf_obj *PDFDocumentData::resolve(int object)
{
    fz_context *ctx = MuPDF::context();
    pdf_obj *ref = nullptr;
    pdf_obj *result = nullptr;
    fz_try(ctx)
    {
        ref = pdf_new_indirect(ctx, doc, object, 0);
        result = pdf_resolve_indirect(ctx, ref);
    }
    fz_always(ctx) pdf_drop_obj(ctx, ref);
    fz_catch(ctx) result = nullptr;
    return result;
}

void PDFDocumentData::buildPageIndex()
{
    if (m_pageIndexValid)
        return;
    m_pageObjects = PDFPageTree::pageObjects(MuPDF::context(), doc);
    indexPageObjects();
}

void PDFDocumentData::indexPageObjects()
{
    m_indexOfObject.clear();
    for (size_t i = 0; i < m_pageObjects.size(); ++i)
        m_indexOfObject.emplace(m_pageObjects[i], int(i));
    m_pageIndexValid = true;
}

void PDFDocumentData::indexPageTree()
{
    fz_context *ctx = MuPDF::context();
    PDFPageTree::Skim skim = PDFPageTree::skim(ctx, doc);
    if (!skim.sound) {
        const bool sound = PDFPageTree::normalise(ctx, doc);
        pageTreeChanged();
        pageTreeChecked(sound);
        return;
    }
    dropLoadedPages();
    m_pageObjects = std::move(skim.pages);
    m_unchecked = std::move(skim.parents);
    m_checked = 0;
    indexPageObjects();
    if (m_unchecked.empty())
        pageTreeChecked(true); // the skim read every page
}

bool PDFDocumentData::checkPageTree(const QDeadlineTimer &deadline, bool *renumbered)
{
    fz_context *ctx = MuPDF::context();
    while (m_checked < m_unchecked.size() && !deadline.hasExpired()) {
        if (!PDFPageTree::isListedPage(ctx, doc, m_pageObjects[m_checked], m_unchecked[m_checked])) {
            // The skim was wrong about this tree: read it whole, as a damaged one is.
            m_unchecked.clear();
            const bool sound = PDFPageTree::normalise(ctx, doc);
            pageTreeChanged();
            pageTreeChecked(sound);
            *renumbered = true;
            return true;
        }
        ++m_checked;
    }
    if (m_checked < m_unchecked.size())
        return false;
    if (!m_unchecked.empty()) {
        m_unchecked = {};
        pageTreeChecked(true);
    }
    return true;
}

void PDFDocumentData::pageTreeChecked(bool sound)
{
    // Only the tree as read from the file: a change since would not be in it.
    fz_context *ctx = MuPDF::context();
    int unsaved = 1;
    fz_try(ctx) unsaved = pdf_has_unsaved_changes(ctx, doc);
    fz_catch(ctx) unsaved = 1;
    if (sound && !unsaved && !openedFile.isEmpty()) {
        buildPageIndex();
        PDFPageTree::rememberSound(openedFile, openedStamp, m_pageObjects);
    }
}

void PDFDocumentData::settlePageTree()
{
    bool renumbered = false;
    checkPageTree(QDeadlineTimer(QDeadlineTimer::Forever), &renumbered);
}

int PDFDocumentData::pageCount()
{
    buildPageIndex();
    return int(m_pageObjects.size());
}

int PDFDocumentData::pageObjectAt(int index)
{
    buildPageIndex();
    return index >= 0 && index < int(m_pageObjects.size()) ? m_pageObjects[size_t(index)] : 0;
}

int PDFDocumentData::indexOfPageObject(int object)
{
    buildPageIndex();
    auto it = m_indexOfObject.find(object);
    return it == m_indexOfObject.end() ? -1 : it->second;
}

pdf_page *PDFDocumentData::loadedPage(int object)
{
    auto it = m_loaded.find(object);
    if (it != m_loaded.end()) {
        it->second.lastUse = ++m_useClock;
        return it->second.page;
    }
    const int index = indexOfPageObject(object);
    if (index < 0)
        return nullptr;
    fz_context *ctx = MuPDF::context();
    pdf_page *page = nullptr;
    fz_try(ctx) page = pdf_load_page(ctx, doc, index);
    fz_catch(ctx) page = nullptr;
    if (!page)
        return nullptr;
    if (m_loaded.size() >= kMaxLoadedPages)
        evictLeastRecentPage();
    m_loaded.emplace(object, LoadedPage{page, ++m_useClock});
    return page;
}

pdf_annot *PDFDocumentData::loadedAnnotation(int object, int pageObject)
{
    pdf_page *page = pageObject ? loadedPage(pageObject) : nullptr;
    if (!page)
        return nullptr;
    fz_context *ctx = MuPDF::context();
    for (pdf_annot *a = pdf_first_annot(ctx, page); a; a = pdf_next_annot(ctx, a))
        if (pdf_to_num(ctx, pdf_annot_obj(ctx, a)) == object || pdf_obj_parent_num(ctx, pdf_annot_obj(ctx, a)) == object)
            return a;
    return nullptr;
}

std::shared_ptr<const PDFTextPage> PDFDocumentData::textPage(int object)
{
    if (auto cached = m_text.find(object))
        return cached;
    pdf_page *page = loadedPage(object);
    if (!page)
        return nullptr;
    auto text = buildTextPage(MuPDF::context(), page);
    if (text)
        m_text.insert(object, text);
    return text;
}

bool PDFDocumentData::reinsertPage(int object, int index)
{
    fz_context *ctx = MuPDF::context();
    const int at = std::clamp(index, 0, pageCount());
    bool ok = true;
    pdf_obj *ref = nullptr;
    fz_try(ctx)
    {
        ref = pdf_new_indirect(ctx, doc, object, 0);
        pdf_insert_page(ctx, doc, at, ref);
    }
    fz_always(ctx) pdf_drop_obj(ctx, ref);
    fz_catch(ctx) ok = false;
    pageTreeChanged();
    return ok;
}

std::vector<int> PDFDocumentData::removedObjects()
{
    fz_context *ctx = MuPDF::context();
    std::vector<int> gone;
    for (int object : m_removed) {
        pdf_obj *dict = resolve(object);
        if (!dict)
            continue;
        bool present = false;
        if (pdf_name_eq(ctx, pdf_dict_get(ctx, dict, PDF_NAME(Type)), PDF_NAME(Page))) {
            present = indexOfPageObject(object) >= 0;
        } else {
            // An annotation is back when the page it names is in the tree and lists it.
            pdf_obj *page = pdf_dict_get(ctx, dict, PDF_NAME(P));
            if (pdf_is_indirect(ctx, page) && indexOfPageObject(pdf_to_num(ctx, page)) >= 0) {
                pdf_obj *annots = pdf_dict_get(ctx, page, PDF_NAME(Annots));
                for (int i = 0; i < pdf_array_len(ctx, annots) && !present; ++i)
                    present = pdf_to_num(ctx, pdf_array_get(ctx, annots, i)) == object;
            }
        }
        if (!present)
            gone.push_back(object);
    }
    return gone;
}

void PDFDocumentData::pageTreeChanged()
{
    dropLoadedPages();
    m_unchecked = {};
    m_pageIndexValid = false;
    m_pageObjects.clear();
    m_indexOfObject.clear();
}

void PDFDocumentData::annotationListChanged(int pageObject)
{
    auto it = m_loaded.find(pageObject);
    if (it == m_loaded.end())
        return;
    fz_drop_page(MuPDF::context(), &it->second.page->super);
    m_loaded.erase(it);
}

void PDFDocumentData::evictLeastRecentPage()
{
    auto oldest = std::min_element(m_loaded.begin(), m_loaded.end(), [](const auto &a, const auto &b) {
        return a.second.lastUse < b.second.lastUse;
    });
    if (oldest == m_loaded.end())
        return;
    fz_drop_page(MuPDF::context(), &oldest->second.page->super);
    m_loaded.erase(oldest);
}

void PDFDocumentData::dropLoadedPages()
{
    fz_context *ctx = MuPDF::context();
    for (auto &[object, loaded] : m_loaded)
        fz_drop_page(ctx, &loaded.page->super);
    m_loaded.clear();
}

namespace PDFGeometry {

fz_matrix pageToDevice(fz_context *ctx, pdf_page *page)
{
    fz_matrix ctm = fz_identity;
    fz_try(ctx) pdf_page_transform(ctx, page, nullptr, &ctm);
    fz_catch(ctx) ctm = fz_identity;
    return ctm;
}

QRectF toQt(fz_rect r) { return QRectF(QPointF(r.x0, r.y0), QPointF(r.x1, r.y1)).normalized(); }

fz_rect toFz(const QRectF &r)
{
    const QRectF n = r.normalized();
    return fz_make_rect(float(n.left()), float(n.top()), float(n.right()), float(n.bottom()));
}

} // namespace PDFGeometry

std::shared_ptr<const PDFTextPage> buildTextPage(fz_context *ctx, pdf_page *page)
{
    fz_stext_page *stext = nullptr;
    fz_stext_options options = {};
    fz_try(ctx) stext = fz_new_stext_page_from_page(ctx, &page->super, &options);
    fz_catch(ctx) stext = nullptr;
    if (!stext)
        return nullptr;

    const fz_matrix toPage = fz_invert_matrix(PDFGeometry::pageToDevice(ctx, page));
    auto text = std::make_shared<PDFTextPage>();
    int line = 0;
    for (fz_stext_block *block = stext->first_block; block; block = block->next) {
        if (block->type != FZ_STEXT_BLOCK_TEXT)
            continue;
        for (fz_stext_line *l = block->u.t.first_line; l; l = l->next, ++line)
            for (fz_stext_char *ch = l->first_char; ch; ch = ch->next) {
                const fz_rect box = fz_transform_rect(fz_rect_from_quad(ch->quad), toPage);
                text->chars.append({PDFGeometry::toQt(box), char32_t(ch->c), line});
            }
    }
    fz_drop_stext_page(ctx, stext);
    return text;
}

QString PDFTextPage::string(int first, int last) const
{
    QString out;
    first = std::max(first, 0);
    last = std::min(last, int(chars.size()) - 1);
    for (int i = first; i <= last; ++i) {
        if (i > first && chars[i].line != chars[i - 1].line)
            out += QLatin1Char('\n');
        out += QString::fromUcs4(&chars[i].code, 1);
    }
    return out;
}

int PDFTextPage::nearestChar(QPointF point) const
{
    int best = -1;
    double bestDistance = std::numeric_limits<double>::max();
    for (int i = 0; i < chars.size(); ++i) {
        const QRectF &b = chars[i].box;
        const double dx = std::max({b.left() - point.x(), 0.0, point.x() - b.right()});
        const double dy = std::max({b.top() - point.y(), 0.0, point.y() - b.bottom()});
        // Distance across lines weighs more, so a point beside a line picks that line.
        const double distance = dx * dx + 4 * dy * dy;
        if (distance < bestDistance) {
            bestDistance = distance;
            best = i;
        }
        if (distance == 0)
            break;
    }
    return best;
}
