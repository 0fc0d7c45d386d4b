#pragma once

#include <QJsonDocument>
#include <QJsonObject>
#include <QVariantMap>

#include <optional>

// The stored form of a colour: either red/green/blue (isHue 1) or hue/saturation/brightness
// (isHue 2), each 0..1, with alpha. Preferences, signatures and watermarks keep colours as this
// record's dictionary, all eight keys written every time.
//
// Header-only: the headless library takes PFManager.cpp alone from src/app, and both it and
// the widget code need the record.
struct PFSignColorModel {
    double isHue = 0;
    double redValue = 0;
    double greenValue = 0;
    double blueValue = 0;
    double hue = 0;
    double saturation = 0;
    double brightness = 0;
    double alpha = 0;

    QVariantMap toDictionary() const
    {
        return {{QStringLiteral("isHue"), isHue},           {QStringLiteral("redValue"), redValue},
                {QStringLiteral("greenValue"), greenValue}, {QStringLiteral("blueValue"), blueValue},
                {QStringLiteral("hue"), hue},               {QStringLiteral("saturation"), saturation},
                {QStringLiteral("brightness"), brightness}, {QStringLiteral("alpha"), alpha}};
    }

    // Nothing unless all eight keys are present and numeric.
    static std::optional<PFSignColorModel> fromDictionary(const QVariantMap &dictionary)
    {
        PFSignColorModel model;
        const std::pair<const char *, double *> fields[] = {
            {"isHue", &model.isHue}, {"redValue", &model.redValue}, {"greenValue", &model.greenValue},
            {"blueValue", &model.blueValue}, {"hue", &model.hue}, {"saturation", &model.saturation},
            {"brightness", &model.brightness}, {"alpha", &model.alpha}};
        for (const auto &[key, field] : fields) {
            const QVariant value = dictionary.value(QLatin1String(key));
            bool ok = false;
            *field = value.toDouble(&ok);
            if (!value.isValid() || !ok)
                return std::nullopt;
        }
        return model;
    }

    // Pretty-printed JSON text of the dictionary, as the signature store keeps it.
    QByteArray toJson() const
    {
        return QJsonDocument(QJsonObject::fromVariantMap(toDictionary())).toJson(QJsonDocument::Indented);
    }

    static std::optional<PFSignColorModel> fromJson(const QByteArray &json)
    {
        const QJsonDocument document = QJsonDocument::fromJson(json);
        if (!document.isObject())
            return std::nullopt;
        return fromDictionary(document.object().toVariantMap());
    }

    bool operator==(const PFSignColorModel &) const = default;
};
