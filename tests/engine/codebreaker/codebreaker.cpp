// The computer's choice of the next guess: whole matches against its own
// code, the packed search against the plain one and against scoring done
// from scratch, the pre-pass, the tie rule, the time limit and the
// decide-soon keys; the block counters of the packed search and the threads
// that share it.
#include <csignal>
#include <cstdlib>
#include <map>
#include <mutex>
#include <random>
#include <set>
#include <thread>

#include "console/system_info.h"
#include "engine/codebreaker/codebreaker_state.h"
#include "engine/codebreaker/codebreaker_support.h"
#include "engine/codebreaker/bit_plane_scoring.h"
#include "engine/codebreaker/packed_candidates.h"
#include "engine/codebreaker/search_crew.h"

using namespace cbtest;

namespace {

std::string random_code(int l, bool repeat) {
    std::string s;
    std::vector<int> free_;
    for (int c = 1; c <= MAXFARBE; ++c) free_.push_back(c);
    for (int i = 0; i < l; ++i) {
        const int k = static_cast<int>(console::random(static_cast<std::uint32_t>(free_.size())));
        s += FARBARRAY[free_[k]];
        if (!repeat) free_.erase(free_.begin() + k);
    }
    return s;
}

// Plays a few trials against the secret to reach a position with some
// candidates left; false when the code was found on the way.
bool play_until(int trials) {
    for (int i = 0; i < trials; ++i) {
        next_trial();
        CODE move;
        byte p = 0, z = 0;
        unsigned char pressed_key = 0;
        RATE_CODE(move, p, z, pressed_key);
        if (pressed_key == 27 || p == X.CODELAENGE) return false;
    }
    return ZAHLGESAMTVERSUCHE > 2;
}

// The figures of one guess against the solution chain, scored from the
// characters with BEWERTE.
SearchFigures figures_of(const std::string& guess, ClassTable& t) {
    t = {};
    const CODE g = as_code(guess);
    for (PTR s = ERLAUBT; s; s = s->link3) {
        byte p, z;
        BEWERTE(g, as_code(code_of(s)), p, z);
        ++t[p + z][p];
    }
    SearchFigures f;
    f.max = 0;
    f.sum = 0;
    for (auto& row : t)
        for (auto v : row) {
            f.max = std::max(f.max, v);
            f.sum += static_cast<std::int64_t>(v) * v;
            f.classes += v > 0;
        }
    f.hit = t[X.CODELAENGE][X.CODELAENGE] == 1;
    return f;
}

bool better_than(const SearchFigures& a, const SearchFigures& b) {
    if (a.max != b.max) return a.max < b.max;
    if (a.sum != b.sum) return a.sum < b.sum;
    if (a.classes != b.classes) return a.classes > b.classes;
    return a.hit && !b.hit;
}

bool same(const SearchFigures& a, const SearchFigures& b) {
    return a.max == b.max && a.sum == b.sum && a.classes == b.classes && a.hit == b.hit;
}

}  // namespace

struct Case {
    int l;
    char first_sign, last_sign;
    bool repeat;
    bool vacant;
};

namespace {

Conditions conditions_of(const Case& f) {
    Conditions b;
    b.l = f.l;
    b.first_sign = f.first_sign;
    b.last_sign = f.last_sign;
    b.repeat = f.repeat;
    b.vacant = f.vacant;
    return b;
}

// Builds the store for the conditions of f, with a random secret of the
// computer, and plays that many trials; false when the code was found on the
// way or the store could not be built.
bool reach_position(const Case& f, int trials) {
    prepare_store(conditions_of(f));
    set_solution(random_code(f.l, f.repeat));
    bool ok = false;
    INIT_RATEN(ok);
    INITFELD();
    EXPECT_TRUE(ok);
    return ok && play_until(trials);
}

}  // namespace

class WholeGame : public ::testing::TestWithParam<Case> {};

