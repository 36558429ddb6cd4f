// How long the window thread goes without running its timers: a 10 ms timer on the window thread
// notes the longest gap between two of its ticks (less the interval) while the meter runs. The
// gap is what a user meets as a window that does not answer; time the thread waited for a processor while
// other processes ran is left out (see HeldClock.h).
//
//   qor::test::PauseMeter meter;   // ticks from here on
//   ... the work to judge, with the message loop running ...
//   double worst = meter.LongestMs();
#pragma once

#include <memory>

namespace qor::test {

class PauseMeter
{
public:
    explicit PauseMeter(int intervalMs = 10);
    ~PauseMeter();
    PauseMeter(const PauseMeter&) = delete;
    PauseMeter& operator=(const PauseMeter&) = delete;

    // The longest gap between two ticks so far, less the interval (0 when none was longer).
    double LongestMs() const;
    // Forgets the gaps so far (the next gap counts from now).
    void Reset();
    // Ticks counted so far (after the last Reset).
    int Ticks() const;

private:
    struct Impl;
    std::unique_ptr<Impl> m_pImpl;
};

} // namespace qor::test
