// Anonymous memory in whole pages for the computer players' large tables,
// with what the system offers beyond POSIX chosen at compile time: the Linux
// advice on page sizes and MAP_NORESERVE where they exist, plain mapping calls
// elsewhere (macOS, the BSDs, and Linux built with ZQ_PORTABLE to try that
// path here).
#pragma once

#include <cstddef>

namespace console {

// True when this build advises page sizes with madvise(2); false when it
// uses the portable calls only.
bool linux_page_calls();

// Private anonymous memory of `bytes` (a multiple of the page size is best),
// zero when first read, committed only as it is touched where the system
// allows that; nullptr when refused.
void* map_pages(std::size_t bytes);
void unmap_pages(void* p, std::size_t bytes);

// Advises large (or small) pages for the range; false when the system has no
// such advice or refused it. The contents stay as they are either way.
bool advise_large_pages(void* p, std::size_t bytes, bool large);

}  // namespace console
