// Bars and panes of a frame: toolbars (buttons by command id, enabled by update handlers
// on idle), the menu bar, the status bar (text panes and a progress pane) and dockable
// panes (dock widgets holding a window). Look-and-feel calls are accepted and kept.
#pragma once

#include "platform/gui/window/AfxRes.h"
#include "platform/gui/window/Wnd.h"

#include <vector>

class CFrameWnd;
class CMFCToolBarImages;

enum AFX_DOCK_METHOD
{
    DM_UNKNOWN,
    DM_MOUSE,
    DM_DBL_CLICK,
    DM_SHOW,
    DM_RECT,
    DM_STANDARD
};

namespace qor::gui {
struct PaneShell; // the toolkit side of a bar or pane (FrameInternal.h)
}

#define AFX_DEFAULT_TOOLBAR_STYLE (WS_CHILD | WS_VISIBLE | CBRS_TOP | CBRS_GRIPPER | CBRS_HIDE_INPLACE)
#define AFX_DEFAULT_DOCKING_PANE_STYLE 0x4u
#define AFX_CBRS_REGULAR_TABS 0x2u
#define AFX_CBRS_OUTLOOK_TABS 0x1u

class CBasePane : public CWnd
{
    DECLARE_DYNAMIC(CBasePane)
public:
    CBasePane();
    ~CBasePane() override;

    // A pane is visible when its dock widget or bar is not hidden.
    virtual BOOL IsVisible() const;
    virtual void ShowPane(BOOL bShow, BOOL bDelay, BOOL bActivate);
    void EnableDocking(DWORD dwAlignment) { m_dwEnabledAlignment = dwAlignment; }
    DWORD GetEnabledAlignment() const { return m_dwEnabledAlignment; }
    void SetPaneStyle(DWORD dwNewStyle) { m_dwPaneStyle = dwNewStyle; }
    DWORD GetPaneStyle() const { return m_dwPaneStyle; }
    BOOL IsDocked() const { return m_bDocked && !IsFloating(); }
    // A pane in a window of its own (docked again by the user or DockPane).
    BOOL IsFloating() const;
    // Takes the pane out of the frame into a floating window at rectFloat (screen).
    virtual BOOL FloatPane(CRect rectFloat, AFX_DOCK_METHOD dockMethod = DM_UNKNOWN, bool bShow = true);
    // The side it is docked at (CBRS_ALIGN_LEFT ...), 0 while it floats.
    DWORD GetCurrentAlignment() const;
    CFrameWnd* GetDockSiteFrameWnd() const { return m_pDockSite; }
    void SetIcon(HICON, BOOL) {}

    qor::gui::PaneShell* Shell() const { return m_pShell; }

protected:
    friend class CFrameWnd;
    BOOL CreatePaneWindow(LPCTSTR lpszCaption, CWnd* pParentWnd, UINT nID, DWORD dwStyle, int kind);
    void PostNcDestroy() override;
    DWORD m_dwEnabledAlignment = 0;
    DWORD m_dwPaneStyle = 0;
    DWORD m_dwBarStyle = 0;
    BOOL m_bDocked = FALSE;
    CFrameWnd* m_pDockSite = nullptr;
    qor::gui::PaneShell* m_pShell = nullptr;
};

class CPane : public CBasePane
{
    DECLARE_DYNAMIC(CPane)
public:
    CPane() = default;
};

// A toolbar: one button per command id of a toolbar resource (ID_SEPARATOR: a gap).
class CMFCToolBar : public CPane
{
    DECLARE_DYNAMIC(CMFCToolBar)
public:
    CMFCToolBar() = default;
    BOOL Create(CWnd* pParentWnd, DWORD dwStyle = AFX_DEFAULT_TOOLBAR_STYLE, UINT nID = AFX_IDW_TOOLBAR);
    BOOL CreateEx(CWnd* pParentWnd, DWORD dwCtrlStyle = TBSTYLE_FLAT, DWORD dwStyle = AFX_DEFAULT_TOOLBAR_STYLE,
                  CRect rcBorders = CRect(1, 1, 1, 1), UINT nID = AFX_IDW_TOOLBAR);
    BOOL LoadToolBar(UINT uiResID, UINT uiColdResID = 0, UINT uiMenuResID = 0, BOOL bLocked = FALSE,
                     UINT uiDisabledResID = 0, UINT uiMenuDisabledResID = 0, UINT uiHotResID = 0);
    BOOL SetButtons(const UINT* lpIDArray, int nIDCount);
    int GetCount() const { return static_cast<int>(m_buttons.size()); }
    UINT GetItemID(int nIndex) const;
    int CommandToIndex(UINT nIDFind) const;
    // Whether the button is enabled (as the last update left it).
    BOOL IsButtonEnabled(int nIndex) const;
    BOOL IsButtonChecked(int nIndex) const;
    // Presses a button as the user does (nothing when it is disabled).
    BOOL ClickButton(int nIndex);
    // The button at the end of the bar that sends command iCustomizeCmd to the frame (its tip the
    // text); FALSE takes it away.
    void EnableCustomizeButton(BOOL bEnable, int iCustomizeCmd, LPCTSTR lpszCustomizeText, BOOL = TRUE);
    void EnableCustomizeButton(BOOL bEnable, int iCustomizeCmd, UINT uiCustomizeTextResId, BOOL = TRUE);
    // The customise button's command (0: the bar has none).
    UINT GetCustomizeCommand() const { return m_uiCustomizeCmd; }
    void SetBorders(int = 0, int = 0, int = 0, int = 0) {}
    // Runs the update handlers of the buttons through the frame's route (a toolbar inside a
    // pane: through its owner's).
    void OnUpdateCmdUI(CFrameWnd* pTarget, BOOL bDisableIfNoHndler);
    // The bar's size as laid out (a toolbar inside a pane takes this height).
    CSize CalcFixedLayout(BOOL bStretch, BOOL bHorz);

