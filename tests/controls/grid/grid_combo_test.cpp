// The combo box cell: its drop-down editor with the options, how the edit ends, the list's
// width, and the drop-down button it draws.
#include "grid_test_util.h"

#include "controls/grid/GridCellCombo.h"

#include <vector>

using qor::test::KeyPress;

namespace {

constexpr int kW = 80;
constexpr int kH = 20;

class ComboCell : public ::testing::Test
{
protected:
    static void SetUpTestSuite() { gridtest::InitApp(); }

    void SetUp() override
    {
        ASSERT_TRUE(gridtest::CreateHostedGrid(host, grid, 4, 3, CRect(0, 0, 400, 300), 77, kW, kH));
        ASSERT_TRUE(grid.SetCellType(1, 1, RUNTIME_CLASS(CGridCellCombo)));
        Cell()->SetOptions({_T("Alpha"), _T("Beta"), _T("Gamma")});
        grid.SetItemText(1, 1, _T("Beta"));
        gridtest::Pump();
        grid.SetFocus();
        grid.SetFocusCell(1, 1);
        host.notices.clear();
    }
    void TearDown() override { qor::gui::ClearKeyState(); }

    CGridCellCombo* Cell() { return dynamic_cast<CGridCellCombo*>(grid.GetCell(1, 1)); }
    CInPlaceList* List()
    {
        CGridCellBase* pCell = grid.GetCell(1, 1);
        return pCell ? dynamic_cast<CInPlaceList*>(CWnd::FromHandle(pCell->IsEditing() ? ListHandle() : nullptr))
                     : nullptr;
    }
    // The open list is the grid's child with the editor id.
    HWND ListHandle()
    {
        CWnd* pWnd = grid.GetDlgItem(IDC_INPLACE_CONTROL);
        return pWnd ? pWnd->GetSafeHwnd() : nullptr;
    }
    int CountCode(UINT code) const
    {
        int n = 0;
        for (const auto& notice : host.notices) n += notice.hdr.code == code ? 1 : 0;
        return n;
    }
    void Edit(UINT nChar) { grid.OnEditCell(1, 1, CPoint(-1, -1), nChar); }

