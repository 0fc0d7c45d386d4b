#include "PDFPageTree.h"

#include <algorithm>
#include <mutex>
#include <optional>
#include <set>
#include <sys/stat.h>

namespace {

constexpr int kMaxDepth = 64;

// Attributes a page may take from the nodes above it, as found on the way down.
struct Inherited {
    static constexpr int kCount = 4;
    pdf_obj *values[kCount] = {};

    static pdf_obj *key(int i)
    {
        pdf_obj *const keys[kCount] = {PDF_NAME(Resources), PDF_NAME(MediaBox), PDF_NAME(CropBox), PDF_NAME(Rotate)};
        return keys[i];
    }
    Inherited below(fz_context *ctx, pdf_obj *node) const
    {
        Inherited next = *this;
        for (int i = 0; i < kCount; ++i)
            if (pdf_obj *own = pdf_dict_get(ctx, node, key(i)))
                next.values[i] = own;
        return next;
    }
};

// One walk of the tree from its root. Each node is entered once, so a cycle or a page listed
// twice cannot make it loop or count a page twice. It notes whether the engine's own numbering,
// which follows /Count and /Kids as they stand and walks /Parent chains when pages are inserted
// or deleted, would disagree with what it found.
struct Walk {
    explicit Walk(fz_context *context, pdf_document *document = nullptr, bool skimming = false)
        : ctx(context), doc(document), skim(skimming)
    {
    }

    fz_context *ctx;
    pdf_document *doc;
    // Skimming: a node whose /Count equals its number of kids is taken to list pages, which are
    // not read; their parents are noted so the pages can be checked later.
    bool skim;
    std::vector<int> pages;
    std::vector<int> parents; // per page, when skimming
    std::vector<Inherited> inherited; // per page, when not skimming
    std::set<int> seen;
    bool irregular = false;

    int collect(pdf_obj *node, const Inherited &above, int depth)
    {
        pdf_obj *kids = pdf_dict_get(ctx, node, PDF_NAME(Kids));
        const int count = pdf_dict_get_int(ctx, node, PDF_NAME(Count));
        if (skim && count > 0 && count == pdf_array_len(ctx, kids))
            return listUnread(node, kids);
        const Inherited here = skim ? Inherited{} : above.below(ctx, node);
        int leaves = 0;
        for (int i = 0; i < pdf_array_len(ctx, kids); ++i) {
            pdf_obj *kid = pdf_array_get(ctx, kids, i);
            if (!pdf_is_indirect(ctx, kid) || !pdf_is_dict(ctx, kid) || !seen.insert(pdf_to_num(ctx, kid)).second) {
                irregular = true;
                continue;
            }
            if (pdf_objcmp(ctx, pdf_dict_get(ctx, kid, PDF_NAME(Parent)), node) != 0)
                irregular = true;
            if (isLeaf(kid)) {
                addPage(pdf_to_num(ctx, kid), node, here);
                ++leaves;
            } else if (depth + 1 < kMaxDepth) {
                leaves += collect(kid, here, depth + 1);
            } else {
                irregular = true;
            }
        }
        if (count != leaves)
            irregular = true;
        return leaves;
    }

    void addPage(int page, pdf_obj *parent, const Inherited &values)
    {
        pages.push_back(page);
        if (skim)
            parents.push_back(pdf_to_num(ctx, parent));
        else
            inherited.push_back(values);
    }

    // Whether the file has an object of that number, told by its cross-reference entry alone.
    bool exists(int object) const
    {
        if (object <= 0 || object >= pdf_xref_len(ctx, doc))
            return false;
        const char type = pdf_get_xref_entry_no_null(ctx, doc, object)->type;
        return type == 'n' || type == 'o';
    }

    // The kids of a node that counts as many pages as it has kids, taken for pages unread.
    int listUnread(pdf_obj *node, pdf_obj *kids)
    {
        const int length = pdf_array_len(ctx, kids);
        for (int i = 0; i < length; ++i) {
            pdf_obj *kid = pdf_array_get(ctx, kids, i);
            if (!pdf_is_indirect(ctx, kid) || !exists(pdf_to_num(ctx, kid)) || !seen.insert(pdf_to_num(ctx, kid)).second)
                irregular = true;
            else
                addPage(pdf_to_num(ctx, kid), node, {});
        }
        return length;
    }

