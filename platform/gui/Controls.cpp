// The standard controls over toolkit controls. Each native class makes its toolkit control
// as the window's host (Host<QLineEdit>, ...) and answers the default processing of the
// window's messages: the toolkit control's own handling of input, and the control
// messages (EM_, CB_, LB_, BM_, PBM_). Toolkit signals become WM_COMMAND notifications to the
// parent.
#include "platform/gui/Controls.h"

#include "platform/gui/SysValues.h"
#include "platform/gui/WndInternal.h"

#include <QtGui/QClipboard>
#include <QtGui/QFocusEvent>
#include <QtGui/QKeyEvent>
#include <QtGui/QMouseEvent>
#include <QtGui/QPainter>
#include <QtGui/QPalette>
#include <QtWidgets/QAbstractItemView>
#include <QtWidgets/QApplication>
#include <QtWidgets/QCheckBox>
#include <QtWidgets/QComboBox>
#include <QtWidgets/QGroupBox>
#include <QtWidgets/QLabel>
#include <QtWidgets/QLineEdit>
#include <QtWidgets/QListWidget>
#include <QtWidgets/QPlainTextEdit>
#include <QtWidgets/QProgressBar>
#include <QtWidgets/QPushButton>
#include <QtWidgets/QRadioButton>
#include <QtWidgets/QScrollBar>

#include <algorithm>
#include <functional>
#include <optional>
#include <map>
#include <string>

namespace qor::gui {

void NotifyParent(WndState* s, UINT code)
{
    if (!s || !s->wnd->m_hWnd) return;
    CWnd* parent = s->parent ? s->parent : s->owner;
    if (parent && parent->m_hWnd)
        parent->SendMessage(WM_COMMAND, MAKEWPARAM(static_cast<WORD>(s->id), static_cast<WORD>(code)),
                            reinterpret_cast<LPARAM>(s->handle));
}

namespace {

#define LBN_SETFOCUS_CODE 4
#define LBN_KILLFOCUS_CODE 5

// ---- Shared helpers ----------------------------------------------------------------------------

Qt::KeyboardModifiers HeldModifiers()
{
    Qt::KeyboardModifiers m;
    if (GetKeyState(VK_SHIFT) < 0) m |= Qt::ShiftModifier;
    if (GetKeyState(VK_CONTROL) < 0) m |= Qt::ControlModifier;
    if (GetKeyState(VK_MENU) < 0) m |= Qt::AltModifier;
    return m;
}

int QtKeyFromVirtualKey(UINT vk)
{
    if ((vk >= 'A' && vk <= 'Z') || (vk >= '0' && vk <= '9')) return static_cast<int>(vk);
    if (vk >= VK_F1 && vk <= VK_F12) return Qt::Key_F1 + static_cast<int>(vk - VK_F1);
    if (vk >= VK_NUMPAD0 && vk <= VK_NUMPAD9) return Qt::Key_0 + static_cast<int>(vk - VK_NUMPAD0);
    switch (vk) {
    case VK_BACK: return Qt::Key_Backspace;
    case VK_TAB: return Qt::Key_Tab;
    case VK_RETURN: return Qt::Key_Return;
    case VK_ESCAPE: return Qt::Key_Escape;
    case VK_SPACE: return Qt::Key_Space;
    case VK_PRIOR: return Qt::Key_PageUp;
    case VK_NEXT: return Qt::Key_PageDown;
    case VK_END: return Qt::Key_End;
    case VK_HOME: return Qt::Key_Home;
    case VK_LEFT: return Qt::Key_Left;
    case VK_UP: return Qt::Key_Up;
    case VK_RIGHT: return Qt::Key_Right;
    case VK_DOWN: return Qt::Key_Down;
    case VK_INSERT: return Qt::Key_Insert;
    case VK_DELETE: return Qt::Key_Delete;
    case VK_SHIFT: return Qt::Key_Shift;
    case VK_CONTROL: return Qt::Key_Control;
    case VK_MENU: return Qt::Key_Alt;
    default: return Qt::Key_unknown;
    }
}

// Keys whose typing arrives as WM_CHAR: their WM_KEYDOWN leaves the text to the character.
bool MakesCharacter(UINT vk)
{
    if ((vk >= 'A' && vk <= 'Z') || (vk >= '0' && vk <= '9')) return true;
    if (vk >= VK_NUMPAD0 && vk <= VK_DIVIDE) return true;
    if (vk >= VK_OEM_1 && vk <= VK_OEM_7) return true;
    return vk == VK_SPACE || vk == VK_BACK || vk == VK_TAB || vk == VK_RETURN || vk == VK_ESCAPE;
}

QString TextOf(LPCTSTR p) { return p ? QString::fromWCharArray(p) : QString(); }

int CopyOut(const QString& text, LPTSTR buf, int max)
{
    if (!buf || max <= 0) return 0;
    std::wstring w = text.toStdWString();
    int n = std::min(max - 1, static_cast<int>(w.size()));
    std::copy_n(w.begin(), n, buf);
    buf[n] = 0;
    return n;
}

int CopyAll(const QString& text, LPTSTR buf)
{
    if (!buf) return -1;
    std::wstring w = text.toStdWString();
    std::copy(w.begin(), w.end(), buf);
    buf[w.size()] = 0;
    return static_cast<int>(w.size());
}

// Searches a list the way the system's lists do: after nStartAfter, wrapping around,
// ignoring case; prefix or whole-string match.
int FindInList(const QStringList& items, int nStartAfter, const QString& what, bool exact)
{
    int n = static_cast<int>(items.size());
    if (n == 0) return -1;
    int start = (nStartAfter < 0 || nStartAfter >= n) ? 0 : nStartAfter + 1;
    for (int k = 0; k < n; ++k) {
        int i = (start + k) % n;
        const QString& t = items[i];
        bool hit = exact ? t.compare(what, Qt::CaseInsensitive) == 0 : t.startsWith(what, Qt::CaseInsensitive);
        if (hit) return i;
    }
    return -1;
}

int SortedPosition(const QStringList& items, const QString& text)
{
    int i = 0;
    while (i < items.size() && items[i].compare(text, Qt::CaseInsensitive) <= 0) ++i;
    return i;
}

// Calls a scroll area's protected viewport handler (the viewport's own processing).
struct ViewportAccess : QAbstractScrollArea {
    using QAbstractScrollArea::viewportEvent;
};

bool RunOnViewport(QWidget* host, QEvent* e)
{
    auto* area = qobject_cast<QAbstractScrollArea*>(host);
    if (!area) return false;
    return (area->*(&ViewportAccess::viewportEvent))(e);
}

// Hands a mouse event to the toolkit control; a scroll area's mouse belongs to its viewport.
void DeliverMouse(WndState* s, QMouseEvent* me, QWidget* source)
{
    auto* area = qobject_cast<QAbstractScrollArea*>(s->widget);
    if (!area) {
        s->host->ToolkitEvent(me);
        return;
    }
    if (source == area->viewport()) {
        RunOnViewport(area, me);
        return;
    }
    QPointF at = area->viewport()->mapFrom(area, me->position());
    QMouseEvent copy(me->type(), at, me->globalPosition(), me->button(), me->buttons(), me->modifiers());
    RunOnViewport(area, &copy);
    me->setAccepted(copy.isAccepted());
}

// Check boxes and radio buttons answer a click anywhere in their window, as the system's do.
template <class Button>
class WholeAreaButton : public Button
{
public:
    using Button::Button;

protected:
    bool hitButton(const QPoint& p) const override { return this->rect().contains(p); }
};

// ---- The behaviour shared by every native control ---------------------------------------------

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
    void BeforePaint(WndState* s) override
    {
        UINT msg = CtlColorMessage(s);
        CWnd* parent = s->parent ? s->parent : s->owner;
        if (!msg || !parent || !parent->m_hWnd || !s->widget) return;
        HWND self = s->handle;
        const int defaultBack = (msg == WM_CTLCOLOREDIT || msg == WM_CTLCOLORLISTBOX) ? COLOR_WINDOW : COLOR_3DFACE;
        const COLORREF defText = GetSysColor(COLOR_WINDOWTEXT), defBack = GetSysColor(defaultBack);
        HDC hdc = ::CreateCompatibleDC(nullptr);
        if (!hdc) return;
        ::SetTextColor(hdc, defText);
        ::SetBkColor(hdc, defBack);
        HGDIOBJ font = s->font ? static_cast<HGDIOBJ>(s->font) : ::GetCurrentObject(hdc, OBJ_FONT);
        if (s->font) ::SelectObject(hdc, font);
        auto brush = reinterpret_cast<HBRUSH>(parent->SendMessage(msg, reinterpret_cast<WPARAM>(hdc), reinterpret_cast<LPARAM>(self)));
        COLORREF text = ::GetTextColor(hdc), back = ::GetBkColor(hdc), fill = 0;
        if (GetBrushColor(brush, &fill)) back = fill;
        HGDIOBJ chosen = ::GetCurrentObject(hdc, OBJ_FONT);
        QFont chosenFont;
        bool newFont = chosen && chosen != font;
        if (newFont) chosenFont = QFontFromHandle(reinterpret_cast<HFONT>(chosen));
        ::DeleteDC(hdc);
        if (!IsLiveHandle(self) || !s->widget) return;
        QWidget* w = s->widget;
        if (newFont && w->font() != chosenFont) w->setFont(chosenFont);
        if (text == defText && back == defBack) {
            if (m_ownPalette) {
                w->setPalette(*m_ownPalette);
                m_ownPalette.reset();
            }
            return;
        }
        if (!m_ownPalette) m_ownPalette = w->palette();
        QPalette pal = *m_ownPalette;
        QPalette::ColorRole textRole = QPalette::Text, backRole = QPalette::Base;
        ColorRoles(textRole, backRole);
        for (auto group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled}) {
            pal.setColor(group, textRole, ToQColor(text));
            if (backRole != QPalette::Window) pal.setColor(group, backRole, ToQColor(back));
        }
        if (pal != w->palette()) w->setPalette(pal);
        if (backRole == QPalette::Window) {
            // Controls without a background of their own (static text, check boxes): the
            // brush is painted under what the control draws (we are inside its paint).
            QPainter painter(w);
            painter.fillRect(w->rect(), ToQColor(back));
        }
    }

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
    virtual UINT SetFocusCode() const { return 0xFFFF; }
    virtual UINT KillFocusCode() const { return 0xFFFF; }

