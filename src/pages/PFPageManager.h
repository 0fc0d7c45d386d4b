#pragma once

#include "ImagePageSetup.h"
#include "PFPageResult.h"
#include "PFWatermarkModel.h"
#include "platform/pdf/PDFDocument.h"

#include <QStringList>
#include <optional>

// The page engine: split, export as images, combine, images to PDF, protected copies and
// watermarks. Stateless; every operation is synchronous and safe to run on a worker thread.
// Outputs go to vacant names, a written PDF has at least one page, and an operation that fails
// leaves nothing of its own behind.
class PFPageManager {
public:
    static PFPageManager &sharedManager();

    // What an output does about a file already at its path. Only a name the user picked in a save
    // panel, and agreed there to replace, is replaced; every other output takes the next vacant
    // name, also when a file appears at the name while the output is being written.
    enum class ExistingFile { KeepIt, Replace };

    // Mode "all": one file per page, Page_<n>.pdf in a new folder <name>-split; "o" odd pages,
    // "e" even pages, anything else the pages of the range text, into <name>-splited.pdf.
    PFPageResult pfSplitPDF(const QString &source, const QString &outPath, const QString &type,
                            const QString &parameter) const;
    // One file per outline item of `level` (1 is the top level) into a new folder <name>-split,
    // named after the items' titles; see OutlineParts for which pages each file holds.
    PFPageResult pfSplitByOutline(const QString &source, const QString &outPath, int level) const;
    // Pages as images (format index 1..4, see PageImageFormat) into a new folder <name>-images;
    // all pages when there is no range text. Rendered at `dpi` pixels per inch and tagged so.
    static constexpr int kDefaultDpi = 72;
    static constexpr int kMinDpi = 18;
    static constexpr int kMaxDpi = 1200;
    PFPageResult pfSplitImage(const QString &source, const QString &outPath, int formatIndex,
                              const std::optional<QString> &parameter, int dpi = kDefaultDpi) const;
    // Two or more PDFs into <outPath>/merge.pdf (or the next vacant name).
    PFPageResult pfCombinePdfs(const QStringList &sources, const QString &outPath) const;
    // One page per image into <outPath>/merge.pdf (or the next vacant name).
    PFPageResult pfCombineImages(const QStringList &images, const QString &outPath, const ImagePageSetup &setup) const;
    // A protected copy of `document` at `path` (or the next vacant name); an absent password is
    // not set. At least one of the two must be given.
    PFPageResult pfSavePassDoc(const PDFDocument &document, const std::optional<QString> &documentPassword,
                               const std::optional<QString> &permissionsPassword, bool noCopy, bool noPrint,
                               const QString &path, ExistingFile existing = ExistingFile::KeepIt) const;
    // `source` with the watermark drawn into the content of the pages that carry it, written to
    // `outPath` (or the next vacant name); outline, attributes, annotations and links stay as
    // they were.
    PFPageResult pfAddWatermark(const QString &source, const QString &outPath, const PFWatermarkModel &model) const;
    // Draws the watermark into the content of the pages of `document` that carry it; pages that
    // the model names beyond the document's end are not there to mark. The number of pages
    // marked, or -1 when a page could not be marked.
    int pfStampWatermark(PDFDocument &document, const PFWatermarkModel &model) const;

    // Opens a PDF that the tools can read: not encrypted and with pages. Null with a message otherwise.
    static PDFDocument openSource(const QString &path, QString *error);

private:
    PFPageManager() = default;
};
