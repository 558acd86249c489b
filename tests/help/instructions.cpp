#include <gtest/gtest.h>

#include <string>

#include "console/keys.h"
#include "console/virtual_console.h"
#include "help/instruction_pages.h"
#include "help/zqd.h"
#include "help/zqe.h"
#include "support/screen_check.h"

using console::screen;

namespace {

using console::key::scan::PGUP, console::key::scan::PGDN, console::key::scan::UP;

// Every page fits the screen: at most 25 rows of at most 80 plain ASCII characters.
void expect_fits(help::Page page, const char* what) {
    EXPECT_LE(page.size(), 25u) << what;
    for (std::string_view line : page) {
        std::size_t visible = 0;
        for (char c : line) {
            EXPECT_TRUE(static_cast<unsigned char>(c) >= 32 && static_cast<unsigned char>(c) < 127) << what;
            if (c != '~') ++visible;
        }
        EXPECT_LE(visible, 80u) << what << ": " << line;
    }
}

}  // namespace

TEST(Instructions, EveryPageFitsTheScreen) {
    expect_fits(zqd::short_page(), "short de");
    expect_fits(zqe::short_page(), "short en");
    ASSERT_EQ(zqd::detailed_pages().size(), 4u);
    ASSERT_EQ(zqe::detailed_pages().size(), 4u);
    for (help::Page p : zqd::detailed_pages()) expect_fits(p, "detailed de");
    for (help::Page p : zqe::detailed_pages()) expect_fits(p, "detailed en");
}

TEST(Instructions, DrawPageSwitchesTheEmphasis) {
    console::ScopedVirtualConsole s;
    const std::string_view lines[] = {"ab~cd~ef", "", "~x~"};
    help::draw_page(lines, 0x1F, 0x1E);
    EXPECT_EQ(row_of(1), "abcdef");
    EXPECT_EQ(screen().attr_at(2, 1), 0x1F);
    EXPECT_EQ(screen().attr_at(3, 1), 0x1E);
    EXPECT_EQ(screen().attr_at(4, 1), 0x1E);
    EXPECT_EQ(screen().attr_at(5, 1), 0x1F);
    EXPECT_EQ(screen().attr_at(80, 2), 0x1F);  // cleared in the normal attribute
    EXPECT_EQ(row_of(3), "x");
    EXPECT_EQ(screen().attr_at(1, 3), 0x1E);
    EXPECT_EQ(console::text_attr(), 0x1F);
}

TEST(Instructions, ShortPageLeavesOnAnOrdinaryKeyButBackspace) {
    console::ScopedVirtualConsole s;
    // Backspace and a cursor key are ignored; 'x' leaves
    s.vc.key(8).ext(UP).keys("x").keys("y");
    zqd::KURZANLEITUNGD(0x1F, 0x1E);
    EXPECT_EQ(s.vc.pending(), 1u);  // the 'y' is left over
    EXPECT_EQ(row_of(1), "                            ***  Spielregeln !  ***");
    EXPECT_EQ(screen().attr_at(29, 1), 0x1E);
    EXPECT_EQ(screen().attr_at(1, 3), 0x1F);

    console::ScopedVirtualConsole t;
    t.vc.ext(PGUP).ext(PGDN).keys("y");
    zqe::KURZANLEITUNGE(0x1F, 0x1E);
    EXPECT_EQ(t.vc.pending(), 1u);  // PgDn left
    EXPECT_EQ(row_of(1), "                         ***  Rules of the game !  ***");

    for (unsigned char k : {27, 3, 13}) {
        console::ScopedVirtualConsole u;
        u.vc.key(k);
        zqe::KURZANLEITUNGE(0x1F, 0x1E);
        EXPECT_EQ(u.vc.pending(), 0u);
    }
}

TEST(Instructions, ShortPageGermanRows) {
    console::ScopedVirtualConsole s;
    s.vc.keys("x");
    zqd::KURZANLEITUNGD(0x1F, 0x1E);
    EXPECT_EQ(row_of(2), "");
    EXPECT_EQ(row_of(3).substr(0, 2), "  ");  // paragraphs open with two blanks
    EXPECT_NE(row_of(9).find("abc gegen acd"), std::string::npos);
    EXPECT_NE(row_of(16).find("a*b gegen abc ergibt P=1 und Z=1"), std::string::npos);
    EXPECT_NE(row_of(14).find("\"F4\""), std::string::npos);
}

