#include "engine/analysis/MultiBridgeAnalysis.h"

#include "engine/analysis/BeamAnalysis.h"
#include "engine/analysis/EnvelopeResults.h"
#include "engine/analysis/MultiMovingLoadAnalysis.h"
#include "engine/analysis/RunControl.h"
#include "engine/model/BridgeSet.h"
#include "engine/model/EngineMessages.h"
#include "engine/model/LoadModelEnsemble.h"

#include <algorithm>
#include <atomic>
#include <exception>
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
        std::vector<CString> lines; // the status lines of its runs, posted in bridge order
        std::exception_ptr error;
    };
    std::vector<SBridgeRun> runs(static_cast<std::size_t>(nBridges));
    const int inSteps = nSteps;
    const double inStepSize = stepSize;
    std::atomic<int> next{0};
    std::atomic<int> firstError{nBridges}; // bridges beyond a failed one are not started

    // Each moving-load run works on its own copy of its load model, so the threads only read the
    // ensemble and the bridge set; the results name the ensemble's models, as the serial run's do.
    // The helpers work for the run this thread works for: a stop reaches them too.
    CRunControl* const control = CRunControl::Current();
    auto work = [&] {
        CRunControl::Scope runScope(control);
        qor::CStatusLinesHeld held;
        std::shared_ptr<CLoadModelEnsemble> lme;
        for (;;)
        {
            const int i = next.fetch_add(1);
            if (i >= nBridges || i > firstError.load()) break;
            SBridgeRun& run = runs[static_cast<std::size_t>(i)];
            try
            {
                // Every run of the serial chain starts from the same values: by step the step
                // is only read, by count the count.
                run.nSteps = inSteps;
                run.stepSize = inStepSize;
                if (!lme) lme = ThreadOwnCounts(*m_pLME);
                CMultiMovingLoadAnalysis mmla(m_pBridgeSet->GetBridge(static_cast<unsigned>(i)), lme);
                mmla.SetPointsPerSpan(nPoints);
                mmla.SetKeepBeamResults(false);
                mmla.SetFlushProgress(false);
                run.result = mmla.Run(bByStep, run.nSteps, run.stepSize);
                run.nAnalyses = mmla.GetNoAnalyses();
            }
            catch (...)
            {
                run.error = std::current_exception();
                int seen = firstError.load();
                while (i < seen && !firstError.compare_exchange_weak(seen, i))
                {}
            }
            run.lines = held.Take();
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

    // The lines as the serial run posts them: bridge by bridge, up to and with a failed one.
    const int done = std::min(firstError.load(), nBridges);
    for (int i = 0; i < std::min(done + 1, nBridges); ++i)
        for (const CString& line : runs[static_cast<std::size_t>(i)].lines) qor::PostStatusLine(line);
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
