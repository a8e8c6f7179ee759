#include "text/LargeBuffer.h"

#include <cstdint>
#if defined(__linux__)
#include <sys/mman.h>
#endif

void LargeBuffer::preferHugePages(void* data, qsizetype bytes) {
#if defined(MADV_HUGEPAGE)
    // Below this a buffer holds no whole huge page once aligned.
    constexpr qsizetype kSmallest = qsizetype(4) << 20;
    constexpr std::uintptr_t kPage = 4096;
    if (bytes < kSmallest)
        return;
    const auto start = reinterpret_cast<std::uintptr_t>(data);
    const std::uintptr_t first = (start + kPage - 1) & ~(kPage - 1);
    const std::uintptr_t last = (start + std::uintptr_t(bytes)) & ~(kPage - 1);
    ::madvise(reinterpret_cast<void*>(first), last - first, MADV_HUGEPAGE);
#else
    Q_UNUSED(data);
    Q_UNUSED(bytes);
#endif
}
