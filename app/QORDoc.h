// The case document: the elements of one case, its case strings, the analysis options and the results of
// the last runs, the case file, and every command of the case menu (handler bodies live in QORDoc*.cpp).
#pragma once

#include "platform/gui/Afx.h"

#include "app/AnalysisJobs.h"
#include "engine/model/LMEFactory.h"

#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <tuple>
#include <vector>

class CElement;
class CBridge;
class CBridgeSet;
class CLoadModel;
class CLoadModelEnsemble;
class CReferenceCollection;
class CBeamResults;
class CEnvelopeResults;
class CCriticalValueEnsemble;
class CAnalysisOutput;
class CAOSinglePosition;
class CAOMovingLoad;
class CAOMultiMovingLoad;
class CAOBridgeRange;
class CAOReferenceSet;
class CAOCriticalRatios;
class CAOEnhanced;
class CPlotView;
class CGridView;
struct MultiMLThreadData;
struct BridgeRangeThreadData;
struct RefCollThreadData;

class CQORDoc : public CDocument
{
    DECLARE_DYNCREATE(CQORDoc)
public:
    CQORDoc();
    ~CQORDoc() override;

    // Which result windows a finished analysis opens.
    struct OutputOptions
    {
        bool BMSF = true;
        bool R = true;
        bool GRAPHS = true;
        bool TABLES = true;
    };

    int m_nViewCount = 0;
    CLMEFactory m_LMEFactory;
    OutputOptions m_Output;
    DWORD m_StartTime = 0;
    // Raised while a worker of the kind runs; read by the update handlers on any thread's behalf.
    std::atomic<bool> m_bBusyMultiML{false};
    std::atomic<bool> m_bBusyBridgeRange{false};
    std::atomic<bool> m_bBusyRefValues{false};
    std::atomic<bool> m_bBusyCritRatios{false};
    bool m_bMLByStep = false;
    double m_MLStepSize = 0.5;
    int m_nMLSteps = 20;
    double m_Multiplier = 1.0;
    int m_nBridgeSetID = 0;
    int m_nBridgeID = 0;
    int m_nLoadModelID = 0;
    int m_nLMEID = 0;
    int m_nRefCollectionID = 0;
    std::vector<std::shared_ptr<CBridge>> m_vBridge;
    std::vector<std::shared_ptr<CBridgeSet>> m_vBridgeSet;
    std::vector<std::shared_ptr<CLoadModel>> m_vLoadModel;
    std::vector<std::shared_ptr<CLoadModelEnsemble>> m_vLoadModelEnsemble;
    std::vector<std::shared_ptr<CReferenceCollection>> m_vRefCollection;
    std::shared_ptr<CBeamResults> m_pSPResults;
    std::shared_ptr<CEnvelopeResults> m_pMLResults;
    std::shared_ptr<CCriticalValueEnsemble> m_pBRResults;
    std::shared_ptr<CAOSinglePosition> m_pAOSinglePosition;
    std::shared_ptr<CAOMovingLoad> m_pAOMovingLoad;
    std::shared_ptr<CAOMultiMovingLoad> m_pAOMultiMovingLoad;
    std::shared_ptr<CAOBridgeRange> m_pAOBridgeRange;
    std::shared_ptr<CAOReferenceSet> m_pAOReferenceSet;
    std::shared_ptr<CAOCriticalRatios> m_pAOCriticalRatios;
    std::shared_ptr<CAOEnhanced> m_pAOEnhanced;
    CString m_sCaseRef;
    CString m_sCaseNotes;
    // The runs of this case on worker threads; closing the case cancels them.
    CAnalysisJobs m_Jobs;
    // Stops the case's runs: their workers end at their next load position and nothing of them
    // reaches the case, the log or the progress bar.
    void StopRuns();
    // Asks whether to save as the framework does; meanwhile the runs go on, and a run that ends
    // waits with its completion (its results, its questions) until the question is answered.
    BOOL SaveModified() override;
    bool IsAskingToSave() const { return m_nAskingToSave > 0; }
    // The autosave writes the case from copies of its elements, on a thread of its own.
    std::function<bool(int fd)> SnapshotForAutosave() override;

