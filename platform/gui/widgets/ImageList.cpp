// Image lists over Qt images, and the drag image window.
#include "platform/gui/widgets/ImageList.h"

#include "platform/gui/draw/GdiInternal.h"
#include "platform/gui/draw/SysValues.h"
#include "platform/gui/window/Wnd.h"

#include <QPaintEvent>
#include <QPainter>
#include <QPointer>
#include <QWidget>

#include <algorithm>
#include <cmath>
#include <unordered_set>

using namespace qor::gui;

namespace {

constexpr QRgb kMaskClear = 0xFFFFFFFFu;  // white: transparent
constexpr QRgb kMaskOpaque = 0xFF000000u; // black: drawn

struct ImageListRecord : HIMAGELIST__
{
    int cx = 0;
    int cy = 0;
    UINT flags = 0;
    int count = 0;
    COLORREF bk = CLR_NONE;
    // Device pixels per window pixel: the ratio of the first pictures added (a bitmap made from a window's DC
    // on a high-density screen has the screen's), so that a picture comes out whole and sharp.
    double ratio = 1.0;
    // The images side by side; the mask alongside (masked lists only).
    BitmapRecord* image = nullptr;
    BitmapRecord* mask = nullptr;

    bool Masked() const { return (flags & ILC_MASK) != 0; }
    // An image's width and height in the strips' device pixels.
    int SlotWidth() const { return std::max(1, static_cast<int>(std::lround(cx * ratio))); }
    int SlotHeight() const { return std::max(1, static_cast<int>(std::lround(cy * ratio))); }

