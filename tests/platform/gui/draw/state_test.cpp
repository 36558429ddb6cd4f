// Device-context state: selected objects, SaveDC/RestoreDC, mapping modes, clipping, blits,
// handles and device capabilities.
#include "tests/platform/gui/draw/gdi_support.h"

using namespace gdi_test;

TEST(GdiState, SelectObjectReturnsThePreviousObject)
{
    Canvas c(8, 8);
    CPen red(PS_SOLID, 1, kRed), blue(PS_SOLID, 1, kBlue);
    CPen* first = c.dc.SelectObject(&red);
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(first->GetSafeHandle(), GetStockObject(BLACK_PEN)); // a new DC's pen
    EXPECT_EQ(c.dc.SelectObject(&blue), &red);
    EXPECT_EQ(c.dc.GetCurrentPen(), &blue);
    EXPECT_EQ(c.dc.SelectObject(first), &blue);

    CBrush b(kRed);
    CBrush* oldBrush = c.dc.SelectObject(&b);
    EXPECT_EQ(oldBrush->GetSafeHandle(), GetStockObject(WHITE_BRUSH));
    EXPECT_EQ(c.dc.SelectObject(oldBrush), &b);

    CFont f;
    LOGFONT lf = MakeLogFont(-12);
    ASSERT_TRUE(f.CreateFontIndirect(&lf));
    CFont* oldFont = c.dc.SelectObject(&f);
    EXPECT_EQ(oldFont->GetSafeHandle(), GetStockObject(SYSTEM_FONT));
    EXPECT_EQ(c.dc.SelectObject(oldFont), &f);

    // The stock-object selection hands back a CGdiObject of the right kind.
    CGdiObject* prevPen = c.dc.SelectStockObject(NULL_PEN);
    EXPECT_EQ(prevPen->GetSafeHandle(), GetStockObject(BLACK_PEN));
    EXPECT_EQ(prevPen->GetObjectType(), static_cast<UINT>(OBJ_PEN));
    EXPECT_EQ(c.dc.SelectStockObject(BLACK_PEN)->GetSafeHandle(), GetStockObject(NULL_PEN));

    // Bitmaps: the canvas bitmap is current; the first selection returned the 1x1 default.
    ASSERT_NE(c.old, nullptr);
    BITMAP bm{};
    c.old->GetBitmap(&bm);
    EXPECT_EQ(bm.bmWidth, 1);
    EXPECT_EQ(c.dc.GetCurrentBitmap(), &c.bitmap);
}

TEST(GdiState, ADeletedSelectedObjectStaysUsableUntilDeselected)
{
    Canvas c(10, 10);
    HGDIOBJ handle = nullptr;
    {
        auto* pen = new CPen(PS_SOLID, 1, kRed);
        handle = pen->GetSafeHandle();
        c.dc.SelectObject(pen);
        delete pen; // deletes the object while it is selected
    }
    EXPECT_EQ(GetObjectType(handle), OBJ_PEN);
    c.dc.MoveTo(0, 5);
    c.dc.LineTo(9, 5);
    EXPECT_EQ(c.At(4, 5), kRed);
    c.dc.SelectStockObject(BLACK_PEN);
    EXPECT_EQ(GetObjectType(handle), 0); // gone once the DC let it go
}

