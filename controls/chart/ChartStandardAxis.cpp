// The linear numeric axis.
#include "controls/chart/ChartStandardAxis.h"

#include "controls/chart/ChartCtrl.h"

#include <cmath>

using namespace qor::chart;

CChartStandardAxis::CChartStandardAxis() = default;
CChartStandardAxis::~CChartStandardAxis() = default;

void CChartStandardAxis::SetTickIncrement(bool automatic, double increment)
{
    m_bAutoTicks = automatic;
    if (!automatic) m_dTickIncrement = increment;
    RefreshParent();
}

void CChartStandardAxis::SetDecimals(int decimals)
{
    m_uDecCount = decimals < 0 ? 0 : decimals;
    RefreshParent();
}

bool CChartStandardAxis::TicksUsable() const
{
    return qor::chart::TicksUsable(m_MinValue, m_MaxValue, m_dTickIncrement);
}

double CChartStandardAxis::FirstTickValue() const
{
    return m_bIsDiscrete ? m_dFirstTickValue - m_dTickIncrement : m_dFirstTickValue;
}

bool CChartStandardAxis::NextTickValue(double currentTick, double* pNextTick) const
{
    if (m_dTickIncrement == 0.0 || !std::isfinite(m_dTickIncrement)) return false;
    // Ticks are first + k * increment: the next one is computed from its index, not summed.
    const double first = FirstTickValue();
    const double k = std::round((currentTick - first) / m_dTickIncrement) + 1;
    *pNextTick = first + k * m_dTickIncrement;
    return TickWithinMax(*pNextTick, m_MaxValue, m_dTickIncrement);
}

long CChartStandardAxis::TickPosition(double value) const { return ValueToScreen(value); }

long CChartStandardAxis::DiscreteValueToScreen(double value) const
{
    if (m_dTickIncrement == 0.0 || !std::isfinite(m_dTickIncrement)) return ValueToScreen(value);
    const double e = value < 0 ? -1e-10 : 1e-10;
    const double snapped = std::trunc((value + e) / m_dTickIncrement) * m_dTickIncrement + m_dTickIncrement / 2;
    return ValueToScreen(snapped);
}

CString CChartStandardAxis::TickLabel(double tickValue) const
{
    return CString(FormatTickLabel(tickValue, m_uDecCount, m_dTickIncrement));
}

void CChartStandardAxis::RecalcTickIncrement()
{
    if (!m_bAutoTicks) return;
    const STickIncrement inc =
        ComputeTickIncrement(m_MinValue, m_MaxValue, GetSpan().Length(), TickSpacing(), m_uDecCount);
    m_dTickIncrement = inc.increment;
    m_uDecCount = inc.decimals;
}

void CChartStandardAxis::RecalcFirstTick() { m_dFirstTickValue = ComputeFirstTick(m_MinValue, m_dTickIncrement); }
