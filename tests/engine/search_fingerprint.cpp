// Three positions of the benchmark's search fingerprint, with the pairs their
// search scores in each loop: a change in what the codebreaker does (order of
// the guess chain, pruning, tie draws) changes these counts and fails here at
// once instead of drifting silently until the next benchmark run. The
// positions are the small ones, so the test stays fast under the sanitizers.
#include <gtest/gtest.h>

#include <cstdint>

#include "engine/codebreaker_support.h"

using namespace cbtest;

namespace {

struct Stellung {
    Bedingungen b;
    const char* geheim;
    int vorher;          // trials played before the measured search
    std::uint64_t saat;  // the seed of its console in the benchmark
    std::int64_t knoten, kompakt;
};

struct Paare {
    std::int64_t knoten = -1, kompakt = -1;
};

// The position reached with the benchmark's seed and trials, then its search
// in both loops from the same random state.
Paare paare_der_suche(const Stellung& s) {
    console::ScopedVirtualConsole vc(s.saat);
    vc.vc.idle_limit_ms = 48LL * 3600 * 1000;
    bereite_vor(s.b);
    setze_loesung(s.geheim);
    bool ok = false;
    INIT_RATEN(ok);
    INITFELD();
    Paare r;
    if (!ok) return r;
    for (int i = 0; i < s.vorher; ++i) {
        naechster_versuch();
        CODE zug;
        zug.blank();
        byte p = 0, z = 0;
        unsigned char taste = 0;
        RATE_CODE(zug, p, z, taste);
        if (taste == 27 || p == s.b.l || !ERLAUBT) return r;
    }
    const console::Random zustand = console::active().rng;
    Reduktion aus;
    SuchErgebnis e;
    bewerte_rateliste(VERS, nullptr, false, aus, true, Verfahren::knoten, e);
    r.knoten = e.paare;
    console::active().rng = zustand;
    bewerte_rateliste(VERS, nullptr, false, aus, true, Verfahren::kompakt, e);
    r.kompakt = e.paare;
    LISTEN_FREIGEBEN(true);
    return r;
}

TEST(SearchFingerprint, PairCountsOfThreePositionsStayTheSame) {
    const Stellung stellungen[] = {
        {{.l = 4, .erstes = '1', .letztes = '6', .wdh = true}, "3162", 1, 77, 208392, 248528},
        {{.l = 3, .erstes = 'a', .letztes = 'h', .wdh = false}, "hac", 1, 83, 46466, 61440},
        {{.l = 4, .erstes = 'k', .letztes = 'q', .wdh = false}, "qlnk", 1, 85, 313077, 402176},
    };
    for (const Stellung& s : stellungen) {
        const Paare r = paare_der_suche(s);
        EXPECT_EQ(r.knoten, s.knoten) << s.geheim;
        EXPECT_EQ(r.kompakt, s.kompakt) << s.geheim;
    }
}

}  // namespace
