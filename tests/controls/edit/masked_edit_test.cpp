// The masked edit: literals around the input, typing, deletion, caret steering, insert and
// overwrite, the clipboard, text from outside, notifications, length limit and colours.
#include "controls/edit/MaskedEdit.h"

#include "edit_support.h"

using namespace edittest;
using namespace qor::test;

namespace {

class MaskedEditTest : public EditTest<CMaskedEdit>
{};

TEST_F(MaskedEditTest, LabelMaskShowsLiteralsAndKeepsTheCaretInTheInput)
{
    ASSERT_TRUE(edit.SetMask(L"Len: #"));
    EXPECT_EQ(TextOf(edit), CString(L"Len: "));
    EXPECT_EQ(Caret(edit), 5);
    Type(edit, L"12");
    EXPECT_EQ(TextOf(edit), CString(L"Len: 12"));
    EXPECT_EQ(edit.GetInputData(), CString(L"12"));
    EXPECT_EQ(Caret(edit), 7);

    KeyPress(&edit, VK_HOME);
    EXPECT_EQ(Caret(edit), 5);
    KeyPress(&edit, VK_LEFT);
    EXPECT_EQ(Caret(edit), 5);
    KeyPress(&edit, VK_END);
    EXPECT_EQ(Caret(edit), 7);
    KeyPress(&edit, VK_LEFT);
    EXPECT_EQ(Caret(edit), 6);

    // A click on the literal puts the caret at the first input position.
    Click(&edit, CPoint(3, 10));
    EXPECT_EQ(Caret(edit), 5);

    // Backspace at the first input position deletes nothing, and the caret stays there.
    KeyPress(&edit, VK_BACK, L'\b');
    EXPECT_EQ(TextOf(edit), CString(L"Len: 12"));
    EXPECT_EQ(Caret(edit), 5);
    // Backspace after a digit deletes it.
    edit.SetSel(7, 7);
    KeyPress(&edit, VK_BACK, L'\b');
    EXPECT_EQ(TextOf(edit), CString(L"Len: 1"));
    EXPECT_EQ(Caret(edit), 6);
}

TEST_F(MaskedEditTest, TypingOnALiteralBeepsAndMovesTheCaret)
{
    BeepCounter beeps;
    ASSERT_TRUE(edit.SetMask(L"(#) m"));
    Type(edit, L"ab");
    EXPECT_EQ(TextOf(edit), CString(L"(ab) m"));
    edit.SetSel(0, 0);
    Type(edit, L"x");
    EXPECT_EQ(beeps.Count(), 1);
    EXPECT_EQ(beeps.Last(), UINT(MB_ICONEXCLAMATION));
    EXPECT_EQ(TextOf(edit), CString(L"(ab) m"));
    EXPECT_EQ(Caret(edit), 1);
    // Typing over a selection made only of literals changes nothing and beeps.
    edit.SetSel(3, 6);
    Type(edit, L"y");
    EXPECT_EQ(beeps.Count(), 2);
    EXPECT_EQ(TextOf(edit), CString(L"(ab) m"));
    // A selection with input in it is replaced.
    edit.SetSel(0, 2);
    Type(edit, L"z");
    EXPECT_EQ(TextOf(edit), CString(L"(zb) m"));
    EXPECT_EQ(Caret(edit), 2);
}

TEST_F(MaskedEditTest, DigitsAfterARefusedKeyAreHeldBackUntilTheCaretMoves)
{
    const auto hint = [this] {
        CString text;
        return qor::gui::ShownEditBalloon(edit.GetSafeHwnd(), &text) ? text : CString();
    };
    BeepCounter beeps;
    edit.ModifyStyle(0, ES_NUMBER);
    ASSERT_TRUE(edit.SetMask(L"Steps: #"));
    edit.SetFocus();
    // "1,5" typed at speed is not 15: the comma is refused and the 5 held back, the hint in view.
    Type(edit, L"1,5");
    EXPECT_EQ(TextOf(edit), CString(L"Steps: 1"));
    EXPECT_EQ(hint(), CString(L"This field takes whole numbers only"));
    EXPECT_EQ(beeps.Count(), 2);
    // The entry as typed (for the refusal at OK), without the mask's literals; the hold and the
    // hint outlast the focus.
    EXPECT_EQ(edit.GetTypedText(), CString(L"1,5"));
    parent.SetFocus();
    ASSERT_NE(CWnd::GetFocus(), &edit);
    EXPECT_TRUE(edit.IsHoldingDigits());
    EXPECT_EQ(hint(), CString(L"This field takes whole numbers only"));
    edit.SetFocus();
    // A deletion ends the hold and takes the hint away.
    KeyPress(&edit, VK_BACK, L'\b');
    EXPECT_EQ(hint(), CString());
    Type(edit, L"15");
    EXPECT_EQ(TextOf(edit), CString(L"Steps: 15"));
    // So does a move of the caret.
    Type(edit, L"e3");
    EXPECT_EQ(TextOf(edit), CString(L"Steps: 15"));
    KeyPress(&edit, VK_HOME);
    Type(edit, L"2");
    EXPECT_EQ(TextOf(edit), CString(L"Steps: 215"));
}

TEST_F(MaskedEditTest, MaskParsing)
{
    EXPECT_FALSE(edit.SetMask(L"##"));
    EXPECT_EQ(edit.GetMask(), CString(L"#"));
    EXPECT_FALSE(edit.SetMask(L""));
    EXPECT_FALSE(edit.SetMask(L"abc"));
    ASSERT_TRUE(edit.SetMask(L"##x#"));
    EXPECT_EQ(edit.GetPrefix(), CString(L"#x"));
    EXPECT_EQ(edit.GetSuffix(), CString(L""));
    ASSERT_TRUE(edit.SetMask(L"a#b##c#d"));
    EXPECT_EQ(edit.GetPrefix(), CString(L"a"));
    EXPECT_EQ(edit.GetSuffix(), CString(L"b#cd")) << "a second single marker is dropped";
    // A refused mask leaves the one in force.
    EXPECT_FALSE(edit.SetMask(L"####"));
    EXPECT_EQ(edit.GetMask(), CString(L"a#b##c#d"));
    EXPECT_EQ(edit.GetPrefix(), CString(L"a"));
}

TEST_F(MaskedEditTest, OverwriteModeAndInsertToggle)
{
    ASSERT_TRUE(edit.SetMask(L"> #"));
    Type(edit, L"abc");
    EXPECT_TRUE(edit.GetInsertMode());
    KeyPress(&edit, VK_INSERT);
    EXPECT_FALSE(edit.GetInsertMode());
    edit.SetSel(3, 3);
    Type(edit, L"X");
    EXPECT_EQ(TextOf(edit), CString(L"> aXc"));
    EXPECT_EQ(Caret(edit), 4);
    // At the end of the input overwriting adds.
    edit.SetSel(5, 5);
    Type(edit, L"YZ");
    EXPECT_EQ(TextOf(edit), CString(L"> aXcYZ"));
    KeyPress(&edit, VK_INSERT);
    EXPECT_TRUE(edit.GetInsertMode());
    edit.SetSel(3, 3);
    Type(edit, L"-");
    EXPECT_EQ(TextOf(edit), CString(L"> a-XcYZ"));
}

TEST_F(MaskedEditTest, DeleteKeyAndSelections)
{
    ASSERT_TRUE(edit.SetMask(L"[#]"));
    Type(edit, L"abcd");
    // Delete at the end of the input: nothing goes, not the literal either.
    edit.SetSel(5, 5);
    KeyPress(&edit, VK_DELETE);
    EXPECT_EQ(TextOf(edit), CString(L"[abcd]"));
    // Delete on the prefix moves right to the first input character.
    edit.SetSel(0, 0);
    KeyPress(&edit, VK_DELETE);
    EXPECT_EQ(TextOf(edit), CString(L"[bcd]"));
    // A selection over everything deletes only the input.
    edit.SetSel(0, -1);
    KeyPress(&edit, VK_DELETE);
    EXPECT_EQ(TextOf(edit), CString(L"[]"));
    EXPECT_EQ(Caret(edit), 1);
}

TEST_F(MaskedEditTest, TextFromOutsideBecomesTheInputWithoutDoublingTheLiterals)
{
    ASSERT_TRUE(edit.SetMask(L"Len: # m"));
    parent.Reset();
    edit.SetWindowText(L"42");
    EXPECT_EQ(TextOf(edit), CString(L"Len: 42 m"));
    EXPECT_EQ(edit.GetInputData(), CString(L"42"));
    EXPECT_EQ(parent.updates, 1);
    EXPECT_EQ(parent.changes, 0) << "a text set from outside sends no change";
    // The control's own updates notify once each.
    parent.Reset();
    edit.SetSel(7, 7);
    Type(edit, L"7");
    EXPECT_EQ(TextOf(edit), CString(L"Len: 427 m"));
    EXPECT_EQ(parent.updates, 1);
    EXPECT_EQ(parent.changes, 1);
    edit.SetChangeNotification(FALSE);
    Type(edit, L"8");
    EXPECT_EQ(parent.updates, 2);
    EXPECT_EQ(parent.changes, 1);
}

TEST_F(MaskedEditTest, PasteStoresOnlyThePartBetweenTheLiterals)
{
    ASSERT_TRUE(edit.SetMask(L"Len: # m"));
    edit.SetWindowText(L"12");
    // Copied from such a control: the literals come along and are left out.
    ASSERT_TRUE(qor::SetClipboardText(L"Len: 34 m"));
    edit.SetSel(0, -1);
    edit.Paste();
    EXPECT_EQ(TextOf(edit), CString(L"Len: 34 m"));
    EXPECT_EQ(edit.GetInputData(), CString(L"34"));
    // Plain text over the whole selection replaces the input.
    ASSERT_TRUE(qor::SetClipboardText(L"56"));
    edit.SetSel(0, -1);
    edit.Paste();
    EXPECT_EQ(TextOf(edit), CString(L"Len: 56 m"));
    // Without a selection the text goes in at the caret (a caret on a literal goes to the input).
    edit.SetSel(1, 1);
    KeyPress(&edit, 'V', L'\x16', MK_CONTROL);
    EXPECT_EQ(TextOf(edit), CString(L"Len: 5656 m"));
    edit.SetSel(7, 7);
    ASSERT_TRUE(qor::SetClipboardText(L"x\r\nsecond line"));
    KeyPress(&edit, VK_INSERT, 0, MK_SHIFT);
    EXPECT_EQ(TextOf(edit), CString(L"Len: 56x56 m"));
}

TEST_F(MaskedEditTest, CutKeepsTheLiteralsAndCopiesTheSelection)
{
    ASSERT_TRUE(edit.SetMask(L"<#>"));
    edit.SetWindowText(L"abc");
    edit.SetSel(0, 3);
    KeyPress(&edit, 'X', L'\x18', MK_CONTROL);
    EXPECT_EQ(TextOf(edit), CString(L"<c>"));
    CString clip;
    ASSERT_TRUE(qor::GetClipboardText(clip));
    EXPECT_EQ(clip, CString(L"<ab"));
    EXPECT_EQ(Caret(edit), 1);
    // Shift+Delete cuts the same way.
    edit.SetSel(0, -1);
    KeyPress(&edit, VK_DELETE, 0, MK_SHIFT);
    EXPECT_EQ(TextOf(edit), CString(L"<>"));
    ASSERT_TRUE(qor::GetClipboardText(clip));
    EXPECT_EQ(clip, CString(L"<c>"));
}

TEST_F(MaskedEditTest, TheLengthLimitRefusesTypingAndCutsSetText)
{
    BeepCounter beeps;
    edit.LimitText(6);
    ASSERT_TRUE(edit.SetMask(L"N=#;"));
    Type(edit, L"abc");
    EXPECT_EQ(TextOf(edit), CString(L"N=abc;"));
    EXPECT_EQ(beeps.Count(), 0);
    Type(edit, L"d");
    EXPECT_EQ(TextOf(edit), CString(L"N=abc;"));
    EXPECT_EQ(beeps.Count(), 1);
    EXPECT_EQ(Caret(edit), 5);
    edit.SetWindowText(L"123456");
    EXPECT_EQ(TextOf(edit), CString(L"N=123;"));
}

TEST_F(MaskedEditTest, ReadOnlyControlLeavesTypingToTheEdit)
{
    edit.SetWindowText(L"keep");
    edit.SetReadOnly(TRUE);
    Type(edit, L"zz");
    KeyPress(&edit, VK_DELETE);
    EXPECT_EQ(TextOf(edit), CString(L"keep"));
    EXPECT_EQ(edit.GetInputData(), CString(L"keep"));
}

TEST_F(MaskedEditTest, ColoursForNormalReadOnlyAndDisabled)
{
    CDC dc;
    ASSERT_TRUE(dc.CreateCompatibleDC(nullptr));
    edit.SetTextColor(RGB(1, 2, 3));
    edit.SetBackColor(RGB(200, 210, 220));
    HBRUSH brush = edit.CtlColor(&dc, 1);
    ASSERT_NE(brush, nullptr);
    EXPECT_EQ(dc.GetTextColor(), RGB(1, 2, 3));
    EXPECT_EQ(dc.GetBkColor(), RGB(200, 210, 220));
    LOGBRUSH lb{};
    ASSERT_TRUE(CBrush::FromHandle(brush)->GetLogBrush(&lb));
    EXPECT_EQ(lb.lbColor, RGB(200, 210, 220));

    edit.SetReadOnly(TRUE);
    brush = edit.CtlColor(&dc, 1);
    EXPECT_EQ(dc.GetTextColor(), GetSysColor(COLOR_GRAYTEXT));
    ASSERT_TRUE(CBrush::FromHandle(brush)->GetLogBrush(&lb));
    EXPECT_EQ(lb.lbColor, GetSysColor(COLOR_BTNFACE));

    edit.SetReadOnly(FALSE);
    edit.EnableWindow(FALSE);
    edit.CtlColor(&dc, 1);
    EXPECT_EQ(dc.GetTextColor(), GetSysColor(COLOR_GRAYTEXT));
    EXPECT_EQ(dc.GetBkColor(), GetSysColor(COLOR_BTNFACE));
}

TEST_F(MaskedEditTest, TheOwnFontFollowsSetFont)
{
    CFont font;
    ASSERT_TRUE(font.CreatePointFont(120, L"Arial"));
    edit.SetFont(&font);
    ASSERT_NE(edit.GetOwnFont(), nullptr);
    LOGFONT a{}, b{};
    font.GetLogFont(&a);
    edit.GetOwnFont()->GetLogFont(&b);
    EXPECT_EQ(a.lfHeight, b.lfHeight);
    EXPECT_NE(edit.GetOwnFont()->GetSafeHandle(), font.GetSafeHandle()) << "a copy, not the caller's font";
    edit.SendMessage(WM_SETFONT, 0, 0);
    EXPECT_EQ(edit.GetOwnFont(), nullptr);
}

TEST_F(MaskedEditTest, AnItemTakenOverKeepsItsTextAsInput)
{
    CEdit item;
    ASSERT_TRUE(item.Create(WS_CHILD | WS_VISIBLE, CRect(10, 40, 200, 60), &parent, 202));
    item.SetWindowText(L"start");
    CMaskedEdit masked;
    ASSERT_TRUE(masked.SubclassDlgItem(202, &parent));
    EXPECT_EQ(masked.GetInputData(), CString(L"start"));
    EXPECT_EQ(TextOf(masked), CString(L"start"));
    ASSERT_TRUE(masked.SetMask(L"#!"));
    EXPECT_EQ(TextOf(masked), CString(L"!")) << "a new mask empties the input";
    masked.DestroyWindow();
}

} // namespace
