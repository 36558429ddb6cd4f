// Lines, rectangles, ellipses, polygons, fills, edges and raster operations, checked on the
// pixels of a memory DC.
#include "tests/platform/gui/draw/gdi_support.h"

using namespace gdi_test;

TEST(GdiShapes, RectangleCoversLeftTopAndExcludesRightBottom)
{
    Canvas c(16, 16);
    CBrush red(kRed);
    CBrush* oldBrush = c.dc.SelectObject(&red);
    ASSERT_TRUE(c.dc.Rectangle(0, 0, 10, 10));
    c.dc.SelectObject(oldBrush);
    // Outline with the default black pen on x/y 0 and 9, interior red, nothing at 10.
    for (int i = 0; i < 10; ++i)
    {
        EXPECT_EQ(c.At(i, 0), kBlack) << i << c.Dump(CRect(0, 0, 12, 12));
        EXPECT_EQ(c.At(i, 9), kBlack) << i;
        EXPECT_EQ(c.At(0, i), kBlack) << i;
        EXPECT_EQ(c.At(9, i), kBlack) << i;
        EXPECT_EQ(c.At(10, i), kWhite) << i;
        EXPECT_EQ(c.At(i, 10), kWhite) << i;
    }
    EXPECT_EQ(c.Count(CRect(1, 1, 9, 9), kRed), 64);
}

TEST(GdiShapes, RectangleWithNullPenIsOnePixelSmaller)
{
    Canvas c(16, 16);
    c.dc.SelectStockObject(NULL_PEN);
    c.dc.SelectStockObject(BLACK_BRUSH);
    c.dc.Rectangle(2, 2, 8, 8);
    EXPECT_EQ(c.Ink(), CRect(2, 2, 7, 7)) << c.Dump(CRect(0, 0, 10, 10));
    EXPECT_EQ(c.Count(CRect(2, 2, 7, 7), kBlack), 25);
}

TEST(GdiShapes, LineToLeavesOutItsEndPoint)
{
    Canvas c(20, 20);
    c.dc.MoveTo(2, 5);
    c.dc.LineTo(8, 5);
    EXPECT_EQ(c.Ink(), CRect(2, 5, 8, 6)) << c.Dump(CRect(0, 0, 12, 8));
    EXPECT_EQ(c.dc.GetCurrentPosition(), CPoint(8, 5));

    Canvas v(20, 20);
    v.dc.MoveTo(3, 10);
    v.dc.LineTo(3, 2); // upwards: (3,2) not drawn
    EXPECT_EQ(v.Ink(), CRect(3, 3, 4, 11)) << v.Dump(CRect(0, 0, 6, 13));

    Canvas d(20, 20);
    d.dc.MoveTo(0, 0);
    d.dc.LineTo(5, 5);
    EXPECT_EQ(d.At(4, 4), kBlack);
    EXPECT_EQ(d.At(5, 5), kWhite);
    EXPECT_EQ(d.Ink(), CRect(0, 0, 5, 5));
}

TEST(GdiShapes, PolylineDrawsEverySegmentButTheLastPoint)
{
    Canvas c(20, 20);
    POINT pts[] = {{1, 1}, {6, 1}, {6, 6}};
    c.dc.Polyline(pts, 3);
    EXPECT_EQ(c.At(1, 1), kBlack);
    EXPECT_EQ(c.At(6, 1), kBlack);
    EXPECT_EQ(c.At(6, 5), kBlack);
    EXPECT_EQ(c.At(6, 6), kWhite) << c.Dump(CRect(0, 0, 8, 8));
    EXPECT_EQ(c.CountNot(CRect(0, 0, 20, 20), kWhite), 10);
}

