// The main window: creation of bars and panes, looks, tab commands, the progress bar, the output log and
// the relays of the workers' "finished" messages to the case.
#include "app/MainFrame.h"

#include "app/AnalysisJobs.h"
#include "app/QORApp.h"
#include "app/QORDoc.h"
#include "app/ThreadData.h"
#include "engine/analysis/ReferenceCollection.h"
#include "engine/model/Bridge.h"
#include "engine/model/BridgeSet.h"
#include "engine/model/LoadModel.h"
#include "engine/model/LoadModelEnsemble.h"
#include "engine/runs/EngineMessages.h"
#include "engine/settings/Settings.h"
#include "platform/core/ModalWindowScope.h"
#include "res/AppMessages.h"
#include "res/Resource.h"
#include "ui/views/PlotView.h"
#include "ui/views/QORView.h"

#include <algorithm>
#include <chrono>
#include <ctime>

namespace {

// The longest the log takes the window for at a time (milliseconds).
constexpr double kLogSliceMs = 25.0;

// The ids of the toolbars users make, ten at most.
constexpr UINT kFirstUserToolbarId = 0xE828;
constexpr int kMaxUserToolbars = 10;

const UINT kIndicators[] = {ID_SEPARATOR, ID_SEPARATOR, ID_INDICATOR_CAPS, ID_INDICATOR_NUM, ID_INDICATOR_SCRL};

// The toolkit look that stands for each of the framework's visual managers.
qor::gui::Look LookOf(UINT id)
{
    using qor::gui::Look;
    if (id >= ID_VIEW_APPLOOK_OFF_2007_CURRENT_FIRST && id <= ID_VIEW_APPLOOK_OFF_2007_CURRENT_LAST)
    {
        switch (CMFCVisualManagerOffice2007::GetStyle())
        {
        case CMFCVisualManagerOffice2007::Office2007_ObsidianBlack: return Look::Dark;
        case CMFCVisualManagerOffice2007::Office2007_Silver: return Look::Silver;
        case CMFCVisualManagerOffice2007::Office2007_Aqua: return Look::Aqua;
        default: return Look::Blue;
        }
    }
    switch (id)
    {
    case ID_VIEW_APPLOOK_WIN_2000: return Look::Classic;
    case ID_VIEW_APPLOOK_OFF_2003:
    case ID_VIEW_APPLOOK_OFF_2007_BLUE: return Look::Blue;
    case ID_VIEW_APPLOOK_OFF_2007_BLACK: return Look::Dark;
    case ID_VIEW_APPLOOK_OFF_2007_SILVER: return Look::Silver;
    case ID_VIEW_APPLOOK_OFF_2007_AQUA: return Look::Aqua;
    default: return Look::Light;
    }
}

} // namespace

IMPLEMENT_DYNAMIC(CMainFrame, CMDIFrameWndEx)

BEGIN_MESSAGE_MAP(CMainFrame, CMDIFrameWndEx)
ON_WM_CREATE()
ON_WM_CLOSE()
ON_COMMAND(ID_VIEW_CUSTOMIZE, OnViewCustomize)
ON_REGISTERED_MESSAGE(AFX_WM_CREATETOOLBAR, OnToolbarCreateNew)
ON_COMMAND_RANGE(ID_VIEW_APPLOOK_FIRST, ID_VIEW_APPLOOK_LAST, OnApplicationLook)
ON_UPDATE_COMMAND_UI_RANGE(ID_VIEW_APPLOOK_FIRST, ID_VIEW_APPLOOK_LAST, OnUpdateApplicationLook)
ON_COMMAND(ID_MDI_MOVE_TO_NEXT_GROUP, OnMdiMoveToNextGroup)
ON_COMMAND(ID_MDI_MOVE_TO_PREV_GROUP, OnMdiMoveToPrevGroup)
ON_COMMAND(ID_MDI_NEW_HORZ_TAB_GROUP, OnMdiNewHorzTabGroup)
ON_COMMAND(ID_MDI_NEW_VERT_GROUP, OnMdiNewVertGroup)
ON_COMMAND(ID_VIEW_ELEMENT_PANE, OnViewElementPane)
ON_COMMAND(ID_VIEW_OUTPUT_PANE, OnViewOutputPane)
ON_COMMAND(ID_TOOLS_OPTIONS, OnToolsOptions)
ON_COMMAND(ID_HELP_PDF, OnHelpPdf)
ON_UPDATE_COMMAND_UI(ID_VIEW_ELEMENT_PANE, OnUpdatePaneCommand)
ON_UPDATE_COMMAND_UI(ID_VIEW_OUTPUT_PANE, OnUpdatePaneCommand)
ON_UPDATE_COMMAND_UI(ID_TOOLS_OPTIONS, OnUpdatePaneCommand)
ON_UPDATE_COMMAND_UI(ID_HELP_PDF, OnUpdatePaneCommand)
ON_COMMAND(ID_CLOSE_TAB, OnCloseTab)
ON_COMMAND(ID_CLOSE_ALL_TABS, OnCloseAllTabs)
ON_COMMAND(ID_FILE_PRINT_ALL, OnPrintAll)
ON_REGISTERED_MESSAGE(UWM_PBAR_UPDATE, OnPBarUpdate)
ON_REGISTERED_MESSAGE(UWM_ADD_STATUS, OnAddStatus)
ON_REGISTERED_MESSAGE(UWM_TF_MULTIML, OnMultiMovingLoadFinished)
ON_REGISTERED_MESSAGE(UWM_TF_BRIDGERANGE, OnBridgeRangeFinished)
ON_REGISTERED_MESSAGE(UWM_TF_REFVALUES, OnRefValuesFinished)
ON_REGISTERED_MESSAGE(UWM_TF_CRITRATIOS, OnCritRatiosFinished)
ON_REGISTERED_MESSAGE(UWM_DRAIN_LOG, OnDrainLog)
ON_REGISTERED_MESSAGE(UWM_CASE_STEP, OnCaseStep)
END_MESSAGE_MAP()

