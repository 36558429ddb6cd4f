// What the framework's extended MDI frame adds to the plain one: the windows-manager dialog.
#include "platform/gui/Frame.h"

#include "platform/gui/FrameInternal.h"
#include "platform/gui/WindowsManagerDialog.h"

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
