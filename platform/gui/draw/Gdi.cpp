// GDI objects: pens, brushes, fonts, bitmaps, regions, stock objects, and their handles.
#include "platform/gui/draw/GdiInternal.h"
#include "platform/gui/draw/SysValues.h"
#include "platform/gui/draw/WinDefs.h"

#include <QFontInfo>
#include <QFontMetricsF>
#include <QGuiApplication>

#include <cmath>
#include <cstring>
#include <cwchar>
#include <map>
#include <memory>
#include <unordered_map>
#include <unordered_set>

namespace qor::gui {
namespace {

// Registries live for the whole process (never destroyed, so objects with static storage
// may still use them while the program ends).
struct ObjectRegistry
{
    std::unordered_set<HGDIOBJ> live;
    std::unordered_map<HGDIOBJ, CGdiObject*> attached;
    std::unordered_map<HGDIOBJ, std::unique_ptr<CGdiObject>> temporary;
};

ObjectRegistry& Registry()
{
    static auto* r = new ObjectRegistry;
    return *r;
}

void FreeRecord(HGDIOBJ h)
{
    auto& reg = Registry();
    reg.live.erase(h);
    reg.attached.erase(h);
    auto t = reg.temporary.find(h);
    if (t != reg.temporary.end())
    {
        t->second->m_hObject = nullptr;
        reg.temporary.erase(t);
    }
    delete h;
}

std::unique_ptr<CGdiObject> NewWrapper(int type)
{
    switch (type)
    {
    case OBJ_PEN: return std::make_unique<CPen>();
    case OBJ_BRUSH: return std::make_unique<CBrush>();
    case OBJ_FONT: return std::make_unique<CFont>();
    case OBJ_BITMAP: return std::make_unique<CBitmap>();
    case OBJ_REGION: return std::make_unique<CRgn>();
    case OBJ_PAL: return std::make_unique<CPalette>();
    default: return std::make_unique<CGdiObject>();
    }
}

template <typename R>
R* RecordOf(HGDIOBJ h, int type)
{
    if (!h || !Registry().live.count(h) || h->qorType != type) return nullptr;
    return static_cast<R*>(h);
}

void SetFace(LOGFONTW& lf, const wchar_t* face)
{
    std::wmemset(lf.lfFaceName, 0, LF_FACESIZE);
    if (face) std::wcsncpy(lf.lfFaceName, face, LF_FACESIZE - 1);
}

LOGFONTW MakeLogFont(int height, int weight, const wchar_t* face, BYTE pitchAndFamily = 0)
{
    LOGFONTW lf{};
    lf.lfHeight = height;
    lf.lfWeight = weight;
    lf.lfCharSet = DEFAULT_CHARSET;
    lf.lfPitchAndFamily = pitchAndFamily;
    SetFace(lf, face);
    return lf;
}

HGDIOBJ MakeStock(int index)
{
    HGDIOBJ h = nullptr;
    auto pen = [](int style, COLORREF c, bool dc = false) {
        auto* p = new PenRecord;
        p->style = style;
        p->color = c;
        p->dcPen = dc;
        return RegisterObject(p, OBJ_PEN);
    };
    auto brush = [](UINT style, COLORREF c, bool dc = false) {
        auto* b = new BrushRecord;
        b->style = style;
        b->color = c;
        b->dcBrush = dc;
        return RegisterObject(b, OBJ_BRUSH);
    };
    auto font = [](const LOGFONTW& lf) {
        auto* f = new FontRecord;
        f->log = lf;
        return RegisterObject(f, OBJ_FONT);
    };
    switch (index)
    {
    case WHITE_BRUSH: h = brush(BS_SOLID, RGB(255, 255, 255)); break;
    case LTGRAY_BRUSH: h = brush(BS_SOLID, RGB(192, 192, 192)); break;
    case GRAY_BRUSH: h = brush(BS_SOLID, RGB(128, 128, 128)); break;
    case DKGRAY_BRUSH: h = brush(BS_SOLID, RGB(64, 64, 64)); break;
    case BLACK_BRUSH: h = brush(BS_SOLID, RGB(0, 0, 0)); break;
    case NULL_BRUSH: h = brush(BS_NULL, 0); break;
    case DC_BRUSH: h = brush(BS_SOLID, RGB(255, 255, 255), true); break;
    case WHITE_PEN: h = pen(PS_SOLID, RGB(255, 255, 255)); break;
    case BLACK_PEN: h = pen(PS_SOLID, RGB(0, 0, 0)); break;
    case NULL_PEN: h = pen(PS_NULL, 0); break;
    case DC_PEN: h = pen(PS_SOLID, 0, true); break;
    case OEM_FIXED_FONT:
    case ANSI_FIXED_FONT:
    case SYSTEM_FIXED_FONT: h = font(MakeLogFont(-13, FW_NORMAL, L"Courier New", FIXED_PITCH | FF_MODERN)); break;
    case ANSI_VAR_FONT: h = font(MakeLogFont(-11, FW_NORMAL, L"MS Sans Serif", VARIABLE_PITCH | FF_SWISS)); break;
    case SYSTEM_FONT:
    case DEVICE_DEFAULT_FONT: h = font(MakeLogFont(16, FW_BOLD, L"System", VARIABLE_PITCH | FF_SWISS)); break;
    case DEFAULT_GUI_FONT: h = font(MakeLogFont(-11, FW_NORMAL, L"MS Shell Dlg", VARIABLE_PITCH | FF_SWISS)); break;
    case DEFAULT_PALETTE: h = RegisterObject(new PaletteRecord, OBJ_PAL); break;
    default: return nullptr;
    }
    h->qorStock = true;
    return h;
}

} // namespace

HGDIOBJ RegisterObject(HGDIOBJ__* record, int type)
{
    record->qorType = type;
    Registry().live.insert(record);
    return record;
}

bool IsLiveObject(HGDIOBJ h) { return h && Registry().live.count(h) != 0; }
PenRecord* PenOf(HGDIOBJ h) { return RecordOf<PenRecord>(h, OBJ_PEN); }
BrushRecord* BrushOf(HGDIOBJ h) { return RecordOf<BrushRecord>(h, OBJ_BRUSH); }
FontRecord* FontOf(HGDIOBJ h) { return RecordOf<FontRecord>(h, OBJ_FONT); }
BitmapRecord* BitmapOf(HGDIOBJ h) { return RecordOf<BitmapRecord>(h, OBJ_BITMAP); }
RegionRecord* RegionOf(HGDIOBJ h) { return RecordOf<RegionRecord>(h, OBJ_REGION); }

void HoldObject(HGDIOBJ h)
{
    if (h) ++h->qorSelections;
}

void ReleaseObject(HGDIOBJ h)
{
    if (!h) return;
    if (--h->qorSelections <= 0 && h->qorDeleted && !h->qorStock) FreeRecord(h);
}

// ---- Fonts -------------------------------------------------------------------------------

QString MapFontFamily(const QString& faceName)
{
    static const std::map<QString, QString> map = {
        {"arial", "Liberation Sans"},
        {"helvetica", "Liberation Sans"},
        {"microsoft sans serif", "Liberation Sans"},
        {"ms sans serif", "Liberation Sans"},
        {"ms shell dlg", "Liberation Sans"},
        {"ms shell dlg 2", "Liberation Sans"},
        {"tahoma", "Liberation Sans"},
        {"segoe ui", "Liberation Sans"},
        {"verdana", "Liberation Sans"},
        {"system", "Liberation Sans"},
        {"times new roman", "Liberation Serif"},
        {"times", "Liberation Serif"},
        {"courier new", "Liberation Mono"},
        {"courier", "Liberation Mono"},
        {"consolas", "Liberation Mono"},
        {"lucida console", "Liberation Mono"},
    };
    auto it = map.find(faceName.trimmed().toLower());
    if (it != map.end()) return it->second;
    return faceName.isEmpty() ? QStringLiteral("Liberation Sans") : faceName;
}

namespace {
// Ratio of a family's cell height (ascent + descent) to its em size.
double CellRatio(const QFont& base)
{
    static std::map<QString, double> cache;
    QString key = base.family() + (base.bold() ? "/b" : "") + (base.italic() ? "/i" : "");
    auto it = cache.find(key);
    if (it != cache.end()) return it->second;
    QFont f(base);
    f.setPixelSize(1000);
    QFontMetricsF fm(f);
    double r = (fm.ascent() + fm.descent()) / 1000.0;
    if (r <= 0) r = 1.15;
    cache[key] = r;
    return r;
}
} // namespace

QFont QFontFromLogFont(const LOGFONTW& lf, double scaleY)
{
    QFont f(MapFontFamily(ToQString(lf.lfFaceName, static_cast<int>(wcsnlen(lf.lfFaceName, LF_FACESIZE)))));
    int weight = lf.lfWeight <= 0 ? FW_NORMAL : std::clamp(static_cast<int>(lf.lfWeight), 100, 900);
    f.setWeight(static_cast<QFont::Weight>(weight));
    f.setItalic(lf.lfItalic != 0);
    f.setUnderline(lf.lfUnderline != 0);
    f.setStrikeOut(lf.lfStrikeOut != 0);
    if ((lf.lfPitchAndFamily & 0xF0) == FF_MODERN || (lf.lfPitchAndFamily & 0x3) == FIXED_PITCH)
        f.setStyleHint(QFont::TypeWriter);
    if (lf.lfQuality == NONANTIALIASED_QUALITY) f.setStyleStrategy(QFont::NoAntialias);
    scaleY = std::fabs(scaleY);
    double em;
    if (lf.lfHeight < 0)
        em = -lf.lfHeight * scaleY;
    else
    {
        double cell = (lf.lfHeight == 0 ? 16 : lf.lfHeight) * scaleY;
        em = cell / CellRatio(f);
    }
    f.setPixelSize(std::max(1, static_cast<int>(std::lround(em))));
    return f;
}

QFont QFontFromHandle(HFONT hFont)
{
    FontRecord* rec = FontOf(hFont);
    if (!rec) rec = FontOf(GetStockObject(DEFAULT_GUI_FONT));
    return QFontFromLogFont(rec->log);
}

void LogFontFromQFont(const QFont& font, LOGFONTW* lf)
{
    *lf = LOGFONTW{};
    int px = font.pixelSize();
    if (px <= 0) px = static_cast<int>(std::lround(font.pointSizeF() * 96.0 / 72.0));
    lf->lfHeight = -px;
    lf->lfWeight = font.weight();
    lf->lfItalic = font.italic();
    lf->lfUnderline = font.underline();
    lf->lfStrikeOut = font.strikeOut();
    lf->lfCharSet = DEFAULT_CHARSET;
    std::wstring face = ToWide(font.family());
    SetFace(*lf, face.c_str());
}

} // namespace qor::gui

