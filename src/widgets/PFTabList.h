#pragma once

#include <QWidget>

// The row that holds a panel's icon tabs. Screen readers get it as a page tab list (its own
// class, so the toolkit's generic widget interface does not claim it first).
class PFTabList : public QWidget {
    Q_OBJECT
public:
    explicit PFTabList(QWidget *parent = nullptr);
};
