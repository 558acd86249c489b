#include "console/console.h"

#include <cstdio>
#include <stdexcept>

namespace console {

namespace {
Console* g_active = nullptr;
}

void use(Console* c) { g_active = c; }

void write_plain(std::string_view s) {
    std::string text(s);
    for (char& c : text) {
        const auto u = static_cast<unsigned char>(c);
        if (c != '\n' && (u < 32 || u >= 127)) c = '?';
    }
    active().write_plain(text);
}

Console& active() {
    if (!g_active) throw std::logic_error("no console in use");
    return *g_active;
}

void Screen::clear() {
    for (auto& row : cells)
        for (auto& c : row) c = Cell{' ', attr_};
    x_ = 1;
    y_ = 1;
    ++version_;
}

void Screen::goto_xy(int col, int row) {
    if (col < 1 || col > COLS || row < 1 || row > ROWS) {
        ++outside_attempts;
        return;
    }
    // The clock puts the cursor back on every key test; an unchanged
    // position is no change the terminal needs to hear about.
    if (x_ == col && y_ == row) return;
    x_ = col;
    y_ = row;
    ++version_;
}

void Screen::line_feed() {
    if (y_ < ROWS) {
        ++y_;
        return;
    }
    for (int r = 0; r + 1 < ROWS; ++r)
        for (int c = 0; c < COLS; ++c) cells[r][c] = cells[r + 1][c];
    for (int c = 0; c < COLS; ++c) cells[ROWS - 1][c] = Cell{' ', attr_};
}

void Screen::put(char c) {
    ++version_;
    switch (c) {
        case '\n':
            x_ = 1;
            line_feed();
            return;
        case '\r':
            x_ = 1;
            return;
        case '\b':
            if (x_ > 1) --x_;
            return;
        case '\a':
            return;
        default:
            break;
    }
    cells[y_ - 1][x_ - 1] = Cell{c, attr_};
    if (x_ < COLS) {
        ++x_;
    } else if (y_ < ROWS) {
        x_ = 1;
        ++y_;
    }
    // The bottom right cell never scrolls the screen: the cursor stays on it.
}

std::string Screen::text(int col, int row, int len) const {
    std::string s;
    for (int i = 0; i < len && col + i <= COLS; ++i) s += at(col + i, row).ch;
    return s;
}

void write_num(long long n) {
    char buf[24];
    std::snprintf(buf, sizeof buf, "%lld", n);
    write(buf);
}

void Random::seed(std::uint64_t s) {
    // splitmix64 spreads any seed over the whole state
    for (auto& w : s_) {
        s += 0x9e3779b97f4a7c15ull;
        std::uint64_t z = s;
        z = (z ^ (z >> 30)) * 0xbf58476d1ce4e5b9ull;
        z = (z ^ (z >> 27)) * 0x94d049bb133111ebull;
        w = z ^ (z >> 31);
    }
}

std::uint16_t weekday_of(int year, int month, int day) {
    static const int t[] = {0, 3, 2, 5, 0, 3, 5, 1, 4, 6, 2, 4};
    if (month < 3) year -= 1;
    int w = (year + year / 4 - year / 100 + year / 400 + t[month - 1] + day) % 7;
    return static_cast<std::uint16_t>(w);
}

}  // namespace console
