// The main frame's Window menu: New Window opens another window on the case, and the windows-manager
// dialog lists the open windows, activates one and closes others.
#include "app_support.h"

#include "app/MainFrame.h"
#include "app/QORDoc.h"
#include "platform/gui/print/PrintPreviewWnd.h"
#include "platform/gui/widgets/ToolBarImages.h"
#include "platform/test/DialogTest.h"
#include "platform/test/FrameTest.h"
#include "platform/test/GuiTest.h"
#include "res/Resource.h"
#include "ui/views/GridView.h"
#include "ui/views/PlotView.h"
#include "ui/views/QORView.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <functional>
#include <string>
#include <utility>
#include <vector>

using namespace qor::test;

namespace {

using MainFrameWindows = RunningCase;

CMainFrame* Frame() { return DYNAMIC_DOWNCAST(CMainFrame, AfxGetMainWnd()); }

std::vector<CView*> ViewsOf(CDocument* doc)
{
    std::vector<CView*> views;
    for (POSITION pos = doc->GetFirstViewPosition(); pos;) views.push_back(doc->GetNextView(pos));
    return views;
}

// Selects the list's lines as a user's click does (the list tells the dialog).
void SelectLines(CWnd& dlg, std::initializer_list<int> lines)
{
    auto* list = dynamic_cast<CListBox*>(FindControl(dlg, CMFCWindowsManagerDialog::IDC_WINDOWS_LIST));
    ASSERT_NE(list, nullptr);
    for (int i = 0; i < list->GetCount(); ++i) list->SetSel(i, FALSE);
    for (int line : lines) list->SetSel(line, TRUE);
    dlg.SendMessage(WM_COMMAND, MAKEWPARAM(CMFCWindowsManagerDialog::IDC_WINDOWS_LIST, LBN_SELCHANGE),
                    reinterpret_cast<LPARAM>(list->m_hWnd));
}

} // namespace

TEST_F(MainFrameWindows, NewWindowOpensASecondWindowOnTheCase)
{
    CMDIChildWnd* first = Frame()->MDIGetActive();
    ASSERT_NE(first, nullptr);
    BOOL shown = FALSE, enabled = FALSE;
    Frame()->UpdateMenuPopup(0);
    ASSERT_TRUE(Frame()->ClickMenuItem(ID_WINDOW_NEW));
    Pump();
    CMDIChildWnd* second = Frame()->MDIGetActive();
    ASSERT_NE(second, first);
    EXPECT_EQ(second->GetActiveDocument(), doc);
    EXPECT_TRUE(second->GetActiveView()->IsKindOf(RUNTIME_CLASS(CQORView)));
    EXPECT_EQ(ViewsOf(doc).size(), 2u);
    // The two are told apart as the framework numbers a document's windows, on their captions and tabs.
    const CString name = doc->GetTitle();
    auto caption = [](CWnd* wnd) {
        CString text;
        wnd->GetWindowText(text);
        return text;
    };
    EXPECT_EQ(caption(first), name + L":1");
    EXPECT_EQ(caption(second), name + L":2");
    EXPECT_EQ(MDITabText(Frame(), first), name + L":1");
    EXPECT_EQ(MDITabText(Frame(), second), name + L":2");
    // A result window of the case is not one of them.
    CView* plot = doc->OpenPlotView(L"Plot", 1, 1);
    ASSERT_NE(plot, nullptr);
    Pump();
    EXPECT_EQ(caption(first), name + L":1");
    plot->GetParentFrame()->SendMessage(WM_CLOSE, 0, 0);
    Pump();
    // Closing one of the two leaves the case open in the other, which has the case's plain name again.
    second->SendMessage(WM_CLOSE, 0, 0);
    Pump();
    EXPECT_EQ(CQORDoc::GetActiveDoc(), doc);
    EXPECT_EQ(Frame()->MDIGetActive(), first);
    EXPECT_EQ(caption(first), name);
    EXPECT_EQ(MDITabText(Frame(), first), name);
    // The Window menu lists what works here: New Window, the tab commands and the windows manager.
    ASSERT_TRUE(Frame()->GetMenuItemState(ID_WINDOW_MANAGER, &enabled, nullptr, nullptr, &shown));
    EXPECT_TRUE(shown);
    EXPECT_FALSE(Frame()->GetMenuItemState(ID_WINDOW_CASCADE, &enabled));
    EXPECT_FALSE(Frame()->GetMenuItemState(ID_WINDOW_TILE_HORZ, &enabled));
}