TEST(GdiState, SaveAndRestoreBringBackEverything)
{
    Canvas c(20, 20);
    CPen red(PS_SOLID, 1, kRed);
    c.dc.SetTextColor(kBlue);
    int level1 = c.dc.SaveDC();
    EXPECT_EQ(level1, 1);
    c.dc.SelectObject(&red);
    c.dc.SetTextColor(kRed);
    c.dc.SetBkMode(TRANSPARENT);
    c.dc.SetMapMode(MM_ANISOTROPIC);
    c.dc.SetWindowExt(10, 10);
    c.dc.SetViewportExt(20, 20);
    c.dc.IntersectClipRect(0, 0, 2, 2);
    int level2 = c.dc.SaveDC();
    EXPECT_EQ(level2, 2);
    c.dc.SetTextColor(kWhite);
    EXPECT_TRUE(c.dc.RestoreDC(-1));
    EXPECT_EQ(c.dc.GetTextColor(), kRed);
    EXPECT_EQ(c.dc.GetMapMode(), MM_ANISOTROPIC);
    EXPECT_TRUE(c.dc.RestoreDC(level1));
    EXPECT_EQ(c.dc.GetTextColor(), kBlue);
    EXPECT_EQ(c.dc.GetBkMode(), OPAQUE);
    EXPECT_EQ(c.dc.GetMapMode(), MM_TEXT);
    EXPECT_EQ(c.dc.GetCurrentPen()->GetSafeHandle(), GetStockObject(BLACK_PEN));
    CRect clip;
    EXPECT_EQ(c.dc.GetClipBox(&clip), SIMPLEREGION);
    EXPECT_EQ(clip, CRect(0, 0, 20, 20));
    EXPECT_FALSE(c.dc.RestoreDC(1)); // nothing saved any more
    EXPECT_FALSE(c.dc.RestoreDC(-1));
    // Drawing after the restore uses the restored pen and mapping.
    c.dc.MoveTo(0, 10);
    c.dc.LineTo(10, 10);
    EXPECT_EQ(c.At(9, 10), kBlack);
    EXPECT_EQ(c.At(10, 10), kWhite);
}

TEST(GdiState, AnisotropicMappingRoundTripsAndDrawsWhereItMaps)
{
    Canvas c(120, 120);
    c.dc.SetMapMode(MM_ANISOTROPIC);
    c.dc.SetWindowExt(1000, 1000);
    c.dc.SetViewportExt(100, -100); // y grows upwards
    c.dc.SetViewportOrg(10, 110);
    CPoint p(500, 500);
    c.dc.LPtoDP(&p);
    EXPECT_EQ(p, CPoint(60, 60));
    c.dc.DPtoLP(&p);
    EXPECT_EQ(p, CPoint(500, 500));
    // Rounded to the nearest device pixel.
    CPoint q(14, 16);
    c.dc.LPtoDP(&q);
    EXPECT_EQ(q, CPoint(11, 108));
    for (int x = -50; x <= 110; x += 7)
    {
        CPoint d(x, x);
        c.dc.DPtoLP(&d);
        CPoint back = d;
        c.dc.LPtoDP(&back);
        EXPECT_EQ(back, CPoint(x, x)) << x;
    }
    CRect r(0, 0, 1000, 1000);
    c.dc.LPtoDP(&r);
    EXPECT_EQ(r, CRect(10, 110, 110, 10));
    CSize s(200, 300);
    c.dc.LPtoDP(&s);
    EXPECT_EQ(s, CSize(20, -30));

    CRect clip;
    c.dc.GetClipBox(&clip);                          // the whole bitmap, in logical units
    EXPECT_EQ(clip, CRect(-100, -100, 1100, 1100));  // normalised
    c.dc.FillSolidRect(CRect(0, 0, 100, 100), kRed); // logical (0,0)-(100,100)
    c.dc.SetMapMode(MM_TEXT);
    c.dc.SetViewportOrg(0, 0);
    EXPECT_EQ(c.Ink(), CRect(10, 100, 20, 110)) << c.Dump(CRect(0, 95, 25, 115));
}

TEST(GdiState, IsotropicMappingKeepsEqualScales)
{
    Canvas c(10, 10);
    c.dc.SetMapMode(MM_ISOTROPIC);
    c.dc.SetWindowExt(100, -50);
    c.dc.SetViewportExt(200, 200);
    EXPECT_EQ(c.dc.GetViewportExt(), CSize(200, 100)); // x was the tighter scale
    c.dc.SetMapMode(MM_LOMETRIC);
    CPoint p(254, -254); // 25.4 mm
    c.dc.LPtoDP(&p);
    EXPECT_EQ(p, CPoint(96, 96));
    c.dc.SetMapMode(MM_TEXT);
    EXPECT_EQ(c.dc.SetWindowExt(5, 5), CSize(1, 1)); // ignored in MM_TEXT
    EXPECT_EQ(c.dc.GetWindowExt(), CSize(1, 1));
}

