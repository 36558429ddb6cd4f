// The case document: construction and reset, New and Open, the element lists, removal of elements, the
// result windows, and the one message map of the case menu.
#include "app/QORDoc.h"

#include "app/AnalysisJob.h"
#include "app/CaseShell.h"
#include "app/ChildFrame.h"
#include "app/EngineGuard.h"
#include "engine/analysis/BeamResults.h"
#include "engine/analysis/CriticalEnsemble.h"
#include "engine/analysis/EnvelopeResults.h"
#include "engine/analysis/ReferenceCollection.h"
#include "engine/analysis/SpareBlocks.h"
#include "engine/case/CaseFile.h"
#include "engine/case/ElementCopies.h"
#include "engine/model/Bridge.h"
#include "engine/model/BridgeSet.h"
#include "engine/model/LoadModel.h"
#include "engine/model/LoadModelEnsemble.h"
#include "engine/settings/Settings.h"
#include "output/AnalysisOutput.h"
#include "platform/gui/window/Background.h"
#include "res/Resource.h"
#include "ui/views/GridView.h"
#include "ui/views/PlotView.h"

#include <algorithm>
#include <tuple>

IMPLEMENT_DYNCREATE(CQORDoc, CDocument)

BEGIN_MESSAGE_MAP(CQORDoc, CDocument)
ON_COMMAND(ID_ANALYSIS_SINGLE_POSITION, OnAnalysisSinglePosition)
ON_COMMAND(ID_ANALYSIS_MOVING_LOAD, OnAnalysisMovingLoad)
ON_COMMAND(ID_ANALYSIS_BRIDGE_RANGE, OnAnalysisBridgeRange)
ON_COMMAND(ID_ANALYSIS_REF_COLLECTION, OnAnalysisRefCollection)
ON_COMMAND(ID_ANALYSIS_CRITICAL_RATIOS, OnAnalysisCriticalRatios)
ON_UPDATE_COMMAND_UI(ID_ANALYSIS_MOVING_LOAD, OnUpdateAnalysisMovingLoad)
ON_UPDATE_COMMAND_UI(ID_ANALYSIS_BRIDGE_RANGE, OnUpdateBridgeRange)
ON_UPDATE_COMMAND_UI(ID_VIEW_BRIDGE_RANGE_RESULTS, OnUpdateBridgeRange)
ON_UPDATE_COMMAND_UI(ID_ANALYSIS_REF_COLLECTION, OnUpdateAnalysisRefCollection)
ON_UPDATE_COMMAND_UI(ID_ANALYSIS_CRITICAL_RATIOS, OnUpdateAnalysisRefCollection)
ON_UPDATE_COMMAND_UI(ID_VIEW_REF_COLLECTION_VALUES, OnUpdateViewRefCollectionValues)
ON_UPDATE_COMMAND_UI(ID_VIEW_REF_COLLECTION_RATIOS, OnUpdateViewRefCollectionRatios)
ON_UPDATE_COMMAND_UI(ID_VIEW_COMPARE_ENVELOPES, OnUpdateViewCompareEnvelopes)
ON_COMMAND(ID_CONFIGURATION_CASE_DATA, OnConfigurationCaseData)
ON_COMMAND(ID_CONFIGURATION_ADD_BRIDGE, OnConfigurationAddBridge)
ON_COMMAND(ID_CONFIGURATION_ADD_BRIDGE_SET, OnConfigurationAddBridgeSet)
ON_COMMAND(ID_CONFIGURATION_ADD_LOAD_MODEL, OnConfigurationAddLoadModel)
ON_COMMAND(ID_CONFIGURATION_ADD_LME, OnConfigurationAddLoadModelEnsemble)
ON_COMMAND(ID_CONFIGURATION_ADD_REF_COLLECTION, OnConfigurationAddRefCollection)
ON_COMMAND(ID_VIEW_SINGLE_POSITION_RESULTS, OnViewSinglePositionResults)
ON_COMMAND(ID_VIEW_MOVING_LOAD_RESULTS, OnViewMovingLoadResults)
ON_COMMAND(ID_VIEW_BRIDGE_RANGE_RESULTS, OnViewBridgeRangeResults)
ON_COMMAND(ID_VIEW_REF_COLLECTION_VALUES, OnViewRefCollectionValues)
ON_COMMAND(ID_VIEW_REF_COLLECTION_RATIOS, OnViewRefCollectionRatios)
ON_COMMAND(ID_VIEW_COMPARE_ENVELOPES, OnViewCompareEnvelopes)
ON_COMMAND(ID_VIEW_OUTPUT_OPTIONS, OnViewOutputOptions)
ON_COMMAND(ID_VIEW_ENHANCED_RATIOS_GRID, OnViewEnhancedRatiosGrid)
ON_COMMAND(ID_TOOLS_GENERATE_LME, OnToolsGenerateLME)
ON_COMMAND_RANGE(ID_INSERT_FIRST, ID_INSERT_LAST, OnInsertCommand)
ON_COMMAND(ID_NOT_YET_IMPLEMENTED, OnNotYetImplemented)
END_MESSAGE_MAP()