TEST_F(MainFrameWindows, WindowsDialogActivatesOneWindowAndClosesOthers)
{
    CMDIChildWnd* caseWindow = Frame()->MDIGetActive();
    CPlotView* plot = doc->OpenPlotView(L"MLA Envelopes - Plot", 2, 1);
    CGridView* grid = doc->OpenGridView(L"MLA Envelopes - Grid");
    ASSERT_TRUE(plot && grid);
    Pump();
    ASSERT_EQ(Frame()->MDIGetActive(), grid->GetParentFrame());

    DrivenDialogs dialogs;
    dialogs.ThenAs<CMFCWindowsManagerDialog>([&](CMFCWindowsManagerDialog& dlg) {
        ASSERT_EQ(dlg.Listed().size(), 3u);
        EXPECT_EQ(dlg.Listed()[0], caseWindow);
        auto* list = dynamic_cast<CListBox*>(FindControl(dlg, CMFCWindowsManagerDialog::IDC_WINDOWS_LIST));
        ASSERT_NE(list, nullptr);
        CString text;
        list->GetText(2, text);
        EXPECT_EQ(text, CString(L"2 - MLA Envelopes - Grid"));
        EXPECT_GT(list->GetSel(2), 0) << "the active window comes selected";
        EXPECT_EQ(FindControl(dlg, 9 /* the help button */), nullptr);
        SelectLines(dlg, {0});
        EXPECT_TRUE(PressButton(dlg, CMFCWindowsManagerDialog::IDC_WINDOWS_ACTIVATE));
    });
    ASSERT_TRUE(Frame()->ClickMenuItem(ID_WINDOW_MANAGER));
    Pump();
    EXPECT_EQ(Frame()->MDIGetActive(), caseWindow);

    dialogs.ThenAs<CMFCWindowsManagerDialog>([&](CMFCWindowsManagerDialog& dlg) {
        SelectLines(dlg, {1, 2});
        EXPECT_FALSE(PressButton(dlg, CMFCWindowsManagerDialog::IDC_WINDOWS_ACTIVATE)) << "one window is activated";
        EXPECT_TRUE(PressButton(dlg, CMFCWindowsManagerDialog::IDC_WINDOWS_CLOSE));
        EXPECT_EQ(dlg.Listed().size(), 1u);
        EXPECT_TRUE(PressOK(dlg));
    });
    ASSERT_TRUE(Frame()->ClickMenuItem(ID_WINDOW_MANAGER));
    Pump();
    EXPECT_EQ(dialogs.Pending(), 0u);
    EXPECT_EQ(Frame()->GetMDIChildren().size(), 1u);
    EXPECT_EQ(CQORDoc::GetActiveDoc(), doc);
}

namespace {

// The ids a pop-up menu offers, answered with one of them (0: none).
struct OfferedMenu
{
    std::vector<UINT> ids;
    qor::gui::PopupMenuDriver previous;
    explicit OfferedMenu(UINT answer)
    {
        previous =
            qor::gui::SetPopupMenuDriver([this, answer](const std::vector<qor::gui::PopupMenuRow>& rows, CPoint) {
                ids.clear();
                for (const auto& row : rows)
                    if (!row.separator) ids.push_back(row.id);
                return answer;
            });
    }
    ~OfferedMenu() { qor::gui::SetPopupMenuDriver(previous); }
};

} // namespace

