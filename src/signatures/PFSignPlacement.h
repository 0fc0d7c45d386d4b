#pragma once

#include "PFSignTabViewController.h"
#include "PFSignParameterModel.h"

#include "platform/pdf/PDFPage.h"

#include <QObject>
#include <QPointer>

class PFBasePDFView;
class PFDataManager;
class PFDrawMenuView;
class UserDefaults;

// The Sign tool of a window: opens the signature tab below the bar's Sign button, keeps the
// signature it reports on the PDF view as the pending one, and places that where the next
// click on a page falls: a typed signature as text, the others as a picture.
class PFSignPlacement : public QObject {
    Q_OBJECT
public:
    PFSignPlacement(PFBasePDFView *view, PFDataManager &store, UserDefaults &defaults, QWidget *window);
    ~PFSignPlacement() override;

    void pfShowSignTab(PFDrawMenuView *bar);
    PFSignTabViewController *signTab() const { return m_tab; }
    // The tab's report: the signature to place next.
    void pfSelectSignModel(const PFSignParameterModel &model);
    // Places the pending signature centred on the page point; it stays pending when there is
    // nothing that could be placed (a kept picture that is gone).
    void placeSignature(const PDFPage &page, QPointF click);

private:
    void tell(const QString &message);

    PFBasePDFView *m_view;
    PFDataManager &m_store;
    UserDefaults &m_defaults;
    QPointer<QWidget> m_window;
    QPointer<PFSignTabViewController> m_tab;
    bool m_toldStoreState = false;
};
