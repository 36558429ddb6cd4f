// Dialogs: CDialog built from a template (DialogTemplate.h), modal (DoModal runs a nested
// event loop until EndDialog) or modeless (Create); dialog keys (Tab, arrows in a group,
// Enter -> the default button, Escape -> IDCANCEL); data exchange between members and
// controls (DoDataExchange, DDX_/DDV_ functions, UpdateData).
#pragma once

#include "platform/core/CString.h"
#include "platform/core/MessageBox.h"
#include "platform/gui/dialogs/DialogTemplate.h"
#include "platform/gui/window/Wnd.h"

#include <functional>
#include <memory>
#include <vector>

class CDialog;
class CFont;

// Thrown by CDataExchange::Fail (a value was refused; the user has been told).
class CUserException
{
public:
    virtual ~CUserException() = default;
    void Delete() {}
};
[[noreturn]] void AfxThrowUserException();

// The direction and target of one data exchange.
class CDataExchange
{
public:
    CDataExchange(CWnd* pDlgWnd, BOOL bSaveAndValidate);

    BOOL m_bSaveAndValidate; // TRUE: controls -> members
    CWnd* m_pDlgWnd;

    // The control of an id (a failure when there is none); remembered for Fail.
    HWND PrepareCtrl(int nIDC);
    HWND PrepareEditCtrl(int nIDC);
    // Moves the focus to the last prepared control and throws CUserException.
    [[noreturn]] void Fail();

    HWND m_idLastControl = nullptr;
    BOOL m_bEditLastControl = FALSE;
};

// ---- Data exchange ----------------------------------------------------------------------------
// Numbers are written as the framework writes them ("%d", "%u", doubles "%.15g", floats
// "%.6g") and must parse completely (surrounding blanks allowed); otherwise the user is told
// "Please enter an integer." / "Please enter a number." and the exchange fails.
void DDX_Text(CDataExchange* pDX, int nIDC, CString& value);
void DDX_Text(CDataExchange* pDX, int nIDC, int& value);
void DDX_Text(CDataExchange* pDX, int nIDC, UINT& value);
void DDX_Text(CDataExchange* pDX, int nIDC, long& value);
void DDX_Text(CDataExchange* pDX, int nIDC, short& value);
void DDX_Text(CDataExchange* pDX, int nIDC, double& value);
void DDX_Text(CDataExchange* pDX, int nIDC, float& value);
void DDX_Check(CDataExchange* pDX, int nIDC, int& value);
// nIDC: the first radio button of a group (WS_GROUP); value: the index of the checked one, -1 none.
void DDX_Radio(CDataExchange* pDX, int nIDC, int& value);
void DDX_CBIndex(CDataExchange* pDX, int nIDC, int& index);
void DDX_LBIndex(CDataExchange* pDX, int nIDC, int& index);
void DDX_CBString(CDataExchange* pDX, int nIDC, CString& value);
void DDX_LBString(CDataExchange* pDX, int nIDC, CString& value);
// Attaches the member to the template's control the first time (SubclassWindow).
void DDX_Control(CDataExchange* pDX, int nIDC, CWnd& rControl);

void DDV_MinMaxInt(CDataExchange* pDX, int value, int minVal, int maxVal);
void DDV_MinMaxUInt(CDataExchange* pDX, UINT value, UINT minVal, UINT maxVal);
void DDV_MinMaxDouble(CDataExchange* pDX, double const& value, double minVal, double maxVal);
void DDV_MaxChars(CDataExchange* pDX, CString const& value, int nChars);

// ---- CDialog ----------------------------------------------------------------------------------
class CDialog : public CWnd
{
    DECLARE_DYNAMIC(CDialog)
public:
    CDialog();
    explicit CDialog(UINT nIDTemplate, CWnd* pParentWnd = nullptr);
    explicit CDialog(LPCTSTR lpszTemplateName, CWnd* pParentWnd = nullptr);
    ~CDialog() override;

    // Modeless: builds the dialog (WM_INITDIALOG included) and returns at once.
    virtual BOOL Create(UINT nIDTemplate, CWnd* pParentWnd = nullptr);
    virtual BOOL Create(LPCTSTR lpszTemplateName, CWnd* pParentWnd = nullptr);
    BOOL CreateIndirect(const DialogTemplate* pTemplate, CWnd* pParentWnd = nullptr);
    // Modal with a template given directly.
    BOOL InitModalIndirect(const DialogTemplate* pTemplate, CWnd* pParentWnd = nullptr);

    // Runs the dialog; returns the EndDialog value (IDOK, IDCANCEL ...), -1 when it could not
    // be made. In a test it is driven (platform/test/DialogTest.h) and never blocks.
    virtual INT_PTR DoModal();
    void EndDialog(int nResult);
    BOOL IsModal() const { return m_bInModalLoop; }

    virtual BOOL OnInitDialog();
    virtual void OnOK();
    virtual void OnCancel();
    virtual void DoDataExchange(CDataExchange* pDX);
    BOOL UpdateData(BOOL bSaveAndValidate = TRUE);

    // Keyboard: what the modal loop does with a key before the focused control sees it.
    BOOL PreTranslateMessage(MSG* pMsg) override;
    BOOL IsDialogMessage(LPMSG lpMsg);

