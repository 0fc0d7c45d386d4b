#pragma once

#include <QRectF>
#include <QSizeF>
#include <QString>
#include <optional>

// Page size and margin of images turned into a PDF, and where an image goes on such a page.
class ImagePageSetup {
public:
    // The nine standard sizes in points, by list index: US Letter, JIS B5, US Legal, A0 … A5.
    // Any index outside 1..8 is US Letter.
    static QSizeF standardSize(int index);

    // Checks the user's texts: a custom width and height must be digits only and above 0, the
    // margin digits only (empty is 0), and the margins must leave room for the image.
    // nullopt when any of them is invalid.
    static std::optional<ImagePageSetup> fromTexts(bool standard, int index, const QString &width,
                                                   const QString &height, const QString &margin);

    QSizeF pageSize() const { return m_page; }
    double margin() const { return m_margin; }
    // The image of the given size scaled (up or down) to touch the box within the margins on
    // two sides, keeping its proportions, and centred on the page; in page space, y upwards.
    QRectF placement(QSizeF image) const;

private:
    ImagePageSetup(QSizeF page, double margin) : m_page(page), m_margin(margin) {}
    QSizeF m_page;
    double m_margin = 0;
};