BOOL CQORDoc::OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo)
{
    // Update handlers and the look-up of a handler run no engine work; a command does.
    if (nCode != CN_COMMAND || pHandlerInfo) return CDocument::OnCmdMsg(nID, nCode, pExtra, pHandlerInfo);
    BOOL handled = FALSE;
    if (!RunCommand([&] { handled = CDocument::OnCmdMsg(nID, nCode, pExtra, pHandlerInfo); })) return TRUE;
    return handled;
}

bool CQORDoc::RunCommand(const std::function<void()>& command)
{
    // What a command may have changed before the engine threw: the case's lists, its moving-load stepping and
    // its results are put back (the elements in them are made anew by the commands, not changed in place).
    auto caseLists = std::tie(m_vBridge, m_vBridgeSet, m_vLoadModel, m_vLoadModelEnsemble, m_sCaseRef, m_sCaseNotes,
                              m_nMLSteps, m_MLStepSize);
    const auto before = std::apply([](const auto&... v) { return std::make_tuple(v...); }, caseLists);
    auto results = Results();
    HeldResults resultsBefore = results;
    const BOOL modified = IsModified();
    CString reason;
    if (CEngineGuard::Run(command, reason))
    {
        // The results the command replaced or dropped (a run's, a removed collection) may be the last
        // references to gigabytes. (The case itself may be gone: a command closes it.)
        if (resultsBefore != HeldResults()) LetGoOffWindowThread(std::move(resultsBefore), false);
        return true;
    }
    HeldResults resultsAfter = results;
    caseLists = before;
    results = resultsBefore;
    LetGoOffWindowThread(std::move(resultsAfter), false);
    SetModifiedFlag(modified);
    UpdateElementView();
    CCaseShell::Current().SetStatusText(L"Ready");
    ReportEngineFailure(reason);
    return false;
}

void CQORDoc::StopRuns()
{
    m_Jobs.CancelAll();
    CCaseShell::Current().DropCaseSteps(this);
    m_bBusyMultiML = m_bBusyBridgeRange = m_bBusyRefValues = m_bBusyCritRatios = false;
}

BOOL CQORDoc::SaveModified()
{
    ++m_nAskingToSave;
    const BOOL close = CDocument::SaveModified();
    --m_nAskingToSave;
    // The case stays or goes: either way the runs' held completions go on (a closing case's runs
    // are stopped first, and theirs only release their blocks).
    CCaseShell::Current().ResumeCompletions();
    return close;
}

std::function<bool(int fd)> CQORDoc::SnapshotForAutosave()
{
    // Each element copied once, so that what the case's lists share the copies share (the file
    // writes a shared element once), with no status text or progress: the user did not ask for it.
    // The envelopes of stored results, the bulk of a large case, are not copied: once in the case
    // they do not change, and writing them changes nothing, so the window reads them meanwhile.
    auto copies = std::make_shared<CElementCopies>();
    auto data = std::make_shared<CCaseData>();
    for (const auto& bridge : m_vBridge) data->m_vBridge.push_back(copies->Of(bridge));
    for (const auto& set : m_vBridgeSet) data->m_vBridgeSet.push_back(copies->Of(set));
    for (const auto& model : m_vLoadModel) data->m_vLoadModel.push_back(copies->Of(model));
    for (const auto& ensemble : m_vLoadModelEnsemble) data->m_vLoadModelEnsemble.push_back(copies->Of(ensemble));
    for (const auto& collection : m_vRefCollection)
        data->m_vRefCollection.push_back(collection ? CRefCollJob::CopyCollection(*collection, *copies) : collection);
    data->m_sCaseRef = m_sCaseRef;
    data->m_sCaseNotes = m_sCaseNotes;
    const bool binary = CSettings::GetInstance()->General.USEBINARYFILEFORMAT;
    return [copies, data, binary](int fd) {
        SaveCaseFile(fd, *data, binary);
        return true;
    };
}

void CQORDoc::ReportEngineFailure(const CString& reason)
{
    Message(L"The command could not be carried out; the case is as it was.\n" + reason, MB_OK | MB_ICONERROR);
}

