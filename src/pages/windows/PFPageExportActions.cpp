#include "PFPageExportActions.h"

#include "PFPagePrompts.h"
#include "PFPageTask.h"
#include "pages/PFPageManager.h"
#include "pages/OutputFile.h"
#include "pages/PageImageFormat.h"
#include "pages/PageMessages.h"
#include "platform/pdf/PDFBulkRender.h"

#include <QTemporaryDir>

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

PFPageResult pfThumbExportPDFIndex(const PDFDocument &document, int index, int format, const QString &path)
{
    PDFDocument single = PDFDocument::create();
    if (document.isNull() || single.insertPages(document, {index}, 0).isEmpty())
        return PFPageResult::failure(PageMessages::noPages());
    if (format == 0)
        return single.write(path) ? PFPageResult{{path}, {}} : PFPageResult::failure(PageMessages::writeFailed());
    // The renderer reads files, so the one page goes through a scratch file of its own.
    QTemporaryDir scratch;
    const QString pdf = scratch.filePath(QStringLiteral("page.pdf"));
    if (!scratch.isValid() || !single.write(pdf))
        return PFPageResult::failure(PageMessages::writeFailed());
    const PageImageFormat::Kind kind = PageImageFormat::fromIndex(format);
    const bool ok = PDFBulkRender::renderPages(pdf, {0}, 1.0, [&](int, const QImage &image) {
        const QByteArray bytes = PageImageFormat::encode(image, kind, PFPageManager::kDefaultDpi);
        return !bytes.isEmpty() && OutputFile::writeReplacing(path, bytes);
    }, 1);
    return ok ? PFPageResult{{path}, {}} : PFPageResult::failure(PageMessages::writeFailed());
}

void pfExportThumbPage(QWidget *owner, PFStatusDisplay *display, const PDFDocument &document, int index,
                       const QString &documentName)
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
    PFPageTask::run(owner, display, [document, index, choice = *choice] {
        return pfThumbExportPDFIndex(document, index, choice.formatIndex, choice.path);
    }, std::move(options));
}

} // namespace PFPageExportActions
