// Resource ids of the settings pane: its toolbar and commands.
#pragma once

#include "platform/core/Types.h"

inline constexpr UINT ID_SORT_PROPERTIES = 151;
inline constexpr UINT ID_EXPAND_ALL_PROPERTIES = 154;
inline constexpr UINT ID_RESET_ALL_SETTINGS = 197;
inline constexpr UINT IDR_SETTINGS_TOOLBAR = 198;
inline constexpr UINT IDR_SETTINGS_TOOLBAR_HC = 199;
inline constexpr UINT ID_SETTINGS_GRID = 2;
