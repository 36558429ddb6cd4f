// How long the window thread goes without running its timers: a 10 ms timer on the window thread notes the
// longest gap between two of its ticks (less the interval) while the meter runs. A gap is held time: what
// the thread waited for a processor while other processes ran is not the program's pause.
#include "platform/test/PauseMeter.h"

#include "platform/test/GuiTest.h"
#include "platform/test/HeldClock.h"

#include <QtCore/QTimer>

#include <algorithm>

namespace qor::test {

struct PauseMeter::Impl
{
    QTimer timer;
    int interval = 10;
    HeldClock sinceTick;
    double longest = 0.0;
    int ticks = 0;

    void Tick()
    {
        longest = std::max(longest, sinceTick.Ms() - interval);
        sinceTick.Restart();
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
    m_pImpl->sinceTick.Restart();
}

PauseMeter::~PauseMeter() { m_pImpl->timer.stop(); }

double PauseMeter::LongestMs() const { return m_pImpl->longest; }

void PauseMeter::Reset()
{
    m_pImpl->longest = 0.0;
    m_pImpl->ticks = 0;
    m_pImpl->sinceTick.Restart();
}

int PauseMeter::Ticks() const { return m_pImpl->ticks; }

} // namespace qor::test
