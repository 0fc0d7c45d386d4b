#pragma once

#include "pages/PFWatermarkModel.h"

#include <QStringList>
#include <QVariantMap>
#include <optional>

// The watermark parameters and the recently used fonts as the preference store keeps them: the
// record as a dictionary of texts (the colour as its colour record) under "WaterDicKeyPath",
// the fonts most recent first, at most 6, under "FontTitlePickMenu".
namespace PFWatermarkSettings {

QVariantMap toDictionary(const PFWatermarkModel &model);
// Nothing when the dictionary lacks the text or holds a number that does not read as one.
std::optional<PFWatermarkModel> fromDictionary(const QVariantMap &dictionary);

std::optional<PFWatermarkModel> load();
void save(const PFWatermarkModel &model);

QStringList recentFonts();
// Puts `family` first in the recent fonts and stores the list; returns it.
QStringList useFont(const QString &family);

} // namespace PFWatermarkSettings
