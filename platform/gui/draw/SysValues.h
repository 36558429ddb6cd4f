// System values from fixed tables of the Windows defaults, so that drawings and tests do
// not depend on the desktop: colours, metrics, settings, keyboard state, beeps. The screen's
// size and work area are the real screen's (a test may fix them).
#pragma once

#include "platform/core/Geometry.h"
#include "platform/gui/draw/WinDefs.h"

#include <functional>

COLORREF GetSysColor(int nIndex);
int GetSystemMetrics(int nIndex);
// SPI_GETWHEELSCROLLLINES (3), SPI_GETWHEELSCROLLCHARS (3), SPI_GETWORKAREA (RECT*),
// SPI_GETNONCLIENTMETRICS (NONCLIENTMETRICS*, see Gdi.h for the fonts). FALSE for others.
BOOL SystemParametersInfo(UINT uiAction, UINT uiParam, void* pvParam, UINT fWinIni);
BOOL SystemParametersInfoW(UINT uiAction, UINT uiParam, void* pvParam, UINT fWinIni);

// Key state as of the message being handled: the high bit (negative result) is set when
// the key is down, the low bit when a toggle key is on.
SHORT GetKeyState(int nVirtKey);
SHORT GetAsyncKeyState(int vKey);

BOOL MessageBeep(UINT uType);
UINT GetDoubleClickTime();
// Mouse position (screen coordinates) now, and at the message being handled.
BOOL GetCursorPos(LPPOINT lpPoint);
BOOL SetCursorPos(int x, int y);
DWORD GetMessagePos();
LONG GetMessageTime();

namespace qor::gui {

// Beeps go through a hook (tests count them); the default hook rings the toolkit's bell
// when a display is present. Returns the previous hook.
using BeepHook = std::function<void(UINT)>;
BeepHook SetBeepHook(BeepHook hook);
// Number of MessageBeep calls since start (or the last reset).
int BeepCount();
void ResetBeepCount();

// Overrides one system colour (as after a WM_SYSCOLORCHANGE); -1 restores the defaults.
void SetSysColorOverride(int nIndex, COLORREF color);

// The system colours of paper: those the program's default look gives, whatever look the screen is in, so
// that a page prints (and previews) the same in every look. The looks put them in force along with the
// screen's (SetPaperColorOverride, -1 restores the defaults); until then they are the defaults, as the
// screen's are. The layer's own drawing on a printer DC (edges, frame controls, system colour brushes)
// takes them; the program takes them for what it prints in system colours.
COLORREF GetPaperColor(int nIndex);
void SetPaperColorOverride(int nIndex, COLORREF color);

// The keyboard and mouse-button state seen by GetKeyState. The layer sets it from each
// input event and from the MK_ flags of mouse messages; tests may set keys directly.
void SetKeyDown(int nVirtKey, bool down);
void ClearKeyState();
// The toggle of a lock key (VK_CAPITAL, VK_NUMLOCK, VK_SCROLL): GetKeyState's low bit.
void SetKeyToggled(int nVirtKey, bool on);
// Takes the lock keys' toggles from the keyboard's own lights where the display tells them
// (under X); elsewhere the toggles follow the presses the program saw.
void SyncLockKeys();
// The last mouse position in screen coordinates (GetCursorPos / GetMessagePos).
void SetLastMousePos(POINT screenPt);

// Fixes the screen (SM_CXSCREEN, SM_CYSCREEN, the work area, where windows are centred) to
// these rectangles instead of the real screen's; null restores the real screen.
void SetFixedScreen(const RECT* screen, const RECT* workArea);

} // namespace qor::gui
