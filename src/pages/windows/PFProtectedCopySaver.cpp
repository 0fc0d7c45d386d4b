#include "PFProtectedCopySaver.h"

#include "PFPagePrompts.h"
#include "PFPageTask.h"
#include "pages/PFPageManager.h"

namespace PFProtectedCopySaver {

void pfSetPassDoc(QWidget *owner, PFStatusDisplay *display, const PDFDocument &document, const QString &documentName,
                  const QString &documentPassword, const QString &permissionsPassword, bool noCopy, bool noPrint)
{
    const auto choice = PFPagePrompts::current().saveFile(owner, documentName, {{QStringLiteral("PDF"), QStringLiteral("pdf")}});
    if (!choice)
        return;
    const QString path = choice->path;
    const auto existing = choice->replaces ? PFPageManager::ExistingFile::Replace : PFPageManager::ExistingFile::KeepIt;
    PFPageTask::run(owner, display, [=] {
        return PFPageManager::sharedManager().pfSavePassDoc(document, documentPassword, permissionsPassword, noCopy,
                                                           noPrint, path, existing);
    }, {});
}

} // namespace PFProtectedCopySaver