using namespace qor::gui;

int MulDiv(int nNumber, int nNumerator, int nDenominator)
{
    if (nDenominator == 0) return -1;
    long long p = static_cast<long long>(nNumber) * nNumerator;
    long long d = nDenominator;
    if (d < 0)
    {
        p = -p;
        d = -d;
    }
    long long r = p >= 0 ? (p + d / 2) / d : -((-p + d / 2) / d);
    return static_cast<int>(r);
}

// ---- Handle functions ----------------------------------------------------------------------

HGDIOBJ GetStockObject(int nIndex)
{
    static auto* stock = new std::map<int, HGDIOBJ>;
    auto it = stock->find(nIndex);
    if (it != stock->end()) return it->second;
    HGDIOBJ h = MakeStock(nIndex);
    if (h) (*stock)[nIndex] = h;
    return h;
}

BOOL DeleteObject(HGDIOBJ hObject)
{
    if (!IsLiveObject(hObject)) return FALSE;
    if (hObject->qorStock) return TRUE;
    hObject->qorDeleted = true;
    // An object still selected into a DC lives on until the DC lets it go.
    if (hObject->qorSelections <= 0) FreeRecord(hObject);
    return TRUE;
}

int GetObjectType(HGDIOBJ hObject) { return IsLiveObject(hObject) ? hObject->qorType : 0; }

