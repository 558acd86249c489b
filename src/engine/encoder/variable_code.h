// The encoder of a not-fixed code: the list of every code still possible, the
// classification of that list against a guess, the answer that keeps the most
// codes, and the narrowing after each answer.
#pragma once

#include <array>
#include <cstdint>

#include "engine/answer_class.h"
#include "engine/encoder/answer_order.h"
#include "engine/zqspiel.h"

namespace zqspiel {

// False while the list of codes is being built (the search line is live).
inline bool NOTINVERS = true;

// Builds the list of all codes allowed by the conditions in X, with the clock
// and the star bar on row 25 and the closing line after it. ok = false (and
// A = Esc) when the user broke off or memory ran out: the match ends.
void INIT_NICHT_FEST(bool& ok);

// The whole answer to a complete guess of a person against a not-fixed code:
// the shortcut for a guess of signs known to be absent, the shortcut for a
// guess tried before, else classification, then the computer's answer (when
// X.PC_LOESUNG) or the encoder's checked entry, written in the P and Z fields
// of board column column (X3/X4) on row K; then the list and the sign
// knowledge are narrowed. key = Esc when the match is broken off. When
// p = code length the code is solved, LOESUNG holds it and the list is gone.
void answer_not_fixed(const CODE& guess, byte column, byte& p, byte& z, unsigned char& key);

// The encoder's choice among answer classes, for any table t[common][P]
// (0..9 each) of counts: the class with the most codes; equal counts go to
// the class earlier in POS_ORD/ZEI_ORD (REIHENFOLGE must have run). The
// solving class stands last, so it is chosen only when nothing else is left.
// Used by the computer codebreaker when it also holds a not-fixed code.
template <class Table>
void choose_answer(const Table& t, byte& p, byte& common) {
    p = POS_ORD[1];
    common = ZEI_ORD[1];
    auto best = t[common][p];
    for (int i = 2; i <= ZAHL_DER_GRUPPEN; ++i) {
        const auto n = t[ZEI_ORD[i]][POS_ORD[i]];
        if (n > best) {
            best = n;
            p = POS_ORD[i];
            common = ZEI_ORD[i];
        }
    }
}

// ---- the steps, for the answer branch above and for tests and benchmarks ----

// Classifies every code of the list from ERL against the guess given as sign
// numbers g[1..n] (g[0] unused, 0 = vacant): fills t (cleared first) and
// stores each node's class byte.
void classify_list(const byte* g, ClassTable& t);

// Keeps only the codes whose class byte (from the last classification) is
// that of the answer (p, common); returns how many remain. When exactly one
// is left, LOESUNG holds it.
std::int64_t filter_list(byte p, byte common);

// Updates ERL_FARBE and KENNEALLEFARBEN after the answer (p, common) to the
// guess g[1..n].
void learn_signs_of_answer(const byte* g, byte p, byte common);

// Number of codes in the list now (walks it).
std::int64_t list_length();
}  // namespace zqspiel
