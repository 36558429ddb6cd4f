// The main frame's layout kept between runs: bars and panes as the user left them at the last exit; a
// damaged or foreign layout in the profile is passed over.
#include "app_support.h"

#include "app/MainFrame.h"
#include "platform/test/FrameTest.h"
#include "platform/test/GuiTest.h"
#include "res/Resource.h"

#include <gtest/gtest.h>

#include <filesystem>

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
        // Back as they were, and so at the start after.
        Frame()->DockPane(&Frame()->GetOutputWnd(), AFX_IDW_DOCKBAR_BOTTOM);
        Frame()->GetElementPane().ShowPane(TRUE, FALSE, FALSE);
        Pump();
        StopApplication(app);
    }
    CQORApp app;
    ASSERT_TRUE(StartApplication(app));
    Pump();
    EXPECT_FALSE(Frame()->GetOutputWnd().IsFloating());
    EXPECT_EQ(Frame()->GetOutputWnd().GetCurrentAlignment(), static_cast<DWORD>(CBRS_ALIGN_BOTTOM));
    EXPECT_TRUE(Frame()->GetElementPane().IsVisible());
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
