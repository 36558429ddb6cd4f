// "Case Information".
#include "ui/dialogs/ConfigDlg.h"

#include "res/Resource.h"

IMPLEMENT_DYNAMIC(CConfigDlg, CDialogEx)

BEGIN_MESSAGE_MAP(CConfigDlg, CDialogEx)
END_MESSAGE_MAP()

CConfigDlg::CConfigDlg(CWnd* pParent) : CDialogEx(IDD_CONFIG, pParent) {}

void CConfigDlg::DoDataExchange(CDataExchange* pDX)
{
    CDialogEx::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_CASE_REF, m_CaseRefCtrl);
    DDX_Control(pDX, IDC_CASE_NOTES, m_CaseNotesCtrl);
    DDX_Text(pDX, IDC_CASE_REF, m_sCaseRef);
    DDX_Text(pDX, IDC_CASE_NOTES, m_sCaseNotes);
}

BOOL CConfigDlg::OnInitDialog()
{
    CDialogEx::OnInitDialog();
    return TRUE;
}

void CConfigDlg::OnOK()
{
    if (!UpdateData(TRUE)) return;
    EndDialog(IDOK);
}
