#include "PDFDocument.h"

#include "PDFAtomicWriter.h"
#include "PDFDocumentPrivate.h"
#include "PDFPageCopier.h"
#include "PDFPageTree.h"
#include "PDFPageInserter.h"

#include <QRandomGenerator>
#include <set>

namespace {

// `file` and `before` name the file read and its stamp before it was read, for remembering a
// sound page tree.
std::shared_ptr<PDFDocumentData> adopt(pdf_document *doc, const QString &path, bool compactRewrites,
                                       PDFPageCheck check = PDFPageCheck::AtOpen, const QByteArray &file = {},
                                       const PDFPageTree::FileStamp &before = {})
{
    if (!doc)
        return nullptr;
    auto data = std::make_shared<PDFDocumentData>();
    data->doc = doc;
    data->path = path;
    data->compactRewrites = compactRewrites;
    fz_context *ctx = MuPDF::context();
    fz_try(ctx) data->locked = pdf_needs_password(ctx, doc);
    fz_catch(ctx) data->locked = true;
    data->openedFile = file;
    data->openedStamp = before;
    if (!data->locked) {
        PDFLock lock(data->mutex);
        data->indexPageTree();
        if (check == PDFPageCheck::AtOpen)
            data->settlePageTree();
    }
    return data;
}

pdf_document *openStream(fz_context *ctx, fz_stream *stream)
{
    pdf_document *doc = nullptr;
    fz_try(ctx) doc = pdf_open_document_with_stream(ctx, stream);
    fz_always(ctx) fz_drop_stream(ctx, stream);
    fz_catch(ctx) doc = nullptr;
    return doc;
}

// An empty permissions password would let any reader lift the restrictions: the document
// password takes its place, or a random one when there is none.
PDFWriteOptions withOwnerPassword(const PDFWriteOptions &options)
{
    PDFWriteOptions effective = options;
    if (effective.ownerPassword.isEmpty()) {
        effective.ownerPassword = effective.userPassword;
        if (effective.ownerPassword.isEmpty())
            effective.ownerPassword = QString::number(QRandomGenerator::system()->generate64(), 36)
                                      + QString::number(QRandomGenerator::system()->generate64(), 36);
    }
    return effective;
}

const char *const kInfoKeys[] = {"Title", "Author", "Subject", "Keywords", "Creator", "Producer", "CreationDate", "ModDate"};

} // namespace

PDFDocument PDFDocument::open(const QString &path, PDFPageCheck check)
{
    fz_context *ctx = MuPDF::context();
    const QByteArray file = MuPDF::encodedPath(path);
    fz_stream *stream = nullptr;
    const PDFPageTree::FileStamp before = PDFPageTree::stampOf(file);
    fz_try(ctx) stream = fz_open_file(ctx, file.constData());
    fz_catch(ctx) stream = nullptr;
    // Once its tree is found sound, bulk work on this file (export, split, text) need not walk
    // it again.
    return PDFDocument(adopt(stream ? openStream(ctx, stream) : nullptr, path, true, check, file, before));
}

PDFDocument PDFDocument::openData(const QByteArray &bytes, PDFPageCheck check)
{
    fz_context *ctx = MuPDF::context();
    fz_buffer *buffer = nullptr;
    fz_stream *stream = nullptr;
    fz_try(ctx)
    {
        buffer = fz_new_buffer_from_copied_data(ctx, reinterpret_cast<const unsigned char *>(bytes.constData()), size_t(bytes.size()));
        stream = fz_open_buffer(ctx, buffer);
    }
    fz_always(ctx) fz_drop_buffer(ctx, buffer);
    fz_catch(ctx) stream = nullptr;
    return PDFDocument(adopt(stream ? openStream(ctx, stream) : nullptr, QString(), true, check));
}

QString PDFDocument::engineVersion() { return QStringLiteral(FZ_VERSION); }

PDFDocument PDFDocument::create()
{
    fz_context *ctx = MuPDF::context();
    pdf_document *doc = nullptr;
    fz_try(ctx) doc = pdf_create_document(ctx);
    fz_catch(ctx) doc = nullptr;
    return PDFDocument(adopt(doc, QString(), false));
}

