// The digit positions of the date panel: where they are, which digits they
// take, how a digit changes the date or time and how the cursor moves.
#include "datetools/date_editor.h"

#include "datetools/calendar.h"

namespace zuf {

namespace {
// Lines of the panel in the order of Up and Down, with their first and last field.
struct Line {
    Field first, last;
};
constexpr Line LINES[] = {
    {Field::year_thousands, Field::year_ones}, {Field::month_tens, Field::month_ones},
    {Field::day_tens, Field::day_ones},        {Field::hour_tens, Field::hour_ones},
    {Field::minute_tens, Field::minute_ones},  {Field::second_tens, Field::second_ones},
};

int line_of(Field f) {
    const int i = static_cast<int>(f);
    if (i <= 3) return 0;
    return 1 + (i - 4) / 2;
}

Field field_at(int line, int col) {
    const Line& l = LINES[line];
    const int offset = col - 37;
    const int span = static_cast<int>(l.last) - static_cast<int>(l.first);
    return static_cast<Field>(static_cast<int>(l.first) + (offset < span ? offset : span));
}

std::uint16_t set_tens(std::uint16_t v, std::uint8_t d) { return static_cast<std::uint16_t>(d * 10 + v % 10); }
std::uint16_t set_ones(std::uint16_t v, std::uint8_t d) { return static_cast<std::uint16_t>(v / 10 * 10 + d); }
}  // namespace

int field_col(Field f) {
    const Line& l = LINES[line_of(f)];
    return 37 + static_cast<int>(f) - static_cast<int>(l.first);
}

int field_row(Field f) {
    static constexpr int ROWS[] = {18, 19, 20, 23, 24, 25};
    return ROWS[line_of(f)];
}

bool is_time_field(Field f) { return line_of(f) >= 3; }

bool reachable(Field f) {
    const CalendarDate& d = edited_date;
    if (f == Field::month_tens) return d.month % 10 <= 2;
    if (f == Field::day_ones) return !(d.day == 30 && days_in_month(d.month, d.leap) == 30);
    return true;
}

Field settle(Field f) {
    if (reachable(f)) return f;
    if (f == Field::month_tens) return Field::month_ones;
    return Field::day_tens;  // the day ones digit is locked
}

Field move_field(Field f, char key, bool with_time) {
    const int line = line_of(f);
    const Line& l = LINES[line];
    const int first = static_cast<int>(l.first), last = static_cast<int>(l.last);
    const int i = static_cast<int>(f);
    const int lines = with_time ? 6 : 3;
    switch (key) {
        case 'r': return settle(static_cast<Field>(i == last ? first : i + 1));
        case 'l': return settle(static_cast<Field>(i == first ? last : i - 1));
        case 'o':
        case 'u': {
            const int target = key == 'o' ? (line + lines - 1) % lines : (line + 1) % lines;
            return settle(field_at(target, field_col(f) == 37 ? 37 : 38));
        }
        default: return f;
    }
}

void digit_range(Field f, std::uint8_t& lo, std::uint8_t& hi) {
    const CalendarDate& d = edited_date;
    lo = 0;
    hi = 9;
    switch (f) {
        case Field::month_tens: hi = 1; break;
        case Field::day_tens: hi = d.month == 2 ? 2 : 3; break;
        case Field::day_ones:
            if (d.day >= 30)
                hi = 1;
            else if (d.month == 2 && !d.leap && d.day >= 20)
                hi = 8;
            break;
        case Field::hour_tens: hi = 2; break;
        case Field::hour_ones: hi = edited_time.hour < 20 ? 9 : 3; break;
        case Field::minute_tens:
        case Field::second_tens: hi = 5; break;
        default: break;
    }
}

void apply_digit(Field f, std::uint8_t d) {
    CalendarDate& dt = edited_date;
    ClockTime& t = edited_time;
    switch (f) {
        case Field::year_thousands: dt.year = static_cast<std::uint16_t>(d * 1000 + dt.year % 1000); break;
        case Field::year_hundreds:
            dt.year = static_cast<std::uint16_t>(dt.year / 1000 * 1000 + d * 100 + dt.year % 100);
            break;
        case Field::year_tens:
            dt.year = static_cast<std::uint16_t>(dt.year / 100 * 100 + d * 10 + dt.year % 10);
            break;
        case Field::year_ones: dt.year = set_ones(dt.year, d); break;
        case Field::month_tens: dt.month = set_tens(dt.month, d); break;
        case Field::month_ones: dt.month = set_ones(dt.month, d); break;
        case Field::day_tens: dt.day = set_tens(dt.day, d); break;
        case Field::day_ones: dt.day = set_ones(dt.day, d); break;
        case Field::hour_tens: t.hour = set_tens(t.hour, d); break;
        case Field::hour_ones: t.hour = set_ones(t.hour, d); break;
        case Field::minute_tens: t.minute = set_tens(t.minute, d); break;
        case Field::minute_ones: t.minute = set_ones(t.minute, d); break;
        case Field::second_tens: t.second = set_tens(t.second, d); break;
        case Field::second_ones: t.second = set_ones(t.second, d); break;
    }
}

}  // namespace zuf
