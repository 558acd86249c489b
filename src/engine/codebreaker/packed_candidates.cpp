#include "engine/codebreaker/packed_candidates.h"

#include <cstdint>

#include "console/console.h"
#include "console/memory_pages.h"
#include "engine/arena.h"
#include "engine/clock/clock.h"
#include "engine/codebreaker/codebreaker_state.h"
#include "engine/long_work.h"

namespace zqspiel {

namespace {

PackedCopy copy;

}  // namespace

const PackedCopy& packed_copy() { return copy; }

bool build_packed_copy() {
    const int l = X.CODELAENGE, n = MAXFARBE;
    std::size_t count = 0;
    for (PTR s = ERLAUBT; s; s = s->link3) ++count;
    // Planes only for the signs that may still occur.
    int kinds = 0;
    for (int s = 1; s <= n; ++s) kinds += ERL_FARBE[s] ? 1 : 0;
    const std::size_t needed = bit_plane_words(count, l, kinds) * sizeof(std::uint64_t);
    if (needed > copy.mapped) {
        release_search_buffer();
        // The copy is a help only: it may take a quarter of the room the
        // store's own check sees; when the machine is shorter of memory than
        // that the search runs over the nodes instead.
        if (!memory_suffices(4 * std::uint64_t{needed}, 4 * std::uint64_t{needed})) return false;
        const std::size_t page = 1 << 16;
        const std::size_t size = (needed + page - 1) / page * page;
        void* p = console::map_pages(size);
        if (!p) return false;
        copy.data = static_cast<std::uint64_t*>(p);
        copy.mapped = size;
    }
    copy.count = count;
    lay_out_bit_planes(copy.planes, copy.data, count, l, n, ERL_FARBE);
    std::size_t k = 0;
    Pacer clock(1 << 18);
    for (PTR s = ERLAUBT; s; s = s->link3, ++k) {
        if (clock.due()) SCHREIBE_ZEIT();
        // A candidate with a sign that should no longer occur would be
        // scored wrongly: the search goes over the nodes then.
        if (!add_to_bit_planes(copy.planes, k, s->data, s->data + FARBEPL, n)) {
            copy.count = 0;
            return false;
        }
    }
    return true;
}

void release_search_buffer() {
    if (copy.data) console::unmap_pages(copy.data, copy.mapped);
    copy = PackedCopy{};
}

}  // namespace zqspiel