QString PDFDocument::path() const { return d ? d->path : QString(); }

bool PDFDocument::isEncrypted() const
{
    if (!d)
        return false;
    PDFLock lock(d->mutex);
    return d->doc->crypt != nullptr;
}

bool PDFDocument::isLocked() const
{
    if (!d)
        return false;
    PDFLock lock(d->mutex);
    return d->locked;
}

bool PDFDocument::unlock(const QString &password)
{
    if (!d)
        return false;
    PDFLock lock(d->mutex);
    fz_context *ctx = MuPDF::context();
    const QByteArray utf8 = password.toUtf8();
    int ok = 0;
    fz_try(ctx) ok = pdf_authenticate_password(ctx, d->doc, utf8.constData());
    fz_catch(ctx) ok = 0;
    if (ok) {
        d->locked = false;
        PDFPageTree::normalise(ctx, d->doc);
        d->password = utf8;
        d->pageTreeChanged();
    }
    return ok != 0;
}

int PDFDocument::pageCount() const
{
    if (!d)
        return 0;
    PDFLock lock(d->mutex);
    return d->locked ? 0 : d->pageCount();
}

PDFPageCheckProgress PDFDocument::checkPageTree(const QDeadlineTimer &deadline) const
{
    PDFPageCheckProgress progress;
    if (!d)
        return progress;
    PDFLock lock(d->mutex);
    if (d->locked)
        return progress;
    progress.finished = d->checkPageTree(deadline, &progress.renumbered);
    progress.checkedPages = d->checkedPageCount();
    return progress;
}

int PDFDocument::loadedPageCount() const
{
    if (!d)
        return 0;
    PDFLock lock(d->mutex);
    return d->loadedPageCount();
}

PDFPage PDFDocument::page(int index) const
{
    if (!d || index < 0)
        return {};
    PDFLock lock(d->mutex);
    if (d->locked || index >= d->pageCount())
        return {};
    const int object = d->pageObjectAt(index);
    return object ? PDFPage(d, object) : PDFPage();
}

PDFPage PDFDocument::insertPage(const PDFPage &page, int index)
{
    if (!d || page.isNull())
        return {};
    if (page.d == d) {
        PDFSettledLock lock(*d);
        // A page removed earlier goes back as itself, with everything it had.
        if (page.index() < 0)
            return d->reinsertPage(page.m_object, index) ? page : PDFPage();
    }
    {
        // The source page's index is read as its document's finished page check numbers it.
        PDFSettledLock settled(*page.d);
    }
    const int sourceIndex = page.index();
    if (sourceIndex < 0)
        return {};
    const QVector<PDFPage> pages = insertPages(page.document(), {sourceIndex}, index);
    return pages.isEmpty() ? PDFPage() : pages.first();
}

QVector<PDFPage> PDFDocument::insertPages(const PDFDocument &source, const QVector<int> &sourceIndices, int index)
{
    if (!d || !source.d || sourceIndices.isEmpty())
        return {};
    PDFPairLock lock(*d, *source.d);
    const int sourceCount = source.d->pageCount();
    // Resolve every source page before the tree changes (the source may be this document).
    std::vector<int> objects;
    for (int i : sourceIndices) {
        if (i < 0 || i >= sourceCount)
            return {};
        objects.push_back(source.d->pageObjectAt(i));
    }
    return copyPageObjects(*source.d, objects, index);
}

QVector<PDFPage> PDFDocument::insertPageCopies(const QVector<PDFPage> &pages, int index)
{
    if (!d || pages.isEmpty())
        return {};
    PDFSettledLock lock(*d);
    std::vector<int> objects;
    for (const PDFPage &page : pages) {
        if (page.d != d)
            return {};
        objects.push_back(page.m_object);
    }
    return copyPageObjects(*d, objects, index);
}

