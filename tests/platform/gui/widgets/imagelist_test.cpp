// Image lists checked on pixels: masked colours stay transparent, background colours fill
// them, selection and focus blend with the highlight colour, images come and go by index,
// and the drag image follows the pointer.
#include "tests/platform/gui/draw/gdi_support.h"

#include <cstdlib>
#include <functional>
#include <vector>

using namespace gdi_test;

namespace {

constexpr COLORREF kMagenta = RGB(255, 0, 255);
constexpr COLORREF kGreen = RGB(0, 255, 0);

using qor::test::MakeBitmap;

void MakeSolid(CBitmap& bm, int w, int h, COLORREF c)
{
    MakeBitmap(bm, w, h, [c](int, int) { return c; });
}

// Left half magenta (the mask colour), right half blue.
void MakeHalfMasked(CBitmap& bm, int w, int h)
{
    MakeBitmap(bm, w, h, [w](int x, int) { return x < w / 2 ? kMagenta : kBlue; });
}

bool Near(COLORREF a, COLORREF b, int tolerance = 1)
{
    return std::abs(GetRValue(a) - GetRValue(b)) <= tolerance && std::abs(GetGValue(a) - GetGValue(b)) <= tolerance &&
           std::abs(GetBValue(a) - GetBValue(b)) <= tolerance;
}

COLORREF Blend(COLORREF c, COLORREF with, double f)
{
    auto ch = [f](int a, int b) { return static_cast<int>(a * (1 - f) + b * f + 0.5); };
    return RGB(ch(GetRValue(c), GetRValue(with)), ch(GetGValue(c), GetGValue(with)), ch(GetBValue(c), GetBValue(with)));
}

class ImageListTest : public ::testing::Test
{
protected:
    static void SetUpTestSuite() { qor::test::EnsureGuiApplication(); }
    void TearDown() override { ImageList_EndDrag(); }
};

} // namespace

// ---- Building the list -----------------------------------------------------------------------

TEST_F(ImageListTest, AddSplitsWideBitmapsAndReportsWhereEachImageIs)
{
    CImageList list;
    EXPECT_EQ(list.GetSafeHandle(), nullptr);
    ASSERT_TRUE(list.Create(16, 12, ILC_COLOR24 | ILC_MASK, 0, 1));
    EXPECT_FALSE(list.Create(16, 12, ILC_COLOR24, 0, 1)); // already made
    EXPECT_EQ(list.GetImageCount(), 0);
    int cx = 0, cy = 0;
    ASSERT_TRUE(ImageList_GetIconSize(list, &cx, &cy));
    EXPECT_EQ(cx, 16);
    EXPECT_EQ(cy, 12);

    // Three images side by side, then one more.
    CBitmap strip, single;
    MakeBitmap(strip, 48, 12, [](int x, int) { return x < 16 ? kRed : x < 32 ? kGreen : kBlue; });
    MakeSolid(single, 16, 12, kBlack);
    EXPECT_EQ(list.Add(&strip, static_cast<CBitmap*>(nullptr)), 0);
    EXPECT_EQ(list.Add(&single, kMagenta), 3);
    EXPECT_EQ(list.GetImageCount(), 4);

    IMAGEINFO info{};
    ASSERT_TRUE(list.GetImageInfo(2, &info));
    EXPECT_EQ(CRect(info.rcImage), CRect(32, 0, 48, 12));
    ASSERT_NE(info.hbmImage, nullptr);
    EXPECT_NE(info.hbmMask, nullptr);
    // The bitmap of the info really holds the image at that place.
    CDC mem;
    ASSERT_TRUE(mem.CreateCompatibleDC(nullptr));
    CBitmap* old = mem.SelectObject(CBitmap::FromHandle(info.hbmImage));
    EXPECT_EQ(mem.GetPixel(info.rcImage.left + 3, 5), kBlue);
    EXPECT_EQ(mem.GetPixel(3, 5), kRed);
    mem.SelectObject(old);

    EXPECT_FALSE(list.GetImageInfo(4, &info));
    EXPECT_FALSE(list.GetImageInfo(-1, &info));

    EXPECT_TRUE(list.DeleteImageList());
    EXPECT_EQ(list.GetSafeHandle(), nullptr);
    EXPECT_EQ(list.GetImageCount(), 0);
    EXPECT_FALSE(list.GetImageInfo(0, &info));
}

