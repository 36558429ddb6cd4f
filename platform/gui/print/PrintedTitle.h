// A page header's title as the grid and the result views print it: centred on one line where it
// clears the texts at the sides, otherwise whole, wrapped from the left and, when the header has
// too few lines for it, in a smaller type.
#pragma once

#include "platform/gui/draw/Gdi.h"

namespace qor::gui {

// Draws `title` in `band` with the font selected in pDC, which must be `font`. `reserve` is the
// width kept free at each side for the texts printed there. The font stays selected. A long title
// (a name of megabytes) is measured and laid out only as far as the header can show it.
void DrawPrintedTitle(CDC* pDC, const CString& title, const CRect& band, int reserve, CFont& font);

} // namespace qor::gui
