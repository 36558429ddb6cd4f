// What the tests of the running program share: the program's profile and settings folders in a place of
// the test's own, and a fixture that runs the application with a new case open.
#pragma once

#include "app/MainFrame.h"
#include "app/QORApp.h"
#include "app/QORDoc.h"
#include "engine/settings/Settings.h"
#include "platform/test/FrameTest.h"
#include "platform/test/GuiTest.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

namespace qor::test {

// The bytes of a file (none where it cannot be read).
inline std::string ReadAll(const std::filesystem::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// Points the program's profile, configuration and data folders into home.
// A copy of a case of tests/data in the test program's own folder, for a test that opens, changes and may save
// it: the source tree's file is never written (nor could be, by a user who may only read it).
// The folder is QOR_TEST_DATA, else `otherwise`.
inline CString CopyOfTestCase(const std::string& name, const char* otherwise = ".")
{
    const char* folder = std::getenv("QOR_TEST_DATA");
    const std::filesystem::path copy = qor::test::TempFilePath(name);
    std::error_code ec;
    std::filesystem::copy_file(std::filesystem::path(folder ? folder : otherwise) / name, copy,
                               std::filesystem::copy_options::overwrite_existing, ec);
    EXPECT_FALSE(ec) << name << ": " << ec.message();
    return CString::FromUtf8(copy.string());
}

inline void UseHome(const std::filesystem::path& home)
{
    setenv("HOME", home.c_str(), 1);
    setenv("XDG_CONFIG_HOME", (home / "config").c_str(), 1);
    setenv("XDG_DATA_HOME", (home / "data").c_str(), 1);
}

// A fresh profile in home for a test that starts the application itself: the folder made, the program's
// folders pointed into it and the settings at their defaults.
inline void UseFreshProfile(const std::filesystem::path& home)
{
    // Fresh: nothing an earlier run left there (a kept layout, recent files) reaches this one.
    std::error_code ec;
    std::filesystem::remove_all(home, ec);
    std::filesystem::create_directories(home);
    UseHome(home);
    CSettings::GetInstance()->SetDefaults();
}

// A test that starts and ends the program itself, maybe several times, on a profile of its own made
// fresh for it (the frame's kept layout and toolbars among what it leaves there).
class FreshProfileTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        m_home = std::filesystem::path(TempFilePath("home"));
        UseFreshProfile(m_home);
    }
    void TearDown() override
    {
        std::error_code ec;
        std::filesystem::remove_all(m_home, ec);
    }
    static CMainFrame* Frame() { return DYNAMIC_DOWNCAST(CMainFrame, AfxGetMainWnd()); }

    std::filesystem::path m_home;
};

// The program's folders in a fresh temporary place, made once a test program, so that its profile and
// settings file are its own (it goes with the test program's temporary folder).
inline void UseTemporaryHome()
{
    static const std::string home = [] {
        const std::string dir = TempFilePath("home");
        std::filesystem::create_directories(dir);
        UseHome(dir);
        return dir;
    }();
}

// The application running with its new case open (doc) for the length of a test.
class RunningCase : public ::testing::Test
{
protected:
    CQORApp app;
    CQORDoc* doc = nullptr;
    bool running = false;

    void SetUp() override
    {
        UseTemporaryHome();
        ASSERT_TRUE(StartApplication(app));
        running = true;
        doc = CQORDoc::GetActiveDoc();
        ASSERT_NE(doc, nullptr);
    }
    void TearDown() override
    {
        if (running) StopApplication(app);
    }
};

// The running case with its main frame, for tests of runs on workers: the workers are waited for at the end.
class RunningFrame : public RunningCase
{
protected:
    void SetUp() override
    {
        RunningCase::SetUp();
        if (HasFatalFailure()) return;
        frame = DYNAMIC_DOWNCAST(CMainFrame, AfxGetMainWnd());
        ASSERT_NE(frame, nullptr);
    }
    void TearDown() override
    {
        Pump(50);
        RunningCase::TearDown();
        CAnalysisJobs::WaitForWorkers();
        Pump(50);
    }

    CMainFrame* frame = nullptr;
};

} // namespace qor::test
