// Focus: SetFocus requests made while another is being handled (the latest wins, with the
// messages in the order the system sends them), pop-ups shown without activation, and a
// combo box's dropped list closing after the focus has gone on.
#include "platform/gui/Afx.h"
#include "platform/test/GuiTest.h"

#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <string>
#include <vector>

using namespace qor::test;

namespace {

std::vector<std::string>* g_log = nullptr;
std::map<HWND, std::string>* g_names = nullptr;

std::string NameOf(CWnd* w)
{
    if (!w || !g_names) return "null";
    auto it = g_names->find(w->GetSafeHwnd());
    return it == g_names->end() ? "other" : it->second;
}

void Record(CWnd* self, const char* what, CWnd* other)
{
    if (g_log) g_log->push_back(NameOf(self) + " " + what + " " + NameOf(other));
}

// A custom window that records its focus messages; a hook may act on losing the focus.
class CFocusProbe : public CWnd
{
public:
    std::function<void(CWnd*)> onKill;
    void OnSetFocus(CWnd* pOldWnd)
    {
        Record(this, "set", pOldWnd);
        CWnd::OnSetFocus(pOldWnd);
    }
    void OnKillFocus(CWnd* pNewWnd)
    {
        Record(this, "kill", pNewWnd);
        CWnd::OnKillFocus(pNewWnd);
        if (auto hook = std::move(onKill)) hook(pNewWnd);
    }
    DECLARE_MESSAGE_MAP()
};
BEGIN_MESSAGE_MAP(CFocusProbe, CWnd)
ON_WM_SETFOCUS()
ON_WM_KILLFOCUS()
END_MESSAGE_MAP()

// The same for an edit control (the toolkit's own control underneath).
class CFocusEdit : public CEdit
{
public:
    std::function<void(CWnd*)> onKill;
    void OnSetFocus(CWnd* pOldWnd)
    {
        Record(this, "set", pOldWnd);
        CEdit::OnSetFocus(pOldWnd);
    }
    void OnKillFocus(CWnd* pNewWnd)
    {
        Record(this, "kill", pNewWnd);
        CEdit::OnKillFocus(pNewWnd);
        if (auto hook = std::move(onKill)) hook(pNewWnd);
    }
    DECLARE_MESSAGE_MAP()
};
BEGIN_MESSAGE_MAP(CFocusEdit, CEdit)
ON_WM_SETFOCUS()
ON_WM_KILLFOCUS()
END_MESSAGE_MAP()

class FocusTest : public ::testing::Test
{
protected:
    CWnd top;
    CFocusEdit a;
    CFocusProbe b, c;
    std::vector<std::string> log;
    std::map<HWND, std::string> names;

