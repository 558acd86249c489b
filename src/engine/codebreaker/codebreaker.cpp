#include "engine/codebreaker/codebreaker.h"

#include <algorithm>
#include <atomic>
#include <cstring>
#include <mutex>
#include <thread>

#include "console/console.h"
#include "engine/beep.h"
#include "engine/clock/clock.h"
#include "engine/codebreaker/column_scoring.h"
#include "engine/codebreaker/guess_scoring.h"
#include "engine/codebreaker/guess_search.h"
#include "engine/codebreaker/narrowing.h"
#include "engine/codebreaker/packed_candidates.h"
#include "engine/codebreaker/release.h"
#include "engine/codebreaker/search_crew.h"
#include "engine/codebreaker/search_inputs.h"
#include "engine/codebreaker/search_tally.h"
#include "engine/codebreaker/sign_reduction.h"
#include "engine/long_work.h"

namespace zqspiel {

namespace {

// Writes the signs s[1..l] of a guess at the cursor, then puts the cursor
// back on the trial's row.
void show_signs(const byte* s, int l) {
    for (int i = 1; i <= l; ++i) console::write(static_cast<char>(FARBARRAY[s[i]]));
    console::goto_xy(WX, WY);
}

// The same for the guess of node g.
void show_code(const LISTE* g) {
    for (int i = 1; i <= X.CODELAENGE; ++i) console::write(static_cast<char>(FARBARRAY[g->d(i)]));
    console::goto_xy(WX, WY);
}

// ---- the search shared among threads ------------------------------------------
//
// The guess chain is cut into chunks of consecutive nodes, which any thread
// may claim and score; the main thread alone takes the scored chunks in chain
// order into the Tally, so the draws, the progress and the looks at the clock
// fall exactly as in a loop over the guesses one by one. A guess is given up
// only when it is certainly worse than a guess before it in the chain: the
// bound a chunk starts from is the best after the chunk WINDOW places before
// it, tightened by the chunk's own guesses as they are scored. That bound
// depends on the chain alone, never on timing, so which guesses are scored
// whole, and the pairs counted, are the same with any number of threads.

constexpr int WINDOW = 16;            // chunks claimed ahead of the last one taken in
constexpr int MOST_NODES = 256;       // nodes of the chain in one chunk at most

struct Scored {
    PTR g;
    bool skipped;
    bool whole;
    SearchFigures f;
    std::int64_t pairs;
};

struct Chunk {
    std::atomic<std::int64_t> ready{-1};  // number of the chunk once scored
    PTR before = nullptr;                 // the node before the first
    int nodes = 0;
    Scored s[MOST_NODES];
};

struct SharedSearch {
    // Guesses per chunk, from the candidates a guess is scored against:
    // a chunk stays a few milliseconds of work at most.
    int guesses_per_chunk = 1;
    const Reduction* red = nullptr;
    SearchInputs in;
    const PackedCopy* copy = nullptr;
    CountBlock count_block_fn = nullptr;
    SearchFigures first_bound;

