// Window DCs: CPaintDC clips to the update rectangle; a client DC may draw at any time
// (an XOR band drawn twice leaves the surface as it was).
#include "tests/platform/gui/draw/gdi_support.h"

#include <utility>
#include <vector>

using namespace gdi_test;

namespace {

class CPaintProbe : public CWnd
{
public:
    CRect clipBox;
    int paints = 0;
    void OnPaint()
    {
        CPaintDC dc(this);
        ++paints;
        dc.GetClipBox(&clipBox);
        CRect all;
        GetClientRect(&all);
        dc.FillSolidRect(&all, RGB(0, 128, 0));
    }
    DECLARE_MESSAGE_MAP()
};
BEGIN_MESSAGE_MAP(CPaintProbe, CWnd)
ON_WM_PAINT()
END_MESSAGE_MAP()

} // namespace

TEST(GdiWindow, PaintDcClipsToTheUpdateRectAndClientDcDrawsAnyTime)
{
    qor::test::EnsureGuiApplication();
    CWnd top;
    ASSERT_TRUE(top.CreateEx(0, nullptr, L"top", WS_POPUP | WS_VISIBLE, CRect(0, 0, 200, 200), nullptr, 0));
    CPaintProbe w;
    ASSERT_TRUE(w.Create(nullptr, nullptr, WS_CHILD | WS_VISIBLE, CRect(0, 0, 80, 60), &top, 1));
    w.UpdateWindow();
    ASSERT_GE(w.paints, 1);
    EXPECT_EQ(qor::test::SurfacePixel(&w, 79, 59), RGB(0, 128, 0));

    {
        CClientDC dc(&w);
        dc.FillSolidRect(0, 0, 80, 60, kWhite);
    }
    w.InvalidateRect(CRect(10, 10, 20, 30), FALSE);
    w.UpdateWindow();
    EXPECT_EQ(w.clipBox, CRect(10, 10, 20, 30));
    EXPECT_EQ(qor::test::CountSurfacePixels(&w, CRect(0, 0, 80, 60), RGB(0, 128, 0)), 200);

    // A resize band: XOR drawn and taken away again through client DCs.
    for (int i = 0; i < 2; ++i)
    {
        CDC* dc = w.GetDC();
        ASSERT_NE(dc, nullptr);
        dc->SetROP2(R2_NOT);
        dc->MoveTo(40, 0);
        dc->LineTo(40, 60);
        if (i == 0)
        {
            EXPECT_EQ(dc->GetPixel(40, 5), kBlack);
        }
        w.ReleaseDC(dc);
    }
    EXPECT_EQ(qor::test::CountSurfacePixels(&w, CRect(30, 0, 50, 60), kWhite), 20 * 60);
}

// On a screen of pixel ratio 2 the surface holds twice the pixels each way and the window
// still draws in its own (logical) pixels: a one-pixel line is two device pixels wide, text
// is drawn at the device resolution, and an off-screen bitmap made compatible with the
// window keeps that resolution when copied in.
TEST(GdiWindow, SurfaceAtPixelRatioTwoDrawsAtTheDeviceResolution)
{
    qor::test::EnsureGuiApplication();
    qor::test::TestPixelRatio ratio(2.0);
    CWnd w;
    ASSERT_TRUE(w.CreateEx(0, nullptr, L"hi", WS_POPUP | WS_VISIBLE, CRect(0, 0, 120, 80), nullptr, 0));
    EXPECT_EQ(qor::test::SurfaceSize(&w), CSize(120, 80));
    EXPECT_EQ(qor::test::SurfaceDeviceSize(&w), CSize(240, 160));
    auto device = [&](int x, int y) { return qor::test::SurfaceDevicePixel(&w, x, y); };
    {
        CClientDC dc(&w);
        dc.FillSolidRect(0, 0, 120, 80, kWhite);
        CPen pen(PS_SOLID, 1, kRed);
        CPen* old = dc.SelectObject(&pen);
        dc.MoveTo(10, 20);
        dc.LineTo(50, 20);
        dc.MoveTo(70, 10);
        dc.LineTo(70, 40);
        dc.SelectObject(old);
        EXPECT_EQ(dc.GetPixel(30, 20), kRed);
        EXPECT_EQ(dc.GetPixel(30, 21), kWhite);
    }
    for (int y : {40, 41}) EXPECT_EQ(device(60, y), kRed) << y;
    for (int y : {39, 42}) EXPECT_EQ(device(60, y), kWhite) << y;
    for (int x : {140, 141}) EXPECT_EQ(device(x, 50), kRed) << x;
    for (int x : {139, 142}) EXPECT_EQ(device(x, 50), kWhite) << x;

    // Text: an upscaled picture would have every 2 x 2 block of one colour.
    auto finerThanLogical = [&](const CRect& area) {
        for (int y = area.top; y < area.bottom; ++y)
            for (int x = area.left; x < area.right; ++x)
            {
                const COLORREF c = device(2 * x, 2 * y);
                if (device(2 * x + 1, 2 * y) != c || device(2 * x, 2 * y + 1) != c || device(2 * x + 1, 2 * y + 1) != c)
                    return true;
            }
        return false;
    };
    {
        CClientDC dc(&w);
        dc.SetBkMode(TRANSPARENT);
        dc.TextOut(10, 50, L"Sharp");
    }
    EXPECT_TRUE(finerThanLogical(CRect(10, 50, 60, 70)));

    // Off-screen drawing copied in.
    {
        CClientDC dc(&w);
        CDC mem;
        ASSERT_TRUE(mem.CreateCompatibleDC(&dc));
        CBitmap bm;
        ASSERT_TRUE(bm.CreateCompatibleBitmap(&dc, 40, 20));
        EXPECT_EQ(bm.GetBitmapDimension(), CSize(40, 20));
        CBitmap* oldBm = mem.SelectObject(&bm);
        mem.FillSolidRect(0, 0, 40, 20, kWhite);
        mem.SetBkMode(TRANSPARENT);
        mem.TextOut(2, 2, L"Off");
        dc.BitBlt(70, 55, 40, 20, &mem, 0, 0, SRCCOPY);
        mem.SelectObject(oldBm);
    }
    EXPECT_TRUE(finerThanLogical(CRect(70, 55, 110, 75)));
}

