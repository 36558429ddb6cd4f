// Shared by the analysis tests: builders, a recording message sink, and a plain, unoptimised
// moving-load analysis written straight from the stepping and member-load rules (fresh load
// objects and a fresh stiffness elimination at every position), against which the analysis
// classes are compared bit for bit.
#pragma once

#include "engine/analysis/BeamAnalysis.h"
#include "engine/analysis/BeamResults.h"
#include "engine/analysis/EnvelopeResults.h"
#include "engine/analysis/Load.h"
#include "engine/model/Beam.h"
#include "engine/model/Bridge.h"
#include "engine/model/LoadModel.h"
#include "engine/runs/EngineMessages.h"
#include "platform/core/Messages.h"
#include "tests/engine/engine_test_util.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

namespace antest {

inline std::shared_ptr<CBridge> Bridge(int config, double L)
{
    return std::make_shared<CBridge>(1, CString(L"Bridge"), config, L);
}

inline std::shared_ptr<CBridge> ExplicitBridge(const std::vector<double>& spans)
{
    auto b = std::make_shared<CBridge>(1, CString(L"Bridge"), 1, spans.front());
    b->m_Config = CBridge::CONFIG_EXPLICIT;
    b->m_vSpans = spans;
    b->BuildBeam();
    return b;
}

inline std::shared_ptr<CLoadModel> Model(const wchar_t* name = L"LM")
{
    return std::make_shared<CLoadModel>(1, CString(name));
}

// A model of axles {magnitude, location}.
inline std::shared_ptr<CLoadModel> Axles(const std::vector<std::pair<double, double>>& axles,
                                         const wchar_t* name = L"Truck")
{
    auto lm = Model(name);
    for (const auto& [P, x] : axles) lm->AddPointLoad(P, x, 0.0);
    return lm;
}

// The load positions of a moving-load result, read from the first reaction history.
inline std::vector<double> Positions(const CEnvelopeResults& res)
{
    std::vector<double> p;
    const auto env = res.GetReactionEnvelope(0);
    if (env)
        for (const PointLoadEffect& e : env->m_vMax) p.push_back(e.xLoadModel);
    return p;
}

// The greatest value of the moment maxima over (from, to].
inline double MaxMomentBetween(const CEnvelopeResults& res, double from, double to)
{
    double m = 0.0;
    for (const PointLoadEffect& e : res.GetBMEnvelope()->m_vMax)
        if (e.xBeam > from && e.xBeam <= to) m = std::max(m, e.val);
    return m;
}

using enginetest::OutOfRangeText;
using enginetest::SameBits;
using enginetest::ThrownText;

// Records what the engine posts to the main window; frees posted status strings.
class RecordingWindow
{
public:
    struct Post
    {
        UINT msg;
        WPARAM wParam;
        LPARAM lParam;
        std::wstring text;
    };

    explicit RecordingWindow(bool bAccept = true) : m_bAccept(bAccept)
    {
        qor::SetMainWindowHandle(reinterpret_cast<HWND>(0x1234));
        qor::SetPostSink([this](HWND, UINT msg, WPARAM w, LPARAM l) {
            if (!m_bAccept) return false;
            Post p{msg, w, l, {}};
            if (msg == UWM_ADD_STATUS)
            {
                auto* s = reinterpret_cast<CString*>(w);
                p.text = s->GetString();
                delete s;
            }
            {
                std::lock_guard<std::mutex> lock(m_Mutex);
                m_vPosts.push_back(p);
            }
            if (m_OnPost) m_OnPost(p);
            return true;
        });
    }
    ~RecordingWindow()
    {
        qor::SetPostSink({});
        qor::SetMainWindowHandle(nullptr);
    }

    std::vector<Post> Posts(UINT msg) const
    {
        std::lock_guard<std::mutex> lock(m_Mutex);
        std::vector<Post> out;
        for (const Post& p : m_vPosts)
            if (p.msg == msg) out.push_back(p);
        return out;
    }

