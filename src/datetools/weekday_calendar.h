// The weekday calendar's hand-over of the virtual game date.
#pragma once

#include <cstdint>

#include "datetools/zuf.h"

namespace zuf {

// Hands the calendar's date out: today (flag false) while the edited date is the
// date of entry, else the edited date with its weekday (flag true).
void UEBERGIB_DATUM(bool& virtual_date, std::uint16_t& game_year, std::uint16_t& game_month, std::uint16_t& game_day,
                    std::uint16_t& game_weekday);

}  // namespace zuf
