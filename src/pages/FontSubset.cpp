#include "FontSubset.h"

#include "CffCharset.h"

#include <QCryptographicHash>
#include <QFile>
#include <fontconfig/fontconfig.h>
#include <QtEndian>
#include <hb-ot.h>
#include <hb-subset.h>
#include <hb.h>
#include <memory>
#include <vector>

namespace {

template <typename T, void (*Destroy)(T *)> struct Held {
    T *p;
    ~Held()
    {
        if (p)
            Destroy(p);
    }
};

// The face fontconfig gives for the family and style, found the way the toolkit found it: Qt
// hands out a font's glyph ids but not its file. With `character`, the face it falls back to for
// that character when the family lacks it.
std::optional<FontSubset::Face> match(const QRawFont &font, std::optional<char32_t> character = std::nullopt)
{
    FcPattern *pattern = FcPatternCreate();
    if (!pattern)
        return std::nullopt;
    const QByteArray family = font.familyName().toUtf8(), style = font.styleName().toUtf8();
    FcPatternAddString(pattern, FC_FAMILY, reinterpret_cast<const FcChar8 *>(family.constData()));
    if (!style.isEmpty())
        FcPatternAddString(pattern, FC_STYLE, reinterpret_cast<const FcChar8 *>(style.constData()));
    if (character) {
        FcCharSet *set = FcCharSetCreate();
        if (set) {
            FcCharSetAddChar(set, FcChar32(*character));
            FcPatternAddCharSet(pattern, FC_CHARSET, set);
            FcCharSetDestroy(set);
        }
    }
    FcConfigSubstitute(nullptr, pattern, FcMatchPattern);
    FcDefaultSubstitute(pattern);
    FcResult result = FcResultNoMatch;
    FcPattern *matched = FcFontMatch(nullptr, pattern, &result);
    FcPatternDestroy(pattern);
    if (!matched)
        return std::nullopt;
    FcChar8 *file = nullptr, *matchedFamily = nullptr;
    int index = 0;
    std::optional<FontSubset::Face> face;
    if (FcPatternGetString(matched, FC_FILE, 0, &file) == FcResultMatch
        && FcPatternGetString(matched, FC_FAMILY, 0, &matchedFamily) == FcResultMatch) {
        FcPatternGetInteger(matched, FC_INDEX, 0, &index);
        // The upper bits of the index name a named instance of a variable font.
        face = FontSubset::Face{QFile::decodeName(reinterpret_cast<const char *>(file)), index & 0xFFFF,
                                QString::fromUtf8(reinterpret_cast<const char *>(matchedFamily))};
    }
    FcPatternDestroy(matched);
    return face;
}

QByteArray table(hb_face_t *face, const char *tag)
{
    Held<hb_blob_t, hb_blob_destroy> blob{hb_face_reference_table(face, hb_tag_from_string(tag, 4))};
    unsigned length = 0;
    const char *data = hb_blob_get_data(blob.p, &length);
    return data ? QByteArray(data, int(length)) : QByteArray();
}

quint16 be16(const QByteArray &data, int offset)
{
    return offset + 2 <= data.size() ? qFromBigEndian<quint16>(data.constData() + offset) : 0;
}

// fsType of the OS/2 table: 2 is "restricted licence embedding", and bit 9 allows bitmaps only.
bool embeddingAllowed(hb_face_t *face)
{
    const quint16 fsType = be16(table(face, "OS/2"), 8);
    return (fsType & 0x000F) != 0x0002 && !(fsType & 0x0200);
}

QByteArray postScriptName(hb_face_t *face, const QString &family)
{
    char buffer[128];
    unsigned size = sizeof buffer;
    hb_ot_name_get_utf8(face, HB_OT_NAME_ID_POSTSCRIPT_NAME, HB_LANGUAGE_INVALID, &size, buffer);
    QByteArray name(buffer, int(qstrnlen(buffer, sizeof buffer)));
    if (name.isEmpty())
        name = family.toLatin1();
    QByteArray clean;
    for (char c : name)
        if (c > 32 && c < 127 && !strchr("[](){}<>/%#", c))
            clean += c;
    return clean.isEmpty() ? QByteArray("Font") : clean;
}

hb_face_t *openFace(const FontSubset::Face &face)
{
    Held<hb_blob_t, hb_blob_destroy> source{hb_blob_create_from_file_or_fail(QFile::encodeName(face.path).constData())};
    return source.p ? hb_face_create(source.p, unsigned(face.index)) : nullptr;
}

using FontHandle = std::unique_ptr<hb_font_t, decltype(&hb_font_destroy)>;

FontHandle openFont(const FontSubset::Face &face)
{
    Held<hb_face_t, hb_face_destroy> opened{openFace(face)};
    return FontHandle(opened.p && hb_face_get_glyph_count(opened.p) > 0 ? hb_font_create(opened.p) : nullptr,
                      &hb_font_destroy);
}

bool covers(hb_font_t *font, char32_t character)
{
    hb_codepoint_t glyph = 0;
    return font && hb_font_get_nominal_glyph(font, character, &glyph);
}

} // namespace

