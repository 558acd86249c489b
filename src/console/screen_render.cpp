#include "console/screen_render.h"

#include <cstring>

namespace console {

namespace {

// CGA colour number -> ANSI colour number
constexpr int ANSI_OF_CGA[8] = {0, 4, 2, 6, 1, 5, 3, 7};

void append_int(int v, std::string& out) {
    char buf[12];
    int n = 0;
    do {
        buf[n++] = static_cast<char>('0' + v % 10);
        v /= 10;
    } while (v > 0);
    while (n > 0) out += buf[--n];
}

}  // namespace

void append_sgr(std::uint8_t attr, std::string& out) {
    const int fg = attr & 15;
    const int bg = (attr >> 4) & 7;
    out += "\x1b[";
    append_int(fg < 8 ? 30 + ANSI_OF_CGA[fg] : 90 + ANSI_OF_CGA[fg - 8], out);
    out += ';';
    append_int(40 + ANSI_OF_CGA[bg], out);
    out += 'm';
}

char shown_char(char c) {
    const auto u = static_cast<unsigned char>(c);
    if (u >= 32 && u < 127) return c;
    if (u == 0) return ' ';
    return '?';
}

void ScreenRenderer::move_to(int col, int row, std::string& out) {
    if (cur_x_ == col && cur_y_ == row) return;
    out += "\x1b[";
    append_int(row, out);
    out += ';';
    append_int(col, out);
    out += 'H';
    cur_x_ = col;
    cur_y_ = row;
}

void ScreenRenderer::render(const Screen& want, std::string& out) {
    const bool full = !valid_;
    if (full) {
        out += "\x1b[0m";  // drop bold, underline and the like left by others
        cur_attr_ = -1;
        cur_x_ = cur_y_ = 0;
    }
    bool cursor_hidden = false;
    static_assert(sizeof(Cell) == 2, "rows are compared as bytes");
    for (int r = 1; r <= ROWS; ++r) {
        // Most flushes change a few cells or none: whole unchanged rows are
        // passed over with one comparison.
        if (!full && std::memcmp(shown_[r - 1], want.cells[r - 1], sizeof shown_[0]) == 0) continue;
        for (int c = 1; c <= COLS; ++c) {
            const Cell& w = want.at(c, r);
            Cell& s = shown_[r - 1][c - 1];
            if (!full && s.ch == w.ch && s.attr == w.attr) continue;
            if (!cursor_hidden) {
                // keeps the cursor from flickering across the screen while drawing
                out += "\x1b[?25l";
                cursor_hidden = true;
            }
            move_to(c, r, out);
            if (cur_attr_ != w.attr) {
                append_sgr(w.attr, out);
                cur_attr_ = w.attr;
            }
            out += shown_char(w.ch);
            s = w;
            // Auto-wrap is off, so the cursor stays put on the last column;
            // treating it as unknown there costs one move and is always right.
            if (c < COLS) {
                cur_x_ = c + 1;
            } else {
                cur_x_ = cur_y_ = 0;
            }
        }
    }
    move_to(want.where_x(), want.where_y(), out);
    if (cursor_hidden) out += "\x1b[?25h";
    valid_ = true;
}

}  // namespace console
