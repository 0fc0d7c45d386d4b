#include "FakeModalSeam.h"
#include "app/AppDelegate.h"
#include "app/Document.h"
#include "app/PFDocumentController.h"
#include "app/PFPageTools.h"
#include "app/PFToolMenuView.h"
#include "app/PFWindowController.h"
#include "app/ViewController.h"
#include "editing/PFBasePDFView.h"
#include "editing/PFFreeTextEditor.h"
#include "editing/PFToolStatus.h"
#include "pages/windows/FakePageUi.h"
#include "pages/windows/PFPasswordEditController.h"
#include "platform/pdf/PDFAnnotation.h"
#include "platform/store/Localization.h"
#include "platform/store/UserDefaults.h"
#include "support/TestEnvironment.h"
#include "support/TestPdf.h"

#include <QApplication>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTextEdit>
#include <QToolButton>
#include <QtTest>

// Copies written from the open document in a window (the protected copy, a page exported from
// its thumbnail) hold what the user typed into a text box that is still open.
class TestLiveDocumentCopies : public QObject {
    Q_OBJECT
    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<UserDefaults> m_defaults;
    std::unique_ptr<FakeModalSeam> m_seam;
    std::unique_ptr<AppDelegate> m_app;
    ViewController *m_controller = nullptr;

    PFBasePDFView *view() const { return m_controller->pdfView(); }

    // Opens a text box with the Text tool, as a click on the page does, and types into it,
    // leaving it open.
    void typeIntoOpenBox(const QString &text)
    {
        QVERIFY(view()->pfChooseTool(PFToolStatusText));
        const QPoint at = view()->convertPointFromPage(QPointF(100, 600), view()->document().page(0)).toPoint();
        QTest::mousePress(view()->viewport(), Qt::LeftButton, {}, at);
        QTest::mouseRelease(view()->viewport(), Qt::LeftButton, {}, at);
        QTextEdit *edit = view()->pfTextEditor()->pfTextScrollView();
        QVERIFY(edit);
        QTest::keyClicks(edit, text);
        QVERIFY(view()->pfTextEditor()->isOpen());
    }

    static QStringList freeTexts(const PDFDocument &document)
    {
        QStringList texts;
        for (const PDFAnnotation &annotation : document.page(0).annotations())
            if (annotation.type() == QStringLiteral("FreeText"))
                texts << annotation.contents();
        return texts;
    }

private slots:
    void init()
    {
        Localization::install(QLocale(QLocale::English, QLocale::UnitedStates));
        m_dir = std::make_unique<QTemporaryDir>();
        m_defaults = std::make_unique<UserDefaults>(m_dir->filePath(QStringLiteral("prefs.json")));
        m_seam = std::make_unique<FakeModalSeam>();
        m_app = std::make_unique<AppDelegate>(*m_defaults);
        const QString path = m_dir->filePath(QStringLiteral("doc.pdf"));
        QVERIFY(TestPdf::write(path, TestPdf::simple(2)));
        Document *document = m_app->documentController()->openDocument(path, true);
        QVERIFY(document);
        PFWindowController *window = document->windowController();
        m_controller = window->contentViewController();
        window->resize(1000, 900);
        window->show();
        QVERIFY(QTest::qWaitForWindowExposed(window));
    }

    void cleanup()
    {
        m_app.reset();
        m_seam.reset();
        QTest::qWait(20);
    }

    void protectedCopyHoldsTheOpenTextBox()
    {
        FakePrompts prompts;
        const QString target = m_dir->filePath(QStringLiteral("protected.pdf"));
        prompts.save = PFPagePrompts::SaveChoice{target, 0};
        typeIntoOpenBox(QStringLiteral("Typed before the copy"));

        m_controller->pfShowToolMenuView();
        auto *tools = m_controller->findChild<PFToolMenuView *>(QStringLiteral("PFToolMenuView"));
        QVERIFY(tools && tools->button(1));
        QTest::mouseClick(tools->button(1), Qt::LeftButton);
        QTRY_VERIFY(m_controller->pageTools()->passwordDialog() && m_controller->pageTools()->passwordDialog()->isVisible());
        PFPasswordEditController *dialog = m_controller->pageTools()->passwordDialog();
        QTest::keyClicks(dialog->findChild<QLineEdit *>(QStringLiteral("pfDocTextField")), QStringLiteral("pw"));
        QTest::mouseClick(dialog->findChild<QWidget *>(QStringLiteral("pfSaveHint")), Qt::LeftButton);
        QTRY_VERIFY_WITH_TIMEOUT(prompts.revealed == QStringList{target}, 20000);

        QVERIFY(!view()->pfTextEditor()->isOpen());
        QCOMPARE(freeTexts(view()->document()), QStringList{QStringLiteral("Typed before the copy")});
        PDFDocument copy = PDFDocument::open(target);
        QVERIFY(copy.isLocked() && copy.unlock(QStringLiteral("pw")));
        QCOMPARE(freeTexts(copy), QStringList{QStringLiteral("Typed before the copy")});
        QString report;
        QVERIFY2(TestPdf::run(QStringLiteral("qpdf"), {QStringLiteral("--check"), QStringLiteral("--password=pw"), target},
                              &report) == 0,
                 qPrintable(report));
    }

    void exportedPageHoldsTheOpenTextBox()
    {
        FakePrompts prompts;
        const QString target = m_dir->filePath(QStringLiteral("page.pdf"));
        prompts.save = PFPagePrompts::SaveChoice{target, 0};
        typeIntoOpenBox(QStringLiteral("Typed before the export"));
        m_controller->pageTools()->pfExportThumbPage({0});
        QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(target), 20000);
        QCOMPARE(freeTexts(PDFDocument::open(target)), QStringList{QStringLiteral("Typed before the export")});
        QCOMPARE(TestPdf::run(QStringLiteral("qpdf"), {QStringLiteral("--check"), target}), 0);
    }
};

QUIRNA_TEST_MAIN(QApplication, TestLiveDocumentCopies)
#include "tst_LiveDocumentCopies.moc"