    // ---- Document life (QORDoc.cpp) and the case file (QORDocFile.cpp) ----------------------------------------------
    BOOL OnNewDocument() override;
    BOOL OnOpenDocument(LPCTSTR lpszPathName) override;
    void OnCloseDocument() override;
    void Serialize(CArchive& ar) override;
    // A save or open the framework could not do says so in the case file's own words.
    void ReportSaveLoadException(LPCTSTR lpszPathName, BOOL bSaving, int nError, LPCTSTR lpszReason = nullptr) override;
    // Reads a case file before the open case is given up (TRUE when it would open); a fault is reported as an
    // open's is. What was read is kept for the open of that file that follows, which takes it instead of reading
    // the file again; ForgetCheckedCase drops it when no open followed.
    static BOOL CheckCaseFile(LPCTSTR lpszPathName);
    static void ForgetCheckedCase();
    // Files of at least this many bytes are written and read with the status bar's progress (4 MB unless set).
    static void SetFileProgressFrom(std::uint64_t bytes);
    void ResetAnalysisState();
    void UpdateElementView();

    // The case of the active child window (null when none or not a case).
    static CQORDoc* GetActiveDoc();
    // The active view of the main window's active frame (owner of the document's messages).
    static CView* GetActiveFrameView();
    // A message box captioned "QOR" owned by the active frame's view.
    static int Message(LPCTSTR text, UINT type);

    // Every command of the case runs through here (the menus' and toolbars' by OnCmdMsg, the
    // tree's and the workers' completions by their callers): when the engine throws, the case's
    // lists, strings and results are put back as they were and one message says why. False then.
    bool RunCommand(const std::function<void()>& command);
    // The one message of a command the engine could not carry out.
    static void ReportEngineFailure(const CString& reason);
    BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) override;

    std::vector<std::shared_ptr<CBridge>> GetBridges() const { return m_vBridge; }
    std::vector<std::shared_ptr<CBridgeSet>> GetBridgeSets() const { return m_vBridgeSet; }
    std::vector<std::shared_ptr<CLoadModel>> GetLoadModels() const { return m_vLoadModel; }
    std::vector<std::shared_ptr<CLoadModelEnsemble>> GetLoadModelEnsembles() const { return m_vLoadModelEnsemble; }
    std::vector<std::shared_ptr<CReferenceCollection>> GetRefCollections() const { return m_vRefCollection; }

    bool RemoveElement(std::shared_ptr<CElement> pElement);

    // Result windows of this case (null when none could be made).
    CPlotView* OpenPlotView(CString title, int rows, int cols);
    CPlotView* OpenReactionsPlotView(CString title, unsigned int n);
    CGridView* OpenGridView(CString title);

    // ---- Elements (QORDocElements.cpp) -----------------------------------------------------------------
    void OnConfigurationCaseData();
    void OnConfigurationAddBridge();
    void OnConfigurationAddBridgeSet();
    void OnConfigurationAddRefCollection();
    void EditBridge(bool bRefresh, std::shared_ptr<CBridge> pBridge);
    void EditBridgeSet(bool bRefresh, std::shared_ptr<CBridgeSet> pBridgeSet);
    void EditRefCollection(bool bRefresh, std::shared_ptr<CReferenceCollection> pRefCollection);

    // ---- Load models (QORDocLoadModels.cpp) ----------------------------------------------------------
    void OnConfigurationAddLoadModel();
    void OnConfigurationAddLoadModelEnsemble();
    void EditLoadModel(bool bRefresh, std::shared_ptr<CLoadModel> pLoadModel);
    void EditLoadModelEnsemble(bool bRefresh, std::shared_ptr<CLoadModelEnsemble> pLME);
    void AddLoadModel(std::shared_ptr<CLoadModel> pLoadModel);
    void AddLoadModelEnsemble(std::shared_ptr<CLoadModelEnsemble> pLME);

    // ---- Analyses and their workers (QORDocAnalysis.cpp) ---------------------------------------------
    void OnAnalysisSinglePosition();
    void OnAnalysisMovingLoad();
    void OnAnalysisBridgeRange();
    void OnAnalysisRefCollection();
    void OnAnalysisCriticalRatios();
    void OnUpdateAnalysisMovingLoad(CCmdUI* pCmdUI);
    void OnUpdateBridgeRange(CCmdUI* pCmdUI);
    void OnUpdateAnalysisRefCollection(CCmdUI* pCmdUI);
    void OnUpdateViewRefCollectionValues(CCmdUI* pCmdUI);
    void OnUpdateViewRefCollectionRatios(CCmdUI* pCmdUI);
    void OnUpdateViewCompareEnvelopes(CCmdUI* pCmdUI);
    DWORD StartTimer(CString text);
    void StopTimer(DWORD start);
    void RunMovingLoad(bool bByStep, int nSteps, bool bDisplayEach, std::shared_ptr<CBridge> pBridge,
                       std::shared_ptr<CLoadModel> pLoadModel, double stepSize);
    void StartMultiMovingLoad(bool bByStep, int nSteps, bool bDisplayEach, std::shared_ptr<CBridge> pBridge,
                              std::shared_ptr<CLoadModelEnsemble> pLME, double stepSize);
    void StartBridgeRange(std::shared_ptr<CBridgeSet> pBridgeSet, std::shared_ptr<CLoadModel> pLoadModel);
    void StartRefCollection(std::shared_ptr<CReferenceCollection> pRefCollection);
    void StartCritRatios(std::shared_ptr<CReferenceCollection> pRefCollection);
    // Completions of the workers, called by the main frame with the worker's block (they free it).
    void OnMultiMovingLoadDone(MultiMLThreadData* pData);
    void OnBridgeRangeDone(BridgeRangeThreadData* pData);
    void OnRefValuesDone(RefCollThreadData* pData, bool bSuccess);
    void OnCritRatiosDone(RefCollThreadData* pData, bool bSuccess);

    // ---- Result output and the View commands (QORDocOutput.cpp) ---------------------------------------
    void OnViewSinglePositionResults();
    void OnViewMovingLoadResults();
    void OnViewBridgeRangeResults();
    void OnViewRefCollectionValues();
    void OnViewRefCollectionRatios();
    void OnViewCompareEnvelopes();
    void OnViewOutputOptions();
    void OnViewEnhancedRatiosGrid();
    void ShowSinglePositionOutput(std::shared_ptr<CAnalysisOutput> pAO);
    void ShowMovingLoadOutput(bool bDisplayEach, std::shared_ptr<CAnalysisOutput> pAO);
    void ShowMultiMovingLoadOutput(bool bDisplayEach, std::shared_ptr<CAnalysisOutput> pAO);
    void ShowBridgeRangeOutput(std::shared_ptr<CAnalysisOutput> pAO);
    void ShowReferenceSetOutput(std::shared_ptr<CAnalysisOutput> pAO);
    void ShowCompareEnvelopesOutput(std::shared_ptr<CAnalysisOutput> pAO);
    void ShowCriticalRatiosOutput(std::shared_ptr<CAnalysisOutput> pAO);
    void ShowEnhancedRatiosGrid(std::shared_ptr<CAnalysisOutput> pAO);
    void ShowCollectionValues(std::shared_ptr<CReferenceCollection> pRefCollection);
    void ShowCollectionRatios(std::shared_ptr<CReferenceCollection> pRefCollection);

    // ---- The Insert menu and Tools > Generate LME (QORDocInsert.cpp) -------------------------------------
    void OnInsertCommand(UINT nID);
    void OnToolsGenerateLME();
    void OnNotYetImplemented();

    // Shown by handlers whose work is still to come.
    static void NotYetImplemented();

