// The second half of the computer codebreaker's trial: the answer to its
// guess and the narrowing of the candidate store.
#pragma once

#include "engine/answer_check.h"
#include "engine/zqspiel.h"

namespace zqspiel {

// Obtains the answer to the guess g (AKTUELL, shown as zug): typed by the
// person through the answer entry, or given by the computer from its fixed
// code or, with a not-fixed code, by the answer that keeps the most
// candidates. tabelle is the class table of g; after a real search g leaves
// the guess chain through vorgaenger. taste = 27 when the user broke off
// (the store is then released).
void antworte_und_verenge(PTR g, const KLASSENTABELLE& tabelle, bool echte_suche, PTR vorgaenger,
                          const CODE& zug, byte& p, byte& z, unsigned char& taste);

// The narrowing alone, after the answer p, z to g. Returns false when the
// user broke off (taste = 27, store released).
bool verenge(PTR g, bool echte_suche, PTR vorgaenger, byte p, byte z, unsigned char& taste);

}  // namespace zqspiel
