// Pictures of toolbar buttons by command id, drawn by the program's resources as 16 x 16 character grids:
// each character one pixel of a fixed palette ('.' transparent), e.g.
//   static const ToolBarImageDef kImages[] = {{ID_FILE_NEW, {"....kkkkkkk.....", ...}}};
//   QOR_TOOLBAR_IMAGES(kImages);
// Palette: k black, w white, d dark grey, g grey, l light grey, r red, R dark red, o orange, y yellow,
// G green, D dark green, b blue, B dark blue, c cyan, n brown, p purple.
#pragma once

#include "platform/core/Types.h"

#include <cstddef>

struct ToolBarImageDef
{
    UINT nID;
    const char* rows[16];
};

namespace qor::gui {

void RegisterToolBarImages(const ToolBarImageDef* table, std::size_t count);
// The picture of a command (nullptr when it has none).
const ToolBarImageDef* FindToolBarImage(UINT nID);
// The colour of a palette character (0xFFFFFFFF: transparent or unknown).
DWORD ToolBarImageColour(char c);

struct ToolBarImageRegistrar
{
    ToolBarImageRegistrar(const ToolBarImageDef* table, std::size_t count) { RegisterToolBarImages(table, count); }
};

} // namespace qor::gui

#define QOR_TBIMG_CONCAT2(a, b) a##b
#define QOR_TBIMG_CONCAT(a, b) QOR_TBIMG_CONCAT2(a, b)
#define QOR_TOOLBAR_IMAGES(tableArray)                                                                                 \
    static const ::qor::gui::ToolBarImageRegistrar QOR_TBIMG_CONCAT(qor_toolbar_images_, __COUNTER__)                  \
    {                                                                                                                  \
        (tableArray), sizeof(tableArray) / sizeof((tableArray)[0])                                                     \
    }
