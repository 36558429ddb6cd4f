// Memory the program has freed, handed back to the system.
#pragma once

namespace qor {

// Gives the system back the pages of the heap that hold nothing. The allocator keeps what is freed for
// its next requests, and where blocks of some megabytes (windows' surfaces) come and go between small
// ones that stay, it keeps the holes for good: the program's resident set then grows and shrinks at
// random with each case opened and closed, however little it holds. Some milliseconds for a heap of
// 100 MB; any thread. True when pages went back.
bool ReturnFreeMemory();

} // namespace qor
