// CPropPageLMApplicable: load effects and span rule written at once; the length limits when
// the page is left.
#include "ui/dialogs/PropPageLMApplicable.h"
#include "ui/dialogs/PropSheetLM.h"

#include "engine/model/LoadModel.h"
#include "engine/settings/Settings.h"
#include "res/LoadModelDialogs.h"
#include "ui/dialogs/InputRanges.h"

namespace {

// Rule index in the combo -> the model's span rule.
constexpr int kRuleOfIndex[] = {CLoadModel::LM_NONE,        CLoadModel::LM_A36_UDL,       CLoadModel::LM_NAASRA_PL,
                                CLoadModel::LM_NAASRA_DLA,  CLoadModel::LM_NAASRA_PL_DLA, CLoadModel::LM_ABDC_DLA,
                                CLoadModel::LM_ABDC_PL_DLA, CLoadModel::LM_BS5400_UDL};

constexpr double kNoMinimum = 0.0;
constexpr double kNoMaximum = 10000.0;

} // namespace

BEGIN_MESSAGE_MAP(CPropPageLMApplicable, CMFCPropertyPage)
ON_BN_CLICKED(IDC_LM_USE_MIN, OnUseMinimum)
ON_BN_CLICKED(IDC_LM_USE_MAX, OnUseMaximum)
ON_BN_CLICKED(IDC_LM_USE_BM, OnBendingMoment)
ON_BN_CLICKED(IDC_LM_USE_SF, OnShearForce)
ON_EN_CHANGE(IDC_LM_MIN_LENGTH, OnChangeLength)
ON_EN_CHANGE(IDC_LM_MAX_LENGTH, OnChangeLength)
ON_CBN_SELCHANGE(IDC_LM_RULE, OnSelChangeRule)
END_MESSAGE_MAP()

CPropPageLMApplicable::CPropPageLMApplicable() : CMFCPropertyPage(IDD_PROPPAGE_LM_APPLICABLE)
{
    m_RuleStrings = {L"None",
                     L"A36 UDL variation",
                     L"NAASRA/ABDC Point Loads",
                     L"NAASRA DLA",
                     L"NAASRA Point Loads + DLA",
                     L"ABDC DLA",
                     L"ABDC Points Loads + DLA",
                     L"BS5400 UDL"};
}

CPropPageLMApplicable::~CPropPageLMApplicable() = default;

void CPropPageLMApplicable::SetLoadModel(std::shared_ptr<CLoadModel> pLoadModel)
{
    m_pLoadModel = std::move(pLoadModel);
}

void CPropPageLMApplicable::DoDataExchange(CDataExchange* pDX)
{
    const bool filling = !pDX->m_bSaveAndValidate;
    if (filling) ++m_nFilling;
    CMFCPropertyPage::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_LM_USE_BM, m_BendingMomentCheck);
    DDX_Control(pDX, IDC_LM_USE_SF, m_ShearForceCheck);
    DDX_Control(pDX, IDC_LM_USE_MIN, m_UseMinCheck);
    DDX_Control(pDX, IDC_LM_USE_MAX, m_UseMaxCheck);
    DDX_Control(pDX, IDC_LM_MIN_UNIT, m_MinUnit);
    DDX_Control(pDX, IDC_LM_MAX_UNIT, m_MaxUnit);
    DDX_Control(pDX, IDC_LM_RULE, m_RuleCombo);
    DDX_Control(pDX, IDC_LM_MIN_LENGTH, m_MinLengthEdit);
    DDX_Control(pDX, IDC_LM_MAX_LENGTH, m_MaxLengthEdit);
    if (pDX->m_bSaveAndValidate)
    {
        m_MinLength = m_MinLengthEdit.GetValue();
        m_MaxLength = m_MaxLengthEdit.GetValue();
    }
    else
    {
        m_MinLengthEdit.SetValue(m_MinLength);
        m_MaxLengthEdit.SetValue(m_MaxLength);
    }
    if (filling) --m_nFilling;
}

