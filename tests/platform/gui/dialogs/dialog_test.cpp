// Dialogs built from templates: layout in dialog units, data exchange, dialog keys and the
// driven modal loop.
#include "platform/gui/Afx.h"
#include "platform/test/DialogTest.h"
#include "platform/test/GuiTest.h"

#include <gtest/gtest.h>

#include <iterator>

namespace {

enum : UINT
{
    IDD_TEST = 9001,
    IDC_LABEL = 1007,
    IDC_NAME = 1008,
    IDC_VALUE = 1009,
    IDC_COUNT = 1010,
    IDC_MOVING = 1011,
    IDC_ONE = 1017,
    IDC_TWO = 1018,
    IDC_RULE = 1059,
    IDC_NOTES = 1064,
};

const DialogItem kItems[] = {
    {L"Static", IDC_LABEL, L"Name:", SS_LEFT, 7, 9, 40, 8},
    {L"Edit", IDC_NAME, L"", ES_AUTOHSCROLL | WS_BORDER | WS_TABSTOP, 50, 7, 100, 14},
    {L"Edit", IDC_VALUE, L"", ES_AUTOHSCROLL | WS_BORDER | WS_TABSTOP, 50, 25, 60, 14},
    {L"Edit", IDC_COUNT, L"", ES_AUTOHSCROLL | WS_BORDER | WS_TABSTOP, 115, 25, 35, 14},
    {L"Button", IDC_MOVING, L"Moving", BS_AUTOCHECKBOX | WS_TABSTOP, 7, 45, 80, 10},
    {L"Button", IDC_ONE, L"One span", BS_AUTORADIOBUTTON | WS_GROUP | WS_TABSTOP, 7, 60, 80, 10},
    {L"Button", IDC_TWO, L"Two span", BS_AUTORADIOBUTTON, 7, 72, 80, 10},
    {L"ComboBox", IDC_RULE, L"", CBS_DROPDOWNLIST | WS_VSCROLL | WS_TABSTOP | WS_GROUP, 7, 88, 100, 60},
    {L"Edit", IDC_NOTES, L"", ES_MULTILINE | ES_WANTRETURN | WS_BORDER | WS_TABSTOP, 110, 60, 55, 40},
    {L"Button", IDOK, L"OK", BS_DEFPUSHBUTTON | WS_TABSTOP | WS_GROUP, 60, 110, 50, 14},
    {L"Button", IDCANCEL, L"Cancel", BS_PUSHBUTTON | WS_TABSTOP, 115, 110, 50, 14},
};
QOR_DIALOG_RESOURCE(9001, L"Test Dialog", DS_MODALFRAME | WS_POPUP | WS_CAPTION | WS_SYSMENU, 172, 131, kItems);

class CTestDlg : public CDialogEx
{
public:
    CTestDlg() : CDialogEx(IDD_TEST) {}

    CString m_name = L"Bridge";
    double m_value = 2.5;
    int m_count = 7;
    int m_moving = TRUE;
    int m_span = 1;
    int m_rule = 2;
    CComboBox m_cbRule;
    int m_inits = 0;