// A thin opaque line on a plain 32-bit surface is written straight into the pixels; under a
// clip of several rectangles the painter draws it. Both must mark the same pixels, clipped
// the same way, at the image's edges too.
TEST(GdiShapes, ThinLinesWrittenIntoThePixelsMatchThePaintersOwn)
{
    Canvas direct(64, 64), painted(64, 64);
    const CRect left(0, 0, 30, 64), right(34, 5, 64, 60);
    CRgn both, rightRgn;
    both.CreateRectRgn(left.left, left.top, left.right, left.bottom);
    rightRgn.CreateRectRgn(right.left, right.top, right.right, right.bottom);
    both.CombineRgn(&both, &rightRgn, RGN_OR);

    unsigned seed = 12345;
    auto next = [&seed](int n) {
        seed = seed * 1103515245u + 12345u;
        return static_cast<int>((seed >> 16) % static_cast<unsigned>(n));
    };
    const COLORREF colours[] = {kBlack, kRed, RGB(0, 128, 255), RGB(200, 200, 200)};
    for (int line = 0; line < 60; ++line)
    {
        POINT pts[6];
        for (POINT& p : pts) p = POINT{next(84) - 10, next(84) - 10}; // some beyond the image
        const int count = 2 + next(5);
        CPen pen(PS_SOLID, 0, colours[next(4)]);
        CPen* oldDirect = direct.dc.SelectObject(&pen);
        CPen* oldPainted = painted.dc.SelectObject(&pen);
        for (const CRect& r : {left, right})
        {
            direct.dc.SelectClipRgn(nullptr);
            direct.dc.IntersectClipRect(&r);
            direct.dc.Polyline(pts, count);
        }
        painted.dc.SelectClipRgn(&both);
        painted.dc.Polyline(pts, count);
        direct.dc.SelectObject(oldDirect);
        painted.dc.SelectObject(oldPainted);
    }
    direct.dc.SelectClipRgn(nullptr);
    painted.dc.SelectClipRgn(nullptr);
    int inked = 0;
    for (int y = 0; y < 64; ++y)
        for (int x = 0; x < 64; ++x)
        {
            ASSERT_EQ(direct.At(x, y), painted.At(x, y)) << x << "," << y;
            if (direct.At(x, y) != kWhite) ++inked;
        }
    EXPECT_GT(inked, 500);
    EXPECT_EQ(direct.Count(CRect(30, 0, 34, 64), kWhite), 4 * 64); // the gap between the clips
}

TEST(GdiShapes, FillSolidRectFillsExactlyAndSetsTheBackgroundColour)
{
    Canvas c(10, 10);
    c.dc.FillSolidRect(2, 3, 4, 2, kRed);
    EXPECT_EQ(c.Ink(), CRect(2, 3, 6, 5));
    EXPECT_EQ(c.Count(CRect(2, 3, 6, 5), kRed), 8);
    EXPECT_EQ(c.dc.GetBkColor(), kRed);           // as the framework leaves it
    c.dc.FillSolidRect(CRect(0, 0, 0, 5), kBlue); // empty: nothing
    EXPECT_EQ(c.Count(CRect(0, 0, 10, 10), kBlue), 0);
}

TEST(GdiShapes, FillRectFrameRectAndInvertRect)
{
    Canvas c(12, 12);
    CBrush blue(kBlue);
    c.dc.FillRect(CRect(1, 1, 5, 5), &blue);
    EXPECT_EQ(c.Count(CRect(0, 0, 12, 12), kBlue), 16);
    CBrush red(kRed);
    c.dc.FrameRect(CRect(6, 6, 11, 11), &red);
    EXPECT_EQ(c.Count(CRect(0, 0, 12, 12), kRed), 16); // the 5x5 border
    EXPECT_EQ(c.At(8, 8), kWhite);
    c.dc.InvertRect(CRect(0, 0, 3, 3));
    EXPECT_EQ(c.At(0, 0), kBlack);
    EXPECT_EQ(c.At(2, 2), RGB(255, 255, 0)); // inverted blue
    c.dc.InvertRect(CRect(0, 0, 3, 3));
    EXPECT_EQ(c.At(0, 0), kWhite);
    EXPECT_EQ(c.At(2, 2), kBlue);
}

TEST(GdiShapes, EllipseStaysInsideItsBoundingRectangle)
{
    Canvas c(20, 20);
    CBrush red(kRed);
    c.dc.SelectObject(&red);
    c.dc.Ellipse(0, 0, 11, 11);
    c.dc.SelectStockObject(WHITE_BRUSH);
    EXPECT_EQ(c.Ink(), CRect(0, 0, 11, 11)) << c.Dump(CRect(0, 0, 13, 13));
    EXPECT_EQ(c.At(5, 5), kRed);
    EXPECT_EQ(c.At(0, 0), kWhite); // corners stay clear
    EXPECT_EQ(c.At(10, 10), kWhite);
}

