// The match as the main menu's item 5 starts it: the conditions screen with
// its four-way menu, the dialog, and the matches played from it. Returns when
// the user goes back to the main menu.
#pragma once

#include <cstdint>
#include <string>

#include "engine/zqspiel.h"

namespace zqspiel {

// ---- the match loop's own state ---------------------------------------------
inline FARBFELD LOESUNGSFARBEN{};  // by sign number: how often it occurs in the secret
inline byte L = 0;                 // the V30 slot of the newest trial once the ring is in use
// The column where a code starts in the left (1) and right (2) half of the
// trial table, set for the code length at match start.
inline POSITION X2{{0, 0}};
inline byte PL_0 = 0, PL_1 = 0;    // min(code length, signs) and that + 1

void run_matches();

// One match from its preparation to the "new game?" answer: true = back to
// the conditions screen, false = back to the main menu.
bool play_match_loop();

// The computer's fixed secret for the conditions in force (MAXFARBE signs,
// repetition as X says), drawn from the console's random source.
void draw_solution();

// LOESUNGSFARBEN from LOESUNG.
void count_solution_signs();

// The trial number as the table shows it: three columns, right-aligned,
// padded with '0' instead of blanks once the count has passed 999.
std::string trial_number_text(std::int32_t nr, bool with_zeros);

// The number of the trial after `number`: the count never overflows.
std::int32_t next_number(std::int32_t number);

}  // namespace zqspiel
