// Item state and the selected-cell map, selections by rows, columns and cells from the
// anchor, the focus cell, header clicks, and the two ends of an edit.
#include "grid_input_util.h"

using namespace gridinput;

namespace {

const UINT kBeginEdit = GVN_BEGINLABELEDIT, kEndEdit = GVN_ENDLABELEDIT;

class GridSelect : public GridInput
{};

} // namespace

TEST_F(GridSelect, ItemStateKeepsTheSelectedMapInStep)
{
    MakeGrid();
    EXPECT_FALSE(grid.GetSelectedCellRange().IsValid());
    EXPECT_EQ(grid.GetSelectedCellRange(), CCellRange(10, 6, -1, -1));

    EXPECT_TRUE(grid.SetItemState(2, 3, GVIS_SELECTED));
    EXPECT_TRUE(grid.SetItemState(2, 3, GVIS_SELECTED | GVIS_MODIFIED));
    EXPECT_EQ(grid.GetSelectedCount(), 1); // no second entry
    EXPECT_TRUE(grid.IsCellSelected(2, 3));
    EXPECT_EQ(grid.GetSelectedCellRange(), CCellRange(2, 3, 2, 3));
    EXPECT_EQ(grid.GetItemState(2, 3), GVIS_SELECTED | GVIS_MODIFIED);

    EXPECT_TRUE(grid.SetItemState(2, 3, GVIS_MODIFIED));
    EXPECT_EQ(grid.GetSelectedCount(), 0);
    EXPECT_FALSE(grid.SetItemState(20, 3, GVIS_SELECTED));
    EXPECT_EQ(grid.GetItemState(20, 3), 0u);

    // With selection off nothing counts as selected.
    grid.SetItemState(4, 4, GVIS_SELECTED);
    grid.EnableSelection(FALSE);
    EXPECT_FALSE(grid.IsCellSelected(4, 4));
    grid.SetSelectedRange(1, 1, 3, 3);
    EXPECT_EQ(grid.GetSelectedCount(), 0);
}

TEST_F(GridSelect, TheMapKeepsFarApartCellsApart)
{
    // Rows 1 and 65537 (and columns likewise) must not share a key.
    CInputGrid big;
    big.SetRowCount(65540);
    big.SetColumnCount(2);
    big.SetItemState(1, 1, GVIS_SELECTED);
    big.SetItemState(65537, 1, GVIS_SELECTED);
    EXPECT_EQ(big.GetSelectedCount(), 2);
    EXPECT_EQ(big.GetSelectedCellRange(), CCellRange(1, 1, 65537, 1));
    big.SetItemState(65537, 1, 0);
    EXPECT_EQ(big.GetSelectedCount(), 1);
    EXPECT_TRUE(big.IsCellSelected(1, 1));
}

TEST_F(GridSelect, EditableAndSelectedFollowTheStateBits)
{
    MakeGrid();
    EXPECT_TRUE(grid.IsCellEditable(2, 2));
    grid.SetItemState(2, 2, GVIS_READONLY);
    EXPECT_FALSE(grid.IsCellEditable(CCellID(2, 2)));
    EXPECT_TRUE(grid.IsCellEditable(50, 50)); // no cell: editable
    grid.SetEditable(FALSE);
    EXPECT_FALSE(grid.IsCellEditable(3, 3));
}

