#include "PFManager.h"

#include "platform/store/UserDefaults.h"
#include "platform/system/ColorSchemePortal.h"
#include "platform/system/DateFormatter.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QPalette>
#include <QStandardPaths>

#include <algorithm>
#include <limits>

namespace {

const QColor defaultToolColor = QColor::fromRgbF(244 / 255.0, 92 / 255.0, 89 / 255.0, 1.0);
const QColor clearColor = QColor::fromRgbF(0, 0, 0, 0);
const QColor blackColor = QColor::fromRgbF(0, 0, 0, 1);

double unit(double value)
{
    return std::clamp(value, 0.0, 1.0);
}

QString cacheFilePath(const QString &folder, const QString &name, const QString &extension)
{
    const QString directory =
        QStandardPaths::writableLocation(QStandardPaths::AppDataLocation) + QLatin1Char('/') + folder;
    QDir().mkpath(directory);
    return directory + QLatin1Char('/') + name + extension;
}

bool somethingExistsAt(const QString &path)
{
    const QFileInfo info(path);
    return info.exists() || info.isSymLink(); // a dangling link still takes the name
}

// The digits of the text's leading integer (after white space and a "+"), empty when none.
QString leadingDigits(const QString &text)
{
    QStringView rest = QStringView(text).trimmed();
    if (rest.startsWith(QLatin1Char('+')))
        rest = rest.mid(1);
    qsizetype end = 0;
    while (end < rest.size() && rest[end] >= QLatin1Char('0') && rest[end] <= QLatin1Char('9'))
        ++end;
    return rest.left(end).toString();
}

// The text's leading integer (white space, a sign, digits), 0 when it has none; it saturates
// rather than overflows.
int leadingInteger(const QString &text)
{
    QStringView rest = QStringView(text).trimmed();
    const bool negative = rest.startsWith(QLatin1Char('-'));
    if (negative || rest.startsWith(QLatin1Char('+')))
        rest = rest.mid(1);
    constexpr qint64 limit = qint64(std::numeric_limits<int>::max()) + 1;
    qint64 value = 0;
    for (const QChar c : rest) {
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            break;
        value = std::min(value * 10 + (c.unicode() - '0'), limit);
    }
    return int(std::clamp<qint64>(negative ? -value : value, std::numeric_limits<int>::min(),
                                  std::numeric_limits<int>::max()));
}

// One more than the decimal digits (empty counts as 0). Counting in text cannot overflow.
QString incremented(QString digits)
{
    while (digits.size() > 1 && digits.startsWith(QLatin1Char('0')))
        digits.remove(0, 1);
    qsizetype i = digits.size() - 1;
    while (i >= 0 && digits[i] == QLatin1Char('9'))
        digits[i--] = QLatin1Char('0');
    if (i < 0)
        digits.prepend(QLatin1Char('1'));
    else
        digits[i] = QChar(digits[i].unicode() + 1);
    return digits;
}

// "scan-07" → "scan-8", "report" → "report-1", "2x" → "2x-3": the last "-" part is counted on
// when it is an integer; otherwise a part one above its leading number is added.
QString nextName(const QString &base)
{
    QStringList parts = base.split(QLatin1Char('-'));
    const QString last = parts.constLast();
    if (!PFManager::pfIsPureInt(last))
        parts.append(QString());
    parts.last() = incremented(leadingDigits(last));
    return parts.join(QLatin1Char('-'));
}

template <typename NextCandidate>
QString firstFreePath(const QString &path, NextCandidate next)
{
    QString candidate = path;
    while (somethingExistsAt(candidate)) {
        const QFileInfo info(QDir::cleanPath(candidate));
        candidate = QDir(info.path()).filePath(next(info.fileName()));
    }
    return candidate;
}

} // namespace

PFManager &PFManager::sharedManager()
{
    static PFManager manager(UserDefaults::standard());
    return manager;
}

PFManager::PFManager(UserDefaults &defaults) : m_defaults(defaults) {}

// ---- Style ----

