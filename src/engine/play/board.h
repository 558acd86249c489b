// The board of a match: drawn once at match start; the match loop, the entry
// and the clock write into it afterwards.
#pragma once

#include <string>

#include "engine/zqspiel.h"

namespace zqspiel {

// Clears the screen and draws the whole board by SP_D: title frame, sign set,
// the box with the maximum trials (max_trials, shown only when max_known),
// the opening-pattern text (as INIT_MUSTER gives it) at (32, 5), the empty
// trial table, the conditions in words (vacant sign by LEERZ_MERKER), who
// plays, the date/time and duration rows and the status line of row 25 by
// role. Everything else comes from X, MAXFARBE and FARBARRAY.
void draw_board(byte max_trials, bool max_known, const std::string& pattern);

// Writes the answer of a trial: P at (p_col, row), Z at (z_col, row); the
// cursor is left on Z.
void write_answer(int p_col, int z_col, int row, byte p, byte z);

}  // namespace zqspiel
