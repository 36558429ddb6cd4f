// Device contexts: state, mapping modes, clipping, object selection, lines, shapes and blits.
// Every drawing is done in device pixels with an untransformed, non-antialiased painter; the
// mapping from logical units is done here, so that LPtoDP/DPtoLP and drawing agree exactly.
#include "platform/gui/draw/GdiInternal.h"
#include "platform/gui/draw/SurfaceAccess.h"
#include "platform/gui/draw/SysValues.h"
#include "platform/gui/draw/WinDefs.h"

#include <QGuiApplication>
#include <QPainterPath>
#include <QPolygon>
#include <QScreen>

#include <cmath>
#include <functional>
#include <memory>
#include <unordered_map>
#include <unordered_set>

namespace qor::gui {
namespace {

struct DcRegistry
{
    std::unordered_set<HDC> live;
    std::unordered_map<const QImage*, DcRecord*> painters; // who paints on an image now
};

DcRegistry& Dcs()
{
    static auto* r = new DcRegistry;
    return *r;
}

// The device that screen text is measured on (96 dots per inch).
QImage& ScreenMetricsImage()
{
    static auto* img = [] {
        auto* i = new QImage(1, 1, QImage::Format_RGB32);
        i->setDotsPerMeterX(3780);
        i->setDotsPerMeterY(3780);
        return i;
    }();
    return *img;
}

// The 1x1 bitmap every new memory DC starts with.
HBITMAP DefaultBitmap()
{
    static HBITMAP h = [] {
        HBITMAP b = ::CreateBitmap(1, 1, 1, 1, nullptr);
        b->qorStock = true;
        return b;
    }();
    return h;
}

int Round(double v) { return static_cast<int>(std::floor(v + 0.5)); }

const QRect kUnbounded(-0x3FFFFFF, -0x3FFFFFF, 0x7FFFFFE, 0x7FFFFFE);

int RegionType(const QRegion& r)
{
    if (r.isEmpty()) return NULLREGION;
    return r.rectCount() == 1 ? SIMPLEREGION : COMPLEXREGION;
}

void HoldState(const DcState& s)
{
    HoldObject(s.pen);
    HoldObject(s.brush);
    HoldObject(s.font);
    HoldObject(s.bitmap);
}

void ReleaseState(const DcState& s)
{
    ReleaseObject(s.pen);
    ReleaseObject(s.brush);
    ReleaseObject(s.font);
    ReleaseObject(s.bitmap);
}

DcRecord* NewDc(DcKind kind)
{
    auto* dc = new DcRecord;
    dc->kind = kind;
    dc->state.pen = static_cast<HPEN>(GetStockObject(BLACK_PEN));
    dc->state.brush = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
    dc->state.font = static_cast<HFONT>(GetStockObject(SYSTEM_FONT));
    if (kind == DcKind::Memory) dc->state.bitmap = DefaultBitmap();
    HoldState(dc->state);
    Dcs().live.insert(dc);
    return dc;
}

bool IsRaster(const DcRecord* dc) { return dc->kind != DcKind::Painter; }

// The composition mode for a binary raster operation; false when nothing is to be drawn.
bool Rop2Mode(int rop2, COLORREF& color, QPainter::CompositionMode& mode, bool raster)
{
    mode = QPainter::CompositionMode_SourceOver;
    switch (rop2)
    {
    case R2_COPYPEN: return true;
    case R2_NOP: return false;
    case R2_BLACK: color = 0; return true;
    case R2_WHITE: color = 0xFFFFFF; return true;
    case R2_NOTCOPYPEN: color = ~color & 0xFFFFFF; return true;
    default: break;
    }
    if (!raster) return true;
    switch (rop2)
    {
    case R2_NOT: mode = QPainter::RasterOp_NotDestination; break;
    case R2_XORPEN: mode = QPainter::RasterOp_SourceXorDestination; break;
    case R2_NOTXORPEN: mode = QPainter::RasterOp_NotSourceXorDestination; break;
    case R2_MASKPEN: mode = QPainter::RasterOp_SourceAndDestination; break;
    case R2_MERGEPEN: mode = QPainter::RasterOp_SourceOrDestination; break;
    case R2_NOTMERGEPEN: mode = QPainter::RasterOp_NotSourceAndNotDestination; break;
    case R2_NOTMASKPEN: mode = QPainter::RasterOp_NotSourceOrNotDestination; break;
    case R2_MASKNOTPEN: mode = QPainter::RasterOp_NotSourceAndDestination; break;
    case R2_MASKPENNOT: mode = QPainter::RasterOp_SourceAndNotDestination; break;
    case R2_MERGENOTPEN: mode = QPainter::RasterOp_NotSourceOrDestination; break;
    case R2_MERGEPENNOT: mode = QPainter::RasterOp_SourceOrNotDestination; break;
    default: break;
    }
    return true;
}

// The pen to draw with, in device pixels; Qt::NoPen for a null pen.
struct DevicePen
{
    QPen pen{Qt::NoPen};
    bool styled = false; // dashes whose gaps take the background colour in OPAQUE mode
    int width = 1;       // device pixels
};

DevicePen MakePen(DcRecord* dc)
{
    DevicePen d;
    PenRecord* p = PenOf(dc->state.pen);
    if (!p || p->style == PS_NULL) return d;
    COLORREF c = p->dcPen ? dc->state.dcPenColor : p->color;
    QPen pen(ToQColor(c));
    int w = p->width <= 1 ? 1 : std::max(1, Round(p->width * std::fabs(dc->ScaleX())));
    d.width = w;
    if (w <= 1)
    {
        pen.setWidth(0); // cosmetic: one device pixel, end point left out
        pen.setCapStyle(Qt::FlatCap);
        pen.setJoinStyle(Qt::MiterJoin);
    }
    else
    {
        pen.setWidth(w);
        DWORD cap = p->flags & PS_ENDCAP_MASK;
        DWORD join = p->flags & PS_JOIN_MASK;
        pen.setCapStyle(cap == PS_ENDCAP_FLAT ? Qt::FlatCap : cap == PS_ENDCAP_SQUARE ? Qt::SquareCap : Qt::RoundCap);
        pen.setJoinStyle(join == PS_JOIN_BEVEL ? Qt::BevelJoin : join == PS_JOIN_MITER ? Qt::MiterJoin : Qt::RoundJoin);
    }
    QList<qreal> dashes;
    switch (p->style)
    {
    case PS_DASH: dashes = {18, 6}; break;
    case PS_DOT: dashes = {3, 3}; break;
    case PS_DASHDOT: dashes = {9, 6, 3, 6}; break;
    case PS_DASHDOTDOT: dashes = {9, 3, 3, 3, 3, 3}; break;
    case PS_ALTERNATE: dashes = {1, 1}; break;
    case PS_USERSTYLE:
        for (DWORD v : p->userStyle) dashes << std::max<qreal>(1, v);
        if (dashes.size() % 2) dashes << dashes.back();
        break;
    default: break;
    }
    if (!dashes.isEmpty())
    {
        if (w > 1)
            for (auto& v : dashes) v = std::max<qreal>(1, v / w);
        pen.setDashPattern(dashes);
        d.styled = true;
    }
    d.pen = pen;
    return d;
}

// A one-pixel pen on a surface of pixel ratio r, in window pixels: as many whole device
// pixels as fit in one window pixel, so that every such line is equally thick.
double OnePixelWidth(double r) { return std::max(1.0, std::floor(r)) / r; }

// Applies the pen with the DC's ROP2; false when nothing is to be drawn.
bool ApplyPen(DcRecord* dc, QPainter* p, const DevicePen& d)
{
    if (d.pen.style() == Qt::NoPen) return false;
    COLORREF c = FromQColor(d.pen.color());
    QPainter::CompositionMode mode;
    if (!Rop2Mode(dc->state.rop2, c, mode, IsRaster(dc))) return false;
    QPen pen(d.pen);
    pen.setColor(ToQColor(c));
    // On a surface finer than the window's pixels a one-pixel pen is one window pixel wide,
    // drawn through the pixels' centres (see Stroke).
    if (pen.style() != Qt::NoPen && pen.widthF() == 0 && p->device() && p->device()->devicePixelRatio() != 1)
        pen.setWidthF(OnePixelWidth(p->device()->devicePixelRatio()));
    p->setPen(pen);
    p->setCompositionMode(mode);
    return true;
}

// Draws with the pen ApplyPen set. A one-pixel pen on a finer surface strokes half a pixel
// right and down, so that its line covers the same window pixels as on an ordinary surface.
template <class Draw>
void Stroke(QPainter* p, Draw draw)
{
    const QPen& pen = p->pen();
    const double r = p->device() ? p->device()->devicePixelRatio() : 1.0;
    if (r == 1 || pen.isCosmetic() || std::abs(pen.widthF() - OnePixelWidth(r)) > 1e-9)
    {
        draw(p);
        return;
    }
    p->save();
    p->translate(0.5, 0.5);
    draw(p);
    p->restore();
}

// The brush in device space, or Qt::NoBrush for a null brush.
QBrush MakeBrush(DcRecord* dc, HBRUSH h, bool* hatched = nullptr)
{
    if (hatched) *hatched = false;
    BrushRecord* b = BrushOf(h);
    if (!b || b->style == BS_NULL) return QBrush(Qt::NoBrush);
    switch (b->style)
    {
    case BS_SOLID: return QBrush(ToQColor(b->dcBrush ? dc->state.dcBrushColor : b->color));
    case BS_HATCHED: {
        if (hatched) *hatched = true;
        static const Qt::BrushStyle styles[] = {Qt::HorPattern,   Qt::VerPattern,   Qt::FDiagPattern,
                                                Qt::BDiagPattern, Qt::CrossPattern, Qt::DiagCrossPattern};
        return QBrush(ToQColor(b->color), styles[std::clamp(b->hatch, 0, 5)]);
    }
    case BS_PATTERN: return QBrush(b->pattern);
    default: return QBrush(Qt::NoBrush);
    }
}

// Fills a device rectangle with a brush (hatches on the background colour in OPAQUE mode).
void FillDeviceRect(DcRecord* dc, QPainter* p, const QRect& r, HBRUSH h,
                    QPainter::CompositionMode mode = QPainter::CompositionMode_SourceOver)
{
    bool hatched = false;
    QBrush brush = MakeBrush(dc, h, &hatched);
    if (brush.style() == Qt::NoBrush || r.isEmpty()) return;
    p->setCompositionMode(mode);
    if (hatched && dc->state.bkMode == OPAQUE) p->fillRect(r, ToQColor(dc->state.bkColor));
    p->fillRect(r, brush);
}

// Raster operation of a blit on the source (or pattern) and the destination.
bool Rop3Mode(DWORD rop, QPainter::CompositionMode& mode, bool& usesSource, bool& usesPattern)
{
    usesSource = false;
    usesPattern = false;
    switch (rop)
    {
    case SRCCOPY:
        mode = QPainter::CompositionMode_Source;
        usesSource = true;
        return true;
    case SRCPAINT:
        mode = QPainter::RasterOp_SourceOrDestination;
        usesSource = true;
        return true;
    case SRCAND:
        mode = QPainter::RasterOp_SourceAndDestination;
        usesSource = true;
        return true;
    case SRCINVERT:
        mode = QPainter::RasterOp_SourceXorDestination;
        usesSource = true;
        return true;
    case SRCERASE:
        mode = QPainter::RasterOp_SourceAndNotDestination;
        usesSource = true;
        return true;
    case NOTSRCCOPY:
        mode = QPainter::RasterOp_NotSource;
        usesSource = true;
        return true;
    case NOTSRCERASE:
        mode = QPainter::RasterOp_NotSourceAndNotDestination;
        usesSource = true;
        return true;
    case MERGEPAINT:
        mode = QPainter::RasterOp_NotSourceOrDestination;
        usesSource = true;
        return true;
    case PATCOPY:
        mode = QPainter::CompositionMode_Source;
        usesPattern = true;
        return true;
    case PATINVERT:
        mode = QPainter::RasterOp_SourceXorDestination;
        usesPattern = true;
        return true;
    case DSTINVERT: mode = QPainter::RasterOp_NotDestination; return true;
    case BLACKNESS:
    case WHITENESS: mode = QPainter::CompositionMode_Source; return true;
    default: return false;
    }
}

void SystemEdgeColors(const DcRecord* dc, UINT ring, bool outer, UINT flags, COLORREF& tl, COLORREF& br)
{
    if (flags & BF_MONO)
    {
        tl = br = outer ? SysColorOn(dc, COLOR_WINDOWFRAME) : SysColorOn(dc, COLOR_WINDOW);
        return;
    }
    if (flags & BF_FLAT)
    {
        tl = br = outer ? SysColorOn(dc, COLOR_3DSHADOW) : SysColorOn(dc, COLOR_3DFACE);
        return;
    }
    bool raised = outer ? (ring & BDR_RAISEDOUTER) != 0 : (ring & BDR_RAISEDINNER) != 0;
    if (outer)
    {
        tl = raised ? SysColorOn(dc, COLOR_3DLIGHT) : SysColorOn(dc, COLOR_3DSHADOW);
        br = raised ? SysColorOn(dc, COLOR_3DDKSHADOW) : SysColorOn(dc, COLOR_3DHIGHLIGHT);
        if (flags & BF_SOFT) tl = raised ? SysColorOn(dc, COLOR_3DHIGHLIGHT) : SysColorOn(dc, COLOR_3DDKSHADOW);
    }
    else
    {
        tl = raised ? SysColorOn(dc, COLOR_3DHIGHLIGHT) : SysColorOn(dc, COLOR_3DDKSHADOW);
        br = raised ? SysColorOn(dc, COLOR_3DSHADOW) : SysColorOn(dc, COLOR_3DLIGHT);
        if (flags & BF_SOFT) tl = raised ? SysColorOn(dc, COLOR_3DLIGHT) : SysColorOn(dc, COLOR_3DSHADOW);
    }
}

} // namespace

// ---- DcRecord ---------------------------------------------------------------------------------

DcRecord::~DcRecord() { EndOwnPainter(); }

DcRecord* DcOf(HDC h)
{
    if (!h || !Dcs().live.count(h)) return nullptr;
    return static_cast<DcRecord*>(h);
}

QImage* DcRecord::Image() const
{
    switch (kind)
    {
    case DcKind::Memory: {
        BitmapRecord* b = BitmapOf(state.bitmap);
        return b ? &b->image : nullptr;
    }
    case DcKind::Window: return wnd ? WindowSurface(wnd) : nullptr;
    default: return nullptr;
    }
}

void DcRecord::EndOwnPainter()
{
    if (ownPainter.isActive()) ownPainter.end();
    if (boundImage)
    {
        auto& map = Dcs().painters;
        auto it = map.find(boundImage);
        if (it != map.end() && it->second == this) map.erase(it);
    }
    boundImage = nullptr;
}

QPainter* DcRecord::Begin()
{
    if (kind == DcKind::Painter)
    {
        QPainter* p = outsidePainter;
        if (!p || !p->isActive()) return nullptr;
        p->setRenderHint(QPainter::Antialiasing, false);
        p->setRenderHint(QPainter::TextAntialiasing, true);
        auto c = EffectiveClip();
        if (c)
            p->setClipRegion(*c);
        else
            p->setClipping(false);
        p->setCompositionMode(QPainter::CompositionMode_SourceOver);
        p->setOpacity(1.0);
        return p;
    }
    QImage* img = Image();
    if (!img || img->isNull()) return nullptr;
    if (boundImage != img || !ownPainter.isActive())
    {
        EndOwnPainter();
        auto& map = Dcs().painters;
        auto it = map.find(img);
        if (it != map.end() && it->second != this) it->second->EndOwnPainter();
        if (!ownPainter.begin(img)) return nullptr;
        boundImage = img;
        map[img] = this;
        ownPainter.setRenderHint(QPainter::Antialiasing, false);
        ownPainter.setRenderHint(QPainter::TextAntialiasing, true);
        ownPainter.setRenderHint(QPainter::SmoothPixmapTransform, false);
        clipDirty = true;
    }
    if (clipDirty)
    {
        auto c = EffectiveClip();
        if (c)
            ownPainter.setClipRegion(*c);
        else
            ownPainter.setClipping(false);
        clipDirty = false;
    }
    ownPainter.setCompositionMode(QPainter::CompositionMode_SourceOver);
    if (kind == DcKind::Window) drawn = true;
    return &ownPainter;
}

QPaintDevice* DcRecord::MetricsDevice() const
{
    if (kind == DcKind::Painter && outsideDevice) return outsideDevice;
    return &ScreenMetricsImage();
}

std::optional<QRegion> DcRecord::EffectiveClip() const
{
    if (state.clip && systemClip) return state.clip->intersected(*systemClip);
    if (state.clip) return state.clip;
    return systemClip;
}

QRect DcRecord::DeviceBounds() const
{
    if (kind == DcKind::Painter) return QRect(0, 0, info.width, info.height);
    if (kind == DcKind::Screen)
    {
        QScreen* s =
            qobject_cast<QGuiApplication*>(QCoreApplication::instance()) ? QGuiApplication::primaryScreen() : nullptr;
        return s ? QRect(QPoint(0, 0), s->size()) : QRect(0, 0, 1920, 1080);
    }
    QImage* img = Image();
    return img ? QRect(QPoint(0, 0), LogicalSize(*img)) : QRect();
}

QPoint DcRecord::ToDevice(int x, int y) const
{
    const DcState& s = state;
    if (s.mapMode == MM_TEXT) return QPoint(x - s.windowOrg.x + s.viewportOrg.x, y - s.windowOrg.y + s.viewportOrg.y);
    return QPoint(Round(double(x - s.windowOrg.x) * s.viewportExt.cx / s.windowExt.cx) + s.viewportOrg.x,
                  Round(double(y - s.windowOrg.y) * s.viewportExt.cy / s.windowExt.cy) + s.viewportOrg.y);
}

QPoint DcRecord::ToLogical(int x, int y) const
{
    const DcState& s = state;
    if (s.mapMode == MM_TEXT) return QPoint(x - s.viewportOrg.x + s.windowOrg.x, y - s.viewportOrg.y + s.windowOrg.y);
    return QPoint(Round(double(x - s.viewportOrg.x) * s.windowExt.cx / s.viewportExt.cx) + s.windowOrg.x,
                  Round(double(y - s.viewportOrg.y) * s.windowExt.cy / s.viewportExt.cy) + s.windowOrg.y);
}

QRect DcRecord::ToDeviceRect(const RECT& r) const
{
    QPoint a = ToDevice(r.left, r.top);
    QPoint b = ToDevice(r.right, r.bottom);
    int l = std::min(a.x(), b.x()), rr = std::max(a.x(), b.x());
    int t = std::min(a.y(), b.y()), bb = std::max(a.y(), b.y());
    return QRect(l, t, rr - l, bb - t);
}

int DcRecord::LogicalToDeviceWidth(int w) const { return Round(w * std::fabs(ScaleX())); }
int DcRecord::DeviceToLogicalWidth(int w) const { return Round(w / std::fabs(ScaleX())); }
int DcRecord::DeviceToLogicalHeight(int h) const { return Round(h / std::fabs(ScaleY())); }

const QFont& DcRecord::DeviceFont()
{
    FontRecord* f = FontOf(state.font);
    if (!f) f = FontOf(GetStockObject(SYSTEM_FONT));
    double scale = std::fabs(ScaleY());
    if (f->cachedScale != scale)
    {
        f->cached = QFontFromLogFont(f->log, scale);
        f->cachedScale = scale;
    }
    return f->cached;
}

// ---- Creation and release ---------------------------------------------------------------------

HDC CreatePainterDC(QPaintDevice* device, QPainter* painter, bool printing, const DeviceInfo& info, PrintTarget* target)
{
    DcRecord* dc = NewDc(DcKind::Painter);
    dc->outsideDevice = device;
    dc->outsidePainter = painter;
    dc->printing = printing;
    dc->info = info;
    if (device && dc->info.width == 0)
    {
        dc->info.width = device->width();
        dc->info.height = device->height();
        dc->info.dpiX = device->logicalDpiX();
        dc->info.dpiY = device->logicalDpiY();
    }
    dc->printTarget = target;
    return dc;
}

void SetDcPainter(HDC hdc, QPainter* painter)
{
    if (DcRecord* dc = DcOf(hdc)) dc->outsidePainter = painter;
}

HDC CreateWindowSurfaceDC(CWnd* wnd, const RECT* updateClip)
{
    DcRecord* dc = NewDc(wnd ? DcKind::Window : DcKind::Screen);
    dc->wnd = wnd;
    if (updateClip)
    {
        RECT r = *updateClip;
        dc->systemClip = (r.right > r.left && r.bottom > r.top) ? QRegion(ToQRect(r)) : QRegion();
    }
    return dc;
}

void ReleasePaintersOn(const QImage* image)
{
    auto& map = Dcs().painters;
    auto it = map.find(image);
    if (it != map.end()) it->second->EndOwnPainter(); // erases the entry
}

void ReportSurfaceDrawn(DcRecord* dc)
{
    if (dc->kind == DcKind::Window && dc->drawn && dc->wnd)
    {
        dc->drawn = false;
        SurfaceChanged(dc->wnd, nullptr);
    }
}

} // namespace qor::gui

