#include "engine/codebreaker/release.h"

#include <algorithm>

#include "console/keys.h"
#include "engine/arena.h"
#include "engine/codebreaker/codebreaker_state.h"
#include "engine/codebreaker/packed_candidates.h"

namespace zqspiel {

namespace {

// The smallest multiple of 32 above x: the size a node of x bytes takes.
constexpr std::int64_t slot(std::int64_t x) { return (x + 32) & ~std::int64_t{31}; }

// Beyond these sign counts the number of codes of a length no longer fits a
// 32-bit signed count.
void apply_caps() {
    ZAEHLEFARBEN[6] = std::min<byte>(ZAEHLEFARBEN[6], 35);
    ZAEHLEFARBEN[7] = std::min<byte>(ZAEHLEFARBEN[7], 21);
    ZAEHLEFARBEN[8] = std::min<byte>(ZAEHLEFARBEN[8], 14);
    ZAEHLEFARBEN[9] = std::min<byte>(ZAEHLEFARBEN[9], 10);
}

}  // namespace

std::array<byte, 11> compute_capacity(std::int64_t memges) {
    std::array<byte, 11> t{};
    for (int c = 2; c <= 36; ++c) {
        std::int64_t m = memges;
        int k = 0;
        while (k < 9 && slot(k + c + 24) <= m / c) {
            ++k;
            m /= c;
        }
        // Signs rise, so each length keeps the largest count that reaches it.
        if (k >= 1) t[k] = static_cast<byte>(c);
    }
    // A shorter code is at least as feasible as a longer one.
    for (int n = 8; n >= 2; --n) t[n] = std::max(t[n], t[n + 1]);
    return t;
}

void LISTEN_FREIGEBEN(bool release_all) {
    if (release_all) {
        // Every node of both lists lives in the arena: one release frees all.
        STORE_ARENA.release();
        release_search_buffer();  // the search's copy of the store goes with it
        VERS = nullptr;
        VERSLOE = nullptr;
        ERLAUBT = nullptr;
        SCHLUSSLICHT = nullptr;
        AKTUELL = nullptr;
        ERL = nullptr;
        ERLLOE = nullptr;
        NEUER_KANDIDAT = false;
    }
    GEAENDERT = MERKEMEMAVAIL != MEMAVAIL;
    if (GEAENDERT) {
        MERKEMEMAVAIL = MEMAVAIL;
        MEMGES = MERKEMEMAVAIL - MERKEMEMAVAIL % 32;
        ZAEHLEFARBEN = compute_capacity(MEMGES);
    }
    apply_caps();
}

void abandon_match(unsigned char& key) {
    key = console::key::ESC;
    LISTEN_FREIGEBEN(true);
    ZEITEIN = false;
}

}  // namespace zqspiel
