// The grid and the keyboard, through real key events: arrows, Tab (which may append a row
// and tell the owner), page keys, Home and End move the focus, extend the selection with
// Shift and scroll; typed characters and F2 start edits; an editor's end carries on.
#include "grid_input_util.h"

#include <algorithm>

using namespace gridinput;
using namespace qor::test;

namespace {

const int kSelChanging = -100, kSelChanged = -101, kBeginEdit = -175, kEndEdit = -176, kRowAdded = 288;

class GridKeys : public GridInput
{
protected:
    void Press(UINT vk, UINT mk = 0, wchar_t ch = 0) { KeyPress(&grid, vk, ch, mk); }
};

} // namespace

TEST_F(GridKeys, ArrowsMoveTheFocusAndShiftExtendsTheSelection)
{
    MakeGrid();
    Click(&grid, Center(2, 2));
    host.notices.clear();

    Press(VK_RIGHT);
    EXPECT_EQ(grid.GetFocusCell(), CCellID(2, 3));
    EXPECT_EQ(grid.GetSelectedCellRange(), CCellRange(2, 3, 2, 3));
    EXPECT_EQ(Codes(), (std::vector<int>{kSelChanging, kSelChanged}));
    EXPECT_EQ(host.notices[0].row, 2);
    EXPECT_EQ(host.notices[0].col, 3);

    Press(VK_DOWN);
    EXPECT_EQ(grid.GetFocusCell(), CCellID(3, 3));
    Press(VK_DOWN, MK_SHIFT);
    EXPECT_EQ(grid.GetFocusCell(), CCellID(4, 3));
    EXPECT_EQ(grid.GetSelectedCellRange(), CCellRange(3, 3, 4, 3));
    Press(VK_LEFT, MK_SHIFT);
    EXPECT_EQ(grid.GetSelectedCellRange(), CCellRange(3, 2, 4, 3));
    EXPECT_EQ(grid.GetSelectedCount(), 4);
    Press(VK_UP);
    EXPECT_EQ(grid.GetFocusCell(), CCellID(3, 2));
    EXPECT_EQ(grid.GetSelectedCount(), 1);

    // The first non-fixed row and column are the limits.
    Click(&grid, Center(1, 1));
    Press(VK_UP);
    Press(VK_LEFT);
    EXPECT_EQ(grid.GetFocusCell(), CCellID(1, 1));
}

TEST_F(GridKeys, ArrowsSkipHiddenRowsAndColumns)
{
    MakeGrid();
    grid.SetRowHeight(3, 0);
    grid.SetColumnWidth(3, 0);
    grid.SetFocusCell(2, 2);
    Press(VK_DOWN);
    EXPECT_EQ(grid.GetFocusCell(), CCellID(4, 2));
    Press(VK_RIGHT);
    EXPECT_EQ(grid.GetFocusCell(), CCellID(4, 4));
    Press(VK_UP);
    EXPECT_EQ(grid.GetFocusCell(), CCellID(2, 4));
    Press(VK_LEFT);
    EXPECT_EQ(grid.GetFocusCell(), CCellID(2, 2));

    // Past the last shown column nothing moves.
    grid.SetColumnWidth(5, 0);
    grid.SetFocusCell(2, 4);
    Press(VK_RIGHT);
    EXPECT_EQ(grid.GetFocusCell(), CCellID(2, 4));
}

TEST_F(GridKeys, MovingPastTheWindowScrollsTheFocusIntoView)
{
    MakeGrid(40, 20);
    Click(&grid, Center(1, 2));
    for (int i = 0; i < 15; i++) Press(VK_DOWN);
    EXPECT_EQ(grid.GetFocusCell(), CCellID(16, 2));
    EXPECT_TRUE(grid.IsCellVisible(16, 2));
    EXPECT_GT(grid.ScrollPos(SB_VERT), 0);
    EXPECT_NE(std::find(grid.vscrollCodes.begin(), grid.vscrollCodes.end(), static_cast<UINT>(SB_ENDSCROLL)),
              grid.vscrollCodes.end());

    for (int i = 0; i < 10; i++) Press(VK_RIGHT);
    EXPECT_EQ(grid.GetFocusCell(), CCellID(16, 12));
    EXPECT_TRUE(grid.IsCellVisible(16, 12));
    EXPECT_GT(grid.ScrollPos(SB_HORZ), 0);

    for (int i = 0; i < 15; i++) Press(VK_UP);
    EXPECT_EQ(grid.GetFocusCell(), CCellID(1, 12));
    EXPECT_EQ(grid.ScrollPos(SB_VERT), 0);
}

