#pragma once

#include "PFStampSelectViewController.h"
#include "platform/pdf/PDFPage.h"

#include <QObject>
#include <QPointer>
#include <QPointF>

class PFBasePDFView;
class PFDrawMenuView;
class PFPicture;

// The Image and Stamp tools of a window: asks for the picture (file panel) or the stamp
// (picker), keeps the answer on the PDF view as the pending item, and places a pending stamp
// where the next click on a page falls. (The pointer machine places pictures itself.)
class PFStampPlacement : public QObject {
    Q_OBJECT
public:
    // `window` parents the file panel and shows messages.
    PFStampPlacement(PFBasePDFView *view, QWidget *window);
    ~PFStampPlacement() override;

    // The Image tool: a picture from a file becomes the pending photo.
    void pfAddPhotoToPDF();
    // The picker's custom button: a picture from a file becomes the pending image stamp.
    void pfAddStampToPDF();
    // The Stamp tool: the picker below the bar's Stamp button.
    void pfShowSelectStampView(PFDrawMenuView *bar);
    PFStampSelectViewController *pfStampSelectCon() const { return m_picker; }

    // Places the pending stamp centred on the page point; the machine calls it on a click.
    void placeStamp(const PDFPage &page, QPointF click);

private:
    // A picture from the file panel; null when cancelled or unreadable (then said so).
    bool choosePicture(PFPicture &picture);

    PFBasePDFView *m_view;
    QPointer<QWidget> m_window;
    QPointer<PFStampSelectViewController> m_picker;
};
