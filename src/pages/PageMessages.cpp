#include "PageMessages.h"

#include <QCoreApplication>

namespace {
QString tr(const char *key) { return QCoreApplication::translate("Quirna", key); }
} // namespace

namespace PageMessages {
QString faulty(const QString &fileName) { return QStringLiteral("%1 %2").arg(fileName, tr("有误，无法处理")); }
QString encrypted(const QString &fileName) { return QStringLiteral("%1 %2").arg(fileName, tr("已加密，无法处理")); }
QString unsupported() { return tr("不支持此文件格式"); }
QString invalidParameters() { return tr("参数有误"); }
QString noPages() { return tr("没有可写入的页面"); }
QString noOutline() { return tr("文档没有这一级的书签"); }
QString writeFailed() { return tr("写入失败"); }
QString pageTooLarge(int pageNumber) { return tr("第 %1 页太大，无法转换为图片").arg(pageNumber); }
} // namespace PageMessages
