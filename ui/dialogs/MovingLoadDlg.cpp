// The moving-load choice: bridge, load model or ensemble, stepping and whether each
// sub-analysis is shown.
#include "ui/dialogs/MovingLoadDlg.h"

#include "engine/model/Bridge.h"
#include "engine/model/LoadModel.h"
#include "engine/model/LoadModelEnsemble.h"
#include "res/AnalysisDialogs.h"
#include "ui/dialogs/ChoiceLists.h"

BEGIN_MESSAGE_MAP(CMovingLoadDlg, CDialog)
ON_LBN_SELCHANGE(IDC_LIST_BRIDGE, OnSelChangeBridge)
ON_LBN_SELCHANGE(IDC_LIST_LOADMODEL, OnSelChangeLoadModel)
ON_LBN_SELCHANGE(IDC_LIST_LME, OnSelChangeLME)
ON_BN_CLICKED(IDC_RADIO_BY_STEP, OnByStep)
ON_BN_CLICKED(IDC_RADIO_BY_COUNT, OnByCount)
ON_BN_CLICKED(IDC_RADIO_USE_LM, OnUseLoadModel)
ON_BN_CLICKED(IDC_RADIO_USE_LME, OnUseLME)
ON_BN_CLICKED(IDC_CHECK_DISPLAY_EACH, OnDisplayEach)
ON_EN_CHANGE(IDC_EDIT_STEP, OnChangeStep)
ON_EN_CHANGE(IDC_EDIT_NSTEPS, OnChangeSteps)
END_MESSAGE_MAP()

CMovingLoadDlg::CMovingLoadDlg(CWnd* pParent) : CDialog(IDD_MOVING_LOAD, pParent) {}

void CMovingLoadDlg::DoDataExchange(CDataExchange* pDX)
{
    CDialog::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_LIST_BRIDGE, m_lbBridge);
    DDX_Control(pDX, IDC_LIST_LOADMODEL, m_lbLoadModel);
    DDX_Control(pDX, IDC_LIST_LME, m_lbLME);
    DDX_Text(pDX, IDC_EDIT_STEP, m_StepSize);
    DDX_Text(pDX, IDC_EDIT_NSTEPS, m_nSteps);
    qor::dialogs::ValidateStepping(pDX, m_bByStep, m_StepSize, m_nSteps);
}

BOOL CMovingLoadDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    qor::dialogs::FillElementList(m_lbBridge, m_vBridge);
    qor::dialogs::FillElementList(m_lbLoadModel, m_vLoadModel);
    qor::dialogs::FillElementList(m_lbLME, m_vLoadModelEnsemble);
    m_bUseLoadModel = true;
    CheckRadioButton(IDC_RADIO_USE_LM, IDC_RADIO_USE_LME, IDC_RADIO_USE_LM);
    m_lbLME.EnableWindow(FALSE);
    CheckDlgButton(IDC_CHECK_DISPLAY_EACH, m_bDisplayEach ? BST_CHECKED : BST_UNCHECKED);
    qor::dialogs::ApplySteppingRule(*this, m_bByStep);
    UpdateData(FALSE);
    qor::dialogs::SayIfSteppingOutside(m_bByStep, m_StepSize, m_nSteps);
    return TRUE;
}

void CMovingLoadDlg::OnSelChangeBridge() { qor::dialogs::TakeSelection(m_lbBridge, m_nBridgeIndex); }

void CMovingLoadDlg::OnSelChangeLoadModel() { qor::dialogs::TakeSelection(m_lbLoadModel, m_nLoadModelIndex); }

void CMovingLoadDlg::OnSelChangeLME() { qor::dialogs::TakeSelection(m_lbLME, m_nLMEIndex); }

void CMovingLoadDlg::OnByStep()
{
    m_bByStep = true;
    qor::dialogs::ApplySteppingRule(*this, m_bByStep);
}

void CMovingLoadDlg::OnByCount()
{
    m_bByStep = false;
    qor::dialogs::ApplySteppingRule(*this, m_bByStep);
}

void CMovingLoadDlg::OnUseLoadModel()
{
    m_bUseLoadModel = true;
    qor::dialogs::ApplyModelRule(m_lbLoadModel, m_lbLME, m_bUseLoadModel);
}

void CMovingLoadDlg::OnUseLME()
{
    m_bUseLoadModel = false;
    qor::dialogs::ApplyModelRule(m_lbLoadModel, m_lbLME, m_bUseLoadModel);
}

void CMovingLoadDlg::OnDisplayEach()
{
    m_bDisplayEach = !m_bDisplayEach;
    CheckDlgButton(IDC_CHECK_DISPLAY_EACH, m_bDisplayEach ? BST_CHECKED : BST_UNCHECKED);
}

void CMovingLoadDlg::OnChangeStep() { qor::dialogs::ReadNumber(*this, IDC_EDIT_STEP, m_StepSize); }

void CMovingLoadDlg::OnChangeSteps() { qor::dialogs::ReadNumber(*this, IDC_EDIT_NSTEPS, m_nSteps); }
