// The main window of QOR: menu bar, the Standard and Insert toolbars, the status bar with its progress
// pane, the element, output, settings and help panes, the looks, and the receiving end of the workers'
// messages.
#pragma once

#include "platform/gui/Afx.h"

#include "app/CaseShell.h"
#include "app/ElementView.h"
#include "app/OutputWnd.h"
#include "app/PdfPane.h"
#include "app/SettingsWnd.h"

#include <deque>
#include <functional>

class CMainFrame : public CMDIFrameWndEx, public CCaseShell
{
    DECLARE_DYNAMIC(CMainFrame)
public:
    CMainFrame();
    ~CMainFrame() override;

    BOOL LoadFrame(UINT nIDResource, DWORD dwDefaultStyle = WS_OVERLAPPEDWINDOW | FWS_ADDTOTITLE,
                   CWnd* pParentWnd = nullptr, CCreateContext* pContext = nullptr) override;

    // ---- The shell of the case (the log is the output pane) ----------------------------------------
    void SetStatusText(LPCTSTR text) override;
    void AddStatus(const CString& text) override;
    void QueueStatus(const CString& text, unsigned generation) override;
    void ResumeCompletions() override;
    void BeginProgress(int steps) override;
    void StepProgress(int steps) override;
    void ResetProgress() override;
    void ShowFileProgress(int percent) override;
    void ShowCase(CQORDoc* pDoc) override;
    void ShowNewElement(const std::shared_ptr<CElement>& pElement) override;
    void QueueCaseStep(CQORDoc* pDoc, std::function<void()> step, bool bAfterModalWindows) override;
    void DropCaseSteps(CQORDoc* pDoc) override;
    // Sends the print-preview close command to every window below the frame.
    void ClosePrintPreviews() override;
    CMultiDocTemplate* GetResultTemplate(ResultWindow kind) override;

    CMFCStatusBar& GetStatusBar() { return m_wndStatusBar; }
    COutputWnd& GetOutputWnd() { return m_wndOutput; }
    CElementView& GetElementPane() { return m_wndElementPane; }
    // The settings pane (its window exists after the first Tools > Options).
    CSettingsWnd& GetSettingsPane() { return m_wndSettings; }
    CPdfPane& GetPdfPane() { return m_wndPdfPane; }
    CMFCToolBar& GetToolBar() { return m_wndToolBar; }
    BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) override;

    // The progress range of the running analysis and the steps done (written through the shell calls).
    int m_nProgressStart = 0;
    int m_nProgressEnd = 0;
    int m_nProgressCount = 0;

    void OnApplicationLook(UINT id);
    BOOL OnShowMDITabContextMenu(CPoint point, DWORD dwAllowedItems, BOOL bTabDrop) override;

protected:
    BOOL PreCreateWindow(CREATESTRUCT& cs) override;

    int OnCreate(LPCREATESTRUCT lpCreateStruct);
    void OnClose();
    void OnUpdateApplicationLook(CCmdUI* pCmdUI);
    void OnViewElementPane();
    void OnViewOutputPane();
    void OnUpdatePaneCommand(CCmdUI* pCmdUI);
    void OnToolsOptions();
    void OnHelpPdf();
    void OnCloseTab();
    void OnCloseAllTabs();
    void OnPrintAll();
    void OnViewCustomize();
    LRESULT OnToolbarCreateNew(WPARAM wp, LPARAM lp);
    void OnMdiMoveToNextGroup();
    void OnMdiMoveToPrevGroup();
    void OnMdiNewHorzTabGroup();
    void OnMdiNewVertGroup();
    LRESULT OnPBarUpdate(WPARAM wParam, LPARAM lParam);
    LRESULT OnAddStatus(WPARAM wParam, LPARAM lParam);
    LRESULT OnMultiMovingLoadFinished(WPARAM wParam, LPARAM lParam);
    LRESULT OnBridgeRangeFinished(WPARAM wParam, LPARAM lParam);
    LRESULT OnRefValuesFinished(WPARAM wParam, LPARAM lParam);
    LRESULT OnCritRatiosFinished(WPARAM wParam, LPARAM lParam);
    LRESULT OnDrainLog(WPARAM wParam, LPARAM lParam);
    LRESULT OnCaseStep(WPARAM wParam, LPARAM lParam);
    // A worker's finished message: handed to its completion at once, or held back while log lines
    // wait before it or its case asks whether to save.
    LRESULT RelayCompletion(UINT message, WPARAM wParam, LPARAM lParam);
    void Complete(UINT message, WPARAM wParam, LPARAM lParam);
    void ScheduleDrain();

    BOOL CreateDockingWindows();
    // Shows and focuses a pane made on first use, making it (docked at the right) when it has no window.
    void ShowOrCreatePane(CDockablePane& pane, UINT nCaptionID, UINT nID, int width = 200);
    void InitStatusBar();
    // The progress pane at the steps done of the range.
    void ShowProgress();

    CMFCMenuBar m_wndMenuBar;
    CMFCToolBar m_wndToolBar;
    CMFCToolBar m_wndInsertBar;
    CMFCToolBarImages m_UserImages;
    CElementView m_wndElementPane;
    CPdfPane m_wndPdfPane;
    COutputWnd m_wndOutput;
    CSettingsWnd m_wndSettings;
    CMFCStatusBar m_wndStatusBar;

    struct QueuedLine
    {
        CString text;
        unsigned generation = 0;
    };
    struct HeldCompletion
    {
        UINT message = 0;
        WPARAM wParam = 0;
        LPARAM lParam = 0;
    };
    struct CaseStep
    {
        CQORDoc* doc = nullptr;
        std::function<void()> work;
        bool afterModalWindows = false;
    };
    std::deque<QueuedLine> m_queuedLines;
    std::deque<CaseStep> m_caseSteps;
    bool m_bCaseStepPosted = false;
    // When the next case step began to wait for a result window still drawing (0: it does not wait).
    DWORD m_nCaseStepWaitStart = 0;
    static constexpr DWORD kCaseStepWaitMs = 5000;
    // A result window of the case is drawing in slices.
    static bool CaseWindowDrawing(CQORDoc* pDoc);
    std::deque<HeldCompletion> m_heldCompletions;
    bool m_bDrainPosted = false;
    double m_nDirectLogMs = 0.0; // the time of the lines put in at once since the last slice

    DECLARE_MESSAGE_MAP()
};
