// Document templates make documents with frames and views; commands route through the
// active child frame, its view, the document, the child frame, the main frame and the
// application; disabled commands do not run from menus, toolbars or accelerators.
#include "tests/platform/gui/frame/frame_support.h"

#include "platform/test/DialogTest.h"

using namespace frametest;

TEST_F(AppTest, FileNewMakesDocumentFrameAndViewInTheMdiArea)
{
    TestDoc* doc = NewDoc();
    ASSERT_NE(doc, nullptr);
    CMDIChildWnd* child = Main()->MDIGetActive();
    ASSERT_NE(child, nullptr);
    EXPECT_TRUE(child->IsKindOf(RUNTIME_CLASS(TestChild)));
    CView* view = child->GetActiveView();
    ASSERT_NE(view, nullptr);
    EXPECT_TRUE(view->IsKindOf(RUNTIME_CLASS(TestView)));
    EXPECT_EQ(view->GetDocument(), doc);
    EXPECT_EQ(view->GetParentFrame(), child);
    EXPECT_EQ(child->GetParentFrame(), Main());
    EXPECT_EQ(Main()->GetActiveFrame(), child);
    EXPECT_EQ(doc->GetTitle(), CString(L"Case1"));
    POSITION pos = doc->GetFirstViewPosition();
    EXPECT_EQ(doc->GetNextView(pos), view);
    EXPECT_EQ(pos, nullptr);
    // The view fills the child frame's client area.
    CRect frameClient, viewClient;
    child->GetClientRect(&frameClient);
    view->GetClientRect(&viewClient);
    EXPECT_GT(frameClient.Width(), 0);
    EXPECT_EQ(viewClient.Size(), frameClient.Size());
    // A second document becomes the active one.
    TestDoc* second = NewDoc();
    ASSERT_NE(second, nullptr);
    EXPECT_NE(second, doc);
    EXPECT_EQ(Main()->GetMDIChildren().size(), 2u);
    EXPECT_EQ(Main()->MDIGetActive()->GetActiveDocument(), second);
    EXPECT_EQ(app.GetOpenDocumentCount(), 2);
}

TEST_F(AppTest, ClosingTheLastFrameClosesItsDocument)
{
    TestDoc* doc = NewDoc();
    ASSERT_NE(doc, nullptr);
    CMDIChildWnd* child = Main()->MDIGetActive();
    child->SendMessage(WM_CLOSE);
    EXPECT_EQ(Main()->MDIGetActive(), nullptr);
    EXPECT_EQ(app.GetOpenDocumentCount(), 0);
}

TEST_F(AppTest, CommandsRouteViewThenDocumentThenChildThenMainThenApplication)
{
    // With no child frame, the main frame and the application handle commands.
    qor::test::SendMenuCommand(ID_CMD_VIEW_AND_MAIN);
    qor::test::SendMenuCommand(ID_CMD_APP);
    EXPECT_EQ(g_log, (std::vector<std::string>{"main", "app"}));
    g_log.clear();
    ASSERT_NE(NewDoc(), nullptr);
    qor::test::SendMenuCommand(ID_CMD_VIEW_AND_MAIN);  // view wins over the main frame
    qor::test::SendMenuCommand(ID_CMD_DOC_AND_MAIN);   // document before the main frame
    qor::test::SendMenuCommand(ID_CMD_CHILD_AND_MAIN); // child frame before main frame and application
    qor::test::SendMenuCommand(ID_CMD_APP);            // the end of the route
    EXPECT_EQ(g_log, (std::vector<std::string>{"view", "doc", "child", "app"}));
}

TEST_F(AppTest, UpdateHandlersGreyMenuItemsAndDisabledCommandsDoNotRun)
{
    ASSERT_NE(NewDoc(), nullptr);
    CFrameWnd* main = Main();
    // The menu of the document's template replaced the main frame's own.
    BOOL enabled = TRUE;
    ASSERT_TRUE(main->GetMenuItemState(ID_CMD_GUARDED, &enabled));
    EXPECT_FALSE(main->ClickMenuItem(ID_CMD_GUARDED));
    ASSERT_TRUE(main->GetMenuItemState(ID_CMD_GUARDED, &enabled));
    EXPECT_FALSE(enabled);
    // Sent as a menu sends it, it still does not run.
    qor::test::SendMenuCommand(ID_CMD_GUARDED);
    EXPECT_TRUE(g_log.empty());
    TestView::s_guardedEnabled = true;
    EXPECT_TRUE(main->ClickMenuItem(ID_CMD_GUARDED));
    EXPECT_EQ(g_log, (std::vector<std::string>{"guarded"}));
    // An item whose command nobody handles is greyed.
    main->UpdateMenuPopup(0);
    ASSERT_TRUE(main->GetMenuItemState(ID_FILE_PRINT, &enabled));
    EXPECT_TRUE(enabled); // the view prints
    ASSERT_TRUE(main->GetMenuItemState(ID_FILE_MRU_FILE1, &enabled));
    EXPECT_FALSE(enabled); // no recent file yet
}

