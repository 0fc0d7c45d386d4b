#include "FakeModalSeam.h"
#include "app/AppDelegate.h"
#include "app/Document.h"
#include "app/PFDocumentController.h"
#include "app/PFSidePanel.h"
#include "app/PFWindowController.h"
#include "app/ViewController.h"
#include "editing/PFBasePDFView.h"
#include "platform/view/PDFThumbnailView.h"
#include "platform/store/Localization.h"
#include "platform/store/UserDefaults.h"
#include "support/TestEnvironment.h"
#include "support/TestPdf.h"

#include <QAccessible>
#include <QAccessibleInterface>
#include <QApplication>
#include <QLineEdit>
#include <QListView>
#include <QTemporaryDir>
#include <QToolButton>
#include <QtTest>

// What a screen reader finds in a document window: every control it can reach has a name, and
// the side panel's icon row is a tab list of named tabs.
class TestAccessibility : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void cleanupTestCase();
    void everyFocusableControlHasAName();
    void sidePanelTabsAreATabList();
    void searchResultsReadAsTheyShow();
    void thumbnailsAreRowsOfAList();

private:
    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<UserDefaults> m_defaults;
    std::unique_ptr<FakeModalSeam> m_seam;
    std::unique_ptr<AppDelegate> m_app;
    PFWindowController *m_window = nullptr;
    ViewController *m_controller = nullptr;
};

void TestAccessibility::initTestCase()
{
    QAccessible::setActive(true);
    Localization::install(QLocale(QLocale::English, QLocale::UnitedStates));
    m_dir = std::make_unique<QTemporaryDir>();
    m_defaults = std::make_unique<UserDefaults>(m_dir->filePath(QStringLiteral("prefs.json")));
    m_seam = std::make_unique<FakeModalSeam>();
    m_app = std::make_unique<AppDelegate>(*m_defaults);
    const QString path = m_dir->filePath(QStringLiteral("doc.pdf"));
    QVERIFY(TestPdf::write(path, TestPdf::simple(3)));
    m_window = m_app->documentController()->openDocument(path, true)->windowController();
    m_controller = m_window->contentViewController();
    m_window->resize(1100, 760);
    m_window->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_window));
    // Everything a window can show at once: the side panel and the annotation bar.
    m_window->pdfExtentClick();
    QTest::mouseClick(m_window->pfEditBtn(), Qt::LeftButton);
}

void TestAccessibility::cleanupTestCase()
{
    m_app.reset();
    m_seam.reset();
}

void TestAccessibility::everyFocusableControlHasAName()
{
    // Each side panel page in turn, so the widgets of every page are walked.
    QStringList unnamed;
    int walked = 0;
    for (int page = 0; page < PFSidePanel::PageCount; ++page) {
        m_controller->pdSegmentClick(page);
        for (QWidget *widget : m_window->findChildren<QWidget *>()) {
            if (!widget->isVisibleTo(m_window) || widget->focusPolicy() == Qt::NoFocus || !widget->isEnabled())
                continue;
            ++walked;
            QAccessibleInterface *accessible = QAccessible::queryAccessibleInterface(widget);
            const QString name = accessible ? accessible->text(QAccessible::Name) : QString();
            if (name.trimmed().isEmpty())
                unnamed << QStringLiteral("%1 \"%2\"").arg(QString::fromLatin1(widget->metaObject()->className()),
                                                           widget->objectName());
        }
    }
    QVERIFY(walked > 20);
    unnamed.removeDuplicates();
    QVERIFY2(unnamed.isEmpty(), qPrintable(unnamed.join(QStringLiteral(", "))));
}

