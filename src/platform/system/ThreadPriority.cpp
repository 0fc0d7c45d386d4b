#include "ThreadPriority.h"

#include <cstdint>
#include <sched.h>
#include <sys/resource.h>
#include <sys/syscall.h>
#include <unistd.h>

namespace {
// Nice 5 weighs a third of nice 0, nice 10 a third of that: background threads still get all of
// an otherwise idle machine, and little of a CPU the GUI thread wants.
constexpr int kShownNice = 5;
constexpr int kAsideNice = 10;
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

void ThreadPriority::lowerForBackgroundWork(Urgency urgency)
{
    const int nice = urgency == Urgency::Shown ? kShownNice : kAsideNice;
    thread_local int lowered = 0;
    if (lowered == nice)
        return;
    // On Linux a thread id names one thread here; failure leaves the priority as it was.
    setpriority(PRIO_PROCESS, static_cast<id_t>(gettid()), nice);
    lowered = nice;
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
