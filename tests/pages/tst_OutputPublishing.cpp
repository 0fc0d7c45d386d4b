#include "pages/FreeName.h"
#include "platform/pdf/PDFDocument.h"
#include "platform/system/StagedOutput.h"
#include "support/TestEnvironment.h"
#include "support/TestPdf.h"

#include <QCoreApplication>
#include <QDir>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

// New outputs appear under names nothing else holds, whatever runs at the same time, and what
// killed runs leave behind is cleared by the next run of the same kind.
class TestOutputPublishing : public QObject {
    Q_OBJECT
    QTemporaryDir m_dir;
    QString path(const QString &name) const { return m_dir.filePath(name); }
    QString tool() const { return QCoreApplication::applicationDirPath() + "/../quirna-tool"; }
    static void age(const QString &entry)
    {
        struct timespec times[2] = {{::time(nullptr) - 3600, 0}, {::time(nullptr) - 3600, 0}};
        QCOMPARE(::utimensat(AT_FDCWD, QFile::encodeName(entry).constData(), times, AT_SYMLINK_NOFOLLOW), 0);
    }
    static QStringList visible(const QString &folder) { return QDir(folder).entryList(QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot); }
    static QStringList hidden(const QString &folder)
    {
        QStringList names = QDir(folder).entryList(QDir::Files | QDir::Dirs | QDir::Hidden | QDir::NoDotAndDotDot);
        names.removeIf([](const QString &name) { return !name.startsWith(u'.'); });
        return names;
    }

private slots:
    void concurrentCombinesEachGetTheirOwnFile()
    {
        TestPdf::write(path("a.pdf"), TestPdf::simple(2));
        TestPdf::write(path("b.pdf"), TestPdf::simple(3));
        QDir(m_dir.path()).mkdir("out");
        QList<QProcess *> runs;
        for (int i = 0; i < 4; ++i) {
            auto *process = new QProcess(this);
            process->start(tool(), {"combine", path("out"), path("a.pdf"), path("b.pdf")});
            runs.append(process);
        }
        QStringList printed;
        for (QProcess *process : runs) {
            QVERIFY(process->waitForFinished(60000));
            QCOMPARE(process->exitCode(), 0);
            printed << QString::fromUtf8(process->readAllStandardOutput()).trimmed();
        }
        printed.sort();
        QCOMPARE(printed, QStringList({path("out/merge-1.pdf"), path("out/merge-2.pdf"), path("out/merge-3.pdf"),
                                       path("out/merge.pdf")}));
        for (const QString &file : printed) {
            QCOMPARE(TestPdf::run("qpdf", {"--check", file}), 0);
            QCOMPARE(PDFDocument::open(file).pageCount(), 5);
        }
        QCOMPARE(hidden(path("out")), QStringList());
    }

    void protectedCopiesAndWatermarksKeepWhatIsThere()
    {
        TestPdf::write(path("src.pdf"), TestPdf::simple(2));
        QDir(m_dir.path()).mkdir("keep");
        TestPdf::write(path("keep/out.pdf"), "theirs");
        QStringList printed;
        const QList<QStringList> runs{{"protect", path("src.pdf"), path("keep/out.pdf"), "--user", "u"},
                                      {"watermark", path("src.pdf"), path("keep/out.pdf"), "--text", "DRAFT", "--angle", "0"}};
        for (const QStringList &arguments : runs) {
            QProcess run;
            run.start(tool(), arguments);
            QVERIFY(run.waitForFinished(60000));
            QCOMPARE(run.exitCode(), 0);
            printed << QString::fromUtf8(run.readAllStandardOutput()).trimmed();
        }
        QCOMPARE(printed, QStringList({path("keep/out-1.pdf"), path("keep/out-2.pdf")}));
        QFile theirs(path("keep/out.pdf"));
        QVERIFY(theirs.open(QIODevice::ReadOnly));
        QCOMPARE(theirs.readAll(), QByteArray("theirs"));
        QCOMPARE(TestPdf::run("qpdf", {"--check", "--password=u", printed[0]}), 0);
        QCOMPARE(TestPdf::run("qpdf", {"--check", printed[1]}), 0);
        QString text;
        QCOMPARE(TestPdf::run("pdftotext", {printed[1], "-"}, &text), 0);
        QVERIFY2(text.contains("DRAFT"), qPrintable(text));
        QCOMPARE(hidden(path("keep")), QStringList());
    }

