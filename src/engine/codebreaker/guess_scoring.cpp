#include "engine/codebreaker/guess_scoring.h"
#include "engine/codebreaker/codebreaker_state.h"

#include <algorithm>

namespace zqspiel {

namespace {

// The guess's signs that may still be shared with the secret, and their
// counts; or the common count itself when the secret's sign counts are known.
struct GuessInfo {
    int count = 0;          // signs of the guess that may still be shared
    byte signs[9] = {};
    byte counts[9] = {};
    int constant = -1;      // common when the secret's sign counts are known, else -1
};

GuessInfo guess_info(const LISTE* g, const SearchInputs& in) {
    GuessInfo r;
    const int n = in.signs;
    if (in.counts_from) {
        int c = 0;
        for (int s = 1; s <= n; ++s) c += std::min(g->d(FARBEPL + s), in.counts_from->d(FARBEPL + s));
        r.constant = c;
        return r;
    }
    for (int s = 1; s <= n && r.count < 9; ++s) {
        const byte k = g->d(FARBEPL + s);
        if (k > 0 && in.may_occur[s]) {
            r.signs[r.count] = static_cast<byte>(s);
            r.counts[r.count] = k;
            ++r.count;
        }
    }
    return r;
}

// What the block counter needs of guess g: the position planes of its signs
// (a vacant place, or a sign no candidate holds, adds nothing to P), the
// count planes of its signs that may be shared (up to its own count of each),
// and the classes that can occur.
GuessPlanes guess_planes(const LISTE* g, const GuessInfo& ri, const BitPlanes& planes, int l) {
    GuessPlanes c;
    for (int i = 1; i <= l; ++i) {
        const byte s = g->d(i);
        if (s == 0) continue;
        if (const std::uint64_t* plane = planes.position_plane(i, s)) c.p[c.p_terms++] = plane;
    }
    if (ri.constant >= 0) {
        c.constant = ri.constant;
    } else {
        for (int j = 0; j < ri.count; ++j)
            for (int t = 1; t <= ri.counts[j]; ++t)
                if (const std::uint64_t* plane = planes.count_plane(ri.signs[j], t)) c.c[c.c_terms++] = plane;
    }
    const int top = std::min(l, c.constant + c.c_terms);
    for (int common = c.constant; common <= top; ++common)
        for (int p = 0; p <= std::min(common, c.p_terms); ++p) c.add_class(common, p);
    return c;
}

}  // namespace

bool score_nodes(const LISTE* g, const SearchInputs& in, const SearchFigures& best, std::int32_t* t,
                 std::int64_t& pairs, const ClassIndices& ix) {
    const GuessInfo ri = guess_info(g, in);
    const int l = in.length;
    bool tie = false;
    bool sum_present = false;
    std::int64_t sum = 0;
    for (const LISTE* s = ERLAUBT; s; s = s->link3) {
        int p = 0;
        for (int i = 1; i <= l; ++i) p += (g->d(i) == s->d(i) && g->d(i) != 0) ? 1 : 0;
        int common = ri.constant;
        if (common < 0) {
            common = 0;
            for (int j = 0; j < ri.count; ++j) common += std::min(ri.counts[j], s->d(FARBEPL + ri.signs[j]));
        }
        const std::int32_t n = ++t[flat_class(common, p)];
        ++pairs;
        if (!tie && n < best.max) continue;
        if (n > best.max) return false;
        if (!sum_present) {
            sum = sum_of_squares(t, ix);
            sum_present = true;
        } else {
            sum += 2 * static_cast<std::int64_t>(n) - 1;
        }
        if (sum > best.sum || (sum == best.sum && s->link3)) return false;
        tie = true;
    }
    return true;
}

bool score_packed(const LISTE* g, const SearchInputs& in, const PackedCopy& copy, const SearchFigures& best,
                  std::int32_t* t, std::int64_t& pairs, const ClassIndices& ix, CountBlock count_block_fn,
                  const std::atomic<bool>* stop) {
    const GuessPlanes c = guess_planes(g, guess_info(g, in), copy.planes, in.length);
    const std::size_t count = copy.count;
    const std::size_t step = score_step(count);
    for (std::size_t b0 = 0; b0 < count; b0 += step) {
        const std::size_t end = std::min(count, b0 + step);
        const std::int32_t m = count_block_fn(c, b0, end - b0, t);
        pairs += static_cast<std::int64_t>(end - b0);
        if (m > best.max) return false;
        if (m == best.max) {
            const std::int64_t sum = sum_of_squares(t, ix);
            if (sum > best.sum || (sum == best.sum && end < count)) return false;
        }
        if (stop && (b0 & 0xFFFF) == 0 && stop->load(std::memory_order_relaxed)) return false;
    }
    return true;
}

}  // namespace zqspiel
