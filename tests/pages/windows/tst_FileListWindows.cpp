#include "FakePageUi.h"
#include "pages/windows/PFCombineViewController.h"
#include "pages/windows/PFDragListView.h"
#include "pages/windows/PFImageToPDFController.h"
#include "platform/pdf/PDFDocument.h"
#include "platform/pdf/PDFOutline.h"
#include "platform/store/UserDefaults.h"
#include "support/TestEnvironment.h"
#include "support/TestPdf.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QLineEdit>
#include <QMimeData>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QtTest>

// The combine and images-to-PDF windows, driven through their widgets.
class TestFileListWindows : public QObject {
    Q_OBJECT
    QTemporaryDir m_dir;

    QString make(const QString &name, int pages)
    {
        const QString path = m_dir.filePath(name);
        QDir().mkpath(QFileInfo(path).absolutePath());
        TestPdf::write(path, TestPdf::simple(pages));
        return path;
    }
    QString makeImage(const QString &name, QSize size)
    {
        QImage image(size, QImage::Format_RGB32);
        image.fill(Qt::darkCyan);
        image.save(m_dir.filePath(name));
        return m_dir.filePath(name);
    }
    static RecordingDisplay *record(PFFileListWindow &window)
    {
        auto display = std::make_unique<RecordingDisplay>();
        RecordingDisplay *raw = display.get();
        window.setStatusDisplay(std::move(display));
        return raw;
    }
    static QStringList names(PFDragListView *list)
    {
        QStringList result;
        for (int row = 0; row < list->count(); ++row)
            result << list->item(row)->text();
        return result;
    }
    // An internal drag of `row` dropped at `target` (a viewport position), as Qt delivers it.
    static bool dropRow(PFDragListView *list, int row, QPoint target)
    {
        std::unique_ptr<QMimeData> data(list->model()->mimeData({list->model()->index(row, 0)}));
        QDragEnterEvent enter(target, Qt::MoveAction, data.get(), Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(list->viewport(), &enter);
        QDropEvent drop(QPointF(target), Qt::MoveAction, data.get(), Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(list->viewport(), &drop);
        return drop.isAccepted();
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

private slots:
    void init() { UserDefaults::standard().setValue("CombineDragPathSave", m_dir.filePath("out")); }

    void dropOfFolderTakesPdfsOnly()
    {
        make("drop/a.pdf", 1);
        make("drop/b.PDF", 1);
        make("drop/sub/e.Pdf", 1);
        make("drop/.d.pdf", 1);
        TestPdf::write(m_dir.filePath("drop/c.txt"), "text");
        PFCombineViewController window;
        RecordingDisplay *display = record(window);
        window.show();
        QVERIFY(!window.pfDragFileURL({m_dir.filePath("drop/c.txt")}));
        QCOMPARE(display->messages, QStringList({"不支持此文件格式"}));
        QCOMPARE(window.listView()->count(), 0);

        QVERIFY(window.pfDragFileURL({m_dir.filePath("drop")}));
        QVERIFY(display->progress);
        QTRY_VERIFY(!window.isBusy());
        QVERIFY(!display->progress);
        QCOMPARE(names(window.listView()), QStringList({"a", "b", "e"}));
        QVERIFY(!window.listView()->item(0)->icon().isNull());
    }

    void faultyAndEncryptedFilesAreLeftOut()
    {
        const QString plain = make("enc/plain.pdf", 2);
        const QString locked = m_dir.filePath("enc/locked.pdf");
        QCOMPARE(TestPdf::run("qpdf", {"--encrypt", "", "owner", "256", "--", plain, locked}), 0);
        TestPdf::write(m_dir.filePath("enc/broken.pdf"), "not a pdf");
        PFCombineViewController window;
        RecordingDisplay *display = record(window);
        window.pfDragFileURL({plain, locked, m_dir.filePath("enc/broken.pdf")});
        QTRY_VERIFY(!window.isBusy());
        QCOMPARE(names(window.listView()), QStringList({"plain"}));
        QCOMPARE(display->messages, QStringList({"locked.pdf 已加密，无法处理", "broken.pdf 有误，无法处理"}));
    }

    void dragReordersAndRefusesPastTheEnd()
    {
        PFCombineViewController window;
        record(window);
        window.show();
        window.pfDragFileURL({make("r/A.pdf", 1), make("r/B.pdf", 1), make("r/C.pdf", 1)});
        QTRY_COMPARE(window.listView()->count(), 3);
        PFDragListView *list = window.listView();
        QVERIFY(QTest::qWaitForWindowExposed(&window));

        QVERIFY(dropRow(list, 0, list->visualItemRect(list->item(2)).center()));
        QCOMPARE(names(list), QStringList({"B", "C", "A"}));
        // Past the last entry: refused, nothing moves.
        QVERIFY(!dropRow(list, 2, list->viewport()->rect().bottomRight() - QPoint(2, 2)));
        QCOMPARE(names(list), QStringList({"B", "C", "A"}));
        // The delete mark removes its entry.
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->deleteMarkRect(1).center());
        QCOMPARE(names(list), QStringList({"B", "A"}));
    }

    void combineWritesMergeThenMerge1()
    {
        FakePrompts prompts;
        PFCombineViewController window;
        RecordingDisplay *display = record(window);
        window.pfDragFileURL({make("m/three.pdf", 3)});
        QTRY_VERIFY(!window.isBusy());
        click(&window, "pfCombineBtn"); // one entry: nothing happens
        QVERIFY(!window.isBusy());
        QVERIFY(!QFile::exists(m_dir.filePath("out/merge.pdf")));

        window.pfDragFileURL({make("m/two.pdf", 2)});
        QTRY_VERIFY(!window.isBusy());
        QVERIFY(window.listView()->moveEntry(1, 0)); // two, then three
        QSignalSpy finished(&window, &PFFileListWindow::finished);
        click(&window, "pfCombineBtn");
        QVERIFY(finished.wait(20000));
        const QString first = m_dir.filePath("out/merge.pdf");
        QCOMPARE(window.pfFinalSavePath(), first);
        QCOMPARE(prompts.revealed, QStringList({first}));
        QCOMPARE(display->messages.last(), QString("转换成功"));
        QVERIFY(!display->progress);
        QCOMPARE(TestPdf::run("qpdf", {"--check", first}), 0);
        const PDFDocument merged = PDFDocument::open(first);
        QCOMPARE(merged.pageCount(), 5);
        QVERIFY(merged.page(0).string().startsWith("Page 1"));
        QVERIFY(merged.page(2).string().startsWith("Page 1")); // three.pdf starts after two.pdf's 2 pages
        QCOMPARE(merged.outlineRoot().numberOfChildren(), 2);
        QCOMPARE(merged.outlineRoot().childAtIndex(0).label(), QString("two"));

        click(&window, "pfCombineBtn");
        QVERIFY(finished.wait(20000));
        QCOMPARE(window.pfFinalSavePath(), m_dir.filePath("out/merge-1.pdf"));
        QCOMPARE(PDFDocument::open(window.pfFinalSavePath()).pageCount(), 5);
    }

    void imageParametersAreCheckedAndRemembered()
    {
        FakePrompts prompts;
        UserDefaults::standard().removeValue(PFImageToPDFController::parametersKey);
        const QString folder = m_dir.filePath("images-out");
        UserDefaults::standard().setValue("CombineDragPathSave", folder);
        {
            PFImageToPDFController window;
            RecordingDisplay *display = record(window);
            window.show();
            window.pfDragFileURL({makeImage("photo.JPG", {100, 200})});
            QTRY_VERIFY(!window.isBusy());
            QCOMPARE(window.listView()->count(), 1);
            click(&window, "pfCusButton");
            QVERIFY(!window.findChild<QRadioButton *>("pfLetterButton")->isChecked());
            type(&window, "pfHeightLB", "500");
            for (const QString &width : {QString("12a"), QString("0"), QString()}) {
                type(&window, "pfWidthLB", width);
                click(&window, "pfCombineBtn");
                QCOMPARE(display->messages.last(), QString("参数有误"));
                QVERIFY(!window.isBusy());
            }
            QVERIFY(!UserDefaults::standard().contains(PFImageToPDFController::parametersKey));
            QVERIFY(!QFile::exists(folder + "/merge.pdf"));

            type(&window, "pfWidthLB", "300");
            window.findChild<QComboBox *>("pfComboBox")->setCurrentText(QString());
            QSignalSpy finished(&window, &PFFileListWindow::finished);
            click(&window, "pfCombineBtn");
            QVERIFY(finished.wait(20000));
            QCOMPARE(display->messages.last(), QString("拼接成功"));
        }
        QCOMPARE(TestPdf::run("qpdf", {"--check", folder + "/merge.pdf"}), 0);
        const PDFDocument written = PDFDocument::open(folder + "/merge.pdf");
        QCOMPARE(written.page(0).bounds(PDFDisplayBox::MediaBox), QRectF(0, 0, 300, 500));
        const QVariantMap stored = UserDefaults::standard().value(PFImageToPDFController::parametersKey).toMap();
        QCOMPARE(stored.value("sizeType").toString(), QString("2"));
        QVERIFY(stored.contains("paddingT"));
        QCOMPARE(stored.value("paddingT").toString(), QString());

        PFImageToPDFController reopened;
        QVERIFY(reopened.findChild<QRadioButton *>("pfCusButton")->isChecked());
        QCOMPARE(reopened.findChild<QLineEdit *>("pfWidthLB")->text(), QString("300"));
        QCOMPARE(reopened.findChild<QLineEdit *>("pfHeightLB")->text(), QString("500"));
    }

    void standardSizeIsRemembered()
    {
        FakePrompts prompts;
        {
            PFImageToPDFController window;
            record(window);
            window.show();
            window.pfDragFileURL({makeImage("wide.png", {1000, 500})});
            QTRY_VERIFY(!window.isBusy());
            click(&window, "pfLetterButton");
            window.findChild<QComboBox *>("pfLetterPopUpButton")->setCurrentIndex(7);
            window.findChild<QComboBox *>("pfComboBox")->setCurrentText("0");
            QSignalSpy finished(&window, &PFFileListWindow::finished);
            click(&window, "pfCombineBtn");
            QVERIFY(finished.wait(20000));
            const PDFDocument written = PDFDocument::open(window.pfFinalSavePath());
            QCOMPARE(written.page(0).bounds(PDFDisplayBox::MediaBox), QRectF(0, 0, 595, 842));
        }
        PFImageToPDFController reopened;
        QVERIFY(reopened.findChild<QRadioButton *>("pfLetterButton")->isChecked());
        QCOMPARE(reopened.findChild<QComboBox *>("pfLetterPopUpButton")->currentIndex(), 7);
        QCOMPARE(reopened.findChild<QComboBox *>("pfComboBox")->currentText(), QString("0"));
    }

    void filesAndFoldersAreAddedByButtonsAndRemovedByKey()
    {
        FakePrompts prompts;
        PFCombineViewController window;
        record(window);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        prompts.files = {make("add/one.pdf", 1)};
        click(&window, "pfAddBtn");
        QTRY_COMPARE(names(window.listView()), QStringList({"one"}));
        // The buttons keep working once the list has entries; a folder is walked with its subfolders.
        make("add/folder/two.pdf", 1);
        make("add/folder/deeper/three.pdf", 1);
        prompts.folder = m_dir.filePath("add/folder");
        click(&window, "pfAddFolderBtn");
        QTRY_COMPARE(names(window.listView()), QStringList({"one", "three", "two"}));

        PFDragListView *list = window.listView();
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(list->item(1)).center());
        QCOMPARE(list->currentRow(), 1);
        QTest::keyClick(list, Qt::Key_Delete);
        QCOMPARE(names(list), QStringList({"one", "two"}));

        QTest::keyClick(list, Qt::Key_Escape);
        QVERIFY(!window.isVisible());
    }

    void imagesAreDecodedWhenAddedAndBadOnesNamed()
    {
        PFImageToPDFController window;
        RecordingDisplay *display = record(window);
        const QString jp2 = m_dir.filePath("img/shot.jp2");
        QDir().mkpath(m_dir.filePath("img"));
        QCOMPARE(TestPdf::run("convert", {"-size", "80x40", "xc:red", jp2}), 0);
        TestPdf::write(m_dir.filePath("img/broken.png"), QByteArray("\x89PNG\r\n\x1a\n", 8) + QByteArray(100, 'q'));
        window.pfDragFileURL({jp2, m_dir.filePath("img/broken.png")});
        QTRY_VERIFY(!window.isBusy());
        QCOMPARE(names(window.listView()), QStringList({"shot"}));
        QCOMPARE(display->messages, QStringList({"broken.png 有误，无法处理"}));
        // The thumbnail of a JPEG 2000 file is drawn: red, in the file's proportions.
        const QImage thumbnail = window.listView()->item(0)->icon().pixmap(120, 120).toImage();
        QVERIFY(!thumbnail.isNull());
        QCOMPARE(thumbnail.pixelColor(thumbnail.width() / 2, thumbnail.height() / 2), QColor(Qt::red));
    }
};

QUIRNA_TEST_MAIN(QApplication, TestFileListWindows)
#include "tst_FileListWindows.moc"