    // Hands a key to the toolkit control as a key event without text (the text is WM_CHAR's).
    static void ToolkitKey(WndState* s, UINT msg, UINT vk)
    {
        bool down = msg == WM_KEYDOWN || msg == WM_SYSKEYDOWN;
        QKeyEvent ev(down ? QEvent::KeyPress : QEvent::KeyRelease, QtKeyFromVirtualKey(vk), HeldModifiers(), QString());
        s->host->ToolkitEvent(&ev);
    }
    // Hands a typed character to the toolkit control.
    static void ToolkitChar(WndState* s, wchar_t ch)
    {
        QKeyEvent ev(QEvent::KeyPress, Qt::Key_unknown, HeldModifiers(), QString(QChar(static_cast<char16_t>(ch))));
        s->host->ToolkitEvent(&ev);
    }

    bool Common(WndState* s, UINT msg, WPARAM wParam, LPARAM lParam, LRESULT* result)
    {
        switch (msg) {
        case WM_LBUTTONDOWN:
        case WM_LBUTTONUP:
        case WM_LBUTTONDBLCLK:
        case WM_RBUTTONDOWN:
        case WM_RBUTTONUP:
        case WM_RBUTTONDBLCLK:
        case WM_MBUTTONDOWN:
        case WM_MBUTTONUP:
        case WM_MBUTTONDBLCLK:
        case WM_MOUSEMOVE: {
            QWidget* source = nullptr;
            if (QEvent* e = s->host->TakeEvent(msg, &source)) DeliverMouse(s, static_cast<QMouseEvent*>(e), source);
            else SyntheticMouse(s, msg, wParam, lParam);
            *result = 0;
            return true;
        }
        case WM_MOUSEWHEEL:
            if (QEvent* e = s->host->TakeEvent(msg)) {
                s->host->ToolkitEvent(e);
                *result = 0;
                return true;
            }
            return false; // to the parent
        case WM_CONTEXTMENU: *result = 0; return true; // the control has its own
        case WM_KEYDOWN:
        case WM_KEYUP:
        case WM_SYSKEYDOWN:
        case WM_SYSKEYUP:
            ToolkitKey(s, msg, static_cast<UINT>(wParam));
            *result = 0;
            return true;
        case WM_CHAR:
            ToolkitChar(s, static_cast<wchar_t>(wParam));
            *result = 0;
            return true;
        case WM_SETFOCUS:
            if (QEvent* e = s->host->TakeEvent(msg)) s->host->ToolkitEvent(e);
            if (SetFocusCode() != 0xFFFF) NotifyParent(s, SetFocusCode());
            *result = 0;
            return true;
        case WM_KILLFOCUS:
            if (QEvent* e = s->host->TakeEvent(msg)) s->host->ToolkitEvent(e);
            if (KillFocusCode() != 0xFFFF) NotifyParent(s, KillFocusCode());
            *result = 0;
            return true;
        case WM_SETFONT:
            if (s->widget) s->widget->setFont(wParam ? QFontFromHandle(reinterpret_cast<HFONT>(wParam)) : QFont());
            return false; // the window keeps the handle too
        case WM_PAINT:
            s->invalid = QRegion();
            s->erasePending = false;
            if (s->widget) s->widget->update();
            *result = 0;
            return true;
        case WM_ERASEBKGND: *result = 1; return true;
        default: return false;
        }
    }

    static void SyntheticMouse(WndState* s, UINT msg, WPARAM wParam, LPARAM lParam)
    {
        QEvent::Type type;
        Qt::MouseButton button = Qt::NoButton;
        switch (msg) {
        case WM_LBUTTONDOWN: type = QEvent::MouseButtonPress; button = Qt::LeftButton; break;
        case WM_LBUTTONUP: type = QEvent::MouseButtonRelease; button = Qt::LeftButton; break;
        case WM_LBUTTONDBLCLK: type = QEvent::MouseButtonDblClick; button = Qt::LeftButton; break;
        case WM_RBUTTONDOWN: type = QEvent::MouseButtonPress; button = Qt::RightButton; break;
        case WM_RBUTTONUP: type = QEvent::MouseButtonRelease; button = Qt::RightButton; break;
        case WM_MOUSEMOVE: type = QEvent::MouseMove; break;
        default: return;
        }
        Qt::MouseButtons held;
        if (wParam & MK_LBUTTON) held |= Qt::LeftButton;
        if (wParam & MK_RBUTTON) held |= Qt::RightButton;
        if (type == QEvent::MouseButtonPress || type == QEvent::MouseButtonDblClick) held |= button;
        if (type == QEvent::MouseButtonRelease) held &= ~Qt::MouseButtons(button);
        Qt::KeyboardModifiers mods;
        if (wParam & MK_SHIFT) mods |= Qt::ShiftModifier;
        if (wParam & MK_CONTROL) mods |= Qt::ControlModifier;
        QPointF local = QPointF(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)) + QPointF(s->ClientOrigin());
        QMouseEvent ev(type, local, s->widget->mapToGlobal(local), button, held, mods);
        DeliverMouse(s, &ev, s->widget);
    }

    // WM_SETTEXT / WM_GETTEXT / WM_GETTEXTLENGTH over a text the control shows.
    static bool TextMessages(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT* result, const QString& text,
                             const std::function<void(const QString&)>& set)
    {
        switch (msg) {
        case WM_SETTEXT:
            set(TextOf(reinterpret_cast<LPCTSTR>(lParam)));
            *result = TRUE;
            return true;
        case WM_GETTEXT: *result = CopyOut(text, reinterpret_cast<LPTSTR>(lParam), static_cast<int>(wParam)); return true;
        case WM_GETTEXTLENGTH: *result = static_cast<LRESULT>(text.toStdWString().size()); return true;
        default: return false;
        }
    }
};

// ---- Edit ----------------------------------------------------------------------------------------

class EditControl : public ControlBase
{
public:
    QLineEdit* line = nullptr;
    QPlainTextEdit* plain = nullptr;
    HWND combo = nullptr;        // the combo box whose edit part this is
    int limit = 0;               // 0: the toolkit's maximum
    bool userEdit = false;       // the change comes from typing, cutting, pasting or undoing
    bool settingText = false;

    // One level of undo, as the system's edit keeps it: the text and selection before the
    // last undoable change. Typing (or deleting) on from where the last keystroke left the
    // caret belongs to the same change. Undoing swaps the two states, so a second undo redoes.
    struct UndoState {
        QString text;
        int selStart = 0, selEnd = 0;
    };
    enum class Run { None, Typing, Deleting };
    std::optional<UndoState> undo;
    Run run = Run::None;
    int runEnd = -1;

    void ForgetUndo()
    {
        undo.reset();
        run = Run::None;
    }

    explicit EditControl(WndState* s, QWidget* parentWidget)
    {
        DWORD st = s->style;
        bool frame = (st & WS_BORDER) || (s->exStyle & WS_EX_CLIENTEDGE);
        if (st & ES_MULTILINE) {
            auto* h = new Host<QPlainTextEdit>(s, true, parentWidget);
            plain = h;
            s->widget = h;
            s->host = h;
            h->HostViewport(h->viewport());
            if (!frame) h->setFrameStyle(QFrame::NoFrame);
            h->setLineWrapMode((st & (WS_HSCROLL | ES_AUTOHSCROLL)) ? QPlainTextEdit::NoWrap : QPlainTextEdit::WidgetWidth);
            h->setVerticalScrollBarPolicy((st & WS_VSCROLL) ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAlwaysOff);
            h->setHorizontalScrollBarPolicy((st & WS_HSCROLL) ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAlwaysOff);
            h->setReadOnly(st & ES_READONLY);
            h->setContextMenuPolicy(Qt::NoContextMenu);
            h->setUndoRedoEnabled(false); // the control keeps its own undo (Undoable)
            h->setAcceptDrops(false);
        } else {
            auto* h = new Host<QLineEdit>(s, true, parentWidget);
            line = h;
            s->widget = h;
            s->host = h;
            h->setFrame(frame);
            Qt::Alignment a = (st & ES_RIGHT) ? Qt::AlignRight : (st & ES_CENTER) ? Qt::AlignHCenter : Qt::AlignLeft;
            h->setAlignment(a | Qt::AlignVCenter);
            h->setReadOnly(st & ES_READONLY);
            if (st & ES_PASSWORD) h->setEchoMode(QLineEdit::Password);
            h->setMaxLength(32767);
            h->setContextMenuPolicy(Qt::NoContextMenu);
            h->setAcceptDrops(false);
        }
    }

    void Created(WndState* s) override
    {
        HWND h = s->handle;
        SetText(s, QString::fromStdWString(std::wstring(s->text.GetString())), false);
        auto changed = [this, h]() {
            WndState* st = StateOf(h);
            if (!st || settingText) return;
            if (combo) {
                // The edit part of a combo box: the box reports the user's edits.
                if (!userEdit) return;
                WndState* cs = StateOf(combo);
                NotifyParent(cs, CBN_EDITUPDATE);
                if (IsLiveHandle(combo)) NotifyParent(cs, CBN_EDITCHANGE);
                return;
            }
            NotifyParent(st, EN_UPDATE);
            if (IsLiveHandle(h)) NotifyParent(st, EN_CHANGE);
        };
        if (line) QObject::connect(line, &QLineEdit::textChanged, line, changed);
        else QObject::connect(plain, &QPlainTextEdit::textChanged, plain, changed);
    }

    QString Text() const
    {
        if (line) return line->text();
        QString t = plain->toPlainText();
        t.replace(QLatin1String("\n"), QLatin1String("\r\n"));
        return t;
    }

    void SetText(WndState* s, const QString& text, bool notify)
    {
        // A single-line edit reports a text set from outside; a multi-line one does not.
        bool quiet = !notify || plain;
        bool saved = settingText;
        settingText = quiet;
        if (line) line->setText(text);
        else {
            QString t = text;
            t.replace(QLatin1String("\r\n"), QLatin1String("\n"));
            plain->setPlainText(t);
        }
        settingText = saved;
        s->text = CString(text.toStdWString().c_str());
        ForgetUndo(); // text from outside cannot be undone
    }

    QString RawText() const { return line ? line->text() : plain->toPlainText(); }