TEST_F(ImageListTest, BadArgumentsFailWithoutHarm)
{
    CImageList list;
    EXPECT_FALSE(list.Create(0, 16, ILC_COLOR24, 0, 1));
    EXPECT_EQ(list.Add(static_cast<CBitmap*>(nullptr), kMagenta), -1); // no list
    ASSERT_TRUE(list.Create(8, 8, ILC_COLOR24 | ILC_MASK, 0, 1));
    CBitmap empty; // no handle
    EXPECT_EQ(list.Add(&empty, kMagenta), -1);
    EXPECT_EQ(list.GetImageCount(), 0);
    Canvas canvas(20, 20);
    EXPECT_FALSE(list.Draw(&canvas.dc, 0, CPoint(0, 0), ILD_NORMAL));
    EXPECT_FALSE(list.Remove(0));
    EXPECT_EQ(canvas.CountNot(CRect(0, 0, 20, 20), kWhite), 0);
    // A bitmap narrower than the images still gives one image.
    CBitmap narrow;
    MakeSolid(narrow, 5, 8, kRed);
    EXPECT_EQ(list.Add(&narrow, kMagenta), 0);
    EXPECT_EQ(list.GetImageCount(), 1);
}

// ---- Drawing -----------------------------------------------------------------------------------

TEST_F(ImageListTest, MaskColourStaysTransparent)
{
    CImageList list;
    ASSERT_TRUE(list.Create(8, 6, ILC_COLOR24 | ILC_MASK, 1, 1));
    CBitmap bm;
    MakeHalfMasked(bm, 8, 6);
    ASSERT_EQ(list.Add(&bm, kMagenta), 0);

    for (UINT style : {ILD_NORMAL, ILD_TRANSPARENT})
    {
        Canvas canvas(20, 20);
        ASSERT_TRUE(list.Draw(&canvas.dc, 0, CPoint(2, 3), style));
        EXPECT_EQ(canvas.Count(CRect(2, 3, 6, 9), kWhite), 24) << "style " << style << canvas.Dump(CRect(0, 0, 12, 12));
        EXPECT_EQ(canvas.Count(CRect(6, 3, 10, 9), kBlue), 24);
        EXPECT_EQ(canvas.Ink(), CRect(6, 3, 10, 9));
    }
}

TEST_F(ImageListTest, BackgroundColourFillsMaskedPixelsOnlyInNormalStyle)
{
    CImageList list;
    ASSERT_TRUE(list.Create(8, 6, ILC_COLOR24 | ILC_MASK, 1, 1));
    CBitmap bm;
    MakeHalfMasked(bm, 8, 6);
    ASSERT_EQ(list.Add(&bm, kMagenta), 0);
    EXPECT_EQ(list.SetBkColor(kGreen), CLR_NONE);
    EXPECT_EQ(list.GetBkColor(), kGreen);

    Canvas normal(20, 20);
    list.Draw(&normal.dc, 0, CPoint(0, 0), ILD_NORMAL);
    EXPECT_EQ(normal.At(1, 1), kGreen);
    EXPECT_EQ(normal.At(5, 1), kBlue);

    Canvas transparent(20, 20);
    list.Draw(&transparent.dc, 0, CPoint(0, 0), ILD_TRANSPARENT);
    EXPECT_EQ(transparent.At(1, 1), kWhite);
    EXPECT_EQ(transparent.At(5, 1), kBlue);

    // The mask alone: black where drawn, white where transparent.
    Canvas mask(20, 20, kRed);
    list.Draw(&mask.dc, 0, CPoint(0, 0), ILD_MASK);
    EXPECT_EQ(mask.At(1, 1), kWhite);
    EXPECT_EQ(mask.At(5, 1), kBlack);
    EXPECT_EQ(mask.At(9, 1), kRed);
}

