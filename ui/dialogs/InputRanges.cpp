// The ranges the dialogs and pages take their numbers in.
#include "ui/dialogs/InputRanges.h"

#include "controls/edit/MaskedEdit.h"
#include "controls/grid/GridCellNumeric.h"
#include "controls/grid/GridCtrl.h"

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
    text.Format(range.aboveMin ? L"The %s must be above %s and at most %s." : L"The %s must be from %s to %s.",
                name.GetString(), Bound(range.min, range.unit).GetString(), Bound(range.max, range.unit).GetString());
    return text;
}

void SayIfStoredOutside(double value, const InputRange& range, LPCTSTR what)
{
    if (InRange(value, range)) return;
    const CString name = what ? CString(what) : CString(range.what);
    CString shown;
    shown.Format(L"%.10g", value);
    CString text;
    text.Format(L"The %s stored, %s, is outside its range.\n%s", name.GetString(), shown.GetString(),
                RangeRefusal(range, what).GetString());
    AfxMessageBox(text, MB_OK | MB_ICONEXCLAMATION);
}

CString TypingRefusal(const CWnd* field, LPCTSTR what)
{
    const auto* edit = dynamic_cast<const CMaskedEdit*>(field);
    return edit ? edit->GetHeldRefusal(what) : CString();
}

namespace {

// The refusal shown, and the focus and a selection put on the field.
bool Refuse(CWnd& dlg, int id, const CString& refusal)
{
    AfxMessageBox(refusal, MB_OK | MB_ICONEXCLAMATION);
    if (CWnd* field = dlg.GetDlgItem(id))
    {
        field->SetFocus();
        if (auto* edit = dynamic_cast<CEdit*>(field)) edit->SetSel(0, -1);
    }
    return false;
}

[[noreturn]] void Fail(CDataExchange* pDX, int id, const CString& refusal)
{
    pDX->PrepareEditCtrl(id);
    AfxMessageBox(refusal, MB_OK | MB_ICONEXCLAMATION);
    pDX->Fail();
}

} // namespace

bool CheckRange(CWnd& dlg, int id, double value, const InputRange& range, LPCTSTR what)
{
    if (const CString typing = TypingRefusal(dlg.GetDlgItem(id), what ? what : range.what); !typing.IsEmpty())
        return Refuse(dlg, id, typing);
    return InRange(value, range) || Refuse(dlg, id, RangeRefusal(range, what));
}

bool CheckTyping(CWnd& dlg, int id, LPCTSTR what)
{
    const CString typing = TypingRefusal(dlg.GetDlgItem(id), what);
    return typing.IsEmpty() || Refuse(dlg, id, typing);
}

void ValidateRange(CDataExchange* pDX, int id, double value, const InputRange& range, LPCTSTR what)
{
    if (!pDX->m_bSaveAndValidate) return;
    ValidateTyping(pDX, id, what ? what : range.what);
    if (!InRange(value, range)) Fail(pDX, id, RangeRefusal(range, what));
}

void ValidateTyping(CDataExchange* pDX, int id, LPCTSTR what)
{
    if (!pDX->m_bSaveAndValidate || !pDX->m_pDlgWnd) return;
    if (const CString typing = TypingRefusal(pDX->m_pDlgWnd->GetDlgItem(id), what); !typing.IsEmpty())
        Fail(pDX, id, typing);
}

bool AcceptCell(const CString& refusal, LRESULT* pResult)
{
    if (refusal.IsEmpty()) return true;
    AfxMessageBox(refusal, MB_OK | MB_ICONEXCLAMATION);
    if (pResult) *pResult = -1;
    return false;
}

bool AcceptTyping(const CGridCtrl& grid, int row, int col, LRESULT* pResult, LPCTSTR what)
{
    const CGridCellBase* cell = grid.GetCell(row, col);
    const auto* editor = cell ? dynamic_cast<const CInPlaceNumEdit*>(cell->GetEditWnd()) : nullptr;
    return !editor || AcceptCell(editor->GetHeldRefusal(what), pResult);
}

bool AcceptCell(double value, const InputRange& range, LRESULT* pResult, LPCTSTR what)
{
    return AcceptCell(InRange(value, range) ? CString() : RangeRefusal(range, what), pResult);
}

} // namespace qor::dialogs