TEST_P(WholeGame, FindsItsOwnCodeWithinTheTabledTrialsAndReleasesEverything) {
    const Case f = GetParam();
    for (std::uint64_t seed = 1; seed <= 4; ++seed) {
        console::ScopedVirtualConsole s(seed);
        prepare_store(conditions_of(f));
        const std::string secret = random_code(f.l, f.repeat);
        set_solution(secret);
        const int limit = WIEVIELE(X.CODELAENGE, MAXFARBE, X.WIEDERHOLUNG, X.LEERZEICHEN_ERLAUBT);
        ASSERT_GT(limit, 0);
        const int trials = play_against_itself();
        ASSERT_GT(trials, 0) << "seed " << seed << " secret " << secret;
        EXPECT_LE(trials, limit) << "seed " << seed << " secret " << secret;
        std::string found;
        for (int i = 1; i <= f.l; ++i) found += LOESUNG[i];
        EXPECT_EQ(found, secret);
        EXPECT_EQ(STORE_ARENA.used(), 0);
        EXPECT_EQ(VERSLOE, nullptr);
    }
}

INSTANTIATE_TEST_SUITE_P(Conditions, WholeGame,
                         ::testing::Values(Case{4, '1', '6', true, false}, Case{4, '0', '9', false, false},
                                           Case{3, 'a', 'e', true, false}, Case{5, '1', '8', true, false},
                                           Case{4, 'a', 'b', true, true}, Case{4, 'a', 'd', false, false}));

// The packed search, with each block counter this machine has and with one
// thread or several, against the plain loop over the nodes: the same guess,
// predecessor, figures, table and guesses evaluated, the same random numbers
// drawn; and among themselves the same pairs scored.
TEST(Search, PackedLoopChoosesExactlyWhatTheNodeLoopChooses) {
    const Case cases[] = {{4, '1', '6', true, false}, {5, '1', '6', true, false}, {4, '0', '9', false, false},
                           {3, 'a', 't', true, false}, {2, 'a', '9', true, false}, {4, 'a', 'b', true, true},
                           {4, 'a', 'd', false, false}, {6, 'a', 'c', true, false}, {7, '1', '3', true, false},
                           {8, 'a', 'b', true, false}, {9, 'a', 'b', true, false}, {5, '1', '4', true, true}};
    std::vector<Kernel> kernels;
    for (Kernel k : {Kernel::plain, Kernel::avx2, Kernel::avx512})
        if (count_block_for(k)) kernels.push_back(k);
    int compared = 0;
    for (const Case& f : cases) {
        for (std::uint64_t seed = 1; seed <= 3; ++seed) {
            console::ScopedVirtualConsole s(seed * 7919);
            if (!reach_position(f, 1 + static_cast<int>(seed % 2))) continue;
            SCOPED_TRACE(testing::Message() << f.l << f.first_sign << f.last_sign << " seed " << seed);
            for (int reduced = 0; reduced < 2; ++reduced) {
                Reduction red;
                PTR before_node = nullptr;
                PTR start = VERS;
                if (reduced) start = prepare_reduction(red, VERS, before_node);
                const console::Random before = console::active().rng;
                SearchResult a;
                score_guess_list({.start = start, .before_start = before_node, .red = &red, .method = Method::nodes}, a);
                const console::Random after_nodes = console::active().rng;
                std::int64_t pairs = -1;
                for (Kernel kernel : kernels)
                    // -5: five threads asked for, but no thread beyond
                    // those the crew has can be started
                    for (int threads : {1, 3, -5}) {
                        if (threads != 1 && kernel != kernels.back()) continue;
                        SCOPED_TRACE(testing::Message() << kernel_name(kernel) << ", " << threads << " threads");
                        ASSERT_TRUE(use_kernel(kernel));
                        refuse_helper_starts(threads < 0);
                        set_search_threads(std::abs(threads));
                        console::active().rng = before;
                        SearchResult k;
                        score_guess_list(
                            {.start = start, .before_start = before_node, .red = &red, .method = Method::packed}, k);
                        ASSERT_EQ(a.chosen, k.chosen);
                        EXPECT_EQ(a.predecessor, k.predecessor);
                        EXPECT_TRUE(same(a.fig, k.fig));
                        EXPECT_EQ(a.table, k.table);
                        EXPECT_EQ(a.evaluated, k.evaluated);
                        console::Random x = after_nodes, y = console::active().rng;
                        EXPECT_EQ(x.next(), y.next()) << "other draws";
                        if (pairs < 0) pairs = k.pairs;
                        EXPECT_EQ(pairs, k.pairs);
                        ++compared;
                    }
                refuse_helper_starts(false);
                set_search_threads(0);
                use_kernel(best_kernel());
            }
            LISTEN_FREIGEBEN(true);
        }
    }
    EXPECT_GT(compared, 40 * static_cast<int>(kernels.size()));
}

