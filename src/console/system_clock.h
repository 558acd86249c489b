// The host's clock as the real terminal reads and sets it, with the
// conversions between a moment and the local date and time kept apart so
// they can be tested without touching the system clock.
#pragma once

#include <ctime>

#include "console/console.h"

namespace console {

// Local date and time of a moment (hundredths from the nanoseconds).
void local_date_time(const timespec& ts, Date& d, Time& t);
// The moment of a local date and time; false when the fields name no valid
// date or time (the conversion would otherwise move them silently).
bool local_moment(const Date& d, const Time& t, long nanoseconds, timespec& out);

// Set the system clock, keeping the other half; false when refused or invalid,
// and then nothing has changed.
bool set_system_date(const Date& d);
bool set_system_time(const Time& t);

}  // namespace console
