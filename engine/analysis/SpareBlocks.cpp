// The spare blocks of the runs' results: a few freed blocks kept with their sizes, under one lock (a run
// takes and gives a block once, so the lock is never contended for long).
#include "engine/analysis/SpareBlocks.h"

#include "platform/core/FreeMemory.h"

#include <algorithm>
#include <cstdint>
#include <mutex>
#include <new>
#include <vector>

namespace {

// Each block starts with its size, so that it can be given back without it; the values start one
// alignment unit later.
constexpr std::size_t kHeader = 64;

struct Spare
{
    void* block = nullptr;
    std::size_t bytes = 0;
};

struct Store
{
    std::mutex lock;
    std::vector<Spare> spares; // oldest first
    bool expectRun = false;
};

// Never destroyed: results held by static objects may give their blocks back at exit.
Store& TheStore()
{
    static Store* store = new Store;
    return *store;
}

std::size_t& SizeOf(void* block) { return *static_cast<std::size_t*>(block); }

void* UserPart(void* block) { return static_cast<char*>(block) + kHeader; }

void* BlockOf(void* user) { return static_cast<char*>(user) - kHeader; }

// Blocks of gigabytes give their pages back a slice at a time first: the window thread, which may be freeing
// memory of its own meanwhile, waits for a slice at most, not the whole block.
constexpr std::size_t kSlicedFree = std::size_t{256} << 20;

void FreeBlock(void* block) noexcept
{
    const std::size_t bytes = SizeOf(block) + kHeader;
    if (bytes >= kSlicedFree) qor::GiveBackPagesInSlices(block, bytes);
    ::operator delete (block, std::align_val_t{kHeader});
}

} // namespace

void* CSpareBlocks::Take(std::size_t bytes)
{
    if (bytes > SIZE_MAX - kHeader) throw std::bad_alloc();
    Store& store = TheStore();
    void* found = nullptr;
    std::vector<void*> unfit;
    {
        std::lock_guard<std::mutex> guard(store.lock);
        store.expectRun = true;
        // The smallest spare that holds the bytes, if it is not more than twice as large.
        auto best = store.spares.end();
        for (auto it = store.spares.begin(); it != store.spares.end(); ++it)
            if (it->bytes >= bytes && it->bytes / 2 <= bytes && (best == store.spares.end() || it->bytes < best->bytes))
                best = it;
        if (best != store.spares.end())
        {
            found = best->block;
            store.spares.erase(best);
        }
        else if (store.spares.size() >= kMostKept)
        {
            // None fits: the oldest makes room for the block this one will be when it is given back.
            unfit.push_back(store.spares.front().block);
            store.spares.erase(store.spares.begin());
        }
    }
    for (void* block : unfit) FreeBlock(block);
    if (found) return UserPart(found);
    void* block = ::operator new (bytes + kHeader, std::align_val_t{kHeader});
    SizeOf(block) = bytes;
    return UserPart(block);
}

void CSpareBlocks::Give(void* user) noexcept
{
    if (!user) return;
    void* const block = BlockOf(user);
    Store& store = TheStore();
    void* dropped = block;
    {
        std::lock_guard<std::mutex> guard(store.lock);
        if (store.expectRun)
        {
            store.spares.push_back({block, SizeOf(block)});
            dropped = nullptr;
            if (store.spares.size() > kMostKept)
            {
                dropped = store.spares.front().block;
                store.spares.erase(store.spares.begin());
            }
        }
    }
    if (dropped) FreeBlock(dropped);
}

void CSpareBlocks::Release() noexcept
{
    Store& store = TheStore();
    std::vector<Spare> spares;
    {
        std::lock_guard<std::mutex> guard(store.lock);
        store.expectRun = false;
        spares.swap(store.spares);
    }
    for (const Spare& s : spares) FreeBlock(s.block);
}

std::size_t CSpareBlocks::SpareCount()
{
    Store& store = TheStore();
    std::lock_guard<std::mutex> guard(store.lock);
    return store.spares.size();
}

std::size_t CSpareBlocks::SpareBytes()
{
    Store& store = TheStore();
    std::lock_guard<std::mutex> guard(store.lock);
    std::size_t total = 0;
    for (const Spare& s : store.spares) total += s.bytes;
    return total;
}