using namespace qor::gui;

// ---- Handle functions: DCs ---------------------------------------------------------------------

HDC CreateCompatibleDC(HDC hdc) { return NewDc(DcKind::Memory); }

BOOL DeleteDC(HDC hdc)
{
    DcRecord* dc = DcOf(hdc);
    if (!dc) return FALSE;
    dc->EndOwnPainter();
    ReportSurfaceDrawn(dc);
    Dcs().live.erase(hdc);
    ForgetDcWrappers(hdc);
    ReleaseState(dc->state);
    for (auto& s : dc->saved) ReleaseState(s);
    delete dc;
    return TRUE;
}

int ReleaseDC(HWND, HDC hDC) { return DeleteDC(hDC) ? 1 : 0; }

namespace {

HGDIOBJ SelectInto(DcRecord* dc, HGDIOBJ h)
{
    if (!dc || !IsLiveObject(h)) return nullptr;
    HGDIOBJ* slot = nullptr;
    switch (h->qorType)
    {
    case OBJ_PEN: slot = reinterpret_cast<HGDIOBJ*>(&dc->state.pen); break;
    case OBJ_BRUSH: slot = reinterpret_cast<HGDIOBJ*>(&dc->state.brush); break;
    case OBJ_FONT: slot = reinterpret_cast<HGDIOBJ*>(&dc->state.font); break;
    case OBJ_BITMAP:
        if (dc->kind != DcKind::Memory) return nullptr;
        slot = reinterpret_cast<HGDIOBJ*>(&dc->state.bitmap);
        break;
    case OBJ_REGION: {
        RegionRecord* r = RegionOf(h);
        dc->state.clip = r->region;
        dc->clipDirty = true;
        return reinterpret_cast<HGDIOBJ>(static_cast<std::intptr_t>(RegionType(r->region)));
    }
    default: return nullptr;
    }
    HGDIOBJ prev = *slot;
    if (prev == h) return prev;
    HoldObject(h);
    *slot = h;
    if (h->qorType == OBJ_BITMAP)
    {
        dc->EndOwnPainter();
        dc->state.clip.reset();
        dc->clipDirty = true;
    }
    // The previous object stays alive while it is being handed back (a deleted one was
    // kept only for this DC and goes now).
    ReleaseObject(prev);
    return IsLiveObject(prev) ? prev : nullptr;
}

} // namespace

