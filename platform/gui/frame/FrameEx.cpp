// What the framework's extended MDI frame adds to the plain one: the windows-manager dialog and the
// layout of bars and panes kept between runs.
#include "platform/gui/frame/Frame.h"

#include "platform/gui/draw/Convert.h"
#include "platform/gui/frame/Bars.h"
#include "platform/gui/frame/FrameInternal.h"
#include "platform/gui/frame/ToolBarsCustomizeDialog.h"
#include "platform/gui/frame/WindowsManagerDialog.h"
#include "platform/gui/window/App.h"
#include "platform/gui/window/WndInternal.h"

namespace {
// The layout's entry in the profile, and the version of its form (another version is not read).
const wchar_t kWorkspace[] = L"Workspace";
const wchar_t kDockState[] = L"DockState";
// The panes left collapsed or as tabbed documents (the toolkit's layout keeps them docked).
const wchar_t kDockPanes[] = L"DockPanes";
// The main window's place when it was last restored from maximised.
const wchar_t kRestoredPlace[] = L"RestoredPlace";
constexpr int kDockStateVersion = 1;
} // namespace

BEGIN_MESSAGE_MAP(CMDIFrameWndEx, CMDIFrameWnd)
ON_WM_DESTROY()
ON_REGISTERED_MESSAGE(AFX_WM_CREATETOOLBAR, OnToolbarCreateNew)
END_MESSAGE_MAP()

BOOL CMDIFrameWndEx::LoadFrame(UINT nIDResource, DWORD dwDefaultStyle, CWnd* pParentWnd, CCreateContext* pContext)
{
    if (!CMDIFrameWnd::LoadFrame(nIDResource, dwDefaultStyle, pParentWnd, pContext)) return FALSE;
    // The user's toolbars first: the layout places them too.
    LoadToolBarState();
    // The user's layout in place of the panes' first sizes (which wait for the window's own size).
    LoadDockState();
    if (CWinApp* app = AfxGetApp())
        qor::gui::RestoredPlace::Follow(this, app->GetProfileString(kWorkspace, kRestoredPlace, L""));
    return TRUE;
}

void CMDIFrameWndEx::OnDestroy()
{
    // The program ends with its main window: what it keeps of its layout is written with the rest of the
    // profile at the end (CWinApp::ExitInstance), in one write.
    if (CWinApp* app = AfxGetApp(); app && app->m_pMainWnd == this) app->HoldProfileWrites();
    SaveToolBarState();
    SaveDockState();
    if (CWinApp* app = AfxGetApp())
        if (const CString place = qor::gui::RestoredPlace::Save(this); !place.IsEmpty())
            app->WriteProfileString(kWorkspace, kRestoredPlace, place);
    CMDIFrameWnd::OnDestroy();
}

void CMDIFrameWndEx::SaveDockState()
{
    CWinApp* app = AfxGetApp();
    qor::gui::FrameShell* shell = m_pShell.get();
    if (!app || !shell || !shell->window) return;
    app->WriteProfileString(kWorkspace, kDockPanes, qor::gui::KeptPanes::Save(this));
    const QByteArray state = shell->window->saveState(kDockStateVersion).toBase64();
    app->WriteProfileString(kWorkspace, kDockState, qor::gui::FromQString(QString::fromLatin1(state)));
}

BOOL CMDIFrameWndEx::LoadDockState()
{
    CWinApp* app = AfxGetApp();
    qor::gui::FrameShell* shell = m_pShell.get();
    if (!app || !shell || !shell->window) return FALSE;
    const CString text = app->GetProfileString(kWorkspace, kDockState, L"");
    // The toolkit checks the form and the version before it changes anything.
    const QByteArray state =
        QByteArray::fromBase64(qor::gui::ToQString(text).toLatin1(), QByteArray::AbortOnBase64DecodingErrors);
    const BOOL restored = !state.isEmpty() && shell->window->restoreState(state, kDockStateVersion);
    // Panes made later look for their places from now on.
    if (restored) shell->window->setProperty("qorLayoutRestored", true);
    qor::gui::KeptPanes::Load(this, app->GetProfileString(kWorkspace, kDockPanes, L""));
    return restored;
}

void CMDIFrameWndEx::EnableWindowsDialog(UINT uiMenuId, LPCTSTR lpszMenuText, BOOL, BOOL bShowHelpButton)
{
    m_uiWindowsDlgMenuId = uiMenuId;
    m_bShowWindowsDlgHelpButton = bShowHelpButton;
    if (qor::gui::FrameShell* shell = Shell())
    {
        shell->windowsDialogId = uiMenuId;
        shell->windowsDialogText = lpszMenuText ? lpszMenuText : L"";
        // A menu already built gets the entry now; the next ones get it as they are built.
        if (shell->items.find(uiMenuId) == shell->items.end()) shell->AddWindowsDialogItem();
    }
}

void CMDIFrameWndEx::EnableWindowsDialog(UINT uiMenuId, UINT uiMenuTextResId, BOOL bShowAllways, BOOL bShowHelpButton)
{
    CString text;
    text.LoadString(uiMenuTextResId);
    EnableWindowsDialog(uiMenuId, text, bShowAllways, bShowHelpButton);
}

void CMDIFrameWndEx::ShowWindowsDialog()
{
    CMFCWindowsManagerDialog dlg(this, m_bShowWindowsDlgHelpButton);
    dlg.DoModal();
}

BOOL CMDIFrameWndEx::OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo)
{
    if (m_uiWindowsDlgMenuId && nID == m_uiWindowsDlgMenuId)
    {
        if (nCode == CN_UPDATE_COMMAND_UI)
        {
            static_cast<CCmdUI*>(pExtra)->Enable(TRUE);
            return TRUE;
        }
        if (nCode == CN_COMMAND)
        {
            if (!pHandlerInfo) ShowWindowsDialog();
            return TRUE;
        }
    }
    return CMDIFrameWnd::OnCmdMsg(nID, nCode, pExtra, pHandlerInfo);
}
