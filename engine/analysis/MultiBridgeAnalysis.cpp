#include "engine/analysis/MultiBridgeAnalysis.h"

#include "engine/analysis/BeamAnalysis.h"
#include "engine/analysis/EnvelopeResults.h"
#include "engine/analysis/MovingLoadAnalysis.h"
#include "engine/analysis/MultiMovingLoadAnalysis.h"
#include "engine/model/Bridge.h"
#include "engine/model/BridgeSet.h"
#include "engine/model/EngineMessages.h"
#include "engine/model/LoadModel.h"
#include "engine/model/LoadModelEnsemble.h"

#include <algorithm>
#include <atomic>
#include <exception>
#include <thread>
#include <utility>

namespace {

std::atomic<unsigned> g_nThreads{0};

// Copies of an ensemble's load models (a run changes the models it moves); a model listed twice
// stays one model, run twice, as in the serial run.
std::shared_ptr<CLoadModelEnsemble> CopyLoadModels(const CLoadModelEnsemble& lme)
{
    auto copy = std::make_shared<CLoadModelEnsemble>(lme);
    std::vector<std::pair<const CLoadModel*, std::shared_ptr<CLoadModel>>> made;
    for (auto& lm : copy->m_vLoadModel)
    {
        if (!lm) continue;
        const auto it = std::find_if(made.begin(), made.end(), [&lm](const auto& m) { return m.first == lm.get(); });
        if (it != made.end())
        {
            lm = it->second;
            continue;
        }
        auto own = std::make_shared<CLoadModel>(*lm);
        made.emplace_back(lm.get(), own);
        lm = std::move(own);
    }
    return copy;
}

using ModelMap = std::vector<std::pair<const CLoadModel*, std::shared_ptr<CLoadModel>>>;

// The points of a result computed on copies name the caller's models, as the serial run's do.
void NameOriginalModels(CEnvelopeResults& res, const ModelMap& map)
{
    auto rename = [&map](std::vector<PointLoadEffect>& points) {
        const CLoadModel* last = nullptr;
        const std::shared_ptr<CLoadModel>* original = nullptr;
        for (PointLoadEffect& e : points)
        {
            if (!e.pLM) continue;
            if (e.pLM.get() != last)
            {
                last = e.pLM.get();
                original = nullptr;
                for (const auto& [copy, orig] : map)
                    if (copy == last) original = &orig;
            }
            if (original) e.pLM = *original;
        }
    };
    auto renameEnvelope = [&rename](const std::shared_ptr<CEnvelope>& env) {
        if (!env) return;
        rename(env->m_vMax);
        rename(env->m_vMin);
    };
    renameEnvelope(res.m_pEnvBMD);
    renameEnvelope(res.m_pEnvSFD);
    for (const auto& env : res.m_vEnvReaction) renameEnvelope(env);
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

std::vector<std::shared_ptr<CEnvelopeResults>> CMultiBridgeAnalysis::Run(bool bByStep, int& nSteps,
                                                                         double& stepSize)
{
    m_nAnalyses = 0;
    if (!m_pBridgeSet) return {};

    const int nPoints = m_nPoints > 0 ? m_nPoints : CBeamAnalysis::PointsPerSpanSetting();
    // Over the bridges the set actually generated (a set of one bridge generates none).
    const int nBridges = m_pBridgeSet->GetBridgeCount();
    struct SFlush
    {
        ~SFlush() { qor::FlushProgress(); }
    } flushAtEnd;
    const unsigned nThreads = std::min(GetThreadCount(), static_cast<unsigned>(std::max(nBridges, 0)));
    if (nThreads <= 1 || !m_pLME) return RunSerial(bByStep, nSteps, stepSize, nBridges, nPoints);
    return RunParallel(bByStep, nSteps, stepSize, nBridges, nPoints, nThreads);
}

std::vector<std::shared_ptr<CEnvelopeResults>>
CMultiBridgeAnalysis::RunSerial(bool bByStep, int& nSteps, double& stepSize, int nBridges, int nPoints)
{
    std::vector<std::shared_ptr<CEnvelopeResults>> results;
    results.reserve(static_cast<std::size_t>(std::max(nBridges, 0)));
    for (int i = 0; i < nBridges; ++i)
    {
        CMultiMovingLoadAnalysis mmla(m_pBridgeSet->GetBridge(static_cast<unsigned>(i)), m_pLME);
        mmla.SetPointsPerSpan(nPoints);
        mmla.SetKeepBeamResults(false); // the per-model results end with this bridge
        mmla.SetFlushProgress(false);
        std::shared_ptr<CEnvelopeResults> res = mmla.Run(bByStep, nSteps, stepSize);
        m_nAnalyses += mmla.GetNoAnalyses();
        results.push_back(res);
    }
    return results;
}

std::vector<std::shared_ptr<CEnvelopeResults>> CMultiBridgeAnalysis::RunParallel(bool bByStep, int& nSteps,
                                                                                 double& stepSize, int nBridges,
                                                                                 int nPoints, unsigned nThreads)
{
    struct SBridgeRun
    {
        std::shared_ptr<CEnvelopeResults> result;
        int nAnalyses = 0;
        int nSteps = 0;
        double stepSize = 0.0;
        std::exception_ptr error;
    };
    std::vector<SBridgeRun> runs(static_cast<std::size_t>(nBridges));
    const int inSteps = nSteps;
    const double inStepSize = stepSize;

    // Each bridge gets the models as the bridges before it leave them in the serial run: a span
    // rule followed by the shift to the foremost load is not exact arithmetic, so a model carries
    // its last bridge into the next one's last bits. The chain is followed here on copies (its
    // status lines come from the caller's models at the end), one set of models per bridge.
    std::vector<std::shared_ptr<CLoadModelEnsemble>> models(static_cast<std::size_t>(nBridges));
    {
        qor::CStatusLinesMuted muted;
        std::shared_ptr<CLoadModelEnsemble> chain = CopyLoadModels(*m_pLME);
        for (int i = 0; i < nBridges; ++i)
        {
            models[static_cast<std::size_t>(i)] = CopyLoadModels(*chain);
            const std::shared_ptr<CBridge> bridge = m_pBridgeSet->GetBridge(static_cast<unsigned>(i));
            for (const auto& lm : chain->m_vLoadModel)
                if (lm) CMovingLoadAnalysis::SettleLoadModel(*lm, bridge.get());
        }
    }

    std::atomic<int> next{0};
    std::atomic<int> firstError{nBridges}; // bridges beyond a failed one are not started
    auto work = [&] {
        qor::CStatusLinesMuted muted;
        for (;;)
        {
            const int i = next.fetch_add(1);
            if (i >= nBridges || i > firstError.load()) break;
            SBridgeRun& run = runs[static_cast<std::size_t>(i)];
            try
            {
                const std::shared_ptr<CLoadModelEnsemble>& lme = models[static_cast<std::size_t>(i)];
                ModelMap map;
                for (std::size_t k = 0; k < lme->m_vLoadModel.size(); ++k)
                    map.emplace_back(lme->m_vLoadModel[k].get(), m_pLME->m_vLoadModel[k]);
                // Every run of the serial chain starts from the same values: by step the step
                // is only read, by count the count.
                run.nSteps = inSteps;
                run.stepSize = inStepSize;
                CMultiMovingLoadAnalysis mmla(m_pBridgeSet->GetBridge(static_cast<unsigned>(i)), lme);
                mmla.SetPointsPerSpan(nPoints);
                mmla.SetKeepBeamResults(false);
                mmla.SetFlushProgress(false);
                run.result = mmla.Run(bByStep, run.nSteps, run.stepSize);
                if (run.result) NameOriginalModels(*run.result, map);
                run.nAnalyses = mmla.GetNoAnalyses();
            }
            catch (...)
            {
                run.error = std::current_exception();
                int seen = firstError.load();
                while (i < seen && !firstError.compare_exchange_weak(seen, i))
                {}
            }
            models[static_cast<std::size_t>(i)].reset(); // the copies end with their bridge
        }
    };

    std::vector<std::thread> pool;
    pool.reserve(nThreads - 1);
    for (unsigned t = 1; t < nThreads; ++t)
    {
        try
        {
            pool.emplace_back(work);
        }
        catch (const std::system_error&)
        {
            break; // fewer threads: the others take the bridges
        }
    }
    work();
    for (std::thread& t : pool) t.join();

    // The caller's models go through the bridges' span rules in order, as in the serial run.
    const int done = std::min(firstError.load(), nBridges);
    for (int i = 0; i < done; ++i)
    {
        const std::shared_ptr<CBridge> bridge = m_pBridgeSet->GetBridge(static_cast<unsigned>(i));
        for (const auto& lm : m_pLME->m_vLoadModel)
            if (lm) CMovingLoadAnalysis::SettleLoadModel(*lm, bridge.get());
    }
    if (done < nBridges) std::rethrow_exception(runs[static_cast<std::size_t>(done)].error);

    std::vector<std::shared_ptr<CEnvelopeResults>> results;
    results.reserve(runs.size());
    for (SBridgeRun& run : runs)
    {
        m_nAnalyses += run.nAnalyses;
        results.push_back(std::move(run.result));
    }
    if (!runs.empty())
    {
        nSteps = runs.back().nSteps;
        stepSize = runs.back().stepSize;
    }
    return results;
}
