// The focus mark: a push button, a radio button and a list box show where the keyboard is in every look,
// in pixels that stand 3:1 against what the control shows without the focus; a disabled list's selection.
#include "ctl_support.h"

#include "platform/gui/widgets/Looks.h"

#include <gtest/gtest.h>

using namespace ctltest;
using namespace qor::test;

namespace {

// The pixels of the control's area that the focus changed to a colour 3:1 against what was there before.
int MarkPixels(CWnd& top, CWnd& control, CWnd& elsewhere)
{
    CRect r;
    control.GetWindowRect(&r);
    top.ScreenToClient(&r);
    auto shown = [&](CWnd& focus) {
        focus.SetFocus();
        PaintNow(&top);
        int width = 0, height = 0;
        std::vector<COLORREF> pixels = ShownPixels(&top, &width, &height);
        std::vector<COLORREF> area;
        for (int y = std::max<LONG>(0, r.top - 2); y < std::min<LONG>(height, r.bottom + 2); ++y)
            for (int x = std::max<LONG>(0, r.left - 2); x < std::min<LONG>(width, r.right + 2); ++x)
                area.push_back(pixels[static_cast<size_t>(y * width + x)]);
        return area;
    };
    const std::vector<COLORREF> without = shown(elsewhere);
    const std::vector<COLORREF> with = shown(control);
    int marked = 0;
    for (size_t i = 0; i < std::min(with.size(), without.size()); ++i)
        marked += qor::gui::ContrastRatio(with[i], without[i]) >= 3.0;
    return marked;
}

} // namespace

TEST(FocusMarkTest, ButtonsRadioButtonsAndListsShowTheFocusInEveryLook)
{
    // On the face of a dialog, as the controls stand in the program.
    CWnd top;
    ASSERT_TRUE(top.CreateEx(0, AfxRegisterWndClass(0, nullptr, reinterpret_cast<HBRUSH>(COLOR_3DFACE + 1)), L"dialog",
                             WS_OVERLAPPEDWINDOW | WS_VISIBLE, CRect(0, 0, 400, 300), nullptr, 0));
    CButton ok, radio, other;
    CListBox list;
    ASSERT_TRUE(ok.Create(L"OK", WS_VISIBLE | WS_TABSTOP | BS_DEFPUSHBUTTON, CRect(10, 10, 90, 34), &top, 1));
    ASSERT_TRUE(radio.Create(L"&Radio button", WS_VISIBLE | WS_TABSTOP | WS_GROUP | BS_AUTORADIOBUTTON,
                             CRect(10, 50, 160, 70), &top, 2));
    ASSERT_TRUE(
        list.Create(WS_VISIBLE | WS_TABSTOP | WS_BORDER | WS_VSCROLL | LBS_NOTIFY, CRect(10, 90, 200, 190), &top, 3));
    ASSERT_TRUE(other.Create(L"Other", WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON, CRect(250, 10, 330, 34), &top, 4));
    for (const wchar_t* item : {L"Bridge 1", L"Bridge 2", L"Bridge 3"}) list.AddString(item);

    const qor::gui::Look before = qor::gui::GetApplicationLook();
    for (qor::gui::Look look : {qor::gui::Look::Classic, qor::gui::Look::Light, qor::gui::Look::Blue,
                                qor::gui::Look::Silver, qor::gui::Look::Aqua, qor::gui::Look::Dark})
    {
        SCOPED_TRACE(static_cast<int>(look));
        qor::gui::SetApplicationLook(look);
        // A ring round the button's face, round the radio button's label, round the list (which has no
        // current item yet): at least half the control's outline.
        EXPECT_GE(MarkPixels(top, ok, other), 80 + 24) << "push button";
        EXPECT_GE(MarkPixels(top, radio, other), 2 * (12 + 40)) << "radio button's label";
        EXPECT_GE(MarkPixels(top, list, other), 190 + 100) << "list box";

        // Disabled, the list keeps its selection without the highlight, its text 3:1 on it.
        list.SetCurSel(0);
        list.EnableWindow(FALSE);
        PaintNow(&top);
        int width = 0, height = 0;
        const std::vector<COLORREF> pixels = ShownPixels(&list, &width, &height);
        CRect row;
        ASSERT_NE(list.GetItemRect(0, &row), LB_ERR);
        const COLORREF back = pixels[static_cast<size_t>((row.top + row.Height() / 2) * width + row.right - 4)];
        EXPECT_NE(back, GetSysColor(COLOR_HIGHLIGHT));
        double text = 1;
        for (int y = row.top; y < row.bottom; ++y)
            for (int x = row.left; x < row.right - 8; ++x)
                text = std::max(text, qor::gui::ContrastRatio(pixels[static_cast<size_t>(y * width + x)], back));
        EXPECT_GE(text, 3.0) << "disabled selected text";
        list.EnableWindow(TRUE);
        list.SetCurSel(-1);
    }
    qor::gui::SetApplicationLook(before);
    top.DestroyWindow();
}
