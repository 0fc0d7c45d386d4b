#include "PFSerialPreparer.h"

#include <QPointer>

PFSerialPreparer::PFSerialPreparer(QObject *parent) : QObject(parent) { m_pool.setMaxThreadCount(1); }

PFSerialPreparer::~PFSerialPreparer()
{
    m_pool.clear();
    m_pool.waitForDone();
}

void PFSerialPreparer::add(Step step)
{
    ++m_pending;
    QPointer<PFSerialPreparer> self(this);
    m_pool.start([self, step = std::move(step)] {
        std::function<void()> finish = step();
        // The destructor waits for a running step, so the queue is still alive here; its
        // continuation runs on the GUI thread only if the queue still is then.
        QMetaObject::invokeMethod(
            self.data(),
            [self, finish = std::move(finish)] {
                if (!self)
                    return;
                if (finish)
                    finish();
                if (--self->m_pending == 0)
                    emit self->drained();
            },
            Qt::QueuedConnection);
    });
}