HGDIOBJ SelectObject(HDC hdc, HGDIOBJ h) { return SelectInto(DcOf(hdc), h); }

HGDIOBJ GetCurrentObject(HDC hdc, UINT type)
{
    DcRecord* dc = DcOf(hdc);
    if (!dc) return nullptr;
    switch (type)
    {
    case OBJ_PEN: return dc->state.pen;
    case OBJ_BRUSH: return dc->state.brush;
    case OBJ_FONT: return dc->state.font;
    case OBJ_BITMAP: return dc->state.bitmap;
    default: return nullptr;
    }
}

int SaveDC(HDC hdc)
{
    DcRecord* dc = DcOf(hdc);
    if (!dc) return 0;
    dc->saved.push_back(dc->state);
    HoldState(dc->state);
    return static_cast<int>(dc->saved.size());
}

BOOL RestoreDC(HDC hdc, int nSavedDC)
{
    DcRecord* dc = DcOf(hdc);
    if (!dc) return FALSE;
    int n = static_cast<int>(dc->saved.size());
    int level = nSavedDC < 0 ? n + nSavedDC + 1 : nSavedDC;
    if (level < 1 || level > n) return FALSE;
    DcState target = dc->saved[level - 1];
    HoldState(target);
    bool bitmapChanged = target.bitmap != dc->state.bitmap;
    ReleaseState(dc->state);
    for (int i = n - 1; i >= level - 1; --i) ReleaseState(dc->saved[i]);
    dc->saved.resize(level - 1);
    dc->state = target;
    if (bitmapChanged) dc->EndOwnPainter();
    dc->clipDirty = true;
    return TRUE;
}

