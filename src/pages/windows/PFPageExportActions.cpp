#include "PFPageExportActions.h"

#include "PFPagePrompts.h"
#include "PFPageTask.h"
#include "pages/FreeName.h"
#include "pages/PFPageManager.h"
#include "pages/OutputFile.h"
#include "pages/PageImageFormat.h"
#include "pages/PageMessages.h"
#include "platform/pdf/PDFBulkRender.h"

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>
#include <numeric>

namespace PFPageExportActions {

void pfExtractParameter(QWidget *owner, PFStatusDisplay *display, const QString &source,
                        const std::optional<QString> &text, int selection, const QString &folder, int format)
{
    PFPageTask::run(owner, display, [source, text, selection, folder, format] {
        const PFPageManager &manager = PFPageManager::sharedManager();
        if (selection == 2)
            return manager.pfSplitByOutline(source, folder, text.value_or(QString()).toInt());
        if (format == 0)
            return manager.pfSplitPDF(source, folder, text ? QStringLiteral("z") : QStringLiteral("all"), text.value_or(QString()));
        return manager.pfSplitImage(source, folder, format, text);
    }, {});
}

PFPageResult pfThumbExportPDFIndex(const PDFDocument &document, int index, int format, const QString &path,
                                   PFPageManager::ExistingFile existing)
{
    return pfThumbExportPDFIndices(document, {index}, format, path, existing);
}

PFPageResult pfThumbExportPDFIndices(const PDFDocument &document, const QVector<int> &indices, int format,
                                     const QString &path, PFPageManager::ExistingFile existing)
{
    PDFDocument pages = PDFDocument::create();
    if (document.isNull() || indices.isEmpty() || pages.insertPages(document, indices, 0).isEmpty())
        return PFPageResult::failure(PageMessages::noPages());
    const bool replace = existing == PFPageManager::ExistingFile::Replace;
    if (format == 0) {
        const QString written = replace ? (pages.write(path) ? path : QString()) : pages.writeNew(path, &FreeName::forFile);
        return written.isEmpty() ? PFPageResult::failure(PageMessages::writeFailed()) : PFPageResult{{written}, {}};
    }
    // The renderer reads files, so the pages go through a scratch file of their own.
    QTemporaryDir scratch;
    const QString pdf = scratch.filePath(QStringLiteral("pages.pdf"));
    if (!scratch.isValid() || !pages.write(pdf))
        return PFPageResult::failure(PageMessages::writeFailed());
    // One page takes the chosen name; several take it with their page numbers added.
    QStringList targets;
    const QFileInfo info(path);
    for (int index : indices)
        targets.append(indices.size() == 1 ? path
                                           : info.dir().filePath(QStringLiteral("%1-%2.%3").arg(info.completeBaseName())
                                                                     .arg(index + 1).arg(info.suffix())));
    QVector<int> order(indices.size());
    std::iota(order.begin(), order.end(), 0);
    if (const int tooLarge = PDFBulkRender::firstOversizedPage(pdf, order, 1.0); tooLarge >= 0)
        return PFPageResult::failure(PageMessages::pageTooLarge(indices[tooLarge] + 1));
    const PageImageFormat::Kind kind = PageImageFormat::fromIndex(format);
    QStringList written = targets;
    const bool ok = PDFBulkRender::renderPages(pdf, order, 1.0, [&](int i, const QImage &image) {
        const QByteArray bytes = PageImageFormat::encode(image, kind, PFPageManager::kDefaultDpi);
        if (bytes.isEmpty())
            return false;
        if (replace && indices.size() == 1)
            return OutputFile::writeReplacing(targets[i], bytes);
        written[i] = OutputFile::writeNew(targets[i], bytes, &FreeName::forAnyFile);
        return !written[i].isEmpty();
    }, 1);
    return ok ? PFPageResult{written, {}} : PFPageResult::failure(PageMessages::writeFailed());
}

void pfExportThumbPage(QWidget *owner, PFStatusDisplay *display, const PDFDocument &document, int index,
                       const QString &documentName)
{
    pfExportThumbPages(owner, display, document, {index}, documentName);
}

void pfExportThumbPages(QWidget *owner, PFStatusDisplay *display, const PDFDocument &document,
                        const QVector<int> &indices, const QString &documentName)
{
    const QList<std::pair<QString, QString>> formats = {
        {QStringLiteral("PDF"), QStringLiteral("pdf")},         {QStringLiteral("PNG"), QStringLiteral("png")},
        {QStringLiteral("JPEG"), QStringLiteral("jpg")},        {QStringLiteral("JPEG-2000"), QStringLiteral("jp2")},
        {QStringLiteral("TIFF"), QStringLiteral("tiff")}};
    const auto choice = PFPagePrompts::current().saveFile(owner, documentName, formats);
    if (!choice)
        return;
    PFPageTask::Options options;
    options.reveal = false;
    PFPageTask::run(owner, display, [document, indices, choice = *choice] {
        return pfThumbExportPDFIndices(document, indices, choice.formatIndex, choice.path,
                                       choice.replaces ? PFPageManager::ExistingFile::Replace
                                                       : PFPageManager::ExistingFile::KeepIt);
    }, std::move(options));
}

} // namespace PFPageExportActions