    std::mutex claim_mutex;
    PTR cursor = nullptr, cursor_before = nullptr;
    std::int64_t claimed = 0;                 // chunks handed out
    std::atomic<std::int64_t> total{-1};      // chunks in all, once the chain's end is reached
    std::atomic<std::int64_t> taken_in{0};    // chunks the main thread has taken in
    std::atomic<bool> stop{false};
    SearchFigures bound_after[2 * WINDOW];    // the best after taking in chunk c, at c % (2 WINDOW)
    Chunk chunks[WINDOW];
};

// Hands out the next chunk: its number, or -1 when there is none now (the
// window is full) and -2 when the chain is used up or the search stopped.
std::int64_t claim(SharedSearch& sh) {
    std::lock_guard lock(sh.claim_mutex);
    if (sh.stop.load(std::memory_order_relaxed) || !sh.cursor) return -2;
    if (sh.claimed >= sh.taken_in.load(std::memory_order_acquire) + WINDOW) return -1;
    const std::int64_t c = sh.claimed++;
    Chunk& ch = sh.chunks[c % WINDOW];
    ch.before = sh.cursor_before;
    int n = 0, guesses = 0;
    PTR g = sh.cursor, before = sh.cursor_before;
    while (g && n < MOST_NODES && guesses < sh.guesses_per_chunk) {
        const bool skipped = skip(g, *sh.red, sh.in);
        ch.s[n++] = Scored{g, skipped, false, SearchFigures{}, 0};
        if (!skipped) ++guesses;
        before = g;
        g = g->link2;
    }
    ch.nodes = n;
    sh.cursor = g;
    sh.cursor_before = before;
    if (!g) sh.total.store(sh.claimed, std::memory_order_release);
    return c;
}

void score_chunk(SharedSearch& sh, std::int64_t c, const ClassIndices& ix, int l) {
    Chunk& ch = sh.chunks[c % WINDOW];
    SearchFigures bound = c < WINDOW ? sh.first_bound : sh.bound_after[(c - WINDOW) % (2 * WINDOW)];
    alignas(64) std::int32_t t[FLAT_CLASSES];
    for (int k = 0; k < ch.nodes; ++k) {
        Scored& r = ch.s[k];
        if (r.skipped) continue;
        if (sh.stop.load(std::memory_order_relaxed)) return;  // thrown away unread
        clear_classes(t, ix);
        r.whole = score_packed(r.g, sh.in, *sh.copy, bound, t, r.pairs, ix, sh.count_block_fn, &sh.stop);
        if (r.whole) {
            r.f = figures(t, ix, l);
            if (better(r.f, bound)) bound = r.f;
        }
    }
    ch.ready.store(c, std::memory_order_release);
}

// True when chunk c is scored; the main thread then takes it in.
bool scored(const SharedSearch& sh, std::int64_t c) {
    return sh.chunks[c % WINDOW].ready.load(std::memory_order_acquire) == c;
}

inline void spin_pause() {
#if defined(__x86_64__) || defined(__i386__)
    __builtin_ia32_pause();
#else
    std::this_thread::yield();
#endif
}

void score_in_chunks(PTR start, PTR before_start, const Reduction& red, const SearchInputs& in, Tally& tally,
                     const ClassIndices& ix, int l) {
    static SharedSearch sh;  // large: kept off the stack, reused by every search
    sh.red = &red;
    sh.in = in;
    sh.copy = &packed_copy();
    sh.count_block_fn = count_block();
    sh.first_bound = tally.best();
    const std::size_t candidates = std::max<std::size_t>(sh.copy->count, 1);
    sh.guesses_per_chunk = static_cast<int>(std::clamp<std::size_t>((std::size_t{1} << 18) / candidates, 1, 64));
    sh.cursor = start;
    sh.cursor_before = before_start;
    sh.claimed = 0;
    sh.total.store(start ? -1 : 0);
    sh.taken_in.store(0);
    sh.stop.store(false);
    for (Chunk& ch : sh.chunks) ch.ready.store(-1);

    run_on_crew([&](int me) {
        if (me != 0) {
            // A helper: scores chunks until the chain is used up or the
            // search stops.
            for (;;) {
                const std::int64_t c = claim(sh);
                if (c == -2) return;
                if (c == -1) {
                    spin_pause();
                    continue;
                }
                score_chunk(sh, c, ix, l);
            }
        }
        // The main thread: takes chunks in as they are scored, scores one
        // itself when the next is not ready yet.
        for (std::int64_t next = 0;;) {
            const std::int64_t total = sh.total.load(std::memory_order_acquire);
            if (total >= 0 && next == total) break;
            if (scored(sh, next)) {
                Chunk& ch = sh.chunks[next % WINDOW];
                PTR before_node = ch.before;
                bool end = false;
                for (int k = 0; k < ch.nodes && !end; ++k) {
                    const Scored& r = ch.s[k];
                    if (!r.skipped) end = tally.guess_done(r.g, before_node, r.whole, r.f, r.pairs);
                    before_node = r.g;
                }
                if (end) break;
                sh.bound_after[next % (2 * WINDOW)] = tally.best();
                ch.ready.store(-1, std::memory_order_relaxed);
                ++next;
                sh.taken_in.store(next, std::memory_order_release);
                continue;
            }
            const std::int64_t c = claim(sh);
            if (c >= 0)
                score_chunk(sh, c, ix, l);
            else
                spin_pause();
        }
        sh.stop.store(true, std::memory_order_relaxed);
    });
}

}  // namespace

void score_guess_list(const SearchRequest& r, SearchResult& e) {
    static const Reduction none_reduced;
    const Reduction& red = r.red ? *r.red : none_reduced;
    const bool single_step = r.single_step;
    const int l = X.CODELAENGE;
    e = SearchResult{};
    Tally tally(e, single_step, r.real_search);
    const ClassIndices ix(l);
    const SearchInputs in = take_inputs();
    alignas(64) std::int32_t t[FLAT_CLASSES];
    if (r.method == Method::packed && !single_step && build_packed_copy()) {
        score_in_chunks(r.start, r.before_start, red, in, tally, ix, l);
        if (e.esc || !e.chosen) return;
        // The class table of the chosen guess, scored whole once more.
        clear_classes(t, ix);
        std::int64_t pairs = 0;
        SearchFigures none;
        score_packed(e.chosen, in, packed_copy(), none, t, pairs, ix, count_block());
        tally.set_table(t, ix);
        return;
    }
    alignas(64) std::int32_t best_t[FLAT_CLASSES] = {};
    PTR before_node = r.before_start;
    for (PTR g = r.start; g;) {
        if (skip(g, red, in)) {
            if (single_step) break;
            before_node = g;
            g = g->link2;
            continue;
        }
        clear_classes(t, ix);
        std::int64_t pairs = 0;
        const bool whole = score_nodes(g, in, tally.best(), t, pairs, ix);
        const bool end = tally.guess_done(g, before_node, whole, whole ? figures(t, ix, l) : SearchFigures{}, pairs);
        if (tally.chosen_now()) std::memcpy(best_t, t, sizeof t);
        if (end) {
            if (e.esc) return;
            break;
        }
        before_node = g;
        g = single_step ? nullptr : g->link2;
    }
    tally.set_table(best_t, ix);
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

    // With the reduction the guess shown is the one it starts with: the
    // canonical guess at once, since the pre-pass over a large store takes
    // a while; else the first guess that follows the rule, once the pre-pass
    // has found it.
    Reduction red;
    PTR start = g0, before_start = nullptr;
    if (reduction) {
        choose_reduction(red);
        if (red.canonical) show_signs(red.order, l);
        start = reduction_pre_pass(red, g0, before_start);
        if (red.on && !red.canonical) show_code(start);
    }

    begin_search_display(real_search);
    SearchResult e;
    score_guess_list({.start = start, .before_start = before_start, .single_step = single_step, .red = &red,
                      .real_search = real_search, .method = Method::packed},
                     e);
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
