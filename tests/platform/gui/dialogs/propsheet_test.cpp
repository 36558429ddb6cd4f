// Property sheets: pages made when first shown, OnSetActive / OnKillActive on switching,
// OK applies every created page, Cancel none; the list look's navigator.
#include "platform/gui/Afx.h"
#include "platform/test/DialogTest.h"
#include "platform/test/GuiTest.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

enum : UINT
{
    IDC_LENGTH = 1038,
    IDC_NAME = 1008
};

const DialogItem kPageA[] = {
    {L"Edit", IDC_NAME, L"", ES_AUTOHSCROLL | WS_BORDER | WS_TABSTOP, 7, 7, 120, 14},
};
const DialogItem kPageB[] = {
    {L"Static", 0xFFFF, L"Length", SS_LEFT, 7, 9, 40, 8},
    {L"Edit", IDC_LENGTH, L"", ES_AUTOHSCROLL | WS_BORDER | WS_TABSTOP, 50, 7, 60, 14},
};
QOR_DIALOG_RESOURCE(9101, L"Overview", WS_CHILD | WS_CAPTION | DS_CONTROL, 200, 120, kPageA);
QOR_DIALOG_RESOURCE(9102, L"Applicability", WS_CHILD | WS_CAPTION | DS_CONTROL, 230, 100, kPageB);

std::vector<std::string>* g_log = nullptr;
void Log(const std::string& s)
{
    if (g_log) g_log->push_back(s);
}

class CPageA : public CMFCPropertyPage
{
public:
    CPageA() : CMFCPropertyPage(9101) {}
    CString m_name = L"Model";
    void DoDataExchange(CDataExchange* pDX) override { DDX_Text(pDX, IDC_NAME, m_name); }
    BOOL OnInitDialog() override
    {
        Log("A:init");
        return CMFCPropertyPage::OnInitDialog();
    }
    BOOL OnSetActive() override
    {
        Log("A:set");
        return CMFCPropertyPage::OnSetActive();
    }
    BOOL OnKillActive() override
    {
        Log("A:kill");
        return CMFCPropertyPage::OnKillActive();
    }
    void OnOK() override { Log("A:ok"); }
    void OnCancel() override { Log("A:cancel"); }
};

class CPageB : public CMFCPropertyPage
{
public:
    CPageB() : CMFCPropertyPage(9102) {}
    double m_length = 10000.0;
    double m_stored = 0.0;
    void DoDataExchange(CDataExchange* pDX) override { DDX_Text(pDX, IDC_LENGTH, m_length); }
    BOOL OnInitDialog() override
    {
        Log("B:init");
        return CMFCPropertyPage::OnInitDialog();
    }
    BOOL OnSetActive() override
    {
        Log("B:set");
        return CMFCPropertyPage::OnSetActive();
    }
    BOOL OnKillActive() override
    {
        Log("B:kill");
        if (!CMFCPropertyPage::OnKillActive()) return FALSE;
        m_stored = m_length; // written when the page is left
        return TRUE;
    }
    void OnOK() override { Log("B:ok"); }
    void OnCancel() override { Log("B:cancel"); }
};

class CSheet : public CMFCPropertySheet
{
public:
    CSheet() : CMFCPropertySheet(L"Load Model Definition")
    {
        AddPage(&a);
        AddPage(&b);
    }
    CPageA a;
    CPageB b;
};

class PropertySheetTest : public ::testing::Test
{
protected:
    std::vector<std::string> log;
    void SetUp() override
    {
        qor::test::EnsureGuiApplication();
        g_log = &log;
    }
    void TearDown() override { g_log = nullptr; }
};

TEST_F(PropertySheetTest, SwitchingPagesCallsKillActiveThenSetActiveAndOkAppliesCreatedPages)
{
    qor::test::DrivenDialogs driven;
    driven.ThenAs<CSheet>([&](CSheet& sheet) {
        EXPECT_EQ(log, (std::vector<std::string>{"A:init", "A:set"}));
        EXPECT_EQ(sheet.b.m_hWnd, nullptr); // made when first shown
        EXPECT_EQ(sheet.GetActiveIndex(), 0);
        CString caption;
        sheet.GetWindowText(caption);
        EXPECT_EQ(caption, L"Load Model Definition");
        CString name;
        sheet.a.GetDlgItemText(IDC_NAME, name);
        EXPECT_EQ(name, L"Model");
        sheet.a.SetDlgItemText(IDC_NAME, L"HB45");

        log.clear();
        EXPECT_TRUE(sheet.SetActivePage(1));
        EXPECT_EQ(log, (std::vector<std::string>{"A:kill", "B:init", "B:set"}));
        EXPECT_EQ(sheet.a.m_name, L"HB45"); // read back on leaving
        EXPECT_TRUE(sheet.b.IsWindowVisible());
        EXPECT_FALSE(sheet.a.IsWindowVisible());
        EXPECT_EQ(sheet.GetActivePage(), &sheet.b);

        // The page area holds the larger page; pages sit inside the sheet.
        CRect ra, rb;
        sheet.b.GetClientRect(&rb);
        EXPECT_EQ(rb.Width(), MulDiv(230, sheet.b.GetBaseUnits().cx, 4));

        // A value that does not parse keeps the page.
        qor::test::ScriptedMessageBoxes boxes;
        sheet.b.SetDlgItemText(IDC_LENGTH, L"long");
        log.clear();
        EXPECT_FALSE(sheet.SetActivePage(0));
        EXPECT_EQ(log, (std::vector<std::string>{"B:kill"}));
        EXPECT_EQ(sheet.GetActiveIndex(), 1);
        ASSERT_EQ(boxes.Shown().size(), 1u);
        EXPECT_EQ(boxes.Shown()[0].text, L"Please enter a number.");

        sheet.b.SetDlgItemText(IDC_LENGTH, L"25.5");
        log.clear();
        EXPECT_TRUE(qor::test::PressOK(sheet));
        EXPECT_EQ(log, (std::vector<std::string>{"B:kill", "A:ok", "B:ok"}));
    });
    CSheet sheet;
    EXPECT_EQ(sheet.DoModal(), IDOK);
    EXPECT_DOUBLE_EQ(sheet.b.m_stored, 25.5);
    EXPECT_EQ(sheet.a.m_hWnd, nullptr);
    EXPECT_EQ(sheet.m_hWnd, nullptr);
}

