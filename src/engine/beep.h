// The one tone of the game: it calls a person to answer and marks a code
// the computer has cracked.
#pragma once

#include "console/console.h"

namespace zqspiel {

// 440 Hz for half a second; the caller decides whether the sound is on.
inline void beep() {
    console::sound(440);
    console::delay(500);
    console::no_sound();
}

}  // namespace zqspiel
