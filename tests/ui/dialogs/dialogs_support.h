// What the tests that drive the program's dialogs share: the engineer's click on a line of a list.
#pragma once

#include "platform/gui/Afx.h"
#include "platform/test/GuiTest.h"

namespace qor::test {

// The engineer picks line k of a dialog's list box; the selection change reaches the dialog.
inline void PickLine(CWnd& dlg, UINT id, int k)
{
    auto* list = static_cast<CListBox*>(dlg.GetDlgItem(static_cast<int>(id)));
    CRect r;
    list->GetItemRect(k, &r);
    Click(list, r.CenterPoint());
}

// One key of a US keyboard typed into a window (the focus's field or an open cell editor).
inline void TypeChar(CWnd& wnd, wchar_t c)
{
    UINT vk = VK_SPACE;
    if (c >= L'0' && c <= L'9')
        vk = static_cast<UINT>(c);
    else if (c >= L'a' && c <= L'z')
        vk = static_cast<UINT>(c - L'a' + 'A');
    else if (c == L'.')
        vk = VK_OEM_PERIOD;
    else if (c == L',')
        vk = VK_OEM_COMMA;
    else if (c == L'-')
        vk = VK_OEM_MINUS;
    else if (c == L'\t')
        vk = VK_TAB;
    KeyPress(&wnd, vk, c);
}

// The engineer types into a field of a dialog: the field focused, its text selected, then one
// key per character (a US keyboard's keys).
inline void TypeKeys(CWnd& dlg, UINT id, const wchar_t* text)
{
    auto* edit = static_cast<CEdit*>(dlg.GetDlgItem(static_cast<int>(id)));
    edit->SetFocus();
    edit->SetSel(0, -1);
    for (const wchar_t* p = text; *p; ++p) TypeChar(*edit, *p);
}

} // namespace qor::test
