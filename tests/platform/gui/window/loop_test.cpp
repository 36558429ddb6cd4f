// Messages around the loop: posts delivered inside a nested (modal) loop, per-window order
// with several senders, the wheel's way to the parent and from a scroll bar, timer
// procedures, cursors chosen by WM_SETCURSOR, fonts by WM_SETFONT, and the mouse position; work
// run off the window thread with the posts held back meanwhile.
#include "platform/gui/Afx.h"
#include "platform/test/GuiTest.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <clocale>
#include <cstdio>
#include <cstring>
#include <stdexcept>
#include <thread>
#include <vector>

namespace {

class CLoopProbe : public CWnd
{
public:
    std::vector<LPARAM> received;
    int quitAfter = -1; // ends the nested loop after this many messages
    int wheelDelta = 0;
    int wheelCalls = 0;
    std::vector<UINT> scrollCodes;
    std::vector<UINT> cursorQueries; // the mouse message of each WM_SETCURSOR
    HCURSOR cursor = nullptr;        // what OnSetCursor sets (nullptr: default processing)
    bool handleWheel = true;

    LRESULT OnItem(WPARAM, LPARAM l)
    {
        received.push_back(l);
        if (static_cast<int>(received.size()) == quitAfter) qor::gui::QuitMessageLoop(7);
        return 0;
    }
    BOOL OnMouseWheel(UINT f, short z, CPoint pt)
    {
        if (!handleWheel) return CWnd::OnMouseWheel(f, z, pt);
        wheelDelta += z;
        ++wheelCalls;
        return TRUE;
    }
    void OnVScroll(UINT code, UINT, CScrollBar*) { scrollCodes.push_back(code); }
    BOOL OnSetCursor(CWnd* pWnd, UINT nHitTest, UINT message)
    {
        cursorQueries.push_back(message);
        if (!cursor) return CWnd::OnSetCursor(pWnd, nHitTest, message);
        ::SetCursor(cursor);
        return TRUE;
    }
    // A handler that lets an engine's text or a standard exception through.
    LRESULT OnThrow(WPARAM kind, LPARAM)
    {
        if (kind == 0) throw "Incorrect span information";
        throw std::length_error("vector too long");
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CLoopProbe, CWnd)
ON_MESSAGE(WM_APP + 5, OnItem)
ON_MESSAGE(WM_APP + 6, OnThrow)
ON_WM_MOUSEWHEEL()
ON_WM_VSCROLL()
ON_WM_SETCURSOR()
END_MESSAGE_MAP()

class LoopTest : public ::testing::Test
{
protected:
    CLoopProbe top;
    CLoopProbe a;
    CLoopProbe b;
    void SetUp() override
    {
        qor::test::EnsureGuiApplication();
        ASSERT_TRUE(top.CreateEx(0, nullptr, L"top", WS_POPUP | WS_VISIBLE, CRect(20, 30, 420, 330), nullptr, 0));
        ASSERT_TRUE(a.Create(nullptr, nullptr, WS_CHILD | WS_VISIBLE | WS_VSCROLL, CRect(0, 0, 150, 120), &top, 1));
        ASSERT_TRUE(b.Create(nullptr, nullptr, WS_CHILD | WS_VISIBLE, CRect(200, 0, 350, 120), &top, 2));
    }
};

TEST_F(LoopTest, PostsFromSeveralThreadsArriveInOrderPerWindowInsideANestedLoop)
{
    const int n = 300;
    HWND ha = a.m_hWnd, hb = b.m_hWnd;
    a.quitAfter = n;
    std::thread t1([=] {
        for (int i = 0; i < n; ++i) EXPECT_TRUE(PostMessage(ha, WM_APP + 5, 0, i));
    });
    std::thread t2([=] {
        for (int i = 0; i < n; ++i) EXPECT_TRUE(PostMessage(hb, WM_APP + 5, 0, 1000 + i));
    });
    // The senders never wait for the receiver: both finish before anything is delivered.
    t1.join();
    t2.join();
    EXPECT_TRUE(a.received.empty());
    // A modal loop (as a dialog or message box runs) delivers them.
    EXPECT_EQ(qor::gui::RunMessageLoop(), 7);
    ASSERT_EQ(a.received.size(), static_cast<size_t>(n));
    for (int i = 0; i < n; ++i) EXPECT_EQ(a.received[static_cast<size_t>(i)], i);
    ASSERT_TRUE(qor::test::PumpUntil([&] { return b.received.size() == static_cast<size_t>(n); }));
    for (int i = 0; i < n; ++i) EXPECT_EQ(b.received[static_cast<size_t>(i)], 1000 + i);
}

TEST_F(LoopTest, AnExceptionAHandlerLetsThroughIsReportedAndTheLoopGoesOn)
{
    qor::test::ScriptedMessageBoxes boxes;
    a.PostMessage(WM_APP + 6, 0, 0);
    a.PostMessage(WM_APP + 6, 1, 0);
    a.PostMessage(WM_APP + 5, 0, 42);
    ASSERT_TRUE(qor::test::PumpUntil([&] { return !a.received.empty(); }, 5000));
    EXPECT_EQ(a.received, std::vector<LPARAM>{42});
    ASSERT_EQ(boxes.Shown().size(), 2u);
    EXPECT_EQ(boxes.Shown()[0].text, CString(L"The command could not be carried out.\n\nIncorrect span information"));
    EXPECT_EQ(boxes.Shown()[1].text, CString(L"The command could not be carried out.\n\nvector too long"));
    EXPECT_NE(boxes.Shown()[0].type & MB_ICONERROR, 0u);
}

TEST_F(LoopTest, WorkOffTheWindowThreadHoldsPostsBackAndHandsThemOnInOrder)
{
    // The work waits for the third tick, so the window thread has run its loop meanwhile. A post
    // from before the work, one from the worker and one from a tick all wait until the work has
    // ended, and come before a post made after it; what the work throws comes back to the caller.
    ASSERT_TRUE(a.PostMessage(WM_APP + 5, 0, 1));
    std::atomic<int> ticks{0};
    const HWND target = a.m_hWnd;
    qor::gui::RunWorkOffWindowThread(
        [&] {
            ::PostMessage(target, WM_APP + 5, 0, 2);
            while (ticks.load() < 3) std::this_thread::sleep_for(std::chrono::milliseconds(1));
        },
        [&] {
            if (++ticks == 2) a.PostMessage(WM_APP + 5, 0, 3);
        });
    EXPECT_GE(ticks.load(), 3);
    EXPECT_TRUE(a.received.empty()) << "nothing posted reached the window while the work ran";
    ASSERT_TRUE(a.PostMessage(WM_APP + 5, 0, 4));
    ASSERT_TRUE(qor::test::PumpUntil([&] { return a.received.size() == 4; }));
    EXPECT_EQ(a.received, (std::vector<LPARAM>{1, 2, 3, 4}));

    EXPECT_THROW(qor::gui::RunWorkOffWindowThread([] { throw std::length_error("too long"); }, nullptr),
                 std::length_error);
    ASSERT_TRUE(a.PostMessage(WM_APP + 5, 0, 5));
    ASSERT_TRUE(qor::test::PumpUntil([&] { return a.received.size() == 5; })) << "posts flow again";
}

TEST_F(LoopTest, UnhandledWheelGoesToTheParent)
{
    b.handleWheel = false;
    qor::test::Wheel(&b, CPoint(10, 10), 120);
    EXPECT_EQ(b.wheelCalls, 0);
    EXPECT_EQ(top.wheelDelta, 120);
    qor::test::Wheel(&a, CPoint(10, 10), -120);
    EXPECT_EQ(a.wheelDelta, -120);
    EXPECT_EQ(top.wheelDelta, 120); // handled by the child: the parent hears nothing
}

TEST_F(LoopTest, WheelOverAScrollBarIsTheWindowsWheelAndDoesNotTrack)
{
    SCROLLINFO si{sizeof(SCROLLINFO), SIF_RANGE | SIF_PAGE | SIF_POS, 0, 99, 10, 20, 0};
    a.SetScrollInfo(SB_VERT, &si);
    qor::test::ScrollBarWheel(&a, SB_VERT, -120);
    EXPECT_EQ(a.wheelDelta, -120);
    EXPECT_TRUE(a.scrollCodes.empty()); // no SB_THUMBTRACK from the wheel
    SCROLLINFO out{sizeof(SCROLLINFO), SIF_ALL, 0, 0, 0, 0, 0};
    ASSERT_TRUE(a.GetScrollInfo(SB_VERT, &out, SIF_ALL));
    EXPECT_EQ(out.nPos, 20);
    EXPECT_EQ(out.nTrackPos, 20); // not stuck in a drag
    EXPECT_EQ(qor::test::ScrollBarShownValue(&a, SB_VERT), 20);
    // A later position is shown at once (the bar is not held by a phantom drag).
    a.SetScrollPos(SB_VERT, 30);
    EXPECT_EQ(qor::test::ScrollBarShownValue(&a, SB_VERT), 30);
}

std::vector<UINT_PTR>* g_procTicks = nullptr;
HWND g_procWnd = nullptr;
void TimerProc(HWND h, UINT msg, UINT_PTR id, DWORD)
{
    EXPECT_EQ(msg, static_cast<UINT>(WM_TIMER));
    g_procWnd = h;
    g_procTicks->push_back(id);
}

TEST_F(LoopTest, TimerProceduresRunFromDefaultProcessing)
{
    std::vector<UINT_PTR> ticks;
    g_procTicks = &ticks;
    ASSERT_EQ(a.SetTimer(3, 10, TimerProc), 3u);
    ASSERT_TRUE(qor::test::PumpUntil([&] { return ticks.size() >= 2; }));
    EXPECT_TRUE(a.KillTimer(3));
    EXPECT_EQ(g_procWnd, a.m_hWnd);
    EXPECT_EQ(ticks.front(), 3u);
    size_t seen = ticks.size();
    qor::test::Pump(50);
    EXPECT_EQ(ticks.size(), seen);
    // A destroyed window's timers stop with it.
    ASSERT_EQ(b.SetTimer(4, 10, TimerProc), 4u);
    b.DestroyWindow();
    ticks.clear();
    qor::test::Pump(50);
    EXPECT_TRUE(ticks.empty());
    g_procTicks = nullptr;
}

TEST_F(LoopTest, SetCursorIsAskedBeforeMouseMessagesAndChoosesTheCursor)
{
    HCURSOR cross = LoadCursor(nullptr, IDC_CROSS);
    HCURSOR arrow = LoadCursor(nullptr, IDC_ARROW);
    ASSERT_NE(cross, nullptr);
    ASSERT_NE(cross, arrow);
    b.cursor = cross;
    qor::test::MouseMove(&b, CPoint(5, 5));
    qor::test::MouseDown(&b, CPoint(5, 5));
    ASSERT_EQ(b.cursorQueries.size(), 2u);
    EXPECT_EQ(b.cursorQueries[0], static_cast<UINT>(WM_MOUSEMOVE));
    EXPECT_EQ(b.cursorQueries[1], static_cast<UINT>(WM_LBUTTONDOWN));
    EXPECT_EQ(GetCursor(), cross);
    // Left to the default, the parent is asked first, then the class cursor is used.
    b.cursor = nullptr;
    size_t topQueries = top.cursorQueries.size();
    qor::test::MouseMove(&b, CPoint(6, 6));
    EXPECT_EQ(top.cursorQueries.size(), topQueries + 1);
    EXPECT_EQ(GetCursor(), arrow);
    qor::test::MouseUp(&b, CPoint(6, 6));
}

TEST_F(LoopTest, FontsGoByWmSetFontAndWmGetFont)
{
    EXPECT_EQ(a.GetFont(), nullptr);
    CFont font;
    ASSERT_TRUE(font.CreatePointFont(100, L"Arial"));
    a.SetFont(&font);
    ASSERT_NE(a.GetFont(), nullptr);
    EXPECT_EQ(a.GetFont()->GetSafeHandle(), font.GetSafeHandle());
    EXPECT_EQ(reinterpret_cast<HFONT>(a.SendMessage(WM_GETFONT, 0, 0)), static_cast<HFONT>(font.GetSafeHandle()));
    a.SetFont(nullptr);
    EXPECT_EQ(a.GetFont(), nullptr);
}

TEST_F(LoopTest, CursorPositionFollowsTheMouseInScreenCoordinates)
{
    qor::test::MouseMove(&b, CPoint(17, 23));
    CPoint expected(17, 23);
    b.ClientToScreen(&expected);
    POINT p{};
    ASSERT_TRUE(GetCursorPos(&p));
    EXPECT_EQ(CPoint(p), expected);
    DWORD pos = GetMessagePos();
    EXPECT_EQ(GET_X_LPARAM(static_cast<LPARAM>(pos)), expected.x);
    EXPECT_EQ(GET_Y_LPARAM(static_cast<LPARAM>(pos)), expected.y);
    DWORD t0 = GetTickCount();
    qor::test::Pump(20);
    EXPECT_GE(GetTickCount() - t0, 15u);
}

// A command that closes the window it came from, delivered by the toolkit (as File > Exit is by the menu).
class CClosingChild : public CWnd
{
public:
    CWnd* closes = nullptr;
    int widgetsBefore = 0;
    int widgetsAfterClose = 0;
    LRESULT OnCloseTop(WPARAM, LPARAM)
    {
        widgetsBefore = qor::test::ToolkitWidgetCount();
        closes->DestroyWindow();
        widgetsAfterClose = qor::test::ToolkitWidgetCount();
        return 0;
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CClosingChild, CWnd)
ON_MESSAGE(WM_APP + 6, OnCloseTop)
END_MESSAGE_MAP()

TEST(WindowTeardown, AWindowClosedFromInsideAnEventKeepsItsWidgetsUntilTheEventIsDone)
{
    qor::test::EnsureGuiApplication();
    CWnd top;
    CClosingChild child;
    ASSERT_TRUE(top.CreateEx(0, nullptr, L"top", WS_POPUP | WS_VISIBLE, CRect(20, 30, 220, 130), nullptr, 0));
    ASSERT_TRUE(child.Create(nullptr, nullptr, WS_CHILD | WS_VISIBLE, CRect(0, 0, 100, 50), &top, 1));
    child.closes = &top;
    const int before = qor::test::ToolkitWidgetCount();
    ASSERT_TRUE(child.PostMessage(WM_APP + 6));
    ASSERT_TRUE(qor::test::PumpUntil([&] { return top.m_hWnd == nullptr; }));
    EXPECT_EQ(child.m_hWnd, nullptr);
    // The toolkit still runs code of the widgets that delivered the click: they go once it returns.
    EXPECT_EQ(child.widgetsAfterClose, child.widgetsBefore);
    ASSERT_TRUE(qor::test::PumpUntil([&] { return qor::test::ToolkitWidgetCount() < before; }));
}

// The main window's destruction ends the program's loop; a quit with no loop running is dropped, so
// that a later loop (a dialog's, the next program's) runs.
TEST(WindowTeardown, TheMainWindowsEndQuitsTheRunningLoopOnly)
{
    qor::test::EnsureGuiApplication();
    CWinApp app(L"loop test");
    auto* frame = new CFrameWnd;
    ASSERT_TRUE(frame->Create(nullptr, L"main"));
    app.m_pMainWnd = frame;
    frame->DestroyWindow();
    EXPECT_EQ(app.m_pMainWnd, nullptr);
    qor::test::Pump(); // the quit arrives while no loop runs

    CLoopProbe probe;
    ASSERT_TRUE(probe.CreateEx(0, nullptr, L"probe", WS_POPUP, CRect(0, 0, 50, 50), nullptr, 0));
    probe.quitAfter = 1;
    ASSERT_TRUE(PostMessage(probe.m_hWnd, WM_APP + 5, 0, 1));
    EXPECT_EQ(qor::gui::RunMessageLoop(), 7); // not ended at once by the old quit

    frame = new CFrameWnd;
    ASSERT_TRUE(frame->Create(nullptr, L"main"));
    app.m_pMainWnd = frame;
    frame->PostMessage(WM_CLOSE);
    EXPECT_EQ(app.Run(), 0);
    EXPECT_EQ(app.m_pMainWnd, nullptr);
}

TEST(ProgramLocale, NumbersKeepTheDecimalPointOnceTheToolkitIsUp)
{
    qor::test::EnsureGuiApplication();
    EXPECT_STREQ(std::localeconv()->decimal_point, ".");
    char buf[32];
    std::snprintf(buf, sizeof buf, "%.2f", 1.25);
    EXPECT_STREQ(buf, "1.25");
    EXPECT_DOUBLE_EQ(std::strtod("2.5", nullptr), 2.5);
}

} // namespace
