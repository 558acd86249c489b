#include "engine/board.h"

#include "console/console.h"

namespace zqspiel {

void zeichne_brett(byte, bool, const std::string&) { console::clr_scr(); }
void schreibe_spielbeginn() {}
std::string datum_englisch(std::uint16_t, std::uint16_t, std::uint16_t, std::uint16_t) { return {}; }
std::string datum_deutsch(std::uint16_t, std::uint16_t, std::uint16_t, std::uint16_t) { return {}; }

}  // namespace zqspiel
