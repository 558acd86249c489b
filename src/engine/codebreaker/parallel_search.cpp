#include "engine/codebreaker/parallel_search.h"

#include <algorithm>
#include <atomic>
#include <mutex>
#include <thread>

#include "engine/codebreaker/bit_plane_scoring.h"
#include "engine/codebreaker/guess_scoring.h"
#include "engine/codebreaker/packed_candidates.h"
#include "engine/codebreaker/search_crew.h"

namespace zqspiel {

namespace {

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

}  // namespace

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

}  // namespace zqspiel
