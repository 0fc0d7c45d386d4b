#pragma once

#include "PFDragModel.h"
#include "PFOutputFolder.h"
#include "pages/PFPageResult.h"

#include <QDialog>
#include <functional>
#include <memory>
#include <variant>

class PFCombineDragView;
class PFDragListView;
class PFSerialPreparer;
class PFStatusDisplay;
class QLabel;
class QPushButton;
class QVBoxLayout;

// What the combine and images-to-PDF windows share: the drop area and the ordered list, files
// prepared one at a time on a serial queue, the remembered output folder and the run of the
// final write off the GUI thread. Subclasses say which files they take, how one is prepared
// and what the start button does.
class PFFileListWindow : public QDialog {
    Q_OBJECT
public:
    ~PFFileListWindow() override;

    PFDragListView *listView() const { return m_list; }
    QString storePath() const { return m_folder.path(); }
    QString pfFinalSavePath() const { return m_finalSavePath; }
    // Replaces the window's progress and message display (owned by the window afterwards).
    void setStatusDisplay(std::unique_ptr<PFStatusDisplay> display);
    PFStatusDisplay *statusDisplay() const { return m_display.get(); }
    // True while added files are still being prepared or the final write runs.
    bool isBusy() const;

    // Adds files and folders as a drop does; false when none of them is accepted.
    bool pfDragFileURL(const QStringList &paths);
    // Asks for files with the open panel and adds those chosen.
    void pfOpenFile();
    // Asks for a folder and adds the accepted files in it and its subfolders.
    void pfOpenFolder();
    void pfDeleteClick(int row);
    void pfPathPickClick();
    void pfPathShowClick();

signals:
    // The final write finished (successfully or not); for whoever waits on the window.
    void finished(const PFPageResult &result);

protected:
    // Prepares one file off the GUI thread: an entry to append, or a message to show instead.
    // A plain function, since it runs while the window may be going away.
    using Preparation = std::variant<PFDragModel, QString>;
    using Prepare = Preparation (*)(const QString &path);

    PFFileListWindow(const QString &title, const QString &dropHint, const QString &startTitle,
                     const QStringList &extensions, Prepare prepare, QWidget *parent);

    // The area above the output folder row, for the subclass's own controls.
    QVBoxLayout *parameterArea() const { return m_parameters; }
    virtual void pfStartButtonClick() = 0;
    // Runs the final write off the GUI thread with the progress display; remembers the path
    // written and shows `successMessage`.
    void runWrite(std::function<PFPageResult()> work, const QString &successMessage);

private:
    void addFiles(const QStringList &files);
    void pfShowSaveLBPath();

    QStringList m_extensions;
    Prepare m_prepare;
    PFOutputFolder m_folder;
    QString m_finalSavePath;
    PFCombineDragView *m_dropArea;
    PFDragListView *m_list;
    QVBoxLayout *m_parameters;
    QPushButton *m_pathDirect;
    PFSerialPreparer *m_queue;
    std::unique_ptr<PFStatusDisplay> m_display;
    bool m_writing = false;
};
