#include "PFPageTask.h"

#include "PFPagePrompts.h"
#include "PFStatusDisplay.h"
#include "platform/system/BackgroundPool.h"

#include <QFutureWatcher>
#include <QtConcurrent/QtConcurrentRun>

namespace PFPageTask {

void run(QWidget *owner, PFStatusDisplay *display, std::function<PFPageResult()> work, Options options)
{
    if (display)
        display->showProgress();
    // The watcher belongs to the owner: if the window goes first, no report reaches it.
    auto *watcher = new QFutureWatcher<PFPageResult>(owner);
    QObject::connect(watcher, &QFutureWatcher<PFPageResult>::finished, owner, [watcher, display, options] {
        const PFPageResult result = watcher->result();
        watcher->deleteLater();
        if (display) {
            display->hide();
            const QString message = result.ok() ? options.successMessage : result.error;
            if (!message.isEmpty())
                display->showMessage(message);
        }
        if (result.ok() && options.reveal && !result.written.isEmpty())
            PFPagePrompts::current().reveal(result.written.first());
        if (options.done)
            options.done(result);
    });
    watcher->setFuture(QtConcurrent::run(backgroundPool(), std::move(work)));
}

} // namespace PFPageTask
