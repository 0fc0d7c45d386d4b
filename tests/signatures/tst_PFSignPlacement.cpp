#include "editing/PFBaseImageAnnotation.h"
#include "editing/PFBasePDFView.h"
#include "editing/palette/PFDrawButton.h"
#include "editing/palette/PFDrawMenuView.h"
#include "platform/store/PersistentContainer.h"
#include "settings/PFManager.h"
#include "signatures/PFDataManager.h"
#include "signatures/PFSignCollectionItem.h"
#include "signatures/PFSignColorWell.h"
#include "signatures/PFSignDrawView.h"
#include "signatures/PFSignDrawViewController.h"
#include "signatures/PFSignImageViewController.h"
#include "signatures/PFSignKeybordViewController.h"
#include "signatures/PFSignMyViewController.h"
#include "signatures/PFSignPlacement.h"
#include "signatures/PFSignTabViewController.h"
#include "signatures/PFStampTextAnnotation.h"
#include "stamps/PFStampRedraw.h"
#include "support/AnnotationWindowFixture.h"
#include "support/TestEnvironment.h"
#include "support/TestPdf.h"

#include <QApplication>
#include <QDir>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QToolButton>
#include <QtTest>

using namespace EditingViewFixture;

class TestPFSignPlacement : public QObject {
    Q_OBJECT

    std::unique_ptr<AnnotationWindowFixture> m_w;

    PFBasePDFView &view() { return m_w->view(); }
    PDFPage page() { return m_w->page(); }
    PFDataManager &store() { return PFDataManager::sharedManager(); }

    PFSignTabViewController *openTab(int tab)
    {
        PFDrawButton *button = m_w->controller->drawMenu()->buttonWithTag(15);
        if (!button)
            return nullptr;
        QTest::mouseClick(button, Qt::LeftButton);
        QCoreApplication::processEvents();
        PFSignTabViewController *signTab = m_w->controller->signPlacement()->signTab();
        if (!signTab || !signTab->isVisible())
            return nullptr;
        signTab->tabs()->setCurrentIndex(tab);
        return signTab;
    }

    void clickPage(QPointF p) { m_w->clickPage(p); }

    QStringList signImages() const
    {
        return QDir(QFileInfo(PFManager::pfGetCacheSignImagePathByID(QStringLiteral("x"))).path())
            .entryList(QDir::Files);
    }

private slots:
    void init()
    {
        m_w = std::make_unique<AnnotationWindowFixture>();
        QVERIFY(m_w->open(1));
        for (const PFSignParameterModel &entry : store().pfGetAllSignData())
            store().pfDeleteSignData(*entry.dateID);
    }

    void cleanup() { m_w.reset(); }

    void typedSignatureIsKeptPlacedAndReadBack()
    {
        QPointer<PFSignTabViewController> tab = openTab(1);
        QVERIFY(tab);
        PFSignKeybordViewController *typed = tab->pfSignKeybordCon();
        QCOMPARE(m_w->defaults.value(QStringLiteral("signFont")).toStringList(), QStringList{QStringLiteral("Helvetica")});
        QTest::keyClicks(typed->pfTextField(), QStringLiteral("Ada Lovelace"));
        QTest::mouseClick(typed->doneButton(), Qt::LeftButton);
        QTRY_VERIFY(!tab);
        QVERIFY(view().pfSignModel());
        QCOMPARE(store().pfGetAllSignData().size(), 1);
        QCOMPARE(store().pfGetAllSignData().first().inputText, QStringLiteral("Ada Lovelace"));

        clickPage({300, 400});
        QCOMPARE(page().annotations().size(), 1);
        QVERIFY(!view().pfSignModel()); // used once
        const QRectF bounds = page().annotations().first().bounds();
        const QPointF at = landing(view(), page(), {300, 400});
        QVERIFY(qAbs(bounds.center().x() - at.x()) < 0.01 && qAbs(bounds.center().y() - at.y()) < 0.01);
        QVERIFY(bounds.width() > 60 && bounds.height() > 20);

        QVERIFY(m_w->controller->pfSavePDFFile(m_w->path));
        QCOMPARE(TestPdf::run(QStringLiteral("qpdf"), {"--check", m_w->path}), 0);
        // Text, font and colour are the annotation's own properties too, as another reader sees them.
        QString shown;
        QCOMPARE(TestPdf::run(QStringLiteral("mutool"), {"show", "-g", m_w->path, "pages/1/Annots/1"}, &shown), 0);
        QVERIFY2(shown.contains(QLatin1String("/Contents(Ada Lovelace)")), qPrintable(shown));
        QVERIFY2(shown.contains(QLatin1String("/DA(/Helvetica 20 Tf 0 0 0 rg)")), qPrintable(shown));
        PDFDocument reopened = PDFDocument::open(m_w->path);
        const PFStampTextAnnotation again(reopened.page(0).annotations().first());
        QVERIFY(!again.isNull());
        QCOMPARE(again.inputModel().inputText, QStringLiteral("Ada Lovelace"));
        // Its appearance shows the text in every reader; no font comes with it.
        const QString png = m_w->dir.filePath(QStringLiteral("typed.png"));
        QCOMPARE(TestPdf::run(QStringLiteral("mutool"), {"draw", "-q", "-r", "72", "-o", png, m_w->path, "1"}), 0);
        const QImage rendered(png);
        const QRect area = QRectF(bounds.x(), 792 - bounds.bottom(), bounds.width(), bounds.height()).toRect();
        int ink = 0;
        for (int y = area.top(); y <= area.bottom(); ++y)
            for (int x = area.left(); x <= area.right(); ++x)
                ink += rendered.pixelColor(x, y).lightness() < 100;
        QVERIFY(ink > 30);
        // Resized, it is laid out anew rather than stretched.
        PDFAnnotation plain = reopened.page(0).annotations().first();
        plain.setBounds(QRectF(bounds.topLeft(), bounds.size() * 2));
        QVERIFY(PFStampRedraw::redrawAtBounds(plain));

        // Listed in My signatures next time, also for a new store client (a restart).
        PFDataManager restarted(PersistentContainer::shared());
        QCOMPARE(restarted.pfGetAllSignData().size(), 1);
        tab = openTab(0);
        QVERIFY(tab);
        QCOMPARE(tab->pfSignMyCon()->items().size(), 1);
        QTest::mouseClick(tab->pfSignMyCon()->items().first(), Qt::LeftButton);
        QTRY_VERIFY(!tab);
        QCOMPARE(view().pfSignModel()->inputText, QStringLiteral("Ada Lovelace"));
    }

