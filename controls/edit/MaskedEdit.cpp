// The masked edit control.
#include "controls/edit/MaskedEdit.h"

#include "platform/gui/widgets/RefusedKeyHint.h"

#include <algorithm>

IMPLEMENT_DYNAMIC(CMaskedEdit, CEdit)

BEGIN_MESSAGE_MAP(CMaskedEdit, CEdit)
ON_WM_CHAR()
ON_WM_KEYDOWN()
ON_WM_LBUTTONDOWN()
ON_WM_SETFOCUS()
ON_WM_SETTINGCHANGE()
ON_MESSAGE(WM_SETTEXT, OnSetText)
ON_MESSAGE(WM_SETFONT, OnSetFontMsg)
ON_MESSAGE(WM_CUT, OnCut)
ON_MESSAGE(WM_CLEAR, OnClear)
ON_MESSAGE(WM_PASTE, OnPaste)
ON_MESSAGE(WM_UNDO, OnUndo)
ON_MESSAGE(EM_UNDO, OnUndo)
END_MESSAGE_MAP()

namespace {

// Raises a counter for the life of the object.
struct DepthGuard
{
    int& depth;
    explicit DepthGuard(int& d) : depth(d) { ++depth; }
    ~DepthGuard() { --depth; }
    DepthGuard(const DepthGuard&) = delete;
    DepthGuard& operator=(const DepthGuard&) = delete;
};

} // namespace

CMaskedEdit::CMaskedEdit()
    : m_crText(GetSysColor(COLOR_WINDOWTEXT)), m_crBack(GetSysColor(COLOR_WINDOW)), m_strMask(L"#"),
      m_crReadOnlyBack(GetSysColor(COLOR_BTNFACE)), m_crReadOnlyText(GetSysColor(COLOR_GRAYTEXT))
{}

CMaskedEdit::~CMaskedEdit() = default;

// ---- Mask ---------------------------------------------------------------------------------------

bool CMaskedEdit::SplitMask(const CString& mask, std::wstring& prefix, std::wstring& suffix)
{
    prefix.clear();
    suffix.clear();
    bool marker = false;
    const int n = mask.GetLength();
    for (int i = 0; i < n; ++i)
    {
        const wchar_t c = mask[i];
        if (c == L'#')
        {
            if (i + 1 < n && mask[i + 1] == L'#')
            {
                (marker ? suffix : prefix) += L'#';
                ++i;
                continue;
            }
            if (!marker) marker = true;
            // further single markers are dropped
            continue;
        }
        (marker ? suffix : prefix) += c;
    }
    return marker;
}

BOOL CMaskedEdit::SetMask(LPCTSTR lpszMask)
{
    CString mask = lpszMask ? lpszMask : L"";
    if (mask.IsEmpty() || mask.Find(L'#') < 0) return FALSE;
    std::wstring prefix, suffix;
    if (!SplitMask(mask, prefix, suffix)) return FALSE; // only "##" pairs: the mask in force stays as it is
    EmptyMask();
    m_prefix = prefix;
    m_suffix = suffix;
    m_strMask = mask;
    ReformatInput();
    RedrawText(PrefixLength());
    return TRUE;
}

// ---- Data -----------------------------------------------------------------------------------------

CString CMaskedEdit::GetInputData() const { return CString(m_input.c_str()); }

BOOL CMaskedEdit::SetInputData(LPCTSTR lpszText, int nPos)
{
    if (nPos < 0 || nPos > InputLength()) return FALSE;
    std::size_t pos = static_cast<std::size_t>(nPos);
    for (const wchar_t* p = lpszText ? lpszText : L""; *p; ++p, ++pos)
    {
        if (m_bInsertMode || pos >= m_input.size())
            m_input.insert(pos, 1, *p);
        else
            m_input[pos] = *p;
    }
    ReformatInput();
    // Text beyond the edit's limit is cut off rather than shown in part.
    if (OverLimit())
    {
        const int room =
            std::max(0, static_cast<int>(GetLimitText()) - PrefixLength() - static_cast<int>(m_suffix.size()));
        m_input.resize(std::min<std::size_t>(m_input.size(), static_cast<std::size_t>(room)));
        ReformatInput();
    }
    RebuildText();
    return TRUE;
}

