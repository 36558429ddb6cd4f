// Result output of the case: which result windows each kind of result opens, the View commands that show
// stored results again, and the output options.
#include "app/QORDoc.h"

#include "app/AnalysisJobs.h"
#include "app/CaseShell.h"
#include "engine/analysis/CriticalEnsemble.h"
#include "engine/analysis/EnvelopeResults.h"
#include "engine/analysis/ReferenceCollection.h"
#include "engine/analysis/ReferenceSet.h"
#include "engine/model/Beam.h"
#include "engine/model/BridgeSet.h"
#include "output/AnalysisOutput.h"
#include "platform/gui/frame/Frame.h"
#include "ui/dialogs/CompareEnvelopesDlg.h"
#include "ui/dialogs/OutputOptionsDlg.h"
#include "ui/dialogs/ViewRefCollectionDlg.h"
#include "ui/views/GridView.h"
#include "ui/views/PlotView.h"

#include <functional>

namespace {

constexpr UINT kError = MB_OK | MB_ICONERROR;
constexpr UINT kWarning = MB_OK | MB_ICONWARNING;

bool NoDisplaySelected(const CQORDoc::OutputOptions& out) { return !out.GRAPHS && !out.TABLES; }

// Supports with reactions of a bridge set's beams (0 for a set without bridges).
unsigned ReactionsOf(const std::shared_ptr<CBridgeSet>& bridgeSet)
{
    if (!bridgeSet || bridgeSet->GetBridgeCount() == 0) return 0;
    std::shared_ptr<CBeam> beam = bridgeSet->GetBeam();
    return beam ? static_cast<unsigned>(beam->m_nRestraints) : 0;
}

unsigned ReactionsOf(const std::shared_ptr<CEnvelopeResults>& results)
{
    std::shared_ptr<CBeam> beam = results ? results->GetBeam() : nullptr;
    return beam ? static_cast<unsigned>(beam->m_nRestraints) : 0;
}

// How one kind of result reaches its windows.
struct OutputRoute
{
    LPCTSTR kind;      // heads the window titles
    LPCTSTR emptyText; // said when there is no result
    bool plotAlways;   // one plot whatever the entity options (single position)
    std::function<unsigned()> reactions;
    std::function<void(CQORViewBase&, bool bBMSF)> show;
};

// Fills a result window just opened; a window that cannot be filled (its result too large for the memory
// left) is closed again, so that no half-drawn window stays, and the failure goes on to the command.
void FillOrClose(CQORViewBase* view, const std::function<void(CQORViewBase&, bool bBMSF)>& show, bool bBMSF)
{
    if (!view) return;
    try
    {
        show(*view, bBMSF);
    }
    catch (...)
    {
        CFrameWnd* frame = view->GetParentFrame();
        if (frame && qor::gui::IsLiveFrame(frame)) frame->SendMessage(WM_CLOSE, 0, 0);
        throw;
    }
}

// The windows the output options ask for, one step each, in the order plot of moment and shear, plot of
// reactions, grid of moment and shear, grid of reactions. A result the views cannot draw throws to the
// command that runs the step (see CQORDoc::RunCommand).
std::vector<std::function<void()>> OutputSteps(CQORDoc& doc, const OutputRoute& route)
{
    const CQORDoc::OutputOptions& out = doc.m_Output;
    const CString plotTitle = CString(route.kind) + L" - Plot";
    const CString gridTitle = CString(route.kind) + L" - Grid";
    std::vector<std::function<void()>> steps;
    CQORDoc* pDoc = &doc;
    auto show = route.show;
    if (out.GRAPHS)
    {
        if (route.plotAlways || out.BMSF)
            steps.push_back([=] { FillOrClose(pDoc->OpenPlotView(plotTitle, 2, 1), show, true); });
        if (!route.plotAlways && out.R)
            if (const unsigned n = route.reactions(); n > 0)
                steps.push_back([=] { FillOrClose(pDoc->OpenReactionsPlotView(plotTitle, n), show, false); });
    }
    if (out.TABLES)
    {
        if (out.BMSF) steps.push_back([=] { FillOrClose(pDoc->OpenGridView(gridTitle), show, true); });
        if (out.R) steps.push_back([=] { FillOrClose(pDoc->OpenGridView(gridTitle), show, false); });
    }
    return steps;
}

// Opens the windows of a result one per turn of the message loop, after those still waiting.
void QueueOutput(CQORDoc& doc, const OutputRoute& route)
{
    for (auto& step : OutputSteps(doc, route)) CCaseShell::Current().QueueCaseStep(&doc, std::move(step), false);
}

// Opens the windows of a result, at once or (bQueued) one per turn of the message loop.
void RouteOutput(CQORDoc& doc, const std::shared_ptr<CAnalysisOutput>& pAO, const OutputRoute& route,
                 bool bQueued = false)
{
    if (NoDisplaySelected(doc.m_Output))
        return (void)CQORDoc::Message(L"Neither graph nor table output selected.", kError);
    if (!pAO) return (void)CQORDoc::Message(route.emptyText, kError);
    if (bQueued) return QueueOutput(doc, route);
    for (const auto& step : OutputSteps(doc, route)) step();
}

// The collection chosen in the View picker, or null (said) when the list had nothing there.
std::shared_ptr<CReferenceCollection> PickCollection(const std::vector<std::shared_ptr<CReferenceCollection>>& list)
{
    CViewRefCollectionDlg dlg;
    dlg.m_vRefCollection = list;
    if (dlg.DoModal() != IDOK) return nullptr;
    if (dlg.m_nRefCollectionIndex < 0 || static_cast<size_t>(dlg.m_nRefCollectionIndex) >= list.size() ||
        !list[static_cast<size_t>(dlg.m_nRefCollectionIndex)])
    {
        CQORDoc::Message(L"Invalid reference collection selected.", kError);
        return nullptr;
    }
    return list[static_cast<size_t>(dlg.m_nRefCollectionIndex)];
}

} // namespace

