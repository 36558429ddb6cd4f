// Toolbar customisation in the main frame: commands dragged onto toolbars and buttons dragged off them,
// the user's own toolbars, all kept across a restart; a damaged or foreign kept entry is passed over.
#include "app_support.h"

#include "app/MainFrame.h"
#include "platform/test/DialogTest.h"
#include "platform/test/FrameTest.h"
#include "platform/test/GuiTest.h"
#include "res/Resource.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace fs = std::filesystem;
using namespace qor::test;

namespace {

class MainFrameCustomize : public FreshProfileTest
{
protected:
    static CMFCToolBar* Bar(UINT id) { return DYNAMIC_DOWNCAST(CMFCToolBar, Frame()->GetPane(id)); }
    static std::vector<UINT> Buttons(CMFCToolBar* bar)
    {
        std::vector<UINT> ids;
        for (int i = 0; bar && i < bar->GetCount(); ++i) ids.push_back(bar->GetItemID(i));
        return ids;
    }
    // A point on the left edge of a button (what goes there lands before it).
    static CPoint Before(CMFCToolBar* bar, int nIndex)
    {
        const CRect r = ToolBarButtonScreenRect(bar, nIndex);
        return CPoint(r.left, r.CenterPoint().y);
    }
    // The user's toolbar of Moving Load, Options and About: each button named (label and tip), About with
    // its picture.
    static void ExpectNamedButtons(CMFCToolBar* mine)
    {
        const wchar_t* names[] = {L"Moving Load", L"Options", L"About"};
        ASSERT_EQ(mine->GetCount(), 3);
        for (int i = 0; i < 3; ++i)
        {
            const ShownToolBarButton shown = ShownButton(mine, i);
            EXPECT_EQ(shown.label, CString(names[i])) << i;
            EXPECT_EQ(shown.tip, CString(names[i])) << i;
        }
        EXPECT_TRUE(ShownButton(mine, 2).picture);
    }
    static CPoint OverCaseArea() { return Frame()->GetMDITabGroupRect(0).CenterPoint(); }
    static CMFCToolBarsCustomizeDialog* OpenCustomize(CMFCToolBar* from)
    {
        EXPECT_TRUE(ClickCustomizeButton(from));
        return CMFCToolBarsCustomizeDialog::GetOpen();
    }
    static int ListedIndex(CMFCToolBarsCustomizeDialog* dlg, CMFCToolBar* bar)
    {
        const auto& bars = dlg->GetListedToolBars();
        const auto it = std::find(bars.begin(), bars.end(), bar);
        return it == bars.end() ? -1 : static_cast<int>(it - bars.begin());
    }
    static void SelectListedToolBar(CMFCToolBarsCustomizeDialog* dlg, CMFCToolBar* bar)
    {
        auto* list = DYNAMIC_DOWNCAST(CListBox, dlg->GetDlgItem(CMFCToolBarsCustomizeDialog::IDC_TOOLBARS));
        ASSERT_NE(list, nullptr);
        list->SetCurSel(ListedIndex(dlg, bar));
        dlg->SendMessage(WM_COMMAND, MAKEWPARAM(CMFCToolBarsCustomizeDialog::IDC_TOOLBARS, LBN_SELCHANGE),
                         reinterpret_cast<LPARAM>(list->m_hWnd));
    }
};

// The kept entry's form, as the frame writes it: mark, version, bars (id, user-made, name, buttons).
std::string KeptEntry(uint32_t userId, const std::u16string& name, std::vector<uint32_t> buttons, bool cut = false)
{
    std::string bytes;
    auto put = [&bytes](uint32_t v) {
        for (int shift = 24; shift >= 0; shift -= 8) bytes.push_back(static_cast<char>((v >> shift) & 0xFF));
    };
    put(0x51544253);
    put(1);
    put(1);
    put(userId);
    bytes.push_back(1);
    put(static_cast<uint32_t>(name.size() * 2));
    for (char16_t c : name)
    {
        bytes.push_back(static_cast<char>(c >> 8));
        bytes.push_back(static_cast<char>(c & 0xFF));
    }
    put(static_cast<uint32_t>(buttons.size()));
    for (uint32_t id : buttons)
    {
        put(id);
        put(0xFFFFFFFF);
    }
    if (cut) bytes.resize(bytes.size() - 3);
    static const char kDigits[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    std::string text;
    for (size_t i = 0; i < bytes.size(); i += 3)
    {
        uint32_t n = static_cast<uint8_t>(bytes[i]) << 16;
        if (i + 1 < bytes.size()) n |= static_cast<uint8_t>(bytes[i + 1]) << 8;
        if (i + 2 < bytes.size()) n |= static_cast<uint8_t>(bytes[i + 2]);
        text += kDigits[(n >> 18) & 63];
        text += kDigits[(n >> 12) & 63];
        text += i + 1 < bytes.size() ? kDigits[(n >> 6) & 63] : '=';
        text += i + 2 < bytes.size() ? kDigits[n & 63] : '=';
    }
    return text;
}

} // namespace

TEST_F(MainFrameCustomize, ToolbarsCustomisedAndMadeByTheUserAreBackAtTheNextStart)
{
    std::vector<UINT> standard, insert;
    {
        CQORApp app;
        ASSERT_TRUE(StartApplication(app));
        Pump();
        CMFCToolBar* standardBar = Bar(AFX_IDW_TOOLBAR);
        CMFCToolBar* ins = Bar(IDR_INSERT_TOOLBAR);
        ASSERT_NE(standardBar, nullptr);
        ASSERT_NE(ins, nullptr);
        EXPECT_EQ(standardBar->GetCustomizeCommand(), static_cast<UINT>(ID_VIEW_CUSTOMIZE));
        const std::vector<UINT> originalStandard = Buttons(standardBar);

        // The toolbar's Customize... button opens the dialog; the commands come by menu.
        CMFCToolBarsCustomizeDialog* dlg = OpenCustomize(ins);
        ASSERT_NE(dlg, nullptr);
        EXPECT_TRUE(CMFCToolBar::IsCustomizeMode());
        // One dialog at a time: the command again brings the open one forward.
        SendMenuCommand(ID_VIEW_CUSTOMIZE);
        Pump();
        EXPECT_EQ(CMFCToolBarsCustomizeDialog::GetOpen(), dlg);
        const auto& categories = dlg->GetCategories();
        const auto tools = std::find(categories.begin(), categories.end(), CString(L"Tools"));
        ASSERT_NE(tools, categories.end());
        EXPECT_NE(std::find(categories.begin(), categories.end(), CString(L"Analysis")), categories.end())
            << "the case's menus are scanned too";
        auto* categoryList = DYNAMIC_DOWNCAST(CListBox, dlg->GetDlgItem(CMFCToolBarsCustomizeDialog::IDC_CATEGORIES));
        ASSERT_NE(categoryList, nullptr);
        categoryList->SetCurSel(static_cast<int>(tools - categories.begin()));
        dlg->SendMessage(WM_COMMAND, MAKEWPARAM(CMFCToolBarsCustomizeDialog::IDC_CATEGORIES, LBN_SELCHANGE),
                         reinterpret_cast<LPARAM>(categoryList->m_hWnd));
        const auto& listed = dlg->GetListedCommands();
        ASSERT_NE(std::find(listed.begin(), listed.end(), static_cast<UINT>(ID_TOOLS_OPTIONS)), listed.end());

        // Options dragged onto the Insert toolbar, before its second button.
        ASSERT_TRUE(dlg->DropCommand(ID_TOOLS_OPTIONS, Before(ins, 1)));
        Pump();
        ASSERT_EQ(ins->GetItemID(1), static_cast<UINT>(ID_TOOLS_OPTIONS));
        // Let go over the case area, a command goes nowhere.
        EXPECT_FALSE(dlg->DropCommand(ID_APP_ABOUT, OverCaseArea()));

        // While customising, a button dragged off a toolbar goes; one dragged along it moves.
        ASSERT_TRUE(ins->DropButton(0, OverCaseArea()));
        Pump();
        EXPECT_EQ(ins->GetItemID(0), static_cast<UINT>(ID_TOOLS_OPTIONS));
        EXPECT_TRUE(ins->IsChanged());

        // Toolbars page: a toolbar of the user's own, named by the user, with the customise button.
        dlg->SetActivePage(CMFCToolBarsCustomizeDialog::ToolbarsPage);
        {
            DrivenDialogs dialogs;
            dialogs.ThenAs<CToolbarNameDlg>([](CToolbarNameDlg& name) {
                name.SetDlgItemText(CToolbarNameDlg::IDC_TOOLBAR_NAME, L"Bridge Work");
                PressOK(name);
            });
            ASSERT_TRUE(PressButton(*dlg, CMFCToolBarsCustomizeDialog::IDC_TOOLBAR_NEW));
            EXPECT_EQ(dialogs.Pending(), 0u);
        }
        Pump();
        CMFCToolBar* mine = Frame()->GetUserToolBarByIndex(0);
        ASSERT_NE(mine, nullptr);
        EXPECT_EQ(mine->GetDlgCtrlID(), 0xE828);
        EXPECT_TRUE(mine->IsUserDefined());
        EXPECT_EQ(mine->GetCustomizeCommand(), static_cast<UINT>(ID_VIEW_CUSTOMIZE));
        EXPECT_GE(ListedIndex(dlg, mine), 0);
        CString name;
        mine->GetWindowText(name);
        EXPECT_EQ(name, CString(L"Bridge Work"));
        // Only the user's toolbars are renamed or deleted; only the program's are reset.
        SelectListedToolBar(dlg, standardBar);
        EXPECT_FALSE(PressButton(*dlg, CMFCToolBarsCustomizeDialog::IDC_TOOLBAR_DELETE));
        SelectListedToolBar(dlg, mine);
        EXPECT_FALSE(PressButton(*dlg, CMFCToolBarsCustomizeDialog::IDC_TOOLBAR_RESET));

        // A command onto the new toolbar, empty but for its customise button.
        Pump();
        ASSERT_TRUE(dlg->DropCommand(ID_APP_ABOUT, ToolBarScreenRect(mine).CenterPoint()));
        ASSERT_TRUE(dlg->DropCommand(ID_TOOLS_OPTIONS, Before(mine, 0)));
        // A command without a string of its own is named as its menu item, never by its number.
        Pump();
        ASSERT_TRUE(dlg->DropCommand(ID_ANALYSIS_MOVING_LOAD, Before(mine, 0)));
        ExpectNamedButtons(mine);
        // Let go where it was, a button stays.
        ASSERT_TRUE(ins->DropButton(0, ToolBarButtonScreenRect(ins, 0).CenterPoint()));
        EXPECT_EQ(ins->GetItemID(0), static_cast<UINT>(ID_TOOLS_OPTIONS));
        PressCancel(*dlg);
        Pump();
        EXPECT_EQ(CMFCToolBarsCustomizeDialog::GetOpen(), nullptr);
        EXPECT_FALSE(CMFCToolBar::IsCustomizeMode());

        // Alt+drag without the dialog: a button moves from the Standard bar to the user's, another goes.
        const UINT moved = standardBar->GetItemID(0);
        const int before = standardBar->GetCount();
        AltDragToolBarButton(standardBar, 0, Before(ins, 0));
        EXPECT_EQ(ins->GetItemID(0), moved);
        EXPECT_EQ(standardBar->GetCount(), before - 1);
        AltDragToolBarButton(ins, 0, OverCaseArea());
        const std::vector<UINT> left = Buttons(ins);
        EXPECT_EQ(std::count(left.begin(), left.end(), moved), 0);
        ASSERT_EQ(Buttons(mine), (std::vector<UINT>{ID_ANALYSIS_MOVING_LOAD, ID_TOOLS_OPTIONS, ID_APP_ABOUT}));
        standard = Buttons(standardBar);
        insert = Buttons(ins);
        EXPECT_NE(standard, originalStandard);
        StopApplication(app);
    }
    {
        CQORApp app;
        ASSERT_TRUE(StartApplication(app));
        Pump();
        EXPECT_EQ(Buttons(Bar(AFX_IDW_TOOLBAR)), standard);
        EXPECT_EQ(Buttons(Bar(IDR_INSERT_TOOLBAR)), insert);
        CMFCToolBar* mine = Frame()->GetUserToolBarByIndex(0);
        ASSERT_NE(mine, nullptr);
        CString name;
        mine->GetWindowText(name);
        EXPECT_EQ(name, CString(L"Bridge Work"));
        EXPECT_EQ(Buttons(mine), (std::vector<UINT>{ID_ANALYSIS_MOVING_LOAD, ID_TOOLS_OPTIONS, ID_APP_ABOUT}));
        ExpectNamedButtons(mine);
        EXPECT_EQ(mine->GetCustomizeCommand(), static_cast<UINT>(ID_VIEW_CUSTOMIZE));
        EXPECT_TRUE(mine->IsVisible());

        // From the pane menu's Customize...: the Standard bar reset, the user's toolbar deleted.
        SendMenuCommand(ID_VIEW_CUSTOMIZE);
        Pump();
        CMFCToolBarsCustomizeDialog* dlg = CMFCToolBarsCustomizeDialog::GetOpen();
        ASSERT_NE(dlg, nullptr);
        dlg->SetActivePage(CMFCToolBarsCustomizeDialog::ToolbarsPage);
        SelectListedToolBar(dlg, Bar(AFX_IDW_TOOLBAR));
        ASSERT_TRUE(PressButton(*dlg, CMFCToolBarsCustomizeDialog::IDC_TOOLBAR_RESET));
        EXPECT_FALSE(Bar(AFX_IDW_TOOLBAR)->IsChanged());
        SelectListedToolBar(dlg, mine);
        ASSERT_TRUE(PressButton(*dlg, CMFCToolBarsCustomizeDialog::IDC_TOOLBAR_DELETE));
        Pump();
        EXPECT_EQ(Frame()->GetUserToolBarByIndex(0), nullptr);
        EXPECT_EQ(Frame()->GetPane(0xE828), nullptr);
        // Ending the program closes the dialog with the frame.
        StopApplication(app);
        EXPECT_EQ(CMFCToolBarsCustomizeDialog::GetOpen(), nullptr);
    }
    CQORApp app;
    ASSERT_TRUE(StartApplication(app));
    Pump();
    EXPECT_FALSE(Bar(AFX_IDW_TOOLBAR)->IsChanged());
    EXPECT_EQ(Buttons(Bar(IDR_INSERT_TOOLBAR)), insert);
    EXPECT_EQ(Frame()->GetUserToolBarByIndex(0), nullptr);
    StopApplication(app);
}

TEST_F(MainFrameCustomize, ADamagedOrForeignKeptToolbarEntryIsPassedOver)
{
    const std::string good = KeptEntry(0xE829, u"Mine", {ID_APP_ABOUT});
    const std::string entries[] = {
        "not base64 at all!",
        "AAAAAAAAAAAAAAAA",
        KeptEntry(0xE829, u"Mine", {ID_APP_ABOUT}, true), // cut short
        KeptEntry(0x1234, u"Mine", {ID_APP_ABOUT}),       // not an id of the user's toolbars
        KeptEntry(0xE829, u"", {ID_APP_ABOUT}),           // no name
    };
    size_t resourceButtons = 0;
    for (const std::string& entry : entries)
    {
        {
            CQORApp app;
            ASSERT_TRUE(StartApplication(app));
            resourceButtons = Buttons(Bar(AFX_IDW_TOOLBAR)).size();
            StopApplication(app);
            app.WriteProfileString(L"Workspace", L"ToolBars", CString(entry.c_str()));
        }
        CQORApp app;
        ASSERT_TRUE(StartApplication(app)) << "with " << entry;
        EXPECT_EQ(Frame()->GetUserToolBarByIndex(0), nullptr) << "with " << entry;
        EXPECT_EQ(Buttons(Bar(AFX_IDW_TOOLBAR)).size(), resourceButtons);
        StopApplication(app);
    }
    // The same form, whole and of this program, is read.
    {
        CQORApp app;
        ASSERT_TRUE(StartApplication(app));
        StopApplication(app);
        app.WriteProfileString(L"Workspace", L"ToolBars", CString(good.c_str()));
    }
    CQORApp app;
    ASSERT_TRUE(StartApplication(app));
    ASSERT_NE(Frame()->GetUserToolBarByIndex(0), nullptr);
    EXPECT_EQ(Frame()->GetUserToolBarByIndex(0)->GetDlgCtrlID(), 0xE829);
    EXPECT_EQ(Buttons(Frame()->GetUserToolBarByIndex(0)), std::vector<UINT>{ID_APP_ABOUT});
    StopApplication(app);
}
