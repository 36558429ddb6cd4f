// Registered messages the engine posts to the application's main window.
#include "engine/runs/EngineMessages.h"

#include "engine/runs/RunControl.h"

#include <atomic>
#include <chrono>
#include <utility>

namespace qor {

namespace {

thread_local CStatusLinesHeld* t_pHeldLines = nullptr;

constexpr long long kProgressIntervalMs = 200;
std::atomic<long long> g_nHeldSteps{0};
std::atomic<long long> g_lastProgressMs{0};

long long NowMs()
{
    using namespace std::chrono;
    // Offset so that the first step is posted at once, however early after boot it comes.
    return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count() + 10 * kProgressIntervalMs;
}

// The counters of the run this thread works for; the program's own without one.
std::atomic<long long>& HeldSteps()
{
    CRunControl* control = CRunControl::Current();
    return control ? control->m_nHeldSteps : g_nHeldSteps;
}

std::atomic<long long>& LastProgressMs()
{
    CRunControl* control = CRunControl::Current();
    return control ? control->m_lastProgressMs : g_lastProgressMs;
}

void PostHeldSteps()
{
    const long long n = HeldSteps().exchange(0);
    if (n > 0) PostToMainWindow(UWM_PBAR_UPDATE, 1, ProgressParam(CRunControl::CurrentGeneration(), n));
}

} // namespace

// A run asked to stop says nothing more: its lines and steps would land in the log and the
// progress bar of what the user does next.

BOOL PostStatusLine(const CString& text)
{
    if (CRunControl::CurrentStopped()) return FALSE;
    if (t_pHeldLines)
    {
        t_pHeldLines->Hold(text);
        return TRUE;
    }
    return PostRunLine(new CString(text));
}

BOOL PostRunLine(CString* pLine)
{
    if (!PostToMainWindow(UWM_ADD_STATUS, reinterpret_cast<WPARAM>(pLine),
                          static_cast<LPARAM>(CRunControl::CurrentGeneration())))
    {
        delete pLine; // nobody to receive it
        return FALSE;
    }
    return TRUE;
}

BOOL PostProgressStep()
{
    return CRunControl::CurrentStopped()
               ? FALSE
               : PostToMainWindow(UWM_PBAR_UPDATE, 1, ProgressParam(CRunControl::CurrentGeneration(), 1));
}

void CountProgressStep()
{
    if (CRunControl::CurrentStopped()) return;
    HeldSteps().fetch_add(1);
    const long long now = NowMs();
    std::atomic<long long>& lastPosted = LastProgressMs();
    long long last = lastPosted.load();
    if (now - last < kProgressIntervalMs) return;
    if (!lastPosted.compare_exchange_strong(last, now)) return; // another thread posts
    PostHeldSteps();
}

void FlushProgress()
{
    if (CRunControl::CurrentStopped())
    {
        HeldSteps().store(0);
        return;
    }
    LastProgressMs().store(NowMs());
    PostHeldSteps();
}

CStatusLinesHeld::CStatusLinesHeld() : m_pOuter(t_pHeldLines) { t_pHeldLines = this; }

CStatusLinesHeld::~CStatusLinesHeld() { t_pHeldLines = m_pOuter; }

std::vector<CString> CStatusLinesHeld::Take() { return std::exchange(m_vLines, {}); }

} // namespace qor