void CMaskedEdit::EmptyData(BOOL bInputOnly)
{
    if (bInputOnly)
        m_input.clear();
    else
        EmptyMask();
    RedrawText(PrefixLength());
}

void CMaskedEdit::NotifyBadInput()
{
    CString hint = m_strRefusal;
    m_strRefusal.Empty();
    if (m_chTyped)
    {
        RefuseKey(m_chTyped, hint.IsEmpty() ? RefusalHint(m_chTyped) : hint);
        return;
    }
    MessageBeep(MB_ICONEXCLAMATION);
    // The beep alone goes unheard on a desktop without sound: the reason shows beside the field.
    qor::gui::ShowRefusal(*this, hint);
}

void CMaskedEdit::RefuseKey(TCHAR ch, const CString& hint)
{
    MessageBeep(MB_ICONEXCLAMATION);
    // The entry as typed, for the refusal at OK: what the field shows, with the key where it was
    // typed over the caret or selection. The literals of the number itself (a sign, parentheses)
    // belong to it; the mask's do not.
    if (m_bHeld)
    {
        m_strTypedBefore += ch;
    }
    else
    {
        std::wstring maskPrefix, maskSuffix;
        SplitMask(m_strMask, maskPrefix, maskSuffix);
        const std::size_t prefixKept = std::min(maskPrefix.size(), m_prefix.size());
        const std::size_t suffixKept = m_suffix.size() - std::min(maskSuffix.size(), m_suffix.size());
        int start = 0, end = 0;
        GetSel(start, end);
        const int from = std::clamp(start - PrefixLength(), 0, InputLength());
        const int to = std::clamp(end - PrefixLength(), from, InputLength());
        m_strTypedBefore = CString(m_prefix.substr(prefixKept).c_str()) + InputAsTyped(0, from) + ch;
        m_strTypedAfter = InputAsTyped(to, InputLength()) + CString(m_suffix.substr(0, suffixKept).c_str());
    }
    // The next digits typed at speed would join the number as if the refused key had not been
    // there ("1,5" as 15): they are held back, and the reason stays beside the field meanwhile.
    m_bHeld = true;
    m_strHeld = hint;
    qor::gui::ShowRefusal(*this, hint, true);
}

bool CMaskedEdit::ReleasesHold(TCHAR) const { return false; }

bool CMaskedEdit::HoldsBack(TCHAR ch)
{
    if (!m_bHeld)
    {
        HideBalloonTip(); // a new key takes the last refusal's tip away
        return false;
    }
    // A digit over the whole number replaces it: nothing for it to join.
    const bool replacesAll = SelectionCoversInput();
    if (ch >= L'0' && ch <= L'9' && !replacesAll)
    {
        m_strTypedBefore += ch;
        MessageBeep(MB_ICONEXCLAMATION);
        qor::gui::ShowRefusal(*this, m_strHeld, true);
        return true;
    }
    if (replacesAll || ReleasesHold(ch)) ReleaseHold();
    return false;
}

void CMaskedEdit::ReleaseHold()
{
    if (!m_bHeld) return;
    m_bHeld = false;
    m_strHeld.Empty();
    m_strTypedBefore.Empty();
    m_strTypedAfter.Empty();
    HideBalloonTip();
}

bool CMaskedEdit::SelectionCoversInput() const
{
    int start = 0, end = 0;
    GetSel(start, end);
    return start != end && start <= PrefixLength() && end >= PrefixLength() + InputLength();
}

bool CMaskedEdit::HoldsBackPaste()
{
    if (!m_bHeld || SelectionCoversInput()) return false;
    MessageBeep(MB_ICONEXCLAMATION);
    qor::gui::ShowRefusal(*this, m_strHeld, true);
    return true;
}

CString CMaskedEdit::RefusalHint(TCHAR ch) const
{
    int start = 0, end = 0;
    GetSel(start, end);
    if (start == end && !IsInsertPosition(start)) return L"Type within the field's entry, not in its fixed text";
    CString hint;
    hint.Format(L"'%c' cannot be typed here", ch);
    return hint;
}

