// The framework in one include, for control, view and dialog code.
#pragma once

#include "platform/core/Core.h"
#include "platform/gui/WinDefs.h"
#include "platform/gui/Object.h"
#include "platform/gui/CmdTarget.h"
#include "platform/gui/MessageMap.h"
#include "platform/gui/Gdi.h"
#include "platform/gui/ImageList.h"
#include "platform/gui/Wnd.h"
#include "platform/gui/Controls.h"
#include "platform/gui/Dialog.h"
#include "platform/gui/PropertySheet.h"
#include "platform/gui/App.h"
#include "platform/gui/SysValues.h"
#include "platform/gui/Clipboard.h"
#include "platform/gui/Print.h"
#include "platform/gui/Locale.h"
