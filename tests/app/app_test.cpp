// The program headless: start and exit with the settings file and the profile, one case at a time, the
// main frame's progress bar, status lines, looks and tabs, and the case-data and output-options dialogs.
#include "app_support.h"

#include "app/AboutDlg.h"
#include "app/MainFrame.h"
#include "app/QORDoc.h"
#include "controls/grid/GridCtrl.h"
#include "engine/settings/Settings.h"
#include "platform/core/Paths.h"
#include "platform/test/DialogTest.h"
#include "platform/test/FrameTest.h"
#include "platform/test/GuiTest.h"
#include "res/Resource.h"
#include "ui/dialogs/ConfigDlg.h"
#include "ui/dialogs/OutputOptionsDlg.h"
#include "ui/views/GridView.h"
#include "ui/views/PlotView.h"
#include "ui/views/QORView.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace fs = std::filesystem;
using namespace qor::test;

namespace {

// A fresh user profile (configuration and data folders) for each test.
class AppTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        m_home = fs::path(TempFilePath("home"));
        UseFreshProfile(m_home);
    }
    void TearDown() override
    {
        qor::ClearRecordedMessageBoxes();
        std::error_code ec;
        fs::remove_all(m_home, ec);
    }
    fs::path SettingsFile() const { return m_home / "data" / "QOR" / "QOR.xml"; }
    CMainFrame* Frame() const { return DYNAMIC_DOWNCAST(CMainFrame, AfxGetMainWnd()); }

    fs::path m_home;
};

CString TextOf(CWnd* wnd)
{
    CString text;
    wnd->GetWindowText(text);
    return text;
}

} // namespace

TEST_F(AppTest, FirstStartUsesDefaultsAndWritesTheSettingsAtExitSecondStartReadsThem)
{
    {
        CQORApp app;
        ASSERT_TRUE(StartApplication(app));
        EXPECT_EQ(app.m_nUses, 1);
        EXPECT_EQ(CString(SettingsFile().c_str()), app.m_sSettingsPath);
        EXPECT_TRUE(fs::is_directory(SettingsFile().parent_path()));
        EXPECT_EQ(CQORDoc::GetActiveDoc() != nullptr, true) << "a new case is open";
        EXPECT_EQ(TextOf(Frame()).Find(L"Kestrain QOR") >= 0, true);
        // ".qor" files open in QOR from the desktop (the files are written off the window thread).
        app.WaitForInstalledFiles();
        std::ifstream entry(m_home / "data" / "applications" / "qor.desktop");
        std::string desktop((std::istreambuf_iterator<char>(entry)), std::istreambuf_iterator<char>());
        EXPECT_NE(desktop.find("MimeType=application/x-qor-case;"), std::string::npos);
        EXPECT_NE(desktop.find("Exec=\""), std::string::npos);
        EXPECT_NE(desktop.find("\" %f\n"), std::string::npos);
        std::ifstream type(m_home / "data" / "mime" / "packages" / "qor.xml");
        std::string mime((std::istreambuf_iterator<char>(type)), std::istreambuf_iterator<char>());
        EXPECT_NE(mime.find("<glob pattern=\"*.qor\"/>"), std::string::npos);
        CSettings::GetInstance()->Analysis.NPOINTS_ALONG_BEAM = 37;
        StopApplication(app);
    }
    ASSERT_TRUE(fs::exists(SettingsFile()));
    CSettings::GetInstance()->SetDefaults();
    {
        CQORApp app;
        ASSERT_TRUE(StartApplication(app));
        EXPECT_EQ(app.m_nUses, 2);
        EXPECT_EQ(CSettings::GetInstance()->Analysis.NPOINTS_ALONG_BEAM, 37);
        StopApplication(app);
    }
}