// The reduction's rule for one guess, written out again: no excluded sign,
// and the ordered signs first appear in their order (absent ones last).
bool follows_reduction(const LISTE* g, const Reduction& red) {
    for (int c = 1; c <= MAXFARBE; ++c)
        if (red.excluded[c] && g->d(FARBEPL + c) != 0) return false;
    int before = 0;
    for (int j = 1; j <= red.length; ++j) {
        int first = 100;
        for (int i = X.CODELAENGE; i >= 1; --i)
            if (g->d(i) == red.order[j]) first = i;
        if (first < before) return false;
        before = first;
    }
    return true;
}

// The pre-pass walks the store in memory order, not the guess chain: it must
// still mark and count exactly the guesses of the chain that follow the
// rule, and start where a walk along the chain would: at the canonical guess,
// moved to the head, or else at the first guess marked.
TEST(Search, PrePassMarksCountsAndStartsAsAWalkAlongTheChain) {
    const Case cases[] = {{4, '1', '6', true, false}, {5, '0', '7', false, false}, {3, 'a', 'p', true, false},
                           {5, '1', '6', true, false}, {4, 'a', 'h', true, true}};
    int canonical = 0, first_marked = 0;
    for (const Case& f : cases) {
        for (std::uint64_t seed = 1; seed <= 3; ++seed) {
            console::ScopedVirtualConsole s(seed * 104729);
            if (!reach_position(f, 1 + static_cast<int>(seed % 2))) continue;
            SCOPED_TRACE(testing::Message() << f.l << f.first_sign << f.last_sign << " seed " << seed);
            std::vector<PTR> chain;
            for (PTR p = VERS; p; p = p->link2) chain.push_back(p);
            Reduction red;
            PTR before_start = nullptr;
            const PTR start = prepare_reduction(red, VERS, before_start);
            if (!red.on) continue;
            std::int32_t marked = 0;
            PTR first = nullptr, before_first = nullptr, previous = nullptr;
            for (PTR g : chain) {
                const bool ok_g = follows_reduction(g, red);
                if (GENUGPLATZ) {
                    ASSERT_EQ(g->d(ENDFARBEPL1), ok_g ? 1 : 0) << code_of(g);
                }
                if (ok_g) {
                    ++marked;
                    if (!first) {
                        first = g;
                        before_first = previous;
                    }
                }
                previous = g;
            }
            EXPECT_EQ(ZAHL_DER_VERSUCHE, marked);
            PTR canon = nullptr;
            if (X.CODELAENGE <= red.length)
                for (PTR g : chain) {
                    bool same_code = true;
                    for (int i = 1; i <= X.CODELAENGE; ++i) same_code = same_code && g->d(i) == red.order[i];
                    if (same_code) canon = g;
                }
            std::vector<PTR> after;
            for (PTR p = VERS; p; p = p->link2) after.push_back(p);
            if (canon) {
                ++canonical;
                EXPECT_EQ(start, canon);
                EXPECT_EQ(VERS, canon);
                std::vector<PTR> expected{canon};
                for (PTR g : chain)
                    if (g != canon) expected.push_back(g);
                EXPECT_EQ(after, expected);
            } else {
                ++first_marked;
                EXPECT_EQ(start, first);
                EXPECT_EQ(before_start, before_first);
                EXPECT_EQ(after, chain);
            }
            EXPECT_EQ(SCHLUSSLICHT, after.back());
            LISTEN_FREIGEBEN(true);
        }
    }
    EXPECT_GT(canonical, 2);
    EXPECT_GT(first_marked, 2);
}

