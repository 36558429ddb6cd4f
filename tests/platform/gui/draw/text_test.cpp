// Text: placement by the top-left corner, metrics and extents from the drawing font,
// DrawText layout (alignment, word breaks, ellipsis, DT_CALCRECT), opaque backgrounds,
// clipping and rotated text.
#include "tests/platform/gui/draw/gdi_support.h"

#include <chrono>
#include <string>

using namespace gdi_test;

namespace {

struct TextCanvas : Canvas
{
    CFont font;
    CFont* oldFont = nullptr;
    TEXTMETRIC tm{};
    explicit TextCanvas(int w, int h, int height = -20, const wchar_t* face = L"Arial") : Canvas(w, h)
    {
        LOGFONT lf = MakeLogFont(height, face);
        EXPECT_TRUE(font.CreateFontIndirect(&lf));
        oldFont = dc.SelectObject(&font);
        dc.GetTextMetrics(&tm);
        dc.SetBkMode(TRANSPARENT);
    }
    ~TextCanvas() { dc.SelectObject(oldFont); }
};

} // namespace

TEST(GdiText, MetricsComeFromTheFontThatDraws)
{
    TextCanvas c(10, 10, -20);
    EXPECT_EQ(c.tm.tmHeight, c.tm.tmAscent + c.tm.tmDescent);
    EXPECT_EQ(c.tm.tmHeight - c.tm.tmInternalLeading, 20); // negative height: the character height
    EXPECT_GT(c.tm.tmAveCharWidth, 5);
    EXPECT_EQ(c.dc.GetTextExtent(CString(L"Hello")).cy, c.tm.tmHeight);
    EXPECT_EQ(c.dc.GetTextExtent(CString()).cx, 0);
    CSize one = c.dc.GetTextExtent(CString(L"W"));
    CSize three = c.dc.GetTextExtent(CString(L"WWW"));
    EXPECT_NEAR(three.cx, 3 * one.cx, 1);

    // A positive height is the cell height.
    TextCanvas cell(10, 10, 24);
    EXPECT_NEAR(cell.tm.tmHeight, 24, 1);
    CString face;
    cell.dc.GetTextFace(face);
    EXPECT_EQ(face, CString(L"Arial"));
}

TEST(GdiText, FamiliesMapToMetricCompatibleFonts)
{
    TextCanvas arial(10, 10, -16, L"Arial");
    TextCanvas liberation(10, 10, -16, L"Liberation Sans");
    TextCanvas times(10, 10, -16, L"Times New Roman");
    TextCanvas courier(10, 10, -16, L"Courier New");
    CString s(L"The quick brown fox");
    EXPECT_EQ(arial.dc.GetTextExtent(s), liberation.dc.GetTextExtent(s));
    EXPECT_NE(arial.dc.GetTextExtent(s).cx, times.dc.GetTextExtent(s).cx);
    // Fixed pitch: every character as wide as any other.
    EXPECT_EQ(courier.dc.GetTextExtent(CString(L"iiii")).cx, courier.dc.GetTextExtent(CString(L"MMMM")).cx);
}

TEST(GdiText, TextOutPlacesTheCellByItsTopLeftCorner)
{
    TextCanvas c(100, 60, -20);
    c.dc.TextOut(10, 20, CString(L"H"));
    CRect ink = c.Ink();
    ASSERT_FALSE(ink.IsRectEmpty());
    CSize ext = c.dc.GetTextExtent(CString(L"H"));
    EXPECT_GE(ink.left, 10);
    EXPECT_LE(ink.right, 10 + ext.cx + 1);
    EXPECT_GE(ink.top, 20 + c.tm.tmInternalLeading - 1); // capital H starts near the top of the em
    EXPECT_LE(ink.top, 20 + c.tm.tmInternalLeading + 3);
    EXPECT_EQ(ink.bottom, 20 + c.tm.tmAscent); // sits on the baseline
}