CQORDoc::CQORDoc()
{
    for (int i = 0; i < CLMEFactory::FamilyCount; ++i) m_LMEFactory.m_BaseID[static_cast<size_t>(i)] = 100 * (i + 1);
    m_LMEFactory.m_bUseStandardDLA = true;
    m_LMEFactory.m_DLA = 1.0;
    ResetAnalysisState();
}

// Its windows are gone by now, so these references to its results are the last.
CQORDoc::~CQORDoc() { LetGoOffWindowThread(TakeResults(), true); }

CQORDoc::HeldResults CQORDoc::TakeResults()
{
    return std::apply([](auto&... held) { return HeldResults(std::move(held)...); }, Results());
}

// Results of a million positions hold gigabytes, which take half a second to give back to the system: a
// worker takes the references and lets them go while the window answers (where they were the last, the
// results are freed there). The results do not change once made, and the worker touches them only to free them.
void CQORDoc::LetGoOffWindowThread(HeldResults held, bool bReleaseSpares)
{
    qor::gui::RunInBackground([held = std::move(held), bReleaseSpares]() mutable {
        held = HeldResults();
        if (bReleaseSpares) CSpareBlocks::Release();
    });
}

void CQORDoc::ResetAnalysisState()
{
    const CSettings* settings = CSettings::GetInstance();
    // The result windows and questions still waiting belong to the case that was here.
    CCaseShell::Current().DropCaseSteps(this);
    m_nViewCount = 0;
    m_bMLByStep = settings->General.Stepping.BYSTEP;
    m_MLStepSize = settings->General.Stepping.STEPSIZE;
    m_nMLSteps = settings->General.Stepping.NSTEPS;
    m_nBridgeSetID = m_nBridgeID = m_nLoadModelID = m_nLMEID = m_nRefCollectionID = 0;
    m_Multiplier = 1.0;
    // The results of the case's runs go, but not its collections (they are its elements); and the blocks kept
    // for the runs of the case before with them.
    HeldResults held = TakeResults();
    m_vRefCollection = std::move(std::get<0>(held));
    LetGoOffWindowThread(std::move(held), true);
    const auto& out = settings->General.Output;
    m_Output = {out.BMSF, out.R, out.GRAPHS, out.TABLES};
    m_bBusyMultiML = m_bBusyBridgeRange = m_bBusyRefValues = m_bBusyCritRatios = false;
    m_sCaseRef.Empty();
    m_sCaseNotes.Empty();
}

BOOL CQORDoc::OnNewDocument()
{
    if (!CDocument::OnNewDocument()) return FALSE;
    ResetAnalysisState();
    UpdateElementView();
    return TRUE;
}

BOOL CQORDoc::OnOpenDocument(LPCTSTR lpszPathName)
{
    ResetAnalysisState();
    if (!CDocument::OnOpenDocument(lpszPathName)) return FALSE;
    UpdateElementView();
    return TRUE;
}

void CQORDoc::OnCloseDocument()
{
    // Nothing of the case's runs reaches the windows from here on, and their workers end.
    StopRuns();
    // A preview shows one of the case's windows: it goes first (File > New, Open and Close).
    CCaseShell::Current().ClosePrintPreviews();
    CDocument::OnCloseDocument(); // this document is gone from here on
    // The element pane's items hold the closed case's elements: it shows the case now in front, or nothing.
    if (CQORDoc* next = GetActiveDoc())
    {
        next->UpdateElementView();
        return;
    }
    CCaseShell::Current().ShowCase(nullptr);
}

void CQORDoc::UpdateElementView() { CCaseShell::Current().ShowCase(this); }

CQORDoc* CQORDoc::GetActiveDoc()
{
    auto* frame = DYNAMIC_DOWNCAST(CMDIFrameWnd, AfxGetMainWnd());
    if (!frame) return nullptr;
    CMDIChildWnd* child = frame->MDIGetActive();
    if (!child) return nullptr;
    return DYNAMIC_DOWNCAST(CQORDoc, child->GetActiveDocument());
}

CView* CQORDoc::GetActiveFrameView()
{
    CWnd* main = AfxGetMainWnd();
    auto* frame = DYNAMIC_DOWNCAST(CFrameWnd, main);
    if (!frame) return nullptr;
    CFrameWnd* active = frame->GetActiveFrame();
    return active ? active->GetActiveView() : nullptr;
}

int CQORDoc::Message(LPCTSTR text, UINT type)
{
    CView* owner = GetActiveFrameView();
    return MessageBoxW(owner ? owner->m_hWnd : nullptr, text, L"QOR", type);
}

