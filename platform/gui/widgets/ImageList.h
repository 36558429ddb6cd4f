// Image lists: rows of equally sized images (with an optional transparency mask) that are
// drawn by index, and the drag image that follows the pointer during a mouse drag.
//
// An image list keeps its images side by side in one bitmap (and its mask in a second,
// monochrome one: white = transparent). IMAGEINFO hands out these bitmaps and the image's
// rectangle in them; they belong to the list and must not be deleted.
//
// The drag image is a small frameless top-level window that shows the image, placed by the
// pointer position minus the hot spot; it never takes the mouse or the focus.
#pragma once

#include "platform/gui/draw/Gdi.h"
#include "platform/gui/draw/WinDefs.h"

struct HIMAGELIST__
{
    virtual ~HIMAGELIST__() = default;
};
using HIMAGELIST = HIMAGELIST__*;

// Creation flags (ImageList_Create)
constexpr UINT ILC_MASK = 0x00000001;
constexpr UINT ILC_COLOR = 0x00000000;
constexpr UINT ILC_COLORDDB = 0x000000FE;
constexpr UINT ILC_COLOR4 = 0x00000004;
constexpr UINT ILC_COLOR8 = 0x00000008;
constexpr UINT ILC_COLOR16 = 0x00000010;
constexpr UINT ILC_COLOR24 = 0x00000018;
constexpr UINT ILC_COLOR32 = 0x00000020;

// Drawing styles (ImageList_Draw)
constexpr UINT ILD_NORMAL = 0x00000000;      // masked lists: transparent unless a background colour is set
constexpr UINT ILD_TRANSPARENT = 0x00000001; // masked pixels are never drawn
constexpr UINT ILD_BLEND25 = 0x00000002;     // 25 % of the blend colour (the highlight by default)
constexpr UINT ILD_FOCUS = ILD_BLEND25;
constexpr UINT ILD_BLEND50 = 0x00000004; // 50 % of the blend colour
constexpr UINT ILD_SELECTED = ILD_BLEND50;
constexpr UINT ILD_BLEND = ILD_BLEND50;
constexpr UINT ILD_MASK = 0x00000010;  // the mask only: black opaque, white transparent
constexpr UINT ILD_IMAGE = 0x00000020; // the image only, mask ignored

struct IMAGEINFO
{
    HBITMAP hbmImage; // the list's image bitmap
    HBITMAP hbmMask;  // its mask bitmap (null without ILC_MASK)
    int Unused1;
    int Unused2;
    RECT rcImage; // the image's place in both bitmaps
};
using LPIMAGEINFO = IMAGEINFO*;

// ---- Handle functions ---------------------------------------------------------------------

// cx, cy > 0; the list grows as needed (nInitial and nGrow only reserve room).
HIMAGELIST ImageList_Create(int cx, int cy, UINT flags, int cInitial, int cGrow);
BOOL ImageList_Destroy(HIMAGELIST himl);
int ImageList_GetImageCount(HIMAGELIST himl);
BOOL ImageList_GetIconSize(HIMAGELIST himl, int* cx, int* cy);
BOOL ImageList_GetImageInfo(HIMAGELIST himl, int i, IMAGEINFO* pImageInfo);
COLORREF ImageList_SetBkColor(HIMAGELIST himl, COLORREF clrBk); // CLR_NONE: draw transparently
COLORREF ImageList_GetBkColor(HIMAGELIST himl);
// Adds as many images as the bitmap holds side by side (width / cx; a narrower bitmap
// gives one image). hbmMask: white pixels are transparent (null: all opaque). Returns the
// index of the first new image, -1 on failure.
int ImageList_Add(HIMAGELIST himl, HBITMAP hbmImage, HBITMAP hbmMask);
// As ImageList_Add, with the pixels of colour crMask transparent (and black in the image).
int ImageList_AddMasked(HIMAGELIST himl, HBITMAP hbmImage, COLORREF crMask);
BOOL ImageList_Replace(HIMAGELIST himl, int i, HBITMAP hbmImage, HBITMAP hbmMask);
// i == -1 removes every image.
BOOL ImageList_Remove(HIMAGELIST himl, int i);
BOOL ImageList_Draw(HIMAGELIST himl, int i, HDC hdcDst, int x, int y, UINT fStyle);
// dx, dy: the part of the image to draw (0: all of it). rgbBk: background of masked pixels
// (CLR_DEFAULT: the list's, CLR_NONE: transparent). rgbFg: the blend colour (CLR_DEFAULT:
// the system highlight colour, CLR_NONE: the destination shows through instead).
BOOL ImageList_DrawEx(HIMAGELIST himl, int i, HDC hdcDst, int x, int y, int dx, int dy, COLORREF rgbBk, COLORREF rgbFg,
                      UINT fStyle);

