// Windows: classes by name, creation messages, geometry, styles, destruction, run-time
// classes, and the retained surface that drawing lands in.
#include "platform/gui/Afx.h"
#include "platform/test/GuiTest.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

std::vector<std::string>* g_log = nullptr;

class CLifeProbe : public CWnd
{
    DECLARE_DYNCREATE(CLifeProbe)
public:
    bool failCreate = false;
    bool* deleted = nullptr;
    int paints = 0;
    COLORREF fill = RGB(10, 200, 30);
    ~CLifeProbe() override
    {
        if (deleted) *deleted = true;
    }
    int OnCreate(LPCREATESTRUCT cs)
    {
        if (g_log) g_log->push_back("create");
        EXPECT_NE(cs, nullptr);
        return failCreate ? -1 : 0;
    }
    void OnSize(UINT, int cx, int cy)
    {
        if (g_log) g_log->push_back("size " + std::to_string(cx) + "x" + std::to_string(cy));
    }
    void OnDestroy()
    {
        if (g_log) g_log->push_back("destroy");
    }
    void OnPaint()
    {
        ++paints;
        CPaintDC dc(this);
        CRect rc;
        GetClientRect(&rc);
        dc.FillSolidRect(&rc, fill);
    }
    void PostNcDestroy() override
    {
        if (g_log) g_log->push_back("postncdestroy");
        if (deleted) delete this;
    }
    DECLARE_MESSAGE_MAP()
};
IMPLEMENT_DYNCREATE(CLifeProbe, CWnd)
BEGIN_MESSAGE_MAP(CLifeProbe, CWnd)
ON_WM_CREATE()
ON_WM_SIZE()
ON_WM_DESTROY()
ON_WM_PAINT()
END_MESSAGE_MAP()

void RegisterLifeClass()
{
    WNDCLASS wc{};
    if (GetClassInfo(AfxGetInstanceHandle(), L"QorLifeProbe", &wc)) return;
    wc.style = CS_DBLCLKS | CS_HREDRAW | CS_VREDRAW;
    wc.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<std::uintptr_t>(COLOR_3DFACE + 1));
    wc.lpszClassName = L"QorLifeProbe";
    ASSERT_TRUE(RegisterClass(&wc));
    EXPECT_FALSE(RegisterClass(&wc)); // once per name
}

class WndTest : public ::testing::Test
{
protected:
    CWnd top;
    std::vector<std::string> log;
    void SetUp() override
    {
        qor::test::EnsureGuiApplication();
        RegisterLifeClass();
        g_log = &log;
        ASSERT_TRUE(top.CreateEx(0, nullptr, L"top", WS_POPUP | WS_VISIBLE, CRect(100, 50, 600, 450), nullptr, 0));
    }
    void TearDown() override { g_log = nullptr; }
};

TEST_F(WndTest, UnknownClassFailsAndFailedCreateLeavesNoWindow)
{
    CWnd w;
    EXPECT_FALSE(w.Create(L"NoSuchClass", nullptr, WS_CHILD, CRect(0, 0, 10, 10), &top, 1));
    EXPECT_EQ(w.m_hWnd, nullptr);
    CLifeProbe p;
    p.failCreate = true;
    EXPECT_FALSE(p.Create(L"QorLifeProbe", nullptr, WS_CHILD, CRect(0, 0, 10, 10), &top, 1));
    EXPECT_EQ(p.m_hWnd, nullptr);
    EXPECT_EQ(log, (std::vector<std::string>{"create", "destroy", "postncdestroy"}));
}

