#include "PFImageToPDFController.h"

#include "PFDragListView.h"
#include "PFImageToPDFModel.h"
#include "PFStatusDisplay.h"
#include "pages/ImagePageSetup.h"
#include "pages/PFPageManager.h"
#include "pages/PageMessages.h"
#include "platform/pdf/PDFImageDecoder.h"
#include "platform/store/Localization.h"
#include "platform/store/UserDefaults.h"

#include <QComboBox>
#include <QFileInfo>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>

PFImageToPDFController::PFImageToPDFController(QWidget *parent)
    : PFFileListWindow(pfLocalized("图片转PDF"), pfLocalized("拖拽图片"), pfLocalized("转换"),
                       {QStringLiteral("png"), QStringLiteral("jpg"), QStringLiteral("jpeg"), QStringLiteral("tiff"), QStringLiteral("tif"),
                        QStringLiteral("jp2"), QStringLiteral("bmp")},
                       &PFImageToPDFController::prepareFile, parent),
      m_letterButton(new QRadioButton), m_cusButton(new QRadioButton), m_letterPopUpButton(new QComboBox),
      m_widthLB(new QLineEdit), m_heightLB(new QLineEdit), m_comboBox(new QComboBox)
{
    resize(600, 460);
    m_letterButton->setObjectName(QStringLiteral("pfLetterButton"));
    m_cusButton->setObjectName(QStringLiteral("pfCusButton"));
    m_letterPopUpButton->setObjectName(QStringLiteral("pfLetterPopUpButton"));
    m_widthLB->setObjectName(QStringLiteral("pfWidthLB"));
    m_heightLB->setObjectName(QStringLiteral("pfHeightLB"));
    m_comboBox->setObjectName(QStringLiteral("pfComboBox"));
    // The two size buttons exclude each other by hand, as the window's other radio pairs do.
    m_letterButton->setAutoExclusive(false);
    m_cusButton->setAutoExclusive(false);
    m_letterPopUpButton->addItems({QStringLiteral("US Letter"), QStringLiteral("JIS B5"), QStringLiteral("US Legal"),
                                   QStringLiteral("A0"), QStringLiteral("A1"), QStringLiteral("A2"),
                                   QStringLiteral("A3"), QStringLiteral("A4"), QStringLiteral("A5")});
    m_comboBox->setEditable(true);
    m_comboBox->addItems({QStringLiteral("0"), QStringLiteral("10"), QStringLiteral("20"), QStringLiteral("36"),
                          QStringLiteral("72")});

    auto *grid = new QGridLayout;
    grid->addWidget(new QLabel(pfLocalized("尺寸")), 0, 0);
    grid->addWidget(m_letterButton, 0, 1);
    grid->addWidget(m_letterPopUpButton, 0, 2, 1, 2);
    grid->addWidget(m_cusButton, 1, 1);
    grid->addWidget(new QLabel(pfLocalized("宽度")), 1, 2);
    grid->addWidget(m_widthLB, 1, 3);
    grid->addWidget(new QLabel(pfLocalized("高度")), 1, 4);
    grid->addWidget(m_heightLB, 1, 5);
    grid->addWidget(new QLabel(pfLocalized("页边距")), 2, 0);
    grid->addWidget(m_comboBox, 2, 1, 1, 2);
    parameterArea()->addLayout(grid);

    connect(m_cusButton, &QRadioButton::clicked, this, &PFImageToPDFController::pfCusBtnClick);
    connect(m_letterButton, &QRadioButton::clicked, this, &PFImageToPDFController::pfLetterClick);
    m_letterButton->setChecked(true);
    loadParameters();
}

void PFImageToPDFController::pfCusBtnClick()
{
    m_cusButton->setChecked(true);
    m_letterButton->setChecked(false);
}

void PFImageToPDFController::pfLetterClick()
{
    m_letterButton->setChecked(true);
    m_cusButton->setChecked(false);
}

void PFImageToPDFController::loadParameters()
{
    const QVariant stored = UserDefaults::standard().value(QLatin1String(parametersKey));
    const PFImageToPDFModel model = PFImageToPDFModel::fromDictionary(stored.toMap());
    if (stored.isValid()) {
        if (model.sizeType != QStringLiteral("1")) {
            pfCusBtnClick();
            if (!model.widthT.isNull())
                m_widthLB->setText(model.widthT);
            if (!model.heightT.isNull())
                m_heightLB->setText(model.heightT);
        } else {
            pfLetterClick();
            m_letterPopUpButton->setCurrentIndex(std::clamp(model.letterIndex.toInt(), 0, m_letterPopUpButton->count() - 1));
        }
    }
    m_comboBox->setCurrentText(model.paddingT.isNull() ? QStringLiteral("0") : model.paddingT);
}

PFFileListWindow::Preparation PFImageToPDFController::prepareFile(const QString &path)
{
    const QFileInfo info(path);
    // The thumbnail is decoded by the same decoder as the conversion, so a file that shows here
    // converts, and one that cannot be decoded is turned away now rather than at Convert.
    const QSize thumbnail(120, 120);
    const PDFImageDecoder::Decoded decoded = PDFImageDecoder::decode(path, thumbnail);
    if (decoded.image.isNull())
        return PageMessages::faulty(info.fileName());
    PFDragModel entry{path, info.completeBaseName(), {}, QUrl::fromLocalFile(path)};
    entry.pdfImage = decoded.image.scaled(thumbnail, Qt::KeepAspectRatio, Qt::SmoothTransformation);
    return entry;
}

void PFImageToPDFController::pfStartButtonClick()
{
    const QStringList images = listView()->filePaths();
    if (images.isEmpty() || isBusy())
        return;
    const bool standard = m_letterButton->isChecked();
    const int index = m_letterPopUpButton->currentIndex();
    const QString margin = m_comboBox->currentText();
    const auto setup = ImagePageSetup::fromTexts(standard, index, m_widthLB->text(), m_heightLB->text(), margin);
    if (!setup) {
        statusDisplay()->showMessage(PageMessages::invalidParameters());
        return;
    }
    PFImageToPDFModel model;
    if (standard) {
        model.sizeType = QStringLiteral("1");
        model.letterIndex = QString::number(index);
    } else {
        model.sizeType = QStringLiteral("2");
        model.widthT = m_widthLB->text();
        model.heightT = m_heightLB->text();
    }
    model.paddingT = margin.isNull() ? QString(QLatin1String("")) : margin; // an empty margin is kept as such
    UserDefaults::standard().setValue(QLatin1String(parametersKey), model.toDictionary());

    const QString folder = storePath();
    runWrite([images, folder, setup = *setup] { return PFPageManager::sharedManager().pfCombineImages(images, folder, setup); },
             pfLocalized("拼接成功"));
}
