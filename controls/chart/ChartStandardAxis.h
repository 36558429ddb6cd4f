// The linear numeric axis.
#pragma once

#include "controls/chart/ChartAxis.h"

class CChartStandardAxis : public CChartAxis
{
public:
    CChartStandardAxis();
    ~CChartStandardAxis() override;

    // With automatic on, every redraw recomputes the increment.
    void SetTickIncrement(bool automatic, double increment);
    double GetTickIncrement() const { return m_dTickIncrement; }
    bool IsTickIncrementAutomatic() const { return m_bAutoTicks; }
    void SetDecimals(int decimals);
    int GetDecimals() const { return m_uDecCount; }
    double GetFirstTick() const { return m_dFirstTickValue; }

    double FirstTickValue() const override;
    bool NextTickValue(double currentTick, double* pNextTick) const override;
    long TickPosition(double value) const override;
    long DiscreteValueToScreen(double value) const override;
    CString TickLabel(double tickValue) const override;
    void RecalcTickIncrement() override;
    void RecalcFirstTick() override;

protected:
    bool TicksUsable() const override;

private:
    double m_dFirstTickValue = 0.0;
    double m_dTickIncrement = 1.0;
    int m_uDecCount = 2;
};