    void typedSignatureFontNameStaysAValidPdfName()
    {
        QPointer<PFSignTabViewController> tab = openTab(1);
        QVERIFY(tab);
        PFSignKeybordViewController *typed = tab->pfSignKeybordCon();
        typed->pfItemClick(QStringLiteral("文泉驿 正黑"));
        QTest::mouseClick(typed->colorWell()->swatches().last(), Qt::LeftButton);
        const QColor chosen = typed->colorWell()->color();
        QVERIFY(chosen != QColor(Qt::black));
        typed->pfTextField()->insert(QStringLiteral("签名")); // as an input method commits it
        QTest::keyClicks(typed->pfTextField(), QStringLiteral(" Ada"));
        QTest::mouseClick(typed->doneButton(), Qt::LeftButton);
        QTRY_VERIFY(!tab);
        clickPage({300, 400});
        QCOMPARE(page().annotations().size(), 1);
        QVERIFY(m_w->controller->pfSavePDFFile(m_w->path));

        // Bytes outside printable ASCII are escaped in the name, so every reader parses it.
        QString shown;
        QCOMPARE(TestPdf::run(QStringLiteral("mutool"), {"show", "-g", m_w->path, "pages/1/Annots/1/DA"}, &shown), 0);
        QVERIFY2(shown.startsWith(QLatin1String("(/#E6#96#87#E6#B3#89#E9#A9#BF#E6#AD#A3#E9#BB#91 20 Tf ")), qPrintable(shown));
        const PDFAnnotation reopened = PDFDocument::open(m_w->path).page(0).annotations().first();
        QCOMPARE(reopened.fontName(), QStringLiteral("文泉驿正黑"));
        QCOMPARE(reopened.fontColor().name(), chosen.name());
        QCOMPARE(reopened.contents(), QStringLiteral("签名 Ada"));
    }