QColor PFManager::colorForKey(const QString &key, const QColor &fallback) const
{
    const QVariant stored = m_defaults.value(key);
    if (!stored.isValid())
        return fallback;
    // A damaged record falls back to the default rather than to an invisible colour.
    const auto model = PFSignColorModel::fromDictionary(stored.toMap());
    return model ? pfColorFromModel(*model) : fallback;
}

void PFManager::setColorForKey(const QString &key, const QColor &color)
{
    m_defaults.setValue(key, pfConvertColorToModel(color).toDictionary());
}

int PFManager::integerForKey(const QString &key, int fallback) const
{
    const QVariant stored = m_defaults.value(key);
    return stored.isValid() ? leadingInteger(stored.toString()) : fallback;
}

void PFManager::setIntegerForKey(const QString &key, int value)
{
    m_defaults.setValue(key, QString::number(value));
}

QColor PFManager::pfGetHilightColor() const { return colorForKey(QStringLiteral("HilightColor"), defaultToolColor); }
void PFManager::pfSetHilightColor(const QColor &color) { setColorForKey(QStringLiteral("HilightColor"), color); }
QColor PFManager::pfGetUnderlineColor() const { return colorForKey(QStringLiteral("UnderlineColor"), defaultToolColor); }
void PFManager::pfSetUnderlineColor(const QColor &color) { setColorForKey(QStringLiteral("UnderlineColor"), color); }
QColor PFManager::pfGetStrikeOutColor() const { return colorForKey(QStringLiteral("StrikeOutColor"), defaultToolColor); }
void PFManager::pfSetStrikeOutColor(const QColor &color) { setColorForKey(QStringLiteral("StrikeOutColor"), color); }
QColor PFManager::pfGetDrawColor() const { return colorForKey(QStringLiteral("DrawColor"), defaultToolColor); }
void PFManager::pfSetDrawColor(const QColor &color) { setColorForKey(QStringLiteral("DrawColor"), color); }
QColor PFManager::pfGetCircleColor() const { return colorForKey(QStringLiteral("CircleColor"), defaultToolColor); }
void PFManager::pfSetCircleColor(const QColor &color) { setColorForKey(QStringLiteral("CircleColor"), color); }
QColor PFManager::pfGetCircleFillColor() const { return colorForKey(QStringLiteral("CircleFillColor"), clearColor); }
void PFManager::pfSetCircleFillColor(const QColor &color) { setColorForKey(QStringLiteral("CircleFillColor"), color); }
QColor PFManager::pfGetRectangleColor() const { return colorForKey(QStringLiteral("RectangleColor"), defaultToolColor); }
void PFManager::pfSetRectangleColor(const QColor &color) { setColorForKey(QStringLiteral("RectangleColor"), color); }
QColor PFManager::pfGetRectangleFillColor() const { return colorForKey(QStringLiteral("RectangleFillColor"), clearColor); }
void PFManager::pfSetRectangleFillColor(const QColor &color) { setColorForKey(QStringLiteral("RectangleFillColor"), color); }
QColor PFManager::pfGetArrowColor() const { return colorForKey(QStringLiteral("ArrowColor"), defaultToolColor); }
void PFManager::pfSetArrowColor(const QColor &color) { setColorForKey(QStringLiteral("ArrowColor"), color); }
QColor PFManager::pfGetSegmentColor() const { return colorForKey(QStringLiteral("SegmentColor"), defaultToolColor); }
void PFManager::pfSetSegmentColor(const QColor &color) { setColorForKey(QStringLiteral("SegmentColor"), color); }
QColor PFManager::pfGetTextColor() const { return colorForKey(QStringLiteral("TextColor"), blackColor); }
void PFManager::pfSetTextColor(const QColor &color) { setColorForKey(QStringLiteral("TextColor"), color); }
QColor PFManager::pfGetTextFillColor() const { return colorForKey(QStringLiteral("TextFillColor"), clearColor); }
void PFManager::pfSetTextFillColor(const QColor &color) { setColorForKey(QStringLiteral("TextFillColor"), color); }
QColor PFManager::pfGetFontMenuColor() const { return colorForKey(QStringLiteral("FontMenuColor"), blackColor); }
void PFManager::pfSetFontMenuColor(const QColor &color) { setColorForKey(QStringLiteral("FontMenuColor"), color); }
QColor PFManager::pfGetBorderMenuColor() const { return colorForKey(QStringLiteral("BorderMenuColor"), blackColor); }
void PFManager::pfSetBorderMenuColor(const QColor &color) { setColorForKey(QStringLiteral("BorderMenuColor"), color); }
QColor PFManager::pfGetFillMenuColor() const { return colorForKey(QStringLiteral("FillMenuColor"), blackColor); }
void PFManager::pfSetFillMenuColor(const QColor &color) { setColorForKey(QStringLiteral("FillMenuColor"), color); }

