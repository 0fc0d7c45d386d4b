#pragma once

#include <QString>
#include <QVariantMap>

// The remembered parameters of the images-to-PDF window, stored as a dictionary of texts.
struct PFImageToPDFModel {
    QString sizeType;    // "1" standard size, "2" custom size
    QString letterIndex; // the standard size's index, when sizeType is "1"
    QString widthT;      // custom size in points, when sizeType is "2"
    QString heightT;
    QString paddingT;    // the margin in points

    QVariantMap toDictionary() const
    {
        QVariantMap dictionary;
        const std::pair<const char *, const QString *> fields[] = {
            {"sizeType", &sizeType}, {"letterIndex", &letterIndex}, {"widthT", &widthT},
            {"heightT", &heightT},   {"paddingT", &paddingT}};
        for (const auto &[key, value] : fields)
            if (!value->isNull())
                dictionary.insert(QLatin1String(key), *value);
        return dictionary;
    }

    static PFImageToPDFModel fromDictionary(const QVariantMap &dictionary)
    {
        const auto text = [&](const char *key) {
            const QVariant value = dictionary.value(QLatin1String(key));
            return value.isValid() ? value.toString() : QString();
        };
        return {text("sizeType"), text("letterIndex"), text("widthT"), text("heightT"), text("paddingT")};
    }
};
