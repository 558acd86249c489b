// Preparation: the random relabelling, the opening guesses, what INIT_RATEN
// leaves behind.
#include <map>

#include "engine/codebreaker/codebreaker_state.h"
#include "engine/codebreaker/codebreaker_support.h"
#include "engine/codebreaker/opening_patterns.h"

using namespace cbtest;

namespace {

void identical() {
    for (int i = 1; i <= 9; ++i) PERMZ[i] = static_cast<byte>(i);
    for (int c = 0; c <= 36; ++c) PERMF[c] = static_cast<byte>(c);
}

std::string opening() { return code_of(&ANFANG); }

}  // namespace

TEST(Preparation, RandomPermutationIsAPermutationAndUniform) {
    console::ScopedVirtualConsole s(71);
    const byte list[4] = {0, 7, 8, 9};
    std::map<std::string, int> counters;
    for (int i = 0; i < 6000; ++i) {
        byte perm[4] = {};
        byte aux = 0;
        random_permutation(list, 3, perm, aux);
        EXPECT_GE(aux, 1);
        std::string k{static_cast<char>('0' + perm[1]), static_cast<char>('0' + perm[2]),
                      static_cast<char>('0' + perm[3])};
        ++counters[k];
    }
    ASSERT_EQ(counters.size(), 6u);
    for (auto& [k, n] : counters) {
        EXPECT_EQ(std::set<char>(k.begin(), k.end()), (std::set<char>{'7', '8', '9'}));
        EXPECT_GT(n, 850) << k;
        EXPECT_LT(n, 1150) << k;
    }
}

TEST(Preparation, OpeningPatternIsRenamedAndCounted) {
    console::ScopedVirtualConsole s(72);
    Conditions b;  // 4 over 1..6 with repetition: 1122
    prepare_store(b);
    bool ok = false;
    INIT_RATEN(ok);
    INITFELD();
    ASSERT_TRUE(ok);
    identical();
    PERMZ[1] = 4;
    PERMZ[4] = 1;  // first and last position swapped
    PERMF[1] = 5;
    PERMF[2] = 3;
    OK = false;
    SETZE_ANFANG(4, 6, true, false, false);
    EXPECT_TRUE(OK);
    EXPECT_EQ(opening(), "3535");
    EXPECT_EQ(ANFANG.d(FARBEPL + 5), 2);
    EXPECT_EQ(ANFANG.d(FARBEPL + 3), 2);
    EXPECT_EQ(ANFANG.d(FARBEPL + 1), 0);
    // Shown in the guess field with first, the cursor back on it.
    console::goto_xy(WX, WY);
    SETZE_ANFANG(4, 6, true, false, true);
    EXPECT_EQ(console::screen().text(WX, WY, 4), "3535");
    EXPECT_EQ(console::where_x(), WX);
    // Out of range: nothing changes.
    OK = false;
    SETZE_ANFANG(0, 6, true, false, false);
    SETZE_ANFANG(4, 0, true, false, false);
    EXPECT_FALSE(OK);
    EXPECT_EQ(opening(), "3535");
    LISTEN_FREIGEBEN(true);
}

TEST(Preparation, TwoOverTwoWithRepetitionOpensWith11Or12) {
    std::set<std::string> seen;
    for (std::uint64_t seed = 1; seed <= 40; ++seed) {
        console::ScopedVirtualConsole s(seed);
        Conditions b;
        b.l = 2;
        b.last_sign = '2';
        prepare_store(b);
        bool ok = false;
        INIT_RATEN(ok);
        INITFELD();
        ASSERT_TRUE(ok);
        identical();
        SETZE_ANFANG(2, 2, true, false, false);
        seen.insert(opening());
        LISTEN_FREIGEBEN(true);
    }
    EXPECT_EQ(seen, (std::set<std::string>{"11", "12"}));
}

TEST(Preparation, VacantFillerTakesItsPlaceAndCount) {
    console::ScopedVirtualConsole s(73);
    Conditions b;
    b.l = 5;
    b.first_sign = 'a';
    b.last_sign = 'b';
    b.vacant = true;
    prepare_store(b);
    bool ok = false;
    INIT_RATEN(ok);
    INITFELD();
    ASSERT_TRUE(ok);
    identical();
    SETZE_ANFANG(5, 2, true, true, false);
    EXPECT_EQ(opening(), "aaab*");
    EXPECT_EQ(ANFANG.d(FARBE0), 1);
    EXPECT_EQ(ANFANG.d(FARBEPL + 1), 3);
    EXPECT_EQ(ANFANG.d(FARBEPL + 2), 1);
    LISTEN_FREIGEBEN(true);
}