    // Runs a change of the text and keeps what undoes it.
    template <class F>
    void Undoable(Run kind, F f)
    {
        QString before = RawText();
        int a = 0, b = 0;
        GetSelection(a, b);
        f();
        if (RawText() == before) return;
        int na = 0, nb = 0;
        GetSelection(na, nb);
        bool continues = undo && kind != Run::None && run == kind && a == b && a == runEnd;
        if (!continues) undo = UndoState{before, a, b};
        run = kind;
        runEnd = nb;
    }

    int Length() const { return line ? static_cast<int>(line->text().size()) : static_cast<int>(plain->toPlainText().size()); }
    bool ReadOnly() const { return line ? line->isReadOnly() : plain->isReadOnly(); }
    int Limit() const { return limit > 0 ? limit : (plain ? 0x7FFFFFFE : 32767); }

    void GetSelection(int& start, int& end) const
    {
        if (line) {
            if (line->hasSelectedText()) {
                start = line->selectionStart();
                end = start + static_cast<int>(line->selectedText().size());
            } else {
                start = end = line->cursorPosition();
            }
        } else {
            QTextCursor c = plain->textCursor();
            start = c.selectionStart();
            end = c.selectionEnd();
        }
    }

    void SetSelection(int start, int end)
    {
        int len = Length();
        if (start == -1) { // deselect, caret stays
            int a, b;
            GetSelection(a, b);
            start = end = b;
        } else if (start == 0 && end == -1) {
            end = len;
        }
        if (end < 0) end = len;
        start = std::clamp(start, 0, len);
        end = std::clamp(end, 0, len);
        if (line) {
            if (start == end) line->setCursorPosition(start);
            else line->setSelection(start, end - start); // the caret ends at `end`
        } else {
            QTextCursor c = plain->textCursor();
            c.setPosition(start);
            c.setPosition(end, QTextCursor::KeepAnchor);
            plain->setTextCursor(c);
        }
    }

    void Insert(WndState* s, const QString& text)
    {
        int a, b;
        GetSelection(a, b);
        int room = Limit() - (Length() - (b - a));
        QString t = text;
        if (room < static_cast<int>(t.size())) {
            t = t.left(std::max(room, 0));
            NotifyParent(s, EN_MAXTEXT);
            if (t.isEmpty()) return;
        }
        if (line) line->insert(t);
        else plain->insertPlainText(t);
    }

    template <class F>
    void AsUser(F f)
    {
        bool saved = userEdit;
        userEdit = true;
        f();
        userEdit = saved;
    }

    void Typed(WndState* s, wchar_t ch)
    {
        bool ro = ReadOnly();
        switch (ch) {
        case 0x01:
            if (line) line->selectAll();
            else plain->selectAll();
            return;
        case 0x03: SendCopy(); return;
        case 0x16:
            if (!ro) AsUser([&] { Undoable(Run::None, [&] { Paste(s); }); });
            return;
        case 0x18:
            if (!ro) AsUser([&] { Undoable(Run::None, [&] { Cut(); }); });
            return;
        case 0x1A:
            if (!ro) AsUser([&] { Undo(); });
            return;
        case 0x08:
            if (!ro) AsUser([&] { Undoable(Run::Deleting, [&] { ToolkitKey(s, WM_KEYDOWN, VK_BACK); }); });
            return;
        case L'\r':
            if (plain && !ro) AsUser([&] { Undoable(Run::Typing, [&] { Insert(s, QStringLiteral("\n")); }); });
            return;
        case L'\t':
            if (plain && !ro) AsUser([&] { Undoable(Run::Typing, [&] { Insert(s, QStringLiteral("\t")); }); });
            return;
        default: break;
        }
        if (ch < 0x20 || ro) return;
        if ((s->style & ES_NUMBER) && !(ch >= L'0' && ch <= L'9')) {
            MessageBeep(0);
            return;
        }
        QString t(QChar(static_cast<char16_t>(ch)));
        if (s->style & ES_UPPERCASE) t = t.toUpper();
        if (s->style & ES_LOWERCASE) t = t.toLower();
        AsUser([&] { Undoable(Run::Typing, [&] { Insert(s, t); }); });
    }

    void SendCopy()
    {
        if (line) line->copy();
        else plain->copy();
    }
    void Cut()
    {
        if (line) line->cut();
        else plain->cut();
    }
    void Paste(WndState* s)
    {
        QString t = QGuiApplication::clipboard() ? QGuiApplication::clipboard()->text() : QString();
        if (line) {
            int nl = static_cast<int>(t.indexOf(QLatin1Char('\n')));
            if (nl >= 0) t = t.left(nl); // a single line takes the first line
            t.remove(QLatin1Char('\r'));
        } else {
            t.replace(QLatin1String("\r\n"), QLatin1String("\n"));
        }
        if (!t.isEmpty()) Insert(s, t);
    }
    // Swaps the text with the one before the last change; false when there is nothing to undo.
    bool Undo()
    {
        if (!undo) return false;
        UndoState back = *undo;
        int a = 0, b = 0;
        GetSelection(a, b);
        undo = UndoState{RawText(), a, b};
        run = Run::None;
        if (line) {
            line->setText(back.text);
            line->setModified(true);
        } else {
            plain->setPlainText(back.text);
            plain->document()->setModified(true);
        }
        SetSelection(back.selStart, back.selEnd);
        return true;
    }
    void ClearSelection()
    {
        if (line) line->del();
        else plain->textCursor().removeSelectedText();
    }

    UINT CtlColorMessage(const WndState* s) const override
    {
        return (ReadOnly() || !s->wnd->IsWindowEnabled()) ? WM_CTLCOLORSTATIC : WM_CTLCOLOREDIT;
    }

    UINT SetFocusCode() const override { return combo ? 0xFFFF : EN_SETFOCUS; }
    UINT KillFocusCode() const override { return combo ? 0xFFFF : EN_KILLFOCUS; }

    bool Control(WndState* s, UINT msg, WPARAM wParam, LPARAM lParam, LRESULT* result) override
    {
        *result = 0;
        switch (msg) {
        case WM_SETTEXT:
            SetText(s, TextOf(reinterpret_cast<LPCTSTR>(lParam)), true);
            *result = TRUE;
            return true;
        case WM_GETTEXT: *result = CopyOut(Text(), reinterpret_cast<LPTSTR>(lParam), static_cast<int>(wParam)); return true;
        case WM_GETTEXTLENGTH: *result = static_cast<LRESULT>(Text().toStdWString().size()); return true;
        case WM_CHAR: Typed(s, static_cast<wchar_t>(wParam)); return true;
        case WM_KEYDOWN: {
            UINT vk = static_cast<UINT>(wParam);
            if (combo && (vk == VK_UP || vk == VK_DOWN || vk == VK_PRIOR || vk == VK_NEXT || vk == VK_F4)) {
                // The combo box's keys: the box moves its selection or drops its list.
                if (CWnd* box = CWnd::FromHandle(combo)) box->SendMessage(WM_KEYDOWN, wParam, lParam);
                return true;
            }
            if (MakesCharacter(vk) || ((GetKeyState(VK_CONTROL) < 0) && vk >= 'A' && vk <= 'Z')) return true;
            if (vk == VK_DELETE && ReadOnly()) return true;
            AsUser([&] { Undoable(vk == VK_DELETE ? Run::Deleting : Run::None, [&] { ToolkitKey(s, msg, vk); }); });
            return true;
        }
        case WM_SETFOCUS:
            if (combo) {
                Common(s, msg, wParam, lParam, result);
                HWND other = reinterpret_cast<HWND>(wParam);
                if (other != combo) NotifyParent(StateOf(combo), CBN_SETFOCUS);
                return true;
            }
            return false;
        case WM_KILLFOCUS:
            if (combo) {
                Common(s, msg, wParam, lParam, result);
                HWND other = reinterpret_cast<HWND>(wParam);
                if (other != combo) NotifyParent(StateOf(combo), CBN_KILLFOCUS);
                return true;
            }
            return false;
        case WM_GETDLGCODE:
            *result = DLGC_HASSETSEL | DLGC_WANTCHARS | DLGC_WANTARROWS | (plain ? DLGC_WANTALLKEYS : 0);
            return true;
        case EM_GETSEL: {
            int a, b;
            GetSelection(a, b);
            if (wParam) *reinterpret_cast<DWORD*>(wParam) = static_cast<DWORD>(a);
            if (lParam) *reinterpret_cast<DWORD*>(lParam) = static_cast<DWORD>(b);
            *result = static_cast<LRESULT>(MAKELONG(static_cast<WORD>(std::min(a, 0xFFFF)), static_cast<WORD>(std::min(b, 0xFFFF))));
            return true;
        }
        case EM_SETSEL: SetSelection(static_cast<int>(wParam), static_cast<int>(lParam)); return true;
        case EM_SCROLLCARET:
            if (plain) plain->ensureCursorVisible();
            return true;
        case EM_REPLACESEL:
            if (wParam) {
                Undoable(Run::None, [&] { Insert(s, TextOf(reinterpret_cast<LPCTSTR>(lParam))); });
            } else {
                Insert(s, TextOf(reinterpret_cast<LPCTSTR>(lParam)));
                ForgetUndo();
            }
            return true;
        case EM_LIMITTEXT:
            limit = static_cast<int>(std::min<WPARAM>(wParam, 0x7FFFFFFE));
            if (line) line->setMaxLength(limit > 0 ? limit : 32767);
            return true;
        case EM_GETLIMITTEXT: *result = Limit(); return true;
        case EM_CANUNDO: *result = undo ? TRUE : FALSE; return true;
        case EM_UNDO:
        case WM_UNDO:
            *result = FALSE;
            if (!ReadOnly()) AsUser([&] { *result = Undo() ? TRUE : FALSE; });
            return true;
        case EM_EMPTYUNDOBUFFER: ForgetUndo(); return true;
        case EM_GETMODIFY: *result = (line ? line->isModified() : plain->document()->isModified()) ? TRUE : FALSE; return true;
        case EM_SETMODIFY:
            if (line) line->setModified(wParam != 0);
            else plain->document()->setModified(wParam != 0);
            return true;
        case EM_GETLINECOUNT: *result = line ? 1 : plain->document()->blockCount(); return true;
        case EM_SETREADONLY:
            if (line) line->setReadOnly(wParam != 0);
            else plain->setReadOnly(wParam != 0);
            if (wParam) s->style |= ES_READONLY;
            else s->style &= ~ES_READONLY;
            *result = TRUE;
            return true;
        case EM_SETPASSWORDCHAR:
            if (line) line->setEchoMode(wParam ? QLineEdit::Password : QLineEdit::Normal);
            return true;
        case WM_CUT:
            if (!ReadOnly()) AsUser([&] { Undoable(Run::None, [&] { Cut(); }); });
            return true;
        case WM_COPY: SendCopy(); return true;
        case WM_PASTE:
            if (!ReadOnly()) AsUser([&] { Undoable(Run::None, [&] { Paste(s); }); });
            return true;
        case WM_CLEAR:
            if (!ReadOnly()) AsUser([&] { Undoable(Run::None, [&] { ClearSelection(); }); });
            return true;
        default: return false;
        }
    }
};