std::optional<FontSubset::Shaped> FontSubset::shape(const QRawFont &raw, const QStringList &lines)
{
    const std::optional<Face> primary = raw.isValid() ? match(raw) : std::nullopt;
    // A substitute family would be another font than the one asked for.
    if (!primary || primary->family.compare(raw.familyName(), Qt::CaseInsensitive) != 0)
        return std::nullopt;
    Shaped result;
    std::vector<FontHandle> fonts;
    result.faces.append(*primary);
    fonts.push_back(openFont(*primary));
    if (!fonts.back())
        return std::nullopt;
    // The face that shows a character: the font's own, or the one the toolkit falls back to.
    const auto faceFor = [&](char32_t character) -> int {
        for (size_t i = 0; i < fonts.size(); ++i)
            if (covers(fonts[i].get(), character))
                return int(i);
        const std::optional<Face> fallback = match(raw, character);
        if (!fallback || result.faces.contains(*fallback))
            return -1;
        FontHandle font = openFont(*fallback);
        if (!covers(font.get(), character))
            return -1;
        result.faces.append(*fallback);
        fonts.push_back(std::move(font));
        return int(fonts.size() - 1);
    };

    for (const QString &line : lines) {
        QVector<Glyph> glyphs;
        // Runs of characters shown by one face, each shaped on its own.
        for (qsizetype start = 0; start < line.size();) {
            int face = -1;
            qsizetype end = start;
            while (end < line.size()) {
                const char32_t character = line.at(end).isHighSurrogate() && end + 1 < line.size()
                                               ? QChar::surrogateToUcs4(line.at(end), line.at(end + 1))
                                               : line.at(end).unicode();
                const int next = faceFor(character);
                if (next < 0)
                    return std::nullopt;
                if (face >= 0 && next != face)
                    break;
                face = next;
                end += character > 0xFFFF ? 2 : 1;
            }
            Held<hb_buffer_t, hb_buffer_destroy> buffer{hb_buffer_create()};
            hb_buffer_add_utf16(buffer.p, reinterpret_cast<const uint16_t *>(line.utf16()), int(line.size()),
                                unsigned(start), int(end - start));
            hb_buffer_guess_segment_properties(buffer.p);
            hb_shape(fonts[size_t(face)].get(), buffer.p, nullptr, 0);
            const double unitsPerEm = std::max(1u, hb_face_get_upem(hb_font_get_face(fonts[size_t(face)].get())));
            unsigned count = 0;
            const hb_glyph_info_t *infos = hb_buffer_get_glyph_infos(buffer.p, &count);
            const hb_glyph_position_t *positions = hb_buffer_get_glyph_positions(buffer.p, &count);
            for (unsigned i = 0; i < count; ++i) {
                if (infos[i].codepoint == 0) // no glyph after all
                    return std::nullopt;
                // The characters of this glyph's cluster, for copying and search.
                const unsigned from = infos[i].cluster;
                unsigned to = unsigned(end);
                for (unsigned j = 0; j < count; ++j)
                    if (infos[j].cluster > from && infos[j].cluster < to)
                        to = infos[j].cluster;
                glyphs.append({face, infos[i].codepoint, positions[i].x_advance * 1000.0 / unitsPerEm,
                               line.mid(qsizetype(from), qsizetype(to - from))});
            }
            start = end;
        }
        result.lines.append(glyphs);
    }
    return result;
}

