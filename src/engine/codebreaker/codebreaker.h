// The computer as codebreaker: the preparation of a match (INIT_RATEN, from
// guess_preparation.h) and one trial.
#pragma once

#include "engine/codebreaker/guess_preparation.h"
#include "engine/zqspiel.h"

namespace zqspiel {

// One trial of the computer codebreaker: chooses and shows the guess, obtains
// the answer (from the person, or from the computer's own code) and narrows
// the store. move gets the guess as sign characters, p and z the answer;
// pressed_key is Esc when the user broke off.
void RATE_CODE(CODE& move, byte& p, byte& z, unsigned char& pressed_key);

}  // namespace zqspiel