// ---- Combo box -----------------------------------------------------------------------------------

class ComboWidget : public QComboBox
{
public:
    using QComboBox::QComboBox;
    std::function<void(bool)> onPopup;
    bool dropped = false;
    void showPopup() override
    {
        if (onPopup) onPopup(true);
        dropped = true;
        QComboBox::showPopup();
        NotePopupShown(); // the list's activation comes later, if its window is still there
    }
    void hidePopup() override
    {
        QComboBox::hidePopup();
        bool was = dropped;
        dropped = false;
        if (was && onPopup) onPopup(false);
    }
};

class ComboControl : public ControlBase
{
public:
    ComboWidget* box = nullptr;
    std::unique_ptr<CEdit> editPart; // the edit part's window object (another may subclass it)
    HWND editHandle = nullptr;
    bool programmatic = false;
    int droppedWidth = 0;
    int itemHeight = 0;
    UINT extent = 0;

    explicit ComboControl(WndState* s, QWidget* parentWidget)
    {
        auto* h = new Host<ComboWidget>(s, true, parentWidget);
        box = h;
        s->widget = h;
        s->host = h;
        box->setMaxVisibleItems(30);
        box->setInsertPolicy(QComboBox::NoInsert);
        box->setDuplicatesEnabled(true);
    }

    bool HasEdit(const WndState* s) const { return (s->style & 0x3u) != CBS_DROPDOWNLIST; }

    void Created(WndState* s) override
    {
        HWND h = s->handle;
        if (HasEdit(s)) {
            box->setEditable(true);
            editPart = std::make_unique<CEdit>();
            DWORD es = WS_CHILD | WS_VISIBLE | ES_AUTOHSCROLL;
            if (s->style & CBS_UPPERCASE) es |= ES_UPPERCASE;
            if (s->style & CBS_LOWERCASE) es |= ES_LOWERCASE;
            if (editPart->CreateEx(0, WC_EDIT, s->text, es, CRect(0, 0, std::max(s->cx, 1), std::max(s->cy, 1)), s->wnd,
                                   IDC_COMBOEDIT)) {
                WndState* es2 = StateOf(editPart.get());
                es2->widgetOwnedByControl = true;
                editHandle = editPart->m_hWnd;
                auto* ec = static_cast<EditControl*>(es2->native.get());
                ec->combo = h;
                auto* le = static_cast<QLineEdit*>(es2->widget);
                box->setLineEdit(le);
                // The edit part takes the keyboard, as the system's combo box's edit does.
                le->setFocusProxy(nullptr);
                le->setFocusPolicy(Qt::StrongFocus);
                box->setFocusProxy(le);
                le->setContextMenuPolicy(Qt::NoContextMenu);
            }
        }
        QObject::connect(box, &QComboBox::currentIndexChanged, box, [this, h](int) {
            if (!programmatic && IsLiveHandle(h)) NotifyParent(StateOf(h), CBN_SELCHANGE);
        });
        QObject::connect(box, &QComboBox::activated, box, [h](int) {
            if (IsLiveHandle(h)) NotifyParent(StateOf(h), CBN_SELENDOK);
        });
        box->onPopup = [this, h](bool shown) {
            WndState* st = StateOf(h);
            if (!st) return;
            if (shown) {
                NotifyParent(st, CBN_DROPDOWN);
                if (box->view()) box->view()->setMinimumWidth(std::max(droppedWidth, 0));
            } else {
                NotifyParent(st, CBN_CLOSEUP);
            }
        };
    }

    CWnd* Edit() const { return editHandle ? CWnd::FromHandle(editHandle) : nullptr; }

    QStringList Items() const
    {
        QStringList l;
        for (int i = 0; i < box->count(); ++i) l << box->itemText(i);
        return l;
    }

    template <class F>
    void Quietly(F f)
    {
        bool saved = programmatic;
        programmatic = true;
        f();
        programmatic = saved;
    }

    QString Text(const WndState* s) const
    {
        if (HasEdit(s)) {
            CWnd* e = Edit();
            CString t;
            if (e) e->GetWindowText(t);
            return QString::fromWCharArray(t.GetString());
        }
        return box->currentIndex() >= 0 ? box->currentText() : QString();
    }

    int Insert(WndState* s, int index, const QString& text, bool sorted)
    {
        int n = box->count();
        if (index < 0 || index > n) index = n;
        if (sorted && (s->style & CBS_SORT)) index = SortedPosition(Items(), text);
        Quietly([&] {
            QString keep = HasEdit(s) ? Text(s) : QString();
            box->insertItem(index, text);
            // Adding an entry neither selects it nor changes the edit part's text.
            if (box->currentIndex() != -1 && n == 0) box->setCurrentIndex(-1);
            if (HasEdit(s) && Text(s) != keep) SetEditText(keep);
        });
        return index;
    }

    void SetEditText(const QString& t)
    {
        if (CWnd* e = Edit()) {
            auto* ec = static_cast<EditControl*>(StateOf(e)->native.get());
            bool saved = ec->settingText;
            ec->settingText = true;
            ec->line->setText(t);
            ec->settingText = saved;
            ec->ForgetUndo();
            StateOf(e)->text = CString(t.toStdWString().c_str());
        }
    }

    void Select(WndState* s, int index)
    {
        Quietly([&] {
            box->setCurrentIndex(index);
            if (HasEdit(s)) SetEditText(index >= 0 ? box->itemText(index) : QString());
        });
    }

    UINT SetFocusCode() const override { return editHandle ? 0xFFFF : CBN_SETFOCUS; }
    UINT KillFocusCode() const override { return editHandle ? 0xFFFF : CBN_KILLFOCUS; }

    bool Control(WndState* s, UINT msg, WPARAM wParam, LPARAM lParam, LRESULT* result) override
    {
        *result = 0;
        if (msg >= WM_CTLCOLORMSGBOX && msg <= WM_CTLCOLORSTATIC) {
            // The edit part's colours are the owner's to choose.
            CWnd* parent = s->parent ? s->parent : s->owner;
            if (!parent || !parent->m_hWnd) return false;
            *result = parent->SendMessage(msg, wParam, lParam);
            return true;
        }
        int n = box->count();
        int index = static_cast<int>(static_cast<INT_PTR>(wParam));
        auto bad = [&]() {
            *result = CB_ERR;
            return true;
        };
        switch (msg) {
        case WM_SETTEXT:
            if (!HasEdit(s)) return bad();
            if (CWnd* e = Edit()) e->SetWindowText(reinterpret_cast<LPCTSTR>(lParam));
            *result = TRUE;
            return true;
        case WM_GETTEXT: *result = CopyOut(Text(s), reinterpret_cast<LPTSTR>(lParam), static_cast<int>(wParam)); return true;
        case WM_GETTEXTLENGTH: *result = static_cast<LRESULT>(Text(s).toStdWString().size()); return true;
        case WM_SETFOCUS:
            Common(s, msg, wParam, lParam, result);
            // The focus goes on to the edit part; the box reports it arriving from outside.
            if (CWnd* e = Edit()) {
                if (reinterpret_cast<HWND>(wParam) != e->m_hWnd) NotifyParent(s, CBN_SETFOCUS);
                e->SetFocus();
            }
            return true;
        case WM_CHAR:
            if (CWnd* e = Edit()) e->SendMessage(WM_CHAR, wParam, lParam);
            else ToolkitChar(s, static_cast<wchar_t>(wParam));
            return true;
        case WM_GETDLGCODE: *result = DLGC_WANTCHARS | DLGC_WANTARROWS; return true;
        case CB_ADDSTRING: *result = Insert(s, n, TextOf(reinterpret_cast<LPCTSTR>(lParam)), true); return true;
        case CB_INSERTSTRING:
            if (index > n) return bad();
            *result = Insert(s, index < 0 ? n : index, TextOf(reinterpret_cast<LPCTSTR>(lParam)), false);
            return true;
        case CB_DELETESTRING:
            if (index < 0 || index >= n) return bad();
            Quietly([&] {
                QString keep = HasEdit(s) ? Text(s) : QString();
                box->removeItem(index);
                if (HasEdit(s)) SetEditText(keep);
            });
            *result = n - 1;
            return true;
        case CB_RESETCONTENT:
            Quietly([&] {
                box->clear();
                if (HasEdit(s)) SetEditText(QString());
            });
            return true;
        case CB_GETCOUNT: *result = n; return true;
        case CB_GETCURSEL: *result = box->currentIndex() >= 0 ? box->currentIndex() : CB_ERR; return true;
        case CB_SETCURSEL:
            if (index < -1 || index >= n) {
                Select(s, -1);
                return bad();
            }
            Select(s, index);
            *result = index;
            return true;
        case CB_GETLBTEXT:
            if (index < 0 || index >= n) return bad();
            *result = CopyAll(box->itemText(index), reinterpret_cast<LPTSTR>(lParam));
            return true;
        case CB_GETLBTEXTLEN:
            if (index < 0 || index >= n) return bad();
            *result = static_cast<LRESULT>(box->itemText(index).toStdWString().size());
            return true;
        case CB_FINDSTRING:
        case CB_FINDSTRINGEXACT:
        case CB_SELECTSTRING: {
            int i = FindInList(Items(), index, TextOf(reinterpret_cast<LPCTSTR>(lParam)), msg == CB_FINDSTRINGEXACT);
            if (i < 0) return bad();
            if (msg == CB_SELECTSTRING) Select(s, i);
            *result = i;
            return true;
        }
        case CB_GETITEMDATA:
            if (index < 0 || index >= n) return bad();
            *result = static_cast<LRESULT>(box->itemData(index, Qt::UserRole).toULongLong());
            return true;
        case CB_SETITEMDATA:
            if (index < 0 || index >= n) return bad();
            box->setItemData(index, QVariant::fromValue<qulonglong>(static_cast<qulonglong>(lParam)), Qt::UserRole);
            return true;
        case CB_SHOWDROPDOWN:
            if (wParam && !box->dropped) box->showPopup();
            else if (!wParam && box->dropped) box->hidePopup();
            *result = TRUE;
            return true;
        case CB_GETDROPPEDSTATE: *result = box->dropped ? TRUE : FALSE; return true;
        case CB_SETDROPPEDWIDTH:
            droppedWidth = static_cast<int>(wParam);
            *result = std::max(droppedWidth, s->cx);
            return true;
        case CB_GETDROPPEDWIDTH: *result = std::max(droppedWidth, s->cx); return true;
        case CB_SETITEMHEIGHT:
            itemHeight = static_cast<int>(lParam);
            return true;
        case CB_GETITEMHEIGHT: *result = itemHeight > 0 ? itemHeight : box->fontMetrics().height() + 2; return true;
        case CB_SETHORIZONTALEXTENT: extent = static_cast<UINT>(wParam); return true;
        case CB_GETHORIZONTALEXTENT: *result = static_cast<LRESULT>(extent); return true;
        case CB_GETEDITSEL:
            if (CWnd* e = Edit()) *result = e->SendMessage(EM_GETSEL, wParam, lParam);
            else return bad();
            return true;
        case CB_SETEDITSEL:
            if (CWnd* e = Edit()) {
                e->SendMessage(EM_SETSEL, static_cast<WPARAM>(static_cast<short>(LOWORD(lParam))),
                               static_cast<LPARAM>(static_cast<short>(HIWORD(lParam))));
                *result = TRUE;
                return true;
            }
            return bad();
        case CB_LIMITTEXT:
            if (CWnd* e = Edit()) e->SendMessage(EM_LIMITTEXT, wParam, 0);
            *result = TRUE;
            return true;
        case WM_CUT:
        case WM_COPY:
        case WM_PASTE:
        case WM_CLEAR:
            if (CWnd* e = Edit()) e->SendMessage(msg, wParam, lParam);
            return true;
        default: return false;
        }
    }
};