TEST(Search, ChoiceHasTheBestFiguresScoredFromScratch) {
    for (std::uint64_t seed = 1; seed <= 6; ++seed) {
        console::ScopedVirtualConsole s(seed);
        Conditions b;
        b.l = 4;
        b.last_sign = seed % 2 ? '6' : '7';
        b.repeat = seed % 3 != 0;
        prepare_store(b);
        set_solution(random_code(4, b.repeat));
        bool ok = false;
        INIT_RATEN(ok);
        INITFELD();
        ASSERT_TRUE(ok);
        if (!play_until(1)) continue;
        SearchResult e;
        score_guess_list({.start = VERS}, e);
        ASSERT_NE(e.chosen, nullptr);
        ClassTable t;
        const SearchFigures picked = figures_of(code_of(e.chosen), t);
        EXPECT_TRUE(same(picked, e.fig));
        EXPECT_EQ(t, e.table);
        for (const std::string& g : guess_list()) {
            ClassTable u;
            EXPECT_FALSE(better_than(figures_of(g, u), picked)) << g << " beats " << code_of(e.chosen);
        }
    }
}

TEST(Search, EachOfEquallyGoodGuessesIsChosenWithEqualChance) {
    console::ScopedVirtualConsole s(3);
    Conditions b;
    b.l = 2;
    b.last_sign = '3';
    b.repeat = true;
    prepare_store(b);
    bool ok = false;
    INIT_RATEN(ok);
    INITFELD();
    ASSERT_TRUE(ok);
    // Nine codes, nothing known yet: find the guesses with the best figures.
    std::vector<std::string> chosen;
    SearchFigures best_fig;
    for (const std::string& g : guess_list()) {
        ClassTable t;
        const SearchFigures f = figures_of(g, t);
        if (chosen.empty() || better_than(f, best_fig)) {
            chosen = {g};
            best_fig = f;
        } else if (same(f, best_fig)) {
            chosen.push_back(g);
        }
    }
    ASSERT_GE(chosen.size(), 3u);
    std::map<std::string, int> counters;
    const int rounds = 600 * static_cast<int>(chosen.size());
    for (int i = 0; i < rounds; ++i) {
        SearchResult e;
        score_guess_list({.start = VERS}, e);
        ++counters[code_of(e.chosen)];
    }
    EXPECT_EQ(counters.size(), chosen.size());
    for (const std::string& g : chosen) {
        EXPECT_GT(counters[g], 400) << g;
        EXPECT_LT(counters[g], 800) << g;
    }
}

TEST(Search, OneCandidateLeftIsPlayedAsTheSolutionWithTone) {
    console::ScopedVirtualConsole s(5);
    Conditions b;
    b.sound = true;
    prepare_store(b);
    set_solution("3456");
    bool ok = false;
    INIT_RATEN(ok);
    INITFELD();
    ASSERT_TRUE(ok);
    // Leave only the secret in the solution chain.
    PTR stays = nullptr;
    for (PTR p = ERLAUBT; p; p = p->link3)
        if (code_of(p) == "3456") stays = p;
    ASSERT_NE(stays, nullptr);
    ERLAUBT = stays;
    stays->link3 = nullptr;
    next_trial();
    const int wx = WX;
    CODE move;
    byte p = 0, z = 9;
    unsigned char pressed_key = 0;
    s.vc.tones.clear();
    RATE_CODE(move, p, z, pressed_key);
    EXPECT_EQ(p, 4);
    EXPECT_EQ(console::screen().text(wx, WY, 4), "3456");
    EXPECT_EQ(console::screen().text(wx + 8, WY, 1), "4");
    EXPECT_EQ(console::screen().text(wx + 10, WY, 1), "0");
    ASSERT_EQ(s.vc.tones.size(), 1u);
    EXPECT_EQ(s.vc.tones[0].hz, 440u);
    EXPECT_EQ(s.vc.tones[0].end_ms - s.vc.tones[0].start_ms, 500);
    EXPECT_EQ(STORE_ARENA.used(), 0);
}