TEST(GdiShapes, PolygonIsFilledWithTheBrushAndOutlinedWithThePen)
{
    Canvas c(20, 20);
    CBrush red(kRed);
    c.dc.SelectObject(&red);
    POINT tri[] = {{2, 16}, {16, 16}, {9, 2}};
    c.dc.Polygon(tri, 3);
    c.dc.SelectStockObject(WHITE_BRUSH);
    EXPECT_EQ(c.At(9, 12), kRed);
    EXPECT_EQ(c.At(2, 16), kBlack);
    EXPECT_EQ(c.At(9, 2), kBlack);
    EXPECT_EQ(c.At(1, 1), kWhite);
    CRect ink = c.Ink();
    EXPECT_EQ(ink.left, 2);
    EXPECT_EQ(ink.top, 2);
    EXPECT_LE(ink.right, 17);
    EXPECT_LE(ink.bottom, 17);
}

TEST(GdiShapes, DottedPenDrawsThreeOnThreeOffAndFillsGapsWhenOpaque)
{
    Canvas c(24, 6);
    CPen dot(PS_DOT, 0, kBlack);
    CPen* old = c.dc.SelectObject(&dot);
    c.dc.SetBkMode(TRANSPARENT);
    c.dc.MoveTo(0, 1);
    c.dc.LineTo(12, 1);
    std::string row;
    for (int x = 0; x < 12; ++x) row += c.At(x, 1) == kBlack ? '#' : '.';
    EXPECT_EQ(row, "###...###...");

    c.dc.SetBkMode(OPAQUE);
    c.dc.SetBkColor(kRed);
    c.dc.MoveTo(0, 3);
    c.dc.LineTo(12, 3);
    row.clear();
    for (int x = 0; x < 12; ++x) row += c.At(x, 3) == kBlack ? '#' : c.At(x, 3) == kRed ? 'r' : '.';
    EXPECT_EQ(row, "###rrr###rrr");
    c.dc.SelectObject(old);
}

TEST(GdiShapes, WidePenAndNullPen)
{
    Canvas c(20, 20);
    CPen wide(PS_SOLID, 3, kBlue);
    CPen* old = c.dc.SelectObject(&wide);
    c.dc.MoveTo(2, 10);
    c.dc.LineTo(15, 10);
    EXPECT_EQ(c.At(8, 9), kBlue);
    EXPECT_EQ(c.At(8, 10), kBlue);
    EXPECT_EQ(c.At(8, 11), kBlue);
    EXPECT_EQ(c.At(8, 13), kWhite);
    CPen none(PS_NULL, 0, kRed);
    c.dc.SelectObject(&none);
    c.dc.MoveTo(0, 2);
    c.dc.LineTo(19, 2);
    EXPECT_EQ(c.Count(CRect(0, 0, 20, 5), kRed), 0);
    c.dc.SelectObject(old);
}

TEST(GdiShapes, XorPenTwiceRestoresAndNotInverts)
{
    Canvas c(20, 20);
    c.dc.FillSolidRect(0, 0, 20, 10, kBlue);
    CPen red(PS_SOLID, 1, kRed);
    CPen* old = c.dc.SelectObject(&red);
    EXPECT_EQ(c.dc.SetROP2(R2_XORPEN), R2_COPYPEN);
    c.dc.MoveTo(0, 5);
    c.dc.LineTo(20, 15);
    EXPECT_EQ(c.At(0, 5), RGB(255, 0, 255)); // red ^ blue
    c.dc.MoveTo(0, 5);
    c.dc.LineTo(20, 15);
    EXPECT_EQ(c.CountNot(CRect(0, 0, 20, 10), kBlue), 0);
    EXPECT_EQ(c.CountNot(CRect(0, 10, 20, 20), kWhite), 0);

    c.dc.SetROP2(R2_NOT);
    c.dc.MoveTo(0, 12);
    c.dc.LineTo(10, 12);
    EXPECT_EQ(c.At(3, 12), kBlack);
    c.dc.SetROP2(R2_COPYPEN);
    c.dc.SelectObject(old);
}

