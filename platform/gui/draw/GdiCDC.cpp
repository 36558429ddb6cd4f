// CDC: thin wrappers over the handle functions (the window DCs are in WindowDC.cpp).
#include "platform/gui/draw/GdiInternal.h"
#include "platform/gui/draw/WinDefs.h"

#include <algorithm>
#include <memory>
#include <unordered_map>

namespace qor::gui {
int DrawTextOn(HDC hdc, LPCWSTR text, int count, LPRECT rc, UINT format, LPDRAWTEXTPARAMS params, LPWSTR modifiable);
int TextFace(HDC hdc, int nCount, LPWSTR face);
CString DrawnTextOn(HDC hdc, const CString& text, const RECT& rect, UINT format);
BOOL CharWidths(HDC hdc, UINT first, UINT last, LPINT buffer);
BOOL TextExtentEx(HDC hdc, LPCWSTR s, int n, int maxExtent, LPINT fit, LPINT dx, LPSIZE size);

bool GetBrushColor(HBRUSH h, COLORREF* c)
{
    auto v = reinterpret_cast<std::uintptr_t>(h);
    if (v > 0 && v <= 64) h = GetSysColorBrush(static_cast<int>(v) - 1);
    BrushRecord* b = BrushOf(h);
    if (!b || b->style == BS_NULL) return false;
    if (c) *c = b->style == BS_PATTERN && !b->pattern.isNull() ? FromQColor(b->pattern.pixel(0, 0)) : b->color;
    return true;
}
} // namespace qor::gui

using namespace qor::gui;

namespace {

struct CdcRegistry
{
    std::unordered_map<HDC, CDC*> attached;
    std::unordered_map<HDC, std::unique_ptr<CDC>> temporary;
};

CdcRegistry& Cdcs()
{
    static auto* r = new CdcRegistry;
    return *r;
}

} // namespace

void qor::gui::ForgetDcWrappers(HDC h)
{
    auto& reg = Cdcs();
    reg.attached.erase(h);
    auto t = reg.temporary.find(h);
    if (t != reg.temporary.end())
    {
        t->second->m_hDC = t->second->m_hAttribDC = nullptr;
        reg.temporary.erase(t);
    }
}

namespace {

void DeleteDcAndWrappers(HDC h)
{
    ForgetDcWrappers(h);
    ::DeleteDC(h);
}

} // namespace

// ---- CDC: handles -------------------------------------------------------------------------------

CDC::~CDC()
{
    if (m_hDC)
    {
        HDC h = Detach();
        DeleteDcAndWrappers(h);
    }
}

CDC* CDC::FromHandle(HDC hDC)
{
    if (!DcOf(hDC)) return nullptr;
    auto& reg = Cdcs();
    auto a = reg.attached.find(hDC);
    if (a != reg.attached.end()) return a->second;
    auto t = reg.temporary.find(hDC);
    if (t != reg.temporary.end()) return t->second.get();
    auto w = std::make_unique<CDC>();
    w->m_hDC = w->m_hAttribDC = hDC;
    w->m_bPrinting = DcOf(hDC)->printing;
    CDC* p = w.get();
    reg.temporary.emplace(hDC, std::move(w));
    return p;
}

BOOL CDC::Attach(HDC hDC)
{
    DcRecord* dc = DcOf(hDC);
    if (!dc) return FALSE;
    m_hDC = m_hAttribDC = hDC;
    m_bPrinting = dc->printing;
    Cdcs().attached[hDC] = this;
    return TRUE;
}

HDC CDC::Detach()
{
    HDC h = m_hDC;
    if (h)
    {
        auto& reg = Cdcs();
        auto a = reg.attached.find(h);
        if (a != reg.attached.end() && a->second == this) reg.attached.erase(a);
    }
    m_hDC = m_hAttribDC = nullptr;
    return h;
}

BOOL CDC::CreateCompatibleDC(CDC* pDC)
{
    HDC h = ::CreateCompatibleDC(pDC ? pDC->m_hDC : nullptr);
    return h ? Attach(h) : FALSE;
}

BOOL CDC::DeleteDC()
{
    if (!m_hDC) return FALSE;
    HDC h = Detach();
    DeleteDcAndWrappers(h);
    return TRUE;
}

CWnd* CDC::GetWindow() const
{
    DcRecord* dc = DcOf(m_hDC);
    return dc ? dc->wnd : nullptr;
}

int CDC::SaveDC() { return ::SaveDC(m_hDC); }
BOOL CDC::RestoreDC(int nSavedDC) { return ::RestoreDC(m_hDC, nSavedDC); }
int CDC::GetDeviceCaps(int nIndex) const { return ::GetDeviceCaps(m_hDC, nIndex); }

// ---- Objects --------------------------------------------------------------------------------------

