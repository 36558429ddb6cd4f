// The edit control: typing through the toolkit changes the text and notifies the parent; a
// subclass decides which keys the control sees; selection, replacement, limits, undo,
// clipboard, focus notifications and the dialog code.
#include "tests/platform/gui/widgets/ctl_support.h"

#include <gtest/gtest.h>

using namespace ctltest;
using namespace qor::test;

namespace {

// Swallows digits: they never reach the control; everything else is left to it.
class CNoDigitsEdit : public CEdit
{
public:
    int swallowed = 0;
    std::vector<UINT> keysSeen;

protected:
    void OnChar(UINT nChar, UINT nRepCnt, UINT nFlags)
    {
        if (nChar >= L'0' && nChar <= L'9')
        {
            ++swallowed;
            return;
        }
        CEdit::OnChar(nChar, nRepCnt, nFlags);
    }
    void OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags)
    {
        keysSeen.push_back(nChar);
        if (nChar == VK_HOME) return; // Home never moves the caret here
        CEdit::OnKeyDown(nChar, nRepCnt, nFlags);
    }
    UINT OnGetDlgCode() { return DLGC_WANTALLKEYS; }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CNoDigitsEdit, CEdit)
ON_WM_CHAR()
ON_WM_KEYDOWN()
ON_WM_GETDLGCODE()
END_MESSAGE_MAP()

class EditTest : public ::testing::Test
{
protected:
    CRecordingParent parent;
    void SetUp() override { ASSERT_TRUE(parent.CreateTop()); }
    void Type(CWnd& w, const wchar_t* text)
    {
        for (const wchar_t* p = text; *p; ++p)
        {
            wchar_t c = *p;
            UINT vk = (c >= L'a' && c <= L'z') ? UINT(c - L'a' + 'A') : (c >= L'0' && c <= L'9') ? UINT(c) : VK_SPACE;
            KeyPress(&w, vk, c);
        }
    }
};

TEST_F(EditTest, TypingChangesTheTextAndSendsChangeNotifications)
{
    CEdit edit;
    ASSERT_TRUE(edit.Create(WS_VISIBLE | WS_BORDER | ES_AUTOHSCROLL, CRect(10, 10, 200, 34), &parent, 7));
    EXPECT_EQ(edit.GetClassName().CompareNoCase(L"Edit"), 0);
    EXPECT_TRUE(parent.got.empty()) << "creation sends no change";
    Type(edit, L"ab c");
    EXPECT_EQ(TextOf(edit), CString(L"ab c"));
    EXPECT_EQ(parent.Count(EN_CHANGE, 7), 4);
    EXPECT_EQ(parent.Count(EN_UPDATE, 7), 4);
    // EN_UPDATE comes before EN_CHANGE, from the edit's handle.
    ASSERT_GE(parent.got.size(), 2u);
    EXPECT_EQ(parent.got[0].code, UINT(EN_UPDATE));
    EXPECT_EQ(parent.got[1].code, UINT(EN_CHANGE));
    EXPECT_EQ(parent.got[1].from, edit.m_hWnd);

    // Backspace arrives as a character and deletes; Left/Delete work through the key.
    KeyPress(&edit, VK_BACK, L'\b');
    EXPECT_EQ(TextOf(edit), CString(L"ab "));
    KeyPress(&edit, VK_HOME);
    KeyPress(&edit, VK_DELETE);
    EXPECT_EQ(TextOf(edit), CString(L"b "));
    // Setting the text from outside is reported too (single-line edit).
    parent.got.clear();
    edit.SetWindowText(L"xyz");
    EXPECT_EQ(parent.Count(EN_CHANGE), 1);
    EXPECT_EQ(edit.GetWindowTextLength(), 3);
}

TEST_F(EditTest, ASubclassKeepsDigitsOutWhileLettersGoIn)
{
    CNoDigitsEdit edit;
    ASSERT_TRUE(edit.Create(WS_VISIBLE | WS_BORDER, CRect(10, 10, 200, 34), &parent, 8));
    Type(edit, L"a1b22c");
    EXPECT_EQ(TextOf(edit), CString(L"abc"));
    EXPECT_EQ(edit.swallowed, 3);
    EXPECT_EQ(parent.Count(EN_CHANGE), 3);
    // A swallowed key: Home does not move the caret; End (left to the default) does.
    edit.SetSel(1, 1);
    KeyPress(&edit, VK_HOME);
    int a = -1, b = -1;
    edit.GetSel(a, b);
    EXPECT_EQ(a, 1);
    KeyPress(&edit, VK_END);
    edit.GetSel(a, b);
    EXPECT_EQ(a, 3);
    EXPECT_EQ(b, 3);
    // A message sent by code takes the same path as typing.
    edit.SendMessage(WM_CHAR, L'7', 0);
    edit.SendMessage(WM_CHAR, L'd', 0);
    EXPECT_EQ(TextOf(edit), CString(L"abcd"));
    // The subclass answers the dialog code; the plain edit answers its own.
    EXPECT_EQ(edit.SendMessage(WM_GETDLGCODE), LRESULT(DLGC_WANTALLKEYS));
    CEdit plain;
    ASSERT_TRUE(plain.Create(WS_VISIBLE, CRect(0, 40, 100, 60), &parent, 9));
    LRESULT code = plain.SendMessage(WM_GETDLGCODE);
    EXPECT_TRUE(code & DLGC_HASSETSEL);
    EXPECT_TRUE(code & DLGC_WANTCHARS);
    EXPECT_FALSE(code & DLGC_WANTALLKEYS);
}

