// The pool a run's pieces share: on one thread or many, every piece runs once, the longest start
// first, each piece's status lines come out in the order the pieces were added, and a failure
// ends the run as the serial run would end it.
#include "analysis_test_helpers.h"

#include "engine/analysis/RunPool.h"
#include "engine/runs/EngineMessages.h"
#include "engine/runs/RunControl.h"

#include <gtest/gtest.h>

#include <atomic>
#include <new>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

namespace {

using antest::RecordingWindow;
using antest::ThrownText;

std::vector<std::wstring> Lines(const RecordingWindow& window)
{
    std::vector<std::wstring> lines;
    for (const auto& p : window.Posts(UWM_ADD_STATUS)) lines.push_back(p.text);
    return lines;
}

TEST(RunPool, PiecesRunLongestFirstAndSpeakInTheOrderAdded)
{
    for (unsigned threads : {1u, 2u, 8u})
    {
        SCOPED_TRACE(threads);
        RecordingWindow window;
        CRunPool pool(threads);
        constexpr int kPieces = 40;
        std::vector<int> startedAs(kPieces, -1);
        std::vector<unsigned> workers(kPieces, 99);
        std::atomic<int> started{0};
        for (int i = 0; i < kPieces; ++i)
        {
            // Costs out of order: piece 17 is the longest, then 3, then the rest by their number.
            const double cost = i == 17 ? 1000.0 : i == 3 ? 500.0 : static_cast<double>(i);
            pool.Add(cost, [&, i](unsigned worker) {
                startedAs[i] = started.fetch_add(1);
                // The first pieces wait until every thread has taken one: they are the longest.
                while (started.load() < static_cast<int>(threads)) std::this_thread::yield();
                workers[i] = worker;
                qor::PostStatusLine(CString(std::to_wstring(i).c_str()));
                qor::PostStatusLine(CString((L"and " + std::to_wstring(i)).c_str()));
            });
        }
        pool.Run();

        std::vector<std::wstring> expected;
        for (int i = 0; i < kPieces; ++i)
        {
            expected.push_back(std::to_wstring(i));
            expected.push_back(L"and " + std::to_wstring(i));
            EXPECT_LT(workers[i], threads) << i;
        }
        EXPECT_EQ(Lines(window), expected);
        EXPECT_EQ(started.load(), kPieces);
        if (threads == 1)
        {
            for (int i = 0; i < kPieces; ++i) EXPECT_EQ(startedAs[i], i); // the serial run, as added
        }
        else
        {
            // 17, 3, then 39, 38, ... by cost: the first taken, one on each thread.
            const int n = static_cast<int>(threads);
            EXPECT_LT(startedAs[17], n);
            EXPECT_LT(startedAs[3], n);
            for (int i = kPieces - 1; i > kPieces + 1 - n; --i) EXPECT_LT(startedAs[i], n) << i;
            EXPECT_GE(startedAs[0], n); // the cheapest among the last
        }
    }
}

TEST(RunPool, TheFirstFailureInTheOrderAddedEndsTheRun)
{
    for (unsigned threads : {1u, 8u})
    {
        SCOPED_TRACE(threads);
        RecordingWindow window;
        CRunPool pool(threads);
        std::atomic<int> ran{0};
        for (int i = 0; i < 30; ++i)
        {
            // Pieces 9 and 20 fail; 20 is the longest and starts first on several threads.
            pool.Add(i == 20 ? 100.0 : 1.0, [&, i](unsigned) {
                ++ran;
                qor::PostStatusLine(CString(std::to_wstring(i).c_str()));
                if (i == 9 || i == 20) throw std::runtime_error("piece " + std::to_string(i));
            });
        }
        EXPECT_EQ(ThrownText([&] { pool.Run(); }), "piece 9");
        std::vector<std::wstring> expected;
        for (int i = 0; i <= 9; ++i) expected.push_back(std::to_wstring(i));
        EXPECT_EQ(Lines(window), expected) << "the lines up to and with the failed piece, no further";
        if (threads == 1)
        {
            EXPECT_EQ(ran.load(), 10); // nothing after the failed piece
        }
    }

    SCOPED_TRACE("a stop reaches every thread and says nothing");
    RecordingWindow window;
    CRunControl control;
    CRunControl::Scope scope(&control);
    CRunPool pool(8);
    for (int i = 0; i < 64; ++i)
        pool.Add(1.0, [&, i](unsigned) {
            if (i == 5) control.Stop();
            CRunControl::CheckStop();
            qor::PostStatusLine(CString(L"ran"));
        });
    EXPECT_THROW(pool.Run(), CRunControl::Stopped);
    EXPECT_TRUE(Lines(window).empty());
}

// Memory gone, every piece would fail in its turn, each with an exception alive until the end: thrown
// without memory, exceptions come from a small reserve whose end ends the program. The first allocation
// failure stops the pieces from starting; the run ends with it.
TEST(RunPool, AnAllocationFailureStopsThePiecesFromStarting)
{
    RecordingWindow window;
    constexpr unsigned kThreads = 8;
    CRunPool pool(kThreads);
    std::atomic<int> started{0};
    for (int i = 0; i < 1000; ++i)
        pool.Add(static_cast<double>(i), [&](unsigned) { // the last added start first
            ++started;
            throw std::bad_alloc();
        });
    EXPECT_THROW(pool.Run(), std::bad_alloc);
    // A thread may have taken one more piece while another's failure was on its way.
    EXPECT_LE(started.load(), static_cast<int>(2 * kThreads));
}

} // namespace
