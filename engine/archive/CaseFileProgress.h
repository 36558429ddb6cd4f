// How far a case file's save or load has come, in bytes: written by the thread that does the
// work, read by the window thread for its progress bar.
//
//     CCaseFileProgress progress;                   // shared by both threads
//     worker:  SaveCaseFile(fd, data, binary, &progress);
//     window:  bar.SetPos(progress.Percent());
#pragma once

#include <atomic>
#include <cstdint>

class CCaseFileProgress
{
public:
    // The bytes the whole work will take (an estimate on save, the file's size on load).
    void SetTotal(std::uint64_t bytes) { m_Total.store(bytes, std::memory_order_relaxed); }
    void SetDone(std::uint64_t bytes)
    {
        m_Done.store(bytes, std::memory_order_relaxed);
        if (StepHook hook = s_stepHook.load()) hook(*this);
    }
    std::uint64_t Total() const { return m_Total.load(std::memory_order_relaxed); }
    std::uint64_t Done() const { return m_Done.load(std::memory_order_relaxed); }

    // 0 to 100; an estimate that falls short stops at 99 until the work ends.
    int Percent() const
    {
        const std::uint64_t total = Total();
        const std::uint64_t done = Done();
        if (total == 0) return 0;
        if (done >= total) return 99;
        return static_cast<int>(done * 100 / total);
    }

    // Tests: called on the working thread each time the work has come further (null: none), e.g. to
    // hold the work part of the way until the window has shown it.
    using StepHook = void (*)(const CCaseFileProgress&);
    static void SetStepHook(StepHook hook) { s_stepHook.store(hook); }

private:
    inline static std::atomic<StepHook> s_stepHook{nullptr};
    std::atomic<std::uint64_t> m_Total{0};
    std::atomic<std::uint64_t> m_Done{0};
};
