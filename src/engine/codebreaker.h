// The computer as codebreaker: the preparation of a match (INIT_RATEN, from
// guess_preparation.h) and one trial.
#pragma once

#include <array>
#include <cstdint>

#include "engine/answer_check.h"
#include "engine/guess_preparation.h"
#include "engine/zqspiel.h"

namespace zqspiel {

// One trial of the computer codebreaker: chooses and shows the guess, obtains
// the answer (from the person, or from the computer's own code) and narrows
// the store. zug gets the guess as sign characters, p and z the answer;
// taste is Esc when the user broke off.
void RATE_CODE(CODE& zug, byte& p, byte& z, unsigned char& taste);

// ---- the search, for RATE_CODE and for tests and benchmarks -----------------

// Signs no guess has used yet are interchangeable: only guesses in canonical
// form over them are evaluated. folge[1..laenge] are the signs that must
// appear in order of their first position; ausgeschlossen those that must not
// appear at all.
struct Reduktion {
    bool an = false;
    std::array<bool, 37> ausgeschlossen{};
    byte folge[37] = {};
    int laenge = 0;
};

// The figures by which guesses are compared.
struct SuchFiguren {
    std::int32_t max = INT32_MAX;     // largest answer class
    std::int64_t summe = INT64_MAX;   // sum of squared class sizes
    std::int32_t klassen = 0;         // non-empty classes
    bool treffer = false;             // the guess is itself a candidate alone in its class
};

struct SuchErgebnis {
    KLASSENTABELLE tabelle{};  // class table of the chosen guess
    SuchFiguren fig;
    PTR beste = nullptr;       // the chosen guess
    PTR vorgaenger = nullptr;  // its predecessor in the guess chain (nil: head)
    PTR letzte = nullptr;      // the last guess evaluated
    std::int64_t paare = 0;    // (guess, candidate) pairs scored
    std::int64_t bewertet = 0; // guesses evaluated
    bool esc = false;          // the user broke off
};

// How the candidate loop runs: straight over the nodes of the solution chain,
// or over a packed copy of it (same result, faster).
enum class Verfahren { knoten, kompakt };

// Passes the guess chain from start, whose predecessor is vor_start (or
// start alone when einzeln), and picks
// the best guess: smallest largest class, then smallest sum of squares, then
// most classes, then being a candidate itself; full ties are settled at
// random so that each of m equal guesses wins with chance 1/m. A real search
// honours the time limit and F4/F6 once NUMMER_PLUS guesses were evaluated.
void bewerte_rateliste(PTR start, PTR vor_start, bool einzeln, const Reduktion& red, bool echte_suche, Verfahren v,
                       SuchErgebnis& e);

// Sets up the sign-class reduction over the signs not yet played and runs its
// pre-pass (try-marks, ZAHL_DER_VERSUCHE, the canonical guess moved to the
// head). Returns the node the evaluation starts at, its predecessor in
// vor_start. Switches the reduction off when fewer than two signs are unplayed.
PTR bereite_reduktion_vor(Reduktion& red, PTR g0, PTR& vor_start);

}  // namespace zqspiel
