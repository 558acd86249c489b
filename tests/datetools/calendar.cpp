#include "datetools/calendar.h"

#include <gtest/gtest.h>

#include "console/virtual_console.h"

using namespace zuf;

namespace {

// Julian day numbers from the two calendars, as an independent reference.
long jdn_julian(long y, long m, long d) {
    const long a = (14 - m) / 12, yy = y + 4800 - a, mm = m + 12 * a - 3;
    return d + (153 * mm + 2) / 5 + 365 * yy + yy / 4 - 32083;
}
long jdn_gregorian(long y, long m, long d) {
    const long a = (14 - m) / 12, yy = y + 4800 - a, mm = m + 12 * a - 3;
    return d + (153 * mm + 2) / 5 + 365 * yy + yy / 4 - yy / 100 + yy / 400 - 32045;
}
bool ref_julian(int y, int m, int d) { return y < 1582 || (y == 1582 && (m < 10 || (m == 10 && d <= 4))); }
bool ref_leap(int y) { return y <= 1582 ? y % 4 == 0 : (y % 4 == 0 && y % 100 != 0) || y % 400 == 0; }
int ref_month_days(int y, int m) {
    static const int days[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return m == 2 && ref_leap(y) ? 29 : days[m - 1];
}
int ref_weekday(int y, int m, int d) {
    const long j = ref_julian(y, m, d) ? jdn_julian(y, m, d) : jdn_gregorian(y, m, d);
    return static_cast<int>((j + 1) % 7);
}

void set_edited(int y, int m, int d) {
    edited_date.year = static_cast<std::uint16_t>(y);
    edited_date.month = static_cast<std::uint16_t>(m);
    edited_date.day = static_cast<std::uint16_t>(d);
}

}  // namespace

TEST(CalendarRules, ReferenceJoinsTheTwoCalendarsAtTheGap) {
    EXPECT_EQ(jdn_julian(1582, 10, 4) + 1, jdn_gregorian(1582, 10, 15));
}

TEST(CalendarRules, WeekdayOfEveryDateFrom0000To9999) {
    long checked = 0;
    for (int y = 0; y <= 9999; ++y)
        for (int m = 1; m <= 12; ++m)
            for (int d = 1; d <= ref_month_days(y, m); ++d) {
                if (y == 1582 && m == 10 && d >= 5 && d <= 14) continue;
                const int want = ref_weekday(y, m, d);
                if (weekday(y, m, d) != want) {
                    ADD_FAILURE() << y << "-" << m << "-" << d << " gives " << weekday(y, m, d) << ", want " << want;
                    return;
                }
                ++checked;
            }
    EXPECT_EQ(checked, jdn_gregorian(9999, 12, 31) - jdn_julian(0, 1, 1) + 1);  // every day once
}

TEST(CalendarRules, NamedWeekdays) {
    EXPECT_EQ(weekday(1582, 10, 4), 4);   // Thursday
    EXPECT_EQ(weekday(1582, 10, 15), 5);  // Friday
    EXPECT_EQ(weekday(1, 1, 1), 6);       // Saturday
    EXPECT_EQ(weekday(0, 1, 1), 4);       // Thursday
    EXPECT_EQ(weekday(2026, 12, 7), 1);   // Monday
    EXPECT_EQ(weekday(0, 3, 1), ref_weekday(0, 3, 1));  // year 0 is a leap year
}

TEST(CalendarRules, LeapYearsAndMonthLengths) {
    EXPECT_TRUE(is_leap_year(0));
    EXPECT_TRUE(is_leap_year(1500));
    EXPECT_TRUE(is_leap_year(1300));
    EXPECT_FALSE(is_leap_year(1582));
    EXPECT_FALSE(is_leap_year(1700));
    EXPECT_TRUE(is_leap_year(2000));
    EXPECT_FALSE(is_leap_year(2100));
    EXPECT_TRUE(is_leap_year(2024));
    EXPECT_FALSE(is_gregorian_leap_year(1500));
    EXPECT_EQ(days_in_month(2, true), 29);
    EXPECT_EQ(days_in_month(2, false), 28);
    for (int m : {4, 6, 9, 11}) EXPECT_EQ(days_in_month(m, false), 30) << m;
    for (int m : {1, 3, 5, 7, 8, 10, 12}) EXPECT_EQ(days_in_month(m, true), 31) << m;
}

TEST(CalendarRules, AdvanceDayWalksEveryDateWithItsWeekday) {
    CalendarDate d;
    d.year = 0;
    d.month = 1;
    d.day = 1;
    d.weekday = 4;
    d.leap = true;
    long steps = 0;
    for (int y = 0; y <= 9999; ++y)
        for (int m = 1; m <= 12; ++m)
            for (int day = 1; day <= ref_month_days(y, m); ++day) {
                if (y == 1582 && m == 10 && day >= 5 && day <= 14) continue;
                if (d.year != y || d.month != m || d.day != day || d.weekday != ref_weekday(y, m, day) ||
                    d.leap != ref_leap(y)) {
                    ADD_FAILURE() << "at " << y << "-" << m << "-" << day << " got " << d.year << "-" << d.month
                                  << "-" << d.day << " wd " << d.weekday;
                    return;
                }
                advance_day(d);
                ++steps;
            }
    EXPECT_EQ(d.year, 10000);
    EXPECT_EQ(d.month, 1);
    EXPECT_EQ(d.day, 1);
    EXPECT_GT(steps, 3650000);
}

TEST(CalendarRules, AdvanceDayAcrossTheGap) {
    CalendarDate d;
    d.year = 1582;
    d.month = 10;
    d.day = 4;
    d.weekday = 4;
    advance_day(d);
    EXPECT_EQ(d.day, 15);
    EXPECT_EQ(d.month, 10);
    EXPECT_EQ(d.weekday, 5);
}

struct Correction {
    int y, m, d;
    int want_m, want_d;
};

TEST(DateCheck, CorrectsEveryEditToAValidDate) {
    console::ScopedVirtualConsole s;
    const Correction cases[] = {
        {2026, 15, 1, 5, 1},     // month above 12 loses 10
        {2026, 19, 9, 9, 9},
        {2026, 0, 5, 10, 5},     // month 0 becomes 10
        {2026, 3, 0, 3, 10},     // day 0 becomes 10
        {2026, 1, 35, 1, 30},    // day above 31 becomes 30
        {2026, 6, 31, 6, 30},    // 31 in a 30-day month
        {2026, 4, 31, 4, 30},
        {2026, 9, 31, 9, 30},
        {2026, 11, 31, 11, 30},
        {2026, 7, 31, 7, 31},
        {1700, 2, 29, 2, 28},    // no Gregorian leap year
        {2000, 2, 30, 2, 29},
        {2000, 2, 29, 2, 29},
        {1500, 2, 29, 2, 29},    // Julian leap years
        {1300, 2, 31, 2, 29},
        {2026, 2, 39, 2, 28},
        {1582, 10, 7, 10, 17},   // the days that do not exist
        {1582, 10, 5, 10, 15},
        {1582, 10, 14, 10, 24},
        {1582, 10, 4, 10, 4},
        {1582, 10, 15, 10, 15},
        {1583, 10, 7, 10, 7},
        {1582, 9, 7, 9, 7},
    };
    for (const Correction& c : cases) {
        set_edited(c.y, c.m, c.d);
        PRUEFE_DATUM(false);
        EXPECT_EQ(edited_date.month, c.want_m) << c.y << "-" << c.m << "-" << c.d;
        EXPECT_EQ(edited_date.day, c.want_d) << c.y << "-" << c.m << "-" << c.d;
        EXPECT_EQ(edited_date.year, c.y);
        EXPECT_EQ(edited_date.leap, ref_leap(c.y));
        EXPECT_EQ(edited_date.weekday, ref_weekday(c.y, edited_date.month, edited_date.day));
    }
    EXPECT_EQ(s.vc.clock_settings, 0);  // never without `set`
}

TEST(DateCheck, SetsTheSystemDateOnlyWhenItDiffersFromTheScreen) {
    console::ScopedVirtualConsole s;
    s.vc.set_clock(2026, 12, 8, 10, 0, 0);
    shown_date.year = 2026;
    shown_date.month = 12;
    shown_date.day = 8;
    set_edited(2026, 12, 8);
    PRUEFE_DATUM(true);
    EXPECT_EQ(s.vc.clock_settings, 0);

    set_edited(2026, 6, 31);  // corrected to 30 June first
    PRUEFE_DATUM(true);
    EXPECT_EQ(s.vc.clock_settings, 1);
    const console::Date d = console::get_date();
    EXPECT_EQ(d.month, 6);
    EXPECT_EQ(d.day, 30);
    EXPECT_EQ(console::get_time().hour, 10);  // the time is kept

    s.vc.refuse_clock_setting = true;
    set_edited(2030, 1, 1);
    PRUEFE_DATUM(true);
    EXPECT_EQ(s.vc.clock_settings, 1);
    EXPECT_EQ(console::get_date().year, 2026);  // refused: nothing changed
}

TEST(TimeCheck, CorrectsTheHourAndSetsOnlyChanges) {
    console::ScopedVirtualConsole s;
    s.vc.set_clock(2026, 12, 8, 19, 30, 15, 42);
    shown_time = ClockTime{19, 30, 15, 0};
    edited_time = ClockTime{19, 30, 15, 42};
    PRUEFE_ZEIT();
    EXPECT_EQ(s.vc.clock_settings, 0);

    edited_time.hour = 29;
    PRUEFE_ZEIT();
    EXPECT_EQ(edited_time.hour, 20);
    EXPECT_EQ(s.vc.clock_settings, 1);
    const console::Time t = console::get_time();
    EXPECT_EQ(t.hour, 20);
    EXPECT_EQ(t.minute, 30);
    EXPECT_EQ(t.second, 15);
    EXPECT_EQ(console::get_date().day, 8);  // the date is kept
}
