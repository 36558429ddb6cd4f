// Millisecond clocks.
#pragma once

#include "platform/core/Types.h"

DWORD GetTickCount();
DWORD timeGetTime();
