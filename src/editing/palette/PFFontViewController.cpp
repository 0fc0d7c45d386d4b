#include "PFFontViewController.h"

#include "settings/PFManager.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QFontDatabase>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QSignalBlocker>
#include <QToolButton>
#include <QVBoxLayout>

namespace {
// Segment i of the alignment control stands for this alignment value.
constexpr int kSegmentAlignment[3] = {PFFontViewController::Left, PFFontViewController::Centered,
                                      PFFontViewController::Right};
const char *const kSegmentImage[3] = {"alignLeftW", "alignCenterW", "alignRightW"};
} // namespace

PFFontViewController::PFFontViewController(UserDefaults &defaults, QWidget *parent)
    : PFPopover(QSize(240, 80), parent), m_recentFonts(defaults), m_fontMenu(new QComboBox(this)),
      m_sizeBox(new QComboBox(this)), m_alignment(new QButtonGroup(this))
{
    setObjectName(QStringLiteral("PFFontViewController"));
    m_sizeBox->setEditable(true);
    for (int size : {8, 9, 10, 11, 12, 14, 16, 18, 20, 24, 28, 36, 48, 64, 72})
        m_sizeBox->addItem(QString::number(size));
    m_sizeBox->setFixedWidth(64);

    auto *segments = new QHBoxLayout;
    segments->setSpacing(0);
    for (int i = 0; i < 3; ++i) {
        auto *segment = new QToolButton(this);
        segment->setCheckable(true);
        segment->setAutoRaise(true);
        segment->setIcon(QIcon(QStringLiteral(":/resources/icons/%1.svg").arg(kSegmentImage[i])));
        m_alignment->addButton(segment, i);
        segments->addWidget(segment);
    }
    m_alignment->setExclusive(true);

    auto *top = new QHBoxLayout;
    top->addWidget(m_fontMenu, 1);
    top->addWidget(m_sizeBox);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(10, 8, 10, 8);
    layout->addLayout(top);
    layout->addLayout(segments);

    connect(m_fontMenu, &QComboBox::activated, this, &PFFontViewController::fontPicked);
    connect(m_sizeBox, &QComboBox::textActivated, this, &PFFontViewController::sizeEntered);
    connect(m_alignment, &QButtonGroup::idClicked, this, [this](int segment) {
        m_currentAlignment = kSegmentAlignment[segment];
        report(QString(), kReportedSize, 3);
    });
}

void PFFontViewController::pfSetFont(const QString &name, int size, int alignment)
{
    fillFontMenu(name);
    const QSignalBlocker quiet(m_sizeBox);
    m_sizeBox->setCurrentText(QString::number(size));
    m_currentSize = size;
    m_currentAlignment = alignment;
    for (int i = 0; i < 3; ++i)
        if (kSegmentAlignment[i] == alignment)
            m_alignment->button(i)->setChecked(true);
}

void PFFontViewController::fillFontMenu(const QString &current)
{
    m_recent = m_recentFonts.pfOpeningOrder(current);
    const QSignalBlocker quiet(m_fontMenu);
    m_fontMenu->clear();
    const auto addEntry = [this](const QString &name) {
        m_fontMenu->addItem(name);
        const int item = m_fontMenu->count() - 1;
        m_fontMenu->setItemData(item, QFont(name, 12), Qt::FontRole);
        m_fontMenu->setItemData(item, QColor(Qt::black), Qt::ForegroundRole);
    };
    for (const QString &name : std::as_const(m_recent))
        addEntry(name);
    m_fontMenu->insertSeparator(m_fontMenu->count());
    for (const QString &family : QFontDatabase::families())
        addEntry(family);
    m_fontMenu->setCurrentIndex(0);
}

void PFFontViewController::fontPicked(int item)
{
    const QString name = m_fontMenu->itemText(item);
    if (name.isEmpty())
        return;
    m_recentFonts.pfPick(name);
    fillFontMenu(name);
    report(name, kReportedSize, 1);
}

void PFFontViewController::sizeEntered(const QString &text)
{
    const QString trimmed = text.trimmed();
    // Letters, and an empty or zero size, are not a size.
    if (trimmed.isEmpty() || !PFManager::pfIsNum(trimmed) || trimmed.toInt() <= 0)
        return;
    // The box announces one entry more than once; only a different size is a change.
    if (trimmed.toInt() == m_currentSize)
        return;
    m_currentSize = trimmed.toInt();
    report(QString(), m_currentSize, 2);
}

void PFFontViewController::report(const QString &name, int size, int which)
{
    if (pfDoneEndEdit)
        pfDoneEndEdit(name, size, m_currentAlignment, which);
}
