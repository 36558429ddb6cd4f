// Paper looks the same in every look: what the layer draws in system colours on a printer DC (a system colour
// brush, an edge and its middle) takes the default look's colours, whatever look the screen is in, while the
// screen keeps the look's.
#include "platform/gui/Afx.h"
#include "platform/test/GuiTest.h"
#include "platform/test/PrintTest.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

using namespace qor::test;

TEST(PaperColours, APrinterDcDrawsInTheDefaultLooksColoursWhateverTheScreensLook)
{
    EnsureGuiApplication();
    qor::gui::SetApplicationLook(qor::gui::kDefaultLook);
    std::vector<COLORREF> defaults;
    for (int index = 0; index <= COLOR_MENUBAR; ++index) defaults.push_back(GetSysColor(index));
    for (qor::gui::Look look : {qor::gui::Look::Dark, qor::gui::Look::Classic, qor::gui::kDefaultLook})
    {
        qor::gui::SetApplicationLook(look);
        for (int index = 0; index <= COLOR_MENUBAR; ++index)
            EXPECT_EQ(qor::gui::GetPaperColor(index), defaults[static_cast<size_t>(index)])
                << "look " << static_cast<int>(look) << ", colour " << index;
    }

    // In the dark look: a face filled with the system colour brush, and an edge's middle, on paper and on
    // a bitmap.
    qor::gui::SetApplicationLook(qor::gui::Look::Dark);
    auto draw = [](CDC& dc, int unit) {
        const CRect face(0, 0, 10 * unit, 10 * unit);
        ::FillRect(dc.GetSafeHdc(), &face, reinterpret_cast<HBRUSH>(static_cast<std::uintptr_t>(COLOR_WINDOWTEXT + 1)));
        CRect edge(0, 10 * unit, 10 * unit, 20 * unit);
        dc.DrawEdge(&edge, EDGE_SUNKEN, BF_RECT | BF_MIDDLE);
    };
    const std::string pdf = TempPdfPath("paper-colours.pdf");
    {
        DrivenPrinting printing(pdf);
        CPrintDialog dlg(FALSE);
        ASSERT_EQ(dlg.DoModal(), IDOK);
        CDC dc;
        dc.Attach(dlg.GetPrinterDC());
        ASSERT_GT(dc.StartDoc(L"Paper"), 0);
        ASSERT_GT(dc.StartPage(), 0);
        draw(dc, 200);
        ASSERT_GT(dc.EndPage(), 0);
        ASSERT_GT(dc.EndDoc(), 0);
    }
    // A4 at 600 dpi rendered at a tenth: a unit of 200 device pixels is some 20 pixels, past the margin's 15.
    const std::vector<COLORREF> page = RenderPdfPage(pdf, 0, 496, 702);
    std::remove(pdf.c_str());
    ASSERT_EQ(page.size(), 496u * 702u);
    auto at = [&](int x, int y) { return page[static_cast<size_t>(y * 496 + x)]; };
    EXPECT_EQ(at(15 + 100, 15 + 100), qor::gui::GetPaperColor(COLOR_WINDOWTEXT));
    EXPECT_EQ(at(15 + 100, 15 + 300), qor::gui::GetPaperColor(COLOR_3DFACE));

    CDC screen;
    ASSERT_TRUE(screen.CreateCompatibleDC(nullptr));
    CBitmap bitmap;
    CClientDC desktop(nullptr);
    ASSERT_TRUE(bitmap.CreateCompatibleBitmap(&desktop, 10, 20));
    CBitmap* old = screen.SelectObject(&bitmap);
    draw(screen, 1);
    EXPECT_EQ(screen.GetPixel(5, 5), GetSysColor(COLOR_WINDOWTEXT));
    EXPECT_EQ(screen.GetPixel(5, 15), GetSysColor(COLOR_3DFACE));
    EXPECT_NE(GetSysColor(COLOR_3DFACE), qor::gui::GetPaperColor(COLOR_3DFACE));
    screen.SelectObject(old);
    qor::gui::SetApplicationLook(qor::gui::kDefaultLook);
}
