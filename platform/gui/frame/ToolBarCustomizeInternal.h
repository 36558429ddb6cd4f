// Internal to the window layer: the toolkit side of toolbar customisation.
#pragma once

#include "platform/core/Geometry.h"
#include "platform/core/Types.h"

#include <QtCore/QPointer>
#include <QtGui/QAction>
#include <QtGui/QIcon>

#include <functional>
#include <vector>

class CMFCToolBar;
class QToolBar;
class QWidget;

namespace qor::gui {

// Picture nImage of the toolbars' user images (a null icon when there is none).
QIcon UserImageIcon(int nImage);
// Lets a frame's bar take dragged buttons and commands, and its buttons be dragged (Alt, or while
// customising); called each time its buttons are made.
void WatchToolBarDrag(CMFCToolBar* bar, QToolBar* tb, const std::vector<QPointer<QAction>>& buttons);
// Drags a command from source; let go over a toolbar, dropped gets the screen point (once the drag is over).
void StartCommandDrag(QWidget* source, UINT nID, const std::function<void(CPoint)>& dropped);

} // namespace qor::gui