TEST_F(WndTest, CreateSendsCreateThenSizeAndKeepsIdParentAndStyle)
{
    CLifeProbe p;
    ASSERT_TRUE(p.CreateEx(WS_EX_CLIENTEDGE, L"QorLifeProbe", L"x", WS_CHILD | WS_VISIBLE | WS_TABSTOP,
                           CRect(10, 20, 110, 70), &top, 1234));
    ASSERT_GE(log.size(), 2u);
    EXPECT_EQ(log[0], "create");
    EXPECT_EQ(log[1], "size 96x46"); // 2-pixel client edge on each side
    EXPECT_EQ(p.GetDlgCtrlID(), 1234);
    EXPECT_EQ(p.GetParent(), &top);
    EXPECT_EQ(p.GetOwner(), &top);
    EXPECT_EQ(top.GetDlgItem(1234), &p);
    EXPECT_EQ(CWnd::FromHandle(p.m_hWnd), &p);
    EXPECT_TRUE(IsWindow(p.m_hWnd));
    EXPECT_TRUE(p.GetStyle() & WS_TABSTOP);
    EXPECT_TRUE(p.GetExStyle() & WS_EX_CLIENTEDGE);
    EXPECT_TRUE(p.IsWindowVisible());
    EXPECT_EQ(p.GetClassName(), CString(L"QorLifeProbe"));

    CRect wr;
    p.GetWindowRect(&wr);
    EXPECT_EQ(wr, CRect(110, 70, 210, 120));
    CPoint pt(0, 0);
    p.ClientToScreen(&pt);
    EXPECT_EQ(pt, CPoint(112, 72));
    p.ScreenToClient(&pt);
    EXPECT_EQ(pt, CPoint(0, 0));

    log.clear();
    p.MoveWindow(0, 0, 50, 40);
    EXPECT_EQ(log, (std::vector<std::string>{"size 46x36"}));
    p.ModifyStyleEx(WS_EX_CLIENTEDGE, 0, SWP_FRAMECHANGED);
    CRect rc;
    p.GetClientRect(&rc);
    EXPECT_EQ(rc, CRect(0, 0, 50, 40));

    EXPECT_TRUE(p.ShowWindow(SW_HIDE));
    EXPECT_FALSE(p.IsWindowVisible());
    top.ShowWindow(SW_HIDE);
    p.ShowWindow(SW_SHOW);
    EXPECT_FALSE(p.IsWindowVisible()); // the parent is hidden
    EXPECT_FALSE(p.EnableWindow(FALSE));
    EXPECT_FALSE(p.IsWindowEnabled());

    // A child made without WS_VISIBLE stays hidden when its parent is shown again, until shown itself.
    CLifeProbe hidden;
    hidden.fill = RGB(200, 10, 150);
    ASSERT_TRUE(hidden.CreateEx(0, L"QorLifeProbe", L"h", WS_CHILD, CRect(300, 300, 320, 320), &top, 1235));
    top.ShowWindow(SW_SHOW);
    auto shownFill = [&] {
        qor::test::PaintNow(&top);
        return qor::test::CountShownPixels(&top, [&](COLORREF c) { return c == hidden.fill; });
    };
    EXPECT_FALSE(hidden.IsWindowVisible());
    EXPECT_EQ(shownFill(), 0);
    hidden.ShowWindow(SW_SHOW);
    qor::test::PaintNow(&hidden);
    EXPECT_EQ(shownFill(), 20 * 20);
}

TEST_F(WndTest, DestroyGoesParentFirstAndPostNcDestroyMayDeleteTheObject)
{
    bool deleted = false;
    auto* p = new CLifeProbe;
    p->deleted = &deleted;
    ASSERT_TRUE(p->Create(L"QorLifeProbe", nullptr, WS_CHILD, CRect(0, 0, 20, 20), &top, 2));
    HWND h = p->m_hWnd;
    log.clear();
    top.DestroyWindow();
    EXPECT_TRUE(deleted);
    EXPECT_FALSE(IsWindow(h));
    EXPECT_EQ(log, (std::vector<std::string>{"destroy", "postncdestroy"}));
    EXPECT_EQ(top.m_hWnd, nullptr);
    // Calls on a window that is gone fail quietly.
    CRect rc(1, 1, 1, 1);
    top.GetClientRect(&rc);
    EXPECT_TRUE(rc.IsRectNull());
    EXPECT_EQ(top.SendMessage(WM_GETTEXTLENGTH), 0);
}

TEST_F(WndTest, RuntimeClassesCreateAndIdentify)
{
    CObject* o = RUNTIME_CLASS(CLifeProbe)->CreateObject();
    ASSERT_NE(o, nullptr);
    EXPECT_TRUE(o->IsKindOf(RUNTIME_CLASS(CWnd)));
    EXPECT_TRUE(o->IsKindOf(RUNTIME_CLASS(CObject)));
    EXPECT_FALSE(o->IsKindOf(RUNTIME_CLASS(CScrollBar)));
    EXPECT_STREQ(o->GetRuntimeClass()->m_lpszClassName, "CLifeProbe");
    EXPECT_EQ(CRuntimeClass::FromName("CLifeProbe"), RUNTIME_CLASS(CLifeProbe));
    EXPECT_EQ(DYNAMIC_DOWNCAST(CScrollBar, o), nullptr);
    delete o;
}

TEST_F(WndTest, PaintingLandsInTheRetainedSurface)
{
    CLifeProbe p;
    ASSERT_TRUE(p.Create(L"QorLifeProbe", nullptr, WS_CHILD | WS_VISIBLE, CRect(0, 0, 60, 40), &top, 3));
    p.UpdateWindow();
    EXPECT_EQ(p.paints, 1);
    EXPECT_EQ(qor::test::SurfacePixel(&p, 0, 0), RGB(10, 200, 30));
    EXPECT_EQ(qor::test::SurfacePixel(&p, 59, 39), RGB(10, 200, 30));
    EXPECT_EQ(qor::test::SurfacePixel(&p, 60, 0), 0xFFFFFFFFu);
    p.UpdateWindow(); // nothing invalid: no paint
    EXPECT_EQ(p.paints, 1);

    // Drawing at any time through a client DC.
    {
        CClientDC dc(&p);
        dc.FillSolidRect(CRect(5, 5, 10, 10), RGB(255, 0, 0));
    }
    EXPECT_EQ(qor::test::SurfacePixel(&p, 7, 7), RGB(255, 0, 0));
    EXPECT_EQ(qor::test::CountSurfacePixels(&p, CRect(0, 0, 60, 40), RGB(255, 0, 0)), 25);

    p.fill = RGB(0, 0, 255);
    p.InvalidateRect(CRect(0, 0, 10, 10));
    qor::test::PaintNow(&p);
    EXPECT_EQ(p.paints, 2);
    EXPECT_EQ(qor::test::SurfacePixel(&p, 7, 7), RGB(0, 0, 255));     // inside the update rectangle
    EXPECT_EQ(qor::test::SurfacePixel(&p, 30, 30), RGB(10, 200, 30)); // clipped away
}

