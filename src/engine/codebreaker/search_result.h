// What a search found: the chosen guess with its figures and class table,
// and what the search did to find it.
#pragma once

#include <cstdint>

#include "engine/answer_class.h"
#include "engine/codebreaker/search_figures.h"
#include "engine/zqspiel.h"

namespace zqspiel {

struct SearchResult {
    ClassTable table{};  // class table of the chosen guess
    SearchFigures fig;
    PTR chosen = nullptr;       // the chosen guess
    PTR predecessor = nullptr;  // its predecessor in the guess chain (nil: head)
    PTR last = nullptr;         // the last guess evaluated
    std::int64_t pairs = 0;     // (guess, candidate) pairs scored
    std::int64_t evaluated = 0; // guesses evaluated
    bool esc = false;           // the user broke off
};

}  // namespace zqspiel
