// The grid's data model: coordinates, counts and the state bits they keep, cell classes,
// row deletion and the focus, the selected-cell map, default colours, column spreading.
#include "grid_test_util.h"

using namespace gridtest;

namespace {

class CMarkedCell : public CGridCell
{
    DECLARE_DYNCREATE(CMarkedCell)
};
IMPLEMENT_DYNCREATE(CMarkedCell, CGridCell)

class GridModel : public ::testing::Test
{
protected:
    static void SetUpTestSuite() { InitApp(); }
};

// Every cell's fixed bits agree with the fixed counts.
void ExpectFixedBitsConsistent(const CGridCtrl& grid)
{
    for (int r = 0; r < grid.GetRowCount(); r++)
        for (int c = 0; c < grid.GetColumnCount(); c++)
        {
            const CGridCellBase* cell = grid.GetCell(r, c);
            ASSERT_NE(cell, nullptr) << r << "," << c;
            const bool fixedRow = r < grid.GetFixedRowCount();
            const bool fixedCol = c < grid.GetFixedColumnCount();
            const DWORD st = cell->GetState();
            EXPECT_EQ((st & GVIS_FIXED) != 0, fixedRow || fixedCol) << r << "," << c;
            EXPECT_EQ((st & GVIS_FIXEDROW) != 0, fixedRow) << r << "," << c;
            EXPECT_EQ((st & GVIS_FIXEDCOL) != 0, fixedCol) << r << "," << c;
        }
}

} // namespace

TEST(CellCoordinates, ValidityAndRanges)
{
    EXPECT_FALSE(CCellID().IsValid());
    EXPECT_TRUE(CCellID(0, 0).IsValid());
    EXPECT_TRUE(CCellID(1, 2) != CCellID(1, 3));
    EXPECT_TRUE(CCellID(1, 2) == CCellID(1, 2));

    EXPECT_FALSE(CCellRange().IsValid());
    EXPECT_FALSE(CCellRange(2, 0, 1, 0).IsValid());
    const CCellRange range(1, 2, 3, 4);
    EXPECT_TRUE(range.IsValid());
    EXPECT_TRUE(range.InRange(1, 2));
    EXPECT_TRUE(range.InRange(CCellID(3, 4)));
    EXPECT_FALSE(range.InRange(0, 2));
    EXPECT_FALSE(range.InRange(3, 5));
}

TEST(SelectionKey, DistinctForLargeRowsAndColumns)
{
    // Keys packed into 16 bits per coordinate would collide for these.
    EXPECT_NE(qor::grid::SelectionKey(65536, 0), qor::grid::SelectionKey(0, 0));
    EXPECT_NE(qor::grid::SelectionKey(0, 65536), qor::grid::SelectionKey(0, 0));
    EXPECT_NE(qor::grid::SelectionKey(1, 0), qor::grid::SelectionKey(0, 1));
    EXPECT_NE(qor::grid::SelectionKey(70000, 3), qor::grid::SelectionKey(4464, 4));
}

TEST(SpreadColumnWidths, GivesOutTheDifferenceAndTheRemainder)
{
    std::vector<UINT> w{50, 50, 50};
    ASSERT_TRUE(qor::grid::SpreadColumnWidths(w, 0, 160)); // 10 more: 3 each, 1 to the first
    EXPECT_EQ(w, (std::vector<UINT>{54, 53, 53}));

    w = {50, 50, 50};
    ASSERT_TRUE(qor::grid::SpreadColumnWidths(w, 0, 148)); // 2 less: one from each of the first two
    EXPECT_EQ(w, (std::vector<UINT>{49, 49, 50}));

    // A hidden column stays hidden but uses up its pixel of the remainder.
    w = {50, 0, 50, 50};
    ASSERT_TRUE(qor::grid::SpreadColumnWidths(w, 0, 161));
    EXPECT_EQ(w, (std::vector<UINT>{54, 0, 53, 53}));

    // Without the fixed column: it keeps its width but counts in the sum.
    w = {30, 50, 50};
    ASSERT_TRUE(qor::grid::SpreadColumnWidths(w, 1, 140));
    EXPECT_EQ(w, (std::vector<UINT>{30, 55, 55}));
}

