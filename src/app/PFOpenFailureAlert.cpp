#include "PFOpenFailureAlert.h"

#include "PFModalSeam.h"
#include "platform/pdf/PDFProbe.h"
#include "platform/store/Localization.h"

#include <QApplication>
#include <QFileInfo>
#include <QWidget>

namespace PFOpenFailureAlert {

QString message(const QString &path)
{
    return pfLocalized("无法打开文件“%1”。").arg(QFileInfo(path).fileName());
}

QString reason(const QString &path)
{
    switch (PDFProbe::openProblem(path)) {
    case PDFProbe::Unreadable: return pfLocalized("该文件不存在或无法读取。");
    case PDFProbe::EmptyFile: return pfLocalized("该文件是空的。");
    case PDFProbe::NotPDF: return pfLocalized("该文件不是 PDF 文档。");
    case PDFProbe::Damaged:
    case PDFProbe::NoProblem: break;
    }
    return pfLocalized("该文件已损坏，没有可以读取的页面。");
}

void show(QWidget *parent, const QString &path)
{
    if (!parent || !parent->isVisible())
        parent = QApplication::activeWindow();
    PFModalSeam::current().alert(parent, message(path), reason(path), {pfLocalized("确定")});
}

} // namespace PFOpenFailureAlert