// At a fractional ratio every one-pixel line is equally thick (whole device pixels), wherever
// it falls on the device grid.
TEST(GdiWindow, OnePixelLinesKeepOneThicknessAtFractionalRatios)
{
    qor::test::EnsureGuiApplication();
    for (double r : {1.25, 1.5})
    {
        qor::test::TestPixelRatio ratio(r);
        CWnd w;
        ASSERT_TRUE(w.CreateEx(0, nullptr, L"frac", WS_POPUP | WS_VISIBLE, CRect(0, 0, 60, 60), nullptr, 0));
        {
            CClientDC dc(&w);
            dc.FillSolidRect(0, 0, 60, 60, kWhite);
            CPen pen(PS_SOLID, 0, kRed);
            CPen* old = dc.SelectObject(&pen);
            for (int y = 10; y < 50; y += 3)
            {
                dc.MoveTo(5, y);
                dc.LineTo(40, y);
            }
            dc.SelectObject(old);
        }
        std::vector<int> runs;
        int run = 0;
        for (int y = 0; y < qor::test::SurfaceDeviceSize(&w).cy; ++y)
        {
            if (qor::test::SurfaceDevicePixel(&w, 20, y) == kRed)
                ++run;
            else if (run)
                runs.push_back(std::exchange(run, 0));
        }
        ASSERT_EQ(runs.size(), 14u) << r;
        for (int n : runs) EXPECT_EQ(n, 1) << r;
    }
}

// Arcs, pies and rounded rectangles outline with a one-pixel pen as thick as the other shapes
// on a finer surface: one window pixel, two device pixels at ratio 2.
TEST(GdiWindow, CurvedOutlinesAreOneWindowPixelThickAtPixelRatioTwo)
{
    qor::test::EnsureGuiApplication();
    qor::test::TestPixelRatio ratio(2.0);
    CWnd w;
    ASSERT_TRUE(w.CreateEx(0, nullptr, L"curves", WS_POPUP | WS_VISIBLE, CRect(0, 0, 160, 60), nullptr, 0));
    {
        CClientDC dc(&w);
        dc.FillSolidRect(0, 0, 160, 60, kWhite);
        CPen pen(PS_SOLID, 1, kRed);
        CPen* old = dc.SelectObject(&pen);
        dc.Arc(10, 10, 50, 50, 50, 30, 10, 30); // upper half, counter-clockwise from the right
        dc.RoundRect(60, 10, 100, 50, 8, 8);
        dc.Pie(110, 10, 150, 50, 150, 30, 110, 30);
        dc.SelectObject(old);
    }
    // Down through the top of each shape at its middle.
    for (int cx : {30, 80, 130})
    {
        int red = 0;
        for (int y = 2 * 10 - 3; y < 2 * 10 + 6; ++y)
            if (qor::test::SurfaceDevicePixel(&w, 2 * cx, y) == kRed) ++red;
        EXPECT_EQ(red, 2) << cx;
    }
}