    // ---- Customisation: buttons added, moved and removed by the user; kept with the frame's layout.
    // Inserts a button for the command before iInsertAt (-1: at the end); its index, -1 on failure.
    int InsertButton(UINT nID, int iInsertAt = -1);
    BOOL RemoveButton(int iIndex);
    // The buttons of the toolbar resource it was loaded from, as they were.
    void RestoreOriginalState();
    UINT GetResID() const { return m_uiOriginalResID; }
    // Whether the buttons are no longer those of its resource (a user-defined bar: whether it has any).
    BOOL IsChanged() const;
    // A toolbar the user made (the customisation dialog's New...).
    BOOL IsUserDefined() const { return m_bUserDefined; }
    // The picture of the user image list a button shows in place of its command's (-1: its own).
    int GetButtonUserImage(int nIndex) const;
    void SetButtonUserImage(int nIndex, int iUserImage);
    // Where a button let go at the screen point would go on this bar (-1: the point is not over it).
    int InsertIndexAt(CPoint ptScreen) const;
    // What letting go button nIndex of this bar at a screen point does (an Alt+drag, or any drag while
    // the customisation dialog is open): over a toolbar of the frame it moves there, before the button
    // under the point; anywhere else it is removed. Tests call it; the toolkit's drag ends here.
    BOOL DropButton(int nIndex, CPoint ptScreen);
    // The frame's toolbar under a screen point (nullptr: none).
    static CMFCToolBar* FromScreenPoint(CFrameWnd* pFrame, CPoint ptScreen);

    // Alt+drag moves and removes buttons (EnableQuickCustomization).
    static BOOL m_bAltCustomization;
    static void EnableQuickCustomization(BOOL bEnable = TRUE) { m_bAltCustomization = bEnable; }
    // While the customisation dialog is open: a plain drag moves a button, a click runs nothing.
    static BOOL IsCustomizeMode() { return s_bCustomizeMode; }
    static void SetCustomizeMode(BOOL bSet);
    // The pictures of the users' own buttons (null until set; the toolbars do not own them).
    static void SetUserImages(CMFCToolBarImages* pUserImages) { s_pUserImages = pUserImages; }
    static CMFCToolBarImages* GetUserImages() { return s_pUserImages; }
    // The pictures of toolbar resource uiResID show in menus beside their commands (the one picture set
    // stands for the 24-bit bitmap uiBmpResID too). FALSE when there is no such resource.
    static BOOL AddToolBarForImageCollection(UINT uiResID, UINT uiBmpResID = 0);

private:
    friend class CMDIFrameWndEx;
    static CMFCToolBarImages* s_pUserImages;
    static BOOL s_bCustomizeMode;
    BOOL CreateInPane(CWnd* pParentWnd, DWORD dwStyle, UINT nID);
    std::vector<UINT> m_buttons;
    std::vector<BOOL> m_enabled;
    std::vector<int> m_checked;
    std::vector<int> m_userImages;
    UINT m_uiOriginalResID = 0;
    UINT m_uiCustomizeCmd = 0;
    CString m_strCustomizeText;
    BOOL m_bUserDefined = FALSE;
    void Rebuild();
};
using CToolBar = CMFCToolBar;

class CMFCMenuBar : public CPane
{
    DECLARE_DYNAMIC(CMFCMenuBar)
public:
    CMFCMenuBar() = default;
    BOOL Create(CWnd* pParentWnd, DWORD dwStyle = AFX_DEFAULT_TOOLBAR_STYLE, UINT nID = AFX_IDW_MENUBAR);
    static void SetShowAllCommands(BOOL = TRUE) {}
    static void SetRecentlyUsedMenus(BOOL = TRUE) {}
    BOOL IsVisible() const override;
};