TEST_F(AppTest, NewProfileReadsAnExistingSettingsFileAndADamagedOneGivesTheDefaults)
{
    // A settings file from an earlier installation, on the first start of this profile.
    {
        CQORApp app;
        ASSERT_TRUE(StartApplication(app));
        CSettings::GetInstance()->Analysis.NO_AXLE_SPACINGS = 7;
        StopApplication(app);
    }
    fs::remove(m_home / "config" / "Penrow University.ini");
    CSettings::GetInstance()->SetDefaults();
    {
        CQORApp app;
        ASSERT_TRUE(StartApplication(app));
        EXPECT_EQ(app.m_nUses, 1);
        EXPECT_EQ(CSettings::GetInstance()->Analysis.NO_AXLE_SPACINGS, 7) << "the user's settings survive";
        StopApplication(app);
    }
    std::ofstream(SettingsFile(), std::ios::trunc) << "<?xml version=\"1.0\"?><garbage";
    qor::ClearRecordedMessageBoxes();
    {
        CQORApp app;
        ASSERT_TRUE(StartApplication(app));
        EXPECT_FALSE(qor::RecordedMessageBoxes().empty()) << "the damaged file is reported";
        EXPECT_EQ(CSettings::GetInstance()->Analysis.NO_AXLE_SPACINGS, 10);
        StopApplication(app);
    }
}

namespace {

// What is under a folder, with each file's size (nothing when it is not there).
std::vector<std::string> Listing(const fs::path& root)
{
    std::vector<std::string> found;
    std::error_code ec;
    for (fs::recursive_directory_iterator it(root, ec), end; !ec && it != end; it.increment(ec))
    {
        std::string entry = it->path().string();
        if (it->is_regular_file(ec))
        {
            entry += ' ';
            entry += std::to_string(it->file_size(ec));
        }
        found.push_back(std::move(entry));
    }
    std::sort(found.begin(), found.end());
    return found;
}

// The folder the test program runs in, its home and the user database as they were, whatever the test did.
class StartedElsewhere
{
public:
    explicit StartedElsewhere(fs::path home) : m_home(std::move(home)), m_dir(fs::current_path()) {}
    ~StartedElsewhere()
    {
        qor::InjectUserDatabaseHome(std::nullopt);
        std::error_code ec;
        fs::current_path(m_dir, ec);
        UseHome(m_home);
    }

private:
    fs::path m_home;
    fs::path m_dir;
};

} // namespace

// Started without HOME: the home comes from the user database; where that gives none the program keeps
// no files at all (no profile, settings, recovery, manual or desktop entry), the settings' save says so at
// exit, and nothing goes to the shared temporary folder or the folder the program was started in.
TEST_F(AppTest, WithoutHomeTheUserDatabaseGivesTheHomeAndWithoutOneNothingIsKeptAnywhere)
{
    const std::vector<std::string> sharedBefore = Listing("/tmp/.local"), configBefore = Listing("/tmp/.config");
    const fs::path started = m_home / "started-in";
    fs::create_directories(started);
    StartedElsewhere restore(m_home);
    fs::current_path(started);
    ::unsetenv("HOME");
    ::unsetenv("XDG_DATA_HOME");
    ::setenv("XDG_CONFIG_HOME", "relative-config", 1);

    qor::InjectUserDatabaseHome(std::string());
    {
        ScriptedMessageBoxes boxes;
        CQORApp app;
        ASSERT_TRUE(StartApplication(app));
        EXPECT_TRUE(app.m_sSettingsPath.IsEmpty());
        EXPECT_TRUE(app.GetProfileFilePath().IsEmpty());
        ASSERT_NE(app.GetDataRecoveryHandler(), nullptr);
        EXPECT_TRUE(app.GetDataRecoveryHandler()->GetAutosavePath().IsEmpty()) << "no recovery";
        CQORDoc* doc = CQORDoc::GetActiveDoc();
        ASSERT_NE(doc, nullptr);
        doc->m_sCaseRef = L"Unsaved";
        doc->SetModifiedFlag(TRUE);
        app.GetDataRecoveryHandler()->AutosaveAllDocumentInfo();
        EXPECT_TRUE(app.GetDataRecoveryHandler()->WaitForWrites());
        EXPECT_TRUE(boxes.Shown().empty()) << "a first start reads no settings";
        StopApplication(app);
        ASSERT_EQ(boxes.Shown().size(), 1u);
        EXPECT_EQ(boxes.Shown()[0].text.Find(L"Problem saving file.\n"), 0) << boxes.Shown()[0].text.ToUtf8();
    }
    EXPECT_TRUE(fs::is_empty(started)) << "nothing in the folder the program was started in";
    EXPECT_EQ(Listing("/tmp/.local"), sharedBefore) << "nothing in the shared temporary folder";
    EXPECT_EQ(Listing("/tmp/.config"), configBefore);

    // The user database's home takes $HOME's place.
    const fs::path home = m_home / "from-the-user-database";
    fs::create_directories(home);
    qor::InjectUserDatabaseHome(home.string());
    {
        CQORApp app;
        ASSERT_TRUE(StartApplication(app));
        EXPECT_EQ(app.m_sSettingsPath, CString((home / ".local/share/QOR/QOR.xml").c_str()));
        EXPECT_EQ(app.GetProfileFilePath(), CString((home / ".config/Penrow University.ini").c_str()));
        StopApplication(app);
    }
    EXPECT_TRUE(fs::exists(home / ".local/share/QOR/QOR.xml"));
    EXPECT_TRUE(fs::exists(home / ".config/Penrow University.ini"));
    EXPECT_TRUE(fs::is_empty(started));
}