    ~ImageListRecord() override
    {
        ::DeleteObject(image);
        ::DeleteObject(mask);
    }
};

std::unordered_set<HIMAGELIST>& LiveLists()
{
    static std::unordered_set<HIMAGELIST> live;
    return live;
}

ImageListRecord* ListOf(HIMAGELIST h)
{
    if (!h || !LiveLists().count(h)) return nullptr;
    return static_cast<ImageListRecord*>(h);
}

BitmapRecord* NewStrip(int cx, int cy, int bitsPixel)
{
    auto* bm = new BitmapRecord;
    bm->bitsPixel = bitsPixel;
    bm->image = QImage(std::max(1, cx), std::max(1, cy), QImage::Format_RGB32);
    bm->image.fill(bitsPixel == 1 ? kMaskClear : kMaskOpaque);
    RegisterObject(bm, OBJ_BITMAP);
    return bm;
}

// Gives the strip room for n images, keeping the first `keep` of them.
void ResizeStrip(BitmapRecord* bm, const ImageListRecord* rec, int n, int keep)
{
    if (!bm) return;
    const int cx = rec->SlotWidth(), cy = rec->SlotHeight();
    QImage next(std::max(1, n * cx), std::max(1, cy), QImage::Format_RGB32);
    next.fill(bm->bitsPixel == 1 ? kMaskClear : kMaskOpaque);
    if (keep > 0)
    {
        QImage old = bm->image;
        old.setDevicePixelRatio(1.0);
        QPainter p(&next);
        p.setCompositionMode(QPainter::CompositionMode_Source);
        p.drawImage(QPoint(0, 0), old, QRect(0, 0, keep * cx, cy));
    }
    next.setDevicePixelRatio(rec->ratio);
    ReleasePaintersOn(&bm->image);
    bm->image = next;
}

// A picture at the list's ratio (one of another ratio is scaled to it).
QImage AtRatio(const ImageListRecord* rec, const QImage& picture, Qt::TransformationMode mode)
{
    const double from = picture.devicePixelRatio();
    QImage out = picture;
    if (std::abs(from - rec->ratio) > 1e-6)
        out = picture.scaled(static_cast<int>(std::lround(picture.width() * rec->ratio / from)),
                             static_cast<int>(std::lround(picture.height() * rec->ratio / from)), Qt::IgnoreAspectRatio,
                             mode);
    out.setDevicePixelRatio(1.0);
    return out;
}

// Puts a picture (and its mask: white = transparent; null: all opaque) into slot i, from the picture's
// window pixel `at` on. Parts of the slot the picture does not cover are black, and transparent in the mask.
void StoreImage(ImageListRecord* rec, int i, const QImage& source, const QImage* sourceMask, QPoint at)
{
    const QImage picture = AtRatio(rec, source, Qt::SmoothTransformation);
    const QImage maskAtRatio = sourceMask ? AtRatio(rec, *sourceMask, Qt::FastTransformation) : QImage();
    const QImage* mask = sourceMask ? &maskAtRatio : nullptr;
    const QPoint from(static_cast<int>(std::lround(at.x() * rec->ratio)),
                      static_cast<int>(std::lround(at.y() * rec->ratio)));
    const QRect slot(i * rec->SlotWidth(), 0, rec->SlotWidth(), rec->SlotHeight());
    ReleasePaintersOn(&rec->image->image);
    if (rec->mask) ReleasePaintersOn(&rec->mask->image);
    for (int y = 0; y < slot.height(); ++y)
        for (int x = 0; x < slot.width(); ++x)
        {
            const QPoint s(from.x() + x, from.y() + y);
            const bool inside = picture.rect().contains(s);
            bool clear = !inside;
            if (inside && mask && mask->rect().contains(s)) clear = (mask->pixel(s) & 0xFFFFFF) != 0;
            rec->image->image.setPixel(slot.x() + x, y, inside ? (picture.pixel(s) | 0xFF000000u) : kMaskOpaque);
            if (rec->mask) rec->mask->image.setPixel(slot.x() + x, y, clear ? kMaskClear : kMaskOpaque);
        }
}

int AppendImages(ImageListRecord* rec, const QImage& picture, const QImage* mask)
{
    if (picture.isNull()) return -1;
    if (rec->count == 0) rec->ratio = picture.devicePixelRatio() > 0 ? picture.devicePixelRatio() : 1.0;
    const int logicalWidth = static_cast<int>(std::lround(picture.width() / picture.devicePixelRatio()));
    const int n = std::max(1, logicalWidth / rec->cx);
    const int first = rec->count;
    ResizeStrip(rec->image, rec, first + n, first);
    ResizeStrip(rec->mask, rec, first + n, first);
    for (int k = 0; k < n; ++k)
        StoreImage(rec, first + k, picture, rec->Masked() ? mask : nullptr, QPoint(k * rec->cx, 0));
    rec->count = first + n;
    return first;
}

// The mask of a picture whose pixels of one colour are transparent; those pixels turn black.
QImage MaskOfColour(QImage& picture, COLORREF crMask)
{
    QImage mask(picture.size(), QImage::Format_RGB32);
    mask.setDevicePixelRatio(picture.devicePixelRatio());
    const QRgb key = ToQRgb(crMask) & 0xFFFFFF;
    for (int y = 0; y < picture.height(); ++y)
        for (int x = 0; x < picture.width(); ++x)
        {
            const bool clear = (picture.pixel(x, y) & 0xFFFFFF) == key;
            mask.setPixel(x, y, clear ? kMaskClear : kMaskOpaque);
            if (clear) picture.setPixel(x, y, kMaskOpaque);
        }
    return mask;
}

QRgb Mix(QRgb c, COLORREF with, double f)
{
    auto ch = [f](int a, int b) { return static_cast<int>(std::lround(a * (1.0 - f) + b * f)); };
    return qRgb(ch(qRed(c), GetRValue(with)), ch(qGreen(c), GetGValue(with)), ch(qBlue(c), GetBValue(with)));
}

// The picture that drawing image i with the style puts down (alpha 0 where nothing is drawn).
QImage Compose(const ImageListRecord* rec, int i, int logicalWidth, int logicalHeight, COLORREF rgbBk, COLORREF rgbFg,
               UINT style)
{
    const int w = std::min(rec->SlotWidth(), static_cast<int>(std::lround(logicalWidth * rec->ratio)));
    const int h = std::min(rec->SlotHeight(), static_cast<int>(std::lround(logicalHeight * rec->ratio)));
    QImage out(std::max(1, w), std::max(1, h), QImage::Format_ARGB32);
    out.fill(0u);
    out.setDevicePixelRatio(rec->ratio);
    const int x0 = i * rec->SlotWidth();
    const COLORREF bk = rgbBk == CLR_DEFAULT ? rec->bk : rgbBk;
    const bool useMask = rec->Masked() && !(style & ILD_IMAGE);
    const bool transparent = (style & ILD_TRANSPARENT) || bk == CLR_NONE;
    const double f = (style & ILD_BLEND50) ? 0.5 : (style & ILD_BLEND25) ? 0.25 : 0.0;
    const COLORREF fg = rgbFg == CLR_DEFAULT ? ::GetSysColor(COLOR_HIGHLIGHT) : rgbFg;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
        {
            const bool clear = rec->mask && (rec->mask->image.pixel(x0 + x, y) & 0xFFFFFF) != 0;
            QRgb c;
            if (style & ILD_MASK)
                c = clear ? kMaskClear : kMaskOpaque;
            else if (useMask && clear)
                c = transparent ? 0u : (ToQRgb(bk) | 0xFF000000u);
            else
            {
                c = rec->image->image.pixel(x0 + x, y);
                if (f > 0 && fg != CLR_NONE)
                    c = Mix(c, fg, f);
                else if (f > 0)
                    c = qRgba(qRed(c), qGreen(c), qBlue(c), static_cast<int>(std::lround(255 * (1.0 - f))));
            }
            out.setPixel(x, y, c);
        }
    return out;
}

// ---- The drag image --------------------------------------------------------------------------

class DragImageWindow : public QWidget
{
public:
    DragImageWindow()
        : QWidget(nullptr, Qt::ToolTip | Qt::FramelessWindowHint | Qt::WindowTransparentForInput |
                               Qt::WindowDoesNotAcceptFocus | Qt::WindowStaysOnTopHint)
    {
        setAttribute(Qt::WA_ShowWithoutActivating);
        setAttribute(Qt::WA_TransparentForMouseEvents);
        setAttribute(Qt::WA_TranslucentBackground);
        setFocusPolicy(Qt::NoFocus);
    }
    QImage picture;

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter p(this);
        p.setCompositionMode(QPainter::CompositionMode_Source);
        p.drawImage(QPoint(0, 0), picture);
    }
};

