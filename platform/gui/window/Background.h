// Work the window thread hands off and does not wait for, such as giving back to the system the memory of
// results of gigabytes (half a second of the thread that frees it). The work runs on the toolkit's global
// pool with what it captured; it must touch nothing else that the window thread uses. The program's end
// waits for it (CWinApp::ExitInstance).
//
//     qor::gui::RunInBackground([held = std::move(m_pResults)]() mutable { held.reset(); });
#pragma once

#include <functional>

namespace qor::gui {

void RunInBackground(std::function<void()> work);

// Waits until the work handed off so far has ended.
void WaitForBackgroundWork();

} // namespace qor::gui