int GetObjectW(HGDIOBJ h, int nCount, LPVOID lpObject)
{
    if (auto* p = PenOf(h))
    {
        if (!lpObject) return sizeof(LOGPEN);
        if (nCount < static_cast<int>(sizeof(LOGPEN))) return 0;
        LOGPEN lp{static_cast<UINT>(p->style | p->flags), POINT{p->width, 0}, p->color};
        std::memcpy(lpObject, &lp, sizeof lp);
        return sizeof lp;
    }
    if (auto* b = BrushOf(h))
    {
        if (!lpObject) return sizeof(LOGBRUSH);
        if (nCount < static_cast<int>(sizeof(LOGBRUSH))) return 0;
        LOGBRUSH lb{b->style, b->color, static_cast<ULONG_PTR>(b->hatch)};
        std::memcpy(lpObject, &lb, sizeof lb);
        return sizeof lb;
    }
    if (auto* f = FontOf(h))
    {
        if (!lpObject) return sizeof(LOGFONTW);
        int n = std::min(nCount, static_cast<int>(sizeof(LOGFONTW)));
        if (n <= 0) return 0;
        std::memcpy(lpObject, &f->log, n);
        return n;
    }
    if (auto* bm = BitmapOf(h))
    {
        if (!lpObject) return sizeof(BITMAP);
        if (nCount < static_cast<int>(sizeof(BITMAP))) return 0;
        const QSize size = LogicalSize(bm->image);
        BITMAP b{0, size.width(), size.height(), size.width() * 4, 1, 32, nullptr};
        if (bm->bitsPixel == 1)
        {
            b.bmBitsPixel = 1;
            b.bmWidthBytes = ((bm->image.width() + 15) / 16) * 2;
        }
        std::memcpy(lpObject, &b, sizeof b);
        return sizeof b;
    }
    return 0;
}

HPEN ExtCreatePen(DWORD dwPenStyle, DWORD dwWidth, const LOGBRUSH* lplb, DWORD dwStyleCount, const DWORD* lpStyle)
{
    auto* p = new PenRecord;
    p->style = static_cast<int>(dwPenStyle & PS_STYLE_MASK);
    p->flags = dwPenStyle & ~static_cast<DWORD>(PS_STYLE_MASK);
    p->width = static_cast<int>(dwWidth);
    p->color = lplb ? (lplb->lbColor & 0x00FFFFFF) : 0;
    if (lplb && lplb->lbStyle == BS_NULL) p->style = PS_NULL;
    if (p->style == PS_USERSTYLE && lpStyle) p->userStyle.assign(lpStyle, lpStyle + dwStyleCount);
    return static_cast<HPEN>(RegisterObject(p, OBJ_PEN));
}

