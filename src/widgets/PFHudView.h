#pragma once

#include <QPointer>
#include <QWidget>

class PFHudBKView;
class PFHudSpinner;

// A transient overlay over a host widget: a short message in a dark rounded box that removes
// itself, or a spinner in a dark box while a long operation runs. Overlays stack; each one
// follows its host's size.
class PFHudView : public QWidget {
    Q_OBJECT
public:
    static constexpr double kMessageSeconds = 2.0;

    // Adds a message overlay as the host's topmost child and shows it.
    static PFHudView *showHUDAddedTo(QWidget *host, const QString &text);
    // Adds a progress overlay (110 x 110 box, 90 x 90 spinner, centred) and starts its spinner.
    static PFHudView *showProgressHUDTo(QWidget *host);
    // Removes the topmost overlay of the host, stopping its spinner. True even when none was found.
    static bool hideHUDForView(QWidget *host, bool animated);

    QString textHint() const { return m_textHint; }
    PFHudSpinner *indiCaterT() const { return m_spinner; }

    // Repaints now and removes the overlay from its host after `delay` seconds.
    using QWidget::hide;
    void hide(bool animated, double delay);
    void show();

protected:
    void paintEvent(QPaintEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    explicit PFHudView(QWidget *host);
    void removeFromHost();

    QString m_textHint;
    PFHudSpinner *m_spinner = nullptr;
    PFHudBKView *m_box = nullptr;
};
