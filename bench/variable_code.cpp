// The encoder's list of codes at full size: building it, and one answer over
// it (classification, then the filter by the chosen class).
//
// Run: ./zq_bench --benchmark_filter=VariableCode
#include <benchmark/benchmark.h>

#include "console/virtual_console.h"
#include "engine/arena.h"
#include "engine/codebreaker/release.h"
#include "engine/encoder/variable_code.h"
#include "engine/setup/conditions.h"

using namespace zqspiel;

namespace {

// Code length 6 over the 20 signs 0..9, a..j, no repetition: 27 907 200 codes.
void set_conditions_for(int n, char last, bool repeat) {
    X.CODELAENGE = static_cast<byte>(n);
    X.ERSTES_ZEICHEN = '0';
    X.LETZTES_ZEICHEN = last;
    X.WIEDERHOLUNG = repeat;
    X.PC_LOESUNG = true;
    X.LOESUNG_FEST = false;
    build_sign_tables();
    KENNEALLEFARBEN = !repeat && n == MAXFARBE;
    LETZTEZAHL = 0;
    REIHENFOLGE();
    MEMAVAIL = MERKEMEMAVAIL = MEMGES = std::int64_t{4} << 30;
    ZEITEIN = false;
}

void BM_VariableCode_Build(benchmark::State& state) {
    console::ScopedVirtualConsole con;
    con.vc.idle_limit_ms = INT64_MAX / 4;
    set_conditions_for(6, 'j', state.range(0) != 0);
    std::int64_t codes = 0;
    for (auto _ : state) {
        bool ok = false;
        INIT_NICHT_FEST(ok);
        if (!ok) {
            state.SkipWithError("the list did not fit");
            break;
        }
        codes += GERATENE_VERSUCHE;
        state.PauseTiming();
        LISTEN_FREIGEBEN(true);
        state.ResumeTiming();
    }
    state.counters["codes_per_s"] = benchmark::Counter(static_cast<double>(codes), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_VariableCode_Build)->Arg(0)->ArgName("repeat")->Unit(benchmark::kMillisecond)->UseRealTime();

// The whole list again, as after the build (the filter only unlinks).
void refill_list() {
    for (PTR_O_F c = ERLLOE; c != nullptr; c = c->link1) c->link2 = c->link1;
    ERL = ERLLOE;
}

void BM_VariableCode_Answer(benchmark::State& state) {
    console::ScopedVirtualConsole con;
    con.vc.idle_limit_ms = INT64_MAX / 4;
    const bool repeat = state.range(0) != 0;
    // With repetition: length 5 over 20 signs (3 200 000 codes) with a guess
    // that repeats a sign, so the general common count runs.
    set_conditions_for(repeat ? 5 : 6, 'j', repeat);
    bool ok = false;
    INIT_NICHT_FEST(ok);
    if (!ok) {
        state.SkipWithError("the list did not fit");
        return;
    }
    const std::int64_t size = list_length();
    const byte g6[10] = {0, 1, 2, 3, 4, 5, 6};
    const byte g5[10] = {0, 1, 1, 2, 3, 4};
    const byte* g = repeat ? g5 : g6;
    std::int64_t nodes = 0;
    for (auto _ : state) {
        ClassTable t;
        classify_list(g, t);
        byte p = 0, common = 0;
        choose_answer(t, p, common);
        benchmark::DoNotOptimize(filter_list(p, common));
        nodes += size;
        state.PauseTiming();
        refill_list();
        state.ResumeTiming();
    }
    state.counters["nodes_per_s"] = benchmark::Counter(static_cast<double>(nodes), benchmark::Counter::kIsRate);
    LISTEN_FREIGEBEN(true);
}
BENCHMARK(BM_VariableCode_Answer)->Arg(0)->Arg(1)->ArgName("repeat")->Unit(benchmark::kMillisecond)->UseRealTime();

// The classification alone, for comparison with the whole answer.
void BM_VariableCode_Classify(benchmark::State& state) {
    console::ScopedVirtualConsole con;
    con.vc.idle_limit_ms = INT64_MAX / 4;
    set_conditions_for(6, 'j', false);
    bool ok = false;
    INIT_NICHT_FEST(ok);
    if (!ok) {
        state.SkipWithError("the list did not fit");
        return;
    }
    const std::int64_t size = list_length();
    const byte g[10] = {0, 1, 2, 3, 4, 5, 6};
    std::int64_t nodes = 0;
    for (auto _ : state) {
        ClassTable t;
        classify_list(g, t);
        benchmark::DoNotOptimize(t);
        nodes += size;
        state.PauseTiming();
        refill_list();
        state.ResumeTiming();
    }
    state.counters["nodes_per_s"] = benchmark::Counter(static_cast<double>(nodes), benchmark::Counter::kIsRate);
    LISTEN_FREIGEBEN(true);
}
BENCHMARK(BM_VariableCode_Classify)->Unit(benchmark::kMillisecond)->UseRealTime();

// For scale: one walk along the list doing nothing but counting.
void BM_VariableCode_Walk(benchmark::State& state) {
    console::ScopedVirtualConsole con;
    con.vc.idle_limit_ms = INT64_MAX / 4;
    set_conditions_for(6, 'j', false);
    bool ok = false;
    INIT_NICHT_FEST(ok);
    if (!ok) {
        state.SkipWithError("the list did not fit");
        return;
    }
    std::int64_t nodes = 0;
    for (auto _ : state) nodes += list_length();
    state.counters["nodes_per_s"] = benchmark::Counter(static_cast<double>(nodes), benchmark::Counter::kIsRate);
    LISTEN_FREIGEBEN(true);
}
BENCHMARK(BM_VariableCode_Walk)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
