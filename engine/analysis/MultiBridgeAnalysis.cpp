// A load model ensemble (or one load model) over every bridge of a bridge set.
#include "engine/analysis/MultiBridgeAnalysis.h"

#include "engine/analysis/BeamAnalysis.h"
#include "engine/analysis/EnvelopeResults.h"
#include "engine/analysis/MultiMovingLoadAnalysis.h"
#include "engine/analysis/RunPool.h"
#include "engine/analysis/RunSizing.h"
#include "engine/model/Bridge.h"
#include "engine/model/BridgeSet.h"
#include "engine/model/LoadModelEnsemble.h"
#include "engine/runs/EngineMessages.h"

#include <algorithm>
#include <atomic>
#include <numeric>
#include <thread>
#include <utility>

namespace {

std::atomic<unsigned> g_nThreads{0};

// The ensemble for one thread: the same load models (the results name them, as the serial run's
// do), each through a pointer whose count is the thread's own. Every envelope holds its load
// models' pointers, so threads counting on one shared count would pass its cache line around.
std::shared_ptr<CLoadModelEnsemble> ThreadOwnCounts(const CLoadModelEnsemble& lme)
{
    auto own = std::make_shared<CLoadModelEnsemble>(lme);
    for (auto& lm : own->m_vLoadModel)
    {
        if (!lm) continue;
        auto holder = std::make_shared<std::shared_ptr<CLoadModel>>(lm);
        lm = std::shared_ptr<CLoadModel>(holder, holder->get());
    }
    return own;
}

} // namespace

void CMultiBridgeAnalysis::SetThreadCount(unsigned nThreads) { g_nThreads = nThreads; }

unsigned CMultiBridgeAnalysis::GetThreadCount()
{
    const unsigned n = g_nThreads;
    return n > 0 ? n : std::max(1u, std::thread::hardware_concurrency());
}

CMultiBridgeAnalysis::CMultiBridgeAnalysis(std::shared_ptr<CBridgeSet> pBridgeSet,
                                           std::shared_ptr<CLoadModel> pLoadModel)
    : m_pBridgeSet(std::move(pBridgeSet)), m_pLoadModel(std::move(pLoadModel))
{
    m_pLME = std::make_shared<CLoadModelEnsemble>();
    if (m_pLoadModel) m_pLME->AddLoadModel(m_pLoadModel);
    m_nBridge = m_pBridgeSet ? m_pBridgeSet->m_nBridge : 0;
}

CMultiBridgeAnalysis::CMultiBridgeAnalysis(std::shared_ptr<CBridgeSet> pBridgeSet,
                                           std::shared_ptr<CLoadModelEnsemble> pLME)
    : m_pBridgeSet(std::move(pBridgeSet)), m_pLME(std::move(pLME))
{
    m_nBridge = m_pBridgeSet ? m_pBridgeSet->m_nBridge : 0;
}

CMultiBridgeAnalysis::~CMultiBridgeAnalysis() = default;

std::vector<std::shared_ptr<CEnvelopeResults>> CMultiBridgeAnalysis::Run(bool bByStep, int& nSteps, double& stepSize)
{
    m_nAnalyses = 0;
    if (!m_pBridgeSet) return {};
    CRunPool pool(GetThreadCount());
    CRunSizing sizing(bByStep, nSteps, stepSize, m_nPoints > 0 ? m_nPoints : CBeamAnalysis::PointsPerSpanSetting());
    AddToSizing(sizing, 1);
    sizing.Check("The bridge range", pool.GetThreads());
    AddTo(pool, bByStep, nSteps, stepSize);
    pool.Run();
    return TakeResults(nSteps, stepSize);
}

void CMultiBridgeAnalysis::AddToSizing(CRunSizing& sizing, int keptResults) const
{
    if (!m_pBridgeSet || !m_pLME) return;
    const int nBridges = m_pBridgeSet->GetBridgeCount();
    for (int i = 0; i < nBridges; ++i)
        sizing.AddBridge(m_pBridgeSet->GetBridge(static_cast<unsigned>(i)), m_pLME->m_vLoadModel, keptResults, false);
}

