// The host's clock and memory as the real terminal reports them, with the
// text parsing kept apart so it can be tested without touching the system.
#pragma once

#include <cstdint>
#include <ctime>
#include <string>
#include <string_view>

#include "console/console.h"

namespace console {

// ---- clock ---------------------------------------------------------------
// Local date and time of a moment (hundredths from the nanoseconds).
void local_date_time(const timespec& ts, Date& d, Time& t);
// The moment of a local date and time; false when the fields name no valid
// date or time (the conversion would otherwise move them silently).
bool local_moment(const Date& d, const Time& t, long nanoseconds, timespec& out);

Date system_date();
Time system_time();
// Set the system clock, keeping the other half; false when refused or invalid,
// and then nothing has changed.
bool set_system_date(const Date& d);
bool set_system_time(const Time& t);

// ---- memory --------------------------------------------------------------
inline constexpr std::uint64_t NO_LIMIT = ~0ull;

// MemAvailable of a /proc/meminfo text in bytes; 0 when it is missing.
std::uint64_t meminfo_available(std::string_view meminfo);
// A cgroup memory file value ("max" or a byte count); NO_LIMIT for "max" or junk.
std::uint64_t cgroup_value(std::string_view text);
// The cgroup v2 path of this process from a /proc/self/cgroup text ("0::/x"), or "".
std::string cgroup_v2_path(std::string_view proc_self_cgroup);
// What is left under a limit with `usage` in use (0 when over it).
inline std::uint64_t left_under(std::uint64_t limit, std::uint64_t usage) {
    return usage >= limit ? 0 : limit - usage;
}

// Physical memory the machine can still give this process: the system's
// available memory, lowered by a cgroup limit when there is one.
std::uint64_t system_available_memory();

}  // namespace console