int GetDeviceCaps(HDC hdc, int index)
{
    DcRecord* dc = DcOf(hdc);
    if (!dc) return 0;
    bool outside = dc->kind == DcKind::Painter;
    int dpiX = outside ? dc->info.dpiX : 96, dpiY = outside ? dc->info.dpiY : 96;
    QRect screen =
        outside ? QRect(0, 0, dc->info.width, dc->info.height) : (dc->kind == DcKind::Screen ? dc->DeviceBounds() : [] {
            QScreen* s = qobject_cast<QGuiApplication*>(QCoreApplication::instance()) ? QGuiApplication::primaryScreen()
                                                                                      : nullptr;
            return s ? QRect(QPoint(0, 0), s->size()) : QRect(0, 0, 1920, 1080);
        }());
    switch (index)
    {
    case DRIVERVERSION: return 0x4000;
    case TECHNOLOGY: return dc->printing ? DT_RASPRINTER : DT_RASDISPLAY;
    case HORZRES: return screen.width();
    case VERTRES: return screen.height();
    case HORZSIZE: return MulDiv(screen.width(), 254, dpiX * 10);
    case VERTSIZE: return MulDiv(screen.height(), 254, dpiY * 10);
    case LOGPIXELSX: return dpiX;
    case LOGPIXELSY: return dpiY;
    case BITSPIXEL: return 32;
    case PLANES: return 1;
    case NUMCOLORS: return outside ? dc->info.numColors : -1;
    case NUMBRUSHES:
    case NUMPENS: return -1;
    case NUMFONTS: return 0;
    case SIZEPALETTE: return 0;
    case RASTERCAPS: return RC_BITBLT | RC_STRETCHBLT;
    case PHYSICALWIDTH: return outside && dc->info.physicalWidth ? dc->info.physicalWidth : screen.width();
    case PHYSICALHEIGHT: return outside && dc->info.physicalHeight ? dc->info.physicalHeight : screen.height();
    case PHYSICALOFFSETX: return outside ? dc->info.physicalOffsetX : 0;
    case PHYSICALOFFSETY: return outside ? dc->info.physicalOffsetY : 0;
    default: return 0;
    }
}

#define QOR_DC_GETSET(Get, Set, Type, member, fail)                                                                    \
    Type Set(HDC hdc, Type v)                                                                                          \
    {                                                                                                                  \
        DcRecord* dc = DcOf(hdc);                                                                                      \
        if (!dc) return fail;                                                                                          \
        Type prev = dc->state.member;                                                                                  \
        dc->state.member = v;                                                                                          \
        return prev;                                                                                                   \
    }                                                                                                                  \
    Type Get(HDC hdc)                                                                                                  \
    {                                                                                                                  \
        DcRecord* dc = DcOf(hdc);                                                                                      \
        return dc ? dc->state.member : fail;                                                                           \
    }

QOR_DC_GETSET(GetBkColor, SetBkColor, COLORREF, bkColor, CLR_INVALID)
QOR_DC_GETSET(GetTextColor, SetTextColor, COLORREF, textColor, CLR_INVALID)
#undef QOR_DC_GETSET

int SetBkMode(HDC hdc, int mode)
{
    DcRecord* dc = DcOf(hdc);
    if (!dc || (mode != TRANSPARENT && mode != OPAQUE)) return 0;
    int prev = dc->state.bkMode;
    dc->state.bkMode = mode;
    return prev;
}

int GetBkMode(HDC hdc)
{
    DcRecord* dc = DcOf(hdc);
    return dc ? dc->state.bkMode : 0;
}

void qor::gui::FixIsotropic(DcState& s)
{
    if (s.mapMode != MM_ISOTROPIC) return;
    double xr = std::fabs(double(s.viewportExt.cx) / s.windowExt.cx);
    double yr = std::fabs(double(s.viewportExt.cy) / s.windowExt.cy);
    if (xr < yr)
    {
        int v = Round(std::fabs(double(s.windowExt.cy) * s.viewportExt.cx / s.windowExt.cx));
        s.viewportExt.cy = s.viewportExt.cy < 0 ? -v : v;
    }
    else if (yr < xr)
    {
        int v = Round(std::fabs(double(s.windowExt.cx) * s.viewportExt.cy / s.windowExt.cy));
        s.viewportExt.cx = s.viewportExt.cx < 0 ? -v : v;
    }
    if (s.viewportExt.cx == 0) s.viewportExt.cx = 1;
    if (s.viewportExt.cy == 0) s.viewportExt.cy = 1;
}

int SetMapMode(HDC hdc, int iMode)
{
    DcRecord* dc = DcOf(hdc);
    if (!dc || iMode < MM_TEXT || iMode > MM_ANISOTROPIC) return 0;
    DcState& s = dc->state;
    int prev = s.mapMode;
    int dpiX = GetDeviceCaps(hdc, LOGPIXELSX), dpiY = GetDeviceCaps(hdc, LOGPIXELSY);
    auto fixed = [&](int units) {
        s.windowExt = SIZE{units, units};
        s.viewportExt = SIZE{dpiX, -dpiY};
    };
    s.mapMode = iMode;
    switch (iMode)
    {
    case MM_TEXT:
        s.windowExt = SIZE{1, 1};
        s.viewportExt = SIZE{1, 1};
        break;
    case MM_LOMETRIC: fixed(254); break;
    case MM_HIMETRIC: fixed(2540); break;
    case MM_LOENGLISH: fixed(100); break;
    case MM_HIENGLISH: fixed(1000); break;
    case MM_TWIPS: fixed(1440); break;
    case MM_ISOTROPIC: FixIsotropic(s); break;
    default: break;
    }
    return prev;
}

int GetMapMode(HDC hdc)
{
    DcRecord* dc = DcOf(hdc);
    return dc ? dc->state.mapMode : 0;
}

namespace {
// Converts the points in place, to device units (ToDevice) or back (ToLogical).
BOOL MapPoints(HDC hdc, LPPOINT lppt, int c, QPoint (DcRecord::*pMap)(int, int) const)
{
    DcRecord* dc = DcOf(hdc);
    if (!dc || !lppt) return FALSE;
    for (int i = 0; i < c; ++i)
    {
        QPoint p = (dc->*pMap)(lppt[i].x, lppt[i].y);
        lppt[i] = POINT{p.x(), p.y()};
    }
    return TRUE;
}
} // namespace

BOOL LPtoDP(HDC hdc, LPPOINT lppt, int c) { return MapPoints(hdc, lppt, c, &DcRecord::ToDevice); }
BOOL DPtoLP(HDC hdc, LPPOINT lppt, int c) { return MapPoints(hdc, lppt, c, &DcRecord::ToLogical); }

int GetClipBox(HDC hdc, LPRECT lprect)
{
    DcRecord* dc = DcOf(hdc);
    if (!dc || !lprect) return ERROR;
    QRegion vis(dc->DeviceBounds());
    if (auto c = dc->EffectiveClip()) vis = vis.intersected(*c);
    if (vis.isEmpty())
    {
        *lprect = RECT{0, 0, 0, 0};
        return NULLREGION;
    }
    QRect b = vis.boundingRect();
    QPoint a = dc->ToLogical(b.left(), b.top());
    QPoint z = dc->ToLogical(b.left() + b.width(), b.top() + b.height());
    *lprect = RECT{std::min(a.x(), z.x()), std::min(a.y(), z.y()), std::max(a.x(), z.x()), std::max(a.y(), z.y())};
    return RegionType(vis);
}

int SelectClipRgn(HDC hdc, HRGN hrgn)
{
    DcRecord* dc = DcOf(hdc);
    if (!dc) return ERROR;
    if (!hrgn)
    {
        dc->state.clip.reset();
        dc->clipDirty = true;
        return SIMPLEREGION;
    }
    RegionRecord* r = RegionOf(hrgn);
    if (!r) return ERROR;
    dc->state.clip = r->region;
    dc->clipDirty = true;
    return RegionType(r->region);
}

int IntersectClipRect(HDC hdc, int left, int top, int right, int bottom)
{
    DcRecord* dc = DcOf(hdc);
    if (!dc) return ERROR;
    QRegion r(dc->ToDeviceRect(RECT{left, top, right, bottom}));
    dc->state.clip = dc->state.clip ? dc->state.clip->intersected(r) : r;
    dc->clipDirty = true;
    return RegionType(dc->state.clip->intersected(dc->DeviceBounds()));
}

int ExcludeClipRect(HDC hdc, int left, int top, int right, int bottom)
{
    DcRecord* dc = DcOf(hdc);
    if (!dc) return ERROR;
    QRegion r(dc->ToDeviceRect(RECT{left, top, right, bottom}));
    QRegion base = dc->state.clip ? *dc->state.clip : QRegion(kUnbounded);
    dc->state.clip = base.subtracted(r);
    dc->clipDirty = true;
    return RegionType(dc->state.clip->intersected(dc->DeviceBounds()));
}

BOOL PtVisible(HDC hdc, int x, int y)
{
    DcRecord* dc = DcOf(hdc);
    if (!dc) return FALSE;
    QPoint d = dc->ToDevice(x, y);
    if (auto c = dc->EffectiveClip()) return c->contains(d);
    return TRUE;
}

BOOL RectVisible(HDC hdc, const RECT* lprect)
{
    DcRecord* dc = DcOf(hdc);
    if (!dc || !lprect) return FALSE;
    QRect d = dc->ToDeviceRect(*lprect);
    if (d.isEmpty()) return FALSE;
    if (auto c = dc->EffectiveClip()) return c->intersects(d);
    return TRUE;
}

