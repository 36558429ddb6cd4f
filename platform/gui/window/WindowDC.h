// The device contexts of windows: CPaintDC for WM_PAINT, CClientDC and CWindowDC. Defined in
// WindowDC.cpp over the drawing layer's window surface DCs.
#pragma once

#include "platform/gui/draw/Gdi.h"

class CWnd;

// The paint DC of WM_PAINT: BeginPaint on construction, EndPaint on destruction. Its clip
// region is the update rectangle (m_ps.rcPaint).
class CPaintDC : public CDC
{
public:
    explicit CPaintDC(CWnd* pWnd);
    ~CPaintDC() override;
    PAINTSTRUCT m_ps{};

protected:
    HWND m_hWnd = nullptr;
    CWnd* m_pWnd = nullptr;
};

// A DC on the window's client area (the whole screen, for drawing nothing, when pWnd is null).
class CClientDC : public CDC
{
public:
    explicit CClientDC(CWnd* pWnd);
    ~CClientDC() override;

protected:
    HWND m_hWnd = nullptr;
    CWnd* m_pWnd = nullptr;
};

// A DC on the window. Windows here have no drawn non-client area, so it draws like CClientDC.
class CWindowDC : public CDC
{
public:
    explicit CWindowDC(CWnd* pWnd);
    ~CWindowDC() override;

protected:
    HWND m_hWnd = nullptr;
    CWnd* m_pWnd = nullptr;
};
