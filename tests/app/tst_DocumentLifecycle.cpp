#include "FakeModalSeam.h"
#include "app/AppDelegate.h"
#include "settings/PFManager.h"
#include "app/Document.h"
#include "app/PFDocumentController.h"
#include "app/PFRecentViewController.h"
#include "app/PFSaveAlertController.h"
#include "app/PFThumbnailCache.h"
#include "app/PFWindowController.h"
#include "app/ViewController.h"
#include "editing/PFBasePDFView.h"
#include "editing/PFUndoManager.h"
#include "platform/pdf/PDFAnnotation.h"
#include "platform/store/Localization.h"
#include "platform/store/PersistentContainer.h"
#include "platform/store/UserDefaults.h"
#include "support/TestEnvironment.h"
#include "support/TestPdf.h"

#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QCryptographicHash>
#include <QPushButton>
#include <QTemporaryDir>
#include <QtTest>

namespace {
QByteArray md5Of(const QString &path)
{
    QFile file(path);
    file.open(QIODevice::ReadOnly);
    return QCryptographicHash::hash(file.readAll(), QCryptographicHash::Md5);
}

int annotationCount(const QString &path)
{
    const PDFDocument document = PDFDocument::open(path);
    return document.isNull() ? -1 : int(document.page(0).annotations().size());
}

// One square annotation, added as the editing tools add it: an undo step.
void annotate(PFBasePDFView *view)
{
    PDFAnnotation square = PDFAnnotation::create(view->document(), QStringLiteral("Square"), QRectF(100, 100, 80, 60));
    view->pfAddShapeAnnotation(square, 0);
}
} // namespace

class TestDocumentLifecycle : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void titleWithAndWithoutAFile();
    void cancelKeepsTheWindowAndDontSaveLeavesTheFile();
    void saveInThePromptWritesAndCloses();
    void failedWriteKeepsTheSheetAndStillAsks();
    void saveMarksTheCleanStateOfTheUndoHistory();
    void closeAfterSaveAsksNothing();
    void saveAsWritesACopyAndStaysOnItsOwnFile();
    void newBlankDocumentIsA4WithATimeStampName();
    void lockedFileAsksUntilRightAndCancelShowsTheStartView();
    void thumbnailIsCachedAndTheStartViewListsOnlyCachedFiles();
    void quitAsksWhenTheSignatureStoreCannotSave();

private:
    QString writePdf(const QString &name, int pages);
    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<UserDefaults> m_defaults;
    std::unique_ptr<FakeModalSeam> m_seam;
    std::unique_ptr<PFDocumentController> m_documents;
};

void TestDocumentLifecycle::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    m_defaults = std::make_unique<UserDefaults>(m_dir->filePath(QStringLiteral("prefs.json")));
    m_seam = std::make_unique<FakeModalSeam>();
    m_documents = std::make_unique<PFDocumentController>(*m_defaults);
}

void TestDocumentLifecycle::cleanup()
{
    m_documents.reset();
    m_seam.reset();
    QTest::qWait(50);
}

QString TestDocumentLifecycle::writePdf(const QString &name, int pages)
{
    const QString path = m_dir->filePath(name);
    TestPdf::write(path, TestPdf::simple(pages));
    return path;
}

void TestDocumentLifecycle::titleWithAndWithoutAFile()
{
    Document *start = m_documents->openUntitledDocument(false);
    QCOMPARE(start->windowController()->windowTitle(), pfLocalized("新标签页"));
    QVERIFY(!start->windowController()->pfWidthItem()->isEnabled());
    QVERIFY(start->windowController()->contentViewController()->recentView()->isVisibleTo(start->windowController()));

    Document *document = m_documents->openDocument(writePdf(QStringLiteral("twelve pages.pdf"), 12), false);
    PFWindowController *window = document->windowController();
    window->show();
    QVERIFY(window->pfWidthItem()->isEnabled());
    PFBasePDFView *view = window->contentViewController()->pdfView();
    view->goToPage(view->document().page(2));
    QCOMPARE(window->windowTitle(), QStringLiteral("twelve pages.pdf (%1: 3/12)").arg(pfLocalized("页码Num")));
}

