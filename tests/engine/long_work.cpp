// The companions of the long computations: the pace of their looks at the
// clock and the keyboard, the break keys, the star bar and the end of a match
// broken off.
#include <gtest/gtest.h>

#include <vector>

#include "console/virtual_console.h"
#include "engine/arena.h"
#include "engine/codebreaker/release.h"
#include "engine/long_work.h"
#include "support/screen_check.h"

using namespace zqspiel;

namespace {

// The units at which a pacer is due, over `units` calls of `work` each.
std::vector<int> due_at(Pacer p, int units, std::int64_t work = 1) {
    std::vector<int> r;
    for (int i = 1; i <= units; ++i)
        if (p.due(work)) r.push_back(i);
    return r;
}

TEST(Pacer, DueEveryStepAndAtOnceWhenAsked) {
    EXPECT_EQ(due_at(Pacer(4), 13), (std::vector<int>{4, 8, 12}));
    EXPECT_EQ(due_at(Pacer(4, true), 13), (std::vector<int>{1, 5, 9, 13}));
    // Work comes in uneven shares: due once the shares reach the step.
    EXPECT_EQ(due_at(Pacer(100, true), 7, 40), (std::vector<int>{1, 4, 7}));
    EXPECT_EQ(due_at(Pacer(1), 3), (std::vector<int>{1, 2, 3}));
}

TEST(BreakKeys, EscAndCtrlCBreakOffExtendedKeysGiveTheirScanCode) {
    console::ScopedVirtualConsole s(1);
    s.vc.key('x').ext(62).key(3).key(27).ext(27);
    unsigned char scan = 99;
    EXPECT_FALSE(keyboard_breaks_off(&scan));
    EXPECT_EQ(scan, 0);
    EXPECT_FALSE(keyboard_breaks_off(&scan));
    EXPECT_EQ(scan, 62);
    EXPECT_TRUE(keyboard_breaks_off(&scan));
    EXPECT_EQ(scan, 0);
    EXPECT_TRUE(keyboard_breaks_off());
    // An extended key whose scan code is 27 is not Esc.
    EXPECT_FALSE(keyboard_breaks_off());
    EXPECT_EQ(s.vc.pending(), 0u);
    EXPECT_FALSE(keyboard_breaks_off(&scan));  // no key waiting
    EXPECT_EQ(scan, 0);
}

TEST(StarBar, GrowsByTenthsAtMostTenAndPutsTheCursorBack) {
    console::ScopedVirtualConsole s(1);
    ZAHL_DER_STERNE = 0;
    WX = 5;
    WY = 7;
    EXPECT_EQ(stars_due(29, 100), 2);
    draw_star_bar(stars_due(29, 100));
    EXPECT_EQ(row_of(25), std::string(43, ' ') + "**");
    EXPECT_EQ(console::where_x(), 5);
    EXPECT_EQ(console::where_y(), 7);
    console::write_at(44, 25, "  ");
    draw_star_bar(2);  // nothing new is due: nothing is drawn
    EXPECT_EQ(row_of(25), "");
    draw_star_bar(12);
    EXPECT_EQ(row_of(25), std::string(43, ' ') + std::string(10, '*'));
    EXPECT_EQ(ZAHL_DER_STERNE, 12);
    ZAHL_DER_STERNE = 0;
}

TEST(AbandonMatch, KeyIsEscStoreReleasedClockStopped) {
    console::ScopedVirtualConsole s(1);
    STORE_ARENA.set_budget(1 << 20);
    ASSERT_NE(STORE_ARENA.allocate(64), nullptr);
    ZEITEIN = true;
    unsigned char key = 'q';
    abandon_match(key);
    EXPECT_EQ(key, 27);
    EXPECT_EQ(STORE_ARENA.used(), 0);
    EXPECT_FALSE(ZEITEIN);
}

}  // namespace