struct DragState
{
    HIMAGELIST list = nullptr; // a one-image copy owned by the drag
    POINT hotspot{0, 0};
    POINT pos{0, 0}; // relative to the lock window
    HWND lock = nullptr;
    bool entered = false;
    bool show = true;
    QPointer<DragImageWindow> window;
};

DragState& Drag()
{
    static DragState drag;
    return drag;
}

void UpdateDragWindow()
{
    DragState& d = Drag();
    ImageListRecord* rec = ListOf(d.list);
    const bool visible = rec && d.entered && d.show && rec->count > 0;
    if (!visible)
    {
        if (d.window) d.window->hide();
        return;
    }
    if (!d.window) d.window = new DragImageWindow;
    POINT origin{0, 0};
    if (d.lock)
        if (CWnd* w = CWnd::FromHandle(d.lock))
        {
            CRect r;
            w->GetWindowRect(&r);
            origin = r.TopLeft();
        }
    QImage picture = Compose(rec, 0, rec->cx, rec->cy, CLR_NONE, CLR_DEFAULT, ILD_TRANSPARENT);
    if (d.window->picture != picture)
    {
        d.window->picture = picture;
        d.window->update();
    }
    d.window->setGeometry(origin.x + d.pos.x - d.hotspot.x, origin.y + d.pos.y - d.hotspot.y, rec->cx, rec->cy);
    if (!d.window->isVisible()) d.window->show();
}