    bool isLeaf(pdf_obj *node) const
    {
        return pdf_name_eq(ctx, pdf_dict_get(ctx, node, PDF_NAME(Type)), PDF_NAME(Page))
               || !pdf_is_array(ctx, pdf_dict_get(ctx, node, PDF_NAME(Kids)));
    }
};

pdf_obj *pagesRoot(fz_context *ctx, pdf_document *doc)
{
    return pdf_dict_get(ctx, pdf_dict_get(ctx, pdf_trailer(ctx, doc), PDF_NAME(Root)), PDF_NAME(Pages));
}

// Walks the tree; raises on engine errors.
void walkTree(fz_context *ctx, pdf_document *doc, Walk &walk)
{
    pdf_obj *root = pagesRoot(ctx, doc);
    if (!pdf_is_dict(ctx, root))
        return;
    if (pdf_is_indirect(ctx, root))
        walk.seen.insert(pdf_to_num(ctx, root));
    if (walk.isLeaf(root)) {
        // The catalog names a page where the tree should be.
        walk.irregular = true;
        if (pdf_is_indirect(ctx, root))
            walk.addPage(pdf_to_num(ctx, root), nullptr, {});
        return;
    }
    if (!pdf_is_indirect(ctx, root) || pdf_dict_get(ctx, root, PDF_NAME(Parent)))
        walk.irregular = true;
    walk.collect(root, {}, 0);
}

// Replaces the tree by one node listing the pages found, each page holding the attributes it
// inherited, so every later lookup, insertion and deletion of the engine sees the same pages in
// the same order as the walk. Raises on engine errors.
void flatten(fz_context *ctx, pdf_document *doc, const Walk &walk)
{
    pdf_obj *catalog = pdf_dict_get(ctx, pdf_trailer(ctx, doc), PDF_NAME(Root));
    pdf_obj *root = pdf_add_new_dict(ctx, doc, 3);
    fz_try(ctx)
    {
        pdf_dict_put(ctx, root, PDF_NAME(Type), PDF_NAME(Pages));
        pdf_obj *kids = pdf_dict_put_array(ctx, root, PDF_NAME(Kids), int(walk.pages.size()));
        for (size_t i = 0; i < walk.pages.size(); ++i) {
            pdf_array_push_drop(ctx, kids, pdf_new_indirect(ctx, doc, walk.pages[i], 0));
            pdf_obj *page = pdf_array_get(ctx, kids, int(i));
            for (int k = 0; k < Inherited::kCount; ++k)
                if (walk.inherited[i].values[k] && !pdf_dict_get(ctx, page, Inherited::key(k)))
                    pdf_dict_put(ctx, page, Inherited::key(k), walk.inherited[i].values[k]);
        }
        // Parents are set last: until then the old nodes hold the attributes copied above.
        for (int i = 0; i < pdf_array_len(ctx, kids); ++i)
            pdf_dict_put(ctx, pdf_array_get(ctx, kids, i), PDF_NAME(Parent), root);
        pdf_dict_put_int(ctx, root, PDF_NAME(Count), int(walk.pages.size()));
        pdf_dict_put(ctx, catalog, PDF_NAME(Pages), root);
    }
    fz_always(ctx) pdf_drop_obj(ctx, root);
    fz_catch(ctx) fz_rethrow(ctx);
}

// Files recently found to have a sound page tree, newest last.
class SoundFiles {
public:
    std::optional<std::vector<int>> pages(const PDFPageTree::FileStamp &stamp)
    {
        std::lock_guard lock(m_mutex);
        for (const auto &[known, pages] : m_files)
            if (known == stamp)
                return pages;
        return std::nullopt;
    }
    void remember(const PDFPageTree::FileStamp &stamp, const std::vector<int> &pages)
    {
        std::lock_guard lock(m_mutex);
        std::erase_if(m_files, [&](const auto &entry) { return entry.first == stamp; });
        if (m_files.size() >= kKept)
            m_files.erase(m_files.begin());
        m_files.emplace_back(stamp, pages);
    }

private:
    static constexpr size_t kKept = 16;
    std::mutex m_mutex;
    std::vector<std::pair<PDFPageTree::FileStamp, std::vector<int>>> m_files;
};

SoundFiles &soundFiles()
{
    static SoundFiles files;
    return files;
}

// Gives the engine the page map it would otherwise build by walking the whole tree on the first
// link it resolves: `pages` are the leaves of the document's tree as it now stands, each once.
// The engine frees the map with the document. Raises on engine errors.
void installPageMap(fz_context *ctx, pdf_document *doc, const std::vector<int> &pages)
{
    if (doc->fwd_page_map || doc->rev_page_map || pages.empty())
        return;
    const int count = int(pages.size());
    int *forward = fz_malloc_array(ctx, count, int);
    pdf_rev_page_map *reverse = nullptr;
    fz_try(ctx) reverse = fz_malloc_array(ctx, count, pdf_rev_page_map);
    fz_catch(ctx)
    {
        fz_free(ctx, forward);
        fz_rethrow(ctx);
    }
    for (int i = 0; i < count; ++i) {
        forward[i] = pages[size_t(i)];
        reverse[i] = {i, pages[size_t(i)]};
    }
    std::sort(reverse, reverse + count, [](const pdf_rev_page_map &a, const pdf_rev_page_map &b) { return a.object < b.object; });
    doc->map_page_count = count;
    doc->fwd_page_map = forward;
    doc->rev_page_map = reverse;
    doc->page_map_nesting = 1;
}

} // namespace