TEST(SpreadColumnWidths, NeverHidesAColumnAndNeedsAWidth)
{
    std::vector<UINT> w{50, 50, 50};
    ASSERT_TRUE(qor::grid::SpreadColumnWidths(w, 0, 2));
    EXPECT_EQ(w, (std::vector<UINT>{1, 1, 1}));

    w = {50, 50, 50};
    EXPECT_FALSE(qor::grid::SpreadColumnWidths(w, 0, 0));
    EXPECT_FALSE(qor::grid::SpreadColumnWidths(w, 0, -20));
    EXPECT_EQ(w, (std::vector<UINT>{50, 50, 50}));

    w = {50, 0, 0};
    EXPECT_FALSE(qor::grid::SpreadColumnWidths(w, 1, 300));
    EXPECT_EQ(w, (std::vector<UINT>{50, 0, 0}));
}

TEST_F(GridModel, NewGridIsEmptyAndLookupsOutsideGiveNothing)
{
    CGridCtrl grid;
    EXPECT_EQ(grid.GetRowCount(), 0);
    EXPECT_EQ(grid.GetColumnCount(), 0);
    EXPECT_EQ(grid.GetCell(0, 0), nullptr);

    grid.SetRowCount(3);
    grid.SetColumnCount(2);
    EXPECT_NE(grid.GetCell(0, 0), nullptr);
    EXPECT_EQ(grid.GetCell(-1, 0), nullptr);
    EXPECT_EQ(grid.GetCell(3, 0), nullptr);
    EXPECT_EQ(grid.GetCell(0, 2), nullptr);
    EXPECT_FALSE(grid.SetCell(3, 0, nullptr));
    EXPECT_TRUE(grid.GetItemText(5, 0).IsEmpty());
    EXPECT_EQ(grid.GetRowHeight(3), -1);
    EXPECT_EQ(grid.GetColumnWidth(-1), -1);
    EXPECT_FALSE(grid.SetRowHeight(0, -1));
    EXPECT_TRUE(grid.GetCell(1, 1)->IsKindOf(RUNTIME_CLASS(CGridCell)));
    EXPECT_EQ(grid.GetCell(1, 1)->GetDefaultCell(), grid.GetDefaultCell(FALSE, FALSE));
}

TEST_F(GridModel, NewRowsAndColumnsTakeTheDefaultSizes)
{
    CGridCtrl grid(2, 2);
    EXPECT_EQ(grid.GetRowHeight(1), grid.GetDefaultCell(FALSE, FALSE)->GetHeight());
    EXPECT_EQ(grid.GetColumnWidth(1), grid.GetDefaultCell(FALSE, TRUE)->GetWidth());
    EXPECT_GT(grid.GetColumnWidth(1), 0);
    EXPECT_EQ(grid.GetVirtualWidth(), 2L * grid.GetColumnWidth(0));
}

TEST_F(GridModel, CountsKeepTheFixedStateBits)
{
    CGridCtrl grid;
    grid.SetRowCount(5);
    grid.SetColumnCount(4);
    grid.SetFixedRowCount(2);
    grid.SetFixedColumnCount(1);
    ExpectFixedBitsConsistent(grid);

    // Cells added later are created fixed where they have to be.
    grid.SetRowCount(7);
    grid.SetColumnCount(6);
    ExpectFixedBitsConsistent(grid);

    // A cell's own colours are dropped when it becomes a header.
    grid.GetCell(3, 2)->SetBackClr(RGB(1, 2, 3));
    grid.SetFixedRowCount(4);
    ExpectFixedBitsConsistent(grid);
    EXPECT_EQ(grid.GetCell(3, 2)->GetBackClr(), CLR_DEFAULT_GRID);

    // Shrinking the fixed rows leaves the fixed column's cells fixed.
    grid.SetFixedRowCount(1);
    ExpectFixedBitsConsistent(grid);
    EXPECT_EQ(grid.GetItemState(2, 0) & (GVIS_FIXED | GVIS_FIXEDCOL | GVIS_FIXEDROW), GVIS_FIXED | GVIS_FIXEDCOL);

    grid.SetFixedColumnCount(3);
    ExpectFixedBitsConsistent(grid);
    grid.SetFixedColumnCount(0);
    ExpectFixedBitsConsistent(grid);
}

