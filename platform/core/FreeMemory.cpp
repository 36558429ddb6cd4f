// Memory the program has freed, handed back to the system.
#include "platform/core/FreeMemory.h"

#include <cstdlib> // says whether the C library is glibc

#if defined(__GLIBC__)
#include <malloc.h>
#endif

namespace qor {

bool ReturnFreeMemory()
{
#if defined(__GLIBC__)
    // 0: keep no pad at the top of the heap; the free pages inside it go back too.
    return malloc_trim(0) != 0;
#else
    return false;
#endif
}

} // namespace qor