// A one-image masked list holding an ARGB picture (alpha 0: transparent).
HIMAGELIST ListOfPicture(const QImage& picture)
{
    const QSize logical = picture.deviceIndependentSize().toSize();
    HIMAGELIST h = ImageList_Create(logical.width(), logical.height(), ILC_COLOR32 | ILC_MASK, 1, 1);
    ImageListRecord* rec = ListOf(h);
    if (!rec) return nullptr;
    QImage mask(picture.size(), QImage::Format_RGB32);
    mask.setDevicePixelRatio(picture.devicePixelRatio());
    for (int y = 0; y < picture.height(); ++y)
        for (int x = 0; x < picture.width(); ++x)
            mask.setPixel(x, y, qAlpha(picture.pixel(x, y)) == 0 ? kMaskClear : kMaskOpaque);
    AppendImages(rec, picture, &mask);
    return h;
}

} // namespace

// ---- Handle functions --------------------------------------------------------------------------

HIMAGELIST ImageList_Create(int cx, int cy, UINT flags, int cInitial, int cGrow)
{
    if (cx <= 0 || cy <= 0) return nullptr;
    auto* rec = new ImageListRecord;
    rec->cx = cx;
    rec->cy = cy;
    rec->flags = flags;
    rec->image = NewStrip(cx, cy, 32);
    if (rec->Masked()) rec->mask = NewStrip(cx, cy, 1);
    LiveLists().insert(rec);
    return rec;
}

BOOL ImageList_Destroy(HIMAGELIST himl)
{
    ImageListRecord* rec = ListOf(himl);
    if (!rec) return FALSE;
    if (Drag().list == himl)
    {
        ImageList_EndDrag(); // destroys it
        return TRUE;
    }
    LiveLists().erase(himl);
    delete rec;
    return TRUE;
}

int ImageList_GetImageCount(HIMAGELIST himl)
{
    ImageListRecord* rec = ListOf(himl);
    return rec ? rec->count : 0;
}

BOOL ImageList_GetIconSize(HIMAGELIST himl, int* cx, int* cy)
{
    ImageListRecord* rec = ListOf(himl);
    if (!rec || !cx || !cy) return FALSE;
    *cx = rec->cx;
    *cy = rec->cy;
    return TRUE;
}

BOOL ImageList_GetImageInfo(HIMAGELIST himl, int i, IMAGEINFO* pImageInfo)
{
    ImageListRecord* rec = ListOf(himl);
    if (!rec || !pImageInfo || i < 0 || i >= rec->count) return FALSE;
    *pImageInfo = IMAGEINFO{};
    pImageInfo->hbmImage = rec->image;
    pImageInfo->hbmMask = rec->mask;
    pImageInfo->rcImage = RECT{i * rec->cx, 0, (i + 1) * rec->cx, rec->cy};
    return TRUE;
}

COLORREF ImageList_SetBkColor(HIMAGELIST himl, COLORREF clrBk)
{
    ImageListRecord* rec = ListOf(himl);
    if (!rec) return CLR_NONE;
    const COLORREF old = rec->bk;
    rec->bk = clrBk == CLR_NONE ? CLR_NONE : (clrBk & 0xFFFFFF);
    return old;
}

COLORREF ImageList_GetBkColor(HIMAGELIST himl)
{
    ImageListRecord* rec = ListOf(himl);
    return rec ? rec->bk : CLR_NONE;
}

int ImageList_Add(HIMAGELIST himl, HBITMAP hbmImage, HBITMAP hbmMask)
{
    ImageListRecord* rec = ListOf(himl);
    BitmapRecord* bm = BitmapOf(hbmImage);
    if (!rec || !bm) return -1;
    BitmapRecord* mask = hbmMask ? BitmapOf(hbmMask) : nullptr;
    if (hbmMask && !mask) return -1;
    return AppendImages(rec, bm->image, mask ? &mask->image : nullptr);
}

int ImageList_AddMasked(HIMAGELIST himl, HBITMAP hbmImage, COLORREF crMask)
{
    ImageListRecord* rec = ListOf(himl);
    BitmapRecord* bm = BitmapOf(hbmImage);
    if (!rec || !bm) return -1;
    if (!rec->Masked()) return AppendImages(rec, bm->image, nullptr);
    QImage picture = bm->image;
    const QImage mask = MaskOfColour(picture, crMask);
    return AppendImages(rec, picture, &mask);
}

