// The parameters of a standard library entry: spacing list, dynamic allowance and HB units, checked at OK
// so that the library is never asked for a list it cannot make.
#include "ui/dialogs/LMEParametersDlg.h"

#include "engine/model/LMEFactory.h"
#include "engine/settings/Settings.h"
#include "res/LibraryDialogs.h"
#include "res/Resource.h"
#include "ui/dialogs/InputRanges.h"

#include <climits>
#include <cmath>

namespace {

// Whole numbers of the edits: the value truncated toward zero, held within int.
int Truncated(double value)
{
    if (std::isnan(value)) return 0;
    if (value >= static_cast<double>(INT_MAX)) return INT_MAX;
    if (value <= static_cast<double>(INT_MIN)) return INT_MIN;
    return static_cast<int>(value);
}

void Enable(CDialog& dlg, UINT id, bool enable)
{
    if (CWnd* w = dlg.GetDlgItem(static_cast<int>(id))) w->EnableWindow(enable);
}

} // namespace

BEGIN_MESSAGE_MAP(CLMEParametersDlg, CDialogEx)
ON_BN_CLICKED(IDC_LMEP_BY_STEP, OnByStep)
ON_BN_CLICKED(IDC_LMEP_BY_COUNT, OnByCount)
ON_BN_CLICKED(IDC_LMEP_STANDARD_DLA, OnStandardDLA)
ON_BN_CLICKED(IDC_LMEP_USER_DLA, OnUserDLA)
ON_EN_CHANGE(IDC_LMEP_STEP, OnChangeField)
ON_EN_CHANGE(IDC_LMEP_COUNT, OnChangeField)
ON_EN_CHANGE(IDC_LMEP_DLA, OnChangeField)
ON_EN_CHANGE(IDC_LMEP_HB_UNITS, OnChangeField)
END_MESSAGE_MAP()

CLMEParametersDlg::CLMEParametersDlg(CWnd* pParent) : CDialogEx(IDD_LME_PARAMETERS, pParent)
{
    m_nValues = CSettings::GetInstance()->Analysis.NO_AXLE_SPACINGS;
}

void CLMEParametersDlg::DoDataExchange(CDataExchange* pDX)
{
    CDialogEx::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_LMEP_STEP, m_editStep);
    DDX_Control(pDX, IDC_LMEP_COUNT, m_editCount);
    DDX_Control(pDX, IDC_LMEP_DLA, m_editDLA);
    DDX_Control(pDX, IDC_LMEP_HB_UNITS, m_editHBUnits);
    if (pDX->m_bSaveAndValidate)
    {
        m_StepDistance = m_editStep.GetValue();
        m_nValues = Truncated(m_editCount.GetValue());
        m_DLA = m_editDLA.GetValue();
        m_nHBUnits = Truncated(m_editHBUnits.GetValue());
    }
    else
    {
        m_editStep.SetValue(m_StepDistance);
        m_editCount.SetValue(m_nValues);
        m_editDLA.SetValue(m_DLA);
        m_editHBUnits.SetValue(m_nHBUnits);
    }
}

BOOL CLMEParametersDlg::OnInitDialog()
{
    CDialogEx::OnInitDialog();
    const CSettings* settings = CSettings::GetInstance();
    if (settings->General.DecimalPlaces.DISTANCE >= 0)
        m_editStep.SetDecimalDigitCount(settings->General.DecimalPlaces.DISTANCE);
    m_editCount.SetDecimalDigitCount(0);
    if (settings->General.DecimalPlaces.FACTOR >= 0)
        m_editDLA.SetDecimalDigitCount(settings->General.DecimalPlaces.FACTOR);
    m_editHBUnits.SetDecimalDigitCount(0);

    ApplySpacingRule();
    // Every showing starts from the library's own allowance.
    m_bUseStandardDLA = true;
    CheckRadioButton(IDC_LMEP_STANDARD_DLA, IDC_LMEP_USER_DLA, IDC_LMEP_STANDARD_DLA);
    Enable(*this, IDC_LMEP_DLA, false);
    Enable(*this, IDC_LMEP_HB_LABEL, m_bHBEnabled);
    Enable(*this, IDC_LMEP_HB_UNITS, m_bHBEnabled);

    UpdateData(FALSE);
    m_bInitialised = true;
    return TRUE;
}