CMainFrame::CMainFrame()
{
    EnableMDITabs(TRUE);
    m_bCanConvertControlBarToMDIChild = TRUE;
    if (auto* app = DYNAMIC_DOWNCAST(CQORApp, AfxGetApp()))
        app->m_nAppLook = static_cast<UINT>(app->GetInt(L"ApplicationLook", ID_VIEW_APPLOOK_VS_2008));
}

CMainFrame::~CMainFrame()
{
    // The toolbars must not keep pictures that go with this frame.
    if (CMFCToolBar::GetUserImages() == &m_UserImages) CMFCToolBar::SetUserImages(nullptr);
}

BOOL CMainFrame::PreCreateWindow(CREATESTRUCT& cs)
{
    if (!CMDIFrameWndEx::PreCreateWindow(cs)) return FALSE;
    cs.style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX | WS_MAXIMIZE |
               FWS_ADDTOTITLE;
    return TRUE;
}

BOOL CMainFrame::LoadFrame(UINT nIDResource, DWORD dwDefaultStyle, CWnd* pParentWnd, CCreateContext* pContext)
{
    if (!CMDIFrameWndEx::LoadFrame(nIDResource, dwDefaultStyle, pParentWnd, pContext)) return FALSE;
    // The user's own toolbars, back from the last run, end with the customise button too.
    const CString customize = qor::LoadText(IDS_TOOLBAR_CUSTOMIZE);
    for (int i = 0; i < kMaxUserToolbars; ++i)
        if (CMFCToolBar* userToolbar = GetUserToolBarByIndex(i))
            userToolbar->EnableCustomizeButton(TRUE, ID_VIEW_CUSTOMIZE, customize);
    return TRUE;
}

