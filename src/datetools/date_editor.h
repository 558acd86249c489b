// Where the digits of the date panel stand and how the cursor moves over
// them, and what a typed digit does to the edited date or time.
#pragma once

#include <cstdint>

#include "datetools/zuf.h"

namespace zuf {

// ---- digit positions of the panel -------------------------------------------------
enum class Field {
    year_thousands, year_hundreds, year_tens, year_ones,
    month_tens, month_ones,
    day_tens, day_ones,
    hour_tens, hour_ones,
    minute_tens, minute_ones,
    second_tens, second_ones,
};
int field_col(Field f);
int field_row(Field f);
bool is_time_field(Field f);
// Whether the cursor may stand on the field now (month tens only while the
// month's ones digit is 0..2; day ones not at day 30 of a 30-day month).
bool reachable(Field f);
// The field the cursor lands on when it is sent to `f`.
Field settle(Field f);
// Cursor movement for 'l', 'r', 'o', 'u'; `with_time` adds the hour, minute and
// second lines between the day line and the wrap back to the year line.
Field move_field(Field f, char key, bool with_time);
// Digits allowed at the field for the edited values.
void digit_range(Field f, std::uint8_t& lo, std::uint8_t& hi);
// Puts digit d into the edited date or time at the field.
void apply_digit(Field f, std::uint8_t d);

}  // namespace zuf
