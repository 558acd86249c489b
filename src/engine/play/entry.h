// Typing codes: a person's guess in the trial row of the board (with its
// answer), and the secret code a person sets for another person.
#pragma once

#include "engine/zqspiel.h"

namespace zqspiel {

// Reads a person's guess at (WX, WY) and answers it on row K in board column
// column (1 or 2): against LOESUNG for a fixed code, else through the
// not-fixed encoder. key = Esc when the match is broken off; otherwise move
// holds the guess and p, z the answer shown on the board. A solving guess
// leaves the code in LOESUNG and stops the clock.
void LESE_CODE(byte column, CODE& move, byte& p, byte& z, unsigned char& key);

// Reads the secret code of a two-person match with a fixed code at row 18
// from column 46 (from the last position when ZURUECK). key: Esc or Ctrl-C
// break off, Backspace left backwards from the first position, anything else: complete.
void LESE_LSG(CODE& code, unsigned char& key);

}  // namespace zqspiel
