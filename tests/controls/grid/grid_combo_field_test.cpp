// The combo cell's editor as the user sees it: the closed field covers the cell, at the cell's
// height, and the list drops right under it (the window's rectangle only makes room for it).
#include "grid_test_util.h"

#include "controls/grid/GridCellCombo.h"

TEST(ComboCellField, FieldCoversTheCellAndTheListOpensUnderIt)
{
    gridtest::InitApp();
    gridtest::CHostWnd host;
    gridtest::CTestGrid grid;
    ASSERT_TRUE(gridtest::CreateHostedGrid(host, grid, 6, 3, CRect(0, 0, 400, 300), 77, 90, 21));
    ASSERT_TRUE(grid.SetCellType(2, 1, RUNTIME_CLASS(CGridCellCombo)));
    dynamic_cast<CGridCellCombo*>(grid.GetCell(2, 1))->SetOptions({_T("Alpha"), _T("Beta"), _T("Gamma")});
    grid.SetItemText(2, 1, _T("Beta"));
    gridtest::Pump();
    grid.SetFocus();
    grid.SetFocusCell(2, 1);
    grid.OnEditCell(2, 1, CPoint(-1, -1), VK_LBUTTON);
    auto* list = dynamic_cast<CComboBox*>(grid.GetDlgItem(IDC_INPLACE_CONTROL));
    ASSERT_NE(list, nullptr);

    CRect cell;
    grid.GetCellRect(2, 1, cell);
    grid.ClientToScreen(cell);
    const CRect field = qor::test::ShownRect(list);
    EXPECT_EQ(field.top, cell.top);
    EXPECT_EQ(field.left, cell.left);
    EXPECT_EQ(field.Height(), cell.Height()) << "the field, not the room for the list";

    ASSERT_TRUE(qor::test::PumpUntil([&] { return !qor::test::DroppedListRect(list).IsRectEmpty(); }));
    const CRect dropped = qor::test::DroppedListRect(list);
    EXPECT_EQ(dropped.top, field.bottom);
    EXPECT_EQ(dropped.left, field.left);
    grid.SetFocus();
    gridtest::Pump();
}
