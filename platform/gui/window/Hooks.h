// Thread hooks on keyboard and mouse input (WH_KEYBOARD, WH_MOUSE) for pop-ups that close at
// the next key or click anywhere in the program, and the monitors that hold a point.
#pragma once

#include "platform/gui/draw/WinDefs.h"

#define WH_KEYBOARD 2
#define WH_MOUSE 7
#define HC_ACTION 0

#define WM_NCLBUTTONDOWN 0x00A1u
#define WM_NCRBUTTONDOWN 0x00A4u
#define WM_NCMBUTTONDOWN 0x00A7u

#define MA_ACTIVATE 1
#define MA_ACTIVATEANDEAT 2
#define MA_NOACTIVATE 3
#define MA_NOACTIVATEANDEAT 4

#ifndef WS_EX_PALETTEWINDOW
#define WS_EX_WINDOWEDGE 0x00000100u
#define WS_EX_TOPMOST 0x00000008u
#define WS_EX_PALETTEWINDOW (WS_EX_WINDOWEDGE | WS_EX_TOOLWINDOW | WS_EX_TOPMOST)
#endif

struct HHOOK__;
using HHOOK = HHOOK__*;
using HOOKPROC = LRESULT (*)(int nCode, WPARAM wParam, LPARAM lParam);

// What a mouse hook gets in lParam (wParam is the mouse message).
struct MOUSEHOOKSTRUCT
{
    POINT pt;  // screen coordinates
    HWND hwnd; // the window the message goes to
    UINT wHitTestCode;
    ULONG_PTR dwExtraInfo;
};

// Keyboard hooks get the virtual-key code in wParam and the key data in lParam (bit 31 set
// for a key going up). Only hooks of the calling (user-interface) thread exist: dwThreadId
// must be 0 or that thread and hMod null. Input reaches every hook, newest first, before the
// window it is meant for.
HHOOK SetWindowsHookEx(int idHook, HOOKPROC lpfn, HINSTANCE hMod, DWORD dwThreadId);
HHOOK SetWindowsHookExW(int idHook, HOOKPROC lpfn, HINSTANCE hMod, DWORD dwThreadId);
BOOL UnhookWindowsHookEx(HHOOK hhk);
// Passes the event on to the hooks installed before hhk.
LRESULT CallNextHookEx(HHOOK hhk, int nCode, WPARAM wParam, LPARAM lParam);
DWORD GetCurrentThreadId();

// ---- Monitors ----------------------------------------------------------------------------
struct HMONITOR__;
using HMONITOR = HMONITOR__*;

#define MONITOR_DEFAULTTONULL 0
#define MONITOR_DEFAULTTOPRIMARY 1
#define MONITOR_DEFAULTTONEAREST 2

struct MONITORINFO
{
    DWORD cbSize;
    RECT rcMonitor; // the screen, in virtual-screen coordinates
    RECT rcWork;    // less task bars and docks
    DWORD dwFlags;  // MONITORINFOF_PRIMARY
};
#define MONITORINFOF_PRIMARY 1

HMONITOR MonitorFromPoint(POINT pt, DWORD dwFlags);
BOOL GetMonitorInfo(HMONITOR hMonitor, MONITORINFO* lpmi);
BOOL GetMonitorInfoW(HMONITOR hMonitor, MONITORINFO* lpmi);
