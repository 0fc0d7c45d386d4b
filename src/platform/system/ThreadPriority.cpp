#include "ThreadPriority.h"

#include <cstdint>
#include <sched.h>
#include <sys/resource.h>
#include <sys/syscall.h>
#include <unistd.h>

namespace {
// Nice 5 weighs a third of nice 0: background threads still get most of an otherwise idle
// machine, and a third of a CPU when the GUI thread or another program wants it.
constexpr int kBackgroundNice = 5;
// The shortest turn the scheduler grants (0.1 ms); its default is a few milliseconds.
constexpr std::uint64_t kInteractiveSliceNs = 100'000;

// The kernel's struct sched_attr (sched_setattr(2)); its header clashes with <sched.h>.
struct SchedAttributes {
    std::uint32_t size;
    std::uint32_t policy;
    std::uint64_t flags;
    std::int32_t nice;
    std::uint32_t priority;
    std::uint64_t runtime;
    std::uint64_t deadline;
    std::uint64_t period;
};
} // namespace

void ThreadPriority::lowerForBackgroundWork()
{
    thread_local bool lowered = false;
    if (lowered)
        return;
    // On Linux a thread id names one thread here; failure leaves the priority as it was.
    setpriority(PRIO_PROCESS, static_cast<id_t>(gettid()), kBackgroundNice);
    lowered = true;
}

void ThreadPriority::favourInteractiveThread()
{
    SchedAttributes attributes{};
    attributes.size = sizeof attributes;
    attributes.policy = SCHED_OTHER;
    attributes.nice = getpriority(PRIO_PROCESS, static_cast<id_t>(gettid()));
    attributes.runtime = kInteractiveSliceNs;
    syscall(SYS_sched_setattr, 0, &attributes, 0);
}
