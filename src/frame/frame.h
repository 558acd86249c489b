// The main program: start-up, language screen, main menu, title pages,
// memory configuration and shutdown.
#pragma once

#include <cstdint>

namespace frame {

inline bool SPRACHE_DEUTSCH = true;
inline unsigned char KEY = 0;  // the last key of the language screen and the menu

// The whole program: start-up, language choice, main menu, exit.
void ZENTROVALQUIST();

void ANFANGEN();        // start-up: clock, defaults, conditions file, checks, colours
void WAEHLE_SPRACHE();  // language screen; result in SPRACHE_DEUTSCH and KEY
void TITELD();          // the German title page with the menu
void TITELE();          // the English one
void NOTEXIT();         // gives the terminal back and writes the farewell
void ZWEITESDATUM();    // VIRJ2.. := the day after VIRJ1..

void KONFIGURATION();  // the memory step page of the main menu

}  // namespace frame
