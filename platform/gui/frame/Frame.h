// Frames: CFrameWnd (menu bar, accelerators, bars and panes around a view), the MDI main
// frame (a main window with an MDI area) and MDI child frames (subwindows of that area).
//
// Commands route: active child frame -> its active view -> the view's document (and its
// template) -> the child frame -> the main frame -> the application. A command whose update
// handler disables it is not run, whether it comes from a menu, a toolbar or an accelerator.
#pragma once

#include "platform/gui/frame/CreateContext.h"
#include "platform/gui/window/AfxRes.h"
#include "platform/gui/window/Resources.h"
#include "platform/gui/window/Wnd.h"

#include <map>
#include <memory>
#include <vector>

class CView;
class CMDIChildWnd;
class CMFCToolBar;
class CMFCStatusBar;
class CDockablePane;
class CBasePane;

namespace qor::gui {
struct FrameShell; // the toolkit side of a frame (FrameInternal.h)
struct TabGroups;  // the tab groups of a tabbed MDI frame (FrameInternal.h)
// Whether a frame object still exists (a frame deletes itself when its window goes).
bool IsLiveFrame(const CFrameWnd* frame);
} // namespace qor::gui

// The items a tab's context menu may offer (OnShowMDITabContextMenu's dwAllowedItems).
#define AFX_MDI_CREATE_VERT_GROUP 0x1u
#define AFX_MDI_CREATE_HORZ_GROUP 0x2u
#define AFX_MDI_CAN_MOVE_PREV 0x4u
#define AFX_MDI_CAN_MOVE_NEXT 0x8u

// An accelerator table registered in res/ (the instance is ignored; lpTableName is MAKEINTRESOURCE(id)); null when
// none is registered under the id.
HACCEL LoadAccelerators(HINSTANCE hInstance, LPCTSTR lpTableName);
// A key-down message that an entry of the table matches (virtual key, Ctrl, Shift and Alt as held) is sent to the
// window as WM_COMMAND with notification code 1; nonzero when one matched. Frames translate their own tables so.
int TranslateAccelerator(HWND hWnd, HACCEL hAccTable, MSG* lpMsg);

// What a frame needs of the views it shows and of their documents, which live on the document floor
// above (docview/FrameDocuments.cpp gives it through SetFrameDocuments). Without it a frame has no views.
class IFrameDocuments
{
public:
    virtual ~IFrameDocuments() = default;
    // A view as a window, and a window as a view (null: not a view).
    virtual CWnd* WndOfView(CView* pView) = 0;
    virtual CView* ViewOfWnd(CWnd* pWnd) = 0;
    virtual CDocument* DocumentOfView(CView* pView) = 0;
    // OnActivateView to the view that loses the frame's activation and to the one that gains it.
    virtual void ViewActivated(CView* pOld, CView* pNew) = 0;
    // The first update of the frame's views of the document (of its active view, without a document).
    virtual void InitialUpdateViews(CFrameWnd* pFrame, CDocument* pDoc) = 0;
    virtual void UpdateFrameCounts(CDocument* pDoc) = 0;
    virtual CString DocumentTitle(CDocument* pDoc) = 0;
    // A frame of the document is closing: FALSE when the document refuses or closes itself with its last
    // frame, TRUE when the caller goes on to destroy the frame.
    virtual BOOL PrepareFrameClose(CFrameWnd* pFrame, CDocument* pDoc) = 0;
    // Another frame on the document, made by its template beside pOther.
    virtual void OpenNewWindow(CDocument* pDoc, CFrameWnd* pOther) = 0;
};

namespace qor::gui {
void SetFrameDocuments(IFrameDocuments* pDocuments);
IFrameDocuments* FrameDocuments();
} // namespace qor::gui

class CFrameWnd : public CWnd
{
    DECLARE_DYNCREATE(CFrameWnd)
public:
    CFrameWnd();
    ~CFrameWnd() override;

    static const RECT rectDefault;