TEST_F(MainFrameWindows, TabsGoIntoTwoGroupsAndBack)
{
    CMDIChildWnd* caseWindow = Frame()->MDIGetActive();
    CPlotView* plot = doc->OpenPlotView(L"MLA Envelopes - Plot", 2, 1);
    CGridView* grid = doc->OpenGridView(L"MLA Envelopes - Grid");
    ASSERT_TRUE(plot && grid);
    auto* plotWindow = DYNAMIC_DOWNCAST(CMDIChildWnd, plot->GetParentFrame());
    auto* gridWindow = DYNAMIC_DOWNCAST(CMDIChildWnd, grid->GetParentFrame());
    Pump();
    ASSERT_EQ(Frame()->GetMDITabGroupCount(), 1);

    // The grid's tab menu: new groups, no moves; a new vertical group takes the grid beside the others.
    {
        OfferedMenu menu(ID_MDI_NEW_VERT_GROUP);
        Frame()->RightClickMDITab(2);
        Pump();
        EXPECT_EQ(menu.ids, (std::vector<UINT>{ID_FILE_SAVE, ID_FILE_CLOSE, ID_CLOSE_TAB, ID_CLOSE_ALL_TABS,
                                               ID_MDI_NEW_HORZ_TAB_GROUP, ID_MDI_NEW_VERT_GROUP}));
    }
    ASSERT_EQ(Frame()->GetMDITabGroupCount(), 2);
    EXPECT_TRUE(Frame()->IsMDITabGroupVertical());
    EXPECT_EQ(Frame()->GetMDITabGroupWindows(0), (std::vector<CMDIChildWnd*>{caseWindow, plotWindow}));
    EXPECT_EQ(Frame()->GetMDITabGroupWindows(1), (std::vector<CMDIChildWnd*>{gridWindow}));
    EXPECT_EQ(Frame()->MDIGetActive(), gridWindow);
    // Side by side, each with its part of the area.
    const CRect first = Frame()->GetMDITabGroupRect(0), second = Frame()->GetMDITabGroupRect(1);
    EXPECT_LE(first.right, second.left);
    EXPECT_EQ(first.top, second.top);
    EXPECT_NEAR(first.Width(), second.Width(), 8);
    CRect gridArea;
    gridWindow->GetClientRect(&gridArea);
    EXPECT_LE(gridArea.Width(), second.Width());
    EXPECT_GT(gridArea.Width(), second.Width() / 2);

    // The lone grid cannot make a group of its own, only go back; a horizontal group is not offered
    // beside vertical ones.
    {
        OfferedMenu menu(0);
        Frame()->RightClickMDITab(0, 1);
        EXPECT_EQ(menu.ids, (std::vector<UINT>{ID_FILE_SAVE, ID_FILE_CLOSE, ID_CLOSE_TAB, ID_CLOSE_ALL_TABS,
                                               ID_MDI_MOVE_TO_PREV_GROUP}));
    }
    // The plot moves to the next group by the menu command.
    plotWindow->MDIActivate();
    SendMenuCommand(ID_MDI_MOVE_TO_NEXT_GROUP);
    Pump();
    EXPECT_EQ(Frame()->GetMDITabGroupWindows(1), (std::vector<CMDIChildWnd*>{gridWindow, plotWindow}));
    EXPECT_EQ(Frame()->MDIGetActive(), plotWindow);

    // A tab let go inside its own group asks with the dropped-tab menu; Cancel leaves it.
    {
        OfferedMenu menu(ID_MDI_CANCEL);
        Frame()->DropMDITab(1, 1, Frame()->GetMDITabGroupRect(1).CenterPoint());
        Pump();
        EXPECT_EQ(menu.ids, (std::vector<UINT>{ID_MDI_NEW_VERT_GROUP, ID_MDI_MOVE_TO_PREV_GROUP, ID_MDI_CANCEL}));
    }
    EXPECT_EQ(Frame()->GetMDITabGroupCount(), 2);
    // Dragged onto the first group, the plot goes there.
    Frame()->DropMDITab(1, 1, Frame()->GetMDITabGroupRect(0).CenterPoint());
    Pump();
    EXPECT_EQ(Frame()->GetMDITabGroupOf(plotWindow), 0);
    // The grid back too: its group, emptied, goes, and the tabs fill the area again.
    gridWindow->MDIActivate();
    SendMenuCommand(ID_MDI_MOVE_TO_PREV_GROUP);
    Pump();
    EXPECT_EQ(Frame()->GetMDITabGroupCount(), 1);
    EXPECT_EQ(Frame()->GetMDITabGroupWindows(0), (std::vector<CMDIChildWnd*>{caseWindow, plotWindow, gridWindow}));
    EXPECT_EQ(Frame()->MDIGetActive(), gridWindow);

    // A group emptied by closing its last window goes as well.
    SendMenuCommand(ID_MDI_NEW_HORZ_TAB_GROUP);
    Pump();
    ASSERT_EQ(Frame()->GetMDITabGroupCount(), 2);
    EXPECT_FALSE(Frame()->IsMDITabGroupVertical());
    gridWindow->SendMessage(WM_CLOSE, 0, 0);
    Pump();
    EXPECT_EQ(Frame()->GetMDITabGroupCount(), 1);
}

