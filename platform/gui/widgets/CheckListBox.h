// CCheckListBox: a list box with a check box on every line. A change of a box made by the
// user is reported to the parent as WM_COMMAND with CLBN_CHKCHANGE, after the line whose box
// changed has been made the current selection.
#pragma once

#include "platform/gui/widgets/Controls.h"

#ifndef LBS_OWNERDRAWFIXED
#define LBS_OWNERDRAWFIXED 0x0010u
#define LBS_OWNERDRAWVARIABLE 0x0020u
#endif
#ifndef CLBN_CHKCHANGE
#define CLBN_CHKCHANGE 40
#endif
#define ON_CLBN_CHKCHANGE(id, memberFxn) ON_CONTROL(CLBN_CHKCHANGE, id, memberFxn)

class CCheckListBox : public CListBox
{
    DECLARE_DYNAMIC(CCheckListBox)
public:
    CCheckListBox() = default;
    BOOL Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID) override;

    // BS_CHECKBOX, BS_AUTOCHECKBOX, BS_AUTO3STATE or BS_3STATE. With the automatic styles a
    // click on a box moves it on (unchecked, checked, and for BS_AUTO3STATE indeterminate).
    void SetCheckStyle(UINT nStyle);
    UINT GetCheckStyle() const { return m_nStyle; }
    // 0 unchecked, 1 checked, 2 indeterminate (BST_ values); -1 when there is no such line.
    int GetCheck(int nIndex) const;
    // No notification is sent for a change made here.
    void SetCheck(int nIndex, int nCheck);
    void Enable(int nIndex, BOOL bEnabled = TRUE);
    BOOL IsEnabled(int nIndex) const;

protected:
    void PreSubclassWindow() override;

private:
    void Attach();
    UINT m_nStyle = BS_AUTOCHECKBOX;
    bool m_bAttached = false;
    bool m_bChanging = false; // the layer itself is changing a box
    friend struct CheckListAccess;
};
