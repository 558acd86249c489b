// The normaliser of the player names: any stored name is brought into the
// form the name editor produces (capitalised words, initials with a period,
// letters, blank, '-' and '.' only, guards at 0 and 32 blank).
#pragma once

#include "engine/zqspiel.h"

namespace zqspiel {

void CLEAR_NAME(NAMENSFELD& name);

// Normalises X.NAME1 and X.NAME2; with swap, exchanges their positions 1..31.
void NAMEOK(bool swap);

}  // namespace zqspiel