BOOL CMaskedEdit::UpdateSettings() { return TRUE; }

BOOL CMaskedEdit::InitControl()
{
    UpdateSettings();
    if (CFont* font = GetFont())
    {
        LOGFONT lf{};
        if (font->GetLogFont(&lf))
        {
            m_font.DeleteObject();
            m_font.CreateFontIndirect(&lf);
        }
    }
    CString text;
    GetWindowText(text);
    EmptyData(FALSE);
    SetInputData(text, 0);
    m_bInitialized = true;
    return TRUE;
}

int CMaskedEdit::ReformatInput() { return 0; }

void CMaskedEdit::EmptyMask()
{
    m_prefix.clear();
    m_suffix.clear();
    m_input.clear();
}

void CMaskedEdit::OnLiteralsChanged() {}

CString CMaskedEdit::GetHeldRefusal(LPCTSTR what) const
{
    return m_bHeld ? qor::gui::TypedRefusal(what, GetTypedText(), m_strHeld) : CString();
}

CString CMaskedEdit::InputAsTyped(int nFrom, int nTo) const
{
    nFrom = std::clamp(nFrom, 0, InputLength());
    nTo = std::clamp(nTo, nFrom, InputLength());
    return CString(m_input.substr(static_cast<std::size_t>(nFrom), static_cast<std::size_t>(nTo - nFrom)).c_str());
}

// ---- Positions -------------------------------------------------------------------------------------

BOOL CMaskedEdit::IsInputPosition(int nPos) const
{
    return nPos >= PrefixLength() && nPos < PrefixLength() + InputLength();
}

BOOL CMaskedEdit::IsInsertPosition(int nPos) const
{
    return nPos >= PrefixLength() && nPos <= PrefixLength() + InputLength();
}

int CMaskedEdit::GetNextInputPosition(int nPos) const
{
    for (int p = std::max(nPos, 0); p <= PrefixLength() + InputLength(); ++p)
        if (IsInsertPosition(p)) return p;
    return PrefixLength() + InputLength();
}

int CMaskedEdit::GetPrevInputPosition(int nPos) const
{
    for (int p = std::min(nPos, PrefixLength() + InputLength()); p >= 0; --p)
        if (IsInsertPosition(p)) return p;
    return PrefixLength();
}

// ---- Editing ---------------------------------------------------------------------------------------

int CMaskedEdit::DeleteRange(int& nStart, int& nEnd)
{
    int removed = 0;
    wchar_t highest = 0, lowest = 0;
    std::size_t lowIndex = 0;
    for (int p = nEnd - 1; p >= nStart; --p)
    {
        if (!IsInputPosition(p)) continue;
        const std::size_t i = static_cast<std::size_t>(p - PrefixLength());
        if (removed == 0) highest = m_input[i];
        lowest = m_input[i];
        lowIndex = i;
        m_input.erase(i, 1);
        ++removed;
    }
    if (removed == 0) return 0;
    // Line breaks go whole: a carriage return takes its line feed along, and the reverse.
    if (lowest == L'\r' && lowIndex < m_input.size() && m_input[lowIndex] == L'\n')
    {
        m_input.erase(lowIndex, 1);
        ++removed;
    }
    if (highest == L'\n' && lowIndex > 0 && m_input[lowIndex - 1] == L'\r')
    {
        m_input.erase(lowIndex - 1, 1);
        ++removed;
        --nStart;
    }
    if (m_hWnd) RebuildText();
    return removed;
}

int CMaskedEdit::InsertAt(int nPos, TCHAR ch)
{
    if (!IsInsertPosition(nPos)) nPos = GetNextInputPosition(nPos + 1);
    const std::wstring before = m_input;
    m_input.insert(static_cast<std::size_t>(nPos - PrefixLength()), 1, ch);
    nPos += ReformatInput();
    if (OverLimit())
    {
        m_input = before;
        ReformatInput();
        return -1;
    }
    RebuildText();
    return nPos;
}

