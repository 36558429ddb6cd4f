// Ids of the analysis choice dialogs and the reference collection dialog: their templates
// (res/AnalysisDialogs.cpp) and the controls the dialog classes address.
#pragma once

#include "platform/core/Types.h"

// Templates.
inline constexpr UINT IDD_MOVING_LOAD = 310;
inline constexpr UINT IDD_SINGLE_POSITION = 311;
inline constexpr UINT IDD_BRIDGE_RANGE = 314;
inline constexpr UINT IDD_REF_COLLECTION = 325;
inline constexpr UINT IDD_ANALYZE_REF_COLLECTION = 326;
inline constexpr UINT IDD_CRIT_RATIO_REF_COLL = 327;
inline constexpr UINT IDD_VIEW_REF_COLLECTION = 335;
inline constexpr UINT IDD_COMPARE_ENVELOPES = 343;

// Controls.
inline constexpr UINT IDC_RADIO_BY_STEP = 1002;
inline constexpr UINT IDC_RADIO_BY_COUNT = 1004;
inline constexpr UINT IDC_EDIT_STEP = 1005;
inline constexpr UINT IDC_EDIT_NSTEPS = 1006;
inline constexpr UINT IDC_EDIT_POSITION = 1007;
inline constexpr UINT IDC_EDIT_DESCRIPTION = 1008;
inline constexpr UINT IDC_LIST_BRIDGE = 1011;
inline constexpr UINT IDC_LIST_LOADMODEL = 1012;
inline constexpr UINT IDC_STATIC_STEP_UNIT = 1013;
inline constexpr UINT IDC_STATIC_NSTEPS_UNIT = 1014;
inline constexpr UINT IDC_EDIT_ID = 1015;
inline constexpr UINT IDC_LIST_BRIDGESET = 1026;
inline constexpr UINT IDC_LIST_LME = 1027;
inline constexpr UINT IDC_LIST_REFSET = 1029;
inline constexpr UINT IDC_LIST_REFCOLLECTION = 1043;
inline constexpr UINT IDC_EDIT_MULTIPLIER = 1048;
inline constexpr UINT IDC_CHECK_DISPLAY_EACH = 1060;
inline constexpr UINT IDC_CHECK_OVERSTRESS = 1065;
inline constexpr UINT IDC_EDIT_OVERSTRESS_FACTOR = 1068;
inline constexpr UINT IDC_CHECK_CALCULATED = 1069;
inline constexpr UINT IDC_RADIO_USE_LM = 1072;
inline constexpr UINT IDC_RADIO_USE_LME = 1073;
inline constexpr UINT IDC_EDIT_CMP_BRIDGESET = 1078;
inline constexpr UINT IDC_EDIT_CMP_LME = 1079;
inline constexpr UINT IDC_EDIT_CMP_PROPOSED = 1080;
