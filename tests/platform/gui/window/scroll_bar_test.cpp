// Scroll bars: clamping to max - page + 1, the track position while dragging, positions
// that move only when the handler sets them, and a client area that loses the bar's width.
#include "platform/gui/Afx.h"
#include "platform/test/GuiTest.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

class CScrollProbe : public CWnd
{
public:
    struct Call
    {
        UINT code;
        UINT pos;
        int trackPos;
        int heldPos;
    };
    std::vector<Call> calls;
    std::vector<CSize> sizes;
    bool follow = true; // the handler moves the position as an application would

    void OnVScroll(UINT code, UINT pos, CScrollBar*)
    {
        SCROLLINFO si{sizeof(SCROLLINFO), SIF_ALL, 0, 0, 0, 0, 0};
        GetScrollInfo(SB_VERT, &si, SIF_ALL);
        calls.push_back({code, pos, si.nTrackPos, si.nPos});
        if (!follow) return;
        int p = si.nPos;
        switch (code)
        {
        case SB_LINEDOWN: p += 1; break;
        case SB_LINEUP: p -= 1; break;
        case SB_PAGEDOWN: p += static_cast<int>(si.nPage); break;
        case SB_PAGEUP: p -= static_cast<int>(si.nPage); break;
        case SB_THUMBTRACK: p = si.nTrackPos; break;
        case SB_BOTTOM: p = GetScrollLimit(SB_VERT); break;
        case SB_TOP: p = 0; break;
        default: return;
        }
        SetScrollPos(SB_VERT, p);
    }
    void OnSize(UINT, int cx, int cy) { sizes.emplace_back(cx, cy); }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CScrollProbe, CWnd)
ON_WM_VSCROLL()
ON_WM_SIZE()
END_MESSAGE_MAP()

class ScrollTest : public ::testing::Test
{
protected:
    CWnd top;
    CScrollProbe wnd;
    void SetUp() override
    {
        qor::test::EnsureGuiApplication();
        ASSERT_TRUE(top.CreateEx(0, nullptr, L"top", WS_POPUP | WS_VISIBLE, CRect(0, 0, 400, 300), nullptr, 0));
        ASSERT_TRUE(wnd.Create(nullptr, nullptr, WS_CHILD | WS_VISIBLE | WS_BORDER, CRect(0, 0, 202, 152), &top, 1));
    }
    void SetRange(int max, UINT page, int pos = 0)
    {
        SCROLLINFO si{sizeof(SCROLLINFO), SIF_RANGE | SIF_PAGE | SIF_POS, 0, max, page, pos, 0};
        wnd.SetScrollInfo(SB_VERT, &si);
    }
};

TEST_F(ScrollTest, PositionIsClampedToMaxMinusPagePlusOne)
{
    SetRange(99, 10, 500);
    EXPECT_EQ(wnd.GetScrollPos(SB_VERT), 90);
    EXPECT_EQ(wnd.GetScrollLimit(SB_VERT), 90);
    EXPECT_EQ(wnd.SetScrollPos(SB_VERT, -5), 90); // returns the previous position
    EXPECT_EQ(wnd.GetScrollPos(SB_VERT), 0);
    int lo = -1, hi = -1;
    wnd.GetScrollRange(SB_VERT, &lo, &hi);
    EXPECT_EQ(lo, 0);
    EXPECT_EQ(hi, 99);
    // Without a page the whole range is reachable.
    SetRange(99, 0, 99);
    EXPECT_EQ(wnd.GetScrollPos(SB_VERT), 99);
}

TEST_F(ScrollTest, ClientAreaShrinksByTheBarWidthAndWmSizeReportsIt)
{
    CRect rc;
    wnd.GetClientRect(&rc);
    EXPECT_EQ(rc, CRect(0, 0, 200, 150)); // the 1-pixel border excluded
    wnd.sizes.clear();
    SetRange(99, 10);
    EXPECT_TRUE(wnd.GetStyle() & WS_VSCROLL);
    wnd.GetClientRect(&rc);
    EXPECT_EQ(rc.Width(), 200 - GetSystemMetrics(SM_CXVSCROLL));
    EXPECT_EQ(rc.Height(), 150);
    ASSERT_EQ(wnd.sizes.size(), 1u);
    EXPECT_EQ(wnd.sizes[0], CSize(200 - 17, 150));
    EXPECT_TRUE(qor::test::ScrollBarShown(&wnd, SB_VERT));
    EXPECT_EQ(qor::test::SurfaceSize(&wnd), CSize(183, 150));
    // A page that covers the whole range hides the bar again.
    SetRange(9, 10);
    EXPECT_FALSE(wnd.GetStyle() & WS_VSCROLL);
    wnd.GetClientRect(&rc);
    EXPECT_EQ(rc.Width(), 200);
    wnd.ShowScrollBar(SB_VERT, TRUE);
    wnd.GetClientRect(&rc);
    EXPECT_EQ(rc.Width(), 183);
    wnd.EnableScrollBarCtrl(SB_VERT, FALSE);
    wnd.GetClientRect(&rc);
    EXPECT_EQ(rc.Width(), 200);
}

