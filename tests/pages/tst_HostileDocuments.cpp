#include "pages/PFPageManager.h"
#include "pages/PageMessages.h"
#include "platform/pdf/PDFBulkText.h"
#include "platform/pdf/PDFDocument.h"
#include "platform/pdf/PDFSelection.h"
#include "platform/pdf/PDFTextSearch.h"
#include "support/TestEnvironment.h"
#include "support/TestPdf.h"

#include <QCoreApplication>
#include <QDir>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

namespace {

QByteArray content(const QByteArray &word)
{
    const QByteArray text = "BT /F1 24 Tf 40 100 Td (" + word + ") Tj ET";
    return "<< /Length " + QByteArray::number(text.size()) + " >>\nstream\n" + text + "\nendstream";
}

// Three pages ALPHA, BETA, GAMMA in a tree that lists ALPHA twice, contains itself, has a node
// whose /Parent is itself and claims five pages; BETA and GAMMA take their media box and fonts
// from the nodes above them. Its page labels tree lists itself among its kids, and its outline
// item holds itself as child and as next sibling.
QByteArray hostileTree()
{
    return TestPdf::fromObjects({
        "<< /Type /Catalog /Pages 2 0 R /PageLabels 9 0 R /Outlines 10 0 R >>",
        "<< /Type /Pages /Kids [3 0 R 3 0 R 5 0 R 2 0 R 7 0 R] /Count 5 /MediaBox [0 0 300 200]"
        " /Resources << /Font << /F1 12 0 R >> >> >>",
        "<< /Type /Page /Parent 2 0 R /MediaBox [0 0 400 400] /Contents 4 0 R >>",
        content("ALPHA"),
        "<< /Type /Page /Parent 2 0 R /Contents 6 0 R >>",
        content("BETA"),
        "<< /Type /Pages /Parent 7 0 R /Kids [8 0 R 7 0 R] /Count 1 >>",
        "<< /Type /Page /Parent 7 0 R /Contents 11 0 R >>",
        "<< /Kids [9 0 R 13 0 R] >>",
        "<< /Type /Outlines /First 14 0 R /Last 14 0 R /Count 1 >>",
        content("GAMMA"),
        "<< /Type /Font /Subtype /Type1 /BaseFont /Helvetica >>",
        "<< /Nums [0 << /S /r >>] /Kids [9 0 R 13 0 R] >>",
        "<< /Title (Loop) /Parent 10 0 R /First 14 0 R /Last 14 0 R /Next 14 0 R /Count 1 /Dest [5 0 R /Fit] >>",
    });
}

// One page of 40,000 points square: two gigapixels at one pixel per point.
QByteArray hugePage()
{
    return TestPdf::fromObjects({
        "<< /Type /Catalog /Pages 2 0 R >>",
        "<< /Type /Pages /Kids [3 0 R] /Count 1 >>",
        "<< /Type /Page /Parent 2 0 R /MediaBox [0 0 40000 40000] /Contents 4 0 R"
        " /Resources << /Font << /F1 5 0 R >> >> >>",
        content("HUGE"),
        "<< /Type /Font /Subtype /Type1 /BaseFont /Helvetica >>",
    });
}

// ALPHA, BETA, GAMMA under a root that counts as many pages as it lists kids, though its second
// kid is a node holding BETA: a sound tree that only its pages tell apart from a flat one.
QByteArray treeWithOneChildNode()
{
    return TestPdf::fromObjects({
        "<< /Type /Catalog /Pages 2 0 R >>",
        "<< /Type /Pages /Kids [3 0 R 4 0 R 7 0 R] /Count 3 /MediaBox [0 0 300 200]"
        " /Resources << /Font << /F1 10 0 R >> >> >>",
        "<< /Type /Page /Parent 2 0 R /Contents 8 0 R >>",
        "<< /Type /Pages /Parent 2 0 R /Kids [5 0 R] /Count 1 >>",
        "<< /Type /Page /Parent 4 0 R /Contents 6 0 R >>",
        content("BETA"),
        "<< /Type /Page /Parent 2 0 R /Contents 9 0 R >>",
        content("ALPHA"),
        content("GAMMA"),
        "<< /Type /Font /Subtype /Type1 /BaseFont /Helvetica >>",
    });
}

// The same count, but the second kid is no page at all: ALPHA and GAMMA are all there is.
QByteArray treeWithAStringForAPage()
{
    return TestPdf::fromObjects({
        "<< /Type /Catalog /Pages 2 0 R >>",
        "<< /Type /Pages /Kids [3 0 R 4 0 R 5 0 R] /Count 3 /MediaBox [0 0 300 200]"
        " /Resources << /Font << /F1 8 0 R >> >> >>",
        "<< /Type /Page /Parent 2 0 R /Contents 6 0 R >>",
        "(not a page)",
        "<< /Type /Page /Parent 2 0 R /Contents 7 0 R >>",
        content("ALPHA"),
        content("GAMMA"),
        "<< /Type /Font /Subtype /Type1 /BaseFont /Helvetica >>",
    });
}

QString pdftotext(const QString &path)
{
    QString out;
    TestPdf::run(QStringLiteral("pdftotext"), {path, QStringLiteral("-")}, &out);
    return out.simplified();
}

// The page of each match a search for `text` reports, in its order; empty when it never finishes.
QList<int> matchPages(const PDFDocument &document, const QString &text)
{
    PDFTextSearch search(document);
    QObject receiver; // matches are taken on this thread, as a window takes them
    QList<int> found;
    QObject::connect(&search, &PDFTextSearch::matchFound, &receiver,
                     [&found](const PDFSelection &match) { found << match.pages().constFirst().index(); });
    QSignalSpy finished(&search, &PDFTextSearch::finished);
    search.start(text);
    return QTest::qWaitFor([&finished] { return finished.size() == 1; }) ? found : QList<int>();
}

} // namespace

