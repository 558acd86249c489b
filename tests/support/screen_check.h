// Reading the virtual screen back: row texts and the stretches written in a
// given attribute.
#pragma once

#include <string>
#include <vector>

#include "console/console.h"

// The row without its trailing blanks.
inline std::string row_of(int row) {
    std::string s = console::screen().row_text(row);
    return s.substr(0, s.find_last_not_of(' ') + 1);
}

// The stretches of a row written in attribute a, left to right.
inline std::vector<std::string> runs_in(int row, std::uint8_t a) {
    std::vector<std::string> r;
    std::string cur;
    for (int c = 1; c <= console::COLS; ++c) {
        const auto& cell = console::screen().at(c, row);
        if (cell.attr == a) {
            cur += cell.ch;
        } else if (!cur.empty()) {
            r.push_back(cur);
            cur.clear();
        }
    }
    if (!cur.empty()) r.push_back(cur);
    return r;
}
