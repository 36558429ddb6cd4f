// The numeric cell: locale formatting of its number, the texts it refuses, and its editor
// that refuses keystrokes which would not make a number.
#include "grid_test_util.h"

#include "controls/grid/GridCellNumeric.h"

using qor::test::KeyPress;

namespace {

constexpr int kW = 80;
constexpr int kH = 20;

// Restores the en-US profile after a test that changes it.
struct ProfileGuard
{
    qor::gui::LocaleProfile saved = qor::gui::CurrentLocaleProfile();
    ~ProfileGuard() { qor::gui::SetLocaleProfile(saved); }
};

TEST(NumericCell, SetNumberFormatsByTheLocaleAndKeepsTheValue)
{
    CGridCellNumeric cell;
    cell.m_nFlags = CGridCellNumeric::Decimals;
    EXPECT_TRUE(cell.SetNumber(1234.5));
    EXPECT_EQ(CString(cell.GetText()), CString(_T("1,234.50")));
    EXPECT_DOUBLE_EQ(cell.GetNumber(), 1234.5);
    EXPECT_TRUE(cell.IsModified());

    // Whole numbers: the fraction is dropped, and SetNumber says the value was not kept.
    CGridCellNumeric whole;
    EXPECT_FALSE(whole.SetNumber(1234.5));
    EXPECT_EQ(CString(whole.GetText()), CString(_T("1,234")));
    EXPECT_DOUBLE_EQ(whole.GetNumber(), 1234.0);

    // The full value is kept behind the rounded display.
    EXPECT_TRUE(cell.SetNumber(0.125));
    EXPECT_EQ(CString(cell.GetText()), CString(_T("0.13")));
    EXPECT_DOUBLE_EQ(cell.GetNumber(), 0.125);
}

TEST(NumericCell, TheSignNeedsTheNegativeFlag)
{
    CGridCellNumeric cell;
    cell.m_nFlags = CGridCellNumeric::Decimals;
    EXPECT_FALSE(cell.SetNumber(-2.25));
    EXPECT_EQ(CString(cell.GetText()), CString(_T("2.25")));
    EXPECT_DOUBLE_EQ(cell.GetNumber(), 2.25);

    cell.m_nFlags = 5;
    EXPECT_TRUE(cell.SetNumber(-2.25));
    EXPECT_EQ(CString(cell.GetText()), CString(_T("-2.25")));
    EXPECT_DOUBLE_EQ(cell.GetNumber(), -2.25);
}

TEST(NumericCell, TextsThatAreNoNumberLeaveTheCellAsItWas)
{
    CGridCellNumeric cell;
    cell.m_nFlags = 5;
    cell.SetNumber(7.5);
    for (LPCTSTR bad : {_T("abc"), _T(""), _T("1.2.3"), _T("--4"), _T("4-4"), _T("."), _T("-")})
    {
        cell.SetText(bad);
        EXPECT_EQ(CString(cell.GetText()), CString(_T("7.50"))) << CString(bad).ToUtf8();
        EXPECT_DOUBLE_EQ(cell.GetNumber(), 7.5);
    }
    // Only what the cell's own formatting puts there is read past; any other character, a
    // sign inside the digits or exponent notation leaves the cell as it was.
    for (LPCTSTR bad : {_T("1.5E+03"), _T("12ab3"), _T("1-2"), _T("1,234.50 kN"), _T("$4"), _T("+4"), _T("1(2)")})
    {
        cell.SetText(bad);
        EXPECT_EQ(CString(cell.GetText()), CString(_T("7.50"))) << CString(bad).ToUtf8();
        EXPECT_DOUBLE_EQ(cell.GetNumber(), 7.5);
    }
    cell.SetText(_T("1,234.50"));
    EXPECT_EQ(CString(cell.GetText()), CString(_T("1,234.50")));
    EXPECT_DOUBLE_EQ(cell.GetNumber(), 1234.5);
    cell.SetText(_T(" 42 "));
    EXPECT_EQ(CString(cell.GetText()), CString(_T("42.00")));
    cell.SetText(_T("-7"));
    EXPECT_EQ(CString(cell.GetText()), CString(_T("-7.00")));
    EXPECT_DOUBLE_EQ(cell.GetNumber(), -7.0);
    cell.SetText(_T("-0.5"));
    EXPECT_DOUBLE_EQ(cell.GetNumber(), -0.5);

    // A whole-number cell drops a fraction of digits, not a fraction with letters; a cell
    // without the negative flag drops the sign in front but refuses one inside the digits.
    CGridCellNumeric whole;
    whole.SetNumber(3);
    whole.SetText(_T("1.5E+03"));
    EXPECT_DOUBLE_EQ(whole.GetNumber(), 3.0);
    whole.SetText(_T("1-2"));
    EXPECT_DOUBLE_EQ(whole.GetNumber(), 3.0);
    whole.SetText(_T("-12,345.75"));
    EXPECT_EQ(CString(whole.GetText()), CString(_T("12,345")));
    EXPECT_DOUBLE_EQ(whole.GetNumber(), 12345.0);
}

TEST(NumericCell, CurrencyUsesTheMonetaryFormat)
{
    CGridCellNumeric cell;
    cell.m_nFlags = CGridCellNumeric::Currency | CGridCellNumeric::Negative;
    EXPECT_TRUE(cell.SetNumber(-3.5));
    // en-US negative currency mode 0: parentheses.
    EXPECT_EQ(CString(cell.GetText()), CString(_T("($3.50)")));
    cell.SetText(_T("($12.25)"));
    EXPECT_DOUBLE_EQ(cell.GetNumber(), -12.25);
    cell.SetText(_T("$4"));
    EXPECT_EQ(CString(cell.GetText()), CString(_T("$4.00")));
}

TEST(NumericCell, NativeDigitsAreReadAsDigits)
{
    ProfileGuard guard;
    qor::gui::LocaleProfile profile = qor::gui::CurrentLocaleProfile();
    profile.nativeDigits = L"\x0660\x0661\x0662\x0663\x0664\x0665\x0666\x0667\x0668\x0669";
    qor::gui::SetLocaleProfile(profile);

    CGridCellNumeric cell;
    cell.m_nFlags = CGridCellNumeric::Decimals;
    cell.SetText(L"\x0661\x0662.\x0665");
    EXPECT_DOUBLE_EQ(cell.GetNumber(), 12.5);
}

TEST(NumericCell, OtherLocaleSeparatorsAndParenthesisMode)
{
    ProfileGuard guard;
    qor::gui::LocaleProfile profile = qor::gui::CurrentLocaleProfile();
    profile.decimal = L",";
    profile.thousand = L".";
    profile.negativeNumber = 0;
    qor::gui::SetLocaleProfile(profile);

    CGridCellNumeric cell;
    cell.m_nFlags = 5;
    EXPECT_TRUE(cell.SetNumber(-1234.5));
    EXPECT_EQ(CString(cell.GetText()), CString(_T("(1.234,50)")));
    cell.SetText(_T("(2,5)"));
    EXPECT_DOUBLE_EQ(cell.GetNumber(), -2.5);

    // Whole numbers lose the locale's decimal separator and its zeros.
    CGridCellNumeric whole;
    whole.SetNumber(42);
    EXPECT_EQ(CString(whole.GetText()), CString(_T("42")));
}

class NumericEdit : public ::testing::Test
{
protected:
    static void SetUpTestSuite() { gridtest::InitApp(); }