CGdiObject* CDC::SelectStockObject(int nIndex)
{
    return CGdiObject::FromHandle(::SelectObject(m_hDC, ::GetStockObject(nIndex)));
}
CPen* CDC::SelectObject(CPen* pPen)
{
    return pPen ? CPen::FromHandle(reinterpret_cast<HPEN>(::SelectObject(m_hDC, pPen->m_hObject))) : nullptr;
}
CBrush* CDC::SelectObject(CBrush* pBrush)
{
    return pBrush ? CBrush::FromHandle(reinterpret_cast<HBRUSH>(::SelectObject(m_hDC, pBrush->m_hObject))) : nullptr;
}
CFont* CDC::SelectObject(CFont* pFont)
{
    return pFont ? CFont::FromHandle(reinterpret_cast<HFONT>(::SelectObject(m_hDC, pFont->m_hObject))) : nullptr;
}
CBitmap* CDC::SelectObject(CBitmap* pBitmap)
{
    return pBitmap ? CBitmap::FromHandle(reinterpret_cast<HBITMAP>(::SelectObject(m_hDC, pBitmap->m_hObject)))
                   : nullptr;
}
int CDC::SelectObject(CRgn* pRgn) { return SelectClipRgn(pRgn); }
CGdiObject* CDC::SelectObject(CGdiObject* pObject)
{
    if (!pObject) return nullptr;
    if (pObject->GetObjectType() == OBJ_REGION)
    {
        SelectClipRgn(static_cast<CRgn*>(pObject));
        return nullptr;
    }
    return CGdiObject::FromHandle(::SelectObject(m_hDC, pObject->m_hObject));
}
HGDIOBJ CDC::SelectObject(HGDIOBJ hObject) { return ::SelectObject(m_hDC, hObject); }
CPalette* CDC::SelectPalette(CPalette* pPalette, BOOL)
{
    static CPalette* current = nullptr;
    CPalette* prev = current ? current : CPalette::FromHandle(static_cast<HPALETTE>(::GetStockObject(DEFAULT_PALETTE)));
    current = pPalette;
    return prev;
}
CPen* CDC::GetCurrentPen() const
{
    return CPen::FromHandle(reinterpret_cast<HPEN>(::GetCurrentObject(m_hDC, OBJ_PEN)));
}
CBrush* CDC::GetCurrentBrush() const
{
    return CBrush::FromHandle(reinterpret_cast<HBRUSH>(::GetCurrentObject(m_hDC, OBJ_BRUSH)));
}
CFont* CDC::GetCurrentFont() const
{
    return CFont::FromHandle(reinterpret_cast<HFONT>(::GetCurrentObject(m_hDC, OBJ_FONT)));
}
CBitmap* CDC::GetCurrentBitmap() const
{
    return CBitmap::FromHandle(reinterpret_cast<HBITMAP>(::GetCurrentObject(m_hDC, OBJ_BITMAP)));
}

// ---- Colours and modes --------------------------------------------------------------------------------

COLORREF CDC::GetBkColor() const { return ::GetBkColor(m_hDC); }
COLORREF CDC::SetBkColor(COLORREF crColor) { return ::SetBkColor(m_hDC, crColor & 0xFFFFFF); }
int CDC::GetBkMode() const { return ::GetBkMode(m_hDC); }
int CDC::SetBkMode(int nBkMode) { return ::SetBkMode(m_hDC, nBkMode); }
COLORREF CDC::GetTextColor() const { return ::GetTextColor(m_hDC); }
COLORREF CDC::SetTextColor(COLORREF crColor) { return ::SetTextColor(m_hDC, crColor & 0xFFFFFF); }

#define QOR_STATE_ACCESS(GetName, SetName, Type, member, fail)                                                         \
    Type CDC::GetName() const                                                                                          \
    {                                                                                                                  \
        DcRecord* dc = DcOf(m_hDC);                                                                                    \
        return dc ? dc->state.member : fail;                                                                           \
    }                                                                                                                  \
    Type CDC::SetName(Type v)                                                                                          \
    {                                                                                                                  \
        DcRecord* dc = DcOf(m_hDC);                                                                                    \
        if (!dc) return fail;                                                                                          \
        Type prev = dc->state.member;                                                                                  \
        dc->state.member = v;                                                                                          \
        return prev;                                                                                                   \
    }

QOR_STATE_ACCESS(GetROP2, SetROP2, int, rop2, 0)
QOR_STATE_ACCESS(GetTextAlign, SetTextAlign, UINT, textAlign, GDI_ERROR)
QOR_STATE_ACCESS(GetPolyFillMode, SetPolyFillMode, int, polyFillMode, 0)
QOR_STATE_ACCESS(GetStretchBltMode, SetStretchBltMode, int, stretchMode, 0)
QOR_STATE_ACCESS(GetDCBrushColor, SetDCBrushColor, COLORREF, dcBrushColor, CLR_INVALID)
QOR_STATE_ACCESS(GetDCPenColor, SetDCPenColor, COLORREF, dcPenColor, CLR_INVALID)
#undef QOR_STATE_ACCESS

// ---- Mapping ----------------------------------------------------------------------------------------------

int CDC::GetMapMode() const { return ::GetMapMode(m_hDC); }
int CDC::SetMapMode(int nMapMode) { return ::SetMapMode(m_hDC, nMapMode); }

