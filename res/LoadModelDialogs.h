// Ids of the load-model property sheet's pages, the load model ensemble dialog and the grid row
// menu: their templates and menu (res/LoadModelDialogs.cpp) and the controls the classes address.
#pragma once

#include "platform/core/Types.h"
#include "res/Resource.h"

inline constexpr UINT IDD_PROPPAGE_LM_OVERVIEW = 319;
inline constexpr UINT IDD_PROPPAGE_LM_VEHICLE = 320;
inline constexpr UINT IDD_PROPPAGE_LM_UDLS = 321;
inline constexpr UINT IDD_PROPPAGE_LM_FACTORS = 322;
inline constexpr UINT IDD_PROPPAGE_LM_APPLICABLE = 323;
inline constexpr UINT IDD_PROPPAGE_LM_PARTIAL_UDLS = 324;
inline constexpr UINT IDR_POPUP_GRID_ROW = 335;
inline constexpr UINT ID_GRID_DELETE_ROW = 32842;
inline constexpr UINT ID_GRID_SELECT_ALL = 32844;
inline constexpr UINT IDC_LM_DESCRIPTION = 1008;
inline constexpr UINT IDC_LM_ID = 1015;
inline constexpr UINT IDC_LM_DRAWING = 1033;
inline constexpr UINT IDC_LM_GRID = 1039;
inline constexpr UINT IDC_LM_IS_EDITABLE = 1069;
inline constexpr UINT IDC_LM_STATIONARY = 1070;
inline constexpr UINT IDC_LM_MOVING = 1071;
inline constexpr UINT IDC_LM_WIDTH_FACTOR = 1049;
inline constexpr UINT IDC_LM_OVERALL_FACTOR = 1040;
inline constexpr UINT IDC_LM_FRONT_AXLE = 1037;
inline constexpr UINT IDC_LM_PL_FACTOR = 1056;
inline constexpr UINT IDC_LM_UDL_FACTOR = 1057;
inline constexpr UINT IDC_LM_PUDL_FACTOR = 1058;
inline constexpr UINT IDC_LM_TOTAL_WEIGHT = 1057;
inline constexpr UINT IDC_LM_TOTAL_LENGTH = 1058;
inline constexpr UINT IDC_LM_USE_BM = 1035;
inline constexpr UINT IDC_LM_USE_SF = 1036;
inline constexpr UINT IDC_LM_REACTIONS = 1037;
inline constexpr UINT IDC_LM_MIN_LENGTH = 1038;
inline constexpr UINT IDC_LM_MAX_LENGTH = 1039;
inline constexpr UINT IDC_LM_USE_MAX = 1040;
inline constexpr UINT IDC_LM_USE_MIN = 1041;
inline constexpr UINT IDC_LM_MIN_UNIT = 1054;
inline constexpr UINT IDC_LM_MAX_UNIT = 1055;
inline constexpr UINT IDC_LM_RULE = 1059;
inline constexpr UINT IDC_LME_AVAILABLE = 1035;
inline constexpr UINT IDC_LME_INCLUDED = 1036;
