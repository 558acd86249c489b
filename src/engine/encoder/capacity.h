// The capacity check that decides which computer roles the memory budget
// allows (KANN_RATEN, KANN_MOGELN), without a screen: the conditions screen
// shows its corrections (KORRIGIERE, setup/conditions_screen.h).
#pragma once

#include <cstdint>

#include "engine/zqspiel.h"

namespace zqspiel {

inline std::int32_t MEMRATE = 0;           // codes the candidate store will hold
inline std::int32_t MEMLOES = 0;           // codes the conditions allow (the encoder's list)

// What a check changed that the conditions screen shows.
struct CapacityCorrections {
    bool table_changed = false;  // the capacity table differs from the one shown (MERKEZAEHLEFARBEN, now updated)
    bool fixed_forced = false;   // X.LOESUNG_FEST had to become true
    bool guess_dropped = false;  // X.PC_RAET had to become false
};

// The capacity check: s signs, code length n, repetition (repeat), vacant sign
// allowed (vacant). Sets SIZERATEN, SIZERATENPTR, GENUGPLATZ, MEMRATE, MEMLOES,
// KANN_RATEN and KANN_MOGELN and corrects X.PC_RAET and X.LOESUNG_FEST.
// release is handed to LISTEN_FREIGEBEN.
CapacityCorrections check_capacity(byte s, byte n, bool repeat, bool vacant, bool release);

}  // namespace zqspiel
