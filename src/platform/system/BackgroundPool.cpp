#include "BackgroundPool.h"

#include <QCoreApplication>
#include <QThread>
#include <QThreadPool>
#include <algorithm>

namespace {

struct BackgroundThreads : QThreadPool {
    BackgroundThreads()
    {
        setMaxThreadCount(std::max(2, QThread::idealThreadCount()));
        // Jobs end while the application still exists, as they would on Qt's own pool.
        qAddPostRoutine([] { backgroundPool()->waitForDone(); });
    }
};

Q_GLOBAL_STATIC(BackgroundThreads, threads)

} // namespace

QThreadPool *backgroundPool() { return threads(); }