    BOOL Create(LPCTSTR lpszClassName, LPCTSTR lpszWindowName, DWORD dwStyle = WS_OVERLAPPEDWINDOW,
                const RECT& rect = rectDefault, CWnd* pParentWnd = nullptr, LPCTSTR lpszMenuName = nullptr,
                DWORD dwExStyle = 0, CCreateContext* pContext = nullptr);
    // Creates the frame with the menu and accelerators of nIDResource (when registered).
    virtual BOOL LoadFrame(UINT nIDResource, DWORD dwDefaultStyle = WS_OVERLAPPEDWINDOW | FWS_ADDTOTITLE,
                           CWnd* pParentWnd = nullptr, CCreateContext* pContext = nullptr);

    // ---- Views and documents --------------------------------------------------------------
    CFrameWnd* AsFrameWnd() override { return this; }
    virtual CView* GetActiveView() const { return m_pViewActive; }
    void SetActiveView(CView* pViewNew, BOOL bNotify = TRUE);
    virtual CDocument* GetActiveDocument();
    virtual CFrameWnd* GetActiveFrame() { return this; }
    void InitialUpdateFrame(CDocument* pDoc, BOOL bMakeVisible);
    virtual void ActivateFrame(int nCmdShow = -1);
    virtual void OnUpdateFrameTitle(BOOL bAddToTitle);
    void SetTitle(LPCTSTR lpszTitle) { m_strTitle = lpszTitle; }
    CString GetTitle() const { return m_strTitle; }

    // ---- Layout, bars, panes ------------------------------------------------------------
    virtual void RecalcLayout(BOOL bNotify = TRUE);
    void EnableDocking(DWORD dwDockStyle) { m_dwDockStyle = dwDockStyle; }
    void DockPane(CBasePane* pBar, UINT nDockBarID = 0, LPCRECT lpRect = nullptr);
    void DockControlBar(CBasePane* pBar, UINT nDockBarID = 0, LPCRECT lpRect = nullptr)
    {
        DockPane(pBar, nDockBarID, lpRect);
    }
    void ShowPane(CBasePane* pBar, BOOL bShow, BOOL bDelay, BOOL bActivate);
    CBasePane* GetPane(UINT nID);
    CWnd* GetControlBar(UINT nID);
    void SetMessageText(LPCTSTR lpszText);
    // The frame's toolbars and dockable panes as its pane menu lists them, in that order.
    std::vector<CBasePane*> GetMenuPanes();
    // The status-bar prompt of a command: its string's text before the line break.
    virtual void GetMessageString(UINT nID, CString& rMessage) const;
    // Shows the prompt of the highlighted menu item or hovered button, or (0) the idle message.
    void ShowCommandPrompt(UINT nID);

    // ---- Menus, accelerators and command state ------------------------------------------
    // Replaces the menu bar with menu resource nIDResource (FALSE when it is not registered).
    BOOL LoadMenuResource(UINT nIDResource);
    BOOL LoadAccelTable(UINT nIDResource);
    // Runs the update handlers of every menu item and toolbar button and applies them.
    virtual void OnUpdateCmdUI();
    // Runs the update handlers of one menu bar popup (what happens before it opens).
    void UpdateMenuPopup(int nIndex);
    // A menu item's state as last set by its update handler (enabled, checked, text, listed at all).
    BOOL GetMenuItemState(UINT nID, BOOL* pEnabled, int* pCheck = nullptr, CString* pText = nullptr,
                          BOOL* pShown = nullptr) const;
    // Runs a menu item as a click does (nothing when it is disabled).
    BOOL ClickMenuItem(UINT nID);
    // Whether the command's update handler (through this frame's route) enables it; with no
    // update handler, whether any command handler exists.
    BOOL IsCommandEnabled(UINT nID);

