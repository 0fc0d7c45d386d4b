#include "PDFAnnotation.h"

#include "PDFAnnotationAppearance.h"
#include "PDFDestinationCodec.h"
#include "PDFDocument.h"
#include "PDFDocumentPrivate.h"
#include "PDFPageCopier.h"

#include <QRegularExpression>
#include <QTimeZone>
#include <functional>

namespace {

const char *const kLineStyleNames[] = {"None", "Square", "Circle", "Diamond", "OpenArrow", "ClosedArrow",
                                       "Butt", "ROpenArrow", "RClosedArrow", "Slash"};

QColor colorFromArray(fz_context *ctx, pdf_obj *array)
{
    const int n = pdf_array_len(ctx, array);
    auto at = [&](int i) { return std::clamp(double(pdf_array_get_real(ctx, array, i)), 0.0, 1.0); };
    switch (n) {
    case 1: return QColor::fromRgbF(float(at(0)), float(at(0)), float(at(0)));
    case 3: return QColor::fromRgbF(float(at(0)), float(at(1)), float(at(2)));
    case 4: return QColor::fromCmykF(float(at(0)), float(at(1)), float(at(2)), float(at(3))).toRgb();
    default: return {};
    }
}

// Raises MuPDF errors.
void putColor(fz_context *ctx, pdf_obj *dict, pdf_obj *key, const QColor &color)
{
    if (!color.isValid() || color.alpha() == 0) {
        pdf_dict_del(ctx, dict, key);
        return;
    }
    const QColor rgb = color.toRgb();
    pdf_obj *array = pdf_dict_put_array(ctx, dict, key, 3);
    pdf_array_push_real(ctx, array, rgb.redF());
    pdf_array_push_real(ctx, array, rgb.greenF());
    pdf_array_push_real(ctx, array, rgb.blueF());
}

struct DefaultAppearance {
    QString font = QStringLiteral("Helvetica");
    double size = 12;
    QColor color = Qt::black;
};

DefaultAppearance parseDefaultAppearance(const QString &da)
{
    DefaultAppearance result;
    static const QRegularExpression fontPattern(QStringLiteral("/(\\S+)\\s+([-+]?[0-9.]+)\\s+Tf"));
    static const QRegularExpression colorPattern(QStringLiteral("((?:[-+]?[0-9.]+\\s+){1,4})(g|rg|k)\\b"));
    const auto font = fontPattern.match(da);
    if (font.hasMatch()) {
        result.font = QString::fromUtf8(QByteArray::fromPercentEncoding(font.captured(1).toLatin1(), '#'));
        result.size = font.captured(2).toDouble();
    }
    const auto color = colorPattern.match(da);
    if (color.hasMatch()) {
        const QStringList parts = color.captured(1).split(QLatin1Char(' '), Qt::SkipEmptyParts);
        const QString op = color.captured(2);
        auto v = [&](int i) { return float(std::clamp(parts.value(i).toDouble(), 0.0, 1.0)); };
        if (op == QLatin1String("g") && parts.size() >= 1)
            result.color = QColor::fromRgbF(v(0), v(0), v(0));
        else if (op == QLatin1String("rg") && parts.size() >= 3)
            result.color = QColor::fromRgbF(v(0), v(1), v(2));
        else if (op == QLatin1String("k") && parts.size() >= 4)
            result.color = QColor::fromCmykF(v(0), v(1), v(2), v(3)).toRgb();
    }
    return result;
}

QByteArray printDefaultAppearance(const DefaultAppearance &da)
{
    QString font = da.font;
    font.remove(QRegularExpression(QStringLiteral("[\\s/()<>\\[\\]{}%]")));
    if (font.isEmpty())
        font = QStringLiteral("Helvetica");
    // A name is written in printable ASCII: other bytes (a CJK family name) as #xx.
    font = QString::fromLatin1(font.toUtf8().toPercentEncoding(QByteArrayLiteral("!\"$&'*+,-.:;=?@^_`|~"), {}, '#'));
    const QColor c = da.color.isValid() ? da.color.toRgb() : QColor(Qt::black);
    return QStringLiteral("/%1 %2 Tf %3 %4 %5 rg")
        .arg(font)
        .arg(da.size, 0, 'g', 6)
        .arg(c.redF(), 0, 'g', 4)
        .arg(c.greenF(), 0, 'g', 4)
        .arg(c.blueF(), 0, 'g', 4)
        .toUtf8();
}

QString pdfDateString(const QDateTime &date)
{
    const QDateTime utc = date.toUTC();
    return QStringLiteral("D:") + utc.toString(QStringLiteral("yyyyMMddHHmmss")) + QStringLiteral("Z");
}

QDateTime parsePdfDate(QString text)
{
    if (text.startsWith(QLatin1String("D:")))
        text = text.mid(2);
    const QString digits = text.left(14).leftJustified(14, QLatin1Char('0'));
    QDateTime date = QDateTime::fromString(digits, QStringLiteral("yyyyMMddHHmmss"));
    if (!date.isValid())
        return {};
    const QString zone = text.mid(14);
    if (zone.startsWith(QLatin1Char('Z')) || zone.isEmpty()) {
        date.setTimeZone(QTimeZone::utc());
    } else if (zone.startsWith(QLatin1Char('+')) || zone.startsWith(QLatin1Char('-'))) {
        const int hours = zone.mid(1, 2).toInt();
        const int minutes = zone.mid(4, 2).toInt();
        const int sign = zone.startsWith(QLatin1Char('-')) ? -1 : 1;
        date.setTimeZone(QTimeZone(sign * (hours * 3600 + minutes * 60)));
    }
    return date;
}

} // namespace

