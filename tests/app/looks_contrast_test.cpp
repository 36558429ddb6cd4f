// Every application look keeps its texts readable and its pictures visible: a real dialog, the settings pane,
// a grid and the toolbars drawn in each look, and the contrast of what they show read from their pixels; the
// boxes and circles of check boxes and radio buttons, and their ticks and dots, stand out from the face.
#include "app_support.h"

#include "controls/grid/GridCtrl.h"
#include "platform/gui/widgets/Looks.h"
#include "platform/test/DialogTest.h"
#include "platform/test/GuiTest.h"
#include "res/Resource.h"
#include "ui/dialogs/BridgeDlg.h"
#include "ui/dialogs/OutputOptionsDlg.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <string>
#include <utility>
#include <vector>

namespace {

using qor::test::DrivenDialogs;
using qor::test::RunningCase;

// Pixels of a window as shown, with their width.
struct Shown
{
    std::vector<COLORREF> pixels;
    int width = 0, height = 0;
    COLORREF At(int x, int y) const { return pixels[static_cast<size_t>(y * width + x)]; }
};

Shown Capture(CWnd* wnd)
{
    qor::test::PaintNow(wnd);
    Shown s;
    s.pixels = qor::test::ShownPixels(wnd, &s.width, &s.height);
    return s;
}

// The contrast of what is drawn in an area against the area's background (its commonest colour): the
// pixel that stands out most, which is the core of a text's strokes (its edges are blended).
double InkContrast(const Shown& s, CRect area, COLORREF* background = nullptr)
{
    area.IntersectRect(area, CRect(0, 0, s.width, s.height));
    std::map<COLORREF, int> counts;
    for (int y = area.top; y < area.bottom; ++y)
        for (int x = area.left; x < area.right; ++x) ++counts[s.At(x, y)];
    if (counts.empty()) return 0;
    const COLORREF back =
        std::max_element(counts.begin(), counts.end(), [](auto& a, auto& b) { return a.second < b.second; })->first;
    if (background) *background = back;
    double best = 1;
    for (int y = area.top; y < area.bottom; ++y)
        for (int x = area.left; x < area.right; ++x) best = std::max(best, qor::gui::ContrastRatio(s.At(x, y), back));
    return best;
}

// The commonest colour of an area.
COLORREF Commonest(const Shown& s, CRect area)
{
    area.IntersectRect(area, CRect(0, 0, s.width, s.height));
    std::map<COLORREF, int> counts;
    for (int y = area.top; y < area.bottom; ++y)
        for (int x = area.left; x < area.right; ++x) ++counts[s.At(x, y)];
    if (counts.empty()) return 0;
    return std::max_element(counts.begin(), counts.end(), [](auto& a, auto& b) { return a.second < b.second; })->first;
}

// The highest contrast against `against` of the pixels in an area.
double MostAgainst(const Shown& s, CRect area, COLORREF against)
{
    area.IntersectRect(area, CRect(0, 0, s.width, s.height));
    double best = 1;
    for (int y = area.top; y < area.bottom; ++y)
        for (int x = area.left; x < area.right; ++x)
            best = std::max(best, qor::gui::ContrastRatio(s.At(x, y), against));
    return best;
}

// The box of a check box or the circle of a radio button: at the left of the control, the columns drawn
// before the first column of face alone that leads to the label.
CRect IndicatorOf(const Shown& s, const CRect& control, COLORREF face)
{
    auto drawn = [&](int x, int y) { return qor::gui::ContrastRatio(s.At(x, y), face) > 1.15; };
    CRect box(control.right, control.bottom, control.left, control.top);
    for (int x = control.left; x < control.right; ++x)
    {
        bool any = false;
        for (int y = control.top; y < control.bottom; ++y)
            if (drawn(x, y))
            {
                any = true;
                box.top = std::min<LONG>(box.top, y);
                box.bottom = std::max<LONG>(box.bottom, y + 1);
            }
        if (any)
        {
            box.left = std::min<LONG>(box.left, x);
            box.right = x + 1;
        }
        else if (box.left < box.right)
        {
            break;
        }
    }
    return box;
}

struct LookCase
{
    UINT id;
    const char* name;
};

const LookCase kLooks[] = {
    {ID_VIEW_APPLOOK_WIN_2000, "Windows 2000"},      {ID_VIEW_APPLOOK_OFF_XP, "Office XP"},
    {ID_VIEW_APPLOOK_WIN_XP, "Windows XP"},          {ID_VIEW_APPLOOK_OFF_2003, "Office 2003"},
    {ID_VIEW_APPLOOK_VS_2005, "Visual Studio 2005"}, {ID_VIEW_APPLOOK_VS_2008, "Visual Studio 2008"},
    {ID_VIEW_APPLOOK_OFF_2007_BLUE, "Blue"},         {ID_VIEW_APPLOOK_OFF_2007_BLACK, "Black"},
    {ID_VIEW_APPLOOK_OFF_2007_SILVER, "Silver"},     {ID_VIEW_APPLOOK_OFF_2007_AQUA, "Aqua"},
    {ID_VIEW_APPLOOK_WINDOWS_7, "Windows 7"},
};

class LooksTest : public RunningCase
{
protected:
    CMainFrame* Frame() { return DYNAMIC_DOWNCAST(CMainFrame, AfxGetMainWnd()); }