int CMainFrame::OnCreate(LPCREATESTRUCT lpCreateStruct)
{
    if (CMDIFrameWndEx::OnCreate(lpCreateStruct) == -1) return -1;
    EnableMDITabbedGroups(TRUE);

    if (!m_wndMenuBar.Create(this)) return -1;
    m_wndMenuBar.SetPaneStyle(m_wndMenuBar.GetPaneStyle() | CBRS_SIZE_DYNAMIC | CBRS_TOOLTIPS | CBRS_FLYBY);

    auto* app = DYNAMIC_DOWNCAST(CQORApp, AfxGetApp());
    const bool hiColour = app && app->m_bHiColorIcons;
    const DWORD barStyle =
        WS_CHILD | WS_VISIBLE | CBRS_TOP | CBRS_GRIPPER | CBRS_TOOLTIPS | CBRS_FLYBY | CBRS_SIZE_DYNAMIC;
    if (!m_wndToolBar.CreateEx(this, TBSTYLE_FLAT, barStyle, CRect(1, 1, 1, 1), AFX_IDW_TOOLBAR) ||
        !m_wndToolBar.LoadToolBar(hiColour ? IDR_MAINFRAME_256 : IDR_MAINFRAME))
        return -1;
    m_wndToolBar.SetWindowText(qor::LoadText(IDS_TOOLBAR_STANDARD));
    m_wndToolBar.EnableCustomizeButton(TRUE, ID_VIEW_CUSTOMIZE, qor::LoadText(IDS_TOOLBAR_CUSTOMIZE));

    if (!m_wndInsertBar.CreateEx(this, TBSTYLE_FLAT, barStyle, CRect(1, 1, 1, 1), IDR_INSERT_TOOLBAR) ||
        !m_wndInsertBar.LoadToolBar(IDR_INSERT_TOOLBAR))
        return -1;
    m_wndInsertBar.SetWindowText(qor::LoadText(IDS_TOOLBAR_INSERT));
    m_wndInsertBar.EnableCustomizeButton(TRUE, ID_VIEW_CUSTOMIZE, qor::LoadText(IDS_TOOLBAR_CUSTOMIZE));
    InitUserToolbars(nullptr, kFirstUserToolbarId, kFirstUserToolbarId + kMaxUserToolbars - 1);

    if (!m_wndStatusBar.Create(this)) return -1;
    InitStatusBar();

    m_wndMenuBar.EnableDocking(CBRS_ALIGN_ANY);
    m_wndToolBar.EnableDocking(CBRS_ALIGN_ANY);
    m_wndInsertBar.EnableDocking(CBRS_ALIGN_ANY);
    EnableDocking(CBRS_ALIGN_ANY);
    DockPane(&m_wndMenuBar);
    DockPane(&m_wndToolBar);
    DockPane(&m_wndInsertBar);
    CDockingManager::SetDockingMode(DT_SMART);
    EnableAutoHidePanes(CBRS_ALIGN_ANY);
    CMFCToolBar::AddToolBarForImageCollection(IDR_MENU_IMAGES, hiColour ? IDB_MENU_IMAGES_24 : 0);

    if (!CreateDockingWindows()) return -1;
    m_wndElementPane.EnableDocking(CBRS_ALIGN_LEFT);
    DockPane(&m_wndElementPane);
    m_wndOutput.EnableDocking(CBRS_ALIGN_ANY);
    DockPane(&m_wndOutput);

    OnApplicationLook(app ? app->m_nAppLook : ID_VIEW_APPLOOK_VS_2008);
    EnableWindowsDialog(ID_WINDOW_MANAGER, IDS_WINDOWS_MANAGER, TRUE);
    EnablePaneMenu(TRUE, ID_VIEW_CUSTOMIZE, qor::LoadText(IDS_TOOLBAR_CUSTOMIZE), ID_VIEW_TOOLBAR);
    CMFCToolBar::EnableQuickCustomization();
    // Pictures for the users' own buttons, when the current folder has them; none is no fault.
    if (!CMFCToolBar::GetUserImages() && m_UserImages.Load(L".\\UserImages.bmp", 819200))
        CMFCToolBar::SetUserImages(&m_UserImages);
    ModifyStyle(0, FWS_PREFIXTITLE);
    return 0;
}

BOOL CMainFrame::CreateDockingWindows()
{
    const DWORD style = WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN | CBRS_FLOAT_MULTI;
    if (!m_wndElementPane.Create(qor::LoadText(IDS_ELEMENT_VIEW), this, CRect(0, 0, 200, 200), TRUE,
                                 ID_VIEW_ELEMENT_PANE, style | CBRS_LEFT))
        return FALSE;
    if (!m_wndOutput.Create(qor::LoadText(IDS_OUTPUT_WND), this, CRect(0, 0, 100, 100), TRUE, ID_VIEW_OUTPUT_PANE,
                            style | CBRS_BOTTOM))
        return FALSE;
    return TRUE;
}

void CMainFrame::InitStatusBar()
{
    m_wndStatusBar.SetIndicators(kIndicators, static_cast<int>(std::size(kIndicators)));
    m_wndStatusBar.SetPaneInfo(0, 0, SBPS_NORMAL, 300);
    m_wndStatusBar.EnablePaneProgressBar(1, 100, TRUE);
    m_wndStatusBar.SetPaneInfo(1, 0, SBPS_STRETCH | SBPS_NOBORDERS, 200);
    m_wndStatusBar.SetPaneText(0, L"Ready");
}

void CMainFrame::SetStatusText(LPCTSTR text)
{
    if (m_wndStatusBar.m_hWnd) m_wndStatusBar.SetPaneText(0, text, TRUE);
}

void CMainFrame::AddStatus(const CString& text)
{
    char stamp[128] = {};
    std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    std::strftime(stamp, sizeof(stamp), "%d/%m/%y %H:%M:%S| ", &local);
    CString line = CString(stamp) + text;
    COutputList& list = m_wndOutput.GetList();
    if (!list.m_hWnd) return;
    list.AddString(line);
    list.SetCurSel(list.GetCount() - 1);
    list.SetCurSel(-1);
}

void CMainFrame::BeginProgress(int steps)
{
    m_nProgressStart = 0;
    m_nProgressEnd = steps;
    m_nProgressCount = 0;
    ShowProgress();
}

void CMainFrame::StepProgress(int steps)
{
    m_nProgressCount += steps;
    ShowProgress();
}

void CMainFrame::ResetProgress()
{
    // Posted: the steps the workers posted before it are counted first.
    if (m_hWnd) PostMessage(UWM_PBAR_UPDATE, 0, 0);
}