TEST_F(AppTest, AcceleratorsGoThroughTheSameRouteAndRespectUpdateHandlers)
{
    ASSERT_NE(NewDoc(), nullptr);
    CView* view = Main()->MDIGetActive()->GetActiveView();
    qor::test::KeyPress(view, 'K', 0, MK_CONTROL);
    EXPECT_TRUE(g_log.empty()) << "a disabled command ran from its accelerator";
    TestView::s_guardedEnabled = true;
    qor::test::KeyPress(view, 'K', 0, MK_CONTROL);
    qor::test::KeyPress(view, 'J', 0, MK_CONTROL);
    EXPECT_EQ(g_log, (std::vector<std::string>{"guarded", "view"}));
    // Without Ctrl the key is no accelerator.
    g_log.clear();
    qor::test::KeyPress(view, 'K', L'k');
    EXPECT_TRUE(g_log.empty());

    // A window that is no frame matches a table the same way: the command goes to it as WM_COMMAND.
    HACCEL keys = LoadAccelerators(AfxGetInstanceHandle(), MAKEINTRESOURCE(9130));
    ASSERT_NE(keys, nullptr);
    EXPECT_EQ(LoadAccelerators(AfxGetInstanceHandle(), MAKEINTRESOURCE(9131)), nullptr);
    MSG msg{};
    msg.hwnd = view->m_hWnd;
    msg.message = WM_KEYDOWN;
    msg.wParam = 'J';
    EXPECT_EQ(TranslateAccelerator(view->m_hWnd, keys, &msg), 0) << "Ctrl is not held";
    qor::gui::SetKeyDown(VK_CONTROL, true);
    EXPECT_NE(TranslateAccelerator(view->m_hWnd, keys, &msg), 0);
    msg.message = WM_CHAR;
    EXPECT_EQ(TranslateAccelerator(view->m_hWnd, keys, &msg), 0) << "only key-down messages are accelerators";
    qor::gui::SetKeyDown(VK_CONTROL, false);
    EXPECT_EQ(g_log, (std::vector<std::string>{"view"}));
}

TEST_F(AppTest, AltWithAMenuLetterOpensThatMenuUnlessAnAcceleratorTakesIt)
{
    ASSERT_NE(NewDoc(), nullptr);
    CView* view = Main()->MDIGetActive()->GetActiveView();
    qor::test::KeyPress(view, 'T', L't', 0, true);
    EXPECT_EQ(qor::test::CloseOpenMenuPopup(), CString(L"Tools"));
    qor::test::KeyPress(view, 'F', L'f', 0, true);
    EXPECT_EQ(qor::test::CloseOpenMenuPopup(), CString(L"File"));
    // A letter no menu has opens nothing; nor does the plain key.
    qor::test::KeyPress(view, 'Q', L'q', 0, true);
    EXPECT_EQ(qor::test::CloseOpenMenuPopup(), CString());
    qor::test::KeyPress(view, 'T', L't');
    EXPECT_EQ(qor::test::CloseOpenMenuPopup(), CString());
    EXPECT_TRUE(g_log.empty());
}

namespace {
const DialogItem kModalItems[] = {
    {L"Edit", 1001, L"", ES_AUTOHSCROLL | WS_BORDER | WS_TABSTOP, 7, 7, 100, 14},
    {L"Button", IDOK, L"OK", BS_DEFPUSHBUTTON | WS_TABSTOP, 60, 30, 50, 14},
};
QOR_DIALOG_RESOURCE(9140, L"Modal", DS_MODALFRAME | WS_POPUP | WS_CAPTION, 120, 50, kModalItems);
} // namespace

TEST_F(AppTest, AModalDialogKeepsTheFramesAcceleratorsFromRunningUnderneath)
{
    ASSERT_NE(NewDoc(), nullptr);
    TestView::s_guardedEnabled = true;
    qor::test::DrivenDialogs driven;
    driven.Then([](CWnd& dlg) {
        CWnd* edit = dlg.GetDlgItem(1001);
        ASSERT_NE(edit, nullptr);
        qor::test::KeyPress(edit, 'J', 0, MK_CONTROL);
        qor::test::KeyPress(&dlg, 'K', 0, MK_CONTROL);
        qor::test::KeyPress(edit, 'F', L'f', 0, true);
        EXPECT_EQ(qor::test::CloseOpenMenuPopup(), CString()) << "the frame's menu opened under a modal dialog";
        qor::test::DrivenDialogs::EndModal(dlg, IDOK);
    });
    CDialog dlg(9140, Main());
    EXPECT_EQ(dlg.DoModal(), IDOK);
    EXPECT_TRUE(g_log.empty()) << "a frame command ran while a modal dialog was up";
    // With the dialog gone the keys work again.
    qor::test::KeyPress(Main()->MDIGetActive()->GetActiveView(), 'J', 0, MK_CONTROL);
    EXPECT_EQ(g_log, std::vector<std::string>{"view"});
}

