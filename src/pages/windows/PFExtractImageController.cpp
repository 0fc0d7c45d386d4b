#include "PFExtractImageController.h"
#include "widgets/PFEscapeCloses.h"

#include "PFPagePrompts.h"
#include "pages/OutlineParts.h"
#include "platform/store/Localization.h"

#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>

PFExtractImageController::PFExtractImageController(QWidget *parent)
    : QWidget(parent), m_folder(QLatin1String(folderKey), false), m_storePath(m_folder.path()),
      m_radioAll(new QRadioButton(pfLocalized("所有页面"))), m_radioSelect(new QRadioButton(pfLocalized("所选页面"))),
      m_radioOutline(new QRadioButton(pfLocalized("按书签拆分"))), m_outlineLevel(new QSpinBox),
      m_pageSelectLB(new QLineEdit), m_popUpButton(new QComboBox), m_saveLB(new QLabel(m_storePath))
{
    setWindowTitle(pfLocalized("页面设置"));
    resize(400, 300);
    m_radioAll->setObjectName(QStringLiteral("pfRadioAll"));
    m_radioSelect->setObjectName(QStringLiteral("pfRadioSelect"));
    m_pageSelectLB->setObjectName(QStringLiteral("pfPageSelectLB"));
    m_popUpButton->setObjectName(QStringLiteral("pfPopUpButton"));
    m_saveLB->setObjectName(QStringLiteral("pfSaveLB"));
    m_saveLB->setWordWrap(true);
    m_radioOutline->setObjectName(QStringLiteral("pfRadioOutline"));
    m_outlineLevel->setObjectName(QStringLiteral("pfOutlineLevel"));
    m_outlineLevel->setRange(1, OutlineParts::kMaxLevel);
    m_outlineLevel->setPrefix(pfLocalized("级别") + u' ');
    m_radioAll->setAutoExclusive(false);
    m_radioSelect->setAutoExclusive(false);
    m_radioOutline->setAutoExclusive(false);
    m_popUpButton->addItems({QStringLiteral("PDF"), QStringLiteral("PNG"), QStringLiteral("JPEG"),
                             QStringLiteral("JPEG 2000"), QStringLiteral("TIFF")});
    auto *choose = new QPushButton(pfLocalized("选择"));
    choose->setObjectName(QStringLiteral("pfChooseBtn"));
    auto *start = new QPushButton(pfLocalized("开始"));
    start->setObjectName(QStringLiteral("pfStartBtn"));

    auto *grid = new QGridLayout(this);
    grid->addWidget(new QLabel(pfLocalized("页面设置")), 0, 0, 1, 3);
    grid->addWidget(m_radioAll, 1, 0, 1, 3);
    grid->addWidget(m_radioSelect, 2, 0);
    grid->addWidget(m_pageSelectLB, 2, 1);
    grid->addWidget(new QLabel(pfLocalized("(例如:1,3-6,10)")), 2, 2);
    grid->addWidget(m_radioOutline, 3, 0);
    grid->addWidget(m_outlineLevel, 3, 1);
    grid->addWidget(new QLabel(pfLocalized("格式")), 4, 0);
    grid->addWidget(m_popUpButton, 4, 1, 1, 2);
    grid->addWidget(new QLabel(pfLocalized("输出路径L")), 5, 0);
    grid->addWidget(m_saveLB, 5, 1);
    grid->addWidget(choose, 5, 2);
    grid->addWidget(start, 6, 2);

    connect(m_radioAll, &QRadioButton::clicked, this, [this] { select(AllPages); });
    connect(m_radioSelect, &QRadioButton::clicked, this, [this] { select(SelectedPages); });
    connect(m_radioOutline, &QRadioButton::clicked, this, [this] { select(ByOutline); });
    // A tool window closes with Escape, as a dialog does.
    PFEscapeCloses::install(this);
    connect(choose, &QPushButton::clicked, this, &PFExtractImageController::pfChooseClick);
    connect(start, &QPushButton::clicked, this, &PFExtractImageController::pfStartClick);
    setOutlineAvailable(false);
    select(AllPages);
}

void PFExtractImageController::select(Selection selection)
{
    m_radioAll->setChecked(selection == AllPages);
    m_radioSelect->setChecked(selection == SelectedPages);
    m_radioOutline->setChecked(selection == ByOutline);
    // Outline items are split into PDF files only.
    if (selection == ByOutline)
        m_popUpButton->setCurrentIndex(0);
    m_popUpButton->setEnabled(selection != ByOutline);
}

void PFExtractImageController::setOutlineAvailable(bool available)
{
    m_radioOutline->setVisible(available);
    m_outlineLevel->setVisible(available);
    if (!available && m_radioOutline->isChecked())
        select(AllPages);
}

void PFExtractImageController::pfChooseClick()
{
    const QString folder = PFPagePrompts::current().chooseFolder(this, m_storePath);
    if (folder.isEmpty())
        return;
    m_folder.choose(folder);
    m_storePath = folder;
    m_saveLB->setText(folder);
}

void PFExtractImageController::pfStartClick()
{
    const int format = m_popUpButton->currentIndex();
    if (m_radioOutline->isChecked()) {
        if (pfDoneEdit)
            pfDoneEdit(QString::number(m_outlineLevel->value()), ByOutline, m_storePath, 0);
        return;
    }
    if (m_radioAll->isChecked()) {
        if (pfDoneEdit)
            pfDoneEdit(std::nullopt, 0, m_storePath, format);
        return;
    }
    const QString text = m_pageSelectLB->text();
    if (text.isEmpty()) {
        close();
        return;
    }
    if (pfDoneEdit)
        pfDoneEdit(text, 1, m_storePath, format);
}
