#include "engine/codebreaker/guess_search.h"

#include <cstring>

#include "engine/codebreaker/bit_plane_scoring.h"
#include "engine/codebreaker/guess_scoring.h"
#include "engine/codebreaker/packed_candidates.h"
#include "engine/codebreaker/parallel_search.h"
#include "engine/codebreaker/search_inputs.h"
#include "engine/codebreaker/search_tally.h"

namespace zqspiel {

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

}  // namespace zqspiel