TEST_F(GridKeys, PageKeysMoveByWhatScrolledAndStopAtTheEnds)
{
    MakeGrid(40, 6);
    Click(&grid, Center(1, 2));
    const int top0 = grid.GetTopleftNonFixedCell(TRUE).row;
    Press(VK_NEXT);
    const int top1 = grid.GetTopleftNonFixedCell(TRUE).row;
    ASSERT_GT(top1, top0);
    EXPECT_EQ(grid.GetFocusCell(), CCellID(1 + top1 - top0, 2));
    EXPECT_TRUE(grid.IsCellVisible(grid.GetFocusCell()));

    // When the grid cannot scroll further the focus goes to the last row.
    for (int i = 0; i < 10; i++) Press(VK_NEXT);
    EXPECT_EQ(grid.GetFocusCell(), CCellID(39, 2));
    EXPECT_TRUE(grid.IsCellVisible(39, 2));

    for (int i = 0; i < 10; i++) Press(VK_PRIOR);
    EXPECT_EQ(grid.GetFocusCell(), CCellID(1, 2));
    EXPECT_EQ(grid.ScrollPos(SB_VERT), 0);
}

TEST_F(GridKeys, HomeAndEndGoToTheRowEndsAndWithCtrlToTheGridEnds)
{
    MakeGrid(40, 30);
    Click(&grid, Center(3, 4));
    Press(VK_END);
    EXPECT_EQ(grid.GetFocusCell(), CCellID(3, 29));
    const int right = grid.ScrollPos(SB_HORZ);
    EXPECT_GT(right, 0);
    grid.SendMessage(WM_HSCROLL, SB_RIGHT, 0);
    EXPECT_EQ(grid.ScrollPos(SB_HORZ), right); // as far right as it goes
    EXPECT_TRUE(grid.IsCellVisible(3, 29));
    Press(VK_HOME);
    EXPECT_EQ(grid.GetFocusCell(), CCellID(3, 1));
    EXPECT_EQ(grid.ScrollPos(SB_HORZ), 0);

    Press(VK_END, MK_CONTROL);
    EXPECT_EQ(grid.GetFocusCell(), CCellID(39, 29));
    const int bottom = grid.ScrollPos(SB_VERT);
    grid.SendMessage(WM_VSCROLL, SB_BOTTOM, 0);
    EXPECT_GT(bottom, 0);
    EXPECT_EQ(grid.ScrollPos(SB_VERT), bottom);
    EXPECT_TRUE(grid.IsCellVisible(39, 29));
    Press(VK_HOME, MK_CONTROL);
    EXPECT_EQ(grid.GetFocusCell(), CCellID(1, 1));
    EXPECT_EQ(grid.ScrollPos(SB_VERT), 0);
    EXPECT_EQ(grid.ScrollPos(SB_HORZ), 0);

    // Hidden first and last columns are passed over.
    grid.SetColumnWidth(1, 0);
    grid.SetColumnWidth(29, 0);
    grid.SetFocusCell(3, 5);
    Press(VK_HOME);
    EXPECT_EQ(grid.GetFocusCell(), CCellID(3, 2));
    Press(VK_END);
    EXPECT_EQ(grid.GetFocusCell(), CCellID(3, 28));
}

TEST_F(GridKeys, TabInTheLastCellAppendsARowAndTellsTheOwner)
{
    MakeGrid(4, 4);
    grid.SetTabAddsRow(TRUE);
    Click(&grid, Center(3, 3));
    host.notices.clear();
    Press(VK_TAB, 0, L'\t');
    EXPECT_EQ(grid.GetRowCount(), 5);
    auto added = NoticesOf(static_cast<UINT>(kRowAdded));
    ASSERT_EQ(added.size(), 1u);
    EXPECT_EQ(added[0].row, 3); // the old last row
    EXPECT_EQ(added[0].col, 4); // the column count
    EXPECT_EQ(grid.GetFocusCell(), CCellID(4, 1));
    EXPECT_EQ(CRecordingCell::s_nEdits, 0); // the Tab character starts no edit

    // Without the option Tab stays in the last cell.
    grid.SetTabAddsRow(FALSE);
    grid.SetFocusCell(4, 3);
    Press(VK_TAB, 0, L'\t');
    EXPECT_EQ(grid.GetRowCount(), 5);
    EXPECT_EQ(grid.GetFocusCell(), CCellID(4, 3));
}

