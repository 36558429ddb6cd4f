// The reference collection picker.
#include "ui/dialogs/AnalyzeRefCollectionDlg.h"

#include "engine/analysis/ReferenceCollection.h"
#include "res/AnalysisDialogs.h"
#include "ui/dialogs/ChoiceLists.h"

BEGIN_MESSAGE_MAP(CAnalyzeRefCollectionDlg, CDialogEx)
ON_LBN_SELCHANGE(IDC_LIST_REFCOLLECTION, OnSelChangeRefCollection)
END_MESSAGE_MAP()

CAnalyzeRefCollectionDlg::CAnalyzeRefCollectionDlg(CWnd* pParent) : CDialogEx(IDD_ANALYZE_REF_COLLECTION, pParent) {}

CAnalyzeRefCollectionDlg::CAnalyzeRefCollectionDlg(UINT nIDTemplate, CWnd* pParent) : CDialogEx(nIDTemplate, pParent) {}

void CAnalyzeRefCollectionDlg::DoDataExchange(CDataExchange* pDX)
{
    CDialogEx::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_LIST_REFCOLLECTION, m_lbRefCollection);
}

BOOL CAnalyzeRefCollectionDlg::OnInitDialog()
{
    CDialogEx::OnInitDialog();
    qor::dialogs::FillElementList(m_lbRefCollection, m_vRefCollection);
    return TRUE;
}

void CAnalyzeRefCollectionDlg::OnSelChangeRefCollection()
{
    qor::dialogs::TakeSelection(m_lbRefCollection, m_nRefCollectionIndex);
}
