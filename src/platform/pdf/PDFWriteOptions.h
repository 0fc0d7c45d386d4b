#pragma once

#include <QString>

// Options of a protected copy. An empty password is no password.
struct PDFWriteOptions {
    QString userPassword;  // needed to open the document
    QString ownerPassword; // needed to change permissions
    bool allowCopy = true;
    bool allowPrint = true;
};
