#include "FakeModalSeam.h"
#include "app/AppDelegate.h"
#include "app/Document.h"
#include "app/PFDocumentController.h"
#include "app/PFSaveAlertController.h"
#include "app/PFThumbnailCache.h"
#include "app/PFWindowController.h"
#include "app/ViewController.h"
#include "editing/PFBasePDFView.h"
#include "platform/pdf/PDFAnnotation.h"
#include "platform/store/Localization.h"
#include "platform/store/UserDefaults.h"
#include "settings/PFManager.h"
#include "support/TestEnvironment.h"
#include "support/TestPdf.h"

#include <QApplication>
#include <QImage>
#include <QPushButton>
#include <QTemporaryDir>
#include <QtTest>

// Files that are not what their names say, and a quit the user takes back, as the running
// program meets them: through its menus' keys and its prompts.
class TestHostileFiles : public QObject {
    Q_OBJECT
    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<UserDefaults> m_defaults;
    std::unique_ptr<FakeModalSeam> m_seam;
    std::unique_ptr<AppDelegate> m_app;

    QString write(const QString &name, const QByteArray &bytes)
    {
        const QString path = m_dir->filePath(name);
        TestPdf::write(path, bytes);
        return path;
    }
    QList<Document *> documents() const { return m_app->documentController()->documents(); }
    PFWindowController *activeWindow(int index) const
    {
        PFWindowController *window = documents().value(index)->windowController();
        window->activateWindow();
        return QTest::qWaitForWindowActive(window) ? window : nullptr;
    }
    // File > Open with its shortcut, the open panel answering `path`.
    void openWithShortcut(const QString &path)
    {
        m_seam->openPaths.push_back(path);
        PFWindowController *window = activeWindow(0);
        QVERIFY(window);
        QTest::keyClick(window, Qt::Key_O, Qt::ControlModifier);
    }

private slots:
    void init()
    {
        m_dir = std::make_unique<QTemporaryDir>();
        m_defaults = std::make_unique<UserDefaults>(m_dir->filePath(QStringLiteral("prefs.json")));
        m_seam = std::make_unique<FakeModalSeam>();
        m_app = std::make_unique<AppDelegate>(*m_defaults);
        m_app->applicationDidFinishLaunching({});
        QCOMPARE(documents().size(), 1); // the start window
    }
    void cleanup()
    {
        for (Document *document : documents())
            document->close();
        QTRY_VERIFY(documents().isEmpty());
        m_app.reset();
        m_seam.reset();
    }

    void brokenFilesAreNamedAndGetNoWindow()
    {
        const QByteArray good = TestPdf::simple(2);
        const struct {
            QString name;
            QByteArray bytes;
            const char *reason;
        } cases[] = {
            {QStringLiteral("empty.pdf"), QByteArray(), "该文件是空的。"},
            {QStringLiteral("notes.pdf"), QByteArray("Shopping list: milk, bread\n"), "该文件不是 PDF 文档。"},
            {QStringLiteral("cut off.pdf"), good.left(good.size() / 3), "该文件已损坏，没有可以读取的页面。"},
        };
        for (const auto &c : cases) {
            m_seam->alerts.clear();
            m_seam->informatives.clear();
            openWithShortcut(write(c.name, c.bytes));
            QCOMPARE(m_seam->alerts.size(), size_t(1));
            QCOMPARE(m_seam->alerts[0], pfLocalized("无法打开文件“%1”。").arg(c.name));
            QCOMPARE(m_seam->informatives[0], pfLocalized(c.reason));
            QCOMPARE(documents().size(), 1); // no empty window
        }
        m_seam->alerts.clear();
        openWithShortcut(m_dir->filePath(QStringLiteral("gone.pdf")));
        QCOMPARE(m_seam->informatives.back(), pfLocalized("该文件不存在或无法读取。"));
        QCOMPARE(documents().size(), 1);
    }

    void pdfUnderAnotherNameOpens()
    {
        const QString path = write(QStringLiteral("report.xps"), TestPdf::simple(3));
        openWithShortcut(path);
        QVERIFY(m_seam->alerts.empty());
        QCOMPARE(documents().size(), 2);
        QCOMPARE(documents()[1]->windowController()->contentViewController()->pdfView()->document().pageCount(), 3);
    }

    void startWindowThumbnailOfAHugePageIsSmall()
    {
        const QString path = write(QStringLiteral("huge.pdf"),
                                    TestPdf::fromObjects({"<< /Type /Catalog /Pages 2 0 R >>",
                                                          "<< /Type /Pages /Kids [3 0 R] /Count 1 >>",
                                                          "<< /Type /Page /Parent 2 0 R /MediaBox [0 0 40000 20000] >>"}));
        PFThumbnailCache::pfSaveThumbImage(path, *m_defaults);
        const QString stem = m_defaults->value(PFThumbnailCache::thumbKey(path)).toString();
        QCOMPARE(QImage(PFManager::pfGetCacheThumbImagePathByID(stem)).size(), QSize(1024, 512));
    }

    void cancelledQuitEndsTheQuit()
    {
        const QString first = write(QStringLiteral("first.pdf"), TestPdf::simple(1));
        const QString second = write(QStringLiteral("second.pdf"), TestPdf::simple(1));
        m_app->documentController()->documents().constFirst()->close();
        QTRY_COMPARE(documents().size(), 0);
        m_app->documentController()->openDocument(first, true);
        m_app->documentController()->openDocument(second, true);
        QCOMPARE(documents().size(), 2);
        ViewController *edited = documents()[0]->windowController()->contentViewController();
        PFBasePDFView *view = edited->pdfView();
        view->pfAddShapeAnnotation(PDFAnnotation::create(view->document(), QStringLiteral("Square"), QRectF(10, 10, 50, 50)), 0);
        QVERIFY(edited->pfShouldSavePDF());

        QPointer<PFWindowController> other = activeWindow(1);
        QVERIFY(other);
        QTest::keyClick(other, Qt::Key_Q, Qt::ControlModifier);
        QPointer<PFSaveAlertController> sheet;
        QTRY_VERIFY((sheet = edited->pfSaveAlert()) && sheet->isVisible());
        QTest::mouseClick(sheet->button(PFSaveAlertController::Cancel), Qt::LeftButton);
        QTRY_VERIFY(!sheet || !sheet->isVisible());
        QCOMPARE(documents().size(), 2);

        // Closing the other window later is only that: no prompt comes back, nothing quits.
        QVERIFY(other->close());
        QTRY_COMPARE(documents().size(), 1);
        QTest::qWait(50);
        QVERIFY(!edited->pfSaveAlert());
        QVERIFY(documents()[0]->windowController()->isVisible());
    }
};

QUIRNA_TEST_MAIN(QApplication, TestHostileFiles)
#include "tst_HostileFiles.moc"