void TestAccessibility::sidePanelTabsAreATabList()
{
    PFSidePanel *panel = m_controller->sidePanel();
    QWidget *row = panel->tab(0)->parentWidget();
    QAccessibleInterface *list = QAccessible::queryAccessibleInterface(row);
    QVERIFY(list);
    QCOMPARE(list->role(), QAccessible::PageTabList);
    QStringList names;
    for (int i = 0; i < PFSidePanel::PageCount; ++i) {
        QAccessibleInterface *tab = QAccessible::queryAccessibleInterface(panel->tab(i));
        QCOMPARE(tab->role(), QAccessible::PageTab);
        QCOMPARE(tab->parent(), list);
        names << tab->text(QAccessible::Name);
    }
    QCOMPARE(names, (QStringList{QStringLiteral("Table of Contents"), QStringLiteral("Highlights and Notes"),
                                 QStringLiteral("Thumbnails"), QStringLiteral("Bookmarks"), QStringLiteral("Search")}));

    // The selected tab says so, and pressing a tab through the reader switches the page.
    m_controller->pdSegmentClick(PFSidePanel::Thumbnails);
    QVERIFY(QAccessible::queryAccessibleInterface(panel->tab(PFSidePanel::Thumbnails))->state().selected);
    QVERIFY(!QAccessible::queryAccessibleInterface(panel->tab(PFSidePanel::Outline))->state().selected);
    QAccessibleActionInterface *press =
        QAccessible::queryAccessibleInterface(panel->tab(PFSidePanel::Bookmarks))->actionInterface();
    QVERIFY(press);
    press->doAction(QAccessibleActionInterface::pressAction());
    QCOMPARE(panel->selectedTab(), int(PFSidePanel::Bookmarks));
}

void TestAccessibility::searchResultsReadAsTheyShow()
{
    QTest::keyClicks(m_window->pfSearchField(), QStringLiteral("Page 2"));
    QListView *list = m_controller->sidePanel()->page(PFSidePanel::Search)->findChild<QListView *>();
    QVERIFY(list);
    QTRY_COMPARE(list->model()->rowCount(), 1);
    QAccessibleInterface *accessible = QAccessible::queryAccessibleInterface(list);
    QVERIFY(accessible);
    QVERIFY(accessible->childCount() >= 1);
    QString rows;
    for (int i = 0; i < accessible->childCount(); ++i)
        rows += accessible->child(i)->text(QAccessible::Name) + QLatin1Char('|');
    QVERIFY2(rows.contains(QStringLiteral("Page 2: Page 2")), qPrintable(rows));
}

void TestAccessibility::thumbnailsAreRowsOfAList()
{
    m_controller->pdSegmentClick(PFSidePanel::Thumbnails);
    PDFThumbnailView *thumbnails = m_controller->sidePanel()->thumbnailView();
    QAccessibleInterface *list = QAccessible::queryAccessibleInterface(thumbnails);
    QVERIFY(list);
    QCOMPARE(list->role(), QAccessible::List);
    QCOMPARE(list->childCount(), 3);
    QVERIFY(!list->child(3) && !list->child(-1));
    QStringList names;
    for (int i = 0; i < list->childCount(); ++i) {
        QAccessibleInterface *row = list->child(i);
        QCOMPARE(row->role(), QAccessible::ListItem);
        QCOMPARE(row->parent(), list);
        QCOMPARE(list->indexOfChild(row), i);
        QVERIFY(row->state().selectable);
        names << row->text(QAccessible::Name);
    }
    QCOMPARE(names, (QStringList{QStringLiteral("Page 1"), QStringLiteral("Page 2"), QStringLiteral("Page 3")}));
    // The same row each time it is asked for, so a reader can keep it.
    QCOMPARE(list->child(1), list->child(1));

    // A click on the third thumbnail: that row alone says it is selected, and it is found
    // where it is shown on screen.
    const QRect third = thumbnails->thumbnailRect(2);
    QTest::mouseClick(thumbnails->viewport(), Qt::LeftButton, {}, third.center());
    QVERIFY(list->child(2)->state().selected);
    QVERIFY(!list->child(0)->state().selected && !list->child(1)->state().selected);
    QVERIFY(list->child(2)->state().focused);
    QCOMPARE(list->focusChild(), list->child(2));
    const QPoint onScreen = thumbnails->viewport()->mapToGlobal(third.center());
    QVERIFY(list->child(2)->rect().contains(onScreen));
    QCOMPARE(list->childAt(onScreen.x(), onScreen.y()), list->child(2));

    // Pressing a row through the reader selects its page, as a click does.
    QAccessibleActionInterface *press = list->child(0)->actionInterface();
    QVERIFY(press);
    press->doAction(QAccessibleActionInterface::pressAction());
    QVERIFY(list->child(0)->state().selected && !list->child(2)->state().selected);
    QCOMPARE(m_controller->pdfView()->currentPage().index(), 0);
}

QUIRNA_TEST_MAIN(QApplication, TestAccessibility)
#include "tst_Accessibility.moc"
