// Calendar rules and the date panel shared by the date and time screen and the
// weekday calendar. Years 0000..9999: Julian calendar up to 4 October 1582,
// Gregorian from 15 October 1582 (the days between do not exist).
#pragma once

#include <cstdint>
#include <initializer_list>
#include <string_view>

#include "datetools/zuf.h"

namespace zuf {

// ---- rules -----------------------------------------------------------------------
bool is_leap_year(int year);            // Julian up to 1582, Gregorian after
bool is_gregorian_leap_year(int year);  // used for a date read from the system clock
int days_in_month(int month, bool leap);
std::uint16_t weekday(int year, int month, int day);  // 0 = Sunday
// Moves `d` on by one day, across the October 1582 gap; weekday and leap flag follow.
void advance_day(CalendarDate& d);

// ---- panel procedures working on the unit's globals -------------------------------------
// live: read the system clock into the edited values first; otherwise recompute
// leap flag and weekday of the edited date. Then redraw what changed.
void ZEIGE_DATUM(bool live);
// Makes the edited date valid; with `set`, hands a changed date to the system clock.
void PRUEFE_DATUM(bool set);
// Corrects an hour above 23 and hands a changed time to the system clock.
void PRUEFE_ZEIT();
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

namespace zuf {
// Hands the calendar's date out: today (flag false) while the edited date is the
// date of entry, else the edited date with its weekday (flag true).
void UEBERGIB_DATUM(bool& virtual_date, std::uint16_t& jahr, std::uint16_t& monat, std::uint16_t& tag,
                    std::uint16_t& wotag);
}  // namespace zuf
