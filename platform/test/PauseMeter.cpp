// How long the window thread goes without running its timers: a 10 ms timer on the window thread notes the
// longest gap between two of its ticks (less the interval) while the meter runs.
#include "platform/test/PauseMeter.h"

#include "platform/test/GuiTest.h"

#include <QtCore/QTimer>

#include <algorithm>
#include <chrono>

namespace qor::test {

struct PauseMeter::Impl
{
    using Clock = std::chrono::steady_clock;
    QTimer timer;
    int interval = 10;
    Clock::time_point last = Clock::now();
    double longest = 0.0;
    int ticks = 0;

    void Tick()
    {
        const Clock::time_point now = Clock::now();
        const double gap = std::chrono::duration<double, std::milli>(now - last).count() - interval;
        longest = std::max(longest, gap);
        last = now;
        ++ticks;
    }
};

PauseMeter::PauseMeter(int intervalMs) : m_pImpl(std::make_unique<Impl>())
{
    EnsureGuiApplication();
    m_pImpl->interval = intervalMs;
    m_pImpl->timer.setTimerType(Qt::PreciseTimer);
    QObject::connect(&m_pImpl->timer, &QTimer::timeout, [impl = m_pImpl.get()] { impl->Tick(); });
    m_pImpl->timer.start(intervalMs);
    m_pImpl->last = Impl::Clock::now();
}

PauseMeter::~PauseMeter() { m_pImpl->timer.stop(); }

double PauseMeter::LongestMs() const { return m_pImpl->longest; }

void PauseMeter::Reset()
{
    m_pImpl->longest = 0.0;
    m_pImpl->ticks = 0;
    m_pImpl->last = Impl::Clock::now();
}

int PauseMeter::Ticks() const { return m_pImpl->ticks; }

} // namespace qor::test