TEST_F(AppTest, ToolbarButtonsFollowUpdateHandlersOnIdle)
{
    CMFCToolBar& tb = Main()->m_wndToolBar;
    ASSERT_EQ(tb.GetCount(), 4);
    EXPECT_EQ(tb.GetItemID(1), static_cast<UINT>(ID_SEPARATOR));
    int guarded = tb.CommandToIndex(ID_CMD_GUARDED);
    ASSERT_EQ(guarded, 2);
    ASSERT_NE(NewDoc(), nullptr);
    qor::test::RunIdle(app);
    EXPECT_FALSE(tb.IsButtonEnabled(guarded));
    EXPECT_TRUE(tb.IsButtonEnabled(tb.CommandToIndex(ID_CMD_TOOL)));
    EXPECT_FALSE(tb.ClickButton(guarded));
    EXPECT_TRUE(tb.ClickButton(tb.CommandToIndex(ID_CMD_TOOL)));
    EXPECT_EQ(g_log, (std::vector<std::string>{"tool"}));
    TestView::s_guardedEnabled = true;
    qor::test::RunIdle(app);
    EXPECT_TRUE(tb.IsButtonEnabled(guarded));
    EXPECT_TRUE(tb.ClickButton(guarded));
    EXPECT_EQ(g_log.back(), "guarded");
}

TEST_F(AppTest, StatusBarPaneTextAndProgress)
{
    CMFCStatusBar& sb = Main()->m_wndStatusBar;
    ASSERT_EQ(sb.GetCount(), 3);
    EXPECT_EQ(sb.GetPaneText(2), CString(L"CAP"));
    EXPECT_EQ(sb.GetPaneWidth(0), 300);
    EXPECT_TRUE(sb.SetPaneText(0, L"Saving..."));
    EXPECT_EQ(sb.GetPaneText(0), CString(L"Saving..."));
    Main()->SetMessageText(L"Ready");
    EXPECT_EQ(sb.GetPaneText(0), CString(L"Ready"));
    EXPECT_FALSE(sb.SetPaneText(7, L"x"));
    ASSERT_TRUE(sb.HasPaneProgressBar(1));
    EXPECT_EQ(sb.GetPaneProgressTotal(1), 100);
    sb.SetPaneProgress(1, 25);
    EXPECT_EQ(sb.GetPaneProgress(1), 25);
    EXPECT_EQ(sb.GetPaneDisplayText(1), CString(L"25%"));
    sb.SetPaneProgress(1, 125); // shown full, kept as given
    EXPECT_EQ(sb.GetPaneProgress(1), 125);
    EXPECT_EQ(sb.GetPaneDisplayText(1), CString(L"100%"));
    sb.SetPaneProgress(1, 0);
    EXPECT_EQ(sb.GetPaneDisplayText(1), CString(L"0%"));
}

TEST_F(AppTest, DockPaneShowsAndHidesAndItsWindowFollowsTheDockSize)
{
    CDockablePane& pane = Main()->m_wndPane;
    ASSERT_NE(pane.m_hWnd, nullptr);
    EXPECT_EQ(Main()->GetPane(ID_PANE), &pane);
    EXPECT_EQ(pane.GetCaption(), CString(L"Analysis Elements"));
    EXPECT_TRUE(pane.IsVisible());
    EXPECT_TRUE(pane.IsDocked());
    pane.ShowPane(FALSE, FALSE, FALSE);
    EXPECT_FALSE(pane.IsVisible());
    Main()->ShowPane(&pane, TRUE, FALSE, TRUE);
    EXPECT_TRUE(pane.IsVisible());
    qor::test::Pump(50);
    CRect r;
    pane.GetClientRect(&r);
    EXPECT_GT(r.Width(), 0);
    EXPECT_GT(r.Height(), 0);
}

TEST_F(AppTest, ProfileValuesLiveInAnIniFileNamedAfterTheRegistryKey)
{
    CString path = app.GetProfileFilePath();
    EXPECT_NE(path.Find(L"Frame Test Company.ini"), -1);
    EXPECT_EQ(app.GetProfileInt(L"Uses", L"Number", 7), 7u);
    EXPECT_TRUE(app.WriteProfileInt(L"Uses", L"Number", 3));
    EXPECT_TRUE(app.WriteProfileString(L"Text", L"Line", L"a=b\nc"));
    EXPECT_EQ(app.GetProfileInt(L"Uses", L"Number", 7), 3u);
    EXPECT_EQ(app.GetProfileString(L"Text", L"Line"), CString(L"a=b\nc"));
    EXPECT_EQ(app.GetInt(L"ApplicationLook", 210), 210);
    app.AddToRecentFileList(L"/tmp/one.tst");
    app.AddToRecentFileList(L"/tmp/two.tst");
    app.AddToRecentFileList(L"/tmp/one.tst");
    ASSERT_NE(app.m_pRecentFileList, nullptr);
    EXPECT_EQ(app.m_pRecentFileList->GetCount(), 2);
    EXPECT_EQ((*app.m_pRecentFileList)[0], CString(L"/tmp/one.tst"));
    CRecentFileList again(4);
    again.ReadList();
    EXPECT_EQ(again.GetCount(), 2);
    EXPECT_EQ(again[1], CString(L"/tmp/two.tst"));
}
