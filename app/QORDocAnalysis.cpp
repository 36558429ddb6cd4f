// Analysis commands of the case, their worker threads and completions, and the update handlers that grey
// commands while a worker runs.
#include "app/QORDoc.h"

#include "app/AnalysisJob.h"
#include "app/CaseShell.h"
#include "engine/analysis/BeamResults.h"
#include "engine/analysis/CriticalEnsemble.h"
#include "engine/analysis/EnvelopeResults.h"
#include "engine/analysis/MovingLoadAnalysis.h"
#include "engine/analysis/ReferenceCollection.h"
#include "engine/analysis/ReferenceSet.h"
#include "engine/analysis/RunDiagnostics.h"
#include "engine/analysis/SinglePosAnalysis.h"
#include "engine/model/Bridge.h"
#include "engine/model/BridgeSet.h"
#include "engine/model/LoadModel.h"
#include "engine/model/LoadModelEnsemble.h"
#include "output/AnalysisOutput.h"
#include "ui/dialogs/AnalyzeRefCollectionDlg.h"
#include "ui/dialogs/BridgeRangeDlg.h"
#include "ui/dialogs/CritRatioRefCollDlg.h"
#include "ui/dialogs/MovingLoadDlg.h"
#include "ui/dialogs/SinglePositionDlg.h"

namespace {

constexpr UINT kError = MB_OK | MB_ICONERROR;

void ResetProgressBar() { CCaseShell::Current().ResetProgress(); }

// The entry at a chosen index, or null when the index names no entry.
template <class T>
std::shared_ptr<T> Chosen(const std::vector<std::shared_ptr<T>>& list, int index)
{
    if (index < 0 || static_cast<size_t>(index) >= list.size()) return nullptr;
    return list[static_cast<size_t>(index)];
}

int LoadModelCount(const std::shared_ptr<CLoadModelEnsemble>& ensemble)
{
    return ensemble ? ensemble->GetLoadModelCount() : 0;
}

// Both moving-load choices start from the case's last stepping and leave the engineer's in the case after OK.
template <class Dialog>
bool ChooseStepping(Dialog& dlg, bool& bByStep, double& stepSize, int& nSteps)
{
    dlg.m_bByStep = bByStep;
    dlg.m_StepSize = stepSize;
    dlg.m_nSteps = nSteps;
    if (dlg.DoModal() != IDOK) return false;
    bByStep = dlg.m_bByStep;
    stepSize = dlg.m_StepSize;
    nSteps = dlg.m_nSteps;
    return true;
}

// Why numbers of a run will be zero (or no ratio), said in the log where the run starts or ends; the lines
// of a run that is stopped before the log takes them are dropped with it.
void Log(const std::vector<CString>& lines, unsigned generation = 0)
{
    for (const CString& line : lines) CCaseShell::Current().QueueStatus(line, generation);
}

// A worker starts the timer, sets the progress range to its runs and greys its kind's commands until it ends;
// the log says what the run will find.
void Launch(CQORDoc& doc, std::shared_ptr<CAnalysisJob> job, const CString& text, int runs, std::atomic<bool>& bBusy,
            const std::vector<CString>& lines)
{
    doc.m_StartTime = doc.StartTimer(text);
    // The runs a worker will report, one per load model over one bridge.
    CCaseShell::Current().BeginProgress(runs);
    bBusy = true;
    job->m_sRun = text.Left(text.GetLength() - CString(L" called").GetLength());
    const unsigned generation = job->m_Control.Generation();
    try
    {
        doc.m_Jobs.Start(std::move(job));
    }
    catch (...)
    {
        // No run started: its commands live again and the command says why.
        bBusy = false;
        ResetProgressBar();
        throw;
    }
    Log(lines, generation);
}

std::vector<std::shared_ptr<CLoadModel>> ModelsOf(const std::vector<std::shared_ptr<CLoadModelEnsemble>>& ensembles)
{
    std::vector<std::shared_ptr<CLoadModel>> models;
    for (const auto& ensemble : ensembles)
        if (ensemble) models.insert(models.end(), ensemble->m_vLoadModel.begin(), ensemble->m_vLoadModel.end());
    return models;
}

std::vector<std::shared_ptr<CBridge>> BridgesOf(const std::vector<std::shared_ptr<CBridgeSet>>& sets)
{
    std::vector<std::shared_ptr<CBridge>> bridges;
    for (const auto& set : sets)
        if (set) bridges.insert(bridges.end(), set->m_vBridges.begin(), set->m_vBridges.end());
    return bridges;
}

// Takes a finished worker back: its kind's commands live again and the timer stopped. Null when the case that
// started it has closed.
std::shared_ptr<CAnalysisJob> TakeBack(CQORDoc& doc, CAnalysisJob* block, std::atomic<bool>& bBusy)
{
    std::shared_ptr<CAnalysisJob> job = doc.m_Jobs.Adopt(block);
    if (!job) return nullptr;
    bBusy = false;
    doc.StopTimer(doc.m_StartTime);
    return job;
}

} // namespace