// The status bar: panes by indicator id; a pane may hold a progress bar.
class CMFCStatusBar : public CPane
{
    DECLARE_DYNAMIC(CMFCStatusBar)
public:
    CMFCStatusBar() = default;
    BOOL Create(CWnd* pParentWnd, DWORD dwStyle = WS_CHILD | WS_VISIBLE | CBRS_BOTTOM, UINT nID = AFX_IDW_STATUS_BAR);
    BOOL CreateEx(CWnd* pParentWnd, DWORD dwCtrlStyle = 0, DWORD dwStyle = WS_CHILD | WS_VISIBLE | CBRS_BOTTOM,
                  UINT nID = AFX_IDW_STATUS_BAR)
    {
        return Create(pParentWnd, dwStyle, nID);
    }
    BOOL SetIndicators(const UINT* lpIDArray, int nIDCount);
    // Brings the key indicators (CAP, NUM, SCRL) up to the keys' toggles; the frame calls it at idle.
    void OnUpdateCmdUI();
    int GetCount() const { return static_cast<int>(m_panes.size()); }
    int CommandToIndex(UINT nIDFind) const;
    UINT GetItemID(int nIndex) const;
    BOOL SetPaneText(int nIndex, LPCTSTR lpszNewText, BOOL bUpdate = TRUE);
    CString GetPaneText(int nIndex) const;
    void GetPaneText(int nIndex, CString& rString) const { rString = GetPaneText(nIndex); }
    void SetPaneInfo(int nIndex, UINT nID, UINT nStyle, int cxWidth);
    void GetPaneInfo(int nIndex, UINT& nID, UINT& nStyle, int& cxWidth) const;
    void SetPaneWidth(int nIndex, int cx);
    int GetPaneWidth(int nIndex) const;
    void SetPaneStyle(int nIndex, UINT nStyle);
    UINT GetPaneStyle(int nIndex) const;
    void EnablePaneProgressBar(int nIndex, long nTotal = 100, BOOL bDisplayText = FALSE,
                               COLORREF clrBar = static_cast<COLORREF>(-1),
                               COLORREF clrBarDest = static_cast<COLORREF>(-1),
                               COLORREF clrProgressText = static_cast<COLORREF>(-1));
    void SetPaneProgress(int nIndex, long nCurr, BOOL bUpdate = TRUE);
    long GetPaneProgress(int nIndex) const;
    long GetPaneProgressTotal(int nIndex) const;
    BOOL HasPaneProgressBar(int nIndex) const;
    // The text the pane shows (a progress pane with text: "n%").
    CString GetPaneDisplayText(int nIndex) const;

private:
    struct Pane
    {
        UINT id = 0;
        UINT style = 0;
        int width = 0;
        CString text;
        bool progress = false;
        bool progressText = false;
        long total = 100;
        long current = 0;
    };
    std::vector<Pane> m_panes;
    void Rebuild();
    void Show(int nIndex);
};
using CStatusBar = CMFCStatusBar;

// A dockable pane: a window inside a dock widget of its frame.
class CDockablePane : public CPane
{
    DECLARE_DYNAMIC(CDockablePane)
public:
    CDockablePane() = default;
    virtual BOOL Create(LPCTSTR lpszCaption, CWnd* pParentWnd, const RECT& rect, BOOL bHasGripper, UINT nID,
                        DWORD dwStyle, DWORD dwTabbedStyle = AFX_CBRS_REGULAR_TABS,
                        DWORD dwControlBarStyle = AFX_DEFAULT_DOCKING_PANE_STYLE, CCreateContext* pContext = nullptr);
    CString GetCaption() const;

    // ---- A pane as a tabbed document (when its frame allows it: m_bCanConvertControlBarToMDIChild):
    // its window leaves the dock for a tab among the case windows, and comes back.
    virtual BOOL ConvertToTabbedDocument(BOOL bActiveTabOnly = TRUE);
    BOOL ConvertToDockedPane();
    BOOL IsTabbedDocument() const;
    // ---- Auto-hide (when the frame allows it on the pane's side): pinned off, the pane collapses to a
    // tab on its side of the frame; the tab slides it out over the case windows, and it slides back
    // when the focus leaves it (or, slid out by hovering, the mouse); pinned again it docks.
    virtual void SetAutoHideMode(BOOL bMode, DWORD dwAlignment = 0, void* pCurrAutoHideBar = nullptr,
                                 BOOL bUseTimer = TRUE);
    BOOL IsAutoHideMode() const;
    // Slides an auto-hide pane out (bUseTimer: as by hovering, back when the mouse leaves) or back.
    void Slide(BOOL bSlideOut, BOOL bUseTimer = TRUE);
    // What the pin button does (tests; the button ends here).
    void OnPinButton() { SetAutoHideMode(!IsAutoHideMode(), GetCurrentAlignment()); }

