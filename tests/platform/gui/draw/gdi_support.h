// Helpers of the drawing tests: a memory DC with a white bitmap, and pixel queries on it.
#pragma once

#include "platform/gui/Afx.h"
#include "platform/test/GuiTest.h"

#include <gtest/gtest.h>

#include <string>

namespace gdi_test {

constexpr COLORREF kWhite = RGB(255, 255, 255);
constexpr COLORREF kBlack = RGB(0, 0, 0);
constexpr COLORREF kRed = RGB(255, 0, 0);
constexpr COLORREF kBlue = RGB(0, 0, 255);

// A memory DC of w x h pixels, filled white, with the DC's colours back at their defaults.
struct Canvas
{
    CDC dc;
    CBitmap bitmap;
    CBitmap* old = nullptr;
    int w, h;

    Canvas(int w_, int h_, COLORREF fill = kWhite) : w(w_), h(h_)
    {
        qor::test::EnsureGuiApplication();
        EXPECT_TRUE(dc.CreateCompatibleDC(nullptr));
        EXPECT_TRUE(bitmap.CreateCompatibleBitmap(&dc, w, h));
        old = dc.SelectObject(&bitmap);
        dc.FillSolidRect(0, 0, w, h, fill);
        dc.SetBkColor(kWhite);
    }
    ~Canvas() { dc.SelectObject(old); }

    COLORREF At(int x, int y) const { return dc.GetPixel(x, y); }

    // Number of pixels in the rectangle that differ from the colour.
    int CountNot(const RECT& r, COLORREF c) const
    {
        int n = 0;
        for (int y = r.top; y < r.bottom; ++y)
            for (int x = r.left; x < r.right; ++x)
                if (At(x, y) != c) ++n;
        return n;
    }
    int Count(const RECT& r, COLORREF c) const { return (r.right - r.left) * (r.bottom - r.top) - CountNot(r, c); }
    // Bounding box of pixels that are not the background colour (empty when none).
    CRect Ink(COLORREF background = kWhite) const
    {
        CRect box(w, h, -1, -1);
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x)
                if (At(x, y) != background)
                {
                    box.left = std::min<LONG>(box.left, x);
                    box.top = std::min<LONG>(box.top, y);
                    box.right = std::max<LONG>(box.right, x + 1);
                    box.bottom = std::max<LONG>(box.bottom, y + 1);
                }
        return box.right < 0 ? CRect() : box;
    }
    // A picture of a region for failure messages: '.' background, '#' black, 'o' other.
    std::string Dump(const RECT& r, COLORREF background = kWhite) const
    {
        std::string s = "\n";
        for (int y = r.top; y < r.bottom; ++y)
        {
            for (int x = r.left; x < r.right; ++x)
            {
                COLORREF c = At(x, y);
                s += c == background ? '.' : c == kBlack ? '#' : 'o';
            }
            s += '\n';
        }
        return s;
    }
};

inline LOGFONT MakeLogFont(int height, const wchar_t* face = L"Arial", int weight = FW_NORMAL)
{
    LOGFONT lf{};
    lf.lfHeight = height;
    lf.lfWeight = weight;
    lf.lfCharSet = DEFAULT_CHARSET;
    wcsncpy(lf.lfFaceName, face, LF_FACESIZE - 1);
    return lf;
}

} // namespace gdi_test
