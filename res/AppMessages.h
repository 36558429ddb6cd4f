// The program's own window messages, one name each. The engine's progress and log messages are in
// engine/runs/EngineMessages.h.
//  WM_ELEMENT_SELECTED:  sent to every window of the main window when the element tree selects an
//                        element; lParam = the CElement (null when none), wParam 0.
//  UWM_DRAIN_LOG:        the main window's own: the next few log lines waiting, then the completions
//                        held back for them; no parameters.
//  UWM_TF_*:             a worker has finished; lParam = its block, which the receiver takes back;
//                        for the reference values and critical ratios wParam != 0 when it succeeded.
#pragma once

#include "platform/core/Messages.h"
#include "platform/core/Types.h"
#include "platform/gui/draw/WinDefs.h"

inline constexpr UINT WM_ELEMENT_SELECTED = WM_APP + 1;

// Registered once per process; the ids are the same in every thread.
inline const UINT UWM_TF_MULTIML = RegisterWindowMessage(L"UWM_TF_MULTIML");
inline const UINT UWM_TF_BRIDGERANGE = RegisterWindowMessage(L"UWM_TF_BRIDGERANGE");
inline const UINT UWM_TF_REFVALUES = RegisterWindowMessage(L"UWM_TF_REFVALUES");
inline const UINT UWM_TF_CRITRATIOS = RegisterWindowMessage(L"UWM_TF_CRITRATIOS");
inline const UINT UWM_DRAIN_LOG = RegisterWindowMessage(L"UWM_DRAIN_LOG");
