#include "FakePageUi.h"
#include "pages/windows/PFExtractImageController.h"
#include "pages/windows/PFPageExportActions.h"
#include "pages/windows/PFPasswordEditController.h"
#include "pages/windows/PFProtectedCopySaver.h"
#include "pages/windows/PFWatermarkController.h"
#include "platform/pdf/PDFDocument.h"
#include "platform/pdf/PDFOutline.h"
#include "platform/store/UserDefaults.h"
#include "support/TestEnvironment.h"
#include "support/TestPdf.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QImageReader>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QSpinBox>
#include <QtTest>

// The extract, password and watermark dialogs and the single-page export, driven through
// their widgets with the panels answered by the test.
class TestPageDialogs : public QObject {
    Q_OBJECT
    QTemporaryDir m_dir;

    QString make(const QString &name, int pages)
    {
        TestPdf::write(m_dir.filePath(name), TestPdf::simple(pages));
        return m_dir.filePath(name);
    }
    static void click(QWidget *window, const char *name)
    {
        auto *widget = window->findChild<QWidget *>(QLatin1String(name));
        QVERIFY2(widget, name);
        // Check boxes and radio buttons take clicks on their box and title only, at the left.
        const bool toggle = qobject_cast<QCheckBox *>(widget) || qobject_cast<QRadioButton *>(widget);
        QTest::mouseClick(widget, Qt::LeftButton, {}, toggle ? QPoint(6, widget->height() / 2) : widget->rect().center());
    }
    static void type(QWidget *window, const char *name, const QString &text)
    {
        auto *field = window->findChild<QLineEdit *>(QLatin1String(name));
        QVERIFY2(field, name);
        field->clear();
        QTest::keyClicks(field, text);
    }
    // Runs the extract as the document window does and waits for its report.
    void extract(const QString &source, const std::optional<QString> &text, const QString &folder, int format,
                 RecordingDisplay *display)
    {
        QWidget owner;
        const int before = display->messages.size() + display->progressShown;
        PFPageExportActions::pfExtractParameter(&owner, display, source, text, text ? 1 : 0, folder, format);
        QTRY_VERIFY_WITH_TIMEOUT(!display->progress && display->progressShown + display->messages.size() > before, 20000);
    }

private slots:
    void extractDialogRemembersFolderAndChecksTheRange()
    {
        FakePrompts prompts;
        prompts.folder = m_dir.filePath("chosen");
        QDir().mkpath(prompts.folder);
        std::vector<std::tuple<std::optional<QString>, int, QString, int>> calls;
        {
            PFExtractImageController dialog;
            dialog.pfDoneEdit = [&](const std::optional<QString> &text, int kind, const QString &path, int format) {
                calls.emplace_back(text, kind, path, format);
            };
            dialog.show();
            click(&dialog, "pfChooseBtn");
            QCOMPARE(dialog.findChild<QLabel *>("pfSaveLB")->text(), prompts.folder);
            dialog.findChild<QComboBox *>("pfPopUpButton")->setCurrentIndex(2);
            click(&dialog, "pfStartBtn");
            QCOMPARE(calls.size(), size_t(1));
            QCOMPARE(calls[0], std::make_tuple(std::optional<QString>(), 0, prompts.folder, 2));

            click(&dialog, "pfRadioSelect");
            QVERIFY(!dialog.findChild<QRadioButton *>("pfRadioAll")->isChecked());
            click(&dialog, "pfStartBtn"); // empty text: the dialog closes, nothing runs
            QCOMPARE(calls.size(), size_t(1));
            QVERIFY(!dialog.isVisible());
            type(&dialog, "pfPageSelectLB", "2,9");
            click(&dialog, "pfStartBtn");
            QCOMPARE(calls.size(), size_t(2));
            QCOMPARE(calls[1], std::make_tuple(std::optional<QString>("2,9"), 1, prompts.folder, 2));
        }
        PFExtractImageController reopened;
        QCOMPARE(reopened.pfStorePath(), prompts.folder);
        QCOMPARE(reopened.findChild<QLabel *>("pfSaveLB")->text(), prompts.folder);
    }

