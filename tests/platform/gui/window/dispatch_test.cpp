// Messages: sent and real input reach the same handlers; maps inherit; posting from a
// worker thread arrives in order; registered messages; notifications; key state.
#include "platform/gui/Afx.h"
#include "platform/test/GuiTest.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <thread>
#include <utility>
#include <vector>

namespace {

struct Event
{
    UINT msg;
    UINT flags;
    CPoint pt;
};

const UINT kMsgPing = RegisterWindowMessage(L"QOR.Test.Ping");

class CBaseProbe : public CWnd
{
public:
    std::vector<Event> events;
    std::vector<UINT> chars;
    std::vector<UINT> keys;
    std::vector<std::pair<WPARAM, LPARAM>> pings;
    bool shiftDuringKey = false;
    int wheelDelta = 0;
    CPoint wheelPt;
    int timerTicks = 0;
    int captureLost = 0;
    int setFocus = 0, killFocus = 0;

    void OnLButtonDown(UINT f, CPoint p) { events.push_back({WM_LBUTTONDOWN, f, p}); }
    void OnLButtonUp(UINT f, CPoint p) { events.push_back({WM_LBUTTONUP, f, p}); }
    void OnLButtonDblClk(UINT f, CPoint p) { events.push_back({WM_LBUTTONDBLCLK, f, p}); }
    void OnRButtonDown(UINT f, CPoint p) { events.push_back({WM_RBUTTONDOWN, f, p}); }
    void OnMouseMove(UINT f, CPoint p) { events.push_back({WM_MOUSEMOVE, f, p}); }
    BOOL OnMouseWheel(UINT, short z, CPoint pt)
    {
        wheelDelta += z;
        wheelPt = pt;
        return TRUE;
    }
    void OnKeyDown(UINT c, UINT, UINT)
    {
        keys.push_back(c);
        shiftDuringKey = GetKeyState(VK_SHIFT) < 0;
    }
    // A press of Alt itself comes as a system key.
    void OnSysKeyDown(UINT c, UINT, UINT) { keys.push_back(c); }
    void OnChar(UINT c, UINT, UINT) { chars.push_back(c); }
    void OnTimer(UINT_PTR id)
    {
        if (id == 7 && ++timerTicks == 3) KillTimer(7);
    }
    void OnCaptureChanged(CWnd*) { ++captureLost; }
    void OnSetFocus(CWnd*) { ++setFocus; }
    void OnKillFocus(CWnd*) { ++killFocus; }
    LRESULT OnPing(WPARAM w, LPARAM l)
    {
        pings.emplace_back(w, l);
        return 42;
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CBaseProbe, CWnd)
ON_WM_LBUTTONDOWN()
ON_WM_LBUTTONUP()
ON_WM_LBUTTONDBLCLK()
ON_WM_RBUTTONDOWN()
ON_WM_MOUSEMOVE()
ON_WM_MOUSEWHEEL()
ON_WM_KEYDOWN()
ON_WM_SYSKEYDOWN()
ON_WM_CHAR()
ON_WM_TIMER()
ON_WM_CAPTURECHANGED()
ON_WM_SETFOCUS()
ON_WM_KILLFOCUS()
ON_REGISTERED_MESSAGE(kMsgPing, OnPing)
END_MESSAGE_MAP()

// Overrides one handler and adds one; the rest comes from the base map.
class CDerivedProbe : public CBaseProbe
{
public:
    int derivedDowns = 0;
    std::vector<LPARAM> appMessages;
    void OnLButtonDown(UINT f, CPoint p)
    {
        ++derivedDowns;
        CBaseProbe::OnLButtonDown(f, p);
    }
    LRESULT OnApp(WPARAM, LPARAM l)
    {
        appMessages.push_back(l);
        return 0;
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CDerivedProbe, CBaseProbe)
ON_WM_LBUTTONDOWN()
ON_MESSAGE(WM_APP + 1, OnApp)
END_MESSAGE_MAP()

void RegisterProbeClass()
{
    WNDCLASS wc{};
    if (GetClassInfo(AfxGetInstanceHandle(), L"QorProbe", &wc)) return;
    wc.style = CS_DBLCLKS;
    wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
    wc.lpszClassName = L"QorProbe";
    ASSERT_TRUE(RegisterClass(&wc));
}

class MsgTest : public ::testing::Test
{
protected:
    CWnd parent;
    CDerivedProbe probe;
    void SetUp() override
    {
        qor::test::EnsureGuiApplication();
        RegisterProbeClass();
        ASSERT_TRUE(parent.CreateEx(0, L"AfxWnd", L"top", WS_POPUP | WS_VISIBLE, CRect(10, 10, 410, 310), nullptr, 0));
        ASSERT_TRUE(probe.Create(L"QorProbe", nullptr, WS_CHILD | WS_VISIBLE, CRect(5, 5, 205, 105), &parent, 100));
    }
};

TEST_F(MsgTest, SentAndRealMouseMessagesReachTheSameHandlerWithClientCoordinates)
{
    probe.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON | MK_CONTROL, MAKELPARAM(12, 34));
    qor::test::MouseDown(&probe, CPoint(12, 34), VK_LBUTTON, MK_CONTROL);
    ASSERT_EQ(probe.events.size(), 2u);
    EXPECT_EQ(probe.derivedDowns, 2);
    for (const Event& e : probe.events)
    {
        EXPECT_EQ(e.msg, WM_LBUTTONDOWN);
        EXPECT_EQ(e.flags, MK_LBUTTON | MK_CONTROL);
        EXPECT_EQ(e.pt, CPoint(12, 34));
    }
    qor::test::MouseUp(&probe, CPoint(13, 35));
    qor::test::MouseDoubleClick(&probe, CPoint(13, 35));
    qor::test::MouseMove(&probe, CPoint(50, 60), MK_LBUTTON);
    ASSERT_EQ(probe.events.size(), 5u);
    EXPECT_EQ(probe.events[2].msg, WM_LBUTTONUP);
    EXPECT_EQ(probe.events[2].flags, 0u);
    EXPECT_EQ(probe.events[3].msg, WM_LBUTTONDBLCLK);
    EXPECT_EQ(probe.events[4].msg, WM_MOUSEMOVE);
    EXPECT_EQ(probe.events[4].flags, static_cast<UINT>(MK_LBUTTON));
    EXPECT_EQ(probe.events[4].pt, CPoint(50, 60));
}

TEST_F(MsgTest, InheritedHandlersAndUnhandledMessagesFallBack)
{
    qor::test::MouseDown(&probe, CPoint(1, 1), VK_RBUTTON);
    ASSERT_EQ(probe.events.size(), 1u);
    EXPECT_EQ(probe.events[0].msg, WM_RBUTTONDOWN);
    EXPECT_EQ(probe.derivedDowns, 0);
    // Not in any map: default processing answers.
    EXPECT_EQ(probe.SendMessage(WM_NCHITTEST, 0, 0), HTCLIENT);
    probe.SetWindowText(L"abc");
    CString t;
    probe.GetWindowText(t);
    EXPECT_EQ(t, CString(L"abc"));
}

TEST_F(MsgTest, KeysBecomeVirtualKeysAndCharactersAndKeyStateFollowsTheMessage)
{
    qor::test::KeyPress(&probe, 'A', L'a');
    EXPECT_FALSE(probe.shiftDuringKey);
    qor::test::KeyPress(&probe, VK_TAB, L'\t', MK_SHIFT);
    EXPECT_TRUE(probe.shiftDuringKey); // the real event's modifiers
    qor::test::KeyPress(&probe, VK_DOWN);
    qor::test::KeyPress(&probe, VK_ADD, L'+');
    ASSERT_EQ(probe.keys.size(), 4u);
    EXPECT_EQ(probe.keys[0], static_cast<UINT>('A'));
    EXPECT_EQ(probe.keys[1], static_cast<UINT>(VK_TAB));
    EXPECT_EQ(probe.keys[2], static_cast<UINT>(VK_DOWN));
    EXPECT_EQ(probe.keys[3], static_cast<UINT>(VK_ADD));
    EXPECT_EQ(probe.chars, (std::vector<UINT>{L'a', L'\t', L'+'}));

    // Sent messages: the key state comes from the test's keyboard.
    qor::gui::SetKeyDown(VK_SHIFT, true);
    probe.SendMessage(WM_KEYDOWN, VK_RIGHT, 1);
    EXPECT_TRUE(probe.shiftDuringKey);
    qor::gui::SetKeyDown(VK_SHIFT, false);
    probe.SendMessage(WM_KEYDOWN, VK_RIGHT, 1);
    EXPECT_FALSE(probe.shiftDuringKey);
    // A mouse message's MK_ flags are the key state while it is handled.
    probe.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON | MK_SHIFT, 0);
    EXPECT_FALSE(GetKeyState(VK_SHIFT) < 0);
}

TEST_F(MsgTest, EveryKeyTheLayerNamesComesBackAsItselfAndNoKeyComesBackAsAnother)
{
    // What a key press turns into on its way to the toolkit and back: the virtual keys the toolkit has a key for.
    std::vector<UINT> named = {
        VK_BACK,     VK_TAB,     VK_RETURN, VK_SHIFT, VK_CONTROL,  VK_MENU,      VK_PAUSE,     VK_CAPITAL,    VK_ESCAPE,
        VK_SPACE,    VK_PRIOR,   VK_NEXT,   VK_END,   VK_HOME,     VK_LEFT,      VK_UP,        VK_RIGHT,      VK_DOWN,
        VK_SNAPSHOT, VK_INSERT,  VK_DELETE, VK_HELP,  VK_APPS,     VK_NUMLOCK,   VK_SCROLL,    VK_MULTIPLY,   VK_ADD,
        VK_SUBTRACT, VK_DECIMAL, VK_DIVIDE, VK_OEM_1, VK_OEM_PLUS, VK_OEM_COMMA, VK_OEM_MINUS, VK_OEM_PERIOD, VK_OEM_2,
        VK_OEM_3,    VK_OEM_4,   VK_OEM_5,  VK_OEM_6, VK_OEM_7};
    for (UINT vk = 'A'; vk <= 'Z'; ++vk) named.push_back(vk);
    for (UINT vk = '0'; vk <= '9'; ++vk) named.push_back(vk);
    for (UINT vk = VK_NUMPAD0; vk <= VK_NUMPAD9; ++vk) named.push_back(vk);
    for (UINT vk = VK_F1; vk < VK_F1 + 24; ++vk) named.push_back(vk); // F1 to F24
    for (UINT vk = 1; vk < 0xFF; ++vk)
    {
        SCOPED_TRACE(vk);
        probe.keys.clear();
        qor::test::KeyDown(&probe, vk);
        if (std::find(named.begin(), named.end(), vk) != named.end())
            EXPECT_EQ(probe.keys, std::vector<UINT>{vk});
        else
            EXPECT_TRUE(probe.keys.empty()) << probe.keys.front();
        qor::test::KeyUp(&probe, vk);
    }
}

TEST_F(MsgTest, WheelCarriesDeltaAndScreenPointAndUnhandledWheelGoesToParent)
{
    qor::test::Wheel(&probe, CPoint(10, 10), -240);
    EXPECT_EQ(probe.wheelDelta, -240);
    CPoint screen(10, 10);
    probe.ClientToScreen(&screen);
    EXPECT_EQ(probe.wheelPt, screen);
}

TEST_F(MsgTest, PostedMessagesFromWorkerThreadsArriveInOrderOnTheUserInterfaceThread)
{
    const int n = 200;
    HWND h = probe.m_hWnd;
    std::thread worker([h] {
        for (int i = 0; i < n; ++i) ASSERT_TRUE(PostMessage(h, WM_APP + 1, 0, i));
    });
    worker.join();
    EXPECT_TRUE(probe.appMessages.empty()); // nothing arrives before the loop runs
    ASSERT_TRUE(qor::test::PumpUntil([&] { return probe.appMessages.size() == static_cast<size_t>(n); }));
    for (int i = 0; i < n; ++i) EXPECT_EQ(probe.appMessages[static_cast<size_t>(i)], i);
}

TEST_F(MsgTest, PostToADestroyedWindowFails)
{
    CDerivedProbe other;
    ASSERT_TRUE(other.Create(L"QorProbe", nullptr, WS_CHILD, CRect(0, 0, 10, 10), &parent, 101));
    HWND h = other.m_hWnd;
    other.DestroyWindow();
    EXPECT_FALSE(IsWindow(h));
    EXPECT_FALSE(PostMessage(h, WM_APP + 1, 0, 0));
    EXPECT_EQ(CWnd::FromHandle(h), nullptr);
}

TEST_F(MsgTest, RegisteredMessagesAreStableAndDispatched)
{
    EXPECT_EQ(RegisterWindowMessage(L"QOR.Test.Ping"), kMsgPing);
    EXPECT_GE(kMsgPing, 0xC000u);
    EXPECT_EQ(probe.SendMessage(kMsgPing, 3, 4), 42);
    ASSERT_TRUE(probe.PostMessage(kMsgPing, 5, 6));
    ASSERT_TRUE(qor::test::PumpUntil([&] { return probe.pings.size() == 2; }));
    EXPECT_EQ(probe.pings[1], (std::pair<WPARAM, LPARAM>(5, 6)));
}

TEST_F(MsgTest, TimersDeliverWmTimerUntilKilled)
{
    ASSERT_EQ(probe.SetTimer(7, 10, nullptr), 7u);
    ASSERT_TRUE(qor::test::PumpUntil([&] { return probe.timerTicks >= 3; }));
    qor::test::Pump(60);
    EXPECT_EQ(probe.timerTicks, 3); // killed from its own handler
    EXPECT_FALSE(probe.KillTimer(7));
}

TEST_F(MsgTest, CaptureRoutesMouseAndReportsItsLoss)
{
    CDerivedProbe other;
    ASSERT_TRUE(other.Create(L"QorProbe", nullptr, WS_CHILD | WS_VISIBLE, CRect(210, 5, 310, 105), &parent, 102));
    probe.SetCapture();
    EXPECT_EQ(CWnd::GetCapture(), &probe);
    // A move over the other window goes to the capturing one, in its client coordinates.
    qor::test::MouseMove(&other, CPoint(5, 5));
    EXPECT_TRUE(other.events.empty());
    ASSERT_FALSE(probe.events.empty());
    EXPECT_EQ(probe.events.back().pt, CPoint(210 + 5 - 5, 5));
    other.SetCapture();
    EXPECT_EQ(probe.captureLost, 1);
    ReleaseCapture();
    EXPECT_EQ(other.captureLost, 1);
    EXPECT_EQ(CWnd::GetCapture(), nullptr);
}

TEST_F(MsgTest, FocusMovesWithKillAndSetFocus)
{
    CDerivedProbe other;
    ASSERT_TRUE(other.Create(L"QorProbe", nullptr, WS_CHILD | WS_VISIBLE, CRect(210, 5, 310, 105), &parent, 102));
    probe.SetFocus();
    EXPECT_EQ(CWnd::GetFocus(), &probe);
    EXPECT_EQ(probe.setFocus, 1);
    other.SetFocus();
    EXPECT_EQ(probe.killFocus, 1);
    EXPECT_EQ(other.setFocus, 1);
    other.DestroyWindow();
    EXPECT_EQ(CWnd::GetFocus(), nullptr);
}

// Notifications: WM_NOTIFY to the parent, reflected to the control when it handles it.
class CNotifyParent : public CWnd
{
public:
    std::vector<UINT> codes;
    void OnClick(NMHDR* h, LRESULT* r)
    {
        codes.push_back(h->code);
        *r = 5;
    }
    void OnCmd() { codes.push_back(1000); }
    DECLARE_MESSAGE_MAP()
};
BEGIN_MESSAGE_MAP(CNotifyParent, CWnd)
ON_NOTIFY(NM_CLICK, 100, OnClick)
ON_NOTIFY(NM_DBLCLK, 100, OnClick)
ON_CONTROL(EN_CHANGE, 100, OnCmd)
END_MESSAGE_MAP()

class CReflectingChild : public CWnd
{
public:
    int reflected = 0;
    void OnReflect(NMHDR*, LRESULT* r)
    {
        ++reflected;
        *r = 9;
    }
    DECLARE_MESSAGE_MAP()
};
BEGIN_MESSAGE_MAP(CReflectingChild, CWnd)
ON_NOTIFY_REFLECT(NM_DBLCLK, OnReflect)
END_MESSAGE_MAP()

TEST(MsgNotify, NotifyGoesToParentReflectionTakesPrecedence)
{
    qor::test::EnsureGuiApplication();
    CNotifyParent parent;
    ASSERT_TRUE(parent.CreateEx(0, nullptr, L"p", WS_POPUP, CRect(0, 0, 100, 100), nullptr, 0));
    CReflectingChild child;
    ASSERT_TRUE(child.Create(nullptr, nullptr, WS_CHILD, CRect(0, 0, 10, 10), &parent, 100));
    NMHDR h{child.m_hWnd, 100, NM_CLICK};
    EXPECT_EQ(parent.SendMessage(WM_NOTIFY, 100, reinterpret_cast<LPARAM>(&h)), 5);
    h.code = NM_DBLCLK;
    EXPECT_EQ(parent.SendMessage(WM_NOTIFY, 100, reinterpret_cast<LPARAM>(&h)), 9);
    EXPECT_EQ(child.reflected, 1);
    EXPECT_EQ(parent.codes, (std::vector<UINT>{NM_CLICK}));
    parent.SendMessage(WM_COMMAND, MAKEWPARAM(100, EN_CHANGE), reinterpret_cast<LPARAM>(child.m_hWnd));
    EXPECT_EQ(parent.codes.back(), 1000u);
}

} // namespace

