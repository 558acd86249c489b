// The yes/no field reader of every yes/no field.
#pragma once

#include "engine/zqspiel.h"

namespace zqspiel {

// Where the field is, for JA_NEIN to rewrite it.
inline byte WXX = 0, WYY = 0;

// The caller has put the cursor on the field and its position in WXX/WYY.
// Reads keys until Backspace, Enter, 'j' (y, Y, J, z, Z), 'n' (N), Ctrl-C or
// Esc; 'j'/'n' set the value (and rewrite the field in the language of SP_D,
// setting changed) when it differs. The final key is returned in key.
void JA_NEIN(unsigned char& key, bool& value, bool& changed);

}  // namespace zqspiel