namespace {

// A long search: L = 5 over 8 signs after the opening answer.
void prepare_long_search(console::ScopedVirtualConsole& s, int time_step) {
    Conditions b;
    b.l = 5;
    b.last_sign = '8';
    b.time_step = time_step;
    prepare_store(b);
    set_solution("12345");
    bool ok = false;
    INIT_RATEN(ok);
    INITFELD();
    ASSERT_TRUE(ok);
    next_trial();
    CODE move;
    byte p = 0, z = 0;
    unsigned char pressed_key = 0;
    RATE_CODE(move, p, z, pressed_key);  // the opening guess
    ASSERT_EQ(pressed_key, 0);
    ASSERT_GT(ZAHLGESAMTVERSUCHE, 1000);
    (void)s;
}

}  // namespace

TEST(Search, TimeLimitCutsTheSearchShowsTheNoticeOnceAndRotatesTheChain) {
    console::ScopedVirtualConsole s(11);
    prepare_long_search(s, 1);
    s.vc.tick_ms = 3000;  // every look at the keyboard costs three seconds
    const std::int32_t before = ZAHLGESAMTVERSUCHE;
    next_trial();
    CODE move;
    byte p = 0, z = 0;
    unsigned char pressed_key = 0;
    RATE_CODE(move, p, z, pressed_key);
    EXPECT_EQ(pressed_key, 0);
    EXPECT_LT(GERATENE_VERSUCHE, ZAHL_DER_VERSUCHE) << "the search was not cut";
    EXPECT_LT(ZAHLGESAMTVERSUCHE, before);
    EXPECT_GT(GERATENE_VERSUCHE, NUMMER_PLUS);
    EXPECT_EQ(console::screen().text(1, 11, 39), "| Zeit begrenzt auf 10 Sek./Versuch.  |");
    EXPECT_FALSE(ALLESTERNEDRUCKEN);
    // The guess chain is still whole, less what the narrowing took out.
    EXPECT_EQ(static_cast<std::int64_t>(ZAHLGESAMTVERSUCHE), count_guess_list());
    PTR last = VERS;
    while (last->link2) last = last->link2;
    EXPECT_EQ(last, SCHLUSSLICHT);
    // A second cut does not write the notice again.
    console::write_at(1, 11, "                                       ");
    next_trial();
    RATE_CODE(move, p, z, pressed_key);
    EXPECT_EQ(console::screen().text(1, 11, 5), "     ");
    LISTEN_FREIGEBEN(true);
}

TEST(Search, F4DuringALongSearchDecidesSoonAndCountsTheBreak) {
    console::ScopedVirtualConsole s(12);
    prepare_long_search(s, 0);
    s.vc.tick_ms = 3000;
    s.vc.ext(62);
    const std::int32_t before = ZAHLGESAMTVERSUCHE;
    next_trial();
    CODE move;
    byte p = 0, z = 0;
    unsigned char pressed_key = 0;
    RATE_CODE(move, p, z, pressed_key);
    EXPECT_EQ(pressed_key, 0);
    EXPECT_LT(GERATENE_VERSUCHE, ZAHL_DER_VERSUCHE);
    EXPECT_LT(ZAHLGESAMTVERSUCHE, before);
    EXPECT_EQ(UNTERBR, 1);
    EXPECT_EQ(console::screen().text(3, 15, 28), "Zahl der Unterbrechungen: 1.");
    LISTEN_FREIGEBEN(true);
}

TEST(Search, DecideSoonKeysAreAllHonouredAndOthersIgnored) {
    for (unsigned char scan : {87, 97, 107, 64, 89, 99, 109, 59}) {
        console::ScopedVirtualConsole s(13);
        prepare_long_search(s, 0);
        s.vc.tick_ms = 3000;
        s.vc.ext(scan);
        next_trial();
        CODE move;
        byte p = 0, z = 0;
        unsigned char pressed_key = 0;
        RATE_CODE(move, p, z, pressed_key);
        EXPECT_EQ(UNTERBR, scan == 59 ? 0 : 1) << int(scan);
        LISTEN_FREIGEBEN(true);
    }
}

