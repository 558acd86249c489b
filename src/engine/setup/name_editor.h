// The player-name fields of the conditions screen (rows 23 and 24): showing
// the names or the computer in their place, and the name editor itself.
#pragma once

#include "engine/zqspiel.h"

namespace zqspiel {

// Normalises both names (NAMEOK with swap) and writes NAME1 at (38, 23) when
// first, NAME2 at (38, 24) when second, 31 characters each.
void SCHREIBE_NAME(bool first, bool second, bool swap);

// Writes the computer's text in place of the first and/or the second name.
void SCHREIBE_PC(bool first, bool second);

// Edits and confirms the name of player `which` (1 or 2) on row 22 + which.
// The final key: 'j' confirmed; Backspace one field back; Ctrl-B or Esc to
// the dialog's first field.
void LESE_NAMEN(byte which, NAMENSFELD& name, unsigned char& key);

}  // namespace zqspiel
