#include "engine/codebreaker/sign_reduction.h"

#include <algorithm>

#include "engine/codebreaker/codebreaker_state.h"
#include "engine/codebreaker/guess_preparation.h"
#include "engine/codebreaker/store_walk.h"

namespace zqspiel {

bool survives(const LISTE* g, const Reduction& red, const SearchInputs& in) {
    const int l = in.length;
    for (int c = 1; c <= in.signs; ++c)
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

void choose_reduction(Reduction& red) {
    const int l = X.CODELAENGE, n = MAXFARBE;
    red = Reduction{};
    byte free_[37];
    int u = 0;
    for (int c = 1; c <= n; ++c)
        if (!GESPIELT[c]) free_[++u] = static_cast<byte>(c);
    if (u < 2) return;
    red.on = true;
    byte order[37] = {};
    byte aux = 0;
    random_permutation(free_, u, order, aux);
    const int gone = l < u ? u - l : 0;
    for (int j = 1; j <= gone; ++j) red.excluded[order[j]] = true;
    red.length = u - gone;
    for (int j = 1; j <= red.length; ++j) red.order[j] = order[gone + j];
    red.canonical = l <= u;
}

PTR reduction_pre_pass(Reduction& red, PTR g0, PTR& before_start) {
    const int l = X.CODELAENGE;
    before_start = nullptr;
    if (!red.on) return g0;
    // 1. Every guess is marked and counted, in the order of memory; the
    // canonical guess, evaluated first, is looked for on the way.
    std::int32_t counter = 0;
    PTR canon_node = nullptr;
    const SearchInputs in = take_inputs();
    for_each_node([&](PTR g) {
        if (!in_guess_chain(g)) return;
        const bool ok = survives(g, red, in);
        if (GENUGPLATZ) g->d(ENDFARBEPL1) = ok ? 1 : 0;
        if (!ok) return;
        ++counter;
        if (red.canonical && !canon_node) {
            bool same_canon = true;
            for (int i = 1; i <= l; ++i) same_canon = same_canon && g->d(i) == red.order[i];
            if (same_canon) canon_node = g;
        }
    });
    if (counter == 0) {
        red.on = false;
        return g0;
    }
    ZAHL_DER_VERSUCHE = counter;
    NUMMER_PLUS = std::min(NUMMER_PLUS, ZAHL_DER_VERSUCHE);

    // 2. The canonical guess is evaluated first: out of its place, to the
    // head of the chain.
    if (canon_node) {
        if (canon_node != VERS) {
            PTR before_canon = nullptr;
            for_each_node([&](PTR p) {
                if (p->link2 == canon_node) before_canon = p;
            });
            before_canon->link2 = canon_node->link2;
            if (SCHLUSSLICHT == canon_node) SCHLUSSLICHT = before_canon;
            canon_node->link2 = VERS;
            VERS = canon_node;
        }
        return VERS;
    }

    // 3. Otherwise the evaluation starts at the first guess marked.
    PTR before_first = nullptr;
    PTR first_one = g0;
    while (!survives(first_one, red, in)) {
        before_first = first_one;
        first_one = first_one->link2;
    }
    before_start = before_first;
    return first_one;
}

PTR prepare_reduction(Reduction& red, PTR g0, PTR& before_start) {
    choose_reduction(red);
    return reduction_pre_pass(red, g0, before_start);
}

}  // namespace zqspiel