namespace {

class CCommandProbe : public CCmdTarget
{
public:
    int runs = 0;
    void OnRun() { ++runs; }
    void OnUpdateRun(CCmdUI* pCmdUI) { pCmdUI->Enable(FALSE); }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CCommandProbe, CCmdTarget)
ON_COMMAND(4001, OnRun)
ON_UPDATE_COMMAND_UI(4001, OnUpdateRun)
END_MESSAGE_MAP()

} // namespace

TEST(MsgCommand, CommandAndUpdateHandlersAreFoundThroughOnCmdMsg)
{
    CCommandProbe target;
    EXPECT_TRUE(target.OnCmdMsg(4001, CN_COMMAND, nullptr, nullptr));
    EXPECT_EQ(target.runs, 1);

    // The update request finds its own entry and the handler's answer is kept.
    CCmdUI ui;
    ui.m_nID = 4001;
    EXPECT_TRUE(ui.DoUpdate(&target, TRUE));
    EXPECT_TRUE(ui.m_bEnableChanged);
    EXPECT_FALSE(ui.m_bEnabled);
    EXPECT_EQ(target.runs, 1);

    // An id without handlers is disabled when asked to.
    CCmdUI other;
    other.m_nID = 4002;
    EXPECT_FALSE(other.DoUpdate(&target, TRUE));
    EXPECT_FALSE(other.m_bEnabled);
}