class TestHostileDocuments : public QObject {
    Q_OBJECT
    QTemporaryDir m_dir;
    PFPageManager &manager = PFPageManager::sharedManager();

    QString write(const QString &name, const QByteArray &bytes)
    {
        const QString path = m_dir.filePath(name);
        TestPdf::write(path, bytes);
        return path;
    }

private slots:
    void onePageNumberingEverywhere()
    {
        const QString path = write(QStringLiteral("tree.pdf"), hostileTree());
        PDFDocument document = PDFDocument::open(path);
        QCOMPARE(document.pageCount(), 3);
        const QStringList words = {QStringLiteral("ALPHA"), QStringLiteral("BETA"), QStringLiteral("GAMMA")};
        for (int i = 0; i < 3; ++i) {
            QVERIFY2(document.page(i).string().contains(words[i]), qPrintable(document.page(i).string()));
            QCOMPARE(document.page(i).index(), i);
        }
        // Inherited attributes survive the repair of the tree.
        QCOMPARE(document.page(1).bounds(PDFDisplayBox::MediaBox), QRectF(0, 0, 300, 200));
        QCOMPARE(document.page(0).bounds(PDFDisplayBox::MediaBox), QRectF(0, 0, 400, 400));
        // The labels tree that contains itself answers.
        QCOMPARE(document.page(2).label(), QStringLiteral("iii"));
        // Labels counted from the largest integer go on past it.
        PDFDocument far = PDFDocument::openData(TestPdf::fromObjects({
            "<< /Type /Catalog /Pages 2 0 R /PageLabels << /Nums [0 << /S /D /St 2147483647 >>] >> >>",
            "<< /Type /Pages /Kids [3 0 R 4 0 R] /Count 2 >>",
            "<< /Type /Page /Parent 2 0 R /MediaBox [0 0 300 200] >>",
            "<< /Type /Page /Parent 2 0 R /MediaBox [0 0 300 200] >>",
        }));
        QCOMPARE(far.page(0).label(), QStringLiteral("2147483647"));
        QCOMPARE(far.page(1).label(), QStringLiteral("2147483648"));

        // Workers reading the file on their own count the same pages.
        QCOMPARE(PDFBulkText::textOfAllPages(path).size(), 3);
        QVERIFY(PDFBulkText::textOfAllPages(path).value(1).contains(words[1]));
        QCOMPARE(matchPages(document, QStringLiteral("gamma")), QList<int>{2});

        // Split page 2 and page 3, as one file and as a file per page.
        const PFPageResult range = manager.pfSplitPDF(path, m_dir.filePath(QStringLiteral("out")), QStringLiteral("range"),
                                                      QStringLiteral("2"));
        QVERIFY2(range.ok(), qPrintable(range.error));
        QCOMPARE(pdftotext(range.written.constFirst()), QStringLiteral("BETA"));
        const PFPageResult each = manager.pfSplitPDF(path, m_dir.filePath(QStringLiteral("out")), QStringLiteral("all"), {});
        QVERIFY2(each.ok(), qPrintable(each.error));
        QCOMPARE(each.written.size(), 3);
        QCOMPARE(pdftotext(each.written[2]), QStringLiteral("GAMMA"));
        QCOMPARE(TestPdf::run(QStringLiteral("qpdf"), {QStringLiteral("--check"), each.written[1]}), 0);

        // Deleting page 1 deletes ALPHA, and the saved file has what the program showed.
        QVERIFY(document.removePage(0));
        QCOMPARE(document.pageCount(), 2);
        QVERIFY(document.page(0).string().contains(words[1]));
        const QString saved = m_dir.filePath(QStringLiteral("saved.pdf"));
        QVERIFY(document.write(saved));
        QCOMPARE(TestPdf::run(QStringLiteral("qpdf"), {QStringLiteral("--check"), saved}), 0);
        QCOMPARE(pdftotext(saved), QStringLiteral("BETA GAMMA"));
    }