TEST(Preparation, NewOpeningUsesOnlyPossibleSignsAndTheKnownAbsentOne) {
    console::ScopedVirtualConsole s(74);
    Conditions b;
    b.l = 4;
    b.last_sign = '8';
    prepare_store(b);
    bool ok = false;
    INIT_RATEN(ok);
    INITFELD();
    ASSERT_TRUE(ok);
    for (int c = 1; c <= 8; ++c) ERL_FARBE[c] = c == 2 || c == 4 || c == 7;
    FEHLZEICHEN = 5;
    for (int round = 0; round < 30; ++round) {
        NEUER_ANFANG();
        EXPECT_EQ(PERMF[0], 5);
        std::set<int> f{PERMF[1], PERMF[2], PERMF[3]};
        EXPECT_EQ(f, (std::set<int>{2, 4, 7}));
        // The pattern for 4 over 3 signs with repetition is 1112 (no filler).
        std::map<int, int> n;
        for (int i = 1; i <= 4; ++i) ++n[ANFANG.d(i)];
        EXPECT_EQ(n.size(), 2u);
        for (auto& [c, k] : n) EXPECT_TRUE(c == 2 || c == 4 || c == 7) << c;
        int sum = 0;
        for (int c = 1; c <= 8; ++c) sum += ANFANG.d(FARBEPL + c);
        EXPECT_EQ(sum, 4);
    }
    LISTEN_FREIGEBEN(true);
}

TEST(Preparation, InitShowsTheOpeningAtOnceAndSetsUpTheMatch) {
    console::ScopedVirtualConsole s(75);
    Conditions b;
    b.time_step = 2;
    prepare_store(b);
    bool ok = false;
    INIT_RATEN(ok);
    INITFELD();
    ASSERT_TRUE(ok);
    EXPECT_EQ(console::screen().text(WX, WY, 4), opening());
    const std::string pattern(raw_pattern(4, 6, true, false));
    // The opening has the shape of the table's pattern: same sign multiplicities.
    std::map<char, int> a, m;
    for (char c : opening()) ++a[c];
    for (char c : pattern) ++m[c];
    std::multiset<int> ma, mm;
    for (auto& [c, k] : a) ma.insert(k);
    for (auto& [c, k] : m) mm.insert(k);
    EXPECT_EQ(ma, mm);
    EXPECT_TRUE(ZEITLIMIT_GR_0);
    EXPECT_TRUE(RATEN_ZEITANZEIGE);
    EXPECT_EQ(GERATENE_VERSUCHE, 1296);
    EXPECT_EQ(ZAHL_DER_VERSUCHE, 1296);
    EXPECT_TRUE(GENUGPLATZ);  // 24 + 4 + 6 = 34 rounds to 64
    EXPECT_EQ(FARBEPL, 4);
    EXPECT_EQ(ENDFARBEPL1, 11);
    EXPECT_FALSE(ERL_FARBE[0]);
    for (int c = 1; c <= 6; ++c) EXPECT_TRUE(ERL_FARBE[c]);
    // Build renaming: the positions and signs are each a permutation.
    std::set<int> pz, pf;
    for (int i = 1; i <= 4; ++i) pz.insert(PERMZTM[i]);
    for (int c = 1; c <= 6; ++c) pf.insert(PERMFTM[c]);
    EXPECT_EQ(pz, (std::set<int>{1, 2, 3, 4}));
    EXPECT_EQ(pf, (std::set<int>{1, 2, 3, 4, 5, 6}));
    LISTEN_FREIGEBEN(true);
}

TEST(Preparation, FourOverFourHasNoRoomForTheTryMark) {
    console::ScopedVirtualConsole s(76);
    Conditions b;
    b.last_sign = '4';
    prepare_store(b);
    EXPECT_EQ(SIZERATEN, 32);
    bool ok = false;
    INIT_RATEN(ok);
    INITFELD();
    ASSERT_TRUE(ok);
    EXPECT_FALSE(GENUGPLATZ);
    EXPECT_EQ(count_guess_list(), 256);
    LISTEN_FREIGEBEN(true);
}
