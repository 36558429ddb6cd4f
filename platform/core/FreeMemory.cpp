// Memory the program has freed, handed back to the system.
#include "platform/core/FreeMemory.h"

#include <cstdlib> // says whether the C library is glibc

#if defined(__GLIBC__)
#include <malloc.h>
#endif
#include <sys/resource.h>

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

void FitAllocatorToAddressLimit()
{
#if defined(__GLIBC__)
    rlimit limit{};
    if (getrlimit(RLIMIT_AS, &limit) == 0 && limit.rlim_cur != RLIM_INFINITY) mallopt(M_ARENA_MAX, 1);
#endif
}

} // namespace qor
