#include "PFEscapeCloses.h"

#include <QShortcut>
#include <QWidget>

void PFEscapeCloses::install(QWidget *window)
{
    static const char *const kInstalled = "pfEscapeCloses";
    if (!window || window->property(kInstalled).toBool())
        return;
    window->setProperty(kInstalled, true);
    auto *escape = new QShortcut(QKeySequence(Qt::Key_Escape), window);
    escape->setContext(Qt::WindowShortcut);
    QObject::connect(escape, &QShortcut::activated, window, &QWidget::close);
}