    void drawnAndImageSignaturesAreKeptAsFilesAndDeletable()
    {
        const QStringList before = signImages();
        QPointer<PFSignTabViewController> tab = openTab(2);
        QVERIFY(tab);
        PFSignDrawView *surface = tab->pfSignDrawCon()->drawView();
        QTest::mousePress(surface, Qt::LeftButton, {}, QPoint(20, 20));
        for (int i = 1; i <= 10; ++i)
            QTest::mouseMove(surface, QPoint(20 + 15 * i, 20 + 5 * i));
        QTest::mouseRelease(surface, Qt::LeftButton, {}, QPoint(170, 70));
        QCOMPARE(surface->lineArray().size(), 1);
        QTest::mouseClick(tab->pfSignDrawCon()->doneButton(), Qt::LeftButton);
        QTRY_VERIFY(!tab);
        QVERIFY(view().pfSignModel() && !view().pfSignModel()->imageT.isNull());
        QCOMPARE(signImages().size(), before.size() + 1);
        clickPage({300, 400});
        QCOMPARE(page().annotations().size(), 1);
        QVERIFY(PFBaseImageAnnotation::isImageAnnotation(page().annotations().first()));
        QCOMPARE(page().annotations().first().bounds().width(), 140.0);

        QTest::qWait(1100); // a new second: the next signature gets a name of its own
        QImage picture(300, 100, QImage::Format_ARGB32);
        picture.fill(Qt::transparent);
        picture.setPixelColor(10, 10, Qt::blue);
        const QString file = m_w->dir.filePath(QStringLiteral("signature.png"));
        QVERIFY(picture.save(file));
        m_w->seam.imagePaths.push_back(file);
        tab = openTab(3);
        QVERIFY(tab);
        QTest::mouseClick(tab->pfSignImageCon()->chooseButton(), Qt::LeftButton);
        QVERIFY(!tab->pfSignImageCon()->picture().isNull());
        QTest::mouseClick(tab->pfSignImageCon()->doneButton(), Qt::LeftButton);
        QTRY_VERIFY(!tab);
        QCOMPARE(signImages().size(), before.size() + 2);
        QCOMPARE(store().pfGetAllSignData().size(), 2);

        // Deleting the drawn one removes its record and its file; the other stays.
        tab = openTab(0);
        QVERIFY(tab);
        PFSignMyViewController *mine = tab->pfSignMyCon();
        QCOMPARE(mine->items().size(), 2);
        QCOMPARE(mine->items().first()->objectName(), QStringLiteral("PFSignImageItem"));
        QTest::mouseClick(mine->items().first()->deleteButton(), Qt::LeftButton);
        QTRY_COMPARE(mine->items().size(), 1);
        QCOMPARE(store().pfGetAllSignData().size(), 1);
        QCOMPARE(store().pfGetAllSignData().first().signType, qint64(PFSignParameterModel::Image));
        QCOMPARE(signImages().size(), before.size() + 1);

        // A kept picture whose file is gone is not offered.
        QFile::remove(*store().pfGetAllSignData().first().imagePath);
        QVERIFY(store().pfGetAllSignData().isEmpty());
    }

    void damagedStoreIsToldAndTheToolGoesOn()
    {
        QTemporaryDir folder;
        const QString path = folder.filePath(QStringLiteral("Kestrelfold.sqlite"));
        QFile damaged(path);
        QVERIFY(damaged.open(QIODevice::WriteOnly));
        damaged.write(QByteArray(4096, 'x'));
        damaged.close();
        PersistentContainer container(path);
        PFDataManager manager(container);
        QVERIFY(manager.isAvailable());
        QVERIFY(!manager.openingNotice().isEmpty());
        QVERIFY(manager.pfSaveSignFont(QStringLiteral("Helvetica"), Qt::red, QStringLiteral("x")));
        QCOMPARE(manager.pfGetAllSignData().first().colorT, QColor(Qt::red));

        // A store that cannot be opened at all: nothing is kept, but signing still works.
        PersistentContainer unusable(folder.path());
        PFDataManager none(unusable);
        QVERIFY(!none.isAvailable());
        QVERIFY(!none.lastError().isEmpty());
        QVERIFY(!none.pfSaveSignFont(QStringLiteral("Helvetica"), Qt::red, QStringLiteral("x")));
        QVERIFY(none.pfGetAllSignData().isEmpty());
        QPointer<PFSignTabViewController> tab = new PFSignTabViewController(none, m_w->defaults);
        QString told;
        tab->pfShowMessage = [&](const QString &message) { told = message; };
        std::optional<PFSignParameterModel> handed;
        tab->pfSelectSignModel = [&](const PFSignParameterModel &model) { handed = model; };
        tab->pfSaveSign(QStringLiteral("Helvetica"), Qt::black, QStringLiteral("Grace"));
        QVERIFY(handed && handed->inputText == QStringLiteral("Grace"));
        QVERIFY(!told.isEmpty());
        QTRY_VERIFY(!tab); // it closes itself after handing the signature over
    }

    void recentFontsMoveToTheFrontAndKeepSix()
    {
        PFSignKeybordViewController typed(m_w->defaults);
        for (const char *name : {"A", "B", "C", "D", "E", "F"})
            typed.pfItemClick(QString::fromLatin1(name));
        QCOMPARE(typed.halfFontsArray(), (QStringList{"F", "E", "D", "C", "B", "A"}));
        typed.pfItemClick(QStringLiteral("C"));
        QCOMPARE(typed.halfFontsArray(), (QStringList{"C", "F", "E", "D", "B", "A"}));
        typed.pfItemClick(QStringLiteral("G"));
        QCOMPARE(typed.halfFontsArray(), (QStringList{"G", "C", "F", "E", "D", "B"}));
        QCOMPARE(typed.totalFontsArray().first(), QStringLiteral("G"));
        QCOMPARE(m_w->defaults.value(QStringLiteral("signFont")).toStringList(), typed.halfFontsArray());
    }
};

QUIRNA_TEST_MAIN(QApplication, TestPFSignPlacement)
#include "tst_PFSignPlacement.moc"