BOOL ImageList_Replace(HIMAGELIST himl, int i, HBITMAP hbmImage, HBITMAP hbmMask)
{
    ImageListRecord* rec = ListOf(himl);
    BitmapRecord* bm = BitmapOf(hbmImage);
    BitmapRecord* mask = hbmMask ? BitmapOf(hbmMask) : nullptr;
    if (!rec || !bm || i < 0 || i >= rec->count || (hbmMask && !mask)) return FALSE;
    StoreImage(rec, i, bm->image, mask ? &mask->image : nullptr, QPoint(0, 0));
    return TRUE;
}

BOOL ImageList_Remove(HIMAGELIST himl, int i)
{
    ImageListRecord* rec = ListOf(himl);
    if (!rec || i < -1 || i >= rec->count) return FALSE;
    if (i == -1)
    {
        ResizeStrip(rec->image, rec, 0, 0);
        ResizeStrip(rec->mask, rec, 0, 0);
        rec->count = 0;
        return TRUE;
    }
    for (BitmapRecord* bm : {rec->image, rec->mask})
    {
        if (!bm) continue;
        ReleasePaintersOn(&bm->image);
        const int cx = rec->SlotWidth();
        bm->image.setDevicePixelRatio(1.0);
        const QImage tail = bm->image.copy((i + 1) * cx, 0, (rec->count - i - 1) * cx, rec->SlotHeight());
        {
            QPainter p(&bm->image);
            p.setCompositionMode(QPainter::CompositionMode_Source);
            p.drawImage(QPoint(i * cx, 0), tail);
        }
        ResizeStrip(bm, rec, rec->count - 1, rec->count - 1);
    }
    --rec->count;
    return TRUE;
}

BOOL ImageList_DrawEx(HIMAGELIST himl, int i, HDC hdcDst, int x, int y, int dx, int dy, COLORREF rgbBk, COLORREF rgbFg,
                      UINT fStyle)
{
    ImageListRecord* rec = ListOf(himl);
    DcRecord* dc = DcOf(hdcDst);
    if (!rec || !dc || i < 0 || i >= rec->count) return FALSE;
    const int w = dx > 0 ? std::min(dx, rec->cx) : rec->cx;
    const int h = dy > 0 ? std::min(dy, rec->cy) : rec->cy;
    const QImage picture = Compose(rec, i, w, h, rgbBk, rgbFg, fStyle);
    QPainter* p = dc->Begin();
    if (!p) return TRUE; // nowhere to draw (a measuring DC)
    const QRect d = dc->ToDeviceRect(RECT{x, y, x + w, y + h});
    if (d.size() == picture.size())
        p->drawImage(d.topLeft(), picture);
    else
        p->drawImage(d, picture);
    return TRUE;
}

BOOL ImageList_Draw(HIMAGELIST himl, int i, HDC hdcDst, int x, int y, UINT fStyle)
{
    return ImageList_DrawEx(himl, i, hdcDst, x, y, 0, 0, CLR_DEFAULT, CLR_DEFAULT, fStyle);
}

// ---- Drag image ----------------------------------------------------------------------------------

BOOL ImageList_BeginDrag(HIMAGELIST himlTrack, int iTrack, int dxHotspot, int dyHotspot)
{
    ImageListRecord* rec = ListOf(himlTrack);
    if (!rec || iTrack < 0 || iTrack >= rec->count) return FALSE;
    ImageList_EndDrag();
    const QImage picture = Compose(rec, iTrack, rec->cx, rec->cy, CLR_NONE, CLR_DEFAULT, ILD_TRANSPARENT);
    DragState& d = Drag();
    d.list = ListOfPicture(picture);
    d.hotspot = POINT{dxHotspot, dyHotspot};
    d.pos = POINT{0, 0};
    d.lock = nullptr;
    d.entered = false;
    d.show = true;
    return d.list != nullptr;
}

