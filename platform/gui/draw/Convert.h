// Internal to platform/gui: every conversion between the framework's values and Qt's (colours,
// rectangles, points, text, keys, mouse flags), and the key message made from a key event.
#pragma once

#include "platform/core/CString.h"
#include "platform/core/Geometry.h"
#include "platform/gui/draw/WinDefs.h"

#include <QtCore/QPoint>
#include <QtCore/QRect>
#include <QtCore/QString>
#include <QtGui/QColor>

#include <string>

class QKeyEvent;

namespace qor::gui {

// ---- Colours ----------------------------------------------------------------------------
inline QColor ToQColor(COLORREF c) { return QColor(GetRValue(c), GetGValue(c), GetBValue(c)); }
inline QRgb ToQRgb(COLORREF c) { return qRgb(GetRValue(c), GetGValue(c), GetBValue(c)); }
inline COLORREF FromQColor(const QColor& c) { return RGB(c.red(), c.green(), c.blue()); }
inline COLORREF FromQColor(QRgb c) { return RGB(qRed(c), qGreen(c), qBlue(c)); }

// ---- Rectangles and points ----------------------------------------------------------------
// A framework rectangle excludes its right and bottom edges; a QRect includes them.
inline QRect ToQRect(const RECT& r) { return QRect(QPoint(r.left, r.top), QPoint(r.right - 1, r.bottom - 1)); }
inline CRect FromQRect(const QRect& r) { return CRect(r.left(), r.top(), r.left() + r.width(), r.top() + r.height()); }
inline QPoint ToQPoint(const POINT& p) { return QPoint(p.x, p.y); }
inline CPoint FromQPoint(const QPoint& p) { return CPoint(p.x(), p.y()); }

// ---- Text ---------------------------------------------------------------------------------
// count < 0: up to the terminating zero; a null text is empty.
QString ToQString(LPCWSTR text, int count = -1);
inline QString ToQString(const CString& s) { return ToQString(s.GetString(), s.GetLength()); }
CString FromQString(const QString& s);
// The text as the framework's wide characters (for copies into callers' buffers), and its length in them.
std::wstring ToWide(const QString& s);
int WideLength(const QString& s);

// ---- Keys ---------------------------------------------------------------------------------
// The virtual-key code of a toolkit key (0 when it has none). The keypad modifier tells the
// number pad's keys from the main keyboard's.
UINT FromQtKey(int qtKey, Qt::KeyboardModifiers mods);
// The toolkit key of a virtual-key code (Qt::Key_unknown when it has none).
int ToQtKey(UINT vk);
// The number pad's keys, which the toolkit marks with the keypad modifier.
inline bool IsKeypadKey(UINT vk) { return vk >= VK_NUMPAD0 && vk <= VK_DIVIDE; }
// The message of a key event, as every receiver sees it (windows, accelerators, dialog keys):
// WM_KEYDOWN / WM_KEYUP, the WM_SYS forms with Alt; wParam the virtual key; lParam a repeat
// count of 1 with the context bit for Alt, the previous-state bit for an auto-repeated press
// and the previous-state and transition bits for a release. message is 0 when the key has no
// virtual key.
MSG KeyMessage(HWND hWnd, const QKeyEvent& e);
// The characters a key press types (WM_CHAR): its text; Ctrl with a letter its control character; Enter, Tab,
// Backspace and Escape theirs when the toolkit gave no text. Delete types nothing.
QString KeyCharacters(const QKeyEvent& e);

// ---- Mouse flags --------------------------------------------------------------------------
// The MK_ flags of the buttons held and of Shift and Ctrl.
UINT FromQtMouse(Qt::MouseButtons buttons, Qt::KeyboardModifiers mods);
Qt::MouseButtons ToQtButtons(UINT mk);
// Shift and Ctrl from MK_ flags, and Alt when asked.
Qt::KeyboardModifiers ToQtModifiers(UINT mk, bool alt = false);

} // namespace qor::gui