    // Default button (Enter).
    DWORD GetDefID() const;
    void SetDefID(UINT nID);
    // Focus moves.
    void NextDlgCtrl() const;
    void PrevDlgCtrl() const;
    void GotoDlgCtrl(CWnd* pWndCtrl);
    CWnd* GetNextDlgTabItem(CWnd* pWndCtl, BOOL bPrevious = FALSE) const;
    CWnd* GetNextDlgGroupItem(CWnd* pWndCtl, BOOL bPrevious = FALSE) const;

    // Controls by id.
    void CheckRadioButton(int nIDFirstButton, int nIDLastButton, int nIDCheckButton);
    int GetCheckedRadioButton(int nIDFirstButton, int nIDLastButton);
    void CheckDlgButton(int nIDButton, UINT nCheck);
    UINT IsDlgButtonChecked(int nIDButton) const;
    UINT GetDlgItemInt(int nID, BOOL* lpTrans = nullptr, BOOL bSigned = TRUE) const;
    void SetDlgItemInt(int nID, UINT nValue, BOOL bSigned = TRUE);
    LRESULT SendDlgItemMessage(int nID, UINT message, WPARAM wParam = 0, LPARAM lParam = 0);
    using CWnd::GetDlgItem;
    void GetDlgItem(int nID, HWND* phWnd) const;

    // Dialog units -> pixels of this dialog's font.
    void MapDialogRect(LPRECT lpRect) const;
    // The dialog font's base units (average character width, character height).
    CSize GetBaseUnits() const { return m_baseUnits; }
    // The template the dialog is built from (nullptr when unknown).
    const DialogTemplate* GetTemplate() const;

    void SetHelpID(UINT) {}

    // Template source.
    LPCTSTR m_lpszTemplateName = nullptr;
    UINT m_nIDHelp = 0;
    CWnd* m_pParentWnd = nullptr;

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    void PostNcDestroy() override;

    // Builds the window from the template: top-level (modal / modeless) or a child (a
    // property page). Sends WM_INITDIALOG and sets the first focus. FALSE on failure.
    BOOL CreateFromTemplate(const DialogTemplate* tmpl, CWnd* pParent, bool child, const RECT* childRect);
    // Computes the base units of a template's font.
    static CSize BaseUnitsOf(const DialogTemplate* tmpl, std::unique_ptr<CFont>* fontOut);

    DECLARE_MESSAGE_MAP()

protected:
    const DialogTemplate* m_pTemplate = nullptr;
    int m_nModalResult = -1;
    bool m_bInModalLoop = false;
    bool m_bEnded = false;
    bool m_bFocusFirst = false;
    void FocusFirst();
    UINT m_nDefID = IDOK;
    CSize m_baseUnits{0, 0};
    std::unique_ptr<CFont> m_font;
    std::vector<std::unique_ptr<CWnd>> m_templateControls; // the template's windows
    void* m_loop = nullptr;                                // the running modal loop

    friend class CPropertySheet;
    friend struct DialogAccess;
};

// The CMFC variants used by the program add nothing the program relies on.
class CDialogEx : public CDialog
{
    DECLARE_DYNAMIC(CDialogEx)
public:
    using CDialog::CDialog;
    CDialogEx() = default;
    void SetBackgroundColor(COLORREF color, BOOL bRepaint = TRUE);
    void SetBackgroundImage(void*, int = 0, BOOL = TRUE, BOOL = TRUE) {}
};

namespace qor::gui {

// Modal dialogs in tests: a driver plays the user's part. It is called once the modal
// window (a CDialog or CPropertySheet) has been initialised and shown, sets controls, and
// ends it (EndDialog, or pressing OK / Cancel). Returns the previous driver.
using ModalDialogDriver = std::function<void(CWnd& modal)>;
ModalDialogDriver SetModalDialogDriver(ModalDialogDriver driver);
// Called when a modal window runs with no driver where nobody can answer it (tests install
// one that records a test failure); the window then ends with IDCANCEL. A driver that
// returns with its window still open is reported here too.
using ModalFailureHandler = std::function<void(CWnd& modal, const CString& what)>;
ModalFailureHandler SetModalFailureHandler(ModalFailureHandler handler);

// Runs a modal window: the driver, or (interactive) a nested event loop until *done.
// Returns false when the window must be ended with IDCANCEL instead (headless, no driver).
bool RunModalLoop(CWnd& modal, const bool& done, void** loopSlot);
void QuitModalLoop(void* loop);

// A modal window (dialog, sheet, message box) is about to take over: tips go, as they do
// when their owner loses the activation.
void HideTipsForModal();
// A modal window over owner has ended: the owner is the active window again (the window
// manager does not know that the closed window handed the activation back).
void ReactivateOwner(HWND owner);

// Dialog-key handling shared by dialogs and property sheets (dlg: the top-level window).
BOOL DialogKey(CWnd* dlg, MSG* msg, UINT defId);
// Windows of a dialog in tab order (children, and the children of child dialogs).
std::vector<CWnd*> DialogControls(const CWnd* dlg);
// Installs the application-wide key filter that gives dialogs their keys (once).
void EnsureDialogKeyFilter();
// The window class of dialogs and property sheets ("#32770": the dialog face colour).
LPCTSTR DialogWindowClass();

} // namespace qor::gui
