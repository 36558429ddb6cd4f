// The pictures of the element and settings panes' toolbar buttons (one character a pixel;
// palette in platform/gui/widgets/ToolBarImages.h).
#include "platform/gui/widgets/ToolBarImages.h"
#include "res/ElementPane.h"
#include "res/SettingsPane.h"

namespace {

// A tree with an open and a closed branch.
const char* const kExpandRows[16] = {
    "................", ".ddddddd........", ".dwwwwwd........", ".dwwkwwd........",
    ".dwkkkwdgggggg..", ".dwwkwwd........", ".dwwwwwd........", ".ddddddd........",
    "....g...........", "....g.ddddddd...", "....g.dwwwwwd...", "....gddwwwwwd...",
    "......dwkkkwd...", "......dwwwwwd...", "......dwwwwwd...", "......ddddddd...",
};

const ToolBarImageDef kImages[] = {
    {ID_ELEMENT_EXPAND_ALL,
     {kExpandRows[0], kExpandRows[1], kExpandRows[2], kExpandRows[3], kExpandRows[4], kExpandRows[5], kExpandRows[6],
      kExpandRows[7], kExpandRows[8], kExpandRows[9], kExpandRows[10], kExpandRows[11], kExpandRows[12],
      kExpandRows[13], kExpandRows[14], kExpandRows[15]}},
    {ID_EXPAND_ALL_PROPERTIES,
     {kExpandRows[0], kExpandRows[1], kExpandRows[2], kExpandRows[3], kExpandRows[4], kExpandRows[5], kExpandRows[6],
      kExpandRows[7], kExpandRows[8], kExpandRows[9], kExpandRows[10], kExpandRows[11], kExpandRows[12],
      kExpandRows[13], kExpandRows[14], kExpandRows[15]}},
    {ID_SORT_PROPERTIES,
     {"................", "..BBB......b....", ".B...B.....b....", ".BBBBB.....b....", ".B...B.....b....",
      ".B...B.....b....", "...........b....", "...........b....", ".BBBBB.....b....", "....B......b....",
      "...B.....b.b.b..", "..B.......bbb...", ".BBBBB.....b....", "................", "................",
      "................"}},
    {ID_RESET_ALL_SETTINGS,
     {"................", ".....RRRRR......", "...RR.....RR.R..", "..R.........RR..", "..R........RRR..",
      ".R..............", ".R..............", ".R..............", ".R..............", "..R.........R...",
      "..R.........R...", "...RR.....RR....", ".....RRRRR......", "................", "................",
      "................"}},
};
QOR_TOOLBAR_IMAGES(kImages);

} // namespace
