#include "console/memory_pages.h"

#include <sys/mman.h>

#if defined(__linux__) && !defined(ZQ_PORTABLE)
#define ZQ_LINUX_PAGES 1
#endif

namespace console {

namespace {
// Not every system knows MAP_NORESERVE (FreeBSD dropped it); where it is
// missing, anonymous pages are not committed before they are touched anyway.
#ifdef MAP_NORESERVE
constexpr int NORESERVE = MAP_NORESERVE;
#else
constexpr int NORESERVE = 0;
#endif
constexpr int ANON = MAP_PRIVATE | MAP_ANON | NORESERVE;
}  // namespace

bool linux_page_calls() {
#ifdef ZQ_LINUX_PAGES
    return true;
#else
    return false;
#endif
}

void* map_pages(std::size_t bytes) {
    void* p = ::mmap(nullptr, bytes, PROT_READ | PROT_WRITE, ANON, -1, 0);
    return p == MAP_FAILED ? nullptr : p;
}

void unmap_pages(void* p, std::size_t bytes) {
    if (p) ::munmap(p, bytes);
}

bool advise_large_pages(void* p, std::size_t bytes, bool large) {
#if defined(ZQ_LINUX_PAGES) && defined(MADV_HUGEPAGE) && defined(MADV_NOHUGEPAGE)
    return ::madvise(p, bytes, large ? MADV_HUGEPAGE : MADV_NOHUGEPAGE) == 0;
#else
    (void)p;
    (void)bytes;
    (void)large;
    return false;
#endif
}

}  // namespace console
