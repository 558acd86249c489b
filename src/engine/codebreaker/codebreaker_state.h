// The globals that only the codebreaker uses: two ends of its candidate
// chains, where a node keeps its sign counts, the relabelling of positions and
// signs, what it has found out about the signs, and the columns of the trial
// it reads the answer into. What it shares with the rest of the program is in
// zqspiel.h.
#pragma once

#include <array>
#include <cstdint>

#include "engine/zqspiel.h"

namespace zqspiel {

// ---- candidate store ----------------------------------------------------------
// Beside VERSLOE, VERS and AKTUELL (zqspiel.h): the last node of the guess
// chain (VERS .. SCHLUSSLICHT) and the head of the solution chain (link3).
inline PTR SCHLUSSLICHT = nullptr, ERLAUBT = nullptr;

// Where a node keeps its sign counts (set by INIT_RATEN): data[FARBEPL + c]
// counts sign c, data[FARBE0] the vacant signs, data[ENDFARBEPL1] (zqspiel.h)
// the try-mark.
inline byte FARBE0 = 0, FARBEPL = 0, FARBE1 = 0, FARBE2 = 0, FARBE3 = 0, ENDFARBE = 0;
inline std::int32_t QU_10_2 = 0;             // stars due on the progress bar
// Relabelling of positions and signs: for opening guesses and for the build.
inline ZAHLENFELD ZAHLENREIHENFOLGE{}, PERMZ{}, ZAHLENREIHENFOLGETM{}, PERMZTM{};
inline FARBFELD FARBENREIHENFOLGE{}, PERMF{}, FARBENREIHENFOLGETM{}, PERMFTM{};
inline byte HILFZAHLREIHENFOLGE = 0, HILFFARBREIHENFOLGE = 0, HILFZAHLREIHENFOLGETM = 0, HILFFARBREIHENFOLGETM = 0;

// ---- codebreaker ----------------------------------------------------------------
// What is known about the secret's signs, by sign number 0..36 (with
// ERL_FARBE of zqspiel.h).
inline std::array<bool, 37> VORH_FARBE{};  // the sign occurs in some remaining candidate
inline byte ZAEHLE_VORH_FARBE = 0;
inline byte X3I = 0, X4I = 0;  // columns of the P and Z fields of the current trial

}  // namespace zqspiel
