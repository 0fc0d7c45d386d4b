#pragma once

#include <QSizeF>
#include <QString>
#include <QVector>

// The paper sizes offered for a new blank document, in points, by index.
namespace PFBlankPaper {

struct Size {
    const char *title;
    QSizeF points;
};

const QVector<Size> &sizes();
constexpr int kDefaultIndex = 7; // A4
// The size at the index; any index outside the table gives A4.
QSizeF sizeAt(int index);
// Writes a one-page PDF whose only page is empty, with the media box of the size at `index`.
bool write(const QString &path, int index);

} // namespace PFBlankPaper
