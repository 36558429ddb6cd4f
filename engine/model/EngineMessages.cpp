#include "engine/model/EngineMessages.h"

#include "engine/analysis/RunControl.h"

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

void PostHeldSteps()
{
    const long long n = g_nHeldSteps.exchange(0);
    if (n > 0) PostToMainWindow(UWM_PBAR_UPDATE, 1, static_cast<LPARAM>(n > 1 ? n : 0));
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
    CString* pLine = new CString(text);
    if (!PostToMainWindow(UWM_ADD_STATUS, reinterpret_cast<WPARAM>(pLine), 0))
    {
        delete pLine; // nobody to receive it
        return FALSE;
    }
    return TRUE;
}

BOOL PostProgressStep() { return CRunControl::CurrentStopped() ? FALSE : PostToMainWindow(UWM_PBAR_UPDATE, 1, 0); }

void CountProgressStep()
{
    if (CRunControl::CurrentStopped()) return;
    g_nHeldSteps.fetch_add(1);
    const long long now = NowMs();
    long long last = g_lastProgressMs.load();
    if (now - last < kProgressIntervalMs) return;
    if (!g_lastProgressMs.compare_exchange_strong(last, now)) return; // another thread posts
    PostHeldSteps();
}

void FlushProgress()
{
    if (CRunControl::CurrentStopped())
    {
        g_nHeldSteps.store(0);
        return;
    }
    g_lastProgressMs.store(NowMs());
    PostHeldSteps();
}

CStatusLinesHeld::CStatusLinesHeld() : m_pOuter(t_pHeldLines) { t_pHeldLines = this; }

CStatusLinesHeld::~CStatusLinesHeld() { t_pHeldLines = m_pOuter; }

std::vector<CString> CStatusLinesHeld::Take() { return std::exchange(m_vLines, {}); }

} // namespace qor
