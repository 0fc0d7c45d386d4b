#pragma once

#include <atomic>
#include <chrono>
#include <mutex>
#include <thread>

// The lock of one open document: recursive, and fair to a thread kept waiting.
//
// A worker walking the pages takes the lock once per page. A plain mutex lets such a walk take
// the lock straight back each time, before the thread woken to wait for it has run, so the GUI
// thread could sleep through a whole walk. Here a worker that takes the lock again right after
// releasing it, while another thread waits, first gives way (for at most kGiveWay). The thread
// of the application's event loop never gives way: it handles input and paints.
class PDFDocumentMutex {
public:
    static constexpr std::chrono::milliseconds kGiveWay{2};

    void lock();
    bool try_lock();
    void unlock();

private:
    void giveWay(std::thread::id me);

    std::mutex m_mutex;
    std::atomic<std::thread::id> m_owner{};
    int m_depth = 0; // touched by the owner only
    std::atomic<std::thread::id> m_lastOwner{};
    std::atomic<int> m_waiting{0};
};
