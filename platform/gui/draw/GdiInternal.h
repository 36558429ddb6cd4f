// Internal to platform/gui: the records behind GDI handles and device contexts, and the fonts
// behind them (conversions are in Convert.h). Code outside platform/ never includes this.
#pragma once

#include "platform/gui/draw/Convert.h"
#include "platform/gui/draw/Gdi.h"

#include <QColor>
#include <QFont>
#include <QImage>
#include <QPainter>
#include <QRect>
#include <QRegion>
#include <QString>

#include <functional>
#include <optional>
#include <vector>

class QWidget;

namespace qor::gui {

// The installed family that stands for a Windows face name ("Arial" -> "Liberation Sans" ...).
QString MapFontFamily(const QString& faceName);
// A Qt font for a logical font record at the given scale from logical units to device pixels.
QFont QFontFromLogFont(const LOGFONTW& lf, double scaleY = 1.0);
// The Qt font of a font handle (unscaled); the default GUI font for null.
QFont QFontFromHandle(HFONT hFont);
// Fills a LOGFONT that describes a Qt font (pixel height as a negative lfHeight).
void LogFontFromQFont(const QFont& font, LOGFONTW* lf);

// The screen holding a widget's window (the primary screen for null), or its work area (the
// screen less the task bars), in the layer's coordinates; the fixed screen when a test set one.
CRect ScreenArea(const QWidget* near, bool workArea);

// ---- Images at a device pixel ratio --------------------------------------------------------

// Window surfaces and the bitmaps made compatible with them have the device pixel ratio of
// the window's screen: drawing is in logical pixels (the layer's coordinates), the image holds
// ratio x as many pixels, so text and lines are as sharp as the screen can show them.
// An image of cx x cy logical pixels at a ratio.
QImage MakeImage(int cx, int cy, double ratio);
// The logical size of an image.
inline QSize LogicalSize(const QImage& image)
{
    const double r = image.devicePixelRatio();
    return r == 1.0 ? image.size() : QSize(int(image.width() / r + 0.5), int(image.height() / r + 0.5));
}
// The image pixel at the top-left of a logical pixel.
inline QPoint DevicePixel(const QImage& image, QPoint logical)
{
    const double r = image.devicePixelRatio();
    return r == 1.0 ? logical : QPoint(int(logical.x() * r), int(logical.y() * r));
}

// ---- GDI object records -----------------------------------------------------------------

struct PenRecord : HPEN__
{
    int style = PS_SOLID; // PS_SOLID ... (the style part)
    DWORD flags = 0;      // end cap, join, type
    int width = 0;        // logical units; 0 or 1 cosmetic: one device pixel
    COLORREF color = 0;
    std::vector<DWORD> userStyle;
    bool dcPen = false; // the DC_PEN stock pen (colour from the DC)
};

struct BrushRecord : HBRUSH__
{
    UINT style = BS_SOLID;
    COLORREF color = 0;
    int hatch = 0;
    QImage pattern; // BS_PATTERN
    bool dcBrush = false;
};

struct FontRecord : HFONT__
{
    LOGFONTW log{};
    // Cached Qt font for the last scale asked for.
    double cachedScale = -1;
    QFont cached;
};

struct BitmapRecord : HBITMAP__
{
    QImage image; // Format_RGB32
    int bitsPixel = 32;
};

struct RegionRecord : HRGN__
{
    QRegion region;
};

struct PaletteRecord : HPALETTE__
{};

// Checked access to a record: nullptr when the handle is not a live object of that type.
PenRecord* PenOf(HGDIOBJ h);
BrushRecord* BrushOf(HGDIOBJ h);
FontRecord* FontOf(HGDIOBJ h);
BitmapRecord* BitmapOf(HGDIOBJ h);
RegionRecord* RegionOf(HGDIOBJ h);
bool IsLiveObject(HGDIOBJ h);
// A new handle for the record (registered as live).
HGDIOBJ RegisterObject(HGDIOBJ__* record, int type);
// A DC holds the object (while selected or saved); Release may free a deleted object.
void HoldObject(HGDIOBJ h);
void ReleaseObject(HGDIOBJ h);

// ---- Printing -----------------------------------------------------------------------------

// The print job behind a printer DC (StartDoc/StartPage/EndPage/EndDoc/AbortDoc); the
// printing code implements it over a Qt printer. Results as the system functions give them
// (> 0 success, <= 0 failure).
class PrintTarget
{
public:
    virtual ~PrintTarget() = default;
    virtual int StartDoc(const CString& docName) = 0;
    virtual int StartPage() = 0;
    virtual int EndPage() = 0;
    virtual int EndDoc() = 0;
    virtual int AbortDoc() = 0;
};

// Device facts reported by GetDeviceCaps for a DC on an outside paint device.
struct DeviceInfo
{
    int dpiX = 96, dpiY = 96;
    int width = 0, height = 0;                 // printable area in device pixels (HORZRES/VERTRES)
    int physicalWidth = 0, physicalHeight = 0; // whole page; 0: the printable area
    int physicalOffsetX = 0, physicalOffsetY = 0;
    int numColors = -1; // 2 for a monochrome printer
};

// ---- Device contexts ----------------------------------------------------------------------

struct DcState
{
    HPEN pen = nullptr;
    HBRUSH brush = nullptr;
    HFONT font = nullptr;
    HBITMAP bitmap = nullptr;
    COLORREF textColor = 0;
    COLORREF bkColor = 0xFFFFFF;
    int bkMode = OPAQUE;
    int rop2 = R2_COPYPEN;
    UINT textAlign = 0;
    int polyFillMode = ALTERNATE;
    int stretchMode = BLACKONWHITE;
    COLORREF dcBrushColor = 0xFFFFFF;
    COLORREF dcPenColor = 0;
    int mapMode = MM_TEXT;
    POINT windowOrg{0, 0};
    POINT viewportOrg{0, 0};
    SIZE windowExt{1, 1};
    SIZE viewportExt{1, 1};
    std::optional<QRegion> clip; // device units
    POINT position{0, 0};        // current position (logical)
};

enum class DcKind
{
    Memory,  // draws into the selected bitmap
    Window,  // draws into a window's retained surface
    Screen,  // no surface: measures, draws nothing
    Painter, // draws with an outside painter (printing, print preview, PDF)
};

struct DcRecord : HDC__
{
    DcKind kind = DcKind::Memory;
    CWnd* wnd = nullptr;
    bool printing = false;
    DcState state;
    std::vector<DcState> saved;
    std::optional<QRegion> systemClip; // the paint update region (device units)

