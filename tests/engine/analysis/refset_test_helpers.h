// Builders shared by the reference-set and reference-collection tests.
#pragma once

#include "engine/analysis/CriticalEnsemble.h"
#include "engine/analysis/EnvelopeResults.h"
#include "engine/model/BridgeSet.h"
#include "engine/model/LoadModel.h"
#include "engine/model/LoadModelEnsemble.h"
#include "engine/settings/Settings.h"
#include "tests/engine/engine_test_util.h"

#include <gtest/gtest.h>

#include <memory>
#include <sstream>
#include <string>
#include <vector>

namespace reftest {

// 20 points per span keep the runs quick and put a result point at every tenth of a span
// (midspan included).
class PointsPerSpan
{
public:
    explicit PointsPerSpan(int n) : m_old(CSettings::GetInstance()->Analysis.NPOINTS_ALONG_BEAM)
    {
        CSettings::GetInstance()->Analysis.NPOINTS_ALONG_BEAM = n;
    }
    ~PointsPerSpan() { CSettings::GetInstance()->Analysis.NPOINTS_ALONG_BEAM = m_old; }

private:
    int m_old;
};

// nBridge single-span bridges from startL to endL (a set needs two bridges to generate any).
inline std::shared_ptr<CBridgeSet> Spans(double startL, double endL, int nBridge = 2, int config = 1,
                                         const wchar_t* name = L"Set")
{
    return std::make_shared<CBridgeSet>(1, CString(name), nBridge, config, startL, endL);
}

// A uniform load of w kN/m (analysed once, not moved).
inline std::shared_ptr<CLoadModel> Udl(double w, const wchar_t* name = L"UDL")
{
    auto lm = std::make_shared<CLoadModel>(1, CString(name));
    lm->AddUDL(w);
    return lm;
}

// A vehicle of axles {magnitude, location}.
inline std::shared_ptr<CLoadModel> Truck(const std::vector<std::pair<double, double>>& axles,
                                         const wchar_t* name = L"Truck")
{
    auto lm = std::make_shared<CLoadModel>(1, CString(name));
    for (const auto& [P, x] : axles) lm->AddPointLoad(P, x, 0.0);
    return lm;
}

inline std::shared_ptr<CLoadModelEnsemble> Ensemble(std::vector<std::shared_ptr<CLoadModel>> models,
                                                    const wchar_t* name = L"Ensemble")
{
    auto lme = std::make_shared<CLoadModelEnsemble>(1, CString(name));
    for (auto& m : models) lme->AddLoadModel(m);
    return lme;
}

// The engine text or the what() of any standard exception that f throws ("" when none).
template <class F>
std::string ThrownText(F f)
{
    try
    {
        return enginetest::ThrownText(f);
    }
    catch (const std::exception& e)
    {
        return e.what();
    }
}

} // namespace reftest
