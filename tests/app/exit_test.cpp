// Ending the program through its own message loop: File > Exit and closing the main window return from
// the loop and write the settings file and the start count, also while a worker computes a collection.
#include "app_support.h"

#include "app/AnalysisJob.h"
#include "app/QORDoc.h"
#include "engine/analysis/ReferenceCollection.h"
#include "engine/model/BridgeSet.h"
#include "engine/model/LoadModelEnsemble.h"
#include "platform/core/MessageBox.h"
#include "platform/gui/print/PrintPreviewWnd.h"
#include "platform/test/DialogTest.h"
#include "platform/test/FrameTest.h"
#include "platform/test/GuiTest.h"
#include "res/Resource.h"
#include "ui/dialogs/AnalyzeRefCollectionDlg.h"
#include "ui/dialogs/LMEParametersDlg.h"

#include <gtest/gtest.h>

#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <mutex>
#include <thread>
#include <unistd.h>

namespace fs = std::filesystem;
using namespace qor::test;

namespace {

// Ends the test program when the loop under test does not return in time: a hang fails instead of
// blocking the suite.
class Watchdog
{
public:
    explicit Watchdog(std::chrono::seconds limit)
        : m_thread([this, limit] {
              std::unique_lock<std::mutex> lock(m_mutex);
              if (!m_cv.wait_for(lock, limit, [this] { return m_done; }))
              {
                  std::fprintf(stderr, "The message loop did not return after the main window closed.\n");
                  std::_Exit(3);
              }
          })
    {}
    ~Watchdog()
    {
        {
            std::lock_guard<std::mutex> lock(m_mutex);
            m_done = true;
        }
        m_cv.notify_all();
        m_thread.join();
    }

private:
    std::mutex m_mutex;
    std::condition_variable m_cv;
    bool m_done = false;
    std::thread m_thread;
};

class ExitTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        m_home = fs::path(TempFilePath("home"));
        fs::create_directories(m_home);
        UseHome(m_home);
        // Every question (save the case?) is answered No.
        m_previous = qor::SetMessageBoxHandler([](const qor::MessageBoxCall& call) {
            return (call.type & MB_TYPEMASK) == MB_YESNOCANCEL || (call.type & MB_TYPEMASK) == MB_YESNO ? IDNO : IDOK;
        });
    }
    void TearDown() override
    {
        qor::SetMessageBoxHandler(m_previous);
        std::error_code ec;
        fs::remove_all(m_home, ec);
    }
    fs::path SettingsFile() const { return m_home / "data" / "QOR" / "QOR.xml"; }

    // Runs the application's loop with the message queued, as the user's command reaches it.
    static int RunAfter(CQORApp& app, UINT msg, WPARAM wParam, int limit = 30)
    {
        Watchdog watchdog{std::chrono::seconds(limit)};
        PostMessageW(app.m_pMainWnd->GetSafeHwnd(), msg, wParam, 0);
        return app.Run();
    }

    fs::path m_home;
    qor::MessageBoxHandler m_previous;
};

TEST_F(ExitTest, ExitAndClosingTheMainWindowEndTheLoopAndWriteTheSettingsAndTheStartCount)
{
    {
        CQORApp app;
        ASSERT_TRUE(StartApplication(app));
        EXPECT_EQ(RunAfter(app, WM_COMMAND, ID_APP_EXIT), 0);
        EXPECT_EQ(app.m_pMainWnd, nullptr);
        EXPECT_TRUE(fs::exists(SettingsFile()));
    }
    {
        CQORApp app;
        ASSERT_TRUE(StartApplication(app));
        EXPECT_EQ(app.m_nUses, 2);
        EXPECT_EQ(RunAfter(app, WM_CLOSE, 0), 0);
    }
    CQORApp app;
    ASSERT_TRUE(StartApplication(app));
    EXPECT_EQ(app.m_nUses, 3);
    StopApplication(app);
}

TEST_F(ExitTest, ExitWhileAWorkerComputesACollectionCancelsAndJoinsItBeforeTheSettingsAreWritten)
{
    CQORApp app;
    ASSERT_TRUE(StartApplication(app));
    CQORDoc* doc = CQORDoc::GetActiveDoc();
    ASSERT_NE(doc, nullptr);
    DrivenDialogs driven;
    SendMenuCommand(ID_INSERT_BRIDGES_ALL);
    driven.ThenAs<CLMEParametersDlg>([](CLMEParametersDlg& dlg) { PressOK(dlg); });
    SendMenuCommand(ID_INSERT_AS5100_ALL);
    ASSERT_FALSE(doc->m_vBridgeSet.empty());
    ASSERT_FALSE(doc->m_vLoadModelEnsemble.empty());
    // Every standard set at a fine step: a run of many seconds.
    auto collection = std::make_shared<CReferenceCollection>(1, L"Network", true, 0, 0.01);
    collection->m_vBS = doc->m_vBridgeSet;
    collection->m_vLME = doc->m_vLoadModelEnsemble;
    doc->m_vRefCollection = {collection};
    doc->m_nRefCollectionID = 1;

    driven.ThenAs<CAnalyzeRefCollectionDlg>([](CAnalyzeRefCollectionDlg& dlg) { PressOK(dlg); });
    SendMenuCommand(ID_ANALYSIS_REF_COLLECTION);
    ASSERT_TRUE(doc->m_bBusyRefValues);
    Pump(200); // the worker's progress reaches the frame while the loop runs

    // Exit stops the run first: the save question is the only box, however long it stays up,
    // and its No is the save's; the stopped worker is joined at once.
    ScriptedMessageBoxes boxes;
    boxes.WhenShown([](const qor::MessageBoxCall&) { Pump(300); });
    boxes.Answer(IDNO);
    const auto exiting = std::chrono::steady_clock::now();
    EXPECT_EQ(RunAfter(app, WM_COMMAND, ID_APP_EXIT), 0);
    EXPECT_LT(std::chrono::steady_clock::now() - exiting, std::chrono::seconds(3));
    ASSERT_EQ(boxes.Shown().size(), 1u);
    EXPECT_EQ(boxes.Shown()[0].text.Find(L"Save changes"), 0) << boxes.Shown()[0].text.ToUtf8();
    EXPECT_EQ(CAnalysisJob::LiveCount(), 0);
    EXPECT_TRUE(fs::exists(SettingsFile()));
    EXPECT_FALSE(collection->m_bIsCalculated);
    Pump(50); // late messages of the run find no window
}

// File > Exit with a print preview open: the preview closes first (it deletes itself in the midst of the
// message sent to every window, which then reads nothing of it: the sanitizers watch) and the loop ends.
TEST_F(ExitTest, ExitWithAPreviewOpenClosesItAndEndsTheLoop)
{
    CQORApp app;
    ASSERT_TRUE(StartApplication(app));
    CQORDoc* doc = CQORDoc::GetActiveDoc();
    ASSERT_NE(doc, nullptr);
    ASSERT_NE(doc->OpenGridView(L"Grid"), nullptr);
    Pump();
    app.m_pMainWnd->SendMessage(WM_COMMAND, ID_FILE_PRINT_PREVIEW);
    Pump();
    bool shown = false;
    for (CWnd* child = app.m_pMainWnd->GetWindow(GW_CHILD); child; child = child->GetWindow(GW_HWNDNEXT))
        shown = shown || DYNAMIC_DOWNCAST(CPrintPreviewWnd, child) != nullptr;
    ASSERT_TRUE(shown);
    EXPECT_EQ(RunAfter(app, WM_COMMAND, ID_APP_EXIT), 0);
    EXPECT_EQ(app.m_pMainWnd, nullptr);
}

} // namespace