protected:
    DECLARE_MESSAGE_MAP()

private:
    int m_nAskingToSave = 0;
    // What the case holds of its runs: the collections (with their results), the last results and what
    // describes them to the result windows.
    auto Results()
    {
        return std::tie(m_vRefCollection, m_pSPResults, m_pMLResults, m_pBRResults, m_pAOSinglePosition,
                        m_pAOMovingLoad, m_pAOMultiMovingLoad, m_pAOBridgeRange, m_pAOReferenceSet, m_pAOCriticalRatios,
                        m_pAOEnhanced);
    }
    using HeldResults =
        std::tuple<std::vector<std::shared_ptr<CReferenceCollection>>, std::shared_ptr<CBeamResults>,
                   std::shared_ptr<CEnvelopeResults>, std::shared_ptr<CCriticalValueEnsemble>,
                   std::shared_ptr<CAOSinglePosition>, std::shared_ptr<CAOMovingLoad>,
                   std::shared_ptr<CAOMultiMovingLoad>, std::shared_ptr<CAOBridgeRange>,
                   std::shared_ptr<CAOReferenceSet>, std::shared_ptr<CAOCriticalRatios>, std::shared_ptr<CAOEnhanced>>;
    // Moves them out of the case (which then holds none).
    HeldResults TakeResults();
    // Lets go of results the case no longer holds off the window thread (then of the blocks kept for the
    // case's next run, when it has none to come).
    static void LetGoOffWindowThread(HeldResults held, bool bReleaseSpares);
};
