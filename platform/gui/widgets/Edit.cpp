// The edit control over QLineEdit (multi-line: QPlainTextEdit): typing, one level of undo,
// the EM_ messages and the EN_ notifications; and its wrapper class CEdit.
#include "platform/gui/widgets/ControlsInternal.h"

#include <QtGui/QClipboard>
#include <QtGui/QFocusEvent>
#include <QtGui/QKeyEvent>
#include <QtGui/QPainter>
#include <QtWidgets/QApplication>
#include <QtWidgets/QLineEdit>
#include <QtWidgets/QPlainTextEdit>
#include <QtWidgets/QScrollBar>

#include <algorithm>
#include <optional>
#include <string>

namespace qor::gui {

namespace {

// Keys whose typing arrives as WM_CHAR: their WM_KEYDOWN leaves the text to the character.
bool MakesCharacter(UINT vk)
{
    if ((vk >= 'A' && vk <= 'Z') || (vk >= '0' && vk <= '9')) return true;
    if (vk >= VK_NUMPAD0 && vk <= VK_DIVIDE) return true;
    if (vk >= VK_OEM_1 && vk <= VK_OEM_7) return true;
    return vk == VK_SPACE || vk == VK_BACK || vk == VK_TAB || vk == VK_RETURN || vk == VK_ESCAPE;
}

class EditControl : public ControlBase
{
public:
    QLineEdit* line = nullptr;
    QPlainTextEdit* plain = nullptr;
    HWND combo = nullptr;  // the combo box whose edit part this is
    int limit = 0;         // 0: the toolkit's maximum
    bool userEdit = false; // the change comes from typing, cutting, pasting or undoing
    bool settingText = false;

    // One level of undo, as the system's edit keeps it: the text and selection before the
    // last undoable change. Typing (or deleting) on from where the last keystroke left the
    // caret belongs to the same change. Undoing swaps the two states, so a second undo redoes.
    struct UndoState
    {
        QString text;
        int selStart = 0, selEnd = 0;
    };
    enum class Run
    {
        None,
        Typing,
        Deleting
    };
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
        if (st & ES_MULTILINE)
        {
            auto* h = new Host<QPlainTextEdit>(s, true, parentWidget);
            plain = h;
            s->widget = h;
            s->host = h;
            h->HostViewport(h->viewport());
            if (!frame) h->setFrameStyle(QFrame::NoFrame);
            h->setLineWrapMode((st & (WS_HSCROLL | ES_AUTOHSCROLL)) ? QPlainTextEdit::NoWrap
                                                                    : QPlainTextEdit::WidgetWidth);
            h->setVerticalScrollBarPolicy((st & WS_VSCROLL) ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAlwaysOff);
            h->setHorizontalScrollBarPolicy((st & WS_HSCROLL) ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAlwaysOff);
            h->setReadOnly(st & ES_READONLY);
            h->setContextMenuPolicy(Qt::NoContextMenu);
            h->setUndoRedoEnabled(false); // the control keeps its own undo (Undoable)
            h->setAcceptDrops(false);
        }
        else
        {
            auto* h = new Host<QLineEdit>(s, true, parentWidget);
            line = h;
            s->widget = h;
            s->host = h;
            // In a window that draws itself (a grid's cell editor) the border is the program's
            // one-pixel line, not the toolkit's rounded focus frame; in dialogs the toolkit's
            // frame matches the toolkit's other controls there (a dialog is of the class "#32770").
            CWnd* parent = s->parent;
            flatBorder = frame && parent && !StateOf(parent)->IsNative() &&
                         StateOf(parent)->className.CompareNoCase(L"#32770") != 0;
            h->setFrame(frame && !flatBorder);
            if (flatBorder) h->setTextMargins(1, 1, 1, 1);
            Qt::Alignment a = (st & ES_RIGHT) ? Qt::AlignRight : (st & ES_CENTER) ? Qt::AlignHCenter : Qt::AlignLeft;
            h->setAlignment(a | Qt::AlignVCenter);
            h->setReadOnly(st & ES_READONLY);
            if (st & ES_PASSWORD) h->setEchoMode(QLineEdit::Password);
            h->setMaxLength(32767);
            h->setContextMenuPolicy(Qt::NoContextMenu);
            h->setAcceptDrops(false);
        }
    }