// ---- List box ------------------------------------------------------------------------------------

class ListControl : public ControlBase
{
public:
    UINT CtlColorMessage(const WndState*) const override { return WM_CTLCOLORLISTBOX; }
    QListWidget* list = nullptr;
    bool programmatic = false;

    explicit ListControl(WndState* s, QWidget* parentWidget)
    {
        auto* h = new Host<QListWidget>(s, true, parentWidget);
        list = h;
        s->widget = h;
        s->host = h;
        h->HostViewport(h->viewport());
        DWORD st = s->style;
        if (st & LBS_NOSEL) h->setSelectionMode(QAbstractItemView::NoSelection);
        else if (st & LBS_EXTENDEDSEL) h->setSelectionMode(QAbstractItemView::ExtendedSelection);
        else if (st & LBS_MULTIPLESEL) h->setSelectionMode(QAbstractItemView::MultiSelection);
        else h->setSelectionMode(QAbstractItemView::SingleSelection);
        if (!((st & WS_BORDER) || (s->exStyle & WS_EX_CLIENTEDGE))) h->setFrameStyle(QFrame::NoFrame);
        h->setVerticalScrollBarPolicy((st & WS_VSCROLL) ? ((st & LBS_DISABLENOSCROLL) ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAsNeeded)
                                                        : Qt::ScrollBarAlwaysOff);
        h->setHorizontalScrollBarPolicy((st & WS_HSCROLL) ? Qt::ScrollBarAsNeeded : Qt::ScrollBarAlwaysOff);
    }

    bool Multi() const { return list->selectionMode() == QAbstractItemView::MultiSelection ||
                                list->selectionMode() == QAbstractItemView::ExtendedSelection; }

    void Created(WndState* s) override
    {
        HWND h = s->handle;
        QObject::connect(list, &QListWidget::itemSelectionChanged, list, [this, h]() {
            WndState* st = StateOf(h);
            if (!programmatic && st && (st->style & LBS_NOTIFY)) NotifyParent(st, LBN_SELCHANGE);
        });
        QObject::connect(list, &QListWidget::itemDoubleClicked, list, [h](QListWidgetItem*) {
            WndState* st = StateOf(h);
            if (st && (st->style & LBS_NOTIFY)) NotifyParent(st, LBN_DBLCLK);
        });
    }

    QStringList Items() const
    {
        QStringList l;
        for (int i = 0; i < list->count(); ++i) l << list->item(i)->text();
        return l;
    }

    template <class F>
    void Quietly(F f)
    {
        bool saved = programmatic;
        programmatic = true;
        f();
        programmatic = saved;
    }

    void Select(int index)
    {
        Quietly([&] {
            list->clearSelection();
            if (index >= 0) {
                list->setCurrentRow(index, QItemSelectionModel::ClearAndSelect);
                list->scrollToItem(list->item(index));
            }
        });
    }

    UINT SetFocusCode() const override { return LBN_SETFOCUS_CODE; }
    UINT KillFocusCode() const override { return LBN_KILLFOCUS_CODE; }

    bool Control(WndState* s, UINT msg, WPARAM wParam, LPARAM lParam, LRESULT* result) override
    {
        *result = 0;
        int n = list->count();
        int index = static_cast<int>(static_cast<INT_PTR>(wParam));
        auto bad = [&]() {
            *result = LB_ERR;
            return true;
        };
        switch (msg) {
        case WM_GETDLGCODE: *result = DLGC_WANTARROWS | DLGC_WANTCHARS; return true;
        case LB_ADDSTRING:
        case LB_INSERTSTRING: {
            QString t = TextOf(reinterpret_cast<LPCTSTR>(lParam));
            int at = msg == LB_ADDSTRING || index < 0 ? n : index;
            if (at > n) return bad();
            if (msg == LB_ADDSTRING && (s->style & LBS_SORT)) at = SortedPosition(Items(), t);
            Quietly([&] { list->insertItem(at, t); });
            *result = at;
            return true;
        }
        case LB_DELETESTRING:
            if (index < 0 || index >= n) return bad();
            Quietly([&] { delete list->takeItem(index); });
            *result = n - 1;
            return true;
        case LB_RESETCONTENT: Quietly([&] { list->clear(); }); return true;
        case LB_GETCOUNT: *result = n; return true;
        case LB_GETCURSEL:
            if (Multi()) *result = list->currentRow() >= 0 ? list->currentRow() : LB_ERR;
            else {
                auto sel = list->selectedItems();
                *result = sel.isEmpty() ? LB_ERR : list->row(sel.front());
            }
            return true;
        case LB_SETCURSEL:
            if (Multi()) return bad();
            if (index < -1 || index >= n) {
                Select(-1);
                return bad();
            }
            Select(index);
            *result = index;
            return true;
        case LB_GETSEL:
            if (index < 0 || index >= n) return bad();
            *result = list->item(index)->isSelected() ? 1 : 0;
            return true;
        case LB_SETSEL: {
            if (!Multi()) return bad();
            int i = static_cast<int>(lParam);
            Quietly([&] {
                if (i == -1)
                    for (int k = 0; k < n; ++k) list->item(k)->setSelected(wParam != 0);
                else if (i >= 0 && i < n)
                    list->item(i)->setSelected(wParam != 0);
            });
            if (i < -1 || i >= n) return bad();
            return true;
        }
        case LB_GETSELCOUNT:
            if (!Multi()) return bad();
            *result = static_cast<LRESULT>(list->selectedItems().size());
            return true;
        case LB_GETSELITEMS: {
            if (!Multi()) return bad();
            auto* out = reinterpret_cast<int*>(lParam);
            int k = 0;
            for (int i = 0; i < n && k < index; ++i)
                if (list->item(i)->isSelected()) out[k++] = i;
            *result = k;
            return true;
        }
        case LB_GETTEXT:
            if (index < 0 || index >= n) return bad();
            *result = CopyAll(list->item(index)->text(), reinterpret_cast<LPTSTR>(lParam));
            return true;
        case LB_GETTEXTLEN:
            if (index < 0 || index >= n) return bad();
            *result = static_cast<LRESULT>(list->item(index)->text().toStdWString().size());
            return true;
        case LB_FINDSTRING:
        case LB_FINDSTRINGEXACT:
        case LB_SELECTSTRING: {
            int i = FindInList(Items(), index, TextOf(reinterpret_cast<LPCTSTR>(lParam)), msg == LB_FINDSTRINGEXACT);
            if (i < 0) return bad();
            if (msg == LB_SELECTSTRING && !Multi()) Select(i);
            *result = i;
            return true;
        }
        case LB_GETITEMDATA:
            if (index < 0 || index >= n) return bad();
            *result = static_cast<LRESULT>(list->item(index)->data(Qt::UserRole).toULongLong());
            return true;
        case LB_SETITEMDATA:
            if (index < 0 || index >= n) return bad();
            list->item(index)->setData(Qt::UserRole, QVariant::fromValue<qulonglong>(static_cast<qulonglong>(lParam)));
            return true;
        case LB_GETTOPINDEX: {
            QListWidgetItem* top = list->itemAt(2, 2);
            *result = top ? list->row(top) : 0;
            return true;
        }
        case LB_SETTOPINDEX:
            if (index < 0 || index >= n) return bad();
            list->scrollToItem(list->item(index), QAbstractItemView::PositionAtTop);
            return true;
        case LB_GETITEMRECT: {
            if (index < 0 || index >= n) return bad();
            QRect r = list->visualItemRect(list->item(index));
            r.translate(list->viewport()->mapTo(list, QPoint(0, 0)) - s->ClientOrigin());
            if (lParam) *reinterpret_cast<RECT*>(lParam) = RECT(ToCRect(r));
            return true;
        }
        case LB_GETITEMHEIGHT: *result = n > 0 ? list->visualItemRect(list->item(0)).height() : list->fontMetrics().height() + 2; return true;
        case LB_ITEMFROMPOINT: {
            QPoint p(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
            p += s->ClientOrigin() - list->viewport()->mapTo(list, QPoint(0, 0));
            QListWidgetItem* it = list->itemAt(p);
            int row = it ? list->row(it) : std::max(n - 1, 0);
            *result = MAKELONG(static_cast<WORD>(row), it ? 0 : 1);
            return true;
        }
        default: return false;
        }
    }
};

// ---- Buttons -------------------------------------------------------------------------------------

class ButtonControl : public ControlBase
{
public:
    QAbstractButton* button = nullptr;
    QGroupBox* group = nullptr;
    UINT type = 0;
    int check = BST_UNCHECKED;
    bool pushed = false;