TEST_F(GridModel, FixedCountsAndRowCountsFollowEachOther)
{
    CGridCtrl grid(2, 3);
    EXPECT_TRUE(grid.SetFixedRowCount(5)); // grows the grid first
    EXPECT_EQ(grid.GetRowCount(), 5);
    EXPECT_EQ(grid.GetFixedRowCount(), 5);
    ExpectFixedBitsConsistent(grid);

    grid.SetRowCount(0);
    EXPECT_EQ(grid.GetFixedRowCount(), 0);
    EXPECT_EQ(grid.GetCell(0, 0), nullptr);

    EXPECT_TRUE(grid.SetFixedColumnCount(4));
    EXPECT_EQ(grid.GetColumnCount(), 4);
    EXPECT_FALSE(grid.SetRowCount(-1));
    EXPECT_EQ(grid.GetRowCount(), 0);
}

TEST_F(GridModel, SetCellTypeKeepsTextAndState)
{
    CGridCtrl grid(4, 3, 1, 1);
    CGridCellBase* old = grid.GetCell(0, 2);
    old->SetText(_T("Header"));
    grid.SetModified(0, 2);
    const DWORD state = grid.GetItemState(0, 2);
    old->SetTextClr(RGB(10, 20, 30));

    ASSERT_TRUE(grid.SetCellType(0, 2, RUNTIME_CLASS(CMarkedCell)));
    CGridCellBase* cell = grid.GetCell(0, 2);
    ASSERT_NE(cell, nullptr);
    EXPECT_TRUE(cell->IsKindOf(RUNTIME_CLASS(CMarkedCell)));
    EXPECT_EQ(CString(cell->GetText()), CString(_T("Header")));
    EXPECT_EQ(cell->GetState(), state);
    EXPECT_TRUE(cell->IsFixedRow());
    EXPECT_TRUE(cell->IsModified());
    EXPECT_EQ(cell->GetTextClr(), RGB(10, 20, 30));
    EXPECT_EQ(cell->GetGrid(), &grid);
    EXPECT_TRUE(cell->IsDefaultFont());
    EXPECT_EQ(cell->GetFormat(), grid.GetDefaultCell(TRUE, FALSE)->GetFormat());

    EXPECT_FALSE(grid.SetCellType(4, 0, RUNTIME_CLASS(CMarkedCell)));
    EXPECT_FALSE(grid.SetCellType(0, 0, RUNTIME_CLASS(CWnd)));
    EXPECT_EQ(grid.GetCell(0, 2), cell);

    // A place without a cell gets one that belongs to the grid all the same.
    CGridCellBase* gone = grid.GetCell(2, 2);
    ASSERT_TRUE(grid.SetCell(2, 2, nullptr));
    delete gone;
    ASSERT_TRUE(grid.SetCellType(2, 2, RUNTIME_CLASS(CMarkedCell)));
    ASSERT_NE(grid.GetCell(2, 2), nullptr);
    EXPECT_EQ(grid.GetCell(2, 2)->GetGrid(), &grid);
    EXPECT_EQ(grid.GetCell(2, 2)->GetDefaultCell(), grid.GetDefaultCell(FALSE, FALSE));
}

TEST_F(GridModel, NewCellsComeFromTheDefaultCellClass)
{
    CGridCtrl grid;
    EXPECT_FALSE(grid.SetDefaultCellType(RUNTIME_CLASS(CWnd)));
    ASSERT_TRUE(grid.SetDefaultCellType(RUNTIME_CLASS(CMarkedCell)));
    grid.SetRowCount(2);
    grid.SetColumnCount(2);
    EXPECT_TRUE(grid.GetCell(1, 1)->IsKindOf(RUNTIME_CLASS(CMarkedCell)));
}