TEST(Search, F4InAShortSearchHasNoEffect) {
    console::ScopedVirtualConsole s(14);
    prepare_long_search(s, 0);
    s.vc.tick_ms = 1;  // the whole search takes well under five seconds
    s.vc.ext(62);
    const std::int32_t before = ZAHLGESAMTVERSUCHE;
    next_trial();
    CODE move;
    byte p = 0, z = 0;
    unsigned char pressed_key = 0;
    RATE_CODE(move, p, z, pressed_key);
    EXPECT_EQ(GERATENE_VERSUCHE, ZAHL_DER_VERSUCHE);
    EXPECT_LE(ZAHL_DER_VERSUCHE, before);
    EXPECT_EQ(UNTERBR, 0);
    LISTEN_FREIGEBEN(true);
}

TEST(Search, EscDuringTheSearchReleasesTheStore) {
    console::ScopedVirtualConsole s(15);
    prepare_long_search(s, 0);
    s.vc.key(27);
    next_trial();
    CODE move;
    byte p = 0, z = 0;
    unsigned char pressed_key = 0;
    RATE_CODE(move, p, z, pressed_key);
    EXPECT_EQ(pressed_key, 27);
    EXPECT_EQ(STORE_ARENA.used(), 0);
    EXPECT_EQ(VERS, nullptr);
    EXPECT_FALSE(ZEITEIN);
}

// The packed copy of a search goes with the store, whoever releases it, so
// that no copy outlives its match.
TEST(Search, ReleasingTheStoreGivesBackThePackedCopy) {
    console::ScopedVirtualConsole s(5);
    Conditions b;
    b.l = 4;
    b.last_sign = '6';
    prepare_store(b);
    set_solution("1234");
    bool ok = false;
    INIT_RATEN(ok);
    INITFELD();
    ASSERT_TRUE(ok);
    SearchResult e;
    score_guess_list({.start = VERS}, e);
    ASSERT_NE(packed_copy().data, nullptr);
    EXPECT_EQ(packed_copy().count, static_cast<std::size_t>(count_solution_list()));
    // Each candidate of the solution chain, in its order, is a column of bits:
    // its sign at each place, and each count of each sign; the padding of the
    // last block holds nothing.
    const BitPlanes& planes = packed_copy().planes;
    auto bit = [](const std::uint64_t* plane, std::size_t k) { return ((plane[k / 64] >> (k % 64)) & 1) != 0; };
    int wrong = 0;
    std::size_t k = 0;
    for (PTR c = ERLAUBT; c; c = c->link3, ++k)
        for (int sign = 1; sign <= MAXFARBE; ++sign) {
            ASSERT_TRUE(planes.position_plane(1, sign) || c->d(FARBEPL + sign) == 0) << "a held sign without a plane";
            if (!planes.position_plane(1, sign)) continue;
            for (int i = 1; i <= X.CODELAENGE; ++i)
                wrong += bit(planes.position_plane(i, sign), k) != (c->d(i) == sign);
            for (int t = 1; t <= X.CODELAENGE; ++t)
                wrong += bit(planes.count_plane(sign, t), k) != (c->d(FARBEPL + sign) >= t);
        }
    for (std::size_t pad = k; pad < planes.blocks * PLANE_BLOCK; ++pad)
        for (std::size_t j = 0; j < planes.planes(); ++j) wrong += bit(planes.plane(j), pad);
    EXPECT_EQ(wrong, 0);
    LISTEN_FREIGEBEN(true);
    EXPECT_EQ(packed_copy().data, nullptr);
    EXPECT_EQ(packed_copy().mapped, 0u);
}

// ---- the block counters of the packed search -------------------------------

