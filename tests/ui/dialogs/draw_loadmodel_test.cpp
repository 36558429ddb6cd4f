// The load-model drawing read back from the control's retained surface: scale, baseline, arrow lengths in proportion to
// the loads, arrow directions, short models, narrow windows.
#include "ui/dialogs/DrawLoadModelCtrl.h"

#include "engine/model/LoadModel.h"
#include "engine/settings/Settings.h"
#include "platform/test/GuiTest.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>
#include <vector>

namespace {

constexpr COLORREF kBackground = RGB(250, 240, 200);
constexpr COLORREF kBaseline = RGB(0, 0, 0);
constexpr COLORREF kGrid = RGB(160, 160, 160);
constexpr COLORREF kAxle = RGB(255, 0, 0);
constexpr COLORREF kUniform = RGB(0, 160, 0);
constexpr COLORREF kWheel = RGB(128, 0, 128);

class DrawLoadModel : public ::testing::Test
{
protected:
    void SetUp() override
    {
        qor::test::EnsureGuiApplication();
        auto& c = CSettings::GetInstance()->General.LoadModel;
        c.CLR_LM_BGRND = kBackground;
        c.CLR_LM_BASELINE = kBaseline;
        c.CLR_LM_GRIDLINE = kGrid;
        c.CLR_LM_PL = kAxle;
        c.CLR_LM_UDL = kUniform;
        c.CLR_LM_WHEEL = kWheel;
        ASSERT_TRUE(m_Top.CreateEx(0, nullptr, L"top", WS_POPUP | WS_VISIBLE, CRect(0, 0, 600, 300), nullptr, 0));
    }
    void TearDown() override { CSettings::GetInstance()->SetDefaults(); }

    // A control of the given client size showing the model, painted.
    CDrawLoadModelCtrl& Show(std::shared_ptr<CLoadModel> model, int cx, int cy)
    {
        m_Ctrl = std::make_unique<CDrawLoadModelCtrl>();
        EXPECT_TRUE(
            m_Ctrl->Create(DRAWCTRL_CLASSNAME, nullptr, WS_CHILD | WS_VISIBLE, CRect(0, 0, cx, cy), &m_Top, 1033));
        m_Ctrl->SetLoadModel(std::move(model));
        m_Ctrl->SetBkColor(CSettings::GetInstance()->General.LoadModel.CLR_LM_BGRND);
        m_Ctrl->Redraw();
        m_Ctrl->UpdateWindow();
        return *m_Ctrl;
    }
    COLORREF At(int x, int y) { return qor::test::SurfacePixel(m_Ctrl.get(), x, y); }
    // Rows of the pixels of a colour in a column, top to bottom.
    std::vector<int> RowsOf(int x, COLORREF colour)
    {
        std::vector<int> rows;
        const CSize size = qor::test::SurfaceSize(m_Ctrl.get());
        for (int y = 0; y < size.cy; ++y)
            if (At(x, y) == colour) rows.push_back(y);
        return rows;
    }
    int Count(const CRect& area, COLORREF colour) { return qor::test::CountSurfacePixels(m_Ctrl.get(), area, colour); }

    CWnd m_Top;
    std::unique_ptr<CDrawLoadModelCtrl> m_Ctrl;
};

std::shared_ptr<CLoadModel> TwoAxles()
{
    auto model = std::make_shared<CLoadModel>(1, L"Two axles");
    model->AddPointLoad(100.0, 0.0, 0.0);
    model->AddPointLoad(50.0, -10.0, 0.0);
    return model;
}

} // namespace

// 10 m long: margins of 3 m, 16 m across 480 pixels (30 px/m); the half height is 100 px, so the gap under the arrows
// is 20 px and the 100 kN arrow is 100 px long.
TEST_F(DrawLoadModel, TwoAxlesAreDrawnToScaleWithArrowsInProportionToTheirLoads)
{
    Show(TwoAxles(), 480, 200);

    // Baseline 10 px above the bottom, across the width.
    EXPECT_EQ(At(200, 190), kBaseline);
    EXPECT_EQ(At(20, 190), kBaseline);
    EXPECT_NE(At(200, 189), kBaseline);

    // Front axle one margin (90 px) inside the right edge, the rear one 300 px behind it.
    const std::vector<int> front = RowsOf(390, kAxle);
    const std::vector<int> rear = RowsOf(90, kAxle);
    ASSERT_FALSE(front.empty());
    ASSERT_FALSE(rear.empty());
    EXPECT_NEAR(front.front(), 190 - 20 - 100, 1);
    EXPECT_NEAR(rear.front(), 190 - 20 - 50, 1);
    // Both heads rest on the top of the wheels.
    EXPECT_NEAR(front.back(), 170, 1);
    EXPECT_NEAR(rear.back(), 170, 1);
    EXPECT_TRUE(RowsOf(240, kAxle).empty());

    // Wheels of 20 px under each axle, with a hub in the background colour.
    EXPECT_EQ(At(390 - 8, 180), kWheel);
    EXPECT_EQ(At(390, 180), RGB(255, 255, 255));

    // A metre grid: lines every 30 px through the front axle.
    EXPECT_GE(Count(CRect(360, 100, 361, 185), kGrid), 10);
    EXPECT_EQ(Count(CRect(375, 100, 376, 185), kGrid), 0);
}

