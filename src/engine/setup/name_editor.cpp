#include "engine/setup/name_editor.h"

#include <string>

#include "console/console.h"
#include "console/keys.h"
#include "engine/setup/names.h"

namespace zqspiel {

namespace key = console::key;

namespace {

constexpr int NAME_COL = 38;   // column of name position 1
constexpr int OK_COL = 76;     // the "J"/"Y" of " O.K.? Ja." / " O.K.? Yes"

bool is_sep(char c) { return c == ' ' || c == '-'; }
bool is_upper(char c) { return c >= 'A' && c <= 'Z'; }
bool is_lower(char c) { return c >= 'a' && c <= 'z'; }

std::string name_text(const NAMENSFELD& n) { return std::string(&n[1], 31); }

// A key with its scan code swallowed: extended keys come back as 0.
unsigned char read_plain_key() {
    const unsigned char k = console::read_key();
    if (k == key::EXTENDED) console::read_key();
    return k;
}

// The typing part of the editor, from position p. Returns the key that ended
// it (the last key typed when the field ran full).
unsigned char type_name(NAMENSFELD& nm, int row, int p) {
    unsigned char k = ' ';
    console::goto_xy(NAME_COL - 1 + p, row);
    while (p <= 31) {
        k = read_plain_key();
        if (k == '_') k = '-';
        if (k == ':') k = '.';
        const char prev = nm[p - 1];
        const char c = static_cast<char>(k);

        if (k == key::ENTER || key::breaks_off(k)) {
            if (prev == '-') {
                nm[p - 1] = ' ';
                console::write("\b \b");
            } else if (p > 1 && is_upper(prev) && is_sep(nm[p - 2])) {
                // a one-letter word is an initial
                nm[p] = '.';
                console::write('.');
            }
            return k;
        }
        if (k == key::BACKSPACE) {
            if (p == 1) return k;
            if (prev == ' ' && nm[p - 2] == '.') {
                nm[p - 1] = ' ';
                nm[p - 2] = ' ';
                console::write("\b\b  \b\b");
                p -= 2;
            } else {
                nm[p - 1] = ' ';
                console::write("\b \b");
                p -= 1;
            }
            continue;
        }
        if (c == ' ' || c == '-') {
            if (p == 1) continue;
            if (is_sep(prev)) {
                if (prev != c) {
                    nm[p - 1] = c;
                    console::write('\b');
                    console::write(c);
                }
                continue;
            }
            if (p >= 30 || (p == 29 && is_upper(prev))) {
                if (is_upper(prev)) {
                    nm[p] = '.';
                    console::write('.');
                }
                return k;
            }
            if (is_upper(prev) && is_sep(nm[p - 2])) {
                nm[p] = '.';
                console::write('.');
                ++p;
            }
            nm[p] = c;
            console::write(c);
            ++p;
            continue;
        }
        if (c == '.') {
            if (is_sep(prev)) continue;
            nm[p] = '.';
            console::write('.');
            if (p >= 29) return k;
            nm[p + 1] = ' ';
            console::write(' ');
            p += 2;
            continue;
        }
        if (is_upper(c) || is_lower(c)) {
            const bool cap = is_sep(prev);
            char ch = c;
            if (cap && is_lower(ch)) ch = static_cast<char>(ch - 'a' + 'A');
            if (!cap && is_upper(ch)) ch = static_cast<char>(ch - 'A' + 'a');
            nm[p] = ch;
            console::write(ch);
            ++p;
            continue;
        }
        // anything else is ignored
    }
    return k;
}

// The confirmation key: 'j', 'n', Backspace, Ctrl-C or Esc.
unsigned char read_confirmation() {
    for (;;) {
        unsigned char k = read_plain_key();
        if (k == 'y' || k == 'Y' || k == 'J' || k == 'z' || k == 'Z' || k == key::ENTER) k = 'j';
        if (k == 'N') k = 'n';
        if (k == 'j' || k == 'n' || k == key::BACKSPACE || key::breaks_off(k)) return k;
    }
}

// Where typing resumes when the user steps back from the confirmation.
int resume_position(NAMENSFELD& nm, int row) {
    int q = 31;
    while (q >= 1 && nm[q] == ' ') --q;
    int p = q;
    if (q > 1) ++p;
    if (q >= 1 && nm[q] == '.') ++p;
    if (p > 31) p = 31;
    if (q == 30 && nm[30] == '.') {
        nm[30] = ' ';
        console::write_at(NAME_COL + 29, row, " ");
        p -= 1;
    } else if (q == 29 && nm[29] == '.') {
        nm[29] = ' ';
        console::write_at(NAME_COL + 28, row, " ");
        p -= 2;
    }
    if (p < 1) p = 1;
    console::goto_xy(NAME_COL - 1 + p, row);
    if (p == 31) {
        nm[31] = ' ';
        console::write(" \b");
    }
    return p;
}

}  // namespace

void SCHREIBE_NAME(bool first, bool second, bool swap) {
    NAMEOK(swap);
    if (first) console::write_at(NAME_COL, 23, name_text(X.NAME1));
    if (second) console::write_at(NAME_COL, 24, name_text(X.NAME2));
}

void SCHREIBE_PC(bool first, bool second) {
    const char* text = SP_D ? "*** Der Computer ***           " : "*** The computer ***           ";
    if (first) console::write_at(NAME_COL, 23, text);
    if (second) console::write_at(NAME_COL, 24, text);
}

void LESE_NAMEN(byte which, NAMENSFELD& name, unsigned char& key) {
    const int row = 22 + which;
    for (;;) {
        SCHREIBE_NAME(which == 1, which == 2, false);
        key = ' ';
        CLEAR_NAME(name);
        console::write_at(NAME_COL, row, name_text(name));
        console::goto_xy(NAME_COL, row);
        bool typing = name[1] == ' ';
        int p = 1;
        bool restart = false;
        while (!restart) {
            if (typing) {
                key = type_name(name, row, p);
                if (key == console::key::CTRL_C) key = console::key::CTRL_B;
                CLEAR_NAME(name);
                if (key == console::key::BACKSPACE || key == console::key::CTRL_B) return;
                // show what is kept, e.g. without a trailing separator
                console::write_at(NAME_COL, row, name_text(name));
            }
            console::goto_xy(OK_COL, row);
            const unsigned char k = read_confirmation();
            switch (k) {
                case 'j':
                    key = 'j';
                    return;
                case console::key::ESC:
                    key = console::key::BACKSPACE;
                    return;
                case console::key::CTRL_C:
                    key = console::key::ESC;
                    return;
                case 'n':
                    console::write_at(NAME_COL, row, std::string(31, ' '));
                    for (int i = 1; i <= 31; ++i) name[i] = ' ';
                    restart = true;
                    break;
                default:  // Backspace: back into the typing at the end of the name
                    p = resume_position(name, row);
                    typing = true;
                    break;
            }
        }
    }
}

}  // namespace zqspiel
