// Release of the computer players' code lists, the capacity table and the
// check of which computer roles the memory budget allows.
#include "engine/capacity.h"

#include <algorithm>
#include <string>

#include "console/console.h"
#include "engine/arena.h"
#include "engine/name_editor.h"
#include "engine/packed_candidates.h"

namespace zqspiel {

namespace {

// The smallest multiple of 32 above x: the size a node of x bytes takes.
constexpr std::int64_t slot(std::int64_t x) { return (x + 32) & ~std::int64_t{31}; }

// x rounded up to a multiple of 32 (a multiple stays).
constexpr std::int64_t round_up32(std::int64_t x) { return (x + 31) & ~std::int64_t{31}; }

// Beyond these sign counts the number of codes of a length no longer fits a
// 32-bit signed count.
void apply_caps() {
    ZAEHLEFARBEN[6] = std::min<byte>(ZAEHLEFARBEN[6], 35);
    ZAEHLEFARBEN[7] = std::min<byte>(ZAEHLEFARBEN[7], 21);
    ZAEHLEFARBEN[8] = std::min<byte>(ZAEHLEFARBEN[8], 14);
    ZAEHLEFARBEN[9] = std::min<byte>(ZAEHLEFARBEN[9], 10);
}

}  // namespace

std::string capacity_cell(int v) {
    if (v < 2) return " -";
    if (v < 10) return std::string(" ") + static_cast<char>('0' + v);
    return std::to_string(v);
}

namespace {

std::string capacity_line() {
    std::string line;
    for (int n = 2; n <= 9; ++n) {
        const int v = MERKEZAEHLEFARBEN[n];
        if (n > 2) line += "   ";
        line += capacity_cell(v);
    }
    return line;
}

// The computer can no longer guess: the second player is a person again.
void no_computer_guess(bool show) {
    if (!X.PC_RAET) return;
    X.PC_RAET = false;
    if (!show) return;
    console::text_attr(NORMALFARBE);  // the conditions screen shows its values in the normal attribute
    if (SP_D) console::write_at(57, 13, "Nein.");
    else console::write_at(64, 13, "No. ");
    SCHREIBE_NAME(false, true, false);
}

// A not-fixed code cannot be kept: the code becomes fixed.
void fixed_code(bool show) {
    if (X.LOESUNG_FEST) return;
    X.LOESUNG_FEST = true;
    if (!show) return;
    console::text_attr(NORMALFARBE);
    console::write_at(30, 19, SP_D ? "Ja.  " : "Yes.");
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

void KORRIGIERE(byte s, byte n, bool repeat, bool vacant, bool show, bool release) {
    const int col = console::where_x(), row = console::where_y();
    const std::uint8_t attr = console::text_attr();

    // With only two signs the vacant sign is a third value for the codebreaker.
    const bool vacant_value = vacant && s == 2 && n >= 4;
    const int s1 = vacant_value ? s + 1 : s;
    SIZERATEN = static_cast<std::uint16_t>(round_up32(n + 24 + s1));
    SIZERATENPTR = SIZERATEN;
    GENUGPLATZ = n + s + 24 + (vacant ? 1 : 0) < SIZERATEN;

    LISTEN_FREIGEBEN(release);

    if (GEAENDERT) {
        bool differs = false;
        for (int i = 2; i <= 9; ++i) {
            if (MERKEZAEHLEFARBEN[i] != ZAEHLEFARBEN[i]) differs = true;
            MERKEZAEHLEFARBEN[i] = ZAEHLEFARBEN[i];
        }
        if (show && differs) {
            console::text_attr(NORMALFARBE);
            console::write_at(35, 8, capacity_line());
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
    if (!KANN_MOGELN) fixed_code(show);
    if (!KANN_RATEN) no_computer_guess(show);

    if (KANN_MOGELN) {
        std::int64_t codes = 1;
        for (int i = 0; i < n; ++i) codes *= repeat ? s : s - i;
        MEMLOES = static_cast<std::int32_t>(std::min<std::int64_t>(codes, INT32_MAX));
        if (codes * 32 > MEMGES) {
            KANN_MOGELN = false;
            KANN_RATEN = false;
            no_computer_guess(show);
            fixed_code(show);
        }
    }
    if (KANN_RATEN) {
        std::int64_t codes = 1;
        for (int i = 0; i < n; ++i) codes *= s1;
        if (vacant_value) --codes;
        MEMRATE = static_cast<std::int32_t>(std::min<std::int64_t>(codes, INT32_MAX));
        if (codes * SIZERATEN > MEMGES) {
            KANN_RATEN = false;
            no_computer_guess(show);
        }
    }

    console::text_attr(attr);
    console::goto_xy(col, row);
}

}  // namespace zqspiel
