// The storage of the large tables of a run that are looked up at random (the values of a
// file collected for its check, the chart numbers met and their pseudonyms: hundreds of
// thousands of slots). On Linux a table of some megabytes is placed on a boundary of the
// processor's huge pages and the kernel is asked to back it with them, so that a lookup
// that misses the cache costs no page-table walk besides, and a growing table takes a few
// page faults instead of thousands. Elsewhere, and for small tables, the usual allocator.
#pragma once

#include <cstddef>
#include <memory>
#include <new>
#include <vector>

#ifdef __linux__
#include <sys/mman.h>
#endif

namespace vask {

template <class T>
class LargeTableAllocator {
public:
    using value_type = T;

    LargeTableAllocator() = default;
    template <class U>
    LargeTableAllocator(const LargeTableAllocator<U>&) noexcept {}

    T* allocate(size_t n) {
        const size_t bytes = n * sizeof(T);
        if (!large(bytes)) return std::allocator<T>{}.allocate(n);
        void* storage = ::operator new (bytes, std::align_val_t{kHugePage});
#ifdef __linux__
        // A hint: a kernel that does not take it gives ordinary pages.
        ::madvise(storage, bytes, MADV_HUGEPAGE);
#endif
        return static_cast<T*>(storage);
    }
    void deallocate(T* storage, size_t n) noexcept {
        if (!large(n * sizeof(T))) return std::allocator<T>{}.deallocate(storage, n);
        ::operator delete (storage, std::align_val_t{kHugePage});  // unsized: clang declares no sized form by default
    }

    template <class U>
    bool operator==(const LargeTableAllocator<U>&) const noexcept {
        return true;
    }

private:
    static constexpr size_t kHugePage = size_t{2} << 20;  // x86-64 and most ARM64 kernels
#ifdef __linux__
    static bool large(size_t bytes) { return bytes >= 2 * kHugePage; }
#else
    static bool large(size_t) { return false; }
#endif
};

// A table kept so.
template <class T>
using LargeTable = std::vector<T, LargeTableAllocator<T>>;

}  // namespace vask