BOOL ImageList_DragEnter(HWND hwndLock, int x, int y)
{
    DragState& d = Drag();
    if (!d.list) return FALSE;
    d.lock = hwndLock;
    d.pos = POINT{x, y};
    d.entered = true;
    d.show = true;
    UpdateDragWindow();
    return TRUE;
}

BOOL ImageList_DragMove(int x, int y)
{
    DragState& d = Drag();
    if (!d.list) return FALSE;
    d.pos = POINT{x, y};
    UpdateDragWindow();
    return TRUE;
}

BOOL ImageList_DragLeave(HWND hwndLock)
{
    DragState& d = Drag();
    if (!d.list) return FALSE;
    d.entered = false;
    d.lock = nullptr;
    UpdateDragWindow();
    return TRUE;
}

BOOL ImageList_DragShowNolock(BOOL fShow)
{
    DragState& d = Drag();
    if (!d.list) return FALSE;
    d.show = fShow != FALSE;
    UpdateDragWindow();
    return TRUE;
}

void ImageList_EndDrag()
{
    DragState& d = Drag();
    delete d.window.data();
    d.window = nullptr;
    HIMAGELIST list = d.list;
    d.list = nullptr;
    d.entered = false;
    d.lock = nullptr;
    if (list) ImageList_Destroy(list);
}

BOOL ImageList_SetDragCursorImage(HIMAGELIST himlDrag, int iDrag, int dxHotspot, int dyHotspot)
{
    DragState& d = Drag();
    ImageListRecord* cursor = ListOf(himlDrag);
    ImageListRecord* drag = ListOf(d.list);
    if (!cursor || !drag || iDrag < 0 || iDrag >= cursor->count) return FALSE;
    const QImage dragPicture = Compose(drag, 0, drag->cx, drag->cy, CLR_NONE, CLR_DEFAULT, ILD_TRANSPARENT);
    const QImage cursorPicture = Compose(cursor, iDrag, cursor->cx, cursor->cy, CLR_NONE, CLR_DEFAULT, ILD_TRANSPARENT);
    // The cursor's hot spot goes onto the drag image's hot spot.
    const QPoint cursorAt(d.hotspot.x - dxHotspot, d.hotspot.y - dyHotspot);
    const QRect bounds = QRect(QPoint(0, 0), dragPicture.deviceIndependentSize().toSize()) |
                         QRect(cursorAt, cursorPicture.deviceIndependentSize().toSize());
    QImage combined(bounds.size() * drag->ratio, QImage::Format_ARGB32);
    combined.setDevicePixelRatio(drag->ratio);
    combined.fill(0u);
    {
        QPainter p(&combined);
        p.drawImage(-bounds.topLeft(), dragPicture);
        p.drawImage(cursorAt - bounds.topLeft(), cursorPicture);
    }
    HIMAGELIST next = ListOfPicture(combined);
    if (!next) return FALSE;
    HIMAGELIST old = d.list;
    d.list = next;
    d.hotspot = POINT{d.hotspot.x - bounds.left(), d.hotspot.y - bounds.top()};
    LiveLists().erase(old);
    delete static_cast<ImageListRecord*>(old);
    UpdateDragWindow();
    return TRUE;
}

HIMAGELIST ImageList_GetDragImage(POINT* ppt, POINT* pptHotspot)
{
    DragState& d = Drag();
    if (!d.list) return nullptr;
    if (ppt) *ppt = d.pos;
    if (pptHotspot) *pptHotspot = d.hotspot;
    return d.list;
}

bool qor::gui::GetDragImageWindowRect(RECT* screenRect)
{
    DragState& d = Drag();
    if (!d.window || !d.window->isVisible()) return false;
    if (screenRect)
    {
        const QRect g = d.window->geometry();
        *screenRect = RECT{g.x(), g.y(), g.x() + g.width(), g.y() + g.height()};
    }
    return true;
}

// ---- CImageList ----------------------------------------------------------------------------------

CImageList::~CImageList() { DeleteImageList(); }

BOOL CImageList::Attach(HIMAGELIST hImageList)
{
    if (m_hImageList || !ListOf(hImageList)) return FALSE;
    m_hImageList = hImageList;
    return TRUE;
}