// ---- Timer -------------------------------------------------------------------------------------------

DWORD CQORDoc::StartTimer(CString text)
{
    CCaseShell& shell = CCaseShell::Current();
    shell.SetStatusText(L"Calculating...");
    shell.QueueStatus(text, 0);
    return timeGetTime();
}

void CQORDoc::StopTimer(DWORD start)
{
    const DWORD elapsed = timeGetTime() - start;
    CString line;
    line.Format(L"Elapsed time: %lu ms", static_cast<unsigned long>(elapsed));
    CCaseShell& shell = CCaseShell::Current();
    shell.QueueStatus(line, 0);
    shell.SetStatusText(L"Ready");
}

// ---- Single position ------------------------------------------------------------------------------

void CQORDoc::OnAnalysisSinglePosition()
{
    CSinglePositionDlg dlg;
    dlg.m_vBridge = m_vBridge;
    dlg.m_vLoadModel = m_vLoadModel;
    if (dlg.DoModal() != IDOK) return;
    std::shared_ptr<CBridge> bridge = Chosen(m_vBridge, dlg.m_nBridgeIndex);
    std::shared_ptr<CLoadModel> model = Chosen(m_vLoadModel, dlg.m_nLoadModelIndex);
    if (!bridge) return (void)Message(L"There is no bridge in the case to analyse.", kError);
    if (!model) return (void)Message(L"There is no load model in the case to analyse.", kError);

    const DWORD start = StartTimer(L"Single Position Analysis called");
    Log(CRunDiagnostics::ModelLines({model}, {bridge}));
    CSinglePosAnalysis analysis(bridge, model);
    std::shared_ptr<CBeamResults> results = analysis.Run(dlg.m_Position);
    StopTimer(start);

    m_pSPResults = results;
    m_pAOSinglePosition = std::make_shared<CAOSinglePosition>(m_pSPResults, bridge, model, dlg.m_Position);
    OnViewSinglePositionResults();
    UpdateElementView();
    SetModifiedFlag(TRUE);
}

// ---- Moving load ----------------------------------------------------------------------------------

