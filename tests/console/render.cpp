// The renderer's output, played back on a small model of an ANSI terminal
// (auto-wrap off, as the real terminal is set): what the model then shows
// must be the shadow screen, cell by cell and colour by colour.
#include <gtest/gtest.h>

#include <string>

#include "console/console.h"
#include "console/screen_render.h"

using console::COLS;
using console::ROWS;
using console::Screen;
using console::ScreenRenderer;

namespace {

struct ModelTerminal {
    char ch[ROWS][COLS];
    int attr[ROWS][COLS];
    int x = 1, y = 1;
    int fg = -1, bg = -1;  // -1: the terminal's own default colours
    int printed = 0;       // characters drawn by the last play()
    bool default_colour_used = false;

    ModelTerminal() {
        for (auto& r : ch)
            for (auto& c : r) c = '#';
        for (auto& r : attr)
            for (auto& a : r) a = -1;
    }

    static int cga_of_ansi(int a) {
        static const int map[8] = {0, 4, 2, 6, 1, 5, 3, 7};
        return map[a];
    }

    void sgr(const std::string& params) {
        std::size_t i = 0;
        while (i <= params.size()) {
            std::size_t j = params.find(';', i);
            if (j == std::string::npos) j = params.size();
            const int v = j > i ? std::stoi(params.substr(i, j - i)) : 0;
            if (v == 0) fg = bg = -1;
            else if (v >= 30 && v <= 37) fg = cga_of_ansi(v - 30);
            else if (v >= 90 && v <= 97) fg = 8 + cga_of_ansi(v - 90);
            else if (v >= 40 && v <= 47) bg = cga_of_ansi(v - 40);
            else ADD_FAILURE() << "unexpected SGR " << v;
            i = j + 1;
        }
    }

    void play(const std::string& out) {
        printed = 0;
        for (std::size_t i = 0; i < out.size(); ++i) {
            const unsigned char c = static_cast<unsigned char>(out[i]);
            if (c == 27) {
                ASSERT_LT(i + 1, out.size());
                ASSERT_EQ(out[i + 1], '[') << "only CSI sequences expected";
                std::size_t j = i + 2;
                while (j < out.size() && !(out[j] >= 0x40 && out[j] <= 0x7e)) ++j;
                ASSERT_LT(j, out.size()) << "unterminated sequence";
                const std::string params = out.substr(i + 2, j - i - 2);
                const char final = out[j];
                if (final == 'H') {
                    const auto semi = params.find(';');
                    ASSERT_NE(semi, std::string::npos);
                    y = std::stoi(params.substr(0, semi));
                    x = std::stoi(params.substr(semi + 1));
                    ASSERT_TRUE(x >= 1 && x <= COLS && y >= 1 && y <= ROWS) << params;
                } else if (final == 'm') {
                    sgr(params);
                } else if (final == 'h' || final == 'l') {
                    EXPECT_EQ(params, "?25") << "only cursor visibility expected";
                } else {
                    ADD_FAILURE() << "unexpected sequence final " << final;
                }
                i = j;
                continue;
            }
            ASSERT_TRUE(c >= 32 && c < 127) << "raw control or non-ASCII byte " << int(c);
            if (fg < 0 || bg < 0) default_colour_used = true;
            ch[y - 1][x - 1] = static_cast<char>(c);
            attr[y - 1][x - 1] = fg < 0 || bg < 0 ? -1 : (bg << 4) | fg;
            ++printed;
            if (x < COLS) ++x;  // auto-wrap off: the last column keeps the cursor
        }
    }

    void expect_shows(const Screen& s) const {
        int bad = 0;
        for (int r = 1; r <= ROWS && bad < 5; ++r)
            for (int c = 1; c <= COLS && bad < 5; ++c) {
                const auto& cell = s.at(c, r);
                const char want = static_cast<unsigned char>(cell.ch) >= 32 && static_cast<unsigned char>(cell.ch) < 127
                                      ? cell.ch
                                      : (cell.ch == 0 ? ' ' : '?');
                if (ch[r - 1][c - 1] != want || attr[r - 1][c - 1] != (cell.attr & 0x7f)) {
                    ADD_FAILURE() << "cell (" << c << ", " << r << ") shows '" << ch[r - 1][c - 1] << "'/"
                                  << attr[r - 1][c - 1] << ", shadow has '" << want << "'/" << int(cell.attr);
                    ++bad;
                }
            }
        EXPECT_EQ(x, s.where_x());
        EXPECT_EQ(y, s.where_y());
    }
};

}  // namespace

