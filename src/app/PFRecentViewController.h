#pragma once

#include "PFThumbModel.h"

#include <QVector>
#include <QWidget>
#include <functional>

class QLabel;
class QListWidget;
class UserDefaults;

// The start view: the recently opened files that have a cached first-page picture, as a grid,
// and a hint to drop a PDF. Choosing or dropping a file reports it through pfDoneEndEdit.
class PFRecentViewController : public QWidget {
    Q_OBJECT
public:
    explicit PFRecentViewController(UserDefaults &defaults, QWidget *parent = nullptr);

    // Reads the recent list again.
    void reload();
    const QVector<PFThumbModel> &pfListArray() const { return m_items; }
    QListWidget *pfCollectionView() const { return m_grid; }
    QLabel *pfHintLB() const { return m_hint; }
    // One PDF (by extension) is accepted; anything else, two PDFs included, is refused.
    bool pfDragFileURL(const QStringList &paths);

    std::function<void(const QString &path)> pfDoneEndEdit;

protected:
    void dragEnterEvent(QDragEnterEvent *event) override;
    void dropEvent(QDropEvent *event) override;

private:
    UserDefaults &m_defaults;
    QVector<PFThumbModel> m_items;
    QListWidget *m_grid;
    QLabel *m_hint;
};
