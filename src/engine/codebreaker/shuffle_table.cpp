// The shuffle table lives in anonymous mappings rather than in static data:
// fresh pages are zero (nil) already, and clearing is giving them back, so an
// idle table costs nothing, not even address space.
#include <unistd.h>

#include <algorithm>
#include <cstring>

#include "console/memory_pages.h"
#include "engine/codebreaker/shuffle_table.h"

namespace zqspiel {

namespace {
using T = ShuffleTable;
constexpr std::uint64_t HEAD_BYTES = sizeof(PTR) * std::uint64_t{SHUFFLE_SIZE};
constexpr std::uint64_t PIECE_HEAD_BYTES = sizeof(PTR) << T::PIECE_BITS;
static_assert(T::PIECE_BYTES % 4096 == 0);
constexpr std::uint64_t DRAWN_AHEAD = 64;  // more than the store build draws ahead

ShuffleTable table;

struct State {
    void* whole = nullptr;    // the one mapping of the whole table, or nil
    bool huge = false;        // it asks for large pages
    std::uint32_t pieces = 0;  // pieces mapped one by one
    bool touched = false;     // heads, counters or bits may be set
} state;

void* map_bytes(std::uint64_t bytes) {
    return console::map_pages(bytes);
}

// A small store touches a few thousand heads scattered over the whole table:
// with large pages each of them costs the kernel 2 MiB of zeroing, about 300
// MB a match, where small pages cost a few MB. A large store touches every
// page anyway, and then large pages spare the TLB.
void choose_pages(bool large) {
    // Without the advice (macOS, the BSDs) the system chooses the page size.
    if (console::advise_large_pages(state.whole, T::WHOLE_BYTES, large)) state.huge = large;
}

bool map_whole(bool large) {
    void* p = map_bytes(T::WHOLE_BYTES);
    if (!p) return false;
    state.whole = p;
    state.huge = !large;  // so that the choice below is made
    choose_pages(large);
    auto* heads = static_cast<PTR*>(p);
    byte* counters = static_cast<byte*>(p) + HEAD_BYTES;
    for (std::uint32_t i = 0; i < T::PIECES; ++i) {
        table.heads[i] = heads + (std::size_t{i} << T::PIECE_BITS);
        table.counters[i] = counters + (std::size_t{i} << T::PIECE_BITS);
    }
    return true;
}

}  // namespace

ShuffleTable& shuffle_table() { return table; }

bool fetch_mischfeld_piece(std::uint32_t b) {
    const std::uint32_t i = (b & (SHUFFLE_SIZE - 1)) >> T::PIECE_BITS;
    if (table.heads[i]) return true;
    void* p = map_bytes(T::PIECE_BYTES);
    if (!p) return false;
    table.heads[i] = static_cast<PTR*>(p);
    table.counters[i] = static_cast<byte*>(p) + PIECE_HEAD_BYTES;
    ++state.pieces;
    state.touched = true;
    return true;
}

PTR MISCHFELD(std::uint32_t b) { return table.present(b) ? table.bucket_head(b) : nullptr; }
byte MISCHZ(std::uint32_t b) { return table.present(b) ? table.counter(b) : byte{0}; }

void mark_mischfeld_used() { state.touched = true; }

bool mischfeld_whole() { return state.whole != nullptr; }

MemoryNeed prepare_mischfeld(std::int64_t codes, std::uint64_t free_address_bytes) {
    const bool large = codes >= SMALL_STORE;
    MemoryNeed need;
    // With small pages a code touches at most a page of heads and one of
    // counters; with large ones the whole table is touched soon.
    const long page = sysconf(_SC_PAGESIZE);
    const std::uint64_t n = codes > 0 ? static_cast<std::uint64_t>(codes) : 0;
    need.resident = large ? T::WHOLE_BYTES
                            : std::min<std::uint64_t>(T::WHOLE_BYTES, n * 2 * static_cast<std::uint64_t>(page > 0 ? page : 4096));
    if (state.whole) {
        if (large != state.huge) choose_pages(large);
        return need;
    }
    if (state.pieces == 0 && free_address_bytes >= T::WHOLE_BYTES && map_whole(large)) {
        need.address_bytes = T::WHOLE_BYTES;
        return need;
    }
    // In pieces: at most one new piece per bucket drawn, which is one per
    // code and the few the build draws ahead.
    need.address_bytes = std::min<std::uint64_t>(n + DRAWN_AHEAD, T::PIECES) * T::PIECE_BYTES;
    return need;
}

void INITFELD() {
    if (!state.touched && !state.whole && state.pieces == 0) return;
    if (state.whole) {
        console::unmap_pages(state.whole, T::WHOLE_BYTES);
    } else {
        for (std::uint32_t i = 0; i < T::PIECES; ++i)
            if (table.heads[i]) console::unmap_pages(table.heads[i], T::PIECE_BYTES);
    }
    // Unmapped, every head reads nil and every counter 0 (the build relies
    // on an empty bucket's counter being 0); the next mapping is zero.
    std::fill(std::begin(table.heads), std::end(table.heads), nullptr);
    std::fill(std::begin(table.counters), std::end(table.counters), nullptr);
    std::memset(table.bits, 0, sizeof table.bits);
    state = State{};
}

}  // namespace zqspiel
