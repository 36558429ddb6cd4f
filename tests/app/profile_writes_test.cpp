// What the program writes of its own and when: a save waits for the disk only for the case (and the profile
// when the recent-file list changed), the end writes the settings and then the profile once, the first start's
// files are written off the window thread, and the toolkit's file dialog keeps its state in the program's
// profile, without waiting for the disk, and nothing in a home others may write to.
#include "app_support.h"

#include "platform/core/ReplacingFile.h"
#include "platform/gui/window/App.h"
#include "platform/test/FrameTest.h"
#include "platform/test/GuiTest.h"
#include "res/Resource.h"

#include <gtest/gtest.h>

#include <atomic>
#include <filesystem>
#include <functional>
#include <mutex>
#include <set>
#include <string>
#include <vector>

namespace fs = std::filesystem;
using namespace qor::test;

namespace {

// The syncs of the program's writes (the file's and its folder's), in order, with whether each was made on
// the window thread, for as long as it lives.
class SyncCount
{
public:
    // before(name) is called first, on the thread of the sync (a disk that takes its time).
    explicit SyncCount(std::function<void(const std::string&)> before = nullptr)
    {
        qor::CReplacingFile::SetSyncHook([this, before](const std::string& name) {
            if (before) before(name);
            std::lock_guard<std::mutex> lock(m_mutex);
            m_names.push_back(name);
            m_onWindowThread += qor::gui::IsUserInterfaceThread() ? 1 : 0;
            return 0;
        });
    }
    ~SyncCount() { qor::CReplacingFile::SetSyncHook(nullptr); }
    SyncCount(const SyncCount&) = delete;
    SyncCount& operator=(const SyncCount&) = delete;

    std::vector<std::string> Take()
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        std::vector<std::string> names;
        names.swap(m_names);
        return names;
    }
    int OnWindowThread()
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        return m_onWindowThread;
    }

private:
    std::mutex m_mutex;
    std::vector<std::string> m_names;
    int m_onWindowThread = 0;
};

// Everything below a folder, by its path relative to it.
std::set<std::string> Listing(const fs::path& folder)
{
    std::set<std::string> names;
    for (const auto& entry : fs::recursive_directory_iterator(folder))
        names.insert(fs::relative(entry.path(), folder).string());
    return names;
}

class ProfileWritesTest : public FreshProfileTest
{};

} // namespace

// The manual's copy stays unnamed (written, not yet renamed) until the window thread runs its timers while PDF
// Help is on its way: until then the copy cannot be in place.
namespace {

std::atomic<bool> g_helpAsked{false};

void HelpAsked()
{
    g_helpAsked = true;
    g_helpAsked.notify_all();
}

} // namespace

TEST_F(ProfileWritesTest, TheFirstStartWritesOffTheWindowThreadAndPdfHelpWaitsForTheWholeManual)
{
    const fs::path manual = m_home / "data" / "QOR" / "QOR User Manual.pdf";
    g_helpAsked = false;
    SyncCount syncs([&](const std::string& name) {
        if (qor::CReplacingFile::IsTemporaryName(fs::path(name).filename().string(), manual.filename().string()))
            g_helpAsked.wait(false);
    });
    CQORApp app;
    struct Released
    {
        ~Released() { HelpAsked(); } // however the test ends, the program's end does not wait for ever
    } released;
    ASSERT_TRUE(StartApplication(app));
    EXPECT_FALSE(fs::exists(manual));
    auto* frame = DYNAMIC_DOWNCAST(CMainFrame, AfxGetMainWnd());
    ASSERT_NE(frame, nullptr);
    {
        ScriptedMessageBoxes boxes;
        frame->SetTimer(77, 10, [](HWND, UINT, UINT_PTR, DWORD) { HelpAsked(); });
        SendMenuCommand(ID_HELP_PDF);
        frame->KillTimer(77);
        EXPECT_TRUE(boxes.Shown().empty()) << boxes.Shown()[0].text.ToUtf8();
    }
    EXPECT_GE(frame->GetPdfPane().GetViewer().GetPageCount(), 2);
    app.WaitForInstalledFiles();
    EXPECT_TRUE(fs::exists(m_home / "data" / "applications" / "qor.desktop"));
    EXPECT_EQ(syncs.OnWindowThread(), 0) << "the first start's files are written off the window thread";
    StopApplication(app);
}

