// The stepping rule, quiet number reading and the stepping checks of the choice dialogs.
#include "ui/dialogs/ChoiceLists.h"

#include "ui/dialogs/InputRanges.h"

#include "platform/gui/draw/NumberText.h"
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
    if (byStep)
        ValidateRange(pDX, static_cast<int>(IDC_EDIT_STEP), step, kStepRange);
    else
        ValidateRange(pDX, static_cast<int>(IDC_EDIT_NSTEPS), nSteps, kStepCountRange);
}

void SayIfSteppingOutside(bool byStep, double step, int nSteps)
{
    if (byStep)
        SayIfStoredOutside(step, kStepRange);
    else
        SayIfStoredOutside(nSteps, kStepCountRange);
}

} // namespace qor::dialogs
