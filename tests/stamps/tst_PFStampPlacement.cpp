#include "app/FakeModalSeam.h"
#include "app/PFWindowController.h"
#include "app/ViewController.h"
#include "editing/EditingViewFixture.h"
#include "editing/PFBaseImageAnnotation.h"
#include "editing/PFBasePDFView.h"
#include "editing/palette/PFDrawButton.h"
#include "editing/palette/PFDrawMenuView.h"
#include "platform/store/UserDefaults.h"
#include "stamps/PFStampAnnotation.h"
#include "stamps/PFStampCatalogue.h"
#include "stamps/PFStampCellView.h"
#include "stamps/PFStampPlacement.h"
#include "stamps/PFStampSelectViewController.h"
#include "support/TestEnvironment.h"
#include "support/TestPdf.h"
#include "widgets/PFHudView.h"

#include <QApplication>
#include <QFile>
#include <QPushButton>
#include <QTemporaryDir>
#include <QtTest>

using namespace EditingViewFixture;

class TestPFStampPlacement : public QObject {
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<UserDefaults> m_defaults;
    std::unique_ptr<FakeModalSeam> m_seam;
    ViewController *m_controller = nullptr;
    PFWindowController *m_window = nullptr;
    QString m_path;

    PFBasePDFView &view() { return *m_controller->pdfView(); }
    PDFPage page() { return view().document().page(0); }

    // A click on a palette button of the annotation bar, as the user makes it.
    void clickTool(int index)
    {
        PFDrawButton *button = m_controller->drawMenu()->buttonWithTag(index + 1);
        QVERIFY(button && button->isVisible());
        QTest::mouseClick(button, Qt::LeftButton);
        QCoreApplication::processEvents(); // the bar reports through the event loop
    }

    void clickPage(QPointF p)
    {
        press(view(), page(), p);
        release(view(), page(), p);
    }

    PFStampSelectViewController *openPicker()
    {
        clickTool(13);
        PFStampSelectViewController *picker = m_controller->stampPlacement()->pfStampSelectCon();
        return picker && picker->isVisible() ? picker : nullptr;
    }