int PFManager::pfGetDrawLineWidth() const { return integerForKey(QStringLiteral("DrawLineWidth"), 4); }
void PFManager::pfSetDrawLineWidth(int width) { setIntegerForKey(QStringLiteral("DrawLineWidth"), width); }
int PFManager::pfGetDrawCircleWidth() const { return integerForKey(QStringLiteral("DrawCircleWidth"), 4); }
void PFManager::pfSetDrawCircleWidth(int width) { setIntegerForKey(QStringLiteral("DrawCircleWidth"), width); }
int PFManager::pfGetDrawRectangleWidth() const { return integerForKey(QStringLiteral("DrawRectangleWidth"), 4); }
void PFManager::pfSetDrawRectangleWidth(int width) { setIntegerForKey(QStringLiteral("DrawRectangleWidth"), width); }
int PFManager::pfGetDrawArrowWidth() const { return integerForKey(QStringLiteral("DrawArrowWidth"), 4); }
void PFManager::pfSetDrawArrowWidth(int width) { setIntegerForKey(QStringLiteral("DrawArrowWidth"), width); }
int PFManager::pfGetDrawSegmentWidth() const { return integerForKey(QStringLiteral("DrawSegmentWidth"), 4); }
void PFManager::pfSetDrawSegmentWidth(int width) { setIntegerForKey(QStringLiteral("DrawSegmentWidth"), width); }
int PFManager::pfGetFillFontSize() const { return integerForKey(QStringLiteral("FillFontSize"), 20); }
void PFManager::pfSetFillFontSize(int size) { setIntegerForKey(QStringLiteral("FillFontSize"), size); }
int PFManager::pfGetNewBlankSize() const { return integerForKey(QStringLiteral("SetNewBlankSize"), 7); }
void PFManager::pfSetNewBlankSize(int index) { setIntegerForKey(QStringLiteral("SetNewBlankSize"), index); }

// ---- Colour records ----

PFSignColorModel PFManager::pfConvertColorToModel(const QColor &color)
{
    // Qt has no grey colour space, so "a grey colour" here is an achromatic one: equal red,
    // green and blue (Qt's black, white, gray and transparent are all of this kind). Those are
    // kept as hue/saturation/brightness (hue and saturation 0, brightness the grey level),
    // every other colour as red/green/blue. Both forms read back as the same colour.
    const QColor rgb = color.toRgb();
    const QRgba64 components = rgb.rgba64();
    PFSignColorModel model;
    model.alpha = rgb.alphaF();
    if (components.red() == components.green() && components.green() == components.blue()) {
        model.isHue = 2;
        model.brightness = rgb.valueF();
    } else {
        model.isHue = 1;
        model.redValue = rgb.redF();
        model.greenValue = rgb.greenF();
        model.blueValue = rgb.blueF();
    }
    return model;
}

QColor PFManager::pfColorFromModel(const PFSignColorModel &model)
{
    // Values outside 0..1 would make Qt refuse the colour; a damaged record still gives one.
    if (model.isHue == 2)
        return QColor::fromHsvF(unit(model.hue), unit(model.saturation), unit(model.brightness), unit(model.alpha))
            .toRgb();
    return QColor::fromRgbF(unit(model.redValue), unit(model.greenValue), unit(model.blueValue), unit(model.alpha));
}

// ---- Files and paths ----

