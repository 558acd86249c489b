#include "datetools/colours.h"

#include <gtest/gtest.h>

#include <string>

#include "console/virtual_console.h"
#include "datetools/zuf.h"

using console::screen;

namespace {

struct Pair {
    std::uint8_t normal, highlight;
};

Pair run(console::ScopedVirtualConsole& s, bool colour, Pair p, bool german = false) {
    s.vc.key(13);
    zuf::TEXTFARBE(german, colour, p.normal, p.highlight);
    EXPECT_EQ(s.vc.pending(), 0u);
    return p;
}

}  // namespace

TEST(TextColour, LeavingAtOnceKeepsThePair) {
    for (unsigned char end : {13, 27, 3}) {
        console::ScopedVirtualConsole s;
        std::uint8_t n = 0x1F, h = 0x1E;
        s.vc.key(end);
        zuf::TEXTFARBE(true, true, n, h);
        EXPECT_EQ(n, 0x1F);
        EXPECT_EQ(h, 0x1E);
        EXPECT_EQ(s.vc.pending(), 0u);
    }
}

TEST(TextColour, ColourScreenKeyMapping) {
    console::ScopedVirtualConsole s;
    // 2 is the background in use (ignored); 1 gives black; p is the standard
    // colour already (ignored); o gives grey text, P bright white emphasis.
    s.vc.keys("21poP");
    const Pair p = run(s, true, {0x1F, 0x1E});
    EXPECT_EQ(p.normal, 0x07);
    EXPECT_EQ(p.highlight, 0x0F);
}

TEST(TextColour, PSetsBrightWhiteForEitherText) {
    console::ScopedVirtualConsole t;
    t.vc.keys("p");
    EXPECT_EQ(run(t, true, {0x12, 0x1E}).normal, 0x1F);
    console::ScopedVirtualConsole u;
    u.vc.keys("P");
    EXPECT_EQ(run(u, true, {0x12, 0x1E}).highlight, 0x1F);
}

TEST(TextColour, RefusesWhatWouldMakeTextInvisible) {
    console::ScopedVirtualConsole s;
    // 3 (background green) equals the standard colour; 7 (background 6, brown)
    // equals the emphasised colour; c and C are the blue of the background;
    // digits 9, 0 and letters past p are not offered; extended keys are ignored.
    s.vc.keys("37cC90qQ").ext(72);
    const Pair p = run(s, true, {0x12, 0x16});
    EXPECT_EQ(p.normal, 0x12);
    EXPECT_EQ(p.highlight, 0x16);
}

TEST(TextColour, BackgroundChangesBothAttributes) {
    console::ScopedVirtualConsole s;
    s.vc.keys("5");
    const Pair p = run(s, true, {0x1F, 0x1E});
    EXPECT_EQ(p.normal, 0x4F);
    EXPECT_EQ(p.highlight, 0x4E);
    EXPECT_EQ(screen().attr_at(42, 4), 0x4F);  // the panel shows the new colours
    EXPECT_EQ(screen().attr_at(50, 6), 0x4E);
    EXPECT_EQ(screen().attr_at(41, 3), 0x4F);
    EXPECT_EQ(console::text_attr(), 0x4F);
}

TEST(TextColour, BlackAndWhiteOffersOnlyItsKeys) {
    console::ScopedVirtualConsole s;
    // 3 and d are not offered; 2 gives the grey background: the grey standard
    // text turns black, the white emphasis stays bright white.
    s.vc.keys("3d2");
    const Pair p = run(s, false, {0x07, 0x0F});
    EXPECT_EQ(p.normal, 0x70);
    EXPECT_EQ(p.highlight, 0x7F);
}

TEST(TextColour, BlackAndWhiteKeepsThePairReadable) {
    {
        console::ScopedVirtualConsole s;  // both black on grey: on black both turn grey
        s.vc.keys("1");
        const Pair p = run(s, false, {0x70, 0x70});
        EXPECT_EQ(p.normal, 0x07);
        EXPECT_EQ(p.highlight, 0x07);
    }
    {
        console::ScopedVirtualConsole s;  // one black attribute turns white beside a grey one
        s.vc.keys("1");
        const Pair p = run(s, false, {0x70, 0x77 & 0x7F});
        EXPECT_EQ(p.normal, 0x0F);
        EXPECT_EQ(p.highlight, 0x07);
    }
    {
        console::ScopedVirtualConsole s;  // grey on grey twice becomes black on grey
        s.vc.keys("2");
        const Pair p = run(s, false, {0x07, 0x07});
        EXPECT_EQ(p.normal, 0x70);
        EXPECT_EQ(p.highlight, 0x70);
    }
    {
        console::ScopedVirtualConsole s;  // letters: c gives white, b is the grey background
        s.vc.keys("bcB");
        const Pair p = run(s, false, {0x70, 0x70});
        EXPECT_EQ(p.normal, 0x7F);
        EXPECT_EQ(p.highlight, 0x70);
    }
}