    void aFileRewrittenSinceItWasReadIsWalkedAgain()
    {
        // Read as a sound three-page file first, which spares later workers walking its tree…
        const QString path = write(QStringLiteral("changing.pdf"), TestPdf::simple(3));
        QCOMPARE(PDFDocument::open(path).pageCount(), 3);
        QCOMPARE(PDFBulkText::textOfAllPages(path).size(), 3);
        // …then rewritten in place with the hostile tree, whose own /Count claims five pages.
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        QVERIFY(file.write(hostileTree()) > 0);
        file.close();
        const QStringList texts = PDFBulkText::textOfAllPages(path);
        QCOMPARE(texts.size(), 3);
        QVERIFY(texts.value(1).contains(QStringLiteral("BETA")));
        QVERIFY(texts.value(2).contains(QStringLiteral("GAMMA")));
    }

    void combineCopiesAnOutlineThatContainsItself()
    {
        const QString a = write(QStringLiteral("loop-a.pdf"), hostileTree());
        const QString b = write(QStringLiteral("loop-b.pdf"), hostileTree());
        const PFPageResult result = manager.pfCombinePdfs({a, b}, m_dir.filePath(QStringLiteral("combined")));
        QVERIFY2(result.ok(), qPrintable(result.error));
        const QString merged = result.written.constFirst();
        QCOMPARE(TestPdf::run(QStringLiteral("qpdf"), {QStringLiteral("--check"), merged}), 0);
        QCOMPARE(pdftotext(merged), QStringLiteral("ALPHA BETA GAMMA ALPHA BETA GAMMA"));
        const PDFOutline root = PDFDocument::open(merged).outlineRoot();
        QCOMPARE(root.numberOfChildren(), 2);
        for (int i = 0; i < 2; ++i) {
            const PDFOutline source = root.childAtIndex(i);
            QCOMPARE(source.numberOfChildren(), 1); // the looping item, once
            const PDFOutline loop = source.childAtIndex(0);
            QCOMPARE(loop.label(), QStringLiteral("Loop"));
            QCOMPARE(loop.numberOfChildren(), 0);
            QCOMPARE(loop.destination().page().index(), 3 * i + 1); // BETA of its source
        }
    }

