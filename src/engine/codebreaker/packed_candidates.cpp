#include "engine/codebreaker/packed_candidates.h"

#include <cstdint>
#include <cstring>

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
    const std::size_t stride = (count + 31) / 32 * 32;
    const std::size_t needed = stride * static_cast<std::size_t>(l + n);
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
        copy.data = static_cast<byte*>(p);
        copy.mapped = size;
    }
    copy.count = count;
    copy.stride = stride;
    copy.positions = l;
    copy.signs = n;
    std::size_t k = 0;
    Pacer clock(1 << 18);
    for (PTR s = ERLAUBT; s; s = s->link3, ++k) {
        if (clock.due()) SCHREIBE_ZEIT();
        for (int i = 1; i <= l; ++i) copy.data[static_cast<std::size_t>(i - 1) * stride + k] = s->d(i);
        for (int c = 1; c <= n; ++c) copy.data[static_cast<std::size_t>(l + c - 1) * stride + k] = s->d(FARBEPL + c);
    }
    // The padding of each column: no sign, no count.
    for (int j = 0; j < l + n; ++j) std::memset(copy.data + static_cast<std::size_t>(j) * stride + count, 0, stride - count);
    return true;
}

void release_search_buffer() {
    if (copy.data) console::unmap_pages(copy.data, copy.mapped);
    copy = PackedCopy{};
}

}  // namespace zqspiel
