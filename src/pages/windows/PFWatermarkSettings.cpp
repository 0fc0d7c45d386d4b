#include "PFWatermarkSettings.h"

#include "app/PFManager.h"
#include "platform/store/UserDefaults.h"

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
    const auto read = [&](const char *key, auto fallback) {
        const QVariant value = dictionary.value(QLatin1String(key));
        if (!value.isValid())
            return fallback;
        bool good = false;
        const double number = value.toString().toDouble(&good);
        ok = ok && good;
        return good ? decltype(fallback)(number) : fallback;
    };
    model.fontSize = read("fontSize", model.fontSize);
    model.degree = read("degree", model.degree);
    model.numType = dictionary.value(QStringLiteral("numType")).toString() == QStringLiteral("2") ? 2 : 1;
    model.startNum = read("startNum", model.startNum);
    model.endNum = read("endNum", model.endNum);
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