    BOOL PreTranslateMessage(MSG* pMsg) override;
    BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) override;
    void PostNcDestroy() override;
    // Alt with a menu's letter (WM_SYSCOMMAND, SC_KEYMENU) opens that menu of the frame.
    LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

    // The toolkit side (layer only).
    qor::gui::FrameShell* Shell();
    UINT m_nIDHelp = 0;
    BOOL m_bAutoMenuEnable = TRUE;
    // Which of its document's windows this is (1, 2, ...), 0 when it is the only one, -1 before it counts.
    int m_nWindow = -1;

protected:
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;
    BOOL PreCreateWindow(CREATESTRUCT& cs) override;
    // Makes the view of pContext as child AFX_IDW_PANE_FIRST.
    virtual BOOL OnCreateClient(LPCREATESTRUCT lpcs, CCreateContext* pContext);
    CWnd* CreateView(CCreateContext* pContext, UINT nID = AFX_IDW_PANE_FIRST);
    // The rectangle left for the view (client area less bars).
    virtual void GetViewRect(CRect& rect);

    int OnCreate(LPCREATESTRUCT lpCreateStruct);
    void OnSize(UINT nType, int cx, int cy);
    void OnClose();
    void OnDestroy();
    void OnSetFocus(CWnd* pOldWnd);
    // The application's idle pass: this frame's update handlers, and its active child's.
    LRESULT OnIdleUpdateCmdUI(WPARAM wParam, LPARAM lParam);
    void OnUpdateControlBarMenu(CCmdUI* pCmdUI);
    BOOL OnBarCheck(UINT nID);

    CView* m_pViewActive = nullptr;
    CString m_strTitle;
    DWORD m_dwDockStyle = 0;
    std::vector<ACCEL> m_accel;
    std::unique_ptr<qor::gui::FrameShell> m_pShell;

    friend class CBasePane;
    friend struct qor::gui::FrameShell;
    DECLARE_MESSAGE_MAP()
};

class CMDIFrameWnd : public CFrameWnd
{
    DECLARE_DYNAMIC(CMDIFrameWnd)
public:
    CMDIFrameWnd();
    ~CMDIFrameWnd() override;

    // The active child frame (nullptr when none).
    CMDIChildWnd* MDIGetActive(BOOL* pbMaximized = nullptr) const;
    void MDIActivate(CWnd* pWndActivate);
    void MDINext();
    void MDICascade();
    void MDITile();
    // The child frames in creation order.
    std::vector<CMDIChildWnd*> GetMDIChildren() const;
    CFrameWnd* GetActiveFrame() override;
    BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) override;
    BOOL PreTranslateMessage(MSG* pMsg) override;
    void OnUpdateFrameTitle(BOOL bAddToTitle) override;
    void RecalcLayout(BOOL bNotify = TRUE) override;

    HWND m_hWndMDIClient = nullptr;

protected:
    BOOL OnCreateClient(LPCREATESTRUCT lpcs, CCreateContext* pContext) override;
    void OnClose();
    // Window > New Window: another window on the active window's document.
    void OnWindowNew();
    void OnUpdateMDIWindowCmd(CCmdUI* pCmdUI);
    void OnWindowCascade() { MDICascade(); }
    void OnWindowTile() { MDITile(); }

private:
    friend class CMDIChildWnd;
    friend struct qor::gui::TabGroups;
    void ChildCreated(CMDIChildWnd* child);
    void ChildGone(CMDIChildWnd* child);
    void ChildActivated(CMDIChildWnd* child);
    std::vector<CMDIChildWnd*> m_children;
    CMDIChildWnd* m_pActiveChild = nullptr;

    DECLARE_MESSAGE_MAP()
};

class CMDIChildWnd : public CFrameWnd
{
    DECLARE_DYNCREATE(CMDIChildWnd)
public:
    CMDIChildWnd();
    ~CMDIChildWnd() override;

