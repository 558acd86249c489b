#include "engine/codebreaker/release.h"
#include "engine/setup/conditions_screen.h"

#include <gtest/gtest.h>

#include <string>

#include "console/virtual_console.h"
#include "engine/arena.h"
#include "engine/codebreaker/codebreaker_state.h"
#include "engine/encoder/capacity.h"
#include "engine/setup/conditions.h"
#include "engine/zqspiel.h"

using namespace zqspiel;

namespace {

// A fresh budget for step s: forces the table to be made again.
void budget(int step) {
    MERKEMEMAVAIL = -5;
    set_memavail(static_cast<byte>(step));
}

struct Check : ::testing::Test {
    console::ScopedVirtualConsole s;
    void SetUp() override {
        INITIALISIERE();
        budget(10);
        SP_D = true;
    }
};

}  // namespace

TEST(CapacityTable, EveryMemoryStep) {
    const int expected[16][8] = {{},
                                 {36, 21, 10, 6, 4, 3, 3, 2},
                                 {36, 36, 17, 9, 6, 5, 4, 3},
                                 {36, 36, 28, 14, 9, 6, 5, 4},
                                 {36, 36, 34, 16, 10, 7, 5, 4},
                                 {36, 36, 36, 19, 11, 8, 6, 5},
                                 {36, 36, 36, 22, 13, 9, 6, 5},
                                 {36, 36, 36, 25, 14, 10, 7, 6},
                                 {36, 36, 36, 29, 16, 11, 8, 6},
                                 {36, 36, 36, 33, 18, 12, 9, 7},
                                 {36, 36, 36, 35, 21, 13, 9, 7},
                                 {36, 36, 36, 36, 23, 15, 10, 8},
                                 {36, 36, 36, 36, 26, 16, 11, 8},
                                 {36, 36, 36, 36, 29, 18, 12, 9},
                                 {36, 36, 36, 36, 33, 20, 13, 10},
                                 {36, 36, 36, 36, 35, 21, 14, 10}};
    for (int step = 1; step <= 15; ++step) {
        budget(step);
        LISTEN_FREIGEBEN(false);
        EXPECT_TRUE(GEAENDERT);
        EXPECT_EQ(MEMGES % 32, 0);
        EXPECT_LE(MEMAVAIL - MEMGES, 31);
        for (int n = 2; n <= 9; ++n) EXPECT_EQ(ZAEHLEFARBEN[n], expected[step][n - 2]) << "step " << step << " length " << n;
    }
}

TEST(CapacityTable, UnchangedBudgetKeepsTheTable) {
    budget(1);
    LISTEN_FREIGEBEN(false);
    ASSERT_TRUE(GEAENDERT);
    ZAEHLEFARBEN[3] = 99;  // a table made for this budget is not made again
    ZAEHLEFARBEN[9] = 77;  // but the caps hold on every call
    LISTEN_FREIGEBEN(false);
    EXPECT_FALSE(GEAENDERT);
    EXPECT_EQ(ZAEHLEFARBEN[3], 99);
    EXPECT_EQ(ZAEHLEFARBEN[9], 10);
}

TEST(CapacityTable, TooSmallABudgetHasNoLengths) {
    const auto t = compute_capacity(96);  // not even two 2-sign nodes
    for (int n = 2; n <= 9; ++n) EXPECT_EQ(t[n], 0) << n;
    const auto u = compute_capacity(-5);
    for (int n = 2; n <= 9; ++n) EXPECT_EQ(u[n], 0) << n;
}