// ---- Lines ---------------------------------------------------------------------------------------

namespace {

// The dash pattern of a one-pixel pen (on, off, on, off ... in pixels); empty for solid.
std::vector<int> CosmeticPattern(const QPen& pen)
{
    std::vector<int> v;
    if (pen.style() != Qt::CustomDashLine) return v;
    for (qreal d : pen.dashPattern()) v.push_back(std::max(1, static_cast<int>(std::lround(d))));
    return v;
}

// The pixels of a one-pixel line in the pen's colour. On a finer surface each window pixel
// becomes the device pixels it covers along the line, and a whole number of device pixels
// across it, so that lines keep one thickness at any ratio. across: the indices of the
// pixels of steep segments.
// A plain 32-bit surface takes the pixels of an opaque line straight into its memory: the
// painter's per-point path costs far more than the pixels on plots of thousands of curves.
// False when the surface or painter is of another kind (then the painter draws them).
bool PutLinePixels(DcRecord* dc, QPainter* p, const QPolygon& pts)
{
    QImage* img = dc->boundImage;
    if (!img || p != &dc->ownPainter || !img->isDetached() || img->devicePixelRatio() != 1) return false;
    const QImage::Format f = img->format();
    if (f != QImage::Format_RGB32 && f != QImage::Format_ARGB32 && f != QImage::Format_ARGB32_Premultiplied)
        return false;
    if (p->compositionMode() != QPainter::CompositionMode_SourceOver || p->opacity() != 1.0 ||
        p->worldTransform().type() != QTransform::TxNone)
        return false;
    const QColor colour = p->pen().color();
    if (colour.alpha() != 255 || p->pen().brush().style() != Qt::SolidPattern) return false;
    QRect bounds = img->rect();
    if (p->hasClipping())
    {
        const QRegion clip = p->clipRegion();
        if (clip.rectCount() > 1) return false;
        bounds &= clip.boundingRect();
    }
    const QRgb rgb = colour.rgba();
    uchar* bits = img->bits();
    const qsizetype stride = img->bytesPerLine();
    for (const QPoint& q : pts)
    {
        if (bounds.contains(q)) reinterpret_cast<QRgb*>(bits + q.y() * stride)[q.x()] = rgb;
    }
    return true;
}

void DrawLinePixels(DcRecord* dc, QPainter* p, const QPolygon& pts, const std::vector<int>& across)
{
    const double r = p->device() ? p->device()->devicePixelRatio() : 1.0;
    if (r == 1)
    {
        if (!PutLinePixels(dc, p, pts)) p->drawPoints(pts);
        return;
    }
    const int thick = std::max(1, static_cast<int>(std::floor(r)));
    auto at = [r](int v) { return static_cast<int>(std::lround(v * r)); };
    QList<QRect> rects;
    rects.reserve(pts.size());
    size_t next = 0;
    for (int i = 0; i < pts.size(); ++i)
    {
        const QPoint q = pts[i];
        const bool steep = next < across.size() && across[next] == i;
        if (steep) ++next;
        rects << (steep ? QRect(at(q.x()), at(q.y()), thick, at(q.y() + 1) - at(q.y()))
                        : QRect(at(q.x()), at(q.y()), at(q.x() + 1) - at(q.x()), thick));
    }
    const QColor colour = p->pen().color();
    p->save();
    p->scale(1 / r, 1 / r);
    p->setPen(Qt::NoPen);
    p->setBrush(colour);
    p->drawRects(rects);
    p->restore();
}

// One-pixel lines rasterised here, so that every segment starts at its first point and
// leaves out its last one whatever its direction, and styles run on across segments. Several
// polylines (count of them, one after another) go to the surface in one pass.
void StrokeCosmetic(DcRecord* dc, QPainter* p, const DevicePen& d, const QPolygon* lines, int count)
{
    std::vector<int> pattern = CosmeticPattern(d.pen);
    int period = 0;
    for (int v : pattern) period += v;
    QPolygon on, off;
    std::vector<int> onAcross, offAcross; // points of steep segments (their thickness runs across)
    for (int line = 0; line < count; ++line)
    {
        const QPolygon& pts = lines[line];
        int phase = 0;
        for (int k = 0; k + 1 < pts.size(); ++k)
        {
            QPoint a = pts[k], b = pts[k + 1];
            int dx = std::abs(b.x() - a.x()), dy = std::abs(b.y() - a.y());
            int sx = b.x() >= a.x() ? 1 : -1, sy = b.y() >= a.y() ? 1 : -1;
            int n = std::max(dx, dy);
            for (int i = 0; i < n; ++i)
            {
                int x, y;
                if (dx >= dy)
                {
                    x = a.x() + sx * i;
                    y = a.y() + sy * static_cast<int>((2LL * i * dy + dx) / (2LL * dx));
                }
                else
                {
                    y = a.y() + sy * i;
                    x = a.x() + sx * static_cast<int>((2LL * i * dx + dy) / (2LL * dy));
                }
                bool draw = true;
                if (period > 0)
                {
                    int pos = phase % period;
                    for (size_t j = 0; j < pattern.size(); ++j)
                    {
                        if (pos < pattern[j])
                        {
                            draw = (j % 2) == 0;
                            break;
                        }
                        pos -= pattern[j];
                    }
                    ++phase;
                }
                (draw ? on : off) << QPoint(x, y);
                if (dx < dy) (draw ? onAcross : offAcross).push_back(static_cast<int>((draw ? on : off).size()) - 1);
            }
        }
    }
    DevicePen solid = d;
    solid.pen.setStyle(Qt::SolidLine);
    solid.pen.setWidth(0);
    solid.pen.setCapStyle(Qt::SquareCap);
    if (!off.isEmpty() && dc->state.bkMode == OPAQUE)
    {
        DevicePen gap = solid;
        gap.pen.setColor(ToQColor(dc->state.bkColor));
        if (ApplyPen(dc, p, gap)) DrawLinePixels(dc, p, off, offAcross);
    }
    if (!on.isEmpty() && ApplyPen(dc, p, solid)) DrawLinePixels(dc, p, on, onAcross);
}

bool StrokePolyline(DcRecord* dc, const QPolygon& pts, bool closed)
{
    QPainter* p = dc->Begin();
    if (!p) return true;
    DevicePen d = MakePen(dc);
    if (d.pen.style() == Qt::NoPen || pts.size() < 2) return true;
    // On paper the pixels of a thin line are too fine to matter and, stroked one by one, would
    // make a page of millions of marks: there it is drawn as one line like the wider pens.
    if (d.width <= 1 && !dc->printing)
    {
        QPolygon path = pts;
        if (closed) path << pts.front();
        StrokeCosmetic(dc, p, d, &path, 1);
        return true;
    }
    if (d.styled && dc->state.bkMode == OPAQUE)
    {
        DevicePen gap = d;
        gap.pen.setStyle(Qt::SolidLine);
        gap.pen.setColor(ToQColor(dc->state.bkColor));
        if (ApplyPen(dc, p, gap)) closed ? p->drawPolygon(pts) : p->drawPolyline(pts);
    }
    if (!ApplyPen(dc, p, d)) return true;
    p->setBrush(Qt::NoBrush);
    if (closed)
        p->drawPolygon(pts);
    else
        p->drawPolyline(pts);
    return true;
}

QPolygon DevicePolygon(DcRecord* dc, const POINT* pts, int n)
{
    QPolygon poly;
    poly.reserve(n);
    for (int i = 0; i < n; ++i) poly << dc->ToDevice(pts[i].x, pts[i].y);
    return poly;
}

} // namespace

BOOL MoveToEx(HDC hdc, int x, int y, LPPOINT lppt)
{
    DcRecord* dc = DcOf(hdc);
    if (!dc) return FALSE;
    if (lppt) *lppt = dc->state.position;
    dc->state.position = POINT{x, y};
    return TRUE;
}

BOOL LineTo(HDC hdc, int x, int y)
{
    DcRecord* dc = DcOf(hdc);
    if (!dc) return FALSE;
    QPoint a = dc->ToDevice(dc->state.position.x, dc->state.position.y);
    QPoint b = dc->ToDevice(x, y);
    dc->state.position = POINT{x, y};
    if (a == b) return TRUE;
    QPolygon poly;
    poly << a << b;
    return StrokePolyline(dc, poly, false);
}

BOOL Polyline(HDC hdc, const POINT* apt, int cpt)
{
    DcRecord* dc = DcOf(hdc);
    if (!dc || !apt || cpt < 2) return FALSE;
    return StrokePolyline(dc, DevicePolygon(dc, apt, cpt), false);
}

