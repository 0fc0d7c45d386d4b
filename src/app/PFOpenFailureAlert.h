#pragma once

#include <QString>

class QWidget;

// Tells the user that a file could not be shown as a document: which file, and why.
namespace PFOpenFailureAlert {

// The message and the reason shown for `path`.
QString message(const QString &path);
QString reason(const QString &path);
// Asks the modal seam to show both over `parent` (or over the active window when `parent` is
// not on screen).
void show(QWidget *parent, const QString &path);

} // namespace PFOpenFailureAlert
