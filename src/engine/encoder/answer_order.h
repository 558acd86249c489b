// The fixed order of the answer classes per code length: when the computer
// answers against a not-fixed code and two answers keep equally many codes,
// the one earlier in this order is given.
#pragma once

#include "engine/zqspiel.h"

namespace zqspiel {

// Writes POS_ORD, ZEI_ORD and ZAHL_DER_GRUPPEN for the code length in X, but
// only when it differs from LETZTEZAHL (the length last set up).
void REIHENFOLGE();

}  // namespace zqspiel
