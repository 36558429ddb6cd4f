// The element pane's one-button toolbar: its commands and their update handlers go to its
// owner, the pane.
#pragma once

#include "platform/gui/Afx.h"

class CElementViewToolBar : public CMFCToolBar
{
public:
    CElementViewToolBar() = default;
};
