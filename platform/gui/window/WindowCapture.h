// The image of a window as it shows on screen, its child windows (charts, grids, controls) drawn in.
#pragma once

#include "platform/core/Types.h"

#include <vector>

class CWnd;

namespace qor::gui {

// Pixels 0x00RRGGBB, rows top-down, width x height of the window's screen pixels. false when the
// window has nothing to show (no window, empty size).
bool CaptureWindow(const CWnd* pWnd, int& width, int& height, std::vector<DWORD>& pixels);

} // namespace qor::gui
