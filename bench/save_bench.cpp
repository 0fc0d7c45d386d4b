// Saves a PDF over itself through the engine layer, as the Save command does, and reports the
// time the save took and how much the file grew.
//   save_bench annot FILE     one rectangle added to page 1
//   save_bench delete FILE N  page N (1-based) deleted
#include "platform/pdf/PDFAnnotation.h"
#include "platform/pdf/PDFDocument.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFileInfo>
#include <cstdio>

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() < 3 || (args[1] != QStringLiteral("annot") && args[1] != QStringLiteral("delete"))) {
        std::fprintf(stderr, "usage: save_bench annot FILE | save_bench delete FILE PAGE\n");
        return 2;
    }
    const QString file = args[2];
    const qint64 before = QFileInfo(file).size();
    PDFDocument document = PDFDocument::open(file);
    if (document.isNull() || document.pageCount() < 2)
        return 1;
    if (args[1] == QStringLiteral("annot")) {
        PDFAnnotation square = PDFAnnotation::create(document, QStringLiteral("Square"), QRectF(100, 100, 200, 150));
        if (square.isNull() || !document.page(0).addAnnotation(square))
            return 1;
    } else if (args.size() < 4 || !document.removePage(args[3].toInt() - 1)) {
        return 1;
    }
    QElapsedTimer timer;
    timer.start();
    if (!document.write(file))
        return 1;
    const qint64 ms = timer.elapsed();
    std::printf("ms=%lld growth=%lld size=%lld\n", static_cast<long long>(ms),
                static_cast<long long>(QFileInfo(file).size() - before), static_cast<long long>(QFileInfo(file).size()));
    return 0;
}
