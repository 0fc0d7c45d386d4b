#include "support/TestEnvironment.h"
#include "support/TestPdf.h"

#include <QCoreApplication>
#include <QDir>
#include <QImage>
#include <QRegularExpression>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

// The command line as a user runs it: exit codes, one path per line, one error line.
class TestQuirnaTool : public QObject {
    Q_OBJECT
    QTemporaryDir m_dir;
    struct Run {
        int code;
        QStringList out;
        QStringList err;
    };
    Run tool(const QStringList &arguments)
    {
        QProcess process;
        process.setWorkingDirectory(m_dir.path());
        process.start(QCoreApplication::applicationDirPath() + "/../quirna-tool", arguments);
        process.waitForFinished(60000);
        auto lines = [](const QByteArray &bytes) { return QString::fromUtf8(bytes).split('\n', Qt::SkipEmptyParts); };
        return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
                lines(process.readAllStandardOutput()), lines(process.readAllStandardError())};
    }

private slots:
    void commandsPrintWhatTheyWrote()
    {
        TestPdf::write(m_dir.filePath("a.pdf"), TestPdf::simple(3));
        const Run split = tool({"split", "a.pdf", "out", "all"});
        QCOMPARE(split.code, 0);
        QCOMPARE(split.out, QStringList({"out/a-split/Page_1.pdf", "out/a-split/Page_2.pdf", "out/a-split/Page_3.pdf"}));
        QVERIFY(split.err.isEmpty());

        const Run combine = tool({"combine", "out", "a.pdf", "out/a-split/Page_2.pdf"});
        QCOMPARE(combine.code, 0);
        QCOMPARE(combine.out, QStringList({"out/merge.pdf"}));
        QCOMPARE(TestPdf::run("qpdf", {"--check", m_dir.filePath("out/merge.pdf")}), 0);

        const Run protect = tool({"protect", "a.pdf", "a.pdf", "--owner", "x", "--no-print"});
        QCOMPARE(protect.code, 0);
        QCOMPARE(protect.out, QStringList({"./a-1.pdf"})); // never over the existing file

        const Run mark = tool({"watermark", "a.pdf", "m.pdf", "--text", "DRAFT", "--color", "#ff000080", "--pages", "2-3"});
        QCOMPARE(mark.code, 0);
        QCOMPARE(mark.out, QStringList({"m.pdf"}));
        QCOMPARE(tool({"--help"}).code, 0);

        const Run hires = tool({"export", "a.pdf", "x", "png", "2", "--dpi", "150"});
        QCOMPARE(hires.code, 0);
        QCOMPARE(hires.out, QStringList({"x/a-images/Page_2.png"}));
        QCOMPARE(QImage(m_dir.filePath("x/a-images/Page_2.png")).size(), QSize(1275, 1650));
    }

    void pdfUnderAnotherNameIsReadAsPdf()
    {
        for (const char *name : {"doc.xps", "doc.epub", "doc.png", "doc"})
            TestPdf::write(m_dir.filePath(name), TestPdf::simple(2));
        const Run split = tool({"split", "doc.xps", "named", "all"});
        QCOMPARE(split.code, 0);
        QCOMPARE(split.out, QStringList({"named/doc-split/Page_1.pdf", "named/doc-split/Page_2.pdf"}));
        const Run images = tool({"export", "doc.epub", "named", "png"});
        QCOMPARE(images.code, 0);
        QCOMPARE(images.out.size(), 2);
        QCOMPARE(QImage(m_dir.filePath(images.out[1])).size(), QSize(612, 792));
        const Run combine = tool({"combine", "named", "doc.png", "doc"});
        QCOMPARE(combine.code, 0);
        QString info;
        TestPdf::run("pdfinfo", {m_dir.filePath(combine.out.value(0))}, &info);
        QVERIFY2(info.contains(QRegularExpression("Pages:\\s+4\\n")), qPrintable(info));
    }

    void badInputFailsWithOneLine()
    {
        TestPdf::write(m_dir.filePath("b.pdf"), TestPdf::simple(2));
        // A PNG signature and header over garbage: the decoder must say nothing on stderr itself.
        TestPdf::write(m_dir.filePath("damaged.png"), QByteArray("\x89PNG\r\n\x1a\n\0\0\0\rIHDR", 16) + QByteArray(300, 'z'));
        QImage fine(20, 20, QImage::Format_RGB32);
        fine.fill(Qt::red);
        QVERIFY(fine.save(m_dir.filePath("fine.png")));
        const QList<QStringList> bad = {
            {"split", "missing.pdf", "none", "all"},
            {"split", "b.pdf", "none", "9"},
            {"export", "b.pdf", "none", "gif"},
            {"images", "none", "--custom", "12ax40", "x.png"},
            {"images", "none", "--size", "9", "x.png"},
            {"images", "none", "--margin", "-3", "x.png"},
            {"protect", "b.pdf", "p.pdf"},
            {"watermark", "b.pdf", "w.pdf", "--text", "X", "--color", "red"},
            {"watermark", "b.pdf", "w.pdf", "--text", "X", "--pages", "3-1"},
            {"images", "none", "fine.png", "damaged.png"},
            {"export", "b.pdf", "none", "png", "--dpi", "0"},
            {"export", "b.pdf", "none", "png", "--dpi", "many"},
            {"split", "b.pdf", "none", "--by-outline"},
            {"split", "b.pdf", "none", "--by-outline", "0"},
            {"frobnicate"},
        };
        for (const QStringList &arguments : bad) {
            const Run run = tool(arguments);
            QVERIFY2(run.code != 0, qPrintable(arguments.join(' ')));
            QCOMPARE(run.err.size(), 1);
            QVERIFY(run.out.isEmpty());
            if (arguments.contains("damaged.png"))
                QVERIFY2(run.err[0].contains("damaged.png"), qPrintable(run.err[0]));
        }
        QVERIFY(!QFileInfo::exists(m_dir.filePath("none")));
        QVERIFY(!QFileInfo::exists(m_dir.filePath("p.pdf")));
    }
};

QUIRNA_TEST_MAIN(QCoreApplication, TestQuirnaTool)
#include "tst_QuirnaTool.moc"
