// One load model moved across one bridge in steps; every position goes into a CEnvelopeResults.
#include "engine/analysis/MovingLoadAnalysis.h"

#include "engine/analysis/BeamAnalysis.h"
#include "engine/analysis/BeamResults.h"
#include "engine/analysis/Envelope.h"
#include "engine/analysis/EnvelopeResults.h"
#include "engine/analysis/RunSizing.h"
#include "engine/analysis/SinglePosAnalysis.h"
#include "engine/model/Beam.h"
#include "engine/model/Bridge.h"
#include "engine/model/LoadModel.h"
#include "engine/runs/RunControl.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <stdexcept>
#include <string>

namespace {

// The refusal of a run whose kept positions cannot fit, with the finest stepping that fits:
// beyond the grid's positions (span: the bridge and the model, over the step, and two) a run
// takes extra positions at the load's events; bridge is the bridge's length, which a count of
// steps divides.
std::string TooLargeToKeep(double positions, double bytes, double available, double perPosition, double extra,
                           double span, double bridge)
{
    const double fitting = std::floor(available / perPosition) - 2.0 - extra;
    char finest[160] = "no step fits";
    if (fitting >= 1.0)
    {
        // Rounded up to a tenth of a millimetre, so that the step named fits.
        const double step = std::ceil(span / fitting * 1e4) / 1e4;
        std::snprintf(finest, sizeof finest, "the smallest step that fits is %g m (at most %.0f steps)", step,
                      std::floor(bridge / step));
    }
    char text[480];
    std::snprintf(text, sizeof text,
                  "The run would keep the results of %.0f load positions, which with their plot need about %.0f "
                  "MB, and only %.0f MB of memory is available: %s. Choose a larger step, fewer points along "
                  "the beam, or a run that keeps only the envelopes.",
                  positions, bytes / 1048576.0, available / 1048576.0, finest);
    return text;
}

std::string StepLongerThanBridge(double step, double bridgeLength)
{
    char text[200];
    std::snprintf(text, sizeof text,
                  "The step of %g m is longer than the bridge (%g m long): a moving load needs a step of at most "
                  "%g m, so that at least two of its positions stand on the bridge.",
                  step, bridgeLength, bridgeLength);
    return text;
}

} // namespace

CMovingLoadAnalysis::CMovingLoadAnalysis(std::shared_ptr<CBridge> pBridge, std::shared_ptr<CLoadModel> pLoadModel)
    : m_pBridge(std::move(pBridge)), m_pGivenModel(pLoadModel), m_pLoadModel(pLoadModel ? pLoadModel->Clone() : nullptr)
{
    if (m_pBridge) m_pBeam = m_pBridge->GetBeam();
    if (m_pBeam)
    {
        m_vEvents = m_pBeam->GetEventPositions();
        m_BridgeLength = m_pBeam->m_Length;
    }
}

CMovingLoadAnalysis::~CMovingLoadAnalysis() = default;

void CMovingLoadAnalysis::SetSolver(std::shared_ptr<CBeamSolver> pSolver) { m_pSolver = std::move(pSolver); }