BOOL PolyPolyline(HDC hdc, const POINT* apt, const DWORD* asz, DWORD csz)
{
    DcRecord* dc = DcOf(hdc);
    if (!dc || !apt || !asz) return FALSE;
    std::vector<QPolygon> lines;
    lines.reserve(csz);
    bool segments = true; // every polyline a single segment
    for (DWORD i = 0; i < csz; ++i)
    {
        const int n = static_cast<int>(asz[i]);
        if (n >= 2) lines.push_back(DevicePolygon(dc, apt, n));
        segments = segments && n == 2;
        apt += asz[i];
    }
    if (lines.empty()) return TRUE;
    QPainter* p = dc->Begin();
    if (!p) return TRUE;
    const DevicePen d = MakePen(dc);
    if (d.pen.style() == Qt::NoPen) return TRUE;
    // Many thin lines go to the surface at once: as pixels on the screen, as one list of lines
    // on paper. Anything else is drawn line by line.
    if (d.width <= 1 && !dc->printing)
    {
        StrokeCosmetic(dc, p, d, lines.data(), static_cast<int>(lines.size()));
        return TRUE;
    }
    if (!segments || d.styled || !ApplyPen(dc, p, d))
    {
        for (const QPolygon& line : lines) StrokePolyline(dc, line, false);
        return TRUE;
    }
    // One path, a segment that starts where the last ended continuing it: the same strokes in
    // about half the words.
    QPainterPath path;
    path.reserve(static_cast<int>(2 * lines.size()));
    for (const QPolygon& line : lines)
    {
        if (path.isEmpty() || path.currentPosition() != QPointF(line[0])) path.moveTo(line[0]);
        path.lineTo(line[1]);
    }
    p->setBrush(Qt::NoBrush);
    p->drawPath(path);
    return TRUE;
}

// Fills (with the brush) and outlines (with the pen) a closed shape drawn by draw() in
// device space; either part may be left out.
bool qor::gui::FillAndStroke(DcRecord* dc, const std::function<void(QPainter*)>& draw, bool fill, bool stroke)
{
    QPainter* p = dc->Begin();
    if (!p) return true;
    bool hatched = false;
    QBrush brush = fill ? MakeBrush(dc, dc->state.brush, &hatched) : QBrush(Qt::NoBrush);
    if (brush.style() != Qt::NoBrush)
    {
        COLORREF c = FromQColor(brush.color());
        QPainter::CompositionMode mode;
        if (Rop2Mode(dc->state.rop2, c, mode, IsRaster(dc)))
        {
            p->setPen(Qt::NoPen);
            p->setCompositionMode(mode);
            if (hatched && dc->state.bkMode == OPAQUE)
            {
                p->setBrush(ToQColor(dc->state.bkColor));
                draw(p);
            }
            if (brush.style() != Qt::TexturePattern) brush.setColor(ToQColor(c));
            p->setBrush(brush);
            draw(p);
        }
    }
    p->setBrush(Qt::NoBrush);
    if (!stroke) return true;
    DevicePen d = MakePen(dc);
    if (d.pen.style() == Qt::NoPen) return true;
    if (d.styled && dc->state.bkMode == OPAQUE)
    {
        DevicePen gap = d;
        gap.pen.setStyle(Qt::SolidLine);
        gap.pen.setColor(ToQColor(dc->state.bkColor));
        if (ApplyPen(dc, p, gap)) Stroke(p, draw);
    }
    if (ApplyPen(dc, p, d)) Stroke(p, draw);
    return true;
}

BOOL Polygon(HDC hdc, const POINT* apt, int cpt)
{
    DcRecord* dc = DcOf(hdc);
    if (!dc || !apt || cpt < 2) return FALSE;
    QPolygon poly = DevicePolygon(dc, apt, cpt);
    Qt::FillRule rule = dc->state.polyFillMode == WINDING ? Qt::WindingFill : Qt::OddEvenFill;
    return FillAndStroke(dc, [&](QPainter* p) { p->drawPolygon(poly, rule); });
}

BOOL Rectangle(HDC hdc, int left, int top, int right, int bottom)
{
    DcRecord* dc = DcOf(hdc);
    if (!dc) return FALSE;
    QRect r = dc->ToDeviceRect(RECT{left, top, right, bottom});
    if (r.width() <= 0 || r.height() <= 0) return TRUE;
    DevicePen d = MakePen(dc);
    QPainter* p = dc->Begin();
    if (!p) return TRUE;
    bool nullPen = d.pen.style() == Qt::NoPen;
    if (nullPen || d.width <= 1)
    {
        // Interior: inside the one-pixel outline; one pixel less wide and high without a pen.
        QRect inner = nullPen ? QRect(r.left(), r.top(), r.width() - 1, r.height() - 1) : r.adjusted(1, 1, -1, -1);
        if (inner.width() > 0 && inner.height() > 0)
            FillAndStroke(
                dc, [&](QPainter* q) { q->drawRect(inner); }, true, false);
        if (!nullPen)
        {
            QRect outline(r.left(), r.top(), r.width() - 1, r.height() - 1);
            if (r.width() == 1 || r.height() == 1)
                FillAndStroke(
                    dc, [&](QPainter* q) { q->fillRect(r, q->pen().color()); }, false, true);
            else
                FillAndStroke(
                    dc, [&](QPainter* q) { q->drawRect(outline); }, false, true);
        }
        return TRUE;
    }
    PenRecord* pr = PenOf(dc->state.pen);
    QRectF f(r.left() + 0.5, r.top() + 0.5, r.width() - 1, r.height() - 1);
    if (pr && pr->style == PS_INSIDEFRAME)
        f.adjust(d.width / 2.0 - 0.5, d.width / 2.0 - 0.5, -(d.width / 2.0 - 0.5), -(d.width / 2.0 - 0.5));
    return FillAndStroke(dc, [&](QPainter* q) { q->drawRect(f); });
}

BOOL Ellipse(HDC hdc, int left, int top, int right, int bottom)
{
    DcRecord* dc = DcOf(hdc);
    if (!dc) return FALSE;
    QRect r = dc->ToDeviceRect(RECT{left, top, right, bottom});
    if (r.width() <= 1 || r.height() <= 1) return TRUE;
    QRect e(r.left(), r.top(), r.width() - 1, r.height() - 1);
    return FillAndStroke(dc, [&](QPainter* q) { q->drawEllipse(e); });
}

int FillRect(HDC hDC, const RECT* lprc, HBRUSH hbr)
{
    DcRecord* dc = DcOf(hDC);
    if (!dc || !lprc) return 0;
    // (HBRUSH)(COLOR_x + 1) stands for the system colour brush.
    auto v = reinterpret_cast<std::uintptr_t>(hbr);
    if (v > 0 && v <= 64) hbr = SysColorBrushOf(static_cast<int>(v) - 1, SysColorOn(dc, static_cast<int>(v) - 1));
    if (!BrushOf(hbr)) return 0;
    QPainter* p = dc->Begin();
    if (p) FillDeviceRect(dc, p, dc->ToDeviceRect(*lprc), hbr);
    return 1;
}

int FrameRect(HDC hDC, const RECT* lprc, HBRUSH hbr)
{
    DcRecord* dc = DcOf(hDC);
    if (!dc || !lprc || !BrushOf(hbr)) return 0;
    QRect r = dc->ToDeviceRect(*lprc);
    QPainter* p = dc->Begin();
    if (!p || r.isEmpty()) return 1;
    FillDeviceRect(dc, p, QRect(r.left(), r.top(), r.width(), 1), hbr);
    if (r.height() > 1) FillDeviceRect(dc, p, QRect(r.left(), r.bottom(), r.width(), 1), hbr);
    if (r.height() > 2)
    {
        FillDeviceRect(dc, p, QRect(r.left(), r.top() + 1, 1, r.height() - 2), hbr);
        if (r.width() > 1) FillDeviceRect(dc, p, QRect(r.right(), r.top() + 1, 1, r.height() - 2), hbr);
    }
    return 1;
}

BOOL InvertRect(HDC hDC, const RECT* lprc)
{
    DcRecord* dc = DcOf(hDC);
    if (!dc || !lprc) return FALSE;
    QPainter* p = dc->Begin();
    if (!p || !IsRaster(dc)) return TRUE;
    p->setCompositionMode(QPainter::RasterOp_NotDestination);
    p->fillRect(dc->ToDeviceRect(*lprc), Qt::black);
    return TRUE;
}

