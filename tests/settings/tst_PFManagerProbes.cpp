#include "settings/PFManager.h"
#include "support/TestEnvironment.h"

#include <QCoreApplication>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

namespace {

// A PDF file with a correct cross-reference table; object 1 is the catalogue.
QByteArray buildPdf(const QList<QByteArray> &objects)
{
    QByteArray pdf = "%PDF-1.4\n%\xe2\xe3\xcf\xd3\n";
    QList<qsizetype> offsets;
    for (int i = 0; i < objects.size(); ++i) {
        offsets << pdf.size();
        pdf += QByteArray::number(i + 1) + " 0 obj\n" + objects[i] + "\nendobj\n";
    }
    const qsizetype xref = pdf.size();
    const QByteArray size = QByteArray::number(objects.size() + 1);
    pdf += "xref\n0 " + size + "\n0000000000 65535 f \n";
    for (const qsizetype offset : offsets)
        pdf += QByteArray::number(offset).rightJustified(10, '0') + " 00000 n \n";
    pdf += "trailer\n<< /Size " + size + " /Root 1 0 R >>\nstartxref\n" + QByteArray::number(xref) + "\n%%EOF\n";
    return pdf;
}

QByteArray pdfWithPages(int count)
{
    QList<QByteArray> objects = {"<< /Type /Catalog /Pages 2 0 R >>", QByteArray()};
    QByteArray kids;
    for (int i = 0; i < count; ++i) {
        kids += QByteArray::number(3 + i) + " 0 R ";
        // The first page's crop box differs from its media box, so the right box is checked.
        objects << (i == 0 ? "<< /Type /Page /Parent 2 0 R /MediaBox [0 0 612 792] /CropBox [10 20 300 400] >>"
                           : "<< /Type /Page /Parent 2 0 R /MediaBox [0 0 200 200] >>");
    }
    objects[1] = "<< /Type /Pages /Kids [" + kids + "] /Count " + QByteArray::number(count) + " >>";
    return buildPdf(objects);
}

} // namespace

class TestPFManagerProbes : public QObject {
    Q_OBJECT

private:
    QTemporaryDir m_dir;

    QString fixture(const QString &name) const { return m_dir.filePath(name); }
    void write(const QString &name, const QByteArray &bytes) const
    {
        QFile file(fixture(name));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    }
    void encrypt(const QString &from, const QString &to, const QString &userPassword) const
    {
        QProcess qpdf;
        qpdf.start(QStringLiteral("qpdf"), {QStringLiteral("--encrypt"), userPassword, QStringLiteral("owner"),
                                            QStringLiteral("256"), QStringLiteral("--"), fixture(from), fixture(to)});
        QVERIFY2(qpdf.waitForFinished() && qpdf.exitCode() == 0, "qpdf could not encrypt the fixture");
    }

private slots:
    void initTestCase()
    {
        write(QStringLiteral("one.pdf"), pdfWithPages(1));
        write(QStringLiteral("three.pdf"), pdfWithPages(3));
        write(QStringLiteral("none.pdf"), pdfWithPages(0));
        write(QStringLiteral("garbage.pdf"), QByteArray("%PDF-1.4\nthis is not a document\n").repeated(40));
        encrypt(QStringLiteral("one.pdf"), QStringLiteral("locked.pdf"), QStringLiteral("secret"));
        encrypt(QStringLiteral("one.pdf"), QStringLiteral("owner-only.pdf"), QString());
        encrypt(QStringLiteral("none.pdf"), QStringLiteral("locked-none.pdf"), QStringLiteral("secret"));
    }

    void probes_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<int>("pageCount");
        QTest::addColumn<QRectF>("rect");
        QTest::addColumn<int>("validity");
        QTest::addColumn<int>("documentPages"); // -1: no document
        const QRectF crop(10, 20, 290, 380);
        QTest::newRow("one page") << "one.pdf" << 1 << crop << int(PDFProbe::Usable) << 1;
        QTest::newRow("three pages") << "three.pdf" << 3 << crop << int(PDFProbe::Usable) << 3;
        QTest::newRow("no pages") << "none.pdf" << 0 << QRectF() << int(PDFProbe::NoPages) << -1;
        QTest::newRow("garbage") << "garbage.pdf" << 0 << QRectF() << int(PDFProbe::CannotOpen) << -1;
        QTest::newRow("missing") << "missing.pdf" << 0 << QRectF() << int(PDFProbe::CannotOpen) << -1;
        QTest::newRow("needs a password") << "locked.pdf" << 0 << QRectF() << int(PDFProbe::Encrypted) << -1;
        // Opens without a password, yet it is encrypted.
        QTest::newRow("owner password only") << "owner-only.pdf" << 1 << crop << int(PDFProbe::Encrypted) << 1;
        // The encryption test comes before the page count.
        QTest::newRow("encrypted, no pages") << "locked-none.pdf" << 0 << QRectF() << int(PDFProbe::Encrypted) << -1;
    }

    void probes()
    {
        QFETCH(QString, name);
        QFETCH(int, pageCount);
        QFETCH(QRectF, rect);
        QFETCH(int, validity);
        QFETCH(int, documentPages);
        const QString path = fixture(name);
        QCOMPARE(PFManager::pfGetPDFPageCount(path), pageCount);
        QCOMPARE(PFManager::pfGetPDFRect(path), rect);
        QCOMPARE(int(PFManager::pfCheckPDFValid(path)), validity);
        const PDFDocument document = PFManager::pfGetPDFDocumentRef(path);
        QCOMPARE(document.isNull(), documentPages < 0);
        if (!document.isNull())
            QCOMPARE(document.pageCount(), documentPages);
    }
};

QUIRNA_TEST_MAIN(QCoreApplication, TestPFManagerProbes)
#include "tst_PFManagerProbes.moc"
