// The answer entry: a person types P and Z for a guess, and only answers
// that some code still possible would give are accepted. Values that have
// only one possibility are filled in without asking.
#pragma once

#include "engine/answer_class.h"
#include "engine/zqspiel.h"

namespace zqspiel {

// Reads the answer to a guess of length n with the P field at (p_col, row)
// and the Z field at (z_col, row). Returns true with p and z set. On Esc or
// Ctrl-C it returns false with pressed_key = 27, the candidate store and the list
// of codes released and the clock stopped (the match ends).
bool read_checked_answer(const ClassTable& t, byte n, byte p_col, byte z_col, byte row, byte& p,
                         byte& z, unsigned char& pressed_key);

}  // namespace zqspiel