HPEN CreatePen(int nPenStyle, int nWidth, COLORREF crColor)
{
    auto* p = new PenRecord;
    p->style = nPenStyle & PS_STYLE_MASK;
    p->flags = static_cast<DWORD>(nPenStyle & ~PS_STYLE_MASK);
    if (p->style > PS_INSIDEFRAME) p->style = PS_SOLID;
    p->width = std::max(0, nWidth);
    // Styled pens wider than one pixel draw solid, as the platform does for cosmetic styles.
    if (p->width > 1 && p->style >= PS_DASH && p->style <= PS_DASHDOTDOT) p->style = PS_SOLID;
    p->color = crColor & 0x00FFFFFF;
    return static_cast<HPEN>(RegisterObject(p, OBJ_PEN));
}

HPEN CreatePenIndirect(const LOGPEN* lpLogPen)
{
    if (!lpLogPen) return nullptr;
    return CreatePen(static_cast<int>(lpLogPen->lopnStyle), lpLogPen->lopnWidth.x, lpLogPen->lopnColor);
}

HBRUSH CreateSolidBrush(COLORREF crColor)
{
    auto* b = new BrushRecord;
    b->style = BS_SOLID;
    b->color = crColor & 0x00FFFFFF;
    return static_cast<HBRUSH>(RegisterObject(b, OBJ_BRUSH));
}

HBRUSH CreateHatchBrush(int nIndex, COLORREF crColor)
{
    if (nIndex < HS_HORIZONTAL || nIndex > HS_DIAGCROSS) return nullptr;
    auto* b = new BrushRecord;
    b->style = BS_HATCHED;
    b->hatch = nIndex;
    b->color = crColor & 0x00FFFFFF;
    return static_cast<HBRUSH>(RegisterObject(b, OBJ_BRUSH));
}

HBRUSH CreatePatternBrush(HBITMAP hBitmap)
{
    BitmapRecord* bm = BitmapOf(hBitmap);
    if (!bm || bm->image.isNull()) return nullptr;
    auto* b = new BrushRecord;
    b->style = BS_PATTERN;
    b->pattern = bm->image.copy();
    return static_cast<HBRUSH>(RegisterObject(b, OBJ_BRUSH));
}

HBRUSH CreateBrushIndirect(const LOGBRUSH* lplb)
{
    if (!lplb) return nullptr;
    switch (lplb->lbStyle)
    {
    case BS_SOLID: return CreateSolidBrush(lplb->lbColor);
    case BS_NULL: return static_cast<HBRUSH>(GetStockObject(NULL_BRUSH));
    case BS_HATCHED: return CreateHatchBrush(static_cast<int>(lplb->lbHatch), lplb->lbColor);
    case BS_PATTERN: return CreatePatternBrush(reinterpret_cast<HBITMAP>(lplb->lbHatch));
    default: return nullptr;
    }
}

HBRUSH GetSysColorBrush(int nIndex) { return qor::gui::SysColorBrushOf(nIndex, GetSysColor(nIndex)); }

namespace qor::gui {

COLORREF SysColorOn(const DcRecord* dc, int nIndex)
{
    return dc && dc->printing ? GetPaperColor(nIndex) : GetSysColor(nIndex);
}

HBRUSH SysColorBrushOf(int nIndex, COLORREF c)
{
    static auto* brushes = new std::map<std::pair<int, COLORREF>, HBRUSH>;
    auto key = std::make_pair(nIndex, c);
    auto it = brushes->find(key);
    if (it != brushes->end()) return it->second;
    HBRUSH b = CreateSolidBrush(c);
    b->qorStock = true;
    (*brushes)[key] = b;
    return b;
}

} // namespace qor::gui

HFONT CreateFontIndirectW(const LOGFONTW* lplf)
{
    if (!lplf) return nullptr;
    auto* f = new FontRecord;
    f->log = *lplf;
    f->log.lfFaceName[LF_FACESIZE - 1] = 0;
    return static_cast<HFONT>(RegisterObject(f, OBJ_FONT));
}