void CQORDoc::OnAnalysisMovingLoad()
{
    CMovingLoadDlg dlg;
    dlg.m_vBridge = m_vBridge;
    dlg.m_vLoadModel = m_vLoadModel;
    dlg.m_vLoadModelEnsemble = m_vLoadModelEnsemble;
    if (!ChooseStepping(dlg, m_bMLByStep, m_MLStepSize, m_nMLSteps)) return;

    std::shared_ptr<CBridge> bridge = Chosen(m_vBridge, dlg.m_nBridgeIndex);
    if (!bridge) return (void)Message(L"There is no bridge in the case to analyse.", kError);
    if (dlg.m_bUseLoadModel)
    {
        std::shared_ptr<CLoadModel> model = Chosen(m_vLoadModel, dlg.m_nLoadModelIndex);
        if (!model) return (void)Message(L"There is no load model in the case to analyse.", kError);
        RunMovingLoad(m_bMLByStep, m_nMLSteps, dlg.m_bDisplayEach, bridge, model, m_MLStepSize);
    }
    else
    {
        std::shared_ptr<CLoadModelEnsemble> ensemble = Chosen(m_vLoadModelEnsemble, dlg.m_nLMEIndex);
        if (!ensemble) return (void)Message(L"There is no load model ensemble in the case to analyse.", kError);
        if (ensemble->GetLoadModelCount() == 0)
            return (void)Message(L"The load model ensemble has no load models to analyse.", kError);
        StartMultiMovingLoad(m_bMLByStep, m_nMLSteps, dlg.m_bDisplayEach, bridge, ensemble, m_MLStepSize);
    }
    UpdateElementView();
    SetModifiedFlag(TRUE);
}

void CQORDoc::RunMovingLoad(bool bByStep, int nSteps, bool bDisplayEach, std::shared_ptr<CBridge> pBridge,
                            std::shared_ptr<CLoadModel> pLoadModel, double stepSize)
{
    const DWORD start = StartTimer(L"Moving Load Analysis called");
    Log(CRunDiagnostics::ModelLines({pLoadModel}, {pBridge}));
    CMovingLoadAnalysis analysis(pBridge, pLoadModel);
    // Every position's lines are kept only for the plot that draws them all.
    analysis.SetKeepBeamResults(bDisplayEach);
    // The command ends with its results, but at a million positions the run takes seconds: it runs on a
    // worker while the windows go on painting (input waits, as during a save).
    std::shared_ptr<CEnvelopeResults> results;
    qor::gui::RunWorkOffWindowThread([&] { results = analysis.Run(bByStep, nSteps, stepSize); }, nullptr);
    const int nAnalyses = analysis.GetNoAnalyses();
    StopTimer(start);

    m_pMLResults = results;
    m_pAOMovingLoad = std::make_shared<CAOMovingLoad>(m_pMLResults, pBridge, pLoadModel, nAnalyses);
    ShowMovingLoadOutput(bDisplayEach, m_pAOMovingLoad);
}

void CQORDoc::StartMultiMovingLoad(bool bByStep, int nSteps, bool bDisplayEach, std::shared_ptr<CBridge> pBridge,
                                   std::shared_ptr<CLoadModelEnsemble> pLME, double stepSize)
{
    if (!pBridge || !pLME) return;
    auto job = std::make_shared<CMultiMLJob>();
    job->pDoc = this;
    // A worker reads only its own copies: the case's elements may be edited while it runs.
    job->pBridge = pBridge->Clone();
    job->pLME = pLME->Clone();
    job->bByStep = bByStep;
    job->nSteps = nSteps;
    job->StepSize = stepSize;
    job->bDisplayEach = bDisplayEach;
    Launch(*this, job, L"Moving Load Analysis of LME called", pLME->GetLoadModelCount(), m_bBusyMultiML,
           CRunDiagnostics::ModelLines(pLME->m_vLoadModel, {pBridge}));
}

void CQORDoc::OnMultiMovingLoadDone(MultiMLThreadData* pData)
{
    auto* block = static_cast<CMultiMLJob*>(pData);
    const std::shared_ptr<CAnalysisJob> job = TakeBack(*this, block, m_bBusyMultiML);
    if (!job) return; // the case that started it has closed
    if (!block->m_sError.IsEmpty()) return ReportEngineFailure(block->m_sError);
    ResetProgressBar();
    m_pMLResults = block->m_pResults;
    m_pAOMultiMovingLoad = std::make_shared<CAOMultiMovingLoad>(m_pMLResults, block->pBridge, block->pLME,
                                                                block->m_vLMResults, block->m_nAnalyses);
    ShowMultiMovingLoadOutput(block->bDisplayEach, m_pAOMultiMovingLoad);
    UpdateElementView();
    SetModifiedFlag(TRUE);
}

