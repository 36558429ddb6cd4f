// Headless test support for windows: the application (offscreen) created once for the
// test program, event pumping, scripted message boxes, synthesized input that goes the
// same way as real input, and reading a window's retained surface back as pixels.
#pragma once

#include "platform/core/MessageBox.h"
#include "platform/gui/window/Wnd.h"

#include <deque>
#include <functional>
#include <vector>

class CBitmap;

namespace qor::test {

// Creates the application object (offscreen unless QOR_TEST_DISPLAY is set) if needed.
// A gtest environment of this library calls it before the first test; fixtures may too.
void EnsureGuiApplication();

// The screen tests see (the real one's size differs from machine to machine): 1920 x 1080
// with a 40-pixel task bar at the bottom, set by EnsureGuiApplication. A TestScreen puts
// another in force for its life.
class TestScreen
{
public:
    explicit TestScreen(CSize size, int taskBar = 40);
    ~TestScreen();
    TestScreen(const TestScreen&) = delete;
    TestScreen& operator=(const TestScreen&) = delete;
};

// Where a window's toolkit control shows, in screen coordinates (a closed combo box: its
// field only), and where a combo box's dropped list shows (empty while it is closed).
CRect ShownRect(CWnd* wnd);
CRect DroppedListRect(CWnd* combo);

// Processes events and posted messages until cond() holds or timeoutMs passes; returns cond().
bool PumpUntil(const std::function<bool()>& cond, int timeoutMs = 2000);
// Processes events for about ms milliseconds (0: what is pending now).
void Pump(int ms = 0);
// The toolkit's widgets in existence (a destroyed window's widget may go only when the loop runs).
int ToolkitWidgetCount();
// Runs the toolkit's deferred deletions now, as its loop does between events: the widgets of
// destroyed windows go (Pump alone leaves them).
void DeleteDeferred();

// Message boxes answered from a script (first in, first out; then the box's default
// answer) and recorded, for the life of the object.
class ScriptedMessageBoxes
{
public:
    ScriptedMessageBoxes();
    ~ScriptedMessageBoxes();
    ScriptedMessageBoxes(const ScriptedMessageBoxes&) = delete;
    ScriptedMessageBoxes& operator=(const ScriptedMessageBoxes&) = delete;

    void Answer(int id) { m_answers.push_back(id); }
    // Called with every box as it is shown (to look at the program while the box is up).
    void WhenShown(std::function<void(const MessageBoxCall&)> look) { m_look = std::move(look); }
    const std::vector<MessageBoxCall>& Shown() const { return m_shown; }
    // How many boxes with this text were shown.
    int Count(const CString& text) const;

private:
    std::deque<int> m_answers;
    std::function<void(const MessageBoxCall&)> m_look;
    std::vector<MessageBoxCall> m_shown;
    MessageBoxHandler m_previous;
};

// The toolkit's save dialog run in folder with the name typed as a user types it, then Save pressed;
// a question it asks in turn (replace an existing file?) is answered yes when replace is true. Gives
// the path the dialog chose, empty when it was cancelled.
CString TypeIntoSaveDialog(const CString& folder, const CString& typed, const CString& defaultExt, bool replace);

// Message boxes shown as the toolkit's own modal boxes (also offscreen), for the life of the object.
// Once a box is up it gets the next key of the script as the keyboard sends it (letters as typed,
// without Alt), and the key after it when that key left the box up; a box with no key left is taken
// down (Cancel or No), so a test sees what a key does on a box over a window. Counts the boxes shown.
class KeyedMessageBoxes
{
public:
    explicit KeyedMessageBoxes(std::vector<UINT> keys);
    ~KeyedMessageBoxes();
    KeyedMessageBoxes(const KeyedMessageBoxes&) = delete;
    KeyedMessageBoxes& operator=(const KeyedMessageBoxes&) = delete;

    int Shown() const { return m_shown; }
    // The answers the boxes returned, in order.
    const std::vector<int>& Answers() const { return m_answers; }
    // Where each box stood on the screen (its client area), in order.
    const std::vector<CRect>& Placed() const { return m_placed; }

private:
    void PressNextKey(bool first);

