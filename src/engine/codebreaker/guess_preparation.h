// Preparation of the computer codebreaker: random relabellings, the opening
// guesses written into ANFANG, and the build of the candidate store.
#pragma once

#include "engine/zqspiel.h"

namespace zqspiel {

// A random permutation of the k entries list[1..k] into perm[1..k]: each
// step takes the h-th remaining entry, h = random(remaining) + 1, and closes
// the gap. aux gets the last h drawn.
void random_permutation(const byte* list, int k, byte* perm, byte& aux);

// Writes an opening guess for code length l over n signs into ANFANG with
// its sign counts: the pattern of the opening table (filler stands for the
// vacant-sign flag of the table), digit j meaning sign PERMF[j] and '*' the
// filler PERMF[0], at position PERMZ[place]. With first the guess is also
// written at the cursor (the guess field), which then returns to (WX, WY).
// Does nothing unless n >= 1 and 1 <= l <= 9; sets OK otherwise.
void SETZE_ANFANG(byte l, byte n, bool repeat, bool filler, bool first);

// The next opening guess after an answer 0, 0: a fresh relabelling over the
// signs still possible, FEHLZEICHEN as the filler.
void NEUER_ANFANG();

// Builds the candidate store for the match (after the board is drawn and
// before the first guess). ok is false when the user broke off with Esc or
// Ctrl-C or memory ran out; the store is then released, A is Esc and the
// clock is stopped.
void INIT_RATEN(bool& ok);

}  // namespace zqspiel