void TestDocumentLifecycle::cancelKeepsTheWindowAndDontSaveLeavesTheFile()
{
    const QString path = writePdf(QStringLiteral("a.pdf"), 2);
    const QByteArray before = md5Of(path);
    Document *document = m_documents->openDocument(path, true);
    QPointer<PFWindowController> window = document->windowController();
    ViewController *controller = window->contentViewController();
    annotate(controller->pdfView());
    QVERIFY(controller->pfShouldSavePDF());

    QVERIFY(!window->close());
    QPointer<PFSaveAlertController> sheet = controller->pfSaveAlert();
    QVERIFY(sheet && sheet->isVisible());
    QVERIFY(sheet->message().contains(QStringLiteral("\"a.pdf\"")));
    QCOMPARE(sheet->width(), 450);
    QTest::mouseClick(sheet->button(PFSaveAlertController::Cancel), Qt::LeftButton);
    QTRY_VERIFY(!sheet || !sheet->isVisible());
    QVERIFY(window && window->isVisible());
    QVERIFY(controller->pdfView()->undoManager()->canUndo()); // the changes are all still there

    QVERIFY(!window->close());
    sheet = controller->pfSaveAlert();
    QTest::mouseClick(sheet->button(PFSaveAlertController::DontSave), Qt::LeftButton);
    QTRY_VERIFY(!window);
    QCOMPARE(md5Of(path), before);
    QTRY_VERIFY(m_documents->documents().isEmpty());
}

void TestDocumentLifecycle::saveInThePromptWritesAndCloses()
{
    const QString path = writePdf(QStringLiteral("b.pdf"), 1);
    Document *document = m_documents->openDocument(path, true);
    QPointer<PFWindowController> window = document->windowController();
    ViewController *controller = window->contentViewController();
    annotate(controller->pdfView());
    QVERIFY(!window->close());
    QTest::mouseClick(controller->pfSaveAlert()->button(PFSaveAlertController::Save), Qt::LeftButton);
    QTRY_VERIFY(!window);
    QCOMPARE(annotationCount(path), 1);
    QString output;
    QCOMPARE(TestPdf::run(QStringLiteral("qpdf"), {QStringLiteral("--check"), path}, &output), 0);
}

void TestDocumentLifecycle::failedWriteKeepsTheSheetAndStillAsks()
{
    const QString path = writePdf(QStringLiteral("c.pdf"), 1);
    Document *document = m_documents->openDocument(path, true);
    QPointer<PFWindowController> window = document->windowController();
    ViewController *controller = window->contentViewController();
    annotate(controller->pdfView());
    // A folder where the file was: the write cannot replace it.
    QVERIFY(QFile::remove(path));
    QVERIFY(QDir().mkdir(path));

    QVERIFY(!window->close());
    QPointer<PFSaveAlertController> sheet = controller->pfSaveAlert();
    QTest::mouseClick(sheet->button(PFSaveAlertController::Save), Qt::LeftButton);
    QTest::qWait(100);
    QVERIFY(window && window->isVisible());
    QVERIFY(sheet && sheet->isVisible());
    QVERIFY(!controller->pfSaveClose());
    QVERIFY(controller->pfShouldSavePDF());

    // Once the file can be written, the same sheet saves.
    QVERIFY(QDir().rmdir(path));
    QTest::mouseClick(sheet->button(PFSaveAlertController::Save), Qt::LeftButton);
    QTRY_VERIFY(!window);
    QCOMPARE(annotationCount(path), 1);
}

void TestDocumentLifecycle::saveMarksTheCleanStateOfTheUndoHistory()
{
    const QString path = writePdf(QStringLiteral("d.pdf"), 1);
    Document *document = m_documents->openDocument(path, true);
    QPointer<PFWindowController> window = document->windowController();
    ViewController *controller = window->contentViewController();
    PFBasePDFView *view = controller->pdfView();
    annotate(view);
    QVERIFY(controller->pfShouldSavePDF());
    QVERIFY(document->save());
    QVERIFY(!view->pfHasChangePDF());
    QVERIFY(view->undoManager()->canUndo()); // the history stays, at its saved point
    QVERIFY(!controller->pfShouldSavePDF());
    QCOMPARE(annotationCount(path), 1);

    // Away from the saved point and back: only the way there counts.
    controller->pfUndoClick();
    QVERIFY(controller->pfShouldSavePDF());
    controller->pfRedoClick();
    QVERIFY(!controller->pfShouldSavePDF());

    // Saving again over the file it now reads from still works.
    annotate(view);
    QVERIFY(document->save());
    QCOMPARE(annotationCount(path), 2);
    // Undo past the save, then a new edit: the saved state can no longer come back.
    controller->pfUndoClick();
    annotate(view);
    controller->pfUndoClick();
    QVERIFY(controller->pfShouldSavePDF());
    QVERIFY(!window->close());
    QVERIFY(controller->pfSaveAlert() && controller->pfSaveAlert()->isVisible());
    QTest::mouseClick(controller->pfSaveAlert()->button(PFSaveAlertController::DontSave), Qt::LeftButton);
    QTRY_VERIFY(!window);
}

