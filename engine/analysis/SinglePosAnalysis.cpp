// One load model at one position on one bridge.
#include "engine/analysis/SinglePosAnalysis.h"

#include "engine/EngineErrors.h"
#include "engine/analysis/BeamResults.h"
#include "engine/model/Beam.h"
#include "engine/model/Bridge.h"
#include "engine/model/LoadModel.h"

#include <algorithm>
#include <cmath>

CSinglePosAnalysis::CSinglePosAnalysis(std::shared_ptr<CBridge> pBridge, std::shared_ptr<CLoadModel> pLoadModel)
    : m_pBridge(std::move(pBridge)), m_pLoadModel(pLoadModel ? pLoadModel->Clone() : nullptr)
{
    if (m_pBridge) m_pBeam = m_pBridge->GetBeam();
}

CSinglePosAnalysis::~CSinglePosAnalysis() = default; // the pools own every member load

std::shared_ptr<CBeamResults> CSinglePosAnalysis::Run(double position)
{
    const int nPoints = CBeamAnalysis::PointsPerSpanSetting();
    if (m_pLoadModel)
    {
        if (m_pLoadModel->m_bAdjustToBridge && m_pBridge) m_pLoadModel->AdjustToBridge(*m_pBridge);
        if (!m_pLoadModel->IsUpToDate()) m_pLoadModel->Update();
    }
    Prepare(nPoints);
    std::shared_ptr<CBeamResults> results = Analyse(position);
    // A value that is no number, or too large to show its decimals, would leave blank or wrong
    // cells in the tables: the run says so instead.
    auto check = [](double v) {
        if (!std::isfinite(v)) throw kNonFiniteResultError;
        if (std::fabs(v) >= kMaxShownEffect) throw kResultTooLargeError;
    };
    for (const CMbrResults& mbr : results->m_vMbrRes)
        for (const std::vector<double>* values : {&mbr.x, &mbr.M, &mbr.V, &mbr.R, &mbr.D})
            for (double v : *values) check(v);
    for (double r : results->m_vReactions) check(r);
    return results;
}

void CSinglePosAnalysis::Prepare(int nPoints, std::shared_ptr<CBeamSolver> pSolver)
{
    if (!m_pBeam) throw kSpanError;

    if (pSolver)
        m_pSolver = std::move(pSolver);
    else if (!m_pSolver || m_pSolver->GetPointsPerSpan() != std::max(nPoints, 1))
        m_pSolver = std::make_shared<CBeamSolver>(*m_pBeam, nPoints); // throws for a bad beam

    // Span limits, summed from the left as the beam places its spans.
    const std::vector<double>& L = m_pBeam->m_vL;
    m_vSpanStart.resize(L.size());
    m_vSpanEnd.resize(L.size());
    double s = 0.0;
    for (std::size_t i = 0; i < L.size(); ++i)
    {
        m_vSpanStart[i] = s;
        s += L[i];
        m_vSpanEnd[i] = s;
    }
    m_Length = m_pBeam->m_Length;

    m_vW.clear();
    m_vAxles.clear();
    m_vPatches.clear();
    m_bClearAll = m_bClearBM = m_bClearSF = false;
    if (!m_pLoadModel) return;

    CLoadModel& lm = *m_pLoadModel;
    lm.UpdateGamma();
    const double F = lm.m_Gamma;
    for (const CLoadModel::UniformLoad& u : lm.m_vUDL) m_vW.push_back(F * u.gamma * u.magnitude);
    for (const CLoadModel::PointLoad& p : lm.m_vPL)
        m_vAxles.push_back({p.location, F * p.gamma * lm.GetWidthAdjustedLoad(p.magnitude, p.width)});
    for (const CLoadModel::PartialUDLoad& p : lm.m_vPUDL)
        m_vPatches.push_back({p.location, p.cover, F * p.gamma * p.magnitude});

    // A load that is not a finite number (or whose factors multiply beyond the largest double)
    // would only give results that are not numbers either, which the envelopes cannot hold.
    bool finite = true;
    for (double w : m_vW) finite = finite && std::isfinite(w);
    for (const auto& a : m_vAxles) finite = finite && std::isfinite(a.location) && std::isfinite(a.P);
    for (const auto& p : m_vPatches)
        finite = finite && std::isfinite(p.location) && std::isfinite(p.cover) && std::isfinite(p.w);
    if (!finite) throw kNonFiniteLoadError;

    m_bClearAll = !lm.AppliesToLength(m_Length);
    m_bClearBM = !lm.m_bBM;
    m_bClearSF = !lm.m_bSF;
}