    void DoDataExchange(CDataExchange* pDX) override
    {
        CDialogEx::DoDataExchange(pDX);
        DDX_Control(pDX, IDC_RULE, m_cbRule);
        DDX_Text(pDX, IDC_NAME, m_name);
        DDX_Text(pDX, IDC_VALUE, m_value);
        DDX_Text(pDX, IDC_COUNT, m_count);
        DDX_Check(pDX, IDC_MOVING, m_moving);
        DDX_Radio(pDX, IDC_ONE, m_span);
        DDX_CBIndex(pDX, IDC_RULE, m_rule);
    }
    BOOL OnInitDialog() override
    {
        CDialogEx::OnInitDialog();
        ++m_inits;
        for (LPCTSTR s : {L"None", L"A36 UDL variation", L"NAASRA DLA"}) m_cbRule.AddString(s);
        UpdateData(FALSE);
        return TRUE;
    }
};

std::string Show(const CRect& r)
{
    return std::to_string(r.left) + "," + std::to_string(r.top) + "," + std::to_string(r.right) + "," +
           std::to_string(r.bottom);
}

CString TextOf(CWnd& dlg, int id)
{
    CString s;
    dlg.GetDlgItemText(id, s);
    return s;
}

class DialogTest : public ::testing::Test
{
protected:
    void SetUp() override { qor::test::EnsureGuiApplication(); }
};

TEST_F(DialogTest, TemplateBuildsControlsAtTheirDialogUnitRectangles)
{
    qor::test::DrivenDialogs driven;
    driven.ThenAs<CTestDlg>([](CTestDlg& dlg) {
        CSize base = dlg.GetBaseUnits();
        // The base units are those of the dialog font (8 pt sans at 96 dpi).
        TEXTMETRIC tm{};
        CClientDC dc(&dlg);
        CFont* old = dc.SelectObject(dlg.GetFont());
        dc.GetTextMetrics(&tm);
        dc.SelectObject(old);
        EXPECT_EQ(base.cy, tm.tmHeight);
        EXPECT_NEAR(base.cx, tm.tmAveCharWidth, 1);
        EXPECT_GE(base.cx, 5);
        EXPECT_LE(base.cx, 8);

        CRect client;
        dlg.GetClientRect(&client);
        EXPECT_EQ(client.Width(), MulDiv(172, base.cx, 4));
        EXPECT_EQ(client.Height(), MulDiv(131, base.cy, 8));

        for (const DialogItem& item : kItems)
        {
            CWnd* ctl = dlg.GetDlgItem(static_cast<int>(item.id));
            ASSERT_NE(ctl, nullptr) << item.id;
            EXPECT_EQ(ctl->GetClassName().CompareNoCase(item.className), 0) << item.id;
            CRect r;
            ctl->GetWindowRect(&r);
            dlg.ScreenToClient(&r);
            CRect expected(MulDiv(item.x, base.cx, 4), MulDiv(item.y, base.cy, 8), MulDiv(item.x + item.cx, base.cx, 4),
                           MulDiv(item.y + item.cy, base.cy, 8));
            EXPECT_EQ(Show(r), Show(expected)) << item.id;
            EXPECT_EQ(ctl->GetFont(), dlg.GetFont()) << item.id;
        }
        // The combo box shows its field at the height it asks for; its list drops under it.
        const CRect field = qor::test::ShownRect(&dlg.m_cbRule);
        EXPECT_EQ(field.Height(), dlg.m_cbRule.GetItemHeight(-1));
        EXPECT_LT(field.Height(), MulDiv(60, base.cy, 8) / 2);
        dlg.m_cbRule.ShowDropDown(TRUE);
        EXPECT_TRUE(qor::test::PumpUntil([&] { return !qor::test::DroppedListRect(&dlg.m_cbRule).IsRectEmpty(); }));
        EXPECT_EQ(qor::test::DroppedListRect(&dlg.m_cbRule).top, field.bottom);
        dlg.m_cbRule.ShowDropDown(FALSE);
        CRect mapped(50, 7, 150, 21);
        dlg.MapDialogRect(&mapped);
        EXPECT_EQ(mapped, CRect(MulDiv(50, base.cx, 4), MulDiv(7, base.cy, 8), MulDiv(150, base.cx, 4),
                                MulDiv(21, base.cy, 8)));
        // Typed access to the template's controls.
        EXPECT_TRUE(dlg.GetDlgItem(IDC_MOVING)->IsKindOf(RUNTIME_CLASS(CButton)));
        EXPECT_TRUE(dlg.GetDlgItem(IDC_NAME)->IsKindOf(RUNTIME_CLASS(CEdit)));
        CString caption;
        dlg.GetWindowText(caption);
        EXPECT_EQ(caption, L"Test Dialog");
        dlg.EndDialog(IDCANCEL);
    });
    CTestDlg dlg;
    EXPECT_EQ(dlg.DoModal(), IDCANCEL);
    EXPECT_EQ(dlg.m_inits, 1);
    EXPECT_EQ(dlg.m_hWnd, nullptr);
    EXPECT_EQ(dlg.m_cbRule.m_hWnd, nullptr);
}

TEST_F(DialogTest, MembersFillControlsAndOkReadsThemBack)
{
    qor::test::DrivenDialogs driven;
    driven.ThenAs<CTestDlg>([](CTestDlg& dlg) {
        EXPECT_EQ(TextOf(dlg, IDC_NAME), L"Bridge");
        EXPECT_EQ(TextOf(dlg, IDC_VALUE), L"2.5");
        EXPECT_EQ(TextOf(dlg, IDC_COUNT), L"7");
        EXPECT_EQ(dlg.IsDlgButtonChecked(IDC_MOVING), 1u);
        EXPECT_EQ(dlg.GetCheckedRadioButton(IDC_ONE, IDC_TWO), static_cast<int>(IDC_TWO));
        EXPECT_EQ(dlg.m_cbRule.GetCurSel(), 2);
        EXPECT_EQ(dlg.m_cbRule.GetCount(), 3);
        EXPECT_EQ(dlg.GetDlgItem(IDC_RULE), &dlg.m_cbRule);

        dlg.SetDlgItemText(IDC_NAME, L"Twin span");
        dlg.SetDlgItemText(IDC_VALUE, L" 12.75 ");
        dlg.SetDlgItemInt(IDC_COUNT, static_cast<UINT>(-3));
        BOOL ok = FALSE;
        EXPECT_EQ(static_cast<int>(dlg.GetDlgItemInt(IDC_COUNT, &ok)), -3);
        EXPECT_TRUE(ok);
        qor::test::Click(dlg.GetDlgItem(IDC_MOVING), CPoint(3, 3));
        dlg.CheckRadioButton(IDC_ONE, IDC_TWO, IDC_ONE);
        dlg.m_cbRule.SetCurSel(0);
        EXPECT_TRUE(qor::test::PressOK(dlg));
    });
    CTestDlg dlg;
    EXPECT_EQ(dlg.DoModal(), IDOK);
    EXPECT_EQ(dlg.m_name, L"Twin span");
    EXPECT_DOUBLE_EQ(dlg.m_value, 12.75);
    EXPECT_EQ(dlg.m_count, -3);
    EXPECT_EQ(dlg.m_moving, 0);
    EXPECT_EQ(dlg.m_span, 0);
    EXPECT_EQ(dlg.m_rule, 0);

    // Shown again: the controls show the stored values, the combo is attached afresh.
    driven.ThenAs<CTestDlg>([](CTestDlg& d) {
        EXPECT_EQ(TextOf(d, IDC_NAME), L"Twin span");
        EXPECT_EQ(TextOf(d, IDC_VALUE), L"12.75");
        EXPECT_EQ(d.GetCheckedRadioButton(IDC_ONE, IDC_TWO), static_cast<int>(IDC_ONE));
        EXPECT_EQ(d.GetDlgItem(IDC_RULE), &d.m_cbRule);
        qor::test::PressCancel(d);
    });
    EXPECT_EQ(dlg.DoModal(), IDCANCEL);
    EXPECT_EQ(dlg.m_inits, 2);
}

TEST_F(DialogTest, CancelLeavesMembersAlone)
{
    qor::test::DrivenDialogs driven;
    driven.ThenAs<CTestDlg>([](CTestDlg& dlg) {
        dlg.SetDlgItemText(IDC_NAME, L"Changed");
        dlg.SetDlgItemText(IDC_VALUE, L"99");
        dlg.CheckRadioButton(IDC_ONE, IDC_TWO, IDC_ONE);
        qor::test::PressCancel(dlg);
    });
    CTestDlg dlg;
    EXPECT_EQ(dlg.DoModal(), IDCANCEL);
    EXPECT_EQ(dlg.m_name, L"Bridge");
    EXPECT_DOUBLE_EQ(dlg.m_value, 2.5);
    EXPECT_EQ(dlg.m_span, 1);
}

TEST_F(DialogTest, NumberThatDoesNotParseKeepsTheDialogOpen)
{
    qor::test::ScriptedMessageBoxes boxes;
    qor::test::DrivenDialogs driven;
    driven.ThenAs<CTestDlg>([&](CTestDlg& dlg) {
        dlg.SetDlgItemText(IDC_VALUE, L"12.5x");
        qor::test::PressOK(dlg);
        ASSERT_EQ(boxes.Shown().size(), 1u);
        EXPECT_EQ(boxes.Shown()[0].text, L"Please enter a number.");
        EXPECT_EQ(CWnd::GetFocus(), dlg.GetDlgItem(IDC_VALUE));
        EXPECT_TRUE(dlg.IsWindowVisible());
        dlg.SetDlgItemText(IDC_VALUE, L"1e3");
        dlg.SetDlgItemText(IDC_COUNT, L"7.9");
        qor::test::PressOK(dlg);
        ASSERT_EQ(boxes.Shown().size(), 2u);
        EXPECT_EQ(boxes.Shown()[1].text, L"Please enter an integer.");
        dlg.SetDlgItemText(IDC_COUNT, L"8");
        qor::test::PressOK(dlg);
    });
    CTestDlg dlg;
    EXPECT_EQ(dlg.DoModal(), IDOK);
    EXPECT_DOUBLE_EQ(dlg.m_value, 1000.0);
    EXPECT_EQ(dlg.m_count, 8);
    EXPECT_EQ(boxes.Shown().size(), 2u);
}

TEST_F(DialogTest, EnterAndEscapeOnABoxOverTheDialogCloseTheBoxAlone)
{
    qor::test::KeyedMessageBoxes boxes({VK_RETURN, VK_ESCAPE});
    qor::test::DrivenDialogs driven;
    driven.ThenAs<CTestDlg>([&](CTestDlg& dlg) {
        dlg.SetDlgItemText(IDC_VALUE, L"12.5x");
        qor::test::PressOK(dlg);
        EXPECT_EQ(boxes.Shown(), 1) << "Enter on the box pressed nothing of the dialog";
        EXPECT_TRUE(dlg.IsWindowVisible());
        qor::test::PressOK(dlg);
        EXPECT_EQ(boxes.Shown(), 2);
        EXPECT_TRUE(dlg.IsWindowVisible()) << "Escape on the box left the dialog open";
        EXPECT_EQ(boxes.Answers(), (std::vector<int>{IDOK, IDOK}));
        dlg.SetDlgItemText(IDC_VALUE, L"3");
        qor::test::PressOK(dlg);
    });
    CTestDlg dlg;
    EXPECT_EQ(dlg.DoModal(), IDOK);
    EXPECT_DOUBLE_EQ(dlg.m_value, 3.0);
}

TEST_F(DialogTest, EscapeIsABoxsCancelOrItsOnlyButtonAndNothingOnABoxWithoutCancel)
{
    // Yes/No and Abort/Retry/Ignore want an answer: Escape leaves them up, a letter or Enter answers.
    {
        qor::test::KeyedMessageBoxes boxes({VK_ESCAPE, 'Y', VK_ESCAPE, VK_RETURN});
        EXPECT_EQ(AfxMessageBox(L"Restore it?", MB_YESNO | MB_ICONQUESTION), IDYES);
        EXPECT_EQ(AfxMessageBox(L"The file is busy.", MB_ABORTRETRYIGNORE | MB_DEFBUTTON3), IDIGNORE);
        EXPECT_EQ(boxes.Shown(), 2);
    }
    // Escape is Cancel where there is one, and the only button of an OK box.
    qor::test::KeyedMessageBoxes boxes({VK_ESCAPE, VK_ESCAPE, VK_ESCAPE, VK_ESCAPE});
    EXPECT_EQ(AfxMessageBox(L"Save changes?", MB_YESNOCANCEL), IDCANCEL);
    EXPECT_EQ(AfxMessageBox(L"Go on?", MB_OKCANCEL), IDCANCEL);
    EXPECT_EQ(AfxMessageBox(L"Try again?", MB_RETRYCANCEL), IDCANCEL);
    EXPECT_EQ(AfxMessageBox(L"Done.", MB_OK), IDOK);
    EXPECT_EQ(boxes.Shown(), 4);
}

TEST_F(DialogTest, EnterPressesTheDefaultButtonAndEscapeCancels)
{
    qor::test::DrivenDialogs driven;
    driven.ThenAs<CTestDlg>([](CTestDlg& dlg) {
        CWnd* name = dlg.GetDlgItem(IDC_NAME);
        EXPECT_EQ(CWnd::GetFocus(), name); // the first tab stop
        dlg.SetDlgItemText(IDC_NAME, L"By keys");
        qor::test::KeyPress(name, VK_RETURN, L'\r');
    });
    CTestDlg dlg;
    EXPECT_EQ(dlg.DoModal(), IDOK);
    EXPECT_EQ(dlg.m_name, L"By keys");

    driven.ThenAs<CTestDlg>([](CTestDlg& d) {
        d.SetDlgItemText(IDC_NAME, L"Escaped");
        qor::test::KeyPress(d.GetDlgItem(IDC_VALUE), VK_ESCAPE, 0x1b);
    });
    EXPECT_EQ(dlg.DoModal(), IDCANCEL);
    EXPECT_EQ(dlg.m_name, L"By keys");
}

TEST_F(DialogTest, TabMovesThroughTabStopsAndWantReturnEditKeepsEnter)
{
    qor::test::DrivenDialogs driven;
    driven.ThenAs<CTestDlg>([](CTestDlg& dlg) {
        CWnd* name = dlg.GetDlgItem(IDC_NAME);
        qor::test::KeyPress(name, VK_TAB, L'\t');
        EXPECT_EQ(CWnd::GetFocus(), dlg.GetDlgItem(IDC_VALUE));
        qor::test::KeyPress(dlg.GetDlgItem(IDC_VALUE), VK_TAB, L'\t', MK_SHIFT);
        EXPECT_EQ(CWnd::GetFocus(), name);
        EXPECT_EQ(dlg.GetNextDlgTabItem(dlg.GetDlgItem(IDC_MOVING)), dlg.GetDlgItem(IDC_ONE));
        EXPECT_EQ(dlg.GetNextDlgTabItem(dlg.GetDlgItem(IDCANCEL)), name); // wraps
        EXPECT_EQ(dlg.GetNextDlgGroupItem(dlg.GetDlgItem(IDC_ONE)), dlg.GetDlgItem(IDC_TWO));
        // The static is no tab stop.
        EXPECT_EQ(dlg.GetNextDlgTabItem(dlg.GetDlgItem(IDC_LABEL)), name);

        CWnd* notes = dlg.GetDlgItem(IDC_NOTES);
        notes->SetFocus();
        qor::test::KeyPress(notes, 'A', L'a');
        qor::test::KeyPress(notes, VK_RETURN, L'\r');
        qor::test::KeyPress(notes, 'B', L'b');
        EXPECT_TRUE(dlg.IsWindowVisible()); // Enter made a new line, not OK
        EXPECT_EQ(TextOf(dlg, IDC_NOTES).ToUtf8(), "a\r\nb");
        dlg.EndDialog(77);
    });
    CTestDlg dlg;
    EXPECT_EQ(dlg.DoModal(), 77);
}

TEST_F(DialogTest, DialogWithoutDriverFailsInsteadOfBlocking)
{
    std::vector<std::string> failures;
    auto previous =
        qor::gui::SetModalFailureHandler([&](CWnd&, const CString& what) { failures.push_back(what.ToUtf8()); });
    CTestDlg dlg;
    dlg.m_name = L"untouched";
    EXPECT_EQ(dlg.DoModal(), IDCANCEL);
    qor::gui::SetModalFailureHandler(previous);
    ASSERT_EQ(failures.size(), 1u);
    EXPECT_NE(failures[0].find("Test Dialog"), std::string::npos);
    EXPECT_EQ(dlg.m_name, L"untouched");
    EXPECT_EQ(dlg.m_hWnd, nullptr);
}

TEST_F(DialogTest, PostedMessagesArriveWhileTheDialogRuns)
{
    static const UINT kPing = RegisterWindowMessage(L"QorDialogTestPing");
    class CPingDlg : public CTestDlg
    {
    public:
        int pings = 0;
        LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
        {
            if (message == kPing)
            {
                ++pings;
                EndDialog(IDOK + 10);
                return 0;
            }
            return CTestDlg::WindowProc(message, wParam, lParam);
        }
    };
    qor::test::DrivenDialogs driven;
    driven.ThenAs<CPingDlg>([](CPingDlg& dlg) { dlg.PostMessage(kPing); });
    CPingDlg dlg;
    EXPECT_EQ(dlg.DoModal(), IDOK + 10);
    EXPECT_EQ(dlg.pings, 1);
}

TEST_F(DialogTest, UnknownTemplateReturnsMinusOne)
{
    CDialog dlg(4242);
    EXPECT_EQ(dlg.DoModal(), -1);
}

} // namespace

