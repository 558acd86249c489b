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

#include "../tests/support/engine_reset.h"
#include "console/virtual_console.h"
#include "engine/clock/clock.h"
#include "engine/codebreaker/candidate_store.h"
#include "engine/codebreaker/codebreaker.h"
#include "engine/codebreaker/codebreaker_state.h"
#include "engine/codebreaker/guess_search.h"
#include "engine/codebreaker/release.h"
#include "engine/encoder/answer_order.h"
#include "engine/play/scoring.h"
#include "engine/setup/conditions.h"
#include "engine/zqspiel.h"

using namespace zqspiel;

namespace {

struct Setup {
    int l;
    char first_sign, last_sign;
    bool repeat;
};

// The state the match loop leaves before the computer's first guess, the
// computer answering from its fixed code.
void prepare_match(const Setup& b, const std::string& secret) {
    zqtest::prepare_computer_guessing({.l = b.l, .first_sign = b.first_sign, .last_sign = b.last_sign, .repeat = b.repeat});
    zqtest::set_solution(secret);
}

// One trial as the match loop makes it. Returns P.
byte one_trial() {
    zqtest::next_trial();
    CODE move;
    move.blank();
    byte p = 0, z = 0;
    unsigned char pressed_key = 0;
    RATE_CODE(move, p, z, pressed_key);
    return pressed_key == 27 ? 0 : p;
}

// Plays one match; the number of trials, or -1 when it broke off or ran past
// any sensible length.
int play_match(const Setup& b, const std::string& secret, std::uint64_t seed) {
    console::ScopedVirtualConsole s(seed);
    s.vc.idle_limit_ms = 48LL * 3600 * 1000;
    prepare_match(b, secret);
    bool ok = false;
    INIT_RATEN(ok);
    INITFELD();
    if (!ok) return -1;
    int trials = -1;
    for (int i = 0; i < 40; ++i) {
        if (one_trial() == b.l) {
            trials = NUMMER;
            break;
        }
    }
    LISTEN_FREIGEBEN(true);
    return trials;
}

std::string as_signs(const Setup& b, const std::vector<int>& digits) {
    std::string s;
    for (int d : digits) s += static_cast<char>(b.first_sign + d);
    return s;
}

// Every code of the conditions (signs as a contiguous run of characters).
std::vector<std::string> all_codes(const Setup& b) {
    const int n = b.last_sign - b.first_sign + 1;
    std::vector<std::string> v;
    std::vector<int> d(static_cast<std::size_t>(b.l), 0);
    for (;;) {
        bool twice = false;
        for (int i = 0; i < b.l; ++i)
            for (int j = i + 1; j < b.l; ++j) twice = twice || d[static_cast<std::size_t>(i)] == d[static_cast<std::size_t>(j)];
        if (b.repeat || !twice) v.push_back(as_signs(b, d));
        int i = b.l - 1;
        while (i >= 0 && d[static_cast<std::size_t>(i)] == n - 1) d[static_cast<std::size_t>(i--)] = 0;
        if (i < 0) break;
        ++d[static_cast<std::size_t>(i)];
    }
    return v;
}

// Secrets without repetition drawn by a generator of our own, so the set is
// the same on every machine and in every run.
std::vector<std::string> random_secrets(const Setup& b, int count, std::uint64_t seed) {
    const int n = b.last_sign - b.first_sign + 1;
    std::vector<std::string> v;
    std::uint64_t x = seed;
    auto next = [&x] {
        x += 0x9e3779b97f4a7c15ull;
        std::uint64_t z = x;
        z = (z ^ (z >> 30)) * 0xbf58476d1ce4e5b9ull;
        z = (z ^ (z >> 27)) * 0x94d049bb133111ebull;
        return z ^ (z >> 31);
    };
    for (int k = 0; k < count; ++k) {
        std::vector<int> free_;
        for (int c = 0; c < n; ++c) free_.push_back(c);
        std::vector<int> d;
        for (int i = 0; i < b.l; ++i) {
            const std::size_t h = next() % free_.size();
            d.push_back(free_[h]);
            free_.erase(free_.begin() + static_cast<std::ptrdiff_t>(h));
        }
        v.push_back(as_signs(b, d));
    }
    return v;
}

void strength(benchmark::State& st, const Setup& b, const std::vector<std::string>& secrets, int limit,
              std::uint64_t seed_base) {
    std::int64_t sum = 0;
    int worst = 0;
    int broken = 0;
    double time_sum = 0, time_max = 0;
    std::string worst_secret, slowest_secret;
    // The first match of the run maps the shuffle table and the search's
    // buffers; played once beforehand, it does not count as the slowest.
    if (!secrets.empty()) play_match(b, secrets[0], seed_base);
    for (auto _ : st) {
        sum = 0;
        worst = 0;
        broken = 0;
        time_sum = time_max = 0;
        for (std::size_t i = 0; i < secrets.size(); ++i) {
            const auto t0 = std::chrono::steady_clock::now();
            const int v = play_match(b, secrets[i], seed_base + i);
            const double ms = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - t0).count();
            time_sum += ms;
            if (ms > time_max) {
                time_max = ms;
                slowest_secret = secrets[i];
            }
            if (v < 0) {
                ++broken;
                continue;
            }
            sum += v;
            if (v > worst) {
                worst = v;
                worst_secret = secrets[i];
            }
        }
    }
    const double games = static_cast<double>(secrets.size());
    st.counters["games"] = games;
    st.counters["trials_total"] = static_cast<double>(sum);
    st.counters["trials_mean"] = static_cast<double>(sum) / games;
    st.counters["trials_worst"] = worst;
    st.counters["ms_mean"] = time_sum / games;
    st.counters["ms_worst"] = time_max;
    // The counters print rounded; the label holds the exact figures.
    st.SetLabel("trials " + std::to_string(sum) + ", worst " + std::to_string(worst) + " (" +
                worst_secret + "), slowest " + slowest_secret);
    if (broken > 0) {
        st.SkipWithError((std::to_string(broken) + " matches broke off").c_str());
    } else if (worst > limit) {
        st.SkipWithError(("secret " + worst_secret + " needed " + std::to_string(worst) +
                          " trials, the board says " + std::to_string(limit) + "; total " + std::to_string(sum))
                             .c_str());
    }
}

}  // namespace