BOOL CPropPageLMApplicable::OnInitDialog()
{
    // Like the other pages, a page without a model has nothing to show.
    if (!m_pLoadModel) return FALSE;
    CMFCPropertyPage::OnInitDialog();

    const int spanDecimals = CSettings::GetInstance()->General.DecimalPlaces.SPAN;
    if (spanDecimals >= 0)
    {
        m_MinLengthEdit.SetDecimalDigitCount(spanDecimals);
        m_MaxLengthEdit.SetDecimalDigitCount(spanDecimals);
    }

    for (const CString& text : m_RuleStrings) m_RuleCombo.AddString(text);
    const int rule = m_pLoadModel->m_lmBridge;
    if (!m_pLoadModel->m_bAdjustToBridge || rule == CLoadModel::LM_NONE)
        m_RuleCombo.SetCurSel(0);
    else if (rule >= CLoadModel::LM_A36_UDL && rule <= CLoadModel::LM_BS5400_UDL)
        m_RuleCombo.SetCurSel(rule + 1);

    if (m_pLoadModel->m_bUseMaxL)
    {
        m_UseMaxCheck.SetCheck(BST_CHECKED);
        m_MaxLength = m_pLoadModel->m_maxL;
    }
    m_bUseMax = m_pLoadModel->m_bUseMaxL ? 1 : 0;
    if (m_pLoadModel->m_bUseMinL)
    {
        m_UseMinCheck.SetCheck(BST_CHECKED);
        m_MinLength = m_pLoadModel->m_minL;
    }
    m_bUseMin = m_pLoadModel->m_bUseMinL ? 1 : 0;
    EnableLengths();

    m_BendingMomentCheck.SetCheck(m_pLoadModel->m_bBM ? BST_CHECKED : BST_UNCHECKED);
    m_ShearForceCheck.SetCheck(m_pLoadModel->m_bSF ? BST_CHECKED : BST_UNCHECKED);
    m_bUseBM = m_pLoadModel->m_bBM ? 1 : 0;
    m_bUseSF = m_pLoadModel->m_bSF ? 1 : 0;

    UpdateData(FALSE);
    m_bReady = true;
    CPropSheetLM::ShowReadOnly(*this, *m_pLoadModel);
    return TRUE;
}

void CPropPageLMApplicable::EnableLengths()
{
    m_MinLengthEdit.EnableWindow(m_bUseMin != 0);
    m_MinUnit.EnableWindow(m_bUseMin != 0);
    m_MaxLengthEdit.EnableWindow(m_bUseMax != 0);
    m_MaxUnit.EnableWindow(m_bUseMax != 0);
}

void CPropPageLMApplicable::OnUseMinimum()
{
    m_bUseMin = m_bUseMin ? 0 : 1;
    EnableLengths();
}

void CPropPageLMApplicable::OnUseMaximum()
{
    m_bUseMax = m_bUseMax ? 0 : 1;
    EnableLengths();
}

void CPropPageLMApplicable::OnBendingMoment()
{
    if (!m_pLoadModel) return;
    m_pLoadModel->m_bBM = m_BendingMomentCheck.GetCheck() == BST_CHECKED;
    m_bUseBM = m_pLoadModel->m_bBM ? 1 : 0;
}

void CPropPageLMApplicable::OnShearForce()
{
    if (!m_pLoadModel) return;
    m_pLoadModel->m_bSF = m_ShearForceCheck.GetCheck() == BST_CHECKED;
    m_bUseSF = m_pLoadModel->m_bSF ? 1 : 0;
}

void CPropPageLMApplicable::OnChangeLength()
{
    if (!m_bReady || m_nFilling > 0) return;
    UpdateData(TRUE);
}

void CPropPageLMApplicable::OnSelChangeRule()
{
    if (!m_pLoadModel) return;
    const int selected = m_RuleCombo.GetCurSel();
    if (selected < 0) return;
    CString text;
    m_RuleCombo.GetLBText(selected, text);
    for (size_t i = 0; i < m_RuleStrings.size(); ++i)
    {
        if (m_RuleStrings[i] == text)
        {
            m_pLoadModel->m_lmBridge = kRuleOfIndex[i];
            m_pLoadModel->m_bAdjustToBridge = i != 0;
            return;
        }
    }
}

BOOL CPropPageLMApplicable::OnKillActive()
{
    // A length in use must lie in its range; the page stays until it does.
    using qor::dialogs::CheckRange;
    using qor::dialogs::kApplicableLengthRange;
    if ((m_bUseMin && !CheckRange(*this, IDC_LM_MIN_LENGTH, m_MinLength, kApplicableLengthRange,
                                  L"length below which the model does not apply")) ||
        (m_bUseMax && !CheckRange(*this, IDC_LM_MAX_LENGTH, m_MaxLength, kApplicableLengthRange,
                                  L"length above which the model does not apply")))
        return FALSE;
    if (m_pLoadModel)
    {
        m_pLoadModel->m_bUseMinL = m_bUseMin != 0;
        m_pLoadModel->m_minL = m_bUseMin ? m_MinLength : kNoMinimum;
        m_pLoadModel->m_bUseMaxL = m_bUseMax != 0;
        m_pLoadModel->m_maxL = m_bUseMax ? m_MaxLength : kNoMaximum;
    }
    return CMFCPropertyPage::OnKillActive();
}
