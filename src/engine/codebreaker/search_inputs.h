// The engine's state a search reads besides the guesses' own nodes, taken by
// the main thread when the search starts and fixed until it ends. The
// helpers read these (and the nodes, the reduction and the packed copy),
// never the globals, which the main thread alone writes between searches.
#pragma once

#include <array>

#include "engine/zqspiel.h"
#include "engine/codebreaker/codebreaker_state.h"

namespace zqspiel {

struct SearchInputs {
    int length = 0;                          // X.CODELAENGE
    int signs = 0;                           // MAXFARBE
    bool try_marks = false;                  // GENUGPLATZ: the pre-pass marked the guesses
    const LISTE* counts_from = nullptr;      // ERLAUBT when the secret's sign counts are known
    std::array<bool, 37> may_occur{};        // ERL_FARBE
};

inline SearchInputs take_inputs() {
    SearchInputs in;
    in.length = X.CODELAENGE;
    in.signs = MAXFARBE;
    in.try_marks = GENUGPLATZ;
    in.counts_from = KENNEALLEFARBEN ? ERLAUBT : nullptr;
    in.may_occur = ERL_FARBE;
    return in;
}

}  // namespace zqspiel