// Every accessor works on the dictionary itself, so an annotation on no page keeps and reports
// its properties exactly like one on a page.
namespace {

struct Access {
    std::shared_ptr<PDFDocumentData> d;
    int object;
    PDFLock lock;
    fz_context *ctx;
    pdf_obj *dict;
    Access(const std::shared_ptr<PDFDocumentData> &data, int obj)
        : d(data), object(obj), lock(data->mutex), ctx(MuPDF::context()), dict(data->resolve(obj))
    {
    }
    int pageObject() const
    {
        pdf_obj *p = pdf_dict_get(ctx, dict, PDF_NAME(P));
        return pdf_is_indirect(ctx, p) ? pdf_to_num(ctx, p) : 0;
    }
    // Runs a MuPDF write on the dictionary, then brings its appearance up to date.
    void write(const std::function<void(fz_context *, pdf_obj *)> &change)
    {
        if (!dict)
            return;
        // The function object is built outside the try: nothing with a destructor lives inside.
        const std::function<void(fz_context *, pdf_obj *)> *f = &change;
        fz_try(ctx)(*f)(ctx, dict);
        fz_catch(ctx) return;
        PDFAnnotationAppearance::refresh(*d, object, pageObject());
    }
    QString text(pdf_obj *key) const { return QString::fromUtf8(pdf_to_text_string(ctx, pdf_dict_get(ctx, dict, key))); }
};

} // namespace

#define ACCESS_OR(fallback)                                                                                            \
    if (!d)                                                                                                            \
        return fallback;                                                                                               \
    Access a(d, m_object);                                                                                             \
    if (!a.dict)                                                                                                       \
        return fallback;

PDFAnnotation PDFAnnotation::create(const PDFDocument &document, const QString &subtype, const QRectF &bounds)
{
    if (document.isNull())
        return {};
    const auto data = document.d;
    PDFLock lock(data->mutex);
    fz_context *ctx = MuPDF::context();
    const QByteArray type = subtype.toLatin1();
    const fz_rect rect = PDFGeometry::toFz(bounds);
    pdf_obj *dict = nullptr;
    int object = 0;
    fz_try(ctx)
    {
        dict = pdf_add_new_dict(ctx, data->doc, 8);
        pdf_dict_put(ctx, dict, PDF_NAME(Type), PDF_NAME(Annot));
        pdf_dict_put_name(ctx, dict, PDF_NAME(Subtype), type.constData());
        pdf_dict_put_rect(ctx, dict, PDF_NAME(Rect), rect);
        pdf_dict_put_int(ctx, dict, PDF_NAME(F), PDF_ANNOT_IS_PRINT);
        object = pdf_to_num(ctx, dict);
    }
    fz_always(ctx) pdf_drop_obj(ctx, dict);
    fz_catch(ctx) object = 0;
    if (!object)
        return {};
    PDFAnnotation annotation(data, object);
    annotation.setModificationDate(QDateTime::currentDateTime());
    return annotation;
}

PDFPage PDFAnnotation::page() const
{
    ACCESS_OR({})
    const int page = a.pageObject();
    if (!page || d->indexOfPageObject(page) < 0)
        return {};
    pdf_obj *annots = pdf_dict_get(a.ctx, d->resolve(page), PDF_NAME(Annots));
    for (int i = 0; i < pdf_array_len(a.ctx, annots); ++i)
        if (pdf_to_num(a.ctx, pdf_array_get(a.ctx, annots, i)) == m_object)
            return PDFPage(d, page);
    return {};
}