int CMaskedEdit::SetAt(int nPos, TCHAR ch)
{
    const std::wstring before = m_input;
    if (!IsInputPosition(nPos))
    {
        // At the end of the input, overwriting adds the character.
        if (nPos == PrefixLength() + InputLength())
        {
            m_input.push_back(ch);
        }
        else
        {
            nPos = GetNextInputPosition(nPos + 1);
            if (!IsInputPosition(nPos)) return -1;
            m_input[static_cast<std::size_t>(nPos - PrefixLength())] = ch;
        }
    }
    else
    {
        m_input[static_cast<std::size_t>(nPos - PrefixLength())] = ch;
    }
    nPos += ReformatInput();
    if (OverLimit())
    {
        m_input = before;
        ReformatInput();
        return -1;
    }
    RebuildText();
    return nPos;
}

bool CMaskedEdit::OverLimit() const
{
    if (!m_hWnd) return false;
    const UINT limit = GetLimitText();
    return limit > 0 && static_cast<UINT>(TextLength()) > limit;
}

// ---- Window text ------------------------------------------------------------------------------------

void CMaskedEdit::RebuildText()
{
    if (!m_hWnd) return;
    const std::wstring text = m_prefix + m_input + m_suffix;
    CString current;
    GetWindowText(current);
    if (text != current.GetString())
    {
        DepthGuard depth(m_nSetTextDepth);
        SetWindowText(text.c_str());
    }
    SetModify(TRUE);
}

void CMaskedEdit::RedrawText(int nCaret)
{
    if (!m_hWnd) return;
    RebuildText();
    if (nCaret >= 0) SetCaret(GetNextInputPosition(nCaret));
}

void CMaskedEdit::SetCaret(int nPos)
{
    if (m_hWnd) SetSel(nPos, nPos);
}

LRESULT CMaskedEdit::OnSetText(WPARAM, LPARAM lParam)
{
    if (m_nSetTextDepth > 0)
    {
        // The control's own update: the edit shows it, and the parent hears of it once.
        m_bToolkitEcho = true;
        LRESULT r = Default();
        m_bToolkitEcho = false;
        if (CWnd* parent = GetParent())
        {
            const WPARAM id = static_cast<WPARAM>(GetDlgCtrlID());
            parent->SendMessage(WM_COMMAND, MAKEWPARAM(static_cast<WORD>(id), EN_UPDATE),
                                reinterpret_cast<LPARAM>(m_hWnd));
            if (m_bChangeNotify && m_hWnd)
                parent->SendMessage(WM_COMMAND, MAKEWPARAM(static_cast<WORD>(id), EN_CHANGE),
                                    reinterpret_cast<LPARAM>(m_hWnd));
        }
        return r;
    }
    // Text from outside becomes the input.
    ReleaseHold();
    const CString text = lParam ? reinterpret_cast<LPCTSTR>(lParam) : L"";
    const BOOL saved = m_bChangeNotify;
    m_bChangeNotify = FALSE;
    m_input.clear();
    SetInputData(text, 0);
    m_bChangeNotify = saved;
    return TRUE;
}

BOOL CMaskedEdit::OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult)
{
    if (message == WM_COMMAND && m_bToolkitEcho)
    {
        // The toolkit's own echo of our text update; OnSetText reports it.
        const UINT code = HIWORD(wParam);
        if (code == EN_UPDATE || code == EN_CHANGE) return TRUE;
    }
    if (message == WM_CTLCOLOREDIT || message == WM_CTLCOLORSTATIC)
    {
        HBRUSH brush = CtlColor(CDC::FromHandle(reinterpret_cast<HDC>(wParam)),
                                message == WM_CTLCOLOREDIT ? 1u : 6u); // CTLCOLOR_EDIT, CTLCOLOR_STATIC
        if (pResult) *pResult = reinterpret_cast<LRESULT>(brush);
        return brush != nullptr;
    }
    return CEdit::OnChildNotify(message, wParam, lParam, pResult);
}

// ---- Initialisation, font, settings ------------------------------------------------------------------

void CMaskedEdit::PreSubclassWindow()
{
    CEdit::PreSubclassWindow();
    if (!m_bInitialized) InitControl();
}