void TestDocumentLifecycle::closeAfterSaveAsksNothing()
{
    const QString path = writePdf(QStringLiteral("e.pdf"), 2);
    Document *document = m_documents->openDocument(path, true);
    QPointer<PFWindowController> window = document->windowController();
    ViewController *controller = window->contentViewController();
    annotate(controller->pdfView());
    annotate(controller->pdfView());
    QVERIFY(document->save());
    // Undo to before the save and redo back again: the file matches the window.
    controller->pfUndoClick();
    controller->pfRedoClick();
    QVERIFY(window->close());
    QTRY_VERIFY(!window);
    QCOMPARE(annotationCount(path), 2);

    // A page inserted after the save has no undo step: undoing back must still ask.
    Document *again = m_documents->openDocument(path, true);
    window = again->windowController();
    controller = window->contentViewController();
    annotate(controller->pdfView());
    QVERIFY(again->save());
    controller->pdfView()->setPfHasChangePDF(true);
    controller->pdfView()->setPfHasInsertPage(true);
    controller->pfUndoClick();
    controller->pfRedoClick();
    QVERIFY(controller->pfShouldSavePDF());
    QVERIFY(!window->close());
    QTest::mouseClick(controller->pfSaveAlert()->button(PFSaveAlertController::DontSave), Qt::LeftButton);
    QTRY_VERIFY(!window);
}

void TestDocumentLifecycle::saveAsWritesACopyAndStaysOnItsOwnFile()
{
    const QString path = writePdf(QStringLiteral("e.pdf"), 1);
    const QByteArray before = md5Of(path);
    Document *document = m_documents->openDocument(path, false);
    PFBasePDFView *view = document->windowController()->contentViewController()->pdfView();
    annotate(view);
    view->setPfHasChangePDF(true);
    const QString copy = m_dir->filePath(QStringLiteral("copy.pdf"));
    m_seam->savePaths.push_back(copy);
    QVERIFY(document->saveAs());
    QCOMPARE(m_seam->proposedNames.back(), QStringLiteral("e"));
    QCOMPARE(annotationCount(copy), 1);
    QCOMPARE(md5Of(path), before);
    QCOMPARE(document->fileURL(), path);
    QVERIFY(view->pfHasChangePDF()); // its own file is still unsaved
    QVERIFY(document->save());
    QCOMPARE(annotationCount(path), 1);
}

void TestDocumentLifecycle::newBlankDocumentIsA4WithATimeStampName()
{
    AppDelegate delegate(*m_defaults);
    const QString target = m_dir->filePath(QStringLiteral("blank.pdf"));
    m_seam->savePaths.push_back(target);
    int offered = -1;
    m_seam->onSavePanel = [&offered](QWidget *accessory) {
        auto *sizes = accessory->findChild<QComboBox *>(QStringLiteral("pfPageSize"));
        offered = sizes ? sizes->count() : -1;
        if (sizes)
            QCOMPARE(sizes->currentText(), QStringLiteral("A4"));
    };
    delegate.pfNewBlank();
    QCOMPARE(offered, 9);
    QVERIFY(QRegularExpression(QStringLiteral("^\\d{14}$")).match(m_seam->proposedNames.back()).hasMatch());
    QTRY_VERIFY(delegate.documentController()->documentForURL(target));
    const PDFDocument blank = PDFDocument::open(target);
    QCOMPARE(blank.pageCount(), 1);
    QCOMPARE(blank.page(0).bounds(PDFDisplayBox::MediaBox), QRectF(0, 0, 595, 842));
    QString info;
    TestPdf::run(QStringLiteral("pdfinfo"), {target}, &info);
    QVERIFY2(info.contains(QStringLiteral("595 x 842")), qPrintable(info));
}