    void aNameTakenAtTheLastMomentIsNotReplaced()
    {
        QDir(m_dir.path()).mkdir("race");
        const QString wanted = path("race/merge.pdf");
        StagedOutput staged(wanted, StagedOutput::Kind::File);
        QVERIFY(staged.isValid());
        QFile out(staged.path());
        QVERIFY(out.open(QIODevice::WriteOnly));
        out.write("ours");
        out.close();
        // The name is vacant when it is chosen, but another process writes there before the rename.
        int asked = 0;
        const QString published = staged.publish([&](const QString &w) {
            if (++asked == 1) {
                TestPdf::write(w, "theirs");
                return w;
            }
            return FreeName::forFile(w);
        });
        QCOMPARE(published, path("race/merge-1.pdf"));
        QFile theirs(wanted), ours(published);
        QVERIFY(theirs.open(QIODevice::ReadOnly) && ours.open(QIODevice::ReadOnly));
        QCOMPARE(theirs.readAll(), QByteArray("theirs"));
        QCOMPARE(ours.readAll(), QByteArray("ours"));
        QCOMPARE(hidden(path("race")), QStringList());
    }

    void leftoversOfKilledRunsAreRemovedByTheNextRun()
    {
        QDir(m_dir.path()).mkdir("split");
        TestPdf::write(path("doc.pdf"), TestPdf::simple(2));
        const QString folder = path("split");
        // A killed split: its hidden folder, untouched for an hour, nobody holding it.
        QDir(folder).mkpath(".doc-split.Ab12Cd");
        TestPdf::write(folder + "/.doc-split.Ab12Cd/Page_1.pdf", "partial");
        age(folder + "/.doc-split.Ab12Cd/Page_1.pdf");
        age(folder + "/.doc-split.Ab12Cd");
        // A run still going: old, but locked.
        QDir(folder).mkpath(".doc-split.Live00");
        age(folder + "/.doc-split.Live00");
        const int live = ::open(QFile::encodeName(folder + "/.doc-split.Live00").constData(), O_RDONLY | O_DIRECTORY);
        QVERIFY(live >= 0);
        QCOMPARE(::flock(live, LOCK_EX), 0);
        // Just made by a run that has not locked it yet, and a staging entry of another kind.
        QDir(folder).mkpath(".doc-split.Fresh0");
        TestPdf::write(folder + "/.other.pdf.Zz9Zz9", "not ours to judge");
        age(folder + "/.other.pdf.Zz9Zz9");

        QProcess run;
        run.start(tool(), {"split", path("doc.pdf"), folder, "all"});
        QVERIFY(run.waitForFinished(60000));
        QCOMPARE(run.exitCode(), 0);
        ::close(live);

        QCOMPARE(visible(folder), QStringList({"doc-split"}));
        QCOMPARE(hidden(folder), QStringList({".doc-split.Fresh0", ".doc-split.Live00", ".other.pdf.Zz9Zz9"}));
        QCOMPARE(QDir(folder + "/doc-split").entryList(QDir::Files), QStringList({"Page_1.pdf", "Page_2.pdf"}));
    }

    void outputFoldersFollowTheUmask()
    {
        TestPdf::write(path("mask.pdf"), TestPdf::simple(1));
        QProcess run;
        run.setProgram("/bin/sh");
        run.setArguments({"-c", "umask 077 && exec \"$0\" split \"$1\" \"$2\" all", tool(), path("mask.pdf"), path("masked")});
        run.start();
        QVERIFY(run.waitForFinished(60000));
        QCOMPARE(run.exitCode(), 0);
        struct stat info;
        QCOMPARE(::stat(QFile::encodeName(path("masked/mask-split")).constData(), &info), 0);
        QCOMPARE(info.st_mode & 0777, mode_t(0700));
        QCOMPARE(::stat(QFile::encodeName(path("masked/mask-split/Page_1.pdf")).constData(), &info), 0);
        QCOMPARE(info.st_mode & 0777, mode_t(0600));
    }
};

QUIRNA_TEST_MAIN(QCoreApplication, TestOutputPublishing)
#include "tst_OutputPublishing.moc"
