// An allocator for the large arrays of a run's results: their blocks come from and go back to the
// spare blocks (CSpareBlocks), small ones from the heap.
#pragma once

#include "engine/analysis/SpareBlocks.h"

#include <cstddef>
#include <new>
#include <utility>

template <class T>
class CSpareAllocator
{
public:
    using value_type = T;

    CSpareAllocator() = default;
    template <class U>
    CSpareAllocator(const CSpareAllocator<U>&) noexcept
    {}

    T* allocate(std::size_t n)
    {
        if (n > static_cast<std::size_t>(-1) / sizeof(T)) throw std::bad_array_new_length();
        const std::size_t bytes = n * sizeof(T);
        return static_cast<T*>(bytes >= CSpareBlocks::kSmallest ? CSpareBlocks::Take(bytes) : ::operator new(bytes));
    }
    void deallocate(T* p, std::size_t n) noexcept
    {
        if (n * sizeof(T) >= CSpareBlocks::kSmallest)
            CSpareBlocks::Give(p);
        else
            ::operator delete(p);
    }

    // Made room is left as it is (resize() makes no zeros to be written over at once); values given
    // are copied as usual.
    template <class U>
    void construct(U* p) noexcept
    {
        ::new (static_cast<void*>(p)) U;
    }
    template <class U, class... Args>
    void construct(U* p, Args&&... args)
    {
        ::new (static_cast<void*>(p)) U(std::forward<Args>(args)...);
    }

    template <class U>
    bool operator==(const CSpareAllocator<U>&) const noexcept
    {
        return true;
    }
};
