// The span rules run at every load position of an analysis: once a model has settled,
// applying them again must not touch the heap.
#include "engine/model/Bridge.h"
#include "engine/model/LoadModel.h"
#include "engine/runs/EngineMessages.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <memory>
#include <new>

namespace {
std::atomic<long> g_allocations{0};
}

void* operator new(std::size_t n)
{
    ++g_allocations;
    if (void* p = std::malloc(n ? n : 1)) return p;
    throw std::bad_alloc();
}
void* operator new[](std::size_t n) { return operator new(n); }
// Every form releases through one helper kept out of line: once free() is inlined into a delete,
// g++ pairs it with what it takes for the library's new and reports a mismatch (under
// -fsanitize=thread, where it inlines more).
[[gnu::noinline]] static void ReleaseBlock(void* p) noexcept { std::free(p); }
void operator delete(void* p) noexcept { ReleaseBlock(p); }
void operator delete[](void* p) noexcept { ReleaseBlock(p); }
void operator delete(void* p, std::size_t) noexcept { ReleaseBlock(p); }
void operator delete[](void* p, std::size_t) noexcept { ReleaseBlock(p); }

namespace {

long AllocationsDuring(const std::function<void()>& f)
{
    const long before = g_allocations.load();
    f();
    return g_allocations.load() - before;
}

} // namespace

TEST(LoadModelSpanRuleCost, RepeatedRulesDoNotAllocate)
{
    int posted = 0;
    qor::SetMainWindowHandle(reinterpret_cast<HWND>(0x42));
    auto old = qor::SetPostSink([&](HWND, UINT msg, WPARAM w, LPARAM) {
        if (msg == UWM_ADD_STATUS) delete reinterpret_cast<CString*>(w);
        ++posted;
        return true;
    });

    auto twoSpan = std::make_shared<CBridge>(1, L"B", 2, 25.0);
    for (int rule = 0; rule <= 7; ++rule)
    {
        CLoadModel lm(1, L"Truck");
        lm.AddPointLoad(10.0, 0.0, 2.0);
        lm.AddPointLoad(10.0, 3.0, 2.0);
        lm.AddUDL(1.0);
        lm.AddPartialUDL(-1.0, 0.0, 5.0);
        lm.m_bAdjustToBridge = true;
        lm.m_lmBridge = rule;
        lm.Update();
        lm.AdjustToBridge(twoSpan); // first run may grow lists and record the line
        lm.Update();
        const long n = AllocationsDuring([&] {
            for (int i = 0; i < 100; ++i)
            {
                lm.AdjustToBridge(twoSpan);
                lm.Update();
            }
        });
        EXPECT_EQ(n, 0) << "rule " << rule;
    }
    qor::SetPostSink(old);
    qor::SetMainWindowHandle(nullptr);
    EXPECT_GT(posted, 0);
}
