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

// Writes the match-start date and time (JAHR, MONAT, TAG, WOTAG, STD, MIN, SEK)
// into rows 17..18 and the same as the current date and time into rows 19..20.
// Restores the cursor.
void write_match_start();

// The English date text of the board: weekday (shortened where the line
// would be too long), day with ordinal suffix, month, four-digit year and ','.
std::string date_english(std::uint16_t year, std::uint16_t month, std::uint16_t day,
                         std::uint16_t weekday);
// The German one: weekday, ", ", day.month.year (four digits) and ','.
std::string date_german(std::uint16_t year, std::uint16_t month, std::uint16_t day,
                        std::uint16_t weekday);

}  // namespace zqspiel