void CMainFrame::ShowFileProgress(int percent)
{
    if (percent < 0)
        ShowProgress();
    else if (m_wndStatusBar.m_hWnd)
        m_wndStatusBar.SetPaneProgress(1, percent, TRUE);
}

void CMainFrame::ShowProgress()
{
    if (!m_wndStatusBar.m_hWnd) return;
    // An empty range (no runs) shows the reset state rather than dividing by zero.
    const int range = m_nProgressEnd - m_nProgressStart;
    const int percent = range != 0 ? static_cast<int>(m_nProgressCount * 100.0 / range) : 0;
    m_wndStatusBar.SetPaneProgress(1, percent, TRUE);
}

void CMainFrame::ShowCase(CQORDoc* pDoc)
{
    if (!m_wndElementPane.m_hWnd) return;
    if (!pDoc)
    {
        m_wndElementPane.ClearElementView();
        return;
    }
    m_wndElementPane.GetTree().SetRedraw(FALSE);
    m_wndElementPane.RefillElementView(pDoc);
    m_wndElementPane.GetTree().SetRedraw(TRUE);
}

void CMainFrame::ShowNewElement(const std::shared_ptr<CElement>& pElement)
{
    if (!m_wndElementPane.m_hWnd || !pElement) return;
    CElementView& pane = m_wndElementPane;
    switch (pElement->m_ElementType)
    {
    case CElement::ELEMENT_BRIDGE: pane.AddBridge(std::dynamic_pointer_cast<CBridge>(pElement)); break;
    case CElement::ELEMENT_BRIDGESET: pane.AddBridgeSet(std::dynamic_pointer_cast<CBridgeSet>(pElement)); break;
    case CElement::ELEMENT_LOADMODEL: pane.AddLoadModel(std::dynamic_pointer_cast<CLoadModel>(pElement)); break;
    case CElement::ELEMENT_LOADMODELENSEMBLE:
        pane.AddLoadModelEnsemble(std::dynamic_pointer_cast<CLoadModelEnsemble>(pElement));
        break;
    case CElement::ELEMENT_REFCOLLECTION:
        pane.AddReferenceCollection(std::dynamic_pointer_cast<CReferenceCollection>(pElement));
        break;
    default: break;
    }
}

CMultiDocTemplate* CMainFrame::GetResultTemplate(ResultWindow kind)
{
    auto* app = DYNAMIC_DOWNCAST(CQORApp, AfxGetApp());
    if (!app) return nullptr;
    return kind == ResultWindow::Plot ? app->m_pPlotTemplate : app->m_pGridTemplate;
}

void CMainFrame::ClosePrintPreviews() { SendMessageToDescendants(WM_COMMAND, AFX_ID_PREVIEW_CLOSE, 0, TRUE, TRUE); }

void CMainFrame::OnClose()
{
    ClosePrintPreviews();
    CWinApp* app = AfxGetApp();
    if (app && app->m_pMainWnd == this)
    {
        // The save question first (a run that ends meanwhile waits with its completion, see
        // CQORDoc::SaveModified): a Cancel keeps the program and its runs as they were. Only then
        // do the runs stop and the case close; the stopped workers are waited for while the
        // windows they report to and the settings they read still exist.
        if (!app->SaveAllModified()) return;
        for (POSITION t = app->GetFirstDocTemplatePosition(); t;)
            if (CDocTemplate* tmpl = app->GetNextDocTemplate(t))
                for (POSITION d = tmpl->GetFirstDocPosition(); d;)
                    if (auto* doc = DYNAMIC_DOWNCAST(CQORDoc, tmpl->GetNextDoc(d))) doc->StopRuns();
        // The completions still held went to the stand-in with the stop: they only release their blocks.
        while (!m_heldCompletions.empty())
        {
            const HeldCompletion held = m_heldCompletions.front();
            m_heldCompletions.pop_front();
            Complete(held.message, held.wParam, held.lParam);
        }
        app->CloseAllDocuments(FALSE);
        CAnalysisJobs::WaitForWorkers();
    }
    CMDIFrameWndEx::OnClose();
}