// ---- Output of each kind of result ------------------------------------------------------------------

void CQORDoc::ShowSinglePositionOutput(std::shared_ptr<CAnalysisOutput> pAO)
{
    RouteOutput(*this, pAO,
                {L"Single Position Results", L"No Single Position results to display.", true, [] { return 0u; },
                 [=](CQORViewBase& view, bool bBMSF) { view.ShowSinglePosition(bBMSF, pAO); }});
}

// At a million positions the windows of a moving load together hold the window for about half a second, and
// an ensemble's for seconds: they come one per turn of the message loop, when shown again too.
void CQORDoc::ShowMovingLoadOutput(bool bDisplayEach, std::shared_ptr<CAnalysisOutput> pAO)
{
    auto* ao = dynamic_cast<CAOMovingLoad*>(pAO.get());
    RouteOutput(*this, pAO,
                {L"MLA Envelopes", L"No Moving Load results to display.", false,
                 [ao] { return ao ? ReactionsOf(ao->GetResults()) : 0u; },
                 [=](CQORViewBase& view, bool bBMSF) { view.ShowMovingLoadEnvelopes(bDisplayEach, bBMSF, pAO); }},
                true);
}

void CQORDoc::ShowMultiMovingLoadOutput(bool bDisplayEach, std::shared_ptr<CAnalysisOutput> pAO)
{
    auto* ao = dynamic_cast<CAOMultiMovingLoad*>(pAO.get());
    RouteOutput(*this, pAO,
                {L"Multi MLA Envelopes", L"No Moving Load of LME results to display.", false,
                 [ao] { return ao ? ReactionsOf(ao->GetResults()) : 0u; },
                 [=](CQORViewBase& view, bool bBMSF) { view.ShowMultiMovingLoadEnvelopes(bDisplayEach, bBMSF, pAO); }},
                true);
}

void CQORDoc::ShowBridgeRangeOutput(std::shared_ptr<CAnalysisOutput> pAO)
{
    auto* ao = dynamic_cast<CAOBridgeRange*>(pAO.get());
    RouteOutput(*this, pAO,
                {L"Critical Values", L"No Bridge Range results to display.", false,
                 [ao] { return ao ? ReactionsOf(ao->m_pOutBridgeSet) : 0u; },
                 [=](CQORViewBase& view, bool bBMSF) { view.ShowReferenceValues(bBMSF, pAO); }});
}

