#include "engine/encoder/capacity.h"

#include <algorithm>

#include "engine/codebreaker/release.h"

namespace zqspiel {

namespace {

// x rounded up to a multiple of 32 (a multiple stays).
constexpr std::int64_t round_up32(std::int64_t x) { return (x + 31) & ~std::int64_t{31}; }

// The computer can no longer guess: the second player is a person again.
void no_computer_guess(CapacityCorrections& c) {
    if (!X.PC_RAET) return;
    X.PC_RAET = false;
    c.guess_dropped = true;
}

// A not-fixed code cannot be kept: the code becomes fixed.
void fixed_code(CapacityCorrections& c) {
    if (X.LOESUNG_FEST) return;
    X.LOESUNG_FEST = true;
    c.fixed_forced = true;
}

}  // namespace

CapacityCorrections check_capacity(byte s, byte n, bool repeat, bool vacant, bool release) {
    CapacityCorrections c;
    // With only two signs the vacant sign is a third value for the codebreaker.
    const bool vacant_value = vacant && s == 2 && n >= 4;
    const int s1 = vacant_value ? s + 1 : s;
    SIZERATEN = static_cast<std::uint16_t>(round_up32(n + 24 + s1));
    SIZERATENPTR = SIZERATEN;
    GENUGPLATZ = n + s + 24 + (vacant ? 1 : 0) < SIZERATEN;

    LISTEN_FREIGEBEN(release);

    if (GEAENDERT) {
        for (int i = 2; i <= 9; ++i) {
            if (MERKEZAEHLEFARBEN[i] != ZAEHLEFARBEN[i]) c.table_changed = true;
            MERKEZAEHLEFARBEN[i] = ZAEHLEFARBEN[i];
        }
    }

    KANN_RATEN = true;
    KANN_MOGELN = true;
    switch (n) {
        case 6:
            KANN_RATEN = s1 <= 35;
            KANN_MOGELN = !(repeat && s > 35);
            break;
        case 7:
            KANN_RATEN = s1 <= 21;
            KANN_MOGELN = !((repeat && s > 21) || s > 24);
            break;
        case 8:
            KANN_RATEN = s1 <= 14;
            KANN_MOGELN = !((repeat && s > 14) || s > 18);
            break;
        case 9:
            KANN_RATEN = s1 <= 10;
            KANN_MOGELN = !((repeat && s > 10) || s > 15);
            break;
        default:
            break;
    }
    if (!KANN_MOGELN) KANN_RATEN = false;
    if (!KANN_MOGELN) fixed_code(c);
    if (!KANN_RATEN) no_computer_guess(c);

    if (KANN_MOGELN) {
        std::int64_t codes = 1;
        for (int i = 0; i < n; ++i) codes *= repeat ? s : s - i;
        MEMLOES = static_cast<std::int32_t>(std::min<std::int64_t>(codes, INT32_MAX));
        if (codes * 32 > MEMGES) {
            KANN_MOGELN = false;
            KANN_RATEN = false;
            no_computer_guess(c);
            fixed_code(c);
        }
    }
    if (KANN_RATEN) {
        std::int64_t codes = 1;
        for (int i = 0; i < n; ++i) codes *= s1;
        if (vacant_value) --codes;
        MEMRATE = static_cast<std::int32_t>(std::min<std::int64_t>(codes, INT32_MAX));
        if (codes * SIZERATEN > MEMGES) {
            KANN_RATEN = false;
            no_computer_guess(c);
        }
    }
    return c;
}

}  // namespace zqspiel