TEST_F(AppTest, NewWithAModifiedCaseAsksAndCancelKeepsItNoDiscardsIt)
{
    CQORApp app;
    ASSERT_TRUE(StartApplication(app));
    CQORDoc* first = CQORDoc::GetActiveDoc();
    ASSERT_NE(first, nullptr);
    first->m_sCaseRef = L"Bridge 7";
    first->SetModifiedFlag(TRUE);
    {
        ScriptedMessageBoxes boxes;
        boxes.Answer(IDCANCEL);
        SendMenuCommand(ID_FILE_NEW);
        ASSERT_EQ(boxes.Shown().size(), 1u);
        EXPECT_EQ(CQORDoc::GetActiveDoc(), first);
        EXPECT_EQ(first->m_sCaseRef, CString(L"Bridge 7"));
    }
    {
        ScriptedMessageBoxes boxes;
        boxes.Answer(IDNO);
        SendMenuCommand(ID_FILE_NEW);
        ASSERT_EQ(boxes.Shown().size(), 1u);
        CQORDoc* second = CQORDoc::GetActiveDoc();
        ASSERT_NE(second, nullptr);
        EXPECT_TRUE(second->m_sCaseRef.IsEmpty());
        EXPECT_EQ(app.GetOpenDocumentCount(), 1) << "one case at a time";
    }
    StopApplication(app);
}