TEST(Release, FreesTheStoreAndTheList) {
    console::ScopedVirtualConsole s;  // the arena asks the machine for memory
    budget(1);
    STORE_ARENA.set_budget(1 << 20);
    auto* node = static_cast<LISTE*>(STORE_ARENA.allocate(64));
    auto* item = static_cast<LISTE_O_F*>(STORE_ARENA.allocate(32));
    ASSERT_NE(node, nullptr);
    ASSERT_NE(item, nullptr);
    VERSLOE = VERS = ERLAUBT = SCHLUSSLICHT = AKTUELL = node;
    ERL = ERLLOE = item;
    NEUER_KANDIDAT = true;
    LISTEN_FREIGEBEN(true);
    EXPECT_EQ(STORE_ARENA.used(), 0);
    EXPECT_EQ(VERSLOE, nullptr);
    EXPECT_EQ(VERS, nullptr);
    EXPECT_EQ(ERLAUBT, nullptr);
    EXPECT_EQ(SCHLUSSLICHT, nullptr);
    EXPECT_EQ(AKTUELL, nullptr);
    EXPECT_EQ(ERL, nullptr);
    EXPECT_EQ(ERLLOE, nullptr);
    EXPECT_FALSE(NEUER_KANDIDAT);
    LISTEN_FREIGEBEN(true);  // an empty store again: harmless
    EXPECT_EQ(VERSLOE, nullptr);

    // Without the flag nothing is freed.
    void* kept = STORE_ARENA.allocate(32);
    VERS = static_cast<LISTE*>(kept);
    LISTEN_FREIGEBEN(false);
    EXPECT_EQ(STORE_ARENA.used(), 32);
    EXPECT_EQ(VERS, kept);
    LISTEN_FREIGEBEN(true);
}

TEST_F(Check, NodeSize) {
    KORRIGIERE(6, 4, false, false, false, false);
    EXPECT_EQ(SIZERATEN, 64);
    EXPECT_EQ(SIZERATENPTR, 64u);
    EXPECT_TRUE(GENUGPLATZ);
    KORRIGIERE(4, 4, false, false, false, false);
    EXPECT_EQ(SIZERATEN, 32);
    EXPECT_FALSE(GENUGPLATZ);
    KORRIGIERE(4, 4, true, true, false, false);  // the vacant count takes the spare byte
    EXPECT_EQ(SIZERATEN, 32);
    EXPECT_FALSE(GENUGPLATZ);
    KORRIGIERE(3, 4, false, true, false, false);  // 31 + 1 = 32: no room for the mark
    EXPECT_EQ(SIZERATEN, 32);
    EXPECT_FALSE(GENUGPLATZ);
    KORRIGIERE(36, 9, true, false, false, false);
    EXPECT_EQ(SIZERATEN, 96);
}

TEST_F(Check, LengthSixWithAllSignsAndRepetitionAllowsNeitherRole) {
    X.PC_RAET = true;
    X.LOESUNG_FEST = false;
    budget(15);
    KORRIGIERE(36, 6, true, false, false, false);
    EXPECT_FALSE(KANN_RATEN);
    EXPECT_FALSE(KANN_MOGELN);
    EXPECT_FALSE(X.PC_RAET);
    EXPECT_TRUE(X.LOESUNG_FEST);
}

TEST_F(Check, LengthSevenNotFixedUpToTwentyFourSigns) {
    budget(15);
    X.LOESUNG_FEST = false;
    KORRIGIERE(24, 7, false, false, false, false);
    EXPECT_TRUE(KANN_MOGELN);
    EXPECT_EQ(MEMLOES, 24 * 23 * 22 * 21 * 20 * 19 * 18);
    EXPECT_FALSE(X.LOESUNG_FEST);
    EXPECT_FALSE(KANN_RATEN);  // 24^7 candidates are far beyond a 32-bit count

    KORRIGIERE(25, 7, false, false, false, false);
    EXPECT_FALSE(KANN_MOGELN);
    EXPECT_TRUE(X.LOESUNG_FEST);

    // The same list does not fit the smallest budget.
    budget(1);
    X.LOESUNG_FEST = false;
    KORRIGIERE(24, 7, false, false, false, false);
    EXPECT_FALSE(KANN_MOGELN);
    EXPECT_TRUE(X.LOESUNG_FEST);
}

TEST_F(Check, TwoSignsWithTheVacantSignCountThree) {
    X.PC_RAET = true;
    KORRIGIERE(2, 4, true, true, false, false);
    EXPECT_EQ(MEMRATE, 80);
    EXPECT_TRUE(KANN_RATEN);
    EXPECT_TRUE(X.PC_RAET);
    KORRIGIERE(2, 3, true, true, false, false);  // too short: the vacant sign is no third value
    EXPECT_EQ(MEMRATE, 8);
    KORRIGIERE(5, 4, true, true, false, false);
    EXPECT_EQ(MEMRATE, 625);
}

TEST_F(Check, SmallestBudgetForcesALargeCodeFixed) {
    budget(1);
    X.LOESUNG_FEST = false;
    X.PC_RAET = true;
    KORRIGIERE(36, 5, true, false, false, false);
    EXPECT_FALSE(KANN_MOGELN);
    EXPECT_FALSE(KANN_RATEN);
    EXPECT_TRUE(X.LOESUNG_FEST);
    EXPECT_FALSE(X.PC_RAET);
}

