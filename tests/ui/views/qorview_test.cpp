// The start view of a new case in the running program: the drawing control across the top 40
// per cent inside the plot gaps, the instructions written at the bottom left, the picture only
// where it fits beside them, and the selection message drawing load models only.
#include "tests/app/app_support.h"

#include "app/MainFrame.h"
#include "app/QORDoc.h"
#include "engine/model/Bridge.h"
#include "engine/model/LoadModel.h"
#include "engine/settings/Settings.h"
#include "platform/test/FrameTest.h"
#include "platform/test/GuiTest.h"
#include "platform/test/PrintTest.h"
#include "ui/dialogs/DrawLoadModelCtrl.h"
#include "ui/views/QORView.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <filesystem>

using namespace qor::test;

namespace {

int RoundHalfAway(double v) { return static_cast<int>(std::lround(v)); }

class StartViewTest : public ::testing::Test
{
protected:
    std::unique_ptr<CQORApp> app;
    void SetUp() override
    {
        const std::filesystem::path home = TempFilePath("home"); // goes with the test program's folder
        UseFreshProfile(home);
        app = std::make_unique<CQORApp>();
        ASSERT_TRUE(StartApplication(*app));
    }
    void TearDown() override { StopApplication(*app); }
    CQORView* View()
    {
        auto* main = DYNAMIC_DOWNCAST(CMainFrame, AfxGetMainWnd());
        return main && main->MDIGetActive() ? DYNAMIC_DOWNCAST(CQORView, main->MDIGetActive()->GetActiveView())
                                            : nullptr;
    }
    // Pixels darker than mid grey inside a client rectangle of the view.
    int DarkPixels(CWnd* w, const CRect& area)
    {
        int n = 0;
        for (int y = area.top; y < area.bottom; ++y)
            for (int x = area.left; x < area.right; ++x)
            {
                COLORREF c = SurfacePixel(w, x, y);
                if (c != 0xFFFFFFFF && GetRValue(c) + GetGValue(c) + GetBValue(c) < 3 * 100) ++n;
            }
        return n;
    }
};

TEST_F(StartViewTest, LayoutInstructionsPictureAndSelection)
{
    CQORView* view = View();
    ASSERT_NE(view, nullptr);
    // The view gets the whole main window.
    auto* main = DYNAMIC_DOWNCAST(CMainFrame, AfxGetMainWnd());
    main->GetElementPane().ShowPane(FALSE, FALSE, FALSE);
    main->GetOutputWnd().ShowPane(FALSE, FALSE, FALSE);
    Pump(20);
    CRect c;
    view->GetClientRect(&c);
    ASSERT_GT(c.Height(), 300);
    const auto& gap = CSettings::GetInstance()->Plot.Gap;
    CDrawLoadModelCtrl* draw = view->GetDrawCtrl();
    ASSERT_NE(draw, nullptr);
    CRect d;
    draw->GetWindowRect(&d);
    view->ScreenToClient(&d);
    EXPECT_EQ(d.left, gap.LEFT);
    EXPECT_EQ(d.top, gap.TOP);
    EXPECT_EQ(d.Width(), c.Width() - gap.RIGHT - gap.LEFT);
    EXPECT_NEAR(d.Height(), 0.4 * c.Height(), 0.51);

    // The instructions: text at the bottom left, nothing written right of them but the picture.
    PaintNow(view);
    EXPECT_GT(DarkPixels(view, CRect(gap.LEFT, c.bottom - 60, gap.LEFT + 200, c.bottom - 5)), 50);
    EXPECT_EQ(DarkPixels(view, CRect(gap.LEFT, d.bottom + 5, gap.LEFT + 200, d.bottom + 20)), 0)
        << "a tall view leaves the space under the drawing free";
    auto skyAt = [&](int y) {
        int n = 0;
        for (int x = 0; x < c.Width(); ++x)
            if (SurfacePixel(view, x, y) == RGB(225, 238, 250)) ++n;
        return n;
    };
    EXPECT_GT(skyAt(c.bottom - 100), 0) << "the picture at the bottom right " << c.Width() << "x" << c.Height();
    EXPECT_EQ(SurfacePixel(view, c.right - 1, c.bottom - 100), RGB(225, 238, 250));

    // Only a load model is drawn; a bridge changes nothing.
    CBridge bridge(1, L"B", 1, 20.0);
    EXPECT_EQ(view->SendMessage(WM_APP + 1, 0, reinterpret_cast<LPARAM>(&bridge)), 0);
    EXPECT_FALSE(draw->GetLoadModel());
    CLoadModel model(1, L"Truck");
    EXPECT_EQ(view->SendMessage(WM_APP + 1, 0, reinterpret_cast<LPARAM>(&model)), 1);
    ASSERT_TRUE(draw->GetLoadModel());
    EXPECT_EQ(draw->GetLoadModel()->m_Description, CString(L"Truck"));
    EXPECT_EQ(view->SendMessage(WM_APP + 1, 0, 0), 0);
    EXPECT_TRUE(draw->GetLoadModel());

    // A narrow view keeps the instructions readable: no picture over them.
    main->GetElementPane().ShowPane(TRUE, FALSE, FALSE);
    view->GetParentFrame()->MoveWindow(0, 0, 300, 640);
    Pump(20);
    PaintNow(view);
    view->GetClientRect(&c);
    EXPECT_EQ(skyAt(c.bottom - 100), 0);

    // A short view (as with large text) shrinks the drawing rather than hide the first instruction lines under it.
    view->GetParentFrame()->MoveWindow(0, 0, 700, 380);
    Pump(20);
    PaintNow(view);
    view->GetClientRect(&c);
    draw->GetWindowRect(&d);
    view->ScreenToClient(&d);
    int firstText = c.bottom;
    for (int y = c.bottom - 1; y >= 0; --y)
        if (DarkPixels(view, CRect(gap.LEFT, y, gap.LEFT + 200, y + 1)) > 0) firstText = y;
    ASSERT_GT(firstText, 0) << "the view is tall enough for all the lines";
    EXPECT_LT(d.Height(), RoundHalfAway(0.4 * c.Height()));
    EXPECT_LE(d.bottom, firstText);
}

} // namespace

// The start page on paper: the instructions as large on the page as on the screen (a 600-dots-an-inch page
// written in the screen's pixel sizes would shrink them to a few hundredths of its height), in black.
TEST_F(StartViewTest, TheInstructionsPrintAsLargeAsTheyShow)
{
    ASSERT_NE(View(), nullptr);
    constexpr int kWidth = 600, kHeight = 848;
    const std::vector<COLORREF> page = PrintedFirstPage([] { SendMenuCommand(ID_FILE_PRINT); }, kWidth, kHeight);
    ASSERT_EQ(page.size(), static_cast<size_t>(kWidth * kHeight));
    int top = kHeight, bottom = -1;
    for (int y = 0; y < kHeight; ++y)
        for (int x = 0; x < kWidth; ++x)
        {
            const COLORREF c = page[static_cast<size_t>(y * kWidth + x)];
            if (GetRValue(c) + GetGValue(c) + GetBValue(c) < 3 * 100) top = std::min(top, y), bottom = y;
        }
    ASSERT_GE(bottom, top) << "nothing printed";
    // Fifteen lines of the message font (some 9 points, a fifth of a line between) take about a quarter of
    // an A4 or Letter page's height.
    EXPECT_GT(bottom - top, kHeight / 6);
}