TEST_F(DrawLoadModel, NegativeUniformLoadPointsUpAndPositiveDown)
{
    // Uniform loads alone have no length: 2 m margins, 4 m across 400 px; the greater load stands 60 px high, its
    // arrows every 20 px.
    auto model = std::make_shared<CLoadModel>(1, L"Lane");
    model->AddUDL(-10.0);
    Show(model, 400, 200);
    ASSERT_EQ(At(150, 130), kUniform);
    // Heads at the top: wide near the line, a single pixel near the baseline.
    EXPECT_GE(Count(CRect(195, 132, 206, 150), kUniform), 3 * 18);
    EXPECT_LE(Count(CRect(195, 170, 206, 189), kUniform), 19);

    model = std::make_shared<CLoadModel>(2, L"Mixed");
    model->AddUDL(10.0);
    model->AddUDL(-5.0);
    Show(model, 400, 200);
    EXPECT_EQ(At(150, 130), kUniform);
    EXPECT_EQ(At(150, 160), kUniform);
    // The downward load has its heads at the baseline; the upward one, half as high, still stands above the baseline
    // with its heads at its top.
    EXPECT_GE(Count(CRect(195, 171, 206, 189), kUniform), 3 * 18);
    EXPECT_GE(Count(CRect(195, 161, 206, 168), kUniform), 3 * 7);
    EXPECT_TRUE(RowsOf(200, kUniform).back() <= 190);
}

TEST_F(DrawLoadModel, SingleAxleGetsTwoMetreMarginsAndZeroLoadsNoArrows)
{
    auto model = std::make_shared<CLoadModel>(1, L"Axle");
    model->AddPointLoad(100.0, 0.0, 0.0);
    Show(model, 400, 200);
    // 4 m across 400 px: the axle in the middle.
    const std::vector<int> axle = RowsOf(200, kAxle);
    ASSERT_FALSE(axle.empty());
    EXPECT_NEAR(axle.front(), 190 - 20 - 100, 1);

    model = std::make_shared<CLoadModel>(2, L"Nothing");
    model->AddPointLoad(0.0, 0.0, 0.0);
    model->AddUDL(0.0);
    Show(model, 400, 200);
    EXPECT_EQ(Count(CRect(2, 2, 398, 198), kAxle), 0);
    EXPECT_EQ(Count(CRect(2, 2, 398, 190), kUniform), 0);
    EXPECT_EQ(At(100, 190), kUniform); // the line lies on the baseline
}

TEST_F(DrawLoadModel, WithoutModelOrClientAreaOnlyTheBackgroundOrNothingIsDrawn)
{
    Show(nullptr, 300, 150);
    EXPECT_EQ(Count(CRect(2, 2, 298, 148), kBackground), 296 * 146);

    Show(TwoAxles(), 0, 0);
    EXPECT_EQ(qor::test::SurfaceSize(m_Ctrl.get()), CSize(0, 0));
    m_Ctrl->MoveWindow(0, 0, 120, 0);
    m_Ctrl->Redraw();
    m_Ctrl->UpdateWindow();
    m_Ctrl->MoveWindow(0, 0, 120, 80);
    m_Ctrl->Redraw();
    m_Ctrl->UpdateWindow();
    EXPECT_EQ(At(60, 70), kBaseline);
}

TEST_F(DrawLoadModel, NarrowWindowsSpaceTheLabelsWiderSoNoneOverlaps)
{
    // 16 m across 60 px: 3.75 px a metre.
    Show(TwoAxles(), 60, 300);
    std::vector<int> lines;
    for (int x = 2; x < 58; ++x)
        if (Count(CRect(x, 150, x + 1, 280), kGrid) >= 10) lines.push_back(x);
    ASSERT_GE(lines.size(), 2u);

    CClientDC dc(m_Ctrl.get());
    CFont* font = m_Ctrl->GetFont();
    if (font == nullptr) font = CFont::FromHandle(static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT)));
    CFont* old = dc.SelectObject(font);
    const int labelWidth = dc.GetTextExtent(CString(L"-16")).cx;
    dc.SelectObject(old);

    for (size_t i = 1; i < lines.size(); ++i)
    {
        const int spacing = lines[i] - lines[i - 1];
        EXPECT_GE(spacing + 1, labelWidth);
        // The smallest whole number of metres that fits.
        EXPECT_LT(spacing - 3.75 - 1, labelWidth);
    }
}

TEST_F(DrawLoadModel, LabelsOfLinesAtTheSidesAreDrawnWholeInside)
{
    // A uniform load alone: 2 m margins, so the lines of -2 and 2 stand on the left and right sides.
    auto model = std::make_shared<CLoadModel>(1, L"Lane");
    model->AddUDL(10.0);
    Show(model, 400, 200);
    CClientDC dc(m_Ctrl.get());
    CFont* font = m_Ctrl->GetFont();
    if (font == nullptr) font = CFont::FromHandle(static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT)));
    CFont* old = dc.SelectObject(font);
    const int width = dc.GetTextExtent(CString(L"-2")).cx;
    dc.SelectObject(old);

    // Columns written in the label row near each side, inside the 2-pixel edge.
    auto inked = [&](int from, int to) {
        std::vector<int> columns;
        for (int x = from; x < to; ++x)
            for (int y = 2; y < 30; ++y)
                if (At(x, y) != kBackground)
                {
                    columns.push_back(x);
                    break;
                }
        return columns;
    };
    const std::vector<int> left = inked(2, 45);
    ASSERT_FALSE(left.empty());
    EXPECT_GE(left.back() - left.front() + 1, width - 3) << "the whole of \"-2\" at the left side";
    const std::vector<int> right = inked(355, 398);
    ASSERT_FALSE(right.empty());
    EXPECT_GE(right.back() - right.front() + 1, dc.GetTextExtent(CString(L"2")).cx - 3) << "and of \"2\" at the right";
    EXPECT_LE(right.back(), 397);
}
