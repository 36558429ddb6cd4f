// A list box as a running log: lines appended one by one, the last one selected (which scrolls it
// into view) and unselected again, cost no more in a long list than in a short one, every line is
// kept, and the widest line can be scrolled to; far down a long list, its lines are where the list
// says they are: rects, hit tests, clicks, keys, the wheel and the drawn selection agree.
#include "tests/platform/gui/widgets/ctl_support.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <ctime>

using namespace ctltest;
using namespace qor::test;

namespace {

class ListBoxLog : public ::testing::Test
{
protected:
    CRecordingParent parent;
    CListBox list;
    void SetUp() override
    {
        ASSERT_TRUE(parent.CreateTop());
        ASSERT_TRUE(list.Create(WS_VISIBLE | WS_HSCROLL | WS_VSCROLL | LBS_NOINTEGRALHEIGHT, CRect(0, 0, 380, 120),
                                &parent, 2));
        Pump();
    }

    static CString Line(int i)
    {
        CString line;
        line.Format(L"07/12/26 21:13:%02d| Truck %d: NAASRA DLA: Bridge %d", i % 60, i % 10, i);
        return line;
    }

    // The window thread's own time (ms): what other programs on the machine do does not count.
    static double ThreadMs()
    {
        timespec t{};
        clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
        return static_cast<double>(t.tv_sec) * 1e3 + static_cast<double>(t.tv_nsec) / 1e6;
    }

