#pragma once

#include <QObject>
#include <QPointer>
#include <QVector>
#include <memory>

class PFExtractImageController;
class PFPasswordEditController;
class PFStatusDisplay;
class PFWatermarkController;
class ViewController;

// The tool bar's commands of one document window: the extract dialog, the password dialog and
// the watermark dialog. Each is made on first use and shown again afterwards; their work reports
// through the window's message overlay.
class PFPageTools : public QObject {
    Q_OBJECT
public:
    explicit PFPageTools(ViewController *controller);
    ~PFPageTools() override;

    void pfExtractImageMenuClick();
    void pfPassMenuClick();
    void pfAddWatermarkClick();
    // The thumbnail menu's Extract: the pages as they are in memory, through the save panel.
    void pfExportThumbPage(const QVector<int> &indices);

    PFExtractImageController *extractDialog() const;
    PFPasswordEditController *passwordDialog() const;
    PFWatermarkController *watermarkDialog() const;
    PFStatusDisplay *statusDisplay() const { return m_display.get(); }

private:
    QString documentName() const;

    ViewController *m_controller;
    std::unique_ptr<PFStatusDisplay> m_display;
    QPointer<PFExtractImageController> m_extract;
    QPointer<PFPasswordEditController> m_password;
    QPointer<PFWatermarkController> m_watermark;
};
