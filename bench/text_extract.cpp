// Extracts the text of every page of a PDF through the engine layer, as a whole process.
#include "platform/pdf/PDFBulkText.h"

#include <QCoreApplication>
#include <cstdio>

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: text_extract FILE.pdf\n");
        return 2;
    }
    const QStringList pages = PDFBulkText::textOfAllPages(QString::fromLocal8Bit(argv[1]));
    qint64 characters = 0;
    for (const QString &page : pages)
        characters += page.size();
    std::printf("%lld pages, %lld characters\n", static_cast<long long>(pages.size()), static_cast<long long>(characters));
    return pages.isEmpty() ? 1 : 0;
}
