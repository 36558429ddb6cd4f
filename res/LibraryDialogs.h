// Controls of the standard-library dialogs: the parameters asked before a library entry is inserted
// (template IDD_LME_PARAMETERS) and the generation of an ensemble from one load model (IDD_GENERATE_LME).
// Their templates are in res/LibraryDialogs.cpp.
#pragma once

#include "platform/core/Types.h"

// Parameters of a library entry.
inline constexpr UINT IDC_LMEP_BY_STEP = 1002;
inline constexpr UINT IDC_LMEP_BY_COUNT = 1004;
inline constexpr UINT IDC_LMEP_STEP = 1005;
inline constexpr UINT IDC_LMEP_COUNT = 1006;
inline constexpr UINT IDC_LMEP_DLA = 1007;
inline constexpr UINT IDC_LMEP_HB_UNITS = 1008;
inline constexpr UINT IDC_LMEP_STEP_UNIT = 1013;
inline constexpr UINT IDC_LMEP_COUNT_UNIT = 1014;
inline constexpr UINT IDC_LMEP_STANDARD_DLA = 1075;
inline constexpr UINT IDC_LMEP_USER_DLA = 1076;
inline constexpr UINT IDC_LMEP_HB_LABEL = 1077;

// Generation of an ensemble from a load model.
inline constexpr UINT IDC_GENLME_LOADMODEL = 1012;
inline constexpr UINT IDC_GENLME_GRID = 1039;