    UINT CtlColorMessage(const WndState*) const override
    {
        return (type == BS_PUSHBUTTON || type == BS_DEFPUSHBUTTON || type == BS_OWNERDRAW) ? WM_CTLCOLORBTN : WM_CTLCOLORSTATIC;
    }
    void ColorRoles(QPalette::ColorRole& text, QPalette::ColorRole& back) const override
    {
        bool push = type == BS_PUSHBUTTON || type == BS_DEFPUSHBUTTON || type == BS_OWNERDRAW;
        text = push ? QPalette::ButtonText : QPalette::WindowText;
        back = push ? QPalette::Button : QPalette::Window;
    }

    explicit ButtonControl(WndState* s, QWidget* parentWidget)
    {
        type = s->style & BS_TYPEMASK;
        QString text = QString::fromWCharArray(s->text.GetString());
        switch (type) {
        case BS_CHECKBOX:
        case BS_AUTOCHECKBOX:
        case BS_3STATE:
        case BS_AUTO3STATE: {
            auto* h = new Host<WholeAreaButton<QCheckBox>>(s, true, text, parentWidget);
            h->setTristate(type == BS_3STATE || type == BS_AUTO3STATE);
            button = h;
            s->widget = h;
            s->host = h;
            break;
        }
        case BS_RADIOBUTTON:
        case BS_AUTORADIOBUTTON: {
            auto* h = new Host<WholeAreaButton<QRadioButton>>(s, true, text, parentWidget);
            h->setAutoExclusive(false); // groups are the dialog's (WS_GROUP), handled below
            button = h;
            s->widget = h;
            s->host = h;
            break;
        }
        case BS_GROUPBOX: {
            auto* h = new Host<QGroupBox>(s, true, text, parentWidget);
            group = h;
            s->widget = h;
            s->host = h;
            break;
        }
        default: {
            auto* h = new Host<QPushButton>(s, true, text, parentWidget);
            h->setAutoDefault(false);
            h->setDefault(type == BS_DEFPUSHBUTTON);
            button = h;
            s->widget = h;
            s->host = h;
            break;
        }
        }
    }

    bool Checkable() const { return (type >= BS_CHECKBOX && type <= BS_AUTO3STATE) || type == BS_AUTORADIOBUTTON; }
    bool Auto() const { return type == BS_AUTOCHECKBOX || type == BS_AUTO3STATE || type == BS_AUTORADIOBUTTON; }
    bool Radio() const { return type == BS_RADIOBUTTON || type == BS_AUTORADIOBUTTON; }

    void Show()
    {
        if (!button) return;
        QSignalBlocker block(button);
        if (auto* cb = qobject_cast<QCheckBox*>(button))
            cb->setCheckState(check == BST_CHECKED ? Qt::Checked : check == BST_INDETERMINATE ? Qt::PartiallyChecked : Qt::Unchecked);
        else if (Checkable())
            button->setChecked(check == BST_CHECKED);
    }

    // An automatic radio button checked by the user unchecks the others of its group
    // (the siblings between WS_GROUP marks).
    static void UncheckGroup(CWnd* self)
    {
        CWnd* first = self;
        for (CWnd* w = self; w; w = w->GetWindow(GW_HWNDPREV)) {
            first = w;
            if (w->GetStyle() & WS_GROUP) break;
        }
        for (CWnd* w = first; w; w = w->GetWindow(GW_HWNDNEXT)) {
            if (w != first && (w->GetStyle() & WS_GROUP)) break;
            WndState* ws = StateOf(w);
            if (w != self && ws && dynamic_cast<ButtonControl*>(ws->native.get()) &&
                (w->GetStyle() & BS_TYPEMASK) == BS_AUTORADIOBUTTON)
                w->SendMessage(BM_SETCHECK, BST_UNCHECKED, 0);
        }
    }

    void Created(WndState* s) override
    {
        if (!button) return;
        HWND h = s->handle;
        if (Checkable()) button->setCheckable(true);
        Show();
        QObject::connect(button, &QAbstractButton::clicked, button, [this, h](bool) {
            WndState* st = StateOf(h);
            if (!st) return;
            if (Auto()) {
                if (type == BS_AUTORADIOBUTTON) check = BST_CHECKED;
                else if (type == BS_AUTO3STATE) check = (check + 1) % 3;
                else check = check == BST_CHECKED ? BST_UNCHECKED : BST_CHECKED;
            }
            Show(); // a button that is not automatic keeps its state: its owner decides
            if (type == BS_AUTORADIOBUTTON) UncheckGroup(st->wnd);
            if (IsLiveHandle(h)) NotifyParent(st, BN_CLICKED);
        });
    }

    bool Control(WndState* s, UINT msg, WPARAM wParam, LPARAM lParam, LRESULT* result) override
    {
        *result = 0;
        switch (msg) {
        case WM_SETTEXT: {
            QString t = TextOf(reinterpret_cast<LPCTSTR>(lParam));
            if (button) button->setText(t);
            if (group) group->setTitle(t);
            s->text = CString(t.toStdWString().c_str());
            *result = TRUE;
            return true;
        }
        case WM_GETDLGCODE:
            if (group) *result = DLGC_STATIC;
            else if (Radio()) *result = DLGC_BUTTON | DLGC_RADIOBUTTON;
            else if (Checkable()) *result = DLGC_BUTTON;
            else *result = DLGC_BUTTON | (type == BS_DEFPUSHBUTTON ? DLGC_DEFPUSHBUTTON : DLGC_UNDEFPUSHBUTTON);
            return true;
        case BM_GETCHECK: *result = Checkable() ? check : BST_UNCHECKED; return true;
        case BM_SETCHECK:
            if (Checkable()) {
                check = static_cast<int>(wParam);
                if (check == BST_INDETERMINATE && type != BS_3STATE && type != BS_AUTO3STATE) check = BST_CHECKED;
                Show();
            }
            return true;
        case BM_GETSTATE:
            *result = (Checkable() ? check : 0) | (pushed ? BST_PUSHED : 0) |
                      (FocusWindow() == s->wnd ? BST_FOCUS : 0);
            return true;
        case BM_SETSTATE:
            pushed = wParam != 0;
            if (button) button->setDown(pushed);
            return true;
        case BM_SETSTYLE: {
            UINT next = static_cast<UINT>(wParam) & BS_TYPEMASK;
            s->style = (s->style & ~BS_TYPEMASK) | next;
            if (auto* pb = qobject_cast<QPushButton*>(button)) pb->setDefault(next == BS_DEFPUSHBUTTON);
            if (qobject_cast<QPushButton*>(button) && (next == BS_PUSHBUTTON || next == BS_DEFPUSHBUTTON)) type = next;
            return true;
        }
        case BM_CLICK:
            if (button && button->isEnabled()) button->click();
            return true;
        default: return false;
        }
    }
};

// ---- Static text ---------------------------------------------------------------------------------

class StaticControl : public ControlBase
{
public:
    QLabel* label = nullptr;

    UINT CtlColorMessage(const WndState*) const override { return WM_CTLCOLORSTATIC; }
    void ColorRoles(QPalette::ColorRole& text, QPalette::ColorRole& back) const override
    {
        text = QPalette::WindowText;
        back = QPalette::Window;
    }

    explicit StaticControl(WndState* s, QWidget* parentWidget)
    {
        auto* h = new Host<QLabel>(s, true, parentWidget);
        label = h;
        s->widget = h;
        s->host = h;
        h->setFocusPolicy(Qt::NoFocus);
        h->setTextFormat(Qt::PlainText);
        UINT t = s->style & SS_TYPEMASK;
        Qt::Alignment a = t == SS_CENTER ? Qt::AlignHCenter : t == SS_RIGHT ? Qt::AlignRight : Qt::AlignLeft;
        h->setAlignment(a | ((s->style & SS_CENTERIMAGE) ? Qt::AlignVCenter : Qt::AlignTop));
        h->setWordWrap(t == SS_LEFT || t == SS_CENTER || t == SS_RIGHT);
        if (s->style & SS_SUNKEN) h->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        else if ((s->style & WS_BORDER) || (s->exStyle & WS_EX_CLIENTEDGE)) h->setFrameStyle(QFrame::Box | QFrame::Plain);
    }

    // "&x" marks a mnemonic (shown without the "&"), "&&" is a "&", unless SS_NOPREFIX.
    static QString Shown(const WndState* s, const QString& text)
    {
        if (s->style & SS_NOPREFIX) return text;
        QString out;
        for (int i = 0; i < text.size(); ++i) {
            if (text[i] == QLatin1Char('&') && i + 1 < text.size()) ++i;
            else if (text[i] == QLatin1Char('&')) continue;
            out += text[i];
        }
        return out;
    }

    void Created(WndState* s) override { label->setText(Shown(s, QString::fromWCharArray(s->text.GetString()))); }

    bool Control(WndState* s, UINT msg, WPARAM, LPARAM lParam, LRESULT* result) override
    {
        *result = 0;
        switch (msg) {
        case WM_SETTEXT: {
            QString t = TextOf(reinterpret_cast<LPCTSTR>(lParam));
            s->text = CString(t.toStdWString().c_str());
            label->setText(Shown(s, t));
            *result = TRUE;
            return true;
        }
        case WM_GETDLGCODE: *result = DLGC_STATIC; return true;
        case WM_LBUTTONDOWN:
            if (s->style & SS_NOTIFY) NotifyParent(s, STN_CLICKED);
            s->host->TakeEvent(msg);
            return true;
        case WM_LBUTTONDBLCLK:
            if (s->style & SS_NOTIFY) NotifyParent(s, STN_DBLCLK);
            s->host->TakeEvent(msg);
            return true;
        default: return false;
        }
    }
};

// ---- Progress bar --------------------------------------------------------------------------------

class ProgressControl : public ControlBase
{
public:
    QProgressBar* bar = nullptr;
    int low = 0, high = 100, pos = 0, step = 10;