QString PDFAnnotation::type() const
{
    ACCESS_OR({})
    return QString::fromLatin1(pdf_to_name(a.ctx, pdf_dict_get(a.ctx, a.dict, PDF_NAME(Subtype))));
}

QRectF PDFAnnotation::bounds() const
{
    ACCESS_OR({})
    return PDFGeometry::toQt(pdf_to_rect(a.ctx, pdf_dict_get(a.ctx, a.dict, PDF_NAME(Rect))));
}

void PDFAnnotation::setBounds(const QRectF &bounds)
{
    ACCESS_OR()
    const fz_rect rect = PDFGeometry::toFz(bounds);
    a.write([&](fz_context *ctx, pdf_obj *dict) { pdf_dict_put_rect(ctx, dict, PDF_NAME(Rect), rect); });
}

std::optional<QColor> PDFAnnotation::color() const
{
    ACCESS_OR(std::nullopt)
    const QColor c = colorFromArray(a.ctx, pdf_dict_get(a.ctx, a.dict, PDF_NAME(C)));
    return c.isValid() ? std::optional<QColor>(c) : std::nullopt;
}

void PDFAnnotation::setColor(const QColor &color)
{
    ACCESS_OR()
    a.write([&](fz_context *ctx, pdf_obj *dict) { putColor(ctx, dict, PDF_NAME(C), color); });
}

std::optional<QColor> PDFAnnotation::interiorColor() const
{
    ACCESS_OR(std::nullopt)
    const QColor c = colorFromArray(a.ctx, pdf_dict_get(a.ctx, a.dict, PDF_NAME(IC)));
    return c.isValid() ? std::optional<QColor>(c) : std::nullopt;
}

void PDFAnnotation::setInteriorColor(const QColor &color)
{
    ACCESS_OR()
    a.write([&](fz_context *ctx, pdf_obj *dict) { putColor(ctx, dict, PDF_NAME(IC), color); });
}

double PDFAnnotation::opacity() const
{
    ACCESS_OR(1.0)
    pdf_obj *ca = pdf_dict_get(a.ctx, a.dict, PDF_NAME(CA));
    return pdf_is_number(a.ctx, ca) ? std::clamp(double(pdf_to_real(a.ctx, ca)), 0.0, 1.0) : 1.0;
}

void PDFAnnotation::setOpacity(double opacity)
{
    ACCESS_OR()
    const float value = float(std::clamp(opacity, 0.0, 1.0));
    a.write([&](fz_context *ctx, pdf_obj *dict) {
        if (value >= 1.0f)
            pdf_dict_del(ctx, dict, PDF_NAME(CA));
        else
            pdf_dict_put_real(ctx, dict, PDF_NAME(CA), value);
    });
}

std::optional<PDFBorder> PDFAnnotation::border() const
{
    ACCESS_OR(std::nullopt)
    pdf_obj *bs = pdf_dict_get(a.ctx, a.dict, PDF_NAME(BS));
    if (pdf_is_dict(a.ctx, bs)) {
        pdf_obj *w = pdf_dict_get(a.ctx, bs, PDF_NAME(W));
        return PDFBorder{pdf_is_number(a.ctx, w) ? double(pdf_to_real(a.ctx, w)) : 1.0};
    }
    pdf_obj *border = pdf_dict_get(a.ctx, a.dict, PDF_NAME(Border));
    if (pdf_array_len(a.ctx, border) >= 3)
        return PDFBorder{double(pdf_array_get_real(a.ctx, border, 2))};
    return std::nullopt;
}

void PDFAnnotation::setBorder(const std::optional<PDFBorder> &border)
{
    ACCESS_OR()
    a.write([&](fz_context *ctx, pdf_obj *dict) {
        pdf_dict_del(ctx, dict, PDF_NAME(Border));
        if (!border) {
            pdf_dict_del(ctx, dict, PDF_NAME(BS));
            return;
        }
        pdf_obj *bs = pdf_dict_put_dict(ctx, dict, PDF_NAME(BS), 2);
        pdf_dict_put(ctx, bs, PDF_NAME(S), PDF_NAME(S));
        pdf_dict_put_real(ctx, bs, PDF_NAME(W), std::max(0.0, border->lineWidth));
    });
}