TEST_F(GridSelect, SelectionsRunFromTheAnchor)
{
    MakeGrid();
    grid.SetAnchor(CCellID(2, 4));
    grid.SelectCells(CCellID(4, 2));
    EXPECT_EQ(grid.GetSelectedCellRange(), CCellRange(2, 2, 4, 4));
    EXPECT_EQ(grid.GetSelectedCount(), 9);

    grid.SelectRows(CCellID(5, 3));
    EXPECT_EQ(grid.GetSelectedCellRange(), CCellRange(2, 1, 5, 5));
    grid.SelectColumns(CCellID(7, 5));
    EXPECT_EQ(grid.GetSelectedCellRange(), CCellRange(1, 4, 9, 5));
    grid.SetSingleColSelection(TRUE);
    grid.SelectColumns(CCellID(7, 2));
    EXPECT_EQ(grid.GetSelectedCellRange(), CCellRange(1, 2, 9, 2));

    // Fixed cells are refused; a cell can be deselected the same way.
    grid.SelectCells(CCellID(0, 3));
    grid.SelectRows(CCellID(0, 3));
    grid.SelectColumns(CCellID(3, 0));
    EXPECT_EQ(grid.GetSelectedCellRange(), CCellRange(1, 2, 9, 2));
    grid.SetAnchor(CCellID(4, 2));
    grid.SelectCells(CCellID(5, 2), FALSE, FALSE);
    EXPECT_EQ(grid.GetSelectedCount(), 7);
    EXPECT_FALSE(grid.IsCellSelected(4, 2));

    // Without an anchor the cell alone is taken.
    grid.SetAnchor(CCellID());
    grid.SelectCells(CCellID(3, 3));
    EXPECT_EQ(grid.GetSelectedCellRange(), CCellRange(3, 3, 3, 3));

    grid.SelectAllCells();
    EXPECT_EQ(grid.GetSelectedCount(), 45);
    grid.ResetSelectedRange();
    EXPECT_EQ(grid.GetSelectedCount(), 0);
    EXPECT_EQ(grid.GetFocusCell(), CCellID(-1, -1));
}

TEST_F(GridSelect, SingleRowSelectionInListModeTakesOneRow)
{
    MakeGrid();
    grid.SetListMode(TRUE);
    grid.SetSingleRowSelection(TRUE);
    grid.SetAnchor(CCellID(2, 1));
    grid.SelectRows(CCellID(5, 3));
    EXPECT_EQ(grid.GetSelectedCellRange(), CCellRange(5, 1, 5, 5));
}

TEST_F(GridSelect, HeaderClicksSelectColumnsRowsOrAll)
{
    MakeGrid();
    CCellID cell(0, 3);
    grid.SetAnchor(cell);
    grid.OnFixedRowClick(cell);
    EXPECT_EQ(grid.GetMouseMode(), CGridCtrl::MOUSE_SELECT_COL);
    EXPECT_EQ(grid.GetSelectedCellRange(), CCellRange(1, 3, 9, 3));

    cell = CCellID(4, 0);
    grid.SetAnchor(cell);
    grid.OnFixedColumnClick(cell);
    EXPECT_EQ(grid.GetMouseMode(), CGridCtrl::MOUSE_SELECT_ROW);
    EXPECT_EQ(grid.GetSelectedCellRange(), CCellRange(4, 1, 4, 5));

    cell = CCellID(0, 0);
    grid.OnFixedColumnClick(cell);
    EXPECT_EQ(grid.GetMouseMode(), CGridCtrl::MOUSE_SELECT_ALL);
    EXPECT_EQ(grid.GetSelectedCount(), 45);

    // Switched off, or for a cell outside the grid, nothing happens.
    grid.ResetSelectedRange();
    grid.SetFixedColumnSelection(FALSE);
    cell = CCellID(4, 0);
    grid.OnFixedColumnClick(cell);
    cell = CCellID(0, 30);
    grid.OnFixedRowClick(cell);
    EXPECT_EQ(grid.GetSelectedCount(), 0);
}

TEST_F(GridSelect, TheFocusCellIsRaisedOutOfTheHeadersAndMarked)
{
    MakeGrid();
    EXPECT_EQ(grid.SetFocusCell(0, 0), CCellID(-1, -1));
    EXPECT_EQ(grid.GetFocusCell(), CCellID(1, 1));
    EXPECT_TRUE(grid.GetItemState(1, 1) & GVIS_FOCUSED);
    EXPECT_EQ(grid.SetFocusCell(CCellID(3, 4)), CCellID(1, 1));
    EXPECT_FALSE(grid.GetItemState(1, 1) & GVIS_FOCUSED);
    EXPECT_TRUE(grid.GetItemState(3, 4) & GVIS_FOCUSED);
    EXPECT_EQ(grid.SetFocusCell(-1, 2), CCellID(3, 4));
    EXPECT_EQ(grid.GetFocusCell(), CCellID(-1, 2));
}

