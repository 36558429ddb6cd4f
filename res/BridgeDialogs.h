// Control ids of the bridge and bridge-set dialogs (templates IDD_BRIDGE and IDD_BRIDGE_SET
// in res/BridgeDialogs.cpp).
#pragma once

#include "platform/core/Types.h"

inline constexpr UINT IDC_BRIDGE_DESCRIPTION = 1008;
inline constexpr UINT IDC_BRIDGE_NUMBER = 1010;
inline constexpr UINT IDC_BRIDGE_STEP_UNIT = 1013;
inline constexpr UINT IDC_BRIDGE_NUMBER_MARK = 1014;
inline constexpr UINT IDC_BRIDGE_ID = 1015;
inline constexpr UINT IDC_BRIDGE_SPAN = 1016;
inline constexpr UINT IDC_BRIDGE_ONE_SPAN = 1017;
inline constexpr UINT IDC_BRIDGE_TWO_SPAN = 1018;
inline constexpr UINT IDC_BRIDGE_THREE_SPAN = 1019;
inline constexpr UINT IDC_BRIDGE_BY_STEP = 1020;
inline constexpr UINT IDC_BRIDGE_BY_NUMBER = 1021;
inline constexpr UINT IDC_BRIDGE_END = 1022;
inline constexpr UINT IDC_BRIDGE_STEP = 1023;
inline constexpr UINT IDC_BRIDGE_START = 1024;
