// Help: the program's own manual is installed for a new user (in its own folder only, made again when it
// differs) and shows in the help pane; a missing manual is reported; the pane opens other PDF files,
// whatever the case of their extension.
#include "app_support.h"

#include "app/MainFrame.h"
#include "engine/settings/Settings.h"
#include "platform/core/ReplacingFile.h"
#include "platform/test/FrameTest.h"
#include "platform/test/GuiTest.h"
#include "res/Resource.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

namespace fs = std::filesystem;
using namespace qor::test;

namespace {

bool Dark(COLORREF c) { return GetRValue(c) < 96 && GetGValue(c) < 96 && GetBValue(c) < 96; }

} // namespace

TEST(HelpTest, TheManualIsInstalledShownReloadedAndReportedWhenMissing)
{
    const fs::path home = fs::path(TempFilePath("home"));
    UseFreshProfile(home);
    CQORApp app;
    ASSERT_TRUE(StartApplication(app));
    const CString manual = CSettings::GetInstance()->General.HELPFILEPATH;
    app.WaitForInstalledFiles(); // written off the window thread
    ASSERT_TRUE(fs::exists(manual.ToUtf8())) << "the program's copy is put at the settings path";
    auto* frame = DYNAMIC_DOWNCAST(CMainFrame, AfxGetMainWnd());
    ASSERT_NE(frame, nullptr);

    SendMenuCommand(ID_TOOLS_OPTIONS);
    {
        ScriptedMessageBoxes boxes;
        SendMenuCommand(ID_HELP_PDF);
        EXPECT_TRUE(boxes.Shown().empty());
    }
    CPdfPane& pane = frame->GetPdfPane();
    ASSERT_NE(pane.m_hWnd, nullptr);
    EXPECT_TRUE(pane.IsVisible());
    // Docked under the settings pane it gets a fair share of the side, not a sliver.
    EXPECT_TRUE(PumpUntil(
        [&] {
            CRect r;
            pane.GetClientRect(&r);
            return r.Height() > 200;
        },
        2000));
    EXPECT_GE(pane.GetViewer().GetPageCount(), 2);
    // The page is drawn: dark text on it, once the toolkit has rendered it.
    EXPECT_TRUE(PumpUntil([&] { return CountShownPixels(&pane.GetViewer(), Dark) > 100; }, 5000));

    // A second command shows the same pane (made once) and reads the manual again; a missing manual
    // is reported and the pane keeps what it shows.
    HWND paneWindow = pane.m_hWnd;
    const std::string copy = TempFilePath("Manual Copy.PDF");
    fs::copy_file(manual.ToUtf8(), copy);
    fs::remove(manual.ToUtf8());
    {
        ScriptedMessageBoxes boxes;
        boxes.Answer(IDOK);
        SendMenuCommand(ID_HELP_PDF);
        ASSERT_EQ(boxes.Shown().size(), 1u);
        EXPECT_EQ(boxes.Shown()[0].text, CString(L"Cannot load QOR User Manual - please verify the file path."));
        EXPECT_EQ(boxes.Shown()[0].type & MB_ICONMASK, static_cast<UINT>(MB_ICONWARNING));
    }
    EXPECT_EQ(pane.m_hWnd, paneWindow);
    EXPECT_GE(pane.GetViewer().GetPageCount(), 2);

    // Open, while the pane has the focus: a ".PDF" file loads, another file is ignored.
    const std::string other = TempFilePath("notes.txt");
    fs::copy_file(copy, other);
    pane.GetViewer().SetFocus();
    {
        DrivenFileDialogs files;
        files.Answer(CString::FromUtf8(other));
        SendMenuCommand(ID_FILE_OPEN);
        EXPECT_EQ(files.Shown(), 1);
    }
    EXPECT_EQ(app.GetOpenDocumentCount(), 1) << "the pane's Open does not open a case";
    CSettings::GetInstance()->General.HELPFILEPATH = L"/nonexistent.pdf";
    {
        DrivenFileDialogs files;
        files.Answer(CString::FromUtf8(copy));
        pane.GetViewer().SetFocus();
        SendMenuCommand(ID_FILE_OPEN);
        EXPECT_EQ(files.Shown(), 1);
    }
    EXPECT_GE(pane.GetViewer().GetPageCount(), 2);
    EXPECT_EQ(app.GetOpenDocumentCount(), 1);
    StopApplication(app);
    CSettings::GetInstance()->SetDefaults();
    std::error_code ec;
    fs::remove_all(home, ec);
}

TEST(HelpTest, TheProgramWritesOnlyItsOwnCopyOfTheManualAndMakesADifferentOneAgain)
{
    const fs::path home = fs::path(TempFilePath("home-manual"));
    UseFreshProfile(home);
    const auto start = [] {
        CQORApp app;
        EXPECT_TRUE(StartApplication(app));
        StopApplication(app);
    };
    const auto read = [](const fs::path& path) {
        std::ifstream in(path, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    };
    start();
    const fs::path own(GetProgramManualPath().ToUtf8());
    const std::string manual = read(own);
    ASSERT_GT(manual.size(), 1000u);

    // A copy cut short (a full disk) is made again, whole.
    fs::resize_file(own, manual.size() / 2);
    start();
    EXPECT_EQ(read(own), manual);

    // A help path elsewhere is only read: nothing is made there, and the setting stays as it was.
    const fs::path shared = home / "shared" / "manuals" / "QOR User Manual.pdf";
    const CString settingsFile = GetAppDataFolder() + L"QOR/QOR.xml";
    CSettings::GetInstance()->General.HELPFILEPATH = CString::FromUtf8(shared.string());
    ASSERT_TRUE(CSettings::GetInstance()->Save(settingsFile));
    fs::remove(own);
    start();
    EXPECT_FALSE(fs::exists(home / "shared"));
    EXPECT_FALSE(fs::exists(own));
    CSettings::GetInstance()->SetDefaults();
    ASSERT_TRUE(CSettings::GetInstance()->Load(settingsFile));
    EXPECT_EQ(CSettings::GetInstance()->General.HELPFILEPATH, CString::FromUtf8(shared.string()));

    // A copy that cannot be written is said once on standard error and leaves nothing behind.
    CSettings::GetInstance()->SetDefaults();
    ASSERT_TRUE(CSettings::GetInstance()->Save(settingsFile));
    testing::internal::CaptureStderr();
    qor::CReplacingFile::InjectOpenFault(ENOSPC);
    {
        CQORApp app;
        const BOOL started = StartApplication(app);
        app.WaitForInstalledFiles();
        qor::CReplacingFile::InjectOpenFault(0);
        EXPECT_TRUE(started);
        StopApplication(app);
    }
    const std::string said = testing::internal::GetCapturedStderr();
    const std::string line = "Help: the manual could not be written to " + own.string() + ": No space left on device\n";
    EXPECT_NE(said.find(line), std::string::npos) << said;
    EXPECT_EQ(said.find("Help:"), said.rfind("Help:")) << "said once: " << said;
    EXPECT_EQ(std::distance(fs::directory_iterator(own.parent_path()), fs::directory_iterator()), 2)
        << "the settings file and the recovery folder";
    EXPECT_FALSE(fs::exists(own));
    CSettings::GetInstance()->SetDefaults();
    std::error_code ec;
    fs::remove_all(home, ec);
}