TEST(TextColour, TableOfKeysOnAColourScreen) {
    console::ScopedVirtualConsole s;
    run(s, true, {0x1F, 0x1E}, true);
    EXPECT_EQ(screen().text(1, 3, 40), std::string(40, '_'));
    EXPECT_EQ(screen().text(1, 4, 40), "|Ziffer fuer| gewuenschte  | Buchstabe |");
    EXPECT_EQ(screen().text(1, 5, 40), "|Hintergrund|    Farbe     | fuer Text |");
    EXPECT_EQ(screen().text(1, 7, 40), "|        1  |              |  a/A      |");
    EXPECT_EQ(screen().text(1, 8, 40), "|           |**************|  b/B      |");
    EXPECT_EQ(screen().text(1, 21, 40), "|        8  |**************|  o/O      |");
    EXPECT_EQ(screen().text(1, 22, 40), "|           |**************|  p/P      |");
    EXPECT_EQ(screen().text(1, 23, 40), "|___________|______________|___________|");
    EXPECT_EQ(screen().attr_at(14, 7), 0x00);
    EXPECT_EQ(screen().attr_at(14, 8), 8);
    EXPECT_EQ(screen().attr_at(14, 9), 1);
    EXPECT_EQ(screen().attr_at(14, 22), 15);
    EXPECT_EQ(screen().attr_at(1, 7), 7);
    EXPECT_EQ(screen().attr_at(30, 22), 7);
}

TEST(TextColour, TableOfKeysOnABlackAndWhiteScreen) {
    console::ScopedVirtualConsole s;
    run(s, false, {0x07, 0x0F});
    EXPECT_EQ(screen().text(1, 8, 40), std::string(40, ' '));
    EXPECT_EQ(screen().text(1, 10, 40), "|numeral for|    choosen   |  letter   |");
    EXPECT_EQ(screen().text(1, 13, 40), "|        1  |              |  a/A      |");
    EXPECT_EQ(screen().text(1, 14, 40), "|           |**************|  b/B      |");
    EXPECT_EQ(screen().text(1, 15, 40), "|        2  |**************|  c/C      |");
    EXPECT_EQ(screen().text(1, 16, 40), "|___________|______________|___________|");
    EXPECT_EQ(screen().attr_at(14, 14), 7);
    EXPECT_EQ(screen().attr_at(14, 15), 15);
}

TEST(TextColour, PanelLinesFitBetweenTheBars) {
    for (bool german : {true, false}) {
        console::ScopedVirtualConsole s;
        console::clr_scr();
        zuf::ZEIGE_FARBTEXT(german, zuf::PART_BACKGROUND, 0x1F, 0x1E);
        EXPECT_EQ(screen().text(41, 3, 40), std::string(40, '_'));
        for (int r = 4; r <= 22; ++r) {
            EXPECT_EQ(screen().text(41, r, 1), "|") << r;
            EXPECT_EQ(screen().text(80, r, 1), "|") << r;
            EXPECT_EQ(screen().text(1, r + 1, 1), " ") << "spilled over at row " << r;
        }
        EXPECT_EQ(screen().text(41, 23, 40), "|" + std::string(38, '_') + "|");
    }
}

TEST(TextColour, PanelRedrawsOnlyThePartThatChanged) {
    console::ScopedVirtualConsole s;
    console::clr_scr();
    zuf::ZEIGE_FARBTEXT(false, zuf::PART_BACKGROUND, 0x1F, 0x1E);
    EXPECT_EQ(screen().text(42, 6, 38), "and for emphasized text, so that you  ");
    EXPECT_EQ(screen().attr_at(49, 6), 0x1F);
    EXPECT_EQ(screen().attr_at(50, 6), 0x1E);
    EXPECT_EQ(screen().attr_at(64, 6), 0x1E);
    EXPECT_EQ(screen().attr_at(65, 6), 0x1F);

    // emphasised colour: only the emphasised words
    zuf::ZEIGE_FARBTEXT(false, zuf::PART_EMPHASIS, 0x1F, 0x1A);
    EXPECT_EQ(screen().attr_at(50, 6), 0x1A);
    EXPECT_EQ(screen().attr_at(42, 14), 0x1A);  // "capital letters for emphasized text"
    EXPECT_EQ(screen().attr_at(49, 6), 0x1F);
    EXPECT_EQ(screen().attr_at(41, 6), 0x1F);

    // standard colour: everything in the normal attribute, the emphasised words kept
    zuf::ZEIGE_FARBTEXT(false, zuf::PART_STANDARD, 0x17, 0x1A);
    EXPECT_EQ(screen().attr_at(49, 6), 0x17);
    EXPECT_EQ(screen().attr_at(42, 4), 0x17);
    EXPECT_EQ(screen().attr_at(41, 6), 0x17);
    EXPECT_EQ(screen().attr_at(79, 22), 0x17);
    EXPECT_EQ(screen().attr_at(50, 6), 0x1A);
    EXPECT_EQ(screen().attr_at(42, 19), 0x1A);  // "this text with emphasized textcolour"
}

TEST(TextColour, GermanPanelText) {
    console::ScopedVirtualConsole s;
    console::clr_scr();
    zuf::ZEIGE_FARBTEXT(true, zuf::PART_BACKGROUND, 0x1F, 0x1E);
    EXPECT_EQ(screen().text(41, 4, 40), "|Bitte stellen Sie eine Farbkombination|");
    EXPECT_EQ(screen().text(41, 13, 40), "|buchstaben fuer Standardtext, Gross-  |");
    EXPECT_EQ(screen().attr_at(72, 13), 0x1E);
    EXPECT_EQ(screen().attr_at(71, 13), 0x1F);
    EXPECT_EQ(screen().text(41, 22, 40), "|\"CR\"/\"ENTER\"                          |");
}