    void extractDialogOffersTheOutlineSplit()
    {
        FakePrompts prompts;
        std::vector<std::tuple<std::optional<QString>, int, QString, int>> calls;
        PFExtractImageController dialog;
        dialog.pfDoneEdit = [&](const std::optional<QString> &text, int kind, const QString &path, int format) {
            calls.emplace_back(text, kind, path, format);
        };
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        auto *outline = dialog.findChild<QRadioButton *>("pfRadioOutline");
        QVERIFY(!outline->isVisible()); // only for a document with an outline
        dialog.setOutlineAvailable(true);
        QVERIFY(outline->isVisible());
        auto *format = dialog.findChild<QComboBox *>("pfPopUpButton");
        format->setCurrentIndex(1);
        click(&dialog, "pfRadioOutline");
        QVERIFY(!dialog.findChild<QRadioButton *>("pfRadioAll")->isChecked());
        QVERIFY(!format->isEnabled());
        dialog.findChild<QSpinBox *>("pfOutlineLevel")->setValue(2);
        click(&dialog, "pfStartBtn");
        QCOMPARE(calls.size(), size_t(1));
        QCOMPARE(calls[0], std::make_tuple(std::optional<QString>("2"), 2, dialog.pfStorePath(), 0));
        // Escape closes the tool window.
        QTest::keyClick(&dialog, Qt::Key_Escape);
        QVERIFY(!dialog.isVisible());

        // Run as the document window runs it: one file per top-level item.
        RecordingDisplay display;
        const QString source = make("outlined.pdf", 4);
        {
            PDFDocument document = PDFDocument::open(source);
            PDFOutline root = PDFOutline::create(document);
            for (int i = 0; i < 2; ++i) {
                PDFOutline item = PDFOutline::create(document);
                item.setLabel(QString("Chapter %1").arg(i + 1));
                item.setDestination(PDFDestination(document.page(i * 2), QPointF(0, 700)));
                root.insertChild(item, i);
            }
            document.setOutlineRoot(root);
            QVERIFY(document.write(source));
        }
        QWidget owner;
        PFPageExportActions::pfExtractParameter(&owner, &display, source, QString("1"), 2, m_dir.filePath("parts"), 0);
        QTRY_VERIFY_WITH_TIMEOUT(!display.progress && display.progressShown > 0, 20000);
        QCOMPARE(QDir(m_dir.filePath("parts/outlined-split")).entryList(QDir::Files),
                 QStringList({"Chapter 1.pdf", "Chapter 2.pdf"}));
    }

    void extractRunsOffTheGuiThreadAndRefusesEmptyRanges()
    {
        FakePrompts prompts;
        RecordingDisplay display;
        const QString source = make("three.pdf", 3);
        const QString folder = m_dir.filePath("extract");
        extract(source, QString("9"), folder, 0, &display);
        QCOMPARE(display.messages.last(), QString("没有可写入的页面"));
        extract(source, QString("0,abc"), folder, 1, &display);
        QCOMPARE(display.messages.last(), QString("没有可写入的页面"));
        QVERIFY(QDir(folder).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden).isEmpty());
        QVERIFY(prompts.revealed.isEmpty());

