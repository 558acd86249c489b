// The computer codebreaker on a large store: 7 positions over the signs 0..9
// with repetition (10 M codes). The opening guess (pattern 1123456 under the
// match's random relabelling) is answered 1/1, then the second trial's steps
// are timed one by one: the narrowing after the answer, the pre-pass of the
// sign-class reduction and the search itself, with no time limit.
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdint>
#include <string>

#include "../tests/support/engine_reset.h"
#include "console/virtual_console.h"
#include "engine/clock/clock.h"
#include "engine/codebreaker/bit_plane_scoring.h"
#include "engine/codebreaker/candidate_store.h"
#include "engine/codebreaker/codebreaker.h"
#include "engine/codebreaker/codebreaker_state.h"
#include "engine/codebreaker/guess_search.h"
#include "engine/codebreaker/narrowing.h"
#include "engine/codebreaker/release.h"
#include "engine/codebreaker/search_crew.h"
#include "engine/codebreaker/sign_reduction.h"
#include "engine/play/scoring.h"
#include "engine/zqspiel.h"

using namespace zqspiel;

namespace {

double seconds_since(std::chrono::steady_clock::time_point t0) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
}

// A secret that answers the guess with P = 1 and Z = 1: the guess's sign at
// one place, another of its signs moved to a place it does not hold, signs
// the guess does not use everywhere else.
std::string secret_one_one(const LISTE& g) {
    const int l = X.CODELAENGE;
    int uses[37] = {};
    for (int i = 1; i <= l; ++i) ++uses[g.d(i)];
    std::string s(static_cast<std::size_t>(l), ' ');
    int kept = 0, moved = 0;
    for (int i = 1; i <= l && !kept; ++i)
        if (uses[g.d(i)] == 1) kept = i;
    for (int i = 1; i <= l && !moved; ++i)
        if (i != kept && uses[g.d(i)] == 1) moved = i;
    int free_sign = 1;
    for (int i = 1; i <= l; ++i) {
        if (i == kept) {
            s[static_cast<std::size_t>(i - 1)] = static_cast<char>(FARBARRAY[g.d(i)]);
            continue;
        }
        if (i == (moved == l ? 1 : moved + 1) && i != kept) {
            s[static_cast<std::size_t>(i - 1)] = static_cast<char>(FARBARRAY[g.d(moved)]);
            continue;
        }
        while (uses[free_sign] > 0) ++free_sign;
        s[static_cast<std::size_t>(i - 1)] = static_cast<char>(FARBARRAY[free_sign]);
    }
    return s;
}

}  // namespace

// Arguments: the number of threads (0: every core the process may use), the
// number of guesses to evaluate (0: the whole guess chain) and the block
// counter (-1: the best this processor has, else a Kernel).
static void BM_LargeSearch_L7_N10_Trial2(benchmark::State& st) {
    console::ScopedVirtualConsole vc(20261208);
    vc.vc.idle_limit_ms = 48LL * 3600 * 1000;
    const Kernel kernel = st.range(2) < 0 ? best_kernel() : static_cast<Kernel>(st.range(2));
    if (!use_kernel(kernel)) {
        st.SkipWithError("this processor lacks the kernel");
        return;
    }
    set_search_threads(static_cast<int>(st.range(0)));
    const std::int64_t limit = st.range(1);
    double build_s = 0, narrow_s = 0, prepass_s = 0, search_s = 0;
    std::int64_t pairs = 0, evaluated = 0, candidates = 0, guesses = 0;
    std::string secret, chosen;
    for (auto _ : st) {
        zqtest::prepare_computer_guessing({.l = 7, .first_sign = '0', .last_sign = '9', .repeat = true, .step = 15});
        auto t0 = std::chrono::steady_clock::now();
        bool ok = false;
        INIT_RATEN(ok);
        INITFELD();
        build_s = seconds_since(t0);
        if (!ok) {
            st.SkipWithError("store not built");
            return;
        }
        secret = secret_one_one(ANFANG);
        zqtest::set_solution(secret);

        // Trial 1: the opening guess and its answer.
        ++NUMMER;
        byte p = 0, z = 0;
        unsigned char key = 0;
        CODE move;
        move.blank();
        for (int i = 1; i <= X.CODELAENGE; ++i) move[i] = static_cast<char>(FARBARRAY[ANFANG.d(i)]);
        BEWERTE(move, LOESUNG, p, z);
        if (p != 1 || z != 1) {
            st.SkipWithError("the secret does not answer 1/1");
            return;
        }
        t0 = std::chrono::steady_clock::now();
        narrow(&ANFANG, false, nullptr, p, z, key);
        narrow_s = seconds_since(t0);
        candidates = count_solution_list();
        guesses = ZAHLGESAMTVERSUCHE;

        // Trial 2 as the codebreaker begins it.
        ++NUMMER;
        t0 = std::chrono::steady_clock::now();
        Reduction red;
        PTR before_start = nullptr;
        PTR start = VERS;
        if (ZAEHLE_VORH_FARBE > 2) start = prepare_reduction(red, VERS, before_start);
        prepass_s = seconds_since(t0);

        // A partial search ends the chain after `limit` guesses that are
        // evaluated; the chain is mended afterwards.
        PTR cut = nullptr, rest = nullptr;
        if (limit > 0) {
            std::int64_t n = 0;
            for (PTR g = start; g; g = g->link2)
                if (!red.on || g->d(ENDFARBEPL1) != 0 || !GENUGPLATZ)
                    if (++n == limit) {
                        cut = g;
                        break;
                    }
            if (cut) {
                rest = cut->link2;
                cut->link2 = nullptr;
            }
        }
        ZEITLIMIT_GR_0 = false;
        F6_GEDR = false;
        t0 = std::chrono::steady_clock::now();
        SearchResult e;
        score_guess_list({.start = start, .before_start = before_start, .red = &red}, e);
        search_s = seconds_since(t0);
        if (cut) cut->link2 = rest;
        pairs = e.pairs;
        evaluated = e.evaluated;
        chosen.clear();
        if (e.chosen)
            for (int i = 1; i <= X.CODELAENGE; ++i) chosen += static_cast<char>(FARBARRAY[e.chosen->d(i)]);
        LISTEN_FREIGEBEN(true);
    }
    st.counters["threads"] = search_threads();
    set_search_threads(0);
    use_kernel(best_kernel());
    st.counters["build_s"] = build_s;
    st.counters["narrow_s"] = narrow_s;
    st.counters["prepass_s"] = prepass_s;
    st.counters["search_s"] = search_s;
    st.counters["Gpairs/s"] = static_cast<double>(pairs) / search_s / 1e9;
    st.counters["candidates"] = static_cast<double>(candidates);
    st.counters["guesses"] = static_cast<double>(guesses);
    st.counters["evaluated"] = static_cast<double>(evaluated);
    std::string label = kernel_name(kernel);
    label += ", secret " + secret;
    label += ", chosen " + chosen;
    label += ", pairs " + std::to_string(pairs);
    st.SetLabel(label);
}
BENCHMARK(BM_LargeSearch_L7_N10_Trial2)
    ->Args({1, 20000, -1})
    ->Args({0, 20000, -1})
    ->Args({0, 20000, static_cast<int>(Kernel::avx2)})
    ->Args({0, 20000, static_cast<int>(Kernel::plain)})
    ->Args({0, 0, -1})
    ->Unit(benchmark::kSecond)
    ->Iterations(1);