QString PDFAnnotation::contents() const
{
    ACCESS_OR({})
    return a.text(PDF_NAME(Contents));
}

void PDFAnnotation::setContents(const QString &contents)
{
    ACCESS_OR()
    const QByteArray utf8 = contents.toUtf8();
    a.write([&](fz_context *ctx, pdf_obj *dict) { pdf_dict_put_text_string(ctx, dict, PDF_NAME(Contents), utf8.constData()); });
}

QString PDFAnnotation::userName() const
{
    ACCESS_OR({})
    return a.text(PDF_NAME(T));
}

void PDFAnnotation::setUserName(const QString &name)
{
    ACCESS_OR()
    const QByteArray utf8 = name.toUtf8();
    a.write([&](fz_context *ctx, pdf_obj *dict) { pdf_dict_put_text_string(ctx, dict, PDF_NAME(T), utf8.constData()); });
}

QDateTime PDFAnnotation::modificationDate() const
{
    ACCESS_OR({})
    return parsePdfDate(a.text(PDF_NAME(M)));
}

void PDFAnnotation::setModificationDate(const QDateTime &date)
{
    ACCESS_OR()
    const QByteArray text = pdfDateString(date).toLatin1();
    a.write([&](fz_context *ctx, pdf_obj *dict) { pdf_dict_put_string(ctx, dict, PDF_NAME(M), text.constData(), size_t(text.size())); });
}

QString PDFAnnotation::fontName() const
{
    ACCESS_OR({})
    return parseDefaultAppearance(a.text(PDF_NAME(DA))).font;
}

double PDFAnnotation::fontSize() const
{
    ACCESS_OR(0)
    return parseDefaultAppearance(a.text(PDF_NAME(DA))).size;
}

QColor PDFAnnotation::fontColor() const
{
    ACCESS_OR({})
    return parseDefaultAppearance(a.text(PDF_NAME(DA))).color;
}

void PDFAnnotation::setFont(const QString &name, double size)
{
    ACCESS_OR()
    DefaultAppearance da = parseDefaultAppearance(a.text(PDF_NAME(DA)));
    da.font = name;
    da.size = size;
    const QByteArray text = printDefaultAppearance(da);
    a.write([&](fz_context *ctx, pdf_obj *dict) { pdf_dict_put_string(ctx, dict, PDF_NAME(DA), text.constData(), size_t(text.size())); });
}

void PDFAnnotation::setFontColor(const QColor &color)
{
    ACCESS_OR()
    DefaultAppearance da = parseDefaultAppearance(a.text(PDF_NAME(DA)));
    da.color = color;
    const QByteArray text = printDefaultAppearance(da);
    a.write([&](fz_context *ctx, pdf_obj *dict) { pdf_dict_put_string(ctx, dict, PDF_NAME(DA), text.constData(), size_t(text.size())); });
}

PDFTextAlignment PDFAnnotation::alignment() const
{
    ACCESS_OR(PDFTextAlignment::Left)
    const int q = pdf_dict_get_int(a.ctx, a.dict, PDF_NAME(Q));
    return q == 1 ? PDFTextAlignment::Center : q == 2 ? PDFTextAlignment::Right : PDFTextAlignment::Left;
}

void PDFAnnotation::setAlignment(PDFTextAlignment alignment)
{
    ACCESS_OR()
    a.write([&](fz_context *ctx, pdf_obj *dict) { pdf_dict_put_int(ctx, dict, PDF_NAME(Q), int(alignment)); });
}

QVector<PDFQuad> PDFAnnotation::quadrilateralPoints() const
{
    ACCESS_OR({})
    QVector<PDFQuad> quads;
    pdf_obj *qp = pdf_dict_get(a.ctx, a.dict, PDF_NAME(QuadPoints));
    auto pt = [&](int i) { return QPointF(pdf_array_get_real(a.ctx, qp, i), pdf_array_get_real(a.ctx, qp, i + 1)); };
    for (int i = 0; i + 8 <= pdf_array_len(a.ctx, qp); i += 8)
        quads.append({pt(i), pt(i + 2), pt(i + 4), pt(i + 6)});
    return quads;
}

void PDFAnnotation::setQuadrilateralPoints(const QVector<PDFQuad> &quads)
{
    ACCESS_OR()
    a.write([&](fz_context *ctx, pdf_obj *dict) {
        pdf_obj *qp = pdf_dict_put_array(ctx, dict, PDF_NAME(QuadPoints), int(quads.size()) * 8);
        for (const PDFQuad &q : quads)
            for (QPointF p : {q.upperLeft, q.upperRight, q.lowerLeft, q.lowerRight}) {
                pdf_array_push_real(ctx, qp, p.x());
                pdf_array_push_real(ctx, qp, p.y());
            }
    });
}