namespace {

OutputRoute ReferenceSetRoute(const std::shared_ptr<CAnalysisOutput>& pAO)
{
    auto* ao = dynamic_cast<CAOReferenceSet*>(pAO.get());
    return {L"Reference Values", L"No Reference Set results to display.", false,
            [ao] { return ao && ao->m_pOutRefSet ? ReactionsOf(ao->m_pOutRefSet->GetBridgeSet()) : 0u; },
            [pAO](CQORViewBase& view, bool bBMSF) { view.ShowReferenceSetValues(bBMSF, pAO); }};
}

OutputRoute CriticalRatiosRoute(const std::shared_ptr<CAnalysisOutput>& pAO)
{
    auto* ao = dynamic_cast<CAOCriticalRatios*>(pAO.get());
    return {L"Critical Ratios", L"No Critical Ratio results to display.", false,
            [ao] { return ao && ao->m_pOutRatios ? ReactionsOf(ao->m_pOutRatios->GetBridgeSet()) : 0u; },
            [pAO](CQORViewBase& view, bool bBMSF) { view.ShowCriticalRatios(bBMSF, pAO); }};
}

} // namespace

void CQORDoc::ShowReferenceSetOutput(std::shared_ptr<CAnalysisOutput> pAO)
{
    RouteOutput(*this, pAO, ReferenceSetRoute(pAO));
}

void CQORDoc::ShowCompareEnvelopesOutput(std::shared_ptr<CAnalysisOutput> pAO)
{
    auto* ao = dynamic_cast<CAOReferenceSet*>(pAO.get());
    RouteOutput(*this, pAO,
                {L"Compare Envelopes", L"No envelopes to compare - Reference Collection not calculated?", false,
                 [ao] { return ao && ao->m_pOutRefSet ? ReactionsOf(ao->m_pOutRefSet->GetBridgeSet()) : 0u; },
                 [=](CQORViewBase& view, bool bBMSF) { view.ShowCompareEnvelopes(bBMSF, pAO); }});
}

void CQORDoc::ShowCriticalRatiosOutput(std::shared_ptr<CAnalysisOutput> pAO)
{
    RouteOutput(*this, pAO, CriticalRatiosRoute(pAO));
}

void CQORDoc::ShowEnhancedRatiosGrid(std::shared_ptr<CAnalysisOutput> pAO)
{
    if (CGridView* view = OpenGridView(L"Critical Ratios Grid")) view->ShowEnhancedCriticalRatios(pAO);
}

// Every calculated reference set opens its own windows, one per turn of the message loop (a collection
// may open dozens); the slot keeps the last one.
void CQORDoc::ShowCollectionValues(std::shared_ptr<CReferenceCollection> pRefCollection)
{
    if (!pRefCollection) return;
    if (NoDisplaySelected(m_Output)) return (void)Message(L"Neither graph nor table output selected.", kError);
    for (int i = 0; i < pRefCollection->m_nRefSets; ++i)
    {
        std::shared_ptr<CReferenceSet> set = pRefCollection->GetRefSet(static_cast<unsigned>(i));
        if (!set) continue;
        m_pAOReferenceSet = std::make_shared<CAOReferenceSet>(set, pRefCollection->m_bUseOverstress);
        QueueOutput(*this, ReferenceSetRoute(m_pAOReferenceSet));
    }
}

void CQORDoc::ShowCollectionRatios(std::shared_ptr<CReferenceCollection> pRefCollection)
{
    if (!pRefCollection) return;
    if (NoDisplaySelected(m_Output)) return (void)Message(L"Neither graph nor table output selected.", kError);
    const std::vector<std::shared_ptr<CCriticalRatioEnsemble>> ratios = pRefCollection->GetCritRatios();
    for (size_t i = 0; i < ratios.size(); ++i)
    {
        std::shared_ptr<CReferenceSet> set = pRefCollection->GetRefSet(static_cast<unsigned>(i));
        if (!set || !ratios[i]) continue;
        m_pAOCriticalRatios = std::make_shared<CAOCriticalRatios>(ratios[i], pRefCollection, set);
        QueueOutput(*this, CriticalRatiosRoute(m_pAOCriticalRatios));
    }
}

// ---- The View commands ----------------------------------------------------------------------------------

void CQORDoc::OnViewSinglePositionResults()
{
    if (!m_pAOSinglePosition)
        return (void)Message(L"There are no results from a single position analysis to display.", kError);
    ShowSinglePositionOutput(m_pAOSinglePosition);
}

void CQORDoc::OnViewMovingLoadResults()
{
    if (!m_pAOMovingLoad && !m_pAOMultiMovingLoad)
        return (void)Message(L"There are no results from a moving load analysis to display.", kError);
    if (m_pAOMovingLoad) ShowMovingLoadOutput(false, m_pAOMovingLoad);
    if (m_pAOMultiMovingLoad) ShowMultiMovingLoadOutput(false, m_pAOMultiMovingLoad);
}

