// What the screen shows and the keyboard is asked while the computer
// searches for its guess: the star bar of the guesses evaluated, the count
// of breaks asked for with F4 or F6, the notice of the time limit.
#pragma once

namespace zqspiel {

// The star bar for GERATENE_VERSUCHE of ZAHL_DER_VERSUCHE guesses.
void stars();

// One more break asked for: counted in UNTERBR (up to 999) and shown on row 15.
void count_interruption();

// The notice that the time limit cut the search, once per match
// (ALLESTERNEDRUCKEN).
void zeitlimit_notice();

// The keyboard during the search: true on Esc or Ctrl-C; F4 or F6 in a real
// search asks it to decide soon (F6_GEDR).
bool search_keyboard(bool real_search);

}  // namespace zqspiel
