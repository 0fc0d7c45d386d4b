#include "PFPageManager.h"

#include "FreeName.h"
#include "ImageRedraw.h"
#include "OutlineMerger.h"
#include "OutlineParts.h"
#include "OutputFile.h"
#include "PageImageEncoder.h"
#include "PageImageFormat.h"
#include "PageMessages.h"
#include "PageRange.h"
#include "StagingFolder.h"
#include "WatermarkDrawing.h"
#include "platform/pdf/PDFBulkRender.h"
#include "platform/pdf/PDFBulkSplit.h"
#include "platform/pdf/PDFImageDecoder.h"
#include "platform/system/BackgroundPool.h"

#include <QDir>
#include <QFileInfo>
#include <QMap>
#include <QSet>
#include <QtConcurrent/QtConcurrentMap>

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

PFPageResult PFPageManager::pfSplitByOutline(const QString &source, const QString &outPath, int level) const
{
    QString error;
    const PDFDocument document = openSource(source, &error);
    if (document.isNull())
        return PFPageResult::failure(error);
    const QVector<OutlineParts::Part> parts = OutlineParts::parts(document, level);
    if (parts.isEmpty())
        return PFPageResult::failure(PageMessages::noOutline());
    StagingFolder folder(outPath + u'/' + baseName(source) + QStringLiteral("-split"));
    if (!folder.isValid())
        return PFPageResult::failure(PageMessages::writeFailed());
    QStringList names;
    QSet<QString> taken;
    for (const OutlineParts::Part &part : parts) {
        const QString stem = OutlineParts::fileNameFor(part.title);
        QString name = stem + QStringLiteral(".pdf");
        for (int n = 1; taken.contains(name.toLower()); ++n) // file systems may fold case
            name = QStringLiteral("%1-%2.pdf").arg(stem).arg(n);
        taken.insert(name.toLower());
        QVector<int> indices;
        for (int index = part.firstIndex; index <= part.lastIndex; ++index)
            indices.append(index);
        PDFDocument output = PDFDocument::create();
        if (output.insertPages(document, indices, 0).isEmpty() || !output.write(folder.file(name)))
            return PFPageResult::failure(PageMessages::writeFailed());
        names.append(name);
    }
    const QString published = folder.commit();
    if (published.isEmpty())
        return PFPageResult::failure(PageMessages::writeFailed());
    PFPageResult result;
    for (const QString &name : names)
        result.written.append(published + u'/' + name);
    return result;
}

