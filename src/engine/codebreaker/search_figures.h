// The figures by which the search compares guesses, and the flat class
// tables (answer_class.h) it reads them from.
#pragma once

#include <cstdint>

#include "engine/answer_class.h"

namespace zqspiel {

struct SearchFigures {
    std::int32_t max = INT32_MAX;     // largest answer class
    std::int64_t sum = INT64_MAX;     // sum of squared class sizes
    std::int32_t classes = 0;         // non-empty classes
    bool hit = false;                 // the guess is itself a candidate alone in its class

    bool operator==(const SearchFigures&) const = default;
};

// g is a better guess than b: a smaller largest class, then a smaller sum of
// squares, then more classes, then being a candidate itself.
inline bool better(const SearchFigures& g, const SearchFigures& b) {
    if (g.max != b.max) return g.max < b.max;
    if (g.sum != b.sum) return g.sum < b.sum;
    if (g.classes != b.classes) return g.classes > b.classes;
    return g.hit && !b.hit;
}

// The flat indices of the classes a guess of code length l can fill
// (0 <= P <= common <= l). The search clears and reads only these.
struct ClassIndices {
    int n = 0;
    std::uint8_t i[64];
    explicit ClassIndices(int l) {
        for (int c = 0; c <= l; ++c)
            for (int p = 0; p <= c; ++p) i[n++] = static_cast<std::uint8_t>(flat_class(c, p));
    }
};

// Empties the classes of a flat table that a guess can fill.
inline void clear_classes(std::int32_t* t, const ClassIndices& ix) {
    for (int j = 0; j < ix.n; ++j) t[ix.i[j]] = 0;
}

// The sum of the squared class sizes of a flat table.
inline std::int64_t sum_of_squares(const std::int32_t* t, const ClassIndices& ix) {
    std::int64_t sum = 0;
    for (int j = 0; j < ix.n; ++j) sum += static_cast<std::int64_t>(t[ix.i[j]]) * t[ix.i[j]];
    return sum;
}

// The figures of a guess's whole flat table, for code length l.
inline SearchFigures figures(const std::int32_t* t, const ClassIndices& ix, int l) {
    SearchFigures f;
    f.max = 0;
    f.sum = sum_of_squares(t, ix);
    for (int j = 0; j < ix.n; ++j) {
        const std::int32_t v = t[ix.i[j]];
        if (v > f.max) f.max = v;
        if (v > 0) ++f.classes;
    }
    f.hit = t[flat_class(l, l)] == 1;
    return f;
}

}  // namespace zqspiel