double CMultiBridgeAnalysis::EstimateCost(double bridgeLength, int nSpans, int nLoadModels, bool bByStep, int nSteps,
                                          double stepSize)
{
    // A load model passes the bridge and its own length (about 20 m for a truck) by step, or
    // takes the count.
    const double positions = bByStep ? (std::max(bridgeLength, 0.0) + 20.0) / std::max(stepSize, 1e-6) + 2.0
                                     : static_cast<double>(std::max(nSteps, 1)) + 2.0;
    return positions * std::max(nSpans, 1) * std::max(nLoadModels, 1);
}

void CMultiBridgeAnalysis::AddTo(CRunPool& pool, bool bByStep, int nSteps, double stepSize)
{
    m_nAnalyses = 0;
    m_vRuns.clear();
    if (!m_pBridgeSet) return;
    const int nPoints = m_nPoints > 0 ? m_nPoints : CBeamAnalysis::PointsPerSpanSetting();
    // Over the bridges the set actually generated (a set of one bridge generates none).
    const int nBridges = m_pBridgeSet->GetBridgeCount();
    m_vRuns.resize(static_cast<std::size_t>(std::max(nBridges, 0)));
    const bool bShared = pool.GetThreads() <= 1;
    m_vOwnLME.assign(bShared ? 0u : pool.GetThreads(), nullptr);
    const int nLM = m_pLME ? m_pLME->GetLoadModelCount() : 0;
    for (int i = 0; i < nBridges; ++i)
    {
        const std::shared_ptr<CBridge> bridge = m_pBridgeSet->GetBridge(static_cast<unsigned>(i));
        const double length = bridge ? std::accumulate(bridge->m_vSpans.begin(), bridge->m_vSpans.end(), 0.0) : 0.0;
        const int nSpans = bridge ? static_cast<int>(bridge->m_vSpans.size()) : 0;
        const double cost = EstimateCost(length, nSpans, nLM, bByStep, nSteps, stepSize);
        pool.Add(cost, [this, i, bridge, bShared, bByStep, nSteps, stepSize, nPoints](unsigned worker) {
            SBridgeRun& run = m_vRuns[static_cast<std::size_t>(i)];
            // Every run of the serial chain starts from the same values: by step the step is
            // only read, by count the count.
            run.nSteps = nSteps;
            run.stepSize = stepSize;
            std::shared_ptr<CLoadModelEnsemble> lme = m_pLME;
            if (!bShared && m_pLME)
            {
                std::shared_ptr<CLoadModelEnsemble>& own = m_vOwnLME[worker];
                if (!own) own = ThreadOwnCounts(*m_pLME);
                lme = own;
            }
            CMultiMovingLoadAnalysis mmla(bridge, lme);
            mmla.SetPointsPerSpan(nPoints);
            mmla.SetKeepBeamResults(false); // the per-model results end with this bridge
            mmla.SetFlushProgress(false);
            mmla.SetSizeFirst(false); // the whole run was sized before it started
            run.result = mmla.Run(bByStep, run.nSteps, run.stepSize);
            run.nAnalyses = mmla.GetNoAnalyses();
        });
    }
}

std::vector<std::shared_ptr<CEnvelopeResults>> CMultiBridgeAnalysis::TakeResults(int& nSteps, double& stepSize)
{
    std::vector<std::shared_ptr<CEnvelopeResults>> results;
    results.reserve(m_vRuns.size());
    m_nAnalyses = 0;
    for (SBridgeRun& run : m_vRuns)
    {
        m_nAnalyses += run.nAnalyses;
        results.push_back(std::move(run.result));
    }
    if (!m_vRuns.empty())
    {
        nSteps = m_vRuns.back().nSteps;
        stepSize = m_vRuns.back().stepSize;
    }
    m_vRuns.clear();
    m_vOwnLME.clear();
    return results;
}