BOOL DrawFocusRect(HDC hDC, const RECT* lprc)
{
    DcRecord* dc = DcOf(hDC);
    if (!dc || !lprc) return FALSE;
    QRect r = dc->ToDeviceRect(*lprc);
    QPainter* p = dc->Begin();
    if (!p || r.isEmpty() || !IsRaster(dc)) return TRUE;
    // Every other pixel of the border inverted (drawing it again takes it away).
    QPolygon pts;
    auto add = [&](int x, int y) {
        if (((x + y) & 1) == 0) pts << QPoint(x, y);
    };
    for (int x = r.left(); x <= r.right(); ++x)
    {
        add(x, r.top());
        if (r.height() > 1) add(x, r.bottom());
    }
    for (int y = r.top() + 1; y < r.bottom(); ++y)
    {
        add(r.left(), y);
        if (r.width() > 1) add(r.right(), y);
    }
    QPen pen(Qt::white);
    pen.setWidth(0);
    p->setPen(pen);
    p->setCompositionMode(QPainter::RasterOp_SourceXorDestination);
    p->drawPoints(pts);
    return TRUE;
}

BOOL DrawEdge(HDC hdc, LPRECT qrc, UINT edge, UINT grfFlags)
{
    DcRecord* dc = DcOf(hdc);
    if (!dc || !qrc) return FALSE;
    QRect r = dc->ToDeviceRect(*qrc);
    QPainter* p = dc->Begin();
    auto line = [&](const QRect& rr, COLORREF c) {
        if (p && rr.width() > 0 && rr.height() > 0) p->fillRect(rr, ToQColor(c));
    };
    UINT rings[2] = {edge & BDR_OUTER, edge & BDR_INNER};
    for (int i = 0; i < 2; ++i)
    {
        if (!rings[i] || r.width() <= 0 || r.height() <= 0) continue;
        COLORREF tl, br;
        SystemEdgeColors(dc, rings[i], i == 0, grfFlags, tl, br);
        if (grfFlags & BF_TOP) line(QRect(r.left(), r.top(), r.width(), 1), tl);
        if (grfFlags & BF_LEFT) line(QRect(r.left(), r.top(), 1, r.height()), tl);
        if (grfFlags & BF_BOTTOM) line(QRect(r.left(), r.bottom(), r.width(), 1), br);
        if (grfFlags & BF_RIGHT) line(QRect(r.right(), r.top(), 1, r.height()), br);
        r.adjust((grfFlags & BF_LEFT) ? 1 : 0, (grfFlags & BF_TOP) ? 1 : 0, (grfFlags & BF_RIGHT) ? -1 : 0,
                 (grfFlags & BF_BOTTOM) ? -1 : 0);
    }
    if ((grfFlags & BF_MIDDLE) && r.width() > 0 && r.height() > 0)
        line(r, SysColorOn(dc, (grfFlags & BF_MONO) ? COLOR_WINDOW : COLOR_3DFACE));
    if (grfFlags & BF_ADJUST)
    {
        QPoint a = dc->ToLogical(r.left(), r.top());
        QPoint b = dc->ToLogical(r.left() + std::max(0, r.width()), r.top() + std::max(0, r.height()));
        *qrc = RECT{a.x(), a.y(), b.x(), b.y()};
    }
    return TRUE;
}

BOOL DrawFrameControl(HDC hdc, LPRECT lprc, UINT uType, UINT uState)
{
    DcRecord* dc = DcOf(hdc);
    if (!dc || !lprc) return FALSE;
    QRect r = dc->ToDeviceRect(*lprc);
    QPainter* p = dc->Begin();
    if (!p || r.isEmpty()) return TRUE;
    UINT kind = uState & 0xFF;
    bool checkOrRadio = uType == DFC_BUTTON && !(kind & DFCS_BUTTONPUSH);
    if (checkOrRadio)
    {
        int side = std::min(r.width(), r.height());
        QRect box(r.left() + (r.width() - side) / 2, r.top() + (r.height() - side) / 2, side, side);
        RECT b = FromQRect(box);
        QColor face = ToQColor(SysColorOn(dc, (uState & (DFCS_INACTIVE | DFCS_PUSHED)) ? COLOR_3DFACE : COLOR_WINDOW));
        QColor ink = ToQColor(SysColorOn(dc, (uState & DFCS_INACTIVE) ? COLOR_GRAYTEXT : COLOR_WINDOWTEXT));
        if (kind & DFCS_BUTTONRADIO)
        {
            p->setPen(ToQColor(SysColorOn(dc, COLOR_3DSHADOW)));
            p->setBrush(face);
            p->drawEllipse(box.adjusted(0, 0, -1, -1));
            if (uState & DFCS_CHECKED)
            {
                p->setPen(Qt::NoPen);
                p->setBrush(ink);
                int m = std::max(2, side / 3);
                p->drawEllipse(box.adjusted(m, m, -m - 1, -m - 1));
            }
        }
        else
        {
            p->fillRect(box, face);
            DrawEdge(hdc, &b, EDGE_SUNKEN,
                     BF_RECT | ((uState & DFCS_FLAT) ? BF_FLAT : 0) | ((uState & DFCS_MONO) ? BF_MONO : 0));
            p = dc->Begin();
            if (uState & DFCS_CHECKED)
            {
                QPen pen(ink);
                pen.setWidth(0);
                p->setPen(pen);
                int s = side;
                int x0 = box.left() + s / 4, y0 = box.top() + s / 2;
                for (int k = 0; k < 2; ++k)
                {
                    p->drawLine(QPoint(x0, y0 + k), QPoint(x0 + s / 6, y0 + s / 6 + k));
                    p->drawLine(QPoint(x0 + s / 6, y0 + s / 6 + k), QPoint(x0 + s / 2 + 1, y0 - s / 6 + k - 1));
                }
            }
        }
        return TRUE;
    }
    // Push buttons, scroll arrows and the rest: a button face with a glyph.
    p->fillRect(r, ToQColor(SysColorOn(dc, COLOR_3DFACE)));
    RECT rr = FromQRect(r);
    if (uState & DFCS_FLAT)
        DrawEdge(hdc, &rr, BDR_SUNKENOUTER, BF_RECT | BF_FLAT);
    else if (uState & DFCS_PUSHED)
        DrawEdge(hdc, &rr, (uType == DFC_SCROLL) ? BDR_SUNKENOUTER : EDGE_SUNKEN, BF_RECT | BF_FLAT);
    else
        DrawEdge(hdc, &rr, EDGE_RAISED, BF_RECT);
    p = dc->Begin();
    if (uType == DFC_SCROLL && kind != DFCS_SCROLLSIZEGRIP)
    {
        int dir = kind == DFCS_SCROLLCOMBOBOX ? DFCS_SCROLLDOWN : kind;
        int s = std::max(2, std::min(r.width(), r.height()) / 4);
        QPoint c = r.center() + QPoint(1, 1);
        if (uState & DFCS_PUSHED) c += QPoint(1, 1);
        QPolygon tri;
        switch (dir)
        {
        case DFCS_SCROLLUP:
            tri << QPoint(c.x() - s, c.y() + s / 2) << QPoint(c.x() + s, c.y() + s / 2)
                << QPoint(c.x(), c.y() - s / 2 - 1);
            break;
        case DFCS_SCROLLLEFT:
            tri << QPoint(c.x() + s / 2, c.y() - s) << QPoint(c.x() + s / 2, c.y() + s)
                << QPoint(c.x() - s / 2 - 1, c.y());
            break;
        case DFCS_SCROLLRIGHT:
            tri << QPoint(c.x() - s / 2, c.y() - s) << QPoint(c.x() - s / 2, c.y() + s)
                << QPoint(c.x() + s / 2 + 1, c.y());
            break;
        default:
            tri << QPoint(c.x() - s, c.y() - s / 2) << QPoint(c.x() + s, c.y() - s / 2)
                << QPoint(c.x(), c.y() + s / 2 + 1);
            break;
        }
        QColor ink = ToQColor(SysColorOn(dc, (uState & DFCS_INACTIVE) ? COLOR_GRAYTEXT : COLOR_BTNTEXT));
        p->setPen(Qt::NoPen);
        p->setBrush(ink);
        p->drawPolygon(tri);
    }
    if (uState & DFCS_ADJUSTRECT)
    {
        lprc->left += 2;
        lprc->top += 2;
        lprc->right -= 2;
        lprc->bottom -= 2;
    }
    return TRUE;
}

