// The date panel of the date tools: its labels, its redraw of what changed and
// the key reader for digit-by-digit editing.
#include <string>

#include "console/console.h"
#include "console/keys.h"
#include "datetools/calendar.h"
#include "datetools/date_panel.h"

namespace zuf {

namespace {

constexpr std::string_view MONTHS_DE[12] = {
    "Januar)   ", "Februar)  ", "Maerz)    ", "April)    ", "Mai)      ", "Juni)     ",
    "Juli)     ", "August)   ", "September)", "Oktober)  ", "November) ", "Dezember) "};
constexpr std::string_view MONTHS_EN[12] = {
    "January)  ", "February) ", "March)    ", "April)    ", "May)      ", "June)     ",
    "July)     ", "August)   ", "September)", "October)  ", "November) ", "December) "};
constexpr std::string_view WEEKDAYS_DE[7] = {"Sonntag.   ", "Montag.    ", "Dienstag.  ", "Mittwoch.  ",
                                             "Donnerstag.", "Freitag.   ", "Samstag.   "};
constexpr std::string_view WEEKDAYS_EN[7] = {"Sunday.   ", "Monday.   ", "Tuesday.  ", "Wednesday.",
                                             "Thursday. ", "Friday.   ", "Saturday. "};

std::string digits(unsigned value, int width) {
    std::string s(static_cast<std::size_t>(width), '0');
    for (int i = width - 1; i >= 0; --i) {
        s[static_cast<std::size_t>(i)] = static_cast<char>('0' + value % 10);
        value /= 10;
    }
    return s;
}

// The 12-hour form of the English hour line, e.g. "12 a" or "03 p".
std::string twelve_hour(unsigned hour) {
    if (hour == 0) return "12 a";
    const unsigned h = hour > 12 ? hour - 12 : hour;
    return digits(h, 2) + (hour < 12 ? " a" : " p");
}

// A two-digit value at column 37: both digits, or only the ones digit at 38
// when the tens digit on screen is already right.
void write_two(int row, unsigned value, unsigned on_screen) {
    if (value / 10 == on_screen / 10)
        console::write_at(38, row, digits(value % 10, 1));
    else
        console::write_at(37, row, digits(value, 2));
}

}  // namespace

std::string_view month_name(int month) {
    if (month < 1 || month > 12) return "          ";
    return german ? MONTHS_DE[month - 1] : MONTHS_EN[month - 1];
}

std::string_view weekday_name(int wd) {
    if (wd < 0 || wd > 6) return german ? "           " : "          ";
    return german ? WEEKDAYS_DE[wd] : WEEKDAYS_EN[wd];
}

std::string_view leap_note(bool leap) {
    if (german) return leap ? "ein Schaltjahr.) " : "kein Schaltjahr.)";
    return leap ? "a leap-year.) " : "no leap-year.)";
}

void write_pieces(int row, std::initializer_list<std::string_view> pieces) {
    console::goto_xy(1, row);
    bool emphasised = false;
    for (std::string_view p : pieces) {
        console::text_attr(emphasised ? panel_emphasis : panel_normal);
        console::write(p);
        emphasised = !emphasised;
    }
    console::text_attr(panel_normal);
}

void draw_date_labels(std::string_view year_range) {
    const CalendarDate& d = edited_date;
    console::text_attr(panel_normal);
    std::string line = std::string(german ? "                Jahr (" : "                Year (") +
                       std::string(year_range) + "): " + digits(d.year, 4) + (german ? " (ist " : " (is ") +
                       std::string(leap_note(d.leap));
    console::write_at(1, 18, line);
    line = std::string(german ? "                Monat    (01 - 12): " : "                Month    (01 - 12): ") +
           digits(d.month, 2) + (german ? ".  (" : "   (") + std::string(month_name(d.month));
    console::write_at(1, 19, line);
    line = std::string(german ? "                Tag      (01 - " : "                Day      (01 - ") +
           digits(static_cast<unsigned>(days_in_month(d.month, d.leap)), 2) + "): " + digits(d.day, 2) +
           (german ? "." : "");
    console::write_at(1, 20, line);
    line = std::string(german ? "                Wochentag         : " : "                Day of the week   : ") +
           std::string(weekday_name(d.weekday));
    console::write_at(1, 21, line);
    shown_date = d;
}

void draw_time_labels() {
    const ClockTime& t = edited_time;
    console::text_attr(panel_normal);
    std::string line;
    if (german)
        line = "                Stunde   (00 - 23): " + digits(t.hour, 2) + " Uhr,";
    else
        line = "                Hour     (00 - 23): " + digits(t.hour, 2) + " (= " + twelve_hour(t.hour) + ".m.)";
    console::write_at(1, 23, line);
    line = std::string(german ? "                Minute   (00 - 59): " : "                Minute   (00 - 59): ") +
           digits(t.minute, 2) + (german ? " Minuten und" : " minutes and");
    console::write_at(1, 24, line);
    line = std::string(german ? "                Sekunde  (00 - 59): " : "                Second   (00 - 59): ") +
           digits(t.second, 2) + (german ? " Sekunden." : " seconds.");
    console::write_at(1, 25, line);
    shown_time = t;
}

void ZEIGE_DATUM(bool live) {
    CalendarDate& d = edited_date;
    if (live) {
        const console::Date sd = console::get_date();
        const console::Time st = console::get_time();
        d.year = sd.year;
        d.month = sd.month;
        d.day = sd.day;
        d.weekday = sd.weekday;
        d.leap = is_gregorian_leap_year(sd.year);
        edited_time.hour = static_cast<std::uint16_t>(st.hour % 24);
        edited_time.minute = st.minute;
        edited_time.second = st.second;
        edited_time.hundredth = st.hundredth;
    } else {
        d.leap = is_leap_year(d.year);
        d.weekday = weekday(d.year, d.month, d.day);
    }

    const int col = console::where_x(), row = console::where_y();
    const std::uint8_t attr = console::text_attr();
    console::text_attr(panel_normal);
    CalendarDate& s = shown_date;
    if (d.year != s.year) console::write_at(37, 18, digits(d.year, 4));
    if (d.leap != s.leap) console::write_at(german ? 47 : 46, 18, leap_note(d.leap));
    if (d.month != s.month) {
        write_two(19, d.month, s.month);
        console::write_at(43, 19, month_name(d.month));
        console::write_at(32, 20, digits(static_cast<unsigned>(days_in_month(d.month, d.leap)), 2));
    } else if (d.leap != s.leap && d.month == 2) {
        console::write_at(33, 20, d.leap ? "9" : "8");
    }
    if (d.day != s.day) write_two(20, d.day, s.day);
    if (d.weekday != s.weekday) console::write_at(37, 21, weekday_name(d.weekday));
    s = d;

    if (live) {
        ClockTime& t = edited_time;
        ClockTime& st = shown_time;
        if (t.hour != st.hour) {
            console::write_at(37, 23, digits(t.hour, 2));
            if (!german) console::write_at(43, 23, twelve_hour(t.hour));
        }
        if (t.minute != st.minute) write_two(24, t.minute, st.minute);
        if (t.second != st.second) write_two(25, t.second, st.second);
        st = t;
    }
    console::text_attr(attr);
    console::goto_xy(col, row);
}

namespace {

// F1: the date goes back to the one remembered when the panel opened (and the
// system date with it while the clock runs).
void back_to_remembered_date(bool live) {
    const CalendarDate& r = remembered_date;
    CalendarDate& d = edited_date;
    if (d.year == r.year && d.month == r.month && d.day == r.day) return;
    d = r;
    if (live) {
        console::Date sd;
        sd.year = r.year;
        sd.month = r.month;
        sd.day = r.day;
        sd.weekday = r.weekday;
        console::set_date(sd);
    }
    ZEIGE_DATUM(live);
}

}  // namespace

void LIES_TASTE(bool live, std::uint8_t lo, std::uint8_t hi, std::uint8_t& digit, char& key) {
    for (;;) {
        if (live) {
            do {
                ZEIGE_DATUM(true);
            } while (!console::key_pressed());
        } else {
            ZEIGE_DATUM(false);
        }
        const unsigned char k = console::read_key();
        if (k == console::key::EXTENDED) {
            const unsigned char scan = console::read_key();
            if (console::key::is_up(scan)) {
                key = 'o';
            } else if (console::key::is_left(scan)) {
                key = 'l';
            } else if (console::key::is_right(scan)) {
                key = 'r';
            } else if (console::key::is_down(scan)) {
                key = 'u';
            } else {
                if (console::key::is_f1(scan)) back_to_remembered_date(live);
                continue;
            }
            last_key = key;
            return;
        }
        if (k == console::key::ENTER || console::key::breaks_off(k)) {
            key = 'e';
            last_key = key;
            return;
        }
        if (k >= '0' + lo && k <= '0' + hi) {
            digit = static_cast<std::uint8_t>(k - '0');
            key = static_cast<char>(k);
            last_digit = digit;
            last_key = key;
            return;
        }
    }
}

}  // namespace zuf
