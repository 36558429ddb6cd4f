// The windows-manager dialog: lists the frame's child windows and activates, saves or closes them.
#include "platform/gui/frame/WindowsManagerDialog.h"

#include "platform/gui/dialogs/DialogTemplate.h"
#include "platform/gui/frame/Frame.h"
#include "platform/gui/window/AfxRes.h"

#include <algorithm>

namespace {

constexpr DWORD kButton = BS_PUSHBUTTON | WS_TABSTOP;
const DialogItem kItems[] = {
    {L"Static", 0xFFFF, L"Select &window:", SS_LEFT, 7, 7, 180, 8},
    {L"ListBox", CMFCWindowsManagerDialog::IDC_WINDOWS_LIST, L"",
     LBS_NOTIFY | LBS_EXTENDEDSEL | LBS_NOINTEGRALHEIGHT | WS_VSCROLL | WS_BORDER | WS_TABSTOP, 7, 18, 180, 130},
    {L"Button", CMFCWindowsManagerDialog::IDC_WINDOWS_ACTIVATE, L"&Activate", BS_DEFPUSHBUTTON | WS_TABSTOP, 195, 18,
     70, 14},
    {L"Button", IDOK, L"OK", kButton, 195, 36, 70, 14},
    {L"Button", CMFCWindowsManagerDialog::IDC_WINDOWS_SAVE, L"&Save", kButton, 195, 54, 70, 14},
    {L"Button", CMFCWindowsManagerDialog::IDC_WINDOWS_CLOSE, L"&Close Window(s)", kButton, 195, 72, 70, 14},
};
const DialogTemplate kTemplate{0,
                               L"Windows",
                               DS_MODALFRAME | WS_POPUP | WS_CAPTION | WS_SYSMENU,
                               272,
                               155,
                               kItems,
                               sizeof(kItems) / sizeof(kItems[0])};

} // namespace

BEGIN_MESSAGE_MAP(CMFCWindowsManagerDialog, CDialog)
ON_BN_CLICKED(IDC_WINDOWS_ACTIVATE, OnActivate)
ON_BN_CLICKED(IDC_WINDOWS_SAVE, OnSave)
ON_BN_CLICKED(IDC_WINDOWS_CLOSE, OnCloseWindows)
ON_LBN_SELCHANGE(IDC_WINDOWS_LIST, OnSelChange)
ON_LBN_DBLCLK(IDC_WINDOWS_LIST, OnActivate)
END_MESSAGE_MAP()

CMFCWindowsManagerDialog::CMFCWindowsManagerDialog(CMDIFrameWndEx* pMDIFrame, BOOL) : m_pMDIFrame(pMDIFrame)
{
    // The help button is the framework's option; this program has no help topics behind it.
    InitModalIndirect(&kTemplate, pMDIFrame);
}

BOOL CMFCWindowsManagerDialog::OnInitDialog()
{
    CDialog::OnInitDialog();
    m_list.SubclassDlgItem(IDC_WINDOWS_LIST, this);
    FillList();
    return TRUE;
}

void CMFCWindowsManagerDialog::FillList()
{
    m_list.ResetContent();
    m_windows = m_pMDIFrame ? m_pMDIFrame->GetMDIChildren() : std::vector<CMDIChildWnd*>();
    CMDIChildWnd* active = m_pMDIFrame ? m_pMDIFrame->MDIGetActive() : nullptr;
    for (size_t i = 0; i < m_windows.size(); ++i)
    {
        CString title;
        m_windows[i]->GetWindowText(title);
        m_list.AddString(title);
        if (m_windows[i] == active) m_list.SetSel(static_cast<int>(i), TRUE);
    }
    UpdateButtons();
}

std::vector<CMDIChildWnd*> CMFCWindowsManagerDialog::Selected() const
{
    std::vector<CMDIChildWnd*> chosen;
    for (int i = 0; i < static_cast<int>(m_windows.size()); ++i)
        if (m_list.GetSel(i) > 0) chosen.push_back(m_windows[static_cast<size_t>(i)]);
    return chosen;
}

void CMFCWindowsManagerDialog::UpdateButtons()
{
    const size_t count = Selected().size();
    if (CWnd* b = GetDlgItem(IDC_WINDOWS_ACTIVATE)) b->EnableWindow(count == 1);
    if (CWnd* b = GetDlgItem(IDC_WINDOWS_SAVE)) b->EnableWindow(count > 0);
    if (CWnd* b = GetDlgItem(IDC_WINDOWS_CLOSE)) b->EnableWindow(count > 0);
}

void CMFCWindowsManagerDialog::OnSelChange() { UpdateButtons(); }

void CMFCWindowsManagerDialog::OnActivate()
{
    const std::vector<CMDIChildWnd*> chosen = Selected();
    if (chosen.size() != 1) return;
    chosen.front()->MDIActivate();
    EndDialog(IDOK);
}

void CMFCWindowsManagerDialog::OnSave()
{
    // Each document once, however many of its windows are chosen; through the window's own route, so
    // that the document's Save (and its questions) runs as the menu runs it.
    std::vector<CDocument*> saved;
    for (CMDIChildWnd* child : Selected())
    {
        CDocument* doc = child->GetActiveDocument();
        if (!doc || std::find(saved.begin(), saved.end(), doc) != saved.end()) continue;
        saved.push_back(doc);
        child->SendMessage(WM_COMMAND, ID_FILE_SAVE, 0);
    }
    FillList();
}

void CMFCWindowsManagerDialog::OnCloseWindows()
{
    for (CMDIChildWnd* child : Selected())
    {
        // A window may take others with it (the last window of a document closes the document).
        const std::vector<CMDIChildWnd*> live = m_pMDIFrame->GetMDIChildren();
        if (std::find(live.begin(), live.end(), child) != live.end()) child->SendMessage(WM_CLOSE, 0, 0);
    }
    FillList();
}