BOOL GradientFill(HDC hdc, PTRIVERTEX pVertex, ULONG nVertex, void* pMesh, ULONG nMesh, ULONG ulMode)
{
    DcRecord* dc = DcOf(hdc);
    if (!dc || !pVertex || !pMesh) return FALSE;
    QPainter* p = dc->Begin();
    auto colorOf = [](const TRIVERTEX& v) { return QColor(v.Red >> 8, v.Green >> 8, v.Blue >> 8); };
    if (ulMode == GRADIENT_FILL_TRIANGLE)
    {
        auto* tris = static_cast<GRADIENT_TRIANGLE*>(pMesh);
        for (ULONG i = 0; i < nMesh; ++i)
        {
            const GRADIENT_TRIANGLE& t = tris[i];
            if (t.Vertex1 >= nVertex || t.Vertex2 >= nVertex || t.Vertex3 >= nVertex) return FALSE;
            if (!p) continue;
            const TRIVERTEX* v[3] = {&pVertex[t.Vertex1], &pVertex[t.Vertex2], &pVertex[t.Vertex3]};
            QPolygon poly;
            int r = 0, g = 0, b = 0;
            for (auto* x : v)
            {
                poly << dc->ToDevice(x->x, x->y);
                r += x->Red >> 8;
                g += x->Green >> 8;
                b += x->Blue >> 8;
            }
            p->setPen(Qt::NoPen);
            p->setBrush(QColor(r / 3, g / 3, b / 3));
            p->drawPolygon(poly);
        }
        return TRUE;
    }
    if (ulMode != GRADIENT_FILL_RECT_H && ulMode != GRADIENT_FILL_RECT_V) return FALSE;
    auto* rects = static_cast<GRADIENT_RECT*>(pMesh);
    for (ULONG i = 0; i < nMesh; ++i)
    {
        if (rects[i].UpperLeft >= nVertex || rects[i].LowerRight >= nVertex) return FALSE;
        if (!p) continue;
        const TRIVERTEX& a = pVertex[rects[i].UpperLeft];
        const TRIVERTEX& b = pVertex[rects[i].LowerRight];
        QPoint da = dc->ToDevice(a.x, a.y), db = dc->ToDevice(b.x, b.y);
        QRect r(QPoint(std::min(da.x(), db.x()), std::min(da.y(), db.y())),
                QPoint(std::max(da.x(), db.x()) - 1, std::max(da.y(), db.y()) - 1));
        if (r.isEmpty()) continue;
        bool horizontal = ulMode == GRADIENT_FILL_RECT_H;
        // Colour 1 belongs to the side of the first vertex.
        bool reversed = horizontal ? da.x() > db.x() : da.y() > db.y();
        QColor c1 = colorOf(reversed ? b : a), c2 = colorOf(reversed ? a : b);
        int n = horizontal ? r.width() : r.height();
        for (int k = 0; k < n; ++k)
        {
            double t = n > 1 ? double(k) / n : 0.0;
            QColor c(Round(c1.red() + (c2.red() - c1.red()) * t - 0.0),
                     Round(c1.green() + (c2.green() - c1.green()) * t), Round(c1.blue() + (c2.blue() - c1.blue()) * t));
            if (horizontal)
                p->fillRect(QRect(r.left() + k, r.top(), 1, r.height()), c);
            else
                p->fillRect(QRect(r.left(), r.top() + k, r.width(), 1), c);
        }
    }
    return TRUE;
}

// ---- Blits -----------------------------------------------------------------------------------------

BOOL PatBlt(HDC hdc, int x, int y, int w, int h, DWORD rop)
{
    DcRecord* dc = DcOf(hdc);
    if (!dc) return FALSE;
    QPainter::CompositionMode mode;
    bool src, pat;
    if (!Rop3Mode(rop, mode, src, pat) || src) return FALSE;
    QPainter* p = dc->Begin();
    if (!p) return TRUE;
    if (!IsRaster(dc) && mode != QPainter::CompositionMode_Source) return TRUE;
    QRect r = dc->ToDeviceRect(RECT{x, y, x + w, y + h});
    if (pat)
        FillDeviceRect(dc, p, r, dc->state.brush, mode);
    else
    {
        p->setCompositionMode(mode);
        p->fillRect(r, rop == WHITENESS ? Qt::white : Qt::black);
    }
    return TRUE;
}

BOOL StretchBlt(HDC hdcDest, int xDest, int yDest, int wDest, int hDest, HDC hdcSrc, int xSrc, int ySrc, int wSrc,
                int hSrc, DWORD rop)
{
    DcRecord* dc = DcOf(hdcDest);
    if (!dc) return FALSE;
    QPainter::CompositionMode mode;
    bool usesSrc, pat;
    if (!Rop3Mode(rop, mode, usesSrc, pat)) return FALSE;
    if (!usesSrc) return PatBlt(hdcDest, xDest, yDest, wDest, hDest, rop);
    DcRecord* sdc = DcOf(hdcSrc);
    if (!sdc) return FALSE;
    QImage* simg = sdc->Image();
    if (!simg) return sdc->kind == DcKind::Screen; // the screen gives nothing to copy
    QPoint sa = sdc->ToDevice(xSrc, ySrc), sb = sdc->ToDevice(xSrc + wSrc, ySrc + hSrc);
    QPoint da = dc->ToDevice(xDest, yDest), db = dc->ToDevice(xDest + wDest, yDest + hDest);
    bool mirrorX = (sb.x() < sa.x()) != (db.x() < da.x());
    bool mirrorY = (sb.y() < sa.y()) != (db.y() < da.y());
    QRect srect(QPoint(std::min(sa.x(), sb.x()), std::min(sa.y(), sb.y())),
                QSize(std::abs(sb.x() - sa.x()), std::abs(sb.y() - sa.y())));
    QRect drect(QPoint(std::min(da.x(), db.x()), std::min(da.y(), db.y())),
                QSize(std::abs(db.x() - da.x()), std::abs(db.y() - da.y())));
    if (srect.isEmpty() || drect.isEmpty()) return TRUE;
    QPainter* p = dc->Begin();
    if (!p) return TRUE;
    if (!IsRaster(dc) && mode != QPainter::CompositionMode_Source) mode = QPainter::CompositionMode_SourceOver;
    // Parts of the source outside its bitmap count as black; the copy also makes a blit
    // within one image safe. It is taken in the source's own pixels (which may be finer than
    // logical ones), so that a copy between images of one ratio loses nothing.
    const double ratio = simg->devicePixelRatio();
    const QRect spixels =
        ratio == 1.0
            ? srect
            : QRect(DevicePixel(*simg, srect.topLeft()),
                    DevicePixel(*simg, srect.topLeft() + QPoint(srect.width(), srect.height())) - QPoint(1, 1));
    QImage part(spixels.size(), QImage::Format_RGB32);
    part.fill(Qt::black);
    {
        QRect valid = spixels & simg->rect();
        if (!valid.isEmpty())
        {
            QImage raw = *simg;
            raw.setDevicePixelRatio(1.0);
            QPainter cp(&part);
            cp.setCompositionMode(QPainter::CompositionMode_Source);
            cp.drawImage(valid.topLeft() - spixels.topLeft(), raw, valid);
        }
    }
    if (mirrorX || mirrorY) part = part.mirrored(mirrorX, mirrorY);
    part.setDevicePixelRatio(ratio);
    p->setCompositionMode(mode);
    if (drect.size() == LogicalSize(part))
        p->drawImage(drect.topLeft(), part);
    else
        p->drawImage(QRectF(drect), part);
    return TRUE;
}

BOOL BitBlt(HDC hdc, int x, int y, int cx, int cy, HDC hdcSrc, int x1, int y1, DWORD rop)
{
    DcRecord* dc = DcOf(hdc);
    DcRecord* sdc = DcOf(hdcSrc);
    if (!dc) return FALSE;
    // The source keeps its own mapping: same logical size on both sides.
    int sw = cx, sh = cy;
    if (sdc && dc && !(dc->IsIdentity() && sdc->IsIdentity()))
    {
        QRect d = dc->ToDeviceRect(RECT{x, y, x + cx, y + cy});
        QPoint s0 = sdc->ToDevice(x1, y1);
        QPoint s1 = sdc->ToLogical(s0.x() + d.width(), s0.y() + d.height());
        sw = s1.x() - x1;
        sh = s1.y() - y1;
    }
    return StretchBlt(hdc, x, y, cx, cy, hdcSrc, x1, y1, sw, sh, rop);
}

COLORREF GetPixel(HDC hdc, int x, int y)
{
    DcRecord* dc = DcOf(hdc);
    if (!dc) return CLR_INVALID;
    QImage* img = dc->Image();
    QPoint d = dc->ToDevice(x, y);
    if (!img || !QRect(QPoint(0, 0), LogicalSize(*img)).contains(d)) return CLR_INVALID;
    if (auto c = dc->EffectiveClip(); c && !c->contains(d)) return CLR_INVALID;
    return FromQColor(img->pixel(DevicePixel(*img, d)));
}

COLORREF SetPixel(HDC hdc, int x, int y, COLORREF color)
{
    DcRecord* dc = DcOf(hdc);
    if (!dc) return CLR_INVALID;
    QPainter* p = dc->Begin();
    if (!p) return CLR_INVALID;
    p->setCompositionMode(QPainter::CompositionMode_Source);
    p->fillRect(QRect(dc->ToDevice(x, y), QSize(1, 1)), ToQColor(color));
    return color & 0xFFFFFF;
}
