// Large blocks of memory that runs fill with results, and the freed ones kept in the process for the
// next run of about their size, so that a run repeated on a case touches its pages once, not every time.
#pragma once

#include <cstddef>

class CSpareBlocks
{
public:
    // Blocks smaller than this come from the heap as any other and go straight back to it.
    static constexpr std::size_t kSmallest = std::size_t{1} << 20;
    // Spare blocks kept at most.
    static constexpr std::size_t kMostKept = 4;

    // Room for at least this many bytes (aligned for any type): a spare block that holds them and is
    // at most twice as large, or a new one. Throws std::bad_alloc.
    static void* Take(std::size_t bytes);
    // A block from Take back: kept as a spare while the process expects another run (a Take since
    // the last Release), otherwise freed. A spare that no run took in the meantime goes first.
    static void Give(void* block) noexcept;
    // Frees every spare block, and those given back until the next Take (a case closed: its
    // windows' last results may still go, and no run of its is to come).
    static void Release() noexcept;

    // The spare blocks held now and their bytes.
    static std::size_t SpareCount();
    static std::size_t SpareBytes();
};
