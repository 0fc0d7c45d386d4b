#pragma once

#include "PFSignParameterModel.h"

#include <QFrame>

class QLabel;
class QToolButton;

// One kept signature in the My signatures grid: the typed text in its font and colour, or the
// picture, with a delete button. A click on it chooses it.
class PFSignCollectionItem : public QFrame {
    Q_OBJECT
public:
    static constexpr int kHeight = 60;

    PFSignCollectionItem(const PFSignParameterModel &entry, int cellIndex, QSize size, QWidget *parent = nullptr);

    int cellIndex() const { return m_cellIndex; }
    QToolButton *deleteButton() const { return m_delete; }
    QLabel *content() const { return m_content; }
    // The font size a typed text is shown at: 26, less when the text, wrapped at 200, would be
    // taller than the item.
    static double fittedFontSize(const QString &text, const QString &family);

signals:
    void chosen(int cellIndex);
    void pfDeleteClick(int cellIndex);

protected:
    void mouseReleaseEvent(QMouseEvent *event) override;

private:
    int m_cellIndex;
    QLabel *m_content;
    QToolButton *m_delete;
};