namespace {

enum : UINT
{
    ID_ROW_FREE = 32801,
    ID_ROW_REFUSED = 32802,
    ID_ROW_GREYED = 32803
};

class CMenuDlg : public CTestDlg
{
public:
    void OnUpdateRefused(CCmdUI* pCmdUI) { pCmdUI->Enable(FALSE); }
    DECLARE_MESSAGE_MAP()
};
BEGIN_MESSAGE_MAP(CMenuDlg, CTestDlg)
ON_UPDATE_COMMAND_UI(ID_ROW_REFUSED, OnUpdateRefused)
END_MESSAGE_MAP()

} // namespace

TEST_F(DialogTest, PopupMenuOfADialogKeepsEntriesWithoutAnUpdateHandlerEnabled)
{
    std::vector<qor::gui::PopupMenuRow> rows;
    qor::gui::PopupMenuDriver previous =
        qor::gui::SetPopupMenuDriver([&rows](const std::vector<qor::gui::PopupMenuRow>& r, CPoint) {
            rows = r;
            return 0u;
        });
    qor::test::DrivenDialogs driven;
    driven.ThenAs<CMenuDlg>([](CMenuDlg& dlg) {
        CMenu menu;
        menu.CreatePopupMenu();
        menu.AppendMenu(MF_STRING, ID_ROW_FREE, L"Free");
        menu.AppendMenu(MF_STRING, ID_ROW_REFUSED, L"Refused");
        menu.AppendMenu(MF_STRING | MF_GRAYED, ID_ROW_GREYED, L"Greyed");
        menu.TrackPopupMenu(TPM_RIGHTBUTTON | TPM_RETURNCMD, 10, 10, &dlg);
        qor::test::PressCancel(dlg);
    });
    CMenuDlg dlg;
    dlg.DoModal();
    qor::gui::SetPopupMenuDriver(previous);
    ASSERT_EQ(rows.size(), 3u);
    EXPECT_TRUE(rows[0].enabled);  // nobody handles it: a dialog leaves it as the menu has it
    EXPECT_FALSE(rows[1].enabled); // its update handler refuses it
    EXPECT_FALSE(rows[2].enabled); // greyed in the menu itself
}