PFPageResult PFPageManager::pfSplitImage(const QString &source, const QString &outPath, int formatIndex,
                                         const std::optional<QString> &parameter, int dpi) const
{
    if (dpi < kMinDpi || dpi > kMaxDpi)
        return PFPageResult::failure(PageMessages::invalidParameters());
    // The file is opened once, by the renderer, which also counts its pages.
    PDFBulkRender renderer(source);
    const QString name = QFileInfo(source).fileName();
    switch (renderer.status()) {
    case PDFBulkRender::Status::Ready: break;
    case PDFBulkRender::Status::Encrypted: return PFPageResult::failure(PageMessages::encrypted(name));
    default: return PFPageResult::failure(PageMessages::faulty(name));
    }
    const int count = renderer.pageCount();
    const QVector<int> indices = parameter ? indicesOf(PageRange::pages(*parameter, count)) : allIndices(count);
    if (indices.isEmpty())
        return PFPageResult::failure(PageMessages::noPages());
    const double scale = dpi / 72.0;
    if (const int tooLarge = renderer.firstOversizedPage(indices, scale); tooLarge >= 0)
        return PFPageResult::failure(PageMessages::pageTooLarge(tooLarge + 1));
    const PageImageFormat::Kind kind = PageImageFormat::fromIndex(formatIndex);
    StagingFolder folder(outPath + u'/' + baseName(source) + QStringLiteral("-images"));
    if (!folder.isValid())
        return PFPageResult::failure(PageMessages::writeFailed());

    // Each page is rendered, encoded and written on its own, so memory does not grow with the
    // number of pages. A page that cannot be rendered or written fails the whole export: the
    // staging folder is then never published.
    const bool ok = renderer.render(indices, scale, [&] {
        auto encoder = std::make_shared<PageImageEncoder>(kind, dpi);
        return [&, encoder](int index, const QImage &image) {
            const QByteArray bytes = encoder->encode(image);
            return !bytes.isEmpty()
                   && OutputFile::writeStaged(folder.file(PageImageFormat::pageFileName(kind, index + 1)), bytes);
        };
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
    static const QStringList accepted = {"png", "jpg", "jpeg", "tiff", "tif", "jp2", "bmp"};
    if (images.isEmpty())
        return PFPageResult::failure(PageMessages::invalidParameters());
    // Every file is checked before anything is written, so one bad image names itself at once.
    QVector<QSize> sizes;
    for (const QString &path : images) {
        const QFileInfo info(path);
        if (!accepted.contains(info.suffix().toLower()))
            return PFPageResult::failure(PageMessages::unsupported());
        const QSize size = PDFImageDecoder::probe(path);
        if (!size.isValid())
            return PFPageResult::failure(PageMessages::faulty(info.fileName()));
        sizes.append(size);
    }

    // Decoding and redrawing dominate; they run on all cores, the pages are then added in order.
    const auto redraw = [&](int i) -> std::optional<PDFDrawing> {
        const QRectF placement = setup.placement(sizes[i]);
        const PDFImageDecoder::Decoded decoded = PDFImageDecoder::decode(images[i], ImageRedraw::pixelSize(placement));
        if (decoded.image.isNull())
            return std::nullopt;
        return ImageRedraw::drawing(decoded.image, setup.pageSize(), placement, decoded.lossy);
    };
    const QVector<std::optional<PDFDrawing>> drawings = QtConcurrent::blockingMapped(backgroundPool(), allIndices(int(images.size())), redraw);

    PDFDocument output = PDFDocument::create();
    const QRectF pageBox(QPointF(0, 0), setup.pageSize());
    for (int i = 0; i < drawings.size(); ++i) {
        if (!drawings[i])
            return PFPageResult::failure(PageMessages::faulty(QFileInfo(images[i]).fileName()));
        PDFPage page = output.insertNewPage(pageBox, output.pageCount());
        if (page.isNull() || !page.appendContent(*drawings[i]))
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
                                          const QString &path, ExistingFile existing) const
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
    const QString written = existing == ExistingFile::Replace ? (document.write(path, options) ? path : QString())
                                                              : document.writeNew(path, &FreeName::forFile, options);
    if (written.isEmpty())
        return PFPageResult::failure(PageMessages::writeFailed());
    return {{written}, {}};
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
    const QString written = document.writeNew(outPath, &FreeName::forFile);
    if (written.isEmpty())
        return PFPageResult::failure(PageMessages::writeFailed());
    return {{written}, {}};
}

int PFPageManager::pfStampWatermark(PDFDocument &document, const PFWatermarkModel &model) const
{
    // One form per page size, shared by every page of that size: a 300-page document holds the
    // text and its font once.
    QMap<std::pair<qint64, qint64>, int> forms;
    int marked = 0;
    for (int i = 0; i < document.pageCount(); ++i) {
        if (!model.carriesWatermark(i + 1))
            continue;
        PDFPage page = document.page(i);
        const QSizeF size = page.bounds(PDFDisplayBox::CropBox).size();
        const std::pair<qint64, qint64> key(std::llround(size.width() * 100), std::llround(size.height() * 100));
        int &form = forms[key];
        if (form == 0)
            form = document.addDrawing(WatermarkDrawing::drawing(model, size));
        if (form == 0 || !page.appendForm(form))
            return -1;
        ++marked;
    }
    return marked;
}
