// The tooltip control: a relayed mouse move over a tool shows the tool's text after the
// initial delay (a visible top-level window below the cursor, painted with the text); leaving
// the tool, a click, Pop, the auto-pop delay and deactivation hide it.
#include "tests/platform/gui/widgets/ctl_support.h"

#include <gtest/gtest.h>

using namespace ctltest;
using namespace qor::test;

namespace {

MSG MouseMsg(CWnd& w, UINT msg, int x, int y)
{
    MSG m{};
    m.hwnd = w.m_hWnd;
    m.message = msg;
    m.lParam = MAKELPARAM(static_cast<WORD>(x), static_cast<WORD>(y));
    return m;
}

CString TextOf(CToolTipCtrl& tip)
{
    CString s;
    tip.GetWindowText(s);
    return s;
}

class ToolTipTest : public ::testing::Test
{
protected:
    CRecordingParent parent;
    CEdit edit;
    CToolTipCtrl tip;
    void SetUp() override
    {
        ASSERT_TRUE(parent.CreateTop());
        ASSERT_TRUE(edit.Create(WS_CHILD | WS_VISIBLE | WS_BORDER, CRect(10, 10, 210, 40), &parent, 5));
        ASSERT_TRUE(tip.Create(&edit));
        tip.SetDelayTime(TTDT_INITIAL, 30);
    }
    void Relay(CWnd& w, UINT msg, int x, int y)
    {
        MSG m = MouseMsg(w, msg, x, y);
        tip.RelayEvent(&m);
    }
};

TEST_F(ToolTipTest, ARestingMouseShowsTheToolsText)
{
    CRect client;
    edit.GetClientRect(&client);
    ASSERT_TRUE(tip.AddTool(&edit, L"Enter the span length", &client, 1));
    EXPECT_EQ(tip.GetToolCount(), 1);
    EXPECT_FALSE(tip.IsWindowVisible());

    Relay(edit, WM_MOUSEMOVE, 20, 8);
    EXPECT_FALSE(tip.IsWindowVisible()) << "nothing before the initial delay";
    ASSERT_TRUE(PumpUntil([&] { return tip.IsWindowVisible() != FALSE; }, 2000));
    EXPECT_EQ(TextOf(tip), CString(L"Enter the span length"));
    EXPECT_TRUE(tip.GetExStyle() & WS_EX_TOPMOST);

    // Below the cursor, on the screen.
    CRect r;
    tip.GetWindowRect(&r);
    CPoint cursor(20, 8);
    edit.ClientToScreen(&cursor);
    EXPECT_EQ(r.left, cursor.x);
    EXPECT_GT(r.top, cursor.y);
    EXPECT_GT(r.Width(), 60);
    EXPECT_GT(r.Height(), 8);
    // Painted: the info background and dark text pixels.
    PaintNow(&tip);
    CSize size = SurfaceSize(&tip);
    ASSERT_EQ(size.cx, r.Width());
    EXPECT_GT(CountSurfacePixels(&tip, CRect(0, 0, size.cx, size.cy), GetSysColor(COLOR_INFOBK)),
              size.cx * size.cy / 2);
    int dark = 0;
    for (int y = 1; y < size.cy - 1; ++y)
        for (int x = 1; x < size.cx - 1; ++x)
        {
            COLORREF c = SurfacePixel(&tip, x, y);
            dark += GetRValue(c) < 90 && GetGValue(c) < 90 && GetBValue(c) < 90;
        }
    EXPECT_GT(dark, 40) << "the text";
    EXPECT_EQ(SurfacePixel(&tip, 0, 0), GetSysColor(COLOR_WINDOWFRAME)) << "the frame";

    // The focus stays where it was.
    EXPECT_NE(CWnd::GetFocus(), &tip);

    // The shown tip follows a new text; moving within the tool keeps it.
    tip.UpdateTipText(L"Span length in m", &edit, 1);
    EXPECT_EQ(TextOf(tip), CString(L"Span length in m"));
    Relay(edit, WM_MOUSEMOVE, 40, 9);
    EXPECT_TRUE(tip.IsWindowVisible());

    // Leaving the tool hides it.
    CRect half(0, 0, 100, client.bottom);
    tip.SetToolRect(&edit, 1, &half);
    Relay(edit, WM_MOUSEMOVE, 150, 9);
    EXPECT_FALSE(tip.IsWindowVisible());
}

TEST_F(ToolTipTest, ClicksPopActivationAndDelays)
{
    ASSERT_TRUE(tip.AddTool(&edit, L"Tip"));
    Relay(edit, WM_MOUSEMOVE, 20, 8);
    ASSERT_TRUE(PumpUntil([&] { return tip.IsWindowVisible() != FALSE; }));

    // A click hides it, and it stays hidden while the mouse stays over the tool.
    Relay(edit, WM_LBUTTONDOWN, 20, 8);
    EXPECT_FALSE(tip.IsWindowVisible());
    Relay(edit, WM_MOUSEMOVE, 22, 8);
    Pump(120);
    EXPECT_FALSE(tip.IsWindowVisible());

    // Pop hides it at once; an inactive tooltip shows nothing.
    CEdit other;
    ASSERT_TRUE(other.Create(WS_CHILD | WS_VISIBLE, CRect(10, 60, 210, 90), &parent, 6));
    ASSERT_TRUE(tip.AddTool(&other, L"Other", nullptr, 2));
    Relay(other, WM_MOUSEMOVE, 5, 5);
    ASSERT_TRUE(PumpUntil([&] { return tip.IsWindowVisible() != FALSE; }));
    EXPECT_EQ(TextOf(tip), CString(L"Other"));
    tip.Pop();
    EXPECT_FALSE(tip.IsWindowVisible());

    tip.Activate(FALSE);
    Relay(edit, WM_MOUSEMOVE, 20, 8);
    Pump(120);
    EXPECT_FALSE(tip.IsWindowVisible());
    tip.Activate(TRUE);

    // The auto-pop delay ends the tip; an empty text shows nothing.
    tip.SetDelayTime(TTDT_AUTOPOP, 60);
    Relay(other, WM_MOUSEMOVE, 6, 6);
    ASSERT_TRUE(PumpUntil([&] { return tip.IsWindowVisible() != FALSE; }));
    EXPECT_TRUE(PumpUntil([&] { return tip.IsWindowVisible() == FALSE; }, 1000));
    tip.UpdateTipText(L"", &edit);
    Relay(edit, WM_MOUSEMOVE, 20, 8);
    Pump(120);
    EXPECT_FALSE(tip.IsWindowVisible());

    // Delays: one number sets all three; a negative time restores a default.
    tip.SetDelayTime(200);
    EXPECT_EQ(tip.GetDelayTime(TTDT_INITIAL), 200);
    EXPECT_EQ(tip.GetDelayTime(TTDT_AUTOPOP), 2000);
    EXPECT_EQ(tip.GetDelayTime(TTDT_RESHOW), 40);
    tip.SetDelayTime(TTDT_INITIAL, -1);
    EXPECT_EQ(tip.GetDelayTime(TTDT_INITIAL), static_cast<int>(GetDoubleClickTime()));

    // Removing a tool forgets it.
    tip.DelTool(&other, 2);
    EXPECT_EQ(tip.GetToolCount(), 1);
    CString text;
    tip.GetText(text, &other, 2);
    EXPECT_TRUE(text.IsEmpty());
}

TEST_F(ToolTipTest, LongTextsWrapAtTheMaximumWidth)
{
    ASSERT_TRUE(tip.AddTool(&edit, L"one two three four five six seven eight nine ten"));
    EXPECT_EQ(tip.SetMaxTipWidth(80), -1);
    Relay(edit, WM_MOUSEMOVE, 20, 8);
    ASSERT_TRUE(PumpUntil([&] { return tip.IsWindowVisible() != FALSE; }));
    CRect r;
    tip.GetWindowRect(&r);
    EXPECT_LE(r.Width(), 80 + 12);
    EXPECT_GT(r.Height(), 40) << "several lines";
}

} // namespace
