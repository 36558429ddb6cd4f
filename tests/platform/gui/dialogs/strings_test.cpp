// Texts from the string table in the window layer: a property sheet's caption id, a page's
// caption id (its tab), a tooltip's text id.
#include "platform/gui/Afx.h"
#include "platform/test/DialogTest.h"
#include "platform/test/GuiTest.h"

#include <gtest/gtest.h>

namespace {

enum : UINT
{
    IDS_SHEET = 63001,
    IDS_PAGE = 63002,
    IDS_TIP = 63003,
    IDD_PAGE = 9301
};
QOR_STRING_RESOURCE(IDS_SHEET, L"Load Model Definition");
QOR_STRING_RESOURCE(IDS_PAGE, L"Axle Loads");
QOR_STRING_RESOURCE(IDS_TIP, L"Distance from the left support");

const DialogItem kPage[] = {
    {L"Edit", 1001, L"", ES_AUTOHSCROLL | WS_BORDER | WS_TABSTOP, 7, 7, 120, 14},
};
QOR_DIALOG_RESOURCE(IDD_PAGE, L"Template Caption", WS_CHILD | WS_CAPTION | DS_CONTROL, 200, 100, kPage);

TEST(StringResources, ASheetAndItsPagesTakeTheirCaptionsFromTheStringTable)
{
    qor::test::EnsureGuiApplication();
    CPropertyPage titled(IDD_PAGE, IDS_PAGE);
    CPropertyPage plain(IDD_PAGE);
    EXPECT_EQ(titled.GetTitle(), CString(L"Axle Loads"));
    EXPECT_EQ(plain.GetTitle(), CString(L"Template Caption"));

    CPropertySheet sheet(IDS_SHEET);
    sheet.AddPage(&titled);
    sheet.AddPage(&plain);
    qor::test::DrivenDialogs driven;
    CString caption;
    driven.Then([&](CWnd& w) {
        w.GetWindowText(caption);
        qor::test::PressCancel(w);
    });
    EXPECT_EQ(sheet.DoModal(), IDCANCEL);
    EXPECT_EQ(caption, CString(L"Load Model Definition"));

    // An id without a text gives an empty caption.
    CPropertySheet none(63999u);
    CPropertyPage page(IDD_PAGE);
    none.AddPage(&page);
    qor::test::DrivenDialogs driven2;
    caption = L"?";
    driven2.Then([&](CWnd& w) {
        w.GetWindowText(caption);
        qor::test::PressCancel(w);
    });
    none.DoModal();
    EXPECT_TRUE(caption.IsEmpty());
}

TEST(StringResources, ATooltipToolTakesItsTextFromTheStringTable)
{
    qor::test::EnsureGuiApplication();
    CWnd parent;
    ASSERT_TRUE(parent.CreateEx(0, AfxRegisterWndClass(0), L"parent", WS_OVERLAPPEDWINDOW | WS_VISIBLE,
                                CRect(0, 0, 300, 200), nullptr, 0));
    CToolTipCtrl tip;
    ASSERT_TRUE(tip.Create(&parent));
    ASSERT_TRUE(tip.AddTool(&parent, IDS_TIP, nullptr, 7));
    CString text;
    tip.GetText(text, &parent, 7);
    EXPECT_EQ(text, CString(L"Distance from the left support"));
    tip.UpdateTipText(IDS_SHEET, &parent, 7);
    tip.GetText(text, &parent, 7);
    EXPECT_EQ(text, CString(L"Load Model Definition"));
}

} // namespace
