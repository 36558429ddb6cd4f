// The single-position choice: two element lists and the position of the load model.
#include "ui/dialogs/SinglePositionDlg.h"

#include "engine/model/Bridge.h"
#include "engine/model/LoadModel.h"
#include "res/AnalysisDialogs.h"
#include "ui/dialogs/ChoiceLists.h"
#include "ui/dialogs/InputRanges.h"

BEGIN_MESSAGE_MAP(CSinglePositionDlg, CDialog)
ON_LBN_SELCHANGE(IDC_LIST_BRIDGE, OnSelChangeBridge)
ON_LBN_SELCHANGE(IDC_LIST_LOADMODEL, OnSelChangeLoadModel)
ON_EN_CHANGE(IDC_EDIT_POSITION, OnChangePosition)
END_MESSAGE_MAP()

CSinglePositionDlg::CSinglePositionDlg(CWnd* pParent) : CDialog(IDD_SINGLE_POSITION, pParent) {}

void CSinglePositionDlg::DoDataExchange(CDataExchange* pDX)
{
    CDialog::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_LIST_BRIDGE, m_lbBridge);
    DDX_Control(pDX, IDC_LIST_LOADMODEL, m_lbLoadModel);
    DDX_Text(pDX, IDC_EDIT_POSITION, m_Position);
    qor::dialogs::ValidateRange(pDX, IDC_EDIT_POSITION, m_Position, qor::dialogs::kPositionRange);
}

BOOL CSinglePositionDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    qor::dialogs::FillElementList(m_lbBridge, m_vBridge);
    qor::dialogs::FillElementList(m_lbLoadModel, m_vLoadModel);
    return TRUE;
}

void CSinglePositionDlg::OnSelChangeBridge() { qor::dialogs::TakeSelection(m_lbBridge, m_nBridgeIndex); }

void CSinglePositionDlg::OnSelChangeLoadModel() { qor::dialogs::TakeSelection(m_lbLoadModel, m_nLoadModelIndex); }

void CSinglePositionDlg::OnChangePosition() { qor::dialogs::ReadNumber(*this, IDC_EDIT_POSITION, m_Position); }
