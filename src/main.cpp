#include "platform/pdf/PDFDocument.h"
#include "platform/view/PDFThumbnailView.h"
#include "platform/view/PDFView.h"
#include "platform/store/Localization.h"

#include <QApplication>
#include <QDir>
#include <QDockWidget>
#include <QFileInfo>
#include <QInputDialog>
#include <QMainWindow>
#include <QMessageBox>
#include <QStatusBar>

namespace {

QString tr(const char *key) { return pfLocalized(key); }

// Opens the file, asking for the password of a locked one until it is right or the user cancels.
PDFDocument openDocument(const QString &path)
{
    PDFDocument document = PDFDocument::open(path);
    if (document.isNull()) {
        QMessageBox::critical(nullptr, tr("无法打开文件"),
                              tr("无法打开此文件，它可能已损坏或不是 PDF 文件。") + QStringLiteral("\n\n") + path);
        return {};
    }
    QString prompt = tr("请输入文档密码：");
    while (document.isLocked()) {
        bool ok = false;
        const QString password = QInputDialog::getText(nullptr, QFileInfo(path).fileName(), prompt,
                                                       QLineEdit::Password, QString(), &ok);
        if (!ok)
            return {};
        if (!document.unlock(password))
            prompt = tr("密码错误，请重新输入：");
    }
    return document;
}

QMainWindow *showDocument(const QString &path, const PDFDocument &document)
{
    auto *window = new QMainWindow;
    window->setAttribute(Qt::WA_DeleteOnClose);
    window->setWindowTitle(QFileInfo(path).fileName());
    auto *view = new PDFView(window);
    view->setAutoScales(true);
    view->setAcceptsDrops(true);
    window->setCentralWidget(view);

    auto *thumbnails = new PDFThumbnailView;
    thumbnails->setPDFView(view);
    auto *dock = new QDockWidget(tr("缩略图"), window);
    dock->setWidget(thumbnails);
    dock->setFeatures(QDockWidget::DockWidgetMovable | QDockWidget::DockWidgetClosable);
    window->addDockWidget(Qt::LeftDockWidgetArea, dock);

    QObject::connect(view, &PDFView::linkRefused, window->statusBar(),
                     [bar = window->statusBar()](const QString &, const QString &message) {
                         bar->showMessage(message, 2000);
                     });
    QObject::connect(view, &PDFView::pageChanged, window, [window, view, path] {
        window->setWindowTitle(QStringLiteral("%1 (%2/%3)")
                                   .arg(QFileInfo(path).fileName())
                                   .arg(view->currentPage().index() + 1)
                                   .arg(view->document().pageCount()));
    });
    window->resize(1100, 800);
    view->setDocument(document);
    window->show();
    view->setFocus();
    return window;
}

} // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    app.setApplicationName(QStringLiteral("Quirna"));
    Localization::install();

    int shown = 0;
    for (const QString &argument : app.arguments().mid(1)) {
        const QString path = QFileInfo(argument).absoluteFilePath();
        const PDFDocument document = openDocument(path);
        if (document.isNull())
            continue;
        showDocument(path, document);
        ++shown;
    }
    return shown ? app.exec() : 0;
}
