// The reference collection dialog: check lists of bridge sets and ensembles that edit the
// collection directly, stepping and overstress stored at OK.
#include "ui/dialogs/RefCollectionDlg.h"

#include "engine/analysis/ReferenceCollection.h"
#include "engine/model/BridgeSet.h"
#include "engine/model/LoadModelEnsemble.h"
#include "engine/settings/Settings.h"
#include "res/AnalysisDialogs.h"
#include "ui/dialogs/ChoiceLists.h"
#include "ui/dialogs/InputRanges.h"
#include "ui/dialogs/NumberExchange.h"

BEGIN_MESSAGE_MAP(CRefCollectionDlg, CDialogEx)
ON_BN_CLICKED(IDC_RADIO_BY_STEP, OnByStep)
ON_BN_CLICKED(IDC_RADIO_BY_COUNT, OnByCount)
ON_EN_CHANGE(IDC_EDIT_STEP, OnChangeStep)
ON_EN_CHANGE(IDC_EDIT_NSTEPS, OnChangeSteps)
ON_EN_CHANGE(IDC_EDIT_DESCRIPTION, OnChangeDescription)
ON_BN_CLICKED(IDC_CHECK_OVERSTRESS, OnOverstress)
ON_LBN_SELCHANGE(IDC_LIST_BRIDGESET, OnSelChangeBridgeSet)
ON_LBN_SELCHANGE(IDC_LIST_LME, OnSelChangeLME)
ON_CLBN_CHKCHANGE(IDC_LIST_BRIDGESET, OnCheckChangeBridgeSet)
ON_CLBN_CHKCHANGE(IDC_LIST_LME, OnCheckChangeLME)
END_MESSAGE_MAP()

CRefCollectionDlg::CRefCollectionDlg(CWnd* pParent) : CDialogEx(IDD_REF_COLLECTION, pParent) {}

void CRefCollectionDlg::SetRefCollection(std::shared_ptr<CReferenceCollection> pRefCollection)
{
    m_pRefCollection = std::move(pRefCollection);
    if (!m_pRefCollection) return;
    m_ID = m_pRefCollection->m_ID;
    m_Description = m_pRefCollection->m_Description;
    m_bByStep = m_pRefCollection->m_bByStep;
    m_StepSize = m_pRefCollection->m_StepSize;
    m_nSteps = m_pRefCollection->m_nStepPoints;
    m_bUseOverstress = m_pRefCollection->m_bUseOverstress ? 1 : 0;
    m_OverstressFactor = m_pRefCollection->m_OverstressFactor;
    m_bIsCalculated = m_pRefCollection->m_bIsCalculated ? 1 : 0;
}

void CRefCollectionDlg::DoDataExchange(CDataExchange* pDX)
{
    CDialogEx::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_EDIT_STEP, m_editStep);
    DDX_Control(pDX, IDC_EDIT_NSTEPS, m_editSteps);
    DDX_Control(pDX, IDC_LIST_BRIDGESET, m_lbBridgeSet);
    DDX_Control(pDX, IDC_LIST_LME, m_lbLME);
    DDX_Control(pDX, IDC_STATIC_STEP_UNIT, m_staticStepUnit);
    DDX_Control(pDX, IDC_STATIC_NSTEPS_UNIT, m_staticStepsUnit);
    DDX_Control(pDX, IDC_EDIT_DESCRIPTION, m_editDescription);
    DDX_Control(pDX, IDC_CHECK_OVERSTRESS, m_checkOverstress);
    DDX_Control(pDX, IDC_EDIT_OVERSTRESS_FACTOR, m_editOverstressFactor);
    DDX_Text(pDX, IDC_EDIT_STEP, m_StepSize);
    DDX_Text(pDX, IDC_EDIT_NSTEPS, m_nSteps);
    DDX_Text(pDX, IDC_EDIT_DESCRIPTION, m_Description);
    DDX_Text(pDX, IDC_EDIT_ID, m_ID);
    DDX_Check(pDX, IDC_CHECK_OVERSTRESS, m_bUseOverstress);
    DDX_Check(pDX, IDC_CHECK_CALCULATED, m_bIsCalculated);
    qor::dialogs::ExchangeNumber(pDX, m_editOverstressFactor, m_OverstressFactor, m_OverstressFactorShown);
    if (pDX->m_bSaveAndValidate)
    {
        qor::dialogs::ValidateStepping(pDX, m_bByStep, m_StepSize, m_nSteps);
        // The factor is kept with the collection also while the method is not used.
        if (m_bUseOverstress)
            qor::dialogs::ValidateRange(pDX, IDC_EDIT_OVERSTRESS_FACTOR, m_OverstressFactor,
                                        qor::dialogs::kOverstressRange);
        else
            qor::dialogs::ValidateTyping(pDX, IDC_EDIT_OVERSTRESS_FACTOR, qor::dialogs::kOverstressRange.what);
    }
}

