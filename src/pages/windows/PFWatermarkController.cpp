#include "PFWatermarkController.h"
#include "widgets/PFEscapeCloses.h"

#include "PFPagePrompts.h"
#include "PFWatermarkSettings.h"
#include "platform/store/Localization.h"

#include <QComboBox>
#include <QFontDatabase>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QToolButton>
#include <cmath>

namespace {

QRadioButton *radio(const QString &title, const char *name)
{
    auto *button = new QRadioButton(title);
    button->setObjectName(QLatin1String(name));
    button->setAutoExclusive(false); // each group turns its other buttons off by hand
    return button;
}

} // namespace

PFWatermarkController::PFWatermarkController(QWidget *parent)
    : QWidget(parent), m_textView(new QPlainTextEdit), m_colorWell(new QPushButton), m_fontButton(new QToolButton),
      m_comboBox(new QComboBox), m_button1(radio(QStringLiteral("45°"), "pfButton1")),
      m_button2(radio(QStringLiteral("-45°"), "pfButton2")), m_button3(radio(pfLocalized("自定义L"), "pfButton3")),
      m_degreeTextField(new QLineEdit), m_numAllButton(radio(pfLocalized("全部"), "pfNumAllButton")),
      m_numCustomButton(radio(pfLocalized("自定义L"), "pfNumCustomButton")), m_numStartLB(new QLineEdit),
      m_numEndLB(new QLineEdit)
{
    // A tool window closes with Escape, as a dialog does.
    PFEscapeCloses::install(this);
    resize(480, 360);
    m_textView->setObjectName(QStringLiteral("pfTextView"));
    m_colorWell->setObjectName(QStringLiteral("pfColorWell"));
    m_fontButton->setObjectName(QStringLiteral("pfPopUpButton"));
    m_comboBox->setObjectName(QStringLiteral("pfComboBox"));
    m_degreeTextField->setObjectName(QStringLiteral("pfDegreeTextField"));
    m_numStartLB->setObjectName(QStringLiteral("pfNumStartLB"));
    m_numEndLB->setObjectName(QStringLiteral("pfNumEndLB"));
    m_comboBox->setEditable(true);
    for (int size : {12, 18, 24, 36, 48, 64, 72, 96})
        m_comboBox->addItem(QString::number(size));
    m_comboBox->setCurrentText(QStringLiteral("48"));
    m_fontButton->setPopupMode(QToolButton::InstantPopup);
    auto *apply = new QPushButton(pfLocalized("应用"));
    apply->setObjectName(QStringLiteral("pfStartBtn"));

    auto *grid = new QGridLayout(this);
    grid->addWidget(new QLabel(pfLocalized("文字")), 0, 0);
    grid->addWidget(m_textView, 0, 1, 1, 4);
    grid->addWidget(new QLabel(pfLocalized("颜色")), 1, 0);
    grid->addWidget(m_colorWell, 1, 1);
    grid->addWidget(new QLabel(pfLocalized("字体")), 2, 0);
    grid->addWidget(m_fontButton, 2, 1);
    grid->addWidget(new QLabel(pfLocalized("大小")), 2, 2);
    grid->addWidget(m_comboBox, 2, 3);
    grid->addWidget(new QLabel(pfLocalized("角度")), 3, 0);
    grid->addWidget(m_button1, 3, 1);
    grid->addWidget(m_button2, 3, 2);
    grid->addWidget(m_button3, 3, 3);
    grid->addWidget(m_degreeTextField, 3, 4);
    grid->addWidget(new QLabel(pfLocalized("页码")), 4, 0);
    grid->addWidget(m_numAllButton, 4, 1);
    grid->addWidget(m_numCustomButton, 4, 2);
    grid->addWidget(m_numStartLB, 4, 3);
    grid->addWidget(m_numEndLB, 4, 4);
    grid->addWidget(apply, 5, 4);

    connect(apply, &QPushButton::clicked, this, &PFWatermarkController::pfStartClick);
    connect(m_colorWell, &QPushButton::clicked, this, &PFWatermarkController::pfPickColor);
    connect(m_textView, &QPlainTextEdit::textChanged, this, &PFWatermarkController::pfStartClick);
    connect(m_comboBox, &QComboBox::currentTextChanged, this, &PFWatermarkController::pfStartClick);
    for (QLineEdit *field : {m_degreeTextField, m_numStartLB, m_numEndLB})
        connect(field, &QLineEdit::textChanged, this, &PFWatermarkController::pfStartClick);
    for (QRadioButton *button : {m_button1, m_button2, m_button3})
        connect(button, &QRadioButton::clicked, this, [this, button] { chooseAngle(button); });
    connect(m_numAllButton, &QRadioButton::clicked, this, [this] { choosePages(true); });
    connect(m_numCustomButton, &QRadioButton::clicked, this, [this] { choosePages(false); });
    load();
}

