// The windows-manager dialog of a tabbed MDI frame (Window > Windows...): the open windows in a list,
// with Activate, Save, Close Window(s) and OK.
#pragma once

#include "platform/gui/dialogs/Dialog.h"
#include "platform/gui/widgets/Controls.h"

#include <vector>

class CMDIFrameWndEx;
class CMDIChildWnd;

class CMFCWindowsManagerDialog : public CDialog
{
public:
    CMFCWindowsManagerDialog(CMDIFrameWndEx* pMDIFrame, BOOL bHelpButton = FALSE);

    // Control ids (tests press them).
    enum : UINT
    {
        IDC_WINDOWS_LIST = 0xE3A0,
        IDC_WINDOWS_ACTIVATE,
        IDC_WINDOWS_SAVE,
        IDC_WINDOWS_CLOSE
    };

    // The windows listed, in the list's order.
    const std::vector<CMDIChildWnd*>& Listed() const { return m_windows; }

protected:
    BOOL OnInitDialog() override;
    void OnActivate();
    void OnSave();
    void OnCloseWindows();
    void OnSelChange();
    DECLARE_MESSAGE_MAP()

private:
    void FillList();
    void UpdateButtons();
    std::vector<CMDIChildWnd*> Selected() const;
    CMDIFrameWndEx* m_pMDIFrame;
    CListBox m_list;
    std::vector<CMDIChildWnd*> m_windows;
};
