#include <gtest/gtest.h>

#include "console/virtual_console.h"
#include "engine/zqspiel.h"
#include "frame/frame.h"
#include "support/screen_check.h"

using namespace zqspiel;
using V = std::vector<std::string>;

namespace {

struct Page : ::testing::Test {
    console::ScopedVirtualConsole s;
    void SetUp() override {
        NORMALFARBE = 0x1F;
        HERVORFARBE = 0x1E;
        console::text_attr(NORMALFARBE);
        console::clr_scr();
    }
    void every_cell_plain_ascii_in_the_two_attributes() {
        for (int r = 1; r <= 25; ++r)
            for (int c = 1; c <= 80; ++c) {
                const auto& cell = console::screen().at(c, r);
                ASSERT_TRUE(cell.ch >= 32 && cell.ch < 127) << c << "," << r;
                ASSERT_TRUE(cell.attr == NORMALFARBE || cell.attr == HERVORFARBE) << c << "," << r;
            }
    }
};

}  // namespace

// The pages are fixed text; what can go wrong is the emphasis of the key
// names, the line structure and the last row, which must not scroll.
TEST_F(Page, EnglishTitlePage) {
    frame::TITELE();
    every_cell_plain_ascii_in_the_two_attributes();
    EXPECT_EQ(row_of(1), "                             Operating instructions:");
    EXPECT_EQ(runs_in(1, HERVORFARBE), V{row_of(1)});  // the heading line as a whole
    EXPECT_EQ(runs_in(4, HERVORFARBE), (V{"'CR'", "'Enter'"}));
    EXPECT_EQ(row_of(6), " - With 'Esc'/'Escape' you always can escape from the program, if you do not");
    EXPECT_EQ(runs_in(6, HERVORFARBE), (V{"'Esc'", "'Escape'"}));
    EXPECT_EQ(runs_in(8, HERVORFARBE), (V{"'Backspace'", "'<--'", "'Ctrl H'", "'Strg H'", "'PgUp'"}));
    EXPECT_EQ(runs_in(9, HERVORFARBE), V{"any other key"});
    EXPECT_EQ(runs_in(11, HERVORFARBE), V{"'Num'"});
    EXPECT_EQ(runs_in(16, HERVORFARBE), (V{"cursorkeys '<-'", "'->'"}));
    EXPECT_EQ(runs_in(17, HERVORFARBE), (V{"' '", "'*'"}));
    EXPECT_EQ(runs_in(19, HERVORFARBE), V{"                               Please choose now:"});
    EXPECT_EQ(row_of(21), " 1 - Change the language.        5 - The game starts.");
    EXPECT_TRUE(runs_in(21, HERVORFARBE).empty());
    EXPECT_EQ(row_of(25), " 4 - Lend colour to the game.    9 - End of the game.");
    EXPECT_EQ(console::where_y(), 25);
    EXPECT_EQ(console::where_x(), 79);
    EXPECT_EQ(console::text_attr(), NORMALFARBE);
}

TEST_F(Page, GermanTitlePage) {
    frame::TITELD();
    every_cell_plain_ascii_in_the_two_attributes();
    EXPECT_EQ(row_of(1), "                              Bedienungsanleitung:");
    EXPECT_EQ(runs_in(4, HERVORFARBE), (V{"\"CR\"", "\"Enter\""}));
    EXPECT_EQ(runs_in(8, HERVORFARBE), (V{"\"Backspace\"", "\"<--\"", "\"Ctrl H\"", "\"Strg H\"", "\"PgUp\""}));
    EXPECT_EQ(runs_in(9, HERVORFARBE), V{"Jeder andere Tastendruck"});
    EXPECT_EQ(row_of(15), " - Die Funktionstaste \"F4\" erzwingt eine baldige Beendigung des Ratevorganges.");
    EXPECT_EQ(runs_in(15, HERVORFARBE), (V{"\"F4\"", "baldige "}));
    EXPECT_EQ(runs_in(17, HERVORFARBE), (V{"\" \"", "\"*\""}));
    EXPECT_EQ(runs_in(19, HERVORFARBE), V{"                                Bitte waehlen Sie:"});
    EXPECT_EQ(row_of(25), " 4 - Bringen Sie Farbe ins Spiel.         9 - Programm beenden.");
    EXPECT_EQ(console::where_y(), 25);
}

TEST_F(Page, LanguageScreen) {
    s.vc.keys("d");
    frame::WAEHLE_SPRACHE();
    every_cell_plain_ascii_in_the_two_attributes();
    EXPECT_EQ(row_of(1), " ********  Zentrovalquist  ***  macOS - 64-Bit - Version  2025-06-21.  ********");
    EXPECT_EQ(runs_in(1, HERVORFARBE).size(), 1u);
    EXPECT_EQ(runs_in(1, HERVORFARBE)[0].size(), 79u);
    int in_german = 0;
    for (int r = 2; r <= 25; ++r)
        if (row_of(r) == " Deutsch:") in_german = r;
    ASSERT_GT(in_german, 3);
    EXPECT_EQ(runs_in(in_german, HERVORFARBE), V{" Deutsch:"});
    EXPECT_EQ(row_of(in_german + 1),
              " Wollen Sie \"Deutsch\" als Sprache waehlen, So druecken Sie bitte \"d\" oder \"D\".");
    EXPECT_EQ(row_of(in_german + 2), " Wollen Sie das Programm beenden, So druecken Sie bitte \"Esc\"/\"Escape\".");
    EXPECT_EQ(row_of(in_german + 3), "");
    EXPECT_EQ(row_of(in_german + 4), " English:");
    EXPECT_EQ(runs_in(in_german + 4, HERVORFARBE), V{" English:"});
    EXPECT_EQ(row_of(in_german + 5), " To choose 'English' as language, please press 'e' or 'E'.");
    EXPECT_EQ(row_of(in_german + 6), " To leave the program, please press 'Esc'/'Escape'.");
    EXPECT_EQ(console::where_y(), in_german + 6);  // no line feed after the last line
    EXPECT_TRUE(frame::SPRACHE_DEUTSCH);
    EXPECT_EQ(frame::KEY, 'd');
}

TEST_F(Page, LanguageKeys) {
    struct Case {
        std::vector<int> keys;  // -n: extended key with scan code n
        bool in_german;
        unsigned char pressed_key;
        std::size_t left;
    } cases[] = {
        {{'E'}, false, 'e', 0},
        {{'x', 'q', 13, 8, 'd', 'e'}, true, 'd', 1},
        {{3}, true, 27, 0},  // Ctrl-C is Esc
        {{'e', 27}, false, 'e', 1},
        {{27}, true, 27, 0},
        {{-18, -32, 'D'}, true, 'd', 0},  // the scan codes of Alt-E and Alt-D are no choice
    };
    for (const Case& c : cases) {
        frame::SPRACHE_DEUTSCH = !c.in_german;
        for (int k : c.keys) {
            if (k < 0) s.vc.ext(static_cast<unsigned char>(-k));
            else s.vc.key(static_cast<unsigned char>(k));
        }
        frame::WAEHLE_SPRACHE();
        EXPECT_EQ(frame::SPRACHE_DEUTSCH, c.in_german);
        EXPECT_EQ(frame::KEY, c.pressed_key);
        EXPECT_EQ(s.vc.pending(), c.left);
        while (s.vc.pending() > 0) s.vc.read_key();
    }
}
