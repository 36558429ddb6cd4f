// Millisecond clocks.
#include "platform/core/Time.h"

#include <chrono>

DWORD GetTickCount()
{
    using namespace std::chrono;
    return static_cast<DWORD>(duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count());
}

DWORD timeGetTime() { return GetTickCount(); }
