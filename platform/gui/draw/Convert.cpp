// The conversions between the framework's values and Qt's, and the key message of a key event.
#include "platform/gui/draw/Convert.h"

#include <QtGui/QKeyEvent>

#include <cwchar>
#include <string>

namespace qor::gui {

QString ToQString(LPCWSTR text, int count)
{
    if (!text) return QString();
    if (count < 0) count = static_cast<int>(std::wcslen(text));
    return QString::fromWCharArray(text, count);
}

CString FromQString(const QString& s)
{
    std::wstring w = s.toStdWString();
    return CString(w.c_str());
}

std::wstring ToWide(const QString& s) { return s.toStdWString(); }

int WideLength(const QString& s) { return static_cast<int>(s.toStdWString().size()); }

namespace {

struct KeyPair
{
    int qt;
    UINT vk;
};

// The keys both worlds name, read both ways: a virtual key becomes the first toolkit key listed with it, and
// every toolkit key listed becomes its virtual key. Letters, digits and F1 to F24 are ranges (KeyRange).
constexpr KeyPair kKeys[] = {
    {Qt::Key_Backspace, VK_BACK},
    {Qt::Key_Tab, VK_TAB},
    {Qt::Key_Backtab, VK_TAB},
    {Qt::Key_Return, VK_RETURN},
    {Qt::Key_Enter, VK_RETURN},
    {Qt::Key_Shift, VK_SHIFT},
    {Qt::Key_Control, VK_CONTROL},
    {Qt::Key_Alt, VK_MENU},
    {Qt::Key_Pause, VK_PAUSE},
    {Qt::Key_CapsLock, VK_CAPITAL},
    {Qt::Key_Escape, VK_ESCAPE},
    {Qt::Key_Space, VK_SPACE},
    {Qt::Key_PageUp, VK_PRIOR},
    {Qt::Key_PageDown, VK_NEXT},
    {Qt::Key_End, VK_END},
    {Qt::Key_Home, VK_HOME},
    {Qt::Key_Left, VK_LEFT},
    {Qt::Key_Up, VK_UP},
    {Qt::Key_Right, VK_RIGHT},
    {Qt::Key_Down, VK_DOWN},
    {Qt::Key_Print, VK_SNAPSHOT},
    {Qt::Key_Insert, VK_INSERT},
    {Qt::Key_Delete, VK_DELETE},
    {Qt::Key_Help, VK_HELP},
    {Qt::Key_Menu, VK_APPS},
    {Qt::Key_NumLock, VK_NUMLOCK},
    {Qt::Key_ScrollLock, VK_SCROLL},
    // The punctuation keys of a US keyboard: the unshifted character first, then the shifted one.
    {Qt::Key_Equal, VK_OEM_PLUS},
    {Qt::Key_Plus, VK_OEM_PLUS},
    {Qt::Key_Minus, VK_OEM_MINUS},
    {Qt::Key_Underscore, VK_OEM_MINUS},
    {Qt::Key_Comma, VK_OEM_COMMA},
    {Qt::Key_Less, VK_OEM_COMMA},
    {Qt::Key_Period, VK_OEM_PERIOD},
    {Qt::Key_Greater, VK_OEM_PERIOD},
    {Qt::Key_Semicolon, VK_OEM_1},
    {Qt::Key_Colon, VK_OEM_1},
    {Qt::Key_Slash, VK_OEM_2},
    {Qt::Key_Question, VK_OEM_2},
    {Qt::Key_QuoteLeft, VK_OEM_3},
    {Qt::Key_AsciiTilde, VK_OEM_3},
    {Qt::Key_BracketLeft, VK_OEM_4},
    {Qt::Key_BraceLeft, VK_OEM_4},
    {Qt::Key_Backslash, VK_OEM_5},
    {Qt::Key_Bar, VK_OEM_5},
    {Qt::Key_BracketRight, VK_OEM_6},
    {Qt::Key_BraceRight, VK_OEM_6},
    {Qt::Key_Apostrophe, VK_OEM_7},
    {Qt::Key_QuoteDbl, VK_OEM_7},
};

// The number pad's keys, which the toolkit marks with the keypad modifier.
constexpr KeyPair kKeypadKeys[] = {
    {Qt::Key_0, VK_NUMPAD0},      {Qt::Key_1, VK_NUMPAD1},         {Qt::Key_2, VK_NUMPAD2},
    {Qt::Key_3, VK_NUMPAD3},      {Qt::Key_4, VK_NUMPAD4},         {Qt::Key_5, VK_NUMPAD5},
    {Qt::Key_6, VK_NUMPAD6},      {Qt::Key_7, VK_NUMPAD7},         {Qt::Key_8, VK_NUMPAD8},
    {Qt::Key_9, VK_NUMPAD9},      {Qt::Key_Asterisk, VK_MULTIPLY}, {Qt::Key_Plus, VK_ADD},
    {Qt::Key_Minus, VK_SUBTRACT}, {Qt::Key_Period, VK_DECIMAL},    {Qt::Key_Comma, VK_DECIMAL},
    {Qt::Key_Slash, VK_DIVIDE},
};

// Runs of keys numbered alike in both worlds.
struct KeyRange
{
    int qtFirst;
    int qtLast;
    UINT vkFirst;
};
constexpr KeyRange kRanges[] = {
    {Qt::Key_A, Qt::Key_Z, 'A'},
    {Qt::Key_0, Qt::Key_9, '0'},
    {Qt::Key_F1, Qt::Key_F24, VK_F1},
};

template <size_t N>
UINT VkOf(const KeyPair (&table)[N], int key)
{
    for (const KeyPair& pair : table)
        if (pair.qt == key) return pair.vk;
    return 0;
}

template <size_t N>
int QtOf(const KeyPair (&table)[N], UINT vk)
{
    for (const KeyPair& pair : table)
        if (pair.vk == vk) return pair.qt;
    return Qt::Key_unknown;
}

} // namespace

UINT FromQtKey(int key, Qt::KeyboardModifiers mods)
{
    if (mods & Qt::KeypadModifier)
    {
        if (UINT vk = VkOf(kKeypadKeys, key)) return vk;
    }
    for (const KeyRange& range : kRanges)
        if (key >= range.qtFirst && key <= range.qtLast) return range.vkFirst + static_cast<UINT>(key - range.qtFirst);
    return VkOf(kKeys, key);
}

int ToQtKey(UINT vk)
{
    for (const KeyRange& range : kRanges)
    {
        const UINT count = static_cast<UINT>(range.qtLast - range.qtFirst);
        if (vk >= range.vkFirst && vk <= range.vkFirst + count)
            return range.qtFirst + static_cast<int>(vk - range.vkFirst);
    }
    if (int key = QtOf(kKeypadKeys, vk); key != Qt::Key_unknown) return key;
    return QtOf(kKeys, vk);
}

MSG KeyMessage(HWND hWnd, const QKeyEvent& e)
{
    const bool alt = e.modifiers() & Qt::AltModifier;
    const bool down = e.type() == QEvent::KeyPress;
    const UINT vk = FromQtKey(e.key(), e.modifiers());
    MSG m{};
    m.hwnd = hWnd;
    if (vk) m.message = down ? (alt ? WM_SYSKEYDOWN : WM_KEYDOWN) : (alt ? WM_SYSKEYUP : WM_KEYUP);
    m.wParam = vk;
    const WORD flags = static_cast<WORD>((alt ? 0x2000 : 0) | (down ? (e.isAutoRepeat() ? 0x4000 : 0) : 0xC000));
    m.lParam = MAKELPARAM(1, flags);
    return m;
}

QString KeyCharacters(const QKeyEvent& e)
{
    QString text = e.text();
    const int key = e.key();
    if (text.isEmpty() && (e.modifiers() & Qt::ControlModifier) && key >= Qt::Key_A && key <= Qt::Key_Z)
        text = QChar(static_cast<char16_t>(key - Qt::Key_A + 1));
    if (text.isEmpty())
    {
        switch (key)
        {
        case Qt::Key_Return:
        case Qt::Key_Enter: text = QChar(u'\r'); break;
        case Qt::Key_Tab: text = QChar(u'\t'); break;
        case Qt::Key_Backspace: text = QChar(u'\b'); break;
        case Qt::Key_Escape: text = QChar(u'\x1b'); break;
        default: break;
        }
    }
    text.remove(QChar(0x7F));
    return text;
}

UINT FromQtMouse(Qt::MouseButtons buttons, Qt::KeyboardModifiers mods)
{
    UINT f = 0;
    if (buttons & Qt::LeftButton) f |= MK_LBUTTON;
    if (buttons & Qt::RightButton) f |= MK_RBUTTON;
    if (buttons & Qt::MiddleButton) f |= MK_MBUTTON;
    if (mods & Qt::ShiftModifier) f |= MK_SHIFT;
    if (mods & Qt::ControlModifier) f |= MK_CONTROL;
    return f;
}

Qt::MouseButtons ToQtButtons(UINT mk)
{
    Qt::MouseButtons b;
    if (mk & MK_LBUTTON) b |= Qt::LeftButton;
    if (mk & MK_RBUTTON) b |= Qt::RightButton;
    if (mk & MK_MBUTTON) b |= Qt::MiddleButton;
    return b;
}

Qt::KeyboardModifiers ToQtModifiers(UINT mk, bool alt)
{
    Qt::KeyboardModifiers m;
    if (mk & MK_SHIFT) m |= Qt::ShiftModifier;
    if (mk & MK_CONTROL) m |= Qt::ControlModifier;
    if (alt) m |= Qt::AltModifier;
    return m;
}

} // namespace qor::gui