TEST_F(MainFrameWindows, MenuItemsShowTheirToolbarPicturesSharpAtTheScreensRatio)
{
    // File > New: the picture of the Standard toolbar's New button, pixel for pixel, and at twice the
    // pixels on a screen of ratio 2 (each picture pixel a 2 x 2 block, not smoothed).
    const ToolBarImageDef* picture = qor::gui::FindToolBarImage(ID_FILE_NEW);
    ASSERT_NE(picture, nullptr);
    int compared = 0;
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 16; ++x)
        {
            const DWORD rgb = qor::gui::ToolBarImageColour(picture->rows[y][x]);
            if (rgb == 0xFFFFFFFFu) continue;
            const COLORREF expected = RGB((rgb >> 16) & 0xFF, (rgb >> 8) & 0xFF, rgb & 0xFF);
            EXPECT_EQ(MenuItemPicturePixel(Frame(), ID_FILE_NEW, x, y), expected) << x << "," << y;
            EXPECT_EQ(MenuItemPicturePixel(Frame(), ID_FILE_NEW, 2 * x + 1, 2 * y + 1, 2.0), expected);
            ++compared;
        }
    EXPECT_GT(compared, 20);
    // A command without a picture shows none.
    EXPECT_EQ(MenuItemPicturePixel(Frame(), ID_TOOLS_OPTIONS, 8, 8), 0xFFFFFFFFu);
}

TEST_F(MainFrameWindows, APaneBecomesATabbedDocumentAndDocksAgain)
{
    COutputWnd& output = Frame()->GetOutputWnd();
    CRect docked;
    output.GetClientRect(&docked);
    {
        OfferedMenu menu(ID_AFXBARRES_TABBED);
        output.ShowPaneMenu(CPoint(400, 700));
        Pump();
        EXPECT_EQ(menu.ids, (std::vector<UINT>{ID_AFXBARRES_FLOATING, ID_AFXBARRES_DOCKING, ID_AFXBARRES_TABBED,
                                               ID_AFXBARRES_AUTOHIDE, ID_AFXBARRES_HIDE}));
    }
    ASSERT_TRUE(output.IsTabbedDocument());
    EXPECT_TRUE(output.IsVisible());
    // The log fills the tab, wider than its dock at the bottom was tall.
    CRect tab;
    PumpUntil([&] {
        output.GetClientRect(&tab);
        return tab.Height() > docked.Height();
    });
    EXPECT_GT(tab.Height(), docked.Height());
    // Its tab's menu is the pane's: Docking takes it back to the bottom.
    {
        OfferedMenu menu(ID_AFXBARRES_DOCKING);
        Frame()->RightClickMDITab(1);
        Pump();
        EXPECT_EQ(menu.ids.size(), 5u);
    }
    EXPECT_FALSE(output.IsTabbedDocument());
    EXPECT_TRUE(output.IsVisible());
    EXPECT_EQ(output.GetCurrentAlignment(), static_cast<DWORD>(CBRS_ALIGN_BOTTOM));
    EXPECT_EQ(Frame()->GetMDITabGroupWindows(0).size(), 1u);
    // Closed as a document, it is hidden like a closed pane, and shows docked again.
    output.ConvertToTabbedDocument();
    output.ShowPane(FALSE, FALSE, FALSE);
    EXPECT_FALSE(output.IsVisible());
    output.ShowPane(TRUE, FALSE, TRUE);
    EXPECT_TRUE(output.IsVisible());
    EXPECT_FALSE(output.IsTabbedDocument());
}

