// Internal to the window layer: toolbar pictures as toolkit icons, and the label of a command.
#pragma once

#include "platform/core/CString.h"
#include "platform/gui/widgets/ToolBarImages.h"

#include <QtGui/QIcon>
#include <QtGui/QImage>

namespace qor::gui {

// The command's picture scaled for the screen (a null icon when it has none).
QIcon ToolBarIcon(UINT nID);
// Commands whose pictures menus show: those of the toolbars loaded and of the image collections
// (CMFCToolBar::AddToolBarForImageCollection).
void AddMenuImages(const UINT* ids, std::size_t count);
bool HasMenuImage(UINT nID);
// The short name of a command: the string table's text after the line break (or the whole text), else
// its menu text (CommandMenuName).
CString CommandShortName(UINT nID);
// A pixel picture (a toolbar button, a tree image) as an icon drawn for the look in force (its outline
// 3:1 against bars and fields) and for the device pixels of the screen it shows on.
QIcon PixelPictureIcon(const QImage& picture);

} // namespace qor::gui