QVector<PDFPage> PDFDocument::copyPageObjects(PDFDocumentData &source, const std::vector<int> &objects, int index)
{
    fz_context *ctx = MuPDF::context();
    pdf_document *dst = d->doc;
    pdf_document *src = source.doc;
    std::vector<pdf_obj *> sourcePages;
    for (int object : objects) {
        pdf_obj *ref = nullptr;
        fz_try(ctx) ref = object ? pdf_new_indirect(ctx, src, object, 0) : nullptr;
        fz_catch(ctx) ref = nullptr;
        sourcePages.push_back(ref);
    }

    const int count = d->pageCount();
    const int at = std::clamp(index, 0, count);
    std::vector<pdf_obj *> copies(sourcePages.size(), nullptr);
    std::map<int, int> pageMap;
    pdf_graft_map *map = nullptr;
    bool ok = true;
    fz_try(ctx)
    {
        if (src != dst)
            map = pdf_new_graft_map(ctx, dst);
        for (size_t i = 0; i < sourcePages.size(); ++i) {
            if (!sourcePages[i])
                fz_throw(ctx, FZ_ERROR_GENERIC, "missing page");
            copies[i] = PDFPageCopier::copyPage(ctx, dst, sourcePages[i], map);
        }
        PDFPageInserter::insert(ctx, dst, at, count, copies);
    }
    fz_catch(ctx) ok = false;

    if (ok) {
        for (size_t i = 0; i < sourcePages.size(); ++i)
            pageMap.emplace(pdf_to_num(ctx, sourcePages[i]), pdf_to_num(ctx, copies[i]));
        fz_try(ctx) for (size_t i = 0; i < sourcePages.size(); ++i)
            PDFPageCopier::copyAnnotations(ctx, dst, sourcePages[i], copies[i], map, &pageMap);
        fz_catch(ctx) ok = false;
    }

    QVector<PDFPage> result;
    if (ok)
        for (pdf_obj *copy : copies)
            result.append(PDFPage(d, pdf_to_num(ctx, copy)));
    pdf_drop_graft_map(ctx, map);
    for (pdf_obj *obj : sourcePages)
        pdf_drop_obj(ctx, obj);
    for (pdf_obj *obj : copies)
        pdf_drop_obj(ctx, obj);
    d->pageTreeChanged();
    return result;
}

PDFPage PDFDocument::insertNewPage(const QRectF &mediaBox, int index)
{
    if (!d || mediaBox.isEmpty())
        return {};
    PDFSettledLock lock(*d);
    fz_context *ctx = MuPDF::context();
    const int at = std::clamp(index, 0, d->pageCount());
    const fz_rect box = PDFGeometry::toFz(mediaBox);
    pdf_obj *ref = nullptr;
    int object = 0;
    fz_try(ctx)
    {
        ref = pdf_add_page(ctx, d->doc, box, 0, nullptr, nullptr);
        pdf_insert_page(ctx, d->doc, at, ref);
        object = pdf_to_num(ctx, ref);
    }
    fz_always(ctx) pdf_drop_obj(ctx, ref);
    fz_catch(ctx) object = 0;
    d->pageTreeChanged();
    return object ? PDFPage(d, object) : PDFPage();
}

bool PDFDocument::movePage(int from, int to)
{
    if (!d)
        return false;
    PDFSettledLock lock(*d);
    const int count = d->pageCount();
    if (from < 0 || from >= count || to < 0 || to >= count)
        return false;
    if (from == to)
        return true;
    const int object = d->pageObjectAt(from);
    fz_context *ctx = MuPDF::context();
    bool removed = false;
    fz_try(ctx)
    {
        pdf_delete_page(ctx, d->doc, from);
        removed = true;
    }
    fz_catch(ctx) removed = false;
    d->pageTreeChanged();
    if (!removed)
        return false;
    // The same page object goes back into the tree: nothing is copied or renumbered. Should
    // the new place be refused, the page returns to where it was rather than being lost.
    if (d->reinsertPage(object, to))
        return true;
    d->reinsertPage(object, from);
    return false;
}