HBITMAP CreateBitmap(int nWidth, int nHeight, UINT nPlanes, UINT nBitCount, const void* lpBits)
{
    if (nWidth < 0 || nHeight < 0 || nPlanes != 1) return nullptr;
    if (nBitCount != 1 && nBitCount != 24 && nBitCount != 32) return nullptr;
    auto* bm = new BitmapRecord;
    bm->bitsPixel = nBitCount == 1 ? 1 : 32;
    bm->image = QImage(std::max(1, nWidth), std::max(1, nHeight), QImage::Format_RGB32);
    bm->image.setDotsPerMeterX(3780);
    bm->image.setDotsPerMeterY(3780);
    bm->image.fill(nBitCount == 1 ? qRgb(0, 0, 0) : qRgb(0, 0, 0));
    if (lpBits)
    {
        auto* bytes = static_cast<const unsigned char*>(lpBits);
        if (nBitCount == 1)
        {
            int stride = ((nWidth + 15) / 16) * 2;
            for (int y = 0; y < nHeight; ++y)
                for (int x = 0; x < nWidth; ++x)
                {
                    bool on = (bytes[y * stride + x / 8] >> (7 - x % 8)) & 1;
                    bm->image.setPixel(x, y, on ? qRgb(255, 255, 255) : qRgb(0, 0, 0));
                }
        }
        else if (nBitCount == 24)
        {
            int stride = ((nWidth * 3 + 1) / 2) * 2;
            for (int y = 0; y < nHeight; ++y)
                for (int x = 0; x < nWidth; ++x)
                {
                    const unsigned char* p = bytes + y * stride + x * 3;
                    bm->image.setPixel(x, y, qRgb(p[2], p[1], p[0]));
                }
        }
        else
        {
            for (int y = 0; y < nHeight; ++y)
                for (int x = 0; x < nWidth; ++x)
                {
                    DWORD v;
                    std::memcpy(&v, bytes + (static_cast<size_t>(y) * nWidth + x) * 4, 4);
                    bm->image.setPixel(x, y, 0xFF000000u | (v & 0x00FFFFFF));
                }
        }
    }
    return static_cast<HBITMAP>(RegisterObject(bm, OBJ_BITMAP));
}

namespace qor::gui {
QImage MakeImage(int cx, int cy, double ratio)
{
    QImage image(std::max(0, int(std::ceil(cx * ratio))), std::max(0, int(std::ceil(cy * ratio))),
                 QImage::Format_RGB32);
    image.setDevicePixelRatio(ratio);
    return image;
}
} // namespace qor::gui

HBITMAP CreateCompatibleBitmap(HDC hdc, int cx, int cy)
{
    if (cx < 0 || cy < 0) return nullptr;
    HBITMAP h = CreateBitmap(cx, cy, 1, 32, nullptr);
    // Compatible with a window's surface (or a bitmap made so): the same pixel ratio, so that
    // drawing off-screen and copying it in stays as sharp as drawing on the window.
    DcRecord* dc = hdc ? DcOf(hdc) : nullptr;
    const QImage* like = dc && dc->kind != DcKind::Painter ? dc->Image() : nullptr;
    if (BitmapRecord* bm = BitmapOf(h); bm && like && like->devicePixelRatio() != 1.0)
    {
        bm->image = MakeImage(std::max(1, cx), std::max(1, cy), like->devicePixelRatio());
        bm->image.fill(Qt::black);
    }
    return h;
}

HRGN CreateRectRgn(int x1, int y1, int x2, int y2)
{
    auto* r = new RegionRecord;
    RECT rc{std::min(x1, x2), std::min(y1, y2), std::max(x1, x2), std::max(y1, y2)};
    if (rc.right > rc.left && rc.bottom > rc.top) r->region = QRegion(ToQRect(rc));
    return static_cast<HRGN>(RegisterObject(r, OBJ_REGION));
}

HRGN CreateRectRgnIndirect(const RECT* lprect)
{
    if (!lprect) return nullptr;
    return CreateRectRgn(lprect->left, lprect->top, lprect->right, lprect->bottom);
}

namespace {
int RegionType(const QRegion& r)
{
    if (r.isEmpty()) return NULLREGION;
    return r.rectCount() == 1 ? SIMPLEREGION : COMPLEXREGION;
}
} // namespace

int CombineRgn(HRGN hrgnDst, HRGN hrgnSrc1, HRGN hrgnSrc2, int iMode)
{
    RegionRecord* d = RegionOf(hrgnDst);
    RegionRecord* a = RegionOf(hrgnSrc1);
    RegionRecord* b = RegionOf(hrgnSrc2);
    if (!d || !a || (iMode != RGN_COPY && !b)) return ERROR;
    switch (iMode)
    {
    case RGN_AND: d->region = a->region.intersected(b->region); break;
    case RGN_OR: d->region = a->region.united(b->region); break;
    case RGN_XOR: d->region = a->region.xored(b->region); break;
    case RGN_DIFF: d->region = a->region.subtracted(b->region); break;
    case RGN_COPY: d->region = a->region; break;
    default: return ERROR;
    }
    return RegionType(d->region);
}

// ---- CGdiObject ------------------------------------------------------------------------------

CGdiObject::~CGdiObject() { DeleteObject(); }