LRESULT CMaskedEdit::OnSetFontMsg(WPARAM wParam, LPARAM)
{
    if (!m_bSettingFont)
    {
        m_font.DeleteObject();
        if (HFONT h = reinterpret_cast<HFONT>(wParam))
        {
            LOGFONT lf{};
            if (CFont::FromHandle(h)->GetLogFont(&lf)) m_font.CreateFontIndirect(&lf);
        }
    }
    return Default();
}

void CMaskedEdit::OnSettingChange(UINT uFlags, LPCTSTR lpszSection)
{
    CEdit::OnSettingChange(uFlags, lpszSection);
    const CString input = GetInputData();
    UpdateSettings();
    EmptyData(TRUE);
    SetInputData(input, 0);
}

void CMaskedEdit::OnSetFocus(CWnd* pOldWnd)
{
    CEdit::OnSetFocus(pOldWnd);
    if (!m_bKeepSelOnFocus)
    {
        int a = 0, b = 0;
        GetSel(a, b);
        if (a == 0 && b == GetWindowTextLength() && b > 0) SetCaret(GetNextInputPosition(0));
    }
    if (m_font.GetSafeHandle())
    {
        m_bSettingFont = true;
        SetFont(&m_font, FALSE);
        m_bSettingFont = false;
    }
}

// ---- Colours ------------------------------------------------------------------------------------------

HBRUSH CMaskedEdit::CtlColor(CDC* pDC, UINT)
{
    COLORREF text = m_crText, back = m_crBack;
    if (!IsWindowEnabled())
    {
        text = GetSysColor(COLOR_GRAYTEXT);
        back = GetSysColor(COLOR_BTNFACE);
    }
    else if (IsReadOnly())
    {
        text = m_crReadOnlyText;
        back = m_crReadOnlyBack;
    }
    if (pDC)
    {
        pDC->SetTextColor(text);
        pDC->SetBkColor(back);
        if (m_font.GetSafeHandle()) pDC->SelectObject(&m_font);
    }
    // One brush for all controls, made anew for each answer.
    static CBrush s_brush;
    s_brush.DeleteObject();
    s_brush.CreateSolidBrush(back);
    return static_cast<HBRUSH>(s_brush.GetSafeHandle());
}

void CMaskedEdit::RedrawColors()
{
    if (m_hWnd) Invalidate();
}

// ---- Typing -------------------------------------------------------------------------------------------

void CMaskedEdit::DeleteMoving(int nStart, int nEnd, int nStep)
{
    const int caret = nStart;
    const int limitRight = PrefixLength() + InputLength();
    int a = nStart, b = nEnd;
    for (;;)
    {
        int s = a, e = b;
        if (DeleteRange(s, e) > 0)
        {
            RedrawText(-1);
            SetCaret(GetNextInputPosition(s));
            return;
        }
        a += nStep;
        b += nStep;
        if (a < 0 || a > limitRight) break;
    }
    SetCaret(GetNextInputPosition(caret)); // nothing to delete: the caret stays in the input
}