    bool flatBorder = false;
    void AfterPaint(WndState*) override
    {
        if (!flatBorder || !line) return;
        QPainter p(line);
        p.setPen(ToQColor(GetSysColor(COLOR_WINDOWFRAME)));
        p.setBrush(Qt::NoBrush);
        p.drawRect(QRectF(0.5, 0.5, line->width() - 1, line->height() - 1));
    }

    void Created(WndState* s) override
    {
        HWND h = s->handle;
        SetText(s, ToQString(s->text.GetString()), false);
        auto changed = [this, h]() {
            WndState* st = StateOf(h);
            if (!st || settingText) return;
            if (combo)
            {
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
        if (line)
            QObject::connect(line, &QLineEdit::textChanged, line, changed);
        else
            QObject::connect(plain, &QPlainTextEdit::textChanged, plain, changed);
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
        if (line)
            line->setText(text);
        else
        {
            QString t = text;
            t.replace(QLatin1String("\r\n"), QLatin1String("\n"));
            plain->setPlainText(t);
        }
        settingText = saved;
        s->text = FromQString(text);
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

    int Length() const
    {
        return line ? static_cast<int>(line->text().size()) : static_cast<int>(plain->toPlainText().size());
    }
    bool ReadOnly() const { return line ? line->isReadOnly() : plain->isReadOnly(); }
    int Limit() const { return limit > 0 ? limit : (plain ? 0x7FFFFFFE : 32767); }

    void GetSelection(int& start, int& end) const
    {
        if (line)
        {
            if (line->hasSelectedText())
            {
                start = line->selectionStart();
                end = start + static_cast<int>(line->selectedText().size());
            }
            else
            {
                start = end = line->cursorPosition();
            }
        }
        else
        {
            QTextCursor c = plain->textCursor();
            start = c.selectionStart();
            end = c.selectionEnd();
        }
    }

    void SetSelection(int start, int end)
    {
        int len = Length();
        if (start == -1)
        { // deselect, caret stays
            int a, b;
            GetSelection(a, b);
            start = end = b;
        }
        else if (start == 0 && end == -1)
        {
            end = len;
        }
        if (end < 0) end = len;
        start = std::clamp(start, 0, len);
        end = std::clamp(end, 0, len);
        if (line)
        {
            if (start == end)
                line->setCursorPosition(start);
            else
                line->setSelection(start, end - start); // the caret ends at `end`
        }
        else
        {
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
        if (room < static_cast<int>(t.size()))
        {
            t = t.left(std::max(room, 0));
            NotifyParent(s, EN_MAXTEXT);
            if (t.isEmpty()) return;
        }
        if (line)
            line->insert(t);
        else
            plain->insertPlainText(t);
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
        switch (ch)
        {
        case 0x01:
            if (line)
                line->selectAll();
            else
                plain->selectAll();
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
        if ((s->style & ES_NUMBER) && !(ch >= L'0' && ch <= L'9'))
        {
            MessageBeep(0);
            ShowEditBalloon(s->handle, CString(), L"Only digits can be typed here");
            return;
        }
        HideEditBalloon(s->handle);
        QString t(QChar(static_cast<char16_t>(ch)));
        if (s->style & ES_UPPERCASE) t = t.toUpper();
        if (s->style & ES_LOWERCASE) t = t.toLower();
        AsUser([&] { Undoable(Run::Typing, [&] { Insert(s, t); }); });
    }

    void SendCopy()
    {
        if (line)
            line->copy();
        else
            plain->copy();
    }
    void Cut()
    {
        if (line)
            line->cut();
        else
            plain->cut();
    }
    void Paste(WndState* s)
    {
        QString t = QGuiApplication::clipboard() ? QGuiApplication::clipboard()->text() : QString();
        if (line)
        {
            int nl = static_cast<int>(t.indexOf(QLatin1Char('\n')));
            if (nl >= 0) t = t.left(nl); // a single line takes the first line
            t.remove(QLatin1Char('\r'));
        }
        else
        {
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
        if (line)
        {
            line->setText(back.text);
            line->setModified(true);
        }
        else
        {
            plain->setPlainText(back.text);
            plain->document()->setModified(true);
        }
        SetSelection(back.selStart, back.selEnd);
        return true;
    }
    void ClearSelection()
    {
        if (line)
            line->del();
        else
            plain->textCursor().removeSelectedText();
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
        switch (msg)
        {
        case WM_SETTEXT:
            SetText(s, ToQString(reinterpret_cast<LPCTSTR>(lParam)), true);
            *result = TRUE;
            return true;
        case WM_GETTEXT:
            *result = CopyOut(Text(), reinterpret_cast<LPTSTR>(lParam), static_cast<int>(wParam));
            return true;
        case WM_GETTEXTLENGTH: *result = WideLength(Text()); return true;
        case WM_CHAR: Typed(s, static_cast<wchar_t>(wParam)); return true;
        case WM_KEYDOWN: {
            UINT vk = static_cast<UINT>(wParam);
            if (combo && (vk == VK_UP || vk == VK_DOWN || vk == VK_PRIOR || vk == VK_NEXT || vk == VK_F4))
            {
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
            EditBalloonFollowsFocus(s->handle, true);
            if (combo)
            {
                Common(s, msg, wParam, lParam, result);
                HWND other = reinterpret_cast<HWND>(wParam);
                if (other != combo) NotifyParent(StateOf(combo), CBN_SETFOCUS);
                return true;
            }
            return false;
        case WM_KILLFOCUS:
            EditBalloonFollowsFocus(s->handle, false);
            if (combo)
            {
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
            *result = static_cast<LRESULT>(
                MAKELONG(static_cast<WORD>(std::min(a, 0xFFFF)), static_cast<WORD>(std::min(b, 0xFFFF))));
            return true;
        }
        case EM_SETSEL: SetSelection(static_cast<int>(wParam), static_cast<int>(lParam)); return true;
        case EM_SCROLLCARET:
            if (plain) plain->ensureCursorVisible();
            return true;
        case EM_REPLACESEL:
            if (wParam)
            {
                Undoable(Run::None, [&] { Insert(s, ToQString(reinterpret_cast<LPCTSTR>(lParam))); });
            }
            else
            {
                Insert(s, ToQString(reinterpret_cast<LPCTSTR>(lParam)));
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
        case EM_GETMODIFY:
            *result = (line ? line->isModified() : plain->document()->isModified()) ? TRUE : FALSE;
            return true;
        case EM_SETMODIFY:
            if (line)
                line->setModified(wParam != 0);
            else
                plain->document()->setModified(wParam != 0);
            return true;
        case EM_GETLINECOUNT: *result = line ? 1 : plain->document()->blockCount(); return true;
        case EM_SETREADONLY:
            if (line)
                line->setReadOnly(wParam != 0);
            else
                plain->setReadOnly(wParam != 0);
            if (wParam)
                s->style |= ES_READONLY;
            else
                s->style &= ~ES_READONLY;
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

} // namespace

NativeControl* NewEditControl(WndState* s, QWidget* parentWidget) { return new EditControl(s, parentWidget); }

QLineEdit* MakeComboEditPart(WndState* edit, HWND combo)
{
    auto* ec = static_cast<EditControl*>(edit->native.get());
    ec->combo = combo;
    return ec->line;
}

void SetComboEditText(WndState* edit, const QString& text)
{
    auto* ec = static_cast<EditControl*>(edit->native.get());
    bool saved = ec->settingText;
    ec->settingText = true;
    ec->line->setText(text);
    ec->settingText = saved;
    ec->ForgetUndo();
    edit->text = FromQString(text);
}

} // namespace qor::gui

using namespace qor::gui;
using namespace qor::gui::wrap;

// ---- CEdit -----------------------------------------------------------------------------------

IMPLEMENT_DYNAMIC(CEdit, CWnd)

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
    SetSel(static_cast<int>(static_cast<short>(LOWORD(dwSelection))),
           static_cast<int>(static_cast<short>(HIWORD(dwSelection))), bNoScroll);
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
BOOL CEdit::SetReadOnly(BOOL bReadOnly)
{
    return static_cast<BOOL>(SendMessage(EM_SETREADONLY, static_cast<WPARAM>(bReadOnly)));
}
void CEdit::SetPasswordChar(TCHAR ch) { SendMessage(EM_SETPASSWORDCHAR, ch); }
BOOL CEdit::Undo() { return static_cast<BOOL>(SendMessage(EM_UNDO)); }
void CEdit::Clear() { SendMessage(WM_CLEAR); }
void CEdit::Copy() { SendMessage(WM_COPY); }
void CEdit::Cut() { SendMessage(WM_CUT); }
void CEdit::Paste() { SendMessage(WM_PASTE); }