TEST(GdiText, OpaqueBackgroundAndExtTextOutOptions)
{
    TextCanvas c(120, 40, -14);
    c.dc.SetBkMode(OPAQUE);
    c.dc.SetBkColor(kRed);
    c.dc.TextOut(5, 5, CString(L"ab"));
    CSize e = c.dc.GetTextExtent(CString(L"ab"));
    // The whole cell takes the background colour where there is no ink.
    EXPECT_EQ(c.At(5, 5), kRed);
    EXPECT_EQ(c.At(5 + e.cx - 1, 5 + e.cy - 1), kRed);
    EXPECT_EQ(c.At(5 + e.cx, 5), kWhite);
    EXPECT_EQ(c.At(5, 5 + e.cy), kWhite);

    Canvas d(60, 30);
    d.dc.SetBkColor(kBlue);
    CRect r(30, 0, 40, 30);
    d.dc.ExtTextOut(30, 5, ETO_OPAQUE | ETO_CLIPPED, &r, CString(L"WWWWWW"), nullptr);
    EXPECT_EQ(d.At(39, 0), kBlue);
    EXPECT_EQ(d.At(40, 0), kWhite);
    EXPECT_EQ(d.CountNot(CRect(40, 0, 60, 30), kWhite), 0); // clipped text stays inside
    EXPECT_GT(d.CountNot(CRect(30, 0, 40, 30), kBlue), 0);
}

TEST(GdiText, CalcRectAgreesWithDrawing)
{
    TextCanvas c(300, 200, -16);
    CString text(L"Several words that wrap onto a few lines");
    CRect calc(10, 10, 110, 10);
    int h = c.dc.DrawText(text, &calc, DT_WORDBREAK | DT_CALCRECT | DT_NOPREFIX);
    EXPECT_EQ(h, calc.Height());
    EXPECT_EQ(calc.Height() % c.tm.tmHeight, 0);
    EXPECT_GE(calc.Height() / c.tm.tmHeight, 3);
    EXPECT_LE(calc.right, 110 + 40);                         // only a long word may widen it
    EXPECT_EQ(c.CountNot(CRect(0, 0, 300, 200), kWhite), 0); // calculating draws nothing

    CRect draw(10, 10, 110, 10 + 200);
    EXPECT_EQ(c.dc.DrawText(text, &draw, DT_WORDBREAK | DT_NOPREFIX), calc.Height());
    CRect ink = c.Ink();
    EXPECT_GE(ink.left, calc.left);
    EXPECT_LE(ink.right, calc.right + 1);
    EXPECT_GE(ink.top, calc.top);
    EXPECT_LE(ink.bottom, calc.bottom);
    EXPECT_GT(ink.bottom, calc.bottom - c.tm.tmHeight); // the last line is used

    // Single line: the width is the text extent.
    CRect one(0, 0, 0, 0);
    c.dc.DrawText(CString(L"Hello world"), &one, DT_SINGLELINE | DT_CALCRECT);
    EXPECT_EQ(one.Size(), c.dc.GetTextExtent(CString(L"Hello world")));
    // Explicit line breaks.
    CRect lines(0, 0, 0, 0);
    c.dc.DrawText(CString(L"a\r\nbb\nccc"), &lines, DT_CALCRECT);
    EXPECT_EQ(lines.Height(), 3 * c.tm.tmHeight);
    EXPECT_EQ(lines.Width(), c.dc.GetTextExtent(CString(L"ccc")).cx);
}