TEST(GdiState, ClippingLimitsDrawingAndIsReported)
{
    Canvas c(12, 12);
    EXPECT_EQ(c.dc.IntersectClipRect(2, 2, 8, 8), SIMPLEREGION);
    CRect box;
    EXPECT_EQ(c.dc.GetClipBox(&box), SIMPLEREGION);
    EXPECT_EQ(box, CRect(2, 2, 8, 8));
    EXPECT_EQ(c.dc.ExcludeClipRect(4, 4, 6, 6), COMPLEXREGION);
    EXPECT_TRUE(c.dc.PtVisible(2, 2));
    EXPECT_FALSE(c.dc.PtVisible(5, 5));
    EXPECT_FALSE(c.dc.RectVisible(CRect(9, 9, 11, 11)));
    c.dc.FillSolidRect(0, 0, 12, 12, kRed);
    EXPECT_EQ(c.dc.GetPixel(1, 1), CLR_INVALID); // outside the clip
    c.dc.SelectClipRgn(nullptr);
    EXPECT_EQ(c.Count(CRect(0, 0, 12, 12), kRed), 32);
    EXPECT_EQ(c.At(5, 5), kWhite);
    EXPECT_EQ(c.At(1, 1), kWhite);

    CRgn rgn;
    rgn.CreateRectRgn(10, 10, 12, 12);
    EXPECT_EQ(c.dc.SelectClipRgn(&rgn), SIMPLEREGION);
    c.dc.FillSolidRect(0, 0, 12, 12, kBlue);
    EXPECT_EQ(c.Count(CRect(10, 10, 12, 12), kBlue), 4);
    c.dc.SelectClipRgn(nullptr);
    EXPECT_EQ(c.Count(CRect(0, 0, 12, 12), kBlue), 4);
    EXPECT_EQ(c.dc.IntersectClipRect(20, 20, 30, 30), NULLREGION);
    EXPECT_EQ(c.dc.GetClipBox(&box), NULLREGION);
}

TEST(GdiState, XorBlitTwiceRestoresTheImage)
{
    Canvas dst(16, 16), src(16, 16);
    dst.dc.FillSolidRect(0, 0, 8, 16, RGB(12, 34, 56));
    src.dc.FillSolidRect(4, 4, 8, 8, RGB(200, 100, 50));
    ASSERT_TRUE(dst.dc.BitBlt(0, 0, 16, 16, &src.dc, 0, 0, SRCINVERT));
    EXPECT_EQ(dst.At(5, 5), RGB(12 ^ 200, 34 ^ 100, 56 ^ 50));
    EXPECT_EQ(dst.At(10, 10), RGB(255 ^ 200, 255 ^ 100, 255 ^ 50));
    EXPECT_EQ(dst.At(0, 0), RGB(12 ^ 255, 34 ^ 255, 56 ^ 255));
    dst.dc.BitBlt(0, 0, 16, 16, &src.dc, 0, 0, SRCINVERT);
    EXPECT_EQ(dst.Count(CRect(0, 0, 8, 16), RGB(12, 34, 56)), 128);
    EXPECT_EQ(dst.Count(CRect(8, 0, 16, 16), kWhite), 128);
}

TEST(GdiState, CopyBlitsPlaceTheSourceAndOverlapSafely)
{
    Canvas dst(20, 20), src(10, 10);
    src.dc.FillSolidRect(0, 0, 2, 2, kRed);
    dst.dc.BitBlt(5, 6, 4, 4, &src.dc, 0, 0, SRCCOPY);
    EXPECT_EQ(dst.Ink(), CRect(5, 6, 7, 8));
    // Scrolling within one image.
    dst.dc.BitBlt(6, 6, 10, 10, &dst.dc, 5, 6, SRCCOPY);
    EXPECT_EQ(dst.Ink(), CRect(5, 6, 8, 8));
    EXPECT_EQ(dst.Count(CRect(0, 0, 20, 20), kRed), 6);
    // Stretched: 2x2 red to 8x8.
    Canvas big(10, 10);
    big.dc.StretchBlt(0, 0, 8, 8, &src.dc, 0, 0, 2, 2, SRCCOPY);
    EXPECT_EQ(big.Count(CRect(0, 0, 10, 10), kRed), 64);
    // Blits through a window-sized memory DC pair (the chart's off-screen image).
    EXPECT_FALSE(dst.dc.BitBlt(0, 0, 1, 1, nullptr, 0, 0, SRCCOPY));
    EXPECT_TRUE(dst.dc.BitBlt(0, 0, 1, 1, nullptr, 0, 0, BLACKNESS));
    EXPECT_EQ(dst.At(0, 0), kBlack);
}

