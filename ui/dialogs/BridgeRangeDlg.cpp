// The bridge-range choice: bridge set, load model and stepping.
#include "ui/dialogs/BridgeRangeDlg.h"

#include "engine/model/BridgeSet.h"
#include "engine/model/LoadModel.h"
#include "res/AnalysisDialogs.h"
#include "ui/dialogs/ChoiceLists.h"

BEGIN_MESSAGE_MAP(CBridgeRangeDlg, CDialogEx)
ON_LBN_SELCHANGE(IDC_LIST_BRIDGESET, OnSelChangeBridgeSet)
ON_LBN_SELCHANGE(IDC_LIST_LOADMODEL, OnSelChangeLoadModel)
ON_BN_CLICKED(IDC_RADIO_BY_STEP, OnByStep)
ON_BN_CLICKED(IDC_RADIO_BY_COUNT, OnByCount)
ON_EN_CHANGE(IDC_EDIT_STEP, OnChangeStep)
ON_EN_CHANGE(IDC_EDIT_NSTEPS, OnChangeSteps)
END_MESSAGE_MAP()

CBridgeRangeDlg::CBridgeRangeDlg(CWnd* pParent) : CDialogEx(IDD_BRIDGE_RANGE, pParent) {}

void CBridgeRangeDlg::DoDataExchange(CDataExchange* pDX)
{
    CDialogEx::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_LIST_BRIDGESET, m_lbBridgeSet);
    DDX_Control(pDX, IDC_LIST_LOADMODEL, m_lbLoadModel);
    DDX_Text(pDX, IDC_EDIT_STEP, m_StepSize);
    DDX_Text(pDX, IDC_EDIT_NSTEPS, m_nSteps);
    qor::dialogs::ValidateStepping(pDX, m_bByStep, m_StepSize, m_nSteps);
}

BOOL CBridgeRangeDlg::OnInitDialog()
{
    CDialogEx::OnInitDialog();
    qor::dialogs::FillElementList(m_lbBridgeSet, m_vBridgeSet);
    qor::dialogs::FillElementList(m_lbLoadModel, m_vLoadModel);
    qor::dialogs::ApplySteppingRule(*this, m_bByStep);
    UpdateData(FALSE);
    qor::dialogs::SayIfSteppingOutside(m_bByStep, m_StepSize, m_nSteps);
    return TRUE;
}

void CBridgeRangeDlg::OnSelChangeBridgeSet() { qor::dialogs::TakeSelection(m_lbBridgeSet, m_nBridgeSetIndex); }

void CBridgeRangeDlg::OnSelChangeLoadModel() { qor::dialogs::TakeSelection(m_lbLoadModel, m_nLoadModelIndex); }

void CBridgeRangeDlg::OnByStep()
{
    m_bByStep = true;
    qor::dialogs::ApplySteppingRule(*this, m_bByStep);
}

void CBridgeRangeDlg::OnByCount()
{
    m_bByStep = false;
    qor::dialogs::ApplySteppingRule(*this, m_bByStep);
}

void CBridgeRangeDlg::OnChangeStep() { qor::dialogs::ReadNumber(*this, IDC_EDIT_STEP, m_StepSize); }

void CBridgeRangeDlg::OnChangeSteps() { qor::dialogs::ReadNumber(*this, IDC_EDIT_NSTEPS, m_nSteps); }
