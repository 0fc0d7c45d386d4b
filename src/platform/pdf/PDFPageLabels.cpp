#include "PDFPageLabels.h"

#include <algorithm>
#include <limits>
#include <set>

namespace {

QString roman(int n, bool upper)
{
    static const std::pair<int, const char *> table[] = {{1000, "m"}, {900, "cm"}, {500, "d"}, {400, "cd"}, {100, "c"},
                                                         {90, "xc"}, {50, "l"}, {40, "xl"}, {10, "x"}, {9, "ix"},
                                                         {5, "v"}, {4, "iv"}, {1, "i"}};
    QString out;
    for (const auto &[value, digits] : table)
        for (; n >= value && out.size() < 64; n -= value)
            out += QLatin1String(digits);
    return upper ? out.toUpper() : out;
}

QString letters(int n, bool upper)
{
    // a..z, then aa..zz, and so on
    const QChar letter = QChar(char16_t((upper ? 'A' : 'a') + (n - 1) % 26));
    return QString(std::min((n - 1) / 26 + 1, 64), letter);
}

// The range dictionary that covers index: the entry with the largest start not above it. Each
// node of the number tree is read once, however often its /Kids name it.
pdf_obj *findRange(fz_context *ctx, pdf_obj *node, int index, int *start, std::set<int> &seen, int depth)
{
    if (!node || depth > 32 || (pdf_is_indirect(ctx, node) && !seen.insert(pdf_to_num(ctx, node)).second))
        return nullptr;
    pdf_obj *best = nullptr;
    pdf_obj *nums = pdf_dict_get(ctx, node, PDF_NAME(Nums));
    for (int i = 0; i + 1 < pdf_array_len(ctx, nums); i += 2) {
        const int key = pdf_array_get_int(ctx, nums, i);
        if (key <= index && key >= *start) {
            *start = key;
            best = pdf_array_get(ctx, nums, i + 1);
        }
    }
    pdf_obj *kids = pdf_dict_get(ctx, node, PDF_NAME(Kids));
    for (int i = 0; i < pdf_array_len(ctx, kids); ++i) {
        pdf_obj *found = findRange(ctx, pdf_array_get(ctx, kids, i), index, start, seen, depth + 1);
        if (found)
            best = found;
    }
    return best;
}

} // namespace

namespace PDFPageLabels {

QString label(fz_context *ctx, pdf_document *doc, int index)
{
    pdf_obj *tree = pdf_dict_gets(ctx, pdf_dict_get(ctx, pdf_trailer(ctx, doc), PDF_NAME(Root)), "PageLabels");
    int start = 0;
    std::set<int> seen;
    pdf_obj *range = findRange(ctx, tree, index, &start, seen, 0);
    if (!range)
        return QString::number(index + 1);
    const QString prefix = QString::fromUtf8(pdf_to_text_string(ctx, pdf_dict_get(ctx, range, PDF_NAME(P))));
    pdf_obj *first = pdf_dict_gets(ctx, range, "St");
    // A file may start the numbering anywhere up to the largest integer: count past it in 64 bits.
    const qint64 value = qint64(pdf_is_int(ctx, first) ? pdf_to_int(ctx, first) : 1) + index - start;
    const int n = int(std::min<qint64>(value, std::numeric_limits<int>::max()));
    const char *style = pdf_to_name(ctx, pdf_dict_get(ctx, range, PDF_NAME(S)));
    QString number;
    if (value > 0) {
        switch (style[0]) {
        case 'D': number = QString::number(value); break;
        case 'R': number = roman(n, true); break;
        case 'r': number = roman(n, false); break;
        case 'A': number = letters(n, true); break;
        case 'a': number = letters(n, false); break;
        default: break;
        }
    }
    return prefix + number;
}

} // namespace PDFPageLabels
