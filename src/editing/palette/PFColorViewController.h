#pragma once

#include "PFPopover.h"

#include <QColor>
#include <QList>
#include <functional>

class PFColorButton;
class QToolButton;
class PFManager;

// The colour popover: rows for the text (1), border (2) and fill (3) colour, each with preset
// swatches, a no-colour button, a button showing the row's remembered colour and a colour well.
// Every choice is remembered for its row and reported through pfDoneEdit with the row number.
class PFColorViewController : public PFPopover {
    Q_OBJECT
public:
    static constexpr int kNoColorTag = 19;
    static constexpr int kCustomColorTag = 20;
    static constexpr int kFirstWellTag = 1000;

    explicit PFColorViewController(PFManager &manager, QWidget *parent = nullptr);

    // (colour, row number 1 text, 2 border, 3 fill)
    std::function<void(const QColor &, int)> pfDoneEdit;
    // Asks the user for a colour; replaced in tests. An invalid answer means cancelled.
    std::function<QColor(const QColor &initial)> pfPickColor;

    // Shows each row's remembered colour on its custom-colour button.
    void pfReloadColors();

    QList<PFColorButton *> presetButtons(int row) const;
    PFColorButton *noColorButton(int row) const;
    PFColorButton *customColorButton(int row) const;
    QToolButton *colorWell(int row) const;

protected:
    void showEvent(QShowEvent *event) override;

private:
    struct Row {
        int number;
        QList<PFColorButton *> presets;
        PFColorButton *none = nullptr;
        PFColorButton *custom = nullptr;
        QToolButton *well = nullptr;
    };
    void addRow(int number, const char *caption);
    void choose(Row &row, const QColor &color);
    QColor remembered(int number) const;
    void remember(int number, const QColor &color);
    Row *rowNumbered(int number);
    const Row *rowNumbered(int number) const;

    PFManager &m_manager;
    QList<Row> m_rows;
};
