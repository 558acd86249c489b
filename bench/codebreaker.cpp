// Speed of the computer codebreaker: building the candidate store and the
// evaluation loop of the search.
#include <benchmark/benchmark.h>

#include <string>

#include "../tests/support/engine_reset.h"
#include "console/virtual_console.h"
#include "engine/arena.h"
#include "engine/clock/clock.h"
#include "engine/codebreaker/candidate_store.h"
#include "engine/codebreaker/codebreaker.h"
#include "engine/codebreaker/guess_search.h"
#include "engine/codebreaker/narrowing.h"
#include "engine/codebreaker/release.h"
#include "engine/codebreaker/search_crew.h"
#include "engine/play/scoring.h"
#include "engine/setup/conditions.h"
#include "engine/zqspiel.h"

using namespace zqspiel;

namespace {

void set_conditions_for(int l, char last_sign, bool repeat) {
    zqtest::apply_conditions({.l = l, .first_sign = '1', .last_sign = last_sign, .repeat = repeat, .step = 15});
    MERKE_WDHG = repeat;
    LEERZEICHEN = FEHLZ_BENUTZT = ALLE_F_LOESCHEN = false;
    KENNEALLEFARBEN = false;
    GESPIELT.fill(0);
    AEQUI_KLASSE = true;
    NUMMER = 1;
    WX = 40;
    WY = 9;
    ZEITEIN = false;
}

PTR find_node(const std::string& code) {
    for (PTR p = VERS; p; p = p->link2) {
        bool same = true;
        for (int i = 1; i <= X.CODELAENGE; ++i) same = same && FARBARRAY[p->d(i)] == code[i - 1];
        if (same) return p;
    }
    return nullptr;
}

// Answers the guess against the secret and narrows the store.
void answer_guess(const std::string& guess, const std::string& secret) {
    CODE g, s;
    g.blank();
    s.blank();
    for (int i = 1; i <= X.CODELAENGE; ++i) {
        g[i] = guess[i - 1];
        s[i] = secret[i - 1];
    }
    byte p, z;
    BEWERTE(g, s, p, z);
    unsigned char pressed_key = 0;
    narrow(find_node(guess), false, nullptr, p, z, pressed_key);
}

}  // namespace

// Codes stored per second: L = 6 over 16 signs with repetition. Rates are
// per CPU second (user and system), so a busy machine skews them less. The
// kernel's zeroing of the fresh pages (about 1.3 GB a build) takes anything
// from a fifth to half of that time on a virtual machine, varying from run to
// run: the median of several builds is the figure to quote.
static void BM_StoreBuild_L6_N16(benchmark::State& st) {
    console::ScopedVirtualConsole s(1);
    set_conditions_for(6, 'g', true);
    std::int64_t codes = 0;
    for (auto _ : st) {
        bool ok = false;
        INIT_RATEN(ok);
        if (!ok) {
            st.SkipWithError("build failed");
            break;
        }
        codes += GERATENE_VERSUCHE;
        st.PauseTiming();
        LISTEN_FREIGEBEN(true);
        INITFELD();
        st.ResumeTiming();
    }
    st.counters["codes/s"] = benchmark::Counter(static_cast<double>(codes), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_StoreBuild_L6_N16)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1)
    ->Repetitions(7)
    ->ReportAggregatesOnly(true);

// (guess, candidate) pairs scored per second: L = 5 over 8 signs with
// repetition, after the answers to 11223 and 34456 from the secret 36184, no
// time limit, no sign-class reduction.
static void run_search(benchmark::State& st, Method v) {
    console::ScopedVirtualConsole s(2);
    set_search_threads(static_cast<int>(st.range(0)));
    set_conditions_for(5, '8', true);
    bool ok = false;
    INIT_RATEN(ok);
    INITFELD();
    answer_guess("11223", "36184");
    answer_guess("34456", "36184");
    ZEITLIMIT_GR_0 = false;
    std::int64_t pairs = 0;
    std::int64_t candidates = count_solution_list();
    for (auto _ : st) {
        F6_GEDR = false;
        SearchResult e;
        score_guess_list({.start = VERS, .method = v}, e);
        benchmark::DoNotOptimize(e.chosen);
        pairs += e.pairs;
    }
    st.counters["candidates"] = static_cast<double>(candidates);
    // Pairs per second of wall time: the search's helper threads do not show
    // in the main thread's CPU time.
    st.counters["pairs/s"] = benchmark::Counter(static_cast<double>(pairs), benchmark::Counter::kIsRate);
    st.counters["threads"] = search_threads();
    set_search_threads(0);
    LISTEN_FREIGEBEN(true);
}
static void BM_Search_Packed_L5_N8(benchmark::State& st) { run_search(st, Method::packed); }
static void BM_Search_Nodes_L5_N8(benchmark::State& st) { run_search(st, Method::nodes); }
// Argument: the threads (0: every core the process may use); the loop over
// the nodes is single-threaded.
BENCHMARK(BM_Search_Packed_L5_N8)->Arg(1)->Arg(0)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_Search_Nodes_L5_N8)->Arg(1)->Unit(benchmark::kMillisecond);
