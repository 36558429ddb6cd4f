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

class MainFrameLayout : public FreshProfileTest
{
protected:
    static CBasePane* InsertBar() { return Frame()->GetPane(IDR_INSERT_TOOLBAR); }
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
    EXPECT_EQ(Frame()->GetElementPane().GetCurrentAlignment(), static_cast<DWORD>(CBRS_ALIGN_LEFT));
    EXPECT_TRUE(Frame()->GetOutputWnd().IsVisible());
    StopApplication(app);
}

TEST_F(MainFrameLayout, APaneLeftCollapsedOrAsADocumentIsSoAtTheNextStart)
{
    CRect docked;
    {
        CQORApp app;
        ASSERT_TRUE(StartApplication(app));
        Pump();
        CElementView& elements = Frame()->GetElementPane();
        elements.GetClientRect(&docked);
        ASSERT_GT(docked.Width(), 50);
        // The user unpins the element pane and makes the output pane a document, from its pane menu.
        elements.OnPinButton();
        Frame()->GetOutputWnd().SendMessage(WM_COMMAND, ID_AFXBARRES_TABBED, 0);
        Pump();
        ASSERT_TRUE(elements.IsAutoHideMode());
        ASSERT_TRUE(Frame()->GetOutputWnd().IsTabbedDocument());
        StopApplication(app);
    }
    {
        CQORApp app;
        ASSERT_TRUE(StartApplication(app));
        Pump();
        CElementView& elements = Frame()->GetElementPane();
        EXPECT_TRUE(elements.IsAutoHideMode());
        EXPECT_FALSE(elements.IsVisible());
        EXPECT_TRUE(Frame()->GetOutputWnd().IsTabbedDocument());
        EXPECT_TRUE(Frame()->GetOutputWnd().IsVisible());
        // Its tab slides it out at its side, as wide as it was docked.
        elements.Slide(TRUE, FALSE);
        CRect out;
        PumpUntil([&] {
            elements.GetClientRect(&out);
            return out.Width() >= docked.Width() - 4;
        });
        EXPECT_NEAR(out.Width(), docked.Width(), 4);
        CRect pane, frame;
        elements.GetWindowRect(&pane);
        Frame()->GetWindowRect(&frame);
        EXPECT_LT(pane.left - frame.left, 80) << "out from the left side";
        // Pinned and docked again, it stays so; its tab's bar goes, and it stands at the frame's edge.
        elements.OnPinButton();
        Frame()->GetOutputWnd().SendMessage(WM_COMMAND, ID_AFXBARRES_DOCKING, 0);
        Pump(50);
        CRect pinned, client;
        elements.GetWindowRect(&pinned);
        Frame()->GetClientRect(&client);
        Frame()->ClientToScreen(&client);
        EXPECT_LT(pinned.left - client.left, 8);
        StopApplication(app);
    }
    CQORApp app;
    ASSERT_TRUE(StartApplication(app));
    Pump();
    EXPECT_FALSE(Frame()->GetElementPane().IsAutoHideMode());
    EXPECT_TRUE(Frame()->GetElementPane().IsVisible());
    EXPECT_EQ(Frame()->GetElementPane().GetCurrentAlignment(), static_cast<DWORD>(CBRS_ALIGN_LEFT));
    EXPECT_FALSE(Frame()->GetOutputWnd().IsTabbedDocument());
    EXPECT_EQ(Frame()->GetOutputWnd().GetCurrentAlignment(), static_cast<DWORD>(CBRS_ALIGN_BOTTOM));
    StopApplication(app);
}

TEST_F(MainFrameLayout, TheSettingsPaneOpensWhereTheUserLeftIt)
{
    auto openSettings = [] {
        SendMenuCommand(ID_TOOLS_OPTIONS);
        Pump();
        return &Frame()->GetSettingsPane();
    };
    const CRect floating(250, 150, 650, 650);
    {
        CQORApp app;
        ASSERT_TRUE(StartApplication(app));
        CSettingsWnd* settings = openSettings();
        ASSERT_NE(settings->m_hWnd, nullptr);
        EXPECT_EQ(settings->GetCurrentAlignment(), static_cast<DWORD>(CBRS_ALIGN_RIGHT));
        // The user moves it to the bottom.
        Frame()->DockPane(settings, AFX_IDW_DOCKBAR_BOTTOM);
        Pump();
        StopApplication(app);
    }
    {
        CQORApp app;
        ASSERT_TRUE(StartApplication(app));
        // Made on first use, as always, but where the user left it.
        EXPECT_EQ(Frame()->GetSettingsPane().m_hWnd, nullptr);
        CSettingsWnd* settings = openSettings();
        EXPECT_TRUE(settings->IsVisible());
        EXPECT_EQ(settings->GetCurrentAlignment(), static_cast<DWORD>(CBRS_ALIGN_BOTTOM));
        settings->FloatPane(floating);
        Pump();
        StopApplication(app);
    }
    {
        // A run that does not open it keeps its place.
        CQORApp app;
        ASSERT_TRUE(StartApplication(app));
        Pump();
        StopApplication(app);
    }
    {
        CQORApp app;
        ASSERT_TRUE(StartApplication(app));
        CSettingsWnd* settings = openSettings();
        EXPECT_TRUE(settings->IsVisible());
        EXPECT_TRUE(settings->IsFloating());
        CRect area;
        settings->GetClientRect(&area);
        EXPECT_NEAR(area.Width(), floating.Width(), 30);
        EXPECT_NEAR(area.Height(), floating.Height(), 60);
        // Left collapsed at the left, it comes back collapsed there and slides out when opened.
        Frame()->DockPane(settings, AFX_IDW_DOCKBAR_LEFT);
        Pump();
        settings->OnPinButton();
        Pump();
        ASSERT_TRUE(settings->IsAutoHideMode());
        StopApplication(app);
    }
    CQORApp app;
    ASSERT_TRUE(StartApplication(app));
    Pump();
    CSettingsWnd* settings = openSettings();
    EXPECT_TRUE(settings->IsAutoHideMode());
    EXPECT_TRUE(settings->IsVisible());
    CRect pane, frame;
    settings->GetWindowRect(&pane);
    Frame()->GetWindowRect(&frame);
    EXPECT_LT(pane.left - frame.left, frame.Width() / 2) << "out from the left side";
    StopApplication(app);
}

TEST_F(MainFrameLayout, ADamagedOrForeignLayoutIsPassedOver)
{
    const wchar_t* panes[] = {L"133:autohide", L"133:sideways:5", L"zero:document", L"149:document;;x"};
    int round = 0;
    for (const wchar_t* entry :
         {L"not a layout at all!", L"AAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAA", L"/////wAAAAH9AAAAAA==", L""})
    {
        {
            CQORApp app;
            ASSERT_TRUE(StartApplication(app));
            StopApplication(app);
            app.WriteProfileString(L"Workspace", L"DockState", entry);
            app.WriteProfileString(L"Workspace", L"DockPanes", panes[round++]);
        }
        CQORApp app;
        ASSERT_TRUE(StartApplication(app)) << "with " << CString(entry).ToUtf8();
        Pump();
        EXPECT_TRUE(Frame()->GetElementPane().IsVisible());
        EXPECT_FALSE(Frame()->GetElementPane().IsAutoHideMode());
        EXPECT_FALSE(Frame()->GetOutputWnd().IsTabbedDocument());
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
