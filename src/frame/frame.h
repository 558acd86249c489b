// The main program: start-up, language screen, main menu, title pages,
// memory configuration and shutdown.
#pragma once

#include <cstdint>

namespace frame {

inline bool SPRACHE_DEUTSCH = true;

void ZENTROVALQUIST();
void KONFIGURATION();  // the memory step page of the main menu

}  // namespace frame
