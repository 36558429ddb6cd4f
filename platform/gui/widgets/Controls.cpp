// The standard controls over toolkit controls: what they share. Each native class makes its
// toolkit control as the window's host (Host<QLineEdit>, ...) and answers the default
// processing of the window's messages: the toolkit control's own handling of input, and the
// control messages (EM_, CB_, LB_, BM_, PBM_). Toolkit signals become WM_COMMAND
// notifications to the parent. The controls themselves are in Edit.cpp, ComboBox.cpp,
// ListBox.cpp, Button.cpp, Static.cpp and ProgressCtrl.cpp.
#include "platform/gui/widgets/ControlsInternal.h"

#include <QtGui/QKeyEvent>
#include <QtGui/QMouseEvent>
#include <QtGui/QPainter>
#include <QtWidgets/QAbstractScrollArea>

#include <algorithm>
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

// ---- Helpers -------------------------------------------------------------------------------

Qt::KeyboardModifiers HeldModifiers()
{
    Qt::KeyboardModifiers m;
    if (GetKeyState(VK_SHIFT) < 0) m |= Qt::ShiftModifier;
    if (GetKeyState(VK_CONTROL) < 0) m |= Qt::ControlModifier;
    if (GetKeyState(VK_MENU) < 0) m |= Qt::AltModifier;
    return m;
}

int CopyOut(const QString& text, LPTSTR buf, int max)
{
    if (!buf || max <= 0) return 0;
    std::wstring w = ToWide(text);
    int n = std::min(max - 1, static_cast<int>(w.size()));
    std::copy_n(w.begin(), n, buf);
    buf[n] = 0;
    return n;
}

int CopyAll(const QString& text, LPTSTR buf)
{
    if (!buf) return -1;
    std::wstring w = ToWide(text);
    std::copy(w.begin(), w.end(), buf);
    buf[w.size()] = 0;
    return static_cast<int>(w.size());
}

int FindInList(const QStringList& items, int nStartAfter, const QString& what, bool exact)
{
    int n = static_cast<int>(items.size());
    if (n == 0) return -1;
    int start = (nStartAfter < 0 || nStartAfter >= n) ? 0 : nStartAfter + 1;
    for (int k = 0; k < n; ++k)
    {
        int i = (start + k) % n;
        const QString& t = items[i];
        bool hit = exact ? t.compare(what, Qt::CaseInsensitive) == 0 : t.startsWith(what, Qt::CaseInsensitive);
        if (hit) return i;
    }
    return -1;
}

LRESULT AnswerItemMessage(const ListItems& items, ItemMessage what, WPARAM wParam, LPARAM lParam)
{
    const int index = static_cast<int>(static_cast<INT_PTR>(wParam));
    if (what == ItemMessage::Find || what == ItemMessage::FindExact)
    {
        QStringList texts;
        for (int i = 0; i < items.count; ++i) texts << items.text(i);
        return FindInList(texts, index, ToQString(reinterpret_cast<LPCTSTR>(lParam)), what == ItemMessage::FindExact);
    }
    if (index < 0 || index >= items.count) return -1;
    switch (what)
    {
    case ItemMessage::GetText: return CopyAll(items.text(index), reinterpret_cast<LPTSTR>(lParam));
    case ItemMessage::GetTextLength: return WideLength(items.text(index));
    case ItemMessage::GetData: return static_cast<LRESULT>(items.data(index));
    case ItemMessage::SetData: items.setData(index, static_cast<qulonglong>(lParam)); return 0;
    default: return -1;
    }
}

int SortedPosition(const QStringList& items, const QString& text)
{
    int i = 0;
    while (i < items.size() && items[i].compare(text, Qt::CaseInsensitive) <= 0) ++i;
    return i;
}

namespace {
// Calls a scroll area's protected viewport handler (the viewport's own processing).
struct ViewportAccess : QAbstractScrollArea
{
    using QAbstractScrollArea::viewportEvent;
};

bool RunOnViewport(QWidget* host, QEvent* e)
{
    auto* area = qobject_cast<QAbstractScrollArea*>(host);
    if (!area) return false;
    return (area->*(&ViewportAccess::viewportEvent))(e);
}

} // namespace

