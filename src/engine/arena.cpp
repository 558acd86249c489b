#include "engine/arena.h"

#include <sys/mman.h>

#include "console/console.h"

namespace zqspiel {

Arena::~Arena() { release(); }

bool Arena::grow(std::size_t bytes) {
    const std::size_t size = bytes > CHUNK ? (bytes + CHUNK - 1) / CHUNK * CHUNK : CHUNK;
    // The chunk is touched page by page as nodes arrive, so what matters is
    // whether the machine can still give all of it.
    const std::uint64_t avail = console::available_memory();
    if (avail < RESERVE || avail - RESERVE < size) return false;
    void* p = mmap(nullptr, size, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS | MAP_NORESERVE, -1, 0);
    if (p == MAP_FAILED) return false;
#ifdef MADV_HUGEPAGE
    // The store is walked in random order: large pages spare the TLB.
    madvise(p, size, MADV_HUGEPAGE);
#endif
    chunks_.push_back({p, size});
    cur_ = static_cast<char*>(p);
    end_ = cur_ + size;
    return true;
}

void Arena::release() {
    for (const Chunk& c : chunks_) munmap(c.base, c.size);
    chunks_.clear();
    cur_ = end_ = nullptr;
    used_ = 0;
}

}  // namespace zqspiel
