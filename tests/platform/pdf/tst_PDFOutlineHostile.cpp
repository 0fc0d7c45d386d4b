#include "platform/pdf/PDFAction.h"
#include "platform/pdf/PDFAnnotation.h"
#include "platform/pdf/PDFDocument.h"
#include "support/TestEnvironment.h"
#include "support/TestPdf.h"

#include <QGuiApplication>
#include <QTemporaryDir>
#include <QtTest>

// Outlines, destinations and name trees of damaged or unusual files: each shows what it can and
// every walk ends.
class TestPDFOutlineHostile : public QObject {
    Q_OBJECT
    QTemporaryDir m_dir;

    static QStringList labels(const QVector<PDFOutline> &items)
    {
        QStringList out;
        for (const PDFOutline &item : items)
            out << item.label();
        return out;
    }

    static QByteArray ref(int object) { return QByteArray::number(object) + " 0 R"; }

    // Three pages; an outline whose sibling chain loops, whose child points back at its
    // ancestor, with titles in UTF-16 and PDFDocEncoding and one without a title; a name tree
    // whose kids loop; a link to a named destination and one to a name that is nowhere.
    static QByteArray damaged()
    {
        const int o = TestPdf::firstExtraObject(3);
        const QByteArray page0 = ref(TestPdf::pageObject(0)), page2 = ref(TestPdf::pageObject(2));
        QList<TestPdf::Page> pages{{{"One"}}, {{"Two"}}, {{"Three"}}};
        pages[0].extra = "/Annots [" + ref(o + 8) + ' ' + ref(o + 9) + "]";
        const QList<QByteArray> objects{
            "<< /Type /Outlines /First " + ref(o + 1) + " /Last " + ref(o + 3) + " /Count 3 >>",
            "<< /Title (Intro) /Parent " + ref(o) + " /Next " + ref(o + 2) + " /First " + ref(o + 4) + " /Last "
                + ref(o + 4) + " /Dest [" + page0 + " /XYZ 0 792 0] >>",
            "<< /Title <FEFF00E9007400E90020D83DDE00> /Parent " + ref(o) + " /Prev " + ref(o + 1) + " /Next "
                + ref(o + 3) + " /Dest /missing >>",
            // No title; its /Next leads back to the first item; its page does not exist.
            "<< /Parent " + ref(o) + " /Prev " + ref(o + 2) + " /Next " + ref(o + 1) + " /Dest [99 0 R /Fit] >>",
            // PDFDocEncoding: 0xE9 is é, 0x80 the bullet (not a Latin-1 control character).
            "<< /Title (Caf\\351 \\200) /Parent " + ref(o + 1) + " /First " + ref(o + 1) + " /Dest (named) >>",
            // The name tree: a kid whose kid is the tree's root again, then the real leaf.
            "<< /Kids [" + ref(o + 6) + ' ' + ref(o + 7) + "] >>",
            "<< /Kids [" + ref(o + 5) + "] /Limits [(a) (z)] >>",
            "<< /Names [(named) [" + page2 + " /XYZ 0 500 null]] /Limits [(named) (named)] >>",
            "<< /Type /Annot /Subtype /Link /Rect [10 10 60 60] /A << /S /GoTo /D (named) >> >>",
            "<< /Type /Annot /Subtype /Link /Rect [70 10 120 60] /Dest /nowhere >>",
        };
        return TestPdf::build(pages, "/Outlines " + ref(o) + " /Names << /Dests " + ref(o + 5) + " >>", objects);
    }

private slots:
    void loopsEndAndTitlesAreDecoded()
    {
        const PDFDocument document = PDFDocument::openData(damaged());
        QVERIFY(!document.isNull());
        const PDFOutline root = document.outlineRoot();
        QVERIFY(!root.isNull());
        const QVector<PDFOutline> top = root.children();
        // The loop back to the first item ends the chain.
        QCOMPARE(labels(top), (QStringList{"Intro", QStringLiteral("été 😀"), QString()}));
        QCOMPARE(root.numberOfChildren(), 3);
        QCOMPARE(root.childAtIndex(3), PDFOutline());
        QCOMPARE(top[2].index(), 2);

        // A child whose /First points back at its own parent has no children.
        const QVector<PDFOutline> under = top[0].children();
        QCOMPARE(under.size(), 1);
        QCOMPARE(under[0].label(), QStringLiteral("Café •"));
        QVERIFY(under[0].children().isEmpty());

        // Destinations: an explicit one, a name nowhere, a page that does not exist, a name
        // found in a tree that also loops.
        QCOMPARE(top[0].destination().page().index(), 0);
        QVERIFY(top[1].destination().isNull());
        QVERIFY(top[2].destination().isNull());
        const PDFDestination named = under[0].destination();
        QCOMPARE(named.page().index(), 2);
        QCOMPARE(named.point().y(), 500.0);
    }