void TestDocumentLifecycle::lockedFileAsksUntilRightAndCancelShowsTheStartView()
{
    const QString plain = writePdf(QStringLiteral("plain.pdf"), 2);
    const QString locked = m_dir->filePath(QStringLiteral("locked.pdf"));
    QCOMPARE(TestPdf::run(QStringLiteral("qpdf"), {QStringLiteral("--encrypt"), QStringLiteral("secret"),
                                                  QStringLiteral("owner"), QStringLiteral("256"), QStringLiteral("--"),
                                                  plain, locked}),
             0);
    m_seam->passwords = {QStringLiteral("wrong"), QStringLiteral("secret")};
    Document *document = m_documents->openDocument(locked, false);
    QCOMPARE(m_seam->passwordRetries, (std::vector<bool>{false, true}));
    QCOMPARE(document->windowController()->contentViewController()->pdfView()->document().pageCount(), 2);
    document->close();
    QTRY_VERIFY(m_documents->documents().isEmpty());

    m_seam->passwordRetries.clear();
    Document *cancelled = m_documents->openDocument(locked, false);
    QCOMPARE(m_seam->passwordRetries.size(), size_t(1));
    ViewController *controller = cancelled->windowController()->contentViewController();
    QVERIFY(controller->pdfView()->document().isNull());
    QVERIFY(!controller->recentView()->isHidden());
    QCOMPARE(cancelled->windowController()->windowTitle(), pfLocalized("新标签页"));
}

void TestDocumentLifecycle::thumbnailIsCachedAndTheStartViewListsOnlyCachedFiles()
{
    const QString path = writePdf(QStringLiteral("thumb.pdf"), 1);
    const QString uncached = writePdf(QStringLiteral("uncached.pdf"), 1);
    m_documents->openDocument(path, false);
    const QString key = PFThumbnailCache::thumbKey(path);
    QTRY_VERIFY(m_defaults->contains(key));
    QCOMPARE(m_defaults->value(key).toString(), PFManager::md5String(key));
    const QString image = PFManager::pfGetCacheThumbImagePathByID(m_defaults->value(key).toString());
    QCOMPARE(QImage(image).size(), QSize(612, 792));

    // A file on the recent list without a cached picture is not offered.
    QStringList recent = m_defaults->value(QStringLiteral("PFRecentDocuments")).toStringList();
    recent.append(uncached);
    m_defaults->setValue(QStringLiteral("PFRecentDocuments"), recent);
    PFRecentViewController start(*m_defaults);
    QCOMPARE(start.pfListArray().size(), 1);
    QCOMPARE(start.pfListArray().constFirst().pfTitle, QStringLiteral("thumb"));
    QVERIFY(start.pfHintLB()->isHidden());
    QString chosen;
    start.pfDoneEndEdit = [&chosen](const QString &p) { chosen = p; };
    QVERIFY(!start.pfDragFileURL({path, uncached}));
    QVERIFY(chosen.isEmpty());
    QVERIFY(!start.pfDragFileURL({m_dir->filePath(QStringLiteral("notes.txt"))}));
    QVERIFY(start.pfDragFileURL({uncached}));
    QCOMPARE(chosen, uncached);
}

void TestDocumentLifecycle::quitAsksWhenTheSignatureStoreCannotSave()
{
    const QString database = m_dir->filePath(QStringLiteral("store.sqlite"));
    PersistentContainer store(database);
    AppDelegate delegate(*m_defaults, [&store]() -> PersistentContainer & { return store; });
    QVERIFY(delegate.applicationShouldTerminate()); // nothing pending
    PFSignData record;
    record.dateID = QStringLiteral("1");
    QVERIFY(store.insert(record));
    QVERIFY(delegate.applicationShouldTerminate()); // saved on the way out
    QVERIFY(!store.hasChanges());
    QVERIFY(m_seam->alerts.empty());
}

QUIRNA_TEST_MAIN(QApplication, TestDocumentLifecycle)
#include "tst_DocumentLifecycle.moc"