QVector<int> PDFDocument::removePages(const QVector<int> &indices)
{
    if (!d)
        return {};
    PDFSettledLock lock(*d);
    const int count = d->pageCount();
    QVector<int> sorted = indices;
    std::sort(sorted.begin(), sorted.end());
    sorted.erase(std::unique(sorted.begin(), sorted.end()), sorted.end());
    fz_context *ctx = MuPDF::context();
    QVector<int> removed;
    // From the back, so each index still names the page it named before the first removal;
    // the tree is walked by its counts, so no page index is rebuilt in between.
    for (auto it = sorted.crbegin(); it != sorted.crend(); ++it) {
        if (*it < 0 || *it >= count)
            continue;
        bool ok = true;
        fz_try(ctx) pdf_delete_page(ctx, d->doc, *it);
        fz_catch(ctx) ok = false;
        if (ok)
            removed.prepend(*it);
    }
    d->pageTreeChanged();
    return removed;
}

int PDFDocument::reinsertPages(const QVector<PDFPage> &pages, const QVector<int> &indices)
{
    if (!d || pages.size() != indices.size())
        return 0;
    PDFSettledLock lock(*d);
    fz_context *ctx = MuPDF::context();
    int count = d->pageCount();
    int done = 0;
    std::set<int> placed;
    for (int i = 0; i < pages.size(); ++i) {
        // Only removed pages of this document: a page still in the tree would appear twice.
        if (pages[i].d != d || d->indexOfPageObject(pages[i].m_object) >= 0
            || !placed.insert(pages[i].m_object).second)
            continue;
        const int at = std::clamp(indices[i], 0, count);
        bool ok = true;
        pdf_obj *ref = nullptr;
        fz_try(ctx)
        {
            ref = pdf_new_indirect(ctx, d->doc, pages[i].m_object, 0);
            pdf_insert_page(ctx, d->doc, at, ref);
        }
        fz_always(ctx) pdf_drop_obj(ctx, ref);
        fz_catch(ctx) ok = false;
        if (ok) {
            ++count;
            ++done;
        }
    }
    d->pageTreeChanged();
    return done;
}

bool PDFDocument::removePage(int index)
{
    if (!d)
        return false;
    PDFSettledLock lock(*d);
    if (index < 0 || index >= d->pageCount())
        return false;
    d->noteRemoved(d->pageObjectAt(index));
    d->pageTreeChanged();
    fz_context *ctx = MuPDF::context();
    bool ok = true;
    fz_try(ctx) pdf_delete_page(ctx, d->doc, index);
    fz_catch(ctx) ok = false;
    d->pageTreeChanged();
    return ok;
}

QMap<QString, QString> PDFDocument::documentAttributes() const
{
    QMap<QString, QString> attributes;
    if (!d)
        return attributes;
    PDFLock lock(d->mutex);
    fz_context *ctx = MuPDF::context();
    pdf_obj *info = pdf_dict_get(ctx, pdf_trailer(ctx, d->doc), PDF_NAME(Info));
    for (const char *key : kInfoKeys) {
        const char *value = pdf_to_text_string(ctx, pdf_dict_gets(ctx, info, key));
        if (value && *value)
            attributes.insert(QString::fromLatin1(key), QString::fromUtf8(value));
    }
    return attributes;
}

void PDFDocument::setDocumentAttributes(const QMap<QString, QString> &attributes)
{
    if (!d)
        return;
    PDFLock lock(d->mutex);
    fz_context *ctx = MuPDF::context();
    QList<QByteArray> keys, values;
    for (auto it = attributes.begin(); it != attributes.end(); ++it) {
        keys.append(it.key().toLatin1());
        values.append(it.value().toUtf8());
    }
    fz_try(ctx)
    {
        pdf_obj *info = pdf_dict_get(ctx, pdf_trailer(ctx, d->doc), PDF_NAME(Info));
        if (!pdf_is_dict(ctx, info)) {
            info = pdf_add_new_dict(ctx, d->doc, 8);
            // Adding an object may start a new xref section with a trailer of its own: ask again.
            pdf_dict_put_drop(ctx, pdf_trailer(ctx, d->doc), PDF_NAME(Info), info);
        }
        for (const char *key : kInfoKeys)
            pdf_dict_dels(ctx, info, key);
        for (int i = 0; i < keys.size(); ++i)
            pdf_dict_puts_drop(ctx, info, keys[i].constData(), pdf_new_text_string(ctx, values[i].constData()));
    }
    fz_catch(ctx) {}
}

