// System colours, metrics and settings, the screen, the keyboard and mouse state, beeps.
#include "platform/gui/draw/SysValues.h"

#include "platform/core/Time.h"
#include "platform/gui/draw/Gdi.h"
#include "platform/gui/draw/GdiInternal.h"

#include <QtGui/QCursor>
#include <QtGui/QScreen>
#include <QtWidgets/QApplication>
#include <QtWidgets/QWidget>

#include <array>
#include <atomic>
#include <mutex>
#include <optional>

namespace {

// Windows 10 defaults.
constexpr std::array<COLORREF, 31> kDefaultColors = {
    RGB(200, 200, 200), RGB(0, 0, 0),       RGB(153, 180, 209), RGB(191, 205, 219), RGB(240, 240, 240),
    RGB(255, 255, 255), RGB(100, 100, 100), RGB(0, 0, 0),       RGB(0, 0, 0),       RGB(0, 0, 0),
    RGB(180, 180, 180), RGB(244, 247, 252), RGB(171, 171, 171), RGB(0, 120, 215),   RGB(255, 255, 255),
    RGB(240, 240, 240), RGB(160, 160, 160), RGB(109, 109, 109), RGB(0, 0, 0),       RGB(0, 0, 0),
    RGB(255, 255, 255), RGB(105, 105, 105), RGB(227, 227, 227), RGB(0, 0, 0),       RGB(255, 255, 225),
    RGB(0, 0, 0),       RGB(0, 102, 204),   RGB(185, 209, 234), RGB(215, 228, 242), RGB(0, 120, 215),
    RGB(240, 240, 240)};

std::array<COLORREF, 31>& Colors()
{
    static std::array<COLORREF, 31> c = kDefaultColors;
    return c;
}

std::array<COLORREF, 31>& PaperColors()
{
    static std::array<COLORREF, 31> c = kDefaultColors;
    return c;
}

void Override(std::array<COLORREF, 31>& colors, int nIndex, COLORREF color)
{
    if (nIndex < 0)
        colors = kDefaultColors;
    else if (nIndex < static_cast<int>(colors.size()))
        colors[static_cast<std::size_t>(nIndex)] = color;
}

SHORT g_keys[256] = {};
POINT g_mouse{0, 0};
std::atomic<int> g_beeps{0};

qor::gui::BeepHook& Hook()
{
    static qor::gui::BeepHook hook = [](UINT) {
        if (qApp && QGuiApplication::platformName() != QLatin1String("offscreen")) QApplication::beep();
    };
    return hook;
}

struct FixedScreen
{
    CRect screen;
    CRect work;
};
std::optional<FixedScreen> g_fixedScreen;

} // namespace

namespace qor::gui {

CRect ScreenArea(const QWidget* near, bool workArea)
{
    if (g_fixedScreen) return workArea ? g_fixedScreen->work : g_fixedScreen->screen;
    QScreen* screen = near ? near->window()->screen() : nullptr;
    if (!screen) screen = qApp ? QGuiApplication::primaryScreen() : nullptr;
    if (!screen) return workArea ? CRect(0, 0, 1920, 1040) : CRect(0, 0, 1920, 1080);
    return FromQRect(workArea ? screen->availableGeometry() : screen->geometry());
}

void SetFixedScreen(const RECT* screen, const RECT* workArea)
{
    if (!screen)
    {
        g_fixedScreen.reset();
        return;
    }
    g_fixedScreen = FixedScreen{CRect(*screen), CRect(workArea ? *workArea : *screen)};
}

} // namespace qor::gui

COLORREF GetSysColor(int nIndex)
{
    if (nIndex < 0 || nIndex >= static_cast<int>(Colors().size())) return 0;
    return Colors()[static_cast<std::size_t>(nIndex)];
}

int GetSystemMetrics(int nIndex)
{
    switch (nIndex)
    {
    case SM_CXSCREEN:
    case SM_CXVIRTUALSCREEN: return qor::gui::ScreenArea(nullptr, false).Width();
    case SM_CYSCREEN:
    case SM_CYVIRTUALSCREEN: return qor::gui::ScreenArea(nullptr, false).Height();
    case SM_CXFULLSCREEN: return qor::gui::ScreenArea(nullptr, true).Width();
    case SM_CYFULLSCREEN: return qor::gui::ScreenArea(nullptr, true).Height() - GetSystemMetrics(SM_CYCAPTION);
    case SM_CXVSCROLL:
    case SM_CYHSCROLL:
    case SM_CYVSCROLL:
    case SM_CXHSCROLL:
    case SM_CYVTHUMB:
    case SM_CXHTHUMB: return 17;
    case SM_CYCAPTION: return 23;
    case SM_CXBORDER:
    case SM_CYBORDER: return 1;
    case SM_CXDLGFRAME:
    case SM_CYDLGFRAME: return 3;
    case SM_CXICON:
    case SM_CYICON:
    case SM_CXCURSOR:
    case SM_CYCURSOR: return 32;
    case SM_CYMENU: return 20;
    case SM_MOUSEPRESENT:
    case SM_MOUSEWHEELPRESENT:
    case SM_CMONITORS: return 1;
    case SM_SWAPBUTTON: return 0;
    case SM_CXMIN: return 136;
    case SM_CYMIN: return 39;
    case SM_CXSIZE:
    case SM_CYSIZE: return 36;
    case SM_CXFRAME:
    case SM_CYFRAME: return 4;
    case SM_CXMINTRACK: return 136;
    case SM_CYMINTRACK: return 39;
    case SM_CXDOUBLECLK:
    case SM_CYDOUBLECLK:
    case SM_CXDRAG:
    case SM_CYDRAG: return 4;
    case SM_CMOUSEBUTTONS: return 3;
    case SM_CXEDGE:
    case SM_CYEDGE: return 2;
    case SM_CXSMICON:
    case SM_CYSMICON: return 16;
    case SM_CYSMCAPTION: return 22;
    case SM_CXMENUCHECK:
    case SM_CYMENUCHECK: return 13;
    default: return 0;
    }
}

