#include "ThreadPriority.h"

#include <sys/resource.h>
#include <unistd.h>

namespace {
// Nice 5 weighs a third of nice 0: background threads still get most of an otherwise idle
// machine, and a third of a CPU when the GUI thread or another program wants it.
constexpr int kBackgroundNice = 5;
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
