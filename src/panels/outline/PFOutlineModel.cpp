#include "PFOutlineModel.h"

#include <QVector>

namespace {
// No real outline is this deep; a damaged /Parent chain that loops ends here.
constexpr int kMaxDepth = 1000;
} // namespace

struct PFOutlineModel::Node {
    // What the rows show is kept here, so painting them never waits for the document.
    PDFOutline::Entry entry;
    Node *parent = nullptr;
    int row = 0;
    bool loaded = false;
    std::vector<std::unique_ptr<Node>> children;

    void renumber()
    {
        for (size_t i = 0; i < children.size(); ++i)
            children[i]->row = int(i);
    }
};

PFOutlineModel::PFOutlineModel(QObject *parent) : QAbstractItemModel(parent), m_root(std::make_unique<Node>()) {}

PFOutlineModel::~PFOutlineModel() = default;

void PFOutlineModel::setRoot(const PDFOutline &root)
{
    beginResetModel();
    m_root = std::make_unique<Node>();
    m_root->entry.item = root;
    m_root->entry.hasChildren = root.hasChildren();
    endResetModel();
}

PDFOutline PFOutlineModel::root() const { return m_root->entry.item; }

PFOutlineModel::Node *PFOutlineModel::nodeAt(const QModelIndex &index) const
{
    return index.isValid() ? static_cast<Node *>(index.internalPointer()) : m_root.get();
}

void PFOutlineModel::load(Node *node) const
{
    if (node->loaded)
        return;
    node->loaded = true;
    const QVector<PDFOutline::Entry> entries = node->entry.item.childEntries();
    node->children.reserve(size_t(entries.size()));
    for (const PDFOutline::Entry &entry : entries) {
        auto child = std::make_unique<Node>();
        child->entry = entry;
        child->parent = node;
        node->children.push_back(std::move(child));
    }
    node->renumber();
}

PDFOutline PFOutlineModel::itemAt(const QModelIndex &index) const
{
    return index.isValid() ? nodeAt(index)->entry.item : PDFOutline();
}

QModelIndex PFOutlineModel::indexOf(const PDFOutline &item)
{
    if (item.isNull() || m_root->entry.item.isNull())
        return {};
    QVector<PDFOutline> chain; // the item and its ancestors below the root, innermost first
    for (PDFOutline up = item; !(up == m_root->entry.item); up = up.parent()) {
        if (up.isNull() || chain.size() > kMaxDepth)
            return {};
        chain.append(up);
    }
    Node *node = m_root.get();
    for (auto it = chain.crbegin(); it != chain.crend(); ++it) {
        load(node);
        Node *next = nullptr;
        for (const auto &child : node->children)
            if (child->entry.item == *it) {
                next = child.get();
                break;
            }
        if (!next)
            return {};
        node = next;
    }
    return createIndex(node->row, 0, node);
}

void PFOutlineModel::insertItem(const QModelIndex &parent, int row, const PDFOutline &item)
{
    Node *node = nodeAt(parent);
    if (node->entry.item.isNull() || item.isNull())
        return;
    load(node);
    row = std::clamp(row, 0, int(node->children.size()));
    beginInsertRows(parent, row, row);
    PDFOutline(node->entry.item).insertChild(item, row);
    auto child = std::make_unique<Node>();
    child->entry = item.entry();
    child->parent = node;
    node->children.insert(node->children.begin() + row, std::move(child));
    node->renumber();
    endInsertRows();
}

void PFOutlineModel::removeItem(const QModelIndex &index)
{
    if (!index.isValid())
        return;
    Node *node = nodeAt(index);
    Node *up = node->parent;
    const int row = node->row;
    beginRemoveRows(index.parent(), row, row);
    PDFOutline(node->entry.item).removeFromParent();
    up->children.erase(up->children.begin() + row);
    up->renumber();
    endRemoveRows();
}

void PFOutlineModel::itemChanged(const QModelIndex &index)
{
    if (!index.isValid())
        return;
    Node *node = nodeAt(index);
    node->entry = node->entry.item.entry();
    emit dataChanged(index.siblingAtColumn(TitleColumn), index.siblingAtColumn(PageColumn));
}

void PFOutlineModel::refreshPageLabels() { refreshPageLabels(m_root.get(), {}); }

void PFOutlineModel::refreshPageLabels(Node *node, const QModelIndex &index)
{
    if (!node->loaded || node->children.empty())
        return;
    const QVector<PDFOutline::Entry> entries = node->entry.item.childEntries();
    if (entries.size() != qsizetype(node->children.size()))
        return; // cannot happen while every edit goes through the model
    for (size_t i = 0; i < node->children.size(); ++i) {
        node->children[i]->entry.pageLabel = entries[qsizetype(i)].pageLabel;
        refreshPageLabels(node->children[i].get(), this->index(int(i), 0, index));
    }
    emit dataChanged(this->index(0, PageColumn, index), this->index(int(node->children.size()) - 1, PageColumn, index));
}

QModelIndex PFOutlineModel::index(int row, int column, const QModelIndex &parent) const
{
    Node *node = nodeAt(parent);
    load(node);
    if (row < 0 || row >= int(node->children.size()) || column < 0 || column >= ColumnCount)
        return {};
    return createIndex(row, column, node->children[size_t(row)].get());
}

QModelIndex PFOutlineModel::parent(const QModelIndex &child) const
{
    if (!child.isValid())
        return {};
    Node *up = nodeAt(child)->parent;
    if (!up || up == m_root.get())
        return {};
    return createIndex(up->row, 0, up);
}

int PFOutlineModel::rowCount(const QModelIndex &parent) const
{
    if (parent.column() > 0)
        return 0;
    Node *node = nodeAt(parent);
    load(node);
    return int(node->children.size());
}

int PFOutlineModel::columnCount(const QModelIndex &) const { return ColumnCount; }

bool PFOutlineModel::hasChildren(const QModelIndex &parent) const
{
    if (parent.column() > 0)
        return false;
    const Node *node = nodeAt(parent);
    return node->loaded ? !node->children.empty() : node->entry.hasChildren;
}

QVariant PFOutlineModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid())
        return {};
    const PDFOutline::Entry &entry = nodeAt(index)->entry;
    if (role == Qt::DisplayRole)
        return index.column() == TitleColumn ? entry.label : entry.pageLabel;
    if (role == Qt::TextAlignmentRole && index.column() == PageColumn)
        return int(Qt::AlignRight | Qt::AlignVCenter);
    if (role == Qt::ToolTipRole && index.column() == TitleColumn)
        return entry.label;
    return {};
}