    BOOL LoadFrame(UINT nIDResource,
                   DWORD dwDefaultStyle = WS_CHILD | WS_VISIBLE | WS_OVERLAPPEDWINDOW | FWS_ADDTOTITLE,
                   CWnd* pParentWnd = nullptr, CCreateContext* pContext = nullptr) override;
    CMDIFrameWnd* GetMDIFrame() const { return m_pMDIFrame; }
    void MDIActivate();
    void MDIDestroy() { DestroyWindow(); }
    void ActivateFrame(int nCmdShow = -1) override;
    void OnUpdateFrameTitle(BOOL bAddToTitle) override;
    BOOL DestroyWindow() override;
    UINT m_nIDMenu = 0;

protected:
    BOOL PreCreateWindow(CREATESTRUCT& cs) override;
    void OnNcDestroy();
    LRESULT OnSetText(WPARAM wParam, LPARAM lParam);

private:
    friend class CMDIFrameWnd;
    CMDIFrameWnd* m_pMDIFrame = nullptr;

    DECLARE_MESSAGE_MAP()
};

// The framework's extended frames: the same frames (tabbed groups and the docking manager's
// extras are accepted and kept, not acted on).
class CMDIFrameWndEx : public CMDIFrameWnd
{
    DECLARE_DYNAMIC(CMDIFrameWndEx)
public:
    CMDIFrameWndEx();
    // Creates the frame, then puts its bars and panes where the user left them (the layout kept in the
    // application's profile, section "Workspace"); the layout is written there when the frame goes.
    BOOL LoadFrame(UINT nIDResource, DWORD dwDefaultStyle = WS_OVERLAPPEDWINDOW | FWS_ADDTOTITLE,
                   CWnd* pParentWnd = nullptr, CCreateContext* pContext = nullptr) override;
    // Child windows as tabs of the MDI area (once the frame has its window), else as subwindows.
    void EnableMDITabbedGroups(BOOL bEnable, const void* = nullptr);
    void EnableMDITabs(BOOL bEnable = TRUE) { EnableMDITabbedGroups(bEnable); }
    BOOL AreMDITabs() const { return m_bTabbedGroups; }
    // A right click on a tab (the tab is made active first), or a tab dropped inside its own group
    // (bTabDrop): the frame shows its menu at the screen point, offering the tab-group moves that
    // dwAllowedItems (AFX_MDI_...) allows. TRUE when a menu was shown.
    virtual BOOL OnShowMDITabContextMenu(CPoint point, DWORD dwAllowedItems, BOOL bTabDrop);
    // What a right click on tab nIndex of tab group nGroup at ptScreen does: the menu opens there (null: at
    // the tab's centre). Tests; the toolkit's click ends here too.
    void RightClickMDITab(int nIndex, int nGroup = 0, const POINT* ptScreen = nullptr);
    // What dropping tab nIndex of group nGroup at a screen point does: onto another group it moves
    // there; elsewhere in its own group the frame's menu asks (bTabDrop). Tests; a drag ends here.
    void DropMDITab(int nIndex, int nGroup, CPoint ptScreen);

