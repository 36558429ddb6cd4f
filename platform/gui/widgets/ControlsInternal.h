// Internal to platform/gui: what the standard controls share (the behaviour common to every
// native control, text and list helpers, the wrappers' message helpers). One file per control
// holds its toolkit side and its wrapper class.
#pragma once

#include "platform/gui/draw/SysValues.h"
#include "platform/gui/widgets/Controls.h"
#include "platform/gui/window/WndInternal.h"

#include <QtCore/QStringList>
#include <QtGui/QPalette>

#include <functional>
#include <optional>
#include <vector>

class QLineEdit;
class QMouseEvent;

namespace qor::gui {

// ---- Helpers -------------------------------------------------------------------------------

// Shift, Ctrl and Alt as GetKeyState has them now.
Qt::KeyboardModifiers HeldModifiers();
// A text into a caller's buffer of max characters, zero included (WM_GETTEXT); the count copied.
int CopyOut(const QString& text, LPTSTR buf, int max);
// A whole text into a caller's buffer that has room for it (CB_GETLBTEXT, LB_GETTEXT).
int CopyAll(const QString& text, LPTSTR buf);
// Searches a list the way the system's lists do: after nStartAfter, wrapping around,
// ignoring case; prefix or whole-string match.
int FindInList(const QStringList& items, int nStartAfter, const QString& what, bool exact);
// Where a text goes in a sorted list.
int SortedPosition(const QStringList& items, const QString& text);

// The items of a list box or of a combo box's list, for the item messages both answer alike.
struct ListItems
{
    int count;
    std::function<QString(int)> text;
    std::function<qulonglong(int)> data;
    std::function<void(int, qulonglong)> setData;
};
enum class ItemMessage
{
    GetText,       // LB_GETTEXT, CB_GETLBTEXT
    GetTextLength, // LB_GETTEXTLEN, CB_GETLBTEXTLEN
    GetData,       // LB_GETITEMDATA, CB_GETITEMDATA
    SetData,       // LB_SETITEMDATA, CB_SETITEMDATA
    Find,          // LB_FINDSTRING, CB_FINDSTRING (and the SELECTSTRING forms)
    FindExact,     // LB_FINDSTRINGEXACT, CB_FINDSTRINGEXACT
};
// Answers one item message; -1 (LB_ERR, CB_ERR) when the index names no item or no item is found.
LRESULT AnswerItemMessage(const ListItems& items, ItemMessage what, WPARAM wParam, LPARAM lParam);
// Hands a mouse event to the toolkit control; a scroll area's mouse belongs to its viewport.
void DeliverMouse(WndState* s, QMouseEvent* me, QWidget* source);
// The edit's balloon as the focus comes (it stands below the edit) or goes (one shown to stay
// moves beside the edit, off the other controls of its window; any other goes).
void EditBalloonFollowsFocus(HWND hEdit, bool focused);

// ---- The behaviour shared by every native control --------------------------------------------

class ControlBase : public NativeControl
{
public:
    bool DefProc(WndState* s, UINT msg, WPARAM wParam, LPARAM lParam, LRESULT* result) override
    {
        if (Control(s, msg, wParam, lParam, result)) return true;
        return Common(s, msg, wParam, lParam, result);
    }

    // Asks the parent for the control's colours (WM_CTLCOLORxxx with a DC) and shows them:
    // the brush's colour as the background, the DC's text colour as the text, a font
    // selected into the DC as the control's font. An answer with the system's own colours
    // leaves the toolkit control its own look.
    void BeforePaint(WndState* s) override;

protected:
    // The colour message sent before painting (0: none).
    virtual UINT CtlColorMessage(const WndState*) const { return 0; }
    // The palette roles that show the text colour and the background.
    virtual void ColorRoles(QPalette::ColorRole& text, QPalette::ColorRole& back) const
    {
        text = QPalette::Text;
        back = QPalette::Base;
    }
    std::optional<QPalette> m_ownPalette; // the toolkit's own, while other colours are shown

    // The control's own messages; false for the common handling.
    virtual bool Control(WndState* s, UINT msg, WPARAM wParam, LPARAM lParam, LRESULT* result) = 0;
    // The window's font has changed (WM_SETFONT, after the toolkit control took it).
    virtual void FontChanged(WndState*) {}
    virtual UINT SetFocusCode() const { return 0xFFFF; }
    virtual UINT KillFocusCode() const { return 0xFFFF; }

    // Hands a key to the toolkit control as a key event without text (the text is WM_CHAR's).
    static void ToolkitKey(WndState* s, UINT msg, UINT vk);
    // Hands a typed character to the toolkit control.
    static void ToolkitChar(WndState* s, wchar_t ch);

    // What every control does with a message its own handling left.
    bool Common(WndState* s, UINT msg, WPARAM wParam, LPARAM lParam, LRESULT* result);

    // A mouse message sent rather than typed, as a toolkit event.
    static void SyntheticMouse(WndState* s, UINT msg, WPARAM wParam, LPARAM lParam);

    // WM_SETTEXT / WM_GETTEXT / WM_GETTEXTLENGTH over a text the control shows.
    static bool TextMessages(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT* result, const QString& text,
                             const std::function<void(const QString&)>& set);
};

// ---- The controls ----------------------------------------------------------------------------

// Each control's toolkit side (in its own file).
NativeControl* NewEditControl(WndState* s, QWidget* parentWidget);
NativeControl* NewComboControl(WndState* s, QWidget* parentWidget);
NativeControl* NewListControl(WndState* s, QWidget* parentWidget);
NativeControl* NewButtonControl(WndState* s, QWidget* parentWidget);
NativeControl* NewStaticControl(WndState* s, QWidget* parentWidget);
NativeControl* NewProgressControl(WndState* s, QWidget* parentWidget);

// A combo box's edit part: the edit reports its user's edits through the box; its line edit.
QLineEdit* MakeComboEditPart(WndState* edit, HWND combo);
// Sets a combo box's edit part's text as the box's own doing: no notification, no undo.
void SetComboEditText(WndState* edit, const QString& text);

// ---- The wrapper classes' helpers ------------------------------------------------------------

namespace wrap {
inline LRESULT Send(const CWnd* w, UINT msg, WPARAM wParam = 0, LPARAM lParam = 0)
{
    return const_cast<CWnd*>(w)->SendMessage(msg, wParam, lParam);
}
template <class T>
LPARAM LP(T v)
{
    return reinterpret_cast<LPARAM>(v);
}
// The text of a list item (CB_GETLBTEXT / LB_GETTEXT after its length message); empty when
// there is no such item. CB_ERR and LB_ERR are the same value.
inline void ItemText(const CWnd* w, UINT lenMsg, UINT textMsg, int nIndex, CString& rString)
{
    const int n = static_cast<int>(Send(w, lenMsg, static_cast<WPARAM>(nIndex)));
    if (n == LB_ERR)
    {
        rString.Empty();
        return;
    }
    std::vector<wchar_t> buf(static_cast<size_t>(n) + 1, 0);
    Send(w, textMsg, static_cast<WPARAM>(nIndex), LP(buf.data()));
    rString = buf.data();
}
} // namespace wrap

} // namespace qor::gui