// ---- The drag image (one at a time) ----------------------------------------------------------

// Starts a drag with a copy of image iTrack; the hot spot is the point of the image that
// sits at the drag position.
BOOL ImageList_BeginDrag(HIMAGELIST himlTrack, int iTrack, int dxHotspot, int dyHotspot);
// Shows the image at (x, y) relative to the lock window's top-left corner (its window
// rectangle; the screen for null).
BOOL ImageList_DragEnter(HWND hwndLock, int x, int y);
BOOL ImageList_DragMove(int x, int y);
BOOL ImageList_DragLeave(HWND hwndLock); // hides the image
BOOL ImageList_DragShowNolock(BOOL fShow);
void ImageList_EndDrag();
// Combines image iDrag of himlDrag (typically a cursor picture) with the drag image: the
// hot spot (dxHotspot, dyHotspot) of the new picture is placed on the drag image's hot spot.
BOOL ImageList_SetDragCursorImage(HIMAGELIST himlDrag, int iDrag, int dxHotspot, int dyHotspot);
// The drag image list (null when no drag), the drag position and the hot spot.
HIMAGELIST ImageList_GetDragImage(POINT* ppt, POINT* pptHotspot);

// ---- CImageList ----------------------------------------------------------------------------------

class CImageList
{
public:
    HIMAGELIST m_hImageList = nullptr;

    CImageList() = default;
    virtual ~CImageList(); // destroys the list it holds
    CImageList(const CImageList&) = delete;
    CImageList& operator=(const CImageList&) = delete;

    operator HIMAGELIST() const { return m_hImageList; }
    HIMAGELIST GetSafeHandle() const { return m_hImageList; }
    BOOL Attach(HIMAGELIST hImageList);
    HIMAGELIST Detach();

    BOOL Create(int cx, int cy, UINT nFlags, int nInitial, int nGrow);
    BOOL DeleteImageList();

    int GetImageCount() const;
    BOOL GetImageInfo(int nImage, IMAGEINFO* pImageInfo) const;
    BOOL GetIconSize(int* cx, int* cy) const;
    COLORREF SetBkColor(COLORREF cr);
    COLORREF GetBkColor() const;

    int Add(CBitmap* pbmImage, CBitmap* pbmMask);
    int Add(CBitmap* pbmImage, COLORREF crMask);
    BOOL Replace(int nImage, CBitmap* pbmImage, CBitmap* pbmMask);
    BOOL Remove(int nImage);

    BOOL Draw(CDC* pDC, int nImage, POINT pt, UINT nStyle);
    BOOL DrawEx(CDC* pDC, int nImage, POINT pt, SIZE sz, COLORREF clrBk, COLORREF clrFg, UINT nStyle);

    // Drag image
    BOOL BeginDrag(int nImage, CPoint ptHotSpot);
    BOOL SetDragCursorImage(int nDrag, CPoint ptHotSpot);
    static void EndDrag();
    static BOOL DragEnter(CWnd* pWndLock, CPoint point);
    static BOOL DragMove(CPoint pt);
    static BOOL DragLeave(CWnd* pWndLock);
    static BOOL DragShowNolock(BOOL bShow);
};

namespace qor::gui {
// The drag image window's screen rectangle while it is shown (for tests); false when hidden.
bool GetDragImageWindowRect(RECT* screenRect);
} // namespace qor::gui