    void SetUp() override
    {
        EnsureGuiApplication();
        ASSERT_TRUE(top.CreateEx(0, AfxRegisterWndClass(0), L"top", WS_OVERLAPPEDWINDOW | WS_VISIBLE,
                                 CRect(0, 0, 400, 300), nullptr, 0));
        ASSERT_TRUE(a.Create(WS_CHILD | WS_VISIBLE | WS_BORDER, CRect(10, 10, 150, 34), &top, 1));
        ASSERT_TRUE(b.CreateEx(0, AfxRegisterWndClass(0), L"", WS_CHILD | WS_VISIBLE, CRect(10, 50, 150, 90), &top, 2));
        ASSERT_TRUE(
            c.CreateEx(0, AfxRegisterWndClass(0), L"", WS_CHILD | WS_VISIBLE, CRect(10, 100, 150, 140), &top, 3));
        Name(&top, "top");
        Name(&a, "a");
        Name(&b, "b");
        Name(&c, "c");
        g_log = &log;
        g_names = &names;
        ASSERT_TRUE(PumpUntil([&] { return ToolkitActiveWindow() == &top; }));
    }
    void TearDown() override
    {
        g_log = nullptr;
        g_names = nullptr;
    }
    void Name(CWnd* w, const char* n) { names[w->GetSafeHwnd()] = n; }
    // The focus is on w for us and for the toolkit.
    void ExpectFocusOn(CWnd* w)
    {
        EXPECT_EQ(CWnd::GetFocus(), w);
        EXPECT_EQ(::GetFocus(), w->GetSafeHwnd());
        EXPECT_EQ(ToolkitFocusWindow(), w);
    }
};

using Log = std::vector<std::string>;

TEST_F(FocusTest, ASetFocusFromAKillFocusHandlerWins)
{
    a.SetFocus();
    Pump();
    ExpectFocusOn(&a);
    log.clear();

    // The edit, losing the focus to b, hands it on to c instead.
    a.onKill = [&](CWnd*) { c.SetFocus(); };
    b.SetFocus();
    // The focus was b's when c asked for it: b is told it lost it, and never that it got it.
    EXPECT_EQ(log, (Log{"a kill b", "b kill c", "c set b"}));
    ExpectFocusOn(&c);
    Pump(100);
    EXPECT_EQ(log.size(), 3u) << "the toolkit catching up reports nothing";
    ExpectFocusOn(&c);

    // The same request arriving by the toolkit (a click on b).
    b.SetFocus();
    Pump();
    log.clear();
    b.onKill = [&](CWnd*) { a.SetFocus(); };
    FocusIn(&c);
    EXPECT_EQ(log, (Log{"b kill c", "c kill a", "a set c"}));
    Pump(100);
    EXPECT_EQ(log.size(), 3u);
    ExpectFocusOn(&a);
}

TEST_F(FocusTest, AWindowThatTakesTheFocusBackKeepsIt)
{
    a.SetFocus();
    Pump();
    log.clear();
    a.onKill = [&](CWnd*) { a.SetFocus(); }; // e.g. an entry that must be corrected first
    c.SetFocus();
    EXPECT_EQ(log, (Log{"a kill c", "c kill a", "a set c"}));
    Pump(100);
    EXPECT_EQ(log.size(), 3u);
    ExpectFocusOn(&a);
    // Typing still goes to the edit.
    KeyPress(&a, 'X', L'x');
    CString text;
    a.GetWindowText(text);
    EXPECT_EQ(text, CString(L"x"));
}

TEST_F(FocusTest, ANestedRequestForTheOuterTargetEndsThere)
{
    b.SetFocus();
    Pump();
    log.clear();
    // b, losing the focus to a, asks for it to go to a itself: nothing more happens.
    b.onKill = [&](CWnd*) { a.SetFocus(); };
    a.SetFocus();
    EXPECT_EQ(log, (Log{"b kill a", "a set b"}));
    Pump(100);
    EXPECT_EQ(log.size(), 2u);
    ExpectFocusOn(&a);
}

TEST_F(FocusTest, AToolWindowPopUpShownWithoutActivationLeavesTheFocus)
{
    a.SetFocus();
    Pump();
    log.clear();
    // As the grid's title tip is made and shown.
    CFocusProbe tip;
    ASSERT_TRUE(tip.CreateEx(WS_EX_TOOLWINDOW | WS_EX_TOPMOST, AfxRegisterWndClass(0), L"", WS_POPUP | WS_BORDER,
                             CRect(40, 40, 160, 60), &top, 0));
    Name(&tip, "tip");
    tip.SetWindowPos(nullptr, 40, 40, 120, 20, SWP_SHOWWINDOW | SWP_NOACTIVATE);
    EXPECT_TRUE(tip.IsWindowVisible());
    Pump(200);
    EXPECT_TRUE(log.empty()) << log.front();
    ExpectFocusOn(&a);
    EXPECT_EQ(ToolkitActiveWindow(), &top);

    tip.ShowWindow(SW_HIDE);
    tip.ShowWindow(SW_SHOWNA);
    Pump(200);
    tip.ShowWindow(SW_HIDE);
    Pump(100);
    EXPECT_TRUE(log.empty()) << log.front();
    ExpectFocusOn(&a);
    EXPECT_EQ(ToolkitActiveWindow(), &top);
    // A click on the tip takes nothing either.
    Click(&tip, CPoint(5, 5));
    tip.ShowWindow(SW_SHOWNA);
    Click(&tip, CPoint(5, 5));
    Pump(100);
    EXPECT_TRUE(log.empty()) << log.front();
    ExpectFocusOn(&a);
}

TEST_F(FocusTest, APopUpShownWithoutActivationLeavesTheFocusUntilActivated)
{
    a.SetFocus();
    Pump();
    log.clear();
    CFocusProbe pop;
    ASSERT_TRUE(pop.CreateEx(0, AfxRegisterWndClass(0), L"", WS_POPUP | WS_BORDER, CRect(40, 40, 200, 120), &top, 0));
    Name(&pop, "pop");
    pop.ShowWindow(SW_SHOWNA);
    Pump(200);
    EXPECT_TRUE(log.empty()) << log.front();
    ExpectFocusOn(&a);
    EXPECT_EQ(ToolkitActiveWindow(), &top);

    // Shown the ordinary way it is activated, as it is when asked to be.
    pop.ShowWindow(SW_HIDE);
    Pump();
    pop.ShowWindow(SW_SHOW);
    EXPECT_TRUE(PumpUntil([&] { return ToolkitActiveWindow() == &pop; }));
    top.SetActiveWindow();
    EXPECT_TRUE(PumpUntil([&] { return ToolkitActiveWindow() == &top; }));
    pop.SetActiveWindow();
    EXPECT_TRUE(PumpUntil([&] { return ToolkitActiveWindow() == &pop; }));
}

class ComboFocusTest : public FocusTest
{
protected:
    CComboBox combo;
    void SetUp() override
    {
        FocusTest::SetUp();
        ASSERT_TRUE(combo.Create(WS_CHILD | WS_VISIBLE | WS_VSCROLL | CBS_DROPDOWN, CRect(200, 10, 350, 150), &top, 4));
        for (const wchar_t* s : {L"Alpha", L"Beta", L"Gamma"}) combo.AddString(s);
        Name(&combo, "combo");
        if (CWnd* e = combo.GetDlgItem(1001)) Name(e, "combo-edit");
    }
    // Drops the list with the focus in the box, then gives the focus to w.
    void DropThenFocus(CWnd* w)
    {
        combo.SetFocus();
        combo.ShowDropDown(TRUE);
        Pump(50);
        ASSERT_TRUE(combo.GetDroppedState());
        w->SetFocus();
        Pump(50);
        ExpectFocusOn(w);
        log.clear();
    }
};

TEST_F(ComboFocusTest, TheListClosingAfterTheFocusMovedOnLeavesTheNewFocus)
{
    DropThenFocus(&b);
    combo.ShowDropDown(FALSE);
    Pump(200);
    EXPECT_TRUE(log.empty()) << log.front();
    ExpectFocusOn(&b);

    // A native control with the focus is left alone too.
    DropThenFocus(&a);
    combo.ShowDropDown(FALSE);
    Pump(200);
    EXPECT_TRUE(log.empty()) << log.front();
    ExpectFocusOn(&a);
}

TEST_F(ComboFocusTest, TheListClosedAsTheFocusMovesOnLeavesTheNewFocus)
{
    // As an in-place list ends by a key: the list closes, the focus goes on at once.
    for (CWnd* next : {static_cast<CWnd*>(&b), static_cast<CWnd*>(&a)})
    {
        combo.SetFocus();
        combo.ShowDropDown(TRUE);
        Pump(50);
        log.clear();
        combo.ShowDropDown(FALSE);
        next->SetFocus();
        Pump(200);
        EXPECT_EQ(log, Log{NameOf(next) + " set combo-edit"});
        ExpectFocusOn(next);
    }
}

TEST_F(ComboFocusTest, TheBoxGoingWithItsListDroppedLeavesTheNewFocus)
{
    // As an in-place list ends: the focus goes to the next editor, then the box is destroyed.
    DropThenFocus(&a);
    combo.DestroyWindow();
    Pump(200);
    EXPECT_TRUE(log.empty()) << log.front();
    ExpectFocusOn(&a);
}

TEST_F(ComboFocusTest, AListClosedBeforeTheToolkitCaughtUpTakesNothing)
{
    // Dropped and closed again at once: the focus stays in the box.
    combo.SetFocus();
    combo.ShowDropDown(TRUE);
    combo.ShowDropDown(FALSE);
    Pump(200);
    ExpectFocusOn(combo.GetDlgItem(1001));
    EXPECT_EQ(ToolkitActiveWindow(), &top);

    // Dropped, then closed as the focus goes on, and the box destroyed: the new focus stays.
    combo.ShowDropDown(TRUE);
    combo.ShowDropDown(FALSE);
    b.SetFocus();
    combo.DestroyWindow();
    log.clear();
    Pump(200);
    EXPECT_TRUE(log.empty()) << log.front();
    ExpectFocusOn(&b);
    EXPECT_EQ(ToolkitActiveWindow(), &top);
}

TEST_F(ComboFocusTest, ADropDownListBoxClosingLeavesTheNewFocus)
{
    CComboBox list;
    ASSERT_TRUE(list.Create(WS_CHILD | WS_VISIBLE | WS_VSCROLL | CBS_DROPDOWNLIST, CRect(200, 160, 350, 280), &top, 5));
    list.AddString(L"One");
    list.AddString(L"Two");
    list.SetFocus();
    list.ShowDropDown(TRUE);
    Pump(50);
    c.SetFocus();
    Pump(50);
    log.clear();
    list.ShowDropDown(FALSE);
    Pump(200);
    EXPECT_TRUE(log.empty()) << log.front();
    ExpectFocusOn(&c);
}

} // namespace
