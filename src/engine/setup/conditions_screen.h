// The cells of the conditions screen that more than the field walk rewrites:
// the capacity table (row 8), the answers "fixed code?" (30, 19) and "shall
// the computer guess?" (row 13), and KORRIGIERE, the capacity check with its
// corrections shown there.
#pragma once

#include <string>

#include "engine/zqspiel.h"

namespace zqspiel {

// A cell of the capacity table as the conditions screen shows it, two
// characters: " -" when fewer than two signs fit, else the sign count.
std::string capacity_cell(int v);

// The column of the answer to "shall the computer guess?" on row 13.
int computer_guesses_col();

// The capacity check (check_capacity, encoder/capacity.h): s signs, code
// length n, repetition (repeat), vacant sign allowed (vacant). With show,
// rewrites the corrected fields of the conditions screen. release is handed
// to LISTEN_FREIGEBEN. The cursor and the attribute are left as they were.
void KORRIGIERE(byte s, byte n, bool repeat, bool vacant, bool show, bool release);

}  // namespace zqspiel