namespace {

const DialogItem kSizableItems[] = {
    {L"Button", IDOK, L"OK", BS_DEFPUSHBUTTON | WS_TABSTOP, 60, 40, 50, 14},
};
QOR_DIALOG_RESOURCE(9002, L"Sizable Dialog",
                    WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX, 120, 60,
                    kSizableItems);

// A main window over which modal windows open, with a tip of its own showing.
class ModalOverWindowTest : public DialogTest
{
protected:
    CWnd top;
    CWnd tip;

    void SetUp() override
    {
        DialogTest::SetUp();
        ASSERT_TRUE(top.CreateEx(0, AfxRegisterWndClass(0), L"main", WS_OVERLAPPEDWINDOW | WS_VISIBLE,
                                 CRect(0, 0, 500, 400), nullptr, 0));
        ASSERT_TRUE(tip.CreateEx(WS_EX_TOOLWINDOW | WS_EX_TOPMOST, AfxRegisterWndClass(0), L"", WS_POPUP,
                                 CRect(20, 20, 120, 40), &top, 0));
        tip.ShowWindow(SW_SHOWNA);
        ASSERT_TRUE(qor::test::PumpUntil([&] { return qor::test::ToolkitActiveWindow() == &top; }));
        ASSERT_TRUE(tip.IsWindowVisible());
    }
};

} // namespace

