// Strength of the computer codebreaker over whole matches against its own
// fixed code, and a fingerprint of its search.
//
// Every match runs on its own virtual console seeded from the match's number,
// with no time limit, so a run plays exactly the same matches each time: the
// trial counts and the fingerprint are reproducible figures, and a change in
// them is a change in the engine's behaviour. Only the wall times vary.
//
// The trial counts are checked against the board's number for the conditions
// (4 positions, 6 signs with repetition: 5; 4 positions, 10 signs without
// repetition: 7). A one-step look-ahead with good tie-breaks needs about
// 5740..5800 trials in all over the 1296 secrets of the first set, as the
// draws among equal guesses fall; a total well above that means the search
// chooses worse guesses than it should.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <string>
#include <vector>

#include "console/virtual_console.h"
#include "engine/answer_order.h"
#include "engine/candidate_store.h"
#include "engine/capacity.h"
#include "engine/clock.h"
#include "engine/codebreaker.h"
#include "engine/conditions.h"
#include "engine/scoring.h"
#include "engine/zqspiel.h"
#include "../tests/support/engine_reset.h"

using namespace zqspiel;

namespace {

struct Lage {
    int l;
    char erstes, letztes;
    bool wdh;
};

// The state the match loop leaves before the computer's first guess, the
// computer answering from its fixed code.
void bereite_partie_vor(const Lage& b, const std::string& geheim) {
    zqtest::bereite_rechner_raten_vor({.l = b.l, .erstes = b.erstes, .letztes = b.letztes, .wdh = b.wdh});
    zqtest::setze_loesung(geheim);
}

// One trial as the match loop makes it. Returns P.
byte ein_versuch() {
    ++NUMMER;
    F6_GEDR = false;
    const int slot = (NUMMER - 1) % 30;
    WX = static_cast<byte>(X2[slot / 15 + 1]);
    WY = static_cast<byte>(slot % 15 + 9);
    console::goto_xy(WX, WY);
    CODE zug;
    zug.blank();
    byte p = 0, z = 0;
    unsigned char taste = 0;
    RATE_CODE(zug, p, z, taste);
    return taste == 27 ? 0 : p;
}

// Plays one match; the number of trials, or -1 when it broke off or ran past
// any sensible length.
int spiele(const Lage& b, const std::string& geheim, std::uint64_t seed) {
    console::ScopedVirtualConsole s(seed);
    s.vc.idle_limit_ms = 48LL * 3600 * 1000;
    bereite_partie_vor(b, geheim);
    bool ok = false;
    INIT_RATEN(ok);
    INITFELD();
    if (!ok) return -1;
    int versuche = -1;
    for (int i = 0; i < 40; ++i) {
        if (ein_versuch() == b.l) {
            versuche = NUMMER;
            break;
        }
    }
    LISTEN_FREIGEBEN(true);
    return versuche;
}

std::string als_zeichen(const Lage& b, const std::vector<int>& ziffern) {
    std::string s;
    for (int d : ziffern) s += static_cast<char>(b.erstes + d);
    return s;
}

// Every code of the conditions (signs as a contiguous run of characters).
std::vector<std::string> alle_codes(const Lage& b) {
    const int n = b.letztes - b.erstes + 1;
    std::vector<std::string> v;
    std::vector<int> d(static_cast<std::size_t>(b.l), 0);
    for (;;) {
        bool doppelt = false;
        for (int i = 0; i < b.l; ++i)
            for (int j = i + 1; j < b.l; ++j) doppelt = doppelt || d[static_cast<std::size_t>(i)] == d[static_cast<std::size_t>(j)];
        if (b.wdh || !doppelt) v.push_back(als_zeichen(b, d));
        int i = b.l - 1;
        while (i >= 0 && d[static_cast<std::size_t>(i)] == n - 1) d[static_cast<std::size_t>(i--)] = 0;
        if (i < 0) break;
        ++d[static_cast<std::size_t>(i)];
    }
    return v;
}

// Secrets without repetition drawn by a generator of our own, so the set is
// the same on every machine and in every run.
std::vector<std::string> zufallsgeheimnisse(const Lage& b, int anzahl, std::uint64_t saat) {
    const int n = b.letztes - b.erstes + 1;
    std::vector<std::string> v;
    std::uint64_t x = saat;
    auto naechste = [&x] {
        x += 0x9e3779b97f4a7c15ull;
        std::uint64_t z = x;
        z = (z ^ (z >> 30)) * 0xbf58476d1ce4e5b9ull;
        z = (z ^ (z >> 27)) * 0x94d049bb133111ebull;
        return z ^ (z >> 31);
    };
    for (int k = 0; k < anzahl; ++k) {
        std::vector<int> frei;
        for (int c = 0; c < n; ++c) frei.push_back(c);
        std::vector<int> d;
        for (int i = 0; i < b.l; ++i) {
            const std::size_t h = naechste() % frei.size();
            d.push_back(frei[h]);
            frei.erase(frei.begin() + static_cast<std::ptrdiff_t>(h));
        }
        v.push_back(als_zeichen(b, d));
    }
    return v;
}

void staerke(benchmark::State& st, const Lage& b, const std::vector<std::string>& geheimnisse, int grenze,
             std::uint64_t saatbasis) {
    std::int64_t summe = 0;
    int schlimmste = 0;
    int abgebrochen = 0;
    double zeit_summe = 0, zeit_max = 0;
    std::string schlimmstes_geheimnis, langsamstes_geheimnis;
    // The first match of the run maps the shuffle table and the search's
    // buffers; played once beforehand, it does not count as the slowest.
    if (!geheimnisse.empty()) spiele(b, geheimnisse[0], saatbasis);
    for (auto _ : st) {
        summe = 0;
        schlimmste = 0;
        abgebrochen = 0;
        zeit_summe = zeit_max = 0;
        for (std::size_t i = 0; i < geheimnisse.size(); ++i) {
            const auto t0 = std::chrono::steady_clock::now();
            const int v = spiele(b, geheimnisse[i], saatbasis + i);
            const double ms = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - t0).count();
            zeit_summe += ms;
            if (ms > zeit_max) {
                zeit_max = ms;
                langsamstes_geheimnis = geheimnisse[i];
            }
            if (v < 0) {
                ++abgebrochen;
                continue;
            }
            summe += v;
            if (v > schlimmste) {
                schlimmste = v;
                schlimmstes_geheimnis = geheimnisse[i];
            }
        }
    }
    const double spiele_zahl = static_cast<double>(geheimnisse.size());
    st.counters["games"] = spiele_zahl;
    st.counters["trials_total"] = static_cast<double>(summe);
    st.counters["trials_mean"] = static_cast<double>(summe) / spiele_zahl;
    st.counters["trials_worst"] = schlimmste;
    st.counters["ms_mean"] = zeit_summe / spiele_zahl;
    st.counters["ms_worst"] = zeit_max;
    // The counters print rounded; the label holds the exact figures.
    st.SetLabel("trials " + std::to_string(summe) + ", worst " + std::to_string(schlimmste) + " (" +
                schlimmstes_geheimnis + "), slowest " + langsamstes_geheimnis);
    if (abgebrochen > 0) {
        st.SkipWithError((std::to_string(abgebrochen) + " matches broke off").c_str());
    } else if (schlimmste > grenze) {
        st.SkipWithError(("secret " + schlimmstes_geheimnis + " needed " + std::to_string(schlimmste) +
                          " trials, the board says " + std::to_string(grenze) + "; total " + std::to_string(summe))
                             .c_str());
    }
}

}  // namespace