TEST(GdiShapes, DrawEdgeUsesTheSystemColoursAndAdjusts)
{
    Canvas c(20, 20);
    CRect r(0, 0, 10, 10);
    ASSERT_TRUE(c.dc.DrawEdge(&r, EDGE_RAISED, BF_RECT | BF_ADJUST));
    EXPECT_EQ(r, CRect(2, 2, 8, 8));
    EXPECT_EQ(c.At(0, 0), GetSysColor(COLOR_3DLIGHT));
    EXPECT_EQ(c.At(9, 9), GetSysColor(COLOR_3DDKSHADOW));
    EXPECT_EQ(c.At(1, 1), GetSysColor(COLOR_3DHIGHLIGHT));
    EXPECT_EQ(c.At(8, 8), GetSysColor(COLOR_3DSHADOW));
    EXPECT_EQ(c.At(5, 5), kWhite); // no BF_MIDDLE
    EXPECT_EQ(c.At(10, 10), kWhite);

    CRect s(12, 12, 18, 18);
    c.dc.DrawEdge(&s, BDR_SUNKENINNER, BF_RECT); // one ring only, at the edge
    EXPECT_EQ(c.At(12, 12), GetSysColor(COLOR_3DDKSHADOW));
    EXPECT_EQ(c.At(17, 17), GetSysColor(COLOR_3DLIGHT));
    EXPECT_EQ(c.At(13, 13), kWhite);
}

TEST(GdiShapes, FrameControlDrawsAFaceWithAnArrow)
{
    Canvas c(20, 20);
    CRect r(0, 0, 17, 17);
    ASSERT_TRUE(c.dc.DrawFrameControl(&r, DFC_SCROLL, DFCS_SCROLLDOWN));
    EXPECT_EQ(c.At(0, 0), GetSysColor(COLOR_3DLIGHT));
    EXPECT_EQ(c.At(3, 3), GetSysColor(COLOR_3DFACE));
    EXPECT_GT(c.Count(CRect(2, 2, 15, 15), GetSysColor(COLOR_BTNTEXT)), 5); // the arrow
    EXPECT_EQ(c.At(17, 17), kWhite);
}

TEST(GdiShapes, FocusRectAndPatInvertTakeThemselvesAway)
{
    Canvas c(20, 20);
    c.dc.FillSolidRect(0, 0, 20, 20, RGB(10, 20, 30));
    c.dc.DrawFocusRect(CRect(2, 2, 12, 9));
    EXPECT_GT(c.CountNot(CRect(0, 0, 20, 20), RGB(10, 20, 30)), 10);
    EXPECT_EQ(c.At(5, 5), RGB(10, 20, 30)); // inside stays
    c.dc.DrawFocusRect(CRect(2, 2, 12, 9));
    EXPECT_EQ(c.CountNot(CRect(0, 0, 20, 20), RGB(10, 20, 30)), 0);

    CBrush b(RGB(0xF0, 0x0F, 0x55));
    c.dc.SelectObject(&b);
    c.dc.PatBlt(1, 1, 5, 5, PATINVERT);
    EXPECT_EQ(c.At(1, 1), RGB(10 ^ 0xF0, 20 ^ 0x0F, 30 ^ 0x55));
    c.dc.PatBlt(1, 1, 5, 5, PATINVERT);
    c.dc.PatBlt(0, 0, 20, 20, DSTINVERT);
    c.dc.PatBlt(0, 0, 20, 20, DSTINVERT);
    c.dc.SelectStockObject(WHITE_BRUSH);
    EXPECT_EQ(c.CountNot(CRect(0, 0, 20, 20), RGB(10, 20, 30)), 0);
}

TEST(GdiShapes, GradientFillRunsFromTheFirstColourToTheSecond)
{
    Canvas c(100, 20);
    TRIVERTEX v[2] = {{0, 0, 0xFF00, 0, 0, 0}, {100, 10, 0, 0, 0xFF00, 0}};
    GRADIENT_RECT g{0, 1};
    ASSERT_TRUE(c.dc.GradientFill(v, 2, &g, 1, GRADIENT_FILL_RECT_H));
    EXPECT_EQ(c.At(0, 5), kRed);
    COLORREF last = c.At(99, 5);
    EXPECT_LE(GetRValue(last), 5);
    EXPECT_GE(GetBValue(last), 250);
    for (int x = 1; x < 100; ++x) EXPECT_LE(GetRValue(c.At(x, 5)), GetRValue(c.At(x - 1, 5)));
    EXPECT_EQ(c.At(50, 10), kWhite); // below the gradient

    TRIVERTEX w[2] = {{0, 10, 0, 0xFF00, 0, 0}, {100, 20, 0, 0, 0, 0}};
    c.dc.GradientFill(w, 2, &g, 1, GRADIENT_FILL_RECT_V);
    EXPECT_EQ(c.At(30, 10), RGB(0, 255, 0));
    EXPECT_LT(GetGValue(c.At(30, 19)), 30);
}
