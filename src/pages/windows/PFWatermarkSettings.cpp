#include "PFWatermarkSettings.h"

#include "settings/PFManager.h"
#include "platform/store/UserDefaults.h"

#include <cmath>

namespace {
const QString modelKey = QStringLiteral("WaterDicKeyPath");
const QString fontsKey = QStringLiteral("FontTitlePickMenu");
constexpr int recentLimit = 6;

QString number(double value) { return QString::number(value, 'g', 10); }
} // namespace

namespace PFWatermarkSettings {

QVariantMap toDictionary(const PFWatermarkModel &model)
{
    QVariantMap dictionary{{QStringLiteral("fontName"), model.fontName},
                           {QStringLiteral("fontColorModel"), PFManager::pfConvertColorToModel(model.fontColor).toDictionary()},
                           {QStringLiteral("inputText"), model.inputText},
                           {QStringLiteral("fontSize"), number(model.fontSize)},
                           {QStringLiteral("degree"), number(model.degree)},
                           {QStringLiteral("numType"), QString::number(model.numType)}};
    if (model.numType == 2) {
        dictionary.insert(QStringLiteral("startNum"), QString::number(model.startNum));
        dictionary.insert(QStringLiteral("endNum"), QString::number(model.endNum));
    }
    return dictionary;
}

std::optional<PFWatermarkModel> fromDictionary(const QVariantMap &dictionary)
{
    PFWatermarkModel model;
    model.inputText = dictionary.value(QStringLiteral("inputText")).toString();
    if (model.inputText.isEmpty())
        return std::nullopt;
    if (const QString font = dictionary.value(QStringLiteral("fontName")).toString(); !font.isEmpty())
        model.fontName = font;
    if (const auto color = PFSignColorModel::fromDictionary(dictionary.value(QStringLiteral("fontColorModel")).toMap()))
        model.fontColor = PFManager::pfColorFromModel(*color);
    bool ok = true;
    // A field that is absent keeps its default; one that is present must read as its kind.
    const auto text = [&](const char *key) { return dictionary.value(QLatin1String(key)).toString(); };
    const auto present = [&](const char *key) { return dictionary.contains(QLatin1String(key)); };
    const auto readDouble = [&](const char *key, double fallback) {
        bool good = false;
        const double value = text(key).toDouble(&good);
        good = good && std::isfinite(value);
        ok = ok && (good || !present(key));
        return good ? value : fallback;
    };
    const auto readInt = [&](const char *key, int fallback) {
        bool good = false;
        const int value = text(key).toInt(&good);
        ok = ok && (good || !present(key));
        return good ? value : fallback;
    };
    model.fontSize = readDouble("fontSize", model.fontSize);
    model.degree = readDouble("degree", model.degree);
    model.numType = text("numType") == QStringLiteral("2") ? 2 : 1;
    model.startNum = readInt("startNum", model.startNum);
    model.endNum = readInt("endNum", model.endNum);
    if (!ok)
        return std::nullopt;
    return model;
}

std::optional<PFWatermarkModel> load() { return fromDictionary(UserDefaults::standard().value(modelKey).toMap()); }

void save(const PFWatermarkModel &model) { UserDefaults::standard().setValue(modelKey, toDictionary(model)); }

QStringList recentFonts() { return UserDefaults::standard().value(fontsKey).toStringList(); }

QStringList useFont(const QString &family)
{
    QStringList fonts = recentFonts();
    fonts.removeAll(family);
    while (fonts.size() >= recentLimit)
        fonts.removeLast();
    fonts.prepend(family);
    UserDefaults::standard().setValue(fontsKey, fonts);
    return fonts;
}

} // namespace PFWatermarkSettings