namespace {
bool Scalable(const DcState& s) { return s.mapMode == MM_ISOTROPIC || s.mapMode == MM_ANISOTROPIC; }

// The viewport and the window each have an origin and an extent, kept alike.
CPoint GetOrigin(HDC hDC, POINT DcState::*pOrg)
{
    DcRecord* dc = DcOf(hDC);
    return dc ? CPoint(dc->state.*pOrg) : CPoint();
}
CPoint SetOrigin(HDC hDC, POINT DcState::*pOrg, int x, int y)
{
    DcRecord* dc = DcOf(hDC);
    if (!dc) return CPoint();
    CPoint prev(dc->state.*pOrg);
    dc->state.*pOrg = POINT{x, y};
    return prev;
}
CSize GetExtent(HDC hDC, SIZE DcState::*pExt)
{
    DcRecord* dc = DcOf(hDC);
    return dc ? CSize(dc->state.*pExt) : CSize();
}
// Extents change only in the scalable modes, and never to zero.
CSize SetExtent(HDC hDC, SIZE DcState::*pExt, int cx, int cy)
{
    DcRecord* dc = DcOf(hDC);
    if (!dc) return CSize();
    CSize prev(dc->state.*pExt);
    if (!Scalable(dc->state) || cx == 0 || cy == 0) return prev;
    dc->state.*pExt = SIZE{cx, cy};
    FixIsotropic(dc->state);
    return prev;
}
} // namespace

CPoint CDC::GetViewportOrg() const { return GetOrigin(m_hDC, &DcState::viewportOrg); }
CPoint CDC::SetViewportOrg(int x, int y) { return SetOrigin(m_hDC, &DcState::viewportOrg, x, y); }
CPoint CDC::OffsetViewportOrg(int nWidth, int nHeight)
{
    CPoint prev = GetViewportOrg();
    SetViewportOrg(prev.x + nWidth, prev.y + nHeight);
    return prev;
}
CSize CDC::GetViewportExt() const { return GetExtent(m_hDC, &DcState::viewportExt); }
CSize CDC::SetViewportExt(int cx, int cy) { return SetExtent(m_hDC, &DcState::viewportExt, cx, cy); }
CSize CDC::ScaleViewportExt(int xNum, int xDenom, int yNum, int yDenom)
{
    CSize e = GetViewportExt();
    if (xDenom == 0 || yDenom == 0) return e;
    return SetViewportExt(MulDiv(e.cx, xNum, xDenom), MulDiv(e.cy, yNum, yDenom));
}
CPoint CDC::GetWindowOrg() const { return GetOrigin(m_hDC, &DcState::windowOrg); }
CPoint CDC::SetWindowOrg(int x, int y) { return SetOrigin(m_hDC, &DcState::windowOrg, x, y); }
CPoint CDC::OffsetWindowOrg(int nWidth, int nHeight)
{
    CPoint prev = GetWindowOrg();
    SetWindowOrg(prev.x + nWidth, prev.y + nHeight);
    return prev;
}
CSize CDC::GetWindowExt() const { return GetExtent(m_hDC, &DcState::windowExt); }
CSize CDC::SetWindowExt(int cx, int cy) { return SetExtent(m_hDC, &DcState::windowExt, cx, cy); }
CSize CDC::ScaleWindowExt(int xNum, int xDenom, int yNum, int yDenom)
{
    CSize e = GetWindowExt();
    if (xDenom == 0 || yDenom == 0) return e;
    return SetWindowExt(MulDiv(e.cx, xNum, xDenom), MulDiv(e.cy, yNum, yDenom));
}

void CDC::DPtoLP(LPPOINT lpPoints, int nCount) const { ::DPtoLP(m_hDC, lpPoints, nCount); }
void CDC::DPtoLP(LPRECT lpRect) const { ::DPtoLP(m_hDC, reinterpret_cast<LPPOINT>(lpRect), 2); }
void CDC::LPtoDP(LPPOINT lpPoints, int nCount) const { ::LPtoDP(m_hDC, lpPoints, nCount); }
void CDC::LPtoDP(LPRECT lpRect) const { ::LPtoDP(m_hDC, reinterpret_cast<LPPOINT>(lpRect), 2); }

// Sizes convert as the difference of two converted points (the framework's way).
void CDC::DPtoLP(LPSIZE lpSize) const
{
    if (!lpSize) return;
    POINT pts[2] = {{0, 0}, {lpSize->cx, lpSize->cy}};
    ::DPtoLP(m_hDC, pts, 2);
    lpSize->cx = pts[1].x - pts[0].x;
    lpSize->cy = pts[1].y - pts[0].y;
}
void CDC::LPtoDP(LPSIZE lpSize) const
{
    if (!lpSize) return;
    POINT pts[2] = {{0, 0}, {lpSize->cx, lpSize->cy}};
    ::LPtoDP(m_hDC, pts, 2);
    lpSize->cx = pts[1].x - pts[0].x;
    lpSize->cy = pts[1].y - pts[0].y;
}

// ---- Clipping -----------------------------------------------------------------------------------------------

int CDC::GetClipBox(LPRECT lpRect) const { return ::GetClipBox(m_hDC, lpRect); }
BOOL CDC::PtVisible(int x, int y) const { return ::PtVisible(m_hDC, x, y); }
BOOL CDC::RectVisible(LPCRECT lpRect) const { return ::RectVisible(m_hDC, lpRect); }
int CDC::SelectClipRgn(CRgn* pRgn)
{
    return ::SelectClipRgn(m_hDC, pRgn ? static_cast<HRGN>(pRgn->m_hObject) : nullptr);
}