TEST_F(ImageListTest, MaskBitmapAndUnmaskedLists)
{
    // A monochrome mask: the top two rows white (transparent).
    CImageList masked;
    ASSERT_TRUE(masked.Create(8, 4, ILC_COLOR24 | ILC_MASK, 1, 1));
    CBitmap image, mask;
    MakeSolid(image, 8, 4, kRed);
    const BYTE rows[] = {0xFF, 0, 0xFF, 0, 0, 0, 0, 0}; // rows padded to 16 bits
    ASSERT_TRUE(mask.CreateBitmap(8, 4, 1, 1, rows));
    ASSERT_EQ(masked.Add(&image, &mask), 0);
    Canvas a(10, 10);
    masked.Draw(&a.dc, 0, CPoint(0, 0), ILD_NORMAL);
    EXPECT_EQ(a.Ink(), CRect(0, 2, 8, 4)) << a.Dump(CRect(0, 0, 10, 6));

    // Without ILC_MASK the mask colour is an ordinary colour.
    CImageList plain;
    ASSERT_TRUE(plain.Create(8, 6, ILC_COLOR24, 1, 1));
    CBitmap bm;
    MakeHalfMasked(bm, 8, 6);
    ASSERT_EQ(plain.Add(&bm, kMagenta), 0);
    Canvas b(10, 10);
    plain.Draw(&b.dc, 0, CPoint(0, 0), ILD_TRANSPARENT);
    EXPECT_EQ(b.At(1, 1), kMagenta);
    EXPECT_EQ(b.At(5, 1), kBlue);
}

TEST_F(ImageListTest, SelectedAndFocusBlendWithTheHighlightColour)
{
    CImageList list;
    ASSERT_TRUE(list.Create(8, 6, ILC_COLOR24 | ILC_MASK, 1, 1));
    CBitmap bm;
    MakeBitmap(bm, 8, 6, [](int x, int) { return x < 4 ? kMagenta : kRed; });
    ASSERT_EQ(list.Add(&bm, kMagenta), 0);
    const COLORREF highlight = ::GetSysColor(COLOR_HIGHLIGHT);
    ASSERT_NE(highlight, kRed);

    Canvas selected(10, 10);
    ASSERT_TRUE(list.Draw(&selected.dc, 0, CPoint(0, 0), ILD_SELECTED));
    EXPECT_TRUE(Near(selected.At(6, 2), Blend(kRed, highlight, 0.5)));
    EXPECT_EQ(selected.At(1, 2), kWhite); // the masked part is not blended

    Canvas focus(10, 10);
    list.Draw(&focus.dc, 0, CPoint(0, 0), ILD_FOCUS);
    EXPECT_TRUE(Near(focus.At(6, 2), Blend(kRed, highlight, 0.25)));
    EXPECT_EQ(focus.At(1, 2), kWhite);

    // A blend colour of one's own, and the destination as the blend colour.
    Canvas own(10, 10);
    list.DrawEx(&own.dc, 0, CPoint(0, 0), CSize(0, 0), CLR_DEFAULT, kBlack, ILD_BLEND50);
    EXPECT_TRUE(Near(own.At(6, 2), RGB(128, 0, 0)));
    Canvas through(10, 10, kBlue);
    list.DrawEx(&through.dc, 0, CPoint(0, 0), CSize(0, 0), CLR_DEFAULT, CLR_NONE, ILD_BLEND50);
    EXPECT_TRUE(Near(through.At(6, 2), RGB(128, 0, 127), 2));
    EXPECT_EQ(through.At(1, 2), kBlue);
}

TEST_F(ImageListTest, DrawFollowsTheMappingAndDrawExCutsThePicture)
{
    CImageList list;
    ASSERT_TRUE(list.Create(6, 6, ILC_COLOR24, 1, 1));
    CBitmap bm;
    MakeSolid(bm, 6, 6, kRed);
    list.Add(&bm, kMagenta);

    Canvas canvas(30, 30);
    canvas.dc.SetViewportOrg(10, 5);
    list.Draw(&canvas.dc, 0, CPoint(1, 1), ILD_NORMAL);
    canvas.dc.SetViewportOrg(0, 0);
    EXPECT_EQ(canvas.Ink(), CRect(11, 6, 17, 12));

    Canvas part(30, 30);
    list.DrawEx(&part.dc, 0, CPoint(0, 0), CSize(3, 2), CLR_DEFAULT, CLR_DEFAULT, ILD_NORMAL);
    EXPECT_EQ(part.Ink(), CRect(0, 0, 3, 2));
}

