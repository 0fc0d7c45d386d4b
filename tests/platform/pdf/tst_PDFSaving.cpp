#include "platform/pdf/PDFAnnotation.h"
#include "platform/pdf/PDFDocument.h"
#include "support/TestEnvironment.h"
#include "support/TestPdf.h"

#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QTemporaryDir>
#include <QtTest>

#include <sys/stat.h>

// Saving a document: what bytes end up in the file, and that the file is the one meant.
class TestPDFSaving : public QObject {
    Q_OBJECT
    QTemporaryDir m_dir;
    QString path(const QString &name) const { return m_dir.filePath(name); }
    QString make(const QString &name, const QByteArray &bytes)
    {
        TestPdf::write(path(name), bytes);
        return path(name);
    }
    static QByteArray bytes(const QString &file)
    {
        QFile f(file);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
    // Every object of the file, referenced or not, with its streams decompressed.
    QByteArray everyObjectDecoded(const QString &file, const QString &password = {})
    {
        const QString out = file + ".decoded";
        QStringList args = {"clean", "-d"};
        if (!password.isEmpty())
            args << "-p" << password;
        args << file << out;
        if (TestPdf::run("mutool", args) != 0)
            return {};
        return bytes(out);
    }
    static QString text(const QString &file)
    {
        QString output;
        TestPdf::run("pdftotext", {file, "-"}, &output);
        return output;
    }
    static bool checks(const QString &file, QString *report = nullptr)
    {
        QString output;
        const bool ok = TestPdf::run("qpdf", {"--check", file}, &output) == 0;
        if (report)
            *report = output;
        return ok;
    }
    static QByteArray secretPages()
    {
        TestPdf::Page first, secret, last;
        first.lines = {"Quarterly report"};
        secret.lines = {"SECRET-SALARY-LIST", "Alice 1000"};
        last.lines = {"Appendix"};
        return TestPdf::build({first, secret, last});
    }

private slots:
    void savingOverTheFileAppendsOnlyTheChanges()
    {
        const QString file = make("append.pdf", TestPdf::simple(3));
        const QByteArray original = bytes(file);
        PDFDocument document = PDFDocument::open(file);
        PDFAnnotation square = PDFAnnotation::create(document, "Square", QRectF(100, 100, 80, 60));
        square.setContents("first mark");
        QVERIFY(document.page(0).addAnnotation(square));
        QVERIFY(document.write(file));

        const QByteArray once = bytes(file);
        QVERIFY(once.startsWith(original));
        QVERIFY2(once.size() - original.size() < 16 * 1024, qPrintable(QString::number(once.size() - original.size())));
        QString report;
        QVERIFY2(checks(file, &report), qPrintable(report));

        // Save after save: each update goes after the previous one, and the document, with its
        // handles, keeps working in between.
        PDFAnnotation second = PDFAnnotation::create(document, "Square", QRectF(300, 300, 50, 50));
        second.setContents("second mark");
        QVERIFY(document.page(2).addAnnotation(second));
        square.setBounds(QRectF(120, 120, 80, 60));
        QVERIFY(document.write(file));
        const QByteArray twice = bytes(file);
        QVERIFY(twice.startsWith(once));
        QVERIFY2(checks(file, &report), qPrintable(report));
        QVERIFY(document.write(file)); // nothing new
        QVERIFY(bytes(file).startsWith(twice));
        QVERIFY2(checks(file, &report), qPrintable(report));

        const PDFDocument reopened = PDFDocument::open(file);
        QCOMPARE(reopened.pageCount(), 3);
        QCOMPARE(reopened.page(0).annotations().size(), 1);
        QCOMPARE(reopened.page(0).annotations().first().bounds(), QRectF(120, 120, 80, 60));
        QCOMPARE(reopened.page(2).annotations().first().contents(), QStringLiteral("second mark"));
        QVERIFY(text(file).contains("Page 3"));
        QCOMPARE(QDir(m_dir.path()).entryList({".append.pdf*"}, QDir::Files | QDir::Hidden).size(), 0);
    }

    void removedPageLeavesNoTraceInTheFile()
    {
        const QString file = make("pages.pdf", secretPages());
        QVERIFY(everyObjectDecoded(file).contains("SECRET-SALARY-LIST")); // the check can see it
        PDFDocument document = PDFDocument::open(file);
        const PDFPage secret = document.page(1);
        QVERIFY(document.removePage(1));
        QVERIFY(document.write(file));

        QString report;
        QVERIFY2(checks(file, &report), qPrintable(report));
        QVERIFY(!everyObjectDecoded(file).contains("SECRET-SALARY-LIST"));
        QVERIFY(!text(file).contains("SECRET"));
        QVERIFY(text(file).contains("Appendix"));
        QCOMPARE(PDFDocument::open(file).pageCount(), 2);

        // The open document still has the removed page (an undo step holds it): it can go back
        // and be saved again, and the rewritten file is written whole from then on.
        QVERIFY(!document.insertPage(secret, 1).isNull());
        QVERIFY(document.write(file));
        QVERIFY2(checks(file, &report), qPrintable(report));
        QCOMPARE(PDFDocument::open(file).pageCount(), 3);
        QVERIFY(text(file).contains("SECRET-SALARY-LIST"));
        QVERIFY(document.removePage(1));
        QVERIFY(document.write(file));
        QVERIFY(!everyObjectDecoded(file).contains("SECRET-SALARY-LIST"));
    }

    void removedNoteLeavesNoTraceInTheFile()
    {
        const QString file = make("notes.pdf", TestPdf::simple(2));
        PDFDocument document = PDFDocument::open(file);
        PDFAnnotation note = PDFAnnotation::create(document, "Text", QRectF(72, 600, 20, 20));
        note.setContents("SECRET-NOTE-CONTENTS");
        QVERIFY(document.page(0).addAnnotation(note));
        QVERIFY(document.write(file)); // appended
        QVERIFY(everyObjectDecoded(file).contains("SECRET-NOTE-CONTENTS"));

        QVERIFY(document.page(0).removeAnnotation(note));
        QVERIFY(document.write(file));
        QString report;
        QVERIFY2(checks(file, &report), qPrintable(report));
        QVERIFY(!everyObjectDecoded(file).contains("SECRET-NOTE-CONTENTS"));
        QCOMPARE(PDFDocument::open(file).page(0).annotations().size(), 0);

        // Taken out and put back before the save: nothing to hide, an update is enough.
        const QString other = make("undone.pdf", TestPdf::simple(1));
        PDFDocument second = PDFDocument::open(other);
        PDFAnnotation mark = PDFAnnotation::create(second, "Square", QRectF(10, 10, 30, 30));
        QVERIFY(second.page(0).addAnnotation(mark));
        QVERIFY(second.page(0).removeAnnotation(mark));
        QVERIFY(second.page(0).addAnnotation(mark));
        const QByteArray before = bytes(other);
        QVERIFY(second.write(other));
        QVERIFY(bytes(other).startsWith(before));
        QCOMPARE(PDFDocument::open(other).page(0).annotations().size(), 1);
    }

    void saveAsWritesACompactWholeCopy()
    {
        const QString file = make("source.pdf", TestPdf::simple(4));
        PDFDocument document = PDFDocument::open(file);
        QVERIFY(document.page(1).addAnnotation(PDFAnnotation::create(document, "Circle", QRectF(50, 50, 100, 100))));
        const QString copy = path("copy.pdf");
        QVERIFY(document.write(copy));
        QString report;
        QVERIFY2(checks(copy, &report), qPrintable(report));
        QCOMPARE(TestPdf::run("qpdf", {"--show-xref", copy}, &report), 0);
        QVERIFY2(report.contains("compressed; stream ="), qPrintable(report)); // object streams
        QCOMPARE(PDFDocument::open(copy).page(1).annotations().size(), 1);

        // The copy leaves the document's own file to be updated in place later.
        const QByteArray original = bytes(file);
        QVERIFY(document.write(file));
        QVERIFY(bytes(file).startsWith(original));
        QVERIFY2(checks(file, &report), qPrintable(report));
    }

    void encryptedDocumentStaysEncrypted()
    {
        const QString plain = make("plain.pdf", secretPages());
        const QString file = path("locked.pdf");
        QCOMPARE(TestPdf::run("qpdf", {"--encrypt", "user", "owner", "256", "--", plain, file}), 0);
        PDFDocument document = PDFDocument::open(file);
        QVERIFY(document.unlock("user"));
        QVERIFY(document.page(0).addAnnotation(PDFAnnotation::create(document, "Square", QRectF(10, 10, 50, 50))));
        const QByteArray original = bytes(file);
        QVERIFY(document.write(file));
        QVERIFY(bytes(file).startsWith(original));
        QString report;
        QCOMPARE(TestPdf::run("qpdf", {"--password=user", "--check", file}, &report), 0);
        QVERIFY(TestPdf::run("qpdf", {"--check", file}) != 0); // still needs its password

        QVERIFY(document.removePage(1));
        QVERIFY(document.write(file));
        QCOMPARE(TestPdf::run("qpdf", {"--password=user", "--check", file}, &report), 0);
        QCOMPARE(TestPdf::run("qpdf", {"--password=user", "--show-encryption", file}, &report), 0);
        QVERIFY2(report.contains("R = 6"), qPrintable(report));
        PDFDocument reopened = PDFDocument::open(file);
        QVERIFY(reopened.isLocked());
        QVERIFY(reopened.unlock("user"));
        QCOMPARE(reopened.pageCount(), 2);
        QCOMPARE(reopened.page(0).annotations().size(), 1);
        QVERIFY(!everyObjectDecoded(file, "user").contains("SECRET-SALARY-LIST"));
    }

    void savingThroughALinkWritesTheFileItNames()
    {
        QDir(m_dir.path()).mkdir("real");
        const QString real = make("real/target.pdf", TestPdf::simple(2));
        const QString link = path("link.pdf");
        QVERIFY(QFile::link(real, link));
        QVERIFY(QFile::setPermissions(real, QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup));

        PDFDocument document = PDFDocument::open(link);
        QVERIFY(document.page(0).addAnnotation(PDFAnnotation::create(document, "Square", QRectF(10, 10, 50, 50))));
        QVERIFY(document.write(link));
        QVERIFY(QFileInfo(link).isSymLink());
        QCOMPARE(QFileInfo(link).symLinkTarget(), real);
        QCOMPARE(PDFDocument::open(real).page(0).annotations().size(), 1);
        QCOMPARE(QFile::permissions(real), QFile::ReadOwner | QFile::WriteOwner | QFile::ReadUser | QFile::WriteUser | QFile::ReadGroup);

        // A full rewrite keeps them as well.
        QVERIFY(document.removePage(1));
        QVERIFY(document.write(link));
        QVERIFY(QFileInfo(link).isSymLink());
        QCOMPARE(PDFDocument::open(real).pageCount(), 1);
        QCOMPARE(QFile::permissions(real), QFile::ReadOwner | QFile::WriteOwner | QFile::ReadUser | QFile::WriteUser | QFile::ReadGroup);
        QCOMPARE(QDir(path("real")).entryList(QDir::Files | QDir::Hidden).size(), 1);
    }

    void newFilesFollowTheUmask()
    {
        PDFDocument document = PDFDocument::create();
        QVERIFY(!document.insertNewPage(QRectF(0, 0, 200, 200), 0).isNull());
        const mode_t previous = ::umask(027);
        const QString written = document.writeNew(path("fresh.pdf"), [](const QString &wanted) { return wanted; });
        ::umask(previous);
        QCOMPARE(written, path("fresh.pdf"));
        struct stat info;
        QCOMPARE(::stat(QFile::encodeName(written).constData(), &info), 0);
        QCOMPARE(info.st_mode & 0777, mode_t(0640));
        QVERIFY(checks(written));
    }
};

QUIRNA_TEST_MAIN(QGuiApplication, TestPDFSaving)
#include "tst_PDFSaving.moc"