BOOL SystemParametersInfo(UINT uiAction, UINT, void* pv, UINT)
{
    switch (uiAction)
    {
    case SPI_GETWHEELSCROLLLINES:
    case SPI_GETWHEELSCROLLCHARS:
        if (!pv) return FALSE;
        *static_cast<UINT*>(pv) = 3;
        return TRUE;
    case SPI_GETWORKAREA:
        if (!pv) return FALSE;
        *static_cast<RECT*>(pv) = qor::gui::ScreenArea(nullptr, true);
        return TRUE;
    case SPI_GETKEYBOARDDELAY:
        if (!pv) return FALSE;
        *static_cast<int*>(pv) = 1;
        return TRUE;
    case SPI_GETKEYBOARDSPEED:
        if (!pv) return FALSE;
        *static_cast<DWORD*>(pv) = 31;
        return TRUE;
    case SPI_GETNONCLIENTMETRICS: {
        if (!pv) return FALSE;
        auto* m = static_cast<NONCLIENTMETRICS*>(pv);
        UINT cb = m->cbSize;
        *m = NONCLIENTMETRICS{};
        m->cbSize = cb;
        m->iBorderWidth = 1;
        m->iScrollWidth = m->iScrollHeight = 17;
        m->iCaptionWidth = m->iCaptionHeight = 22;
        m->iSmCaptionWidth = m->iSmCaptionHeight = 22;
        m->iMenuWidth = m->iMenuHeight = 19;
        // Windows' default: "Segoe UI" 9 points (12 pixels at 96 dpi) for every role.
        LOGFONT lf{};
        lf.lfHeight = -12;
        lf.lfWeight = 400;
        lf.lfCharSet = 1;
        const wchar_t face[] = L"Segoe UI";
        for (std::size_t i = 0; i < sizeof(face) / sizeof(face[0]); ++i) lf.lfFaceName[i] = face[i];
        m->lfCaptionFont = m->lfSmCaptionFont = m->lfMenuFont = m->lfStatusFont = m->lfMessageFont = lf;
        return TRUE;
    }
    case SPI_GETFONTSMOOTHING:
        if (!pv) return FALSE;
        *static_cast<BOOL*>(pv) = TRUE;
        return TRUE;
    default: return FALSE;
    }
}
BOOL SystemParametersInfoW(UINT a, UINT b, void* c, UINT d) { return SystemParametersInfo(a, b, c, d); }

SHORT GetKeyState(int nVirtKey)
{
    if (nVirtKey < 0 || nVirtKey > 255) return 0;
    int k = nVirtKey;
    if (k == VK_LSHIFT || k == VK_RSHIFT) k = VK_SHIFT;
    if (k == VK_LCONTROL || k == VK_RCONTROL) k = VK_CONTROL;
    if (k == VK_LMENU || k == VK_RMENU) k = VK_MENU;
    return g_keys[k];
}
SHORT GetAsyncKeyState(int vKey) { return GetKeyState(vKey); }

BOOL MessageBeep(UINT uType)
{
    ++g_beeps;
    qor::gui::BeepHook hook = Hook();
    if (hook) hook(uType);
    return TRUE;
}

UINT GetDoubleClickTime() { return 500; }

BOOL GetCursorPos(LPPOINT p)
{
    if (!p) return FALSE;
    *p = g_mouse;
    return TRUE;
}
BOOL SetCursorPos(int x, int y)
{
    g_mouse = POINT{x, y};
    if (qApp && QGuiApplication::platformName() != QLatin1String("offscreen")) QCursor::setPos(x, y);
    return TRUE;
}
DWORD GetMessagePos()
{
    return MAKELONG(static_cast<WORD>(static_cast<short>(g_mouse.x)), static_cast<WORD>(static_cast<short>(g_mouse.y)));
}
LONG GetMessageTime() { return static_cast<LONG>(GetTickCount()); }

namespace qor::gui {

BeepHook SetBeepHook(BeepHook hook)
{
    BeepHook old = std::move(Hook());
    Hook() = std::move(hook);
    return old;
}
int BeepCount() { return g_beeps.load(); }
void ResetBeepCount() { g_beeps = 0; }

void SetSysColorOverride(int nIndex, COLORREF color) { Override(Colors(), nIndex, color); }

COLORREF GetPaperColor(int nIndex)
{
    if (nIndex < 0 || nIndex >= static_cast<int>(PaperColors().size())) return 0;
    return PaperColors()[static_cast<std::size_t>(nIndex)];
}

void SetPaperColorOverride(int nIndex, COLORREF color) { Override(PaperColors(), nIndex, color); }

void SetKeyDown(int nVirtKey, bool down)
{
    if (nVirtKey < 0 || nVirtKey > 255) return;
    SHORT toggle = g_keys[nVirtKey] & 1;
    if (down && g_keys[nVirtKey] >= 0) toggle ^= 1; // a press flips the toggle bit
    g_keys[nVirtKey] = static_cast<SHORT>((down ? 0x8000 : 0) | toggle);
}
void SetKeyToggled(int nVirtKey, bool on)
{
    if (nVirtKey < 0 || nVirtKey > 255) return;
    g_keys[nVirtKey] = static_cast<SHORT>((g_keys[nVirtKey] & ~1) | (on ? 1 : 0));
}
void ClearKeyState()
{
    for (SHORT& k : g_keys) k = 0;
}
void SetLastMousePos(POINT p) { g_mouse = p; }

} // namespace qor::gui
