// Buttons, static text and the progress bar: clicks toggle check boxes and radio buttons as
// their styles say and tell the parent; a subclass can take a click away from the button.
#include "tests/platform/gui/widgets/ctl_support.h"

#include <gtest/gtest.h>

using namespace ctltest;
using namespace qor::test;

namespace {

class ButtonTest : public ::testing::Test
{
protected:
    CRecordingParent parent;
    void SetUp() override { ASSERT_TRUE(parent.CreateTop()); }
    static CPoint Middle(CWnd& w)
    {
        CRect r;
        w.GetClientRect(&r);
        return r.CenterPoint();
    }
};

TEST_F(ButtonTest, CheckBoxClickTogglesAndSendsClicked)
{
    CButton check;
    ASSERT_TRUE(check.Create(L"&Check", WS_VISIBLE | BS_AUTOCHECKBOX, CRect(10, 10, 150, 30), &parent, 11));
    EXPECT_EQ(check.GetCheck(), BST_UNCHECKED);
    int seen = -1;
    parent.onNotify = [&](const Notification& n) {
        if (n.code == BN_CLICKED) seen = check.GetCheck();
    };
    Click(&check, Middle(check));
    EXPECT_EQ(check.GetCheck(), BST_CHECKED);
    EXPECT_EQ(parent.Count(BN_CLICKED, 11), 1);
    EXPECT_EQ(seen, BST_CHECKED) << "the parent sees the new state";
    Click(&check, Middle(check));
    EXPECT_EQ(check.GetCheck(), BST_UNCHECKED);
    EXPECT_EQ(parent.Count(BN_CLICKED, 11), 2);
    // The space bar clicks too; code sets the state without a notification.
    check.SetFocus();
    KeyPress(&check, VK_SPACE, L' ');
    EXPECT_EQ(check.GetCheck(), BST_CHECKED);
    EXPECT_EQ(parent.Count(BN_CLICKED, 11), 3);
    check.SetCheck(BST_UNCHECKED);
    EXPECT_EQ(check.GetCheck(), BST_UNCHECKED);
    EXPECT_EQ(parent.Count(BN_CLICKED, 11), 3);
    EXPECT_EQ(check.SendMessage(WM_GETDLGCODE), LRESULT(DLGC_BUTTON));
    EXPECT_EQ(TextOf(check), CString(L"&Check"));

    // A plain check box reports the click and leaves the state to its owner.
    CButton manual;
    ASSERT_TRUE(manual.Create(L"Manual", WS_VISIBLE | BS_CHECKBOX, CRect(10, 40, 150, 60), &parent, 12));
    Click(&manual, Middle(manual));
    EXPECT_EQ(manual.GetCheck(), BST_UNCHECKED);
    EXPECT_EQ(parent.Count(BN_CLICKED, 12), 1);
    manual.SetCheck(BST_CHECKED);
    EXPECT_EQ(manual.GetCheck(), BST_CHECKED);

    CButton three;
    ASSERT_TRUE(three.Create(L"Three", WS_VISIBLE | BS_AUTO3STATE, CRect(10, 70, 150, 90), &parent, 13));
    three.SetCheck(BST_INDETERMINATE);
    EXPECT_EQ(three.GetCheck(), BST_INDETERMINATE);
}

TEST_F(ButtonTest, AutoRadioButtonsUncheckTheirGroup)
{
    CButton a, b, c, other;
    ASSERT_TRUE(a.Create(L"A", WS_VISIBLE | WS_GROUP | BS_AUTORADIOBUTTON, CRect(10, 10, 100, 30), &parent, 21));
    ASSERT_TRUE(b.Create(L"B", WS_VISIBLE | BS_AUTORADIOBUTTON, CRect(10, 40, 100, 60), &parent, 22));
    ASSERT_TRUE(c.Create(L"C", WS_VISIBLE | BS_AUTORADIOBUTTON, CRect(10, 70, 100, 90), &parent, 23));
    ASSERT_TRUE(other.Create(L"D", WS_VISIBLE | WS_GROUP | BS_AUTORADIOBUTTON, CRect(10, 100, 100, 120), &parent, 24));
    a.SetCheck(BST_CHECKED);
    other.SetCheck(BST_CHECKED);
    Click(&c, Middle(c));
    EXPECT_EQ(a.GetCheck(), BST_UNCHECKED);
    EXPECT_EQ(b.GetCheck(), BST_UNCHECKED);
    EXPECT_EQ(c.GetCheck(), BST_CHECKED);
    EXPECT_EQ(other.GetCheck(), BST_CHECKED) << "another group keeps its choice";
    EXPECT_EQ(parent.Count(BN_CLICKED, 23), 1);
    Click(&c, Middle(c));
    EXPECT_EQ(c.GetCheck(), BST_CHECKED) << "a checked radio button stays checked";
    EXPECT_EQ(c.SendMessage(WM_GETDLGCODE), LRESULT(DLGC_BUTTON | DLGC_RADIOBUTTON));
}

class CNoClickButton : public CButton
{
public:
    bool refuse = true;

protected:
    void OnLButtonDown(UINT nFlags, CPoint point)
    {
        if (!refuse) CButton::OnLButtonDown(nFlags, point);
    }
    void OnLButtonUp(UINT nFlags, CPoint point)
    {
        if (!refuse) CButton::OnLButtonUp(nFlags, point);
    }
    DECLARE_MESSAGE_MAP()
};
BEGIN_MESSAGE_MAP(CNoClickButton, CButton)
ON_WM_LBUTTONDOWN()
ON_WM_LBUTTONUP()
END_MESSAGE_MAP()

TEST_F(ButtonTest, PushButtonsAndASubclassThatKeepsTheMouse)
{
    CButton ok;
    ASSERT_TRUE(ok.Create(L"OK", WS_VISIBLE | BS_DEFPUSHBUTTON, CRect(10, 10, 100, 35), &parent, IDOK));
    EXPECT_EQ(ok.SendMessage(WM_GETDLGCODE), LRESULT(DLGC_BUTTON | DLGC_DEFPUSHBUTTON));
    Click(&ok, Middle(ok));
    EXPECT_EQ(parent.Count(BN_CLICKED, IDOK), 1);
    ok.Click();
    EXPECT_EQ(parent.Count(BN_CLICKED, IDOK), 2);
    ok.EnableWindow(FALSE);
    ok.Click();
    EXPECT_EQ(parent.Count(BN_CLICKED, IDOK), 2) << "a disabled button does not click";

    CNoClickButton pinned;
    ASSERT_TRUE(pinned.Create(L"Pinned", WS_VISIBLE | BS_PUSHBUTTON, CRect(10, 40, 100, 65), &parent, 31));
    EXPECT_EQ(pinned.SendMessage(WM_GETDLGCODE), LRESULT(DLGC_BUTTON | DLGC_UNDEFPUSHBUTTON));
    Click(&pinned, Middle(pinned));
    EXPECT_EQ(parent.Count(BN_CLICKED, 31), 0) << "the subclass kept the mouse from the button";
    pinned.refuse = false;
    Click(&pinned, Middle(pinned));
    EXPECT_EQ(parent.Count(BN_CLICKED, 31), 1);
    // A click sent as messages behaves like the real one.
    pinned.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
    pinned.SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
    EXPECT_EQ(parent.Count(BN_CLICKED, 31), 2);
}

TEST_F(ButtonTest, StaticTextAndProgress)
{
    CStatic label;
    ASSERT_TRUE(label.Create(L"&Name:", WS_VISIBLE | SS_NOTIFY, CRect(10, 10, 100, 30), &parent, 41));
    EXPECT_EQ(TextOf(label), CString(L"&Name:"));
    label.SetWindowText(L"Other");
    EXPECT_EQ(TextOf(label), CString(L"Other"));
    EXPECT_EQ(label.SendMessage(WM_GETDLGCODE), LRESULT(DLGC_STATIC));
    Click(&label, CPoint(3, 3));
    EXPECT_EQ(parent.Count(STN_CLICKED, 41), 1);

    CProgressCtrl progress;
    ASSERT_TRUE(progress.Create(WS_VISIBLE, CRect(10, 40, 200, 60), &parent, 42));
    int lo = -1, hi = -1;
    progress.GetRange(lo, hi);
    EXPECT_EQ(lo, 0);
    EXPECT_EQ(hi, 100);
    progress.SetRange32(0, 100000);
    EXPECT_EQ(progress.SetPos(70000), 0);
    EXPECT_EQ(progress.GetPos(), 70000);
    EXPECT_EQ(progress.SetPos(200000), 70000);
    EXPECT_EQ(progress.GetPos(), 100000) << "the position stays in the range";
    progress.SetRange32(0, 10);
    EXPECT_EQ(progress.GetPos(), 10);
    progress.SetStep(4);
    progress.SetPos(8);
    progress.StepIt();
    EXPECT_EQ(progress.GetPos(), 2) << "stepping past the end starts again";
    EXPECT_EQ(progress.OffsetPos(3), 2);
    EXPECT_EQ(progress.GetPos(), 5);
}

} // namespace
