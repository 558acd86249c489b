// The second half of the computer codebreaker's trial: the answer to its
// guess and the narrowing of the candidate store.
#pragma once

#include "engine/answer_class.h"
#include "engine/zqspiel.h"

namespace zqspiel {

// Obtains the answer to the guess g (AKTUELL, shown as move): typed by the
// person through the answer entry, or given by the computer from its fixed
// code or, with a not-fixed code, by the answer that keeps the most
// candidates. table is the class table of g; after a real search g leaves
// the guess chain through predecessor. pressed_key = 27 when the user broke off
// (the store is then released).
void answer_and_narrow(PTR g, const ClassTable& table, bool real_search, PTR predecessor,
                       const CODE& move, byte& p, byte& z, unsigned char& pressed_key);

// The narrowing alone, after the answer p, z to g. Returns false when the
// user broke off (pressed_key = 27, store released).
bool narrow(PTR g, bool real_search, PTR predecessor, byte p, byte z, unsigned char& pressed_key);

}  // namespace zqspiel