void CQORDoc::NotYetImplemented() { Message(L"Not yet implemented", MB_OK | MB_ICONWARNING); }

void CQORDoc::OnNotYetImplemented() { AfxMessageBox(L"Not yet implemented", MB_OK); }

namespace {

// Erases the element (by identity) from its list and numbers the rest 1, 2, 3, ...
template <class T>
bool EraseAndRenumber(std::vector<std::shared_ptr<T>>& list, const CElement* element)
{
    auto it = std::find_if(list.begin(), list.end(), [element](const auto& p) { return p.get() == element; });
    if (it == list.end()) return false;
    list.erase(it);
    int id = 0;
    for (auto& p : list) p->m_ID = ++id;
    return true;
}

} // namespace

bool CQORDoc::RemoveElement(std::shared_ptr<CElement> pElement)
{
    if (!pElement) return false;
    const CElement* e = pElement.get();
    bool removed = false;
    switch (pElement->m_ElementType)
    {
    case CElement::ELEMENT_BRIDGE: removed = EraseAndRenumber(m_vBridge, e); break;
    case CElement::ELEMENT_BRIDGESET: removed = EraseAndRenumber(m_vBridgeSet, e); break;
    case CElement::ELEMENT_LOADMODELENSEMBLE: removed = EraseAndRenumber(m_vLoadModelEnsemble, e); break;
    case CElement::ELEMENT_REFCOLLECTION: removed = EraseAndRenumber(m_vRefCollection, e); break;
    case CElement::ELEMENT_LOADMODEL:
        removed = EraseAndRenumber(m_vLoadModel, e);
        // A model held only by ensembles leaves the first ensemble that holds it.
        for (size_t i = 0; !removed && i < m_vLoadModelEnsemble.size(); ++i)
        {
            CLoadModelEnsemble& lme = *m_vLoadModelEnsemble[i];
            for (int k = 0; k < lme.GetLoadModelCount(); ++k)
            {
                if (lme.m_vLoadModel[static_cast<size_t>(k)].get() == e)
                {
                    lme.RemoveLoadModel(k);
                    removed = true;
                    break;
                }
            }
        }
        break;
    default: return false;
    }
    if (removed) SetModifiedFlag(TRUE);
    return removed;
}

namespace {

// A new window of the case through the template; its active view, or null when no frame was made.
CView* OpenResultWindow(CQORDoc* doc, CMultiDocTemplate* tmpl)
{
    if (!tmpl) return nullptr;
    CFrameWnd* frame = tmpl->CreateNewFrame(doc, nullptr);
    if (!frame) return nullptr;
    tmpl->InitialUpdateFrame(frame, doc);
    return frame->GetActiveView();
}

void CaptionResultWindow(CView* view, int number, const CString& title)
{
    if (CFrameWnd* frame = view ? view->GetParentFrame() : nullptr)
    {
        CString caption;
        caption.Format(L"%d - ", number);
        frame->SetWindowText(caption + title);
        if (auto* child = DYNAMIC_DOWNCAST(CChildFrame, frame)) child->m_nResultNumber = number;
    }
}

} // namespace

CPlotView* CQORDoc::OpenPlotView(CString title, int rows, int cols)
{
    ++m_nViewCount;
    CMultiDocTemplate* plots = CCaseShell::Current().GetResultTemplate(CCaseShell::ResultWindow::Plot);
    auto* view = DYNAMIC_DOWNCAST(CPlotView, OpenResultWindow(this, plots));
    if (!view) return nullptr;
    view->CreateCharts(static_cast<unsigned>(rows), static_cast<unsigned>(cols));
    CaptionResultWindow(view, m_nViewCount, title);
    return view;
}

CPlotView* CQORDoc::OpenReactionsPlotView(CString title, unsigned int n)
{
    // No supports with reactions, or five and more, get no reactions plot.
    if (n >= 1 && n <= 3) return OpenPlotView(title, static_cast<int>(n), 1);
    if (n == 4) return OpenPlotView(title, 2, 2);
    return nullptr;
}

CGridView* CQORDoc::OpenGridView(CString title)
{
    ++m_nViewCount;
    CMultiDocTemplate* grids = CCaseShell::Current().GetResultTemplate(CCaseShell::ResultWindow::Grid);
    auto* view = DYNAMIC_DOWNCAST(CGridView, OpenResultWindow(this, grids));
    if (!view) return nullptr;
    CaptionResultWindow(view, m_nViewCount, title);
    return view;
}