std::shared_ptr<CBeamResults> CSinglePosAnalysis::Analyse(double position)
{
    auto res = std::make_shared<CBeamResults>();
    AnalyseInto(position, *res);
    return res;
}

void CSinglePosAnalysis::AnalyseInto(double position, CBeamResults& res)
{
    if (!m_pSolver) throw kSpanError;
    MakeMemberLoads(position);
    try
    {
        m_pSolver->Solve(m_vLoads, res);
    }
    catch (...)
    {
        ClearMemberLoads();
        throw;
    }
    ClearMemberLoads();
    ApplyApplicability(res);
}

void CSinglePosAnalysis::ApplyApplicability(CBeamResults& res) const
{
    if (m_bClearAll)
    {
        res.ClearResults(BRT_ALL);
        return;
    }
    if (m_bClearBM) res.ClearResults(BRT_MOMENT);
    if (m_bClearSF) res.ClearResults(BRT_SHEAR);
}

// ---------------------------------------------------------------------------------------------
// Member loads

CLoadUDL* CSinglePosAnalysis::NextUDL(std::uint32_t span, double w)
{
    if (m_nUDLUsed == m_vUDLPool.size()) m_vUDLPool.push_back(std::make_unique<CLoadUDL>(span, w));
    CLoadUDL* load = m_vUDLPool[m_nUDLUsed++].get();
    load->SetMember(span);
    load->SetMagnitude(w);
    return load;
}

CLoadPL* CSinglePosAnalysis::NextPL(std::uint32_t span, double P, double a)
{
    if (m_nPLUsed == m_vPLPool.size()) m_vPLPool.push_back(std::make_unique<CLoadPL>(span, P, a));
    CLoadPL* load = m_vPLPool[m_nPLUsed++].get();
    load->SetMember(span);
    load->SetMagnitude(P);
    load->SetPosition(a);
    return load;
}

CLoadPUDL* CSinglePosAnalysis::NextPUDL(std::uint32_t span, double w, double a, double c)
{
    if (m_nPUDLUsed == m_vPUDLPool.size()) m_vPUDLPool.push_back(std::make_unique<CLoadPUDL>(span, w, a, c));
    CLoadPUDL* load = m_vPUDLPool[m_nPUDLUsed++].get();
    load->SetMember(span);
    load->SetMagnitude(w);
    load->SetPosition(a);
    load->SetCover(c);
    return load;
}

void CSinglePosAnalysis::ClearMemberLoads()
{
    m_vLoads.clear();
    m_nUDLUsed = m_nPLUsed = m_nPUDLUsed = 0;
}

void CSinglePosAnalysis::MakeMemberLoads(double position)
{
    ClearMemberLoads();
    if (!m_pBeam) return;
    const std::size_t nSpans = m_vSpanStart.size();

    // Uniform loads cover every span whatever the position.
    for (double w : m_vW)
        for (std::size_t i = 0; i < nSpans; ++i) m_vLoads.push_back(NextUDL(static_cast<std::uint32_t>(i), w));

    // Axles: left out off the bridge or within 0.001 m of either end.
    for (const AxleLoad& axle : m_vAxles)
    {
        double x = axle.location + position;
        const int span = m_pBeam->GetSpanIndex(x);
        if (span < 0) continue;
        m_vLoads.push_back(NextPL(static_cast<std::uint32_t>(span), axle.P, x));
    }

    // Partial uniform loads, cut to the bridge and split over the spans they cover.
    for (const PatchLoad& patch : m_vPatches)
    {
        double s = patch.location + position;
        double c = patch.cover;
        const double w = patch.w;
        if (!(s + c >= 1e-6 && s <= m_Length)) continue;
        for (std::size_t i = 0; i < nSpans; ++i)
        {
            const double S = m_vSpanStart[i];
            const double E = m_vSpanEnd[i];
            const auto span = static_cast<std::uint32_t>(i);
            if (s > E || S > s + c) continue;
            if (S > s)
            {
                if (s + c > E)
                {
                    m_vLoads.push_back(NextUDL(span, w)); // wholly covered
                    continue;
                }
                c -= S - s;
                s = S;
            }
            if (std::fabs(c) < 1e-6) continue;
            if (s + c <= E)
            {
                m_vLoads.push_back(NextPUDL(span, w, std::max(s - S, 0.0), c));
                break;
            }
            m_vLoads.push_back(NextPUDL(span, w, std::max(s - S, 0.0), E - s));
        }
    }
}
