#pragma once

#include "PDFDestination.h"

#include <QHashFunctions>
#include <QString>
#include <QVector>
#include <memory>

class PDFDocument;
struct PDFDocumentData;

// An item of a document's outline (its table of contents); the root has no label.
class PDFOutline {
public:
    PDFOutline() = default;
    // A new item of the document, in no tree yet.
    static PDFOutline create(const PDFDocument &document);

    bool isNull() const { return !d; }
    QString label() const;
    void setLabel(const QString &label);
    PDFDestination destination() const;
    void setDestination(const PDFDestination &destination);

    int numberOfChildren() const;
    bool hasChildren() const;
    PDFOutline childAtIndex(int index) const;
    // All children in order, read in one pass (a damaged sibling chain that loops ends there).
    QVector<PDFOutline> children() const;

    struct Entry;
    Entry entry() const;
    // The children's entries, read while the document is locked once: a panel filling its rows
    // does not wait for the document between one row and the next while pages render.
    QVector<Entry> childEntries() const;
    PDFOutline parent() const;
    int index() const; // position among its siblings, -1 without parent
    // Inserts the item (taken out of wherever it was) as child number `index`.
    void insertChild(const PDFOutline &child, int index);
    void removeFromParent();

    bool operator==(const PDFOutline &other) const { return d == other.d && m_object == other.m_object; }
    // For sets of visited items in walks over damaged outlines.
    friend size_t qHash(const PDFOutline &item, size_t seed = 0) { return qHashMulti(seed, item.d.get(), item.m_object); }

private:
    friend class PDFDocument;
    PDFOutline(std::shared_ptr<PDFDocumentData> data, int object) : d(std::move(data)), m_object(object) {}

    std::shared_ptr<PDFDocumentData> d;
    int m_object = 0;
};

// An item as a list shows it: its label, the page label of its destination and whether it
// has children.
struct PDFOutline::Entry {
    PDFOutline item;
    QString label;
    QString pageLabel;
    bool hasChildren = false;
};
