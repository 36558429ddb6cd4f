// The stepping rule, quiet number reading and the stepping checks of the choice dialogs.
#include "ui/dialogs/ChoiceLists.h"

#include "platform/gui/NumberText.h"
#include "res/AnalysisDialogs.h"

#include <climits>
#include <cwchar>

namespace qor::dialogs {

void ApplyModelRule(CListBox& models, CListBox& ensembles, bool useLoadModel)
{
    models.EnableWindow(useLoadModel);
    ensembles.EnableWindow(!useLoadModel);
    (useLoadModel ? ensembles : models).SetCurSel(-1);
}

void ApplySteppingRule(CDialog& dlg, bool byStep)
{
    dlg.CheckRadioButton(IDC_RADIO_BY_STEP, IDC_RADIO_BY_COUNT, byStep ? IDC_RADIO_BY_STEP : IDC_RADIO_BY_COUNT);
    for (UINT id : {IDC_EDIT_STEP, IDC_STATIC_STEP_UNIT})
        if (CWnd* w = dlg.GetDlgItem(static_cast<int>(id))) w->EnableWindow(byStep);
    for (UINT id : {IDC_EDIT_NSTEPS, IDC_STATIC_NSTEPS_UNIT})
        if (CWnd* w = dlg.GetDlgItem(static_cast<int>(id))) w->EnableWindow(!byStep);
}

namespace {

bool FieldText(CDialog& dlg, int id, CString& text)
{
    if (!dlg.GetSafeHwnd() || !dlg.GetDlgItem(id)) return false;
    dlg.GetDlgItemText(id, text);
    text.Trim();
    return !text.IsEmpty();
}

} // namespace

bool ReadNumber(CDialog& dlg, int id, double& value)
{
    CString text;
    if (!FieldText(dlg, id, text)) return false;
    // The whole text as one finite number, or nothing taken.
    return qor::gui::ParseWholeDouble(text, value);
}

bool ReadNumber(CDialog& dlg, int id, int& value)
{
    CString text;
    if (!FieldText(dlg, id, text)) return false;
    // A count beyond int is no count (it must not wrap into another number).
    long long parsed = 0;
    if (!qor::gui::ParseWholeInteger(text, parsed) || parsed < INT_MIN || parsed > INT_MAX) return false;
    value = static_cast<int>(parsed);
    return true;
}

void ValidateStepping(CDataExchange* pDX, bool byStep, double step, int nSteps)
{
    if (!pDX->m_bSaveAndValidate) return;
    if (byStep && !(step > 0.0))
    {
        pDX->PrepareEditCtrl(static_cast<int>(IDC_EDIT_STEP));
        AfxMessageBox(L"The step distance must be greater than zero.", MB_OK | MB_ICONEXCLAMATION);
        pDX->Fail();
    }
    if (!byStep && nSteps < 1)
    {
        pDX->PrepareEditCtrl(static_cast<int>(IDC_EDIT_NSTEPS));
        AfxMessageBox(L"The number of steps must be at least 1.", MB_OK | MB_ICONEXCLAMATION);
        pDX->Fail();
    }
}

void ValidatePositive(CDataExchange* pDX, int id, double value, LPCTSTR what)
{
    if (!pDX->m_bSaveAndValidate || value > 0.0) return;
    pDX->PrepareEditCtrl(id);
    CString text;
    text.Format(L"The %s must be greater than zero.", what);
    AfxMessageBox(text, MB_OK | MB_ICONEXCLAMATION);
    pDX->Fail();
}

} // namespace qor::dialogs
