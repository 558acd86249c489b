#include "engine/play/scoring.h"

namespace zqspiel {

namespace {

bool vacant(char c) { return c == ' ' || c == '*'; }

}  // namespace

void score_length(const CODE& guess, const CODE& code, int len, byte& p, byte& z) {
    if (len < 1) len = 1;
    if (len > 9) len = 9;
    // Counts by character: the signs are single ASCII characters, so a small
    // table beats turning them into sign numbers first.
    byte n_guess[128] = {};
    byte n_code[128] = {};
    byte hits = 0;
    for (int i = 1; i <= len; ++i) {
        const unsigned char g = static_cast<unsigned char>(guess[i]) & 127;
        const unsigned char c = static_cast<unsigned char>(code[i]) & 127;
        if (!vacant(static_cast<char>(g))) {
            ++n_guess[g];
            if (g == c) ++hits;
        }
        if (!vacant(static_cast<char>(c))) ++n_code[c];
    }
    byte common = 0;
    for (int ch = 0; ch < 128; ++ch) common += n_guess[ch] < n_code[ch] ? n_guess[ch] : n_code[ch];
    p = hits;
    z = static_cast<byte>(common - hits);
}

void BEWERTE(const CODE& guess, const CODE& code, byte& p, byte& z) {
    score_length(guess, code, X.CODELAENGE, p, z);
}

namespace {

// Cells for 2..12 signs by code length 3..9. A cell holds two numbers: the
// first applies with repetition (in the two-sign column: with the vacant
// sign), the second without. 0 in both means "the rule for more signs".
struct Cell {
    byte a, b;
};
constexpr Cell BOARD[10][13] = {
    {}, {}, {},
    // Three positions over three signs with repetition take four trials in
    // the worst case (an exhaustive search shows that no first guess splits
    // the 27 codes finely enough for three), so the box must not promise three.
    /* 3 */ {{}, {}, {3, 3}, {4, 3}, {4, 4}, {5, 4}, {}, {}, {}, {}, {}, {}, {}},
    /* 4 */ {{}, {}, {3, 4}, {4, 4}, {4, 4}, {5, 4}, {5, 5}, {6, 5}, {6, 6}, {7, 6}, {7, 7}, {7, 7}, {}},
    /* 5 */ {{}, {}, {3, 5}, {4, 4}, {5, 5}, {5, 5}, {6, 6}, {6, 6}, {7, 6}, {7, 7}, {8, 8}, {8, 8}, {9, 8}},
    /* 6 */ {{}, {}, {4, 5}, {5, 5}, {5, 5}, {6, 6}, {7, 7}, {7, 7}, {8, 7}, {8, 8}, {8, 8}, {9, 8}, {9, 9}},
    /* 7 */ {{}, {}, {4, 6}, {5, 5}, {6, 6}, {7, 7}, {7, 7}, {8, 8}, {8, 8}, {8, 8}, {9, 9}, {9, 9}, {10, 10}},
    /* 8 */ {{}, {}, {5, 6}, {6, 6}, {6, 6}, {7, 7}, {8, 8}, {9, 9}, {9, 9}, {9, 9}, {10, 10}, {10, 10}, {11, 10}},
    /* 9 */ {{}, {}, {5, 7}, {6, 6}, {7, 7}, {8, 8}, {9, 9}, {10, 10}, {10, 10}, {11, 11}, {11, 11}, {0, 0}, {0, 0}},
};

// More than 12 signs (and, for the short codes, from the first dash on).
byte beyond(int l, int n, bool repeat) {
    switch (l) {
        case 3: return static_cast<byte>(repeat ? (n + 11) / 3 : (n + 10) / 3);
        case 4: return static_cast<byte>((n + 21) / 4);
        case 5:
            if (n <= 15) return 9;
            if (n <= 18) return 10;
            if (n == 19) return repeat ? 11 : 10;
            if (n <= 22) return 11;
            if (n == 23) return repeat ? 12 : 11;
            return static_cast<byte>((n + 37) / 5);
        case 6:
            if (n == 13) return 9;
            if (n == 14) return repeat ? 10 : 9;
            if (n <= 16) return 10;
            if (n == 17) return repeat ? 11 : 10;
            if (n <= 19) return 11;
            if (n == 20) return repeat ? 12 : 11;
            if (n <= 22) return 12;
            if (n == 23) return repeat ? 13 : 12;
            if (n <= 26) return 13;
            if (n <= 30) return 14;
            return static_cast<byte>((n + 60) / 6);
        case 7:
            if (n <= 14) return 10;
            if (n == 15) return repeat ? 11 : 10;
            if (n == 16) return 11;
            if (n <= 20) return 12;
            if (n == 21) return repeat ? 13 : 12;
            return 0;
        case 8:
            if (n <= 14) return 11;
            return 0;
        default: return 0;
    }
}

}  // namespace

byte WIEVIELE(byte l, byte n, bool repeat, bool with_vacant) {
    if (n <= 1) return l == 0 ? 0 : n;
    if (l == 0 || l > 9) return 0;
    if (l == 1) return n;
    if (l == 2) return static_cast<byte>(repeat ? (n + 4) / 2 : (n + 3) / 2);
    if (n <= 12) {
        const Cell c = BOARD[l][n];
        if (c.a != 0 || c.b != 0 || l == 9) {
            const bool first = n == 2 ? with_vacant : repeat;
            return first ? c.a : c.b;
        }
    }
    return beyond(l, n, repeat);
}

}  // namespace zqspiel
