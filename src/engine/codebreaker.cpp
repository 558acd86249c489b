#include "engine/codebreaker.h"

#include <algorithm>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "console/console.h"
#include "console/keys.h"
#include "engine/beep.h"
#include "engine/capacity.h"
#include "engine/clock.h"
#include "engine/guess_preparation.h"
#include "engine/long_work.h"
#include "engine/narrowing.h"
#include "engine/packed_candidates.h"

namespace zqspiel {

namespace {

// Class tables are kept flat while searching: index common + 16 * P.
constexpr int FLAT = 160;
inline int flat(int common, int p) { return common + 16 * p; }

// The indices a table of code length l can use (0 <= P <= common <= l).
struct Indices {
    int n = 0;
    std::uint8_t i[64];
    explicit Indices(int l) {
        for (int c = 0; c <= l; ++c)
            for (int p = 0; p <= c; ++p) i[n++] = static_cast<std::uint8_t>(flat(c, p));
    }
};

SearchFigures figures(const std::int32_t* t, const Indices& ix, int l) {
    SearchFigures f;
    f.max = 0;
    f.sum = 0;
    for (int j = 0; j < ix.n; ++j) {
        const std::int32_t v = t[ix.i[j]];
        if (v > f.max) f.max = v;
        f.sum += static_cast<std::int64_t>(v) * v;
        if (v > 0) ++f.classes;
    }
    f.hit = t[flat(l, l)] == 1;
    return f;
}

bool same(const SearchFigures& a, const SearchFigures& b) {
    return a.max == b.max && a.sum == b.sum && a.classes == b.classes && a.hit == b.hit;
}

bool better(const SearchFigures& g, const SearchFigures& b) {
    if (g.max != b.max) return g.max < b.max;
    if (g.sum != b.sum) return g.sum < b.sum;
    if (g.classes != b.classes) return g.classes > b.classes;
    return g.hit && !b.hit;
}

// ---- the guess's signs -------------------------------------------------------

struct GuessInfo {
    int count = 0;          // signs of the guess that may still be shared
    byte signs[9] = {};
    byte counts[9] = {};
    int constant = -1;      // common when the secret's sign counts are known, else -1
};

GuessInfo guess_info(const LISTE* g) {
    GuessInfo r;
    const int n = MAXFARBE;
    if (KENNEALLEFARBEN && ERLAUBT) {
        int c = 0;
        for (int s = 1; s <= n; ++s) c += std::min(g->d(FARBEPL + s), ERLAUBT->d(FARBEPL + s));
        r.constant = c;
        return r;
    }
    for (int s = 1; s <= n && r.count < 9; ++s) {
        const byte k = g->d(FARBEPL + s);
        if (k > 0 && ERL_FARBE[s]) {
            r.signs[r.count] = static_cast<byte>(s);
            r.counts[r.count] = k;
            ++r.count;
        }
    }
    return r;
}

// ---- sign-class reduction -----------------------------------------------------

bool survives(const LISTE* g, const Reduction& red) {
    const int l = X.CODELAENGE;
    for (int c = 1; c <= MAXFARBE; ++c)
        if (red.excluded[c] && g->d(FARBEPL + c) != 0) return false;
    byte first[37];
    for (int j = 1; j <= red.length; ++j) first[red.order[j]] = 100;
    for (int i = l; i >= 1; --i) {
        const byte c = g->d(i);
        if (c != 0 && c <= 36) first[c] = static_cast<byte>(i);
    }
    // first holds garbage for signs outside the order, which are not read.
    int before = 0;
    for (int j = 1; j <= red.length; ++j) {
        const int pos = first[red.order[j]];
        if (pos < before) return false;
        before = pos;
    }
    return true;
}

inline bool skip(const LISTE* g, const Reduction& red) {
    if (!red.on) return false;
    if (GENUGPLATZ) return g->d(ENDFARBEPL1) == 0;
    return !survives(g, red);
}

// ---- scoring one guess --------------------------------------------------------

// Straight over the nodes, pruning candidate by candidate. Returns false when
// the guess cannot beat the best any more.
bool score_nodes(const LISTE* g, const GuessInfo& ri, const SearchFigures& best, std::int32_t* t,
                 std::int64_t& pairs) {
    const int l = X.CODELAENGE;
    bool tie = false;
    bool sum_present = false;
    std::int64_t sum = 0;
    const Indices ix(l);
    for (const LISTE* s = ERLAUBT; s; s = s->link3) {
        int p = 0;
        for (int i = 1; i <= l; ++i) p += (g->d(i) == s->d(i) && g->d(i) != 0) ? 1 : 0;
        int common = ri.constant;
        if (common < 0) {
            common = 0;
            for (int j = 0; j < ri.count; ++j) common += std::min(ri.counts[j], s->d(FARBEPL + ri.signs[j]));
        }
        const std::int32_t n = ++t[flat(common, p)];
        ++pairs;
        if (!tie && n < best.max) continue;
        if (n > best.max) return false;
        if (!sum_present) {
            sum = 0;
            for (int j = 0; j < ix.n; ++j) sum += static_cast<std::int64_t>(t[ix.i[j]]) * t[ix.i[j]];
            sum_present = true;
        } else {
            sum += 2 * static_cast<std::int64_t>(n) - 1;
        }
        if (sum > best.sum || (sum == best.sum && s->link3)) return false;
        tie = true;
    }
    return true;
}

// Over the packed copy, four tables in turn so that equal classes do not wait
// on each other, pruning after each block: a guess is given up only when it
// is certainly worse, so the choice is the same as candidate by candidate.
bool score_packed(const LISTE* g, const GuessInfo& ri, const SearchFigures& best, std::int32_t* t,
                  std::int64_t& pairs, const Indices& ix) {
    const int l = X.CODELAENGE;
    const PackedCopy& copy = packed_copy();
    const int record = copy.record;
    alignas(16) byte code[48], counts[48], weight[48];
    std::memset(code, 0xFF, sizeof code);
    std::memset(counts, 0, sizeof counts);
    std::memset(weight, 0, sizeof weight);
    for (int i = 1; i <= l; ++i) {
        const byte c = g->d(i);
        code[i - 1] = c == 0 ? 0xFF : c;  // a vacant sign never matches
        weight[i - 1] = 16;
    }
    const int constant = ri.constant < 0 ? 0 : ri.constant;
    if (ri.constant < 0)
        for (int j = 0; j < ri.count; ++j) counts[l + ri.signs[j] - 1] = ri.counts[j];

    alignas(64) std::int32_t sub[4][FLAT];
    std::memset(sub, 0, sizeof sub);
    const std::size_t count = copy.count;
    const byte* basis = copy.data;
    constexpr std::size_t BLOCK = 128;

#if defined(__SSE2__)
    const __m128i vcode = _mm_load_si128(reinterpret_cast<const __m128i*>(code));
    const __m128i weights_v = _mm_load_si128(reinterpret_cast<const __m128i*>(weight));
    const __m128i counts0 = _mm_load_si128(reinterpret_cast<const __m128i*>(counts));
    const __m128i counts1 = _mm_load_si128(reinterpret_cast<const __m128i*>(counts + 16));
    const __m128i counts2 = _mm_load_si128(reinterpret_cast<const __m128i*>(counts + 32));
    const __m128i zero = _mm_setzero_si128();
    auto index = [&](const byte* r) -> int {
        const __m128i s0 = _mm_load_si128(reinterpret_cast<const __m128i*>(r));
        __m128i v = _mm_add_epi8(_mm_min_epu8(counts0, s0), _mm_and_si128(_mm_cmpeq_epi8(vcode, s0), weights_v));
        __m128i sad = _mm_sad_epu8(v, zero);
        if (record > 16) {
            const __m128i s1 = _mm_load_si128(reinterpret_cast<const __m128i*>(r + 16));
            sad = _mm_add_epi64(sad, _mm_sad_epu8(_mm_min_epu8(counts1, s1), zero));
            if (record > 32) {
                const __m128i s2 = _mm_load_si128(reinterpret_cast<const __m128i*>(r + 32));
                sad = _mm_add_epi64(sad, _mm_sad_epu8(_mm_min_epu8(counts2, s2), zero));
            }
        }
        return _mm_cvtsi128_si32(_mm_add_epi64(sad, _mm_unpackhi_epi64(sad, sad))) + constant;
    };
#else
    auto index = [&](const byte* r) -> int {
        int v = constant;
        for (int i = 0; i < record; ++i) {
            v += (code[i] == r[i]) ? weight[i] : 0;
            v += std::min(counts[i], r[i]);
        }
        return v;
    };
#endif

    for (std::size_t b0 = 0; b0 < count; b0 += BLOCK) {
        const std::size_t end = std::min(count, b0 + BLOCK);
        const byte* r = basis + b0 * static_cast<std::size_t>(record);
        std::size_t i = b0;
        for (; i + 4 <= end; i += 4, r += 4 * record) {
            const int a = index(r), b = index(r + record), c = index(r + 2 * record), d = index(r + 3 * record);
            ++sub[0][a];
            ++sub[1][b];
            ++sub[2][c];
            ++sub[3][d];
        }
        for (; i < end; ++i, r += record) ++sub[0][index(r)];
        std::int32_t m = 0;
        for (int j = 0; j < ix.n; ++j) {
            const int k = ix.i[j];
            const std::int32_t v = t[k] + sub[0][k] + sub[1][k] + sub[2][k] + sub[3][k];
            sub[0][k] = sub[1][k] = sub[2][k] = sub[3][k] = 0;
            t[k] = v;
            if (v > m) m = v;
        }
        pairs += static_cast<std::int64_t>(end - b0);
        if (m > best.max) return false;
        if (m == best.max) {
            std::int64_t sum = 0;
            for (int j = 0; j < ix.n; ++j) sum += static_cast<std::int64_t>(t[ix.i[j]]) * t[ix.i[j]];
            if (sum > best.sum || (sum == best.sum && end < count)) return false;
        }
    }
    return true;
}

// ---- screen helpers -------------------------------------------------------------

void show_code(const LISTE* g) {
    for (int i = 1; i <= X.CODELAENGE; ++i) console::write(static_cast<char>(FARBARRAY[g->d(i)]));
    console::goto_xy(WX, WY);
}

void stars() {
    if (ZAHL_DER_VERSUCHE <= 0) return;
    draw_star_bar(stars_due(GERATENE_VERSUCHE, ZAHL_DER_VERSUCHE));
}

void count_interruption() {
    if (UNTERBR >= 999) return;
    ++UNTERBR;
    if (UNTERBR == 1) {
        console::write_at(3, 15, SP_D ? "Zahl der Unterbrechungen: 1." : "Number of breaks: 1.");
    } else {
        console::goto_xy(SP_D ? 29 : 21, 15);
        console::write_num(UNTERBR);
        console::write('.');
    }
    console::goto_xy(WX, WY);
}

void zeitlimit_notice() {
    if (!ALLESTERNEDRUCKEN) return;
    ALLESTERNEDRUCKEN = false;
    console::goto_xy(1, 11);
    console::write('|');
    console::write(SP_D ? " Zeit begrenzt auf " : " The timelimit is ");
    console::write_num(X.ZEITSTUFE);
    console::write(SP_D ? "0 Sek./Versuch.  " : "0 seconds/trial.  ");
    console::write('|');
    console::goto_xy(WX, WY);
}

// F6 in any of its forms asks the same as F4: F6 is the sixth key of each
// run of ten function keys.
constexpr bool is_f6(unsigned char s) {
    namespace scan = console::key::scan;
    return s == scan::F1 + 5 || s == scan::SHIFT_F1 + 5 || s == scan::CTRL_F1 + 5 || s == scan::ALT_F1 + 5;
}

// The keyboard during the search: true on Esc or Ctrl-C; F4 or F6 in a real
// search asks it to decide soon.
bool search_keyboard(bool real_search) {
    unsigned char scan = 0;
    const bool breaks_off = keyboard_breaks_off(&scan);
    if (real_search && (console::key::decides_soon(scan) || is_f6(scan))) F6_GEDR = true;
    return breaks_off;
}

// The clock and the keyboard are looked at after this much work (pairs
// scored, plus a share per guess), not after every guess.
constexpr std::int64_t WORK_PER_LOOK = 1 << 16;

}  // namespace

PTR prepare_reduction(Reduction& red, PTR g0, PTR& before_start) {
    const int l = X.CODELAENGE, n = MAXFARBE;
    before_start = nullptr;
    red = Reduction{};
    byte free_[37];
    int u = 0;
    for (int c = 1; c <= n; ++c)
        if (!GESPIELT[c]) free_[++u] = static_cast<byte>(c);
    if (u < 2) return g0;
    red.on = true;
    byte order[37] = {};
    byte aux = 0;
    random_permutation(free_, u, order, aux);
    const int gone = l < u ? u - l : 0;
    for (int j = 1; j <= gone; ++j) red.excluded[order[j]] = true;
    red.length = u - gone;
    for (int j = 1; j <= red.length; ++j) red.order[j] = order[gone + j];

    // With no more positions than free signs the canonical guess holds the
    // ordered signs one by one; it is shown and evaluated first.
    byte canon[10] = {};
    const bool with_canon = l <= u;
    if (with_canon) {
        for (int i = 1; i <= l; ++i) {
            canon[i] = red.order[i];
            console::write(static_cast<char>(FARBARRAY[canon[i]]));
        }
        console::goto_xy(WX, WY);
    }
    std::int32_t counter = 0;
    PTR first_one = nullptr, before_first = nullptr;
    bool canon_found = false;
    PTR before_node = nullptr;
    for (PTR g = g0; g;) {
        PTR more = g->link2;
        const bool ok = survives(g, red);
        if (GENUGPLATZ) g->d(ENDFARBEPL1) = ok ? 1 : 0;
        if (ok) {
            ++counter;
            if (!first_one) {
                first_one = g;
                before_first = before_node;
            }
            if (with_canon && !canon_found) {
                bool same_canon = true;
                for (int i = 1; i <= l; ++i) same_canon = same_canon && g->d(i) == canon[i];
                if (same_canon) {
                    canon_found = true;
                    if (before_node) {
                        // Unlink it here and put it at the head of the chain.
                        before_node->link2 = more;
                        if (SCHLUSSLICHT == g) SCHLUSSLICHT = before_node;
                        g->link2 = VERS;
                        VERS = g;
                        g = more;
                        continue;  // before_node stays
                    }
                }
            }
        }
        before_node = g;
        g = more;
    }
    if (counter == 0) {
        red.on = false;
        return g0;
    }
    ZAHL_DER_VERSUCHE = counter;
    NUMMER_PLUS = std::min(NUMMER_PLUS, ZAHL_DER_VERSUCHE);
    if (canon_found) return VERS;
    if (!with_canon) show_code(first_one);
    before_start = before_first;
    return first_one;
}

void score_guess_list(PTR start, PTR before_start, bool single_step, const Reduction& red, bool real_search,
                      Method v, SearchResult& e) {
    const int l = X.CODELAENGE;
    e = SearchResult{};
    SearchFigures& best = e.fig;
    best.sum = OBERGRENZE;
    std::int32_t k = 2;
    const Indices ix(l);
    const bool packed = v == Method::packed && !single_step && build_packed_copy();
    alignas(64) std::int32_t t[FLAT];
    alignas(64) std::int32_t best_t[FLAT] = {};
    Pacer look(WORK_PER_LOOK, true);  // look at the clock with the first guess
    PTR before_node = before_start;
    for (PTR g = start; g;) {
        if (skip(g, red)) {
            if (single_step) break;
            before_node = g;
            g = g->link2;
            continue;
        }
        for (int j = 0; j < ix.n; ++j) t[ix.i[j]] = 0;
        const GuessInfo ri = guess_info(g);
        const std::int64_t before = e.pairs;
        const bool whole = packed ? score_packed(g, ri, best, t, e.pairs, ix)
                                  : score_nodes(g, ri, best, t, e.pairs);
        if (whole) {
            const SearchFigures f = figures(t, ix, l);
            bool tie = false;
            if (same(f, best)) {
                if (console::random(static_cast<std::uint32_t>(k)) == 0) ++best.max;
                ++k;
                tie = true;
            }
            if (better(f, best)) {
                NEUER_KANDIDAT = true;
                if (!tie) k = 2;
                std::memcpy(best_t, t, sizeof t);
                best = f;
                e.predecessor = before_node;
                e.chosen = g;
                AKTUELL = g;
            }
        }
        e.last = g;
        ++e.evaluated;
        PTR more = single_step ? nullptr : g->link2;
        ++GERATENE_VERSUCHE;
        SETZEZEITLETZTERVERSUCH = true;
        stars();
        if (look.due(e.pairs - before + 64) || !more) {
            SCHREIBE_ZEIT();
            if (search_keyboard(real_search)) {
                e.esc = true;
                return;
            }
        }
        bool closing = false;
        if (F6_GEDR && GERATENE_VERSUCHE > NUMMER_PLUS && SPIELZEIT > 500 && (RESTZEIT > 500 || RESTZEIT < 0) &&
            (static_cast<std::int64_t>(SPIELZEIT) + RESTZEIT > 1300 || RESTZEIT < 0)) {
            closing = true;
            if (more) count_interruption();
        }
        if (ZEITLIMIT_GR_0 && SPIELZEIT >= ZEITLIMIT && GERATENE_VERSUCHE > NUMMER_PLUS) {
            if (more) zeitlimit_notice();
            closing = true;
        }
        if (closing) break;
        before_node = g;
        g = more;
    }
    for (int c = 0; c < 10; ++c)
        for (int p = 0; p < 10; ++p) e.table[c][p] = (p <= c && c <= l) ? best_t[flat(c, p)] : 0;
}

void RATE_CODE(CODE& move, byte& p, byte& z, unsigned char& pressed_key) {
    // A code has at most 9 places; saying so lets the compiler see the
    // writes into move stay inside it.
    const int l = std::min<int>(X.CODELAENGE, 9);
    F6_GEDR = false;
    RATENDRAN = true;
    bool reduction = ZAEHLE_VORH_FARBE > 2;
    ZAEHLE_VORH_FARBE = 0;
    ZAHL_DER_VERSUCHE = ZAHLGESAMTVERSUCHE;
    SPIELZEIT = RESTZEIT = 0;
    ZEIT_GERATEN_KL100 = true;
    p = 0;
    NUMMER_PLUS = NUMMER + 6;

    auto break_off = [&] {
        RATEN_ZEITANZEIGE = false;
        abandon_match(pressed_key);
    };
    if (!ERLAUBT || !VERS) {  // no store: nothing can be guessed
        break_off();
        return;
    }

    // One candidate left: it is the secret.
    if (ZAHLGESAMTVERSUCHE == 1 || !ERLAUBT->link3) {
        AEQUI_KLASSE = false;
        p = static_cast<byte>(l);
        LOESUNG.blank();
        for (int i = 1; i <= l; ++i) LOESUNG[i] = static_cast<char>(FARBARRAY[ERLAUBT->d(i)]);
        // The guess is kept in the trial too, so the history holds what was shown.
        move = LOESUNG;
        for (int i = 1; i <= l; ++i) console::write(LOESUNG[i]);
        WX = static_cast<byte>(WX + 8 + l / 2);
        console::goto_xy(WX - 2, WY);
        console::write_num(p);
        console::goto_xy(WX, WY);
        console::write('0');
        z = 0;
        if (X.TON) beep();
        RATEN_ZEITANZEIGE = false;
        LISTEN_FREIGEBEN(true);
        return;
    }
    if (ZAHLGESAMTVERSUCHE == 2 || !ERLAUBT->link3->link3) {
        AEQUI_KLASSE = false;
        reduction = false;
    }
    PTR g0 = VERS;
    bool single_step = false;
    if (AEQUI_KLASSE) {
        g0 = &ANFANG;
        reduction = false;
        ZAHL_DER_VERSUCHE = 1;
        single_step = true;
    }
    const bool real_search = !AEQUI_KLASSE;
    show_code(g0);

    Reduction red;
    PTR start = g0, before_start = nullptr;
    if (reduction) start = prepare_reduction(red, g0, before_start);

    begin_search_display(real_search);
    SearchResult e;
    score_guess_list(start, before_start, single_step, red, real_search, Method::packed, e);
    if (e.esc || !e.chosen) {
        break_off();
        return;
    }

    // After a cut the next search begins with the guesses not looked at now.
    if (real_search && e.last && e.last->link2 && ZAHLGESAMTVERSUCHE > 2) {
        if (!e.predecessor) e.predecessor = SCHLUSSLICHT;
        SCHLUSSLICHT->link2 = VERS;
        VERS = e.last->link2;
        e.last->link2 = nullptr;
        SCHLUSSLICHT = e.last;
    }

    // Output of the chosen guess.
    end_search_display();
    AKTUELL = e.chosen;
    move.blank();
    for (int i = 1; i <= l; ++i) move[i] = static_cast<char>(FARBARRAY[AKTUELL->d(i)]);
    console::goto_xy(WX, WY);
    for (int i = 1; i <= l; ++i) console::write(move[i]);
    WX = static_cast<byte>(WX + 6 + l / 2);
    RATENDRAN = false;

    answer_and_narrow(AKTUELL, e.table, real_search, e.predecessor, move, p, z, pressed_key);
}

}  // namespace zqspiel
