// Large allocations: whole pages from the kernel with huge-page advice, grown with mremap.
#include "statement/largearray.h"

#include <cstdlib>
#include <new>

#if defined(__linux__)
#include <sys/mman.h>
#endif

namespace detail {

namespace {
constexpr size_t kPageThreshold = size_t(1) << 20; // below 1 MiB plain malloc is fine

#if defined(__linux__)
void *mapPages(size_t bytes)
{
    void *p = mmap(nullptr, bytes, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (p == MAP_FAILED)
        throw std::bad_alloc();
    madvise(p, bytes, MADV_HUGEPAGE);
    return p;
}
#endif
} // namespace

void *AllocateLarge(size_t bytes)
{
    return ReallocateLarge(nullptr, 0, bytes);
}

void *ReallocateLarge(void *data, size_t oldBytes, size_t newBytes)
{
#if defined(__linux__)
    if (newBytes >= kPageThreshold) {
        if (data && oldBytes >= kPageThreshold) {
            void *p = mremap(data, oldBytes, newBytes, MREMAP_MAYMOVE);
            if (p == MAP_FAILED)
                throw std::bad_alloc();
            madvise(p, newBytes, MADV_HUGEPAGE);
            return p;
        }
        void *p = mapPages(newBytes);
        if (data) {
            std::memcpy(p, data, oldBytes);
            std::free(data);
        }
        return p;
    }
#endif
    void *p = std::realloc(data, newBytes ? newBytes : 1);
    if (!p)
        throw std::bad_alloc();
    (void)oldBytes;
    return p;
}

void FreeLarge(void *data, size_t bytes)
{
    if (!data)
        return;
#if defined(__linux__)
    if (bytes >= kPageThreshold) {
        munmap(data, bytes);
        return;
    }
#endif
    (void)bytes;
    std::free(data);
}

} // namespace detail
