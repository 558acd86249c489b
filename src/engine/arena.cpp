#include "engine/arena.h"

#include "console/console.h"
#include "console/memory_pages.h"

namespace zqspiel {

namespace {
constexpr std::uint64_t round_up(std::uint64_t x, std::uint64_t to) { return (x + to - 1) / to * to; }
}  // namespace

Arena::~Arena() { release(); }

std::uint64_t Arena::mapped() const {
    std::uint64_t m = 0;
    for (const Chunk& c : chunks_) m += c.size;
    return m;
}

std::uint64_t Arena::address_space_for(std::uint64_t bytes) {
    // Each chunk may leave a tail too short for the next node unused.
    return round_up(bytes, GRAIN) + (bytes / CHUNK + 1) * GRAIN;
}

bool Arena::grow(std::size_t bytes) {
    std::uint64_t size = CHUNK;
    const auto used = static_cast<std::uint64_t>(used_);
    if (plan_ > used && plan_ - used < CHUNK) size = round_up(plan_ - used, GRAIN);
    if (size < bytes) size = round_up(bytes, GRAIN);
    // The chunk is touched page by page as nodes arrive, so what matters is
    // whether the process can still have all of it.
    if (!memory_suffices(size, size)) return false;
    void* p = console::map_pages(size);
    if (!p) return false;
    // The store is walked in random order: large pages spare the TLB.
    if (size >= (2u << 20)) console::advise_large_pages(p, size, true);
    chunks_.push_back({p, size});
    cur_ = static_cast<char*>(p);
    end_ = cur_ + size;
    return true;
}

void Arena::release() {
    for (const Chunk& c : chunks_) console::unmap_pages(c.base, c.size);
    chunks_.clear();
    cur_ = end_ = nullptr;
    used_ = 0;
    plan_ = 0;
}

bool memory_suffices(std::uint64_t resident, std::uint64_t address_space) {
    const console::MemoryRoom room = console::memory_room();
    return resident <= room.resident && address_space <= room.address_space;
}

}  // namespace zqspiel