TEST_F(Check, CodebreakerAdmittedExactlyWhileTheStoreFits) {
    // 1 MiB: 673280 bytes; 10^4 nodes of 64 bytes fit, 11^4 do not.
    budget(1);
    X.PC_RAET = true;
    KORRIGIERE(10, 4, true, false, false, false);
    EXPECT_TRUE(KANN_RATEN);
    EXPECT_EQ(MEMRATE, 10000);
    EXPECT_TRUE(X.PC_RAET);
    KORRIGIERE(11, 4, true, false, false, false);
    EXPECT_FALSE(KANN_RATEN);
    EXPECT_TRUE(KANN_MOGELN);
    EXPECT_FALSE(X.PC_RAET);
    EXPECT_LE(static_cast<std::int64_t>(10000) * 64, MEMGES);
    EXPECT_GT(static_cast<std::int64_t>(14641) * 64, MEMGES);
}

TEST_F(Check, LimitsByCodeLength) {
    budget(15);
    struct Case {
        int s, n;
        bool repeat, guess, cheat;
    } cases[] = {{35, 6, true, true, true},    {36, 6, false, false, true}, {21, 7, true, true, true},
                 {22, 7, true, false, false},  {22, 7, false, false, true}, {14, 8, true, true, true},
                 {15, 8, true, false, false},  {18, 8, false, false, true}, {19, 8, false, false, false},
                 {10, 9, true, true, true},    {11, 9, true, false, false}, {15, 9, false, false, true},
                 {16, 9, false, false, false}, {36, 5, true, true, true}};
    for (const Case& c : cases) {
        KORRIGIERE(static_cast<byte>(c.s), static_cast<byte>(c.n), c.repeat, false, false, false);
        EXPECT_EQ(KANN_RATEN, c.guess) << c.s << " signs, length " << c.n;
        EXPECT_EQ(KANN_MOGELN, c.cheat) << c.s << " signs, length " << c.n;
    }
}

TEST_F(Check, ShowRewritesTheCorrectedFieldsAndKeepsTheCursor) {
    budget(1);
    X.LOESUNG_FEST = false;
    X.PC_RAET = true;
    X.NAME2.fill(' ');
    std::memcpy(&X.NAME2[1], "Otto", 4);
    NORMALFARBE = 31;
    HERVORFARBE = 30;
    console::text_attr(0x47);
    console::goto_xy(10, 3);
    KORRIGIERE(36, 6, true, false, true, false);
    EXPECT_EQ(console::where_x(), 10);
    EXPECT_EQ(console::where_y(), 3);
    EXPECT_EQ(console::text_attr(), 0x47);
    const auto& scr = console::screen();
    EXPECT_EQ(scr.text(35, 8, 37), "36   21   10    6    4    3    3    2");
    EXPECT_EQ(scr.text(30, 19, 5), "Ja.  ");
    EXPECT_EQ(scr.text(57, 13, 5), "Nein.");
    EXPECT_EQ(scr.text(38, 24, 5), "Otto ");
    for (auto [c, r] : {std::pair{35, 8}, {30, 19}, {57, 13}}) EXPECT_EQ(scr.attr_at(c, r), NORMALFARBE) << c;

    // English, and an unchanged budget: the capacity line is left alone.
    SP_D = false;
    console::clr_scr();
    X.LOESUNG_FEST = false;
    X.PC_RAET = true;
    KORRIGIERE(36, 6, true, false, true, false);
    EXPECT_EQ(scr.text(35, 8, 5), "     ");
    EXPECT_EQ(scr.text(30, 19, 4), "Yes.");
    EXPECT_EQ(scr.text(64, 13, 4), "No. ");
}

TEST_F(Check, CapacityLineFormat) {
    budget(4);  // 128 MiB: 36 36 34 16 10 7 5 4
    KORRIGIERE(6, 4, false, false, true, false);
    EXPECT_EQ(console::screen().text(35, 8, 37), "36   36   34   16   10    7    5    4");
    MERKEMEMAVAIL = -5;
    MEMAVAIL = 96;  // below every step: no length fits
    KORRIGIERE(6, 4, false, false, true, false);
    EXPECT_EQ(console::screen().text(35, 8, 37), " -    -    -    -    -    -    -    -");
}