TEST_F(ImageListTest, DrawIntoAWindowLandsOnItsSurface)
{
    CWnd wnd;
    ASSERT_TRUE(
        wnd.CreateEx(0, AfxRegisterWndClass(0), _T("images"), WS_POPUP | WS_VISIBLE, CRect(0, 0, 60, 40), nullptr, 0));
    CImageList list;
    ASSERT_TRUE(list.Create(8, 6, ILC_COLOR24 | ILC_MASK, 1, 1));
    CBitmap bm;
    MakeHalfMasked(bm, 8, 6);
    list.Add(&bm, kMagenta);
    {
        CClientDC dc(&wnd);
        dc.FillSolidRect(0, 0, 60, 40, kGreen);
        list.Draw(&dc, 0, CPoint(10, 10), ILD_NORMAL);
    }
    EXPECT_EQ(qor::test::SurfacePixel(&wnd, 11, 11), kGreen);
    EXPECT_EQ(qor::test::SurfacePixel(&wnd, 15, 11), kBlue);
    wnd.DestroyWindow();
}

// ---- Changing the list -------------------------------------------------------------------------

TEST_F(ImageListTest, RemoveShiftsLaterImagesAndReplaceKeepsTheIndex)
{
    CImageList list;
    ASSERT_TRUE(list.Create(4, 4, ILC_COLOR24 | ILC_MASK, 3, 1));
    CBitmap strip;
    MakeBitmap(strip, 12, 4, [](int x, int y) { return x < 4 ? kRed : x < 8 ? (y == 0 ? kMagenta : kGreen) : kBlue; });
    ASSERT_EQ(list.Add(&strip, kMagenta), 0);
    ASSERT_EQ(list.GetImageCount(), 3);

    ASSERT_TRUE(list.Remove(0));
    EXPECT_EQ(list.GetImageCount(), 2);
    Canvas c(10, 10);
    list.Draw(&c.dc, 0, CPoint(0, 0), ILD_NORMAL); // was image 1: its mask moved with it
    EXPECT_EQ(c.At(1, 0), kWhite);
    EXPECT_EQ(c.At(1, 1), kGreen);
    list.Draw(&c.dc, 1, CPoint(5, 0), ILD_NORMAL);
    EXPECT_EQ(c.At(6, 0), kBlue);
    EXPECT_FALSE(list.Remove(2));
    EXPECT_FALSE(list.Draw(&c.dc, 2, CPoint(0, 0), ILD_NORMAL));

    CBitmap black;
    MakeSolid(black, 4, 4, kBlack);
    ASSERT_TRUE(list.Replace(0, &black, nullptr));
    Canvas d(10, 10);
    list.Draw(&d.dc, 0, CPoint(0, 0), ILD_NORMAL);
    EXPECT_EQ(d.Count(CRect(0, 0, 4, 4), kBlack), 16); // no mask given: all of it opaque
    EXPECT_FALSE(list.Replace(5, &black, nullptr));

    ASSERT_TRUE(list.Remove(-1));
    EXPECT_EQ(list.GetImageCount(), 0);
    EXPECT_EQ(list.Add(&black, kMagenta), 0);
}

// ---- Drag image --------------------------------------------------------------------------------

