// The in-place editor of a standard cell: how an edit starts from its key, how it ends,
// what the grid and its owner are told, and how the editor grows.
#include "grid_test_util.h"

#include "controls/grid/InPlaceEdit.h"

using gridtest::CHostWnd;
using qor::test::KeyPress;

namespace {

constexpr int kW = 60;
constexpr int kH = 20;

class InPlaceEdit : public ::testing::Test
{
protected:
    static void SetUpTestSuite() { gridtest::InitApp(); }

    void SetUp() override
    {
        ASSERT_TRUE(gridtest::CreateHostedGrid(host, grid, 5, 4, CRect(0, 0, 300, 200), 77, kW, kH));
        for (int r = 1; r < 5; r++)
            for (int c = 1; c < 4; c++)
            {
                grid.SetItemText(r, c, _T("abc"));
                grid.SetItemState(r, c, grid.GetItemState(r, c) & ~GVIS_MODIFIED);
            }
        gridtest::Pump();
        grid.SetFocus();
        grid.SetFocusCell(1, 1);
        host.notices.clear();
    }
    void TearDown() override { qor::gui::ClearKeyState(); }

    CInPlaceEdit* Editor(int row = 1, int col = 1)
    {
        CGridCellBase* pCell = grid.GetCell(row, col);
        return pCell ? dynamic_cast<CInPlaceEdit*>(pCell->GetEditWnd()) : nullptr;
    }
    static CString TextOf(CWnd* wnd)
    {
        CString s;
        wnd->GetWindowText(s);
        return s;
    }
    int CountCode(UINT code) const
    {
        int n = 0;
        for (const auto& notice : host.notices) n += notice.hdr.code == code ? 1 : 0;
        return n;
    }
    static CPoint Center(int row, int col) { return CPoint(col * kW + kW / 2, row * kH + kH / 2); }