    explicit ProgressControl(WndState* s, QWidget* parentWidget)
    {
        auto* h = new Host<QProgressBar>(s, true, parentWidget);
        bar = h;
        s->widget = h;
        s->host = h;
        h->setFocusPolicy(Qt::NoFocus);
        h->setTextVisible(false);
        h->setOrientation((s->style & PBS_VERTICAL) ? Qt::Vertical : Qt::Horizontal);
        Show();
    }

    void Show()
    {
        bar->setRange(std::min(low, high), std::max(low, high));
        bar->setValue(pos);
    }

    int SetPos(int p)
    {
        int old = pos;
        pos = std::clamp(p, std::min(low, high), std::max(low, high));
        Show();
        return old;
    }

    bool Control(WndState*, UINT msg, WPARAM wParam, LPARAM lParam, LRESULT* result) override
    {
        *result = 0;
        switch (msg) {
        case PBM_SETRANGE:
        case PBM_SETRANGE32: {
            *result = MAKELONG(static_cast<WORD>(low), static_cast<WORD>(high));
            if (msg == PBM_SETRANGE) {
                low = static_cast<short>(LOWORD(lParam));
                high = static_cast<short>(HIWORD(lParam));
            } else {
                low = static_cast<int>(wParam);
                high = static_cast<int>(lParam);
            }
            SetPos(pos);
            return true;
        }
        case PBM_GETRANGE:
            if (lParam) *reinterpret_cast<PBRANGE*>(lParam) = PBRANGE{low, high};
            *result = wParam ? low : high;
            return true;
        case PBM_SETPOS: *result = SetPos(static_cast<int>(wParam)); return true;
        case PBM_DELTAPOS: *result = SetPos(pos + static_cast<int>(wParam)); return true;
        case PBM_GETPOS: *result = pos; return true;
        case PBM_SETSTEP:
            *result = step;
            step = static_cast<int>(wParam);
            return true;
        case PBM_STEPIT: {
            // Stepping past the end starts again from the beginning.
            int next = pos + step;
            if (next > std::max(low, high)) next = std::min(low, high) + (next - std::max(low, high));
            *result = SetPos(next);
            return true;
        }
        case WM_GETDLGCODE: *result = 0; return true;
        default: return false;
        }
    }
};

using Factory = std::function<NativeControl*(WndState*, QWidget*)>;

std::map<std::wstring, Factory>& Factories()
{
    static std::map<std::wstring, Factory> f;
    return f;
}

std::wstring LowerName(const CString& s)
{
    std::wstring r = s.GetString();
    for (auto& c : r) c = static_cast<wchar_t>(towlower(c));
    return r;
}

} // namespace

void RegisterNativeClasses()
{
    auto add = [](LPCTSTR name, Factory f) {
        WNDCLASS wc{};
        wc.style = CS_DBLCLKS;
        wc.lpszClassName = name;
        RegisterClass(&wc);
        Factories()[LowerName(CString(name))] = std::move(f);
    };
    add(WC_EDIT, [](WndState* s, QWidget* p) { return new EditControl(s, p); });
    add(WC_COMBOBOX, [](WndState* s, QWidget* p) { return new ComboControl(s, p); });
    add(WC_LISTBOX, [](WndState* s, QWidget* p) { return new ListControl(s, p); });
    add(WC_BUTTON, [](WndState* s, QWidget* p) { return new ButtonControl(s, p); });
    add(WC_STATIC, [](WndState* s, QWidget* p) { return new StaticControl(s, p); });
    add(PROGRESS_CLASS, [](WndState* s, QWidget* p) { return new ProgressControl(s, p); });
}

bool MakeNativeControl(WndState* s, QWidget* parentWidget)
{
    auto it = Factories().find(LowerName(s->className));
    if (it == Factories().end()) return false;
    s->native.reset(it->second(s, parentWidget));
    return s->widget != nullptr;
}

} // namespace qor::gui

using namespace qor::gui;

// ---- The classes -----------------------------------------------------------------------------------

IMPLEMENT_DYNAMIC(CEdit, CWnd)
IMPLEMENT_DYNAMIC(CComboBox, CWnd)
IMPLEMENT_DYNAMIC(CListBox, CWnd)
IMPLEMENT_DYNAMIC(CButton, CWnd)
IMPLEMENT_DYNAMIC(CStatic, CWnd)
IMPLEMENT_DYNAMIC(CProgressCtrl, CWnd)

namespace {
LRESULT Send(const CWnd* w, UINT msg, WPARAM wParam = 0, LPARAM lParam = 0)
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
void ItemText(const CWnd* w, UINT lenMsg, UINT textMsg, int nIndex, CString& rString)
{
    const int n = static_cast<int>(Send(w, lenMsg, static_cast<WPARAM>(nIndex)));
    if (n == LB_ERR) {
        rString.Empty();
        return;
    }
    std::vector<wchar_t> buf(static_cast<size_t>(n) + 1, 0);
    Send(w, textMsg, static_cast<WPARAM>(nIndex), LP(buf.data()));
    rString = buf.data();
}
} // namespace

// CEdit
BOOL CEdit::Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID)
{
    return CWnd::Create(WC_EDIT, nullptr, dwStyle, rect, pParentWnd, nID);
}
BOOL CEdit::CanUndo() const { return static_cast<BOOL>(Send(this, EM_CANUNDO)); }
void CEdit::EmptyUndoBuffer() { SendMessage(EM_EMPTYUNDOBUFFER); }
BOOL CEdit::GetModify() const { return static_cast<BOOL>(Send(this, EM_GETMODIFY)); }
void CEdit::SetModify(BOOL bModified) { SendMessage(EM_SETMODIFY, static_cast<WPARAM>(bModified)); }
int CEdit::GetLineCount() const { return static_cast<int>(Send(this, EM_GETLINECOUNT)); }
DWORD CEdit::GetSel() const { return static_cast<DWORD>(Send(this, EM_GETSEL)); }
void CEdit::GetSel(int& nStartChar, int& nEndChar) const
{
    DWORD a = 0, b = 0;
    Send(this, EM_GETSEL, reinterpret_cast<WPARAM>(&a), LP(&b));
    nStartChar = static_cast<int>(a);
    nEndChar = static_cast<int>(b);
}
void CEdit::SetSel(DWORD dwSelection, BOOL bNoScroll)
{
    SetSel(static_cast<int>(static_cast<short>(LOWORD(dwSelection))), static_cast<int>(static_cast<short>(HIWORD(dwSelection))),
           bNoScroll);
}
void CEdit::SetSel(int nStartChar, int nEndChar, BOOL bNoScroll)
{
    SendMessage(EM_SETSEL, static_cast<WPARAM>(nStartChar), static_cast<LPARAM>(nEndChar));
    if (!bNoScroll) SendMessage(EM_SCROLLCARET);
}
void CEdit::ReplaceSel(LPCTSTR lpszNewText, BOOL bCanUndo)
{
    SendMessage(EM_REPLACESEL, static_cast<WPARAM>(bCanUndo), LP(lpszNewText ? lpszNewText : L""));
}
void CEdit::LimitText(int nChars) { SendMessage(EM_LIMITTEXT, static_cast<WPARAM>(nChars)); }
void CEdit::SetLimitText(UINT nMax) { SendMessage(EM_SETLIMITTEXT, nMax); }
UINT CEdit::GetLimitText() const { return static_cast<UINT>(Send(this, EM_GETLIMITTEXT)); }
BOOL CEdit::SetReadOnly(BOOL bReadOnly) { return static_cast<BOOL>(SendMessage(EM_SETREADONLY, static_cast<WPARAM>(bReadOnly))); }
void CEdit::SetPasswordChar(TCHAR ch) { SendMessage(EM_SETPASSWORDCHAR, ch); }
BOOL CEdit::Undo() { return static_cast<BOOL>(SendMessage(EM_UNDO)); }
void CEdit::Clear() { SendMessage(WM_CLEAR); }
void CEdit::Copy() { SendMessage(WM_COPY); }
void CEdit::Cut() { SendMessage(WM_CUT); }
void CEdit::Paste() { SendMessage(WM_PASTE); }

