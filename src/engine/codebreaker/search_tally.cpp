#include "engine/codebreaker/search_tally.h"

#include "console/console.h"
#include "engine/clock/clock.h"
#include "engine/codebreaker/search_screen.h"

namespace zqspiel {

Tally::Tally(SearchResult& e, bool single_step, bool real_search)
    : e_(e), single_step_(single_step), real_search_(real_search) {
    e_.fig.sum = OBERGRENZE;
}

bool Tally::guess_done(PTR g, PTR before_node, bool whole, const SearchFigures& f, std::int64_t pairs) {
    chosen_now_ = false;
    SearchFigures& best = e_.fig;
    if (whole) {
        bool tie = false;
        if (f == best) {
            // g is the k-th guess as good as the best so far and is taken
            // with chance 1/k: bumping best.max makes g strictly better than
            // the old best, so that better() takes it (and best gets g's own
            // figures back). This reservoir draw gives each of k equal
            // guesses the same chance 1/k.
            if (console::random(static_cast<std::uint32_t>(k_)) == 0) ++best.max;
            ++k_;
            tie = true;
        }
        if (better(f, best)) {
            NEUER_KANDIDAT = true;
            if (!tie) k_ = 2;
            best = f;
            e_.predecessor = before_node;
            e_.chosen = g;
            AKTUELL = g;
            chosen_now_ = true;
        }
    }
    e_.pairs += pairs;
    e_.last = g;
    ++e_.evaluated;
    PTR more = single_step_ ? nullptr : g->link2;
    ++GERATENE_VERSUCHE;
    SETZEZEITLETZTERVERSUCH = true;
    stars();
    if (look_.due(pairs + 64) || !more) {
        SCHREIBE_ZEIT();
        if (search_keyboard(real_search_)) {
            e_.esc = true;
            return true;
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
    return closing;
}

void Tally::set_table(const std::int32_t* t, const ClassIndices& ix) {
    e_.table = {};
    for (int j = 0; j < ix.n; ++j) {
        const int k = ix.i[j];
        e_.table[common_of_class(k)][p_of_class(k)] = t[k];
    }
}

}  // namespace zqspiel