namespace {

const UINT kMsgClose = RegisterWindowMessage(L"QOR.Test.CloseSelf");

// A window made on the heap that deletes itself when destroyed (as a preview does); on the message it
// destroys itself, or the window it was told to, and counts what reached it.
class CSelfDeleting : public CWnd
{
public:
    explicit CSelfDeleting(std::vector<int>& log, int name) : m_log(log), m_name(name) {}
    CWnd* m_pVictim = nullptr; // destroyed on the first message; the next destroys the window itself
    LRESULT OnClose(WPARAM, LPARAM)
    {
        m_log.push_back(m_name);
        if (CWnd* victim = std::exchange(m_pVictim, nullptr))
            victim->DestroyWindow();
        else
            DestroyWindow();
        return 0;
    }
    void PostNcDestroy() override { delete this; }
    DECLARE_MESSAGE_MAP()

private:
    std::vector<int>& m_log;
    int m_name;
};

BEGIN_MESSAGE_MAP(CSelfDeleting, CWnd)
ON_REGISTERED_MESSAGE(kMsgClose, OnClose)
END_MESSAGE_MAP()

} // namespace

// A message sent to every descendant reaches only windows that live: one whose handler destroyed (and
// deleted) it is not read again nor walked into, a sibling or a nested window another handler destroyed
// gets nothing, and the others each get it once (under the address sanitizer a read of a deleted window
// fails the test).
TEST(MsgDescendants, WindowsAHandlerDestroyedGetNothingAndAreNotRead)
{
    qor::test::EnsureGuiApplication();
    CWnd top;
    ASSERT_TRUE(top.CreateEx(0, nullptr, L"top", WS_POPUP, CRect(0, 0, 200, 200), nullptr, 0));
    std::vector<int> log;
    auto make = [&](int name, CWnd* parent) {
        auto* w = new CSelfDeleting(log, name);
        EXPECT_TRUE(w->Create(nullptr, nullptr, WS_CHILD, CRect(0, 0, 10, 10), parent, static_cast<UINT>(name)));
        return w;
    };
    // 1 destroys itself, with its child 11; 2 destroys its later sibling 3 and its own child 21 (which
    // holds 211), so that the walk would otherwise go into them; 4 destroys itself; 5 stays.
    CSelfDeleting* first = make(1, &top);
    make(11, first);
    CSelfDeleting* second = make(2, &top);
    CSelfDeleting* third = make(3, &top);
    second->m_pVictim = third;
    CSelfDeleting* inner = make(21, second);
    make(211, inner);
    make(4, &top);
    CSelfDeleting* last = make(5, &top);
    last->m_pVictim = make(51, last);
    const HWND hSecond = second->m_hWnd, hLast = last->m_hWnd;

    top.SendMessageToDescendants(kMsgClose, 0, 0, TRUE);

    // 2 destroyed 3; it then gets nothing, and 21 under 2 is walked: it destroys itself (with 211).
    // 5 destroyed its child 51 before the walk reached it.
    EXPECT_EQ(log, (std::vector<int>{1, 2, 21, 4, 5}));
    EXPECT_TRUE(::IsWindow(hSecond));
    EXPECT_TRUE(::IsWindow(hLast));
    top.SendMessageToDescendants(kMsgClose, 0, 0, TRUE);
    EXPECT_EQ(log, (std::vector<int>{1, 2, 21, 4, 5, 2, 5}));
    EXPECT_FALSE(::IsWindow(hSecond));
    EXPECT_FALSE(::IsWindow(hLast));
    top.DestroyWindow();
}
