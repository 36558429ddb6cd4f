// Combo box and list box: contents, selection and search, the edit part (a child window
// with id 1001 that a subclass can take over), notifications for the user's choices only.
#include "tests/platform/gui/widgets/ctl_support.h"

#include <gtest/gtest.h>

using namespace ctltest;
using namespace qor::test;

namespace {

class ComboTest : public ::testing::Test
{
protected:
    CRecordingParent parent;
    void SetUp() override { ASSERT_TRUE(parent.CreateTop()); }
};

// The rectangle of a drop-down combo box holds the room for its list: only the field shows,
// as high as the control asks for, and the list drops under it.
TEST_F(ComboTest, ShowsItsFieldAndDropsTheListUnderIt)
{
    CComboBox combo;
    ASSERT_TRUE(combo.Create(WS_VISIBLE | CBS_DROPDOWN | WS_VSCROLL, CRect(10, 10, 150, 120), &parent, 4));
    for (LPCTSTR s : {L"One", L"Two", L"Three"}) combo.AddString(s);
    const int field = combo.GetItemHeight(-1);
    EXPECT_GT(field, 10);
    EXPECT_LT(field, 40);
    CRect window, shown;
    combo.GetWindowRect(&window);
    EXPECT_EQ(window.Height(), 110) << "the window keeps the room for the list";
    shown = ShownRect(&combo);
    EXPECT_EQ(shown.top, window.top);
    EXPECT_EQ(shown.Height(), field);

    EXPECT_EQ(combo.SetItemHeight(-1, 22), 0);
    EXPECT_EQ(combo.GetItemHeight(-1), 22);
    EXPECT_EQ(ShownRect(&combo).Height(), 22);
    combo.MoveWindow(20, 30, 140, 200);
    shown = ShownRect(&combo);
    EXPECT_EQ(shown.Height(), 22) << "moving keeps the field's height";
    EXPECT_EQ(shown.Width(), 140);

    combo.ShowDropDown(TRUE);
    ASSERT_TRUE(PumpUntil([&] { return !DroppedListRect(&combo).IsRectEmpty(); }));
    const CRect list = DroppedListRect(&combo);
    EXPECT_EQ(list.top, shown.bottom) << "the list opens under the field, not over it";
    EXPECT_EQ(list.left, shown.left);
    combo.ShowDropDown(FALSE);

    // A simple combo box has its list always shown: the whole rectangle is the control.
    CComboBox simple;
    ASSERT_TRUE(simple.Create(WS_VISIBLE | CBS_SIMPLE, CRect(200, 10, 300, 110), &parent, 5));
    EXPECT_EQ(ShownRect(&simple).Height(), 100);
}

TEST_F(ComboTest, ContentsSearchAndItemData)
{
    CComboBox combo;
    ASSERT_TRUE(combo.Create(WS_VISIBLE | CBS_DROPDOWNLIST | WS_VSCROLL, CRect(10, 10, 150, 120), &parent, 4));
    EXPECT_EQ(combo.GetCurSel(), CB_ERR);
    EXPECT_EQ(combo.AddString(L"Beta"), 0);
    EXPECT_EQ(combo.AddString(L"Alpha"), 1);
    EXPECT_EQ(combo.InsertString(0, L"Gamma"), 0);
    EXPECT_EQ(combo.InsertString(7, L"x"), CB_ERR);
    EXPECT_EQ(combo.GetCount(), 3);
    EXPECT_EQ(combo.GetCurSel(), CB_ERR) << "adding selects nothing";
    CString t;
    combo.GetLBText(2, t);
    EXPECT_EQ(t, CString(L"Alpha"));
    EXPECT_EQ(combo.GetLBTextLen(0), 5);
    EXPECT_EQ(combo.GetLBTextLen(9), CB_ERR);
    combo.GetLBText(9, t);
    EXPECT_TRUE(t.IsEmpty());

    // Exact search ignores case and starts after the index given, wrapping around.
    EXPECT_EQ(combo.FindStringExact(-1, L"alpha"), 2);
    EXPECT_EQ(combo.FindStringExact(2, L"ALPHA"), 2);
    EXPECT_EQ(combo.FindStringExact(-1, L"Alp"), CB_ERR);
    EXPECT_EQ(combo.FindString(-1, L"alp"), 2);
    EXPECT_EQ(combo.SelectString(-1, L"be"), 1);
    EXPECT_EQ(combo.GetCurSel(), 1);
    EXPECT_EQ(TextOf(combo), CString(L"Beta"));

    EXPECT_EQ(combo.SetItemData(2, 0xABCDu), 0);
    EXPECT_EQ(combo.GetItemData(2), DWORD_PTR(0xABCDu));
    EXPECT_EQ(combo.SetItemData(5, 1), CB_ERR);

    EXPECT_EQ(combo.DeleteString(0), 2);
    EXPECT_EQ(combo.GetItemData(1), DWORD_PTR(0xABCDu)) << "data moves with its entry";
    EXPECT_EQ(combo.DeleteString(5), CB_ERR);
    EXPECT_EQ(combo.SetCurSel(7), CB_ERR);
    EXPECT_EQ(combo.GetCurSel(), CB_ERR);
    combo.ResetContent();
    EXPECT_EQ(combo.GetCount(), 0);
    EXPECT_TRUE(parent.got.empty()) << "nothing done by code is a user's choice";

    CComboBox sorted;
    ASSERT_TRUE(sorted.Create(WS_VISIBLE | CBS_DROPDOWNLIST | CBS_SORT, CRect(10, 40, 150, 120), &parent, 5));
    sorted.AddString(L"pear");
    sorted.AddString(L"Apple");
    EXPECT_EQ(sorted.AddString(L"fig"), 1);
    sorted.GetLBText(0, t);
    EXPECT_EQ(t, CString(L"Apple"));
}

TEST_F(ComboTest, TheUsersSelectionSendsSelChange)
{
    CComboBox combo;
    ASSERT_TRUE(combo.Create(WS_VISIBLE | CBS_DROPDOWNLIST, CRect(10, 10, 150, 120), &parent, 4));
    for (const wchar_t* s : {L"one", L"two", L"three"}) combo.AddString(s);
    combo.SetCurSel(0);
    int seenSel = -2;
    parent.onNotify = [&](const Notification& n) {
        if (n.code == CBN_SELCHANGE) seenSel = combo.GetCurSel();
    };
    combo.SetFocus();
    KeyPress(&combo, VK_DOWN);
    EXPECT_EQ(combo.GetCurSel(), 1);
    EXPECT_EQ(parent.Count(CBN_SELCHANGE, 4), 1);
    EXPECT_EQ(seenSel, 1) << "the new selection is in place when the parent hears of it";
    EXPECT_EQ(parent.got.back().from, combo.m_hWnd);
    // Typing a letter in a list-only box picks the entry it starts.
    KeyPress(&combo, 'T', L't');
    EXPECT_EQ(combo.GetCurSel(), 2);
    EXPECT_EQ(parent.Count(CBN_SELCHANGE), 2);
    EXPECT_EQ(parent.Count(CBN_SETFOCUS, 4), 1);
    EXPECT_EQ(combo.SendMessage(WM_GETDLGCODE), LRESULT(DLGC_WANTCHARS | DLGC_WANTARROWS));
}

TEST_F(ComboTest, DropDownAndCloseUp)
{
    CComboBox combo;
    ASSERT_TRUE(combo.Create(WS_VISIBLE | CBS_DROPDOWNLIST, CRect(10, 10, 150, 30), &parent, 4));
    combo.AddString(L"a");
    combo.SetDroppedWidth(180);
    EXPECT_EQ(combo.GetDroppedWidth(), 180);
    EXPECT_FALSE(combo.GetDroppedState());
    combo.ShowDropDown(TRUE);
    EXPECT_TRUE(combo.GetDroppedState());
    EXPECT_EQ(parent.Count(CBN_DROPDOWN), 1);
    combo.ShowDropDown(FALSE);
    EXPECT_FALSE(combo.GetDroppedState());
    EXPECT_EQ(parent.Count(CBN_CLOSEUP), 1);
    std::vector<UINT> codes = parent.Codes();
    ASSERT_EQ(codes.size(), 2u);
    EXPECT_EQ(codes[0], UINT(CBN_DROPDOWN));
}

// The edit part of a drop-down combo box, taken over as the grid's combo cell does.
class CComboEditPart : public CEdit
{
public:
    std::vector<UINT> keyUps;

protected:
    void OnKeyUp(UINT nChar, UINT nRepCnt, UINT nFlags)
    {
        keyUps.push_back(nChar);
        CEdit::OnKeyUp(nChar, nRepCnt, nFlags);
    }
    void OnChar(UINT nChar, UINT nRepCnt, UINT nFlags)
    {
        if (nChar == L'!') return;
        CEdit::OnChar(nChar, nRepCnt, nFlags);
    }
    DECLARE_MESSAGE_MAP()
};
BEGIN_MESSAGE_MAP(CComboEditPart, CEdit)
ON_WM_KEYUP()
ON_WM_CHAR()
END_MESSAGE_MAP()

TEST_F(ComboTest, TheEditPartIsAChildThatCanBeSubclassed)
{
    CComboBox combo;
    ASSERT_TRUE(combo.Create(WS_VISIBLE | CBS_DROPDOWN | CBS_AUTOHSCROLL, CRect(10, 10, 150, 120), &parent, 4));
    for (const wchar_t* s : {L"red", L"green", L"blue"}) combo.AddString(s);
    CWnd* item = combo.GetDlgItem(1001);
    ASSERT_NE(item, nullptr);
    EXPECT_EQ(item->GetClassName().CompareNoCase(L"Edit"), 0);
    CComboEditPart edit;
    ASSERT_TRUE(edit.SubclassDlgItem(1001, &combo));
    EXPECT_EQ(combo.GetDlgItem(1001), &edit);

    // Text set on the box shows in its edit part, and no choice is reported.
    combo.SetWindowText(L"gr");
    EXPECT_EQ(TextOf(edit), CString(L"gr"));
    EXPECT_EQ(parent.Count(CBN_EDITCHANGE), 0);
    // Characters sent to the box go to its edit part (and its subclass).
    combo.SetEditSel(2, 2);
    combo.SendMessage(WM_CHAR, L'e', 0);
    combo.SendMessage(WM_CHAR, L'!', 0);
    EXPECT_EQ(TextOf(combo), CString(L"gre"));
    EXPECT_EQ(parent.Count(CBN_EDITCHANGE, 4), 1);
    EXPECT_EQ(parent.Count(CBN_EDITUPDATE, 4), 1);
    EXPECT_EQ(parent.got.back().from, combo.m_hWnd) << "the box reports for its edit part";
    EXPECT_EQ(parent.Count(EN_CHANGE), 0);
    // Typing through the toolkit reaches the subclassed edit part.
    edit.SetFocus();
    KeyPress(&edit, 'N', L'n');
    EXPECT_EQ(TextOf(combo), CString(L"gren"));
    ASSERT_FALSE(edit.keyUps.empty());
    EXPECT_EQ(edit.keyUps.back(), UINT('N'));
    // Down in the edit part moves the box's selection, which fills the edit part.
    combo.SetCurSel(0);
    EXPECT_EQ(TextOf(edit), CString(L"red"));
    parent.got.clear();
    KeyPress(&edit, VK_DOWN);
    EXPECT_EQ(combo.GetCurSel(), 1);
    EXPECT_EQ(TextOf(combo), CString(L"green"));
    EXPECT_EQ(parent.Count(CBN_SELCHANGE, 4), 1);
    // Selection of the edit part through the box.
    combo.SetEditSel(1, 3);
    EXPECT_EQ(combo.GetEditSel(), DWORD(MAKELONG(1, 3)));

    // Focus on the box goes on to its edit part; the box reports it once.
    CEdit other;
    ASSERT_TRUE(other.Create(WS_VISIBLE, CRect(200, 10, 300, 30), &parent, 9));
    other.SetFocus();
    parent.got.clear();
    combo.SetFocus();
    EXPECT_EQ(CWnd::GetFocus(), &edit);
    EXPECT_EQ(parent.Count(CBN_SETFOCUS, 4), 1);
    other.SetFocus();
    EXPECT_EQ(parent.Count(CBN_KILLFOCUS, 4), 1);
}

TEST_F(ComboTest, ListBoxSelectionAndDoubleClick)
{
    CListBox list;
    ASSERT_TRUE(list.Create(WS_VISIBLE | WS_BORDER | WS_VSCROLL | LBS_NOTIFY, CRect(10, 10, 150, 200), &parent, 6));
    for (const wchar_t* s : {L"first", L"second", L"third"}) list.AddString(s);
    EXPECT_EQ(list.GetCount(), 3);
    EXPECT_EQ(list.GetCurSel(), LB_ERR);
    EXPECT_EQ(list.SetCurSel(1), 1);
    EXPECT_EQ(list.GetCurSel(), 1);
    EXPECT_EQ(parent.Count(LBN_SELCHANGE), 0) << "a selection by code is not reported";
    CString t;
    list.GetText(2, t);
    EXPECT_EQ(t, CString(L"third"));
    EXPECT_EQ(list.FindStringExact(-1, L"SECOND"), 1);
    list.SetItemData(0, 42);
    EXPECT_EQ(list.GetItemData(0), DWORD_PTR(42));

    // A click on the first entry selects it and tells the parent; a double click too.
    CRect r;
    ASSERT_NE(list.GetItemRect(0, &r), LB_ERR);
    CPoint p = r.CenterPoint();
    BOOL outside = TRUE;
    EXPECT_EQ(list.ItemFromPoint(p, outside), 0u);
    EXPECT_FALSE(outside);
    Click(&list, p);
    EXPECT_EQ(list.GetCurSel(), 0);
    EXPECT_EQ(parent.Count(LBN_SELCHANGE, 6), 1);
    MouseDoubleClick(&list, p);
    MouseUp(&list, p);
    EXPECT_EQ(parent.Count(LBN_DBLCLK, 6), 1);
    list.SetFocus();
    KeyPress(&list, VK_DOWN);
    EXPECT_EQ(list.GetCurSel(), 1);
    EXPECT_EQ(parent.Count(LBN_SELCHANGE, 6), 2);

    CListBox multi;
    ASSERT_TRUE(multi.Create(WS_VISIBLE | LBS_MULTIPLESEL, CRect(160, 10, 300, 200), &parent, 7));
    for (const wchar_t* s : {L"a", L"b", L"c"}) multi.AddString(s);
    multi.SetSel(0);
    multi.SetSel(2);
    EXPECT_EQ(multi.GetSelCount(), 2);
    int items[4] = {};
    EXPECT_EQ(multi.GetSelItems(4, items), 2);
    EXPECT_EQ(items[1], 2);
    EXPECT_EQ(multi.SetCurSel(0), LB_ERR);
}

} // namespace