std::optional<PDFDrawing::Font> FontSubset::make(const Face &source, const QSet<quint32> &glyphs,
                                                 const QMap<quint32, QString> &text, QHash<quint32, quint32> *codes)
{
    Held<hb_face_t, hb_face_destroy> face{openFace(source)};
    if (!face.p)
        return std::nullopt;
    const QByteArray cffTable = table(face.p, "CFF ");
    const bool cff = !cffTable.isEmpty();
    if (!embeddingAllowed(face.p) || (!cff && table(face.p, "glyf").isEmpty()))
        return std::nullopt;
    Held<hb_subset_input_t, hb_subset_input_destroy> input{hb_subset_input_create_or_fail()};
    if (!face.p || !input.p)
        return std::nullopt;
    hb_set_t *kept = hb_subset_input_glyph_set(input.p);
    hb_set_add(kept, 0); // .notdef
    for (quint32 glyph : glyphs)
        hb_set_add(kept, glyph);
    // Glyphs are renumbered from 0: a PostScript-outline font is addressed by position, so
    // keeping the old ids would not survive its subsetting.
    hb_subset_input_set_flags(input.p, HB_SUBSET_FLAGS_NO_HINTING);
    Held<hb_subset_plan_t, hb_subset_plan_destroy> plan{hb_subset_plan_create_or_fail(face.p, input.p)};
    if (!plan.p)
        return std::nullopt;
    Held<hb_face_t, hb_face_destroy> subset{hb_subset_plan_execute_or_fail(plan.p)};
    if (!subset.p)
        return std::nullopt;
    const QByteArray subsetCff = cff ? table(subset.p, "CFF ") : QByteArray();
    const std::optional<CffCharset> charset = cff ? CffCharset::read(subsetCff) : std::nullopt;
    if (cff && !charset)
        return std::nullopt;
    const hb_map_t *oldToNew = hb_subset_plan_old_to_new_glyph_mapping(plan.p);
    for (quint32 glyph : glyphs) {
        const hb_codepoint_t id = hb_map_get(oldToNew, glyph);
        if (id == HB_MAP_VALUE_INVALID)
            return std::nullopt;
        // A CID-keyed program's glyphs are selected by CID, which the subset keeps from the font.
        const std::optional<quint32> code = charset ? charset->code(id) : std::optional<quint32>(id);
        if (!code)
            return std::nullopt;
        codes->insert(glyph, *code);
    }
    Held<hb_blob_t, hb_blob_destroy> blob{hb_face_reference_blob(subset.p)};
    unsigned length = 0;
    const char *data = hb_blob_get_data(blob.p, &length);
    if (!data || length == 0)
        return std::nullopt;

    PDFDrawing::Font font;
    // PostScript outlines are embedded bare: readers then take a code as the glyph's position.
    font.file = cff ? subsetCff : QByteArray(data, int(length));
    font.cff = cff;
    // The subset tag: six capitals that differ with the glyphs kept.
    QByteArray key = postScriptName(face.p, source.family);
    for (quint32 glyph : glyphs)
        key += QByteArray::number(glyph) + ',';
    const QByteArray hash = QCryptographicHash::hash(key, QCryptographicHash::Sha1);
    QByteArray tag;
    for (int i = 0; i < 6; ++i)
        tag += char('A' + uchar(hash[i]) % 26);
    font.name = tag + '+' + postScriptName(face.p, source.family);

    Held<hb_font_t, hb_font_destroy> hbFont{hb_font_create(face.p)};
    const double unitsPerEm = std::max(1u, hb_face_get_upem(face.p));
    for (quint32 glyph : glyphs) {
        const quint32 code = codes->value(glyph);
        font.widths.insert(code, hb_font_get_glyph_h_advance(hbFont.p, glyph) * 1000.0 / unitsPerEm);
        if (text.contains(glyph))
            font.text.insert(code, text.value(glyph));
    }
    hb_font_extents_t extents{};
    if (hb_font_get_h_extents(hbFont.p, &extents)) {
        font.ascent = extents.ascender * 1000.0 / unitsPerEm;
        font.descent = extents.descender * 1000.0 / unitsPerEm;
    }
    const QByteArray head = table(face.p, "head");
    const auto signedAt = [&](int offset) { return double(qint16(be16(head, offset))) * 1000.0 / unitsPerEm; };
    font.bbox = QRectF(QPointF(signedAt(36), signedAt(38)), QPointF(signedAt(40), signedAt(42)));
    return font;
}