void CMainFrame::OnApplicationLook(UINT id)
{
    auto* app = DYNAMIC_DOWNCAST(CQORApp, AfxGetApp());
    if (app) app->m_nAppLook = id;
    switch (id)
    {
    case ID_VIEW_APPLOOK_WIN_2000: CMFCVisualManager::SetDefaultManager(RUNTIME_CLASS(CMFCVisualManager)); break;
    case ID_VIEW_APPLOOK_OFF_XP: CMFCVisualManager::SetDefaultManager(RUNTIME_CLASS(CMFCVisualManagerOfficeXP)); break;
    case ID_VIEW_APPLOOK_WIN_XP: CMFCVisualManager::SetDefaultManager(RUNTIME_CLASS(CMFCVisualManagerWindows)); break;
    case ID_VIEW_APPLOOK_OFF_2003:
        CMFCVisualManager::SetDefaultManager(RUNTIME_CLASS(CMFCVisualManagerOffice2003));
        break;
    case ID_VIEW_APPLOOK_VS_2005: CMFCVisualManager::SetDefaultManager(RUNTIME_CLASS(CMFCVisualManagerVS2005)); break;
    case ID_VIEW_APPLOOK_VS_2008: CMFCVisualManager::SetDefaultManager(RUNTIME_CLASS(CMFCVisualManagerVS2008)); break;
    case ID_VIEW_APPLOOK_WINDOWS_7:
        CMFCVisualManager::SetDefaultManager(RUNTIME_CLASS(CMFCVisualManagerWindows7));
        break;
    default:
        switch (id)
        {
        case ID_VIEW_APPLOOK_OFF_2007_BLUE:
            CMFCVisualManagerOffice2007::SetStyle(CMFCVisualManagerOffice2007::Office2007_LunaBlue);
            break;
        case ID_VIEW_APPLOOK_OFF_2007_BLACK:
            CMFCVisualManagerOffice2007::SetStyle(CMFCVisualManagerOffice2007::Office2007_ObsidianBlack);
            break;
        case ID_VIEW_APPLOOK_OFF_2007_SILVER:
            CMFCVisualManagerOffice2007::SetStyle(CMFCVisualManagerOffice2007::Office2007_Silver);
            break;
        case ID_VIEW_APPLOOK_OFF_2007_AQUA:
            CMFCVisualManagerOffice2007::SetStyle(CMFCVisualManagerOffice2007::Office2007_Aqua);
            break;
        default: break; // the ids without a menu entry keep the style in force
        }
        CMFCVisualManager::SetDefaultManager(RUNTIME_CLASS(CMFCVisualManagerOffice2007));
        break;
    }
    // The looks from Office 2003 on dock with guides.
    if (id >= ID_VIEW_APPLOOK_OFF_2003) CDockingManager::SetDockingMode(DT_SMART);
    qor::gui::SetApplicationLook(LookOf(id));
    m_wndOutput.UpdateFonts();
    RedrawWindow(nullptr, nullptr, RDW_ALLCHILDREN | RDW_INVALIDATE | RDW_UPDATENOW | RDW_FRAME | RDW_ERASE);
    // Kept when it changes (the start applies the kept one, or the first start's default, again).
    if (app && app->GetInt(L"ApplicationLook", ID_VIEW_APPLOOK_VS_2008) != static_cast<int>(id))
        app->WriteInt(L"ApplicationLook", static_cast<int>(id));
}

void CMainFrame::OnUpdateApplicationLook(CCmdUI* pCmdUI)
{
    auto* app = DYNAMIC_DOWNCAST(CQORApp, AfxGetApp());
    pCmdUI->SetRadio(app && app->m_nAppLook == pCmdUI->m_nID);
}

void CMainFrame::OnViewElementPane()
{
    m_wndElementPane.ShowPane(TRUE, FALSE, TRUE);
    m_wndElementPane.SetFocus();
}

void CMainFrame::OnViewOutputPane()
{
    m_wndOutput.ShowPane(TRUE, FALSE, TRUE);
    m_wndOutput.SetFocus();
}

void CMainFrame::OnUpdatePaneCommand(CCmdUI* pCmdUI) { pCmdUI->Enable(TRUE); }

void CMainFrame::OnToolsOptions()
{
    // Wide enough for the property names and their values.
    ShowOrCreatePane(m_wndSettings, IDS_SETTINGS_WND, ID_TOOLS_OPTIONS, 300);
}

void CMainFrame::ShowOrCreatePane(CDockablePane& pane, UINT nCaptionID, UINT nID, int width)
{
    if (pane.m_hWnd)
    {
        pane.ShowPane(TRUE, FALSE, TRUE);
        pane.SetFocus();
        return;
    }
    // On a small screen, or with large text, a pane takes at most a third of the window: the case stays in view.
    CRect client;
    GetClientRect(&client);
    if (client.Width() > 0) width = std::min(width, std::max(300, client.Width() / 3));
    const DWORD style = WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN | CBRS_LEFT | CBRS_FLOAT_MULTI;
    if (!pane.Create(qor::LoadText(nCaptionID), this, CRect(0, 0, width, 200), TRUE, nID, style)) return;
    pane.EnableDocking(CBRS_ALIGN_ANY);
    DockPane(&pane, AFX_IDW_DOCKBAR_RIGHT);
    pane.ShowPane(TRUE, FALSE, TRUE);
    pane.SetFocus();
    RecalcLayout();
}