// Every kernel against one-by-one scoring: random codes of each length 2..9
// (vacant places among them) as bit planes, a guess with a vacant place and
// a sign no candidate holds (it has no plane), the secret's counts known or
// not, whole and partial last blocks.
TEST(BitPlaneScoring, EveryKernelCountsWhatScoringOneByOneCounts) {
    std::vector<Kernel> kernels;
    for (Kernel k : {Kernel::plain, Kernel::avx2, Kernel::avx512})
        if (count_block_for(k)) kernels.push_back(k);
    ASSERT_FALSE(kernels.empty());
    std::mt19937 rng(20261209);
    int checked = 0;
    for (int l = 2; l <= 9; ++l)
        for (const std::size_t count : {std::size_t{37}, std::size_t{512}, std::size_t{2048}, std::size_t{2500}})
            for (const bool known_counts : {false, true}) {
                const int n = 2 + static_cast<int>(rng() % 20);  // signs 1..n; n + 1 is held by none
                std::vector<std::array<byte, 9>> codes(count);
                std::vector<std::array<byte, 37>> counts(count);
                std::array<bool, 37> with_plane{};
                for (std::size_t k = 0; k < count; ++k) {
                    counts[k] = {};
                    for (int i = 0; i < l; ++i) {
                        const auto c = static_cast<byte>(rng() % static_cast<unsigned>(n + 1));
                        codes[k][static_cast<std::size_t>(i)] = c;
                        if (c) {
                            ++counts[k][static_cast<std::size_t>(c - 1)];
                            with_plane[c] = true;
                        }
                    }
                }
                BitPlanes planes;
                std::vector<std::uint64_t> words(bit_plane_words(count, l, n + 1));
                lay_out_bit_planes(planes, words.data(), count, l, n + 1, with_plane);
                for (std::size_t k = 0; k < count; ++k)
                    ASSERT_TRUE(add_to_bit_planes(planes, k, codes[k].data(), counts[k].data(), n + 1));
                // The guess: vacant at one place, the sign without a plane at another.
                byte guess[9] = {}, most[38] = {};
                for (int i = 0; i < l; ++i) guess[i] = static_cast<byte>(1 + rng() % static_cast<unsigned>(n));
                const unsigned vacant = rng() % static_cast<unsigned>(l);
                guess[vacant] = 0;
                guess[(vacant + 1) % static_cast<unsigned>(l)] = static_cast<byte>(n + 1);
                for (int i = 0; i < l; ++i)
                    if (guess[i]) ++most[guess[i]];
                GuessPlanes g;
                for (int i = 0; i < l; ++i)
                    if (guess[i] && planes.position_plane(i + 1, guess[i]))
                        g.p[g.p_terms++] = planes.position_plane(i + 1, guess[i]);
                // Known counts: every candidate shares all its signs with the
                // guess (P never exceeds common).
                const int constant = known_counts ? l : 0;
                g.constant = constant;
                if (!known_counts)
                    for (int s = 1; s <= n; ++s)
                        for (int t = 1; t <= most[s]; ++t)
                            if (planes.count_plane(s, t)) g.c[g.c_terms++] = planes.count_plane(s, t);
                // The reference: P and common of each candidate, one by one.
                std::int32_t expected[FLAT_CLASSES] = {};
                for (std::size_t k = 0; k < count; ++k) {
                    int p = 0, common = constant;
                    for (int i = 0; i < l; ++i) p += guess[i] && codes[k][static_cast<std::size_t>(i)] == guess[i] ? 1 : 0;
                    if (!known_counts)
                        for (int s = 1; s <= n; ++s)
                            common += std::min<int>(most[s], counts[k][static_cast<std::size_t>(s - 1)]);
                    ++expected[flat_class(common, p)];
                }
                for (int common = constant; common <= std::min(l, constant + g.c_terms); ++common)
                    for (int p = 0; p <= std::min(common, g.p_terms); ++p) g.add_class(common, p);
                for (Kernel kernel : kernels) {
                    SCOPED_TRACE(testing::Message() << kernel_name(kernel) << " l " << l << " count " << count
                                                    << (known_counts ? " counts known" : ""));
                    std::int32_t t[FLAT_CLASSES] = {};
                    for (std::size_t b0 = 0; b0 < count; b0 += SCORE_BLOCK) {
                        const std::size_t n_block = std::min(SCORE_BLOCK, count - b0);
                        const std::int32_t largest = count_block_for(kernel)(g, b0, n_block, t);
                        EXPECT_EQ(largest, *std::max_element(t, t + FLAT_CLASSES));
                    }
                    for (int k = 0; k < FLAT_CLASSES; ++k) ASSERT_EQ(t[k], expected[k]) << "class " << k;
                    ++checked;
                }
            }
    EXPECT_EQ(checked, 8 * 4 * 2 * static_cast<int>(kernels.size()));
}