TEST_F(ImageListTest, DragImageFollowsThePointerFromItsHotSpot)
{
    CImageList list;
    ASSERT_TRUE(list.Create(16, 10, ILC_COLOR24 | ILC_MASK, 0, 1));
    CBitmap bm;
    MakeHalfMasked(bm, 16, 10);
    list.Add(&bm, kMagenta);

    EXPECT_FALSE(CImageList::DragEnter(nullptr, CPoint(0, 0))); // no drag yet
    EXPECT_EQ(ImageList_GetDragImage(nullptr, nullptr), nullptr);
    ASSERT_TRUE(list.BeginDrag(0, CPoint(16, 10)));
    RECT r{};
    EXPECT_FALSE(qor::gui::GetDragImageWindowRect(&r)); // not shown before DragEnter

    ASSERT_TRUE(CImageList::DragEnter(nullptr, CPoint(100, 120)));
    ASSERT_TRUE(qor::gui::GetDragImageWindowRect(&r));
    EXPECT_EQ(CRect(r), CRect(84, 110, 100, 120));
    ASSERT_TRUE(CImageList::DragMove(CPoint(200, 50)));
    ASSERT_TRUE(qor::gui::GetDragImageWindowRect(&r));
    EXPECT_EQ(CRect(r), CRect(184, 40, 200, 50));

    POINT pt{}, hot{};
    HIMAGELIST drag = ImageList_GetDragImage(&pt, &hot);
    ASSERT_NE(drag, nullptr);
    EXPECT_NE(drag, list.GetSafeHandle()); // a copy of the image
    EXPECT_EQ(CPoint(pt), CPoint(200, 50));
    EXPECT_EQ(CPoint(hot), CPoint(16, 10));
    // The source list may go; the drag keeps its picture, mask included.
    list.DeleteImageList();
    EXPECT_EQ(ImageList_GetImageCount(drag), 1);
    Canvas c(20, 12);
    ImageList_Draw(drag, 0, c.dc, 0, 0, ILD_NORMAL);
    EXPECT_EQ(c.At(2, 2), kWhite);
    EXPECT_EQ(c.At(12, 2), kBlue);

    EXPECT_TRUE(CImageList::DragShowNolock(FALSE));
    EXPECT_FALSE(qor::gui::GetDragImageWindowRect(&r));
    EXPECT_TRUE(CImageList::DragShowNolock(TRUE));
    EXPECT_TRUE(qor::gui::GetDragImageWindowRect(&r));
    EXPECT_TRUE(CImageList::DragLeave(nullptr));
    EXPECT_FALSE(qor::gui::GetDragImageWindowRect(&r));

    CImageList::EndDrag();
    EXPECT_EQ(ImageList_GetDragImage(nullptr, nullptr), nullptr);
    EXPECT_FALSE(CImageList::DragMove(CPoint(0, 0)));
    EXPECT_FALSE(qor::gui::GetDragImageWindowRect(&r));
}

TEST_F(ImageListTest, DragPositionsAreRelativeToTheLockWindow)
{
    CWnd wnd;
    ASSERT_TRUE(wnd.CreateEx(0, AfxRegisterWndClass(0), _T("lock"), WS_POPUP | WS_VISIBLE, CRect(50, 60, 250, 160),
                             nullptr, 0));
    CRect wr;
    wnd.GetWindowRect(&wr);
    CImageList list;
    ASSERT_TRUE(list.Create(8, 8, ILC_COLOR24, 0, 1));
    CBitmap bm;
    MakeSolid(bm, 8, 8, kRed);
    list.Add(&bm, kMagenta);
    ASSERT_TRUE(list.BeginDrag(0, CPoint(0, 0)));
    ASSERT_TRUE(CImageList::DragEnter(&wnd, CPoint(10, 20)));
    RECT r{};
    ASSERT_TRUE(qor::gui::GetDragImageWindowRect(&r));
    EXPECT_EQ(CRect(r), CRect(wr.left + 10, wr.top + 20, wr.left + 18, wr.top + 28));
    CImageList::EndDrag();
    wnd.DestroyWindow();
}

TEST_F(ImageListTest, DragCursorImageJoinsAtTheHotSpot)
{
    CImageList list, cursor;
    ASSERT_TRUE(list.Create(16, 16, ILC_COLOR24 | ILC_MASK, 0, 1));
    ASSERT_TRUE(cursor.Create(4, 4, ILC_COLOR24 | ILC_MASK, 0, 1));
    CBitmap bm, cur;
    MakeSolid(bm, 16, 16, kBlue);
    MakeSolid(cur, 4, 4, kRed);
    list.Add(&bm, kMagenta);
    cursor.Add(&cur, kMagenta);

    EXPECT_FALSE(cursor.SetDragCursorImage(0, CPoint(0, 0))); // no drag
    ASSERT_TRUE(list.BeginDrag(0, CPoint(16, 16)));
    ASSERT_TRUE(cursor.SetDragCursorImage(0, CPoint(0, 0)));
    POINT hot{};
    HIMAGELIST drag = ImageList_GetDragImage(nullptr, &hot);
    int cx = 0, cy = 0;
    ASSERT_TRUE(ImageList_GetIconSize(drag, &cx, &cy));
    EXPECT_EQ(cx, 20);
    EXPECT_EQ(cy, 20);
    EXPECT_EQ(CPoint(hot), CPoint(16, 16));
    Canvas c(24, 24);
    ImageList_Draw(drag, 0, c.dc, 0, 0, ILD_TRANSPARENT);
    EXPECT_EQ(c.At(8, 8), kBlue);
    EXPECT_EQ(c.At(17, 17), kRed);
    EXPECT_EQ(c.At(18, 2), kWhite); // outside both pictures: transparent
    EXPECT_EQ(c.At(2, 18), kWhite);
}