    // Outside painter (kind Painter) and its device facts.
    QPainter* outsidePainter = nullptr;
    QPaintDevice* outsideDevice = nullptr;
    DeviceInfo info;
    PrintTarget* printTarget = nullptr;

    // Own painter on the current image, begun on demand.
    QPainter ownPainter;
    QImage* boundImage = nullptr;
    bool clipDirty = true;
    bool drawn = false; // something was drawn on a window surface since the last report

    ~DcRecord() override;

    // The image drawn on (memory: the selected bitmap's; window: the surface), or nullptr.
    QImage* Image() const;
    // A painter ready to draw in device coordinates with the DC's clip, or nullptr when the
    // DC has nowhere to draw. Composition mode is reset to SourceOver.
    QPainter* Begin();
    // Ends the own painter (the image may then be resized or read by others).
    void EndOwnPainter();
    // The device whose resolution text is measured on.
    QPaintDevice* MetricsDevice() const;
    // The effective clip (clip region and update region) in device units, or nullopt.
    std::optional<QRegion> EffectiveClip() const;
    // The device bounds (image rectangle; printable area for outside devices).
    QRect DeviceBounds() const;

    // Mapping
    bool IsIdentity() const
    {
        return state.mapMode == MM_TEXT && state.windowOrg.x == 0 && state.windowOrg.y == 0 &&
               state.viewportOrg.x == 0 && state.viewportOrg.y == 0;
    }
    QPoint ToDevice(int x, int y) const;
    QPoint ToLogical(int x, int y) const;
    // A logical rectangle to a normalised device rectangle (right and bottom excluded).
    QRect ToDeviceRect(const RECT& r) const;
    double ScaleX() const { return state.mapMode == MM_TEXT ? 1.0 : double(state.viewportExt.cx) / state.windowExt.cx; }
    double ScaleY() const { return state.mapMode == MM_TEXT ? 1.0 : double(state.viewportExt.cy) / state.windowExt.cy; }
    int LogicalToDeviceWidth(int w) const;
    int DeviceToLogicalWidth(int w) const;
    int DeviceToLogicalHeight(int h) const;

    // The Qt font selected, scaled to device pixels.
    const QFont& DeviceFont();
};

DcRecord* DcOf(HDC h);
// Keeps the isotropic mode's equal scales: shrinks the viewport extent that scales more.
void FixIsotropic(DcState& s);
// Drops the CDC wrappers (attached or temporary) of a DC that is being deleted.
void ForgetDcWrappers(HDC h);
// The brush's colour (a pattern's first pixel); false for a null, hollow or unknown brush.
// (HBRUSH)(COLOR_x + 1) stands for the system colour brush.
bool GetBrushColor(HBRUSH h, COLORREF* c);
// A system colour as drawn on the DC: paper's (GetPaperColor) on a printer DC, else the screen's.
COLORREF SysColorOn(const DcRecord* dc, int nIndex);
// The brush of a system colour (kept for the program's life, as GetSysColorBrush's are).
HBRUSH SysColorBrushOf(int nIndex, COLORREF c);

// A DC drawing with an outside painter on an outside device (printer, PDF writer, preview).
// The painter stays owned by the caller and may be replaced (SetDcPainter) between pages.
HDC CreatePainterDC(QPaintDevice* device, QPainter* painter, bool printing, const DeviceInfo& info,
                    PrintTarget* target = nullptr);
void SetDcPainter(HDC hdc, QPainter* painter);
// A DC on a window's retained surface with the given update clip (client coordinates), or
// none (nullptr). Used by CPaintDC, CClientDC, CWindowDC and ::GetDC.
HDC CreateWindowSurfaceDC(CWnd* wnd, const RECT* updateClip);
// Ends every painter that DCs hold on this image; call before the image is resized,
// replaced or destroyed. Such DCs begin again on the image they find next time they draw.
void ReleasePaintersOn(const QImage* image);
// Tells the window which DCs drew since the last call (used when DCs are released).
void ReportSurfaceDrawn(DcRecord* dc);

// Fills (with the brush) and outlines (with the pen) a shape drawn by draw() in device space,
// with the DC's raster operation and its pen's width and style; either part may be left out.
bool FillAndStroke(DcRecord* dc, const std::function<void(QPainter*)>& draw, bool fill = true, bool stroke = true);

} // namespace qor::gui