TEST(GdiText, EndEllipsisShortensToFit)
{
    TextCanvas c(200, 40, -14);
    CString text(L"A rather long cell text that does not fit");
    CRect r(0, 0, 80, 20);
    c.dc.DrawText(text, &r, DT_SINGLELINE | DT_END_ELLIPSIS | DT_NOCLIP | DT_NOPREFIX);
    CRect ink = c.Ink();
    EXPECT_LE(ink.right, 81);
    EXPECT_GT(ink.right, 60); // the text (and dots) reach close to the right edge

    TextCanvas full(200, 40, -14);
    full.dc.DrawText(text, &r, DT_SINGLELINE | DT_NOCLIP | DT_NOPREFIX);
    EXPECT_GT(full.Ink().right, 150); // without the ellipsis it runs on

    TextCanvas clipped(200, 40, -14);
    clipped.dc.DrawText(text, &r, DT_SINGLELINE | DT_NOPREFIX);
    EXPECT_LE(clipped.Ink().right, 80); // clipped to the rectangle by default

    // DrawTextEx with DT_MODIFYSTRING writes the shortened text back.
    wchar_t buf[64] = L"A rather long cell text that does not fit";
    CRect m(0, 0, 80, 20);
    c.dc.DrawTextEx(buf, -1, &m, DT_SINGLELINE | DT_END_ELLIPSIS | DT_MODIFYSTRING, nullptr);
    std::wstring shortened(buf);
    ASSERT_GE(shortened.size(), 3u);
    EXPECT_EQ(shortened.substr(shortened.size() - 3), L"...");
    EXPECT_LE(c.dc.GetTextExtent(CString(buf)).cx, 80);
}

TEST(GdiText, AlignmentInTheRectangle)
{
    TextCanvas c(200, 60, -14);
    CRect r(20, 10, 180, 50);
    c.dc.DrawText(CString(L"Mid"), &r, DT_SINGLELINE | DT_CENTER | DT_VCENTER);
    CRect ink = c.Ink();
    EXPECT_NEAR(ink.left - r.left, r.right - ink.right, 3);
    CSize e = c.dc.GetTextExtent(CString(L"Mid"));
    int cellTop = r.top + (r.Height() - e.cy) / 2;
    EXPECT_GE(ink.top, cellTop);
    EXPECT_LE(ink.bottom, cellTop + e.cy);

    TextCanvas right(200, 60, -14);
    right.dc.DrawText(CString(L"Right"), &r, DT_SINGLELINE | DT_RIGHT | DT_BOTTOM);
    EXPECT_LE(right.Ink().right, 180);
    EXPECT_GE(right.Ink().right, 176);
    EXPECT_LE(right.Ink().bottom, 50);
    EXPECT_GE(right.Ink().top, 50 - e.cy);
}

TEST(GdiText, PrefixCharactersAreHiddenUnlessNoPrefix)
{
    TextCanvas c(10, 10, -14);
    CRect a(0, 0, 0, 0), b(0, 0, 0, 0), d(0, 0, 0, 0);
    c.dc.DrawText(CString(L"&File && more"), &a, DT_SINGLELINE | DT_CALCRECT);
    c.dc.DrawText(CString(L"File & more"), &b, DT_SINGLELINE | DT_CALCRECT | DT_NOPREFIX);
    c.dc.DrawText(CString(L"&File && more"), &d, DT_SINGLELINE | DT_CALCRECT | DT_NOPREFIX);
    EXPECT_EQ(a.Width(), b.Width());
    EXPECT_GT(d.Width(), b.Width());
}

TEST(GdiText, EscapementRotatesTextUpwards)
{
    Canvas c(80, 120);
    LOGFONT lf = MakeLogFont(-16);
    lf.lfEscapement = lf.lfOrientation = 900;
    CFont up;
    up.CreateFontIndirect(&lf);
    c.dc.SelectObject(&up);
    c.dc.SetBkMode(TRANSPARENT);
    CSize e = c.dc.GetTextExtent(CString(L"Vertical"));
    c.dc.TextOut(20, 100, CString(L"Vertical"));
    c.dc.SelectStockObject(SYSTEM_FONT);
    CRect ink = c.Ink();
    EXPECT_GT(ink.Height(), ink.Width());
    EXPECT_LE(ink.bottom, 101);
    EXPECT_GE(ink.top, 100 - e.cx - 1);
    EXPECT_GE(ink.left, 20); // the cell's top edge is on the left
    EXPECT_LE(ink.right, 20 + e.cy);
}

