// The title tip: shown for a cell whose text does not fit, hidden by the next input, and
// passing clicks and keys through to the grid below it.
#include "grid_test_util.h"

#include "controls/grid/InPlaceEdit.h"
#include "controls/grid/TitleTip.h"

#include <chrono>
#include <vector>

using qor::test::MouseDown;
using qor::test::MouseMove;

namespace {

constexpr int kW = 60;
constexpr int kH = 20;
constexpr COLORREF kTipBack = RGB(255, 255, 0);
constexpr COLORREF kTipText = RGB(0, 0, 255);

// A grid that records the mouse messages it is sent (posted by the tip).
class CTipGrid : public gridtest::CTestGrid
{
public:
    std::vector<std::pair<UINT, CPoint>> mouse;
    CTitleTip& Tip() { return m_TitleTip; }

    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (message == WM_MOUSEMOVE || message == WM_LBUTTONDOWN || message == WM_LBUTTONDBLCLK ||
            message == WM_RBUTTONDOWN)
            mouse.emplace_back(message, CPoint(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)));
        return gridtest::CTestGrid::WindowProc(message, wParam, lParam);
    }
    bool Received(UINT message) const
    {
        for (const auto& m : mouse)
            if (m.first == message) return true;
        return false;
    }
};

class TitleTip : public ::testing::Test
{
protected:
    static void SetUpTestSuite() { gridtest::InitApp(); }

    void SetUp() override
    {
        ASSERT_TRUE(gridtest::CreateHostedGrid(host, grid, 4, 4, CRect(0, 0, 300, 200), 77, kW, kH));
        grid.SetItemText(1, 1, _T("A text much too long for its cell"));
        grid.SetItemText(1, 2, _T("ok"));
        grid.SetTitleTipBackClr(kTipBack);
        grid.SetTitleTipTextClr(kTipText);
        gridtest::Pump();
        grid.SetFocus();
        grid.SetFocusCell(2, 2);
    }
    void TearDown() override { qor::gui::ClearKeyState(); }

    static CPoint Center(int row, int col) { return CPoint(col * kW + kW / 2, row * kH + kH / 2); }
    bool TipShown() { return ::IsWindow(grid.Tip().GetSafeHwnd()) && grid.Tip().IsWindowVisible(); }

    gridtest::CHostWnd host;
    CTipGrid grid;
};

TEST_F(TitleTip, ClippedTextShowsWholeOverTheCell)
{
    MouseMove(&grid, Center(1, 1));
    EXPECT_EQ(CWnd::GetFocus(), &grid);
    gridtest::Pump();
    ASSERT_TRUE(TipShown());
    CTitleTip& tip = grid.Tip();
    EXPECT_EQ(tip.GetShownText(), CString(_T(" A text much too long for its cell ")));
    EXPECT_EQ(tip.GetExStyle() & (WS_EX_TOOLWINDOW | WS_EX_TOPMOST),
              static_cast<DWORD>(WS_EX_TOOLWINDOW | WS_EX_TOPMOST));
    EXPECT_EQ(tip.GetStyle() & (WS_POPUP | WS_BORDER), static_cast<DWORD>(WS_POPUP | WS_BORDER));
    EXPECT_EQ(tip.GetClassName(), CString(TITLETIP_CLASSNAME));

    // Placed on the cell's top-left corner, as high as the cell and wider than it.
    CRect rcTip, rcCell;
    tip.GetWindowRect(rcTip);
    grid.GetCellRect(1, 1, rcCell);
    grid.ClientToScreen(rcCell);
    EXPECT_EQ(rcTip.TopLeft(), rcCell.TopLeft());
    EXPECT_EQ(rcTip.Height(), rcCell.Height());
    EXPECT_GT(rcTip.Width(), rcCell.Width());

    // The tip holds the mouse and leaves the keyboard where it was.
    EXPECT_EQ(CWnd::GetCapture(), &tip);

    // Drawn in the grid's tip colours.
    qor::test::PaintNow(&tip);
    CRect client;
    tip.GetClientRect(client);
    EXPECT_GT(qor::test::CountSurfacePixels(&tip, client, kTipBack), client.Width() * client.Height() / 2);
    int nTextish = 0;
    for (int y = client.top; y < client.bottom; y++)
        for (int x = client.left; x < client.right; x++)
        {
            const COLORREF c = qor::test::SurfacePixel(&tip, x, y);
            nTextish += (GetBValue(c) > 120 && GetRValue(c) < 160) ? 1 : 0;
        }
    EXPECT_GT(nTextish, 10);
}