CGdiObject* CGdiObject::FromHandle(HGDIOBJ hObject)
{
    if (!IsLiveObject(hObject)) return nullptr;
    auto& reg = Registry();
    auto a = reg.attached.find(hObject);
    if (a != reg.attached.end()) return a->second;
    auto t = reg.temporary.find(hObject);
    if (t != reg.temporary.end()) return t->second.get();
    auto w = NewWrapper(hObject->qorType);
    w->m_hObject = hObject;
    CGdiObject* p = w.get();
    reg.temporary.emplace(hObject, std::move(w));
    return p;
}

BOOL CGdiObject::Attach(HGDIOBJ hObject)
{
    if (!hObject) return FALSE;
    m_hObject = hObject;
    Registry().attached[hObject] = this;
    return TRUE;
}

HGDIOBJ CGdiObject::Detach()
{
    HGDIOBJ h = m_hObject;
    if (h)
    {
        auto& reg = Registry();
        auto a = reg.attached.find(h);
        if (a != reg.attached.end() && a->second == this) reg.attached.erase(a);
    }
    m_hObject = nullptr;
    return h;
}

BOOL CGdiObject::DeleteObject()
{
    if (!m_hObject) return FALSE;
    return ::DeleteObject(Detach());
}

int CGdiObject::GetObject(int nCount, LPVOID lpObject) const { return ::GetObjectW(m_hObject, nCount, lpObject); }
UINT CGdiObject::GetObjectType() const { return static_cast<UINT>(::GetObjectType(m_hObject)); }

BOOL CGdiObject::CreateStockObject(int nIndex)
{
    HGDIOBJ h = ::GetStockObject(nIndex);
    return h ? Attach(h) : FALSE;
}

// ---- CPen, CBrush, CFont, CBitmap, CRgn, CPalette ---------------------------------------------

CPen::CPen(int nPenStyle, int nWidth, COLORREF crColor) { CreatePen(nPenStyle, nWidth, crColor); }
CPen::CPen(int nPenStyle, int nWidth, const LOGBRUSH* pLogBrush, int nStyleCount, const DWORD* lpStyle)
{
    CreatePen(nPenStyle, nWidth, pLogBrush, nStyleCount, lpStyle);
}
CPen* CPen::FromHandle(HPEN hPen) { return static_cast<CPen*>(CGdiObject::FromHandle(hPen)); }
BOOL CPen::CreatePen(int nPenStyle, int nWidth, COLORREF crColor)
{
    return Attach(::CreatePen(nPenStyle, nWidth, crColor));
}
BOOL CPen::CreatePen(int nPenStyle, int nWidth, const LOGBRUSH* pLogBrush, int nStyleCount, const DWORD* lpStyle)
{
    return Attach(::ExtCreatePen(static_cast<DWORD>(nPenStyle), static_cast<DWORD>(nWidth), pLogBrush,
                                 static_cast<DWORD>(nStyleCount), lpStyle));
}
BOOL CPen::CreatePenIndirect(const LOGPEN* lpLogPen) { return Attach(::CreatePenIndirect(lpLogPen)); }
int CPen::GetLogPen(LOGPEN* pLogPen) const { return GetObject(sizeof(LOGPEN), pLogPen); }

CBrush::CBrush(COLORREF crColor) { CreateSolidBrush(crColor); }
CBrush::CBrush(int nIndex, COLORREF crColor) { CreateHatchBrush(nIndex, crColor); }
CBrush::CBrush(CBitmap* pBitmap) { CreatePatternBrush(pBitmap); }
CBrush* CBrush::FromHandle(HBRUSH hBrush) { return static_cast<CBrush*>(CGdiObject::FromHandle(hBrush)); }
BOOL CBrush::CreateSolidBrush(COLORREF crColor) { return Attach(::CreateSolidBrush(crColor)); }
BOOL CBrush::CreateHatchBrush(int nIndex, COLORREF crColor) { return Attach(::CreateHatchBrush(nIndex, crColor)); }
BOOL CBrush::CreateBrushIndirect(const LOGBRUSH* lpLogBrush) { return Attach(::CreateBrushIndirect(lpLogBrush)); }
BOOL CBrush::CreatePatternBrush(CBitmap* pBitmap)
{
    return pBitmap ? Attach(::CreatePatternBrush(static_cast<HBITMAP>(pBitmap->m_hObject))) : FALSE;
}
BOOL CBrush::CreateSysColorBrush(int nIndex) { return Attach(::CreateSolidBrush(GetSysColor(nIndex))); }
int CBrush::GetLogBrush(LOGBRUSH* pLogBrush) const { return GetObject(sizeof(LOGBRUSH), pLogBrush); }