void CMaskedEdit::OnChar(UINT nChar, UINT nRepCnt, UINT nFlags)
{
    if (IsReadOnly())
    {
        CEdit::OnChar(nChar, nRepCnt, nFlags);
        return;
    }
    const DWORD style = GetStyle();
    wchar_t ch = static_cast<wchar_t>(nChar);
    if (ch == L'\n')
    {
        if (!(style & ES_MULTILINE))
        {
            CEdit::OnChar(nChar, nRepCnt, nFlags);
            return;
        }
        ch = L'\r';
    }
    const bool enter = ch == L'\r' && (style & ES_MULTILINE) && (style & ES_WANTRETURN);
    if (ch < 0x20 && ch != L'\b' && !enter)
    {
        // The clipboard keys go through the clipboard messages, which keep the input whole.
        switch (ch)
        {
        case 0x03: SendMessage(WM_COPY); return;
        case 0x16: SendMessage(WM_PASTE); return;
        case 0x18: SendMessage(WM_CUT); return;
        case 0x1A: SendMessage(WM_UNDO); return;
        default:
            // Ctrl+A and the like move the caret; Tab, Enter and Escape leave the field as it is.
            if (ch != L'\t' && ch != L'\r' && ch != 0x1B) ReleaseHold();
            CEdit::OnChar(nChar, nRepCnt, nFlags);
            return;
        }
    }

    int start = 0, end = 0;
    GetSel(start, end);

    // A refused key holds the digits back until a deletion; a new key otherwise takes the last
    // refusal's tip away, and a refused one shows its own.
    if (ch == L'\b')
        ReleaseHold();
    else if (HoldsBack(ch))
        return;
    struct Typing
    {
        TCHAR& typed;
        Typing(TCHAR& t, TCHAR c) : typed(t) { typed = c; }
        ~Typing() { typed = 0; }
        Typing(const Typing&) = delete;
        Typing& operator=(const Typing&) = delete;
    } typing(m_chTyped, ch);

    if (ch == L'\b')
    {
        if (start != end)
            DeleteMoving(start, end, -1);
        else if (start > 0)
            DeleteMoving(start - 1, start, -1);
        else
            SetCaret(GetNextInputPosition(0));
        return;
    }

    if ((style & ES_NUMBER) && !(ch >= L'0' && ch <= L'9') && !enter)
    {
        // Digits only: the field says so and holds back the digits that follow.
        RefuseKey(ch, qor::gui::RefusedKeyHint(ch, qor::gui::NumberKeys{}));
        return;
    }

    auto write = [&](int pos, bool overwrite) {
        int r = overwrite ? SetAt(pos, ch) : InsertAt(pos, ch);
        if (r >= 0 && enter) r = InsertAt(r + 1, L'\n');
        if (r < 0)
        {
            NotifyBadInput();
            SetCaret(start);
            return;
        }
        SetCaret(r + 1);
    };

    if (start == end)
    {
        if (IsInsertPosition(start))
        {
            write(start, !m_bInsertMode);
        }
        else
        {
            NotifyBadInput();
            SetCaret(GetNextInputPosition(start));
        }
        return;
    }
    int s = start, e = end;
    if (DeleteRange(s, e) > 0)
    {
        start = GetNextInputPosition(s);
        write(start, false);
    }
    else
    {
        NotifyBadInput();
        SetCaret(GetNextInputPosition(start));
    }
}

void CMaskedEdit::OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags)
{
    if (IsReadOnly())
    {
        CEdit::OnKeyDown(nChar, nRepCnt, nFlags);
        return;
    }
    const bool shift = GetKeyState(VK_SHIFT) < 0;
    const bool ctrl = GetKeyState(VK_CONTROL) < 0;
    int start = 0, end = 0;
    // Deleting and moving the caret end a refusal's hold (a paste does not).
    if (nChar == VK_DELETE || nChar == VK_HOME || nChar == VK_END || nChar == VK_LEFT || nChar == VK_RIGHT ||
        nChar == VK_UP || nChar == VK_DOWN)
        ReleaseHold();
    switch (nChar)
    {
    case VK_DELETE:
        if (shift)
        {
            SendMessage(WM_CUT); // keeps the input whole, unlike the edit's own cut
            return;
        }
        GetSel(start, end);
        if (start != end)
            DeleteMoving(start, end, +1);
        else
            DeleteMoving(start, start + 1, +1);
        return;
    case VK_INSERT:
        if (shift && !ctrl)
        {
            SendMessage(WM_PASTE);
            return;
        }
        if (!shift && !ctrl)
        {
            m_bInsertMode = !m_bInsertMode;
            return;
        }
        CEdit::OnKeyDown(nChar, nRepCnt, nFlags);
        return;
    case VK_HOME:
    case VK_LEFT:
    case VK_UP:
    case VK_END:
    case VK_RIGHT:
    case VK_DOWN: {
        CEdit::OnKeyDown(nChar, nRepCnt, nFlags);
        if (shift) return;
        GetSel(start, end);
        const int caret = end;
        if (nChar == VK_LEFT || nChar == VK_UP)
            SetCaret(GetPrevInputPosition(caret));
        else if (nChar == VK_RIGHT || nChar == VK_DOWN)
            SetCaret(GetNextInputPosition(caret));
        else if (!IsInsertPosition(caret))
            SetCaret(nChar == VK_HOME ? GetNextInputPosition(caret) : GetPrevInputPosition(caret));
        return;
    }
    default: CEdit::OnKeyDown(nChar, nRepCnt, nFlags); return;
    }
}

