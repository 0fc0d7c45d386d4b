#include "editing/PFBaseImageAnnotation.h"
#include "editing/PFBasePDFView.h"
#include "editing/palette/PFDrawButton.h"
#include "editing/palette/PFDrawMenuView.h"
#include "stamps/PFStampAnnotation.h"
#include "stamps/PFStampCatalogue.h"
#include "stamps/PFStampCellView.h"
#include "stamps/PFStampPlacement.h"
#include "stamps/PFStampSelectViewController.h"
#include "support/AnnotationWindowFixture.h"
#include "support/TestEnvironment.h"
#include "support/TestPdf.h"
#include "widgets/PFHudView.h"

#include <QApplication>
#include <QFile>
#include <QPushButton>
#include <QtTest>

using namespace EditingViewFixture;

class TestPFStampPlacement : public QObject {
    Q_OBJECT

    std::unique_ptr<AnnotationWindowFixture> m_w;

    PFBasePDFView &view() { return m_w->view(); }
    PDFPage page() { return m_w->page(); }

    // A click on a palette button of the annotation bar, as the user makes it.
    void clickTool(int index)
    {
        PFDrawButton *button = m_w->controller->drawMenu()->buttonWithTag(index + 1);
        QVERIFY(button && button->isVisible());
        QTest::mouseClick(button, Qt::LeftButton);
        QCoreApplication::processEvents(); // the bar reports through the event loop
    }

    void clickPage(QPointF p) { m_w->clickPage(p); }

    PFStampSelectViewController *openPicker()
    {
        clickTool(13);
        PFStampSelectViewController *picker = m_w->controller->stampPlacement()->pfStampSelectCon();
        return picker && picker->isVisible() ? picker : nullptr;
    }

    QString imageFile(const QString &name, QSize size, const char *format)
    {
        QImage image(size, QImage::Format_RGB32);
        image.fill(QColor(200, 60, 30));
        const QString path = m_w->dir.filePath(name);
        return image.save(path, format) ? path : QString();
    }

private slots:
    void init()
    {
        m_w = std::make_unique<AnnotationWindowFixture>();
        QVERIFY(m_w->open(2));
    }

    void cleanup() { m_w.reset(); }

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
        QTRY_COMPARE(m_w->seam.imagePanels, 1);
        QVERIFY(picker->isVisible());
        QCOMPARE(view().selectStampIndex(), 2);

        m_w->seam.imagePaths.push_back(imageFile(QStringLiteral("stamp.png"), {400, 200}, "PNG"));
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
        m_w->seam.imagePaths.push_back(jpeg);
        clickTool(12);
        QCOMPARE(m_w->seam.imagePanels, 1);
        QVERIFY(!view().pfPhotoImage().isNull());
        clickPage({300, 400});
        QCOMPARE(page().annotations().size(), 1);
        QVERIFY(m_w->controller->pfSavePDFFile(m_w->path));

        QString objects;
        QCOMPARE(TestPdf::run(QStringLiteral("mutool"), {"show", m_w->path, "grep"}, &objects), 0);
        const QStringList images = objects.split(QLatin1Char('\n')).filter(QStringLiteral("/Subtype/Image"));
        QCOMPARE(images.size(), 1);
        QVERIFY(images.first().contains(QLatin1String("DCTDecode")));
        QCOMPARE(TestPdf::run(QStringLiteral("qpdf"), {"--check", m_w->path}), 0);
        PDFDocument reopened = PDFDocument::open(m_w->path);
        QCOMPARE(reopened.page(0).annotations().size(), 1);
        QVERIFY(PFBaseImageAnnotation::isImageAnnotation(reopened.page(0).annotations().first()));
    }

    void unreadablePictureIsRefusedWithAMessage()
    {
        const QString broken = m_w->dir.filePath(QStringLiteral("broken.png"));
        QFile file(broken);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("not a picture");
        file.close();
        m_w->seam.imagePaths.push_back(broken);
        clickTool(12);
        QVERIFY(view().pfPhotoImage().isNull());
        QPointer<PFHudView> hud = m_w->controller->findChild<PFHudView *>();
        QVERIFY(hud);
        QVERIFY(!hud->textHint().isEmpty());
        clickPage({300, 400});
        QCOMPARE(page().annotations().size(), 0);
    }
};

QUIRNA_TEST_MAIN(QApplication, TestPFStampPlacement)
#include "tst_PFStampPlacement.moc"