void CMainFrame::OnHelpPdf()
{
    // Wide enough to read a page of the manual.
    ShowOrCreatePane(m_wndPdfPane, IDS_PDF_HELP, ID_HELP_PDF, 460);
    // The program's copy of the manual is read once it is in place whole.
    if (auto* app = DYNAMIC_DOWNCAST(CQORApp, AfxGetApp())) app->WaitForInstalledFiles();
    // The manual is read afresh each time: the user may have changed its path in the settings.
    if (!m_wndPdfPane.m_hWnd || !m_wndPdfPane.LoadFile(CSettings::GetInstance()->General.HELPFILEPATH))
        AfxMessageBox(L"Cannot load QOR User Manual - please verify the file path.", MB_OK | MB_ICONWARNING);
}

BOOL CMainFrame::OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo)
{
    // A pane that has the focus takes its own commands first (the help pane's Open).
    if (m_wndPdfPane.m_hWnd)
    {
        CWnd* focus = CWnd::GetFocus();
        if (focus && (focus == &m_wndPdfPane || m_wndPdfPane.IsChild(focus)) &&
            m_wndPdfPane.OnCmdMsg(nID, nCode, pExtra, pHandlerInfo))
            return TRUE;
    }
    return CMDIFrameWndEx::OnCmdMsg(nID, nCode, pExtra, pHandlerInfo);
}

void CMainFrame::OnCloseTab()
{
    if (CMDIChildWnd* child = MDIGetActive()) child->SendMessage(WM_CLOSE, 0, 0);
}

void CMainFrame::OnCloseAllTabs()
{
    ClosePrintPreviews();
    CMDIChildWnd* child = MDIGetActive();
    if (!child) return;
    auto* doc = DYNAMIC_DOWNCAST(CQORDoc, child->GetActiveDocument());
    if (!doc) return;
    // The frames are gathered first: closing one changes the document's list of views, and the case view's
    // frame must stay (closing it would close the case).
    std::vector<CFrameWnd*> frames;
    for (POSITION pos = doc->GetFirstViewPosition(); pos;)
    {
        CView* view = doc->GetNextView(pos);
        if (!view || view->IsKindOf(RUNTIME_CLASS(CQORView))) continue;
        CFrameWnd* frame = view->GetParentFrame();
        if (frame && std::find(frames.begin(), frames.end(), frame) == frames.end()) frames.push_back(frame);
    }
    for (CFrameWnd* frame : frames)
    {
        bool holdsCaseView = false;
        for (POSITION pos = doc->GetFirstViewPosition(); pos;)
        {
            CView* view = doc->GetNextView(pos);
            if (view && view->IsKindOf(RUNTIME_CLASS(CQORView)) && view->GetParentFrame() == frame)
                holdsCaseView = true;
        }
        if (!holdsCaseView && qor::gui::IsLiveFrame(frame)) frame->SendMessage(WM_CLOSE, 0, 0);
    }
}

BOOL CMainFrame::OnShowMDITabContextMenu(CPoint point, DWORD dwAllowedItems, BOOL bTabDrop)
{
    CMenu menu;
    if (!menu.LoadMenu(bTabDrop ? IDR_TAB_MENU_DROPPED : IDR_TAB_MENU)) return FALSE;
    const CMenu* source = menu.GetSubMenu(0);
    if (!source) return FALSE;
    // Bits of the allowed items: 1 new vertical group, 2 new horizontal group, 4 previous, 8 next.
    auto allowed = [dwAllowedItems](UINT id) {
        switch (id)
        {
        case ID_MDI_NEW_VERT_GROUP: return (dwAllowedItems & 1) != 0;
        case ID_MDI_NEW_HORZ_TAB_GROUP: return (dwAllowedItems & 2) != 0;
        case ID_MDI_MOVE_TO_PREV_GROUP: return (dwAllowedItems & 4) != 0;
        case ID_MDI_MOVE_TO_NEXT_GROUP: return (dwAllowedItems & 8) != 0;
        default: return true;
        }
    };
    // The allowed items, without a separator at the end once items went.
    std::vector<const CMenu::Item*> shown;
    for (const CMenu::Item& item : source->Items())
        if ((item.flags & MF_SEPARATOR) || allowed(item.id)) shown.push_back(&item);
    while (!shown.empty() && (shown.back()->flags & MF_SEPARATOR)) shown.pop_back();
    CMenu popup;
    popup.CreatePopupMenu();
    for (const CMenu::Item* item : shown) popup.AppendMenu(item->flags, item->id, item->text);
    if (popup.GetMenuItemCount() <= 0) return FALSE;
    popup.TrackPopupMenu(TPM_LEFTALIGN | TPM_RIGHTBUTTON, point.x, point.y, this);
    return TRUE;
}

void CMainFrame::OnPrintAll()
{
    MessageBoxW(m_hWnd, L"This function is not yet supported", L"QOR", MB_OK | MB_ICONINFORMATION);
}

void CMainFrame::OnViewCustomize()
{
    auto* dialog = new CMFCToolBarsCustomizeDialog(this, TRUE);
    dialog->EnableUserDefinedToolbars();
    dialog->Create();
}