void CMaskedEdit::OnLButtonDown(UINT nFlags, CPoint point)
{
    ReleaseHold();
    CEdit::OnLButtonDown(nFlags, point);
    int start = 0, end = 0;
    GetSel(start, end);
    if (start == end && !IsInsertPosition(start)) SetCaret(GetNextInputPosition(0));
}

// ---- Clipboard ----------------------------------------------------------------------------------------

LRESULT CMaskedEdit::OnCut(WPARAM, LPARAM)
{
    if (IsReadOnly()) return Default();
    ReleaseHold();
    int start = 0, end = 0;
    GetSel(start, end);
    if (start == end) return 0;
    // The selection as shown goes to the clipboard; only input characters leave the text.
    CString text;
    GetWindowText(text);
    qor::SetClipboardText(text.Mid(start, end - start));
    return OnClear(0, 0);
}

LRESULT CMaskedEdit::OnClear(WPARAM, LPARAM)
{
    if (IsReadOnly()) return Default();
    ReleaseHold();
    int start = 0, end = 0;
    GetSel(start, end);
    if (start == end) return 0;
    int s = start, e = end;
    DeleteRange(s, e);
    RedrawText(s);
    return 0;
}

LRESULT CMaskedEdit::OnPaste(WPARAM, LPARAM)
{
    if (IsReadOnly() || HoldsBackPaste()) return 0;
    CString clip;
    if (!qor::GetClipboardText(clip)) return 0;
    std::wstring text = clip.GetString();
    if (!(GetStyle() & ES_MULTILINE))
    {
        const std::size_t nl = text.find_first_of(L"\r\n");
        if (nl != std::wstring::npos) text.resize(nl); // a single line takes the first line
    }
    // Pasted text that carries the literals (copied from such a control) gives its input.
    if (!m_prefix.empty() && text.compare(0, m_prefix.size(), m_prefix) == 0) text.erase(0, m_prefix.size());
    if (!m_suffix.empty() && text.size() >= m_suffix.size() &&
        text.compare(text.size() - m_suffix.size(), m_suffix.size(), m_suffix) == 0)
        text.erase(text.size() - m_suffix.size());

    int start = 0, end = 0;
    GetSel(start, end);
    // The pasted text replaces the input part of the selection.
    const int from = std::clamp(start - PrefixLength(), 0, InputLength());
    const int to = std::clamp(end - PrefixLength(), from, InputLength());
    std::wstring input =
        m_input.substr(0, static_cast<std::size_t>(from)) + text + m_input.substr(static_cast<std::size_t>(to));
    const BOOL insert = m_bInsertMode;
    m_bInsertMode = TRUE;
    m_input.clear();
    SetInputData(input.c_str(), 0);
    m_bInsertMode = insert;
    SetCaret(GetNextInputPosition(start));
    return 0;
}

void CMaskedEdit::TakeInputFromWindow()
{
    CString current;
    GetWindowText(current);
    std::wstring text = current.GetString();
    if (!m_prefix.empty() && text.compare(0, m_prefix.size(), m_prefix) == 0) text.erase(0, m_prefix.size());
    if (!m_suffix.empty() && text.size() >= m_suffix.size() &&
        text.compare(text.size() - m_suffix.size(), m_suffix.size(), m_suffix) == 0)
        text.erase(text.size() - m_suffix.size());
    m_input.clear();
    const BOOL insert = m_bInsertMode;
    m_bInsertMode = TRUE;
    SetInputData(text.c_str(), 0);
    m_bInsertMode = insert;
}

LRESULT CMaskedEdit::OnUndo(WPARAM, LPARAM)
{
    if (IsReadOnly()) return FALSE;
    ReleaseHold();
    // The edit undoes its last text; the input follows what it shows.
    LRESULT r = Default();
    int start = 0, end = 0;
    GetSel(start, end);
    TakeInputFromWindow();
    SetCaret(GetNextInputPosition(std::min(start, TextLength())));
    return r;
}
