#pragma once

#include "platform/pdf/PDFAnnotation.h"

#include <QObject>
#include <QPointer>

class PFBasePDFView;

// Turns a rectangle drawn with the link tool into a link: asks with the link tab where it
// leads, then gives it its action as one undo step, or removes it. A link without an action
// never stays on a page.
class PFLinkCreator : public QObject {
    Q_OBJECT
public:
    explicit PFLinkCreator(PFBasePDFView *view);

    // Completes (type 1 page number, 2 e-mail, 3 web address) or removes (type 0, or a value
    // that makes no link: no digits, a page outside the document, an empty address) the link
    // being made. True when a link was made.
    bool pfEidtLink(const PDFAnnotation &link, const QString &value, int type);

private:
    void askForTarget(const PDFAnnotation &link);

    QPointer<PFBasePDFView> m_view;
};