TEST_F(GridKeys, TabAndShiftTabWrapBetweenRows)
{
    MakeGrid(4, 4);
    Click(&grid, Center(1, 2));
    Press(VK_TAB, 0, L'\t');
    EXPECT_EQ(grid.GetFocusCell(), CCellID(1, 3));
    Press(VK_TAB, 0, L'\t');
    EXPECT_EQ(grid.GetFocusCell(), CCellID(2, 1));
    // Tab does not extend a selection even with Shift held.
    EXPECT_EQ(grid.GetSelectedCount(), 1);
    Press(VK_TAB, MK_SHIFT, L'\t');
    EXPECT_EQ(grid.GetFocusCell(), CCellID(1, 3));
    EXPECT_EQ(grid.GetSelectedCount(), 1);

    // Shift+Tab in the first non-fixed cell stays.
    grid.SetFocusCell(1, 1);
    Press(VK_TAB, MK_SHIFT, L'\t');
    EXPECT_EQ(grid.GetFocusCell(), CCellID(1, 1));
}

TEST_F(GridKeys, ATypedCharacterStartsAnEditOfTheFocusCell)
{
    MakeGrid();
    Click(&grid, Center(2, 2));
    host.notices.clear();
    Press('A', 0, L'a');
    auto begin = NoticesOf(static_cast<UINT>(kBeginEdit));
    ASSERT_EQ(begin.size(), 1u);
    EXPECT_EQ(begin[0].row, 2);
    EXPECT_EQ(begin[0].col, 2);
    EXPECT_EQ(CRecordingCell::s_nEdits, 1);
    EXPECT_EQ(CRecordingCell::s_nLastChar, static_cast<UINT>(L'a'));

    // Escape and Ctrl characters do not; F2 does, as a mouse start.
    Press(VK_ESCAPE, 0, L'\x1b');
    Press('C', MK_CONTROL, 3);
    EXPECT_EQ(CRecordingCell::s_nEdits, 1);
    Press(VK_F2);
    EXPECT_EQ(CRecordingCell::s_nEdits, 2);
    EXPECT_EQ(CRecordingCell::s_nLastChar, static_cast<UINT>(VK_LBUTTON));
    EXPECT_EQ(grid.GetFocusCell(), CCellID(2, 2));

    // A read-only cell or a grid that is not editable starts nothing.
    grid.SetItemState(2, 2, grid.GetItemState(2, 2) | GVIS_READONLY);
    Press('B', 0, L'b');
    grid.SetItemState(2, 2, grid.GetItemState(2, 2) & ~GVIS_READONLY);
    grid.SetEditable(FALSE);
    Press('B', 0, L'b');
    EXPECT_EQ(CRecordingCell::s_nEdits, 2);
}

TEST_F(GridKeys, ACharacterTypedDuringADragStartsNoEdit)
{
    MakeGrid();
    Click(&grid, Center(2, 2));
    MouseDown(&grid, Center(4, 4));
    MouseMove(&grid, Center(5, 4), MK_LBUTTON);
    grid.SendMessage(WM_CHAR, L'x', 1);
    EXPECT_EQ(CRecordingCell::s_nEdits, 0);
    MouseUp(&grid, Center(5, 4));

    // Nor during a border drag.
    MouseMove(&grid, CPoint(149, 10));
    MouseDown(&grid, CPoint(149, 10));
    grid.SendMessage(WM_CHAR, L'x', 1);
    EXPECT_EQ(CRecordingCell::s_nEdits, 0);
    MouseUp(&grid, CPoint(149, 10));
    grid.SendMessage(WM_CHAR, L'x', 1);
    EXPECT_EQ(CRecordingCell::s_nEdits, 1);
}

TEST_F(GridKeys, TheDialogCodeAsksForArrowsCharactersAndTab)
{
    MakeGrid();
    EXPECT_EQ(grid.SendMessage(WM_GETDLGCODE), 0x83);
    qor::gui::SetKeyDown(VK_CONTROL, true);
    EXPECT_EQ(grid.SendMessage(WM_GETDLGCODE), 0x81);
    qor::gui::SetKeyDown(VK_CONTROL, false);
    grid.SetHandleTabKey(FALSE);
    EXPECT_EQ(grid.SendMessage(WM_GETDLGCODE), 0x81);
}