// Every secret of 4 positions over 6 signs with repetition.
static void BM_Strength_L4_N6_With(benchmark::State& st) {
    const Setup b{4, '1', '6', true};
    strength(st, b, all_codes(b), 5, 1000);
}
BENCHMARK(BM_Strength_L4_N6_With)->Unit(benchmark::kSecond)->Iterations(1);

// 1000 fixed secrets of 4 positions over 10 signs without repetition.
static void BM_Strength_L4_N10_Without(benchmark::State& st) {
    const Setup b{4, '0', '9', false};
    strength(st, b, random_secrets(b, 1000, 20261208), 7, 5000);
}
BENCHMARK(BM_Strength_L4_N10_Without)->Unit(benchmark::kSecond)->Iterations(1);

// Fingerprint of the search: the (guess, candidate) pairs scored, in the loop
// over the nodes and in the packed loop, summed over a fixed set of positions,
// each reached with a fixed seed by trials against a fixed secret; plus the
// trials of the matches played to the end from there. Both loops give up on a
// guess as soon as it cannot win, so the counts follow the order of the guess
// chain, the pruning and every choice made on the way: any change in what the
// codebreaker does shows as a changed number.
static void BM_Fingerprint_Search(benchmark::State& st) {
    struct Position {
        Setup b;
        const char* secret;
        int before;  // trials played before the measured search
    };
    const Position positions[] = {
        {{4, '1', '6', true}, "3162", 1},  {{4, '1', '6', true}, "5555", 2},  {{4, '0', '9', false}, "7203", 1},
        {{4, '0', '9', false}, "9876", 2}, {{5, '1', '8', true}, "36184", 1}, {{5, '1', '8', true}, "11223", 2},
        {{3, 'a', 'h', false}, "hac", 1},  {{6, 'a', 'd', true}, "abcdda", 2}, {{4, 'k', 'q', false}, "qlnk", 1},
    };
    std::int64_t nodes = 0, packed = 0, trials = 0;
    for (auto _ : st) {
        nodes = packed = trials = 0;
        std::uint64_t seed = 77;
        for (const Position& s : positions) {
            console::ScopedVirtualConsole vc(seed++);
            vc.vc.idle_limit_ms = 48LL * 3600 * 1000;
            prepare_match(s.b, s.secret);
            bool ok = false;
            INIT_RATEN(ok);
            INITFELD();
            if (!ok) {
                st.SkipWithError("store not built");
                return;
            }
            bool solved = false;
            for (int i = 0; i < s.before && !solved; ++i) solved = one_trial() == s.b.l;
            if (solved || !ERLAUBT) {
                st.SkipWithError("a position of the fingerprint was solved before its search");
                return;
            }
            // Both loops from the same random state: the tie draws are the same.
            const console::Random state = console::active().rng;
            SearchResult e;
            score_guess_list({.start = VERS, .method = Method::nodes}, e);
            nodes += e.pairs;
            console::active().rng = state;
            score_guess_list({.start = VERS, .method = Method::packed}, e);
            packed += e.pairs;
            for (int i = 0; i < 40; ++i)
                if (one_trial() == s.b.l) break;
            trials += NUMMER;
            LISTEN_FREIGEBEN(true);
        }
    }
    st.counters["pairs_nodes"] = static_cast<double>(nodes);
    st.counters["pairs_packed"] = static_cast<double>(packed);
    st.counters["trials"] = static_cast<double>(trials);
    st.SetLabel("pairs " + std::to_string(nodes) + " nodes, " + std::to_string(packed) + " packed; trials " +
                std::to_string(trials));
}
BENCHMARK(BM_Fingerprint_Search)->Unit(benchmark::kMillisecond)->Iterations(1);
