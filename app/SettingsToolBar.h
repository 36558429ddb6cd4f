// The settings pane's toolbar (expand or collapse, sort, reset): its buttons' state comes from
// the update handlers of its owner, the pane.
#pragma once

#include "platform/gui/Afx.h"

class CSettingsToolBar : public CMFCToolBar
{
public:
    CSettingsToolBar() = default;
};