CFont* CFont::FromHandle(HFONT hFont) { return static_cast<CFont*>(CGdiObject::FromHandle(hFont)); }
BOOL CFont::CreateFontIndirect(const LOGFONT* lpLogFont) { return Attach(::CreateFontIndirectW(lpLogFont)); }
BOOL CFont::CreateFont(int nHeight, int nWidth, int nEscapement, int nOrientation, int nWeight, BYTE bItalic,
                       BYTE bUnderline, BYTE cStrikeOut, BYTE nCharSet, BYTE nOutPrecision, BYTE nClipPrecision,
                       BYTE nQuality, BYTE nPitchAndFamily, LPCTSTR lpszFacename)
{
    LOGFONTW lf{};
    lf.lfHeight = nHeight;
    lf.lfWidth = nWidth;
    lf.lfEscapement = nEscapement;
    lf.lfOrientation = nOrientation;
    lf.lfWeight = nWeight;
    lf.lfItalic = bItalic;
    lf.lfUnderline = bUnderline;
    lf.lfStrikeOut = cStrikeOut;
    lf.lfCharSet = nCharSet;
    lf.lfOutPrecision = nOutPrecision;
    lf.lfClipPrecision = nClipPrecision;
    lf.lfQuality = nQuality;
    lf.lfPitchAndFamily = nPitchAndFamily;
    SetFace(lf, lpszFacename);
    return CreateFontIndirect(&lf);
}

BOOL CFont::CreatePointFont(int nPointSize, LPCTSTR lpszFaceName, CDC* pDC)
{
    LOGFONTW lf{};
    lf.lfHeight = nPointSize;
    lf.lfCharSet = DEFAULT_CHARSET;
    SetFace(lf, lpszFaceName);
    return CreatePointFontIndirect(&lf, pDC);
}

BOOL CFont::CreatePointFontIndirect(const LOGFONT* lpLogFont, CDC* pDC)
{
    if (!lpLogFont) return FALSE;
    LOGFONTW lf = *lpLogFont;
    // Tenths of a point to device pixels, then to the DC's logical units.
    CDC screen;
    screen.Attach(CreateWindowSurfaceDC(nullptr, nullptr));
    CDC* dc = pDC && pDC->m_hDC ? pDC : &screen;
    POINT pt{0, MulDiv(dc->GetDeviceCaps(LOGPIXELSY), lf.lfHeight, 720)};
    POINT org{0, 0};
    dc->DPtoLP(&pt);
    dc->DPtoLP(&org);
    lf.lfHeight = -std::abs(pt.y - org.y);
    return CreateFontIndirect(&lf);
}

int CFont::GetLogFont(LOGFONT* pLogFont) const { return GetObject(sizeof(LOGFONT), pLogFont); }

CBitmap* CBitmap::FromHandle(HBITMAP hBitmap) { return static_cast<CBitmap*>(CGdiObject::FromHandle(hBitmap)); }
BOOL CBitmap::CreateBitmap(int nWidth, int nHeight, UINT nPlanes, UINT nBitcount, const void* lpBits)
{
    return Attach(::CreateBitmap(nWidth, nHeight, nPlanes, nBitcount, lpBits));
}
BOOL CBitmap::CreateBitmapIndirect(LPBITMAP lpBitmap)
{
    if (!lpBitmap) return FALSE;
    return CreateBitmap(lpBitmap->bmWidth, lpBitmap->bmHeight, lpBitmap->bmPlanes, lpBitmap->bmBitsPixel,
                        lpBitmap->bmBits);
}
BOOL CBitmap::CreateCompatibleBitmap(CDC* pDC, int nWidth, int nHeight)
{
    return Attach(::CreateCompatibleBitmap(pDC ? pDC->m_hDC : nullptr, nWidth, nHeight));
}
int CBitmap::GetBitmap(BITMAP* pBitMap) const { return GetObject(sizeof(BITMAP), pBitMap); }
CSize CBitmap::GetBitmapDimension() const
{
    BitmapRecord* bm = BitmapOf(m_hObject);
    return bm ? CSize(LogicalSize(bm->image).width(), LogicalSize(bm->image).height()) : CSize();
}

DWORD CBitmap::SetBitmapBits(DWORD dwCount, const void* lpBits)
{
    BitmapRecord* bm = BitmapOf(m_hObject);
    if (!bm || !lpBits) return 0;
    ReleasePaintersOn(&bm->image);
    DWORD n = std::min<DWORD>(dwCount / 4, static_cast<DWORD>(bm->image.width() * bm->image.height()));
    auto* src = static_cast<const DWORD*>(lpBits);
    int w = bm->image.width();
    for (DWORD i = 0; i < n; ++i)
        bm->image.setPixel(static_cast<int>(i % w), static_cast<int>(i / w), 0xFF000000u | (src[i] & 0xFFFFFF));
    return n * 4;
}