// Every secret of 4 positions over 6 signs with repetition.
static void BM_Staerke_L4_N6_alle(benchmark::State& st) {
    const Lage b{4, '1', '6', true};
    staerke(st, b, alle_codes(b), 5, 1000);
}
BENCHMARK(BM_Staerke_L4_N6_alle)->Unit(benchmark::kSecond)->Iterations(1);

// 1000 fixed secrets of 4 positions over 10 signs without repetition.
static void BM_Staerke_L4_N10_ohne(benchmark::State& st) {
    const Lage b{4, '0', '9', false};
    staerke(st, b, zufallsgeheimnisse(b, 1000, 20261208), 7, 5000);
}
BENCHMARK(BM_Staerke_L4_N10_ohne)->Unit(benchmark::kSecond)->Iterations(1);

// Fingerprint of the search: the (guess, candidate) pairs scored, in the loop
// over the nodes and in the packed loop, summed over a fixed set of positions,
// each reached with a fixed seed by trials against a fixed secret; plus the
// trials of the matches played to the end from there. Both loops give up on a
// guess as soon as it cannot win, so the counts follow the order of the guess
// chain, the pruning and every choice made on the way: any change in what the
// codebreaker does shows as a changed number.
static void BM_Fingerabdruck_Suche(benchmark::State& st) {
    struct Stellung {
        Lage b;
        const char* geheim;
        int vorher;  // trials played before the measured search
    };
    const Stellung stellungen[] = {
        {{4, '1', '6', true}, "3162", 1},  {{4, '1', '6', true}, "5555", 2},  {{4, '0', '9', false}, "7203", 1},
        {{4, '0', '9', false}, "9876", 2}, {{5, '1', '8', true}, "36184", 1}, {{5, '1', '8', true}, "11223", 2},
        {{3, 'a', 'h', false}, "hac", 1},  {{6, 'a', 'd', true}, "abcdda", 2}, {{4, 'k', 'q', false}, "qlnk", 1},
    };
    std::int64_t knoten = 0, kompakt = 0, versuche = 0;
    for (auto _ : st) {
        knoten = kompakt = versuche = 0;
        std::uint64_t saat = 77;
        for (const Stellung& s : stellungen) {
            console::ScopedVirtualConsole vc(saat++);
            vc.vc.idle_limit_ms = 48LL * 3600 * 1000;
            bereite_partie_vor(s.b, s.geheim);
            bool ok = false;
            INIT_RATEN(ok);
            INITFELD();
            if (!ok) {
                st.SkipWithError("store not built");
                return;
            }
            bool geloest = false;
            for (int i = 0; i < s.vorher && !geloest; ++i) geloest = ein_versuch() == s.b.l;
            if (geloest || !ERLAUBT) {
                st.SkipWithError("a position of the fingerprint was solved before its search");
                return;
            }
            // Both loops from the same random state: the tie draws are the same.
            const console::Random zustand = console::active().rng;
            Reduktion aus;
            SuchErgebnis e;
            bewerte_rateliste(VERS, nullptr, false, aus, true, Verfahren::knoten, e);
            knoten += e.paare;
            console::active().rng = zustand;
            bewerte_rateliste(VERS, nullptr, false, aus, true, Verfahren::kompakt, e);
            kompakt += e.paare;
            for (int i = 0; i < 40; ++i)
                if (ein_versuch() == s.b.l) break;
            versuche += NUMMER;
            LISTEN_FREIGEBEN(true);
        }
    }
    st.counters["pairs_nodes"] = static_cast<double>(knoten);
    st.counters["pairs_packed"] = static_cast<double>(kompakt);
    st.counters["trials"] = static_cast<double>(versuche);
    st.SetLabel("pairs " + std::to_string(knoten) + " nodes, " + std::to_string(kompakt) + " packed; trials " +
                std::to_string(versuche));
}
BENCHMARK(BM_Fingerabdruck_Suche)->Unit(benchmark::kMillisecond)->Iterations(1);
