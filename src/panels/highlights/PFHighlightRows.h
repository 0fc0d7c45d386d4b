#pragma once

#include "PFHighlightModel.h"

#include <QLocale>
#include <QStringList>
#include <QVector>
#include <atomic>

class PDFDocument;

// Builds the rows of the highlights-and-notes list from a document: per page with listed
// annotations a header, then a row per annotation in the page's order. Safe to run off the
// GUI thread.
namespace PFHighlightRows {

// The listed subtypes; a kind number is a position in this list.
const QStringList &pfAnnotationTypes();

// Dates are written in `locale`'s abbreviated form. `cancelled` (may be null) stops the walk
// early; the rows are then incomplete.
QVector<PFHighlightModel> pfBuildRows(const PDFDocument &document, const QLocale &locale,
                                      const std::atomic_bool *cancelled = nullptr);

// Row height: headers 30, rows without contents 30, with empty contents 25, otherwise the
// contents' height wrapped at 187 in the list font, plus 25, at least 40.
double rowHeight(const PFHighlightModel &row);

} // namespace PFHighlightRows
