#include "PFPageManager.h"

#include "FreeName.h"
#include "ImageRedraw.h"
#include "OutlineMerger.h"
#include "PageImageFormat.h"
#include "PageMessages.h"
#include "PageRange.h"
#include "StagingFolder.h"
#include "WatermarkDrawing.h"
#include "platform/pdf/PDFBulkRender.h"
#include "platform/pdf/PDFBulkSplit.h"

#include <QDir>
#include <QFileInfo>
#include <QImageReader>

namespace {

QString baseName(const QString &path) { return QFileInfo(path).completeBaseName(); }

QVector<int> allIndices(int count)
{
    QVector<int> indices(count);
    for (int i = 0; i < count; ++i)
        indices[i] = i;
    return indices;
}

QVector<int> indicesOf(const QVector<int> &pageNumbers)
{
    QVector<int> indices;
    indices.reserve(pageNumbers.size());
    for (int n : pageNumbers)
        indices.append(n - 1);
    return indices;
}

bool ensureFolder(const QString &path) { return QDir().mkpath(path); }

} // namespace

PFPageManager &PFPageManager::sharedManager()
{
    static PFPageManager manager;
    return manager;
}

PDFDocument PFPageManager::openSource(const QString &path, QString *error)
{
    const QString name = QFileInfo(path).fileName();
    PDFDocument document = PDFDocument::open(path);
    if (document.isNull())
        *error = PageMessages::faulty(name);
    else if (document.isEncrypted())
        *error = PageMessages::encrypted(name);
    else if (document.pageCount() <= 0)
        *error = PageMessages::faulty(name);
    else
        return document;
    return {};
}

PFPageResult PFPageManager::pfSplitPDF(const QString &source, const QString &outPath, const QString &type,
                                       const QString &parameter) const
{
    QString error;
    const PDFDocument document = openSource(source, &error);
    if (document.isNull())
        return PFPageResult::failure(error);
    const int count = document.pageCount();
    const QString name = baseName(source);

    if (type == QStringLiteral("all")) {
        StagingFolder folder(outPath + u'/' + name + QStringLiteral("-split"));
        const auto pageFile = [](int index) { return QStringLiteral("Page_%1.pdf").arg(index + 1); };
        if (!folder.isValid()
            || !PDFBulkSplit::writePages(source, allIndices(count), [&](int index) { return folder.file(pageFile(index)); }))
            return PFPageResult::failure(PageMessages::writeFailed());
        const QString published = folder.commit();
        if (published.isEmpty())
            return PFPageResult::failure(PageMessages::writeFailed());
        PFPageResult result;
        for (int i = 0; i < count; ++i)
            result.written.append(published + u'/' + pageFile(i));
        return result;
    }

    QVector<int> numbers;
    if (type == QStringLiteral("o") || type == QStringLiteral("e")) {
        for (int n = type == QStringLiteral("o") ? 1 : 2; n <= count; n += 2)
            numbers.append(n);
    } else {
        numbers = PageRange::pages(parameter, count);
    }
    if (numbers.isEmpty())
        return PFPageResult::failure(PageMessages::noPages());
    PDFDocument output = PDFDocument::create();
    if (output.insertPages(document, indicesOf(numbers), 0).isEmpty() || !ensureFolder(outPath))
        return PFPageResult::failure(PageMessages::writeFailed());
    const QString path = output.writeNew(outPath + u'/' + name + QStringLiteral("-splited.pdf"), &FreeName::forSplitFile);
    if (path.isEmpty())
        return PFPageResult::failure(PageMessages::writeFailed());
    return {{path}, {}};
}

PFPageResult PFPageManager::pfSplitImage(const QString &source, const QString &outPath, int formatIndex,
                                         const std::optional<QString> &parameter) const
{
    QString error;
    int count = 0;
    {
        const PDFDocument document = openSource(source, &error);
        if (document.isNull())
            return PFPageResult::failure(error);
        count = document.pageCount();
    }
    const QVector<int> indices = parameter ? indicesOf(PageRange::pages(*parameter, count)) : allIndices(count);
    if (indices.isEmpty())
        return PFPageResult::failure(PageMessages::noPages());
    const PageImageFormat::Kind kind = PageImageFormat::fromIndex(formatIndex);
    StagingFolder folder(outPath + u'/' + baseName(source) + QStringLiteral("-images"));
    if (!folder.isValid())
        return PFPageResult::failure(PageMessages::writeFailed());

    // Each page is rendered, encoded and written on its own, so memory does not grow with the
    // number of pages.
    const auto target = [&](int index) { return folder.file(PageImageFormat::pageFileName(kind, index + 1)); };
    const bool ok = kind == PageImageFormat::Png
                        ? PDFBulkRender::writePagesAsPng(source, indices, 1.0, target)
                        : PDFBulkRender::renderPages(source, indices, 1.0, [&](int index, const QImage &image) {
                              return PageImageFormat::write(image, target(index), kind);
                          });
    const QString published = ok ? folder.commit() : QString();
    if (published.isEmpty())
        return PFPageResult::failure(PageMessages::writeFailed());
    PFPageResult result;
    for (int index : indices)
        result.written.append(published + u'/' + PageImageFormat::pageFileName(kind, index + 1));
    return result;
}

