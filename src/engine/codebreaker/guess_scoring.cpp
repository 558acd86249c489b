#include "engine/codebreaker/guess_scoring.h"

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

// What the block counter needs of guess g: the columns of the positions
// where it has a sign, the count columns of its signs that may be shared, and
// the classes that can occur.
GuessColumns guess_columns(const LISTE* g, const GuessInfo& ri, const PackedCopy& copy, int l) {
    GuessColumns c;
    for (int i = 1; i <= l; ++i) {
        const byte s = g->d(i);
        if (s == 0) continue;  // a vacant sign never matches
        c.position[c.matches] = copy.position(i);
        c.sign[c.matches] = s;
        ++c.matches;
    }
    int most = 0;
    if (ri.constant >= 0) {
        c.constant = ri.constant;
    } else {
        for (int j = 0; j < ri.count; ++j) {
            c.count[c.shared] = copy.sign_count(ri.signs[j]);
            c.most[c.shared] = ri.counts[j];
            most += ri.counts[j];
            ++c.shared;
        }
    }
    const int top = std::min(l, c.constant + most);
    for (int common = c.constant; common <= top; ++common)
        for (int p = 0; p <= std::min(common, c.matches); ++p)
            c.class_index[c.classes++] = static_cast<std::uint8_t>(flat_class(common, p));
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
    const GuessColumns c = guess_columns(g, guess_info(g, in), copy, in.length);
    const std::size_t count = copy.count;
    for (std::size_t b0 = 0; b0 < count; b0 += SCORE_BLOCK) {
        const std::size_t end = std::min(count, b0 + SCORE_BLOCK);
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