TEST_F(EditTest, SelectionReplacementAndCaret)
{
    CEdit edit;
    ASSERT_TRUE(edit.Create(WS_VISIBLE, CRect(10, 10, 200, 34), &parent, 7));
    edit.SetWindowText(L"hello world");
    edit.SetSel(0, 5);
    EXPECT_EQ(edit.GetSel(), DWORD(MAKELONG(0, 5)));
    edit.ReplaceSel(L"HELLO");
    EXPECT_EQ(TextOf(edit), CString(L"HELLO world"));
    int a, b;
    edit.GetSel(a, b);
    EXPECT_EQ(a, 5);
    EXPECT_EQ(b, 5);
    // A reversed selection is the same range; (0, -1) selects all; (-1, x) deselects.
    edit.SetSel(11, 6);
    edit.GetSel(a, b);
    EXPECT_EQ(a, 6);
    EXPECT_EQ(b, 11);
    edit.SetSel(0, -1);
    edit.GetSel(a, b);
    EXPECT_EQ(a, 0);
    EXPECT_EQ(b, 11);
    // Typing replaces the selection.
    KeyPress(&edit, 'Z', L'z');
    EXPECT_EQ(TextOf(edit), CString(L"z"));
    edit.SetSel(-1, 0);
    edit.GetSel(a, b);
    EXPECT_EQ(a, b);
}

TEST_F(EditTest, LimitReadOnlyUndoAndClipboard)
{
    CEdit edit;
    ASSERT_TRUE(edit.Create(WS_VISIBLE, CRect(10, 10, 200, 34), &parent, 7));
    edit.SetLimitText(3);
    EXPECT_EQ(edit.GetLimitText(), 3u);
    for (wchar_t c : {L'a', L'b', L'c', L'd'}) edit.SendMessage(WM_CHAR, c, 0);
    EXPECT_EQ(TextOf(edit), CString(L"abc"));
    EXPECT_EQ(parent.Count(EN_MAXTEXT), 1);
    edit.SetSel(0, 3);
    edit.ReplaceSel(L"12345");
    EXPECT_EQ(TextOf(edit), CString(L"123")) << "a replacement is cut to the limit";

    edit.LimitText(0);
    edit.SetWindowText(L"abc");
    EXPECT_FALSE(edit.CanUndo()) << "setting the text empties the undo buffer";
    edit.SetSel(3, 3);
    edit.SendMessage(WM_CHAR, L'd', 0);
    EXPECT_TRUE(edit.CanUndo());
    EXPECT_TRUE(edit.Undo());
    EXPECT_EQ(TextOf(edit), CString(L"abc"));

    edit.SetSel(0, 2);
    edit.Cut();
    EXPECT_EQ(TextOf(edit), CString(L"c"));
    edit.SetSel(1, 1);
    edit.Paste();
    EXPECT_EQ(TextOf(edit), CString(L"cab"));
    edit.SetSel(0, 1);
    edit.Clear();
    EXPECT_EQ(TextOf(edit), CString(L"ab"));
    KeyPress(&edit, 'A', 0x01, MK_CONTROL); // Ctrl+A selects all
    int a = -1, b = -1;
    edit.GetSel(a, b);
    EXPECT_EQ(a, 0);
    EXPECT_EQ(b, 2);

    EXPECT_TRUE(edit.SetReadOnly(TRUE));
    EXPECT_TRUE(edit.GetStyle() & ES_READONLY);
    edit.SetSel(2, 2);
    edit.SendMessage(WM_CHAR, L'x', 0);
    KeyPress(&edit, VK_BACK, L'\b');
    edit.Paste();
    EXPECT_EQ(TextOf(edit), CString(L"ab")) << "a read-only edit takes no typing";
    edit.SetReadOnly(FALSE);
    edit.SendMessage(WM_CHAR, L'x', 0);
    EXPECT_EQ(TextOf(edit), CString(L"abx"));

    CEdit number;
    ASSERT_TRUE(number.Create(WS_VISIBLE | ES_NUMBER, CRect(0, 40, 100, 60), &parent, 9));
    int beeps = qor::gui::BeepCount();
    CString hint;
    for (wchar_t c : {L'1', L'x'}) number.SendMessage(WM_CHAR, c, 0);
    // The refused key says why at once, just below the field; the next digit clears it.
    CRect where, field;
    ASSERT_TRUE(qor::gui::ShownEditBalloon(number.m_hWnd, &hint, &where));
    EXPECT_EQ(hint, CString(L"Only digits can be typed here"));
    number.GetWindowRect(&field);
    EXPECT_EQ(where.left, field.left);
    EXPECT_GE(where.top, field.bottom);
    number.SendMessage(WM_CHAR, L'2', 0);
    EXPECT_FALSE(qor::gui::ShownEditBalloon(number.m_hWnd));
    EXPECT_EQ(TextOf(number), CString(L"12"));
    EXPECT_EQ(qor::gui::BeepCount(), beeps + 1);

    // The program's own balloon: a title line above the text; it goes on request and with the
    // focus.
    number.SetFocus();
    ASSERT_TRUE(number.ShowBalloonTip(L"Title", L"Text", TTI_INFO));
    ASSERT_TRUE(qor::gui::ShownEditBalloon(number.m_hWnd, &hint));
    EXPECT_EQ(hint, CString(L"Title\nText"));
    EXPECT_TRUE(number.HideBalloonTip());
    EXPECT_FALSE(qor::gui::ShownEditBalloon(number.m_hWnd));
    EXPECT_FALSE(number.ShowBalloonTip(nullptr, L"", TTI_NONE)) << "an empty text shows nothing";
    number.ShowBalloonTip(nullptr, L"Again", TTI_NONE);
    edit.SetFocus();
    EXPECT_FALSE(qor::gui::ShownEditBalloon(number.m_hWnd));
}

