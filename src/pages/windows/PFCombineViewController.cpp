#include "PFCombineViewController.h"

#include "PFDragListView.h"
#include "settings/PFManager.h"
#include "pages/PFPageManager.h"
#include "pages/PageMessages.h"
#include "platform/pdf/PDFBulkRender.h"
#include "platform/store/Localization.h"

#include <QFileInfo>

PFCombineViewController::PFCombineViewController(QWidget *parent)
    : PFFileListWindow(pfLocalized("合并PDF"), pfLocalized("拖拽PDF"), pfLocalized("合并"), {QStringLiteral("pdf")},
                       &PFCombineViewController::prepareFile, parent)
{
    resize(600, 400);
}

PFFileListWindow::Preparation PFCombineViewController::prepareFile(const QString &path)
{
    const QFileInfo info(path);
    switch (PFManager::pfCheckPDFValid(path)) {
    case PDFProbe::Usable: break;
    case PDFProbe::Encrypted: return PageMessages::encrypted(info.fileName());
    default: return PageMessages::faulty(info.fileName());
    }
    PFDragModel entry{path, info.completeBaseName(), {}, QUrl::fromLocalFile(path)};
    const QRectF box = PFManager::pfGetPDFRect(path);
    const double scale = box.isEmpty() ? 0.2 : 120.0 / std::max(box.width(), box.height());
    PDFBulkRender(path).render({0}, scale, [&] {
        return [&](int, const QImage &image) {
            entry.pdfImage = image.copy(); // the renderer's pixels are only lent
            return true;
        };
    }, 1);
    return entry;
}

void PFCombineViewController::pfStartButtonClick()
{
    const QStringList paths = listView()->filePaths();
    if (paths.size() < 2 || isBusy())
        return;
    const QString folder = storePath();
    runWrite([paths, folder] { return PFPageManager::sharedManager().pfCombinePdfs(paths, folder); },
             pfLocalized("转换成功"));
}