void DeliverMouse(WndState* s, QMouseEvent* me, QWidget* source)
{
    auto* area = qobject_cast<QAbstractScrollArea*>(s->widget);
    if (!area)
    {
        s->host->ToolkitEvent(me);
        return;
    }
    if (source == area->viewport())
    {
        RunOnViewport(area, me);
        return;
    }
    QPointF at = area->viewport()->mapFrom(area, me->position());
    QMouseEvent copy(me->type(), at, me->globalPosition(), me->button(), me->buttons(), me->modifiers());
    RunOnViewport(area, &copy);
    me->setAccepted(copy.isAccepted());
}

// ---- The behaviour shared by every native control --------------------------------------------

void ControlBase::ToolkitKey(WndState* s, UINT msg, UINT vk)
{
    bool down = msg == WM_KEYDOWN || msg == WM_SYSKEYDOWN;
    QKeyEvent ev(down ? QEvent::KeyPress : QEvent::KeyRelease, ToQtKey(vk), HeldModifiers(), QString());
    s->host->ToolkitEvent(&ev);
}

void ControlBase::ToolkitChar(WndState* s, wchar_t ch)
{
    QKeyEvent ev(QEvent::KeyPress, Qt::Key_unknown, HeldModifiers(), QString(QChar(static_cast<char16_t>(ch))));
    s->host->ToolkitEvent(&ev);
}

void ControlBase::BeforePaint(WndState* s)
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
    auto brush = reinterpret_cast<HBRUSH>(
        parent->SendMessage(msg, reinterpret_cast<WPARAM>(hdc), reinterpret_cast<LPARAM>(self)));
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
    QPalette::ColorRole textRole = QPalette::Text, backRole = QPalette::Base;
    ColorRoles(textRole, backRole);
    // The toolkit's own colours serve when the answer is the default, unless the control has a
    // background of its own that the default does not paint: a read-only or disabled edit is
    // drawn on the face colour, as the system's are, not on the window colour of a live one.
    const QPalette natural = m_ownPalette ? *m_ownPalette : w->palette();
    const bool naturalBack =
        backRole == QPalette::Window || natural.color(QPalette::Active, backRole) == ToQColor(defBack);
    if (text == defText && back == defBack && naturalBack)
    {
        if (m_ownPalette)
        {
            w->setPalette(*m_ownPalette);
            m_ownPalette.reset();
        }
        return;
    }
    if (!m_ownPalette) m_ownPalette = w->palette();
    QPalette pal = *m_ownPalette;
    for (auto group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled})
    {
        pal.setColor(group, textRole, ToQColor(text));
        if (backRole != QPalette::Window) pal.setColor(group, backRole, ToQColor(back));
    }
    if (pal != w->palette()) w->setPalette(pal);
    if (backRole == QPalette::Window)
    {
        // Controls without a background of their own (static text, check boxes): the
        // brush is painted under what the control draws (we are inside its paint).
        QPainter painter(w);
        painter.fillRect(w->rect(), ToQColor(back));
    }
}

