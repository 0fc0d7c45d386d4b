#include "PDFDocumentMutex.h"

#include <QCoreApplication>
#include <QThread>

namespace {
bool isEventLoopThread()
{
    const QCoreApplication *app = QCoreApplication::instance();
    return app && app->thread() == QThread::currentThread();
}
} // namespace

void PDFDocumentMutex::lock()
{
    const std::thread::id me = std::this_thread::get_id();
    if (m_owner.load(std::memory_order_relaxed) == me) {
        ++m_depth;
        return;
    }
    if (m_lastOwner.load() == me && m_waiting.load() > 0 && !isEventLoopThread())
        giveWay(me);
    if (!m_mutex.try_lock()) {
        m_waiting.fetch_add(1);
        m_mutex.lock();
        m_waiting.fetch_sub(1);
    }
    m_owner.store(me, std::memory_order_relaxed);
    m_depth = 1;
}

bool PDFDocumentMutex::try_lock()
{
    const std::thread::id me = std::this_thread::get_id();
    if (m_owner.load(std::memory_order_relaxed) == me) {
        ++m_depth;
        return true;
    }
    if (!m_mutex.try_lock())
        return false;
    m_owner.store(me, std::memory_order_relaxed);
    m_depth = 1;
    return true;
}

void PDFDocumentMutex::unlock()
{
    if (--m_depth > 0)
        return;
    m_owner.store(std::thread::id(), std::memory_order_relaxed);
    m_lastOwner.store(std::this_thread::get_id());
    m_mutex.unlock();
}

void PDFDocumentMutex::giveWay(std::thread::id me)
{
    // Until another thread has had the lock, or the waiters have gone, or the time is up.
    const auto until = std::chrono::steady_clock::now() + kGiveWay;
    while (m_lastOwner.load() == me && m_waiting.load() > 0 && std::chrono::steady_clock::now() < until) {
        const std::thread::id owner = m_owner.load(std::memory_order_relaxed);
        if (owner != std::thread::id() && owner != me)
            return;
        std::this_thread::sleep_for(std::chrono::microseconds(20));
    }
}
