#include "app/FakeModalSeam.h"
#include "app/PFSidePanel.h"
#include "app/PFWindowController.h"
#include "app/ViewController.h"
#include "editing/PFBasePDFView.h"
#include "editing/PFPageCommands.h"
#include "panels/outline/PFBaseOutlineView.h"
#include "panels/outline/PFOutlineController.h"
#include "panels/outline/PFOutlineEditController.h"
#include "panels/outline/PFOutlineModel.h"
#include "platform/store/UserDefaults.h"
#include "support/TestEnvironment.h"
#include "support/TestPdf.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QTemporaryDir>
#include <QToolButton>
#include <QtTest>

// The Contents tab on a real window: navigation, the editing menu and popover, and the outline
// as other readers see it after a save.
class TestPFOutlineController : public QObject {
    Q_OBJECT

    static QByteArray ref(int object) { return QByteArray::number(object) + " 0 R"; }
    static QByteArray dest(int page) { return "/Dest [" + ref(TestPdf::pageObject(page)) + " /XYZ 0 792 null]"; }

    // Six pages. Chapter 1 (page 1) with three sections, Chapter 2 (page 4), and an entry
    // without destination.
    static QByteArray outlined()
    {
        const int o = TestPdf::firstExtraObject(6);
        const QList<QByteArray> objects{
            "<< /Type /Outlines /First " + ref(o + 1) + " /Last " + ref(o + 3) + " >>",
            "<< /Title (Chapter 1) /Parent " + ref(o) + " /Next " + ref(o + 2) + " /First " + ref(o + 4)
                + " /Last " + ref(o + 6) + " /Count 3 " + dest(0) + " >>",
            "<< /Title (Chapter 2) /Parent " + ref(o) + " /Prev " + ref(o + 1) + " /Next " + ref(o + 3) + ' '
                + dest(3) + " >>",
            "<< /Title (Loose) /Parent " + ref(o) + " /Prev " + ref(o + 2) + " >>",
            "<< /Title (Section 1.1) /Parent " + ref(o + 1) + " /Next " + ref(o + 5) + ' ' + dest(1) + " >>",
            "<< /Title (Section 1.2) /Parent " + ref(o + 1) + " /Prev " + ref(o + 4) + " /Next " + ref(o + 6) + ' '
                + dest(2) + " >>",
            "<< /Title (Section 1.3) /Parent " + ref(o + 1) + " /Prev " + ref(o + 5) + ' ' + dest(2) + " >>",
        };
        return TestPdf::build(pagesOf(6), "/Outlines " + ref(o), objects);
    }

    static QList<TestPdf::Page> pagesOf(int count)
    {
        QList<TestPdf::Page> pages;
        for (int i = 1; i <= count; ++i)
            pages << TestPdf::Page{{QStringLiteral("Page %1").arg(i)}};
        return pages;
    }

    // "Title" lines of `mutool show FILE outline`, each prefixed by its depth in dots.
    static QStringList outlineOf(const QString &file)
    {
        QString text;
        if (TestPdf::run("mutool", {"show", file, "outline"}, &text) != 0)
            return {"mutool failed"};
        QStringList out;
        for (const QString &line : text.split('\n', Qt::SkipEmptyParts)) {
            const int quote = int(line.indexOf('"'));
            const int end = int(line.indexOf('"', quote + 1));
            if (quote < 0 || end < 0)
                continue;
            const int depth = int(line.left(quote).count('\t')) - 1;
            out << QString(depth, '.') + line.mid(quote + 1, end - quote - 1);
        }
        return out;
    }

    void open(const QByteArray &bytes, bool showPanel = true)
    {
        m_path = m_dir->filePath(QStringLiteral("doc.pdf"));
        TestPdf::write(m_path, bytes);
        m_content = std::make_shared<PFContent>();
        m_content->filePath = m_path;
        QVERIFY(m_controller->setRepresentedObject(m_content));
        m_outline = m_controller->outlineController();
        m_tree = m_outline->pfOutlineView();
        if (!showPanel)
            return;
        m_controller->PFExtentClick();
        QTRY_VERIFY(m_controller->sidePanel()->isVisible());
        QVERIFY(m_tree->isVisible());
    }

    QModelIndex rowNamed(const QString &title)
    {
        const QModelIndexList found = m_outline->model()->match(m_outline->model()->index(0, 0), Qt::DisplayRole, title,
                                                               1, Qt::MatchExactly | Qt::MatchRecursive);
        return found.isEmpty() ? QModelIndex() : found.first();
    }