    // ---- Dragging a floating pane: with smart docking, guides for the four sides and the centre show
    // over the frame, the one under the mouse marked; let go on one, the pane docks at that side (the
    // centre: as a tabbed document). The toolkit's drag ends here; tests call them.
    void OnDragMove(CPoint ptScreen);
    void OnDragEnd(CPoint ptScreen);

    // The pane menu at a screen point (a right click on its caption or its document tab): Floating,
    // Docking, Tabbed Document, Hide.
    void ShowPaneMenu(CPoint ptScreen);

protected:
    friend struct AutoHideAccess;
    void SetUpAutoHide(); // the pin on the caption, when the frame allows auto-hide
    void OnPaneAutoHide();
    void OnUpdatePaneAutoHide(CCmdUI* pCmdUI);
    void OnPaneFloating();
    void OnPaneDocking();
    void OnPaneTabbed();
    void OnPaneHide();
    void OnUpdatePaneFloating(CCmdUI* pCmdUI);
    void OnUpdatePaneDocking(CCmdUI* pCmdUI);
    void OnUpdatePaneTabbed(CCmdUI* pCmdUI);
    void OnUpdatePaneHide(CCmdUI* pCmdUI);
    DECLARE_MESSAGE_MAP()
};

// The docking manager's mode: DT_SMART shows docking guides while a pane is dragged.
enum AFX_DOCK_TYPE
{
    DT_UNDEFINED = 0,
    DT_IMMEDIATE = 1,
    DT_STANDARD = 2,
    DT_SMART = 0x80
};
class CDockingManager
{
public:
    static void SetDockingMode(AFX_DOCK_TYPE dockMode) { s_mode = dockMode; }
    static AFX_DOCK_TYPE GetDockingMode() { return s_mode; }
    // Which guide shows marked (CBRS_ALIGN_LEFT ..., AFX_SMART_CENTRE; 0: none), and whether they show.
    static BOOL AreSmartGuidesShown();
    static DWORD GetMarkedSmartGuide();

private:
    static AFX_DOCK_TYPE s_mode;
};
#define AFX_SMART_CENTRE 0x1u

// Look-and-feel: the visual manager in force is kept by its run-time class, nothing else.
class CMFCVisualManager : public CObject
{
    DECLARE_DYNCREATE(CMFCVisualManager)
public:
    CMFCVisualManager() = default;
    // A new manager brings the standard docking back (a look with smart docking sets it again).
    static void SetDefaultManager(CRuntimeClass* pRTI);
    static CRuntimeClass* GetDefaultManager() { return s_pDefault; }
    static CMFCVisualManager* GetInstance();
    static void RedrawAll() {}

private:
    static CRuntimeClass* s_pDefault;
};
#define QOR_DECLARE_VISUAL_MANAGER(name, base)                                                                         \
    class name : public base                                                                                           \
    {                                                                                                                  \
        DECLARE_DYNCREATE(name)                                                                                        \
                                                                                                                       \
    public:                                                                                                            \
        name() = default;                                                                                              \
    };
QOR_DECLARE_VISUAL_MANAGER(CMFCVisualManagerOfficeXP, CMFCVisualManager)
QOR_DECLARE_VISUAL_MANAGER(CMFCVisualManagerWindows, CMFCVisualManagerOfficeXP)
QOR_DECLARE_VISUAL_MANAGER(CMFCVisualManagerOffice2003, CMFCVisualManagerOfficeXP)
QOR_DECLARE_VISUAL_MANAGER(CMFCVisualManagerVS2005, CMFCVisualManagerOffice2003)
QOR_DECLARE_VISUAL_MANAGER(CMFCVisualManagerVS2008, CMFCVisualManagerVS2005)
QOR_DECLARE_VISUAL_MANAGER(CMFCVisualManagerWindows7, CMFCVisualManagerWindows)
class CMFCVisualManagerOffice2007 : public CMFCVisualManagerOffice2003
{
    DECLARE_DYNCREATE(CMFCVisualManagerOffice2007)
public:
    enum Style
    {
        Office2007_LunaBlue,
        Office2007_ObsidianBlack,
        Office2007_Aqua,
        Office2007_Silver
    };
    CMFCVisualManagerOffice2007() = default;
    static void SetStyle(Style style) { s_style = style; }
    static Style GetStyle() { return s_style; }

private:
    static Style s_style;
};
