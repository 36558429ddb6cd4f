// Control colours: before a native control paints it asks its parent (WM_CTLCOLORxxx with a
// DC); the parent's handler or the control itself (reflected) answers, and the control shows
// the brush's colour as its background and the DC's text colour as its text.
#include "tests/platform/gui/widgets/ctl_support.h"

#include <gtest/gtest.h>

using namespace ctltest;
using namespace qor::test;

namespace {

constexpr COLORREF kYellow = RGB(255, 255, 0);
constexpr COLORREF kBlue = RGB(0, 0, 255);
constexpr COLORREF kGreen = RGB(0, 160, 0);

bool Near(COLORREF c, COLORREF want, int tol = 40)
{
    return std::abs(int(GetRValue(c)) - int(GetRValue(want))) <= tol &&
           std::abs(int(GetGValue(c)) - int(GetGValue(want))) <= tol &&
           std::abs(int(GetBValue(c)) - int(GetBValue(want))) <= tol;
}
// Text pixels: much closer to the text colour than to the background.
bool Bluish(COLORREF c) { return GetBValue(c) > 150 && GetRValue(c) < 110 && GetGValue(c) < 110; }

// Answers for its edit with id 11 (blue on yellow) and records what it was asked.
class CColouringParent : public CRecordingParent
{
public:
    CBrush yellow;
    std::vector<UINT> types;
    std::vector<CWnd*> asked;
    bool answer = true;
    CColouringParent() { yellow.CreateSolidBrush(kYellow); }

protected:
    HBRUSH OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor)
    {
        types.push_back(nCtlColor);
        asked.push_back(pWnd);
        if (answer && pWnd && pWnd->GetDlgCtrlID() == 11)
        {
            pDC->SetTextColor(kBlue);
            pDC->SetBkColor(kYellow);
            return static_cast<HBRUSH>(yellow.GetSafeHandle());
        }
        return CWnd::OnCtlColor(pDC, pWnd, nCtlColor); // the control's own answer, else the default
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CColouringParent, CRecordingParent)
ON_WM_CTLCOLOR()
END_MESSAGE_MAP()

// Answers for itself: green background, white text.
class CGreenEdit : public CEdit
{
public:
    CBrush green;
    int asked = 0;
    CGreenEdit() { green.CreateSolidBrush(kGreen); }

protected:
    HBRUSH CtlColor(CDC* pDC, UINT nCtlColor)
    {
        ++asked;
        EXPECT_EQ(nCtlColor, UINT(CTLCOLOR_EDIT));
        pDC->SetTextColor(RGB(255, 255, 255));
        return static_cast<HBRUSH>(green.GetSafeHandle());
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CGreenEdit, CEdit)
ON_WM_CTLCOLOR_REFLECT()
END_MESSAGE_MAP()

TEST(ControlColours, TheParentsAnswerIsWhatTheEditShows)
{
    CColouringParent parent;
    ASSERT_TRUE(parent.CreateTop());
    CEdit edit;
    ASSERT_TRUE(edit.Create(WS_CHILD | WS_VISIBLE | WS_BORDER, CRect(10, 10, 200, 40), &parent, 11));
    edit.SetWindowText(L"WWWW MMMM");
    int w = 0, h = 0;
    std::vector<COLORREF> px = ShownPixels(&edit, &w, &h);
    ASSERT_EQ(w, 190);
    ASSERT_EQ(h, 30);
    ASSERT_FALSE(parent.types.empty());
    EXPECT_EQ(parent.types.back(), UINT(CTLCOLOR_EDIT));
    EXPECT_EQ(parent.asked.back(), &edit);
    int yellow = 0, blue = 0;
    for (COLORREF c : px)
    {
        yellow += Near(c, kYellow, 8);
        blue += Bluish(c);
    }
    EXPECT_GT(yellow, w * h / 2) << "the brush fills the background";
    EXPECT_GT(blue, 20) << "the text is drawn in the DC's text colour";

    // A read-only edit asks as a static; with no answer it keeps its own look.
    parent.answer = false;
    edit.SetReadOnly(TRUE);
    px = ShownPixels(&edit);
    EXPECT_EQ(parent.types.back(), UINT(CTLCOLOR_STATIC));
    EXPECT_EQ(std::count_if(px.begin(), px.end(), [](COLORREF c) { return Near(c, kYellow, 8); }), 0);
    EXPECT_EQ(std::count_if(px.begin(), px.end(), Bluish), 0);
}

TEST(ControlColours, AControlAnswersForItselfThroughReflection)
{
    // No handler in the parent: its default reflects the message to the control.
    CRecordingParent parent;
    ASSERT_TRUE(parent.CreateTop());
    CGreenEdit edit;
    ASSERT_TRUE(edit.Create(WS_CHILD | WS_VISIBLE, CRect(10, 10, 200, 40), &parent, 12));
    edit.SetWindowText(L"WWWW MMMM");
    int green = CountShownPixels(&edit, [](COLORREF c) { return Near(c, kGreen, 8); });
    EXPECT_GT(edit.asked, 0);
    EXPECT_GT(green, 190 * 30 / 2);
    EXPECT_GT(CountShownPixels(
                  &edit, [](COLORREF c) { return GetRValue(c) > 200 && GetGValue(c) > 200 && GetBValue(c) > 200; }),
              20);

    // A parent handler that leaves the control to the default reaches it too.
    CColouringParent other;
    ASSERT_TRUE(other.CreateTop());
    CGreenEdit edit2;
    ASSERT_TRUE(edit2.Create(WS_CHILD | WS_VISIBLE, CRect(10, 10, 200, 40), &other, 13));
    EXPECT_GT(CountShownPixels(&edit2, [](COLORREF c) { return Near(c, kGreen, 8); }), 190 * 30 / 2);
    EXPECT_GT(edit2.asked, 0);

    // The edit part of a combo box asks the combo box's parent.
    CComboBox combo;
    ASSERT_TRUE(combo.Create(WS_CHILD | WS_VISIBLE | CBS_DROPDOWN, CRect(10, 60, 200, 200), &other, 14));
    other.types.clear();
    other.asked.clear();
    ShownPixels(&combo);
    ASSERT_FALSE(other.types.empty());
    EXPECT_EQ(other.types.back(), UINT(CTLCOLOR_EDIT));
    EXPECT_EQ(other.asked.back(), combo.GetDlgItem(IDC_COMBOEDIT));
}

TEST(ControlColours, StaticTextAndTheDefaultLook)
{
    CColouringParent parent;
    ASSERT_TRUE(parent.CreateTop());
    CStatic label;
    ASSERT_TRUE(label.Create(L"WWWW MMMM", WS_CHILD | WS_VISIBLE, CRect(10, 10, 200, 40), &parent, 11));
    EXPECT_GT(CountShownPixels(&label, [](COLORREF c) { return Near(c, kYellow, 8); }), 190 * 30 / 2);
    EXPECT_EQ(parent.types.back(), UINT(CTLCOLOR_STATIC));
    EXPECT_GT(CountShownPixels(&label, Bluish), 20);

    // Once the parent stops answering, the control's own colours come back.
    parent.answer = false;
    label.Invalidate();
    EXPECT_EQ(CountShownPixels(&label, [](COLORREF c) { return Near(c, kYellow, 8); }), 0);
    EXPECT_EQ(CountShownPixels(&label, Bluish), 0);

    // A list box asks with its own type.
    CListBox list;
    ASSERT_TRUE(list.Create(WS_CHILD | WS_VISIBLE | WS_BORDER, CRect(10, 50, 200, 150), &parent, 15));
    list.AddString(L"one");
    ShownPixels(&list);
    EXPECT_EQ(parent.types.back(), UINT(CTLCOLOR_LISTBOX));
    EXPECT_EQ(parent.asked.back(), &list);
}

} // namespace