    void SetUp() override
    {
        ASSERT_TRUE(gridtest::CreateHostedGrid(host, grid, 3, 3, CRect(0, 0, 300, 200), 77, kW, kH));
        // As the result grids do it: numeric by class, flags and format set directly.
        ASSERT_TRUE(grid.SetCellType(1, 1, RUNTIME_CLASS(CGridCellNumeric)));
        Cell()->m_nFlags = CGridCellNumeric::Decimals;
        Cell()->SetFormat(0x8825);
        Cell()->SetNumber(1.5);
        Cell()->SetState(Cell()->GetState() & ~GVIS_MODIFIED);
        gridtest::Pump();
        grid.SetFocus();
        grid.SetFocusCell(1, 1);
        host.notices.clear();
        qor::gui::ResetBeepCount();
    }
    void TearDown() override { qor::gui::ClearKeyState(); }

    CGridCellNumeric* Cell() { return dynamic_cast<CGridCellNumeric*>(grid.GetCell(1, 1)); }
    CInPlaceNumEdit* Editor() { return dynamic_cast<CInPlaceNumEdit*>(Cell()->GetEditWnd()); }
    static CString TextOf(CWnd* wnd)
    {
        CString s;
        wnd->GetWindowText(s);
        return s;
    }
    int CountCode(UINT code) const
    {
        int n = 0;
        for (const auto& notice : host.notices) n += notice.hdr.code == code ? 1 : 0;
        return n;
    }

