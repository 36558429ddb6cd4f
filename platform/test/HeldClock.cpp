// The calling thread's held time: the wall clock less the thread's waits in the run queue, which the
// kernel keeps per thread (the second figure of /proc/thread-self/schedstat).
#include "platform/test/HeldClock.h"

#include <algorithm>
#include <cstdio>

namespace qor::test {

std::uint64_t ThreadRunQueueWaitNs()
{
    std::FILE* file = std::fopen("/proc/thread-self/schedstat", "r");
    if (file == nullptr) return 0;
    unsigned long long onCpu = 0, waited = 0;
    const bool read = std::fscanf(file, "%llu %llu", &onCpu, &waited) == 2;
    std::fclose(file);
    return read ? waited : 0;
}

void HeldClock::Restart()
{
    m_waitedNs = ThreadRunQueueWaitNs();
    m_start = std::chrono::steady_clock::now();
}

double HeldClock::Ms() const
{
    const double wallMs = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - m_start).count();
    const double waitedMs = static_cast<double>(ThreadRunQueueWaitNs() - m_waitedNs) / 1e6;
    return std::max(0.0, wallMs - waitedMs);
}

} // namespace qor::test
