// The ranges the dialogs and pages take their numbers in.
#include "ui/dialogs/InputRanges.h"

#include <cmath>

namespace qor::dialogs {

namespace {

// A bound as the engineer writes it: grouped thousands, no trailing zeros.
CString Bound(double v, const wchar_t* unit)
{
    CString digits;
    digits.Format(L"%.3f", std::fabs(v));
    digits.TrimRight(L'0');
    digits.TrimRight(L'.');
    const int point = digits.Find(L'.');
    int integer = point < 0 ? digits.GetLength() : point;
    while (integer > 3)
    {
        integer -= 3;
        digits.Insert(integer, L',');
    }
    CString text = v < 0 ? L"-" + digits : digits;
    if (unit && *unit) text += CString(L" ") + unit;
    return text;
}

} // namespace

CString RangeRefusal(const InputRange& range, LPCTSTR what)
{
    CString text;
    const CString name = what ? CString(what) : CString(range.what);
    text.Format(L"The %s must be from %s to %s.", name.GetString(), Bound(range.min, range.unit).GetString(),
                Bound(range.max, range.unit).GetString());
    return text;
}

bool CheckRange(CWnd& dlg, int id, double value, const InputRange& range, LPCTSTR what)
{
    if (InRange(value, range)) return true;
    AfxMessageBox(RangeRefusal(range, what), MB_OK | MB_ICONEXCLAMATION);
    if (CWnd* field = dlg.GetDlgItem(id))
    {
        field->SetFocus();
        if (auto* edit = dynamic_cast<CEdit*>(field)) edit->SetSel(0, -1);
    }
    return false;
}

void ValidateRange(CDataExchange* pDX, int id, double value, const InputRange& range, LPCTSTR what)
{
    if (!pDX->m_bSaveAndValidate || InRange(value, range)) return;
    pDX->PrepareEditCtrl(id);
    AfxMessageBox(RangeRefusal(range, what), MB_OK | MB_ICONEXCLAMATION);
    pDX->Fail();
}

bool AcceptCell(const CString& refusal, LRESULT* pResult)
{
    if (refusal.IsEmpty()) return true;
    AfxMessageBox(refusal, MB_OK | MB_ICONEXCLAMATION);
    if (pResult) *pResult = -1;
    return false;
}

bool AcceptCell(double value, const InputRange& range, LRESULT* pResult, LPCTSTR what)
{
    return AcceptCell(InRange(value, range) ? CString() : RangeRefusal(range, what), pResult);
}

} // namespace qor::dialogs