TEST(Sgr, CgaColoursMapToTerminalColours) {
    auto sgr = [](int a) {
        std::string s;
        console::append_sgr(static_cast<std::uint8_t>(a), s);
        return s;
    };
    EXPECT_EQ(sgr(0x1F), "\x1b[97;44m");  // white on blue, the default normal colours
    EXPECT_EQ(sgr(0x1E), "\x1b[93;44m");  // yellow on blue
    EXPECT_EQ(sgr(0x07), "\x1b[37;40m");  // light grey on black
    EXPECT_EQ(sgr(0x06), "\x1b[33;40m");  // brown
    EXPECT_EQ(sgr(0x43), "\x1b[36;41m");  // cyan on red
    EXPECT_EQ(sgr(0x25), "\x1b[35;42m");  // magenta on green
    EXPECT_EQ(sgr(0x70), "\x1b[30;47m");  // black on light grey
    EXPECT_EQ(sgr(0x6C), "\x1b[91;43m");  // light red on brown
    EXPECT_EQ(sgr(0x38), "\x1b[90;46m");  // dark grey on cyan
    EXPECT_EQ(sgr(0x9F), "\x1b[97;44m") << "the blink bit is not a colour";
}

TEST(Render, FirstRenderPaintsEveryCellInItsOwnColours) {
    Screen s;
    s.set_attr(0x1F);
    s.clear();
    s.goto_xy(5, 3);
    s.set_attr(0x1E);
    s.write("Hallo");
    s.set_attr(0x1F);
    s.goto_xy(80, 25);
    s.put('Z');  // the bottom right cell
    s.goto_xy(10, 12);

    ScreenRenderer r;
    std::string out;
    r.render(s, out);
    ModelTerminal t;
    t.play(out);
    EXPECT_EQ(t.printed, COLS * ROWS);
    EXPECT_FALSE(t.default_colour_used);
    t.expect_shows(s);
}

TEST(Render, LaterRendersSendOnlyTheChangedCells) {
    Screen s;
    s.set_attr(0x1F);
    s.clear();
    s.write("Zeile eins\n");
    ScreenRenderer r;
    ModelTerminal t;
    std::string out;
    r.render(s, out);
    t.play(out);

    out.clear();
    r.render(s, out);
    t.play(out);
    EXPECT_EQ(t.printed, 0) << "nothing changed, nothing drawn";

    s.goto_xy(40, 20);
    s.set_attr(0x4E);
    s.write("ab");
    s.goto_xy(1, 1);
    s.set_attr(0x1F);
    s.write("Q");  // same attribute, other character
    s.goto_xy(2, 2);
    out.clear();
    r.render(s, out);
    t.play(out);
    EXPECT_EQ(t.printed, 3);
    t.expect_shows(s);

    // a cell that only changes colour is redrawn too
    s.goto_xy(41, 20);
    s.set_attr(0x1E);
    s.write("b");
    out.clear();
    r.render(s, out);
    t.play(out);
    EXPECT_EQ(t.printed, 1);
    t.expect_shows(s);
}

TEST(Render, CursorMoveAloneIsSent) {
    Screen s;
    s.clear();
    ScreenRenderer r;
    ModelTerminal t;
    std::string out;
    r.render(s, out);
    t.play(out);
    s.goto_xy(33, 7);
    out.clear();
    r.render(s, out);
    t.play(out);
    EXPECT_EQ(t.printed, 0);
    EXPECT_EQ(t.x, 33);
    EXPECT_EQ(t.y, 7);
}

TEST(Render, InvalidateRepaintsEverything) {
    Screen s;
    s.set_attr(0x2A);
    s.clear();
    s.write("x");
    ScreenRenderer r;
    std::string out;
    r.render(s, out);
    r.invalidate();
    out.clear();
    r.render(s, out);
    ModelTerminal fresh;  // a terminal that lost its contents
    fresh.play(out);
    EXPECT_EQ(fresh.printed, COLS * ROWS);
    fresh.expect_shows(s);
}

TEST(Render, ScrolledScreenAndOddCharactersStayInStep) {
    Screen s;
    s.set_attr(0x17);
    s.clear();
    ScreenRenderer r;
    ModelTerminal t;
    std::string out;
    r.render(s, out);
    t.play(out);
    for (int i = 0; i < 30; ++i) {
        s.write("line ");
        s.put(static_cast<char>('a' + i % 26));
        s.put('\n');
    }
    s.put('\xe4');  // never sent as it is: the game's output is 7-bit
    s.put('\t');
    out.clear();
    r.render(s, out);
    t.play(out);
    t.expect_shows(s);
}