    QString imageFile(const QString &name, QSize size, const char *format)
    {
        QImage image(size, QImage::Format_RGB32);
        image.fill(QColor(200, 60, 30));
        const QString path = m_dir->filePath(name);
        return image.save(path, format) ? path : QString();
    }

private slots:
    void init()
    {
        m_dir = std::make_unique<QTemporaryDir>();
        m_defaults = std::make_unique<UserDefaults>(m_dir->filePath(QStringLiteral("prefs.json")));
        m_seam = std::make_unique<FakeModalSeam>();
        m_path = m_dir->filePath(QStringLiteral("doc.pdf"));
        TestPdf::write(m_path, TestPdf::simple(2));
        m_controller = new ViewController(*m_defaults);
        m_window = new PFWindowController(m_controller);
        m_window->resize(1200, 900);
        m_window->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_window));
        auto content = std::make_shared<PFContent>();
        content->filePath = m_path;
        QVERIFY(m_controller->setRepresentedObject(content));
        m_controller->pfShowZhuShiMenu();
        view().setAutoScales(false);
        view().setScaleFactor(1.0);
    }

    void cleanup()
    {
        delete m_window;
        m_seam.reset();
    }

    void pickedStampIsPlacedOnceCentredOnTheClick()
    {
        PFStampSelectViewController *picker = openPicker();
        QVERIFY(picker);
        QCOMPARE(picker->cells().size(), 23);
        QTest::mouseClick(picker->cells().at(8), Qt::LeftButton);
        QVERIFY(!picker->isVisible());
        QCOMPARE(view().selectStampIndex(), 8);

        clickPage({300, 400});
        QCOMPARE(page().annotations().size(), 1);
        const PFStampAnnotation stamp(page().annotations().first());
        QVERIFY(!stamp.isNull());
        QCOMPARE(stamp.selectStampIndex(), 8);
        const QPointF at = landing(view(), page(), {300, 400});
        QVERIFY(qAbs(stamp.bounds().center().x() - at.x()) < 0.01 && qAbs(stamp.bounds().center().y() - at.y()) < 0.01);
        QCOMPARE(stamp.bounds().height(), 38.0);
        QVERIFY(qAbs(stamp.bounds().width() - PFStampCatalogue::placementWidth(8)) < 0.01);
        QCOMPARE(view().selectStampIndex(), -1);

        // The pending stamp was used: a second click places nothing.
        clickPage({300, 200});
        QCOMPARE(page().annotations().size(), 1);
        // One undo step takes it away again.
        view().pfUndoClick();
        QCOMPARE(page().annotations().size(), 0);
    }

    void customImageStampComesFromTheFilePanel()
    {
        PFStampSelectViewController *picker = openPicker();
        QVERIFY(picker);
        QTest::mouseClick(picker->cells().at(2), Qt::LeftButton);
        picker = openPicker();
        QVERIFY(picker);
        // Cancelling the panel keeps the picker open and the stamp chosen before.
        QTest::mouseClick(picker->pfCustomBtn(), Qt::LeftButton);
        QTRY_COMPARE(m_seam->imagePanels, 1);
        QVERIFY(picker->isVisible());
        QCOMPARE(view().selectStampIndex(), 2);

        m_seam->imagePaths.push_back(imageFile(QStringLiteral("stamp.png"), {400, 200}, "PNG"));
        QTest::mouseClick(picker->pfCustomBtn(), Qt::LeftButton);
        QTRY_VERIFY(!picker->isVisible());
        QCOMPARE(view().selectStampIndex(), 100);
        clickPage({300, 400});
        QCOMPARE(page().annotations().size(), 1);
        const PDFAnnotation placed = page().annotations().first();
        QVERIFY(PFBaseImageAnnotation::isImageAnnotation(placed));
        QVERIFY(qAbs(placed.bounds().width() - 140) < 0.01 && qAbs(placed.bounds().height() - 70) < 0.01);
        QCOMPARE(view().selectStampIndex(), -1);
        QVERIFY(view().pfStampImage().isNull());
    }

    void imageToolPlacesThePictureAndTheFileKeepsIt()
    {
        const QString jpeg = imageFile(QStringLiteral("photo.jpg"), {640, 480}, "JPEG");
        m_seam->imagePaths.push_back(jpeg);
        clickTool(12);
        QCOMPARE(m_seam->imagePanels, 1);
        QVERIFY(!view().pfPhotoImage().isNull());
        clickPage({300, 400});
        QCOMPARE(page().annotations().size(), 1);
        QVERIFY(m_controller->pfSavePDFFile(m_path));

        QString objects;
        QCOMPARE(TestPdf::run(QStringLiteral("mutool"), {"show", m_path, "grep"}, &objects), 0);
        const QStringList images = objects.split(QLatin1Char('\n')).filter(QStringLiteral("/Subtype/Image"));
        QCOMPARE(images.size(), 1);
        QVERIFY(images.first().contains(QLatin1String("DCTDecode")));
        QCOMPARE(TestPdf::run(QStringLiteral("qpdf"), {"--check", m_path}), 0);
        PDFDocument reopened = PDFDocument::open(m_path);
        QCOMPARE(reopened.page(0).annotations().size(), 1);
        QVERIFY(PFBaseImageAnnotation::isImageAnnotation(reopened.page(0).annotations().first()));
    }

    void unreadablePictureIsRefusedWithAMessage()
    {
        const QString broken = m_dir->filePath(QStringLiteral("broken.png"));
        QFile file(broken);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("not a picture");
        file.close();
        m_seam->imagePaths.push_back(broken);
        clickTool(12);
        QVERIFY(view().pfPhotoImage().isNull());
        QPointer<PFHudView> hud = m_controller->findChild<PFHudView *>();
        QVERIFY(hud);
        QVERIFY(!hud->textHint().isEmpty());
        clickPage({300, 400});
        QCOMPARE(page().annotations().size(), 0);
    }
};

QUIRNA_TEST_MAIN(QApplication, TestPFStampPlacement)
#include "tst_PFStampPlacement.moc"