TEST_F(MainFrameWindows, APaneAutoHiddenSlidesOutOverTheCaseAndBack)
{
    CElementView& pane = Frame()->GetElementPane();
    CView* view = Frame()->MDIGetActive()->GetActiveView();
    Pump();
    CRect docked, before;
    pane.GetClientRect(&docked);
    view->GetClientRect(&before);
    // Unpinned, it collapses to its tab and the case takes its room.
    pane.OnPinButton();
    CRect wide;
    PumpUntil([&] {
        view->GetClientRect(&wide);
        return wide.Width() > before.Width();
    });
    Pump(50); // its tab's bar comes in at the side
    view->GetClientRect(&wide);
    EXPECT_TRUE(pane.IsAutoHideMode());
    EXPECT_FALSE(pane.IsVisible());
    EXPECT_GT(wide.Width(), before.Width() + docked.Width() / 2);
    // Its tab slides it out over the case, as wide as it was docked; the case keeps its room.
    pane.Slide(TRUE, FALSE);
    CRect out;
    PumpUntil([&] {
        pane.GetClientRect(&out);
        return out.Width() >= docked.Width() - 4;
    });
    EXPECT_TRUE(pane.IsVisible());
    EXPECT_NEAR(out.Width(), docked.Width(), 4);
    CRect under;
    view->GetClientRect(&under);
    EXPECT_EQ(under.Width(), wide.Width());
    // The focus going to the case slides it back.
    view->SetFocus();
    PumpUntil([&] { return !pane.IsVisible(); });
    EXPECT_FALSE(pane.IsVisible());
    EXPECT_TRUE(pane.IsAutoHideMode());
    // Pinned again, it is docked where it was.
    pane.OnPinButton();
    Pump();
    EXPECT_FALSE(pane.IsAutoHideMode());
    EXPECT_TRUE(pane.IsVisible());
    EXPECT_EQ(pane.GetCurrentAlignment(), static_cast<DWORD>(CBRS_ALIGN_LEFT));
    CRect back;
    PumpUntil([&] {
        view->GetClientRect(&back);
        return back.Width() < wide.Width();
    });
    EXPECT_LT(back.Width(), wide.Width() - docked.Width() / 2);
}

TEST_F(MainFrameWindows, ADraggedPaneShowsDockingGuidesInTheLooksThatHaveThem)
{
    COutputWnd& output = Frame()->GetOutputWnd();
    output.FloatPane(CRect(500, 300, 900, 500));
    Pump(20);
    // The guides stand in the case area: the left one at its left edge, half-way down.
    const CRect area = Frame()->GetMDITabGroupRect(0);
    const CPoint leftGuide(area.left + 8 + 16, area.top + area.Height() / 2);
    const CPoint nowhere(area.left + area.Width() / 4, area.top + area.Height() / 4);
    // The default look docks with guides: over the left one it is marked, let go there the pane docks left.
    output.OnDragMove(nowhere);
    EXPECT_TRUE(CDockingManager::AreSmartGuidesShown());
    EXPECT_EQ(CDockingManager::GetMarkedSmartGuide(), 0u);
    output.OnDragMove(leftGuide);
    EXPECT_EQ(CDockingManager::GetMarkedSmartGuide(), static_cast<DWORD>(CBRS_ALIGN_LEFT));
    output.OnDragEnd(leftGuide);
    Pump();
    EXPECT_FALSE(CDockingManager::AreSmartGuidesShown());
    EXPECT_FALSE(output.IsFloating());
    EXPECT_EQ(output.GetCurrentAlignment(), static_cast<DWORD>(CBRS_ALIGN_LEFT));
    // Let go away from the guides, it stays where it is.
    output.FloatPane(CRect(500, 300, 900, 500));
    Pump(20);
    output.OnDragMove(nowhere);
    output.OnDragEnd(nowhere);
    EXPECT_TRUE(output.IsFloating());
    // Windows 2000 has no guides.
    SendMenuCommand(ID_VIEW_APPLOOK_WIN_2000);
    output.OnDragMove(leftGuide);
    EXPECT_FALSE(CDockingManager::AreSmartGuidesShown());
    SendMenuCommand(ID_VIEW_APPLOOK_VS_2008);
    output.OnDragMove(leftGuide);
    EXPECT_TRUE(CDockingManager::AreSmartGuidesShown());
    output.OnDragEnd(leftGuide);
    EXPECT_FALSE(output.IsFloating());
}

