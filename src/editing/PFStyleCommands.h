#pragma once

#include <QColor>
#include <QObject>

class PFBasePDFView;

// Restyling from the width and colour popovers: the current tool's remembered style changes,
// and so does a selected annotation of that tool's kind. Existing markups and ink keep theirs.
class PFStyleCommands : public QObject {
    Q_OBJECT
public:
    explicit PFStyleCommands(PFBasePDFView *view);

    void pfChangeCurrentWidth(int width);
    // `kind` 1 or 2 is the stroke or text colour, anything else the fill.
    void pfChangeAnoColor(const QColor &color, int kind);

private:
    PFBasePDFView *m_view;
};