TEST_F(GridKeys, KeysWithoutAFocusCellDoNothing)
{
    MakeGrid();
    Press(VK_DOWN);
    Press(VK_END, MK_CONTROL);
    EXPECT_EQ(grid.GetFocusCell(), CCellID(-1, -1));
    EXPECT_EQ(grid.GetSelectedCount(), 0);
    EXPECT_TRUE(host.notices.empty());
}

TEST_F(GridKeys, CtrlKeypadPlusAutosizesTheColumns)
{
    MakeGrid();
    grid.SetItemText(2, 3, _T("a text that is much wider than fifty pixels"));
    Click(&grid, Center(1, 1));
    Press(VK_ADD, MK_CONTROL);
    EXPECT_GT(grid.GetColumnWidth(3), 2 * kWidth);
}

TEST_F(GridKeys, AnEditorsEndTakesTheTextAndCarriesOnWithItsKey)
{
    MakeGrid();
    Click(&grid, Center(2, 2));
    host.notices.clear();

    // The editor is a child window of the grid with the in-place control id.
    CWnd editor;
    ASSERT_TRUE(
        editor.Create(AfxRegisterWndClass(0), nullptr, WS_CHILD, CRect(0, 0, 10, 10), &grid, IDC_INPLACE_CONTROL));
    GV_DISPINFO info{};
    info.hdr.hwndFrom = editor.GetSafeHwnd();
    info.hdr.code = GVN_ENDLABELEDIT;
    info.hdr.idFrom = IDC_INPLACE_CONTROL;
    info.item.row = 2;
    info.item.col = 2;
    info.item.mask = GVIF_TEXT | GVIF_PARAM;
    info.item.strText = _T("12.5");
    info.item.lParam = VK_TAB;
    EXPECT_EQ(grid.SendMessage(WM_NOTIFY, IDC_INPLACE_CONTROL, reinterpret_cast<LPARAM>(&info)), 0);

    EXPECT_EQ(grid.GetItemText(2, 2), CString(_T("12.5")));
    EXPECT_TRUE(grid.GetItemState(2, 2) & GVIS_MODIFIED);
    EXPECT_EQ(CRecordingCell::s_nEndEdits, 1);
    auto ended = NoticesOf(static_cast<UINT>(kEndEdit));
    ASSERT_EQ(ended.size(), 1u);
    EXPECT_EQ(ended[0].row, 2);
    EXPECT_EQ(ended[0].col, 2);
    // Tab moved on and opened the next cell.
    EXPECT_EQ(grid.GetFocusCell(), CCellID(2, 3));
    EXPECT_EQ(CRecordingCell::s_nEdits, 1);
    EXPECT_EQ(CRecordingCell::s_nLastChar, static_cast<UINT>(VK_TAB));

    // Return ends the edit where it is.
    info.item.col = 3;
    info.item.strText = _T("7");
    info.item.lParam = VK_RETURN;
    grid.SendMessage(WM_NOTIFY, IDC_INPLACE_CONTROL, reinterpret_cast<LPARAM>(&info));
    EXPECT_EQ(grid.GetItemText(2, 3), CString(_T("7")));
    EXPECT_EQ(grid.GetFocusCell(), CCellID(2, 3));
    EXPECT_EQ(CRecordingCell::s_nEdits, 1);
}

TEST_F(GridKeys, CtrlASelectsEverythingAndDeleteClearsTheSelectedCells)
{
    MakeGrid();
    Click(&grid, Center(2, 2));
    Press('A', MK_CONTROL, 1);
    EXPECT_EQ(grid.GetSelectedCount(), 45);
    EXPECT_EQ(grid.GetFocusCell(), CCellID(2, 2));

    Click(&grid, Center(3, 3));
    Click(&grid, Center(3, 4), VK_LBUTTON, MK_SHIFT);
    Press(VK_DELETE);
    EXPECT_EQ(grid.GetItemText(3, 3), CString());
    EXPECT_EQ(grid.GetItemText(3, 4), CString());
    EXPECT_EQ(grid.GetItemText(3, 2), CString(_T("3,2")));
    EXPECT_EQ(grid.GetFocusCell(), CCellID(3, 4)); // the focus stays
}
