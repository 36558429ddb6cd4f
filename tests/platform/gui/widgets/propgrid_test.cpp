// Property grid, pop-up menus and toolbars inside panes: values edited and reported to the
// owner, groups, alphabetical order and the description; a pop-up menu's update handlers and
// the command it sends; a pane's own toolbar and keys.
#include "tests/platform/gui/widgets/ctl_support.h"

#include <gtest/gtest.h>

using namespace qor::test;

namespace {

constexpr UINT kCmdA = 32001, kCmdB = 32002;

class COwner : public CWnd
{
public:
    std::vector<DWORD_PTR> changed;
    std::vector<UINT> commands;
    BOOL enableB = FALSE;
    BOOL CreateTop()
    {
        return CreateEx(0, AfxRegisterWndClass(0), L"owner", WS_OVERLAPPEDWINDOW | WS_VISIBLE, CRect(0, 0, 300, 400),
                        nullptr, 0);
    }

protected:
    LRESULT OnChanged(WPARAM, LPARAM lParam)
    {
        changed.push_back(reinterpret_cast<CMFCPropertyGridProperty*>(lParam)->GetData());
        return 0;
    }
    void OnA() { commands.push_back(kCmdA); }
    void OnB() { commands.push_back(kCmdB); }
    void OnUpdateB(CCmdUI* pCmdUI) { pCmdUI->Enable(enableB); }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(COwner, CWnd)
ON_REGISTERED_MESSAGE(AFX_WM_PROPERTY_CHANGED, OnChanged)
ON_COMMAND(kCmdA, OnA)
ON_COMMAND(kCmdB, OnB)
ON_UPDATE_COMMAND_UI(kCmdB, OnUpdateB)
END_MESSAGE_MAP()

const MenuItemDef kPopup[] = {
    {MF_POPUP, 0, L"Context"},
    {MF_STRING, kCmdA, L"&Alpha"},
    {MF_SEPARATOR},
    {MF_POPUP, 0, L"&More"},
    {MF_STRING, kCmdB, L"&Beta"},
    {MF_END},
    {MF_END},
};
QOR_MENU_RESOURCE(31999, kPopup);

TEST(PropertyGridTest, EditsGroupsOrderAndDescription)
{
    COwner owner;
    ASSERT_TRUE(owner.CreateTop());
    CMFCPropertyGridCtrl grid;
    ASSERT_TRUE(grid.Create(WS_VISIBLE, CRect(0, 0, 280, 380), &owner, 2));
    grid.EnableDescriptionArea();
    grid.MarkModifiedProperties();
    auto* general = new CMFCPropertyGridProperty(L"General");
    auto* count = new CMFCPropertyGridProperty(L"Points", COleVariant(static_cast<unsigned long>(30)),
                                               L"How many\t\tpoints", 1100);
    auto* flag = new CMFCPropertyGridProperty(L"Binary", COleVariant(true), L"Binary files", 1001);
    auto* step = new CMFCPropertyGridProperty(L"Step", COleVariant(1.5), L"Step size", 1020);
    auto* colour = new CMFCPropertyGridColorProperty(L"Background", RGB(255, 255, 255), nullptr, L"Colour", 1300);
    colour->EnableOtherButton(L"Other...");
    general->AddSubItem(count);
    general->AddSubItem(flag);
    general->AddSubItem(step);
    general->AddSubItem(colour);
    grid.AddProperty(general);
    EXPECT_EQ(grid.FindItemByData(1020), step);
    EXPECT_EQ(grid.FindItemByData(77), nullptr);

    // Values beyond 16 bits are whole integers; text that is no value is not taken.
    EXPECT_TRUE(grid.EditValue(count, L"70000"));
    EXPECT_EQ(count->GetValue().AsInteger(), 70000);
    EXPECT_TRUE(grid.IsShownBold(count));
    EXPECT_FALSE(grid.EditValue(count, L"12x"));
    EXPECT_FALSE(grid.EditValue(count, L"-1")) << "an unsigned value";
    EXPECT_EQ(count->GetValue().AsInteger(), 70000);
    EXPECT_TRUE(grid.EditValue(flag, L"False"));
    EXPECT_EQ(flag->GetValue().boolVal, VARIANT_FALSE);
    EXPECT_TRUE(grid.EditValue(step, L"0.25"));
    EXPECT_DOUBLE_EQ(step->GetValue().dblVal, 0.25);
    colour->OnColorChosen(RGB(1, 2, 3));
    EXPECT_EQ(colour->GetColor(), RGB(1, 2, 3));
    EXPECT_EQ(owner.changed, (std::vector<DWORD_PTR>{1100, 1001, 1020, 1300}));

    grid.SetCurSel(count);
    EXPECT_EQ(grid.GetDescriptionText(), CString(L"Points\nHow many points"));
    grid.ExpandAll(FALSE);
    EXPECT_FALSE(general->IsExpanded());
    grid.SetAlphabeticMode(TRUE);
    EXPECT_TRUE(grid.IsAlphabeticMode());
    grid.RemoveAll();
    EXPECT_EQ(grid.GetPropertyCount(), 0);
    EXPECT_EQ(grid.GetCurSel(), nullptr);
}

TEST(PopupMenuTest, UpdateHandlersAndChoice)
{
    COwner owner;
    ASSERT_TRUE(owner.CreateTop());
    std::vector<qor::gui::PopupMenuRow> seen;
    UINT answer = kCmdB;
    auto previous = qor::gui::SetPopupMenuDriver([&](const std::vector<qor::gui::PopupMenuRow>& rows, CPoint) {
        seen = rows;
        return answer;
    });
    CMenu menu;
    ASSERT_TRUE(menu.LoadMenu(31999));
    CMenu* popup = menu.GetSubMenu(0);
    ASSERT_NE(popup, nullptr);
    EXPECT_EQ(popup->GetMenuItemCount(), 3);
    EXPECT_EQ(popup->GetMenuItemID(0), kCmdA);
    // Beta is greyed by its update handler: choosing it does nothing.
    EXPECT_FALSE(popup->TrackPopupMenu(TPM_RIGHTBUTTON, 10, 10, &owner));
    ASSERT_EQ(seen.size(), 4u);
    EXPECT_EQ(seen[3].id, kCmdB);
    EXPECT_EQ(seen[3].depth, 1);
    EXPECT_FALSE(seen[3].enabled);
    owner.enableB = TRUE;
    EXPECT_TRUE(popup->TrackPopupMenu(TPM_RIGHTBUTTON, 10, 10, &owner));
    answer = kCmdA;
    EXPECT_TRUE(afxContextMenuManager->ShowPopupMenu(31999, 5, 5, &owner, TRUE));
    EXPECT_EQ(owner.commands, (std::vector<UINT>{kCmdB, kCmdA}));
    qor::gui::SetPopupMenuDriver(previous);
}

} // namespace
