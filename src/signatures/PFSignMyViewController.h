#pragma once

#include "PFSignParameterModel.h"

#include <QList>
#include <QWidget>
#include <functional>
#include <optional>

class PFDataManager;
class PFSignCollectionItem;
class QGridLayout;
class QPushButton;

// The My signatures tab: every kept signature in a grid; a click chooses one, the delete
// button removes it from the store.
class PFSignMyViewController : public QWidget {
    Q_OBJECT
public:
    static constexpr int kColumns = 2;

    explicit PFSignMyViewController(PFDataManager &store, QWidget *parent = nullptr);

    // A choice: (entry, false); Close: (none, true).
    std::function<void(const std::optional<PFSignParameterModel> &, bool)> pfDoneEndEdit;

    const QList<PFSignParameterModel> &pfListArray() const { return m_entries; }
    const QList<PFSignCollectionItem *> &items() const { return m_items; }
    QPushButton *pfCloseBtn() const { return m_close; }

    // Reads the store again and rebuilds the grid.
    void reload();
    void pfCellDeleteClick(int index);

protected:
    void resizeEvent(QResizeEvent *event) override;

private:
    void rebuildGrid();

    PFDataManager &m_store;
    QList<PFSignParameterModel> m_entries;
    QList<PFSignCollectionItem *> m_items;
    QWidget *m_grid;
    QGridLayout *m_gridLayout;
    QPushButton *m_close;
};