TEST_F(GridSelect, StartingAnEditAsksTheOwnerAndOpensTheCellsEditor)
{
    MakeGrid(40, 6);
    grid.OnEditCell(30, 2, CPoint(-1, -1), 'q');
    EXPECT_TRUE(grid.IsCellVisible(30, 2)); // scrolled into view first
    ASSERT_EQ(NoticesOf(kBeginEdit).size(), 1u);
    EXPECT_EQ(NoticesOf(kBeginEdit)[0].row, 30);
    EXPECT_EQ(CRecordingCell::s_nEdits, 1);
    EXPECT_EQ(CRecordingCell::s_nLastChar, static_cast<UINT>('q'));

    // A veto, a read-only cell, a grid that is not editable, a cell outside: no editor.
    host.notifyResult = -1;
    grid.OnEditCell(3, 2, CPoint(-1, -1), 'q');
    host.notifyResult = 0;
    grid.SetItemState(3, 3, GVIS_READONLY);
    grid.OnEditCell(3, 3, CPoint(-1, -1), 'q');
    grid.OnEditCell(40, 3, CPoint(-1, -1), 'q');
    grid.SetEditable(FALSE);
    grid.OnEditCell(3, 4, CPoint(-1, -1), 'q');
    EXPECT_EQ(CRecordingCell::s_nEdits, 1);
    EXPECT_EQ(NoticesOf(kBeginEdit).size(), 2u); // only the vetoed one asked
}

TEST_F(GridSelect, EndingAnEditTakesAcceptedTextAndRestoresRefusedText)
{
    MakeGrid();
    grid.SetItemState(2, 2, 0);
    // Unchanged text: no validation, no notification, but the cell hears of the end.
    grid.OnEndEditCell(2, 2, _T("2,2"));
    EXPECT_TRUE(NoticesOf(kEndEdit).empty());
    EXPECT_EQ(CRecordingCell::s_nEndEdits, 1);
    EXPECT_FALSE(grid.GetItemState(2, 2) & GVIS_MODIFIED);

    // Accepted.
    grid.OnEndEditCell(2, 2, _T("new"));
    EXPECT_EQ(grid.GetItemText(2, 2), CString(_T("new")));
    EXPECT_TRUE(grid.GetItemState(2, 2) & GVIS_MODIFIED);
    ASSERT_EQ(NoticesOf(kEndEdit).size(), 1u);
    EXPECT_EQ(NoticesOf(kEndEdit)[0].row, 2);
    EXPECT_EQ(NoticesOf(kEndEdit)[0].col, 2);
    EXPECT_EQ(CRecordingCell::s_nEndEdits, 2);

    // The owner refuses: the old text stays, the cell is marked modified all the same.
    host.notifyResult = -1;
    grid.OnEndEditCell(3, 3, _T("refused"));
    EXPECT_EQ(grid.GetItemText(3, 3), CString(_T("3,3")));
    EXPECT_TRUE(grid.GetItemState(3, 3) & GVIS_MODIFIED);
    EXPECT_EQ(NoticesOf(kEndEdit).size(), 2u);
    host.notifyResult = 0;

    // The cell refuses: the owner is not asked.
    CRecordingCell::s_bValid = FALSE;
    grid.OnEndEditCell(4, 4, _T("invalid"));
    EXPECT_EQ(grid.GetItemText(4, 4), CString(_T("4,4")));
    EXPECT_EQ(NoticesOf(kEndEdit).size(), 2u);
    EXPECT_FALSE(grid.ValidateEdit(4, 4, _T("x")));
    EXPECT_TRUE(grid.ValidateEdit(40, 4, _T("x"))); // no cell: valid

    // Outside the grid nothing happens.
    grid.OnEndEditCell(40, 1, _T("x"));
    EXPECT_EQ(NoticesOf(kEndEdit).size(), 2u);
    EXPECT_EQ(CRecordingCell::s_nEndEdits, 4);
}

TEST_F(GridSelect, ADragImageShowsTheFocusCell)
{
    MakeGrid();
    CPoint hot;
    EXPECT_EQ(grid.CreateDragImage(&hot), nullptr); // no focus cell
    grid.SetFocusCell(2, 2);
    std::unique_ptr<CImageList> pList(grid.CreateDragImage(&hot));
    ASSERT_NE(pList, nullptr);
    EXPECT_EQ(hot, CPoint(kWidth, kHeight));
    EXPECT_EQ(pList->GetImageCount(), 1);
}