int CDC::SelectClipRgn(CRgn* pRgn, int nMode)
{
    DcRecord* dc = DcOf(m_hDC);
    if (!dc) return ERROR;
    if (nMode == RGN_COPY) return SelectClipRgn(pRgn);
    RegionRecord* r = pRgn ? RegionOf(pRgn->m_hObject) : nullptr;
    if (!r) return ERROR;
    QRegion base = dc->state.clip ? *dc->state.clip : QRegion(dc->DeviceBounds());
    switch (nMode)
    {
    case RGN_AND: base = base.intersected(r->region); break;
    case RGN_OR: base = base.united(r->region); break;
    case RGN_XOR: base = base.xored(r->region); break;
    case RGN_DIFF: base = base.subtracted(r->region); break;
    default: return ERROR;
    }
    dc->state.clip = base;
    dc->clipDirty = true;
    return base.isEmpty() ? NULLREGION : base.rectCount() == 1 ? SIMPLEREGION : COMPLEXREGION;
}

int CDC::ExcludeClipRect(int x1, int y1, int x2, int y2) { return ::ExcludeClipRect(m_hDC, x1, y1, x2, y2); }
int CDC::ExcludeClipRect(LPCRECT r) { return r ? ExcludeClipRect(r->left, r->top, r->right, r->bottom) : ERROR; }
int CDC::IntersectClipRect(int x1, int y1, int x2, int y2) { return ::IntersectClipRect(m_hDC, x1, y1, x2, y2); }
int CDC::IntersectClipRect(LPCRECT r) { return r ? IntersectClipRect(r->left, r->top, r->right, r->bottom) : ERROR; }

int CDC::OffsetClipRgn(int x, int y)
{
    DcRecord* dc = DcOf(m_hDC);
    if (!dc) return ERROR;
    if (!dc->state.clip) return SIMPLEREGION;
    QPoint a = dc->ToDevice(0, 0), b = dc->ToDevice(x, y);
    dc->state.clip->translate(b - a);
    dc->clipDirty = true;
    return dc->state.clip->isEmpty() ? NULLREGION : dc->state.clip->rectCount() == 1 ? SIMPLEREGION : COMPLEXREGION;
}

int CDC::GetClipRgn(CRgn* pRgn) const
{
    DcRecord* dc = DcOf(m_hDC);
    RegionRecord* r = pRgn ? RegionOf(pRgn->m_hObject) : nullptr;
    if (!dc || !r) return -1;
    if (!dc->state.clip) return 0;
    r->region = *dc->state.clip;
    return 1;
}

// ---- Lines and shapes ------------------------------------------------------------------------------------------

CPoint CDC::GetCurrentPosition() const
{
    DcRecord* dc = DcOf(m_hDC);
    return dc ? CPoint(dc->state.position) : CPoint();
}
CPoint CDC::MoveTo(int x, int y)
{
    POINT prev{0, 0};
    ::MoveToEx(m_hDC, x, y, &prev);
    return CPoint(prev);
}
BOOL CDC::LineTo(int x, int y) { return ::LineTo(m_hDC, x, y); }
BOOL CDC::Polyline(const POINT* lpPoints, int nCount) { return ::Polyline(m_hDC, lpPoints, nCount); }

BOOL CDC::PolylineTo(const POINT* lpPoints, int nCount)
{
    if (!lpPoints || nCount <= 0) return FALSE;
    std::vector<POINT> pts;
    pts.push_back(GetCurrentPosition());
    pts.insert(pts.end(), lpPoints, lpPoints + nCount);
    BOOL ok = ::Polyline(m_hDC, pts.data(), static_cast<int>(pts.size()));
    MoveTo(lpPoints[nCount - 1]);
    return ok;
}

BOOL CDC::PolyPolyline(const POINT* lpPoints, const DWORD* lpPolyPoints, int nCount)
{
    if (nCount < 0) return FALSE;
    return ::PolyPolyline(m_hDC, lpPoints, lpPolyPoints, static_cast<DWORD>(nCount));
}

BOOL CDC::PolyBezier(const POINT* lpPoints, int nCount)
{
    DcRecord* dc = DcOf(m_hDC);
    if (!dc || !lpPoints || nCount < 4 || (nCount - 1) % 3 != 0) return FALSE;
    // Flattened into a polyline in device pixels.
    std::vector<POINT> flat;
    QPoint p0 = dc->ToDevice(lpPoints[0].x, lpPoints[0].y);
    flat.push_back(POINT{p0.x(), p0.y()});
    for (int i = 1; i + 2 < nCount; i += 3)
    {
        QPointF a = dc->ToDevice(lpPoints[i - 1].x, lpPoints[i - 1].y);
        QPointF b = dc->ToDevice(lpPoints[i].x, lpPoints[i].y);
        QPointF c = dc->ToDevice(lpPoints[i + 1].x, lpPoints[i + 1].y);
        QPointF d = dc->ToDevice(lpPoints[i + 2].x, lpPoints[i + 2].y);
        double len = QLineF(a, b).length() + QLineF(b, c).length() + QLineF(c, d).length();
        int steps = std::clamp(static_cast<int>(len / 4), 1, 200);
        for (int k = 1; k <= steps; ++k)
        {
            double t = double(k) / steps, u = 1 - t;
            QPointF q = u * u * u * a + 3 * u * u * t * b + 3 * u * t * t * c + t * t * t * d;
            POINT pt{static_cast<int>(std::lround(q.x())), static_cast<int>(std::lround(q.y()))};
            if (pt.x != flat.back().x || pt.y != flat.back().y) flat.push_back(pt);
        }
    }
    if (flat.size() < 2) return TRUE;
    // Drawn in device units: map temporarily to MM_TEXT with no offsets.
    DcState keep = dc->state;
    dc->state.mapMode = MM_TEXT;
    dc->state.windowOrg = dc->state.viewportOrg = POINT{0, 0};
    dc->state.windowExt = dc->state.viewportExt = SIZE{1, 1};
    PenRecord* pen = PenOf(dc->state.pen);
    int logicalWidth = pen ? pen->width : 0;
    if (pen && logicalWidth > 1)
        pen->width = std::max(
            1, static_cast<int>(std::lround(logicalWidth * std::abs(double(keep.viewportExt.cx) / keep.windowExt.cx))));
    BOOL ok = ::Polyline(m_hDC, flat.data(), static_cast<int>(flat.size()));
    if (pen) pen->width = logicalWidth;
    POINT pos = dc->state.position;
    dc->state = keep;
    dc->state.position = pos;
    return ok;
}

