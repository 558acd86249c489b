// The name normaliser.
#include "engine/setup/names.h"

#include <algorithm>

namespace zqspiel {

namespace {

bool upper(char c) { return c >= 'A' && c <= 'Z'; }
bool lower(char c) { return c >= 'a' && c <= 'z'; }
bool separator(char c) { return c == ' ' || c == '-'; }

// Opens a gap at position i (1..31) for one character; what stood at 31 is lost.
void open_gap(NAMENSFELD& name, int i) {
    for (int j = 31; j > i; --j) name[j] = name[j - 1];
}

}  // namespace

void CLEAR_NAME(NAMENSFELD& name) {
    name[0] = ' ';
    name[32] = ' ';
    for (int i = 1; i <= 31; ++i) {
        char& c = name[i];
        if (c == ' ' || c == '-' || c == '.' || lower(c)) continue;
        if (c == ':') c = '.';
        else if (c == '_') c = '-';
        else if (upper(c)) c = static_cast<char>(c - 'A' + 'a');
        else c = ' ';
    }

    for (int i = 1; i <= 31; ++i) {
        const char prev = name[i - 1];
        char& cur = name[i];
        // A one-letter word is an initial: its period goes in before the
        // separator, which moves on, so no letter of the next word is lost.
        if (upper(prev) && separator(cur)) {
            open_gap(name, i);
            cur = '.';
            continue;
        }
        if (prev == '.' && cur != '-') {
            // A period is followed by a blank; a letter directly after it
            // starts the next word one place on instead of being dropped.
            if (cur != ' ') open_gap(name, i);
            cur = ' ';
            continue;
        }
        if (separator(prev) && lower(cur)) {
            cur = static_cast<char>(cur - 'a' + 'A');
            continue;
        }
        if (separator(prev) && (separator(cur) || cur == '.')) {
            // The name ends at the first doubled separator.
            std::fill(name.begin() + (i - 1), name.begin() + 32, ' ');
            break;
        }
    }

    if (name[31] == '-') name[31] = ' ';
    if (separator(name[30])) {
        name[30] = ' ';
        name[31] = ' ';
    }
    name[0] = ' ';
    name[32] = ' ';
}

void NAMEOK(bool swap) {
    CLEAR_NAME(X.NAME1);
    CLEAR_NAME(X.NAME2);
    if (swap) std::swap_ranges(X.NAME1.begin() + 1, X.NAME1.begin() + 32, X.NAME2.begin() + 1);
}

}  // namespace zqspiel
