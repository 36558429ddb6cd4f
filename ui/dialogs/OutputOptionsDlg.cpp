// "Output options": the flags follow the boxes click by click.
#include "ui/dialogs/OutputOptionsDlg.h"

#include "res/Resource.h"

IMPLEMENT_DYNAMIC(COutputOptionsDlg, CDialogEx)

BEGIN_MESSAGE_MAP(COutputOptionsDlg, CDialogEx)
ON_BN_CLICKED(IDC_BMSF, OnBMSF)
ON_BN_CLICKED(IDC_REACTIONS, OnReactions)
ON_BN_CLICKED(IDC_GRAPHS, OnGraphs)
ON_BN_CLICKED(IDC_TABLES, OnTables)
END_MESSAGE_MAP()

COutputOptionsDlg::COutputOptionsDlg(CWnd* pParent) : CDialogEx(IDD_OUTPUT_OPTIONS, pParent) {}

void COutputOptionsDlg::DoDataExchange(CDataExchange* pDX)
{
    CDialogEx::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_BMSF, m_BMSFCheck);
    DDX_Control(pDX, IDC_REACTIONS, m_ReactionsCheck);
    DDX_Control(pDX, IDC_GRAPHS, m_GraphsCheck);
    DDX_Control(pDX, IDC_TABLES, m_TablesCheck);
}

BOOL COutputOptionsDlg::OnInitDialog()
{
    CDialogEx::OnInitDialog();
    if (m_bBMSF) m_BMSFCheck.SetCheck(BST_CHECKED);
    if (m_bReactions) m_ReactionsCheck.SetCheck(BST_CHECKED);
    if (m_bGraphs) m_GraphsCheck.SetCheck(BST_CHECKED);
    if (m_bTables) m_TablesCheck.SetCheck(BST_CHECKED);
    return TRUE;
}