TEST_F(MainFrameWindows, ClosedWindowsNeverLeaveTwoResultWindowsWithOneNumber)
{
    auto caption = [](CView* view) {
        CString text;
        view->GetParentFrame()->GetWindowText(text);
        return text;
    };
    CView* first = doc->OpenPlotView(L"Plot", 1, 1);
    CView* second = doc->OpenGridView(L"Grid");
    CView* third = doc->OpenGridView(L"Grid");
    ASSERT_TRUE(first && second && third);
    Pump();
    // An older window closed: the newest keeps 3, so the next is 4.
    second->GetParentFrame()->SendMessage(WM_CLOSE, 0, 0);
    Pump();
    CView* fourth = doc->OpenGridView(L"Grid");
    ASSERT_NE(fourth, nullptr);
    EXPECT_EQ(caption(fourth), CString(L"4 - Grid"));
    // The newest closed gives its number back.
    fourth->GetParentFrame()->SendMessage(WM_CLOSE, 0, 0);
    Pump();
    CView* again = doc->OpenGridView(L"Grid");
    ASSERT_NE(again, nullptr);
    EXPECT_EQ(caption(again), CString(L"4 - Grid"));
    // Another window of the case itself is no result window.
    ASSERT_TRUE(Frame()->ClickMenuItem(ID_WINDOW_NEW));
    Pump();
    Frame()->MDIGetActive()->SendMessage(WM_CLOSE, 0, 0);
    Pump();
    CView* fifth = doc->OpenPlotView(L"Plot", 1, 1);
    ASSERT_NE(fifth, nullptr);
    EXPECT_EQ(caption(fifth), CString(L"5 - Plot"));
    EXPECT_EQ(caption(third), CString(L"3 - Grid"));
    // With every result window closed, oldest first, the numbers start again.
    for (CView* view : {first, third, again, fifth})
    {
        view->GetParentFrame()->SendMessage(WM_CLOSE, 0, 0);
        Pump();
    }
    CView* next = doc->OpenGridView(L"Grid");
    ASSERT_NE(next, nullptr);
    EXPECT_EQ(caption(next), CString(L"1 - Grid"));
}

// A right click on a tab opens the tab menu under the pointer, wherever on the tab it was (the menu
// once opened at the tab's middle, far from the pointer on a wide tab or a scaled screen).
TEST_F(MainFrameWindows, TheTabMenuOpensWhereTheTabWasClicked)
{
    CPoint shownAt(-1, -1);
    const qor::gui::PopupMenuDriver previous =
        qor::gui::SetPopupMenuDriver([&](const std::vector<qor::gui::PopupMenuRow>&, CPoint at) {
            shownAt = at;
            return 0u;
        });
    const CRect group = Frame()->GetMDITabGroupRect(0);
    for (const CPoint click : {CPoint(group.left + 6, group.top + 4), CPoint(group.left + 150, group.top + 6)})
    {
        Frame()->RightClickMDITab(0, 0, &click);
        Pump();
        EXPECT_EQ(shownAt, click);
    }
    qor::gui::SetPopupMenuDriver(previous);
}

// File > Print Preview takes the main frame's place, its bar at the top and the pages in the client area,
// and gives it back on Close; a second preview replaces the first.
TEST_F(MainFrameWindows, PrintPreviewTakesTheFramesPlaceUntilClosed)
{
    CPlotView* plot = doc->OpenPlotView(L"MLA Envelopes - Plot", 2, 1);
    ASSERT_NE(plot, nullptr);
    Pump();
    auto previews = [&] {
        std::vector<CPrintPreviewWnd*> found;
        for (CWnd* child = Frame()->GetWindow(GW_CHILD); child; child = child->GetWindow(GW_HWNDNEXT))
            if (auto* preview = DYNAMIC_DOWNCAST(CPrintPreviewWnd, child)) found.push_back(preview);
        return found;
    };
    for (int round = 0; round < 2; ++round)
    {
        Frame()->SendMessage(WM_COMMAND, ID_FILE_PRINT_PREVIEW);
        Pump();
        ASSERT_EQ(previews().size(), 1u) << "round " << round;
    }
    CPrintPreviewWnd* preview = previews().front();
    EXPECT_EQ(preview->GetParent(), Frame());
    EXPECT_TRUE(preview->IsWindowVisible());
    CRect client, shown;
    Frame()->GetClientRect(&client);
    preview->GetWindowRect(&shown);
    Frame()->ScreenToClient(&shown);
    EXPECT_EQ(shown, client) << "the whole client area";
    EXPECT_GE(preview->GetPageCount(), 1);
    EXPECT_FALSE(preview->GetPageRect(1).IsRectEmpty());

    preview->SendMessage(WM_COMMAND, AFX_ID_PREVIEW_CLOSE);
    Pump();
    EXPECT_TRUE(previews().empty());
    EXPECT_TRUE(plot->GetParentFrame()->IsWindowVisible());
}