TEST_F(WndTest, DefaultPaintErasesWithTheClassBackground)
{
    CWnd w;
    ASSERT_TRUE(w.Create(L"QorLifeProbe", nullptr, WS_CHILD | WS_VISIBLE, CRect(0, 0, 30, 30), &top, 4));
    w.UpdateWindow();
    EXPECT_EQ(qor::test::SurfacePixel(&w, 15, 15), GetSysColor(COLOR_3DFACE));
}

TEST(SysValues, FixedWindowsDefaults)
{
    EXPECT_EQ(GetSysColor(COLOR_WINDOW), RGB(255, 255, 255));
    EXPECT_EQ(GetSysColor(COLOR_BTNFACE), RGB(240, 240, 240));
    EXPECT_EQ(GetSystemMetrics(SM_CXVSCROLL), 17);
    UINT lines = 0;
    ASSERT_TRUE(SystemParametersInfo(SPI_GETWHEELSCROLLLINES, 0, &lines, 0));
    EXPECT_EQ(lines, 3u);
    EXPECT_EQ(GetDoubleClickTime(), 500u);
    int before = qor::gui::BeepCount();
    MessageBeep(MB_OK);
    EXPECT_EQ(qor::gui::BeepCount(), before + 1);
}

// The screen's numbers are those of the screen (here the one the test support fixes), and a
// window without a shown owner is centred in its work area, wholly on it.
TEST(SysValues, ScreenMetricsAndCentringFollowTheScreen)
{
    qor::test::EnsureGuiApplication();
    for (CSize size : {CSize(1280, 900), CSize(800, 600)})
    {
        qor::test::TestScreen screen(size, 40);
        EXPECT_EQ(GetSystemMetrics(SM_CXSCREEN), size.cx);
        EXPECT_EQ(GetSystemMetrics(SM_CYSCREEN), size.cy);
        EXPECT_EQ(GetSystemMetrics(SM_CYFULLSCREEN), size.cy - 40 - GetSystemMetrics(SM_CYCAPTION));
        RECT work{};
        ASSERT_TRUE(SystemParametersInfo(SPI_GETWORKAREA, 0, &work, 0));
        EXPECT_EQ(CRect(work), CRect(0, 0, size.cx, size.cy - 40));

        CWnd dlg;
        ASSERT_TRUE(dlg.CreateEx(0, nullptr, L"dlg", WS_POPUP, CRect(1500, 1000, 1900, 1300), nullptr, 0));
        dlg.CenterWindow();
        CRect r;
        dlg.GetWindowRect(&r);
        EXPECT_EQ(r, CRect((size.cx - 400) / 2, (size.cy - 40 - 300) / 2, (size.cx - 400) / 2 + 400,
                           (size.cy - 40 - 300) / 2 + 300));

        // Too tall for the work area: its top stays on the screen.
        CWnd tall;
        ASSERT_TRUE(tall.CreateEx(0, nullptr, L"tall", WS_POPUP, CRect(0, 0, 300, 1000), nullptr, 0));
        tall.CenterWindow();
        tall.GetWindowRect(&r);
        EXPECT_EQ(r.top, 0);
        EXPECT_EQ(r.left, (size.cx - 300) / 2);
    }
    EXPECT_EQ(GetSystemMetrics(SM_CXSCREEN), 1920) << "the test support's screen is back";
}

TEST(Clipboard, UnicodeTextRoundTrips)
{
    qor::test::EnsureGuiApplication();
    ASSERT_TRUE(qor::SetClipboardText(CString(L"a\tb\r\nç 1,5")));
    CString t;
    ASSERT_TRUE(qor::GetClipboardText(t));
    EXPECT_EQ(t, CString(L"a\tb\r\nç 1,5"));
}

TEST(MessageBoxes, ScriptedAnswersAreRecorded)
{
    qor::test::ScriptedMessageBoxes boxes;
    boxes.Answer(IDNO);
    EXPECT_EQ(AfxMessageBox(L"Save?", MB_YESNO), IDNO);
    EXPECT_EQ(AfxMessageBox(L"Again?", MB_OKCANCEL), IDOK); // script ran out: the default
    ASSERT_EQ(boxes.Shown().size(), 2u);
    EXPECT_EQ(boxes.Shown()[0].text, CString(L"Save?"));
}

} // namespace