    gridtest::CHostWnd host;
    gridtest::CTestGrid grid;
};

TEST_F(NumericEdit, EditsTheValueNotTheShownText)
{
    Cell()->SetNumber(1234.5);
    grid.OnEditCell(1, 1, CPoint(-1, -1), VK_LBUTTON);
    CInPlaceNumEdit* pEdit = Editor();
    ASSERT_NE(pEdit, nullptr);
    EXPECT_EQ(TextOf(pEdit), CString(_T("1234.5")));
    int a = -1, b = -1;
    pEdit->GetSel(a, b);
    EXPECT_EQ(a, 0);
    EXPECT_EQ(b, 6);
}

TEST_F(NumericEdit, TypedNumberIsStoredFormatted)
{
    KeyPress(&grid, '1', L'1');
    gridtest::Pump();
    CInPlaceNumEdit* pEdit = Editor();
    ASSERT_NE(pEdit, nullptr);
    EXPECT_EQ(TextOf(pEdit), CString(_T("1")));
    for (wchar_t ch : {L'2', L'.', L'5'}) KeyPress(pEdit, ch, ch);
    KeyPress(pEdit, VK_RETURN, L'\r');
    gridtest::Pump();
    EXPECT_EQ(grid.GetItemText(1, 1), CString(_T("12.50")));
    EXPECT_DOUBLE_EQ(Cell()->GetNumber(), 12.5);
    EXPECT_EQ(CountCode(GVN_ENDLABELEDIT), 1);
    EXPECT_EQ(qor::gui::BeepCount(), 0);
}

TEST_F(NumericEdit, ASecondDecimalSeparatorBeepsAndIsUndone)
{
    grid.OnEditCell(1, 1, CPoint(-1, -1), VK_LBUTTON);
    CInPlaceNumEdit* pEdit = Editor();
    ASSERT_NE(pEdit, nullptr);
    KeyPress(pEdit, VK_END);
    KeyPress(pEdit, '.', L'.');
    EXPECT_EQ(qor::gui::BeepCount(), 1);
    EXPECT_EQ(TextOf(pEdit), CString(_T("1.5")));
    int a = -1, b = -1;
    pEdit->GetSel(a, b);
    EXPECT_EQ(a, 3);
    EXPECT_EQ(b, 3);
    // Letters are refused the same way, and hold back the digits typed next ("1x7" is not 17)
    // until the caret moves; then digits go on where the caret is.
    KeyPress(pEdit, 'X', L'x');
    EXPECT_EQ(qor::gui::BeepCount(), 2);
    KeyPress(pEdit, '7', L'7');
    EXPECT_EQ(qor::gui::BeepCount(), 3);
    EXPECT_EQ(TextOf(pEdit), CString(_T("1.5")));
    KeyPress(pEdit, VK_END);
    KeyPress(pEdit, '7', L'7');
    EXPECT_EQ(TextOf(pEdit), CString(_T("1.57")));
}

TEST_F(NumericEdit, TheSilentFlagRefusesWithoutABeep)
{
    Cell()->m_nFlags = CGridCellNumeric::Decimals | CGridCellNumeric::Silent;
    grid.OnEditCell(1, 1, CPoint(-1, -1), VK_LBUTTON);
    CInPlaceNumEdit* pEdit = Editor();
    ASSERT_NE(pEdit, nullptr);
    KeyPress(pEdit, VK_END);
    KeyPress(pEdit, '.', L'.');
    EXPECT_EQ(TextOf(pEdit), CString(_T("1.5")));
    EXPECT_EQ(qor::gui::BeepCount(), 0);
}

TEST_F(NumericEdit, SignRulesFollowTheNegativeMode)
{
    Cell()->m_nFlags = 5;
    grid.OnEditCell(1, 1, CPoint(-1, -1), VK_LBUTTON);
    CInPlaceNumEdit* pEdit = Editor();
    ASSERT_NE(pEdit, nullptr);
    // Mode 1: the sign goes in front, once.
    KeyPress(pEdit, VK_END);
    KeyPress(pEdit, '-', L'-');
    EXPECT_EQ(TextOf(pEdit), CString(_T("1.5")));
    KeyPress(pEdit, VK_HOME);
    KeyPress(pEdit, '-', L'-');
    EXPECT_EQ(TextOf(pEdit), CString(_T("-1.5")));
    KeyPress(pEdit, '-', L'-');
    EXPECT_EQ(TextOf(pEdit), CString(_T("-1.5")));
    EXPECT_EQ(qor::gui::BeepCount(), 2);
    // The refused sign holds the edit back (ended now, it would hand on nothing) until the caret moves.
    EXPECT_TRUE(pEdit->IsHoldingDigits());
    KeyPress(pEdit, VK_END);
    KeyPress(pEdit, VK_RETURN, L'\r');
    gridtest::Pump();
    EXPECT_DOUBLE_EQ(Cell()->GetNumber(), -1.5);
    EXPECT_EQ(grid.GetItemText(1, 1), CString(_T("-1.50")));

    // A negative value is edited with its sign.
    grid.OnEditCell(1, 1, CPoint(-1, -1), VK_LBUTTON);
    ASSERT_NE(Editor(), nullptr);
    EXPECT_EQ(TextOf(Editor()), CString(_T("-1.5")));
    KeyPress(Editor(), VK_ESCAPE, L'\x1b');
    gridtest::Pump();
}

TEST_F(NumericEdit, ParenthesisModeShowsAndTakesParentheses)
{
    ProfileGuard guard;
    qor::gui::LocaleProfile profile = qor::gui::CurrentLocaleProfile();
    profile.negativeNumber = 0;
    qor::gui::SetLocaleProfile(profile);
    Cell()->m_nFlags = 5;
    Cell()->SetNumber(-2);
    grid.OnEditCell(1, 1, CPoint(-1, -1), VK_LBUTTON);
    CInPlaceNumEdit* pEdit = Editor();
    ASSERT_NE(pEdit, nullptr);
    EXPECT_EQ(TextOf(pEdit), CString(_T("(2)")));
    // A sign beside the parentheses is refused.
    KeyPress(pEdit, VK_END);
    KeyPress(pEdit, '-', L'-');
    EXPECT_EQ(TextOf(pEdit), CString(_T("(2)")));
    KeyPress(pEdit, VK_ESCAPE, L'\x1b');
    gridtest::Pump();
}

TEST_F(NumericEdit, AnEmptyEditorStoresZero)
{
    grid.OnEditCell(1, 1, CPoint(-1, -1), VK_LBUTTON);
    CInPlaceNumEdit* pEdit = Editor();
    ASSERT_NE(pEdit, nullptr);
    KeyPress(pEdit, VK_DELETE); // the whole text is selected
    KeyPress(pEdit, VK_BACK, L'\b');
    EXPECT_EQ(TextOf(pEdit), CString());
    KeyPress(pEdit, VK_RETURN, L'\r');
    gridtest::Pump();
    EXPECT_EQ(grid.GetItemText(1, 1), CString(_T("0.00")));
    EXPECT_DOUBLE_EQ(Cell()->GetNumber(), 0.0);
}

TEST_F(NumericEdit, LeavingUnchangedChangesNothing)
{
    grid.OnEditCell(1, 1, CPoint(-1, -1), VK_LBUTTON);
    ASSERT_NE(Editor(), nullptr);
    grid.SetFocus();
    gridtest::Pump();
    EXPECT_EQ(Editor(), nullptr);
    EXPECT_EQ(grid.GetItemText(1, 1), CString(_T("1.50")));
    EXPECT_FALSE(Cell()->IsModified());
    EXPECT_EQ(CountCode(GVN_ENDLABELEDIT), 0);
}

TEST_F(NumericEdit, EscapeKeepsTheCell)
{
    KeyPress(&grid, '9', L'9');
    gridtest::Pump();
    ASSERT_NE(Editor(), nullptr);
    EXPECT_EQ(TextOf(Editor()), CString(_T("9")));
    KeyPress(Editor(), VK_ESCAPE, L'\x1b');
    gridtest::Pump();
    EXPECT_EQ(grid.GetItemText(1, 1), CString(_T("1.50")));
    EXPECT_DOUBLE_EQ(Cell()->GetNumber(), 1.5);
    EXPECT_EQ(qor::gui::BeepCount(), 0);
}

// An edit that ends while the digits after a refused key are held back holds no number: the cell
// keeps what it held ("2,5" is neither 2 nor 25), and an owner that says nothing of it (answers 0)
// leaves the grid to say what was typed. A focus lost ends it the same way.
TEST_F(NumericEdit, AnEditEndedWithKeysHeldBackKeepsTheCellAndSaysWhatWasTyped)
{
    qor::test::ScriptedMessageBoxes boxes;
    KeyPress(&grid, '2', L'2');
    gridtest::Pump();
    ASSERT_NE(Editor(), nullptr);
    for (wchar_t ch : {L',', L'5'}) KeyPress(Editor(), ch == L',' ? VK_OEM_COMMA : '5', ch);
    KeyPress(Editor(), VK_RETURN, L'\r');
    gridtest::Pump();
    EXPECT_EQ(grid.GetItemText(1, 1), CString(_T("1.50")));
    EXPECT_DOUBLE_EQ(Cell()->GetNumber(), 1.5);
    EXPECT_EQ(CountCode(GVN_ENDLABELEDIT), 1);
    ASSERT_EQ(boxes.Shown().size(), 1u);
    EXPECT_EQ(boxes.Shown()[0].text, CString(L"The number was typed as 2,5: use '.' for the decimal point."));

    grid.SetFocusCell(1, 1);
    KeyPress(&grid, '7', L'7');
    gridtest::Pump();
    ASSERT_NE(Editor(), nullptr);
    KeyPress(Editor(), 'E', L'e');
    KeyPress(Editor(), '3', L'3');
    grid.SetFocus();
    gridtest::Pump();
    EXPECT_EQ(Editor(), nullptr);
    EXPECT_DOUBLE_EQ(Cell()->GetNumber(), 1.5);
    ASSERT_EQ(boxes.Shown().size(), 2u);
    EXPECT_EQ(boxes.Shown()[1].text, CString(L"The number was typed as 7e3: only digits and '.' can be typed here."));
}

TEST_F(NumericEdit, ALetterThatStartsTheEditIsRefused)
{
    KeyPress(&grid, 'Q', L'q');
    gridtest::Pump();
    ASSERT_NE(Editor(), nullptr);
    EXPECT_EQ(qor::gui::BeepCount(), 1);
    EXPECT_EQ(TextOf(Editor()), CString(_T("1.5")));
}

TEST_F(NumericEdit, NativeDigitsTypedAreStoredAsNumbers)
{
    ProfileGuard guard;
    qor::gui::LocaleProfile profile = qor::gui::CurrentLocaleProfile();
    profile.nativeDigits = L"\x0660\x0661\x0662\x0663\x0664\x0665\x0666\x0667\x0668\x0669";
    qor::gui::SetLocaleProfile(profile);
    grid.OnEditCell(1, 1, CPoint(-1, -1), VK_LBUTTON);
    CInPlaceNumEdit* pEdit = Editor();
    ASSERT_NE(pEdit, nullptr);
    // The starting text is in the locale's digits.
    EXPECT_EQ(TextOf(pEdit), CString(L"\x0661.\x0665"));
    KeyPress(pEdit, VK_END);
    KeyPress(pEdit, 0, L'\x0667');
    KeyPress(pEdit, VK_RETURN, L'\r');
    gridtest::Pump();
    EXPECT_DOUBLE_EQ(Cell()->GetNumber(), 1.57);
}

// Every refusal says why beside the cell at once, in the cell's own characters and sign rule,
// also where the beep is silenced; the next key taken clears it.
TEST_F(NumericEdit, ARefusedKeyShowsItsReasonBesideTheCell)
{
    const auto hint = [](CWnd* editor) {
        CString text;
        return qor::gui::ShownEditBalloon(editor->GetSafeHwnd(), &text) ? text : CString();
    };
    ProfileGuard guard;
    qor::gui::LocaleProfile profile = qor::gui::CurrentLocaleProfile();
    profile.decimal = L",";
    profile.thousand = L".";
    qor::gui::SetLocaleProfile(profile);
    Cell()->m_nFlags = CGridCellNumeric::Decimals | CGridCellNumeric::Silent;
    grid.OnEditCell(1, 1, CPoint(-1, -1), VK_LBUTTON);
    CInPlaceNumEdit* pEdit = Editor();
    ASSERT_NE(pEdit, nullptr);
    KeyPress(pEdit, VK_END);
    KeyPress(pEdit, VK_OEM_PERIOD, L'.');
    EXPECT_EQ(hint(pEdit), CString(L"Use ',' for the decimal point"));
    EXPECT_EQ(qor::gui::BeepCount(), 0);
    // The digit after the refused point is held back, and the hint stays.
    KeyPress(pEdit, '7', L'7');
    EXPECT_EQ(hint(pEdit), CString(L"Use ',' for the decimal point"));
    EXPECT_EQ(TextOf(pEdit), CString(L"1,5"));
    // The decimal separator ends the hold (this one is refused, but the digits belong behind the
    // one there is).
    KeyPress(pEdit, VK_OEM_COMMA, L',');
    EXPECT_EQ(hint(pEdit), CString(L"The number has a decimal point already"));
    KeyPress(pEdit, '7', L'7');
    EXPECT_EQ(hint(pEdit), CString());
    KeyPress(pEdit, VK_OEM_MINUS, L'-');
    EXPECT_EQ(hint(pEdit), CString(L"This field takes no negative numbers"));
    KeyPress(pEdit, 'Q', L'q');
    EXPECT_EQ(hint(pEdit), CString(L"Only digits and ',' can be typed here"));
    EXPECT_EQ(TextOf(pEdit), CString(L"1,57"));
    KeyPress(pEdit, VK_ESCAPE, L'\x1b');
    gridtest::Pump();

    // Whole numbers with a sign in front: the sign's place and the missing decimals are named.
    Cell()->m_nFlags = CGridCellNumeric::Negative;
    Cell()->SetNumber(15);
    grid.OnEditCell(1, 1, CPoint(-1, -1), VK_LBUTTON);
    ASSERT_NE(Editor(), nullptr);
    KeyPress(Editor(), VK_END);
    KeyPress(Editor(), VK_OEM_MINUS, L'-');
    EXPECT_EQ(hint(Editor()), CString(L"The '-' sign goes in front of the number"));
    KeyPress(Editor(), VK_OEM_COMMA, L',');
    EXPECT_EQ(hint(Editor()), CString(L"This field takes whole numbers only"));
    EXPECT_EQ(qor::gui::BeepCount(), 2);
    KeyPress(Editor(), VK_ESCAPE, L'\x1b');
    gridtest::Pump();
}

} // namespace