std::shared_ptr<CEnvelopeResults> CMovingLoadAnalysis::Run(bool bByStep, int& nSteps, double& stepSize)
{
    // The stepping must move the load on, or the run would never end.
    if (bByStep)
    {
        if (!(stepSize > 0.0) || !std::isfinite(stepSize)) throw kStepSizeError;
    }
    else if (nSteps < 1)
    {
        throw kStepCountError;
    }

    const int nPoints = m_nPoints > 0 ? m_nPoints : CBeamAnalysis::PointsPerSpanSetting();
    if (!m_pBeam) throw kSpanError;
    if (!m_pSolver || m_pSolver->GetPointsPerSpan() != std::max(nPoints, 1))
        m_pSolver = std::make_shared<CBeamSolver>(*m_pBeam, nPoints);

    // The span rule may add loads, so it comes before the model is settled and measured.
    CLoadModel* lm = m_pLoadModel.get();
    if (lm)
    {
        if (lm->m_bAdjustToBridge && m_pBridge) lm->AdjustToBridge(*m_pBridge);
        lm->Update();
        m_LMLength = lm->m_Length;
        // Uniform loads alone cover the whole bridge: analysed once, not moved.
        if (lm->m_vPL.empty() && lm->m_vPUDL.empty() && !lm->m_vUDL.empty()) lm->m_bIsMoving = false;
    }
    const bool bMoving = !lm || lm->m_bIsMoving;
    const double Lb = m_BridgeLength;
    const double L = m_LMLength;
    if (!std::isfinite(L)) throw kNonFiniteLoadError;

    // The step, checked before anything is written back.
    const double step = bByStep ? stepSize : Lb / nSteps;
    if (!(step > 0.0)) throw kStepSizeError; // by count: a bridge without length
    // A step longer than the bridge leaves fewer than two positions on it: the envelope would be
    // that of wherever the one position happens to fall.
    if (bMoving && step > Lb) throw std::invalid_argument(StepLongerThanBridge(step, Lb));
    // Positions on the step grid, from one step before the bridge to one step beyond the model's
    // passing (the start offset included); then at most one stop for each load edge at each
    // event (with room for rounding).
    const double gridPositions = (Lb + L) / step + 2.0;
    if (bMoving && gridPositions > kMaxPositions)
        throw std::invalid_argument(
            CRunSizing::TooManyPositions(bByStep, Lb, L, lm ? lm->m_Description.ToUtf8() : std::string()));
    const std::size_t nEdges = lm ? lm->m_vPL.size() + 2 * lm->m_vPUDL.size() : 0;
    // Every kept position holds a beam result: refused before it starts when they cannot fit with
    // what the run and the plot of them need besides, rather than failing (or swapping the machine
    // to a halt) hours into the run.
    if (m_bKeepBeamResults && bMoving)
    {
        const double perPosition = NeededBytesPerPosition(static_cast<int>(m_pBeam->m_vL.size()), nPoints,
                                                          static_cast<int>(std::max(m_pBeam->m_nRestraints, 0)));
        const double extra = 2.0 * static_cast<double>(nEdges * m_vEvents.size());
        const double positions = gridPositions + extra;
        const double available = static_cast<double>(CRunSizing::MemoryAvailable());
        if (available > 0 && positions * perPosition > available)
            throw std::invalid_argument(
                TooLargeToKeep(positions, positions * perPosition, available, perPosition, extra, Lb + L, Lb));
    }
    const std::size_t maxPositions =
        bMoving ? static_cast<std::size_t>(std::ceil(gridPositions)) + 2 * nEdges * m_vEvents.size() + 2 : 1;

    m_bByStep = bByStep;
    m_Step = step;
    if (!bByStep)
    {
        stepSize = step;
    }
    else
    {
        const double n = std::ceil((Lb + L) / step + 0.5) + 1.0;
        nSteps = n < static_cast<double>(INT_MAX) ? static_cast<int>(n) : INT_MAX;
    }
    m_nSteps = nSteps;

    auto results = std::make_shared<CEnvelopeResults>(m_pBridge);
    // Every position's lines are kept by the envelope result, unless nobody will read them.
    results->SetKeepPositions(m_bKeepBeamResults, maxPositions);
    CSinglePosAnalysis spa(m_pBridge, m_pLoadModel);
    spa.Prepare(nPoints, m_pSolver);

    // One beam result solved into at every position: what is kept of it is copied out.
    const auto pScratch = std::make_shared<CBeamResults>();
    const auto analyse = [&](double p) -> const std::shared_ptr<CBeamResults>& {
        spa.AnalyseInto(p, *pScratch);
        return pScratch;
    };

    if (!bMoving)
    {
        ++m_nAnalyses;
        results->AddResult(analyse(0.0), m_pGivenModel, 0.0);
    }
    else
    {
        // The count bounds the run whatever the arithmetic does; a step beyond every event
        // (no event ahead: kNoEventDistance) is taken whole, however long it is.
        double p = -step;
        for (std::size_t n = 0; n < maxPositions && Lb + L + step > p; ++n)
        {
            CRunControl::CheckStop(); // a run asked to stop ends here
            ++m_nAnalyses;
            results->AddResult(analyse(p), m_pGivenModel, p);
            const double d = GetDistanceToNextEvent(p);
            if ((-kOnEventTolerance < d && d < kOnEventTolerance) || d >= kNoEventDistance)
                p += step;
            else
                p += std::min(d, step);
        }
    }
    results->FinishAdding();
    return results;
}

double CMovingLoadAnalysis::KeptBytesPerPosition(int nMembers, int nPoints)
{
    // The moments and shears of every member's points (nPoints + 3 a span, as the solver gives
    // them), one after another in the run's block, and where they start (the points along the
    // beam are kept once a run).
    return 2.0 * std::max(nMembers, 1) * (std::max(nPoints, 1) + 3) * 8.0 + 40.0;
}

double CMovingLoadAnalysis::NeededBytesPerPosition(int nMembers, int nPoints, int nReactions)
{
    // Beside its lines, a position has its place in each reaction's envelope (a maximum and a
    // minimum); the plot that draws the lines, and the windows of the run, take up to a quarter
    // more than the lines themselves.
    const double reactions = 2.0 * std::max(nReactions, 0) * static_cast<double>(sizeof(PointLoadEffect));
    return (KeptBytesPerPosition(nMembers, nPoints) + reactions) * 1.25;
}

void CMovingLoadAnalysis::SetMemoryForRuns(std::uint64_t bytes) { CRunSizing::SetMemoryForRuns(bytes); }

double CMovingLoadAnalysis::GetDistanceToNextEvent(double p) const
{
    double best = kNoEventDistance;
    if (!m_pLoadModel) return best;

    // Bisection over the events as stored: ascending when every span is at least 2 m long;
    // on shorter spans the list is not sorted and the search simply takes the event it lands
    // on, which is never before x.
    const auto distance = [this](double x) {
        std::size_t lo = 0;
        std::size_t n = m_vEvents.size();
        while (n > 0)
        {
            const std::size_t half = n / 2;
            if (m_vEvents[lo + half] < x)
            {
                lo += half + 1;
                n -= half + 1;
            }
            else
            {
                n = half;
            }
        }
        return lo == m_vEvents.size() ? kNoEventDistance : m_vEvents[lo] - x;
    };
    for (const CLoadModel::PointLoad& pl : m_pLoadModel->m_vPL) best = std::min(best, distance(pl.location + p));
    for (const CLoadModel::PartialUDLoad& pu : m_pLoadModel->m_vPUDL)
    {
        best = std::min(best, distance(pu.location + p));
        best = std::min(best, distance(pu.location + pu.cover + p));
    }
    return best;
}