QPointF PDFAnnotation::startPoint() const
{
    ACCESS_OR({})
    pdf_obj *l = pdf_dict_get(a.ctx, a.dict, PDF_NAME(L));
    return QPointF(pdf_array_get_real(a.ctx, l, 0), pdf_array_get_real(a.ctx, l, 1));
}

QPointF PDFAnnotation::endPoint() const
{
    ACCESS_OR({})
    pdf_obj *l = pdf_dict_get(a.ctx, a.dict, PDF_NAME(L));
    return QPointF(pdf_array_get_real(a.ctx, l, 2), pdf_array_get_real(a.ctx, l, 3));
}

void PDFAnnotation::setLinePoints(QPointF start, QPointF end)
{
    ACCESS_OR()
    a.write([&](fz_context *ctx, pdf_obj *dict) {
        pdf_obj *l = pdf_dict_put_array(ctx, dict, PDF_NAME(L), 4);
        for (double v : {start.x(), start.y(), end.x(), end.y()})
            pdf_array_push_real(ctx, l, v);
    });
}

static PDFLineStyle lineStyleAt(fz_context *ctx, pdf_obj *dict, int i)
{
    const char *name = pdf_to_name(ctx, pdf_array_get(ctx, pdf_dict_get(ctx, dict, PDF_NAME(LE)), i));
    for (int s = 0; s < int(std::size(kLineStyleNames)); ++s)
        if (!strcmp(name, kLineStyleNames[s]))
            return PDFLineStyle(s);
    return PDFLineStyle::None;
}

PDFLineStyle PDFAnnotation::startLineStyle() const
{
    ACCESS_OR(PDFLineStyle::None)
    return lineStyleAt(a.ctx, a.dict, 0);
}

PDFLineStyle PDFAnnotation::endLineStyle() const
{
    ACCESS_OR(PDFLineStyle::None)
    return lineStyleAt(a.ctx, a.dict, 1);
}

void PDFAnnotation::setLineStyles(PDFLineStyle start, PDFLineStyle end)
{
    ACCESS_OR()
    a.write([&](fz_context *ctx, pdf_obj *dict) {
        pdf_obj *le = pdf_dict_put_array(ctx, dict, PDF_NAME(LE), 2);
        pdf_array_push_name(ctx, le, kLineStyleNames[int(start)]);
        pdf_array_push_name(ctx, le, kLineStyleNames[int(end)]);
    });
}

QVector<QVector<QPointF>> PDFAnnotation::inkPaths() const
{
    ACCESS_OR({})
    QVector<QVector<QPointF>> paths;
    pdf_obj *list = pdf_dict_get(a.ctx, a.dict, PDF_NAME(InkList));
    for (int i = 0; i < pdf_array_len(a.ctx, list); ++i) {
        pdf_obj *stroke = pdf_array_get(a.ctx, list, i);
        QVector<QPointF> path;
        for (int k = 0; k + 2 <= pdf_array_len(a.ctx, stroke); k += 2)
            path.append(QPointF(pdf_array_get_real(a.ctx, stroke, k), pdf_array_get_real(a.ctx, stroke, k + 1)));
        paths.append(path);
    }
    return paths;
}

void PDFAnnotation::setInkPaths(const QVector<QVector<QPointF>> &paths)
{
    ACCESS_OR()
    a.write([&](fz_context *ctx, pdf_obj *dict) {
        pdf_obj *list = pdf_dict_put_array(ctx, dict, PDF_NAME(InkList), int(paths.size()));
        for (const auto &path : paths) {
            pdf_obj *stroke = pdf_array_push_array(ctx, list, int(path.size()) * 2);
            for (QPointF p : path) {
                pdf_array_push_real(ctx, stroke, p.x());
                pdf_array_push_real(ctx, stroke, p.y());
            }
        }
    });
}

QString PDFAnnotation::iconName() const
{
    ACCESS_OR({})
    return QString::fromLatin1(pdf_to_name(a.ctx, pdf_dict_get(a.ctx, a.dict, PDF_NAME(Name))));
}

void PDFAnnotation::setIconName(const QString &name)
{
    ACCESS_OR()
    const QByteArray latin = name.toLatin1();
    a.write([&](fz_context *ctx, pdf_obj *dict) { pdf_dict_put_name(ctx, dict, PDF_NAME(Name), latin.constData()); });
}

