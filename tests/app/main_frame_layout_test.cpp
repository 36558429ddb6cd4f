// The main frame's layout kept between runs: bars and panes as the user left them at the last exit; a
// damaged or foreign layout in the profile is passed over.
#include "app_support.h"

#include "app/MainFrame.h"
#include "platform/test/FrameTest.h"
#include "platform/test/GuiTest.h"
#include "res/Resource.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>

namespace fs = std::filesystem;
using namespace qor::test;

namespace {

class MainFrameLayout : public ::testing::Test
{
protected:
    void SetUp() override
    {
        m_home = fs::path(TempFilePath("home"));
        UseFreshProfile(m_home);
    }
    void TearDown() override
    {
        std::error_code ec;
        fs::remove_all(m_home, ec);
    }
    static CMainFrame* Frame() { return DYNAMIC_DOWNCAST(CMainFrame, AfxGetMainWnd()); }
    static CBasePane* InsertBar() { return Frame()->GetPane(IDR_INSERT_TOOLBAR); }

    fs::path m_home;
};

} // namespace

TEST_F(MainFrameLayout, PanesAndToolbarsAreWhereTheUserLeftThemAtTheNextStart)
{
    const CRect floating(300, 200, 700, 450);
    {
        CQORApp app;
        ASSERT_TRUE(StartApplication(app));
        Pump();
        ASSERT_NE(InsertBar(), nullptr);
        EXPECT_EQ(InsertBar()->GetCurrentAlignment(), static_cast<DWORD>(CBRS_ALIGN_TOP));
        EXPECT_EQ(Frame()->GetOutputWnd().GetCurrentAlignment(), static_cast<DWORD>(CBRS_ALIGN_BOTTOM));
        // The user floats the output pane, closes the element pane and puts the Insert toolbar at the left.
        Frame()->GetOutputWnd().FloatPane(floating);
        Frame()->GetElementPane().ShowPane(FALSE, FALSE, FALSE);
        Frame()->DockPane(InsertBar(), AFX_IDW_DOCKBAR_LEFT);
        Pump();
        StopApplication(app);
    }
    {
        CQORApp app;
        ASSERT_TRUE(StartApplication(app));
        Pump();
        EXPECT_TRUE(Frame()->GetOutputWnd().IsFloating());
        CRect area;
        Frame()->GetOutputWnd().GetClientRect(&area);
        EXPECT_NEAR(area.Width(), floating.Width(), 30);
        EXPECT_FALSE(Frame()->GetElementPane().IsVisible());
        EXPECT_EQ(InsertBar()->GetCurrentAlignment(), static_cast<DWORD>(CBRS_ALIGN_LEFT));
        // Back as they were, and so at the start after; a pane left collapsed or as a document starts
        // docked where it came from.
        Frame()->DockPane(&Frame()->GetOutputWnd(), AFX_IDW_DOCKBAR_BOTTOM);
        Frame()->GetElementPane().ShowPane(TRUE, FALSE, FALSE);
        Pump();
        Frame()->GetElementPane().SetAutoHideMode(TRUE);
        Frame()->GetOutputWnd().ConvertToTabbedDocument();
        ASSERT_TRUE(Frame()->GetElementPane().IsAutoHideMode());
        ASSERT_TRUE(Frame()->GetOutputWnd().IsTabbedDocument());
        Pump();
        StopApplication(app);
    }
    CQORApp app;
    ASSERT_TRUE(StartApplication(app));
    Pump();
    EXPECT_FALSE(Frame()->GetOutputWnd().IsFloating());
    EXPECT_EQ(Frame()->GetOutputWnd().GetCurrentAlignment(), static_cast<DWORD>(CBRS_ALIGN_BOTTOM));
    EXPECT_TRUE(Frame()->GetElementPane().IsVisible());
    EXPECT_EQ(Frame()->GetElementPane().GetCurrentAlignment(), static_cast<DWORD>(CBRS_ALIGN_LEFT));
    EXPECT_FALSE(Frame()->GetElementPane().IsAutoHideMode());
    EXPECT_TRUE(Frame()->GetOutputWnd().IsVisible());
    StopApplication(app);
}

