// The modal windows of the program (dialogs, property sheets, message boxes, file and print
// dialogs): how many are open, and a message to a window once the last has closed.
//
//   qor::ModalWindowScope modal;                          // while the window runs
//   if (qor::ModalWindowScope::Count() > 0) qor::ModalWindowScope::PostWhenNone(hWnd, msg);
#pragma once

#include "platform/core/Types.h"

namespace qor {

class ModalWindowScope
{
public:
    ModalWindowScope();
    ~ModalWindowScope();
    ModalWindowScope(const ModalWindowScope&) = delete;
    ModalWindowScope& operator=(const ModalWindowScope&) = delete;

    // Modal windows open now (any thread's).
    static int Count();
    // Posts msg (wParam and lParam 0) to hWnd once no modal window is open: at once when none is.
    // The same window and message asked for twice are posted once.
    static void PostWhenNone(HWND hWnd, UINT msg);
};

} // namespace qor
