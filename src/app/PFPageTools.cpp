#include "PFPageTools.h"

#include "ViewController.h"
#include "editing/PFBasePDFView.h"
#include "pages/OutlineParts.h"
#include "pages/windows/PFExtractImageController.h"
#include "pages/windows/PFHudStatusDisplay.h"
#include "pages/windows/PFPageExportActions.h"
#include "pages/windows/PFPasswordEditController.h"
#include "pages/windows/PFProtectedCopySaver.h"
#include "pages/windows/PFWatermarkController.h"
#include "widgets/PFEscapeCloses.h"

#include <QFileInfo>

namespace {
// Shows a tool window of the document window in front of it.
void present(QWidget *dialog)
{
    PFEscapeCloses::install(dialog);
    dialog->show();
    dialog->raise();
    dialog->activateWindow();
}
} // namespace

PFPageTools::PFPageTools(ViewController *controller)
    : QObject(controller), m_controller(controller), m_display(std::make_unique<PFHudStatusDisplay>(controller))
{
}

PFPageTools::~PFPageTools() = default;

QString PFPageTools::documentName() const
{
    const auto content = m_controller->representedObject();
    return content ? QFileInfo(content->filePath).completeBaseName() : QString();
}

void PFPageTools::pfExtractImageMenuClick()
{
    if (!m_extract) {
        m_extract = new PFExtractImageController(m_controller);
        m_extract->setWindowFlag(Qt::Dialog);
        m_extract->setAttribute(Qt::WA_DeleteOnClose);
        m_extract->pfDoneEdit = [this](const std::optional<QString> &text, int selection, const QString &folder,
                                       int format) {
            const auto content = m_controller->representedObject();
            if (!content || content->filePath.isEmpty())
                return;
            PFPageExportActions::pfExtractParameter(m_controller, m_display.get(), content->filePath, text, selection,
                                                    folder, format);
        };
    }
    m_extract->setOutlineAvailable(OutlineParts::hasOutline(m_controller->pdfView()->document()));
    present(m_extract);
}

void PFPageTools::pfPassMenuClick()
{
    if (!m_password) {
        m_password = new PFPasswordEditController(m_controller);
        m_password->setWindowFlag(Qt::Dialog);
        m_password->setAttribute(Qt::WA_DeleteOnClose);
        m_password->pfDoneEdit = [this](const QString &document, const QString &permissions, bool noCopy,
                                        bool noPrint) {
            PFProtectedCopySaver::pfSetPassDoc(m_controller, m_display.get(), m_controller->documentForWriting(),
                                               documentName(), document, permissions, noCopy, noPrint);
        };
    }
    present(m_password);
}

void PFPageTools::pfAddWatermarkClick()
{
    if (!m_watermark) {
        m_watermark = new PFWatermarkController(m_controller);
        // A tool window rather than a pop-up: its colour panel must not close it.
        m_watermark->setWindowFlag(Qt::Tool);
        m_watermark->setAttribute(Qt::WA_DeleteOnClose);
        connect(m_watermark, &PFWatermarkController::watermarkChanged, m_controller,
                &ViewController::pfAddAddWatermarkDoneClick);
    }
    present(m_watermark);
}

void PFPageTools::pfExportThumbPage(const QVector<int> &indices)
{
    PFPageExportActions::pfExportThumbPages(m_controller, m_display.get(), m_controller->documentForWriting(),
                                            indices, documentName());
}

PFExtractImageController *PFPageTools::extractDialog() const { return m_extract; }

PFPasswordEditController *PFPageTools::passwordDialog() const { return m_password; }

PFWatermarkController *PFPageTools::watermarkDialog() const { return m_watermark; }