// ---- Bridge range ---------------------------------------------------------------------------------

void CQORDoc::OnAnalysisBridgeRange()
{
    CBridgeRangeDlg dlg;
    dlg.m_vBridgeSet = m_vBridgeSet;
    dlg.m_vLoadModel = m_vLoadModel;
    if (!ChooseStepping(dlg, m_bMLByStep, m_MLStepSize, m_nMLSteps)) return;
    std::shared_ptr<CBridgeSet> bridgeSet = Chosen(m_vBridgeSet, dlg.m_nBridgeSetIndex);
    std::shared_ptr<CLoadModel> model = Chosen(m_vLoadModel, dlg.m_nLoadModelIndex);
    if (!bridgeSet) return (void)Message(L"There is no bridge set in the case to analyse.", kError);
    if (!model) return (void)Message(L"There is no load model in the case to analyse.", kError);
    if (bridgeSet->GetBridgeCount() == 0) return (void)Message(L"The bridge set has no bridges to analyse.", kError);
    StartBridgeRange(bridgeSet, model);
}

void CQORDoc::StartBridgeRange(std::shared_ptr<CBridgeSet> pBridgeSet, std::shared_ptr<CLoadModel> pLoadModel)
{
    if (!pBridgeSet || !pLoadModel) return;
    auto job = std::make_shared<CBridgeRangeJob>();
    job->pDoc = this;
    job->pBridgeSet = pBridgeSet->Clone();
    job->pLoadModel = pLoadModel->Clone();
    job->bByStep = m_bMLByStep;
    job->nSteps = m_nMLSteps;
    job->StepSize = m_MLStepSize;
    Launch(*this, job, L"Bridge Range Analysis called", pBridgeSet->m_nBridge, m_bBusyBridgeRange,
           CRunDiagnostics::ModelLines({pLoadModel}, pBridgeSet->m_vBridges));
}

void CQORDoc::OnBridgeRangeDone(BridgeRangeThreadData* pData)
{
    auto* block = static_cast<CBridgeRangeJob*>(pData);
    const std::shared_ptr<CAnalysisJob> job = TakeBack(*this, block, m_bBusyBridgeRange);
    if (!job) return; // the case that started it has closed
    if (!block->m_sError.IsEmpty()) return ReportEngineFailure(block->m_sError);
    // The next runs start from the stepping the engine derived for the last bridge.
    m_nMLSteps = block->nSteps;
    m_MLStepSize = block->StepSize;
    m_pBRResults = block->m_pResults;
    m_pAOBridgeRange = std::make_shared<CAOBridgeRange>(m_pBRResults, block->pBridgeSet, block->pLoadModel);
    ResetProgressBar();
    OnViewBridgeRangeResults();
    UpdateElementView();
    SetModifiedFlag(TRUE);
}

// ---- Reference values -------------------------------------------------------------------------------

void CQORDoc::OnAnalysisRefCollection()
{
    if (m_nRefCollectionID < 1) return (void)Message(L"There are no reference collections to analyze.", kError);
    CAnalyzeRefCollectionDlg dlg;
    dlg.m_vRefCollection = m_vRefCollection;
    if (dlg.DoModal() != IDOK) return;
    std::shared_ptr<CReferenceCollection> collection = Chosen(m_vRefCollection, dlg.m_nRefCollectionIndex);
    if (!collection) return (void)Message(L"Invalid reference collection selected.", kError);
    StartRefCollection(collection);
}

