#include "engine/clock/date_texts.h"

#include <cstdio>

#include "engine/joined.h"

namespace zqspiel {

namespace {

std::string number_text(int n) { return std::to_string(n); }

// Four digits, zero-padded; the day after 31 December 9999 keeps all five of
// its year 10000 rather than turning into a year 0000.
std::string year4(std::uint16_t j) {
    char b[8];
    std::snprintf(b, sizeof b, "%04u", static_cast<unsigned>(j));
    return b;
}

const char* const WEEKDAY_D[7] = {"Sonntag", "Montag", "Dienstag", "Mittwoch", "Donnerstag", "Freitag", "Samstag"};
const char* const WEEKDAY_E[7] = {"Sunday", "Monday", "Tuesday", "Wednesday", "Thursday", "Friday", "Saturday"};
const char* const WEEKDAY_E_SHORT[7] = {"Sunday", "Monday", "Tues.", "Weds.", "Thurs.", "Friday", "Sat."};
const char* const MONTH_E[13] = {"",      "Jan. ", "Feb. ", "March ", "April ", "May ",  "June ",
                                 "July ", "Aug. ", "Sept. ", "Oct. ", "Nov. ", "Dec. "};

}  // namespace

std::string date_german(std::uint16_t year, std::uint16_t month, std::uint16_t day, std::uint16_t weekday) {
    return joined(WEEKDAY_D[weekday % 7], ", ", number_text(day), '.', number_text(month), '.', year4(year), ',');
}

std::string date_english(std::uint16_t year, std::uint16_t month, std::uint16_t day, std::uint16_t weekday) {
    const char* suffix = "th ";
    if (day == 1 || day == 21 || day == 31) suffix = "st ";
    else if (day == 2 || day == 22) suffix = "nd ";
    else if (day == 3 || day == 23) suffix = "rd ";
    const std::string rest =
        joined(", ", number_text(day), suffix, MONTH_E[month >= 1 && month <= 12 ? month : 1], year4(year), ',');
    // The full weekday only where the whole date fits the 24 columns of its field.
    const std::string full = joined(WEEKDAY_E[weekday % 7], rest);
    if (full.size() <= 24) return full;
    return joined(WEEKDAY_E_SHORT[weekday % 7], rest);
}

}  // namespace zqspiel