// On a screen of ratio 1.5 a picture drawn from a window's DC (as the ensemble dialog's load model is) has
// 1.5 device pixels per window pixel: the list and the drag image keep all of it, not its top-left part.
TEST_F(ImageListTest, APictureFromAHighDensityWindowStaysWholeInTheListAndTheDragImage)
{
    qor::test::TestPixelRatio ratio(1.5);
    CWnd w;
    ASSERT_TRUE(w.CreateEx(0, nullptr, L"dense", WS_POPUP | WS_VISIBLE, CRect(0, 0, 120, 80), nullptr, 0));
    CClientDC screen(&w);
    CDC memory;
    ASSERT_TRUE(memory.CreateCompatibleDC(&screen));
    CBitmap picture;
    ASSERT_TRUE(picture.CreateCompatibleBitmap(&screen, 40, 20));
    CBitmap* old = memory.SelectObject(&picture);
    memory.FillSolidRect(0, 0, 40, 20, kBlue);
    memory.FillSolidRect(30, 10, 10, 10, kGreen); // the far corner marks the whole picture
    memory.SelectObject(old);

    CImageList list;
    ASSERT_TRUE(list.Create(40, 20, ILC_COLOR24 | ILC_MASK, 0, 1));
    ASSERT_EQ(list.Add(&picture, kMagenta), 0);
    int cx = 0, cy = 0;
    ASSERT_TRUE(list.GetIconSize(&cx, &cy));
    EXPECT_EQ(CSize(cx, cy), CSize(40, 20)) << "window pixels";

    // Drawn back into the window it fills its 40 x 20 window pixels, the green corner where it was.
    {
        CClientDC dc(&w);
        dc.FillSolidRect(0, 0, 120, 80, RGB(255, 255, 255));
        ASSERT_TRUE(list.Draw(&dc, 0, CPoint(10, 10), ILD_NORMAL));
    }
    EXPECT_TRUE(Near(qor::test::SurfacePixel(&w, 12, 12), kBlue));
    EXPECT_TRUE(Near(qor::test::SurfacePixel(&w, 47, 27), kGreen)) << "the far corner came along";
    EXPECT_TRUE(Near(qor::test::SurfacePixel(&w, 51, 31), RGB(255, 255, 255)));

    // The drag image is the picture's size, and so is the copy it drags.
    ASSERT_TRUE(list.BeginDrag(0, CPoint(0, 0)));
    ASSERT_TRUE(CImageList::DragEnter(nullptr, CPoint(300, 200)));
    RECT r{};
    ASSERT_TRUE(qor::gui::GetDragImageWindowRect(&r));
    EXPECT_EQ(CRect(r), CRect(300, 200, 340, 220));
    HIMAGELIST drag = ImageList_GetDragImage(nullptr, nullptr);
    ASSERT_NE(drag, nullptr);
    {
        CClientDC dc(&w);
        dc.FillSolidRect(0, 0, 120, 80, RGB(255, 255, 255));
        ASSERT_TRUE(ImageList_Draw(drag, 0, dc.GetSafeHdc(), 60, 40, ILD_NORMAL));
    }
    EXPECT_TRUE(Near(qor::test::SurfacePixel(&w, 97, 57), kGreen)) << "the dragged copy is whole";
    EXPECT_TRUE(Near(qor::test::SurfacePixel(&w, 62, 42), kBlue));
    w.DestroyWindow();
}
