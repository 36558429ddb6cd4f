// Builders shared by the envelope tests: hand-made beam results with chosen values.
#pragma once

#include "engine/analysis/BeamResults.h"
#include "engine/analysis/Envelope.h"
#include "engine/model/Beam.h"
#include "engine/model/Bridge.h"
#include "engine/model/LoadModel.h"

#include <memory>
#include <vector>

namespace envtest {

inline std::shared_ptr<CLoadModel> MakeLM(int id, const wchar_t* name)
{
    return std::make_shared<CLoadModel>(id, CString(name));
}

// A bridge of config spans of span length L (config 1: one span, 2 supports; config 2: two
// spans, 3 supports).
inline std::shared_ptr<CBridge> MakeBridge(int config = 1, double L = 10.0)
{
    return std::make_shared<CBridge>(1, CString(L"Test bridge"), config, L);
}

// A beam result for the bridge's beam whose members hold the given x, M and V (one vector per
// span) and the given reactions.
inline std::shared_ptr<CBeamResults> MakeResults(const CBridge& bridge, const std::vector<std::vector<double>>& x,
                                                 const std::vector<std::vector<double>>& M,
                                                 const std::vector<std::vector<double>>& V,
                                                 const std::vector<double>& reactions)
{
    std::vector<CMbrResults> members;
    for (std::size_t s = 0; s < x.size(); ++s)
    {
        CMbrResults m(x[s].size());
        m.x = x[s];
        m.M = M[s];
        m.V = V[s];
        members.push_back(m);
    }
    return std::make_shared<CBeamResults>(bridge.GetBeam().get(), members, reactions);
}

// One-span result with the points x = {0, 0, 5, 10, 10}.
inline std::shared_ptr<CBeamResults> OneSpan(const CBridge& bridge, const std::vector<double>& M,
                                             const std::vector<double>& V, const std::vector<double>& reactions)
{
    return MakeResults(bridge, {{0.0, 0.0, 5.0, 10.0, 10.0}}, {M}, {V}, reactions);
}

inline PointLoadEffect Effect(double val, double xBeam, double xLM, int type,
                              const std::shared_ptr<CLoadModel>& lm = nullptr)
{
    return PointLoadEffect(val, xBeam, xLM, static_cast<BeamResultsType>(type), lm.get());
}

} // namespace envtest
