// The Diagnostics pane as the log grows: auto-hidden, it slides out showing the latest line.
#include "app_support.h"

#include "app/MainFrame.h"
#include "platform/test/FrameTest.h"
#include "platform/test/GuiTest.h"

#include <gtest/gtest.h>

using namespace qor::test;

namespace {

using OutputPane = RunningCase;

CMainFrame* Frame() { return DYNAMIC_DOWNCAST(CMainFrame, AfxGetMainWnd()); }

// Whether the list shows its line `index` whole.
bool ShowsLine(CListBox& list, int index)
{
    CRect client, line;
    list.GetClientRect(&client);
    if (list.GetItemRect(index, &line) == LB_ERR) return false;
    return line.top >= client.top && line.bottom <= client.bottom && line.Height() > 0;
}

TEST_F(OutputPane, AutoHiddenItSlidesOutAtTheLatestLine)
{
    COutputWnd& pane = Frame()->GetOutputWnd();
    COutputList& list = pane.GetList();
    Pump();
    for (int i = 0; i < 40; ++i) Frame()->AddStatus(L"Docked line");
    Pump();
    ASSERT_TRUE(ShowsLine(list, list.GetCount() - 1));

    // Unpinned, the log goes on growing out of sight.
    pane.OnPinButton();
    ASSERT_TRUE(PumpUntil([&] { return pane.IsAutoHideMode() && !pane.IsVisible(); }));
    for (int i = 0; i < 300; ++i)
    {
        CString line;
        line.Format(L"Hidden line %d", i);
        Frame()->AddStatus(line);
    }
    Pump();
    const int last = list.GetCount() - 1;

    pane.Slide(TRUE, FALSE);
    ASSERT_TRUE(PumpUntil([&] { return pane.IsVisible(); }));
    Pump(300); // the slide's animation ends
    CString text;
    list.GetText(last, text);
    EXPECT_NE(text.Find(L"Hidden line 299"), -1);
    EXPECT_TRUE(ShowsLine(list, last)) << "top line shown: " << list.GetTopIndex() << " of " << last;
    EXPECT_FALSE(ShowsLine(list, 0));

    // A line added while it is out shows too.
    Frame()->AddStatus(L"While out");
    Pump();
    EXPECT_TRUE(ShowsLine(list, last + 1));
}

} // namespace