    void linksToNamedDestinationsResolveOrLeadNowhere()
    {
        const PDFDocument document = PDFDocument::openData(damaged());
        const QVector<PDFAnnotation> links = document.page(0).annotations();
        QCOMPARE(links.size(), 2);
        const PDFAction action = links[0].action();
        const auto *goTo = std::get_if<PDFActionGoTo>(&action);
        QVERIFY(goTo);
        QCOMPARE(goTo->destination.page().index(), 2);
        QVERIFY(std::holds_alternative<std::monostate>(links[1].action()));
    }

    void editingADamagedOutlineKeepsItReadable()
    {
        PDFDocument document = PDFDocument::openData(damaged());
        PDFOutline root = document.outlineRoot();
        PDFOutline item = PDFOutline::create(document);
        item.setLabel(QStringLiteral("Added"));
        item.setDestination(PDFDestination(document.page(1), QPointF(0, 792)));
        root.insertChild(item, 1);
        // An item cannot go under its own descendant.
        const PDFOutline intro = root.children().first();
        intro.children().first().insertChild(intro, 0);
        QCOMPARE(labels(root.children()).mid(0, 2), (QStringList{"Intro", "Added"}));
        const QString file = m_dir.filePath("damaged-edited.pdf");
        QVERIFY(document.write(file));
        QString outline;
        // The edit cut the loops, so other readers walk the outline too.
        QCOMPARE(TestPdf::run("mutool", {"show", file, "outline"}, &outline), 0);
        QVERIFY2(outline.contains("Added") && outline.contains("Intro") && !outline.contains("Cycle"),
                 qPrintable(outline));
        QCOMPARE(TestPdf::run("qpdf", {"--check", file}), 0);
    }

    void twentyThousandItems()
    {
        constexpr int kCount = 20000;
        const int o = TestPdf::firstExtraObject(2);
        QList<QByteArray> objects{"<< /Type /Outlines /First " + ref(o + 1) + " /Last " + ref(o + kCount) + " >>"};
        for (int i = 1; i <= kCount; ++i) {
            QByteArray item = "<< /Title (Entry " + QByteArray::number(i) + ") /Parent " + ref(o) + " /Dest ["
                              + ref(TestPdf::pageObject(i % 2)) + " /Fit]";
            if (i > 1)
                item += " /Prev " + ref(o + i - 1);
            if (i < kCount)
                item += " /Next " + ref(o + i + 1);
            objects << item + " >>";
        }
        const PDFDocument document =
            PDFDocument::openData(TestPdf::build({{{"A"}}, {{"B"}}}, "/Outlines " + ref(o), objects));
        const QVector<PDFOutline> items = document.outlineRoot().children();
        QCOMPARE(items.size(), kCount);
        QCOMPARE(items.last().label(), QStringLiteral("Entry 20000"));
        QCOMPARE(items[4].destination().page().index(), 1);
    }
};

QUIRNA_TEST_MAIN(QGuiApplication, TestPDFOutlineHostile)
#include "tst_PDFOutlineHostile.moc"