void CQORDoc::StartRefCollection(std::shared_ptr<CReferenceCollection> pRefCollection)
{
    if (!pRefCollection) return;
    auto job = std::make_shared<CRefCollJob>(false);
    job->pDoc = this;
    job->pRefCollection = pRefCollection;
    job->CopyInputs();
    int runs = 0;
    for (const auto& ensemble : pRefCollection->m_vLME)
        for (const auto& bridgeSet : pRefCollection->m_vBS)
            runs += LoadModelCount(ensemble) * (bridgeSet ? bridgeSet->m_nBridge : 0);
    Launch(*this, job, L"Make Reference Collection called", runs, m_bBusyRefValues,
           CRunDiagnostics::ModelLines(ModelsOf(pRefCollection->m_vLME), BridgesOf(pRefCollection->m_vBS)));
}

// Both runs over a collection end alike: a fault or failure said, or the results of an unchanged collection kept
// (a collection changed while it was computed has results that belong to its old contents) and offered for
// display. From its message on, the completion waits until no modal window is open, so that the message does
// not take the keys meant for that window; when the case closes meanwhile, nothing is asked.
static void EndCollectionRun(CQORDoc& doc, CRefCollJob& block, bool bSuccess, const CString& failure,
                             void (CQORDoc::*show)(std::shared_ptr<CReferenceCollection>))
{
    std::function<void()> ask;
    if (!block.m_sError.IsEmpty())
        ask = [error = block.m_sError] { CQORDoc::ReportEngineFailure(error); };
    else if (!bSuccess)
        ask = [failure] { CQORDoc::Message(failure, kError); };
    else if (block.pRefCollection->DiffersFrom(block.m_pLaunched))
        ask = [] {
            CQORDoc::Message(L"The reference collection was changed while it was being computed.\n"
                             L"Its results were not kept: please compute it again.",
                             kError);
        };
    else
    {
        block.StoreResults();
        if (block.m_bRatios) Log(CRunDiagnostics::RatioLines(block.pRefCollection->GetCritRatios()));
        doc.SetModifiedFlag(TRUE); // the results are in the case from here on, asked or not
        ask = [&doc, show, collection = block.pRefCollection] {
            ResetProgressBar();
            if (CQORDoc::Message(L"Display grids/plots for the analysis?", MB_YESNO | MB_ICONQUESTION) == IDYES)
                (doc.*show)(collection);
        };
    }
    CCaseShell::Current().QueueCaseStep(
        &doc,
        [&doc, ask] {
            ask();
            doc.UpdateElementView();
            doc.SetModifiedFlag(TRUE);
        },
        true);
}

void CQORDoc::OnRefValuesDone(RefCollThreadData* pData, bool bSuccess)
{
    auto* block = static_cast<CRefCollJob*>(pData);
    const std::shared_ptr<CAnalysisJob> job = TakeBack(*this, block, m_bBusyRefValues);
    if (!job) return; // the case that started it has closed
    EndCollectionRun(*this, *block, bSuccess,
                     L"There are either zero bridge sets or load model ensembles.\nin the selected Reference "
                     L"Collection. Please check.",
                     &CQORDoc::ShowCollectionValues);
}

// ---- Critical ratios --------------------------------------------------------------------------------

void CQORDoc::OnAnalysisCriticalRatios()
{
    CCritRatioRefCollDlg dlg;
    dlg.m_vLoadModel = m_vLoadModel;
    dlg.m_vLoadModelEnsemble = m_vLoadModelEnsemble;
    dlg.m_vRefCollection = m_vRefCollection;
    dlg.m_Multiplier = m_Multiplier;
    if (dlg.DoModal() != IDOK) return;
    if (m_vRefCollection.empty()) return (void)Message(L"Cannot complete - there is no Reference Collection.", kError);
    std::shared_ptr<CReferenceCollection> collection = Chosen(m_vRefCollection, dlg.m_nRefCollectionIndex);
    if (!collection) return (void)Message(L"Invalid reference collection selected.", kError);
    m_Multiplier = dlg.m_Multiplier;
    if (dlg.m_bUseLoadModel)
    {
        std::shared_ptr<CLoadModel> model = Chosen(m_vLoadModel, dlg.m_nLoadModelIndex);
        if (!model) return (void)Message(L"No Proposed vehicle: there is no load model in the case.", kError);
        collection->SetProposedLoadModel(model);
    }
    else
    {
        std::shared_ptr<CLoadModelEnsemble> ensemble = Chosen(m_vLoadModelEnsemble, dlg.m_nLMEIndex);
        if (!ensemble)
            return (void)Message(L"No Proposed vehicle: there is no load model ensemble in the case.", kError);
        if (ensemble->GetLoadModelCount() == 0)
            return (void)Message(L"No Proposed vehicle: the load model ensemble has no load models.", kError);
        collection->SetProposedLME(ensemble);
    }
    StartCritRatios(collection);
}

