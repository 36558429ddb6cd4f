// Memory the program has freed, handed back to the system.
#include "platform/core/FreeMemory.h"

#include <cstdlib> // says whether the C library is glibc

#if defined(__GLIBC__)
#include <malloc.h>
#endif
#if defined(__linux__)
#include <sys/mman.h>
#include <unistd.h>
#endif
#include <sys/resource.h>

#include <algorithm>
#include <cstdint>

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

void GiveBackPagesInSlices(void* block, std::size_t bytes)
{
#if defined(__linux__)
    // About 20 ms of the kernel's work a slice.
    constexpr std::size_t kSlice = std::size_t{128} << 20;
    const auto page = static_cast<std::uintptr_t>(sysconf(_SC_PAGESIZE));
    const auto start = reinterpret_cast<std::uintptr_t>(block);
    // Whole pages inside the block only: the allocator's own words at its edges stay.
    std::uintptr_t from = (start + page - 1) / page * page;
    const std::uintptr_t end = (start + bytes) / page * page;
    while (from < end)
    {
        const std::size_t n = std::min<std::size_t>(kSlice, end - from);
        madvise(reinterpret_cast<void*>(from), n, MADV_DONTNEED);
        from += n;
    }
#else
    (void)block;
    (void)bytes;
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
