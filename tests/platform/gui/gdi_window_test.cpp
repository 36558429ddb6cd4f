// Window DCs: CPaintDC clips to the update rectangle; a client DC may draw at any time
// (an XOR band drawn twice leaves the surface as it was).
#include "gdi_support.h"

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
