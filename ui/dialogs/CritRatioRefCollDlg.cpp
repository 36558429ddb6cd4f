// The critical-ratio choice: proposed vehicle, reference collection and global multiplier.
#include "ui/dialogs/CritRatioRefCollDlg.h"

#include "engine/analysis/ReferenceCollection.h"
#include "engine/model/LoadModel.h"
#include "engine/model/LoadModelEnsemble.h"
#include "engine/settings/Settings.h"
#include "res/AnalysisDialogs.h"
#include "ui/dialogs/ChoiceLists.h"
#include "ui/dialogs/InputRanges.h"

BEGIN_MESSAGE_MAP(CCritRatioRefCollDlg, CDialogEx)
ON_LBN_SELCHANGE(IDC_LIST_LOADMODEL, OnSelChangeLoadModel)
ON_LBN_SELCHANGE(IDC_LIST_LME, OnSelChangeLME)
ON_LBN_SELCHANGE(IDC_LIST_REFCOLLECTION, OnSelChangeRefCollection)
ON_BN_CLICKED(IDC_RADIO_USE_LM, OnUseLoadModel)
ON_BN_CLICKED(IDC_RADIO_USE_LME, OnUseLME)
ON_EN_CHANGE(IDC_EDIT_MULTIPLIER, OnChangeMultiplier)
END_MESSAGE_MAP()

CCritRatioRefCollDlg::CCritRatioRefCollDlg(CWnd* pParent) : CDialogEx(IDD_CRIT_RATIO_REF_COLL, pParent) {}

void CCritRatioRefCollDlg::DoDataExchange(CDataExchange* pDX)
{
    CDialogEx::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_LIST_LOADMODEL, m_lbLoadModel);
    DDX_Control(pDX, IDC_LIST_LME, m_lbLME);
    DDX_Control(pDX, IDC_LIST_REFCOLLECTION, m_lbRefCollection);
    DDX_Control(pDX, IDC_EDIT_MULTIPLIER, m_editMultiplier);
    if (pDX->m_bSaveAndValidate)
    {
        m_Multiplier = m_editMultiplier.GetValue();
        qor::dialogs::ValidateRange(pDX, IDC_EDIT_MULTIPLIER, m_Multiplier, qor::dialogs::kMultiplierRange);
    }
    else
        m_editMultiplier.SetValue(m_Multiplier);
}

BOOL CCritRatioRefCollDlg::OnInitDialog()
{
    CDialogEx::OnInitDialog();
    qor::dialogs::FillElementList(m_lbLoadModel, m_vLoadModel);
    qor::dialogs::FillElementList(m_lbLME, m_vLoadModelEnsemble);
    qor::dialogs::FillElementList(m_lbRefCollection, m_vRefCollection);
    m_bUseLoadModel = true;
    CheckRadioButton(IDC_RADIO_USE_LM, IDC_RADIO_USE_LME, IDC_RADIO_USE_LM);
    m_lbLME.EnableWindow(FALSE);

    m_editMultiplier.SetLeadingZero(TRUE);
    const int decimals = CSettings::GetInstance()->General.DecimalPlaces.FACTOR;
    if (decimals >= 0) m_editMultiplier.SetDecimalDigitCount(decimals);
    UpdateData(FALSE);
    m_bInitialised = true;
    return TRUE;
}

void CCritRatioRefCollDlg::OnSelChangeLoadModel() { qor::dialogs::TakeSelection(m_lbLoadModel, m_nLoadModelIndex); }

void CCritRatioRefCollDlg::OnSelChangeLME() { qor::dialogs::TakeSelection(m_lbLME, m_nLMEIndex); }

void CCritRatioRefCollDlg::OnSelChangeRefCollection()
{
    qor::dialogs::TakeSelection(m_lbRefCollection, m_nRefCollectionIndex);
}

void CCritRatioRefCollDlg::OnUseLoadModel()
{
    m_bUseLoadModel = true;
    qor::dialogs::ApplyModelRule(m_lbLoadModel, m_lbLME, m_bUseLoadModel);
}

void CCritRatioRefCollDlg::OnUseLME()
{
    m_bUseLoadModel = false;
    qor::dialogs::ApplyModelRule(m_lbLoadModel, m_lbLME, m_bUseLoadModel);
}

// The edit is empty until the first exchange writes the multiplier into it: a change
// reported before then must not become the multiplier.
void CCritRatioRefCollDlg::OnChangeMultiplier()
{
    if (m_bInitialised && m_editMultiplier.GetSafeHwnd()) m_Multiplier = m_editMultiplier.GetValue();
}