TEST_F(PropertySheetTest, OkWithoutOpeningAPageLeavesItAloneAndCancelAppliesNothing)
{
    qor::test::DrivenDialogs driven;
    driven.ThenAs<CSheet>([](CSheet& sheet) { qor::test::PressOK(sheet); });
    CSheet sheet;
    EXPECT_EQ(sheet.DoModal(), IDOK);
    EXPECT_EQ(log, (std::vector<std::string>{"A:init", "A:set", "A:kill", "A:ok"}));
    EXPECT_DOUBLE_EQ(sheet.b.m_stored, 0.0);

    log.clear();
    driven.ThenAs<CSheet>([](CSheet& s) {
        s.SetActivePage(1);
        s.b.SetDlgItemText(IDC_LENGTH, L"3");
        qor::test::KeyPress(s.b.GetDlgItem(IDC_LENGTH), VK_ESCAPE, 0x1b);
    });
    EXPECT_EQ(sheet.DoModal(), IDCANCEL);
    EXPECT_EQ(log, (std::vector<std::string>{"A:init", "A:set", "A:kill", "B:init", "B:set", "A:cancel", "B:cancel"}));
    EXPECT_DOUBLE_EQ(sheet.b.m_stored, 0.0);
}

TEST_F(PropertySheetTest, EnterInAPageIsTheSheetsOk)
{
    qor::test::DrivenDialogs driven;
    driven.ThenAs<CSheet>([](CSheet& s) {
        CWnd* edit = s.a.GetDlgItem(IDC_NAME);
        EXPECT_EQ(CWnd::GetFocus(), edit);
        s.a.SetDlgItemText(IDC_NAME, L"By Enter");
        qor::test::KeyPress(edit, VK_RETURN, L'\r');
    });
    CSheet sheet;
    EXPECT_EQ(sheet.DoModal(), IDOK);
    EXPECT_EQ(sheet.a.m_name, L"By Enter");
}

TEST_F(PropertySheetTest, ListLookNavigatesByTheList)
{
    qor::test::DrivenDialogs driven;
    driven.ThenAs<CSheet>([&](CSheet& s) {
        auto* list = static_cast<CListBox*>(s.GetDlgItem(AFX_IDC_TAB_CONTROL));
        ASSERT_NE(list, nullptr);
        ASSERT_EQ(list->GetCount(), 2);
        CString t;
        list->GetText(1, t);
        EXPECT_EQ(t, L"Applicability");
        EXPECT_EQ(list->GetCurSel(), 0);
        CRect item;
        list->GetItemRect(1, &item);
        log.clear();
        qor::test::Click(list, item.CenterPoint());
        EXPECT_EQ(s.GetActiveIndex(), 1);
        EXPECT_EQ(log, (std::vector<std::string>{"A:kill", "B:init", "B:set"}));
        // The page stands right of the list.
        CRect rl, rp;
        list->GetWindowRect(&rl);
        s.b.GetWindowRect(&rp);
        EXPECT_EQ(rl.Width(), 150);
        EXPECT_GT(rp.left, rl.right);
        qor::test::PressCancel(s);
    });
    CSheet sheet;
    sheet.SetLook(CMFCPropertySheet::PropSheetLook_List, 150);
    EXPECT_EQ(sheet.DoModal(), IDCANCEL);
}

TEST_F(PropertySheetTest, StartPageIsTheOneSelectedBeforeDoModal)
{
    qor::test::DrivenDialogs driven;
    driven.ThenAs<CSheet>([&](CSheet& s) {
        EXPECT_EQ(s.GetActiveIndex(), 1);
        EXPECT_EQ(log, (std::vector<std::string>{"B:init", "B:set"}));
        s.EndDialog(IDCANCEL);
    });
    CSheet sheet;
    sheet.SetActivePage(1);
    EXPECT_EQ(sheet.DoModal(), IDCANCEL);
}

} // namespace