TEST_F(AppTest, ProgressStatusLinesAndLooks)
{
    {
        CQORApp app;
        ASSERT_TRUE(StartApplication(app));
        CMainFrame* frame = Frame();
        ASSERT_NE(frame, nullptr);
        {
            SCOPED_TRACE("the progress bar counts the workers' steps against the run begun");
            const UINT pbar = RegisterWindowMessageW(L"UWM_PBAR_UPDATE");
            frame->BeginProgress(4);
            std::vector<long> shown;
            for (int i = 0; i < 4; ++i)
            {
                frame->SendMessage(pbar, 1, 0);
                shown.push_back(frame->GetStatusBar().GetPaneProgress(1));
            }
            EXPECT_EQ(shown, (std::vector<long>{25, 50, 75, 100}));
            // Runs reported together: lParam says how many.
            frame->SendMessage(pbar, 0, 0);
            frame->SendMessage(pbar, 1, 3);
            EXPECT_EQ(frame->GetStatusBar().GetPaneProgress(1), 75);
            frame->SendMessage(pbar, 0, 0);
            EXPECT_EQ(frame->GetStatusBar().GetPaneProgress(1), 0);
            // A reset comes after the steps already on their way.
            frame->PostMessage(pbar, 1, 0);
            frame->ResetProgress();
            Pump(50);
            EXPECT_EQ(frame->m_nProgressCount, 0);
            EXPECT_EQ(frame->GetStatusBar().GetPaneProgress(1), 0);
            // Runs reported together: lParam says how many.
            frame->SendMessage(pbar, 1, 3);
            EXPECT_EQ(frame->GetStatusBar().GetPaneProgress(1), 75);
            frame->SendMessage(pbar, 0, 0);
            EXPECT_EQ(frame->GetStatusBar().GetPaneProgress(1), 0);
            frame->BeginProgress(0); // no runs: no division by zero
            frame->SendMessage(pbar, 1, 0);
            EXPECT_EQ(frame->GetStatusBar().GetPaneProgress(1), 0);
        }
        COutputList& list = frame->GetOutputWnd().GetList();
        {
            SCOPED_TRACE("a posted status line is stamped \"dd/mm/yy hh:mm:ss| \" and owned by the frame");
            frame->SendMessage(RegisterWindowMessageW(L"UWM_ADD_STATUS"),
                               reinterpret_cast<WPARAM>(new CString(L"Run done")), 0);
            // The log takes the line a moment later, as the window is free.
            ASSERT_TRUE(PumpUntil([&] { return list.GetCount() == 2; }));
            CString line;
            list.GetText(1, line);
            ASSERT_EQ(line.GetLength(), 19 + 8);
            EXPECT_EQ(line.Mid(2, 1), CString(L"/"));
            EXPECT_EQ(line.Mid(17, 2), CString(L"| "));
            EXPECT_EQ(line.Mid(19), CString(L"Run done"));
            EXPECT_EQ(list.GetAllText().Right(10), CString(L"Run done\r\n"));
        }
        {
            SCOPED_TRACE("the log's own commands: copy, clear, hide; the frame's command shows it again");
            list.SendMessage(WM_COMMAND, ID_EDIT_COPY, 0);
            CString copied;
            qor::GetClipboardText(copied);
            EXPECT_EQ(copied, list.GetAllText());
            list.SendMessage(WM_COMMAND, ID_EDIT_CLEAR, 0);
            EXPECT_EQ(list.GetCount(), 0);
            frame->AddStatus(L"After clearing");
            list.SendMessage(WM_COMMAND, ID_VIEW_OUTPUT_PANE, 0);
            EXPECT_FALSE(frame->GetOutputWnd().IsVisible());
            SendMenuCommand(ID_VIEW_OUTPUT_PANE);
            EXPECT_TRUE(frame->GetOutputWnd().IsVisible());
            EXPECT_EQ(list.GetCount(), 1);
        }
        SCOPED_TRACE("a look chosen from the menu, and the ids without a menu entry keeping its style");
        SendMenuCommand(ID_VIEW_APPLOOK_OFF_2007_BLACK);
        EXPECT_EQ(app.m_nAppLook, static_cast<UINT>(ID_VIEW_APPLOOK_OFF_2007_BLACK));
        EXPECT_EQ(qor::gui::GetApplicationLook(), qor::gui::Look::Dark);
        frame->OnApplicationLook(ID_VIEW_APPLOOK_OFF_2007_CURRENT_FIRST + 1);
        EXPECT_EQ(qor::gui::GetApplicationLook(), qor::gui::Look::Dark);
        frame->OnApplicationLook(ID_VIEW_APPLOOK_OFF_2007_BLACK);
        StopApplication(app);
    }
    SCOPED_TRACE("the look kept in the profile and marked in the menu at the next start");
    CQORApp app;
    ASSERT_TRUE(StartApplication(app));
    EXPECT_EQ(app.m_nAppLook, static_cast<UINT>(ID_VIEW_APPLOOK_OFF_2007_BLACK)) << "the look is kept in the profile";
    int checked = 0;
    BOOL enabled = FALSE;
    Frame()->UpdateMenuPopup(2);
    Frame()->GetMenuItemState(ID_VIEW_APPLOOK_OFF_2007_BLACK, &enabled, &checked);
    EXPECT_EQ(checked, 1);
    // The status bar's item carries its mark while a case window (without bars of its own) is active.
    Frame()->GetMenuItemState(ID_VIEW_STATUS_BAR, &enabled, &checked);
    EXPECT_EQ(checked, 1);
    EXPECT_EQ(qor::gui::GetApplicationLook(), qor::gui::Look::Dark) << "restored at start-up";
    SendMenuCommand(ID_VIEW_APPLOOK_VS_2008);
    EXPECT_EQ(qor::gui::GetApplicationLook(), qor::gui::Look::Light);
    StopApplication(app);
}

