// Placeholders until the date tools are built: each returns to the menu.
#include "datetools/zuf.h"

namespace zuf {

void KORRIGIERE_ZEIT(bool, std::uint8_t, std::uint8_t) {}
void KALENDER(bool, std::uint8_t, std::uint8_t, bool&, std::uint16_t&, std::uint16_t&, std::uint16_t&,
              std::uint16_t&) {}
void TEXTFARBE(bool, bool, std::uint8_t&, std::uint8_t&) {}

}  // namespace zuf
