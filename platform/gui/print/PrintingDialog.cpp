// The printing dialog: built from a template of its own, shown modal to the application while a job prints.
#include "platform/gui/print/PrintingDialog.h"

#include "platform/gui/widgets/Controls.h"
#include "platform/gui/window/AfxRes.h"
#include "platform/gui/window/WndInternal.h"

#include <QtWidgets/QWidget>

IMPLEMENT_DYNAMIC(CPrintingDialog, CDialog)

namespace {

const DialogItem kItems[] = {
    {L"Static", 0xFFFF, L"Printing", SS_CENTER, 7, 8, 146, 9},
    {L"Static", AFX_IDC_PRINT_DOCNAME, L"", SS_CENTER | SS_NOPREFIX, 7, 19, 146, 9},
    {L"Static", AFX_IDC_PRINT_PRINTERNAME, L"", SS_CENTER | SS_NOPREFIX, 7, 30, 146, 9},
    {L"Static", AFX_IDC_PRINT_PAGENUM, L"", SS_CENTER | SS_NOPREFIX, 7, 45, 146, 9},
    {L"Button", IDCANCEL, L"Cancel", BS_DEFPUSHBUTTON | WS_TABSTOP, 55, 62, 50, 14},
};

const DialogTemplate kTemplate{0,      L"Printing",      DS_MODALFRAME | WS_POPUP | WS_CAPTION | WS_SYSMENU, 160, 83,
                               kItems, std::size(kItems)};

CPrintingDialog* g_open = nullptr;

} // namespace

CPrintingDialog::CPrintingDialog(CWnd* pParentWnd) { m_pParentWnd = pParentWnd; }

CPrintingDialog::~CPrintingDialog()
{
    if (g_open == this) g_open = nullptr;
    if (m_hWnd) DestroyWindow();
}

BOOL CPrintingDialog::Create(LPCTSTR lpszDocName, LPCTSTR lpszPrinterName)
{
    if (!CreateIndirect(&kTemplate, m_pParentWnd)) return FALSE;
    SetDlgItemText(AFX_IDC_PRINT_DOCNAME, lpszDocName);
    CString printer;
    if (lpszPrinterName && *lpszPrinterName) printer.Format(L"on %s", lpszPrinterName);
    SetDlgItemText(AFX_IDC_PRINT_PRINTERNAME, printer);
    // Modal to the application, yet shown without a loop of its own: the job's steps take the input.
    if (QWidget* widget = qor::gui::WidgetOf(this)) widget->setWindowModality(Qt::ApplicationModal);
    CenterWindow(m_pParentWnd);
    ShowWindow(SW_SHOW);
    if (CWnd* cancel = GetDlgItem(IDCANCEL)) cancel->SetFocus();
    g_open = this;
    return TRUE;
}

void CPrintingDialog::SetPage(UINT nPage, UINT nPages)
{
    if (!m_hWnd) return;
    CString text;
    if (nPages)
        text.Format(L"Now printing page %u of %u", nPage, nPages);
    else
        text.Format(L"Now printing page %u", nPage);
    CString shown;
    GetDlgItemText(AFX_IDC_PRINT_PAGENUM, shown);
    if (shown != text) SetDlgItemText(AFX_IDC_PRINT_PAGENUM, text);
}

CPrintingDialog* CPrintingDialog::GetOpen() { return g_open; }

void CPrintingDialog::OnCancel()
{
    m_bCancelled = TRUE;
    SetDlgItemText(AFX_IDC_PRINT_PAGENUM, L"Cancelling...");
    if (CWnd* cancel = GetDlgItem(IDCANCEL)) cancel->EnableWindow(FALSE);
}
