// The computer as codebreaker: the preparation of a match and one trial.
#pragma once

#include "engine/zqspiel.h"

namespace zqspiel {

// Builds the candidate store for the match (after the board is drawn and
// before the first guess). ok is false when the user broke off with Esc or
// Ctrl-C or memory ran out; the store is then released, A is 27 and the
// clock is stopped.
void INIT_RATEN(bool& ok);

// One trial of the computer codebreaker: chooses and shows the guess, obtains
// the answer (from the person, or from the computer's own code) and narrows
// the store. zug gets the guess as sign characters, p and z the answer;
// taste is 27 when the user broke off.
void RATE_CODE(CODE& zug, byte& p, byte& z, unsigned char& taste);

}  // namespace zqspiel
