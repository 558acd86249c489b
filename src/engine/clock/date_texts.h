// The date texts of the board's date rows in both languages: the match start
// and the current date the clock keeps.
#pragma once

#include <cstdint>
#include <string>

namespace zqspiel {

// The English date text of the board: weekday (shortened where the line
// would be too long), day with ordinal suffix, month, four-digit year and ','.
std::string date_english(std::uint16_t year, std::uint16_t month, std::uint16_t day,
                         std::uint16_t weekday);
// The German one: weekday, ", ", day.month.year (four digits) and ','.
std::string date_german(std::uint16_t year, std::uint16_t month, std::uint16_t day,
                        std::uint16_t weekday);

}  // namespace zqspiel
