#pragma once

#include "platform/pdf/PDFDocument.h"

#include <QString>

class PFStatusDisplay;
class QWidget;

// The password dialog's save step: asks for the target in the save panel and writes the
// document as it is in memory, protected, off the GUI thread. The open document stays as it was.
namespace PFProtectedCopySaver {

void pfSetPassDoc(QWidget *owner, PFStatusDisplay *display, const PDFDocument &document, const QString &documentName,
                  const QString &documentPassword, const QString &permissionsPassword, bool noCopy, bool noPrint);

} // namespace PFProtectedCopySaver