    std::deque<UINT> m_keys;
    int m_shown = 0;
    std::vector<int> m_answers;
    std::vector<CRect> m_placed;
    MessageBoxHandler m_previous;
};

// A pixel of the window's retained surface (client coordinates), or 0xFFFFFFFF when the
// window has no surface or the point is outside.
COLORREF SurfacePixel(CWnd* wnd, int x, int y);
// Size of the retained surface (0, 0 when none).
CSize SurfaceSize(CWnd* wnd);
// The surface in its own pixels, which are finer than the window's at a pixel ratio above 1.
COLORREF SurfaceDevicePixel(CWnd* wnd, int x, int y);
CSize SurfaceDeviceSize(CWnd* wnd);
// Surfaces made while it lives have this device pixel ratio, as on a high-density screen.
class TestPixelRatio
{
public:
    explicit TestPixelRatio(double ratio);
    ~TestPixelRatio();
    TestPixelRatio(const TestPixelRatio&) = delete;
    TestPixelRatio& operator=(const TestPixelRatio&) = delete;
};
// Counts pixels of one colour inside a client rectangle.
int CountSurfacePixels(CWnd* wnd, const RECT& area, COLORREF color);
// What the window shows on the screen, as the toolkit renders it now (native controls and
// their children included): the pixels row by row (width * height), empty without a window.
std::vector<COLORREF> ShownPixels(CWnd* wnd, int* width = nullptr, int* height = nullptr);
// Counts the shown pixels for which pred holds.
int CountShownPixels(CWnd* wnd, const std::function<bool(COLORREF)>& pred);
// Lets the toolkit paint the window now (as the screen would), which sends WM_PAINT when
// anything is invalid.
void PaintNow(CWnd* wnd);
// Makes bm a 32-bit w x h bitmap whose pixels come from colour(x, y) (a test failure when
// it cannot be made).
void MakeBitmap(CBitmap& bm, int w, int h, const std::function<COLORREF(int, int)>& colour);

// ---- Input as the toolkit delivers it (goes through the host widget) ---------------------
// button: VK_LBUTTON, VK_RBUTTON or VK_MBUTTON; mk: MK_SHIFT / MK_CONTROL (and held buttons).
void MouseDown(CWnd* wnd, CPoint client, int button = VK_LBUTTON, UINT mk = 0);
void MouseUp(CWnd* wnd, CPoint client, int button = VK_LBUTTON, UINT mk = 0);
void MouseDoubleClick(CWnd* wnd, CPoint client, int button = VK_LBUTTON, UINT mk = 0);
void MouseMove(CWnd* wnd, CPoint client, UINT mk = 0);
void Click(CWnd* wnd, CPoint client, int button = VK_LBUTTON, UINT mk = 0);
void Wheel(CWnd* wnd, CPoint client, int delta, UINT mk = 0);
// A key press and release; ch is the character it types (0: none). mk: MK_SHIFT/MK_CONTROL.
void KeyPress(CWnd* wnd, UINT vk, wchar_t ch = 0, UINT mk = 0, bool alt = false);
void KeyDown(CWnd* wnd, UINT vk, wchar_t ch = 0, UINT mk = 0, bool alt = false);
void KeyUp(CWnd* wnd, UINT vk, UINT mk = 0, bool alt = false);
// The toolkit's focus arriving at / leaving a window.
void FocusIn(CWnd* wnd);
// The window that holds the toolkit's keyboard focus (nullptr: none of ours), and the
// window the toolkit holds active.
CWnd* ToolkitFocusWindow();
CWnd* ToolkitActiveWindow();
// The text of the menu-bar popup open now (its mnemonic marker removed), or empty; closes it.
CString CloseOpenMenuPopup();

// What a top-level window asks of the window manager for its frame.
struct WindowFrame
{
    bool dialog = false;    // a dialog's frame
    bool close = false;     // a close box
    bool minimize = false;  // a minimise box
    bool maximize = false;  // a maximise box
    bool fixedSize = false; // one size only (no sizing, no maximising)
    CWnd* owner = nullptr;  // the window it is kept above (transient for)
};
WindowFrame FrameOf(CWnd* wnd);

// ---- Scroll bars as the user works them ------------------------------------------------------
// A click on an arrow or the shaft: sbCode is SB_LINEUP, SB_LINEDOWN, SB_PAGEUP, SB_PAGEDOWN,
// SB_TOP or SB_BOTTOM; the button's release follows (SB_ENDSCROLL).
void ScrollBarClick(CWnd* wnd, int nBar, int sbCode);
// Drags the thumb through the positions, then releases it.
void ScrollBarDrag(CWnd* wnd, int nBar, const std::vector<int>& positions);
// The mouse wheel turned over the bar (delta in 120ths of a notch).
void ScrollBarWheel(CWnd* wnd, int nBar, int delta);
// Whether the toolkit bar is shown, and its displayed value.
bool ScrollBarShown(CWnd* wnd, int nBar);
int ScrollBarShownValue(CWnd* wnd, int nBar);

} // namespace qor::test