void CQORDoc::OnViewBridgeRangeResults()
{
    if (!m_pAOBridgeRange) return (void)Message(L"There are no results from a bridge range to display.", kError);
    ShowBridgeRangeOutput(m_pAOBridgeRange);
}

void CQORDoc::OnViewRefCollectionValues()
{
    if (m_nRefCollectionID < 1)
        return (void)Message(L"There are no results from a reference collection to display.", kError);
    if (std::shared_ptr<CReferenceCollection> collection = PickCollection(m_vRefCollection))
        ShowCollectionValues(collection);
}

void CQORDoc::OnViewRefCollectionRatios()
{
    if (m_nRefCollectionID < 1)
        return (void)Message(L"There are no ratios calculated from a Reference Collection to display\n", kError);
    std::shared_ptr<CReferenceCollection> collection = PickCollection(m_vRefCollection);
    if (!collection) return;
    if (!collection->m_bRatiosCalculated)
        return (void)Message(
            L"Calculations for the proposed vehicle must be performed.\nAnalysis > Critical Ratios (F5).\n", kError);
    ShowCollectionRatios(collection);
}

void CQORDoc::OnViewEnhancedRatiosGrid()
{
    if (m_nRefCollectionID < 1)
        return (void)Message(L"There are no ratios calculated from a Reference Collection to display\n", kError);
    std::shared_ptr<CReferenceCollection> collection = PickCollection(m_vRefCollection);
    if (!collection) return;
    if (!collection->m_bRatiosCalculated)
        return (void)Message(L"There are no ratios calculated for the selected reference collection.", kError);
    m_pAOEnhanced = std::make_shared<CAOEnhanced>(collection);
    ShowEnhancedRatiosGrid(m_pAOEnhanced);
}

void CQORDoc::OnViewCompareEnvelopes()
{
    if (m_nRefCollectionID < 1 || m_vRefCollection.empty())
        return (void)Message(L"No reference collections to compare against.", kWarning);
    CCompareEnvelopesDlg dlg;
    dlg.m_vRefCollection = m_vRefCollection;
    if (dlg.DoModal() != IDOK) return;
    if (dlg.m_nRefCollectionIndex < 0 || static_cast<size_t>(dlg.m_nRefCollectionIndex) >= m_vRefCollection.size())
        return (void)Message(L"Invalid reference collection selected.", kError);
    const std::shared_ptr<CReferenceCollection>& collection =
        m_vRefCollection[static_cast<size_t>(dlg.m_nRefCollectionIndex)];
    if (!collection || !collection->m_bIsCalculated)
        return (void)Message(L"No envelopes to compare - Reference Collection not calculated?", kWarning);
    if (!collection->m_bRatiosCalculated)
        return (void)Message(L"No critical ratios for a proposed vehicle have been calculated.", kWarning);
    std::shared_ptr<CReferenceSet> set = collection->GetRefSet(static_cast<unsigned>(std::max(dlg.m_nRefSetIndex, 0)));
    if (!set) return (void)Message(L"The chosen reference envelope does not exist.", kError);
    std::shared_ptr<CBridgeSet> bridgeSet = set->GetBridgeSet();
    if (!bridgeSet || dlg.m_nBridgeIndex < 0 || dlg.m_nBridgeIndex >= bridgeSet->GetBridgeCount())
        return (void)Message(L"The chosen bridge is not in the reference envelope's bridge set.", kError);
    ShowCompareEnvelopesOutput(
        std::make_shared<CAOCompareRefSetEnvs>(collection->m_bUseOverstress, dlg.m_nBridgeIndex, set));
}

void CQORDoc::OnViewOutputOptions()
{
    COutputOptionsDlg dlg;
    dlg.m_bBMSF = m_Output.BMSF;
    dlg.m_bReactions = m_Output.R;
    dlg.m_bGraphs = m_Output.GRAPHS;
    dlg.m_bTables = m_Output.TABLES;
    if (dlg.DoModal() != IDOK) return;
    // The options belong to the open case only and are not saved with it.
    m_Output = {dlg.m_bBMSF, dlg.m_bReactions, dlg.m_bGraphs, dlg.m_bTables};
}