LRESULT CMainFrame::OnToolbarCreateNew(WPARAM wp, LPARAM lp)
{
    const LRESULT made = CMDIFrameWndEx::OnToolbarCreateNew(wp, lp);
    if (auto* userToolbar = reinterpret_cast<CMFCToolBar*>(made))
        userToolbar->EnableCustomizeButton(TRUE, ID_VIEW_CUSTOMIZE, qor::LoadText(IDS_TOOLBAR_CUSTOMIZE));
    return made;
}

void CMainFrame::OnMdiMoveToNextGroup() { MDITabMoveToNextGroup(); }

void CMainFrame::OnMdiMoveToPrevGroup() { MDITabMoveToNextGroup(FALSE); }

void CMainFrame::OnMdiNewHorzTabGroup() { MDITabNewGroup(FALSE); }

void CMainFrame::OnMdiNewVertGroup() { MDITabNewGroup(); }

LRESULT CMainFrame::OnPBarUpdate(WPARAM wParam, LPARAM lParam)
{
    // Workers report their runs a few at a time (qor::RunsOf), each post naming its run. Steps of
    // a run that was stopped, or that come with no run begun, belong to no run: dropped.
    if (wParam == 1)
    {
        if (m_nProgressEnd - m_nProgressStart > 0 && CAnalysisJobs::IsLiveRun(qor::RunGenerationOf(lParam)))
            StepProgress(qor::RunsOf(lParam));
    }
    else
    {
        m_nProgressCount = 0;
        ShowProgress();
    }
    return 0;
}

LRESULT CMainFrame::OnAddStatus(WPARAM wParam, LPARAM lParam)
{
    auto* text = reinterpret_cast<CString*>(wParam);
    if (!text) return 0;
    QueueStatus(*text, static_cast<unsigned>(lParam));
    delete text;
    return 0;
}

void CMainFrame::QueueStatus(const CString& text, unsigned generation)
{
    if (!CAnalysisJobs::IsLiveRun(generation)) return; // its run was stopped
    // With none waiting the line goes in at once, until the lines put in so have taken a slice's time
    // (a run's lines come as a burst of messages, handled in one step); then in its turn.
    if (m_queuedLines.empty() && !m_bDrainPosted && m_nDirectLogMs < kLogSliceMs)
    {
        const auto start = std::chrono::steady_clock::now();
        AddStatus(text);
        m_nDirectLogMs += std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
        return;
    }
    m_queuedLines.push_back({text, generation});
    ScheduleDrain();
}

void CMainFrame::ScheduleDrain()
{
    if (m_bDrainPosted || !m_hWnd) return;
    m_bDrainPosted = PostMessage(UWM_DRAIN_LOG, 0, 0) != FALSE;
}

void CMainFrame::ResumeCompletions() { ScheduleDrain(); }

void CMainFrame::QueueCaseStep(CQORDoc* pDoc, std::function<void()> step, bool bAfterModalWindows)
{
    m_caseSteps.push_back({pDoc, std::move(step), bAfterModalWindows});
    if (!m_bCaseStepPosted && m_hWnd) m_bCaseStepPosted = PostMessage(UWM_CASE_STEP, 0, 0) != FALSE;
}

void CMainFrame::DropCaseSteps(CQORDoc* pDoc)
{
    m_caseSteps.erase(std::remove_if(m_caseSteps.begin(), m_caseSteps.end(),
                                     [pDoc](const CaseStep& step) { return step.doc == pDoc; }),
                      m_caseSteps.end());
}

LRESULT CMainFrame::OnCaseStep(WPARAM, LPARAM)
{
    m_bCaseStepPosted = false;
    if (m_caseSteps.empty()) return 0;
    if (m_caseSteps.front().afterModalWindows && qor::ModalWindowScope::Count() > 0)
    {
        // Its question would take the keys meant for the modal window: it waits for that window to close.
        m_bCaseStepPosted = true;
        qor::ModalWindowScope::PostWhenNone(m_hWnd, UWM_CASE_STEP);
        return 0;
    }
    if (CaseWindowDrawing(m_caseSteps.front().doc))
    {
        // The result window before is still drawing in slices: the next one built in the same turn as a
        // slice would hold the window for both. It goes first (for a few seconds at most).
        if (m_nCaseStepWaitStart == 0) m_nCaseStepWaitStart = GetTickCount();
        if (GetTickCount() - m_nCaseStepWaitStart < kCaseStepWaitMs)
        {
            m_bCaseStepPosted = PostMessage(UWM_CASE_STEP, 0, 0) != FALSE;
            if (m_bCaseStepPosted) return 0;
        }
    }
    m_nCaseStepWaitStart = 0;
    CaseStep step = std::move(m_caseSteps.front());
    m_caseSteps.pop_front();
    // The next step in the next turn: the window answers between two of them.
    if (!m_caseSteps.empty()) m_bCaseStepPosted = PostMessage(UWM_CASE_STEP, 0, 0) != FALSE;
    if (!step.doc->RunCommand(step.work)) DropCaseSteps(step.doc);
    return 0;
}