// Restored from maximised, the main window takes a place inside the work area, then the one the user last
// gave it; File > Open starts beside the case, else where the last file was chosen.
TEST_F(MainFrameWindows, RestoredWindowFitsTheWorkAreaAndOpenStartsBesideTheCase)
{
    CMainFrame* frame = Frame();
    ASSERT_NE(frame, nullptr);
    CRect work;
    ASSERT_TRUE(::SystemParametersInfo(SPI_GETWORKAREA, 0, &work, 0));
    frame->ShowWindow(SW_MAXIMIZE);
    Pump();
    auto fits = [&] {
        CRect r;
        frame->GetWindowRect(&r);
        CRect inside;
        return inside.IntersectRect(r, work) && inside == r && r.Width() < work.Width() && r.Height() < work.Height();
    };
    frame->ShowWindow(SW_RESTORE);
    EXPECT_TRUE(PumpUntil(fits, 3000));
    const CRect chosen(work.left + 40, work.top + 30, work.left + 40 + work.Width() / 2,
                       work.top + 30 + work.Height() / 2);
    Pump();
    frame->MoveWindow(&chosen);
    Pump();
    CRect moved;
    frame->GetWindowRect(&moved);
    frame->ShowWindow(SW_MAXIMIZE);
    Pump();
    frame->ShowWindow(SW_RESTORE);
    EXPECT_TRUE(PumpUntil(
        [&] {
            CRect r;
            frame->GetWindowRect(&r);
            return r == moved;
        },
        3000));

    // The open dialog is handed where it starts: the folder of the case in front.
    const std::string folder = TempFilePath("beside");
    std::filesystem::create_directories(folder);
    std::vector<CString> starts;
    CString answer = CString::FromUtf8(folder + "/case.qor");
    qor::gui::FileDialogDriver previous = qor::gui::SetFileDialogDriver([&](BOOL, CString& path) {
        starts.push_back(path);
        if (answer.IsEmpty()) return IDCANCEL;
        path = answer;
        return IDOK;
    });
    SendMenuCommand(ID_FILE_SAVE_AS);
    answer.Empty();
    SendMenuCommand(ID_FILE_OPEN);
    ASSERT_EQ(starts.size(), 2u);
    EXPECT_EQ(starts[1], CString::FromUtf8(folder + "/"));
    qor::gui::SetFileDialogDriver(std::move(previous));
    std::filesystem::remove_all(folder);
}

// A preview open when the windows go (Window > Close All Tabs, File > New, File > Close, File > Open) closes
// with them, and nothing reads a window that went meanwhile (the sanitizers watch): the preview deletes itself
// as it closes, in the midst of the message sent to every window.
TEST_F(MainFrameWindows, APreviewOpenWhenTheWindowsGoClosesWithThem)
{
    const CString caseFile = CopyOfTestCase("two_collections.qor");
    ScriptedMessageBoxes boxes;
    auto previews = [&] {
        int found = 0;
        for (CWnd* child = Frame()->GetWindow(GW_CHILD); child; child = child->GetWindow(GW_HWNDNEXT))
            if (DYNAMIC_DOWNCAST(CPrintPreviewWnd, child)) ++found;
        return found;
    };
    const std::vector<std::pair<const char*, std::function<void()>>> ways = {
        {"Close All Tabs", [] { Frame()->SendMessage(WM_COMMAND, ID_CLOSE_ALL_TABS); }},
        {"New", [] { SendMenuCommand(ID_FILE_NEW); }},
        {"Close", [] { SendMenuCommand(ID_FILE_CLOSE); }},
        {"Open", [&] { ASSERT_NE(AfxGetApp()->OpenDocumentFile(caseFile), nullptr); }},
    };
    for (const auto& [name, go] : ways)
    {
        CQORDoc* open = CQORDoc::GetActiveDoc();
        if (!open)
        {
            SendMenuCommand(ID_FILE_NEW);
            open = CQORDoc::GetActiveDoc();
        }
        ASSERT_NE(open, nullptr) << name;
        ASSERT_NE(open->OpenGridView(L"Grid"), nullptr) << name;
        Pump();
        Frame()->SendMessage(WM_COMMAND, ID_FILE_PRINT_PREVIEW);
        Pump();
        ASSERT_EQ(previews(), 1) << name;
        go();
        Pump();
        DeleteDeferred();
        EXPECT_EQ(previews(), 0) << name;
    }
    EXPECT_TRUE(boxes.Shown().empty());
}