TEST_F(ProfileWritesTest, ASaveSyncsOnlyTheCaseAndTheEndTheSettingsThenTheProfileOnce)
{
    const fs::path config = m_home / "config", data = m_home / "data";
    CQORApp app;
    ASSERT_TRUE(StartApplication(app));
    app.WaitForInstalledFiles();
    CQORDoc* doc = CQORDoc::GetActiveDoc();
    ASSERT_NE(doc, nullptr);
    const fs::path cases = m_home / "cases";
    fs::create_directories(cases);
    const std::string path = (cases / "one.qor").string();
    // Save As: the case, then the profile once, with the new recent file and the folder the dialog chose.
    SyncCount syncs;
    {
        DrivenFileDialogs files;
        files.Answer(CString::FromUtf8(path));
        SendMenuCommand(ID_FILE_SAVE_AS);
    }
    ASSERT_EQ(doc->GetPathName(), CString::FromUtf8(path));
    const std::vector<std::string> savedAs = syncs.Take();
    ASSERT_EQ(savedAs.size(), 4u);
    EXPECT_EQ(fs::path(savedAs[1]), cases);
    EXPECT_EQ(fs::path(savedAs[3]), config);
    const std::string profile = ReadAll(config / "Penrow University.ini");
    EXPECT_NE(profile.find("File1=" + path), std::string::npos) << profile;
    EXPECT_NE(profile.find("[File Dialog]\nFolder=" + cases.string() + "\n"), std::string::npos) << profile;

    // Ctrl+S: the case's file and its folder; the recent-file list is as it was.
    doc->m_sCaseRef = L"Changed";
    doc->SetModifiedFlag(TRUE);
    SendMenuCommand(ID_FILE_SAVE);
    EXPECT_FALSE(doc->IsModified());
    const std::vector<std::string> saved = syncs.Take();
    ASSERT_EQ(saved.size(), 2u);
    EXPECT_EQ(fs::path(saved[1]), cases);
    EXPECT_EQ(ReadAll(config / "Penrow University.ini"), profile);

    // File > Exit: the settings, then the profile with the start count and the main window's layout, once.
    PostMessageW(app.m_pMainWnd->GetSafeHwnd(), WM_COMMAND, ID_APP_EXIT, 0);
    EXPECT_EQ(app.Run(), 0);
    const std::vector<std::string> ended = syncs.Take();
    ASSERT_EQ(ended.size(), 4u);
    EXPECT_EQ(fs::path(ended[1]), data / "QOR") << "the settings first";
    EXPECT_EQ(fs::path(ended[3]), config);
    const std::string kept = ReadAll(config / "Penrow University.ini");
    EXPECT_NE(kept.find("[Uses]\nNumber=1\n"), std::string::npos) << kept;
    EXPECT_NE(kept.find("DockState="), std::string::npos) << kept;
    EXPECT_NE(kept.find("File1=" + path), std::string::npos) << kept;
    EXPECT_TRUE(fs::exists(data / "QOR" / "QOR.xml"));
}

TEST_F(ProfileWritesTest, TheFileDialogKeepsItsStateInTheProfileAndNothingInAHomeOthersMayWriteTo)
{
    const fs::path cases = fs::path(TempFilePath("cases"));
    fs::create_directories(cases);
    const auto showDialog = [&] {
        CQORApp app;
        ScriptedMessageBoxes boxes; // the settings' save says at the end when there is nowhere to keep them
        ASSERT_TRUE(StartApplication(app));
        app.WaitForInstalledFiles(); // the first start's files, written meanwhile
        {
            SyncCount syncs;
            EXPECT_EQ(TypeIntoSaveDialog(CString::FromUtf8(cases.string()), L"one", L".qor", true),
                      CString::FromUtf8((cases / "one.qor").string()));
            EXPECT_TRUE(syncs.Take().empty()) << "closing the dialog does not wait for the disk";
        }
        StopApplication(app);
    };

    // A home anyone may write to: the program keeps nothing there, nor does its file dialog.
    fs::permissions(m_home, fs::perms::all | fs::perms::sticky_bit);
    for (const auto& entry : fs::directory_iterator(m_home)) fs::remove_all(entry.path());
    CSettings::GetInstance()->SetDefaults(); // no manual path there
    showDialog();
    for (const std::string& name : Listing(m_home)) ADD_FAILURE() << name << " was written in the shared home";

    // The user's own home: the dialog's state is in the profile, and the toolkit keeps no file of its own.
    fs::permissions(m_home, fs::perms::owner_all);
    CSettings::GetInstance()->SetDefaults();
    showDialog();
    for (const std::string& name : Listing(m_home)) EXPECT_EQ(name.find("QtProject"), std::string::npos) << name;
    const std::string profile = ReadAll(m_home / "config" / "Penrow University.ini");
    EXPECT_NE(profile.find("[File Dialog]\nFolder=" + cases.string() + "\nState="), std::string::npos) << profile;
    std::error_code ec;
    fs::remove_all(cases, ec);
}
