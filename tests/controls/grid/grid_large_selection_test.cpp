// Selections in a table of 900,000 rows whose rows are made only when shown: the selection is
// held as ranges (no row is made by selecting), with the count, the focus cell, Shift and Ctrl
// extension and the notifications as before; copies and saves read the table's texts and give
// what a grid of made cells gives.
#include "grid_input_util.h"

#include "platform/test/FrameTest.h"

#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>

using namespace gridinput;

namespace {

CString CellName(int row, int col)
{
    CString text;
    text.Format(_T("%d,%d"), row, col);
    return text;
}

// Rows made when shown, filled with "row,col"; the same texts through the text reader.
void MakeLazy(CGridCtrl& grid, int& made)
{
    grid.SetRowMaker([&grid, &made](int row) {
        made++;
        for (int col = 0; col < grid.GetColumnCount(); col++) grid.GetCell(row, col)->SetText(CellName(row, col));
    });
    grid.SetTextReader([](int row, int col) { return CellName(row, col); });
}

std::string CopiedText(CGridCtrl& grid)
{
    COleDataSource* pSource = grid.CopyTextFromGrid();
    if (!pSource) return std::string();
    const std::string text(static_cast<const char*>(::GlobalLock(pSource->GetCachedData(CF_TEXT))));
    delete pSource;
    return text;
}

std::string SavedText(CGridCtrl& grid, const std::string& path)
{
    EXPECT_TRUE(grid.Save(CString::FromUtf8(path)));
    std::ifstream in(path, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    std::remove(path.c_str());
    return text.str();
}

class GridLargeSelection : public GridInput
{};

} // namespace

TEST_F(GridLargeSelection, SelectingMakesNoRowAndKeepsWhatASelectionDoes)
{
    int made = 0;
    MakeLazy(grid, made);
    grid.SetRowCount(900001);
    grid.SetColumnCount(6);
    grid.SetFixedRowCount(1);
    grid.SetFixedColumnCount(1);
    ASSERT_TRUE(grid.Create(CRect(0, 0, 300, 200), &host, 77, WS_CHILD | WS_VISIBLE));
    for (int c = 0; c < 6; c++) grid.SetColumnWidth(c, kWidth);
    gridtest::Pump();
    const int shown = made;
    ASSERT_GT(shown, 0);
    auto at = [this](int row, int col) {
        CRect rect;
        grid.GetCellRect(row, col, rect);
        return rect.CenterPoint();
    };

    // A header click selects the column; Shift extends it to more columns.
    host.notices.clear();
    qor::test::Click(&grid, at(0, 2));
    EXPECT_EQ(grid.GetSelectedCount(), 900000);
    EXPECT_EQ(grid.GetFocusCell(), CCellID(1, 2));
    EXPECT_EQ(NoticesOf(GVN_SELCHANGING).size(), 1u);
    EXPECT_EQ(NoticesOf(GVN_SELCHANGED).size(), 1u);
    qor::test::Click(&grid, at(0, 4), VK_LBUTTON, MK_SHIFT);
    EXPECT_EQ(grid.GetSelectedCount(), 3 * 900000);
    EXPECT_EQ(grid.GetSelectedCellRange(), CCellRange(1, 2, 900000, 4));
    EXPECT_TRUE(grid.IsCellSelected(654321, 3));
    EXPECT_FALSE(grid.IsCellSelected(654321, 5));

    // Ctrl keeps the selection and adds a cell, or takes a selected one out.
    qor::test::Click(&grid, at(3, 1), VK_LBUTTON, MK_CONTROL);
    EXPECT_EQ(grid.GetSelectedCount(), 3 * 900000 + 1);
    qor::test::Click(&grid, at(3, 2), VK_LBUTTON, MK_CONTROL);
    EXPECT_EQ(grid.GetSelectedCount(), 3 * 900000);
    EXPECT_FALSE(grid.IsCellSelected(3, 2));
    EXPECT_EQ(grid.GetFocusCell(), CCellID(3, 2));

    // Ctrl+A selects every data cell.
    qor::test::KeyPress(&grid, 'A', 0, MK_CONTROL);
    EXPECT_EQ(grid.GetSelectedCount(), 5 * 900000);
    EXPECT_EQ(made, shown);

    // The next click leaves its cell selected; Shift+Down extends from it.
    qor::test::Click(&grid, at(4, 3));
    EXPECT_EQ(grid.GetSelectedCount(), 1);
    EXPECT_EQ(grid.GetFocusCell(), CCellID(4, 3));
    qor::test::KeyPress(&grid, VK_DOWN, 0, MK_SHIFT);
    EXPECT_EQ(grid.GetSelectedCellRange(), CCellRange(4, 3, 5, 3));
    EXPECT_EQ(grid.GetSelectedCount(), 2);
    EXPECT_TRUE(grid.GetItemState(5, 3) & GVIS_SELECTED);
    EXPECT_FALSE(grid.GetItemState(6, 3) & GVIS_SELECTED);

    // A block far down copies from the table without making its rows.
    grid.SetSelectedRange(800000, 1, 800001, 2);
    EXPECT_EQ(CopiedText(grid), "800000,1\t800000,2\r\n800001,1\t800001,2");
    EXPECT_FALSE(grid.IsRowMade(800000));
    EXPECT_EQ(made, shown);
}

TEST_F(GridLargeSelection, CopiesAndSavesFromTheTableEqualThoseFromMadeCells)
{
    // 40,000 rows of four columns: enough to be copied and saved on a worker thread.
    CGridCtrl made(40000, 4, 1, 1), lazy;
    int rowsMade = 0;
    MakeLazy(lazy, rowsMade);
    lazy.SetRowCount(40000);
    lazy.SetColumnCount(4);
    lazy.SetFixedRowCount(1);
    lazy.SetFixedColumnCount(1);
    for (int row = 0; row < 40000; row++)
        for (int col = 0; col < 4; col++) made.SetItemText(row, col, CellName(row, col));
    for (CGridCtrl* grid : {&made, &lazy})
    {
        grid->SetColumnWidth(2, 0); // hidden: not copied
        grid->SelectAllCells();
        grid->SetItemState(0, 0, GVIS_SELECTED); // a fixed cell joins
        grid->SetItemState(7, 3, 0);             // a cell leaves
    }
    const int rowsMadeBefore = rowsMade; // those whose cells' state was set
    const std::string copied = CopiedText(made);
    EXPECT_EQ(copied.substr(0, 19), "0,0\t\t\r\n\t1,1\t1,3\r\n\t2");
    EXPECT_EQ(CopiedText(lazy), copied);
    EXPECT_EQ(SavedText(lazy, qor::test::TempFilePath("lazy.csv")),
              SavedText(made, qor::test::TempFilePath("made.csv")));
    EXPECT_EQ(rowsMade, rowsMadeBefore);
}