TEST_F(ScrollTest, ClicksSendCodesAndThePositionMovesOnlyByTheHandler)
{
    SetRange(99, 10, 20);
    wnd.follow = false;
    qor::test::ScrollBarClick(&wnd, SB_VERT, SB_LINEDOWN);
    ASSERT_EQ(wnd.calls.size(), 2u);
    EXPECT_EQ(wnd.calls[0].code, static_cast<UINT>(SB_LINEDOWN));
    EXPECT_EQ(wnd.calls[1].code, static_cast<UINT>(SB_ENDSCROLL));
    EXPECT_EQ(wnd.GetScrollPos(SB_VERT), 20);
    EXPECT_EQ(qor::test::ScrollBarShownValue(&wnd, SB_VERT), 20);

    wnd.follow = true;
    wnd.calls.clear();
    qor::test::ScrollBarClick(&wnd, SB_VERT, SB_PAGEDOWN);
    EXPECT_EQ(wnd.GetScrollPos(SB_VERT), 30);
    EXPECT_EQ(qor::test::ScrollBarShownValue(&wnd, SB_VERT), 30);
    qor::test::ScrollBarClick(&wnd, SB_VERT, SB_BOTTOM);
    EXPECT_EQ(wnd.GetScrollPos(SB_VERT), 90);
}

TEST_F(ScrollTest, DraggingTheThumbReportsTrackPositionWhileThePositionIsHeld)
{
    SetRange(99, 10, 0);
    wnd.follow = false;
    qor::test::ScrollBarDrag(&wnd, SB_VERT, {15, 40});
    ASSERT_EQ(wnd.calls.size(), 4u);
    EXPECT_EQ(wnd.calls[0].code, static_cast<UINT>(SB_THUMBTRACK));
    EXPECT_EQ(wnd.calls[0].pos, 15u);
    EXPECT_EQ(wnd.calls[0].trackPos, 15);
    EXPECT_EQ(wnd.calls[0].heldPos, 0);
    EXPECT_EQ(wnd.calls[1].trackPos, 40);
    EXPECT_EQ(wnd.calls[2].code, static_cast<UINT>(SB_THUMBPOSITION));
    EXPECT_EQ(wnd.calls[2].pos, 40u);
    EXPECT_EQ(wnd.calls[3].code, static_cast<UINT>(SB_ENDSCROLL));
    // Nobody set the position: it stays, and the bar shows it again.
    EXPECT_EQ(wnd.GetScrollPos(SB_VERT), 0);
    EXPECT_EQ(qor::test::ScrollBarShownValue(&wnd, SB_VERT), 0);
    SCROLLINFO si{sizeof(SCROLLINFO), SIF_TRACKPOS, 0, 0, 0, 0, 0};
    ASSERT_TRUE(wnd.GetScrollInfo(SB_VERT, &si, SIF_TRACKPOS));
    EXPECT_EQ(si.nTrackPos, 0);
}

TEST_F(ScrollTest, SentScrollMessagesGoThroughTheSameHandler)
{
    SetRange(99, 10, 5);
    wnd.SendMessage(WM_VSCROLL, MAKEWPARAM(SB_LINEUP, 0), 0);
    EXPECT_EQ(wnd.GetScrollPos(SB_VERT), 4);
}

class CBarParent : public CWnd
{
public:
    std::vector<std::pair<UINT, CScrollBar*>> got;
    void OnHScroll(UINT code, UINT, CScrollBar* bar) { got.emplace_back(code, bar); }
    DECLARE_MESSAGE_MAP()
};
BEGIN_MESSAGE_MAP(CBarParent, CWnd)
ON_WM_HSCROLL()
END_MESSAGE_MAP()

TEST(ScrollBarControl, ReportsToItsParentWithItself)
{
    qor::test::EnsureGuiApplication();
    CBarParent parent;
    ASSERT_TRUE(parent.CreateEx(0, nullptr, L"p", WS_POPUP, CRect(0, 0, 200, 200), nullptr, 0));
    CScrollBar bar;
    ASSERT_TRUE(bar.Create(WS_CHILD | SBS_HORZ | SBS_BOTTOMALIGN, CRect(0, 180, 200, 197), &parent, 100));
    SCROLLINFO si{sizeof(SCROLLINFO), SIF_ALL, 1, 1, 1, 1, 0};
    bar.SetScrollInfo(&si);
    EXPECT_EQ(bar.GetScrollPos(), 1);
    bar.SetScrollRange(0, 50);
    EXPECT_EQ(bar.GetScrollLimit(), 50);
    qor::test::ScrollBarClick(&bar, SB_CTL, SB_LINEDOWN);
    ASSERT_EQ(parent.got.size(), 2u);
    EXPECT_EQ(parent.got[0].first, static_cast<UINT>(SB_LINEDOWN));
    EXPECT_EQ(parent.got[0].second, &bar);
    EXPECT_FALSE(bar.IsWindowVisible());
}

} // namespace
