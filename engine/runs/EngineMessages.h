// Registered messages the engine posts to the application's main window.
//  UWM_PBAR_UPDATE: wParam 1 = more load-model runs done (any other value resets
//                   the progress count); the low 32 bits of lParam the number of runs
//                   when more than one (0 or 1: one run), the high 32 bits the run's
//                   number (RunGenerationOf).
//  UWM_ADD_STATUS:  wParam = a CString allocated with new; the receiver appends it to
//                   the output pane and deletes it. lParam the run's number. When posting
//                   fails (qor::PostToMainWindow returns FALSE) the sender deletes it.
// The run's number is the CRunControl::Generation of the run the posting thread works for
// (0: none, a run on the window thread): the window drops what a stopped run posted.
#pragma once

#include "platform/core/CString.h"
#include "platform/core/Messages.h"
#include "platform/core/Types.h"

#include <vector>

// Registered once per process; the ids are the same in every thread.
inline const UINT UWM_ADD_STATUS = RegisterWindowMessage(L"UWM_ADD_STATUS");
inline const UINT UWM_PBAR_UPDATE = RegisterWindowMessage(L"UWM_PBAR_UPDATE");

namespace qor {

// The run's number and the count of runs that a UWM_PBAR_UPDATE carries in its lParam.
inline LPARAM ProgressParam(unsigned generation, long long runs)
{
    return static_cast<LPARAM>((static_cast<unsigned long long>(generation) << 32) |
                               static_cast<unsigned long long>(runs > 1 ? runs & 0xFFFFFFFF : 0));
}
inline unsigned RunGenerationOf(LPARAM progressParam)
{
    return static_cast<unsigned>(static_cast<unsigned long long>(progressParam) >> 32);
}
inline int RunsOf(LPARAM progressParam)
{
    const auto runs = static_cast<int>(static_cast<unsigned long long>(progressParam) & 0xFFFFFFFF);
    return runs > 1 ? runs : 1;
}

// Posts a status line of the run this thread works for (see PostStatusLine).
BOOL PostRunLine(CString* pLine);

// Posts a status line (copied to a heap CString) to the main window with
// UWM_ADD_STATUS; frees the copy when there is no receiver. Returns the post's result.
BOOL PostStatusLine(const CString& text);

// Posts UWM_PBAR_UPDATE with wParam 1 (one more run).
BOOL PostProgressStep();

// One more run, reported at most a few times a second from any number of threads: the runs
// counted since the last post go in one UWM_PBAR_UPDATE (a window thread that shares a core
// with the workers would otherwise spend seconds on thousands of posts). FlushProgress posts
// what is held; every run that counts steps ends with it.
void CountProgressStep();
void FlushProgress();

// While one lives, the status lines this thread posts are kept in it instead of posted: a run
// on several threads posts each bridge's lines in bridge order once the bridges are done.
class CStatusLinesHeld
{
public:
    CStatusLinesHeld();
    ~CStatusLinesHeld();
    CStatusLinesHeld(const CStatusLinesHeld&) = delete;
    CStatusLinesHeld& operator=(const CStatusLinesHeld&) = delete;

    // Takes the lines held so far (in the order they came).
    std::vector<CString> Take();
    void Hold(const CString& line) { m_vLines.push_back(line); }

private:
    std::vector<CString> m_vLines;
    CStatusLinesHeld* m_pOuter;
};

} // namespace qor