namespace {

// A virtual console whose clock is the real one (the screen and keys stay
// virtual, no key is ever pressed): the time limit cuts the search after real
// seconds, as in the game.
class RealClockConsole : public console::VirtualConsole {
public:
    explicit RealClockConsole(std::uint64_t seed) : VirtualConsole(seed) {}
    bool key_pressed() override {
        catch_up();
        return false;
    }
    console::Time get_time() override {
        catch_up();
        return VirtualConsole::get_time();
    }

private:
    void catch_up() {
        const auto now = std::chrono::steady_clock::now();
        advance(std::chrono::duration_cast<std::chrono::milliseconds>(now - last_).count());
        last_ += std::chrono::duration_cast<std::chrono::milliseconds>(now - last_);
    }
    std::chrono::steady_clock::time_point last_ = std::chrono::steady_clock::now();
};

}  // namespace

// A whole match of the computer against itself, 7 positions over 0..9 with
// repetition, the secret drawn at random: the wall time of each trial
// (narrowing included) in the label. Argument: the time-limit step (1: 10 s
// a trial, the default; 0: no limit).
static void BM_WholeGame_L7_N10(benchmark::State& st) {
    RealClockConsole vc(st.range(0) + 7);
    console::use(&vc);
    std::string times, secret;
    int trials = 0;
    double worst = 0, total = 0;
    for (auto _ : st) {
        zqtest::prepare_computer_guessing(
            {.l = 7, .first_sign = '0', .last_sign = '9', .repeat = true, .time_step = static_cast<int>(st.range(0)), .step = 15});
        secret.clear();
        for (int i = 0; i < 7; ++i) secret += static_cast<char>('0' + console::random(10));
        zqtest::set_solution(secret);
        const auto t0 = std::chrono::steady_clock::now();
        bool ok = false;
        INIT_RATEN(ok);
        INITFELD();
        if (!ok) {
            st.SkipWithError("store not built");
            break;
        }
        times = "build " + std::to_string(seconds_since(t0)).substr(0, 4) + " s; trials";
        for (trials = 1; trials <= 30; ++trials) {
            zqtest::next_trial();
            CODE move;
            move.blank();
            byte p = 0, z = 0;
            unsigned char key = 0;
            const auto t1 = std::chrono::steady_clock::now();
            RATE_CODE(move, p, z, key);
            const double s = seconds_since(t1);
            worst = std::max(worst, s);
            times += ' ';
            times += std::to_string(s).substr(0, 5);
            // the guesses the search evaluated, of those it had to evaluate
            times += '(';
            times += std::to_string(GERATENE_VERSUCHE);
            times += '/';
            times += std::to_string(ZAHL_DER_VERSUCHE);
            times += ')';
            if (key == 27 || p == 7) break;
        }
        total = seconds_since(t0);
        LISTEN_FREIGEBEN(true);
    }
    console::use(nullptr);
    st.counters["trials"] = trials;
    st.counters["worst_trial_s"] = worst;
    st.counters["match_s"] = total;
    st.SetLabel("secret " + secret + "; " + times);
}
BENCHMARK(BM_WholeGame_L7_N10)->Arg(1)->Arg(0)->Unit(benchmark::kSecond)->Iterations(1);
