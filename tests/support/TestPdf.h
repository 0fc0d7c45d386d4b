#pragma once

#include <QByteArray>
#include <QRectF>
#include <QString>
#include <QStringList>

// Small PDFs written byte by byte, independent of the engine under test.
namespace TestPdf {

struct Page {
    QStringList lines;             // Helvetica 12, first baseline at y = 700, 20 points apart, x = 72
    QRectF mediaBox{0, 0, 612, 792};
    int rotate = 0;
    QByteArray extra{};            // more entries of the page dictionary, such as "/Annots [...]"
};

QByteArray build(const QList<Page> &pages);
// A file of the given objects, object n+1 at index n, with a correct cross-reference table and
// object 1 as the catalog. For damaged structures the engine must survive.
QByteArray fromObjects(const QList<QByteArray> &objects);
// With entries added to the catalogue and more objects after the pages: objects[k] gets the
// number firstExtraObject(pages.size()) + k.
QByteArray build(const QList<Page> &pages, const QByteArray &catalogExtra, const QList<QByteArray> &objects);
// Object numbers in documents made by build().
constexpr int pageObject(int index) { return 5 + 2 * index; }
constexpr int firstExtraObject(int pageCount) { return 4 + 2 * pageCount; }
// A document of `count` pages, page n showing "Page n" and "Lorem ipsum dolor sit amet".
QByteArray simple(int count);
bool write(const QString &path, const QByteArray &bytes);
// Runs a command, returning its exit code (-1 when it could not start); output goes to *output.
int run(const QString &program, const QStringList &arguments, QString *output = nullptr);

} // namespace TestPdf