PDFAction PDFAnnotation::action() const
{
    ACCESS_OR({})
    pdf_obj *action = pdf_dict_get(a.ctx, a.dict, PDF_NAME(A));
    if (pdf_name_eq(a.ctx, pdf_dict_get(a.ctx, action, PDF_NAME(S)), PDF_NAME(URI)))
        return PDFActionURL{QString::fromUtf8(pdf_to_text_string(a.ctx, pdf_dict_get(a.ctx, action, PDF_NAME(URI))))};
    const PDFDestination destination = PDFDestinationCodec::readFrom(d, a.dict);
    if (destination.isNull())
        return {};
    return PDFActionGoTo{destination};
}

void PDFAnnotation::setAction(const PDFAction &action)
{
    ACCESS_OR()
    const auto *goTo = std::get_if<PDFActionGoTo>(&action);
    const auto *url = std::get_if<PDFActionURL>(&action);
    const int target = goTo && !goTo->destination.isNull() && goTo->destination.page().d == d
                           ? goTo->destination.page().m_object : 0;
    const QPointF point = goTo ? goTo->destination.point() : QPointF();
    const QByteArray uri = url ? url->url.toUtf8() : QByteArray();
    pdf_document *doc = d->doc;
    a.write([&](fz_context *ctx, pdf_obj *dict) {
        pdf_dict_del(ctx, dict, PDF_NAME(Dest));
        pdf_dict_del(ctx, dict, PDF_NAME(A));
        if (target) {
            pdf_obj *act = pdf_dict_put_dict(ctx, dict, PDF_NAME(A), 2);
            pdf_dict_put(ctx, act, PDF_NAME(S), PDF_NAME(GoTo));
            pdf_dict_put_drop(ctx, act, PDF_NAME(D), PDFDestinationCodec::make(ctx, doc, target, point));
        } else if (url) {
            pdf_obj *act = pdf_dict_put_dict(ctx, dict, PDF_NAME(A), 2);
            pdf_dict_put(ctx, act, PDF_NAME(S), PDF_NAME(URI));
            pdf_dict_put_string(ctx, act, PDF_NAME(URI), uri.constData(), size_t(uri.size()));
        }
    });
}

bool PDFAnnotation::setAppearance(const PDFDrawing &appearance)
{
    ACCESS_OR(false)
    return PDFAnnotationAppearance::install(*d, m_object, appearance);
}

bool PDFAnnotation::hasAppearance() const
{
    ACCESS_OR(false)
    return pdf_dict_get(a.ctx, pdf_dict_get(a.ctx, a.dict, PDF_NAME(AP)), PDF_NAME(N)) != nullptr;
}

QString PDFAnnotation::privateValue(const QString &key) const
{
    ACCESS_OR({})
    const QByteArray name = "Quirna" + key.toLatin1();
    return QString::fromUtf8(pdf_to_text_string(a.ctx, pdf_dict_gets(a.ctx, a.dict, name.constData())));
}

void PDFAnnotation::setPrivateValue(const QString &key, const QString &value)
{
    ACCESS_OR()
    const QByteArray name = "Quirna" + key.toLatin1();
    const QByteArray utf8 = value.toUtf8();
    fz_try(a.ctx) pdf_dict_puts_drop(a.ctx, a.dict, name.constData(), pdf_new_text_string(a.ctx, utf8.constData()));
    fz_catch(a.ctx) {}
}

PDFAnnotation PDFAnnotation::copy(const PDFDocument &target) const
{
    if (!d || target.isNull())
        return {};
    PDFPairLock lock(*d, *target.d);
    fz_context *ctx = MuPDF::context();
    pdf_obj *dict = d->resolve(m_object);
    if (!dict)
        return {};
    pdf_graft_map *map = nullptr;
    pdf_obj *copy = nullptr;
    int object = 0;
    fz_try(ctx)
    {
        if (target.d != d)
            map = pdf_new_graft_map(ctx, target.d->doc);
        copy = PDFPageCopier::copyAnnotation(ctx, target.d->doc, dict, map, nullptr);
        object = pdf_to_num(ctx, copy);
    }
    fz_always(ctx)
    {
        pdf_drop_obj(ctx, copy);
        pdf_drop_graft_map(ctx, map);
    }
    fz_catch(ctx) object = 0;
    return object ? PDFAnnotation(target.d, object) : PDFAnnotation();
}