TEST(GdiText, TextFollowsTheMapping)
{
    TextCanvas c(200, 100, -10);
    CSize unscaled = c.dc.GetTextExtent(CString(L"Scale"));
    c.dc.SetMapMode(MM_ANISOTROPIC);
    c.dc.SetWindowExt(100, 100);
    c.dc.SetViewportExt(200, 200);
    // Extents are in logical units: about the same number, drawn twice as large.
    CSize scaled = c.dc.GetTextExtent(CString(L"Scale"));
    EXPECT_NEAR(scaled.cx, unscaled.cx, 2);
    c.dc.TextOut(0, 0, CString(L"Scale"));
    c.dc.SetMapMode(MM_TEXT);
    EXPECT_GT(c.Ink().Width(), unscaled.cx * 3 / 2);
}

TEST(GdiText, AMegabyteTextDrawsAsItsVisiblePartDoesInAFractionOfTheTime)
{
    // A line of 2 MB, and the same drawn from a start of 3000 characters (far wider than the box):
    // every pixel the same, whether clipped by the box, drawn right-aligned, shortened with dots,
    // wrapped into the box or drawn by ExtTextOut. Measuring the whole line at each draw would take
    // many times longer than drawing the short one.
    std::wstring words;
    while (words.size() < (2u << 20)) words += L"Viaduct over the river, span ";
    const CString huge(words.c_str());
    const CString start(words.substr(0, 3000).c_str());
    const CString end(words.substr(words.size() - 3000).c_str());
    using Clock = std::chrono::steady_clock;
    auto same = [&](UINT format, const CString& shorter) {
        TextCanvas a(300, 80, -14), b(300, 80, -14), again(300, 80, -14);
        CRect ra(10, 10, 290, 70), rb = ra;
        const auto t0 = Clock::now();
        a.dc.DrawText(huge, &ra, format);
        for (int i = 0; i < 3; ++i) again.dc.DrawText(huge, &ra, format);
        const auto t1 = Clock::now();
        b.dc.DrawText(shorter, &rb, format);
        for (int y = 0; y < 80; ++y)
            for (int x = 0; x < 300; ++x)
                if (a.At(x, y) != b.At(x, y))
                {
                    ADD_FAILURE() << "format " << format << " differs at " << x << "," << y;
                    return;
                }
        EXPECT_LT(std::chrono::duration<double>(t1 - t0).count(), 5.0) << "format " << format;
    };
    same(DT_SINGLELINE | DT_NOPREFIX, start);
    same(DT_SINGLELINE | DT_NOPREFIX | DT_VCENTER, start);
    same(DT_SINGLELINE | DT_NOPREFIX | DT_RIGHT, end);
    same(DT_SINGLELINE | DT_NOPREFIX | DT_END_ELLIPSIS, start);
    same(DT_WORDBREAK | DT_NOPREFIX, start);

    TextCanvas a(300, 40, -14), b(300, 40, -14);
    const CRect clip(0, 0, 300, 40);
    a.dc.ExtTextOut(5, 5, ETO_CLIPPED, &clip, huge, nullptr);
    b.dc.ExtTextOut(5, 5, ETO_CLIPPED, &clip, start, nullptr);
    for (int y = 0; y < 40; ++y)
        for (int x = 0; x < 300; ++x) ASSERT_EQ(a.At(x, y), b.At(x, y)) << x << "," << y;
    // Measured, the long line is as wide as it is (once, then remembered).
    const auto t0 = Clock::now();
    const int width = a.dc.GetTextExtent(huge).cx;
    for (int i = 0; i < 20; ++i) EXPECT_EQ(a.dc.GetTextExtent(huge).cx, width);
    EXPECT_LT(std::chrono::duration<double>(Clock::now() - t0).count(), 20.0);
    EXPECT_GT(width, 1000 * a.dc.GetTextExtent(start).cx / 2);
}