TEST_F(MainFrameLayout, ADamagedOrForeignLayoutIsPassedOver)
{
    for (const wchar_t* entry : {L"not a layout at all!", L"AAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAA", L"/////wAAAAH9AAAAAA=="})
    {
        {
            CQORApp app;
            ASSERT_TRUE(StartApplication(app));
            StopApplication(app);
            app.WriteProfileString(L"Workspace", L"DockState", entry);
        }
        CQORApp app;
        ASSERT_TRUE(StartApplication(app)) << "with " << CString(entry).ToUtf8();
        Pump();
        EXPECT_TRUE(Frame()->GetElementPane().IsVisible());
        EXPECT_EQ(Frame()->GetOutputWnd().GetCurrentAlignment(), static_cast<DWORD>(CBRS_ALIGN_BOTTOM));
        StopApplication(app);
    }
}

namespace {

// A 24-bit bitmap file of two 16 x 16 pictures side by side: red, then blue.
std::string TwoPictureBitmap()
{
    const int width = 32, height = 16, row = width * 3, pixels = row * height;
    std::string bmp;
    auto put = [&bmp](uint32_t value, int bytes) {
        for (int i = 0; i < bytes; ++i) bmp.push_back(static_cast<char>((value >> (8 * i)) & 0xFF));
    };
    bmp += "BM";
    put(14 + 40 + pixels, 4);
    put(0, 4);
    put(14 + 40, 4);
    put(40, 4);
    put(width, 4);
    put(height, 4);
    put(1, 2);
    put(24, 2);
    put(0, 4);
    put(pixels, 4);
    put(2835, 4);
    put(2835, 4);
    put(0, 4);
    put(0, 4);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
        {
            // Each pixel blue, green, red: 0xRRGGBB written low byte first.
            if (x < 16)
                put(0xFF0000, 3);
            else
                put(0x0000FF, 3);
        }
    return bmp;
}

} // namespace

TEST_F(MainFrameLayout, UserImagesComeFromTheCurrentFolderAndAMissingOrOversizedFileIsNoFault)
{
    const fs::path folder = m_home / "work";
    fs::create_directories(folder);
    const fs::path before = fs::current_path();
    fs::current_path(folder);
    const fs::path file = folder / "UserImages.bmp";
    auto startAndLook = [](int expectedPictures) {
        CQORApp app;
        ASSERT_TRUE(StartApplication(app));
        CMFCToolBarImages* images = CMFCToolBar::GetUserImages();
        if (expectedPictures == 0)
            EXPECT_EQ(images, nullptr);
        else
        {
            ASSERT_NE(images, nullptr);
            EXPECT_EQ(images->GetCount(), expectedPictures);
            EXPECT_EQ(images->GetPixel(0, 3, 3), RGB(255, 0, 0));
            EXPECT_EQ(images->GetPixel(1, 3, 3), RGB(0, 0, 255));
        }
        StopApplication(app);
        EXPECT_EQ(CMFCToolBar::GetUserImages(), nullptr) << "the pictures went with the frame";
    };
    // None there: the frame starts without user pictures.
    startAndLook(0);
    // A good file: two pictures.
    {
        std::ofstream(file, std::ios::binary) << TwoPictureBitmap();
    }
    startAndLook(2);
    // A button given one of them keeps it at the next start.
    {
        CQORApp app;
        ASSERT_TRUE(StartApplication(app));
        auto* bar = DYNAMIC_DOWNCAST(CMFCToolBar, Frame()->GetPane(AFX_IDW_TOOLBAR));
        ASSERT_NE(bar, nullptr);
        bar->SetButtonUserImage(0, 1);
        StopApplication(app);
    }
    {
        CQORApp app;
        ASSERT_TRUE(StartApplication(app));
        EXPECT_EQ(DYNAMIC_DOWNCAST(CMFCToolBar, Frame()->GetPane(AFX_IDW_TOOLBAR))->GetButtonUserImage(0), 1);
        StopApplication(app);
    }
    // Larger than 819200 bytes: not read.
    {
        std::ofstream out(file, std::ios::binary);
        out << TwoPictureBitmap() << std::string(819200, '\0');
    }
    startAndLook(0);
    // Not a bitmap: not read.
    {
        std::ofstream(file, std::ios::binary) << "not a bitmap";
    }
    startAndLook(0);
    fs::current_path(before);
}