TEST_F(ModalOverWindowTest, DialogFrameOffersWhatItsStyleAsksHidesTipsAndHandsTheActivationBack)
{
    qor::test::DrivenDialogs driven;
    driven.ThenAs<CTestDlg>([&](CTestDlg& dlg) {
        const qor::test::WindowFrame frame = qor::test::FrameOf(&dlg);
        EXPECT_TRUE(frame.dialog);
        EXPECT_TRUE(frame.close);
        EXPECT_FALSE(frame.minimize);
        EXPECT_FALSE(frame.maximize);
        EXPECT_TRUE(frame.fixedSize);
        EXPECT_EQ(frame.owner, &top);
        EXPECT_FALSE(tip.IsWindowVisible());
        // As the window manager does with a dialog it maps.
        dlg.SetActiveWindow();
        EXPECT_TRUE(qor::test::PumpUntil([&] { return qor::test::ToolkitActiveWindow() == &dlg; }));
        qor::test::PressButton(dlg, IDOK);
    });
    CTestDlg dlg;
    dlg.m_pParentWnd = &top;
    EXPECT_EQ(dlg.DoModal(), IDOK);
    EXPECT_TRUE(qor::test::PumpUntil([&] { return qor::test::ToolkitActiveWindow() == &top; }));

    // A style that asks for a sizing border and both boxes gets them.
    driven.Then([&](CWnd& sizable) {
        const qor::test::WindowFrame frame = qor::test::FrameOf(&sizable);
        EXPECT_TRUE(frame.minimize);
        EXPECT_TRUE(frame.maximize);
        EXPECT_FALSE(frame.fixedSize);
        static_cast<CDialog&>(sizable).EndDialog(IDCANCEL);
    });
    CDialog sizable(9002, &top);
    EXPECT_EQ(sizable.DoModal(), IDCANCEL);
}

TEST_F(ModalOverWindowTest, MessageBoxHidesTipsAndHandsTheActivationBack)
{
    qor::test::KeyedMessageBoxes boxes({VK_RETURN});
    EXPECT_EQ(::MessageBox(top.GetSafeHwnd(), L"Point 3", L"QOR", MB_ICONINFORMATION | MB_OK), IDOK);
    EXPECT_EQ(boxes.Shown(), 1);
    EXPECT_FALSE(tip.IsWindowVisible());
    EXPECT_TRUE(qor::test::PumpUntil([&] { return qor::test::ToolkitActiveWindow() == &top; }));
}