TEST(GdiState, HandlesMapBackToTheirObjects)
{
    Canvas c(4, 4);
    EXPECT_EQ(CDC::FromHandle(c.dc.GetSafeHdc()), &c.dc);
    HDC raw = CreateCompatibleDC(nullptr);
    CDC* temp = CDC::FromHandle(raw);
    ASSERT_NE(temp, nullptr);
    EXPECT_EQ(temp->GetSafeHdc(), raw);
    EXPECT_EQ(CDC::FromHandle(raw), temp);
    DeleteDC(raw);
    EXPECT_EQ(CDC::FromHandle(raw), nullptr);

    CDC attached;
    attached.Attach(CreateCompatibleDC(nullptr));
    HDC h = attached.Detach();
    EXPECT_EQ(attached.GetSafeHdc(), nullptr);
    EXPECT_TRUE(DeleteDC(h));

    CPen pen(PS_DASH, 1, kRed);
    EXPECT_EQ(CPen::FromHandle(pen), &pen);
    LOGPEN lp{};
    EXPECT_EQ(pen.GetLogPen(&lp), static_cast<int>(sizeof(LOGPEN)));
    EXPECT_EQ(lp.lopnStyle, static_cast<UINT>(PS_DASH));
    EXPECT_EQ(lp.lopnColor, kRed);
    HGDIOBJ h2 = pen.Detach();
    EXPECT_NE(CPen::FromHandle(static_cast<HPEN>(h2)), &pen); // a temporary wrapper now
    EXPECT_TRUE(DeleteObject(h2));
    EXPECT_EQ(CGdiObject::FromHandle(h2), nullptr);
    EXPECT_TRUE(DeleteObject(GetStockObject(WHITE_BRUSH))); // stock objects stay
    EXPECT_EQ(GetObjectType(GetStockObject(WHITE_BRUSH)), OBJ_BRUSH);
}

TEST(GdiState, DeviceCapsOfTheScreen)
{
    Canvas c(4, 4);
    EXPECT_EQ(c.dc.GetDeviceCaps(LOGPIXELSX), 96);
    EXPECT_EQ(c.dc.GetDeviceCaps(LOGPIXELSY), 96);
    EXPECT_GT(c.dc.GetDeviceCaps(HORZRES), 0);
    EXPECT_EQ(c.dc.GetDeviceCaps(NUMCOLORS), -1);
    EXPECT_FALSE(c.dc.IsPrinting());
    CClientDC screen(nullptr);
    EXPECT_EQ(screen.GetDeviceCaps(LOGPIXELSY), 96);
    CRect box;
    EXPECT_EQ(screen.GetClipBox(&box), SIMPLEREGION);
    EXPECT_EQ(box.Width(), screen.GetDeviceCaps(HORZRES));
    EXPECT_EQ(screen.GetPixel(0, 0), CLR_INVALID); // nothing to read back
}

TEST(GdiState, PointFontsFollowTheResolution)
{
    qor::test::EnsureGuiApplication();
    CFont f;
    ASSERT_TRUE(f.CreatePointFont(100, L"Arial"));
    LOGFONT lf{};
    f.GetLogFont(&lf);
    EXPECT_EQ(lf.lfHeight, -13); // 10 pt at 96 dpi
    EXPECT_STREQ(lf.lfFaceName, L"Arial");

    Canvas c(4, 4);
    c.dc.SetMapMode(MM_ANISOTROPIC);
    c.dc.SetWindowExt(1, 1);
    c.dc.SetViewportExt(2, 2); // two pixels per unit
    CFont g;
    g.CreatePointFont(100, L"Arial", &c.dc);
    g.GetLogFont(&lf);
    EXPECT_EQ(lf.lfHeight, -7);
}
