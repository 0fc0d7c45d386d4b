#pragma once

#include "editing/palette/PFPopover.h"

#include <QList>
#include <functional>

class PFStampCellView;
class QPushButton;

// The stamp picker: a popover with the 23 catalogue stamps in a grid and the "Custom" button
// for an image stamp. Choosing a cell reports its index and closes the picker; the custom
// button asks for an image and the picker stays open until one is chosen.
class PFStampSelectViewController : public PFPopover {
    Q_OBJECT
public:
    static constexpr QSize kSize{460, 260};

    explicit PFStampSelectViewController(QWidget *parent = nullptr);

    const QList<PFStampCellView *> &cells() const { return m_cells; }
    QPushButton *pfCustomBtn() const { return m_customButton; }

    std::function<void(int)> pfStampSelectClick;
    std::function<void()> pfStampPickClick;

private:
    void cellChosen(int index);

    QList<PFStampCellView *> m_cells;
    QPushButton *m_customButton;
};
