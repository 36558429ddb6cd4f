// A list box as a running log: lines appended one by one, the last one selected (which scrolls it
// into view) and unselected again, cost no more in a long list than in a short one, every line is
// kept, and the widest line can be scrolled to.
#include "ctl_support.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>

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

    // The list filled to `lines` without looking at it; then the least time (ms) one line more took
    // in batches of appends, each line shown before the next comes.
    double MsPerLineAt(int lines)
    {
        list.ResetContent();
        for (int i = 0; i < lines; ++i) list.AddString(Line(i));
        Pump();
        double least = 1e9;
        for (int batch = 0; batch < 5; ++batch)
        {
            const auto start = std::chrono::steady_clock::now();
            for (int i = 0; i < 10; ++i)
            {
                list.AddString(Line(lines + batch * 10 + i));
                list.SetCurSel(list.GetCount() - 1);
                list.SetCurSel(-1);
                Pump();
            }
            least = std::min(
                least,
                std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count() / 10.0);
        }
        return least;
    }
};

TEST_F(ListBoxLog, OneLineMoreCostsTheSameInALongLogAndNoLineIsLost)
{
    const double at500 = MsPerLineAt(500);
    const double at20000 = MsPerLineAt(20000);
    // A list that lays out every line again on each append costs forty times as much at 20,000.
    EXPECT_LT(at20000, 2.0 * at500) << at500 << " ms a line at 500 lines, " << at20000 << " at 20,000";

    ASSERT_EQ(list.GetCount(), 20050);
    CString text;
    list.GetText(0, text);
    EXPECT_EQ(text, Line(0));
    list.GetText(20049, text);
    EXPECT_EQ(text, Line(20049));
    EXPECT_EQ(list.GetCurSel(), LB_ERR);
    // The last line is in view: the list shows the lines that end it.
    CRect client, last;
    list.GetClientRect(&client);
    ASSERT_NE(list.GetItemRect(20049, &last), LB_ERR);
    EXPECT_GE(last.top, client.top);
    EXPECT_LE(last.bottom, client.bottom);
    EXPECT_GT(list.GetTopIndex(), 20049 - client.Height() / std::max(last.Height(), 1));
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

} // namespace
