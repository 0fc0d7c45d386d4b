#pragma once

#include "platform/pdf/PDFDocument.h"

#include <QSet>
#include <QVector>

// Builds a combined document's outline: one item per source, labelled with the source's name and
// pointing at its first page, holding the source's own outline re-targeted at the copied pages.
class OutlineMerger {
public:
    explicit OutlineMerger(const PDFDocument &result);
    // `copies` are the result's pages copied from `source`, in the source's page order.
    void addSource(const QString &label, const PDFDocument &source, const QVector<PDFPage> &copies);
    // Makes the built outline the result's outline root.
    void finish();

private:
    // Copies the children of `from` (an item of the source) under `to` (an item of the result).
    // Items already copied from this source and items nested too deep are left out, so a
    // damaged outline whose items contain themselves ends the copy.
    void copyChildren(const PDFOutline &from, PDFOutline &to, const QVector<PDFPage> &copies,
                      QSet<PDFOutline> &copied, int depth);

    PDFDocument m_result;
    PDFOutline m_root;
};
