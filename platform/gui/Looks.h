// The look of the whole program: the toolkit style and palette that the visual managers stand for.
#pragma once

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

// Applies a look to every window (headless too); windows repaint with it.
void SetApplicationLook(Look look);
Look GetApplicationLook();

} // namespace qor::gui
