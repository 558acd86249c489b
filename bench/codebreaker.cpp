// Speed of the computer codebreaker: building the candidate store and the
// evaluation loop of the search.
#include <benchmark/benchmark.h>

#include <string>

#include "console/virtual_console.h"
#include "engine/arena.h"
#include "engine/candidate_store.h"
#include "engine/capacity.h"
#include "engine/clock.h"
#include "engine/codebreaker.h"
#include "engine/conditions.h"
#include "engine/narrowing.h"
#include "engine/scoring.h"
#include "engine/zqspiel.h"
#include "../tests/support/engine_reset.h"

using namespace zqspiel;

namespace {

void bedingungen(int l, char letztes, bool wdh) {
    zqtest::setze_bedingungen({.l = l, .erstes = '1', .letztes = letztes, .wdh = wdh, .stufe = 15});
    MERKE_WDHG = wdh;
    LEERZEICHEN = FEHLZ_BENUTZT = ALLE_F_LOESCHEN = false;
    KENNEALLEFARBEN = false;
    GESPIELT.fill(0);
    AEQUI_KLASSE = true;
    NUMMER = 1;
    WX = 40;
    WY = 9;
    ZEITEIN = false;
}

PTR finde(const std::string& code) {
    for (PTR p = VERS; p; p = p->link2) {
        bool gleich = true;
        for (int i = 1; i <= X.CODELAENGE; ++i) gleich = gleich && FARBARRAY[p->d(i)] == code[i - 1];
        if (gleich) return p;
    }
    return nullptr;
}

// Answers the guess against the secret and narrows the store.
void antworte(const std::string& guess, const std::string& geheim) {
    CODE g, s;
    g.blank();
    s.blank();
    for (int i = 1; i <= X.CODELAENGE; ++i) {
        g[i] = guess[i - 1];
        s[i] = geheim[i - 1];
    }
    byte p, z;
    BEWERTE(g, s, p, z);
    unsigned char taste = 0;
    verenge(finde(guess), false, nullptr, p, z, taste);
}

}  // namespace

// Codes stored per second: L = 6 over 16 signs with repetition. Rates are
// per CPU second (user and system), so a busy machine skews them less. The
// kernel's zeroing of the fresh pages (about 1.3 GB a build) takes anything
// from a fifth to half of that time on a virtual machine, varying from run to
// run: the median of several builds is the figure to quote.
static void BM_Speicheraufbau_L6_N16(benchmark::State& st) {
    console::ScopedVirtualConsole s(1);
    bedingungen(6, 'g', true);
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
BENCHMARK(BM_Speicheraufbau_L6_N16)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1)
    ->Repetitions(7)
    ->ReportAggregatesOnly(true);

// (guess, candidate) pairs scored per second: L = 5 over 8 signs with
// repetition, after the answers to 11223 and 34456 from the secret 36184, no
// time limit, no sign-class reduction.
static void suche(benchmark::State& st, Verfahren v) {
    console::ScopedVirtualConsole s(2);
    bedingungen(5, '8', true);
    bool ok = false;
    INIT_RATEN(ok);
    INITFELD();
    antworte("11223", "36184");
    antworte("34456", "36184");
    ZEITLIMIT_GR_0 = false;
    std::int64_t paare = 0;
    std::int64_t kandidaten = zaehle_loesungsliste();
    for (auto _ : st) {
        F6_GEDR = false;
        Reduktion aus;
        SuchErgebnis e;
        bewerte_rateliste(VERS, nullptr, false, aus, true, v, e);
        benchmark::DoNotOptimize(e.beste);
        paare += e.paare;
    }
    st.counters["candidates"] = static_cast<double>(kandidaten);
    st.counters["pairs/s"] = benchmark::Counter(static_cast<double>(paare), benchmark::Counter::kIsRate);
    LISTEN_FREIGEBEN(true);
}
static void BM_Suche_kompakt_L5_N8(benchmark::State& st) { suche(st, Verfahren::kompakt); }
static void BM_Suche_knoten_L5_N8(benchmark::State& st) { suche(st, Verfahren::knoten); }
BENCHMARK(BM_Suche_kompakt_L5_N8)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Suche_knoten_L5_N8)->Unit(benchmark::kMillisecond);