void PFWatermarkController::load()
{
    m_loading = true;
    m_button1->setChecked(true);
    m_numAllButton->setChecked(true);
    if (const auto model = PFWatermarkSettings::load()) {
        m_fontTitle = model->fontName;
        m_textView->setPlainText(model->inputText);
        m_color = model->fontColor;
        m_comboBox->setCurrentText(QString::number(model->fontSize));
        m_button1->setChecked(model->degree == 45);
        m_button2->setChecked(model->degree == -45);
        m_button3->setChecked(model->degree != 45 && model->degree != -45);
        m_degreeTextField->setText(m_button3->isChecked() ? QString::number(model->degree) : QString());
        m_numAllButton->setChecked(model->numType != 2);
        m_numCustomButton->setChecked(model->numType == 2);
        if (model->numType == 2) {
            m_numStartLB->setText(QString::number(model->startNum));
            m_numEndLB->setText(QString::number(model->endNum));
        }
    }
    m_colorWell->setStyleSheet(QStringLiteral("background: %1").arg(m_color.name(QColor::HexArgb)));
    pfAddFont();
    m_loading = false;
}

void PFWatermarkController::pfAddFont()
{
    const QStringList recent = PFWatermarkSettings::useFont(m_fontTitle);
    auto *menu = new QMenu(m_fontButton);
    for (const QString &family : recent + QFontDatabase::families()) {
        QAction *action = menu->addAction(family, this, [this, family] { pfItemClick(family); });
        action->setFont(QFont(family, 12));
        if (menu->actions().size() == recent.size())
            menu->addSeparator();
    }
    // The old menu may be the one whose item is being handled right now: it goes once that is done.
    if (QMenu *old = m_fontButton->menu())
        old->deleteLater();
    m_fontButton->setMenu(menu);
    m_fontButton->setText(m_fontTitle);
}

void PFWatermarkController::pfItemClick(const QString &family)
{
    m_fontTitle = family;
    pfAddFont();
    pfStartClick();
}

void PFWatermarkController::pfPickColor()
{
    if (const auto color = PFPagePrompts::current().chooseColor(this, m_color)) {
        m_color = *color;
        m_colorWell->setStyleSheet(QStringLiteral("background: %1").arg(m_color.name(QColor::HexArgb)));
        pfStartClick();
    }
}

void PFWatermarkController::chooseAngle(QRadioButton *button)
{
    for (QRadioButton *other : {m_button1, m_button2, m_button3})
        other->setChecked(other == button);
    pfStartClick();
}

void PFWatermarkController::choosePages(bool all)
{
    m_numAllButton->setChecked(all);
    m_numCustomButton->setChecked(!all);
    pfStartClick();
}

std::optional<PFWatermarkModel> PFWatermarkController::currentModel() const
{
    PFWatermarkModel model;
    model.inputText = m_textView->toPlainText();
    if (model.inputText.isEmpty())
        return std::nullopt;
    model.fontName = m_fontTitle;
    model.fontColor = m_color;
    bool ok = false;
    model.fontSize = m_comboBox->currentText().toDouble(&ok);
    if (!ok || !std::isfinite(model.fontSize) || model.fontSize <= 0)
        return std::nullopt;
    if (m_button1->isChecked()) {
        model.degree = 45;
    } else if (m_button2->isChecked()) {
        model.degree = -45;
    } else {
        const QString text = m_degreeTextField->text().trimmed();
        model.degree = text.isEmpty() ? 0 : text.toDouble(&ok);
        if (!text.isEmpty() && (!ok || !std::isfinite(model.degree)))
            return std::nullopt;
    }
    model.numType = m_numAllButton->isChecked() ? 1 : 2;
    if (model.numType == 2) {
        bool startOk = false, endOk = false;
        model.startNum = m_numStartLB->text().trimmed().toInt(&startOk);
        model.endNum = m_numEndLB->text().trimmed().toInt(&endOk);
        if (!startOk || !endOk)
            return std::nullopt;
    }
    return model;
}

void PFWatermarkController::pfStartClick()
{
    if (m_loading)
        return;
    const auto model = currentModel();
    if (!model)
        return; // the record in force stays as it was
    emit watermarkChanged(*model);
    if (pfDoneEdit)
        pfDoneEdit(*model);
    PFWatermarkSettings::save(*model);
}