        extract(source, QString("2,9"), folder, 1, &display);
        QCOMPARE(QDir(folder + "/three-images").entryList(QDir::Files), QStringList({"Page_2.png"}));
        QCOMPARE(prompts.revealed, QStringList({folder + "/three-images/Page_2.png"}));
        extract(source, std::nullopt, folder, 0, &display);
        QCOMPARE(QDir(folder + "/three-split").entryList(QDir::Files).size(), 3);
    }

    void singlePageExportKeepsUnsavedPage()
    {
        FakePrompts prompts;
        RecordingDisplay display;
        PDFDocument document = PDFDocument::open(make("doc.pdf", 3));
        document.insertNewPage(QRectF(0, 0, 300, 400), 1); // an unsaved edit
        prompts.save = PFPagePrompts::SaveChoice{m_dir.filePath("single.tiff"), 4};
        QWidget owner;
        PFPageExportActions::pfExportThumbPage(&owner, &display, document, 1, "doc");
        QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(m_dir.filePath("single.tiff")) && !display.progress, 20000);
        QImageReader reader(m_dir.filePath("single.tiff"));
        QCOMPARE(reader.format(), QByteArray("tiff"));
        QCOMPARE(reader.size(), QSize(300, 400));
        QVERIFY(prompts.revealed.isEmpty());

        const PFPageResult pdf = PFPageExportActions::pfThumbExportPDFIndex(document, 2, 0, m_dir.filePath("single.pdf"));
        QVERIFY(pdf.ok());
        QCOMPARE(TestPdf::run("qpdf", {"--check", m_dir.filePath("single.pdf")}), 0);
        QVERIFY(PDFDocument::open(m_dir.filePath("single.pdf")).page(0).string().startsWith("Page 2"));
    }

    void savePanelOutputsReplaceOnlyWhatTheUserAgreedTo()
    {
        const PDFDocument document = PDFDocument::open(make("chosen.pdf", 3));
        const QString chosen = m_dir.filePath("export.pdf");
        TestPdf::write(chosen, "old");
        const auto keep = PFPageManager::ExistingFile::KeepIt, replace = PFPageManager::ExistingFile::Replace;
        const auto contents = [](const QString &path) {
            QFile file(path);
            return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
        };
        // A file that appeared after the panel closed is kept; the export takes the next name.
        const PFPageResult kept = PFPageExportActions::pfThumbExportPDFIndex(document, 0, 0, chosen, keep);
        QCOMPARE(kept.written, QStringList({m_dir.filePath("export-1.pdf")}));
        QCOMPARE(contents(chosen), QByteArray("old"));
        QCOMPARE(TestPdf::run("qpdf", {"--check", kept.written[0]}), 0);
        // The file the user agreed to replace is replaced.
        QCOMPARE(PFPageExportActions::pfThumbExportPDFIndex(document, 1, 0, chosen, replace).written, QStringList({chosen}));
        QCOMPARE(TestPdf::run("qpdf", {"--check", chosen}), 0);
        QVERIFY(PDFDocument::open(chosen).page(0).string().startsWith("Page 2"));

        // Several pages as images: their numbered names were never offered, so none is replaced.
        TestPdf::write(m_dir.filePath("shot-1.png"), "old");
        const PFPageResult shots =
            PFPageExportActions::pfThumbExportPDFIndices(document, {0, 2}, 1, m_dir.filePath("shot.png"), replace);
        QCOMPARE(shots.written, QStringList({m_dir.filePath("shot-1-1.png"), m_dir.filePath("shot-3.png")}));
        QCOMPARE(contents(m_dir.filePath("shot-1.png")), QByteArray("old"));
        QCOMPARE(QImageReader(shots.written[0]).format(), QByteArray("png"));

        // The protected copy follows the same rule.
        FakePrompts prompts;
        RecordingDisplay display;
        const QString copy = m_dir.filePath("copy.pdf");
        TestPdf::write(copy, "old");
        prompts.save = PFPagePrompts::SaveChoice{copy, 0, false};
        QWidget owner;
        PFProtectedCopySaver::pfSetPassDoc(&owner, &display, document, "chosen", "pw", QString(), false, false);
        QTRY_VERIFY_WITH_TIMEOUT(!prompts.revealed.isEmpty(), 20000);
        QCOMPARE(prompts.revealed, QStringList({m_dir.filePath("copy-1.pdf")}));
        QCOMPARE(contents(copy), QByteArray("old"));
        prompts.save->replaces = true;
        PFProtectedCopySaver::pfSetPassDoc(&owner, &display, document, "chosen", "pw", QString(), false, false);
        QTRY_VERIFY_WITH_TIMEOUT(prompts.revealed.size() == 2, 20000);
        QCOMPARE(prompts.revealed.last(), copy);
        QCOMPARE(TestPdf::run("qpdf", {"--check", "--password=pw", copy}), 0);
    }

    void passwordDialogAndProtectedCopy()
    {
        FakePrompts prompts;
        RecordingDisplay display;
        int calls = 0;
        QString documentPassword, permissionsPassword;
        bool noCopy = false, noPrint = false;
        PFPasswordEditController dialog;
        dialog.pfDoneEdit = [&](const QString &d, const QString &p, bool copy, bool print) {
            ++calls;
            std::tie(documentPassword, permissionsPassword, noCopy, noPrint) = std::tie(d, p, copy, print);
        };
        dialog.show();
        click(&dialog, "pfSaveHint");
        QCOMPARE(calls, 0);
        QVERIFY(!dialog.isVisible());
        dialog.show();
        type(&dialog, "pfPrintextField", "owner");
        click(&dialog, "pfCopyBtn"); // titled Print
        click(&dialog, "pfSaveHint");
        QCOMPARE(calls, 1);
        QVERIFY(dialog.isVisible());
        QCOMPARE(documentPassword, QString());
        QCOMPARE(permissionsPassword, QString("owner"));
        QVERIFY(noPrint && !noCopy);

        const PDFDocument document = PDFDocument::open(make("secret.pdf", 2));
        const QString target = m_dir.filePath("protected.pdf");
        prompts.save = PFPagePrompts::SaveChoice{target, 0};
        QWidget owner;
        PFProtectedCopySaver::pfSetPassDoc(&owner, &display, document, "secret", documentPassword, permissionsPassword,
                                           noCopy, noPrint);
        QTRY_VERIFY_WITH_TIMEOUT(!prompts.revealed.isEmpty(), 20000);
        QCOMPARE(prompts.revealed, QStringList({target}));
        QString report;
        TestPdf::run("qpdf", {"--show-encryption", target}, &report);
        QVERIFY2(report.contains("print low resolution: not allowed"), qPrintable(report));
        QVERIFY2(report.contains("extract for any purpose: allowed"), qPrintable(report));
        QVERIFY(!document.isEncrypted());
    }

    void watermarkDialogBuildsAndRemembersTheRecord()
    {
        FakePrompts prompts;
        UserDefaults::standard().removeValue("WaterDicKeyPath");
        QList<PFWatermarkModel> applied;
        {
            PFWatermarkController dialog;
            connect(&dialog, &PFWatermarkController::watermarkChanged, this,
                    [&](const PFWatermarkModel &model) { applied << model; });
            dialog.show();
            click(&dialog, "pfStartBtn"); // no text: nothing applies
            QVERIFY(applied.isEmpty());
            QTest::keyClicks(dialog.findChild<QPlainTextEdit *>("pfTextView"), "DRAFT");
            QCOMPARE(applied.last().inputText, QString("DRAFT"));
            QCOMPARE(applied.last().degree, 45.0);
            QCOMPARE(applied.last().fontName, QString("Helvetica"));
            QCOMPARE(applied.last().numType, 1);

            click(&dialog, "pfButton2");
            QCOMPARE(applied.last().degree, -45.0);
            QVERIFY(!dialog.findChild<QRadioButton *>("pfButton1")->isChecked());
            click(&dialog, "pfButton3");
            QCOMPARE(applied.last().degree, 0.0); // an empty custom angle
            type(&dialog, "pfDegreeTextField", "30");
            QCOMPARE(applied.last().degree, 30.0);
            const qsizetype count = applied.size();
            type(&dialog, "pfDegreeTextField", "3x");
            QCOMPARE(applied.size(), count + 2); // cleared (0), then "3"; "3x" is refused
            QCOMPARE(applied.last().degree, 3.0);
            type(&dialog, "pfDegreeTextField", "30");

            prompts.color = QColor(255, 0, 0, 128);
            click(&dialog, "pfColorWell");
            QCOMPARE(applied.last().fontColor, QColor(255, 0, 0, 128));
            click(&dialog, "pfNumCustomButton");
            type(&dialog, "pfNumStartLB", "2");
            type(&dialog, "pfNumEndLB", "3");
            const PFWatermarkModel last = applied.last();
            QCOMPARE(last.numType, 2);
            QCOMPARE(std::make_pair(last.startNum, last.endNum), std::make_pair(2, 3));
            QVERIFY(!last.carriesWatermark(1) && last.carriesWatermark(2) && last.carriesWatermark(3)
                    && !last.carriesWatermark(4));
            dialog.pfItemClick("DejaVu Sans");
            QCOMPARE(applied.last().fontName, QString("DejaVu Sans"));
        }
        const QVariantMap stored = UserDefaults::standard().value("WaterDicKeyPath").toMap();
        QCOMPARE(stored.value("degree").toString(), QString("30"));
        QCOMPARE(stored.value("numType").toString(), QString("2"));
        QCOMPARE(stored.value("fontName").toString(), QString("DejaVu Sans"));
        QCOMPARE(UserDefaults::standard().value("FontTitlePickMenu").toStringList(),
                 QStringList({"DejaVu Sans", "Helvetica"}));

        PFWatermarkController reopened;
        QVERIFY(reopened.findChild<QRadioButton *>("pfButton3")->isChecked());
        QVERIFY(!reopened.findChild<QRadioButton *>("pfButton1")->isChecked());
        QCOMPARE(reopened.findChild<QLineEdit *>("pfDegreeTextField")->text(), QString("30"));
        QVERIFY(reopened.findChild<QRadioButton *>("pfNumCustomButton")->isChecked());
        QCOMPARE(reopened.findChild<QLineEdit *>("pfNumEndLB")->text(), QString("3"));
        QCOMPARE(reopened.color(), QColor(255, 0, 0, 128));
        QCOMPARE(reopened.pfFontTitle(), QString("DejaVu Sans"));
        QCOMPARE(reopened.currentModel()->inputText, QString("DRAFT"));

        // A damaged record is not half-read: the dialog starts afresh.
        QVariantMap damaged = stored;
        damaged.insert("degree", "inf");
        UserDefaults::standard().setValue("WaterDicKeyPath", damaged);
        PFWatermarkController fresh;
        QVERIFY(fresh.findChild<QRadioButton *>("pfButton1")->isChecked());
        QVERIFY(!fresh.currentModel());
    }
};

QUIRNA_TEST_MAIN(QApplication, TestPageDialogs)
#include "tst_PageDialogs.moc"