    std::function<void(const Post&)> m_OnPost;

private:
    bool m_bAccept;
    mutable std::mutex m_Mutex;
    std::vector<Post> m_vPosts;
};

// ---------------------------------------------------------------------------------------------
// The plain analysis.

namespace plain {

inline std::vector<std::unique_ptr<CLoad>> MemberLoads(const CBeam& beam, const CLoadModel& lm, double position)
{
    std::vector<std::unique_ptr<CLoad>> loads;
    const double F = lm.GetOverallFactor();
    const std::size_t n = beam.m_vL.size();
    for (const auto& u : lm.m_vUDL)
        for (std::size_t i = 0; i < n; ++i)
            loads.push_back(std::make_unique<CLoadUDL>(static_cast<std::uint32_t>(i), F * u.gamma * u.magnitude));
    for (const auto& p : lm.m_vPL)
    {
        double x = p.location + position;
        const int span = beam.GetSpanIndex(x);
        if (span == -1) continue;
        loads.push_back(std::make_unique<CLoadPL>(static_cast<std::uint32_t>(span),
                                                  F * p.gamma * lm.GetWidthAdjustedLoad(p.magnitude, p.width), x));
    }
    for (const auto& pu : lm.m_vPUDL)
    {
        const double w = F * pu.gamma * pu.magnitude;
        double s = pu.location + position;
        double c = pu.cover;
        if (!(s + c >= 1e-6) || s > beam.m_Length) continue;
        double S = 0.0;
        for (std::size_t i = 0; i < n; S += beam.m_vL[i], ++i)
        {
            const double E = S + beam.m_vL[i];
            const auto m = static_cast<std::uint32_t>(i);
            if (s > E || S > s + c) continue;
            if (S > s)
            {
                if (s + c > E)
                {
                    loads.push_back(std::make_unique<CLoadUDL>(m, w));
                    continue;
                }
                c -= S - s;
                s = S;
            }
            if (std::fabs(c) < 1e-6) continue;
            if (s + c <= E)
            {
                loads.push_back(std::make_unique<CLoadPUDL>(m, w, std::max(s - S, 0.0), c));
                break;
            }
            loads.push_back(std::make_unique<CLoadPUDL>(m, w, std::max(s - S, 0.0), E - s));
        }
    }
    return loads;
}

inline std::shared_ptr<CBeamResults> Analyse(const CBridge& bridge, const CLoadModel& lm, double position, int nPoints)
{
    const CBeam& beam = *bridge.GetBeam();
    auto owned = MemberLoads(beam, lm, position);
    std::vector<CLoad*> raw;
    for (auto& l : owned) raw.push_back(l.get());
    auto res = std::make_shared<CBeamResults>(CBeamAnalysis(&beam, raw, nPoints).Analyse());
    const double Lb = beam.m_Length;
    if ((lm.m_bUseMaxL && Lb > lm.m_maxL) || (lm.m_bUseMinL && lm.m_minL > Lb))
        res->ClearResults(5);
    else
    {
        if (!lm.m_bBM) res->ClearResults(0);
        if (!lm.m_bSF) res->ClearResults(1);
    }
    return res;
}

inline double DistanceToNextEvent(const std::vector<double>& events, const CLoadModel& lm, double p)
{
    auto dist = [&](double x) {
        for (double e : events)
            if (e >= x) return e - x;
        return 1e9;
    };
    double d = 1e9;
    for (const auto& pl : lm.m_vPL) d = std::min(d, dist(pl.location + p));
    for (const auto& pu : lm.m_vPUDL)
    {
        d = std::min(d, dist(pu.location + p));
        d = std::min(d, dist(pu.location + pu.cover + p));
    }
    return d;
}

// A moving-load run of a model that is already up to date (no span rule).
inline std::shared_ptr<CEnvelopeResults> MovingRun(const std::shared_ptr<CBridge>& bridge,
                                                   const std::shared_ptr<CLoadModel>& lm, double step, int nPoints)
{
    auto res = std::make_shared<CEnvelopeResults>(bridge);
    const double Lb = bridge->GetBeam()->m_Length;
    if (!lm->m_bIsMoving)
    {
        res->AddResult(Analyse(*bridge, *lm, 0.0, nPoints), lm, 0.0);
        return res;
    }
    const std::vector<double> events = bridge->GetBeam()->GetEventPositions();
    for (double p = -step; Lb + lm->m_Length + step > p;)
    {
        res->AddResult(Analyse(*bridge, *lm, p, nPoints), lm, p);
        const double d = DistanceToNextEvent(events, *lm, p);
        p += (-1e-6 < d && d < 1e-6) ? step : std::min(d, step);
    }
    return res;
}

} // namespace plain

// ---------------------------------------------------------------------------------------------
// Bitwise comparisons.

inline void ExpectSameEffects(const std::vector<PointLoadEffect>& a, const std::vector<PointLoadEffect>& b,
                              const char* what)
{
    ASSERT_EQ(a.size(), b.size()) << what;
    for (std::size_t i = 0; i < a.size(); ++i)
    {
        ASSERT_TRUE(SameBits(a[i].val, b[i].val)) << what << " point " << i << ": " << a[i].val << " vs " << b[i].val;
        ASSERT_TRUE(SameBits(a[i].xBeam, b[i].xBeam)) << what << " point " << i;
        ASSERT_TRUE(SameBits(a[i].xLoadModel, b[i].xLoadModel)) << what << " point " << i;
        ASSERT_EQ(a[i].pLM, b[i].pLM) << what << " point " << i;
    }
}

inline void ExpectSameEnvelope(const std::shared_ptr<CEnvelope>& a, const std::shared_ptr<CEnvelope>& b,
                               const char* what)
{
    ASSERT_EQ(static_cast<bool>(a), static_cast<bool>(b)) << what;
    if (!a) return;
    ExpectSameEffects(a->m_vMax, b->m_vMax, what);
    ExpectSameEffects(a->m_vMin, b->m_vMin, what);
}

inline void ExpectSameBeamResults(const CBeamResults& a, const CBeamResults& b)
{
    ASSERT_EQ(a.m_vMbrRes.size(), b.m_vMbrRes.size());
    for (std::size_t m = 0; m < a.m_vMbrRes.size(); ++m)
    {
        const CMbrResults& x = a.m_vMbrRes[m];
        const CMbrResults& y = b.m_vMbrRes[m];
        using Col = std::pair<const std::vector<double>*, const std::vector<double>*>;
        const Col cols[] = {{&x.x, &y.x}, {&x.M, &y.M}, {&x.V, &y.V}, {&x.R, &y.R}, {&x.D, &y.D}};
        for (const auto& [u, v] : cols)
        {
            ASSERT_EQ(u->size(), v->size());
            for (std::size_t k = 0; k < u->size(); ++k)
                ASSERT_TRUE(SameBits((*u)[k], (*v)[k])) << "member " << m << " point " << k;
        }
    }
    ASSERT_EQ(a.m_vReactions.size(), b.m_vReactions.size());
    for (std::size_t k = 0; k < a.m_vReactions.size(); ++k)
        ASSERT_TRUE(SameBits(a.m_vReactions[k], b.m_vReactions[k])) << "reaction " << k;
}

inline void ExpectSameResults(const CEnvelopeResults& a, const CEnvelopeResults& b, bool bBeamResults = true)
{
    ExpectSameEnvelope(a.GetBMEnvelope(), b.GetBMEnvelope(), "moment");
    ExpectSameEnvelope(a.GetSFEnvelope(), b.GetSFEnvelope(), "shear");
    ASSERT_EQ(a.m_vEnvReaction.size(), b.m_vEnvReaction.size());
    for (std::size_t i = 0; i < a.m_vEnvReaction.size(); ++i)
        ExpectSameEnvelope(a.m_vEnvReaction[i], b.m_vEnvReaction[i], "reaction");
    ASSERT_EQ(a.m_nAnalyses, b.m_nAnalyses);
    if (!bBeamResults) return;
    const CKeptPositions& ka = a.GetKeptPositions();
    const CKeptPositions& kb = b.GetKeptPositions();
    ASSERT_EQ(ka.GetCount(), kb.GetCount());
    std::vector<double> xa, ya, xb, yb;
    for (std::size_t i = 0; i < ka.GetCount(); ++i)
        for (BeamResultsType kind : {BRT_MOMENT, BRT_SHEAR})
        {
            ka.GetLine(i, kind, xa, ya);
            kb.GetLine(i, kind, xb, yb);
            ASSERT_EQ(xa.size(), xb.size()) << "position " << i;
            ASSERT_EQ(ya.size(), yb.size()) << "position " << i;
            for (std::size_t k = 0; k < xa.size(); ++k) ASSERT_TRUE(SameBits(xa[k], xb[k])) << "position " << i;
            for (std::size_t k = 0; k < ya.size(); ++k)
                ASSERT_TRUE(SameBits(ya[k], yb[k])) << "position " << i << " kind " << kind << " point " << k;
        }
}

} // namespace antest
