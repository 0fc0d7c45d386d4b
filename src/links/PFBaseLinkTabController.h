#pragma once

#include <QDialog>
#include <functional>

class PFLinkEmailController;
class PFLinkNumController;
class PFLinkURLController;
class QTabWidget;

// The sheet that asks where a new link leads: a page of this document, an e-mail address or a
// web site, one tab each. The first answer of any tab is passed on and closes the sheet.
class PFBaseLinkTabController : public QDialog {
    Q_OBJECT
public:
    explicit PFBaseLinkTabController(QWidget *parent = nullptr);

    QTabWidget *tabView() const { return m_tabs; }
    PFLinkNumController *pfLinkNumCon() const { return m_num; }
    PFLinkEmailController *pfLinkEmailCon() const { return m_email; }
    PFLinkURLController *pfLinkURLCon() const { return m_url; }

    // The page tab's total, "/count".
    void pfSetTotalPageNum(int count);
    void pfHideCon();

    // (value, type): type 0 cancel, 1 page number, 2 e-mail address, 3 web address.
    std::function<void(const QString &value, int type)> pfDoneLinkEdit;

private:
    void report(const QString &value, int type);

    QTabWidget *m_tabs;
    PFLinkNumController *m_num;
    PFLinkEmailController *m_email;
    PFLinkURLController *m_url;
};
