// Unit ZUF: calendar rules and date panel, the date and time screen, the
// weekday calendar with the virtual game date, and the colour chooser.
#pragma once

#include <cstdint>

namespace zuf {

void KORRIGIERE_ZEIT(bool deutsch, std::uint8_t normal, std::uint8_t hervor);
void KALENDER(bool deutsch, std::uint8_t normal, std::uint8_t hervor, bool& virtual_date,
              std::uint16_t& jahr, std::uint16_t& monat, std::uint16_t& tag, std::uint16_t& wotag);
void TEXTFARBE(bool deutsch, bool farbschirm, std::uint8_t& normal, std::uint8_t& hervor);

}  // namespace zuf
