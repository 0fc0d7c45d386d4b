#include "platform/pdf/PDFDocument.h"
#include "support/TestEnvironment.h"
#include "support/TestPdf.h"

#include <QGuiApplication>
#include <QTemporaryDir>
#include <QtTest>

class TestPDFOutline : public QObject {
    Q_OBJECT
    QTemporaryDir m_dir;

    static QStringList labels(const PDFOutline &item)
    {
        QStringList out;
        for (int i = 0; i < item.numberOfChildren(); ++i)
            out << item.childAtIndex(i).label();
        return out;
    }

private slots:
    void treeIsEditedAndWritten()
    {
        const QString file = m_dir.filePath("outline.pdf");
        TestPdf::write(file, TestPdf::simple(4));
        PDFDocument document = PDFDocument::open(file);
        QVERIFY(document.outlineRoot().isNull());

        PDFOutline root = PDFOutline::create(document);
        document.setOutlineRoot(root);
        QCOMPARE(document.outlineRoot(), root);
        QStringList names{"One", "Two", "Three"};
        for (int i = 0; i < names.size(); ++i) {
            PDFOutline item = PDFOutline::create(document);
            item.setLabel(names[i]);
            item.setDestination(PDFDestination(document.page(i), QPointF(0, 792)));
            root.insertChild(item, i);
        }
        PDFOutline child = PDFOutline::create(document);
        child.setLabel(QStringLiteral("Unterpunkt 子项"));
        child.setDestination(PDFDestination(document.page(3), QPointF(10, 500)));
        root.childAtIndex(1).insertChild(child, 0);
        QCOMPARE(child.parent(), root.childAtIndex(1));

        // Moving an item: insert elsewhere takes it out of its old place.
        root.insertChild(root.childAtIndex(2), 0);
        QCOMPARE(labels(root), (QStringList{"Three", "One", "Two"}));
        QCOMPARE(root.childAtIndex(0).index(), 0);

        // An item cannot go below its own descendant.
        child.insertChild(root.childAtIndex(2), 0);
        QCOMPARE(labels(root), (QStringList{"Three", "One", "Two"}));

        root.childAtIndex(1).removeFromParent();
        QCOMPARE(labels(root), (QStringList{"Three", "Two"}));
        QVERIFY(document.write(file));

        QCOMPARE(TestPdf::run("qpdf", {"--check", file}), 0);
        QString json;
        QCOMPARE(TestPdf::run("qpdf", {"--json", "--json-key=outlines", file}, &json), 0);
        QVERIFY2(json.contains("Three") && json.contains("Two"), qPrintable(json));

        const PDFDocument reopened = PDFDocument::open(file);
        const PDFOutline again = reopened.outlineRoot();
        QCOMPARE(labels(again), (QStringList{"Three", "Two"}));
        const PDFOutline two = again.childAtIndex(1);
        QCOMPARE(two.destination().page().index(), 1);
        QCOMPARE(labels(two), QStringList{QStringLiteral("Unterpunkt 子项")});
        QCOMPARE(two.childAtIndex(0).destination().point(), QPointF(10, 500));
        QCOMPARE(two.childAtIndex(0).destination().page().index(), 3);
    }
};

QUIRNA_TEST_MAIN(QGuiApplication, TestPDFOutline)
#include "tst_PDFOutline.moc"
