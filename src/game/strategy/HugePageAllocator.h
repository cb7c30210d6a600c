#pragma once
#include <cstddef>
#include <cstdlib>
#include <new>
#ifdef __linux__
#include <sys/mman.h>
#endif

// Allocator for the engine's large tables (hands, memo slots): a block of
// megabytes is backed by huge pages where the system offers them, so it is
// faulted in a few hundred times instead of a few hundred thousand; those
// faults, not the arithmetic, were the largest cost of valuing a chart.
// Small blocks come from the ordinary heap.
template <class T> struct HugePageAllocator {
    using value_type = T;
    static constexpr std::size_t hugePage = std::size_t(2) << 20;

    HugePageAllocator() = default;
    template <class U> HugePageAllocator(const HugePageAllocator<U> &) {}

    T *allocate(std::size_t count)
    {
        const std::size_t bytes = count * sizeof(T);
        if (bytes < hugePage)
            return static_cast<T *>(::operator new(bytes));
        const std::size_t rounded = (bytes + hugePage - 1) & ~(hugePage - 1);
        void *block = std::aligned_alloc(hugePage, rounded);
        if (!block)
            throw std::bad_alloc();
#ifdef __linux__
        madvise(block, rounded, MADV_HUGEPAGE);
#endif
        return static_cast<T *>(block);
    }
    void deallocate(T *block, std::size_t count)
    {
        if (count * sizeof(T) < hugePage)
            ::operator delete(block);
        else
            std::free(block);
    }
    template <class U> bool operator==(const HugePageAllocator<U> &) const { return true; }
    template <class U> bool operator!=(const HugePageAllocator<U> &) const { return false; }
};