PDFOutline PDFDocument::outlineRoot() const
{
    if (!d)
        return {};
    PDFLock lock(d->mutex);
    fz_context *ctx = MuPDF::context();
    pdf_obj *outlines = pdf_dict_get(ctx, pdf_dict_get(ctx, pdf_trailer(ctx, d->doc), PDF_NAME(Root)), PDF_NAME(Outlines));
    const int object = pdf_is_indirect(ctx, outlines) ? pdf_to_num(ctx, outlines) : 0;
    return object ? PDFOutline(d, object) : PDFOutline();
}

void PDFDocument::setOutlineRoot(const PDFOutline &root)
{
    if (!d || (!root.isNull() && root.d != d))
        return;
    PDFLock lock(d->mutex);
    fz_context *ctx = MuPDF::context();
    fz_try(ctx)
    {
        pdf_obj *catalog = pdf_dict_get(ctx, pdf_trailer(ctx, d->doc), PDF_NAME(Root));
        if (root.isNull()) {
            pdf_dict_del(ctx, catalog, PDF_NAME(Outlines));
        } else {
            pdf_obj *ref = pdf_new_indirect(ctx, d->doc, root.m_object, 0);
            pdf_dict_put_drop(ctx, catalog, PDF_NAME(Outlines), ref);
            pdf_obj *dict = pdf_resolve_indirect(ctx, ref);
            pdf_dict_put(ctx, dict, PDF_NAME(Type), PDF_NAME(Outlines));
            pdf_dict_del(ctx, dict, PDF_NAME(Parent));
            pdf_dict_del(ctx, dict, PDF_NAME(Title));
        }
    }
    fz_catch(ctx) {}
}

bool PDFDocument::write(const QString &path) const
{
    if (!d)
        return false;
    PDFSettledLock lock(*d);
    return PDFAtomicWriter::write(*d, path, nullptr);
}

QString PDFDocument::writeNew(const QString &wantedPath, const StagedOutput::VacantName &vacant) const
{
    if (!d)
        return {};
    PDFSettledLock lock(*d);
    return PDFAtomicWriter::publish(*d, wantedPath, vacant, nullptr);
}

QString PDFDocument::writeNew(const QString &wantedPath, const StagedOutput::VacantName &vacant,
                              const PDFWriteOptions &options) const
{
    if (!d)
        return {};
    PDFSettledLock lock(*d);
    const PDFWriteOptions effective = withOwnerPassword(options);
    return PDFAtomicWriter::publish(*d, wantedPath, vacant, &effective);
}

PDFDocument PDFDocument::snapshot() const
{
    if (!d)
        return {};
    PDFSettledLock lock(*d);
    fz_context *ctx = MuPDF::context();
    // The copy is plain, so that whatever is drawn on it is written the usual way; its writes take
    // on the document's encryption again.
    const QByteArray encryptLike = PDFAtomicWriter::encryptedBytes(ctx, d->doc);
    if (d->doc->crypt && encryptLike.isEmpty())
        return {};
    auto copy = adopt(PDFAtomicWriter::snapshot(ctx, d->doc, false, d->password), QString(), d->compactRewrites);
    if (copy) {
        copy->password = d->password;
        copy->encryptLike = encryptLike;
    }
    return PDFDocument(copy);
}

bool PDFDocument::write(const QString &path, const PDFWriteOptions &options) const
{
    if (!d)
        return false;
    PDFSettledLock lock(*d);
    const PDFWriteOptions effective = withOwnerPassword(options);
    return PDFAtomicWriter::write(*d, path, &effective);
}