    // The time (ms) one line more takes in a batch of ten appends, each line shown before the next comes.
    static double MsPerLineOfBatch(CListBox& log)
    {
        const double start = ThreadMs();
        for (int i = 0; i < 10; ++i)
        {
            log.AddString(Line(log.GetCount()));
            log.SetCurSel(log.GetCount() - 1);
            log.SetCurSel(-1);
            Pump();
        }
        return (ThreadMs() - start) / 10.0;
    }
};

TEST_F(ListBoxLog, OneLineMoreCostsTheSameInALongLogAndNoLineIsLost)
{
    CListBox shortLog;
    ASSERT_TRUE(shortLog.Create(WS_VISIBLE | WS_HSCROLL | WS_VSCROLL | LBS_NOINTEGRALHEIGHT, CRect(0, 130, 380, 250),
                                &parent, 3));
    for (int i = 0; i < 500; ++i) shortLog.AddString(Line(i));
    for (int i = 0; i < 80000; ++i) list.AddString(Line(i));
    Pump();
    // Batches on the two lists in turn; the least of each.
    double at500 = 1e9, at80000 = 1e9;
    for (int batch = 0; batch < 8; ++batch)
    {
        at500 = std::min(at500, MsPerLineOfBatch(shortLog));
        at80000 = std::min(at80000, MsPerLineOfBatch(list));
    }
    // A list that works out every line's place again on each append costs three times as much at 80,000.
    EXPECT_LT(at80000, 2.0 * at500) << at500 << " ms a line at 500 lines, " << at80000 << " at 80,000";

    ASSERT_EQ(list.GetCount(), 80080);
    CString text;
    list.GetText(0, text);
    EXPECT_EQ(text, Line(0));
    list.GetText(80079, text);
    EXPECT_EQ(text, Line(80079));
    EXPECT_EQ(list.GetCurSel(), LB_ERR);
    // The last line is in view: the list shows the lines that end it.
    CRect client, last;
    list.GetClientRect(&client);
    ASSERT_NE(list.GetItemRect(80079, &last), LB_ERR);
    EXPECT_GE(last.top, client.top);
    EXPECT_LE(last.bottom, client.bottom);
    EXPECT_GT(list.GetTopIndex(), 80079 - client.Height() / std::max(last.Height(), 1));
}

TEST_F(ListBoxLog, AWideLineAddedAmongShortOnesCanBeScrolledTo)
{
    const auto append = [&](const CString& line) {
        list.AddString(line);
        list.SetCurSel(list.GetCount() - 1);
        list.SetCurSel(-1);
        Pump();
    };
    for (int i = 0; i < 50; ++i) append(L"short");
    CRect line;
    list.GetItemRect(0, &line);
    const int narrow = line.Width();
    append(CString(L'W', 400));
    for (int i = 0; i < 50; ++i) append(L"short");
    // Every line, short ones too, spans the widest: the list scrolls that far.
    list.GetItemRect(0, &line);
    EXPECT_GT(line.Width(), narrow + 1000);
    list.GetItemRect(list.GetCount() - 1, &line);
    EXPECT_GT(line.Width(), narrow + 1000);
}

// Far down a long list everything about a line agrees: where the list says it is, what a point there
// hits, what a click there selects, what is drawn there; keys move through it line by line.
TEST_F(ListBoxLog, FarDownALongListLinesAreWhereTheListSaysTheyAre)
{
    CListBox far;
    ASSERT_TRUE(far.Create(WS_VISIBLE | WS_VSCROLL | WS_HSCROLL | LBS_NOTIFY | LBS_NOINTEGRALHEIGHT,
                           CRect(0, 130, 380, 290), &parent, 3));
    for (int i = 0; i < 1000; ++i) far.AddString(Line(i));
    Pump();
    far.SetTopIndex(500);
    Pump();
    EXPECT_EQ(far.GetTopIndex(), 500);
    CRect top, next, client;
    far.GetClientRect(&client);
    ASSERT_NE(far.GetItemRect(500, &top), LB_ERR);
    ASSERT_NE(far.GetItemRect(501, &next), LB_ERR);
    const int h = far.GetItemHeight(0);
    EXPECT_EQ(top.top, client.top);
    EXPECT_EQ(top.Height(), h);
    EXPECT_EQ(next.top, top.top + h);
    EXPECT_GE(top.Width(), client.Width() - 30);

    CRect third;
    far.GetItemRect(503, &third);
    BOOL outside = TRUE;
    EXPECT_EQ(far.ItemFromPoint(third.CenterPoint(), outside), 503u);
    EXPECT_FALSE(outside);
    Click(&far, third.CenterPoint());
    Pump();
    EXPECT_EQ(far.GetCurSel(), 503);
    EXPECT_EQ(parent.Count(LBN_SELCHANGE, 3), 1);
    // The chosen line is drawn in the selection's colour, its neighbours are not.
    PaintNow(&far);
    int width = 0;
    const std::vector<COLORREF> shown = ShownPixels(&far, &width);
    const auto at = [&](int y) { return shown[static_cast<size_t>(y * width + client.right - 30)]; };
    ASSERT_FALSE(shown.empty());
    EXPECT_NE(at(third.CenterPoint().y), at(next.CenterPoint().y));
    EXPECT_EQ(at(next.CenterPoint().y), at(third.CenterPoint().y + 2 * h));

    // Keys move line by line and keep the current line in view.
    const auto inView = [&](int index) {
        CRect r;
        far.GetItemRect(index, &r);
        return r.top >= client.top && r.bottom <= client.bottom;
    };
    far.SetFocus();
    Pump();
    KeyPress(&far, VK_DOWN);
    EXPECT_EQ(far.GetCurSel(), 504);
    KeyPress(&far, VK_END);
    EXPECT_EQ(far.GetCurSel(), 999);
    EXPECT_TRUE(inView(999));
    EXPECT_GE(far.GetTopIndex(), 999 - client.Height() / h);
    KeyPress(&far, VK_PRIOR);
    EXPECT_LT(far.GetCurSel(), 999);
    EXPECT_GT(far.GetCurSel(), 999 - client.Height() / h - 1);
    EXPECT_TRUE(inView(far.GetCurSel()));
    KeyPress(&far, VK_HOME);
    EXPECT_EQ(far.GetCurSel(), 0);
    EXPECT_EQ(far.GetTopIndex(), 0);

    // A list of several choices takes the lines between a click and a shift-click.
    CListBox several;
    ASSERT_TRUE(
        several.Create(WS_VISIBLE | WS_VSCROLL | LBS_NOTIFY | LBS_EXTENDEDSEL, CRect(0, 0, 200, 100), &parent, 4));
    for (int i = 0; i < 300; ++i) several.AddString(Line(i));
    several.SetTopIndex(200);
    Pump();
    CRect a, b;
    several.GetItemRect(201, &a);
    several.GetItemRect(204, &b);
    Click(&several, a.CenterPoint());
    Click(&several, b.CenterPoint(), VK_LBUTTON, MK_SHIFT);
    Pump();
    ASSERT_EQ(several.GetSelCount(), 4);
    int chosen[4] = {};
    several.GetSelItems(4, chosen);
    EXPECT_EQ(chosen[0], 201);
    EXPECT_EQ(chosen[3], 204);
}

} // namespace
