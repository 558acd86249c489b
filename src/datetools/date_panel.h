// The date panel shared by the date and time screen and the weekday
// calendar: drawing the edited date and time and reading the editing keys.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <string_view>

#include "datetools/zuf.h"

namespace zuf {

// ---- panel procedures working on the unit's globals -------------------------------------
// live: read the system clock into the edited values first; otherwise recompute
// leap flag and weekday of the edited date. Then redraw what changed.
void ZEIGE_DATUM(bool live);
// Reads one editing key: digit in lo..hi ('0'..'9', value in `digit`), 'e' end,
// 'o' up, 'u' down, 'l' left, 'r' right. F1 is handled here (back to the
// remembered date). Leaves digit and key also in last_digit / last_key.
void LIES_TASTE(bool live, std::uint8_t lo, std::uint8_t hi, std::uint8_t& digit, char& key);

// ---- texts and drawing helpers ------------------------------------------------------
std::string_view month_name(int month);      // "Januar)   " / "January)  " by `german`
std::string_view weekday_name(int weekday);  // "Sonntag.   " / "Sunday.   "
std::string_view leap_note(bool leap);       // "ein Schaltjahr.) " ... by `german`
// Writes the pieces from (1, row), every second piece in the emphasis attribute.
void write_pieces(int row, std::initializer_list<std::string_view> pieces);
// The panel labels of rows 18..21 (date) filled with the edited date; `year_range`
// is the text between the brackets of the year line. Marks the date as shown.
void draw_date_labels(std::string_view year_range);
// Rows 23..25 with the edited time (date and time screen). Marks the time as shown.
void draw_time_labels();

}  // namespace zuf