    gridtest::CHostWnd host;
    gridtest::CTestGrid grid;
};

TEST_F(ComboCell, OptionsAreCopiedInOrder)
{
    std::vector<CString> options{_T("x"), _T("y")};
    Cell()->SetOptions(options);
    options[0] = _T("changed");
    ASSERT_EQ(Cell()->GetOptions().size(), 2u);
    EXPECT_EQ(Cell()->GetOptions()[0], CString(_T("x")));
    Cell()->SetOptions({});
    EXPECT_TRUE(Cell()->GetOptions().empty());
    EXPECT_EQ(Cell()->GetStyle(), static_cast<DWORD>(CBS_DROPDOWN));
}

TEST_F(ComboCell, AMouseStartOpensTheDroppedListOnTheCellsEntry)
{
    Edit(VK_LBUTTON);
    CInPlaceList* pList = List();
    ASSERT_NE(pList, nullptr);
    EXPECT_EQ(pList->GetStyle() & 0x50A00043u, 0x50A00042u);
    EXPECT_EQ(pList->GetCount(), 3);
    EXPECT_EQ(pList->GetCurSel(), 1);
    EXPECT_TRUE(pList->GetDroppedState());
    // The edit part is the cell's edit window, subclassed onto the box's own edit child.
    CWnd* pEditPart = Cell()->GetEditWnd();
    ASSERT_NE(pEditPart, nullptr);
    EXPECT_EQ(pEditPart->GetDlgCtrlID(), IDC_COMBOEDIT);
    EXPECT_EQ(pEditPart, pList->GetEditPart());
    CString text;
    pEditPart->GetWindowText(text);
    EXPECT_EQ(text, CString(_T("Beta")));
    EXPECT_EQ(pList->SendMessage(WM_GETDLGCODE), static_cast<LRESULT>(DLGC_WANTALLKEYS));
    // The list spans the cell and four more lines.
    CRect rc, rcCell;
    pList->GetWindowRect(rc);
    grid.GetCellRect(1, 1, rcCell);
    EXPECT_EQ(rc.Height(), rcCell.Height() + ::GetSystemMetrics(SM_CYHSCROLL) + 4 * rcCell.Height());
}

TEST_F(ComboCell, TypingReplacesTheTextAndReturnStoresIt)
{
    KeyPress(&grid, 'G', L'G');
    gridtest::Pump();
    CInPlaceList* pList = List();
    ASSERT_NE(pList, nullptr);
    CString text;
    pList->GetWindowText(text);
    EXPECT_EQ(text, CString(_T("G")));
    CWnd* pEditPart = Cell()->GetEditWnd();
    ASSERT_NE(pEditPart, nullptr);
    KeyPress(pEditPart, 'o', L'o');
    KeyPress(pEditPart, VK_RETURN, L'\r');
    gridtest::Pump();
    EXPECT_EQ(grid.GetItemText(1, 1), CString(_T("Go")));
    EXPECT_EQ(CountCode(GVN_ENDLABELEDIT), 1);
    EXPECT_FALSE(Cell()->IsEditing());
    EXPECT_EQ(ListHandle(), nullptr);
}

TEST_F(ComboCell, EscapePutsTheInitialTextBack)
{
    Edit('Z');
    CWnd* pEditPart = Cell()->GetEditWnd();
    ASSERT_NE(pEditPart, nullptr);
    KeyPress(pEditPart, VK_ESCAPE, L'\x1b');
    gridtest::Pump();
    EXPECT_EQ(grid.GetItemText(1, 1), CString(_T("Beta")));
    EXPECT_EQ(CountCode(GVN_ENDLABELEDIT), 0);
    EXPECT_FALSE(Cell()->IsEditing());
}

TEST_F(ComboCell, ChoosingAnEntryEndsTheEditWithIt)
{
    Edit(VK_LBUTTON);
    CInPlaceList* pList = List();
    ASSERT_NE(pList, nullptr);
    pList->SetCurSel(2);
    // The box reports the user's choice to its parent, which hands it back to the box.
    grid.SendMessage(WM_COMMAND, MAKEWPARAM(IDC_INPLACE_CONTROL, CBN_SELENDOK),
                     reinterpret_cast<LPARAM>(pList->GetSafeHwnd()));
    gridtest::Pump();
    EXPECT_EQ(grid.GetItemText(1, 1), CString(_T("Gamma")));
    EXPECT_EQ(CountCode(GVN_ENDLABELEDIT), 1);
    EXPECT_FALSE(Cell()->IsEditing());
}

TEST_F(ComboCell, ControlArrowEndsTheEditAndMovesOn)
{
    Edit(VK_LBUTTON);
    CWnd* pEditPart = Cell()->GetEditWnd();
    ASSERT_NE(pEditPart, nullptr);
    // (The list is closed first: the toolkit's pop-up gives the keyboard back to the window
    // later, which would take it from the next editor.)
    List()->ShowDropDown(FALSE);
    gridtest::Pump();
    KeyPress(pEditPart, VK_RIGHT, 0, MK_CONTROL);
    gridtest::Pump();
    EXPECT_FALSE(Cell()->IsEditing());
    EXPECT_EQ(grid.GetFocusCell(), CCellID(1, 2));
    EXPECT_TRUE(grid.GetCell(1, 2)->IsEditing());
}

TEST_F(ComboCell, ADropDownListHasNoEditPart)
{
    Cell()->SetStyle(CBS_DROPDOWNLIST);
    Edit(VK_LBUTTON);
    CInPlaceList* pList = List();
    ASSERT_NE(pList, nullptr);
    EXPECT_EQ(Cell()->GetEditWnd(), nullptr);
    EXPECT_EQ(pList->GetEditPart(), nullptr);
    EXPECT_EQ(CWnd::GetFocus(), pList);

    pList->SetCurSel(0);
    qor::test::KeyUp(pList, VK_ESCAPE);
    gridtest::Pump();
    EXPECT_EQ(grid.GetItemText(1, 1), CString(_T("Beta")));
    EXPECT_FALSE(Cell()->IsEditing());

    Edit(VK_LBUTTON);
    pList = List();
    ASSERT_NE(pList, nullptr);
    pList->SetCurSel(0);
    qor::test::KeyUp(pList, VK_RETURN);
    gridtest::Pump();
    EXPECT_EQ(grid.GetItemText(1, 1), CString(_T("Alpha")));

    // Losing the focus ends it too.
    Edit(VK_LBUTTON);
    pList = List();
    ASSERT_NE(pList, nullptr);
    pList->SetCurSel(2);
    grid.SetFocus();
    gridtest::Pump();
    EXPECT_EQ(grid.GetItemText(1, 1), CString(_T("Gamma")));
    EXPECT_FALSE(Cell()->IsEditing());
}

TEST_F(ComboCell, TheDroppedListIsAsWideAsItsWidestEntryUpTo200)
{
    Edit(VK_LBUTTON);
    CInPlaceList* pList = List();
    ASSERT_NE(pList, nullptr);
    CClientDC dc(nullptr);
    CFont* pOld = dc.SelectObject(pList->GetFont());
    const int widest = dc.GetTextExtent(CString(_T("Gamma"))).cx;
    const int zero = dc.GetTextExtent(CString(_T("0"))).cx;
    dc.SelectObject(pOld);
    EXPECT_EQ(pList->GetCorrectDropWidth(), widest + ::GetSystemMetrics(SM_CXVSCROLL) + zero);
    pList->AddString(_T("An entry far, far too long to be shown whole in any drop-down list"));
    EXPECT_EQ(pList->GetCorrectDropWidth(), 200);
    // Dropping the list down again sets the width again.
    grid.SendMessage(WM_COMMAND, MAKEWPARAM(IDC_INPLACE_CONTROL, CBN_DROPDOWN),
                     reinterpret_cast<LPARAM>(pList->GetSafeHwnd()));
    EXPECT_EQ(pList->GetDroppedWidth(), 200);
    grid.SetFocus();
    gridtest::Pump();
}

TEST_F(ComboCell, DrawsADropDownButtonOnlyWhereItFits)
{
    grid.GetCell(1, 1)->SetBackClr(RGB(255, 255, 255));
    grid.Invalidate();
    qor::test::PaintNow(&grid);
    CRect rcCell;
    grid.GetCellRect(1, 1, rcCell);
    const int w = ::GetSystemMetrics(SM_CXVSCROLL);
    const CRect button(rcCell.right - w + 2, rcCell.top + 2, rcCell.right - 2, rcCell.top + 10);
    const int buttonFace = qor::test::CountSurfacePixels(&grid, button, ::GetSysColor(COLOR_3DFACE));
    EXPECT_GT(buttonFace, button.Width() * button.Height() / 3);

    // Too narrow: no button, the cell is white there.
    grid.SetColumnWidth(1, 12);
    grid.Invalidate();
    qor::test::PaintNow(&grid);
    grid.GetCellRect(1, 1, rcCell);
    const CRect inner(rcCell.left + 2, rcCell.top + 2, rcCell.right - 2, rcCell.bottom - 2);
    EXPECT_EQ(qor::test::CountSurfacePixels(&grid, inner, ::GetSysColor(COLOR_3DFACE)), 0);

    // A read-only or non-editable grid shows no button.
    grid.SetColumnWidth(1, kW);
    grid.SetEditable(FALSE);
    grid.Invalidate();
    qor::test::PaintNow(&grid);
    grid.GetCellRect(1, 1, rcCell);
    EXPECT_EQ(qor::test::CountSurfacePixels(&grid, button, ::GetSysColor(COLOR_3DFACE)), 0);
}

TEST_F(ComboCell, ExtentMakesRoomForTheButton)
{
    CGridCell plain;
    plain.SetGrid(&grid);
    plain.SetText(_T("Beta"));
    CClientDC dc(&grid);
    const CSize base = plain.GetCellExtent(&dc);
    const CSize combo = Cell()->GetCellExtent(&dc);
    EXPECT_EQ(combo.cx, base.cx + ::GetSystemMetrics(SM_CXVSCROLL));
    EXPECT_GE(combo.cy, ::GetSystemMetrics(SM_CYHSCROLL));
    EXPECT_GE(combo.cy, base.cy);
}

} // namespace
