// The recommended first guess for the conditions of a match, held once as a
// table: shown in the board header and played by the computer codebreaker.
#pragma once

#include <string>
#include <string_view>

#include "engine/zqspiel.h"

namespace zqspiel {

// The raw pattern for code length n, s signs, repetition and vacant sign
// allowed: digits '1'..'9' stand for sign numbers, '*' for the vacant sign
// (the codebreaker's filler). Empty when no pattern is shown (n or s 0, n > 9,
// and n = 2 with 2 signs and repetition). Points into static storage.
std::string_view raw_pattern(byte n, byte s, bool repeat, bool vacant);

// The 12-character header text: 9 - n blanks, '(', the pattern's sign
// characters from FARBARRAY, ')' and a blank; 12 blanks when there is none.
std::string INIT_MUSTER(byte n, byte s, bool repeat, bool vacant);

}  // namespace zqspiel