TEST_F(EditTest, FocusChangesSendSetAndKillFocus)
{
    CEdit first, second;
    ASSERT_TRUE(first.Create(WS_VISIBLE, CRect(10, 10, 200, 34), &parent, 1));
    ASSERT_TRUE(second.Create(WS_VISIBLE, CRect(10, 40, 200, 64), &parent, 2));
    parent.got.clear();
    first.SetFocus();
    EXPECT_EQ(CWnd::GetFocus(), &first);
    EXPECT_EQ(parent.Count(EN_SETFOCUS, 1), 1);
    second.SetFocus();
    EXPECT_EQ(parent.Count(EN_KILLFOCUS, 1), 1);
    EXPECT_EQ(parent.Count(EN_SETFOCUS, 2), 1);
    // Kill before set, as the focus moves.
    std::vector<UINT> codes = parent.Codes();
    ASSERT_EQ(codes.size(), 3u);
    EXPECT_EQ(codes[1], UINT(EN_KILLFOCUS));
    EXPECT_EQ(codes[2], UINT(EN_SETFOCUS));
    // The toolkit's focus arriving at a window reports it the same way.
    FocusIn(&first);
    EXPECT_EQ(CWnd::GetFocus(), &first);
    EXPECT_EQ(parent.Count(EN_SETFOCUS, 1), 2);
    EXPECT_EQ(parent.Count(EN_KILLFOCUS, 2), 1);
}

TEST_F(EditTest, MultiLineEditKeepsLineBreaksAndTakesReturn)
{
    CEdit edit;
    ASSERT_TRUE(
        edit.Create(WS_VISIBLE | ES_MULTILINE | ES_WANTRETURN | WS_VSCROLL, CRect(10, 10, 200, 100), &parent, 5));
    edit.SetWindowText(L"one\r\ntwo");
    EXPECT_EQ(TextOf(edit), CString(L"one\r\ntwo"));
    EXPECT_EQ(edit.GetLineCount(), 2);
    EXPECT_EQ(parent.Count(EN_CHANGE), 0) << "a multi-line edit does not report WM_SETTEXT";
    edit.SetSel(8, 8);
    KeyPress(&edit, VK_RETURN, L'\r');
    KeyPress(&edit, 'X', L'x');
    EXPECT_EQ(TextOf(edit), CString(L"one\r\ntwo\r\nx"));
    EXPECT_EQ(parent.Count(EN_CHANGE), 2);
    EXPECT_TRUE(edit.SendMessage(WM_GETDLGCODE) & DLGC_WANTALLKEYS);
    // The mouse reaches the control through its viewport and places the caret.
    MouseDown(&edit, CPoint(2, 4));
    MouseUp(&edit, CPoint(2, 4));
    int a, b;
    edit.GetSel(a, b);
    EXPECT_EQ(a, 0);
}

TEST_F(EditTest, DestroyingTheParentDestroysTheEdit)
{
    auto* edit = new CEdit;
    ASSERT_TRUE(edit->Create(WS_VISIBLE, CRect(10, 10, 200, 34), &parent, 3));
    HWND h = edit->m_hWnd;
    parent.DestroyWindow();
    EXPECT_FALSE(IsWindow(h));
    EXPECT_EQ(edit->m_hWnd, nullptr);
    delete edit;
}

} // namespace