    void clickRow(const QString &title, Qt::MouseButton button = Qt::LeftButton)
    {
        const QModelIndex index = rowNamed(title);
        QVERIFY2(index.isValid(), qPrintable(title));
        m_tree->scrollTo(index);
        QTest::mouseClick(m_tree->viewport(), button, {}, m_tree->visualRect(index).center());
    }

    // Right-clicks the row and picks the menu item with that title.
    void menuCommand(const QString &row, const QString &command)
    {
        clickRow(row, Qt::RightButton);
        QMenu *menu = m_outline->editMenu();
        QVERIFY(menu);
        QTRY_VERIFY(menu->isVisible());
        for (QAction *action : menu->actions())
            if (action->text() == command) {
                QTest::mouseClick(menu, Qt::LeftButton, {}, menu->actionGeometry(action).center());
                // The window is active again before the next gesture, as for a user.
                QTRY_VERIFY(!QApplication::activePopupWidget());
                QVERIFY(QTest::qWaitForWindowActive(m_window));
                return;
            }
        QFAIL(qPrintable("no menu item " + command));
    }

    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<UserDefaults> m_defaults;
    std::unique_ptr<FakeModalSeam> m_seam;
    ViewController *m_controller = nullptr;
    PFWindowController *m_window = nullptr;
    std::shared_ptr<PFContent> m_content;
    PFOutlineController *m_outline = nullptr;
    PFBaseOutlineView *m_tree = nullptr;
    QString m_path;

private slots:
    void init()
    {
        m_dir = std::make_unique<QTemporaryDir>();
        m_defaults = std::make_unique<UserDefaults>(m_dir->filePath(QStringLiteral("prefs.json")));
        m_seam = std::make_unique<FakeModalSeam>();
        m_controller = new ViewController(*m_defaults);
        m_window = new PFWindowController(m_controller);
        m_window->resize(1200, 800);
        m_window->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_window));
    }

    void cleanup()
    {
        delete m_window;
        m_seam.reset();
    }

    void treeLeadsToDestinations()
    {
        open(outlined());
        PFOutlineModel *model = m_outline->model();
        QCOMPARE(model->rowCount(), 3);
        QCOMPARE(model->index(0, PFOutlineModel::PageColumn).data().toString(), QStringLiteral("1"));
        QCOMPARE(model->index(2, PFOutlineModel::PageColumn).data().toString(), QString());
        QVERIFY(model->hasChildren(model->index(0, 0)));
        QSignalSpy backEnabled(m_controller, &ViewController::goBackMenuEnabled);
        clickRow(QStringLiteral("Chapter 2"));
        QCOMPARE(m_controller->pdfView()->currentPage().index(), 3);
        QVERIFY(!backEnabled.isEmpty() && backEnabled.last().at(0).toBool()); // Go > Back is offered
        m_tree->expand(rowNamed(QStringLiteral("Chapter 1")));
        clickRow(QStringLiteral("Section 1.2"));
        QCOMPARE(m_controller->pdfView()->currentPage().index(), 2);
        QCOMPARE(m_outline->pfSelectOutline().label(), QStringLiteral("Section 1.2"));
        m_controller->pdfView()->goBack();
        QCOMPARE(m_controller->pdfView()->currentPage().index(), 3);
        // An entry without destination is selected and moves nothing.
        clickRow(QStringLiteral("Loose"));
        QCOMPARE(m_controller->pdfView()->currentPage().index(), 3);
        QCOMPARE(m_outline->pfSelectOutline().label(), QStringLiteral("Loose"));
    }

    void editsAreSavedInOrder()
    {
        open(outlined());
        menuCommand(QStringLiteral("Chapter 1"), QStringLiteral("添加条目"));
        QCOMPARE(m_outline->pfSelectOutline().label(), QStringLiteral("页面 1"));
        QCOMPARE(m_tree->currentIndex(), rowNamed(QStringLiteral("页面 1")));
        menuCommand(QStringLiteral("Chapter 2"), QStringLiteral("添加子条目"));
        QCOMPARE(m_outline->pfSelectOutline().label(), QStringLiteral("页面 4"));
        QVERIFY(m_tree->isExpanded(rowNamed(QStringLiteral("Chapter 2"))));

        // Rename the new child through its popover, as typed.
        const QModelIndex child = rowNamed(QStringLiteral("页面 4"));
        QTest::mouseClick(m_tree->viewport(), Qt::LeftButton, {}, m_tree->visualRect(child).center());
        QCOMPARE(m_controller->pdfView()->currentPage().index(), 3);
        QTest::qWait(50); // the page change has reached the window
        QTest::mouseDClick(m_tree->viewport(), Qt::LeftButton, {}, m_tree->visualRect(child).center());
        QTRY_VERIFY(m_outline->editPopover());
        PFOutlineEditController *popover = m_outline->editPopover();
        QVERIFY(m_outline->isShowOutlineEditView());
        QCOMPARE(popover->titleField()->text(), QStringLiteral("页面 4"));
        QCOMPARE(popover->pageField()->text(), QStringLiteral("4"));
        QCOMPARE(popover->totalLabel()->text(), QStringLiteral("/6"));
        popover->titleField()->selectAll();
        QTest::keyClicks(popover->titleField(), QStringLiteral("Renamed"));
        QTest::keyClick(popover->titleField(), Qt::Key_Return);
        QTRY_VERIFY(!m_outline->isShowOutlineEditView());
        QVERIFY(m_controller->pdfView()->pfHasChangePDF());

        QVERIFY(m_controller->pfSavePDFFile(m_path));
        QCOMPARE(TestPdf::run("qpdf", {"--check", m_path}), 0);
        QCOMPARE(outlineOf(m_path), (QStringList{"Chapter 1", ".Section 1.1", ".Section 1.2", ".Section 1.3",
                                                 QStringLiteral("页面 1"), "Chapter 2", QStringLiteral(".Renamed"),
                                                 "Loose"}));
    }

    void addAtTheLevelAboveIsForNestedEntriesOnly()
    {
        open(outlined());
        clickRow(QStringLiteral("Chapter 1"), Qt::RightButton);
        QTRY_VERIFY(m_outline->editMenu() && m_outline->editMenu()->isVisible());
        QAction *above = m_outline->editMenu()->actions().at(2);
        QCOMPARE(above->text(), QStringLiteral("添加上一级"));
        QVERIFY(!above->isEnabled());
        m_outline->editMenu()->close();

        m_tree->expand(rowNamed(QStringLiteral("Chapter 1")));
        menuCommand(QStringLiteral("Section 1.2"), QStringLiteral("添加上一级"));
        // After the section's parent, at the top level, pointing at the parent's page.
        const QModelIndex added = rowNamed(QStringLiteral("页面 1"));
        QVERIFY(added.isValid());
        QVERIFY(!added.parent().isValid());
        QCOMPARE(added.row(), 1);
        QCOMPARE(m_outline->pfSelectOutline().destination().page().index(), 0);
    }

    void deleteTakesTheSubtree()
    {
        open(outlined());
        menuCommand(QStringLiteral("Chapter 1"), QStringLiteral("删除"));
        QCOMPARE(m_outline->model()->rowCount(), 2);
        QVERIFY(m_outline->pfSelectOutline().isNull());
        QVERIFY(m_controller->pfSavePDFFile(m_path));
        QCOMPARE(outlineOf(m_path), (QStringList{"Chapter 2", "Loose"}));
    }

    void pageNumberAndSameTitle()
    {
        open(outlined());
        clickRow(QStringLiteral("Loose"));
        const auto edit = [this](const QString &page) {
            QTest::mouseClick(m_tree->viewport(), Qt::LeftButton, {}, m_tree->visualRect(rowNamed(QStringLiteral("Loose"))).center());
        QTest::mouseDClick(m_tree->viewport(), Qt::LeftButton, {}, m_tree->visualRect(rowNamed(QStringLiteral("Loose"))).center());
            QTRY_VERIFY(m_outline->editPopover());
            PFOutlineEditController *popover = m_outline->editPopover();
            QCOMPARE(popover->pageField()->text(), QStringLiteral("1")); // no destination yet
            popover->pageField()->selectAll();
            QTest::keyClicks(popover->pageField(), page);
            QTest::keyClick(popover->pageField(), Qt::Key_Return);
            QTRY_VERIFY(!m_outline->editPopover());
        };
        edit(QStringLiteral("7"));
        QVERIFY(m_outline->pfSelectOutline().destination().isNull());
        QVERIFY(!m_controller->pdfView()->pfHasChangePDF()); // the same title changes nothing
        edit(QStringLiteral("6"));
        QCOMPARE(m_outline->pfSelectOutline().destination().page().index(), 5);
        QVERIFY(m_controller->pdfView()->pfHasChangePDF());
        QCOMPARE(rowNamed(QStringLiteral("Loose")).siblingAtColumn(1).data().toString(), QStringLiteral("6"));
    }

    void pageColumnFollowsDeletedAndMovedPages()
    {
        open(outlined());
        m_tree->expand(rowNamed(QStringLiteral("Chapter 1")));
        const auto pageOf = [this](const QString &title) { return rowNamed(title).siblingAtColumn(1).data().toString(); };
        QCOMPARE(pageOf(QStringLiteral("Chapter 2")), QStringLiteral("4"));
        PFBasePDFView *view = m_controller->pdfView();
        QVERIFY(view->pfPageCommands()->pfDeletePage(view->document().page(1)));
        QCOMPARE(pageOf(QStringLiteral("Chapter 2")), QStringLiteral("3"));
        QCOMPARE(pageOf(QStringLiteral("Section 1.1")), QString()); // its page is gone
        QCOMPARE(pageOf(QStringLiteral("Section 1.2")), QStringLiteral("2"));
        // The row shows what its click does.
        clickRow(QStringLiteral("Chapter 2"));
        QCOMPARE(view->currentPage().index(), 2);
        QVERIFY(view->pfPageCommands()->pfMovePages({view->document().page(2)}, 0));
        QCOMPARE(pageOf(QStringLiteral("Chapter 2")), QStringLiteral("1"));
        QCOMPARE(pageOf(QStringLiteral("Chapter 1")), QStringLiteral("2"));
    }

    void addButtonStartsAnOutline()
    {
        open(TestPdf::build(pagesOf(6)));
        QVERIFY(m_controller->pdfView()->document().outlineRoot().isNull());
        QTest::mouseClick(m_outline->pfAddCatalogButton(), Qt::LeftButton);
        QCOMPARE(m_outline->model()->rowCount(), 1);
        const PDFOutline added = m_outline->pfSelectOutline();
        QCOMPARE(added.label(), QStringLiteral("页面 6"));
        QCOMPARE(added.destination().page().index(), 5);
        QCOMPARE(added.destination().point().y(), 792.0); // the top of the page
        QVERIFY(m_controller->pfSavePDFFile(m_path));
        QCOMPARE(outlineOf(m_path), QStringList{QStringLiteral("页面 6")});
        QCOMPARE(TestPdf::run("qpdf", {"--check", m_path}), 0);
    }

    void savingAfterAnInsertedPageReopensAndClearsTheFlag()
    {
        open(outlined(), false);
        PFBasePDFView *view = m_controller->pdfView();
        QVERIFY(view->pfPageCommands()->pfInsertPage(view->document().page(0), true));
        QVERIFY(view->pfHasInsertPage());

        // The panel asks to save first; "取消" leaves all as it was and the panel closed.
        m_seam->alertAnswer = 1;
        m_controller->PFExtentClick();
        QCOMPARE(m_seam->alerts.back(), QStringLiteral("需要保存后"));
        QVERIFY(m_controller->sidePanel()->isHidden());
        QVERIFY(view->pfHasInsertPage());
        // So does an outline edit.
        QTest::mouseClick(m_outline->pfAddCatalogButton(), Qt::LeftButton);
        QCOMPARE(m_seam->alerts.size(), size_t(2));
        QCOMPARE(m_outline->model()->rowCount(), 3);

        // "保存" saves, opens the file again, and the panel and its edits work from then on.
        m_seam->alertAnswer = 0;
        m_controller->PFExtentClick();
        QVERIFY(!view->pfHasInsertPage());
        QVERIFY(!view->pfHasChangePDF());
        QCOMPARE(view->document().pageCount(), 7);
        QString info;
        QCOMPARE(TestPdf::run("pdfinfo", {m_path}, &info), 0);
        QVERIFY2(info.contains(QRegularExpression("Pages:\\s+7")), qPrintable(info));
        QCOMPARE(m_outline->model()->rowCount(), 3);
        const size_t asked = m_seam->alerts.size();
        m_controller->PFExtentClick();
        QTRY_VERIFY(m_controller->sidePanel()->isVisible());
        QTest::mouseClick(m_outline->pfAddCatalogButton(), Qt::LeftButton);
        QCOMPARE(m_seam->alerts.size(), asked);
        QCOMPARE(m_outline->model()->rowCount(), 4);
    }
};

QUIRNA_TEST_MAIN(QApplication, TestPFOutlineController)
#include "tst_PFOutlineController.moc"
