// The look of the whole program: the toolkit style and palette that the visual managers stand for.
#pragma once

#include "platform/core/Types.h"

namespace qor::gui {

enum class Look
{
    Classic, // the toolkit's plain Windows-like style
    Light,   // Fusion, light
    Blue,    // Fusion, light with blue window colours
    Silver,  // Fusion, light grey
    Aqua,    // Fusion, light with blue-green window colours
    Dark     // Fusion, dark
};

// The look the program starts in, and the one whose colours paper gets in every look (GetPaperColor).
constexpr Look kDefaultLook = Look::Light;

// Applies a look to every window (headless too): the toolkit's style and palette and the system colours
// (GetSysColor) made from the same few colours; every window gets WM_SYSCOLORCHANGE and repaints.
void SetApplicationLook(Look look);
Look GetApplicationLook();
// Counts the looks put in force, so that what was drawn for one look is known to be out of date.
int LookGeneration();

// The contrast ratio of two colours by their relative luminance: 1 (the same) to 21 (black on white).
double ContrastRatio(COLORREF a, COLORREF b);

} // namespace qor::gui
