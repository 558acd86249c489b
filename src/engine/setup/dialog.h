// The conditions screen and the walk over its fields.
#pragma once

#include "engine/zqspiel.h"

namespace zqspiel {

// ---- the dialog's own state --------------------------------------------------
// Set by a yes/no field when its value changed: the plain fields (0), the
// computer-devises field (1) and the computer-guesses field (2).
inline bool WECHSEL0 = false, WECHSEL1 = false, WECHSEL2 = false;
// The five-character yes/no texts, [language German?][value].
inline const char* const YES_NO_TEXT[2][2] = {{"No.  ", "Yes. "}, {"Nein.", "Ja.  "}};

// Clears the screen and draws the conditions screen from X, in SP_D's
// language.
void BILDSCHIRM();

// Reads the first sign (other = '*') or the last sign (other = the first
// sign, which is refused) in place; the final key in A, the sign in X.
void LESE_ZEICHEN(char other);

// The field steps of the walk.
inline constexpr int FIELD_ZEITLIMIT = 1;
inline constexpr int FIELD_ENCODER = 11;      // who devises the riddle
inline constexpr int FIELD_SECRET_CODE = 13;  // the secret of two persons

enum class DialogEnd {
    menu,       // the walk is over: the four-way menu is read again (WEITER false)
    main_menu,  // back to the main menu
};

// Walks the fields of the conditions screen from step `start` until the walk
// ends or the user leaves it to the main menu.
DialogEnd change_conditions(int start);

// Two persons play with a fixed code: the first one types it in the dialog.
bool two_persons_fixed();

// One '.' per code position at (46, 18), the secret-code field.
void write_solution_dots();

}  // namespace zqspiel
