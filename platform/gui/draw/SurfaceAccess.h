// Internal to the window layer: how device contexts reach a window's retained surface.
// Every custom window keeps an image of its client area; all of its DCs draw into that
// image, and the host widget copies it to the screen when Qt paints.
#pragma once

#include "platform/core/Geometry.h"

class QImage;
class CWnd;

namespace qor::gui {

// The window's retained surface (the size of its client area), or nullptr when the
// window has none (not created, or a native control).
QImage* WindowSurface(CWnd* wnd);

// Tells the window that part of its surface changed (nullptr: all of it), so the host
// widget copies it to the screen at the next Qt paint.
void SurfaceChanged(CWnd* wnd, const RECT* changed);

// The paint protocol behind CPaintDC: BeginPaint returns the rectangle to repaint (client
// coordinates) and validates it; EndPaint ends the paint and shows the surface.
CRect BeginPaint(CWnd* wnd, bool* eraseBackground);
void EndPaint(CWnd* wnd);

} // namespace qor::gui
