// Registered messages the engine posts to the application's main window.
//  UWM_PBAR_UPDATE: wParam 1 = one more load-model run done (any other value resets
//                   the progress count); lParam 0.
//  UWM_ADD_STATUS:  wParam = a CString allocated with new; the receiver appends it to
//                   the output pane and deletes it. lParam 0. When posting fails
//                   (qor::PostToMainWindow returns FALSE) the sender deletes it.
#pragma once

#include "platform/core/CString.h"
#include "platform/core/Messages.h"
#include "platform/core/Types.h"

// Registered once per process; the ids are the same in every thread.
inline const UINT UWM_ADD_STATUS = RegisterWindowMessage(L"UWM_ADD_STATUS");
inline const UINT UWM_PBAR_UPDATE = RegisterWindowMessage(L"UWM_PBAR_UPDATE");

namespace qor {

// Posts a status line (copied to a heap CString) to the main window with
// UWM_ADD_STATUS; frees the copy when there is no receiver. Returns the post's result.
BOOL PostStatusLine(const CString& text);

// Posts UWM_PBAR_UPDATE with wParam 1 (one more run).
BOOL PostProgressStep();

} // namespace qor
