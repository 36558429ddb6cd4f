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

} // namespace qor::test