    // ---- Tab groups: the case windows' tabs in groups side by side (vertical) or one above the
    // other (horizontal); an emptied group goes.
    // The active tab into a new group after its own.
    void MDITabNewGroup(BOOL bVert = TRUE);
    // The active tab into the next (previous) group.
    void MDITabMoveToNextGroup(BOOL bNext = TRUE);
    int GetMDITabGroupCount() const;
    // The group of a child window (-1: none), and a group's windows in tab order.
    int GetMDITabGroupOf(CMDIChildWnd* pChild) const;
    std::vector<CMDIChildWnd*> GetMDITabGroupWindows(int nGroup) const;
    // Where a group is on the screen (empty when there is no such group).
    CRect GetMDITabGroupRect(int nGroup) const;
    // Whether the groups stand side by side (vertical) or one above the other.
    BOOL IsMDITabGroupVertical() const;
    // What the active tab's menu may offer now (AFX_MDI_...).
    DWORD GetMDITabsContextMenuAllowedItems();
    void EnableDockingManagerSmartDocking() {}
    // Docking panes on these sides (CBRS_ALIGN_...) get a pin button that collapses them to a tab
    // (auto-hide); panes made later get it too.
    void EnableAutoHidePanes(DWORD dwDockStyle);
    DWORD GetAutoHidePanes() const { return m_dwAutoHidePanes; }
    // The list of toolbars and panes (by name, checked while shown; choosing one shows or hides it),
    // with the customise command under it: the menu of the toolbar area, and the submenu that takes
    // the place of menu item uiViewToolbarsMenuEntryID.
    void EnablePaneMenu(BOOL bEnable, UINT uiCustomizeCmd, LPCTSTR lpszCustomizeText, UINT uiViewToolbarsMenuEntryID,
                        BOOL = FALSE, BOOL = FALSE);
    // Window > "Windows..." (uiMenuId, at the end of the Window menu) opens the windows-manager dialog.
    void EnableWindowsDialog(UINT uiMenuId, LPCTSTR lpszMenuText, BOOL bShowAllways = FALSE,
                             BOOL bShowHelpButton = FALSE);
    void EnableWindowsDialog(UINT uiMenuId, UINT uiMenuTextResId, BOOL bShowAllways = FALSE,
                             BOOL bShowHelpButton = FALSE);
    void ShowWindowsDialog();
    BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) override;
    void SetDockingWindowIcons(BOOL) {}
    BOOL EnableDocking(DWORD dwDockStyle)
    {
        CFrameWnd::EnableDocking(dwDockStyle);
        return TRUE;
    }
    // ---- Toolbars the user makes (the customisation dialog's New...), ids uiUserToolbarFirst to
    // uiUserToolbarLast, ten at most; they and the buttons of every bar are kept with the layout.
    BOOL InitUserToolbars(LPCTSTR lpszRegEntry, UINT uiUserToolbarFirst, UINT uiUserToolbarLast);
    BOOL IsUserToolbarId(UINT nID) const { return nID >= m_uiUserToolbarFirst && nID <= m_uiUserToolbarLast; }
    // The user's toolbar iIndex in the order they were made (nullptr: none).
    CMFCToolBar* GetUserToolBarByIndex(int iIndex) const;
    int GetUserToolBarCount() const { return static_cast<int>(m_userToolBars.size()); }
    // AFX_WM_CREATETOOLBAR (lParam: the name): makes a user toolbar; the result is the toolbar, 0 when no
    // id is left.
    LRESULT OnToolbarCreateNew(WPARAM wp, LPARAM lp);
    // Removes a toolbar the user made (FALSE for any other).
    BOOL DeleteToolBar(CMFCToolBar* pToolBar);
    ~CMDIFrameWndEx() override;

    BOOL m_bTabbedGroups = FALSE;
    // Whether docking panes may be turned into tabbed documents.
    BOOL m_bCanConvertControlBarToMDIChild = FALSE;

protected:
    void OnDestroy();
    DECLARE_MESSAGE_MAP()

private:
    friend struct qor::gui::TabGroups;
    // The bars' and panes' places, sizes and visibility, kept in the profile; a damaged or foreign entry
    // is ignored (FALSE).
    void SaveDockState();
    BOOL LoadDockState();
    // The user's toolbars and every bar's buttons, kept in the profile beside the layout.
    void SaveToolBarState();
    BOOL LoadToolBarState();
    CMFCToolBar* CreateUserToolBar(UINT nID, LPCTSTR lpszName);
    UINT m_uiUserToolbarFirst = 1;
    UINT m_uiUserToolbarLast = 0;
    std::vector<std::unique_ptr<CMFCToolBar>> m_userToolBars;
    UINT m_uiWindowsDlgMenuId = 0;
    DWORD m_dwAutoHidePanes = 0;
    BOOL m_bShowWindowsDlgHelpButton = FALSE;
};

class CMDIChildWndEx : public CMDIChildWnd
{
    DECLARE_DYNCREATE(CMDIChildWndEx)
public:
    CMDIChildWndEx() = default;
};

class CFrameWndEx : public CFrameWnd
{
    DECLARE_DYNCREATE(CFrameWndEx)
public:
    CFrameWndEx() = default;
};