    CHostWnd host;
    gridtest::CTestGrid grid;
};

TEST_F(InPlaceEdit, TypingStartsAnEditWithTheTypedCharacter)
{
    KeyPress(&grid, 'X', L'x');
    gridtest::Pump();
    CInPlaceEdit* pEdit = Editor();
    ASSERT_NE(pEdit, nullptr);
    EXPECT_EQ(TextOf(pEdit), CString(_T("x")));
    EXPECT_EQ(pEdit->GetDlgCtrlID(), IDC_INPLACE_CONTROL);
    EXPECT_EQ(CWnd::GetFocus(), pEdit);
    EXPECT_TRUE(grid.GetCell(1, 1)->IsEditing());
    // The editor lies over the cell and uses the grid's font.
    CRect rcEdit, rcCell;
    pEdit->GetWindowRect(rcEdit);
    grid.ScreenToClient(rcEdit);
    grid.GetCellRect(1, 1, rcCell);
    EXPECT_EQ(rcEdit.TopLeft(), rcCell.TopLeft());
    ASSERT_NE(pEdit->GetFont(), nullptr);
    EXPECT_EQ(pEdit->GetFont()->GetSafeHandle(), grid.GetFont()->GetSafeHandle());
}

TEST_F(InPlaceEdit, BackspaceStartRemovesTheLastCharacter)
{
    KeyPress(&grid, VK_BACK, L'\b');
    gridtest::Pump();
    ASSERT_NE(Editor(), nullptr);
    EXPECT_EQ(TextOf(Editor()), CString(_T("ab")));
}

TEST_F(InPlaceEdit, MouseStartKeepsTheTextWithTheCaretAtTheEnd)
{
    // A click picks the cell, a double click on it edits it.
    qor::test::Click(&grid, Center(2, 2));
    qor::test::MouseDoubleClick(&grid, Center(2, 2));
    qor::test::MouseUp(&grid, Center(2, 2));
    gridtest::Pump();
    CInPlaceEdit* pEdit = Editor(2, 2);
    ASSERT_NE(pEdit, nullptr);
    EXPECT_EQ(TextOf(pEdit), CString(_T("abc")));
    int a = -1, b = -1;
    pEdit->GetSel(a, b);
    EXPECT_EQ(a, 3);
    EXPECT_EQ(b, 3);
    EXPECT_FALSE(pEdit->ExitsOnArrows());

    // With a mouse start the arrows move the caret and the edit goes on.
    KeyPress(pEdit, VK_LEFT);
    KeyPress(pEdit, VK_DOWN);
    gridtest::Pump();
    ASSERT_EQ(Editor(2, 2), pEdit);
    pEdit->GetSel(a, b);
    EXPECT_EQ(a, 2);

    // Control + arrow ends it, and editing moves on into the next cell.
    KeyPress(pEdit, VK_RIGHT, 0, MK_CONTROL);
    gridtest::Pump();
    EXPECT_EQ(Editor(2, 2), nullptr);
    EXPECT_FALSE(grid.GetCell(2, 2)->IsEditing());
    EXPECT_EQ(grid.GetFocusCell(), CCellID(2, 3));
    CInPlaceEdit* pNext = Editor(2, 3);
    ASSERT_NE(pNext, nullptr);
    EXPECT_EQ(CWnd::GetFocus(), pNext);
    pNext->GetSel(a, b);
    EXPECT_EQ(a, 0);
    EXPECT_EQ(b, 3);
    // The text did not change: the owner heard nothing of the first cell.
    EXPECT_EQ(CountCode(GVN_ENDLABELEDIT), 0);
}

TEST_F(InPlaceEdit, ReturnStoresTheTextAndTellsTheOwner)
{
    KeyPress(&grid, 'X', L'x');
    gridtest::Pump();
    CInPlaceEdit* pEdit = Editor();
    ASSERT_NE(pEdit, nullptr);
    const HWND hEdit = pEdit->GetSafeHwnd();
    KeyPress(pEdit, 'Y', L'y');
    KeyPress(pEdit, VK_RETURN, L'\r');
    gridtest::Pump();
    EXPECT_EQ(grid.GetItemText(1, 1), CString(_T("xy")));
    EXPECT_TRUE(grid.GetCell(1, 1)->IsModified());
    EXPECT_FALSE(grid.GetCell(1, 1)->IsEditing());
    ASSERT_EQ(CountCode(GVN_ENDLABELEDIT), 1);
    EXPECT_EQ(host.notices.back().row, 1);
    EXPECT_EQ(host.notices.back().col, 1);
    // The editor closed itself; the focus stays on the cell.
    EXPECT_FALSE(::IsWindow(hEdit));
    EXPECT_EQ(CWnd::GetFocus(), &grid);
    EXPECT_EQ(grid.GetFocusCell(), CCellID(1, 1));
}

TEST_F(InPlaceEdit, KeyboardStartEndsOnArrowsAndCarriesOn)
{
    KeyPress(&grid, 'X', L'x');
    gridtest::Pump();
    ASSERT_NE(Editor(), nullptr);
    EXPECT_TRUE(Editor()->ExitsOnArrows());
    KeyPress(Editor(), VK_DOWN);
    gridtest::Pump();
    EXPECT_EQ(grid.GetItemText(1, 1), CString(_T("x")));
    EXPECT_EQ(grid.GetFocusCell(), CCellID(2, 1));
    ASSERT_NE(Editor(2, 1), nullptr);
    EXPECT_EQ(TextOf(Editor(2, 1)), CString(_T("abc")));
    // Home and End move the caret, they never end the edit.
    KeyPress(Editor(2, 1), VK_HOME);
    KeyPress(Editor(2, 1), VK_END);
    gridtest::Pump();
    EXPECT_NE(Editor(2, 1), nullptr);
}

TEST_F(InPlaceEdit, EscapeRestoresTheTextBeforeReporting)
{
    KeyPress(&grid, 'X', L'x');
    gridtest::Pump();
    ASSERT_NE(Editor(), nullptr);
    KeyPress(Editor(), VK_ESCAPE, L'\x1b');
    gridtest::Pump();
    EXPECT_EQ(grid.GetItemText(1, 1), CString(_T("abc")));
    EXPECT_FALSE(grid.GetCell(1, 1)->IsModified());
    EXPECT_EQ(CountCode(GVN_ENDLABELEDIT), 0);
    EXPECT_EQ(Editor(), nullptr);
    EXPECT_EQ(grid.GetFocusCell(), CCellID(1, 1));
}

TEST_F(InPlaceEdit, TabInTheLastCellAppendsARow)
{
    grid.SetTabAddsRow(TRUE);
    grid.SetFocusCell(4, 3);
    KeyPress(&grid, 'Q', L'q');
    gridtest::Pump();
    ASSERT_NE(Editor(4, 3), nullptr);
    KeyPress(Editor(4, 3), VK_TAB, L'\t');
    gridtest::Pump();
    EXPECT_EQ(grid.GetItemText(4, 3), CString(_T("q")));
    EXPECT_EQ(grid.GetRowCount(), 6);
    EXPECT_EQ(CountCode(GVN_ENDLABELEDIT), 1);
    ASSERT_EQ(CountCode(GN_ROWADDED), 1);
    EXPECT_EQ(grid.GetFocusCell(), CCellID(5, 1));
    EXPECT_NE(Editor(5, 1), nullptr);
}

TEST_F(InPlaceEdit, RefusedEditKeepsTheOldTextButMarksTheCell)
{
    KeyPress(&grid, 'X', L'x');
    gridtest::Pump();
    ASSERT_NE(Editor(), nullptr);
    host.notifyResult = -1; // the owner refuses the new text
    KeyPress(Editor(), VK_RETURN, L'\r');
    gridtest::Pump();
    EXPECT_EQ(grid.GetItemText(1, 1), CString(_T("abc")));
    EXPECT_TRUE(grid.GetCell(1, 1)->IsModified());
    EXPECT_EQ(CountCode(GVN_ENDLABELEDIT), 1);
}

TEST_F(InPlaceEdit, LosingTheFocusEndsTheEdit)
{
    KeyPress(&grid, 'X', L'x');
    gridtest::Pump();
    ASSERT_NE(Editor(), nullptr);
    grid.SetFocus();
    gridtest::Pump();
    EXPECT_EQ(Editor(), nullptr);
    EXPECT_EQ(grid.GetItemText(1, 1), CString(_T("x")));
    // Ending an edit that is no longer open does nothing.
    grid.GetCell(1, 1)->EndEdit();
    EXPECT_EQ(CountCode(GVN_ENDLABELEDIT), 1);
}

TEST_F(InPlaceEdit, GrowsWhileTypingButNotPastTheGridOrBack)
{
    grid.SetFocusCell(1, 3);
    KeyPress(&grid, 'W', L'W');
    gridtest::Pump();
    CInPlaceEdit* pEdit = Editor(1, 3);
    ASSERT_NE(pEdit, nullptr);
    CRect client;
    grid.GetClientRect(client);
    auto rectOf = [&]() {
        CRect rc;
        pEdit->GetWindowRect(rc);
        grid.ScreenToClient(rc);
        return rc;
    };
    const CRect first = rectOf();
    int prevRight = first.right;
    for (int i = 0; i < 30; i++)
    {
        KeyPress(pEdit, 'W', L'W');
        const CRect now = rectOf();
        EXPECT_GE(now.right, prevRight);
        EXPECT_LE(now.right, client.right);
        EXPECT_EQ(now.left, first.left);
        EXPECT_EQ(now.Height(), first.Height());
        prevRight = now.right;
    }
    EXPECT_EQ(prevRight, client.right);
    // Deleting text does not shrink it.
    for (int i = 0; i < 20; i++) KeyPress(pEdit, VK_BACK, L'\b');
    EXPECT_EQ(rectOf().right, client.right);
}

TEST_F(InPlaceEdit, ReadOnlyCellsAndVetoedStartsOpenNoEditor)
{
    grid.SetItemState(1, 1, grid.GetItemState(1, 1) | GVIS_READONLY);
    KeyPress(&grid, 'X', L'x');
    gridtest::Pump();
    EXPECT_EQ(Editor(), nullptr);

    grid.SetFocusCell(2, 2);
    host.notifyResult = -1; // the owner refuses the edit
    KeyPress(&grid, 'X', L'x');
    gridtest::Pump();
    EXPECT_EQ(Editor(2, 2), nullptr);
    EXPECT_FALSE(grid.GetCell(2, 2)->IsEditing());
}

TEST_F(InPlaceEdit, AltCharactersAreSwallowedAndAllKeysAreWanted)
{
    KeyPress(&grid, 'X', L'x');
    gridtest::Pump();
    CInPlaceEdit* pEdit = Editor();
    ASSERT_NE(pEdit, nullptr);
    EXPECT_EQ(pEdit->SendMessage(WM_GETDLGCODE), static_cast<LRESULT>(DLGC_WANTALLKEYS));
    MSG msg{};
    msg.hwnd = pEdit->GetSafeHwnd();
    msg.message = WM_SYSCHAR;
    msg.wParam = 'f';
    EXPECT_TRUE(pEdit->PreTranslateMessage(&msg));
    msg.message = WM_KEYDOWN;
    EXPECT_FALSE(pEdit->PreTranslateMessage(&msg));
}

} // namespace