TEST_F(TitleTip, TextThatFitsShowsNoTip)
{
    MouseMove(&grid, Center(1, 2));
    gridtest::Pump();
    EXPECT_FALSE(TipShown());
    // Nor does an empty cell.
    MouseMove(&grid, Center(3, 3));
    gridtest::Pump();
    EXPECT_FALSE(TipShown());
}

TEST_F(TitleTip, NoTipWithTipsOffOrWithoutTheKeyboard)
{
    grid.EnableTitleTips(FALSE);
    MouseMove(&grid, Center(1, 1));
    gridtest::Pump();
    EXPECT_FALSE(TipShown());

    grid.EnableTitleTips(TRUE);
    {
        // Nothing of this program has the keyboard once its focus window is gone.
        CWnd other;
        ASSERT_TRUE(other.CreateEx(0, AfxRegisterWndClass(0), _T("other"), WS_POPUP | WS_VISIBLE, CRect(0, 0, 10, 10),
                                   nullptr, 0));
        other.SetFocus();
        other.DestroyWindow();
    }
    ASSERT_EQ(CWnd::GetFocus(), nullptr);
    MouseMove(&grid, Center(1, 1) + CPoint(1, 0));
    gridtest::Pump();
    EXPECT_FALSE(TipShown());
}

TEST_F(TitleTip, MovingOutOfTheCellHidesItAndReachesTheGrid)
{
    MouseMove(&grid, Center(1, 1));
    gridtest::Pump();
    ASSERT_TRUE(TipShown());
    CTitleTip& tip = grid.Tip();
    grid.mouse.clear();

    // Inside the cell the tip stays.
    CPoint inside = Center(1, 1) + CPoint(5, 2);
    grid.ClientToScreen(&inside);
    tip.ScreenToClient(&inside);
    tip.SendMessage(WM_MOUSEMOVE, 0, MAKELPARAM(static_cast<WORD>(inside.x), static_cast<WORD>(inside.y)));
    EXPECT_TRUE(TipShown());

    // Below the cell it goes, and the grid is told of the move at that point.
    CPoint below = Center(2, 1);
    CPoint pt = below;
    grid.ClientToScreen(&pt);
    tip.ScreenToClient(&pt);
    tip.SendMessage(WM_MOUSEMOVE, 0, MAKELPARAM(static_cast<WORD>(pt.x), static_cast<WORD>(pt.y)));
    EXPECT_FALSE(TipShown());
    EXPECT_NE(CWnd::GetCapture(), &tip);
    gridtest::Pump();
    ASSERT_TRUE(grid.Received(WM_MOUSEMOVE));
    EXPECT_EQ(grid.mouse.front().second, below);
}

TEST_F(TitleTip, AClickOnTheTipReachesTheCellBelow)
{
    MouseMove(&grid, Center(1, 1));
    gridtest::Pump();
    ASSERT_TRUE(TipShown());
    grid.mouse.clear();

    const CPoint at = Center(1, 1);
    MouseDown(&grid, at); // the tip has the mouse: the press is the tip's
    EXPECT_FALSE(TipShown());
    qor::test::MouseUp(&grid, at);
    gridtest::Pump();
    ASSERT_TRUE(grid.Received(WM_LBUTTONDOWN));
    EXPECT_EQ(grid.GetFocusCell(), CCellID(1, 1));
}

TEST_F(TitleTip, ADoubleClickOnTheTipReachesTheCellAsADoubleClick)
{
    MouseMove(&grid, Center(1, 1));
    gridtest::Pump();
    ASSERT_TRUE(TipShown());
    CTitleTip& tip = grid.Tip();
    CPoint pt = Center(1, 1);
    grid.ClientToScreen(&pt);
    tip.ScreenToClient(&pt);
    const LPARAM lp = MAKELPARAM(static_cast<WORD>(pt.x), static_cast<WORD>(pt.y));

    tip.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, lp);
    gridtest::Pump();
    grid.SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(static_cast<WORD>(Center(1, 1).x), static_cast<WORD>(Center(1, 1).y)));
    // The tip comes back while the mouse rests there, and the second press is on it again.
    MouseMove(&grid, Center(1, 1) + CPoint(1, 0));
    gridtest::Pump();
    ASSERT_TRUE(TipShown());
    grid.mouse.clear();
    tip.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, lp);
    gridtest::Pump();
    EXPECT_TRUE(grid.Received(WM_LBUTTONDBLCLK));
    // A double click on a cell edits it.
    CGridCellBase* pCell = grid.GetCell(1, 1);
    ASSERT_NE(pCell, nullptr);
    EXPECT_TRUE(pCell->IsEditing());
    EXPECT_NE(dynamic_cast<CInPlaceEdit*>(pCell->GetEditWnd()), nullptr);
}

