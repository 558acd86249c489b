// Calendar rules of the date tools and the corrections that keep an edited
// date and time valid.
#include "datetools/calendar.h"

#include "console/console.h"

namespace zuf {

namespace {
constexpr int DAYS_BEFORE_MONTH[12] = {0, 31, 59, 90, 120, 151, 181, 212, 243, 273, 304, 334};

bool is_julian(int year, int month, int day) {
    return year < 1582 || (year == 1582 && (month < 10 || (month == 10 && day < 10)));
}
}  // namespace

bool is_gregorian_leap_year(int year) {
    return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
}

bool is_leap_year(int year) {
    if (year <= 1582) return year % 4 == 0;
    return is_gregorian_leap_year(year);
}

int days_in_month(int month, bool leap) {
    switch (month) {
        case 4: case 6: case 9: case 11: return 30;
        case 2: return leap ? 29 : 28;
        default: return 31;
    }
}

std::uint16_t weekday(int year, int month, int day) {
    int sum;
    if (year == 0) {
        sum = 3;
    } else if (is_julian(year, month, day)) {
        sum = (year + 4 + (year - 1) / 4) % 7;
    } else {
        sum = (year + 6 + (year - 1) / 4 - (year - 1) / 100 + (year - 1) / 400) % 7;
    }
    if (is_leap_year(year) && month > 2) ++sum;
    if (month >= 1 && month <= 12) sum += DAYS_BEFORE_MONTH[month - 1];
    sum += day;
    return static_cast<std::uint16_t>(sum % 7);
}

void advance_day(CalendarDate& d) {
    const bool leap = is_leap_year(d.year);
    if (d.year == 1582 && d.month == 10 && d.day == 4) {
        d.day = 15;
    } else if (d.day < days_in_month(d.month, leap)) {
        ++d.day;
    } else {
        d.day = 1;
        if (d.month < 12) {
            ++d.month;
        } else {
            d.month = 1;
            ++d.year;
        }
    }
    d.leap = is_leap_year(d.year);
    d.weekday = static_cast<std::uint16_t>((d.weekday + 1) % 7);
}

void PRUEFE_DATUM(bool set) {
    CalendarDate& d = edited_date;
    if (d.month > 12) d.month = static_cast<std::uint16_t>(d.month - 10);
    if (d.month == 0) d.month = 10;
    if (d.day == 0) d.day = 10;
    if (d.day > 31) d.day = 30;
    if (d.day == 31 && days_in_month(d.month, false) == 30) d.day = 30;
    d.leap = is_leap_year(d.year);
    if (d.month == 2 && d.day > 28) d.day = d.leap ? 29 : 28;
    if (d.year == 1582 && d.month == 10 && d.day >= 5 && d.day <= 14) d.day = static_cast<std::uint16_t>(d.day + 10);
    // A month above 22 cannot be typed, but a stray value must still end valid.
    if (d.month > 12) d.month = 12;
    if (d.year > 9999) d.year = 9999;
    d.weekday = weekday(d.year, d.month, d.day);

    if (set && (d.year != shown_date.year || d.month != shown_date.month || d.day != shown_date.day)) {
        console::Date sys;
        sys.year = d.year;
        sys.month = d.month;
        sys.day = d.day;
        sys.weekday = d.weekday;
        console::set_date(sys);  // a refusal changes nothing and is not reported
    }
}

void PRUEFE_ZEIT() {
    ClockTime& t = edited_time;
    if (t.hour > 23) t.hour = 20;
    if (t.minute > 59) t.minute = 59;
    if (t.second > 59) t.second = 59;
    if (t.hour != shown_time.hour || t.minute != shown_time.minute || t.second != shown_time.second) {
        console::Time sys;
        sys.hour = t.hour;
        sys.minute = t.minute;
        sys.second = t.second;
        sys.hundredth = t.hundredth;
        console::set_time(sys);
    }
}

}  // namespace zuf
