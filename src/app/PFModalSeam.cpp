#include "PFModalSeam.h"

#include "platform/store/Localization.h"

#include <QDialog>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QFileInfo>
#include <QFormLayout>
#include <QInputDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>
#include <algorithm>

namespace {
PFModalSeam *g_installed = nullptr;
const QString kPdfFilter = QStringLiteral("PDF (*.pdf)");
} // namespace

PFModalSeam &PFModalSeam::current()
{
    static PFModalSeam fallback;
    return g_installed ? *g_installed : fallback;
}

void PFModalSeam::install(PFModalSeam *seam) { g_installed = seam; }

QString PFModalSeam::savePDFPath(QWidget *parent, const QString &folder, const QString &proposedName,
                                 QWidget *accessory)
{
    QFileDialog panel(parent);
    panel.setAcceptMode(QFileDialog::AcceptSave);
    panel.setFileMode(QFileDialog::AnyFile);
    panel.setNameFilter(kPdfFilter);
    panel.setDefaultSuffix(QStringLiteral("pdf"));
    // The accessory is a widget of ours, so the panel must be Qt's own rather than the desktop's.
    panel.setOption(QFileDialog::DontUseNativeDialog, accessory != nullptr);
    if (!folder.isEmpty())
        panel.setDirectory(folder);
    panel.selectFile(proposedName);
    if (accessory) {
        if (auto *layout = qobject_cast<QGridLayout *>(panel.layout()))
            layout->addWidget(accessory, layout->rowCount(), 0, 1, layout->columnCount());
    }
    panel.setWindowModality(parent ? Qt::WindowModal : Qt::ApplicationModal);
    const bool accepted = panel.exec() == QDialog::Accepted && !panel.selectedFiles().isEmpty();
    if (accessory)
        accessory->setParent(nullptr); // the caller owns it
    return accepted ? panel.selectedFiles().constFirst() : QString();
}

QString PFModalSeam::openPDFPath(QWidget *parent)
{
    // A PDF is opened by its content, so a file with another name can be chosen too.
    return QFileDialog::getOpenFileName(parent, QString(), QString(),
                                        kPdfFilter + QStringLiteral(";;") + pfLocalized("所有文件") + QStringLiteral(" (*)"));
}

QString PFModalSeam::openImagePath(QWidget *parent)
{
    static const QString filter = QStringLiteral("PNG, JPEG, BMP, JPEG 2000, TIFF (*.png *.PNG *.jpg *.jpeg *.JPG *.JPEG "
                                                 "*.bmp *.BMP *.jp2 *.JP2 *.tif *.TIF *.tiff *.TIFF)");
    return QFileDialog::getOpenFileName(parent, QString(), QString(), filter);
}

std::optional<QString> PFModalSeam::password(QWidget *parent, const QString &fileName, bool retry)
{
    bool ok = false;
    const QString prompt = retry ? pfLocalized("密码错误，请重新输入：") : pfLocalized("请输入文档密码：");
    const QString text = QInputDialog::getText(parent, fileName, prompt, QLineEdit::Password, QString(), &ok);
    if (!ok)
        return std::nullopt;
    return text;
}

std::optional<QString> PFModalSeam::textEntry(QWidget *parent, const QString &label, const QString &preset,
                                              const QStringList &buttons)
{
    QDialog dialog(parent);
    dialog.setWindowModality(parent ? Qt::WindowModal : Qt::ApplicationModal);
    auto *field = new QLineEdit(preset, &dialog);
    auto *form = new QFormLayout;
    form->addRow(label, field);
    auto *box = new QDialogButtonBox(&dialog);
    QPushButton *ok = box->addButton(buttons.value(0), QDialogButtonBox::AcceptRole);
    box->addButton(buttons.value(1), QDialogButtonBox::RejectRole);
    ok->setDefault(true);
    QObject::connect(box, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    QObject::connect(box, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    auto *layout = new QVBoxLayout(&dialog);
    layout->addLayout(form);
    layout->addWidget(box);
    field->selectAll();
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return field->text();
}

int PFModalSeam::alert(QWidget *parent, const QString &message, const QString &informative,
                       const QStringList &buttons)
{
    QMessageBox box(parent);
    box.setWindowModality(parent ? Qt::WindowModal : Qt::ApplicationModal);
    box.setText(message);
    box.setInformativeText(informative);
    QList<QAbstractButton *> added;
    for (int i = 0; i < buttons.size(); ++i)
        added.append(box.addButton(buttons[i], i == 0 ? QMessageBox::AcceptRole : QMessageBox::RejectRole));
    if (!added.isEmpty())
        box.setDefaultButton(qobject_cast<QPushButton *>(added.constFirst()));
    box.exec();
    return added.indexOf(box.clickedButton());
}

int PFModalSeam::runSheet(QDialog &sheet)
{
    sheet.setWindowModality(sheet.parentWidget() ? Qt::WindowModal : Qt::ApplicationModal);
    return sheet.exec();
}

bool PFModalSeam::printSetup(QWidget *parent, QPrinter &printer, int pageCount, PFPrintChoices &choices)
{
    QPrintDialog dialog(&printer, parent);
    dialog.setWindowModality(parent ? Qt::WindowModal : Qt::ApplicationModal);
    dialog.setOptions(QAbstractPrintDialog::PrintToFile | QAbstractPrintDialog::PrintPageRange |
                      QAbstractPrintDialog::PrintCollateCopies | QAbstractPrintDialog::PrintShowPageSize |
                      QAbstractPrintDialog::PrintCurrentPage);
    dialog.setMinMax(1, std::max(1, pageCount));
    auto *pages = new QWidget;
    pages->setWindowTitle(pfLocalized("页面缩放"));
    auto *fit = new QRadioButton(pfLocalized("缩放以适合纸张"), pages);
    auto *actual = new QRadioButton(pfLocalized("实际大小"), pages);
    fit->setObjectName(QStringLiteral("pfPrintFit"));
    actual->setObjectName(QStringLiteral("pfPrintActualSize"));
    (choices.fitToPage ? fit : actual)->setChecked(true);
    // The program's own page-range text, as in splitting and exporting; it wins over the
    // dialog's range when filled in.
    auto *range = new QLineEdit(choices.pageRangeText, pages);
    range->setObjectName(QStringLiteral("pfPrintRange"));
    range->setPlaceholderText(pfLocalized("(例如:1,3-6,10)"));
    range->setAccessibleName(pfLocalized("页面"));
    auto *form = new QFormLayout(pages);
    form->addRow(fit);
    form->addRow(actual);
    form->addRow(pfLocalized("页面"), range);
    dialog.setOptionTabs({pages});
    if (dialog.exec() != QDialog::Accepted)
        return false;
    choices.fitToPage = fit->isChecked();
    choices.pageRangeText = range->text().trimmed();
    return true;
}
