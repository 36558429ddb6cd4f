// The minimal per-position kernel the engine's moving-load runs are measured against, and the
// bridges of equal spans it is run over (the benchmarks and the kept-position test share them).
#pragma once

#include "engine/analysis/BeamAnalysis.h"
#include "engine/analysis/BeamResults.h"
#include "engine/analysis/Envelope.h"
#include "engine/analysis/SinglePosAnalysis.h"
#include "engine/model/Beam.h"
#include "engine/model/Bridge.h"
#include "engine/model/LoadModel.h"

#include <memory>
#include <vector>

namespace qor::bench {

// A bridge of n equal 20 m spans.
inline std::shared_ptr<CBridge> EqualSpans(int n)
{
    auto bridge = std::make_shared<CBridge>(1, CString(L"Spans"), CBridge::CONFIG_ONESPAN, 20.0);
    bridge->m_Config = CBridge::CONFIG_EXPLICIT;
    bridge->m_vSpans.assign(static_cast<std::size_t>(n), 20.0);
    bridge->BuildBeam();
    return bridge;
}

// The minimal kernel: the truck at every 0.1 m step, the beam solved at each position (the
// engine's factorised solver), and its moment and shear lines written into maximum and minimum
// envelopes of points (a value, where, the position and the load model): every value compared
// with the held one and the point replaced where it is beyond, nothing else kept. Returns the
// positions solved.
inline long long KernelRun(const std::shared_ptr<CBridge>& bridge, const std::shared_ptr<CLoadModel>& truck,
                           double step, std::vector<PointLoadEffect> (&env)[4])
{
    const int nPoints = CBeamAnalysis::PointsPerSpanSetting();
    const auto model = truck->Clone();
    model->Update();
    CSinglePosAnalysis spa(bridge, model);
    spa.Prepare(nPoints);
    CBeamResults res;
    const double end = bridge->GetBeam()->m_Length + model->m_Length + step;
    long long positions = 0;
    for (double p = -step; p < end; p += step)
    {
        spa.AnalyseInto(p, res);
        ++positions;
        for (int kind = 0; kind < 2; ++kind)
        {
            std::vector<PointLoadEffect>& vMax = env[2 * kind];
            std::vector<PointLoadEffect>& vMin = env[2 * kind + 1];
            std::size_t i = 0;
            for (const CMbrResults& mbr : res.m_vMbrRes)
            {
                const std::vector<double>& y = kind == 0 ? mbr.M : mbr.V;
                for (std::size_t j = 0; j < y.size(); ++j, ++i)
                {
                    if (i == vMax.size())
                    {
                        vMax.emplace_back(y[j] > 0.0 ? y[j] : 0.0, mbr.x[j], p, static_cast<BeamResultsType>(kind),
                                          model.get());
                        vMin.emplace_back(y[j] < 0.0 ? y[j] : 0.0, mbr.x[j], p, static_cast<BeamResultsType>(kind),
                                          model.get());
                        continue;
                    }
                    if (y[j] > vMax[i].val)
                        vMax[i] = PointLoadEffect(y[j], mbr.x[j], p, static_cast<BeamResultsType>(kind), model.get());
                    if (y[j] < vMin[i].val)
                        vMin[i] = PointLoadEffect(y[j], mbr.x[j], p, static_cast<BeamResultsType>(kind), model.get());
                }
            }
        }
    }
    return positions;
}

} // namespace qor::bench