namespace {
// An arc's box in device units and its angles in sixteenths of a degree: from the ray towards
// (x3, y3) counter-clockwise to the ray towards (x4, y4), the box given by (x1, y1) and (x2, y2).
struct ArcGeometry
{
    QRect box;
    int start = 0;
    int span = 0;
    ArcGeometry(DcRecord* dc, int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4)
    {
        const QRect r = dc->ToDeviceRect(RECT{x1, y1, x2, y2});
        const QPointF c = QRectF(r).center();
        const QPoint s = dc->ToDevice(x3, y3), e = dc->ToDevice(x4, y4);
        const double a0 = std::atan2(c.y() - s.y(), s.x() - c.x()) * 180 / M_PI;
        const double a1 = std::atan2(c.y() - e.y(), e.x() - c.x()) * 180 / M_PI;
        double degrees = a1 - a0;
        if (degrees <= 0) degrees += 360;
        box = r.adjusted(0, 0, -1, -1);
        start = static_cast<int>(a0 * 16);
        span = static_cast<int>(degrees * 16);
    }
};
} // namespace

BOOL CDC::Arc(int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4)
{
    DcRecord* dc = DcOf(m_hDC);
    if (!dc) return FALSE;
    const ArcGeometry g(dc, x1, y1, x2, y2, x3, y3, x4, y4);
    FillAndStroke(
        dc, [&](QPainter* q) { q->drawArc(g.box, g.start, g.span); }, false, true);
    return TRUE;
}

void CDC::FillRect(LPCRECT lpRect, CBrush* pBrush)
{
    if (pBrush) ::FillRect(m_hDC, lpRect, static_cast<HBRUSH>(pBrush->m_hObject));
}
void CDC::FrameRect(LPCRECT lpRect, CBrush* pBrush)
{
    if (pBrush) ::FrameRect(m_hDC, lpRect, static_cast<HBRUSH>(pBrush->m_hObject));
}
void CDC::InvertRect(LPCRECT lpRect) { ::InvertRect(m_hDC, lpRect); }

// As the framework: the background colour becomes clr and the rectangle is filled with it.
void CDC::FillSolidRect(LPCRECT lpRect, COLORREF clr)
{
    ::SetBkColor(m_hDC, clr & 0xFFFFFF);
    ::ExtTextOutW(m_hDC, 0, 0, ETO_OPAQUE, lpRect, nullptr, 0, nullptr);
}
void CDC::FillSolidRect(int x, int y, int cx, int cy, COLORREF clr)
{
    RECT r{x, y, x + cx, y + cy};
    FillSolidRect(&r, clr);
}
void CDC::Draw3dRect(LPCRECT lpRect, COLORREF clrTopLeft, COLORREF clrBottomRight)
{
    if (lpRect)
        Draw3dRect(lpRect->left, lpRect->top, lpRect->right - lpRect->left, lpRect->bottom - lpRect->top, clrTopLeft,
                   clrBottomRight);
}
void CDC::Draw3dRect(int x, int y, int cx, int cy, COLORREF clrTopLeft, COLORREF clrBottomRight)
{
    FillSolidRect(x, y, cx - 1, 1, clrTopLeft);
    FillSolidRect(x, y, 1, cy - 1, clrTopLeft);
    FillSolidRect(x + cx, y, -1, cy, clrBottomRight);
    FillSolidRect(x, y + cy, cx, -1, clrBottomRight);
}
BOOL CDC::DrawEdge(LPRECT lpRect, UINT nEdge, UINT nFlags) { return ::DrawEdge(m_hDC, lpRect, nEdge, nFlags); }
BOOL CDC::DrawFrameControl(LPRECT lpRect, UINT nType, UINT nState)
{
    return ::DrawFrameControl(m_hDC, lpRect, nType, nState);
}
void CDC::DrawFocusRect(LPCRECT lpRect) { ::DrawFocusRect(m_hDC, lpRect); }

