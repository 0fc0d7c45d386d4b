#pragma once

#include "app/FakeModalSeam.h"
#include "app/PFWindowController.h"
#include "app/ViewController.h"
#include "editing/EditingViewFixture.h"
#include "editing/PFBasePDFView.h"
#include "platform/store/UserDefaults.h"
#include "support/TestPdf.h"

#include <QTemporaryDir>
#include <QtTest>
#include <memory>

// A shown document window on a fresh file of blank pages, its annotation bar out and the page
// at 100 %: where the Stamp, Image and Sign tools are tried. Modal questions are answered by
// `seam`. Make one in a test's init() and drop it in cleanup().
class AnnotationWindowFixture {
public:
    AnnotationWindowFixture() = default;
    AnnotationWindowFixture(const AnnotationWindowFixture &) = delete;
    AnnotationWindowFixture &operator=(const AnnotationWindowFixture &) = delete;
    ~AnnotationWindowFixture() { delete window; } // before the seam it may still ask

    // False (with the reason logged by QtTest) when the window could not show the file.
    bool open(int pageCount)
    {
        path = dir.filePath(QStringLiteral("doc.pdf"));
        if (!TestPdf::write(path, TestPdf::simple(pageCount)))
            return false;
        controller = new ViewController(defaults);
        window = new PFWindowController(controller);
        window->resize(1200, 900);
        window->show();
        if (!QTest::qWaitForWindowExposed(window))
            return false;
        auto content = std::make_shared<PFContent>();
        content->filePath = path;
        if (!controller->setRepresentedObject(content))
            return false;
        controller->pfShowZhuShiMenu();
        view().setAutoScales(false);
        view().setScaleFactor(1.0);
        return true;
    }

    PFBasePDFView &view() const { return *controller->pdfView(); }
    PDFPage page(int index = 0) const { return view().document().page(index); }

    // A click, as the user makes it, on a page point.
    void clickPage(QPointF p, int index = 0)
    {
        EditingViewFixture::press(view(), page(index), p);
        EditingViewFixture::release(view(), page(index), p);
    }

    QTemporaryDir dir;
    UserDefaults defaults{dir.filePath(QStringLiteral("prefs.json"))};
    FakeModalSeam seam;
    QString path;
    ViewController *controller = nullptr;
    PFWindowController *window = nullptr;
};
