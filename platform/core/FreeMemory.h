// Memory the program has freed, handed back to the system.
#pragma once

#include <cstddef>

namespace qor {

// Gives the system back the pages of the heap that hold nothing. The allocator keeps what is freed for
// its next requests, and where blocks of some megabytes (windows' surfaces) come and go between small
// ones that stay, it keeps the holes for good: the program's resident set then grows and shrinks at
// random with each case opened and closed, however little it holds. Some milliseconds for a heap of
// 100 MB; any thread. True when pages went back.
bool ReturnFreeMemory();

// Gives the system back the pages of a block of `bytes` that is about to be freed, a slice of them at a
// time. Freeing gigabytes in one go holds the process's map of memory for half a second, and any other
// thread that maps or unmaps memory meanwhile (a window freeing its drawing) waits that long; between
// slices it gets its turn. The block stays the caller's, its contents gone; any thread.
void GiveBackPagesInSlices(void* block, std::size_t bytes);

// Under an address-space limit (RLIMIT_AS) the allocator keeps to one heap for every thread: the heap of
// each further thread reserves 64 MB of address space at a time, which under a limit of a gigabyte or so
// leaves no room for a run's results, nor for the stack of its next thread. Without a limit nothing changes.
// Called at start-up, before threads allocate.
void FitAllocatorToAddressLimit();

} // namespace qor