void CQORDoc::StartCritRatios(std::shared_ptr<CReferenceCollection> pRefCollection)
{
    if (!pRefCollection) return;
    if (!pRefCollection->m_bIsCalculated)
    {
        CString question;
        question.Format(L"Ref. Collection: %s\n", pRefCollection->m_Description.GetString());
        question += L"This collection has not yet been computed.\n";
        question += L"Do you wish to compute it now?";
        if (Message(question, MB_YESNO | MB_ICONQUESTION) == IDYES) StartRefCollection(pRefCollection);
        return;
    }
    auto job = std::make_shared<CRefCollJob>(true);
    job->pDoc = this;
    job->pRefCollection = pRefCollection;
    job->m_Multiplier = m_Multiplier;
    job->CopyInputs();
    int runs = 0;
    if (pRefCollection->m_nRefSets > 0)
        for (const auto& set : pRefCollection->m_vRefSet)
            if (set && set->GetBridgeSet())
                runs += set->GetBridgeSet()->m_nBridge * LoadModelCount(pRefCollection->GetProposedLME());
    std::vector<std::shared_ptr<CBridgeSet>> sets;
    for (const auto& set : pRefCollection->m_vRefSet)
        if (set) sets.push_back(set->GetBridgeSet());
    Launch(*this, job, L"Calculate Critical Ratios called", runs, m_bBusyCritRatios,
           CRunDiagnostics::ModelLines(ModelsOf({pRefCollection->GetProposedLME()}), BridgesOf(sets)));
}

void CQORDoc::OnCritRatiosDone(RefCollThreadData* pData, bool bSuccess)
{
    auto* block = static_cast<CRefCollJob*>(pData);
    const std::shared_ptr<CAnalysisJob> job = TakeBack(*this, block, m_bBusyCritRatios);
    if (!job) return; // the case that started it has closed
    EndCollectionRun(*this, *block, bSuccess, L"Critical ratios could not be calculated.",
                     &CQORDoc::ShowCollectionRatios);
}

// ---- Greying while workers run ----------------------------------------------------------------------

void CQORDoc::OnUpdateAnalysisMovingLoad(CCmdUI* pCmdUI) { pCmdUI->Enable(!m_bBusyMultiML); }

void CQORDoc::OnUpdateBridgeRange(CCmdUI* pCmdUI) { pCmdUI->Enable(!m_bBusyBridgeRange); }

void CQORDoc::OnUpdateAnalysisRefCollection(CCmdUI* pCmdUI) { pCmdUI->Enable(!m_bBusyRefValues && !m_bBusyCritRatios); }

void CQORDoc::OnUpdateViewRefCollectionValues(CCmdUI* pCmdUI) { pCmdUI->Enable(!m_bBusyRefValues); }

void CQORDoc::OnUpdateViewRefCollectionRatios(CCmdUI* pCmdUI) { pCmdUI->Enable(!m_bBusyCritRatios); }

void CQORDoc::OnUpdateViewCompareEnvelopes(CCmdUI* pCmdUI) { pCmdUI->Enable(!(m_bBusyRefValues && m_bBusyCritRatios)); }
