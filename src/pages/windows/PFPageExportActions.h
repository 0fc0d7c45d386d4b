#pragma once

#include "pages/PFPageManager.h"
#include "pages/PFPageResult.h"
#include "platform/pdf/PDFDocument.h"

#include <QString>
#include <optional>

class PFStatusDisplay;
class QWidget;

// What the document window does with the extract dialog's choice and with the single-page
// export: the work runs off the GUI thread with the window's progress display.
namespace PFPageExportActions {

// Pages of the file on disk (unsaved edits are not part of it) as PDF or images in `folder`;
// `selection` is the dialog's: 0 all pages, 1 the pages of `text`, 2 split at the outline items
// of the level in `text`.
void pfExtractParameter(QWidget *owner, PFStatusDisplay *display, const QString &source,
                        const std::optional<QString> &text, int selection, const QString &folder, int format);

// Asks for a path and a format in the save panel, then writes page `index` of `document` (the
// page in memory, with its annotations and unsaved edits) there as PDF or as an image.
void pfExportThumbPage(QWidget *owner, PFStatusDisplay *display, const PDFDocument &document, int index,
                       const QString &documentName);

// The same for several pages: as PDF one file holding them all, as images one file each, named
// after the chosen one with the page number added.
void pfExportThumbPages(QWidget *owner, PFStatusDisplay *display, const PDFDocument &document,
                        const QVector<int> &indices, const QString &documentName);

// The single-page export itself: format 0 PDF, 1 PNG, 2 JPEG, 3 JPEG 2000, 4 TIFF. A file at
// `path` is replaced only when `existing` says so (the user agreed in the save panel), and the
// numbered names of several pages never replace anything: they take the next vacant names.
PFPageResult pfThumbExportPDFIndex(const PDFDocument &document, int index, int format, const QString &path,
                                   PFPageManager::ExistingFile existing = PFPageManager::ExistingFile::KeepIt);
PFPageResult pfThumbExportPDFIndices(const PDFDocument &document, const QVector<int> &indices, int format,
                                     const QString &path,
                                     PFPageManager::ExistingFile existing = PFPageManager::ExistingFile::KeepIt);

} // namespace PFPageExportActions
