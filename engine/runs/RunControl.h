// Asks a running analysis to stop. The run's owner keeps a control and calls Stop (from any
// thread); the engine checks it between load positions and, once asked, throws
// CRunControl::Stopped, which ends the run quietly: it is no error, and a stopped run posts no
// further progress or status lines.
//
// The control a thread works for is the one a Scope installed on it; threads that a run
// spawns install the spawning thread's Current() in their own Scope:
//
//     auto control = std::make_shared<CRunControl>();
//     std::thread worker([control] { CRunControl::Scope scope(control.get()); analysis.Run(...); });
//     control->Stop();                                   // the run ends at its next load position
#pragma once

#include <atomic>

class CRunControl
{
public:
    // Thrown by CheckStop; not derived from std::exception, so that no handler of errors takes it.
    struct Stopped
    {};

    // Installs a control on this thread for the scope's life (null: runs cannot be stopped).
    class Scope
    {
    public:
        explicit Scope(CRunControl* pControl);
        Scope(const Scope&) = delete;
        Scope& operator=(const Scope&) = delete;
        ~Scope();

    private:
        CRunControl* m_pPrevious;
    };

    CRunControl();
    CRunControl(const CRunControl&) = delete;
    CRunControl& operator=(const CRunControl&) = delete;

    void Stop() { m_bStop.store(true, std::memory_order_relaxed); }
    bool IsStopped() const { return m_bStop.load(std::memory_order_relaxed); }

    // The control this thread works for, or null.
    static CRunControl* Current();
    // True when this thread works for a run that was asked to stop.
    static bool CurrentStopped();
    // Throws Stopped when this thread's run was asked to stop.
    static void CheckStop();

    // The run's own number (1, 2, ... in the order the controls were made): the progress steps and
    // status lines a run posts carry it, so that the window can tell those of a stopped run.
    unsigned Generation() const { return m_nGeneration; }
    // The number of the run this thread works for, 0 when none.
    static unsigned CurrentGeneration();

    // Progress steps counted but not yet posted, and when the run last posted (EngineMessages).
    std::atomic<long long> m_nHeldSteps{0};
    std::atomic<long long> m_lastProgressMs{0};

private:
    std::atomic<bool> m_bStop{false};
    const unsigned m_nGeneration;
};
