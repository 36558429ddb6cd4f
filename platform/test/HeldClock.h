// How long the calling thread has held the processor or waited for its own work since a start: the
// time on the wall less the time the system kept it waiting for a processor. Busy processes beside a
// test stretch the wall clock but not this one, so a test can judge how long the window thread was
// held on a loaded machine as on an idle one.
//
//   qor::test::HeldClock held;    // counts from here, for this thread
//   ... the work to judge ...
//   EXPECT_LT(held.Ms(), 250.0);
#pragma once

#include <chrono>
#include <cstdint>

namespace qor::test {

// Nanoseconds the calling thread has waited, runnable, for a processor since it started (0 where the
// system does not say).
std::uint64_t ThreadRunQueueWaitNs();

class HeldClock
{
public:
    HeldClock() { Restart(); }
    void Restart();
    // Milliseconds since the start (or the last Restart), less this thread's waits for a processor.
    double Ms() const;

private:
    std::chrono::steady_clock::time_point m_start;
    std::uint64_t m_waitedNs = 0;
};

} // namespace qor::test
