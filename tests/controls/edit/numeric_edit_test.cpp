// The numeric edit: SetValue and the value after typing, decimals, grouping, leading zero,
// negative formats and colour, the integer-digit cap, deletion around the separator,
// paste, and the locale (read at start and after a settings change).
#include "controls/edit/NumericEdit.h"

#include "edit_support.h"

#include <cmath>
#include <string>
#include <vector>

using namespace edittest;
using namespace qor::test;

namespace {

class NumericEditTest : public EditTest<CNumericEdit>
{
protected:
    void TearDown() override { qor::gui::ResetLocaleProfile(); }
};

TEST_F(NumericEditTest, StartsAsZeroWithTheLocaleDefaults)
{
    EXPECT_EQ(TextOf(edit), CString(L"0.00"));
    EXPECT_EQ(edit.m_dValue, 0.0);
    EXPECT_EQ(edit.GetDecimalSeparator(), L'.');
    EXPECT_EQ(edit.GetGroupSeparator(), L',');
    EXPECT_EQ(edit.GetNegativeFormat(), CString(L"-1.1"));
}

TEST_F(NumericEditTest, SetValueShowsTheRoundedNumberAndHoldsIt)
{
    ASSERT_TRUE(edit.SetValue(1234567.891));
    EXPECT_EQ(TextOf(edit), CString(L"1,234,567.89"));
    EXPECT_DOUBLE_EQ(edit.m_dValue, 1234567.89);
    edit.SetValue(-3.256);
    EXPECT_EQ(TextOf(edit), CString(L"-3.26"));
    EXPECT_DOUBLE_EQ(edit.m_dValue, -3.26);
    EXPECT_TRUE(edit.IsNegative());
    edit.SetValue(7);
    EXPECT_EQ(TextOf(edit), CString(L"7.00"));
    EXPECT_DOUBLE_EQ(edit.m_dValue, 7.0);
    EXPECT_FALSE(edit.IsNegative());
    // A negative value too small to show is a plain zero.
    edit.SetValue(-0.001);
    EXPECT_EQ(TextOf(edit), CString(L"0.00"));
    EXPECT_FALSE(edit.IsNegative());
    EXPECT_EQ(edit.m_dValue, 0.0);
}

TEST_F(NumericEditTest, NegativeFormatAndTheSignKey)
{
    ASSERT_TRUE(edit.SetNegativeFormat(L"(1.1)"));
    edit.SetNegativeColor(RGB(255, 0, 0));
    edit.SetValue(-5);
    EXPECT_EQ(TextOf(edit), CString(L"(5.00)"));
    EXPECT_DOUBLE_EQ(edit.m_dValue, -5.0);
    CDC dc;
    ASSERT_TRUE(dc.CreateCompatibleDC(nullptr));
    edit.CtlColor(&dc, 1);
    EXPECT_EQ(dc.GetTextColor(), RGB(255, 0, 0));

    // '-' toggles the sign wherever the caret is, keeping the caret before the same digit.
    edit.SetSel(0, 0);
    Type(edit, L"-");
    EXPECT_EQ(TextOf(edit), CString(L"5.00"));
    EXPECT_DOUBLE_EQ(edit.m_dValue, 5.0);
    edit.CtlColor(&dc, 1);
    EXPECT_EQ(dc.GetTextColor(), edit.GetTextColor());
    edit.SetSel(2, 2);
    Type(edit, L"-");
    EXPECT_EQ(TextOf(edit), CString(L"(5.00)"));
    EXPECT_EQ(Caret(edit), 3);
    EXPECT_DOUBLE_EQ(edit.m_dValue, -5.0);

    EXPECT_FALSE(edit.SetNegativeFormat(L"neg"));
    EXPECT_EQ(edit.GetNegativeFormat(), CString(L"(1.1)"));
    ASSERT_TRUE(edit.SetNegativeFormat(L"1.1 -"));
    EXPECT_EQ(TextOf(edit), CString(L"5.00 -"));
    ASSERT_TRUE(edit.SetPositiveFormat(L"+1.1"));
    edit.SetValue(2);
    EXPECT_EQ(TextOf(edit), CString(L"+2.00"));
}

TEST_F(NumericEditTest, LeadingZeroOption)
{
    edit.SetLeadingZero(FALSE);
    edit.SetValue(0.5);
    EXPECT_EQ(TextOf(edit), CString(L".50"));
    EXPECT_DOUBLE_EQ(edit.m_dValue, 0.5);
    edit.SetLeadingZero(TRUE);
    EXPECT_EQ(TextOf(edit), CString(L"0.50"));
    edit.SetValue(0.5);
    EXPECT_EQ(TextOf(edit), CString(L"0.50"));
}

TEST_F(NumericEditTest, NoDecimals)
{
    BeepCounter beeps;
    ASSERT_TRUE(edit.SetDecimalDigitCount(0));
    edit.SetValue(2.6);
    EXPECT_EQ(TextOf(edit), CString(L"3"));
    EXPECT_DOUBLE_EQ(edit.m_dValue, 3.0);
    edit.SetSel(1, 1);
    Type(edit, L".");
    EXPECT_EQ(beeps.Count(), 1);
    EXPECT_EQ(TextOf(edit), CString(L"3"));
    // Back to two decimals pads the number.
    edit.SetDecimalDigitCount(2);
    EXPECT_EQ(TextOf(edit), CString(L"3.00"));
    // And three to one cuts it.
    edit.SetValue(1.25);
    edit.SetDecimalDigitCount(1);
    EXPECT_EQ(TextOf(edit), CString(L"1.2"));
    EXPECT_DOUBLE_EQ(edit.m_dValue, 1.2);
}

TEST_F(NumericEditTest, TypingANumberFromEmpty)
{
    parent.Reset();
    edit.SetSel(0, 0);
    Type(edit, L"1234");
    EXPECT_EQ(TextOf(edit), CString(L"1,234.00"));
    EXPECT_EQ(Caret(edit), 5);
    Type(edit, L".5");
    EXPECT_EQ(TextOf(edit), CString(L"1,234.50"));
    EXPECT_EQ(Caret(edit), 7);
    EXPECT_DOUBLE_EQ(edit.m_dValue, 1234.5);
    EXPECT_GE(parent.changes, 5);
    // A digit in the middle of the integer part regroups and the caret follows it.
    edit.SetSel(1, 1);
    Type(edit, L"9");
    EXPECT_EQ(TextOf(edit), CString(L"19,234.50"));
    EXPECT_EQ(Caret(edit), 2);
    EXPECT_DOUBLE_EQ(edit.m_dValue, 19234.5);
}

TEST_F(NumericEditTest, DecimalsAreOverwrittenNotGrown)
{
    edit.SetValue(1);
    edit.SetSel(1, 1);
    Type(edit, L".");
    EXPECT_EQ(Caret(edit), 2) << "the separator key jumps behind the separator";
    Type(edit, L"45");
    EXPECT_EQ(TextOf(edit), CString(L"1.45"));
    EXPECT_DOUBLE_EQ(edit.m_dValue, 1.45);
    edit.SetSel(2, 2);
    Type(edit, L"7");
    EXPECT_EQ(TextOf(edit), CString(L"1.75"));
    EXPECT_EQ(Caret(edit), 3);
    // With the decimals full at the end, another digit is refused.
    BeepCounter beeps;
    edit.SetSel(4, 4);
    Type(edit, L"9");
    EXPECT_EQ(TextOf(edit), CString(L"1.75"));
    EXPECT_EQ(beeps.Count(), 1);
}

TEST_F(NumericEditTest, LeadingZerosAndLetters)
{
    BeepCounter beeps;
    edit.SetValue(5);
    edit.SetSel(0, 0);
    Type(edit, L"0");
    EXPECT_EQ(TextOf(edit), CString(L"5.00"));
    EXPECT_EQ(beeps.Count(), 1) << "no zero in front of other digits";
    edit.SetValue(0);
    edit.SetSel(0, 0);
    Type(edit, L"0");
    EXPECT_EQ(beeps.Count(), 1);
    EXPECT_EQ(Caret(edit), 1);
    // A letter over a selection is refused without deleting the selection.
    edit.SetValue(12.5);
    edit.SetSel(0, -1);
    Type(edit, L"x");
    EXPECT_EQ(beeps.Count(), 2);
    EXPECT_EQ(TextOf(edit), CString(L"12.50"));
    // A digit over the selection replaces the number.
    Type(edit, L"8");
    EXPECT_EQ(TextOf(edit), CString(L"8.00"));
    EXPECT_DOUBLE_EQ(edit.m_dValue, 8.0);
}

TEST_F(NumericEditTest, DigitsBeyondWhatADoubleHoldsAreRefused)
{
    BeepCounter beeps;
    edit.SetValue(0);
    edit.SetSel(0, 0);
    // 309 nines are past the largest double: the last one must not make the value infinite.
    Type(edit, std::wstring(309, L'9').c_str());
    EXPECT_TRUE(std::isfinite(edit.m_dValue));
    EXPECT_GT(edit.m_dValue, 9e307);
    EXPECT_EQ(beeps.Count(), 1);
    EXPECT_EQ(edit.GetInputData().GetLength(), 308 + 3); // 308 digits, the separator, 2 decimals
}

TEST_F(NumericEditTest, MaximumIntegerDigitsOverwrite)
{
    edit.SetMaxIntegerDigits(3);
    edit.SetValue(123);
    edit.SetSel(1, 1);
    Type(edit, L"9");
    EXPECT_EQ(TextOf(edit), CString(L"193.00"));
    EXPECT_DOUBLE_EQ(edit.m_dValue, 193.0);
    edit.SetSel(3, 3);
    BeepCounter beeps;
    Type(edit, L"4");
    EXPECT_EQ(TextOf(edit), CString(L"193.00")) << "a full integer part does not spill into the decimals";
    EXPECT_EQ(beeps.Count(), 1);
}

TEST_F(NumericEditTest, DeletionKeepsTheSeparatorAndEmptyingShowsZero)
{
    edit.SetValue(12.34);
    edit.SetSel(1, 4);
    KeyPress(&edit, VK_DELETE);
    EXPECT_EQ(TextOf(edit), CString(L"1.40"));
    EXPECT_DOUBLE_EQ(edit.m_dValue, 1.4);
    // Backspace over a group separator deletes the digit before it.
    edit.SetValue(1234);
    edit.SetSel(2, 2);
    KeyPress(&edit, VK_BACK, L'\b');
    EXPECT_EQ(TextOf(edit), CString(L"234.00"));
    EXPECT_EQ(Caret(edit), 0);
    // Everything, sign included.
    edit.SetValue(-56.78);
    edit.SetSel(0, -1);
    KeyPress(&edit, VK_DELETE);
    EXPECT_EQ(TextOf(edit), CString(L"0.00"));
    EXPECT_EQ(edit.m_dValue, 0.0);
    EXPECT_FALSE(edit.IsNegative());
    edit.SetValue(3);
    edit.SetWindowText(L"");
    EXPECT_EQ(TextOf(edit), CString(L"0.00"));
    EXPECT_EQ(edit.m_dValue, 0.0);
}

TEST_F(NumericEditTest, PasteAndTextFromOutside)
{
    ASSERT_TRUE(qor::SetClipboardText(L"-1,234.5"));
    edit.SetSel(0, -1);
    edit.Paste();
    EXPECT_EQ(TextOf(edit), CString(L"-1,234.50"));
    EXPECT_DOUBLE_EQ(edit.m_dValue, -1234.5);
    edit.SetWindowText(L"98765.4321");
    EXPECT_EQ(TextOf(edit), CString(L"98,765.43"));
    EXPECT_DOUBLE_EQ(edit.m_dValue, 98765.43);
}

TEST_F(NumericEditTest, TextThatIsNoNumberIsRefusedWholeNeverStrippedIntoAnother)
{
    BeepCounter beeps;
    edit.SetValue(2.5);
    // Set from outside: a misplaced group separator, a number too small to hold, letters.
    for (const wchar_t* text : {L"1,5", L"5e-324", L"12abc", L"1e999", L"0x10", L"--3", L"1.2.3"})
    {
        edit.SetWindowText(text);
        EXPECT_EQ(TextOf(edit), CString(L"2.50")) << CString(text).ToUtf8();
        EXPECT_EQ(edit.m_dValue, 2.5) << CString(text).ToUtf8();
    }
    EXPECT_EQ(beeps.Count(), 7);
    // An exponent writes the number it means; grouping where it belongs is taken.
    edit.SetWindowText(L"1e6");
    EXPECT_EQ(edit.m_dValue, 1e6);
    EXPECT_EQ(TextOf(edit), CString(L"1,000,000.00"));
    edit.SetWindowText(L"1,234.5");
    EXPECT_EQ(edit.m_dValue, 1234.5);
    // Pasted alike, over the whole number or into it.
    ASSERT_TRUE(qor::SetClipboardText(L"abc"));
    edit.SetSel(0, -1);
    edit.Paste();
    EXPECT_EQ(TextOf(edit), CString(L"1,234.50"));
    ASSERT_TRUE(qor::SetClipboardText(L"1,5"));
    edit.SetSel(0, -1);
    edit.Paste();
    EXPECT_EQ(edit.m_dValue, 1234.5);
    ASSERT_TRUE(qor::SetClipboardText(L"2.5e3"));
    edit.SetSel(0, -1);
    edit.Paste();
    EXPECT_EQ(edit.m_dValue, 2500.0);
    EXPECT_EQ(beeps.Count(), 9);
    // A typed letter changes nothing and is heard.
    edit.SetSel(0, 0);
    Type(edit, L"e");
    EXPECT_EQ(edit.m_dValue, 2500.0);
    EXPECT_EQ(beeps.Count(), 10);
}

// The parent reads the value when it hears of a change: the value must be the one of the text
// shown by then, not the one before the last key.
class CValueReader : public CWnd
{
public:
    CNumericEdit* edit = nullptr;
    std::vector<double> seen;

protected:
    void OnEditChange()
    {
        if (edit) seen.push_back(edit->GetValue());
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CValueReader, CWnd)
ON_EN_CHANGE(kEditId, OnEditChange)
END_MESSAGE_MAP()

TEST(NumericEditValue, ChangeNotificationsCarryTheValueShown)
{
    CValueReader parent;
    ASSERT_TRUE(parent.CreateEx(0, AfxRegisterWndClass(0), L"parent", WS_OVERLAPPEDWINDOW | WS_VISIBLE,
                                CRect(0, 0, 400, 200), nullptr, 0));
    CNumericEdit edit;
    ASSERT_TRUE(edit.Create(WS_CHILD | WS_VISIBLE, CRect(10, 10, 300, 34), &parent, kEditId));
    parent.edit = &edit;
    edit.SetFocus();
    edit.SetSel(0, -1);
    Type(edit, L"40");
    ASSERT_FALSE(parent.seen.empty());
    EXPECT_EQ(parent.seen.back(), 40.0);
    EXPECT_EQ(edit.GetValue(), 40.0);
    Type(edit, L"-");
    EXPECT_EQ(parent.seen.back(), -40.0);
}

TEST(NumericEditLocale, CommaDecimalLocale)
{
    qor::gui::LocaleProfile de;
    de.decimal = L",";
    de.thousand = L".";
    qor::gui::SetLocaleProfile(de);
    CCountingParent parent;
    ASSERT_TRUE(parent.CreateTop());
    CNumericEdit edit;
    ASSERT_TRUE(edit.Create(WS_CHILD | WS_VISIBLE, CRect(10, 10, 300, 34), &parent, kEditId));
    edit.SetValue(1234.5);
    EXPECT_EQ(TextOf(edit), CString(L"1.234,50"));
    EXPECT_DOUBLE_EQ(edit.m_dValue, 1234.5);
    // The point key still enters the decimal separator.
    edit.SetValue(7);
    edit.SetSel(1, 1);
    Type(edit, L".25");
    EXPECT_EQ(TextOf(edit), CString(L"7,25"));
    EXPECT_DOUBLE_EQ(edit.m_dValue, 7.25);
    // The comma key is the decimal point here; "1,5" from outside means one and a half.
    edit.SetValue(0);
    edit.SetSel(0, -1);
    Type(edit, L"3,5");
    EXPECT_DOUBLE_EQ(edit.m_dValue, 3.5);
    edit.SetWindowText(L"1,5");
    EXPECT_DOUBLE_EQ(edit.m_dValue, 1.5);
    qor::gui::ResetLocaleProfile();
}

TEST(NumericEditLocale, ProgramOptionsSurviveASettingsChangeAndDefaultsFollowIt)
{
    qor::gui::ResetLocaleProfile();
    CCountingParent parent;
    ASSERT_TRUE(parent.CreateTop());
    CNumericEdit edit;
    ASSERT_TRUE(edit.Create(WS_CHILD | WS_VISIBLE, CRect(10, 10, 300, 34), &parent, kEditId));
    edit.SetDecimalDigitCount(3);
    edit.SetValue(1234.5);
    EXPECT_EQ(TextOf(edit), CString(L"1,234.500"));

    qor::gui::LocaleProfile de;
    de.decimal = L",";
    de.thousand = L".";
    de.digits = 1;
    de.negativeNumber = 0;
    qor::gui::SetLocaleProfile(de);
    edit.SendMessage(WM_SETTINGCHANGE, 0, 0);
    EXPECT_EQ(edit.GetDecimalDigitCount(), 3) << "set by the program";
    EXPECT_EQ(edit.GetDecimalSeparator(), L',');
    EXPECT_EQ(edit.GetGroupSeparator(), L'.');
    EXPECT_EQ(edit.GetNegativeFormat(), CString(L"(1.1)"));
    EXPECT_EQ(TextOf(edit), CString(L"1.234,500")) << "the number keeps its value";
    EXPECT_DOUBLE_EQ(edit.m_dValue, 1234.5);
    qor::gui::ResetLocaleProfile();
    edit.SendMessage(WM_SETTINGCHANGE, 0, 0);
    EXPECT_EQ(TextOf(edit), CString(L"1,234.500"));
    EXPECT_EQ(edit.GetNegativeFormat(), CString(L"-1.1"));
}

} // namespace
