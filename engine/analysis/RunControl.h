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

    void Stop() { m_bStop.store(true, std::memory_order_relaxed); }
    bool IsStopped() const { return m_bStop.load(std::memory_order_relaxed); }

    // The control this thread works for, or null.
    static CRunControl* Current();
    // True when this thread works for a run that was asked to stop.
    static bool CurrentStopped();
    // Throws Stopped when this thread's run was asked to stop.
    static void CheckStop();

private:
    std::atomic<bool> m_bStop{false};
};