bool ControlBase::Common(WndState* s, UINT msg, WPARAM wParam, LPARAM lParam, LRESULT* result)
{
    switch (msg)
    {
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
        HWND self = s->handle;
        if (QEvent* e = s->host->TakeEvent(msg, &source))
            DeliverMouse(s, static_cast<QMouseEvent*>(e), source);
        else
            SyntheticMouse(s, msg, wParam, lParam);
        if (msg == WM_RBUTTONUP && IsLiveHandle(self))
        {
            // As for any window, the unhandled release asks for the context menu.
            CPoint pt(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
            s->wnd->ClientToScreen(&pt);
            s->wnd->SendMessage(WM_CONTEXTMENU, reinterpret_cast<WPARAM>(self),
                                MAKELPARAM(static_cast<WORD>(pt.x), static_cast<WORD>(pt.y)));
        }
        *result = 0;
        return true;
    }
    case WM_MOUSEWHEEL:
        if (QEvent* e = s->host->TakeEvent(msg))
        {
            s->host->ToolkitEvent(e);
            *result = 0;
            return true;
        }
        return false;                              // to the parent
    case WM_CONTEXTMENU: *result = 0; return true; // the control has its own
    case WM_SYSCOLORCHANGE:
        // Colours the parent gave are asked again at the next paint, over the new look's palette.
        if (m_ownPalette && s->widget)
        {
            s->widget->setPalette(QPalette());
            m_ownPalette.reset();
        }
        if (s->widget) s->widget->update();
        *result = 0;
        return true;
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
        FontChanged(s);
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

void ControlBase::SyntheticMouse(WndState* s, UINT msg, WPARAM wParam, LPARAM lParam)
{
    QEvent::Type type;
    Qt::MouseButton button = Qt::NoButton;
    switch (msg)
    {
    case WM_LBUTTONDOWN:
        type = QEvent::MouseButtonPress;
        button = Qt::LeftButton;
        break;
    case WM_LBUTTONUP:
        type = QEvent::MouseButtonRelease;
        button = Qt::LeftButton;
        break;
    case WM_LBUTTONDBLCLK:
        type = QEvent::MouseButtonDblClick;
        button = Qt::LeftButton;
        break;
    case WM_RBUTTONDOWN:
        type = QEvent::MouseButtonPress;
        button = Qt::RightButton;
        break;
    case WM_RBUTTONUP:
        type = QEvent::MouseButtonRelease;
        button = Qt::RightButton;
        break;
    case WM_MOUSEMOVE: type = QEvent::MouseMove; break;
    default: return;
    }
    Qt::MouseButtons held = ToQtButtons(static_cast<UINT>(wParam));
    if (type == QEvent::MouseButtonPress || type == QEvent::MouseButtonDblClick) held |= button;
    if (type == QEvent::MouseButtonRelease) held &= ~Qt::MouseButtons(button);
    Qt::KeyboardModifiers mods = ToQtModifiers(static_cast<UINT>(wParam));
    QPointF local = QPointF(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)) + QPointF(s->ClientOrigin());
    QMouseEvent ev(type, local, s->widget->mapToGlobal(local), button, held, mods);
    DeliverMouse(s, &ev, s->widget);
}

bool ControlBase::TextMessages(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT* result, const QString& text,
                               const std::function<void(const QString&)>& set)
{
    switch (msg)
    {
    case WM_SETTEXT:
        set(ToQString(reinterpret_cast<LPCTSTR>(lParam)));
        *result = TRUE;
        return true;
    case WM_GETTEXT: *result = CopyOut(text, reinterpret_cast<LPTSTR>(lParam), static_cast<int>(wParam)); return true;
    case WM_GETTEXTLENGTH: *result = WideLength(text); return true;
    default: return false;
    }
}

// ---- The native classes ----------------------------------------------------------------------

namespace {

using Factory = NativeControl* (*)(WndState*, QWidget*);

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
        Factories()[LowerName(CString(name))] = f;
    };
    add(WC_EDIT, NewEditControl);
    add(WC_COMBOBOX, NewComboControl);
    add(WC_LISTBOX, NewListControl);
    add(WC_BUTTON, NewButtonControl);
    add(WC_STATIC, NewStaticControl);
    add(PROGRESS_CLASS, NewProgressControl);
}

void RegisterNativeControlClass(LPCTSTR name, NativeControl* (*make)(WndState*, QWidget*))
{
    WNDCLASS wc{};
    wc.style = CS_DBLCLKS;
    wc.lpszClassName = name;
    RegisterClass(&wc);
    Factories()[LowerName(CString(name))] = make;
}

bool MakeNativeControl(WndState* s, QWidget* parentWidget)
{
    auto it = Factories().find(LowerName(s->className));
    if (it == Factories().end()) return false;
    s->native.reset(it->second(s, parentWidget));
    return s->widget != nullptr;
}

} // namespace qor::gui