HIMAGELIST CImageList::Detach()
{
    HIMAGELIST h = m_hImageList;
    m_hImageList = nullptr;
    return h;
}

BOOL CImageList::Create(int cx, int cy, UINT nFlags, int nInitial, int nGrow)
{
    if (m_hImageList) return FALSE;
    m_hImageList = ImageList_Create(cx, cy, nFlags, nInitial, nGrow);
    return m_hImageList != nullptr;
}

BOOL CImageList::DeleteImageList()
{
    if (!m_hImageList) return FALSE;
    ImageList_Destroy(Detach());
    return TRUE;
}

int CImageList::GetImageCount() const { return ImageList_GetImageCount(m_hImageList); }
BOOL CImageList::GetImageInfo(int nImage, IMAGEINFO* pImageInfo) const
{
    return ImageList_GetImageInfo(m_hImageList, nImage, pImageInfo);
}
BOOL CImageList::GetIconSize(int* cx, int* cy) const { return ImageList_GetIconSize(m_hImageList, cx, cy); }
COLORREF CImageList::SetBkColor(COLORREF cr) { return ImageList_SetBkColor(m_hImageList, cr); }
COLORREF CImageList::GetBkColor() const { return ImageList_GetBkColor(m_hImageList); }

int CImageList::Add(CBitmap* pbmImage, CBitmap* pbmMask)
{
    if (!pbmImage) return -1;
    return ImageList_Add(m_hImageList, *pbmImage, pbmMask ? static_cast<HBITMAP>(*pbmMask) : nullptr);
}

int CImageList::Add(CBitmap* pbmImage, COLORREF crMask)
{
    if (!pbmImage) return -1;
    return ImageList_AddMasked(m_hImageList, *pbmImage, crMask);
}

BOOL CImageList::Replace(int nImage, CBitmap* pbmImage, CBitmap* pbmMask)
{
    if (!pbmImage) return FALSE;
    return ImageList_Replace(m_hImageList, nImage, *pbmImage, pbmMask ? static_cast<HBITMAP>(*pbmMask) : nullptr);
}

BOOL CImageList::Remove(int nImage) { return ImageList_Remove(m_hImageList, nImage); }

BOOL CImageList::Draw(CDC* pDC, int nImage, POINT pt, UINT nStyle)
{
    if (!pDC) return FALSE;
    return ImageList_Draw(m_hImageList, nImage, pDC->GetSafeHdc(), pt.x, pt.y, nStyle);
}

BOOL CImageList::DrawEx(CDC* pDC, int nImage, POINT pt, SIZE sz, COLORREF clrBk, COLORREF clrFg, UINT nStyle)
{
    if (!pDC) return FALSE;
    return ImageList_DrawEx(m_hImageList, nImage, pDC->GetSafeHdc(), pt.x, pt.y, sz.cx, sz.cy, clrBk, clrFg, nStyle);
}

BOOL CImageList::BeginDrag(int nImage, CPoint ptHotSpot)
{
    return ImageList_BeginDrag(m_hImageList, nImage, ptHotSpot.x, ptHotSpot.y);
}

BOOL CImageList::SetDragCursorImage(int nDrag, CPoint ptHotSpot)
{
    return ImageList_SetDragCursorImage(m_hImageList, nDrag, ptHotSpot.x, ptHotSpot.y);
}

void CImageList::EndDrag() { ImageList_EndDrag(); }
BOOL CImageList::DragEnter(CWnd* pWndLock, CPoint point)
{
    return ImageList_DragEnter(pWndLock ? pWndLock->GetSafeHwnd() : nullptr, point.x, point.y);
}
BOOL CImageList::DragMove(CPoint pt) { return ImageList_DragMove(pt.x, pt.y); }
BOOL CImageList::DragLeave(CWnd* pWndLock) { return ImageList_DragLeave(pWndLock ? pWndLock->GetSafeHwnd() : nullptr); }
BOOL CImageList::DragShowNolock(BOOL bShow) { return ImageList_DragShowNolock(bShow); }