BOOL CDC::FillRgn(CRgn* pRgn, CBrush* pBrush)
{
    DcRecord* dc = DcOf(m_hDC);
    RegionRecord* r = pRgn ? RegionOf(pRgn->m_hObject) : nullptr;
    if (!dc || !r || !pBrush) return FALSE;
    for (const QRect& q : r->region)
    {
        // Regions are in device units.
        QPoint a = dc->ToLogical(q.left(), q.top()), b = dc->ToLogical(q.left() + q.width(), q.top() + q.height());
        RECT rc{a.x(), a.y(), b.x(), b.y()};
        ::FillRect(m_hDC, &rc, static_cast<HBRUSH>(pBrush->m_hObject));
    }
    return TRUE;
}
BOOL CDC::PaintRgn(CRgn* pRgn) { return FillRgn(pRgn, GetCurrentBrush()); }
BOOL CDC::FrameRgn(CRgn* pRgn, CBrush* pBrush, int nWidth, int nHeight)
{
    DcRecord* dc = DcOf(m_hDC);
    RegionRecord* r = pRgn ? RegionOf(pRgn->m_hObject) : nullptr;
    if (!dc || !r || !pBrush) return FALSE;
    QRegion inner = r->region.intersected(r->region.translated(nWidth, 0))
                        .intersected(r->region.translated(-nWidth, 0))
                        .intersected(r->region.translated(0, nHeight))
                        .intersected(r->region.translated(0, -nHeight));
    CRgn frame;
    frame.CreateRectRgn(0, 0, 0, 0);
    RegionOf(frame.m_hObject)->region = r->region.subtracted(inner);
    return FillRgn(&frame, pBrush);
}
BOOL CDC::InvertRgn(CRgn* pRgn)
{
    DcRecord* dc = DcOf(m_hDC);
    RegionRecord* r = pRgn ? RegionOf(pRgn->m_hObject) : nullptr;
    if (!dc || !r) return FALSE;
    for (const QRect& q : r->region)
    {
        QPoint a = dc->ToLogical(q.left(), q.top()), b = dc->ToLogical(q.left() + q.width(), q.top() + q.height());
        RECT rc{a.x(), a.y(), b.x(), b.y()};
        ::InvertRect(m_hDC, &rc);
    }
    return TRUE;
}

BOOL CDC::Rectangle(int x1, int y1, int x2, int y2) { return ::Rectangle(m_hDC, x1, y1, x2, y2); }
BOOL CDC::Rectangle(LPCRECT r) { return r ? Rectangle(r->left, r->top, r->right, r->bottom) : FALSE; }

BOOL CDC::RoundRect(int x1, int y1, int x2, int y2, int x3, int y3)
{
    DcRecord* dc = DcOf(m_hDC);
    if (!dc) return FALSE;
    QRect r = dc->ToDeviceRect(RECT{x1, y1, x2, y2});
    if (r.width() <= 1 || r.height() <= 1) return TRUE;
    double rx = std::abs(x3 * dc->ScaleX()) / 2, ry = std::abs(y3 * dc->ScaleY()) / 2;
    const QRectF box(r.left(), r.top(), r.width() - 1, r.height() - 1);
    FillAndStroke(dc, [&](QPainter* q) { q->drawRoundedRect(box, rx, ry); });
    return TRUE;
}
BOOL CDC::RoundRect(LPCRECT r, POINT point)
{
    return r ? RoundRect(r->left, r->top, r->right, r->bottom, point.x, point.y) : FALSE;
}
BOOL CDC::Ellipse(int x1, int y1, int x2, int y2) { return ::Ellipse(m_hDC, x1, y1, x2, y2); }
BOOL CDC::Ellipse(LPCRECT r) { return r ? Ellipse(r->left, r->top, r->right, r->bottom) : FALSE; }
BOOL CDC::Polygon(const POINT* lpPoints, int nCount) { return ::Polygon(m_hDC, lpPoints, nCount); }
BOOL CDC::PolyPolygon(const POINT* lpPoints, const INT* lpPolyCounts, int nCount)
{
    if (!lpPoints || !lpPolyCounts) return FALSE;
    for (int i = 0; i < nCount; ++i)
    {
        ::Polygon(m_hDC, lpPoints, lpPolyCounts[i]);
        lpPoints += lpPolyCounts[i];
    }
    return TRUE;
}

BOOL CDC::Pie(int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4)
{
    DcRecord* dc = DcOf(m_hDC);
    if (!dc) return FALSE;
    const ArcGeometry g(dc, x1, y1, x2, y2, x3, y3, x4, y4);
    FillAndStroke(dc, [&](QPainter* q) { q->drawPie(g.box, g.start, g.span); });
    return TRUE;
}

BOOL CDC::GradientFill(TRIVERTEX* pVertices, ULONG nVertices, void* pMesh, ULONG nMeshElements, DWORD dwMode)
{
    return ::GradientFill(m_hDC, pVertices, nVertices, pMesh, nMeshElements, dwMode);
}

// ---- Bitmaps ------------------------------------------------------------------------------------------------------

BOOL CDC::PatBlt(int x, int y, int nWidth, int nHeight, DWORD dwRop)
{
    return ::PatBlt(m_hDC, x, y, nWidth, nHeight, dwRop);
}
BOOL CDC::BitBlt(int x, int y, int nWidth, int nHeight, CDC* pSrcDC, int xSrc, int ySrc, DWORD dwRop)
{
    return ::BitBlt(m_hDC, x, y, nWidth, nHeight, pSrcDC ? pSrcDC->m_hDC : nullptr, xSrc, ySrc, dwRop);
}
BOOL CDC::StretchBlt(int x, int y, int nWidth, int nHeight, CDC* pSrcDC, int xSrc, int ySrc, int nSrcWidth,
                     int nSrcHeight, DWORD dwRop)
{
    return ::StretchBlt(m_hDC, x, y, nWidth, nHeight, pSrcDC ? pSrcDC->m_hDC : nullptr, xSrc, ySrc, nSrcWidth,
                        nSrcHeight, dwRop);
}