void CLMEParametersDlg::ApplySpacingRule()
{
    if (m_bSpacingEnabled)
        CheckRadioButton(IDC_LMEP_BY_STEP, IDC_LMEP_BY_COUNT, m_bByStep ? IDC_LMEP_BY_STEP : IDC_LMEP_BY_COUNT);
    Enable(*this, IDC_LMEP_BY_STEP, m_bSpacingEnabled);
    Enable(*this, IDC_LMEP_BY_COUNT, m_bSpacingEnabled);
    for (UINT id : {IDC_LMEP_STEP, IDC_LMEP_STEP_UNIT}) Enable(*this, id, m_bSpacingEnabled && m_bByStep);
    for (UINT id : {IDC_LMEP_COUNT, IDC_LMEP_COUNT_UNIT}) Enable(*this, id, m_bSpacingEnabled && !m_bByStep);
}

void CLMEParametersDlg::OnByStep()
{
    m_bByStep = true;
    ApplySpacingRule();
}

void CLMEParametersDlg::OnByCount()
{
    m_bByStep = false;
    ApplySpacingRule();
}

void CLMEParametersDlg::OnStandardDLA()
{
    m_bUseStandardDLA = true;
    Enable(*this, IDC_LMEP_DLA, false);
}

void CLMEParametersDlg::OnUserDLA()
{
    m_bUseStandardDLA = false;
    Enable(*this, IDC_LMEP_DLA, true);
}

// The edits are empty until the first exchange writes the members into them: a change reported before
// then must not become a value.
void CLMEParametersDlg::OnChangeField()
{
    if (m_bInitialised) UpdateData(TRUE);
}

CString CLMEParametersDlg::CheckValues(UINT& control) const
{
    using namespace qor::dialogs;
    // A field in use that holds back keys after a refused one holds no number.
    const struct
    {
        UINT id;
        bool used;
        const wchar_t* what;
    } fields[] = {{IDC_LMEP_STEP, m_bSpacingEnabled && m_bByStep, L"step distance"},
                  {IDC_LMEP_COUNT, m_bSpacingEnabled && !m_bByStep, L"number of spacing values"},
                  {IDC_LMEP_DLA, !m_bUseStandardDLA, L"DAF value"},
                  {IDC_LMEP_HB_UNITS, m_bHBEnabled, kHBUnitsRange.what}};
    for (const auto& field : fields)
    {
        const CString typing =
            field.used ? TypingRefusal(GetDlgItem(static_cast<int>(field.id)), field.what) : CString();
        if (typing.IsEmpty()) continue;
        control = field.id;
        return typing;
    }
    if (m_bSpacingEnabled)
    {
        // One spacing value (or none) gives an ensemble without a spread, as Generate LME refuses.
        if (!m_bByStep && m_nValues < 2)
        {
            control = IDC_LMEP_COUNT;
            return L"The number of spacing values must be at least 2.";
        }
        const double stepOrCount = m_bByStep ? m_StepDistance : static_cast<double>(m_nValues);
        if (CLMEFactory::CheckSpacingArguments(m_bByStep, stepOrCount))
        {
            control = m_bByStep ? IDC_LMEP_STEP : IDC_LMEP_COUNT;
            return m_bByStep ? L"The step distance must be greater than zero."
                             : L"The number of spacing values must not be more than 1000.";
        }
    }
    if (!m_bUseStandardDLA && !(m_DLA > 0.0 && std::isfinite(m_DLA)))
    {
        control = IDC_LMEP_DLA;
        return L"The DAF value must be greater than zero.";
    }
    // The allowance is one of the model's four factors: the same range as on its Factors page.
    if (!m_bUseStandardDLA && !InRange(m_DLA, kFactorRange))
    {
        control = IDC_LMEP_DLA;
        return RangeRefusal(kFactorRange, L"DAF value");
    }
    if (m_bHBEnabled && m_nHBUnits < 1)
    {
        control = IDC_LMEP_HB_UNITS;
        return L"The number of HB units must be at least 1.";
    }
    if (m_bHBEnabled && !InRange(m_nHBUnits, kHBUnitsRange))
    {
        control = IDC_LMEP_HB_UNITS;
        return RangeRefusal(kHBUnitsRange);
    }
    return CString();
}

void CLMEParametersDlg::OnOK()
{
    if (!UpdateData(TRUE)) return;
    UINT control = 0;
    if (const CString text = CheckValues(control); !text.IsEmpty())
    {
        AfxMessageBox(text, MB_OK | MB_ICONEXCLAMATION);
        if (CWnd* w = GetDlgItem(static_cast<int>(control))) GotoDlgCtrl(w);
        return;
    }
    EndDialog(IDOK);
}