BOOL CRefCollectionDlg::OnInitDialog()
{
    CDialogEx::OnInitDialog();
    m_lbBridgeSet.SetCheckStyle(BS_AUTO3STATE);
    m_lbLME.SetCheckStyle(BS_AUTO3STATE);
    qor::dialogs::FillElementList(m_lbBridgeSet, m_vBridgeSet);
    qor::dialogs::FillElementList(m_lbLME, m_vLoadModelEnsemble);
    for (size_t i = 0; i < m_vBridgeSet.size(); ++i)
        if (m_pRefCollection && m_pRefCollection->ContainsBridgeSet(m_vBridgeSet[i]))
            m_lbBridgeSet.SetCheck(static_cast<int>(i), BST_CHECKED);
    for (size_t i = 0; i < m_vLoadModelEnsemble.size(); ++i)
        if (m_pRefCollection && m_pRefCollection->ContainsLME(m_vLoadModelEnsemble[i]))
            m_lbLME.SetCheck(static_cast<int>(i), BST_CHECKED);
    m_nBridgeSetLine = m_lbBridgeSet.GetCurSel();
    m_nLMELine = m_lbLME.GetCurSel();
    qor::dialogs::ApplySteppingRule(*this, m_bByStep);

    m_editOverstressFactor.SetLeadingZero(TRUE);
    const int decimals = CSettings::GetInstance()->General.DecimalPlaces.FACTOR;
    if (decimals >= 0) m_editOverstressFactor.SetDecimalDigitCount(decimals);
    UpdateData(FALSE);
    // A collection stored by an earlier version may hold values outside today's ranges.
    qor::dialogs::SayIfSteppingOutside(m_bByStep, m_StepSize, m_nSteps);
    if (m_bUseOverstress) qor::dialogs::SayIfStoredOutside(m_OverstressFactor, qor::dialogs::kOverstressRange);
    return TRUE;
}

void CRefCollectionDlg::OnOK()
{
    if (!UpdateData(TRUE)) return;
    if (m_pRefCollection)
    {
        m_pRefCollection->m_bUseOverstress = m_bUseOverstress != 0;
        m_pRefCollection->m_OverstressFactor = m_OverstressFactor;
        m_pRefCollection->m_Description = m_Description;
        m_pRefCollection->m_bByStep = m_bByStep;
        m_pRefCollection->m_StepSize = m_StepSize;
        m_pRefCollection->m_nStepPoints = m_nSteps;
    }
    EndDialog(IDOK);
}

void CRefCollectionDlg::OnByStep()
{
    m_bByStep = true;
    qor::dialogs::ApplySteppingRule(*this, m_bByStep);
}

void CRefCollectionDlg::OnByCount()
{
    m_bByStep = false;
    qor::dialogs::ApplySteppingRule(*this, m_bByStep);
}

void CRefCollectionDlg::OnChangeStep() { qor::dialogs::ReadNumber(*this, IDC_EDIT_STEP, m_StepSize); }

void CRefCollectionDlg::OnChangeSteps() { qor::dialogs::ReadNumber(*this, IDC_EDIT_NSTEPS, m_nSteps); }

void CRefCollectionDlg::OnChangeDescription()
{
    if (m_editDescription.GetSafeHwnd()) m_editDescription.GetWindowText(m_Description);
}

void CRefCollectionDlg::OnOverstress() { m_bUseOverstress = m_checkOverstress.GetCheck() == BST_CHECKED ? 1 : 0; }

void CRefCollectionDlg::OnSelChangeBridgeSet() { m_nBridgeSetLine = m_lbBridgeSet.GetCurSel(); }

void CRefCollectionDlg::OnSelChangeLME() { m_nLMELine = m_lbLME.GetCurSel(); }

// A click moves the box on through the third state; that state means nothing here, so it
// becomes unticked and a click toggles between ticked and unticked.
void CRefCollectionDlg::OnCheckChangeBridgeSet()
{
    const int line = m_lbBridgeSet.GetCurSel();
    if (line < 0 || line >= static_cast<int>(m_vBridgeSet.size()) || !m_pRefCollection) return;
    if (m_lbBridgeSet.GetCheck(line) == BST_INDETERMINATE) m_lbBridgeSet.SetCheck(line, BST_UNCHECKED);
    const std::shared_ptr<CBridgeSet>& bridgeSet = m_vBridgeSet[static_cast<size_t>(line)];
    if (m_lbBridgeSet.GetCheck(line) == BST_CHECKED)
        m_pRefCollection->m_vBS.push_back(bridgeSet);
    else
        m_pRefCollection->RemoveBridgeSet(bridgeSet);
}

void CRefCollectionDlg::OnCheckChangeLME()
{
    const int line = m_lbLME.GetCurSel();
    if (line < 0 || line >= static_cast<int>(m_vLoadModelEnsemble.size()) || !m_pRefCollection) return;
    if (m_lbLME.GetCheck(line) == BST_INDETERMINATE) m_lbLME.SetCheck(line, BST_UNCHECKED);
    const std::shared_ptr<CLoadModelEnsemble>& ensemble = m_vLoadModelEnsemble[static_cast<size_t>(line)];
    if (m_lbLME.GetCheck(line) == BST_CHECKED)
        m_pRefCollection->m_vLME.push_back(ensemble);
    else
        m_pRefCollection->RemoveLME(ensemble);
}