    // A window opens a document reading only the tree's nodes and checks the pages afterwards.
    // Whatever it is asked to do before that check is over sees the pages as they really are.
    void pagesCheckedAfterOpeningAreNumberedAsTheyReallyAre()
    {
        const QString nested = write(QStringLiteral("nested.pdf"), treeWithOneChildNode());
        const QString broken = write(QStringLiteral("broken.pdf"), treeWithAStringForAPage());
        const QStringList words = {QStringLiteral("ALPHA"), QStringLiteral("BETA"), QStringLiteral("GAMMA")};

        // A sound tree checked to the end: the node's page takes its place, nothing is rebuilt.
        PDFDocument document = PDFDocument::open(nested, PDFPageCheck::Deferred);
        PDFPageCheckProgress progress = document.checkPageTree(QDeadlineTimer(QDeadlineTimer::Forever));
        QVERIFY(progress.finished);
        QVERIFY(progress.renumbered);
        QCOMPARE(progress.checkedPages, 3);
        for (int i = 0; i < 3; ++i)
            QVERIFY2(document.page(i).string().contains(words[i]), qPrintable(document.page(i).string()));

        // Copying the second page to the end before any check copies BETA, then deleting the
        // first deletes ALPHA, and the file says so too.
        document = PDFDocument::open(nested, PDFPageCheck::Deferred);
        QCOMPARE(document.insertPages(document, {1}, 3).size(), 1);
        QVERIFY(document.removePage(0));
        QCOMPARE(document.pageCount(), 3);
        const QString saved = m_dir.filePath(QStringLiteral("nested-saved.pdf"));
        QVERIFY(document.write(saved));
        QCOMPARE(TestPdf::run(QStringLiteral("qpdf"), {QStringLiteral("--check"), saved}), 0);
        QCOMPARE(pdftotext(saved), QStringLiteral("BETA GAMMA BETA"));

        // A search started before the check numbers its matches as the check does.
        document = PDFDocument::open(broken, PDFPageCheck::Deferred);
        QCOMPARE(document.pageCount(), 3); // as the nodes claim, until the pages are read
        QCOMPARE(matchPages(document, QStringLiteral("gamma")), QList<int>{1});
        QCOMPARE(document.pageCount(), 2);
        QVERIFY(document.page(1).string().contains(words[2]));
        QVERIFY(document.checkPageTree(QDeadlineTimer(0)).finished);

        // A sound flat tree needs no renumbering, a slice at a time.
        document = PDFDocument::openData(TestPdf::simple(40), PDFPageCheck::Deferred);
        int slices = 0;
        do {
            progress = document.checkPageTree(QDeadlineTimer(1));
            QVERIFY(!progress.renumbered);
            ++slices;
        } while (!progress.finished && slices < 10000);
        QVERIFY(progress.finished);
        QCOMPARE(progress.checkedPages, 40);
        QCOMPARE(document.page(39).string().left(7), QStringLiteral("Page 40"));
    }

    void hugePageIsNeverRenderedWhole()
    {
        const QString path = write(QStringLiteral("huge.pdf"), hugePage());
        const PDFDocument document = PDFDocument::open(path);
        QCOMPARE(document.pageCount(), 1);
        QVERIFY(document.page(0).render(1.0).isNull());
        QCOMPARE(document.page(0).render(0.01).size(), QSize(400, 400));

        for (int format : {1, 2}) { // PNG, JPEG
            const PFPageResult images = manager.pfSplitImage(path, m_dir.filePath(QStringLiteral("images")), format, {});
            QCOMPARE(images.error, PageMessages::pageTooLarge(1));
        }
        QVERIFY(!QFileInfo::exists(m_dir.filePath(QStringLiteral("images/huge-images"))));
        // As a PDF it is split as any other page.
        const PFPageResult split = manager.pfSplitPDF(path, m_dir.filePath(QStringLiteral("images")), QStringLiteral("all"), {});
        QVERIFY2(split.ok(), qPrintable(split.error));
        QCOMPARE(pdftotext(split.written.constFirst()), QStringLiteral("HUGE"));
    }

    void pdfUnderAnotherNameIsReadAsPdf()
    {
        for (const QString &name : {QStringLiteral("book.xps"), QStringLiteral("book.epub"), QStringLiteral("book.png"),
                                   QStringLiteral("book")}) {
            const QString path = write(name, TestPdf::simple(2));
            QCOMPARE(PDFBulkText::textOfAllPages(path).size(), 2);
            const PFPageResult split = manager.pfSplitPDF(path, m_dir.filePath(QStringLiteral("named")), QStringLiteral("all"), {});
            QVERIFY2(split.ok(), qPrintable(name + u' ' + split.error));
            QCOMPARE(split.written.size(), 2);
            QCOMPARE(pdftotext(split.written[1]), QStringLiteral("Page 2 Lorem ipsum dolor sit amet"));
            const PFPageResult images = manager.pfSplitImage(path, m_dir.filePath(QStringLiteral("named")), 1, {});
            QVERIFY2(images.ok(), qPrintable(name + u' ' + images.error));
            QCOMPARE(QImage(images.written[0]).size(), QSize(612, 792));
        }
    }
};

QUIRNA_TEST_MAIN(QCoreApplication, TestHostileDocuments)
#include "tst_HostileDocuments.moc"