namespace PDFPageTree {

FileStamp stampOf(const QByteArray &file)
{
    struct stat info;
    if (::stat(file.constData(), &info) != 0 || !S_ISREG(info.st_mode))
        return {};
    return {info.st_dev, info.st_ino, info.st_size, info.st_mtim.tv_sec * 1000000000LL + info.st_mtim.tv_nsec};
}

void rememberSound(const QByteArray &file, const FileStamp &before, const std::vector<int> &pages)
{
    if (before.isValid() && !pages.empty() && stampOf(file) == before)
        soundFiles().remember(before, pages);
}


std::vector<int> pageObjects(fz_context *ctx, pdf_document *doc)
{
    Walk walk(ctx);
    fz_try(ctx) walkTree(ctx, doc, walk);
    fz_catch(ctx) walk.pages.clear();
    return walk.pages;
}

bool normalise(fz_context *ctx, pdf_document *doc)
{
    Walk walk(ctx);
    bool sound = false;
    fz_try(ctx)
    {
        walkTree(ctx, doc, walk);
        if (walk.irregular)
            flatten(ctx, doc, walk);
        sound = !walk.irregular;
    }
    fz_catch(ctx) sound = false;
    return sound;
}

Skim skim(fz_context *ctx, pdf_document *doc)
{
    // A repaired file is read whole: its cross-references were guessed from what was left of it.
    Walk walk(ctx, doc, true);
    fz_try(ctx)
    {
        if (pdf_was_repaired(ctx, doc))
            walk.irregular = true;
        else
            walkTree(ctx, doc, walk);
    }
    fz_catch(ctx) walk.irregular = true;
    Skim result;
    result.sound = !walk.irregular;
    if (result.sound) {
        result.pages = std::move(walk.pages);
        result.parents = std::move(walk.parents);
    }
    return result;
}

bool isListedPage(fz_context *ctx, pdf_document *doc, int page, int parent)
{
    bool listed = false;
    pdf_obj *ref = nullptr;
    fz_try(ctx)
    {
        ref = pdf_new_indirect(ctx, doc, page, 0);
        pdf_obj *up = pdf_dict_get(ctx, ref, PDF_NAME(Parent));
        listed = pdf_is_dict(ctx, ref) && Walk(ctx).isLeaf(ref) && pdf_is_indirect(ctx, up) && pdf_to_num(ctx, up) == parent;
    }
    fz_always(ctx) pdf_drop_obj(ctx, ref);
    fz_catch(ctx) listed = false;
    return listed;
}

int pageCount(fz_context *ctx, fz_document *doc)
{
    pdf_document *pdf = pdf_specifics(ctx, doc);
    if (pdf)
        return int(pageObjects(ctx, pdf).size());
    int count = 0;
    fz_try(ctx) count = fz_count_pages(ctx, doc);
    fz_catch(ctx) count = 0;
    return count;
}

fz_document *openForReading(fz_context *ctx, const QByteArray &file, int *count)
{
    const FileStamp before = stampOf(file);
    std::optional<std::vector<int>> pages = before.isValid() ? soundFiles().pages(before) : std::nullopt;
    pdf_document *doc = nullptr;
    bool locked = true;
    // Opened as a PDF whatever the file's name says.
    fz_try(ctx)
    {
        doc = pdf_open_document(ctx, file.constData());
        locked = pdf_needs_password(ctx, doc);
    }
    fz_catch(ctx) locked = true;
    if (locked) {
        pdf_drop_document(ctx, doc);
        *count = 0;
        return nullptr;
    }
    Walk walk(ctx);
    if (!pages) {
        fz_try(ctx)
        {
            walkTree(ctx, doc, walk);
            if (walk.irregular)
                flatten(ctx, doc, walk);
        }
        fz_catch(ctx) walk.pages.clear();
        if (!walk.irregular)
            rememberSound(file, before, walk.pages);
        pages = std::move(walk.pages);
    }
    bool ok = true;
    fz_try(ctx) installPageMap(ctx, doc, *pages);
    fz_catch(ctx) ok = false;
    if (!ok) {
        pdf_drop_document(ctx, doc);
        *count = 0;
        return nullptr;
    }
    *count = int(pages->size());
    return &doc->super;
}

} // namespace PDFPageTree
