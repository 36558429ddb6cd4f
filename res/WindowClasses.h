// Window classes that the program registers itself and its dialog templates name.
#pragma once

// The drawing control (ui/dialogs/DrawCtrl.cpp registers it).
#define DRAWCTRL_CLASSNAME L"DrawCtrl"