TEST_F(AppTest, ResultWindowsAreNumberedAndCloseAllTabsKeepsTheCase)
{
    CQORApp app;
    ASSERT_TRUE(StartApplication(app));
    CQORDoc* doc = CQORDoc::GetActiveDoc();
    ASSERT_NE(doc, nullptr);
    CView* caseView = Frame()->MDIGetActive()->GetActiveView();
    ASSERT_NE(caseView, nullptr);
    Pump();
    CRect caseArea;
    caseView->GetClientRect(&caseArea);
    CPlotView* plot = doc->OpenPlotView(L"MLA Envelopes - Plot", 2, 1);
    ASSERT_NE(plot, nullptr);
    CGridView* grid = doc->OpenGridView(L"MLA Envelopes - Grid");
    ASSERT_NE(grid, nullptr);
    EXPECT_EQ(TextOf(plot->GetParentFrame()), CString(L"1 - MLA Envelopes - Plot"));
    EXPECT_EQ(TextOf(grid->GetParentFrame()), CString(L"2 - MLA Envelopes - Grid"));
    EXPECT_EQ(doc->OpenReactionsPlotView(L"R", 5), nullptr);
    EXPECT_EQ(doc->OpenReactionsPlotView(L"R", 0), nullptr);
    EXPECT_EQ(doc->m_nViewCount, 2);
    // Save Grid is offered only while a grid is the active window, and writes the grid's cells.
    EXPECT_TRUE(Frame()->IsCommandEnabled(ID_FILE_SAVE_GRID));
    CGridCtrl* cells = grid->GetGrid();
    ASSERT_NE(cells, nullptr);
    cells->SetRowCount(2);
    cells->SetColumnCount(2);
    cells->SetItemText(0, 0, L"x");
    cells->SetItemText(0, 1, L"M");
    cells->SetItemText(1, 0, L"1.5");
    cells->SetItemText(1, 1, L"-20");
    const std::string csv = TempFilePath("grid.csv");
    {
        DrivenFileDialogs files;
        files.Answer(CString::FromUtf8(csv));
        ScriptedMessageBoxes boxes;
        boxes.Answer(IDOK);
        SendMenuCommand(ID_FILE_SAVE_GRID);
        ASSERT_EQ(boxes.Shown().size(), 1u);
        EXPECT_EQ(boxes.Shown()[0].text, CString(L"Grid succesfully saved."));
    }
    std::ifstream in(csv);
    std::string content((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    EXPECT_EQ(content, "sep=;\r\nx;M\r\n1.5;-20\r\n");
    plot->GetParentFrame()->ActivateFrame();
    EXPECT_FALSE(Frame()->IsCommandEnabled(ID_FILE_SAVE_GRID));

    // The tab's own menu offers the file and tab commands, and new tab groups (there is only the one).
    std::vector<UINT> offered;
    auto previous = qor::gui::SetPopupMenuDriver([&](const std::vector<qor::gui::PopupMenuRow>& rows, CPoint) {
        for (const auto& row : rows)
            if (!row.separator) offered.push_back(row.id);
        return static_cast<UINT>(ID_CLOSE_ALL_TABS);
    });
    auto* frameEx = DYNAMIC_DOWNCAST(CMDIFrameWndEx, Frame());
    ASSERT_NE(frameEx, nullptr);
    frameEx->RightClickMDITab(1);
    qor::gui::SetPopupMenuDriver(previous);
    EXPECT_EQ(offered, (std::vector<UINT>{ID_FILE_SAVE, ID_FILE_CLOSE, ID_CLOSE_TAB, ID_CLOSE_ALL_TABS,
                                          ID_MDI_NEW_HORZ_TAB_GROUP, ID_MDI_NEW_VERT_GROUP}));
    Pump();
    ASSERT_EQ(CQORDoc::GetActiveDoc(), doc) << "the case stays open";
    int views = 0;
    for (POSITION pos = doc->GetFirstViewPosition(); pos;)
    {
        CView* v = doc->GetNextView(pos);
        EXPECT_TRUE(v->IsKindOf(RUNTIME_CLASS(CQORView)));
        ++views;
    }
    EXPECT_EQ(views, 1);
    // The case's tab fills the area again, as it did before the results were opened.
    Pump();
    CRect after;
    caseView->GetClientRect(&after);
    EXPECT_EQ(after.Size(), caseArea.Size());
    StopApplication(app);
}

TEST_F(AppTest, StatusBarPromptsKeyIndicatorsAndThePaneMenu)
{
    CQORApp app;
    ASSERT_TRUE(StartApplication(app));
    CMainFrame* frame = Frame();
    CMFCStatusBar& status = frame->GetStatusBar();
    EXPECT_EQ(status.GetPaneText(0), CString(L"Ready"));

    // A highlighted menu item and a hovered button show their prompt, "Ready" after.
    HoverMenuItem(frame, ID_FILE_OPEN);
    EXPECT_EQ(status.GetPaneText(0), CString(L"Open an existing case"));
    HoverMenuItem(frame, ID_CONFIGURATION_ADD_BRIDGE);
    EXPECT_EQ(status.GetPaneText(0), CString(L"Add a bridge to the case"));
    // Print All says what it does: that it is not supported (its command only says so).
    HoverMenuItem(frame, ID_FILE_PRINT_ALL);
    EXPECT_NE(status.GetPaneText(0).Find(L"not supported"), -1) << status.GetPaneText(0).ToUtf8();
    CloseMenus(frame);
    EXPECT_EQ(status.GetPaneText(0), CString(L"Ready"));
    auto* standard = DYNAMIC_DOWNCAST(CMFCToolBar, frame->GetControlBar(AFX_IDW_TOOLBAR));
    ASSERT_NE(standard, nullptr);
    ASSERT_EQ(standard->GetItemID(2), static_cast<UINT>(ID_FILE_SAVE));
    HoverToolBarButton(standard, 2);
    EXPECT_EQ(status.GetPaneText(0), CString(L"Save the case"));
    HoverToolBarButton(standard, 2, false);
    EXPECT_EQ(status.GetPaneText(0), CString(L"Ready"));

    // CAP, NUM and SCRL show only while their key is on.
    const int caps = status.CommandToIndex(ID_INDICATOR_CAPS);
    const int num = status.CommandToIndex(ID_INDICATOR_NUM);
    qor::gui::SetKeyToggled(VK_CAPITAL, true);
    qor::gui::SetKeyToggled(VK_NUMLOCK, false);
    RunIdle(app);
    EXPECT_EQ(ShownPaneText(status, caps), CString(L"CAP"));
    EXPECT_EQ(ShownPaneText(status, num), CString());
    qor::gui::SetKeyToggled(VK_CAPITAL, false);
    RunIdle(app);
    EXPECT_EQ(ShownPaneText(status, caps), CString());

    // View > Toolbars and Docking Windows lists both toolbars and both panes by name; a pane closed
    // with its X comes back from there.
    auto names = [&] {
        std::vector<std::pair<CString, bool>> out;
        for (const PaneMenuItem& item : PaneMenuItems(frame)) out.emplace_back(item.name, item.checked);
        return out;
    };
    using Row = std::pair<CString, bool>;
    EXPECT_EQ(names(), (std::vector<Row>{{L"Standard", true},
                                         {L"Insert", true},
                                         {L"Analysis Elements", true},
                                         {L"Diagnostics", true},
                                         {L"Customize...", false}}));
    frame->GetElementPane().ShowPane(FALSE, FALSE, FALSE); // as its close button does
    EXPECT_FALSE(frame->GetElementPane().IsVisible());
    EXPECT_EQ(names()[2], Row(L"Analysis Elements", false));
    ASSERT_TRUE(ChoosePaneMenuItem(frame, L"Analysis Elements"));
    EXPECT_TRUE(frame->GetElementPane().IsVisible());
    ASSERT_TRUE(ChoosePaneMenuItem(frame, L"Insert"));
    EXPECT_EQ(names()[1], Row(L"Insert", false));
    StopApplication(app);
}

TEST_F(AppTest, CaseDataAndOutputOptionsDialogs)
{
    CQORApp app;
    ASSERT_TRUE(StartApplication(app));
    CQORDoc* doc = CQORDoc::GetActiveDoc();
    ASSERT_NE(doc, nullptr);
    doc->m_sCaseRef = L"Old";
    {
        DrivenDialogs dialogs;
        dialogs.ThenAs<CConfigDlg>([](CConfigDlg& dlg) {
            dlg.m_CaseRefCtrl.SetWindowText(L"Route 12");
            dlg.m_CaseNotesCtrl.SetWindowText(L"Line one\r\nLine two");
            PressOK(dlg);
        });
        dialogs.ThenAs<CConfigDlg>([](CConfigDlg& dlg) {
            dlg.m_CaseRefCtrl.SetWindowText(L"Dropped");
            PressCancel(dlg);
        });
        SendMenuCommand(ID_CONFIGURATION_CASE_DATA);
        EXPECT_EQ(doc->m_sCaseRef, CString(L"Route 12"));
        EXPECT_GE(doc->m_sCaseNotes.Find(L"Line two"), 0);
        EXPECT_GE(doc->m_sCaseNotes.Find(L'\n'), 0) << "notes keep their line breaks";
        EXPECT_TRUE(doc->IsModified());
        SendMenuCommand(ID_CONFIGURATION_CASE_DATA);
        EXPECT_EQ(doc->m_sCaseRef, CString(L"Route 12"));
    }
    doc->SetModifiedFlag(FALSE);
    doc->m_Output = {true, false, true, false};
    {
        DrivenDialogs dialogs;
        dialogs.ThenAs<COutputOptionsDlg>([](COutputOptionsDlg& dlg) {
            EXPECT_EQ(dlg.m_BMSFCheck.GetCheck(), BST_CHECKED);
            EXPECT_EQ(dlg.m_ReactionsCheck.GetCheck(), BST_UNCHECKED);
            Click(&dlg.m_ReactionsCheck, CPoint(3, 3));
            Click(&dlg.m_GraphsCheck, CPoint(3, 3));
            PressOK(dlg);
        });
        SendMenuCommand(ID_VIEW_OUTPUT_OPTIONS);
    }
    EXPECT_TRUE(doc->m_Output.BMSF);
    EXPECT_TRUE(doc->m_Output.R);
    EXPECT_FALSE(doc->m_Output.GRAPHS);
    EXPECT_FALSE(doc->m_Output.TABLES);
    EXPECT_FALSE(doc->IsModified()) << "output options are not part of the case";
    StopApplication(app);
}

TEST_F(AppTest, AboutBoxShowsTheVersionNumbersThatCanBeRead)
{
    EXPECT_EQ(CAboutDlg::ReadVersion(L"2.1.0.7"), CString(L"QOR Version 2.1.0.7"));
    EXPECT_EQ(CAboutDlg::ReadVersion(L"3.4"), CString(L"QOR Version 3.4"));
    EXPECT_EQ(CAboutDlg::ReadVersion(L"beta"), CString());
    CQORApp app;
    ASSERT_TRUE(StartApplication(app));
    DrivenDialogs dialogs;
    dialogs.ThenAs<CAboutDlg>([](CAboutDlg& dlg) {
        CString version;
        FindControl(dlg, IDC_ABOUT_VERSION)->GetWindowText(version);
        EXPECT_EQ(version.Find(L"QOR Version "), 0);
        // The picture is drawn: sky, water and the deck.
        EXPECT_GT(CountShownPixels(&dlg.m_Picture, [](COLORREF c) { return c == RGB(110, 160, 210); }), 100);
        PressOK(dlg);
    });
    SendMenuCommand(ID_APP_ABOUT);
    EXPECT_EQ(dialogs.Shown().size(), 1u);
    StopApplication(app);
}