BOOL CDC::TransparentBlt(int xDest, int yDest, int nDestWidth, int nDestHeight, CDC* pSrcDC, int xSrc, int ySrc,
                         int nSrcWidth, int nSrcHeight, UINT clrTransparent)
{
    DcRecord* dc = DcOf(m_hDC);
    DcRecord* sdc = pSrcDC ? DcOf(pSrcDC->m_hDC) : nullptr;
    if (!dc || !sdc || !sdc->Image()) return FALSE;
    QRect s = sdc->ToDeviceRect(RECT{xSrc, ySrc, xSrc + nSrcWidth, ySrc + nSrcHeight});
    QRect d = dc->ToDeviceRect(RECT{xDest, yDest, xDest + nDestWidth, yDest + nDestHeight});
    const QImage* simg = sdc->Image();
    const QImage raw = simg->devicePixelRatio() == 1.0 ? *simg : [&] {
        QImage r = *simg;
        r.setDevicePixelRatio(1.0);
        return r;
    }();
    QImage part = raw.copy(QRect(DevicePixel(*simg, s.topLeft()),
                                 DevicePixel(*simg, s.topLeft() + QPoint(s.width(), s.height())) - QPoint(1, 1)))
                      .convertToFormat(QImage::Format_ARGB32);
    part.setDevicePixelRatio(simg->devicePixelRatio());
    QRgb key = ToQRgb(clrTransparent) & 0xFFFFFF;
    for (int y = 0; y < part.height(); ++y)
    {
        auto* line = reinterpret_cast<QRgb*>(part.scanLine(y));
        for (int x = 0; x < part.width(); ++x)
            if ((line[x] & 0xFFFFFF) == key) line[x] = 0;
    }
    QPainter* p = dc->Begin();
    if (p) p->drawImage(d, part);
    return TRUE;
}

COLORREF CDC::GetPixel(int x, int y) const { return ::GetPixel(m_hDC, x, y); }
COLORREF CDC::SetPixel(int x, int y, COLORREF crColor) { return ::SetPixel(m_hDC, x, y, crColor); }

// ---- Text
// -------------------------------------------------------------------------------------------------------------

BOOL CDC::TextOut(int x, int y, LPCTSTR lpszString, int nCount) { return ::TextOutW(m_hDC, x, y, lpszString, nCount); }
BOOL CDC::TextOut(int x, int y, const CString& str) { return TextOut(x, y, str.GetString(), str.GetLength()); }
BOOL CDC::ExtTextOut(int x, int y, UINT nOptions, LPCRECT lpRect, LPCTSTR lpszString, UINT nCount, LPINT lpDxWidths)
{
    return ::ExtTextOutW(m_hDC, x, y, nOptions, lpRect, lpszString, nCount, lpDxWidths);
}
BOOL CDC::ExtTextOut(int x, int y, UINT nOptions, LPCRECT lpRect, const CString& str, LPINT lpDxWidths)
{
    return ExtTextOut(x, y, nOptions, lpRect, str.GetString(), static_cast<UINT>(str.GetLength()), lpDxWidths);
}
CSize CDC::TabbedTextOut(int x, int y, LPCTSTR lpszString, int nCount, int nTabPositions, LPINT lpnTabStopPositions,
                         int nTabOrigin)
{
    LONG r = ::TabbedTextOutW(m_hDC, x, y, lpszString, nCount, nTabPositions, lpnTabStopPositions, nTabOrigin);
    return CSize(LOWORD(static_cast<DWORD>(r)), HIWORD(static_cast<DWORD>(r)));
}
CSize CDC::TabbedTextOut(int x, int y, const CString& str, int nTabPositions, LPINT lpnTabStopPositions, int nTabOrigin)
{
    return TabbedTextOut(x, y, str.GetString(), str.GetLength(), nTabPositions, lpnTabStopPositions, nTabOrigin);
}
int CDC::DrawText(LPCTSTR lpszString, int nCount, LPRECT lpRect, UINT nFormat)
{
    return ::DrawTextW(m_hDC, lpszString, nCount, lpRect, nFormat);
}
int CDC::DrawText(const CString& str, LPRECT lpRect, UINT nFormat)
{
    return DrawText(str.GetString(), str.GetLength(), lpRect, nFormat);
}
int CDC::DrawTextEx(LPTSTR lpszString, int nCount, LPRECT lpRect, UINT nFormat, LPDRAWTEXTPARAMS lpDTParams)
{
    return ::DrawTextExW(m_hDC, lpszString, nCount, lpRect, nFormat, lpDTParams);
}
int CDC::DrawTextEx(const CString& str, LPRECT lpRect, UINT nFormat, LPDRAWTEXTPARAMS lpDTParams)
{
    return DrawTextOn(m_hDC, str.GetString(), str.GetLength(), lpRect, nFormat & ~DT_MODIFYSTRING, lpDTParams, nullptr);
}
CString CDC::GetDrawnText(const CString& str, LPCRECT lpRect, UINT nFormat) const
{
    return lpRect ? DrawnTextOn(m_hDC, str, *lpRect, nFormat) : str;
}
CSize CDC::GetTextExtent(LPCTSTR lpszString, int nCount) const
{
    SIZE s{0, 0};
    ::GetTextExtentPoint32W(m_hDC, lpszString, nCount, &s);
    return CSize(s);
}
CSize CDC::GetTextExtent(const CString& str) const { return GetTextExtent(str.GetString(), str.GetLength()); }
CSize CDC::GetTextExtentUpTo(LPCTSTR lpszString, int nCount, int nMaxExtent, int* pnMeasured) const
{
    int n = std::min(nCount, 1024);
    CSize size = GetTextExtent(lpszString, n);
    while (n < nCount && size.cx <= nMaxExtent)
    {
        n = n > nCount / 2 ? nCount : 2 * n;
        size = GetTextExtent(lpszString, n);
    }
    if (pnMeasured) *pnMeasured = n;
    return size;
}
CSize CDC::GetOutputTextExtent(LPCTSTR lpszString, int nCount) const { return GetTextExtent(lpszString, nCount); }
CSize CDC::GetOutputTextExtent(const CString& str) const { return GetTextExtent(str); }