DWORD CBitmap::GetBitmapBits(DWORD dwCount, LPVOID lpBits) const
{
    BitmapRecord* bm = BitmapOf(m_hObject);
    if (!bm || !lpBits) return 0;
    DWORD n = std::min<DWORD>(dwCount / 4, static_cast<DWORD>(bm->image.width() * bm->image.height()));
    auto* dst = static_cast<DWORD*>(lpBits);
    int w = bm->image.width();
    for (DWORD i = 0; i < n; ++i) dst[i] = bm->image.pixel(static_cast<int>(i % w), static_cast<int>(i / w)) & 0xFFFFFF;
    return n * 4;
}

CRgn* CRgn::FromHandle(HRGN hRgn) { return static_cast<CRgn*>(CGdiObject::FromHandle(hRgn)); }
BOOL CRgn::CreateRectRgn(int x1, int y1, int x2, int y2) { return Attach(::CreateRectRgn(x1, y1, x2, y2)); }
BOOL CRgn::CreateRectRgnIndirect(LPCRECT lpRect) { return Attach(::CreateRectRgnIndirect(lpRect)); }
BOOL CRgn::CreateEllipticRgn(int x1, int y1, int x2, int y2)
{
    auto* r = new RegionRecord;
    QRect rc(QPoint(std::min(x1, x2), std::min(y1, y2)), QPoint(std::max(x1, x2) - 1, std::max(y1, y2) - 1));
    if (rc.isValid()) r->region = QRegion(rc, QRegion::Ellipse);
    return Attach(RegisterObject(r, OBJ_REGION));
}
BOOL CRgn::CreateEllipticRgnIndirect(LPCRECT lpRect)
{
    return lpRect ? CreateEllipticRgn(lpRect->left, lpRect->top, lpRect->right, lpRect->bottom) : FALSE;
}
BOOL CRgn::CreatePolygonRgn(const POINT* lpPoints, int nCount, int nMode)
{
    if (!lpPoints || nCount < 2) return FALSE;
    QPolygon poly;
    for (int i = 0; i < nCount; ++i) poly << QPoint(lpPoints[i].x, lpPoints[i].y);
    auto* r = new RegionRecord;
    r->region = QRegion(poly, nMode == WINDING ? Qt::WindingFill : Qt::OddEvenFill);
    return Attach(RegisterObject(r, OBJ_REGION));
}
void CRgn::SetRectRgn(int x1, int y1, int x2, int y2)
{
    if (RegionRecord* r = RegionOf(m_hObject))
    {
        RECT rc{std::min(x1, x2), std::min(y1, y2), std::max(x1, x2), std::max(y1, y2)};
        r->region = (rc.right > rc.left && rc.bottom > rc.top) ? QRegion(ToQRect(rc)) : QRegion();
    }
}
void CRgn::SetRectRgn(LPCRECT lpRect)
{
    if (lpRect) SetRectRgn(lpRect->left, lpRect->top, lpRect->right, lpRect->bottom);
}
int CRgn::CombineRgn(const CRgn* pRgn1, const CRgn* pRgn2, int nCombineMode)
{
    return ::CombineRgn(static_cast<HRGN>(m_hObject), pRgn1 ? static_cast<HRGN>(pRgn1->m_hObject) : nullptr,
                        pRgn2 ? static_cast<HRGN>(pRgn2->m_hObject) : nullptr, nCombineMode);
}
int CRgn::CopyRgn(const CRgn* pRgnSrc) { return CombineRgn(pRgnSrc, nullptr, RGN_COPY); }
BOOL CRgn::EqualRgn(const CRgn* pRgn) const
{
    RegionRecord* a = RegionOf(m_hObject);
    RegionRecord* b = pRgn ? RegionOf(pRgn->m_hObject) : nullptr;
    return a && b && a->region == b->region;
}
int CRgn::OffsetRgn(int x, int y)
{
    RegionRecord* r = RegionOf(m_hObject);
    if (!r) return ERROR;
    r->region.translate(x, y);
    return RegionType(r->region);
}
int CRgn::GetRgnBox(LPRECT lpRect) const
{
    RegionRecord* r = RegionOf(m_hObject);
    if (!r || !lpRect) return ERROR;
    *lpRect = r->region.isEmpty() ? RECT{0, 0, 0, 0} : FromQRect(r->region.boundingRect());
    return RegionType(r->region);
}
BOOL CRgn::PtInRegion(int x, int y) const
{
    RegionRecord* r = RegionOf(m_hObject);
    return r && r->region.contains(QPoint(x, y));
}
BOOL CRgn::RectInRegion(LPCRECT lpRect) const
{
    RegionRecord* r = RegionOf(m_hObject);
    if (!r || !lpRect || lpRect->right <= lpRect->left || lpRect->bottom <= lpRect->top) return FALSE;
    return r->region.intersects(ToQRect(*lpRect));
}

CPalette* CPalette::FromHandle(HPALETTE hPalette) { return static_cast<CPalette*>(CGdiObject::FromHandle(hPalette)); }
