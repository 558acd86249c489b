#include "console/system_clock.h"

#include <cerrno>

namespace console {

void local_date_time(const timespec& ts, Date& d, Time& t) {
    const time_t secs = ts.tv_sec;
    std::tm tm{};
    if (!localtime_r(&secs, &tm)) {
        d = Date{};
        t = Time{};
        return;
    }
    const int year = tm.tm_year + 1900;
    d.year = static_cast<std::uint16_t>(year < 0 ? 0 : (year > 65535 ? 65535 : year));
    d.month = static_cast<std::uint16_t>(tm.tm_mon + 1);
    d.day = static_cast<std::uint16_t>(tm.tm_mday);
    d.weekday = static_cast<std::uint16_t>(tm.tm_wday);
    t.hour = static_cast<std::uint16_t>(tm.tm_hour);
    t.minute = static_cast<std::uint16_t>(tm.tm_min);
    t.second = static_cast<std::uint16_t>(tm.tm_sec > 59 ? 59 : tm.tm_sec);  // leap second
    t.hundredth = static_cast<std::uint16_t>(ts.tv_nsec / 10000000);
}

namespace {

int days_in_month(int year, int month) {
    static constexpr int days[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (month == 2) {
        const bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
        return leap ? 29 : 28;
    }
    return days[month - 1];
}

}  // namespace

bool local_moment(const Date& d, const Time& t, long nanoseconds, timespec& out) {
    if (d.month < 1 || d.month > 12 || d.day < 1 || d.day > days_in_month(d.year, d.month)) return false;
    if (t.hour > 23 || t.minute > 59 || t.second > 59 || t.hundredth > 99) return false;
    if (nanoseconds < 0 || nanoseconds > 999999999) return false;
    std::tm tm{};
    tm.tm_year = d.year - 1900;
    tm.tm_mon = d.month - 1;
    tm.tm_mday = d.day;
    tm.tm_hour = t.hour;
    tm.tm_min = t.minute;
    tm.tm_sec = t.second;
    tm.tm_isdst = -1;
    errno = 0;
    const time_t secs = mktime(&tm);
    if (secs == static_cast<time_t>(-1) && errno != 0) return false;
    // A local time skipped by a daylight-saving change comes back moved: it
    // does not exist, so it cannot be set.
    if (tm.tm_year != d.year - 1900 || tm.tm_mon != d.month - 1 || tm.tm_mday != d.day ||
        tm.tm_hour != t.hour || tm.tm_min != t.minute || tm.tm_sec != t.second)
        return false;
    out.tv_sec = secs;
    out.tv_nsec = nanoseconds;
    return true;
}

bool set_system_date(const Date& d) {
    timespec now{};
    if (clock_gettime(CLOCK_REALTIME, &now) != 0) return false;
    Date cur_d;
    Time cur_t;
    local_date_time(now, cur_d, cur_t);
    timespec want{};
    if (!local_moment(d, cur_t, now.tv_nsec, want)) return false;
    if (want.tv_sec < 0) return false;  // before 1970: the system clock cannot hold it
    return clock_settime(CLOCK_REALTIME, &want) == 0;
}

bool set_system_time(const Time& t) {
    timespec now{};
    if (clock_gettime(CLOCK_REALTIME, &now) != 0) return false;
    Date cur_d;
    Time cur_t;
    local_date_time(now, cur_d, cur_t);
    timespec want{};
    if (!local_moment(cur_d, t, static_cast<long>(t.hundredth) * 10000000L, want)) return false;
    if (want.tv_sec < 0) return false;
    return clock_settime(CLOCK_REALTIME, &want) == 0;
}

}  // namespace console