QString PFManager::pfGetCachePDFPathByID(const QString &name)
{
    return cacheFilePath(QStringLiteral("PDFSave"), name, QStringLiteral(".pdf"));
}

QString PFManager::pfGetCacheSignImagePathByID(const QString &name)
{
    return cacheFilePath(QStringLiteral("SignImage"), name, QStringLiteral(".png"));
}

QString PFManager::pfGetCacheThumbImagePathByID(const QString &name)
{
    return cacheFilePath(QStringLiteral("ThumbImage"), name, QStringLiteral(".jpg"));
}

QString PFManager::pfCheckQuirnaPathExistAndCreate()
{
    const QString pictures = QStandardPaths::writableLocation(QStandardPaths::PicturesLocation);
    const QString resolved = QFileInfo(pictures).canonicalFilePath();
    const QString folder = (resolved.isEmpty() ? pictures : resolved) + QStringLiteral("/Quirna");
    QDir().mkpath(folder);
    return folder;
}

QString PFManager::pfGetNewFilePath(const QString &path)
{
    return firstFreePath(path, [](const QString &fileName) {
        const qsizetype dot = fileName.lastIndexOf(QLatin1Char('.'));
        const QString base = dot > 0 ? fileName.left(dot) : fileName; // ".name" has no extension
        return nextName(base) + QStringLiteral(".pdf");
    });
}

QString PFManager::pfGetNewFolderPath(const QString &path)
{
    return firstFreePath(path, [](const QString &fileName) { return nextName(fileName); });
}

void PFManager::pfDeleteFileIfExist(const QString &path)
{
    const QFileInfo info(path);
    if (info.isDir() && !info.isSymLink())
        QDir(path).removeRecursively();
    else if (info.exists() || info.isSymLink())
        QFile::remove(path);
}

QUrl PFManager::pfConvertPdfUrl(const QString &path)
{
    return QUrl::fromLocalFile(path);
}

// ---- Strings, numbers, dates ----

bool PFManager::pfStringIsEmpty(const QString &value)
{
    return value.isNull() || value == QLatin1String("(null)") || value.trimmed().isEmpty();
}

bool PFManager::pfIsPureInt(const QString &text)
{
    QStringView rest = QStringView(text).trimmed();
    if (rest.startsWith(QLatin1Char('+')) || rest.startsWith(QLatin1Char('-')))
        rest = rest.mid(1);
    return !rest.isEmpty() && std::all_of(rest.begin(), rest.end(), [](QChar c) {
        return c >= QLatin1Char('0') && c <= QLatin1Char('9');
    });
}

bool PFManager::pfIsNum(const QString &text)
{
    const QList<uint> codePoints = text.toUcs4();
    return std::all_of(codePoints.begin(), codePoints.end(), [](uint c) { return QChar::isDigit(char32_t(c)); });
}

double PFManager::pfPointDistance(QPointF p, QPointF q)
{
    const double dx = p.x() - q.x();
    const double dy = p.y() - q.y();
    return dx * dx + dy * dy;
}

QString PFManager::pfDateStamp()
{
    DateFormatter &formatter = DateFormatter::instance();
    formatter.setDateFormat(QStringLiteral("yyyy/MM/dd HH:mm:ss"));
    return formatter.stringFromDate(QDateTime::currentDateTime());
}

QString PFManager::pfDateStringFromDate(const QDateTime &date)
{
    DateFormatter &formatter = DateFormatter::instance();
    formatter.setDateFormat(DateFormatter::abbreviatedDateTimeFormat(formatter.locale()));
    return formatter.stringFromDate(date);
}

QString PFManager::md5String(const QString &text)
{
    return QString::fromLatin1(QCryptographicHash::hash(text.toUtf8(), QCryptographicHash::Md5).toHex());
}

bool PFManager::pfCheckIsDarkMode()
{
    if (!QCoreApplication::instance())
        return false;
    if (qobject_cast<QGuiApplication *>(QCoreApplication::instance())
        && QGuiApplication::palette().color(QPalette::Window).lightness() < 128)
        return true;
    return ColorSchemePortal::instance().scheme() == ColorSchemePortal::PreferDark;
}
