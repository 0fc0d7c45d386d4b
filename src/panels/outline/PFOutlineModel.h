#pragma once

#include "platform/pdf/PDFOutline.h"

#include <QAbstractItemModel>
#include <memory>
#include <vector>

// The document's outline as a tree model. Children are read from the document the first time
// their parent is shown expanded, so a long outline appears at once. Column 0 is the title,
// column 1 the page label of the destination.
//
// Edits go through the model, which changes the document's outline and the rows together.
class PFOutlineModel : public QAbstractItemModel {
    Q_OBJECT
public:
    enum Column { TitleColumn = 0, PageColumn = 1, ColumnCount = 2 };

    explicit PFOutlineModel(QObject *parent = nullptr);
    ~PFOutlineModel() override;

    // Shows the outline under `root` (the document's outline root; null for none).
    void setRoot(const PDFOutline &root);
    PDFOutline root() const;

    PDFOutline itemAt(const QModelIndex &index) const;
    // The index of an item of the tree, reading the levels above it as needed; invalid when
    // the item is not under the root.
    QModelIndex indexOf(const PDFOutline &item);

    // Inserts `item` as child number `row` of `parent` (the root for an invalid index).
    void insertItem(const QModelIndex &parent, int row, const PDFOutline &item);
    // Removes the item and its whole subtree.
    void removeItem(const QModelIndex &index);
    // The item's title or destination changed.
    void itemChanged(const QModelIndex &index);
    // Pages were inserted, removed or moved: the page column is read again.
    void refreshPageLabels();

    QModelIndex index(int row, int column, const QModelIndex &parent = {}) const override;
    QModelIndex parent(const QModelIndex &child) const override;
    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    bool hasChildren(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;

private:
    struct Node;
    Node *nodeAt(const QModelIndex &index) const;
    void load(Node *node) const;
    void refreshPageLabels(Node *node, const QModelIndex &index);

    std::unique_ptr<Node> m_root;
};
