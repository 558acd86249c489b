#include "console/virtual_console.h"

#include <gtest/gtest.h>

using namespace console;

TEST(VirtualConsole, WritesWrapAndScrollLikeATerminal) {
    ScopedVirtualConsole s;
    clr_scr();
    text_attr(0x1E);
    write_at(79, 1, "abc");
    EXPECT_EQ(screen().text(79, 1, 2), "ab");
    EXPECT_EQ(screen().text(1, 2, 1), "c");
    EXPECT_EQ(screen().attr_at(1, 2), 0x1E);
    goto_xy(1, 25);
    write_ln("last");
    EXPECT_EQ(screen().text(1, 24, 4), "last");  // scrolled up by one
    EXPECT_EQ(screen().text(1, 1, 1), "c");
    goto_xy(80, 25);
    write("z");  // the bottom right cell does not scroll
    EXPECT_EQ(screen().text(80, 25, 1), "z");
    EXPECT_EQ(screen().text(1, 1, 1), "c");
    goto_xy(0, 3);  // outside: ignored
    EXPECT_EQ(where_y(), 25);
}

TEST(VirtualConsole, ScriptAndFakeClock) {
    ScopedVirtualConsole s;
    s.vc.set_clock(2026, 12, 31, 23, 59, 59, 95);
    s.vc.keys("a").ext(59).wait(2000).key(27);
    EXPECT_TRUE(key_pressed());
    EXPECT_EQ(read_key(), 'a');
    EXPECT_EQ(read_key(), 0);
    EXPECT_EQ(read_key(), 59);
    EXPECT_FALSE(key_pressed());  // the wait holds the Esc back
    auto d = get_date();
    EXPECT_EQ(d.year, 2027);
    EXPECT_EQ(d.month, 1);
    EXPECT_EQ(d.day, 1);
    EXPECT_EQ(d.weekday, 5);  // 1 January 2027 is a Friday
    delay(2000);
    EXPECT_TRUE(key_pressed());
    EXPECT_EQ(read_key(), 27);
    EXPECT_THROW(read_key(), ScriptEnd);
    sound(440);
    delay(500);
    no_sound();
    ASSERT_EQ(s.vc.tones.size(), 1u);
    EXPECT_EQ(s.vc.tones[0].end_ms - s.vc.tones[0].start_ms, 500);
}

TEST(VirtualConsole, IdleWaitingEndsTheScript) {
    ScopedVirtualConsole s;
    s.vc.idle_limit_ms = 1000;
    EXPECT_THROW(
        {
            while (!key_pressed()) {
            }
        },
        ScriptEnd);
}

TEST(VirtualConsole, ClockCanBeSetOrRefused) {
    ScopedVirtualConsole s;
    EXPECT_TRUE(set_date({1999, 2, 28, 0}));
    EXPECT_TRUE(set_time({23, 59, 59, 0}));
    delay(1000);
    EXPECT_EQ(get_date().month, 3);
    EXPECT_EQ(get_date().day, 1);
    s.vc.refuse_clock_setting = true;
    EXPECT_FALSE(set_time({1, 0, 0, 0}));
    EXPECT_EQ(get_time().hour, 0);
}
