// Scoring of a guess against a code, and the number of trials within which a
// code can be cracked under given conditions.
#pragma once

#include "engine/zqspiel.h"

namespace zqspiel {

// P = signs on the right position, Z = further signs both share elsewhere.
// Works on the sign characters of the first X.CODELAENGE positions; the vacant
// sign ('*' or blank) never counts.
void BEWERTE(const CODE& guess, const CODE& code, byte& p, byte& z);

// The same for an explicit length 1..9 (lengths outside are clamped).
void score_length(const CODE& guess, const CODE& code, int len, byte& p, byte& z);

// P of two codes given as sign numbers (0 = vacant, never matches), len entries each.
inline byte hits_of_numbers(const byte* guess, const byte* code, int len) {
    byte p = 0;
    for (int i = 0; i < len; ++i) p += static_cast<byte>(guess[i] == code[i] && guess[i] != 0);
    return p;
}

// common = P + Z from two sign-count tables: counts[c] is the number of times
// sign c (1..n) occurs. The vacant sign (index 0) is never read.
inline byte common_from_counts(const byte* guess_counts, const byte* code_counts, int n) {
    byte common = 0;
    for (int c = 1; c <= n; ++c) {
        const byte a = guess_counts[c], b = code_counts[c];
        common += a < b ? a : b;
    }
    return common;
}

// Both at once on sign numbers, for the computer players: P and common
// (not Z), as their answer-class tables are indexed [common][P].
inline void score_numbers(const byte* guess, const byte* code, const byte* guess_counts,
                          const byte* code_counts, int len, int n, byte& p, byte& common) {
    p = hits_of_numbers(guess, code, len);
    common = common_from_counts(guess_counts, code_counts, n);
}

// Trials within which a code of length l over n signs can surely be cracked;
// 0 when no number is known.
byte WIEVIELE(byte l, byte n, bool repeat, bool vacant);

}  // namespace zqspiel
