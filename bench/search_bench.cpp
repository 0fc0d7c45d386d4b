// Searches a PDF for a word the way the window does, from a search field through the search
// controller into the search page's list.
//   search_bench FILE.pdf WORD first   prints the milliseconds until the first match is listed
//   search_bench FILE.pdf WORD all     runs the search to its end, prints the number of matches
#include "editing/PFBasePDFView.h"
#include "panels/search/PFPageSearchController.h"
#include "panels/search/PFSearchController.h"
#include "platform/pdf/PDFDocument.h"

#include <QAbstractItemModel>
#include <QApplication>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QListView>
#include <QTimer>
#include <cstdio>

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    if (argc < 4) {
        std::fprintf(stderr, "usage: search_bench FILE.pdf WORD first|all\n");
        return 2;
    }
    const bool firstOnly = QByteArray(argv[3]) == "first";
    const PDFDocument document = PDFDocument::open(QString::fromLocal8Bit(argv[1]));
    if (document.isNull())
        return 1;
    PFBasePDFView view;
    view.setDocument(document);
    PFPageSearchController page;
    PFSearchController search(&view, &page);
    search.pfIsPanelClosed = [] { return false; };
    search.pfIsSearchPageShown = [] { return true; };
    QLineEdit field;
    search.pfSetSearchField(&field);

    QElapsedTimer clock;
    int result = 1;
    QObject::connect(page.pfTableView()->model(), &QAbstractItemModel::rowsInserted, &app, [&] {
        if (firstOnly && result != 0) {
            std::printf("%.1f\n", double(clock.nsecsElapsed()) / 1e6);
            result = 0;
            app.quit();
        }
    });
    QObject::connect(&search, &PFSearchController::pfSearchFinished, &app, [&] {
        std::printf("%lld matches\n", static_cast<long long>(page.pfSearchArray().size()));
        result = firstOnly ? 1 : 0;
        app.quit();
    });
    QTimer::singleShot(0, &app, [&] {
        clock.start();
        field.setText(QString::fromLocal8Bit(argv[2]));
    });
    app.exec();
    return result;
}
