// The grid-hosting base on a dialog: the grid's shape and numbering, and the row menu of a
// right click (select all, deleting a row after the question, refusals).
#include "platform/gui/frame/Menu.h"
#include "platform/test/DialogTest.h"
#include "platform/test/GuiTest.h"
#include "res/LoadModelDialogs.h"
#include "ui/dialogs/DialogWithGridBase.h"

#include <gtest/gtest.h>

namespace {

constexpr UINT IDD_GRID_TEST = 9301;

const DialogItem kItems[] = {
    {GRIDCTRL_CLASSNAME, IDC_LM_GRID, L"", WS_BORDER | WS_TABSTOP, 7, 7, 200, 120},
};
QOR_DIALOG_RESOURCE(IDD_GRID_TEST, L"Grid", DS_MODALFRAME | WS_POPUP | WS_CAPTION, 214, 134, kItems);

class CTestGridDlg : public CDialogWithGridBase
{
public:
    explicit CTestGridDlg(int rows) : CDialogWithGridBase(IDD_GRID_TEST)
    {
        m_nDataRows = rows;
        m_nDataCols = 2;
        m_ColumnHeadings = {L"No.", L"Weight", L"Spacing"};
    }
    void DoDataExchange(CDataExchange* pDX) override
    {
        CDialogWithGridBase::DoDataExchange(pDX);
        DDX_Control(pDX, IDC_LM_GRID, m_Grid);
    }
    void FillGrid() override {}
    void OnRClick(NMHDR* pNMHDR, LRESULT* pResult) { OnGridRClick(reinterpret_cast<NM_GRIDVIEW*>(pNMHDR), pResult); }
    DECLARE_MESSAGE_MAP()
};
BEGIN_MESSAGE_MAP(CTestGridDlg, CDialogWithGridBase)
ON_NOTIFY(NM_RCLICK, IDC_LM_GRID, OnRClick)
END_MESSAGE_MAP()

// Chooses one command from every row menu shown and keeps the rows.
struct RowMenu
{
    UINT choice = 0;
    int shown = 0;
    std::vector<qor::gui::PopupMenuRow> rows;
    qor::gui::PopupMenuDriver previous;
    RowMenu()
    {
        previous = qor::gui::SetPopupMenuDriver([this](const std::vector<qor::gui::PopupMenuRow>& r, CPoint) {
            ++shown;
            rows = r;
            return choice;
        });
    }
    ~RowMenu() { qor::gui::SetPopupMenuDriver(previous); }
};

void RightClick(CGridCtrl& grid, int row, int col)
{
    CRect rect;
    ASSERT_TRUE(grid.GetCellRect(row, col, &rect));
    qor::test::Click(&grid, rect.CenterPoint(), VK_RBUTTON);
}

} // namespace

TEST(GridBase, EmptyTableKeepsItsHeaderAndRowsAreNumbered)
{
    qor::test::EnsureGuiApplication();
    CTestGridDlg empty(0);
    ASSERT_TRUE(empty.Create(IDD_GRID_TEST));
    EXPECT_EQ(empty.GetGrid().GetRowCount(), 1);
    EXPECT_EQ(empty.GetGrid().GetColumnCount(), 3);
    EXPECT_EQ(empty.GetGrid().GetItemText(0, 0), L"No.");
    EXPECT_EQ(empty.GetGrid().GetItemText(0, 2), L"Spacing");
    empty.DestroyWindow();

    CTestGridDlg dlg(3);
    ASSERT_TRUE(dlg.Create(IDD_GRID_TEST));
    CGridCtrl& grid = dlg.GetGrid();
    EXPECT_EQ(grid.GetRowCount(), 4);
    EXPECT_EQ(grid.GetFixedRowCount(), 1);
    EXPECT_EQ(grid.GetFixedColumnCount(), 1);
    EXPECT_EQ(grid.GetItemText(1, 0), L"1");
    EXPECT_EQ(grid.GetItemText(3, 0), L"3");
    EXPECT_TRUE(grid.GetTabAddsRow());
    dlg.DestroyWindow();
}

TEST(GridBase, RowMenuSelectsAllAndDeletesRowsOnlyWhenAnswered)
{
    qor::test::EnsureGuiApplication();
    CTestGridDlg dlg(5);
    ASSERT_TRUE(dlg.Create(IDD_GRID_TEST));
    CGridCtrl& grid = dlg.GetGrid();
    for (int row = 1; row <= 5; ++row) grid.SetItemText(row, 1, CString(std::to_wstring(row * 10).c_str()));
    RowMenu menu;
    qor::test::ScriptedMessageBoxes boxes;

    menu.choice = ID_GRID_SELECT_ALL;
    RightClick(grid, 2, 1);
    ASSERT_EQ(menu.shown, 1);
    ASSERT_EQ(menu.rows.size(), 2u);
    EXPECT_EQ(menu.rows[0].text, L"&Delete Row");
    EXPECT_EQ(grid.GetSelectedCount(), 5 * 2);

    menu.choice = ID_GRID_DELETE_ROW;
    boxes.Answer(IDNO);
    RightClick(grid, 3, 1);
    ASSERT_EQ(boxes.Shown().size(), 1u);
    EXPECT_EQ(boxes.Shown()[0].text, L"Delete row 3?");
    EXPECT_EQ(grid.GetRowCount(), 6);

    boxes.Answer(IDYES);
    RightClick(grid, 2, 1);
    EXPECT_EQ(boxes.Shown().back().text, L"Delete row 2?");
    ASSERT_EQ(grid.GetRowCount(), 5);
    EXPECT_EQ(grid.GetItemText(2, 1), L"30");
    for (int row = 1; row <= 4; ++row) EXPECT_EQ(grid.GetItemText(row, 0), CString(std::to_wstring(row).c_str()));

    // The header row is refused; a click beside the cells names no row and asks nothing.
    RightClick(grid, 0, 1);
    EXPECT_EQ(boxes.Shown().back().text, L"Cannot delete the fixed row");
    const size_t asked = boxes.Shown().size();
    NM_GRIDVIEW outside{};
    outside.hdr.idFrom = IDC_LM_GRID;
    outside.hdr.code = NM_RCLICK;
    outside.iRow = -1;
    outside.iColumn = -1;
    LRESULT result = 1;
    dlg.OnGridRClick(&outside, &result);
    EXPECT_EQ(boxes.Shown().size(), asked);
    EXPECT_EQ(grid.GetRowCount(), 5);
    EXPECT_FALSE(dlg.DeleteRow(-1));
    EXPECT_EQ(boxes.Shown().size(), asked);
    dlg.DestroyWindow();
}