// CComboBox
BOOL CComboBox::Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID)
{
    return CWnd::Create(WC_COMBOBOX, nullptr, dwStyle, rect, pParentWnd, nID);
}
int CComboBox::GetCount() const { return static_cast<int>(Send(this, CB_GETCOUNT)); }
int CComboBox::GetCurSel() const { return static_cast<int>(Send(this, CB_GETCURSEL)); }
int CComboBox::SetCurSel(int nSelect) { return static_cast<int>(SendMessage(CB_SETCURSEL, static_cast<WPARAM>(nSelect))); }
DWORD CComboBox::GetEditSel() const { return static_cast<DWORD>(Send(this, CB_GETEDITSEL)); }
BOOL CComboBox::SetEditSel(int nStartChar, int nEndChar)
{
    return static_cast<BOOL>(SendMessage(CB_SETEDITSEL, 0, MAKELPARAM(static_cast<WORD>(nStartChar), static_cast<WORD>(nEndChar))));
}
BOOL CComboBox::LimitText(int nMaxChars) { return static_cast<BOOL>(SendMessage(CB_LIMITTEXT, static_cast<WPARAM>(nMaxChars))); }
DWORD_PTR CComboBox::GetItemData(int nIndex) const
{
    return static_cast<DWORD_PTR>(Send(this, CB_GETITEMDATA, static_cast<WPARAM>(nIndex)));
}
int CComboBox::SetItemData(int nIndex, DWORD_PTR dwItemData)
{
    return static_cast<int>(SendMessage(CB_SETITEMDATA, static_cast<WPARAM>(nIndex), static_cast<LPARAM>(dwItemData)));
}
int CComboBox::GetLBText(int nIndex, LPTSTR lpszText) const
{
    return static_cast<int>(Send(this, CB_GETLBTEXT, static_cast<WPARAM>(nIndex), LP(lpszText)));
}
void CComboBox::GetLBText(int nIndex, CString& rString) const
{
    ItemText(this, CB_GETLBTEXTLEN, CB_GETLBTEXT, nIndex, rString);
}
int CComboBox::GetLBTextLen(int nIndex) const { return static_cast<int>(Send(this, CB_GETLBTEXTLEN, static_cast<WPARAM>(nIndex))); }
int CComboBox::SetItemHeight(int nIndex, UINT cyItemHeight)
{
    return static_cast<int>(SendMessage(CB_SETITEMHEIGHT, static_cast<WPARAM>(nIndex), static_cast<LPARAM>(cyItemHeight)));
}
int CComboBox::GetItemHeight(int nIndex) const { return static_cast<int>(Send(this, CB_GETITEMHEIGHT, static_cast<WPARAM>(nIndex))); }
int CComboBox::GetDroppedWidth() const { return static_cast<int>(Send(this, CB_GETDROPPEDWIDTH)); }
int CComboBox::SetDroppedWidth(UINT nWidth) { return static_cast<int>(SendMessage(CB_SETDROPPEDWIDTH, nWidth)); }
void CComboBox::SetHorizontalExtent(UINT nExtent) { SendMessage(CB_SETHORIZONTALEXTENT, nExtent); }
UINT CComboBox::GetHorizontalExtent() const { return static_cast<UINT>(Send(this, CB_GETHORIZONTALEXTENT)); }
void CComboBox::ShowDropDown(BOOL bShowIt) { SendMessage(CB_SHOWDROPDOWN, static_cast<WPARAM>(bShowIt)); }
BOOL CComboBox::GetDroppedState() const { return static_cast<BOOL>(Send(this, CB_GETDROPPEDSTATE)); }
int CComboBox::AddString(LPCTSTR s) { return static_cast<int>(SendMessage(CB_ADDSTRING, 0, LP(s ? s : L""))); }
int CComboBox::DeleteString(UINT nIndex) { return static_cast<int>(SendMessage(CB_DELETESTRING, nIndex)); }
int CComboBox::InsertString(int nIndex, LPCTSTR s)
{
    return static_cast<int>(SendMessage(CB_INSERTSTRING, static_cast<WPARAM>(nIndex), LP(s ? s : L"")));
}
void CComboBox::ResetContent() { SendMessage(CB_RESETCONTENT); }
int CComboBox::FindString(int nStartAfter, LPCTSTR s) const
{
    return static_cast<int>(Send(this, CB_FINDSTRING, static_cast<WPARAM>(nStartAfter), LP(s ? s : L"")));
}
int CComboBox::FindStringExact(int nIndexStart, LPCTSTR s) const
{
    return static_cast<int>(Send(this, CB_FINDSTRINGEXACT, static_cast<WPARAM>(nIndexStart), LP(s ? s : L"")));
}
int CComboBox::SelectString(int nStartAfter, LPCTSTR s)
{
    return static_cast<int>(SendMessage(CB_SELECTSTRING, static_cast<WPARAM>(nStartAfter), LP(s ? s : L"")));
}
void CComboBox::Clear() { SendMessage(WM_CLEAR); }
void CComboBox::Copy() { SendMessage(WM_COPY); }
void CComboBox::Cut() { SendMessage(WM_CUT); }
void CComboBox::Paste() { SendMessage(WM_PASTE); }

// CListBox
BOOL CListBox::Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID)
{
    return CWnd::Create(WC_LISTBOX, nullptr, dwStyle, rect, pParentWnd, nID);
}
int CListBox::GetCount() const { return static_cast<int>(Send(this, LB_GETCOUNT)); }
int CListBox::GetCurSel() const { return static_cast<int>(Send(this, LB_GETCURSEL)); }
int CListBox::SetCurSel(int nSelect) { return static_cast<int>(SendMessage(LB_SETCURSEL, static_cast<WPARAM>(nSelect))); }
int CListBox::GetSel(int nIndex) const { return static_cast<int>(Send(this, LB_GETSEL, static_cast<WPARAM>(nIndex))); }
int CListBox::SetSel(int nIndex, BOOL bSelect)
{
    return static_cast<int>(SendMessage(LB_SETSEL, static_cast<WPARAM>(bSelect), static_cast<LPARAM>(nIndex)));
}
int CListBox::GetSelCount() const { return static_cast<int>(Send(this, LB_GETSELCOUNT)); }
int CListBox::GetSelItems(int nMaxItems, LPINT rgIndex) const
{
    return static_cast<int>(Send(this, LB_GETSELITEMS, static_cast<WPARAM>(nMaxItems), LP(rgIndex)));
}
int CListBox::GetTopIndex() const { return static_cast<int>(Send(this, LB_GETTOPINDEX)); }
int CListBox::SetTopIndex(int nIndex) { return static_cast<int>(SendMessage(LB_SETTOPINDEX, static_cast<WPARAM>(nIndex))); }
DWORD_PTR CListBox::GetItemData(int nIndex) const
{
    return static_cast<DWORD_PTR>(Send(this, LB_GETITEMDATA, static_cast<WPARAM>(nIndex)));
}
int CListBox::SetItemData(int nIndex, DWORD_PTR dwItemData)
{
    return static_cast<int>(SendMessage(LB_SETITEMDATA, static_cast<WPARAM>(nIndex), static_cast<LPARAM>(dwItemData)));
}
int CListBox::GetItemRect(int nIndex, LPRECT lpRect) const
{
    return static_cast<int>(Send(this, LB_GETITEMRECT, static_cast<WPARAM>(nIndex), LP(lpRect)));
}
int CListBox::GetItemHeight(int nIndex) const { return static_cast<int>(Send(this, LB_GETITEMHEIGHT, static_cast<WPARAM>(nIndex))); }
int CListBox::GetText(int nIndex, LPTSTR lpszBuffer) const
{
    return static_cast<int>(Send(this, LB_GETTEXT, static_cast<WPARAM>(nIndex), LP(lpszBuffer)));
}
void CListBox::GetText(int nIndex, CString& rString) const
{
    ItemText(this, LB_GETTEXTLEN, LB_GETTEXT, nIndex, rString);
}
int CListBox::GetTextLen(int nIndex) const { return static_cast<int>(Send(this, LB_GETTEXTLEN, static_cast<WPARAM>(nIndex))); }
int CListBox::AddString(LPCTSTR s) { return static_cast<int>(SendMessage(LB_ADDSTRING, 0, LP(s ? s : L""))); }
int CListBox::DeleteString(UINT nIndex) { return static_cast<int>(SendMessage(LB_DELETESTRING, nIndex)); }
int CListBox::InsertString(int nIndex, LPCTSTR s)
{
    return static_cast<int>(SendMessage(LB_INSERTSTRING, static_cast<WPARAM>(nIndex), LP(s ? s : L"")));
}
void CListBox::ResetContent() { SendMessage(LB_RESETCONTENT); }
int CListBox::FindString(int nStartAfter, LPCTSTR s) const
{
    return static_cast<int>(Send(this, LB_FINDSTRING, static_cast<WPARAM>(nStartAfter), LP(s ? s : L"")));
}
int CListBox::FindStringExact(int nIndexStart, LPCTSTR s) const
{
    return static_cast<int>(Send(this, LB_FINDSTRINGEXACT, static_cast<WPARAM>(nIndexStart), LP(s ? s : L"")));
}
int CListBox::SelectString(int nStartAfter, LPCTSTR s)
{
    return static_cast<int>(SendMessage(LB_SELECTSTRING, static_cast<WPARAM>(nStartAfter), LP(s ? s : L"")));
}
UINT CListBox::ItemFromPoint(CPoint pt, BOOL& bOutside) const
{
    auto r = static_cast<DWORD>(Send(this, LB_ITEMFROMPOINT, 0, MAKELPARAM(static_cast<WORD>(pt.x), static_cast<WORD>(pt.y))));
    bOutside = HIWORD(r) ? TRUE : FALSE;
    return LOWORD(r);
}

// CButton
BOOL CButton::Create(LPCTSTR lpszCaption, DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID)
{
    return CWnd::Create(WC_BUTTON, lpszCaption, dwStyle, rect, pParentWnd, nID);
}
int CButton::GetCheck() const { return static_cast<int>(Send(this, BM_GETCHECK)); }
void CButton::SetCheck(int nCheck) { SendMessage(BM_SETCHECK, static_cast<WPARAM>(nCheck)); }
UINT CButton::GetState() const { return static_cast<UINT>(Send(this, BM_GETSTATE)); }
void CButton::SetState(BOOL bHighlight) { SendMessage(BM_SETSTATE, static_cast<WPARAM>(bHighlight)); }
UINT CButton::GetButtonStyle() const { return GetStyle() & 0xFFFFu; }
void CButton::SetButtonStyle(UINT nStyle, BOOL bRedraw) { SendMessage(BM_SETSTYLE, nStyle, bRedraw); }
void CButton::Click() { SendMessage(BM_CLICK); }

// CStatic
BOOL CStatic::Create(LPCTSTR lpszText, DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID)
{
    return CWnd::Create(WC_STATIC, lpszText, dwStyle, rect, pParentWnd, nID);
}

// CProgressCtrl
BOOL CProgressCtrl::Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID)
{
    return CWnd::Create(PROGRESS_CLASS, nullptr, dwStyle, rect, pParentWnd, nID);
}
void CProgressCtrl::SetRange(short nLower, short nUpper)
{
    SendMessage(PBM_SETRANGE, 0, MAKELPARAM(static_cast<WORD>(nLower), static_cast<WORD>(nUpper)));
}
void CProgressCtrl::SetRange32(int nLower, int nUpper)
{
    SendMessage(PBM_SETRANGE32, static_cast<WPARAM>(nLower), static_cast<LPARAM>(nUpper));
}
void CProgressCtrl::GetRange(int& nLower, int& nUpper) const
{
    PBRANGE r{0, 0};
    Send(this, PBM_GETRANGE, TRUE, LP(&r));
    nLower = r.iLow;
    nUpper = r.iHigh;
}
int CProgressCtrl::GetPos() const { return static_cast<int>(Send(this, PBM_GETPOS)); }
int CProgressCtrl::SetPos(int nPos) { return static_cast<int>(SendMessage(PBM_SETPOS, static_cast<WPARAM>(nPos))); }
int CProgressCtrl::OffsetPos(int nPos) { return static_cast<int>(SendMessage(PBM_DELTAPOS, static_cast<WPARAM>(nPos))); }
int CProgressCtrl::SetStep(int nStep) { return static_cast<int>(SendMessage(PBM_SETSTEP, static_cast<WPARAM>(nStep))); }
int CProgressCtrl::StepIt() { return static_cast<int>(SendMessage(PBM_STEPIT)); }
