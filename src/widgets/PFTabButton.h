#pragma once

#include <QToolButton>

// A checkable icon button that selects a page of its panel. Screen readers get it as a page
// tab named after its tooltip, selected while checked, rather than as an unnamed check box.
class PFTabButton : public QToolButton {
    Q_OBJECT
public:
    explicit PFTabButton(QWidget *parent = nullptr);
};