// ---- the threads that share the search -------------------------------------

TEST(SearchCrew, EachPartRunsOnceOnItsOwnThreadAndTheThreadsAreReused) {
    EXPECT_GE(console::usable_cores(), 1);
    set_search_threads(0);
    EXPECT_EQ(search_threads(), console::usable_cores());
    std::set<std::thread::id> first_round;
    for (int round = 0; round < 20; ++round) {
        for (int k : {4, 1, 3}) {
            set_search_threads(k);
            std::mutex m;
            std::vector<int> runs(static_cast<std::size_t>(k), 0);
            std::set<std::thread::id> ids;
            const std::thread::id caller = std::this_thread::get_id();
            bool first_part_on_caller = false;
            run_on_crew([&](int me) {
                std::lock_guard lock(m);
                ++runs[static_cast<std::size_t>(me)];
                ids.insert(std::this_thread::get_id());
                if (me == 0) first_part_on_caller = std::this_thread::get_id() == caller;
            });
            EXPECT_TRUE(first_part_on_caller);
            for (int r : runs) EXPECT_EQ(r, 1);
            EXPECT_EQ(static_cast<int>(ids.size()), k);
            if (k == 4) {
                if (round == 0)
                    first_round = ids;
                else
                    EXPECT_EQ(ids, first_round) << "new threads in round " << round;
            }
        }
    }
    set_search_threads(0);
}

// Threads the system will not give are no fault: the parts run on the
// helpers there are (none at first), the crew tries again only some searches
// later, and a helper never takes a signal sent to the process.
TEST(SearchCrew, HelpersThatCannotStartLeaveTheWorkToTheOthers) {
    auto run = [](int k) {
        set_search_threads(k);
        std::mutex m;
        std::vector<int> runs(static_cast<std::size_t>(k), 0);
        bool signals_held = true;
        const int parts = run_on_crew([&](int me) {
            sigset_t now;
            pthread_sigmask(SIG_BLOCK, nullptr, &now);
            std::lock_guard lock(m);
            ++runs[static_cast<std::size_t>(me)];
            if (me != 0) signals_held = signals_held && sigismember(&now, SIGTERM) && sigismember(&now, SIGWINCH) &&
                                        sigismember(&now, SIGTSTP) && !sigismember(&now, SIGSEGV);
        });
        EXPECT_TRUE(signals_held);
        for (int i = 0; i < k; ++i) EXPECT_EQ(runs[static_cast<std::size_t>(i)], i < parts ? 1 : 0) << "part " << i;
        return parts;
    };
    refuse_helper_starts(true);
    const int first = run(8);
    EXPECT_GE(first, 1);
    EXPECT_LT(first, 8);
    refuse_helper_starts(false);
    for (int i = 1; i < SEARCHES_BEFORE_RETRY; ++i) EXPECT_EQ(run(8), first) << "search " << i << " tried again";
    EXPECT_EQ(run(8), 8);
    EXPECT_EQ(run(2), 2);
    set_search_threads(0);
}

TEST(SearchCrew, OneThreadRunsTheJobOnTheCaller) {
    set_search_threads(1);
    std::thread::id ran;
    int parts = 0;
    run_on_crew([&](int me) {
        ran = std::this_thread::get_id();
        parts += me + 1;
    });
    EXPECT_EQ(ran, std::this_thread::get_id());
    EXPECT_EQ(parts, 1);
    set_search_threads(0);
}
