// The fixed order of the answer classes per code length: when the computer
// answers against a not-fixed code and two answers keep equally many codes,
// the one earlier in this order is given.
#pragma once

#include "engine/zqspiel.h"

namespace zqspiel {

// The answer class order: entry i (1-based) is the class P = POS_ORD[i],
// common = ZEI_ORD[i]; ZAHL_DER_GRUPPEN entries are in use. LETZTEZAHL
// (zqspiel.h) is the code length the order was last written for.
inline MATRIX_REIHENFOLGE POS_ORD{}, ZEI_ORD{};
inline byte ZAHL_DER_GRUPPEN = 0;

// Writes POS_ORD, ZEI_ORD and ZAHL_DER_GRUPPEN for the code length in X, but
// only when it differs from LETZTEZAHL (the length last set up).
void REIHENFOLGE();

}  // namespace zqspiel