TEST_F(TitleTip, TheNextKeyHidesTheTip)
{
    MouseMove(&grid, Center(1, 1));
    gridtest::Pump();
    ASSERT_TRUE(TipShown());
    qor::test::KeyPress(&grid, VK_DOWN);
    gridtest::Pump();
    EXPECT_FALSE(TipShown());

    // A key that reaches the tip itself goes on to the grid.
    grid.SetFocus();
    MouseMove(&grid, Center(1, 1) + CPoint(2, 0));
    gridtest::Pump();
    ASSERT_TRUE(TipShown());
    const CCellID before = grid.GetFocusCell();
    grid.Tip().SendMessage(WM_KEYDOWN, VK_UP, 0);
    EXPECT_FALSE(TipShown());
    gridtest::Pump();
    EXPECT_EQ(grid.GetFocusCell().row, before.row - 1);
}

TEST_F(TitleTip, StartingAnEditHidesTheTip)
{
    MouseMove(&grid, Center(1, 1));
    gridtest::Pump();
    ASSERT_TRUE(TipShown());
    grid.SetFocusCell(1, 1);
    grid.OnEditCell(1, 1, CPoint(-1, -1), VK_LBUTTON);
    EXPECT_FALSE(TipShown());
    // No tip over a cell being edited.
    MouseMove(&grid, Center(1, 1) + CPoint(3, 0));
    gridtest::Pump();
    EXPECT_FALSE(TipShown());
}

TEST_F(TitleTip, ShowWithoutADefaultColourUsesTheSystemTipColours)
{
    CTitleTip tip;
    tip.SetParentWnd(&grid);
    CRect rc(0, 0, 20, 16);
    tip.Show(rc, _T("wide enough to need a tip"));
    ASSERT_TRUE(tip.IsWindowVisible());
    qor::test::PaintNow(&tip);
    CRect client;
    tip.GetClientRect(client);
    EXPECT_GT(qor::test::CountSurfacePixels(&tip, client, ::GetSysColor(COLOR_INFOBK)), 0);
    // An empty rectangle shows nothing; Hide and DestroyWindow are safe to repeat.
    tip.Hide();
    tip.Show(CRect(5, 5, 5, 5), _T("text"));
    EXPECT_FALSE(tip.IsWindowVisible());
    EXPECT_TRUE(tip.DestroyWindow());
    tip.Hide();
    EXPECT_FALSE(tip.DestroyWindow());
}

} // namespace

TEST_F(TitleTip, ATextOfMegabytesShowsAsFarAsTheScreenAtOnce)
{
    // A name of 5 MB in a cell: its tip reaches to the screen's edge, and only so much of the name is
    // measured, kept and drawn. A tip as wide as the whole name held the window thread 5 to 9 s here
    // each time it was shown.
    std::wstring huge = L"Truck";
    while (huge.size() < (5u << 20)) huge += L" over the river and the railway yards";
    grid.SetItemText(1, 1, CString(huge.c_str()));
    for (int round = 0; round < 2; ++round)
    {
        const auto start = std::chrono::steady_clock::now();
        MouseMove(&grid, Center(1, 1));
        gridtest::Pump();
        ASSERT_TRUE(TipShown());
        qor::test::PaintNow(&grid.Tip());
        EXPECT_LT(std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count(), 1.0);
        CRect tip;
        grid.Tip().GetWindowRect(tip);
        EXPECT_EQ(tip.right, ::GetSystemMetrics(SM_CXVIRTUALSCREEN));
        const CString shown = grid.Tip().GetShownText();
        EXPECT_EQ(shown.Left(40), CString((L" " + huge.substr(0, 39)).c_str()));
        EXPECT_LT(shown.GetLength(), 100000);
        grid.Tip().Hide();
        MouseMove(&grid, Center(2, 2));
        gridtest::Pump();
    }
}
