#include <gtest/gtest.h>

#include <string>

#include "console/keys.h"
#include "console/virtual_console.h"
#include "engine/zqspiel.h"
#include "frame/frame.h"
#include "support/screen_check.h"

using console::screen;

namespace {

using console::key::scan::UP, console::key::scan::DOWN, console::key::scan::LEFT, console::key::scan::RIGHT;

// Runs the page from `step` with the scripted keys and an Enter; returns the step left.
int run_from(int step, console::ScopedVirtualConsole& s, bool german = true) {
    frame::SPRACHE_DEUTSCH = german;
    zqspiel::NORMALFARBE = 0x1F;
    zqspiel::HERVORFARBE = 0x1E;
    zqspiel::SPEICHERSTUFE = static_cast<zqspiel::byte>(step);
    s.vc.key(13);
    frame::KONFIGURATION();
    EXPECT_EQ(s.vc.pending(), 0u);
    return zqspiel::SPEICHERSTUFE;
}

struct Move {
    int from;
    unsigned char scan;
    int to;
};

}  // namespace

TEST(Configuration, CursorKeysWithinAndAcrossTheColumns) {
    const Move moves[] = {
        {8, RIGHT, 15}, {15, LEFT, 7}, {9, UP, 15},  {8, DOWN, 1},  {1, UP, 8},    {15, DOWN, 9},
        {3, RIGHT, 11}, {3, LEFT, 11}, {11, LEFT, 3}, {12, RIGHT, 4}, {5, UP, 4},  {5, DOWN, 6},
        {12, UP, 11},   {12, DOWN, 13}, {7, 141, 6}, {7, 152, 6},   {7, 145, 8},   {7, 160, 8},
        {2, 115, 10},   {2, 116, 10},  {2, 155, 10}, {8, 157, 15},  {4, 59, 4},    {4, 73, 4},
    };
    for (const Move& m : moves) {
        console::ScopedVirtualConsole s;
        s.vc.ext(m.scan);
        EXPECT_EQ(run_from(m.from, s), m.to) << "from " << m.from << " scan " << int(m.scan);
    }
}

TEST(Configuration, DigitsAndLetters) {
    struct Case {
        const char* keys;
        int to;
    } cases[] = {{"5", 5}, {"1", 1}, {"8", 8}, {"a", 9}, {"g", 15}, {"C", 11}, {"G", 15},
                 {"9", 4}, {"0", 4}, {"h", 4}, {"H", 4}, {" ", 4}, {"3b", 10}};
    for (const Case& c : cases) {
        console::ScopedVirtualConsole s;
        s.vc.keys(c.keys);
        EXPECT_EQ(run_from(4, s), c.to) << c.keys;
    }
}

TEST(Configuration, LeavingAtOnceKeepsTheStep) {
    for (unsigned char end : {13, 27, 3}) {
        console::ScopedVirtualConsole s;
        frame::SPRACHE_DEUTSCH = true;
        zqspiel::SPEICHERSTUFE = 10;
        s.vc.key(end).keys("1");
        frame::KONFIGURATION();
        EXPECT_EQ(zqspiel::SPEICHERSTUFE, 10);
        EXPECT_EQ(s.vc.pending(), 1u);  // nothing read past the end key
    }
}

TEST(Configuration, GermanPageRowByRow) {
    console::ScopedVirtualConsole s;
    run_from(1, s);
    EXPECT_EQ(row_of(1), "");
    EXPECT_EQ(row_of(2), "                            ***  Konfiguration  ***");
    EXPECT_EQ(screen().attr_at(29, 2), 0x1E);
    EXPECT_EQ(row_of(4), "Nach dem Start des Terminals waehlen Sie bitte \"Terminal\" -> \"Einstellungen ..\"");
    EXPECT_EQ(row_of(9), "\"Westeuropaeisch (DOS Latin 1)\" fuer Ihr Profil.");
    EXPECT_EQ(row_of(11), " " + std::string(78, '_'));
    EXPECT_EQ(row_of(13), "Geben Sie unten ein,wieviel Speicherplatz dem Spiel zur Verfuegung stehen soll.");
    EXPECT_EQ(row_of(15), "Raten benoetigt. Bestaetigen Sie anschliessend die Auswahl mit \"CR\"/\"Enter\".");
    EXPECT_EQ(row_of(16), "");
    EXPECT_EQ(row_of(17), "  1 (*):   1 MiB        64-Bit:       a ( ):   4 GiB");
    EXPECT_EQ(row_of(18), "  2 ( ):   8 MiB                      b ( ):   8 GiB");
    EXPECT_EQ(row_of(20), "  4 ( ): 128 MiB                      d ( ):  32 GiB");
    EXPECT_EQ(row_of(23), "  7 ( ):   1 GiB                      g ( ): 256 GiB");
    EXPECT_EQ(row_of(24), "  8 ( ):   2 GiB");
    EXPECT_EQ(screen().attr_at(3, 17), 0x1E);
    EXPECT_EQ(screen().attr_at(16, 17), 0x1E);
    EXPECT_EQ(screen().attr_at(17, 17), 0x1F);
    EXPECT_EQ(screen().attr_at(39, 17), 0x1F);
    EXPECT_EQ(console::where_x(), 3);  // the cursor rests on the marked entry
    EXPECT_EQ(console::where_y(), 17);
    EXPECT_EQ(console::text_attr(), 0x1F);
}

TEST(Configuration, EnglishPage) {
    console::ScopedVirtualConsole s;
    run_from(15, s, false);
    EXPECT_EQ(row_of(2), "                            ***  Configuration  ***");
    EXPECT_EQ(row_of(4), "  After starting the terminal please choose 'Terminal' -> 'Preferences ...'");
    EXPECT_EQ(row_of(6), "  configure than -> 'General' your Default Profile,");
    EXPECT_EQ(row_of(13), "  Please choose now, how much memory (RAM) the game should be able to use.");
    EXPECT_EQ(row_of(17), "  1 ( ):   1 MiB        64-bit:       a ( ):   4 GiB");
    EXPECT_EQ(row_of(23), "  7 ( ):   1 GiB                      g (*): 256 GiB");
    EXPECT_EQ(screen().attr_at(39, 23), 0x1E);
}

TEST(Configuration, AChangeRewritesTheOldAndTheNewEntry) {
    console::ScopedVirtualConsole s;
    s.vc.ext(RIGHT);
    EXPECT_EQ(run_from(8, s), 15);
    EXPECT_EQ(row_of(24), "  8 ( ):   2 GiB");
    EXPECT_EQ(screen().attr_at(3, 24), 0x1F);
    EXPECT_EQ(screen().text(39, 23, 14), "g (*): 256 GiB");
    EXPECT_EQ(screen().attr_at(52, 23), 0x1E);
    EXPECT_EQ(console::where_x(), 39);
    EXPECT_EQ(console::where_y(), 23);
    // only one entry is ever marked
    int marks = 0;
    for (int r = 17; r <= 24; ++r)
        for (int c : {3, 39})
            if (screen().text(c + 3, r, 1) == "*") ++marks;
    EXPECT_EQ(marks, 1);
}
