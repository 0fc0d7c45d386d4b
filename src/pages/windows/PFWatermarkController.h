#pragma once

#include "pages/PFWatermarkModel.h"

#include <QWidget>
#include <functional>
#include <optional>

class QComboBox;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QRadioButton;
class QToolButton;

// The watermark dialog. Every change (text, colour, font, size, angle, pages) applies the
// watermark at once: the record goes to `pfDoneEdit` and `watermarkChanged` (the view draws it
// from there) and is remembered for the next opening.
class PFWatermarkController : public QWidget {
    Q_OBJECT
public:
    explicit PFWatermarkController(QWidget *parent = nullptr);

    std::function<void(const PFWatermarkModel &)> pfDoneEdit;
    // The record the controls describe; nothing while the text is empty or a number is invalid.
    std::optional<PFWatermarkModel> currentModel() const;
    QColor color() const { return m_color; }
    QString pfFontTitle() const { return m_fontTitle; }

    void pfStartClick();
    void pfPickColor();
    // A font was chosen from the font menu.
    void pfItemClick(const QString &family);

signals:
    void watermarkChanged(const PFWatermarkModel &model);

private:
    void load();
    void pfAddFont();
    void chooseAngle(QRadioButton *button);
    void choosePages(bool all);

    QPlainTextEdit *m_textView;
    QPushButton *m_colorWell;
    QToolButton *m_fontButton;
    QComboBox *m_comboBox;
    QRadioButton *m_button1;
    QRadioButton *m_button2;
    QRadioButton *m_button3;
    QLineEdit *m_degreeTextField;
    QRadioButton *m_numAllButton;
    QRadioButton *m_numCustomButton;
    QLineEdit *m_numStartLB;
    QLineEdit *m_numEndLB;
    QColor m_color = Qt::black;
    QString m_fontTitle = QStringLiteral("Helvetica");
    bool m_loading = false;
};
