// Calendar rules shared by the date and time screen and the weekday calendar. Years 0000..9999: Julian calendar up to 4 October 1582,
// Gregorian from 15 October 1582 (the days between do not exist).
#pragma once

#include <cstdint>

#include "datetools/zuf.h"

namespace zuf {

// ---- rules -----------------------------------------------------------------------
bool is_leap_year(int year);            // Julian up to 1582, Gregorian after
bool is_gregorian_leap_year(int year);  // used for a date read from the system clock
int days_in_month(int month, bool leap);
std::uint16_t weekday(int year, int month, int day);  // 0 = Sunday
// Moves `d` on by one day, across the October 1582 gap; weekday and leap flag follow.
void advance_day(CalendarDate& d);

// ---- checks of the edited values -----------------------------------------------------
// Makes the edited date valid; with `set`, hands a changed date to the system clock.
void PRUEFE_DATUM(bool set);
// Corrects an hour above 23 and hands a changed time to the system clock.
void PRUEFE_ZEIT();

}  // namespace zuf
