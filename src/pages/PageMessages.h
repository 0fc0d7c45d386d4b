#pragma once

#include <QString>

// The user-facing messages of the page tools, looked up in the translation tables.
namespace PageMessages {
QString faulty(const QString &fileName);    // "<name> is faulty and can't be processed"
QString encrypted(const QString &fileName); // "<name> is encrypted and can't be processed"
QString unsupported();                      // the file format is not supported
QString invalidParameters();
QString noPages();                          // the result would have no page
QString noOutline();                        // no outline item at the level asked for
QString writeFailed();
QString pageTooLarge(int pageNumber);       // the page's image would be too large to make
} // namespace PageMessages