TEST_F(GridModel, DeleteRowMovesTheFocus)
{
    CGridCtrl grid(6, 3, 1, 1);
    for (int r = 0; r < 6; r++) grid.GetCell(r, 1)->SetText(CString(static_cast<wchar_t>(L'A' + r)));

    grid.SetFocusCell(3, 1);
    ASSERT_EQ(grid.GetFocusCell(), CCellID(3, 1));
    ASSERT_TRUE(grid.DeleteRow(1)); // above the focus
    EXPECT_EQ(grid.GetRowCount(), 5);
    EXPECT_EQ(grid.GetFocusCell(), CCellID(2, 1));
    EXPECT_EQ(grid.GetItemText(2, 1), CString(_T("D"))); // the same cell keeps the focus
    EXPECT_TRUE(grid.GetCell(2, 1)->IsFocused());
    EXPECT_TRUE(grid.GetModified());

    ASSERT_TRUE(grid.DeleteRow(4)); // below the focus
    EXPECT_EQ(grid.GetFocusCell(), CCellID(2, 1));

    ASSERT_TRUE(grid.DeleteRow(2)); // the focus row
    EXPECT_EQ(grid.GetFocusCell(), CCellID(-1, -1));
    for (int r = 0; r < grid.GetRowCount(); r++) EXPECT_FALSE(grid.GetCell(r, 1)->IsFocused());

    ASSERT_TRUE(grid.DeleteRow(0)); // a fixed row
    EXPECT_EQ(grid.GetFixedRowCount(), 0);
    EXPECT_FALSE(grid.DeleteRow(2));
    EXPECT_FALSE(grid.DeleteRow(-1));
    EXPECT_EQ(grid.GetRowCount(), 2);
    EXPECT_EQ(grid.GetItemText(0, 1), CString(_T("C")));
}

TEST_F(GridModel, DeleteRowTakesTheSelectionAway)
{
    CGridCtrl grid(4, 3);
    grid.SetSelectedRange(1, 0, 2, 2);
    ASSERT_EQ(grid.GetSelectedCount(), 6);
    grid.DeleteRow(0);
    EXPECT_EQ(grid.GetSelectedCount(), 0);
    EXPECT_FALSE(grid.IsCellSelected(0, 0));
    EXPECT_FALSE(grid.GetSelectedCellRange().IsValid());
}

TEST_F(GridModel, SelectionMapFollowsTheSelectedBit)
{
    CGridCtrl grid(5, 5, 1, 1);
    grid.SetItemState(2, 2, GVIS_SELECTED);
    grid.SetItemState(2, 2, GVIS_SELECTED | GVIS_MODIFIED); // already selected: no second entry
    EXPECT_EQ(grid.GetSelectedCount(), 1);
    grid.SetItemState(3, 4, GVIS_SELECTED);
    EXPECT_EQ(grid.GetSelectedCellRange(), CCellRange(2, 2, 3, 4));
    grid.SetItemState(2, 2, 0);
    EXPECT_EQ(grid.GetSelectedCount(), 1);
    EXPECT_EQ(grid.GetSelectedCellRange(), CCellRange(3, 4, 3, 4));
}

TEST_F(GridModel, SelectionOfFarApartRowsDoesNotCollide)
{
    CGridCtrl grid(65537, 1);
    grid.SetItemState(0, 0, GVIS_SELECTED);
    grid.SetItemState(65536, 0, GVIS_SELECTED);
    EXPECT_EQ(grid.GetSelectedCount(), 2);
    grid.SetItemState(65536, 0, 0);
    EXPECT_EQ(grid.GetSelectedCount(), 1);
    EXPECT_EQ(grid.GetSelectedCellRange(), CCellRange(0, 0, 0, 0));
}