bool CMainFrame::CaseWindowDrawing(CQORDoc* pDoc)
{
    for (POSITION pos = pDoc ? pDoc->GetFirstViewPosition() : nullptr; pos;)
        if (auto* plot = dynamic_cast<CPlotView*>(pDoc->GetNextView(pos)); plot && plot->IsDrawing()) return true;
    return false;
}

namespace {

CQORDoc* CaseOf(UINT message, LPARAM lParam)
{
    if (!lParam) return nullptr;
    if (message == UWM_TF_MULTIML) return reinterpret_cast<MultiMLThreadData*>(lParam)->pDoc;
    if (message == UWM_TF_BRIDGERANGE) return reinterpret_cast<BridgeRangeThreadData*>(lParam)->pDoc;
    return reinterpret_cast<RefCollThreadData*>(lParam)->pDoc;
}

} // namespace

LRESULT CMainFrame::OnDrainLog(WPARAM, LPARAM)
{
    m_bDrainPosted = false;
    m_nDirectLogMs = 0.0; // the window has answered since
    // A slice of the waiting lines at a time: the window answers between slices, however many a
    // run has sent.
    using Clock = std::chrono::steady_clock;
    const Clock::time_point end = Clock::now() + std::chrono::milliseconds(static_cast<int>(kLogSliceMs));
    while (!m_queuedLines.empty())
    {
        if (Clock::now() >= end)
        {
            ScheduleDrain();
            return 0;
        }
        QueuedLine line = std::move(m_queuedLines.front());
        m_queuedLines.pop_front();
        if (CAnalysisJobs::IsLiveRun(line.generation)) AddStatus(line.text);
    }
    // Then the completions that waited for those lines, unless their case is asking whether to save.
    while (!m_heldCompletions.empty())
    {
        const HeldCompletion held = m_heldCompletions.front();
        CQORDoc* doc = CaseOf(held.message, held.lParam);
        if (doc && doc->IsAskingToSave()) return 0; // ResumeCompletions comes once it has asked
        m_heldCompletions.pop_front();
        Complete(held.message, held.wParam, held.lParam);
        if (!m_queuedLines.empty()) return 0; // the completion's own lines go first (drain posted)
    }
    return 0;
}

LRESULT CMainFrame::RelayCompletion(UINT message, WPARAM wParam, LPARAM lParam)
{
    CQORDoc* doc = CaseOf(message, lParam);
    if (!m_queuedLines.empty() || !m_heldCompletions.empty() || (doc && doc->IsAskingToSave()))
    {
        m_heldCompletions.push_back({message, wParam, lParam});
        ScheduleDrain();
        return 0;
    }
    Complete(message, wParam, lParam);
    return 0;
}

void CMainFrame::Complete(UINT message, WPARAM wParam, LPARAM lParam)
{
    CQORDoc* doc = CaseOf(message, lParam);
    if (!doc) return;
    if (message == UWM_TF_MULTIML)
    {
        auto* data = reinterpret_cast<MultiMLThreadData*>(lParam);
        doc->RunCommand([&] { doc->OnMultiMovingLoadDone(data); });
    }
    else if (message == UWM_TF_BRIDGERANGE)
    {
        auto* data = reinterpret_cast<BridgeRangeThreadData*>(lParam);
        doc->RunCommand([&] { doc->OnBridgeRangeDone(data); });
    }
    else
    {
        auto* data = reinterpret_cast<RefCollThreadData*>(lParam);
        if (message == UWM_TF_REFVALUES)
            doc->RunCommand([&] { doc->OnRefValuesDone(data, wParam != 0); });
        else
            doc->RunCommand([&] { doc->OnCritRatiosDone(data, wParam != 0); });
    }
}

LRESULT CMainFrame::OnMultiMovingLoadFinished(WPARAM wParam, LPARAM lParam)
{
    return RelayCompletion(UWM_TF_MULTIML, wParam, lParam);
}

LRESULT CMainFrame::OnBridgeRangeFinished(WPARAM wParam, LPARAM lParam)
{
    return RelayCompletion(UWM_TF_BRIDGERANGE, wParam, lParam);
}

LRESULT CMainFrame::OnRefValuesFinished(WPARAM wParam, LPARAM lParam)
{
    return RelayCompletion(UWM_TF_REFVALUES, wParam, lParam);
}

LRESULT CMainFrame::OnCritRatiosFinished(WPARAM wParam, LPARAM lParam)
{
    return RelayCompletion(UWM_TF_CRITRATIOS, wParam, lParam);
}