TEST(Instructions, PagingForwardBackAndOut) {
    console::ScopedVirtualConsole s;
    // page 1: Backspace and PgUp do nothing; x -> 2; x -> 3; Backspace -> 2;
    // PgUp -> 1; PgDn -> 2; Esc leaves on page 2.
    s.vc.key(8).ext(PGUP).keys("xx").key(8).ext(PGUP).ext(PGDN).key(27).keys("z");
    zqd::SPIELANLEITUNGD(0x1F, 0x1E);
    EXPECT_EQ(s.vc.pending(), 1u);
    EXPECT_EQ(row_of(1), "             Die vorliegende wesentlich erweiterte Computerversion:");
    EXPECT_EQ(screen().attr_at(14, 1), 0x1E);
}

TEST(Instructions, FirstPageIgnoresBackspaceAndLeavesOnEsc) {
    console::ScopedVirtualConsole s;
    s.vc.key(8).ext(PGUP).ext(UP).key(3).keys("z");
    zqe::SPIELANLEITUNGE(0x1F, 0x1E);
    EXPECT_EQ(s.vc.pending(), 1u);
    EXPECT_EQ(row_of(1), "                            ***  Zentrovalquist  ***");
    EXPECT_EQ(row_of(7), "                               Course of the game:");
    EXPECT_EQ(screen().attr_at(32, 7), 0x1E);
    EXPECT_EQ(row_of(16), "     Example:  Code 2934, trial 2473.");
    EXPECT_EQ(screen().attr_at(6, 16), 0x1E);
    EXPECT_EQ(screen().attr_at(15, 16), 0x1F);
    EXPECT_NE(row_of(17).find("=> P=1."), std::string::npos);
    EXPECT_NE(row_of(18).find("=> S=1+1=2."), std::string::npos);
}

TEST(Instructions, LastPageLeavesOnAnyOrdinaryKeyOrPgDn) {
    {
        console::ScopedVirtualConsole s;
        s.vc.keys("xxx").ext(UP).ext(PGDN).keys("z");
        zqd::SPIELANLEITUNGD(0x1F, 0x1E);
        EXPECT_EQ(s.vc.pending(), 1u);
        EXPECT_EQ(row_of(1), "          Hier das Spiel noch einmal im Ueberblick:");
        EXPECT_EQ(row_of(3), "          Nr.  Code  P  Z");
        EXPECT_EQ(row_of(4), "           1    ba   1  0");
        EXPECT_EQ(row_of(5), "           2    bb   0  0");
        EXPECT_EQ(row_of(6), "           3    aa   2  0");
        EXPECT_EQ(row_of(7), "          Loesung: aa   benoetigte Versuche: 3");
        EXPECT_EQ(screen().attr_at(11, 1), 0x1E);
        EXPECT_EQ(screen().attr_at(11, 3), 0x1F);
    }
    {
        console::ScopedVirtualConsole s;
        s.vc.keys("xxx").key(27).keys("z");
        zqe::SPIELANLEITUNGE(0x1F, 0x1E);
        EXPECT_EQ(s.vc.pending(), 1u);
        EXPECT_EQ(row_of(3), "          No.  Code  P  S");
        EXPECT_EQ(row_of(7), "          Solution: aa   Trials made: 3");
    }
    {
        // Backspace on the last page goes back to page 3, redrawn from the top
        console::ScopedVirtualConsole s;
        s.vc.keys("xxx").key(8).key(27);
        zqe::SPIELANLEITUNGE(0x1F, 0x1E);
        EXPECT_EQ(s.vc.pending(), 0u);
        EXPECT_EQ(row_of(1), "");
        EXPECT_NE(row_of(2).find("fixed code"), std::string::npos);
        EXPECT_EQ(row_of(20), "");  // nothing of page 4 is left below
    }
}

TEST(Instructions, PagingThroughEveryPageOfBothLanguages) {
    for (bool german : {true, false}) {
        console::ScopedVirtualConsole s;
        s.vc.ext(PGDN).ext(PGDN).ext(PGDN).ext(PGDN).keys("z");
        if (german)
            zqd::SPIELANLEITUNGD(0x70, 0x7F);
        else
            zqe::SPIELANLEITUNGE(0x70, 0x7F);
        EXPECT_EQ(s.vc.pending(), 1u);
        EXPECT_EQ(screen().attr_at(80, 25), 0x70);
        EXPECT_NE(row_of(1).find(german ? "Ueberblick" : "review"), std::string::npos);
    }
}