PFPageResult PFPageManager::pfCombinePdfs(const QStringList &sources, const QString &outPath) const
{
    if (sources.size() < 2)
        return PFPageResult::failure(PageMessages::invalidParameters());
    PDFDocument output = PDFDocument::create();
    OutlineMerger outline(output);
    for (const QString &path : sources) {
        QString error;
        const PDFDocument source = openSource(path, &error);
        if (source.isNull())
            return PFPageResult::failure(error);
        const QVector<PDFPage> copies = output.insertPages(source, allIndices(source.pageCount()), output.pageCount());
        if (copies.isEmpty())
            return PFPageResult::failure(PageMessages::faulty(QFileInfo(path).fileName()));
        outline.addSource(baseName(path), source, copies);
    }
    outline.finish();
    if (!ensureFolder(outPath))
        return PFPageResult::failure(PageMessages::writeFailed());
    const QString path = output.writeNew(outPath + QStringLiteral("/merge.pdf"), &FreeName::forFile);
    if (path.isEmpty())
        return PFPageResult::failure(PageMessages::writeFailed());
    return {{path}, {}};
}

PFPageResult PFPageManager::pfCombineImages(const QStringList &images, const QString &outPath,
                                            const ImagePageSetup &setup) const
{
    static const QStringList accepted = {"png", "jpg", "jpeg", "tiff", "jp2", "bmp"};
    if (images.isEmpty())
        return PFPageResult::failure(PageMessages::invalidParameters());
    PDFDocument output = PDFDocument::create();
    const QRectF pageBox(QPointF(0, 0), setup.pageSize());
    for (const QString &path : images) {
        const QFileInfo info(path);
        if (!accepted.contains(info.suffix().toLower()))
            return PFPageResult::failure(PageMessages::unsupported());
        QImageReader reader(path);
        reader.setAutoTransform(true); // a photo's orientation tag is how its owner sees it
        const QImage image = reader.read();
        if (image.isNull())
            return PFPageResult::failure(PageMessages::faulty(info.fileName()));
        const QRectF placement = setup.placement(image.size());
        PDFPage page = output.insertNewPage(pageBox, output.pageCount());
        if (page.isNull()
            || !page.appendContent(ImageRedraw::drawing(image, setup.pageSize(), placement, reader.format() == "jpeg")))
            return PFPageResult::failure(PageMessages::writeFailed());
    }
    if (!ensureFolder(outPath))
        return PFPageResult::failure(PageMessages::writeFailed());
    const QString path = output.writeNew(outPath + QStringLiteral("/merge.pdf"), &FreeName::forFile);
    if (path.isEmpty())
        return PFPageResult::failure(PageMessages::writeFailed());
    return {{path}, {}};
}

PFPageResult PFPageManager::pfSavePassDoc(const PDFDocument &document, const std::optional<QString> &documentPassword,
                                          const std::optional<QString> &permissionsPassword, bool noCopy, bool noPrint,
                                          const QString &path) const
{
    if (document.isNull() || document.pageCount() <= 0)
        return PFPageResult::failure(PageMessages::noPages());
    if (documentPassword.value_or(QString()).isEmpty() && permissionsPassword.value_or(QString()).isEmpty())
        return PFPageResult::failure(PageMessages::invalidParameters());
    PDFWriteOptions options;
    options.userPassword = documentPassword.value_or(QString());
    options.ownerPassword = permissionsPassword.value_or(QString());
    options.allowCopy = !noCopy;
    options.allowPrint = !noPrint;
    if (!document.write(path, options))
        return PFPageResult::failure(PageMessages::writeFailed());
    return {{path}, {}};
}

PFPageResult PFPageManager::pfAddWatermark(const QString &source, const QString &outPath,
                                           const PFWatermarkModel &model) const
{
    QString error;
    PDFDocument document = openSource(source, &error);
    if (document.isNull())
        return PFPageResult::failure(error);
    if (model.inputText.trimmed().isEmpty())
        return PFPageResult::failure(PageMessages::invalidParameters());
    const int marked = pfStampWatermark(document, model);
    if (marked < 0)
        return PFPageResult::failure(PageMessages::writeFailed());
    if (marked == 0) // a page range outside the document
        return PFPageResult::failure(PageMessages::invalidParameters());
    if (!document.write(outPath))
        return PFPageResult::failure(PageMessages::writeFailed());
    return {{outPath}, {}};
}

int PFPageManager::pfStampWatermark(PDFDocument &document, const PFWatermarkModel &model) const
{
    int marked = 0;
    for (int i = 0; i < document.pageCount(); ++i) {
        if (!model.carriesWatermark(i + 1))
            continue;
        PDFPage page = document.page(i);
        if (!page.appendContent(WatermarkDrawing::drawing(model, page.bounds(PDFDisplayBox::CropBox).size())))
            return -1;
        ++marked;
    }
    return marked;
}