CSize CDC::GetTabbedTextExtent(LPCTSTR lpszString, int nCount, int nTabPositions, LPINT lpnTabStopPositions) const
{
    // Measured as TabbedTextOut would advance, without drawing (on a DC with nowhere to draw).
    DcRecord* dc = DcOf(m_hDC);
    if (!dc || !lpszString) return CSize();
    HDC probe = CreateWindowSurfaceDC(nullptr, nullptr);
    DcRecord* pd = DcOf(probe);
    // The probe takes the font and mapping of this DC (holding them as selections do).
    for (HGDIOBJ h : {HGDIOBJ(pd->state.pen), HGDIOBJ(pd->state.brush), HGDIOBJ(pd->state.font)}) ReleaseObject(h);
    pd->state = dc->state;
    pd->state.bitmap = nullptr;
    pd->state.clip.reset();
    for (HGDIOBJ h : {HGDIOBJ(pd->state.pen), HGDIOBJ(pd->state.brush), HGDIOBJ(pd->state.font)}) HoldObject(h);
    LONG r = ::TabbedTextOutW(probe, 0, 0, lpszString, nCount, nTabPositions, lpnTabStopPositions, 0);
    ::DeleteDC(probe);
    return CSize(LOWORD(static_cast<DWORD>(r)), HIWORD(static_cast<DWORD>(r)));
}
CSize CDC::GetTabbedTextExtent(const CString& str, int nTabPositions, LPINT lpnTabStopPositions) const
{
    return GetTabbedTextExtent(str.GetString(), str.GetLength(), nTabPositions, lpnTabStopPositions);
}
BOOL CDC::GetTextMetrics(LPTEXTMETRIC lpMetrics) const { return ::GetTextMetricsW(m_hDC, lpMetrics); }
BOOL CDC::GetOutputTextMetrics(LPTEXTMETRIC lpMetrics) const { return ::GetTextMetricsW(m_hDC, lpMetrics); }
int CDC::GetTextFace(int nCount, LPTSTR lpszFacename) const { return TextFace(m_hDC, nCount, lpszFacename); }
int CDC::GetTextFace(CString& rString) const
{
    wchar_t buf[LF_FACESIZE] = {};
    int n = TextFace(m_hDC, LF_FACESIZE, buf);
    rString = buf;
    return n;
}
BOOL CDC::GetCharWidth(UINT nFirstChar, UINT nLastChar, LPINT lpBuffer) const
{
    return CharWidths(m_hDC, nFirstChar, nLastChar, lpBuffer);
}
BOOL CDC::GetTextExtentExPoint(LPCTSTR lpszString, int nCount, int nMaxExtent, LPINT lpnFit, LPINT alpDx,
                               LPSIZE lpSize) const
{
    return TextExtentEx(m_hDC, lpszString, nCount, nMaxExtent, lpnFit, alpDx, lpSize);
}

// ---- Printing
// ---------------------------------------------------------------------------------------------------------

namespace {
PrintTarget* TargetOf(HDC h)
{
    DcRecord* dc = DcOf(h);
    return dc ? dc->printTarget : nullptr;
}
} // namespace

int CDC::StartDoc(LPDOCINFO lpDocInfo)
{
    PrintTarget* t = TargetOf(m_hDC);
    return t ? t->StartDoc(CString(lpDocInfo && lpDocInfo->lpszDocName ? lpDocInfo->lpszDocName : L"")) : -1;
}
int CDC::StartDoc(LPCTSTR lpszDocName)
{
    PrintTarget* t = TargetOf(m_hDC);
    return t ? t->StartDoc(CString(lpszDocName ? lpszDocName : L"")) : -1;
}
int CDC::StartPage()
{
    PrintTarget* t = TargetOf(m_hDC);
    return t ? t->StartPage() : -1;
}
int CDC::EndPage()
{
    PrintTarget* t = TargetOf(m_hDC);
    return t ? t->EndPage() : -1;
}
int CDC::EndDoc()
{
    PrintTarget* t = TargetOf(m_hDC);
    return t ? t->EndDoc() : -1;
}
int CDC::AbortDoc()
{
    PrintTarget* t = TargetOf(m_hDC);
    return t ? t->AbortDoc() : -1;
}
