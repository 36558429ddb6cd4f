// The internal uniform load of the overstress method over every bridge of a bridge set.
#include "engine/analysis/OverstressAnalysis.h"

#include "engine/analysis/BeamAnalysis.h"
#include "engine/analysis/EnvelopeResults.h"
#include "engine/analysis/MovingLoadAnalysis.h"
#include "engine/analysis/RunPool.h"
#include "engine/model/Bridge.h"
#include "engine/model/BridgeSet.h"
#include "engine/model/LoadModel.h"
#include "engine/runs/EngineMessages.h"
#include "platform/core/CString.h"

#include <algorithm>
#include <utility>

COverstressAnalysis::COverstressAnalysis(std::shared_ptr<CBridgeSet> pBridgeSet) : m_pBridgeSet(std::move(pBridgeSet))
{}

double COverstressAnalysis::GetIntensity(double L)
{
    const double t = 1.0 / 3.0;
    if (L <= 12.0) return 16.0;
    if (L <= 15.0) return 16.0 + (L - 12.0) * t;
    if (L <= 18.0) return 17.0;
    if (L <= 21.0) return 17.0 + (L - 18.0) * t;
    if (L <= 27.0) return 18.0;
    if (L <= 30.0) return 18.0 + (L - 27.0) * t;
    if (L <= 40.0) return 19.0 + (L - 30.0) * 0.2;
    if (L <= 50.0) return 21.0 + (L - 40.0) * 0.3;
    return 24.0;
}

std::vector<std::shared_ptr<CEnvelopeResults>> COverstressAnalysis::Run()
{
    CRunPool pool(1); // a position a bridge: not worth a thread
    AddTo(pool);
    pool.Run();
    return TakeResults();
}

void COverstressAnalysis::AddTo(CRunPool& pool)
{
    m_vResults.clear();
    if (!m_pBridgeSet) return;

    const int nPoints = m_nPoints > 0 ? m_nPoints : CBeamAnalysis::PointsPerSpanSetting();
    // Over the bridges the set actually generated (a set of one bridge generates none).
    const int nBridges = m_pBridgeSet->GetBridgeCount();
    m_vResults.resize(static_cast<std::size_t>(std::max(nBridges, 0)));
    for (int i = 0; i < nBridges; ++i)
    {
        std::shared_ptr<CBridge> pBridge = m_pBridgeSet->GetBridge(static_cast<unsigned>(i));
        const double nSpans = pBridge ? static_cast<double>(pBridge->m_vSpans.size()) : 1.0;
        pool.Add(nSpans, [this, i, pBridge, nPoints](unsigned) {
            const double L = pBridge->m_SpanLength;
            const double w = GetIntensity(L);

            auto pLM = std::make_shared<CLoadModel>(i, CString(L"Internal for O/S"));
            pLM->m_bIsMoving = false;
            pLM->AddUDL(w); // counts the load and marks the model not up to date

            CString line;
            line.Format(L"Overstress: L = %.3f, w = %.3f", L, w);
            qor::PostStatusLine(line);

            CMovingLoadAnalysis mla(pBridge, pLM);
            mla.SetPointsPerSpan(nPoints);
            int nSteps = 10;
            double stepSize = 0.5;
            m_vResults[static_cast<std::size_t>(i)] = mla.Run(true, nSteps, stepSize);
        });
    }
}

std::vector<std::shared_ptr<CEnvelopeResults>> COverstressAnalysis::TakeResults()
{
    return std::exchange(m_vResults, {});
}
