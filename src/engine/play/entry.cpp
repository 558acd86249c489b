#include "engine/play/entry.h"

#include <string>

#include "console/console.h"
#include "console/keys.h"
#include "engine/clock/clock.h"
#include "engine/codebreaker/release.h"
#include "engine/encoder/variable_code.h"
#include "engine/long_work.h"
#include "engine/play/board.h"
#include "engine/play/scoring.h"

namespace zqspiel {

namespace key = console::key;

namespace {

// Number of a sign character of the stretch in force, or 0 when the
// character is not one of its signs.
byte sign_number(unsigned char c) {
    if (!((c >= '0' && c <= '9') || (c >= 'a' && c <= 'z'))) return 0;
    const byte nr = NRARRAY[c - '0'];
    return nr >= 1 && nr <= MAXFARBE ? nr : 0;
}

unsigned char fold(unsigned char c) { return c >= 'A' && c <= 'Z' ? static_cast<unsigned char>(c - 'A' + 'a') : c; }

enum class Move { none, left, right, clear_right };

Move extended_move(unsigned char scan) {
    if (key::is_left(scan)) return Move::left;
    if (key::is_right(scan)) return Move::right;
    // Ctrl-Del does not clear; scan codes 6 and 7 do, though no key sends them here.
    if (scan == key::scan::DEL || scan == key::scan::ALT_DEL || scan == 6 || scan == 7) return Move::clear_right;
    return Move::none;
}

// The guess being typed: the code, which positions hold a sign, how many do
// not, and the cursor position.
struct MoveEntry {
    CODE guess;
    bool empty[10];
    int open;
    int pos = 1;

    explicit MoveEntry(int n) : open(n) {
        guess.blank();
        for (int i = 1; i <= 9; ++i) empty[i] = true;
    }
    // c (a sign or '*') at the cursor, which moves on.
    void put(char c) {
        console::write(c);
        if (empty[pos]) --open;
        empty[pos] = false;
        guess[pos] = c;
        ++pos;
    }
    // The position at the cursor is empty again; the cursor stays.
    void clear() {
        console::write('.');
        if (!empty[pos]) ++open;
        empty[pos] = true;
        guess[pos] = ' ';
    }
};

// One key of the guess entry other than Esc and Ctrl-C. False when the key
// means nothing here: then nothing moves and nothing is written.
bool take_key(MoveEntry& e, unsigned char k) {
    Move move = Move::none;
    if (k == key::EXTENDED) {
        move = extended_move(console::read_key());
        if (move == Move::none) return false;
    } else if (k == key::ENTER) {
        move = Move::right;
    } else if (k == key::BACKSPACE) {
        e.clear();
        --e.pos;
    } else if (k == ',' || k == 127) {
        move = Move::clear_right;
    } else if (k == ' ' || k == '*' || k == '+' || k == '~') {
        if (!X.LEERZEICHEN_ERLAUBT) return false;
        e.put('*');
    } else {
        const unsigned char c = fold(k);
        if (sign_number(c) == 0) return false;
        e.put(static_cast<char>(c));
    }
    switch (move) {
        case Move::left: --e.pos; break;
        case Move::right: ++e.pos; break;
        case Move::clear_right:
            e.clear();
            ++e.pos;
            break;
        case Move::none: break;
    }
    return true;
}

}  // namespace

void LESE_CODE(byte column, CODE& move, byte& p, byte& z, unsigned char& key) {
    const int n = X.CODELAENGE;
    // 1. From the second try on the row shows one dot per position.
    if (NUMMER > 1) {
        console::write(std::string(static_cast<std::size_t>(n), '.'));
        console::goto_xy(WX, WY);
    }

    // 2. The guess is typed until every position holds a sign; the cursor
    // wraps around the row. Esc or Ctrl-C ends the match.
    MoveEntry e(n);
    RATENDRAN = true;
    unsigned char k = 0;
    while (e.open > 0) {
        k = wait_for_key(Redraw::before_every_look);
        if (console::key::breaks_off(k)) {
            RATENDRAN = false;
            abandon_match(key);
            return;
        }
        if (!take_key(e, k)) continue;
        if (e.pos == 0) e.pos = n;
        if (e.pos == n + 1) e.pos = 1;
        console::goto_xy(WX - 1 + e.pos, WY);
    }
    RATENDRAN = false;
    move = e.guess;
    console::goto_xy(X3[column], K);

    // 3. The answer: scored at once against a fixed code, else given by the
    // encoder of the not-fixed code.
    if (X.LOESUNG_FEST) {
        BEWERTE(move, LOESUNG, p, z);
        write_answer(X3[column], X4[column], K, p, z);
    } else {
        unsigned char answer_key = k;
        answer_not_fixed(move, column, p, z, answer_key);
        if (console::key::breaks_off(answer_key)) {
            key = console::key::ESC;
            return;
        }
    }

    // 4. A guess that cracks the code is the solution; the match is over.
    key = k;
    if (p == n) {
        LOESUNG = move;
        if (!X.LOESUNG_FEST) LISTEN_FREIGEBEN(true);
        ZEITEIN = false;
    }
}

void LESE_LSG(CODE& code, unsigned char& key) {
    const int n = X.CODELAENGE;
    const bool automatic = n == MAXFARBE && !X.WIEDERHOLUNG;
    const int m = automatic ? n - 1 : n;
    int pos = 1;
    if (ZURUECK) {
        pos = m;
        console::goto_xy(45 + m, 18);
        console::write(automatic ? "..\b\b" : ".\b");
    } else {
        console::goto_xy(46, 18);
    }
    while (pos <= m) {
        unsigned char k = console::read_key();
        if (console::key::breaks_off(k)) {
            key = k;
            return;
        }
        if (k == console::key::EXTENDED) {
            console::read_key();  // the scan code of an extended key: ignored
            continue;
        }
        k = fold(k);
        if (sign_number(k) == 0) {
            if (k == console::key::BACKSPACE) {
                if (pos == 1) {
                    key = k;
                    return;
                }
                --pos;
                console::write("\b.\b");
            }
            continue;
        }
        if (!X.WIEDERHOLUNG) {
            bool seen = false;
            for (int i = 1; i < pos; ++i) seen = seen || code[i] == static_cast<char>(k);
            if (seen) continue;
        }
        code[pos] = static_cast<char>(k);
        console::write(static_cast<char>(k));
        ++pos;
        key = k;
    }
    if (automatic) {
        // the one sign left over
        for (int s = 1; s <= MAXFARBE; ++s) {
            const char c = static_cast<char>(FARBARRAY[s]);
            bool used = false;
            for (int i = 1; i <= n - 1; ++i) used = used || code[i] == c;
            if (!used) {
                code[n] = c;
                console::write(c);
                key = static_cast<unsigned char>(c);
                break;
            }
        }
    }
    for (int i = n + 1; i <= 9; ++i) code[i] = ' ';
}

}  // namespace zqspiel
