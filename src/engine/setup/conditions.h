// The conditions in force: defaults, the checks that bring any loaded record
// into range, the sign ring and its lookup tables, the memory budget of a
// memory step, the time limits and the colour pair.
#pragma once

#include <cstdint>

#include "engine/zqspiel.h"

namespace zqspiel {

// Sets OBERGRENZE and puts the default of every field into X (names blank).
void INITIALISIERE();

// Sign number (1..36) of sign c counted from X.ERSTES_ZEICHEN along the ring
// a..z, 0..9. c must be '0'..'9' or 'a'..'z'.
byte NRFUNKTION(char c);
// The sign with number n (1..36) from the first sign; '*' for 0.
char FARBFUNKTION(byte n);

// Rebuilds the ring offsets, FARBARRAY, NRARRAY and MAXFARBE from the first
// and last sign of X. Call whenever either changes.
void build_sign_tables();

// The number of the last sign of X in the ring from the first: the size of
// the sign set as the conditions give it.
byte number_of_last_sign();

// Brings every field of X into range (replacing what is out of range by its
// default), checks the sign set, rebuilds the sign tables and forces
// repetition when the code is longer than the sign set. Does not touch the
// colours (see check_colour_pair) or the names (NAMEOK).
void check_conditions();

// Repetition is the only choice when the code has more positions than the set
// has signs: switches it on then. MAXFARBE must be that of the last sign in
// force. True when it had to be switched on.
bool repetition_required();

// Byte budget of memory step 1..15 (0 for any other step).
std::int64_t memavail_of(byte step);
// MEMAVAIL := the budget of the step; the arena's budget follows it.
void set_memavail(byte step);

// ZEITSTUFE outside 0..9 becomes 6; then ZEITLIMIT, ZEITLIMIT99 and
// ZEITLIMIT_DIV_10 follow from it.
void set_zeitlimit();

// The text mode picked from the terminal's last mode (0/2 -> 2, 7 -> 7,
// anything else -> 3); a colour screen is mode 3.
int choose_text_mode(int last_mode);

// Checks the attribute pair read from the conditions for the screen type
// and corrects it in place.
void check_colour_pair(bool colour_screen, byte& normal, byte& highlight);

}  // namespace zqspiel