    // Each labelled control of the dialog: 4.5:1 enabled, 3:1 disabled (its text only: a radio button's
    // or check box's mark is left out).
    void CheckDialog(CDialog& dlg, const std::string& look)
    {
        const Shown shown = Capture(&dlg);
        ASSERT_GT(shown.width, 0);
        int texts = 0;
        for (CWnd* child = dlg.GetWindow(GW_CHILD); child; child = child->GetWindow(GW_HWNDNEXT))
        {
            CString text;
            child->GetWindowText(text);
            if (text.IsEmpty() || !child->IsWindowVisible()) continue;
            CRect r;
            child->GetWindowRect(&r);
            dlg.ScreenToClient(&r);
            const DWORD type = child->GetStyle() & 0x0F;
            const bool button = DYNAMIC_DOWNCAST(CButton, child) != nullptr;
            if (button && type != BS_PUSHBUTTON && type != BS_DEFPUSHBUTTON && type != BS_GROUPBOX)
                r.left += std::min<LONG>(20, r.Width() / 3);
            if (button && type == BS_GROUPBOX) r.bottom = r.top + std::min<LONG>(r.Height(), 14);
            r.DeflateRect(1, 1);
            const double need = child->IsWindowEnabled() ? 4.5 : 3.0;
            EXPECT_GE(InkContrast(shown, r), need) << look << ": control " << child->GetDlgCtrlID();
            ++texts;
        }
        EXPECT_GE(texts, 5) << look;
    }
    // The radio buttons or check boxes of the dialog: each one's outline 3:1 against the face on all four
    // sides, chosen or not; a chosen one's dot or tick 3:1 against the face and the inside it is drawn on,
    // an unchosen one's inside empty. Returns the count chosen and not.
    std::pair<int, int> CheckMarks(CDialog& dlg, DWORD kind, const std::string& look)
    {
        const Shown shown = Capture(&dlg);
        CRect client;
        dlg.GetClientRect(&client);
        const COLORREF face = Commonest(shown, client);
        int chosen = 0, unchosen = 0;
        std::vector<std::pair<CRect, bool>> marks;
        for (CWnd* child = dlg.GetWindow(GW_CHILD); child; child = child->GetWindow(GW_HWNDNEXT))
        {
            auto* button = DYNAMIC_DOWNCAST(CButton, child);
            if (!button || (child->GetStyle() & 0x0F) != kind || !child->IsWindowVisible() || !child->IsWindowEnabled())
                continue;
            CRect r;
            child->GetWindowRect(&r);
            dlg.ScreenToClient(&r);
            const CRect box = IndicatorOf(shown, r, face);
            const int id = child->GetDlgCtrlID();
            if (box.Width() < 8 || box.Height() < 8 || box.Width() > r.Height() + 4)
            {
                ADD_FAILURE() << look << ": no box or circle at the left of control " << id;
                continue;
            }
            const CPoint mid = box.CenterPoint();
            const int w3 = box.Width() / 3, h3 = box.Height() / 3;
            EXPECT_GE(MostAgainst(shown, CRect(box.left, mid.y, box.left + w3, mid.y + 1), face), 3.0)
                << look << ": left of control " << id;
            EXPECT_GE(MostAgainst(shown, CRect(box.right - w3, mid.y, box.right, mid.y + 1), face), 3.0)
                << look << ": right of control " << id;
            EXPECT_GE(MostAgainst(shown, CRect(mid.x, box.top, mid.x + 1, box.top + h3), face), 3.0)
                << look << ": top of control " << id;
            EXPECT_GE(MostAgainst(shown, CRect(mid.x, box.bottom - h3, mid.x + 1, box.bottom), face), 3.0)
                << look << ": bottom of control " << id;
            marks.emplace_back(box, button->GetCheck() == BST_CHECKED);
            ++(marks.back().second ? chosen : unchosen);
        }
        // The inside: the commonest colour inside an unchosen one's outline.
        COLORREF inside = face;
        for (const auto& [box, on] : marks)
            if (!on) inside = Commonest(shown, CRect(box.left + 3, box.top + 3, box.right - 3, box.bottom - 3));
        for (const auto& [box, on] : marks)
        {
            const CPoint mid = box.CenterPoint();
            const CRect centre(mid.x - box.Width() / 6, mid.y - box.Height() / 6, mid.x + box.Width() / 6 + 1,
                               mid.y + box.Height() / 6 + 1);
            if (on)
            {
                EXPECT_GE(MostAgainst(shown, centre, face), 3.0) << look << ": the mark of a chosen one";
                EXPECT_GE(MostAgainst(shown, centre, inside), 3.0) << look << ": the mark of a chosen one";
            }
            else
            {
                EXPECT_LT(MostAgainst(shown, centre, inside), 1.5) << look << ": an unchosen one is empty";
            }
        }
        return {chosen, unchosen};
    }
};

TEST_F(LooksTest, EveryLookKeepsTextsReadableAndPicturesVisible)
{
    CMainFrame* frame = Frame();
    ASSERT_NE(frame, nullptr);
    frame->SendMessage(WM_COMMAND, ID_TOOLS_OPTIONS);
    CMFCPropertyGridCtrl& settings = frame->GetSettingsPane().GetPropertyGrid();
    ASSERT_TRUE(::IsWindow(settings.GetSafeHwnd()));

    // A grid with fixed and ordinary cells, as the result windows have them.
    CWnd host;
    ASSERT_TRUE(
        host.CreateEx(0, nullptr, L"grid", WS_OVERLAPPEDWINDOW | WS_VISIBLE, CRect(0, 0, 320, 160), nullptr, 0));
    CGridCtrl grid(4, 3, 1, 1);
    ASSERT_TRUE(grid.Create(CRect(0, 0, 300, 120), &host, 100));
    for (int row = 0; row < 4; ++row)
        for (int col = 0; col < 3; ++col) grid.SetItemText(row, col, row == 0 ? L"Header" : L"100.00");

    for (const LookCase& look : kLooks)
    {
        SCOPED_TRACE(look.name);
        frame->OnApplicationLook(look.id);
        qor::test::RunIdle(app);

        DrivenDialogs dialogs;
        dialogs.ThenAs<CBridgeDlg>([&](CBridgeDlg& d) {
            CheckDialog(d, look.name);
            const auto [chosen, unchosen] = CheckMarks(d, BS_AUTORADIOBUTTON, look.name);
            EXPECT_EQ(chosen, 1);
            EXPECT_EQ(unchosen, 2);
            qor::test::PressCancel(d);
        });
        frame->SendMessage(WM_COMMAND, ID_CONFIGURATION_ADD_BRIDGE);
        dialogs.ThenAs<COutputOptionsDlg>([&](COutputOptionsDlg& d) {
            d.CheckDlgButton(IDC_BMSF, BST_CHECKED);
            d.CheckDlgButton(IDC_REACTIONS, BST_UNCHECKED);
            const auto [chosen, unchosen] = CheckMarks(d, BS_AUTOCHECKBOX, look.name);
            EXPECT_GE(chosen, 1);
            EXPECT_GE(unchosen, 1);
            qor::test::PressCancel(d);
        });
        frame->SendMessage(WM_COMMAND, ID_VIEW_OUTPUT_OPTIONS);

        // The settings pane: the first row is a group's header; the description box is at the bottom.
        settings.SetCurSel(nullptr);
        const Shown pane = Capture(&settings);
        ASSERT_GT(pane.width, 0);
        EXPECT_GE(InkContrast(pane, CRect(16, 2, std::min(140, pane.width), 14)), 4.5) << "group header";
        settings.SetCurSel(settings.GetProperty(0));
        const Shown described = Capture(&settings);
        EXPECT_GE(InkContrast(described, CRect(4, described.height - 60, described.width - 4, described.height - 4)),
                  4.5)
            << "description box";

        // The grid's fixed and ordinary cells.
        const Shown cells = Capture(&grid);
        for (int row = 0; row < 2; ++row)
            for (int col = 0; col < 2; ++col)
            {
                CRect r;
                ASSERT_TRUE(grid.GetCellRect(row, col, &r));
                r.DeflateRect(2, 2);
                EXPECT_GE(InkContrast(cells, r), 4.5) << "grid cell " << row << "," << col;
            }

        // Toolbar pictures: what makes out their shapes (a quarter of their pixels at least, the outlines and
        // strokes) 3:1 against the bar; the light fills inside them may be as light as the bar.
        Shown bar;
        bar.pixels = qor::test::ToolBarPixels(&frame->GetToolBar(), &bar.width, &bar.height);
        CRect barRect = qor::test::ToolBarScreenRect(&frame->GetToolBar());
        int pictures = 0;
        CMFCToolBar& tools = frame->GetToolBar();
        for (int i = 0; i < tools.GetCount(); ++i)
        {
            if (tools.GetItemID(i) == ID_SEPARATOR) continue; // greyed pictures too: grey, but their outlines 3:1
            CRect button = qor::test::ToolBarButtonScreenRect(&frame->GetToolBar(), i);
            if (button.IsRectEmpty()) continue;
            button.OffsetRect(-barRect.left, -barRect.top);
            // The bar may be shaded from top to bottom: each row's background is its colour at the button's edge.
            auto back = [&](int y) { return bar.At(button.left, y); };
            auto isBack = [&](int x, int y) { return qor::gui::ContrastRatio(bar.At(x, y), back(y)) < 1.1; };
            int drawn = 0, strong = 0;
            for (int y = button.top + 1; y < button.bottom - 1; ++y)
                for (int x = button.left + 1; x < button.right - 1; ++x)
                {
                    if (isBack(x, y)) continue;
                    ++drawn;
                    if (qor::gui::ContrastRatio(bar.At(x, y), back(y)) >= 3.0) ++strong;
                }
            if (drawn == 0) continue;
            ++pictures;
            EXPECT_GE(strong * 4, drawn) << "toolbar picture " << i << ": " << strong << " of " << drawn;
        }
        EXPECT_GE(pictures, 12);
    }
    frame->OnApplicationLook(ID_VIEW_APPLOOK_VS_2008);
    host.DestroyWindow();
}

} // namespace
