#include "PdfExercise.h"

#include "pages/OutlineMerger.h"
#include "platform/pdf/PDFAnnotation.h"
#include "platform/pdf/PDFDisplayList.h"
#include "platform/pdf/PDFDocument.h"
#include "platform/pdf/PDFSelection.h"

namespace {

void walkOutline(const PDFOutline &item, int depth, int *budget)
{
    if (depth > 16)
        return;
    const int n = item.numberOfChildren();
    for (int i = 0; i < n && (*budget)-- > 0; ++i) {
        const PDFOutline child = item.childAtIndex(i);
        (void)child.label();
        (void)child.destination();
        walkOutline(child, depth + 1, budget);
    }
}

} // namespace

void exercisePdfBytes(const QByteArray &bytes)
{
    PDFDocument document = PDFDocument::openData(bytes);
    if (document.isNull())
        return;
    if (document.isLocked() && !document.unlock(QString()))
        return;
    if (document.pageCount() == 0)
        return;
    const PDFPage page = document.page(0);
    (void)document.insertPageCopies({page}, 0); // a page duplicated in place, as the file has it
    (void)page.rotation();
    (void)page.label();
    const QRectF box = page.bounds();
    if (auto list = page.displayList())
        (void)list->render(0.05);
    (void)page.string();
    (void)page.selectionFromPoint(box.topLeft(), box.bottomRight()).selectionsByLine();
    for (const PDFAnnotation &annotation : page.annotations()) {
        (void)annotation.type();
        (void)annotation.bounds();
        (void)annotation.color();
        (void)annotation.contents();
        (void)annotation.action();
        (void)annotation.quadrilateralPoints();
        (void)annotation.inkPaths();
        (void)annotation.fontName();
        (void)annotation.copy(document); // copy and paste within the document
    }
    int budget = 2000;
    walkOutline(document.outlineRoot(), 0, &budget);

    // Every page the document has, as numbered, labelled, copied with the outline (as combine
    // does) and deleted.
    const int count = std::min(document.pageCount(), 64);
    QVector<int> indices;
    for (int i = 0; i < count; ++i) {
        (void)document.page(i).label();
        indices.append(i);
    }
    (void)document.page(count - 1).string();
    PDFDocument combined = PDFDocument::create();
    OutlineMerger outline(combined);
    outline.addSource(QStringLiteral("source"), document, combined.insertPages(document, indices, 0));
    outline.finish();
    if (document.removePage(count - 1))
        (void)document.pageCount();
}