TEST_F(GridModel, ModifiedMarksTheCellAndTheGrid)
{
    CGridCtrl grid(3, 3);
    grid.SetModified(-1, -1);
    EXPECT_TRUE(grid.GetModified());
    EXPECT_FALSE(grid.GetCell(1, 1)->IsModified());
    grid.SetModified(1, 1);
    EXPECT_TRUE(grid.GetCell(1, 1)->IsModified());
    EXPECT_TRUE(grid.SetItemText(2, 2, _T("x")));
    EXPECT_TRUE(grid.GetCell(2, 2)->IsModified());
    EXPECT_FALSE(grid.SetItemText(3, 2, _T("x")));
}

TEST_F(GridModel, DeleteAllItemsEmptiesTheGrid)
{
    CGridCtrl grid(4, 4, 1, 1);
    grid.SetFocusCell(2, 2);
    ASSERT_TRUE(grid.DeleteAllItems());
    EXPECT_EQ(grid.GetRowCount(), 0);
    EXPECT_EQ(grid.GetColumnCount(), 0);
    EXPECT_EQ(grid.GetFixedRowCount(), 0);
    EXPECT_EQ(grid.GetFixedColumnCount(), 0);
    EXPECT_EQ(grid.GetFocusCell(), CCellID(-1, -1));
    EXPECT_EQ(grid.GetVirtualHeight(), 0L);
}

TEST_F(GridModel, CellsResolveFormatMarginAndColoursThroughTheirDefaults)
{
    CGridCtrl grid(2, 2, 1, 1);
    CGridCellBase* cell = grid.GetCell(1, 1);
    CGridDefaultCell* def = grid.GetDefaultCell(FALSE, FALSE);
    EXPECT_EQ(cell->GetMargin(), def->GetMargin());
    EXPECT_EQ(cell->GetTextClr(), CLR_DEFAULT_GRID); // the getters give the marker
    EXPECT_EQ(def->GetBackClr(), ::GetSysColor(COLOR_WINDOW));
    EXPECT_EQ(grid.GetDefaultCell(TRUE, TRUE)->GetBackClr(), ::GetSysColor(COLOR_3DFACE));
    EXPECT_EQ(def->GetFormat(), DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX | DT_END_ELLIPSIS);
    EXPECT_TRUE(def->IsReadOnly());
    EXPECT_EQ(grid.GetCell(0, 1)->GetDefaultCell(), grid.GetDefaultCell(TRUE, FALSE));
    EXPECT_EQ(grid.GetCell(1, 0)->GetDefaultCell(), grid.GetDefaultCell(FALSE, TRUE));
    EXPECT_EQ(grid.GetCell(0, 0)->GetDefaultCell(), grid.GetDefaultCell(TRUE, TRUE));

    // Copying onto itself changes nothing; a copy without an own font has none.
    cell->SetText(_T("v"));
    *cell = *cell;
    EXPECT_EQ(CString(cell->GetText()), CString(_T("v")));
    CGridCell other;
    other = *cell;
    EXPECT_TRUE(other.IsDefaultFont());
    EXPECT_EQ(other.GetMargin(), def->GetMargin()); // resolved value copied
}

TEST_F(GridModel, SystemColourChangeKeepsTheProgramsColours)
{
    CHostWnd host;
    ASSERT_TRUE(host.CreateHost());
    CGridCtrl grid(2, 2);
    ASSERT_TRUE(grid.Create(CRect(0, 0, 200, 100), &host, 7));
    grid.GetDefaultCell(TRUE, FALSE)->SetTextClr(RGB(200, 0, 0));
    qor::gui::SetSysColorOverride(COLOR_WINDOW, RGB(250, 240, 230));
    qor::gui::SetSysColorOverride(COLOR_WINDOWTEXT, RGB(5, 6, 7));
    grid.SendMessage(WM_SYSCOLORCHANGE);
    EXPECT_EQ(grid.GetDefaultCell(FALSE, FALSE)->GetBackClr(), RGB(250, 240, 230));
    EXPECT_EQ(grid.GetDefaultCell(FALSE, FALSE)->GetTextClr(), RGB(5, 6, 7));
    EXPECT_EQ(grid.GetDefaultCell(TRUE, FALSE)->GetTextClr(), RGB(200, 0, 0));
    qor::gui::SetSysColorOverride(-1, 0);
}
