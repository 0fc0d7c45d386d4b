#include "PFSignKeybordViewController.h"

#include "PFSignColorWell.h"

#include "platform/store/Localization.h"
#include "platform/store/UserDefaults.h"

#include <QComboBox>
#include <QFont>
#include <QFontDatabase>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalBlocker>
#include <QVBoxLayout>

namespace {
const QString kSignFontKey = QStringLiteral("signFont");
} // namespace

PFSignKeybordViewController::PFSignKeybordViewController(UserDefaults &defaults, QWidget *parent)
    : QWidget(parent), m_defaults(defaults)
{
    setObjectName(QStringLiteral("PFSignKeybordViewController"));
    m_fontPopup = new QComboBox;
    m_fontPopup->setObjectName(QStringLiteral("pfFontPopup"));
    m_textField = new QLineEdit;
    m_textField->setObjectName(QStringLiteral("pfTextField"));
    m_colorWell = new PFSignColorWell;
    m_done = new QPushButton(pfLocalized("完成"));
    m_close = new QPushButton(pfLocalized("关闭"));

    auto *form = new QFormLayout;
    form->addRow(pfLocalized("字体"), m_fontPopup);
    form->addRow(pfLocalized("颜色"), m_colorWell);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(m_close);
    buttons->addWidget(m_done);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(m_textField);
    layout->addStretch();
    layout->addLayout(buttons);

    // The first opening with nothing kept stores the one default font, which then heads the
    // list without counting as recently picked.
    if (m_defaults.contains(kSignFontKey)) {
        const QStringList recent = m_defaults.value(kSignFontKey).toStringList();
        rebuildFonts(recent, recent);
    } else {
        m_defaults.setValue(kSignFontKey, QStringList{QStringLiteral("Helvetica")});
        rebuildFonts({QStringLiteral("Helvetica")}, {});
    }
    showFont(m_totalFonts.value(0));

    connect(m_fontPopup, &QComboBox::activated, this, [this](int index) {
        const QString name = m_fontPopup->itemText(index);
        if (!name.isEmpty())
            pfItemClick(name);
    });
    connect(m_colorWell, &PFSignColorWell::colorChanged, this, [this](const QColor &color) {
        QPalette palette = m_textField->palette();
        palette.setColor(QPalette::Text, color);
        m_textField->setPalette(palette);
    });
    connect(m_done, &QPushButton::clicked, this, [this] { finish(true); });
    connect(m_close, &QPushButton::clicked, this, [this] { finish(false); });
}

void PFSignKeybordViewController::rebuildFonts(const QStringList &front, const QStringList &recent)
{
    m_halfFonts = recent;
    m_totalFonts = front + QFontDatabase::families();
    QSignalBlocker blocker(m_fontPopup);
    m_fontPopup->clear();
    for (const QString &name : std::as_const(m_totalFonts)) {
        m_fontPopup->addItem(name);
        m_fontPopup->setItemData(m_fontPopup->count() - 1, QFont(name, 12), Qt::FontRole);
        if (!recent.isEmpty() && m_fontPopup->count() == recent.size())
            m_fontPopup->insertSeparator(m_fontPopup->count());
    }
    m_fontPopup->setCurrentIndex(0);
}

void PFSignKeybordViewController::showFont(const QString &name)
{
    QFont font(name);
    font.setPixelSize(22);
    m_textField->setFont(font);
}

void PFSignKeybordViewController::pfItemClick(const QString &name)
{
    QStringList recent = m_defaults.value(kSignFontKey).toStringList();
    recent.removeAll(name);
    while (recent.size() >= kRecentLimit)
        recent.removeLast();
    recent.prepend(name);
    m_defaults.setValue(kSignFontKey, recent);
    rebuildFonts(recent, recent);
    showFont(name);
}

void PFSignKeybordViewController::finish(bool done)
{
    if (!pfDoneEndEdit)
        return;
    const QString text = m_textField->text();
    if (done && !text.trimmed().isEmpty())
        pfDoneEndEdit(m_totalFonts.value(0), m_colorWell->color(), text);
    else
        pfDoneEndEdit(std::nullopt, m_colorWell->color(), std::nullopt);
}
